// The progress dialog used modelessly and modally: the bar following a work
// loop, cancelling by button, Esc and the close request, polling on the
// clock at Interval, the snapshot written back at closing and the layout.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <memory>

#include "rtl/Clock.h"
#include "support/MoxProgressDialog.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"
#include "SupportTestUtil.h"

using namespace support;
using namespace vcl;

namespace {

class ProgressDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<TMoxProgressDialog>(nullptr);
    dialog->OnShow = [this](TObject*) { log.push_back("show"); };
    dialog->OnClose = [this](TObject*) { log.push_back("close"); };
    dialog->OnCancel = [this](TObject*) { log.push_back("cancel"); };
  }
  void TearDown() override {
    dialog.reset();
    supporttest::Pump();
  }
  std::unique_ptr<TMoxProgressDialog> dialog;
  std::vector<std::string> log;
};

// Keys go where the user's keys go: the focused control, else the window.
void PressEsc(TfrmProgress* w) {
  QWidget* target = w->ActiveControl() ? w->ActiveControl()->Widget() : w->Widget();
  QTest::keyClick(target, Qt::Key_Escape);
}

std::unique_ptr<TBitmap> Picture(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(clRed);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  return b;
}

}  // namespace

TEST_F(ProgressDialogTest, ShowReturnsAtOnceAndTheBarFollowsTheWork) {
  dialog->SetCaption("Uploading project");
  dialog->SetText("index.htm");
  dialog->SetMax(10);
  EXPECT_FALSE(dialog->Show());
  TfrmProgress* w = dialog->Window();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->Caption(), "Uploading project");
  EXPECT_EQ(w->Label1->Caption(), "index.htm");
  EXPECT_EQ(w->btnCancel->Caption(), "Cancel");
  auto* bar = qobject_cast<QProgressBar*>(w->pbProgress->Widget());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->maximum(), 10);
  std::vector<int> seen;
  for (int i = 1; i <= 10; ++i) {
    dialog->SetPosition(i);
    Application->ProcessMessages();
    seen.push_back(bar->value());
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  dialog->SetText("logo.gif");
  EXPECT_EQ(w->Label1->Caption(), "logo.gif");

  // After Hide the settings read what they were at Show.
  dialog->Hide();
  EXPECT_EQ(dialog->Window(), nullptr);
  EXPECT_EQ(dialog->Position(), 0);
  EXPECT_EQ(dialog->Text(), "index.htm");
  EXPECT_EQ(dialog->Max(), 10);
  EXPECT_EQ(log, (std::vector<std::string>{"show", "close"}));
  dialog->Hide();  // nothing open: nothing happens
  EXPECT_EQ(log.size(), 2u);
  // Closed, the setters only store.
  dialog->SetPosition(7);
  EXPECT_EQ(dialog->Position(), 7);
}

TEST_F(ProgressDialogTest, ShowTwiceLeavesOneWindow) {
  dialog->Show();
  TfrmProgress* first = dialog->Window();
  dialog->Show();
  EXPECT_NE(dialog->Window(), first);
  supporttest::Pump();
  // The first went without its close event.
  EXPECT_EQ(log, (std::vector<std::string>{"show", "show"}));
  int windows = 0;
  for (Integer i = 0; i < Application->ComponentCount(); ++i)
    if (dynamic_cast<TfrmProgress*>(Application->Components(i))) ++windows;
  EXPECT_EQ(windows, 1);
  dialog->Hide();
}

TEST_F(ProgressDialogTest, CancelByClickAndByEscClosesOnce) {
  struct Case {
    const char* name;
    std::function<void(TfrmProgress*)> cancel;
  };
  const Case cases[] = {
      {"click", [](TfrmProgress* w) { QTest::mouseClick(w->btnCancel->Widget(), Qt::LeftButton); }},
      {"Esc", [](TfrmProgress* w) { PressEsc(w); }},
      {"close request", [](TfrmProgress* w) {
         QCloseEvent e;
         QCoreApplication::sendEvent(w->WindowWidget(), &e);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    dialog->Show();
    TfrmProgress* w = dialog->Window();
    supporttest::Pump();
    c.cancel(w);
    supporttest::Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"show", "cancel", "close"}));
    EXPECT_EQ(dialog->Window(), nullptr);
    EXPECT_TRUE(dialog->Cancelled());
  }
}

TEST_F(ProgressDialogTest, WithoutShowCancelEscAndTheCloseRequestDoNothing) {
  dialog->SetShowCancel(false);
  dialog->Show();
  TfrmProgress* w = dialog->Window();
  EXPECT_FALSE(w->btnCancel->Visible());
  supporttest::Pump();
  PressEsc(w);
  QCloseEvent e;
  QCoreApplication::sendEvent(w->WindowWidget(), &e);
  supporttest::Pump();
  EXPECT_EQ(dialog->Window(), w);
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(log, (std::vector<std::string>{"show"}));
  dialog->Hide();
  EXPECT_FALSE(dialog->Cancelled());
}

TEST_F(ProgressDialogTest, OnProgressPolledAtIntervalOnTheClock) {
  auto clock = std::make_shared<rtl::ManualClock>(5000);
  rtl::ScopedClock scoped(clock);
  int polls = 0;
  bool goOn = true;
  dialog->SetInterval(200);
  dialog->OnProgress = [&](TObject*, bool& c) {
    ++polls;
    dialog->SetPosition(dialog->Position() + 10);
    c = goOn;
  };
  dialog->Show();
  TfrmProgress* w = dialog->Window();
  supporttest::Pump();
  clock->Advance(199);
  supporttest::Pump();
  EXPECT_EQ(polls, 0);
  clock->Advance(1);
  supporttest::Pump();
  EXPECT_EQ(polls, 1);
  EXPECT_EQ(w->pbProgress->Position(), 10);
  clock->Advance(200);
  supporttest::Pump();
  EXPECT_EQ(polls, 2);
  EXPECT_EQ(w->pbProgress->Position(), 20);
  // A slower poll from inside the handler.
  dialog->OnProgress = [&](TObject*, bool& c) {
    ++polls;
    dialog->SetInterval(500);
    c = goOn;
  };
  clock->Advance(200);
  supporttest::Pump();
  EXPECT_EQ(polls, 3);
  clock->Advance(499);
  supporttest::Pump();
  EXPECT_EQ(polls, 3);
  // The handler says stop: the window closes, OnClose once.
  goOn = false;
  clock->Advance(1);
  supporttest::Pump();
  EXPECT_EQ(polls, 4);
  EXPECT_EQ(dialog->Window(), nullptr);
  clock->Advance(5000);
  supporttest::Pump();
  EXPECT_EQ(polls, 4);
  EXPECT_EQ(log, (std::vector<std::string>{"show", "close"}));
  EXPECT_EQ(dialog->Position(), 0);
  EXPECT_EQ(dialog->Interval(), 200);
}

TEST_F(ProgressDialogTest, IntervalZeroStopsTheTimer) {
  auto clock = std::make_shared<rtl::ManualClock>(5000);
  rtl::ScopedClock scoped(clock);
  int polls = 0;
  dialog->SetInterval(0);
  dialog->OnProgress = [&](TObject*, bool&) { ++polls; };
  dialog->Show();
  EXPECT_FALSE(dialog->Window()->tmProgress->Enabled());
  clock->Advance(10000);
  supporttest::Pump();
  EXPECT_EQ(polls, 0);
  EXPECT_NE(dialog->Window(), nullptr);
  dialog->Hide();
}

TEST_F(ProgressDialogTest, LayoutOffsetsWithAndWithoutPictureAndTitle) {
  dialog->SetText("Communicating with device");
  dialog->Show();
  TfrmProgress* w = dialog->Window();
  const Integer labelHeight = w->Label1->Height();
  auto expectLayout = [&](Integer labelTop, bool button) {
    EXPECT_EQ(w->Label1->Top(), labelTop);
    const Integer barTop = labelTop + labelHeight + 8;
    EXPECT_EQ(w->pbProgress->Top(), barTop);
    Integer next = barTop + 16 + 16;
    if (button) {
      EXPECT_EQ(w->btnCancel->Top(), next);
      next += 25 + 16;
    }
    EXPECT_EQ(w->ClientHeight(), next);
  };
  expectLayout(12, true);
  // No title: no title bar.
  EXPECT_EQ(w->WindowStyle() & WS_CAPTION, 0u);
  EXPECT_EQ(w->ClientWidth(), 316);
  dialog->SetShowCancel(false);
  expectLayout(12, false);
  dialog->SetCaption("Communicating with device");
  EXPECT_EQ(w->WindowStyle() & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(w->BorderStyle(), bsToolWindow);
  dialog->SetCaption("");
  EXPECT_EQ(w->WindowStyle() & WS_CAPTION, 0u);
  dialog->Hide();

  // A picture moves the text below it and widens a narrow window.
  auto pic = Picture(32, 40);
  dialog->Image()->SetGraphic(pic.get());
  dialog->SetShowCancel(true);
  dialog->Show();
  w = dialog->Window();
  expectLayout(12 + 40 + 12, true);
  EXPECT_EQ(w->ClientWidth(), 316);
  supporttest::Pump();
  w->Repaint();
  EXPECT_EQ(w->imProgress->Width(), 32);
  dialog->Hide();
  auto wide = Picture(400, 20);
  dialog->Image()->SetGraphic(wide.get());
  dialog->Show();
  w = dialog->Window();
  EXPECT_EQ(w->ClientWidth(), 400 + 2 * 16);
  expectLayout(12 + 20 + 12, true);
  dialog->Hide();
}

TEST_F(ProgressDialogTest, ExecuteIsModal) {
  // A first step that ends the display (no timer running, none started by
  // the handler) shows nothing and answers false.
  dialog->SetInterval(0);
  EXPECT_FALSE(dialog->Execute());
  EXPECT_EQ(log, (std::vector<std::string>{"show", "close"}));
  log.clear();

  // Running, then ended by the program or by the Cancel button.
  dialog->SetInterval(100);
  QTimer::singleShot(0, [&] { dialog->Window()->SetModalResult(mrOk); });
  EXPECT_TRUE(dialog->Execute());
  QTimer::singleShot(0, [&] { dialog->Window()->btnCancel->Click(); });
  EXPECT_FALSE(dialog->Execute());
  EXPECT_EQ(log, (std::vector<std::string>{"show", "close", "show", "cancel", "close"}));
}

TEST_F(ProgressDialogTest, GalleryOfTheProgressWindow) {
  auto pic = Picture(32, 32);
  pic->Canvas()->Brush()->SetColor(clNavy);
  pic->Canvas()->FillRect(Rect(8, 8, 24, 24));
  dialog->Image()->SetGraphic(pic.get());
  dialog->SetCaption("Uploading project");
  dialog->SetText("Uploading index.htm");
  dialog->SetPosition(40);
  dialog->Show();
  TfrmProgress* w = dialog->Window();
  supporttest::Pump();
  w->Repaint();
  EXPECT_EQ(w->pbProgress->Position(), 40);
  ASSERT_TRUE(w->SaveWindowImage(AnsiString(TOLVANE_BIN_DIR) + "/../support_progress_window.png"));
  dialog->Hide();
}
