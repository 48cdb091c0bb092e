// The completion list's rules: an entry's parts, candidates and filtering,
// the key table, the inserted text and the columns it replaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "MemoTestSupport.h"
#include "memo/CompletionEntries.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

using namespace memo;

namespace {

// The list's entries with their kinds, for comparing.
std::vector<std::pair<std::string, Integer>> CeListed(const rtl::TStrings& list) {
  std::vector<std::pair<std::string, Integer>> out;
  for (Integer i = 0; i < list.Count(); ++i) out.emplace_back(list.Strings(i), CompletionKindOf(list, i));
  return out;
}

void CeFillSource(rtl::TStringList& s) {
  s.AddObject("function Max(A, B: Integer): Integer", rtl::IntToObject(5));
  s.AddObject("var MaxCount", rtl::IntToObject(1));
  s.AddObject("procedure Min(A: Integer);", rtl::IntToObject(6));
  s.AddObject("property Form.Caption", rtl::IntToObject(2));
  s.AddObject("Plain", rtl::IntToObject(0));
}

// Bold text measures 10 a character, plain 8, so the measures show which
// parts were taken bold.
class CeBoldWiderCanvas : public vcl::TFakeMetricsCanvas {
 public:
  explicit CeBoldWiderCanvas(Integer ascent) : TFakeMetricsCanvas(0, 0, {8, ascent, 3}) {}
  vcl::TSize TextExtent(const AnsiString& text) override {
    vcl::TSize size = TFakeMetricsCanvas::TextExtent(text);
    if (Font()->Style().Contains(vcl::fsBold)) size.cx = vcl::CharacterCount(text) * 10;
    return size;
  }
};

}  // namespace

TEST(MemoCompletionEntries, EntryParts) {
  struct Row {
    const char* entry;
    const char* kindWord;
    const char* rest;
    const char* name;
    bool parameters;
  } rows[] = {
      {"function Max(A, B: Integer): Integer", "function ", "Max(A, B: Integer): Integer", "Max", true},
      {"var Count", "var ", "Count", "Count", false},
      {"procedure Run;", "procedure ", "Run;", "Run", false},
      {"event OnClick Sender", "event ", "OnClick Sender", "OnClick", false},
      {"property Form.Caption", "property ", "Form.Caption", "Form.Caption", false},
      {"Plain", "", "Plain", "Plain", false},
      {"Call(x)", "", "Call(x)", "Call", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.entry);
    EXPECT_EQ(CompletionKindWord(r.entry), r.kindWord);
    EXPECT_EQ(CompletionRest(r.entry), r.rest);
    EXPECT_EQ(CompletionName(r.entry), r.name);
    EXPECT_EQ(CompletionHasParameters(r.entry), r.parameters);
  }
}

TEST(MemoCompletionEntries, CandidatesAndFiltering) {
  rtl::TStringList source;
  CeFillSource(source);
  rtl::TStringList list;
  using Listed = std::vector<std::pair<std::string, Integer>>;

  CollectCompletionCandidates(source, "ma", list);
  EXPECT_EQ(CeListed(list), (Listed{{"function Max(A, B: Integer): Integer", 5}, {"var MaxCount", 1}}));
  CollectCompletionCandidates(source, "FORM.", list);
  EXPECT_EQ(CeListed(list), (Listed{{"property Form.Caption", 2}}));
  CollectCompletionCandidates(source, "", list);
  EXPECT_EQ(list.Count(), source.Count());
  CollectCompletionCandidates(source, "function", list);  // the kind word is not searched
  EXPECT_EQ(list.Count(), 0);

  rtl::TStringList candidates;
  CollectCompletionCandidates(source, "", candidates);
  struct Row {
    const char* token;
    std::vector<std::string> shown;
  } rows[] = {
      {"m", {"function Max(A, B: Integer): Integer", "var MaxCount", "procedure Min(A: Integer);"}},
      {"MaxC", {"var MaxCount"}},
      {"cap", {"property Form.Caption"}},  // a member's name after its "."
      {"form", {}},
      {"", {"function Max(A, B: Integer): Integer", "var MaxCount", "procedure Min(A: Integer);",
            "property Form.Caption", "Plain"}},
      {"q", {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.token);
    FilterCompletionCandidates(candidates, r.token, list);
    std::vector<std::string> shown;
    for (Integer i = 0; i < list.Count(); ++i) shown.push_back(list.Strings(i));
    EXPECT_EQ(shown, r.shown);
  }
  FilterCompletionCandidates(candidates, "cap", list);
  EXPECT_EQ(CompletionKindOf(list, 0), 2);
}

TEST(MemoCompletionEntries, KeyTable) {
  struct Row {
    rtl::Word key;
    bool shift;
    TCompletionKeyAction action;
    char typed;  // for ckaType
  } rows[] = {
      {8, false, ckaBackspace, 0},   {9, false, ckaClose, 0},       {27, false, ckaClose, 0},
      {13, false, ckaInsert, 0},     {32, false, ckaInsert, 0},     {53, false, ckaInsert, 0},  // the digit key 5
      {53, true, ckaInsert, 0},      {16, false, ckaListMoves, 0},  {17, false, ckaListMoves, 0},
      {18, false, ckaListMoves, 0},  {33, false, ckaListMoves, 0},  {40, false, ckaListMoves, 0},
      {160, false, ckaListMoves, 0}, {161, false, ckaListMoves, 0}, {164, false, ckaListMoves, 0},
      {165, false, ckaListMoves, 0}, {46, false, ckaDelete, 0},     {52, false, ckaType, '4'},
      {52, true, ckaType, '4'},      {48, false, ckaType, '0'},     {57, false, ckaType, '9'},
      {65, false, ckaType, 'a'},     {65, true, ckaType, 'A'},      {90, false, ckaType, 'z'},
      {189, false, ckaType, '_'},    {189, true, ckaType, '_'},     {97, false, ckaType, '1'},  // number pad 1
      {105, false, ckaType, '9'},    {96, false, ckaType, '0'},     {45, false, ckaCancel, 0},  // Insert
      {106, false, ckaCancel, 0},    {112, false, ckaCancel, 0},    {122, false, ckaCancel, 0},  // *, F1, F11
      {186, false, ckaCancel, 0},    {1, false, ckaCancel, 0},      {91, false, ckaCancel, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.key) + (r.shift ? " shift" : ""));
    EXPECT_EQ(CompletionKeyAction(r.key), r.action);
    if (r.action == ckaType) EXPECT_EQ(CompletionKeyChar(r.key, r.shift), r.typed);
  }
}

TEST(MemoCompletionEntries, InsertedText) {
  struct Row {
    const char* entry;
    bool byKey;
    const char* text;
    bool parentheses;
  } rows[] = {
      {"function Max(A, B: Integer): Integer", true, "Max()", true},
      {"function Max(A, B: Integer): Integer", false, "Max", false},
      {"var Count", true, "Count", false},
      {"procedure Run;", true, "Run", false},
      {"Call(x)", true, "Call()", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.entry) + (r.byKey ? " key" : " mouse"));
    bool parentheses = true;
    vcl::TObject* seen = nullptr;
    vcl::TObject sender;
    // A handler that leaves the entry as it is leaves the default in force.
    const TInsertAutoCompletionEntryEvent keep = [&](vcl::TObject* s, AnsiString&) { seen = s; };
    EXPECT_EQ(CompletionInsertText(r.entry, r.byKey, keep, &sender, parentheses), r.text);
    EXPECT_EQ(parentheses, r.parentheses);
    EXPECT_EQ(seen, &sender);
    EXPECT_EQ(CompletionInsertText(r.entry, r.byKey, nullptr, nullptr, parentheses), r.text);
  }
  bool parentheses = true;
  const TInsertAutoCompletionEntryEvent change = [](vcl::TObject*, AnsiString& e) { e = "Maximum(1, 2)"; };
  EXPECT_EQ(CompletionInsertText("function Max(A, B: Integer): Integer", true, change, nullptr, parentheses),
            "Maximum(1, 2)");
  EXPECT_FALSE(parentheses);
}

TEST(MemoCompletionEntries, ReplacedColumns) {
  struct Row {
    const char* line;
    Integer caret;
    bool member;
    Integer memberStart;
    const char* name;
    Integer first, last;
  } rows[] = {
      {"x := Form.Ca", 12, true, 10, "Caption", 10, 12},
      {"x := Form.Ca", 12, true, 14, "Caption", 12, 12},            // a start past the caret
      {"x := Form.Cap", 12, true, 5, "Form.Caption", 5, 13},        // a dotted name: the word
      {"  Ma(b", 4, false, 0, "Max", 2, 4},
      {"  Maxi b", 4, false, 0, "Max", 2, 6},
      {"f(Mi)", 4, false, 0, "Min", 2, 4},
      {"f(Mi, 2)", 4, false, 0, "Min", 2, 4},                       // a delimiter ends the word
      {"f(1;Mi;", 6, false, 0, "Min", 4, 6},
      {"", 0, false, 0, "Max", 0, 0},
      {"ab", 9, false, 0, "Max", 0, 2},                             // a caret past the end
      {"ä Größ", 6, false, 0, "Größe", 2, 6},                       // columns are characters
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.line) + " @" + std::to_string(r.caret));
    EXPECT_EQ(CompletionReplaceRange(r.line, r.caret, r.member, r.memberStart, r.name),
              (std::pair<Integer, Integer>{r.first, r.last}));
  }
}

TEST(MemoCompletionEntries, TokenAtAColumn) {
  struct Row {
    const char* line;
    Integer column;
    const char* token;
  } rows[] = {
      {"x := Form.Ca", 12, "Form.Ca"}, {"x := Form.Ca", 7, "Form.Ca"}, {"x:=Max", 6, "=Max"},
      {"f(\"ab'cd", 5, "ab"},         {"f(Max)", 3, "Max"},           {"f(Max)", 6, ""},
      {"ab", 5, ""},                   {"", 0, ""},                    {"é.ß", 3, "é.ß"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.line) + " @" + std::to_string(r.column));
    EXPECT_EQ(CompletionTokenAt(r.line, r.column), r.token);
  }
}

TEST(MemoCompletionEntries, EditorCandidatesAtTheCaret) {
  memotest::MemoOnForm f;
  memotest::SetText(f.memo, {"x := ma", "y := Form.", "z := q"});
  f.memo->SetCaret(7, 0);
  rtl::TStringList out;
  EXPECT_FALSE(f.memo->CompletionCandidatesAtCaret(out));  // no styler

  // The HTML styler has no entries: a handler that would add some is not asked.
  bool asked = false;
  f.memo->OnGetAutoCompletionList = [&](vcl::TObject*, const AnsiString&, rtl::TStrings* list) {
    asked = true;
    list->Add("var Extra");
  };
  f.memo->SetSyntaxStyles(new TLumHTMLMemoStyler(f.form));
  EXPECT_FALSE(f.memo->CompletionCandidatesAtCaret(out));
  EXPECT_FALSE(asked);
  EXPECT_EQ(out.Count(), 0);
  f.memo->OnGetAutoCompletionList = nullptr;

  auto* styler = new TLumCustomMemoStyler(f.form);
  CeFillSource(*styler->CompletionList());
  f.memo->SetSyntaxStyles(styler);
  ASSERT_TRUE(f.memo->CompletionCandidatesAtCaret(out));
  using Listed = std::vector<std::pair<std::string, Integer>>;
  EXPECT_EQ(CeListed(out), (Listed{{"function Max(A, B: Integer): Integer", 5}, {"var MaxCount", 1}}));
  f.memo->SetCaret(10, 1);
  ASSERT_TRUE(f.memo->CompletionCandidatesAtCaret(out));
  EXPECT_EQ(CeListed(out), (Listed{{"property Form.Caption", 2}}));
  f.memo->SetCaret(6, 2);
  EXPECT_FALSE(f.memo->CompletionCandidatesAtCaret(out));  // nothing begins with "q"

  // The handlers see the token upper-cased; the first may refuse, the second
  // changes what is offered.
  std::vector<AnsiString> tokens;
  bool show = true;
  f.memo->OnBeforeAutoCompletion = [&](vcl::TObject* sender, const AnsiString& token, bool& s) {
    EXPECT_EQ(sender, f.memo);
    tokens.push_back(token);
    s = show;
  };
  f.memo->OnGetAutoCompletionList = [&](vcl::TObject*, const AnsiString& token, rtl::TStrings* list) {
    tokens.push_back(token);
    if (token == "Q") list->AddObject("var Quota", rtl::IntToObject(1));
  };
  ASSERT_TRUE(f.memo->CompletionCandidatesAtCaret(out));
  EXPECT_EQ(CeListed(out), (Listed{{"var Quota", 1}}));
  show = false;
  f.memo->SetCaret(7, 0);
  EXPECT_FALSE(f.memo->CompletionCandidatesAtCaret(out));
  EXPECT_EQ(tokens, (std::vector<AnsiString>{"Q", "Q", "MA"}));
  show = true;

  struct Off {
    const char* info;
    bool active, readOnly;
  } offs[] = {{"inactive", false, false}, {"read-only", true, true}};
  for (const Off& o : offs) {
    SCOPED_TRACE(o.info);
    f.memo->AutoCompletion()->Active = o.active;
    f.memo->SetReadOnly(o.readOnly);
    EXPECT_FALSE(f.memo->CompletionCandidatesAtCaret(out));
    EXPECT_EQ(out.Count(), 0);
  }
  f.memo->AutoCompletion()->Active = true;
  f.memo->SetReadOnly(false);
  EXPECT_TRUE(f.memo->CompletionCandidatesAtCaret(out));
}

TEST(MemoCompletionEntries, ListMeasures) {
  struct Row {
    const char* info;
    std::vector<const char*> entries;
    bool showImages;
    Integer ascent;
    Integer kindColumn, width, itemHeight;
  } rows[] = {
      // "function " 72; "Max" bold 30 + "(A, B)" plain 48 = 150; "var " 32
      // is under the column, "Count" bold 50: 122; plus 17 and 8.
      {"kinds and parameters", {"function Max(A, B)", "var Count"}, false, 10, 72, 150 + 17 + 8, 16},
      {"pictures", {"function Max(A, B)", "var Count"}, true, 10, 72, 150 + 20 + 17 + 8, 16},
      // No blank: no kind column, the name bold up to its "(".
      {"no kind words", {"Plain", "Call(x)"}, false, 10, 0, 40 + 24 + 17 + 8, 16},
      {"a tall font", {"var A"}, false, 20, 32, 32 + 10 + 17 + 8, 24},
      {"empty", {}, false, 10, 0, 17 + 8, 16},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.info);
    CeBoldWiderCanvas canvas(r.ascent);
    rtl::TStringList entries;
    for (const char* e : r.entries) entries.Add(e);
    const TCompletionMeasures m = MeasureCompletionList(&canvas, entries, r.showImages, 17);
    EXPECT_EQ(m.KindColumnWidth, r.kindColumn);
    EXPECT_EQ(m.ListWidth, r.width);
    EXPECT_EQ(m.ItemHeight, r.itemHeight);
    EXPECT_FALSE(canvas.Font()->Style().Contains(vcl::fsBold));  // the font is left as it was
  }
}

TEST(MemoCompletionEntries, EntryDrawing) {
  TAutoCompletion settings;
  // Pictures told apart by their widths: 11 variable ... 15 method.
  std::vector<std::unique_ptr<vcl::TBitmap>> owned;
  TCompletionPictures pictures{};
  for (size_t i = 0; i < pictures.size(); ++i) {
    owned.push_back(std::make_unique<vcl::TBitmap>(static_cast<Integer>(11 + i), 16));
    pictures[i] = owned.back().get();
  }
  const vcl::TRect cell{0, 32, 200, 48};
  const vcl::TColor listText = vcl::clMaroon;

  struct Row {
    const char* info;
    const char* entry;
    Integer kind;
    bool selected, showImages;
    Integer pictureWidth;  // 0: none drawn
    std::vector<std::string> calls;
    std::vector<vcl::TColor> textColours;
    std::vector<bool> bold;
  } rows[] = {
      {"a function", "function Max(A, B: Integer): Integer", 5, false, false, 0,
       {"TextOut(2,32) 'function '", "TextOut(82,32) 'Max'", "TextOut(106,32) '(A, B: Integer): Integer'"},
       {vcl::clNavy, listText, listText}, {false, true, false}},
      {"selected", "function Max(A, B: Integer): Integer", 5, true, false, 0,
       {"TextOut(2,32) 'function '", "TextOut(82,32) 'Max'", "TextOut(106,32) '(A, B: Integer): Integer'"},
       {listText, listText, listText}, {false, true, false}},
      {"an event with pictures", "event OnClick", 3, false, true, 13,
       {"TextOut(22,32) 'event '", "TextOut(102,32) 'OnClick'"}, {vcl::clRed, listText}, {false, true}},
      {"a method", "method Run()", 4, false, true, 15,
       {"TextOut(22,32) 'method '", "TextOut(102,32) 'Run'", "TextOut(126,32) '()'"},
       {vcl::clNavy, listText, listText}, {false, true, false}},
      {"a procedure", "procedure Halt", 6, false, true, 14,
       {"TextOut(22,32) 'procedure '", "TextOut(102,32) 'Halt'"}, {vcl::clNavy, listText}, {false, true}},
      {"an identifier: no picture, still moved", "ident Name", 0, false, true, 0,
       {"TextOut(22,32) 'ident '", "TextOut(102,32) 'Name'"}, {vcl::clTeal, listText}, {false, true}},
      {"no kind word", "Plain", 1, false, false, 0, {"TextOut(2,32) 'Plain'"}, {listText}, {true}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.info);
    settings.ShowImages = r.showImages;
    vcl::TRecordingCanvas canvas;
    canvas.Brush()->SetColor(vcl::clYellow);
    canvas.Font()->SetColor(listText);
    DrawCompletionEntry(&canvas, cell, r.entry, r.kind, r.selected, settings, 80, pictures);
    const std::vector<vcl::TCanvasRecord>& records = canvas.Records();
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[0].Call(), "FillRect(0,32,200,48)");
    EXPECT_EQ(records[1].Call(), "FrameRect(0,32,200,48)");
    EXPECT_EQ(records[0].BrushColor, vcl::clYellow);
    EXPECT_EQ(records[1].BrushColor, vcl::clYellow);
    size_t next = 2;
    if (r.pictureWidth) {
      ASSERT_GT(records.size(), next);
      EXPECT_EQ(records[next].Op, "BrushCopy");
      ASSERT_GE(records[next].Args.size(), 4u);
      EXPECT_EQ(std::vector<Integer>(records[next].Args.begin(), records[next].Args.begin() + 4),
                (std::vector<Integer>{0, 32, r.pictureWidth, 48}));
      EXPECT_NE(std::find(records[next].Args.begin(), records[next].Args.end(), vcl::clLime), records[next].Args.end());
      ++next;
    }
    std::vector<std::string> calls;
    std::vector<vcl::TColor> colours;
    std::vector<bool> bold;
    for (; next < records.size(); ++next) {
      calls.push_back(records[next].Call());
      colours.push_back(records[next].FontColor);
      bold.push_back(records[next].FontStyle.Contains(vcl::fsBold));
    }
    EXPECT_EQ(calls, r.calls);
    EXPECT_EQ(colours, r.textColours);
    EXPECT_EQ(bold, r.bold);
    EXPECT_EQ(canvas.Font()->Color(), listText);
    EXPECT_FALSE(canvas.Font()->Style().Contains(vcl::fsBold));
  }
}

TEST(MemoCompletionEntries, EditorInsertsAnEntry) {
  struct Row {
    const char* info;
    const char* line;
    Integer caret;
    const char* entry;
    bool byKey, member;
    Integer memberStart;
    const char* result;
    Integer caretAfter;
  } rows[] = {
      {"a function by key", "x := ma", 7, "function Max(A, B: Integer): Integer", true, false, 0, "x := Max()", 9},
      {"by mouse", "x := ma", 7, "function Max(A, B: Integer): Integer", false, false, 0, "x := Max", 8},
      {"inside a call", "f(mi, 2)", 4, "procedure Min(A: Integer);", true, false, 0, "f(Min(), 2)", 6},
      {"a variable mid-word", "x := Cou + 1", 7, "var Count", true, false, 0, "x := Count + 1", 10},
      {"a member", "y := Form.Ca", 12, "property Caption", true, true, 10, "y := Form.Caption", 17},
      {"a member by mouse", "y := Form.Ca", 12, "property Caption", false, true, 10, "y := Form.Caption", 17},
      {"a dotted member name", "y := Form.Ca", 12, "property Form.Caption", true, true, 10, "y := Form.Caption", 17},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.info);
    memotest::MemoOnForm f;
    memotest::SetText(f.memo, {"first", r.line});
    f.memo->SetCaret(r.caret, 1);
    std::vector<std::string> seenAtCompletion;
    f.memo->OnAutoCompletion = [&](vcl::TObject* sender) {
      EXPECT_EQ(sender, f.memo);
      seenAtCompletion.push_back(f.memo->TextStore()->Strings(1));
    };
    f.memo->InsertCompletionEntry(r.entry, r.byKey, r.member, r.memberStart);
    EXPECT_EQ(f.memo->TextStore()->Strings(1), r.result);
    EXPECT_EQ(f.memo->CaretX(), r.caretAfter);
    EXPECT_EQ(f.memo->CaretY(), 1);
    EXPECT_EQ(seenAtCompletion, std::vector<std::string>{r.line});  // before the text changes
    f.memo->Undo();
    EXPECT_EQ(f.memo->TextStore()->Strings(1), r.line);
    EXPECT_EQ(f.memo->TextStore()->Strings(0), "first");
  }

  memotest::MemoOnForm f;
  memotest::SetText(f.memo, {"x := ma"});
  f.memo->SetCaret(7, 0);
  f.memo->OnInsertAutoCompletionEntry = [](vcl::TObject*, AnsiString& e) { e = "Maximum(1, 2)"; };
  f.memo->InsertCompletionEntry("function Max(A, B: Integer): Integer", true, false, 0);
  EXPECT_EQ(f.memo->TextStore()->Strings(0), "x := Maximum(1, 2)");
  EXPECT_EQ(f.memo->CaretX(), 18);
  f.memo->SetReadOnly(true);
  f.memo->InsertCompletionEntry("var Count", true, false, 0);
  EXPECT_EQ(f.memo->TextStore()->Strings(0), "x := Maximum(1, 2)");
}
