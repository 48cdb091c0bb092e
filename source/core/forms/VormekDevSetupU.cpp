#include "core/forms/VormekDevSetupU.h"

#include <algorithm>

#include "core/ZelWebExtU.h"
#include "core/forms/FormMessagesU.h"
#include "grid/GridCombo.h"
#include "grid/GridComponent.h"
#include "grid/GridSpin.h"
#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/Strings.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Graphics.h"

namespace core {

using namespace vcl;
using grid::TEditorType;

namespace {

constexpr const char* kGeneralTitles[] = {"IP Address", "HTTP Port", "Netmask", "Gateway", "ID", "SSN", "Serial Frame"};
constexpr Integer kGeneralRows = 7;

grid::TVadOdizadEzev* MakeGrid(TFrmVormekDevSetup* frame, const char* name, TAlign align) {
  auto* g = new grid::TVadOdizadEzev(frame);
  g->SetName(name);
  g->SetParent(frame);
  g->SetAlign(align);
  auto options = g->Options();
  options.Include(goEditing);
  g->SetOptions(options);
  return g;
}

void SetHeaders(grid::TVadOdizadEzev* g, std::initializer_list<const char*> titles) {
  rtl::TStringList headers;
  for (const char* t : titles) headers.Add(t);
  g->SetColumnHeaders(&headers);
}

// Fills the grid's list editor with the lines of texts.
void FillCombo(grid::TVadOdizadEzev* g, const AnsiString& texts) {
  if (auto* combo = dynamic_cast<grid::TGridCombo*>(g->EditorControl(grid::ecCombo))) {
    combo->SetSorted(false);
    combo->Items()->SetText(texts);
  }
}

}  // namespace

TFrmVormekDevSetup::TFrmVormekDevSetup(TComponent* owner, TvormekWebSimulator* simulator)
    : TFrame(owner), simulator_(simulator) {
  SetName("FrmVormekDevSetup");
  SetAlign(alClient);
  SetBounds(0, 0, 320, 560);

  // The tool bar first, so that the grids above fill what it leaves.
  ToolBar1 = new TToolBar(this);
  ToolBar1->SetName("ToolBar1");
  ToolBar1->SetParent(this);
  ToolBar1->SetAlign(alBottom);
  ToolBar1->SetShowCaptions(true);
  ToolBar1->SetButtonWidth(60);
  Refresh = new TToolButton(this);
  Refresh->SetName("Refresh");
  Refresh->SetParent(ToolBar1);
  Refresh->SetCaption("Refresh");
  Refresh->OnClick = [this](TObject* s) { RefreshClick(s); };

  GeneralSettings = MakeGrid(this, "GeneralSettings", alTop);
  GeneralSettings->SetColCount(2);
  GeneralSettings->SetRowCount(kGeneralRows);
  GeneralSettings->SetFixedRows(0);
  GeneralSettings->SetFixedCols(1);
  GeneralSettings->SetDefaultRowHeight(18);
  GeneralSettings->SetColWidths(0, 80);
  GeneralSettings->SetColWidths(1, 160);
  GeneralSettings->SetHeight(kGeneralRows * 19 + 4);
  // The values take what the titles leave of the panel's width.
  GeneralSettings->ColumnSize()->SetStretch(true);
  for (Integer r = 0; r < kGeneralRows; ++r) GeneralSettings->SetCells(0, r, kGeneralTitles[r]);
  GeneralSettings->OnCanEditCell = [this](TObject* s, Integer r, Integer c, bool& can) {
    PinSettingsCanEditCell(s, r, c, can);
  };
  GeneralSettings->OnGetEditorType = [this](TObject* s, Integer c, Integer r, TEditorType& e) {
    GeneralSettingsGetEditorType(s, c, r, e);
  };
  GeneralSettings->OnEditChange = [this](TObject* s, Integer c, Integer r, const AnsiString& v) {
    GeneralSettingsEditChange(s, c, r, v);
  };

  Splitter1 = new TSplitter(this);
  Splitter1->SetName("Splitter1");
  Splitter1->SetParent(this);
  Splitter1->SetAlign(alTop);
  Splitter1->SetTop(GeneralSettings->Top() + GeneralSettings->Height());
  Splitter1->SetHeight(4);

  PinSettings = MakeGrid(this, "PinSettings", alTop);
  PinSettings->SetTop(Splitter1->Top() + Splitter1->Height());
  PinSettings->SetColCount(5);
  PinSettings->SetDefaultRowHeight(18);
  PinSettings->SetHeight(18 * 19 + 4);
  SetHeaders(PinSettings, {"Pin", "Low/High", "Volts", "Locked", "Direction"});
  PinSettings->OnCanEditCell = [this](TObject* s, Integer r, Integer c, bool& can) {
    PinSettingsCanEditCell(s, r, c, can);
  };
  PinSettings->OnGetEditorType = [this](TObject* s, Integer c, Integer r, TEditorType& e) {
    PinSettingsGetEditorType(s, c, r, e);
  };
  PinSettings->OnEditChange = [this](TObject* s, Integer c, Integer r, const AnsiString& v) {
    PinSettingsEditChange(s, c, r, v);
  };

  Splitter2 = new TSplitter(this);
  Splitter2->SetName("Splitter2");
  Splitter2->SetParent(this);
  Splitter2->SetAlign(alTop);
  Splitter2->SetTop(PinSettings->Top() + PinSettings->Height());
  Splitter2->SetHeight(4);

  KeyGrid = MakeGrid(this, "KeyGrid", alClient);
  KeyGrid->SetColCount(2);
  KeyGrid->SetRowCount(kKeyRows + 1);
  KeyGrid->SetFixedRows(1);
  KeyGrid->SetFixedCols(0);
  KeyGrid->SetDefaultRowHeight(18);
  KeyGrid->SetColWidths(0, 120);
  KeyGrid->SetColWidths(1, 140);
  SetHeaders(KeyGrid, {"Key", "Return Value"});
  KeyGrid->OnCanEditCell = [this](TObject* s, Integer r, Integer c, bool& can) { KeyGridCanEditCell(s, r, c, can); };
  KeyGrid->OnEditingDone = [this](TObject* s) { KeyGridEditingDone(s); };

  PinSettings->SetRowCount(TvormekParams::kPinCount + 1);
  PinSettings->SetFixedRows(1);
  PinSettings->SetFixedCols(1);
  for (Integer pin = 1; pin <= TvormekParams::kPinCount; ++pin) PinSettings->SetCells(0, pin, rtl::IntToStr(pin));

  stateTexts_ = "Low\r\nHigh\r\n";
  lockedTexts_ = "False\r\nTrue\r\n";
  directionTexts_ = "Input\r\nOutput\r\n";

  if (auto* spin = dynamic_cast<grid::TGridSpin*>(PinSettings->EditorControl(grid::ecSpin))) {
    spin->SetIncrementFloat(0.05);
    spin->SetMinFloatValue(0.0);
    spin->SetMaxFloatValue(5.0);
  }

  // The first two columns are as wide as their longest texts need, in the
  // grid's own font.
  TCanvas* canvas = PinSettings->Canvas();
  canvas->Font()->Assign(PinSettings->Font());
  PinSettings->SetColWidths(0, canvas->TextWidth("PIN    "));
  PinSettings->SetColWidths(1, canvas->TextWidth("HIGH/LOW    "));

  if (simulator_) {
    simulator_->SetSimulatorControl(this);
    simulator_->OnValuesChanged = [this](TvormekWebSimulator*) { RefreshGrids(); };
  }
  RefreshGrids();
}

TFrmVormekDevSetup::~TFrmVormekDevSetup() {
  if (simulator_ && simulator_->GetSimulatorControl() == this) {
    simulator_->SetSimulatorControl(nullptr);
    simulator_->OnValuesChanged = nullptr;
  }
}

void TFrmVormekDevSetup::SetParentControl(TWinControl* parent) {
  SetParent(parent);
  SetAlign(alClient);
}

void TFrmVormekDevSetup::LoadFromIni(rtl::TCustomIniFile& ini) {
  simulator_->LoadFromIni(ini);
  RefreshGrids();
}

void TFrmVormekDevSetup::SaveToIni(rtl::TCustomIniFile& ini) { simulator_->SaveToIni(ini); }

void TFrmVormekDevSetup::RefreshClick(TObject*) {
  if (onRefresh_) onRefresh_(this);
}

void TFrmVormekDevSetup::RefreshGrids() {
  TvormekParams& values = Values();
  for (Integer pin = 1; pin <= TvormekParams::kPinCount; ++pin) {
    const TPinData data = values.GetPin(pin);
    rtl::TStrings& row = PinSettings->Rows(pin);
    // A state read from a project file that is neither low nor high shows
    // its number and stays until the user picks one.
    row.Put(1, data.State == 0 ? AnsiString("Low") : data.State == 1 ? AnsiString("High") : rtl::IntToStr(data.State));
    row.Put(4, data.Direction == 0 ? "Input" : "Output");
    row.Put(2, data.Volts == kNoAnalogVolts ? AnsiString("N/A") : FixedTwoDecimals(data.Volts));
    row.Put(3, data.Locked ? "True" : "False");
  }
  const AnsiString general[kGeneralRows] = {values.IPAddress, values.HTTPPort,     values.NetMask,    values.Gateway,
                                            values.ID,        values.SerialNumber, values.SerialFrame};
  for (Integer r = 0; r < kGeneralRows; ++r) GeneralSettings->SetCells(1, r, general[r]);

  // Every key gets a row, and one empty row stays for the next key.
  const Integer keys = values.ExtraCmds.Count();
  KeyGrid->SetRowCount(1);
  KeyGrid->SetRowCount(std::max(kKeyRows, keys + 1) + 1);
  KeyGrid->SetFixedRows(1);
  KeyGrid->ClearRows(1, KeyGrid->RowCount() - 1);
  for (Integer i = 0; i < keys; ++i) {
    KeyGrid->SetCells(0, i + 1, rtl::Trim(values.ExtraCmds.Names(i)));
    KeyGrid->SetCells(1, i + 1, values.ExtraCmds.ValueFromIndex(i));
  }
}

void TFrmVormekDevSetup::PinSettingsCanEditCell(TObject* Sender, Integer ARow, Integer ACol, bool& CanEdit) {
  CanEdit = ACol != 0;
  if (CanEdit && Sender == PinSettings && ACol == 2)
    CanEdit = TvormekParams::IsPinNumber(ARow) && Values().GetPin(ARow).Volts != kNoAnalogVolts;
}

void TFrmVormekDevSetup::PinSettingsGetEditorType(TObject*, Integer ACol, Integer, TEditorType& AEditor) {
  switch (ACol) {
    case 1:
      AEditor = grid::edComboList;
      FillCombo(PinSettings, stateTexts_);
      break;
    case 2:
      AEditor = grid::edFloatSpinEdit;
      if (auto* spin = dynamic_cast<grid::TGridSpin*>(PinSettings->EditorControl(grid::ecSpin))) {
        spin->SetPrecision(2);
        spin->SetIncrementFloat(0.05);
        spin->SetMinFloatValue(0.0);
        spin->SetMaxFloatValue(5.0);
      }
      break;
    case 3:
      AEditor = grid::edComboList;
      FillCombo(PinSettings, lockedTexts_);
      break;
    case 4:
      AEditor = grid::edComboList;
      FillCombo(PinSettings, directionTexts_);
      break;
    default:
      break;
  }
}

void TFrmVormekDevSetup::PinSettingsEditChange(TObject*, Integer ACol, Integer ARow, const AnsiString& Value) {
  if (!TvormekParams::IsPinNumber(ARow)) return;
  TPinData& pin = Values().PinRef(ARow);
  switch (ACol) {
    case 1:
      if (rtl::AnsiSameText(Value, "High"))
        pin.State = 1;
      else if (rtl::AnsiSameText(Value, "Low"))
        pin.State = 0;
      break;
    case 2: {
      double volts = 0;
      if (TryFixedTextToFloat(Value, volts)) pin.Volts = static_cast<float>(volts);
      break;
    }
    case 3:
      pin.Locked = rtl::SameText(Value, "True");
      break;
    case 4:
      pin.Direction = rtl::SameText(Value, "Input") ? 0 : 1;
      break;
    default:
      break;
  }
}

void TFrmVormekDevSetup::GeneralSettingsGetEditorType(TObject*, Integer, Integer, TEditorType& AEditor) {
  AEditor = grid::edNormal;
}

void TFrmVormekDevSetup::GeneralSettingsEditChange(TObject*, Integer ACol, Integer ARow, const AnsiString& Value) {
  if (ACol != 1) return;
  TvormekParams& values = Values();
  AnsiString* fields[kGeneralRows] = {&values.IPAddress, &values.HTTPPort,     &values.NetMask,    &values.Gateway,
                                      &values.ID,        &values.SerialNumber, &values.SerialFrame};
  if (ARow >= 0 && ARow < kGeneralRows) *fields[ARow] = Value;
}

void TFrmVormekDevSetup::KeyGridCanEditCell(TObject*, Integer, Integer, bool& CanEdit) { CanEdit = true; }

void TFrmVormekDevSetup::KeyGridEditingDone(TObject*) {
  TextraCmds& keys = Values().ExtraCmds;
  keys.Clear();
  for (Integer r = 1; r < KeyGrid->RowCount(); ++r) {
    const AnsiString key = KeyGrid->Cells(0, r);
    if (!key.empty()) keys.AddKey(key, KeyGrid->Cells(1, r));
  }
}

TFrmVormekDevSetup* CreateSimulatorFrame(TComponent* owner, TZelWebExt& webExt) {
  auto* simulator = dynamic_cast<TvormekWebSimulator*>(webExt.Simulator());
  if (simulator == nullptr) throw rtl::Exception("Invalid class typecast");
  return vcl::Create<TFrmVormekDevSetup>(owner, simulator);
}

}  // namespace core
