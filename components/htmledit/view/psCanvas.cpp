#include "htmledit/view/psCanvas.h"

#include <algorithm>
#include <cmath>

#include "rtl/Strings.h"
#include "vcl/Metafile.h"
#include "vcl/Pictures.h"
#include "vcl/Regions.h"

namespace htmlview {

vcl::TRect ToExclusive(const TpsRect& r) { return {r.Left, r.Top, r.Right + 1, r.Bottom + 1}; }

TpsAbstractCanvas::TpsAbstractCanvas() : FIdle(std::make_unique<vcl::TCanvas>()) {}

TpsAbstractCanvas::~TpsAbstractCanvas() {
  try {
    while (!FClipRegions.empty()) PopClipRect();
  } catch (...) {
    // A device context that went away first has nothing left to unclip.
  }
}

vcl::TCanvas* TpsAbstractCanvas::GetCanvas() const { return FHandle ? FHandle : FIdle.get(); }
vcl::TBrush* TpsAbstractCanvas::GetBrush() const { return GetCanvas()->Brush(); }
vcl::TPen* TpsAbstractCanvas::GetPen() const { return GetCanvas()->Pen(); }
vcl::TFont* TpsAbstractCanvas::GetFont() const { return GetCanvas()->Font(); }

void TpsAbstractCanvas::SelectHandle(vcl::TCanvas* aDC) {
  vcl::TCanvas* from = GetCanvas();
  vcl::TCanvas* to = aDC ? aDC : FIdle.get();
  if (from != to) {
    to->SetFont(from->Font());
    to->SetPen(from->Pen());
    to->SetBrush(from->Brush());
    to->SetTextFlags(from->TextFlags());
  }
  FHandle = aDC;
}

void TpsAbstractCanvas::SetHandle(vcl::TCanvas* aDC) {
  FCharacterExtra = -1;
  SelectHandle(aDC);
}

void TpsAbstractCanvas::BeginPaint(vcl::TCanvas* aDC) {
  FCharacterExtra = -1;
  if (FHandle) FSavedHandles.push_back(FHandle);
  SelectHandle(aDC);
}

void TpsAbstractCanvas::EndPaint() {
  vcl::TCanvas* previous = nullptr;
  if (!FSavedHandles.empty()) {
    previous = FSavedHandles.back();
    FSavedHandles.pop_back();
  }
  SelectHandle(previous);
}

void TpsAbstractCanvas::Refresh() {
  // The class library's refresh forgets the selected objects; ours are
  // re-selected at the next call anyway, so only a canvas that can bind
  // its surface again is asked to drop it.
  if (FHandle && FHandle->HandleAllocated()) {
    vcl::TFont font;
    font.Assign(FHandle->Font());
    FHandle->Refresh();
    FHandle->SetFont(&font);
  }
}

// --- Viewport ---

Integer TpsAbstractCanvas::GetViewWidth() const { return htmldoc::RectWidth(FViewport); }
Integer TpsAbstractCanvas::GetViewHeight() const { return htmldoc::RectHeight(FViewport); }

void TpsAbstractCanvas::SetOrigin(Integer aX, Integer aY) {
  const Integer w = GetViewWidth(), h = GetViewHeight();
  FViewport = {aX, aY, aX + w - 1, aY + h - 1};
}

void TpsAbstractCanvas::SetSize(Integer aWidth, Integer aHeight) {
  FViewport.Right = FViewport.Left + aWidth - 1;
  FViewport.Bottom = FViewport.Top + aHeight - 1;
}

void TpsAbstractCanvas::SetViewRect(const TpsRect& aRect) { FViewport = aRect; }

bool TpsAbstractCanvas::IsRectVisible(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) const {
  return htmldoc::RectsIntersectBounds(aLeft, aTop, aRight, aBottom, FViewport.Left, FViewport.Top, FViewport.Right,
                                       FViewport.Bottom);
}

bool TpsAbstractCanvas::IsRectInView(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) const {
  return aLeft >= FViewport.Left && aTop >= FViewport.Top && aRight <= FViewport.Right &&
         aBottom <= FViewport.Bottom;
}

TpsPoint TpsAbstractCanvas::ToDevice(const TpsPoint& p) const {
  return {p.X - FViewport.Left, p.Y - FViewport.Top};
}

// --- Clipping ---

void TpsAbstractCanvas::PushClipRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) {
  const TpsRect device{aLeft - FViewport.Left, aTop - FViewport.Top, aRight - FViewport.Left,
                       aBottom - FViewport.Top};
  FClipRegions.push_back(device);
  vcl::TRegion region(ToExclusive(device));
  GetCanvas()->SelectClipRegion(&region);
}

void TpsAbstractCanvas::PopClipRect() {
  if (FClipRegions.empty()) return;
  FClipRegions.pop_back();
  if (FClipRegions.empty()) {
    GetCanvas()->SelectClipRegion(nullptr);
  } else {
    vcl::TRegion region(ToExclusive(FClipRegions.back()));
    GetCanvas()->SelectClipRegion(&region);
  }
}

// --- Text ---

void TpsAbstractCanvas::SetCharacterExtra(Integer aExtra) {
  if (aExtra == FCharacterExtra) return;
  GetCanvas()->SetTextCharacterExtra(aExtra);
  FCharacterExtra = aExtra;
}

Integer TpsAbstractCanvas::GetFontDescent() const { return GetCanvas()->GetTextMetrics().Descent; }

vcl::TSize TpsAbstractCanvas::GetTextExtent(const AnsiString& aText) const {
  vcl::TSize size{0, 0};
  try {
    size = GetCanvas()->TextExtent(aText);
  } catch (const rtl::Exception&) {
    size = {0, 0};
  }
  return size;
}

vcl::TSize TpsAbstractCanvas::GetCharExtent(WideChar aChar) const {
  try {
    return GetCanvas()->TextExtentW(WideString(1, aChar));
  } catch (const rtl::Exception&) {
    return {0, 0};
  }
}

Integer TpsAbstractCanvas::TextWidth(const AnsiString& aText) const { return GetCanvas()->TextWidth(aText); }
Integer TpsAbstractCanvas::TextHeight(const AnsiString& aText) const { return GetCanvas()->TextHeight(aText); }

void TpsAbstractCanvas::TextOutW(Integer aX, Integer aY, const WideString& aText) {
  GetCanvas()->TextOutW(aX - FViewport.Left, aY - FViewport.Top, aText);
}

// --- Pictures and copies ---

void TpsAbstractCanvas::Draw(Integer aX, Integer aY, vcl::TGraphic* aGraphic) {
  GetCanvas()->Draw(aX - FViewport.Left, aY - FViewport.Top, aGraphic);
}

void TpsAbstractCanvas::StretchDraw(const TpsRect& aRect, vcl::TGraphic* aGraphic) {
  const TpsRect d{aRect.Left - FViewport.Left, aRect.Top - FViewport.Top, aRect.Right - FViewport.Left,
                  aRect.Bottom - FViewport.Top};
  GetCanvas()->StretchDraw(ToExclusive(d), aGraphic);
}

std::unique_ptr<vcl::TBitmap> TpsAbstractCanvas::CopyToBitmap(const TpsRect& aRect) const {
  const Integer w = htmldoc::RectWidth(aRect), h = htmldoc::RectHeight(aRect);
  if (w <= 0 || h <= 0) return nullptr;
  try {
    auto bitmap = std::make_unique<vcl::TBitmap>(w, h);
    const vcl::TRect source =
        vcl::Bounds(aRect.Left - FViewport.Left, aRect.Top - FViewport.Top, w, h);
    bitmap->Canvas()->CopyRect(vcl::Bounds(0, 0, w, h), GetCanvas(), source);
    return bitmap;
  } catch (const rtl::Exception&) {
    return nullptr;
  }
}

void TpsAbstractCanvas::CopyRectFrom(const TpsRect& aDestRect, vcl::TCanvas* aSource, const TpsRect& aSourceRect) {
  const TpsRect d{aDestRect.Left - FViewport.Left, aDestRect.Top - FViewport.Top, aDestRect.Right - FViewport.Left,
                  aDestRect.Bottom - FViewport.Top};
  GetCanvas()->CopyRect(ToExclusive(d), aSource, ToExclusive(aSourceRect));
}

// --- Shapes ---

void TpsAbstractCanvas::Rectangle(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) {
  GetCanvas()->Rectangle(aLeft - FViewport.Left, aTop - FViewport.Top, aRight - FViewport.Left + 1,
                         aBottom - FViewport.Top + 1);
}

void TpsAbstractCanvas::FrameRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) {
  GetCanvas()->FrameRect(vcl::Rect(aLeft - FViewport.Left, aTop - FViewport.Top, aRight - FViewport.Left + 1,
                                   aBottom - FViewport.Top + 1));
}

void TpsAbstractCanvas::Ellipse(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) {
  GetCanvas()->Ellipse(aLeft - FViewport.Left, aTop - FViewport.Top, aRight - FViewport.Left + 1,
                       aBottom - FViewport.Top + 1);
}

void TpsAbstractCanvas::Polyline(const std::vector<TpsPoint>& aPoints) {
  std::vector<vcl::TPoint> device;
  device.reserve(aPoints.size());
  for (const TpsPoint& p : aPoints) device.push_back({p.X - FViewport.Left, p.Y - FViewport.Top});
  GetCanvas()->Polyline(device);
}

void TpsAbstractCanvas::MoveTo(Integer aX, Integer aY) {
  GetCanvas()->MoveTo(aX - FViewport.Left, aY - FViewport.Top);
}

void TpsAbstractCanvas::LineTo(Integer aX, Integer aY) {
  GetCanvas()->LineTo(aX - FViewport.Left, aY - FViewport.Top);
}

void TpsAbstractCanvas::DrawOutline(const TpsRect& r) {
  MoveTo(r.Left, r.Top);
  LineTo(r.Right, r.Top);
  LineTo(r.Right, r.Bottom);
  LineTo(r.Left, r.Bottom);
  LineTo(r.Left, r.Top);
}

void TpsAbstractCanvas::FillBounds(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) {
  const Integer width = GetViewWidth(), height = GetViewHeight();
  vcl::TRect d;
  d.Left = std::max(aLeft, FViewport.Left) - FViewport.Left;
  d.Top = std::max(aTop, FViewport.Top) - FViewport.Top;
  d.Right = aRight < FViewport.Right ? aRight - FViewport.Left + 1 : width;
  d.Bottom = aBottom < FViewport.Bottom ? aBottom - FViewport.Top + 1 : height;
  GetCanvas()->FillRect(d);
}

void TpsAbstractCanvas::FillRect(const TpsRect& r) { FillBounds(r.Left, r.Top, r.Right, r.Bottom); }

void TpsAbstractCanvas::DrawBoxBorder(const TpsRect& aBox, const TpsRect& aOffsets, Integer aBorderStyle,
                                      TColor aFillColor, TColor aBorderColor, const TpsRect& aWidths) {
  if (aWidths.Left + aWidths.Top + aWidths.Right + aWidths.Bottom <= 0) return;
  vcl::TPen* pen = GetPen();
  vcl::TBrush* brush = GetBrush();
  const TColor savedPenColor = pen->Color();
  const vcl::TPenStyle savedPenStyle = pen->Style();
  const TColor savedBrushColor = brush->Color();
  const vcl::TBrushStyle savedBrushStyle = brush->Style();
  // Solid, double and groove sides are filled bands: in the border colour,
  // since a fill in the block's background never shows (and a block
  // without one would pass its "no colour" value).
  const bool filled = aBorderStyle == 4 || aBorderStyle == 5 || aBorderStyle == 6;
  pen->SetColor(aBorderColor);
  brush->SetColor(filled ? aBorderColor : aFillColor);

  const Integer outerLeft = aBox.Left + aOffsets.Left;
  const Integer innerLeft = outerLeft + aWidths.Left - 1;
  const Integer outerTop = aBox.Top + aOffsets.Top;
  const Integer innerTop = outerTop + aWidths.Top - 1;
  const Integer outerRight = aBox.Right - aOffsets.Right;
  const Integer innerRight = outerRight - aWidths.Right + 1;
  const Integer outerBottom = aBox.Bottom - aOffsets.Bottom;
  const Integer innerBottom = outerBottom - aWidths.Bottom + 1;

  auto segment = [&](Integer l, Integer t, Integer r, Integer b) {
    if (filled) {
      brush->SetStyle(vcl::bsSolid);
      FillBounds(l, t, r, b);
      return;
    }
    brush->SetStyle(vcl::bsClear);
    pen->SetStyle(vcl::psDot);
    if (r - l + 1 > b - t + 1) {
      for (Integer y = t; y <= b; ++y) {
        MoveTo(l, y);
        LineTo(r + 1, y);
      }
    } else {
      for (Integer x = l; x <= r; ++x) {
        MoveTo(x, t);
        LineTo(x, b + 1);
      }
    }
  };

  if (aWidths.Top > 0) segment(innerLeft, outerTop, innerRight, innerTop);
  if (aWidths.Bottom > 0) segment(innerLeft, innerBottom, innerRight, outerBottom);
  if (aWidths.Left > 0) segment(outerLeft, innerTop, innerLeft, innerBottom);
  if (aWidths.Right > 0) segment(innerRight, innerTop, outerRight, innerBottom);
  if (aWidths.Left > 0 && aWidths.Top > 0) segment(outerLeft, outerTop, innerLeft, innerTop);
  if (aWidths.Right > 0 && aWidths.Top > 0) segment(innerRight, outerTop, outerRight, innerTop);
  if (aWidths.Left > 0 && aWidths.Bottom > 0) segment(outerLeft, innerBottom, innerLeft, outerBottom);
  if (aWidths.Right > 0 && aWidths.Bottom > 0) segment(innerRight, innerBottom, outerRight, outerBottom);

  pen->SetColor(savedPenColor);
  pen->SetStyle(savedPenStyle);
  brush->SetColor(savedBrushColor);
  brush->SetStyle(savedBrushStyle);
}

void TpsAbstractCanvas::DrawDocumentFrame(const TpsRect& r) {
  vcl::TBrush* brush = GetBrush();
  const TColor saved = brush->Color();
  const vcl::TBrushStyle savedStyle = brush->Style();
  brush->SetColor(vcl::clBlack);
  brush->SetStyle(vcl::bsSolid);
  FrameRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
  FillBounds(r.Right + 2, r.Top + 1, r.Right + 3, r.Bottom + 3);
  FillBounds(r.Left + 1, r.Bottom + 2, r.Right + 3, r.Bottom + 3);
  brush->SetColor(saved);
  brush->SetStyle(savedStyle);
}

// --- The style canvas ---

AnsiString TpsAbstractCanvas::GetFontName() const { return GetFont()->Name(); }
void TpsAbstractCanvas::SetFontName(const AnsiString& aName) { GetFont()->SetName(aName); }

bool TpsAbstractCanvas::GetFontBold() const { return GetFont()->Style().Contains(vcl::fsBold); }
void TpsAbstractCanvas::SetFontBold(bool aBold) {
  vcl::TFontStyles s = GetFont()->Style();
  if (aBold) {
    s.Include(vcl::fsBold);
  } else {
    s.Exclude(vcl::fsBold);
  }
  GetFont()->SetStyle(s);
}

bool TpsAbstractCanvas::GetFontItalic() const { return GetFont()->Style().Contains(vcl::fsItalic); }
void TpsAbstractCanvas::SetFontItalic(bool aItalic) {
  vcl::TFontStyles s = GetFont()->Style();
  if (aItalic) {
    s.Include(vcl::fsItalic);
  } else {
    s.Exclude(vcl::fsItalic);
  }
  GetFont()->SetStyle(s);
}

TColor TpsAbstractCanvas::GetFontColor() const { return GetFont()->Color(); }
void TpsAbstractCanvas::SetFontColor(TColor aColor) { GetFont()->SetColor(aColor); }
Integer TpsAbstractCanvas::GetFontHeight() const { return GetFont()->Height(); }
void TpsAbstractCanvas::SetFontHeight(Integer aHeight) { GetFont()->SetHeight(aHeight); }
Integer TpsAbstractCanvas::GetFontPixelsPerInch() const { return GetFont()->PixelsPerInch(); }
Integer TpsAbstractCanvas::GetXHeight() const { return GetTextExtent("x").cy; }

// --- Subclasses ---

TpsScrollCanvas::TpsScrollCanvas() {
  IdleCanvas()->SetTextFlags(IdleCanvas()->TextFlags() | vcl::ETO_OPAQUE);
}

TpsPrintCanvas::TpsPrintCanvas(vcl::TCanvas* aPrinterCanvas) { SetHandle(aPrinterCanvas); }

TpsPrintPreviewCanvas::TpsPrintPreviewCanvas(vcl::TSize aPageSize, vcl::TSize aPreviewSize,
                                             Integer aFontPixelsPerInch, Integer aScreenPixelsPerInch,
                                             double aZoomFactor)
    : PageSize(aPageSize),
      PreviewSize(aPreviewSize),
      FontPixelsPerInch(aFontPixelsPerInch),
      ScreenPixelsPerInch(aScreenPixelsPerInch),
      FZoomFactor(aZoomFactor),
      FMetafile(std::make_unique<vcl::TMetafile>()) {
  FMetafile->SetWidth(PreviewSize.cx);
  FMetafile->SetHeight(PreviewSize.cy);
}

TpsPrintPreviewCanvas::~TpsPrintPreviewCanvas() {
  while (ClipDepth() > 0) PopClipRect();
  SetHandle(nullptr);
}

vcl::TSize TpsPrintPreviewCanvas::GetZoomedPageSize() const {
  return {static_cast<Integer>(std::nearbyint(PreviewSize.cx * FZoomFactor)),
          static_cast<Integer>(std::nearbyint(PreviewSize.cy * FZoomFactor))};
}

void TpsPrintPreviewCanvas::BeginPage() {
  EndPage();
  FMetafileCanvas = std::make_unique<vcl::TMetafileCanvas>(FMetafile.get(), nullptr);
  SetHandle(FMetafileCanvas.get());
  vcl::TCanvas* c = FMetafileCanvas.get();
  c->SetTextFlags(c->TextFlags() | vcl::ETO_OPAQUE);
  c->Font()->SetPixelsPerInch(FontPixelsPerInch);
  vcl::SetMapMode(c, vcl::MM_ANISOTROPIC);
  vcl::SetWindowExtEx(c, PageSize.cx, PageSize.cy, nullptr);
  const vcl::TSize zoomed = GetZoomedPageSize();
  vcl::SetViewportExtEx(c, zoomed.cx, zoomed.cy, nullptr);
}

void TpsPrintPreviewCanvas::EndPage() {
  if (!FMetafileCanvas) return;
  while (ClipDepth() > 0) PopClipRect();
  SetHandle(nullptr);
  FMetafileCanvas.reset();
}

}  // namespace htmlview
