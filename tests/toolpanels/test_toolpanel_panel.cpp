// One tool panel on the main-window-like form: its caption bar in pixels
// (colours with and without the focus, the close cross, both pins, the
// grip), its buttons through synthetic clicks (closing with the strip's
// permission, pinning and unpinning, the caption drop-down), hints, sizing
// borders and presets.
#include <gtest/gtest.h>

#include "PanelRig.h"
#include "rtl/Convert.h"
#include "rtl/IniFiles.h"
#include "vcl/Menus.h"
#include "vcl/UxTheme.h"

using namespace paneltest;

namespace {

TColor PanelBand(TColor from, TColor to, int steps, int i) {
  auto ch = [&](int shift) {
    const int f = (from >> shift) & 0xFF, t = (to >> shift) & 0xFF;
    return static_cast<TColor>(f + rtl::Round(i * (static_cast<double>(t - f) / steps))) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

// The colour a top-to-bottom gradient of `steps` bands over rows top to
// bottom (less the last) shows on row y.
TColor PanelGradientAt(int top, int bottom, TColor from, TColor to, int steps, int y) {
  const double size = static_cast<double>(bottom - 1 - top) / steps;
  TColor c = 0;
  for (int i = 0; i < steps; ++i) {
    const int start = top + static_cast<int>(rtl::Round(i * size));
    if (y >= start && y < start + static_cast<int>(rtl::Round(size)) + 1) c = PanelBand(from, to, steps, i);
  }
  return c;
}

// Opens and pins the project manager (left strip), 150 wide beside it.
void PinProjectManager(Rig& rig) {
  rig.form->ct->OpenPanel(rig.form->ProjectManagerTab);
  rig.form->ProjectManagerTab->SetLocked(true);
  rig.Pump();
}

}  // namespace

TEST(ToolPanelCaption, ColoursButtonsAndGripInPixels) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* p = f->insertPanel;  // esOffice2007Silver
  f->ct->OpenPanel(p);
  Rig::Away();
  QImage shot = rig.Grab(p);
  const int W = p->Width();
  ASSERT_EQ(W, 150);
  // The bar (1, 1, W - 2, 22): 16 bands from top to bottom in the
  // no-focus colours.
  for (int y = 1; y < 22; ++y)
    EXPECT_EQ(Rig::At(shot, 60, y), PanelGradientAt(1, 22, 0xF8F7F6, 0xE8E0DB, 16, y)) << y;
  // Below it the panel's own gradient, 128 bands over the area less the
  // border width (1, then 2 on the right and bottom).
  const int H = p->Height();
  for (int y : {30, 200, H - 4})
    EXPECT_EQ(Rig::At(shot, 60, y), PanelGradientAt(0, H - 2, 0xDEDDDE, 0xF7F3F3, 128, y)) << y;
  // Close cross in the caption text colour (black): the four segments'
  // first points, with r = (W - 2) - 16.
  const int r = W - 18;
  for (auto [x, y] : {std::pair{r - 1, 12}, {r, 12}, {r - 1, 6}, {r, 6}, {r + 3, 8}})
    EXPECT_EQ(Rig::At(shot, x, y), 0u) << x << "," << y;
  // The unlocked pin points left: r2 is the lock box's right edge.
  const int r2 = W - 2 - 21 - 1;
  for (int y = 7; y < 11; ++y) EXPECT_EQ(Rig::At(shot, r2 - 3, y), 0u) << y;
  for (int y = 5; y < 14; ++y) EXPECT_EQ(Rig::At(shot, r2 - 10, y), 0u) << y;
  for (int x = r2 - 14; x <= r2 - 11; ++x) EXPECT_EQ(Rig::At(shot, x, 9), 0u) << x;
  EXPECT_NE(Rig::At(shot, r2 - 15, 9), 0u) << "line ends are left out";
  // Grip: white squares one step down and right of black ones.
  EXPECT_EQ(Rig::At(shot, 4, 4), 0u);
  EXPECT_EQ(Rig::At(shot, 5, 5), 0u);
  EXPECT_EQ(Rig::At(shot, 6, 6), 0xFFFFFFu);
  EXPECT_EQ(Rig::At(shot, 6, 18), 0xFFFFFFu);
  EXPECT_EQ(Rig::At(shot, 4, 16), 0u);
  // Focus: the focus colours, and the text colour 0x723708.
  Rig::Click(p, 60, 100);
  ASSERT_TRUE(p->HasFocus());
  shot = rig.Grab(p);
  for (int y = 1; y < 22; ++y)
    EXPECT_EQ(Rig::At(shot, 60, y), PanelGradientAt(1, 22, 0xBBEEFF, 0x78DAFF, 16, y)) << y;
  EXPECT_EQ(Rig::At(shot, r - 1, 12), 0x723708u);
  // Pinned: the pin points down.
  p->SetLocked(true);
  rig.Pump();
  Rig::Away();
  shot = rig.Grab(p);
  const int x0 = W - 2 - 21 - 18;  // the lock box's left edge
  for (int x = x0 + 7; x < x0 + 11; ++x) EXPECT_EQ(Rig::At(shot, x, 5), 0x723708u) << x;
  for (int y = 13; y < 17; ++y) EXPECT_EQ(Rig::At(shot, x0 + 9, y), 0x723708u) << y;
  for (int x = x0 + 5; x < x0 + 14; ++x) EXPECT_EQ(Rig::At(shot, x, 12), 0x723708u) << x;
}

TEST(ToolPanelCaption, HoveredAndPressedButtonsAndTheCaptionBorder) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* p = f->insertPanel;
  f->ct->OpenPanel(p);
  const int W = p->Width();
  // The caption border of an unfocused bar.
  Rig::Away();
  p->SetShowCaptionBorder(true);
  QImage shot = rig.Grab(p);
  EXPECT_EQ(Rig::At(shot, 60, 1), 0x808080u);
  EXPECT_EQ(Rig::At(shot, 60, 21), 0x808080u);
  p->SetShowCaptionBorder(false);
  // The cursor over the close box: its widened box (R' - 21, 2, R' - 5, 18)
  // gets the hover gradient, outlined in black one pixel lower.
  Rig::Move(p, W - 14, 10);
  shot = rig.Grab(p);
  const int left = W - 2 - 21, right = W - 2 - 5;
  EXPECT_EQ(Rig::At(shot, left, 10), 0u);
  EXPECT_EQ(Rig::At(shot, right - 1, 10), 0u);
  EXPECT_EQ(Rig::At(shot, left + 3, 18), 0u) << "the outline's bottom, one row lower";
  EXPECT_EQ(Rig::At(shot, left + 3, 5), PanelGradientAt(2, 18, 0xDCFFFF, 0x5BC0F7, 16, 5));
  // Pressed: the down colours.
  Rig::Press(p, W - 14, 10);
  shot = rig.Grab(p);
  EXPECT_EQ(Rig::At(shot, left + 3, 5), PanelGradientAt(2, 18, 0x087FE8, 0x7CDAF7, 16, 5));
  p->Perform(vcl::CM_MOUSELEAVE);
  EXPECT_FALSE(p->Pressed());
  // With Button3D a light and dark frame instead of a fill.
  p->SetButton3D(true);
  Rig::Move(p, W - 14, 10);
  shot = rig.Grab(p);
  EXPECT_EQ(Rig::At(shot, left, 10), 0xFFFFFFu);
  EXPECT_EQ(Rig::At(shot, right - 1, 10), 0x808080u);
}

TEST(ToolPanelButtons, CloseAsksTheStripFirst) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* p = f->insertPanel;
  f->ct->OpenPanel(p);
  std::vector<std::string> events;
  bool allow = false;
  f->ct->OnAllowTabHide = [&](vcl::TObject* sender, Integer index, TLumToolPanel* panel, bool& a) {
    EXPECT_EQ(sender, f->ct);
    EXPECT_EQ(panel, p);
    events.push_back("allow " + std::to_string(index) + (a ? " true" : " false"));
    a = allow;
  };
  f->ct->OnTabHide = [&](vcl::TObject*, Integer index, TLumToolPanel*) {
    events.push_back("hide " + std::to_string(index));
  };
  const int W = p->Width();
  Rig::Click(p, W - 12, 10);
  EXPECT_EQ(events, (std::vector<std::string>{"allow 1 true"}));
  EXPECT_TRUE(p->Visible());
  EXPECT_FALSE(p->Hidden());
  allow = true;
  Rig::Click(p, W - 12, 10);
  EXPECT_EQ(events, (std::vector<std::string>{"allow 1 true", "allow 1 true", "hide 1"}));
  EXPECT_FALSE(p->Visible());
  EXPECT_TRUE(p->Hidden());
  EXPECT_EQ(f->ct->OpenIndex(), -1);
  EXPECT_EQ(f->ct->VisibleTabCount(), 3);
  // Outside the close box (x below R - 20) nothing closes.
  f->ct->OpenPanel(f->SimTab);
  Rig::Click(f->SimTab, W - 21, 10);
  EXPECT_FALSE(f->SimTab->Hidden());
}

TEST(ToolPanelButtons, TheLockButtonPinsBesideTheStripAndUnpins) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* pm = f->ProjectManagerTab;
  TLumToolPanel* sim = f->SimTab;
  int locks = 0, unlocks = 0;
  pm->OnLock = [&](vcl::TObject*) { ++locks; };
  pm->OnUnlock = [&](vcl::TObject*) { ++unlocks; };
  f->ct->OpenPanel(pm);
  const int W = pm->Width();
  Rig::Click(pm, W - 30, 10);  // the lock box (R - 40 to R - 21)
  rig.Pump();
  EXPECT_TRUE(pm->Locked());
  EXPECT_EQ(locks, 1);
  EXPECT_EQ(pm->Align(), vcl::alLeft);
  EXPECT_EQ(pm->Left(), 23);
  EXPECT_EQ(pm->Width(), 150);
  EXPECT_EQ(pm->Height(), f->ClientHeight());
  EXPECT_EQ(f->ct->OpenIndex(), -1);
  EXPECT_EQ(f->page->Left(), 173);
  // A second pinned panel lines up after the first.
  sim->SetOpenWidth(120);
  f->ct->OpenPanel(sim);
  Rig::Click(sim, sim->Width() - 30, 10);
  rig.Pump();
  EXPECT_EQ(sim->Align(), vcl::alLeft);
  EXPECT_EQ(sim->Left(), 173);
  EXPECT_EQ(sim->Width(), 120);
  EXPECT_EQ(f->page->Left(), 293);
  EXPECT_EQ(f->ct->VisibleTabCount(), 2);
  EXPECT_EQ(f->ct->Width(), 23);
  // Pinning the last tabbed panels leaves the strip 2 pixels thick.
  for (TLumToolPanel* p : {f->insertPanel, f->simErrorsTab}) {
    f->ct->OpenPanel(p);
    p->SetLocked(true);
  }
  rig.Pump();
  EXPECT_EQ(f->ct->Width(), 2);
  EXPECT_EQ(f->ProjectManagerTab->Left(), 2);
  // Unlocking the first: it becomes the open sliding panel at TabWidth,
  // and those pinned after it close the gap.
  Rig::Click(pm, W - 30, 10);
  rig.Pump();
  EXPECT_FALSE(pm->Locked());
  EXPECT_EQ(unlocks, 1);
  EXPECT_EQ(pm->Align(), vcl::alNone);
  EXPECT_EQ(pm->Left(), 23);
  EXPECT_EQ(f->ct->OpenIndex(), 0);
  EXPECT_EQ(f->ct->Width(), 23);
  EXPECT_EQ(sim->Left(), 23);
}

TEST(ToolPanelButtons, WithoutCloseTheLockTakesItsPlaceAndReleasesKeepTheSize) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* p = f->insertPanel;
  p->SetShowClose(false);
  f->ct->OpenPanel(p);
  Rig::Away();
  const QImage shot = rig.Grab(p);
  // The unlocked pin at the right end of the bar.
  const int r = p->Width() - 2 - 1;
  for (int y = 5; y < 14; ++y) EXPECT_EQ(Rig::At(shot, r - 10, y), 0u) << y;
  // A click in the close button's place locks.
  Rig::Click(p, p->Width() - 12, 10);
  EXPECT_TRUE(p->Locked());
  // Any release stores the current width as the open width.
  p->SetWidth(170);
  rig.Pump();
  Rig::Click(p, 60, 100);
  EXPECT_EQ(p->OpenWidth(), 170);
  EXPECT_EQ(f->ct->Panels()->Items(1)->OpenWidth(), 170);
  // Assigning 0 keeps the strip's item at its width.
  p->SetOpenWidth(0);
  EXPECT_EQ(f->ct->Panels()->Items(1)->OpenWidth(), 170);
}

TEST(ToolPanelButtons, TheCaptionDropDownPopsTheMenuOrReports) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* p = f->insertPanel;
  p->SetCaptionButton(true);
  f->ct->OpenPanel(p);
  std::vector<vcl::TRect> clicks;
  p->OnCaptionBtnClick = [&](vcl::TObject*, vcl::TRect r) { clicks.push_back(r); };
  Rig::Click(p, 40, 10);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], (vcl::TRect{8, 0, p->Width() - 40, 21}));
  Rig::Click(p, 4, 10);  // the grip is no part of it
  EXPECT_EQ(clicks.size(), 1u);
}

TEST(ToolPanelHints, ButtonsNameWhatTheyDo) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* p = f->insertPanel;
  f->ct->OpenPanel(p);
  const int W = p->Width();
  auto hintAt = [&](int x, int y) {
    vcl::THintInfo info;
    info.CursorPos = p->ClientToScreen({x, y});
    info.HintStr = "own";
    p->Perform(vcl::CM_HINTSHOW, 0, reinterpret_cast<vcl::LPARAM>(&info));
    return info.HintStr;
  };
  EXPECT_EQ(hintAt(W - 10, 12), "Close panel");
  EXPECT_EQ(hintAt(W - 30, 12), "Lock panel");
  EXPECT_EQ(hintAt(60, 12), "own");
  p->SetLocked(true);
  EXPECT_EQ(hintAt(W - 30, 12), "Unlock panel");
}

TEST(ToolPanelSizing, TheEdgeAwayFromTheStripIsASizingBorder) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* p = f->insertPanel;
  f->ct->OpenPanel(p);
  auto hit = [&](int x, int y) {
    const vcl::TPoint s = p->ClientToScreen({x, y});
    return p->Perform(vcl::WM_NCHITTEST, 0, vcl::PointToLParam(s));
  };
  EXPECT_EQ(hit(p->Width() - 1, 100), toolpanels::kHitRight);
  EXPECT_EQ(hit(p->Width() - 3, 100), vcl::HTCLIENT);
  p->SetCanSize(false);
  EXPECT_EQ(hit(p->Width() - 1, 100), vcl::HTCLIENT);
  // Dragged by that border the panel sizes, and holds the auto-close back
  // meanwhile; the size it ends at is its open width.
  p->SetCanSize(true);
  const int W = p->Width();
  Rig::Press(p, W - 1, 100);
  Rig::Away();
  p->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(static_cast<vcl::Word>(W + 19), 100));
  EXPECT_EQ(p->Width(), W + 20);
  rig.Tick(12);
  EXPECT_EQ(f->ct->OpenIndex(), 1) << "no auto-close while sizing";
  p->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(static_cast<vcl::Word>(W + 39), 100));
  p->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(static_cast<vcl::Word>(W + 39), 100));
  EXPECT_EQ(p->Width(), W + 40);
  EXPECT_EQ(p->OpenWidth(), W + 40);
  EXPECT_FALSE(p->Pressed()) << "no click came of it";
  rig.Tick(10);
  EXPECT_EQ(f->ct->OpenIndex(), -1);
  EXPECT_EQ(f->ct->Panels()->Items(1)->OpenWidth(), W + 40);
  // A pinned panel of the bottom strip sizes by its top edge.
  Rig bottomRig(true, 1);
  MainLikeForm* g = bottomRig.form;
  g->bottomBar->SetSlideSpeed(ssInstant);
  TLumToolPanel* b = g->bottomPanels[0];
  g->bottomBar->OpenPanel(b);
  b->SetLocked(true);
  bottomRig.Pump();
  const int H = b->Height(), top = b->Top();
  Rig::Press(b, 50, 1);
  b->Perform(vcl::WM_MOUSEMOVE, vcl::MK_LBUTTON, vcl::MakeLParam(50, static_cast<vcl::Word>(static_cast<int16_t>(-29))));
  b->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(50, 0));
  bottomRig.Pump();
  EXPECT_EQ(b->Height(), H + 30);
  EXPECT_EQ(b->Top(), top - 30);
  EXPECT_EQ(b->OpenWidth(), H + 30);
}

TEST(ToolPanelStyles, ColoursOfEachStyleAndEsCustom) {
  Rig rig;
  TLumToolPanel* p = rig.form->insertPanel;
  struct Case {
    TToolPanelStyle style;
    TColor color, colorTo, noFocus, focus, captionColor, itemFont;
  } cases[] = {
      {esOffice2003Blue, 0xFFE7D6, 0xC67B52, 0xD68759, 0x94E6FB, 0xF7DEC6, 0xB53900},
      {esOffice2007Obsidian, 0xF1F0E6, 0xC6BCB5, 0xF2F1F0, 0xBBEEFF, 0xB8B8B6, 0xB53900},
      {esWindowsXP, vcl::clBtnFace, vcl::clBtnFace, vcl::clInactiveCaption, vcl::clHighlight, 0xFFFFFF, 0},
      {esTerminal, vcl::clBtnFace, vcl::clNone, 0xC0C0C0, 0x808080, 0xC0C0C0, 0},
  };
  for (const Case& c : cases) {
    p->SetButton3D(true);
    p->SetGradientDirection(gdHorizontal);
    p->SetStyle(c.style);
    EXPECT_EQ(p->Color(), c.color) << c.style;
    EXPECT_EQ(p->ColorTo(), c.colorTo) << c.style;
    EXPECT_EQ(p->NoFocusCaptionColor(), c.noFocus) << c.style;
    EXPECT_EQ(p->FocusCaptionColor(), c.focus) << c.style;
    EXPECT_EQ(p->SectionLayout()->CaptionColor(), c.captionColor) << c.style;
    EXPECT_EQ(p->SectionLayout()->ItemFontColor(), c.itemFont) << c.style;
    EXPECT_EQ(p->GradientDirection(), gdVertical);
    EXPECT_FALSE(p->Button3D());
    EXPECT_EQ(p->BorderWidth(), 1);
  }
  p->SetColor(0x010203);
  p->SetButton3D(true);
  static_cast<IStyleAware*>(p)->SetComponentStyle(tsCustom);
  EXPECT_EQ(p->Style(), esCustom);
  EXPECT_EQ(p->Color(), 0x010203u);
  EXPECT_TRUE(p->Button3D());
  EXPECT_EQ(p->Version(), "1.5.1.0");
  EXPECT_EQ(p->CloseHint, "Close panel");
}

TEST(ToolPanelCaption, TheStripsCustomButtonGlyphs) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* p = f->insertPanel;
  // Custom images of 10 by 10 in three colours, their bottom-left pixel
  // (white) left out.
  auto glyph = [](TColor c) {
    auto b = std::make_unique<vcl::TBitmap>(10, 10);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(vcl::Rect(0, 0, 10, 9));
    b->Canvas()->Brush()->SetColor(0xFFFFFF);
    b->Canvas()->FillRect(vcl::Rect(0, 9, 10, 10));
    return b;
  };
  TToolPanelGlyphs* g = f->ct->PanelGlyphs();
  int changes = 0;
  g->OnChange = [&](vcl::TObject*) { ++changes; };
  auto normal = glyph(0x0000FF), hot = glyph(0x00FF00), down = glyph(0xFF0000), lock = glyph(0x00FFFF);
  g->SetGlyph(TToolPanelGlyphs::CloseNormal, normal.get());
  g->SetGlyph(TToolPanelGlyphs::CloseHot, hot.get());
  g->SetGlyph(TToolPanelGlyphs::CloseDown, down.get());
  g->SetGlyph(TToolPanelGlyphs::UnLockNormal, lock.get());
  g->SetGlyph(TToolPanelGlyphs::LockNormal, lock.get());
  EXPECT_EQ(changes, 5);
  f->ct->OpenPanel(p);
  Rig::Away();
  QImage shot = rig.Grab(p);
  // Close: box (R' - 10 - 5, 2, R' - 5, 12) with R' = W - 2, the image
  // from its corner + 1; the lock image w + 5 further left.
  const int W = p->Width(), R = W - 2;
  EXPECT_EQ(Rig::At(shot, R - 14, 3), 0x0000FFu);
  EXPECT_EQ(Rig::At(shot, R - 6, 11), 0x0000FFu);
  EXPECT_NE(Rig::At(shot, R - 14, 12), 0xFFFFFFu) << "the key colour is left out";
  EXPECT_EQ(Rig::At(shot, R - 15 - 14, 3), 0x00FFFFu);
  Rig::Move(p, R - 10, 6);
  EXPECT_EQ(Rig::At(rig.Grab(p), R - 14, 3), 0x00FF00u);
  Rig::Press(p, R - 10, 6);
  EXPECT_EQ(Rig::At(rig.Grab(p), R - 14, 3), 0xFF0000u);
  Rig::Release(p, R - 10, 6);
  EXPECT_TRUE(p->Hidden()) << "the close rectangle is the same whatever the image";
}

TEST(ToolPanelCaption, BackgroundPictureWhereItsPositionSays) {
  Rig rig;
  MainLikeForm* f = rig.form;
  TLumToolPanel* p = f->insertPanel;
  p->SetColorTo(vcl::clNone);
  f->ct->OpenPanel(p);
  vcl::TBitmap picture(20, 10);
  picture.Canvas()->Brush()->SetColor(0x3366CC);
  picture.Canvas()->FillRect(vcl::Rect(0, 0, 20, 10));
  p->SetBackground(&picture);
  const int W = p->Width(), H = p->Height(), bw = p->BevelWidth();
  struct Case {
    TTPBackGroundPosition position;
    int x, y;  // the picture's top-left corner
  } cases[] = {
      {TTPBackGroundPosition::bpTopLeft, 1, 23},
      {TTPBackGroundPosition::bpTopRight, W - 1 - 20 - bw, 23},
      {TTPBackGroundPosition::bpBottomLeft, 1, H - 10 - bw - 1},
      {TTPBackGroundPosition::bpBottomRight, W - 1 - 20 - bw, H - 10 - bw - 1},
      {TTPBackGroundPosition::bpCenter, (W - 1 - 20 - bw) / 2, (H - 10 - bw) / 2},
  };
  for (const Case& c : cases) {
    p->SetBackGroundPosition(c.position);
    const QImage shot = rig.Grab(p);
    EXPECT_EQ(Rig::At(shot, c.x, c.y), 0x3366CCu) << static_cast<int>(c.position);
    EXPECT_EQ(Rig::At(shot, c.x + 19, c.y + 9), 0x3366CCu) << static_cast<int>(c.position);
    EXPECT_NE(Rig::At(shot, c.x + 20, c.y + 9), 0x3366CCu) << static_cast<int>(c.position);
  }
  p->SetBackGroundPosition(TTPBackGroundPosition::bpTiled);
  const QImage tiled = rig.Grab(p);
  EXPECT_EQ(Rig::At(tiled, 1 + 20 * 3, 23 + 10 * 7), 0x3366CCu);
}

TEST(ToolPanelStripMessages, AutoSaveOnCloseAndTheThemeChange) {
  Rig rig;
  MainLikeForm* f = rig.form;
  const std::string file = std::string(TOLVANE_BUILD_DIR) + "/toolpanels_autosave.ini";
  std::remove(file.c_str());
  f->ct->Persist()->INIFile = file;
  f->ct->Persist()->AutoSave = true;
  f->Perform(vcl::WM_CLOSE);
  rtl::TMemIniFile ini(file);
  EXPECT_EQ(ini.ReadString("ctPANELS", "COUNT", ""), "4");
  std::remove(file.c_str());
  // With AutoThemeAdapt the strip follows the desktop's scheme when it
  // changes.
  f->ct->SetAutoThemeAdapt(true);
  vcl::SetThemeColorSchemeName(u"Metallic");
  f->ct->Perform(vcl::WM_THEMECHANGED);
  EXPECT_EQ(f->ct->Style(), esOffice2003Silver);
  EXPECT_EQ(f->insertPanel->Style(), esOffice2003Silver);
  vcl::SetThemeColorSchemeName(u"NormalColor");
}
