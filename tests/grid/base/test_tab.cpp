// Tab on the grid: the current cell passes over cells the owner refuses,
// goes back with Shift+Tab, asks the three changing events (one shared
// flag) when it runs out of a row, appends a row at the end or hands the
// focus to the parent's next control, lets OnKeyDown take the Tab, and
// stays where it was when no cell can be edited.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace grid;

namespace {

// A form that notes the Tab keys posted to it.
class TTabForm : public vcl::TForm {
 public:
  using vcl::TForm::TForm;
  int tabsPosted = 0;
  void Dispatch(vcl::TMessage& message) override {
    if (message.Msg == vcl::WM_KEYDOWN && message.WParam == vcl::VK_TAB) ++tabsPosted;
    vcl::TForm::Dispatch(message);
  }
};

struct TTabFixture {
  TTabForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> events;
  TTabFixture() {
    form = new TTabForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(5);
    grid->SetRowCount(5);
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    // The click that opens the editor is not what these tests look at.
    grid->Navigation()->AdvanceAutoEdit = false;
    grid->OnRowChanging = [this](vcl::TObject*, Integer from, Integer to, bool& allow) {
      events.push_back("row " + std::to_string(from) + ">" + std::to_string(to) + (allow ? "" : " refused"));
      allow = allowMoves;
    };
    grid->OnCellChanging = [this](vcl::TObject*, Integer r0, Integer c0, Integer r1, Integer c1, bool& allow) {
      events.push_back("cell " + std::to_string(c0) + "," + std::to_string(r0) + ">" + std::to_string(c1) + "," +
                       std::to_string(r1) + (allow ? "" : " refused"));
    };
    grid->OnColChanging = [this](vcl::TObject*, Integer from, Integer to, bool& allow) {
      events.push_back("col " + std::to_string(from) + ">" + std::to_string(to) + (allow ? "" : " refused"));
    };
  }
  ~TTabFixture() { vcl::Free(form); }
  void At(Integer col, Integer row) {
    grid->SetCol(col);
    grid->SetRow(row);
  }
  TCellCoord Current() const { return {grid->Col(), grid->Row()}; }
  bool allowMoves = true;
};

}  // namespace

TEST(GridTab, PassesOverRefusedCellsBothWays) {
  TTabFixture f;
  f.grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer col, bool& canEdit) { canEdit = col != 2; };
  f.At(1, 1);
  f.grid->TabAdvance(false);
  EXPECT_EQ(f.Current(), (TCellCoord{3, 1}));
  f.grid->TabAdvance(false);
  EXPECT_EQ(f.Current(), (TCellCoord{4, 1}));
  // From the last data column the next row is taken without events.
  f.grid->TabAdvance(false);
  EXPECT_EQ(f.Current(), (TCellCoord{1, 2}));
  EXPECT_TRUE(f.events.empty());
  f.At(3, 2);
  f.grid->TabAdvance(true);
  EXPECT_EQ(f.Current(), (TCellCoord{1, 2}));
  f.grid->TabAdvance(true);
  EXPECT_EQ(f.Current(), (TCellCoord{4, 1}));
}

TEST(GridTab, RunningOutOfARowAsksTheThreeEventsWithOneFlag) {
  for (bool allow : {true, false}) {
    TTabFixture f;
    f.allowMoves = allow;
    // Row 2 has nothing to edit right of column 2.
    f.grid->OnCanEditCell = [](vcl::TObject*, Integer row, Integer col, bool& canEdit) {
      canEdit = row != 2 || col <= 2;
    };
    f.At(2, 2);
    f.events.clear();
    f.grid->TabAdvance(false);
    if (allow) {
      EXPECT_EQ(f.events, (std::vector<std::string>{"row 2>3", "cell 2,2>1,3", "col 2>1"}));
      EXPECT_EQ(f.Current(), (TCellCoord{1, 3}));
    } else {
      // The row handler's refusal is what the other two see.
      EXPECT_EQ(f.events, (std::vector<std::string>{"row 2>3", "cell 2,2>1,3 refused", "col 2>1 refused"}));
      EXPECT_EQ(f.Current(), (TCellCoord{2, 2}));
    }
  }
}

TEST(GridTab, TheGridsEndAppendsARowOrHandsTheFocusOn) {
  {
    TTabFixture f;
    f.grid->Navigation()->SetAdvanceInsert(true);
    std::vector<Integer> added;
    f.grid->OnAutoAddRow = [&](vcl::TObject*, Integer row) { added.push_back(row); };
    f.At(4, 4);
    f.grid->TabAdvance(false);
    EXPECT_EQ(f.grid->RowCount(), 6);
    EXPECT_EQ(added, std::vector<Integer>{5});
    EXPECT_EQ(f.Current(), (TCellCoord{1, 5}));
    // Refused: the current cell wraps to the first data row.
    f.grid->OnCanAddRow = [](vcl::TObject*, bool& canAdd) { canAdd = false; };
    f.At(4, 5);
    f.grid->TabAdvance(false);
    EXPECT_EQ(f.grid->RowCount(), 6);
    EXPECT_EQ(f.Current(), (TCellCoord{1, 1}));
  }
  {
    TTabFixture f;
    f.form->Show();
    f.grid->Navigation()->SetAdvanceInsert(true);
    f.grid->Navigation()->TabToNextAtEnd = true;
    f.At(4, 4);
    f.grid->TabAdvance(false);
    EXPECT_EQ(f.grid->RowCount(), 5);
    EXPECT_EQ(f.Current(), (TCellCoord{1, 1}));
    EXPECT_EQ(f.form->tabsPosted, 0);  // posted, not sent
    vcl::Application->ProcessMessages();
    EXPECT_EQ(f.form->tabsPosted, 1);
    // Inside the grid nothing is handed on.
    f.grid->TabAdvance(false);
    vcl::Application->ProcessMessages();
    EXPECT_EQ(f.form->tabsPosted, 1);
  }
}

TEST(GridTab, OnKeyDownSeesTheTabFirstAndMayTakeIt) {
  TTabFixture f;
  std::vector<std::string> keys;
  bool take = false;
  f.grid->OnKeyDown = [&](vcl::TObject*, Word& key, vcl::TShiftState shift) {
    keys.push_back(std::to_string(key) + (shift.Contains(vcl::ssShift) ? " shift" : ""));
    if (take) key = 0;
  };
  f.At(2, 2);
  f.grid->TabAdvance(false);
  EXPECT_EQ(f.Current(), (TCellCoord{3, 2}));
  f.grid->TabAdvance(true);
  EXPECT_EQ(f.Current(), (TCellCoord{2, 2}));
  take = true;
  f.grid->TabAdvance(false);
  EXPECT_EQ(f.Current(), (TCellCoord{2, 2}));
  EXPECT_EQ(keys, (std::vector<std::string>{"9", "9 shift", "9"}));
}

// Every cell refused: one pass round the grid, no move, no event, in both
// directions, also with the row append on (at most one row appended).
TEST(GridTab, NoEditableCellLeavesTheCurrentCell) {
  for (bool backward : {false, true}) {
    TTabFixture f;
    int asked = 0;
    f.grid->OnCanEditCell = [&](vcl::TObject*, Integer, Integer, bool& canEdit) {
      ++asked;
      canEdit = false;
    };
    f.grid->Navigation()->SetAdvanceInsert(true);
    f.At(2, 3);
    f.events.clear();
    f.grid->TabAdvance(backward);
    EXPECT_EQ(f.Current(), (TCellCoord{2, 3})) << backward;
    EXPECT_TRUE(f.events.empty()) << backward;
    EXPECT_LE(f.grid->RowCount(), 6) << backward;
    EXPECT_GT(asked, 0);
  }
}
