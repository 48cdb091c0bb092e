#pragma once
// Metafiles: pictures kept as the list of drawing calls that made them, and
// the canvas that records them. A metafile canvas maps its logical
// coordinates to the metafile's device units (one to one, or by the
// anisotropic window and viewport extents), so a page drawn in printer
// pixels can be recorded at the size of a preview. Playing a metafile
// repeats its calls on any canvas, stretched to a rectangle, through that
// canvas's own primitives: a recording canvas lists them, a bitmap shows
// their pixels.
#include <memory>
#include <vector>

#include "vcl/Pictures.h"

namespace vcl {

struct TMetafileRecord;  // one recorded call (Metafile.cpp)

class TMetafile : public TGraphic {
 public:
  TMetafile();
  ~TMetafile() override;

  void Assign(const TPersistent* source) override;
  // True while nothing has been recorded.
  bool Empty() const override;
  // The picture's size in device units (pixels).
  Integer Width() const override { return width_; }
  Integer Height() const override { return height_; }
  void SetWidth(Integer w) override;
  void SetHeight(Integer h) override;
  // Drops every recorded call.
  void Clear();
  Integer RecordCount() const { return static_cast<Integer>(records_.size()); }

  // Repeats the calls on canvas, stretched from the picture's size to r;
  // nothing is drawn outside r. Draw (and so TCanvas::StretchDraw) plays.
  void Play(TCanvas* canvas, const TRect& r);
  void Draw(TCanvas* canvas, const TRect& r) override { Play(canvas, r); }

  // Metafiles are made by drawing, not read: both raise
  // EInvalidGraphicOperation "Metafiles cannot be loaded or saved".
  void LoadFromStream(rtl::TStream& stream) override;
  void SaveToStream(rtl::TStream& stream) override;
  // The calls played on a white bitmap of the picture's size.
  const QImage* Image() override;
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TMetafile>(); }

 private:
  friend class TMetafileCanvas;
  void TakeRecords(std::vector<std::shared_ptr<TMetafileRecord>> records);

  Integer width_ = 0;
  Integer height_ = 0;
  std::vector<std::shared_ptr<TMetafileRecord>> records_;
  std::unique_ptr<TBitmap> rendered_;
};

// Mapping modes of SetMapMode.
inline constexpr Integer MM_TEXT = 1;
inline constexpr Integer MM_ANISOTROPIC = 8;

// Records what is drawn on it; when it is freed, the metafile's previous
// content is replaced by what was recorded. Measuring uses the real fonts
// at their logical size (the screen as reference device); Pixels reads
// CLR_INVALID. Flood fills and theme parts are not recorded.
class TMetafileCanvas : public TCanvas {
 public:
  // referenceDevice may be null (the screen).
  TMetafileCanvas(TMetafile* metafile, TCanvas* referenceDevice);
  ~TMetafileCanvas() override;

  // MM_TEXT or MM_ANISOTROPIC; answers the previous mode, 0 for another.
  Integer SetMapMode(Integer mode);
  Integer MapMode() const { return mapMode_; }
  void SetWindowExt(TSize extent) { windowExt_ = extent; }
  void SetViewportExt(TSize extent) { viewportExt_ = extent; }
  TSize WindowExt() const { return windowExt_; }
  TSize ViewportExt() const { return viewportExt_; }
  // A logical point or length in device units.
  TPoint ToDevice(TPoint logical) const;
  Integer ScaleX(Integer length) const;
  Integer ScaleY(Integer length) const;

  void FillRect(const TRect& r) override;
  void FrameRect(const TRect& r) override;
  void Rectangle(Integer x1, Integer y1, Integer x2, Integer y2) override;
  void LineTo(Integer x, Integer y) override;
  void TextOut(Integer x, Integer y, const AnsiString& text) override;
  void TextRect(const TRect& r, Integer x, Integer y, const AnsiString& text) override;
  void TextOutW(Integer x, Integer y, const WideString& text) override;
  TColor Pixels(Integer x, Integer y) override;
  void SetPixels(Integer x, Integer y, TColor color) override;
  void RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer cornerWidth, Integer cornerHeight) override;
  void Ellipse(Integer x1, Integer y1, Integer x2, Integer y2) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void Polyline(const std::vector<TPoint>& points) override;
  void Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4) override;
  void DrawFocusRect(const TRect& r) override;
  void FloodFill(Integer x, Integer y, TColor color, TFillStyle style) override;
  Integer SaveDC() override;
  bool RestoreDC(Integer level) override;
  void IntersectClipRect(const TRect& r) override;
  void ExcludeClipRect(const TRect& r) override;
  void SelectClipRegion(const TRegion* region) override;
  void StretchDraw(const TRect& r, TGraphic* graphic) override;
  void BlitFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Cardinal rop,
                TColor transparent = clNone) override;
  void BrushCopy(const TRect& dest, TBitmap* source, const TRect& sourceRect, TColor transparent) override;
  void AlphaBlendFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Byte alpha) override;
  void DrawThemePart(const char* themeClass, Integer part, Integer state, const TRect& r,
                     const TRect* clip) override;

 private:
  TRect DeviceRect(const TRect& r) const;
  std::shared_ptr<TMetafileRecord> Add(int op, std::vector<Integer> args);

  TMetafile* metafile_;
  std::vector<std::shared_ptr<TMetafileRecord>> records_;
  Integer mapMode_ = MM_TEXT;
  TSize windowExt_{1, 1};
  TSize viewportExt_{1, 1};
  Integer saveLevel_ = 0;
};

// The desktop's mapping calls; they act on a metafile canvas only (false
// on any other canvas). The old value goes to *old when given.
Integer SetMapMode(TCanvas* canvas, Integer mode);
bool SetWindowExtEx(TCanvas* canvas, Integer cx, Integer cy, TSize* old);
bool SetViewportExtEx(TCanvas* canvas, Integer cx, Integer cy, TSize* old);

}  // namespace vcl
