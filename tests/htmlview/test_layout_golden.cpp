// Golden layouts: every page under tests/data/htmlview/layout laid out on
// the fake-metrics canvas, its geometry table compared with x.layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "LayoutFixture.h"
#include "htmledit/view/psHints.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;
namespace fs = std::filesystem;

// Pages whose layout is known to be wrong, with the reason; none now.
const std::set<std::string> kKnownFailures = {};

std::string ReadText(const fs::path& aPath) {
  std::ifstream in(aPath, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string DumpWithLabels(LayoutPage& aPage) {
  std::string s = DumpLayout(aPage.Body);
  for (Integer i = 0; i < aPage.Manager.StickyWindowCount(); ++i) {
    auto* label = dynamic_cast<TpsStickyWindow*>(aPage.Manager.StickyWindow(i));
    if (!label) continue;
    const TpsRect r = label->GetAbsoluteRect();
    char colour[16];
    std::snprintf(colour, sizeof colour, "%06X", static_cast<unsigned>(label->LabelColor));
    s += "label " + label->Caption + " " + colour + " " + std::to_string(r.Left) + "," + std::to_string(r.Top) +
         "," + std::to_string(r.Right) + "," + std::to_string(r.Bottom) + "\n";
  }
  return s;
}

TEST(LayoutGolden, EveryPageMatchesItsLayout) {
  const fs::path folder = fs::path(TOLVANE_TEST_DATA) / "htmlview" / "layout";
  Integer pages = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".html") continue;
    const fs::path html = entry.path();
    const std::string name = html.stem().string();
    SCOPED_TRACE(name);
    ++pages;
    LayoutPage page(400, 300);
    fs::path options = html;
    options.replace_extension(".options");
    if (fs::exists(options)) {
      std::istringstream in(ReadText(options));
      std::string key;
      Integer value;
      while (in >> key >> value) page.Host.Options[key] = value;
    }
    fs::path css = html;
    css.replace_extension(".css");
    page.Load(ReadText(html), fs::exists(css) ? ReadText(css) : std::string());
    const std::string actual = DumpWithLabels(page);
    fs::path expectedPath = html;
    expectedPath.replace_extension(".layout");
    const std::string expected = fs::exists(expectedPath) ? ReadText(expectedPath) : std::string();
    if (actual != expected) {
      std::ofstream(expectedPath.string() + ".new", std::ios::binary) << actual;
      if (!kKnownFailures.count(name)) ADD_FAILURE() << name << ": layout differs (written to .layout.new)\n" << actual;
    } else {
      EXPECT_FALSE(kKnownFailures.count(name)) << name << " is listed as a known failure but passes";
      fs::remove(expectedPath.string() + ".new");
    }
  }
  EXPECT_GT(pages, 0);
}

}  // namespace
