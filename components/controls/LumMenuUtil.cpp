#include "controls/LumMenuUtil.h"

#include "rtl/Format.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace controls {

using vcl::TCanvas;

EInvalidPropertyIndex::EInvalidPropertyIndex(Integer index)
    : rtl::Exception(rtl::Format("Invalid property index %d.", {index})) {}

namespace {

struct LayeredEntries {
  decltype(&vcl::UpdateLayeredWindow) update = nullptr;
  decltype(&vcl::SetLayeredWindowAttributes) setAttributes = nullptr;
};

LayeredEntries& Layered() {
  static LayeredEntries* e = new LayeredEntries;  // lives as long as the process
  return *e;
}

uint8_t Part(Integer from, Integer d, Integer i, Integer n) { return static_cast<uint8_t>((from + d * i / n) & 0xFF); }

TColor Step(const TColorParts& a, const TColorParts& b, Integer i, Integer n) {
  return vcl::RGB(Part(a.R, b.R - a.R, i, n), Part(a.G, b.G - a.G, i, n), Part(a.B, b.B - a.B, i, n));
}

void Fill(TCanvas* canvas, const TRect& r, TColor color) {
  canvas->Brush()->SetColor(color);
  canvas->FillRect(r);
}

}  // namespace

// --- Geometry and colour ---

TRect BitmapRect(vcl::TBitmap* bitmap) {
  if (!bitmap) return {};
  return vcl::Rect(0, 0, bitmap->Width(), bitmap->Height());
}

TColorParts ColorParts(TColor color) {
  TColor c = vcl::ColorToRGB(color);
  return {vcl::GetRValue(c), vcl::GetGValue(c), vcl::GetBValue(c)};
}

vcl::HFONT CreateRotatedFont(vcl::TFont* font, Integer angle) {
  vcl::LOGFONT lf;
  lf.lfHeight = font->Height();
  lf.lfWidth = 0;
  lf.lfEscapement = angle * 10;
  lf.lfOrientation = 0;
  lf.lfWeight = font->Style().Contains(vcl::fsBold) ? vcl::FW_BOLD : vcl::FW_NORMAL;
  lf.lfItalic = font->Style().Contains(vcl::fsItalic);
  lf.lfUnderline = font->Style().Contains(vcl::fsUnderline);
  lf.lfStrikeOut = font->Style().Contains(vcl::fsStrikeOut);
  lf.lfCharSet = vcl::DEFAULT_CHARSET;
  lf.lfFaceName = font->Name();
  lf.lfQuality = 0;
  lf.lfOutPrecision = 0;
  lf.lfClipPrecision = 0;
  lf.lfPitchAndFamily = font->Pitch() == vcl::fpVariable ? vcl::VARIABLE_PITCH
                        : font->Pitch() == vcl::fpFixed  ? vcl::FIXED_PITCH
                                                         : vcl::DEFAULT_PITCH;
  return vcl::CreateFontIndirect(lf);
}

// --- Painters ---

void FillMenuGradient(TCanvas* canvas, const TRect& r, TGradientDirection direction, TColor from, TColor to) {
  if (to == vcl::clNone) to = from;
  if (from == to) {
    Fill(canvas, r, from);
    return;
  }
  TColorParts a = ColorParts(from), b = ColorParts(to);
  Integer height = RectHeight(r), width = RectWidth(r);
  if (height <= 0) return;
  vcl::TPen* pen = canvas->Pen();
  pen->SetWidth(1);
  pen->SetStyle(vcl::psSolid);
  if (direction == gdVertical) {
    for (Integer y = r.Top; y < r.Bottom; ++y) {
      pen->SetColor(Step(a, b, y - r.Top, height));
      canvas->MoveTo(r.Left, y);
      canvas->LineTo(r.Left + width, y);
    }
  } else {
    for (Integer x = r.Left; x < r.Right; ++x) {
      pen->SetColor(Step(a, b, x - r.Left, width));
      canvas->MoveTo(x, r.Top);
      canvas->LineTo(x, r.Bottom);
    }
  }
}

void FillMenuGradientClipped(TCanvas* canvas, const TRect& r, TGradientDirection direction, TColor from, TColor to,
                             const TRect& clip) {
  TRect piece;
  if (!vcl::IntersectRect(piece, r, clip)) return;
  if (to == vcl::clNone) to = from;
  bool vertical = direction == gdVertical;
  Integer n = vertical ? RectHeight(r) : RectWidth(r);
  Integer s = vertical ? piece.Top - r.Top : piece.Left - r.Left;
  Integer e = vertical ? piece.Bottom - r.Top : piece.Right - r.Left;
  TColorParts a = ColorParts(from), b = ColorParts(to);
  FillMenuGradient(canvas, piece, direction, Step(a, b, s, n), Step(a, b, e, n));
}

void DrawMenuBox(TCanvas* canvas, const TRect& r, bool fill, TColor border, TGradientDirection direction,
                 TColor from, TColor to) {
  if (fill && from != vcl::clNone) FillMenuGradient(canvas, r, direction, from, to);
  if (border != vcl::clNone) {
    canvas->Brush()->SetColor(border);
    canvas->FrameRect(r);
  }
}

void DrawMenuMirrorBox(TCanvas* canvas, const TRect& r, bool fill, TColor border, TGradientDirection direction,
                       TColor color, TColor colorTo, TColor mirror, TColor mirrorTo) {
  if (fill && color != vcl::clNone) {
    if (mirror != vcl::clNone) {
      Integer middle = r.Top + RectHeight(r) / 2;
      FillMenuGradient(canvas, vcl::Rect(r.Left, r.Top, r.Right, middle), direction, color, colorTo);
      FillMenuGradient(canvas, vcl::Rect(r.Left, middle, r.Right, r.Bottom), direction, mirror, mirrorTo);
    } else {
      FillMenuGradient(canvas, r, direction, color, colorTo);
    }
  }
  DrawMenuBox(canvas, r, false, border, direction, color, colorTo);
}

void DrawMenuSplitLine(TCanvas* canvas, const TRect& rect, Integer margin, Integer gradientWidth,
                       TGradientType gradientType, bool horizontal, TColor color, TColor colorTo) {
  TColor c = color;
  TColor t = colorTo == vcl::clNone ? color : colorTo;
  Integer g = gradientWidth;
  TRect r = rect;
  // Along the line: a from..to span of the rectangle, across it: the whole.
  auto span = [&](Integer a, Integer b) {
    return horizontal ? vcl::Rect(a, r.Top, b, r.Bottom) : vcl::Rect(r.Left, a, r.Right, b);
  };
  TGradientDirection along = horizontal ? gdHorizontal : gdVertical;
  Integer start, end;
  if (horizontal) {
    r.Left += margin;
    r.Right -= margin;
    start = r.Left;
    end = r.Right;
  } else {
    r.Top += margin;
    r.Bottom -= margin;
    start = r.Top;
    end = r.Bottom;
    if (gradientType == gtBoth) g *= 2;
  }
  Integer length = end - start;
  bool solid = true, fades = true;
  if (g >= length) {
    g = length;
    solid = false;
  } else if (g <= 0) {
    fades = false;
  }
  // A horizontal line's "left" end is its start; a vertical line fades at
  // its bottom for gtLeft and at its top for gtRight.
  bool fadeAtStart = horizontal ? gradientType == gtLeft : gradientType == gtRight;
  switch (gradientType) {
    case gtLeft:
    case gtRight:
      if (fadeAtStart) {
        if (solid) Fill(canvas, span(start + g, end), t);
        if (fades) FillMenuGradient(canvas, span(start, start + g), along, c, t);
      } else {
        if (solid) Fill(canvas, span(start, end - g), t);
        if (fades) FillMenuGradient(canvas, span(end - g, end), along, t, c);
      }
      break;
    case gtBoth: {
      Integer half = g / 2;
      if (solid) Fill(canvas, span(start + half, end - half), c);
      if (fades) {
        FillMenuGradient(canvas, span(start, start + half), along, t, c);
        FillMenuGradient(canvas, span(end - half, end), along, c, t);
      }
      break;
    }
  }
}

vcl::TPoint GetBackgroundImagePosition(IMenuBackground* background, const TRect& r) {
  vcl::TPoint p = r.TopLeft();
  vcl::TPicture* picture = background ? background->Image() : nullptr;
  vcl::TGraphic* graphic = picture ? picture->Graphic() : nullptr;
  if (!graphic || graphic->Empty()) return p;
  Integer pw = graphic->Width(), ph = graphic->Height();
  Integer ox = background->OffsetX(), oy = background->OffsetY();
  using enum TBackgroundPosition;
  switch (background->Position()) {
    case bpTopLeft:
    case bpBottomLeft: p.X += ox; break;
    case bpTopRight:
    case bpBottomRight: p.X += RectWidth(r) + ox - pw; break;
    case bpTopCenter:
    case bpBottomCenter:
    case bpCenter: p.X += (RectWidth(r) - pw) / 2 + ox; break;
    default: break;
  }
  switch (background->Position()) {
    case bpTopLeft:
    case bpTopRight:
    case bpTopCenter: p.Y += oy; break;
    case bpBottomLeft:
    case bpBottomRight:
    case bpBottomCenter: p.Y += RectHeight(r) + oy - ph; break;
    case bpCenter: p.Y += (RectHeight(r) - ph) / 2 + oy; break;
    default: break;
  }
  return p;
}

void DrawMenuBackground(TCanvas* canvas, const TRect& rect, IMenuBackground* background, bool withGradient) {
  TRect r = rect;
  r.Left += background->MarginX();
  r.Right -= background->MarginX();
  r.Top += background->MarginY();
  r.Bottom -= background->MarginY();
  // Margins that eat the whole rectangle leave nothing to draw: the work
  // bitmap is never sized below nothing.
  if (RectWidth(r) <= 0 || RectHeight(r) <= 0) return;
  vcl::TBitmap* work = background->WorkBitmap();
  work->SetSize(RectWidth(r), RectHeight(r));
  TRect all = BitmapRect(work);
  vcl::TPicture* picture = background->Image();
  vcl::TGraphic* graphic = picture ? picture->Graphic() : nullptr;
  bool present = graphic && !graphic->Empty();
  using enum TBackgroundPosition;
  TBackgroundPosition position = background->Position();
  if (withGradient && (!present || (position != bpTiled && position != bpStretched) || graphic->Transparent()))
    FillMenuGradient(work->Canvas(), all, background->GradientDirection(), background->Color(),
                     background->ColorTo());
  if (present) {
    TCanvas* c = work->Canvas();
    switch (position) {
      case bpTiled: {
        Integer pw = graphic->Width(), ph = graphic->Height();
        if (pw >= 1 && ph >= 1)
          for (Integer y = 0; y < all.Bottom; y += ph)
            for (Integer x = 0; x < all.Right; x += pw) c->Draw(x, y, graphic);
        break;
      }
      case bpStretched: c->StretchDraw(all, graphic); break;
      case bpXY: c->Draw(background->OffsetX(), background->OffsetY(), graphic); break;
      default: {
        vcl::TPoint at = GetBackgroundImagePosition(background, all);
        c->Draw(at.X, at.Y, graphic);
      }
    }
  }
  canvas->Draw(r.Left, r.Top, work);
}

// --- Start-up ---

bool LayeredWindowsAvailable() { return Layered().setAttributes != nullptr; }

void StartUpMenuUtil() {
  vcl::HMODULE user = vcl::LoadLibrary("user32.dll");
  if (user == 0) return;
  Layered().update = reinterpret_cast<decltype(&vcl::UpdateLayeredWindow)>(
      vcl::GetProcAddress(user, "UpdateLayeredWindow"));
  Layered().setAttributes = reinterpret_cast<decltype(&vcl::SetLayeredWindowAttributes)>(
      vcl::GetProcAddress(user, "SetLayeredWindowAttributes"));
  vcl::FreeLibrary(user);
}

}  // namespace controls
