// Styled pop-up menus shown through Qt: their pixels, their window's shape
// and place, keys, and the placement rule.
#include <gtest/gtest.h>

#include <QTest>

#include "MenuTestSupport.h"
#include "controls/LumMenuOfficeStyler.h"
#include "vcl/Forms.h"

using namespace menutest;
using vcl::TColor;

TEST(StyledPopup, ShowsItsItemsWithTheIconBarAndFrame) {
  vcl::TComponent owner(nullptr);
  auto* styler = new TLumMenuOfficeStyler(&owner);
  styler->SetStyle(osOffice2003Blue);
  auto* menu = new TLumPopupMenu(&owner);
  menu->SetMenuStyler(styler);
  AddItem(menu->Items(), "&Open");
  AddItem(menu->Items(), "-");
  AddItem(menu->Items(), "Close");
  bool looked = false;
  WithOpenPopup([&] { menu->Popup(100, 100); }, nullptr, [&](OpenPopup& open) {
    looked = true;
    ASSERT_NE(open.window, nullptr);
    QImage& img = open.pixels;
    EXPECT_GT(img.width(), 40);
    TColor border = styler->MenuBorderColor();
    EXPECT_EQ(At(img, 1, img.height() / 2), border) << "frame";
    open.pixels.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/menu_debug.png"));
  });
  EXPECT_TRUE(looked);
}
