// The tool panels' four bitmaps as the library registers them by name:
// their sizes and, drawn as rows of characters, their shapes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vcl/Pictures.h"
#include "vcl/Resources.h"

namespace {

std::vector<std::string> PanelBitmapRows(const char* name) {
  vcl::TBitmap b;
  b.LoadFromResourceName(vcl::HInstance, name);
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) {
      const vcl::TColor c = b.Canvas()->Pixels(x, y);
      row += c == vcl::clBlack ? '#' : c == vcl::clWhite ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

TEST(ToolPanelBitmaps, TheScrollArrowsAndTheButtonGlyphs) {
  const std::vector<std::string> updown{
      ".................",  //
      ".................",  //
      ".#######....#....",  //
      "..#####....###...",  //
      "...###....#####..",  //
      "....#....#######.",  //
      ".................",  //
      ".................",  //
      ".................",
  };
  EXPECT_EQ(PanelBitmapRows("RUZ_UPDOWN"), updown);
  // Rows 4 to 11: x - y of 0 or 1, x + y of 15 or 16.
  std::vector<std::string> cross(16, std::string(16, '.'));
  for (int y = 4; y <= 11; ++y)
    for (int x = 4; x <= 11; ++x)
      if (x - y == 0 || x - y == 1 || x + y == 15 || x + y == 16) cross[y][x] = '#';
  EXPECT_EQ(PanelBitmapRows("RUZ_CLOSEBTN"), cross);
  const std::vector<std::string> lock = PanelBitmapRows("RUZ_LOCKPIN");
  ASSERT_EQ(lock.size(), 16u);
  EXPECT_EQ(lock[2], ".....######.....");
  EXPECT_EQ(lock[5], ".....#....#.....");
  EXPECT_EQ(lock[9], "...##########...");
  EXPECT_EQ(lock[14], ".......##.......");
  EXPECT_EQ(lock[15], "................");
  const std::vector<std::string> unlock = PanelBitmapRows("RUZ_UNLOCKPIN");
  ASSERT_EQ(unlock.size(), 16u);
  EXPECT_EQ(unlock[3], "......#.........");
  EXPECT_EQ(unlock[5], "......########..");
  EXPECT_EQ(unlock[7], ".#######.....#..");  // point, bar and the head's edge
  EXPECT_EQ(unlock[12], "......#.........");
  for (const auto& row : unlock) EXPECT_EQ(row.size(), 16u);
}
