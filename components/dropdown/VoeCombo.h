#pragma once
// The flat combo box: the platform's combo box painted over by hand with a
// thin frame in the parent's colour, a flat drop-down button and, while
// hot or focused, an optional sunken focus border. TFlatCombo holds what
// the 8-bit combo (TVOECustomCombo) and the wide one (TVOEUniCustomCombo)
// share; each paints its frame and button its own way.
#include "vcl/StdCtrls.h"

namespace dropdown {

using namespace vcl;

template <class Base>
class TFlatCombo : public Base {
 public:
  explicit TFlatCombo(TComponent* owner);

  Integer ButtonWidth() const { return buttonWidth_; }
  // Taken only from 14 to 32.
  void SetButtonWidth(Integer v);
  bool Flat() const { return flat_; }
  // Ctl3D becomes the opposite.
  void SetFlat(bool v);
  bool Etched() const { return etched_; }
  void SetEtched(bool v);
  bool FocusBorder() const { return focusBorder_; }
  void SetFocusBorder(bool v);
  bool AutoFocus() const { return autoFocus_; }
  void SetAutoFocus(bool v) { autoFocus_ = v; }
  Integer DropWidth() const { return dropWidth_; }
  // Above 0 the list drops that wide.
  void SetDropWidth(Integer v);
  bool MouseInside() const { return mouseInside_; }
  void Dispatch(TMessage& message) override;

 protected:
  // The focus border shows: FocusBorder on, and the mouse inside or the
  // control active.
  bool ShowsFocusBorder() const;
  bool IsHot() const;
  bool IsActiveControl() const;
  // Whether the hand painting runs at all.
  virtual bool PaintsFlat() const { return flat_; }
  // The frame over the window's edge, then the button's edge.
  void PaintFlatFrame(TCanvas* canvas);
  virtual void PaintFlatBorder(TCanvas* canvas) = 0;
  virtual void PaintButtonEdge(TCanvas* canvas) = 0;
  virtual void PaintDropButton(TCanvas* canvas) = 0;

  Integer buttonWidth_;
  bool flat_ = true;
  bool etched_ = false;
  bool focusBorder_ = false;
  bool autoFocus_ = false;
  Integer dropWidth_ = 0;
  bool mouseInside_ = false;
  TColor savedColor_;
  bool savedParentColor_;
};

class TVOECustomCombo : public TFlatCombo<TCustomComboBox> {
 public:
  explicit TVOECustomCombo(TComponent* owner);
  virtual Cardinal GetVersionNumber() const { return 0x01020001; }
  // "1.2.0.1": the version's four bytes, most significant first.
  AnsiString Version() const;
  void SetVersion(const AnsiString&) {}
  // Paint the drop-down button through the theme and leave the edge out.
  bool XPLook() const { return xpLook_; }
  void SetXPLook(bool v);
  // Leave all painting to the platform's combo box.
  bool NativeLook() const { return nativeLook_; }
  void SetNativeLook(bool v);

 protected:
  bool PaintsFlat() const override { return flat_ && !nativeLook_; }
  void PaintFlatBorder(TCanvas* canvas) override;
  void PaintButtonEdge(TCanvas* canvas) override;
  void PaintDropButton(TCanvas* canvas) override;

 private:
  bool xpLook_ = false;
  bool nativeLook_ = false;
};

class TVOEComboBox : public TVOECustomCombo {
 public:
  using TVOECustomCombo::TVOECustomCombo;
};

// Whether the common controls are of version 6 or later.
bool HasComCtl6();

}  // namespace dropdown
