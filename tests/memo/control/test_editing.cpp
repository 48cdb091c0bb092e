// Editing operations and the clipboard.
#include <gtest/gtest.h>

#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "vcl/Clipbrd.h"

using namespace memotest;
using Lines = std::vector<std::string>;

namespace {

TEST(MemoEditing, TypingBeyondAShortLineFillsItFirst) {
  MemoOnForm f;
  SetText(f.memo, {"a long line", "ab"});
  f.memo->SetAutoExpand(false);
  f.memo->SetCaret(5, 0);
  f.memo->MoveCaret(0, 1, {});
  EXPECT_EQ(f.memo->CaretX(), 5);
  f.memo->InsertChar('x');
  EXPECT_EQ(LinesOf(f.memo)[1], "ab   x");
  EXPECT_EQ(f.memo->CaretX(), 6);
}

TEST(MemoEditing, TabInsertsExactlyTabSizeBlanks) {
  MemoOnForm f;
  SetText(f.memo, {"abc"});
  f.memo->SetCaret(1, 0);
  f.memo->InsertChar('\t');
  EXPECT_EQ(LinesOf(f.memo)[0], "a    bc");
  EXPECT_EQ(f.memo->CaretX(), 5);
}

TEST(MemoEditing, OverwriteModeReplacesOrAppends) {
  MemoOnForm f;
  SetText(f.memo, {"ab\xC3\xA9"});
  f.memo->SetOverwrite(true);
  f.memo->SetCaret(1, 0);
  f.memo->InsertChar("\xE4\xB8\xAD");
  EXPECT_EQ(LinesOf(f.memo)[0], "a\xE4\xB8\xAD\xC3\xA9");
  f.memo->InsertChar('z');  // replaces the multibyte é whole
  EXPECT_EQ(LinesOf(f.memo)[0], "a\xE4\xB8\xADz");
  f.memo->InsertChar('!');  // at the end: appended
  EXPECT_EQ(LinesOf(f.memo)[0], "a\xE4\xB8\xADz!");
  // TAB moves over the line, adding blanks only past its end.
  f.memo->SetCaret(0, 0);
  f.memo->InsertChar('\t');
  EXPECT_EQ(f.memo->CaretX(), 4);
  EXPECT_EQ(LinesOf(f.memo)[0], "a\xE4\xB8\xADz!");
  f.memo->InsertChar('\t');
  EXPECT_EQ(LinesOf(f.memo)[0], "a\xE4\xB8\xADz!    ");
  EXPECT_EQ(f.memo->CaretX(), 8);
}

TEST(MemoEditing, BackspaceAtColumnZeroJoinsWithACarriageReturnRecord) {
  MemoOnForm f;
  SetText(f.memo, {"top", "next"});
  f.memo->SetCaret(0, 1);
  f.memo->Backspace();
  EXPECT_EQ(LinesOf(f.memo), Lines{"topnext"});
  EXPECT_EQ(f.memo->CaretX(), 3);
  auto* record = dynamic_cast<TDeleteCharUndo*>(f.memo->UndoList()->Items(0));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Text, "\r");
  EXPECT_TRUE(record->IsBackspace);
}

TEST(MemoEditing, BackspaceBeyondTheLineEndOnlyStepsLeft) {
  MemoOnForm f;
  SetText(f.memo, {"abc", "def"});
  f.memo->SetAutoExpand(false);
  f.memo->SetCaret(3, 0);
  f.memo->PlaceCaret(6, 0);
  f.memo->Backspace();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"abc", "def"}));
  EXPECT_EQ(f.memo->CaretX(), 5);
}

TEST(MemoEditing, SmartBackspaceAlignsToAWordAbove) {
  MemoOnForm f;
  f.memo->SetSmartTabs(true);
  SetText(f.memo, {"ab  cd  ef", "short", "        x"});
  f.memo->SetCaret(8, 2);
  f.memo->Backspace();
  // Line 1 is too short; line 0 has "ef" starting at 8 to the left of
  // column 7: "cd" starts at 4.
  EXPECT_EQ(LinesOf(f.memo)[2], "    x");
  EXPECT_EQ(f.memo->CaretX(), 4);
  auto* record = dynamic_cast<TDeleteBufUndo*>(f.memo->UndoList()->Items(0));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Text, "    ");
  // Line 0 counts too, and a word at the line start gives column 0.
  SetText(f.memo, {"word", "   z"});
  f.memo->SetCaret(3, 1);
  f.memo->Backspace();
  EXPECT_EQ(LinesOf(f.memo)[1], "z");
}

TEST(MemoEditing, DeleteWordLeftStopsAtABlank) {
  MemoOnForm f;
  SetText(f.memo, {"one two three"});
  f.memo->SetCaret(13, 0);
  f.memo->DeleteWordLeft();
  EXPECT_EQ(LinesOf(f.memo)[0], "one two ");
  SetText(f.memo, {"up", "ab"});
  f.memo->SetCaret(2, 1);
  f.memo->DeleteWordLeft();  // reaches column 0, then joins once more
  EXPECT_EQ(LinesOf(f.memo), Lines{"up"});
}

TEST(MemoEditing, EnterSplitsTrimsAndIndents) {
  MemoOnForm f;
  SetText(f.memo, {"  ab   cd  \t"});
  f.memo->SetCaret(4, 0);
  f.memo->NewLine();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"  ab", "  cd"}));
  EXPECT_EQ(f.memo->CaretX(), 2);
  EXPECT_EQ(f.memo->CaretY(), 1);
  auto* record = dynamic_cast<TInsertCharUndo*>(f.memo->UndoList()->Items(0));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Text, "\r  ");
  f.memo->SetAutoIndent(false);
  SetText(f.memo, {"  ab   cd"});
  f.memo->SetCaret(4, 0);
  f.memo->NewLine();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"  ab", "   cd"}));
  EXPECT_EQ(f.memo->CaretX(), 0);
}

TEST(MemoEditing, SmartTabGoesToTheNextWordAbove) {
  MemoOnForm f;
  f.memo->SetSmartTabs(true);
  SetText(f.memo, {"int   value = 1;", "x   "});
  f.memo->SetCaret(1, 1);
  f.memo->TabKey({});
  EXPECT_EQ(LinesOf(f.memo)[1], "x     ");
  EXPECT_EQ(f.memo->CaretX(), 6);
  // Without a line above reaching the caret: an ordinary TAB.
  f.memo->SetCaret(20, 1);
  f.memo->TabKey({});
  EXPECT_EQ(f.memo->CaretX(), 24);
  EXPECT_EQ(LinesOf(f.memo)[1], std::string(24, ' ').replace(0, 1, "x"));
}

TEST(MemoEditing, TabKeyWithoutSmartTabs) {
  MemoOnForm f;
  SetText(f.memo, {"abcdefgh"});
  f.memo->SetCaret(6, 0);
  f.memo->TabKey({vcl::ssCtrl});
  EXPECT_EQ(LinesOf(f.memo)[0], "abcdefgh");
  f.memo->TabKey({vcl::ssShift});
  EXPECT_EQ(f.memo->CaretX(), 2);
  f.memo->TabKey({vcl::ssShift});
  EXPECT_EQ(f.memo->CaretX(), 0);
  f.memo->TabKey({});
  EXPECT_EQ(LinesOf(f.memo)[0], "    abcdefgh");
}

TEST(MemoEditing, DeleteLine) {
  MemoOnForm f;
  SetText(f.memo, {"only"});
  f.memo->DeleteLine();
  EXPECT_EQ(LinesOf(f.memo), Lines{""});
  SetText(f.memo, {"a", "b", "c"});
  f.memo->SetCaret(1, 2);
  f.memo->DeleteLine();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"a", "b"}));
  EXPECT_EQ(f.memo->CaretY(), 1);
  EXPECT_EQ(f.memo->CaretX(), 0);
  f.memo->SetCaret(0, 0);
  f.memo->DeleteLine();
  EXPECT_EQ(LinesOf(f.memo), Lines{"b"});
}

TEST(MemoEditing, DeleteSelectionOverSeveralLines) {
  MemoOnForm f;
  SetText(f.memo, {"0123", "abcd", "efgh", "ijkl", "mnop", "qrst"});
  // Made upward from line 5 column 3 to line 2 column 0.
  f.memo->SetSelection({3, 5}, {0, 2});
  EXPECT_TRUE(f.memo->DeleteSelection(true));
  EXPECT_EQ(LinesOf(f.memo), (Lines{"0123", "abcd", "t"}));
  auto* record = dynamic_cast<TDeleteBufUndo*>(f.memo->UndoList()->Items(0));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Text, "efgh\r\nijkl\r\nmnop\r\nqrs");
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"0123", "abcd", "efgh", "ijkl", "mnop", "qrst"}));
  // A range that ends in column 0 keeps its final break.
  f.memo->SetSelection({0, 1}, {0, 3});
  f.memo->DeleteSelection(true);
  EXPECT_EQ(dynamic_cast<TDeleteBufUndo*>(f.memo->UndoList()->Items(0))->Text, "abcd\r\nefgh\r\n");
  EXPECT_EQ(LinesOf(f.memo), (Lines{"0123", "ijkl", "mnop", "qrst"}));
  f.memo->SetReadOnly(true);
  f.memo->SelectAll();
  EXPECT_FALSE(f.memo->DeleteSelection(true));
}

TEST(MemoEditing, InsertTextWithBreaks) {
  MemoOnForm f;
  SetText(f.memo, {"headtail"});
  f.memo->SetCaret(4, 0);
  f.memo->InsertText("1\r\n2\r\n3");
  EXPECT_EQ(LinesOf(f.memo), (Lines{"head1", "2", "3tail"}));
  EXPECT_EQ(f.memo->CaretY(), 2);
  EXPECT_EQ(f.memo->CaretX(), 1);
  f.memo->InsertText("x\r\n");
  EXPECT_EQ(LinesOf(f.memo), (Lines{"head1", "2", "3x", "tail"}));
  EXPECT_EQ(f.memo->CaretY(), 3);
  EXPECT_EQ(f.memo->CaretX(), 0);
}

TEST(MemoEditing, ClipboardCopyCutPaste) {
  MemoOnForm f;
  SetText(f.memo, {"copy me", "tail"});
  f.memo->CopyToClipboard();  // empty selection: an empty text
  EXPECT_EQ(vcl::Clipboard()->AsText(), "");
  f.memo->SetSelection({0, 0}, {4, 0});
  f.memo->CutToClipboard();
  EXPECT_EQ(vcl::Clipboard()->AsText(), "copy");
  EXPECT_EQ(LinesOf(f.memo)[0], " me");
  vcl::Clipboard()->SetAsText("one\ntwo\rthree");
  f.memo->SetCaret(0, 1);
  f.memo->PasteFromClipboard();
  EXPECT_EQ(LinesOf(f.memo), (Lines{" me", "one", "two", "threetail"}));
  EXPECT_EQ(f.memo->GetSelStart(), f.memo->PosToOffset(5, 3));
  EXPECT_EQ(f.memo->GetSelLength(), 0);
  for (Integer l = 1; l <= 3; ++l) EXPECT_TRUE(f.memo->TextStore()->GetLineProp(l)->Modified) << l;
}

TEST(MemoEditing, PastingBeyondALineEnd) {
  MemoOnForm f;
  vcl::Clipboard()->SetAsText("XY");
  SetText(f.memo, {"long line", "ab"});
  f.memo->SetAutoExpand(false);
  f.memo->SetCaret(6, 0);
  f.memo->MoveCaret(0, 1, {});
  f.memo->PasteFromClipboard();
  EXPECT_EQ(LinesOf(f.memo)[1], "abXY");
  f.memo->SetAutoExpand(true);
  f.memo->SetCaret(6, 0);
  f.memo->MoveCaret(0, 1, {});
  f.memo->PasteFromClipboard();
  EXPECT_EQ(LinesOf(f.memo)[1], "abXY  XY");
}

TEST(MemoEditing, ReadOnlyRefusesClipboardEdits) {
  MemoOnForm f;
  SetText(f.memo, {"fixed"});
  f.memo->SetReadOnly(true);
  f.memo->SelectAll();
  vcl::Clipboard()->SetAsText("new");
  f.memo->CutToClipboard();
  f.memo->PasteFromClipboard();
  EXPECT_EQ(LinesOf(f.memo), Lines{"fixed"});
  f.memo->CopyToClipboard();
  EXPECT_EQ(vcl::Clipboard()->AsText(), "fixed");
}

TEST(MemoEditing, MarkLineModified) {
  MemoOnForm f;
  SetText(f.memo, {"a", "b"});
  int changes = 0;
  f.memo->OnChange = [&](vcl::TObject*) { ++changes; };
  f.memo->MarkLineModified(1, true);
  f.memo->MarkLineModified(7, true);
  EXPECT_TRUE(f.memo->TextStore()->GetLineProp(1)->Modified);
  EXPECT_EQ(changes, 0);
  f.memo->SetModified(false);
  EXPECT_FALSE(f.memo->TextStore()->GetLineProp(1)->Modified);
}

TEST(MemoEditing, GetIndent) {
  MemoOnForm f;
  SetText(f.memo, {"   x", "    "});
  f.memo->SetCaret(4, 0);
  EXPECT_EQ(f.memo->GetIndent(), "   ");
  f.memo->SetCaret(4, 1);
  EXPECT_EQ(f.memo->GetIndent(), "    ");
  f.memo->SetCaret(2, 1);
  EXPECT_EQ(f.memo->GetIndent(), "   ");
  f.memo->SetAutoIndent(false);
  EXPECT_EQ(f.memo->GetIndent(), "");
}

TEST(MemoEditing, MarkersFollowEnterJoinsAndDeletions) {
  MemoOnForm f;
  SetText(f.memo, {"l0", "l1", "l2", "l3", "l4"});
  TLumMarkers* markers = f.memo->MarkerList()->Markers();
  markers->Add()->SetLineNumber(3);
  f.memo->Bookmarks()->SetItems(0, 3);
  f.memo->SetCaret(0, 1);
  f.memo->NewLine();  // a line above the mark
  EXPECT_EQ(markers->Items(0)->LineNumber(), 4);
  EXPECT_EQ(f.memo->Bookmarks()->Items(0), 4);
  EXPECT_EQ(LinesOf(f.memo)[4], "l3");
  f.memo->SetCaret(0, 2);
  f.memo->Backspace();  // joins line 2 to line 1
  EXPECT_EQ(markers->Items(0)->LineNumber(), 3);
  EXPECT_EQ(f.memo->Bookmarks()->Items(0), 3);
  EXPECT_EQ(LinesOf(f.memo)[3], "l3");
  f.memo->SetCaret(0, 0);
  f.memo->DeleteLine();
  EXPECT_EQ(markers->Items(0)->LineNumber(), 2);
  EXPECT_EQ(f.memo->Bookmarks()->Items(0), 2);
  EXPECT_EQ(LinesOf(f.memo)[2], "l3");
  f.memo->SetCaret(0, 2);
  f.memo->DeleteLine();  // the marked line itself: its marker goes
  EXPECT_EQ(markers->Count(), 0);
}

}  // namespace
