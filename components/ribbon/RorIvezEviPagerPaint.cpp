// How the pager paints its tab row: the background and each tab in its
// state, hot and selected fades mixed in (see RorIvezEviPager.h).
#include <algorithm>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviFaces.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ImgList.h"

namespace ribbon {

namespace {

void TabLine(vcl::TCanvas* c, vcl::TColor color, int x1, int y1, int x2, int y2) {
  c->Pen()->SetColor(color);
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

// A tab's drawing state.
struct TTabLook {
  vcl::TColor Color = vcl::clNone, ColorTo = vcl::clNone, Mirror = vcl::clNone, MirrorTo = vcl::clNone,
              Border = vcl::clNone, Text = vcl::clNone, HighLight = vcl::clNone;
  controls::TGDIPGradient Gradient = controls::ggRadial, GradientMirror = controls::ggRadial;
  bool Body = true;
  bool Focused = false;
};

}  // namespace

void TRorIvezEviPager::Paint() {
  vcl::TCanvas* c = Canvas();
  // The styler's background picture under everything else.
  if (vcl::TBitmap* picture = CurrentStyler()->BackGround(); picture && !picture->Empty()) {
    const int w = Width(), h = Height(), pw = picture->Width(), ph = picture->Height();
    switch (CurrentStyler()->BackGroundDisplay()) {
      case TBackGroundDisplay::bdTile:
        // A picture with a zero side would never advance.
        if (pw > 0 && ph > 0)
          for (int y = 1; y < h - 2; y += ph)
            for (int x = 1; x < w - 2; x += pw) c->Draw(x, y, picture);
        break;
      case TBackGroundDisplay::bdCenter:
        c->Draw((w - pw) / 2, (h - ph) / 2, picture);
        break;
      case TBackGroundDisplay::bdStretch:
        c->StretchDraw(vcl::TRect{2, 2, w - 2, h - 2}, picture);
        break;
    }
  }
  if (caption_.Visible()) {
    // The form was maximised or restored since the glyphs were drawn.
    const vcl::TCustomForm* form = vcl::GetParentForm(this);
    const int state = form && form->WindowState() != vcl::wsNormal ? 1 : 0;
    if (closeButton_ && state != paintedState_) UpdateCaptionButtons(true);
    DrawCaption(c);
  }
  DrawTabArea(c);
  // The shadow under the active page.
  TLumPage* page = ActivePage();
  TCustomRorIvezEviStyler* s = CurrentStyler();
  if (!page || s->PageAppearance()->ShadowColor() == vcl::clNone) return;
  const vcl::TColor shadow = s->PageAppearance()->ShadowColor();
  const int L = page->Left(), T = page->Top(), R = page->Left() + page->Width(), B = page->Top() + page->Height();
  const vcl::TColor q = c->Pixels(L, B + 1);
  TabLine(c, ShadeColor(shadow, -15), L + 4, B, R, B);
  TabLine(c, ShadeColor(q, 10), R, B, R, T + 4);
  TabLine(c, ShadeColor(shadow, -20), L + 5, B + 1, R + 1, B + 1);
  TabLine(c, ShadeColor(q, 5), R + 1, B + 1, R + 1, T + 5);
}

void TRorIvezEviPager::DrawTabArea(vcl::TCanvas* c) {
  TGradientBackground* bg = CurrentStyler()->TabAppearance()->BackGround();
  const vcl::TRect area = GetTabsArea();
  const vcl::TRect r{0, area.Top, Width(), Height()};
  if (bg->Color() != vcl::clNone && bg->ColorTo() != vcl::clNone) {
    DrawStepGradient(c, bg->Color(), bg->ColorTo(), bg->Steps(), r, bg->Direction() == gdHorizontal);
  } else if (bg->Color() != vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(bg->Color());
    c->Pen()->SetColor(bg->Color());
    c->Rectangle(r);
  }
  if (caption_.Visible()) TabLine(c, MixColors(vcl::clWhite, bg->Color(), 70), r.Left, area.Top + 1, r.Right, area.Top + 1);
  DrawTabGroups(c);
  for (int i = 0; i < PageCount(); ++i) DrawTab(c, i);
}

void TRorIvezEviPager::DrawTabGroups(vcl::TCanvas* c) {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  const vcl::TColor tabBack = s->TabAppearance()->BackGround()->Color();
  const vcl::TRect area = GetTabsArea();
  // While the tabs scroll, a group shows only its edges in the tab row.
  const bool scrolling = scroller_.ScrollMax() >= 1;
  for (int g = 0; g < tabGroups_.Count(); ++g) {
    bool leftEdge = false, rightEdge = false;
    const vcl::TRect r = GetTabGroupRect(g, leftEdge, rightEdge);
    if (r.Left == -1) continue;
    const TTabGroupItem* item = tabGroups_.Items(g);
    TGroupAppearance* a = item->DefaultAppearance() ? s->GroupAppearance() : item->GroupAppearance();
    vcl::TRect upper = r;
    upper.Bottom = area.Top;
    upper.Top += 8;
    if (!scrolling && upper.Bottom > upper.Top) {
      DrawVistaButtonText(c, upper, a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(), vcl::clNone,
                          a->Gradient(), a->GradientMirror(), "", a->Font(), Enabled(), false, antiAlias_, false);
      TabLine(c, MixColors(a->ColorMirrorTo(), vcl::clBlack, 80), upper.Left, upper.Bottom - 1, upper.Right,
              upper.Bottom - 1);
      const vcl::TColor captionColour = s->PagerCaption()->Color();
      DrawStepGradient(c, captionColour, a->BorderColor(), 40,
                       vcl::TRect{upper.Left, r.Top + 6, upper.Left + 1, upper.Bottom + 1}, false);
      DrawStepGradient(c, captionColour, a->BorderColor(), 40,
                       vcl::TRect{upper.Right - 1, r.Top + 6, upper.Right, upper.Bottom + 2}, false);
    }
    DrawStepGradient(c, a->BorderColor(), tabBack, 40, vcl::TRect{r.Left, area.Top, r.Left + 1, r.Bottom}, false);
    if (rightEdge)
      DrawStepGradient(c, a->BorderColor(), tabBack, 40, vcl::TRect{r.Right - 1, area.Top, r.Right, r.Bottom}, false);
    if (scrolling || upper.Bottom <= upper.Top) continue;
    // The caption: an image when the pager has them, then the text from
    // 3 pixels after it, left-aligned.
    vcl::TRect text = upper;
    text.Left += 3;
    vcl::TFont* font = a->Font();
    c->Font()->Assign(font);
    c->Font()->SetColor(a->TextColor());
    vcl::TImageList* list = Enabled() ? images_ : (disabledImages_ ? disabledImages_ : images_);
    if (list && item->ImageIndex() >= 0) {
      vcl::TRect measured{0, 0, 0, 0};
      DrawGPText(c, vcl::taLeftJustify, 16420, text, item->Caption(), rtl::WideString(), font, Enabled(), false, antiAlias_, true, false,
                 measured);
      const int tw = measured.Width(), iw = list->Width();
      int x = text.Left;
      if (item->CaptionAlignment() == vcl::taRightJustify)
        x = text.Right - iw - 3 - tw - 3;
      else if (item->CaptionAlignment() == vcl::taCenter)
        x = text.Left + (text.Width() - iw - 3 - tw) / 2;
      x = std::max(x, text.Left);
      list->Draw(c, x, text.Top + (text.Height() - list->Height()) / 2, item->ImageIndex(),
                 Enabled() || disabledImages_ != nullptr);
      text.Left = x + iw + 3;
    }
    c->Brush()->SetStyle(vcl::bsClear);
    vcl::TRect drawn{0, 0, 0, 0};
    font->SetColor(a->TextColor());
    DrawGPText(c, vcl::taLeftJustify, 16420, text, item->Caption(), rtl::WideString(), font, Enabled(), true, antiAlias_, true, false,
               drawn);
  }
}

void TRorIvezEviPager::DrawTab(vcl::TCanvas* c, int Index) {
  if (Index < 0 || Index >= PageCount() || tabSettings_.Height() <= 0) return;
  const vcl::TRect t = GetTabRect(Index);
  const vcl::TRect strip = GetTabsRect();
  if (t.Left == -1 || t.Right <= strip.Left || t.Left >= strip.Right) return;
  TCustomRorIvezEviStyler* s = CurrentStyler();
  TCustomTabAppearance* a = s->TabAppearance();
  if (const int g = TabGroupOfPage(Index); g >= 0) {
    const TTabGroupItem* item = tabGroups_.Items(g);
    a = item->DefaultAppearance() ? s->GroupAppearance()->TabAppearance() : item->GroupAppearance()->TabAppearance();
  }
  TGradientBackground* bg = s->TabAppearance()->BackGround();
  TLumPage* page = pages_[Index];
  const bool fading = page->FadeTimer() != nullptr;
  const int h = page->HotFade(), sel = page->SelectedFade();
  TTabLook k;
  // The hot colours mixed into the tab row's background by h.
  auto hotIntoBackground = [&] {
    k.Color = MixColors(a->ColorHot(), bg->Color(), h);
    k.ColorTo = MixColors(a->ColorHotTo(), bg->ColorTo() != vcl::clNone ? bg->ColorTo() : bg->Color(), h);
    k.Mirror = MixColors(a->ColorMirrorHot(), bg->Color(), h);
    k.MirrorTo = MixColors(a->ColorMirrorHotTo(), bg->Color(), h);
    k.Border = MixColors(a->BorderColorHot(), bg->Color(), h);
  };
  if (page->TabEnabled() || !showNonSelectedTabs_) {
    if (Index == activePageIndex_) {
      k = TTabLook{a->ColorSelected(),  a->ColorSelectedTo(),  a->ColorMirrorSelected(), a->ColorMirrorSelectedTo(),
                   a->BorderColorSelected(), a->TextColorSelected(), a->HighLightColor(), a->GradientSelected(),
                   a->GradientMirrorSelected()};
      if (Index == hotTab_) {
        k.Border = a->BorderColorSelectedHot();
        k.HighLight = a->HighLightColorSelectedHot();
      }
      if (fading && page->FadeMode() == 1) {
        k.Color = MixColors(a->ColorSelected(), a->ColorHot(), sel);
        k.ColorTo = MixColors(a->ColorSelectedTo(), a->ColorHotTo(), sel);
        k.Mirror = MixColors(a->ColorMirrorSelected(), a->ColorMirrorHot(), sel);
        k.MirrorTo = MixColors(a->ColorMirrorSelectedTo(), a->ColorMirrorHotTo(), sel);
        k.Border = MixColors(a->BorderColorSelected(), a->BorderColorHot(), sel);
      } else if (fading && page->FadeMode() == 0) {
        k.Border = MixColors(a->BorderColorSelectedHot(), a->BorderColorSelected(), h);
      }
      if (Index == pressedTab_) {
        k.Border = a->BorderColorDown();
        k.HighLight = a->HighLightColorDown();
      }
    } else if (Index == hotTab_) {
      k = TTabLook{a->ColorHot(),       a->ColorHotTo(),  a->ColorMirrorHot(),    a->ColorMirrorHotTo(),
                   a->BorderColorHot(), a->TextColorHot(), a->HighLightColorHot(), a->GradientHot(),
                   a->GradientMirrorHot()};
      if (fading && page->FadeMode() == 0) {
        if (showNonSelectedTabs_) {
          k.Color = MixColors(a->ColorHot(), a->Color(), h);
          k.ColorTo = MixColors(a->ColorHotTo(), a->ColorTo(), h);
          k.Mirror = MixColors(a->ColorMirrorHot(), a->ColorMirror(), h);
          k.MirrorTo = MixColors(a->ColorMirrorHotTo(), a->ColorMirrorTo(), h);
          k.Border = MixColors(a->BorderColorHot(), a->BorderColor(), h);
        } else {
          hotIntoBackground();
        }
      }
    } else if (showNonSelectedTabs_) {
      k = TTabLook{a->Color(),       a->ColorTo(),   a->ColorMirror(), a->ColorMirrorTo(),
                   a->BorderColor(), a->TextColor(), vcl::clNone,      a->Gradient(),
                   a->GradientMirror()};
      if (fading && page->FadeMode() == 0) k.Border = MixColors(a->BorderColorHot(), a->BorderColor(), h);
    } else {
      k.Body = false;
      k.Text = page->TabEnabled() ? a->TextColor() : a->TextColorDisabled();
      k.Gradient = a->GradientHot();
      k.GradientMirror = a->GradientMirrorHot();
      if (fading && page->FadeMode() == 0) {
        k.Body = true;
        hotIntoBackground();
      }
    }
  } else {
    k = TTabLook{a->ColorDisabled(),       a->ColorDisabledTo(),   a->ColorMirrorDisabled(), a->ColorMirrorDisabledTo(),
                 a->BorderColorDisabled(), a->TextColorDisabled(), vcl::clNone,              a->GradientDisabled(),
                 a->GradientMirrorDisabled()};
  }
  if (Focused() && Index == activePageIndex_) {
    k.Color = a->ColorHot();
    k.ColorTo = a->ColorHotTo();
    k.Mirror = a->ColorMirrorHot();
    k.MirrorTo = a->ColorMirrorHotTo();
    k.Border = a->BorderColorSelectedHot();
    k.Gradient = a->GradientHot();
    k.GradientMirror = a->GradientMirrorHot();
    k.Text = a->TextColorHot();
    k.HighLight = a->HighLightColorSelected();
    k.Focused = true;
  }
  c->Font()->Assign(a->Font());
  c->Font()->SetColor(k.Text);
  const int L = t.Left, T = t.Top, R = t.Right, B = t.Bottom;
  if (k.Body) {
    DrawVistaButtonText(c, t, k.Color, k.ColorTo, k.Mirror, k.MirrorTo, k.Border, k.Gradient, k.GradientMirror, "",
                        a->Font(), Enabled(), false, antiAlias_, true);
    const vcl::TColor left = c->Pixels(L - 1, T - 1), above = c->Pixels(L + 1, T - 1), before = c->Pixels(L - 1, T);
    const vcl::TColor beyond = c->Pixels(R + 1, T);
    c->SetPixels(L, T, left);
    c->SetPixels(L + 1, T, above);
    c->SetPixels(L, T + 1, before);
    for (auto [x, y] : {std::pair{R - 1, T}, {R - 2, T}, {R - 1, T + 1}}) c->SetPixels(x, y, beyond);
    const int p = k.Focused || (fading && page->FadeMode() == 0) ? 20 : 50;
    TabLine(c, MixColors(vcl::clWhite, k.Color, p), L + 3, T + 3, R - 3, T + 3);
    if (s->TabAppearance()->ShadowColor() != vcl::clNone) {
      TabLine(c, s->TabAppearance()->ShadowColor(), R, T + 3, R, B - 4);
      TabLine(c, MixColors(s->TabAppearance()->ShadowColor(), bg->Color(), 40), R + 1, T + 4, R + 1, B - 4);
    }
    if (k.HighLight != vcl::clNone) {
      TabLine(c, MixColors(k.Color, k.Border, 80), L + 3, T + 1, R - 3, T + 1);
      TabLine(c, k.HighLight, L + 1, T + 3, L + 1, B - 5);
      TabLine(c, k.HighLight, R - 2, T + 3, R - 2, B - 5);
    }
  }
  // The caption, left-aligned and clipped to the tab's content.
  const bool grouped = Grouped(Index);
  vcl::TRect content{L + CurrentMargin(grouped, true), T, R - 2, B};
  const int saved = c->SaveDC();
  c->IntersectClipRect(content);
  vcl::TRect out;
  DrawGPWrapText(c, 0, vcl::TRect{content.Left, T, content.Left + page->NaturalWidth + 1000, B}, page->Caption(), page->WideCaption(),
                 c->Font(), page->Enabled(), true, antiAlias_, out);
  c->RestoreDC(saved);
}

}  // namespace ribbon
