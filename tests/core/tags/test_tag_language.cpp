// The tag language: the tag list and its templates, the key list, the key
// classifier, help keywords, the attribute list and the insert and edit
// operations of a tag kind.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ZelVarPrinting.h"
#include "core/KnRegExU.h"
#include "core/VormekCmdU.h"
#include "core/VormekWebParserU.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace core {

namespace {

std::vector<AnsiString> Lines(const AnsiString& text) {
  rtl::TStringList list;
  list.SetText(text);
  std::vector<AnsiString> out;
  for (Integer i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

// ---------------------------------------------------------------------------
TEST(TagList, FillsThirteenKindsInTypeOrder) {
  TvormekTagList list;
  list.FillCommands();
  ASSERT_EQ(list.Count(), 13);
  EXPECT_EQ(list.GetCaption(), "Tolvane commands");
  EXPECT_EQ(list.Reserved(), 0);

  struct Row {
    const char* name;
    bool visible;
    size_t params;
    const char* syntax;
  };
  const Row rows[] = {
      {"PIN X", true, 1, "<!--(PIN X)-->"},
      {"PIN X Analog", true, 1, "<!--(PIN X ANALOG)-->"},
      {"PIN X Analog[*a][/b][+c][-d],p", true, 6, "<!--(PIN X ANALOG*A/B+C-D, P)-->"},
      {"PIN X ltag/hTag", true, 3, "<!--(PIN X LTAG/HTAG)-->"},
      {"Serial data", true, 2, "<!--(SERIAL DATA X Y)-->"},
      {"PIN X plug in", false, 0, ""},
      {"If PIN x=n", true, 3, "<!--(IF PIN X = N)-->"},
      {"If PIN X[<|>]n", true, 3, "<!--(IF PIN X [<|>] A)-->"},
      {"If key=n", true, 3, "<!--(IF KEY[<|>|=]A)-->"},
      {"Else", true, 0, "Else statment"},
      {"EndIF", true, 0, "Endif"},
      {"EXEC KEY", true, 2, "<!--(EXEC KEY=VALUE)-->"},
      {"READ KEY", true, 1, "<!--(READ KEY)-->"},
  };
  Integer visible = 0;
  for (Integer i = 0; i < list.Count(); ++i) {
    SCOPED_TRACE(i);
    const Row& r = rows[i];
    TvormekCmdItem* item = list.Items(i);
    EXPECT_EQ(item->GetName(), r.name);
    EXPECT_EQ(item->TagType(), i);
    EXPECT_EQ(item->IsVisible(), r.visible);
    EXPECT_EQ(item->Params().Params.size(), r.params);
    EXPECT_EQ(item->Params().Syntax, r.syntax);
    EXPECT_EQ(item->Index(), i);
    if (item->IsVisible()) ++visible;
  }
  // The palette shows every kind but the plug-in.
  EXPECT_EQ(visible, 12);
  // The plug-in kind has no template at all.
  EXPECT_EQ(list.Items(5)->Params(), TcustomTagParams{});
}

TEST(TagList, TemplatesCarryTheDialogRows) {
  struct Row {
    Integer type;
    size_t index;
    const char* name;
    Byte kind;
    const char* def;
    Word flags;
    float min, max;
    bool hidden;
    bool keyList;
    const char* description;
  };
  const Word allOps = tpfOpLess | tpfOpEqual | tpfOpGreater | tpfOpLessEqual | tpfOpGreaterEqual | tpfOpNotEqual;
  const Row rows[] = {
      {0, 0, "X", tpkPin, "1", 0, 0, 0, false, false, "Pin number"},
      {2, 1, "a", tpkNumber, "", tpfOptional, 0, 0, false, false, "Number to multiply the analog voltage by"},
      {2, 4, "d", tpkNumber, "", tpfOptional, 0, 0, false, false, "Number to subtract from the analog voltage"},
      {2, 5, "p", tpkNumber, "0", 0, 0, 0, false, false, "Number of decimal places"},
      {3, 1, "ltag", tpkText, "low text", 0, 0, 0, false, false, "Text if the pin is low"},
      {3, 2, "htag", tpkText, "high text", 0, 0, 0, false, false, "text if the pin is high"},
      {4, 0, "X", tpkNumber, "1", 0, 0, 0, false, false, "Character start index"},
      {4, 1, "Y", tpkNumber, "1", 0, 0, 0, false, false, "Character stop index"},
      {6, 0, "x", tpkPin, "1", 0, 0, 0, false, false, "Pin number"},
      {6, 1, "a", tpkLowHigh, "1", tpfRanged, 0, 1, false, false, "Low or high"},
      {6, 2, "OPT", tpkOperator, "3", tpfOpEqual, 0, 0, true, false, "Expression"},
      {7, 1, "OPT", tpkOperator, "4", tpfOpLess | tpfOpGreater, 0, 0, false, false, "Expression"},
      {7, 2, "a", tpkDecimal, "", tpfRanged, 0, 5, false, false, "0.00 to 5.00"},
      {8, 0, "x", tpkText, "", 0, 0, 0, false, true, "Key to execute"},
      {8, 1, "OPT", tpkOperator, "", allOps, 0, 0, false, false, "Expression"},
      {8, 2, "n", tpkText, "", 0, 0, 0, false, false, "Value to compare key's result to"},
      {11, 0, "Key", tpkText, "", 0, 0, 0, false, true, "Command to execute"},
      {11, 1, "Value", tpkText, "", 0, 0, 0, false, false, "Value"},
      {12, 0, "Key", tpkText, "", 0, 0, 0, false, true, "Command to read"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.type) + "/" + r.name);
    const TcustomTagParams t = TVormekWebParser::TagTemplate(r.type);
    ASSERT_LT(r.index, t.Params.size());
    const TcustomTagParam& p = t.Params[r.index];
    EXPECT_EQ(p.Name, r.name);
    EXPECT_EQ(p.Kind, r.kind);
    EXPECT_EQ(p.Default, r.def);
    EXPECT_EQ(p.Flags, r.flags);
    EXPECT_EQ(p.Min, r.min);
    EXPECT_EQ(p.Max, r.max);
    EXPECT_EQ(p.Hidden, r.hidden);
    EXPECT_EQ(p.List.empty(), !r.keyList);
    if (r.keyList) {
      EXPECT_EQ(p.List, TVormekWebParser::BuildKeyList());
    }
    EXPECT_EQ(p.Description, r.description);
    EXPECT_EQ(p.Value, "");
  }

  EXPECT_EQ(TVormekWebParser::TagTemplate(3).Description,
            "The element is replaced with \"ltag\" if the pin is low and \"htag\" if the pin is high.");
  EXPECT_EQ(TVormekWebParser::TagTemplate(8).Description,
            "If the statement is false then text is removed upto the ELSE or ENDIF");
  EXPECT_EQ(TVormekWebParser::TagTemplate(6).Description,
            "If the statement is false then text is removed up to the ELSE or ENDIF");
  EXPECT_EQ(TVormekWebParser::TagTemplate(9).Description, "Text upto the ENDIF is removed if the if statement is TRUE");
  EXPECT_EQ(TVormekWebParser::TagTemplate(7).Template, "<!--(IF PIN X %OPT$ A)-->");
  EXPECT_EQ(TVormekWebParser::TagTemplate(2).Template, "<!--(PIN x ANALOG*a/b+c-d_p)-->");
  // No template for the plug-in kind, the catch-all kind or unknown numbers.
  for (Integer type : {5, 13, 14, -1, 255}) EXPECT_EQ(TVormekWebParser::TagTemplate(type), TcustomTagParams{});
}

TEST(TagList, PagePatternsFindTheirKindOnly) {
  // The catch-all pattern is the long one, and the only one with quotes.
  EXPECT_EQ(std::string(kTagSyntaxPatterns[13]).size(), 203u);
  for (Integer type = 0; type < 13; ++type)
    EXPECT_EQ(std::string(kTagSyntaxPatterns[static_cast<size_t>(type)]).find('"'), std::string::npos) << type;
  // Each kind's own example is found by its pattern.
  const char* examples[] = {
      "<!--(PIN 3)-->",          "<!--(PIN 3 ANALOG)-->",   "<!--(PIN 3 ANALOG*2/4+1-1,2)-->",
      "<!--(PIN 3 off/on)-->",   "<!--(SERIAL DATA 1 5)-->", "<!--(PLUG-IN abc)-->",
      "<!--(IF PIN 2 = 1)-->",   "<!--(IF PIN 2 < 3.5)-->", "<!--(IF SSN != abc)-->",
      "<!--(ELSE)-->",           "<!--(ENDIF)-->",          "<!--(EXEC ID=abc)-->",
      "<!--(READ SSN)-->",       "<!--(a note)-->",
  };
  for (Integer type = 0; type < kTagKindCount; ++type) {
    SCOPED_TRACE(type);
    TKnRegEx re;
    re.SetIgnoreCase(true);
    re.MatchPattern()->Add(kTagSyntaxPatterns[static_cast<size_t>(type)]);
    const std::string text = std::string("x ") + examples[type] + " y";
    TKnMatchPos pos;
    ASSERT_TRUE(re.FindMatch(text, pos));
    EXPECT_EQ(pos.FirstIndex, 3u);
    EXPECT_EQ(pos.MatchLength, std::string(examples[type]).size());
  }
}

TEST(KeyList, ListsEveryKeyOnceInOrder) {
  const AnsiString text = TVormekWebParser::BuildKeyList();
  ASSERT_TRUE(rtl::EndsStr("\r\n", text));
  // Every line ends in CR LF: no lone line feeds or carriage returns.
  EXPECT_EQ(rtl::StringReplace(text, "\r\n", "", {rtl::TReplaceFlag::rfReplaceAll}).find_first_of("\r\n"),
            AnsiString::npos);
  const auto keys = Lines(text);
  ASSERT_EQ(keys.size(), 5u + 17 * 3 + 256 * 3 + 21 + 8 * 2 + 10 + 99);
  EXPECT_EQ(keys[0], "PIN_ANALOG1");
  EXPECT_EQ(keys[4], "PIN_ANALOG5");
  EXPECT_EQ(keys[5], "PIN_OUTPUT1");
  EXPECT_EQ(keys[6], "PIN_LOCK1");
  EXPECT_EQ(keys[7], "PIN_TONE1");
  EXPECT_EQ(keys[56], "REG0");
  EXPECT_EQ(keys[57], "PREG0");
  EXPECT_EQ(keys[58], "NVREG0");
  EXPECT_EQ(keys[56 + 3 * 255 + 2], "NVREG255");
  EXPECT_EQ(keys.back(), "LCD_READ99");
  std::map<AnsiString, int> seen;
  for (const auto& k : keys) ++seen[k];
  for (const auto& [k, n] : seen) EXPECT_EQ(n, 1) << k;
  EXPECT_EQ(seen.count("DNS"), 1u);
  EXPECT_EQ(seen.count("LCD_READ0"), 0u);
}

// ---------------------------------------------------------------------------
struct ClassCase {
  const char* key;
  Integer cls;
  std::vector<TzelVar> extra;  // what the classifier adds after the class
  const char* mend;            // why the row differs from the plain table order
};

TEST(KeyClassifier, SortsKeysIntoClasses) {
  const ClassCase cases[] = {
      {"NVREG12", 5, {{"KEY_REG_NUM", "EG"}}, nullptr},
      {"PREG7", 5, {{"KEY_REG_NUM", "G7"}}, nullptr},
      {"REG200", 5, {{"KEY_REG_NUM", "20"}}, nullptr},
      {"REG12", 5, {{"KEY_REG_NUM", "12"}}, nullptr},
      {"UNLOCK", 34, {}, "mended: the class of LOCK no longer takes UNLOCK (was 33)"},
      {"LOCK", 33, {}, nullptr},
      {"EMAIL_TEMPF01", 41, {}, "mended: the class of TEMP no longer takes it (was 29, grade L, _TEMPF01)"},
      {"TEMPC3", 29, {{"KEY_GRADE", "C"}, {"KEY_I2c_TEMP", "3"}}, nullptr},
      {"tempf7", 29, {{"KEY_GRADE", "f"}, {"KEY_I2c_TEMP", "7"}}, nullptr},
      {"DNS", 45, {}, nullptr},
      {"PIN_OUTPUT12", 0, {{"KEY_PIN_NUM", "12"}}, nullptr},
      {"PIN_TONE3", 4, {{"KEY_PIN_NUM", "3"}}, nullptr},
      {"pin_input4", 1, {{"KEY_PIN_NUM", "4"}}, nullptr},
      {"PIN_ANALOG2", 2, {{"KEY_PIN_NUM", "2"}}, nullptr},
      {"PIN_LOCK17", 3, {{"KEY_PIN_NUM", "17"}}, nullptr},
      {"REG1", 5, {{"KEY_REG_NUM", "1"}}, "mended: an optional digit no longer hides the number (was 45)"},
      {"NVREG0", 5, {{"KEY_REG_NUM", "EG"}}, "mended: as REG1 (was 45)"},
      {"PREG2", 5, {{"KEY_REG_NUM", "G2"}}, "mended: as REG1 (was 45)"},
      {"LCD_READ1", 35, {}, "mended: as REG1 (was 45)"},
      {"LCD_READ42", 35, {}, nullptr},
      {"EMAIL_ANALOGH1", 43, {}, "mended: as REG1 (was 45)"},
      {"EMAIL_ANALOGL12", 43, {}, nullptr},
      {"EMAIL_DIGITAL17", 42, {}, nullptr},
      {"EMAIL_DAILY", 40, {}, nullptr},
      {"EMAIL_UART", 44, {}, nullptr},
      {"AIP", 18, {}, nullptr},
      {"IP", 19, {}, nullptr},
      {"IP ", 19, {}, nullptr},
      {"ANMASK", 22, {}, nullptr},
      {"NMASK", 23, {}, nullptr},
      {"SSN", 31, {}, nullptr},
      {"SERIAL_GET", 12, {}, nullptr},
      {"", 45, {}, nullptr},
      {"(X)", 45, {}, nullptr},
  };
  TVormekWebParser parser;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("key «") + c.key + "»" + (c.mend ? std::string(" ") + c.mend : ""));
    EXPECT_EQ(parser.KeyClass(c.key), c.cls);
    TzelVarList attrs;
    attrs.Add("KEY", c.key);
    parser.ClassifyKey(12, attrs);
    TzelVarList expected;
    expected.Add("KEY", c.key);
    expected.Add("KEY_CMD_CLASS", std::to_string(c.cls));
    for (const auto& v : c.extra) expected.Add(v.Name, v.Value);
    EXPECT_EQ(attrs, expected);
  }
}

// Every key the dialogs offer lands in its own class; registers of all three
// kinds share the first register class.
TEST(KeyClassifier, EveryOfferedKeyFindsItsClass) {
  const std::pair<const char*, Integer> prefixes[] = {
      {"PIN_ANALOG", 2}, {"PIN_OUTPUT", 0}, {"PIN_LOCK", 3}, {"PIN_TONE", 4}, {"NVREG", 5},
      {"PREG", 5},       {"REG", 5},        {"TEMPF", 29},   {"TEMPC", 29},   {"LCD_READ", 35},
  };
  TVormekWebParser parser;
  std::map<AnsiString, Integer> exact;
  for (Integer i = 8; i <= 44; ++i) {
    const AnsiString p = kKeyClassPatterns[static_cast<size_t>(i)];
    if (p.find_first_of("[(?") == AnsiString::npos) exact[p] = i;
  }
  exact["DNS"] = 45;
  for (const auto& key : Lines(TVormekWebParser::BuildKeyList())) {
    SCOPED_TRACE(key);
    Integer expected = -1;
    if (auto it = exact.find(key); it != exact.end()) {
      expected = it->second;
    } else {
      for (const auto& [prefix, cls] : prefixes)
        if (rtl::StartsStr(prefix, key)) {
          expected = cls;
          break;
        }
    }
    ASSERT_NE(expected, -1);
    EXPECT_EQ(parser.KeyClass(key), expected);
  }
}

TEST(KeyClassifier, AddsTheKeyOfIfKeyExecAndRead) {
  struct Row {
    Integer type;
    std::vector<TzelVar> in;
    std::vector<TzelVar> out;
  };
  const Row rows[] = {
      // IF KEY names its key "x".
      {8, {{"x", "SSN"}, {"OPT", "0"}, {"n", "abc"}},
       {{"x", "SSN"}, {"OPT", "0"}, {"n", "abc"}, {"KEY", "SSN"}, {"KEY_CMD_CLASS", "31"}}},
      // A present "KEY" (any case) is kept and used.
      {11, {{"Key", "PIN_OUTPUT3"}, {"Value", "1"}},
       {{"Key", "PIN_OUTPUT3"}, {"Value", "1"}, {"KEY_CMD_CLASS", "0"}, {"KEY_PIN_NUM", "3"}}},
      // READ without any key: the empty key is the catch-all class.
      {12, {}, {{"KEY", ""}, {"KEY_CMD_CLASS", "45"}}},
      // Other kinds get nothing without a key ...
      {0, {{"X", "3"}}, {{"X", "3"}}},
      // ... and are classified when they carry one.
      {13, {{"KEY", "ID"}}, {{"KEY", "ID"}, {"KEY_CMD_CLASS", "30"}}},
  };
  TVormekWebParser parser;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.type);
    TzelVarList attrs{r.in};
    parser.ClassifyKey(r.type, attrs);
    EXPECT_EQ(attrs.Vars, r.out);
  }
}

TEST(KeyClassifier, ExpandsOptionalItemsBothWays) {
  struct Row {
    const char* pattern;
    std::vector<AnsiString> variants;
  };
  const Row rows[] = {
      {"REG[0-2]?[0-9][0-9]?", {"REG[0-2][0-9][0-9]", "REG[0-2][0-9]", "REG[0-9][0-9]", "REG[0-9]"}},
      {"EMAIL_ANALOG(H|L)1?[0-9]", {"EMAIL_ANALOG(H|L)1[0-9]", "EMAIL_ANALOG(H|L)[0-9]"}},
      {"SSN", {"SSN"}},
      {"[^()]*", {"[^()]*"}},
      {"(ab)?c", {"(ab)c", "c"}},
      {"\\??x", {"\\?x", "x"}},
      {"[?]?", {"[?]", ""}},
      // Next to an alternation the item stays as written.
      {"a|b?c", {"a|b?c"}},
      {"(a?)b", {"(a?)b"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.pattern);
    EXPECT_EQ(ExpandOptionalItems(r.pattern), r.variants);
  }
}

// ---------------------------------------------------------------------------
TEST(HelpKeyword, FollowsTheKindsTemplate) {
  struct Row {
    const char* text;
    bool internal;
    const char* keyword;
    const char* mend;
  };
  TVormekWebParser parser;
  TzelVarList noOpt{{{"x", "SSN"}, {"n", "1"}}};
  const AnsiString ifKeyWithoutOperator = parser.BuildTag(8, noOpt);
  TzelVarList outOfTable{{{"x", "SSN"}, {"OPT", "9"}, {"n", "1"}}};
  const AnsiString ifKeyOperatorNine = parser.BuildTag(8, outOfTable);
  const Row rows[] = {
      {"<!--(PIN 3)-->", false, "<!--(PIN X)-->", nullptr},
      {"<!--(pin 3 analog)-->", false, "<!--(PIN x ANALOG)-->", nullptr},
      {"<!--(PIN 3 ANALOG*2/4,1)-->", false, "<!--(PIN x ANALOG*a/b+c-d_p)-->", nullptr},
      {"<!--(PIN 3 off/on)-->", false, "<!--(PIN x Itag/htag)-->", nullptr},
      {"<!--(IF PIN 2 > 1.5)-->", false, "<!--(IF PIN X > A)-->", nullptr},
      {"<!--(IF PIN 2 < 1.5)-->", false, "<!--(IF PIN X < A)-->", nullptr},
      {"<!--(IF PIN 2 = 1)-->", false, "<!--(IF PIN X = N)-->", nullptr},
      {"<!--(IF SSN != abc)-->", false, "<!--(IF KEY != A)-->", nullptr},
      {"<!--(IF VER >= 2)-->", false, "<!--(IF KEY >= A)-->", nullptr},
      {"<!--(IF VER 2)-->", false, "<!--(IF KEY > A)-->", nullptr},
      {"<!--(ELSE)-->", false, "<!--(ELSE)-->", nullptr},
      {"<!--(ENDIF)-->", false, "<!--(ENDIF)-->", nullptr},
      {"<!--(EXEC IP=1)-->", false, "<!--(EXEC KEY=VALUE)-->", nullptr},
      {"<!--(READ SSN)-->", false, "<!--(READ KEY)-->", nullptr},
      {"<!--(SERIAL DATA 1 5)-->", false, "<!--(SERIAL DATA x y)-->", nullptr},
      // Kinds without a template, and texts that are no tag.
      {"<!--(PLUG-IN x)-->", false, "", nullptr},
      {"<!--(a note)-->", false, "", nullptr},
      {"<b>", false, "", nullptr},
      {"<!--(PIN 3)-->", true, "", nullptr},
      // The type-6 template has no marks: its keyword ignores the attributes.
      {"<#_zelbe54f7mdl type=\"6\" X=\"9\" OPT=\"5\" />", true, "<!--(IF PIN X = N)-->", nullptr},
      {"<#_ZELBE54F7MDL type=\"7\" OPT=\"5\" />", true, "<!--(IF PIN X > A)-->", nullptr},
      {ifKeyWithoutOperator.c_str(), true, "", "mended: no operator gives no keyword (was a conversion error)"},
      {ifKeyOperatorNine.c_str(), true, "", "an operator outside the table gives no keyword"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string("«") + r.text + "»" + (r.mend ? std::string(" ") + r.mend : ""));
    EXPECT_EQ(parser.TagHelpKeyword(r.text, r.internal), r.keyword);
  }
}

TEST(HelpKeyword, NumbersThatAreNoNumbersRaise) {
  TVormekWebParser parser;
  const char* texts[] = {
      "<#_zelbe54f7mdl />",                                   // no type
      "<#_zelbe54f7mdl type=\"PIN\" />",                      // type is no number
      "<#_zelbe54f7mdl type=\"8\" x=\"ID\" OPT=\"abc\" />",  // operator is no number
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    EXPECT_THROW(parser.TagHelpKeyword(text, true), rtl::EConvertError);
  }
  try {
    parser.TagHelpKeyword("<#_zelbe54f7mdl type=\"8\" x=\"ID\" OPT=\"abc\" />", true);
  } catch (const rtl::EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
  }
}

// ---------------------------------------------------------------------------
TEST(ZelVarList, FindsNamesWithoutRegardToCase) {
  TzelVarList list;
  EXPECT_EQ(list.Count(), 0);
  list.Add("Key", "IP");
  list.Add("KEY", "second");
  list.Add("empty", "");
  list.Add("n", "12");
  list.Add("f", "2.5");
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Value("key"), "IP");  // the first match wins
  EXPECT_TRUE(list.Exists("EMPTY"));   // present with an empty value
  EXPECT_FALSE(list.Exists("absent"));
  EXPECT_EQ(list.Value("absent"), "");
  EXPECT_EQ(list.IntValue("N"), 12);
  EXPECT_DOUBLE_EQ(list.FloatValue("F"), 2.5);
  EXPECT_THROW(list.IntValue("key"), rtl::EConvertError);
  EXPECT_THROW(list.IntValue("absent"), rtl::EConvertError);
  EXPECT_THROW(list.FloatValue("key"), rtl::EConvertError);

  list.Put(0, {"Key", "GW"});
  EXPECT_EQ(list.Items(0).Value, "GW");
  EXPECT_THROW(list.Items(5), rtl::EListError);
  EXPECT_THROW(list.Put(-1, {}), rtl::EListError);
  list.SetCount(7);
  EXPECT_EQ(list.Count(), 7);
  EXPECT_EQ(list.Items(6), TzelVar{});
  list.SetCount(1);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_FALSE(list.Exists("n"));
}

// ---------------------------------------------------------------------------
// A stand-in for the dialog: records what it was shown and fills values.
class FakeDialog {
 public:
  explicit FakeDialog(bool confirm, std::map<AnsiString, AnsiString> answers = {})
      : confirm_(confirm), answers_(std::move(answers)) {
    SetShowTagDialog([this](const AnsiString& title, TcustomTagParams& params) {
      titles.push_back(title);
      shown.push_back(params);
      for (auto& p : params.Params)
        if (auto it = answers_.find(p.Name); it != answers_.end()) p.Value = it->second;
      return confirm_;
    });
  }
  ~FakeDialog() { SetShowTagDialog(nullptr); }

  std::vector<AnsiString> titles;
  std::vector<TcustomTagParams> shown;

 private:
  bool confirm_;
  std::map<AnsiString, AnsiString> answers_;
};

TEST(TagItem, InsertBuildsTheTagFromFilledParameters) {
  TVormekWebParser parser;
  TvormekTagList& list = *parser.VormekTagList();
  {
    // Only X and p: no "*", "/", "+" or "-" part.
    FakeDialog dialog(true, {{"X", "4"}, {"p", "2"}});
    AnsiString tag;
    ASSERT_TRUE(list.Items(2)->InsertTag(parser, tag));
    ASSERT_EQ(dialog.titles.size(), 1u);
    EXPECT_EQ(dialog.titles[0], "Insert Tag PIN X Analog[*a][/b][+c][-d],p");
    // The dialog starts from the defaults.
    EXPECT_EQ(dialog.shown[0].Params[0].Value, "1");
    EXPECT_EQ(dialog.shown[0].Params[5].Value, "0");
    EXPECT_EQ(tag, "<#_zelbe54f7mdl type=\"2\" X=\"4\" p=\"2\" />");
    EXPECT_EQ(parser.EditorToPage(tag), "<!--(PIN 4 ANALOG,2)-->");
  }
  {
    // Kinds without parameters need no dialog.
    FakeDialog dialog(false);
    AnsiString tag;
    ASSERT_TRUE(list.Items(9)->InsertTag(parser, tag));
    EXPECT_EQ(tag, "<#_zelbe54f7mdl type=\"9\" />");
    ASSERT_TRUE(list.Items(10)->InsertTag(parser, tag));
    EXPECT_EQ(parser.EditorToPage(tag), "<!--(ENDIF)-->");
    EXPECT_TRUE(dialog.titles.empty());
  }
  {
    FakeDialog dialog(true, {{"Key", "PIN_OUTPUT3"}, {"Value", "a \"b\" <c>"}});
    AnsiString tag;
    ASSERT_TRUE(list.Items(11)->InsertTag(parser, tag));
    const TzelVarList attrs = parser.ParseTag(tag);
    EXPECT_EQ(attrs.Value("VALUE"), "a \"b\" <c>");
    EXPECT_EQ(attrs.Value("KEY_CMD_CLASS"), "0");
    EXPECT_EQ(attrs.Value("KEY_PIN_NUM"), "3");
    EXPECT_EQ(parser.EditorToPage(tag), "<!--(EXEC PIN_OUTPUT3=a \"b\" <c>)-->");
  }
  {
    FakeDialog dialog(false);
    AnsiString tag = "old";
    EXPECT_FALSE(list.Items(0)->InsertTag(parser, tag));
    EXPECT_EQ(tag, "");
  }
  {
    // Without a dialog nobody can confirm.
    AnsiString tag;
    EXPECT_FALSE(list.Items(0)->InsertTag(parser, tag));
    EXPECT_TRUE(list.Items(9)->InsertTag(parser, tag));
  }
}

TEST(TagItem, EditReadsTheLinesAndRewritesThem) {
  TVormekWebParser parser;
  TvormekTagList& list = *parser.VormekTagList();
  {
    FakeDialog dialog(true);
    rtl::TStringList lines;
    lines.Add("type=\"12\"");
    lines.Add("KEY=\"SSN\"");
    lines.Add("KEY_CMD_CLASS=\"31\"");
    AnsiString tag;
    ASSERT_TRUE(list.EditTag(lines, parser, tag));
    ASSERT_EQ(dialog.shown.size(), 1u);
    EXPECT_EQ(dialog.titles[0], "Edit Tag READ KEY");
    EXPECT_EQ(dialog.shown[0].Params[0].Value, "SSN");  // "Key" found as "KEY"
    EXPECT_EQ(tag, "<#_zelbe54f7mdl type=\"12\" Key=\"SSN\" KEY_CMD_CLASS=\"31\" />");
    EXPECT_EQ(lines.Text(), "Key=\"SSN\"\r\nKEY_CMD_CLASS=\"31\"\r\n");
  }
  {
    // Values arrive as the internal tag holds them (escaped) or bare.
    FakeDialog dialog(true, {{"htag", "on > \"1\""}});
    rtl::TStringList lines;
    lines.Add("type=3");
    lines.Add("X=\"2\"");
    lines.Add("LTAG=\"&lt;off&gt;\"");
    AnsiString tag;
    ASSERT_TRUE(list.EditTag(lines, parser, tag));
    EXPECT_EQ(dialog.shown[0].Params[1].Value, "<off>");
    EXPECT_EQ(parser.EditorToPage(tag), "<!--(PIN 2 <off>/on > \"1\")-->");
    EXPECT_EQ(lines.Text(), "X=\"2\"\r\nltag=\"&lt;off&gt;\"\r\nhtag=\"on &gt; &quot;1&quot;\"\r\n");
  }
  {
    // The plug-in kind has no template; its data stays through an edit.
    FakeDialog dialog(true);
    rtl::TStringList lines;
    lines.Add("type=\"5\"");
    lines.Add("DATA=\"weather &quot;2&quot;\"");
    AnsiString tag;
    ASSERT_TRUE(list.EditTag(lines, parser, tag));
    EXPECT_EQ(dialog.titles[0], "Edit Tag PIN X plug in");
    EXPECT_TRUE(dialog.shown[0].Params.empty());
    EXPECT_EQ(parser.EditorToPage(tag), "<!--(PLUG-IN weather \"2\")-->");
    EXPECT_EQ(lines.Text(), "DATA=\"weather &quot;2&quot;\"\r\n");
  }
  {
    FakeDialog dialog(false);
    rtl::TStringList lines;
    lines.Add("type=0");
    lines.Add("X=3");
    AnsiString tag;
    EXPECT_FALSE(list.EditTag(lines, parser, tag));
    EXPECT_EQ(lines.Count(), 2);
    // Without a "type" line the first kind edits; kinds without items raise.
    rtl::TStringList none;
    EXPECT_FALSE(list.EditTag(none, parser, tag));
    EXPECT_EQ(dialog.titles.back(), "Edit Tag PIN X");
    rtl::TStringList other;
    other.Add("type=13");
    EXPECT_THROW(list.EditTag(other, parser, tag), rtl::EListError);
  }
}

}  // namespace
}  // namespace core
