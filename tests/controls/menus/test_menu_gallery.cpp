// styled_menus_gallery.png in the build folder, for a person to look at:
// one pop-up per office preset (with a sub-menu arrow, check and radio
// items, a separator and a selected item), one with a side bar and notes.
#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "MenuTestSupport.h"
#include "controls/LumMenuOfficeStyler.h"

using namespace menutest;

namespace {

QImage Grab(TLumPopupMenu* menu, int downs) {
  QImage shot;
  WithOpenPopup([&] { menu->Popup(40, 40); },
                [downs](QWidget* w) {
                  for (int i = 0; i < downs; ++i) QTest::keyClick(w, Qt::Key_Down);
                },
                [&](OpenPopup& open) { shot = open.pixels.copy(open.widget->mask().boundingRect()); });
  return shot;
}

}  // namespace

TEST(Gallery, StyledMenus) {
  std::vector<QImage> shots;
  for (int style = 0; style <= static_cast<int>(osTerminal); ++style) {
    if (style == static_cast<int>(osCustom)) continue;
    vcl::TComponent owner(nullptr);
    auto* styler = new TLumMenuOfficeStyler(&owner);
    styler->SetStyle(static_cast<TOfficeStyle>(style));
    auto* menu = new TLumPopupMenu(&owner);
    menu->SetMenuStyler(styler);
    TMenuItem* open = AddItem(menu->Items(), "&Open page");
    open->SetShortCut(vcl::ShortCut('O', {vcl::ssCtrl}));
    AddItem(menu->Items(), "&Save");
    AddItem(menu->Items(), "-");
    AddItem(menu->Items(), "Show &grid")->SetChecked(true);
    TMenuItem* radio = AddItem(menu->Items(), "&Design view");
    radio->SetRadioItem(true);
    radio->SetChecked(true);
    AddItem(AddItem(menu->Items(), "&Recent projects"), "one.pjt");
    AddItem(menu->Items(), "Disabled")->SetEnabled(false);
    shots.push_back(Grab(menu, 2));
  }
  {
    vcl::TComponent owner(nullptr);
    auto* menu = new TLumPopupMenu(&owner);
    TCustomLumMenuStyler* s = menu->GetCurrentStyler();
    s->SideBar()->SetVisible(true);
    s->SideBar()->SetVisibleIn(viFirstLevel);
    s->SideBar()->SetCaption("Tolvane");
    s->SideBar()->Background()->SetColor(0, vcl::RGB(40, 70, 140));
    s->SideBar()->Background()->SetColor(1, vcl::RGB(120, 160, 230));
    s->SetAntiAlias(aaAntiAlias);
    AddItem(menu->Items(), "&New project\\nStarts an empty project");
    AddItem(menu->Items(), "&Open project\\nOpens a project file");
    AddItem(menu->Items(), "-");
    AddItem(menu->Items(), "E&xit");
    shots.push_back(Grab(menu, 1));
  }
  int width = 0, height = 0;
  for (const QImage& s : shots) {
    width += s.width() + 8;
    height = std::max(height, s.height());
  }
  QImage sheet(width + 8, height + 16, QImage::Format_RGB32);
  sheet.fill(QColor(0xDD, 0xDD, 0xDD));
  QPainter p(&sheet);
  int x = 8;
  for (const QImage& s : shots) {
    p.drawImage(x, 8, s);
    x += s.width() + 8;
  }
  p.end();
  EXPECT_TRUE(sheet.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/styled_menus_gallery.png")));
}
