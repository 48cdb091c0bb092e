#pragma once
// Canvases that stand in for a real one in tests: the fake-metrics canvas
// measures every character with the same advance and ascent and descent,
// and draws each visible character as a solid box, so layouts come out in
// exact numbers whatever fonts are installed; the recording canvas keeps a
// list of the primitives drawn on it, in order, with the pen, brush and
// font they were drawn with.
#include <memory>
#include <vector>

#include "vcl/Graphics.h"

namespace vcl {

class TBitmap;

// Counts characters (code points) of UTF-8 text.
Integer CharacterCount(const AnsiString& text);

struct TFakeMetrics {
  Integer Advance = 8;  // every character, spaces included
  Integer Ascent = 10;
  Integer Descent = 3;

  // What a canvas with these metrics measures, for both stand-in canvases.
  TSize TextExtent(const AnsiString& text) const {
    return {CharacterCount(text) * Advance, Ascent + Descent};
  }
  TSize TextExtentW(const WideString& text, Integer extra) const;
  TTextMetrics TextMetrics() const;
  // GDI+ text: characters (code points) times the advance; ascent and
  // descent as for the canvas, lines that far apart.
  double GdipTextAdvance(const WideString& text) const;
  TGdipFontMetrics GdipFontMetrics() const;
};

// Draws on a bitmap of its own (32 bits, white at first); one made without
// a size only measures, and its drawing goes nowhere.
class TFakeMetricsCanvas : public TCanvas {
 public:
  explicit TFakeMetricsCanvas(Integer width = 0, Integer height = 0, TFakeMetrics metrics = {});
  ~TFakeMetricsCanvas() override;

  const TFakeMetrics& Metrics() const { return metrics_; }
  TBitmap* Bitmap() { return bitmap_.get(); }

  // Width: characters times the advance; height: ascent plus descent.
  TSize TextExtent(const AnsiString& text) override;
  TTextMetrics GetTextMetrics() override;
  // The cell on the brush (unless clear), then per visible character a box
  // of the font colour: advance - 1 wide, ascent high, from the cell's top.
  void TextOut(Integer x, Integer y, const AnsiString& text) override;
  void TextRect(const TRect& r, Integer x, Integer y, const AnsiString& text) override;
  // GDI+ text measures with the metrics and draws as boxes in the brush's
  // colour.
  double GdipTextAdvance(const GpFont* font, const WideString& text) override;
  TGdipFontMetrics GdipFontMetrics(const GpFont* font) override;
  void GdipDrawTextLine(const GpGraphics* g, const GpFont* font, const GpBrush* brush, double x, double top,
                        const WideString& text, Integer underlined, const GpRectF* clip) override;
  // Every character (a surrogate pair is one) takes the advance plus the
  // character extra; visible ones are drawn as TextOut draws them.
  TSize TextExtentW(const WideString& text) override;
  void TextOutW(Integer x, Integer y, const WideString& text) override;

 protected:
  void CreateHandle() override;

 private:
  void DrawBoxes(Integer x, Integer y, const AnsiString& text);
  void DrawBox(Integer left, Integer top);
  TFakeMetrics metrics_;
  std::unique_ptr<TBitmap> bitmap_;
};

// One drawing call on a recording canvas.
struct TCanvasRecord {
  AnsiString Op;               // "FillRect", "TextOut", "SaveDC" ...
  std::vector<Integer> Args;   // coordinates and numbers, in call order
  AnsiString Text;             // the text of text calls
  TColor PenColor = clBlack;
  TPenMode PenMode = pmCopy;
  TPenStyle PenStyle = psSolid;
  Integer PenWidth = 1;
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = bsSolid;
  TColor FontColor = clBlack;
  AnsiString FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;

  // "Op(a,b,...)" and, for text calls, " 'text'": the call without state.
  AnsiString Call() const;
};

// Needs no surface. Measures like the fake-metrics canvas; Pixels reads
// CLR_INVALID; DrawText, DrawEdge and DrawFrameControl show up as the
// primitives they are made of.
class TRecordingCanvas : public TCanvas {
 public:
  explicit TRecordingCanvas(TFakeMetrics metrics = {});

  const std::vector<TCanvasRecord>& Records() const { return records_; }
  // The calls only, as TCanvasRecord::Call gives them.
  std::vector<AnsiString> Calls() const;
  void Clear() { records_.clear(); }

  void FillRect(const TRect& r) override;
  void FrameRect(const TRect& r) override;
  void Rectangle(Integer x1, Integer y1, Integer x2, Integer y2) override;
  void MoveTo(Integer x, Integer y) override;
  void LineTo(Integer x, Integer y) override;
  void TextOut(Integer x, Integer y, const AnsiString& text) override;
  void TextRect(const TRect& r, Integer x, Integer y, const AnsiString& text) override;
  TSize TextExtent(const AnsiString& text) override;
  TTextMetrics GetTextMetrics() override;
  // "TextOutW(x,y) 'text'" with the text as UTF-8; measured as the
  // fake-metrics canvas measures it.
  void TextOutW(Integer x, Integer y, const WideString& text) override;
  TSize TextExtentW(const WideString& text) override;
  // "SetTextCharacterExtra(n)".
  Integer SetTextCharacterExtra(Integer extra) override;
  // "AlphaBlend(dest l,t,r,b, source l,t,r,b, alpha)".
  void AlphaBlendFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Byte alpha) override;
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
  void Draw(Integer x, Integer y, TGraphic* graphic) override;
  void StretchDraw(const TRect& r, TGraphic* graphic) override;
  void BlitFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Cardinal rop,
                TColor transparent = clNone) override;
  void BrushCopy(const TRect& dest, TBitmap* source, const TRect& sourceRect, TColor transparent) override;
  // "DrawThemePart(part,state,l,t,r,b[,clip l,t,r,b]) 'class'".
  void DrawThemePart(const char* themeClass, Integer part, Integer state, const TRect& r,
                     const TRect* clip) override;
  // GDI+, rounded to whole pixels: "GdipFillPath(l,t,r,b,points,brush
  // type,argb)" (the first colour of a gradient), "GdipDrawPath(l,t,r,b,
  // points,argb,width,dash)", "GdipDrawImage(x,y,w,h,sx,sy,sw,sh,keyed)",
  // "GdipDrawTextLine(x,top,underlined) 'text'"; text measures as on the
  // fake-metrics canvas.
  void GdipFillPath(const GpGraphics* g, const GpPath* path, const GpBrush* brush) override;
  void GdipDrawPath(const GpGraphics* g, const GpPath* path, const GpPen* pen) override;
  void GdipDrawImage(const GpGraphics* g, const GpImage* image, const GpRectF& dest, const GpRectF& source,
                     const GpImageAttributes* attributes) override;
  void GdipDrawTextLine(const GpGraphics* g, const GpFont* font, const GpBrush* brush, double x, double top,
                        const WideString& text, Integer underlined, const GpRectF* clip) override;
  double GdipTextAdvance(const GpFont* font, const WideString& text) override;
  TGdipFontMetrics GdipFontMetrics(const GpFont* font) override;

 private:
  void Add(AnsiString op, std::vector<Integer> args, AnsiString text = {});
  TFakeMetrics metrics_;
  std::vector<TCanvasRecord> records_;
  Integer saveLevel_ = 0;
};

}  // namespace vcl
