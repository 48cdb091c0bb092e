// The node list: elements and ids, link primitives, finders and tests, the
// focus stack and the block navigation, each case one fixture line in and
// one out, with Check() after every operation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "../support/ChunkFixture.h"
#include "htmledit/doc/psDataChunk.h"
#include "rtl/Process.h"

extern char** environ;

using namespace htmldoc;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;
using htmldoc::testing::At;
using htmldoc::testing::Shown;

TEST(ChunkFixture, ReadsAndDumpsEveryKind) {
  const char* const fixtures[] = {
      "<p>ab|c</p>",
      "<p class=\"x\">[a<b>b</b>]c@M101@d</p>",
      "x~\u00a0y&amp;&eacute;&euro;\\<\\|\\@\\[\\]\\~\\&\\{\\}\\#\\\\",
      "{c:<!-- a -->}{t:<!DOCTYPE html>}{s:p \\} q}#<br />",
      "\xF0\x9F\x98\x80 &#128512;",
      "",
  };
  for (const char* fixture : fixtures) {
    auto chunk = ReadFixture(fixture);
    EXPECT_NO_THROW(chunk->Check());
    EXPECT_EQ(DumpFixture(*chunk), fixture);
  }
  auto chunk = ReadFixture("[ab]~ &amp;");
  EXPECT_TRUE(chunk->First()->Selected);
  EXPECT_TRUE(chunk->Last()->Prev->Placeholder);
  EXPECT_TRUE(chunk->Last()->FromEntity);
  EXPECT_EQ(chunk->Last()->Char, u'&');
  EXPECT_THROW(ReadFixture("<p"), std::invalid_argument);
  EXPECT_THROW(ReadFixture("&bogus;"), std::invalid_argument);
}

TEST(ChunkElements, IdsCopiesAndFreeing) {
  const uint32_t first = NextElementId();
  EXPECT_EQ(NextElementId(), first + 1);
  TpsChunkElement* fresh = NewElement();
  EXPECT_EQ(fresh->Id, first + 2);
  TpsChunkElement* given = NewElement(4711);
  EXPECT_EQ(given->Id, 4711u);
  FreeElement(fresh);
  FreeElement(given);
  FreeElement(nullptr);

  auto chunk = ReadFixture("<p>a#{c:x}@M3@|</p>");
  chunk->First()->Next->SmartTag.Marked = true;
  chunk->First()->Next->SmartTag.MarkId = 9;
  chunk->First()->Next->Placeholder = true;
  auto copy = chunk->Clone(false);
  EXPECT_NO_THROW(copy->Check());
  EXPECT_EQ(DumpFixture(*copy), "<p>~a#{c:x}@M3@|</p>");
  for (TpsChunkElement *a = chunk->First(), *b = copy->First(); a; a = a->Next, b = b->Next) {
    EXPECT_EQ(a->Id, b->Id);
    if (a->Kind == ceTag) {
      EXPECT_NE(a->Tag, b->Tag);
    }
    if (a->Kind == ceNode) {
      EXPECT_EQ(a->Node, b->Node);
    }
  }
  EXPECT_TRUE(HasSmartTagMark(copy->First()->Next->SmartTag));
  TpsChunkElement* renewed = CloneElement(chunk->First(), true);
  EXPECT_NE(renewed->Id, chunk->First()->Id);
  FreeElement(renewed);
  TpsSmartTagMark mark{nullptr, 3, true};
  InitSmartTagMark(mark);
  EXPECT_FALSE(HasSmartTagMark(mark));

  // The embedded node outlives its element.
  TpsChunkElement* node = NewNodeElement(htmldoc::testing::SharedStandInNode());
  FreeElement(node);
  EXPECT_NE(htmldoc::testing::SharedStandInNode(), nullptr);
  auto cleared = ReadFixture("[ab]").release();
  auto unselected = cleared->Clone(true);
  EXPECT_EQ(DumpFixture(*unselected), "ab");
  delete cleared;
  EXPECT_TRUE(IsChunkEmpty(nullptr));
}

// The first element a process makes has id 1. Other tests have made
// elements by now, so the test runs itself again as a fresh process that
// makes one element before anything else.
TEST(ChunkElements, FirstElementOfAProcessHasIdOne) {
  if (std::getenv("TOLVANE_FIRST_ID_PROBE")) {
    TpsChunkElement* first = NewElement();
    TpsChunkElement* second = NewElement(0);
    EXPECT_EQ(first->Id, 1u);
    EXPECT_EQ(second->Id, 2u);
    EXPECT_EQ(NextElementId(), 3u);
    FreeElement(first);
    FreeElement(second);
    return;
  }
  rtl::TProcessOptions options;
  options.Program = "/proc/self/exe";
  options.Arguments = {"--gtest_filter=ChunkElements.FirstElementOfAProcessHasIdOne"};
  std::vector<AnsiString> environment;
  // The probe runs whole: a shard or filter the runner gave this process
  // must not pass it by.
  for (char** entry = environ; *entry; ++entry)
    if (std::strncmp(*entry, "GTEST_", 6) != 0) environment.emplace_back(*entry);
  environment.emplace_back("TOLVANE_FIRST_ID_PROBE=1");
  options.Environment = environment;
  options.CaptureOutput = true;
  AnsiString out, err;
  const auto exitCode = rtl::RunProgram(options, &out, &err);
  EXPECT_EQ(exitCode, 0u) << out << err;
  EXPECT_NE(out.find("[  PASSED  ] 1 test"), AnsiString::npos) << out;
}

// Several threads making elements at once get distinct ids.
TEST(ChunkElements, IdsAreDistinctAcrossThreads) {
  constexpr int kThreads = 4, kEach = 20000;
  std::vector<std::vector<uint32_t>> ids(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&ids, t] {
      for (int i = 0; i < kEach; ++i) {
        TpsChunkElement* e = NewCharacterElement(u'x');
        ids[t].push_back(e->Id);
        FreeElement(e);
      }
    });
  for (auto& thread : threads) thread.join();
  std::unordered_set<uint32_t> all;
  for (const auto& list : ids)
    for (uint32_t id : list) EXPECT_TRUE(all.insert(id).second) << id;
  EXPECT_EQ(all.size(), static_cast<size_t>(kThreads * kEach));
}

TEST(ChunkLinks, PrimitivesKeepTheList) {
  struct Case {
    const char* name;
    const char* before;
    void (*operation)(TpsDataChunk&);
    const char* after;
  };
  const Case cases[] = {
      {"remove the only", "a", [](TpsDataChunk& c) { c.RemoveElement(c.First(), true); }, ""},
      {"remove the first", "abc", [](TpsDataChunk& c) { c.RemoveElement(c.First(), true); }, "bc"},
      {"remove the last", "abc", [](TpsDataChunk& c) { c.RemoveElement(c.Last(), true); }, "ab"},
      {"remove an inner", "abc", [](TpsDataChunk& c) { c.RemoveAndNext(At(c, "b"), true); }, "ac"},
      {"insert before the first", "bc", [](TpsDataChunk& c) { c.InsertCharacter(u'a', c.First(), false); }, "abc"},
      {"insert after the last", "ab", [](TpsDataChunk& c) { c.InsertCharacter(u'c', c.Last(), true); }, "abc"},
      {"prepend", "b", [](TpsDataChunk& c) { c.PrependElement(NewCharacterElement(u'a')); }, "ab"},
      {"delete a range", "abcde", [](TpsDataChunk& c) { c.DeleteRange(At(c, "b"), At(c, "d")); }, "ae"},
      {"delete everything", "abc", [](TpsDataChunk& c) { c.DeleteRange(c.First(), c.Last()); }, ""},
      {"move a range", "abcde", [](TpsDataChunk& c) { c.MoveRange(At(c, "a"), At(c, "b"), At(c, "e"), true); },
       "cdeab"},
      {"move after itself", "abc", [](TpsDataChunk& c) { c.MoveElementAfter(At(c, "b"), At(c, "b")); }, "abc"},
      {"move before itself", "abc", [](TpsDataChunk& c) { c.MoveElementBefore(At(c, "b"), At(c, "b")); }, "abc"},
      {"move after the last", "abc", [](TpsDataChunk& c) { c.MoveElementAfter(At(c, "a"), c.Last()); }, "bca"},
      {"move before the first", "abc", [](TpsDataChunk& c) { c.MoveElementBefore(At(c, "c"), c.First()); }, "cab"},
      {"extract the middle",
       "abcde",
       [](TpsDataChunk& c) {
         auto part = c.Extract(At(c, "b"), At(c, "d"));
         EXPECT_EQ(DumpFixture(*part), "bcd");
         EXPECT_NO_THROW(part->Check());
       },
       "ae"},
      {"extract everything", "abc", [](TpsDataChunk& c) { c.ExtractFromStart(c.Last()); }, ""},
      {"insert an empty list", "ab",
       [](TpsDataChunk& c) {
         TpsDataChunk empty;
         c.InsertChunk(empty, c.First(), true);
       },
       "ab"},
      {"insert a list at nil", "ab",
       [](TpsDataChunk& c) {
         auto source = ReadFixture("<b>x</b>");
         c.InsertChunk(*source, nullptr, true);
         EXPECT_TRUE(source->IsEmpty());
       },
       "ab<b>x</b>"},
      {"insert a list before", "ab",
       [](TpsDataChunk& c) {
         auto source = ReadFixture("xy");
         c.InsertChunk(*source, At(c, "b"), false);
       },
       "axyb"},
      {"prepend a list", "ab",
       [](TpsDataChunk& c) {
         auto source = ReadFixture("xy");
         c.PrependChunk(*source);
       },
       "xyab"},
      {"insert into an empty list", "",
       [](TpsDataChunk& c) {
         auto source = ReadFixture("xy");
         c.InsertChunk(*source, nullptr, false);
       },
       "xy"},
      {"append a copy", "a",
       [](TpsDataChunk& c) {
         auto source = ReadFixture("xy");
         c.AppendCopyOf(*source);
       },
       "axy"},
      {"typed insertions", "ab",
       [](TpsDataChunk& c) {
         c.InsertTag(TpsHtmlTag::CreateFromText(nullptr, "<b>"), c.First(), false);
         c.InsertIgnoreElement(std::make_unique<TpsCommentIgnoreElement>("<!--c-->"), c.Last(), true);
         c.PrependTag(TpsHtmlTag::CreateFromText(nullptr, "<p>"));
         c.AddTag(TpsHtmlTag::CreateFromText(nullptr, "</p>"));
         c.AppendCursor();
         c.AddMarker(5);
       },
       "<p><b>ab{c:<!--c-->}</p>|@M5@"},
  };
  for (const auto& c : cases) {
    auto chunk = ReadFixture(c.before);
    c.operation(*chunk);
    EXPECT_NO_THROW(chunk->Check()) << c.name;
    EXPECT_EQ(DumpFixture(*chunk), c.after) << c.name;
  }
}

TEST(ChunkLinks, CheckFindsBrokenLists) {
  auto chunk = ReadFixture("abc");
  chunk->First()->Next->Prev = nullptr;
  EXPECT_THROW(chunk->Check(), EpsHtmlEditException);
  chunk->First()->Next->Prev = chunk->First();
  chunk->AppendCursor();
  chunk->AppendCursor();
  EXPECT_THROW(chunk->Check(), EpsHtmlEditException);
  chunk->RemoveElement(chunk->Last(), true);
  chunk->AddElement(NewElement(chunk->First()->Id));
  EXPECT_THROW(chunk->Check(), EpsHtmlEditException);
  chunk->RemoveElement(chunk->Last(), true);
  EXPECT_NO_THROW(chunk->Check());
  EXPECT_THROW(chunk->Check(1), EpsHtmlEditException);

  struct Case {
    const char* fixture;
    bool balanced;
  };
  const Case pairs[] = {{"<p><b>a<i>b</i></b></p>", true},  {"<p><b>a<i>b</b></i></p>", false},
                        {"<p><b>a</p><p>b</b></p>", false}, {"<p><b>a</p>", false},
                        {"<p>a</b></p>", false},            {"<p>a<br />b</p>", true}};
  for (const auto& c : pairs) {
    auto list = ReadFixture(c.fixture);
    EXPECT_NO_THROW(list->Check());
    if (c.balanced) {
      EXPECT_NO_THROW(list->Check(0, true)) << c.fixture;
    } else {
      EXPECT_THROW(list->Check(0, true), EpsHtmlEditException) << c.fixture;
    }
  }
}

// Each invariant Check() guards, broken on its own: the message names it.
// Every row mends the list again before it is freed.
TEST(ChunkLinks, CheckNamesEachBrokenInvariant) {
  using Change = void (*)(TpsDataChunk&);
  struct Case {
    const char* message;
    Change breakIt;
    Change mendIt;
  };
  const Case cases[] = {
      {"the first element has a predecessor", [](TpsDataChunk& c) { c.First()->Prev = c.Last(); },
       [](TpsDataChunk& c) { c.First()->Prev = nullptr; }},
      {"the last element has a successor", [](TpsDataChunk& c) { c.Last()->Next = c.First(); },
       [](TpsDataChunk& c) { c.Last()->Next = nullptr; }},
      {"the list runs in a cycle", [](TpsDataChunk& c) { At(c, "c")->Next = At(c, "b"); },
       [](TpsDataChunk& c) { At(c, "c")->Next = c.Last(); }},
      {"does not link back", [](TpsDataChunk& c) { c.Last()->Prev = c.First(); },
       [](TpsDataChunk& c) { c.Last()->Prev = At(c, "c"); }},
      {"the last element is not the list's end", [](TpsDataChunk& c) { At(c, "c")->Next = nullptr; },
       [](TpsDataChunk& c) { At(c, "c")->Next = c.Last(); }},
      {"an element has id 0", [](TpsDataChunk& c) { At(c, "b")->Id = 0; },
       [](TpsDataChunk& c) { c.First()->Next->Id = NextElementId(); }},
      {"has no tag",
       [](TpsDataChunk& c) {
         c.First()->Next->Kind = ceTag;
         c.First()->Next->Tag = nullptr;
       },
       [](TpsDataChunk& c) {
         c.First()->Next->Kind = ceChar;
         c.First()->Next->Char = u'b';
       }},
      {"has no content",
       [](TpsDataChunk& c) {
         c.First()->Next->Kind = ceIgnore;
         c.First()->Next->Content = nullptr;
       },
       [](TpsDataChunk& c) {
         c.First()->Next->Kind = ceChar;
         c.First()->Next->Char = u'b';
       }},
      {"has no node",
       [](TpsDataChunk& c) {
         c.First()->Next->Kind = ceNode;
         c.First()->Next->Node = nullptr;
       },
       [](TpsDataChunk& c) {
         c.First()->Next->Kind = ceChar;
         c.First()->Next->Char = u'b';
       }},
      {"has kind 9", [](TpsDataChunk& c) { c.First()->Next->Kind = static_cast<TpsChunkElementKind>(9); },
       [](TpsDataChunk& c) { c.First()->Next->Kind = ceChar; }},
  };
  for (const auto& c : cases) {
    auto chunk = ReadFixture("abcd");
    c.breakIt(*chunk);
    try {
      chunk->Check();
      ADD_FAILURE() << "no complaint: " << c.message;
    } catch (const EpsHtmlEditException& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
    c.mendIt(*chunk);
    EXPECT_NO_THROW(chunk->Check()) << c.message;
    EXPECT_EQ(DumpFixture(*chunk), "abcd") << c.message;
  }
}

TEST(ChunkFinders, FindersAndTests) {
  auto c = ReadFixture("<p id=\"Top\">a <a name=\"n\">b</a>|\u00a0\t<img src=\"x\" /></p><br />#{s:x}@M2@");
  EXPECT_EQ(Shown(c->FindElementOfKind(ceTag, false, nullptr)), "<br />");
  EXPECT_EQ(Shown(c->FindElementOfKind(ceTag, true, c->First())), "<p id=\"Top\">");
  EXPECT_EQ(Shown(c->FindContentElement(c->GetCursor(), true)), "\u00a0");
  EXPECT_EQ(Shown(c->FindElementOfKinds(TpsChunkElementKinds{ceMarker, ceIgnore}, true, nullptr)), "{s:x}");
  EXPECT_EQ(c->FindElementById(c->Last()->Id), c->Last());
  EXPECT_EQ(c->FindElementById(0), nullptr);
  EXPECT_EQ(c->FirstOfIds(c->Last()->Id, c->First()->Id), c->First()->Id);
  EXPECT_EQ(c->FirstOfIds(0xFFFFFFF0u, 0xFFFFFFF1u), 0u);
  TpsChunkElement* link = c->FindTag(TAG_A, ttOpening, nullptr, true);
  EXPECT_EQ(c->FindTag(TAG_A, ttOpening, link, true), link);  // includes its start
  EXPECT_EQ(Shown(c->FindTagOfCode(TAG_A, nullptr, false)), "</a>");
  EXPECT_EQ(c->FindTagById("Top"), c->First());
  EXPECT_EQ(c->FindTagById("top"), nullptr);
  EXPECT_EQ(c->FindAnchorByName("n"), link);
  EXPECT_EQ(TpsDataChunk().GetFirstElementId(), 0u);
  EXPECT_EQ(c->GetFirstElementId(), c->First()->Id);
  EXPECT_TRUE(c->HasCursor());

  TpsChunkElement* nbsp = c->GetCursor()->Next;
  EXPECT_TRUE(TpsDataChunk::IsBlank(nbsp));
  EXPECT_FALSE(TpsDataChunk::IsSpaceOrTab(nbsp));
  EXPECT_TRUE(TpsDataChunk::IsNonBlankCharacter(nbsp));
  EXPECT_TRUE(TpsDataChunk::IsSpaceOrTab(nbsp->Next));
  EXPECT_TRUE(TpsDataChunk::IsWordCharacterElement(At(*c, "a")));
  EXPECT_FALSE(TpsDataChunk::IsWordCharacterElement(nbsp));
  EXPECT_TRUE(TpsDataChunk::IsEmptyTag(At(*c, "<img src=\"x\" />")));
  EXPECT_TRUE(TpsDataChunk::IsImageTag(At(*c, "<img src=\"x\" />")));
  EXPECT_FALSE(TpsDataChunk::IsInlineTag(At(*c, "<img src=\"x\" />")));
  EXPECT_TRUE(TpsDataChunk::IsInlineOpenTag(link));
  EXPECT_TRUE(TpsDataChunk::IsInlineCloseTag(At(*c, "</a>")));
  EXPECT_TRUE(TpsDataChunk::IsBlockOpenTag(c->First()));
  EXPECT_TRUE(TpsDataChunk::IsBlockCloseTag(At(*c, "</p>")));
  EXPECT_FALSE(TpsDataChunk::IsBlockTag(At(*c, "<br />")));
  EXPECT_TRUE(TpsDataChunk::IsFirstCharacter(At(*c, "a")));
  EXPECT_FALSE(TpsDataChunk::IsFirstCharacter(At(*c, "b")));
  EXPECT_TRUE(TpsDataChunk::IsLastCharacter(nbsp->Next));
  EXPECT_TRUE(TpsDataChunk::IsEmbeddedNode(At(*c, "<br />")->Next));
  for (auto* test : {&TpsDataChunk::IsTagElement, &TpsDataChunk::IsCharacterElement, &TpsDataChunk::IsBlank,
                     &TpsDataChunk::IsInlineTag, &TpsDataChunk::IsCustomTag, &TpsDataChunk::IsFirstCharacter})
    EXPECT_FALSE(test(nullptr));
  EXPECT_TRUE(TpsDataChunk::IsListOpenTag(ReadFixture("<ol>")->First()));
  EXPECT_TRUE(TpsDataChunk::IsTableTag(ReadFixture("</th>")->First()));
  EXPECT_TRUE(TpsDataChunk::IsCustomCloseTag(ReadFixture("</@cust>")->First()));
  EXPECT_TRUE(IsTextBlockCode(TAG_TD));
  EXPECT_FALSE(IsTextBlockCode(TAG_UL));

  // Styles reset on every tag.
  TpsStyleSheet sheet;
  auto styled = ReadFixture("<p class=\"a\">x</p>", htmldoc::testing::SheetEvents(sheet));
  styled->First()->Tag->GetClassStyleId();
  styled->InvalidateTagStyles();
  EXPECT_EQ(styled->First()->Tag->CachedClassStyleId(), psStyleIdNotAsked);
  EXPECT_EQ(TpsDataChunk::CopyTag(styled->First())->GetText(), "<p class=\"a\">");
}

TEST(ChunkFocus, FocusAndUnfocus) {
  struct Case {
    const char* name;
    const char* before;
    void (*operation)(TpsDataChunk&);
    const char* after;
  };
  const Case cases[] = {
      {"delete the range's first", "abcde",
       [](TpsDataChunk& c) {
         ASSERT_TRUE(c.Focus(At(c, "b"), At(c, "d")));
         c.RemoveElement(c.First(), true);
         EXPECT_NO_THROW(c.Check(1));
         c.Unfocus();
       },
       "acde"},
      {"delete all of the range", "abcde",
       [](TpsDataChunk& c) {
         c.Focus(At(c, "b"), At(c, "d"));
         c.DeleteRange(c.First(), c.Last());
         c.Unfocus();
       },
       "ae"},
      {"empty a range at the start", "abc",
       [](TpsDataChunk& c) {
         c.Focus(At(c, "a"), At(c, "b"));
         c.DeleteRange(c.First(), c.Last());
         c.Unfocus();
       },
       "c"},
      {"empty a range at the end", "abc",
       [](TpsDataChunk& c) {
         c.Focus(At(c, "b"), At(c, "c"));
         c.DeleteRange(c.First(), c.Last());
         c.Unfocus();
       },
       "a"},
      {"empty the whole list", "abc",
       [](TpsDataChunk& c) {
         c.Focus(c.First(), c.Last());
         c.DeleteRange(c.First(), c.Last());
         c.Unfocus();
       },
       ""},
      {"nested focuses", "abcdefg",
       [](TpsDataChunk& c) {
         c.Focus(At(c, "b"), At(c, "f"));
         c.Focus(At(c, "c"), At(c, "e"));
         EXPECT_EQ(DumpFixture(c), "cde");
         EXPECT_NO_THROW(c.Check(2));
         c.InsertCharacter(u'X', c.Last(), true);
         c.Unfocus();
         c.InsertCharacter(u'Y', c.First(), false);
         c.Unfocus();
       },
       "aYbcdeXfg"},
      {"focus with nil", "ab",
       [](TpsDataChunk& c) {
         EXPECT_FALSE(c.Focus(nullptr, c.Last()));
         EXPECT_NO_THROW(c.Check(0));
         c.Unfocus();  // nothing to undo
       },
       "ab"},
      {"block of a character outside blocks", "ab<p>c</p>",
       [](TpsDataChunk& c) {
         EXPECT_FALSE(c.TryFocusBlock(At(c, "a")));
         EXPECT_TRUE(c.FocusBlock(At(c, "a")));
         EXPECT_EQ(DumpFixture(c), "ab<p>c</p>");
         c.Unfocus();
       },
       "ab<p>c</p>"},
      {"marked block", "<ul><li>a@M100@b</li></ul>",
       [](TpsDataChunk& c) {
         EXPECT_TRUE(c.FocusMarkedBlock(100));
         EXPECT_EQ(DumpFixture(c), "<li>a@M100@b</li>");
         c.Unfocus();
         EXPECT_TRUE(c.TryFocusMarkedBlock(100));
         c.Unfocus();
       },
       "<ul><li>a@M100@b</li></ul>"},
      {"cursor block and table", "<table><tr><td>a|</td></tr></table>",
       [](TpsDataChunk& c) {
         EXPECT_TRUE(c.FocusCursorBlock());
         EXPECT_EQ(DumpFixture(c), "<td>a|</td>");
         c.Unfocus();
         EXPECT_TRUE(c.FocusCursorTable());
         EXPECT_EQ(DumpFixture(c), "<table><tr><td>a|</td></tr></table>");
         c.Unfocus();
       },
       "<table><tr><td>a|</td></tr></table>"},
      {"selected elements", "<p>a[b<b>c]d</b></p>",
       [](TpsDataChunk& c) {
         EXPECT_TRUE(c.FocusSmallestBlockContainingAllSelectedElements());
         EXPECT_EQ(DumpFixture(c), "[b<b>c]");
         c.Unfocus();
       },
       "<p>a[b<b>c]d</b></p>"},
  };
  for (const auto& c : cases) {
    auto chunk = ReadFixture(c.before);
    c.operation(*chunk);
    EXPECT_NO_THROW(chunk->Check()) << c.name;
    EXPECT_EQ(DumpFixture(*chunk), c.after) << c.name;
  }
  auto chunk = ReadFixture("<p>a");
  EXPECT_THROW(chunk->FocusBlock(At(*chunk, "a")), EpsHtmlEditException);
  EXPECT_THROW(chunk->FocusMarkedBlock(7), EpsHtmlEditException);
  EXPECT_THROW(chunk->FocusSmallestBlockContainingAllSelectedElements(), EpsHtmlEditException);
  EXPECT_FALSE(chunk->FocusCursorBlock());
  EXPECT_NO_THROW(chunk->Check());
}

TEST(ChunkBlocks, Navigation) {
  auto c = ReadFixture("<body><p>a<b>b<b>c</b>d</b></p><ul><li>e|</li><li>f<ol><li>g</li></ol></li></ul><p>h</p></body>");
  TpsChunkElement* p = c->FindTag(TAG_P, ttOpening, nullptr, true);
  EXPECT_EQ(c->GetBlockStart(p), p);
  EXPECT_EQ(Shown(c->GetBlockStart(At(*c, "</p>"))), "<body>");
  EXPECT_EQ(c->GetBlockStart(At(*c, "c")), p);
  EXPECT_EQ(Shown(c->GetBlockEnd(At(*c, "c"))), "</p>");
  EXPECT_EQ(Shown(c->GetParentBlockStart(p)), "<body>");
  TpsChunkElement* outerB = At(*c, "<b>");
  EXPECT_EQ(c->FindPartnerTag(outerB, nullptr), At(*c, "</b>", 1));
  EXPECT_EQ(c->FindPartnerTag(At(*c, "</b>", 1), nullptr), outerB);
  EXPECT_EQ(c->FindPartnerTag(outerB, At(*c, "c")), nullptr);  // stopped before
  EXPECT_EQ(c->FindPartnerTag(At(*c, "<br />"), nullptr), nullptr);
  bool passed = false;
  TpsChunkElement* firstLi = At(*c, "<li>");
  c->FindPartnerTagEx(firstLi, nullptr, passed);
  EXPECT_TRUE(passed);
  EXPECT_EQ(Shown(c->FindEnclosingTag(TAG_UL, ttOpening, At(*c, "g"), false)), "<ul>");
  EXPECT_EQ(Shown(c->FindEnclosingBlock(At(*c, "g"), TAG_UL)), "<ul>");
  EXPECT_EQ(c->FindEnclosingBlockWithin(At(*c, "g"), TAG_UL, 2), nullptr);
  EXPECT_EQ(Shown(c->FindEnclosingBlockWithin(At(*c, "g"), TAG_LI, 2)), "<li>");
  EXPECT_TRUE(c->IsInTextBlock(At(*c, "a")));
  EXPECT_FALSE(c->IsInTextBlock(At(*c, "<ul>")));
  EXPECT_EQ(Shown(c->FindBlockTag(At(*c, "a"), true)), "</p>");
  EXPECT_EQ(Shown(c->FindBlockOpenTag(At(*c, "a"), false)), "<p>");
  EXPECT_EQ(Shown(c->FindTextBlockTag(At(*c, "<ul>"), true)), "<li>");
  EXPECT_EQ(Shown(c->FindPreviousBlock(At(*c, "h"))), "<ul>");
  bool sameLevel = true;
  // From inside the last item of a list, the paragraph after it.
  EXPECT_EQ(Shown(c->FindNextBlock(At(*c, "g"), sameLevel)), "<p>");
  EXPECT_FALSE(sameLevel);
  EXPECT_EQ(Shown(c->FindNextBlock(At(*c, "e"), sameLevel)), "<li>");
  EXPECT_TRUE(sameLevel);
  EXPECT_EQ(Shown(c->FindListAroundCursor()), "<ul>");
  EXPECT_TRUE(c->IsInsideTag(At(*c, "c"), TAG_B));
  EXPECT_FALSE(c->IsInsideTag(At(*c, "e"), TAG_B));
  EXPECT_TRUE(c->IsCursorInsideTag(TAG_LI));
  EXPECT_TRUE(c->ContainsBlockTag(At(*c, "<ul>"), At(*c, "</ul>"), TAG_OL));
  EXPECT_FALSE(c->ContainsBlockTag(p, At(*c, "</p>"), TAG_OL));
  EXPECT_TRUE(c->BlockHasContent(At(*c, "a")));
  EXPECT_NO_THROW(c->Check());
  EXPECT_EQ(c->GetNonBlankCharacter(2)->Char, u'c');
  EXPECT_EQ(c->GetNonBlankCharacter(99), nullptr);

  auto empty = ReadFixture("<p>x</p><p></p><p> \t<img src=\"a\" /></p><div>y</div>");
  TpsChunkElement* emptyOpen = At(*empty, "<p>", 1);
  EXPECT_TRUE(empty->IsEmptyParagraphTag(emptyOpen));
  EXPECT_TRUE(empty->IsEmptyParagraphTag(emptyOpen->Next));
  EXPECT_FALSE(empty->IsEmptyParagraphTag(empty->First()));
  TpsChunkElement* found = nullptr;
  EXPECT_TRUE(empty->FindEmptyParagraphAfter(At(*empty, "</p>"), found));
  EXPECT_EQ(found, emptyOpen);
  EXPECT_TRUE(empty->FindEmptyParagraphBefore(At(*empty, "<p>", 2), found));
  EXPECT_EQ(found, emptyOpen->Next);
  EXPECT_TRUE(empty->BlockHasContent(At(*empty, "<p>", 2)));
  EXPECT_FALSE(empty->BlockHasContent(emptyOpen));
  EXPECT_NO_THROW(empty->Check());

  // Cells of a row, not of a nested table.
  auto row = ReadFixture("<tr><td>a</td><th>b<table><tr><td>c</td></tr></table></th></tr>");
  EXPECT_EQ(row->CountBlockTags({TAG_TD, TAG_TH}, 1), 2);
  EXPECT_EQ(row->CountBlockTags({TAG_TD, TAG_TH}, -1), 3);
  EXPECT_EQ(ReadFixture(" <p>x</p>")->GetLeadingBlockTagCode(), TAG_P);
  EXPECT_EQ(ReadFixture("~\u00a0<p>x</p>")->GetLeadingBlockTagCode(), TAG_UNKNOWN);
  EXPECT_EQ(ReadFixture("{c:<!---->}<ul>")->GetLeadingBlockTagCode(), TAG_UL);

  auto links = ReadFixture("<p>a<a href=\"x\">b</a>c</p>");
  EXPECT_EQ(Shown(links->GetEnclosingLink(At(*links, "b"))), "<a href=\"x\">");
  EXPECT_EQ(links->GetEnclosingLink(At(*links, "c")), nullptr);
  EXPECT_EQ(links->GetEnclosingLink(At(*links, "<a href=\"x\">")), nullptr);
  EXPECT_TRUE(links->IsInsideLink(At(*links, "b")->Id));
  EXPECT_FALSE(links->IsInsideLink(At(*links, "a")->Id));
  EXPECT_FALSE(links->IsInsideLink(0));

  auto tables = ReadFixture(" <table><tr><td>x</td></tr></table> \ty<table><td>z</td>");
  EXPECT_EQ(Shown(tables->FindFirstNonBlankCharacterOutsideTables()), "y");
  auto only = ReadFixture("<table><td>x</td></table> ");
  EXPECT_EQ(only->FindFirstNonBlankCharacterOutsideTables(), nullptr);
  EXPECT_NO_THROW(tables->Check());
}

TEST(ChunkBlocks, AdjacentBlocks) {
  struct Case {
    const char* fixture;
    const char* from;
    Byte code;
    bool before;
    const char* answer;
  };
  const Case cases[] = {
      {"<ul><li>a</li></ul> @M1@<p>b</p>", "@M1@", TAG_UL, true, "</ul>"},
      {"<ul><li>a</li></ul>x@M1@", "@M1@", TAG_UL, true, "nil"},
      {"<ul><li>a</li></ul><b>@M1@", "@M1@", TAG_UL, true, "nil"},
      {"<div><ul><li>a</li></ul></div>@M1@", "@M1@", TAG_UL, true, "nil"},
      {"<table></table>@M1@", "@M1@", TAG_TABLE, true, "nil"},
      {"@M1@ <ol><li>a</li></ol>", "@M1@", TAG_OL, false, "<ol>"},
      {"@M1@<p>x</p><ol>", "@M1@", TAG_OL, false, "nil"},
  };
  for (const auto& c : cases) {
    auto chunk = ReadFixture(c.fixture);
    TpsChunkElement* from = At(*chunk, c.from);
    TpsChunkElement* answer =
        c.before ? chunk->FindAdjacentBlockBefore(from, c.code) : chunk->FindAdjacentBlockAfter(from, c.code);
    EXPECT_EQ(Shown(answer), c.answer) << c.fixture;
  }
}
