// The editor actions on a form, as the main window places them: an action
// list holding every editor action, updated in the application's idle
// time, executed through the list and through a shortcut the form gave
// one of them, judged by the saved page ("|" the caret).
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <map>
#include <string>
#include <vector>

#include "CaretNotation.h"
#include "EditorFixture.h"
#include "htmledit/control/psClipboard.h"
#include "htmledit/control/psHtmlEditActions.h"
#include "htmledit/view/psMessages.h"

using namespace htmledittest;
using namespace htmledit;

namespace {

// Every editor action, by its class name, on one list.
struct EditorActions {
  explicit EditorActions(vcl::TComponent* aOwner) {
    List = new TpsHtmlEditActionList(aOwner);
    Add("Undo", new TpsUndoAction(aOwner));
    Add("Redo", new TpsRedoAction(aOwner));
    Add("Cut", new TpsClipboardCutAction(aOwner));
    Add("Copy", new TpsClipboardCopyAction(aOwner));
    Add("Paste", new TpsClipboardPasteAction(aOwner));
    Add("Bold", new TpsBoldAction(aOwner));
    Add("Italic", new TpsItalicAction(aOwner));
    Add("Underline", new TpsUnderlineAction(aOwner));
    Add("StrikeOut", new TpsStrikeOutAction(aOwner));
    Add("RowAbove", new TpsTableInsertRowAbove(aOwner));
    Add("RowBelow", new TpsTableInsertRowBelow(aOwner));
    Add("ColumnLeft", new TpsTableInsertColumnToTheLeft(aOwner));
    Add("ColumnRight", new TpsTableInsertColumnToTheRight(aOwner));
    Add("DeleteRow", new TpsTableDeleteCurrentRow(aOwner));
    Add("DeleteColumn", new TpsTableDeleteCurrentColumn(aOwner));
    Add("AlignLeft", new TpsAlignLeft(aOwner));
    Add("AlignCenter", new TpsAlignCenter(aOwner));
    Add("AlignRight", new TpsAlignRight(aOwner));
    Add("AlignJustify", new TpsAlignJustify(aOwner));
    Add("OrderedList", new TpsOrderedList(aOwner));
    Add("UnorderedList", new TpsUnorderedList(aOwner));
    Add("DecreaseIndent", new TpsDecreaseListIndent(aOwner));
    Add("IncreaseIndent", new TpsIncreaseListIndent(aOwner));
  }
  void Add(const std::string& aName, TpsHtmlEditAction* aAction) {
    aAction->SetActionList(List);
    ByName[aName] = aAction;
    Names.push_back(aName);
  }
  TpsHtmlEditAction* operator[](const std::string& aName) { return ByName.at(aName); }

  TpsHtmlEditActionList* List;
  std::map<std::string, TpsHtmlEditAction*> ByName;  // owned by the form
  std::vector<std::string> Names;
};

struct ActionsScope {
  ActionsScope() : Actions(f.Form) {
    htmledit::SetClipboardBackend(&Memory);
    Actions.List->SetEditor(f.Editor);
    f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  }
  ~ActionsScope() { htmledit::SetClipboardBackend(nullptr); }

  void Load(const std::string& aPage, const char* aSelect = nullptr) {
    f.Editor->LoadFromString(WithCaret(aPage), true, false);
    if (aSelect && std::string(aSelect) == "*") {
      f.Editor->SelectAll();
    } else if (aSelect) {
      ASSERT_TRUE(f.Editor->FindText(aSelect, false, true, true)) << aSelect;
    }
    if (aSelect) ASSERT_TRUE(f.Editor->HasTextSelection());
    f.Editor->SetFocus();
    Idle();
  }
  // What the application does between events: every action list on a
  // shown form updates its actions.
  void Idle() {
    vcl::Application->ProcessMessages();
    vcl::Application->Idle();
  }
  std::string Body() { return ShowCaret(f.Body()); }

  TpsMemoryClipboard Memory;
  EditorOnForm f;
  EditorActions Actions;
};

// --- Captions and hints ---

TEST(EditorActions, CaptionsAndHints) {
  struct Row {
    const char* Name;
    const char* Caption;
    const char* Hint;
  };
  const Row rows[] = {
      {"Undo", "Undo", "Undo"},
      {"Redo", "Redo", "Redo"},
      {"Cut", "Cut", "Cut to Clipboard"},
      {"Copy", "Copy", "Copy to Clipboard"},
      {"Paste", "Paste", "Paste from Clipboard"},
      {"Bold", "Bold", "Boldface"},
      {"Italic", "Italic", "Italic"},
      {"Underline", "Underline", "Underline"},
      {"StrikeOut", "Strike Out", "Strike Out"},
      {"RowAbove", "Insert Row Above", "Insert Row Above"},
      {"RowBelow", "Insert Row Below", "Insert Row Below"},
      {"ColumnLeft", "Insert Column to the Left", "Insert Column to the Left"},
      {"ColumnRight", "Insert Column to the Right", "Insert Column to the Right"},
      {"DeleteRow", "Delete Current Row", "Delete Current Row"},
      {"DeleteColumn", "Delete Current Column", "Delete Current Column"},
      {"AlignLeft", "Align Left", "Align Left"},
      {"AlignCenter", "Center", "Center"},
      {"AlignRight", "Align Right", "Align Right"},
      {"AlignJustify", "Justify", "Justify"},
      {"OrderedList", "Ordered List", "Ordered List"},
      {"UnorderedList", "Unordered List", "Unordered List"},
      {"DecreaseIndent", "Decrease List Indent", "Decrease List Indent"},
      {"IncreaseIndent", "Increase List Indent", "Increase List Indent"},
  };
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  EditorActions actions(form);
  ASSERT_EQ(std::size(rows), actions.Names.size());
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Name);
    EXPECT_EQ(actions[r.Name]->Caption(), r.Caption);
    EXPECT_EQ(actions[r.Name]->Hint(), r.Hint);
    // The editor's key table binds the keys; the form may add shortcuts.
    EXPECT_EQ(actions[r.Name]->ShortCut(), vcl::scNone);
  }
  EXPECT_EQ(static_cast<TpsSpanAction*>(actions["StrikeOut"])->OpenTag(), "<s>");
  EXPECT_EQ(static_cast<TpsTextAlignmentAction*>(actions["AlignJustify"])->Alignment(), 4);
  vcl::Free(form);
}

// --- The editor handed on and forgotten ---

TEST(EditorActions, AnEditorSetOnTheListLaterReachesEveryActionAndFreeingItClearsItEverywhere) {
  EditorOnForm f;
  EditorActions actions(f.Form);
  for (const std::string& n : actions.Names) EXPECT_EQ(actions[n]->GetEditor(), nullptr) << n;
  // Without an editor every action is disabled and executing does nothing.
  actions.List->UpdateActions();
  for (const std::string& n : actions.Names) {
    EXPECT_FALSE(actions[n]->Enabled()) << n;
    EXPECT_FALSE(actions[n]->Execute()) << n;
  }
  EXPECT_FALSE(actions["Bold"]->HandlesTarget(f.Form));
  EXPECT_TRUE(actions["Bold"]->HandlesTarget(f.Editor));

  actions.List->SetEditor(f.Editor);
  for (const std::string& n : actions.Names) EXPECT_EQ(actions[n]->GetEditor(), f.Editor) << n;
  EXPECT_TRUE(actions["Bold"]->HandlesTarget(f.Form));

  // An action loaded onto the list without an editor takes the list's.
  auto* late = new TpsItalicAction(f.Form);
  late->SetActionList(actions.List);
  late->BeginLoad();
  late->EndLoad();
  EXPECT_EQ(late->GetEditor(), f.Editor);

  vcl::Free(f.Editor);
  EXPECT_EQ(actions.List->GetEditor(), nullptr);
  EXPECT_EQ(late->GetEditor(), nullptr);
  for (const std::string& n : actions.Names) EXPECT_EQ(actions[n]->GetEditor(), nullptr) << n;
  actions.List->UpdateActions();
  EXPECT_FALSE(actions["Bold"]->Enabled());
  f.Editor = nullptr;
  f.Form->Close();
}

// --- Enabled and checked per page, in idle time ---

struct StateCase {
  const char* Name;
  const char* Page;
  const char* Select;  // selected by a search, "*" all, or none
  // The actions enabled and checked; every other one is disabled or
  // unchecked.
  std::vector<std::string> Enabled;
  std::vector<std::string> Checked;
};

const std::vector<std::string> kAlways = {"Bold", "Italic", "Underline", "StrikeOut", "AlignLeft", "AlignCenter",
                                          "AlignRight", "AlignJustify", "OrderedList", "UnorderedList"};
const std::vector<std::string> kTable = {"RowAbove", "RowBelow", "ColumnLeft", "ColumnRight", "DeleteRow",
                                         "DeleteColumn"};

std::vector<std::string> Plus(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(EditorActions, EnabledAndCheckedFollowTheCaretAndTheSelection) {
  const std::vector<StateCase> cases = {
      // A block without an alignment of its own stands on the left.
      {"plain paragraph", "<p>ab|cd</p>", nullptr, kAlways, {"AlignLeft"}},
      {"inside bold and italic", "<p><b><i>ab|cd</i></b></p>", nullptr, kAlways, {"Bold", "Italic", "AlignLeft"}},
      {"selection bold throughout", "<p><b>ab</b></p><p><b>cd|</b></p>", "*", Plus(kAlways, {"Cut", "Copy"}),
       {"Bold", "AlignLeft"}},
      {"selection bold in part", "<p><b>ab</b></p><p>cd|</p>", "*", Plus(kAlways, {"Cut", "Copy"}), {"AlignLeft"}},
      {"centred block", "<p style=\"text-align:center\">ab|</p>", nullptr, kAlways, {"AlignCenter"}},
      {"right block", "<p style=\"text-align:right\">ab|</p>", nullptr, kAlways, {"AlignRight"}},
      {"justified block", "<p style=\"text-align:justify\">ab|</p>", nullptr, kAlways, {"AlignJustify"}},
      {"in a table", "<table><tr><td>a|</td><td>b</td></tr></table>", nullptr, Plus(kAlways, kTable), {"AlignLeft"}},
      {"in an ordered list", "<ol><li>ab|</li></ol>", nullptr, Plus(kAlways, {"IncreaseIndent", "DecreaseIndent"}),
       {"OrderedList", "AlignLeft"}},
      {"in an unordered list", "<ul><li>ab|</li></ul>", nullptr, Plus(kAlways, {"IncreaseIndent", "DecreaseIndent"}),
       {"UnorderedList", "AlignLeft"}},
      // Text selected in a list: neither list button shows pressed and the
      // indents wait.
      {"selection in a list", "<ol><li>abcd|</li></ol>", "bc", Plus(kAlways, {"Cut", "Copy"}), {"AlignLeft"}},
  };
  for (const StateCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ActionsScope s;
    s.Load(c.Page, c.Select);
    for (const std::string& n : s.Actions.Names) {
      const bool enabled = std::find(c.Enabled.begin(), c.Enabled.end(), n) != c.Enabled.end();
      const bool checked = std::find(c.Checked.begin(), c.Checked.end(), n) != c.Checked.end();
      EXPECT_EQ(s.Actions[n]->Enabled(), enabled) << n;
      if (enabled) EXPECT_EQ(s.Actions[n]->Checked(), checked) << n;
    }
  }
}

TEST(EditorActions, UndoRedoAndPasteFollowTheEditor) {
  ActionsScope s;
  s.Load("<p>ab|cd</p>");
  EXPECT_FALSE(s.Actions["Undo"]->Enabled());
  EXPECT_FALSE(s.Actions["Redo"]->Enabled());
  EXPECT_FALSE(s.Actions["Paste"]->Enabled());  // an empty clipboard
  s.f.Editor->InsertText("x", false);
  s.Idle();
  EXPECT_TRUE(s.Actions["Undo"]->Enabled());
  EXPECT_FALSE(s.Actions["Redo"]->Enabled());
  EXPECT_TRUE(s.Actions["Undo"]->Execute());
  EXPECT_EQ(s.Body(), "<p>ab|cd</p>");
  s.Idle();
  EXPECT_FALSE(s.Actions["Undo"]->Enabled());
  EXPECT_TRUE(s.Actions["Redo"]->Enabled());
  EXPECT_TRUE(s.Actions["Redo"]->Execute());
  EXPECT_EQ(s.Body(), "<p>abx|cd</p>");

  // Copy, then paste at the caret.
  ASSERT_TRUE(s.f.Editor->FindText("bx", false, true, true));
  s.Idle();
  EXPECT_TRUE(s.Actions["Copy"]->Execute());
  s.Idle();
  EXPECT_TRUE(s.Actions["Paste"]->Enabled());
  s.f.Editor->ClearSelection();
  EXPECT_TRUE(s.Actions["Paste"]->Execute());
  EXPECT_EQ(s.Body(), "<p>abxbx|cd</p>");
  ASSERT_TRUE(s.f.Editor->FindText("xb", false, true, true));
  EXPECT_TRUE(s.Actions["Cut"]->Execute());
  EXPECT_EQ(s.Body(), "<p>ab|xcd</p>");
  // Cut leaves nothing selected: the action disables itself and refuses.
  EXPECT_FALSE(s.Actions["Cut"]->Execute());
  EXPECT_FALSE(s.Actions["Cut"]->Enabled());
}

// --- What executing gives ---

struct ExecuteCase {
  const char* Name;
  const char* Page;
  const char* Select;
  const char* Action;
  const char* After;  // nullptr: nothing changes and no undo step
};

TEST(EditorActions, ExecutingGivesThePage) {
  const std::vector<ExecuteCase> cases = {
      {"bold at the caret", "<p>ab|cd</p>", nullptr, "Bold", "<p>ab<b>|</b>cd</p>"},
      {"bold over a bold selection", "<p><b>ab</b></p><p><b>cd|</b></p>", "*", "Bold", "<p>ab</p><p>cd|</p>"},
      {"bold over a selection bold in part", "<p><b>ab</b></p><p>cd|</p>", "*", "Bold",
       "<p><b>ab</b></p><p><b>cd|</b></p>"},
      {"italic over a selection", "<p>ab cd|</p>", "ab", "Italic", "<p><i>ab|</i> cd</p>"},
      {"underline at the caret", "<p>ab|cd</p>", nullptr, "Underline", "<p>ab<u>|</u>cd</p>"},
      {"strike out over a selection", "<p>ab cd|</p>", "cd", "StrikeOut", "<p>ab <s>cd|</s></p>"},
      {"centre", "<p>ab|</p>", nullptr, "AlignCenter", "<p style=\"text-align:center;\">ab|</p>"},
      {"centre a centred block", "<p style=\"text-align:center\">ab|</p>", nullptr, "AlignCenter", nullptr},
      {"right", "<p>ab|</p>", nullptr, "AlignRight", "<p style=\"text-align:right;\">ab|</p>"},
      {"justify", "<p style=\"text-align:center\">ab|</p>", nullptr, "AlignJustify",
       "<p style=\"text-align:justify;\">ab|</p>"},
      {"ordered list", "<p>ab|</p>", nullptr, "OrderedList", "<ol><li>ab|</li></ol>"},
      {"unordered list", "<p>ab|</p>", nullptr, "UnorderedList", "<ul><li>ab|</li></ul>"},
      {"ordered in an unordered list", "<ul><li>ab|</li></ul>", nullptr, "OrderedList", "<ol><li>ab|</li></ol>"},
      {"ordered in an ordered list", "<ol><li>ab|</li></ol>", nullptr, "OrderedList", "<p>ab|</p>"},
      {"increase indent", "<ol><li>ab</li><li>cd|</li></ol>", nullptr, "IncreaseIndent",
       "<ol><li>ab<ol><li>cd|</li></ol></li></ol>"},
      {"decrease indent", "<ul><li>ab<ul><li>cd|</li></ul></li></ul>", nullptr, "DecreaseIndent",
       "<ul><li>ab</li><li>cd|</li></ul>"},
      {"indent with a selection", "<ol><li>ab</li><li>cd|</li></ol>", "cd", "IncreaseIndent", nullptr},
      {"row above", "<table><tr><td>a|</td><td>b</td></tr></table>", nullptr, "RowAbove",
       "<table><tr><td>&nbsp;</td><td>&nbsp;</td></tr><tr><td>a|</td><td>b</td></tr></table>"},
      {"row below", "<table><tr><td>a|</td><td>b</td></tr></table>", nullptr, "RowBelow",
       "<table><tr><td>a|</td><td>b</td></tr><tr><td>&nbsp;</td><td>&nbsp;</td></tr></table>"},
      {"column left", "<table><tr><td>a|</td><td>b</td></tr></table>", nullptr, "ColumnLeft",
       "<table><tr><td>&nbsp;</td><td>a|</td><td>b</td></tr></table>"},
      {"column right", "<table><tr><td>a|</td><td>b</td></tr></table>", nullptr, "ColumnRight",
       "<table><tr><td>a|</td><td>&nbsp;</td><td>b</td></tr></table>"},
      {"delete row", "<table><tr><td>a|</td></tr><tr><td>b</td></tr></table>", nullptr, "DeleteRow",
       "<table><tr><td>|b</td></tr></table>"},
      {"delete column", "<table><tr><td>a|</td><td>b</td></tr></table>", nullptr, "DeleteColumn",
       "<table><tr><td>|b</td></tr></table>"},
      {"table action outside a table", "<p>ab|</p>", nullptr, "RowBelow", nullptr},
  };
  for (const ExecuteCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ActionsScope s;
    s.Load(c.Page, c.Select);
    const std::string before = s.Body();
    const Integer steps = s.f.Editor->UndoList().Count();
    s.Actions[c.Action]->Execute();
    if (!c.After) {
      EXPECT_EQ(s.Body(), before);
      EXPECT_EQ(s.f.Editor->UndoList().Count(), steps);
      continue;
    }
    EXPECT_EQ(s.Body(), c.After);
    EXPECT_EQ(s.f.Editor->UndoList().Count(), steps + 1);
    s.f.Editor->Undo();
    EXPECT_EQ(s.Body(), before);
  }
}

TEST(EditorActions, BoldAtTheCaretStaysCheckedWhileTypingAndPressedAgainEndsIt) {
  ActionsScope s;
  s.Load("<p>ab|cd</p>");
  EXPECT_FALSE(s.Actions["Bold"]->Checked());
  s.Actions["Bold"]->Execute();
  s.Idle();
  EXPECT_TRUE(s.Actions["Bold"]->Checked());
  s.f.Editor->InsertText("x", false);
  s.Idle();
  EXPECT_TRUE(s.Actions["Bold"]->Checked());
  EXPECT_EQ(s.Body(), "<p>ab<b>x|</b>cd</p>");
  s.Actions["Bold"]->Execute();
  s.f.Editor->InsertText("y", false);
  s.Idle();
  EXPECT_FALSE(s.Actions["Bold"]->Checked());
  EXPECT_EQ(s.Body(), "<p>ab<b>x</b>y|cd</p>");
}

TEST(EditorActions, OrderedListPressedTwiceMakesAndRemovesTheList) {
  ActionsScope s;
  s.Load("<ul><li>ab|</li></ul>");
  EXPECT_FALSE(s.Actions["OrderedList"]->Checked());
  EXPECT_TRUE(s.Actions["UnorderedList"]->Checked());
  s.Actions["OrderedList"]->Execute();
  s.Idle();
  EXPECT_EQ(s.Body(), "<ol><li>ab|</li></ol>");
  EXPECT_TRUE(s.Actions["OrderedList"]->Checked());
  EXPECT_FALSE(s.Actions["UnorderedList"]->Checked());
  s.Actions["OrderedList"]->Execute();
  s.Idle();
  EXPECT_EQ(s.Body(), "<p>ab|</p>");
  EXPECT_FALSE(s.Actions["OrderedList"]->Checked());
}

// --- Through a key: the form's shortcut on an action ---

void SendKey(EditorOnForm& f, int aKey, Qt::KeyboardModifiers aMods, const QString& aText) {
  QKeyEvent press(QEvent::KeyPress, aKey, aMods, aText);
  QCoreApplication::sendEvent(f.Editor->Widget(), &press);
  QKeyEvent release(QEvent::KeyRelease, aKey, aMods, aText);
  QCoreApplication::sendEvent(f.Editor->Widget(), &release);
  vcl::Application->ProcessMessages();
}

TEST(EditorActions, AShortcutTheFormGivesAnActionRunsItAndADisabledOneLeavesTheKeyToTheEditor) {
  ActionsScope s;
  s.Actions["OrderedList"]->SetShortCut(vcl::TextToShortCut("Ctrl+Shift+O"));
  s.Actions["RowBelow"]->SetShortCut(vcl::TextToShortCut("Ctrl+B"));
  s.Load("<p>ab|cd</p>");
  SendKey(s.f, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(15)));
  EXPECT_EQ(s.Body(), "<ol><li>ab|cd</li></ol>");
  // Outside a table the row action is disabled: Ctrl+B reaches the
  // editor's key table, which starts a bold span.
  s.Load("<p>ab|cd</p>");
  SendKey(s.f, Qt::Key_B, Qt::ControlModifier, QString(QChar(2)));
  EXPECT_EQ(s.Body(), "<p>ab<b>|</b>cd</p>");
  // In a table the action takes the key (the page loaded after the last
  // one: the caret's context follows the load).
  s.Load("<table><tr><td>a|</td></tr></table>");
  SendKey(s.f, Qt::Key_B, Qt::ControlModifier, QString(QChar(2)));
  EXPECT_EQ(s.Body(), "<table><tr><td>a|</td></tr><tr><td>&nbsp;</td></tr></table>");
}

}  // namespace
