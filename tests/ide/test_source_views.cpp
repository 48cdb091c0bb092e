// The source views, entered and left by clicks on their tabs: the editor's
// document goes out to a view and comes back from it; switching alone
// changes nothing and marks nothing modified.
#include <gtest/gtest.h>

#include <QImage>

#include "MainWindowRig.h"
#include "memo/LumMemo.h"
#include "memo/LumMemoSource.h"
#include "rtl/Strings.h"
#include "vcl/ListView.h"

using namespace idetest;

namespace {

const char kHeadPage[] =
    "<html><head><title>Views</title><meta name=\"author\" content=\"Tolvane\">"
    "<link rel=\"alternate\" href=\"feed.xml\"></head>"
    "<body><p class=\"big\">Big text here</p><p>Plain</p></body></html>";

void ClickTab(ide::Tfrm_Main* form, vcl::TTabSheet* sheet) {
  const vcl::TRect r = form->PageControl->TabRect(sheet->TabIndex());
  Click(form->PageControl, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  ASSERT_EQ(form->PageControl->ActivePage(), sheet);
}

int MagentaPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) > 200) ++n;
    }
  return n;
}

std::string ViewText(memo::TLumMemoSource* source) { return source->Lines()->SaveToString(); }

}  // namespace

TEST(SourceViews, SwitchingKeepsTheHeadAndMarksNothingModified) {
  Scratch scratch;
  const std::string page = scratch.Write("views.htm", kHeadPage);
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  form->OpenPage(page);
  for (vcl::TTabSheet* sheet : {form->ts_Body, form->ts_HTMLEdit, form->ts_HTML, form->ts_HTMLEdit, form->ts_Stylesheet,
                                form->ts_HTMLEdit, form->ts_MetaTags, form->ts_InternetExplorer, form->ts_HTMLEdit}) {
    ClickTab(form, sheet);
    EXPECT_FALSE(form->Modified()) << sheet->Name();
  }
  EXPECT_EQ(form->StatusBar->Panels()->Items(4)->Text(), "");
  const std::string whole = form->HTMLEdit->SaveToString(true, true);
  EXPECT_NE(whole.find("<title>Views</title>"), std::string::npos) << whole.substr(0, 300);
  EXPECT_NE(whole.find("author"), std::string::npos);
  EXPECT_NE(whole.find("feed.xml"), std::string::npos) << "the link element stays";
  EXPECT_NE(whole.find("Big text here"), std::string::npos);
  // What the views showed.
  ClickTab(form, form->ts_Body);
  EXPECT_NE(ViewText(form->BodyMemoSrc).find("<p class=\"big\">Big text here</p>"), std::string::npos)
      << ViewText(form->BodyMemoSrc);
  EXPECT_EQ(ViewText(form->BodyMemoSrc).find("0331BA3E"), std::string::npos) << "no marker in the view";
  ClickTab(form, form->ts_MetaTags);
  ASSERT_GE(form->lv_Meta->Items()->Count(), 2);
  bool author = false;
  for (Integer i = 0; i < form->lv_Meta->Items()->Count(); ++i) {
    vcl::TListItem* item = form->lv_Meta->Items()->Item(i);
    if (item->Caption() == "NAME" && (*item->SubItems())[0] == "author" && (*item->SubItems())[1] == "Tolvane")
      author = true;
  }
  EXPECT_TRUE(author);
  ClickTab(form, form->ts_HTMLEdit);
  EXPECT_FALSE(form->Modified());
}

TEST(SourceViews, ATagTypedInTheHtmlViewShowsAsAPictureAndTheSheetRestylesTheVisualView) {
  Scratch scratch;
  const std::string page = scratch.Write("typed.htm", kHeadPage);
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "typed.PJT");
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  form->OpenPage(page);
  DialogScript unexpected({"OK", "OK", "OK"});

  // A module tag typed as a comment in "HTML", at the end of the line
  // holding "Plain" (the beautified page puts it on a line of its own).
  form->HTMLEdit->CodeGenerator.BeautifyCode = true;
  ClickTab(form, form->ts_HTML);
  Integer line = -1;
  for (Integer i = 0; i < form->HTMLMemoSrc->Lines()->Count(); ++i)
    if ((*form->HTMLMemoSrc->Lines())[i].find("Plain") != std::string::npos) line = i;
  ASSERT_GE(line, 0) << ViewText(form->HTMLMemoSrc);
  form->re_HTML->SetCaretLine(line);
  PressKey(form->re_HTML, Qt::Key_End);
  TypeText(form->re_HTML, "<!--(PIN 4)-->");
  EXPECT_TRUE(form->Modified()) << "typing in a view marks the page";
  ClickTab(form, form->ts_HTMLEdit);
  EXPECT_EQ(unexpected.Asked(), std::vector<std::string>{});
  form->HTMLEdit->CodeGenerator.BeautifyCode = false;
  const std::string shown = form->HTMLEdit->SaveToString(false, false);
  EXPECT_NE(shown.find(std::string(ide::kTagImagePrefix) + "PIN_204"), std::string::npos) << shown;

  // A class changed in "Stylesheet" changes the pixels of "Visual".
  const QImage before = Grab(form->HTMLEdit);
  EXPECT_EQ(MagentaPixels(before), 0);
  ClickTab(form, form->ts_Stylesheet);
  const std::string css = ViewText(form->stylememoSrc);
  form->re_stylesheet->SetSelStart(static_cast<Integer>(css.size()));
  PressKey(form->re_stylesheet, Qt::Key_Return);
  TypeText(form->re_stylesheet, ".big { color: #FF00FF; }");
  ClickTab(form, form->ts_HTMLEdit);
  const QImage after = Grab(form->HTMLEdit);
  EXPECT_GT(MagentaPixels(after), 20) << "the big paragraph turned magenta";
  PressKey(form->HTMLEdit, Qt::Key_S, Qt::ControlModifier);
  const std::string saved = Slurp(page);
  EXPECT_NE(saved.find("<!--(PIN 4)-->"), std::string::npos);
  EXPECT_NE(saved.find("feed.xml"), std::string::npos);
  const size_t big = saved.find(".big");
  ASSERT_NE(big, std::string::npos) << "the sheet is saved with the page";
  const std::string rule = rtl::LowerCase(saved.substr(big, saved.find('}', big) - big));
  EXPECT_TRUE(rule.find("ff00ff") != std::string::npos || rule.find("fuchsia") != std::string::npos ||
              rule.find("magenta") != std::string::npos)
      << rule;
  EXPECT_EQ(unexpected.Asked(), std::vector<std::string>{});
}

TEST(SourceViews, TheWindowOnTheSamplePage) {
  Scratch scratch;
  const std::string sample = std::string(TOLVANE_SOURCE_DIR) + "/resources/sample/";
  for (const char* name : {"index.htm", "logo.png", "style.css"}) scratch.Write(name, Slurp(sample + name));
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->Project()->SetFileName(scratch.Project() + "sample.PJT");
  form->SetBounds(0, 0, 1100, 760);
  form->OpenPage(scratch.Project() + "index.htm");
  const std::pair<vcl::TTabSheet*, const char*> views[] = {
      {form->ts_HTMLEdit, "visual"}, {form->ts_Body, "body"}, {form->ts_HTML, "html"}};
  for (const auto& [sheet, name] : views) {
    ClickTab(form, sheet);
    const QImage image = Grab(form);
    image.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/ide_main_window_" + name + ".png"));
    EXPECT_GT(image.width(), 800);
  }
  EXPECT_FALSE(form->Modified());
}

TEST(SourceViews, FiveWindowsMadeAndFreed) {
  Scratch scratch;
  const std::string page = scratch.Write("five.htm", kHeadPage);
  for (int i = 0; i < 5; ++i) {
    WindowGuard window;
    window.form->OpenPage(page);
    ClickTab(window.form, window.form->ts_Body);
    ClickTab(window.form, window.form->ts_HTMLEdit);
  }
}
