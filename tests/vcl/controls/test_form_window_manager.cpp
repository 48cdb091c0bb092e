// What a form's window procedure hears when the window manager, not the
// program, moves the window or changes its state: the moving and moved
// messages, and the system command for a maximize, minimize or restore.
// The changes are made through the form's QWindow, the way the platform
// reports a window manager's doing.
#include <gtest/gtest.h>

#include <QWindow>

#include "TestSupport.h"
#include "vcl/WinApi.h"

using namespace vcl;
using namespace vcltest;

namespace {

struct Heard {
  Cardinal msg;
  WPARAM wParam;
  LPARAM lParam;
  TRect rect;   // what WM_MOVING points at
  TRect form;   // the form's bounds as the message arrives
  TWindowState state;
};

// A form whose window procedure notes the move and system-command messages.
class ListeningForm : public TForm {
 public:
  explicit ListeningForm(TComponent* owner) : TForm(owner, 0) {}
  std::vector<Heard> heard;
  std::vector<Cardinal> Numbers() const {
    std::vector<Cardinal> v;
    for (const Heard& h : heard) v.push_back(h.msg);
    return v;
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_MOVING || m.Msg == WM_MOVE || m.Msg == WM_SYSCOMMAND) {
      Heard h{m.Msg, m.WParam, m.LParam, {}, BoundsRect(), WindowState()};
      if (m.Msg == WM_MOVING) h.rect = *reinterpret_cast<TRect*>(m.LParam);
      heard.push_back(h);
    }
    TForm::Dispatch(m);
  }
};

ListeningForm* ShownForm() {
  auto* f = new ListeningForm(Application);
  f->SetBounds(20, 30, 300, 200);
  f->Show();
  Pump();
  f->heard.clear();
  return f;
}

}  // namespace

TEST(FormWindowManager, AMoveByTheWindowManagerArrivesAsMovingThenMove) {
  ListeningForm* form = ShownForm();
  QWindow* window = form->WindowWidget()->windowHandle();
  ASSERT_NE(window, nullptr);
  window->setPosition(140, 90);
  Pump();
  ASSERT_EQ(form->Numbers(), (std::vector<Cardinal>{WM_MOVING, WM_MOVE}));
  // Moving: the window's new rectangle, while the form still stands where
  // it was; moved: the form is there and the message says where its client
  // area starts.
  EXPECT_EQ(form->heard[0].rect, Bounds(140, 90, 300, 200));
  EXPECT_EQ(form->heard[0].form, Bounds(20, 30, 300, 200));
  EXPECT_EQ(form->heard[1].form, Bounds(140, 90, 300, 200));
  const TPoint client = form->ClientOrigin();
  EXPECT_EQ(GET_X_LPARAM(form->heard[1].lParam), client.X);
  EXPECT_EQ(GET_Y_LPARAM(form->heard[1].lParam), client.Y);
  EXPECT_EQ(form->Left(), 140);
  EXPECT_EQ(form->Top(), 90);

  // The program's own moves tell the window procedure nothing, and the
  // window stays where the program put it.
  form->heard.clear();
  form->SetBounds(60, 50, 300, 200);
  Pump();
  EXPECT_TRUE(form->heard.empty());
  EXPECT_EQ(form->WindowWidget()->geometry().topLeft(), QPoint(60, 50));
  EXPECT_EQ(form->Left(), 60);

  // A hidden form moved by the program and shown again hears nothing.
  form->Hide();
  form->SetBounds(70, 80, 300, 200);
  form->Show();
  Pump();
  EXPECT_TRUE(form->heard.empty());
  Free(form);
}

TEST(FormWindowManager, StateChangesByTheWindowManagerArriveAsSystemCommands) {
  ListeningForm* form = ShownForm();
  QWindow* window = form->WindowWidget()->windowHandle();
  ASSERT_NE(window, nullptr);
  struct Step {
    Qt::WindowStates states;
    WPARAM command;
    TWindowState state;
  };
  const Step steps[] = {{Qt::WindowMaximized, SC_MAXIMIZE, wsMaximized},
                        {Qt::WindowNoState, SC_RESTORE, wsNormal},
                        {Qt::WindowMinimized, SC_MINIMIZE, wsMinimized},
                        {Qt::WindowNoState, SC_RESTORE, wsNormal},
                        {Qt::WindowFullScreen, SC_MAXIMIZE, wsMaximized},
                        {Qt::WindowMaximized, 0, wsMaximized},  // still maximized: no command
                        {Qt::WindowNoState, SC_RESTORE, wsNormal}};
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "to states " << int(s.states));
    form->heard.clear();
    window->setWindowStates(s.states);
    Pump();
    std::vector<WPARAM> commands;
    for (const Heard& h : form->heard)
      if (h.msg == WM_SYSCOMMAND) commands.push_back(h.wParam);
    EXPECT_EQ(commands, s.command ? std::vector<WPARAM>{s.command} : std::vector<WPARAM>{});
    EXPECT_EQ(form->WindowState(), s.state);
    for (const Heard& h : form->heard)
      if (h.msg == WM_SYSCOMMAND) EXPECT_EQ(h.state, s.state) << "the command comes with the state in place";
  }
  // A maximize reaches the handler with the window's new size in place.
  form->heard.clear();
  window->setWindowStates(Qt::WindowMaximized);
  Pump();
  ASSERT_FALSE(form->heard.empty());
  const QSize maximized = form->WindowWidget()->size();
  EXPECT_GT(maximized.width(), 300);
  // The form stands where the window manager put the window.
  const QRect placed = form->WindowWidget()->geometry();
  EXPECT_EQ(form->BoundsRect(), Bounds(placed.x(), placed.y(), placed.width(), placed.height()));
  for (const Heard& h : form->heard)
    if (h.msg == WM_SYSCOMMAND) EXPECT_EQ(h.form.Width(), maximized.width());
  window->setWindowStates(Qt::WindowNoState);
  Pump();

  // The program's own changes of state send no command, and Qt's report
  // of them afterwards sends none either.
  form->heard.clear();
  for (TWindowState s : {wsMaximized, wsNormal, wsMinimized, wsNormal}) {
    form->SetWindowState(s);
    Pump();
    EXPECT_EQ(form->WindowState(), s);
  }
  for (const Heard& h : form->heard) EXPECT_NE(h.msg, Cardinal(WM_SYSCOMMAND));
  Free(form);
}

// The topmost bit of a form's extended style keeps its window above all
// others through Qt's stay-on-top hint, on the platform window as well; a
// change of border style keeps it, and clearing the bit drops it.
TEST(FormWindowManager, TheTopmostBitKeepsTheWindowOnTop) {
  ListeningForm* form = ShownForm();
  QWidget* frame = form->WindowWidget();
  auto onTop = [&] {
    return frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
           frame->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
  };
  EXPECT_FALSE(onTop());
  form->SetWindowExStyle(form->WindowExStyle() | WS_EX_TOPMOST);
  Pump();
  EXPECT_TRUE(onTop());
  EXPECT_TRUE(frame->isVisible()) << "the new flags leave the window shown";
  form->SetBorderStyle(bsToolWindow);
  Pump();
  EXPECT_TRUE(onTop());
  EXPECT_EQ(frame->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_TRUE(form->WindowExStyle() & WS_EX_TOPMOST);
  form->SetWindowExStyle(form->WindowExStyle() & ~WS_EX_TOPMOST);
  Pump();
  EXPECT_FALSE(onTop());
  EXPECT_TRUE(frame->isVisible());
  // A hidden form takes the bit for when it shows.
  form->Hide();
  form->SetWindowExStyle(form->WindowExStyle() | WS_EX_TOPMOST);
  EXPECT_FALSE(frame->isVisible());
  form->Show();
  Pump();
  EXPECT_TRUE(onTop());
  Free(form);
}
