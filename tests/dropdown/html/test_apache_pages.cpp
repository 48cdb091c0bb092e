// Every HTML page of the Apache HTTP Server manual (Debian's apache2-doc),
// markup no one here wrote, measured, drawn and hit-tested on the
// fake-metrics canvas: nothing raises, and the plain text each call gives
// is the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dropdown/HtmlText.h"
#include "vcl/TestCanvases.h"

namespace dropdown {
namespace {

std::vector<std::string> ManualPages() {
  std::vector<std::string> pages;
  for (const auto& e : std::filesystem::recursive_directory_iterator("/usr/share/doc/apache2-doc/manual")) {
    std::string name = e.path().filename().string();
    if (e.is_regular_file() && name.find(".html") != std::string::npos && name.find(".gz") == std::string::npos)
      pages.push_back(e.path().string());
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

TEST(HtmlTextApachePages, EveryPageMeasuresDrawsAndHitTestsWithoutRaising) {
  std::vector<std::string> pages = ManualPages();
  ASSERT_GT(pages.size(), 1000u);
  vcl::TFakeMetricsCanvas canvas(320, 240);
  size_t withLinks = 0;
  for (const std::string& path : pages) {
    SCOPED_TRACE(path);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    std::string html = s.str();
    THtmlTextOptions measure;
    measure.MeasureOnly = true;
    THtmlTextResult m;
    ASSERT_NO_THROW(DrawHTMLText(&canvas, html, vcl::TRect{0, 0, 320, 65535}, measure, m));
    EXPECT_GT(m.ContentHeight, 0);
    EXPECT_FALSE(m.PlainText.empty());
    THtmlTextOptions draw;
    THtmlTextResult d;
    ASSERT_NO_THROW(DrawHTMLText(&canvas, html, vcl::TRect{0, 0, 320, 240}, draw, d));
    // Drawing stops at the bottom of the cell, so its text is a beginning
    // of the measured one.
    EXPECT_EQ(m.PlainText.compare(0, d.PlainText.size(), d.PlainText), 0);
    THtmlTextOptions test;
    test.HitTestOnly = true;
    test.PointX = 40;
    test.PointY = 30;
    THtmlTextResult t;
    ASSERT_NO_THROW(DrawHTMLText(&canvas, html, vcl::TRect{0, 0, 320, 240}, test, t));
    EXPECT_EQ(t.PlainText, d.PlainText);
    EXPECT_EQ(t.LinkCount, d.LinkCount);
    withLinks += m.LinkCount > 0;
  }
  EXPECT_GT(withLinks, pages.size() / 2);
}

}  // namespace
}  // namespace dropdown
