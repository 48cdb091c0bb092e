// The end of an Enter advance: a refused move, a control cell as the
// target, the editor opened in the new cell and the disjunct row marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace grid;

namespace {

struct TEnterStepGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> events;
  TEnterStepGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 300);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(3);
    grid->SetRowCount(5);
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    grid->Navigation()->AdvanceOnEnter = true;
    grid->Navigation()->SetAdvanceDirection(adTopBottom);
    grid->OnAutoAdvance = [this](vcl::TObject*, Integer oldRow, Integer oldCol, Integer& newRow, Integer& newCol,
                                 bool&) { events.push_back("advance " + Cell(oldCol, oldRow) + ">" + Cell(newCol, newRow)); };
    grid->OnCellChanging = [this](vcl::TObject*, Integer oldRow, Integer oldCol, Integer newRow, Integer newCol,
                                  bool& allow) {
      events.push_back("changing " + Cell(oldCol, oldRow) + ">" + Cell(newCol, newRow));
      if (refuse) allow = false;
    };
    form->Show();
    grid->SetFocus();
  }
  ~TEnterStepGrid() { vcl::Free(form); }
  static std::string Cell(Integer col, Integer row) { return std::to_string(col) + "," + std::to_string(row); }
  void Key(vcl::Word key) { grid->Perform(vcl::WM_KEYDOWN, key, 0); }
  void At(Integer col, Integer row) {
    grid->SetCol(col);
    grid->SetRow(row);
    events.clear();
  }
  bool refuse = false;
};

}  // namespace

TEST(GridEnterSteps, ARefusedMoveLeavesTheCurrentCell) {
  TEnterStepGrid g;
  g.At(1, 1);
  g.refuse = true;
  g.Key(vcl::VK_F2);
  ASSERT_TRUE(g.grid->EditorMode());
  g.Key(vcl::VK_RETURN);
  EXPECT_EQ(g.grid->Col(), 1);
  EXPECT_EQ(g.grid->Row(), 1);
  EXPECT_EQ(g.events, (std::vector<std::string>{"advance 1,1>1,2", "changing 1,1>1,2"}));
  const vcl::TGridRect sel = g.grid->Selection();
  EXPECT_EQ(sel.Left, 1);
  EXPECT_EQ(sel.Top, 1);
  EXPECT_EQ(sel.Bottom, 1);
}

TEST(GridEnterSteps, AControlCellTargetTakesTheEditThroughItsClick) {
  TEnterStepGrid g;
  // (1, 2) holds a check box; the cell Enter starts from is a spin cell.
  g.grid->Model().CellProperties(1, 2).SetGraphic(std::make_unique<TCellGraphic>());
  g.grid->Model().CellProperties(1, 2).Graphic()->CellType = ctCheckBox;
  g.grid->OnGetEditorType = [](vcl::TObject*, Integer, Integer row, TEditorType& editor) {
    if (row == 1) editor = edSpinEdit;
  };
  EXPECT_TRUE(g.grid->HasCellControl(1, 2));
  EXPECT_FALSE(g.grid->HasCellControl(1, 1));
  g.At(1, 1);
  g.grid->AdvanceAfterEnter(1, 1, true, true, false, false);
  EXPECT_EQ(g.grid->Col(), 1);
  EXPECT_EQ(g.grid->Row(), 2);
  // The move asked once as the advance, then told once more after the
  // control's click; the start cell's spin type leaves no text editor open.
  ASSERT_GE(g.events.size(), 3u);
  EXPECT_EQ(g.events.front(), "advance 1,1>1,2");
  EXPECT_EQ(g.events[1], "changing 1,1>1,2");
  EXPECT_EQ(g.events.back(), "changing 1,1>1,2");
  EXPECT_FALSE(g.grid->EditorMode());

  // From a text cell the class library's editor stays open on the target.
  g.grid->OnGetEditorType = nullptr;
  g.At(1, 1);
  g.grid->AdvanceAfterEnter(1, 1, true, true, false, false);
  EXPECT_EQ(g.grid->Row(), 2);
  EXPECT_EQ(g.events.back(), "changing 1,1>1,2");
}

TEST(GridEnterSteps, AutoEditOpensTheEditorInTheNewCellOnlyWhenAsked) {
  TEnterStepGrid g;
  g.At(1, 1);
  g.grid->Navigation()->AdvanceAutoEdit = true;
  g.grid->AdvanceAfterEnter(1, 1, true, true, true, false);
  EXPECT_EQ(g.grid->Row(), 2);
  EXPECT_TRUE(g.grid->EditorMode());
  g.Key(vcl::VK_ESCAPE);

  // Without ShowEditor the advance ends after the move.
  g.At(1, 1);
  g.grid->AdvanceAfterEnter(1, 1, false, true, true, false);
  EXPECT_EQ(g.grid->Row(), 2);
  EXPECT_FALSE(g.grid->EditorMode());

  // A target the owner refuses is passed over; the editor opens beyond it.
  g.grid->OnCanEditCell = [](vcl::TObject*, Integer row, Integer, bool& can) { can = row != 2; };
  g.At(1, 1);
  g.grid->AdvanceAfterEnter(1, 1, true, true, true, false);
  EXPECT_EQ(g.grid->Row(), 3);
  EXPECT_TRUE(g.grid->EditorMode());
}

TEST(GridEnterSteps, DisjunctRowSelectMarksTheNewRowOnly) {
  TEnterStepGrid g;
  g.grid->MouseActions()->SetDisjunctRowSelect(true);
  g.grid->SetRowMarked(1, true);
  g.grid->SetRowMarked(3, true);
  g.At(1, 1);
  g.Key(vcl::VK_F2);
  g.Key(vcl::VK_RETURN);
  EXPECT_EQ(g.grid->Row(), 2);
  EXPECT_EQ(g.grid->MarkedRows(), std::vector<Integer>{2});
  EXPECT_TRUE(g.grid->IsRowMarked(2));
  EXPECT_FALSE(g.grid->IsRowMarked(1));
}
