#include "support/MoxExControls.h"

#include <memory>

#include "vcl/Menus.h"
#include "vcl/WinApi.h"

namespace support {

using namespace vcl;

namespace {

struct TDlgCodeMapping {
  Integer native;
  TDlgCode code;
};
constexpr TDlgCodeMapping kDlgCodes[] = {
    {DLGC_WANTARROWS, dcWantArrows}, {DLGC_WANTTAB, dcWantTab}, {DLGC_WANTALLKEYS, dcWantAllKeys},
    {DLGC_WANTCHARS, dcWantChars},   {DLGC_BUTTON, dcButton},   {DLGC_HASSETSEL, dcHasSetSel},
};

constexpr LPARAM kAltBit = 0x20000000;
constexpr LPARAM kCtrlBit = 0x10000000;
constexpr LPARAM kShiftBit = 0x08000000;

}  // namespace

TDlgCodes DlgCodesFromNative(Integer codes) {
  TDlgCodes set;
  for (const TDlgCodeMapping& m : kDlgCodes)
    if (codes & m.native) set.Include(m.code);
  return set;
}

Integer DlgCodesToNative(TDlgCodes codes) {
  Integer native = 0;
  for (const TDlgCodeMapping& m : kDlgCodes)
    if (codes.Contains(m.code)) native |= m.native;
  return native;
}

LPARAM ShiftStateToKeyData(TShiftState shift) {
  LPARAM data = 0;
  if (shift.Contains(ssAlt)) data |= kAltBit;
  if (shift.Contains(ssCtrl)) data |= kCtrlBit;
  if (shift.Contains(ssShift)) data |= kShiftBit;
  return data;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState shift;
  if (keyData & kAltBit) shift.Include(ssAlt);
  if (keyData & kCtrlBit) shift.Include(ssCtrl);
  if (keyData & kShiftBit) shift.Include(ssShift);
  return shift;
}

void ResolveHintColor(THintInfo& info, TControl* control, TColor hintColor) {
  if (hintColor == clNone) {
    info.HintColor = Application ? Application->HintColor() : clInfoBk;
  } else if (hintColor != clDefault) {
    info.HintColor = hintColor;
  } else if (control && control->Parent()) {
    THintInfo asked = info;
    control->Parent()->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&asked));
    info.HintColor = asked.HintColor;
  }
}

// ------------------------------------------------------------ the hooks

template <class Base>
LRESULT TMoxExHooks<Base>::InheritedMessage() {
  if (!current_) return 0;
  Base::Dispatch(*current_);
  return current_->Result;
}

template <class Base>
void TMoxExHooks<Base>::MouseEntered(TControl*) {
  mouseOver_ = true;
  InheritedMessage();
}

template <class Base>
void TMoxExHooks<Base>::MouseLeft(TControl*) {
  mouseOver_ = false;
  InheritedMessage();
}

template <class Base>
bool TMoxExHooks<Base>::PrepareHint(THintInfo& info) {
  ResolveHintColor(info, this, hintColor_);
  if (HintWindowClass) info.HintWindowClass = HintWindowClass;
  return InheritedMessage() != 0;
}

template <class Base>
void TMoxExHooks<Base>::PaintHighlightFrame() {
  if (!this->HandleAllocated()) return;
  std::unique_ptr<TCanvas> dc = GetWindowDC(this->Handle());
  if (!dc) return;
  const bool hot = mouseOver_ || this->Focused();
  TRect r = Rect(0, 0, this->Width(), this->Height());
  dc->Brush()->SetStyle(bsSolid);
  dc->Brush()->SetColor(hot ? kHighlightHotColor : kHighlightFrameColor);
  dc->FrameRect(r);
  dc->Brush()->SetColor(hot ? kHighlightHotColor : this->Color());
  dc->FrameRect(Rect(1, 1, r.Right - 1, r.Bottom - 1));
}

template <class Base>
void TMoxExHooks<Base>::Highlight() {
  if (dotNetHighlighting_) PaintHighlightFrame();
}

template <class Base>
void TMoxExHooks<Base>::Dispatch(TMessage& m) {
  TMessage* outer = current_;
  current_ = &m;
  struct Restore {
    TMessage*& slot;
    TMessage* value;
    bool armed = true;
    ~Restore() {
      if (armed) slot = value;
    }
  } restore{current_, outer};

  switch (m.Msg) {
    case WM_SIZE:
      InheritedMessage();
      BoundsChange();
      return;
    case WM_SETFOCUS:
      FocusGained(static_cast<HWND>(m.WParam));
      Highlight();
      return;
    case WM_KILLFOCUS:
      FocusLost(static_cast<HWND>(m.WParam));
      Highlight();
      return;
    case WM_ERASEBKGND: {
      auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
      if (!canvas) {
        InheritedMessage();
        return;
      }
      Integer saved = canvas->SaveDC();
      bool erased = false;
      try {
        erased = EraseBackground(canvas, m.LParam);
      } catch (...) {
        canvas->RestoreDC(saved);
        throw;
      }
      canvas->RestoreDC(saved);
      m.Result = erased ? 1 : 0;
      return;
    }
    case WM_GETDLGCODE: {
      InheritedMessage();
      TDlgCodes codes = DlgCodesFromNative(static_cast<Integer>(m.Result));
      codes.Include(dcNative);
      QueryDialogCodes(codes);
      if (!codes.Contains(dcNative)) m.Result = DlgCodesToNative(codes);
      return;
    }
    case CM_WANTSPECIALKEY: {
      Word key = static_cast<Word>(m.WParam);
      TShiftState shift = KeyDataToShiftState(m.LParam);
      m.Result = WantsSpecialKey(key, shift, ShortCutToText(ShortCut(key, shift))) ? 1 : 0;
      return;
    }
    case CM_FOCUSCHANGED: FocusChange(reinterpret_cast<TWinControl*>(m.LParam)); return;
    case CM_PARENTFONTCHANGED: ParentFontChange(); return;
    case CM_PARENTCOLORCHANGED:
      ParentColorChange();
      if (OnParentColorChange) OnParentColorChange(this);
      return;
    case CM_HITTEST:
      m.Result = HitTestAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)) ? HTCLIENT : HTNOWHERE;
      return;
    case CM_VISIBLECHANGED: VisibleChange(); return;
    case CM_ENABLEDCHANGED: EnabledChange(); return;
    case CM_COLORCHANGED: ColorChange(); return;
    case CM_FONTCHANGED: FontChange(); return;
    case CM_CURSORCHANGED: CursorChange(); return;
    case CM_TEXTCHANGED: TextChange(); return;
    case CM_MOUSEENTER:
      MouseEntered(reinterpret_cast<TControl*>(m.LParam));
      Highlight();
      return;
    case CM_MOUSELEAVE:
      MouseLeft(reinterpret_cast<TControl*>(m.LParam));
      Highlight();
      // The rings go with the next paint.
      if (dotNetHighlighting_ && this->HandleAllocated())
        RedrawWindow(this->Handle(), nullptr, RDW_INVALIDATE | RDW_FRAME);
      return;
    case CM_SHOWINGCHANGED: ShowingChange(); return;
    case CM_SHOWHINTCHANGED: ShowHintChange(); return;
    case CM_PARENTSHOWHINTCHANGED: ParentShowHintChange(); return;
    case CM_CONTROLLISTCHANGING:
      ControlListChanging(reinterpret_cast<TControl*>(m.WParam), m.LParam != 0);
      return;
    case CM_CONTROLLISTCHANGE:
      ControlListChange(reinterpret_cast<TControl*>(m.WParam), m.LParam != 0);
      return;
    case CM_HINTSHOW: {
      auto* info = reinterpret_cast<THintInfo*>(m.LParam);
      if (!info) {
        InheritedMessage();
        return;
      }
      m.Result = PrepareHint(*info) ? 1 : 0;
      return;
    }
    case WM_NCPAINT:
      InheritedMessage();
      Highlight();
      return;
    default:
      // The class library's handling may free the control (a released
      // form), so nothing of it is touched after the call.
      current_ = outer;
      restore.armed = false;
      Base::Dispatch(m);
  }
}

template class TMoxExHooks<TCustomControl>;
template class TMoxExHooks<TCustomPanel>;
template class TMoxExHooks<TForm>;

// ------------------------------------------------------------- panels

void TMoxExCustomPanel::SetCtl3D(bool v) {
  if (v == ctl3D_) return;
  ctl3D_ = v;
  Invalidate();
}

void TMoxCustomPanel::Paint() {
  TMoxExCustomPanel::Paint();
  if (OnPaintContent) OnPaintContent(this, Canvas(), ClientRect());
}

}  // namespace support
