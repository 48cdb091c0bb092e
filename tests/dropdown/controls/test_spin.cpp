// The spin edit: which characters it takes, how each type steps, its limits,
// its arrow buttons and their auto-repeat, and the way the tag-parameter
// grid configures it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QTest>
#include <QWidget>

#include "DropdownTestSupport.h"
#include "dropdown/VoeSpin.h"
#include "rtl/DateTime.h"
#include "rtl/Locale.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Resources.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

rtl::TFormatSettings CommaLocale() {
  rtl::TFormatSettings fs;
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = '.';
  fs.DateSeparator = '.';
  fs.ShortDateFormat = "dd.MM.yyyy";
  fs.LongTimeFormat = "hh:mm:ss";
  return fs;
}

rtl::TFormatSettings SeparatorsAlike() {
  // A locale whose time separator is its decimal separator.
  rtl::TFormatSettings fs;
  fs.TimeSeparator = '.';
  return fs;
}

class SpinEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm();
    spin = new TVoeSpinEdit(form);
    spin->SetParent(form);
    spin->SetBounds(10, 10, 120, 24);
    Pump();
  }
  void TearDown() override { Free(form); }
  void Put(const char* text, Integer selStart, Integer selLength = 0) {
    spin->SetText(text);
    spin->SetSelStart(selStart);
    spin->SetSelLength(selLength);
  }
  TForm* form = nullptr;
  TVoeSpinEdit* spin = nullptr;
};

TEST_F(SpinEdit, StartsAsThePartSays) {
  EXPECT_EQ(spin->Text(), "0");
  EXPECT_EQ(spin->SpinType(), sptNormal);
  EXPECT_EQ(spin->MaxValue(), 100);
  EXPECT_EQ(spin->MinValue(), 0);
  EXPECT_DOUBLE_EQ(spin->IncrementFloat(), 0.1);
  EXPECT_TRUE(spin->EditorEnabled());
  EXPECT_TRUE(spin->ShowSeconds());
  EXPECT_EQ(spin->Button()->Width(), 15);
  EXPECT_FALSE(spin->ControlStyle().Contains(csSetCaption));
}

TEST_F(SpinEdit, AcceptsCharFollowsTheNineRulesInOrder) {
  struct Case {
    int locale;  // 0 en-US, 1 comma, 2 time separator = decimal separator
    TVoeSpinType type;
    Integer precision;
    bool editor;
    const char* text;
    Integer selStart, selLength;
    char16_t key;
    bool accepted;
    const char* why;
  } cases[] = {
      {0, sptNormal, 0, true, "12", 2, 0, 8, true, "backspace while editable"},
      {0, sptNormal, 0, false, "12", 2, 0, 8, false, "backspace while not editable"},
      {0, sptFloat, 0, true, "12", 2, 0, u'a', false, "a letter"},
      {0, sptFloat, 0, true, "12", 2, 0, 13, false, "Enter is no control character here"},
      {0, sptFloat, 0, true, "12", 2, 0, 27, true, "Escape in a float edit"},
      {0, sptNormal, 0, true, "12", 2, 0, 27, false, "Escape in an integer edit"},
      {0, sptNormal, 0, true, "12", 2, 0, u'7', true, "a digit"},
      {0, sptNormal, 0, true, "12", 2, 0, u':', false, "time separator in an integer edit"},
      {0, sptTime, 0, true, "12", 2, 0, u':', true, "time separator in a time edit"},
      {0, sptNormal, 0, true, "12", 2, 0, u'/', false, "date separator in an integer edit"},
      {0, sptDate, 0, true, "12", 2, 0, u'/', true, "date separator in a date edit"},
      {2, sptFloat, 0, true, "12", 2, 0, u'.', true, "time separator equal to the decimal separator"},
      {2, sptDate, 0, true, "12", 2, 0, u'.', false, "that separator in a date edit"},
      {0, sptNormal, 0, true, "-12", 0, 0, u'-', false, "a second minus"},
      {0, sptNormal, 0, true, "-12", 0, 1, u'-', true, "a minus over the selected minus"},
      {0, sptNormal, 0, true, "12", 1, 0, u'-', false, "a minus not at the start"},
      {0, sptNormal, 0, true, "12", 0, 0, u'-', true, "a minus at the start"},
      {0, sptNormal, 0, true, "12", 2, 0, u'.', false, "a decimal separator in an integer edit"},
      {0, sptFloat, 0, true, "12", 2, 0, u',', false, "the thousand separator"},
      {0, sptFloat, 0, true, "1.2", 3, 0, u'.', false, "a second decimal separator"},
      {0, sptFloat, 0, true, "1.2", 1, 1, u'.', true, "a separator over the selected one"},
      {0, sptFloat, 2, true, "1.25", 4, 0, u'3', false, "a third decimal"},
      {0, sptFloat, 2, true, "1.25", 3, 1, u'3', true, "a decimal over the selected one"},
      {0, sptFloat, 2, true, "1.25", 1, 0, u'3', true, "a digit before the separator"},
      {0, sptFloat, 2, true, "1.2", 3, 0, u'3', true, "the second decimal"},
      {1, sptFloat, 0, true, "12", 2, 0, u',', true, "the comma locale's decimal separator"},
      {1, sptFloat, 0, true, "12", 2, 0, u'.', false, "the comma locale's thousand separator"},
      {0, sptTime, 0, true, "1:2:3", 5, 0, u':', false, "a third time separator"},
      {0, sptTime, 0, true, "1:2", 3, 0, u':', true, "the second time separator"},
      {0, sptNormal, 0, false, "12", 2, 0, u'5', false, "a digit while not editable"},
      {0, sptFloat, 0, false, "12", 2, 0, 3, true, "a control character while not editable"},
  };
  for (const auto& c : cases) {
    rtl::TFormatSettings fs = c.locale == 1 ? CommaLocale() : c.locale == 2 ? SeparatorsAlike() : rtl::TFormatSettings{};
    rtl::TFormatSettingsScope scope(fs);
    spin->SetEditorEnabled(c.editor);
    spin->SetMinValue(0), spin->SetMaxValue(0);
    spin->SetMinFloatValue(0), spin->SetMaxFloatValue(0);
    spin->SetPrecision(0);
    spin->SetSpinType(c.type);
    spin->SetPrecision(c.precision);
    Put(c.text, c.selStart, c.selLength);
    WideChar key = c.key;
    EXPECT_EQ(spin->AcceptsChar(key), c.accepted) << c.why;
  }
}

TEST_F(SpinEdit, RefusedCharactersBeepAndStayOut) {
  spin->SetFocus();
  Pump();
  BeepRecorder beeps;
  Put("12", 2);
  Type(spin, "3a.");
  EXPECT_EQ(spin->Text(), "123");
  EXPECT_EQ(beeps.count, 2);
}

TEST_F(SpinEdit, IntegerAndFloatSteps) {
  spin->SetText("5");
  spin->StepUp(false);
  EXPECT_EQ(spin->Text(), "6");
  spin->SetIncrement(50);
  spin->StepUp(true);
  EXPECT_EQ(spin->Text(), "56");
  spin->StepUp(false);
  EXPECT_EQ(spin->Text(), "100");  // clamped
  spin->SetMinValue(0), spin->SetMaxValue(0);
  spin->StepUp(false);
  EXPECT_EQ(spin->Text(), "150");  // equal limits switch clamping off

  spin->SetMaxFloatValue(100);
  spin->SetSpinType(sptFloat);
  spin->SetText("0.1");
  spin->SetIncrementFloat(0.2);
  spin->StepUp(false);
  EXPECT_EQ(spin->Text(), "0.3");  // 15 significant digits
  spin->SetPrecision(2);
  spin->SetIncrementFloat(0.37);
  spin->SetText("1.25");
  spin->StepUp(true);  // Page Up's step is exactly 1.0
  EXPECT_EQ(spin->Text(), "2.25");
  spin->StepDown(false);
  EXPECT_EQ(spin->Text(), "1.88");
}

TEST_F(SpinEdit, PageAndArrowKeysStepWithoutReachingKeyDown) {
  spin->SetFocus();
  Pump();
  int keyDowns = 0;
  spin->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++keyDowns; };
  spin->SetSpinType(sptFloat);
  spin->SetPrecision(1);
  spin->SetText("2.0");
  Key(spin, Qt::Key_PageUp);
  EXPECT_EQ(spin->Text(), "3.0");
  Key(spin, Qt::Key_Down);
  EXPECT_EQ(spin->Text(), "2.9");
  Key(spin, Qt::Key_PageDown);
  Key(spin, Qt::Key_Up);
  EXPECT_EQ(spin->Text(), "2.0");
  EXPECT_EQ(keyDowns, 0);
  Key(spin, Qt::Key_Home);
  EXPECT_EQ(keyDowns, 1);
}

TEST_F(SpinEdit, DateStepsTheFieldUnderTheCaret) {
  rtl::TFormatSettings yearFirst;
  yearFirst.DateSeparator = '-';
  yearFirst.ShortDateFormat = "yyyy-MM-dd";
  struct Case {
    int locale;  // 0 month first (M/d/yyyy), 1 day first (dd.MM.yyyy), 2 year first (yyyy-MM-dd)
    const char* text;
    Integer caret;
    int sign;
    const char* expected;
  } cases[] = {
      {0, "1/31/2024", 0, 1, "2/29/2024"},    {0, "1/31/2024", 1, 1, "2/29/2024"},
      {0, "1/31/2024", 2, 1, "2/1/2024"},     {0, "1/31/2024", 4, -1, "1/30/2024"},
      {0, "1/31/2024", 5, 1, "1/31/2025"},    {0, "1/31/2024", 9, -1, "1/31/2023"},
      {0, "2/29/2024", 7, 1, "2/28/2025"},    {0, "3/1/2024", 0, -1, "2/1/2024"},
      {1, "31.01.2024", 0, 1, "01.02.2024"},  {1, "31.01.2024", 3, 1, "29.02.2024"},
      {1, "31.01.2024", 6, 1, "31.01.2025"},  {1, "29.02.2024", 8, -1, "28.02.2023"},
      // Year first: still the field under the caret.
      {2, "2024-01-31", 0, 1, "2025-01-31"},  {2, "2024-01-31", 4, -1, "2023-01-31"},
      {2, "2024-01-31", 5, 1, "2024-02-29"},  {2, "2024-01-31", 8, 1, "2024-02-01"},
  };
  spin->SetSpinType(sptDate);
  for (const auto& c : cases) {
    rtl::TFormatSettingsScope scope(c.locale == 1 ? CommaLocale() : c.locale == 2 ? yearFirst : rtl::TFormatSettings{});
    spin->SetText(c.text);
    spin->SetSelStart(c.caret);
    if (c.sign > 0)
      spin->StepUp(false);
    else
      spin->StepDown(false);
    EXPECT_EQ(spin->Text(), c.expected) << c.text << " caret " << c.caret;
    EXPECT_EQ(spin->SelStart(), c.caret);
  }
}

TEST_F(SpinEdit, TimeStepsWrapWithinTheDay) {
  rtl::TFormatSettings fs;
  fs.LongTimeFormat = "h:mm:ss";
  rtl::TFormatSettingsScope scope(fs);
  struct Case {
    const char* text;
    Integer caret;
    int sign;
    Integer hours, minutes, seconds;
    bool showSeconds;
    const char* expected;
  } cases[] = {
      {"0:00:00", 2, -1, 1, 1, 1, true, "23:59:00"},  {"0:10:00", 0, -1, 1, 1, 1, true, "23:10:00"},
      {"23:30:00", 0, 1, 1, 1, 1, true, "0:30:00"},   {"0:10:00", 0, -1, 25, 1, 1, true, "23:10:00"},
      {"0:10:00", 3, 1, 1, 75, 1, true, "1:25:00"},   {"0:00:10", 6, -1, 1, 1, 70, true, "23:59:00"},
      {"12:00:59", 7, 1, 1, 1, 1, true, "12:01:00"},  {"12:00", 3, 1, 1, 15, 1, false, "12:15"},
      {"23:50", 3, 1, 1, 15, 1, false, "0:05"},
  };
  spin->SetSpinType(sptTime);
  for (const auto& c : cases) {
    spin->SetShowSeconds(c.showSeconds);
    spin->SetIncrementHours(c.hours);
    spin->SetIncrementMinutes(c.minutes);
    spin->SetIncrementSeconds(c.seconds);
    spin->SetText(c.text);
    spin->SetSelStart(c.caret);
    if (c.sign > 0)
      spin->StepUp(false);
    else
      spin->StepDown(false);
    EXPECT_EQ(spin->Text(), c.expected) << c.text;
  }
}

TEST_F(SpinEdit, ReadOnlyStepsOnlyBeep) {
  BeepRecorder beeps;
  spin->SetReadOnly(true);
  spin->SetText("5");
  spin->StepUp(false);
  spin->StepDown(true);
  EXPECT_EQ(spin->Text(), "5");
  EXPECT_EQ(beeps.count, 2);
}

TEST_F(SpinEdit, ValuesThatDoNotParseFallBack) {
  spin->SetText("abc");
  EXPECT_EQ(spin->Value(), 0);
  spin->SetMinValue(7);
  EXPECT_EQ(spin->Value(), 7);
  // A float edit limited to 0.5 .. 10 reads its own minimum, not the
  // integer one.
  spin->SetMinFloatValue(0.5);
  spin->SetMaxFloatValue(10);
  EXPECT_DOUBLE_EQ(spin->FloatValue(), 0.5);
  spin->SetMinDateValue(rtl::EncodeDate(2020, 1, 1));
  EXPECT_DOUBLE_EQ(spin->DateValue(), rtl::EncodeDate(2020, 1, 1));
  EXPECT_DOUBLE_EQ(spin->TimeValue(), 0.0);
  ManualTime time(1000);
  time.clock->SetWallUnixMs(1704067200000);  // 2024-01-01 00:00 UTC
  spin->SetText("");
  EXPECT_NEAR(spin->DateValue(), rtl::Now(), 1e-6);
  spin->SetText("0");
  EXPECT_NEAR(spin->DateValue(), rtl::Now(), 1e-6);
}

TEST_F(SpinEdit, EqualLimitsSwitchClampingOff) {
  struct Case {
    Integer lo, hi, v, expected;
  } cases[] = {{0, 100, 150, 100}, {0, 100, -5, 0}, {0, 0, 150, 150}, {5, 5, -3, -3}, {-10, -2, 0, -2}};
  for (const auto& c : cases) {
    spin->SetMinValue(c.lo), spin->SetMaxValue(c.hi);
    spin->SetValue(c.v);
    EXPECT_EQ(spin->Value(), c.expected);
  }
  spin->SetMinFloatValue(1.5), spin->SetMaxFloatValue(1.5);
  spin->SetSpinType(sptFloat);
  spin->SetFloatValue(99.25);
  EXPECT_EQ(spin->Text(), "99.25");
}

TEST_F(SpinEdit, LeavingCorrectsAValueOutsideTheLimits) {
  auto* other = new TVoeSpinEdit(form);
  other->SetParent(form);
  other->SetBounds(10, 60, 120, 24);
  spin->SetFocus();
  Pump();
  spin->SetText("");
  Type(spin, "150");
  EXPECT_EQ(spin->Text(), "150");
  other->SetFocus();
  Pump();
  EXPECT_EQ(spin->Text(), "100");
  // Text that does not parse stays unless its fallback is outside.
  spin->SetText("-");
  spin->SetFocus();
  Pump();
  other->SetFocus();
  Pump();
  EXPECT_EQ(spin->Text(), "-");
}

TEST_F(SpinEdit, PrecisionRewritesAFloatValue) {
  spin->SetSpinType(sptFloat);
  spin->SetText("1");
  spin->SetPrecision(2);
  EXPECT_EQ(spin->Text(), "1.00");
  {
    rtl::TFormatSettingsScope scope(CommaLocale());
    // The en-US text is no number in the comma locale: the minimum.
    spin->SetPrecision(3);
    EXPECT_EQ(spin->Text(), "0,000");
    spin->SetText("1,5");
    spin->SetPrecision(3);
    EXPECT_EQ(spin->Text(), "1,500");
    spin->SetPrecision(0);
    EXPECT_EQ(spin->Text(), "1,5");
  }
  spin->SetSpinType(sptNormal);
  spin->SetText("7");
  spin->SetPrecision(4);
  EXPECT_EQ(spin->Text(), "7");  // not a float edit
}

TEST_F(SpinEdit, KeypadDecimalKeyTypesTheLocaleSeparator) {
  rtl::TFormatSettingsScope scope(CommaLocale());
  spin->SetExcelStyleDecimalSeparator(true);
  spin->SetSpinType(sptFloat);
  spin->SetFocus();
  Pump();
  spin->SetText("1");
  spin->SetSelStart(1);
  Key(spin, Qt::Key_Period, Qt::KeypadModifier, ".");
  EXPECT_EQ(spin->Text(), "1,");
  BeepRecorder beeps;
  spin->SetText("2");
  spin->SetSelStart(1);
  Key(spin, Qt::Key_Period, Qt::NoModifier, ".");  // the main keyboard's full stop
  EXPECT_EQ(spin->Text(), "2");  // the comma locale's thousand separator
  EXPECT_EQ(beeps.count, 1);
  spin->SetSpinType(sptNormal);
  spin->SetText("3");
  spin->SetSelStart(1);
  Key(spin, Qt::Key_Period, Qt::NoModifier, ".");
  EXPECT_EQ(spin->Text(), "3");
  EXPECT_EQ(beeps.count, 2);
}

TEST_F(SpinEdit, FocusComesWithTheArrowsAndSelectsTheText) {
  auto* other = new TVoeSpinEdit(form);
  other->SetParent(form);
  other->SetBounds(10, 60, 120, 24);
  other->SetFocus();
  Pump();
  // A press on an arrow hands the focus to the edit; the release steps.
  TVoeSpinButton* b = spin->Button();
  MouseDown(b, 7, 3);
  EXPECT_TRUE(spin->Focused());
  MouseUp(b, 7, 3);
  EXPECT_EQ(spin->Text(), "1");
  // Entering by the keyboard selects the whole value.
  other->SetFocus();
  Pump();
  spin->SetText("42");
  spin->SetFocus();
  Pump();
  EXPECT_EQ(spin->SelStart(), 0);
  EXPECT_EQ(spin->SelLength(), 2);
  // A value written into a non-editable edit is selected too.
  spin->SetSelLength(0);
  spin->SetEditorEnabled(false);
  spin->SetValue(57);
  EXPECT_EQ(spin->SelLength(), 2);
  spin->SetEditorEnabled(true);
  spin->SetSelLength(0);
  spin->SetValue(58);
  EXPECT_EQ(spin->SelLength(), 0);
}

TEST_F(SpinEdit, ReturnIsTabMovesTheFocusOn) {
  auto* next = new TVoeSpinEdit(form);
  next->SetParent(form);
  next->SetBounds(10, 60, 120, 24);
  spin->SetReturnIsTab(true);
  spin->SetFocus();
  Pump();
  Key(spin, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_TRUE(next->Focused());
}

TEST_F(SpinEdit, DeleteAndPasteNeedAnEditableEdit) {
  spin->SetFocus();
  Pump();
  spin->SetEditorEnabled(false);
  spin->SetText("42");
  spin->SetSelStart(0);
  Key(spin, Qt::Key_Delete);
  EXPECT_EQ(spin->Text(), "42");
  spin->SelectAll();
  spin->Perform(WM_CUT);
  EXPECT_EQ(spin->Text(), "42");
  spin->SetEditorEnabled(true);
  spin->SelectAll();
  spin->Perform(WM_CUT);
  EXPECT_EQ(spin->Text(), "");
  spin->Perform(WM_PASTE);
  EXPECT_EQ(spin->Text(), "42");
  // The clipboard keys come as the same messages.
  spin->SetEditorEnabled(false);
  spin->SelectAll();
  Key(spin, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(spin->Text(), "42");
}

TEST_F(SpinEdit, TheContextMenusClipboardEntriesAskTheEdit) {
  // The field's own menu sends the same messages as the keys, so a
  // non-editable spin edit refuses its Cut and Paste too.
  auto runMenu = [&](const char* entry) {
    bool found = false;
    Later([&] {
      QWidget* popup = QApplication::activePopupWidget();
      ASSERT_NE(popup, nullptr);
      for (QAction* a : popup->actions())
        if (a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')) == QLatin1String(entry)) {
          found = true;
          a->setEnabled(true);
          a->trigger();
        }
      popup->close();
    });
    QWidget* w = spin->Widget();
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(w, &e);
    Pump();
    EXPECT_TRUE(found) << entry;
  };
  spin->SetFocus();
  Pump();
  QGuiApplication::clipboard()->setText("9");
  spin->SetEditorEnabled(false);
  spin->SetText("42");
  spin->SelectAll();
  runMenu("Cut");
  EXPECT_EQ(spin->Text(), "42");
  runMenu("Paste");
  EXPECT_EQ(spin->Text(), "42");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "9");
  spin->SetEditorEnabled(true);
  spin->SelectAll();
  runMenu("Cut");
  EXPECT_EQ(spin->Text(), "");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "42");
  runMenu("Paste");
  EXPECT_EQ(spin->Text(), "42");
}

TEST_F(SpinEdit, EditAlignPlacesTheTextAndKeepsIt) {
  spin->SetBounds(10, 10, 140, 26);
  spin->SetText("7");
  TRect r;
  spin->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  // The dark pixels of the digit, left of the spin button.
  auto digit = [&] {
    QImage img = Grab(spin);
    int lo = img.width(), hi = -1;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < spin->Button()->Left(); ++x)
        if (qGray(img.pixel(x, y)) < 96) lo = std::min(lo, x), hi = std::max(hi, x);
    return std::pair{lo, hi};
  };
  struct Case {
    TEditAlign align;
    const char* name;
  } cases[] = {{eaRight, "right"}, {eaCenter, "centre"}, {eaLeft, "left"}};
  for (const auto& c : cases) {
    spin->SetEditAlign(c.align);
    EXPECT_EQ(spin->Text(), "7") << c.name;  // through the new window
    auto [lo, hi] = digit();
    ASSERT_GE(hi, lo) << c.name;
    int border = (spin->Width() - spin->ClientWidth()) / 2;
    int left = border + r.Left, right = border + r.Right;
    if (c.align == eaLeft) {
      EXPECT_LT(lo - left, 6) << c.name;
    } else if (c.align == eaRight) {
      EXPECT_LT(right - 1 - hi, 6) << c.name;
    } else {
      EXPECT_LE(std::abs((lo + hi + 1) / 2 - (left + right) / 2), 3) << c.name;
    }
    // Never under the spin button.
    EXPECT_LT(hi, spin->Button()->Left()) << c.name;
  }
}

TEST_F(SpinEdit, TheTagParameterSequence) {
  // A decimal parameter: type, limits, step, then two decimals; an integer
  // parameter: limits, type, then no decimals.
  struct Case {
    bool decimal;
    const char* text;
    double lo, hi;
    const char* expected;
  } cases[] = {
      {true, "12.5", 0, 999999, "12.50"}, {true, "12,5", 0, 999999, "0.00"},
      {true, "1234567", 0, 999999, "999999.00"}, {true, "-3", 0, 999999, "0.00"},
      {true, "2.345", 1.5, 3.5, "2.35"},  {true, "abc", 1.5, 3.5, "1.50"},
      {false, "12", 1, 17, "12"},         {false, "12.50", 1, 17, "1"},
      {false, "30", 1, 17, "17"},         {false, "0", 0, 2147483647, "0"},
  };
  for (const auto& c : cases) {
    auto* s = new TVoeSpinEdit(form);
    s->SetText(c.text);
    if (c.decimal) {
      s->SetMinFloatValue(c.lo);
      s->SetMaxFloatValue(c.hi);
      s->SetSpinType(sptFloat);
      s->SetIncrementFloat(0.01);
      s->SetPrecision(2);
    } else {
      s->SetMinValue(static_cast<Integer>(c.lo));
      s->SetMaxValue(static_cast<Integer>(c.hi));
      s->SetSpinType(sptNormal);
      s->SetPrecision(0);
    }
    EXPECT_EQ(s->Text(), c.expected) << c.text;
    Free(s);
  }
  // In the comma locale the comma text is the number.
  rtl::TFormatSettingsScope scope(CommaLocale());
  auto* s = new TVoeSpinEdit(form);
  s->SetText("12,5");
  s->SetMaxFloatValue(999999);
  s->SetSpinType(sptFloat);
  s->SetPrecision(2);
  EXPECT_EQ(s->Text(), "12,50");
  Free(s);
}

TEST_F(SpinEdit, ArrowsOverlapByOnePixel) {
  struct Case {
    TSpinDirection dir;
    Integer w, h;
    TRect up, down;
  } cases[] = {
      {spVertical, 15, 25, Rect(0, 0, 15, 12), Rect(0, 11, 15, 25)},
      {spVertical, 10, 20, Rect(0, 0, 15, 10), Rect(0, 9, 15, 20)},
      {spHorizontal, 20, 17, Rect(11, 0, 21, 17), Rect(0, 0, 10, 17)},
      {spHorizontal, 30, 17, Rect(16, 0, 31, 17), Rect(0, 0, 15, 17)},
  };
  for (const auto& c : cases) {
    auto* b = new TVoeSpinButton(form);
    b->SetParent(form);
    b->SetDirection(c.dir);
    b->SetBounds(0, 0, c.w, c.h);
    EXPECT_EQ(b->UpButton()->BoundsRect(), c.up) << c.w << "x" << c.h;
    EXPECT_EQ(b->DownButton()->BoundsRect(), c.down) << c.w << "x" << c.h;
    EXPECT_EQ(b->UpButton()->ArrowDirection(), c.dir == spVertical ? adUp : adRight);
    Free(b);
  }
}

TEST_F(SpinEdit, TheSpinButtonSitsInsideTheRightEdge) {
  spin->SetBounds(10, 10, 100, 30);
  Integer h = spin->Height();
  ASSERT_EQ(h, 30);
  // Client area 96 x 26 inside the sunken border; k = 5 for it.
  EXPECT_EQ(spin->Button()->BoundsRect(), Rect(100 - 15 - 5, 0, 100 - 5, h - 5));
  TRect r;
  spin->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r, Rect(0, 0, 96 - 15 - 2, 26 + 1));
  spin->SetBorderStyle(bsNone);
  spin->SetBounds(10, 10, 100, 30);
  EXPECT_EQ(spin->Button()->BoundsRect(), Rect(100 - 15 - 1, 0, 100 - 1, h - 1));
  spin->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r, Rect(3, 3, 100 - 15 - 2 - 3, 31));
  // Too low an edit grows to show a line.
  spin->SetBounds(10, 10, 100, 4);
  EXPECT_GT(spin->Height(), 4);
}

TEST_F(SpinEdit, DirectionFlatAndTransparentReachTheArrows) {
  spin->SetBounds(10, 10, 100, 30);
  TVoeSpinButton* b = spin->Button();
  struct Case {
    TSpinDirection dir;
    Integer width;
    TArrowDirection up, down;
  } cases[] = {{spHorizontal, 20, adRight, adLeft}, {spVertical, 15, adUp, adDown}};
  for (const auto& c : cases) {
    spin->SetDirection(c.dir);
    EXPECT_EQ(spin->Width(), 100);
    EXPECT_EQ(b->Width(), c.width);
    EXPECT_EQ(b->UpButton()->ArrowDirection(), c.up);
    EXPECT_EQ(b->DownButton()->ArrowDirection(), c.down);
    // Laid out again: inside the right edge, the text clear of it.
    EXPECT_EQ(b->BoundsRect(), Rect(100 - c.width - 5, 0, 100 - 5, 25));
    TRect r;
    spin->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.Right, spin->ClientWidth() - c.width - 2);
  }
  for (bool v : {true, false}) {
    spin->SetSpinFlat(v);
    spin->SetSpinTransparent(v);
    for (TLumTimerSpeedButton* arrow : {b->UpButton(), b->DownButton()}) {
      EXPECT_EQ(arrow->Flat(), v);
      EXPECT_EQ(arrow->Transparent(), v);
    }
  }
}

TEST_F(SpinEdit, GeneratedGlyphsArePixelExact) {
  EnsureDropdownResources();
  const char* up[] = {
      ".........",
      "....#....",
      "...###...",
      "..#####..",
      ".#######.",
      ".........",
  };
  for (bool isUp : {true, false}) {
    TBitmap bmp;
    bmp.LoadFromResourceName(HInstance, isUp ? "VOESPINUP" : "voespindown");
    ASSERT_EQ(bmp.Width(), 9);
    ASSERT_EQ(bmp.Height(), 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 9; ++x) {
        char want = up[isUp ? y : 5 - y][x];
        TColor c = bmp.Canvas()->Pixels(x, y);
        EXPECT_EQ(c, want == '#' ? RGB(0, 0, 0) : RGB(128, 128, 0)) << (isUp ? "up " : "down ") << x << "," << y;
      }
    EXPECT_EQ(bmp.TransparentColor() & 0xFFFFFF, RGB(128, 128, 0));
  }
  TBitmap missing;
  EXPECT_THROW(missing.LoadFromResourceName(HInstance, "NOSUCHBITMAP"), EResNotFound);
}

TEST_F(SpinEdit, ArrowsPaintTheirGlyphsWithoutTheOlive) {
  spin->SetBounds(10, 10, 100, 30);
  QImage img = Grab(spin->Button());
  SaveShot(img, "dropdown_spin_button.png");
  int black = 0, olive = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      TColor c = PixelAt(img, x, y);
      black += c == RGB(0, 0, 0);
      olive += c == RGB(128, 128, 0);
    }
  EXPECT_EQ(olive, 0);
  EXPECT_GE(black, 2 * 16);  // both triangles
  // The up glyph's point sits centred in the upper half.
  TRect up = spin->Button()->UpButton()->BoundsRect();
  int cx = up.Left + (up.Width() - 9) / 2 + 4, cy = up.Top + (up.Height() - 6) / 2 + 1;
  EXPECT_EQ(PixelAt(img, cx, cy), RGB(0, 0, 0));
}

TEST_F(SpinEdit, HoldingAnArrowRepeatsOnTheClock) {
  ManualTime time;
  spin->SetMaxValue(1000);
  spin->SetFocus();
  Pump();
  TVoeSpinButton* b = spin->Button();
  std::vector<int> steps;
  uint64_t start = 0;
  spin->OnChange = [&](TObject*) { steps.push_back(static_cast<int>(time.clock->MonotonicMs() - start)); };
  start = time.clock->MonotonicMs();
  MouseDown(b, 7, 3);
  time.Advance(1000);
  MouseUp(b, 7, 3);
  Pump();
  std::vector<int> expected = {400, 500, 600, 700, 800, 900, 1000, 1000};
  EXPECT_EQ(steps, expected);
  EXPECT_EQ(spin->Text(), "8");
  // Released off the button: no click on release, and no more repeats.
  steps.clear();
  start = time.clock->MonotonicMs();
  MouseDown(b, 7, b->Height() - 3);
  time.Advance(450);
  MouseUp(b, 40, 40);
  time.Advance(500);
  EXPECT_EQ(steps, (std::vector<int>{400}));
  EXPECT_EQ(spin->Text(), "7");
}

TEST_F(SpinEdit, AnExceptionInAClickStopsTheRepeat) {
  ManualTime time;
  TVoeSpinButton* b = spin->Button();
  int clicks = 0, handled = 0;
  b->OnUpClick = [&](TObject*) {
    ++clicks;
    throw rtl::Exception("refused");
  };
  auto saved = Application->OnException;
  Application->OnException = [&](TObject*, rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "refused");
    ++handled;
  };
  MouseDown(b, 7, 3);
  time.Advance(1000);
  Application->OnException = saved;
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(handled, 1);
  EXPECT_FALSE(b->UpButton()->RepeatTimer()->Enabled());
  b->OnUpClick = nullptr;
  MouseUp(b, 100, 100);
}

TEST_F(SpinEdit, LoadingStoresDatesAndFormatsThemAtTheEnd) {
  auto* s = new TVoeSpinEdit(form);
  s->BeginLoad();
  s->SetSpinType(sptDate);
  s->SetDateValue(rtl::EncodeDate(2024, 3, 5));
  EXPECT_NE(s->Text(), "3/5/2024");  // only stored while loading
  s->SetMinDateValue(rtl::EncodeDate(2024, 1, 1));
  s->SetMaxDateValue(rtl::EncodeDate(2024, 2, 1));
  s->EndLoad();
  EXPECT_EQ(s->Text(), "2/1/2024");  // built, then clamped by SpinType
  auto* t = new TVoeSpinEdit(form);
  t->BeginLoad();
  t->SetShowSeconds(false);
  t->SetSpinType(sptTime);
  t->SetTimeValue(rtl::EncodeTime(7, 5, 0, 0));
  t->EndLoad();
  EXPECT_EQ(t->Text(), "7:05");
}

TEST_F(SpinEdit, TheSpinButtonAloneAnswersArrowsAndSpace) {
  auto* b = new TVoeSpinButton(form);
  b->SetParent(form);
  b->SetBounds(200, 10, 15, 25);
  b->SetTabStop(true);
  std::vector<char> clicks;
  b->OnUpClick = [&](TObject* s) {
    EXPECT_EQ(s, b);
    clicks.push_back('u');
  };
  b->OnDownClick = [&](TObject*) { clicks.push_back('d'); };
  EXPECT_EQ(b->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
  b->SetFocus();
  Pump();
  Key(b, Qt::Key_Space, Qt::NoModifier, " ");
  Key(b, Qt::Key_Down);
  Key(b, Qt::Key_Space, Qt::NoModifier, " ");
  Key(b, Qt::Key_Up);
  EXPECT_EQ(clicks, (std::vector<char>{'u', 'd', 'd', 'u'}));
  EXPECT_EQ(b->FocusedArrow(), b->UpButton());
  // A glyph of null gives the default back.
  TBitmap other(4, 4);
  b->SetUpGlyph(&other);
  EXPECT_EQ(b->UpGlyph()->Width(), 4);
  b->SetUpGlyph(nullptr);
  EXPECT_EQ(b->UpGlyph()->Width(), 9);
  EXPECT_EQ(b->UpNumGlyphs(), 1);
}

TEST_F(SpinEdit, ThemedArrowsDrawThroughTheTheme) {
  spin->SetBounds(10, 10, 100, 30);
  QImage plain = Grab(spin->Button());
  spin->SetXPLook(true);
  EXPECT_TRUE(spin->Button()->UpButton()->XPLook());
  QImage themed = Grab(spin->Button());
  EXPECT_NE(plain, themed);
  SaveShot(themed, "dropdown_spin_button_themed.png");
  // Without a theme the arrows keep their plain look.
  SetThemeActive(false);
  QImage unthemed = Grab(spin->Button());
  spin->SetXPLook(false);
  QImage plainUnthemed = Grab(spin->Button());
  SetThemeActive(true);
  EXPECT_EQ(unthemed, plainUnthemed);
}

}  // namespace
}  // namespace dropdown
