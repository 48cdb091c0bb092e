// The grid getting and losing the focus, its enter and exit steps, and the
// update lock switching the window's redraw off and on.
#include <gtest/gtest.h>

#include <QWidget>
#include <stdexcept>
#include <string>
#include <vector>

#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct TFocusGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> events;
  int originDraws = 0;
  TFocusGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 300);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 450, 250);
    grid->SetColCount(4);
    grid->SetRowCount(30);
    grid->SetDefaultRowHeight(24);
    for (Integer r = 1; r < 30; ++r) grid->SetCells(1, r, "v" + std::to_string(r));
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    grid->OnEnter = [this](vcl::TObject*) { events.push_back("enter"); };
    grid->OnExit = [this](vcl::TObject*) { events.push_back("exit"); };
    grid->OnSelectCell = [this](vcl::TObject*, Integer col, Integer row, bool&) {
      events.push_back("select " + std::to_string(col) + "," + std::to_string(row));
    };
    grid->OnDrawCell = [this](vcl::TObject*, Integer col, Integer row, const vcl::TRect&, vcl::TGridDrawState) {
      if (col == 0 && row == 0) ++originDraws;
    };
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~TFocusGrid() { vcl::Free(form); }
  QWidget* Widget() const { return grid->Host()->widget; }
  // The times the whole grid was painted while the queued messages ran.
  int Repaints() {
    originDraws = 0;
    vcl::Application->ProcessMessages();
    return originDraws;
  }
};

}  // namespace

TEST(GridFocus, AlwaysEditOpensTheEditorOnlyForAnEditableCellInView) {
  struct TCase {
    const char* name;
    bool alwaysEdit;
    Integer row;    // the current row; 25 lies below the view
    bool readOnly;  // the owner refuses the edit
    bool opens;
  };
  const TCase cases[] = {
      {"editable cell in view", true, 2, false, true},
      {"without AlwaysEdit", false, 2, false, false},
      {"cell below the view", true, 25, false, false},
      {"refused by the owner", true, 2, true, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TFocusGrid g;
    // The class library's editor exists once it has been shown.
    g.grid->SetCol(1);
    g.grid->SetRow(1);
    g.grid->ShowEditor();
    g.grid->HideEditor();
    ASSERT_NE(g.grid->InplaceEditor(), nullptr);
    g.grid->SetRow(c.row);
    g.grid->SetTopRow(1);
    g.grid->Navigation()->AlwaysEdit = c.alwaysEdit;
    g.grid->OnCanEditCell = [&c](vcl::TObject*, Integer, Integer, bool& canEdit) {
      if (c.readOnly) canEdit = false;
    };
    ASSERT_FALSE(g.grid->EditorMode());
    g.grid->Perform(vcl::WM_SETFOCUS, 0, 0);
    EXPECT_EQ(g.grid->EditorMode(), c.opens);
    if (c.opens) EXPECT_EQ(g.grid->InplaceEditor()->Text(), "v2");
  }
}

TEST(GridFocus, WithoutAnEditorOnlyAComboCellOpensOne) {
  TFocusGrid g;
  g.grid->Navigation()->AlwaysEdit = true;
  g.grid->SetCol(1);
  g.grid->SetRow(3);
  ASSERT_EQ(g.grid->InplaceEditor(), nullptr);
  g.grid->Perform(vcl::WM_SETFOCUS, 0, 0);
  EXPECT_FALSE(g.grid->EditorMode());
  bool asked = false;
  g.grid->OnHasComboBox = [&asked](vcl::TObject*, Integer, Integer, bool& has) {
    asked = true;
    has = true;
  };
  g.grid->Perform(vcl::WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(asked);
  EXPECT_TRUE(g.grid->EditorMode());
}

TEST(GridFocus, AGridOfFixedCellsOnlyParksItsSelection) {
  TFocusGrid g;
  g.grid->SetFixedRowAlways(true);
  g.grid->SetRowCount(1);
  ASSERT_FALSE(g.grid->SelectionParked());
  g.grid->Perform(vcl::WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(g.grid->SelectionParked());
  // A grid with a data row keeps its current cell.
  TFocusGrid h;
  h.grid->Perform(vcl::WM_SETFOCUS, 0, 0);
  EXPECT_FALSE(h.grid->SelectionParked());
}

TEST(GridFocus, EnterSelectsTheCellAndRecordsItsStartTextEvenWhenSelectionRaises) {
  TFocusGrid g;
  g.grid->SetCol(1);
  g.grid->SetRow(4);
  g.events.clear();
  g.grid->Perform(vcl::CM_ENTER);
  EXPECT_EQ(g.events, (std::vector<std::string>{"enter", "select 1,4"}));
  EXPECT_EQ(g.grid->EditStartText(), "v4");
  // A handler that raises while the cell is selected: the start text is
  // still the entered cell's.
  g.grid->SetRow(6);
  g.grid->OnSelectCell = [](vcl::TObject*, Integer, Integer, bool&) { throw std::runtime_error("refused"); };
  EXPECT_THROW(g.grid->Perform(vcl::CM_ENTER), std::runtime_error);
  EXPECT_EQ(g.grid->EditStartText(), "v6");
  // Without editing no cell selection runs, only OnEnter.
  g.grid->OnSelectCell = nullptr;
  auto options = g.grid->Options();
  options.Exclude(vcl::goEditing);
  g.grid->SetOptions(options);
  g.events.clear();
  g.grid->Perform(vcl::CM_ENTER);
  EXPECT_EQ(g.events, (std::vector<std::string>{"enter"}));
}

TEST(GridFocus, WritingBackAValueIsNoLeavingOfTheGrid) {
  TFocusGrid g;
  g.grid->SetCol(1);
  g.grid->SetRow(2);
  g.grid->Perform(vcl::WM_KEYDOWN, vcl::VK_F2, 0);
  ASSERT_TRUE(g.grid->EditorMode());
  g.grid->InplaceEditor()->SetText("new");
  vcl::LRESULT killAnswer = -1;
  bool committing = false;
  std::vector<std::string> during{"none"};
  g.grid->OnCellValidate = [&](vcl::TObject*, Integer, Integer, AnsiString&, bool&) {
    committing = g.grid->Committing();
    g.events.clear();
    killAnswer = g.grid->Perform(vcl::WM_KILLFOCUS, 0, 0);
    g.grid->Perform(vcl::CM_EXIT);
    during = g.events;
  };
  g.grid->HideCellEditor();
  EXPECT_TRUE(committing);
  EXPECT_EQ(killAnswer, 1);
  EXPECT_TRUE(during.empty());
  EXPECT_FALSE(g.grid->Committing());
  EXPECT_EQ(g.grid->Cells(1, 2), "new");
  // Outside a write-back the grid leaves as usual.
  g.events.clear();
  g.grid->Perform(vcl::CM_EXIT);
  EXPECT_EQ(g.events, (std::vector<std::string>{"exit"}));
  EXPECT_EQ(g.grid->Perform(vcl::WM_KILLFOCUS, 0, 0), 0);
}

TEST(GridFocus, UpdateLockSwitchesRedrawOffAndRepaintsOnceAtTheEnd) {
  TFocusGrid g;
  ASSERT_TRUE(g.Widget()->updatesEnabled());
  g.grid->BeginUpdate();
  g.grid->BeginUpdate();
  EXPECT_FALSE(g.Widget()->updatesEnabled());
  for (Integer r = 1; r < 30; ++r) g.grid->SetCells(2, r, "w");
  g.grid->Invalidate();
  EXPECT_EQ(g.Repaints(), 0);
  g.grid->EndUpdate();
  EXPECT_FALSE(g.Widget()->updatesEnabled());
  EXPECT_EQ(g.Repaints(), 0);
  g.grid->EndUpdate();
  EXPECT_TRUE(g.Widget()->updatesEnabled());
  EXPECT_EQ(g.Repaints(), 1);
  // The quiet lock leaves the window's redraw alone.
  g.grid->BeginUpdateQuiet();
  EXPECT_TRUE(g.Widget()->updatesEnabled());
  g.grid->ResetUpdateLock();
  // A hidden grid takes no lock at all.
  g.grid->SetVisible(false);
  g.grid->BeginUpdate();
  EXPECT_EQ(g.grid->UpdateCount(), 0);
}
