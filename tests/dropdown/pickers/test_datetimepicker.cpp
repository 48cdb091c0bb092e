// The date and time pickers of the cell editors: the grid's write-backs
// through DateTime, the kind switch that frees and makes the time
// companion, AutoTab with real typed digits, and the flat border's pixels.
#include <gtest/gtest.h>

#include <QWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QTest>
#include <cmath>

#include "DropdownTestSupport.h"
#include "dropdown/LumDateTimePicker.h"
#include "rtl/DateTime.h"
#include "rtl/Locale.h"
#include "rtl/SystemInfo.h"
#include "vcl/ExtCtrls.h"
#include "vcl/RegisteredMessages.h"

namespace dropdown {
namespace {

using namespace ddtest;

rtl::TDateTime At(Word y, Word mo, Word d, Word h, Word mi, Word s, Word ms = 0) {
  return rtl::EncodeDate(y, mo, d) + rtl::EncodeTime(h, mi, s, ms);
}

TEST(DateTimePicker, GridWriteBackDropsMillisecondsAndJoinsTheCompanionsTime) {
  TForm* form = MakeForm(400, 120);
  auto* p = new TLumDateTimePicker(form);
  p->SetParent(form);
  p->SetBounds(10, 10, 260, 24);
  p->SetKind(dkDateTime);
  p->SetDateTime(At(2026, 3, 14, 9, 26, 53, 250));
  Pump();
  ASSERT_NE(p->TimeCompanion(), nullptr);
  EXPECT_DOUBLE_EQ(p->DateTime(), At(2026, 3, 14, 9, 26, 53));
  EXPECT_DOUBLE_EQ(p->TimeCompanion()->DateTime(), At(2026, 3, 14, 9, 26, 53));
  // The time edited in the companion is the time read back.
  p->TimeCompanion()->vcl::TDateTimePicker::SetTime(rtl::EncodeTime(17, 5, 0, 0));
  EXPECT_DOUBLE_EQ(p->DateTime(), At(2026, 3, 14, 17, 5, 0));
  EXPECT_NEAR(p->Time(), rtl::EncodeTime(17, 5, 0, 0), 1e-9);
  EXPECT_EQ(p->Version(), "1.0.3.0");
  p->SetVersion("9.9");
  EXPECT_EQ(p->Version(), "1.0.3.0");
  Free(form);
}

TEST(DateTimePicker, KindSwitchFreesAndRemakesTheCompanionPlacedInsideTheRightEnd) {
  TForm* form = MakeForm(400, 120);
  auto* p = new TLumDateTimePicker(form);
  p->SetParent(form);
  p->SetBounds(10, 10, 260, 24);
  p->SetDateTime(At(2026, 1, 2, 3, 4, 5));
  p->SetTimeFormat("hh:nn:ss");
  Pump();
  TCustomDateTimePicker* first = p->TimeCompanion();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->Visible());
  EXPECT_EQ(first->Parent(), p);
  // Inside the right end: 34 pixels left of the edge (version 6 common
  // controls), one pixel down, two less than the height.
  EXPECT_EQ(first->Left() + first->Width(), p->Width() - 34);
  EXPECT_EQ(first->Top(), 1);
  EXPECT_EQ(first->Height(), p->Height() - 2);
  EXPECT_EQ(first->Text(), "03:04:05");
  int changes = 0;
  p->OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, p);
    ++changes;
  };
  first->vcl::TDateTimePicker::SetTime(rtl::EncodeTime(4, 0, 0, 0));
  EXPECT_EQ(changes, 1);

  p->SetKind(dkDate);
  EXPECT_EQ(p->TimeCompanion(), nullptr);
  EXPECT_EQ(p->vcl::TDateTimePicker::Kind(), vcl::dtkDate);
  p->SetKind(dkTime);
  EXPECT_EQ(p->TimeCompanion(), nullptr);
  EXPECT_EQ(p->vcl::TDateTimePicker::Kind(), vcl::dtkTime);
  p->SetKind(dkDateTime);
  ASSERT_NE(p->TimeCompanion(), nullptr);
  EXPECT_TRUE(p->TimeCompanion()->Visible());
  EXPECT_EQ(p->vcl::TDateTimePicker::Kind(), vcl::dtkDate);
  // A companion made later starts without AutoTab; a set AutoTab reaches it.
  p->SetAutoTab(true);
  EXPECT_TRUE(p->TimeCompanion()->AutoTab());
  Free(form);
}

// A digit typed into the picker's field as the keyboard gives it; the
// posted auto-tab messages are handled before it answers.
void TypeDigit(vcl::TDateTimePicker* p, char digit) {
  auto* edit = p->Widget()->findChild<QDateTimeEdit*>("field");
  ASSERT_NE(edit, nullptr);
  const int key = Qt::Key_0 + (digit - '0');
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(digit)));
  QCoreApplication::sendEvent(edit, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(QChar(digit)));
  QCoreApplication::sendEvent(edit, &release);
  Pump();
}

void SelectField(vcl::TDateTimePicker* p, int field) {
  auto* edit = p->Widget()->findChild<QDateTimeEdit*>("field");
  edit->setFocus();
  edit->setCurrentSectionIndex(field);
  edit->setSelectedSection(edit->sectionAt(field));
}

struct AutoTabCase {
  const char* typed;    // digits typed one after another into the field
  int startField;       // the field selected before typing
  int fieldAfterEach[4];
  const char* textAfter;
};

TEST(DateTimePicker, AutoTabMovesOnlyAfterADigitThatChangedTheTime) {
  // A two-digit field takes its value with the second digit; only a
  // changed value moves the caret to the next field.
  const AutoTabCase cases[] = {
      {"10", 0, {0, 0}, "10:20:30"},        // the hour typed as it was
      {"09", 0, {0, 1}, "09:20:30"},        // the hour changed
      {"20", 1, {1, 1}, "10:20:30"},        // the minute as it was
      {"45", 1, {1, 2}, "10:45:30"},        // the minute changed
      {"30", 2, {2, 2}, "10:20:30"},        // the second as it was
      {"41", 2, {2, 2}, "10:20:41"},        // changed in the last field: nowhere to go
      {"0945", 0, {0, 1, 1, 2}, "09:45:30"},  // hour, then minute
  };
  for (const AutoTabCase& c : cases) {
    TForm* form = MakeForm(300, 80);
    auto* p = new TCustomDateTimePicker(form);
    p->SetParent(form);
    p->SetBounds(10, 10, 160, 24);
    p->SetKind(vcl::dtkTime);
    p->SetFormat("hh:nn:ss");
    p->SetDateTime(At(2026, 1, 2, 10, 20, 30));
    p->SetAutoTab(true);
    Pump();
    p->SetFocus();
    SelectField(p, c.startField);
    Pump();
    for (size_t i = 0; c.typed[i] != 0; ++i) {
      TypeDigit(p, c.typed[i]);
      EXPECT_EQ(p->CurrentField(), c.fieldAfterEach[i]) << c.typed << " after digit " << i;
    }
    EXPECT_EQ(p->Text(), c.textAfter) << c.typed;
    Free(form);
  }
}

TEST(DateTimePicker, AutoTabWithoutItTheCaretStays) {
  TForm* form = MakeForm(300, 80);
  auto* p = new TCustomDateTimePicker(form);
  p->SetParent(form);
  p->SetBounds(10, 10, 160, 24);
  p->SetKind(vcl::dtkTime);
  p->SetFormat("hh:nn:ss");
  p->SetDateTime(At(2026, 1, 2, 10, 20, 30));
  Pump();
  p->SetFocus();
  SelectField(p, 0);
  TypeDigit(p, '0');
  TypeDigit(p, '9');
  EXPECT_EQ(p->Text(), "09:20:30");
  EXPECT_EQ(p->CurrentField(), 0);
  Free(form);
}

struct DateAutoTabCase {
  const char* format;
  const char* typed;
  int fieldAfter;         // the date field the caret is in afterwards
  bool companionFocused;  // the year moved the focus on to the time
};

TEST(DateTimePicker, AutoTabOfTheDateMovesOnAndTheYearGoesToTheCompanion) {
  const DateAutoTabCase cases[] = {
      {"dd.MM.yyyy", "14", 1, false},      // the day changed: next field
      {"dd.MM.yyyy", "02", 0, false},      // the day as it was
      {"dd.MM.yyyy", "1405", 2, false},    // day, then month
      {"dd.MM.yyyy", "14052027", 2, true},  // the year ends the format
      {"dd.MM.yyyy", "14052026", 2, false},  // the same year moves nothing
      {"", "14052027", 2, true},           // the locale's order, without a format
  };
  for (const DateAutoTabCase& c : cases) {
    rtl::TFormatSettings german;
    german.ShortDateFormat = "dd/mm/yyyy";
    german.DateSeparator = '.';
    rtl::TFormatSettingsScope scope(german);
    TForm* form = MakeForm(400, 80);
    auto* d = new TLumDateTimePicker(form);
    d->SetParent(form);
    d->SetBounds(10, 10, 260, 24);
    d->SetFormat(c.format);
    d->SetDateTime(At(2026, 1, 2, 10, 20, 30));
    d->SetAutoTab(true);
    Pump();
    ASSERT_NE(d->TimeCompanion(), nullptr);
    d->SetFocus();
    SelectField(d, 0);
    Pump();
    for (size_t i = 0; c.typed[i] != 0; ++i) TypeDigit(d, c.typed[i]);
    EXPECT_EQ(d->CurrentField(), c.fieldAfter) << c.format << " " << c.typed;
    EXPECT_EQ(d->TimeCompanion()->Focused(), c.companionFocused) << c.format << " " << c.typed;
    // The time was never touched.
    EXPECT_NEAR(d->Time(), rtl::EncodeTime(10, 20, 30, 0), 1e-9);
    Free(form);
  }
}

TEST(DateTimePicker, CompanionKeysReachTheControlsKeyDownAndItsKeyPressGoesNowhere) {
  TForm* form = MakeForm(400, 80);
  auto* d = new TLumDateTimePicker(form);
  d->SetParent(form);
  d->SetBounds(10, 10, 260, 24);
  d->SetDateTime(At(2026, 1, 2, 10, 20, 30));
  Pump();
  std::vector<Word> downs;
  int presses = 0;
  d->OnKeyDown = [&](TObject* sender, Word& key, TShiftState) {
    EXPECT_EQ(sender, d);
    downs.push_back(key);
  };
  d->OnKeyPress = [&](TObject*, WideChar&) { ++presses; };
  TCustomDateTimePicker* c = d->TimeCompanion();
  ASSERT_NE(c, nullptr);
  c->SetFocus();
  SelectField(c, 0);
  TypeDigit(c, '1');
  EXPECT_EQ(downs, std::vector<Word>{Word('1')});
  EXPECT_EQ(presses, 0);
  Free(form);
}

TEST(DateTimePicker, FlatBorderColoursOverTheNativeField) {
  TForm* form = MakeForm(300, 140);
  form->SetColor(0x40A060);
  struct Case {
    TBorderStyle style;
    bool ctl3D;
    TColor outer;
    TColor innerLeft;
  };
  const Case cases[] = {
      {bsNone, false, 0x40A060, 0x40A060},   // invisible against the parent
      {bsSingle, false, 0xB99D7F, 0x40A060},  // version-6 frame, inner line in the parent's colour
  };
  int y = 10;
  std::vector<TCustomDateTimePicker*> pickers;
  for (const Case& c : cases) {
    auto* p = new TCustomDateTimePicker(form);
    p->SetParent(form);
    p->SetBounds(10, y, 180, 24);
    p->SetBorderStyle(c.style);
    p->SetCtl3D(c.ctl3D);
    p->SetDateTime(At(2026, 7, 1, 0, 0, 0));
    pickers.push_back(p);
    y += 40;
  }
  Pump();
  for (size_t i = 0; i < pickers.size(); ++i) {
    TCustomDateTimePicker* p = pickers[i];
    const QImage img = Grab(p);
    const int w = img.width(), h = img.height();
    EXPECT_EQ(p->FlatEdgeColor(), cases[i].outer);
    for (auto [x, yy] : {std::pair{0, h / 2}, std::pair{w / 2, 0}, std::pair{w - 1, h / 2}, std::pair{w / 2, h - 1}})
      EXPECT_EQ(PixelAt(img, x, yy), cases[i].outer) << i << " at " << x << "," << yy;
    EXPECT_EQ(PixelAt(img, 1, h / 2), cases[i].innerLeft) << i;
    EXPECT_EQ(PixelAt(img, w / 2, 1), cases[i].innerLeft) << i;
  }
  QImage whole = form->Widget()->grab().toImage();
  SaveShot(whole, "dropdown_datetimepicker_flat.png");
  // With Ctl3D on nothing is drawn over the native frame.
  pickers[1]->SetCtl3D(true);
  Pump();
  EXPECT_NE(PixelAt(Grab(pickers[1]), 0, 12), TColor(0xB99D7F));
  Free(form);
}

TEST(DateTimePicker, WithTheCheckBoxTheCalendarStillFiresDropDownAndCloseUp) {
  TForm* form = MakeForm(300, 80);
  auto* d = new TLumDateTimePicker(form);
  d->SetParent(form);
  d->SetBounds(10, 10, 260, 24);
  d->SetKind(dkDate);
  d->SetShowCheckbox(true);
  d->SetChecked(false);
  Pump();
  std::vector<std::string> log;
  d->OnDropDown = [&](TObject*) { log.push_back("drop"); };
  d->OnCloseUp = [&](TObject*) { log.push_back("up"); };
  d->OnChange = [&](TObject*) { log.push_back("change"); };
  d->DropDown();
  Pump();
  EXPECT_TRUE(d->DroppedDown());
  d->PickCalendarDate(rtl::EncodeDate(2026, 2, 3));
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"drop", "change", "up"}));
  EXPECT_FALSE(d->Checked());
  // Ticking the box by hand is a change.
  auto* box = d->Widget()->findChild<QCheckBox*>("check");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  box->click();
  Pump();
  EXPECT_TRUE(d->Checked());
  EXPECT_EQ(log.back(), "change");
  Free(form);
}

TEST(DateTimePicker, VersionAnswersOfTheCommonControlsAndTheRegisteredMessage) {
  EXPECT_EQ(FileVersionMS("COMCTL32.DLL"), (6 << 16) | 10);
  EXPECT_EQ(FileVersionMS("no-such-library.dll"), -1);
  EXPECT_TRUE(HasCommonControls6());
  EXPECT_GE(ShiftFocusMessage(), 0xC000u);
  EXPECT_EQ(ShiftFocusMessage(), vcl::RegisterWindowMessage("dtpshiftfocus"));
  EXPECT_NE(ShiftFocusMessage(), vcl::RegisterWindowMessage("DTPShiftFocus2"));
  EXPECT_EQ(vcl::RegisterWindowMessage(""), 0u);
}

}  // namespace
}  // namespace dropdown
