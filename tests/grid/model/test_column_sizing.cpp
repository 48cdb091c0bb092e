// Column sizes as arithmetic (the stretched column, scaling with one sized
// column or with the grid) and the widths kept in an INI file or the
// registry stand-in, in a scratch folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "grid/model/ColumnSizing.h"
#include "rtl/Exceptions.h"
#include "rtl/Registry.h"

using namespace grid;

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "gridsizes-XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
};

}  // namespace

TEST(ColumnStretch, WidthLeftOverByTheOthers) {
  // One pixel less than the rest, the default when nothing is left at the
  // view's start, the width kept when scrolled.
  EXPECT_EQ(StretchedWidth({64, 64, 64}, 2, 400, true, 64), 271);
  EXPECT_EQ(StretchedWidth({64, 64, 64}, 0, 400, true, 64), 271);
  EXPECT_EQ(StretchedWidth({64, 70, 90}, 2, 100, true, 64), 64);
  EXPECT_EQ(StretchedWidth({64, 70, 90}, 2, 100, false, 64), 90);
  EXPECT_EQ(StretchedWidth({64, 70, 90}, 1, 135, true, 50), 50);  // 154 others: nothing left
  EXPECT_EQ(StretchedWidth({30}, 0, 333, true, 64), 333);
}

TEST(ColumnStretch, ScalingWithOneSizedColumn) {
  std::vector<Integer> sizes = {20, 100, 30, 40, 5};
  ScaleWithSizedOne(sizes, 1, 50, 1);  // 50 to 100: the others doubled
  EXPECT_EQ(sizes, (std::vector<Integer>{20, 100, 60, 80, 10}));
  sizes = {20, 75, 3, 5, 7};
  ScaleWithSizedOne(sizes, 1, 50, 1);  // halves to the even neighbour
  EXPECT_EQ(sizes, (std::vector<Integer>{20, 75, 4, 8, 10}));
  sizes = {20, 75, 3};
  ScaleWithSizedOne(sizes, 1, 0, 0);  // nothing from a zero width
  EXPECT_EQ(sizes, (std::vector<Integer>{20, 75, 3}));
}

TEST(ColumnStretch, SynchronisedWithTheGridsWidth) {
  std::vector<Integer> widths = {100, 200};
  SynchronisedWidths(widths, {100, 200}, 400, 600, false, 0, 1);
  EXPECT_EQ(widths, (std::vector<Integer>{150, 300}));
  SynchronisedWidths(widths, {100, 200}, 400, 600, true, 0, 1);
  EXPECT_EQ(widths, (std::vector<Integer>{150, 301}));
  // Always from the remembered base: no rounding piles up.
  for (Integer w : {410, 333, 777, 600}) SynchronisedWidths(widths, {100, 200}, 400, w, false, 0, 1);
  EXPECT_EQ(widths, (std::vector<Integer>{150, 300}));
  widths = {40, 100, 200, 30};
  SynchronisedWidths(widths, {40, 100, 200}, 400, 200, false, 1, 2);  // normal cells only
  EXPECT_EQ(widths, (std::vector<Integer>{40, 50, 100, 30}));
}

TEST(ColumnSizeStore, IniFileRoundTrip) {
  ScratchFolder dir;
  const std::string ini = (dir.path / "widths.ini").string();
  SaveColumnWidths(TColumnSizeStore::csIniFile, ini, "Widths", {64, 120, 80});
  EXPECT_EQ(ReadFile(ini), "[Widths]\r\nCol0=64\r\nCol1=120\r\nCol2=80\r\n");
  EXPECT_EQ(LoadColumnWidths(TColumnSizeStore::csIniFile, ini, "Widths", {1, 2, 3}),
            (std::vector<Integer>{64, 120, 80}));
  // More entries than columns are ignored, fewer leave the rest.
  SaveColumnWidths(TColumnSizeStore::csIniFile, ini, "Widths", {10, 20, 30, 40, 50});
  EXPECT_EQ(LoadColumnWidths(TColumnSizeStore::csIniFile, ini, "Widths", {1, 2, 3}),
            (std::vector<Integer>{10, 20, 30}));
  EXPECT_EQ(LoadColumnWidths(TColumnSizeStore::csIniFile, ini, "Widths", {1, 2, 3, 4, 5, 6, 7}),
            (std::vector<Integer>{10, 20, 30, 40, 50, 6, 7}));
  // A value that is no number reads as the current width; another section
  // holds nothing.
  {
    std::ofstream out(ini, std::ios::binary);
    out << "[Widths]\r\nCol0=abc\r\nCol1=33\r\n";
  }
  EXPECT_EQ(LoadColumnWidths(TColumnSizeStore::csIniFile, ini, "Widths", {7, 8}), (std::vector<Integer>{7, 33}));
  EXPECT_EQ(LoadColumnWidths(TColumnSizeStore::csIniFile, ini, "Other", {7, 8}), (std::vector<Integer>{7, 8}));
  // No columns: nothing written, the file still written back.
  std::filesystem::remove(ini);
  SaveColumnWidths(TColumnSizeStore::csIniFile, ini, "Widths", {});
  EXPECT_TRUE(std::filesystem::exists(ini));
  // A store that cannot be written raises.
  EXPECT_THROW(SaveColumnWidths(TColumnSizeStore::csIniFile, (dir.path / "no" / "such.ini").string(), "W", {1}),
               rtl::Exception);
}

TEST(ColumnSizeStore, RegistryStandInRoundTrip) {
  ScratchFolder dir;
  const std::string file = (dir.path / "registry.ini").string();
  rtl::SetRegistryFile(file);
  SaveColumnWidths(TColumnSizeStore::csRegistry, "Software\\Tolvane\\Test", "Grid", {64, 120, 80});
  EXPECT_EQ(LoadColumnWidths(TColumnSizeStore::csRegistry, "Software\\Tolvane\\Test", "Grid", {0, 0, 0, 9}),
            (std::vector<Integer>{64, 120, 80, 9}));
  {
    rtl::TRegistry reg(rtl::HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Software\\Tolvane\\Test\\Grid", false));
    EXPECT_EQ(reg.ReadInteger("Col1"), 120);
    reg.WriteString("Col2", "wide");
  }
  EXPECT_EQ(LoadColumnWidths(TColumnSizeStore::csRegistry, "Software\\Tolvane\\Test", "Grid", {0, 0, 5}),
            (std::vector<Integer>{64, 120, 5}));
  rtl::SetRegistryFile("");
}
