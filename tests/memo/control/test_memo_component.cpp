// TLumMemo, the published editor: its values after construction, loading,
// the clipboard and selection messages, hints, the gutter click and the
// block keyword highlight.
#include <gtest/gtest.h>

#include "MemoTestSupport.h"
#include "memo/LumMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoSource.h"
#include "memo/LumMemoStyler.h"
#include "vcl/Clipbrd.h"
#include "vcl/Messages.h"

using namespace memotest;
using Lines = std::vector<std::string>;

namespace {

// A memo of the published kind on a shown form.
struct PublishedMemo {
  explicit PublishedMemo(bool show = true) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(420);
    form->SetClientHeight(300);
    memo = new TLumMemo(form);
    memo->SetParent(form);
    memo->SetLeft(10);
    memo->SetTop(10);
    if (show) {
      form->Show();
      vcl::Application->ProcessMessages();
    }
  }
  ~PublishedMemo() { vcl::Free(form); }
  PublishedMemo(const PublishedMemo&) = delete;
  PublishedMemo& operator=(const PublishedMemo&) = delete;
  vcl::TForm* form;
  TLumMemo* memo;
};

std::string Str(bool v) { return v ? "True" : "False"; }
std::string Str(Integer v) { return std::to_string(v); }
std::string Hex(vcl::TColor c) {
  char b[16];
  snprintf(b, sizeof b, "0x%06X", static_cast<unsigned>(c));
  return b;
}

}  // namespace

TEST(MemoComponent, SettingsAfterConstruction) {
  PublishedMemo f(false);
  TLumMemo* m = f.memo;
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Width", "350"},
      {"Height", "250"},
      {"Lines", "1 empty"},
      {"ReadOnly", "False"},
      {"TabSize", "4"},
      {"WantTab", "True"},
      {"SmartTabs", "False"},
      {"AutoIndent", "True"},
      {"AutoExpand", "True"},
      {"DelErase", "True"},
      {"EnhancedHomeKey", "False"},
      {"TrimTrailingSpaces", "False"},
      {"CaseSensitive", "False"},
      {"UseStyler", "True"},
      {"UndoLimit", "100"},
      {"WordWrap", "wwNone"},
      {"RightMargin", "80"},
      {"UrlAware", "True"},
      {"AutoHintParameters", "hpAuto"},
      {"AutoHintParameterPosition", "hpBelowCode"},
      {"AutoHintParameterDelay", "2500"},
      {"AcceptFiles", "False"},
      {"ScrollBars", "ssBoth"},
      {"ScrollMode", "smAuto"},
      {"ScrollHint", "False"},
      {"HiddenCaret", "False"},
      {"AutoThemeAdapt", "False"},
      {"Font", "COURIER NEW -13 0x000000 no style"},
      {"BkColor", "0xFFFFFF"},
      {"SelColor", "0xFFFFFF"},
      {"SelBkColor", "0x800000"},
      {"HideSelection", "True"},
      {"ShowRightMargin", "True"},
      {"RightMarginColor", "0xE2E2E2"},
      {"BorderStyle", "bsSingle"},
      {"Ctl3D", "False"},
      {"BorderColor", "0x808080"},
      {"BlockShow", "True"},
      {"BlockColor", "0xFFFF00"},
      {"BlockLineColor", "0x1FFFFFFF"},
      {"BreakpointColor", "0x0000FF"},
      {"BreakpointTextColor", "0xFFFFFF"},
      {"Version", "2.2.3.1"},
      {"Cursor", "crIBeam"},
      {"TabStop", "True"},
      {"CodeFolding", "False 0x808080"},
      {"AutoCorrect", "True 0 0"},
      {"UrlStyle", "0xFF0000 on 0xFFFFFF underlined"},
      {"PrintOptions", "empty 0 0 0 0 False False"},
      {"SyntaxStyles", "nil"},
      {"MemoSource", "nil"},
      {"MemoChecker", "nil"},
      {"AutoCompletionListImages", "nil"},
      {"completion list and hint windows", "none yet"},
      {"OnChange OnGutterClick", "assigned"},
  };
  auto fontText = [](vcl::TFont* font) {
    return font->Name() + " " + Str(font->Height()) + " " + Hex(font->Color()) +
           (font->Style() == vcl::TFontStyles{} ? " no style" : " styled");
  };
  TPrintOptions* p = m->PrintOptions();
  const std::string printText = std::string(p->JobName.empty() && p->Title.empty() && p->PagePrefix.empty() ? "empty" : "text") +
                                " " + Str(p->MarginLeft) + " " + Str(p->MarginRight) + " " + Str(p->MarginTop) + " " +
                                Str(p->MarginBottom) + " " + Str(p->PageNr) + " " + Str(p->PrintLineNumbers);
  const std::vector<std::pair<std::string, std::string>> actual = {
      {"Width", Str(m->Width())},
      {"Height", Str(m->Height())},
      {"Lines", Str(m->Lines()->Count()) + (m->Lines()->Line(0).empty() ? " empty" : " text")},
      {"ReadOnly", Str(m->ReadOnly())},
      {"TabSize", Str(m->TabSize())},
      {"WantTab", Str(m->WantTab())},
      {"SmartTabs", Str(m->SmartTabs())},
      {"AutoIndent", Str(m->AutoIndent())},
      {"AutoExpand", Str(m->AutoExpand())},
      {"DelErase", Str(m->DelErase())},
      {"EnhancedHomeKey", Str(m->EnhancedHomeKey())},
      {"TrimTrailingSpaces", Str(m->TrimTrailingSpaces())},
      {"CaseSensitive", Str(m->CaseSensitive())},
      {"UseStyler", Str(m->UseStyler())},
      {"UndoLimit", Str(m->UndoLimit())},
      {"WordWrap", m->WordWrap() == wwNone ? "wwNone" : "other"},
      {"RightMargin", Str(m->RightMargin())},
      {"UrlAware", Str(m->UrlAware())},
      {"AutoHintParameters", m->AutoHintParameters() == hpAuto ? "hpAuto" : "other"},
      {"AutoHintParameterPosition", m->AutoHintParameterPosition() == hpBelowCode ? "hpBelowCode" : "other"},
      {"AutoHintParameterDelay", Str(m->AutoHintParameterDelay())},
      {"AcceptFiles", Str(m->AcceptFiles())},
      {"ScrollBars", m->ScrollBars() == vcl::ssBoth ? "ssBoth" : "other"},
      {"ScrollMode", m->ScrollMode() == smAuto ? "smAuto" : "other"},
      {"ScrollHint", Str(m->ScrollHint())},
      {"HiddenCaret", Str(m->HiddenCaret())},
      {"AutoThemeAdapt", Str(m->AutoThemeAdapt())},
      {"Font", fontText(m->Font())},
      {"BkColor", Hex(m->BkColor())},
      {"SelColor", Hex(m->SelColor())},
      {"SelBkColor", Hex(m->SelBkColor())},
      {"HideSelection", Str(m->HideSelection())},
      {"ShowRightMargin", Str(m->ShowRightMargin())},
      {"RightMarginColor", Hex(m->RightMarginColor())},
      {"BorderStyle", m->BorderStyle() == vcl::TFormBorderStyle::bsSingle ? "bsSingle" : "other"},
      {"Ctl3D", Str(m->Ctl3D())},
      {"BorderColor", Hex(m->BorderColor())},
      {"BlockShow", Str(m->BlockShow())},
      {"BlockColor", Hex(m->BlockColor())},
      {"BlockLineColor", Hex(m->BlockLineColor())},
      {"BreakpointColor", Hex(m->BreakpointColor())},
      {"BreakpointTextColor", Hex(m->BreakpointTextColor())},
      {"Version", m->Version()},
      {"Cursor", m->Cursor() == vcl::crIBeam ? "crIBeam" : "other"},
      {"TabStop", Str(m->TabStop())},
      {"CodeFolding", Str(m->CodeFolding()->Enabled()) + " " + Hex(m->CodeFolding()->LineColor())},
      {"AutoCorrect", Str(m->AutoCorrect()->Active) + " " + Str(m->AutoCorrect()->OldValue()->Count()) + " " +
                          Str(m->AutoCorrect()->NewValue()->Count())},
      {"UrlStyle", Hex(m->UrlStyle()->TextColor) + " on " + Hex(m->UrlStyle()->BkColor) +
                       (m->UrlStyle()->Style == vcl::TFontStyles{vcl::fsUnderline} ? " underlined" : " other")},
      {"PrintOptions", printText},
      {"SyntaxStyles", m->SyntaxStyles() ? "set" : "nil"},
      {"MemoSource", m->MemoSource() ? "set" : "nil"},
      {"MemoChecker", m->MemoChecker() ? "set" : "nil"},
      {"AutoCompletionListImages", m->AutoCompletionListImages() ? "set" : "nil"},
      {"completion list and hint windows", m->CompletionForm() || m->HintForm() ? "made" : "none yet"},
      {"OnChange OnGutterClick", m->OnChange && m->OnGutterClick ? "assigned" : "missing"},
  };
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(m->GetVersionNumber(), 0x02020301u);
  EXPECT_EQ(m->GetVersionString(), "2.2.3.1 Apr, 2010");
  m->SetVersion("2.2.1.3");
  EXPECT_EQ(m->Version(), "2.2.3.1");
}

TEST(MemoComponent, LoadingAttachesTheSource) {
  PublishedMemo f(false);
  auto* source = new TLumMemoSource(f.form);
  source->Lines()->LoadFromString("from\tthe source\r\n");
  f.form->BeginLoad();
  f.memo->SetMemoSource(source);
  EXPECT_EQ(source->Memo(), nullptr);  // not while loading
  EXPECT_EQ(LinesOf(f.memo), Lines{""});
  f.form->EndLoad();
  EXPECT_EQ(source->Memo(), f.memo);
  EXPECT_EQ(LinesOf(f.memo), Lines{"from    the source"});
  EXPECT_EQ(f.memo->LongestLine(), 18);
}

TEST(MemoComponent, ClipboardAndSelectionMessages) {
  PublishedMemo f;
  SetText(f.memo, {"0123456789", "abc"});
  f.memo->SetSelStart(5);
  f.memo->SetSelLength(4);
  rtl::Cardinal start = 0, end = 0;
  f.memo->Perform(vcl::EM_GETSEL, reinterpret_cast<vcl::WPARAM>(&start), reinterpret_cast<vcl::LPARAM>(&end));
  EXPECT_EQ(start, 5u);
  EXPECT_EQ(end, 9u);
  f.memo->Perform(vcl::EM_GETSEL, 0, reinterpret_cast<vcl::LPARAM>(&end));  // a null pointer is skipped
  EXPECT_EQ(end, 9u);

  f.memo->Perform(vcl::WM_COPY, 0, 0);
  EXPECT_EQ(vcl::Clipboard()->AsText(), "5678");
  f.memo->Perform(vcl::WM_CUT, 0, 0);
  EXPECT_EQ(LinesOf(f.memo), (Lines{"012349", "abc"}));
  f.memo->SetSelStart(0);
  f.memo->SetSelLength(0);
  f.memo->Perform(vcl::WM_PASTE, 0, 0);
  EXPECT_EQ(LinesOf(f.memo), (Lines{"5678012349", "abc"}));
}

TEST(MemoComponent, WordAndTokenHints) {
  PublishedMemo f;
  f.memo->Gutter()->SetVisible(false);
  SetText(f.memo, {"call foo.bar(x) now"});
  TRect cell = f.memo->CellRect(10, 0);  // inside "bar"
  vcl::TPoint at{cell.Left + 1, cell.Top + 2};
  AnsiString hint = "ordinary";

  // No handler: the control's ordinary hint.
  EXPECT_TRUE(f.memo->HintAt(at, hint));
  EXPECT_EQ(hint, "ordinary");

  std::vector<std::string> offered;
  bool wordShows = true;
  f.memo->OnHintForWord = [&](TObject*, Integer x, Integer y, const AnsiString& value, AnsiString& h, bool& show) {
    offered.push_back("word " + value + " at " + std::to_string(x) + "," + std::to_string(y) + " preset " + h);
    h = "W:" + value;
    show = wordShows;
  };
  EXPECT_TRUE(f.memo->HintAt(at, hint));
  EXPECT_EQ(hint, "W:foo.bar(x)");  // words end only at blanks and quotes here
  EXPECT_EQ(offered, std::vector<std::string>{"word foo.bar(x) at 10,0 preset foo.bar(x)"});

  // Refused by the word handler, nothing else assigned: no hint at all.
  wordShows = false;
  hint = "ordinary";
  EXPECT_FALSE(f.memo->HintAt(at, hint));

  // Then the token is offered.
  f.memo->OnHintForToken = [&](TObject*, Integer, Integer, const AnsiString& value, AnsiString& h, bool& show) {
    offered.push_back("token " + value);
    h = "T:" + value;
    show = value != "now";
  };
  EXPECT_TRUE(f.memo->HintAt(at, hint));
  EXPECT_EQ(hint, "T:bar");
  TRect nowCell = f.memo->CellRect(17, 0);
  EXPECT_FALSE(f.memo->HintAt({nowCell.Left + 1, nowCell.Top + 2}, hint));

  // Through the class library's hint request.
  vcl::THintInfo info;
  info.HintControl = f.memo;
  info.CursorPos = f.memo->ClientToScreen(at);
  info.HintStr = "ordinary";
  EXPECT_EQ(f.memo->Perform(vcl::CM_HINTSHOW, 0, reinterpret_cast<vcl::LPARAM>(&info)), 0);
  EXPECT_EQ(info.HintStr, "T:bar");

  // Over the gutter nothing is offered.
  f.memo->Gutter()->SetVisible(true);
  offered.clear();
  EXPECT_FALSE(f.memo->HintAt({f.memo->Gutter()->Left + 2, at.Y}, hint));
  EXPECT_TRUE(offered.empty());
}

TEST(MemoComponent, GutterClickPlacesTheCaretAndKeyUpFires) {
  PublishedMemo f;
  SetText(f.memo, {"one", "two", "three"});
  f.memo->SetSelection({0, 0}, {2, 1});
  f.memo->OnGutterClick(f.memo, 2);
  EXPECT_EQ(f.memo->CaretY(), 2);
  EXPECT_FALSE(f.memo->HasSelection());

  int ups = 0;
  f.memo->OnKeyUp = [&](TObject*, vcl::Word&, TShiftState) { ++ups; };
  f.memo->SetFocus();
  vcl::Application->ProcessMessages();
  QTest::keyRelease(f.memo->Widget(), Qt::Key_A);
  vcl::Application->ProcessMessages();
  EXPECT_EQ(ups, 1);
}

namespace {

// A styler with block keywords (also coloured as keywords) and ";", ".",
// "(" and ")" as symbols.
TLumCustomMemoStyler* BlockStyler(vcl::TComponent* owner, const char* starts, const char* ends) {
  auto* s = new TLumCustomMemoStyler(owner);
  TElementStyle* keys = s->AllStyles()->Add();
  keys->SetStyleType(stKeyword);
  rtl::TStringList words;
  for (const char* w : {"begin", "case", "end"}) words.Add(w);
  keys->SetKeyWords(words);
  TElementStyle* sym = s->AllStyles()->Add();
  sym->SetStyleType(stSymbol);
  sym->SetSymbols(";.()");
  s->BlockStart = starts;
  s->BlockEnd = ends;
  return s;
}

}  // namespace

TEST(MemoComponent, BlockKeywordsAroundTheCaret) {
  PublishedMemo f;
  f.memo->SetSyntaxStyles(BlockStyler(f.form, "begin,case", "end"));
  SetText(f.memo, {
                      "program x;",             // 0
                      "begin",                  // 1
                      "  if a then begin",      // 2
                      "    beginning(b);",      // 3: not a keyword
                      "  end;",                 // 4
                      "  case k of 1: x end;",  // 5: a block on one line
                      "end.",                   // 6
                  });
  using M = TLumCustomMemo::TBlockMark;
  struct Case {
    Integer line;
    M start, end;
  };
  const Case cases[] = {
      {3, {2, 12, 5}, {4, 2, 3}},   // inside the inner block
      {2, {2, 12, 5}, {4, 2, 3}},   // on its start keyword
      {4, {2, 12, 5}, {4, 2, 3}},   // on its end keyword
      {5, {5, 2, 4}, {5, 17, 3}},   // start and end on the caret line
      {1, {1, 0, 5}, {6, 0, 3}},    // the outer block, across the nested ones
      {0, {}, {}},                  // outside every block
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("caret line " + std::to_string(c.line));
    f.memo->SetCaret(0, c.line);
    f.memo->SetCaretLine(c.line == 0 ? 1 : 0);  // a real move each time
    f.memo->SetCaretLine(c.line);
    EXPECT_EQ(f.memo->BlockStartMark(), c.start);
    EXPECT_EQ(f.memo->BlockEndMark(), c.end);
  }

  // The marks are painted in BlockColor.
  f.memo->SetCaretLine(3);
  QImage img = Grab(f.memo);
  SaveShot(img, "memo_block_keywords.png");
  TRect kw = f.memo->CellRect(12, 2);
  int aqua = 0;
  for (int x = kw.Left; x < kw.Left + 5 * (kw.Width()); ++x)
    for (int y = kw.Top; y < kw.Bottom; ++y)
      if (PixelAt(img, x, y) == f.memo->BlockColor()) ++aqua;
  EXPECT_GT(aqua, 10);

  // The HTML styler has no block keywords: nothing is marked.
  f.memo->SetSyntaxStyles(new TLumHTMLMemoStyler(f.form));
  f.memo->SetCaretLine(2);
  EXPECT_EQ(f.memo->BlockStartMark(), M{});
  EXPECT_EQ(f.memo->BlockEndMark(), M{});
}
