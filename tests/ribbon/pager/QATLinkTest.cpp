// The pager's side of the quick access toolbar: with none (the main
// window's configuration) every question has its empty answer; a child
// that implements the link is taken when inserted, gets the band below the
// ribbon or the caption bar's bottom, changes the pager's height through
// SetQATBelow and its visibility, and is forgotten when it goes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <vector>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"

namespace {

using namespace ribbon;

// A control that answers as a quick access toolbar and records the calls.
class RecordingQAT : public vcl::TCustomControl, public IQuickAccessToolBar {
 public:
  explicit RecordingQAT(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {}
  vcl::TControl* QATControl() override { return this; }
  bool BelowRibbon() const override { return below; }
  void SetBelowRibbon(bool Value) override {
    below = Value;
    calls.push_back(Value ? "below" : "above");
  }
  void ShowButtonKeyTips() override { calls.push_back("show"); }
  void HideButtonKeyTips() override { calls.push_back("hide"); }
  bool MatchKeyTip(const rtl::AnsiString& Text, int& Count) override {
    calls.push_back("match " + Text);
    ++Count;
    return false;
  }
  void PagerStylerChanged(int Code) override { calls.push_back("styler " + std::to_string(Code)); }
  void PlaceInPager() override { ++placed; }
  bool below = false;
  int placed = 0;
  std::vector<std::string> calls;
};

struct QATRig {
  vcl::TForm* form = nullptr;
  TRorIvezEviPager* pager = nullptr;
  QATRig() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(20, 20, 1000, 300);
    pager = new TRorIvezEviPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    auto* page = new TLumPage(form);
    page->SetCaption("&Home");
    page->SetParent(pager);
    pager->SetActivePageIndex(0);
  }
  ~QATRig() { vcl::Free(form); }
};

TEST(QATLink, WithoutToolBarEveryAnswerIsEmpty) {
  QATRig rig;
  EXPECT_EQ(rig.pager->QuickAccessToolBar(), nullptr);
  EXPECT_EQ(rig.pager->GetQATRect(), (vcl::TRect{-1, -1, -1, -1}));
  EXPECT_FALSE(rig.pager->QATBelow());
  EXPECT_EQ(rig.pager->QATBelowHeight(), 0);
  const vcl::TRect page = rig.pager->GetPageRect();
  rig.pager->SetQATBelow(true);
  rig.pager->AdjustForQATVisibility();
  EXPECT_EQ(rig.pager->Height(), 120);
  EXPECT_FALSE(rig.pager->QATBelow());
  EXPECT_EQ(rig.pager->GetPageRect(), page);
  // An ordinary child is no quick access toolbar.
  auto* other = new vcl::TCustomControl(rig.form);
  other->SetParent(rig.pager);
  EXPECT_EQ(rig.pager->QuickAccessToolBar(), nullptr);
}

TEST(QATLink, LinkedToolBarTakesItsPlaces) {
  QATRig rig;
  rig.pager->PageCaption()->SetVisible(true);
  rig.pager->SetHeight(147);
  auto* qat = new RecordingQAT(rig.form);
  qat->SetParent(rig.pager);
  ASSERT_EQ(rig.pager->QuickAccessToolBar(), qat);

  // In the caption bar: from the start margin less 6 to the width less the
  // caption's minimum width and the three caption buttons with their room.
  const int w = rig.pager->Width();
  const vcl::TRect c = rig.pager->GetCaptionRect();
  const int buttons = w - (w - ribbon::RibbonPageMargin() - 54) + 2;
  EXPECT_EQ(rig.pager->GetQATRect(),
            (vcl::TRect{rig.pager->TabSettings()->StartMargin() - 6, c.Bottom - 25, w - (100 + buttons), c.Bottom}));
  rig.pager->SetCaptionButtons(TCaptionButtons{});
  EXPECT_EQ(rig.pager->GetQATRect().Right, w - 100);
  rig.pager->PageCaption()->SetVisible(false);
  EXPECT_EQ(rig.pager->GetQATRect(), (vcl::TRect{-1, -1, -1, -1})) << "the caption bar is hidden";
  rig.pager->SetHeight(120);

  // Below the ribbon: a strip of the caption height less 2, taken off the
  // page and added to the pager; back above gives it back.
  const vcl::TRect page = rig.pager->GetPageRect();
  rig.pager->SetQATBelow(true);
  EXPECT_TRUE(rig.pager->QATBelow());
  EXPECT_EQ(rig.pager->QATBelowHeight(), 25);
  EXPECT_EQ(rig.pager->Height(), 145);
  EXPECT_EQ(rig.pager->GetQATRect(), (vcl::TRect{2, 120, w - 2, 145}));
  EXPECT_EQ(rig.pager->GetPageRect(), page);
  rig.pager->SetQATBelow(true);  // the same value: nothing
  EXPECT_EQ(rig.pager->Height(), 145);

  // Hidden, the strip goes; shown again, it comes back.
  qat->SetVisible(false);
  rig.pager->AdjustForQATVisibility();
  EXPECT_EQ(rig.pager->Height(), 120);
  EXPECT_FALSE(rig.pager->QATBelow());
  EXPECT_EQ(rig.pager->QATBelowHeight(), 0);
  qat->SetVisible(true);
  rig.pager->AdjustForQATVisibility();
  rig.pager->AdjustForQATVisibility();  // a repeated report changes nothing
  EXPECT_EQ(rig.pager->Height(), 145);
  rig.pager->SetQATBelow(false);
  EXPECT_EQ(rig.pager->Height(), 120);
  EXPECT_EQ(qat->calls, (std::vector<std::string>{"below", "above"}));

  // Size and styler changes reach it; freeing it unlinks it.
  const int placed = qat->placed;
  rig.pager->SetWidth(900);
  EXPECT_GT(qat->placed, placed);
  rig.pager->StylerChanged(2);
  EXPECT_EQ(qat->calls.back(), "styler 2");
  vcl::Free(qat);
  EXPECT_EQ(rig.pager->QuickAccessToolBar(), nullptr);
  EXPECT_EQ(rig.pager->GetQATRect(), (vcl::TRect{-1, -1, -1, -1}));
}

}  // namespace
