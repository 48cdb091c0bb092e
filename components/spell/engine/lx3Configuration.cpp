#include "spell/engine/lx3Configuration.h"

#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"
#include "spell/engine/lx3Util.h"

namespace spell {

namespace {

// The option keys, in the order they are written and read.
struct OptionKey {
  const char* key;
  TSpellOption option;
};
constexpr OptionKey kOptionKeys[] = {
    {"_soUpcase", soUpcase},           {"_soNumbers", soNumbers},         {"_soHTML", soHTML},
    {"_soInternet", soInternet},       {"_soQuoted", soQuoted},           {"_soAbbreviations", soAbbreviations},
    {"_soPrimaryOnly", soPrimaryOnly}, {"_soRepeated", soRepeated},       {"_soDUalCaps", soDUalCaps},
    {"_soLiveSpelling", soLiveSpelling}, {"_soLiveCorrect", soLiveCorrect}, {"_soUser1", soUser1},
    {"_soUser2", soUser2},             {"_soUser3", soUser3},             {"_soUser4", soUser4},
};

}  // namespace

TLexaConfig::TLexaConfig(TLexaConfigHost* host) : host_(host) {
  newPaths_.SetSorted(true);
  newPaths_.SetDuplicates(rtl::dupIgnore);
  WatchLists();
}

TLexaConfig::~TLexaConfig() {
  try {
    Save();
  } catch (...) {
    // A destructor cannot report; the stored settings stay as they were.
  }
}

void TLexaConfig::WatchLists() {
  for (rtl::TStringList* list : {&main_, &custom_, &msWord_, &newPaths_})
    list->OnChange = [this](rtl::TStrings*) {
      if (!inLoad_) ListChanged();
    };
}

void TLexaConfig::SetActiveCustom(const AnsiString& name) {
  if (name == activeCustom_) return;
  activeCustom_ = name;
  if (!name.empty() && custom_.IndexOf(name) < 0) {
    const bool wasInLoad = inLoad_;
    inLoad_ = true;  // one notification for the whole change
    custom_.Add(name);
    inLoad_ = wasInLoad;
  }
  if (!inLoad_) Changed(true);
}

void TLexaConfig::SetLoaded(bool value) {
  if (value == loaded_) return;
  if (value) {
    Load();
  } else {
    Save();
    loaded_ = false;
  }
}

void TLexaConfig::SetOptions(TSpellOptions options) {
  if (options == options_) return;
  options_ = options;
  Changed(false);
}

void TLexaConfig::SetDialogX(Integer x) {
  if (x == dialogX_) return;
  dialogX_ = x;
  Changed(false);
}

void TLexaConfig::SetDialogY(Integer y) {
  if (y == dialogY_) return;
  dialogY_ = y;
  Changed(false);
}

rtl::TStringList& TLexaConfig::GetMainDictionaries() {
  EnsureLoaded();
  return main_;
}

rtl::TStringList& TLexaConfig::GetCustomDictionaries() {
  EnsureLoaded();
  return custom_;
}

rtl::TStringList& TLexaConfig::GetMSWordCustomDictionaries() {
  EnsureLoaded();
  return msWord_;
}

AnsiString TLexaConfig::GetActiveCustom() {
  EnsureLoaded();
  return host_ ? host_->ExpandPath(activeCustom_) : activeCustom_;
}

TSpellOptions TLexaConfig::GetOptions() {
  EnsureLoaded();
  return options_;
}

Integer TLexaConfig::GetDialogX() {
  EnsureLoaded();
  return dialogX_;
}

Integer TLexaConfig::GetDialogY() {
  EnsureLoaded();
  return dialogY_;
}

rtl::TStringList& TLexaConfig::GetNewPaths() {
  EnsureLoaded();
  return newPaths_;
}

void TLexaConfig::ListChanged() { Changed(true); }

void TLexaConfig::Changed(bool reload) {
  if (!host_ || !loaded_) return;
  modified_ = true;
  host_->ConfigurationChanged(reload);
}

AnsiString TLexaConfig::ReadString(const AnsiString& key, const AnsiString& def) {
  AnsiString value = def;
  switch (storage_) {
    case csFile:
    case csRegistry:
      if (store_) value = store_->ReadString(configID_, key, def);
      break;
    case csCallback:
      if (host_) host_->DoConfigReadString(configID_, key, def, value);
      break;
    case csNone:
      break;
  }
  return value;
}

void TLexaConfig::WriteString(const AnsiString& key, const AnsiString& value) {
  switch (storage_) {
    case csFile:
    case csRegistry:
      if (store_) store_->WriteString(configID_, key, value);
      break;
    case csCallback:
      if (host_) host_->DoConfigWriteString(configID_, key, value);
      break;
    case csNone:
      break;
  }
}

void TLexaConfig::ReadWriteList(const AnsiString& key, rtl::TStrings& list, bool read) {
  if (read) {
    const AnsiString count = ReadString(key + "_count", "-");
    if (count == "-") return;
    const Integer n = rtl::StrToIntDef(count, 0);
    for (Integer i = 0; i < n; ++i) {
      const AnsiString entry = ReadString(key + "_" + rtl::IntToStr(i), "");
      if (!entry.empty()) list.Add(entry);
    }
    return;
  }
  WriteString(key + "_count", rtl::IntToStr(list.Count()));
  for (Integer i = 0; i < list.Count(); ++i) WriteString(key + "_" + rtl::IntToStr(i), list[i]);
}

void TLexaConfig::OpenStore(TConfigStorage kind) {
  store_.reset();
  if (kind == csFile)
    store_ = std::make_unique<rtl::TMemIniFile>(NativeFileName(fileName_));
  else if (kind == csRegistry)
    store_ = std::make_unique<rtl::TRegistryIniFile>(registryKey_);
}

void TLexaConfig::Load() {
  loaded_ = false;
  if (!host_) return;
  storage_ = host_->ConfigStorage();
  configID_ = host_->ExpandPath(host_->ConfigID());
  if (storage_ == csFile) {
    fileName_ = host_->ExpandPath(host_->ConfigFilename());
    ForceFolder(rtl::ExtractFileDir(NativeFileName(fileName_)));
  } else if (storage_ == csRegistry) {
    registryKey_ = host_->ExpandPath(host_->ConfigRegistryKey());
  }
  struct StoreCloser {
    std::unique_ptr<rtl::TCustomIniFile>& store;
    ~StoreCloser() { store.reset(); }
  } closer{store_};
  OpenStore(storage_);
  inLoad_ = true;
  const bool firstRun = ReadString("_FirstRun", "-") == "-" || resetNextLoad_;
  resetNextLoad_ = false;
  main_.Clear();
  custom_.Clear();
  msWord_.Clear();
  activeCustom_.clear();
  if (firstRun) {
    main_.Assign(host_->ConfigDefaultMain());
    custom_.Assign(host_->ConfigDefaultCustom());
    if (host_->ConfigUseMSWordCustom() && host_->ConfigDefaultUseMSWordCustom())
      msWord_.Assign(host_->GetMSWordCustomDictionaries());
    options_ = host_->ConfigDefaultOptions();
    dialogX_ = dialogY_ = -1;
    newPaths_.Clear();
    SetActiveCustom(ExpandPathMacros(host_->ExpandConfigID(host_->ConfigDefaultActiveCustom())));
  } else {
    ReadWriteList("_Main", main_, true);
    ReadWriteList("_Custom", custom_, true);
    ReadWriteList("_MSWordCustom", msWord_, true);
    SetActiveCustom(ReadString("_ActiveCustom", ""));
    options_ = 0;
    for (const OptionKey& k : kOptionKeys)
      if (ReadString(k.key, "-") == "+") options_ = static_cast<TSpellOptions>(options_ | SpellOption(k.option));
    dialogX_ = rtl::StrToIntDef(ReadString("_DialogX", "-1"), 0);
    dialogY_ = rtl::StrToIntDef(ReadString("_DialogY", "-1"), 0);
    newPaths_.Clear();
    ReadWriteList("_NewPaths", newPaths_, true);
    userNames_.Clear();
    userValues_.Clear();
    ReadWriteList("_UserData", userNames_, true);
    for (Integer i = 0; i < userNames_.Count(); ++i) userValues_.Add(ReadString("User_" + userNames_[i], ""));
  }
  inLoad_ = false;
  store_.reset();
  loaded_ = true;
  modified_ = false;
  host_->DoConfigLoaded();
  Changed(true);
}

void TLexaConfig::EnsureLoaded() {
  if (!loaded_) Load();
}

AnsiString TLexaConfig::GetUserData(const AnsiString& name) {
  EnsureLoaded();
  for (Integer i = 0; i < userNames_.Count(); ++i)
    if (rtl::SameText(userNames_[i], name)) return i < userValues_.Count() ? userValues_[i] : AnsiString();
  return AnsiString();
}

void TLexaConfig::SetUserData(const AnsiString& name, const AnsiString& value) {
  EnsureLoaded();
  modified_ = true;
  for (Integer i = 0; i < userNames_.Count(); ++i)
    if (rtl::SameText(userNames_[i], name)) {
      while (userValues_.Count() <= i) userValues_.Add("");
      userValues_.Put(i, value);
      Changed(false);
      return;
    }
  userNames_.Add(name);
  while (userValues_.Count() < userNames_.Count() - 1) userValues_.Add("");
  userValues_.Add(value);
  Changed(false);
}

void TLexaConfig::ResetDefaults() {
  resetNextLoad_ = true;
  Reload();
}

void TLexaConfig::Reload() {
  if (!loaded_) return;
  Save();
  Load();
}

bool TLexaConfig::Save() {
  if (!modified_ || !loaded_ || !host_ || host_->Designing()) return true;
  // Everything goes to the storage of the last load, in one write.
  if (storage_ != csNone) {
    try {
      struct StoreCloser {
        std::unique_ptr<rtl::TCustomIniFile>& store;
        ~StoreCloser() { store.reset(); }
      } closer{store_};
      if (storage_ == csFile) ForceFolder(rtl::ExtractFileDir(NativeFileName(fileName_)));
      OpenStore(storage_);
      WriteString("_FirstRun", "+");
      ReadWriteList("_Main", main_, false);
      ReadWriteList("_Custom", custom_, false);
      ReadWriteList("_MSWordCustom", msWord_, false);
      WriteString("_ActiveCustom", activeCustom_);
      for (const OptionKey& k : kOptionKeys) WriteString(k.key, HasSpellOption(options_, k.option) ? "+" : "-");
      WriteString("_DialogX", rtl::IntToStr(dialogX_));
      WriteString("_DialogY", rtl::IntToStr(dialogY_));
      ReadWriteList("_NewPaths", newPaths_, false);
      ReadWriteList("_UserData", userNames_, false);
      for (Integer i = 0; i < userNames_.Count() && i < userValues_.Count(); ++i)
        WriteString("User_" + userNames_[i], userValues_[i]);
      if (store_) store_->UpdateFile();
    } catch (const rtl::Exception&) {
      // The old stored settings are whole; these stay modified for the
      // next save.
      return false;
    }
  }
  modified_ = false;
  host_->DoConfigSaved();
  return true;
}

}  // namespace spell
