#include "support/UnitVersioning.h"

#include <algorithm>

#include "rtl/Version.h"
#include "vcl/Resources.h"

namespace support {

void TUnitVersioningModule::Add(const TUnitVersionInfo* info) {
  if (Contains(info)) return;
  items_.push_back(std::make_unique<TUnitVersion>(info));
}

bool TUnitVersioningModule::Contains(const TUnitVersionInfo* info) const {
  return std::any_of(items_.begin(), items_.end(), [&](const auto& v) { return v->Info() == info; });
}

const TUnitVersioningModule* TUnitVersioning::FindModule(uintptr_t instance) const {
  for (const auto& m : modules_)
    if (m->Instance() == instance) return m.get();
  return nullptr;
}

void TUnitVersioning::Add(uintptr_t instance, const TUnitVersionInfo* info) {
  for (auto& m : modules_) {
    if (m->Instance() != instance) continue;
    m->Add(info);
    return;
  }
  modules_.push_back(std::make_unique<TUnitVersioningModule>(instance));
  modules_.back()->Add(info);
}

void TUnitVersioning::UnregisterModule(uintptr_t instance) {
  for (auto it = modules_.rbegin(); it != modules_.rend(); ++it) {
    if ((*it)->Instance() != instance) continue;
    modules_.erase(std::next(it).base());
    break;
  }
  for (auto& p : providers_) p->ReleaseModuleUnitVersioningInfo(instance);
}

void TUnitVersioning::RegisterProvider(std::unique_ptr<TUnitVersioningProvider> provider) {
  if (provider) providers_.push_back(std::move(provider));
}

Integer TUnitVersioning::Count() const {
  Integer n = 0;
  for (const auto& m : modules_) n += m->Count();
  return n;
}

namespace {

// The one registry of the process. Every part of the program links the
// same library, so a plain process-wide object is what a shared block
// would give between modules.
std::unique_ptr<TUnitVersioning>& Registry() {
  static std::unique_ptr<TUnitVersioning> registry;
  return registry;
}

}  // namespace

TUnitVersioning* SharedUnitVersioning() {
  auto& r = Registry();
  if (!r) r = std::make_unique<TUnitVersioning>();
  return r.get();
}

void ReleaseUnitVersioning() {
  try {
    Registry().reset();
  } catch (...) {
    // Nothing may escape the last step of the program.
  }
}

void AddUnitVersion(uintptr_t instance, const TUnitVersionInfo* info) { SharedUnitVersioning()->Add(instance, info); }

void RemoveUnitVersions(uintptr_t instance) { SharedUnitVersioning()->UnregisterModule(instance); }

namespace {

constexpr const char* kUnits[] = {
    "MoxcUnitVersioning", "MoxWin32",         "MoxConsts",        "MOXLVer",          "MoxComponentBase",
    "MoxBaseDlg",         "MoxResources",     "MoxTypes",         "MoxThemes",        "MoxExControls",
    "MoxExForms",         "MoxExStdCtrls",    "MoxComponent",     "MoxProgressForm",  "MoxMOXCUtils",
    "MoxcResources",      "MoxcBase",         "MoxcWin32",        "MoxcConsole",      "Moxc8087",
    "MoxcMath",           "MoxcWideStrings",  "MoxcLogic",        "MoxcStrings",      "MoxcRegistry",
    "MoxcIniFiles",       "MoxcSysInfo",      "MoxcSysUtils",     "MoxcShell",        "MoxcSecurity",
    "MoxcDateTime",       "MoxcFileUtils",    "MoxTranslateString", "MoxcRTTI",       "MoxcMime",
    "MoxcSynch",          "MoxStrings",       "MoxPropertyStore", "MoxAppStorage",    "MoxProgressUtils",
    "MoxMOXLUtils",       "MoxProgressDialog", "MoxExComCtrls",   "MoxButton",        "MoxSpeedButton",
    "MoxExMask",          "MoxBrowseFolder",  "MoxExGrids",       "MoxPickDate",      "MoxToolEdit",
    "MoxComCtrls",        "MoxgTypes",        "MoxgCommClasses",  "Moxg3DColors",     "MoxgUtils",
    "MoxgGraphicButton",  "MoxExExtCtrls",    "MoxExtComponent",  "MoxPanel"};

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

const std::vector<TUnitVersionInfo>& LibraryUnitVersions() {
  static const std::vector<TUnitVersionInfo> records = [] {
    std::vector<TUnitVersionInfo> list;
    const AnsiString revision = "$Revision: " + rtl::ProgramFileVersionText() + " $";
    for (const char* unit : kUnits) {
      const std::string name = unit;
      // The common units ("Moxc") and the visual ones keep separate logs.
      const bool common = StartsWith(name, "Moxc");
      TUnitVersionInfo info;
      info.RCSfile = "$URL: components/support/" + name + " $";
      info.Revision = revision;
      info.Date = "$Date$";  // not expanded: the sources carry no keywords
      info.LogPath = common ? "MOXC\\common" : "MOXL\\run";
      list.push_back(info);
    }
    return list;
  }();
  return records;
}

void RegisterLibraryUnits() {
  for (const TUnitVersionInfo& info : LibraryUnitVersions()) AddUnitVersion(vcl::HInstance, &info);
}

void UnregisterLibraryUnits() {
  const auto& records = LibraryUnitVersions();
  // Reverse order; the registry's own unit ends last and frees the registry
  // instead. The first unregistration takes the whole module entry.
  for (size_t i = records.size(); i-- > 1;) RemoveUnitVersions(vcl::HInstance);
  ReleaseUnitVersioning();
}

}  // namespace support
