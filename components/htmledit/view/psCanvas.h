#pragma once
// Drawing surfaces. View nodes work in document coordinates: a node knows
// where it lies in the whole laid-out page, not where the page is scrolled
// to. A surface wraps a class-library canvas and a viewport (the part of
// the document that is visible) and moves every call from document
// coordinates to the device; it also turns the view's inclusive
// rectangles into the class library's exclusive ones, so nothing above
// this unit meets a vcl::TRect. One painting code draws on the screen, the
// printer and the zoomed pages of a print preview.
//
// A device context is a class-library canvas (vcl::TCanvas*). The
// surface's font, pen, brush and text flags belong to the surface: they
// are carried to each device context it is given, as the desktop selects
// one canvas's objects into whichever device context it draws on. Without
// a device context the surface measures with its own idle canvas, and
// drawing raises the class library's "Canvas does not allow drawing".
#include <memory>
#include <vector>

#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/view/psViewTypes.h"

namespace vcl {
class TBitmap;
class TGraphic;
class TMetafile;
class TMetafileCanvas;
}  // namespace vcl

namespace htmlview {

// An inclusive rectangle as the class library's exclusive one.
vcl::TRect ToExclusive(const TpsRect& aRect);

class TpsAbstractCanvas : public htmldoc::TpsStyleCanvas {
 public:
  TpsAbstractCanvas(const TpsAbstractCanvas&) = delete;
  TpsAbstractCanvas& operator=(const TpsAbstractCanvas&) = delete;
  // Pops every clipping region left.
  virtual ~TpsAbstractCanvas();

  // Forgets the character extra; stacks the current device context (when
  // there is one) and makes aDC current. EndPaint makes the stacked one
  // current again, or none.
  virtual void BeginPaint(vcl::TCanvas* aDC);
  virtual void EndPaint();

  void SetHandle(vcl::TCanvas* aDC);
  vcl::TCanvas* GetHandle() const { return FHandle; }
  // The canvas drawn on: the device context, else the idle canvas.
  vcl::TCanvas* GetCanvas() const;
  vcl::TBrush* GetBrush() const;
  vcl::TPen* GetPen() const;
  vcl::TFont* GetFont() const;
  // The class library's refresh of the canvas drawn on.
  void Refresh();
  Integer SavedHandleCount() const { return static_cast<Integer>(FSavedHandles.size()); }

  // --- Viewport ---
  const TpsRect& GetViewport() const { return FViewport; }
  Integer GetViewWidth() const;
  Integer GetViewHeight() const;
  void SetOrigin(Integer aX, Integer aY);
  void SetSize(Integer aWidth, Integer aHeight);
  void SetViewRect(const TpsRect& aRect);
  // The rectangle meets the viewport (edges included).
  bool IsRectVisible(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) const;
  // The rectangle lies wholly inside the viewport.
  bool IsRectInView(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) const;
  TpsPoint ToDevice(const TpsPoint& aPoint) const;

  // --- Clipping ---
  void PushClipRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom);
  void PopClipRect();
  Integer ClipDepth() const { return static_cast<Integer>(FClipRegions.size()); }

  // --- Text ---
  // Tells the device only when the value differs from the last one given.
  void SetCharacterExtra(Integer aExtra);
  Integer GetCharacterExtra() const { return FCharacterExtra; }
  Integer GetFontDescent() const;
  vcl::TSize GetTextExtent(const AnsiString& aText) const;
  // One 16-bit unit; a zero size when the device cannot measure it.
  vcl::TSize GetCharExtent(WideChar aChar) const;
  Integer TextWidth(const AnsiString& aText) const;
  Integer TextHeight(const AnsiString& aText) const;
  void TextOutW(Integer aX, Integer aY, const WideString& aText);

  // --- Pictures and copies ---
  void Draw(Integer aX, Integer aY, vcl::TGraphic* aGraphic);
  void StretchDraw(const TpsRect& aRect, vcl::TGraphic* aGraphic);
  // A new bitmap holding the pixels under the rectangle; nullptr when it
  // cannot be made.
  std::unique_ptr<vcl::TBitmap> CopyToBitmap(const TpsRect& aRect) const;
  // aSourceRect is in aSource's device coordinates, inclusive.
  void CopyRectFrom(const TpsRect& aDestRect, vcl::TCanvas* aSource, const TpsRect& aSourceRect);

  // --- Shapes ---
  void Rectangle(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom);
  // A one-pixel frame in the brush colour.
  void FrameRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom);
  // Filled with the brush, outlined with the pen, inside the rectangle.
  void Ellipse(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom);
  // Lines through the points with the pen.
  void Polyline(const std::vector<TpsPoint>& aPoints);
  void MoveTo(Integer aX, Integer aY);
  void LineTo(Integer aX, Integer aY);
  // Lines round the rectangle with the pen, back to its top-left corner.
  void DrawOutline(const TpsRect& aRect);
  // Brush fills clipped to the viewport.
  void FillBounds(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom);
  void FillRect(const TpsRect& aRect);
  // A CSS box border. aOffsets and aWidths hold left, top, right and bottom
  // in their four fields; aBorderStyle is the CSS border-style value (1
  // none, 2 dotted, 3 dashed, 4 solid, 5 double, 6 groove, 7 ridge, 8
  // inset, 9 outset). Solid, double and groove sides are filled with the
  // border colour; the others are drawn as dotted one-pixel lines.
  void DrawBoxBorder(const TpsRect& aBox, const TpsRect& aOffsets, Integer aBorderStyle, TColor aFillColor,
                     TColor aBorderColor, const TpsRect& aWidths);
  // A black one-pixel frame just outside the rectangle and a two-pixel
  // shadow along its right and bottom sides.
  void DrawDocumentFrame(const TpsRect& aRect);

  // --- The style canvas (fonts set by the cascade) ---
  AnsiString GetFontName() const override;
  void SetFontName(const AnsiString& aName) override;
  bool GetFontBold() const override;
  void SetFontBold(bool aBold) override;
  bool GetFontItalic() const override;
  void SetFontItalic(bool aItalic) override;
  TColor GetFontColor() const override;
  void SetFontColor(TColor aColor) override;
  Integer GetFontHeight() const override;
  void SetFontHeight(Integer aHeight) override;
  Integer GetFontPixelsPerInch() const override;
  Integer GetXHeight() const override;

 protected:
  TpsAbstractCanvas();
  vcl::TCanvas* IdleCanvas() const { return FIdle.get(); }

 private:
  void SelectHandle(vcl::TCanvas* aDC);

  std::unique_ptr<vcl::TCanvas> FIdle;
  vcl::TCanvas* FHandle = nullptr;  // not owned
  std::vector<TpsRect> FClipRegions;  // device rectangles, the top one selected
  std::vector<vcl::TCanvas*> FSavedHandles;
  TpsRect FViewport{0, 0, -1, -1};
  Integer FCharacterExtra = -1;
};

// The screen surface: the window manager hands it a device context for
// each paint. Its text is drawn opaque.
class TpsScrollCanvas : public TpsAbstractCanvas {
 public:
  TpsScrollCanvas();
};

// The printer's surface; the printer's canvas is not owned.
class TpsPrintCanvas : public TpsAbstractCanvas {
 public:
  explicit TpsPrintCanvas(vcl::TCanvas* aPrinterCanvas);
};

// One zoomed page of a print preview at a time, recorded in a metafile of
// the preview size: the page is drawn in printer pixels and mapped onto the
// zoomed page size.
class TpsPrintPreviewCanvas : public TpsAbstractCanvas {
 public:
  TpsPrintPreviewCanvas(vcl::TSize aPageSize, vcl::TSize aPreviewSize, Integer aFontPixelsPerInch,
                        Integer aScreenPixelsPerInch, double aZoomFactor);
  ~TpsPrintPreviewCanvas() override;

  void BeginPaint(vcl::TCanvas*) override {}
  void EndPaint() override {}
  void BeginPage();
  void EndPage();
  bool PageOpen() const { return FMetafileCanvas != nullptr; }
  vcl::TSize GetZoomedPageSize() const;
  void SetZoomFactor(double aZoomFactor) { FZoomFactor = aZoomFactor; }
  double ZoomFactor() const { return FZoomFactor; }
  vcl::TMetafile* Metafile() const { return FMetafile.get(); }

  vcl::TSize PageSize;
  vcl::TSize PreviewSize;
  Integer FontPixelsPerInch;
  Integer ScreenPixelsPerInch;

 private:
  double FZoomFactor;
  std::unique_ptr<vcl::TMetafile> FMetafile;
  std::unique_ptr<vcl::TMetafileCanvas> FMetafileCanvas;
};

}  // namespace htmlview
