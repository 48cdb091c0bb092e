// The pattern dialect, case by case: what matches where, what the compiler
// builds and which patterns it rejects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NodeCount.h"
#include "core/KnRegExU.h"
#include "rtl/StringList.h"

namespace core {
namespace {

struct MatchCase {
  const char* pattern;
  bool ignoreCase;
  std::string text;
  bool found;
  Cardinal first;   // 1-based, when found
  Cardinal length;  // when found
};

// Runs one case through the component, as the tag language does.
void ExpectCase(const MatchCase& c) {
  SCOPED_TRACE(std::string("pattern «") + c.pattern + "» text «" + c.text + "» ignoreCase " +
               (c.ignoreCase ? "on" : "off"));
  TKnRegEx re;
  re.SetIgnoreCase(c.ignoreCase);
  re.MatchPattern()->Add(c.pattern);
  TKnMatchPos pos;
  ASSERT_EQ(re.FindMatch(c.text, pos), c.found);
  EXPECT_EQ(pos.LineNumber, 1u);
  if (!c.found) return;
  EXPECT_EQ(pos.FirstIndex, c.first);
  EXPECT_EQ(pos.MatchLength, c.length);
  EXPECT_EQ(pos.LastIndex, c.first + c.length - 1);
}

TEST(KnRegExDialect, AlternationJoinsSingleNodes) {
  const MatchCase cases[] = {
      {"a|bc", false, "c", false, 0, 0},
      {"a|bc", false, "bc", true, 1, 2},
      {"a|bc", false, "xac", true, 2, 2},
      {"ab|cd", false, "acd", true, 1, 3},
      {"ab|cd", false, "abd", true, 1, 3},
      {"ab|cd", false, "cd", false, 0, 0},
      {"a|b|c", false, "xxc", true, 3, 1},
      // The first alternative that matches stays chosen, even when the rest
      // then fails: "(a)" is taken and "c" cannot follow it.
      {"(a)|(ab)c", false, "abc", false, 0, 0},
      {"(a)|(ab)c", false, "ac", true, 1, 2},
      {"(x)|(ab)c", false, "abc", true, 1, 3},
      // A run of alternatives is skipped as a whole after a match.
      {"a|b|cd", false, "ad", true, 1, 2},
      // An alternative may be a repeated item.
      {"x|a*b", false, "aab", true, 1, 3},
      {"x|a*b", false, "xb", true, 1, 2},
      // "|" as the first thing of a level makes the start node the first
      // alternative: it matches the empty text and the next node is skipped.
      {"|b", false, "b", true, 1, 0},
      // A trailing "|" has nothing to offer when its node fails.
      {"ab|", false, "ac", false, 0, 0},
      {"ab|", false, "xab", true, 2, 2},
  };
  for (const auto& c : cases) ExpectCase(c);
}

TEST(KnRegExDialect, OptionalNeverGivesBack) {
  const MatchCase cases[] = {
      {"x?xy", false, "xy", false, 0, 0},
      {"x?xy", false, "xxy", true, 1, 3},
      {"x?y", false, "y", true, 1, 1},
      {"ab?c", false, "ac", true, 1, 2},
      {"ab?c", false, "abc", true, 1, 3},
      {"(ab)?abc", false, "abc", false, 0, 0},
      {"(ab)?c", false, "abc", true, 1, 3},
      // "?" after "?" nests: (a?)? is a?.
      {"a??b", false, "ab", true, 1, 2},
      {"a??b", false, "b", true, 1, 1},
  };
  for (const auto& c : cases) ExpectCase(c);
}

TEST(KnRegExDialect, ClosuresBackOffOneCharacterAtATime) {
  const MatchCase cases[] = {
      {"a*", false, "bbb", true, 1, 0},
      {"a*", false, "aab", true, 1, 2},
      {"ba*", false, "xbaaa", true, 2, 4},
      {"a*ab", false, "aaab", true, 1, 4},
      {"[a-z]*9", false, "abc9x", true, 1, 4},
      {".*c", false, "abcabcx", true, 1, 6},
      // Backing off from a repeated group goes character by character, so
      // the rest can match in the middle of a repetition.
      {"(ab)*b", false, "ab", true, 1, 2},
      {"(abc)*c", false, "abc", true, 1, 3},
      {"(abc)*bc", false, "abcabc", true, 1, 6},
      {"(abc)*ab", false, "abcab", true, 1, 5},
      // "x+" is "x" followed by "x*".
      {"a+", false, "baaa", true, 2, 3},
      {"a+", false, "bbb", false, 0, 0},
      {"(ab)+", false, "xabab", true, 2, 4},
      {"a+ab", false, "aab", true, 1, 3},
      {"a+ab", false, "ab", false, 0, 0},
      // Closure after an optional: (a?)* is a*.
      {"a?*b", false, "aaab", true, 1, 4},
      {"a?+b", false, "b", true, 1, 1},
  };
  for (const auto& c : cases) ExpectCase(c);
}

// A repeated item that can match the empty text stops repeating when an
// iteration does not advance.
TEST(KnRegExDialect, EmptyIterationEndsAClosure) {
  const MatchCase cases[] = {
      {"(a?b?)*", false, "xyz", true, 1, 0},
      {"(a?b?)*c", false, "abbc", true, 1, 4},
      {"(a?b?)*", false, "abab", true, 1, 4},
      {"([a]*)*x", false, "aax", true, 1, 3},
      {"([a]*)+x", false, "x", true, 1, 1},
      {"(a*b*)*c", false, "aabbabc", true, 1, 7},
      {"(()*)*", false, "q", true, 1, 0},
      {"{*}a", false, "a", true, 1, 1},
      {"(a|)*b", false, "aab", true, 1, 3},
  };
  for (const auto& c : cases) ExpectCase(c);
}

TEST(KnRegExDialect, LineBreaksAndLineMarks) {
  const MatchCase cases[] = {
      // Excluding classes and "." never pass a line break.
      {"[^<>#]*", false, "ab\r\ncd", true, 1, 2},
      {"x[^<>#]*y", false, "x\r\ny", false, 0, 0},
      {"x[^<>#]*y", false, "x\ny", false, 0, 0},
      {"x.y", false, "x\ry", false, 0, 0},
      {"[^a]", false, "\r\n", false, 0, 0},
      {"x\\ny", false, "x\r\ny", true, 1, 4},
      {"x\\r\\ly", false, "x\r\ny", true, 1, 4},
      {"x\\ly", false, "x\ny", true, 1, 3},
      // "^" holds only at the text's first position, "$" before CR LF, and
      // the searched copy ends in CR LF.
      {"^a", false, "ab", true, 1, 1},
      {"^b", false, "ab", false, 0, 0},
      {"^b", false, "a\r\nb", false, 0, 0},
      {"a$", false, "ba", true, 2, 1},
      {"a$", false, "ab", false, 0, 0},
      {"a$", false, "a\r\nb", true, 1, 1},
      {"$", false, "ab", true, 3, 0},
      {"^$", false, "", true, 1, 0},
      // The appended CR LF can itself be matched.
      {"b\\n", false, "ab", true, 2, 3},
  };
  for (const auto& c : cases) ExpectCase(c);
}

TEST(KnRegExDialect, ClassesAndEscapes) {
  const MatchCase cases[] = {
      {"[a-]", false, "a", true, 1, 1},
      {"[a-]", false, "-", true, 1, 1},
      {"[a-]", false, "b", false, 0, 0},
      {"[\\-x]", false, "-", true, 1, 1},
      {"[\\-x]", false, "x", true, 1, 1},
      {"[\\-x]", false, "w", false, 0, 0},
      {"[a\\]]", false, "]", true, 1, 1},
      {"[a\\]]", false, "a", true, 1, 1},
      {"[-a]", false, "-", true, 1, 1},
      {"[a-c]", false, "b", true, 1, 1},
      {"[a-c]", false, "-", false, 0, 0},
      {"[0-9]*", false, "x2026", true, 1, 0},
      {"[0-9][0-9]*", false, "x2026", true, 2, 4},
      // Not a range: the first is above the second, or not alphanumeric.
      {"[z-a]", false, "-", true, 1, 1},
      {"[z-a]", false, "m", false, 0, 0},
      {"[!-#]", false, "\"", false, 0, 0},
      {"[!-#]", false, "-", true, 1, 1},
      {"[^]", false, "\r\nq", true, 3, 1},
      {"[^ab]", false, "abc", true, 3, 1},
      // Escapes inside a class.
      {"[\\s]", false, "\tx ", true, 3, 1},
      {"[\\t]", false, "x\t", true, 2, 1},
      {"[\\n]", false, "\nn", true, 2, 1},
      {"[\\w]", false, ";w", true, 2, 1},
      {"[\\r]", false, "x\r\n", true, 2, 1},
      {"[\\l]", false, "x\n", true, 2, 1},
      {"[\\b]", false, "x\b", true, 2, 1},
      // Escapes outside a class.
      {"\\s", false, "a b", true, 2, 1},
      {"\\t", false, "a\tb", true, 2, 1},
      {"\\b", false, "a\bb", true, 2, 1},
      {"\\h\\h", false, "x1F", true, 2, 2},
      {"\\h\\h", false, "x1f", false, 0, 0},
      {"\\h\\h", true, "x1f", true, 2, 2},
      {"a\\wb", false, "a;b", true, 1, 3},
      {"a\\wb", false, "a~b", true, 1, 3},
      {"a\\wb", false, "a_b", false, 0, 0},
      {"\\q\\(\\.", false, "xq(.", true, 2, 3},
      {"a\\", false, "a\\", true, 1, 2},
      // Ordinary characters where no construct can start.
      {"a)", false, "a)", true, 1, 2},
      {"*a", false, "x*a", true, 2, 2},
      {"(*)", false, "*", true, 1, 1},
      {"?", false, "a?", true, 2, 1},
      {"}", false, "}", true, 1, 1},
      {"{a}b", false, "ab", true, 1, 2},
      {"{a}}", false, "a}", true, 1, 2},
      {"()", false, "a", true, 1, 0},
  };
  for (const auto& c : cases) ExpectCase(c);
}

TEST(KnRegExDialect, IgnoreCaseComparesInUpperCase) {
  const MatchCase cases[] = {
      {"pin", true, "PIN", true, 1, 3},
      {"pin", false, "PIN", false, 0, 0},
      {"PIN", true, "a pin", true, 3, 3},
      {"[a-c]", true, "B", true, 1, 1},
      {"[a-c]", false, "B", false, 0, 0},
      {"[A-C]", true, "b", true, 1, 1},
      {"[^a]", true, "Ab", true, 2, 1},
      {"[^a]", false, "Ab", true, 1, 1},
      {"\\a", true, "A", true, 1, 1},
      // Letters only: other characters are compared as they are.
      {"[_]", true, "_", true, 1, 1},
      {"é", true, "É", false, 0, 0},
      {"é", false, "é", true, 1, 2},
  };
  for (const auto& c : cases) ExpectCase(c);
}

// The tag language's own patterns, as that language searches them.
TEST(KnRegExDialect, TagLanguagePatterns) {
  const char* kIfKey = "<\\!--\\(IF (([^!]|(!=)))*)-->";
  const char* kPin = "<\\!--\\(PIN [1-9][0-1]?\\)-->";
  const char* kAnalog =
      "<\\!--\\(PIN [1-9][0-1]? ANALOG([*][0-9.]*)?([/][0-9]*)?([+][0-9.]*)?([-][0-9.]*)?[,][0-9]\\)-->";
  const char* kInternal = "<#_zelbe54f7mdl[^<>#]*/>";
  const MatchCase cases[] = {
      {kIfKey, true, "<!--(IF A=1)--> x <!--(ENDIF)-->", true, 1, 15},
      {kIfKey, true, "<!--(IF SSN != abc)--><!--(ELSE)-->", true, 1, 22},
      {kPin, true, "<!--(PIN 12)-->", false, 0, 0},
      {kPin, true, "x<!--(pin 3)-->", true, 2, 14},
      {kPin, true, "<!--(PIN 10)-->", true, 1, 15},
      {kAnalog, true, "<!--(PIN 3 ANALOG*2.5/4+1-0.5,2)-->", true, 1, 35},
      {kAnalog, true, "<!--(PIN 3 ANALOG,2)-->", true, 1, 23},
      {kInternal, true, "a <#_ZELBE54F7MDL type=\"0\" X=\"3\" /> b", true, 3, 33},
      {kInternal, true, "<#_zelbe54f7mdl type=\"0\"\r\n />", false, 0, 0},
  };
  for (const auto& c : cases) ExpectCase(c);
}

// The key classes: the index of the first pattern found anywhere in the key.
TEST(KnRegExDialect, KeyClassesPickTheFirstHit) {
  const std::vector<std::string> classes = {
      "PIN_OUTPUT[1-9][0-1]?", "PIN_INPUT[1-9][0-1]?", "PIN_ANALOG[1-9][0-1]?", "PIN_LOCK[1-9][0-1]?",
      "PIN_TONE[1-9][0-1]?", "REG[0-2]?[0-9][0-9]?", "PREG[0-2]?[0-9]?[0-9]", "NVREG[0-2]?[0-9][0-9]?",
      "SERIAL_BAUD", "SERIAL_START", "SERIAL_END", "SERIAL_KBHIT", "SERIAL_GET", "SERIAL_SEND",
      "LCD_SEND", "LCD_GOTO", "DHCP", "BOUND", "AIP", "IP", "AGW", "GW", "ANMASK", "NMASK", "HTTP",
      "TFTP", "UDP", "ANNOUNCE", "PLUGIN", "TEMP(F|C)[0-7]", "ID", "SSN", "VER", "LOCK", "UNLOCK",
      "LCD_READ[0-9]?[0-9]", "EMAIL_TO", "EMAIL_FROM", "EMAIL_SUBJECT", "EMAIL_NOW", "EMAIL_DAILY",
      "EMAIL_TEMP(F|C)[0-7][0-7]", "EMAIL_DIGITAL1?7?", "EMAIL_ANALOG(H|L)1?[0-9]", "EMAIL_UART",
      "[^()]*"};
  ASSERT_EQ(classes.size(), 46u);
  struct KeyCase {
    const char* key;
    int expected;
    const char* firstHit;  // the text the winning pattern matched
  };
  const KeyCase cases[] = {
      {"NVREG12", 5, "REG12"},    {"PREG7", 5, "REG7"},      {"REG200", 5, "REG200"},
      {"UNLOCK", 33, "LOCK"},     {"EMAIL_TEMPF01", 29, "TEMPF0"}, {"TEMPC3", 29, "TEMPC3"},
      {"DNS", 45, "DNS"},         {"PIN_OUTPUT12", 0, "PIN_OUTPUT1"}, {"PIN_TONE3", 4, "PIN_TONE3"},
      {"pin_input4", 1, "pin_input4"}, {"SSN", 31, "SSN"},   {"", 45, ""},
      {"(x", 45, ""},             {"LCD_READ42", 35, "LCD_READ42"},
  };
  TKnRegEx re;
  re.SetIgnoreCase(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    int found = -1;
    TKnMatchPos pos;
    for (size_t i = 0; i < classes.size() && found < 0; ++i) {
      re.MatchPattern()->Clear();
      re.MatchPattern()->Add(classes[i]);
      pos = TKnMatchPos{};
      if (re.FindMatch(c.key, pos)) found = static_cast<int>(i);
    }
    EXPECT_EQ(found, c.expected);
    EXPECT_EQ(std::string(c.key).substr(pos.FirstIndex - 1, pos.MatchLength), c.firstHit);
  }
}

TEST(KnRegExDialect, PatternLinesAreTrimmedAndJoined) {
  TKnRegEx re;
  re.MatchPattern()->Add("  \t<a");
  re.MatchPattern()->Add("");
  re.MatchPattern()->Add("b c>\x01  ");
  TKnMatchPos pos;
  ASSERT_TRUE(re.FindMatch("x<ab c>", pos));
  EXPECT_EQ(pos.FirstIndex, 2u);
  EXPECT_EQ(pos.MatchLength, 6u);
}

TEST(KnRegExDialect, FailedSearchKeepsTheIndexes) {
  TKnRegEx re;
  re.MatchPattern()->Add("zz");
  TKnMatchPos pos{7, 8, 9, 5};
  EXPECT_FALSE(re.FindMatch("abc", pos));
  EXPECT_EQ(pos.FirstIndex, 7u);
  EXPECT_EQ(pos.LastIndex, 8u);
  EXPECT_EQ(pos.MatchLength, 0u);
  EXPECT_EQ(pos.LineNumber, 1u);
}

TEST(KnRegExDialect, EmptyMatchHasLastIndexBeforeFirst) {
  TKnRegEx re;
  re.SetIgnoreCase(true);
  re.MatchPattern()->Add("[^()]*");
  TKnMatchPos pos;
  ASSERT_TRUE(re.FindMatch("", pos));
  EXPECT_EQ(pos.FirstIndex, 1u);
  EXPECT_EQ(pos.LastIndex, 0u);
  EXPECT_EQ(pos.MatchLength, 0u);
}

// ---------------------------------------------------------------------------
struct ErrorCase {
  const char* pattern;
  Integer code;
};

TEST(KnRegExErrors, PatternsTheCompilerRejects) {
  const ErrorCase cases[] = {
      {"a**", 294},        {"a+*", 294},       {"a*?", 294},       {"a+?", 294},
      {"^*", 294},         {"$?", 294},        {"^+", 294},        {"x$*", 294},
      {"a*|b", 292},       {"a?|b", 292},      {"a+|b", 292},      {"(ab)*|c", 292},
      {"(ab", 295},        {"((a)", 295},      {"(", 295},         {"a(b|c", 295},
      {"[ab", 291},        {"[", 291},         {"[a\\", 291},      {"[^", 291},
      {"{ab", 296},        {"({a)", 296},      {"{a}{", 296},
      {"(a*)*", 302},      {"(a?)*", 302},     {"(a*)+", 302},     {"(\\s*)*", 302},
      {"(.?)+", 302},      {"(\\]*)*", 302},   {"(\\n*)*", 302},   {"(**)*", 302},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    TKnRegEx re;
    re.MatchPattern()->Add(c.pattern);
    TKnMatchPos pos;
    try {
      re.FindMatch("abc", pos);
      ADD_FAILURE() << "no error";
    } catch (const EKnRegExError& e) {
      EXPECT_EQ(e.ErrorCode(), c.code);
      EXPECT_EQ(e.Message(), KnErrorMessage(c.code));
      EXPECT_STREQ(e.ClassName(), "EKnRegExError");
    }
  }
}

TEST(KnRegExErrors, NearMissesCompile) {
  // Each looks like an error case above but is accepted.
  const char* patterns[] = {"a?*", "a??", "a?+", "(a*)?", "(a*)", "([a]*)*", "(ab*)*",
                            "a*b*", "a|*b", "()*", "(\\*)*", "(a\\*)+", "*", "**",
                            "a{b}", "}{a}", "{{a}", "[]", "[^]"};
  for (const char* p : patterns) {
    SCOPED_TRACE(p);
    TKnRegEx re;
    re.MatchPattern()->Add(p);
    TKnMatchPos pos;
    EXPECT_NO_THROW(re.FindMatch("aab", pos));
  }
}

TEST(KnRegExErrors, EmptyPatternIsError297) {
  const std::vector<std::vector<std::string>> patterns = {{}, {""}, {"  ", "\t"}};
  for (const auto& lines : patterns) {
    TKnRegEx re;
    for (const auto& l : lines) re.MatchPattern()->Add(l);
    TKnMatchPos pos;
    try {
      re.FindMatch("abc", pos);
      ADD_FAILURE() << "no error";
    } catch (const EKnRegExError& e) {
      EXPECT_EQ(e.ErrorCode(), 297);
      EXPECT_EQ(e.Message(), "No Match, Replace, or SelAvoid Patterns defined");
    }
  }
}

TEST(KnRegExErrors, StringTable) {
  const struct {
    Integer code;
    const char* message;
  } table[] = {
      {290, "Unknown error creating a pattern token"},
      {291, "Problem in expanding character class"},
      {292, "Alternation cannot immediately follow a closure marker"},
      {293, "Unbalanced nesting parentheses"},
      {294, "Closure cannot immediately follow BegOfLine, EndOfLine or another closure"},
      {295, "Error detected near end of pattern"},
      {296, "Unbalanced tag marker"},
      {297, "No Match, Replace, or SelAvoid Patterns defined"},
      {302, "A * or + operand could be empty"},
  };
  for (const auto& row : table) {
    EXPECT_EQ(KnErrorMessage(row.code), row.message);
    EKnRegExError e(row.code);
    EXPECT_EQ(e.ErrorCode(), row.code);
    EXPECT_EQ(e.Message(), row.message);
  }
  EXPECT_EQ(KnErrorMessage(298), "");
  const EKnExprError expr("bad", 300, 7);
  EXPECT_EQ(expr.ErrorColumn(), 7);
  EXPECT_STREQ(expr.ClassName(), "EKnExprError");
  const EKnBufStreamError stream(299);
  EXPECT_STREQ(stream.ClassName(), "EKnBufStreamError");
  // Every engine error is an rtl exception.
  const rtl::Exception& base = stream;
  EXPECT_STREQ(base.ClassName(), "EKnBufStreamError");
}

// A class is at most 255 characters long.
TEST(KnRegExErrors, OversizedClass) {
  TKnStreamRegEx engine;
  std::string members(255, 'x');
  EXPECT_NO_THROW(engine.Compile("[" + members + "]"));
  try {
    engine.Compile("[" + members + "y]");
    ADD_FAILURE() << "no error";
  } catch (const EKnRegExError& e) {
    EXPECT_EQ(e.ErrorCode(), 291);
  }
  // With ignore case the members are upper-cased and each kept once.
  engine.SetIgnoreCase(true);
  EXPECT_NO_THROW(engine.Compile("[" + members + "y]"));
  EXPECT_EQ(engine.Pattern()->Next->Members, "XY");
}

// ---------------------------------------------------------------------------
// The compiled list, node by node.
std::string Dump(const TKnNode* n) {
  std::string out;
  for (; n; n = n->Next) {
    switch (n->Kind) {
      case TKnNodeKind::nkStart: out += "S"; break;
      case TKnNodeKind::nkChar: out += n->Ch; break;
      case TKnNodeKind::nkClass: out += "[" + n->Members + "]"; break;
      case TKnNodeKind::nkNClass: out += "[^" + n->Members + "]"; break;
      case TKnNodeKind::nkClosure: out += "*"; break;
      case TKnNodeKind::nkOptional: out += "?"; break;
      case TKnNodeKind::nkAny: out += "."; break;
      case TKnNodeKind::nkBOL: out += "^"; break;
      case TKnNodeKind::nkEOL: out += "$"; break;
      case TKnNodeKind::nkGroup: out += "(" + Dump(n->Group) + ")"; break;
      case TKnNodeKind::nkTagStart: out += "{"; break;
      case TKnNodeKind::nkTagEnd: out += "}"; break;
    }
    if (n->Alternative) out += "|";
  }
  return out;
}

TEST(KnRegExCompile, NodeLists) {
  const struct {
    const char* pattern;
    bool ignoreCase;
    const char* nodes;
  } cases[] = {
      {"ab", false, "Sab"},
      {"a*", false, "S*a"},
      {"ba?", false, "Sb?a"},
      {"x+", false, "Sx*x"},
      {"(ab)+c", false, "S(Sab)*(Sab)c"},
      {"a?+", false, "S?a*?a"},
      {"ab|cd", false, "Sab|cd"},
      {"|a", false, "S|a"},
      {"[a-dx]", false, "S[abcdx]"},
      {"[^a-c]", true, "S[^ABC]"},
      {"[aAbB]", true, "S[AB]"},
      {"\\h", false, "S[0123456789ABCDEF]"},
      {"\\w", false, "S[\t !\"&()*+,-./:;<=>?@[]\\^`{}|~]"},
      {"\\n", false, "S\r\n"},
      {"pIn", true, "SPIN"},
      {"^.$", false, "S^.$"},
      {"{a}", false, "S{a}"},
      {"*)", false, "S*)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    TKnStreamRegEx engine;
    engine.SetIgnoreCase(c.ignoreCase);
    engine.Compile(c.pattern);
    EXPECT_EQ(Dump(engine.Pattern()), c.nodes);
  }
  // "\w" holds 29 separators.
  TKnStreamRegEx engine;
  engine.Compile("\\w");
  EXPECT_EQ(engine.Pattern()->Next->Members.size(), 29u);
}

TEST(KnRegExCompile, NodesAreRecycled) {
  TKnStreamRegEx engine;
  engine.Compile("(ab|c)*[x-z]+d");
  const size_t made = engine.NodeHeap().AllocatedCount();
  EXPECT_EQ(made, CountNodes(engine.Pattern()));
  EXPECT_EQ(engine.NodeHeap().FreeCount(), 0u);
  for (int i = 0; i < 10; ++i) engine.Compile("(ab|c)*[x-z]+d");
  EXPECT_EQ(engine.NodeHeap().AllocatedCount(), made);
  // A failed compilation gives back what it had built.
  for (const char* bad : {"(ab|c)*[x-z]+d(", "ab(c[d", "{ab(cd)", "(ab)*|"}) {
    EXPECT_THROW(engine.Compile(bad), EKnRegExError);
    EXPECT_EQ(engine.Pattern(), nullptr);
    EXPECT_EQ(engine.NodeHeap().FreeCount(), engine.NodeHeap().AllocatedCount()) << bad;
  }
  const size_t peak = engine.NodeHeap().AllocatedCount();
  EXPECT_GE(peak, made);
  engine.Compile("ab");
  EXPECT_EQ(engine.NodeHeap().AllocatedCount(), peak);
  EXPECT_EQ(engine.NodeHeap().FreeCount(), peak - 3);
}

TEST(KnRegExCompile, HeapCopiesNodesWithGroupContents) {
  TKnStreamRegEx engine;
  engine.Compile("x(a[bc](d))y");
  TKnNodeHeap& heap = engine.NodeHeap();
  const TKnNode* group = engine.Pattern()->Next->Next;
  ASSERT_EQ(group->Kind, TKnNodeKind::nkGroup);
  TKnNode* copy = heap.CopyNode(group);
  EXPECT_EQ(copy->Next, nullptr);
  EXPECT_NE(copy->Group, group->Group);
  EXPECT_EQ(Dump(copy), "(Sa[bc](Sd))");
  TKnNode* list = heap.CopyList(engine.Pattern());
  EXPECT_EQ(Dump(list), Dump(engine.Pattern()));
  EXPECT_TRUE(list->Next->Next->Group->Next->Next->HasMember('c'));
  const size_t before = heap.FreeCount();
  heap.FreeNode(copy);
  EXPECT_EQ(heap.FreeCount(), before + 7);
  heap.FreeList(list);
  EXPECT_EQ(heap.FreeCount(), before + 7 + CountNodes(engine.Pattern()));
}

TEST(KnRegExComponent, Defaults) {
  TKnRegEx re;
  EXPECT_EQ(re.Version(), "4.03");
  EXPECT_FALSE(re.Avoid());
  EXPECT_FALSE(re.IgnoreCase());
  EXPECT_FALSE(re.LineNumbers());
  EXPECT_TRUE(re.OutputOptions().Empty());
  EXPECT_EQ(re.InLineTerminator(), TKnLineTerminator::ltCRLF);
  EXPECT_EQ(re.InLineTermChar(), 10);
  EXPECT_EQ(re.InFixedLineLength(), 80);
  EXPECT_EQ(re.OutLineTerminator(), TKnLineTerminator::ltCRLF);
  EXPECT_EQ(re.OutLineTermChar(), 10);
  EXPECT_EQ(re.OutFixedLineLength(), 80);
  EXPECT_EQ(re.MatchPattern()->Count(), 0);
  EXPECT_EQ(re.SelAvoidPattern()->Count(), 0);
  EXPECT_EQ(re.ReplacePattern()->Count(), 0);
  EXPECT_EQ(re.InputFile(), "");
  EXPECT_EQ(re.OutputFile(), "");
  EXPECT_FALSE(re.OnMatch);
  EXPECT_FALSE(re.OnProgress);

  rtl::TStringList lines;
  lines.Add("a");
  lines.Add("b");
  re.SetMatchPattern(lines);
  lines.Clear();
  EXPECT_EQ(re.MatchPattern()->Count(), 2);
  TKnMatchPos pos;
  ASSERT_TRUE(re.FindMatch("xab", pos));
  EXPECT_EQ(pos.FirstIndex, 2u);
}

// The component compiles at every search, so a changed pattern or option
// takes effect at once.
TEST(KnRegExComponent, EverySearchCompilesAgain) {
  TKnRegEx re;
  re.MatchPattern()->Add("ab");
  TKnMatchPos pos;
  EXPECT_FALSE(re.FindMatch("AB", pos));
  re.SetIgnoreCase(true);
  EXPECT_TRUE(re.FindMatch("AB", pos));
  re.MatchPattern()->Clear();
  re.MatchPattern()->Add("(");
  EXPECT_THROW(re.FindMatch("AB", pos), EKnRegExError);
  re.MatchPattern()->Clear();
  re.MatchPattern()->Add("b");
  EXPECT_TRUE(re.FindMatch("AB", pos));
  EXPECT_EQ(pos.FirstIndex, 2u);
}

}  // namespace
}  // namespace core
