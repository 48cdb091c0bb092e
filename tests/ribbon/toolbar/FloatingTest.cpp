// Floating toolbars: the window's frame and fit, its edge drags in row
// steps, the floating rows, tearing a toolbar off its panel and docking it
// again through mouse messages, the dock modes, the window following its
// form, closing, and the floating state kept in an INI file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ribbon/RorIvezEviDockPanel.h"
#include "ribbon/RorIvezEviFloating.h"
#include "ribbon/RorIvezEviRecords.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "rtl/Clock.h"
#include "rtl/IniFiles.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

namespace {

using namespace ribbon;

struct FloatRig {
  vcl::TForm* form = nullptr;
  explicit FloatRig(int w = 400, int h = 300) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(w);
    form->SetClientHeight(h);
    form->SetBounds(100, 100, form->Width(), form->Height());
    form->Show();
  }
  ~FloatRig() { vcl::Free(form); }
  TLumDockPanel* Panel(TDockAlign align = daTop) {
    auto* p = new TLumDockPanel(form);
    p->SetDockAlign(align);
    p->SetParent(form);
    return p;
  }
  // A toolbar with `count` named controls of w x 20.
  TLumCustomToolBar* Bar(vcl::TWinControl* parent, int count, int w = 20, const char* name = nullptr) {
    auto* b = new TLumCustomToolBar(form);
    if (name) b->SetName(name);
    for (int i = 0; i < count; ++i) {
      auto* c = new vcl::TPanel(form);
      if (name) c->SetName(std::string(name) + "C" + std::to_string(i));
      c->SetBounds(0, 0, w, 20);
      c->SetParent(b);
    }
    b->SetParent(parent);
    return b;
  }
};

// Mouse messages in a control's client coordinates (the left button held
// for moves while `held`).
void Down(vcl::TControl* c, int x, int y) { c->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, vcl::PointToLParam({x, y})); }
void Move(vcl::TControl* c, int x, int y, bool held = true) {
  c->Perform(vcl::WM_MOUSEMOVE, held ? vcl::MK_LBUTTON : 0, vcl::PointToLParam({x, y}));
}
void Up(vcl::TControl* c, int x, int y) { c->Perform(vcl::WM_LBUTTONUP, 0, vcl::PointToLParam({x, y})); }
// The same, at a screen point.
vcl::TPoint At(vcl::TControl* c, vcl::TPoint screen) { return c->ScreenToClient(screen); }
void MoveTo(vcl::TControl* c, vcl::TPoint screen) {
  const vcl::TPoint p = At(c, screen);
  Move(c, p.X, p.Y);
}

TEST(RibbonFloatingWindow, FrameFitsTheToolBar) {
  FloatRig rig;
  TLumCustomToolBar* t = rig.Bar(rig.form, 1, 96);
  t->SetCaptionHeight(0);
  t->MakeFloating(50, 60, true);
  TFloatingWindow* w = t->FloatingWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(t->State(), tsFloating);
  EXPECT_EQ(t->Parent(), w);
  EXPECT_EQ(w->Owner(), t->Owner()) << "owned by the toolbar's owner";
  EXPECT_EQ(w->BorderStyle(), vcl::bsNone);
  EXPECT_TRUE(w->BorderIcons().Empty());
  EXPECT_NE(w->WindowExStyle() & vcl::WS_EX_TOPMOST, 0u);
  EXPECT_NE(w->WindowExStyle() & vcl::WS_EX_TOOLWINDOW, 0u);
  EXPECT_EQ(w->BorderWidth(), 2);
  EXPECT_EQ(w->BorderColor(), vcl::TColor(0x6D6D6D));
  EXPECT_EQ(t->Width(), 100);
  EXPECT_EQ(t->Height(), 26);
  EXPECT_EQ(w->Width(), 106);
  EXPECT_EQ(w->Height(), 32);
  EXPECT_EQ(t->Left(), 3);
  EXPECT_EQ(t->Top(), 3);
  EXPECT_EQ(w->Left(), 50);
  EXPECT_EQ(w->Top(), 60);
  EXPECT_TRUE(w->Visible());
  w->SetBorderWidth(4);
  EXPECT_EQ(w->Width(), 110);
  EXPECT_EQ(t->Left(), 5);
  w->SetBorderWidth(2);
  // The frame in its colour, squared inner corners; clNone draws none.
  w->SetBorderColor(vcl::RGB(200, 0, 0));
  auto grab = [&] {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      vcl::Application->ProcessMessages();
    }
    w->Repaint();
    return w->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  QImage shot = grab();
  shot.save(TOLVANE_BUILD_DIR "/ribbon_floating_window.png");
  EXPECT_EQ(shot.pixel(1, 16) & 0xFFFFFF, 0xC80000u);
  EXPECT_EQ(shot.pixel(104, 16) & 0xFFFFFF, 0xC80000u);
  EXPECT_EQ(shot.pixel(2, 2) & 0xFFFFFF, 0xC80000u) << "inner corner";
  w->SetBorderColor(vcl::clNone);
  shot = grab();
  EXPECT_NE(shot.pixel(1, 16) & 0xFFFFFF, 0xC80000u);
}

TEST(RibbonFloatingRows, MaximumAndRefusedCounts) {
  FloatRig rig;
  TLumCustomToolBar* t = rig.Bar(rig.form, 3, 20);
  EXPECT_EQ(t->MaxFloatingRows(), 2) << "two fit a row of 60, the third opens a second";
  t->MakeFloating(10, 10, true);
  t->SetFloatingRows(3);
  EXPECT_EQ(t->FloatingRows(), 1) << "3 refused";
  t->SetFloatingRows(0);
  EXPECT_EQ(t->FloatingRows(), 1);
  t->SetFloatingRows(2);
  EXPECT_EQ(t->FloatingRows(), 2);
  int w = 0, h = 0;
  t->GetFloatingSize(w, h);
  EXPECT_EQ(t->Width(), w);
  EXPECT_EQ(t->Height(), h);
  EXPECT_EQ(h, 2 * 26 + 16);
  EXPECT_EQ(t->FloatingWindow()->Width(), w + 6) << "the window follows";
  EXPECT_FALSE(t->GetFloatingSizeFor(3, w, h));
  EXPECT_FALSE(t->GetFloatingSizeFor(0, w, h));
  // The controls in two rows.
  EXPECT_EQ(t->ToolBarControl(2)->Top(), t->ToolBarControl(0)->Top() + 26);
}

TEST(RibbonFloatingWindow, EdgeDragsInRowSteps) {
  FloatRig rig;
  TLumCustomToolBar* t = rig.Bar(rig.form, 6, 20);
  ASSERT_EQ(t->MaxFloatingRows(), 3);
  t->MakeFloating(100, 100, true);
  TFloatingWindow* w = t->FloatingWindow();
  const int mid = w->Height() / 2;
  // Six pixels inside the right edge nothing starts; five pixels inside, a
  // right-edge drag.
  Down(w, w->Width() - 6, mid);
  EXPECT_FALSE(w->Resizing());
  Up(w, w->Width() - 6, mid);
  const int width1 = w->Width();
  const int left1 = w->Left();
  Down(w, width1 - 5, mid);
  ASSERT_TRUE(w->Resizing());
  struct Step {
    const char* what;
    int dx;  // from the right edge as it was when the step before ended
    int rows;
  };
  // Inward: 5 pixels take no step, 6 take one; then 3 more another.
  Move(w, width1 - 5, mid);
  EXPECT_EQ(t->FloatingRows(), 1) << "5 pixels";
  Move(w, width1 - 6, mid);
  EXPECT_EQ(t->FloatingRows(), 2) << "6 pixels";
  const int width2 = w->Width();
  EXPECT_LT(width2, width1);
  EXPECT_EQ(w->Left(), left1) << "the left edge stays";
  Move(w, width2 - 2, mid);
  EXPECT_EQ(t->FloatingRows(), 2) << "2 more pixels";
  Move(w, width2 - 3, mid);
  EXPECT_EQ(t->FloatingRows(), 3) << "3 more pixels";
  EXPECT_EQ(w->Width(), t->Width() + 6);
  Up(w, 0, 0);
  EXPECT_FALSE(w->Resizing());
  // The left edge outward: fewer rows, the right edge kept in place.
  const int right = w->Left() + w->Width();
  Down(w, 2, mid);
  Move(w, -6, mid);
  EXPECT_EQ(t->FloatingRows(), 2);
  EXPECT_EQ(w->Left() + w->Width(), right) << "the right edge stays";
  Up(w, 0, 0);
  // The bottom edge outward: more rows.
  Down(w, 20, w->Height() - 2);
  Move(w, 20, w->Height() + 6);
  EXPECT_EQ(t->FloatingRows(), 3);
  Up(w, 0, 0);
}

TEST(RibbonFloatingDrag, TornOffAboveThePanelAndDockedAgain) {
  struct Case {
    int above;  // cursor pixels above the panel's top
    bool floats;
  };
  for (const Case c : {Case{26, false}, Case{27, true}}) {
    SCOPED_TRACE(c.above);
    FloatRig rig;
    TLumDockPanel* panel = rig.Panel();
    TLumCustomToolBar* t = rig.Bar(panel, 2, 20, "Dragged");
    int undocked = 0, docked = 0;
    t->OnUnDocked = [&](vcl::TObject*) { ++undocked; };
    t->OnDocked = [&](vcl::TObject*, TLumDockPanel* p) {
      EXPECT_EQ(p, panel);
      ++docked;
    };
    const vcl::TPoint panelTop = panel->ClientToScreen({0, 0});
    Down(t, 3, 10);
    ASSERT_TRUE(t->Dragging());
    MoveTo(t, {panelTop.X + 40, panelTop.Y - c.above});
    EXPECT_EQ(t->State(), c.floats ? tsFloating : tsDocked);
    EXPECT_EQ(undocked, c.floats ? 1 : 0);
    if (!c.floats) {
      Up(t, 0, 0);
      EXPECT_FALSE(t->Dragging());
      continue;
    }
    EXPECT_EQ(panel->RowCount(), 0) << "it left its row";
    EXPECT_EQ(t->HomeDockPanel(), panel);
    ASSERT_NE(t->FloatingWindow(), nullptr);
    EXPECT_TRUE(t->Dragging()) << "the drag goes on while floating";
    // Away from the panel the window follows the cursor.
    MoveTo(t, {panelTop.X + 100, panelTop.Y + 200});
    EXPECT_EQ(t->State(), tsFloating);
    const vcl::TPoint grab = t->ScreenToClient({panelTop.X + 100, panelTop.Y + 200});
    EXPECT_EQ(grab.X, 3) << "the toolbar keeps its offset to the cursor";
    EXPECT_EQ(grab.Y, 10);
    // Into the 15-pixel zone below the panel (3 high while empty): 16
    // below its bottom is outside, 14 inside.
    MoveTo(t, {panelTop.X + 100, panelTop.Y + panel->Height() + 16});
    EXPECT_EQ(t->State(), tsFloating);
    MoveTo(t, {panelTop.X + 100, panelTop.Y + panel->Height() + 14});
    EXPECT_EQ(t->State(), tsDocked);
    EXPECT_EQ(t->Parent(), panel);
    EXPECT_EQ(t->FloatingWindow(), nullptr) << "the window is freed";
    EXPECT_EQ(docked, 1);
    EXPECT_EQ(t->Height(), 26) << "the caption is gone";
    Up(t, 0, 0);
    EXPECT_FALSE(t->Dragging());
  }
}

TEST(RibbonFloatingDrag, WhoMayFloatAndWhereItMayDock) {
  FloatRig rig(400, 400);
  TLumDockPanel* top = rig.Panel(daTop);
  TLumDockPanel* bottom = rig.Panel(daBottom);
  auto tearOff = [&](TLumCustomToolBar* t) {
    const vcl::TPoint o = t->Parent()->ClientToScreen({0, 0});
    Down(t, 3, 10);
    MoveTo(t, {o.X + 40, o.Y - 60});
  };
  // OnCanFloat and AllowFloating keep it docked.
  TLumCustomToolBar* refused = rig.Bar(top, 1);
  refused->OnCanFloat = [](vcl::TObject*, bool& allow) { allow = false; };
  tearOff(refused);
  EXPECT_EQ(refused->State(), tsDocked);
  Up(refused, 0, 0);
  refused->OnCanFloat = nullptr;
  refused->SetAllowFloating(false);
  tearOff(refused);
  EXPECT_EQ(refused->State(), tsDocked);
  Up(refused, 0, 0);
  refused->SetLocked(true);
  Down(refused, 3, 10);
  EXPECT_FALSE(refused->Dragging()) << "a locked toolbar's grip does nothing";
  Up(refused, 3, 10);
  // dmParentDockPanelOnly: the bottom panel's zone does not take it.
  TLumCustomToolBar* t = rig.Bar(top, 1);
  t->SetDockMode(dmParentDockPanelOnly);
  tearOff(t);
  ASSERT_EQ(t->State(), tsFloating);
  const vcl::TPoint b = bottom->ClientToScreen({0, 0});
  MoveTo(t, {b.X + 50, b.Y + 1});
  EXPECT_EQ(t->State(), tsFloating) << "not the bottom panel";
  const vcl::TPoint tp = top->ClientToScreen({0, 0});
  MoveTo(t, {tp.X + 150, tp.Y + top->Height() + 5});
  EXPECT_EQ(t->Parent(), top) << "its own panel";
  Up(t, 0, 0);
  // dmAll: the bottom panel takes it, turned to its side.
  TLumCustomToolBar* u = rig.Bar(top, 1);
  tearOff(u);
  ASSERT_EQ(u->State(), tsFloating);
  MoveTo(u, {b.X + 50, b.Y + 1});
  EXPECT_EQ(u->Parent(), bottom);
  EXPECT_EQ(u->HomeDockPanel(), bottom);
  Up(u, 0, 0);
  // DockableTo without daBottom: not there.
  TLumCustomToolBar* v = rig.Bar(top, 1);
  v->SetDockableTo(TDockableTo{daTop});
  tearOff(v);
  MoveTo(v, {b.X + 50, b.Y + 1});
  EXPECT_EQ(v->State(), tsFloating);
  Up(v, 0, 0);
  EXPECT_FALSE(v->CanDockTo(bottom));
  EXPECT_TRUE(v->CanDockTo(top));
}

TEST(RibbonFloatingDrag, SideColumnsAndParentPanels) {
  FloatRig rig(400, 400);
  TLumDockPanel* left = rig.Panel(daLeft);
  TLumCustomToolBar* t = rig.Bar(left, 1);
  ASSERT_FALSE(t->Horizontal());
  const vcl::TPoint o = left->ClientToScreen({0, 0});
  struct Case {
    int beyond;  // cursor pixels left of the panel's left edge
    bool floats;
  };
  for (const Case c : {Case{26, false}, Case{27, true}}) {
    SCOPED_TRACE(c.beyond);
    Down(t, 10, 3);
    ASSERT_TRUE(t->Dragging());
    MoveTo(t, {o.X - c.beyond, o.Y + 150});
    EXPECT_EQ(t->State(), c.floats ? tsFloating : tsDocked);
    Up(t, 0, 0);
  }
  EXPECT_TRUE(t->Horizontal()) << "floating turns it horizontal";
  // Back into the 15-pixel zone right of the column: vertical again.
  Down(t, 20, 5);
  MoveTo(t, {o.X + left->Width() + 14, o.Y + 100});
  EXPECT_EQ(t->Parent(), left);
  EXPECT_FALSE(t->Horizontal());
  Up(t, 0, 0);
  // dmAllParentDockPanels: the panels beside its own, not one nested in
  // another control.
  auto* holder = new vcl::TPanel(rig.form);
  holder->SetParent(rig.form);
  holder->SetAlign(vcl::TAlign::alClient);
  auto* nested = new TLumDockPanel(rig.form);
  nested->SetDockAlign(daBottom);
  nested->SetParent(holder);
  TLumDockPanel* top = rig.Panel(daTop);
  TLumCustomToolBar* u = rig.Bar(left, 1);
  u->SetDockMode(dmAllParentDockPanels);
  Down(u, 10, 3);
  MoveTo(u, {o.X - 60, o.Y + 150});
  ASSERT_EQ(u->State(), tsFloating);
  const vcl::TPoint n = nested->ClientToScreen({0, 0});
  MoveTo(u, {n.X + 80, n.Y + 1});
  EXPECT_EQ(u->State(), tsFloating) << "nested in another control";
  const vcl::TPoint tp = top->ClientToScreen({0, 0});
  MoveTo(u, {tp.X + 80, tp.Y + top->Height() + 3});
  EXPECT_EQ(u->Parent(), top) << "a sibling of its own panel";
  Up(u, 0, 0);
}

TEST(RibbonFloatingWindow, CaptionButtonsHotAndHinted) {
  FloatRig rig;
  TLumCustomToolBar* t = rig.Bar(rig.form, 2);
  t->SetHintCloseButton("Close this toolbar");
  t->MakeFloating(20, 20, true);
  const vcl::TRect band = t->GetCaptionRect();
  const vcl::TPoint close{band.Right - t->CaptionHeight() / 2 - 1, band.Top + t->CaptionHeight() / 2};
  Move(t, close.X, close.Y, false);
  EXPECT_TRUE(t->CloseButtonHot());
  vcl::THintInfo info;
  info.CursorPos = t->ClientToScreen(close);
  t->Perform(vcl::CM_HINTSHOW, 0, reinterpret_cast<vcl::LPARAM>(&info));
  EXPECT_EQ(info.HintStr, "Close this toolbar");
  vcl::THintInfo elsewhere;
  elsewhere.CursorPos = t->ClientToScreen({4, 4});
  elsewhere.HintStr = "own hint";
  t->Perform(vcl::CM_HINTSHOW, 0, reinterpret_cast<vcl::LPARAM>(&elsewhere));
  EXPECT_EQ(elsewhere.HintStr, "own hint");
  t->Perform(vcl::CM_MOUSELEAVE);
  EXPECT_FALSE(t->CloseButtonHot()) << "leaving clears it";
}

class RibbonHostPanel : public vcl::TPanel, public IToolBarHost {
 public:
  using vcl::TPanel::TPanel;
  bool RibbonGroupHost() const override { return true; }
};

TEST(RibbonFloatingDrag, RibbonPageToolBarNeverFloats) {
  FloatRig rig;
  auto* page = new RibbonHostPanel(rig.form);
  page->SetParent(rig.form);
  page->SetBounds(0, 0, 300, 100);
  TLumCustomToolBar* t = rig.Bar(page, 1);
  ASSERT_TRUE(t->AllowFloating());
  t->MakeFloating(10, 10, true);
  EXPECT_EQ(t->State(), tsFixed);
  EXPECT_EQ(t->FloatingWindow(), nullptr);
  Down(t, 3, 10);
  EXPECT_FALSE(t->Dragging());
  Up(t, 3, 10);
}

TEST(RibbonFloatingWindow, FollowsItsFormAndCloses) {
  auto clock = std::make_shared<rtl::ManualClock>(1000000);
  rtl::InstallClock(clock);
  struct Restore {
    ~Restore() { rtl::InstallClock(nullptr); }
  } restore;
  FloatRig rig;
  TLumDockPanel* panel = rig.Panel();
  TLumCustomToolBar* t = rig.Bar(panel, 1);
  rig.form->Hide();
  t->MakeFloating(10, 10, true);
  TFloatingWindow* w = t->FloatingWindow();
  EXPECT_FALSE(w->Visible()) << "the form is hidden: so is the window";
  auto tick = [&] {
    clock->Advance(40);
    vcl::Application->ProcessMessages();
  };
  rig.form->Show();
  tick();
  EXPECT_TRUE(w->Visible()) << "shown with the form";
  rig.form->Hide();
  tick();
  EXPECT_FALSE(w->Visible()) << "hidden with the form";
  rig.form->Show();
  tick();
  EXPECT_TRUE(w->Visible());
  // The close button: hidden, OnClose fires.
  int closed = 0;
  t->OnClose = [&](vcl::TObject*) { ++closed; };
  const vcl::TRect band = t->GetCaptionRect();
  const int cx = band.Right - t->CaptionHeight() / 2 - 1, cy = band.Top + t->CaptionHeight() / 2;
  Down(t, cx, cy);
  EXPECT_FALSE(t->Dragging());
  Up(t, cx, cy);
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(t->Visible());
  EXPECT_FALSE(w->Visible());
  // With AutoDockOnClose it goes home instead.
  t->SetVisible(true);
  t->SetAutoDockOnClose(true);
  t->CloseFloating();
  EXPECT_EQ(t->Parent(), panel);
  EXPECT_EQ(t->State(), tsDocked);
  EXPECT_EQ(t->FloatingWindow(), nullptr);
  EXPECT_EQ(closed, 1);
}

TEST(RibbonFloatingState, SavedAndRestored) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("tolvane-floating-" + std::to_string(::getpid()) + ".ini");
  std::filesystem::remove(file);
  auto persist = [&](TLumDockPanel* p) {
    p->Persistence()->SetLocation(plIniFile);
    p->Persistence()->SetKey(file.string());
    p->Persistence()->SetSection("Docks");
    p->Persistence()->SetEnabled(true);
  };
  {
    FloatRig rig;
    TLumDockPanel* panel = rig.Panel();
    persist(panel);
    TLumCustomToolBar* t = rig.Bar(panel, 4, 20, "Tools");
    TLumCustomToolBar* stay = rig.Bar(panel, 1, 20, "Stay");
    t->ToolBarControl(1)->SetVisible(false);
    t->MakeFloating(120, 130, true);
    t->SetFloatingRows(2);
    (void)stay;
  }
  rtl::TMemIniFile ini(file.string());
  const char* sec = "UnDockedRorIvezEvis";
  EXPECT_EQ(ini.ReadString(sec, "Tools.Name", ""), "Tools");
  EXPECT_EQ(ini.ReadInteger(sec, "Tools.State", -1), 1);
  EXPECT_EQ(ini.ReadInteger(sec, "Tools.FloatingRows", -1), 2);
  EXPECT_EQ(ini.ReadInteger(sec, "Tools.Left", -1), 120);
  EXPECT_EQ(ini.ReadInteger(sec, "Tools.Top", -1), 130);
  EXPECT_EQ(ini.ReadInteger(sec, "Tools.Visible", -1), 1);
  EXPECT_EQ(ini.ReadInteger(sec, "Tools.ToolsC1", -1), 0);
  EXPECT_EQ(ini.ReadInteger(sec, "Tools.ToolsC0", -1), 1);
  EXPECT_FALSE(ini.ValueExists(sec, "Stay.State")) << "a docked toolbar never stored floating writes no state";
  EXPECT_EQ(ini.ReadInteger("Docks", "ToolBarCount", -1), 1) << "the panel keeps only its docked one";
  {
    // Streamed again: the panel's loading lets the toolbar float first.
    FloatRig rig;
    TLumDockPanel* panel = rig.Panel();
    panel->BeginLoad();
    persist(panel);
    TLumCustomToolBar* t = rig.Bar(panel, 4, 20, "Tools");
    TLumCustomToolBar* stay = rig.Bar(panel, 1, 20, "Stay");
    panel->EndLoad();
    EXPECT_EQ(t->State(), tsFloating);
    ASSERT_NE(t->FloatingWindow(), nullptr);
    EXPECT_EQ(t->FloatingWindow()->Left(), 120);
    EXPECT_EQ(t->FloatingWindow()->Top(), 130);
    EXPECT_EQ(t->FloatingRows(), 2);
    EXPECT_FALSE(t->ToolBarControl(1)->Visible());
    EXPECT_TRUE(t->StateLoaded());
    EXPECT_EQ(stay->State(), tsDocked);
    EXPECT_EQ(panel->RowCount(), 1);
    // Docked again and saved: its state says docked now.
    t->SetParent(panel);
  }
  rtl::TMemIniFile after(file.string());
  EXPECT_EQ(after.ReadInteger(sec, "Tools.State", -1), 0);
  // Stored under another name: only the control visibilities apply.
  {
    FloatRig rig;
    TLumCustomToolBar* other = rig.Bar(rig.form, 4, 20, "Tools");
    other->SetName("Renamed");
    other->Persistence()->SetLocation(plIniFile);
    other->Persistence()->SetKey(file.string());
    other->Persistence()->SetEnabled(true);
    other->LoadFloatingState();
    EXPECT_NE(other->State(), tsFloating);
    other->Persistence()->SetEnabled(false);
  }
  std::filesystem::remove(file);
}

}  // namespace
