// The tab scroller's range rules, the page scroll button's face, arrow
// and clicks, and the pager scrolling its squeezed tabs with the two
// buttons.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/TestCanvases.h"

namespace {

using namespace ribbon;
using vcl::RGB;
using vcl::TColor;

void ScrollPump() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    vcl::Application->ProcessMessages();
  }
}

TColor ScrollAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
}

TEST(RibbonScroll, ScrollerRange) {
  TRIETabScroller s;
  EXPECT_FALSE(s.CanScrollBack());
  EXPECT_FALSE(s.CanScrollForward());
  EXPECT_FALSE(s.ScrollVisible());
  s.SetScrollMax(3);
  s.SetScrollMin(1);
  s.SetScrollMax(0);  // below the minimum: ignored
  s.SetScrollMin(5);  // above the maximum: ignored
  EXPECT_EQ(s.ScrollMin(), 1);
  EXPECT_EQ(s.ScrollMax(), 3);
  s.SetScrollPosition(1);
  EXPECT_FALSE(s.CanScrollBack());
  EXPECT_TRUE(s.CanScrollForward());
  s.SetScrollPosition(3);
  EXPECT_TRUE(s.CanScrollBack());
  EXPECT_FALSE(s.CanScrollForward());
}

TEST(RibbonScroll, ButtonFaceArrowAndClicks) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(200);
  form->SetClientHeight(100);
  form->SetColor(RGB(0, 128, 0));
  auto* b = new TLumPageScrollButton(form);
  EXPECT_EQ(b->Width(), 22);
  EXPECT_EQ(b->Height(), 23);
  EXPECT_EQ(b->Font()->Name(), "Tahoma");
  EXPECT_EQ(b->CornerStyle(), 0);
  EXPECT_EQ(b->ArrowDirection(), 0);
  b->SetParent(form);
  b->SetBounds(10, 10, 22, 23);
  controls::TGlowButtonAppearance* a = b->Appearance();
  const TColor face = RGB(250, 240, 200), border = RGB(40, 80, 160);
  a->SetColor(face), a->SetColorTo(face), a->SetColorMirror(face), a->SetColorMirrorTo(face);
  a->SetBorderColor(border);
  a->SetGradient(controls::ggVertical);
  a->SetGradientMirror(controls::ggVertical);
  int clicks = 0;
  b->OnClick = [&](vcl::TObject*) { ++clicks; };
  form->Show();
  ScrollPump();
  QImage shot = b->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_scroll_button.png");
  EXPECT_EQ(ScrollAt(shot, 4, 17), face);
  // Pointing left round the centre (11, 11): one pixel at x 10, three at
  // 11, five at 12, in black mixed half with the border.
  const TColor arrow = MixColors(vcl::clBlack, border, 50);
  EXPECT_EQ(ScrollAt(shot, 10, 11), arrow);
  EXPECT_NE(ScrollAt(shot, 10, 12), arrow);
  EXPECT_EQ(ScrollAt(shot, 11, 10), arrow);
  EXPECT_EQ(ScrollAt(shot, 12, 9), arrow);
  EXPECT_EQ(ScrollAt(shot, 12, 13), arrow);
  // All four corners cut: the parent shows through.
  EXPECT_EQ(ScrollAt(shot, 0, 0), RGB(0, 128, 0));
  EXPECT_EQ(ScrollAt(shot, 21, 22), RGB(0, 128, 0));
  b->SetArrowDirection(1);  // no arrow
  ScrollPump();
  shot = b->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(ScrollAt(shot, 11, 10), arrow);
  // A click; a disabled button does not click.
  b->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, vcl::MakeLParam(5, 5));
  EXPECT_TRUE(b->Pressed());
  b->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(5, 5));
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(clicks, 1);
  b->SetEnabled(false);
  b->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, vcl::MakeLParam(5, 5));
  b->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(5, 5));
  EXPECT_EQ(clicks, 1);
  vcl::Free(form);
}

class ScrollPager : public TRorIvezEviPager {
 public:
  explicit ScrollPager(vcl::TComponent* owner) : TRorIvezEviPager(owner) {}
  void FinishLoading() { Loaded(); }

 protected:
  vcl::TCanvas* TabMeasureCanvas() override { return &canvas_; }

 private:
  vcl::TFakeMetricsCanvas canvas_;
};

TEST(RibbonScroll, PagerScrollsSqueezedTabs) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(64 + 100 + 4);  // a 100-pixel strip
  form->SetClientHeight(200);
  auto* pager = new ScrollPager(form);
  pager->SetParent(form);
  pager->SetHeight(120);
  pager->PageCaption()->SetVisible(false);
  pager->TabSettings()->SetHeight(34);
  pager->SetShowHelpButton(false);
  for (const char* c : {"AAAAA", "BBBBB", "CCCCC", "DDDDD", "EEEEE", "FFFFF"}) {
    auto* p = new TLumPage(form);
    p->SetCaption(c);
    p->SetParent(pager);
  }
  pager->FinishLoading();
  form->Show();
  ScrollPump();
  // Squeezed to 24 each (6 * 24 + 5 * 3 = 159 > 100): scrolling forward
  // is possible, back is not.
  EXPECT_EQ(pager->TabWidth(0), 24);
  const vcl::TRect strip = pager->GetTabsRect();
  EXPECT_TRUE(pager->TabScroller().CanScrollForward());
  EXPECT_FALSE(pager->TabScroller().CanScrollBack());
  ASSERT_NE(pager->RightScrollButton(), nullptr);
  EXPECT_TRUE(pager->RightScrollButton()->Visible());
  EXPECT_EQ(pager->RightScrollButton()->BoundsRect(), (vcl::TRect{strip.Right - 12, strip.Top, strip.Right, strip.Top + 29}));
  EXPECT_TRUE(pager->LeftScrollButton() == nullptr || !pager->LeftScrollButton()->Visible());
  // The right button scrolls the next tabs in; the left one comes.
  pager->RightScrollButton()->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, vcl::MakeLParam(3, 3));
  pager->RightScrollButton()->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(3, 3));
  // Three tabs fitted (0 to 2): the fourth is the target; the strip stops
  // moving once the last tab's right edge reaches its end.
  EXPECT_EQ(pager->FirstShownTab(), 3);
  EXPECT_EQ(pager->GetTabRect(5).Right, strip.Right);
  EXPECT_EQ(pager->TabScroller().ScrollPosition(), 1);
  ASSERT_NE(pager->LeftScrollButton(), nullptr);
  EXPECT_TRUE(pager->LeftScrollButton()->Visible());
  EXPECT_EQ(pager->LeftScrollButton()->Left(), strip.Left);
  // Back again: the first tab at the strip's start, no left button.
  EXPECT_EQ(pager->ScrollTabs(-5), -1);
  EXPECT_EQ(pager->FirstShownTab(), 0);
  EXPECT_EQ(pager->GetTabRect(0).Left, strip.Left);
  EXPECT_FALSE(pager->LeftScrollButton()->Visible());
  // Wide enough: no buttons.
  form->SetClientWidth(600);
  ScrollPump();
  EXPECT_FALSE(pager->RightScrollButton()->Visible());
  vcl::Free(form);
}

}  // namespace
