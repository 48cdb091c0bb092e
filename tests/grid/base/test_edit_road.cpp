// The road of one edit on a grid set up like the program's settings dialog:
// OnGetEditorType picks a text, spin, combo (editable and list) or float
// spin editor per row; F2 opens the right editor over the cell, a non-text
// editor placed on the cell rectangle and filled from the cell; in a text
// cell Escape puts the old text back and Enter keeps the new one; the end
// of an edit fires OnEditingDone, then OnEditCellDone once the posted
// "GridEditDone" arrives; the current cell moves on after Enter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dropdown/VoeCombo.h"
#include "dropdown/VoeSpin.h"
#include "grid/GridComponent.h"
#include "rtl/DateTime.h"
#include "rtl/Locale.h"
#include "vcl/DateTimePicker.h"
#include "vcl/Forms.h"
#include "vcl/Grids.h"
#include "vcl/Messages.h"

using namespace grid;

namespace {

struct TSettingsGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> events;
  TSettingsGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(2);
    grid->SetRowCount(6);
    grid->SetColWidths(1, 160);
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    const char* names[] = {"", "Name", "Port", "Mode", "Level", "Gain"};
    const char* values[] = {"", "module-1", "8080", "fast", "HIGH", "1.5"};
    for (Integer r = 1; r < 6; ++r) {
      grid->SetCells(0, r, names[r]);
      grid->SetCells(1, r, values[r]);
    }
    grid->OnGetEditorType = [this](vcl::TObject*, Integer, Integer row, TEditorType& editor) {
      auto* combo = dynamic_cast<vcl::TCustomComboBox*>(grid->EditorControl(ecCombo));
      switch (row) {
        case 2:
          // The dialog sets the port's limits with the editor type.
          editor = edSpinEdit;
          if (auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(grid->EditorControl(ecSpin))) {
            spin->SetMinValue(1);
            spin->SetMaxValue(65535);
          }
          break;
        case 3:
        case 4:
          editor = row == 3 ? edComboEdit : edComboList;
          combo->Items()->Clear();
          for (const char* item : {"low", "medium", "high"}) combo->Items()->Add(item);
          break;
        case 5: editor = edFloatSpinEdit; break;
        default: break;
      }
    };
    grid->OnEditingDone = [this](vcl::TObject*) { events.push_back("editing done"); };
    grid->OnEditCellDone = [this](vcl::TObject*, Integer col, Integer row) {
      events.push_back("cell done " + std::to_string(col) + "," + std::to_string(row));
    };
    form->Show();
    grid->SetFocus();
  }
  ~TSettingsGrid() { vcl::Free(form); }
  void Key(vcl::Word key) { grid->Perform(vcl::WM_KEYDOWN, key, 0); }
  void At(Integer col, Integer row) {
    grid->SetCol(col);
    grid->SetRow(row);
  }
};

}  // namespace

TEST(GridEditRoad, F2OpensTheRightEditorPlacedAndFilled) {
  rtl::TFormatSettings us = rtl::FormatSettings();
  us.DecimalSeparator = '.';
  rtl::TFormatSettingsScope locale(us);
  TSettingsGrid g;
  auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(g.grid->EditorControl(ecSpin));
  auto* combo = dynamic_cast<vcl::TCustomComboBox*>(g.grid->EditorControl(ecCombo));
  ASSERT_NE(spin, nullptr);
  ASSERT_NE(combo, nullptr);

  struct Case {
    Integer row;
    TEditorType type;
    vcl::TWinControl* control;
  } cases[] = {
      {1, edNormal, nullptr},
      {2, edSpinEdit, spin},
      {3, edComboEdit, combo},
      {4, edComboList, combo},
      {5, edFloatSpinEdit, spin},
  };
  for (const Case& c : cases) {
    g.At(1, c.row);
    g.Key(vcl::VK_F2);
    EXPECT_TRUE(g.grid->EditorActive()) << c.row;
    EXPECT_EQ(g.grid->CurrentEditorType(), c.type) << c.row;
    EXPECT_EQ(g.grid->ActiveEditorControl(), c.control) << c.row;
    if (c.control == nullptr) {
      // The class library's editor over the text cell.
      EXPECT_TRUE(g.grid->EditorMode());
      ASSERT_NE(g.grid->InplaceEditor(), nullptr);
      EXPECT_TRUE(g.grid->InplaceEditor()->Visible());
      EXPECT_EQ(g.grid->InplaceEditor()->Text(), "module-1");
    } else {
      EXPECT_FALSE(g.grid->EditorMode()) << c.row;
      EXPECT_TRUE(c.control->Visible()) << c.row;
      EXPECT_TRUE(c.control->Enabled()) << c.row;
      const vcl::TRect r = g.grid->CellRect(1, c.row);
      const TEditorBounds b = PlaceEditor(EditorRoute(c.type).Placement, {r.Left, r.Top, r.Right, r.Bottom}, 2, 2,
                                          false, c.control->Height());
      EXPECT_EQ(c.control->Left(), b.Left) << c.row;
      EXPECT_EQ(c.control->Top(), b.Top) << c.row;
      EXPECT_EQ(c.control->Width(), r.Right - r.Left - 1) << c.row;
      EXPECT_EQ(c.control->Width(), b.Width) << c.row;
    }
    switch (c.row) {
      case 2:
        EXPECT_EQ(spin->SpinType(), dropdown::sptNormal);
        EXPECT_EQ(spin->Value(), 8080);
        break;
      case 3:
        EXPECT_EQ(combo->Style(), vcl::csDropDown);
        EXPECT_EQ(combo->Text(), "fast");
        break;
      case 4:
        // The item equal to the cell's text without case.
        EXPECT_EQ(combo->Style(), vcl::csDropDownList);
        EXPECT_EQ(combo->ItemIndex(), 2);
        break;
      case 5:
        EXPECT_EQ(spin->SpinType(), dropdown::sptFloat);
        EXPECT_DOUBLE_EQ(spin->FloatValue(), 1.5);
        break;
      default: break;
    }
    g.grid->HideCellEditor();
    EXPECT_FALSE(g.grid->EditorActive()) << c.row;
    if (c.control != nullptr) {
      EXPECT_FALSE(c.control->Visible()) << c.row;
      EXPECT_FALSE(c.control->Enabled()) << c.row;
    }
  }
}

TEST(GridEditRoad, ControlsWriteTheirValueBack) {
  TSettingsGrid g;
  auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(g.grid->EditorControl(ecSpin));
  auto* combo = dynamic_cast<vcl::TCustomComboBox*>(g.grid->EditorControl(ecCombo));
  g.At(1, 2);
  g.Key(vcl::VK_F2);
  spin->SetValue(9090);
  g.grid->HideCellEditor();
  EXPECT_EQ(g.grid->Cells(1, 2), "9090");
  g.At(1, 4);
  g.Key(vcl::VK_F2);
  combo->SetItemIndex(1);
  g.grid->HideCellEditor();
  EXPECT_EQ(g.grid->Cells(1, 4), "medium");
  EXPECT_EQ(g.events, (std::vector<std::string>{"editing done", "editing done"}));
  vcl::Application->ProcessMessages();
  EXPECT_EQ(g.events, (std::vector<std::string>{"editing done", "editing done", "cell done 1,2", "cell done 1,4"}));
}

TEST(GridEditRoad, EscapeAbandonsEnterWritesBackAndMovesOn) {
  TSettingsGrid g;
  g.grid->Navigation()->AdvanceOnEnter = true;
  g.grid->Navigation()->SetAdvanceDirection(adTopBottom);
  g.At(1, 1);
  g.Key(vcl::VK_F2);
  ASSERT_TRUE(g.grid->EditorMode());
  g.grid->InplaceEditor()->SetText("module-2");
  // The text goes into the cell as it is typed.
  EXPECT_EQ(g.grid->Cells(1, 1), "module-2");
  g.Key(vcl::VK_ESCAPE);
  EXPECT_FALSE(g.grid->EditorMode());
  EXPECT_FALSE(g.grid->EditorActive());
  EXPECT_EQ(g.grid->Cells(1, 1), "module-1");
  EXPECT_EQ(g.grid->Row(), 1);

  g.Key(vcl::VK_F2);
  g.grid->InplaceEditor()->SetText("module-3");
  g.Key(vcl::VK_RETURN);
  EXPECT_FALSE(g.grid->EditorMode());
  EXPECT_EQ(g.grid->Cells(1, 1), "module-3");
  EXPECT_EQ(g.grid->Row(), 2);
  EXPECT_EQ(g.grid->Col(), 1);
  EXPECT_EQ(g.events, (std::vector<std::string>{"editing done", "editing done"}));
  vcl::Application->ProcessMessages();
  EXPECT_EQ(g.events, (std::vector<std::string>{"editing done", "editing done", "cell done 1,1", "cell done 1,1"}));
}

TEST(GridEditRoad, EdNoneAndCellsTheOwnerRefusesOpenNothing) {
  TSettingsGrid g;
  g.grid->OnGetEditorType = [](vcl::TObject*, Integer, Integer row, TEditorType& editor) {
    if (row == 2) editor = edNone;
  };
  g.At(1, 2);
  g.Key(vcl::VK_F2);
  EXPECT_FALSE(g.grid->EditorActive());
  EXPECT_FALSE(g.grid->EditorMode());
  // A kind whose control has no factory yet ends the edit at once.
  g.grid->OnGetEditorType = [](vcl::TObject*, Integer, Integer, TEditorType& editor) {
    editor = edCalculatorDropDown;
  };
  ASSERT_FALSE(HasGridEditorFactory(ecCalculatorDropDown));
  g.At(1, 3);
  g.Key(vcl::VK_F2);
  EXPECT_FALSE(g.grid->EditorActive());
  EXPECT_EQ(g.grid->ActiveEditorControl(), nullptr);
  EXPECT_TRUE(g.events.empty());
}

// A control editor hands back the key that leaves it: the edit ends with
// the control's value written, the grid takes the focus and the key does
// what it does on the grid (Enter advances, Down on the last data row
// appends a row with AppendOnArrowDown, Tab moves as Tab).
TEST(GridEditRoad, KeysHandedBackByAnEditor) {
  TSettingsGrid g;
  auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(g.grid->EditorControl(ecSpin));
  g.grid->Navigation()->AdvanceOnEnter = true;
  g.grid->Navigation()->SetAdvanceDirection(adTopBottom);
  g.At(1, 2);
  g.Key(vcl::VK_F2);
  ASSERT_EQ(g.grid->ActiveEditorControl(), spin);
  spin->SetValue(81);
  g.grid->EditorLeaveKey(vcl::VK_RETURN, {});
  EXPECT_FALSE(g.grid->EditorActive());
  EXPECT_FALSE(spin->Visible());
  EXPECT_EQ(g.grid->Cells(1, 2), "81");
  EXPECT_EQ(g.grid->Row(), 3);
  EXPECT_FALSE(g.grid->EditorHandover());

  // Down on the last data row appends an empty row when allowed.
  g.grid->Navigation()->AppendOnArrowDown = true;
  std::vector<Integer> added;
  g.grid->OnAutoAddRow = [&](vcl::TObject*, Integer row) { added.push_back(row); };
  g.At(1, 5);
  g.Key(vcl::VK_F2);
  g.grid->EditorLeaveKey(vcl::VK_DOWN, {});
  EXPECT_EQ(g.grid->RowCount(), 7);
  EXPECT_EQ(g.grid->Cells(1, 6), "");
  EXPECT_EQ(added, std::vector<Integer>{5});
  EXPECT_EQ(g.grid->Row(), 6);
  // Refused: nothing is added.
  g.grid->OnCanAddRow = [](vcl::TObject*, bool& canAdd) { canAdd = false; };
  g.grid->EditorLeaveKey(vcl::VK_DOWN, {});
  EXPECT_EQ(g.grid->RowCount(), 7);

  // Tab with goTabs: the grid's Tab (OnKeyDown sees it once).
  auto options = g.grid->Options();
  options.Include(vcl::goTabs);
  g.grid->SetOptions(options);
  int tabs = 0;
  g.grid->OnKeyDown = [&](vcl::TObject*, Word& key, vcl::TShiftState) { tabs += key == vcl::VK_TAB ? 1 : 0; };
  g.At(0, 3);
  g.grid->SetCol(1);
  g.grid->EditorLeaveKey(vcl::VK_TAB, {});
  EXPECT_EQ(tabs, 1);
  EXPECT_EQ(g.grid->Row(), 4);
  EXPECT_EQ(g.grid->Col(), 1);
}

// A typed character opens the cell's editor with it: the text editor
// starts with the character, an editor control receives it after it
// shows. The keypad's decimal key types the locale's separator with
// ExcelStyleDecimalSeparator; the main '.' key stays '.'.
TEST(GridEditRoad, ATypedCharacterOpensTheEditor) {
  rtl::TFormatSettings comma = rtl::FormatSettings();
  comma.DecimalSeparator = ',';
  rtl::TFormatSettingsScope locale(comma);
  TSettingsGrid g;
  g.At(1, 1);
  g.grid->Perform(vcl::WM_CHAR, 'x', 0);
  ASSERT_TRUE(g.grid->EditorMode());
  EXPECT_EQ(g.grid->InplaceEditor()->Text(), "x");
  g.Key(vcl::VK_ESCAPE);

  g.At(1, 2);
  auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(g.grid->EditorControl(ecSpin));
  std::vector<vcl::WideChar> received;
  spin->OnKeyPress = [&](vcl::TObject*, vcl::WideChar& key) { received.push_back(key); };
  g.grid->Perform(vcl::WM_CHAR, '7', 0);
  EXPECT_EQ(g.grid->ActiveEditorControl(), spin);
  EXPECT_TRUE(received.empty());  // posted, not sent
  vcl::Application->ProcessMessages();
  EXPECT_EQ(received, std::vector<vcl::WideChar>{'7'});
  g.grid->HideCellEditor();
  spin->OnKeyPress = nullptr;

  struct Case {
    bool excel;
    vcl::LPARAM keyData;
    const char* text;
  } cases[] = {{true, 0x400000, ","}, {true, 0, "."}, {false, 0x400000, "."}};
  for (const Case& c : cases) {
    g.grid->ExcelStyleDecimalSeparator = c.excel;
    g.At(1, 1);
    g.grid->Perform(vcl::WM_CHAR, '.', c.keyData);
    ASSERT_TRUE(g.grid->EditorMode());
    EXPECT_EQ(g.grid->InplaceEditor()->Text(), c.text) << c.excel << " " << c.keyData;
    g.Key(vcl::VK_ESCAPE);
  }
}

// A date cell: the picker opens on the cell with the cell's date; with
// DirectDateClose a day picked in its calendar ends the edit and the
// picker's text goes into the cell.
TEST(GridEditRoad, ADatePickedWithDirectDateCloseEndsTheEdit) {
  rtl::TFormatSettings us = rtl::FormatSettings();
  us.DateSeparator = '/';
  us.ShortDateFormat = "M/d/yyyy";
  rtl::TFormatSettingsScope locale(us);
  TSettingsGrid g;
  g.grid->MouseActions()->DirectDateClose = true;
  g.grid->OnGetEditorType = [](vcl::TObject*, Integer, Integer, TEditorType& editor) { editor = edDateEdit; };
  g.grid->SetCells(1, 2, "7/14/2023");
  g.At(1, 2);
  g.Key(vcl::VK_F2);
  auto* picker = dynamic_cast<vcl::TDateTimePicker*>(g.grid->EditorControl(ecDatePicker));
  ASSERT_NE(picker, nullptr);
  ASSERT_EQ(g.grid->ActiveEditorControl(), picker);
  EXPECT_EQ(picker->Text(), "7/14/2023");
  EXPECT_EQ(picker->Kind(), vcl::dtkDate);
  EXPECT_EQ(picker->DateMode(), vcl::dmComboBox);
  picker->DropDown();
  ASSERT_TRUE(picker->DroppedDown());
  picker->PickCalendarDate(rtl::EncodeDate(2024, 3, 5));
  EXPECT_FALSE(g.grid->EditorActive());
  EXPECT_FALSE(picker->Visible());
  EXPECT_EQ(g.grid->Cells(1, 2), "3/5/2024");
  EXPECT_EQ(g.events, std::vector<std::string>{"editing done"});
}
