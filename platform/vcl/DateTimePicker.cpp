#include "vcl/DateTimePicker.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>
#include <cctype>
#include <cmath>

#include "rtl/Locale.h"
#include "vcl/Messages.h"
#include "vcl/QtHost.h"

namespace vcl {

namespace {

QDateTime ToQDateTime(rtl::TDateTime value) {
  Word y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
  rtl::DecodeDateTime(value, y, mo, d, h, mi, s, ms);
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

rtl::TDateTime FromQDate(const QDate& date) {
  return rtl::EncodeDate(static_cast<Word>(date.year()), static_cast<Word>(date.month()),
                         static_cast<Word>(date.day()));
}

rtl::TDateTime FromQTime(const QTime& time) {
  return rtl::EncodeTime(static_cast<Word>(time.hour()), static_cast<Word>(time.minute()),
                         static_cast<Word>(time.second()), static_cast<Word>(time.msec()));
}

// The date part and the time part of a value; the time part of a negative
// value counts away from zero, as the run-time library reads it.
double DatePart(rtl::TDateTime v) { return std::trunc(v); }
double TimePart(rtl::TDateTime v) { return std::fabs(v - std::trunc(v)); }

// The run-time library's format letters in Qt's: m after h is the minute,
// n always is, AMPM and am/pm become AP and ap, the separators are the
// locale's.
QString ToQtFormat(const AnsiString& format) {
  const auto& settings = rtl::FormatSettings();
  QString out;
  bool lastWasHour = false;
  for (size_t i = 0; i < format.size();) {
    const char c = format[i];
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t run = 1;
    while (i + run < format.size() &&
           std::tolower(static_cast<unsigned char>(format[i + run])) == lower && lower != '\'' && lower != '"')
      ++run;
    if (lower == 'a') {
      if (format.compare(i, 4, "AMPM") == 0 || format.compare(i, 4, "ampm") == 0) {
        out += format[i] == 'A' ? "AP" : "ap";
        i += 4;
        continue;
      }
      if (format.compare(i, 5, "am/pm") == 0 || format.compare(i, 5, "AM/PM") == 0) {
        out += format[i] == 'A' ? "AP" : "ap";
        i += 5;
        continue;
      }
    }
    switch (lower) {
      case 'd': out += QString(static_cast<qsizetype>(run), 'd'); lastWasHour = false; break;
      case 'y': out += QString(static_cast<qsizetype>(run), 'y'); lastWasHour = false; break;
      case 'm':
        out += QString(static_cast<qsizetype>(std::min<size_t>(run, 4)), lastWasHour ? 'm' : 'M');
        lastWasHour = false;
        break;
      case 'n': out += QString(static_cast<qsizetype>(std::min<size_t>(run, 2)), 'm'); lastWasHour = false; break;
      case 'h': out += QString(static_cast<qsizetype>(std::min<size_t>(run, 2)), 'h'); lastWasHour = true; break;
      case 's': out += QString(static_cast<qsizetype>(std::min<size_t>(run, 2)), 's'); break;
      case 'z': out += QString(static_cast<qsizetype>(std::min<size_t>(run, 3)), 'z'); break;
      case '/': out += QString(static_cast<qsizetype>(run), QChar(settings.DateSeparator)); break;
      case ':': out += QString(static_cast<qsizetype>(run), QChar(settings.TimeSeparator)); break;
      case '\'':
      case '"': {
        const size_t end = format.find(c, i + 1);
        const size_t stop = end == AnsiString::npos ? format.size() : end;
        out += '\'' + QString::fromUtf8(format.data() + i + 1, static_cast<qsizetype>(stop - i - 1)) + '\'';
        i = stop == format.size() ? stop : stop + 1;
        continue;
      }
      default:
        out += QString::fromUtf8(format.data() + i, static_cast<qsizetype>(run));
        break;
    }
    i += run;
  }
  return out;
}

// The field: a typed digit stays in its field, as in the desktop's picker,
// where moving on is the program's choice (the posted VK_RIGHT); the next
// digit then starts the field anew.
class TPickerField : public QDateTimeEdit {
 public:
  using QDateTimeEdit::QDateTimeEdit;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    const int before = currentSectionIndex();
    const bool digit = e->text().size() == 1 && e->text()[0].isDigit();
    QDateTimeEdit::keyPressEvent(e);
    if (digit && currentSectionIndex() != before) {
      setCurrentSectionIndex(before);
      setSelectedSection(sectionAt(before));
    }
  }
};

}  // namespace

// The pop-up the picker drops: the month and, unless the style leaves it
// out, a today line that picks today.
class TDateTimePickerCalendar : public QObject {
 public:
  explicit TDateTimePickerCalendar(TDateTimePicker* picker) : picker_(picker) {
    popup_ = new QWidget(nullptr, Qt::Popup);
    auto* layout = new QVBoxLayout(popup_);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    calendar_ = new QCalendarWidget(popup_);
    calendar_->setGridVisible(false);
    layout->addWidget(calendar_);
    today_ = new QPushButton(popup_);
    today_->setFlat(true);
    layout->addWidget(today_);
    popup_->installEventFilter(this);
    QObject::connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate d) { Pick(d); });
    QObject::connect(calendar_, &QCalendarWidget::activated, this, [this](QDate d) { Pick(d); });
    QObject::connect(today_, &QPushButton::clicked, this, [this] { Pick(QDate::currentDate()); });
  }
  ~TDateTimePickerCalendar() override {
    popup_->removeEventFilter(this);
    delete popup_;
  }

  void ApplyStyle(Cardinal style) {
    calendar_->setVerticalHeaderFormat((style & MCS_WEEKNUMBERS) != 0 ? QCalendarWidget::ISOWeekNumbers
                                                                      : QCalendarWidget::NoVerticalHeader);
    today_->setVisible((style & MCS_NOTODAY) == 0);
    today_->setText(QString::fromUtf8("Today: ") +
                    QString::fromUtf8(rtl::DateToStr(rtl::Date()).c_str()));
    calendar_->setDateTextFormat(QDate(), QTextCharFormat());
    if ((style & MCS_NOTODAYCIRCLE) == 0) {
      QTextCharFormat mark;
      mark.setForeground(QColor(0xC0, 0, 0));
      mark.setFontWeight(QFont::Bold);
      calendar_->setDateTextFormat(QDate::currentDate(), mark);
    }
    popup_->layout()->activate();
  }

  void Show(QWidget* field, rtl::TDateTime value) {
    calendar_->setSelectedDate(ToQDateTime(value).date());
    popup_->adjustSize();
    popup_->move(field->mapToGlobal(QPoint(0, field->height())));
    popup_->show();
    calendar_->setFocus();
  }
  void Hide() { popup_->hide(); }
  bool Visible() const { return popup_->isVisible(); }
  QSize MinimumSize() const { return popup_->layout()->totalMinimumSize(); }
  QSize Size() const { return popup_->size(); }
  void Resize(int w, int h) { popup_->resize(w, h); }
  void Pick(QDate d) {
    if (!d.isValid()) return;
    TDateTimePicker* picker = picker_;
    Guarded(picker, [&] {
      picker->SetDate(FromQDate(d));
      Hide();
    });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == popup_ && event->type() == QEvent::Hide) {
      TDateTimePicker* picker = picker_;
      Guarded(picker, [&] { picker->CalendarClosed(); });
    }
    return false;
  }

 private:
  TDateTimePicker* picker_;
  QWidget* popup_;
  QCalendarWidget* calendar_;
  QPushButton* today_;
};

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  nativeField_ = true;
  SetColor(clWindow);
  TControl::SetBounds(0, 0, 186, 21);
  controlStyle_.Exclude(csSetCaption);
  value_ = rtl::Now();
  text_ = Text();
}

TDateTimePicker::~TDateTimePicker() {
  // The pop-up may still show; closing it must not reach a half-freed
  // picker.
  droppedDown_ = false;
  calendar_.reset();
}

AnsiString TDateTimePicker::ShownFormat() const {
  if (!format_.empty()) return format_;
  const auto& settings = rtl::FormatSettings();
  return kind_ == dtkTime ? settings.LongTimeFormat : settings.ShortDateFormat;
}

AnsiString TDateTimePicker::Text() const { return rtl::FormatDateTime(ShownFormat(), value_); }

QWidget* TDateTimePicker::CreateWidget() {
  auto* box = new QWidget();
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* check = new QCheckBox(box);
  check->setObjectName("check");
  check->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(check);
  QObject::connect(check, &QCheckBox::toggled, check, [this](bool on) {
    if (syncing_ || on == checked_) return;
    Guarded(this, [&] {
      checked_ = on;
      SyncWidget();
      Change();
    });
  });
  auto* edit = new TPickerField(box);
  edit->setObjectName("field");
  layout->addWidget(edit, 1);
  auto* button = new QToolButton(box);
  button->setObjectName("drop");
  button->setArrowType(Qt::DownArrow);
  button->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(button);
  QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, edit, [this](const QDateTime& v) {
    if (syncing_) return;
    Guarded(this, [&] {
      const rtl::TDateTime next = kind_ == dtkTime ? DatePart(value_) + FromQTime(v.time())
                                                   : FromQDate(v.date()) + TimePart(value_);
      if (next == value_) return;
      value_ = next;
      text_ = Text();
      Change();
    });
  });
  QObject::connect(button, &QToolButton::clicked, button, [this] { Guarded(this, [&] { DropDown(); }); });
  return box;
}

void TDateTimePicker::InitWidget() {
  if (auto* edit = Widget()->findChild<QDateTimeEdit*>("field")) {
    Host()->Watch(edit);
    Host()->Watch(edit->findChild<QLineEdit*>());
  }
  SyncWidget();
}

void TDateTimePicker::SyncWidget() {
  // The control's text is the shown value, also for readers through the
  // base class.
  text_ = Text();
  if (!HandleAllocated()) return;
  auto* edit = Widget()->findChild<QDateTimeEdit*>("field");
  auto* button = Widget()->findChild<QToolButton*>("drop");
  if (edit == nullptr || button == nullptr) return;
  syncing_ = true;
  edit->setDisplayFormat(ToQtFormat(ShownFormat()));
  edit->setDateTime(ToQDateTime(value_));
  const bool dropButton = kind_ == dtkDate && dateMode_ == dmComboBox;
  edit->setButtonSymbols(dropButton ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
  button->setVisible(dropButton);
  if (auto* check = Widget()->findChild<QCheckBox*>("check")) {
    check->setVisible(showCheckbox_);
    check->setChecked(checked_);
  }
  edit->setEnabled(!showCheckbox_ || checked_);
  syncing_ = false;
}

void TDateTimePicker::SetShowCheckbox(bool value) {
  if (value == showCheckbox_) return;
  showCheckbox_ = value;
  SyncWidget();
}

void TDateTimePicker::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  SyncWidget();
}

Integer TDateTimePicker::CurrentField() const {
  if (!HandleAllocated()) return 0;
  auto* edit = const_cast<TDateTimePicker*>(this)->Widget()->findChild<QDateTimeEdit*>("field");
  return edit ? edit->currentSectionIndex() : 0;
}

Integer TDateTimePicker::FieldCount() const {
  if (!HandleAllocated()) return 0;
  auto* edit = const_cast<TDateTimePicker*>(this)->Widget()->findChild<QDateTimeEdit*>("field");
  return edit ? edit->sectionCount() : 0;
}

void TDateTimePicker::Dispatch(TMessage& m) {
  TWinControl::Dispatch(m);
  if (m.Msg != WM_KEYDOWN || m.Result != 0 || (m.LParam & 0xFFFF) != 0 || !HandleAllocated()) return;
  // A key from the keyboard reaches the field through its own event; a
  // posted or sent one moves between the fields here.
  auto* edit = Widget()->findChild<QDateTimeEdit*>("field");
  if (edit == nullptr || edit->sectionCount() == 0) return;
  const int at = edit->currentSectionIndex();
  int to = at;
  if (m.WParam == VK_RIGHT && at + 1 < edit->sectionCount()) to = at + 1;
  if (m.WParam == VK_LEFT && at > 0) to = at - 1;
  if (to == at) return;
  edit->setCurrentSectionIndex(to);
  edit->setSelectedSection(edit->sectionAt(to));
  m.Result = 1;
}

void TDateTimePicker::SetDateTime(rtl::TDateTime value) {
  if (value == value_) return;
  value_ = value;
  SyncWidget();
  Change();
}

rtl::TDateTime TDateTimePicker::Date() const { return DatePart(DateTime()); }
void TDateTimePicker::SetDate(rtl::TDateTime value) { SetDateTime(DatePart(value) + TimePart(value_)); }
rtl::TDateTime TDateTimePicker::Time() const { return TimePart(DateTime()); }
void TDateTimePicker::SetTime(rtl::TDateTime value) { SetDateTime(DatePart(value_) + TimePart(value)); }

void TDateTimePicker::SetKind(TDateTimeKind value) {
  if (value == kind_) return;
  if (droppedDown_) CloseUp();
  kind_ = value;
  SyncWidget();
}

void TDateTimePicker::SetDateMode(TDTDateMode value) {
  if (value == dateMode_) return;
  if (droppedDown_) CloseUp();
  dateMode_ = value;
  SyncWidget();
}

void TDateTimePicker::SetFormat(const AnsiString& value) {
  format_ = value;
  SyncWidget();
}

void TDateTimePicker::DropDown() {
  if (droppedDown_ || kind_ != dtkDate || dateMode_ != dmComboBox || !HandleAllocated() || !Enabled()) return;
  if (!calendar_) calendar_ = std::make_unique<TDateTimePickerCalendar>(this);
  calendar_->ApplyStyle(calendarStyle_);
  droppedDown_ = true;
  calendar_->Show(Widget(), value_);
  if (OnDropDown) OnDropDown(this);
}

void TDateTimePicker::CloseUp() {
  if (droppedDown_ && calendar_) calendar_->Hide();
}

void TDateTimePicker::CalendarClosed() {
  if (!droppedDown_) return;
  droppedDown_ = false;
  if (OnCloseUp) OnCloseUp(this);
}

void TDateTimePicker::SetCalendarStyle(Cardinal style) {
  calendarStyle_ = style;
  if (droppedDown_ && calendar_) calendar_->ApplyStyle(style);
}

TPoint TDateTimePicker::CalendarMinReqSize() const {
  if (!droppedDown_ || !calendar_) return {0, 0};
  const QSize s = calendar_->MinimumSize();
  return {s.width(), s.height()};
}

TPoint TDateTimePicker::CalendarSize() const {
  if (!droppedDown_ || !calendar_) return {0, 0};
  const QSize s = calendar_->Size();
  return {s.width(), s.height()};
}

void TDateTimePicker::SetCalendarSize(Integer width, Integer height) {
  if (droppedDown_ && calendar_) calendar_->Resize(width, height);
}

void TDateTimePicker::PickCalendarDate(rtl::TDateTime date) {
  if (droppedDown_ && calendar_) calendar_->Pick(ToQDateTime(date).date());
}

void TDateTimePicker::KeyDown(Word& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key == VK_F4 || (key == VK_DOWN && shift.Contains(ssAlt))) {
    if (kind_ == dtkDate && dateMode_ == dmComboBox) {
      DropDown();
      key = 0;
    }
  }
}

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

}  // namespace vcl
