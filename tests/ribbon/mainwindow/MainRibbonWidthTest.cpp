// The main window narrowed from 1000 to 300 pixels and widened back in
// steps: the groups (which keep their own layout, so their buttons never
// shrink) collapse into compact buttons from the right, the page scrolls
// the collapsed groups once even they do not fit, a collapsed "Font"
// group drops its controls in its popup where a click runs a button, and
// at full width again every page lays out as it did at first.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "MainRibbonRig.h"
#include "controls/LumGlowButton.h"
#include "vcl/Forms.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "ribbon/RorIvezEviScroll.h"
#include "ribbon/RorIvezEviToolBar.h"

namespace {

using namespace ribbon;
using ide::testing::MainRibbonRig;
using ide::testing::SaveGrab;

// Every page's groups and their controls, as bounds and states.
std::string Layout(MainRibbonRig& rig) {
  std::string out;
  for (const char* name : {"FilePage", "EditHTMLPage", "EditSource", "HTMLPage", "ToolsPage", "TargetPage"}) {
    TLumPage* page = rig.Page(name);
    out += std::string(name) + " " + std::to_string(page->Width()) + ":";
    for (int t = 0; t < page->ToolBarCount(); ++t) {
      TLumCustomToolBar* bar = page->ToolBars(t);
      out += " [" + bar->Caption() + (bar->IsCollapsed() ? " collapsed" : "") + " " + std::to_string(bar->Left()) +
             "," + std::to_string(bar->Top()) + " " + std::to_string(bar->Width()) + "x" +
             std::to_string(bar->Height()) + (bar->Visible() ? "" : " hidden");
      for (int c = 0; c < bar->ControlCount(); ++c) {
        vcl::TControl* k = bar->Controls(c);
        out += " " + std::to_string(k->Left()) + "," + std::to_string(k->Top()) + "," + std::to_string(k->Width()) +
               "," + std::to_string(k->Height());
      }
      out += "]";
    }
    out += "\n";
  }
  return out;
}

void SetWidth(MainRibbonRig& rig, int width) {
  rig.form->SetClientWidth(width);
  rig.Pump();
}

TEST(MainRibbonWidth, NarrowToThreeHundredAndBack) {
  MainRibbonRig rig;
  rig.pager->SetActivePage(rig.Page("EditHTMLPage"));
  rig.Pump();
  const std::string first = Layout(rig);
  TLumPage* edit = rig.Page("EditHTMLPage");
  TLumCustomToolBar* editBar = rig.Bar("Edit", "EditHTMLPage");
  TLumCustomToolBar* font = rig.Bar("Font", "EditHTMLPage");
  ASSERT_NE(font, nullptr);
  const int fontWidth = font->Width(), editWidth = editBar->Width();
  EXPECT_FALSE(font->IsCollapsed());
  // Narrowing: the Font group collapses first (rightmost), then Edit; the
  // page scrolls when the two compact buttons still do not fit.
  int fontCollapsedAt = 0, editCollapsedAt = 0, scrollAt = 0;
  for (int width = 978; width >= 300; width -= 26) {
    SCOPED_TRACE(width);
    SetWidth(rig, width);
    EXPECT_EQ(rig.pager->Width(), width);
    EXPECT_EQ(edit->Width(), width - 8);
    if (!fontCollapsedAt && font->IsCollapsed()) fontCollapsedAt = width;
    if (!editCollapsedAt && editBar->IsCollapsed()) editCollapsedAt = width;
    if (!scrollAt && edit->RightToolBarButton() && edit->RightToolBarButton()->Visible()) scrollAt = width;
    // An expanded group keeps its streamed width, a collapsed one is 45.
    EXPECT_EQ(font->Width(), font->IsCollapsed() ? 45 : fontWidth);
    EXPECT_EQ(editBar->Width(), editBar->IsCollapsed() ? 45 : editWidth);
    // Collapsing goes from the right: the Edit group only after Font.
    if (editBar->IsCollapsed()) EXPECT_TRUE(font->IsCollapsed());
    // What is shown fits: the groups end inside the page unless the page
    // scrolls them.
    const bool scrolling = edit->RightToolBarButton() && edit->RightToolBarButton()->Visible();
    if (!scrolling && font->Visible()) EXPECT_LE(font->Left() + font->Width(), edit->Width());
  }
  EXPECT_GT(fontCollapsedAt, 0);
  EXPECT_GT(fontCollapsedAt, editCollapsedAt);
  // Both groups need 3 + 45 + 3 + 45 + 3 = 99 pixels: at 300 they fit
  // collapsed; the Edit group collapsed only once its full width no
  // longer fitted beside the compact Font button.
  EXPECT_LT(editCollapsedAt, 3 + editWidth + 3 + 45 + 3 + 8);
  EXPECT_GE(fontCollapsedAt, 3 + editWidth + 3 + fontWidth + 3 + 8 - 26);
  SaveGrab(rig.pager, "ribbon_main_300.png");
  // The HTML page at 300: four groups collapsed (3 + 4 x 48 = 195 fits).
  rig.pager->SetActivePage(rig.Page("HTMLPage"));
  rig.Pump();
  TLumPage* html = rig.Page("HTMLPage");
  for (int t = 0; t < html->ToolBarCount(); ++t) EXPECT_TRUE(html->ToolBars(t)->IsCollapsed()) << t;
  SaveGrab(rig.pager, "ribbon_main_300_html.png");
  // Widening back in the same steps.
  rig.pager->SetActivePage(edit);
  rig.Pump();
  for (int width = 300; width <= 978; width += 26) SetWidth(rig, width);
  SetWidth(rig, 978);
  EXPECT_FALSE(font->IsCollapsed());
  EXPECT_FALSE(editBar->IsCollapsed());
  EXPECT_EQ(Layout(rig), first);
}

// Scrolling: the Tools page's groups collapsed at a width where even the
// compact buttons do not all show; the page's scroll buttons move them.
TEST(MainRibbonWidth, CollapsedGroupsScroll) {
  MainRibbonRig rig;
  rig.pager->SetActivePage(rig.Page("HTMLPage"));
  rig.Pump();
  TLumPage* html = rig.Page("HTMLPage");
  // Four compact groups need 3 + 4 x 48 = 195: a page of 150 scrolls.
  SetWidth(rig, 158);
  ASSERT_EQ(html->Width(), 150);
  for (int t = 0; t < html->ToolBarCount(); ++t) EXPECT_TRUE(html->ToolBars(t)->IsCollapsed()) << t;
  TLumPageScrollButton* right = html->RightToolBarButton();
  ASSERT_NE(right, nullptr);
  ASSERT_TRUE(right->Visible());
  EXPECT_EQ(html->FirstShownToolBar(), 0);
  rig.Click(right, QPoint(right->Width() / 2, right->Height() / 2));
  EXPECT_EQ(html->FirstShownToolBar(), 1);
  TLumPageScrollButton* left = html->LeftToolBarButton();
  ASSERT_NE(left, nullptr);
  EXPECT_TRUE(left->Visible());
  rig.Click(left, QPoint(left->Width() / 2, left->Height() / 2));
  EXPECT_EQ(html->FirstShownToolBar(), 0);
  SaveGrab(rig.pager, "ribbon_main_158_scroll.png");
}

// A collapsed Font group: its compact button drops the group's controls
// in a popup under it; a click on Bold there runs the action and a press
// outside closes the popup on the next tick.
TEST(MainRibbonWidth, CollapsedFontGroupPopup) {
  MainRibbonRig rig;
  rig.pager->SetActivePage(rig.Page("EditHTMLPage"));
  rig.Pump();
  SetWidth(rig, 600);
  TLumCustomToolBar* font = rig.Bar("Font", "EditHTMLPage");
  ASSERT_TRUE(font->IsCollapsed());
  controls::TLumGlowButton* compact = font->CompactButton();
  ASSERT_NE(compact, nullptr);
  EXPECT_EQ(compact->Caption(), "Font");
  EXPECT_EQ(compact->ShortCutHint(), "Q2");
  rig.Click(compact, QPoint(20, 20));
  TCompactWindow* window = font->CompactWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->Visible());
  TLumCustomToolBar* clone = font->Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->Parent(), window);
  EXPECT_EQ(clone->Caption(), "Font");
  // The group's controls, in the popup: combo boxes, containers, buttons.
  controls::TLumGlowButton* bold = rig.Button("ac_Bold");
  ASSERT_NE(bold, nullptr);
  EXPECT_EQ(bold->Parent()->Parent(), clone);
  EXPECT_EQ(rig.form->FindComponent("Cb_ribbonFontPicker") ? dynamic_cast<vcl::TControl*>(
                                                                  rig.form->FindComponent("Cb_ribbonFontPicker"))
                                                                  ->Parent()
                                                            : nullptr,
            clone);
  const vcl::TPoint under = font->Parent()->ClientToScreen({font->Left(), font->Top() + font->Height() + 1});
  // Under the group, moved left to end at the desktop's edge when it
  // would cross it.
  EXPECT_EQ(window->Left(), std::min(under.X, vcl::Screen->Width() - window->Width()));
  EXPECT_LE(window->Left() + window->Width(), vcl::Screen->Width());
  EXPECT_EQ(window->Top(), under.Y);
  rig.Pump();
  SaveGrab(window, "ribbon_main_font_popup.png");
  // Every control of the group shows in the popup.
  for (int i = 0; i < clone->ControlCount(); ++i) {
    auto* w = dynamic_cast<vcl::TWinControl*>(clone->Controls(i));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Widget()->isVisible()) << w->Name();
  }
  EXPECT_TRUE(bold->Widget()->isVisible());
  rig.Click(bold, QPoint(bold->Width() / 2, bold->Height() / 2));
  EXPECT_EQ(rig.Runs("ac_Bold"), 1);
  // A press on the pager's tab row outside the popup closes it.
  rig.Click(rig.pager, QPoint(400, 10));
  rig.Advance(1);
  EXPECT_FALSE(window->Visible());
}

}  // namespace
