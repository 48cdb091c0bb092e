// The line store on its own: loading and saving, adding and inserting,
// records, the journal, attached to a stand-in editor and detached.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "../MemoCorpus.h"
#include "FakeEditor.h"
#include "memo/text/MemoChars.h"
#include "rtl/Exceptions.h"

using namespace memo;
using namespace memotest;
using Lines = std::vector<std::string>;

namespace {

struct LoadCase {
  const char* name;
  std::string bytes;
  Lines attached;   // lines with an editor (TABs expanded)
  Lines detached;   // lines without one
  std::string saved;  // SaveToString after the attached load
  bool mended;        // the row differs from the unmended rules
};

const std::string kNul("a\0b\nc", 5);

const LoadCase kLoadCases[] = {
    {"CR LF", "a\r\nb\r\n", {"a", "b"}, {"a", "b"}, "a\r\nb\r\n", false},
    {"LF", "a\nb", {"a", "b"}, {"a", "b"}, "a\r\nb\r\n", false},
    {"CR", "a\rb\r", {"a", "b"}, {"a", "b"}, "a\r\nb\r\n", false},
    {"mixed breaks", "a\r\nb\nc\rd", {"a", "b", "c", "d"}, {"a", "b", "c", "d"}, "a\r\nb\r\nc\r\nd\r\n", false},
    {"CR CR LF is two breaks", "a\r\r\nb", {"a", "", "b"}, {"a", "", "b"}, "a\r\n\r\nb\r\n", false},
    {"LF LF, final CR", "x\n\ny\r", {"x", "", "y"}, {"x", "", "y"}, "x\r\n\r\ny\r\n", false},
    {"no final break", "a", {"a"}, {"a"}, "a\r\n", false},
    {"empty text", "", {}, {}, "", false},
    {"one break", "\r\n", {""}, {""}, "\r\n", false},
    {"two empty lines", "\n\n", {"", ""}, {"", ""}, "\r\n\r\n", false},
    {"TAB expanded only with an editor", "a\tb\r\nc", {"a    b", "c"}, {"a\tb", "c"}, "a    b\r\nc\r\n", false},
    {"TAB at both ends", "\tx\t", {"    x    "}, {"\tx\t"}, "    x    \r\n", false},
    {"NUL is a character", kNul, {std::string("a\0b", 3), "c"}, {std::string("a\0b", 3), "c"},
     std::string("a\0b\r\nc\r\n", 8), true},
    {"multibyte characters", "\xC3\xA9\n\xE4\xB8\xAD\n\xF0\x9F\x98\x80",
     {"\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"}, {"\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"},
     "\xC3\xA9\r\n\xE4\xB8\xAD\r\n\xF0\x9F\x98\x80\r\n", false},
    {"invalid bytes kept", "caf\xE9\r\n\xC7\xD1\xB1\xDB", {"caf\xE9", "\xC7\xD1\xB1\xDB"},
     {"caf\xE9", "\xC7\xD1\xB1\xDB"}, "caf\xE9\r\n\xC7\xD1\xB1\xDB\r\n", false},
};

void ExpectLengths(const TLumMemoStrings& s) {
  for (Integer i = 0; i < s.Count(); ++i) EXPECT_EQ(s.LineLength(i), CharLength(s.Line(i))) << "line " << i;
}

TEST(LineStore, LoadAndSaveRules) {
  for (const LoadCase& c : kLoadCases) {
    SCOPED_TRACE(std::string(c.name) + (c.mended ? " (changed by a mend)" : ""));
    {
      TLumMemoStrings store;
      FakeEditor editor(store);
      store.LoadFromString(c.bytes);
      store.Check();
      EXPECT_EQ(LinesOf(store), c.attached);
      EXPECT_EQ(store.SaveToString(), c.saved);
      ExpectLengths(store);
      Integer longest = 0;
      for (auto& l : c.attached) longest = std::max(longest, CharLength(l));
      EXPECT_EQ(editor.longest, longest);
      EXPECT_EQ(editor.calls, (std::vector<std::string>{"BeginLoad", "AfterClear", "EndLoad"}));
      // Every loaded line has a record, and it hides from GetObject.
      for (Integer i = 0; i < store.Count(); ++i) {
        EXPECT_NE(store.GetLineProp(i), nullptr);
        EXPECT_EQ(store.GetObject(i), nullptr);
      }
    }
    {
      TLumMemoStrings store;
      store.LoadFromString(c.bytes);
      store.Check();
      EXPECT_EQ(LinesOf(store), c.detached);
      ExpectLengths(store);
    }
  }
}

TEST(LineStore, MultibyteLinesHaveOneColumnPerCharacter) {
  TLumMemoStrings store;
  FakeEditor editor(store);
  store.LoadFromString("\xC3\xA9t\xC3\xA9\n\xE4\xB8\xAD\xE6\x96\x87\n\xF0\x9F\x98\x80!");
  EXPECT_EQ(store.LineLength(0), 3);
  EXPECT_EQ(store.LineLength(1), 2);
  EXPECT_EQ(store.LineLength(2), 2);
  EXPECT_EQ(editor.longest, 3);
}

TEST(LineStore, LoadingAgainReplacesEverything) {
  TLumMemoStrings store;
  FakeEditor editor(store);
  store.LoadFromString("one\ntwo\nthree");
  store.CreateLineProp(1)->Breakpoint = true;
  store.LoadFromString("x");
  store.Check();
  EXPECT_EQ(LinesOf(store), Lines{"x"});
  EXPECT_FALSE(store.GetLineProp(0)->Breakpoint);
  EXPECT_EQ(store.LinePropCount(), 1);
}

struct AddCase {
  const char* name;
  std::string text;
  bool attached;
  Lines lines;
  Integer result;
  bool mended;
};

const AddCase kAddCases[] = {
    {"CR LF with an editor", "a\r\nb", true, {"a", "b"}, 1, false},
    {"CR LF detached", "a\r\nb", false, {"a\r\nb"}, 0, false},
    {"bare LF with an editor", "a\nb", true, {"a", "b"}, 1, true},
    {"bare CR with an editor", "a\rb", true, {"a", "b"}, 1, false},
    {"a final break gives an empty last line", "a\r\n", true, {"a", ""}, 1, false},
    {"empty text is one empty line", "", true, {""}, 0, false},
    {"TAB with an editor", "\tx", true, {"    x"}, 0, false},
    {"TAB detached", "\tx", false, {"\tx"}, 0, false},
};

TEST(LineStore, AddBreaksLinesWithAnEditor) {
  for (const AddCase& c : kAddCases) {
    SCOPED_TRACE(std::string(c.name) + (c.mended ? " (changed by a mend)" : ""));
    TLumMemoStrings store;
    std::unique_ptr<FakeEditor> editor;
    if (c.attached) editor = std::make_unique<FakeEditor>(store);
    EXPECT_EQ(store.Add(c.text), c.result);
    store.Check();
    EXPECT_EQ(LinesOf(store), c.lines);
    ExpectLengths(store);
  }
}

TEST(LineStore, InsertPutDeleteKeepLengthsAndRecords) {
  TLumMemoStrings store;
  FakeEditor editor(store);
  store.LoadFromString("a\nb\nc");
  store.Insert(1, "x\ty");
  store.Check();
  EXPECT_EQ(LinesOf(store), (Lines{"a", "x    y", "b", "c"}));
  EXPECT_EQ(store.GetLineProp(1), nullptr);  // inserted lines have no record yet
  EXPECT_EQ(editor.inserted, std::vector<Integer>{1});
  store.Put(2, "\xE4\xB8\xAD\t");
  EXPECT_EQ(store.Line(2), "\xE4\xB8\xAD    ");
  EXPECT_EQ(store.LineLength(2), 5);
  store.Delete(0);
  store.Check();
  EXPECT_EQ(LinesOf(store), (Lines{"x    y", "\xE4\xB8\xAD    ", "c"}));
  store.Delete(7);  // outside the list: nothing
  EXPECT_EQ(store.Count(), 3);
  // The editor's delete-line operation empties a single line.
  store.LoadFromString("only");
  store.Delete(0);
  EXPECT_EQ(LinesOf(store), Lines{""});
  store.Check();
}

TEST(LineStore, ObjectsLiveInTheLineRecords) {
  TLumMemoStrings store;
  int a = 0, b = 0;
  store.AddObject("one", &a);
  store.Insert(1, "two");
  store.PutObject(1, &b);
  store.PutObject(5, &b);  // outside: nothing
  store.Check();
  EXPECT_EQ(store.GetObject(0), &a);
  EXPECT_EQ(store.GetObject(1), &b);
  EXPECT_EQ(store.GetObject(9), nullptr);
  EXPECT_EQ(store.GetLineProp(0)->Data, &a);
  store.Exchange(0, 1);
  store.Check();
  EXPECT_EQ(store.GetObject(0), &b);
  store.Move(0, 1);
  store.Check();
  EXPECT_EQ(LinesOf(store), (Lines{"one", "two"}));
  EXPECT_EQ(store.GetObject(0), &a);
}

TEST(LineStore, RecordsOutliveTheirLinesUntilClear) {
  TLumMemoStrings store;
  store.Add("a");
  store.Add("b");
  TLineProp* prop = store.GetLineProp(1);
  prop->Modified = true;
  store.Delete(1);
  EXPECT_EQ(store.LinePropCount(), 2);
  EXPECT_TRUE(prop->Modified);  // still alive
  store.Clear();
  EXPECT_EQ(store.LinePropCount(), 0);
  EXPECT_EQ(store.Count(), 0);
}

TEST(LineStore, RegionEndCountIgnoresNegatives) {
  TLineProp p;
  p.SetRegionEndCount(2);
  p.SetRegionEndCount(-1);
  EXPECT_EQ(p.RegionEndCount(), 2);
  EXPECT_TRUE(p.Expanded);
  EXPECT_FALSE(p.TokenStateValid);
}

TEST(LineStore, AddStringsAndAssign) {
  TLumMemoStrings source;
  source.Add("p\tq");
  source.Add("r");
  TLumMemoStrings detached;
  detached.Add("first");
  detached.AddStrings(source);
  detached.Check();
  EXPECT_EQ(LinesOf(detached), (Lines{"first", "p\tq", "r"}));
  detached.Assign(source);
  detached.Check();
  EXPECT_EQ(LinesOf(detached), (Lines{"p\tq", "r"}));

  TLumMemoStrings attached;
  FakeEditor editor(attached);
  attached.AddStrings(source);
  EXPECT_EQ(editor.calls.back(), "LinesAppended");
  attached.Assign(source);
  EXPECT_NE(std::find(editor.calls.begin(), editor.calls.end(), "Assign"), editor.calls.end());
  attached.Check();
}

TEST(LineStore, UpdateBlocksCountAndFireNothing) {
  TLumMemoStrings store;
  int changes = 0;
  store.OnChange = [&](rtl::TStrings*) { ++changes; };
  store.Add("a");
  EXPECT_EQ(changes, 1);
  store.BeginUpdate();
  EXPECT_EQ(store.UpdateDepth(), 1);
  store.Add("b");
  store.EndUpdate();
  store.EndUpdate();  // never below zero
  EXPECT_EQ(store.UpdateDepth(), 0);
  EXPECT_EQ(changes, 1);
}

TEST(LineStore, SaveToFileTrimsTheLines) {
  auto dir = std::filesystem::temp_directory_path() / ("memo-store-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (bool attached : {true, false}) {
    TLumMemoStrings store;
    std::unique_ptr<FakeEditor> editor;
    if (attached) editor = std::make_unique<FakeEditor>(store);
    store.Add("abc \t");
    store.Add(std::string("x\0 ", 3));
    auto file = (dir / "out.txt").string();
    store.SaveToFile(file);
    EXPECT_EQ(Slurp(file), "abc\r\nx\r\n");
    EXPECT_EQ(store.Line(0), "abc");
    store.Check();
    TLumMemoStrings back;
    back.LoadFromFile(file);
    EXPECT_EQ(LinesOf(back), (Lines{"abc", "x"}));
  }
  std::filesystem::remove_all(dir);
}

TEST(LineStore, AFailedFileLoadTellsTheEditor) {
  TLumMemoStrings store;
  FakeEditor editor(store);
  store.LoadFromString("kept");
  editor.calls.clear();
  EXPECT_THROW(store.LoadFromFile("/nonexistent/folder/file.html"), rtl::EFOpenError);
  EXPECT_EQ(editor.calls, (std::vector<std::string>{"BeginLoad", "AbortLoad"}));
  EXPECT_EQ(LinesOf(store), Lines{"kept"});
  store.Check();
}

TEST(LineStore, JournalRecordsOnlyInsideScopes) {
  TLumMemoStrings store;
  store.Add("a");
  store.Add("b");
  store.Put(0, "outside");  // not inside a scope: not kept
  auto& journal = store.Journal();
  EXPECT_FALSE(journal.HasPending());

  const Lines before = LinesOf(store);
  journal.BeginScope();
  store.Put(0, "A");
  store.Insert(1, "new");
  store.Add("tail");
  store.Delete(2);
  journal.Suspend();
  store.Put(1, "quiet");  // suspended: not kept
  journal.Resume();
  store.Put(1, "new");
  TLineChanges changes = journal.Take();
  EXPECT_TRUE(journal.EndScope());
  ASSERT_EQ(changes.size(), 5u);
  const Lines after = LinesOf(store);

  store.RevertChanges(changes);
  store.Check();
  EXPECT_EQ(LinesOf(store), before);
  store.ApplyChanges(changes);
  store.Check();
  EXPECT_EQ(LinesOf(store), after);
  EXPECT_FALSE(journal.HasPending());  // replays are never journalled
}

TEST(LineStore, JournalScopesNest) {
  TLineJournal j;
  j.BeginScope();
  j.Record({TLineChange::TKind::lcPut, 0, "a", "b"});
  j.BeginScope();  // inner scope keeps what the outer one has
  EXPECT_TRUE(j.HasPending());
  EXPECT_FALSE(j.EndScope());
  EXPECT_TRUE(j.HasPending());
  EXPECT_TRUE(j.EndScope());  // leftovers go with the outermost scope
  EXPECT_FALSE(j.HasPending());
  j.Record({TLineChange::TKind::lcPut, 0, "a", "b"});
  EXPECT_FALSE(j.HasPending());
}

TEST(LineStore, RevertSkipsLinesTheTextNoLongerHas) {
  TLumMemoStrings store;
  store.Add("a");
  TLineChanges changes{{TLineChange::TKind::lcPut, 5, "x", "y"},
                       {TLineChange::TKind::lcInsert, 9, "", "z"},
                       {TLineChange::TKind::lcDelete, 7, "w", ""}};
  store.RevertChanges(changes);
  store.Check();
  EXPECT_EQ(LinesOf(store), (Lines{"a", "w"}));
}

TEST(LineStore, CheckFindsBrokenInvariants) {
  TLumMemoStrings store;
  store.Add("a");
  EXPECT_NO_THROW(store.Check());
  struct Breaker : TLumMemoStrings {
    void Break() { SetItemText(0, "longer"); }
  } broken;
  broken.Add("a");
  broken.Break();
  EXPECT_THROW(broken.Check(), rtl::EAssertionFailed);
}

// Every page and style sheet of the manual comes back byte for byte, apart
// from the documented changes: CR LF breaks, a final CR LF, TABs as blanks.
TEST(LineStore, ManualRoundTrip) {
  auto files = ManualFiles();
  ASSERT_FALSE(files.empty()) << kManualRoot << " is missing: install Debian's apache2-doc package";
  size_t checked = 0, withTabs = 0, nonUtf8 = 0;
  for (const auto& f : files) {
    std::string bytes = Slurp(f);
    std::string expected;
    for (const std::string& line : SplitLines(bytes)) {
      expected += line;
      expected += "\r\n";
    }
    TLumMemoStrings detached;
    detached.LoadFromString(bytes);
    ASSERT_EQ(detached.SaveToString(), expected) << f;

    std::string expanded = expected;
    if (ExpandTabs(expanded, 4)) ++withTabs;
    TLumMemoStrings store;
    FakeEditor editor(store);
    store.LoadFromString(bytes);
    ASSERT_EQ(store.SaveToString(), expanded) << f;
    if (CharLength(bytes) != static_cast<Integer>(bytes.size())) {
      // Not all ASCII: counted in characters, not bytes.
      Integer chars = 0;
      for (Integer i = 0; i < store.Count(); ++i) chars += store.LineLength(i);
      EXPECT_LT(chars, static_cast<Integer>(expanded.size())) << f;
    }
    if (f.string().find("euc-kr") != std::string::npos || f.string().find("/ko/") != std::string::npos)
      ++nonUtf8;
    ++checked;
  }
  EXPECT_GT(checked, 800u);
  EXPECT_GT(withTabs, 0u);
  EXPECT_GT(nonUtf8, 0u);
}

}  // namespace
