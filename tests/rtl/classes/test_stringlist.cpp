#include <gtest/gtest.h>

#include <vector>

#include "TempDir.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "rtl/StringList.h"

using namespace rtl;

namespace {

std::vector<AnsiString> ListLines(const TStrings& s) {
  std::vector<AnsiString> out;
  for (Integer i = 0; i < s.Count(); ++i) out.push_back(s[i]);
  return out;
}

void Fill(TStrings& s, const std::vector<AnsiString>& lines) {
  for (const auto& l : lines) s.Add(l);
}

}  // namespace

TEST(StringList, SortedFindWithCaseAndDuplicates) {
  struct Case {
    const char* name;
    bool caseSensitive;
    TDuplicates dups;
    std::vector<AnsiString> adds;
    std::vector<AnsiString> expected;  // the list after the adds
    AnsiString probe;
    bool found;
    Integer index;
  };
  const std::vector<Case> cases = {
      {"insensitive finds other case", false, dupIgnore, {"beta", "Alpha", "gamma"},
       {"Alpha", "beta", "gamma"}, "BETA", true, 1},
      {"insensitive ignores a duplicate in other case", false, dupIgnore, {"a", "B", "b", "A"},
       {"a", "B"}, "b", true, 1},
      {"sensitive keeps both cases", true, dupIgnore, {"b", "B", "a", "A"},
       {"A", "B", "a", "b"}, "a", true, 2},
      {"sensitive misses other case", true, dupIgnore, {"apple", "cherry"},
       {"apple", "cherry"}, "Banana", false, 0},
      {"insertion point in the middle", false, dupIgnore, {"apple", "cherry"},
       {"apple", "cherry"}, "banana", false, 1},
      {"insertion point at the end", false, dupIgnore, {"apple", "cherry"},
       {"apple", "cherry"}, "zebra", false, 2},
      {"empty list", false, dupIgnore, {}, {}, "x", false, 0},
      {"accepted duplicates: first of the run", false, dupAccept, {"m", "x", "M", "a", "m"},
       {"a", "m", "M", "m", "x"}, "M", true, 1},
      {"empty string sorts first", false, dupIgnore, {"b", "", "a"}, {"", "a", "b"}, "", true, 0},
      // Without case, letters compare as upper case: "_" (0x5F) after "A" (0x41).
      {"compares as upper case", false, dupIgnore, {"_", "a"}, {"a", "_"}, "A", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TStringList list;
    list.SetCaseSensitive(c.caseSensitive);
    list.SetDuplicates(c.dups);
    list.SetSorted(true);
    Fill(list, c.adds);
    EXPECT_EQ(ListLines(list), c.expected);
    Integer index = -5;
    EXPECT_EQ(list.Find(c.probe, index), c.found);
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(list.IndexOf(c.probe), c.found ? c.index : -1);
  }
}

TEST(StringList, DuplicateErrorAndSortedRestrictions) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupError);
  list.Add("one");
  try {
    list.Add("ONE");
    FAIL() << "a duplicate was accepted";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
  EXPECT_EQ(list.Count(), 1);
  EXPECT_THROW(list.Insert(0, "zero"), EStringListError);
  EXPECT_THROW(list.Put(0, "uno"), EStringListError);

  // Switching Sorted on sorts what is there; turning case sensitivity on re-sorts.
  TStringList plain;
  Fill(plain, {"b", "C", "a", "B"});
  plain.SetSorted(true);
  EXPECT_EQ(ListLines(plain), (std::vector<AnsiString>{"a", "b", "B", "C"}));
  plain.SetCaseSensitive(true);
  EXPECT_EQ(ListLines(plain), (std::vector<AnsiString>{"B", "C", "a", "b"}));
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList list;
  Fill(list, {"a", "b"});
  struct Case {
    const char* what;
    std::function<void()> op;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"Get past end", [&] { list.Get(2); }, "List index out of bounds (2)"},
      {"Get negative", [&] { list.Get(-1); }, "List index out of bounds (-1)"},
      {"Delete", [&] { list.Delete(5); }, "List index out of bounds (5)"},
      {"Insert past Count", [&] { list.Insert(3, "x"); }, "List index out of bounds (3)"},
      {"Objects", [&] { list.Objects(7); }, "List index out of bounds (7)"},
      {"Exchange", [&] { list.Exchange(0, 9); }, "List index out of bounds (9)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.op();
      ADD_FAILURE() << "no exception";
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), c.message);
      EXPECT_STREQ(e.ClassName(), "EStringListError");
    }
  }
  EXPECT_EQ(ListLines(list), (std::vector<AnsiString>{"a", "b"}));
  list.Insert(2, "c");  // Insert at Count appends
  EXPECT_EQ(list[2], "c");
}

TEST(StringList, TextRoundTrips) {
  struct Case {
    AnsiString text;
    std::vector<AnsiString> lines;
    AnsiString written;
  };
  const std::vector<Case> cases = {
      {"a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
      {"a\nb", {"a", "b"}, "a\r\nb\r\n"},
      {"a\rb\r", {"a", "b"}, "a\r\nb\r\n"},
      {"a\r\n\r\nb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
      {"a\n\n", {"a", ""}, "a\r\n\r\n"},
      {"\r\n", {""}, "\r\n"},
      {"", {}, ""},
      {"x\n\ry", {"x", "", "y"}, "x\r\n\r\ny\r\n"},
      {"tab\there \r\n", {"tab\there "}, "tab\there \r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(ListLines(list), c.lines);
    EXPECT_EQ(list.Text(), c.written);
    TStringList again;
    again.SetText(list.Text());
    EXPECT_EQ(ListLines(again), c.lines);
  }
}

TEST(StringList, CommaTextQuotingAndRoundTrip) {
  struct Case {
    std::vector<AnsiString> lines;
    AnsiString comma;
  };
  const std::vector<Case> cases = {
      {{"a", "b", "c"}, "a,b,c"},
      {{"with blank", "x"}, "\"with blank\",x"},
      {{"a,b"}, "\"a,b\""},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"", "x"}, "\"\",x"},
      {{""}, "\"\""},
      {{}, ""},
      {{"tab\tin"}, "\"tab\tin\""},
      {{"name=value", "k=a b"}, "name=value,\"k=a b\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.comma);
    TStringList list;
    Fill(list, c.lines);
    EXPECT_EQ(list.CommaText(), c.comma);
    TStringList back;
    back.SetCommaText(c.comma);
    EXPECT_EQ(ListLines(back), c.lines);
  }

  // Reading: blanks separate items outside quotes, blanks around commas go.
  struct ReadCase {
    AnsiString comma;
    std::vector<AnsiString> lines;
  };
  const std::vector<ReadCase> reads = {
      {"a b", {"a", "b"}},
      {" a , b ", {"a", "b"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"\"x y\"z,w", {"x yz", "w"}},
      {"\"unterminated", {"unterminated"}},
  };
  for (const ReadCase& c : reads) {
    SCOPED_TRACE(c.comma);
    TStringList list;
    list.SetCommaText(c.comma);
    EXPECT_EQ(ListLines(list), c.lines);
  }
}

TEST(StringList, DelimitedTextWithOwnDelimiterAndStrictMode) {
  TStringList list;
  list.SetDelimiter(';');
  list.SetQuoteChar('\'');
  list.SetDelimitedText("a b;'c;d';e");
  EXPECT_EQ(ListLines(list), (std::vector<AnsiString>{"a", "b", "c;d", "e"}));
  EXPECT_EQ(list.DelimitedText(), "a;b;'c;d';e");

  list.SetStrictDelimiter(true);
  list.SetDelimitedText("a b;c");
  EXPECT_EQ(ListLines(list), (std::vector<AnsiString>{"a b", "c"}));
  EXPECT_EQ(list.DelimitedText(), "a b;c");
  // CommaText ignores the list's own delimiter settings.
  EXPECT_EQ(list.CommaText(), "\"a b\",c");
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  Fill(list, {"Key=one", "other=two=2", "novalue", "KEY=shadowed", "=anon"});
  EXPECT_EQ(list.IndexOfName("key"), 0);
  EXPECT_EQ(list.Values("KEY"), "one");
  EXPECT_EQ(list.Values("other"), "two=2");
  EXPECT_EQ(list.Values("novalue"), "");
  EXPECT_EQ(list.Names(1), "other");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.ValueFromIndex(2), "");
  EXPECT_EQ(list.ValueFromIndex(4), "anon");

  list.SetValue("other", "three");
  EXPECT_EQ(list[1], "other=three");
  list.SetValue("new", "v");
  EXPECT_EQ(list[list.Count() - 1], "new=v");
  list.SetValue("key", "");  // an empty value removes the line
  EXPECT_EQ(list.Values("key"), "shadowed");
  EXPECT_EQ(list.IndexOf("OTHER=THREE"), 0);
}

TEST(StringList, MoveExchangeAssignAndCustomSort) {
  TStringList list;
  Fill(list, {"a", "b", "c", "d"});
  list.PutObject(0, IntToObject(10));
  list.Move(0, 2);
  EXPECT_EQ(ListLines(list), (std::vector<AnsiString>{"b", "c", "a", "d"}));
  EXPECT_EQ(ObjectToInt(list.Objects(2)), 10);
  list.Exchange(0, 3);
  EXPECT_EQ(ListLines(list), (std::vector<AnsiString>{"d", "c", "a", "b"}));

  TStringList copy;
  copy.Add("old");
  copy.Assign(list);
  EXPECT_EQ(ListLines(copy), ListLines(list));
  EXPECT_EQ(copy.IndexOfObject(IntToObject(10)), 2);

  // By length, longest first; equal lengths keep their order.
  TStringList words;
  Fill(words, {"bb", "a", "ccc", "dd", "e"});
  words.CustomSort([](TStringList& l, Integer i, Integer j) {
    return static_cast<int>(l[j].size()) - static_cast<int>(l[i].size());
  });
  EXPECT_EQ(ListLines(words), (std::vector<AnsiString>{"ccc", "bb", "dd", "a", "e"}));

  TStringList sortedCopy;
  sortedCopy.SetSorted(true);
  sortedCopy.AddStrings(words);
  EXPECT_EQ(ListLines(sortedCopy), (std::vector<AnsiString>{"a", "bb", "ccc", "dd", "e"}));
}

TEST(StringList, OnChangeFiresOncePerUpdateBracket) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TStrings*) { ++changing; };
  list.OnChange = [&](TStrings* sender) {
    EXPECT_EQ(sender, &list);
    ++changed;
  };
  list.Add("a");
  EXPECT_EQ(changed, 1);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changed, 1);
  list.EndUpdate();
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(changing, 2);
  list.SetText("x\r\ny\r\nz");  // one bracket around the whole replacement
  EXPECT_EQ(changed, 3);
}

TEST(StringList, OwnedObjectsAreFreedOnce) {
  int freed = 0;
  {
    TStringList list(true);
    list.SetObjectDeleter([&](void* p) {
      ++freed;
      delete static_cast<int*>(p);
    });
    list.AddObject("a", new int(1));
    list.AddObject("b", new int(2));
    list.AddObject("c", new int(3));
    list.Delete(0);
    EXPECT_EQ(freed, 1);
    list.PutObject(0, new int(4));
    EXPECT_EQ(freed, 2);
    // Moving and exchanging lines carries their objects along, unfreed.
    list.Move(0, 1);
    list.Exchange(0, 1);
    EXPECT_EQ(freed, 2);
    EXPECT_EQ(*static_cast<int*>(list.Objects(0)), 4);
    EXPECT_EQ(list[0], "b");
  }
  EXPECT_EQ(freed, 4);

  // Not owning: nothing freed.
  int value = 5;
  TStringList list;
  list.AddObject("x", &value);
  list.Clear();
  EXPECT_EQ(value, 5);
}

TEST(StringList, FilesAndStreams) {
  rtl_test::TempDir dir;
  ASSERT_TRUE(dir.Valid());
  TStringList list;
  Fill(list, {"first", "zweite Zeile \xc3\xa4", ""});
  list.SaveToFile(dir / "lines.txt");
  EXPECT_EQ(rtl_test::ReadBytes(dir / "lines.txt"), "first\r\nzweite Zeile \xc3\xa4\r\n\r\n");

  TStringList back;
  back.LoadFromFile(dir / "lines.txt");
  EXPECT_EQ(ListLines(back), ListLines(list));

  // Bytes that are not UTF-8 are read as Windows-1252.
  rtl_test::WriteBytes(dir / "old.txt", "Caf\xe9\r\n\x80 5\n");
  back.LoadFromFile(dir / "old.txt");
  EXPECT_EQ(ListLines(back), (std::vector<AnsiString>{"Caf\xc3\xa9", "\xe2\x82\xac 5"}));

  TMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(stream.Size(), static_cast<Int64>(list.Text().size()));
  stream.SetPosition(0);
  TStringList fromStream;
  fromStream.LoadFromStream(stream);
  EXPECT_EQ(ListLines(fromStream), ListLines(list));

  try {
    back.LoadFromFile(dir / "missing.txt");
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + (dir / "missing.txt") +
                               "\". No such file or directory");
  }
  try {
    list.SaveToFile(dir / "no/such/folder.txt");
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message().find(dir / "no/such/folder.txt"), std::string::npos) << e.Message();
  }
}
