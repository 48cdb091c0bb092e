#pragma once
// TSpeedButton: a button drawn on its parent's surface, with a glyph (up to
// four faces side by side: up, disabled, down, exclusive; the bottom-left
// pixel's colour is transparent) and a caption. It holds the mouse while
// pressed and clicks when the left button is released over it.
#include <memory>

#include "vcl/Controls.h"
#include "vcl/Pictures.h"

namespace vcl {

enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using enum TButtonState;

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;

  // The glyph is copied; null or an empty bitmap clears it.
  TBitmap* Glyph() { return glyph_.get(); }
  void SetGlyph(const TBitmap* glyph);
  Integer NumGlyphs() const { return numGlyphs_; }
  // 1 to 4; other values are ignored.
  void SetNumGlyphs(Integer v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  // A button of a group (GroupIndex > 0) stays down once clicked.
  bool Down() const { return down_; }
  void SetDown(bool v);
  Integer GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(Integer v) { groupIndex_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  // A transparent button leaves its parent's background where it draws no
  // face (flat buttons only).
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  TButtonState State() const { return state_; }
  // The mouse is over the button.
  bool MouseInControl() const { return mouseInControl_; }

  void Click() override;
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  // Draws the glyph face of the current state with its top-left corner at
  // (x, y), its transparent colour left out.
  void DrawGlyph(TCanvas* canvas, Integer x, Integer y);
  // The size of one glyph face (0 x 0 without a glyph).
  TSize GlyphSize() const;
  // Glyph and caption centred as one block in r (glyph left of the caption).
  void DrawGlyphAndCaption(TCanvas* canvas, TRect r);

  TButtonState state_ = bsUp;
  bool dragging_ = false;

 private:
  void UpdateExclusive();
  std::unique_ptr<TBitmap> glyph_;
  Integer numGlyphs_ = 1;
  bool flat_ = false;
  bool down_ = false;
  Integer groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool transparent_ = true;
  bool mouseInControl_ = false;
};

}  // namespace vcl
