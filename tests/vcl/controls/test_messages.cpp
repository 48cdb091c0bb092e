// Qt input arrives as window messages with the desktop's numbers, and
// posted messages keep their order.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QTest>
#include <atomic>
#include <thread>

#include "TestSupport.h"
#include "rtl/Clock.h"
#include "rtl/Threads.h"
#include "vcl/ExtCtrls.h"
#include "vcl/WinApi.h"

using namespace vcl;
using namespace vcltest;

namespace {

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm(300, 200);
    rec = new Recorder(form);
    rec->SetBounds(20, 30, 200, 100);
    rec->SetParent(form);
    form->Show();
    Pump();
    rec->log.clear();
  }
  void TearDown() override {
    // Handlers capture the test's locals; the form's end must not reach them.
    if (rec) rec->onMessage = nullptr;
    Free(form);
  }
  QWidget* W() { return rec->Widget(); }

  TForm* form = nullptr;
  Recorder* rec = nullptr;
};

struct Expect {
  Cardinal msg;
  WPARAM wParam;
  Integer x = 0, y = 0;  // checked for mouse messages
};

struct InputCase {
  const char* name;
  std::function<void(QWidget*)> act;
  std::vector<Expect> expect;
};

// A key press and release as a keyboard delivers them, text included.
void TypeKey(QWidget* w, int key, Qt::KeyboardModifiers mods, const QString& text) {
  QKeyEvent down(QEvent::KeyPress, key, mods, text);
  QCoreApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, key, mods, text);
  QCoreApplication::sendEvent(w, &up);
}

bool IsMouse(Cardinal m) { return m >= WM_MOUSEFIRST && m <= WM_MBUTTONDBLCLK; }

TEST_F(MessagesTest, SyntheticInputBecomesMessageRecords) {
  // Every case starts from a frozen clock, so two presses at once make a
  // double click unless the clock moves between them.
  auto clock = std::make_shared<rtl::ManualClock>(100000);
  rtl::ScopedClock scoped(clock);
  const std::vector<InputCase> cases = {
      {"left press with shift", [](QWidget* w) { QTest::mousePress(w, Qt::LeftButton, Qt::ShiftModifier, {5, 7}); },
       {{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 5, 7}}},
      {"left release", [](QWidget* w) { QTest::mouseRelease(w, Qt::LeftButton, {}, {6, 8}); },
       {{WM_LBUTTONUP, 0, 6, 8}}},
      {"right click with control",
       [](QWidget* w) { QTest::mouseClick(w, Qt::RightButton, Qt::ControlModifier, {150, 90}); },
       {{WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, 150, 90}, {WM_RBUTTONUP, MK_CONTROL, 150, 90}}},
      {"middle click",
       [](QWidget* w) { QTest::mouseClick(w, Qt::MiddleButton, {}, {1, 2}); },
       {{WM_MBUTTONDOWN, MK_MBUTTON, 1, 2}, {WM_MBUTTONUP, 0, 1, 2}}},
      {"double click within the double-click time",
       [&](QWidget* w) {
         QTest::mouseClick(w, Qt::LeftButton, {}, {10, 10});
         clock->Advance(GetDoubleClickTime());
         QTest::mouseClick(w, Qt::LeftButton, {}, {11, 11});
       },
       {{WM_LBUTTONDOWN, MK_LBUTTON, 10, 10},
        {WM_LBUTTONUP, 0, 10, 10},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, 11, 11},
        {WM_LBUTTONUP, 0, 11, 11}}},
      {"two clicks further apart in time",
       [&](QWidget* w) {
         QTest::mouseClick(w, Qt::LeftButton, {}, {10, 10});
         clock->Advance(GetDoubleClickTime() + 1);
         QTest::mouseClick(w, Qt::LeftButton, {}, {10, 10});
       },
       {{WM_LBUTTONDOWN, MK_LBUTTON, 10, 10},
        {WM_LBUTTONUP, 0, 10, 10},
        {WM_LBUTTONDOWN, MK_LBUTTON, 10, 10},
        {WM_LBUTTONUP, 0, 10, 10}}},
      {"two clicks further apart in space",
       [&](QWidget* w) {
         QTest::mouseClick(w, Qt::LeftButton, {}, {10, 10});
         QTest::mouseClick(w, Qt::LeftButton, {}, {30, 10});
       },
       {{WM_LBUTTONDOWN, MK_LBUTTON, 10, 10},
        {WM_LBUTTONUP, 0, 10, 10},
        {WM_LBUTTONDOWN, MK_LBUTTON, 30, 10},
        {WM_LBUTTONUP, 0, 30, 10}}},
      {"letter key", [](QWidget* w) { QTest::keyClick(w, Qt::Key_A); },
       {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}}},
      {"shift key alone", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Shift); },
       {{WM_KEYDOWN, VK_SHIFT}, {WM_KEYUP, VK_SHIFT}}},
      {"shifted letter", [](QWidget* w) { TypeKey(w, Qt::Key_A, Qt::ShiftModifier, "A"); },
       {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'A'}, {WM_KEYUP, 'A'}}},
      {"function key has no character", [](QWidget* w) { QTest::keyClick(w, Qt::Key_F5); },
       {{WM_KEYDOWN, VK_F5}, {WM_KEYUP, VK_F5}}},
      {"arrow and delete keys",
       [](QWidget* w) {
         QTest::keyPress(w, Qt::Key_Left);
         QTest::keyPress(w, Qt::Key_Delete);
       },
       {{WM_KEYDOWN, VK_LEFT}, {WM_KEYDOWN, VK_DELETE}}},
      {"symbol keys by their US key", [](QWidget* w) { TypeKey(w, Qt::Key_Question, Qt::ShiftModifier, "?"); },
       {{WM_KEYDOWN, VK_OEM_2}, {WM_CHAR, '?'}, {WM_KEYUP, VK_OEM_2}}},
      {"alt makes system keys", [](QWidget* w) { QTest::keyClick(w, Qt::Key_X, Qt::AltModifier); },
       {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'X'}, {WM_SYSCHAR, 'x'}, {WM_SYSKEYUP, 'X'}, {WM_SYSKEYUP, VK_MENU}}},
      {"character outside the basic plane as two UTF-16 units",
       [](QWidget* w) {
         QKeyEvent e(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xF0\x9F\x98\x80"));
         QCoreApplication::sendEvent(w, &e);
       },
       {{WM_KEYDOWN, VK_PACKET}, {WM_CHAR, 0xD83D}, {WM_CHAR, 0xDE00}}},
      {"wheel away from the user",
       [](QWidget* w) {
         QWheelEvent e(QPointF(4, 5), w->mapToGlobal(QPointF(4, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                       Qt::ControlModifier, Qt::NoScrollPhase, false);
         QCoreApplication::sendEvent(w, &e);
       },
       {{WM_MOUSEWHEEL, MakeWParam(MK_CONTROL, 120)}}},
      {"mouse enters and leaves",
       [](QWidget* w) {
         QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
         QCoreApplication::sendEvent(w, &enter);
         QEvent leave(QEvent::Leave);
         QCoreApplication::sendEvent(w, &leave);
       },
       {{CM_MOUSEENTER, 0}, {CM_MOUSELEAVE, 0}}},
  };
  rec->only = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN,
               WM_MBUTTONUP,   WM_KEYDOWN,   WM_KEYUP,         WM_CHAR,        WM_SYSKEYDOWN, WM_SYSKEYUP,
               WM_SYSCHAR,     WM_MOUSEWHEEL, CM_MOUSEENTER,   CM_MOUSELEAVE};
  for (const InputCase& c : cases) {
    SCOPED_TRACE(c.name);
    clock->Advance(10000);  // no double click across cases
    rec->log.clear();
    c.act(W());
    ASSERT_EQ(rec->log.size(), c.expect.size());
    for (size_t i = 0; i < c.expect.size(); ++i) {
      const TMessage& got = rec->log[i];
      EXPECT_EQ(got.Msg, c.expect[i].msg) << "message " << i;
      EXPECT_EQ(got.WParam, c.expect[i].wParam) << "message " << i;
      if (IsMouse(got.Msg)) {
        EXPECT_EQ(GET_X_LPARAM(got.LParam), c.expect[i].x) << "message " << i;
        EXPECT_EQ(GET_Y_LPARAM(got.LParam), c.expect[i].y) << "message " << i;
      }
    }
  }
}

TEST_F(MessagesTest, KeyDataCarriesReleaseAndAltBits) {
  rec->only = {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN};
  QTest::keyClick(W(), Qt::Key_B);
  QKeyEvent altC(QEvent::KeyPress, Qt::Key_C, Qt::AltModifier, "c");
  QCoreApplication::sendEvent(W(), &altC);
  ASSERT_EQ(rec->log.size(), 3u);
  TWMKey down(rec->log[0]), up(rec->log[1]), sys(rec->log[2]);
  EXPECT_EQ(sys.Msg, WM_SYSKEYDOWN);
  EXPECT_EQ(down.RepeatCount(), 1);
  EXPECT_FALSE(down.Released());
  EXPECT_FALSE(down.WasDown());
  EXPECT_TRUE(up.Released());
  EXPECT_TRUE(up.WasDown());
  EXPECT_TRUE(sys.AltDown());
}

TEST_F(MessagesTest, FocusArrivesAsSetFocusAndEnter) {
  auto* other = new Recorder(form);
  other->SetBounds(0, 0, 10, 10);
  other->SetParent(form);
  Pump();
  other->SetFocus();
  Pump();
  rec->log.clear();
  other->log.clear();
  rec->only = {WM_SETFOCUS, WM_KILLFOCUS, CM_ENTER, CM_EXIT};
  other->only = rec->only;
  std::vector<AnsiString> events;
  rec->OnEnter = [&](TObject*) { events.push_back("enter rec"); };
  other->OnExit = [&](TObject*) { events.push_back("exit other"); };
  rec->SetFocus();
  Pump();
  EXPECT_EQ(form->ActiveControl(), rec);
  EXPECT_TRUE(rec->Focused());
  EXPECT_EQ(events, (std::vector<AnsiString>{"exit other", "enter rec"}));
  std::vector<Cardinal> got = rec->Numbers();
  EXPECT_NE(std::find(got.begin(), got.end(), CM_ENTER), got.end());
  if (form->Active()) {
    EXPECT_EQ(got.front(), WM_SETFOCUS);
    std::vector<Cardinal> lost = other->Numbers();
    EXPECT_NE(std::find(lost.begin(), lost.end(), WM_KILLFOCUS), lost.end());
  }
}

TEST_F(MessagesTest, MouseEventsReachHandlersWithButtonShiftAndPosition) {
  struct Got {
    TMouseButton button;
    TShiftState shift;
    Integer x, y;
  };
  std::vector<Got> downs;
  int clicks = 0, dbl = 0;
  rec->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, Integer x, Integer y) { downs.push_back({b, s, x, y}); };
  rec->OnClick = [&](TObject*) { ++clicks; };
  rec->OnDblClick = [&](TObject*) { ++dbl; };
  auto clock = std::make_shared<rtl::ManualClock>(5000);
  rtl::ScopedClock scoped(clock);
  QTest::mouseClick(W(), Qt::LeftButton, Qt::ShiftModifier, {3, 4});
  QTest::mouseClick(W(), Qt::LeftButton, {}, {3, 4});  // same moment: a double click
  clock->Advance(1000);
  QTest::mouseClick(W(), Qt::RightButton, Qt::ControlModifier, {9, 8});
  ASSERT_EQ(downs.size(), 3u);
  EXPECT_EQ(downs[0].button, mbLeft);
  EXPECT_TRUE(downs[0].shift.Contains(ssShift));
  EXPECT_TRUE(downs[0].shift.Contains(ssLeft));
  EXPECT_EQ(downs[0].x, 3);
  EXPECT_EQ(downs[0].y, 4);
  EXPECT_TRUE(downs[1].shift.Contains(ssDouble));
  EXPECT_EQ(downs[2].button, mbRight);
  EXPECT_TRUE(downs[2].shift.Contains(ssCtrl));
  EXPECT_EQ(clicks, 2);  // the right button does not click
  EXPECT_EQ(dbl, 1);
}

TEST_F(MessagesTest, PostedMessagesRunAfterSentWorkInOrder) {
  const Cardinal A = WM_USER + 1, B = WM_USER + 2, C = WM_USER + 3, START = WM_USER + 10;
  rec->only = {A, B, C, START};
  rec->onMessage = [&](TMessage& m) {
    if (m.Msg == START) {
      PostMessage(rec->Handle(), A, 1, 0);
      PostMessage(rec->Handle(), B, 2, 0);
      SendMessage(rec->Handle(), C, 3, 0);  // runs at once, inside START
    }
    if (m.Msg == C) m.Result = 42;
  };
  EXPECT_EQ(SendMessage(rec->Handle(), START), 0);
  // Nothing posted has run yet.
  EXPECT_EQ(rec->Numbers(), (std::vector<Cardinal>{START, C}));
  Pump();
  EXPECT_EQ(rec->Numbers(), (std::vector<Cardinal>{START, C, A, B}));
  EXPECT_EQ(rec->log[2].WParam, 1u);
  EXPECT_EQ(rec->log[3].WParam, 2u);
}

TEST_F(MessagesTest, MessagesFromAWorkerThreadArriveOnTheUserInterfaceThread) {
  const Cardinal FOUND = WM_USER + 71, ASK = WM_USER + 72;
  std::vector<rtl::TThreadID> handledOn;
  rec->only = {FOUND, ASK};
  rec->onMessage = [&](TMessage& m) {
    handledOn.push_back(rtl::CurrentThreadId());
    if (m.Msg == ASK) m.Result = static_cast<LRESULT>(m.WParam) * 2;
  };
  HWND h = rec->Handle();
  std::atomic<LRESULT> answer{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) PostMessage(h, FOUND, static_cast<WPARAM>(i), 0);
    answer = SendMessage(h, ASK, 21, 0);  // waits for the loop below
    done = true;
  });
  // The loop the program runs while it waits for a worker; the worker's
  // last step wakes nobody, so this one must not sleep in the queue.
  while (!done) {
    Application->ProcessMessages();
    std::this_thread::yield();
  }
  worker.join();
  Pump();
  EXPECT_EQ(answer.load(), 42);
  // The posted ones keep their order; the sent one is answered.
  std::vector<WPARAM> posted;
  for (const TMessage& m : rec->log)
    if (m.Msg == FOUND) posted.push_back(m.WParam);
  EXPECT_EQ(posted, (std::vector<WPARAM>{0, 1, 2}));
  EXPECT_EQ(rec->log.size(), 4u);
  for (rtl::TThreadID id : handledOn) EXPECT_EQ(id, rtl::MainThreadID());
}

TEST_F(MessagesTest, MessagesToAFreedWindowAreDropped) {
  auto* gone = new Recorder(form);
  gone->SetParent(form);
  HWND h = gone->Handle();
  EXPECT_TRUE(IsWindow(h));
  EXPECT_TRUE(PostMessage(h, WM_USER + 5));
  delete gone;
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(PostMessage(h, WM_USER + 6));
  EXPECT_EQ(SendMessage(h, WM_USER + 7), 0);
  Pump();  // the message posted before the control went is dropped quietly
}

TEST_F(MessagesTest, AnExceptionInAHandlerReachesTheApplicationHandler) {
  std::vector<AnsiString> caught;
  auto keep = Application->OnException;
  Application->OnException = [&](TObject* sender, rtl::Exception& e) {
    caught.push_back(e.Message());
    EXPECT_EQ(sender, rec);
  };
  rec->OnMouseDown = [](TObject*, TMouseButton, TShiftState, Integer, Integer) {
    throw rtl::EConvertError("'x' is not a valid integer value");
  };
  QTest::mouseClick(W(), Qt::LeftButton, {}, {5, 5});
  rec->OnMouseDown = nullptr;
  Application->OnException = keep;
  EXPECT_EQ(caught, (std::vector<AnsiString>{"'x' is not a valid integer value"}));
}

}  // namespace

namespace {

TEST_F(MessagesTest, WindowTimersSendWmTimerOnTheClockService) {
  auto clock = std::make_shared<rtl::ManualClock>(0);
  rtl::ScopedClock scoped(clock);
  rec->only = {WM_TIMER};
  rec->log.clear();
  ASSERT_EQ(SetTimer(rec->Handle(), 7, 50), 7u);
  SetTimer(rec->Handle(), 8, 120);
  clock->Advance(50);
  Application->ProcessMessages();
  clock->Advance(70);
  Application->ProcessMessages();
  std::vector<WPARAM> ids;
  for (const TMessage& m : rec->log) ids.push_back(m.WParam);
  EXPECT_EQ(ids, (std::vector<WPARAM>{7, 7, 8}));
  EXPECT_TRUE(KillTimer(rec->Handle(), 7));
  EXPECT_FALSE(KillTimer(rec->Handle(), 7));
  clock->Advance(500);
  Application->ProcessMessages();
  EXPECT_EQ(rec->log.size(), 4u);  // only id 8, once for the missed periods
  EXPECT_EQ(rec->log.back().WParam, 8u);
}

TEST_F(MessagesTest, TextMessagesReadAndWriteTheCaption) {
  rec->SetCaption("Hello");
  EXPECT_EQ(rec->Perform(WM_GETTEXTLENGTH), 5);
  char buffer[4];
  EXPECT_EQ(rec->Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_STREQ(buffer, "Hel");
  rec->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("World"));
  EXPECT_EQ(rec->Caption(), "World");
}

TEST_F(MessagesTest, FreedWindowsGetWmDestroyWhileWhole) {
  std::vector<AnsiString> destroyed;
  auto* a = new Recorder(form);
  a->SetParent(form);
  a->onMessage = [&](TMessage& m) {
    if (m.Msg == WM_DESTROY) destroyed.push_back("a");
  };
  auto* b = new Recorder(form);
  b->SetParent(rec);  // freed with its parent
  b->onMessage = [&](TMessage& m) {
    if (m.Msg == WM_DESTROY) destroyed.push_back("b");
  };
  rec->onMessage = [&](TMessage& m) {
    if (m.Msg == WM_DESTROY) destroyed.push_back("rec");
  };
  a->Handle();
  b->Handle();
  Free(a);
  EXPECT_EQ(destroyed, (std::vector<AnsiString>{"a"}));
  Free(rec);
  rec = nullptr;
  EXPECT_EQ(destroyed, (std::vector<AnsiString>{"a", "rec", "b"}));
}

}  // namespace

namespace {

TEST_F(MessagesTest, SpecialKeysGoToAControlThatAsksForThem) {
  auto* next = new Recorder(form);
  next->SetBounds(0, 150, 10, 10);
  next->SetParent(form);
  rec->SetFocus();
  Pump();
  rec->only = {WM_KEYDOWN};
  rec->log.clear();
  QTest::keyClick(W(), Qt::Key_Tab);
  EXPECT_EQ(form->ActiveControl(), next);  // the form moved the focus
  EXPECT_TRUE(rec->log.size() == 1u);       // after the control saw the key
  rec->SetFocus();
  rec->log.clear();
  rec->onMessage = [](TMessage& m) {
    if (m.Msg == CM_WANTSPECIALKEY && m.WParam == VK_TAB) m.Result = 1;
  };
  QTest::keyClick(W(), Qt::Key_Tab);
  EXPECT_EQ(form->ActiveControl(), rec);
  ASSERT_EQ(rec->log.size(), 1u);
  EXPECT_EQ(rec->log[0].WParam, VK_TAB);
}

TEST_F(MessagesTest, ParentsHearOfChildrenAndControlsOfFocusChanges) {
  std::vector<std::pair<Cardinal, LPARAM>> heard;
  rec->onMessage = [&](TMessage& m) {
    if (m.Msg == CM_CONTROLCHANGE || m.Msg == CM_FOCUSCHANGED)
      heard.push_back({m.Msg, m.Msg == CM_CONTROLCHANGE ? m.LParam : (m.LParam != 0 ? 1 : 0)});
  };
  auto* other = new Recorder(form);
  other->SetParent(form);
  other->SetFocus();
  heard.clear();
  auto* child = new TPanel(form);
  child->SetParent(rec);
  child->SetParent(nullptr);
  rec->SetFocus();
  Pump();
  ASSERT_GE(heard.size(), 3u);
  EXPECT_EQ(heard[0], (std::pair<Cardinal, LPARAM>{CM_CONTROLCHANGE, 1}));
  EXPECT_EQ(heard[1], (std::pair<Cardinal, LPARAM>{CM_CONTROLCHANGE, 0}));
  EXPECT_EQ(heard[2].first, CM_FOCUSCHANGED);
  delete child;
}

}  // namespace
