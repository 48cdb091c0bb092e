// The spell checker reading a page of the HTML editor: the document
// walker's positions and characters, a whole-page check run driven through
// the spell dialog's buttons, and the word count beside the component's
// own count of the same characters.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "DialogTestSupport.h"
#include "htmledit/editor/EditorFixture.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psTextWalk.h"
#include "spell/engine/lx3Text.h"
#include "spell/html/psSpellChecker.h"
#include "spell/lx3SpellDialog.h"

using namespace spell;
using namespace spell_dialog_test;
using htmledittest::EditorOnForm;

namespace {

// The characters the walker shows from (0, 0) to the end, as engine bytes.
std::string WalkAll(TpsHtmlEditControlParser& p) {
  std::string out;
  p.SetPosition(0, 0, 0);
  do out += p.GetChar();
  while (p.MoveNext());
  return out;
}

// The page's text lines joined by blanks, each without the blanks at its
// start: what the walker reads, as UTF-8.
std::string JoinedLines(htmledit::TpsHTMLEditBase* aEditor) {
  std::string out;
  for (htmlview::TpsWindow* w = htmlview::FollowingTextNode(aEditor->RootWindow()); w;
       w = htmlview::FollowingTextNode(w)) {
    htmldoc::TpsDataChunk* chunk = static_cast<htmlview::TpsTextNode*>(w)->GetLineChunk();
    rtl::WideString line;
    for (Integer i = 0; htmldoc::TpsChunkElement* e = chunk->GetCharacterByIndex(i, true); ++i) line += e->Char;
    out += " " + rtl::WideToUtf8(line) + " ";
  }
  return out;
}

std::string ReadManualPageForCount(const std::string& aName) {
  std::ifstream in("/usr/share/doc/apache2-doc/manual/en/" + aName, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(HtmlEditParser, PositionsCharactersAndLineBoundaries) {
  ScratchSpell s("html_parser_walk", true, vcl::Application);
  EditorOnForm f;
  f.Editor->LoadFromString("<p>first</p><p>abcde</p><p>caf&eacute; &#x3b1;&#x3b2; x</p>", true, true);
  TpsHtmlEditControlParser p;
  p.Initialize(f.Editor);
  // Blanks before and after each line, é as its 1252 byte, Greek as blanks.
  EXPECT_EQ(WalkAll(p), " first  abcde  caf\xE9    x ");
  // Right after SetPosition (3, 2) on the second line of five characters.
  Integer x = -1, y = -1;
  p.SetPosition(3, 2, 0);
  p.GetPosition(x, y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 2);
  EXPECT_EQ(p.GetChar(), 'c');
  p.SetPosition(6, 2, 0);  // after the last character
  EXPECT_EQ(p.GetChar(), ' ');
  ASSERT_TRUE(p.MoveNext());
  p.GetPosition(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 3);
  // Back across the boundary onto the second line's last character.
  ASSERT_TRUE(p.MovePrevious());
  ASSERT_TRUE(p.MovePrevious());
  EXPECT_EQ(p.GetChar(), 'e');
  p.SetPosition(0, 0, 0);
  EXPECT_FALSE(p.MovePrevious());
  p.GetCursorPosition(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  // Only the cursor has a position here: an end mark fails the check.
  EXPECT_THROW(p.SetPosition(1, 1, 1), rtl::EAssertionFailed);
  // No selection: no rectangle.
  EXPECT_EQ(p.GetWordScreenRect(), TParserRect{});

  // A word selected and replaced: the next character read is the one
  // after the inserted text.
  f.Editor->LoadFromString("<p>Ths is it</p>", true, true);
  p.SetPosition(4, 1, 0);
  p.SelectPreviousWord(3);
  EXPECT_TRUE(f.Editor->HasTextSelection());
  const TParserRect r = p.GetWordScreenRect();
  EXPECT_GT(r.Right, r.Left);
  EXPECT_GT(r.Bottom, r.Top);
  p.ReplaceWord("This", 0);
  EXPECT_EQ(f.Body(), "<p>This is it</p>");
  EXPECT_EQ(p.GetChar(), ' ');
  ASSERT_TRUE(p.MoveNext());
  EXPECT_EQ(p.GetChar(), 'i');
  p.GetPosition(x, y);
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 1);
  p.SelectPreviousWord(0);
  EXPECT_FALSE(f.Editor->HasTextSelection());
}

TEST(HtmlEditParser, WordsFollowLinesNotTags) {
  ScratchSpell s("html_parser_words", true, vcl::Application);
  EditorOnForm f(300, 200);
  // A bold part inside one line is part of the word.
  f.Editor->LoadFromString("<p>un<b>believ</b>able</p>", true, true);
  EXPECT_EQ(CountHtmlEditWords(&s.spell, f.Editor), 1);
  // A word wider than MaxWordWidth is broken across two lines: two words.
  f.Editor->SetMaxWordWidth(60);
  f.Editor->LoadFromString("<p>abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz</p>", true, true);
  Integer lines = 0;
  for (htmlview::TpsWindow* w = htmlview::FollowingTextNode(f.Editor->RootWindow()); w;
       w = htmlview::FollowingTextNode(w))
    ++lines;
  ASSERT_GE(lines, 2);
  EXPECT_EQ(CountHtmlEditWords(&s.spell, f.Editor), lines);
}

TEST(HtmlEditParser, CountsAsTheComponentCountsTheJoinedLines) {
  ScratchSpell s("html_parser_count", true, vcl::Application);
  EditorOnForm f;
  for (const char* page : {"bind.html", "urlmapping.html", "sections.html"}) {
    SCOPED_TRACE(page);
    const std::string html = ReadManualPageForCount(page);
    ASSERT_FALSE(html.empty()) << "apache2-doc's English manual is needed";
    f.Editor->LoadHTML(html);
    const Integer words = CountHtmlEditWords(&s.spell, f.Editor);
    EXPECT_GT(words, 300);
    EXPECT_EQ(words, s.spell.WordCountString(JoinedLines(f.Editor)));
  }
  // A count that fails answers 0 (the parser freed once, as ASan checks).
  s.spell.ParsingEngine().OnCharacter = [](char, TControlParser*, bool&) { throw std::runtime_error("count"); };
  EXPECT_EQ(CountHtmlEditWords(&s.spell, f.Editor), 0);
}

TEST(HtmlEditParser, ACheckRunThroughTheDialogEditsThePage) {
  ScratchSpell s("html_parser_run", true, vcl::Application);
  EditorOnForm f(500, 200);
  f.Editor->LoadFromString(
      "<p>Ths is a tset of the the words.</p><p>A chekcer and a tset, recieve.</p>", true, true);
  ModalAnswer answer;
  SpellCheckHtmlEdit(&s.spell, f.Editor);
  Pump();
  auto* d = dynamic_cast<TSpellDialog*>(s.spell.SpellDialogForm());
  ASSERT_NE(d, nullptr);
  const auto press = [&](vcl::TButton* aButton, const char* aReplacement = nullptr) {
    if (aReplacement) d->ReplaceWithEdit->SetText(aReplacement);
    answer.Arm(vcl::mrOk);
    Click(aButton);
    Pump();
    answer.Disarm();
  };
  EXPECT_EQ(d->NotFoundEdit->Text(), "Ths");
  EXPECT_TRUE(f.Editor->HasTextSelection());
  AnsiString selected;
  f.Editor->GetSelectedText(selected);
  EXPECT_EQ(selected, "Ths");
  press(d->ChangeButton, "This");
  EXPECT_EQ(d->NotFoundEdit->Text(), "tset");
  press(d->ChangeAllButton, "test");
  EXPECT_EQ(d->NotFoundEdit->Text(), "the the");
  press(d->ChangeButton);  // Delete, for a repeated word
  EXPECT_EQ(d->NotFoundEdit->Text(), "chekcer");
  press(d->IgnoreButton);
  // The second "tset" was changed on the way by Change All.
  EXPECT_EQ(d->NotFoundEdit->Text(), "recieve");
  press(d->UndoButton);
  EXPECT_EQ(d->NotFoundEdit->Text(), "chekcer");
  press(d->AddButton);
  EXPECT_EQ(d->NotFoundEdit->Text(), "recieve");
  press(d->ChangeButton, "receive");
  EXPECT_FALSE(s.spell.Checking());
  EXPECT_EQ(answer.captions.size(), 1u);  // the end message
  EXPECT_EQ(f.Body(), "<p>This is a test of the words.</p><p>A chekcer and a test, receive.</p>");
  EXPECT_TRUE(s.spell.WordAcceptable("chekcer"));
  // The run leaves no selection behind.
  EXPECT_FALSE(f.Editor->HasTextSelection());
}
