// The main window's three source views as its form sets them up: three
// editors, each on its own text source, all coloured by one HTML styler;
// pages of the Apache manual in and out through the sources.
#include <gtest/gtest.h>

#include "../MemoCorpus.h"
#include "MemoTestSupport.h"
#include "memo/LumMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoSource.h"
#include "memo/LumMemoStyler.h"

using namespace memotest;

namespace {

// The text as the store gives it back: every line ended by CR LF, TABs as
// four blanks.
std::string Normalised(const std::string& page) {
  std::string out;
  for (const AnsiString& line : SplitLines(page)) {
    for (char c : line)
      if (c == '\t')
        out += "    ";
      else
        out += c;
    out += "\r\n";
  }
  return out;
}

struct MainWindowViews {
  MainWindowViews() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(3 * 330 + 20);
    form->SetClientHeight(260);
    form->BeginLoad();
    styler = new TLumHTMLMemoStyler(form);
    const char* names[] = {"BodyMemoSrc", "HTMLMemoSrc", "stylememoSrc"};
    for (int i = 0; i < 3; ++i) {
      sources[i] = new TLumMemoSource(form);
      sources[i]->SetName(names[i]);
      sources[i]->SetSyntaxStyler(styler);
      TLumMemo* m = new TLumMemo(form);
      memos[i] = m;
      m->SetParent(form);
      m->SetBounds(5 + i * 335, 5, 325, 250);
      m->ActiveLineSettings()->SetShowActiveLine(false);
      m->ActiveLineSettings()->SetShowActiveLineIndicator(false);
      vcl::TFont small;
      small.SetName("Tahoma");
      small.SetHeight(-11);
      m->AutoCompletion()->SetFont(&small);
      m->AutoCorrect()->Active = true;
      m->SetAutoHintParameterPosition(hpBelowCode);
      m->SetAutoExpand(false);
      m->SetBorderStyle(vcl::TFormBorderStyle::bsSingle);
      m->CodeFolding()->SetEnabled(false);
      m->CodeFolding()->SetLineColor(vcl::clGray);
      m->SetCtl3D(false);
      m->SetDelErase(true);
      m->SetEnhancedHomeKey(false);
      m->Gutter()->SetDigitCount(4);
      vcl::TFont gutterFont;
      gutterFont.SetName("Courier New");
      gutterFont.SetHeight(-13);
      m->Gutter()->SetFont(&gutterFont);
      m->Gutter()->SetVisible(false);
      vcl::TFont font;
      font.SetName("Arial");
      font.SetHeight(-13);
      font.SetColor(vcl::clBlack);
      m->SetFont(&font);
      m->SetHiddenCaret(false);
      m->MarkerList()->SetUseDefaultMarkerImageIndex(false);
      m->MarkerList()->SetDefaultMarkerImageIndex(-1);
      m->MarkerList()->SetImageTransparentColor(33554432);
      m->SetRightMarginColor(14869218);
      m->SetScrollHint(false);
      m->SetSelColor(vcl::clWhite);
      m->SetSelBkColor(vcl::clNavy);
      m->SetShowRightMargin(true);
      m->SetSmartTabs(false);
      m->SetTabSize(4);
      m->SetTrimTrailingSpaces(false);
      m->SetUndoLimit(100);
      m->SetUseStyler(true);
      m->SetSyntaxStyles(styler);
      m->SetMemoSource(sources[i]);
      m->OnChange = [this, i](TObject*) { ++changes[i]; };
    }
    form->EndLoad();
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~MainWindowViews() { vcl::Free(form); }
  MainWindowViews(const MainWindowViews&) = delete;
  MainWindowViews& operator=(const MainWindowViews&) = delete;

  vcl::TForm* form;
  TLumHTMLMemoStyler* styler;
  TLumMemoSource* sources[3];
  TLumMemo* memos[3];
  int changes[3] = {0, 0, 0};
};

}  // namespace

TEST(MemoMainWindow, ThreeViewsOnTheirSourcesWithOneStyler) {
  const std::string html = Slurp(std::string(kManualRoot) + "/en/urlmapping.html");
  const std::string css = Slurp(std::string(kManualRoot) + "/style/css/manual.css");
  if (html.empty() || css.empty()) GTEST_SKIP() << "the Apache manual is not installed";
  size_t bodyAt = html.find("<body");
  size_t bodyEnd = html.find("</body>");
  ASSERT_NE(bodyAt, std::string::npos);
  const std::string body = html.substr(bodyAt, bodyEnd - bodyAt);

  MainWindowViews w;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(w.sources[i]->Memo(), w.memos[i]);  // attached when the form loaded
    EXPECT_EQ(w.memos[i]->TextStore(), w.sources[i]->Lines());
    EXPECT_EQ(w.memos[i]->ActiveStyler(), w.styler);
    EXPECT_FALSE(w.memos[i]->Gutter()->Visible());
  }
  EXPECT_EQ(w.form->FindComponent("HTMLMemoSrc"), w.sources[1]);

  const std::string pages[3] = {body, html, css};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    w.sources[i]->Lines()->LoadFromString(pages[i]);
    EXPECT_EQ(w.sources[i]->Lines()->SaveToString(), Normalised(pages[i]));
    EXPECT_EQ(w.memos[i]->CaretY(), 0);
    EXPECT_GT(w.memos[i]->LongestLine(), 40);
    w.sources[i]->Lines()->Check();
  }
  // An edit in one view reaches its own source and handler only.
  w.memos[1]->SetCaret(0, 2);
  w.memos[1]->InsertText("<!-- edited -->");
  EXPECT_EQ(w.sources[1]->Lines()->Line(2).substr(0, 15), "<!-- edited -->");
  EXPECT_GT(w.changes[1], 0);
  EXPECT_EQ(w.sources[0]->Lines()->SaveToString(), Normalised(pages[0]));

  QImage views = w.form->WindowWidget()->grab().toImage();
  SaveShot(views, "memo_main_window_views.png");

  // The styler removed: every view shows plain colours, as a memo without
  // any styler shows the same text.
  QImage coloured = Grab(w.memos[1]);
  vcl::Free(w.styler);
  EXPECT_EQ(w.sources[1]->SyntaxStyler(), nullptr);
  EXPECT_EQ(w.memos[1]->ActiveStyler(), nullptr);
  QImage plain = Grab(w.memos[1]);
  EXPECT_NE(coloured, plain);
  auto* reference = new TLumMemo(w.form);
  reference->SetParent(w.form);
  reference->SetBounds(w.memos[1]->Left(), w.memos[1]->Top(), w.memos[1]->Width(), w.memos[1]->Height());
  reference->Gutter()->SetVisible(false);
  vcl::TFont font;
  font.Assign(w.memos[1]->Font());
  reference->SetFont(&font);
  reference->SetRightMarginColor(14869218);
  reference->TextStore()->LoadFromString(w.sources[1]->Lines()->SaveToString());
  w.memos[1]->SetSelection({0, 0}, {0, 0});
  reference->SetSelection({0, 0}, {0, 0});
  EXPECT_EQ(Grab(reference), Grab(w.memos[1]));
}
