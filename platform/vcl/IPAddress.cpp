#include "vcl/IPAddress.h"

#include <algorithm>

#include "rtl/Convert.h"

namespace vcl {

// --------------------------------------------------------------- field

TIPAddressField::TIPAddressField(TIPAddressWindow* owner, TWinControl* host, Integer index)
    : TCustomControl(nullptr), owner_(owner), host_(host), index_(index) {
  SetTabStop(false);
  SetParentFont(true);
}

bool TIPAddressField::HasFocus() const { return HandleAllocated() && Focused(); }

void TIPAddressField::SetFieldText(const AnsiString& s) {
  textValue_ = s;
  selStart_ = std::min<Integer>(selStart_, static_cast<Integer>(s.size()));
  selLength_ = 0;
  Invalidate();
}

void TIPAddressField::SetSel(Integer start, Integer length) {
  const Integer n = static_cast<Integer>(textValue_.size());
  selStart_ = std::clamp<Integer>(start, 0, n);
  selLength_ = std::clamp<Integer>(length, 0, n - selStart_);
  Invalidate();
}

void TIPAddressField::Replace(const AnsiString& with) {
  textValue_.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_), with);
  selStart_ += static_cast<Integer>(with.size());
  selLength_ = 0;
  Changed();
}

void TIPAddressField::Changed() {
  Invalidate();
  if (host_->HandleAllocated())
    host_->Perform(CN_COMMAND, MakeWParam(static_cast<Word>(index_), EN_CHANGE), static_cast<LPARAM>(Handle()));
}

void TIPAddressField::Dispatch(TMessage& m) {
  const Integer n = static_cast<Integer>(textValue_.size());
  const Integer caret = selStart_ + selLength_;
  switch (m.Msg) {
    case WM_CHAR: {
      const auto ch = static_cast<char16_t>(m.WParam);
      const bool movedOn = movedOnByDigit_;
      movedOnByDigit_ = false;
      m.Result = 1;
      if (ch >= u'0' && ch <= u'9') {
        if (selLength_ == 0 && n >= 3) return;
        Replace(AnsiString(1, static_cast<char>(ch)));
        if (textValue_.size() == 3 && selStart_ == 3 && index_ < 3) {
          owner_->FocusField(index_ + 1, true);
          owner_->Field(index_ + 1)->movedOnByDigit_ = true;
        }
      } else if ((ch == u'.' || ch == u' ') && n > 0 && index_ < 3 && !movedOn) {
        owner_->FocusField(index_ + 1, true);
      }
      return;
    }
    case WM_KEYDOWN: {
      const auto vk = static_cast<Word>(m.WParam);
      // Editing and moving keys end the state a third digit left; a
      // character's own key-down does not.
      if (vk == VK_BACK || vk == VK_DELETE || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_HOME || vk == VK_END)
        movedOnByDigit_ = false;
      m.Result = 1;
      switch (vk) {
        case VK_BACK:
          if (selLength_ > 0) {
            Replace("");
          } else if (caret == 0) {
            if (index_ > 0) owner_->FocusField(index_ - 1, false, true);
          } else {
            SetSel(caret - 1, 1);
            Replace("");
          }
          return;
        case VK_DELETE:
          if (selLength_ == 0 && caret < n) SetSel(caret, 1);
          if (selLength_ > 0) Replace("");
          return;
        case VK_LEFT:
          if (caret == 0 && index_ > 0)
            owner_->FocusField(index_ - 1, false, true);
          else
            SetSel(selLength_ > 0 ? selStart_ : caret - 1, 0);
          return;
        case VK_RIGHT:
          if (caret == n && index_ < 3)
            owner_->FocusField(index_ + 1, false);
          else
            SetSel(selLength_ > 0 ? caret : caret + 1, 0);
          return;
        case VK_HOME: SetSel(0, 0); return;
        case VK_END: SetSel(n, 0); return;
        default: m.Result = 0; TCustomControl::Dispatch(m); return;
      }
    }
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_LBUTTONDOWN:
      if (CanFocus()) SetFocus();
      SetSel(n, 0);
      TCustomControl::Dispatch(m);
      return;
    case WM_SETFOCUS:
      TCustomControl::Dispatch(m);
      Invalidate();
      host_->Perform(CN_COMMAND, MakeWParam(static_cast<Word>(index_), EN_SETFOCUS), static_cast<LPARAM>(Handle()));
      return;
    case WM_KILLFOCUS:
      movedOnByDigit_ = false;
      TCustomControl::Dispatch(m);
      owner_->FieldLeft(this);
      Invalidate();
      host_->Perform(CN_COMMAND, MakeWParam(static_cast<Word>(index_), EN_KILLFOCUS), static_cast<LPARAM>(Handle()));
      return;
    default: TCustomControl::Dispatch(m);
  }
}

void TIPAddressField::Paint() {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  c->Brush()->SetColor(clWindow);
  const LRESULT brush = host_->Perform(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(c), static_cast<LPARAM>(Handle()));
  const TColor back = brush ? reinterpret_cast<TBrush*>(brush)->Color() : c->Brush()->Color();
  c->Brush()->SetColor(back);
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(ClientRect());
  const TSize extent = c->TextExtent(textValue_.empty() ? AnsiString("0") : textValue_);
  const Integer y = (Height() - extent.cy) / 2;
  const Integer x = (Width() - c->TextExtent(textValue_).cx) / 2;
  c->Brush()->SetStyle(bsClear);
  c->TextOut(x, y, textValue_);
  if (HasFocus() && selLength_ > 0) {
    const AnsiString before = textValue_.substr(0, static_cast<size_t>(selStart_));
    const AnsiString chosen = textValue_.substr(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_));
    const Integer sx = x + c->TextExtent(before).cx;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clHighlight);
    c->Font()->SetColor(clHighlightText);
    c->TextOut(sx, y, chosen);
  } else if (HasFocus()) {
    // The caret as a thin bar.
    const Integer cx = x + c->TextExtent(textValue_.substr(0, static_cast<size_t>(selStart_))).cx;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(c->Font()->Color());
    c->FillRect(Rect(cx, y, cx + 1, y + extent.cy));
  }
}

// -------------------------------------------------------------- window

TIPAddressWindow::~TIPAddressWindow() = default;

Integer TIPAddressWindow::FocusedField() const {
  for (Integer i = 0; i < FieldCount(); ++i)
    if (fields_[static_cast<size_t>(i)]->HasFocus()) return i;
  return -1;
}

void TIPAddressWindow::FocusField(Integer index, bool selectAll, bool atEnd) {
  if (index < 0 || index >= FieldCount()) return;
  TIPAddressField* f = Field(index);
  // The field left behind may change the others as it goes, so the
  // selection is made once the focus has moved.
  if (f->CanFocus() && !f->HasFocus()) f->SetFocus();
  const Integer n = static_cast<Integer>(f->textValue_.size());
  if (selectAll)
    f->SetSel(0, n);
  else
    f->SetSel(atEnd ? n : 0, 0);
}

void TIPAddressWindow::LayoutFields() {
  if (!FieldCount()) return;
  const TRect r = host_->ClientRect();
  const Integer cell = r.Width() / 4;
  for (Integer i = 0; i < 4; ++i)
    Field(i)->SetBounds(r.Left + i * cell + 2, r.Top + 1, std::max<Integer>(cell - 8, 1), std::max<Integer>(r.Height() - 2, 1));
}

void TIPAddressWindow::CreateFields() {
  if (FieldCount()) return;
  for (Integer i = 0; i < 4; ++i) {
    auto* f = new TIPAddressField(this, host_, i);
    fields_[static_cast<size_t>(i)] = f;
    f->SetParent(host_);
  }
  LayoutFields();
  for (Integer i = 0; i < 4; ++i) {
    TIPAddressField* f = Field(i);
    f->HandleNeeded();
    host_->Perform(WM_PARENTNOTIFY, MakeWParam(WM_CREATE, static_cast<Word>(i)), static_cast<LPARAM>(f->Handle()));
  }
}

void TIPAddressWindow::DestroyFields() {
  if (!FieldCount()) return;
  for (Integer i = 0; i < 4; ++i) {
    TIPAddressField* f = Field(i);
    const LPARAM handle = f->HandleAllocated() ? static_cast<LPARAM>(f->Handle()) : 0;
    host_->Perform(WM_PARENTNOTIFY, MakeWParam(WM_DESTROY, static_cast<Word>(i)), handle);
  }
  for (auto& f : fields_) {
    TIPAddressField* gone = f;
    f = nullptr;
    gone->BeforeDestruction();
    host_->RemoveControl(gone);
    delete gone;
  }
}

void TIPAddressWindow::FieldLeft(TIPAddressField* field) {
  NMIPADDRESS nm;
  nm.hdr.hwndFrom = host_->HandleAllocated() ? host_->Handle() : 0;
  nm.hdr.idFrom = 0;
  nm.hdr.code = IPN_FIELDCHANGED;
  nm.iField = field->index_;
  nm.iValue = field->textValue_.empty() ? -1 : rtl::StrToIntDef(field->textValue_, 0);
  host_->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  AnsiString now;
  if (nm.iValue >= 0) now = rtl::IntToStr(std::clamp<Integer>(nm.iValue, field->low_, field->high_));
  if (now != field->textValue_) {
    field->SetFieldText(now);
    field->Changed();
  }
}

bool TIPAddressWindow::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CREATE: CreateFields(); return true;
    case WM_DESTROY: DestroyFields(); return true;
    case WM_SIZE: LayoutFields(); return true;
    case WM_SETFOCUS:
      // The control's own focus goes on to a field.
      if (FocusedField() < 0) FocusField(0, true);
      return true;
    case IPM_CLEARADDRESS:
      for (Integer i = 0; i < FieldCount(); ++i) Field(i)->SetFieldText("");
      return true;
    case IPM_SETADDRESS: {
      const auto a = static_cast<Cardinal>(m.LParam);
      for (Integer i = 0; i < FieldCount(); ++i) Field(i)->SetFieldText(rtl::IntToStr(Integer((a >> (24 - 8 * i)) & 0xFF)));
      m.Result = 1;
      return true;
    }
    case IPM_GETADDRESS: {
      Cardinal a = 0;
      Integer filled = 0;
      for (Integer i = 0; i < FieldCount(); ++i) {
        const AnsiString& t = Field(i)->textValue_;
        if (t.empty()) continue;
        ++filled;
        a |= Cardinal(std::clamp<Integer>(rtl::StrToIntDef(t, 0), 0, 255)) << (24 - 8 * i);
      }
      if (auto* out = reinterpret_cast<Cardinal*>(m.LParam)) *out = a;
      m.Result = filled;
      return true;
    }
    case IPM_SETRANGE: {
      const Integer i = static_cast<Integer>(m.WParam);
      const Byte low = static_cast<Byte>(m.LParam & 0xFF), high = static_cast<Byte>((m.LParam >> 8) & 0xFF);
      m.Result = 0;
      if (i < 0 || i >= FieldCount() || low > high) return true;
      Field(i)->low_ = low;
      Field(i)->high_ = high;
      m.Result = 1;
      return true;
    }
    case IPM_SETFOCUS: FocusField(static_cast<Integer>(m.WParam), true); return true;
    case IPM_ISBLANK: {
      bool blank = true;
      for (Integer i = 0; i < FieldCount(); ++i) blank = blank && Field(i)->textValue_.empty();
      m.Result = blank ? 1 : 0;
      return true;
    }
    default: return false;
  }
}

}  // namespace vcl
