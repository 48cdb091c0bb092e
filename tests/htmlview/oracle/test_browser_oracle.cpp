// A real browser as the oracle of our layout: the same page, in the same
// monospaced font (Liberation Mono, 20 pixels, 12 a character; our side
// measures with metrics of that advance and line height), laid out by
// Qt's web engine through browser_layout_oracle. Every paragraph's line
// starts and the places of the floats standing first in a paragraph must
// agree. The widths are chosen half an advance away from any break, so a
// fraction of a pixel on either side cannot move a word. Tables with their
// own spacing and padding (our editor's virtual borders off) get the same
// width and cell edges, within a pixel per column.
//
// Left out, since our layout differs from a browser on purpose there:
// margins (they do not collapse here), a left float met after text (it
// goes below the line here) and words wider than MaxWordWidth.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <unistd.h>

#include "../LayoutFixture.h"
#include "htmledit/view/psTableNodes.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;

constexpr Integer kAdvance = 12;
const char kStyle[] =
    "<style>html{overflow:hidden} body{margin:0;font:20px 'Liberation Mono';line-height:23px}"
    " p{margin:0;padding:0;width:%dpx}</style>";

// One folder per process: test runs side by side must not share pages.
std::filesystem::path ScratchFolder() {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tolvane-browser-oracle-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  return folder;
}

struct Report {
  std::map<std::string, std::vector<Integer>> Starts;                      // P
  std::map<std::string, std::vector<std::pair<Integer, Integer>>> Floats;  // F
  std::map<std::string, double> TableWidths;                               // T
  // C: a table's cells, row by row, as (left, right) from the table's left.
  std::map<std::string, std::vector<std::vector<std::pair<double, double>>>> Cells;
};

Report RunOracle(const std::filesystem::path& aPage, Integer aWidth) {
  const std::string command = std::string(TOLVANE_BIN_DIR) + "/browser_layout_oracle " + std::to_string(aWidth) +
                              " 2000 '" + aPage.string() + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  Report report;
  if (!pipe) return report;
  std::string text;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0) << "the browser helper failed; its output:\n" << text;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream in(line);
    std::string kind, id;
    in >> kind >> id;
    if (kind == "P") {
      std::vector<Integer>& starts = report.Starts[id];
      for (Integer s; in >> s;) starts.push_back(s);
    } else if (kind == "F") {
      Integer k, x, y;
      in >> k >> x >> y;
      report.Floats[id].push_back({x, y});
    } else if (kind == "T") {
      in >> report.TableWidths[id];
    } else if (kind == "C") {
      size_t r, c;
      double left, right;
      in >> r >> c >> left >> right;
      auto& rows = report.Cells[id];
      if (rows.size() <= r) rows.resize(r + 1);
      rows[r].push_back({left, right});
    }
  }
  return report;
}

void Collect(TpsWindow* aNode, std::vector<TpsParagraphNode*>& aOut) {
  for (TpsWindow* c : aNode->ChildList()) {
    if (auto* p = dynamic_cast<TpsParagraphNode*>(c)) aOut.push_back(p);
    Collect(c, aOut);
  }
}

void Lines(TpsWindow* aNode, std::vector<TpsTextNode*>& aOut) {
  for (TpsWindow* c : aNode->ChildList()) {
    if (auto* line = dynamic_cast<TpsTextNode*>(c)) aOut.push_back(line);
    Lines(c, aOut);
  }
}

// Our line starts, counted as the helper counts them.
std::vector<Integer> OurStarts(TpsParagraphNode* aParagraph) {
  std::vector<TpsTextNode*> lines;
  Lines(aParagraph, lines);
  std::vector<Integer> starts;
  Integer offset = 0;
  for (TpsTextNode* line : lines) {
    bool started = false;
    for (const htmldoc::TpsChunkElement* e = line->GetLineChunk()->First(); e; e = e->Next) {
      if (e->Kind != htmldoc::ceChar) continue;
      if (!started && e->Char != u' ') {
        starts.push_back(offset);
        started = true;
      }
      ++offset;
    }
  }
  return starts;
}

std::string Words(std::mt19937& aRandom, int aCount) {
  std::string text;
  for (int i = 0; i < aCount; ++i) {
    if (i) text += ' ';
    const int length = 1 + static_cast<int>(aRandom() % 14);
    for (int k = 0; k < length; ++k) text += static_cast<char>('a' + aRandom() % 26);
  }
  return text;
}

TEST(BrowserOracle, LineStartsAndFloatsAgreeWithARealBrowser) {
  const std::filesystem::path folder = ScratchFolder();
  QImage picture(96, 57, QImage::Format_RGB32);
  picture.fill(Qt::darkCyan);
  ASSERT_TRUE(picture.save(QString::fromStdString((folder / "pic.png").string())));
  const std::string image = "<img src=\"pic.png\" width=\"96\" height=\"57\"";

  std::mt19937 random(20261211);
  std::string body;
  int id = 0;
  const auto paragraph = [&](const std::string& aContent) {
    body += "<p data-oracle=\"" + std::to_string(id++) + "\">" + aContent + "</p>";
  };
  for (int i = 0; i < 16; ++i) paragraph(Words(random, 10 + static_cast<int>(random() % 50)));
  for (const char* floats : {" align=\"left\">", " align=\"right\">"}) {
    for (int i = 0; i < 4; ++i) paragraph(image + floats + Words(random, 12 + static_cast<int>(random() % 30)));
  }
  for (int i = 0; i < 3; ++i)
    paragraph(image + " align=\"left\">" + image + " align=\"right\">" + Words(random, 15 + static_cast<int>(random() % 30)));

  // A client width whose paragraphs are half an advance past a multiple of
  // the advance, also beside one or two floats of eight advances.
  std::unique_ptr<LayoutPage> page;
  Integer width = 0;
  for (Integer client = 500; client < 520 && !width; ++client) {
    page = std::make_unique<LayoutPage>(client, 2000, vcl::TFakeMetrics{kAdvance, 18, 5});
    page->Load("<html><body>" + body + "</body></html>", "p { margin: 0; padding: 0 }");
    std::vector<TpsParagraphNode*> ps;
    Collect(page->Body, ps);
    ASSERT_EQ(ps.size(), static_cast<size_t>(id));
    if (ps[0]->Width % kAdvance == kAdvance / 2) width = ps[0]->Width;
  }
  ASSERT_GT(width, 0);

  char style[256];
  std::snprintf(style, sizeof style, kStyle, static_cast<int>(width));
  const std::filesystem::path file = folder / "page.html";
  std::ofstream(file) << "<html><head>" << style << "</head><body>" << body << "</body></html>";
  const Report browser = RunOracle(file, width + 40);
  ASSERT_EQ(browser.Starts.size(), static_cast<size_t>(id)) << "the browser reported no paragraphs";

  std::vector<TpsParagraphNode*> ps;
  Collect(page->Body, ps);
  std::vector<TpsRect> floats;
  for (TpsWindow* f : page->Body->FloatingWindows()) floats.push_back(f->GetAbsoluteRect());
  size_t nextFloat = 0;
  for (int i = 0; i < id; ++i) {
    SCOPED_TRACE("paragraph " + std::to_string(i));
    const std::string key = std::to_string(i);
    EXPECT_EQ(OurStarts(ps[i]), browser.Starts.at(key));
    if (!browser.Floats.count(key)) continue;
    for (const auto& [x, y] : browser.Floats.at(key)) {
      ASSERT_LT(nextFloat, floats.size());
      const TpsRect& ours = floats[nextFloat++];
      EXPECT_NEAR(ours.Left - ps[i]->GetAbsoluteLeft(), x, 1);
      EXPECT_NEAR(ours.Top - ps[i]->GetAbsoluteTop(), y, 1);
    }
  }
  EXPECT_EQ(nextFloat, floats.size());
}

// Our tables without the editor's virtual borders, whose one-pixel frames
// a browser does not draw.
class PlainTableHost : public FakeHost {
 public:
  const TpsVirtualBorders* VirtualBorders() override { return &Borders; }
  TpsVirtualBorders Borders;
};

void CollectTables(TpsWindow* aNode, std::vector<TpsTableNode*>& aOut) {
  for (TpsWindow* c : aNode->ChildList()) {
    if (auto* t = dynamic_cast<TpsTableNode*>(c)) aOut.push_back(t);
    CollectTables(c, aOut);
  }
}

void CollectCells(TpsWindow* aNode, std::vector<std::vector<TpsTableCellNode*>>& aRows) {
  for (TpsWindow* c : aNode->ChildList()) {
    if (dynamic_cast<TpsTableRowNode*>(c)) {
      aRows.emplace_back();
      for (TpsWindow* cell : c->ChildList())
        if (auto* tc = dynamic_cast<TpsTableCellNode*>(cell)) aRows.back().push_back(tc);
    } else if (!dynamic_cast<TpsTableNode*>(c)) {
      CollectCells(c, aRows);
    }
  }
}

TEST(BrowserOracle, TableWidthsAndCellEdgesAgreeWithARealBrowser) {
  // Browser padding beyond ours: all-pixel columns are their width plus 2
  // pixels here, whatever the table's padding (the browser adds the padding
  // on both sides), so those tables differ by 2 x padding - 2 per column,
  // listed for each; with a table width the columns take their share of it
  // in both.
  struct Table {
    const char* Html;
    int ExtraPerColumn;
  } const tables[] = {
      // All pixel columns, no table width.
      {"<table cellspacing=\"4\" cellpadding=\"1\"><tr><td width=\"100\">ab</td><td width=\"50\">c</td>"
       "<td width=\"120\">d</td></tr><tr><td>e</td><td>f</td><td>g</td></tr></table>",
       0},
      {"<table cellspacing=\"0\" cellpadding=\"1\"><tr><td width=\"80\">ab</td><td width=\"90\">c</td></tr></table>",
       0},
      {"<table cellspacing=\"10\" cellpadding=\"1\"><tr><td width=\"60\">a</td><td width=\"70\">b</td>"
       "<td width=\"80\">c</td><td width=\"90\">d</td></tr></table>",
       0},
      {"<table cellspacing=\"2\" cellpadding=\"1\"><tr><td width=\"37\">a</td><td width=\"41\">b</td></tr>"
       "<tr><td width=\"37\">c</td><td width=\"41\">d</td></tr></table>",
       0},
      {"<table cellspacing=\"4\" cellpadding=\"3\"><tr><td width=\"100\">ab</td><td width=\"50\">c</td>"
       "<td width=\"120\">d</td></tr></table>",
       4},
      {"<table cellspacing=\"5\" cellpadding=\"0\"><tr><td width=\"80\">ab</td><td width=\"90\">c</td></tr></table>",
       -2},
      // A fixed width, percentages adding to 100 or 99.
      {"<table width=\"500\" cellspacing=\"2\" cellpadding=\"4\"><tr><td width=\"25%\">a</td>"
       "<td width=\"25%\">b</td><td width=\"50%\">c</td></tr></table>",
       0},
      {"<table width=\"480\" cellspacing=\"3\" cellpadding=\"2\"><tr><td width=\"30%\">a</td>"
       "<td width=\"30%\">b</td><td width=\"40%\">c</td></tr></table>",
       0},
      {"<table width=\"450\" cellspacing=\"4\" cellpadding=\"3\"><tr><td width=\"33%\">a</td>"
       "<td width=\"33%\">b</td><td width=\"33%\">c</td></tr></table>",
       0},
      {"<table width=\"520\" cellspacing=\"0\" cellpadding=\"6\"><tr><td width=\"20%\">a</td>"
       "<td width=\"30%\">b</td><td width=\"49%\">c</td></tr><tr><td>d</td><td>e</td><td>f</td></tr></table>",
       0},
  };
  std::string body;
  int id = 0;
  for (const Table& table : tables) {
    std::string t = table.Html;
    t.insert(6, " data-oracle=\"" + std::to_string(id++) + "\"");
    body += t + "<p>x</p>";
  }
  RegisterTableNodeClasses();
  PlainTableHost host;
  host.Borders.Enabled = false;
  host.Options["ClientWidth"] = 600;
  host.Options["ClientHeight"] = 2000;
  vcl::TFakeMetricsCanvas fake(600, 2000, vcl::TFakeMetrics{kAdvance, 18, 5});
  host.Canvas.SetHandle(&fake);
  host.Canvas.SetViewRect({0, 0, 599, 1999});
  TpsWindowManager manager(&host.Canvas);
  auto chunk = ParsePage("<html><body>" + body + "</body></html>", host.Events);
  auto root = NewWindow<TpsBodyNode>(&host);
  TpsBodyNode* ourBody = root.get();
  manager.SetRootWindow(std::move(root));
  ourBody->LayoutChunk(*chunk);
  std::vector<TpsTableNode*> ours;
  CollectTables(ourBody, ours);
  ASSERT_EQ(ours.size(), static_cast<size_t>(id));

  const std::filesystem::path folder = ScratchFolder();
  const std::filesystem::path file = folder / "tables.html";
  std::ofstream(file) << "<html><head><style>html{overflow:hidden} body{margin:0;font:20px 'Liberation Mono';"
                         "line-height:23px} p{margin:0}</style></head><body>"
                      << body << "</body></html>";
  const Report browser = RunOracle(file, 600);
  ASSERT_EQ(browser.TableWidths.size(), static_cast<size_t>(id)) << "the browser reported no tables";
  for (int i = 0; i < id; ++i) {
    SCOPED_TRACE(tables[i].Html);
    const int extra = tables[i].ExtraPerColumn;
    const std::string key = std::to_string(i);
    const TpsRect table = ours[i]->GetAbsoluteRect();
    std::vector<std::vector<TpsTableCellNode*>> rows;
    CollectCells(ours[i], rows);
    const auto& cells = browser.Cells.at(key);
    ASSERT_EQ(rows.size(), cells.size());
    const double columns = static_cast<double>(cells[0].size());
    EXPECT_NEAR(table.Right - table.Left + 1 + extra * columns, browser.TableWidths.at(key), columns);
    for (size_t r = 0; r < rows.size(); ++r) {
      ASSERT_EQ(rows[r].size(), cells[r].size());
      for (size_t c = 0; c < rows[r].size(); ++c) {
        SCOPED_TRACE(::testing::Message() << "cell " << r << "," << c);
        const TpsRect cell = rows[r][c]->GetAbsoluteRect();
        // A pixel for each column up to this edge.
        const double before = extra * static_cast<double>(c), through = extra * static_cast<double>(c + 1);
        EXPECT_NEAR(cell.Left - table.Left + before, cells[r][c].first, static_cast<double>(c) + 1);
        EXPECT_NEAR(cell.Right + 1 - table.Left + through, cells[r][c].second, static_cast<double>(c) + 1);
      }
    }
  }
}

}  // namespace
