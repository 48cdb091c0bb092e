// Hints: shown after the hint pause on the clock service, offered to the
// control through CM_HINTSHOW, hidden after the hide pause or on a click.
#include <gtest/gtest.h>

#include <QTest>

#include "TestSupport.h"
#include "rtl/Clock.h"
#include "vcl/StdCtrls.h"

using namespace vcl;
using namespace vcltest;

namespace {

class HintsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = std::make_shared<rtl::ManualClock>(50000);
    scoped = std::make_unique<rtl::ScopedClock>(clock);
    form = MakeForm(300, 200);
    rec = new Recorder(form);
    rec->SetBounds(10, 10, 100, 50);
    rec->SetParent(form);
    rec->SetHint("Save|Saves the page to its file");
    rec->SetShowHint(true);
    form->Show();
    Pump();
  }
  void TearDown() override {
    Free(form);
    scoped.reset();
  }
  void MoveOver(int x, int y) {
    QWidget* w = rec->Widget();
    QMouseEvent move(QEvent::MouseMove, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
  }
  bool HintShowing() { return Application->HintWindow() && Application->HintWindow()->Showing(); }

  std::shared_ptr<rtl::ManualClock> clock;
  std::unique_ptr<rtl::ScopedClock> scoped;
  TForm* form = nullptr;
  Recorder* rec = nullptr;
};

TEST_F(HintsTest, ShowsAfterThePauseAndHidesAfterTheHidePause) {
  std::vector<AnsiString> longHints;
  Application->OnHint = [&](TObject*) { longHints.push_back(Application->Hint()); };
  MoveOver(20, 20);
  EXPECT_EQ(longHints, (std::vector<AnsiString>{"Saves the page to its file"}));
  clock->Advance(Application->HintPause() - 1);
  Application->ProcessMessages();
  EXPECT_FALSE(HintShowing());
  clock->Advance(1);
  Application->ProcessMessages();
  ASSERT_TRUE(HintShowing());
  EXPECT_EQ(Application->HintWindow()->Caption(), "Save");
  TPoint screen = rec->ClientToScreen({20, 20});
  EXPECT_EQ(Application->HintWindow()->Left(), screen.X);
  EXPECT_GT(Application->HintWindow()->Top(), screen.Y);
  clock->Advance(Application->HintHidePause());
  Application->ProcessMessages();
  EXPECT_FALSE(HintShowing());
  // Not again while the mouse stays on the control.
  MoveOver(21, 21);
  clock->Advance(Application->HintPause());
  Application->ProcessMessages();
  EXPECT_FALSE(HintShowing());
  Application->OnHint = nullptr;
}

TEST_F(HintsTest, TheControlCanChangeOrRefuseItsHint) {
  rec->onMessage = [](TMessage& m) {
    if (m.Msg != CM_HINTSHOW) return;
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    info->HintStr = "Save (Ctrl+S)";
  };
  MoveOver(20, 20);
  clock->Advance(Application->HintPause());
  Application->ProcessMessages();
  ASSERT_TRUE(HintShowing());
  EXPECT_EQ(Application->HintWindow()->Caption(), "Save (Ctrl+S)");
  // A click hides it.
  QTest::mouseClick(rec->Widget(), Qt::LeftButton, {}, {20, 20});
  EXPECT_FALSE(HintShowing());

  auto* other = new Recorder(form);
  other->SetBounds(150, 10, 100, 50);
  other->SetParent(form);
  other->SetHint("Never");
  other->SetShowHint(true);
  other->onMessage = [](TMessage& m) {
    if (m.Msg == CM_HINTSHOW) m.Result = 1;
  };
  QWidget* w = other->Widget();
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(w, &move);
  clock->Advance(Application->HintPause());
  Application->ProcessMessages();
  EXPECT_FALSE(HintShowing());
}

TEST(HintText, ShortAndLongParts) {
  EXPECT_EQ(GetShortHint("Open|Opens a project"), "Open");
  EXPECT_EQ(GetLongHint("Open|Opens a project"), "Opens a project");
  EXPECT_EQ(GetShortHint("Open"), "Open");
  EXPECT_EQ(GetLongHint("Open"), "Open");
}

}  // namespace
