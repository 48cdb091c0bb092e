// How a toolbar paints itself: caption band, background, 3-D edge, drag
// grip, right handle and border, in its styler's colours.
#include <algorithm>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"

namespace ribbon {

namespace {

void ToolBarLine(vcl::TCanvas* c, vcl::TColor color, int x1, int y1, int x2, int y2) {
  c->Pen()->SetColor(color);
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

// A band filled solid, or top to bottom in 80 steps when both colours are
// given; nothing when neither is.
void ToolBarBand(vcl::TCanvas* c, const vcl::TRect& r, vcl::TColor from, vcl::TColor to, vcl::TColor border) {
  if (from != vcl::clNone && to != vcl::clNone) {
    DrawStepGradient(c, from, to, 80, r, false);
  } else if (from != vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(from);
    c->FillRect(r);
  }
  if (border != vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsClear);
    c->Pen()->SetColor(border);
    c->Rectangle(r);
  }
}

}  // namespace

int TLumCustomToolBar::GetShrinkSpace() const {
  const vcl::TSizeConstraints* k = const_cast<TLumCustomToolBar*>(this)->Constraints();
  return Horizontal() ? Width() - k->MinWidth : Height() - k->MinHeight;
}

int TLumCustomToolBar::GetGrowSpace() const {
  const vcl::TSizeConstraints* k = const_cast<TLumCustomToolBar*>(this)->Constraints();
  return Horizontal() ? k->MaxWidth - Width() : k->MaxHeight - Height();
}

void TLumCustomToolBar::SetShowOptionIndicator(bool Value) {
  if (showOptionIndicator_ == Value) return;
  showOptionIndicator_ = Value;
  Invalidate();
}

void TLumCustomToolBar::SetCaptionAlignment(vcl::TAlignment Value) {
  if (captionAlignment_ == Value) return;
  captionAlignment_ = Value;
  Invalidate();
}

void TLumCustomToolBar::Paint() {
  if (updateLock_ > 0) return;
  vcl::TCanvas* c = Canvas();
  TCustomRorIvezEviStyler* s = CurrentStyler();
  if (state_ == tsFloating || showCaption_) PaintCaptionBand(c);
  PaintBackground(c);
  if (s->Edge3D() && state_ != tsFloating) {
    const int w = Width(), h = Height();
    if (s->Edge3DKind() == 1) {
      ToolBarLine(c, vcl::clBtnShadow, 1, 1, 1, h - 1);
      ToolBarLine(c, vcl::clBtnShadow, 1, 1, w - 1, 1);
      ToolBarLine(c, vcl::clWhite, w - 1, 0, w - 1, h);
      ToolBarLine(c, vcl::clWhite, 0, h - 1, w, h - 1);
    } else if (s->Edge3DKind() == 2 || s->Edge3DKind() == 3) {
      ToolBarLine(c, vcl::clWhite, 0, 0, 0, h);
      ToolBarLine(c, vcl::clWhite, 0, 0, w, 0);
      ToolBarLine(c, vcl::clBtnShadow, w - 1, 0, w - 1, h);
      ToolBarLine(c, vcl::clBtnShadow, 0, h - 1, w, h - 1);
    }
  }
  PaintDragGrip(c);
  if (ShowRightHandle() && state_ != tsFloating) PaintRightHandle(c);
  const vcl::TColor border = s->BorderColor();
  if (border != vcl::clNone && state_ != tsFloating) {
    if (controls::GetGlobalWin7ScenicRibbon()) {
      const int x = Width() - 3;
      c->Pen()->SetColor(0xFAF1EC);
      c->Pen()->SetWidth(3);
      c->MoveTo(x, 5);
      c->LineTo(x, Height() - 5);
      c->Pen()->SetWidth(1);
      ToolBarLine(c, border, x, 6, x, Height() - 6);
    } else {
      c->Brush()->SetStyle(vcl::bsClear);
      c->Pen()->SetColor(border);
      if (s->RoundedLook() && s->Edge3DKind() == 0)
        c->RoundRect(0, 0, Width(), Height(), 6, 6);
      else
        c->Rectangle(0, 0, Width(), Height());
    }
  }
}

void TLumCustomToolBar::PaintCaptionBand(vcl::TCanvas* c) {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  TCaptionAppearance* a = s->CaptionAppearance();
  const vcl::TRect band = GetCaptionRect();
  ToolBarBand(c, band, a->CaptionColor(), a->CaptionColorTo(), a->CaptionBorderColor());
  c->Font()->Assign(s->CaptionFont());
  c->Font()->SetColor(a->CaptionTextColor());
  c->Brush()->SetStyle(vcl::bsClear);
  const rtl::AnsiString text = Caption();
  if (state_ == tsFloating) {
    vcl::TRect r = band;
    r.Left += 3;
    if (showOptionIndicator_)
      r.Right -= (showClose_ ? 2 * captionHeight_ + 3 : captionHeight_ + 1);
    else if (showClose_)
      r.Right -= captionHeight_ + 1;
    c->DrawText(text, r, vcl::DT_SINGLELINE | vcl::DT_VCENTER);
    PaintFloatingButtons(c, band);
    return;
  }
  vcl::TRect r = band;
  const bool grip = s->DragGripStyle() != dsNone && !ParentIsRibbon();
  const bool handle = ShowRightHandle();
  if (Horizontal()) {
    r.Left += grip ? GripWidth() + 3 : 3;
    if (handle) r.Right -= handleWidth_ + 2;
    rtl::Cardinal format = vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_END_ELLIPSIS;
    if (captionAlignment_ == vcl::taRightJustify) format |= vcl::DT_RIGHT;
    if (captionAlignment_ == vcl::taCenter) format |= vcl::DT_CENTER;
    c->DrawText(text, r, format);
    return;
  }
  r.Top += grip ? GripWidth() + 3 : 3;
  if (handle) r.Bottom -= handleWidth_ + 2;
  const int tw = c->TextWidth(vcl::StripHotkey(text));
  const int h = r.Bottom - r.Top;
  vcl::TPoint p;
  if (position_ == daLeft) {
    c->Font()->SetOrientation(-2700);
    p.X = r.Left;
    p.Y = captionAlignment_ == vcl::taLeftJustify    ? r.Bottom - 2
          : captionAlignment_ == vcl::taRightJustify ? r.Top + tw + 2
                                                     : r.Bottom - (h - tw) / 2;
  } else {
    c->Font()->SetOrientation(-900);
    p.X = r.Right;
    p.Y = captionAlignment_ == vcl::taLeftJustify    ? r.Top
          : captionAlignment_ == vcl::taRightJustify ? r.Bottom - tw - 5
                                                     : (h - tw) / 2;
  }
  DrawVerticalHotkeyText(c, text, p);
  c->Font()->SetOrientation(0);
}

void TLumCustomToolBar::PaintFloatingButtons(vcl::TCanvas* c, const vcl::TRect& band) {
  TCaptionAppearance* a = CurrentStyler()->CaptionAppearance();
  vcl::TRect close{band.Right - captionHeight_ - 1, band.Top + 1, band.Right - 1, band.Bottom - 1};
  auto frame = [&](const vcl::TRect& r) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Pen()->SetColor(a->CaptionColor());
    c->Brush()->SetColor(a->CaptionColor());
    c->Rectangle(r);
  };
  if (showClose_) {
    frame(close);
    const int x = close.Left + 4, y = close.Top + 4;
    for (int d = 0; d < 2; ++d) {
      ToolBarLine(c, vcl::clWhite, x + d, y, x + 8 + d, y + 8);
      ToolBarLine(c, vcl::clWhite, x + 7 + d, y, x - 1 + d, y + 8);
    }
  }
  if (showOptionIndicator_) {
    vcl::TRect option = showClose_ ? vcl::TRect{close.Left - 2 - captionHeight_, close.Top, close.Left - 2,
                                                 close.Bottom}
                                   : close;
    frame(option);
    const int x = option.Left + 5, y = option.Bottom - 10;
    for (int i = 0; i < 4; ++i) ToolBarLine(c, vcl::clWhite, x + i, y + i, x + 8 - i, y + i);
  }
}

void TLumCustomToolBar::PaintBackground(vcl::TCanvas* c) {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  if (s->TransparentToolBars()) return;
  vcl::TRect r = GetClientRectWithoutCaption();
  ++r.Right;
  ++r.Bottom;
  const bool ribbon = ParentIsRibbon();
  TVistaGradientBackground* g = s->Color();
  const vcl::TColor base = ribbon ? g->Mirror()->Color() : g->Color();
  const vcl::TColor baseTo = ribbon ? g->Mirror()->ColorTo() : g->ColorTo();
  const vcl::TColor mirror = g->Mirror()->ColorMirror(), mirrorTo = g->Mirror()->ColorMirrorTo();
  if (baseTo == vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(base);
    c->FillRect(r);
  } else if (ribbon && (state_ != tsFloating || floatingRows_ == 1)) {
    const int split = captionPosition_ == cpTop ? 0 : std::max(0, 22 - Top());
    DrawVistaGradient(c, r, split, base, baseTo, mirror, mirrorTo, vcl::clNone, 0);
  } else {
    bool horizontalBands = g->Direction() == gdHorizontal;
    if (state_ == tsFloating && floatingRows_ > 1) {
      for (int y = r.Top; y < r.Bottom; y += rowHeight_)
        DrawStepGradient(c, base, baseTo, g->Steps(), vcl::TRect{r.Left, y, r.Right, std::min(r.Bottom, y + rowHeight_)},
                         horizontalBands);
    } else {
      DrawStepGradient(c, base, baseTo, g->Steps(), r, horizontalBands);
    }
  }
  vcl::TBitmap* picture = s->BackGround();
  if (!picture || picture->Empty()) return;
  switch (s->BackGroundDisplay()) {
    case TBackGroundDisplay::bdTile: {
      bool firstRow = true;
      for (int y = r.Top; y < r.Bottom; y += picture->Height()) {
        for (int x = r.Left + (firstRow ? 0 : 1); x < r.Right; x += picture->Width()) c->Draw(x, y, picture);
        firstRow = false;
      }
      break;
    }
    case TBackGroundDisplay::bdCenter:
      c->Draw(r.Left + (r.Width() - picture->Width()) / 2, r.Top + (r.Height() - picture->Height()) / 2, picture);
      break;
    case TBackGroundDisplay::bdStretch:
      c->StretchDraw(vcl::TRect{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2}, picture);
      break;
  }
}

void TLumCustomToolBar::PaintDragGrip(vcl::TCanvas* c) {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  if (ParentIsRibbon() || state_ == tsFloating || s->DragGripStyle() == dsNone) return;
  const bool h = Horizontal();
  const vcl::TRect r = h ? vcl::TRect{1, 1, GripWidth(), Height()} : vcl::TRect{1, 1, Width(), GripWidth()};
  if (s->DragGripImage() && !s->DragGripImage()->Empty()) {
    c->StretchDraw(r, s->DragGripImage());
    return;
  }
  const int extent = h ? r.Height() : r.Width();
  c->Brush()->SetStyle(vcl::bsSolid);
  switch (s->DragGripStyle()) {
    case dsDots: {
      const int n = (extent - 8) / 4;
      for (int i = 0; i < n; ++i) {
        const int x = h ? r.Left + 3 : r.Left + 4 + 4 * i, y = h ? r.Top + 4 + 4 * i : r.Top + 3;
        c->Brush()->SetColor(vcl::clWhite);
        c->FillRect(vcl::TRect{x + 1, y + 1, x + 3, y + 3});
        c->Brush()->SetColor(vcl::clBtnShadow);
        c->FillRect(vcl::TRect{x, y, x + 2, y + 2});
      }
      break;
    }
    case dsSingleLine:
    case dsDoubleLine: {
      for (int off : s->DragGripStyle() == dsSingleLine ? std::vector<int>{4} : std::vector<int>{2, 5}) {
        if (h)
          DrawEtchedLine(c, vcl::TPoint{r.Left + off, r.Top + 3}, vcl::TPoint{r.Left + off, r.Bottom - 4}, true,
                         false);
        else
          DrawEtchedLine(c, vcl::TPoint{r.Left + 3, r.Top + off}, vcl::TPoint{r.Right - 4, r.Top + off}, true, true);
      }
      break;
    }
    case dsFlatDots: {
      const int n = (extent - 8) / 2;
      for (int i = 0; i < n; ++i) {
        if (h)
          ToolBarLine(c, 0xA5A5A5, r.Left + 1, r.Top + 3 + 2 * i, r.Left + 4, r.Top + 3 + 2 * i);
        else
          ToolBarLine(c, 0xA5A5A5, r.Left + 3 + 2 * i, r.Top + 1, r.Left + 3 + 2 * i, r.Top + 4);
      }
      break;
    }
    default:
      break;
  }
}

void TLumCustomToolBar::PaintRightHandle(vcl::TCanvas* c) {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  const bool h = Horizontal();
  vcl::TRect r = h ? vcl::TRect{Width() - handleWidth_, 0, Width() + 1, Height() + 1}
                   : vcl::TRect{0, Height() - handleWidth_, Width(), Height()};
  if (!s->RoundedLook())
    r = h ? vcl::TRect{r.Left - 1, r.Top + 1, r.Right - 2, r.Bottom - 2}
          : vcl::TRect{r.Left + 1, r.Top, r.Right - 1, r.Bottom - 1};
  if (s->RightHandleImage() && !s->RightHandleImage()->Empty()) {
    c->StretchDraw(r, s->RightHandleImage());
    return;
  }
  const vcl::TColor from = s->RightHandleColor(), to = s->RightHandleColorTo();
  const vcl::TColor border = s->ButtonAppearance()->BorderColor();
  vcl::TRect fill = r;
  if (h)
    fill.Left += 3;
  else
    fill.Top += 3;
  if (from == vcl::clNone || to == vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(from);
    c->FillRect(fill);
  } else {
    DrawStepGradient(c, from, to, 16, fill, !h);
  }
  if (!s->RoundedLook() && border != vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsClear);
    c->Pen()->SetColor(border);
    c->Rectangle(r);
  }
  // The more-controls sign while the toolbar is shorter than it could be.
  if (GetGrowSpace() > 0) {
    const int x = h ? r.Left + 4 : r.Left + 3, y = h ? r.Top + 3 : r.Top + 4;
    for (auto [colour, d] : {std::pair{vcl::clWhite, 1}, std::pair{vcl::clBlack, 0}})
      for (int k = 0; k < 2; ++k) {
        const int cx = x + d + 4 * k, cy = y + d;
        if (h) {
          ToolBarLine(c, colour, cx, cy, cx + 2, cy + 2);
          ToolBarLine(c, colour, cx + 2, cy + 2, cx - 1, cy + 5);
        } else {
          ToolBarLine(c, colour, cy, cx, cy + 2, cx + 2);
          ToolBarLine(c, colour, cy + 2, cx + 2, cy + 5, cx - 1);
        }
      }
  }
  if (showOptionIndicator_) {
    if (h) {
      const int x = r.Left + (r.Width() - 5) / 2 + 1, y = r.Bottom - 8;
      ToolBarLine(c, vcl::clBlack, x, y, x + 5, y);
      ToolBarLine(c, vcl::clBlack, x + 1, y + 1, x + 4, y + 1);
      ToolBarLine(c, vcl::clBlack, x + 2, y + 2, x + 3, y + 2);
    } else {
      const int x = r.Right - 8, y = r.Top + (r.Height() - 5) / 2 + 1;
      ToolBarLine(c, vcl::clBlack, x, y, x, y + 5);
      ToolBarLine(c, vcl::clBlack, x + 1, y + 1, x + 1, y + 4);
      ToolBarLine(c, vcl::clBlack, x + 2, y + 2, x + 2, y + 3);
    }
  }
}

}  // namespace ribbon
