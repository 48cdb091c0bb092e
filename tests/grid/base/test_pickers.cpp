// The grid's date pickers: made hidden and disabled, parented once the
// grid's window exists, their changes reported as the cell's text or as a
// date and time, the calendar dropped with the week-number and today
// settings and sized past its smallest size, a close-up reported and, when
// asked, ending with the picker gone. Also the picture cache of HTML cells.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dropdown/PictureContainer.h"
#include "grid/GridComponent.h"
#include "grid/GridPickers.h"
#include "rtl/DateTime.h"
#include "rtl/Locale.h"
#include "vcl/DateTimePicker.h"
#include "vcl/Forms.h"

using namespace grid;
using vcl::TForm;

namespace {

struct TFixture {
  TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  TGridDatePicker* picker = nullptr;
  TFixture() {
    form = new TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    picker = dynamic_cast<TGridDatePicker*>(grid->EditorControl(ecDatePicker));
  }
  ~TFixture() { vcl::Free(form); }
  // The picker as the edit cycle shows it over a cell.
  void ShowPicker() {
    form->Show();
    picker->SetBounds(70, 30, 120, 21);
    picker->SetEnabled(true);
    picker->SetVisible(true);
  }
};

rtl::TFormatSettings UsSettings() {
  rtl::TFormatSettings s = rtl::FormatSettings();
  s.DateSeparator = '/';
  s.TimeSeparator = ':';
  s.ShortDateFormat = "M/d/yyyy";
  s.LongTimeFormat = "hh:nn:ss";
  return s;
}

}  // namespace

TEST(GridPickers, MadeHiddenDisabledAndParentedWithTheWindow) {
  TFixture f;
  ASSERT_NE(f.picker, nullptr);
  EXPECT_EQ(f.picker->Grid(), f.grid);
  EXPECT_EQ(f.picker->Owner(), f.grid);
  EXPECT_FALSE(f.picker->Visible());
  EXPECT_FALSE(f.picker->Enabled());
  EXPECT_EQ(f.picker->Parent(), nullptr);
  EXPECT_FALSE(f.picker->Weeknumbers);
  EXPECT_TRUE(f.picker->ShowToday);
  EXPECT_TRUE(f.picker->ShowTodayCircle);
  EXPECT_EQ(f.picker->CalendarStyleBits(), 0u);
  // The joined date-and-time picker comes with the drop-down library.
  EXPECT_EQ(f.grid->EditorControl(ecDateTimePicker) != nullptr, HasGridEditorFactory(ecDateTimePicker));
  f.form->Show();
  EXPECT_EQ(f.picker->Parent(), f.grid);
  EXPECT_FALSE(f.picker->Visible());

  ASSERT_NE(f.grid->PictureCache(), nullptr);
  EXPECT_EQ(f.grid->PictureCache()->Count(), 0);
}

TEST(GridPickers, CalendarStyleBitsFollowTheThreeSettings) {
  struct Case {
    bool weeknumbers, showToday, showTodayCircle;
    Cardinal bits;
  };
  const Case cases[] = {
      {false, true, true, 0},
      {true, true, true, vcl::MCS_WEEKNUMBERS},
      {false, false, true, vcl::MCS_NOTODAY},
      {false, true, false, vcl::MCS_NOTODAYCIRCLE},
      {true, false, false, vcl::MCS_WEEKNUMBERS | vcl::MCS_NOTODAY | vcl::MCS_NOTODAYCIRCLE},
  };
  TFixture f;
  for (const Case& c : cases) {
    f.picker->Weeknumbers = c.weeknumbers;
    f.picker->ShowToday = c.showToday;
    f.picker->ShowTodayCircle = c.showTodayCircle;
    EXPECT_EQ(f.picker->CalendarStyleBits(), c.bits);
  }
}

TEST(GridPickers, ChangesReportTheDateOrTheTimeAsTheCellsText) {
  rtl::TFormatSettingsScope locale(UsSettings());
  TFixture f;
  f.grid->SetCol(2);
  f.grid->SetRow(3);
  struct Report {
    Integer col, row;
    AnsiString value;
  };
  std::vector<Report> reports;
  f.grid->OnEditChange = [&](vcl::TObject* sender, Integer col, Integer row, const AnsiString& value) {
    EXPECT_EQ(sender, f.grid);
    reports.push_back({col, row, value});
  };
  f.picker->SetDateTime(rtl::EncodeDateTime(2024, 2, 29, 13, 5, 7, 0));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].col, 2);
  EXPECT_EQ(reports[0].row, 3);
  EXPECT_EQ(reports[0].value, "2/29/2024");
  // The control's text, read through the class library, is the shown date.
  EXPECT_EQ(static_cast<vcl::TWinControl*>(f.picker)->Text(), "2/29/2024");

  f.picker->SetKind(vcl::dtkTime);
  f.picker->SetTime(rtl::EncodeTime(9, 30, 0, 0));
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].value, "09:30:00");
  // A time picker changes only the time part.
  EXPECT_EQ(std::trunc(f.picker->DateTime()), rtl::EncodeDate(2024, 2, 29));

  // Without the event nothing is reported and nothing fails.
  f.grid->OnEditChange = nullptr;
  f.picker->SetTime(rtl::EncodeTime(10, 0, 0, 0));
  EXPECT_EQ(reports.size(), 2u);
}

TEST(GridPickers, DropDownAppliesTheSettingsSizesTheCalendarAndFires) {
  TFixture f;
  f.ShowPicker();
  f.grid->SetCol(1);
  f.grid->SetRow(4);
  std::vector<std::pair<Integer, Integer>> drops;
  f.grid->OnDatePickerDropDown = [&](vcl::TObject* sender, Integer row, Integer col) {
    EXPECT_EQ(sender, f.grid);
    // The calendar is already set up when the event runs.
    EXPECT_EQ(f.picker->CalendarSize().X, f.picker->CalendarMinReqSize().X + 2);
    drops.push_back({row, col});
  };

  f.picker->DropDown();
  ASSERT_TRUE(f.picker->DroppedDown());
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0], std::make_pair(Integer(4), Integer(1)));
  EXPECT_EQ(f.picker->CalendarStyle(), 0u);
  const vcl::TPoint plain = f.picker->CalendarMinReqSize();
  EXPECT_GT(plain.X, 100);
  EXPECT_GT(plain.Y, 100);
  EXPECT_EQ(f.picker->CalendarSize(), (vcl::TPoint{plain.X + 2, plain.Y + 2}));
  f.picker->CloseUp();
  EXPECT_FALSE(f.picker->DroppedDown());

  // Week numbers take a column more; no today line takes a line less. Each
  // drop starts from the settings alone.
  f.picker->Weeknumbers = true;
  f.picker->ShowToday = false;
  f.picker->DropDown();
  EXPECT_EQ(f.picker->CalendarStyle(), vcl::MCS_WEEKNUMBERS | vcl::MCS_NOTODAY);
  const vcl::TPoint weeks = f.picker->CalendarMinReqSize();
  EXPECT_GT(weeks.X, plain.X);
  EXPECT_LT(weeks.Y, plain.Y);
  EXPECT_EQ(f.picker->CalendarSize(), (vcl::TPoint{weeks.X + 2, weeks.Y + 2}));
  f.picker->CloseUp();
  f.picker->Weeknumbers = false;
  f.picker->ShowToday = true;
  f.picker->DropDown();
  EXPECT_EQ(f.picker->CalendarStyle(), 0u);
  EXPECT_EQ(f.picker->CalendarMinReqSize(), plain);
  f.picker->CloseUp();
  EXPECT_EQ(drops.size(), 3u);

  // A time picker and a picker with arrows drop nothing.
  f.picker->SetDateMode(vcl::dmUpDown);
  f.picker->DropDown();
  EXPECT_FALSE(f.picker->DroppedDown());
  f.picker->SetDateMode(vcl::dmComboBox);
  f.picker->SetKind(vcl::dtkTime);
  f.picker->DropDown();
  EXPECT_FALSE(f.picker->DroppedDown());
  EXPECT_EQ(drops.size(), 3u);
}

TEST(GridPickers, CloseUpFiresAndDirectDateCloseTakesThePickerAway) {
  rtl::TFormatSettingsScope locale(UsSettings());
  for (bool direct : {false, true}) {
    TFixture f;
    f.ShowPicker();
    f.grid->MouseActions()->DirectDateClose = direct;
    f.grid->SetCol(3);
    f.grid->SetRow(2);
    f.picker->SetDateTime(rtl::EncodeDateTime(2023, 7, 14, 8, 15, 0, 0));
    std::vector<AnsiString> events;
    f.grid->OnEditChange = [&](vcl::TObject*, Integer, Integer, const AnsiString& value) {
      events.push_back("change " + value);
    };
    f.grid->OnDatePickerCloseUp = [&](vcl::TObject* sender, Integer row, Integer col) {
      EXPECT_EQ(sender, f.grid);
      EXPECT_EQ(row, 2);
      EXPECT_EQ(col, 3);
      events.push_back("closeup");
    };

    f.picker->DropDown();
    f.picker->PickCalendarDate(rtl::EncodeDate(2023, 8, 1));
    EXPECT_FALSE(f.picker->DroppedDown());
    EXPECT_EQ(events, (std::vector<AnsiString>{"change 8/1/2023", "closeup"}));
    // The day is taken, the time of day kept.
    EXPECT_DOUBLE_EQ(f.picker->DateTime(), rtl::EncodeDateTime(2023, 8, 1, 8, 15, 0, 0));
    EXPECT_EQ(f.picker->Visible(), !direct);
    EXPECT_EQ(f.picker->Enabled(), !direct);

    // Closing without a pick reports the close-up alone, once.
    events.clear();
    f.picker->SetVisible(true);
    f.picker->SetEnabled(true);
    f.picker->DropDown();
    f.picker->CloseUp();
    f.picker->CloseUp();
    EXPECT_EQ(events, (std::vector<AnsiString>{"closeup"}));
  }
}

// The joined date-and-time picker comes from the drop-down library; any
// class-library picker in its place is wired the same way.
TEST(GridPickers, TheDateTimePickerReportsItsValue) {
  struct Restore {
    ~Restore() { RegisterGridEditorFactory(ecDateTimePicker, nullptr); }
  } restore;
  const bool hadFactory = HasGridEditorFactory(ecDateTimePicker);
  ASSERT_FALSE(hadFactory);
  RegisterGridEditorFactory(ecDateTimePicker, [](TVadOdizadEzev* g) { return new vcl::TDateTimePicker(g); });
  TFixture f;
  auto* picker = dynamic_cast<vcl::TDateTimePicker*>(f.grid->EditorControl(ecDateTimePicker));
  ASSERT_NE(picker, nullptr);
  EXPECT_FALSE(picker->Enabled());
  EXPECT_EQ(picker->Parent(), nullptr);
  f.grid->SetCol(4);
  f.grid->SetRow(5);
  std::vector<rtl::TDateTime> values;
  bool editChanged = false;
  f.grid->OnEditChange = [&](vcl::TObject*, Integer, Integer, const AnsiString&) { editChanged = true; };
  f.grid->OnDateTimeChange = [&](vcl::TObject* sender, Integer col, Integer row, rtl::TDateTime value) {
    EXPECT_EQ(sender, f.grid);
    EXPECT_EQ(col, 4);
    EXPECT_EQ(row, 5);
    values.push_back(value);
  };
  const rtl::TDateTime when = rtl::EncodeDateTime(2025, 12, 31, 23, 59, 58, 0);
  picker->SetDateTime(when);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_DOUBLE_EQ(values[0], when);
  EXPECT_FALSE(editChanged);
  f.form->Show();
  EXPECT_EQ(picker->Parent(), f.grid);
}
