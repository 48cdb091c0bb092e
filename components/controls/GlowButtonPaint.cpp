// How a glow button paints: the look for its state with the fades blended
// in, the glyph it shows, the measuring pass that sizes an auto-sized
// button, and the one layout routine that draws halves, border, focus
// frame, caption, notes, glyph and drop-down part.
#include <algorithm>
#include <cmath>

#include "controls/GDIPicture.h"
#include "controls/LumGlowButton.h"
#include "rtl/CodePages.h"
#include "rtl/Strings.h"
#include "vcl/ActnList.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/UxTheme.h"

namespace controls {

using vcl::TColor;
using vcl::TRect;

namespace {

constexpr TColor kFocusBlue = 0xE4AD89;
constexpr TColor kGrey = 0x808080;

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// A face GDI+ can lay out: one the system lists, or one the substitution
// table stands an installed family in for (so the desktop's Tahoma and
// Segoe UI take the GDI+ path as they do there). Every face here is an
// outline face drawn by the program, never a device font.
bool GdipCanUseFace(const vcl::AnsiString& name) {
  if (vcl::SubstituteFontName(name) != name) return true;
  return vcl::Screen && vcl::Screen->Fonts()->IndexOf(name) >= 0;
}

int32_t GdipStyleBits(const vcl::TFont* font) {
  int32_t bits = 0;
  if (font->Style().Contains(vcl::fsBold)) bits |= 1;
  if (font->Style().Contains(vcl::fsItalic)) bits |= 2;
  if (font->Style().Contains(vcl::fsUnderline)) bits |= 4;
  return bits;
}

std::unique_ptr<TGPFontFamily> FamilyOf(const vcl::AnsiString& name) {
  auto family = std::make_unique<TGPFontFamily>(rtl::Utf8ToWide(name));
  const GpStatus s = family->GetLastStatus();
  if (s == vcl::FontFamilyNotFound || s == vcl::FontStyleNotFound)
    family = std::make_unique<TGPFontFamily>(u"Arial");
  return family;
}

// Every "\n" pair, in either letter case.
vcl::AnsiString ReplaceLineMarks(const vcl::AnsiString& text, const char* with) {
  vcl::AnsiString out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'N')) {
      out += with;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool SideLayout(TButtonLayout l) {
  return l == blGlyphLeft || l == blGlyphRight || l == blGlyphLeftAdjusted || l == blGlyphRightAdjusted;
}

bool GlyphUsable(vcl::TBitmap* glyph) {
  return glyph && !glyph->Empty() && glyph->Width() > 1 && glyph->Height() > 1;
}

}  // namespace

vcl::TSize TLumCustomGlowButton::DrawGlowButton(vcl::TCanvas* Canvas, const TGlowDrawInput& In) {
  const TRect& R = In.R;
  const int r = In.Rounded ? 3 : 0;
  TRect rc = R;
  TRect dd = In.DropDownPosition == dpRight ? TRect{R.Right - 14, R.Top, R.Right, R.Bottom}
                                            : TRect{R.Left, R.Bottom - 14, R.Right, R.Bottom};
  if (In.DropDownButton) {
    if (In.DropDownPosition == dpRight)
      rc.Right -= 14;
    else
      rc.Bottom -= 14;
  }
  const vcl::AnsiString notes = In.Notes;
  const TButtonLayout layout = notes.empty() ? In.Layout : blGlyphLeftAdjusted;

  auto graphics = std::make_unique<TGPGraphics>(Canvas);

  // Background halves.
  if (!In.Transparent) {
    const int h2 = R.Height() / 2;
    auto upper = [&](const TRect& half, TColor a, TColor b, TGDIPGradient g) {
      glow::DrawGlowHalf(graphics.get(), half, a, b, g, true);
    };
    auto lower = [&](const TRect& half, TColor a, TColor b, TGDIPGradient g) {
      glow::DrawGlowHalf(graphics.get(), half, a, b, g, false);
    };
    if (In.DropDownButton && In.DownLook && In.DropDownSplit) {
      const bool partLit = In.DropDownState == 2;
      auto shade = [](TColor c) { return glow::ShadeColor(c, -10); };
      const TColor mC = partLit ? In.Color : shade(In.Color), mCT = partLit ? In.ColorTo : shade(In.ColorTo);
      const TColor mM = partLit ? In.ColorMirror : shade(In.ColorMirror);
      const TColor mMT = partLit ? In.ColorMirrorTo : shade(In.ColorMirrorTo);
      const TColor pC = partLit ? shade(In.Color) : In.Color, pCT = partLit ? shade(In.ColorTo) : In.ColorTo;
      const TColor pM = partLit ? shade(In.ColorMirror) : In.ColorMirror;
      const TColor pMT = partLit ? shade(In.ColorMirrorTo) : In.ColorMirrorTo;
      const TGDIPGradient pG = partLit ? In.Gradient : ggRadial;
      if (In.DropDownPosition == dpRight) {
        lower({R.Left, R.Top + h2 - 1, R.Right - 12, R.Bottom}, mMT, mM, In.GradientMirror);
        upper({R.Left, R.Top, R.Right - 12, R.Bottom - h2}, mC, mCT, In.Gradient);
        upper({R.Right - 12, R.Top, R.Right, R.Bottom - h2}, pC, pCT, pG);
        lower({R.Right - 12, R.Top + h2 - 1, R.Right, R.Bottom}, pMT, pM, In.GradientMirror);
      } else {
        const int h3 = (R.Height() - 12) / 2;
        lower({R.Left, R.Top + h3 - 1, R.Right, R.Bottom - 12}, mMT, mM, In.GradientMirror);
        upper({R.Left, R.Top, R.Right, R.Bottom - 12 - h3}, mC, mCT, In.Gradient);
        upper({R.Left, R.Bottom - 12, R.Right, R.Bottom}, pC, pCT, pG);
      }
    } else {
      lower({R.Left, R.Top + h2 - 1, R.Right, R.Bottom}, In.ColorMirrorTo, In.ColorMirror, In.GradientMirror);
      upper({R.Left, R.Top, R.Right, R.Bottom - h2}, In.Color, In.ColorTo, In.Gradient);
    }
  }

  graphics->SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  if (!In.Transparent && In.HasBorder) {
    const int w = R.Right - 1, h = R.Bottom - 1;
    const bool lit = In.Hot || In.Down;
    switch (In.Position) {
      case bpStandalone: glow::DrawRoundRectBorder(graphics.get(), In.BorderColor, R.Left, R.Top, w, h, r); break;
      case bpLeft: glow::DrawLeftButtonBorder(graphics.get(), In.BorderColor, R.Left, R.Top, w, h, r); break;
      case bpMiddle:
        glow::DrawMiddleButtonBorder(graphics.get(), In.BorderColor, R.Left, R.Top, w, h, r, lit);
        break;
      case bpRight: glow::DrawRightButtonBorder(graphics.get(), In.BorderColor, R.Left, R.Top, w, h, r, lit); break;
    }
  }
  if (In.FocusBorder) {
    glow::DrawRoundRectBorder(graphics.get(), kFocusBlue, R.Left + 1, R.Top + 1, R.Right - 3, R.Bottom - 3, r);
    glow::DrawDottedRoundRect(graphics.get(), kGrey, R.Left + 2, R.Top + 2, R.Right - 5, R.Bottom - 5, r);
  }

  // The glyph box.
  int iw = 0, ih = 0;
  const bool glyphSized = In.GlyphSize.cx > 0 && In.GlyphSize.cy > 0;
  bool pictureGlyph = false;
  if (GlyphUsable(In.Glyph)) {
    iw = glyphSized ? In.GlyphSize.cx : In.Glyph->Width();
    ih = glyphSized ? In.GlyphSize.cy : In.Glyph->Height();
  } else if (In.Picture && !In.Picture->Empty()) {
    In.Picture->RefreshImageSize();
    pictureGlyph = true;
    iw = glyphSized ? In.GlyphSize.cx : In.Picture->Width();
    ih = glyphSized ? In.GlyphSize.cy : In.Picture->Height();
  } else if (In.ImageIndex > -1 && In.Images) {
    iw = In.Images->Width();
    ih = In.Images->Height();
  }
  const bool hasCaption = !In.Caption.empty() || !In.WideCaption.empty();
  if (hasCaption) {
    if (iw > 0 && SideLayout(layout)) iw += In.Spacing;
    if (ih > 0 && (layout == blGlyphTop || layout == blGlyphTopAdjusted)) ih += In.Spacing;
  }
  vcl::TSize result{iw, ih};
  const int w = rc.Width(), h = rc.Height();
  int gx = 0, gy = 0;
  int V = 0;  // the drop arrow's reference line

  if (hasCaption) {
    vcl::AnsiString caption = In.Caption;
    // A "\n" in the caption breaks the line once (both text layouts here
    // would read a line feed followed by a carriage return as two breaks),
    // or becomes a space where the glyph is forced small.
    if (!caption.empty()) caption = ReplaceLineMarks(caption, glyphSized ? " " : "\r\n");
    const rtl::WideString wide = caption.empty() ? In.WideCaption : rtl::Utf8ToWide(caption);
    const vcl::AnsiString narrow = caption.empty() ? rtl::WideToUtf8(In.WideCaption) : caption;

    Canvas->Font()->SetName(In.Font->Name());
    const bool gdip = In.AntiAlias != TAntiAlias::aaNone && GdipCanUseFace(In.Font->Name());

    TGPFloatRect L{static_cast<vcl::REAL>(R.Left), static_cast<vcl::REAL>(R.Top), static_cast<vcl::REAL>(w),
                   static_cast<vcl::REAL>(h)};
    if (In.Measure) L.Width = L.Height = 4096;
    auto family = FamilyOf(In.Font->Name());
    auto notesFamily = FamilyOf(In.NotesFont->Name());
    TGPFont font(family.get(), static_cast<vcl::REAL>(In.Font->Size()), GdipStyleBits(In.Font), vcl::UnitPoint);
    TGPStringFormat format(In.WordWrap ? 0 : vcl::StringFormatFlagsNoWrap, 0);
    TGPSolidBrush textBrush(ColorToOpaqueARGB(In.Enabled ? In.Font->Color() : kGrey));
    format.SetAlignment(layout == blGlyphLeftAdjusted    ? vcl::StringAlignmentNear
                        : layout == blGlyphRightAdjusted ? vcl::StringAlignmentFar
                                                         : vcl::StringAlignmentCenter);
    format.SetLineAlignment(layout == blGlyphTopAdjusted      ? vcl::StringAlignmentNear
                            : layout == blGlyphBottomAdjusted ? vcl::StringAlignmentFar
                                                              : vcl::StringAlignmentCenter);
    format.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
    format.SetTrimming(In.Trimming);
    if (In.AntiAlias == TAntiAlias::aaClearType)
      graphics->SetTextRenderingHint(vcl::TextRenderingHintClearTypeGridFit);
    else if (In.AntiAlias == TAntiAlias::aaAntiAlias)
      graphics->SetTextRenderingHint(vcl::TextRenderingHintAntiAlias);

    double tw = 0, th = 0, nw = 0, nh = 0;
    double boxLeft = 0;
    const vcl::Cardinal lineFlag = In.WordWrap ? vcl::DT_WORDBREAK : vcl::DT_SINGLELINE;
    if (!gdip) {
      Canvas->Font()->Assign(In.Font);
      TRect m{RoundHalfEven(L.X), RoundHalfEven(L.Y), RoundHalfEven(L.X) + (In.WordWrap ? 4096 : 2),
              RoundHalfEven(L.Y)};
      const int got = Canvas->DrawText(narrow, m, vcl::DT_CALCRECT | lineFlag);
      th = got - m.Top;
      tw = m.Width();
      V = (got + RoundHalfEven(L.Height)) / 2;
      if (!notes.empty()) {
        Canvas->Font()->Assign(In.NotesFont);
        TRect n{RoundHalfEven(L.X), RoundHalfEven(L.Y), RoundHalfEven(L.X) + 2, RoundHalfEven(L.Y)};
        const int ngot = Canvas->DrawText(notes, n, vcl::DT_CALCRECT | vcl::DT_WORDBREAK);
        nh = ngot - n.Top;
        nw = n.Width();
      }
      boxLeft = L.X;
      if (layout == blGlyphLeft) boxLeft = (w - tw - iw) / 2;
    } else {
      TGPFloatRect box;
      graphics->MeasureString(wide, static_cast<int32_t>(wide.size()), &font, L, &format, box);
      tw = box.Width;
      th = box.Height;
      boxLeft = box.X;
      V = RoundHalfEven(box.Y + box.Height);
      if (iw > 0) L.Width -= static_cast<vcl::REAL>(iw + In.Spacing);
      if (!notes.empty()) {
        TGPFont notesFont(notesFamily.get(), static_cast<vcl::REAL>(In.NotesFont->Size()),
                          GdipStyleBits(In.NotesFont), vcl::UnitPoint);
        const rtl::WideString wideNotes = rtl::Utf8ToWide(notes);
        TGPFloatRect nbox;
        graphics->MeasureString(wideNotes, static_cast<int32_t>(wideNotes.size()), &notesFont, L, &format, nbox);
        nw = nbox.Width;
        nh = nbox.Height;
      }
    }
    tw = RoundHalfEven(tw);
    th = RoundHalfEven(th);
    nw = RoundHalfEven(nw);
    nh = RoundHalfEven(nh);
    const int S = In.Spacing;
    if (SideLayout(layout)) {
      const bool withNotes = gdip || layout == blGlyphLeftAdjusted;
      const int textW = static_cast<int>(withNotes ? std::max(tw, nw) : tw);
      const int textH = static_cast<int>(withNotes ? th + nh : th);
      result = {textW + iw + S, std::max(ih, textH) + S};
    } else {
      result = {std::max(iw, static_cast<int>(tw)) + S, static_cast<int>(th) + ih + S};
    }
    if (In.Measure) return result;

    // Placement.
    if (!In.WordWrap) L = {static_cast<vcl::REAL>(R.Left), static_cast<vcl::REAL>(R.Top),
                           static_cast<vcl::REAL>(w), static_cast<vcl::REAL>(h)};
    const int midY = R.Top + std::max(0, (h - ih) / 2);
    const int midX = R.Left + std::max(0, (w - iw) / 2);
    switch (layout) {
      case blGlyphLeft:
      case blGlyphLeftAdjusted:
        L.X = static_cast<vcl::REAL>(R.Left + 2 + iw);
        L.Width = static_cast<vcl::REAL>(w - 2 - iw);
        gx = (layout == blGlyphLeft && !gdip) ? RoundHalfEven(boxLeft) : RoundHalfEven(boxLeft - iw / 2);
        gx = std::max(2, gx);
        gy = midY;
        break;
      case blGlyphTop:
      case blGlyphTopAdjusted: {
        L.Y = static_cast<vcl::REAL>(R.Top + ih);
        L.Height = static_cast<vcl::REAL>(h - 2 - ih);
        gx = midX;
        if (layout == blGlyphTop) {
          const int t = std::max(0, RoundHalfEven(L.Height - th) / 2);
          gy = RoundHalfEven(L.Y) - ih + t - (gdip ? 0 : 4);
        } else {
          gy = RoundHalfEven(L.Y) - ih;
        }
        gy = std::max(2, gy);
        break;
      }
      case blGlyphRight:
      case blGlyphRightAdjusted:
        L.X = 2;
        L.Width = static_cast<vcl::REAL>(w - 4 - iw);
        if (layout == blGlyphRightAdjusted) {
          gx = w - iw - 2;
        } else {
          gx = std::max(0, RoundHalfEven(L.Width - tw) / 2) + static_cast<int>(tw) + 4;
          if (gx > w - iw) gx = w - iw - 2;
        }
        gy = midY;
        gx += In.Spacing;
        break;
      case blGlyphBottom: {
        L.Y = 2;
        L.Height = static_cast<vcl::REAL>(h - 2 - ih);
        gx = midX;
        const int t = std::max(0, RoundHalfEven(L.Height - th) / 2);
        gy = t + RoundHalfEven(th + (gdip ? 2 : 5));
        if (gy > h - ih) gy = h - ih - 2;
        break;
      }
      case blGlyphBottomAdjusted:
        L.Y = 2;
        gx = midX;
        if (!gdip) {
          L.Height = static_cast<vcl::REAL>(h - 4 - ih);
          gy = h - ih - 2;
        } else {
          L.Height = static_cast<vcl::REAL>(h - 2 - ih);
          gy = std::max(0, h / 2) + RoundHalfEven(th + 2);
          if (gy > h - ih) gy = h - ih - 2;
        }
        break;
    }

    // The caption and notes.
    if (!gdip) {
      TRect T{RoundHalfEven(L.X), RoundHalfEven(L.Y), RoundHalfEven(L.X) + RoundHalfEven(L.Width),
              RoundHalfEven(L.Y) + RoundHalfEven(L.Height)};
      Canvas->Brush()->SetStyle(vcl::bsClear);
      vcl::Cardinal flags = lineFlag;
      switch (layout) {
        case blGlyphLeft:
        case blGlyphRight:
        case blGlyphBottom: flags |= vcl::DT_VCENTER | vcl::DT_CENTER; break;
        case blGlyphTop:
        case blGlyphTopAdjusted: flags |= vcl::DT_TOP | vcl::DT_CENTER; break;
        case blGlyphBottomAdjusted: flags |= vcl::DT_BOTTOM | vcl::DT_CENTER; break;
        case blGlyphRightAdjusted: flags |= vcl::DT_VCENTER | vcl::DT_RIGHT; break;
        case blGlyphLeftAdjusted:
          flags |= vcl::DT_LEFT;
          T.Left += 2;
          if (notes.empty())
            flags |= vcl::DT_VCENTER;
          else
            T.Top = (T.Height() - static_cast<int>(th) - static_cast<int>(nh)) / 2;
          break;
      }
      Canvas->Font()->Assign(In.Font);
      if (!In.Enabled) Canvas->Font()->SetColor(kGrey);
      TRect T2 = T;
      if (In.WordWrap) {
        TRect calc = T;
        const int hw = Canvas->DrawText(narrow, calc, flags | vcl::DT_CALCRECT) - calc.Top;
        switch (layout) {
          case blGlyphTop: T2.Top = gy + ih; break;
          case blGlyphTopAdjusted: break;
          case blGlyphBottomAdjusted: T2.Top = T2.Bottom - hw; break;
          default: T2.Top = (T2.Height() - hw) / 2; break;
        }
      }
      Canvas->DrawText(narrow, T2, flags);
      if (!notes.empty()) {
        T2.Top += static_cast<int>(th);
        T2.Bottom = T2.Top + static_cast<int>(nh);
        Canvas->Font()->Assign(In.NotesFont);
        Canvas->DrawText(notes, T2, flags);
      }
    } else {
      if (!notes.empty()) {
        format.SetLineAlignment(vcl::StringAlignmentNear);
        L.Y += static_cast<vcl::REAL>((L.Height - th - nh) / 2);
      }
      L.X -= 1;
      if (!caption.empty())
        graphics->DrawAnsiString(caption, static_cast<int32_t>(caption.size()), &font, L, &format, &textBrush);
      else
        graphics->DrawString(wide, static_cast<int32_t>(wide.size()), &font, L, &format, &textBrush);
      if (!notes.empty()) {
        L.Y += static_cast<vcl::REAL>(th);
        TGPFont notesFont(notesFamily.get(), static_cast<vcl::REAL>(In.NotesFont->Size()),
                          GdipStyleBits(In.NotesFont), vcl::UnitPoint);
        TGPSolidBrush notesBrush(ColorToOpaqueARGB(In.NotesFont->Color()));
        graphics->DrawAnsiString(notes, static_cast<int32_t>(notes.size()), &notesFont, L, &format, &notesBrush);
      }
    }
  }
  if (In.Measure) return result;

  // The glyph.
  {
    int cw = R.Width(), ch = R.Height();
    if (In.DropDownButton) {
      if (In.DropDownPosition == dpRight)
        cw -= 8;
      else
        ch -= 8;
    }
    int gw = iw, gh = ih;
    if (!GlyphUsable(In.Glyph) && !pictureGlyph && In.Images) {
      gw = In.Images->Width();
      gh = In.Images->Height();
    }
    if (!hasCaption) {
      gx = R.Left + std::max(0, (cw - gw) / 2);
      gy = R.Top + std::max(0, (ch - gh) / 2);
    }
    if (GlyphUsable(In.Glyph)) {
      if (glyphSized) {
        In.Glyph->SetTransparent(true);
        Canvas->StretchDraw(vcl::Bounds(gx, gy, In.GlyphSize.cx, In.GlyphSize.cy), In.Glyph);
      } else {
        Canvas->Draw(gx, gy, In.Glyph);
      }
    } else if (pictureGlyph) {
      if (glyphSized)
        glow::DrawPictureStretched(graphics.get(), Canvas, vcl::Bounds(gx, gy, In.GlyphSize.cx, In.GlyphSize.cy),
                                   In.Picture);
      else
        glow::DrawPictureAt(graphics.get(), {gx, gy}, In.Picture);
    } else if (In.ImageIndex != -1 && In.Images) {
      if (Parent() && Parent()->ClassName() == "TLumQuickAccessToolBar")
        glow::DrawImageListGlyph(graphics.get(), {gx, gy}, In.Images, In.ImageIndex, In.EnabledImage);
      else
        In.Images->Draw(Canvas, gx, gy, In.ImageIndex, In.EnabledImage);
    }
  }

  // The drop-down part.
  Canvas->Brush()->SetStyle(vcl::bsClear);
  if (In.DropDownButton) {
    if (In.DownLook && In.DropDownSplit) {
      Canvas->Pen()->SetColor(In.BorderColor);
      if (In.DropDownPosition == dpRight) {
        Canvas->MoveTo(dd.Left, dd.Top);
        Canvas->LineTo(dd.Left, dd.Bottom);
      } else {
        Canvas->MoveTo(dd.Left, dd.Top);
        Canvas->LineTo(dd.Right, dd.Top);
      }
    }
    const int ax = dd.Left + (dd.Width() - 5) / 2;
    const int ay = (In.DropDownPosition == dpBottom || !hasCaption) ? dd.Top + (dd.Height() - 3) / 2 + 1 : V - 8;
    glow::DrawDropArrow(Canvas, {ax, ay}, In.Enabled ? vcl::clBlack : kGrey, In.DropDownDown, vcl::clWhite);
  }
  return result;
}

TGlowDrawInput TLumCustomGlowButton::PaintInputs(vcl::TFont& FontCopy, vcl::TBitmap* Glyph, bool ForSize,
                                                 TButtonSizeState State) {
  const TGlowButtonAppearance& a = *appearance_;
  // The no-colour value in a look paints as its colour bytes, white, as it
  // does on the desktop (the class library resolves it to black).
  auto rgb = [](TColor c) { return c == vcl::clNone ? vcl::clWhite : c; };
  TGlowDrawInput in;
  in.R = ClientRect();
  const bool enabled = Enabled();
  const bool disabledLook = (paintState_ == kDisabled || !enabled) && showDisabled_;
  auto useSet = [&](TColor c, TColor ct, TColor m, TColor mt, TColor b, TGDIPGradient g, TGDIPGradient gm) {
    in.Color = c;
    in.ColorTo = ct;
    in.ColorMirror = m;
    in.ColorMirrorTo = mt;
    in.BorderColor = b;
    in.Gradient = g;
    in.GradientMirror = gm;
  };
  auto disabledSet = [&] {
    useSet(rgb(a.ColorDisabled()), rgb(a.ColorDisabledTo()), rgb(a.ColorMirrorDisabled()), rgb(a.ColorMirrorDisabledTo()),
           rgb(a.BorderColorDisabled()), a.GradientDisabled(), a.GradientMirrorDisabled());
  };
  auto hotSet = [&] {
    useSet(rgb(a.ColorHot()), rgb(a.ColorHotTo()), rgb(a.ColorMirrorHot()), rgb(a.ColorMirrorHotTo()), rgb(a.BorderColorHot()),
           a.GradientHot(), a.GradientMirrorHot());
  };
  const bool fading = glowTimer_ != nullptr;
  using glow::BlendColor;
  if (disabledLook) {
    disabledSet();
  } else if (paintState_ == kDown && style_ != bsCheck) {
    useSet(rgb(a.ColorDown()), rgb(a.ColorDownTo()), rgb(a.ColorMirrorDown()), rgb(a.ColorMirrorDownTo()), rgb(a.BorderColorDown()),
           a.GradientDown(), a.GradientMirrorDown());
    in.DownLook = true;
  } else if (paintState_ == kExclusive || (paintState_ == kDown && style_ == bsCheck)) {
    useSet(rgb(a.ColorChecked()), rgb(a.ColorCheckedTo()), rgb(a.ColorMirrorChecked()), rgb(a.ColorMirrorCheckedTo()),
           rgb(a.BorderColorChecked()), a.GradientChecked(), a.GradientMirrorChecked());
    if (fading && (inControl_ || (style_ != bsCheck && (groupIndex_ <= 0 || paintState_ == kDown)))) {
      in.Color = BlendColor(rgb(a.ColorChecked()), rgb(a.ColorDown()), pressPos_);
      in.ColorTo = BlendColor(rgb(a.ColorCheckedTo()), rgb(a.ColorDownTo()), pressPos_);
      in.ColorMirror = BlendColor(rgb(a.ColorMirrorChecked()), rgb(a.ColorMirrorDown()), pressPos_);
      in.ColorMirrorTo = BlendColor(rgb(a.ColorMirrorCheckedTo()), rgb(a.ColorMirrorDownTo()), pressPos_);
    }
  } else if (hotLook_) {
    hotSet();
    in.DownLook = true;
  } else {
    useSet(rgb(a.Color()), rgb(a.ColorTo()), rgb(a.ColorMirror()), rgb(a.ColorMirrorTo()), rgb(a.BorderColor()), a.Gradient(),
           a.GradientMirror());
  }
  if (fading) {
    const bool checkedDown = style_ == bsCheck && paintState_ == kDown;
    if (!pressed_ && !transparent_ && paintState_ != kExclusive && !checkedDown) {
      in.Color = BlendColor(rgb(a.ColorHot()), rgb(a.Color()), hotPos_);
      in.ColorTo = BlendColor(rgb(a.ColorHotTo()), rgb(a.ColorTo()), hotPos_);
      in.ColorMirror = BlendColor(rgb(a.ColorMirrorHot()), rgb(a.ColorMirror()), hotPos_);
      in.ColorMirrorTo = BlendColor(rgb(a.ColorMirrorHotTo()), rgb(a.ColorMirrorTo()), hotPos_);
      in.BorderColor = BlendColor(rgb(a.BorderColorHot()), rgb(a.BorderColor()), hotPos_);
    } else if (style_ == bsCheck && pressed_) {
      in.Color = BlendColor(rgb(a.ColorDown()), rgb(a.ColorChecked()), pressPos_);
      in.ColorTo = BlendColor(rgb(a.ColorDownTo()), rgb(a.ColorCheckedTo()), pressPos_);
      in.ColorMirror = BlendColor(rgb(a.ColorMirrorDown()), rgb(a.ColorMirrorChecked()), pressPos_);
      in.ColorMirrorTo = BlendColor(rgb(a.ColorMirrorDownTo()), rgb(a.ColorMirrorCheckedTo()), pressPos_);
    } else if (pressed_ && paintState_ != kExclusive) {
      in.Color = BlendColor(rgb(a.ColorDown()), rgb(a.ColorHot()), pressPos_);
      in.ColorTo = BlendColor(rgb(a.ColorDownTo()), rgb(a.ColorHotTo()), pressPos_);
      in.ColorMirror = BlendColor(rgb(a.ColorMirrorDown()), rgb(a.ColorMirrorHot()), pressPos_);
      in.ColorMirrorTo = BlendColor(rgb(a.ColorMirrorDownTo()), rgb(a.ColorMirrorHotTo()), pressPos_);
      in.BorderColor = BlendColor(rgb(a.BorderColorDown()), rgb(a.BorderColorHot()), pressPos_);
    }
  }

  // Glyph sources.
  if (enabled || !disabledImages_) {
    in.Images = (hotLook_ && hotImages_) ? hotImages_ : images_;
    in.EnabledImage = enabled;
  } else {
    in.Images = disabledImages_;
    in.EnabledImage = true;
  }
  if (!enabled && !disabledPicture_->Empty())
    in.Picture = disabledPicture_.get();
  else if (hotLook_ && !hotPicture_->Empty())
    in.Picture = hotPicture_.get();
  else
    in.Picture = picture_.get();

  if (showCaption_) {
    in.Caption = Caption();
    in.WideCaption = wideCaption_;
  }
  in.DropDownState = ((inControl_ || mouseButtonDown_) && dropDownButton_) ? (overArrow_ ? 2 : 1) : 0;
  if (position_ != bpStandalone && mouseButtonDown_) in.BorderColor = rgb(a.BorderColor());
  if (disabledLook) disabledSet();
  if (focused_ && (focusType_ == ftHot || focusType_ == ftHotBorder) && !pressed_) {
    hotSet();
    in.DownLook = true;
  }
  in.FocusBorder = HasFocusBorder();

  FontCopy.Assign(Font());
  if (!ParentFont() && a.SystemFont()) FontCopy.SetName(IsWindowsVistaOrLater() ? "Segoe UI" : "Tahoma");
  in.Font = &FontCopy;
  in.Glyph = Glyph;
  if (Glyph) GetCustomGlyph(Glyph);

  if (auto* action = dynamic_cast<vcl::TCustomAction*>(Action())) {
    if (action->ImageIndex() >= 0 && action->ActionList() && action->ActionList()->Images()) {
      in.Images = action->ActionList()->Images();
      in.EnabledImage = enabled;
      if (!ForSize) imageIndex_ = action->ImageIndex();
    }
  }
  in.ImageIndex = imageIndex_;

  in.GlyphSize = {0, 0};
  if (autoSize_ && State < bsLarge) {
    in.GlyphSize = {16, 16};
    if (in.Images && imageIndex_ >= 0) in.Picture = nullptr;
  }
  if (autoSize_ && State == bsGlyph) {
    in.Caption.clear();
    in.WideCaption.clear();
  }

  in.Layout = layout_;
  in.DropDownButton = dropDownButton_;
  in.DropDownPosition = dropDownPosition_;
  in.DropDownSplit = dropDownSplit_;
  in.DropDownDown = dropDownDirection_ == ddDown;
  in.Enabled = enabled;
  in.AntiAlias = antiAlias_;
  in.Hot = entered_;
  in.Position = position_;
  in.HasBorder = HasBorder();
  in.WordWrap = wordWrap_;
  in.Spacing = spacing_;
  in.Trimming = trimming_;
  in.Rounded = rounded_;
  in.Notes = notes_->Count() > 0 ? notes_->Text() : vcl::AnsiString();
  // The notes' own line ends would be blank lines of their own.
  while (!in.Notes.empty() && (in.Notes.back() == '\n' || in.Notes.back() == '\r')) in.Notes.pop_back();
  in.NotesFont = notesFont_.get();
  in.Down = down_;
  return in;
}

void TLumCustomGlowButton::Paint() {
  if (painting_) return;
  painting_ = true;
  struct Clear {
    bool& flag;
    ~Clear() { flag = false; }
  } clear{painting_};

  vcl::TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  if (transparent_ && !entered_ && Parent()) vcl::DrawThemeParentBackground(Handle(), canvas, &client);

  if (!Enabled()) {
    paintState_ = kDisabled;
    pressTracking_ = false;
  } else if (paintState_ == kDisabled) {
    paintState_ = (down_ && groupIndex_ != 0) ? kExclusive : kUp;
  }
  if (style_ == bsCheck && down_) paintState_ = kDown;

  vcl::TFont font;
  vcl::TBitmap glyph;
  glyph.SetSize(1, 1);
  TGlowDrawInput in = PaintInputs(font, &glyph, false, sizeState_);

  if (forceMeasure_ || (sizeDirty_ && autoSize_)) {
    in.Measure = true;
    vcl::TCanvas* measuring = MeasuringCanvas();
    const vcl::TSize content = DrawGlowButton(measuring ? measuring : canvas, in);
    in.Measure = false;
    if (autoSize_) {
      int width = content.cx + 3 * spacing_ + 2 * marginHorz_ + 2;
      int height = content.cy + 2 * spacing_ + 2 * marginVert_;
      if (dropDownButton_) {
        if (dropDownPosition_ == dpBottom)
          height += 14;
        else
          width += 14;
      }
      if (OnInternalSize) OnInternalSize(this, width, height);
      if (width != Width() || height != Height()) SetBounds(Left(), Top(), width, height);
      in.R = ClientRect();
    }
    sizeDirty_ = false;
  }

  in.Transparent = alwaysTransparent_ ||
                   (transparent_ && !(entered_ || (focused_ && (focusType_ == ftHot || focusType_ == ftHotBorder))) &&
                    paintState_ != kDown);
  in.Hot = entered_;
  DrawGlowButton(canvas, in);

  AfterDraw();
  if (OnDrawButton) {
    const TGlowButtonState state = paintState_ == kDown ? gsDown : entered_ ? gsHot : gsNormal;
    OnDrawButton(this, canvas, ClientRect(), state);
  }
  if (!Parent()) return;

  if (rounded_ && (!transparent_ || entered_ || paintState_ == kDown || hotLook_)) {
    const int W = client.Width(), H = client.Height();
    std::vector<vcl::TPoint> corners;
    if (position_ == bpStandalone || position_ == bpLeft) {
      corners.push_back({0, 0});
      corners.push_back({0, H - 1});
    }
    if (position_ == bpStandalone || position_ == bpRight) {
      corners.push_back({W - 1, 0});
      corners.push_back({W - 1, H - 1});
    }
    for (const vcl::TPoint& p : corners) {
      const TRect pixel{p.X, p.Y, p.X + 1, p.Y + 1};
      vcl::DrawThemeParentBackground(Handle(), canvas, &pixel);
    }
  }
}

void TLumCustomGlowButton::GetSizeForState(TButtonSizeState State, vcl::TSize& Size) {
  vcl::TFont font;
  vcl::TBitmap glyph;
  glyph.SetSize(1, 1);
  TGlowDrawInput in = PaintInputs(font, &glyph, true, State);
  // The size of a state is asked without entering it: its glyph list, its
  // glyph box and its layout are those the state would paint with.
  if (!Enabled() && disabledImages_)
    in.Images = disabledImages_;
  else
    in.Images = (hotLook_ && hotImages_) ? hotImages_ : images_;
  if (autoSize_ && State < bsLarge) {
    if (glyph.Width() == 1 && !picture_->Empty() && !(in.Images && imageIndex_ >= 0)) {
      picture_->RefreshImageSize();
      glyph.SetSize(picture_->Width(), picture_->Height());
      glyph.Canvas()->Draw(0, 0, picture_.get());
      in.Picture = nullptr;
    }
    if (in.Images && imageIndex_ >= 0) in.Picture = nullptr;
  }
  if (autoSize_) {
    if (State == bsLarge) {
      in.Layout = sizeState_ == bsLarge ? layout_ : savedLayout_;
      in.DropDownPosition = sizeState_ == bsLarge ? dropDownPosition_ : savedDropDownPosition_;
    } else {
      in.Layout = blGlyphLeft;
      in.DropDownPosition = dpRight;
    }
  }
  in.Measure = true;
  vcl::TBitmap scratch;
  scratch.SetSize(1, 1);
  vcl::TCanvas* canvas = MeasuringCanvas();
  if (!canvas) canvas = HandleAllocated() ? Canvas() : scratch.Canvas();
  const vcl::TSize content = DrawGlowButton(canvas, in);
  Size.cx = content.cx + 3 * spacing_ + 2 * marginHorz_ + 2;
  Size.cy = content.cy + 2 * spacing_ + 2 * marginVert_;
  if (dropDownButton_) {
    if (in.DropDownPosition == dpBottom)
      Size.cy += 14;
    else
      Size.cx += 14;
  }
}

}  // namespace controls
