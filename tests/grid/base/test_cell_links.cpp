// Links and form controls in cells through the class library's mouse
// messages: web and mail links opened through a recording opener, other
// schemes never, and "CELL://" anchors jumping inside the grid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GridTestInput.h"
#include "grid/GridComponent.h"
#include "grid/model/HtmlText.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/Shell.h"

using namespace grid;

namespace {

// Stands in for the desktop's opener and keeps what it was handed.
struct RecordingOpener {
  std::vector<std::string> opened;
};

struct LinkGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  RecordingOpener opener;
  LinkGrid() {
    vcl::SetOpenURLHandler([this](const rtl::AnsiString& link) {
      opener.opened.push_back(link);
      return true;
    });
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBorderStyle(vcl::TGridBorderStyle::bsNone);
    grid->SetColCount(5);
    grid->SetRowCount(30);
    grid->SetColWidths(1, 300);
    grid->SetBounds(0, 0, 560, 300);
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~LinkGrid() {
    vcl::Free(form);
    vcl::SetOpenURLHandler(nullptr);
  }
  void Click(Integer x, Integer y) { grid_test::Click(grid, x, y); }
  void ClickCell(Integer col, Integer row, Integer dx = 8) {
    const vcl::TRect r = grid->CellRect(col, row);
    Click(r.Left + dx, r.Top + 8);
  }
};

}  // namespace

TEST(CellLinks, PlainLinksOpenOnlyForWebAndMail) {
  struct Case {
    const char* text;
    bool opens;
  };
  const std::vector<Case> cases = {
      {"http://module.local/index.html", true}, {"https://example.org", true},
      {"mailto:admin@example.org", true},       {"javascript://alert(1)", false},
      {"file:///usr/bin/xterm", false},          {"smb://host/share", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LinkGrid g;
    g.grid->URLShow = true;
    g.grid->Model().SetRawCell(1, 2, c.text);
    g.ClickCell(1, 2);
    EXPECT_EQ(g.opener.opened, c.opens ? std::vector<std::string>{c.text} : std::vector<std::string>{});
  }
  // Without URLShow a plain text is no link.
  LinkGrid g;
  g.grid->Model().SetRawCell(1, 2, "http://module.local");
  g.ClickCell(1, 2);
  EXPECT_TRUE(g.opener.opened.empty());
}

TEST(CellLinks, AnchorsOpenJumpOrAreHandled) {
  LinkGrid g;
  g.grid->Model().SetRawCell(1, 1, "<a href=\"http://module.local\">module</a>");
  g.grid->Model().SetRawCell(1, 2, "<a href=\"file:///bin/sh\">launcher</a>");
  g.grid->Model().SetRawCell(1, 3, "<a href=\"CELL://R12C3\">jump</a>");
  g.grid->Model().SetRawCell(1, 4, "<a href=\"CELL://R1\">nowhere</a>");
  std::vector<std::string> anchors;
  bool handle = true;
  g.grid->OnAnchorClick = [&](vcl::TObject*, Integer r, Integer c, const AnsiString& a, bool& auto_) {
    anchors.push_back(std::to_string(r) + "," + std::to_string(c) + " " + a);
    auto_ = handle;
  };
  g.ClickCell(1, 1);
  EXPECT_EQ(g.opener.opened, std::vector<std::string>{"http://module.local"});
  g.ClickCell(1, 2);
  EXPECT_EQ(g.opener.opened.size(), 1u);
  // OnAnchorClick taking the link keeps the opener away.
  handle = false;
  g.ClickCell(1, 1);
  EXPECT_EQ(g.opener.opened.size(), 1u);
  handle = true;
  EXPECT_EQ(anchors.size(), 3u);
  EXPECT_EQ(anchors[0], "1,1 http://module.local");
  g.ClickCell(1, 3);
  EXPECT_EQ(g.grid->Row(), 12);
  EXPECT_EQ(g.grid->Col(), 3);
  g.ClickCell(1, 4);
  EXPECT_EQ(g.grid->Row(), 12);
  EXPECT_EQ(g.grid->Col(), 3);
}
