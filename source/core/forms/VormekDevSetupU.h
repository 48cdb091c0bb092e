#pragma once
// The simulator's setup frame: the panel in which the user sets up the
// simulated module before a preview. Three grids show the simulator's
// values (general settings, the 17 pins, the extra keys with what reading
// them gives); an edit is stored in the values at once, and the simulator
// has the frame redisplay them after every expansion and every load.
//
// The main window reaches the frame only through IdeviceSimulatorControl:
//   auto* frame = core::CreateSimulatorFrame(mainForm, webExt);  // docked later
//   frame->SetParentControl(simPanel);
#include <memory>

#include "core/DeviceSimulatorU.h"
#include "grid/model/GridTypes.h"
#include "vcl/Forms.h"

namespace grid {
class TVadOdizadEzev;
}
namespace vcl {
class TSplitter;
class TToolBar;
class TToolButton;
}  // namespace vcl

namespace core {

class TZelWebExt;

class TFrmVormekDevSetup : public vcl::TFrame, public IdeviceSimulatorControl {
 public:
  // The rows the key grid has at least, besides its title row.
  static constexpr Integer kKeyRows = 255;

  // simulator: the values shown and edited; not owned. The frame attaches
  // itself to it (its control and OnValuesChanged) and detaches when freed,
  // so it must be freed before the simulator.
  TFrmVormekDevSetup(vcl::TComponent* owner, TvormekWebSimulator* simulator);
  ~TFrmVormekDevSetup() override;

  // IdeviceSimulatorControl
  void SetParentControl(vcl::TWinControl* parent) override;
  void LoadFromIni(rtl::TCustomIniFile& ini) override;
  void SaveToIni(rtl::TCustomIniFile& ini) override;
  void SetOnRefresh(TNotifyEvent handler) override { onRefresh_ = std::move(handler); }

  // Shows the values in the three grids.
  void RefreshGrids();
  void RefreshClick(vcl::TObject* Sender);

  TvormekParams& Values() { return simulator_->Params(); }

  grid::TVadOdizadEzev* GeneralSettings = nullptr;
  vcl::TSplitter* Splitter1 = nullptr;
  grid::TVadOdizadEzev* PinSettings = nullptr;
  vcl::TSplitter* Splitter2 = nullptr;
  grid::TVadOdizadEzev* KeyGrid = nullptr;
  vcl::TToolBar* ToolBar1 = nullptr;
  vcl::TToolButton* Refresh = nullptr;

  void PinSettingsCanEditCell(vcl::TObject* Sender, Integer ARow, Integer ACol, bool& CanEdit);
  void PinSettingsGetEditorType(vcl::TObject* Sender, Integer ACol, Integer ARow, grid::TEditorType& AEditor);
  void PinSettingsEditChange(vcl::TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value);
  void GeneralSettingsGetEditorType(vcl::TObject* Sender, Integer ACol, Integer ARow, grid::TEditorType& AEditor);
  void GeneralSettingsEditChange(vcl::TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value);
  void KeyGridCanEditCell(vcl::TObject* Sender, Integer ARow, Integer ACol, bool& CanEdit);
  void KeyGridEditingDone(vcl::TObject* Sender);

 private:
  TvormekWebSimulator* simulator_;
  TNotifyEvent onRefresh_;
  // The drop-down texts of the state, locked and direction columns.
  AnsiString stateTexts_;
  AnsiString lockedTexts_;
  AnsiString directionTexts_;
};

// Makes the setup frame for the web extension's simulator (the module's
// simulator, which every web extension makes) and attaches it; owner frees
// it. Raises EInvalidCast when the simulator is another kind.
TFrmVormekDevSetup* CreateSimulatorFrame(vcl::TComponent* owner, TZelWebExt& webExt);

}  // namespace core
