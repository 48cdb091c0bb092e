// What the editor is after construction, its settings, and its side of the
// line store.
#include <gtest/gtest.h>

#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "rtl/Exceptions.h"
#include "vcl/Pictures.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

using namespace memotest;
using Lines = std::vector<std::string>;

namespace {

TEST(MemoConstruction, AFreshEditor) {
  MemoOnForm f(300, 200, false);
  TLumCustomMemo* m = f.memo;
  EXPECT_EQ(LinesOf(m), Lines{""});
  EXPECT_EQ(m->CaretX(), 0);
  EXPECT_EQ(m->CaretY(), 0);
  EXPECT_EQ(m->UndoLimit(), 100);
  EXPECT_EQ(m->UndoList()->Limit(), 100);
  EXPECT_EQ(m->TabSize(), 4);
  EXPECT_EQ(m->Font()->Name(), "Courier New");
  EXPECT_EQ(m->Font()->Size(), 10);
  // The rest of the base construction's values.
  EXPECT_TRUE(m->BlockShow());
  EXPECT_TRUE(m->WantTab());
  EXPECT_EQ(m->BlockLineColor(), vcl::clNone);
  EXPECT_EQ(m->BlockColor(), 0xFFFF00u);
  EXPECT_EQ(m->BorderColor(), 0x808080u);
  EXPECT_EQ(m->AutoHintParameterDelay(), 2500);
  EXPECT_EQ(m->RightMargin(), 80);
  EXPECT_EQ(m->RightMarginColor(), 0xE2E2E2u);
  EXPECT_TRUE(m->UrlAware());
  EXPECT_EQ(m->UrlStyle()->TextColor, 0xFF0000u);
  EXPECT_EQ(m->UrlStyle()->BkColor, 0xFFFFFFu);
  EXPECT_EQ(m->UrlStyle()->Style, vcl::TFontStyles{vcl::fsUnderline});
  EXPECT_FALSE(m->TrimTrailingSpaces());
  EXPECT_TRUE(m->ShowRightMargin());
  EXPECT_TRUE(m->UseStyler());
  EXPECT_FALSE(m->SmartTabs());
  EXPECT_FALSE(m->EnhancedHomeKey());
  EXPECT_TRUE(m->TabStop());
  EXPECT_EQ(m->Cursor(), vcl::crIBeam);
  EXPECT_EQ(m->BorderStyle(), vcl::TFormBorderStyle::bsSingle);
  EXPECT_FALSE(m->Ctl3D());
  EXPECT_EQ(m->ActiveLine(), -1);
  EXPECT_EQ(m->BreakpointColor(), 255u);
  EXPECT_EQ(m->BreakpointTextColor(), 0xFFFFFFu);
  EXPECT_FALSE(m->CaseSensitive());
  EXPECT_FALSE(m->HiddenCaret());
  EXPECT_TRUE(m->AutoIndent());
  EXPECT_TRUE(m->AutoExpand());
  EXPECT_TRUE(m->HideSelection());
  EXPECT_FALSE(m->DelErase());
  EXPECT_EQ(m->ScrollBars(), vcl::ssBoth);
  EXPECT_EQ(m->ScrollMode(), smAuto);
  EXPECT_EQ(m->WordWrap(), wwNone);
  EXPECT_EQ(m->BkColor(), 0xFFFFFFu);
  EXPECT_EQ(m->SelColor(), 0xFFFFFFu);
  EXPECT_EQ(m->SelBkColor(), 0x800000u);
  EXPECT_EQ(m->AutoHintParameters(), hpAuto);
  EXPECT_EQ(m->LeftMargin(), 2);
  EXPECT_FALSE(m->VertScrollBar()->Visible());
  EXPECT_FALSE(m->HorzScrollBar()->Visible());
  EXPECT_EQ(m->VertScrollBar()->Kind(), vcl::sbVertical);
  EXPECT_FALSE(m->VertScrollBar()->TabStop());
  // The option groups with their defaults.
  EXPECT_EQ(m->Bookmarks()->Count(), 10);
  for (Integer i = 0; i < 10; ++i) EXPECT_EQ(m->Bookmarks()->Items(i), -1);
  // The flag picture from the program's resources: a red pennant on a black
  // pole, the bottom-left pixel the colour the gutter leaves out.
  vcl::TBitmap* flag = m->FlagBitmap();
  ASSERT_NE(flag, nullptr);
  EXPECT_EQ(flag->Width(), 16);
  EXPECT_EQ(flag->Height(), 16);
  EXPECT_EQ(flag->Canvas()->Pixels(0, 15), 0x808000u);
  EXPECT_EQ(flag->Canvas()->Pixels(3, 10), 0x000000u);
  EXPECT_EQ(flag->Canvas()->Pixels(6, 5), 0x0000FFu);
  TLumGutter* g = m->Gutter();
  EXPECT_EQ(g->Left, 1);
  EXPECT_EQ(g->Top, 1);
  EXPECT_EQ(g->Width, 45);
  EXPECT_EQ(g->GutterColor(), vcl::clBtnFace);
  EXPECT_EQ(g->GutterColorTo(), vcl::clWhite);
  EXPECT_EQ(g->DigitCount(), 4);
  EXPECT_EQ(g->GutterMargin(), 45);
  EXPECT_EQ(g->Font()->Name(), "Courier New");
  EXPECT_TRUE(g->Visible());
  EXPECT_TRUE(g->ShowLineNumbers());
  EXPECT_EQ(g->LineNumberStart(), 1);
  EXPECT_EQ(g->ModifiedColor(), vcl::clYellow);
  EXPECT_EQ(g->ModifiedColorBkg(), vcl::clLime);
  EXPECT_EQ(m->ActiveLineSettings()->ActiveLineColor(), vcl::clNavy);
  EXPECT_EQ(m->ActiveLineSettings()->ActiveLineTextColor(), vcl::clYellow);
  EXPECT_FALSE(m->ActiveLineSettings()->ShowActiveLine());
  EXPECT_FALSE(m->CodeFolding()->Enabled());
  EXPECT_EQ(m->CodeFolding()->LineColor(), vcl::clGray);
  EXPECT_TRUE(m->AutoCompletion()->Active);
  EXPECT_EQ(m->AutoCompletion()->Delay(), 500);
  EXPECT_EQ(m->AutoCompletion()->Height, 100);
  EXPECT_EQ(m->AutoCompletion()->Width, 200);
  EXPECT_EQ(m->AutoCompletion()->Color(), vcl::clWindow);
  EXPECT_EQ(m->AutoCompletion()->KindColor(3), vcl::clRed);
  EXPECT_TRUE(m->AutoCorrect()->Active);
  EXPECT_EQ(m->AutoCorrect()->OldValue()->Count(), 0);
  EXPECT_EQ(m->MarkerList()->DefaultMarkerImageIndex(), -1);
  EXPECT_FALSE(m->MarkerList()->UseDefaultMarkerImageIndex());
  EXPECT_EQ(m->PrintOptions()->MarginLeft, 0);
  EXPECT_FALSE(m->PrintOptions()->PrintLineNumbers);
}

TEST(MemoConstruction, SettersThatClampOrCopy) {
  MemoOnForm f(300, 200, false);
  TLumCustomMemo* m = f.memo;
  m->SetUndoLimit(0);
  EXPECT_EQ(m->UndoLimit(), 1);
  m->SetUndoLimit(500);
  EXPECT_EQ(m->UndoLimit(), 100);
  m->Gutter()->SetGutterMargin(10);
  EXPECT_EQ(m->Gutter()->GutterMargin(), 45);
  m->Gutter()->SetLineNumberStart(-1);
  EXPECT_EQ(m->Gutter()->LineNumberStart(), 1);
  TPrintOptions print;
  print.JobName = "job";
  print.MarginTop = 7;
  print.PageNr = true;
  m->SetPrintOptions(&print);
  EXPECT_EQ(m->PrintOptions()->JobName, "job");
  EXPECT_EQ(m->PrintOptions()->MarginTop, 7);
  EXPECT_TRUE(m->PrintOptions()->PageNr);
  TCodeFolding folding;
  folding.SetEnabled(true);
  folding.SetLineColor(vcl::clRed);
  m->SetCodeFolding(&folding);
  EXPECT_TRUE(m->CodeFolding()->Enabled());
  EXPECT_EQ(m->CodeFolding()->LineColor(), vcl::clRed);
  m->SetCursor(vcl::crArrow);
  EXPECT_EQ(m->Cursor(), vcl::crArrow);
  // The gutter sits inside the border.
  m->SetCtl3D(true);
  EXPECT_EQ(m->Gutter()->Left, 2);
  m->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  EXPECT_EQ(m->Gutter()->Left, 0);
  EXPECT_EQ(m->Gutter()->Width, 47);
}

TEST(MemoConstruction, ActiveLineFollowsTheCaretWhenAsked) {
  MemoOnForm f;
  SetText(f.memo, {"a", "b", "c"});
  std::vector<Integer> reported;
  f.memo->OnActiveLineChange = [&](Integer y) { reported.push_back(y); };
  f.memo->ActiveLineSettings()->SetActiveLineAtCursor(true);
  EXPECT_EQ(f.memo->ActiveLine(), 0);
  f.memo->SetCaretLine(2);
  EXPECT_EQ(f.memo->ActiveLine(), 2);
  EXPECT_EQ(reported, std::vector<Integer>{0});  // the line the caret left
}

TEST(MemoConstruction, EventsOfCaretMoves) {
  MemoOnForm f;
  SetText(f.memo, {"abc", "def"});
  int status = 0, cursor = 0;
  std::vector<Integer> columns;
  f.memo->OnStatusChange = [&](vcl::TObject*) { ++status; };
  f.memo->OnCursorChange = [&](vcl::TObject*) { ++cursor; };
  f.memo->OnColumnChange = [&](Integer x) { columns.push_back(x); };
  f.memo->SetCaretX(2);
  EXPECT_GE(status, 1);
  EXPECT_GE(cursor, 1);
  EXPECT_EQ(columns, std::vector<Integer>{2});
}

// ------------------------------------------------------- the store's side

TEST(MemoStore, LoadingDropsTheHistoryAndResetsTheCaret) {
  MemoOnForm f;
  SetText(f.memo, {"abc", "def"});
  f.memo->SetCaret(2, 1);
  f.memo->InsertChar('x');
  int changes = 0;
  f.memo->OnChange = [&](vcl::TObject*) { ++changes; };
  f.memo->TextStore()->LoadFromString("one\ttwo\r\nthree");
  EXPECT_EQ(LinesOf(f.memo), (Lines{"one    two", "three"}));
  EXPECT_FALSE(f.memo->CanUndo());
  EXPECT_EQ(f.memo->CaretX(), 0);
  EXPECT_EQ(f.memo->CaretY(), 0);
  EXPECT_EQ(f.memo->LongestLine(), 10);
  EXPECT_EQ(changes, 1);
}

TEST(MemoStore, AFailedLoadTurnsTheNotificationsBackOn) {
  MemoOnForm f;
  SetText(f.memo, {"kept"});
  EXPECT_THROW(f.memo->TextStore()->LoadFromFile("/nonexistent/page.html"), rtl::EFOpenError);
  EXPECT_EQ(LinesOf(f.memo), Lines{"kept"});
  int changes = 0;
  f.memo->OnChange = [&](vcl::TObject*) { ++changes; };
  f.memo->TextStore()->Add("more");
  EXPECT_EQ(changes, 1);
}

TEST(MemoStore, InsertLineMovesBookmarksBelow) {
  MemoOnForm f;
  SetText(f.memo, {"0", "1", "2", "3", "4"});
  f.memo->Bookmarks()->SetItems(0, 3);
  f.memo->Bookmarks()->SetItems(1, 2);
  f.memo->TextStore()->InsertLine(3, "new\t");
  EXPECT_EQ(f.memo->Bookmarks()->Items(0), 4);
  EXPECT_EQ(f.memo->Bookmarks()->Items(1), 2);
  EXPECT_EQ(LinesOf(f.memo)[3], "new    ");
}

TEST(MemoStore, DeleteKeepsTheCaretOnItsText) {
  MemoOnForm f;
  SetText(f.memo, {"0", "1", "caret line", "3"});
  f.memo->SetCaret(4, 2);
  f.memo->TextStore()->Delete(0);
  EXPECT_EQ(f.memo->CaretY(), 1);
  EXPECT_EQ(f.memo->CaretX(), 4);
  EXPECT_EQ(LinesOf(f.memo)[f.memo->CaretY()], "caret line");
  EXPECT_TRUE(f.memo->CanUndo());  // recorded as a deleted line
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"0", "1", "caret line", "3"}));
  SetText(f.memo, {"only"});
  f.memo->SetCaret(3, 0);
  f.memo->TextStore()->Delete(0);
  EXPECT_EQ(LinesOf(f.memo), Lines{""});
  EXPECT_EQ(f.memo->CaretX(), 0);
  f.memo->TextStore()->Check();
}

TEST(MemoStore, InsertThroughTheStoreCollapsesTheSelection) {
  MemoOnForm f;
  SetText(f.memo, {"a", "b"});
  f.memo->SetSelection({0, 0}, {1, 1});
  f.memo->TextStore()->Insert(0, "top");
  EXPECT_FALSE(f.memo->HasSelection());
  EXPECT_EQ(LinesOf(f.memo), (Lines{"top", "a", "b"}));
}

TEST(MemoStore, BookmarksBeyondTheTextAreUnset) {
  MemoOnForm f;
  SetText(f.memo, {"0", "1", "2"});
  f.memo->Bookmarks()->SetItems(5, 2);
  f.memo->TextStore()->LoadFromString("only one");
  EXPECT_EQ(f.memo->Bookmarks()->Items(5), -1);
}

TEST(MemoStore, AssignAndTheLinesSetter) {
  MemoOnForm f;
  f.memo->SetTrimTrailingSpaces(true);
  rtl::TStringList source;
  source.Add("x  ");
  source.Add("\ty ");
  f.memo->SetLines(&source);
  // AddStrings keeps TABs; a line stored again without its trailing blanks
  // has them expanded.
  EXPECT_EQ(LinesOf(f.memo), (Lines{"x", "    y"}));
  f.memo->SetTrimTrailingSpaces(false);
  f.memo->SetCaret(1, 1);
  f.memo->TextStore()->Assign(source);
  EXPECT_EQ(LinesOf(f.memo), (Lines{"x  ", "\ty "}));
  EXPECT_EQ(f.memo->CaretY(), 0);
  f.memo->SetLines(nullptr);
  EXPECT_EQ(LinesOf(f.memo), (Lines{"x  ", "\ty "}));
  f.memo->TextStore()->Check();
}

TEST(MemoStore, ClearAll) {
  MemoOnForm f;
  SetText(f.memo, {"a", "b"});
  f.memo->SetCaret(1, 1);
  f.memo->ClearAll();
  EXPECT_EQ(f.memo->TextStore()->Count(), 0);
  EXPECT_EQ(f.memo->CaretY(), 0);
  EXPECT_EQ(f.memo->TopLine(), 0);
  f.memo->InsertChar('z');  // an empty text gets its line back
  EXPECT_EQ(LinesOf(f.memo), Lines{"z"});
}

}  // namespace

namespace {

TEST(MemoTheme, GutterColoursFollowTheDesktopTheme) {
  MemoOnForm f(300, 200, false);
  TLumGutter* g = f.memo->Gutter();
  vcl::SetThemeActive(true);
  vcl::SetThemeColorSchemeName(u"NormalColor");
  f.memo->SetAutoThemeAdapt(true);
  EXPECT_EQ(g->GutterColor(), 0xE0A57Du);
  EXPECT_EQ(g->GutterColorTo(), 0xFCE1CBu);
  struct Case {
    const char16_t* scheme;
    TColor from, to;
  };
  const Case cases[] = {{u"HomeStead", 0x8CC0B1, 0xCFF0EA}, {u"Metallic", 0xB39698, 0xECE2E1},
                        {u"Royale", 0xFFFFFF, vcl::clBtnFace}};
  for (const Case& c : cases) {
    vcl::SetThemeColorSchemeName(c.scheme);
    f.memo->AdaptToTheme();
    EXPECT_EQ(g->GutterColor(), c.from);
    EXPECT_EQ(g->GutterColorTo(), c.to);
  }
  // Switching themes off reaches the memo as the theme-changed message.
  vcl::SetThemeColorSchemeName(u"NormalColor");
  f.memo->AdaptToTheme();
  f.memo->HandleNeeded();
  vcl::SetThemeActive(false);
  EXPECT_EQ(g->GutterColor(), 0xFFFFFFu);
  EXPECT_EQ(g->GutterColorTo(), vcl::clBtnFace);
  vcl::SetThemeActive(true);
  EXPECT_EQ(g->GutterColor(), 0xE0A57Du);
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), 0);  // asked and let go
}

TEST(MemoTheme, PresetLooks) {
  MemoOnForm f(300, 200, false);
  controls::IStyleAware* aware = controls::StyleAwareOf(f.memo);
  ASSERT_NE(aware, nullptr);
  aware->SetComponentStyle(controls::tsOffice2003Silver);
  EXPECT_EQ(f.memo->Gutter()->GutterColor(), 0xECE2E1u);
  EXPECT_EQ(f.memo->Gutter()->GutterColorTo(), 0xB39698u);
  EXPECT_EQ(f.memo->BorderColor(), 0x947C7Cu);
  EXPECT_EQ(f.memo->Gutter()->BorderColor(), 0x947C7Cu);
  aware->SetComponentStyle(controls::tsCustom);  // keeps its own colours
  EXPECT_EQ(f.memo->Gutter()->GutterColor(), 0xECE2E1u);
  EXPECT_EQ(f.memo->BorderColor(), 0x947C7Cu);
  aware->SetComponentStyle(controls::tsWindowsXP);
  EXPECT_EQ(f.memo->Gutter()->GutterColor(), vcl::clBtnFace);
  EXPECT_EQ(f.memo->BorderColor(), 0x000000u);
}

}  // namespace
