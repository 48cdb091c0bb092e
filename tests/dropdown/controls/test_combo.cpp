// The flat combo boxes (8-bit and wide): properties, hot state and colours,
// and the frame and button they paint over the native box.
#include <gtest/gtest.h>

#include <functional>

#include <QCoreApplication>
#include <QWidget>
#include <QEvent>

#include "DropdownTestSupport.h"
#include "dropdown/VoeCombo.h"
#include "dropdown/VoeUni.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Gdi.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

class FlatCombo : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm(360, 240);
    form->SetColor(RGB(200, 220, 240));
    combo = new TVOEComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 10, 150, 24);
    combo->Items()->SetText("one\r\ntwo\r\nthree\r\n");
    Pump();
  }
  void TearDown() override { Free(form); }
  void Enter(TWinControl* c) {
    QEvent e(QEvent::Enter);
    QCoreApplication::sendEvent(c->Widget(), &e);
    Pump();
  }
  void Leave(TWinControl* c) {
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(c->Widget(), &e);
    Pump();
  }
  TForm* form = nullptr;
  TVOEComboBox* combo = nullptr;
};

TEST_F(FlatCombo, Defaults) {
  EXPECT_EQ(combo->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 4);
  EXPECT_TRUE(combo->Flat());
  EXPECT_FALSE(combo->Etched());
  EXPECT_FALSE(combo->FocusBorder());
  EXPECT_EQ(combo->DropWidth(), 0);
  EXPECT_EQ(combo->Version(), "1.2.0.1");
  combo->SetVersion("9.9");
  EXPECT_EQ(combo->Version(), "1.2.0.1");
  EXPECT_TRUE(combo->Ctl3D());  // Flat was set directly
  combo->SetFlat(false);
  EXPECT_TRUE(combo->Ctl3D());
  combo->SetFlat(true);
  EXPECT_FALSE(combo->Ctl3D());
}

TEST_F(FlatCombo, ButtonWidthAcceptsFourteenToThirtyTwo) {
  struct Case {
    Integer value, expected;
  } cases[] = {{13, 21}, {14, 14}, {33, 14}, {32, 32}, {0, 32}, {20, 20}};
  for (const auto& c : cases) {
    combo->SetButtonWidth(c.value);
    EXPECT_EQ(combo->ButtonWidth(), c.expected) << c.value;
  }
  auto* uni = new TVOEUniComboBox(form);
  uni->SetButtonWidth(13);
  EXPECT_EQ(uni->ButtonWidth(), 21);
  uni->SetButtonWidth(32);
  EXPECT_EQ(uni->ButtonWidth(), 32);
}

TEST_F(FlatCombo, DropWidthAboveZeroWidensTheList) {
  combo->SetDropWidth(0);
  EXPECT_EQ(combo->DropWidth(), 0);
  EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), 150);
  combo->SetDropWidth(300);
  EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), 300);
}

TEST_F(FlatCombo, ADisabledComboShowsItsParentsColour) {
  auto* uni = new TVOEUniComboBox(form);
  uni->SetParent(form);
  uni->SetBounds(10, 60, 150, 24);
  struct Case {
    const char* name;
    TWinControl* box;
    std::function<void(bool)> setFlat;
  } cases[] = {
      {"flat combo", combo, [&](bool v) { combo->SetFlat(v); }},
      {"wide combo", uni, [&](bool v) { uni->SetFlat(v); }},
  };
  for (const auto& c : cases) {
    TWinControl* box = c.box;
    box->SetColor(RGB(255, 255, 200));
    box->SetEnabled(false);
    EXPECT_TRUE(box->ParentColor()) << c.name;
    EXPECT_EQ(box->Color(), form->Color()) << c.name;
    EXPECT_EQ(PixelAt(Grab(box), box->Width() / 3, box->Height() / 2), ColorToRGB(form->Color())) << c.name;
    box->SetEnabled(true);
    EXPECT_FALSE(box->ParentColor()) << c.name;
    EXPECT_EQ(box->Color(), RGB(255, 255, 200)) << c.name;
    // Not flat: the colours stay.
    c.setFlat(false);
    box->SetEnabled(false);
    EXPECT_EQ(box->Color(), RGB(255, 255, 200)) << c.name;
  }
}

TEST_F(FlatCombo, AutoFocusTakesTheFocusOnlyWhenItCan) {
  auto* other = new TVOEComboBox(form);
  other->SetParent(form);
  other->SetBounds(10, 60, 150, 24);
  Pump();
  other->SetFocus();
  Pump();
  combo->SetAutoFocus(true);
  Enter(combo);
  EXPECT_TRUE(combo->MouseInside());
  EXPECT_TRUE(combo->Focused());
  Leave(combo);
  EXPECT_FALSE(combo->MouseInside());
  other->SetFocus();
  Pump();
  combo->SetEnabled(false);
  combo->Perform(CM_MOUSEENTER);
  EXPECT_FALSE(combo->Focused());
  EXPECT_FALSE(combo->MouseInside());
}

// The pixels the flat look draws, rendered the same way on a bitmap filled
// with a colour no drawing uses: what it changed is what the combo must show.
struct Expected {
  TBitmap bmp;
  static constexpr TColor kUntouched = 0x00123456;
  Expected(int w, int h) : bmp(w, h) {
    bmp.Canvas()->Brush()->SetColor(kUntouched);
    bmp.Canvas()->FillRect(Rect(0, 0, w, h));
  }
  // Counts pixels the reference drew that the image shows differently.
  int Mismatches(const QImage& img) {
    int bad = 0;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x) {
        TColor want = bmp.Canvas()->Pixels(x, y);
        if (want != kUntouched && PixelAt(img, x, y) != want && ++bad == 1)
          ADD_FAILURE() << "first difference at " << x << "," << y << ": " << std::hex << PixelAt(img, x, y)
                        << " instead of " << want;
      }
    return bad;
  }
};

TEST_F(FlatCombo, TheFlatFrameAndButtonAtTheirPixels) {
  for (bool etched : {false, true})
    for (Integer bw : {14, 21, 32}) {
      combo->SetEtched(etched);
      combo->SetButtonWidth(bw);
      QImage img = Grab(combo);
      int w = combo->Width(), h = combo->Height();
      Expected e(w, h);
      TCanvas* c = e.bmp.Canvas();
      // The drop-down arrow, the parent's colour twice around the edge,
      // then the button's edge around the arrow.
      TRect arrow = Rect(w - bw - 2, 2, w - 2, h);
      c->DrawFrameControl(arrow, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
      c->Brush()->SetColor(form->Color());
      c->FrameRect(Rect(0, 0, w, h));
      c->FrameRect(Rect(1, 1, w - 1, h - 1));
      TRect edge = Rect(w - bw - 2, 2, w - 1, h);
      Integer saved = c->SaveDC();
      c->ExcludeClipRect(Rect(w - bw + 4, 4, w - 4, h - 4));
      c->DrawEdge(edge, etched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT);
      c->RestoreDC(saved);
      EXPECT_EQ(e.Mismatches(img), 0) << (etched ? "etched " : "raised ") << bw;
      if (bw == 21) SaveShot(img, etched ? "dropdown_combo_etched.png" : "dropdown_combo_flat.png");
    }
}

TEST_F(FlatCombo, TheFocusBorderShowsWhileHot) {
  // Another control holds the focus: the combo is neither active nor hot.
  auto* other = new TVOEComboBox(form);
  other->SetParent(form);
  other->SetBounds(10, 60, 150, 24);
  other->SetFocus();
  Pump();
  combo->SetFocusBorder(true);
  QImage cold = Grab(combo);
  EXPECT_EQ(PixelAt(cold, 0, 5), form->Color());
  Enter(combo);
  QImage hot = Grab(combo);
  int w = combo->Width(), h = combo->Height();
  Expected e(w, h);
  // Left of the button, whose edge goes over the border.
  Integer saved = e.bmp.Canvas()->SaveDC();
  e.bmp.Canvas()->IntersectClipRect(Rect(0, 0, w - combo->ButtonWidth() - 2, h));
  TRect r = Rect(0, 0, w, h);
  e.bmp.Canvas()->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT);
  e.bmp.Canvas()->Brush()->SetColor(clBtnFace);
  e.bmp.Canvas()->FrameRect(Rect(1, 1, w - 1, h - 1));
  e.bmp.Canvas()->Brush()->SetColor(combo->Color());
  e.bmp.Canvas()->FrameRect(Rect(2, 2, w - 2, h - 2));
  e.bmp.Canvas()->RestoreDC(saved);
  EXPECT_EQ(e.Mismatches(hot), 0);
  SaveShot(hot, "dropdown_combo_focus_border.png");
  Leave(combo);
  EXPECT_EQ(PixelAt(Grab(combo), 0, 5), form->Color());
}

TEST_F(FlatCombo, NativeLookLeavesThePaintingToTheBox) {
  auto* plain = new TComboBox(form);
  plain->SetParent(form);
  plain->SetBounds(10, 100, 150, 24);
  plain->Items()->SetText("one\r\ntwo\r\nthree\r\n");
  combo->SetNativeLook(true);
  combo->SetFocusBorder(true);
  Enter(combo);
  QImage a = Grab(combo), b = Grab(plain);
  EXPECT_EQ(a, b);
}

TEST_F(FlatCombo, XPLookDrawsTheThemedButton) {
  QImage plain = Grab(combo);
  combo->SetXPLook(true);
  QImage themed = Grab(combo);
  EXPECT_NE(plain, themed);
  // One frame of the parent's colour only (the common controls are new).
  EXPECT_EQ(PixelAt(themed, 0, 8), form->Color());
  EXPECT_NE(PixelAt(themed, 1, 8), form->Color());
}

TEST_F(FlatCombo, XPLookWithoutAThemePaintsThePlainButton) {
  // The theme switched off under a themed combo: it repaints plain, and
  // themed again when the theme comes back.
  combo->SetXPLook(true);
  QImage themed = Grab(combo);
  SetThemeActive(false);
  QImage img = Grab(combo);
  SetThemeActive(true);
  EXPECT_EQ(Grab(combo), themed);
  int w = combo->Width(), h = combo->Height(), bw = combo->ButtonWidth();
  Expected e(w, h);
  TRect arrow = Rect(w - bw - 2, 2, w - 2, h);
  e.bmp.Canvas()->DrawFrameControl(arrow, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
  // One frame of the parent's colour and no button edge.
  e.bmp.Canvas()->Brush()->SetColor(form->Color());
  e.bmp.Canvas()->FrameRect(Rect(0, 0, w, h));
  EXPECT_EQ(e.Mismatches(img), 0);
}

TEST_F(FlatCombo, TheWideComboPaintsItsOwnWay) {
  auto* uni = new TVOEUniComboBox(form);
  uni->SetParent(form);
  uni->SetBounds(10, 60, 150, 24);
  uni->SetColor(clWindow);
  Pump();
  int w = uni->Width(), h = uni->Height(), bw = uni->ButtonWidth();
  auto expected = [&](bool hot, bool dropped = false) {
    auto e = std::make_unique<Expected>(w, h);
    TCanvas* c = e->bmp.Canvas();
    TRect arrow = Rect(w - bw + 1, 1, w - 1, h - 1);
    c->DrawFrameControl(arrow, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
    c->Brush()->SetColor(form->Color());
    c->FrameRect(Rect(0, 0, w, h));
    c->FrameRect(Rect(1, 1, w - 1, h - 1));
    c->Brush()->SetColor(clWindow);
    c->FrameRect(Rect(2, 2, w - 2, h - 2));
    Integer saved = c->SaveDC();
    c->ExcludeClipRect(Rect(w - bw + 4, 4, w - 4, h - 4));
    TRect r = Rect(w - bw, 2, w - 2, h - 2);
    if (hot) {
      c->DrawEdge(r, EDGE_RAISED, BF_RECT | (dropped ? BF_FLAT : 0));
    } else {
      c->Brush()->SetColor(clBtnFace);
      c->FillRect(Rect(r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1));
    }
    c->RestoreDC(saved);
    return e;
  };
  // Neither active nor under the mouse.
  combo->SetFocus();
  Leave(uni);
  QImage cold = Grab(uni);
  EXPECT_EQ(expected(false)->Mismatches(cold), 0);
  SaveShot(cold, "dropdown_unicombo.png");
  // Hot: a raised edge around the button.
  Enter(uni);
  QImage hot = Grab(uni);
  SaveShot(hot, "dropdown_unicombo_hot.png");
  EXPECT_EQ(expected(true)->Mismatches(hot), 0);
  // While its list is down the button's edge lies flat, and rises again
  // when the list closes (the combo holds the focus, as after a click on
  // its button: the open list takes the mouse away from it).
  uni->Items()->Add(u"one");
  uni->SetFocus();
  Pump();
  uni->SetDroppedDown(true);
  Pump();
  ASSERT_TRUE(uni->DroppedDown());
  QImage dropped = Grab(uni);
  SaveShot(dropped, "dropdown_unicombo_dropped.png");
  EXPECT_EQ(expected(true, true)->Mismatches(dropped), 0);
  uni->SetDroppedDown(false);
  Pump();
  EXPECT_EQ(expected(true)->Mismatches(Grab(uni)), 0);
}

}  // namespace
}  // namespace dropdown
