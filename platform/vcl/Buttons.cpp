#include "vcl/Buttons.h"

#include "vcl/Gdi.h"

namespace vcl {

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(std::make_unique<TBitmap>()) {
  // The button clicks by itself on release (not through csClickEvents), so
  // a press dragged off and back still clicks, as on the desktop.
  controlStyle_ = TControlStyle{csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 23, 22);
  SetParentFont(true);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(const TBitmap* glyph) {
  if (glyph && !glyph->Empty())
    glyph_->Assign(glyph);
  else
    glyph_ = std::make_unique<TBitmap>();
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(Integer v) {
  if (v < 1 || v > 4 || v == numGlyphs_) return;
  numGlyphs_ = v;
  Invalidate();
}

void TSpeedButton::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Invalidate();
}

void TSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;
  if (v == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = v;
  state_ = v ? bsExclusive : bsUp;
  Invalidate();
  if (v) UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || !Parent()) return;
  for (Integer i = 0; i < Parent()->ControlCount(); ++i)
    if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i)); b && b != this && b->groupIndex_ == groupIndex_)
      if (b->down_) {
        b->down_ = false;
        b->state_ = bsUp;
        b->Invalidate();
      }
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (!down_) {
    state_ = bsDown;
    Invalidate();
  }
  dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  TButtonState s = down_ ? bsExclusive : bsUp;
  if (ClientRect().Contains({x, y})) s = down_ ? bsExclusive : bsDown;
  if (s != state_) {
    state_ = s;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (dragging_ && button == mbLeft) {
    dragging_ = false;
    bool inside = ClientRect().Contains({x, y});
    if (groupIndex_ == 0) {
      state_ = bsUp;
      Invalidate();
    } else if (inside) {
      SetDown(!down_);
      state_ = down_ ? bsExclusive : bsUp;
      Invalidate();
    }
    if (inside) Click();
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      mouseInControl_ = true;
      if (flat_ && Enabled()) Invalidate();
      break;
    case CM_MOUSELEAVE:
      mouseInControl_ = false;
      if (flat_ && Enabled()) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      state_ = Enabled() ? (down_ ? bsExclusive : bsUp) : bsDisabled;
      Invalidate();
      break;
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    default: break;
  }
  TGraphicControl::Dispatch(m);
}

TSize TSpeedButton::GlyphSize() const {
  if (glyph_->Empty()) return {0, 0};
  return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

void TSpeedButton::DrawGlyph(TCanvas* canvas, Integer x, Integer y) {
  TSize g = GlyphSize();
  if (g.cx == 0) return;
  Integer face = 0;
  if (state_ == bsDisabled && numGlyphs_ > 1) face = 1;
  if (state_ == bsDown && numGlyphs_ > 2) face = 2;
  if (state_ == bsExclusive && numGlyphs_ > 3) face = 3;
  TRect src = Bounds(face * g.cx, 0, g.cx, g.cy);
  canvas->BlitFrom(Bounds(x, y, g.cx, g.cy), glyph_->Canvas(), src, SRCCOPY, glyph_->TransparentColor());
}

void TSpeedButton::DrawGlyphAndCaption(TCanvas* canvas, TRect r) {
  TSize g = GlyphSize();
  canvas->Font()->Assign(Font());
  TSize t = Caption().empty() ? TSize{0, 0} : canvas->TextExtent(Caption());
  Integer spacing = g.cx > 0 && t.cx > 0 ? 4 : 0;
  Integer total = g.cx + spacing + t.cx;
  Integer x = r.Left + (r.Width() - total + 1) / 2;
  if (state_ == bsDown || state_ == bsExclusive) {
    OffsetRect(r, 1, 1);
    x += 1;
  }
  if (g.cx > 0) DrawGlyph(canvas, x, r.Top + (r.Height() - g.cy + 1) / 2);
  if (t.cx > 0) {
    canvas->Brush()->SetStyle(bsClear);
    if (state_ == bsDisabled) canvas->Font()->SetColor(clGrayText);
    canvas->TextOut(x + g.cx + spacing, r.Top + (r.Height() - t.cy) / 2, Caption());
  }
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  bool pressed = state_ == bsDown || state_ == bsExclusive;
  if (!flat_) {
    c->DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
  } else {
    if (!transparent_) {
      c->Brush()->SetColor(Color());
      c->Brush()->SetStyle(bsSolid);
      c->FillRect(r);
    }
    if (pressed || (mouseInControl_ && Enabled())) {
      TRect e = r;
      c->DrawEdge(e, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    InflateRect(r, -1, -1);
  }
  DrawGlyphAndCaption(c, r);
}

}  // namespace vcl
