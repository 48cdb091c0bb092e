// The thesaurus file reader on files assembled here: chains, references,
// case patterns, the file name, and damaged files (cut short, counts that
// do not fit, references out of range, cycles) that must end a look-up
// with not found or an empty word and never hang.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DamagedFiles.h"
#include "ThesaurusFiles.h"
#include "core/TestSupport.h"
#include "spell/engine/lx3ThesaurusFile.h"

using namespace spell;
using spell_test::HandThesaurus;

namespace {

std::vector<std::string> ThesaurusItems(const rtl::TStringList& list) {
  std::vector<std::string> items;
  for (Integer i = 0; i < list.Count(); ++i) items.push_back(list.Get(i));
  return items;
}

using Lists = std::vector<std::vector<std::string>>;

Lists AllLists(const TThesaurusEntry& e) {
  Lists lists;
  for (const auto& l : e.Lists) lists.push_back(ThesaurusItems(l));
  return lists;
}

// A reader on a memory file holding bytes.
struct Reader {
  spell_test::MemoryFile file;
  TThesaurusFile thesaurus;
  explicit Reader(const std::string& bytes) {
    file.Set(bytes);
    thesaurus.SetFileName(file.Path());
  }
  bool Find(const std::string& word, Integer& index) { return thesaurus.FindWord(word, index); }
};

}  // namespace

TEST(ThesaurusFile, ChainsArePrefixFreeAndSpellTheirWholeWord) {
  Reader r(spell_test::Assemble(spell_test::ChainThesaurus()));
  r.thesaurus.SetLoaded(true);
  ASSERT_TRUE(r.thesaurus.Loaded());
  EXPECT_EQ(r.thesaurus.NodeCount(), 7);
  EXPECT_EQ(r.thesaurus.MeaningCount(), 2);
  EXPECT_EQ(r.thesaurus.Name(), "Hand");
  struct Case {
    const char* word;
    bool found;
    Integer node;
  } cases[] = {
      {"cat", true, 1},    // the chain's word, found at the chain node
      {"ca", false, 0},    // a prefix of the chain
      {"c", false, 0},     // the chain node's own letter
      {"cats", false, 0},  // longer than the chain
      {"cab", false, 0},   {"dog", true, 6}, {"do", true, 5}, {"d", false, 0},
      {"dogs", false, 0},  {"", false, 0},   {"Dog", false, 0},  // FindWord keeps case
  };
  for (const Case& c : cases) {
    Integer node = -1;
    EXPECT_EQ(r.Find(c.word, node), c.found) << c.word;
    if (c.found) {
      EXPECT_EQ(node, c.node) << c.word;
    }
  }
  EXPECT_EQ(r.thesaurus.GetNodeWord(1), "cat");
  EXPECT_EQ(r.thesaurus.GetNodeWord(5), "do");
  EXPECT_EQ(r.thesaurus.GetNodeWord(6), "dog");
  EXPECT_EQ(r.thesaurus.GetNodeWord(0), "") << "the root's letter is no word";
  EXPECT_EQ(r.thesaurus.GetNodeWord(7), "");
  EXPECT_EQ(r.thesaurus.GetNodeWord(-1), "");
}

TEST(ThesaurusFile, AReferenceNamesItsRecordAndKind) {
  Reader r(spell_test::Assemble(spell_test::ChainThesaurus()));
  ASSERT_TRUE(r.thesaurus.Lookup("cat"));
  EXPECT_TRUE(r.thesaurus.Loaded()) << "Lookup loads";
  EXPECT_EQ(r.thesaurus.LookedUpWord(), "cat");
  ASSERT_EQ(r.thesaurus.Contexts().size(), 1u);
  const TThesaurusEntry& e = *r.thesaurus.Contexts()[0];  // reference 7: record 1, kind 2
  EXPECT_EQ(e.ContextKind, 2);
  EXPECT_EQ(e.ContextKindName, "verb");
  EXPECT_EQ(e.ContextWord, "cat");
  EXPECT_EQ(AllLists(e), (Lists{{"dog"}, {"dog", "do"}, {}, {"cat"}}));

  ASSERT_TRUE(r.thesaurus.Lookup("do"));  // references 3 and 9, in order
  ASSERT_EQ(r.thesaurus.Contexts().size(), 2u);
  EXPECT_EQ(r.thesaurus.Contexts()[0]->ContextKind, 3);
  EXPECT_EQ(r.thesaurus.Contexts()[0]->ContextKindName, "adjective");
  EXPECT_EQ(r.thesaurus.Contexts()[0]->ContextWord, "dog");
  EXPECT_EQ(AllLists(*r.thesaurus.Contexts()[0]), (Lists{{"cat"}, {}, {"do"}, {}}));
  EXPECT_EQ(r.thesaurus.Contexts()[1]->ContextKind, 4);
  EXPECT_EQ(r.thesaurus.Contexts()[1]->ContextWord, "cat");

  EXPECT_FALSE(r.thesaurus.Lookup("ca"));
  EXPECT_TRUE(r.thesaurus.Contexts().empty()) << "a failed look-up leaves no contexts";
  EXPECT_EQ(r.thesaurus.LookedUpWord(), "ca");
}

TEST(ThesaurusFile, CaseOfTheLookedUpWordCarriesOver) {
  Reader r(spell_test::Assemble(spell_test::ChainThesaurus()));
  struct Case {
    const char* word;
    const char* context;
    Lists lists;
  } cases[] = {
      {"cat", "cat", {{"dog"}, {"dog", "do"}, {}, {"cat"}}},
      {"Cat", "Cat", {{"Dog"}, {"Dog", "Do"}, {}, {"Cat"}}},
      {"CAT", "CAT", {{"DOG"}, {"DOG", "DO"}, {}, {"CAT"}}},
      {"cAT", "cat", {{"dog"}, {"dog", "do"}, {}, {"cat"}}},  // neither pattern: as stored
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(r.thesaurus.Lookup(c.word)) << c.word;
    ASSERT_EQ(r.thesaurus.Contexts().size(), 1u);
    EXPECT_EQ(r.thesaurus.Contexts()[0]->ContextWord, c.context) << c.word;
    EXPECT_EQ(AllLists(*r.thesaurus.Contexts()[0]), c.lists) << c.word;
  }
  r.thesaurus.SetAllowCaseChanges(false);
  EXPECT_FALSE(r.thesaurus.Lookup("Cat"));
  EXPECT_TRUE(r.thesaurus.Lookup("cat"));
}

TEST(ThesaurusFile, TakesOnlyExistingFilesAndKeepsItsLoadedState) {
  core_test::ScratchFolder dir("thes");
  const std::string a = (dir.Path() / "a.adt").string(), b = (dir.Path() / "b.adt").string();
  core_test::WriteFile(a, spell_test::Assemble(spell_test::ChainThesaurus()));
  core_test::WriteFile(b, spell_test::SmallAdt());
  TThesaurusFile t;
  EXPECT_FALSE(t.Loaded());
  EXPECT_TRUE(t.AllowCaseChanges());
  EXPECT_FALSE(t.Lookup("cat")) << "no file";
  t.SetFileName(a);
  EXPECT_EQ(t.FileName(), a);
  EXPECT_FALSE(t.Loaded());
  t.SetFileName((dir.Path() / "missing.adt").string());
  EXPECT_EQ(t.FileName(), a) << "a missing file is never taken";
  ASSERT_TRUE(t.Lookup("cat"));
  t.SetFileName(b);  // loaded before, so loaded now, on the new file
  EXPECT_TRUE(t.Loaded());
  EXPECT_EQ(t.Name(), "Small");
  EXPECT_FALSE(t.Lookup("cat"));
  ASSERT_TRUE(t.Lookup("happy"));
  ASSERT_EQ(t.Contexts().size(), 1u);
  EXPECT_EQ(ThesaurusItems(t.Contexts()[0]->Lists[2]), (std::vector<std::string>{"glad", "cheerful"}));
  ASSERT_TRUE(t.Lookup("\xC9T\xC9"));  // "ÉTÉ": 1252's own capitals
  EXPECT_EQ(t.Contexts()[0]->ContextWord, "\xC9T\xC9");
  EXPECT_EQ(ThesaurusItems(t.Contexts()[0]->Lists[0]), (std::vector<std::string>{"RUN"}));
  t.SetLoaded(false);
  EXPECT_FALSE(t.Loaded());
  EXPECT_EQ(t.NodeCount(), 0);
  t.SetFileName(a);
  EXPECT_FALSE(t.Loaded()) << "unloaded before, so unloaded now";
}

// Every cut of a valid file stays unloaded; every changed byte loads or
// not, and each look-up and node word answers either way.
TEST(ThesaurusFile, CutOrChangedFilesStayUnloadedOrAnswer) {
  const std::pair<std::string, const char*> files[] = {
      {spell_test::Assemble(spell_test::ChainThesaurus()), "cat"}, {spell_test::SmallAdt(), "happy"}};
  for (const auto& [valid, held] : files) {
    Reader r(valid);
    const std::vector<std::string> words = {"cat", "dog", "do", "Happy", "glad", "RUN", "ca", "x"};
    for (size_t cut = 0; cut < valid.size(); ++cut) {
      r.thesaurus.SetLoaded(false);
      r.file.Set(valid.substr(0, cut));
      EXPECT_FALSE(r.thesaurus.Lookup("cat")) << cut;
      EXPECT_FALSE(r.thesaurus.Loaded()) << cut;
      EXPECT_EQ(r.thesaurus.NodeCount(), 0);
      EXPECT_EQ(r.thesaurus.Name(), "");
      EXPECT_EQ(r.thesaurus.KindNames().Count(), 0);
    }
    for (size_t at = 0; at < valid.size(); ++at)
      for (unsigned char flip : {0x01, 0x80, 0xFF}) {
        std::string damaged = valid;
        damaged[at] = static_cast<char>(damaged[at] ^ flip);
        r.thesaurus.SetLoaded(false);
        r.file.Set(damaged);
        for (const std::string& w : words) r.thesaurus.Lookup(w);
        for (Integer i = 0; i < r.thesaurus.NodeCount(); ++i) r.thesaurus.GetNodeWord(i);
      }
    r.thesaurus.SetLoaded(false);
    r.file.Set(valid);
    EXPECT_TRUE(r.thesaurus.Lookup(held)) << "the whole file loads";
  }
}

TEST(ThesaurusFile, DamageEndsTheLookUpOrEmptiesTheWord) {
  using Edit = std::function<void(HandThesaurus&)>;
  struct Case {
    const char* what;
    Edit edit;
    bool loads;
    const char* word;
    bool found;
    const char* firstListed;  // first word of the first context's first non-empty list
  } cases[] = {
      {"sound", [](HandThesaurus&) {}, true, "dog", true, "cat"},
      {"node count beyond the file", [](HandThesaurus& t) { t.nodeCount = 0x7FFFFFFF; }, false, "dog", false, ""},
      {"negative node count", [](HandThesaurus& t) { t.nodeCount = 0xFFFFFFFF; }, false, "dog", false, ""},
      {"link size beyond the file", [](HandThesaurus& t) { t.linkSize = 0x10000; }, false, "dog", false, ""},
      {"negative index size", [](HandThesaurus& t) { t.indexSize = 0x80000000; }, false, "dog", false, ""},
      {"index size beyond the file", [](HandThesaurus& t) { t.indexSize = 100; }, false, "dog", false, ""},
      {"child index beyond the nodes", [](HandThesaurus& t) { t.nodes[0].children[1] = 40; }, true, "dog", false,
       ""},
      {"only child beyond the nodes", [](HandThesaurus& t) { t.nodes[4].children[0] = 7; }, true, "dog", false, ""},
      {"link position beyond the links", [](HandThesaurus& t) { t.nodes[6].linkPosition = 0xFFFFF; }, true, "dog",
       false, ""},
      {"meaning record beyond the records", [](HandThesaurus& t) { t.nodes[6].meanings = {10}; }, true, "dog",
       false, ""},
      {"lists beyond the index", [](HandThesaurus& t) { t.records[0].offset = 14; }, true, "dog", false, ""},
      {"listed node beyond the nodes", [](HandThesaurus& t) { t.records[0].lists[0] = {9}; }, true, "dog", true,
       ""},
      {"listed node is the root", [](HandThesaurus& t) { t.records[0].lists[0] = {0}; }, true, "dog", true, ""},
      {"parents in a cycle", [](HandThesaurus& t) { t.nodes[1].parent = 1; }, true, "dog", true, ""},
      {"chain in a cycle", [](HandThesaurus& t) { t.nodes[3] = {'t', false, false, true, {2}, -1, {}, -1}; },
       true, "dog", true, ""},
      {"chain in a cycle, looked up", [](HandThesaurus& t) { t.nodes[3] = {'t', false, false, true, {2}, -1, {}, -1}; },
       true, "cat", false, ""},
  };
  for (const Case& c : cases) {
    HandThesaurus t = spell_test::ChainThesaurus();
    c.edit(t);
    Reader r(spell_test::Assemble(t));
    EXPECT_EQ(r.thesaurus.Lookup(c.word), c.found) << c.what;
    EXPECT_EQ(r.thesaurus.Loaded(), c.loads) << c.what;
    if (!c.found) {
      EXPECT_TRUE(r.thesaurus.Contexts().empty()) << c.what;
      continue;
    }
    ASSERT_FALSE(r.thesaurus.Contexts().empty()) << c.what;
    EXPECT_EQ(r.thesaurus.Contexts()[0]->Lists[0].Get(0), c.firstListed) << c.what;
    for (Integer i = 0; i < r.thesaurus.NodeCount(); ++i) r.thesaurus.GetNodeWord(i);
  }
  // The cycles spell no word at all.
  HandThesaurus parents = spell_test::ChainThesaurus();
  parents.nodes[5].parent = 6;
  Reader p(spell_test::Assemble(parents));
  p.thesaurus.SetLoaded(true);
  EXPECT_EQ(p.thesaurus.GetNodeWord(6), "");
  EXPECT_EQ(p.thesaurus.GetNodeWord(4), "d");
  HandThesaurus chain = spell_test::ChainThesaurus();
  chain.nodes[3] = {'t', false, false, true, {2}, -1, {}, -1};
  Reader c(spell_test::Assemble(chain));
  c.thesaurus.SetLoaded(true);
  EXPECT_EQ(c.thesaurus.GetNodeWord(1), "");
  EXPECT_EQ(c.thesaurus.GetNodeWord(6), "dog");
}
