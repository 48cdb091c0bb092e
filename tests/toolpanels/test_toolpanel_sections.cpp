// A panel's sections on a shown form: their pixels (caption gradient,
// expand box, items, separator, rounded corners), collapsing and expanding
// with the child controls they move and hide, autosized heights, the item
// under a point and clicks on items through synthetic mouse input.
#include <gtest/gtest.h>

#include "PanelRig.h"
#include "rtl/Convert.h"
#include "vcl/StdCtrls.h"

using namespace paneltest;

namespace {

TColor SectionBand(TColor from, TColor to, int steps, int i) {
  auto ch = [&](int shift) {
    const int f = (from >> shift) & 0xFF, t = (to >> shift) & 0xFF;
    return static_cast<TColor>(f + rtl::Round(i * (static_cast<double>(t - f) / steps))) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

// A stepped gradient's colour at offset `at` of an extent (less one) in
// `steps` bands.
TColor SectionGradientAt(int from, int to, TColor c0, TColor c1, int steps, int at) {
  const double size = static_cast<double>(to - 1 - from) / steps;
  TColor c = 0;
  for (int i = 0; i < steps; ++i) {
    const int start = from + static_cast<int>(rtl::Round(i * size));
    if (at >= start && at < start + static_cast<int>(rtl::Round(size)) + 1) c = SectionBand(c0, c1, steps, i);
  }
  return c;
}

int SectionTextHeight(TLumToolPanel* p) {
  vcl::TBitmap b(1, 1);
  b.Canvas()->SetFont(p->Font());
  return b.Canvas()->TextHeight("gh");
}

// A panel of its own on the form (no strip), 200 by 400, in the default
// blue preset, with a "Tasks" section of three items (the middle one a
// separator) that can collapse, and a second section below.
TLumToolPanel* SectionPanel(Rig& rig) {
  auto* p = new TLumToolPanel(rig.form);
  p->SetParent(rig.form->page);
  p->SetBounds(300, 20, 200, 400);
  TLumToolPanelSection* tasks = p->Sections()->Add();
  tasks->SetCaption("Tasks");
  tasks->SetNode(true);
  tasks->SetHeight(120);
  for (const char* c : {"Open page", "-", "Save page"}) tasks->SectionItems()->Add()->SetCaption(c);
  TLumToolPanelSection* more = p->Sections()->Add();
  more->SetCaption("More");
  more->SetHeight(80);
  rig.Pump();
  return p;
}

}  // namespace

TEST(ToolPanelSections, CaptionExpandBoxItemsAndSeparatorInPixels) {
  Rig rig;
  TLumToolPanel* p = SectionPanel(rig);
  const int th = SectionTextHeight(p);
  const QImage shot = rig.Grab(p);
  shot.save(TOLVANE_BUILD_DIR "/toolpanels_sections.png");
  // Section 0 from y = 23: its caption 16 high, a 48-band gradient left to
  // right over (5, 23, 198, 40).
  for (int x : {6, 50, 120, 190})
    EXPECT_EQ(Rig::At(shot, x, 25), SectionGradientAt(5, 198, 0xF7DEC6, 0xD68C63, 48, x)) << x;
  // The expand box (8, 27, 17, 36): grey rounded outline, a black minus.
  EXPECT_EQ(p->NodeRect(0), (vcl::TRect{8, 27, 17, 36}));
  EXPECT_EQ(Rig::At(shot, 12, 27), 0x808080u);
  EXPECT_EQ(Rig::At(shot, 8, 31), 0x808080u);
  for (int x = 10; x < 15; ++x) EXPECT_EQ(Rig::At(shot, x, 31), 0u) << x;
  // The body: 128 bands top to bottom over (5, 40, 199, 139) and a white
  // border on its top, left and bottom.
  EXPECT_EQ(Rig::At(shot, 100, 40), 0xFFFFFFu);
  EXPECT_EQ(Rig::At(shot, 5, 100), 0xFFFFFFu);
  EXPECT_EQ(Rig::At(shot, 100, 138), 0xFFFFFFu);
  EXPECT_EQ(Rig::At(shot, 150, 120), SectionGradientAt(40, 139, 0xF7EFDE, 0xF7D6BD, 128, 120));
  // Item 1 is a separator: a border-coloured line at capH + y + s + ih.
  const int s = th / 2 > 7 ? th / 2 + 2 : 10;
  EXPECT_EQ(Rig::At(shot, 100, 16 + 23 + s + th), 0xFFFFFFu);
  // Item 0's caption in the item colour somewhere on its line.
  bool itemInk = false;
  for (int y = 39 + 4; y < 39 + 4 + th; ++y)
    for (int x = 16; x < 70; ++x) {
      const TColor c = Rig::At(shot, x, y);  // 0xB53900 where the glyphs are solid
      itemInk |= (c & 0xFF) < 0x30 && ((c >> 16) & 0xFF) > 0x90;
    }
  EXPECT_TRUE(itemInk);
}

TEST(ToolPanelSections, RoundedCornersAndNoCaptionBackground) {
  Rig rig;
  TLumToolPanel* p = SectionPanel(rig);
  p->SectionLayout()->SetCorners(scRoundLeft);
  QImage shot = rig.Grab(p);
  // Top-left corner of the caption left out, top-right painted.
  EXPECT_NE(Rig::At(shot, 5, 23), SectionGradientAt(5, 199, 0xF7DEC6, 0xD68C63, 48, 5));
  EXPECT_EQ(Rig::At(shot, 197, 23), SectionGradientAt(5, 199, 0xF7DEC6, 0xD68C63, 48, 197));
  EXPECT_EQ(Rig::At(shot, 5, 35), SectionGradientAt(5, 199, 0xF7DEC6, 0xD68C63, 48, 5));
  p->SectionLayout()->SetCorners(scRoundLeftRight);
  shot = rig.Grab(p);
  EXPECT_NE(Rig::At(shot, 197, 23), SectionGradientAt(5, 199, 0xF7DEC6, 0xD68C63, 48, 197));
  // CaptionRounded shows nothing.
  p->SectionLayout()->SetCorners(scRectangle);
  const QImage square = rig.Grab(p);
  p->SectionLayout()->SetCaptionRounded(true);
  EXPECT_EQ(rig.Grab(p), square);
  p->SectionLayout()->SetCaptionColor(vcl::clNone);
  shot = rig.Grab(p);
  EXPECT_NE(Rig::At(shot, 100, 25), SectionGradientAt(5, 198, 0xF7DEC6, 0xD68C63, 48, 100));
}

TEST(ToolPanelSections, CollapseAndExpandMoveHideAndRestoreChildControls) {
  Rig rig;
  TLumToolPanel* p = SectionPanel(rig);
  // Inside section 0 (23 to 143), below it (in section 1), and further.
  auto* inside = new vcl::TEdit(rig.form);
  inside->SetParent(p);
  inside->SetBounds(20, 100, 100, 21);
  auto* below = new vcl::TEdit(rig.form);
  below->SetParent(p);
  below->SetBounds(20, 160, 100, 21);
  auto* hiddenBelow = new vcl::TEdit(rig.form);
  hiddenBelow->SetParent(p);
  hiddenBelow->SetBounds(20, 200, 100, 21);
  hiddenBelow->SetVisible(false);
  std::vector<std::string> events;
  p->OnNodeCollapse = [&](vcl::TObject*, Integer s) { events.push_back("collapse " + std::to_string(s)); };
  p->OnNodeExpand = [&](vcl::TObject*, Integer s) { events.push_back("expand " + std::to_string(s)); };
  // A click on the expand box collapses: caption + spacing high.
  Rig::Click(p, 12, 31);
  TLumToolPanelSection* tasks = p->Sections()->Items(0);
  EXPECT_FALSE(tasks->Expanded());
  EXPECT_EQ(tasks->Height(), 20);
  EXPECT_FALSE(inside->Visible());
  EXPECT_EQ(inside->Top(), 100);
  EXPECT_EQ(below->Top(), 60);
  EXPECT_EQ(hiddenBelow->Top(), 100) << "invisible controls move too";
  EXPECT_EQ(p->SectionRect(1).Top, 43);
  const QImage collapsed = rig.Grab(p);
  int ink = 0;
  for (int y = 28; y < 35; ++y)
    for (int x = 9; x < 16; ++x) ink += (Rig::At(collapsed, x, y) & 0xFF) < 0x60;
  EXPECT_GT(ink, 3) << "a plus in the box";
  EXPECT_NE(Rig::At(collapsed, 10, 31), 0u) << "no minus line";
  // Expanding restores everything exactly.
  Rig::Click(p, 12, 31);
  EXPECT_TRUE(tasks->Expanded());
  EXPECT_EQ(tasks->Height(), 120);
  EXPECT_TRUE(inside->Visible());
  EXPECT_EQ(inside->Top(), 100);
  EXPECT_EQ(below->Top(), 160);
  EXPECT_EQ(hiddenBelow->Top(), 200);
  EXPECT_FALSE(hiddenBelow->Visible());
  EXPECT_EQ(events, (std::vector<std::string>{"collapse 0", "expand 0"}));
  // A section without an expand box does not collapse.
  p->SetExpanded(1, false);
  EXPECT_TRUE(p->Sections()->Items(1)->Expanded());
  // Growing a section moves what lies below it.
  tasks->SetHeight(130);
  EXPECT_EQ(below->Top(), 170);
  EXPECT_EQ(inside->Top(), 100);
}

TEST(ToolPanelSections, AutosizedHeights) {
  Rig rig;
  TLumToolPanel* p = SectionPanel(rig);
  const int th = SectionTextHeight(p);
  TLumToolPanelSection* tasks = p->Sections()->Items(0);
  tasks->SetAutosize(true);
  EXPECT_EQ(tasks->ItemHeight(), th);
  EXPECT_EQ(tasks->Height(), 3 * th + 16 + 4 + 6);
  tasks->SetHeight(300);
  EXPECT_EQ(tasks->Height(), 3 * th + 16 + 4 + 6) << "an autosized section keeps its height";
  tasks->SectionItems()->Add()->SetCaption("Close page");
  EXPECT_EQ(tasks->Height(), 4 * th + 26);
  for (int i = 0; i < 4; ++i) delete tasks->SectionItems()->Items(tasks->SectionItems()->Count() - 1);
  EXPECT_EQ(tasks->SectionItems()->Count(), 0);
  EXPECT_GT(tasks->Height(), 24) << "removal never makes it 24 high or lower";
  // The layout's spacing re-applies every section's Autosize.
  p->SectionLayout()->SetSpacing(10);
  EXPECT_EQ(tasks->Height(), 0 * th + 16 + 10 + 6);
}

TEST(ToolPanelSections, TheItemUnderAPointAndItsClick) {
  Rig rig;
  TLumToolPanel* p = SectionPanel(rig);
  const int th = SectionTextHeight(p);
  Integer section = 0;
  vcl::TRect hover;
  // Item 0 from y = 16 + 23 + 4, x from 12 + 4 to 16 + its text width.
  EXPECT_EQ(p->ItemAtPos(20, 43 + 2, section, hover), 0);
  EXPECT_EQ(section, 0);
  EXPECT_EQ(hover, (vcl::TRect{5, 43, 199, 43 + th}));
  EXPECT_EQ(p->ItemAtPos(20, 43 + th + 2, section, hover), -1) << "the separator";
  EXPECT_EQ(section, -1);
  EXPECT_EQ(hover, (vcl::TRect{-1, -1, -1, -1}));
  EXPECT_EQ(p->ItemAtPos(190, 45, section, hover), -1) << "beyond the caption's text";
  EXPECT_EQ(p->ItemAtPos(20, 43 + 2 * th + 2, section, hover), 2);
  // A click on an item through the mouse: hover first, then press and
  // release.
  std::vector<std::pair<int, int>> clicks;
  p->OnItemClick = [&](vcl::TObject*, Integer s, Integer i) { clicks.push_back({s, i}); };
  Rig::Move(p, 20, 43 + 2 * th + 2);
  EXPECT_EQ(p->HoveredItem(), 2);
  EXPECT_EQ(vcl::Screen->Cursor(), vcl::crHandPoint);
  // The hovered item is drawn underlined in the hover colour.
  p->Sections()->Items(0)->SectionItems()->Items(2)->SetEnabled(false);
  Rig::Click(p, 20, 43 + 2 * th + 2);
  EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{0, 2}})) << "disabled items react like enabled ones";
  vcl::THintInfo info;
  p->Sections()->Items(0)->SectionItems()->Items(2)->Hint = "Saves the page";
  info.CursorPos = p->ClientToScreen({20, 43 + 2 * th + 2});
  p->Perform(vcl::CM_HINTSHOW, 0, reinterpret_cast<vcl::LPARAM>(&info));
  EXPECT_EQ(info.HintStr, "Saves the page");
  // Leaving all items restores the cursor.
  Rig::Move(p, 150, 300);
  EXPECT_EQ(p->HoveredItem(), -1);
  EXPECT_NE(vcl::Screen->Cursor(), vcl::crHandPoint);
  // Items below a shrunk section are neither drawn nor hit.
  p->Sections()->Items(0)->SetHeight(16 + 4 + th + 4);
  EXPECT_EQ(p->ItemAtPos(20, 43 + 2 * th + 2, section, hover), -1);
  EXPECT_EQ(p->Sections()->Items(0)->DisplayName(), "Section 0: Tasks");
  EXPECT_EQ(p->Sections()->Items(0)->SectionItems()->Items(0)->DisplayName(), "Item 0: Open page");
}
