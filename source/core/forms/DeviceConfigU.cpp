#include "core/forms/DeviceConfigU.h"

#include <algorithm>

#include "core/forms/FormMessagesU.h"
#include "grid/GridCombo.h"
#include "grid/GridComponent.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "support/MoxProgressDialog.h"
#include "vcl/ComCtrls.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace core {

using namespace vcl;

TFrmDeviceConfig* FrmDeviceConfig = nullptr;

namespace {

// The beeps of the dialog's three outcomes.
constexpr Cardinal kErrorBeep = 16;
constexpr Cardinal kWarningBeep = 48;
constexpr Cardinal kInformationBeep = 128;

AnsiString RemoveBlanks(const AnsiString& text) {
  AnsiString out;
  for (char c : text)
    if (c != ' ') out += c;
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------
TDeviceManager::TDeviceManager(TDeviceClient* programmer) : programmer_(programmer) {
  programmer_->OnProgress = [this](TDeviceClient& s, Integer percent, bool& cancel, const AnsiString& text) {
    ProgressHandler(s, percent, cancel, text);
  };
}

TDeviceManager::~TDeviceManager() { programmer_->OnProgress = nullptr; }

void TDeviceManager::ProgressHandler(TDeviceClient&, Integer percent, bool& cancel, const AnsiString& text) {
  percent_ = percent;
  text_ = text;
  if (cancelRequest_) cancel = true;
  Application->ProcessMessages();
}

bool TDeviceManager::Read() {
  text_ = "Retrieving settings";
  programmer_->SetCancelled(false);
  const bool ok = programmer_->ReadSettings(kind_, address_);
  read_.assign(TDeviceClient::kGroupCount, {});
  for (Integer g = 0; g < TDeviceClient::kGroupCount; ++g)
    for (Integer i = 0; i < programmer_->Cmds(g).Count(); ++i) read_[static_cast<size_t>(g)].push_back(programmer_->Cmds(g).GetCmd(i));
  return ok;
}

bool TDeviceManager::Write() {
  programmer_->SetCancelled(false);
  percent_ = 0;
  snapshot_.clear();
  for (Integer i = 0; i < Count(); ++i) snapshot_.push_back(Cmds().GetCmd(i));
  writtenGroup_ = Group;
  return programmer_->WriteSettings(kind_, address_, Group);
}

bool TDeviceManager::Verify() {
  const bool read = Read();
  text_ = "Verifying settings";
  if (!read || Count() != static_cast<Integer>(snapshot_.size())) return false;
  for (Integer i = 0; i < Count(); ++i)
    if (!SameDeviceCmd(Cmds().GetCmd(i), snapshot_[static_cast<size_t>(i)])) return false;
  return true;
}

bool TDeviceManager::WriteMovesModule() const {
  if (writtenGroup_ < 0 || static_cast<size_t>(writtenGroup_) >= read_.size()) return false;
  const auto& before = read_[static_cast<size_t>(writtenGroup_)];
  for (const TdeviceCmd& written : snapshot_) {
    if (!written.HasValue) continue;  // not sent
    const auto was = std::find_if(before.begin(), before.end(),
                                  [&](const TdeviceCmd& c) { return c.GetName == written.GetName; });
    if (was == before.end()) continue;
    if ((written.SetName == "AIP" || written.SetName == "UDP") && written.Value != was->Value) return true;
    if (written.SetName == "DHCP" && was->Value == "0" && written.Value == "1") return true;
  }
  return false;
}

Integer TDeviceManager::Count() const { return Cmds().Count(); }

AnsiString TDeviceManager::GetCaption(Integer index) const { return Cmds().GetCmd(index).Caption; }

rtl::Byte TDeviceManager::GetKind(Integer index) const {
  return Count() == 0 ? kEditYesNo : Cmds().GetCmd(index).EditorKind;
}

bool TDeviceManager::CanEdit(Integer index) const { return !Cmds().GetCmd(index).SetName.empty(); }

AnsiString TDeviceManager::GetDisplayValue(Integer index) {
  const TdeviceCmd cmd = Cmds().GetCmd(index);
  switch (cmd.EditorKind) {
    case kEditYesNo:
      if (cmd.Value == "1") return "Yes";
      if (cmd.Value != "0") Cmds().SetValue(index, "0");
      return "No";
    default:
      return cmd.Value;
  }
}

void TDeviceManager::SetValueFromText(Integer index, const AnsiString& text) {
  switch (Cmds().GetCmd(index).EditorKind) {
    case kEditIPAddress:
      Cmds().SetValue(index, RemoveBlanks(text));
      break;
    case kEditYesNo: {
      const bool yes = rtl::SameText(text, "YES") || rtl::SameText(text, "TRUE") || text == "1" ||
                       rtl::SameText(text, "Y");
      Cmds().SetValue(index, yes ? "1" : "0");
      break;
    }
    default:
      Cmds().SetValue(index, text);
      break;
  }
}

// ---------------------------------------------------------------------------
TFrmDeviceConfig::TFrmDeviceConfig(TComponent* owner) : TForm(owner, 0) {
  SetName("FrmDeviceConfig");
  SetCaption("Device Settings");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons({biSystemMenu});
  SetPosition(poScreenCenter);
  SetColor(clBtnFace);
  Font()->SetName("Tahoma");
  Font()->SetHeight(-11);
  SetClientWidth(420);
  SetClientHeight(376);

  settingTabControl = new TTabControl(this);
  settingTabControl->SetName("settingTabControl");
  settingTabControl->SetParent(this);
  settingTabControl->SetBounds(8, 8, 404, 326);
  for (const char* caption : TDeviceClient::kGroupCaptions) settingTabControl->Tabs()->Add(caption);
  settingTabControl->SetTabIndex(0);
  settingTabControl->OnChange = [this](TObject*) {
    if (manager_) manager_->Group = settingTabControl->TabIndex();
    FillTable();
  };

  SettingsTable = new grid::TVadOdizadEzev(this);
  SettingsTable->SetName("SettingsTable");
  SettingsTable->SetParent(settingTabControl);
  const TRect inside = settingTabControl->DisplayRect();
  SettingsTable->SetBounds(inside.Left + 4, inside.Top + 4, inside.Width() - 8, inside.Height() - 8);
  SettingsTable->SetColCount(2);
  SettingsTable->SetRowCount(2);
  SettingsTable->SetFixedRows(1);
  SettingsTable->SetFixedCols(1);
  SettingsTable->SetColWidths(0, 160);
  SettingsTable->ColumnSize()->SetStretch(true);
  auto options = SettingsTable->Options();
  options.Include(goEditing);
  SettingsTable->SetOptions(options);
  SettingsTable->OnGetEditMask = [this](TObject*, Integer ACol, Integer ARow, AnsiString& mask) {
    if (manager_ && ACol == 1 && ARow >= 1 && ARow - 1 < manager_->Count() && manager_->GetKind(ARow - 1) == kEditIPAddress)
      mask = "990.990.990.990;1; ";
  };
  SettingsTable->OnGetEditText = [](TObject*, Integer, Integer, AnsiString&) {};
  SettingsTable->OnGetAlignment = [](TObject*, Integer, Integer ACol, grid::TAlignment&, grid::TVAlignment& v) {
    if (ACol == 0) v = grid::vtaCenter;
  };
  SettingsTable->OnCanEditCell = [this](TObject*, Integer ARow, Integer ACol, bool& can) {
    can = manager_ && ACol == 1 && SetSettings->Enabled() && ARow >= 1 && ARow - 1 < manager_->Count() &&
          manager_->CanEdit(ARow - 1);
  };
  SettingsTable->OnGetEditorType = [this](TObject*, Integer, Integer ARow, grid::TEditorType& editor) {
    if (!manager_ || ARow < 1 || ARow - 1 >= manager_->Count() || manager_->GetKind(ARow - 1) != kEditYesNo) return;
    editor = grid::edComboList;
    if (auto* combo = dynamic_cast<grid::TGridCombo*>(SettingsTable->EditorControl(grid::ecCombo))) {
      combo->SetSorted(false);
      combo->Items()->SetText("No\r\nYes");
    }
  };
  SettingsTable->OnFloatSpinClick = [](TObject*, Integer, Integer, double, bool) {};
  SettingsTable->OnEditChange = [this](TObject*, Integer, Integer, const AnsiString&) { StoreTable(); };

  SetSettings = new TButton(this);
  SetSettings->SetName("SetSettings");
  SetSettings->SetParent(this);
  SetSettings->SetBounds(8, 343, 100, 25);
  SetSettings->SetCaption("Update Device");
  SetSettings->OnClick = [this](TObject* s) { SetSettingsClick(s); };

  Refreshbutton = new TButton(this);
  Refreshbutton->SetName("Refreshbutton");
  Refreshbutton->SetParent(this);
  Refreshbutton->SetBounds(116, 343, 110, 25);
  Refreshbutton->SetCaption("Retrieve Settings");
  Refreshbutton->OnClick = [this](TObject*) { Retrieve(); };

  Finbutton = new TButton(this);
  Finbutton->SetName("Finbutton");
  Finbutton->SetParent(this);
  Finbutton->SetBounds(337, 343, 75, 25);
  Finbutton->SetCaption("Finished");
  Finbutton->SetModalResult(mrOk);
  Finbutton->SetCancel(true);

  // A file panel and an open dialog the form carries without using them.
  FilePanel = new TPanel(this);
  FilePanel->SetName("FilePanel");
  FilePanel->SetParent(this);
  FilePanel->SetVisible(false);
  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");

  MoxProgressDialog1 = new support::TMoxProgressDialog(this);
  MoxProgressDialog1->SetName("MoxProgressDialog1");
  MoxProgressDialog1->SetCaption("Communicating with device");
  MoxProgressDialog1->SetShowCancel(true);
  MoxProgressDialog1->OnShow = [this](TObject*) { SetEnabled(false); };
  MoxProgressDialog1->OnClose = [this](TObject*) { SetEnabled(true); };
  MoxProgressDialog1->OnCancel = [this](TObject*) {
    if (manager_) manager_->RequestCancel();
  };
  MoxProgressDialog1->OnProgress = [this](TObject*, bool& go) {
    if (!manager_) return;
    go = !manager_->GetCancelled();
    MoxProgressDialog1->SetPosition(manager_->Percent());
    if (!manager_->Text().empty()) MoxProgressDialog1->SetText(manager_->Text());
  };
}

void TFrmDeviceConfig::FillTable() {
  if (!manager_) return;
  const Integer count = manager_->Count();
  SettingsTable->SetColCount(2);
  SettingsTable->SetRowCount(count > 0 ? count + 1 : 2);
  SettingsTable->SetFixedRows(1);
  SettingsTable->SetCells(0, 0, "Settings");
  SettingsTable->SetCells(1, 0, "Value");
  if (count == 0) SettingsTable->ClearRows(1, 1);
  for (Integer i = 0; i < count; ++i) {
    SettingsTable->SetCells(0, i + 1, manager_->GetCaption(i));
    SettingsTable->SetCells(1, i + 1, manager_->GetDisplayValue(i));
  }
  TCanvas* canvas = SettingsTable->Canvas();
  canvas->Font()->Assign(SettingsTable->Font());
  SettingsTable->SetDefaultRowHeight(canvas->TextHeight("ABCDEFGHIJKLMOPQRSTUVWXYZ"));
  SettingsTable->AutoSizeRows(true, 5);
  SettingsTable->SetFixedCols(1);
}

void TFrmDeviceConfig::StoreTable() {
  if (!manager_) return;
  for (Integer i = 0; i < manager_->Count() && i + 1 < SettingsTable->RowCount(); ++i)
    manager_->SetValueFromText(i, SettingsTable->Cells(1, i + 1));
}

bool TFrmDeviceConfig::WithProgress(const AnsiString& text, bool (TDeviceManager::*op)()) {
  manager_->SetText(text);
  MoxProgressDialog1->SetText(text);
  MoxProgressDialog1->Show();
  struct HideAfter {
    support::TMoxProgressDialog* dialog;
    ~HideAfter() { dialog->Hide(); }
  } hide{MoxProgressDialog1};
  return (manager_->*op)();
}

bool TFrmDeviceConfig::Retrieve() {
  manager_->ClearCancelRequest();
  MoxProgressDialog1->SetPosition(0);
  const bool ok = WithProgress("Retrieving settings", &TDeviceManager::Read);
  if (!ok) BeepAndMessage(kErrorBeep, "Settings could not be retrieved", mtError, {mbOK});
  FillTable();
  return ok;
}

void TFrmDeviceConfig::SetSettingsClick(TObject*) {
  StoreTable();
  manager_->ClearCancelRequest();
  MoxProgressDialog1->SetPosition(0);
  if (!WithProgress("Sending settings", &TDeviceManager::Write)) {
    BeepAndMessage(kErrorBeep, "Settings could not be updated", mtError, {mbOK});
    return;
  }
  if (manager_->WriteMovesModule()) {
    // The module answers at the address just written; reading back from
    // the old one could only fail. The table keeps what was written.
    FillTable();
    BeepAndMessage(kInformationBeep, "Settings sent. The module restarts at its new address; select it again.",
                   mtInformation, {mbOK});
    return;
  }
  MoxProgressDialog1->SetPosition(0);
  const bool verified = WithProgress("Retrieving settings", &TDeviceManager::Verify);
  FillTable();
  if (verified)
    BeepAndMessage(kInformationBeep, "Settings updated", mtInformation, {mbOK});
  else
    BeepAndMessage(kWarningBeep, "Verification of settings failed", mtWarning, {mbOK});
}

void ShowDeviceSettings(TDeviceClient* programmer, const AnsiString& address, rtl::Byte kind) {
  TDeviceManager manager(programmer);
  manager.SetTarget(address, kind);
  auto* form = vcl::Create<TFrmDeviceConfig>(nullptr);
  struct Closing {
    TFrmDeviceConfig* form;
    ~Closing() {
      FrmDeviceConfig = nullptr;
      vcl::Free(form);
    }
  } closing{form};
  form->SetManager(&manager);
  FrmDeviceConfig = form;
  if (form->Retrieve()) form->ShowModal();
}

// ---------------------------------------------------------------------------
void TProgressDialogAdapter::SetCaption(const AnsiString& caption) { dialog_->SetCaption(caption); }
void TProgressDialogAdapter::SetText(const AnsiString& text) { dialog_->SetText(text); }
void TProgressDialogAdapter::SetPosition(Integer position) { dialog_->SetPosition(position); }
void TProgressDialogAdapter::Show() { dialog_->Show(); }
void TProgressDialogAdapter::Hide() { dialog_->Hide(); }

AnsiString MinimizeName(const AnsiString& fileName, const TFont* font, Integer width) {
  TBitmap measure;
  TCanvas* canvas = measure.Canvas();
  canvas->Font()->Assign(font);
  if (canvas->TextWidth(fileName) <= width) return fileName;
  // Stored paths use backslashes; local ones slashes.
  const size_t cut = fileName.find_last_of("\\/");
  const char sep = cut == AnsiString::npos ? '\\' : fileName[cut];
  const AnsiString name = cut == AnsiString::npos ? fileName : fileName.substr(cut + 1);
  AnsiString folders = cut == AnsiString::npos ? AnsiString() : fileName.substr(0, cut);
  // Drop whole folders from the front (after a drive or root part) until
  // "first...rest" fits.
  const size_t firstSep = folders.find_first_of("\\/");
  const AnsiString head = firstSep == AnsiString::npos ? AnsiString() : folders.substr(0, firstSep + 1);
  AnsiString rest = firstSep == AnsiString::npos ? folders : folders.substr(firstSep + 1);
  while (!rest.empty()) {
    const size_t next = rest.find_first_of("\\/");
    rest = next == AnsiString::npos ? AnsiString() : rest.substr(next + 1);
    const AnsiString tryName = head + "..." + sep + (rest.empty() ? AnsiString() : rest + sep) + name;
    if (canvas->TextWidth(tryName) <= width) return tryName;
  }
  AnsiString shortName = AnsiString("...") + sep + name;
  if (canvas->TextWidth(shortName) <= width) return shortName;
  // Even the bare name is too wide: cut it at its end.
  AnsiString cutName = name;
  while (!cutName.empty() && canvas->TextWidth(cutName + "...") > width) cutName.pop_back();
  return cutName + "...";
}

void AttachUploadProgress(TcdfsDevice& device, TProgressDialogAdapter& adapter, support::TMoxProgressDialog* dialog) {
  device.MoxProgressDialog1 = &adapter;
  // The progress window's font (its window exists only while shown).
  auto font = std::make_shared<TFont>();
  font->SetName("MS Sans Serif");
  font->SetHeight(-11);
  if (dialog && dialog->Window()) font->Assign(dialog->Window()->Font());
  device.MinimizeName = [font](const AnsiString& fileName) { return MinimizeName(fileName, font.get(), 240); };
}

}  // namespace core
