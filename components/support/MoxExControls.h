#pragma once
// The extended controls: a control, a panel and a form base (and the panel
// with a content-paint event) that turn the class library's notifications
// into hooks a descendant overrides, add a hint colour, and can draw a
// two-ring highlight frame.
//
// Each hook runs while its notification is handled. Its base behaviour
// passes the notification on to the class library's own handling
// (InheritedMessage) and answers that result; an override that wants the
// default handling calls the base hook.
#include <functional>

#include "rtl/Types.h"
#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace support {

using rtl::AnsiString;
using rtl::Integer;
using rtl::Word;
using vcl::LRESULT;
using vcl::TCanvas;
using vcl::TColor;
using vcl::TRect;

// The dialog codes of WM_GETDLGCODE as a set; dcNative marks codes that
// stand as the default handling gave them.
enum class TDlgCode : uint8_t { dcWantArrows, dcWantTab, dcWantAllKeys, dcWantChars, dcButton, dcHasSetSel, dcNative };
using enum TDlgCode;
using TDlgCodes = rtl::TSet<TDlgCode>;
TDlgCodes DlgCodesFromNative(Integer codes);
Integer DlgCodesToNative(TDlgCodes codes);

// The key data a hook puts in a re-sent key message for a shift state:
// Alt bit 29, Ctrl bit 28, Shift bit 27. And back.
vcl::LPARAM ShiftStateToKeyData(vcl::TShiftState shift);
vcl::TShiftState KeyDataToShiftState(vcl::LPARAM keyData);

// The hint colour for a control whose own setting is hintColor: clNone the
// application's, clDefault what the parent's hint notification leaves in
// a copy of the record (the record's own without a parent), any other
// colour itself.
void ResolveHintColor(vcl::THintInfo& info, vcl::TControl* control, TColor hintColor);

// The colours of the highlight frame.
inline constexpr TColor kHighlightFrameColor = 0x00808080;  // clGray
inline constexpr TColor kHighlightHotColor = 0x00733800;    // RGB 0, 56, 115

template <class Base>
class TMoxExHooks : public Base {
 public:
  using Base::Base;

  // clDefault: the parent's.
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor c) { hintColor_ = c; }
  // The window hints of this control show in (empty: the application's).
  std::function<vcl::THintWindow*(vcl::TComponent* owner)> HintWindowClass;
  bool MouseOver() const { return mouseOver_; }
  bool DotNetHighlighting() const { return dotNetHighlighting_; }
  void SetDotNetHighlighting(bool v) { dotNetHighlighting_ = v; }
  vcl::TNotifyEvent OnParentColorChange;

  void Dispatch(vcl::TMessage& message) override;

 protected:
  // The notification being handled, passed to the class library's
  // handling; answers its result.
  LRESULT InheritedMessage();
  vcl::TMessage* CurrentMessage() const { return current_; }

  virtual void BoundsChange() {}
  virtual void FocusGained(vcl::HWND previous) { InheritedMessage(); }
  virtual void FocusLost(vcl::HWND next) { InheritedMessage(); }
  // The canvas is saved before and restored after the call.
  virtual bool EraseBackground(TCanvas* canvas, vcl::LPARAM param) { return InheritedMessage() != 0; }
  // Clearing dcNative makes the set the answer.
  virtual void QueryDialogCodes(TDlgCodes& codes) {}
  virtual bool WantsSpecialKey(Word key, vcl::TShiftState shift, const AnsiString& keyText) {
    return InheritedMessage() != 0;
  }
  virtual void FocusChange(vcl::TWinControl* control) { InheritedMessage(); }
  virtual void ParentFontChange() { InheritedMessage(); }
  virtual void ParentColorChange() { InheritedMessage(); }
  // Whether the point (client coordinates) belongs to the control.
  virtual bool HitTestAt(Integer x, Integer y) { return InheritedMessage() != 0; }
  virtual void VisibleChange() { InheritedMessage(); }
  virtual void EnabledChange() { InheritedMessage(); }
  virtual void ColorChange() { InheritedMessage(); }
  virtual void FontChange() { InheritedMessage(); }
  virtual void CursorChange() { InheritedMessage(); }
  virtual void TextChange() { InheritedMessage(); }
  // Sets the mouse-over flag; the default handling fires OnMouseEnter.
  virtual void MouseEntered(vcl::TControl* control);
  // Clears the mouse-over flag; the default handling fires OnMouseLeave.
  virtual void MouseLeft(vcl::TControl* control);
  virtual void ShowingChange() { InheritedMessage(); }
  virtual void ShowHintChange() { InheritedMessage(); }
  virtual void ParentShowHintChange() { InheritedMessage(); }
  virtual void ControlListChanging(vcl::TControl* control, bool inserting) { InheritedMessage(); }
  virtual void ControlListChange(vcl::TControl* control, bool inserting) { InheritedMessage(); }
  // Sets the hint colour and window; true cancels the hint.
  virtual bool PrepareHint(vcl::THintInfo& info);

  // The two rings of the highlight frame, into the window canvas.
  void PaintHighlightFrame();

 private:
  void Highlight();
  vcl::TMessage* current_ = nullptr;  // the message being dispatched
  TColor hintColor_ = vcl::clDefault;
  bool mouseOver_ = false;
  bool dotNetHighlighting_ = false;
};

// Instantiated once, in MoxExControls.cpp.
extern template class TMoxExHooks<vcl::TCustomControl>;
extern template class TMoxExHooks<vcl::TCustomPanel>;
extern template class TMoxExHooks<vcl::TForm>;

class TMoxExCustomControl : public TMoxExHooks<vcl::TCustomControl> {
 public:
  using TMoxExHooks<vcl::TCustomControl>::TMoxExHooks;
};

class TMoxExCustomPanel : public TMoxExHooks<vcl::TCustomPanel> {
 public:
  using TMoxExHooks<vcl::TCustomPanel>::TMoxExHooks;
  // Flat panels have Ctl3D off.
  bool Flat() const { return !ctl3D_; }
  void SetFlat(bool v) { SetCtl3D(!v); }
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool v);

 private:
  bool ctl3D_ = true;
};

using TPaintContentEvent = std::function<void(vcl::TObject* Sender, TCanvas* Canvas, const TRect& Rect)>;

// A panel that lets its owner paint the content after its own painting.
class TMoxCustomPanel : public TMoxExCustomPanel {
 public:
  using TMoxExCustomPanel::TMoxExCustomPanel;
  // After the standard painting, with the client rectangle.
  TPaintContentEvent OnPaintContent;

 protected:
  void Paint() override;
};

}  // namespace support
