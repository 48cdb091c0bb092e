// Keys on the grid: with MoveScrollOnly the vertical keys scroll the view
// and leave the current cell (no event); with SkipFixedCells the arrows
// jump over cells the owner calls fixed and stay when nothing lies beyond.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "grid/GridComponent.h"
#include "grid/GridUndoRedo.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct TKeyGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  int keyEvents = 0;
  TKeyGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(6);
    grid->SetRowCount(60);
    grid->OnKeyDown = [this](vcl::TObject*, Word&, vcl::TShiftState) { ++keyEvents; };
    form->Show();
  }
  ~TKeyGrid() { vcl::Free(form); }
  void Key(Word key) { grid->Perform(vcl::WM_KEYDOWN, key, 0); }
  TCellGraphic* Graphic(Integer col, Integer row, TCellType type) {
    grid->Model().CellProperties(col, row).SetGraphic(std::make_unique<TCellGraphic>());
    TCellGraphic* graphic = grid->Model().CellProperties(col, row).Graphic();
    graphic->CellType = type;
    return graphic;
  }
};

}  // namespace

TEST(GridKeys, MoveScrollOnlyScrollsAndKeepsTheCell) {
  TKeyGrid g;
  g.grid->Navigation()->MoveScrollOnly = true;
  g.grid->SetRow(3);
  g.grid->SetCol(2);
  const Integer visible = g.grid->VisibleRowCount();
  ASSERT_GT(visible, 2);
  ASSERT_LT(visible + 1, 60);
  struct Step {
    Word key;
    Integer top;
  } steps[] = {
      {vcl::VK_DOWN, 2},
      {vcl::VK_NEXT, 2 + visible},
      {vcl::VK_UP, 1 + visible},
      {vcl::VK_END, 60 - visible},
      {vcl::VK_DOWN, 60 - visible},  // the last page: no further
      {vcl::VK_HOME, 1},
      {vcl::VK_UP, 1},  // the first row already shows
      {vcl::VK_PRIOR, 1},
  };
  for (const Step& s : steps) {
    g.Key(s.key);
    EXPECT_EQ(g.grid->TopRow(), s.top) << s.key;
    EXPECT_EQ(g.grid->Row(), 3) << s.key;
    EXPECT_EQ(g.grid->Col(), 2) << s.key;
  }
  EXPECT_EQ(g.keyEvents, 0);
  // Left and Right still move.
  g.Key(vcl::VK_RIGHT);
  EXPECT_EQ(g.grid->Col(), 3);
}

TEST(GridKeys, SkipFixedCellsJumpsOverOwnerFixedCells) {
  TKeyGrid g;
  // Columns 2 and 3 and row 5 count as fixed; so does column 5 of row 1.
  g.grid->OnIsFixedCell = [](vcl::TObject*, Integer row, Integer col, bool& fixed) {
    fixed = col == 2 || col == 3 || row == 5 || (row == 1 && col == 5);
  };
  struct Case {
    Integer col, row;
    Word key;
    Integer toCol, toRow;
    bool consumed;
  } cases[] = {
      {1, 1, vcl::VK_RIGHT, 4, 1, true},
      {4, 1, vcl::VK_LEFT, 1, 1, true},
      {4, 1, vcl::VK_RIGHT, 4, 1, true},  // only fixed cells beyond: stays
      {1, 4, vcl::VK_DOWN, 1, 6, true},
      {1, 6, vcl::VK_UP, 1, 4, true},
      {1, 2, vcl::VK_DOWN, 1, 3, false},  // a plain step
      {4, 2, vcl::VK_RIGHT, 5, 2, false},
  };
  for (const Case& c : cases) {
    g.grid->SetCol(c.col);
    g.grid->SetRow(c.row);
    g.keyEvents = 0;
    g.Key(c.key);
    EXPECT_EQ(g.grid->Col(), c.toCol) << c.col << "," << c.row << " key " << c.key;
    EXPECT_EQ(g.grid->Row(), c.toRow) << c.col << "," << c.row << " key " << c.key;
    // A consumed key fires OnKeyDown once itself; a plain one through the
    // class library, also once.
    EXPECT_EQ(g.keyEvents, 1) << c.col << "," << c.row << " key " << c.key;
  }
  // Switched off, the arrows step onto the cells the owner calls fixed.
  g.grid->Navigation()->SkipFixedCells = false;
  g.grid->SetCol(1);
  g.grid->SetRow(1);
  g.Key(vcl::VK_RIGHT);
  EXPECT_EQ(g.grid->Col(), 2);
}

// Home and End: to the first and last data row with heFirstLastRow (the
// column kept, Shift stretching the selection over whole rows, a footer
// row never reached), to the first and last column with row selection.
TEST(GridKeys, HomeAndEndByHomeEndKey) {
  TKeyGrid g;
  g.grid->Navigation()->HomeEndKey = heFirstLastRow;
  g.grid->SetCol(3);
  g.grid->SetRow(20);
  g.Key(vcl::VK_END);
  EXPECT_EQ(g.grid->Row(), 59);
  EXPECT_EQ(g.grid->Col(), 3);
  g.Key(vcl::VK_HOME);
  EXPECT_EQ(g.grid->Row(), 1);
  EXPECT_EQ(g.grid->Col(), 3);
  EXPECT_EQ(g.keyEvents, 2);
  // Shift: whole rows from where the key started.
  g.grid->SetRow(10);
  vcl::SetInputModifiers(Qt::ShiftModifier);
  g.Key(vcl::VK_END);
  vcl::SetInputModifiers(Qt::NoModifier);
  EXPECT_EQ(g.grid->Row(), 59);
  // The class library keeps a selection off the fixed column.
  EXPECT_EQ(g.grid->Selection(), (vcl::TGridRect{1, 10, 5, 59}));
  // A fixed footer row is not the last data row.
  g.grid->SetFixedFooters(1);
  g.Key(vcl::VK_END);
  EXPECT_EQ(g.grid->Row(), 58);
  EXPECT_EQ(g.grid->TopRow(), 60 - g.grid->VisibleRowCount());

  // Columns, with row selection.
  TKeyGrid c;
  auto options = c.grid->Options();
  options.Include(vcl::goRowSelect);
  c.grid->SetOptions(options);
  c.grid->SetRow(4);
  c.grid->SetCol(3);
  c.Key(vcl::VK_END);
  EXPECT_EQ(c.grid->Col(), 5);
  EXPECT_EQ(c.grid->Row(), 4);
  c.Key(vcl::VK_HOME);
  EXPECT_EQ(c.grid->Col(), 1);
  EXPECT_EQ(c.grid->LeftCol(), 1);
}

TEST(GridKeys, HomeAndEndKeepTheDisjunctRowMarksInStep) {
  TKeyGrid g;
  g.grid->Navigation()->HomeEndKey = heFirstLastRow;
  g.grid->MouseActions()->SetDisjunctRowSelect(true);
  const auto shifted = [&](Word key) {
    vcl::SetInputModifiers(Qt::ShiftModifier);
    g.Key(key);
    vcl::SetInputModifiers(Qt::NoModifier);
  };
  // Plain End: the old marks go, the row reached is the only one marked.
  g.grid->SetRowMarked(5, true);
  g.grid->SetRowMarked(7, true);
  g.grid->SetRow(20);
  g.Key(vcl::VK_END);
  EXPECT_EQ(g.grid->Row(), 59);
  EXPECT_EQ(g.grid->MarkedRows(), (std::vector<Integer>{59}));
  // Plain Home likewise.
  g.Key(vcl::VK_HOME);
  EXPECT_EQ(g.grid->MarkedRows(), (std::vector<Integer>{1}));
  // Shift+End adds the rows from the start row down and keeps row 1.
  g.grid->SetRow(56);
  g.grid->SetRowMarked(3, true);
  shifted(vcl::VK_END);
  EXPECT_EQ(g.grid->MarkedRows(), (std::vector<Integer>{1, 3, 56, 57, 58, 59}));
  // Shift+Home from row 4: rows 1 to 4, the marks below kept.
  g.grid->SetRow(4);
  shifted(vcl::VK_HOME);
  EXPECT_EQ(g.grid->Row(), 1);
  EXPECT_EQ(g.grid->Selection(), (vcl::TGridRect{1, 1, 5, 4}));
  EXPECT_EQ(g.grid->MarkedRows(), (std::vector<Integer>{1, 3, 56, 57, 58, 59, 2, 4}));
  EXPECT_EQ(g.keyEvents, 4);
}

TEST(GridKeys, KeepHorizScrollHoldsTheColumnsOfRowSelection) {
  struct Case {
    Word key;
    bool keep;
    Integer toRow;
    Integer left;
  };
  // Column 1 is current; the view was scrolled to column 8 beforehand.
  const Case cases[] = {
      {vcl::VK_DOWN, false, 11, 1}, {vcl::VK_DOWN, true, 11, 8},  {vcl::VK_UP, false, 9, 1},
      {vcl::VK_UP, true, 9, 8},     {vcl::VK_NEXT, true, -1, 8},  {vcl::VK_PRIOR, true, -1, 8},
      {vcl::VK_NEXT, false, -1, 1}, {vcl::VK_HOME, true, 1, 8},   {vcl::VK_END, true, 59, 8},
      {vcl::VK_HOME, false, 1, 1},  {vcl::VK_END, false, 59, 1},
  };
  for (const Case& c : cases) {
    TKeyGrid g;
    g.grid->SetColCount(20);
    g.grid->Navigation()->HomeEndKey = heFirstLastRow;
    g.grid->Navigation()->KeepHorizScroll = c.keep;
    auto options = g.grid->Options();
    options.Include(vcl::goRowSelect);
    g.grid->SetOptions(options);
    g.grid->SetCol(1);
    g.grid->SetRow(10);
    ASSERT_LT(g.grid->VisibleColCount(), 19);
    g.grid->SetLeftCol(8);
    ASSERT_EQ(g.grid->LeftCol(), 8);
    g.Key(c.key);
    if (c.toRow >= 0) {
      EXPECT_EQ(g.grid->Row(), c.toRow) << c.key << " keep " << c.keep;
    }
    EXPECT_NE(g.grid->Row(), 10) << c.key << " keep " << c.keep;
    EXPECT_EQ(g.grid->Col(), 1) << c.key << " keep " << c.keep;
    EXPECT_EQ(g.grid->LeftCol(), c.left) << c.key << " keep " << c.keep;
  }
  // Scrolled to the first columns already, a key is plain.
  TKeyGrid g;
  g.grid->SetColCount(20);
  g.grid->Navigation()->KeepHorizScroll = true;
  auto options = g.grid->Options();
  options.Include(vcl::goRowSelect);
  g.grid->SetOptions(options);
  g.grid->SetCol(12);
  g.grid->SetRow(10);
  ASSERT_GT(g.grid->LeftCol(), 1);
  g.grid->SetLeftCol(1);
  g.Key(vcl::VK_DOWN);
  EXPECT_EQ(g.grid->Row(), 11);
  EXPECT_GT(g.grid->LeftCol(), 1);
}

TEST(GridKeys, EnterAndSpaceOnCellControls) {
  // Row 2 holds, from column 1: a check box, a data check box, a radio
  // button (row 4 of that column holds the one set), a button and a bitmap
  // button.
  enum Setting { None = 0, Editing = 1, CheckAlways = 2, RadioAlways = 4, Refuse = 8 };
  struct Case {
    Integer col;
    Word key;
    int settings;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {1, vcl::VK_SPACE, None, {}},
      {1, vcl::VK_SPACE, CheckAlways, {"change 1,2 1", "click 1,2 1"}},
      {1, vcl::VK_SPACE, Editing, {"change 1,2 1", "click 1,2 1"}},
      {1, vcl::VK_SPACE, Editing | Refuse, {}},
      {1, vcl::VK_SPACE, CheckAlways | Refuse, {"change 1,2 1", "click 1,2 1"}},
      {1, vcl::VK_RETURN, Editing, {}},
      {2, vcl::VK_SPACE, Editing, {"change 2,2 1", "click 2,2 1"}},
      {2, vcl::VK_SPACE, None, {}},
      {3, vcl::VK_SPACE, Editing, {"radio 3,2"}},
      {3, vcl::VK_SPACE, RadioAlways, {"radio 3,2"}},
      {3, vcl::VK_SPACE, CheckAlways, {}},
      {3, vcl::VK_SPACE, Editing | Refuse, {}},
      {4, vcl::VK_RETURN, Editing, {"button 4,2"}},
      {4, vcl::VK_SPACE, Editing, {"button 4,2"}},
      {4, vcl::VK_SPACE, CheckAlways | RadioAlways, {}},
      {5, vcl::VK_SPACE, Editing, {"button 5,2"}},
  };
  for (const Case& c : cases) {
    TKeyGrid g;
    const TCellType types[] = {ctCheckBox, ctDataCheckBox, ctRadioButton, ctButton, ctBitButton};
    for (Integer col = 1; col <= 5; ++col) g.Graphic(col, 2, types[col - 1]);
    g.grid->SetCells(2, 2, "N");
    g.Graphic(3, 4, ctRadioButton)->CellBoolean = true;
    auto options = g.grid->Options();
    if (c.settings & Editing) options.Include(vcl::goEditing);
    g.grid->SetOptions(options);
    g.grid->ControlLook()->CheckAlwaysActive = (c.settings & CheckAlways) != 0;
    g.grid->ControlLook()->RadioAlwaysActive = (c.settings & RadioAlways) != 0;
    if (c.settings & Refuse) g.grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer, bool& can) { can = false; };
    g.grid->ShowModified()->Enabled = true;
    std::vector<std::string> events;
    const auto at = [](Integer col, Integer row) { return std::to_string(col) + "," + std::to_string(row); };
    g.grid->OnCheckBoxChange = [&](vcl::TObject*, Integer col, Integer row, bool state) {
      events.push_back("change " + at(col, row) + " " + std::to_string(state));
    };
    g.grid->OnCheckBoxClick = [&](vcl::TObject*, Integer col, Integer row, bool state) {
      events.push_back("click " + at(col, row) + " " + std::to_string(state));
    };
    g.grid->OnRadioButtonClick = [&](vcl::TObject*, Integer col, Integer row) { events.push_back("radio " + at(col, row)); };
    g.grid->OnButtonClick = [&](vcl::TObject*, Integer col, Integer row) { events.push_back("button " + at(col, row)); };
    g.grid->SetCol(c.col);
    g.grid->SetRow(2);
    g.Key(c.key);
    const std::string label = std::to_string(c.col) + " key " + std::to_string(c.key) + " settings " +
                              std::to_string(c.settings);
    EXPECT_EQ(events, c.events) << label;
    const bool acted = !c.events.empty();
    EXPECT_EQ(g.grid->Model().CellGraphic(1, 2)->CellBoolean, acted && c.col == 1) << label;
    EXPECT_EQ(g.grid->Cells(2, 2), acted && c.col == 2 ? "Y" : "N") << label;
    EXPECT_EQ(g.grid->CheckBoxChecked(2, 2), acted && c.col == 2) << label;
    // The set radio button moves to row 2 only.
    EXPECT_EQ(g.grid->Model().CellGraphic(3, 2)->CellBoolean, acted && c.col == 3) << label;
    EXPECT_EQ(g.grid->Model().CellGraphic(3, 4)->CellBoolean, !(acted && c.col == 3)) << label;
    // A check box turned over by the key marks its row modified.
    EXPECT_EQ(g.grid->IsRowModified(2), acted && c.col <= 2) << label;
    EXPECT_EQ(g.grid->Row(), 2) << label;
  }
}

TEST(GridKeys, ToggleCheckBoxRecordsTheChange) {
  TKeyGrid g;
  auto* records = new TLumGridUndoRedo(g.form);
  g.grid->SetUndoRedo(records);
  g.Graphic(1, 3, ctDataCheckBox);
  g.Graphic(2, 3, ctCheckBox);
  g.grid->SetCells(1, 3, "y");  // not the check-true text: reads as unchecked
  EXPECT_FALSE(g.grid->CheckBoxChecked(1, 3));
  EXPECT_TRUE(g.grid->ToggleCheckBox(1, 3, false));
  EXPECT_EQ(g.grid->Cells(1, 3), "Y");
  EXPECT_TRUE(g.grid->ToggleCheckBox(1, 3, false));
  EXPECT_EQ(g.grid->Cells(1, 3), "N");
  EXPECT_TRUE(g.grid->ToggleCheckBox(2, 3, false));
  EXPECT_TRUE(g.grid->CheckBoxChecked(2, 3));
  // Not a check box; from the user without editing: refused.
  EXPECT_FALSE(g.grid->ToggleCheckBox(3, 3, false));
  EXPECT_FALSE(g.grid->ToggleCheckBox(2, 3, true));
  EXPECT_TRUE(g.grid->CheckBoxChecked(2, 3));
  ASSERT_EQ(records->Count(), 3);
  // Each record goes between the two check texts, whatever the cell held.
  const struct {
    Integer col;
    const char* from;
    const char* to;
  } expected[] = {{1, "N", "Y"}, {1, "Y", "N"}, {2, "N", "Y"}};
  for (Integer i = 0; i < 3; ++i) {
    EXPECT_EQ(records->Items(i).Col, expected[i].col);
    EXPECT_EQ(records->Items(i).Row, 3);
    EXPECT_EQ(records->Items(i).OrigValue, expected[i].from);
    EXPECT_EQ(records->Items(i).Value, expected[i].to);
  }
}

TEST(GridKeys, EnterAndF2OnCellsThatMayNotBeEdited) {
  // Column 2 is refused by the owner; (3, 4) holds an HTML text with a
  // control of its own; (1, 4) is a plain cell.
  struct Case {
    bool editing, keyPreview;
    Integer col;
    Word key;
    bool editorOpens;
    int gridKeyEvents, formKeyEvents;
  };
  const Case cases[] = {
      {true, false, 1, vcl::VK_F2, true, 1, 0},      // plain cell: the class library's editor
      {true, false, 1, vcl::VK_RETURN, true, 1, 0},  // likewise
      {true, false, 2, vcl::VK_F2, false, 1, 0},     // refused: consumed
      {true, false, 2, vcl::VK_RETURN, false, 1, 0},
      {true, false, 3, vcl::VK_F2, false, 0, 0},  // the cell's own control keeps it
      {true, false, 3, vcl::VK_RETURN, false, 0, 0},
      {false, false, 1, vcl::VK_RETURN, false, 1, 0},  // no editing: consumed
      {false, true, 1, vcl::VK_RETURN, false, 1, 1},   // the form previews it, then the class library
  };
  for (const Case& c : cases) {
    TKeyGrid g;
    auto options = g.grid->Options();
    if (c.editing)
      options.Include(vcl::goEditing);
    else
      options.Exclude(vcl::goEditing);
    g.grid->SetOptions(options);
    g.grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer col, bool& can) { can = col != 2; };
    g.grid->SetCells(3, 4, "<P>Name: <CONTROL TYPE=\"EDIT\" ID=\"N\" VALUE=\"a\" WIDTH=\"40\"></P>");
    int formKeys = 0;
    g.form->SetKeyPreview(c.keyPreview);
    g.form->OnKeyDown = [&](vcl::TObject*, Word&, vcl::TShiftState) { ++formKeys; };
    g.grid->SetCol(c.col);
    g.grid->SetRow(4);
    g.Key(c.key);
    const std::string label = std::to_string(c.col) + " key " + std::to_string(c.key) + " editing " +
                              std::to_string(c.editing) + " preview " + std::to_string(c.keyPreview);
    EXPECT_EQ(g.grid->EditorMode(), c.editorOpens) << label;
    EXPECT_EQ(g.keyEvents, c.gridKeyEvents) << label;
    EXPECT_EQ(formKeys, c.formKeyEvents) << label;
    EXPECT_EQ(g.grid->Col(), c.col) << label;
    EXPECT_EQ(g.grid->Row(), 4) << label;
  }
}

TEST(GridKeys, LeftAndRightScrollTheColumnsOfRowSelection) {
  struct Case {
    bool leftRight;  // LeftRightRowSelect
    Word key;
    bool ctrl;
    Integer startLeft;
    Integer left;  // LeftCol afterwards
    bool consumed;
  };
  const Case cases[] = {
      {false, vcl::VK_RIGHT, false, 1, 2, true},  {false, vcl::VK_LEFT, false, 4, 3, true},
      {false, vcl::VK_LEFT, false, 1, 1, true},   // already at the first column
      {true, vcl::VK_RIGHT, true, 3, 4, false},   {true, vcl::VK_LEFT, true, 4, 3, false},
      {true, vcl::VK_LEFT, true, 1, 1, false},
  };
  for (const Case& c : cases) {
    TKeyGrid g;
    g.grid->SetColCount(20);
    g.grid->Navigation()->LeftRightRowSelect = c.leftRight;
    auto options = g.grid->Options();
    options.Include(vcl::goRowSelect);
    g.grid->SetOptions(options);
    g.grid->SetRow(5);
    g.grid->SetCol(c.startLeft + 1);
    g.grid->SetLeftCol(c.startLeft);
    ASSERT_LT(g.grid->VisibleColCount(), 20);
    const Integer col = g.grid->Col();
    const std::string label = std::to_string(c.leftRight) + " key " + std::to_string(c.key) + " ctrl " +
                              std::to_string(c.ctrl) + " from " + std::to_string(c.startLeft);
    vcl::SetInputModifiers(c.ctrl ? Qt::ControlModifier : Qt::NoModifier);
    g.Key(c.key);
    vcl::SetInputModifiers(Qt::NoModifier);
    EXPECT_EQ(g.grid->LeftCol(), c.left) << label;
    EXPECT_EQ(g.keyEvents, 1) << label;
    EXPECT_EQ(g.grid->Row(), 5) << label;
    // A consumed key leaves the current column; one that goes on moves it.
    if (c.consumed)
      EXPECT_EQ(g.grid->Col(), col) << label;
    else
      EXPECT_EQ(g.grid->Col(), col + (c.key == vcl::VK_RIGHT ? 1 : -1)) << label;
  }
  // With LeftRightRowSelect a plain arrow goes the class library's way.
  TKeyGrid g;
  g.grid->SetColCount(20);
  auto options = g.grid->Options();
  options.Include(vcl::goRowSelect);
  g.grid->SetOptions(options);
  g.grid->SetCol(3);
  g.Key(vcl::VK_RIGHT);
  EXPECT_EQ(g.grid->Col(), 4);
  EXPECT_EQ(g.grid->LeftCol(), 1);
}

TEST(GridKeys, AlwaysEditOpensTheEditorWhereTheKeyArrived) {
  struct Case {
    Word key;
    bool tabs, controlCell, opens;
  };
  const Case cases[] = {
      {vcl::VK_RIGHT, false, false, true}, {vcl::VK_DOWN, false, false, true}, {vcl::VK_TAB, true, false, true},
      {vcl::VK_TAB, false, false, false},  {vcl::VK_NEXT, false, false, false}, {vcl::VK_RIGHT, false, true, false},
  };
  for (const Case& c : cases) {
    TKeyGrid g;
    auto options = g.grid->Options();
    options.Include(vcl::goEditing);
    if (c.tabs) options.Include(vcl::goTabs);
    g.grid->SetOptions(options);
    g.grid->Navigation()->AlwaysEdit = true;
    if (c.controlCell) g.Graphic(3, 4, ctCheckBox);
    // The key-up comes after the key moved the current cell here.
    g.grid->SetCol(3);
    g.grid->SetRow(4);
    g.grid->Perform(vcl::WM_KEYUP, c.key, 0);
    EXPECT_EQ(g.grid->EditorMode(), c.opens) << c.key;
  }
}

TEST(GridKeys, DialogCodeWantsCharacters) {
  TKeyGrid g;
  auto options = g.grid->Options();
  options.Exclude(vcl::goEditing);
  g.grid->SetOptions(options);
  EXPECT_NE(g.grid->Perform(vcl::WM_GETDLGCODE, 0, 0) & vcl::DLGC_WANTCHARS, 0);
  options.Include(vcl::goEditing);
  g.grid->SetOptions(options);
  g.grid->Navigation()->AutoGotoWhenSorted = true;
  EXPECT_NE(g.grid->Perform(vcl::WM_GETDLGCODE, 0, 0) & vcl::DLGC_WANTCHARS, 0);
}

TEST(GridKeys, EnterAndF2TakeEditingOnWhereItIsOnDemand) {
  struct Case {
    bool dblClickOnly, rangeEdit, refused;
    Word key;
    bool opens;
    int keyEvents;
  };
  const Case cases[] = {
      {true, false, false, vcl::VK_F2, true, 1},      {true, false, false, vcl::VK_RETURN, true, 1},
      {true, false, true, vcl::VK_F2, false, 1},      // refused: no editing, the class library sees a plain F2
      {false, true, false, vcl::VK_F2, true, 1},      {false, true, false, vcl::VK_RETURN, true, 1},
      {false, true, true, vcl::VK_RETURN, false, 1},  // refused: consumed
  };
  for (const Case& c : cases) {
    TKeyGrid g;
    auto options = g.grid->Options();
    options.Exclude(vcl::goEditing);
    g.grid->SetOptions(options);
    g.grid->MouseActions()->SetEditOnDblClickOnly(c.dblClickOnly);
    g.grid->MouseActions()->RangeSelectAndEdit = c.rangeEdit;
    if (c.refused) g.grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer, bool& can) { can = false; };
    g.grid->SetCol(2);
    g.grid->SetRow(3);
    g.Key(c.key);
    const std::string label = std::to_string(c.dblClickOnly) + std::to_string(c.rangeEdit) +
                              std::to_string(c.refused) + " key " + std::to_string(c.key);
    EXPECT_EQ(g.grid->EditorMode(), c.opens) << label;
    EXPECT_EQ(g.grid->Options().Contains(vcl::goEditing), c.opens) << label;
    EXPECT_EQ(g.keyEvents, c.keyEvents) << label;
    EXPECT_EQ(g.grid->Col(), 2) << label;
    EXPECT_EQ(g.grid->Row(), 3) << label;
  }
}

TEST(GridKeys, EnterOnAControlCellMovesOn) {
  // (2, 3) holds a check box; Enter is typed there.
  struct Case {
    bool advance, autoEdit;
    Integer toCol;
    bool opens;
  };
  const Case cases[] = {
      {true, true, 3, true},
      {true, false, 3, false},
      {false, true, 2, false},
  };
  for (const Case& c : cases) {
    TKeyGrid g;
    auto options = g.grid->Options();
    options.Include(vcl::goEditing);
    g.grid->SetOptions(options);
    g.grid->Navigation()->AdvanceOnEnter = c.advance;
    g.grid->Navigation()->AdvanceAutoEdit = c.autoEdit;
    g.Graphic(2, 3, ctCheckBox);
    int presses = 0;
    g.grid->OnKeyPress = [&](vcl::TObject*, vcl::WideChar&) { ++presses; };
    g.grid->SetCol(2);
    g.grid->SetRow(3);
    g.Key(vcl::VK_RETURN);
    g.grid->Perform(vcl::WM_CHAR, '\r', 0);
    const std::string label = std::to_string(c.advance) + std::to_string(c.autoEdit);
    EXPECT_EQ(g.grid->Col(), c.toCol) << label;
    EXPECT_EQ(g.grid->Row(), 3) << label;
    EXPECT_EQ(g.grid->EditorMode(), c.opens) << label;
    EXPECT_EQ(presses, 1) << label;
  }
  // Enter on a cell that may not be edited, without AdvanceOnEnter: the
  // owner hears of it and nothing else happens.
  TKeyGrid g;
  int presses = 0;
  g.grid->OnKeyPress = [&](vcl::TObject*, vcl::WideChar&) { ++presses; };
  g.grid->SetCol(2);
  g.grid->SetRow(3);
  g.grid->Perform(vcl::WM_CHAR, '\r', 0);
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(g.grid->Col(), 2);
  EXPECT_FALSE(g.grid->EditorMode());
}

TEST(GridKeys, TypedCharactersOnControlsOnDemandAndClipboard) {
  // An HTML cell with a control of its own takes no typing; a plain cell
  // opens its editor with the character.
  {
    TKeyGrid g;
    auto options = g.grid->Options();
    options.Include(vcl::goEditing);
    g.grid->SetOptions(options);
    const AnsiString html = "<P>Name: <CONTROL TYPE=\"EDIT\" ID=\"N\" VALUE=\"a\" WIDTH=\"40\"></P>";
    g.grid->SetCells(3, 4, html);
    g.grid->SetCol(3);
    g.grid->SetRow(4);
    g.grid->Perform(vcl::WM_CHAR, 'x', 0);
    EXPECT_FALSE(g.grid->EditorMode());
    EXPECT_EQ(g.grid->Cells(3, 4), html);
    g.grid->SetCol(2);
    g.grid->Perform(vcl::WM_CHAR, 'x', 0);
    EXPECT_TRUE(g.grid->EditorMode());
  }
  // With EditOnDblClickOnly typing takes editing on where the owner allows.
  for (const bool refused : {false, true}) {
    TKeyGrid g;
    g.grid->MouseActions()->SetEditOnDblClickOnly(true);
    ASSERT_FALSE(g.grid->Options().Contains(vcl::goEditing));
    g.grid->OnCanEditCell = [&](vcl::TObject*, Integer, Integer, bool& can) { can = !refused; };
    g.grid->SetCol(2);
    g.grid->SetRow(3);
    g.grid->Perform(vcl::WM_CHAR, 'x', 0);
    EXPECT_EQ(g.grid->Options().Contains(vcl::goEditing), !refused) << refused;
    EXPECT_EQ(g.grid->EditorMode(), !refused) << refused;
  }
  // Ctrl+C, Ctrl+V and Ctrl+X as characters are dropped with the clipboard
  // shortcuts on; otherwise the owner sees them.
  for (const bool shortcuts : {false, true}) {
    TKeyGrid g;
    g.grid->Navigation()->AllowClipboardShortCuts = shortcuts;
    int presses = 0;
    g.grid->OnKeyPress = [&](vcl::TObject*, vcl::WideChar&) { ++presses; };
    vcl::SetInputModifiers(Qt::ControlModifier);
    for (const vcl::WPARAM ch : {3, 22, 24}) g.grid->Perform(vcl::WM_CHAR, ch, 0);
    vcl::SetInputModifiers(Qt::NoModifier);
    EXPECT_EQ(presses, shortcuts ? 0 : 3) << shortcuts;
  }
}

TEST(GridKeys, EscapePutsBackTheEditStartText) {
  TKeyGrid g;
  auto options = g.grid->Options();
  options.Include(vcl::goEditing);
  g.grid->SetOptions(options);
  g.grid->SetCells(2, 3, "before");
  g.grid->SetCol(2);
  g.grid->SetRow(3);
  int presses = 0;
  g.grid->OnKeyPress = [&](vcl::TObject*, vcl::WideChar&) { ++presses; };
  // No edit awaiting validation: the text stays as it is.
  g.grid->SetCells(2, 3, "changed");
  g.grid->Perform(vcl::WM_CHAR, 27, 0);
  EXPECT_EQ(g.grid->Cells(2, 3), "changed");
  // An edit began (F2), and the cell changed since.
  g.grid->SetCells(2, 3, "before");
  g.Key(vcl::VK_F2);
  ASSERT_TRUE(g.grid->EditorMode());
  g.grid->SetCells(2, 3, "after");
  g.grid->Perform(vcl::WM_CHAR, 27, 0);
  EXPECT_EQ(g.grid->Cells(2, 3), "before");
  EXPECT_EQ(presses, 2);
}
