// The span lists around the caret and the selection on real pages: their
// tags innermost first, a tag object edited changing the document as one
// command, removals through the editor's commands, and the font-style
// flags read from them.
#include <gtest/gtest.h>

#include "CaretNotation.h"
#include "EditorFixture.h"
#include "htmledit/control/psSpanLists.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psWindows.h"

using namespace htmledittest;

namespace {

void LoadWithCaret(EditorOnForm& f, const std::string& aPage) {
  f.Editor->CodeGenerator.SaveLastEditingPosition = true;
  f.Editor->LoadFromString(WithCaret(aPage), true, false);
}

void ShiftRight(TpsHTMLEdit* aEditor, int aTimes) {
  for (int i = 0; i < aTimes; ++i) {
    auto m = htmlview::TpsMessage::Create(htmlview::mrFocused, htmlview::psmKeyRight);
    m->Shift = htmlview::ssShiftBit;
    aEditor->WindowManager()->PostMessage(std::move(m));
    aEditor->ProcessMessages();
    aEditor->ProcessPendingUpdates();
  }
}

TEST(EditorSpans, ACaretInBoldInsideALinkListsTheBoldFirst) {
  EditorOnForm f;
  LoadWithCaret(f, "<p><a href=\"u.html\">x<b>a|b</b></a>y</p>");
  htmledit::TpsSpanList* spans = f.Editor->GetSpansAroundCursor();
  ASSERT_EQ(spans->GetCount(), 2);
  EXPECT_EQ(spans->GetSpanText(0), "<b>");
  EXPECT_EQ(spans->GetSpanText(1), "<a href=\"u.html\">");
  EXPECT_EQ(spans->FindSpan("a"), spans->GetSpan(1));
  EXPECT_EQ(spans->IndexOfTagCode(htmldoc::TAG_B), 0);
  EXPECT_EQ(spans->IndexOfText("<a href=\"u.html\">"), 1);
  EXPECT_EQ(spans->FindSpan("i"), nullptr);
  EXPECT_EQ(spans->IndexOfName("A"), -1);
  EXPECT_EQ(f.Editor->GetFontStyleFlags(), vcl::TFontStyles{vcl::fsBold});
  EXPECT_THROW(spans->GetSpan(2), rtl::Exception);
}

TEST(EditorSpans, AnHrefChangedOnTheTagObjectChangesTheLinkInOneStep) {
  EditorOnForm f;
  LoadWithCaret(f, "<p><a href=\"u.html\">x<b>a|b</b></a>y</p>");
  const std::string before = f.Body();
  htmledit::TpsSpanList* spans = f.Editor->GetSpansAroundCursor();
  spans->FindSpan("a")->SetAttribute("href", "v.html");
  EXPECT_EQ(ShowCaret(f.Body()), "<p><a href=\"v.html\">x<b>a|b</b></a>y</p>");
  EXPECT_EQ(f.Editor->UndoList().Count(), 1);
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), before);
}

TEST(EditorSpans, RemovalsGoThroughTheCommands) {
  EditorOnForm f;
  LoadWithCaret(f, "<p><b><i>a|b</i></b></p>");
  EXPECT_EQ(f.Editor->GetFontStyleFlags(), (vcl::TFontStyles{vcl::fsBold, vcl::fsItalic}));
  EXPECT_TRUE(f.Editor->GetSpansAroundCursor()->RemoveSpanByName("b", false, false));
  EXPECT_EQ(ShowCaret(f.Body()), "<p><i>a|b</i></p>");
  EXPECT_FALSE(f.Editor->GetSpansAroundCursor()->RemoveSpanByName("u", false, false));
  EXPECT_TRUE(f.Editor->GetSpansAroundCursor()->RemoveInnermostSpan(false));
  EXPECT_EQ(ShowCaret(f.Body()), "<p>a|b</p>");
  EXPECT_FALSE(f.Editor->GetSpansAroundCursor()->RemoveInnermostSpan(false));
  EXPECT_EQ(f.Editor->GetFontStyleFlags(), vcl::TFontStyles{});
}

TEST(EditorSpans, ASelectionOverABoldItalicAndABoldParagraphHoldsOnlyTheBold) {
  EditorOnForm f;
  LoadWithCaret(f, "<p><b><i>a|b</i></b></p><p><b>cd</b></p>");
  ShiftRight(f.Editor, 3);
  ASSERT_TRUE(f.Editor->HasTextSelection());
  htmledit::TpsSpanList* spans = f.Editor->GetSpansAroundSelection();
  ASSERT_EQ(spans->GetCount(), 1);
  EXPECT_EQ(spans->GetSpanText(0), "<b>");
  EXPECT_EQ(spans->GetElementId(0), 0u);
  EXPECT_EQ(f.Editor->GetFontStyleFlags(), vcl::TFontStyles{vcl::fsBold});
  // Removing it frees the selection of the bold; the blocks keep theirs
  // outside it.
  spans->RemoveSpan(0, false, false);
  EXPECT_EQ(ShowCaret(f.Body()), "<p><b><i>a</i></b><i>b</i></p><p>c<b>|d</b></p>");
}

}  // namespace
