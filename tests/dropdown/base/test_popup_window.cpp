// The pop-up window on the offscreen platform: its window kind and owner,
// its own deactivation (a press outside before the press is delivered, the
// active window moving to one it does not own, never to its own menus,
// hints or nested pop-ups), the owner's caption kept active, and the
// grip's resize by our own tracking where the platform offers none.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Messages.h"
#include "vcl/PopupWindow.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

// Records what passes the pop-up's own message filter, and what the owner
// form is told about its caption.
class PopupProbeForm : public TPopupForm {
 public:
  explicit PopupProbeForm(TComponent* owner, std::vector<std::string>* log) : TPopupForm(owner), log_(log) {}
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_ACTIVATE) log_->push_back(m.WParam == WA_INACTIVE ? "inactive" : "active");
    TPopupForm::Dispatch(m);
  }

 private:
  std::vector<std::string>* log_;
};

class OwnerProbeForm : public TForm {
 public:
  explicit OwnerProbeForm(std::vector<std::string>* log) : TForm(Application, 0), log_(log) {}
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_NCACTIVATE) log_->push_back(m.WParam ? "caption on" : "caption off");
    TForm::Dispatch(m);
  }

 private:
  std::vector<std::string>* log_;
};

struct PopupRig {
  std::vector<std::string> log;
  OwnerProbeForm* owner = nullptr;
  TPanel* ownerPanel = nullptr;
  PopupProbeForm* popup = nullptr;
  TPanel* popupPanel = nullptr;

  PopupRig() {
    owner = new OwnerProbeForm(&log);
    owner->SetBounds(20, 20, 300, 200);
    ownerPanel = new TPanel(owner);
    ownerPanel->SetParent(owner);
    ownerPanel->SetBounds(10, 10, 100, 30);
    ownerPanel->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      log.push_back("owner press");
    };
    owner->Show();
    Pump();
    popup = new PopupProbeForm(Application, &log);
    popup->SetBounds(40, 70, 120, 90);
    popupPanel = new TPanel(popup);
    popupPanel->SetParent(popup);
    popupPanel->SetBounds(5, 5, 60, 40);
    popupPanel->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      log.push_back("popup press");
    };
    popup->SetPopupParent(ownerPanel);
    popup->OnPopupDeactivate = [this](TPopupForm* p) {
      log.push_back("deactivate");
      p->HidePopup();
    };
  }
  ~PopupRig() {
    Free(popup);
    Free(owner);
  }
  void Open() {
    popup->ShowPopup();
    Pump();
    log.clear();
  }
};

TEST(PopupForm, IsAFramelessToolWindowAboveItsOwnerFormAndActive) {
  PopupRig rig;
  rig.Open();
  QWidget* frame = rig.popup->WindowWidget();
  EXPECT_TRUE(frame->isVisible());
  Qt::WindowFlags f = frame->windowFlags();
  EXPECT_EQ(f & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_TRUE(f.testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(f.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(f.testFlag(Qt::NoDropShadowWindowHint));
  ASSERT_NE(frame->windowHandle(), nullptr);
  EXPECT_EQ(frame->windowHandle()->transientParent(), rig.owner->WindowWidget()->windowHandle());
  EXPECT_TRUE(rig.popup->Active());
  EXPECT_TRUE(rig.popup->PopupShowing());
  EXPECT_EQ(QGuiApplication::focusWindow(), frame->windowHandle());

  // Without the shadow wish, and shown again after a hide.
  rig.popup->HidePopup();
  Pump();
  EXPECT_FALSE(frame->isVisible());
  rig.popup->SetDropShadow(false);
  rig.Open();
  EXPECT_TRUE(rig.popup->WindowWidget()->windowFlags().testFlag(Qt::NoDropShadowWindowHint));
  EXPECT_TRUE(rig.popup->WindowWidget()->isVisible());
}

TEST(PopupForm, APressOutsideDeactivatesBeforeThePressIsDelivered) {
  PopupRig rig;
  rig.Open();
  // Inside: the pop-up stays.
  QTest::mousePress(rig.popupPanel->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseRelease(rig.popupPanel->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  Pump();
  EXPECT_EQ(rig.log, (std::vector<std::string>{"popup press"}));
  EXPECT_TRUE(rig.popup->PopupShowing());
  rig.log.clear();
  // Outside, on the owner form: the verdict first, then the press.
  QTest::mousePress(rig.ownerPanel->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseRelease(rig.ownerPanel->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  Pump();
  ASSERT_GE(rig.log.size(), 3u);
  EXPECT_EQ(rig.log[0], "inactive");
  EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "deactivate"), 1);
  EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "inactive"), 1);
  auto deactivated = std::find(rig.log.begin(), rig.log.end(), "deactivate");
  auto pressed = std::find(rig.log.begin(), rig.log.end(), "owner press");
  ASSERT_NE(pressed, rig.log.end());
  EXPECT_LT(deactivated, pressed);
  EXPECT_FALSE(rig.popup->PopupShowing());
  EXPECT_FALSE(rig.popup->WindowWidget()->isVisible());
  // Closed, a press outside says nothing more.
  rig.log.clear();
  QTest::mousePress(rig.ownerPanel->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseRelease(rig.ownerPanel->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  Pump();
  EXPECT_EQ(rig.log, (std::vector<std::string>{"owner press"}));
}

TEST(PopupForm, KeepsTheOwnerCaptionActiveWhileItIs) {
  PopupRig rig;
  rig.log.clear();
  rig.popup->ShowPopup();
  Pump();
  EXPECT_NE(std::find(rig.log.begin(), rig.log.end(), "caption on"), rig.log.end());
  rig.log.clear();
  // The owner itself becoming active again: its caption stays on.
  rig.owner->WindowWidget()->activateWindow();
  Pump();
  EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "deactivate"), 1);
  EXPECT_NE(std::find(rig.log.begin(), rig.log.end(), "caption on"), rig.log.end());
}

// Where the active window goes while the pop-up is open, and whether the
// pop-up takes that as its deactivation.
TEST(PopupForm, TheActiveWindowMovingAwayDeactivatesUnlessThePopupOwnsIt) {
  struct Case {
    const char* name;
    Qt::WindowType type;
    bool ownedByPopup;  // transient parent the pop-up's window
    bool deactivates;
  };
  const Case cases[] = {
      {"menu opened inside", Qt::Popup, false, false},
      {"hint", Qt::ToolTip, false, false},
      {"nested pop-up", Qt::Tool, true, false},
      {"dialog of the pop-up", Qt::Dialog, true, false},
      {"another form", Qt::Window, false, true},
      {"another tool window", Qt::Tool, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PopupRig rig;
    rig.Open();
    QWidget other(nullptr, c.type);
    other.setGeometry(200, 200, 50, 40);
    other.winId();
    if (c.ownedByPopup) other.windowHandle()->setTransientParent(rig.popup->WindowWidget()->windowHandle());
    EXPECT_EQ(rig.popup->OwnsWindow(other.windowHandle()), !c.deactivates);
    other.show();
    other.activateWindow();
    Pump();
    EXPECT_EQ(QGuiApplication::focusWindow(), other.windowHandle());
    // A press on it too.
    QTest::mousePress(&other, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&other, Qt::LeftButton, {}, QPoint(2, 2));
    Pump();
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "deactivate"), c.deactivates ? 1 : 0);
    EXPECT_EQ(rig.popup->PopupShowing(), !c.deactivates);
    // The window system's own loss of activation never passes as ours.
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "inactive"), c.deactivates ? 1 : 0);
    other.hide();
  }
}

TEST(PopupForm, ShownAgainWhileOpenItStillFollowsTheActiveWindow) {
  PopupRig rig;
  rig.Open();
  rig.popup->ShowPopup();  // already shown and active
  Pump();
  QWidget other(nullptr, Qt::Window);
  other.setGeometry(220, 220, 40, 30);
  other.show();
  other.activateWindow();
  Pump();
  EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "deactivate"), 1);
  EXPECT_FALSE(rig.popup->PopupShowing());
}

TEST(PopupForm, WithoutAHandlerItIsToldOnceAndStaysVisible) {
  // No handler: the pop-up is told, stays visible, and is told only once.
  PopupRig rig;
  rig.popup->OnPopupDeactivate = nullptr;
  rig.Open();
  QTest::mousePress(rig.ownerPanel->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseRelease(rig.ownerPanel->Widget(), Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mousePress(rig.ownerPanel->Widget(), Qt::LeftButton, {}, QPoint(4, 4));
  QTest::mouseRelease(rig.ownerPanel->Widget(), Qt::LeftButton, {}, QPoint(4, 4));
  Pump();
  EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "inactive"), 1);
  EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "owner press"), 2);
  EXPECT_FALSE(rig.popup->PopupShowing());
  EXPECT_TRUE(rig.popup->WindowWidget()->isVisible());
}

TEST(PopupForm, TheGripResizesByOurOwnTrackingWithTheMouseGrabbed) {
  PopupRig rig;
  rig.popup->SetMinimumTrackSize({50, 40});
  int resized = 0;
  rig.popup->OnGripResized = [&](TPopupForm*) { ++resized; };
  rig.Open();
  QWidget* frame = rig.popup->WindowWidget();
  const QPoint corner(frame->width() - 2, frame->height() - 2);
  QCursor::setPos(frame->mapToGlobal(corner));
  rig.popup->Perform(WM_NCLBUTTONDOWN, HT_BOTTOMRIGHT_CORNER, 0);
  ASSERT_TRUE(rig.popup->GripResizing());  // offscreen offers no system resize
  EXPECT_EQ(QWidget::mouseGrabber(), frame);
  QTest::mouseMove(frame, corner + QPoint(30, 20));
  Pump();
  EXPECT_EQ(rig.popup->Width(), 150);
  EXPECT_EQ(rig.popup->Height(), 110);
  // Below the smallest size: held there.
  QTest::mouseMove(frame, corner - QPoint(100, 100));
  Pump();
  EXPECT_EQ(rig.popup->Width(), 50);
  EXPECT_EQ(rig.popup->Height(), 40);
  // The release ends it where the mouse is; nothing of the drag counted as a
  // press outside.
  QTest::mouseRelease(frame, Qt::LeftButton, {}, corner + QPoint(10, 5));
  Pump();
  EXPECT_FALSE(rig.popup->GripResizing());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(rig.popup->Width(), 130);
  EXPECT_EQ(rig.popup->Height(), 95);
  EXPECT_EQ(resized, 1);
  EXPECT_TRUE(rig.popup->PopupShowing());
  EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "deactivate"), 0);
  // Other hit-test codes are not the grip's.
  rig.popup->Perform(WM_NCLBUTTONDOWN, 2, 0);
  EXPECT_FALSE(rig.popup->GripResizing());
}

TEST(PopupForm, ScreenFactsComeFromTheScreens) {
  auto areas = ScreenAreas();
  ASSERT_EQ(areas.size(), static_cast<size_t>(QGuiApplication::screens().size()));
  ASSERT_FALSE(areas.empty());
  QRect g = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(areas[0].Bounds, Bounds(g.x(), g.y(), g.width(), g.height()));
  TRect work = PrimaryWorkArea();
  EXPECT_FALSE(work.IsEmpty());
  EXPECT_GE(work.Left, areas[0].Bounds.Left);
  EXPECT_LE(work.Right, areas[0].Bounds.Right);
  EXPECT_EQ(areas[0].Bounds.Height(), GetSystemMetrics(SM_CYSCREEN));
}

}  // namespace
}  // namespace dropdown
