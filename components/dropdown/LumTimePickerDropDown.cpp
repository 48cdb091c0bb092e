// The time picker drop-down: the time in the edit under a mask, the clock
// (and the platform's time picker) in the pop-up.
#include "dropdown/LumTimePickerDropDown.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "rtl/Locale.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

namespace {

void SplitTime(rtl::TDateTime t, Word& h, Word& m, Word& s) {
  Word ms = 0;
  rtl::DecodeTime(t, h, m, s, ms);
}

AnsiString TwoDigits(Word n) {
  AnsiString s = rtl::IntToStr(n);
  return s.size() == 1 ? "0" + s : s;
}

AnsiString TimeEditMask(bool seconds) {
  const AnsiString sep(1, rtl::FormatSettings().TimeSeparator);
  return seconds ? "!90" + sep + "00" + sep + "00;1; " : "!90" + sep + "00;1; ";
}

AnsiString TrimmedOfBlanks(const AnsiString& s) {
  size_t a = s.find_first_not_of(' ');
  if (a == AnsiString::npos) return "";
  size_t b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

// A field of one or two characters, each a digit; an empty one is 0.
bool DigitField(const AnsiString& f, Word& value) {
  if (f.empty()) {
    value = 0;
    return true;
  }
  if (f.size() > 2) return false;
  for (char c : f)
    if (c < '0' || c > '9') return false;
  value = static_cast<Word>(std::stoi(f));
  return true;
}

// One time separator without seconds, two with them, no more.
bool ValidTimeText(const AnsiString& text, bool seconds) {
  const char sep = rtl::FormatSettings().TimeSeparator;
  const auto seps = static_cast<size_t>(std::count(text.begin(), text.end(), sep));
  return seps == (seconds ? 2u : 1u);
}

AnsiString SpacesToZeros(AnsiString text) {
  for (char& c : text)
    if (c == ' ') c = '0';
  return text;
}

}  // namespace

TLumTimePickerDropDown::TLumTimePickerDropDown(TComponent* owner)
    : TLumCustomDropDown(owner),
      watchAppearance_(std::make_unique<TWatchAppearance>()),
      watchSettings_(std::make_unique<TWatchSettings>()) {
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  const AnsiString sep(1, rtl::FormatSettings().TimeSeparator);
  updating_ = true;
  SetEditMask(TimeEditMask(true));
  SetTextDirect("00" + sep + "00" + sep + "00");
  updating_ = false;
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  // The base made its pop-up while this part was not yet there.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TLumTimePickerDropDown::~TLumTimePickerDropDown() {
  if (watch_ != nullptr) watch_->OnChange = nullptr;
  if (timePicker_ != nullptr) timePicker_->OnChange = nullptr;
}

AnsiString TLumTimePickerDropDown::TimeText(Word hour, Word minute, Word second) const {
  const AnsiString sep(1, rtl::FormatSettings().TimeSeparator);
  AnsiString t = TwoDigits(hour) + sep + TwoDigits(minute);
  if (showSeconds_) t += sep + TwoDigits(second);
  return t;
}

void TLumTimePickerDropDown::WriteOwnText(const AnsiString& text) {
  const bool saved = updating_;
  updating_ = true;
  SetTextDirect(text);
  updating_ = saved;
}

void TLumTimePickerDropDown::SetTime(rtl::TDateTime value) {
  if (value == time_) return;
  time_ = value;
  Word h = 0, m = 0, s = 0;
  SplitTime(value, h, m, s);
  WriteOwnText(TimeText(h, m, s));
}

void TLumTimePickerDropDown::SetPart(int field, Word value) {
  Word h = 0, m = 0, s = 0;
  SplitTime(time_, h, m, s);
  Word* target = field == 0 ? &h : field == 1 ? &m : &s;
  const Word limit = field == 0 ? 23 : 59;
  if (value == *target || value > limit) return;
  *target = value;
  SetTime(std::trunc(time_) + rtl::EncodeTime(h, m, s, 0));
  if (OnTimeChange) OnTimeChange(this);
}

void TLumTimePickerDropDown::SetHourPart(Word hour) { SetPart(0, hour); }
void TLumTimePickerDropDown::SetMinutePart(Word minute) { SetPart(1, minute); }
void TLumTimePickerDropDown::SetSecondPart(Word second) { SetPart(2, second); }

void TLumTimePickerDropDown::SetShowSeconds(bool value) {
  if (value == showSeconds_) return;
  const rtl::TDateTime kept = time_;
  showSeconds_ = value;
  updating_ = true;
  SetEditMask("");
  SetTextDirect("");
  SetEditMask(TimeEditMask(value));
  updating_ = false;
  // Moved by a day so that setting the kept value writes the text again.
  time_ = kept + 1;
  SetTime(kept);
}

void TLumTimePickerDropDown::SetComponentStyle(controls::REZORuvar style) {
  TLumCustomDropDown::SetComponentStyle(style);
  watchAppearance_->ApplyStyle(style);
}

void TLumTimePickerDropDown::CreateDropDownForm() {
  TLumCustomDropDown::CreateDropDownForm();
  if (watchPanel_ == nullptr) {
    watchPanel_ = new TPanel(this);
    watchPanel_->SetParent(DropDownForm());
    watchPanel_->SetCtl3D(false);
    watchPanel_->SetBorderWidth(0);
    watchPanel_->SetBevelInner(bvNone);
    watchPanel_->SetBevelOuter(bvNone);
    watchPanel_->SetBounds(0, 0, 170, 180);
  }
  if (watch_ == nullptr) {
    watch_ = new TLumWatch(this);
    watch_->SetParent(watchPanel_);
    watch_->SetAlign(alClient);
  }
  SetDropDownControl(watchPanel_);
}

void TLumTimePickerDropDown::BeforeDropDown() {
  TLumCustomDropDown::BeforeDropDown();
  if (watchPanel_ == nullptr || watch_ == nullptr) return;
  DropDownForm()->SetCancelOnDeactivate(false);
  watchPanel_->SetColor(DropDownColor());
  watch_->SetAppearance(watchAppearance_.get());
  watch_->SetSettings(watchSettings_.get());
  watch_->SetShowAMPM(showWatchAMPM_);
  watch_->SetShowNumbers(showWatchNumbers_);
  watch_->SetAnimation(animation_);
  watch_->SetAnimationFactor(animationFactor_);
  watch_->OnChange = nullptr;
  if (!watchSettings_->Auto()) watch_->SetTime(time_);
  watch_->OnChange = [this](TObject*) { WatchChanged(); };
  Integer height = 170;
  if (!showTimePicker_) {
    if (timePicker_ != nullptr) timePicker_->SetVisible(false);
  } else {
    if (timePicker_ == nullptr) {
      timePicker_ = new TDateTimePicker(this);
      timePicker_->SetParent(watchPanel_);
      timePicker_->SetKind(dtkTime);
    }
    timePicker_->SetAlign(alBottom);
    timePicker_->SetVisible(true);
    timePicker_->OnChange = nullptr;
    timePicker_->SetTime(time_);
    timePicker_->BringToFront();
    timePicker_->OnChange = [this](TObject*) { PickerChanged(); };
    timePicker_->OnKeyDown = [this](TObject*, Word& key, TShiftState shift) { ControlKeyDown(key, shift); };
    timePicker_->OnKeyPress = [this](TObject*, WideChar& key) { ControlKeyPress(key); };
    timePicker_->OnKeyUp = [this](TObject*, Word& key, TShiftState shift) { ControlKeyUp(key, shift); };
    timePicker_->SetFormat(showSeconds_ ? "hh:nn:ss" : "hh:nn");
    height += timePicker_->Height();
  }
  // The pop-up takes its size from the content when the content is handed
  // over, so the resized panel is handed over again.
  SetDropDownControl(nullptr);
  watchPanel_->SetAlign(alNone);
  watchPanel_->SetBounds(0, 0, 170, height);
  SetDropDownControl(watchPanel_);
}

void TLumTimePickerDropDown::WatchChanged() {
  if (timePicker_ != nullptr && showTimePicker_ && timePicker_->Time() != watch_->Time() - std::trunc(watch_->Time())) {
    timePicker_->OnChange = nullptr;
    timePicker_->SetTime(watch_->Time());
    timePicker_->OnChange = [this](TObject*) { PickerChanged(); };
    if (OnTimeChange) OnTimeChange(this);
  }
  SetTime(watch_->Time());
}

void TLumTimePickerDropDown::PickerChanged() {
  if (!watchSettings_->Auto() && watch_ != nullptr) watch_->SetTime(timePicker_->Time());
}

void TLumTimePickerDropDown::HideDropDown(bool cancelled) {
  TLumCustomDropDown::HideDropDown(cancelled);
  if (watch_ == nullptr) return;
  if (cancelled) {
    watch_->OnChange = nullptr;
    watch_->SetTime(time_);
  } else {
    SetTime(watch_->Time());
  }
}

void TLumTimePickerDropDown::DropDownFormHide() {
  TLumCustomDropDown::DropDownFormHide();
  if (watch_ != nullptr) SetTime(watch_->Time());
}

bool TLumTimePickerDropDown::KeptInPopup(Word key, TShiftState shift) {
  // The clock uses these; with Alt they are the drop-down's.
  return !shift.Contains(ssAlt) && (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN);
}

void TLumTimePickerDropDown::DropDownFormKeyDown(Word& key, TShiftState shift) {
  if (!KeptInPopup(key, shift)) TLumCustomDropDown::DropDownFormKeyDown(key, shift);
  if (watch_ != nullptr && DropDownForm() != nullptr && DropDownForm()->Visible()) watch_->HandleKey(key);
}

void TLumTimePickerDropDown::DropDownFormKeyUp(Word& key, TShiftState shift) {
  if (!KeptInPopup(key, shift)) TLumCustomDropDown::DropDownFormKeyUp(key, shift);
}

void TLumTimePickerDropDown::ControlKeyDown(Word& key, TShiftState shift) {
  if (!KeptInPopup(key, shift)) TLumCustomDropDown::ControlKeyDown(key, shift);
}

void TLumTimePickerDropDown::ControlKeyUp(Word& key, TShiftState shift) {
  if (!KeptInPopup(key, shift)) TLumCustomDropDown::ControlKeyUp(key, shift);
}

void TLumTimePickerDropDown::ControlKeyPress(WideChar& key) {
  // The characters of Page Up, Page Down, Left... as a key press would
  // carry them are not text for the edit.
  if ((key == u'!' || key == u'"' || key == u'&' || key == u'(') && GetKeyState(VK_MENU) >= 0) return;
  TLumCustomDropDown::ControlKeyPress(key);
}

void TLumTimePickerDropDown::StepField(bool up) {
  const Integer p = SelStart();
  const AnsiString t = EditText();
  const char sep = rtl::FormatSettings().TimeSeparator;
  const size_t s1 = t.find(sep);
  const size_t s2 = s1 == AnsiString::npos ? AnsiString::npos : t.find(sep, s1 + 1);
  Word h = 0, m = 0, s = 0;
  SplitTime(time_, h, m, s);
  const Integer first = s1 == AnsiString::npos ? Integer(t.size()) : Integer(s1);
  if (p <= first) {
    SetHourPart(up ? (h == 0 ? 23 : h - 1) : (h == 23 ? 0 : h + 1));
  } else if (showSeconds_ && s2 != AnsiString::npos && p > Integer(s2)) {
    SetSecondPart(up ? (s == 0 ? 59 : s - 1) : (s == 59 ? 0 : s + 1));
  } else {
    SetMinutePart(up ? (m == 0 ? 59 : m - 1) : (m == 59 ? 0 : m + 1));
  }
  SetSelStart(p);
}

void TLumTimePickerDropDown::Dispatch(TMessage& m) {
  if (m.Msg == WM_KEYDOWN && (m.WParam == VK_UP || m.WParam == VK_DOWN) && GetKeyState(VK_MENU) >= 0 &&
      GetKeyState(VK_CONTROL) >= 0 && !ComponentState().Contains(csDesigning)) {
    StepField(m.WParam == VK_UP);
    m.Result = 1;
    return;
  }
  TLumCustomDropDown::Dispatch(m);
}

void TLumTimePickerDropDown::Change() {
  TLumCustomDropDown::Change();
  if (updating_) return;
  // A complete text: with seconds eight characters, else five (the grid's
  // time editor writes whole cell texts into the edit).
  // The mask keeps the edit text whole, so a one-digit hour stands as " 7".
  const AnsiString text = EditText();
  if (text.size() != (showSeconds_ ? 8u : 5u)) return;
  if (!ValidTimeText(text, showSeconds_)) return;
  const char sep = rtl::FormatSettings().TimeSeparator;
  const AnsiString t = SpacesToZeros(text);
  const size_t s1 = t.find(sep);
  const size_t s2 = showSeconds_ ? t.find(sep, s1 + 1) : AnsiString::npos;
  Word h = 0, m = 0, s = 0;
  if (!DigitField(TrimmedOfBlanks(t.substr(0, s1)), h)) return;
  if (!DigitField(TrimmedOfBlanks(t.substr(s1 + 1, s2 == AnsiString::npos ? AnsiString::npos : s2 - s1 - 1)), m)) return;
  if (s2 != AnsiString::npos && !DigitField(TrimmedOfBlanks(t.substr(s2 + 1)), s)) return;
  // An hour past 23 or a minute or second past 59 leaves the time alone.
  if (h > 23 || m > 59 || s > 59) return;
  time_ = std::trunc(time_) + rtl::EncodeTime(h, m, s, 0);
  const AnsiString shown = TimeText(h, m, s);
  if (shown != EditText() && m == 0 && s == 0) WriteOwnText(shown);
}

}  // namespace dropdown
