// A toolbar and its parent: the styler a toolbar on a ribbon page draws
// with (its pager's while ParentStyler holds), what a styler change hands
// to its glow buttons, losing ParentStyler off the ribbon, and its index
// among the page's toolbars.
#include <gtest/gtest.h>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"

namespace {

using namespace ribbon;
using vcl::RGB;

struct PlacementRig {
  vcl::TForm* form = nullptr;
  TRorIvezEviPager* pager = nullptr;
  TLumPage* page = nullptr;
  std::vector<TRorIvezEvi*> bars;
  PlacementRig() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(978);
    form->SetClientHeight(200);
    pager = new TRorIvezEviPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    page = new TLumPage(form);
    page->SetParent(pager);
    for (int w : {100, 150, 120}) {
      auto* b = new TRorIvezEvi(form);
      b->SetParent(page);
      b->SetAutoSize(false);
      b->SetWidth(w);
      bars.push_back(b);
    }
  }
  ~PlacementRig() { vcl::Free(form); }
};

TEST(RibbonPlacement, ToolBarIndexClampedWithTabOrder) {
  PlacementRig rig;
  TRorIvezEvi* first = rig.bars[0];
  EXPECT_EQ(first->ToolBarIndex(), 0);
  EXPECT_EQ(rig.bars[2]->ToolBarIndex(), 2);
  first->SetToolBarIndex(99);
  EXPECT_EQ(first->ToolBarIndex(), 2);
  EXPECT_EQ(first->TabOrder(), 2);
  EXPECT_EQ(rig.page->ToolBars(2), first);
  EXPECT_EQ(rig.page->ToolBars(0), rig.bars[1]);
  // Lined up in the new order.
  EXPECT_EQ(rig.bars[1]->Left(), 3);
  EXPECT_EQ(rig.bars[2]->Left(), 156);
  EXPECT_EQ(first->Left(), 279);
  first->SetToolBarIndex(-4);
  EXPECT_EQ(first->ToolBarIndex(), 0);
  EXPECT_EQ(first->Left(), 3);
  // Off a page: -1, and setting does nothing.
  first->SetParent(rig.form);
  EXPECT_EQ(first->ToolBarIndex(), -1);
  first->SetToolBarIndex(1);
  EXPECT_EQ(first->ToolBarIndex(), -1);
}

TEST(RibbonPlacement, ParentStylerCases) {
  PlacementRig rig;
  TRorIvezEvi* bar = rig.bars[0];
  // On a pager's page: the pager's styler (its own while none is assigned).
  EXPECT_TRUE(bar->ParentStyler());
  EXPECT_EQ(bar->CurrentStyler(), rig.pager->CurrentStyler());
  EXPECT_EQ(bar->CurrentStyler(), rig.pager->InternalStyler());
  // The pager takes a styler: every toolbar on its pages follows.
  auto* office = new TCustomRorIvezEviStyler(rig.form);
  auto* other = new TCustomRorIvezEviStyler(rig.form);
  rig.pager->SetToolBarStyler(office);
  for (TRorIvezEvi* b : rig.bars) EXPECT_EQ(b->CurrentStyler(), office);
  // Naming another styler changes nothing while ParentStyler holds.
  bar->SetToolBarStyler(other);
  EXPECT_EQ(bar->CurrentStyler(), office);
  // True to False drops the assigned styler: the toolbar's own is in
  // force.
  bar->SetParentStyler(false);
  EXPECT_EQ(bar->ToolBarStyler(), nullptr);
  EXPECT_EQ(bar->CurrentStyler()->Name(), "InternalStyler");
  EXPECT_EQ(bar->CurrentStyler()->Owner(), bar);
  // Now a named styler stands, and False again keeps it.
  bar->SetToolBarStyler(other);
  EXPECT_EQ(bar->CurrentStyler(), other);
  bar->SetParentStyler(false);
  EXPECT_EQ(bar->CurrentStyler(), other);
  // True again takes the pager's.
  bar->SetParentStyler(true);
  EXPECT_EQ(bar->CurrentStyler(), office);
  // Moved onto the form, a toolbar loses ParentStyler.
  TRorIvezEvi* moved = rig.bars[1];
  moved->SetParent(rig.form);
  EXPECT_FALSE(moved->ParentStyler());
  EXPECT_EQ(moved->ToolBarStyler(), nullptr);
  EXPECT_EQ(moved->State(), tsFixed);
  // The pager's styler freed: the pager and its toolbars fall back to the
  // pager's own.
  vcl::Free(office);
  EXPECT_EQ(rig.pager->CurrentStyler(), rig.pager->InternalStyler());
  rig.pager->SetToolBarStyler(nullptr);
  EXPECT_EQ(rig.bars[2]->CurrentStyler(), rig.pager->InternalStyler());
}

TEST(RibbonPlacement, StylerChangesReachTheGlowButtons) {
  PlacementRig rig;
  auto* styler = new TCustomRorIvezEviStyler(rig.form);
  rig.pager->SetToolBarStyler(styler);
  TRorIvezEvi* bar = rig.bars[0];
  auto* glow = new controls::TLumGlowButton(rig.form);
  glow->SetParent(bar);
  // A glow appearance change (code 7) is copied to the button; a colour
  // change (code 2) gives the toolbar the styler's colour.
  styler->GlowButtonAppearance()->SetColor(RGB(10, 200, 30));
  EXPECT_EQ(glow->Appearance()->Color(), RGB(10, 200, 30));
  TVistaGradientBackground colour;
  colour.SetColor(RGB(240, 220, 200));
  styler->SetColor(&colour);
  styler->SetBorderColor(RGB(1, 2, 3));
  EXPECT_EQ(bar->Color(), RGB(240, 220, 200));
  // A toolbar on its own styler hears nothing of this one.
  rig.bars[1]->SetParentStyler(false);
  styler->GlowButtonAppearance()->SetColor(RGB(50, 60, 70));
  EXPECT_EQ(glow->Appearance()->Color(), RGB(50, 60, 70));
  auto* loose = new controls::TLumGlowButton(rig.form);
  loose->SetParent(rig.bars[1]);
  styler->GlowButtonAppearance()->SetColor(RGB(90, 90, 90));
  EXPECT_NE(loose->Appearance()->Color(), RGB(90, 90, 90));
}

}  // namespace
