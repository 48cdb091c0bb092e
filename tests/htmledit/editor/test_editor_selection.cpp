// The text selection through the component: keys and mouse as the key
// table and the mouse handlers will send them, the marks they leave on the
// page (read back as selected text, as painted pixels and as what typing
// replaces), the word at the caret, ranges by element id, and search over
// a manual page judged by a plain search of the page's characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psTextWalk.h"
#include "htmledit/view/psWindows.h"
#include "rtl/Files.h"
#include "rtl/Streams.h"

using namespace htmledittest;

namespace {

using htmlview::ssShiftBit;

// A key as the key table sends it (focused, with its shift state), then
// the pending updates.
void Key(TpsHTMLEdit* aEditor, Integer aId, Integer aShift = 0) {
  auto m = htmlview::TpsMessage::Create(htmlview::mrFocused, aId);
  m->Shift = aShift;
  aEditor->WindowManager()->PostMessage(std::move(m));
  aEditor->ProcessMessages();
  aEditor->ProcessPendingUpdates();
}

// The left button at a document point, as the mouse handlers send it.
void Mouse(TpsHTMLEdit* aEditor, Integer aId, Integer aX, Integer aY) {
  auto m = htmlview::TpsMessage::Create(htmlview::mrPositional, aId);
  m->X = aX;
  m->Y = aY;
  auto buttons = std::make_unique<htmlview::TpsVCLMouseButtons>();
  buttons->SetMouseButton(0);
  m->SetButtons(std::move(buttons));
  m->Shift = htmlview::ssLeftBit;
  aEditor->WindowManager()->PostAndProcess(std::move(m));
  aEditor->ProcessPendingUpdates();
}

std::string Selected(TpsHTMLEdit* aEditor) {
  AnsiString text;
  aEditor->GetSelectedText(text);
  return text;
}

std::vector<htmlview::TpsTextNode*> Lines(TpsHTMLEdit* aEditor) {
  std::vector<htmlview::TpsTextNode*> lines;
  for (htmlview::TpsWindow* w = htmlview::FollowingTextNode(aEditor->RootWindow()); w;
       w = htmlview::FollowingTextNode(w))
    lines.push_back(static_cast<htmlview::TpsTextNode*>(w));
  return lines;
}

// The characters of the lines' lists in document order, with each one's
// selected state.
std::string Marks(TpsHTMLEdit* aEditor) {
  std::string s;
  for (htmlview::TpsTextNode* line : Lines(aEditor))
    for (const htmldoc::TpsChunkElement* e = line->GetLineChunk()->First(); e; e = e->Next)
      if (e->Kind == htmldoc::ceChar) s += e->Selected ? static_cast<char>(std::toupper(e->Char)) : static_cast<char>(e->Char);
  return s;
}

TEST(EditorSelection, ShiftArrowsSelectOneCharacterEachWayAndAcrossBlocks) {
  EditorOnForm f;
  f.Editor->LoadFromString("<p>abc<!-- EDITING POSITION -->def</p><p>ghi</p>", true, false);
  EXPECT_FALSE(f.Editor->HasTextSelection());
  // From the caret between c and d: Shift+Right selects d alone.
  Key(f.Editor, htmlview::psmKeyRight, ssShiftBit);
  EXPECT_TRUE(f.Editor->HasTextSelection());
  EXPECT_EQ(Selected(f.Editor), "d");
  EXPECT_EQ(Marks(f.Editor), "abcDefghi");
  // Back over it: nothing; once more: c alone.
  Key(f.Editor, htmlview::psmKeyLeft, ssShiftBit);
  EXPECT_EQ(Selected(f.Editor), "");
  Key(f.Editor, htmlview::psmKeyLeft, ssShiftBit);
  EXPECT_EQ(Selected(f.Editor), "c");
  EXPECT_EQ(Marks(f.Editor), "abCdefghi");
  // Shift+End from the anchor runs to the line's end; Shift+Right then
  // crosses into the next block and on.
  Key(f.Editor, htmlview::psmKeyRight, ssShiftBit);
  Key(f.Editor, htmlview::psmKeyEnd, ssShiftBit);
  EXPECT_EQ(Selected(f.Editor), "def");
  Key(f.Editor, htmlview::psmKeyRight, ssShiftBit);
  EXPECT_EQ(Selected(f.Editor), "def");
  Key(f.Editor, htmlview::psmKeyRight, ssShiftBit);
  EXPECT_EQ(Selected(f.Editor), "defg");
  EXPECT_EQ(Marks(f.Editor), "abcDEFGhi");
  // A move without Shift drops the selection and every mark.
  Key(f.Editor, htmlview::psmKeyRight);
  EXPECT_FALSE(f.Editor->HasTextSelection());
  EXPECT_EQ(Marks(f.Editor), "abcdefghi");
}

// The page's elements that carry a mark: characters as they are, tags as
// their text.
std::string MarkedElements(TpsHTMLEdit* aEditor) {
  std::unique_ptr<htmldoc::TpsDataChunk> copy = aEditor->RootWindow()->GetChunk(true);
  std::string s;
  for (const htmldoc::TpsChunkElement* e = copy->First(); e; e = e->Next) {
    if (!e->Selected) continue;
    if (e->Kind == htmldoc::ceTag) s += e->Tag->GetText();
    if (e->Kind == htmldoc::ceChar) s += static_cast<char>(e->Char);
  }
  return s;
}

TEST(EditorSelection, TheCurrentBlockWholeWithItsTagsAndNothingLeftMarkedAfterwards) {
  EditorOnForm f;
  f.Editor->LoadFromString("<p>one</p><p>tw<!-- EDITING POSITION -->o</p><p>three</p>", true, false);
  f.Editor->SelectCurrentBlock();
  EXPECT_TRUE(f.Editor->HasTextSelection());
  EXPECT_EQ(MarkedElements(f.Editor), "<p>two</p>");
  EXPECT_EQ(Selected(f.Editor), "two");
  // A move without Shift clears it, the block's tags included.
  Key(f.Editor, htmlview::psmKeyLeft);
  EXPECT_FALSE(f.Editor->HasTextSelection());
  EXPECT_EQ(MarkedElements(f.Editor), "");
  // Typing over a block selected whole replaces it.
  f.Editor->SelectCurrentBlock();
  f.Editor->InsertText("2", false);
  EXPECT_EQ(MarkedElements(f.Editor), "");
  EXPECT_EQ(f.Body().find("two"), std::string::npos) << f.Body();
  EXPECT_NE(f.Body().find("2"), std::string::npos) << f.Body();
}

TEST(EditorSelection, TypingReplacesTheMarkedRangeAndUndoBringsItBack) {
  EditorOnForm f;
  f.Editor->LoadFromString("<p>one<!-- EDITING POSITION --> two</p><p>three four</p><p>five</p>", true, false);
  const std::string before = f.Body();
  for (int i = 0; i < 4; ++i) Key(f.Editor, htmlview::psmKeyRight, ssShiftBit);
  Key(f.Editor, htmlview::psmKeyDown, ssShiftBit);
  const std::string selected = Selected(f.Editor);
  ASSERT_FALSE(selected.empty());
  EXPECT_EQ(selected.substr(0, 4), " two");
  f.Editor->InsertText("X", false);
  EXPECT_FALSE(f.Editor->HasTextSelection());
  const std::string after = f.Body();
  // The marked characters are gone and the typed one stands where the
  // caret was; both blocks keep their tags (only a block whose two tags
  // were both marked would go), and what was not marked stays.
  EXPECT_EQ(after, "<p>one</p><p>Xur</p><p>five</p>");
  f.Editor->Undo();
  EXPECT_EQ(f.Body(), before);
}

TEST(EditorSelection, WordAtCursorItsRectangleAndItsPixels) {
  EditorOnForm f(400, 200);
  f.Editor->LoadFromString("<p>alpha be<!-- EDITING POSITION -->ta gamma</p>", true, false);
  htmldoc::TpsRect rect{0, 0, 0, 0};
  f.Editor->GetSelectionRect(rect);
  EXPECT_EQ(rect.Left, -1);
  EXPECT_EQ(rect.Top, -1);
  EXPECT_EQ(rect.Right, -1);
  EXPECT_EQ(rect.Bottom, -1);
  f.Editor->SelectWordAtCursor();
  ASSERT_TRUE(f.Editor->HasTextSelection());
  EXPECT_EQ(Selected(f.Editor).substr(0, 4), "beta");
  f.Editor->GetSelectionRect(rect);
  EXPECT_GT(rect.Left, 0);
  EXPECT_GT(rect.Right, rect.Left);
  EXPECT_GE(rect.Bottom, rect.Top + 5);
  EXPECT_LT(rect.Right, 400);
  // The word is painted white on the highlight colour inside that
  // rectangle, and nowhere else on the line.
  const QImage image = Grab(f.Editor);
  image.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/editor_selected_word.png"));
  const vcl::TColor highlight = vcl::ColorToRGB(f.Editor->GetHighlightColor());
  int inside = 0, outside = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      if (PixelAt(image, x, y) != highlight) continue;
      if (x >= rect.Left && x <= rect.Right && y >= rect.Top && y <= rect.Bottom) ++inside;
      else ++outside;
    }
  EXPECT_GT(inside, (rect.Right - rect.Left) * (rect.Bottom - rect.Top) / 3);
  EXPECT_EQ(outside, 0);
  f.Editor->ClearSelection();
  EXPECT_FALSE(f.Editor->HasTextSelection());
  EXPECT_EQ(Selected(f.Editor), "");
  const QImage cleared = Grab(f.Editor);
  int left = 0;
  for (int y = 0; y < cleared.height(); ++y)
    for (int x = 0; x < cleared.width(); ++x) left += PixelAt(cleared, x, y) == highlight;
  EXPECT_EQ(left, 0);
}

TEST(EditorSelection, ADragWithTheMouseSelectsFromThePressToThePointer) {
  EditorOnForm f(400, 200);
  f.Editor->LoadFromString("<p>first line of text</p><p>second line</p>", true, false);
  std::vector<htmlview::TpsTextNode*> lines = Lines(f.Editor);
  ASSERT_EQ(lines.size(), 2u);
  const htmldoc::TpsRect first = lines[0]->GetAbsoluteRect();
  const htmldoc::TpsRect second = lines[1]->GetAbsoluteRect();
  // Pressed just left of the first character, dragged into the middle of
  // the second line and released there.
  Mouse(f.Editor, htmlview::psmMouseDown, first.Left + 1, (first.Top + first.Bottom) / 2);
  Mouse(f.Editor, htmlview::psmMouseMove, (second.Left + second.Right) / 4, (second.Top + second.Bottom) / 2);
  Mouse(f.Editor, htmlview::psmMouseUp, (second.Left + second.Right) / 4, (second.Top + second.Bottom) / 2);
  const std::string text = Selected(f.Editor);
  ASSERT_GT(text.size(), std::string("first line of text").size()) << text;
  EXPECT_EQ(text.substr(0, 18), "first line of text");
  EXPECT_EQ(std::string("second line").find(text.substr(18)), 0u) << text;
  // Dragging back over the press leaves less selected, never stale marks.
  Mouse(f.Editor, htmlview::psmMouseDown, first.Right - 2, (first.Top + first.Bottom) / 2);
  EXPECT_FALSE(f.Editor->HasTextSelection());
  EXPECT_EQ(Marks(f.Editor), "first line of textsecond line");
}

TEST(EditorSelection, DraggingBackwardsSelectsFromThePointerToThePress) {
  EditorOnForm f(400, 200);
  f.Editor->LoadFromString("<p>alpha beta gamma</p>", true, false);
  std::vector<htmlview::TpsTextNode*> lines = Lines(f.Editor);
  ASSERT_EQ(lines.size(), 1u);
  const htmlview::TpsLineObjects& items = lines[0]->Items();
  ASSERT_GE(items.Count(), 14);
  const htmldoc::TpsRect line = lines[0]->GetAbsoluteRect();
  const Integer y = (line.Top + line.Bottom) / 2;
  // Items: a l p h a b e t a g a m m a; press just left of "g" (item 9),
  // drag back to just left of "b" (item 5): the elements from the one
  // after the pointer's caret to the one before the press's, the blank
  // before "g" included.
  const auto leftOf = [&](Integer aItem) { return line.Left + items.GetItem(aItem).X + 1; };
  Mouse(f.Editor, htmlview::psmMouseDown, leftOf(9), y);
  Mouse(f.Editor, htmlview::psmMouseMove, leftOf(5), y);
  EXPECT_EQ(Selected(f.Editor), "beta ");
  EXPECT_EQ(Marks(f.Editor), "alpha BETA gamma");
  // On past the start and back to the press: nothing stays marked.
  Mouse(f.Editor, htmlview::psmMouseMove, line.Left + 1, y);
  EXPECT_EQ(Selected(f.Editor), "alpha beta ");
  EXPECT_EQ(Marks(f.Editor), "ALPHA BETA gamma");
  Mouse(f.Editor, htmlview::psmMouseMove, leftOf(9), y);
  Mouse(f.Editor, htmlview::psmMouseUp, leftOf(9), y);
  EXPECT_EQ(Selected(f.Editor), "");
}

TEST(EditorSelection, RangesByIdsSelectAllAndReadingTheMarksBack) {
  EditorOnForm f;
  f.Editor->LoadFromString("<p>abc</p><ul><li>de</li><li>fg</li></ul><p>hi</p>", true, false);
  std::vector<htmlview::TpsTextNode*> lines = Lines(f.Editor);
  ASSERT_EQ(lines.size(), 4u);
  htmldoc::TpsDataChunk* second = lines[1]->GetLineChunk();
  htmldoc::TpsDataChunk* third = lines[2]->GetLineChunk();
  f.Editor->SetSelectionRange({lines[1], second->First()->Id, lines[2], third->First()->Id});
  EXPECT_EQ(Selected(f.Editor), "def");
  // The list's tags between the two items are marked too, so the range
  // is one piece of the document.
  const std::unique_ptr<htmldoc::TpsDataChunk> copy = f.Editor->RootWindow()->GetChunk(true);
  std::string tags;
  for (const htmldoc::TpsChunkElement* e = copy->First(); e; e = e->Next)
    if (e->Selected && e->Kind == htmldoc::ceTag) tags += e->Tag->GetText();
  EXPECT_EQ(tags, "</li><li>");
  // The selection's ends read back from the marks; the anchor is gone.
  htmledit::TpsTextSelection* selection = f.Editor->Selection();
  selection->UpdateFromMarks(false);
  EXPECT_TRUE(selection->Active());
  EXPECT_EQ(selection->Range().StartNode, lines[1]);
  EXPECT_EQ(selection->Range().EndNode, lines[2]);
  htmlview::TpsWindow* top1 = nullptr;
  htmlview::TpsWindow* top2 = nullptr;
  selection->GetTopNodes(top1, top2);
  EXPECT_EQ(top1, top2);
  EXPECT_NE(top1, nullptr);
  // A narrower range unmarks what it leaves.
  selection->SelectRangeByIDs(third->First()->Id, third->Last()->Id);
  EXPECT_EQ(Selected(f.Editor), "fg");
  EXPECT_EQ(Marks(f.Editor), "abcdeFGhi");
  f.Editor->SelectAll();
  EXPECT_EQ(Marks(f.Editor), "ABCDEFGHI");
  // Reset unmarks everything and forgets the range.
  selection->Reset();
  EXPECT_FALSE(selection->Active());
  EXPECT_EQ(Marks(f.Editor), "abcdefghi");
  selection->UpdateFromMarks(true);
  EXPECT_FALSE(selection->Active());
}

// The characters of the page's body in document order, with their ids.
struct PageText {
  std::u16string Text;
  std::vector<uint32_t> Ids;
};

PageText BodyText(TpsHTMLEdit* aEditor) {
  PageText page;
  for (htmlview::TpsTextNode* line : Lines(aEditor))
    for (const htmldoc::TpsChunkElement* e = line->GetLineChunk()->First(); e; e = e->Next)
      if (e->Kind == htmldoc::ceChar) {
        page.Text += e->Char;
        page.Ids.push_back(e->Id);
      }
  return page;
}

TEST(EditorSelection, FindTextOverAManualPageFindsWhatAPlainSearchFinds) {
  const std::string path = "/usr/share/doc/apache2-doc/manual/en/bind.html";
  if (!rtl::FileExists(path)) GTEST_SKIP() << "apache2-doc is not installed";
  EditorOnForm f(700, 500);
  rtl::TFileStream file(path, rtl::fmOpenRead);
  rtl::TMemoryStream bytes;
  bytes.LoadFromStream(file);
  f.Editor->LoadFromStream(bytes, true, true);
  const std::string before = f.Body();
  const PageText page = BodyText(f.Editor);
  for (const std::string& word : {std::string("Listen"), std::string("IPv6"), std::string("port")}) {
    const std::u16string needle(word.begin(), word.end());
    std::vector<size_t> expected;
    for (size_t at = page.Text.find(needle); at != std::u16string::npos; at = page.Text.find(needle, at + 1))
      expected.push_back(at);
    ASSERT_FALSE(expected.empty()) << word;
    // Forward from the document start, then on from the caret.
    std::vector<uint32_t> found;
    for (bool more = f.Editor->FindText(word, false, true, true); more;
         more = f.Editor->FindText(word, true, true, true)) {
      EXPECT_EQ(Selected(f.Editor), word);
      found.push_back(f.Editor->Selection()->Range().StartElementID);
      ASSERT_LE(found.size(), expected.size() + 1) << word;
    }
    std::vector<uint32_t> expectedIds;
    for (size_t at : expected) expectedIds.push_back(page.Ids[at]);
    EXPECT_EQ(found, expectedIds) << word;
    // Not found: false and no selection.
    EXPECT_FALSE(f.Editor->HasTextSelection());
    // Backward from the last match's end finds them in reverse.
    std::vector<uint32_t> back;
    f.Editor->FindText(word, false, true, true);
    while (f.Editor->FindText(word, true, true, true)) {
    }
    // The caret stands after the last match: backwards from there.
    for (bool more = f.Editor->FindText(word, true, true, false); more;
         more = f.Editor->FindText(word, true, true, false)) {
      EXPECT_EQ(Selected(f.Editor), word);
      back.push_back(f.Editor->Selection()->Range().StartElementID);
      ASSERT_LE(back.size(), expected.size() + 1) << word;
    }
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back, expectedIds) << word;
  }
  // Case: without matching case "listen" finds the capitalised ones too.
  ASSERT_TRUE(f.Editor->FindText("lISTEN", false, false, true));
  std::string first = Selected(f.Editor);
  std::transform(first.begin(), first.end(), first.begin(), ::tolower);
  EXPECT_EQ(first, "listen");
  EXPECT_FALSE(f.Editor->FindText("no such text anywhere", false, true, true));
  EXPECT_FALSE(f.Editor->HasTextSelection());
  // Searching changes nothing on the page.
  EXPECT_EQ(f.Body(), before);
}

}  // namespace
