// The calculator drop-down: a left-to-right four-function machine over the
// edit's float entry rules, driven by the keypad, the pop-up's keys and
// the edit's own keys.
#include "dropdown/LumCalculatorDropdown.h"

#include <cmath>

#include "dropdown/LumDropDownEntry.h"
#include "rtl/Convert.h"
#include "rtl/Format.h"
#include "rtl/Locale.h"
#include "rtl/Strings.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

namespace {

constexpr Integer kAdd = 0, kMultiply = 1, kSubtract = 2, kDivide = 3;

bool IsCalcDigit(WideChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

TLumCalculatorDropdown::TLumCalculatorDropdown(TComponent* owner)
    : TLumCustomDropDown(owner), calcButtonAppearance_(std::make_unique<TButtonAppearance>()) {
  SetDropDownColor(0xFFFFFF);
  SetDropDownWidth(230);
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  SetEditKind(TEditKind::ekFloat);
  SetPrecision(2);
  // The base made its pop-up while this part was not yet there.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TLumCalculatorDropdown::~TLumCalculatorDropdown() {
  if (buttonPanel_ != nullptr) buttonPanel_->OnButtonClick = nullptr;
}

void TLumCalculatorDropdown::SetShowThousandSeparator(bool v) {
  if (v == showThousandSeparator_) return;
  showThousandSeparator_ = v;
  const double value = GetFloatValue();
  SetEditKind(v ? TEditKind::ekFloatThousands : TEditKind::ekFloat);
  SetFloatValue(value);
}

void TLumCalculatorDropdown::SetComponentStyle(controls::REZORuvar style) {
  TLumCustomDropDown::SetComponentStyle(style);
  TLumButtonAppearance* b = ButtonAppearance();
  TButtonAppearance& c = *calcButtonAppearance_;
  c.SetBorderColor(b->BorderColor());
  c.SetBorderColorHot(b->BorderColorHot());
  c.SetBorderColorDown(b->BorderColorDown());
  c.SetColor(b->Color());
  c.SetColorTo(b->ColorTo());
  c.SetColorHot(b->ColorHot());
  c.SetColorHotTo(b->ColorHotTo());
  c.SetColorDown(b->ColorDown());
  c.SetColorDownTo(b->ColorDownTo());
  c.GlowColorHot = b->ColorDownTo();
}

void TLumCalculatorDropdown::CreateDropDownForm() {
  TLumCustomDropDown::CreateDropDownForm();
  if (buttonPanel_ != nullptr || DropDownForm() == nullptr) return;
  buttonPanel_ = new TCustomButtonPanel(this);
  buttonPanel_->SetParent(DropDownForm());
  buttonPanel_->SetLinkedCalculator(this);
  buttonPanel_->SetBounds(0, 0, 228, 150);
  buttonPanel_->BuildButtons();
  SetDropDownControl(buttonPanel_);
  buttonPanel_->OnButtonClick = [this](TObject* sender, Integer index) { ButtonClick(sender, index); };
}

void TLumCalculatorDropdown::BeforeDropDown() {
  TLumCustomDropDown::BeforeDropDown();
  if (DropDownForm() != nullptr) DropDownForm()->SetCancelOnDeactivate(false);
  if (buttonPanel_ != nullptr) {
    buttonPanel_->SetAppearance(calcButtonAppearance_.get());
    buttonPanel_->SetColor(DropDownColor());
    buttonPanel_->LayoutButtons();
    buttonPanel_->Invalidate();
  }
  newNumber_ = true;
  decimalDivisor_ = 0;
  keyboardActive_ = false;
}

// --- the machine ---

bool TLumCalculatorDropdown::TextValue(long double& value) const {
  // The entry rules' own reading, in the locale's separators.
  const TNumberClass c = ClassifyNumber(Text());
  if (c != TNumberClass::ncInteger && c != TNumberClass::ncDecimal) return false;
  value = ToFloat(Text());
  return true;
}

void TLumCalculatorDropdown::ShowValue(long double value) {
  SetFloatValue(static_cast<double>(value));
}

void TLumCalculatorDropdown::EvaluatePending() {
  if (Text().empty() || Text() == "Error") SetText("0");
  long double a = 0;
  TextValue(a);
  switch (pendingOperator_) {
    case kAdd: accumulator_ += a; break;
    case kMultiply: accumulator_ *= a; break;
    case kSubtract: accumulator_ -= a; break;
    case kDivide:
      if (a == 0) {
        accumulator_ = 0;
        SetText("Error");
        return;
      }
      accumulator_ /= a;
      break;
    default: {
      long double again = 0;
      accumulator_ = TextValue(again) ? again : 0;
      break;
    }
  }
  ShowValue(accumulator_);
  newNumber_ = true;
}

void TLumCalculatorDropdown::DoAdd() {
  EvaluatePending();
  pendingOperator_ = kAdd;
}

void TLumCalculatorDropdown::DoSubtract() {
  EvaluatePending();
  pendingOperator_ = kSubtract;
}

void TLumCalculatorDropdown::DoMultiply() {
  EvaluatePending();
  pendingOperator_ = kMultiply;
}

void TLumCalculatorDropdown::DoDivide() {
  EvaluatePending();
  pendingOperator_ = kDivide;
}

void TLumCalculatorDropdown::DoEquals() {
  EvaluatePending();
  if (Text().empty()) SetText("0");
  pendingOperator_ = -1;
  long double shown = 0;
  if (Text() != "Error" && TextValue(shown)) accumulator_ = shown;
}

void TLumCalculatorDropdown::DoPercent() {
  if (Text().empty() || Text() == "Error") SetText("0");
  long double x = 0;
  TextValue(x);
  SetText(rtl::Format("%g", {static_cast<double>(accumulator_ * x / 100)}));
}

void TLumCalculatorDropdown::Clear() {
  SetText("0");
  accumulator_ = 0;
  pendingOperator_ = -1;
}

bool TLumCalculatorDropdown::AtMaxLength() const {
  return MaxLength() > 0 && static_cast<Integer>(Text().size()) >= MaxLength();
}

void TLumCalculatorDropdown::ButtonClick(TObject*, Integer index) {
  if (buttonPanel_ == nullptr || index < 0 || index >= buttonPanel_->Buttons()->Count()) return;
  RunCommand(buttonPanel_->Buttons()->Items(index)->Tag());
}

void TLumCalculatorDropdown::RunCommand(Integer tag) {
  CalcHook();
  if ((tag >= 10 && tag <= 14) || (tag >= 16 && tag <= 18)) decimalDivisor_ = 0;
  if (((tag >= 0 && tag <= 9) || tag == 14 || tag == 15) && AtMaxLength()) return;
  if (tag >= 0 && tag <= 9) {
    long double v = GetFloatValue();
    if ((v == 0 && decimalDivisor_ == 0) || newNumber_) {
      SetText(rtl::IntToStr(tag));
      newNumber_ = false;
    } else {
      if (decimalDivisor_ == 0) {
        v = v >= 0 ? v * 10 + tag : v * 10 - tag;
      } else {
        v = v >= 0 ? v + static_cast<long double>(tag) / decimalDivisor_
                   : v - static_cast<long double>(tag) / decimalDivisor_;
        decimalDivisor_ *= 10;
      }
      ShowValue(v);
    }
  }
  const char decimal = rtl::FormatSettings().DecimalSeparator;
  switch (tag) {
    case 10: DoAdd(); break;
    case 11: DoSubtract(); break;
    case 12: DoMultiply(); break;
    case 13: DoDivide(); break;
    case 14: {
      AnsiString t = Text();
      if (t.find('-') != AnsiString::npos)
        t.erase(0, 1);
      else
        t = "-" + t;
      SetText(t);
      break;
    }
    case 15: {
      AnsiString t = Text();
      if (t.find(decimal) == AnsiString::npos) SetText(t + decimal);
      decimalDivisor_ = 10;
      if (newNumber_) SetText("0");
      newNumber_ = false;
      break;
    }
    case 16:
    case 30:
    case 32: Clear(); break;
    case 17: DoEquals(); break;
    case 18: DoPercent(); break;
    case 31:
      if (pendingOperator_ == -1) {
        AnsiString t = rtl::FloatToStr(GetFloatValue());
        if (!t.empty()) t.pop_back();
        SetText(t);
      }
      break;
    case 33: memory_ = 0; break;
    case 34: ShowValue(memory_); break;
    case 35:
    case 36: {
      // A text that is no number (such as "Error") leaves the memory as it
      // was; thousands separators are read as the entry rules read them.
      long double v = 0;
      if (TextValue(v)) memory_ = tag == 35 ? v : memory_ + v;
      break;
    }
    case 37: {
      const long double v = GetFloatValue();
      if (v >= 0)
        ShowValue(std::sqrt(v));
      else
        SetText("Error");
      break;
    }
    case 38: {
      const long double v = GetFloatValue();
      if (v != 0)
        ShowValue(1 / v);
      else
        SetText("Error");
      break;
    }
    default: break;
  }
  TLumCustomDropDown::SetModified(true);
}

// --- keys ---

void TLumCalculatorDropdown::CalcKeyPress(WideChar& key) {
  const bool popupHidden = DropDownForm() != nullptr && !DropDownForm()->Visible();
  if (keyboardActive_ || popupHidden) {
    switch (key) {
      case 13:
      case u'=': DoEquals(); break;
      case u'%': DoPercent(); break;
      case u'*': DoMultiply(); break;
      case u'+': DoAdd(); break;
      case u'-': DoSubtract(); break;
      case u'/': DoDivide(); break;
      case u'C':
      case u'c':
        SetText("0");
        newNumber_ = true;
        pendingOperator_ = -1;
        break;
      default: break;
    }
  }
  const auto& settings = rtl::FormatSettings();
  if (key != 8 && key != u'-' && !IsCalcDigit(key) && key != static_cast<WideChar>(settings.DecimalSeparator)) {
    key = 0;
    return;
  }
  if (IsCalcDigit(key) && (Text() == "0" || newNumber_)) {
    SetText(AnsiString(1, static_cast<char>(key)));
    SetSelStart(static_cast<Integer>(Text().size()));
    newNumber_ = false;
    key = 0;
    return;
  }
  if (key == 8 && Text().size() == 1) {
    SetText("0");
    SetSelStart(1);
    key = 0;
    return;
  }
  if (key == static_cast<WideChar>(settings.ThousandSeparator)) key = 0;
  if (key == static_cast<WideChar>(settings.DecimalSeparator) && Text().find(settings.DecimalSeparator) != AnsiString::npos)
    key = 0;
}

void TLumCalculatorDropdown::CalcKey(WideChar key) {
  CalcHook();
  const char decimal = rtl::FormatSettings().DecimalSeparator;
  if (key == static_cast<WideChar>(decimal) && Text().find(decimal) == AnsiString::npos) SetText(Text() + decimal);
  if (IsCalcDigit(key) && AtMaxLength()) return;
  switch (key) {
    case 13:
      DoEquals();
      HideDropDown(false);
      break;
    case 27: HideDropDown(true); break;
    case u'%': DoPercent(); break;
    case u'*': DoMultiply(); break;
    case u'+': DoAdd(); break;
    case u'-': DoSubtract(); break;
    case u'/': DoDivide(); break;
    case u'=': DoEquals(); break;
    case u'C':
    case u'c':
      SetText("0");
      accumulator_ = 0;
      newNumber_ = true;
      pendingOperator_ = -1;
      break;
    default:
      if (IsCalcDigit(key) && (Text() == "0" || newNumber_)) newNumber_ = false;
      break;
  }
}

void TLumCalculatorDropdown::DropDownFormKeyPress(WideChar& key) {
  const WideChar typed = key;
  TLumCustomDropDown::DropDownFormKeyPress(key);
  CalcKey(typed);
}

void TLumCalculatorDropdown::DropDownFormKeyDown(Word& key, TShiftState shift) {
  TLumCustomDropDown::DropDownFormKeyDown(key, shift);
  if (key == VK_TAB || key == VK_F4) {
    HideDropDown(false);
  } else if (key == VK_BACK) {
    AnsiString t = Text();
    if (!t.empty()) t.pop_back();
    SetText(t.empty() || t == "Error" ? AnsiString("0") : t);
  }
}

void TLumCalculatorDropdown::Dispatch(TMessage& m) {
  if (m.Msg == WM_CHAR && !ComponentState().Contains(csDesigning)) {
    // The calculator reads the character before the entry rules type what
    // is left of it into the field.
    auto key = static_cast<WideChar>(m.WParam);
    CalcKeyPress(key);
    if (key == 0) {
      m.Result = 1;
      return;
    }
    m.WParam = key;
    TLumCustomDropDown::Dispatch(m);
    return;
  }
  if (m.Msg == CM_ENTER) {
    if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    TLumCustomDropDown::Dispatch(m);
    return;
  }
  const bool deleteKey = m.Msg == WM_KEYDOWN && m.WParam == VK_DELETE;
  TLumCustomDropDown::Dispatch(m);
  if (deleteKey && (Text().empty() || Text() == "Error")) SetText("0");
}

}  // namespace dropdown
