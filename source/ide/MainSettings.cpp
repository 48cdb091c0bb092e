// The settings file: window bounds, the discovery ports and the tool-panel
// layout, read when the window is shown and written when it closes.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "controls/ToolPanels.h"
#include "core/DevListU.h"
#include "ide/MainForm.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"

namespace ide {

namespace {

constexpr char kWindowSection[] = "window";

void PointBarAt(controls::TLumToolPanelTab* bar, const AnsiString& fileName) {
  controls::TPanelPersistence* persist = bar->Persist();
  persist->Location = controls::pplINIFile;
  persist->INIFile = fileName;
  persist->RegistryUserKey = bar->Name();
}

}  // namespace

AnsiString Tfrm_Main::GetSettingsFileName() const { return core::GetSettingsFileName(); }

void Tfrm_Main::LoadSettings() {
  core::TvormekDevList& devices = cdfsDevice_->DevList();
  vormekSettings_->AssignFromList(devices);
  const AnsiString fileName = GetSettingsFileName();
  {
    rtl::TMemIniFile ini(fileName);
    vormekSettings_->ReadFromIni(ini);
    // The recent-projects list is read by its menu's own unit.
    const Integer width = ini.ReadInteger(kWindowSection, "main.width", Width());
    const Integer height = ini.ReadInteger(kWindowSection, "main.height", Height());
    const Integer top = ini.ReadInteger(kWindowSection, "main.top", Top());
    const Integer left = ini.ReadInteger(kWindowSection, "main.left", Left());
    SetBounds(left, top, width, height);
  }
  // Only the left bar's layout comes back; the other two keep the design.
  PointBarAt(ct, fileName);
  for (controls::TLumToolPanelTab* bar : {ct, RightBar, bottomBar}) bar->Persist()->AutoLoad = true;
  ct->LoadPanelLayout();
  for (controls::TLumToolPanelTab* bar : {ct, RightBar, bottomBar}) bar->Persist()->AutoLoad = false;
  vormekSettings_->AssignToList(devices);
}

void Tfrm_Main::SaveSettings(const AnsiString& fileName) {
  // Everything goes into a staging file first; only a staging file that
  // was written whole replaces the settings, so a failure at any step
  // leaves the old file as it was.
  const AnsiString staging = fileName + ".new";
  {
    rtl::TMemIniFile ini(fileName);
    vormekSettings_->WriteToIni(ini);
    ini.WriteInteger(kWindowSection, "main.height", Height());
    ini.WriteInteger(kWindowSection, "main.width", Width());
    ini.WriteInteger(kWindowSection, "main.top", Top());
    ini.WriteInteger(kWindowSection, "main.left", Left());
    rtl::TStringList lines;
    ini.GetStrings(lines);
    rtl::TMemIniFile out(staging);
    out.SetStrings(lines);
    out.UpdateFile();
  }
  for (controls::TLumToolPanelTab* bar : {ct, RightBar, bottomBar}) {
    PointBarAt(bar, staging);
    bar->Persist()->AutoSave = true;
    try {
      bar->SavePanelLayout();
    } catch (...) {
      bar->Persist()->AutoSave = false;
      PointBarAt(bar, fileName);
      rtl::DeleteFile(staging);
      throw;
    }
    bar->Persist()->AutoSave = false;
    PointBarAt(bar, fileName);
  }
  if (std::rename(staging.c_str(), fileName.c_str()) != 0) {
    const int error = errno;
    rtl::DeleteFile(staging);
    throw rtl::EIniFileException("Unable to write to " + fileName + ". " + std::strerror(error));
  }
}

}  // namespace ide
