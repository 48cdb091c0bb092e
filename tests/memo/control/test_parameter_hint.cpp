// The parameter hint's decision: the call typed left of the caret, the
// pattern that describes it, the pattern cut at the caret's parameter, and
// an editor asking its styler and its handler.
#include <gtest/gtest.h>

#include <optional>

#include "MemoTestSupport.h"
#include "memo/LumMemoStyler.h"
#include "memo/ParameterHint.h"
#include "vcl/TestCanvases.h"

using namespace memotest;

namespace {

struct PhCallCase {
  const char* line;
  Integer column;
  const char* name;  // nullptr: no call
  Integer index;
};

void PhExpectCalls(const THintParameter& hp, std::initializer_list<PhCallCase> cases) {
  for (const PhCallCase& c : cases) {
    SCOPED_TRACE(std::string(c.line) + " @" + std::to_string(c.column));
    const std::optional<TCallAtCaret> call = FindCallAtCaret(c.line, c.column, hp);
    if (!c.name) {
      EXPECT_FALSE(call.has_value()) << call->Name;
      continue;
    }
    ASSERT_TRUE(call.has_value());
    EXPECT_EQ(call->Name, c.name);
    EXPECT_EQ(call->ParameterIndex, c.index);
  }
}

// A styler of a small language whose calls the hint knows.
TLumCustomMemoStyler* PhCallStyler(vcl::TComponent* owner) {
  auto* s = new TLumCustomMemoStyler(owner);
  s->HintParameter()->Parameters()->Add("MaxInt(Value: Integer)");
  s->HintParameter()->Parameters()->Add("Max(A: Integer, B: Integer): Integer");
  s->HintParameter()->Parameters()->Add("Copy(S: string; Index, Count: Integer)");
  return s;
}

// Bold measures 10 a character, plain 8.
class PhBoldWiderCanvas : public vcl::TRecordingCanvas {
 public:
  vcl::TSize TextExtent(const AnsiString& text) override {
    vcl::TSize size = TRecordingCanvas::TextExtent(text);
    if (Font()->Style().Contains(vcl::fsBold)) size.cx = vcl::CharacterCount(text) * 10;
    return size;
  }
};

}  // namespace

TEST(MemoParameterHint, DefinitionsAfterConstructionAndAssign) {
  TLumCustomMemoStyler s(nullptr);
  THintParameter* hp = s.HintParameter();
  EXPECT_EQ(hp->TextColor, vcl::clBlack);
  EXPECT_EQ(hp->BkColor, static_cast<vcl::TColor>(0xFF000018));
  EXPECT_EQ(hp->HintCharStart, "(");
  EXPECT_EQ(hp->HintCharEnd, ")");
  EXPECT_EQ(hp->HintCharDelimiter, ";");
  EXPECT_EQ(hp->HintCharWriteDelimiter, ",");
  EXPECT_EQ(hp->Parameters()->Count(), 0);

  THintParameter other;
  other.TextColor = vcl::clNavy;
  other.BkColor = vcl::clWhite;
  other.HintCharStart = "[";
  other.HintCharEnd = "]";
  other.HintCharDelimiter = "|";
  other.HintCharWriteDelimiter = ";";
  other.Parameters()->Add("At[i; j]");
  s.SetHintParameter(&other);
  other.Parameters()->Clear();  // the styler keeps its own copy
  EXPECT_EQ(hp->TextColor, vcl::clNavy);
  EXPECT_EQ(hp->BkColor, vcl::clWhite);
  EXPECT_EQ(hp->HintCharStart + hp->HintCharEnd + hp->HintCharDelimiter + hp->HintCharWriteDelimiter, "[]|;");
  ASSERT_EQ(hp->Parameters()->Count(), 1);
  EXPECT_EQ(hp->Parameters()->Strings(0), "At[i; j]");
}

TEST(MemoParameterHint, CallLeftOfTheCaret) {
  THintParameter hp;
  PhExpectCalls(hp, {
                        {"x := Max(a, b", 13, "Max", 1},
                        {"x := Max(a, b", 10, "Max", 0},
                        {"x := Max(", 9, "Max", 0},
                        {"x := Max(a, b", 500, "Max", 1},  // a column past the end counts from the end
                        {"Max(a, b)", 8, "Max", 1},
                        {"Max(a, b)", 9, nullptr, 0},      // past ")": the call is closed
                        {"Max(Min(a), ", 12, nullptr, 0},  // a ")" between the caret and the nearest "("
                        {"Max(a", 3, nullptr, 0},          // left of the bracket
                        {"Max (a", 6, "Max", 0},           // blanks between name and bracket
                        {"Foo(a, Max(b, ", 14, "Max", 1},  // the inner call's name stops at the comma
                        {"(a, b", 5, nullptr, 0},          // no name
                        {"a, b", 4, nullptr, 0},           // no bracket
                        {"", 0, nullptr, 0},
                        {"Max(a,    b", 11, "Max", 1},     // four blanks in a row
                        {"Max(a,     b", 12, nullptr, 0},  // five give up
                        {"Max(a, b, c, d, e, f", 20, "Max", 5},
                        {"Größe(ä, ö", 10, "Größe", 1},  // columns count characters
                        {"Größe(ä, ö", 7, "Größe", 0},
                    });

  THintParameter brackets;
  brackets.HintCharStart = "[";
  brackets.HintCharEnd = "]";
  brackets.HintCharWriteDelimiter = ";";
  PhExpectCalls(brackets, {
                              {"v := arr[1; 2", 13, "arr", 1},
                              {"v := arr(1, 2", 13, nullptr, 0},
                              {"v := arr[1] ; 2", 15, nullptr, 0},
                          });
}

TEST(MemoParameterHint, PatternByName) {
  THintParameter hp;
  hp.Parameters()->Add("MaxInt(Value: Integer)");
  hp.Parameters()->Add("Max(A: Integer, B: Integer): Integer");
  hp.Parameters()->Add("  min (x, y)");
  hp.Parameters()->Add("NoBrackets");
  struct Row {
    const char* name;
    bool caseSensitive;
    const char* pattern;
  } rows[] = {
      {"Max", false, "Max(A: Integer, B: Integer): Integer"},  // not MaxInt, which only begins with it
      {"MAX", false, "Max(A: Integer, B: Integer): Integer"},
      {"MAX", true, ""},
      {"MaxInt", true, "MaxInt(Value: Integer)"},
      {"MIN", false, "  min (x, y)"},
      {"min", true, "  min (x, y)"},
      {"Ma", false, ""},
      {"nobrackets", false, "NoBrackets"},
      {"", false, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.name) + (r.caseSensitive ? " sensitive" : ""));
    EXPECT_EQ(FindParameterPattern(hp, r.name, r.caseSensitive), r.pattern);
  }
}

TEST(MemoParameterHint, PatternCutAtTheParameter) {
  THintParameter hp;
  struct Row {
    const char* pattern;
    Integer index;
    const char* before;
    const char* current;
    const char* after;
    THintBold bold;
  } rows[] = {
      {"Max(A: Integer, B: Integer): Integer", 0, "", "A: Integer", ", B: Integer", hbMiddle},
      {"Max(A: Integer, B: Integer): Integer", 1, "A: Integer, ", "B: Integer", "", hbMiddle},
      // Past the last parameter nothing is the caret's: the list stays plain.
      {"Max(A: Integer, B: Integer): Integer", 2, "A: Integer, B: Integer", "", "", hbNone},
      {"Copy(S: string; Index, Count: Integer)", 1, "S: string; ", "Index", ", Count: Integer", hbMiddle},
      {"Copy(S: string; Index, Count: Integer)", 2, "S: string; Index, ", "Count: Integer", "", hbMiddle},
      {"Now()", 0, "", "", "", hbNone},
      {"Open( Name ,Mode )", 1, " Name ,", "Mode", " ", hbMiddle},
      {"Trunc(X: Real", 0, "", "X: Real", "", hbMiddle},  // no end: the rest is the list
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.pattern) + " #" + std::to_string(r.index));
    const TParameterHintText t = SplitParameterHint(r.pattern, r.index, hp);
    EXPECT_EQ(t.Before, r.before);
    EXPECT_EQ(t.Current, r.current);
    EXPECT_EQ(t.After, r.after);
    EXPECT_EQ(t.Bold, r.bold);
    EXPECT_EQ(t.BoldPart(), r.bold == hbMiddle ? AnsiString(r.current) : AnsiString());
  }
}

TEST(MemoParameterHint, EditorAsksItsStylerAndHandler) {
  MemoOnForm f;
  SetText(f.memo, {"x := max(1, ", "y := Copy(s, 1, 2)", "z := nothing(1, "});
  f.memo->SetCaret(12, 0);
  EXPECT_FALSE(f.memo->ParameterHintAtCaret().has_value());  // no styler

  f.memo->SetSyntaxStyles(PhCallStyler(f.form));
  std::optional<TParameterHintText> hint = f.memo->ParameterHintAtCaret();
  ASSERT_TRUE(hint.has_value());
  EXPECT_EQ(hint->Plain(), "A: Integer, B: Integer");
  EXPECT_EQ(hint->BoldPart(), "B: Integer");

  f.memo->SetCaseSensitive(true);
  EXPECT_FALSE(f.memo->ParameterHintAtCaret().has_value());  // "max" is not "Max" now
  f.memo->SetCaseSensitive(false);

  // A call writes "," where the pattern may group with ";": both separate.
  f.memo->SetCaret(13, 1);
  hint = f.memo->ParameterHintAtCaret();
  ASSERT_TRUE(hint.has_value());
  EXPECT_EQ(hint->BoldPart(), "Index");
  f.memo->SetCaret(18, 1);
  EXPECT_FALSE(f.memo->ParameterHintAtCaret().has_value());  // past ")"

  // A handler sees the name folded as the patterns are compared, and may
  // answer for a name the styler does not know or leave it to the styler.
  std::vector<AnsiString> asked;
  f.memo->OnGetParameterHint = [&](vcl::TObject* sender, const AnsiString& token, AnsiString& hintText,
                                   bool& handled) {
    EXPECT_EQ(sender, f.memo);
    asked.push_back(token);
    if (token == "NOTHING") {
      hintText = "nothing(First, Second)";
      handled = true;
    }
  };
  f.memo->SetCaret(16, 2);
  hint = f.memo->ParameterHintAtCaret();
  ASSERT_TRUE(hint.has_value());
  EXPECT_EQ(hint->BoldPart(), "Second");
  f.memo->SetCaret(12, 0);
  hint = f.memo->ParameterHintAtCaret();
  ASSERT_TRUE(hint.has_value());
  EXPECT_EQ(hint->BoldPart(), "B: Integer");
  EXPECT_EQ(asked, (std::vector<AnsiString>{"NOTHING", "MAX"}));

  // A handler that takes the name and gives no hint silences the styler.
  f.memo->OnGetParameterHint = [](vcl::TObject*, const AnsiString&, AnsiString&, bool& handled) { handled = true; };
  EXPECT_FALSE(f.memo->ParameterHintAtCaret().has_value());
  f.memo->OnGetParameterHint = nullptr;

  f.memo->SetSyntaxStyles(new TLumHTMLMemoStyler(f.form));  // no patterns
  EXPECT_FALSE(f.memo->ParameterHintAtCaret().has_value());
}

TEST(MemoParameterHint, WindowSizeAndFace) {
  struct Row {
    const char* info;
    TParameterHintText text;
    vcl::TSize size;
    std::vector<std::string> calls;
    std::vector<bool> bold;
  } rows[] = {
      {"the middle bold", {"A, ", "B", ", C", hbMiddle}, {24 + 10 + 24 + 6, 13 + 5},
       {"TextOut(2,2) 'A, '", "TextOut(26,2) 'B'", "TextOut(36,2) ', C'"}, {false, true, false}},
      {"the first bold", {"A", ", B", "", hbFirst}, {10 + 24 + 6, 18},
       {"TextOut(2,2) 'A'", "TextOut(12,2) ', B'"}, {true, false}},
      {"the last bold", {"A, ", "", "B", hbLast}, {24 + 10 + 6, 18},
       {"TextOut(2,2) 'A, '", "TextOut(26,2) 'B'"}, {false, true}},
      {"none bold", {"A, B", "", "", hbNone}, {32 + 6, 18}, {"TextOut(2,2) 'A, B'"}, {false}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.info);
    PhBoldWiderCanvas canvas;
    canvas.Font()->SetColor(vcl::clGreen);
    const vcl::TSize size = ParameterHintSize(&canvas, r.text);
    EXPECT_EQ(size.cx, r.size.cx);
    EXPECT_EQ(size.cy, r.size.cy);
    canvas.Clear();
    DrawParameterHint(&canvas, size, r.text, vcl::clNavy, vcl::clInfoBk);
    const std::vector<vcl::TCanvasRecord>& records = canvas.Records();
    ASSERT_EQ(records.size(), 2 + r.calls.size());
    EXPECT_EQ(records[0].Call(), "FillRect(0,0," + std::to_string(size.cx) + "," + std::to_string(size.cy) + ")");
    EXPECT_EQ(records[0].BrushColor, vcl::clInfoBk);
    EXPECT_EQ(records[1].Call(), "FrameRect(0,0," + std::to_string(size.cx) + "," + std::to_string(size.cy) + ")");
    EXPECT_EQ(records[1].BrushColor, static_cast<vcl::TColor>(0x808080));
    for (size_t i = 0; i < r.calls.size(); ++i) {
      EXPECT_EQ(records[2 + i].Call(), r.calls[i]);
      EXPECT_EQ(records[2 + i].FontColor, vcl::clNavy);
      EXPECT_EQ(records[2 + i].FontStyle.Contains(vcl::fsBold), r.bold[i]);
    }
    EXPECT_EQ(canvas.Font()->Color(), vcl::clGreen);
    EXPECT_FALSE(canvas.Font()->Style().Contains(vcl::fsBold));
  }
}
