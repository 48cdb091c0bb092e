// A control that claims a border: its client area, its children, its
// canvases, mouse positions, and when the border is painted.
#include <gtest/gtest.h>

#include <QTest>

#include "TestSupport.h"
#include "vcl/Gdi.h"
#include "vcl/Pictures.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

using namespace vcl;
using namespace vcltest;

namespace {

// Claims left 3, top 1, right 2, bottom 4 pixels (or nothing).
class Bordered : public Recorder {
 public:
  using Recorder::Recorder;
  TRect claim{3, 1, 2, 4};
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_NCCALCSIZE) {
      auto* r = reinterpret_cast<TRect*>(m.LParam);
      *r = {r->Left + claim.Left, r->Top + claim.Top, r->Right - claim.Right, r->Bottom - claim.Bottom};
    }
    Recorder::Dispatch(m);
  }
};

int Count(const Recorder* r, Cardinal msg) {
  int n = 0;
  for (const TMessage& m : r->log) n += m.Msg == msg;
  return n;
}

class NonClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm(200, 150);
    box = new Bordered(form);
    box->SetBounds(10, 20, 60, 40);
    box->SetColor(clWhite);
    box->fill = clYellow;
    box->SetParent(form);
    form->Show();
    Pump();
    box->Update();
  }
  void TearDown() override { Free(form); }
  TForm* form = nullptr;
  Bordered* box = nullptr;
};

}  // namespace

TEST_F(NonClientTest, ClientAreaLiesInsideTheClaimedBorder) {
  EXPECT_EQ(box->NonClientInsets(), Rect(3, 1, 2, 4));
  EXPECT_EQ(box->ClientRect(), Rect(0, 0, 55, 35));
  TPoint formOrigin = form->ClientOrigin();
  EXPECT_EQ(box->ClientOrigin(), (TPoint{formOrigin.X + 13, formOrigin.Y + 21}));

  // The client canvas starts at the client corner and stops at its edge.
  auto window = GetWindowDC(box->Handle());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Pixels(3, 1), clYellow);
  EXPECT_EQ(window->Pixels(57, 35), clYellow);
  EXPECT_NE(window->Pixels(2, 1), clYellow);
  EXPECT_NE(window->Pixels(58, 35), clYellow);
  EXPECT_NE(window->Pixels(57, 36), clYellow);
  box->Canvas()->Brush()->SetColor(clRed);
  box->Canvas()->FillRect(Rect(-5, -5, 100, 100));
  EXPECT_EQ(window->Pixels(3, 1), clRed);
  EXPECT_NE(window->Pixels(2, 0), clRed);
  EXPECT_NE(window->Pixels(59, 39), clRed);
  EXPECT_EQ(box->Canvas()->Pixels(0, 0), clRed);

}

TEST_F(NonClientTest, DefaultBorderFollowsTheTheme) {
  // Themed: the style's frame of a sunken field, drawn in the border only.
  ASSERT_TRUE(IsThemeActive());
  auto window = GetWindowDC(box->Handle());
  TColor themedCorner = window->Pixels(0, 20);
  EXPECT_NE(themedCorner, clWhite);
  EXPECT_EQ(window->Pixels(3, 1), clYellow);
  // Unthemed: the sunken edge in the window colours; the switch repaints
  // the border by itself.
  box->only = {WM_NCPAINT, WM_THEMECHANGED};
  box->log.clear();
  SetThemeActive(false);
  box->Update();
  EXPECT_EQ(box->Numbers(), (std::vector<Cardinal>{WM_THEMECHANGED, WM_NCPAINT}));
  EXPECT_EQ(window->Pixels(0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(window->Pixels(1, 1), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(window->Pixels(59, 39), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(window->Pixels(2, 20), clWhite);  // the rest of the border: the control's colour
  EXPECT_EQ(window->Pixels(3, 1), clYellow);
  SetThemeActive(true);
  box->Update();
  EXPECT_EQ(window->Pixels(0, 20), themedCorner);
  TBitmap grab(60, 40);
  grab.Canvas()->CopyRect(Rect(0, 0, 60, 40), window.get(), Rect(0, 0, 60, 40));
  TPngImage png;
  png.Assign(&grab);
  png.SaveToFile(AnsiString(TOLVANE_BUILD_DIR) + "/vcl-themed-border.png");
}

TEST_F(NonClientTest, ChildrenAndMousePositionsAreClientRelative) {
  auto* child = new Recorder(form);
  child->fill = clBlue;
  child->SetBounds(0, 0, 10, 10);
  child->SetParent(box);
  Pump();
  EXPECT_EQ(child->Widget()->geometry().topLeft(), QPoint(3, 1));
  EXPECT_EQ(child->ClientOrigin(), box->ClientOrigin());

  box->only = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE};
  box->log.clear();
  QTest::mouseClick(box->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(23, 11));
  ASSERT_EQ(box->log.size(), 2u);
  EXPECT_EQ(GET_X_LPARAM(box->log[0].LParam), 20);
  EXPECT_EQ(GET_Y_LPARAM(box->log[0].LParam), 10);
  // A click on the border is no client click.
  box->log.clear();
  QTest::mouseClick(box->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(1, 20));
  QTest::mouseMove(box->Widget(), QPoint(30, 38));
  EXPECT_TRUE(box->log.empty());
  // A drag that began inside goes on over the border and ends there.
  QTest::mousePress(box->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QMouseEvent move(QEvent::MouseMove, QPointF(1, 38), box->Widget()->mapToGlobal(QPointF(1, 38)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(box->Widget(), &move);
  QTest::mouseRelease(box->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(1, 38));
  EXPECT_EQ(box->Numbers(), (std::vector<Cardinal>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
  EXPECT_EQ(GET_X_LPARAM(box->log.back().LParam), -2);
  EXPECT_EQ(GET_Y_LPARAM(box->log.back().LParam), 37);
}

TEST_F(NonClientTest, TheBorderIsPaintedWhenItsFrameIsRedrawn) {
  box->only = {WM_PAINT, WM_NCPAINT};
  box->log.clear();
  box->Invalidate();
  box->Update();
  EXPECT_EQ(Count(box, WM_PAINT), 1);
  EXPECT_EQ(Count(box, WM_NCPAINT), 0);

  box->log.clear();
  ASSERT_TRUE(RedrawWindow(box->Handle(), nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW));
  EXPECT_EQ(box->Numbers(), (std::vector<Cardinal>{WM_NCPAINT, WM_PAINT}));
  box->log.clear();
  TRect none{};
  RedrawWindow(box->Handle(), &none, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(box->Numbers(), (std::vector<Cardinal>{WM_NCPAINT}));
  box->log.clear();
  RedrawWindow(box->Handle(), nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOFRAME | RDW_VALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(box->log.empty());
  EXPECT_FALSE(RedrawWindow(0, nullptr, RDW_INVALIDATE));

  // A control without a border never gets WM_NCPAINT.
  auto* plain = new Recorder(form);
  plain->SetBounds(100, 20, 30, 30);
  plain->SetParent(form);
  Pump();
  plain->only = {WM_NCPAINT, WM_PAINT};
  plain->log.clear();
  RedrawWindow(plain->Handle(), nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(plain->Numbers(), (std::vector<Cardinal>{WM_PAINT}));
  EXPECT_EQ(plain->ClientRect(), Rect(0, 0, 30, 30));
}

TEST_F(NonClientTest, ClipBoxesOfVisibleAndHiddenWindows) {
  TRect r;
  auto dc = GetDC(box->Handle());
  EXPECT_EQ(GetClipBox(dc.get(), r), SIMPLEREGION);
  EXPECT_EQ(r, Rect(0, 0, 55, 35));
  auto window = GetWindowDC(box->Handle());
  EXPECT_EQ(GetClipBox(window.get(), r), SIMPLEREGION);
  EXPECT_EQ(r, Rect(0, 0, 60, 40));
  window->ExcludeClipRect(Rect(10, 10, 20, 20));
  EXPECT_EQ(GetClipBox(window.get(), r), COMPLEXREGION);

  box->Hide();
  auto hidden = GetDC(box->Handle());
  EXPECT_EQ(GetClipBox(hidden.get(), r), NULLREGION);
  EXPECT_TRUE(r.IsEmpty());
  hidden->Brush()->SetColor(clRed);
  hidden->FillRect(Rect(0, 0, 10, 10));
  box->Show();
  EXPECT_NE(box->Canvas()->Pixels(1, 1), clRed);

  EXPECT_EQ(GetDC(0), nullptr);
  TCanvas bare;
  EXPECT_EQ(GetClipBox(&bare, r), RGN_ERROR);
  EXPECT_EQ(GetClipBox(nullptr, r), RGN_ERROR);
}

TEST_F(NonClientTest, AChangedBorderResizesTheClientArea) {
  auto* child = new Recorder(form);
  child->SetBounds(0, 0, 10, 10);
  child->SetParent(box);
  Pump();
  box->only = {WM_SIZE, WM_NCCALCSIZE};
  box->log.clear();
  box->claim = {};
  box->UpdateNonClientArea();
  EXPECT_EQ(box->Numbers(), (std::vector<Cardinal>{WM_NCCALCSIZE, WM_SIZE}));
  EXPECT_EQ(box->ClientRect(), Rect(0, 0, 60, 40));
  EXPECT_EQ(child->Widget()->geometry().topLeft(), QPoint(0, 0));
  box->Update();
  EXPECT_EQ(box->Canvas()->Pixels(0, 0), clYellow);

  // Resizing asks again and keeps the claimed border.
  box->claim = {2, 2, 2, 2};
  box->log.clear();
  box->SetBounds(10, 20, 80, 50);
  EXPECT_EQ(box->ClientRect(), Rect(0, 0, 76, 46));
  ASSERT_FALSE(box->log.empty());
  EXPECT_EQ(box->log.front().Msg, static_cast<Cardinal>(WM_NCCALCSIZE));
  EXPECT_EQ(box->log.back().Msg, static_cast<Cardinal>(WM_SIZE));
  EXPECT_EQ(box->log.back().LParamLo(), 76);
}
