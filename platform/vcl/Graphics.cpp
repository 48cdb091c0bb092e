#include "vcl/Graphics.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>
#include <cstdlib>
#include <unordered_map>

#include "rtl/Strings.h"
#include "vcl/QtCanvas.h"

namespace vcl {

// --- Colours ---

namespace {
// Standard desktop colours of the light scheme, in 0x00BBGGRR.
constexpr TColor kSysColors[] = {
    0xC8C8C8,  // 0 scroll bar
    0x000000,  // 1 background
    0xD1B499,  // 2 active caption
    0xDBCDBF,  // 3 inactive caption
    0xF0F0F0,  // 4 menu
    0xFFFFFF,  // 5 window
    0x646464,  // 6 window frame
    0x000000,  // 7 menu text
    0x000000,  // 8 window text
    0x000000,  // 9 caption text
    0xB4B4B4,  // 10 active border
    0xFCF7F4,  // 11 inactive border
    0xABABAB,  // 12 application workspace
    0xFF9933,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xF0F0F0,  // 15 button face
    0xA0A0A0,  // 16 button shadow
    0x6D6D6D,  // 17 grey text
    0x000000,  // 18 button text
    0x544E43,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x696969,  // 21 3D dark shadow
    0xE3E3E3,  // 22 3D light
    0x000000,  // 23 info text
    0xE1FFFF,  // 24 info background
    0x000000,  // 25 (unused)
    0xCC6600,  // 26 hot light
    0xEAD1B9,  // 27 gradient active caption
    0xF2E4D7,  // 28 gradient inactive caption
    0xFF9933,  // 29 menu highlight
    0xF0F0F0,  // 30 menu bar
};
}  // namespace

TColor GetSysColor(Integer index) {
  if (index < 0 || index >= static_cast<Integer>(std::size(kSysColors))) return 0;
  return kSysColors[index];
}

TColor ColorToRGB(TColor color) {
  if (color == clNone) return clBlack;
  if (color == clDefault) return GetSysColor(5);
  if (color & 0x80000000u) return GetSysColor(static_cast<Integer>(color & 0xFF));
  return color & 0x00FFFFFF;
}

QColor ToQColor(TColor color) {
  TColor c = ColorToRGB(color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) {
  return RGB(static_cast<Byte>(color.red()), static_cast<Byte>(color.green()), static_cast<Byte>(color.blue()));
}

// --- Fonts, pens, brushes ---

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

AnsiString SubstituteFontName(const AnsiString& name) {
  struct Entry {
    const char* asked;
    const char* installed;
  };
  // Liberation families share their metrics with the desktop's core fonts;
  // DejaVu Sans shares its wide design with Verdana.
  static constexpr Entry kTable[] = {
      {"Arial", "Liberation Sans"},          {"Tahoma", "Liberation Sans"},
      {"Segoe UI", "Liberation Sans"},       {"MS Sans Serif", "Liberation Sans"},
      {"MS Shell Dlg", "Liberation Sans"},   {"MS Shell Dlg 2", "Liberation Sans"},
      {"Microsoft Sans Serif", "Liberation Sans"},
      {"Verdana", "DejaVu Sans"},            {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},    {"Courier", "Liberation Mono"},
      {"Consolas", "Liberation Mono"},
      // The desktop's fixed-pitch system face, which editors fall back to.
      {"FixedSys", "DejaVu Sans Mono"},
  };
  for (const Entry& e : kTable)
    if (rtl::SameText(name, e.asked)) return e.installed;
  return name;
}

TFont::TFont() = default;

void TFont::Assign(const TPersistent* source) {
  if (auto* f = dynamic_cast<const TFont*>(source)) {
    name_ = f->name_;
    height_ = f->height_;
    style_ = f->style_;
    color_ = f->color_;
    charset_ = f->charset_;
    pitch_ = f->pitch_;
    orientation_ = f->orientation_;
    pixelsPerInch_ = f->pixelsPerInch_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

static Integer MulDivRound(Integer a, Integer b, Integer c) {
  return static_cast<Integer>(std::lround(static_cast<double>(a) * b / c));
}

Integer TFont::Size() const { return -MulDivRound(height_, 72, pixelsPerInch_); }
void TFont::SetSize(Integer points) { SetHeight(-MulDivRound(points, pixelsPerInch_, 72)); }

void TFont::SetName(const AnsiString& name) {
  if (name.empty() || name == name_) return;
  name_ = name;
  Changed();
}
void TFont::SetHeight(Integer pixels) {
  if (pixels == height_) return;
  height_ = pixels;
  Changed();
}
void TFont::SetStyle(const TFontStyles& style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}
void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}
void TFont::SetCharset(TFontCharset charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}
void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == pitch_) return;
  pitch_ = pitch;
  Changed();
}
void TFont::SetOrientation(Integer tenths) {
  if (tenths == orientation_) return;
  orientation_ = tenths;
  Changed();
}

bool TFont::Equals(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_ && pitch_ == o.pitch_ && orientation_ == o.orientation_;
}

QFont ToQFont(const TFont& f) {
  QFont q(QString::fromStdString(SubstituteFontName(f.Name())));
  q.setStyleStrategy(QFont::PreferMatch);
  if (f.Pitch() == fpFixed) q.setFixedPitch(true);
  q.setBold(f.Style().Contains(fsBold));
  q.setItalic(f.Style().Contains(fsItalic));
  q.setUnderline(f.Style().Contains(fsUnderline));
  q.setStrikeOut(f.Style().Contains(fsStrikeOut));
  Integer h = f.Height();
  if (h < 0) {
    q.setPixelSize(-h);
  } else if (h > 0) {
    // A positive height asks for the whole cell: scale the em size so that
    // ascent plus descent come to h.
    q.setPixelSize(100);
    QFontMetricsF m(q);
    double cell = m.ascent() + m.descent();
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(h * 100.0 / (cell > 0 ? cell : 100.0)))));
  } else {
    q.setPixelSize(13);
  }
  return q;
}

namespace {

// The Qt fonts of the text calls, kept between calls: a row of coloured
// runs switches among a few styles but draws many times in each, and
// building a Qt font with its metrics costs more than drawing the text.
class QtFontCache {
 public:
  struct Entry {
    AnsiString name;
    Integer height = 0;
    TFontStyles style;
    TFontPitch pitch = fpDefault;
    QFont font;
    std::unique_ptr<QFontMetrics> metrics;
  };
  static const Entry& For(const TFont& f) {
    thread_local QtFontCache cache;
    return cache.Find(f);
  }

 private:
  const Entry& Find(const TFont& f) {
    for (size_t i = 0; i < entries_.size(); ++i) {
      const Entry& e = *entries_[i];
      if (e.height == f.Height() && e.style == f.Style() && e.pitch == f.Pitch() && e.name == f.Name()) {
        std::rotate(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(i),
                    entries_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return *entries_.front();
      }
    }
    auto e = std::make_unique<Entry>();
    e->name = f.Name();
    e->height = f.Height();
    e->style = f.Style();
    e->pitch = f.Pitch();
    e->font = ToQFont(f);
    e->metrics = std::make_unique<QFontMetrics>(e->font);
    if (entries_.size() == kEntries) entries_.pop_back();
    entries_.insert(entries_.begin(), std::move(e));
    return *entries_.front();
  }

  static constexpr size_t kEntries = 8;
  std::vector<std::unique_ptr<Entry>> entries_;  // the most recent first
};

}  // namespace

void TPen::Assign(const TPersistent* source) {
  if (auto* p = dynamic_cast<const TPen*>(source)) {
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    mode_ = p->mode_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}
void TPen::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}
void TPen::SetWidth(Integer w) {
  if (w < 1) w = 1;
  if (w == width_) return;
  width_ = w;
  Changed();
}
void TPen::SetStyle(TPenStyle s) {
  if (s == style_) return;
  style_ = s;
  Changed();
}
void TPen::SetMode(TPenMode m) {
  if (m == mode_) return;
  mode_ = m;
  Changed();
}

void TBrush::Assign(const TPersistent* source) {
  if (auto* b = dynamic_cast<const TBrush*>(source)) {
    color_ = b->color_;
    style_ = b->style_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}
void TBrush::SetColor(TColor c) {
  // Choosing a colour for a clear brush makes it solid again.
  if (c == color_ && style_ != bsClear) return;
  color_ = c;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle s) {
  if (s == style_) return;
  style_ = s;
  Changed();
}

// --- Surface painter ---

SurfacePainter::SurfacePainter(TCanvasSurface& surface) : painter_(surface.image) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setClipRect(surface.DeviceClip());
  if (surface.region) painter_.setClipRegion(*surface.region, Qt::IntersectClip);
  painter_.translate(surface.origin);
}

SurfacePainter::~SurfacePainter() { painter_.end(); }

std::optional<QPainter::CompositionMode> PenModeComposition(TPenMode mode) {
  switch (mode) {
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    default: return std::nullopt;
  }
}

// --- Canvas ---

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

bool TCanvas::HandleAllocated() const { return surface_ && surface_->image; }
void TCanvas::Refresh() { surface_.reset(); }
void TCanvas::SetSurface(std::unique_ptr<TCanvasSurface> surface) { surface_ = std::move(surface); }

void TCanvas::RequiredState() {
  if (!HandleAllocated()) CreateHandle();
  if (!HandleAllocated()) throw EInvalidOperation("Canvas does not allow drawing");
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (surface_ && surface_->drawn) surface_->drawn();
  if (OnChange) OnChange(this);
}

namespace {

QColor PenColor(const TPen& pen) {
  if (pen.Mode() == pmBlack) return Qt::black;
  if (pen.Mode() == pmWhite) return Qt::white;
  return ToQColor(pen.Color());
}

void ApplyMode(QPainter& p, TPenMode mode) {
  if (auto c = PenModeComposition(mode)) p.setCompositionMode(*c);
}

// On/off run lengths of the dashed one-pixel pen styles.
std::vector<int> DashPattern(TPenStyle style) {
  switch (style) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

// The pixels of a one-pixel line from a to b, b excluded, stepping as the
// desktop's line algorithm does; dashed styles skip their gaps.
QPolygon LinePixels(QPoint a, QPoint b, TPenStyle style, int& dashPhase) {
  QPolygon pts;
  int dx = std::abs(b.x() - a.x()), dy = std::abs(b.y() - a.y());
  int sx = a.x() < b.x() ? 1 : -1, sy = a.y() < b.y() ? 1 : -1;
  int err = dx - dy;
  int x = a.x(), y = a.y();
  std::vector<int> pattern = DashPattern(style);
  int period = 0;
  for (int v : pattern) period += v;
  while (!(x == b.x() && y == b.y())) {
    bool on = true;
    if (period > 0) {
      int pos = dashPhase % period;
      for (size_t i = 0; i < pattern.size(); ++i) {
        if (pos < pattern[i]) {
          on = (i % 2) == 0;
          break;
        }
        pos -= pattern[i];
      }
      ++dashPhase;
    }
    if (on) pts << QPoint(x, y);
    int e2 = 2 * err;
    if (e2 > -dy) {
      err -= dy;
      x += sx;
    }
    if (e2 < dx) {
      err += dx;
      y += sy;
    }
  }
  return pts;
}

}  // namespace

void TCanvas::FillRect(const TRect& r) {
  RequiredState();
  if (r.IsEmpty() || brush_.Style() == bsClear) return;
  Changing();
  {
    SurfacePainter p(*surface_);
    p->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), ToQColor(brush_.Color()));
  }
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  RequiredState();
  if (r.IsEmpty()) return;
  Changing();
  {
    SurfacePainter p(*surface_);
    QColor c = ToQColor(brush_.Color());
    p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    if (r.Height() > 2) {
      p->fillRect(QRect(r.Left, r.Top + 1, 1, r.Height() - 2), c);
      p->fillRect(QRect(r.Right - 1, r.Top + 1, 1, r.Height() - 2), c);
    }
  }
  Changed();
}

void TCanvas::Rectangle(Integer x1, Integer y1, Integer x2, Integer y2) {
  RequiredState();
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x2 - x1 < 1 || y2 - y1 < 1) return;
  Changing();
  {
    SurfacePainter p(*surface_);
    bool noPen = pen_.Style() == psClear || pen_.Mode() == pmNop;
    // The fill goes through the pen mode as well, so an XOR rectangle
    // drawn twice leaves nothing behind.
    ApplyMode(*p, pen_.Mode());
    if (brush_.Style() != bsClear) {
      // Without a pen the filled area stops one pixel short on the right
      // and bottom, as the desktop draws it.
      QRect fill = noPen ? QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1)
                         : QRect(x1 + 1, y1 + 1, x2 - x1 - 2, y2 - y1 - 2);
      if (fill.width() > 0 && fill.height() > 0) p->fillRect(fill, ToQColor(brush_.Color()));
    }
    if (!noPen) {
      ApplyMode(*p, pen_.Mode());
      QColor c = PenColor(pen_);
      if (pen_.Width() <= 1 && pen_.Style() != psSolid && pen_.Style() != psInsideFrame) {
        int phase = 0;
        QPolygon pts;
        QPoint corners[] = {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}, {x1, y1}};
        for (int i = 0; i < 4; ++i) pts += LinePixels(corners[i], corners[i + 1], pen_.Style(), phase);
        p->setPen(QPen(c, 1));
        p->drawPoints(pts);
      } else {
        // A wide outline grows inwards so the figure keeps its bounds.
        int w = std::min({pen_.Width(), (x2 - x1 + 1) / 2, (y2 - y1 + 1) / 2});
        QRegion frame(QRect(x1, y1, x2 - x1, y2 - y1));
        frame -= QRegion(QRect(x1 + w, y1 + w, x2 - x1 - 2 * w, y2 - y1 - 2 * w));
        for (const QRect& band : frame) p->fillRect(band, c);
      }
    }
  }
  // The pen position is neither used nor moved by a rectangle.
  Changed();
}

void TCanvas::MoveTo(Integer x, Integer y) { penPos_ = {x, y}; }

void TCanvas::LineTo(Integer x, Integer y) {
  RequiredState();
  TPoint from = penPos_;
  penPos_ = {x, y};
  if (pen_.Style() == psClear || pen_.Mode() == pmNop) return;
  Changing();
  {
    SurfacePainter p(*surface_);
    ApplyMode(*p, pen_.Mode());
    QColor c = PenColor(pen_);
    if (pen_.Width() <= 1) {
      int phase = 0;
      p->setPen(QPen(c, 1));
      p->drawPoints(LinePixels(QPoint(from.X, from.Y), QPoint(x, y), pen_.Style(), phase));
    } else {
      QPen qp(c, pen_.Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
      p->setPen(qp);
      p->drawLine(QPoint(from.X, from.Y), QPoint(x, y));
    }
  }
  Changed();
}

void TCanvas::TextOut(Integer x, Integer y, const AnsiString& text) {
  RequiredState();
  Changing();
  const QtFontCache::Entry& cached = QtFontCache::For(font_);
  const QFont& qf = cached.font;
  const QFontMetrics& m = *cached.metrics;
  QString s = QString::fromStdString(text);
  int width = m.horizontalAdvance(s);
  {
    SurfacePainter p(*surface_);
    p->translate(x, y);
    if (font_.Orientation() != 0) p->rotate(-font_.Orientation() / 10.0);
    if (brush_.Style() != bsClear) p->fillRect(QRect(0, 0, width, m.height()), ToQColor(brush_.Color()));
    p->setFont(qf);
    p->setPen(ToQColor(font_.Color()));
    p->drawText(QPoint(0, m.ascent()), s);
  }
  penPos_ = {x + width, y};
  Changed();
}

void TCanvas::TextRect(const TRect& r, Integer x, Integer y, const AnsiString& text) {
  RequiredState();
  Changing();
  const QtFontCache::Entry& cached = QtFontCache::For(font_);
  const QFont& qf = cached.font;
  const QFontMetrics& m = *cached.metrics;
  {
    SurfacePainter p(*surface_);
    QRect qr(r.Left, r.Top, r.Width(), r.Height());
    p->setClipRect(qr, Qt::IntersectClip);
    if (brush_.Style() != bsClear) p->fillRect(qr, ToQColor(brush_.Color()));
    p->setFont(qf);
    p->setPen(ToQColor(font_.Color()));
    p->drawText(QPoint(x, y + m.ascent()), QString::fromStdString(text));
  }
  Changed();
}

TSize TCanvas::TextExtent(const AnsiString& text) {
  const QFontMetrics& m = *QtFontCache::For(font_).metrics;
  return {m.horizontalAdvance(QString::fromStdString(text)), m.height()};
}

TTextMetrics TCanvas::GetTextMetrics() {
  const QtFontCache::Entry& cached = QtFontCache::For(font_);
  const QFont& qf = cached.font;
  const QFontMetrics& m = *cached.metrics;
  TTextMetrics tm;
  tm.Ascent = m.ascent();
  tm.Descent = m.descent();
  tm.Height = m.height();
  tm.InternalLeading = std::max(0, m.height() - qf.pixelSize());
  tm.ExternalLeading = std::max(0, m.leading());
  tm.AveCharWidth = m.averageCharWidth();
  tm.MaxCharWidth = m.maxWidth();
  tm.VariablePitch = !QFontInfo(qf).fixedPitch();
  return tm;
}

TColor TCanvas::Pixels(Integer x, Integer y) {
  RequiredState();
  QPoint d = QPoint(x, y) + surface_->origin;
  if (!surface_->Visible(d)) return CLR_INVALID;
  return FromQColor(QColor(surface_->image->pixel(d)));
}

void TCanvas::SetPixels(Integer x, Integer y, TColor color) {
  RequiredState();
  QPoint d = QPoint(x, y) + surface_->origin;
  if (!surface_->Visible(d)) return;
  Changing();
  surface_->image->setPixel(d, ToQColor(color).rgb());
  Changed();
}


// --- UTF-16 text, one character at a time ---

std::vector<TTextCharacter> SplitTextCharacters(const WideString& text) {
  std::vector<TTextCharacter> chars;
  chars.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    const size_t len = pair ? 2 : 1;
    chars.push_back({i, len});
    i += len;
  }
  return chars;
}

namespace {

// The font last measured on this thread with the advances of its
// characters: layout measures one character at a time, and building a
// Qt font and its metrics for every call would cost more than the text.
class AdvanceCache {
 public:
  static AdvanceCache& For(const TFont& f) {
    thread_local AdvanceCache cache;
    if (!cache.Matches(f)) cache.Load(f);
    return cache;
  }
  const QFont& Font() const { return font_; }
  const QFontMetrics& Metrics() const { return *metrics_; }
  int Advance(const char16_t* units, size_t length) {
    const uint32_t key = length == 2 ? 0x10000u + ((units[0] - 0xD800u) << 10) + (units[1] - 0xDC00u) : units[0];
    auto it = advances_.find(key);
    if (it != advances_.end()) return it->second;
    const int a = metrics_->horizontalAdvance(QString(reinterpret_cast<const QChar*>(units), int(length)));
    advances_.emplace(key, a);
    return a;
  }

 private:
  bool Matches(const TFont& f) const {
    return metrics_ && f.Name() == name_ && f.Height() == height_ && f.Style() == style_ && f.Pitch() == pitch_;
  }
  void Load(const TFont& f) {
    name_ = f.Name();
    height_ = f.Height();
    style_ = f.Style();
    pitch_ = f.Pitch();
    font_ = ToQFont(f);
    metrics_ = std::make_unique<QFontMetrics>(font_);
    advances_.clear();
  }

  AnsiString name_;
  Integer height_ = 0;
  TFontStyles style_;
  TFontPitch pitch_ = fpDefault;
  QFont font_;
  std::unique_ptr<QFontMetrics> metrics_;
  std::unordered_map<uint32_t, int> advances_;
};

}  // namespace

TSize TCanvas::TextExtentW(const WideString& text) {
  AdvanceCache& cache = AdvanceCache::For(font_);
  Integer width = 0;
  for (const TTextCharacter& c : SplitTextCharacters(text))
    width += cache.Advance(text.data() + c.Index, c.Length) + characterExtra_;
  return {width, cache.Metrics().height()};
}

void TCanvas::TextOutW(Integer x, Integer y, const WideString& text) {
  RequiredState();
  Changing();
  AdvanceCache& cache = AdvanceCache::For(font_);
  const std::vector<TTextCharacter> chars = SplitTextCharacters(text);
  std::vector<int> lefts;
  lefts.reserve(chars.size());
  int width = 0;
  for (const TTextCharacter& c : chars) {
    lefts.push_back(width);
    width += cache.Advance(text.data() + c.Index, c.Length) + characterExtra_;
  }
  {
    SurfacePainter p(*surface_);
    p->translate(x, y);
    if (font_.Orientation() != 0) p->rotate(-font_.Orientation() / 10.0);
    if (brush_.Style() != bsClear) p->fillRect(QRect(0, 0, width, cache.Metrics().height()), ToQColor(brush_.Color()));
    p->setFont(cache.Font());
    p->setPen(ToQColor(font_.Color()));
    const int baseline = cache.Metrics().ascent();
    for (size_t i = 0; i < chars.size(); ++i) {
      const char16_t* units = text.data() + chars[i].Index;
      if (chars[i].Length == 1 && (units[0] == u' ' || units[0] == u'\t')) continue;
      p->drawText(QPoint(lefts[i], baseline), QString(reinterpret_cast<const QChar*>(units), int(chars[i].Length)));
    }
  }
  penPos_ = {x + width, y};
  Changed();
}

Integer TCanvas::SetTextCharacterExtra(Integer extra) {
  const Integer old = characterExtra_;
  characterExtra_ = extra;
  return old;
}

}  // namespace vcl
