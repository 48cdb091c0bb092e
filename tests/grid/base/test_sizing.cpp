// Column stretching on a real form (resizes of the grid and of the form,
// width changes, the out-of-range stretch column), widths scaled with the
// grid, and widths saved when the grid is freed and read back when its
// window is made, through an INI file and the registry stand-in.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "grid/GridComponent.h"
#include "rtl/Registry.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct TSizeForm {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  explicit TSizeForm(const std::function<void(TVadOdizadEzev*)>& before = nullptr) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 700, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetColCount(3);
    grid->SetRowCount(4);
    grid->SetDefaultColWidth(64);
    if (before) before(grid);
    grid->SetBounds(0, 0, 400, 200);
    grid->SetParent(form);
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~TSizeForm() { vcl::Free(form); }
};

struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "gridcols-XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(GridStretch, TheStretchedColumnFillsTheClientArea) {
  TSizeForm f;
  TVadOdizadEzev* g = f.grid;
  g->ColumnSize()->SetStretch(true);
  const Integer client = g->ClientWidth();
  EXPECT_EQ(g->ColWidths(2), client - 128 - 1);  // one pixel less than the rest
  // Any width change keeps the last column filling the rest.
  g->SetColWidths(0, 100);
  EXPECT_EQ(g->ColWidths(2), client - 164 - 1);
  // The grid resized: the column follows.
  g->SetBounds(0, 0, 500, 200);
  vcl::Application->ProcessMessages();
  EXPECT_EQ(g->ColWidths(2), g->ClientWidth() - 164 - 1);
  // Narrower than the other columns: the resize leaves the column, and a
  // stretch at the view's start falls back to the default width.
  const Integer wide = g->ColWidths(2);
  g->SetBounds(0, 0, 150, 200);
  vcl::Application->ProcessMessages();
  EXPECT_EQ(g->ColWidths(2), wide);
  g->StretchColumn(-1);
  EXPECT_EQ(g->ColWidths(2), 64);
  // The middle column stretched on request.
  g->SetBounds(0, 0, 400, 200);
  g->ColumnSize()->StretchColumn = 1;
  g->StretchColumn(1);
  EXPECT_EQ(g->ColWidths(1), g->ClientWidth() - 100 - g->ColWidths(2) - 1);
}

TEST(GridStretch, AStretchColumnBeyondTheCountStretchesNothingOnResize) {
  TSizeForm f;
  TVadOdizadEzev* g = f.grid;
  g->SetColCount(6);
  g->ColumnSize()->StretchColumn = 5;
  g->ColumnSize()->SetStretch(true);
  g->SetColCount(3);  // the stored column is gone
  const Integer before[] = {g->ColWidths(0), g->ColWidths(1), g->ColWidths(2)};
  g->SetBounds(0, 0, 520, 220);  // the grid's resize
  f.form->SetBounds(0, 0, 760, 420);  // the form's resize
  vcl::Application->ProcessMessages();
  for (Integer c = 0; c < 3; ++c) EXPECT_EQ(g->ColWidths(c), before[c]);
  // Asked for explicitly, the column is out of range.
  for (Integer col : {3, 5}) {
    try {
      g->StretchColumn(col);
      ADD_FAILURE() << "no error";
    } catch (const rtl::Exception& e) {
      EXPECT_EQ(e.Message(), "Stretch column index out of range");
    }
  }
}

TEST(GridStretch, WidthsScaleWithTheGridFromTheRememberedBase) {
  TSizeForm f;
  TVadOdizadEzev* g = f.grid;
  g->SetColCount(2);
  g->SetColWidths(0, 100);
  g->SetColWidths(1, 200);
  g->SetBounds(0, 0, 400, 200);
  g->RememberColumnSizes();
  g->ColumnSize()->SynchWithGrid = true;
  g->SetBounds(0, 0, 600, 200);
  vcl::Application->ProcessMessages();
  // A single border counts two pixels: Trunc(100 * 602 / 400), Trunc(200 * 602 / 400).
  EXPECT_EQ(g->ColWidths(0), 150);
  EXPECT_EQ(g->ColWidths(1), 301);
  g->SetBounds(0, 0, 398, 200);
  EXPECT_EQ(g->ColWidths(0), 100);
  EXPECT_EQ(g->ColWidths(1), 200);
}

TEST(GridColumnSizes, SavedWhenFreedAndReadBackWhenTheWindowIsMade) {
  ScratchFolder dir;
  const std::string ini = (dir.path / "cols.ini").string();
  auto settings = [&](TVadOdizadEzev* g) {
    g->ColumnSize()->Save = true;
    g->ColumnSize()->Location = clIniFile;
    g->ColumnSize()->Key = ini;
    g->ColumnSize()->Section = "Widths";
  };
  {
    TSizeForm f(settings);
    f.grid->SetColWidths(1, 120);
    f.grid->SetColWidths(2, 80);
  }
  EXPECT_EQ(ReadFile(ini), "[Widths]\r\nCol0=64\r\nCol1=120\r\nCol2=80\r\n");
  {
    TSizeForm f(settings);
    EXPECT_EQ(f.grid->ColWidths(0), 64);
    EXPECT_EQ(f.grid->ColWidths(1), 120);
    EXPECT_EQ(f.grid->ColWidths(2), 80);
    f.grid->SetColWidths(0, 30);
  }
  // A value that is no number reads as the width the column has.
  {
    std::ofstream out(ini, std::ios::binary);
    out << "[Widths]\r\nCol0=x\r\nCol1=99\r\n";
  }
  {
    TSizeForm f(settings);
    EXPECT_EQ(f.grid->ColWidths(0), 64);
    EXPECT_EQ(f.grid->ColWidths(1), 99);
    f.grid->ColumnSize()->Save = false;  // nothing written this time
  }
  EXPECT_EQ(ReadFile(ini), "[Widths]\r\nCol0=x\r\nCol1=99\r\n");
  // An empty section: nothing read or written.
  {
    TSizeForm f([&](TVadOdizadEzev* g) {
      settings(g);
      g->ColumnSize()->Section = "";
    });
    EXPECT_EQ(f.grid->ColWidths(1), 64);
  }
  EXPECT_EQ(ReadFile(ini), "[Widths]\r\nCol0=x\r\nCol1=99\r\n");
}

TEST(GridColumnSizes, ThroughTheRegistryStandIn) {
  ScratchFolder dir;
  rtl::SetRegistryFile((dir.path / "registry.ini").string());
  auto settings = [](TVadOdizadEzev* g) {
    g->ColumnSize()->Save = true;
    g->ColumnSize()->Key = "Software\\Tolvane\\GridTest";
    g->ColumnSize()->Section = "Devices";
  };
  {
    TSizeForm f(settings);
    f.grid->SetColWidths(0, 41);
    f.grid->SetColWidths(2, 142);
  }
  {
    TSizeForm f(settings);
    EXPECT_EQ(f.grid->ColWidths(0), 41);
    EXPECT_EQ(f.grid->ColWidths(1), 64);
    EXPECT_EQ(f.grid->ColWidths(2), 142);
  }
  rtl::SetRegistryFile("");
}

TEST(GridColumnSizes, AStoreErrorAtDestructionGoesToTheApplication) {
  ScratchFolder dir;
  std::vector<std::string> reported;
  vcl::Application->OnException = [&](vcl::TObject* sender, rtl::Exception& e) {
    reported.push_back(e.Message());
    EXPECT_NE(dynamic_cast<TVadOdizadEzev*>(sender), nullptr);
  };
  {
    TSizeForm f;
    // The folder of the file is missing, so the store cannot be written.
    f.grid->ColumnSize()->Save = true;
    f.grid->ColumnSize()->Location = clIniFile;
    f.grid->ColumnSize()->Key = (dir.path / "missing" / "cols.ini").string();
    f.grid->ColumnSize()->Section = "Widths";
  }  // the grid is freed whatever the store says
  vcl::Application->OnException = nullptr;
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_NE(reported[0].find("cols.ini"), std::string::npos) << reported[0];
}
