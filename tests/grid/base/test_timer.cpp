// The grid's 500 ms timer on the manual clock: the current cell following
// the mouse with Hovering, and blinking text repainted at every tick.
#include <gtest/gtest.h>

#include <QCursor>
#include <QWidget>
#include <set>

#include "grid/GridComponent.h"
#include "rtl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct TTimerGrid {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scoped{clock};
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::set<std::pair<Integer, Integer>> drawn;
  TTimerGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 300);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 450, 250);
    grid->SetColCount(5);
    grid->SetRowCount(8);
    grid->SetDefaultColWidth(60);
    grid->SetDefaultRowHeight(24);
    grid->OnDrawCell = [this](vcl::TObject*, Integer col, Integer row, const vcl::TRect&, vcl::TGridDrawState) {
      drawn.insert({col, row});
    };
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~TTimerGrid() { vcl::Free(form); }
  // One tick of timer 111.
  void Tick() {
    for (int step = 0; step < 50; ++step) {
      clock->Advance(10);
      vcl::Application->ProcessMessages();
    }
  }
  // The cells the next paint draws.
  std::set<std::pair<Integer, Integer>> Painted() {
    drawn.clear();
    grid->Update();
    vcl::Application->ProcessMessages();
    return drawn;
  }
};

}  // namespace

TEST(GridTimer, HoveringMakesTheCellUnderTheMouseCurrent) {
  TTimerGrid g;
  g.grid->Hovering = true;
  const vcl::TRect cell = g.grid->CellRect(3, 5);
  const QPoint at = g.grid->Widget()->mapToGlobal(QPoint(cell.Left + 5, cell.Top + 5));
  QCursor::setPos(at);
  if (QCursor::pos() != at) GTEST_SKIP() << "the platform cannot place the cursor";
  const Integer ticks = g.grid->TickCount();
  g.Tick();
  EXPECT_EQ(g.grid->TickCount(), ticks + 1);
  EXPECT_EQ(g.grid->Col(), 3);
  EXPECT_EQ(g.grid->Row(), 5);
  // Over a fixed cell nothing changes.
  const vcl::TRect fixed = g.grid->CellRect(2, 0);
  QCursor::setPos(g.grid->Widget()->mapToGlobal(QPoint(fixed.Left + 5, fixed.Top + 5)));
  g.Tick();
  EXPECT_EQ(g.grid->Col(), 3);
  EXPECT_EQ(g.grid->Row(), 5);
  // Without Hovering the mouse leads nowhere.
  g.grid->Hovering = false;
  const vcl::TRect other = g.grid->CellRect(1, 2);
  QCursor::setPos(g.grid->Widget()->mapToGlobal(QPoint(other.Left + 5, other.Top + 5)));
  g.Tick();
  EXPECT_EQ(g.grid->Row(), 5);
}

TEST(GridTimer, BlinkingTextIsRepaintedEveryTick) {
  TTimerGrid g;
  g.grid->SetCells(3, 4, "<b>steady</b>");
  g.grid->EnableBlink = true;
  g.Painted();
  // A grid without blinking text is not repainted by the ticks.
  g.Tick();
  EXPECT_TRUE(g.Painted().empty());
  g.grid->SetCells(2, 3, "<blink>alarm</blink>");
  g.grid->SetCells(1, 0, "<BLINK>Head</BLINK>");
  g.Painted();
  // Without EnableBlink neither.
  g.grid->EnableBlink = false;
  g.Tick();
  EXPECT_TRUE(g.Painted().empty());
  g.grid->EnableBlink = true;
  const bool phase = g.grid->BlinkPhase();
  g.Tick();
  EXPECT_NE(g.grid->BlinkPhase(), phase);
  std::set<std::pair<Integer, Integer>> painted = g.Painted();
  EXPECT_TRUE(painted.count({2, 3}));
  EXPECT_TRUE(painted.count({1, 0}));  // a fixed row over the visible columns
  g.Tick();
  EXPECT_EQ(g.grid->BlinkPhase(), phase);
  painted = g.Painted();
  EXPECT_TRUE(painted.count({2, 3}));
}
