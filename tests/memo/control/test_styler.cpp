// Syntax stylers: the HTML defaults, loading from a form, the editor taking
// a styler (keyword lists lower-cased and sorted for all who share it), the
// delimiter and symbol tests, and the plain definitions the tokenizer reads.
#include <gtest/gtest.h>

#include "../text/TokenizerSupport.h"
#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"

using namespace memo;
using memotest::MemoOnForm;

namespace {

// The main window's styler as its form sets it up: seven items, keywords in
// lower case and sorted, Arial -11 on white, comments teal and bold.
void SetUpAsTheMainWindow(TLumHTMLMemoStyler* s) {
  s->CommentStyle()->TextColor = vcl::clTeal;
  s->CommentStyle()->Style = {vcl::fsBold};
  const vcl::TColor colours[] = {vcl::clNavy, vcl::clOlive, vcl::clRed, vcl::clPurple, vcl::clBlue, vcl::clTeal};
  TElementStyles* styles = s->AllStyles();
  for (Integer i = 0; i < styles->Count(); ++i) {
    TElementStyle* e = styles->Items(i);
    e->Font()->SetName("Arial");
    e->Font()->SetHeight(-11);
    e->Font()->SetColor(colours[i]);
    e->SetBGColor(vcl::clWhite);
  }
  TElementStyle* plain = styles->Add();
  plain->SetStyleType(stBracket);
  plain->Font()->SetHeight(-11);
  plain->SetBGColor(vcl::clWhite);
}

}  // namespace

TEST(MemoStyler, HtmlDefaults) {
  TLumHTMLMemoStyler s(nullptr);
  EXPECT_EQ(s.Version(), "1.0");
  EXPECT_EQ(s.Description, "Web pages");
  EXPECT_EQ(s.Filter, "HTML Document (*.htm,*.html)|*.htm;*.html");
  EXPECT_EQ(s.DefaultExtension, ".html");
  EXPECT_EQ(s.StylerName, "HTML document");
  EXPECT_EQ(s.Extensions, "htm;html");
  EXPECT_EQ(s.LineComment, "//");
  EXPECT_EQ(s.MultiCommentLeft, "<!--");
  EXPECT_EQ(s.MultiCommentRight, "-->");
  EXPECT_EQ(s.NumberChars, "+-.0123456789");
  EXPECT_TRUE(s.HexChars.empty() && s.BlockStart.empty() && s.BlockEnd.empty() && s.EscapeChar.empty());
  EXPECT_EQ(s.CompletionList()->Count(), 0);
  EXPECT_EQ(s.CommentStyle()->TextColor, vcl::clSilver);
  EXPECT_TRUE(s.CommentStyle()->Style.Contains(vcl::fsItalic));
  EXPECT_EQ(s.NumberStyle()->TextColor, vcl::clBlack);
  EXPECT_TRUE(s.NumberStyle()->Style.Empty());

  struct Row {
    const char* info;
    TStyleType type;
    vcl::TColor colour;
    Integer keywords;
    char bracket;
  };
  const Row rows[] = {
      {"HTML Standard Default", stKeyword, 0x800000, 107, 0}, {"HTML Table Keywords", stKeyword, 0x008080, 10, 0},
      {"HTML Link Keywords", stKeyword, 0x0000FF, 2, 0},     {"Simple Bracket", stBracket, 0xFF000001, 0, '\''},
      {"Double Bracket", stBracket, 0xFF0000, 0, '"'},        {"Symbols Delimiters", stSymbol, 0x808000, 0, 0},
  };
  ASSERT_EQ(s.AllStyles()->Count(), 6);
  for (Integer i = 0; i < 6; ++i) {
    TElementStyle* e = s.AllStyles()->Items(i);
    const Row& r = rows[i];
    EXPECT_EQ(e->Info(), r.info);
    EXPECT_EQ(e->DisplayName(), r.info);
    EXPECT_EQ(e->StyleType(), r.type) << r.info;
    EXPECT_EQ(e->Font()->Color(), r.colour) << r.info;
    EXPECT_TRUE(e->Font()->Style().Empty());
    EXPECT_EQ(e->Font()->Name(), "Courier New");
    EXPECT_EQ(e->KeyWords()->Count(), r.keywords) << r.info;
    EXPECT_EQ(e->BracketStart(), r.bracket);
    EXPECT_EQ(e->BracketEnd(), r.bracket);
    EXPECT_EQ(e->BGColor(), vcl::clWhite);
  }
  EXPECT_EQ(s.AllStyles()->Items(0)->KeyWords()->Get(0), "&lt");
  EXPECT_NE(s.AllStyles()->Items(0)->KeyWords()->IndexOf("BLOCQUOTE"), -1);
  EXPECT_NE(s.AllStyles()->Items(0)->KeyWords()->IndexOf("ABREV"), -1);
  EXPECT_EQ(s.AllStyles()->Items(5)->Symbols(), AnsiString(" ,;:.()[]=-*/^%<>#\r\n"));
  EXPECT_EQ(s.AllStyles()->Items(5)->Symbols().size(), 20u);
}

TEST(MemoStyler, LoadingKeepsStoredStylesOrNone) {
  TLumHTMLMemoStyler stored(nullptr);
  stored.BeginLoad();
  // Reading a stored collection first drops the defaults.
  stored.AllStyles()->Clear();
  stored.AllStyles()->Add()->SetInfo("stored");
  stored.EndLoad();
  ASSERT_EQ(stored.AllStyles()->Count(), 1);
  EXPECT_EQ(stored.AllStyles()->Items(0)->Info(), "stored");

  TLumHTMLMemoStyler none(nullptr);
  none.BeginLoad();
  none.EndLoad();
  EXPECT_EQ(none.AllStyles()->Count(), 0) << "a form that stores no styles leaves none";

  TLumHTMLMemoStyler inCode(nullptr);
  EXPECT_EQ(inCode.AllStyles()->Count(), 6);
}

TEST(MemoStyler, TakingAStylerLowerCasesAndSortsItsKeywordsForEveryEditor) {
  MemoOnForm f(300, 200, false);
  auto* styler = new TLumHTMLMemoStyler(f.form);
  auto* second = new TLumCustomMemo(f.form);
  f.memo->SetSyntaxStyles(styler);
  EXPECT_TRUE(f.memo->UseStyler());
  rtl::TStringList* keys = styler->AllStyles()->Items(0)->KeyWords();
  EXPECT_EQ(keys->IndexOf("BODY"), keys->IndexOf("body")) << "found without case";
  EXPECT_EQ(keys->Get(keys->IndexOf("body")), "body");
  EXPECT_TRUE(keys->Sorted());
  for (Integer i = 1; i < keys->Count(); ++i) EXPECT_LT(keys->Get(i - 1), keys->Get(i));
  EXPECT_EQ(styler->AllStyles()->Editor(), f.memo);
  second->SetSyntaxStyles(styler);
  EXPECT_EQ(styler->AllStyles()->Editor(), second);
  EXPECT_EQ(keys->Get(keys->IndexOf("body")), "body") << "the second editor sees the changed list";

  f.memo->SetSyntaxStyles(nullptr);
  EXPECT_FALSE(f.memo->UseStyler());
  EXPECT_EQ(f.memo->ActiveStyler(), nullptr);

  TLumHTMLMemoStyler cased(nullptr);
  f.memo->SetCaseSensitive(true);
  f.memo->SetSyntaxStyles(&cased);
  EXPECT_EQ(cased.AllStyles()->Items(0)->KeyWords()->Get(cased.AllStyles()->Items(0)->KeyWords()->IndexOf("BODY")),
            "BODY");
  f.memo->SetSyntaxStyles(nullptr);
}

TEST(MemoStyler, DelimitersAndSymbols) {
  MemoOnForm f(300, 200, false);
  EXPECT_TRUE(f.memo->IsSymbolChar(' '));
  EXPECT_FALSE(f.memo->IsSymbolChar('<')) << "without a styler only the blank";
  EXPECT_FALSE(f.memo->IsDelimiter('<'));
  EXPECT_TRUE(f.memo->IsDelimiter('\''));
  auto* styler = new TLumHTMLMemoStyler(f.form);
  EXPECT_TRUE(styler->AllStyles()->IsDelimiterChar('\''));
  EXPECT_FALSE(styler->AllStyles()->IsDelimiterChar('a'));
  f.memo->SetSyntaxStyles(styler);
  EXPECT_TRUE(f.memo->IsDelimiter('<'));
  EXPECT_TRUE(f.memo->IsSymbolChar('<'));
  EXPECT_FALSE(f.memo->IsSymbolChar('a'));
  styler->AllStyles()->Items(5)->SetSymbols("a");
  EXPECT_TRUE(f.memo->IsSymbolChar('a')) << "a change reaches the editor's tokenizer";
  EXPECT_FALSE(f.memo->IsSymbolChar('<'));
  f.memo->SetUseStyler(false);
  EXPECT_FALSE(f.memo->IsDelimiter('a'));
  EXPECT_FALSE(f.memo->IsSymbolChar('a'));
}

TEST(MemoStyler, AssignCopiesOnlyFromAnElementStyle) {
  TLumHTMLMemoStyler s(nullptr);
  TElementStyle* target = s.AllStyles()->Items(5);
  TLumMarkers markers;
  target->Assign(markers.Add());
  EXPECT_EQ(target->Info(), "Symbols Delimiters");
  EXPECT_EQ(target->StyleType(), stSymbol);
  target->Assign(s.AllStyles()->Items(4));
  EXPECT_EQ(target->Info(), "Double Bracket");
  EXPECT_EQ(target->BracketStart(), '"');
  EXPECT_EQ(target->Font()->Color(), vcl::clBlue);
}

TEST(MemoStyler, AFreedStylerLeavesItsEditorsPlain) {
  MemoOnForm f(300, 200, false);
  auto* styler = new TLumHTMLMemoStyler(f.form);
  f.memo->SetBkColor(0x00EEEEEE);
  f.memo->SetSyntaxStyles(styler);
  EXPECT_EQ(styler->AllStyles()->Add()->BGColor(), 0x00EEEEEEu) << "a new item takes the editor's background";
  EXPECT_EQ(f.memo->StylerList()->Count(), 0) << "made after the editor";
  auto* listed = new TLumCustomMemo(f.form);
  EXPECT_EQ(listed->StylerList()->Count(), 1);
  vcl::Free(styler);
  EXPECT_EQ(f.memo->SyntaxStyles(), nullptr);
  EXPECT_FALSE(f.memo->UseStyler());
  EXPECT_EQ(listed->StylerList()->Count(), 0);
  EXPECT_FALSE(f.memo->IsSymbolChar('<'));
}

// What the editor hands the tokenizer equals the definitions the tokenizer's
// own tests (and golden tables) use for the main window.
TEST(MemoStyler, TheMainWindowsStylerGivesTheTokenizersDefinitions) {
  MemoOnForm f(300, 200, false);
  auto* styler = new TLumHTMLMemoStyler(f.form);
  SetUpAsTheMainWindow(styler);
  f.memo->SetSyntaxStyles(styler);
  const TStylerDefs& got = styler->Defs();
  const TStylerDefs want = memotest::MainWindowDefs();
  EXPECT_EQ(got.LineComment, want.LineComment);
  EXPECT_EQ(got.MultiCommentLeft, want.MultiCommentLeft);
  EXPECT_EQ(got.MultiCommentRight, want.MultiCommentRight);
  EXPECT_EQ(got.NumberChars, want.NumberChars);
  EXPECT_EQ(got.CommentStyle, want.CommentStyle);
  EXPECT_EQ(got.NumberStyle, want.NumberStyle);
  ASSERT_EQ(got.Styles.size(), want.Styles.size());
  for (size_t i = 0; i < got.Styles.size(); ++i) {
    const TStyleDef& g = got.Styles[i];
    const TStyleDef& w = want.Styles[i];
    EXPECT_EQ(g.StyleType, w.StyleType) << i;
    EXPECT_EQ(g.BracketStart, w.BracketStart) << i;
    EXPECT_EQ(g.BracketEnd, w.BracketEnd) << i;
    EXPECT_EQ(g.Symbols, w.Symbols) << i;
    EXPECT_EQ(g.KeyWords, w.KeyWords) << i;
    EXPECT_EQ(vcl::ColorToRGB(g.FontColor), w.FontColor) << i;
    EXPECT_EQ(g.BGColor, w.BGColor) << i;
  }
  EXPECT_EQ(&f.memo->Tokenizer().Defs()->Styles, &got.Styles);
}
