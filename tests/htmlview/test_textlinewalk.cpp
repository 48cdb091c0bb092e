// The live-spelling parser's road over real pages: from the root, repeated
// 371 walks (a query the walker keeps, auto-free off) visit every text
// line of a laid-out page once, in the order of an independent recursive
// enumeration, and leave the query with its sender.
#include <gtest/gtest.h>

#include "LayoutFixture.h"

namespace {

using namespace htmlview;

void EnumerateLaidOutLines(TpsWindow* w, std::vector<TpsWindow*>& aLines) {
  if (dynamic_cast<TpsTextNode*>(w)) aLines.push_back(w);
  for (TpsWindow* c : w->ChildList())
    if (!c->WindowFlags.GetFlag(wfFloating)) EnumerateLaidOutLines(c, aLines);
}

TEST(TextLineWalk, RepeatedWalksVisitEveryLineOfAPageOnce) {
  const char* const pages[] = {
      "<html><body><p>one two three four five six seven eight nine ten eleven twelve thirteen</p>"
      "<ul><li>a<ul><li>b</li></ul></li><li>c</li></ul>"
      "<table><tr><td>d<p>e</p></td><td><table><tr><td>f</td></tr></table>g</td></tr></table>"
      "<div><img src=\"x\" align=\"left\" width=\"20\" height=\"20\">h <img src=\"y\" width=\"5\" height=\"5\"> i</div>"
      "<blockquote><h1>j</h1></blockquote></body></html>",
      "<html><body></body></html>",
  };
  for (const char* html : pages) {
    SCOPED_TRACE(html);
    htmlview::testing::LayoutPage page(120, 300);
    page.Load(html);
    std::vector<TpsWindow*> expected;
    EnumerateLaidOutLines(page.Body, expected);
    std::vector<TpsWindow*> walked;
    TpsMessage query(mrCommand, psmQueryTextNode, nullptr);
    query.AutoFree = false;
    for (TpsWindow* from = page.Body;;) {
      query.ResetHandled();
      query.Answer = nullptr;
      from->SendToFollowingWindows(query);
      if (!query.IsHandled()) break;
      ASSERT_LE(walked.size(), expected.size());
      // The line answers with itself; the message is still the walker's.
      EXPECT_EQ(query.ConsumedBy, query.Answer);
      EXPECT_FALSE(query.AutoFree);
      walked.push_back(query.Answer);
      from = query.Answer;
    }
    EXPECT_EQ(walked, expected);
    if (std::string(html).find("<p>") != std::string::npos) EXPECT_GT(expected.size(), 10u);
  }
}

}  // namespace
