// The pager's registered messages, its option pictures from the unit's own
// bitmaps, the help button with OnHelpClick, and the settings that only
// store.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"
#include "vcl/RegisteredMessages.h"

namespace {

using namespace ribbon;
using vcl::RGB;
using vcl::TColor;

class PartsPager : public TRorIvezEviPager {
 public:
  using TRorIvezEviPager::TRorIvezEviPager;
  void FinishLoading() { Loaded(); }
};

void PartsPump() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    vcl::Application->ProcessMessages();
  }
}

TColor PartsAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
}

TEST(RibbonPagerParts, RegisteredMessages) {
  const rtl::Cardinal hide = CompactWinHideMessage();
  const rtl::Cardinal aero = SetAeroVistaMessage();
  EXPECT_GE(hide, 0xC000u);
  EXPECT_GE(aero, 0xC000u);
  EXPECT_NE(hide, aero);
  // The same numbers other code gets for the names; asked again, unchanged.
  EXPECT_EQ(vcl::RegisterWindowMessage("TBCompactWinHide"), hide);
  EXPECT_EQ(vcl::RegisterWindowMessage("tbsetaerovista"), aero);
  EXPECT_EQ(CompactWinHideMessage(), hide);
}

TEST(RibbonPagerParts, DefaultsAndStoredSettings) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* pager = new PartsPager(form);
  EXPECT_EQ(pager->Version(), "3.5.4.8");
  pager->SetVersion("1.0");
  EXPECT_EQ(pager->Version(), "3.5.4.8");
  EXPECT_TRUE(pager->CanMove());
  EXPECT_TRUE(pager->HidePagesOnDblClick());
  EXPECT_TRUE(pager->EnableWheel());
  EXPECT_TRUE(pager->ShowHelpButton());
  EXPECT_FALSE(pager->AutoMDIButtons());
  EXPECT_FALSE(pager->ShowTabHint());
  EXPECT_FALSE(pager->ShowNonSelectedTabs());
  EXPECT_FALSE(pager->Win7ScenicRibbon());
  EXPECT_EQ(pager->CaptionButtons(), (TCaptionButtons{cbClose, cbMinimize, cbMaximize}));
  EXPECT_EQ(pager->AntiAlias(), controls::aaClearType);
  EXPECT_EQ(pager->PageLeftMargin(), 0);
  EXPECT_FALSE(pager->Persistence()->Enabled());
  // Records are copied in, not shared.
  controls::TLumHintInfo hint;
  hint.SetTitle("Ribbon");
  pager->SetOfficeHint(&hint);
  EXPECT_EQ(pager->OfficeHint()->Title(), "Ribbon");
  EXPECT_NE(pager->OfficeHint(), &hint);
  TPersistence stored(nullptr);
  stored.SetEnabled(true);
  stored.SetKey("ribbon.ini");
  pager->SetPersistence(&stored);
  EXPECT_TRUE(pager->Persistence()->Enabled());
  EXPECT_EQ(pager->Persistence()->Key(), "ribbon.ini");
  // The scenic look is unit-wide; a new pager resets it.
  pager->SetWin7ScenicRibbon(true);
  EXPECT_TRUE(controls::GetGlobalWin7ScenicRibbon());
  auto* second = new PartsPager(form);
  EXPECT_FALSE(pager->Win7ScenicRibbon());
  EXPECT_FALSE(second->Win7ScenicRibbon());
  vcl::Free(form);
}

TEST(RibbonPagerParts, OptionPicturesFromTheUnitsBitmaps) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* pager = new PartsPager(form);
  // Both 9 x 9: a corner frame and an arrow to the bottom right, dark and
  // light grey, on a background left out when drawn.
  for (controls::TGDIPPicture* p : {pager->OptionPicture(), pager->OptionDisabledPicture()}) {
    ASSERT_FALSE(p->Empty());
    EXPECT_EQ(p->Width(), 9);
    EXPECT_EQ(p->Height(), 9);
  }
  vcl::TBitmap shot(20, 20);
  shot.Canvas()->Brush()->SetColor(RGB(0, 128, 0));
  shot.Canvas()->FillRect(vcl::TRect{0, 0, 20, 20});
  pager->OptionPicture()->Draw(shot.Canvas(), vcl::TRect{5, 5, 14, 14});
  pager->OptionDisabledPicture()->Draw(shot.Canvas(), vcl::TRect{0, 10, 9, 19});
  const QImage image = shot.Image()->convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(PartsAt(image, 5, 5), RGB(76, 76, 76));     // frame corner
  EXPECT_EQ(PartsAt(image, 9, 5), RGB(76, 76, 76));     // frame top end
  EXPECT_EQ(PartsAt(image, 10, 5), RGB(0, 128, 0));     // past it
  EXPECT_EQ(PartsAt(image, 8, 8), RGB(76, 76, 76));     // the shaft
  EXPECT_EQ(PartsAt(image, 12, 9), RGB(76, 76, 76));    // the head
  EXPECT_EQ(PartsAt(image, 6, 6), RGB(0, 128, 0));      // inside the corner
  EXPECT_EQ(PartsAt(image, 12, 13), RGB(0, 128, 0));    // the bottom row
  EXPECT_EQ(PartsAt(image, 0, 10), RGB(160, 160, 160));  // disabled frame
  // A picture set by the user replaces the unit's; an empty one clears it.
  controls::TGDIPPicture none;
  pager->SetOptionPicture(&none);
  EXPECT_TRUE(pager->OptionPicture()->Empty());
  EXPECT_FALSE(pager->OptionDisabledPicture()->Empty());
  vcl::Free(form);
}

// The main window's pager: the help button at (952, 8), 20 x 20, its click
// reaching OnHelpClick through a real press and release.
TEST(RibbonPagerParts, HelpButton) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(978);
  form->SetClientHeight(200);
  auto* pager = new PartsPager(form);
  pager->SetParent(form);
  pager->SetHeight(120);
  pager->PageCaption()->SetVisible(false);
  pager->TabSettings()->SetHeight(34);
  auto* page = new TLumPage(form);
  page->SetCaption("&File");
  page->SetParent(pager);
  EXPECT_EQ(pager->HelpButton(), nullptr);  // placed when loaded
  pager->FinishLoading();
  int helps = 0;
  vcl::TObject* sender = nullptr;
  pager->OnHelpClick = [&](vcl::TObject* s) {
    ++helps;
    sender = s;
  };
  ASSERT_NE(pager->HelpButton(), nullptr);
  controls::TLumGlowButton* help = pager->HelpButton();
  EXPECT_EQ(help->BoundsRect(), vcl::Bounds(952, 8, 20, 20));
  EXPECT_EQ(help->BoundsRect(), pager->GetHelpButtonRect());
  form->Show();
  PartsPump();
  const QImage shot = pager->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_help_button.png");
  // The glyph: a blue disc with a white question mark, centred.
  const QImage face = help->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  int blue = 0, white = 0;
  for (int y = 0; y < face.height(); ++y)
    for (int x = 0; x < face.width(); ++x) {
      const TColor c = PartsAt(face, x, y);
      blue += c == RGB(32, 96, 192);
      white += c == RGB(255, 255, 255);
    }
  EXPECT_GT(blue, 100);
  EXPECT_GT(white, 8);
  // A press and release of the left button on it.
  QWidget* w = help->Widget();
  const QPointF at(10, 10);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(w, &release);
  PartsPump();
  EXPECT_EQ(helps, 1);
  EXPECT_EQ(sender, help);
  // The button follows the pager's width; hiding it frees it and the tab
  // strip reaches further right.
  form->SetClientWidth(800);
  EXPECT_EQ(help->BoundsRect(), vcl::Bounds(774, 8, 20, 20));
  const int stripWithHelp = pager->GetTabsRect().Right;
  pager->SetShowHelpButton(false);
  EXPECT_EQ(pager->HelpButton(), nullptr);
  EXPECT_GT(pager->GetTabsRect().Right, stripWithHelp);
  pager->SetShowHelpButton(true);
  ASSERT_NE(pager->HelpButton(), nullptr);
  EXPECT_EQ(pager->HelpButton()->BoundsRect(), vcl::Bounds(774, 8, 20, 20));
  vcl::Free(form);
}

}  // namespace
