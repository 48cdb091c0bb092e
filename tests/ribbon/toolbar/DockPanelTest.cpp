// Dock panels and their rows: where docked toolbars go, how rows spread,
// push and squeeze them, new rows from a toolbar dragged a few pixels,
// full-size toolbars, columns of side panels, the panel's thickness, the
// errors, hiding and showing, the locked panel and the dock colours.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <string>

#include "controls/LumMenus.h"
#include "ribbon/RorIvezEviDockPanel.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "rtl/Exceptions.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace {

using namespace ribbon;

struct DockRig {
  vcl::TForm* form = nullptr;
  explicit DockRig(int clientWidth = 302, int clientHeight = 302) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->Show();
  }
  ~DockRig() { vcl::Free(form); }
  TLumDockPanel* Panel(TDockAlign align = daTop) {
    auto* p = new TLumDockPanel(form);
    p->SetDockAlign(align);
    p->SetParent(form);
    return p;
  }
  // A toolbar holding `controls` plain 40 x 20 controls (a horizontal one
  // then needs 9 + 40 n + 14 pixels).
  TLumCustomToolBar* Bar(vcl::TWinControl* parent, int controls = 0, const char* name = nullptr) {
    auto* b = new TLumCustomToolBar(form);
    if (name) b->SetName(name);
    for (int i = 0; i < controls; ++i) {
      auto* c = new vcl::TPanel(form);
      c->SetBounds(0, 0, 40, 20);
      c->SetParent(b);
    }
    b->SetParent(parent);
    return b;
  }
};

int DockRightOf(const TLumCustomToolBar* t) { return t->Left() + t->Width(); }

TEST(RibbonDockRows, TwoToolBarsInATopRow) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  ASSERT_EQ(panel->Width(), 302);
  TLumCustomToolBar* a = rig.Bar(panel);
  EXPECT_EQ(panel->RowCount(), 1);
  TLumCustomToolBar* b = rig.Bar(panel);
  ASSERT_EQ(panel->RowCount(), 2) << "every toolbar docked outside loading gets a row of its own";
  panel->Rows()->MoveToRow(b, 0);
  ASSERT_EQ(panel->RowCount(), 1) << "the emptied row is deleted";
  EXPECT_EQ(a->State(), tsDocked);
  EXPECT_EQ(a->DockPanel(), panel);
  EXPECT_EQ(a->RowIndex(), 0);
  EXPECT_EQ(b->RowIndex(), 0);
  EXPECT_EQ(a->Left(), 3);
  EXPECT_EQ(a->Top(), 1);
  EXPECT_EQ(b->Left(), DockRightOf(a) + 2);
  EXPECT_EQ(b->Top(), 1);
  const vcl::TRect& r = panel->Rows()->GetRow(0)->Rect();
  EXPECT_EQ(r.Left, 1);
  EXPECT_EQ(r.Right, 301);
  EXPECT_EQ(r.Top, 1);
  EXPECT_EQ(r.Bottom, 28);
  EXPECT_EQ(panel->Height(), 28) << "the last row's bottom";
  EXPECT_EQ(panel->ToolBarCount(), 2);
}

TEST(RibbonDockRows, PanelThicknessFollowsTheRows) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  EXPECT_EQ(panel->Height(), 3) << "MinimumSize without rows";
  panel->SetMinimumSize(0);
  EXPECT_EQ(panel->MinimumSize(), 3) << "0 is ignored";
  panel->SetMinimumSize(8);
  EXPECT_EQ(panel->Height(), 8);
  TLumCustomToolBar* a = rig.Bar(panel);
  EXPECT_EQ(panel->Height(), 28);
  TLumCustomToolBar* b = rig.Bar(panel);
  EXPECT_EQ(b->Top(), 28);
  EXPECT_EQ(panel->Height(), 55);
  vcl::Free(b);
  EXPECT_EQ(panel->RowCount(), 1) << "a freed toolbar leaves its row";
  EXPECT_EQ(panel->ToolBarCount(), 1);
  EXPECT_EQ(panel->Height(), 28);
  a->SetParent(rig.form);
  EXPECT_EQ(a->State(), tsFixed);
  EXPECT_EQ(a->DockPanel(), nullptr);
  EXPECT_EQ(a->RowIndex(), -1);
  EXPECT_EQ(panel->RowCount(), 0);
  EXPECT_EQ(panel->Height(), 8);
}

TEST(RibbonDockRows, DraggedFourPixelsMakesANewRow) {
  struct Case {
    const char* what;
    int dy;
    int rowOfDragged, rowOfOther;
  };
  const Case cases[] = {
      {"4 up: a new row above", -4, 0, 1},
      {"4 down: a new row below", 4, 1, 0},
      {"2 up: stays", -2, 0, 0},
      {"6 up in the first row: stays", -6, 0, 0},
      {"7 down in the last row: stays", 7, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DockRig rig;
    TLumDockPanel* panel = rig.Panel();
    TLumCustomToolBar* a = rig.Bar(panel);
    TLumCustomToolBar* b = rig.Bar(panel);
    panel->Rows()->MoveToRow(b, 0);
    ASSERT_EQ(panel->RowCount(), 1);
    const int bLeft = b->Left();
    b->SetTop(b->Top() + c.dy);
    EXPECT_EQ(b->RowIndex(), c.rowOfDragged);
    EXPECT_EQ(a->RowIndex(), c.rowOfOther);
    const int rows = c.rowOfDragged == c.rowOfOther ? 1 : 2;
    EXPECT_EQ(panel->RowCount(), rows);
    EXPECT_EQ(b->Top(), 1 + 27 * c.rowOfDragged) << "a toolbar sits at its row's top";
    EXPECT_EQ(panel->Height(), 1 + 27 * rows);
    EXPECT_EQ(b->Left(), rows == 2 ? 3 : bLeft) << "alone in a new row, or where it was";
  }
}

TEST(RibbonDockRows, SideColumnsSplitLikeRows) {
  // A column's toolbar moved 4 pixels left or right: a new column before
  // or after its own; the panel widens by a column.
  struct Case {
    TDockAlign align;
    int dx;
    int colOfMoved, colOfOther;
  };
  const Case cases[] = {
      {daLeft, -4, 0, 1},
      {daLeft, 4, 1, 0},
      {daRight, 4, 1, 0},
      {daLeft, 2, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dx));
    DockRig rig;
    TLumDockPanel* panel = rig.Panel(c.align);
    TLumCustomToolBar* a = rig.Bar(panel);
    TLumCustomToolBar* b = rig.Bar(panel);
    panel->Rows()->MoveToRow(b, 0);
    ASSERT_EQ(panel->RowCount(), 1);
    EXPECT_EQ(a->Top() + a->Height() + 2, b->Top()) << "the later one after the first, pushed back up from the end";
    EXPECT_EQ(b->Top() + b->Height(), 301 - 2);
    b->SetLeft(b->Left() + c.dx);
    EXPECT_EQ(b->RowIndex(), c.colOfMoved);
    EXPECT_EQ(a->RowIndex(), c.colOfOther);
    const int cols = c.colOfMoved == c.colOfOther ? 1 : 2;
    EXPECT_EQ(panel->Width(), 2 + 27 * cols);
    EXPECT_EQ(b->Left(), 1 + 27 * c.colOfMoved);
  }
}

TEST(RibbonDockRows, DraggingIntoAnotherRowAndAlongIt) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  TLumCustomToolBar* a = rig.Bar(panel);
  TLumCustomToolBar* b = rig.Bar(panel);
  ASSERT_EQ(panel->RowCount(), 2);
  // More than 6 above its row, inside the first row: it joins it.
  b->SetTop(b->Top() - 20);
  EXPECT_EQ(panel->RowCount(), 1);
  EXPECT_EQ(b->RowIndex(), 0);
  EXPECT_EQ(b->Left(), DockRightOf(a) + 2);
  // Along the row into free space, then back left: it stops against its
  // predecessor unless asked to within 5 pixels of the predecessor's Left,
  // where the two change places.
  b->SetLeft(200);
  EXPECT_EQ(b->Left(), 200);
  b->SetLeft(9);
  EXPECT_EQ(panel->Rows()->GetRow(0)->ToolBar(0), a) << "9 is 6 past a's Left: no swap";
  EXPECT_EQ(b->Left(), DockRightOf(a) + 2);
  b->SetLeft(8);
  EXPECT_EQ(panel->Rows()->GetRow(0)->ToolBar(0), b) << "swapped";
  EXPECT_EQ(b->Left(), 3);
  EXPECT_EQ(a->Left(), DockRightOf(b) + 2);
  // The first toolbar never goes before the row's start.
  b->SetLeft(-40);
  EXPECT_EQ(b->Left(), 3);
  b->SetLeft(30);
  EXPECT_EQ(b->Left(), 30) << "the first toolbar moves freely";
  EXPECT_EQ(a->Left(), DockRightOf(b) + 2) << "pushing its successor along";
}

TEST(RibbonDockRows, ShrinkingPushesIntoGapsThenSqueezesToMinimumAndGrowsBack) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  TLumCustomToolBar* a = rig.Bar(panel, 3);
  TLumCustomToolBar* b = rig.Bar(panel, 3);
  panel->Rows()->MoveToRow(b, 0);
  ASSERT_EQ(a->Width(), 143);
  ASSERT_EQ(a->Constraints()->MinWidth, 60);
  ASSERT_EQ(a->Constraints()->MaxWidth, 143);
  EXPECT_EQ(a->Left(), 3);
  EXPECT_EQ(b->Left(), 148);
  struct Step {
    int panelWidth;
    int aLeft, aWidth, bLeft, bWidth;
  };
  const Step steps[] = {
      // Room for both at full length.
      {302, 3, 143, 148, 143},
      // The last toolbar shrinks first, then the one before it.
      {202, 3, 134, 139, 60},
      {150, 3, 82, 87, 60},
      // Both at their minimum length: the row overflows.
      {110, 3, 60, 65, 60},
      // Wider again: the gap after the last toolbar goes to it first, then
      // to the ones before it.
      {260, 3, 109, 114, 143},
      {302, 3, 143, 148, 143},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE("panel width " + std::to_string(s.panelWidth));
    rig.form->SetClientWidth(s.panelWidth);
    ASSERT_EQ(panel->Width(), s.panelWidth);
    EXPECT_EQ(a->Left(), s.aLeft);
    EXPECT_EQ(a->Width(), s.aWidth);
    EXPECT_EQ(b->Left(), s.bLeft);
    EXPECT_EQ(b->Width(), s.bWidth);
  }
}

TEST(RibbonDockRows, ShrinkingUsesTheGapBeforeAToolBarFirst) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  TLumCustomToolBar* a = rig.Bar(panel, 1);
  TLumCustomToolBar* b = rig.Bar(panel, 1);
  panel->Rows()->MoveToRow(b, 0);
  ASSERT_EQ(a->Width(), 63);
  b->SetLeft(200);
  ASSERT_EQ(b->Left(), 200);
  rig.form->SetClientWidth(202);
  EXPECT_EQ(b->Left(), 201 - 2 - 63) << "moved left into the gap, not shrunk";
  EXPECT_EQ(b->Width(), 63);
  EXPECT_EQ(a->Width(), 63);
}

TEST(RibbonDockRows, FullSizeToolBarHeadsARowOfItsOwn) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  TLumCustomToolBar* a = rig.Bar(panel, 1);
  TLumCustomToolBar* f = rig.Bar(panel, 1);
  panel->Rows()->MoveToRow(f, 0);
  ASSERT_EQ(panel->RowCount(), 1);
  f->SetFullSize(true);
  ASSERT_EQ(panel->RowCount(), 2);
  const int row = f->RowIndex();
  TRowCollectionItem* own = panel->Rows()->GetRow(row);
  EXPECT_EQ(own->ToolBarCount(), 1);
  EXPECT_EQ(f->Left(), 3) << "the row's left + 2";
  EXPECT_EQ(f->Width(), 296) << "the row less 2 at each end";
  EXPECT_EQ(DockRightOf(f), 299);
  EXPECT_FALSE(own->Accepts(a));
  panel->Rows()->MoveToRow(a, row);
  EXPECT_NE(a->RowIndex(), row) << "no other toolbar joins its row";
  rig.form->SetClientWidth(250);
  EXPECT_EQ(f->Width(), 250 - 2 - 4) << "it follows the row's width";
  f->SetFullSize(false);
  EXPECT_EQ(f->Width(), 63) << "its own length again";
}

TEST(RibbonDockRows, SidePanelColumns) {
  DockRig rig;
  TLumDockPanel* left = rig.Panel(daLeft);
  ASSERT_EQ(left->Height(), 302);
  TLumCustomToolBar* a = rig.Bar(left);
  EXPECT_EQ(a->Position(), daLeft);
  EXPECT_FALSE(a->Horizontal());
  EXPECT_EQ(a->Width(), 26);
  EXPECT_EQ(a->Height(), 60);
  EXPECT_EQ(a->Left(), 1);
  EXPECT_EQ(a->Top() + a->Height(), 301 - 2) << "the first toolbar starts at the column's far end";
  EXPECT_EQ(left->Width(), 29) << "the column's right edge + 1";
  TLumCustomToolBar* b = rig.Bar(left);
  EXPECT_EQ(b->Left(), 28) << "the second column";
  EXPECT_EQ(left->Width(), 56);
  // Turning the panel turns its toolbars.
  left->SetDockAlign(daTop);
  EXPECT_TRUE(a->Horizontal());
  EXPECT_EQ(a->Height(), 26);
  EXPECT_EQ(left->Height(), 55);
}

TEST(RibbonDockRows, BottomAndRightPanelsGrowInwards) {
  DockRig rig(302, 400);
  TLumDockPanel* bottom = rig.Panel(daBottom);
  rig.Bar(bottom);
  EXPECT_EQ(bottom->Height(), 28);
  EXPECT_EQ(bottom->Top() + bottom->Height(), 400);
  rig.Bar(bottom);
  EXPECT_EQ(bottom->Height(), 55);
  EXPECT_EQ(bottom->Top(), 400 - 55) << "grew upwards; its bottom edge stays";
  TLumDockPanel* right = rig.Panel(daRight);
  rig.Bar(right);
  rig.Bar(right);
  EXPECT_EQ(right->Width(), 56);
  EXPECT_EQ(right->Left() + right->Width(), 302) << "grew leftwards; its right edge stays";
}

TEST(RibbonDockRows, Errors) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  TLumDockPanel* other = rig.Panel();
  TLumCustomToolBar* a = rig.Bar(panel);
  TLumCustomToolBar* stray = rig.Bar(other);
  auto message = [](auto&& call) -> std::string {
    try {
      call();
    } catch (const rtl::Exception& e) {
      return e.Message();
    }
    return "(nothing raised)";
  };
  EXPECT_EQ(message([&] { panel->Rows()->MoveToRow(a, 1); }), "Invalid Row Index");
  EXPECT_EQ(message([&] { panel->Rows()->MoveToRow(a, -1); }), "Invalid Row Index");
  EXPECT_EQ(message([&] { panel->Rows()->GetRow(3); }), "Invalid Row Index");
  int l = 10, w = 60;
  EXPECT_EQ(message([&] { panel->Rows()->GetRow(0)->MoveAlongRow(stray, l, w); }), "Invalid ToolBar Index");
  EXPECT_EQ(message([&] { other->SetParent(panel); }), "Invalid Parent");
  EXPECT_EQ(message([&] { other->SetParent(a); }), "Invalid Parent");
  EXPECT_EQ(other->Parent(), rig.form) << "the parent stays";
}

TEST(RibbonDockRows, HiddenToolBarLeavesItsRowAndComesBack) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  TLumCustomToolBar* a = rig.Bar(panel);
  TLumCustomToolBar* b = rig.Bar(panel);
  TLumCustomToolBar* c = rig.Bar(panel);
  panel->Rows()->MoveToRow(b, 0);
  ASSERT_EQ(panel->RowCount(), 2);
  b->SetVisible(false);
  EXPECT_EQ(b->RowIndex(), -1);
  ASSERT_EQ(panel->HiddenToolBars().size(), 1u);
  EXPECT_EQ(panel->HiddenToolBars()[0], b);
  EXPECT_EQ(panel->Rows()->GetRow(0)->ToolBarCount(), 1);
  c->SetVisible(false);
  EXPECT_EQ(panel->RowCount(), 1) << "the emptied row is deleted";
  EXPECT_EQ(panel->Height(), 28);
  b->SetVisible(true);
  EXPECT_EQ(b->RowIndex(), 0) << "back into the row it left, by position";
  EXPECT_EQ(b->Left(), DockRightOf(a) + 2);
  c->SetVisible(true);
  EXPECT_EQ(c->RowIndex(), 1) << "its row is gone: a new one";
  EXPECT_TRUE(panel->HiddenToolBars().empty());
}

TEST(RibbonDockRows, LockedPanelTakesToolBarsOnlyIntoItsRows) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  TLumCustomToolBar* f = rig.Bar(panel, 0, "Full");
  f->SetFullSize(true);
  panel->SetLockHeight(true);
  panel->BeginLoad();
  panel->EndLoad();
  ASSERT_TRUE(panel->PanelLoaded());
  const int height = panel->Height();
  TLumCustomToolBar* t = rig.Bar(rig.form, 0, "Other");
  t->SetParent(panel);
  EXPECT_EQ(t->Parent(), rig.form) << "no row takes it: it stays";
  EXPECT_EQ(t->State(), tsFixed);
  f->SetFullSize(false);
  t->SetParent(panel);
  EXPECT_EQ(t->Parent(), panel);
  EXPECT_EQ(t->RowIndex(), 0) << "into the existing row";
  EXPECT_EQ(panel->RowCount(), 1);
  EXPECT_EQ(panel->Height(), height) << "a locked panel keeps its size";
}

TEST(RibbonDockRows, LoadedSortsStreamedToolBarsIntoRows) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  panel->BeginLoad();
  TLumCustomToolBar* c = rig.Bar(panel, 0, "C");
  TLumCustomToolBar* a = rig.Bar(panel, 0, "A");
  TLumCustomToolBar* b = rig.Bar(panel, 0, "B");
  c->SetBounds(90, 30, 60, 26);
  a->SetBounds(100, 3, 60, 26);
  b->SetBounds(40, 30, 60, 26);
  EXPECT_EQ(panel->RowCount(), 0) << "no rows while loading";
  panel->EndLoad();
  ASSERT_EQ(panel->RowCount(), 3);
  EXPECT_EQ(a->RowIndex(), 0);
  EXPECT_EQ(b->RowIndex(), 1) << "equal tops: the smaller left first";
  EXPECT_EQ(c->RowIndex(), 2);
  EXPECT_EQ(a->Left(), 100) << "streamed lefts stay";
}

TEST(RibbonDockPanel, PopupMenuTakesTheStylersMenuStyler) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  auto* menu = new controls::TLumPopupMenu(rig.form);
  panel->SetPopupMenu(menu);
  EXPECT_EQ(menu->MenuStyler(), panel->InternalStyler()->CurrentMenuStyler());
  auto* styler = new TCustomRorIvezEviStyler(rig.form);
  panel->SetToolBarStyler(styler);
  EXPECT_EQ(menu->MenuStyler(), styler->CurrentMenuStyler());
  EXPECT_EQ(panel->Version(), "3.5.4.8");
}

TEST(RibbonDockPanel, StylerAndDockColours) {
  DockRig rig;
  TLumDockPanel* panel = rig.Panel();
  auto* styler = new TCustomRorIvezEviStyler(rig.form);
  TLumCustomToolBar* t = rig.Bar(panel);
  EXPECT_EQ(t->CurrentStyler(), panel->InternalStyler()) << "a docked toolbar takes its panel's styler";
  panel->SetToolBarStyler(styler);
  EXPECT_EQ(panel->CurrentStyler(), styler);
  EXPECT_EQ(t->CurrentStyler(), styler);
  constexpr vcl::TColor kFrom = vcl::RGB(200, 40, 40), kTo = vcl::RGB(40, 40, 200);
  styler->DockColor()->SetColor(kFrom);
  styler->DockColor()->SetColorTo(vcl::clNone);
  styler->BroadcastChange(scColors);
  EXPECT_EQ(panel->Color(), kFrom);
  auto grab = [&] {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      vcl::Application->ProcessMessages();
    }
    panel->Repaint();
    return panel->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  QImage shot = grab();
  EXPECT_EQ(shot.pixel(0, 0) & 0xFFFFFF, 0xC82828u) << "solid fill";
  EXPECT_EQ(shot.pixel(301, 27) & 0xFFFFFF, 0xC82828u);
  styler->DockColor()->SetColorTo(kTo);
  styler->DockColor()->SetDirection(gdHorizontal);
  styler->BroadcastChange(scColors);
  shot = grab();
  shot.save(TOLVANE_BUILD_DIR "/ribbon_dock_panel.png");
  EXPECT_EQ(shot.pixel(0, 14) & 0xFFFFFF, 0xC82828u) << "left end in the first colour";
  const QRgb right = shot.pixel(300, 14);
  EXPECT_LT(qRed(right), 60);
  EXPECT_GT(qBlue(right), 180) << "right end near the second colour";
  EXPECT_EQ(shot.pixel(150, 0), shot.pixel(150, 27)) << "horizontal: bands run across";
  vcl::Free(styler);
  EXPECT_EQ(panel->ToolBarStyler(), nullptr);
  EXPECT_EQ(panel->CurrentStyler(), panel->InternalStyler());
  EXPECT_EQ(t->CurrentStyler(), panel->InternalStyler());
}

}  // namespace
