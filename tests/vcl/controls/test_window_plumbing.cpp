// Window procedure hooks, style bits, recreating windows, hit tests, mouse
// activation, keyboard cues, canvas window origins and the forms' title bar
// and owner.
#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>

#include "TestSupport.h"
#include "vcl/ActnList.h"
#include "vcl/Gdi.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

using namespace vcl;
using namespace vcltest;

namespace {

class PlumbingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm(200, 150);
    rec = new Recorder(form);
    rec->SetBounds(10, 10, 80, 60);
    rec->SetParent(form);
    form->Show();
    Pump();
  }
  void TearDown() override { Free(form); }
  TForm* form = nullptr;
  Recorder* rec = nullptr;
};

constexpr Cardinal kProbe = WM_USER + 7;

}  // namespace

TEST_F(PlumbingTest, HooksChainNewestFirstAndLeaveInAnyOrder) {
  std::vector<std::string> seen;
  rec->only = {kProbe};
  rec->log.clear();
  auto hook = [&](const char* name, bool passOn) {
    return [&seen, name, passOn](TMessage& m, const TControl::TWndMethod& next) {
      seen.push_back(name);
      if (passOn) next(m);
    };
  };
  Integer a = rec->AddWindowHook(hook("a", true));
  Integer b = rec->AddWindowHook(hook("b", true));
  Integer c = rec->AddWindowHook(hook("c", true));
  SendMessage(rec->Handle(), kProbe);
  EXPECT_EQ(seen, (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(rec->log.size(), 1u);

  // Taking out the middle one leaves the others chained.
  seen.clear();
  rec->RemoveWindowHook(b);
  rec->Perform(kProbe);
  EXPECT_EQ(seen, (std::vector<std::string>{"c", "a"}));
  // A hook that does not pass on ends the message there.
  seen.clear();
  rec->log.clear();
  Integer stop = rec->AddWindowHook(hook("stop", false));
  rec->Perform(kProbe);
  EXPECT_EQ(seen, (std::vector<std::string>{"stop"}));
  EXPECT_TRUE(rec->log.empty());
  rec->RemoveWindowHook(stop);

  // A hook removed while the message passes is not reached.
  seen.clear();
  Integer remover = rec->AddWindowHook([&](TMessage& m, const TControl::TWndMethod& next) {
    seen.push_back("remover");
    rec->RemoveWindowHook(c);
    next(m);
  });
  rec->Perform(kProbe);
  EXPECT_EQ(seen, (std::vector<std::string>{"remover", "a"}));
  rec->RemoveWindowHook(remover);
  rec->RemoveWindowHook(a);
  rec->RemoveWindowHook(a);  // twice: nothing
  seen.clear();
  rec->log.clear();
  rec->Perform(kProbe);
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(rec->log.size(), 1u);
}

TEST_F(PlumbingTest, StyleBitsRecreationAndStyleChanges) {
  HWND h = rec->Handle();
  intptr_t style = GetWindowLong(h, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_TRUE(style & WS_TABSTOP);
  rec->SetEnabled(false);
  EXPECT_TRUE(GetWindowLong(h, GWL_STYLE) & WS_DISABLED);
  rec->SetEnabled(true);
  EXPECT_EQ(GetClassLong(h, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);

  rec->only = {WM_STYLECHANGED};
  rec->log.clear();
  Cardinal seenOld = 0, seenNew = 0;
  rec->onMessage = [&](TMessage& m) {
    if (m.Msg != WM_STYLECHANGED) return;
    auto* change = reinterpret_cast<const STYLESTRUCT*>(m.LParam);
    seenOld = change->styleOld;
    seenNew = change->styleNew;
  };
  EXPECT_EQ(SetWindowLong(h, GWL_EXSTYLE, WS_EX_TRANSPARENT), 0);
  EXPECT_EQ(GetWindowLong(h, GWL_EXSTYLE), static_cast<intptr_t>(WS_EX_TRANSPARENT));
  EXPECT_EQ(seenNew, WS_EX_TRANSPARENT);
  SetWindowLong(h, GWL_STYLE, style | 0x80);
  EXPECT_EQ(seenOld, static_cast<Cardinal>(style));
  EXPECT_EQ(seenNew, static_cast<Cardinal>(style | 0x80));
  SetWindowLong(h, GWL_STYLE, style | 0x80);  // unchanged: no message
  EXPECT_EQ(rec->log.size(), 2u);
  rec->onMessage = nullptr;

  // A new window: children destroyed first, all told, made again.
  auto* child = new Recorder(form);
  child->SetBounds(5, 5, 20, 20);
  child->SetParent(rec);
  Pump();
  HWND oldChild = child->Handle();
  rec->only = {WM_DESTROY, WM_CREATE};
  child->only = {WM_DESTROY, WM_CREATE};
  rec->log.clear();
  child->log.clear();
  std::vector<std::pair<TControl*, Cardinal>> order;
  rec->onMessage = [&](TMessage& m) {
    if (m.Msg == WM_DESTROY || m.Msg == WM_CREATE) order.push_back({rec, m.Msg});
  };
  child->onMessage = [&](TMessage& m) {
    if (m.Msg == WM_DESTROY || m.Msg == WM_CREATE) order.push_back({child, m.Msg});
  };
  rec->RecreateWnd();
  // A parent's WM_CREATE comes once its children's windows are made.
  EXPECT_EQ(order, (std::vector<std::pair<TControl*, Cardinal>>{
                       {child, WM_DESTROY}, {rec, WM_DESTROY}, {child, WM_CREATE}, {rec, WM_CREATE}}));
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(IsWindow(oldChild));
  EXPECT_TRUE(IsWindow(rec->Handle()));
  EXPECT_EQ(child->Widget()->parentWidget(), rec->Widget());
  EXPECT_TRUE(child->Widget()->isVisible());
  // The style starts again from the creation parameters.
  EXPECT_EQ(GetWindowLong(rec->Handle(), GWL_EXSTYLE), 0);
  rec->onMessage = nullptr;
  child->onMessage = nullptr;
  rec->Update();
  EXPECT_EQ(rec->Canvas()->Pixels(1, 1), clWhite);
}

TEST_F(PlumbingTest, HitTestsAndMouseActivation) {
  // A graphic child that answers "not here" for its left half.
  class Half : public TGraphicControl {
   public:
    using TGraphicControl::TGraphicControl;
    void Dispatch(TMessage& m) override {
      if (m.Msg == CM_HITTEST) {
        m.Result = GET_X_LPARAM(m.LParam) >= Width() / 2 ? HTCLIENT : HTNOWHERE;
        return;
      }
      TGraphicControl::Dispatch(m);
    }
  };
  auto* half = new Half(form);
  half->SetBounds(100, 10, 40, 20);
  half->SetParent(form);
  EXPECT_EQ(form->ControlAtPos({105, 15}, false), nullptr);
  EXPECT_EQ(form->ControlAtPos({125, 15}, false), half);

  // The form hears of each press first; an eating answer drops the press.
  LRESULT answer = MA_ACTIVATE;
  int asked = 0;
  TForm* f = form;
  Integer hook = f->AddWindowHook([&](TMessage& m, const TControl::TWndMethod& next) {
    if (m.Msg == WM_MOUSEACTIVATE) {
      ++asked;
      EXPECT_EQ(m.WParam, f->Handle());
      EXPECT_EQ(m.LParamHi(), WM_LBUTTONDOWN);
      m.Result = answer;
      return;
    }
    next(m);
  });
  rec->only = {WM_LBUTTONDOWN};
  rec->log.clear();
  QTest::mouseClick(rec->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(rec->log.size(), 1u);
  answer = MA_NOACTIVATEANDEAT;
  QTest::mouseClick(rec->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));  // far: no double click
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(rec->log.size(), 1u);
  f->RemoveWindowHook(hook);
}

TEST_F(PlumbingTest, KeyboardCuesTravelUpAndDown) {
  auto* inner = new Recorder(form);
  inner->SetBounds(5, 5, 20, 20);
  inner->SetParent(rec);
  Pump();
  rec->only = {WM_UPDATEUISTATE};
  inner->only = {WM_CHANGEUISTATE, WM_UPDATEUISTATE};
  inner->log.clear();
  rec->log.clear();
  WPARAM clearFocus = MakeWParam(UIS_CLEAR, UISF_HIDEFOCUS);
  inner->Perform(WM_CHANGEUISTATE, clearFocus);
  EXPECT_EQ(inner->Numbers(), (std::vector<Cardinal>{WM_CHANGEUISTATE, WM_UPDATEUISTATE}));
  EXPECT_EQ(rec->Numbers(), (std::vector<Cardinal>{WM_UPDATEUISTATE}));
  EXPECT_EQ(inner->log.back().WParam, clearFocus);
  EXPECT_EQ(inner->Perform(WM_QUERYUISTATE), 0);
}

TEST_F(PlumbingTest, CanvasWindowOriginMovesDrawingAndKeepsClipping) {
  TBitmap b(20, 20);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 20, 20));
  TPoint old{-1, -1};
  ASSERT_TRUE(SetWindowOrgEx(c, 5, 3, &old));
  EXPECT_EQ(old, (TPoint{0, 0}));
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(5, 3, 7, 5));  // lands on the device corner
  EXPECT_EQ(c->Pixels(5, 3), clRed);
  ASSERT_TRUE(SetWindowOrgEx(c, 0, 0, &old));
  EXPECT_EQ(old, (TPoint{5, 3}));
  EXPECT_EQ(c->Pixels(0, 0), clRed);
  EXPECT_EQ(c->Pixels(1, 1), clRed);
  EXPECT_EQ(c->Pixels(2, 2), clWhite);
  // A clip set before stays where it was on the device.
  c->IntersectClipRect(Rect(10, 10, 12, 12));
  OffsetWindowOrgEx(c, -10, -10, nullptr);
  TPoint now;
  ASSERT_TRUE(GetWindowOrgEx(c, &now));
  EXPECT_EQ(now, (TPoint{-10, -10}));
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(-10, -10, 10, 10));  // device 0..19, clipped to 10..11
  EXPECT_EQ(c->Pixels(0, 0), clBlue);   // logical (0, 0) is device (10, 10)
  EXPECT_EQ(c->Pixels(2, 2), CLR_INVALID);  // device (12, 12): clipped away
  c->SelectClipRegion(nullptr);
  EXPECT_EQ(c->Pixels(-10, -10), clRed);
  EXPECT_EQ(c->Pixels(2, 2), clWhite);
  EXPECT_FALSE(SetWindowOrgEx(nullptr, 1, 1, nullptr));

  Cardinal lines = 0;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  EXPECT_EQ(lines, 3u);
  EXPECT_FALSE(SystemParametersInfo(0x1234, 0, &lines, 0));
}

TEST_F(PlumbingTest, TitleBarComesAndGoesAndTheClientAreaStays) {
  HWND h = form->Handle();
  TRect client = form->ClientRect();
  EXPECT_EQ(GetWindowLong(h, GWL_STYLE) & WS_CAPTION, static_cast<intptr_t>(WS_CAPTION));
  SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) & ~static_cast<intptr_t>(WS_CAPTION));
  EXPECT_TRUE(form->WindowWidget()->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form->ClientRect(), client);
  form->SetBorderStyle(bsToolWindow);
  EXPECT_EQ(GetWindowLong(h, GWL_STYLE) & WS_CAPTION, static_cast<intptr_t>(WS_CAPTION));
  EXPECT_TRUE(GetWindowLong(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(form->WindowWidget()->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form->ClientRect(), client);
  form->SetBorderIcons({});
  Qt::WindowFlags flags = form->WindowWidget()->windowFlags();
  EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
  EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(form->WindowWidget()->isVisible());
}

TEST_F(PlumbingTest, OwnerWindowsAndTheCloseRequestAsAltF4) {
  TForm* other = MakeForm(100, 80);
  other->Show();
  Pump();
  EXPECT_EQ(SetWindowLong(other->Handle(), GWL_HWNDPARENT, static_cast<intptr_t>(form->Handle())), 0);
  EXPECT_EQ(GetWindowLong(other->Handle(), GWL_HWNDPARENT), static_cast<intptr_t>(form->Handle()));
  ASSERT_NE(other->WindowWidget()->windowHandle(), nullptr);
  EXPECT_EQ(other->WindowWidget()->windowHandle()->transientParent(), form->WindowWidget()->windowHandle());
  EXPECT_EQ(GetWindowLong(rec->Handle(), GWL_HWNDPARENT), static_cast<intptr_t>(form->Handle()));

  // A close request goes to an Alt+F4 action first.
  auto* actions = new TActionList(other);
  auto* action = new TAction(actions);
  action->SetActionList(actions);
  action->SetShortCut(ShortCut(VK_F4, TShiftState{ssAlt}));
  int taken = 0;
  action->OnExecute = [&](TObject*) { ++taken; };
  other->WindowWidget()->close();
  Pump();
  EXPECT_EQ(taken, 1);
  EXPECT_TRUE(other->Visible());
  action->SetShortCut(0);
  other->WindowWidget()->close();
  Pump();
  EXPECT_FALSE(other->Visible());
  Free(other);
}
