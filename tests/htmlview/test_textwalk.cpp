// Walking from text line to text line by 371 queries, as the live-spelling
// parser does: on random trees of blocks, lines, inline images and floated
// windows, repeated walks from the root visit every line once in document
// order (as a plain recursive enumeration lists them), backwards too, and
// the query stays its sender's.
#include <gtest/gtest.h>

#include <random>

#include "ViewFixture.h"
#include "htmledit/view/psTextWalk.h"

namespace {

using namespace htmlview;

// A line answers 371 with itself; other windows answer nothing.
class Line : public TpsWindow {
 public:
  using TpsWindow::TpsWindow;
  void HandleMessage(TpsMessage& m) override {
    TpsWindow::HandleMessage(m);
    ++Offered;
    if (m.Id == psmQueryTextNode) AnswerTextNodeQuery(this, m);
  }
  Integer Offered = 0;
};

class Plain : public TpsWindow {
 public:
  using TpsWindow::TpsWindow;
};

// Counts its own destruction, so a walk that freed it would show.
class CountedQuery : public TpsMessage {
 public:
  explicit CountedQuery(Integer* aFreed) : TpsMessage(mrCommand, psmQueryTextNode, nullptr), Freed(aFreed) {
    AutoFree = false;
  }
  ~CountedQuery() override { ++*Freed; }
  Integer* Freed;
};

void Grow(TpsWindow* aParent, std::mt19937& aRandom, Integer aDepth) {
  const Integer children = static_cast<Integer>(aRandom() % 5);
  for (Integer i = 0; i < children; ++i) {
    const auto kind = aRandom() % 4;
    if (kind == 0 && aDepth < 4) {
      TpsWindow* block = aParent->AddChild(NewWindow<Plain>(aParent));
      Grow(block, aRandom, aDepth + 1);
    } else {
      TpsWindow* line = aParent->AddChild(NewWindow<Line>(aParent));
      // An inline image under some lines.
      if (aRandom() % 3 == 0) line->AddChild(NewWindow<Plain>(line));
    }
  }
}

void Enumerate(TpsWindow* aWindow, std::vector<TpsWindow*>& aLines) {
  if (dynamic_cast<Line*>(aWindow)) aLines.push_back(aWindow);
  for (TpsWindow* c : aWindow->ChildList())
    if (!c->WindowFlags.GetFlag(wfFloating)) Enumerate(c, aLines);
}

TEST(TextWalk, RepeatedWalksVisitEveryLineOnceInDocumentOrder) {
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    TpsWindowManager manager(nullptr);
    manager.SetRootWindow(NewWindow<Plain>(nullptr));
    TpsWindow* root = manager.Root();
    Grow(root, random, 0);
    // A floated window (a wrapper of an image) among the root's children.
    if (seed % 2 == 0) {
      auto wrapper = NewWindow<Plain>(root);
      wrapper->WindowFlags.SetFlag(wfFloating, true);
      TpsWindow* w = root->AddChild(std::move(wrapper));
      w->AddChild(NewWindow<Plain>(w));
    }
    std::vector<TpsWindow*> expected;
    Enumerate(root, expected);

    std::vector<TpsWindow*> forward;
    for (TpsWindow* w = FollowingTextNode(root); w; w = FollowingTextNode(w)) {
      ASSERT_LE(forward.size(), expected.size());
      forward.push_back(w);
    }
    EXPECT_EQ(forward, expected);

    std::vector<TpsWindow*> backward;
    for (TpsWindow* w = expected.empty() ? nullptr : expected.back(); w; w = PrecedingTextNode(w)) {
      ASSERT_LE(backward.size(), expected.size());
      backward.insert(backward.begin(), w);
    }
    EXPECT_EQ(backward, expected);
  }
}

TEST(TextWalk, TheQueryStaysItsSenders) {
  TpsWindowManager manager(nullptr);
  manager.SetRootWindow(NewWindow<Plain>(nullptr));
  TpsWindow* root = manager.Root();
  TpsWindow* block = root->AddChild(NewWindow<Plain>(root));
  TpsWindow* a = block->AddChild(NewWindow<Line>(block));
  TpsWindow* b = root->AddChild(NewWindow<Line>(root));
  Integer freed = 0;
  {
    CountedQuery query(&freed);
    root->SendToFollowingWindows(query);
    EXPECT_EQ(freed, 0);
    EXPECT_EQ(query.Answer, a);
    query.ResetHandled();
    query.Answer = nullptr;
    a->SendToFollowingWindows(query);
    EXPECT_EQ(query.Answer, b);
    query.ResetHandled();
    query.Answer = nullptr;
    b->SendToFollowingWindows(query);
    EXPECT_FALSE(query.IsHandled());
    EXPECT_EQ(query.Answer, nullptr);
    EXPECT_EQ(freed, 0);
  }
  EXPECT_EQ(freed, 1);
  // The start line is never offered its own query.
  auto* line = static_cast<Line*>(a);
  const Integer before = line->Offered;
  EXPECT_EQ(FollowingTextNode(a), b);
  EXPECT_EQ(line->Offered, before);
  EXPECT_EQ(PrecedingTextNode(a), nullptr);
}

}  // namespace
