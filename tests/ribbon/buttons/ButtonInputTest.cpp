// Toolbar buttons driven by the class library's mouse messages: hover,
// press and click, the release edges, groups, the split drop-down part.
#include <gtest/gtest.h>

#include <QCursor>

#include "ButtonRig.h"
#include "vcl/ActnList.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace ribbontest {
namespace {

TEST(RibbonButtonInput, DefaultsAndVersion) {
  Rig rig;
  auto* b = new TRorIvezEviMenuButton(rig.form);
  EXPECT_EQ(b->Width(), 23);
  EXPECT_EQ(b->Height(), 22);
  EXPECT_EQ(b->ControlStyle(), (vcl::TControlStyle{vcl::csCaptureMouse, vcl::csDoubleClicks}));
  EXPECT_TRUE(b->AutoSize());
  EXPECT_EQ(b->Font()->Name(), "Tahoma");
  EXPECT_EQ(b->ImageIndex(), -1);
  EXPECT_EQ(b->DropDownWidth(), 12);
  EXPECT_EQ(b->Spacing(), 4);
  EXPECT_EQ(b->Margin(), 4);
  EXPECT_TRUE(b->Shaded());
  EXPECT_TRUE(b->ParentStyler());
  EXPECT_TRUE(b->DropDownSplit());
  EXPECT_EQ(b->GlyphPosition(), gpLeft);
  EXPECT_EQ(b->State(), tbsUp);
  EXPECT_EQ(b->HoverTimer()->Interval(), 1u);
  EXPECT_FALSE(b->HoverTimer()->Enabled());
  EXPECT_TRUE(b->IsMenuButton());
  EXPECT_EQ(b->Version(), "3.5.4.8");
  b->SetVersion("9.9");
  EXPECT_EQ(b->Version(), "3.5.4.8");
  EXPECT_EQ(rig.bar->Version(), "3.5.4.8");
  auto* s = new TRorIvezEviSeparator(rig.form);
  EXPECT_EQ(s->Width(), 10);
  EXPECT_EQ(s->Height(), 22);
  EXPECT_EQ(s->LineColor(), vcl::clBtnShadow);
  EXPECT_EQ(s->SeparatorStyle(), ssOffice2003);
}

TEST(RibbonButtonInput, JoiningAToolBar) {
  Rig rig;
  auto* b = new TLumCustomToolBarButton(rig.form);
  b->SetRorIvezEvi(rig.bar);
  EXPECT_EQ(b->RorIvezEvi(), rig.bar);
  EXPECT_EQ(b->Parent(), rig.bar);
  ASSERT_EQ(rig.bar->ToolBarControlCount(), 1);
  EXPECT_EQ(rig.bar->ToolBarControl(0), b);
  EXPECT_THROW(rig.bar->ToolBarControl(1), rtl::EListError);
  try {
    rig.bar->ToolBarControl(5);
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "Index out of bounds in list read access");
  }
  // A toolbar that refuses the control leaves it without one.
  auto* other = new RecordingToolBar(rig.form);
  other->SetParent(rig.panel);
  other->refuse = true;
  auto* c = new TLumCustomToolBarButton(rig.form);
  try {
    c->SetRorIvezEvi(other);
    ADD_FAILURE() << "no error";
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "RorIvezEvi not set");
  }
  // Leaving: the toolbar forgets it.
  b->SetParent(rig.panel);
  EXPECT_EQ(b->RorIvezEvi(), nullptr);
  EXPECT_EQ(rig.bar->ToolBarControlCount(), 0);
}

TEST(RibbonButtonInput, HoverPressAndClick) {
  Rig rig;
  auto* b = rig.Add(20, 5);
  int clicks = 0, enters = 0, leaves = 0;
  b->OnClick = [&](vcl::TObject*) { ++clicks; };
  b->OnMouseEnter = [&](vcl::TObject*) { ++enters; };
  b->OnMouseLeave = [&](vcl::TObject*) { ++leaves; };
  rig.Move(b, 10, 10);
  EXPECT_EQ(vcl::GetCursorPos(), b->ClientToScreen({10, 10}));
  EXPECT_EQ(rig.bar->ControlAtPos(rig.bar->ScreenToClient(vcl::GetCursorPos()), false), b);
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_TRUE(b->Hot());
  EXPECT_EQ(rig.bar->HotButton(), b);
  EXPECT_TRUE(b->HoverTimer()->Enabled());
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 0);
  rig.Press(b, 10, 10);
  EXPECT_EQ(b->State(), tbsDown);
  EXPECT_TRUE(b->MouseIsDown());
  EXPECT_TRUE(b->IsDragging());
  // Dragged off and back: the state follows the point.
  rig.Move(b, 60, 10);
  EXPECT_EQ(b->State(), tbsUp);
  rig.Move(b, 10, 10);
  EXPECT_EQ(b->State(), tbsDown);
  const int positioned = rig.bar->positioned;
  rig.Release(b, 10, 10);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b->State(), tbsUp);
  EXPECT_FALSE(b->MouseIsDown());
  // The click told the toolbar: used first, laid out, overflow checked.
  EXPECT_EQ(rig.bar->PriorityList().front(), b);
  EXPECT_GT(rig.bar->positioned, positioned);
  EXPECT_GE(rig.bar->overflowChecks, 1);
  // The cursor leaves the button (within the toolbar, with no mouse
  // message): the hover timer's next tick drops the highlight.
  const vcl::TPoint off = rig.bar->ClientToScreen({380, 30});
  QCursor::setPos(off.X, off.Y);
  rig.Advance(5);
  EXPECT_FALSE(b->MouseInControl());
  EXPECT_FALSE(b->Hot());
  EXPECT_FALSE(b->HoverTimer()->Enabled());
  // Back, then out of the toolbar: the leave message.
  rig.Move(b, 10, 10);
  EXPECT_TRUE(b->Hot());
  const int leavesBefore = leaves;
  rig.Away();
  EXPECT_GT(leaves, leavesBefore);
  EXPECT_FALSE(b->Hot());
  EXPECT_EQ(rig.bar->HotButton(), nullptr);
  // A disabled button takes no press.
  b->SetEnabled(false);
  rig.Click(b, 10, 10);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Hot());
}

TEST(RibbonButtonInput, ReleaseEdges) {
  Rig rig;
  auto* b = rig.Add(20, 5, 40, 22);
  int clicks = 0;
  b->OnClick = [&](vcl::TObject*) { ++clicks; };
  struct Case {
    const char* what;
    int x, y;
    bool clicks;
  } const cases[] = {
      {"inside", 20, 11, true},
      {"last column", 39, 11, true},
      {"y equal to the client height", 20, 22, true},
      {"x equal to the client width", 40, 11, false},
      {"above", 20, -1, false},
      {"one below the client height", 20, 23, false},
  };
  for (const Case& c : cases) {
    clicks = 0;
    rig.Move(b, 10, 10);
    rig.Press(b, 10, 10);
    rig.Release(b, c.x, c.y);
    EXPECT_EQ(clicks == 1, c.clicks) << c.what;
    EXPECT_EQ(b->State(), tbsUp) << c.what;
  }
}

TEST(RibbonButtonInput, GroupsAndAllowAllUp) {
  Rig rig;
  auto* a = rig.Add(20, 5);
  auto* b = rig.Add(70, 5);
  auto* loose = rig.Add(120, 5);
  // Without a group SetDown(True) leaves the button up.
  loose->SetDown(true);
  EXPECT_FALSE(loose->Down());
  vcl::TActionList actions(rig.form);
  auto* actionA = new vcl::TAction(rig.form);
  actionA->SetActionList(&actions);
  actionA->SetGroupIndex(1);
  a->SetAction(actionA);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  rig.Click(a, 10, 10);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), tbsExclusive);
  actionA->SetChecked(true);
  // The second one goes down; the first goes up and its action is
  // unchecked.
  rig.Click(b, 10, 10);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), tbsUp);
  EXPECT_FALSE(actionA->Checked());
  // Without AllowAllUp the down member stays down, by click or by SetDown.
  rig.Click(b, 10, 10);
  EXPECT_TRUE(b->Down());
  b->SetDown(false);
  EXPECT_TRUE(b->Down());
  // The members learn AllowAllUp from the one that went down; with it the
  // last one down may go up.
  a->SetAllowAllUp(true);
  rig.Click(a, 10, 10);
  EXPECT_TRUE(a->Down());
  EXPECT_FALSE(b->Down());
  EXPECT_TRUE(b->AllowAllUp());
  rig.Click(a, 10, 10);
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), tbsUp);
}

}  // namespace

namespace {

TEST(RibbonButtonInput, SplitDropDownZones) {
  Rig rig;
  struct Case {
    const char* what;
    bool split;
    int x;
    bool drops;
  } const cases[] = {
      {"Width - 14: the main part", true, 40 - 14, false},
      {"Width - 13: the menu", true, 40 - 13, true},
      {"last pixel: the menu", true, 39, true},
      {"no split: the menu wherever pressed", false, 3, true},
  };
  for (const Case& c : cases) {
    auto* b = rig.Add(20, 5, 40, 22);
    b->SetDropDownButton(true);
    b->SetDropDownSplit(c.split);
    auto* menu = new RecordingPopup(rig.form);
    menu->watch = b;
    b->SetDropDownMenu(menu);
    int dropDowns = 0, clicks = 0;
    b->OnDropDown = [&](vcl::TObject*) { ++dropDowns; };
    b->OnClick = [&](vcl::TObject*) { ++clicks; };
    rig.Move(b, c.x, 10);
    rig.Press(b, c.x, 10);
    if (c.drops) {
      ASSERT_EQ(menu->shownAt.size(), 1u) << c.what;
      // At the button's bottom-left corner on the screen.
      const vcl::TPoint corner = b->ClientToScreen({0, b->Height()});
      EXPECT_EQ(menu->shownAt[0], corner) << c.what;
      EXPECT_TRUE(menu->droppedWhileShown) << c.what;
      EXPECT_FALSE(b->DroppedDown()) << c.what;
      EXPECT_EQ(dropDowns, 1) << c.what;
      EXPECT_FALSE(b->MouseIsDown()) << c.what;
    } else {
      EXPECT_TRUE(menu->shownAt.empty()) << c.what;
      EXPECT_EQ(b->State(), tbsDown) << c.what;
    }
    rig.Release(b, c.x, 10);
    EXPECT_EQ(clicks, c.drops ? 0 : 1) << c.what;
    b->SetVisible(false);
  }
}

TEST(RibbonButtonInput, GlyphMakesAGreyDisabledCopyOnce) {
  Rig rig;
  auto* b = rig.Add(20, 5);
  vcl::TBitmap glyph(4, 4);
  glyph.Canvas()->Brush()->SetColor(vcl::RGB(255, 0, 0));
  glyph.Canvas()->FillRect(vcl::TRect{0, 0, 4, 4});
  glyph.Canvas()->SetPixels(1, 1, vcl::RGB(30, 60, 90));
  b->SetGlyph(&glyph);
  // (r + g + b) div 3, then div 2, plus 96.
  EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(0, 0), vcl::RGB(138, 138, 138));
  EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(1, 1), vcl::RGB(126, 126, 126));
  vcl::TBitmap other(4, 4);
  other.Canvas()->Brush()->SetColor(vcl::clWhite);
  other.Canvas()->FillRect(vcl::TRect{0, 0, 4, 4});
  b->SetGlyph(&other);
  EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(0, 0), vcl::RGB(138, 138, 138));
  // The hover shadow: grey where the glyph differs from its bottom-left
  // pixel.
  b->UpdateShade();
  EXPECT_EQ(b->ShadeBitmap()->Width(), 4);
  glyph.Canvas()->SetPixels(0, 3, vcl::clWhite);
  b->SetGlyph(&glyph);
  b->UpdateShade();
  EXPECT_EQ(b->ShadeBitmap()->Canvas()->Pixels(1, 1), vcl::TColor(0x808080));
  EXPECT_EQ(b->ShadeBitmap()->Canvas()->Pixels(0, 3), vcl::clWhite);
}

TEST(RibbonButtonInput, DrawPositionNotifiesAndAssigns) {
  TRorIvezEviButtonDrawPosition p, q;
  int changes = 0;
  p.OnChange = [&](vcl::TObject*) { ++changes; };
  p.SetTextX(5);
  p.SetTextX(5);
  p.SetEnabled(true);
  p.SetImageY(3);
  EXPECT_EQ(changes, 3);
  q.Assign(&p);
  EXPECT_TRUE(q.Enabled());
  EXPECT_EQ(q.TextX(), 5);
  EXPECT_EQ(q.ImageY(), 3);
  EXPECT_EQ(changes, 3);
}

}  // namespace
}  // namespace ribbontest
