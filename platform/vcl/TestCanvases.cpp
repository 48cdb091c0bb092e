#include "vcl/TestCanvases.h"

#include <QImage>

#include <cmath>

#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "vcl/GdiPlusObjects.h"
#include "vcl/Pictures.h"
#include "vcl/QtCanvas.h"

namespace vcl {

Integer CharacterCount(const AnsiString& text) {
  Integer n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

// --- Fake metrics ---

TFakeMetricsCanvas::TFakeMetricsCanvas(Integer width, Integer height, TFakeMetrics metrics)
    : metrics_(metrics), bitmap_(std::make_unique<TBitmap>(width, height)) {}

TFakeMetricsCanvas::~TFakeMetricsCanvas() = default;

void TFakeMetricsCanvas::CreateHandle() {
  auto s = std::make_unique<TCanvasSurface>();
  if (bitmap_->Empty()) {
    // A canvas made only for measuring draws nowhere: on a pixel it is
    // clipped away from.
    static QImage placeholder(1, 1, QImage::Format_RGB32);
    s->image = &placeholder;
    s->clip = QRect(2, 2, 1, 1);
  } else {
    s->image = &bitmap_->Pixels();
  }
  SetSurface(std::move(s));
}

TTextMetrics TFakeMetrics::TextMetrics() const {
  TTextMetrics tm;
  tm.Ascent = Ascent;
  tm.Descent = Descent;
  tm.Height = Ascent + Descent;
  tm.AveCharWidth = Advance;
  tm.MaxCharWidth = Advance;
  return tm;
}

double TFakeMetrics::GdipTextAdvance(const WideString& text) const {
  double n = 0;
  for (char16_t c : text)
    if (c < 0xDC00 || c > 0xDFFF) ++n;  // a low surrogate ends a character already counted
  return n * Advance;
}

TGdipFontMetrics TFakeMetrics::GdipFontMetrics() const {
  return {static_cast<double>(Ascent), static_cast<double>(Descent), static_cast<double>(Ascent + Descent)};
}

namespace {

// The colour GDI+ text is drawn in on a stand-in canvas: a solid brush's,
// a gradient's first.
TColor BrushColorOf(const GpBrush& b) {
  ARGB c = b.type == BrushTypeSolidColor ? b.color : b.type == BrushTypeLinearGradient ? b.colors[0] : b.centerColor;
  return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

}  // namespace

double TFakeMetricsCanvas::GdipTextAdvance(const GpFont*, const WideString& text) {
  return metrics_.GdipTextAdvance(text);
}

TGdipFontMetrics TFakeMetricsCanvas::GdipFontMetrics(const GpFont*) { return metrics_.GdipFontMetrics(); }

void TFakeMetricsCanvas::GdipDrawTextLine(const GpGraphics*, const GpFont*, const GpBrush* brush, double x,
                                          double top, const WideString& text, Integer, const GpRectF* clip) {
  RequiredState();
  SaveDC();
  if (clip)
    IntersectClipRect(Rect(static_cast<Integer>(std::floor(clip->X)), static_cast<Integer>(std::floor(clip->Y)),
                           static_cast<Integer>(std::ceil(clip->X + clip->Width)),
                           static_cast<Integer>(std::ceil(clip->Y + clip->Height))));
  TFont saved;
  saved.Assign(Font());
  Font()->SetColor(BrushColorOf(*brush));
  DrawBoxes(static_cast<Integer>(std::lround(x)), static_cast<Integer>(std::lround(top)), rtl::ToAnsi(text));
  SetFont(&saved);
  RestoreDC(-1);
}

TSize TFakeMetrics::TextExtentW(const WideString& text, Integer extra) const {
  return {static_cast<Integer>(SplitTextCharacters(text).size()) * (Advance + extra), Ascent + Descent};
}

TSize TFakeMetricsCanvas::TextExtent(const AnsiString& text) { return metrics_.TextExtent(text); }

TSize TFakeMetricsCanvas::TextExtentW(const WideString& text) {
  return metrics_.TextExtentW(text, TextCharacterExtra());
}

void TFakeMetricsCanvas::TextOutW(Integer x, Integer y, const WideString& text) {
  RequiredState();
  TSize size = TextExtentW(text);
  if (Brush()->Style() != bsClear) FillRect(Bounds(x, y, size.cx, size.cy));
  TBrush saved;
  saved.Assign(Brush());
  Brush()->SetColor(Font()->Color());
  Brush()->SetStyle(bsSolid);
  Integer left = x;
  for (const TTextCharacter& c : SplitTextCharacters(text)) {
    if (!(c.Length == 1 && (text[c.Index] == u' ' || text[c.Index] == u'\t'))) DrawBox(left, y);
    left += metrics_.Advance + TextCharacterExtra();
  }
  SetBrush(&saved);
  TCanvas::MoveTo(x + size.cx, y);
}

void TFakeMetricsCanvas::DrawBox(Integer left, Integer top) {
  FillRect(Rect(left, top, left + metrics_.Advance - 1, top + metrics_.Ascent));
}

TTextMetrics TFakeMetricsCanvas::GetTextMetrics() { return metrics_.TextMetrics(); }

void TFakeMetricsCanvas::DrawBoxes(Integer x, Integer y, const AnsiString& text) {
  TBrush saved;
  saved.Assign(Brush());
  Brush()->SetColor(Font()->Color());
  Brush()->SetStyle(bsSolid);
  Integer i = 0;
  for (size_t b = 0; b < text.size(); ++b) {
    auto c = static_cast<unsigned char>(text[b]);
    if ((c & 0xC0) == 0x80) continue;
    if (c != ' ' && c != '\t') DrawBox(x + i * metrics_.Advance, y);
    ++i;
  }
  SetBrush(&saved);
}

void TFakeMetricsCanvas::TextOut(Integer x, Integer y, const AnsiString& text) {
  RequiredState();
  TSize size = TextExtent(text);
  if (Brush()->Style() != bsClear) FillRect(Bounds(x, y, size.cx, size.cy));
  DrawBoxes(x, y, text);
  TCanvas::MoveTo(x + size.cx, y);
}

void TFakeMetricsCanvas::TextRect(const TRect& r, Integer x, Integer y, const AnsiString& text) {
  RequiredState();
  SaveDC();
  IntersectClipRect(r);
  if (Brush()->Style() != bsClear) FillRect(r);
  DrawBoxes(x, y, text);
  RestoreDC(-1);
}

// --- Recording ---

AnsiString TCanvasRecord::Call() const {
  AnsiString s = Op + "(";
  for (size_t i = 0; i < Args.size(); ++i) {
    if (i) s += ",";
    s += rtl::IntToStr(Args[i]);
  }
  s += ")";
  if (!Text.empty() || Op == "TextOut" || Op == "TextOutW" || Op == "TextRect") s += " '" + Text + "'";
  return s;
}

TRecordingCanvas::TRecordingCanvas(TFakeMetrics metrics) : metrics_(metrics) {}

std::vector<AnsiString> TRecordingCanvas::Calls() const {
  std::vector<AnsiString> calls;
  for (const TCanvasRecord& r : records_) calls.push_back(r.Call());
  return calls;
}

void TRecordingCanvas::Add(AnsiString op, std::vector<Integer> args, AnsiString text) {
  TCanvasRecord r;
  r.Op = std::move(op);
  r.Args = std::move(args);
  r.Text = std::move(text);
  r.PenColor = Pen()->Color();
  r.PenMode = Pen()->Mode();
  r.PenStyle = Pen()->Style();
  r.PenWidth = Pen()->Width();
  r.BrushColor = Brush()->Color();
  r.BrushStyle = Brush()->Style();
  r.FontColor = Font()->Color();
  r.FontName = Font()->Name();
  r.FontHeight = Font()->Height();
  r.FontStyle = Font()->Style();
  records_.push_back(std::move(r));
  Changed();
}

void TRecordingCanvas::FillRect(const TRect& r) { Add("FillRect", {r.Left, r.Top, r.Right, r.Bottom}); }
void TRecordingCanvas::FrameRect(const TRect& r) { Add("FrameRect", {r.Left, r.Top, r.Right, r.Bottom}); }
void TRecordingCanvas::Rectangle(Integer x1, Integer y1, Integer x2, Integer y2) {
  Add("Rectangle", {x1, y1, x2, y2});
}
void TRecordingCanvas::MoveTo(Integer x, Integer y) {
  Add("MoveTo", {x, y});
  TCanvas::MoveTo(x, y);
}
void TRecordingCanvas::LineTo(Integer x, Integer y) {
  Add("LineTo", {x, y});
  TCanvas::MoveTo(x, y);
}
void TRecordingCanvas::TextOut(Integer x, Integer y, const AnsiString& text) {
  Add("TextOut", {x, y}, text);
  TCanvas::MoveTo(x + TextExtent(text).cx, y);
}
void TRecordingCanvas::TextRect(const TRect& r, Integer x, Integer y, const AnsiString& text) {
  Add("TextRect", {r.Left, r.Top, r.Right, r.Bottom, x, y}, text);
}
TSize TRecordingCanvas::TextExtent(const AnsiString& text) { return metrics_.TextExtent(text); }
void TRecordingCanvas::TextOutW(Integer x, Integer y, const WideString& text) {
  Add("TextOutW", {x, y}, rtl::WideToUtf8(text));
  TCanvas::MoveTo(x + TextExtentW(text).cx, y);
}
TSize TRecordingCanvas::TextExtentW(const WideString& text) {
  return metrics_.TextExtentW(text, TextCharacterExtra());
}
Integer TRecordingCanvas::SetTextCharacterExtra(Integer extra) {
  Add("SetTextCharacterExtra", {extra});
  return TCanvas::SetTextCharacterExtra(extra);
}
void TRecordingCanvas::AlphaBlendFrom(const TRect& d, TCanvas*, const TRect& s, Byte alpha) {
  Add("AlphaBlend", {d.Left, d.Top, d.Right, d.Bottom, s.Left, s.Top, s.Right, s.Bottom, alpha});
}
TTextMetrics TRecordingCanvas::GetTextMetrics() { return metrics_.TextMetrics(); }
TColor TRecordingCanvas::Pixels(Integer, Integer) { return CLR_INVALID; }
void TRecordingCanvas::SetPixels(Integer x, Integer y, TColor color) {
  Add("SetPixels", {x, y, static_cast<Integer>(color)});
}
void TRecordingCanvas::RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer cw, Integer ch) {
  Add("RoundRect", {x1, y1, x2, y2, cw, ch});
}
void TRecordingCanvas::Ellipse(Integer x1, Integer y1, Integer x2, Integer y2) { Add("Ellipse", {x1, y1, x2, y2}); }
void TRecordingCanvas::Polygon(const std::vector<TPoint>& points) {
  std::vector<Integer> args;
  for (const TPoint& p : points) args.insert(args.end(), {p.X, p.Y});
  Add("Polygon", args);
}
void TRecordingCanvas::Polyline(const std::vector<TPoint>& points) {
  std::vector<Integer> args;
  for (const TPoint& p : points) args.insert(args.end(), {p.X, p.Y});
  Add("Polyline", args);
}
void TRecordingCanvas::Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4,
                           Integer y4) {
  Add("Arc", {x1, y1, x2, y2, x3, y3, x4, y4});
}
void TRecordingCanvas::DrawFocusRect(const TRect& r) { Add("DrawFocusRect", {r.Left, r.Top, r.Right, r.Bottom}); }
void TRecordingCanvas::FloodFill(Integer x, Integer y, TColor color, TFillStyle style) {
  Add("FloodFill", {x, y, static_cast<Integer>(color), static_cast<Integer>(style)});
}
Integer TRecordingCanvas::SaveDC() {
  Add("SaveDC", {});
  return ++saveLevel_;
}
bool TRecordingCanvas::RestoreDC(Integer level) {
  Add("RestoreDC", {level});
  if (level < 0) level = saveLevel_ + level + 1;
  if (level < 1 || level > saveLevel_) return false;
  saveLevel_ = level - 1;
  return true;
}
void TRecordingCanvas::IntersectClipRect(const TRect& r) {
  Add("IntersectClipRect", {r.Left, r.Top, r.Right, r.Bottom});
}
void TRecordingCanvas::ExcludeClipRect(const TRect& r) { Add("ExcludeClipRect", {r.Left, r.Top, r.Right, r.Bottom}); }
void TRecordingCanvas::SelectClipRegion(const TRegion* region) { Add("SelectClipRegion", {region ? 1 : 0}); }
void TRecordingCanvas::Draw(Integer x, Integer y, TGraphic* graphic) {
  Add("Draw", {x, y, graphic ? graphic->Width() : 0, graphic ? graphic->Height() : 0});
}
void TRecordingCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  Add("StretchDraw", {r.Left, r.Top, r.Right, r.Bottom});
}
void TRecordingCanvas::BlitFrom(const TRect& dest, TCanvas*, const TRect& s, Cardinal rop, TColor transparent) {
  Add("BlitFrom", {dest.Left, dest.Top, dest.Right, dest.Bottom, s.Left, s.Top, s.Right, s.Bottom,
                   static_cast<Integer>(rop), static_cast<Integer>(transparent)});
}
void TRecordingCanvas::BrushCopy(const TRect& dest, TBitmap*, const TRect& s, TColor transparent) {
  Add("BrushCopy", {dest.Left, dest.Top, dest.Right, dest.Bottom, s.Left, s.Top, s.Right, s.Bottom,
                    static_cast<Integer>(transparent)});
}
namespace {

Integer Whole(double v) { return static_cast<Integer>(std::lround(v)); }

std::vector<Integer> BoundsOf(const GpPath& path) {
  QRectF r = path.ToQt().boundingRect();
  return {Whole(r.left()), Whole(r.top()), Whole(r.right()), Whole(r.bottom()),
          static_cast<Integer>(path.points.size())};
}

}  // namespace

void TRecordingCanvas::GdipFillPath(const GpGraphics*, const GpPath* path, const GpBrush* brush) {
  std::vector<Integer> args = BoundsOf(*path);
  ARGB first = brush->type == BrushTypeSolidColor       ? brush->color
               : brush->type == BrushTypeLinearGradient ? brush->colors[0]
                                                        : brush->centerColor;
  args.insert(args.end(), {static_cast<Integer>(brush->type), static_cast<Integer>(first)});
  Add("GdipFillPath", std::move(args));
}

void TRecordingCanvas::GdipDrawPath(const GpGraphics*, const GpPath* path, const GpPen* pen) {
  std::vector<Integer> args = BoundsOf(*path);
  args.insert(args.end(), {static_cast<Integer>(pen->color), Whole(pen->width), static_cast<Integer>(pen->dash)});
  Add("GdipDrawPath", std::move(args));
}

void TRecordingCanvas::GdipDrawImage(const GpGraphics*, const GpImage*, const GpRectF& d, const GpRectF& s,
                                     const GpImageAttributes* attributes) {
  Add("GdipDrawImage", {Whole(d.X), Whole(d.Y), Whole(d.Width), Whole(d.Height), Whole(s.X), Whole(s.Y),
                        Whole(s.Width), Whole(s.Height), attributes && attributes->keyed ? 1 : 0});
}

void TRecordingCanvas::GdipDrawTextLine(const GpGraphics*, const GpFont*, const GpBrush*, double x, double top,
                                        const WideString& text, Integer underlined, const GpRectF*) {
  Add("GdipDrawTextLine", {Whole(x), Whole(top), underlined}, rtl::ToAnsi(text));
}

double TRecordingCanvas::GdipTextAdvance(const GpFont*, const WideString& text) {
  return metrics_.GdipTextAdvance(text);
}

TGdipFontMetrics TRecordingCanvas::GdipFontMetrics(const GpFont*) { return metrics_.GdipFontMetrics(); }

void TRecordingCanvas::DrawThemePart(const char* themeClass, Integer part, Integer state, const TRect& r,
                                     const TRect* clip) {
  std::vector<Integer> args{part, state, r.Left, r.Top, r.Right, r.Bottom};
  if (clip) args.insert(args.end(), {clip->Left, clip->Top, clip->Right, clip->Bottom});
  Add("DrawThemePart", std::move(args), themeClass);
}

}  // namespace vcl
