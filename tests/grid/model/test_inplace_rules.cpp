// The in-place editor's rules as tables: typed characters per editor
// type, paste merging and filtering, lookup completion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/model/GridEnvironment.h"
#include "grid/model/InplaceRules.h"

using namespace grid;

namespace {

constexpr TCharVerdict P = TCharVerdict::cvPass, R = TCharVerdict::cvRefuse, I = TCharVerdict::cvIgnore;

struct CharCase {
  TEditorType editor;
  const char* text;
  Integer selStart;
  Integer selLength;
  unsigned char ch;
  TCharVerdict verdict;
  unsigned char shown;
};

void RunCharCases(const std::vector<CharCase>& cases, char decimal, char thousand) {
  for (const CharCase& k : cases) {
    TCharRuleInput in;
    in.Editor = k.editor;
    in.Text = k.text;
    in.SelStart = k.selStart;
    in.SelLength = k.selLength;
    in.Char = k.ch;
    in.DecimalSeparator = decimal;
    in.ThousandSeparator = thousand;
    const TCharRule r = ApplyCharRule(in);
    EXPECT_EQ(r.Verdict, k.verdict) << static_cast<int>(k.editor) << " '" << k.text << "' + " << int(k.ch);
    if (k.verdict == P) EXPECT_EQ(r.Char, k.shown) << static_cast<int>(k.editor) << " " << int(k.ch);
  }
}

}  // namespace

TEST(GridInplaceRules, TypedCharactersByEditorType) {
  RunCharCases(
      {
          {edNormal, "x", 1, 0, '!', P, '!'},
          {edPassword, "", 0, 0, 'a', P, 'a'},
          // edNumeric: '-' only at position 0 and once.
          {edNumeric, "", 0, 0, '-', P, '-'},
          {edNumeric, "5", 0, 0, '-', P, '-'},
          {edNumeric, "-5", 0, 0, '-', R, 0},
          {edNumeric, "5", 1, 0, '-', R, 0},
          {edNumeric, "5", 1, 0, '7', P, '7'},
          {edNumeric, "5", 1, 0, 'a', R, 0},
          {edNumeric, "5", 1, 0, '.', R, 0},
          {edNumeric, "5", 1, 0, 8, P, 8},
          {edNumeric, "5", 1, 0, 9, P, 9},
          {edNumeric, "5", 1, 0, 13, P, 13},
          {edNumeric, "5", 1, 0, 27, P, 27},
          // edPositiveNumeric: no sign at all.
          {edPositiveNumeric, "", 0, 0, '-', R, 0},
          {edPositiveNumeric, "1", 1, 0, '2', P, '2'},
          {edPositiveNumeric, "1", 1, 0, '+', R, 0},
          // Case types.
          {edCapital, "", 0, 0, 'a', P, 'A'},
          {edUpperCase, "", 0, 0, 'z', P, 'Z'},
          {edLowerCase, "", 0, 0, 'Q', P, 'q'},
          {edMixedCase, "", 0, 0, 'q', P, 'q'},
          // Types without a text editor take nothing.
          {edSpinEdit, "", 0, 0, '1', I, 0},
          {edComboList, "", 0, 0, 'a', I, 0},
      },
      '.', ',');
}

TEST(GridInplaceRules, FloatSeparatorsUnderBothLocales) {
  // '.' decimal, ',' thousands.
  RunCharCases(
      {
          {edFloat, "1", 1, 0, '.', P, '.'},
          {edFloat, "1.5", 3, 0, '.', I, 0},
          {edFloat, "1.5", 1, 1, '.', P, '.'},  // the selection covers the '.'
          {edFloat, "1.5", 3, 0, ',', I, 0},    // thousands: silently dropped
          {edFloat, "", 0, 0, '-', P, '-'},
          {edFloat, "1", 1, 0, '-', R, 0},
          {edFloat, "-1", 0, 0, '-', R, 0},
          {edFloat, "-1", 0, 1, '-', P, '-'},  // the selection holds the '-'
          {edFloat, "1", 1, 0, 'e', I, 0},
          {edFloat, "1", 1, 0, '9', P, '9'},
      },
      '.', ',');
  // ',' decimal, '.' thousands.
  RunCharCases(
      {
          {edFloat, "1", 1, 0, ',', P, ','},
          {edFloat, "1,5", 3, 0, ',', I, 0},
          {edFloat, "1,5", 0, 3, ',', P, ','},
          {edFloat, "1,5", 3, 0, '.', I, 0},
      },
      ',', '.');
  // Ctrl lets any other character through.
  TCharRuleInput in;
  in.Editor = edFloat;
  in.Char = 'v';
  in.Ctrl = true;
  EXPECT_EQ(ApplyCharRule(in).Verdict, P);
}

TEST(GridInplaceRules, ValidCharsLimitsAndLineBreaks) {
  TCharRuleInput in;
  in.Editor = edValidChars;
  in.ValidChars = "ABC";
  const struct {
    unsigned char ch;
    TCharVerdict verdict;
  } valid[] = {{'A', P}, {'C', P}, {'a', R}, {'D', R}, {9, R}, {27, R}, {8, P}, {13, P}};
  for (const auto& k : valid) {
    in.Char = k.ch;
    EXPECT_EQ(ApplyCharRule(in).Verdict, k.verdict) << int(k.ch);
  }
  // An empty ValidChars uses the grid's set.
  in.ValidChars.clear();
  in.ValidSet.set('x');
  in.Char = 'x';
  EXPECT_EQ(ApplyCharRule(in).Verdict, P);
  in.Char = 'y';
  EXPECT_EQ(ApplyCharRule(in).Verdict, R);

  // LengthLimit 5 with five characters and no selection: letters dropped,
  // Backspace passes; with a selection letters pass.
  TCharRuleInput full;
  full.Text = "abcde";
  full.SelStart = 5;
  full.LengthLimit = 5;
  full.Char = 'f';
  EXPECT_EQ(ApplyCharRule(full).Verdict, I);
  full.Char = 8;
  EXPECT_EQ(ApplyCharRule(full).Verdict, P);
  full.Char = 'f';
  full.SelStart = 0;
  full.SelLength = 1;
  EXPECT_EQ(ApplyCharRule(full).Verdict, P);

  // Enter with LineFeedOnEnter: a line break in the text types only.
  TCharRuleInput enter;
  enter.Char = 13;
  enter.LineFeedOnEnter = true;
  EXPECT_TRUE(ApplyCharRule(enter).LineBreak);
  enter.Editor = edNumeric;
  EXPECT_FALSE(ApplyCharRule(enter).LineBreak);
  // Mixed case asks for the whole text afterwards.
  TCharRuleInput mixed;
  mixed.Editor = edMixedCase;
  mixed.Char = 'a';
  EXPECT_TRUE(ApplyCharRule(mixed).MixedCaseAfter);
}

TEST(GridInplaceRules, PasteMergesAndFiltersByType) {
  FixedLocaleSettings us;
  ScopedLocale scope(us);
  struct Case {
    TEditorType editor;
    const char* text;
    Integer selStart, selLength;
    const char* pasted;
    Integer limit;
    bool merged;
    const char* result;
    Integer resultStart, resultLength;
  };
  const Case cases[] = {
      // Inserted at the caret, the caret after it.
      {edNormal, "abcd", 2, 0, "XY", 0, true, "abXYcd", 4, 0},
      // Replacing a selection, the pasted text selected.
      {edNormal, "abcd", 1, 2, "XY", 0, true, "aXYd", 1, 2},
      // One line break at the end is dropped; inner ones stay.
      {edNormal, "", 0, 0, "line\r\n", 0, true, "line", 4, 0},
      {edNormal, "", 0, 0, "a\r\nb\r\n", 0, true, "a\r\nb\r\n", 6, 0},
      // Limits: the pasted text, then the merged text.
      {edNormal, "", 0, 0, "abcdef", 5, false, "", 0, 0},
      {edNormal, "abc", 3, 0, "def", 5, false, "abc", 3, 0},
      // edNumeric takes integers, signs included.
      {edNumeric, "", 0, 0, "-12", 0, true, "-12", 3, 0},
      {edNumeric, "", 0, 0, "1.5", 0, true, "", 0, 0},
      // edPositiveNumeric takes digits only: no sign.
      {edPositiveNumeric, "", 0, 0, "-12", 0, true, "", 0, 0},
      {edPositiveNumeric, "1", 1, 0, "23", 0, true, "123", 3, 0},
      {edPositiveNumeric, "1", 1, 0, "+2", 0, true, "1", 1, 0},
      // edFloat takes integers and floats.
      {edFloat, "1", 1, 0, ".25", 0, true, "1.25", 4, 0},
      {edFloat, "1", 1, 0, "x", 0, true, "1", 1, 0},
      // Case types.
      {edUpperCase, "ab", 2, 0, "cd", 0, true, "ABCD", 4, 0},
      {edLowerCase, "AB", 2, 0, "CD", 0, true, "abcd", 4, 0},
      {edCapital, "ab", 2, 0, "cd", 0, true, "abcd", 4, 0},
      // edValidChars: every character must be valid.
      {edValidChars, "A", 1, 0, "BC", 0, true, "ABC", 3, 0},
      {edValidChars, "A", 1, 0, "BD", 0, true, "A", 1, 0},
  };
  for (const Case& k : cases) {
    TPasteInput in;
    in.Editor = k.editor;
    in.Text = k.text;
    in.SelStart = k.selStart;
    in.SelLength = k.selLength;
    in.Pasted = k.pasted;
    in.LengthLimit = k.limit;
    in.ValidChars = "ABC";
    const TPasteResult r = ApplyPaste(in);
    SCOPED_TRACE(std::string(k.text) + " + " + k.pasted);
    EXPECT_EQ(r.Merged, k.merged);
    EXPECT_EQ(r.Text, k.result);
    if (r.Text != k.text) {
      EXPECT_EQ(r.SelStart, k.resultStart);
      EXPECT_EQ(r.SelLength, k.resultLength);
    }
  }
  // Mixed case of the merged text.
  TPasteInput mixed;
  mixed.Editor = edMixedCase;
  mixed.Pasted = "hello world";
  EXPECT_EQ(ApplyPaste(mixed).Text, "Hello World");
}

TEST(GridInplaceRules, LookupCompletion) {
  const std::vector<AnsiString> items = {"Apple", "Apricot", "banana"};
  struct Case {
    const char* text;
    Integer caret;
    bool sensitive;
    bool completed;
    const char* result;
    Integer selStart, selLength;
  };
  const Case cases[] = {
      {"a", 1, false, true, "apple", 1, 4},
      {"Apr", 3, false, true, "Apricot", 3, 4},
      {"B", 1, false, true, "Banana", 1, 5},
      {"B", 1, true, false, "B", 0, 0},
      {"a", 1, true, false, "a", 0, 0},
      {"", 0, false, false, "", 0, 0},
      {"x", 1, false, false, "x", 0, 0},
      // Only the text up to the caret counts.
      {"apZZ", 2, false, true, "apple", 2, 3},
  };
  for (const Case& k : cases) {
    const TLookupCompletion r = CompleteFromLookup(k.text, k.caret, items, k.sensitive);
    SCOPED_TRACE(k.text);
    EXPECT_EQ(r.Completed, k.completed);
    EXPECT_EQ(r.Text, k.result);
    if (k.completed) {
      EXPECT_EQ(r.SelStart, k.selStart);
      EXPECT_EQ(r.SelLength, k.selLength);
    }
  }
  // At most 255 characters of an item are taken.
  const std::vector<AnsiString> longItems = {"a" + std::string(400, 'b')};
  EXPECT_EQ(CompleteFromLookup("a", 1, longItems, false).Text.size(), 256u);
}
