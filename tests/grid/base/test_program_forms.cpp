// Four forms built like the program's dialogs (tag parameters, settings,
// device list, simulator set-up), driven by synthetic keys and grabbed
// offscreen: every editor kind opens, steps, completes, commits on Enter
// and Tab and abandons on Escape, a refusal keeps the editor on its cell,
// and the events arrive with the parameters the dialogs read.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <string>
#include <vector>

#include "grid/GridCombo.h"
#include "grid/GridComponent.h"
#include "grid/GridSpin.h"
#include "grid/model/GridEnvironment.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

using namespace grid;

namespace {

struct TDialogForm {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> events;
  TDialogForm(Integer cols, Integer rows, Integer width = 420, Integer height = 220) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, width + 20, height + 20);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, width, height);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
  }
  ~TDialogForm() { vcl::Free(form); }
  void Show() {
    form->Show();
    grid->SetFocus();
    vcl::Application->ProcessMessages();
  }
  void Key(vcl::Word key) { grid->Perform(vcl::WM_KEYDOWN, key, 0); }
  void ControlKey(vcl::Word key) { grid->ActiveEditorControl()->Perform(vcl::WM_KEYDOWN, key, 0); }
  void Grab(const char* png) {
    grid->Invalidate();
    vcl::Application->ProcessMessages();
    const QImage img = grid->Widget()->grab().toImage();
    ASSERT_FALSE(img.isNull());
    img.save(QString(TOLVANE_BUILD_DIR "/") + png);
  }
  void EditingOn() {
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
  }
};

}  // namespace

// The tag dialog's parameter grid: two columns under a title row.
TEST(GridProgramForms, ParameterGrid) {
  TDialogForm f(2, 5);
  f.grid->SetFixedCols(0);
  f.grid->SetColWidths(0, 140);
  f.grid->SetColWidths(1, 220);
  f.EditingOn();
  rtl::TStringList headers;
  headers.SetCommaText("Parameter,Value");
  f.grid->SetColumnHeaders(&headers);
  const char* names[] = {"Name", "Address", "Scan rate", "Description"};
  const char* values[] = {"pump_1", "40001", "500", "inlet pump"};
  for (Integer r = 1; r < 5; ++r) {
    f.grid->SetCells(0, r, names[r - 1]);
    f.grid->SetCells(1, r, values[r - 1]);
  }
  f.grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer col, bool& can) { can = col == 1; };
  f.grid->OnGetEditText = [&](vcl::TObject*, Integer col, Integer row, AnsiString& value) {
    f.events.push_back("get edit text " + std::to_string(col) + "," + std::to_string(row) + " " + value);
  };
  f.grid->OnEditChange = [&](vcl::TObject*, Integer col, Integer row, const AnsiString& value) {
    f.events.push_back("edit change " + std::to_string(col) + "," + std::to_string(row) + " " + value);
  };
  f.grid->OnEditingDone = [&](vcl::TObject*) { f.events.push_back("editing done"); };
  f.Show();
  f.grid->SetCol(1);
  f.grid->SetRow(1);
  f.Key(vcl::VK_F2);
  ASSERT_TRUE(f.grid->EditorMode());
  EXPECT_EQ(f.events.front(), "get edit text 1,1 pump_1");
  f.grid->InplaceEditor()->SetText("pump_2");
  f.Key(vcl::VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 1), "pump_2");
  EXPECT_NE(std::find(f.events.begin(), f.events.end(), "edit change 1,1 pump_2"), f.events.end());
  EXPECT_EQ(f.events.back(), "editing done");
  // Escape abandons.
  f.Key(vcl::VK_F2);
  f.grid->InplaceEditor()->SetText("x");
  f.Key(vcl::VK_ESCAPE);
  EXPECT_EQ(f.grid->Cells(1, 1), "pump_2");
  EXPECT_EQ(f.grid->Cells(0, 0), "Parameter");
  f.Grab("grid-form-parameters.png");
}

// The settings dialog: an editor type per row, chosen in OnGetEditorType
// with the spin's limits and the combo's items filled there.
TEST(GridProgramForms, SettingsGrid) {
  FixedLocaleSettings us;
  ScopedLocale scope(us);
  TDialogForm f(2, 7);
  f.grid->SetColWidths(0, 140);
  f.grid->SetColWidths(1, 200);
  f.EditingOn();
  const char* names[] = {"", "Name", "Port", "Mode", "Level", "Gain", "Remark"};
  const char* values[] = {"", "module-1", "8080", "fast", "HIGH", "1.50", "none"};
  for (Integer r = 1; r < 7; ++r) {
    f.grid->SetCells(0, r, names[r]);
    f.grid->SetCells(1, r, values[r]);
  }
  f.grid->ShowModified()->Enabled = true;
  f.grid->Lookup = true;
  auto* spin = dynamic_cast<TGridSpin*>(f.grid->EditorControl(ecSpin));
  auto* combo = dynamic_cast<TGridCombo*>(f.grid->EditorControl(ecCombo));
  ASSERT_NE(spin, nullptr);
  ASSERT_NE(combo, nullptr);
  f.grid->OnGetEditorType = [&](vcl::TObject*, Integer, Integer row, TEditorType& editor) {
    switch (row) {
      case 2:
        editor = edSpinEdit;
        spin->SetMinValue(1);
        spin->SetMaxValue(65535);
        spin->SetIncrement(10);
        break;
      case 3:
      case 4:
        editor = row == 3 ? edComboEdit : edComboList;
        combo->Items()->Clear();
        for (const char* item : {"LOW", "MEDIUM", "HIGH"}) combo->Items()->Add(item);
        if (row == 3) {
          combo->Items()->Clear();
          for (const char* item : {"fast", "safe", "slow"}) combo->Items()->Add(item);
        }
        break;
      case 5:
        editor = edFloatSpinEdit;
        spin->SetPrecision(2);
        spin->SetMinFloatValue(0);
        spin->SetMaxFloatValue(10);
        spin->SetIncrementFloat(0.25);
        break;
      default:
        editor = edNormal;
        break;
    }
  };
  f.grid->OnFloatSpinClick = [&](vcl::TObject* sender, Integer col, Integer row, double value, bool up) {
    EXPECT_EQ(sender, f.grid);
    f.events.push_back("float spin " + std::to_string(col) + "," + std::to_string(row) + " " +
                       std::to_string(value).substr(0, 4) + (up ? " up" : " down"));
  };
  std::string refuse;
  f.grid->OnCellValidate = [&](vcl::TObject*, Integer col, Integer row, AnsiString& value, bool& valid) {
    f.events.push_back("validate " + std::to_string(col) + "," + std::to_string(row) + " " + value);
    if (value == refuse) valid = false;
  };
  f.Show();

  // Text: typed and committed with Enter.
  f.grid->SetCol(1);
  f.grid->SetRow(1);
  f.Key(vcl::VK_F2);
  f.grid->InplaceEditor()->SetText("module-9");
  f.Key(vcl::VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 1), "module-9");
  EXPECT_TRUE(f.grid->RowModified()->HasValue(1));

  // Spin: PageUp steps by the increment, Enter commits.
  f.grid->SetRow(2);
  f.Key(vcl::VK_F2);
  ASSERT_EQ(f.grid->ActiveEditorControl(), spin);
  f.ControlKey(vcl::VK_PRIOR);
  EXPECT_EQ(spin->Value(), 8090);
  f.ControlKey(vcl::VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 2), "8090");

  // A refused port keeps the spin open on its cell with the cell's text.
  refuse = "8100";
  f.grid->SetRow(2);
  f.Key(vcl::VK_F2);
  f.ControlKey(vcl::VK_PRIOR);
  f.ControlKey(vcl::VK_RETURN);
  EXPECT_EQ(f.grid->ActiveEditorControl(), spin);
  EXPECT_EQ(f.grid->Row(), 2);
  EXPECT_EQ(spin->Text(), "8090");
  f.ControlKey(vcl::VK_ESCAPE);
  EXPECT_EQ(f.grid->Cells(1, 2), "8090");
  refuse.clear();

  // Editable combo: the typed text completed from the items, Tab commits.
  f.grid->SetRow(3);
  f.Key(vcl::VK_F2);
  ASSERT_EQ(f.grid->ActiveEditorControl(), combo);
  combo->SetText("sa");
  combo->DoLookup();
  combo->SetText("safe");
  f.ControlKey(vcl::VK_TAB);
  EXPECT_EQ(f.grid->Cells(1, 3), "safe");
  f.grid->HideCellEditor();

  // List combo: the item chosen, Enter commits.
  f.grid->SetCol(1);
  f.grid->SetRow(4);
  f.Key(vcl::VK_F2);
  ASSERT_EQ(f.grid->ActiveEditorControl(), combo);
  EXPECT_EQ(combo->ItemIndex(), 2);
  combo->SetItemIndex(0);
  f.ControlKey(vcl::VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 4), "LOW");

  // Float spin: the button steps and fires OnFloatSpinClick.
  f.grid->SetCol(1);
  f.grid->SetRow(5);
  f.Key(vcl::VK_F2);
  ASSERT_EQ(f.grid->ActiveEditorControl(), spin);
  f.events.clear();
  spin->UpButtonClick(nullptr);
  ASSERT_FALSE(f.events.empty());
  EXPECT_EQ(f.events.back().substr(0, 19), "float spin 1,5 1.75");
  f.ControlKey(vcl::VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 5), "1.75");
  f.Grab("grid-form-settings.png");
}

// The device selection dialog: whole rows selected in code and by keys.
TEST(GridProgramForms, DeviceList) {
  TDialogForm f(4, 8);
  auto options = f.grid->Options();
  options.Include(vcl::goRowSelect);
  options.Include(vcl::goRangeSelect);
  f.grid->SetOptions(options);
  rtl::TStringList headers;
  headers.SetCommaText("#,Device,Address,Firmware");
  f.grid->SetColumnHeaders(&headers);
  for (Integer r = 1; r < 8; ++r) {
    f.grid->SetCells(0, r, std::to_string(r));
    f.grid->SetCells(1, r, "module-" + std::to_string(r));
    f.grid->SetCells(2, r, "10.0.0." + std::to_string(10 + r));
    f.grid->SetCells(3, r, "2." + std::to_string(r));
  }
  f.grid->OnSelectionChanged = [&](vcl::TObject*, Integer l, Integer t, Integer r, Integer b) {
    f.events.push_back("selection " + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
                       std::to_string(b));
  };
  f.Show();
  f.grid->SelectRows(2, 2);
  EXPECT_EQ(f.grid->Selection(), (vcl::TGridRect{1, 2, 3, 3}));
  f.Key(vcl::VK_DOWN);
  EXPECT_EQ(f.grid->Row(), 4);
  ASSERT_FALSE(f.events.empty());
  EXPECT_EQ(f.events.back(), "selection 1,4,3,4");
  f.Grab("grid-form-devices.png");
}

// The simulator set-up frame: rows hidden and shown, rows written whole,
// column widths, row height, a fixed column and modified rows.
TEST(GridProgramForms, SimulatorSetup) {
  TDialogForm f(3, 6);
  f.grid->SetDefaultRowHeight(22);
  f.grid->SetFixedCols(1);
  f.grid->SetColWidths(0, 40);
  f.grid->SetColWidths(1, 160);
  f.grid->SetColWidths(2, 120);
  f.grid->ShowModified()->Enabled = true;
  f.EditingOn();
  for (Integer r = 1; r < 6; ++r) {
    // Rows[r][c] := text, as the frame writes its rows.
    rtl::TStrings& row = f.grid->Rows(r);
    row.Put(0, std::to_string(r));
    row.Put(1, "signal " + std::to_string(r));
    row.Put(2, std::to_string(r * 1.5).substr(0, 3));
  }
  EXPECT_EQ(f.grid->Cells(1, 3), "signal 3");
  f.Show();
  f.grid->Model().HideRow(2);
  EXPECT_EQ(f.grid->RowCount(), 5);
  EXPECT_EQ(f.grid->Cells(1, 2), "signal 3");
  // An edit of a row below the hidden one marks it modified.
  f.grid->SetCol(2);
  f.grid->SetRow(2);
  f.Key(vcl::VK_F2);
  f.grid->InplaceEditor()->SetText("9.9");
  f.Key(vcl::VK_RETURN);
  EXPECT_TRUE(f.grid->IsRowModified(2));
  // The mark belongs to the real row and stays with it.
  EXPECT_TRUE(f.grid->RowModified()->HasValue(3));
  f.grid->Model().UnHideRow(2);
  EXPECT_EQ(f.grid->RowCount(), 6);
  EXPECT_EQ(f.grid->Cells(2, 3), "9.9");
  EXPECT_TRUE(f.grid->IsRowModified(3));
  EXPECT_FALSE(f.grid->IsRowModified(2));
  EXPECT_EQ(f.grid->RowHeights(4), 22);
  f.Grab("grid-form-simulator.png");
}
