// The spell configuration over its four storages, against a host that
// stands in for the spell-checker component.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "SpellTestSupport.h"
#include "core/TestSupport.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"
#include "spell/engine/lx3Configuration.h"
#include "spell/engine/lx3Util.h"

using namespace spell;

namespace {

constexpr TSpellOptions kDefaultOptions = 1699;  // live spelling and correcting, internet, abbreviations, repeated, dual caps

class Host : public TLexaConfigHost {
 public:
  TConfigStorage storage = csRegistry;
  AnsiString id = "%UserName%";
  AnsiString file;
  AnsiString key = "Software\\Vovavovuz Software\\SpellTest";
  rtl::TStringList defaultMain, defaultCustom, word;
  std::map<std::string, std::string> callbackStore;
  int changedReload = 0, changedOptions = 0, loaded = 0, saved = 0;

  Host() { defaultMain.Add("American.adm"); }
  TConfigStorage ConfigStorage() const override { return storage; }
  AnsiString ConfigID() const override { return id; }
  AnsiString ConfigFilename() const override { return file; }
  AnsiString ConfigRegistryKey() const override { return key; }
  const rtl::TStrings& ConfigDefaultMain() const override { return defaultMain; }
  const rtl::TStrings& ConfigDefaultCustom() const override { return defaultCustom; }
  AnsiString ConfigDefaultActiveCustom() const override { return "%ConfigID%.adu"; }
  TSpellOptions ConfigDefaultOptions() const override { return kDefaultOptions; }
  bool ConfigUseMSWordCustom() const override { return true; }
  bool ConfigDefaultUseMSWordCustom() const override { return false; }
  bool Designing() const override { return false; }
  AnsiString ExpandPath(const AnsiString& path) override { return ExpandConfigID(ExpandPathMacros(path)); }
  AnsiString ExpandConfigID(const AnsiString& path) override {
    return ReplaceFirst("%ConfigID%", ExpandPathMacros(id), path);
  }
  const rtl::TStrings& GetMSWordCustomDictionaries() override { return word; }
  void DoConfigReadString(const AnsiString& cid, const AnsiString& k, const AnsiString& def, AnsiString& value) override {
    auto it = callbackStore.find(cid + "/" + k);
    value = it == callbackStore.end() ? def : it->second;
  }
  void DoConfigWriteString(const AnsiString& cid, const AnsiString& k, const AnsiString& value) override {
    callbackStore[cid + "/" + k] = value;
  }
  void DoConfigLoaded() override { ++loaded; }
  void DoConfigSaved() override { ++saved; }
  void ConfigurationChanged(bool reload) override { ++(reload ? changedReload : changedOptions); }
};

// A scratch registry and the user "ann".
class ConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    spell::testing::SetUserNameHook([] { return AnsiString("ann"); });
    rtl::SetRegistryFile((dir.Path() / "registry.ini").string());
    host.file = (dir.Path() / "cfg" / "Spell.cfg").string();
  }
  void TearDown() override {
    rtl::SetRegistryFile("");
    spell::testing::SetUserNameHook(nullptr);
  }
  AnsiString Stored(const AnsiString& name) {
    rtl::TRegistry reg;
    if (!reg.OpenKeyReadOnly(host.key + "\\ann")) return "<no key>";
    return reg.ReadString(name);
  }
  core_test::ScratchFolder dir{"spell-config"};
  Host host;
};

}  // namespace

TEST_F(ConfigurationTest, FirstRunDefaultsAndEveryKeyAfterTheRelease) {
  {
    TLexaConfig config(&host);
    EXPECT_FALSE(config.Loaded());
    rtl::TStringList& main = config.GetMainDictionaries();
    EXPECT_EQ(main.Text(), "American.adm\r\n");
    EXPECT_EQ(config.GetCustomDictionaries().Text(), "ann.adu\r\n");
    EXPECT_EQ(config.GetActiveCustom(), "ann.adu");
    EXPECT_EQ(config.GetOptions(), kDefaultOptions);
    EXPECT_EQ(config.GetMSWordCustomDictionaries().Count(), 0);
    EXPECT_EQ(config.GetDialogX(), -1);
    EXPECT_EQ(config.GetDialogY(), -1);
    EXPECT_EQ(host.loaded, 1);
    EXPECT_EQ(host.changedReload, 1);
    EXPECT_TRUE(config.Modified());  // a loaded configuration is written back
    EXPECT_EQ(Stored("_FirstRun"), "<no key>");
  }
  EXPECT_EQ(host.saved, 1);
  EXPECT_EQ(Stored("_FirstRun"), "+");
  EXPECT_EQ(Stored("_Main_count"), "1");
  EXPECT_EQ(Stored("_Main_0"), "American.adm");
  EXPECT_EQ(Stored("_Custom_0"), "ann.adu");
  EXPECT_EQ(Stored("_MSWordCustom_count"), "0");
  EXPECT_EQ(Stored("_ActiveCustom"), "ann.adu");
  EXPECT_EQ(Stored("_soUpcase"), "-");
  EXPECT_EQ(Stored("_soInternet"), "+");
  EXPECT_EQ(Stored("_soUser4"), "-");
  EXPECT_EQ(Stored("_DialogX"), "-1");
  EXPECT_EQ(Stored("_NewPaths_count"), "0");
  EXPECT_EQ(Stored("_UserData_count"), "0");
}

TEST_F(ConfigurationTest, StoredValuesAreReadAsWritten) {
  {
    rtl::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(host.key + "\\ann", true));
    reg.WriteString("_FirstRun", "+");
    reg.WriteString("_Main_count", "3");
    reg.WriteString("_Main_0", "American.adm");
    reg.WriteString("_Main_2", "British.adm");  // index 1 is empty
    reg.WriteString("_soUpcase", "1");          // only "+" sets an option
    reg.WriteString("_soNumbers", "+");
    reg.WriteString("_DialogX", "120");
    reg.WriteString("_DialogY", "oops");
    reg.WriteString("_Custom_count", "x");  // an invalid count is an empty list
    reg.WriteString("_UserData_count", "1");
    reg.WriteString("_UserData_0", "Colour");
    reg.WriteString("User_Colour", "blue");
  }
  TLexaConfig config(&host);
  EXPECT_EQ(config.GetMainDictionaries().Text(), "American.adm\r\nBritish.adm\r\n");
  EXPECT_EQ(config.GetOptions(), SpellOption(soNumbers));
  EXPECT_EQ(config.GetDialogX(), 120);
  EXPECT_EQ(config.GetDialogY(), 0);
  EXPECT_EQ(config.GetCustomDictionaries().Count(), 0);
  EXPECT_EQ(config.GetUserData("colour"), "blue");
  EXPECT_EQ(config.GetUserData("size"), "");
}

TEST_F(ConfigurationTest, ChangesNotifyTheComponent) {
  TLexaConfig config(&host);
  config.EnsureLoaded();
  ASSERT_TRUE(config.Save());
  EXPECT_FALSE(config.Modified());
  const int reloads = host.changedReload, options = host.changedOptions;
  config.SetOptions(config.GetOptions());  // the same value: nothing
  EXPECT_FALSE(config.Modified());
  EXPECT_EQ(host.changedOptions, options);
  config.SetOptions(SpellOption(soUpcase));
  EXPECT_TRUE(config.Modified());
  EXPECT_EQ(host.changedOptions, options + 1);
  config.GetMainDictionaries().Add("French.adm");  // a list change reloads the sets
  EXPECT_EQ(host.changedReload, reloads + 1);
  config.SetActiveCustom("work.adu");
  EXPECT_EQ(host.changedReload, reloads + 2);
  EXPECT_EQ(config.GetCustomDictionaries().IndexOf("work.adu"), 1);
  config.GetNewPaths().Add("/b");
  config.GetNewPaths().Add("/a");
  config.GetNewPaths().Add("/a");
  EXPECT_EQ(config.GetNewPaths().Text(), "/a\r\n/b\r\n");  // sorted, no duplicates
  config.SetUserData("Name", "v1");
  config.SetUserData("NAME", "v2");
  EXPECT_EQ(config.GetUserData("name"), "v2");
}

TEST_F(ConfigurationTest, ResetDefaultsKeepsTheUserData) {
  {
    TLexaConfig config(&host);
    config.GetCustomDictionaries().Add("other.adu");
    config.SetOptions(SpellOption(soHTML));
    config.GetNewPaths().Add("/extra");
    config.SetUserData("Colour", "blue");
  }
  TLexaConfig config(&host);
  EXPECT_EQ(config.GetCustomDictionaries().Count(), 2);
  config.ResetDefaults();
  EXPECT_EQ(config.GetCustomDictionaries().Text(), "ann.adu\r\n");
  EXPECT_EQ(config.GetOptions(), kDefaultOptions);
  EXPECT_EQ(config.GetNewPaths().Count(), 0);
  EXPECT_EQ(config.GetUserData("Colour"), "blue");
  ASSERT_TRUE(config.Save());
  EXPECT_EQ(Stored("_Custom_count"), "1");
  EXPECT_EQ(Stored("User_Colour"), "blue");
}

TEST_F(ConfigurationTest, FileCallbackAndNone) {
  host.storage = csFile;
  {
    TLexaConfig config(&host);
    config.EnsureLoaded();
    config.SetDialogX(33);
  }
  rtl::TMemIniFile ini(host.file);
  EXPECT_EQ(ini.ReadString("ann", "_FirstRun", ""), "+");
  EXPECT_EQ(ini.ReadString("ann", "_DialogX", ""), "33");

  host.storage = csCallback;
  {
    TLexaConfig config(&host);
    config.EnsureLoaded();
    config.SetDialogY(44);
  }
  EXPECT_EQ(host.callbackStore["ann/_DialogY"], "44");
  EXPECT_EQ(host.callbackStore["ann/_FirstRun"], "+");

  host.storage = csNone;
  host.saved = 0;
  {
    TLexaConfig config(&host);
    EXPECT_EQ(config.GetOptions(), kDefaultOptions);
    config.SetDialogY(55);
  }
  EXPECT_EQ(host.saved, 1);
  EXPECT_EQ(host.callbackStore["ann/_DialogY"], "44");
}

TEST_F(ConfigurationTest, WithoutAComponentNothingLoads) {
  TLexaConfig config(nullptr);
  EXPECT_EQ(config.GetMainDictionaries().Count(), 0);
  EXPECT_EQ(config.GetOptions(), 0);
  EXPECT_EQ(config.GetDialogX(), -1);
  EXPECT_FALSE(config.Loaded());
}

TEST_F(ConfigurationTest, AStorageChangeSavesToTheStorageOfTheLastLoad) {
  host.storage = csFile;
  TLexaConfig config(&host);
  config.EnsureLoaded();
  config.SetDialogX(77);
  host.storage = csRegistry;
  config.Reload();
  rtl::TMemIniFile ini(host.file);
  EXPECT_EQ(ini.ReadString("ann", "_DialogX", ""), "77");
  EXPECT_EQ(config.GetDialogX(), -1);  // the registry's first run
}

// A save that cannot be written keeps the old stored settings and the
// modified flag, fires no saved event, and the next save writes.
TEST_F(ConfigurationTest, AFailedSaveKeepsEverythingForTheNextOne) {
  for (TConfigStorage storage : {csFile, csRegistry}) {
    host.storage = storage;
    host.saved = 0;
    TLexaConfig config(&host);
    config.EnsureLoaded();
    ASSERT_TRUE(config.Save());
    const std::string file = storage == csFile ? host.file : (dir.Path() / "registry.ini").string();
    const std::string before = core_test::Slurp(file);
    ASSERT_FALSE(before.empty());
    for (int i = 0; i < 40; ++i) config.GetMainDictionaries().Add("Dictionary" + std::to_string(i) + ".adm");
    bool ok = true;
    {
      spell_test::FileSizeLimit limit(before.size() + 16);
      ok = config.Save();
    }
    EXPECT_FALSE(ok) << storage;
    EXPECT_TRUE(config.Modified());
    EXPECT_EQ(host.saved, 1);  // only the first save
    EXPECT_EQ(core_test::Slurp(file), before);
    EXPECT_TRUE(config.Save());
    EXPECT_EQ(host.saved, 2);
    EXPECT_NE(core_test::Slurp(file), before);
  }
}
