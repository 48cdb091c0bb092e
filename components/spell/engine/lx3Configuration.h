#pragma once
// The per-user settings of the spell checker: the main, custom and word
// processor dictionaries in use, the active custom dictionary, the option
// flags, the spell dialog's last position, the folders the user added and
// free name/value pairs. Read lazily from the storage the component names
// (an INI file, the registry stand-in, the host's callbacks, or nothing)
// and written back when modified, in one atomic write: a failed write keeps
// the old stored settings and the modified flag, so the next save tries
// again.
#include <memory>
#include <string>

#include "rtl/StringList.h"
#include "spell/engine/lx3Types.h"

namespace rtl {
class TCustomIniFile;
}

namespace spell {

enum TSpellOption {
  soLiveSpelling, soLiveCorrect, soUpcase, soNumbers, soHTML, soInternet, soQuoted, soAbbreviations,
  soPrimaryOnly, soRepeated, soDUalCaps, soUser1, soUser2, soUser3, soUser4
};
// A set of options, bit n for option n.
using TSpellOptions = Word;
constexpr TSpellOptions SpellOption(TSpellOption o) { return static_cast<TSpellOptions>(1u << o); }
constexpr bool HasSpellOption(TSpellOptions set, TSpellOption o) { return (set & SpellOption(o)) != 0; }

enum TConfigStorage { csFile, csRegistry, csCallback, csNone };

// What the configuration asks of the spell-checker component that owns it.
class TLexaConfigHost {
 public:
  virtual TConfigStorage ConfigStorage() const = 0;
  virtual AnsiString ConfigID() const = 0;
  virtual AnsiString ConfigFilename() const = 0;
  virtual AnsiString ConfigRegistryKey() const = 0;
  virtual const rtl::TStrings& ConfigDefaultMain() const = 0;
  virtual const rtl::TStrings& ConfigDefaultCustom() const = 0;
  virtual AnsiString ConfigDefaultActiveCustom() const = 0;
  virtual TSpellOptions ConfigDefaultOptions() const = 0;
  virtual bool ConfigUseMSWordCustom() const = 0;
  virtual bool ConfigDefaultUseMSWordCustom() const = 0;
  virtual bool Designing() const = 0;
  // Path macros, then "%ConfigID%".
  virtual AnsiString ExpandPath(const AnsiString& path) = 0;
  // The first "%ConfigID%" replaced by the expanded configuration id.
  virtual AnsiString ExpandConfigID(const AnsiString& path) = 0;
  virtual const rtl::TStrings& GetMSWordCustomDictionaries() = 0;
  virtual void DoConfigReadString(const AnsiString& configID, const AnsiString& key, const AnsiString& def,
                                  AnsiString& value) = 0;
  virtual void DoConfigWriteString(const AnsiString& configID, const AnsiString& key, const AnsiString& value) = 0;
  virtual void DoConfigLoaded() = 0;
  virtual void DoConfigSaved() = 0;
  virtual void ConfigurationChanged(bool reload) = 0;

 protected:
  ~TLexaConfigHost() = default;
};

class TLexaConfig {
 public:
  explicit TLexaConfig(TLexaConfigHost* host = nullptr);
  TLexaConfig(const TLexaConfig&) = delete;
  TLexaConfig& operator=(const TLexaConfig&) = delete;
  // Saves when modified.
  virtual ~TLexaConfig();

  void SetHost(TLexaConfigHost* host) { host_ = host; }
  bool Modified() const { return modified_; }
  bool Loaded() const { return loaded_; }

  virtual void SetActiveCustom(const AnsiString& name);
  virtual void SetLoaded(bool value);
  virtual void SetOptions(TSpellOptions options);
  virtual void SetDialogX(Integer x);
  virtual void SetDialogY(Integer y);
  // The lists the callers change directly (each change reloads the sets).
  virtual rtl::TStringList& GetMainDictionaries();
  virtual rtl::TStringList& GetCustomDictionaries();
  virtual rtl::TStringList& GetMSWordCustomDictionaries();
  // The active name, expanded.
  virtual AnsiString GetActiveCustom();
  // The active name as stored.
  AnsiString ActiveCustomName() { EnsureLoaded(); return activeCustom_; }
  virtual TSpellOptions GetOptions();
  virtual Integer GetDialogX();
  virtual Integer GetDialogY();
  virtual rtl::TStringList& GetNewPaths();
  virtual void ListChanged();
  virtual void Changed(bool reload);
  virtual void Load();
  virtual void EnsureLoaded();
  virtual AnsiString GetUserData(const AnsiString& name);
  virtual void SetUserData(const AnsiString& name, const AnsiString& value);
  virtual void ResetDefaults();
  virtual void Reload();
  // Writes the settings when modified; False when the write failed (they
  // stay modified, the old stored settings stay whole).
  virtual bool Save();

 protected:
  virtual void ReadWriteList(const AnsiString& key, rtl::TStrings& list, bool read);
  virtual AnsiString ReadString(const AnsiString& key, const AnsiString& def);
  virtual void WriteString(const AnsiString& key, const AnsiString& value);

 private:
  void WatchLists();
  void OpenStore(TConfigStorage kind);

  TLexaConfigHost* host_;  // the owning component; not owned
  bool modified_ = false;
  rtl::TStringList main_, custom_, msWord_;
  AnsiString activeCustom_;
  rtl::TStringList userNames_, userValues_;
  TSpellOptions options_ = 0;
  Integer dialogX_ = -1, dialogY_ = -1;
  rtl::TStringList newPaths_;
  bool loaded_ = false;
  bool resetNextLoad_ = false;
  bool inLoad_ = false;  // list changes while reading are not changes
  // Taken at the last load.
  TConfigStorage storage_ = csNone;
  AnsiString configID_, fileName_, registryKey_;
  std::unique_ptr<rtl::TCustomIniFile> store_;  // open only during a load or save
};

}  // namespace spell
