// The thesaurus compiler: its selection rules on small texts, what stops
// it, the program's messages, and Velun.adt from the build read through
// the reader against a parse of Debian's thesaurus made here on its own.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "AdtCompiler.h"
#include "SpellTestSupport.h"
#include "ThesaurusFiles.h"
#include "core/TestSupport.h"
#include "spell/engine/lx3Text.h"
#include "spell/engine/lx3ThesaurusFile.h"

using namespace spell;

namespace {

const char* const kDat = "/usr/share/mythes/th_en_US_v2.dat";
const char* const kSmallList = "/usr/share/dict/american-english-small";

std::string VelunPath() { return std::string(TOLVANE_BIN_DIR) + "/Velun.adt"; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Items(const rtl::TStringList& list) {
  std::vector<std::string> items;
  for (Integer i = 0; i < list.Count(); ++i) items.push_back(list.Get(i));
  return items;
}

struct AdtcRun {
  int status = -1;
  std::string output;
};

AdtcRun RunAdtc(const std::string& arguments) {
  AdtcRun run;
  FILE* pipe = ::popen((std::string(TOLVANE_ADTC) + " " + arguments + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[512];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

using Selected = std::map<std::string, adtc::KindLists>;

}  // namespace

TEST(Adtc, ListsFollowTheMarksAndKeepOnlyHeads) {
  const std::string dat =
      "UTF-8\n"
      "happy|3\n"
      "(adj)|glad (similar term)|sad (antonym)|mood (generic term)|cheerful (related term)|happy|elated\n"
      "(adj)|cheerful|glad|felicitous (similar term)\r\n"
      "(noun)|glad\n"
      "glad|1\n"
      "(adj)|happy|glad\n"
      "cheerful|1\n"
      "(adv)|happy (generic term)|sad (antonym)\n"
      "felicitous|1\n"
      "(verb)|nothing|at all\n"
      "sad|1\n"
      "(adj)|happy (antonym)|glum\n"
      "mood|1\n"
      "(noun)|happy\n";
  const std::set<std::string> words = adtc::ReadWordList(
      Lines("happy\nglad\ncheerful\nfelicitous\nsad\nmood's\nelated\n"));
  adtc::Statistics stats;
  const Selected s = adtc::Select(adtc::ReadThesaurus(Lines(dat)), words, adtc::Limits(), &stats);
  // "cheerful" lists only a generic term and an antonym: it goes, and with
  // it every mention; "felicitous" and "sad" list no head; "mood" is no
  // word of the list ("mood's" is left out); "elated" is no head.
  EXPECT_EQ(stats.candidates, 5u);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s.at("happy"), (adtc::KindLists{{{"glad"}, {}, {"glad"}, {}}}));
  EXPECT_EQ(s.at("glad"), (adtc::KindLists{{{}, {}, {"happy"}, {}}}));
  EXPECT_EQ(stats.heads, 2u);
  EXPECT_EQ(stats.listEntries, 3u);
  EXPECT_EQ(stats.rounds, 2u);
}

TEST(Adtc, OverTheRecordLimitTheHeadsWithMostEntriesStay) {
  // Five heads all listing one another, but "e" lists only "a": over a
  // limit of 3 records, 2 stay: those with 4 entries, ties in byte order.
  std::vector<adtc::Head> thesaurus;
  const std::vector<std::string> names = {"d", "b", "c", "a", "e"};
  for (const std::string& n : names) {
    adtc::Head h;
    h.word = n;
    if (n == "e")
      h.entries[0] = {"a"};
    else
      for (const std::string& m : names)
        if (m != n) h.entries[0].push_back(m);
    thesaurus.push_back(h);
  }
  adtc::Limits limits;
  limits.maxRecords = 3;
  limits.keepOnOverflow = 2;
  const Selected s = adtc::Select(thesaurus, std::set<std::string>(names.begin(), names.end()), limits);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s.at("a")[0], std::vector<std::string>{"b"});
  EXPECT_EQ(s.at("b")[0], std::vector<std::string>{"a"});
}

TEST(Adtc, MalformedTextIsRefusedNamingTheLine) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"", "empty"},
      {"ISO8859-1\nx|1\n(noun)|y\n", "line 1"},
      {"UTF-8\nx\n(noun)|y\n", "line 2"},
      {"UTF-8\nx|one\n(noun)|y\n", "line 2"},
      {"UTF-8\nx|2\n(noun)|y\n", "line 4"},
      {"UTF-8\nx|1\n(pron)|y\n", "line 3"},
  };
  for (const Case& c : cases) {
    try {
      adtc::ReadThesaurus(Lines(c.text));
      ADD_FAILURE() << c.text;
    } catch (const adtc::CompileError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
  Selected tooMany;
  for (int i = 0; i < 13108; ++i) tooMany["w" + std::to_string(i)][0] = {"w0"};
  EXPECT_THROW(adtc::Compile(tooMany, adtc::Options()), adtc::CompileError);
}

TEST(Adtc, TheProgramWritesTheFileAndNamesMissingPackages) {
  core_test::ScratchFolder dir("adtc");
  const std::string dat = (dir.Path() / "th.dat").string(), list = (dir.Path() / "list").string();
  const std::string out = (dir.Path() / "out.adt").string();
  core_test::WriteFile(dat, "UTF-8\nrun|1\n(verb)|dash|go\ndash|1\n(verb)|run\n");
  core_test::WriteFile(list, "dash\nrun\n");
  AdtcRun ok = RunAdtc("--name Tiny " + dat + " " + list + " " + out);
  ASSERT_EQ(ok.status, 0) << ok.output;
  EXPECT_NE(ok.output.find("2 heads"), std::string::npos) << ok.output;
  TThesaurusFile t;
  t.SetFileName(out);
  ASSERT_TRUE(t.Lookup("Run"));
  EXPECT_EQ(t.Name(), "Tiny");
  ASSERT_EQ(t.Contexts().size(), 1u);
  EXPECT_EQ(t.Contexts()[0]->ContextKindName, "verb");
  EXPECT_EQ(Items(t.Contexts()[0]->Lists[1]), std::vector<std::string>{"Dash"});

  AdtcRun missing = RunAdtc("--packages mythes-en-us,wamerican-small " + (dir.Path() / "none.dat").string() + " " +
                        list + " " + out);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("mythes-en-us"), std::string::npos) << missing.output;
  AdtcRun noList = RunAdtc("--packages mythes-en-us,wamerican-small " + dat + " " + (dir.Path() / "none").string() +
                       " " + out);
  EXPECT_EQ(noList.status, 1);
  EXPECT_NE(noList.output.find("wamerican-small"), std::string::npos) << noList.output;
  core_test::WriteFile(dat, "UTF-8\nrun|1\n(pron)|dash\n");
  AdtcRun bad = RunAdtc(dat + " " + list + " " + out);
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.output.find("line 3"), std::string::npos) << bad.output;
  EXPECT_EQ(RunAdtc(dat).status, 2);
}

// Debian's thesaurus read here without the compiler: each head's entries by
// part of speech, marks handled, in order, duplicates kept.
struct DatHead {
  std::array<std::vector<std::string>, 4> entries;
};

std::map<std::string, DatHead> ParseDat() {
  std::map<std::string, DatHead> heads;
  std::ifstream in(kDat, std::ios::binary);
  std::string line;
  std::getline(in, line);  // the encoding
  DatHead* current = nullptr;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (line[0] != '(') {
      current = &heads[line.substr(0, line.find('|'))];
      continue;
    }
    std::vector<std::string> fields;
    std::stringstream fs(line);
    for (std::string f; std::getline(fs, f, '|');) fields.push_back(f);
    const int k = fields[0] == "(noun)" ? 0 : fields[0] == "(verb)" ? 1 : fields[0] == "(adj)" ? 2 : 3;
    for (size_t i = 1; i < fields.size(); ++i) {
      std::string& f = fields[i];
      const size_t paren = f.rfind(" (");
      if (paren != std::string::npos && f.back() == ')') {
        const std::string mark = f.substr(paren);
        if (mark == " (generic term)" || mark == " (antonym)") continue;
        if (mark == " (similar term)" || mark == " (related term)") f.resize(paren);
      }
      current->entries[static_cast<size_t>(k)].push_back(f);
    }
  }
  return heads;
}

TEST(Adtc, VelunHoldsDebiansThesaurusForTheHeadsOfTheSmallList) {
  const std::map<std::string, DatHead> dat = ParseDat();
  ASSERT_GT(dat.size(), 100000u) << "mythes-en-us is installed";
  std::set<std::string> listed;
  for (const std::string& w : spell_test::ReadLines(kSmallList))
    if (!(w.size() > 2 && w.compare(w.size() - 2, 2, "'s") == 0)) listed.insert(w);
  // Candidates in 1252, with their entries.
  std::map<std::string, std::array<std::vector<std::string>, 4>> candidates;
  for (const auto& [head, h] : dat) {
    std::string w;
    if (!listed.count(head) || !ToEngineText(head, w)) continue;
    auto& c = candidates[w];
    for (size_t k = 0; k < 4; ++k)
      for (const std::string& e : h.entries[k]) {
        std::string e1252;
        if (ToEngineText(e, e1252)) c[k].push_back(e1252);
      }
  }
  auto listsUnder = [&](const std::string& head, const std::set<std::string>& kept) {
    std::array<std::vector<std::string>, 4> lists;
    for (size_t k = 0; k < 4; ++k)
      for (const std::string& e : candidates.at(head)[k])
        if (e != head && kept.count(e) && std::find(lists[k].begin(), lists[k].end(), e) == lists[k].end())
          lists[k].push_back(e);
    return lists;
  };

  TThesaurusFile t;
  t.SetFileName(VelunPath());
  ASSERT_EQ(t.FileName(), VelunPath()) << "the build compiles Velun.adt";
  t.SetLoaded(true);
  ASSERT_TRUE(t.Loaded());
  EXPECT_EQ(t.Name(), "English");
  EXPECT_EQ(Items(t.KindNames()), (std::vector<std::string>{"", "noun", "verb", "adjective", "adverb"}));
  EXPECT_LE(t.NodeCount(), 65536);
  EXPECT_LE(t.MeaningCount(), 13107);

  // The file's heads: the candidates it finds, and no other word end.
  std::set<std::string> heads;
  for (const auto& [w, lists] : candidates) {
    Integer node = 0;
    if (t.FindWord(w, node)) heads.insert(w);
  }
  const std::string bytes = core_test::Slurp(VelunPath());
  size_t at = adtc::HeaderSize;
  for (int s = 0; s < 6; ++s) at += 1 + static_cast<unsigned char>(bytes.at(at));
  Integer wordEnds = 0;
  for (Integer i = 0; i < t.NodeCount(); ++i)
    if (static_cast<unsigned char>(bytes.at(at + 4 + 4 * static_cast<size_t>(i) + 2)) & 0x80) ++wordEnds;
  EXPECT_EQ(static_cast<size_t>(wordEnds), heads.size());

  // The trie's form, from the bytes: no chains; every node but the root
  // names its parent, and each child names the node that lists it; a
  // single child in the one-child form, more in byte order; word ends and
  // only they carry references, ascending kinds of one record each.
  {
    const size_t nodes = at + 4;
    const size_t links = nodes + 4 * static_cast<size_t>(t.NodeCount()) + 4;
    auto value = [&](size_t i) {
      uint32_t v = 0;
      for (size_t b = 4; b-- > 0;) v = v << 8 | static_cast<unsigned char>(bytes.at(nodes + 4 * i + b));
      return v;
    };
    auto link16 = [&](size_t p) {
      return static_cast<size_t>(static_cast<unsigned char>(bytes.at(links + p)) |
                                 static_cast<unsigned char>(bytes.at(links + p + 1)) << 8);
    };
    std::vector<size_t> parentOf(static_cast<size_t>(t.NodeCount()), SIZE_MAX);
    std::vector<size_t> listedBy(static_cast<size_t>(t.NodeCount()), SIZE_MAX);
    for (size_t i = 0; i < static_cast<size_t>(t.NodeCount()); ++i) {
      const uint32_t v = value(i);
      ASSERT_EQ(v & (1u << 22), 0u) << "node " << i << " is a chain";
      ASSERT_EQ((v & (1u << 21)) != 0, i != 0) << "node " << i;
      size_t p = v & 0xFFFFF;
      std::vector<size_t> children;
      if (v & (1u << 20)) {
        children.push_back(link16(p));
        p += 2;
      } else {
        const size_t n = static_cast<unsigned char>(bytes.at(links + p));
        ASSERT_NE(n, 1u) << "node " << i << ": a single child takes the one-child form";
        for (size_t c = 0; c < n; ++c) children.push_back(link16(p + 1 + 2 * c));
        p += 1 + 2 * n;
      }
      for (size_t c = 0; c < children.size(); ++c) {
        ASSERT_LT(children[c], parentOf.size());
        listedBy[children[c]] = i;
        if (c > 0) {
          ASSERT_LT(value(children[c - 1]) >> 24, value(children[c]) >> 24) << "node " << i;
        }
      }
      if (i != 0) {
        parentOf[i] = link16(p);
        p += 2;
      }
      if (v & (1u << 23)) {
        const size_t m = static_cast<unsigned char>(bytes.at(links + p));
        ASSERT_GE(m, 1u);
        for (size_t r = 0; r < m; ++r) {
          const size_t reference = link16(p + 1 + 2 * r);
          EXPECT_EQ(reference / 5, link16(p + 1) / 5) << "node " << i;
          EXPECT_NE(reference % 5, 0u);
          if (r > 0) {
            EXPECT_GT(reference, link16(p - 1 + 2 * r));
          }
        }
      }
    }
    for (size_t i = 1; i < parentOf.size(); ++i) ASSERT_EQ(parentOf[i], listedBy[i]) << "node " << i;
  }
  EXPECT_EQ(t.MeaningCount(), heads.size());
  EXPECT_GT(heads.size(), 12000u);

  size_t entries = 0;
  for (const std::string& head : heads) {
    const auto expected = listsUnder(head, heads);
    ASSERT_TRUE(t.Lookup(head)) << head;
    std::vector<Integer> kinds;
    for (size_t k = 0; k < 4; ++k)
      if (!expected[k].empty()) kinds.push_back(static_cast<Integer>(k + 1));
    ASSERT_FALSE(kinds.empty()) << head << " has a meaning";
    ASSERT_EQ(t.Contexts().size(), kinds.size()) << head;
    for (size_t c = 0; c < kinds.size(); ++c) {
      const TThesaurusEntry& e = *t.Contexts()[c];
      EXPECT_EQ(e.ContextWord, head);
      EXPECT_EQ(e.ContextKind, kinds[c]) << head;
      EXPECT_EQ(e.ContextKindName, t.KindNames().Get(kinds[c]));
      for (size_t k = 0; k < 4; ++k) ASSERT_EQ(Items(e.Lists[k]), expected[k]) << head << " kind " << k + 1;
    }
    for (const auto& l : expected) entries += l.size();
  }
  EXPECT_EQ(entries * 2, static_cast<size_t>(t.IndexSize()));

  // The selection itself: from the candidates, heads with an empty list
  // go and the lists are made again until nothing changes (over 13,107
  // records only the 13,000 with the most entries stay).
  std::set<std::string> kept;
  for (const auto& [w, lists] : candidates) kept.insert(w);
  for (;;) {
    std::vector<std::pair<size_t, std::string>> next;
    for (const std::string& w : kept) {
      size_t n = 0;
      for (const auto& l : listsUnder(w, kept)) n += l.size();
      if (n > 0) next.emplace_back(n, w);
    }
    if (next.size() > 13107) {
      std::sort(next.begin(), next.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
      });
      next.resize(13000);
    }
    std::set<std::string> words;
    for (const auto& p : next) words.insert(p.second);
    if (words == kept) break;
    kept = words;
  }
  EXPECT_TRUE(kept == heads) << kept.size() << " against " << heads.size();

  // Capitalised and all-capitals look-ups answer in that case.
  ASSERT_TRUE(t.Lookup("happy"));
  ASSERT_FALSE(t.Contexts().empty());
  const std::vector<std::string> adjectives = Items(t.Contexts()[0]->Lists[2]);
  for (const char* w : {"glad", "cheerful", "joyful"})
    EXPECT_NE(std::find(adjectives.begin(), adjectives.end(), w), adjectives.end()) << w;
  ASSERT_TRUE(t.Lookup("Happy"));
  EXPECT_EQ(t.Contexts()[0]->ContextWord, "Happy");
  const std::vector<std::string> capitalised = Items(t.Contexts()[0]->Lists[2]);
  EXPECT_NE(std::find(capitalised.begin(), capitalised.end(), "Glad"), capitalised.end());
  ASSERT_TRUE(t.Lookup("HAPPY"));
  EXPECT_EQ(t.Contexts()[0]->ContextWord, "HAPPY");
  const std::vector<std::string> capitals = Items(t.Contexts()[0]->Lists[2]);
  EXPECT_NE(std::find(capitals.begin(), capitals.end(), "GLAD"), capitals.end());
  EXPECT_EQ(capitals.size(), adjectives.size());
  EXPECT_FALSE(t.Lookup("hap"));
  EXPECT_FALSE(t.Lookup("zzzq"));

  // The copyright beside it, and the same bytes from the same input.
  EXPECT_EQ(core_test::Slurp(VelunPath() + ".copyright"),
            core_test::Slurp("/usr/share/doc/mythes-en-us/copyright"));
  adtc::Options options;
  options.sourceNote = "Debian mythes-en-us, heads of wamerican-small";
  EXPECT_TRUE(adtc::Compile(adtc::Select(adtc::ReadThesaurus(spell_test::ReadLines(kDat)),
                                         adtc::ReadWordList(spell_test::ReadLines(kSmallList))),
                            options) == bytes)
      << "the build's file is the compiler's output for the same input";
}
