#include "vcl/Metafile.h"

#include <QImage>
#include <cmath>

#include "rtl/CodePages.h"
#include "vcl/Regions.h"

namespace vcl {

enum class TMetafileOp {
  FillRect, FrameRect, Rectangle, Line, Text, SetPixel, RoundRect, Ellipse, Polygon, Polyline, Arc,
  FocusRect, SaveDC, RestoreDC, IntersectClip, ExcludeClip, SelectClip, Picture, Blit, BrushCopy, AlphaBlend
};

// One call in device units, with the pen, brush and font it was made with.
struct TMetafileRecord {
  TMetafileOp Op{};
  std::vector<Integer> Args;
  TPen Pen;
  TBrush Brush;
  TFont Font;  // height in device units
  // Text: the characters, the device left of each, the baseline cell's top
  // and height, whether the cell was filled first.
  WideString Text;
  std::vector<Integer> Lefts;
  bool FillCell = false;
  TRect Cell;
  // Clipping regions: the rectangles, or none (clipping removed).
  std::vector<TRect> Region;
  bool HasRegion = false;
  // Pictures and copies: the pixels taken when the call was made.
  std::shared_ptr<TBitmap> Bitmap;
  Cardinal Rop = 0;
  TColor Transparent = clNone;
  Byte Alpha = 255;
};

// --- The metafile ---

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::Assign(const TPersistent* source) {
  if (auto* m = dynamic_cast<const TMetafile*>(source)) {
    width_ = m->width_;
    height_ = m->height_;
    records_ = m->records_;  // records never change once made, so they are shared
    rendered_.reset();
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

bool TMetafile::Empty() const { return records_.empty(); }

void TMetafile::SetWidth(Integer w) {
  if (w == width_) return;
  width_ = w;
  rendered_.reset();
  Changed();
}

void TMetafile::SetHeight(Integer h) {
  if (h == height_) return;
  height_ = h;
  rendered_.reset();
  Changed();
}

void TMetafile::Clear() {
  records_.clear();
  rendered_.reset();
  Changed();
}

void TMetafile::TakeRecords(std::vector<std::shared_ptr<TMetafileRecord>> records) {
  records_ = std::move(records);
  rendered_.reset();
  Changed();
}

void TMetafile::LoadFromStream(rtl::TStream&) {
  throw EInvalidGraphicOperation("Metafiles cannot be loaded or saved");
}

void TMetafile::SaveToStream(rtl::TStream&) {
  throw EInvalidGraphicOperation("Metafiles cannot be loaded or saved");
}

const QImage* TMetafile::Image() {
  if (width_ <= 0 || height_ <= 0) return nullptr;
  if (!rendered_) {
    rendered_ = std::make_unique<TBitmap>(width_, height_);
    Play(rendered_->Canvas(), Bounds(0, 0, width_, height_));
  }
  return &rendered_->Pixels();
}

namespace {

// Device units of the metafile to the target rectangle of a play.
struct PlayMapping {
  TRect target;
  double sx = 1, sy = 1;
  Integer X(Integer x) const { return target.Left + static_cast<Integer>(std::lround(x * sx)); }
  Integer Y(Integer y) const { return target.Top + static_cast<Integer>(std::lround(y * sy)); }
  TRect Rect(const TRect& r) const { return {X(r.Left), Y(r.Top), X(r.Right), Y(r.Bottom)}; }
  TRect RectOf(const std::vector<Integer>& a, size_t i = 0) const {
    return {X(a[i]), Y(a[i + 1]), X(a[i + 2]), Y(a[i + 3])};
  }
  TPoint Point(Integer x, Integer y) const { return {X(x), Y(y)}; }
};


void ApplyState(TCanvas* c, const TMetafileRecord& r, const PlayMapping& m) {
  c->SetPen(&r.Pen);
  if (m.sx != 1.0) c->Pen()->SetWidth(std::max(1, static_cast<Integer>(std::lround(r.Pen.Width() * m.sx))));
  c->SetBrush(&r.Brush);
  c->SetFont(&r.Font);
  if (m.sy != 1.0) {
    const Integer h = r.Font.Height();
    const Integer scaled = static_cast<Integer>(std::lround(std::abs(h) * m.sy));
    c->Font()->SetHeight(h < 0 ? -std::max(1, scaled) : std::max(1, scaled));
  }
}

}  // namespace

void TMetafile::Play(TCanvas* canvas, const TRect& r) {
  if (!canvas || r.IsEmpty() || width_ <= 0 || height_ <= 0) return;
  PlayMapping m{r, double(r.Width()) / width_, double(r.Height()) / height_};
  TPen pen;
  TBrush brush;
  TFont font;
  pen.Assign(canvas->Pen());
  brush.Assign(canvas->Brush());
  font.Assign(canvas->Font());
  const Integer base = canvas->SaveDC();
  canvas->IntersectClipRect(r);
  for (const auto& rec : records_) {
    const TMetafileRecord& x = *rec;
    const auto& a = x.Args;
    ApplyState(canvas, x, m);
    switch (x.Op) {
      case TMetafileOp::FillRect: canvas->FillRect(m.RectOf(a)); break;
      case TMetafileOp::FrameRect: canvas->FrameRect(m.RectOf(a)); break;
      case TMetafileOp::Rectangle: canvas->Rectangle(m.RectOf(a)); break;
      case TMetafileOp::Line:
        canvas->MoveTo(m.X(a[0]), m.Y(a[1]));
        canvas->LineTo(m.X(a[2]), m.Y(a[3]));
        break;
      case TMetafileOp::Text: {
        if (x.FillCell) canvas->FillRect(m.Rect(x.Cell));
        canvas->Brush()->SetStyle(bsClear);
        const Integer top = m.Y(x.Cell.Top);
        const auto chars = SplitTextCharacters(x.Text);
        for (size_t i = 0; i < chars.size(); ++i)
          canvas->TextOutW(m.X(x.Lefts[i]), top, x.Text.substr(chars[i].Index, chars[i].Length));
        break;
      }
      case TMetafileOp::SetPixel: canvas->SetPixels(m.X(a[0]), m.Y(a[1]), static_cast<TColor>(a[2])); break;
      case TMetafileOp::RoundRect:
        canvas->RoundRect(m.X(a[0]), m.Y(a[1]), m.X(a[2]), m.Y(a[3]), static_cast<Integer>(std::lround(a[4] * m.sx)),
                          static_cast<Integer>(std::lround(a[5] * m.sy)));
        break;
      case TMetafileOp::Ellipse: canvas->Ellipse(m.RectOf(a)); break;
      case TMetafileOp::Polygon:
      case TMetafileOp::Polyline: {
        std::vector<TPoint> pts;
        for (size_t i = 0; i + 1 < a.size(); i += 2) pts.push_back(m.Point(a[i], a[i + 1]));
        if (x.Op == TMetafileOp::Polygon) {
          canvas->Polygon(pts);
        } else {
          canvas->Polyline(pts);
        }
        break;
      }
      case TMetafileOp::Arc:
        canvas->Arc(m.X(a[0]), m.Y(a[1]), m.X(a[2]), m.Y(a[3]), m.X(a[4]), m.Y(a[5]), m.X(a[6]), m.Y(a[7]));
        break;
      case TMetafileOp::FocusRect: canvas->DrawFocusRect(m.RectOf(a)); break;
      case TMetafileOp::SaveDC: canvas->SaveDC(); break;
      case TMetafileOp::RestoreDC: canvas->RestoreDC(a[0] < 0 ? a[0] : base + a[0]); break;
      case TMetafileOp::IntersectClip: canvas->IntersectClipRect(m.RectOf(a)); break;
      case TMetafileOp::ExcludeClip: canvas->ExcludeClipRect(m.RectOf(a)); break;
      case TMetafileOp::SelectClip: {
        // A region never reaches outside the rectangle played into.
        TRegion region(r);
        if (x.HasRegion) {
          TRegion mapped;
          for (const TRect& b : x.Region) mapped = mapped.Union(TRegion(m.Rect(b)));
          region = region.Intersect(mapped);
        }
        canvas->SelectClipRegion(&region);
        break;
      }
      case TMetafileOp::Picture: canvas->StretchDraw(m.RectOf(a), x.Bitmap.get()); break;
      case TMetafileOp::Blit:
        canvas->BlitFrom(m.RectOf(a), x.Bitmap->Canvas(), Bounds(0, 0, x.Bitmap->Width(), x.Bitmap->Height()), x.Rop,
                         x.Transparent);
        break;
      case TMetafileOp::BrushCopy:
        canvas->BrushCopy(m.RectOf(a), x.Bitmap.get(), Bounds(0, 0, x.Bitmap->Width(), x.Bitmap->Height()),
                          x.Transparent);
        break;
      case TMetafileOp::AlphaBlend:
        canvas->AlphaBlendFrom(m.RectOf(a), x.Bitmap->Canvas(), Bounds(0, 0, x.Bitmap->Width(), x.Bitmap->Height()),
                               x.Alpha);
        break;
    }
  }
  canvas->RestoreDC(base);
  canvas->SetPen(&pen);
  canvas->SetBrush(&brush);
  canvas->SetFont(&font);
}

// --- The recording canvas ---

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, TCanvas* referenceDevice) : metafile_(metafile) {
  if (referenceDevice) Font()->SetPixelsPerInch(referenceDevice->Font()->PixelsPerInch());
}

TMetafileCanvas::~TMetafileCanvas() {
  if (metafile_) metafile_->TakeRecords(std::move(records_));
}

Integer TMetafileCanvas::SetMapMode(Integer mode) {
  if (mode != MM_TEXT && mode != MM_ANISOTROPIC) return 0;
  const Integer old = mapMode_;
  mapMode_ = mode;
  return old;
}

TPoint TMetafileCanvas::ToDevice(TPoint p) const { return {ScaleX(p.X), ScaleY(p.Y)}; }

Integer TMetafileCanvas::ScaleX(Integer v) const {
  if (mapMode_ != MM_ANISOTROPIC || windowExt_.cx == 0) return v;
  return static_cast<Integer>(std::lround(double(v) * viewportExt_.cx / windowExt_.cx));
}

Integer TMetafileCanvas::ScaleY(Integer v) const {
  if (mapMode_ != MM_ANISOTROPIC || windowExt_.cy == 0) return v;
  return static_cast<Integer>(std::lround(double(v) * viewportExt_.cy / windowExt_.cy));
}

TRect TMetafileCanvas::DeviceRect(const TRect& r) const {
  return {ScaleX(r.Left), ScaleY(r.Top), ScaleX(r.Right), ScaleY(r.Bottom)};
}

std::shared_ptr<TMetafileRecord> TMetafileCanvas::Add(int op, std::vector<Integer> args) {
  auto r = std::make_shared<TMetafileRecord>();
  r->Op = static_cast<TMetafileOp>(op);
  r->Args = std::move(args);
  r->Pen.Assign(Pen());
  r->Pen.SetWidth(std::max(1, ScaleX(Pen()->Width())));
  r->Brush.Assign(Brush());
  r->Font.Assign(Font());
  const Integer h = Font()->Height();
  r->Font.SetHeight(h < 0 ? -std::max(1, ScaleY(-h)) : std::max(1, ScaleY(h)));
  records_.push_back(r);
  Changed();
  return r;
}

namespace {
std::vector<Integer> Args(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
constexpr int Op(TMetafileOp op) { return static_cast<int>(op); }
}  // namespace

void TMetafileCanvas::FillRect(const TRect& r) { Add(Op(TMetafileOp::FillRect), Args(DeviceRect(r))); }
void TMetafileCanvas::FrameRect(const TRect& r) { Add(Op(TMetafileOp::FrameRect), Args(DeviceRect(r))); }
void TMetafileCanvas::Rectangle(Integer x1, Integer y1, Integer x2, Integer y2) {
  Add(Op(TMetafileOp::Rectangle), Args(DeviceRect({x1, y1, x2, y2})));
}

void TMetafileCanvas::LineTo(Integer x, Integer y) {
  TPoint from = ToDevice(PenPos()), to = ToDevice({x, y});
  Add(Op(TMetafileOp::Line), {from.X, from.Y, to.X, to.Y});
  TCanvas::MoveTo(x, y);
}

void TMetafileCanvas::TextOutW(Integer x, Integer y, const WideString& text) {
  // Each character's place comes from its logical advance, so the page
  // keeps the layout it was measured with at any scale.
  auto r = Add(Op(TMetafileOp::Text), {});
  r->Text = text;
  Integer left = 0;
  for (const TTextCharacter& c : SplitTextCharacters(text)) {
    r->Lefts.push_back(ScaleX(x + left));
    left += TCanvas::TextExtentW(text.substr(c.Index, c.Length)).cx;
  }
  const Integer height = TCanvas::TextExtentW(u"").cy;
  r->Cell = DeviceRect(Bounds(x, y, left, height));
  r->FillCell = Brush()->Style() != bsClear;
  TCanvas::MoveTo(x + left, y);
}

void TMetafileCanvas::TextOut(Integer x, Integer y, const AnsiString& text) { TextOutW(x, y, rtl::Utf8ToWide(text)); }

void TMetafileCanvas::TextRect(const TRect& r, Integer x, Integer y, const AnsiString& text) {
  SaveDC();
  IntersectClipRect(r);
  if (Brush()->Style() != bsClear) FillRect(r);
  TBrushStyle style = Brush()->Style();
  Brush()->SetStyle(bsClear);
  TextOutW(x, y, rtl::Utf8ToWide(text));
  Brush()->SetStyle(style);
  RestoreDC(-1);
}

TColor TMetafileCanvas::Pixels(Integer, Integer) { return CLR_INVALID; }

void TMetafileCanvas::SetPixels(Integer x, Integer y, TColor color) {
  TPoint p = ToDevice({x, y});
  Add(Op(TMetafileOp::SetPixel), {p.X, p.Y, static_cast<Integer>(color)});
}

void TMetafileCanvas::RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer cw, Integer ch) {
  TRect d = DeviceRect({x1, y1, x2, y2});
  Add(Op(TMetafileOp::RoundRect), {d.Left, d.Top, d.Right, d.Bottom, ScaleX(cw), ScaleY(ch)});
}

void TMetafileCanvas::Ellipse(Integer x1, Integer y1, Integer x2, Integer y2) {
  Add(Op(TMetafileOp::Ellipse), Args(DeviceRect({x1, y1, x2, y2})));
}

void TMetafileCanvas::Polygon(const std::vector<TPoint>& points) {
  std::vector<Integer> a;
  for (const TPoint& p : points) {
    TPoint d = ToDevice(p);
    a.insert(a.end(), {d.X, d.Y});
  }
  Add(Op(TMetafileOp::Polygon), std::move(a));
}

void TMetafileCanvas::Polyline(const std::vector<TPoint>& points) {
  std::vector<Integer> a;
  for (const TPoint& p : points) {
    TPoint d = ToDevice(p);
    a.insert(a.end(), {d.X, d.Y});
  }
  Add(Op(TMetafileOp::Polyline), std::move(a));
}

void TMetafileCanvas::Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4,
                          Integer y4) {
  TRect b = DeviceRect({x1, y1, x2, y2});
  TPoint p3 = ToDevice({x3, y3}), p4 = ToDevice({x4, y4});
  Add(Op(TMetafileOp::Arc), {b.Left, b.Top, b.Right, b.Bottom, p3.X, p3.Y, p4.X, p4.Y});
}

void TMetafileCanvas::DrawFocusRect(const TRect& r) { Add(Op(TMetafileOp::FocusRect), Args(DeviceRect(r))); }

void TMetafileCanvas::FloodFill(Integer, Integer, TColor, TFillStyle) {}

Integer TMetafileCanvas::SaveDC() {
  Add(Op(TMetafileOp::SaveDC), {});
  return ++saveLevel_;
}

bool TMetafileCanvas::RestoreDC(Integer level) {
  Integer absolute = level < 0 ? saveLevel_ + level + 1 : level;
  if (absolute < 1 || absolute > saveLevel_) return false;
  Add(Op(TMetafileOp::RestoreDC), {level});
  saveLevel_ = absolute - 1;
  return true;
}

void TMetafileCanvas::IntersectClipRect(const TRect& r) {
  Add(Op(TMetafileOp::IntersectClip), Args(DeviceRect(r)));
}

void TMetafileCanvas::ExcludeClipRect(const TRect& r) { Add(Op(TMetafileOp::ExcludeClip), Args(DeviceRect(r))); }

void TMetafileCanvas::SelectClipRegion(const TRegion* region) {
  auto r = Add(Op(TMetafileOp::SelectClip), {});
  r->HasRegion = region != nullptr;
  if (region)
    for (const TRect& b : region->Rects()) r->Region.push_back(DeviceRect(b));
}

namespace {

// A copy of what a graphic draws, at its own size, transparency kept.
std::shared_ptr<TBitmap> Snapshot(TGraphic* graphic) {
  auto bmp = std::make_shared<TBitmap>();
  bmp->SetPixelFormat(pf32bit);
  bmp->SetSize(graphic->Width(), graphic->Height());
  bmp->Pixels().fill(Qt::transparent);
  bmp->Canvas()->StretchDraw(Bounds(0, 0, graphic->Width(), graphic->Height()), graphic);
  bmp->SetTransparent(graphic->Transparent());
  return bmp;
}

// The pixels of a canvas's rectangle.
std::shared_ptr<TBitmap> Snapshot(TCanvas* source, const TRect& r) {
  auto bmp = std::make_shared<TBitmap>(r.Width(), r.Height());
  bmp->Canvas()->CopyRect(Bounds(0, 0, r.Width(), r.Height()), source, r);
  return bmp;
}

}  // namespace

void TMetafileCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Add(Op(TMetafileOp::Picture), Args(DeviceRect(r)))->Bitmap = Snapshot(graphic);
}

void TMetafileCanvas::BlitFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Cardinal rop,
                               TColor transparent) {
  if (dest.IsEmpty()) return;
  auto r = Add(Op(TMetafileOp::Blit), Args(DeviceRect(dest)));
  r->Bitmap = source && !sourceRect.IsEmpty() ? Snapshot(source, sourceRect) : std::make_shared<TBitmap>(1, 1);
  r->Rop = rop;
  r->Transparent = transparent;
}

void TMetafileCanvas::BrushCopy(const TRect& dest, TBitmap* source, const TRect& sourceRect, TColor transparent) {
  if (!source || source->Empty() || dest.IsEmpty() || sourceRect.IsEmpty()) return;
  auto r = Add(Op(TMetafileOp::BrushCopy), Args(DeviceRect(dest)));
  r->Bitmap = Snapshot(source->Canvas(), sourceRect);
  r->Transparent = transparent;
}

void TMetafileCanvas::AlphaBlendFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Byte alpha) {
  if (!source || dest.IsEmpty() || sourceRect.IsEmpty()) return;
  auto r = Add(Op(TMetafileOp::AlphaBlend), Args(DeviceRect(dest)));
  r->Bitmap = Snapshot(source, sourceRect);
  r->Alpha = alpha;
}

void TMetafileCanvas::DrawThemePart(const char*, Integer, Integer, const TRect&, const TRect*) {}

// --- Mapping calls ---

Integer SetMapMode(TCanvas* canvas, Integer mode) {
  auto* m = dynamic_cast<TMetafileCanvas*>(canvas);
  return m ? m->SetMapMode(mode) : 0;
}

bool SetWindowExtEx(TCanvas* canvas, Integer cx, Integer cy, TSize* old) {
  auto* m = dynamic_cast<TMetafileCanvas*>(canvas);
  if (!m) return false;
  if (old) *old = m->WindowExt();
  m->SetWindowExt({cx, cy});
  return true;
}

bool SetViewportExtEx(TCanvas* canvas, Integer cx, Integer cy, TSize* old) {
  auto* m = dynamic_cast<TMetafileCanvas*>(canvas);
  if (!m) return false;
  if (old) *old = m->ViewportExt();
  m->SetViewportExt({cx, cy});
  return true;
}

}  // namespace vcl
