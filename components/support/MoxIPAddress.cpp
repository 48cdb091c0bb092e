#include "support/MoxIPAddress.h"

#include "rtl/Convert.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace support {

using namespace vcl;

// ----------------------------------------------------------------- range

void TMoxIPAddressRange::SetFieldMin(Integer field, Byte v) {
  min_.at(static_cast<size_t>(field)) = v;
  if (control_) control_->SendRange(field);
}

void TMoxIPAddressRange::SetFieldMax(Integer field, Byte v) {
  max_.at(static_cast<size_t>(field)) = v;
  if (control_) control_->SendRange(field);
}

void TMoxIPAddressRange::Assign(const TPersistent* source) {
  auto* s = dynamic_cast<const TMoxIPAddressRange*>(source);
  if (!s) {
    TPersistent::Assign(source);
    return;
  }
  min_ = s->min_;
  max_ = s->max_;
  if (control_)
    for (Integer i = 0; i < 4; ++i) control_->SendRange(i);
}

// ---------------------------------------------------------------- values

Cardinal TMoxIPAddressValues::Address() const {
  return (Cardinal(values_[0]) << 24) | (Cardinal(values_[1]) << 16) | (Cardinal(values_[2]) << 8) | values_[3];
}

void TMoxIPAddressValues::SetAddress(Cardinal v) {
  if (v == Address()) return;
  bool any = false;
  for (Integer i = 0; i < 4; ++i) {
    const auto b = static_cast<Byte>((v >> (24 - 8 * i)) & 0xFF);
    if (!ValueChanging(i, b)) continue;
    values_[static_cast<size_t>(i)] = b;
    any = true;
  }
  if (any) ValuesChanged();
}

void TMoxIPAddressValues::SetValue(Integer index, Byte v) {
  if (index < 0 || index > 3 || values_[static_cast<size_t>(index)] == v) return;
  values_[static_cast<size_t>(index)] = v;
  ValuesChanged();
}

void TMoxIPAddressValues::ValuesChanged() {
  if (OnChange) OnChange(this);
}

bool TMoxIPAddressValues::ValueChanging(Integer index, Byte value) {
  bool allow = true;
  if (OnChanging) OnChanging(this, index, value, allow);
  return allow;
}

// --------------------------------------------------------- field adapter

void TMoxIPEditControlHelper::Hook(TWinControl* window) {
  Unhook();
  window_ = window;
  hookId_ = window->AddWindowHook([this](TMessage& m, const TControl::TWndMethod& next) { WindowProc(m, next); });
}

void TMoxIPEditControlHelper::Unhook() {
  if (!window_) return;
  window_->RemoveWindowHook(hookId_);
  window_ = nullptr;
  hookId_ = 0;
}

void TMoxIPEditControlHelper::WindowProc(TMessage& m, const TControl::TWndMethod& next) {
  switch (m.Msg) {
    case WM_DESTROY:
      next(m);
      Unhook();
      return;
    case CM_ENABLEDCHANGED:
      if (control_->ComponentState().Contains(csDesigning)) return;
      next(m);
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR: {
      // The control sees every key first (its key events, Tab between the
      // fields); Tab goes no further.
      control_->WindowProc(m);
      if (static_cast<Word>(m.WParam) == VK_TAB && m.Msg != WM_CHAR && m.Msg != WM_SYSCHAR) return;
      if (m.Msg == WM_CHAR && static_cast<Word>(m.WParam) == u'\t') return;
      m.Result = 0;
      next(m);
      return;
    }
    default: next(m);
  }
}

// --------------------------------------------------------------- control

TMoxIPAddress::TMoxIPAddress(TComponent* owner)
    : TMoxExCustomControl(owner),
      range_(std::make_unique<TMoxIPAddressRange>(this)),
      values_(std::make_unique<TMoxIPAddressValues>()),
      engine_(std::make_unique<TIPAddressWindow>(this)) {
  values_->OnChanging = [this](TObject*, Integer index, Byte value, bool& allow) {
    allow = index >= 0 && index <= 3 && range_->FieldMin(index) <= value && value <= range_->FieldMax(index);
  };
  values_->OnChange = [this](TObject*) { SetAddress(values_->Address()); };
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetWidth(150);
  UpdateHeight();
  for (auto& h : helpers_) h = std::make_unique<TMoxIPEditControlHelper>(this);
}

TMoxIPAddress::~TMoxIPAddress() {
  for (auto& h : helpers_) h->Unhook();
  values_->OnChange = nullptr;
  values_->OnChanging = nullptr;
  range_->control_ = nullptr;
}

TIPAddressField* TMoxIPAddress::Field(Integer index) const {
  return engine_->FieldCount() ? engine_->Field(index) : nullptr;
}

void TMoxIPAddress::UpdateHeight() {
  TBitmap measure(1, 1);
  measure.Canvas()->SetFont(Font());
  SetHeight(measure.Canvas()->TextHeight("0") + 8 * GetSystemMetrics(SM_CYBORDER));
}

void TMoxIPAddress::CreateParams(TCreateParams& params) {
  TMoxExCustomControl::CreateParams(params);
  params.WinClassName = kIPAddressClass;
  params.Style |= WS_CHILD;
  params.ClassStyle &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TMoxIPAddress::SendRange(Integer field) {
  if (!HandleAllocated()) return;
  Perform(IPM_SETRANGE, static_cast<WPARAM>(field), MakeIPRange(range_->FieldMin(field), range_->FieldMax(field)));
}

void TMoxIPAddress::SetAddress(Cardinal v) {
  if (v == address_) return;
  address_ = v;
  if (HandleAllocated()) Perform(IPM_SETADDRESS, 0, static_cast<LPARAM>(v));
  values_->SetAddress(v);
}

void TMoxIPAddress::ApplyTextValues(const AnsiString& s) {
  const auto bytes = ParseIPAddressText(s);
  for (Integer i = 0; i < 4; ++i) values_->SetValue(i, bytes[static_cast<size_t>(i)]);
}

AnsiString TMoxIPAddress::GetText() {
  if (HandleAllocated() && engine_->FieldCount()) {
    AnsiString shown;
    for (Integer i = 0; i < 4; ++i) shown += (i ? "." : "") + engine_->Field(i)->FieldText();
    // Reading changes nothing the user sees: the values and the address
    // take the fields (blank ones as 0) without going back to the window.
    values_->values_ = ParseIPAddressText(shown);
    address_ = values_->Address();
  }
  text_ = FormatIPAddressText(values_->values_);
  return text_;
}

void TMoxIPAddress::SetText(const AnsiString& s) {
  ApplyTextValues(s);
  text_ = FormatIPAddressText(values_->values_);
  // The window shows the values, blank fields included.
  if (HandleAllocated()) Perform(IPM_SETADDRESS, 0, static_cast<LPARAM>(values_->Address()));
  Invalidate();
}

void TMoxIPAddress::Clear() {
  // The values first: setting them shows them, and the fields are to end
  // up empty.
  values_->SetAddress(0);
  if (HandleAllocated()) Perform(IPM_CLEARADDRESS);
}

bool TMoxIPAddress::IsBlank() { return HandleAllocated() && Perform(IPM_ISBLANK) != 0; }

bool TMoxIPAddress::FieldsEnabled() const { return Enabled() && !ComponentState().Contains(csDesigning); }

void TMoxIPAddress::MoveToNeighbour(bool forward) {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  if (TWinControl* next = form->FindNextControl(this, forward, true, false); next && next != this) next->SetFocus();
}

void TMoxIPAddress::QueryDialogCodes(TDlgCodes& codes) {
  codes.Include(dcWantArrows);
  if (tabThroughFields_) codes.Include(dcWantTab);
}

void TMoxIPAddress::DefaultHandler(TMessage& m) {
  if (!engine_->WndProc(m)) TMoxExCustomControl::DefaultHandler(m);
}

void TMoxIPAddress::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CREATE: {
      for (auto& h : helpers_) h->Unhook();
      hookedCount_ = 0;
      const bool outer = changing_;
      changing_ = true;
      TMoxExCustomControl::Dispatch(m);
      engine_->WndProc(m);
      for (Integer i = 0; i < 4; ++i) SendRange(i);
      if (savedBlank_) {
        Clear();
      } else {
        Perform(IPM_SETADDRESS, 0, static_cast<LPARAM>(address_));
        values_->SetAddress(address_);
      }
      changing_ = outer;
      return;
    }
    case WM_DESTROY:
      savedBlank_ = IsBlank();
      engine_->WndProc(m);
      TMoxExCustomControl::Dispatch(m);
      return;
    case WM_PARENTNOTIFY: {
      const Word event = LoWord(static_cast<uintptr_t>(m.WParam));
      if (event == WM_CREATE && hookedCount_ < 4) {
        if (auto* field = dynamic_cast<TWinControl*>(FindControl(static_cast<HWND>(m.LParam)))) {
          helpers_[static_cast<size_t>(hookedCount_++)]->Hook(field);
          field->SetEnabled(FieldsEnabled());
        }
      } else if (event == WM_DESTROY) {
        for (auto& h : helpers_) h->Unhook();
        hookedCount_ = 0;
      }
      return;
    }
    case WM_SETFOCUS:
      if (focusFromField_) {
        TMoxExCustomControl::Dispatch(m);
        return;
      }
      TMoxExCustomControl::Dispatch(m);
      engine_->WndProc(m);
      return;
    case WM_SIZE:
      TMoxExCustomControl::Dispatch(m);
      engine_->WndProc(m);
      return;
    case WM_KEYDOWN:
      if (static_cast<Word>(m.WParam) == VK_TAB) {
        const bool back = KeyboardStateToShiftState().Contains(ssShift);
        m.Result = 1;
        if (!tabThroughFields_) {
          // Leaves the control at once, either way.
          MoveToNeighbour(!back);
          return;
        }
        const Integer index = engine_->FocusedField();
        const Integer next = back ? index - 1 : index + 1;
        if (next >= 0 && next < engine_->FieldCount())
          engine_->FocusField(next, true);
        else if (next >= engine_->FieldCount())
          MoveToNeighbour(true);
        else if (next == -1)
          MoveToNeighbour(false);
        return;
      }
      TMoxExCustomControl::Dispatch(m);
      return;
    case WM_KEYUP:
      if (static_cast<Word>(m.WParam) == VK_TAB) {
        m.Result = 1;
        return;
      }
      TMoxExCustomControl::Dispatch(m);
      return;
    case CN_COMMAND: {
      switch (HiWord(static_cast<uintptr_t>(m.WParam))) {
        case EN_SETFOCUS: {
          // The class library's focus handling, once, for the whole control.
          focusFromField_ = true;
          TMessage focus{WM_SETFOCUS, 0, 0, 0};
          Dispatch(focus);
          focusFromField_ = false;
          return;
        }
        case EN_KILLFOCUS: {
          const bool outer = changing_;
          changing_ = true;
          // Empty fields between filled ones show the stored bytes again.
          if (!IsBlank()) Perform(IPM_SETADDRESS, 0, static_cast<LPARAM>(address_));
          changing_ = outer;
          return;
        }
        case EN_CHANGE: {
          Cardinal a = 0;
          Perform(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a));
          address_ = a;
          for (Integer i = 0; i < 4; ++i) values_->values_[static_cast<size_t>(i)] = static_cast<Byte>(a >> (24 - 8 * i));
          if (!changing_ && OnChange) OnChange(this);
          return;
        }
        default: return;
      }
    }
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (hdr && hdr->code == IPN_FIELDCHANGED) {
        auto* nm = reinterpret_cast<NMIPADDRESS*>(m.LParam);
        if (OnFieldChange && nm->iField >= 0 && nm->iField < 4) {
          Integer value = nm->iValue;
          OnFieldChange(this, nm->iField, {range_->FieldMin(nm->iField), range_->FieldMax(nm->iField)}, value);
          nm->iValue = value;
        }
      }
      return;
    }
    case WM_CTLCOLOREDIT: {
      auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
      fieldBrush_.SetColor(Color());
      fieldBrush_.SetStyle(bsSolid);
      if (canvas) {
        canvas->Font()->SetColor(Font()->Color());
        canvas->Brush()->SetColor(fieldBrush_.Color());
        canvas->Brush()->SetStyle(bsClear);
      }
      m.Result = reinterpret_cast<LRESULT>(&fieldBrush_);
      return;
    }
    default: TMoxExCustomControl::Dispatch(m);
  }
}

void TMoxIPAddress::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(ClientRect());
  c->SetFont(Font());
  for (Integer i = 0; i + 1 < engine_->FieldCount(); ++i) {
    const TRect a = engine_->Field(i)->BoundsRect(), b = engine_->Field(i + 1)->BoundsRect();
    c->TextOut(a.Right + (b.Left - a.Right) / 2, a.Top, ".");
  }
}

void TMoxIPAddress::EnabledChange() {
  TMoxExCustomControl::EnabledChange();
  for (Integer i = 0; i < 4; ++i)
    if (TWinControl* w = helpers_[static_cast<size_t>(i)]->Window()) w->SetEnabled(FieldsEnabled());
}

void TMoxIPAddress::ColorChange() {
  TMoxExCustomControl::ColorChange();
  Invalidate();
  for (Integer i = 0; i < engine_->FieldCount(); ++i) engine_->Field(i)->Invalidate();
}

void TMoxIPAddress::FontChange() {
  TMoxExCustomControl::FontChange();
  UpdateHeight();
  Invalidate();
  for (Integer i = 0; i < engine_->FieldCount(); ++i) engine_->Field(i)->Invalidate();
}

}  // namespace support
