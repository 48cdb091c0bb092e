// Reads the spell configuration from arbitrary INI text, saves it and reads
// it back: the second reading must give what the first one did.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "FuzzScratch.h"
#include "spell/engine/lx3Configuration.h"
#include "spell/engine/lx3Util.h"

using namespace spell;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}

class Host : public TLexaConfigHost {
 public:
  AnsiString file;
  rtl::TStringList defaults;
  TConfigStorage ConfigStorage() const override { return csFile; }
  AnsiString ConfigID() const override { return "user"; }
  AnsiString ConfigFilename() const override { return file; }
  AnsiString ConfigRegistryKey() const override { return ""; }
  const rtl::TStrings& ConfigDefaultMain() const override { return defaults; }
  const rtl::TStrings& ConfigDefaultCustom() const override { return defaults; }
  AnsiString ConfigDefaultActiveCustom() const override { return "user.adu"; }
  TSpellOptions ConfigDefaultOptions() const override { return 1699; }
  bool ConfigUseMSWordCustom() const override { return false; }
  bool ConfigDefaultUseMSWordCustom() const override { return false; }
  bool Designing() const override { return false; }
  AnsiString ExpandPath(const AnsiString& path) override { return path; }
  AnsiString ExpandConfigID(const AnsiString& path) override { return ReplaceFirst("%ConfigID%", "user", path); }
  const rtl::TStrings& GetMSWordCustomDictionaries() override { return defaults; }
  void DoConfigReadString(const AnsiString&, const AnsiString&, const AnsiString& def, AnsiString& value) override {
    value = def;
  }
  void DoConfigWriteString(const AnsiString&, const AnsiString&, const AnsiString&) override {}
  void DoConfigLoaded() override {}
  void DoConfigSaved() override {}
  void ConfigurationChanged(bool) override {}
};

struct Snapshot {
  std::string main, custom, word, active, paths;
  TSpellOptions options;
  Integer x, y;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(TLexaConfig& c) {
  return {c.GetMainDictionaries().Text(), c.GetCustomDictionaries().Text(), c.GetMSWordCustomDictionaries().Text(),
          c.ActiveCustomName(), c.GetNewPaths().Text(), c.GetOptions(), c.GetDialogX(), c.GetDialogY()};
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Host host;
  host.file = (spell_fuzz::ScratchFolder() / "Spell.cfg").string();
  std::ofstream(host.file, std::ios::binary | std::ios::trunc)
      << "[user]\r\n" << std::string(reinterpret_cast<const char*>(data), size);
  Snapshot first;
  {
    TLexaConfig config(&host);
    config.EnsureLoaded();
    first = Take(config);
    config.GetUserData("x");
    Require(config.Save());
  }
  TLexaConfig again(&host);
  again.EnsureLoaded();
  Require(Take(again) == first);
  return 0;
}
