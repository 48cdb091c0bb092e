// A ribbon page's toolbars: the list and its order, lining them up,
// shrinking and growing glow-button groups as the main window's pager
// narrows and widens, collapsing groups when nothing more shrinks, and
// scrolling the collapsed groups with the page's two buttons.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

namespace {

using namespace ribbon;
using controls::TButtonSizeState;
using controls::TLumGlowButton;

// A group that collapses to the compact width and comes back at the width
// it had, as a group with its popup does; the page decides when.
class CollapsingBar : public TRorIvezEvi {
 public:
  using TRorIvezEvi::TRorIvezEvi;
  void SetCollapsed(bool Value) override {
    if (Value == IsCollapsed() || !dynamic_cast<TLumPage*>(Parent()) || !GroupLoaded()) return;
    ++changes;
    if (Value) {
      expanded_ = Width();
      SetCollapsedState(true);
      SetAutoSize(false);
      SetWidth(45);
    } else {
      SetCollapsedState(false);
      SetAutoSize(true);
    }
  }
  int GetExpandedWidth() const override { return IsCollapsed() ? expanded_ : Width(); }
  int changes = 0;

 private:
  int expanded_ = 0;
};

// The main window's pager: 978 x 120 with the caption hidden and tabs 34
// high, so its pages are 970 x 81 at (4, 34).
struct PageRig {
  vcl::TForm* form = nullptr;
  TRorIvezEviPager* pager = nullptr;
  TLumPage* page = nullptr;
  PageRig() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(978);
    form->SetClientHeight(300);
    pager = new TRorIvezEviPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    page = new TLumPage(form);
    page->SetCaption("&Edit");
    page->SetParent(pager);
  }
  ~PageRig() { vcl::Free(form); }
  template <class Bar = TRorIvezEvi>
  Bar* Plain(int width) {
    auto* b = new Bar(form);
    b->SetParent(page);
    b->SetAutoSize(false);
    b->SetWidth(width);
    return b;
  }
  // A group of large glow buttons sizing themselves.
  template <class Bar = TRorIvezEvi>
  Bar* Group(std::initializer_list<const char*> captions) {
    auto* b = new Bar(form);
    b->SetCaption("Group");
    int left = 10;
    for (const char* c : captions) {
      auto* g = new TLumGlowButton(form);
      g->SetCaption(c);
      g->SetLayout(controls::blGlyphTop);
      g->SetAutoSize(true);
      vcl::TSize size{0, 0};
      g->GetSizeForState(controls::bsLarge, size);
      g->SetBounds(left, 5, size.cx, size.cy);
      left += 100;
      g->SetParent(b);
    }
    b->SetParent(page);
    return b;
  }
};

std::vector<TLumGlowButton*> Glows(TLumCustomToolBar* bar) {
  std::vector<TLumGlowButton*> out;
  for (int i = 0; i < bar->ToolBarControlCount(); ++i)
    if (auto* g = dynamic_cast<TLumGlowButton*>(bar->ToolBarControl(i))) out.push_back(g);
  return out;
}

TEST(RibbonPageToolBars, ListAndArrangement) {
  PageRig rig;
  ASSERT_EQ(rig.page->BoundsRect(), vcl::Bounds(4, 34, 970, 81));
  auto* a = rig.Plain(100);
  auto* b = rig.Plain(150);
  auto* c = rig.Plain(120);
  // Lined up from 3 with 3 between, 3 from the top, 6 less tall.
  EXPECT_EQ(a->BoundsRect(), vcl::Bounds(3, 3, 100, 75));
  EXPECT_EQ(b->BoundsRect(), vcl::Bounds(106, 3, 150, 75));
  EXPECT_EQ(c->BoundsRect(), vcl::Bounds(259, 3, 120, 75));
  // A toolbar taken in outside loading is set up as a group.
  EXPECT_FALSE(a->ShowRightHandle());
  EXPECT_TRUE(a->ShowCaption());
  EXPECT_EQ(a->CaptionPosition(), cpBottom);
  EXPECT_EQ(a->CaptionAlignment(), vcl::taCenter);
  EXPECT_TRUE(a->GroupLoaded());
  EXPECT_EQ(rig.page->ToolBarCount(), 3);
  EXPECT_EQ(rig.page->ToolBars(1), b);
  EXPECT_EQ(rig.page->ToolBars(3), nullptr);
  EXPECT_EQ(rig.page->ToolBars(-1), nullptr);
  // Refusals: none, one already listed.
  EXPECT_EQ(rig.page->AddToolBar(nullptr), -1);
  EXPECT_EQ(rig.page->AddToolBar(b), -1);
  EXPECT_EQ(rig.page->ToolBarCount(), 3);
  EXPECT_EQ(rig.page->FreeSpace(), 970 - 379 - 2);
  // A hidden toolbar takes no place; the first visible one is asked for.
  a->SetVisible(false);
  rig.page->ArrangeToolBars();
  EXPECT_EQ(b->Left(), 3);
  EXPECT_EQ(c->Left(), 156);
  EXPECT_EQ(rig.page->FirstToolBar(false), a);
  EXPECT_EQ(rig.page->FirstToolBar(true), b);
  // Without AutoPosition nothing moves; turning it on lines them up again.
  rig.page->SetAutoPosition(false);
  a->SetVisible(true);
  rig.page->ArrangeToolBars();
  EXPECT_EQ(b->Left(), 3);
  rig.page->SetAutoPosition(true);
  EXPECT_EQ(b->Left(), 106);
  // A toolbar's own width change lines the others up again.
  a->SetWidth(80);
  EXPECT_EQ(b->Left(), 86);
  // Removing: the entry goes and the toolbar leaves the page; freeing one
  // takes it out of the list too.
  rig.page->RemoveToolBar(b);
  EXPECT_EQ(b->Parent(), nullptr);
  EXPECT_EQ(rig.page->ToolBarCount(), 2);
  rig.page->ArrangeToolBars();
  EXPECT_EQ(c->Left(), 86);
  vcl::Free(c);
  EXPECT_EQ(rig.page->ToolBarCount(), 1);
  EXPECT_EQ(rig.page->ToolBars(0), a);
  vcl::Free(b);
}

TEST(RibbonPageToolBars, LoadedOrdersByLeftAndFits) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(978);
  form->SetClientHeight(300);
  form->BeginLoad();
  auto* pager = new TRorIvezEviPager(form);
  pager->SetParent(form);
  pager->SetHeight(120);
  pager->PageCaption()->SetVisible(false);
  pager->TabSettings()->SetHeight(34);
  auto* page = new TLumPage(form);
  page->SetParent(pager);
  std::map<int, TRorIvezEvi*> byLeft;
  for (int left : {300, 10, 150}) {
    auto* b = new TRorIvezEvi(form);
    b->SetParent(page);
    b->SetLeft(left);
    byLeft[left] = b;
  }
  // Streamed toolbars keep their own settings and are not yet groups.
  EXPECT_TRUE(byLeft[10]->ShowRightHandle());
  EXPECT_FALSE(byLeft[10]->GroupLoaded());
  form->EndLoad();
  ASSERT_EQ(page->ToolBarCount(), 3);
  EXPECT_EQ(page->ToolBars(0), byLeft[10]);
  EXPECT_EQ(page->ToolBars(1), byLeft[150]);
  EXPECT_EQ(page->ToolBars(2), byLeft[300]);
  EXPECT_TRUE(byLeft[10]->GroupLoaded());
  EXPECT_EQ(byLeft[10]->Left(), 3);
  EXPECT_EQ(byLeft[150]->Left(), 3 + byLeft[10]->Width() + 3);
  vcl::Free(form);
}

TEST(RibbonPageToolBars, GroupStepsOfFourLargeButtons) {
  PageRig rig;
  auto* bar = rig.Group({"Cut", "Copy", "Paste", "Delete"});
  std::vector<TLumGlowButton*> g = Glows(bar);
  ASSERT_EQ(g.size(), 4u);
  const int large = bar->Width();
  TButtonSizeState state = controls::bsLarge;
  // Measuring changes nothing.
  const int gain1 = bar->ReduceButtons(false, state);
  EXPECT_EQ(state, controls::bsLabel);
  EXPECT_GT(gain1, 0);
  EXPECT_EQ(g[3]->ButtonSizeState(), controls::bsLarge);
  // The last three become one column of label buttons; the first stays.
  EXPECT_EQ(bar->ReduceButtons(true, state), gain1);
  EXPECT_EQ(g[0]->ButtonSizeState(), controls::bsLarge);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(g[i]->ButtonSizeState(), controls::bsLabel);
    EXPECT_EQ(g[i]->Left(), g[1]->Left());
  }
  EXPECT_EQ(bar->Width(), large - gain1);
  // Then that column turns to glyphs, then nothing is left.
  const int gain2 = bar->ReduceButtons(true, state);
  EXPECT_EQ(state, controls::bsGlyph);
  EXPECT_GT(gain2, 0);
  for (int i = 1; i < 4; ++i) EXPECT_EQ(g[i]->ButtonSizeState(), controls::bsGlyph);
  EXPECT_EQ(bar->Width(), large - gain1 - gain2);
  EXPECT_EQ(bar->ReduceButtons(true, state), 0);
  EXPECT_EQ(g[0]->ButtonSizeState(), controls::bsLarge);
  // Growing is the mirror image and ends at the same widths.
  EXPECT_EQ(bar->EnlargeButtons(false, state), gain2);
  EXPECT_EQ(state, controls::bsLabel);
  EXPECT_EQ(bar->EnlargeButtons(true, state), gain2);
  EXPECT_EQ(bar->EnlargeButtons(true, state), gain1);
  EXPECT_EQ(state, controls::bsLarge);
  EXPECT_EQ(bar->EnlargeButtons(true, state), 0);
  EXPECT_EQ(bar->Width(), large);
  // A single large button has no neighbour to share a column with; a
  // button kept large by its minimum state does not shrink either.
  auto* single = rig.Group({"Paste"});
  EXPECT_EQ(single->ReduceButtons(true, state), 0);
  auto* kept = rig.Group({"Cut", "Copy"});
  for (TLumGlowButton* b : Glows(kept)) b->SetMinButtonSizeState(controls::bsLarge);
  EXPECT_EQ(kept->ReduceButtons(false, state), 0);
  // Off a page a toolbar is no group: it offers nothing.
  bar->SetParent(rig.form);
  EXPECT_EQ(bar->ReduceButtons(false, state), 0);
  EXPECT_EQ(bar->GetCollapsedWidth(), bar->Width());
  EXPECT_EQ(single->GetCollapsedWidth(), 45);
}

// The whole protocol on the main window's page: four groups of large
// buttons, the pager narrowed from 978 to 208 (the page from 970 to 200)
// and widened back.
TEST(RibbonPageToolBars, ShrinkCollapseExpandGrow) {
  PageRig rig;
  std::vector<CollapsingBar*> bars;
  bars.push_back(rig.Group<CollapsingBar>({"Document Properties", "Open", "Save", "Close"}));
  bars.push_back(rig.Group<CollapsingBar>({"Cut", "Copy", "Paste"}));
  bars.push_back(rig.Group<CollapsingBar>({"Find and Replace All", "Replace", "Go to", "Select"}));
  bars.push_back(rig.Group<CollapsingBar>({"Bold", "Italic", "Underline"}));
  auto snapshot = [&] {
    std::vector<vcl::TRect> out;
    for (CollapsingBar* b : bars) {
      out.push_back(b->BoundsRect());
      for (TLumGlowButton* g : Glows(b)) out.push_back(g->BoundsRect());
    }
    return out;
  };
  const std::vector<vcl::TRect> wide = snapshot();
  ASSERT_GT(rig.page->FreeSpace(), 0);
  auto anyState = [&](TButtonSizeState s) {
    for (CollapsingBar* b : bars)
      for (TLumGlowButton* g : Glows(b))
        if (g->ButtonSizeState() == s) return true;
    return false;
  };
  auto reducible = [&] {
    for (CollapsingBar* b : bars) {
      TButtonSizeState s;
      if (!b->IsCollapsed() && b->ReduceButtons(false, s) > 0) return true;
    }
    return false;
  };
  bool sawGlyph = false, sawCollapse = false;
  int lastWidths = 1 << 30;
  for (int w = 978; w >= 208; w -= 10) {
    rig.form->SetClientWidth(w);
    const int page = w - 8;
    ASSERT_EQ(rig.page->Width(), page);
    // Each width: the groups fit, or nothing is left to take.
    bool anyCandidate = false;
    for (CollapsingBar* b : bars) anyCandidate |= !b->IsCollapsed();
    EXPECT_TRUE(rig.page->FreeSpace() > 0 || (!reducible() && !anyCandidate)) << "width " << page;
    // Labels come before glyphs, and groups collapse only once nothing
    // can shrink.
    if (anyState(controls::bsGlyph) && !sawGlyph) {
      sawGlyph = true;
      for (CollapsingBar* b : bars) {
        TButtonSizeState s;
        if (b->ReduceButtons(false, s) > 0) {
          EXPECT_NE(s, controls::bsLabel) << "width " << page;
        }
      }
    }
    int collapsed = 0;
    for (CollapsingBar* b : bars) collapsed += b->IsCollapsed();
    if (collapsed && !sawCollapse) {
      sawCollapse = true;
      EXPECT_FALSE(reducible()) << "width " << page;
      // The rightmost group goes first.
      EXPECT_TRUE(bars[3]->IsCollapsed());
      EXPECT_EQ(bars[3]->Width(), 45);
    }
    int total = 0;
    for (CollapsingBar* b : bars) total += b->Width();
    EXPECT_LE(total, lastWidths);
    lastWidths = total;
  }
  EXPECT_TRUE(sawGlyph);
  EXPECT_TRUE(sawCollapse);
  // At 200 all four fit collapsed: 3 + 4 * (45 + 3).
  for (CollapsingBar* b : bars) EXPECT_TRUE(b->IsCollapsed());
  EXPECT_EQ(bars[3]->Left(), 3 + 3 * 48);
  std::map<TLumGlowButton*, TButtonSizeState> smallest;
  for (CollapsingBar* b : bars)
    for (TLumGlowButton* g : Glows(b)) smallest[g] = g->ButtonSizeState();
  // Widening expands the leftmost collapsed group first.
  bool sawExpandOrder = false;
  for (int w = 218; w <= 978; w += 10) {
    rig.form->SetClientWidth(w);
    int firstCollapsed = -1, lastExpanded = -1;
    for (int i = 0; i < 4; ++i) {
      if (bars[i]->IsCollapsed() && firstCollapsed < 0) firstCollapsed = i;
      if (!bars[i]->IsCollapsed()) lastExpanded = i;
    }
    if (firstCollapsed >= 0 && lastExpanded >= 0) {
      EXPECT_LT(lastExpanded, firstCollapsed) << "width " << w - 8;
      sawExpandOrder = true;
      // While a group is collapsed no buttons are enlarged.
      for (const auto& [button, state] : smallest) EXPECT_EQ(button->ButtonSizeState(), state) << "width " << w - 8;
    }
  }
  EXPECT_TRUE(sawExpandOrder);
  // Back at full width: the same layout as before.
  EXPECT_EQ(snapshot(), wide);
  // A page of zero width ends (nothing left to take) instead of looping.
  rig.form->SetClientWidth(8);
  EXPECT_EQ(rig.page->Width(), 0);
  for (CollapsingBar* b : bars) EXPECT_TRUE(b->IsCollapsed());
}

TEST(RibbonPageToolBars, ScrollingCollapsedGroups) {
  PageRig rig;
  std::vector<CollapsingBar*> bars;
  for (int i = 0; i < 6; ++i) {
    bars.push_back(rig.Plain<CollapsingBar>(60));
    bars.back()->SetCollapsed(true);
  }
  rig.page->ArrangeToolBars();
  rig.page->ResetToolBarScroll();
  // All fit on the page: no scrolling.
  EXPECT_EQ(rig.page->ToolBarScroller().ScrollMax(), 0);
  EXPECT_TRUE(rig.page->RightToolBarButton() == nullptr || !rig.page->RightToolBarButton()->Visible());
  // A page 110 wide shows two collapsed groups at a time (3 + 45 + 3 + 45
  // = 96; the third would end at 144): three positions.
  rig.form->SetClientWidth(118);
  ASSERT_EQ(rig.page->Width(), 110);
  EXPECT_EQ(rig.page->ToolBarsFitting(0, true), 2);
  EXPECT_EQ(rig.page->ToolBarsFitting(5, false), 2);
  EXPECT_EQ(rig.page->ToolBarScroller().ScrollMax(), 2);
  ASSERT_NE(rig.page->RightToolBarButton(), nullptr);
  TLumPageScrollButton* right = rig.page->RightToolBarButton();
  EXPECT_TRUE(right->Visible());
  EXPECT_EQ(right->BoundsRect(), vcl::Bounds(98, 0, 12, 81));
  EXPECT_EQ(right->CornerStyle(), 3);
  EXPECT_EQ(right->ArrowDirection(), 2);
  EXPECT_TRUE(rig.page->LeftToolBarButton() == nullptr || !rig.page->LeftToolBarButton()->Visible());
  // A click on the right button: the third group is the target; the groups
  // move left 5 pixels a step until it would pass 3, the last shift
  // leaving it at 8.
  right->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, vcl::MakeLParam(3, 3));
  right->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(3, 3));
  EXPECT_EQ(rig.page->FirstShownToolBar(), 2);
  EXPECT_EQ(rig.page->ToolBarScroller().ScrollPosition(), 1);
  EXPECT_EQ(bars[2]->Left(), 8);
  EXPECT_EQ(bars[3]->Left(), 8 + 48);
  ASSERT_NE(rig.page->LeftToolBarButton(), nullptr);
  TLumPageScrollButton* left = rig.page->LeftToolBarButton();
  EXPECT_TRUE(left->Visible());
  EXPECT_EQ(left->BoundsRect(), vcl::Bounds(0, 0, 12, 81));
  EXPECT_EQ(left->CornerStyle(), 1);
  EXPECT_EQ(left->ArrowDirection(), 0);
  // Forward once more, to the end: the last group's right edge lands at
  // the page's width less 3.
  rig.page->ScrollToolBars(5);
  EXPECT_EQ(rig.page->ToolBarScroller().ScrollPosition(), 2);
  EXPECT_EQ(bars[5]->Left() + bars[5]->Width(), 110 - 3);
  EXPECT_FALSE(right->Visible());
  // Back with the left button: steps of 5 to the right until the target
  // lands at 3.
  left->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, vcl::MakeLParam(3, 3));
  left->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(3, 3));
  EXPECT_EQ(rig.page->ToolBarScroller().ScrollPosition(), 1);
  const int first = rig.page->FirstShownToolBar();
  EXPECT_EQ(bars[first]->Left(), 3);
  rig.page->ScrollToolBars(-10);
  EXPECT_EQ(rig.page->ToolBarScroller().ScrollPosition(), 0);
  EXPECT_EQ(rig.page->FirstShownToolBar(), 0);
  EXPECT_EQ(bars[0]->Left(), 3);
  EXPECT_FALSE(left->Visible());
  // An expanded group ends scrolling.
  bars[0]->SetCollapsed(false);
  rig.page->ResetToolBarScroll();
  EXPECT_EQ(rig.page->ToolBarScroller().ScrollMax(), 0);
}

}  // namespace
