// The analog clock: its geometry as tables, the hands set by real clicks
// and keys, the animation counted on the manual clock, the automatic mode,
// the AM/PM roll frames and the face's pixels against stored references.
#include <gtest/gtest.h>

#include <QWidget>
#include <QTest>
#include <cmath>
#include <string>

#include "DropdownTestSupport.h"
#include "dropdown/LumTimePickerDropDown.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"

namespace dropdown {
namespace {

using namespace ddtest;

rtl::TDateTime T(Word h, Word m, Word s = 0) { return rtl::EncodeDate(2026, 5, 4) + rtl::EncodeTime(h, m, s, 0); }

struct WatchRig {
  TForm* form = MakeForm(260, 220);
  TLumWatch* watch = nullptr;
  int changes = 0;
  explicit WatchRig(bool animation = false) {
    watch = new TLumWatch(form);
    watch->SetParent(form);
    watch->SetBounds(10, 10, 180, 180);
    watch->SetAnimation(animation);
    watch->OnChange = [this](TObject*) { ++changes; };
    Pump();
  }
  ~WatchRig() { Free(form); }
  Word Hour() const {
    Word h, m, s, ms;
    rtl::DecodeTime(watch->Time(), h, m, s, ms);
    return h;
  }
  Word Minute() const {
    Word h, m, s, ms;
    rtl::DecodeTime(watch->Time(), h, m, s, ms);
    return m;
  }
  void Click(int x, int y) {
    QTest::mouseClick(watch->Widget(), Qt::LeftButton, {}, QPoint(x, y));
    Pump();
  }
};

TEST(Watch, GeometryOfThe180PixelControl) {
  WatchRig rig;
  TLumWatch* w = rig.watch;
  EXPECT_EQ(w->DialRect(), (TRect{10, 10, 170, 170}));
  EXPECT_EQ(w->DialCenter(), (TPoint{90, 90}));
  EXPECT_EQ(w->DialRadius(), 80);
  EXPECT_EQ(w->InnerRadius(), 78);
  EXPECT_NEAR(w->HourMarkInnerRadius(), 70.2, 1e-9);
  EXPECT_NEAR(w->MinuteMarkInnerRadius(), 74.1, 1e-9);
  EXPECT_DOUBLE_EQ(w->NumberRingRadius(), 56);
  w->Appearance()->SetHourMarkLength(12);
  w->Appearance()->SetMinuteMarkLength(5);
  EXPECT_DOUBLE_EQ(w->HourMarkInnerRadius(), 66);
  EXPECT_DOUBLE_EQ(w->MinuteMarkInnerRadius(), 73);
  EXPECT_DOUBLE_EQ(w->NumberRingRadius(), 78 - 24 - 2);
  // A set size larger than the control is cut to it; a smaller one is centred.
  w->Appearance()->SetSize(100);
  EXPECT_EQ(w->DialRect(), (TRect{40, 40, 140, 140}));
  w->Appearance()->SetSize(400);
  EXPECT_EQ(w->DialRect(), (TRect{0, 0, 180, 180}));
  // The AM/PM box: "AM" measured in its font, 8 wider, a third of the way
  // from the centre to the bottom less its height.
  w->Appearance()->SetSize(0);
  const TRect box = w->AMPMRect();
  EXPECT_EQ(box.Width() % 2 == 0 ? box.Left + box.Width() / 2 : box.Left + box.Width() / 2, 90);
  EXPECT_EQ(box.Top, 90 + static_cast<int>(std::nearbyint((80.0 - box.Height()) / 3)));
  EXPECT_GT(box.Height(), 8);
  w->SetShowAMPM(false);
  EXPECT_EQ(w->AMPMRect(), (TRect{-1, -1, -1, -1}));
}

TEST(Watch, MinuteAndHourAtThePoints) {
  WatchRig rig;
  TLumWatch* w = rig.watch;
  struct Case {
    int x, y, minute, hourAM, hourPM;
  };
  const Case cases[] = {
      {170, 90, 15, 3, 15},   // straight right
      {90, 170, 30, 6, 18},   // straight below
      {10, 90, 45, 9, 21},    // straight left
      {91, 10, 0, 0, 12},     // straight up, just right
      {89, 10, 0, 0, 12},     // just left of twelve: 45 + 15 is outside, so 0
      {80, 12, 59, 0, 12},    // further left (82.7 degrees): minute 59, twelve o'clock all the same
      {175, 175, 23, 5, 17},  // the lower right corner: 45 degrees, 7.5 rounds to 8
      {150, 40, 8, 2, 14},    // upper right: 39.8 degrees
      {40, 150, 37, 7, 19},   // lower left: 50.2 degrees
      {30, 60, 49, 10, 22},   // upper left: 26.6 degrees
  };
  for (const Case& c : cases) {
    EXPECT_EQ(w->MinuteAt(c.x, c.y), c.minute) << c.x << "," << c.y;
    w->SetTime(T(1, 0));
    EXPECT_EQ(w->HourAt(c.x, c.y), c.hourAM) << c.x << "," << c.y;
    w->SetTime(T(13, 0));
    EXPECT_EQ(w->HourAt(c.x, c.y), c.hourPM) << c.x << "," << c.y;
  }
}

TEST(Watch, ClicksSetTheHourTheMinuteAndSwitchTheHalfOfTheDay) {
  WatchRig rig;
  rig.watch->SetTime(T(8, 10));
  // Inside the dial at 3 o'clock: the hour.
  rig.Click(150, 90);
  EXPECT_EQ(rig.Hour(), 3);
  EXPECT_EQ(rig.changes, 1);
  // The AM/PM box: the afternoon's hour.
  const TRect box = rig.watch->AMPMRect();
  rig.Click(box.Left + 3, box.Top + 3);
  EXPECT_EQ(rig.Hour(), 15);
  EXPECT_FALSE(rig.watch->IsAM());
  EXPECT_EQ(rig.changes, 2);
  // A corner outside the dial: the minute (lower right: 15 to 30).
  rig.Click(176, 176);
  EXPECT_EQ(rig.Minute(), 23);
  EXPECT_EQ(rig.Hour(), 15);
  EXPECT_EQ(rig.changes, 3);
  // Straight right of the centre in the afternoon: 15 again, nothing changes.
  rig.Click(150, 90);
  EXPECT_EQ(rig.changes, 3);
  // In automatic mode clicks do nothing.
  rig.watch->Settings()->SetAuto(true);
  const rtl::TDateTime shown = rig.watch->Time();
  rig.Click(40, 90);
  EXPECT_EQ(rig.watch->Time(), shown);
  rig.watch->Settings()->SetAuto(false);
}

TEST(Watch, MinuteZeroFromPastTheHalfAdvancesTheHour) {
  for (bool animated : {false, true}) {
    ManualTime time;
    WatchRig rig(animated);
    rig.watch->SetTime(T(10, 45));
    rig.watch->SetMinute(0);
    time.Advance(200);
    EXPECT_EQ(rig.Hour(), 11) << animated;
    EXPECT_EQ(rig.Minute(), 0) << animated;
    EXPECT_EQ(rig.changes, 1) << animated;
    rig.watch->SetTime(T(10, 10));
    rig.watch->SetMinute(0);
    time.Advance(200);
    EXPECT_EQ(rig.Hour(), 10) << animated;
    EXPECT_EQ(rig.Minute(), 0) << animated;
    EXPECT_EQ(rig.changes, 2) << animated;
    // 23:50 to minute 0 goes round to midnight.
    rig.watch->SetTime(T(23, 50));
    rig.watch->SetMinute(0);
    time.Advance(200);
    EXPECT_EQ(rig.Hour(), 0) << animated;
  }
  WatchRig rig;
  EXPECT_THROW(rig.watch->SetMinute(60), rtl::Exception);
  try {
    rig.watch->SetMinute(75);
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid time");
  }
}

TEST(Watch, AnimationStepsOnTheManualClock) {
  struct Case {
    int factor;
    bool hour;
    int from, to;
    int redraws;  // hand redraws until arrival
  };
  const Case cases[] = {
      {1, false, 10, 20, 1},   // one step of the whole distance
      {0, false, 10, 20, 1},   // 0 is stored as 1
      {-5, false, 10, 20, 1},  // so is a negative factor
      {10, false, 10, 20, 10},  // 11, 12, ..., 19 one at a time, then 20
      {10, false, 50, 0, 10},   // through the hour: 51 .. 59, then 0
      {10, true, 2, 9, 7},      // hours: 3 .. 8, then 9
      {2, true, 1, 21, 5},      // + 10 = 11, + 5 = 16, + 2 (2.5 to even) = 18, + 2 = 20, then 21
  };
  for (const Case& c : cases) {
    ManualTime time;
    WatchRig rig(true);
    rig.watch->SetAnimationFactor(c.factor);
    EXPECT_GE(rig.watch->AnimationFactor(), 1);
    rig.watch->SetTime(c.hour ? T(c.from, 30) : T(14, c.from));
    Pump();
    const int before = rig.watch->HandRedraws();
    if (c.hour)
      rig.watch->SetHour(c.to);
    else
      rig.watch->SetMinute(c.to);
    EXPECT_TRUE(rig.watch->Animating());
    time.Advance(500);
    EXPECT_FALSE(rig.watch->Animating());
    if (c.hour)
      EXPECT_EQ(rig.Hour(), c.to);
    else
      EXPECT_EQ(rig.Minute(), c.to);
    EXPECT_EQ(rig.watch->HandRedraws() - before, c.redraws) << c.factor << " " << c.from << "->" << c.to;
    EXPECT_EQ(rig.changes, 1) << "OnChange on arrival only";
  }
}

TEST(Watch, KeysSetTheHourAndTheMinute) {
  struct Case {
    int h, m;
    Word key;
    int hAfter, mAfter;
  };
  const Case cases[] = {
      {14, 20, 0x41, 2, 20},      {9, 20, 0x41, 9, 20},     {9, 20, 0x50, 21, 20},  {21, 20, 0x50, 21, 20},
      {10, 20, VK_PRIOR, 11, 20}, {23, 20, VK_PRIOR, 0, 20}, {10, 20, VK_NEXT, 9, 20}, {0, 20, VK_NEXT, 23, 20},
      {17, 20, VK_HOME, 12, 20},  {10, 20, VK_LEFT, 10, 19}, {10, 0, VK_LEFT, 9, 59},  {0, 0, VK_LEFT, 23, 59},
      {10, 20, VK_RIGHT, 10, 21}, {10, 59, VK_RIGHT, 11, 0}, {10, 40, VK_END, 11, 0},  {10, 20, VK_END, 10, 0},
  };
  for (const Case& c : cases) {
    WatchRig rig;
    rig.watch->SetTime(T(c.h, c.m));
    rig.watch->HandleKey(c.key);
    EXPECT_EQ(rig.Hour(), c.hAfter) << c.h << ":" << c.m << " key " << c.key;
    EXPECT_EQ(rig.Minute(), c.mAfter) << c.h << ":" << c.m << " key " << c.key;
  }
}

TEST(Watch, AutomaticModeShowsTheOffsetTimeAndRefreshesTenTimesASecond) {
  ManualTime time;
  WatchRig rig;
  rig.watch->Settings()->SetTimeOffset(60);
  rig.watch->Settings()->SetAuto(true);
  Pump();
  const double shown = rig.watch->CurrentTime();
  const double expected = rtl::Now() + 60.0 / 1440;
  EXPECT_NEAR(shown, expected, 2.0 / 86400);
  const int before = rig.watch->HandRedraws();
  time.Advance(1000);
  EXPECT_EQ(rig.watch->HandRedraws() - before, 10);
  // Keys do nothing in automatic mode.
  const rtl::TDateTime t = rig.watch->Time();
  rig.watch->HandleKey(VK_PRIOR);
  EXPECT_EQ(rig.watch->Time(), t);
  rig.watch->Settings()->SetAuto(false);
  time.Advance(1000);
  EXPECT_EQ(rig.watch->HandRedraws() - before, 10);
}

TEST(Watch, TheAMPMBoxRollsOnTimerStepsWhileInputStaysLive) {
  ManualTime time;
  WatchRig rig(true);
  rig.watch->SetTime(T(9, 0));
  Pump();
  const int faces = rig.watch->FacePaints();
  const TRect box = rig.watch->AMPMRect();
  rig.Click(box.Left + 3, box.Top + 3);
  EXPECT_TRUE(rig.watch->Rolling());
  EXPECT_EQ(rig.Hour(), 21);
  time.Advance(30);
  EXPECT_TRUE(rig.watch->Rolling());
  time.Advance(500);
  EXPECT_FALSE(rig.watch->Rolling());
  // One frame a pixel of the box's inside height, then the whole face.
  EXPECT_EQ(rig.watch->RollFrames(), box.Height() - 2);
  EXPECT_GT(rig.watch->FacePaints(), faces);
  EXPECT_FALSE(rig.watch->IsAM());
}

}  // namespace
}  // namespace dropdown
