// The time picker drop-down: the masked time text, Up and Down stepping
// the field under the caret, the grid's write-back of typed and set cell
// texts with and without seconds, and the pop-up's clock (and time picker)
// opened, changed and closed by real presses and keys.
#include <gtest/gtest.h>

#include <QWidget>
#include <QApplication>
#include <QTest>
#include <cmath>
#include <string>

#include "DropdownTestSupport.h"
#include "dropdown/LumTimePickerDropDown.h"
#include "rtl/DateTime.h"
#include "rtl/Locale.h"
#include "vcl/ExtCtrls.h"

namespace dropdown {
namespace {

using namespace ddtest;

rtl::TDateTime TimeOf(Word h, Word m, Word s = 0) { return rtl::EncodeTime(h, m, s, 0); }

struct PickerRig {
  TForm* form = MakeForm(400, 320);
  TLumTimePickerDropDown* drop = nullptr;
  TPanel* elsewhere = nullptr;
  int timeChanges = 0;
  PickerRig() {
    drop = new TLumTimePickerDropDown(form);
    drop->SetParent(form);
    drop->SetBounds(20, 20, 120, 22);
    drop->SetDropPosition(TDropPosition::dpDown);
    drop->SetAnimation(false);
    drop->OnTimeChange = [this](TObject*) { ++timeChanges; };
    elsewhere = new TPanel(form);
    elsewhere->SetParent(form);
    elsewhere->SetBounds(300, 260, 60, 40);
    Pump();
  }
  ~PickerRig() { Free(form); }
  void Open() {
    TDropDownEditButton* b = drop->DropDownButton();
    MouseDown(b, b->Width() / 2, b->Height() / 2);
    MouseUp(b, b->Width() / 2, b->Height() / 2);
    Pump();
  }
  void PressElsewhere() {
    QTest::mousePress(elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    Pump();
  }
  bool IsOpen() const { return drop->DroppedDown() && drop->DropDownForm()->Visible(); }
};

TEST(TimePicker, NewControlShowsMidnightAndTakesNoTyping) {
  PickerRig rig;
  EXPECT_EQ(rig.drop->Text(), "00:00:00");
  EXPECT_EQ(rig.drop->EditMask(), "!90:00:00;1; ");
  EXPECT_FALSE(rig.drop->EditorEnabled());
  rig.drop->SetFocus();
  Type(rig.drop, "12");
  EXPECT_EQ(rig.drop->Text(), "00:00:00");
  // The locale's separator.
  rtl::TFormatSettings dotted;
  dotted.TimeSeparator = '.';
  rtl::TFormatSettingsScope scope(dotted);
  PickerRig other;
  EXPECT_EQ(other.drop->Text(), "00.00.00");
  other.drop->SetTime(TimeOf(7, 8, 9));
  EXPECT_EQ(other.drop->Text(), "07.08.09");
}

TEST(TimePicker, UpAndDownStepTheFieldUnderTheCaret) {
  struct Case {
    int h, m, s;
    int caret;
    int qtKey;
    const char* after;
  };
  const Case cases[] = {
      {10, 0, 0, 4, Qt::Key_Up, "10:59:00"},    // minutes: Up lowers, wrapping
      {10, 59, 0, 4, Qt::Key_Down, "10:00:00"},  // Down raises, wrapping, the hour stays
      {0, 30, 0, 1, Qt::Key_Up, "23:30:00"},
      {23, 30, 0, 0, Qt::Key_Down, "00:30:00"},
      {8, 30, 0, 7, Qt::Key_Down, "08:30:01"},   // seconds
      {8, 30, 0, 7, Qt::Key_Up, "08:30:59"},
  };
  for (const Case& c : cases) {
    PickerRig rig;
    rig.drop->SetEditorEnabled(true);
    rig.drop->SetTime(TimeOf(c.h, c.m, c.s));
    rig.drop->SetFocus();
    rig.drop->SetSelStart(c.caret);
    Key(rig.drop, c.qtKey);
    EXPECT_EQ(rig.drop->Text(), c.after) << c.h << ":" << c.m << " caret " << c.caret;
    EXPECT_EQ(rig.drop->SelStart(), c.caret);
    EXPECT_EQ(rig.timeChanges, 1);
    EXPECT_FALSE(rig.IsOpen());
  }
  // Not editable, the keys step all the same; Alt+Down opens.
  PickerRig rig;
  rig.drop->SetTime(TimeOf(10, 0, 0));
  rig.drop->SetFocus();
  rig.drop->SetSelStart(4);
  Key(rig.drop, Qt::Key_Up);
  EXPECT_EQ(rig.drop->Text(), "10:59:00");
  Key(rig.drop, Qt::Key_Down, Qt::AltModifier);
  EXPECT_TRUE(rig.IsOpen());
}

TEST(TimePicker, ShowSecondsOffKeepsTheTimeAndWritesHoursAndMinutes) {
  PickerRig rig;
  rig.drop->SetTime(TimeOf(14, 25, 36));
  rig.drop->SetShowSeconds(false);
  EXPECT_EQ(rig.drop->Text(), "14:25");
  EXPECT_EQ(rig.drop->EditMask(), "!90:00;1; ");
  EXPECT_NEAR(rig.drop->Time(), TimeOf(14, 25, 36), 1e-9);
  rig.drop->SetShowSeconds(true);
  EXPECT_EQ(rig.drop->Text(), "14:25:36");
}

TEST(TimePicker, GridWriteBackOfTypedAndSetCellTexts) {
  struct Case {
    bool seconds;
    const char* cellText;  // written into the edit as the grid does
    const char* typed;     // then typed from the start, if anything
    int h, m, s;           // Time afterwards
  };
  const Case cases[] = {
      {true, "12:34:56", "", 12, 34, 56},
      {true, "12:34:56", "0930", 9, 30, 56},
      {true, "7:05:00", "", 7, 5, 0},     // one-digit hour laid out as " 7"
      {true, "25:10:00", "", 1, 2, 3},    // past 23: the time stays, nothing raised
      {true, "10:75:00", "", 1, 2, 3},
      {false, "18:45", "", 18, 45, 0},
      {false, "18:45", "2", 18, 45, 0},    // "28:45" refused as a whole, so 18 stays
      {false, "07:15", "0", 7, 15, 0},
  };
  for (const Case& c : cases) {
    PickerRig rig;
    rig.drop->SetShowSeconds(c.seconds);
    rig.drop->SetEditorEnabled(true);
    rig.drop->SetTime(TimeOf(1, 2, 3));
    rig.drop->SetText(c.cellText);
    if (*c.typed != 0) {
      rig.drop->SetFocus();
      rig.drop->SetSelStart(0);
      rig.drop->SetSelLength(0);
      Type(rig.drop, c.typed);
    }
    Word h, m, s, ms;
    rtl::DecodeTime(rig.drop->Time(), h, m, s, ms);
    EXPECT_EQ(h, c.h) << c.cellText << " typed " << c.typed;
    EXPECT_EQ(m, c.m) << c.cellText << " typed " << c.typed;
    EXPECT_EQ(s, c.s) << c.cellText << " typed " << c.typed;
  }
}

TEST(TimePicker, PopupClockTakesTheTimeAndAClickOutsideKeepsWhatWasSet) {
  PickerRig rig;
  rig.drop->SetTime(TimeOf(8, 15, 0));
  rig.Open();
  ASSERT_TRUE(rig.IsOpen());
  TLumWatch* w = rig.drop->Watch();
  ASSERT_NE(w, nullptr);
  EXPECT_NEAR(w->Time(), TimeOf(8, 15, 0), 1e-9);
  EXPECT_EQ(rig.drop->WatchPanel()->Height(), 170);
  EXPECT_EQ(rig.drop->DropDownForm()->Height(), 170 + 2 * rig.drop->DropDownBorderWidth());
  // A click at 3 o'clock inside the dial: the hour; the edit follows.
  const TPoint c = w->DialCenter();
  QTest::mouseClick(w->Widget(), Qt::LeftButton, {}, QPoint(c.X + 50, c.Y));
  Pump();
  EXPECT_EQ(rig.drop->Text(), "03:15:00");
  // Keys in the pop-up go to the clock: Page Up one hour on, End minute 0.
  Key(rig.drop->DropDownForm(), Qt::Key_PageUp);
  EXPECT_EQ(rig.drop->Text(), "04:15:00");
  Key(rig.drop->DropDownForm(), Qt::Key_End);
  EXPECT_EQ(rig.drop->Text(), "04:00:00");
  EXPECT_TRUE(rig.IsOpen());
  rig.PressElsewhere();
  EXPECT_FALSE(rig.IsOpen());
  EXPECT_EQ(rig.drop->Text(), "04:00:00");
  EXPECT_NEAR(rig.drop->Time(), TimeOf(4, 0, 0), 1e-9);
}

TEST(TimePicker, EscapeResetsTheClockToTheTime) {
  PickerRig rig;
  rig.drop->SetTime(TimeOf(8, 15, 0));
  rig.Open();
  TLumWatch* w = rig.drop->Watch();
  w->HandleKey(VK_PRIOR);
  EXPECT_EQ(rig.drop->Text(), "09:15:00");
  // The edit already took the clock's change; a cancel puts the clock back
  // to the time the control holds.
  Key(rig.drop->DropDownForm(), Qt::Key_Escape);
  EXPECT_FALSE(rig.IsOpen());
  EXPECT_NEAR(w->Time(), rig.drop->Time(), 1e-9);
}

TEST(TimePicker, WithTheTimePickerThePopupGrowsAndTheHandsUpdateIt) {
  ManualTime time;
  PickerRig rig;
  rig.drop->SetShowTimePicker(true);
  rig.drop->SetTime(TimeOf(6, 30, 0));
  rig.Open();
  ASSERT_TRUE(rig.IsOpen());
  vcl::TDateTimePicker* p = rig.drop->TimePicker();
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->Visible());
  EXPECT_EQ(rig.drop->WatchPanel()->Height(), 170 + p->Height());
  EXPECT_NEAR(p->Time(), TimeOf(6, 30, 0), 1e-9);
  EXPECT_EQ(p->Format(), "hh:nn:ss");
  rig.drop->Watch()->HandleKey(VK_RIGHT);
  EXPECT_NEAR(p->Time(), TimeOf(6, 31, 0), 1e-9);
  EXPECT_EQ(rig.timeChanges, 1);
  EXPECT_EQ(rig.drop->Text(), "06:31:00");
  // The picker moves the clock.
  p->SetTime(TimeOf(11, 5, 0));
  EXPECT_NEAR(rig.drop->Watch()->Time() - std::trunc(rig.drop->Watch()->Time()), TimeOf(11, 5, 0), 1e-9);
  // Escape where the focus is (the picker's field): it reaches the edit.
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  Pump();
  EXPECT_FALSE(rig.IsOpen());
  // Without the picker it hides again at the next drop-down.
  rig.drop->SetShowTimePicker(false);
  time.Advance(TLumCustomDropDown::ReopenGuardMs + 50);
  rig.Open();
  ASSERT_TRUE(rig.IsOpen());
  EXPECT_FALSE(p->Visible());
  // The pop-up keeps the size it was last shown in, as every drop-down.
  EXPECT_EQ(rig.drop->DropDownForm()->Height(), rig.drop->RememberedHeight());
}

TEST(TimePicker, StyleReachesTheClockAppearance) {
  PickerRig rig;
  rig.drop->SetComponentStyle(controls::tsOffice2003Olive);
  EXPECT_EQ(rig.drop->WatchAppearance()->BackgroundColor(), TColor(0xB9EAE1));
  EXPECT_EQ(rig.drop->WatchAppearance()->AMPMColor(), TColor(0x82C0AF));
  EXPECT_EQ(rig.drop->WatchAppearance()->HourPointerShadow(), TColor(0xFFFFFF));
  EXPECT_EQ(rig.drop->WatchAppearance()->CenterPointOuterBorderColor(), TColor(0x000000));
}

}  // namespace
}  // namespace dropdown
