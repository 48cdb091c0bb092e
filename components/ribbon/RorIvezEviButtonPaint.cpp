// How toolbar buttons paint themselves in each state and size themselves.
#include <algorithm>
#include <cstdlib>

#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviDraw.h"
#include "vcl/ActnList.h"
#include "vcl/ImgList.h"

namespace ribbon {

namespace {

void PaintButtonLine(vcl::TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

}  // namespace

TCustomRorIvezEviStyler* TLumCustomToolBarButton::KnownStyler() const {
  return rorIvezEvi_ ? rorIvezEvi_->CurrentStyler() : nullptr;
}

TButtonAppearance* TLumCustomToolBarButton::EffectiveAppearance() {
  TCustomRorIvezEviStyler* s = KnownStyler();
  return parentStyler_ && s ? s->ButtonAppearance() : &appearance_;
}

vcl::TFont* TLumCustomToolBarButton::CaptionFont() {
  TCustomRorIvezEviStyler* s = KnownStyler();
  if (!parentStyler_ || !s) return Font();
  if (IsMenuButton() && s->CurrentMenuStyler()) return s->CurrentMenuStyler()->RootItem()->Font();
  return s->ButtonAppearance()->CaptionFont();
}

vcl::TImageList* TLumCustomToolBarButton::ToolBarImages() const {
  return rorIvezEvi_ ? rorIvezEvi_->Images() : nullptr;
}

vcl::TImageList* TLumCustomToolBarButton::ToolBarDisabledImages() const {
  return rorIvezEvi_ ? rorIvezEvi_->DisabledImages() : nullptr;
}

vcl::TImageList* TLumCustomToolBarButton::ImageSource(int& Index) const {
  vcl::TImageList* list = ToolBarImages();
  Index = imageIndex_;
  if (auto* a = dynamic_cast<vcl::TCustomAction*>(Action()); a && a->ActionList()) {
    Index = a->ImageIndex();
    if (a->ActionList()->Images()) list = a->ActionList()->Images();
  }
  return Index >= 0 && list ? list : nullptr;
}

vcl::TRect TLumCustomToolBarButton::DropDownRect() const {
  const vcl::TRect r = ClientRect();
  if (Horizontal()) return vcl::TRect{r.Right - dropDownWidth_, r.Top, r.Right, r.Bottom};
  return vcl::TRect{r.Left, r.Bottom - dropDownWidth_, r.Right, r.Bottom};
}

vcl::TRect TLumCustomToolBarButton::MainRect() const {
  vcl::TRect r = ClientRect();
  if (!dropDownButton_) return r;
  if (Horizontal())
    r.Right -= dropDownWidth_;
  else
    r.Bottom -= dropDownWidth_;
  return r;
}

void TLumCustomToolBarButton::Paint() {
  if (!Enabled()) {
    state_ = tbsDisabled;
    dragging_ = false;
  } else if (state_ == tbsDisabled) {
    state_ = down_ && groupIndex_ != 0 ? tbsExclusive : tbsUp;
  }
  DrawButton(Canvas());
}

void TLumCustomToolBarButton::PaintFace(vcl::TCanvas* c, const TFaceColours& C, bool MenuArrowLeft) {
  const vcl::TRect client = ClientRect();
  const vcl::TRect dd = DropDownRect();
  const vcl::TRect main = MainRect();
  if (C.Fill != vcl::clNone) {
    const bool horizontalBands = C.Direction == gdHorizontal;
    if (C.FillTo != vcl::clNone) {
      if (dropDownButton_) DrawStepGradient(c, C.DropFill, C.DropFillTo, 40, dd, horizontalBands);
      DrawStepGradient(c, C.Fill, C.FillTo, 40, main, horizontalBands);
    } else {
      c->Brush()->SetStyle(vcl::bsSolid);
      if (dropDownButton_) {
        c->Pen()->SetColor(C.DropFill);
        c->Brush()->SetColor(C.DropFill);
        c->Rectangle(dd);
      }
      c->Pen()->SetColor(C.Fill);
      c->Brush()->SetColor(C.Fill);
      c->Rectangle(main);
    }
  }
  if (C.Border != vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsClear);
    c->Pen()->SetColor(C.Border);
    if (dropDownButton_ && dropDownSplit_) c->Rectangle(dd);
    vcl::TRect frame = main;
    if (dropDownButton_ && !dropDownSplit_) frame.Right = client.Right;
    c->Rectangle(frame);
  }
  if (droppedDown_ && dropDownSplit_) {
    c->Pen()->SetColor(0x800000);
    c->MoveTo(main.Left, main.Bottom);
    c->LineTo(main.Left, client.Top);
    c->LineTo(client.Right - 1, client.Top);
    c->LineTo(client.Right - 1, main.Bottom);
  }
  if (dropDownButton_) {
    c->Pen()->SetColor(vcl::clBlack);
    const int w = dd.Right - dd.Left, h = dd.Bottom - dd.Top;
    if (Horizontal()) {
      const int x = dd.Left + (w - 5) / 2, y = dd.Top + (h - 3) / 2 + 1;
      PaintButtonLine(c, x, y, x + 5, y);
      PaintButtonLine(c, x + 1, y + 1, x + 4, y + 1);
      PaintButtonLine(c, x + 2, y + 2, x + 3, y + 2);
    } else if (position_ == daLeft && !MenuArrowLeft) {
      const int x = dd.Left + (w - 3) / 2 + 2, y = dd.Top + (h - 5) / 2;
      PaintButtonLine(c, x - 2, y, x - 2, y + 5);
      PaintButtonLine(c, x - 1, y + 1, x - 1, y + 4);
      PaintButtonLine(c, x, y + 2, x, y + 3);
    } else {
      const int x = dd.Left + (w - 3) / 2 + 1, y = dd.Top + (h - 5) / 2;
      PaintButtonLine(c, x, y, x, y + 5);
      PaintButtonLine(c, x - 1, y + 1, x - 1, y + 4);
      PaintButtonLine(c, x - 2, y + 2, x - 2, y + 3);
    }
  }
  vcl::TBitmap* glyph = C.Glyph;
  if ((!glyph || glyph->Empty()) && !glyph_.Empty()) glyph = &glyph_;
  DrawGlyphAndCaption(c, main, glyph, C.Text);
}

void TLumCustomToolBarButton::DrawButton(vcl::TCanvas* ACanvas) {
  TButtonAppearance* a = EffectiveAppearance();
  TFaceColours c;
  if (!Enabled() || state_ == tbsDisabled) {
    c.Text = appearance_.CaptionTextColor();
    c.Glyph = &glyphDisabled_;
  } else if (state_ == tbsDown || (state_ == tbsExclusive && hot_) || mouseIsDown_) {
    c = TFaceColours{a->ColorDown(),        a->ColorDownTo(),          a->ColorHot(), a->ColorHotTo(),
                     a->BorderDownColor(),  a->CaptionTextColorDown(), a->GradientDirectionDown(), &glyphDown_};
  } else if (state_ == tbsExclusive) {
    c = TFaceColours{a->ColorChecked(),       a->ColorCheckedTo(),          a->ColorChecked(),
                     a->ColorCheckedTo(),     a->BorderCheckedColor(),      a->CaptionTextColorChecked(),
                     a->GradientDirectionChecked(), &glyphChecked_};
  } else if (hot_) {
    c = TFaceColours{a->ColorHot(),       a->ColorHotTo(),          a->ColorHot(),             a->ColorHotTo(),
                     a->BorderHotColor(), a->CaptionTextColorHot(), a->GradientDirectionHot(), &glyphHot_};
  } else {
    c.Text = a->CaptionTextColor();
    c.Glyph = &glyph_;
  }
  PaintFace(ACanvas, c, false);
}

void TRorIvezEviMenuButton::DrawButton(vcl::TCanvas* ACanvas) {
  TCustomRorIvezEviStyler* s = KnownStyler();
  controls::TRootItem* m = ParentStyler() && s && RorIvezEvi() && RorIvezEvi()->Menu() && s->CurrentMenuStyler()
                               ? s->CurrentMenuStyler()->RootItem()
                               : nullptr;
  TButtonAppearance* a = EffectiveAppearance();
  TButtonAppearance* own = Appearance();
  // The menu styler lists its directions the other way round.
  auto dir = [](controls::TGradientDirection d) {
    return d == controls::TGradientDirection::gdHorizontal ? gdHorizontal : gdVertical;
  };
  TFaceColours c;
  const TRorIvezEviButtonState st = State();
  if (!Enabled() || st == tbsDisabled) {
    c.Text = own->CaptionTextColor();
    c.Glyph = GlyphDisabled();
  } else if (st == tbsDown || st == tbsMenuDropped || MouseIsDown() || (st == tbsExclusive && Hot())) {
    if (m)
      c = TFaceColours{m->SelectedColor(),       m->SelectedColorTo(),   m->HoverColor(),
                       m->HoverColorTo(),        m->SelectedBorderColor(), m->SelectedTextColor(),
                       dir(m->SelectedGradientDirection()), GlyphDown()};
    else
      c = TFaceColours{a->ColorDown(),       a->ColorDownTo(),          a->ColorHot(), a->ColorHotTo(),
                       a->BorderDownColor(), a->CaptionTextColorDown(), a->GradientDirectionDown(), GlyphDown()};
  } else if (st == tbsExclusive) {
    c = TFaceColours{own->ColorChecked(),   own->ColorCheckedTo(),     own->ColorChecked(),
                     own->ColorCheckedTo(), own->BorderCheckedColor(), own->CaptionTextColorChecked(),
                     own->GradientDirectionChecked(), GlyphChecked()};
  } else if (Hot()) {
    if (m)
      c = TFaceColours{m->HoverColor(),       m->HoverColorTo(),     m->HoverColor(),
                       m->HoverColorTo(),     m->HoverBorderColor(), m->HoverTextColor(),
                       dir(m->HoverGradientDirection()), GlyphHot()};
    else
      c = TFaceColours{a->ColorHot(),       a->ColorHotTo(),          a->ColorHot(),             a->ColorHotTo(),
                       a->BorderHotColor(), a->CaptionTextColorHot(), a->GradientDirectionHot(), GlyphHot()};
  } else {
    c.Text = m ? m->Font()->Color() : own->CaptionTextColor();
    c.Glyph = Glyph();
  }
  PaintFace(ACanvas, c, !Horizontal());
}

void TLumCustomToolBarButton::DrawGlyphAndCaption(vcl::TCanvas* c, const vcl::TRect& C, vcl::TBitmap* AGlyph,
                                                  vcl::TColor TextColor) {
  const int L = C.Left, T = C.Top, R = C.Right, B = C.Bottom;
  const int W = R - L, H = B - T, BH = Height();
  c->Font()->Assign(CaptionFont());
  const rtl::AnsiString caption = Caption();
  int tw = 0, th = BH;
  if (showCaption_) {
    vcl::TRect m{0, 0, 1000, 100};
    c->DrawText(caption, m, vcl::DT_CALCRECT | vcl::DT_SINGLELINE);
    tw = m.Right - m.Left;
    th = m.Bottom - m.Top;
  }
  const int s = tw >= 1 && th >= 1 ? spacing_ : 0;

  // The image.
  int index = -1;
  vcl::TImageList* list = ImageSource(index);
  const bool disabled = !Enabled() || state_ == tbsDisabled;
  bool disabledList = false;
  if (list && disabled && ToolBarImages() && ToolBarDisabledImages()) {
    list = ToolBarDisabledImages();
    disabledList = true;
  }
  vcl::TGraphic* picture = picture_.Graphic();
  const bool useGlyph = !list && AGlyph && !AGlyph->Empty();
  const bool usePicture = !list && !useGlyph && picture && !picture->Empty();
  int iw = 0, ih = 0;
  if (list) {
    iw = list->Width();
    ih = list->Height();
  } else if (useGlyph) {
    iw = AGlyph->Width();
    ih = AGlyph->Height();
  } else if (usePicture) {
    iw = picture->Width();
    ih = picture->Height();
  }
  const bool hasImage = iw > 0;

  int x = 0, y = 0;
  vcl::TRect textRect = C;
  rtl::Cardinal format = vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_CENTER;
  vcl::TPoint origin{R + 1 - (W - th) / 2, T + (H - tw) / 2};
  const bool horizontal = Horizontal();
  if (hasImage) {
    if (horizontal) {
      switch (glyphPosition_) {
        case gpLeft:
          x = (W - tw - iw - s) / 2;
          y = (BH - ih) / 2;
          textRect = vcl::TRect{x + iw + s, T, R, B};
          format = vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_LEFT;
          break;
        case gpTop:
          x = (W - iw) / 2;
          y = (BH - th - ih - s) / 2;
          textRect = vcl::TRect{L, y + ih + s, R, B};
          format = vcl::DT_SINGLELINE | vcl::DT_CENTER | vcl::DT_TOP;
          break;
        case gpRight:
          x = (W - iw) - (W - tw - iw - s) / 2;
          y = (BH - ih) / 2;
          textRect = vcl::TRect{(W - tw - iw - s) / 2, T, x - s, B};
          format = vcl::DT_SINGLELINE | vcl::DT_RIGHT | vcl::DT_VCENTER;
          break;
        case gpBottom:
          x = (W - iw) / 2;
          y = (BH - ih) - (BH - th - ih - s) / 2;
          textRect = vcl::TRect{L, y - s - th, R, y};
          format = vcl::DT_SINGLELINE | vcl::DT_CENTER | vcl::DT_VCENTER;
          break;
      }
    } else {
      switch (glyphPosition_) {
        case gpLeft:
          x = (W - iw) / 2;
          y = (H - tw - ih - s) / 2;
          origin = {R - (W - th) / 2, y + ih + s};
          break;
        case gpTop:
          x = (W - iw) - (W - iw - s - th) / 2;
          y = (H - ih) / 2;
          origin = {(x - s) - (x - s - L - th) / 2, T};
          break;
        case gpRight:
          x = (W - iw) / 2;
          y = (H - ih) - (H - tw - ih - s) / 2;
          origin = {R - (W - th) / 2, T + (H - tw - ih - s) / 2};
          break;
        case gpBottom:
          x = (W - iw - s - th) / 2;
          y = (H - ih) / 2;
          origin = {R - (R - (x + s + iw) - th) / 2, T + (H - tw) / 2};
          break;
      }
    }
  }
  // Content longer than a fixed-size button: start it at 1 and end the
  // caption with an ellipsis.
  if (!autoSize_) {
    if (horizontal && x < 0) {
      textRect.Left += std::abs(x) + 1;
      x = 1;
      format |= vcl::DT_END_ELLIPSIS;
    } else if (!horizontal && y < 0) {
      textRect.Top += std::abs(y) + 1;
      origin.Y += std::abs(y) + 1;
      y = 1;
      format |= vcl::DT_END_ELLIPSIS;
    }
  }
  if (horizontal && textRect.Left < 0) {
    textRect.Left = 1;
    format = vcl::DT_SINGLELINE | vcl::DT_CENTER | vcl::DT_VCENTER | vcl::DT_END_ELLIPSIS;
  }
  if (!horizontal && origin.Y < 0) origin.Y = 1;
  if (drawPosition_.Enabled()) {
    x = drawPosition_.ImageX();
    y = drawPosition_.ImageY();
    if (horizontal) {
      textRect = vcl::TRect{drawPosition_.TextX(), drawPosition_.TextY(), Width(), Height()};
      format = vcl::DT_SINGLELINE | vcl::DT_END_ELLIPSIS;
    }
  }

  // The hover shadow, from the image source drawn now.
  if (mouseInControl_ && hot_ && shaded_ && Enabled() && state_ == tbsUp && !mouseIsDown_ && hasImage) {
    if (shadeFromList_ != (list != nullptr)) UpdateShade();
    if (!shade_.Empty()) c->Draw(x + 2, y + 2, &shade_);
  }
  if (list) {
    list->Draw(c, x, y, index, !disabled || disabledList);
  } else if (useGlyph) {
    AGlyph->SetTransparentMode(vcl::tmAuto);
    AGlyph->SetTransparent(true);
    c->Draw(x, y, AGlyph);
  } else if (usePicture) {
    vcl::TGraphic* g = disabled && pictureDisabled_.Graphic() && !pictureDisabled_.Graphic()->Empty()
                           ? pictureDisabled_.Graphic()
                           : picture;
    g->SetTransparent(true);
    c->Draw(x, y, g);
  }

  if (caption.empty() || !showCaption_) return;
  c->Font()->SetColor(TextColor);
  c->Brush()->SetStyle(vcl::bsClear);
  if (horizontal) {
    if (state_ == tbsDisabled) {
      vcl::TRect shifted{textRect.Left + 1, textRect.Top + 1, textRect.Right + 1, textRect.Bottom + 1};
      c->Font()->SetColor(vcl::clBtnHighlight);
      c->DrawText(caption, shifted, format);
      c->Font()->SetColor(vcl::clBtnShadow);
    }
    c->DrawText(caption, textRect, format);
    return;
  }
  c->Font()->SetOrientation(-900);
  if (state_ == tbsDisabled) {
    c->Font()->SetColor(vcl::clBtnHighlight);
    c->TextOut(origin.X, origin.Y, vcl::StripHotkey(caption));
    c->Font()->SetColor(vcl::clBtnShadow);
    c->TextOut(origin.X - 1, origin.Y - 1, vcl::StripHotkey(caption));
  } else {
    DrawVerticalHotkeyText(c, caption, origin);
  }
  c->Font()->SetOrientation(0);
}

void TLumCustomToolBarButton::AdjustSize() {
  if (!Parent() || !autoSize_) return;
  int iw = 0, ih = 0;
  int index = -1;
  if (vcl::TImageList* list = ImageSource(index)) {
    iw = list->Width();
    ih = list->Height();
  } else {
    for (vcl::TBitmap* g : {&glyph_, &glyphHot_, &glyphDown_, &glyphChecked_, &glyphDisabled_})
      if (!g->Empty()) {
        iw = std::max(iw, g->Width());
        ih = std::max(ih, g->Height());
      }
    if (glyph_.Empty() && glyphHot_.Empty() && glyphDown_.Empty() && glyphChecked_.Empty() && picture_.Graphic() &&
        !picture_.Graphic()->Empty()) {
      iw = picture_.Width();
      ih = picture_.Height();
    }
  }
  const bool horizontal = Horizontal();
  if (!horizontal) std::swap(iw, ih);
  vcl::TCanvas* c = MeasureCanvas();
  c->Font()->Assign(CaptionFont());
  const int tw = showCaption_ && !Caption().empty() ? c->TextWidth(Caption()) : 0;
  const int gh = c->TextHeight("gh");
  int l1 = 0, t1 = 0;
  if (glyphPosition_ == gpTop || glyphPosition_ == gpBottom) {
    l1 = std::max(tw, iw) + 2 * margin_;
    t1 = ih + gh + spacing_ + 2 * margin_;
  } else {
    l1 = iw > 0 && tw > 0 ? iw + spacing_ + tw : (tw == 0 ? iw : tw);
    l1 = std::max(0, l1) + 2 * margin_;
    t1 = std::max(gh, ih) + 2 * margin_;
  }
  if (l1 < 16) l1 = 15;
  if (dropDownButton_) l1 += dropDownWidth_;
  TLumCustomToolBar* bar = rorIvezEvi_;
  if (horizontal) {
    int height = Height();
    if (bar) {
      int room = bar->State() == tsFloating ? bar->RowHeight() - 4 : bar->Height() - 4;
      if (bar->State() != tsFloating && bar->ShowCaption()) room -= bar->CaptionHeight();
      t1 = std::max(t1, room);
      if (bar->AutoPositionControls() || bar->State() == tsFloating) height = t1;
    }
    SetBounds(Left(), Top(), l1, height);
  } else {
    int width = Width();
    if (bar) {
      int room = bar->State() == tsFloating ? bar->RowHeight() - 4 : bar->Width() - 4;
      if (bar->State() != tsFloating && bar->ShowCaption()) room -= bar->CaptionHeight();
      t1 = std::max(t1, room);
    }
    if (!bar || bar->AutoPositionControls() || bar->State() == tsFloating) width = t1;
    SetBounds(Left(), Top(), width, l1);
  }
}

}  // namespace ribbon
