// Type-ahead on a grid that is not editing: typed characters move to the
// first row whose lookup-column text starts with them in any case; with
// AutoGotoIncremental the characters add up until four ticks of the grid's
// timer pass without typing (on the virtual clock) or a moving key ends
// the lookup.
#include <gtest/gtest.h>

#include <memory>

#include "grid/GridComponent.h"
#include "rtl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace grid;

namespace {

struct TLookupGrid {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::ScopedClock scoped{clock};
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  TLookupGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetRowCount(7);
    const char* names[] = {"Name", "beta", "Abacus", "abbey", "<b>ABC</b>", "alpha", "gamma"};
    for (Integer r = 0; r < 7; ++r) grid->SetCells(1, r, names[r]);
    grid->Navigation()->AutoGotoWhenSorted = true;
    form->Show();
    grid->SetFocus();
  }
  ~TLookupGrid() { vcl::Free(form); }
  void Type(char c) { grid->Perform(vcl::WM_CHAR, static_cast<vcl::WPARAM>(c), 0); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      for (int step = 0; step < 50; ++step) {
        clock->Advance(10);
        vcl::Application->ProcessMessages();
      }
    }
  }
};

}  // namespace

TEST(GridLookup, SingleCharactersJumpToTheirRow) {
  TLookupGrid g;
  g.Type('g');
  EXPECT_EQ(g.grid->Row(), 6);
  g.Type('A');
  EXPECT_EQ(g.grid->Row(), 2);
  // Each character alone: "b" finds beta, not "ab...".
  g.Type('b');
  EXPECT_EQ(g.grid->Row(), 1);
  // No match: the row stays and the lookup text is gone.
  g.Type('z');
  EXPECT_EQ(g.grid->Row(), 1);
  EXPECT_EQ(g.grid->LookupText(), "");
}

TEST(GridLookup, IncrementalTextExpiresAfterFourIdleTicks) {
  TLookupGrid g;
  g.grid->Navigation()->AutoGotoIncremental = true;
  g.Type('a');
  g.Type('b');
  EXPECT_EQ(g.grid->LookupText(), "ab");
  EXPECT_EQ(g.grid->Row(), 2);
  // Markup is not part of the text looked up.
  g.Type('c');
  EXPECT_EQ(g.grid->Row(), 4);
  g.Type('\b');
  EXPECT_EQ(g.grid->LookupText(), "ab");
  // Three idle ticks keep the text, the fourth ends it.
  g.Ticks(3);
  EXPECT_EQ(g.grid->LookupText(), "ab");
  g.Ticks(1);
  EXPECT_EQ(g.grid->LookupText(), "");
  g.Type('g');
  EXPECT_EQ(g.grid->Row(), 6);
  // A typed character starts the count again.
  g.Ticks(3);
  g.Type('a');
  EXPECT_EQ(g.grid->LookupText(), "ga");
  g.Ticks(3);
  EXPECT_EQ(g.grid->LookupText(), "ga");
  // A moving key's release ends the lookup; Home's does not.
  g.grid->Perform(vcl::WM_KEYUP, vcl::VK_HOME, 0);
  EXPECT_EQ(g.grid->LookupText(), "ga");
  g.grid->Perform(vcl::WM_KEYUP, vcl::VK_DOWN, 0);
  EXPECT_EQ(g.grid->LookupText(), "");
}

TEST(GridLookup, AnEditingGridTypesIntoTheCellInstead) {
  TLookupGrid g;
  auto options = g.grid->Options();
  options.Include(vcl::goEditing);
  g.grid->SetOptions(options);
  g.grid->SetRow(1);
  g.Type('g');
  EXPECT_EQ(g.grid->LookupText(), "");
  EXPECT_NE(g.grid->Row(), 6);
}
