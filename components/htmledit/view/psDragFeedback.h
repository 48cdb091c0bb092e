#pragma once
// Live feedback drawn straight over the laid-out page while a picture is
// dragged or resized or a column border moves, without a relayout or a
// repaint: each overlay saves the pixels under it, draws itself and puts
// them back when it moves or goes. A move that overlaps the last place is
// composed off screen and copied to the target in one operation, so it
// does not flicker.
#include <memory>

#include "htmledit/view/psViewTypes.h"

namespace vcl {
class TBitmap;
class TCanvas;
}  // namespace vcl

namespace htmlview {

class TpsMovableBitmap {
 public:
  // aCanvas is not owned; the picture is.
  TpsMovableBitmap(vcl::TCanvas* aCanvas, std::unique_ptr<vcl::TBitmap> aPicture);
  virtual ~TpsMovableBitmap();
  TpsMovableBitmap(const TpsMovableBitmap&) = delete;
  TpsMovableBitmap& operator=(const TpsMovableBitmap&) = delete;

  void MoveTo(Integer aX, Integer aY);
  // At the current position.
  void Show();
  // Puts the saved pixels back when shown.
  void Hide();
  bool Shown() const { return FShown; }
  Integer X() const { return FX; }
  Integer Y() const { return FY; }
  vcl::TBitmap& Picture() const { return *FPicture; }

 protected:
  // Puts the overlay onto aCanvas at (aX, aY); the base copies the picture.
  virtual void Draw(vcl::TCanvas* aCanvas, Integer aX, Integer aY);

 private:
  vcl::TCanvas* FCanvas;
  std::unique_ptr<vcl::TBitmap> FPicture;
  std::unique_ptr<vcl::TBitmap> FBackground;
  Integer FX = 0, FY = 0;
  bool FShown = false;
};

// Blended with the constant opacity 128 of 255.
class TpsAlphaBlendedMovableBitmap : public TpsMovableBitmap {
 public:
  using TpsMovableBitmap::TpsMovableBitmap;

 protected:
  void Draw(vcl::TCanvas* aCanvas, Integer aX, Integer aY) override;
};

// Only the outline of the picture's rectangle, with a black pen.
class TpsSelectionFrameMovableBitmap : public TpsMovableBitmap {
 public:
  using TpsMovableBitmap::TpsMovableBitmap;

 protected:
  void Draw(vcl::TCanvas* aCanvas, Integer aX, Integer aY) override;
};

// A bar whose every column is a dotted black line from top to bottom.
class TpsVerticalResizingBar : public TpsMovableBitmap {
 public:
  TpsVerticalResizingBar(vcl::TCanvas* aCanvas, Integer aHeight, Integer aWidth);
};

// The picture at its new size while it is resized: translucent, or a
// dotted frame without a picture, over the editor's drawing surface.
class TpsImageResizingObject {
 public:
  // The surface and the picture are not owned; aOpacityPercent * 2.55,
  // rounded, at most 255.
  TpsImageResizingObject(TpsAbstractCanvas* aSurface, vcl::TBitmap* aPicture, Integer aOpacityPercent);
  ~TpsImageResizingObject();
  TpsImageResizingObject(const TpsImageResizingObject&) = delete;
  TpsImageResizingObject& operator=(const TpsImageResizingObject&) = delete;

  // aRect is inclusive, in document coordinates.
  void DrawAt(const TpsRect& aRect);
  void Hide();
  bool Shown() const { return FShown; }
  Byte Opacity() const { return FOpacity; }

 private:
  TpsAbstractCanvas* FSurface;
  vcl::TBitmap* FPicture;
  Byte FOpacity;
  bool FShown = false;
  TpsRect FLast{0, 0, -1, -1};
  std::unique_ptr<vcl::TBitmap> FBackground;
};

// The opacity of a resize preview for a percentage.
Byte ResizeOpacity(Integer aPercent);

}  // namespace htmlview
