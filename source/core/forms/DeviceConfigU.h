#pragma once
// The dialog that shows a module's settings, one tab per settings group,
// lets the user edit the writable ones, writes the current tab's group to
// the module and verifies it by reading everything back. TDeviceManager
// sits between the form and the programmer.
//
// The progress dialog of the settings transfers and of uploads is reached
// through core's IProgressDialog: TProgressDialogAdapter puts a
// support::TMoxProgressDialog behind it.
#include <memory>
#include <vector>

#include "core/CdfsDeviceU.h"
#include "core/VormekProgrammerU.h"
#include "grid/model/GridTypes.h"
#include "vcl/Forms.h"

namespace grid {
class TVadOdizadEzev;
}
namespace support {
class TMoxProgressDialog;
}
namespace vcl {
class TButton;
class TOpenDialog;
class TPanel;
class TTabControl;
}  // namespace vcl

namespace core {

using rtl::Integer;

// The programmer's settings as the dialog's table needs them: the entries
// of the group of the dialog's current tab.
class TDeviceManager {
 public:
  // Installs its progress handler as the programmer's OnProgress (not
  // owned; the handler is removed again by the destructor).
  explicit TDeviceManager(TDeviceClient* programmer);
  ~TDeviceManager();
  TDeviceManager(const TDeviceManager&) = delete;
  TDeviceManager& operator=(const TDeviceManager&) = delete;

  // The module every operation talks to.
  void SetTarget(const AnsiString& address, rtl::Byte kind) {
    address_ = address;
    kind_ = kind;
  }
  // The group the per-entry operations work on (the dialog's tab).
  Integer Group = 0;

  bool Read();
  bool Write();
  bool Verify();
  // Whether the last Write changed what the module answers at: its IP
  // address ("AIP") or command port ("UDP") differs from what was read, or
  // DHCP went from "0" to "1". The module then restarts elsewhere.
  bool WriteMovesModule() const;

  Integer Count() const;
  AnsiString GetCaption(Integer index) const;
  // The editor kind; 3 (yes/no) when the group is empty.
  rtl::Byte GetKind(Integer index) const;
  bool CanEdit(Integer index) const;
  // The value as the table shows it; a yes/no value that is neither "0"
  // nor "1" shows "No" and becomes "0".
  AnsiString GetDisplayValue(Integer index);
  void SetValueFromText(Integer index, const AnsiString& text);

  void SetCancelled(bool value) { programmer_->SetCancelled(value); }
  bool GetCancelled() const { return programmer_->GetCancelled(); }
  // The dialog's cancel button: in force until the operation ends.
  void RequestCancel() { cancelRequest_ = true; }
  void ClearCancelRequest() { cancelRequest_ = false; }

  Integer Percent() const { return percent_; }
  const AnsiString& Text() const { return text_; }
  void SetText(const AnsiString& text) { text_ = text; }

 private:
  void ProgressHandler(TDeviceClient& sender, Integer percent, bool& cancel, const AnsiString& text);
  TdeviceCmds& Cmds() const { return programmer_->Cmds(Group); }

  TDeviceClient* programmer_;
  bool cancelRequest_ = false;
  AnsiString address_;
  rtl::Byte kind_ = 1;
  Integer percent_ = 0;
  AnsiString text_;
  Integer writtenGroup_ = -1;
  std::vector<TdeviceCmd> snapshot_;                       // the entries last written
  std::vector<std::vector<TdeviceCmd>> read_;              // per group, as the last read left them
};

class TFrmDeviceConfig : public vcl::TForm {
 public:
  explicit TFrmDeviceConfig(vcl::TComponent* owner);

  // The manager the table shows (not owned).
  void SetManager(TDeviceManager* manager) { manager_ = manager; }
  TDeviceManager* Manager() const { return manager_; }

  void FillTable();
  void StoreTable();
  // Reads every setting under the progress dialog; reports a failure.
  bool Retrieve();
  // "Update Device".
  void SetSettingsClick(vcl::TObject* Sender);

  vcl::TTabControl* settingTabControl = nullptr;
  grid::TVadOdizadEzev* SettingsTable = nullptr;
  vcl::TButton* SetSettings = nullptr;
  vcl::TButton* Refreshbutton = nullptr;
  vcl::TButton* Finbutton = nullptr;
  support::TMoxProgressDialog* MoxProgressDialog1 = nullptr;
  vcl::TPanel* FilePanel = nullptr;
  vcl::TOpenDialog* OpenDialog1 = nullptr;

 private:
  // Runs op with the progress dialog shown; hidden again whatever happens.
  bool WithProgress(const AnsiString& text, bool (TDeviceManager::*op)());

  TDeviceManager* manager_ = nullptr;
};

// The dialog while it is shown, else null.
extern TFrmDeviceConfig* FrmDeviceConfig;

// Retrieves the module's settings and shows the dialog only when that
// succeeded. EdeviceNotFound from the programmer propagates.
void ShowDeviceSettings(TDeviceClient* programmer, const AnsiString& address, rtl::Byte kind);

// A TMoxProgressDialog as core's IProgressDialog (not owned).
class TProgressDialogAdapter : public IProgressDialog {
 public:
  explicit TProgressDialogAdapter(support::TMoxProgressDialog* dialog) : dialog_(dialog) {}
  void SetCaption(const AnsiString& caption) override;
  void SetText(const AnsiString& text) override;
  void SetPosition(Integer position) override;
  void Show() override;
  void Hide() override;

 private:
  support::TMoxProgressDialog* dialog_;
};

// The file name shortened to fit width pixels in font: leading folders give
// way to "..." first, then the name itself is cut at its end with "...".
AnsiString MinimizeName(const AnsiString& fileName, const vcl::TFont* font, Integer width);

// Gives the module data module its upload progress: the adapter (kept
// alive by the caller) and captions fitted into 240 pixels of the dialog's
// font.
void AttachUploadProgress(TcdfsDevice& device, TProgressDialogAdapter& adapter, support::TMoxProgressDialog* dialog);

}  // namespace core
