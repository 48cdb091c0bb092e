// The calculator keypad: the 28 standard keys at their exact rectangles,
// clicks by real presses (a release off the key clicks nothing), disabled
// keys that never light up, and the keys' looks in pixels.
#include <gtest/gtest.h>

#include <QWidget>
#include <QTest>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumCalculatorDropdown.h"

namespace dropdown {
namespace {

using namespace ddtest;

struct KeypadRig {
  TForm* form = MakeForm(300, 200);
  TCustomButtonPanel* pad = nullptr;
  std::vector<Integer> clicks;
  KeypadRig() {
    pad = new TCustomButtonPanel(form);
    pad->SetParent(form);
    pad->SetBounds(20, 20, 228, 150);
    pad->SetColor(0xFFFFFF);
    pad->BuildButtons();
    pad->OnButtonClick = [this](TObject*, Integer i) { clicks.push_back(i); };
    Pump();
  }
  ~KeypadRig() { Free(form); }
  Integer IndexOf(const char* name) const {
    for (Integer i = 0; i < pad->Buttons()->Count(); ++i)
      if (pad->Buttons()->Items(i)->Name() == name) return i;
    return -1;
  }
  TRect RectOf(const char* name) const { return pad->Buttons()->Items(IndexOf(name))->ItemBounds(); }
};

TEST(Keypad, TheStandardKeysAt34By26) {
  KeypadRig rig;
  ASSERT_EQ(rig.pad->Buttons()->Count(), 28);
  struct Case {
    const char* name;
    const char* caption;
    int tag;
    bool special;
    TRect r;
  };
  // Columns 8, 46, 79, 112, 150, 183; rows 8, 38, 63, 88, 113.
  const Case cases[] = {
      {"BTN_ON", "", 30, false, {8, 8, 42, 34}},
      {"BTN_BACK", "Back", 31, true, {46, 8, 100, 34}},
      {"BTN_CE", "CE", 32, true, {104, 8, 158, 34}},
      {"BTN_C", "C", 16, true, {162, 8, 217, 34}},
      {"BTN_MC", "MC", 33, true, {8, 38, 42, 64}},
      {"BTN_M+", "M+", 36, true, {8, 113, 42, 139}},
      {"BTN_7", "7", 7, false, {46, 38, 80, 64}},
      {"BTN_0", "0", 0, false, {46, 113, 80, 139}},
      {"BTN_5", "5", 5, false, {79, 63, 113, 89}},
      {"BTN_.", ".", 15, false, {112, 113, 146, 139}},
      {"BTN_/", "/", 13, true, {150, 38, 184, 64}},
      {"BTN_+", "+", 10, true, {150, 113, 184, 139}},
      {"BTN_sqrt", "sqrt", 37, true, {183, 38, 217, 64}},
      {"BTN_=", "=", 17, true, {183, 113, 217, 139}},
  };
  for (const Case& c : cases) {
    const Integer i = rig.IndexOf(c.name);
    ASSERT_GE(i, 0) << c.name;
    TButtonItem* b = rig.pad->Buttons()->Items(i);
    EXPECT_EQ(b->ItemBounds(), c.r) << c.name;
    EXPECT_EQ(b->Caption(), c.caption) << c.name;
    EXPECT_EQ(b->Tag(), c.tag) << c.name;
    EXPECT_EQ(b->Special(), c.special) << c.name;
    EXPECT_EQ(b->CaptionColor(), c.special ? TColor(0x000080) : TColor(0xFFFFFF)) << c.name;
  }
  // The order of the collection.
  EXPECT_EQ(rig.IndexOf("BTN_ON"), 0);
  EXPECT_EQ(rig.IndexOf("BTN_4"), 10);
  EXPECT_EQ(rig.IndexOf("BTN_sqrt"), 27);
  EXPECT_EQ(rig.pad->ButtonAt(10, 10), 0);
  EXPECT_EQ(rig.pad->ButtonAt(44, 10), -1);  // the gap between groups
  EXPECT_EQ(rig.pad->ButtonAt(79, 63), rig.IndexOf("BTN_4"));  // a shared border pixel: the first key there
}

TEST(Keypad, PressAndReleaseOverTheKeyClicksOnce) {
  KeypadRig rig;
  const TRect seven = rig.RectOf("BTN_7");
  const TRect eight = rig.RectOf("BTN_8");
  QWidget* w = rig.pad->Widget();
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(seven.Left + 5, seven.Top + 5));
  Pump();
  EXPECT_EQ(rig.pad->DownIndex(), rig.IndexOf("BTN_7"));
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(seven.Left + 6, seven.Top + 6));
  Pump();
  EXPECT_EQ(rig.clicks, std::vector<Integer>{rig.IndexOf("BTN_7")});
  EXPECT_EQ(rig.pad->DownIndex(), -1);
  // Pressed on 7, released on 8: nothing.
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(seven.Left + 5, seven.Top + 5));
  QTest::mouseMove(w, QPoint(eight.Left + 10, eight.Top + 5));
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(eight.Left + 10, eight.Top + 5));
  Pump();
  EXPECT_EQ(rig.clicks.size(), 1u);
  EXPECT_EQ(rig.pad->DownIndex(), -1);
  // A disabled key is neither hot nor pressed and clicks nothing.
  rig.pad->Buttons()->Items(rig.IndexOf("BTN_8"))->SetEnabled(false);
  QTest::mouseMove(w, QPoint(eight.Left + 10, eight.Top + 6));
  Pump();
  EXPECT_EQ(rig.pad->HotIndex(), -1);
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(eight.Left + 10, eight.Top + 6));
  Pump();
  EXPECT_EQ(rig.pad->DownIndex(), -1);
  EXPECT_EQ(rig.clicks.size(), 1u);
  // Moving over an enabled key lights it.
  QTest::mouseMove(w, QPoint(seven.Left + 3, seven.Top + 3));
  Pump();
  EXPECT_EQ(rig.pad->HotIndex(), rig.IndexOf("BTN_7"));
}

TColor Mix(const QImage& img, int x, int y) { return PixelAt(img, x, y); }

bool Near(TColor a, TColor b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

TEST(Keypad, NormalHotPressedAndDisabledLooks) {
  KeypadRig rig;
  const Integer five = rig.IndexOf("BTN_5");
  const Integer two = rig.IndexOf("BTN_2");
  rig.pad->Buttons()->Items(rig.IndexOf("BTN_3"))->SetEnabled(false);
  QWidget* w = rig.pad->Widget();
  const TRect r5 = rig.RectOf("BTN_5");
  const TRect r2 = rig.RectOf("BTN_2");
  QTest::mouseMove(w, QPoint(r5.Left + 5, r5.Top + 5));
  Pump();
  ASSERT_EQ(rig.pad->HotIndex(), five);
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(r2.Left + 5, r2.Top + 5));
  Pump();
  ASSERT_EQ(rig.pad->DownIndex(), two);
  rig.pad->Invalidate();
  const QImage img = Grab(rig.pad);
  SaveShot(img.scaled(img.width() * 2, img.height() * 2), "dropdown_keypad.png");
  const TButtonAppearance* a = rig.pad->Appearance();
  // The outline of every key at its exact rectangle: left column, top row.
  for (const char* name : {"BTN_ON", "BTN_MC", "BTN_7", "BTN_9", "BTN_sqrt"}) {
    const TRect r = rig.RectOf(name);
    EXPECT_EQ(Mix(img, r.Left, r.Top + r.Height() / 2), TColor(0x000000)) << name;
    EXPECT_EQ(Mix(img, r.Left + r.Width() / 2, r.Top), TColor(0x000000)) << name;
    EXPECT_EQ(Mix(img, r.Right - 1, r.Top + r.Height() / 2), TColor(0x000000)) << name;
    EXPECT_EQ(Mix(img, r.Left + r.Width() / 2, r.Bottom - 2), TColor(0x000000)) << name;
    // Inside the outline, the inner frame colour down the left edge.
    EXPECT_EQ(Mix(img, r.Left + 1, r.Top + r.Height() / 2), TColor(0xE7E0C7)) << name;
    // One pixel outside the key (left of it): not the key's outline.
    EXPECT_FALSE(Near(Mix(img, r.Left - 1, r.Top + r.Height() / 2), 0x000000, 40)) << name;
  }
  // Lower halves: the last gradient row is nearest its state's end colour.
  auto distance = [](TColor p, TColor q) {
    int d = 0;
    for (int shift : {0, 8, 16}) d += std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
    return d;
  };
  auto nearest = [&](const TRect& r) {
    const TColor p = Mix(img, r.Left + 4, r.Bottom - 3);
    const TColor ends[3] = {a->ColorTo(), a->ColorHotTo(), a->ColorDownTo()};
    int best = 0;
    for (int i = 1; i < 3; ++i)
      if (distance(p, ends[i]) < distance(p, ends[best])) best = i;
    return best;
  };
  EXPECT_EQ(nearest(rig.RectOf("BTN_9")), 0);
  EXPECT_EQ(nearest(r5), 1);
  EXPECT_EQ(nearest(r2), 2);
  EXPECT_EQ(nearest(rig.RectOf("BTN_3")), 0);  // disabled keys keep the normal face
  // The hot and pressed keys glow around them; the normal one does not.
  auto outside = [&](const TRect& r) { return Mix(img, r.Left + r.Width() / 2, r.Bottom + 1); };
  EXPECT_FALSE(Near(outside(r5), 0xFFFFFF, 10));
  const TRect rOn = rig.RectOf("BTN_ON");
  EXPECT_TRUE(Near(Mix(img, rOn.Left - 4, rOn.Top + 10), 0xFFFFFF, 3));
  // The disabled key's caption is grey, a normal one's black.
  auto inkCount = [&](const TRect& r, TColor ink) {
    int n = 0;
    for (int y = r.Top + 4; y < r.Bottom - 4; ++y)
      for (int x = r.Left + 4; x < r.Right - 4; ++x) n += Near(Mix(img, x, y), ink, 40);
    return n;
  };
  EXPECT_GT(inkCount(rig.RectOf("BTN_3"), ColorToRGB(clGrayText)), 5);
  EXPECT_EQ(inkCount(rig.RectOf("BTN_3"), 0x000000), 0);
  EXPECT_GT(inkCount(rig.RectOf("BTN_6"), 0x000000), 5);
  // A special key writes in the special colour.
  EXPECT_GT(inkCount(rig.RectOf("BTN_MC"), a->SpecialTextColor()), 5);
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(r2.Left + 5, r2.Top + 5));
  Pump();
}

}  // namespace
}  // namespace dropdown
