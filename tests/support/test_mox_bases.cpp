// The extended bases: option groups with change notification, hooks on the
// class library's notifications, hint colours, the highlight frame, themed
// backgrounds and the forms' cues, owners and activation.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <memory>

#include "rtl/Clock.h"
#include "support/MoxComponent.h"
#include "support/MoxExControls.h"
#include "support/MoxExForms.h"
#include "support/MoxThemes.h"
#include "vcl/Pictures.h"
#include "vcl/Gdi.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"
#include "SupportTestUtil.h"

using namespace support;
using namespace vcl;

namespace {

TForm* MakeForm(int w, int h) {
  auto* f = new TForm(Application, 0);
  f->SetClientWidth(w);
  f->SetClientHeight(h);
  return f;
}

// Records the change events of an option group.
struct ChangeLog {
  std::vector<std::string> events;
  void Attach(TMoxPersistentProperty& p) {
    p.OnChanging = [this](TObject*) { events.push_back("changing"); };
    p.OnChange = [this](TObject*) { events.push_back("changed"); };
    p.OnPropertyChanging = [this](TObject*, const AnsiString& n) { events.push_back("changing " + n); };
    p.OnPropertyChanged = [this](TObject*, const AnsiString& n) { events.push_back("changed " + n); };
  }
};

// Logs which hooks run, each passing on to the default handling.
class HookedControl : public TMoxExCustomControl {
 public:
  explicit HookedControl(TComponent* owner) : TMoxExCustomControl(owner) { SetTabStop(true); }
  std::vector<std::string> hooks;
  bool claimNative = false;  // QueryDialogCodes answers tab and arrows itself
  bool missLeftHalf = false;

 protected:
  void BoundsChange() override { hooks.push_back("BoundsChange " + std::to_string(ClientWidth())); }
  void FocusGained(HWND p) override { hooks.push_back("FocusGained"); TMoxExCustomControl::FocusGained(p); }
  void FocusLost(HWND n) override { hooks.push_back("FocusLost"); TMoxExCustomControl::FocusLost(n); }
  bool EraseBackground(TCanvas* c, LPARAM p) override {
    hooks.push_back("EraseBackground");
    c->IntersectClipRect(Rect(0, 0, 1, 1));  // undone after the hook
    return TMoxExCustomControl::EraseBackground(c, p);
  }
  void QueryDialogCodes(TDlgCodes& codes) override {
    hooks.push_back("QueryDialogCodes");
    if (claimNative) codes = {dcWantTab, dcWantArrows};
  }
  bool WantsSpecialKey(Word key, TShiftState shift, const AnsiString& text) override {
    hooks.push_back("WantsSpecialKey " + text);
    return key == VK_RETURN && shift.Contains(ssCtrl);
  }
  void ParentColorChange() override { hooks.push_back("ParentColorChange"); TMoxExCustomControl::ParentColorChange(); }
  void ParentFontChange() override { hooks.push_back("ParentFontChange"); TMoxExCustomControl::ParentFontChange(); }
  bool HitTestAt(Integer x, Integer y) override {
    hooks.push_back("HitTestAt");
    return missLeftHalf ? x >= Width() / 2 : TMoxExCustomControl::HitTestAt(x, y);
  }
  void VisibleChange() override { hooks.push_back("VisibleChange"); TMoxExCustomControl::VisibleChange(); }
  void EnabledChange() override { hooks.push_back("EnabledChange"); TMoxExCustomControl::EnabledChange(); }
  void ColorChange() override { hooks.push_back("ColorChange"); TMoxExCustomControl::ColorChange(); }
  void FontChange() override { hooks.push_back("FontChange"); TMoxExCustomControl::FontChange(); }
  void CursorChange() override { hooks.push_back("CursorChange"); TMoxExCustomControl::CursorChange(); }
  void TextChange() override { hooks.push_back("TextChange"); TMoxExCustomControl::TextChange(); }
  void MouseEntered(TControl* c) override { hooks.push_back("MouseEntered"); TMoxExCustomControl::MouseEntered(c); }
  void MouseLeft(TControl* c) override { hooks.push_back("MouseLeft"); TMoxExCustomControl::MouseLeft(c); }
  void ShowingChange() override { hooks.push_back("ShowingChange"); TMoxExCustomControl::ShowingChange(); }
  void ShowHintChange() override { hooks.push_back("ShowHintChange"); TMoxExCustomControl::ShowHintChange(); }
  void ControlListChanging(TControl* c, bool ins) override {
    hooks.push_back(std::string("ControlListChanging ") + (ins ? "in" : "out"));
    TMoxExCustomControl::ControlListChanging(c, ins);
  }
  void ControlListChange(TControl* c, bool ins) override {
    hooks.push_back(std::string("ControlListChange ") + (ins ? "in" : "out"));
    TMoxExCustomControl::ControlListChange(c, ins);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clYellow);
    Canvas()->FillRect(Rect(4, 4, Width() - 4, Height() - 4));
  }
};

class MoxBasesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm(240, 160);
    control = new HookedControl(form);
    control->SetBounds(10, 10, 60, 40);
    control->SetParent(form);
    form->Show();
    supporttest::Pump();
    control->hooks.clear();
  }
  void TearDown() override {
    SetThemeActive(true);
    Free(form);
  }
  TForm* form = nullptr;
  HookedControl* control = nullptr;
};

}  // namespace

TEST(MoxPersistentProperty, OneChangePerBracketAndNothingForTheSameValue) {
  TMoxHotTrackOptions options;
  EXPECT_FALSE(options.Enabled());
  EXPECT_FALSE(options.FrameVisible());
  EXPECT_EQ(options.Color(), 0x00D2BDB6u);
  EXPECT_EQ(options.FrameColor(), 0x006A240Au);
  ChangeLog log;
  log.Attach(options);
  options.SetColor(clRed);
  EXPECT_EQ(log.events, (std::vector<std::string>{"changing", "changing Color", "changed Color", "changed"}));
  log.events.clear();
  options.SetColor(clRed);
  EXPECT_TRUE(log.events.empty());

  options.BeginUpdate();
  options.SetEnabled(true);
  options.SetFrameVisible(true);
  options.EndUpdate();
  EXPECT_EQ(log.events, (std::vector<std::string>{"changing", "changing Enabled", "changed Enabled",
                                                   "changing FrameVisible", "changed FrameVisible", "changed"}));

  // Assigning another group: its four values in one bracket.
  TMoxHotTrackOptions other(clBtnFace);
  other.SetFrameColor(clBlue);
  log.events.clear();
  options.Assign(&other);
  EXPECT_EQ(log.events.front(), "changing");
  EXPECT_EQ(log.events.back(), "changed");
  EXPECT_EQ(std::count(log.events.begin(), log.events.end(), "changed"), 1);
  EXPECT_EQ(options.Color(), clBtnFace);
  EXPECT_EQ(options.FrameColor(), clBlue);
  EXPECT_FALSE(options.Enabled());
  TBitmap notOptions;
  EXPECT_THROW(options.Assign(&notOptions), EConvertError);

  // An unmatched EndUpdate: the count goes below 0, nothing is told.
  TMoxHotTrackOptions loose;
  ChangeLog looseLog;
  looseLog.Attach(loose);
  loose.EndUpdate();
  EXPECT_EQ(loose.UpdateCount(), -1);
  EXPECT_TRUE(looseLog.events.empty());
  loose.SetEnabled(true);  // names still go out, the plain events do not
  EXPECT_EQ(looseLog.events, (std::vector<std::string>{"changing Enabled", "changed Enabled"}));
}

TEST(MoxHelpers, DialogCodesAndKeyDataRoundTrip) {
  struct Case {
    Integer native;
    TDlgCodes set;
  } cases[] = {
      {0, {}},
      {DLGC_WANTARROWS, {dcWantArrows}},
      {DLGC_WANTTAB | DLGC_WANTCHARS, {dcWantTab, dcWantChars}},
      {DLGC_WANTALLKEYS | DLGC_BUTTON | DLGC_HASSETSEL, {dcWantAllKeys, dcButton, dcHasSetSel}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DlgCodesFromNative(c.native), c.set);
    EXPECT_EQ(DlgCodesToNative(c.set), c.native);
  }
  EXPECT_EQ(ShiftStateToKeyData({ssAlt}), 0x20000000);
  EXPECT_EQ(ShiftStateToKeyData({ssCtrl, ssShift}), 0x18000000);
  EXPECT_EQ(KeyDataToShiftState(0x38000000), (TShiftState{ssAlt, ssCtrl, ssShift}));
}

TEST_F(MoxBasesTest, NotificationsReachTheirHooks) {
  using V = std::vector<std::string>;
  struct Case {
    const char* name;
    std::function<void()> act;
    V hooks;
  } cases[] = {
      {"visible", [&] { control->Hide(); control->Show(); },
       {"VisibleChange", "ShowingChange", "VisibleChange", "ShowingChange"}},
      // The form gave the control the focus when it showed; disabled, it loses it.
      {"enabled", [&] { control->SetEnabled(false); control->SetEnabled(true); },
       {"EnabledChange", "FocusLost", "EnabledChange"}},
      {"colour", [&] { control->SetColor(clAqua); }, {"ColorChange"}},
      {"parent colour", [&] { control->SetParentColor(true); }, {"ParentColorChange", "ColorChange"}},
      {"font", [&] { control->Font()->SetSize(12); }, {"FontChange"}},
      {"parent font", [&] { control->SetParentFont(true); }, {"ParentFontChange", "FontChange"}},
      {"cursor", [&] { control->SetCursor(crHandPoint); }, {"CursorChange"}},
      {"text", [&] { control->SetText("x"); }, {"TextChange"}},
      {"hint", [&] { control->SetHint("h"); }, {"ShowHintChange"}},
      {"size", [&] { control->SetWidth(80); }, {"BoundsChange 80"}},
      {"children", [&] {
         auto* child = new TCustomControl(form);
         child->SetParent(control);
         delete child;
       },
       {"ControlListChanging in", "ControlListChange in", "ControlListChanging out", "ControlListChange out"}},
      {"hit test", [&] { control->Perform(CM_HITTEST, 0, PointToLParam({1, 1})); }, {"HitTestAt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    control->hooks.clear();
    c.act();
    EXPECT_EQ(control->hooks, c.hooks);
  }
  EXPECT_EQ(control->Color(), form->Color());  // the default handling ran
}

TEST_F(MoxBasesTest, HookResultsBecomeMessageResults) {
  EXPECT_EQ(control->Perform(CM_HITTEST, 0, PointToLParam({1, 1})), HTCLIENT);
  control->missLeftHalf = true;
  EXPECT_EQ(control->Perform(CM_HITTEST, 0, PointToLParam({1, 1})), HTNOWHERE);
  EXPECT_EQ(form->ControlAtPos({12, 12}, false, true), nullptr);
  EXPECT_EQ(form->ControlAtPos({60, 12}, false, true), control);

  // Codes the default handling gave stand unless the hook claims the set.
  EXPECT_EQ(control->Perform(WM_GETDLGCODE), 0);
  control->claimNative = true;
  EXPECT_EQ(control->Perform(WM_GETDLGCODE), DLGC_WANTTAB | DLGC_WANTARROWS);

  control->hooks.clear();
  EXPECT_EQ(control->Perform(CM_WANTSPECIALKEY, VK_RETURN, ShiftStateToKeyData({ssCtrl})), 1);
  EXPECT_EQ(control->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(control->hooks, (std::vector<std::string>{"WantsSpecialKey Ctrl+Enter", "WantsSpecialKey Enter"}));

  // The erase hook gets the canvas; its clipping is undone afterwards.
  control->hooks.clear();
  control->Invalidate();
  control->Update();
  EXPECT_EQ(control->hooks, (std::vector<std::string>{"EraseBackground"}));
  EXPECT_EQ(control->Canvas()->Pixels(0, 0), ColorToRGB(control->Color()));
  EXPECT_EQ(control->Canvas()->Pixels(2, 2), ColorToRGB(control->Color()));  // clipped during the erase only
  EXPECT_EQ(control->Canvas()->Pixels(5, 5), clYellow);
}

TEST_F(MoxBasesTest, MouseOverFlagAndHighlightFrame) {
  int entered = 0, left = 0;
  control->OnMouseEnter = [&](TObject*) { ++entered; };
  control->OnMouseLeave = [&](TObject*) { ++left; };
  auto* other = new HookedControl(form);
  other->SetBounds(100, 10, 20, 20);
  other->SetParent(form);
  other->SetFocus();
  supporttest::Pump();
  control->SetDotNetHighlighting(true);
  control->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(control->MouseOver());
  EXPECT_EQ(entered, 1);
  auto window = GetWindowDC(control->Handle());
  EXPECT_EQ(window->Pixels(0, 0), kHighlightHotColor);
  EXPECT_EQ(window->Pixels(1, 1), kHighlightHotColor);
  EXPECT_EQ(window->Pixels(59, 39), kHighlightHotColor);
  control->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(control->MouseOver());
  EXPECT_EQ(left, 1);
  // Neither hot nor focused: grey outside, the control's colour inside;
  // the next paint takes the rings away.
  EXPECT_EQ(window->Pixels(0, 0), kHighlightFrameColor);
  EXPECT_EQ(window->Pixels(1, 1), ColorToRGB(control->Color()));
  control->Update();
  EXPECT_EQ(window->Pixels(0, 0), ColorToRGB(control->Color()));
  // Focus paints the hot rings too.
  control->SetFocus();
  supporttest::Pump();
  EXPECT_TRUE(control->Focused());
  EXPECT_EQ(window->Pixels(0, 0), kHighlightHotColor);
}

TEST_F(MoxBasesTest, HintColoursResolveThroughParents) {
  auto* panel = new TMoxCustomPanel(form);
  panel->SetBounds(100, 10, 100, 100);
  panel->SetParent(form);
  auto* inner = new HookedControl(form);
  inner->SetParent(panel);
  auto hintColor = [](TControl* c) {
    THintInfo info;
    info.HintColor = 0x00123456;
    c->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    return info.HintColor;
  };
  panel->SetHintColor(clLime);
  EXPECT_EQ(hintColor(inner), clLime);  // clDefault: the panel's
  panel->SetHintColor(clDefault);
  EXPECT_EQ(hintColor(inner), 0x00123456u);  // up to a form with no colour: the record's own
  inner->SetHintColor(clNone);
  Application->SetHintColor(clCream);
  EXPECT_EQ(hintColor(inner), clCream);
  Application->SetHintColor(clInfoBk);
  inner->SetHintColor(clRed);
  EXPECT_EQ(hintColor(inner), clRed);

  // A hint window of the control's own kind shows the hint.
  auto clock = std::make_shared<rtl::ManualClock>(90000);
  rtl::ScopedClock scoped(clock);
  int made = 0;
  control->HintWindowClass = [&made](TComponent* owner) {
    ++made;
    return new THintWindow(owner);
  };
  control->SetHint("tip");
  control->SetShowHint(true);
  QWidget* w = control->Widget();
  QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), w->mapToGlobal(QPointF(20, 20)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(w, &move);
  clock->Advance(Application->HintPause());
  Application->ProcessMessages();
  EXPECT_EQ(made, 1);
  ASSERT_NE(Application->HintWindow(), nullptr);
  EXPECT_EQ(Application->HintWindow()->Color(), clDefault == control->HintColor() ? clInfoBk : control->HintColor());
  Application->CancelHint();
}

TEST_F(MoxBasesTest, ThemedBackgroundsShowTheParentAligned) {
  // A parent whose erase paints rows of stripes, four pixels each.
  class Striped : public TMoxExCustomControl {
   public:
    using TMoxExCustomControl::TMoxExCustomControl;

   protected:
    bool EraseBackground(TCanvas* c, LPARAM) override {
      for (int y = 0; y < Height(); ++y) {
        c->Brush()->SetColor((y / 4) % 2 ? clNavy : clSilver);
        c->FillRect(Rect(0, y, Width(), y + 1));
      }
      return true;
    }
  };
  auto* parent = new Striped(form);
  parent->SetBounds(0, 60, 200, 80);
  parent->SetColor(clSilver);
  parent->SetParent(form);
  auto* child = new TMoxCustomPanel(form);
  child->SetBounds(0, 12, 50, 30);
  child->SetColor(clSilver);
  child->SetParent(parent);
  supporttest::Pump();
  TBitmap sheet(50, 30);
  auto expectStripes = [&](int shift) {
    for (int y = 0; y < 30; ++y)
      EXPECT_EQ(sheet.Canvas()->Pixels(10, y), ((y + shift) / 4) % 2 ? clNavy : clSilver) << y;
  };
  EraseParentBackground(child, sheet.Canvas(), {child->Left(), child->Top()}, kNoEraseRect);
  expectStripes(12);
  TPoint org;
  GetWindowOrgEx(sheet.Canvas(), &org);
  EXPECT_EQ(org, (TPoint{0, 0}));
  // Held to a rectangle.
  sheet.Canvas()->Brush()->SetColor(clWhite);
  sheet.Canvas()->FillRect(Rect(0, 0, 50, 30));
  EraseParentBackground(child, sheet.Canvas(), {0, 12}, Rect(0, 0, 50, 2));
  EXPECT_EQ(sheet.Canvas()->Pixels(10, 0), clNavy);
  EXPECT_EQ(sheet.Canvas()->Pixels(10, 5), clWhite);

  // Same colour as the parent, parent background wanted and granted:
  // the parent's picture. Visual styles off, or no parent-background
  // style: a plain fill.
  AddThemedControlStyle(child, csParentBackgroundBit);
  EXPECT_EQ(ThemedControlStyle(child), csParentBackgroundBit);
  parent->Update();
  TCanvas* c = child->Canvas();
  PaintThemedBackground(child, c, Rect(0, 0, 50, 30), true, clSilver);
  EXPECT_EQ(c->Pixels(10, 0), clNavy);  // parent row 12
  EXPECT_EQ(c->Pixels(10, 4), clSilver);
  SetThemeActive(false);
  c->Brush()->SetColor(clGreen);
  PaintThemedBackground(child, c, Rect(0, 0, 50, 30), true, clSilver);
  EXPECT_EQ(c->Pixels(10, 0), clSilver);
  EXPECT_EQ(c->Brush()->Color(), clGreen);
  SetThemeActive(true);
  PaintThemedBackground(child, c, Rect(0, 0, 50, 30), true, clRed);  // another colour
  EXPECT_EQ(c->Pixels(10, 0), clRed);
  auto* lone = new TMoxCustomPanel(form);
  lone->SetBounds(60, 12, 50, 30);
  lone->SetColor(clSilver);
  lone->SetParent(parent);
  PaintThemedBackground(lone, lone->Canvas(), Rect(0, 0, 50, 30), true, clSilver);
  EXPECT_EQ(lone->Canvas()->Pixels(10, 0), clSilver);
  AddThemedControlStyle(lone, csNeedsBorderPaintBit | csParentBackgroundBit);
  EXPECT_EQ(ThemedControlStyle(lone), kThemedControlStyleMask);
}

TEST_F(MoxBasesTest, PanelsPaintTheirContentLast) {
  auto* panel = new TMoxCustomPanel(form);
  panel->SetBounds(100, 10, 60, 40);
  panel->SetParent(form);
  TRect seen;
  panel->OnPaintContent = [&](TObject*, TCanvas* c, const TRect& r) {
    seen = r;
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(20, 20, 22, 22));
  };
  panel->Update();
  EXPECT_EQ(seen, panel->ClientRect());
  EXPECT_EQ(panel->Canvas()->Pixels(20, 20), clRed);
  EXPECT_TRUE(panel->Ctl3D());
  panel->SetFlat(true);
  EXPECT_FALSE(panel->Ctl3D());
  EXPECT_TRUE(panel->Flat());
}

TEST(MoxForms, CuesOwnersAndActivation) {
  TForm* main = MakeForm(100, 80);
  TCustomForm* oldMain = Application->MainForm();
  Application->SetMainForm(main);
  main->Show();
  auto* dialog = new TMoxForm(Application, 0);
  std::vector<WPARAM> cues;
  dialog->AddWindowHook([&](TMessage& m, const TControl::TWndMethod& next) {
    if (m.Msg == WM_CHANGEUISTATE) cues.push_back(m.WParam);
    next(m);
  });
  dialog->Show();
  supporttest::Pump();
  EXPECT_EQ(cues, (std::vector<WPARAM>{MakeWParam(UIS_INITIALIZE, 0)}));
  EXPECT_EQ(dialog->OwnerWindow(), main->Handle());
  cues.clear();
  dialog->Perform(CM_DIALOGKEY, VK_TAB);
  dialog->Perform(CM_DIALOGCHAR, 'A');
  EXPECT_EQ(cues, (std::vector<WPARAM>{MakeWParam(UIS_CLEAR, UISF_HIDEFOCUS),
                                       MakeWParam(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL)}));
  EXPECT_NE(dialog->Perform(WM_MOUSEACTIVATE), MA_NOACTIVATE);
  dialog->SetIsFocusable(false);
  EXPECT_EQ(dialog->Perform(WM_MOUSEACTIVATE), MA_NOACTIVATE);
  // The main form itself has no owner.
  auto* lone = new TMoxForm(Application, 0);
  Application->SetMainForm(lone);
  lone->Show();
  EXPECT_EQ(lone->OwnerWindow(), 0u);
  Free(lone);
  Free(dialog);
  Application->SetMainForm(oldMain);
  Free(main);
}
