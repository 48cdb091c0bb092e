// Line objects: growth, removal of items and words, owned object items,
// the measures read from the items, and smart-tag fragments.
#include <gtest/gtest.h>

#include <climits>

#include "htmledit/view/psDocumentNode.h"
#include "htmledit/view/psLineObjects.h"

namespace {

using namespace htmlview;
using htmldoc::TpsChunkElement;

// A wrapper that counts its destructions.
class CountedSkin : public TpsSkinNode {
 public:
  explicit CountedSkin(Integer* aDeaths) : TpsSkinNode(nullptr), Deaths(aDeaths) {}
  ~CountedSkin() override { ++*Deaths; }
  Integer* Deaths;
};

// Characters of a text, each with an element the test owns; a blank starts
// the next word (as the text node adds them: no item for the blank).
struct Chars {
  explicit Chars(const std::u16string& aText) {
    for (char16_t c : aText) {
      Elements.push_back(std::make_unique<TpsChunkElement>());
      Elements.back()->Kind = htmldoc::ceChar;
      Elements.back()->Char = c;
    }
  }
  // Adds the non-blank characters as text items, 10 wide, 15 high, descent 3.
  void AddTo(TpsLineObjects& aLines) {
    bool start = true;
    Integer x = 0;
    for (auto& e : Elements) {
      if (e->Char == u' ') {
        start = true;
        x += 5;
        continue;
      }
      aLines.AddTextItem(x, 0, e.get(), 0, 0, 3, start, 15, 10);
      start = false;
      x += 10;
    }
  }
  std::vector<std::unique_ptr<TpsChunkElement>> Elements;
};

TEST(LineObjects, TheThirtyThirdItemGrowsTheCapacityByEight) {
  TpsLineObjects lines(false);
  EXPECT_EQ(lines.Capacity(), 32);
  for (Integer i = 0; i < 32; ++i) lines.AddTextItem(-1, -1, nullptr, 0, 0, 0, false, 1, 1);
  EXPECT_EQ(lines.Capacity(), 32);
  lines.AddObjectItem(-1, -1, nullptr, 1, 1);
  EXPECT_EQ(lines.Capacity(), 40);
  EXPECT_EQ(lines.Count(), 33);
  EXPECT_EQ(lines.TextCount(), 32);
  EXPECT_EQ(lines.ObjectCount(), 1);
  lines.Trim();
  EXPECT_EQ(lines.Capacity(), 33);
  lines.Clear();
  EXPECT_EQ(lines.Capacity(), 0);
  EXPECT_EQ(lines.Count(), 0);
  // A cleared list grows again from nothing.
  lines.AddTextItem(0, 0, nullptr, 0, 0, 0, true, 1, 1);
  EXPECT_EQ(lines.Capacity(), 8);
  EXPECT_EQ(lines.TextCount(), 1);
}

TEST(LineObjects, KindsAreCountedAndFoundByIndex) {
  TpsLineObjects lines(false);
  lines.AddTextItem(0, 0, nullptr, 0, 0, 0, true, 1, 1);
  lines.AddObjectItem(1, 0, nullptr, 1, 1);
  lines.AddTextItem(2, 0, nullptr, 0, 0, 0, false, 1, 1);
  lines.AddObjectItem(3, 0, nullptr, 1, 1);
  struct Row {
    Byte kind;
    Integer n, index;
  };
  for (const Row& r : {Row{loText, 0, 0}, Row{loText, 1, 2}, Row{loText, 2, -1}, Row{loObject, 0, 1},
                       Row{loObject, 1, 3}, Row{loObject, 2, -1}})
    EXPECT_EQ(lines.IndexOfKind(r.kind, r.n), r.index) << int(r.kind) << " " << r.n;
  EXPECT_EQ(lines.NextOfKind(loText, 1), 2);
  EXPECT_EQ(lines.NextOfKind(loText, 3), -1);
  EXPECT_EQ(lines.NextOfKind(loObject, 0), 1);
  EXPECT_EQ(lines.GetTextItem(1)->X, 2);
  EXPECT_EQ(lines.GetObjectItem(1)->X, 3);
  EXPECT_EQ(lines.GetObjectItem(2), nullptr);
  EXPECT_EQ(lines.LastTextItem()->X, 2);
  TpsLineObjects empty(false);
  EXPECT_EQ(empty.LastTextItem(), nullptr);
}

TEST(LineObjects, RemoveLastWordLeavesTheWordsBefore) {
  Chars ab(u"ab cd");
  TpsLineObjects lines(false);
  ab.AddTo(lines);
  lines.RemoveLastWord();
  ASSERT_EQ(lines.TextCount(), 2);
  EXPECT_EQ(lines.GetTextItem(0)->Element->Char, u'a');
  EXPECT_EQ(lines.GetTextItem(1)->Element->Char, u'b');

  Chars one(u"word");
  TpsLineObjects single(false);
  one.AddTo(single);
  single.RemoveLastWord();
  EXPECT_EQ(single.TextCount(), 0);
  // Nothing left: nothing happens.
  single.RemoveLastWord();
  EXPECT_EQ(single.Count(), 0);
}

TEST(LineObjects, OwnedObjectItemsAreFreedOnce) {
  Integer deaths = 0;
  {
    TpsLineObjects lines(true);
    lines.AddObjectItem(0, 0, new CountedSkin(&deaths), 10, 10);
    lines.AddTextItem(10, 0, nullptr, 0, 0, 0, true, 10, 10);
    lines.AddObjectItem(20, 0, new CountedSkin(&deaths), 10, 10);
    lines.RemoveItem(0);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(lines.ObjectCount(), 1);
    EXPECT_EQ(lines.GetItem(0).Kind, loText);
    EXPECT_EQ(lines.GetItem(1).X, 20);
    lines.Clear();
    EXPECT_EQ(deaths, 2);
  }
  // The destructor's clear finds nothing more to free.
  EXPECT_EQ(deaths, 2);

  // Not owned: the caller keeps its nodes.
  Integer kept = 0;
  CountedSkin node(&kept);
  {
    TpsLineObjects lines(false);
    lines.AddObjectItem(0, 0, &node, 1, 1);
    lines.RemoveItem(0);
    lines.AddObjectItem(0, 0, &node, 1, 1);
  }
  EXPECT_EQ(kept, 0);
}

TEST(LineObjects, MeasuresReadFromTheItems) {
  TpsLineObjects lines(false);
  Integer top = 0, bottom = 0;
  lines.GetVerticalExtent(top, bottom);
  EXPECT_EQ(top, INT_MAX);
  EXPECT_EQ(bottom, -1);
  EXPECT_EQ(lines.MaxTextHeight(), 0);
  EXPECT_EQ(lines.MaxDescent(), 0);

  // x, y, descent, height, width; an object between the two words.
  lines.AddTextItem(0, 4, nullptr, 0, 0, 3, true, 15, 8);
  lines.AddTextItem(8, 2, nullptr, 0, 0, 5, false, 20, 7);
  lines.AddObjectItem(15, 0, nullptr, 40, 30);
  lines.AddTextItem(50, 0, nullptr, 0, 0, 3, true, 15, 9);
  lines.AddTextItem(59, 0, nullptr, 0, 0, 3, false, 15, 9);
  EXPECT_EQ(lines.MaxTextHeight(), 20);  // the object's 40 does not count
  EXPECT_EQ(lines.MaxDescent(), 5);
  lines.GetVerticalExtent(top, bottom);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(bottom, 21);
  EXPECT_EQ(lines.LastItemOfWord(0), 1);  // stops before the object
  EXPECT_EQ(lines.LastItemOfWord(3), 4);  // runs to the end
  EXPECT_EQ(lines.SpanWidth(0, 2), 45);
  Integer l = 0, r = 0;
  lines.GetTextItemHorizontalRange(2, l, r);
  EXPECT_EQ(l, 50);
  EXPECT_EQ(r, 58);
  lines.GetTextRange(0, 3, l, r);
  EXPECT_EQ(l, 0);
  EXPECT_EQ(r, 67);
  const TpsRect rect = lines.GetTextItemRect(1);
  EXPECT_EQ(rect.Left, 8);
  EXPECT_EQ(rect.Top, 2);
  EXPECT_EQ(rect.Right, 14);
  EXPECT_EQ(rect.Bottom, 21);
  EXPECT_EQ(lines.GapAfterTextItem(0), 0);
  EXPECT_EQ(lines.GapAfterTextItem(1), 35);

  lines.ShiftX(1, 3, 4);  // text items only
  EXPECT_EQ(lines.GetItem(0).X, 0);
  EXPECT_EQ(lines.GetItem(1).X, 12);
  EXPECT_EQ(lines.GetItem(2).X, 15);
  EXPECT_EQ(lines.GetItem(3).X, 54);
  EXPECT_EQ(lines.GetItem(4).X, 59);
  lines.ShiftX(3, 1, 100);  // reversed: nothing
  lines.ShiftX(0, 4, 0);
  EXPECT_EQ(lines.GetItem(3).X, 54);
}

TEST(LineObjects, StrikeAndBaseline) {
  struct Row {
    Integer y, height, descent, strike, baseline;
  };
  for (const Row& r : {Row{0, 15, 3, 7, 11}, Row{10, 16, 4, 17, 21}, Row{0, 1, 0, 1, 0}, Row{5, 10, 10, 6, 4}}) {
    TpsLineObjects lines(false);
    lines.AddTextItem(0, r.y, nullptr, 0, 0, r.descent, true, r.height, 5);
    EXPECT_EQ(lines.GetStrikeY(0), r.strike) << r.height << "/" << r.descent;
    EXPECT_EQ(lines.GetBaselineY(0), r.baseline) << r.height << "/" << r.descent;
  }
}

// Marks by character: '.' none, a digit the mark id.
std::vector<std::tuple<Integer, Integer, Integer>> Fragments(const std::u16string& aText, const std::string& aMarks) {
  Chars chars(aText);
  for (size_t i = 0; i < aMarks.size(); ++i) {
    if (aMarks[i] == '.') continue;
    chars.Elements[i]->SmartTag.Marked = true;
    chars.Elements[i]->SmartTag.MarkId = aMarks[i] - '0';
  }
  TpsLineObjects lines(false);
  chars.AddTo(lines);
  lines.AddObjectItem(500, 0, nullptr, 10, 10);  // objects are passed over
  TpsSmartTagFragments fragments(lines);
  std::vector<std::tuple<Integer, Integer, Integer>> out;  // left, right, id
  for (Integer i = 0; i < fragments.Count(); ++i) {
    const TpsSmartTagFragment* f = fragments.GetFragment(i);
    EXPECT_EQ(f->Top, 0);
    EXPECT_EQ(f->Bottom, 14);
    out.emplace_back(f->Left, f->Right, f->Mark.MarkId);
  }
  EXPECT_EQ(fragments.GetFragment(fragments.Count()), nullptr);
  EXPECT_EQ(fragments.GetFragment(-1), nullptr);
  return out;
}

TEST(LineObjects, SmartTagFragments) {
  using F = std::vector<std::tuple<Integer, Integer, Integer>>;
  // No marked character: no fragment.
  EXPECT_EQ(Fragments(u"abc de", "......"), F{});
  // One mark over a word.
  EXPECT_EQ(Fragments(u"abc de", "111..."), (F{{0, 29, 1}}));
  // Two adjacent marks of different ids: two fragments, the second from
  // its own first character, even a single one.
  EXPECT_EQ(Fragments(u"abc", "112"), (F{{0, 19, 1}, {20, 29, 2}}));
  // A mark across a blank stays one fragment (the blank has no item).
  EXPECT_EQ(Fragments(u"ab cd", "11111"), (F{{0, 44, 1}}));
  // An unmarked character closes the fragment; the same id later opens
  // another.
  EXPECT_EQ(Fragments(u"abcde", "11.11"), (F{{0, 19, 1}, {30, 49, 1}}));
  // Marked up to the last character: closed at the end.
  EXPECT_EQ(Fragments(u"abc", "..3"), (F{{20, 29, 3}}));
}

}  // namespace
