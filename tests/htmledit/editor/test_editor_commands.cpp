// The editing commands end to end: a page with the caret ("|" stands for
// the editing-position comment) goes in, the command runs, the saved body
// and the caret come out; each command is one undo step, read-only and a
// context outside the command's refuse it without a snapshot.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CaretNotation.h"
#include "EditorFixture.h"
#include "htmledit/doc/psGlobals.h"
#include "htmledit/view/psMessages.h"

using namespace htmledittest;

namespace {

using Command = std::function<void(TpsHTMLEdit&)>;

struct CommandCase {
  const char* Name;
  const char* Before;
  Command Run;
  const char* After;  // nullptr: nothing changes and no undo step
};

// The page as saved loads again as the source views load it (the file
// path, checked, no importer) without an error and saves to the same bytes.
void ExpectLoadsBack(EditorOnForm& f) {
  const std::string saved = f.Editor->SaveToString(true, true);
  EditorOnForm other;
  other.Editor->CodeGenerator.SaveLastEditingPosition = true;
  std::string error;
  other.Editor->OnDocumentLoadingError = [&](htmldoc::TObjectPtr, const AnsiString& aClass, const AnsiString& aText) {
    error = aClass + ": " + aText;
  };
  rtl::TStringStream stream(saved);
  other.Editor->LoadFromStream(stream, true, false);
  EXPECT_EQ(error, "") << f.Body();
  EXPECT_EQ(ShowCaret(other.Body()), ShowCaret(f.Body()));
}

// Loads aCase's page, runs its command, and checks the body, the undo step
// and that undo gives the page back.
void CheckCommand(const CommandCase& aCase) {
  SCOPED_TRACE(aCase.Name);
  EditorOnForm f;
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString(WithCaret(aCase.Before), true, false);
  const std::string before = f.Body();
  const Integer steps = f.Editor->UndoList().Count();
  try {
    aCase.Run(*f.Editor);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "raised: " << e.what();
    return;
  }
  if (!aCase.After) {
    EXPECT_EQ(ShowCaret(f.Body()), ShowCaret(before));
    EXPECT_EQ(f.Editor->UndoList().Count(), steps);
    return;
  }
  EXPECT_EQ(ShowCaret(f.Body()), aCase.After);
  EXPECT_EQ(f.Editor->UndoList().Count(), steps + 1);
  ExpectLoadsBack(f);
  f.Editor->Undo();
  EXPECT_EQ(ShowCaret(f.Body()), ShowCaret(before));
}

std::vector<CommandCase> CaretCommandCases() {
  return {
      {"span at the caret", "<p>ab|cd</p>", [](TpsHTMLEdit& e) { e.InsertSpanAtCursor("<b>"); }, "<p>ab<b>|</b>cd</p>"},
      {"anchor pair at the caret", "<p>ab|cd</p>", [](TpsHTMLEdit& e) { e.InsertTagPairAtCursor("<a name=\"n\">"); }, "<p>ab<a name=\"n\"></a>|cd</p>"},
      {"remove the inner span", "<p><b><i>a|b</i></b></p>", [](TpsHTMLEdit& e) { e.RemoveSpanAtCursor(0, false, false); }, "<p><b>a|b</b></p>"},
      {"end the span at the caret", "<p><b>ab|</b>cd</p>", [](TpsHTMLEdit& e) { e.RemoveSpanAtCursor(0, true, false); }, "<p><b>ab</b>|cd</p>"},
      {"remove a span the caret is inside", "<p><b>a|b</b></p>", [](TpsHTMLEdit& e) { e.RemoveSpanAtCursor(0, true, false); }, "<p>a|b</p>"},
      {"remove inline tags", "<p><b>a<i>b|</i></b><a href=\"x\">c</a></p>", [](TpsHTMLEdit& e) { e.RemoveInlineTags(); }, "<p>ab|<a href=\"x\">c</a></p>"},
      {"ordered list", "<p class=\"k\">ab|</p>", [](TpsHTMLEdit& e) { e.CreateList(true); }, "<ol><li class=\"k\">ab|</li></ol>"},
      {"unordered list", "<p>ab|</p><p>cd</p>", [](TpsHTMLEdit& e) { e.CreateList(false); }, "<ul><li>ab|</li></ul><p>cd</p>"},
      {"no list in a list", "<ul><li>ab|</li></ul>", [](TpsHTMLEdit& e) { e.CreateList(true); }, nullptr},
      {"list kind", "<ul><li>ab|</li><li>cd</li></ul>", [](TpsHTMLEdit& e) { e.ChangeListKind(true); }, "<ol><li>ab|</li><li>cd</li></ol>"},
      {"same list kind", "<ul><li>ab|</li></ul>", [](TpsHTMLEdit& e) { e.ChangeListKind(false); }, nullptr},
      {"remove list", "<ul><li>ab|</li></ul>", [](TpsHTMLEdit& e) { e.RemoveList(); }, "<p>ab|</p>"},
      {"remove list outside one", "<p>ab|</p>", [](TpsHTMLEdit& e) { e.RemoveList(); }, nullptr},
      {"indent", "<ul><li>ab</li><li>cd|</li></ul>", [](TpsHTMLEdit& e) { e.IncreaseListIndent(0); }, "<ul><li>ab<ol><li>cd|</li></ol></li></ul>"},
      {"indent as the list", "<ol><li>ab</li><li>cd|</li></ol>", [](TpsHTMLEdit& e) { e.IncreaseListIndent(2); }, "<ol><li>ab<ol><li>cd|</li></ol></li></ol>"},
      {"outdent", "<ul><li>ab<ul><li>cd|</li></ul></li></ul>", [](TpsHTMLEdit& e) { e.DecreaseListIndent(); }, "<ul><li>ab</li><li>cd|</li></ul>"},
      {"table", "<p>ab|</p>", [](TpsHTMLEdit& e) { e.InsertTable(2, 1, -50, 1, 2, "t", "", "c", ""); },
       "<p>ab<table class=\"t\" width=\"50%\" cellspacing=\"1\" cellpadding=\"2\"><tr><td class=\"c\">|&nbsp;</td>"
       "<td class=\"c\">&nbsp;</td></tr></table>&nbsp;</p>"},
      {"delete table", "<table><tr><td>a|</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table><p>x</p>", [](TpsHTMLEdit& e) { e.DeleteTable(); }, "<p>|x</p>"},
      {"row below", "<table><tr><td>a|</td><td>b</td></tr></table>", [](TpsHTMLEdit& e) { e.InsertRowBelow(); }, "<table><tr><td>a|</td><td>b</td></tr><tr><td>&nbsp;</td><td>&nbsp;</td></tr></table>"},
      {"row above", "<table><tr><td>a|</td><td>b</td></tr></table>", [](TpsHTMLEdit& e) { e.InsertRowAbove(); }, "<table><tr><td>&nbsp;</td><td>&nbsp;</td></tr><tr><td>a|</td><td>b</td></tr></table>"},
      {"column right", "<table><tr><td>a|</td><td>b</td></tr></table>", [](TpsHTMLEdit& e) { e.InsertColumnToTheRight(); }, "<table><tr><td>a|</td><td>&nbsp;</td><td>b</td></tr></table>"},
      {"column left", "<table><tr><td>a|</td><td>b</td></tr></table>", [](TpsHTMLEdit& e) { e.InsertColumnToTheLeft(); }, "<table><tr><td>&nbsp;</td><td>a|</td><td>b</td></tr></table>"},
      {"delete row", "<table><tr><td>a|</td></tr><tr><td>b</td></tr></table>", [](TpsHTMLEdit& e) { e.DeleteCurrentRow(); }, "<table><tr><td>|b</td></tr></table>"},
      {"delete the only row", "<table><tr><td>a|</td><td>b</td></tr></table><p>x</p>", [](TpsHTMLEdit& e) { e.DeleteCurrentRow(); }, "<p>|x</p>"},
      {"delete column", "<table><tr><td>a|</td><td>b</td></tr></table>", [](TpsHTMLEdit& e) { e.DeleteCurrentColumn(); }, "<table><tr><td>|b</td></tr></table>"},
      {"delete the only column", "<table><tr><td>a|</td></tr><tr><td>b</td></tr></table><p>x</p>", [](TpsHTMLEdit& e) { e.DeleteCurrentColumn(); }, "<p>|x</p>"},
      {"table command outside a table", "<p>ab|</p>", [](TpsHTMLEdit& e) { e.InsertRowBelow(); }, nullptr},
      {"align the caret's block", "<p>ab|</p>", [](TpsHTMLEdit& e) { e.SetAlignment(2); }, "<p style=\"text-align:center;\">ab|</p>"},
      {"align as it is", "<p style=\"text-align:center\">ab|</p>", [](TpsHTMLEdit& e) { e.SetAlignment(2); }, nullptr},
      {"cursor font", "<p>ab|cd</p>", [](TpsHTMLEdit& e) { e.SetCursorFont("Arial", 12, 0x0000FF, {vcl::fsBold}, ""); },
       "<p>ab<span style=\"font-family:Arial;font-size:12pt;color:red;font-weight:bold\">|</span>cd</p>"},
      {"cursor font without colour", "<p>ab|cd</p>", [](TpsHTMLEdit& e) { e.SetCursorFont("Arial", 12, htmldoc::clNone, {vcl::fsItalic, vcl::fsUnderline}, "x:y"); },
       "<p>ab<span style=\"font-family:Arial;font-size:12pt;color:;font-style:italic;text-decoration:underline;x:y\">|</span>cd</p>"},
      {"cursor colours", "<p>ab|cd</p>", [](TpsHTMLEdit& e) { e.SetCursorColors(0x0000FF, 0x00FF00); }, "<p>ab<span style=\"color:red;background-color:lime\">|</span>cd</p>"},
      {"cursor background only", "<p>ab|cd</p>", [](TpsHTMLEdit& e) { e.SetCursorColors(htmldoc::clNone, 0x123456); }, "<p>ab<span style=\"background-color:#563412\">|</span>cd</p>"},
      {"cursor colours none", "<p>ab|cd</p>", [](TpsHTMLEdit& e) { e.SetCursorColors(htmldoc::clNone, htmldoc::clNone); }, nullptr},
  };
}

TEST(EditorCommands, CaretCommandsGiveTheirSavedPage) {
  for (const CommandCase& c : CaretCommandCases()) CheckCommand(c);
}

TEST(EditorCommands, ReadOnlyRefusesEveryCommandWithoutASnapshot) {
  for (CommandCase c : CaretCommandCases()) {
    const Command run = c.Run;
    c.Run = [run](TpsHTMLEdit& e) {
      e.SetReadOnly(true);
      run(e);
    };
    c.After = nullptr;
    CheckCommand(c);
  }
}

TEST(EditorCommands, InsertTableTestsItsArgumentsAfterTheSnapshot) {
  struct Refusal {
    Integer Cols, Rows, Spacing, Padding;
    const char* Name;
  };
  for (const Refusal& r : {Refusal{0, 1, 0, 0, "iColCount"}, Refusal{1, 0, 0, 0, "iRowCount"},
                           Refusal{1, 1, -1, 0, "iCellSpacing"}, Refusal{1, 1, 0, -1, "iCellPadding"},
                           Refusal{0, 0, -1, -1, "iColCount"}}) {
    SCOPED_TRACE(r.Name);
    EditorOnForm f;
    f.Editor->LoadFromString(WithCaret("<p>ab|</p>"), true, false);
    const std::string before = f.Body();
    try {
      f.Editor->InsertTable(r.Cols, r.Rows, 100, r.Spacing, r.Padding, "", "", "", "");
      ADD_FAILURE() << "no exception";
    } catch (const htmldoc::EpsHtmlEditException& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("TpsCustomHtmlEdit.InsertTable: Invalid parameter \"") + r.Name + "\"");
    }
    EXPECT_EQ(f.Body(), before);
    // The refused call leaves its undo step: undo lands on the same page.
    EXPECT_EQ(f.Editor->UndoList().Count(), 1);
    f.Editor->InsertText("x", false);
    EXPECT_NE(f.Body(), before);
    f.Editor->Undo();
    EXPECT_EQ(f.Body(), before);
  }
}

TEST(EditorCommands, TwoChangesInOneCommandFireTheEventsOnce) {
  EditorOnForm f;
  f.Editor->LoadFromString(WithCaret("<table><tr><td>a|</td></tr></table><p>x</p>"), true, false);
  int changed = 0, change = 0;
  f.Editor->OnDocumentChanged = [&](htmldoc::TObjectPtr) { ++changed; };
  f.Editor->OnDocumentChange = [&](htmldoc::TObjectPtr, htmldoc::TpsDocumentChange) { ++change; };
  // The table edit and the command's own 960 both ask for the change.
  f.Editor->InsertRowBelow();
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(change, 1);
}

TEST(EditorCommands, AChangingHandlerDoesNotReenterTheChangeEvent) {
  EditorOnForm f;
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString(WithCaret("<p>ab|</p>"), true, false);
  int depth = 0, deepest = 0, calls = 0;
  f.Editor->OnDocumentChanged = [&](htmldoc::TObjectPtr) {
    ++calls;
    ++depth;
    deepest = std::max(deepest, depth);
    if (calls == 1) f.Editor->InsertSpanAtCursor("<i>");
    --depth;
  };
  f.Editor->InsertSpanAtCursor("<b>");
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(ShowCaret(f.Body()), "<p>ab<b><i>|</i></b></p>");
}

}  // namespace
