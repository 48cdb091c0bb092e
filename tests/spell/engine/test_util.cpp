// The spell checker's small services: edit distance, path macros, file
// probes, the notification list, the custom dictionary's hash and sizes,
// and the engine's Windows-1252 text.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/TestSupport.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "spell/engine/lx3Text.h"
#include "spell/engine/lx3Util.h"

using namespace spell;
namespace fs = std::filesystem;

namespace {

// Restores the system's answers after a test replaced them.
struct HookReset {
  ~HookReset() {
    spell::testing::SetUserNameHook(nullptr);
    spell::testing::SetSpecialFolderHook(nullptr);
  }
};

AnsiString AppDir() { return rtl::ExcludeTrailingPathDelimiter(rtl::ProgramFolder()); }

}  // namespace

TEST(SpellUtil, VersionText) {
  EXPECT_EQ(GetVersionText(), "3.4.4 Pro");
  EXPECT_EQ(GetVersionText().size(), 9u);
}

TEST(SpellUtil, WordDistanceTable) {
  struct Case {
    std::string a, b;
    Integer distance;
  } cases[] = {
      {"form", "from", 1},  // edit distance 2, one aligned transposition
      {"abc", "abc", 0},    {"ab", "ba", 1},     {"xaay", "xaaz", 1},  // equal neighbours earn no discount
      {"abcd", "bacd", 1},  {"abcd", "acbd", 1}, {"abcd", "bcda", 2},  // only aligned swaps count
      {"", "abc", 3},       {"abc", "", 3},      {"kitten", "sitting", 3},
      {"Cat", "cat", 1},  // case counts
      {"aba", "bab", 1},  // discounts never share a letter: edit distance 2, one discount
  };
  for (const Case& c : cases) EXPECT_EQ(WordDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
}

TEST(SpellUtil, WordDistanceOfLongWordsIsTheLongerLength) {
  const std::string a(255, 'a'), b(300, 'b'), c(254, 'a');
  EXPECT_EQ(WordDistance(a, a), 255);  // whatever the content
  EXPECT_EQ(WordDistance(a, b), 300);
  EXPECT_EQ(WordDistance(c, "a"), 253);  // 254 is still computed
  EXPECT_EQ(WordDistance(c, a), 255);
}

TEST(SpellUtil, ReplaceFirst) {
  EXPECT_EQ(ReplaceFirst("ab", "X", "abcab"), "Xcab");
  EXPECT_EQ(ReplaceFirst("AB", "X", "abcab"), "abcab");  // case-sensitive
  EXPECT_EQ(ReplaceFirst("zz", "X", "abc"), "abc");
}

TEST(SpellUtil, PathMacros) {
  HookReset reset;
  spell::testing::SetUserNameHook([] { return AnsiString("ann"); });
  spell::testing::SetSpecialFolderHook([](Integer csidl) -> AnsiString {
    if (csidl == CSIDL_APPDATA) return "/home/ann/.config";
    if (csidl == CSIDL_PERSONAL) return "/home/ann/Documents";
    return "";
  });
  ::setenv("TOLVANE_SPELL_TEST_VAR", "value", 1);
  const AnsiString appName = rtl::ChangeFileExt(rtl::ExtractFileName(rtl::ProgramFileName()), "");
  struct Case {
    AnsiString path, expanded;
  } cases[] = {
      {"%AppDir%\\Spell.cfg", AppDir() + "\\Spell.cfg"},
      {"%AppDir%\\%UserName%_sp.adl", AppDir() + "\\ann_sp.adl"},
      {"%AppDir%\\%AppDir%", AppDir() + "\\%AppDir%"},  // first only; unknown variables stay
      {"%AppName%.cfg", appName + ".cfg"},
      {"%AppData%\\x", "/home/ann/.config\\x"},
      {"%MyDocuments%\\y", "/home/ann/Documents\\y"},
      {"%TOLVANE_SPELL_TEST_VAR%/%TOLVANE_SPELL_TEST_VAR%", "value/value"},  // every variable
      {"%NO_SUCH_VARIABLE_HERE%", "%NO_SUCH_VARIABLE_HERE%"},
      {"50%%TOLVANE_SPELL_TEST_VAR%", "50%value"},
      {"%appdir%", "%appdir%"},  // macros are case-sensitive
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandPathMacros(c.path), c.expanded) << c.path;

  // No length limit: a long variable expands whole.
  const std::string longValue(6000, 'v');
  ::setenv("TOLVANE_SPELL_LONG", longValue.c_str(), 1);
  EXPECT_EQ(ExpandPathMacros("%TOLVANE_SPELL_LONG%"), longValue);
  ::unsetenv("TOLVANE_SPELL_LONG");
  ::unsetenv("TOLVANE_SPELL_TEST_VAR");
}

TEST(SpellUtil, PathMacroFallbacks) {
  HookReset reset;
  spell::testing::SetUserNameHook([] { return AnsiString(); });
  spell::testing::SetSpecialFolderHook([](Integer) { return AnsiString(); });
  EXPECT_EQ(ExpandPathMacros("%UserName%.adu"), "default.adu");
  EXPECT_EQ(ExpandPathMacros("%AppData%\\a"), AppDir() + "\\a");
  EXPECT_EQ(ExpandPathMacros("%MyDocuments%\\b"), "\\b");
}

TEST(SpellUtil, SystemSpecialFolders) {
  const char* home = std::getenv("HOME");
  ::setenv("XDG_CONFIG_HOME", "/tmp/spell-config-home", 1);
  EXPECT_EQ(GetSpecialFolder(CSIDL_APPDATA), "/tmp/spell-config-home");
  ::setenv("XDG_DOCUMENTS_DIR", "/tmp/spell-docs/", 1);
  EXPECT_EQ(GetSpecialFolder(CSIDL_PERSONAL), "/tmp/spell-docs");
  ::unsetenv("XDG_DOCUMENTS_DIR");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(GetSpecialFolder(12345), "");
  EXPECT_FALSE(GetLoginUserName().empty());
  (void)home;
}

TEST(SpellUtil, DocumentsFolderFromTheUserDirsFile) {
  core_test::ScratchFolder dir("spell-docs");
  core_test::WriteFile(dir.Path() / "user-dirs.dirs", "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  ::setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  EXPECT_EQ(rtl::DocumentsFolder(), home + "/Papers/");
  ::unsetenv("XDG_CONFIG_HOME");
}

TEST(SpellUtil, CanCreateFileNeverTouchesAnExistingFile) {
  core_test::ScratchFolder dir("spell-probe");
  const std::string existing = (dir.Path() / "words.adu").string();
  core_test::WriteFile(existing, "keep me");
  EXPECT_FALSE(CanCreateFile(existing, true));
  EXPECT_FALSE(CanCreateFile(existing, false));
  EXPECT_EQ(core_test::Slurp(existing), "keep me");

  const std::string fresh = (dir.Path() / "new.adu").string();
  EXPECT_TRUE(CanCreateFile(fresh, true));
  EXPECT_FALSE(fs::exists(fresh));  // the probe removed what it made
  EXPECT_TRUE(CanCreateFile(fresh, false));
  EXPECT_TRUE(fs::exists(fresh));
  EXPECT_FALSE(CanCreateFile((dir.Path() / "no/such/folder/x.adu").string(), true));
  EXPECT_FALSE(CanCreateFile("", true));
}

TEST(SpellUtil, ForceFolderAndNativeNames) {
  core_test::ScratchFolder dir("spell-force");
  const std::string stored = dir.Path().string() + "\\a\\b\\c";
  ForceFolder(stored);
  EXPECT_TRUE(fs::is_directory(dir.Path() / "a/b/c"));
  ForceFolder(stored);  // already there: nothing
  ForceFolder("");
  EXPECT_EQ(NativeFileName("C:\\x\\y.adu"), "C:/x/y.adu");
  EXPECT_TRUE(IsPathName("a\\b"));
  EXPECT_TRUE(IsPathName("a/b"));
  EXPECT_FALSE(IsPathName("American.adm"));
}

TEST(SpellUtil, EventList) {
  TEventList list;
  std::vector<std::string> calls;
  int a = 0, b = 0, never = 0;
  list.AddListener(&a, [&](void* sender) { calls.push_back("a" + std::to_string(sender == &list)); });
  list.AddListener(&b, [&](void*) { calls.push_back("b"); });
  list.NotifyListeners(&list);
  EXPECT_EQ(calls, (std::vector<std::string>{"a1", "b"}));
  list.RemoveListener(&never);  // unknown: nothing changes
  EXPECT_EQ(list.Count(), 2);
  list.RemoveListener(&a);
  calls.clear();
  list.NotifyListeners(nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"b"}));
}

TEST(SpellUtil, HashProbeAndTableSizes) {
  EXPECT_EQ(WordHash("abc", 251), 241);
  EXPECT_EQ(WordHash("abc", 509), 395);
  EXPECT_EQ(WordHash("abc", 1048573), 465004);  // needs the 32-bit wrap of the products
  EXPECT_EQ(WordHash("", 251), 0);
  for (Integer size : {251, 509, 2147483647})
    for (const char* w : {"a", "zebra", "\xFF\xFE\xFD", "supercalifragilistic"}) {
      const Integer h = WordHash(w, size);
      EXPECT_GE(h, 0);
      EXPECT_LT(h, size);
    }
  EXPECT_EQ(ProbeStep(0), 1);
  EXPECT_EQ(ProbeStep(96), 97);
  EXPECT_EQ(ProbeStep(97), 1);
  EXPECT_EQ(NextTableSize(0), 251);
  EXPECT_EQ(NextTableSize(251), 509);
  EXPECT_EQ(NextTableSize(1073741789), 2147483647);
  EXPECT_EQ(NextTableSize(2147483647), 0);
  EXPECT_TRUE(IsTableSize(4093));
  EXPECT_FALSE(IsTableSize(4094));
}

TEST(SpellText, CaseTableAndConversion) {
  EXPECT_EQ(EngineLowerCase("HOUSE \xC9T\xC9 \x8A\x8C\x8E\x9F \xD7\xDF"), "house \xE9t\xE9 \x9A\x9C\x9E\xFF \xD7\xDF");
  EXPECT_EQ(EngineUpperCase("\xE9\xFF\x9C\xF7\xB5"), "\xC9\x9F\x8C\xF7\xB5");  // ÷ and µ have no partner
  EXPECT_TRUE(EngineSameText("Caf\xC9", "caf\xE9"));
  EXPECT_FALSE(EngineSameText("cafe", "caf\xE9"));
  std::string out = "untouched";
  EXPECT_TRUE(ToEngineText("caf\xC3\xA9 \xE2\x82\xAC", out));  // é and €
  EXPECT_EQ(out, "caf\xE9 \x80");
  EXPECT_EQ(FromEngineText(out), "caf\xC3\xA9 \xE2\x82\xAC");
  out = "untouched";
  EXPECT_FALSE(ToEngineText("\xCE\xB1\xCE\xB2", out));  // Greek
  EXPECT_FALSE(ToEngineText("\xE4\xB8\xAD", out));      // Chinese
  EXPECT_FALSE(ToEngineText("\xFF", out));              // not UTF-8
  EXPECT_EQ(out, "untouched");
}
