// Live spelling on a second thread while the user-interface thread runs
// check runs, popups, option changes and a reset: the component's lock
// keeps them apart (ThreadSanitizer finds any race), and the test ends by
// itself.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "SpellTestSupport.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "rtl/Registry.h"
#include "spell/engine/lx3SpellBase.h"

using namespace spell;

TEST(SpellThreads, LiveSpellingBesideCheckRunsPopupsAndOptionChanges) {
  core_test::ScratchFolder dir("spell-threads");
  spell::testing::SetUserNameHook([] { return AnsiString("ann"); });
  rtl::SetRegistryFile((dir.Path() / "registry.ini").string());
  {
    TLexaSpell3Base spell;
    spell.SetConfigStorage(csRegistry);
    spell.ConfigDictionaryDir().Clear();
    spell.ConfigDictionaryDir().Add(dir.Path().string());
    spell.ConfigDictionaryDir().Add("%AppDir%");
    spell.SuggestionsLearningDict = (dir.Path() / "ann_sp.adl").string();
    std::atomic<bool> stop{false};
    std::atomic<long> asked{0};
    // The analysis thread: its first call loads the configuration.
    std::thread analysis([&] {
      const char* words[] = {"house", "recieve", "qwzx", "The", "teh", "NASA", "http", "a"};
      while (!stop) {
        for (const char* w : words) spell.WordAcceptable(w);
        asked += 8;
      }
    });
    int prompts = 0;
    spell.OnPromptWord = [&](void*, const AnsiString& word, bool) {
      switch (prompts++ % 3) {
        case 0: spell.AddCurrent(); break;
        case 1: spell.IgnoreAllCurrent(); break;
        default: spell.ChangeAllCurrent("the"); break;
      }
    };
    spell.OnPopupDoMenu = [](void*, void*, Integer, Integer, Integer& tag, AnsiString& caption) {
      tag = 7;
      caption = "receive";
    };
    for (int round = 0; round < 20; ++round) {
      AnsiString text = "qwzx" + std::to_string(round) + " the teh zzqv house recieve";
      spell.CheckString(text);
      AnsiString word = "recieve";
      spell.ShowPopupMenu(nullptr, 177, 0, 0, word);
      rtl::TStringList list;
      spell.Suggest("speling", list);
      {
        auto lock = spell.LockComponent();
        TLexaConfig& config = spell.Config();
        config.SetOptions(static_cast<TSpellOptions>(config.GetOptions() ^ SpellOption(soUpcase)));
        if (round % 5 == 4) config.GetCustomDictionaries().Add("extra" + std::to_string(round) + ".adu");
        if (round == 10) config.ResetDefaults();
      }
    }
    while (asked < 100) std::this_thread::yield();
    stop = true;
    analysis.join();
    EXPECT_GE(prompts, 20);
  }
  rtl::SetRegistryFile("");
  spell::testing::SetUserNameHook(nullptr);
}

// A fresh component with the defaults finds American.adm through
// "%AppDir%" and, after its release, the registry holds every key.
TEST(SpellThreads, FirstRunEndToEnd) {
  core_test::ScratchFolder dir("spell-first-run");
  spell::testing::SetUserNameHook([] { return AnsiString("ann"); });
  rtl::SetRegistryFile((dir.Path() / "registry.ini").string());
  {
    TLexaSpell3Base spell;
    spell.ConfigDictionaryDir().Add(dir.Path().string());  // after "%AppDir%": ann.adu is made beside the program
    spell.SuggestionsLearningDict = (dir.Path() / "ann_sp.adl").string();
    EXPECT_TRUE(spell.WordAcceptable("house"));
    EXPECT_FALSE(spell.WordAcceptable("hosue"));
    ASSERT_EQ(spell.MainDictionaryCount(), 1);
    // Keep the program folder clean: the custom dictionary there is temporary.
    if (TCustomDictionary* active = spell.ActiveCustomDictionary()) active->SetModified(false);
  }
  rtl::TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Vovavovuz Software\\spell_thread_tests\\ann"));
  EXPECT_EQ(reg.ReadString("_FirstRun"), "+");
  EXPECT_EQ(reg.ReadString("_Main_0"), "American.adm");
  EXPECT_EQ(reg.ReadString("_ActiveCustom"), "ann.adu");
  EXPECT_EQ(reg.ReadString("_soLiveSpelling"), "+");
  EXPECT_EQ(reg.ReadString("_DialogX"), "-1");
  rtl::SetRegistryFile("");
  spell::testing::SetUserNameHook(nullptr);
}
