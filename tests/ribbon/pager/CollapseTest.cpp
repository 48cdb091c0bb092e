// A ribbon group collapsed to its compact button: its controls in the
// clone inside the compact window, the window dropped under the group by a
// real click, closed by a press outside through its 1 ms timer, a press on
// a second collapsed group moving straight to that group's window, the
// window kept inside the work area, and the group expanded again.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <memory>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "rtl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/PopupWindow.h"

namespace {

using namespace ribbon;
using controls::TLumGlowButton;

struct CollapseRig {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000000);
  vcl::TForm* form = nullptr;
  TRorIvezEviPager* pager = nullptr;
  TLumPage* page = nullptr;
  CollapseRig() {
    rtl::InstallClock(clock);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(20, 20, 800, 300);
    form->SetClientWidth(600);
    pager = new TRorIvezEviPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    page = new TLumPage(form);
    page->SetCaption("&Edit");
    page->SetParent(pager);
    pager->SetActivePageIndex(0);
    form->Show();
    Pump();
  }
  ~CollapseRig() {
    vcl::Free(form);
    Pump();
    rtl::InstallClock(nullptr);
  }
  void Pump() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      vcl::Application->ProcessMessages();
    }
  }
  void Tick() {
    clock->Advance(1);
    vcl::Application->ProcessMessages();
    Pump();
  }
  TRorIvezEvi* Group(const char* name, std::initializer_list<const char*> captions) {
    auto* b = new TRorIvezEvi(form);
    b->SetName(name);
    b->SetCaption(name);
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
  static void Click(vcl::TWinControl* c, QPoint at = QPoint(5, 5)) {
    QTest::mousePress(c->Widget(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(c->Widget(), Qt::LeftButton, {}, at);
  }
};

TEST(RibbonCollapse, CollapseDropDownAndExpand) {
  CollapseRig rig;
  TRorIvezEvi* group = rig.Group("Clipboard", {"Paste", "Cut", "Copy", "Format"});
  const int width = group->Width();
  std::vector<vcl::TControl*> controls;
  for (int i = 0; i < group->ToolBarControlCount(); ++i) controls.push_back(group->ToolBarControl(i));
  ASSERT_EQ(controls.size(), 4u);
  group->SetCollapsed(true);
  ASSERT_TRUE(group->IsCollapsed());
  EXPECT_EQ(group->Width(), 45);
  EXPECT_EQ(group->GetCollapsedWidth(), 45);
  EXPECT_FALSE(group->ShowCaption());
  // The compact button fills the group; the controls sit in the clone, in
  // their order, inside the compact window.
  TLumGlowButton* button = group->CompactButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->BoundsRect(), vcl::Bounds(0, 0, 45, group->Height()));
  EXPECT_TRUE(button->DropDownButton());
  TLumCustomToolBar* clone = group->Clone();
  ASSERT_NE(clone, nullptr);
  TCompactWindow* window = group->CompactWindow();
  EXPECT_EQ(clone->Parent(), window);
  EXPECT_EQ(window->Name(), "Clipboard_CompactWindow");
  EXPECT_EQ(clone->Name(), "Clipboard_SelfClone");
  EXPECT_EQ(clone->CloneSource(), group);
  EXPECT_TRUE(clone->ShowCaption());
  for (size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i]->Parent(), clone);
    EXPECT_EQ(clone->ToolBarControl(static_cast<int>(i)), controls[i]);
  }
  EXPECT_FALSE(window->Visible());
  // Measured for expanding: the smallest form, narrower than before.
  const int expanded = group->GetExpandedWidth();
  EXPECT_LT(expanded, width);
  EXPECT_TRUE(group->CloneReduced());
  // A click on the compact button drops the window under the group, the
  // clone in its full size again, the window 2 larger than the clone.
  CollapseRig::Click(button);
  rig.Pump();
  ASSERT_TRUE(window->Visible());
  // The controls show in the window, their windows inside the clone's.
  for (vcl::TControl* c : controls) {
    auto* w = dynamic_cast<vcl::TWinControl*>(c);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Widget()->isVisible()) << c->Caption();
    EXPECT_EQ(w->Widget()->parentWidget(), clone->Widget()) << c->Caption();
  }
  EXPECT_FALSE(group->CloneReduced());
  EXPECT_EQ(clone->Width(), width);
  const vcl::TPoint under = rig.page->ClientToScreen({group->Left(), group->Top() + group->Height() + 1});
  EXPECT_EQ(window->Left(), under.X);
  EXPECT_EQ(window->Top(), under.Y);
  EXPECT_EQ(window->ClientWidth(), clone->Width() + 2);
  EXPECT_EQ(clone->Left(), 1);
  EXPECT_TRUE(button->Down());
  // A press outside: the window closes one timer tick later and the
  // button comes up.
  CollapseRig::Click(rig.pager, QPoint(300, 10));
  EXPECT_TRUE(window->HideTimer()->Enabled());
  rig.Tick();
  EXPECT_FALSE(window->Visible());
  EXPECT_FALSE(button->Down());
  // Expanded again: the controls come back, the button and the window go.
  group->SetCollapsed(false);
  EXPECT_FALSE(group->IsCollapsed());
  EXPECT_EQ(group->CompactButton(), nullptr);
  EXPECT_EQ(group->CompactWindow(), nullptr);
  EXPECT_TRUE(group->ShowCaption());
  for (size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(group->ToolBarControl(static_cast<int>(i)), controls[i]);
  EXPECT_EQ(group->Width(), expanded);
  // Off a page, or before it is loaded, a group does not collapse.
  auto* loose = new TRorIvezEvi(rig.form);
  loose->SetParent(rig.form);
  loose->SetGroupLoaded(true);
  loose->SetCollapsed(true);
  EXPECT_FALSE(loose->IsCollapsed());
}

TEST(RibbonCollapse, SecondGroupAndTheWorkArea) {
  CollapseRig rig;
  TRorIvezEvi* a = rig.Group("Font", {"Bold", "Italic", "Underline"});
  TRorIvezEvi* b = rig.Group("Lists", {"Bullets", "Numbering", "Indent"});
  a->SetCollapsed(true);
  b->SetCollapsed(true);
  rig.page->ArrangeToolBars();
  CollapseRig::Click(a->CompactButton());
  rig.Pump();
  ASSERT_TRUE(a->CompactWindow()->Visible());
  // A press on the second group's button: the first window closes on the
  // tick, the second is open.
  CollapseRig::Click(b->CompactButton());
  rig.Pump();
  rig.Tick();
  EXPECT_FALSE(a->CompactWindow()->Visible());
  EXPECT_TRUE(b->CompactWindow()->Visible());
  EXPECT_FALSE(a->CompactButton()->Down());
  EXPECT_TRUE(b->CompactButton()->Down());
  b->HideCompactWindow();
  EXPECT_FALSE(b->CompactWindow()->Visible());
  // Near the work area's right edge the window moves left to end there.
  const vcl::TRect work = vcl::PrimaryWorkArea();
  const vcl::TPoint origin = rig.page->ClientToScreen({b->Left(), 0});
  rig.form->SetLeft(rig.form->Left() + (work.Right - 20) - origin.X);
  rig.Pump();
  CollapseRig::Click(b->CompactButton());
  rig.Pump();
  ASSERT_TRUE(b->CompactWindow()->Visible());
  EXPECT_EQ(b->CompactWindow()->Left() + b->CompactWindow()->Width(), work.Right);
}

// Through the page: narrowed until nothing shrinks, the rightmost group
// collapses to its compact button; widened, it comes back.
TEST(RibbonCollapse, ThePageCollapsesItsGroups) {
  CollapseRig rig;
  TRorIvezEvi* a = rig.Group("Document", {"Document Properties", "Open", "Save", "Close"});
  TRorIvezEvi* b = rig.Group("Editing", {"Find and Replace All", "Replace", "Go to", "Select"});
  const int wide = b->Width();
  rig.form->SetClientWidth(250);
  EXPECT_TRUE(b->IsCollapsed());
  EXPECT_EQ(b->Width(), 45);
  EXPECT_FALSE(a->IsCollapsed());
  rig.form->SetClientWidth(600);
  EXPECT_FALSE(b->IsCollapsed());
  EXPECT_EQ(b->Width(), wide);
}

}  // namespace

namespace {

TEST(RibbonCollapse, PopupWindowsHitTestFitAndWorkArea) {
  CollapseRig rig;
  TRorIvezEvi* group = rig.Group("Clipboard", {"Paste", "Cut", "Copy"});
  group->SetCollapsed(true);
  CollapseRig::Click(group->CompactButton());
  rig.Pump();
  TCompactWindow* window = group->CompactWindow();
  ASSERT_TRUE(window->Visible());
  // The last 10 pixels of both width and height: the sizing corner.
  auto hit = [&](int x, int y) {
    const vcl::TPoint p = window->ClientToScreen({x, y});
    return window->Perform(vcl::WM_NCHITTEST, 0,
                           vcl::MakeLParam(static_cast<vcl::Word>(p.X), static_cast<vcl::Word>(p.Y)));
  };
  const int w = window->ClientWidth(), h = window->ClientHeight();
  EXPECT_EQ(hit(w - 1, h - 1), vcl::HT_BOTTOMRIGHT_CORNER);
  EXPECT_EQ(hit(w - 10, h - 10), vcl::HT_BOTTOMRIGHT_CORNER);
  EXPECT_NE(hit(w - 11, h - 1), vcl::HT_BOTTOMRIGHT_CORNER);
  EXPECT_NE(hit(w - 1, h - 11), vcl::HT_BOTTOMRIGHT_CORNER);
  EXPECT_EQ(window->OwnerTopWindow(), rig.form);
  group->HideCompactWindow();
  // The minimised ribbon's window: the page's size plus 3, the page at
  // (2, 0); created empty.
  auto* popup = new TMinimizedRibbonWindow(rig.pager);
  EXPECT_EQ(popup->Width(), 0);
  EXPECT_EQ(popup->Height(), 0);
  EXPECT_EQ(popup->Pager(), nullptr);
  auto* twin = new TLumPage(popup);
  twin->SetParent(popup);
  twin->SetBounds(0, 0, 300, 80);
  popup->SetPager(rig.pager);
  popup->SetPage(twin);
  popup->FitToPage();
  EXPECT_EQ(popup->ClientWidth(), 303);
  EXPECT_EQ(popup->ClientHeight(), 83);
  EXPECT_EQ(twin->Left(), 2);
  EXPECT_EQ(twin->Top(), 0);
  vcl::Free(popup);
}

TEST(RibbonCollapse, FormFillsWorkArea) {
  CollapseRig rig;
  EXPECT_FALSE(FormFillsWorkArea(rig.form));  // not maximised
  EXPECT_FALSE(FormFillsWorkArea(nullptr));
  rig.form->SetWindowState(vcl::TWindowState::wsMaximized);
  rig.Pump();
  EXPECT_TRUE(FormFillsWorkArea(rig.form));  // no maximum size
  const vcl::TRect work = vcl::PrimaryWorkArea();
  rig.form->Constraints()->MaxHeight = work.Height() - 40;
  rig.form->SetHeight(work.Height() - 40);
  EXPECT_FALSE(FormFillsWorkArea(rig.form));
  rig.form->Constraints()->MaxHeight = work.Height() - 20;
  rig.form->SetBounds(0, 0, work.Width(), work.Height() - 20);
  EXPECT_TRUE(FormFillsWorkArea(rig.form));
}

}  // namespace
