// The caret placed through the screen surface's viewport, shown only on a
// visible, focused, writable control; the scroll bars over a scrolling
// control's own bars.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "ViewFixture.h"
#include "htmledit/view/psCaret.h"
#include "rtl/Clock.h"
#include "vcl/Caret.h"
#include "vcl/Forms.h"
#include "vcl/ScrollingControl.h"
#include "vcl/WinApi.h"

namespace {

using namespace htmlview;

// The editor's stand-in: a scrolling control that paints itself white.
class WhiteControl : public vcl::TScrollingWinControl {
 public:
  using vcl::TScrollingWinControl::TScrollingWinControl;
  void Paint() override {
    Canvas()->Brush()->SetColor(vcl::clWhite);
    Canvas()->FillRect(vcl::Rect(0, 0, Width(), Height()));
  }
};

void Pump() {
  for (int i = 0; i < 5; ++i) vcl::Application->ProcessMessages();
}

vcl::TColor Pixel(const QImage& aImage, int x, int y) {
  const QRgb p = aImage.pixel(x, y);
  return vcl::RGB(qRed(p), qGreen(p), qBlue(p));
}

struct CaretRig {
  CaretRig() {
    Form = new vcl::TForm(vcl::Application, 0);
    Form->SetClientWidth(300);
    Form->SetClientHeight(200);
    Control = new WhiteControl(Form);
    Control->SetTabStop(true);
    Control->SetParent(Form);
    Control->SetBounds(0, 0, 200, 150);
    auto root = NewWindow<TpsWindow>(nullptr);
    root->SetBounds(0, 0, 200, 1000);
    Manager.SetRootWindow(std::move(root));
    Canvas.SetViewRect({0, 120, 199, 269});
  }
  ~CaretRig() { vcl::Free(Form); }
  void Focus() {
    Form->Show();
    Pump();
    Control->SetFocus();
    Pump();
  }
  // A stopped clock keeps a shown caret in the showing half of its blink.
  std::shared_ptr<rtl::ManualClock> Clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock Scoped{Clock};
  vcl::TForm* Form;
  WhiteControl* Control;
  TpsScrollCanvas Canvas;
  TpsWindowManager Manager{&Canvas};
};

TEST(Caret, PlacedThroughTheViewportAndMovedAfterScrolling) {
  CaretRig rig;
  TpsCaret caret(rig.Control, false, &rig.Manager, &rig.Canvas);
  EXPECT_EQ(caret.GetWidth(), 2);
  EXPECT_EQ(caret.GetHeight(), 15);
  EXPECT_EQ(caret.GetX(), 0);
  EXPECT_FALSE(caret.GetVisible());

  // Not focused: stays hidden.
  caret.SetPosition(10, 130);
  caret.SetVisible(true);
  EXPECT_FALSE(caret.GetVisible());
  EXPECT_EQ(caret.GetClientPos(), (TpsPoint{10, 10}));

  rig.Focus();
  ASSERT_TRUE(rig.Control->Focused());
  caret.SetVisible(true);
  ASSERT_TRUE(caret.GetVisible());
  vcl::TCaretState s = vcl::GetCaretState();
  EXPECT_EQ(s.Owner, rig.Control->Handle());
  EXPECT_TRUE(s.Visible);
  EXPECT_EQ(s.Bounds, vcl::Rect(10, 10, 12, 25));

  // Scrolled down by 20: the caret moves up by 20 once asked.
  rig.Canvas.SetOrigin(0, 140);
  EXPECT_EQ(vcl::GetCaretState().Bounds.Top, 10);
  caret.UpdatePosition();
  EXPECT_EQ(vcl::GetCaretState().Bounds, vcl::Rect(10, -10, 12, 5));
  // The root moved: document coordinates follow.
  rig.Manager.Root()->Top = 30;
  caret.UpdatePosition();
  EXPECT_EQ(caret.GetDocY(), 160);
  EXPECT_EQ(vcl::GetCaretState().Bounds.Top, 20);

  // Bounds change with one hide and show.
  caret.SetBounds(5, 140, 1, 20);
  EXPECT_EQ(vcl::GetCaretState().Bounds, vcl::Rect(5, 30, 6, 50));
  EXPECT_TRUE(vcl::GetCaretState().Visible);

  caret.SetVisible(false);
  EXPECT_FALSE(caret.GetVisible());
  EXPECT_EQ(vcl::GetCaretState().Owner, 0u);
  caret.SetVisible(false);  // hiding a hidden caret does nothing
  EXPECT_FALSE(caret.GetVisible());
}

TEST(Caret, HiddenWhileReadOnlyAndNeverInDesignMode) {
  CaretRig rig;
  rig.Focus();
  TpsCaret caret(rig.Control, false, &rig.Manager, &rig.Canvas);
  caret.SetPosition(10, 130);
  caret.SetVisible(true);
  ASSERT_TRUE(caret.GetVisible());
  caret.SetReadOnly(true);
  EXPECT_FALSE(caret.GetVisible());
  EXPECT_EQ(vcl::GetCaretState().Owner, 0u);
  caret.SetVisible(true);
  EXPECT_FALSE(caret.GetVisible());
  caret.SetReadOnly(true);  // unchanged: nothing
  caret.SetReadOnly(false);
  EXPECT_TRUE(caret.GetVisible());
  EXPECT_TRUE(vcl::GetCaretState().Visible);
  caret.SetVisible(false);

  TpsCaret design(rig.Control, true, &rig.Manager, &rig.Canvas);
  design.SetVisible(true);
  EXPECT_FALSE(design.GetVisible());
  EXPECT_EQ(vcl::GetCaretState().Owner, 0u);
}

TEST(Caret, ShownOnTheScreenAndNotInTheBuffer) {
  CaretRig rig;
  rig.Focus();
  {
    TpsCaret caret(rig.Control, false, &rig.Manager, &rig.Canvas);
    caret.SetBounds(10, 130, 2, 15);
    caret.SetVisible(true);
    Pump();
    const QImage screen = rig.Control->Widget()->grab().toImage();
    screen.save("caret_grab.png");
    // Inverted white: black on the screen copy, white in the buffer.
    for (int y = 10; y < 25; ++y)
      for (int x = 10; x < 12; ++x) EXPECT_EQ(Pixel(screen, x, y), vcl::clBlack) << x << "," << y;
    EXPECT_EQ(Pixel(screen, 12, 10), vcl::clWhite);
    EXPECT_EQ(Pixel(screen, 10, 25), vcl::clWhite);
    EXPECT_EQ(Pixel(screen, 9, 9), vcl::clWhite);
    EXPECT_EQ(rig.Control->Canvas()->Pixels(10, 10), vcl::clWhite);
    EXPECT_EQ(rig.Control->Canvas()->Pixels(11, 24), vcl::clWhite);
  }
  // Destroyed with its owner object.
  EXPECT_EQ(vcl::GetCaretState().Owner, 0u);
}

TEST(ScrollBars, TheBaseAnswersNothing) {
  TpsScrollBar bar(sbkHorizontal);
  bar.SetPosition(5);
  bar.SetRange(10);
  bar.SetVisible(true);
  bar.SetTracking(true);
  bar.SetEnabled(true);
  EXPECT_EQ(bar.Kind, sbkHorizontal);
  EXPECT_FALSE(bar.GetEnabled());
  EXPECT_EQ(bar.GetPosition(), -1);
  EXPECT_EQ(bar.GetRange(), -1);
  EXPECT_FALSE(bar.GetTracking());
  EXPECT_FALSE(bar.GetVisible());
}

TEST(ScrollBars, OverTheControlsOwnBars) {
  CaretRig rig;
  rig.Form->Show();
  Pump();
  const vcl::HWND h = rig.Control->Handle();
  TpsVCLScrollBar vert(sbkVertical, &rig.Control->VertScrollBar(), rig.Control);
  TpsVCLScrollBar horz(sbkHorizontal, &rig.Control->HorzScrollBar(), rig.Control);
  EXPECT_FALSE(vert.GetEnabled());
  EXPECT_TRUE(vert.GetVisible());
  vert.SetRange(1000);
  EXPECT_EQ(vert.GetRange(), 1000);
  const Integer page = rig.Control->VertScrollBar().PageSize();
  EXPECT_EQ(page, rig.Control->ClientHeight());
  vcl::SCROLLINFO info;
  info.fMask = vcl::SIF_ALL;
  ASSERT_TRUE(vcl::GetScrollInfo(h, vcl::SB_VERT, &info));
  EXPECT_EQ(info.nMax, 999);
  EXPECT_EQ(static_cast<Integer>(info.nPage), page);
  vert.SetPosition(300);
  EXPECT_EQ(vert.GetPosition(), 300);
  EXPECT_EQ(vcl::GetScrollPos(h, vcl::SB_VERT), 300);
  vert.SetPosition(5000);  // kept within the range
  EXPECT_EQ(vert.GetPosition(), 1000 - page);

  // The user's requests move the position; the thumb's drag only with
  // tracking.
  vert.SetPosition(100);
  rig.Control->Perform(vcl::WM_VSCROLL, vcl::MakeWParam(vcl::SB_LINEDOWN, 0), 0);
  EXPECT_EQ(vert.GetPosition(), 108);
  rig.Control->Perform(vcl::WM_VSCROLL, vcl::MakeWParam(vcl::SB_PAGEUP, 0), 0);
  EXPECT_EQ(vert.GetPosition(), 0);
  rig.Control->Perform(vcl::WM_VSCROLL, vcl::MakeWParam(vcl::SB_THUMBTRACK, 250), 0);
  EXPECT_EQ(vert.GetPosition(), 0);
  vert.SetTracking(true);
  EXPECT_TRUE(vert.GetTracking());
  rig.Control->Perform(vcl::WM_VSCROLL, vcl::MakeWParam(vcl::SB_THUMBTRACK, 250), 0);
  EXPECT_EQ(vert.GetPosition(), 250);
  rig.Control->Perform(vcl::WM_VSCROLL, vcl::MakeWParam(vcl::SB_BOTTOM, 0), 0);
  EXPECT_EQ(vert.GetPosition(), 1000 - page);

  // Disabling the vertical bar disables both its arrows, and only its.
  vert.SetEnabled(false);
  EXPECT_EQ(vcl::GetScrollBarArrows(h, vcl::SB_VERT), vcl::ESB_DISABLE_BOTH);
  EXPECT_EQ(vcl::GetScrollBarArrows(h, vcl::SB_HORZ), vcl::ESB_ENABLE_BOTH);
  vert.SetEnabled(true);
  EXPECT_EQ(vcl::GetScrollBarArrows(h, vcl::SB_VERT), vcl::ESB_ENABLE_BOTH);
  horz.SetEnabled(false);
  EXPECT_EQ(vcl::GetScrollBarArrows(h, vcl::SB_HORZ), vcl::ESB_DISABLE_BOTH);

  // The horizontal bar answers its own requests, leaving the vertical one.
  horz.SetRange(1000);
  horz.SetPosition(40);
  const Integer vertical = vert.GetPosition();
  rig.Control->Perform(vcl::WM_HSCROLL, vcl::MakeWParam(vcl::SB_LINEDOWN, 0), 0);
  EXPECT_EQ(horz.GetPosition(), 48);
  rig.Control->Perform(vcl::WM_HSCROLL, vcl::MakeWParam(vcl::SB_TOP, 0), 0);
  EXPECT_EQ(horz.GetPosition(), 0);
  EXPECT_EQ(vert.GetPosition(), vertical);
  EXPECT_EQ(vcl::GetScrollPos(h, vcl::SB_HORZ), 0);

  // A range that fits, or a hidden bar, shows no bar.
  horz.SetRange(50);
  EXPECT_EQ(horz.GetPosition(), 0);
  info.fMask = vcl::SIF_ALL;
  vcl::GetScrollInfo(h, vcl::SB_HORZ, &info);
  EXPECT_LE(info.nMax - info.nMin + 1, static_cast<Integer>(info.nPage));
  vert.SetVisible(false);
  EXPECT_FALSE(vert.GetVisible());
  vcl::GetScrollInfo(h, vcl::SB_VERT, &info);
  EXPECT_EQ(info.nMax, 0);
  EXPECT_EQ(vert.GetRange(), 1000);
}

}  // namespace
