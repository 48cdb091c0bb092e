// The toolbar's layout and sizing: ribbon columns of glow buttons on a
// group host, one band elsewhere, the needed length and thickness, the
// display order, orientation, and the image list's size change.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"

namespace {

using namespace ribbon;

// A panel standing in for a ribbon page (glow buttons stack in columns)
// or for a dock panel.
class HostPanel : public vcl::TPanel, public IToolBarHost {
 public:
  HostPanel(vcl::TComponent* owner, bool ribbon, bool dock) : vcl::TPanel(owner), ribbon_(ribbon), dock_(dock) {}
  bool RibbonGroupHost() const override { return ribbon_; }
  bool DockPanelHost() const override { return dock_; }

 private:
  bool ribbon_, dock_;
};

struct LayoutRig {
  vcl::TForm* form = nullptr;
  LayoutRig() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(700);
    form->SetClientHeight(300);
    form->Show();
  }
  ~LayoutRig() { vcl::Free(form); }
  HostPanel* Host(bool ribbon, bool dock = false) {
    auto* p = new HostPanel(form, ribbon, dock);
    p->SetParent(form);
    p->SetBounds(0, 0, 700, 300);
    return p;
  }
  TLumCustomToolBar* Bar(vcl::TWinControl* parent) {
    auto* b = new TLumCustomToolBar(form);
    b->SetParent(parent);
    b->SetLeft(3);
    b->SetTop(3);
    return b;
  }
  controls::TLumGlowButton* Glow(TLumCustomToolBar* bar, int left, int w, int h,
                                 controls::TButtonSizeState size = controls::bsLabel) {
    auto* g = new controls::TLumGlowButton(form);
    g->SetButtonSizeState(size);
    g->SetBounds(left, 5, w, h);
    g->SetParent(bar);
    return g;
  }
};

TEST(RibbonToolBarLayout, CreationValues) {
  LayoutRig rig;
  auto* bar = new TLumCustomToolBar(rig.form);
  EXPECT_EQ(bar->Height(), 26);
  EXPECT_EQ(bar->Width(), 60);
  EXPECT_EQ(bar->MinLength(), 60);
  EXPECT_EQ(bar->FullLength(), 60);
  EXPECT_EQ(bar->Constraints()->MinWidth, 60);
  EXPECT_EQ(bar->Constraints()->MaxWidth, 60);
  EXPECT_EQ(bar->GripWidth(), 7);
  EXPECT_EQ(bar->HandleWidth(), 14);
  EXPECT_EQ(bar->RowHeight(), 26);
  EXPECT_EQ(bar->CaptionHeight(), 16);
  EXPECT_EQ(bar->FloatingRows(), 1);
  EXPECT_EQ(bar->State(), tsDocked);
  EXPECT_EQ(bar->Position(), daTop);
  EXPECT_TRUE(bar->AutoSize());
  EXPECT_TRUE(bar->AutoPositionControls());
  EXPECT_FALSE(bar->ShowCaption());
  EXPECT_EQ(bar->CaptionPosition(), cpTop);
  EXPECT_TRUE(bar->ShowHint());
  ASSERT_NE(bar->CurrentStyler(), nullptr);
  EXPECT_EQ(bar->CurrentStyler()->Name(), "InternalStyler");
  EXPECT_EQ(bar->Version(), "3.5.4.8");
  bar->SetShowRightHandle(false);
  EXPECT_EQ(bar->HandleWidth(), 4);  // not 0
  EXPECT_EQ(bar->GetRightHandleRect(), (vcl::TRect{-1, -1, -1, -1}));
  bar->SetParent(rig.form);
  EXPECT_EQ(bar->State(), tsFixed);
}

TEST(RibbonToolBarLayout, GlowButtonColumnsOnAGroupHost) {
  LayoutRig rig;
  auto* bar = rig.Bar(rig.Host(true));
  // Each dropped right of everything placed so far, so it goes last.
  auto* a = rig.Glow(bar, 300, 60, 22);
  auto* b = rig.Glow(bar, 310, 80, 22);
  auto* c = rig.Glow(bar, 320, 70, 22);
  auto* d = rig.Glow(bar, 330, 50, 22);
  auto* large = rig.Glow(bar, 340, 40, 66, controls::bsLarge);
  auto* e = rig.Glow(bar, 350, 30, 22);
  // Grip start 2 on a group; three small buttons form a column, the fourth
  // starts the next at the widest one's right edge (2 + 80), the large one
  // takes a column of its own.
  EXPECT_EQ(a->BoundsRect(), vcl::Bounds(2, 2, 60, 22));
  EXPECT_EQ(b->BoundsRect(), vcl::Bounds(2, 24, 80, 22));
  EXPECT_EQ(c->BoundsRect(), vcl::Bounds(2, 46, 70, 22));
  EXPECT_EQ(d->BoundsRect(), vcl::Bounds(82, 2, 50, 22));
  EXPECT_EQ(large->BoundsRect(), vcl::Bounds(132, 2, 40, 66));
  EXPECT_EQ(e->BoundsRect(), vcl::Bounds(172, 2, 30, 22));
  // The length: the trailing column's right edge plus the handle;
  // the thickness: 4 more than the tallest control.
  EXPECT_EQ(bar->Width(), 172 + 30 + 14);
  EXPECT_EQ(bar->FullLength(), 172 + 30 + 14);
  EXPECT_EQ(bar->Height(), 66 + 4);
  // A caption on top moves the band down and adds its height.
  bar->SetShowCaption(true);
  EXPECT_EQ(a->Top(), 16 + 2);
  EXPECT_EQ(bar->Height(), 66 + 4 + 16);
  EXPECT_EQ(bar->GetCaptionRect(), (vcl::TRect{0, 0, bar->Width(), 16}));
}

TEST(RibbonToolBarLayout, OneBandElsewhereAndTheNeededLengths) {
  LayoutRig rig;
  auto* host = rig.Host(false);
  struct Case {
    const char* what;
    int controls;
    bool visible, caption;
    int width, height;
  } const cases[] = {
      {"no control: MinLength", 0, true, false, 60, 26},
      {"all invisible: 15 + HandleWidth", 2, false, false, 15 + 14, 26},
      {"three 30-pixel buttons from grip start 9", 3, true, false, 9 + 90 + 14, 26},
      {"with a caption: 26 + CaptionHeight", 0, true, true, 60, 26 + 16},
  };
  for (const Case& c : cases) {
    auto* bar = rig.Bar(host);
    for (int i = 0; i < c.controls; ++i) {
      auto* b = new TLumCustomToolBarButton(rig.form);
      b->SetAutoSize(false);
      b->SetBounds(1 + i * 40, 1, 30, 20);
      b->SetVisible(c.visible);
      b->SetParent(bar);
    }
    bar->SetShowCaption(c.caption);
    bar->PositionControls(true);
    EXPECT_EQ(bar->Width(), c.width) << c.what;
    EXPECT_EQ(bar->Height(), c.height) << c.what;
    if (c.controls == 3) {
      EXPECT_EQ(bar->ToolBarControl(0)->Left(), 9) << c.what;
      EXPECT_EQ(bar->ToolBarControl(1)->Left(), 39) << c.what;
      EXPECT_EQ(bar->ToolBarControl(2)->Left(), 69) << c.what;
      EXPECT_EQ(bar->ToolBarControl(2)->Top(), 2) << c.what;
    }
    if (c.controls == 2) {
      EXPECT_EQ(bar->ToolBarControl(0)->Top(), bar->Height() + 2) << c.what;
    }
    bar->SetVisible(false);
  }
}

TEST(RibbonToolBarLayout, DisplayOrderFollowsPositions) {
  LayoutRig rig;
  auto* bar = rig.Bar(rig.Host(false));
  bar->SetState(tsFixed);
  bar->SetAutoPositionControls(false);  // keep the given positions
  auto add = [&](int left, int top) {
    auto* b = new TLumCustomToolBarButton(rig.form);
    b->SetAutoSize(false);
    b->SetBounds(left, top, 20, 20);
    b->SetParent(bar);
    return b;
  };
  auto* right = add(100, 5);
  auto* left = add(10, 5);
  auto* middle = add(50, 5);
  auto* zero = add(0, 5);  // Left 0 goes last whatever its position
  ASSERT_EQ(bar->ToolBarControlCount(), 4);
  EXPECT_EQ(bar->ToolBarControl(0), left);
  EXPECT_EQ(bar->ToolBarControl(1), middle);
  EXPECT_EQ(bar->ToolBarControl(2), right);
  EXPECT_EQ(bar->ToolBarControl(3), zero);
  EXPECT_EQ(zero->Left(), 0);  // not moved: the toolbar does not position
}

TEST(RibbonToolBarLayout, OrientationAndRowHeight) {
  LayoutRig rig;
  auto* bar = rig.Bar(rig.Host(false));
  for (int i = 0; i < 2; ++i) {
    auto* b = new TLumCustomToolBarButton(rig.form);
    b->SetAutoSize(false);
    b->SetBounds(1 + 30 * i, 1, 24, 30);
    b->SetParent(bar);
  }
  EXPECT_EQ(bar->CalcRowHeight(false), 34);
  bar->SetOrientation(daLeft);
  EXPECT_FALSE(bar->Horizontal());
  EXPECT_EQ(bar->ToolBarControl(0)->Top(), 9);
  EXPECT_EQ(bar->ToolBarControl(1)->Top(), 9 + 30);
  EXPECT_EQ(bar->ToolBarControl(0)->Left(), 2);
  EXPECT_EQ(bar->FullLength(), 9 + 60 + 14);
  EXPECT_EQ(bar->Height(), 9 + 60 + 14);
  EXPECT_EQ(static_cast<TLumCustomToolBarControl*>(bar->ToolBarControl(0))->Position(), daLeft);
  EXPECT_EQ(bar->CalcRowHeight(true), 28);
}

std::unique_ptr<vcl::TImageList> LayoutImages(int size) {
  auto list = std::make_unique<vcl::TImageList>(nullptr);
  list->SetWidth(size);
  list->SetHeight(size);
  return list;
}

TEST(RibbonToolBarLayout, ImageListSizeChangesTheThickness) {
  LayoutRig rig;
  auto* bar = rig.Bar(rig.Host(true));
  bar->SetAutoSize(false);
  bar->SetAutoPositionControls(false);
  bar->SetBounds(3, 3, 300, 75);
  auto small = LayoutImages(16), big = LayoutImages(24);
  bar->SetImages(small.get());
  EXPECT_EQ(bar->Height(), 75 + 16);
  bar->SetImages(big.get());
  EXPECT_EQ(bar->Height(), 75 + 16 + 8);
  bar->SetImages(nullptr);
  EXPECT_EQ(bar->Height(), 75);
  // The aligned area leaves out the caption band at the bottom.
  bar->SetShowCaption(true);
  bar->SetCaptionPosition(cpBottom);
  vcl::TRect r = bar->ClientRect();
  bar->AdjustClientRect(r);
  EXPECT_EQ(r, (vcl::TRect{0, 0, 300, 75 - 16}));
}

}  // namespace
