// Forms, modal loops, timers, synchronized calls, message boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <atomic>

#include "TestSupport.h"
#include "rtl/Clock.h"
#include "rtl/MessagePump.h"
#include "rtl/Threads.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

using namespace vcl;
using namespace vcltest;

namespace {

// A dialog built in its constructor, as the program's forms are.
class OkCancelForm : public TForm {
 public:
  explicit OkCancelForm(TComponent* owner) : TForm(owner) {
    SetCaption("Confirm it");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(240);
    SetClientHeight(100);
    edit = new TEdit(this);
    edit->SetName("Edit1");
    edit->SetBounds(10, 10, 150, 21);
    edit->SetParent(this);
    ok = new TButton(this);
    ok->SetName("OkButt");
    ok->SetCaption("Ok");
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    ok->SetBounds(70, 60, 75, 25);
    ok->SetParent(this);
    cancel = new TButton(this);
    cancel->SetName("Button2");
    cancel->SetCaption("Cancel");
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    cancel->SetBounds(155, 60, 75, 25);
    cancel->SetParent(this);
  }
  TEdit* edit;
  TButton* ok;
  TButton* cancel;
};

TEST(ModalForms, CloseWithTheClickedButtonsResultAndCloseQueryCanRefuse) {
  auto* form = Create<OkCancelForm>(nullptr);
  std::vector<AnsiString> events;
  int queries = 0;
  form->OnShow = [&](TObject*) { events.push_back("show"); };
  form->OnCloseQuery = [&](TObject*, bool& canClose) {
    events.push_back("query");
    canClose = ++queries > 1;  // the first attempt is refused
  };
  form->OnClose = [&](TObject*, TCloseAction& action) {
    events.push_back("close");
    EXPECT_EQ(action, caHide);
  };
  auto clickOk = [form] { QTest::mouseClick(form->ok->Widget(), Qt::LeftButton); };
  Later([&] {
    EXPECT_TRUE(form->Visible());
    clickOk();
    Later([&] {
      EXPECT_TRUE(form->Visible()) << "the first close was refused";
      EXPECT_EQ(form->ModalResult(), mrNone);
      clickOk();
    });
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(events, (std::vector<AnsiString>{"show", "query", "query", "close"}));
  Free(form);
}

TEST(ModalForms, EnterPressesTheDefaultButtonAndEscapeTheCancelButton) {
  struct KeyCase {
    int key;
    TModalResult want;
  };
  for (KeyCase kc : {KeyCase{Qt::Key_Return, mrOk}, KeyCase{Qt::Key_Escape, mrCancel}}) {
    auto* form = Create<OkCancelForm>(nullptr);
    Later([form, kc] {
      // The edit has the focus; the key goes to it first, then to the form.
      EXPECT_EQ(form->ActiveControl(), form->edit);
      QTest::keyClick(form->edit->Widget(), static_cast<Qt::Key>(kc.key));
    });
    EXPECT_EQ(form->ShowModal(), kc.want);
    Free(form);
  }
}

TEST(ModalForms, ShowModalOnAVisibleFormRaises) {
  TForm* form = MakeForm();
  form->Show();
  EXPECT_THROW(form->ShowModal(), rtl::EInvalidOperation);
  Free(form);
}

TEST(ModalForms, TabMovesTheFocusInTabOrder) {
  auto* form = Create<OkCancelForm>(nullptr);
  form->Show();
  Pump();
  EXPECT_EQ(form->ActiveControl(), form->edit);
  form->cancel->SetTabOrder(0);
  QTest::keyClick(form->edit->Widget(), Qt::Key_Tab);
  EXPECT_EQ(form->ActiveControl(), form->ok);
  QTest::keyClick(form->ok->Widget(), Qt::Key_Tab);
  EXPECT_EQ(form->ActiveControl(), form->cancel);
  QTest::keyClick(form->cancel->Widget(), Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(form->ActiveControl(), form->ok);
  Free(form);
}

TEST(Forms, LifecycleEventsAndLoadedBeforeOnCreate) {
  std::vector<AnsiString> events;
  struct Probe : TComponent {
    std::vector<AnsiString>* events;
    Probe(TComponent* owner, std::vector<AnsiString>* e) : TComponent(owner), events(e) {}
    void Loaded() override {
      TComponent::Loaded();
      events->push_back("loaded");
    }
  };
  struct MyForm : TForm {
    explicit MyForm(TComponent* owner, std::vector<AnsiString>* e) : TForm(owner) {
      EXPECT_TRUE(Loading());
      new Probe(this, e);
      OnCreate = [e](TObject*) { e->push_back("create"); };
      OnDestroy = [e](TObject*) { e->push_back("destroy"); };
    }
  };
  auto* form = Create<MyForm>(nullptr, &events);
  EXPECT_FALSE(form->Loading());
  form->OnClose = [&](TObject*, TCloseAction& a) {
    events.push_back("close");
    a = caFree;
  };
  form->Show();
  form->Close();
  EXPECT_FALSE(form->Visible());
  Pump();  // the release is posted; the form frees itself
  EXPECT_EQ(events, (std::vector<AnsiString>{"loaded", "create", "close", "destroy"}));
}

TEST(Forms, PositionCentresOnTheWorkArea) {
  TForm* form = MakeForm(200, 100);
  form->SetPosition(poScreenCenter);
  form->Show();
  TRect area = Screen->WorkAreaRect();
  EXPECT_EQ(form->Left(), area.Left + (area.Width() - form->Width()) / 2);
  EXPECT_EQ(form->Top(), area.Top + (area.Height() - form->Height()) / 2);
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
  EXPECT_GT(Screen->Fonts()->IndexOf("Liberation Sans"), -1);
  Free(form);
}

TEST(Timers, FireOnTheManualClockWithoutSleeping) {
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scoped(clock);
  TTimer timer(nullptr);
  int fired = 0;
  timer.OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, &timer);
    ++fired;
  };
  timer.SetInterval(100);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 0);
  clock->Advance(99);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 0);
  clock->Advance(1);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 1);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 1);
  clock->Advance(350);  // missed periods fire once
  Application->ProcessMessages();
  EXPECT_EQ(fired, 2);
  timer.SetEnabled(false);
  clock->Advance(1000);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 2);
  timer.SetEnabled(true);  // restarts the period
  clock->Advance(99);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 2);
  clock->Advance(1);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 3);
}

TEST(Timers, AnExceptionInOnTimerGoesToTheApplicationHandler) {
  auto clock = std::make_shared<rtl::ManualClock>(0);
  rtl::ScopedClock scoped(clock);
  auto keep = Application->OnException;
  AnsiString caught;
  Application->OnException = [&](TObject*, rtl::Exception& e) { caught = e.Message(); };
  {
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = [](TObject*) { throw rtl::Exception("timer failed"); };
    clock->Advance(10);
    Application->ProcessMessages();
  }
  Application->OnException = keep;
  EXPECT_EQ(caught, "timer failed");
}

class Worker : public rtl::TThread {
 public:
  Worker() : TThread(true) {}
  ~Worker() override {
    Terminate();
    WaitFor();
  }
  rtl::TThreadID ranOn = 0;
  std::atomic<bool> done{false};

 protected:
  void Execute() override {
    Synchronize([this] { ranOn = rtl::CurrentThreadId(); });
    done = true;
  }
};

TEST(Threads, SynchronizeFromAWorkerRunsOnTheUserInterfaceThread) {
  Worker w;
  bool finished = false;
  // OnTerminate comes through Synchronize as well, and wakes the loop.
  w.OnTerminate = [&](rtl::TThread*) {
    EXPECT_TRUE(rtl::IsMainThread());
    finished = true;
  };
  w.Start();
  // The message loop serves the worker's calls; the worker waits for them.
  while (!finished) Application->HandleMessage();
  w.WaitFor();
  EXPECT_EQ(w.ranOn, rtl::MainThreadID());
  EXPECT_NE(w.ThreadID(), rtl::MainThreadID());
}

TEST(Threads, WaitingLoopsBelowTheClassLibraryPumpThroughTheApplication) {
  TForm* form = MakeForm();
  auto* rec = new Recorder(form);
  rec->SetParent(form);
  rec->only = {WM_USER + 1};
  rec->log.clear();
  PostMessage(rec->Handle(), WM_USER + 1);
  rtl::ProcessMessages();  // what a module-link wait loop calls
  EXPECT_EQ(rec->log.size(), 1u);
  Free(form);
}

TEST(Threads, QueuedCallsRunInOrderFromTheLoop) {
  std::vector<int> order;
  std::thread t([&] {
    for (int i = 0; i < 3; ++i) rtl::Queue([&order, i] { order.push_back(i); });
  });
  t.join();
  Application->ProcessMessages();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}

// Clicks a button of the modal dialog open at the time.
void ClickDialogButton(const char* name) {
  Later([name] {
    // The newest visible form with such a button: the box, over its owner.
    TButton* b = nullptr;
    for (Integer i = Screen->FormCount() - 1; !b && i >= 0; --i)
      if (Screen->Forms(i)->Visible()) b = dynamic_cast<TButton*>(Screen->Forms(i)->FindComponent(name));
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b->Widget(), Qt::LeftButton);
  });
}

TEST(MessageBoxes, AnswerWithThePressedButton) {
  ClickDialogButton("No");
  EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel, 0), mrNo);
  std::vector<Cardinal> beeps;
  SetBeepHandler([&](Cardinal t) { beeps.push_back(t); });
  ClickDialogButton("OK");
  EXPECT_EQ(ShowMessageBox("Settings could not be retrieved", "Error", MB_OK | MB_ICONHAND), IDOK);
  SetBeepHandler({});
  EXPECT_EQ(beeps, (std::vector<Cardinal>{MB_ICONHAND}));
}

TEST(MessageBoxes, DialogLayoutAndKeys) {
  std::unique_ptr<TForm, void (*)(TForm*)> dlg(
      CreateMessageDialog("Value for Key is required.", mtError, {mbOK}), [](TForm* f) { Free(f); });
  EXPECT_EQ(dlg->Caption(), "Error");
  auto* ok = dynamic_cast<TButton*>(dlg->FindComponent("OK"));
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->Default());
  EXPECT_TRUE(ok->Cancel());  // the only button also answers Escape
  auto* msg = dynamic_cast<TLabel*>(dlg->FindComponent("Message"));
  ASSERT_NE(msg, nullptr);
  EXPECT_EQ(msg->Caption(), "Value for Key is required.");
  EXPECT_LT(msg->Left() + msg->Width(), dlg->ClientWidth());
  EXPECT_LT(ok->Top() + ok->Height(), dlg->ClientHeight() + 1);
  Later([&] { QTest::keyClick(ok->Widget(), Qt::Key_Escape); });
  EXPECT_EQ(dlg->ShowModal(), mrOk);
}

}  // namespace

namespace {

TEST(ModalForms, AMessageBoxInsideAModalDialogKeepsTheDialogOpen) {
  auto* form = Create<OkCancelForm>(nullptr);
  form->ok->SetModalResult(mrNone);  // the handler decides, as a checking OK button does
  int boxes = 0;
  form->ok->OnClick = [&](TObject*) {
    if (form->edit->Text().empty()) {
      ClickDialogButton("OK");
      ShowMessageBox("Value for Key is required.", "Error", MB_OK | MB_ICONHAND);
      ++boxes;
      return;
    }
    form->SetModalResult(mrOk);
  };
  Later([form] {
    QTest::mouseClick(form->ok->Widget(), Qt::LeftButton);
    Later([form] {
      form->edit->SetText("KEY");
      QTest::mouseClick(form->ok->Widget(), Qt::LeftButton);
    });
  });
  std::vector<Cardinal> beeps;
  SetBeepHandler([&](Cardinal t) { beeps.push_back(t); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  SetBeepHandler({});
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(beeps, (std::vector<Cardinal>{MB_ICONHAND}));
  Free(form);
}

TEST(Forms, AnExceptionWhilePaintingReachesTheHandlerAndNotQt) {
  struct Broken : TCustomControl {
    using TCustomControl::TCustomControl;
    void Paint() override { throw rtl::Exception("paint failed"); }
  };
  TForm* form = MakeForm();
  auto* broken = new Broken(form);
  broken->SetBounds(0, 0, 50, 50);
  broken->SetParent(form);
  auto keep = Application->OnException;
  std::vector<AnsiString> caught;
  Application->OnException = [&](TObject*, rtl::Exception& e) { caught.push_back(e.Message()); };
  form->Show();
  broken->Repaint();
  QImage shot = broken->Widget()->grab().toImage();  // Qt paints on regardless
  Application->OnException = keep;
  EXPECT_FALSE(shot.isNull());
  ASSERT_FALSE(caught.empty());
  EXPECT_EQ(caught[0], "paint failed");
  Free(form);
}

}  // namespace

namespace {

TEST(Forms, ResizingTheWindowResizesTheFormAndItsAlignedControls) {
  TForm* form = MakeForm(300, 200);
  auto* client = new TPanel(form);
  client->SetParent(form);
  client->SetAlign(alClient);
  int resizes = 0;
  form->OnResize = [&](TObject*) { ++resizes; };
  form->Show();
  Pump();
  form->WindowWidget()->resize(420, 260);  // as the window manager would
  Pump();
  EXPECT_EQ(form->Width(), 420);
  EXPECT_EQ(form->ClientHeight(), 260);
  EXPECT_EQ(client->BoundsRect(), Rect(0, 0, 420, 260));
  EXPECT_GE(resizes, 1);
  Free(form);
}

}  // namespace
