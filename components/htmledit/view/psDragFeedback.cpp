#include "htmledit/view/psDragFeedback.h"

#include <algorithm>
#include <cmath>

#include "htmledit/view/psBlending.h"
#include "htmledit/view/psCanvas.h"
#include "vcl/Pictures.h"

namespace htmlview {

namespace {

vcl::TRect Area(Integer aX, Integer aY, const vcl::TBitmap& aPicture) {
  return vcl::Rect(aX, aY, aX + aPicture.Width(), aY + aPicture.Height());
}

// A copy of aSource's pixels under aRect (exclusive), in a bitmap of its
// size.
std::unique_ptr<vcl::TBitmap> Grab(vcl::TCanvas* aSource, const vcl::TRect& aRect) {
  auto copy = std::make_unique<vcl::TBitmap>(aRect.Right - aRect.Left, aRect.Bottom - aRect.Top);
  copy->Canvas()->CopyRect(vcl::Rect(0, 0, copy->Width(), copy->Height()), aSource, aRect);
  return copy;
}

void Put(vcl::TCanvas* aTarget, Integer aX, Integer aY, vcl::TBitmap& aPicture) {
  aTarget->CopyRect(Area(aX, aY, aPicture), aPicture.Canvas(), vcl::Rect(0, 0, aPicture.Width(), aPicture.Height()));
}

bool Overlap(const vcl::TRect& a, const vcl::TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Black on even steps, white between: a dotted line.
vcl::TColor Dot(Integer aStep) { return aStep % 2 == 0 ? vcl::clBlack : vcl::clWhite; }

}  // namespace

// --- Movable bitmaps ---

TpsMovableBitmap::TpsMovableBitmap(vcl::TCanvas* aCanvas, std::unique_ptr<vcl::TBitmap> aPicture)
    : FCanvas(aCanvas), FPicture(std::move(aPicture)) {}

TpsMovableBitmap::~TpsMovableBitmap() { Hide(); }

void TpsMovableBitmap::Draw(vcl::TCanvas* aCanvas, Integer aX, Integer aY) { Put(aCanvas, aX, aY, *FPicture); }

void TpsMovableBitmap::MoveTo(Integer aX, Integer aY) {
  const vcl::TRect target = Area(aX, aY, *FPicture);
  if (!FShown) {
    FBackground = Grab(FCanvas, target);
  } else {
    const vcl::TRect old = Area(FX, FY, *FPicture);
    if (Overlap(old, target)) {
      // Composed off screen, copied back once.
      const vcl::TRect u = vcl::Rect(std::min(old.Left, target.Left), std::min(old.Top, target.Top),
                                     std::max(old.Right, target.Right), std::max(old.Bottom, target.Bottom));
      std::unique_ptr<vcl::TBitmap> scratch = Grab(FCanvas, u);
      Put(scratch->Canvas(), FX - u.Left, FY - u.Top, *FBackground);
      FBackground = Grab(scratch->Canvas(), vcl::Rect(aX - u.Left, aY - u.Top, target.Right - u.Left,
                                                      target.Bottom - u.Top));
      Draw(scratch->Canvas(), aX - u.Left, aY - u.Top);
      Put(FCanvas, u.Left, u.Top, *scratch);
      FX = aX;
      FY = aY;
      return;
    }
    Put(FCanvas, FX, FY, *FBackground);
    FBackground = Grab(FCanvas, target);
  }
  FX = aX;
  FY = aY;
  Draw(FCanvas, aX, aY);
  FShown = true;
}

void TpsMovableBitmap::Show() { MoveTo(FX, FY); }

void TpsMovableBitmap::Hide() {
  if (!FShown) return;
  Put(FCanvas, FX, FY, *FBackground);
  FShown = false;
}

void TpsAlphaBlendedMovableBitmap::Draw(vcl::TCanvas* aCanvas, Integer aX, Integer aY) {
  AlphaBlendGraphic(&Picture(), aCanvas, aX, aY, Picture().Width(), Picture().Height(), 128);
}

void TpsSelectionFrameMovableBitmap::Draw(vcl::TCanvas* aCanvas, Integer aX, Integer aY) {
  const vcl::TColor saved = aCanvas->Pen()->Color();
  aCanvas->Pen()->SetColor(vcl::clBlack);
  const Integer right = aX + Picture().Width() - 1, bottom = aY + Picture().Height() - 1;
  aCanvas->MoveTo(aX, aY);
  aCanvas->LineTo(right, aY);
  aCanvas->LineTo(right, bottom);
  aCanvas->LineTo(aX, bottom);
  aCanvas->LineTo(aX, aY);
  aCanvas->Pen()->SetColor(saved);
}

namespace {

std::unique_ptr<vcl::TBitmap> DottedColumns(Integer aHeight, Integer aWidth) {
  std::unique_ptr<vcl::TBitmap> bar = Create24BitBitmap(nullptr, std::max<Integer>(aWidth, 1),
                                                        std::max<Integer>(aHeight, 1));
  if (!bar) bar = std::make_unique<vcl::TBitmap>(std::max<Integer>(aWidth, 1), std::max<Integer>(aHeight, 1));
  for (Integer y = 0; y < bar->Height(); ++y)
    for (Integer x = 0; x < bar->Width(); ++x) bar->Canvas()->SetPixels(x, y, Dot(y));
  return bar;
}

}  // namespace

TpsVerticalResizingBar::TpsVerticalResizingBar(vcl::TCanvas* aCanvas, Integer aHeight, Integer aWidth)
    : TpsMovableBitmap(aCanvas, DottedColumns(aHeight, aWidth)) {}

// --- Resize preview ---

Byte ResizeOpacity(Integer aPercent) {
  const double value = std::nearbyint(static_cast<double>(aPercent) * 2.55);
  return static_cast<Byte>(std::clamp(value, 0.0, 255.0));
}

TpsImageResizingObject::TpsImageResizingObject(TpsAbstractCanvas* aSurface, vcl::TBitmap* aPicture,
                                               Integer aOpacityPercent)
    : FSurface(aSurface), FPicture(aPicture), FOpacity(ResizeOpacity(aOpacityPercent)) {}

TpsImageResizingObject::~TpsImageResizingObject() { Hide(); }

void TpsImageResizingObject::DrawAt(const TpsRect& r) {
  if (!FShown) FLast = r;
  const TpsRect u = htmldoc::RectUnion(r, FLast);
  std::unique_ptr<vcl::TBitmap> scratch = FSurface->CopyToBitmap(u);
  if (!scratch) return;
  vcl::TCanvas* c = scratch->Canvas();
  if (FShown && FBackground) Put(c, FLast.Left - u.Left, FLast.Top - u.Top, *FBackground);
  const Integer w = r.Right - r.Left + 1, h = r.Bottom - r.Top + 1;
  const Integer x = r.Left - u.Left, y = r.Top - u.Top;
  if (!FBackground || FBackground->Width() != w || FBackground->Height() != h)
    FBackground = std::make_unique<vcl::TBitmap>(w, h);
  FBackground->Canvas()->CopyRect(vcl::Rect(0, 0, w, h), c, vcl::Rect(x, y, x + w, y + h));
  if (FPicture) {
    AlphaBlendGraphic(FPicture, c, x, y, w, h, FOpacity);
  } else {
    // A dotted black frame on white along the edges.
    Integer step = 0;
    for (Integer i = 0; i < w; ++i, ++step) c->SetPixels(x + i, y, Dot(step));
    for (Integer i = 1; i < h; ++i, ++step) c->SetPixels(x + w - 1, y + i, Dot(step));
    for (Integer i = w - 2; i >= 0; --i, ++step) c->SetPixels(x + i, y + h - 1, Dot(step));
    for (Integer i = h - 2; i >= 1; --i, ++step) c->SetPixels(x, y + i, Dot(step));
  }
  FSurface->Draw(u.Left, u.Top, scratch.get());
  FLast = r;
  FShown = true;
}

void TpsImageResizingObject::Hide() {
  if (!FShown) return;
  if (FBackground) FSurface->Draw(FLast.Left, FLast.Top, FBackground.get());
  FShown = false;
}

}  // namespace htmlview
