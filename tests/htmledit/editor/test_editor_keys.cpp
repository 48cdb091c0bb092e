// The keyboard and the mouse through Qt: synthetic key, character, button
// and wheel events on the editor's widget reach the key table, the typed
// characters and the positional editor messages, judged by the saved page
// (the caret written as "|"), the selection and the scroll position.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "CaretNotation.h"
#include "EditorFixture.h"
#include "QtInput.h"
#include "htmledit/control/psKeyCmdTable.h"
#include "htmledit/control/psMouseScrollManager.h"
#include "rtl/Clock.h"
#include "htmledit/doc/psGlobals.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psTextWalk.h"
#include "htmledit/view/psWindows.h"
#include "vcl/StdCtrls.h"
#include "vcl/Menus.h"

using namespace htmledittest;
using htmledit::TKeyShortCut;
using htmledit::TpsKeyCmdTable;

namespace {

constexpr TKeyShortCut kShift = htmledit::kscShift, kCtrl = htmledit::kscCtrl, kAlt = htmledit::kscAlt;

std::string KeySelection(EditorOnForm& f) {
  AnsiString text;
  f.Editor->GetSelectedText(text);
  return text;
}

void LoadKeyPage(EditorOnForm& f, const std::string& aPage) {
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString(WithCaret(aPage), true, false);
  FocusEditor(f);
}

std::string ShownBody(EditorOnForm& f) { return ShowCaret(f.Body()); }

// --- The lookup rule ---

TEST(EditorKeyTable, TheLookupRuleAndItsEdgeCases) {
  TpsKeyCmdTable table;
  EXPECT_EQ(table.Find(0x0D), -1);  // an empty table finds nothing
  table.Add(0x41, 1, false);
  table.Add(0x41, 2, false);
  EXPECT_EQ(table.Find(0x41), 2);  // the later exact binding wins
  EXPECT_EQ(table.Find(kShift | 0x41), -1);
  table.Add(kShift | 0x41, 3, true);
  EXPECT_EQ(table.Find(0x41), 3);  // one ignoring Shift wins over both
  EXPECT_EQ(table.Find(kShift | 0x41), 3);
  EXPECT_EQ(table.Find(kCtrl | 0x41), -1);  // other modifiers still count
  table.Add(0x42, 4, false);
  table.RemoveCommand(3);
  EXPECT_EQ(table.Find(0x41), 2);
  EXPECT_EQ(table.Count(), 3);
  table.RemoveCommand(2);
  table.RemoveCommand(1);
  EXPECT_EQ(table.Find(0x41), -1);
  EXPECT_EQ(table.Find(0x42), 4);
}

TEST(EditorKeyTable, TheDefaultBindingsAndTheMainWindowsTwoRebindings) {
  TpsKeyCmdTable table;
  htmledit::InitKeyCommands(table);
  struct Row {
    TKeyShortCut Key;
    rtl::Integer Command;
  };
  const Row rows[] = {
      {0x0D, 1030}, {0x08, 1130}, {kCtrl | 0x08, 1130}, {kShift | 0x08, 1130}, {0x2E, 1140}, {kCtrl | 0x2E, 1140},
      {0x1B, 1040}, {0x09, 1050}, {kShift | 0x09, 1060}, {0x25, 1070}, {kShift | 0x25, 1070}, {0x27, 1080},
      {0x26, 1090}, {0x28, 1100}, {0x24, 1110}, {kShift | 0x23, 1120}, {kCtrl | 0x25, 1160},
      {kCtrl | 0x27, 1170}, {kCtrl | 0x24, 1180}, {kCtrl | kShift | 0x24, 1180}, {kCtrl | 0x23, 1190},
      {0x21, 1200}, {kShift | 0x22, 1210}, {kCtrl | 'T', 10}, {kCtrl | 'A', 180}, {kCtrl | 'L', 200},
      {kCtrl | kShift | 0x26, 215}, {kCtrl | kShift | 0x28, 216}, {kCtrl | kShift | 'B', 190}, {kCtrl | 'C', 3000},
      {kCtrl | 0x2D, 3000}, {kCtrl | 'V', 3002}, {kShift | 0x2D, 3002}, {kCtrl | 'X', 3001}, {kShift | 0x2E, 3001},
      {kShift | 0x0D, 4000}, {kCtrl | 'B', 3500}, {kCtrl | 'U', 3501}, {kCtrl | 'I', 3502}, {kCtrl | 'Z', 3520},
      {kAlt | 0x08, 3520}, {kCtrl | 'Y', 3530}, {kCtrl | 'Q', -1}, {kAlt | 0x0D, -1}};
  for (const Row& r : rows) EXPECT_EQ(table.Find(static_cast<TKeyShortCut>(r.Key)), r.Command) << std::hex << r.Key;
  EXPECT_EQ(table.Count(), 40);

  // The main window's two bindings, through the component.
  EditorOnForm f;
  f.Editor->AddKeyCommand(htmlview::psmKeyEnter, {kShift | 0x0D}, true, false);
  f.Editor->AddKeyCommand(htmlview::psmShiftEnter, {0x0D}, true, true);
  EXPECT_EQ(f.Editor->KeyCmdTable().Find(0x0D), 4000);
  EXPECT_EQ(f.Editor->KeyCmdTable().Find(kShift | 0x0D), 4000);
}

// --- Keys through Qt ---

struct KeyTableCase {
  const char* Name;
  const char* Before;
  std::vector<std::pair<int, Qt::KeyboardModifiers>> Keys;
  const char* Typed;  // typed after the keys (nullptr: nothing)
  const char* After;
};

TEST(EditorKeys, KeysAndShortcutsThroughQtGiveThePage) {
  const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
  const KeyTableCase cases[] = {
      {"typing", "<p>ab|cd</p>", {}, "xy", "<p>abxy|cd</p>"},
      {"enter splits", "<p>ab|cd</p>", {{Qt::Key_Return, none}}, nullptr, "<p>ab</p><p>|cd</p>"},
      {"shift+enter breaks", "<p>ab|cd</p>", {{Qt::Key_Return, shift}}, nullptr, "<p>ab<br />|cd</p>"},
      {"backspace", "<p>ab|cd</p>", {{Qt::Key_Backspace, none}}, nullptr, "<p>a|cd</p>"},
      {"delete", "<p>ab|cd</p>", {{Qt::Key_Delete, none}}, nullptr, "<p>ab|d</p>"},
      {"left", "<p>ab|cd</p>", {{Qt::Key_Left, none}}, "x", "<p>ax|bcd</p>"},
      {"right", "<p>ab|cd</p>", {{Qt::Key_Right, none}}, "x", "<p>abcx|d</p>"},
      {"home", "<p>ab|cd</p>", {{Qt::Key_Home, none}}, "x", "<p>x|abcd</p>"},
      {"end", "<p>ab|cd</p>", {{Qt::Key_End, none}}, "x", "<p>abcdx|</p>"},
      {"down", "<p>ab|cd</p><p>ef</p>", {{Qt::Key_Down, none}}, "x", "<p>abcd</p><p>efx|</p>"},
      {"up", "<p>ab</p><p>c|d</p>", {{Qt::Key_Up, none}}, "x", "<p>ax|b</p><p>cd</p>"},
      {"ctrl+home", "<p>ab</p><p>cd|</p>", {{Qt::Key_Home, ctrl}}, "x", "<p>x|ab</p><p>cd</p>"},
      {"ctrl+end", "<p>|ab</p><p>cd</p>", {{Qt::Key_End, ctrl}}, "x", "<p>ab</p><p>cdx|</p>"},
      {"ctrl+left", "<p>one two|</p>", {{Qt::Key_Left, ctrl}}, "x", "<p>one x|two</p>"},
      {"ctrl+right", "<p>|one two</p>", {{Qt::Key_Right, ctrl}}, "x", "<p>one x|two</p>"},
      {"shift+left replaced", "<p>ab|cd</p>", {{Qt::Key_Left, shift}}, "x", "<p>ax|cd</p>"},
      {"shift+end replaced", "<p>ab|cd</p>", {{Qt::Key_End, shift}}, "x", "<p>abx|</p>"},
      {"ctrl+a replaced", "<p>ab|cd</p><p>ef</p>", {{Qt::Key_A, ctrl}}, "x", "<p>x|</p><p>&nbsp;</p>"},
      {"ctrl+b types bold", "<p>ab|cd</p>", {{Qt::Key_B, ctrl}}, "x", "<p>ab<b>x|</b>cd</p>"},
      {"ctrl+i types italic", "<p>ab|cd</p>", {{Qt::Key_I, ctrl}}, "x", "<p>ab<i>x|</i>cd</p>"},
      {"ctrl+u types underlined", "<p>ab|cd</p>", {{Qt::Key_U, ctrl}}, "x", "<p>ab<u>x|</u>cd</p>"},
      {"ctrl+b on a selection", "<p>ab|cd</p>", {{Qt::Key_Right, shift}, {Qt::Key_Right, shift}, {Qt::Key_B, ctrl}},
       nullptr, "<p>ab<b>cd|</b></p>"},
      {"ctrl+b twice on a selection", "<p>ab|cd</p>",
       {{Qt::Key_Right, shift}, {Qt::Key_Right, shift}, {Qt::Key_B, ctrl}, {Qt::Key_B, ctrl}}, nullptr, "<p>abcd<b>|</b></p>"},
      {"ctrl+b twice types plain", "<p>ab|cd</p>", {{Qt::Key_B, ctrl}, {Qt::Key_B, ctrl}}, "x", "<p>abx|cd</p>"},
      // Inside the span the toggle takes it away; at its end the caret steps
      // out of it.
      {"ctrl+b inside bold", "<p><b>ab|cd</b></p>", {{Qt::Key_B, ctrl}}, "x", "<p>abx|cd</p>"},
      {"ctrl+b at the end of bold", "<p><b>ab|</b>cd</p>", {{Qt::Key_B, ctrl}}, "x", "<p><b>ab</b>x|cd</p>"},
      {"ctrl+z", "<p>ab|cd</p>", {{Qt::Key_X, none}, {Qt::Key_Z, ctrl}}, nullptr, "<p>ab|cd</p>"},
      {"ctrl+z ctrl+y", "<p>ab|cd</p>", {{Qt::Key_X, none}, {Qt::Key_Z, ctrl}, {Qt::Key_Y, ctrl}}, nullptr, "<p>abx|cd</p>"},
      {"alt+backspace", "<p>ab|cd</p>", {{Qt::Key_X, none}, {Qt::Key_Backspace, Qt::AltModifier}}, nullptr, "<p>ab|cd</p>"},
      {"ctrl+x ctrl+v", "<p>ab|cd</p>",
       {{Qt::Key_Right, shift}, {Qt::Key_Right, shift}, {Qt::Key_X, ctrl}, {Qt::Key_Home, none}, {Qt::Key_V, ctrl}},
       nullptr, "<p>cd|ab</p>"},
      {"ctrl+c ctrl+v", "<p>ab|cd</p>",
       {{Qt::Key_Left, shift}, {Qt::Key_C, ctrl}, {Qt::Key_End, none}, {Qt::Key_V, ctrl}}, nullptr, "<p>abcdb|</p>"},
      {"shift+delete shift+insert", "<p>ab|cd</p>",
       {{Qt::Key_Right, shift}, {Qt::Key_Delete, shift}, {Qt::Key_Home, none}, {Qt::Key_Insert, shift}}, nullptr,
       "<p>c|abd</p>"},
      {"ctrl+insert", "<p>ab|cd</p>", {{Qt::Key_Right, shift}, {Qt::Key_Insert, ctrl}, {Qt::Key_Insert, shift}},
       nullptr, "<p>abc|d</p>"},
      {"ctrl+backspace", "<p>ab|cd</p>", {{Qt::Key_Backspace, ctrl}}, nullptr, "<p>|cd</p>"},
      {"shift+backspace", "<p>ab|cd</p>", {{Qt::Key_Backspace, shift}}, nullptr, "<p>a|cd</p>"},
      {"ctrl+delete", "<p>ab|cd</p>", {{Qt::Key_Delete, ctrl}}, nullptr, "<p>ab|</p>"},
      {"tab", "<p>ab|cd</p>", {{Qt::Key_Tab, none}}, nullptr, "<p>ab|cd</p>"},
      {"escape", "<p>ab|cd</p>", {{Qt::Key_Escape, none}}, nullptr, "<p>ab|cd</p>"},
      {"page down", "<p>ab|cd</p><p>ef</p>", {{Qt::Key_PageDown, none}}, "x", "<p>abcd</p><p>efx|</p>"},
      {"ctrl+shift+b", "<p>ab|cd</p><p>ef</p>", {{Qt::Key_B, ctrl | shift}}, "x", "<p>x|</p><p>ef</p>"},
      {"ctrl+l", "<p>ab|cd</p><p>ef</p>", {{Qt::Key_L, ctrl}}, "x", "<p>x|</p><p>ef</p>"},
      {"ctrl+shift+up", "<p>ab|cd</p><p>ef</p>", {{Qt::Key_Up, ctrl | shift}}, "x", "<p>ab</p><p>x|ef</p>"},
      {"ctrl+shift+down", "<p>ab</p><p>e|f</p>", {{Qt::Key_Down, ctrl | shift}}, "x", "<p>abx|</p><p>f</p>"},
      {"ctrl+q unbound", "<p>ab|cd</p>", {{Qt::Key_Q, ctrl}}, nullptr, "<p>ab|cd</p>"},
  };
  for (const KeyTableCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EditorOnForm f;
    LoadKeyPage(f, c.Before);
    for (const auto& [key, mods] : c.Keys) QtKey(f, key, mods);
    if (c.Typed) QtTypedEach(f, QString::fromUtf8(c.Typed));
    const std::string after = ShownBody(f);
    EXPECT_EQ(after, c.After);
  }
}

TEST(EditorKeys, ShiftKeysExtendTheSelection) {
  EditorOnForm f;
  LoadKeyPage(f, "<p>alpha beta</p><p>gamma</p>");
  QtKey(f, Qt::Key_End);
  QtKey(f, Qt::Key_Left, Qt::ShiftModifier);
  QtKey(f, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(KeySelection(f), "ta");
  QtKey(f, Qt::Key_Home);
  EXPECT_FALSE(f.Editor->HasTextSelection());
  QtKey(f, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(KeySelection(f), "alpha ");
  QtKey(f, Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(KeySelection(f), "alpha beta");
  QtKey(f, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
  const std::string all = KeySelection(f);
  EXPECT_EQ(all.substr(0, 10), "alpha beta");
  EXPECT_EQ(all.substr(all.size() - 5), "gamma");
  // Ctrl+Shift+Home goes back to the anchor's start: nothing selected.
  QtKey(f, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(KeySelection(f), "");
  QtKey(f, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_NE(KeySelection(f), "");
}

TEST(EditorKeys, TypedCharactersArriveAsUtf16AndControlCodesNever) {
  EditorOnForm f;
  LoadKeyPage(f, "<p>|</p>");
  QtTypedEach(f, QString::fromUtf8("h\u00e9llo "));
  // An emoji: two UTF-16 units, one event each as an input method sends
  // them, and both in one event.
  const QString emoji = QString::fromUtf8("\U0001F600");
  QtTyped(f, QString(emoji[0]));
  QtTyped(f, QString(emoji[1]));
  QtTyped(f, emoji);
  // Every control code, and DEL.
  for (char16_t code = 1; code < 32; ++code) QtTyped(f, QString(QChar(code)));
  QtTyped(f, QString(QChar(127)));
  // A second half alone is no character.
  QtTyped(f, QString(emoji[1]));
  EXPECT_EQ(ShownBody(f), "<p>h\u00e9llo \U0001F600\U0001F600|</p>");
  const std::string saved = f.Editor->SaveToString(true, false);
  EXPECT_NE(saved.find("h\u00e9llo \U0001F600\U0001F600"), std::string::npos) << saved;
}

TEST(EditorKeys, TypingTakesOneSnapshotAndOnKeyPressMayChangeOrDropTheCharacter) {
  EditorOnForm f;
  LoadKeyPage(f, "<p>ab|</p>");
  const rtl::Integer steps = f.Editor->UndoList().Count();
  f.Editor->OnKeyPress = [](vcl::TObject*, rtl::WideChar& aKey) {
    if (aKey == u'a') aKey = u'z';
    if (aKey == u'q') aKey = 0;
  };
  QtTypedEach(f, "aqa");
  EXPECT_EQ(ShownBody(f), "<p>abzz|</p>");
  EXPECT_EQ(f.Editor->UndoList().Count(), steps + 1);
  QtKey(f, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(ShownBody(f), "<p>ab|</p>");
}

TEST(EditorKeys, BoldShortcutOffChangesNothing) {
  EditorOnForm f;
  LoadKeyPage(f, "<p>ab|cd</p>");
  f.Editor->EditingOptions.Shortcuts().Bold = false;
  QtKey(f, Qt::Key_B, Qt::ControlModifier);
  QtTypedEach(f, "x");
  EXPECT_EQ(ShownBody(f), "<p>abx|cd</p>");
  QtKey(f, Qt::Key_Left, Qt::ShiftModifier);
  QtKey(f, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(ShownBody(f), "<p>ab|xcd</p>");
  QtKey(f, Qt::Key_I, Qt::ControlModifier);
  EXPECT_EQ(ShownBody(f), "<p>ab<i>|x</i>cd</p>");
}

TEST(EditorKeys, AfterTheMainWindowsBindingsEnterAndShiftEnterBreakTheLine) {
  for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
    EditorOnForm f;
    f.Editor->AddKeyCommand(htmlview::psmKeyEnter, {kShift | 0x0D}, true, false);
    f.Editor->AddKeyCommand(htmlview::psmShiftEnter, {0x0D}, true, true);
    LoadKeyPage(f, "<p>ab|cd</p>");
    QtKey(f, Qt::Key_Return, mods);
    EXPECT_EQ(ShownBody(f), "<p>ab<br />|cd</p>");
  }
}

TEST(EditorKeys, WithoutWantReturnsEnterGoesToTheDefaultButton) {
  EditorOnForm f;
  auto* button = new vcl::TButton(f.Form);
  button->SetParent(f.Form);
  button->SetBounds(0, 0, 10, 10);
  button->SetDefault(true);
  int clicks = 0;
  button->OnClick = [&](vcl::TObject*) { ++clicks; };
  LoadKeyPage(f, "<p>ab|cd</p>");
  EXPECT_EQ(f.Editor->Perform(vcl::WM_GETDLGCODE), 0x87);
  f.Editor->WantReturns = false;
  EXPECT_EQ(f.Editor->Perform(vcl::WM_GETDLGCODE), 0x83);
  QtKey(f, Qt::Key_Return);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(ShownBody(f), "<p>ab|cd</p>");
  // A carriage return typed without a key is dropped too.
  QtTyped(f, "\r");
  EXPECT_EQ(ShownBody(f), "<p>ab|cd</p>");
  f.Editor->WantReturns = true;
  QtKey(f, Qt::Key_Return);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(ShownBody(f), "<p>ab</p><p>|cd</p>");
}

class KeysRaisingPaintEditor : public htmledit::TpsHTMLEdit {
 public:
  using TpsHTMLEdit::TpsHTMLEdit;
  void PaintDocument() override {
    if (Raise) throw htmldoc::EpsHtmlEditException("the page broke");
    TpsHTMLEdit::PaintDocument();
  }
  bool Raise = false;
};

TEST(EditorKeys, AfterAPaintingFailureKeysCharactersAndMouseAreIgnored) {
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(420);
  form->SetClientHeight(220);
  auto* e = new KeysRaisingPaintEditor(form);
  e->SetParent(form);
  e->SetBounds(10, 10, 400, 200);
  e->Loaded();
  e->OnShowPaintError = [](const AnsiString&) {};
  e->CodeGenerator.SaveLastEditingPosition = true;
  e->LoadFromString(WithCaret("<p>ab|cd</p>"), true, false);
  form->Show();
  e->SetFocus();
  vcl::Application->ProcessMessages();
  e->Raise = true;
  e->Invalidate();
  vcl::Application->ProcessMessages();
  ASSERT_TRUE(e->PaintFailed());
  const auto body = [&] {
    e->CodeGenerator.BeautifyCode = false;
    return ShowCaret(e->SaveToString(false, true));
  };
  QWidget* w = e->Widget();
  QTest::keyClick(w, Qt::Key_Backspace);
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QCoreApplication::sendEvent(w, &typed);
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  vcl::Application->ProcessMessages();
  EXPECT_EQ(body(), "<p>ab|cd</p>");
  vcl::Free(form);
}

// --- The mouse through Qt ---

TEST(EditorMouse, PressDragAndReleaseSelectAndAClickPlacesTheCaret) {
  EditorOnForm f(400, 200);
  LoadKeyPage(f, "<p>|alpha beta gamma</p><p>second line</p>");
  std::vector<htmlview::TpsTextNode*> lines = KeyTestLines(f.Editor);
  ASSERT_EQ(lines.size(), 2u);
  // Items (blanks are none): a l p h a b e t a g a m m a; from before "b"
  // (5) to before "g" (9).
  QtMouse(f, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, LeftOfItem(lines[0], 5));
  QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, LeftOfItem(lines[0], 7));
  QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, LeftOfItem(lines[0], 9));
  QtMouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, LeftOfItem(lines[0], 9));
  EXPECT_EQ(KeySelection(f), "beta ");
  EXPECT_TRUE(f.Editor->Focused());
  // A plain click ends it and puts the caret there; Shift+click extends
  // from it.
  QtClick(f, LeftOfItem(lines[0], 1));
  EXPECT_EQ(KeySelection(f), "");
  QtTyped(f, "x");
  EXPECT_EQ(ShownBody(f), "<p>ax|lpha beta gamma</p><p>second line</p>");
  // A drag across blocks (the typing made the lines anew).
  lines = KeyTestLines(f.Editor);
  ASSERT_EQ(lines.size(), 2u);
  QtMouse(f, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, LeftOfItem(lines[0], 2));
  QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, LeftOfItem(lines[1], 6));
  QtMouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, LeftOfItem(lines[1], 6));
  // (The first line now reads "axlpha beta gamma".)
  EXPECT_EQ(KeySelection(f), "lpha beta gammasecond ");
}

TEST(EditorMouse, ShiftClickExtendsTheSelectionFromTheAnchorOrTheCaret) {
  EditorOnForm f(400, 200);
  LoadKeyPage(f, "<p>|alpha beta gamma</p><p>second line</p>");
  std::vector<htmlview::TpsTextNode*> lines = KeyTestLines(f.Editor);
  ASSERT_EQ(lines.size(), 2u);
  // A click before "b", then Shift+click before "g": the words between.
  QtClick(f, LeftOfItem(lines[0], 5));
  QtClick(f, LeftOfItem(lines[0], 9), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(KeySelection(f), "beta ");
  // Another Shift+click moves the end, the anchor stays: backwards over
  // it, then into the next block.
  QtClick(f, LeftOfItem(lines[0], 1), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(KeySelection(f), "lpha ");
  QtClick(f, LeftOfItem(lines[1], 6), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(KeySelection(f), "beta gammasecond ");
  // A plain click starts again.
  QtClick(f, LeftOfItem(lines[0], 2));
  EXPECT_EQ(KeySelection(f), "");
  // With the caret moved by a key (no anchor left), Shift+click extends
  // from the caret.
  QtKey(f, Qt::Key_Right);
  QtClick(f, LeftOfItem(lines[0], 9), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(KeySelection(f), "ha beta ");
  // And typing replaces what Shift+click selected.
  QtTyped(f, "x");
  EXPECT_EQ(ShownBody(f), "<p>alpx|gamma</p><p>second line</p>");
}

// A mouse event at a client point (outside the control too).
void QtMouseAtClient(EditorOnForm& f, QEvent::Type aType, Qt::MouseButton aButton, Qt::MouseButtons aButtons,
                     rtl::Integer aX, rtl::Integer aY, Qt::KeyboardModifiers aMods = Qt::NoModifier) {
  QtMouse(f, aType, aButton, aButtons, f.Editor->ClientToDocument({aX, aY}), aMods);
}

TEST(EditorMouse, DraggingPastTheEdgeScrollsEvery50MillisecondsAndTheSelectionFollows) {
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scope(clock);
  const auto wait = [&](uint64_t ms) {
    clock->Advance(ms);
    vcl::Application->FireDueTimers();
    vcl::Application->ProcessMessages();
  };
  EditorOnForm f(400, 200);
  std::string page = "<p>|Line 00 alpha</p>";
  for (int i = 1; i < 40; ++i) page += "<p>Line " + std::to_string(10 + i) + " alpha</p>";
  LoadKeyPage(f, page);
  htmledit::TpsMouseScrollManager* manager = f.Editor->MouseScrollManager();
  const rtl::Integer height = f.Editor->Height();
  std::vector<htmlview::TpsTextNode*> lines = KeyTestLines(f.Editor);
  QtMouse(f, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, LeftOfItem(lines[0], 2));
  EXPECT_FALSE(manager->IsScrolling());
  // Ten pixels below the editor: +10 every 50 ms.
  QtMouseAtClient(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 50, height + 9);
  EXPECT_TRUE(manager->IsScrolling());
  EXPECT_EQ(manager->ScrollDelta(), 10);
  // (The caret the drag put on the line below is scrolled into view.)
  const rtl::Integer start = f.Editor->ScrollPosition();
  wait(49);
  EXPECT_EQ(f.Editor->ScrollPosition(), start);
  wait(1);
  EXPECT_EQ(f.Editor->ScrollPosition(), start + 10);
  wait(50);
  EXPECT_EQ(f.Editor->ScrollPosition(), start + 20);
  // The selection runs from the press down to the line under the pointer.
  const std::string selected = KeySelection(f);
  EXPECT_EQ(selected.substr(0, 6), "ne 00 ") << selected;
  EXPECT_GT(selected.size(), 60u) << selected;
  // Back inside: it stops; released: nothing more.
  QtMouseAtClient(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 50, 100);
  EXPECT_FALSE(manager->IsScrolling());
  QtMouseAtClient(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 50, height + 4);
  EXPECT_EQ(manager->ScrollDelta(), 5);
  QtMouseAtClient(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 50, height + 4);
  EXPECT_FALSE(manager->IsScrolling());
  const rtl::Integer released = f.Editor->ScrollPosition();
  wait(200);
  EXPECT_EQ(f.Editor->ScrollPosition(), released);

  // Above the editor with Ctrl held: no scrolling; without it, -10 each
  // tick, stopping at the top.
  QtMouseAtClient(f, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 50, 50);
  QtMouseAtClient(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 50, -10, Qt::ControlModifier);
  EXPECT_FALSE(manager->IsScrolling());
  QtMouseAtClient(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 50, -10);
  EXPECT_EQ(manager->ScrollDelta(), -10);
  const rtl::Integer above = f.Editor->ScrollPosition();
  ASSERT_GT(above, 10);
  wait(50);
  EXPECT_EQ(f.Editor->ScrollPosition(), above - 10);
  // (A timer fires once for periods it missed: one tick per wait.)
  for (rtl::Integer i = 0; i < above / 10 + 2; ++i) wait(50);
  EXPECT_EQ(f.Editor->ScrollPosition(), 0);
  QtMouseAtClient(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 50, -10);

  // Far below near the end: the position stops at the end.
  const rtl::Integer end = f.Editor->GetDocumentHeight() - f.Editor->ClientHeight();
  f.Editor->ScrollTo(end - 30);
  QtMouseAtClient(f, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 50, 50);
  QtMouseAtClient(f, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, 50, height + 99);
  wait(50);
  EXPECT_EQ(f.Editor->ScrollPosition(), end);
  // Switched off (an image resize, the preview): the timer ticks in vain.
  f.Editor->SetMouseAutoScroll(false);
  f.Editor->ScrollTo(end - 30);
  wait(50);
  EXPECT_EQ(f.Editor->ScrollPosition(), end - 30);
  f.Editor->SetMouseAutoScroll(true);
  QtMouseAtClient(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 50, height + 99);
}

TEST(EditorMouse, ADoubleClickSelectsTheWord) {
  EditorOnForm f(400, 200);
  LoadKeyPage(f, "<p>|alpha beta gamma</p>");
  std::vector<htmlview::TpsTextNode*> lines = KeyTestLines(f.Editor);
  ASSERT_EQ(lines.size(), 1u);
  const htmldoc::TpsPoint p = LeftOfItem(lines[0], 7);
  QtClick(f, p);
  QtMouse(f, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, p);
  QtMouse(f, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, p);
  EXPECT_EQ(KeySelection(f), "beta");
}

TEST(EditorMouse, ARightClickShowsThePopupMenuOrTheTableMenuInsideATable) {
  EditorOnForm f(400, 200);
  auto* plain = new RecordingPopupMenu(f.Form);
  auto* table = new RecordingPopupMenu(f.Form);
  f.Editor->SetPopupMenu(plain);
  f.Editor->SetTablePopupMenu(table);
  LoadKeyPage(f, "<p>|text</p><table><tr><td>cell</td></tr></table>");
  std::vector<htmlview::TpsTextNode*> lines = KeyTestLines(f.Editor);
  ASSERT_EQ(lines.size(), 2u);
  const htmldoc::TpsPoint text = LeftOfItem(lines[0], 2);
  QtClick(f, text, Qt::RightButton);
  EXPECT_EQ(plain->Shown, 1);
  EXPECT_EQ(table->Shown, 0);
  EXPECT_EQ(plain->PopupComponent(), f.Editor);
  const htmldoc::TpsPoint client = f.Editor->DocumentToClient(text);
  const vcl::TPoint screen = f.Editor->ClientToScreen(vcl::TPoint{client.X, client.Y});
  EXPECT_EQ(plain->At.X, screen.X);
  EXPECT_EQ(plain->At.Y, screen.Y);
  QtClick(f, LeftOfItem(lines[1], 2), Qt::RightButton);
  EXPECT_EQ(plain->Shown, 1);
  EXPECT_EQ(table->Shown, 1);
  // A left click shows none.
  QtClick(f, text);
  EXPECT_EQ(plain->Shown + table->Shown, 2);
}

TEST(EditorMouse, AWheelNotchScrolls120PixelsAndStopsAtTheTop) {
  EditorOnForm f(400, 200);
  std::string page;
  for (int i = 0; i < 60; ++i) page += "<p>line " + std::to_string(i) + "</p>";
  LoadKeyPage(f, page);
  ASSERT_GT(f.Editor->GetDocumentHeight(), 600);
  QWidget* w = f.Editor->Widget();
  const auto wheel = [&](int aDelta) {
    const QPointF at(50, 50);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, aDelta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
    vcl::Application->ProcessMessages();
  };
  wheel(-120);
  EXPECT_EQ(f.Editor->ScrollPosition(), 120);
  wheel(-120);
  EXPECT_EQ(f.Editor->ScrollPosition(), 240);
  wheel(120);
  EXPECT_EQ(f.Editor->ScrollPosition(), 120);
  wheel(120);
  wheel(120);
  EXPECT_EQ(f.Editor->ScrollPosition(), 0);
  // A handler that takes the turn keeps the view where it is.
  f.Editor->OnMouseWheel = [](vcl::TObject*, vcl::TShiftState, rtl::Integer, vcl::TPoint, bool& aHandled) {
    aHandled = true;
  };
  wheel(-120);
  EXPECT_EQ(f.Editor->ScrollPosition(), 0);
}

TEST(EditorMouse, TheCursorOverALinkIsLinkHoverCursor) {
  EditorOnForm f(400, 200);
  f.Editor->SetLinkHoverCursor(vcl::crHandPoint);
  LoadKeyPage(f, "<p>|plain <a href=\"u.html\">link</a></p>");
  std::vector<htmlview::TpsTextNode*> lines = KeyTestLines(f.Editor);
  ASSERT_EQ(lines.size(), 1u);
  // Items: p l a i n l i n k; over "i" of "link" (7), then over "a" (2).
  // The control's cursor and the one its widget shows.
  QWidget* w = f.Editor->Widget();
  QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, LeftOfItem(lines[0], 7));
  EXPECT_EQ(f.Editor->vcl::TControl::Cursor(), vcl::crHandPoint);
  EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor);
  QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, LeftOfItem(lines[0], 2));
  EXPECT_EQ(f.Editor->vcl::TControl::Cursor(), vcl::crIBeam);
  EXPECT_EQ(w->cursor().shape(), Qt::IBeamCursor);
  // Another cursor chosen for links shows from the next move on.
  f.Editor->SetLinkHoverCursor(vcl::crCross);
  QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, LeftOfItem(lines[0], 8));
  EXPECT_EQ(w->cursor().shape(), Qt::CrossCursor);
  QtMouse(f, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, LeftOfItem(lines[0], 0));
  EXPECT_EQ(w->cursor().shape(), Qt::IBeamCursor);
}

}  // namespace
