// The grid's spin editor: its stepping keys and spin events, and its leave
// keys (commit, validate, abandon, move on), as tables over synthetic keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/GridComponent.h"
#include "grid/GridSpin.h"
#include "rtl/DateTime.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace grid;

namespace {

struct TSpinGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  TGridSpin* spin = nullptr;
  std::vector<std::string> events;
  std::string verdict;
  TSpinGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(3);
    grid->SetRowCount(6);
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    for (Integer r = 1; r < 6; ++r) grid->SetCells(1, r, std::to_string(10 * r));
    grid->SetCells(2, 1, "0.5");
    spin = dynamic_cast<TGridSpin*>(grid->EditorControl(ecSpin));
    grid->OnGetEditorType = [this](vcl::TObject*, Integer col, Integer row, TEditorType& editor) {
      editor = col == 2 ? edFloatSpinEdit : row == 5 ? edDateSpinEdit : edSpinEdit;
      spin->SetMinValue(0);
      spin->SetMaxValue(100);
      spin->SetIncrement(5);
      spin->SetMinFloatValue(0);
      spin->SetMaxFloatValue(10);
      spin->SetIncrementFloat(0.25);
    };
    grid->OnSpinClick = [this](vcl::TObject* sender, Integer col, Integer row, Integer value, bool up) {
      EXPECT_EQ(sender, grid);
      events.push_back("spin " + std::to_string(col) + "," + std::to_string(row) + " " + std::to_string(value) +
                       (up ? " up" : " down"));
    };
    grid->OnFloatSpinClick = [this](vcl::TObject*, Integer col, Integer row, double value, bool up) {
      events.push_back("float spin " + std::to_string(col) + "," + std::to_string(row) + " " +
                       std::to_string(value).substr(0, 4) + (up ? " up" : " down"));
    };
    grid->OnCellValidate = [this](vcl::TObject*, Integer col, Integer row, AnsiString& value, bool& valid) {
      events.push_back("validate " + std::to_string(col) + "," + std::to_string(row) + " " + value);
      if (verdict == "refuse") valid = false;
    };
    grid->OnEditingDone = [this](vcl::TObject*) { events.push_back("editing done"); };
    form->Show();
    grid->SetFocus();
  }
  ~TSpinGrid() { vcl::Free(form); }
  void Edit(Integer col, Integer row) {
    grid->SetCol(col);
    grid->SetRow(row);
    grid->Perform(vcl::WM_KEYDOWN, vcl::VK_F2, 0);
    ASSERT_EQ(grid->ActiveEditorControl(), spin);
    events.clear();
  }
  void Key(vcl::Word key) { spin->Perform(vcl::WM_KEYDOWN, key, 0); }
};

}  // namespace

TEST(GridSpinEditor, SteppingKeysAndTheirEvent) {
  TSpinGrid g;
  struct Case {
    Integer col;
    const char* start;
    vcl::Word key;
    const char* shown;
    const char* event;
  };
  const Case cases[] = {
      // Integer: a step past the limit leaves the value.
      {1, "98", vcl::VK_PRIOR, "98", "spin 1,1 98 up"},
      {1, "95", vcl::VK_PRIOR, "100", "spin 1,1 100 up"},
      {1, "3", vcl::VK_NEXT, "3", "spin 1,1 3 down"},
      {1, "30", vcl::VK_NEXT, "25", "spin 1,1 25 down"},
      // Home the maximum, End the minimum.
      {1, "30", vcl::VK_HOME, "100", "spin 1,1 100 up"},
      {1, "30", vcl::VK_END, "0", "spin 1,1 0 down"},
      // Float: the keyboard reports through OnSpinClick with the integer
      // value.
      {2, "0.5", vcl::VK_NEXT, "0.25", "spin 2,1 0 down"},
      {2, "0.25", vcl::VK_NEXT, "0", "spin 2,1 0 down"},
      {2, "0", vcl::VK_NEXT, "0", "spin 2,1 0 down"},
      {2, "9.5", vcl::VK_HOME, "10", "spin 2,1 10 up"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.start) + " key " + std::to_string(k.key));
    g.grid->SetCells(k.col, 1, k.start);
    g.Edit(k.col, 1);
    g.Key(k.key);
    if (k.col == 2)
      EXPECT_DOUBLE_EQ(g.spin->FloatValue(), std::stod(k.shown));
    else
      EXPECT_EQ(g.spin->Value(), std::stoi(k.shown));
    ASSERT_EQ(g.events.size(), 1u);
    EXPECT_EQ(g.events[0], k.event);
    g.Key(vcl::VK_ESCAPE);
  }
  // A date spin leaves the stepping keys to its base: no event.
  g.Edit(1, 5);
  g.Key(vcl::VK_HOME);
  EXPECT_TRUE(g.events.empty());
  g.Key(vcl::VK_ESCAPE);
}

TEST(GridSpinEditor, ButtonClicksFireTheSpinTypesEvent) {
  TSpinGrid g;
  g.grid->SetCells(2, 1, "0.5");
  g.Edit(2, 1);
  g.spin->UpButtonClick(nullptr);
  ASSERT_EQ(g.events.size(), 1u);
  EXPECT_EQ(g.events[0].substr(0, 16), "float spin 2,1 0");
  EXPECT_NE(g.events[0].find("up"), std::string::npos);
  g.Key(vcl::VK_ESCAPE);
  g.Edit(1, 2);
  g.spin->DownButtonClick(nullptr);
  EXPECT_EQ(g.events.back(), "spin 1,2 15 down");
}

TEST(GridSpinEditor, LeaveKeysCommitValidateOrAbandon) {
  TSpinGrid g;
  g.grid->Navigation()->AdvanceOnEnter = true;
  g.grid->Navigation()->SetAdvanceDirection(adTopBottom);
  struct Case {
    const char* name;
    vcl::Word key;
    const char* verdict;
    const char* cell;          // the text of (1, 2) afterwards
    Integer row;               // the current row afterwards
    bool editorOpen;
    std::vector<std::string> events;
  };
  const std::vector<Case> cases = {
      {"enter accepted", vcl::VK_RETURN, "", "42", 3, false, {"validate 1,2 42", "editing done"}},
      {"enter refused", vcl::VK_RETURN, "refuse", "20", 2, true, {"validate 1,2 42"}},
      {"escape", vcl::VK_ESCAPE, "", "20", 2, false, {"editing done"}},
      {"down accepted", vcl::VK_DOWN, "", "42", 3, false, {"validate 1,2 42", "editing done"}},
      {"up accepted", vcl::VK_UP, "", "42", 1, false, {"validate 1,2 42", "editing done"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    g.grid->SetCells(1, 2, "20");
    g.verdict = k.verdict;
    g.Edit(1, 2);
    g.spin->SetValue(42);
    g.events.clear();
    g.Key(k.key);
    EXPECT_EQ(g.grid->Cells(1, 2), k.cell);
    EXPECT_EQ(g.grid->Row(), k.row);
    EXPECT_EQ(g.grid->ActiveEditorControl() == g.spin, k.editorOpen);
    EXPECT_EQ(g.events, k.events);
    if (k.editorOpen) {
      // The cell's text shown, the caret at its end.
      EXPECT_EQ(g.spin->Text(), "20");
      EXPECT_EQ(g.spin->SelStart(), 2);
      g.verdict.clear();
      g.Key(vcl::VK_ESCAPE);
    }
  }

  // Tab with goTabs commits and moves as Tab.
  auto options = g.grid->Options();
  options.Include(vcl::goTabs);
  g.grid->SetOptions(options);
  g.grid->SetCells(1, 2, "20");
  g.Edit(1, 2);
  g.spin->SetValue(55);
  g.Key(vcl::VK_TAB);
  EXPECT_EQ(g.grid->Cells(1, 2), "55");
  EXPECT_EQ(g.grid->ActiveEditorControl(), nullptr);
  EXPECT_EQ(g.grid->Col(), 2);
  // Escape brings back the start text whatever was typed.
  g.grid->SetCells(1, 3, "12");
  g.Edit(1, 3);
  g.spin->SetText("99");
  g.Key(vcl::VK_ESCAPE);
  EXPECT_EQ(g.grid->Cells(1, 3), "12");
}

TEST(GridSpinEditor, BelongsToAGrid) {
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  EXPECT_THROW(TGridSpin spin(form), EInvalidCast);
  vcl::Free(form);
}
