// The pager's page list and activation protocol as a table: adding,
// removing before, at and after the active page, the last page, refusals,
// moves and out-of-range indices, with OnChanging's arguments and
// OnChange's count per row; the geometry of the main window's pager.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"

namespace {

using namespace ribbon;

struct PagerRig {
  vcl::TForm* form = nullptr;
  TRorIvezEviPager* pager = nullptr;
  std::vector<TLumPage*> pages;  // A, B, C ...
  std::vector<std::pair<int, int>> changing;
  int changes = 0;
  bool refuse = false;

  explicit PagerRig(int count) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(978);
    form->SetClientHeight(300);
    pager = new TRorIvezEviPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    for (int i = 0; i < count; ++i) {
      auto* p = new TLumPage(form);
      p->SetName(std::string(1, static_cast<char>('A' + i)));
      p->SetParent(pager);
      pages.push_back(p);
    }
    form->Show();
    pager->OnChanging = [this](vcl::TObject*, int from, int to, bool& allow) {
      changing.push_back({from, to});
      if (refuse) allow = false;
    };
    pager->OnChange = [this](vcl::TObject*) { ++changes; };
  }
  ~PagerRig() {
    pager->OnChanging = nullptr;
    pager->OnChange = nullptr;
    vcl::Free(form);
  }
  void Reset() {
    changing.clear();
    changes = 0;
  }
  // The page names in list order.
  std::string Order() const {
    std::string s;
    for (int i = 0; i < pager->PageCount(); ++i) s += pager->GetPageByIndex(i)->Name();
    return s;
  }
  // Only the active page shows.
  bool OnlyActiveShown() const {
    for (int i = 0; i < pager->PageCount(); ++i)
      if (pager->GetPageByIndex(i)->Visible() != (i == pager->GetActivePageIndex())) return false;
    return true;
  }
};

TEST(RibbonPagerList, MainWindowGeometry) {
  PagerRig rig(2);
  EXPECT_EQ(rig.pager->Width(), 978);
  EXPECT_EQ(rig.pager->GetPageRect(), vcl::Bounds(4, 34, 970, 81));
  EXPECT_EQ(rig.pages[0]->BoundsRect(), vcl::Bounds(4, 34, 970, 81));
  EXPECT_EQ(rig.pager->GetTabsArea(), (vcl::TRect{0, 0, 978, 34}));
  EXPECT_EQ(rig.pager->GetCaptionRect(), (vcl::TRect{-1, -1, -1, -1}));
  rig.pager->PageCaption()->SetVisible(true);
  EXPECT_EQ(rig.pager->GetCaptionRect(), (vcl::TRect{0, 0, 978, 28}));
  EXPECT_EQ(rig.pager->GetTabsArea(), (vcl::TRect{0, 27, 978, 61}));
  EXPECT_EQ(rig.pages[1]->BoundsRect(), (vcl::TRect{4, 61, 974, 115}));
  rig.pager->SetPageLeftMargin(10);
  rig.pager->SetPageRightMargin(-3);  // ignored
  EXPECT_EQ(rig.pages[1]->BoundsRect(), (vcl::TRect{14, 61, 974, 115}));
  // Creation values.
  TRorIvezEviPager fresh(nullptr);
  EXPECT_EQ(fresh.Height(), 149);
  EXPECT_EQ(fresh.Align(), vcl::alTop);
  EXPECT_TRUE(fresh.TabStop());
  EXPECT_FALSE(fresh.ShowHint());
  EXPECT_EQ(fresh.GetActivePageIndex(), -1);
  EXPECT_EQ(fresh.CurrentStyler()->Name(), "InternalStyler");
  EXPECT_EQ(fresh.Version(), "3.5.4.8");
}

TEST(RibbonPagerList, ProtocolTable) {
  using Step = std::function<void(PagerRig&)>;
  struct Row {
    const char* what;
    int pages;
    int activeFirst;  // made active before the row (no events counted)
    bool refuse;
    Step step;
    std::string order;
    int active;
    std::vector<std::pair<int, int>> changing;
    int changes;
  };
  const Row rows[] = {
      {"first activation", 3, -1, false, [](PagerRig& r) { r.pager->SetActivePageIndex(0); }, "ABC", 0, {{-1, 0}}, 1},
      {"adding again keeps the index", 3, 0, false,
       [](PagerRig& r) { EXPECT_EQ(r.pager->AddPage(r.pages[1]), 1); }, "ABC", 0, {}, 0},
      {"remove before the active page", 3, 2, false, [](PagerRig& r) { r.pager->RemovePage(r.pages[0]); }, "BC", 1,
       {{2, 1}}, 1},
      {"remove the active page: the next one first", 3, 0, false,
       [](PagerRig& r) { r.pager->RemovePage(r.pages[0]); }, "BC", 0, {{0, 1}, {1, 0}}, 2},
      {"remove after the active page", 3, 0, false, [](PagerRig& r) { r.pager->RemovePage(r.pages[2]); }, "AB", 0,
       {}, 0},
      {"remove the only page", 1, 0, false, [](PagerRig& r) { r.pager->RemovePage(r.pages[0]); }, "", -1, {}, 0},
      {"remove the last active page of two", 2, 1, false, [](PagerRig& r) { r.pager->RemovePage(r.pages[1]); },
       "A", 0, {{1, 0}}, 1},
      {"refused move off the removed active page", 3, 0, true,
       [](PagerRig& r) { r.pager->RemovePage(r.pages[0]); }, "BC", 0, {{0, 1}}, 1},
      {"a page not in the list", 3, 0, false,
       [](PagerRig& r) {
         TLumPage loose(nullptr);
         r.pager->RemovePage(&loose);
         r.pager->SetActivePage(&loose);
       },
       "ABC", 0, {}, 0},
      {"refused activation", 3, 0, true, [](PagerRig& r) { r.pager->SetActivePageIndex(2); }, "ABC", 0, {{0, 2}}, 0},
      {"out of range", 3, 1, false,
       [](PagerRig& r) {
         r.pager->SetActivePageIndex(3);
         r.pager->SetActivePageIndex(-1);
         r.pager->SetActivePageIndex(1);
       },
       "ABC", 1, {}, 0},
      {"move the active page", 3, 1, false, [](PagerRig& r) { r.pager->MovePage(1, 2); }, "ACB", 2, {{1, 2}}, 1},
      {"move another page", 3, 0, false, [](PagerRig& r) { r.pager->MovePage(2, 1); }, "ACB", 0, {}, 0},
      {"SetPageIndex", 3, 0, false, [](PagerRig& r) { r.pages[2]->SetPageIndex(0); }, "CAB", 1, {{0, 1}}, 1},
      {"SetPageIndex out of range", 3, 0, false, [](PagerRig& r) { r.pages[2]->SetPageIndex(3); }, "ABC", 0, {}, 0},
      {"SetActivePage", 3, 0, false, [](PagerRig& r) { r.pager->SetActivePage(r.pages[2]); }, "ABC", 2, {{0, 2}}, 1},
      {"a page given another parent leaves", 3, 1, false,
       [](PagerRig& r) { r.pages[1]->SetParent(r.form); }, "AC", 1, {{1, 2}, {2, 1}}, 2},
  };
  for (const Row& row : rows) {
    PagerRig rig(row.pages);
    if (row.activeFirst >= 0) rig.pager->SetActivePageIndex(row.activeFirst);
    rig.Reset();
    rig.refuse = row.refuse;
    row.step(rig);
    EXPECT_EQ(rig.Order(), row.order) << row.what;
    EXPECT_EQ(rig.pager->GetActivePageIndex(), row.active) << row.what;
    EXPECT_EQ(rig.changing, row.changing) << row.what;
    EXPECT_EQ(rig.changes, row.changes) << row.what;
    EXPECT_TRUE(rig.OnlyActiveShown()) << row.what;
  }
}

TEST(RibbonPagerList, ReadingPastTheEndAndInvalidParents) {
  PagerRig rig(2);
  for (int index : {2, 5, -1}) {
    try {
      rig.pager->GetPageByIndex(index);
      ADD_FAILURE() << index;
    } catch (const rtl::Exception& e) {
      EXPECT_EQ(e.Message(), "Index out of bounds in list read access") << index;
    }
  }
  auto* bar = new TLumCustomToolBar(rig.form);
  bar->SetParent(rig.form);
  auto* other = new TRorIvezEviPager(rig.form);
  for (vcl::TWinControl* parent : std::vector<vcl::TWinControl*>{bar, rig.pager, rig.pages[0]}) {
    try {
      other->SetParent(parent);
      ADD_FAILURE() << "accepted";
    } catch (const rtl::Exception& e) {
      EXPECT_EQ(e.Message(), "Invalid Parent");
    }
    EXPECT_EQ(other->Parent(), nullptr);
  }
}

TEST(RibbonPagerList, NextPageWrapsTheWheelStops) {
  PagerRig rig(4);
  rig.pages[1]->SetTabEnabled(false);
  rig.pages[2]->SetTabVisible(false);
  rig.pager->SetActivePageIndex(0);
  rig.pager->SelectNextPage(true);  // B disabled, C hidden: D
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 3);
  rig.pager->SelectNextPage(true);  // wraps to A
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 0);
  rig.pager->SelectNextPage(false);  // backwards wraps to D
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 3);
  rig.pager->SelectFollowingTab();  // at the end: stays
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 3);
  rig.pager->SelectPreviousTab();
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 0);
  rig.pager->SelectPreviousTab();  // at the start: stays
  EXPECT_EQ(rig.pager->GetActivePageIndex(), 0);
  // Freeing a page takes it out of the list.
  vcl::Free(rig.pages[3]);
  EXPECT_EQ(rig.pager->PageCount(), 3);
}

}  // namespace
