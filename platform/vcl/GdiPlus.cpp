// The GDI+ flat interface: start-up, graphics, pens, brushes, paths,
// regions, fonts and string formats. Text layout is in GdiPlusText.cpp,
// images in GdiPlusImages.cpp, the drawing itself in GdiPlusDraw.cpp.
#include <QFontDatabase>
#include <QStringList>
#include <atomic>
#include <cmath>
#include <cstdlib>

#include "rtl/CodePages.h"
#include "vcl/Forms.h"
#include "vcl/GdiPlusObjects.h"

namespace vcl {

namespace {

std::atomic<int> startups{0};
std::atomic<uintptr_t> nextToken{0x6D1F0000};
std::atomic<int> hooks{0};

GpStatus Hook(uintptr_t* token) {
  if (!token) return InvalidParameter;
  ++hooks;
  return Ok;
}
void Unhook(uintptr_t) {
  if (hooks > 0) --hooks;
}

bool Running() { return startups.load() > 0; }

template <typename T>
GpStatus Create(T** out, T* object) {
  *out = object;
  return Ok;
}

constexpr double kPi = 3.14159265358979323846;

bool Same(GpPointF a, GpPointF b) { return a.X == b.X && a.Y == b.Y; }

void Push(GpPath& p, GpPointF pt, Byte type) {
  p.points.push_back(pt);
  p.types.push_back(type);
}

// The first point of a segment: a new figure starts there, a figure that
// is open runs on to it with a line (unless it is already there).
void BeginSegment(GpPath& p, GpPointF pt) {
  if (!p.figureOpen) {
    Push(p, pt, PathPointTypeStart);
    p.figureOpen = true;
  } else if (!Same(p.points.back(), pt)) {
    Push(p, pt, PathPointTypeLine);
  }
}

void CloseFigure(GpPath& p) {
  if (!p.points.empty() && p.figureOpen) p.types.back() |= PathPointTypeCloseSubpath;
  p.figureOpen = false;
}

// The ellipse's parameter for a point at a geometric angle (radians) from
// its centre, kept continuous with the angle itself.
double ParameterOf(double angle, double rx, double ry) {
  double onEllipse = std::atan2(rx * std::sin(angle), ry * std::cos(angle));
  double onCircle = std::atan2(std::sin(angle), std::cos(angle));
  double d = onEllipse - onCircle;
  while (d > kPi) d -= 2 * kPi;
  while (d < -kPi) d += 2 * kPi;
  return angle + d;
}

// Bezier quarters (at most) of the ellipse in (x, y, w, h) from parameter
// t0 to t1; y grows downwards, so a growing parameter turns clockwise.
void AppendEllipseArc(GpPath& p, double x, double y, double w, double h, double t0, double t1) {
  double rx = w / 2, ry = h / 2, cx = x + rx, cy = y + ry;
  auto at = [&](double t) { return GpPointF{REAL(cx + rx * std::cos(t)), REAL(cy + ry * std::sin(t))}; };
  int n = std::max(1, static_cast<int>(std::ceil(std::fabs(t1 - t0) / (kPi / 2) - 1e-9)));
  double dt = (t1 - t0) / n;
  BeginSegment(p, at(t0));
  for (int i = 0; i < n; ++i) {
    double a = t0 + i * dt, b = a + dt;
    double k = 4.0 / 3.0 * std::tan((b - a) / 4);
    Push(p, {REAL(cx + rx * (std::cos(a) - k * std::sin(a))), REAL(cy + ry * (std::sin(a) + k * std::cos(a)))},
         PathPointTypeBezier);
    Push(p, {REAL(cx + rx * (std::cos(b) + k * std::sin(b))), REAL(cy + ry * (std::sin(b) - k * std::cos(b)))},
         PathPointTypeBezier);
    Push(p, at(b), PathPointTypeBezier);
  }
}

QPainterPath HugeRect() {
  QPainterPath p;
  p.addRect(-4194304.0, -4194304.0, 8388608.0, 8388608.0);
  return p;
}

}  // namespace

// --- Objects ---

QPainterPath GpPath::ToQt() const {
  QPainterPath q;
  q.setFillRule(fillMode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
  for (size_t i = 0; i < points.size(); ++i) {
    Byte kind = types[i] & PathPointTypePathTypeMask;
    QPointF pt(points[i].X, points[i].Y);
    size_t last = i;
    if (kind == PathPointTypeStart) {
      q.moveTo(pt);
    } else if (kind == PathPointTypeBezier && i + 2 < points.size()) {
      q.cubicTo(pt, QPointF(points[i + 1].X, points[i + 1].Y), QPointF(points[i + 2].X, points[i + 2].Y));
      last = i + 2;
    } else {
      q.lineTo(pt);
    }
    if (types[last] & PathPointTypeCloseSubpath) q.closeSubpath();
    i = last;
  }
  return q;
}

QPainterPath GpRegion::Path() const { return infinite ? HugeRect() : path; }

void GpRegion::Combine(const QPainterPath& other, CombineMode mode) {
  switch (mode) {
    case CombineModeReplace: path = other; break;
    case CombineModeIntersect: path = infinite ? other : path.intersected(other); break;
    case CombineModeUnion:
      if (infinite) return;
      path = path.united(other);
      break;
    case CombineModeXor: {
      QPainterPath a = Path();
      path = a.united(other).subtracted(a.intersected(other));
      break;
    }
    case CombineModeExclude: path = Path().subtracted(other); break;
    case CombineModeComplement: path = other.subtracted(Path()); break;
  }
  infinite = false;
}

double GpFont::PixelSize() const {
  switch (unit) {
    case UnitPoint: return emSize * 96.0 / 72.0;
    case UnitInch: return emSize * 96.0;
    case UnitDocument: return emSize * 96.0 / 300.0;
    case UnitMillimeter: return emSize * 96.0 / 25.4;
    default: return emSize;
  }
}

QFont GpFont::ToQt(int dpi, bool antialias) const {
  QFont f(family);
  f.setPointSizeF(std::max(0.5, PixelSize() * 72.0 / std::max(1, dpi)));
  f.setBold(style & FontStyleBold);
  f.setItalic(style & FontStyleItalic);
  f.setUnderline(style & FontStyleUnderline);
  f.setStrikeOut(style & FontStyleStrikeout);
  f.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
  return f;
}

bool GpGraphics::AntiAliased() const {
  return smoothing == SmoothingModeHighQuality || smoothing == SmoothingModeAntiAlias ||
         smoothing == SmoothingModeAntiAlias8x8 || smoothing == 6;
}

bool GpGraphics::TextAntiAliased() const {
  return textHint != TextRenderingHintSingleBitPerPixelGridFit && textHint != TextRenderingHintSingleBitPerPixel;
}

QColor ArgbToQColor(ARGB c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, c >> 24); }

ARGB ArgbOfPremultiplied(QRgb px) {
  QRgb s = qUnpremultiply(px);
  return (static_cast<ARGB>(qAlpha(s)) << 24) | (static_cast<ARGB>(qRed(s)) << 16) |
         (static_cast<ARGB>(qGreen(s)) << 8) | static_cast<ARGB>(qBlue(s));
}

// --- Start and stop ---

GpStatus GdiplusStartup(uintptr_t* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  if (input->SuppressBackgroundThread) {
    if (!output) return InvalidParameter;
    output->NotificationHook = &Hook;
    output->NotificationUnhook = &Unhook;
  }
  *token = nextToken++;
  ++startups;
  return Ok;
}

void GdiplusShutdown(uintptr_t) {
  if (startups > 0) --startups;
}

bool GdiplusRunning() { return Running(); }

void* GdipAlloc(size_t size) { return Running() ? std::malloc(size) : nullptr; }
void GdipFree(void* ptr) { std::free(ptr); }

// --- Graphics ---

GpStatus GdipCreateFromHDC(TCanvas* dc, GpGraphics** graphics) {
  if (!graphics) return InvalidParameter;
  *graphics = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  if (!dc) return OutOfMemory;  // what the desktop answers for a null device context
  auto* g = new GpGraphics;
  g->canvas = dc;
  return Create(graphics, g);
}

GpStatus GdipDeleteGraphics(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  delete graphics;
  return Ok;
}

GpStatus GdipSetSmoothingMode(GpGraphics* g, SmoothingMode mode) {
  if (!g || mode < SmoothingModeDefault || mode > 6) return InvalidParameter;
  g->smoothing = mode;
  return Ok;
}

GpStatus GdipGetSmoothingMode(GpGraphics* g, SmoothingMode* mode) {
  if (!g || !mode) return InvalidParameter;
  *mode = g->smoothing;
  return Ok;
}

GpStatus GdipSetTextRenderingHint(GpGraphics* g, TextRenderingHint hint) {
  if (!g || hint < TextRenderingHintSystemDefault || hint > TextRenderingHintClearTypeGridFit)
    return InvalidParameter;
  g->textHint = hint;
  return Ok;
}

GpStatus GdipGetTextRenderingHint(GpGraphics* g, TextRenderingHint* hint) {
  if (!g || !hint) return InvalidParameter;
  *hint = g->textHint;
  return Ok;
}

GpStatus GdipSetClipRegion(GpGraphics* g, GpRegion* region, CombineMode mode) {
  if (!g || !region || mode < CombineModeReplace || mode > CombineModeComplement) return InvalidParameter;
  if (mode == CombineModeReplace) {
    g->clip = *region;
    return Ok;
  }
  if (region->infinite && mode == CombineModeIntersect) return Ok;
  g->clip.Combine(region->Path(), mode);
  return Ok;
}

GpStatus GdipResetClip(GpGraphics* g) {
  if (!g) return InvalidParameter;
  g->clip = GpRegion{};
  return Ok;
}

GpStatus GdipDrawPath(GpGraphics* g, GpPen* pen, GpPath* path) {
  if (!g || !pen || !path) return InvalidParameter;
  g->canvas->GdipDrawPath(g, path, pen);
  return Ok;
}

GpStatus GdipFillPath(GpGraphics* g, GpBrush* brush, GpPath* path) {
  if (!g || !brush || !path) return InvalidParameter;
  g->canvas->GdipFillPath(g, path, brush);
  return Ok;
}

GpStatus GdipDrawLine(GpGraphics* g, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
  if (!g || !pen) return InvalidParameter;
  GpPath p;
  GdipAddPathLine(&p, x1, y1, x2, y2);
  g->canvas->GdipDrawPath(g, &p, pen);
  return Ok;
}

namespace {

GpPath RectanglePath(REAL x, REAL y, REAL w, REAL h) {
  GpPath p;
  Push(p, {x, y}, PathPointTypeStart);
  Push(p, {x + w, y}, PathPointTypeLine);
  Push(p, {x + w, y + h}, PathPointTypeLine);
  Push(p, {x, y + h}, PathPointTypeLine | PathPointTypeCloseSubpath);
  return p;
}

GpPath EllipsePath(REAL x, REAL y, REAL w, REAL h) {
  GpPath p;
  GdipAddPathEllipse(&p, x, y, w, h);
  return p;
}

}  // namespace

GpStatus GdipDrawRectangle(GpGraphics* g, GpPen* pen, REAL x, REAL y, REAL w, REAL h) {
  if (!g || !pen) return InvalidParameter;
  GpPath p = RectanglePath(x, y, w, h);
  g->canvas->GdipDrawPath(g, &p, pen);
  return Ok;
}

GpStatus GdipFillRectangle(GpGraphics* g, GpBrush* brush, REAL x, REAL y, REAL w, REAL h) {
  if (!g || !brush) return InvalidParameter;
  GpPath p = RectanglePath(x, y, w, h);
  g->canvas->GdipFillPath(g, &p, brush);
  return Ok;
}

GpStatus GdipDrawEllipse(GpGraphics* g, GpPen* pen, REAL x, REAL y, REAL w, REAL h) {
  if (!g || !pen) return InvalidParameter;
  GpPath p = EllipsePath(x, y, w, h);
  g->canvas->GdipDrawPath(g, &p, pen);
  return Ok;
}

GpStatus GdipFillEllipse(GpGraphics* g, GpBrush* brush, REAL x, REAL y, REAL w, REAL h) {
  if (!g || !brush) return InvalidParameter;
  GpPath p = EllipsePath(x, y, w, h);
  g->canvas->GdipFillPath(g, &p, brush);
  return Ok;
}

// --- Pens and brushes ---

GpStatus GdipCreatePen1(ARGB color, REAL width, Unit unit, GpPen** pen) {
  if (!pen) return InvalidParameter;
  *pen = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  if (width < 0 || unit < UnitWorld || unit > UnitMillimeter || unit == UnitDisplay) return InvalidParameter;
  return Create(pen, new GpPen{color, width, unit, DashStyleSolid});
}

GpStatus GdipDeletePen(GpPen* pen) {
  if (!pen) return InvalidParameter;
  delete pen;
  return Ok;
}

GpStatus GdipSetPenDashStyle(GpPen* pen, DashStyle style) {
  if (!pen || style < DashStyleSolid || style > DashStyleCustom) return InvalidParameter;
  pen->dash = style;
  return Ok;
}

GpStatus GdipGetPenDashStyle(GpPen* pen, DashStyle* style) {
  if (!pen || !style) return InvalidParameter;
  *style = pen->dash;
  return Ok;
}

GpStatus GdipGetPenColor(GpPen* pen, ARGB* color) {
  if (!pen || !color) return InvalidParameter;
  *color = pen->color;
  return Ok;
}

GpStatus GdipGetPenWidth(GpPen* pen, REAL* width) {
  if (!pen || !width) return InvalidParameter;
  *width = pen->width;
  return Ok;
}

GpStatus GdipDeleteBrush(GpBrush* brush) {
  if (!brush) return InvalidParameter;
  delete brush;
  return Ok;
}

GpStatus GdipGetBrushType(GpBrush* brush, BrushType* type) {
  if (!brush || !type) return InvalidParameter;
  *type = brush->type;
  return Ok;
}

GpStatus GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  auto* b = new GpBrush;
  b->type = BrushTypeSolidColor;
  b->color = color;
  return Create(brush, b);
}

GpStatus GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color) {
  if (!brush || !color || brush->type != BrushTypeSolidColor) return InvalidParameter;
  *color = brush->color;
  return Ok;
}

GpStatus GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                     WrapMode wrap, GpLineGradient** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  if (!rect || rect->Width == 0 || rect->Height == 0 || mode < LinearGradientModeHorizontal ||
      mode > LinearGradientModeBackwardDiagonal || wrap < WrapModeTile || wrap > WrapModeClamp)
    return InvalidParameter;
  auto* b = new GpBrush;
  b->type = BrushTypeLinearGradient;
  b->rect = *rect;
  b->colors[0] = color1;
  b->colors[1] = color2;
  b->mode = mode;
  b->wrap = wrap;
  return Create(brush, b);
}

GpStatus GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  if (!path || path->points.size() < 2) return OutOfMemory;  // the desktop's answer for a path too small
  auto* b = new GpBrush;
  b->type = BrushTypePathGradient;
  b->boundary = *path;
  b->wrap = WrapModeClamp;
  // The centre starts in the middle of the boundary's bounds.
  QRectF bounds = path->ToQt().boundingRect();
  b->center = {REAL(bounds.center().x()), REAL(bounds.center().y())};
  return Create(brush, b);
}

GpStatus GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color) {
  if (!brush || brush->type != BrushTypePathGradient) return InvalidParameter;
  brush->centerColor = color;
  return Ok;
}

GpStatus GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color) {
  if (!brush || !color || brush->type != BrushTypePathGradient) return InvalidParameter;
  *color = brush->centerColor;
  return Ok;
}

GpStatus GdipGetPathGradientPointCount(GpPathGradient* brush, int32_t* count) {
  if (!brush || !count || brush->type != BrushTypePathGradient) return InvalidParameter;
  *count = static_cast<int32_t>(brush->boundary.points.size());
  return Ok;
}

GpStatus GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, int32_t* count) {
  if (!brush || !colors || !count || brush->type != BrushTypePathGradient) return InvalidParameter;
  int32_t n = *count;
  if (n < 1 || n > static_cast<int32_t>(brush->boundary.points.size())) return InvalidParameter;
  brush->surround.assign(colors, colors + n);
  return Ok;
}

GpStatus GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point) {
  if (!brush || !point || brush->type != BrushTypePathGradient) return InvalidParameter;
  brush->center = {REAL(point->X), REAL(point->Y)};
  return Ok;
}

GpStatus GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point) {
  if (!brush || !point || brush->type != BrushTypePathGradient) return InvalidParameter;
  *point = brush->center;
  return Ok;
}

// --- Paths ---

GpStatus GdipCreatePath(FillMode fillMode, GpPath** path) {
  if (!path) return InvalidParameter;
  *path = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  if (fillMode != FillModeAlternate && fillMode != FillModeWinding) return InvalidParameter;
  auto* p = new GpPath;
  p->fillMode = fillMode;
  return Create(path, p);
}

GpStatus GdipDeletePath(GpPath* path) {
  if (!path) return InvalidParameter;
  delete path;
  return Ok;
}

GpStatus GdipClosePathFigure(GpPath* path) {
  if (!path) return InvalidParameter;
  CloseFigure(*path);
  return Ok;
}

GpStatus GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2) {
  if (!path) return InvalidParameter;
  BeginSegment(*path, {x1, y1});
  Push(*path, {x2, y2}, PathPointTypeLine);
  return Ok;
}

GpStatus GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  if (!path || width <= 0 || height <= 0) return InvalidParameter;
  double sweep = std::clamp(static_cast<double>(sweepAngle), -360.0, 360.0);
  double start = startAngle * kPi / 180, end = (startAngle + sweep) * kPi / 180;
  double rx = width / 2.0, ry = height / 2.0;
  AppendEllipseArc(*path, x, y, width, height, ParameterOf(start, rx, ry), ParameterOf(end, rx, ry));
  return Ok;
}

GpStatus GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  if (!path) return InvalidParameter;
  path->figureOpen = false;
  AppendEllipseArc(*path, x, y, width, height, 0, 2 * kPi);
  CloseFigure(*path);
  return Ok;
}

GpStatus GdipAddPathPolygon(GpPath* path, const GpPointF* points, int32_t count) {
  if (!path || !points || count < 3) return InvalidParameter;
  path->figureOpen = false;
  Push(*path, points[0], PathPointTypeStart);
  for (int32_t i = 1; i < count; ++i) Push(*path, points[i], PathPointTypeLine);
  path->figureOpen = true;
  CloseFigure(*path);
  return Ok;
}

GpStatus GdipAddPathPolygonI(GpPath* path, const GpPoint* points, int32_t count) {
  if (!path || !points || count < 3) return InvalidParameter;
  std::vector<GpPointF> f(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) f[i] = {REAL(points[i].X), REAL(points[i].Y)};
  return GdipAddPathPolygon(path, f.data(), count);
}

GpStatus GdipAddPathCurve2I(GpPath* path, const GpPoint* points, int32_t count, REAL tension) {
  if (!path || !points || count < 2 || tension < 0) return InvalidParameter;
  auto pt = [&](int32_t i) {
    i = std::clamp(i, 0, count - 1);
    return GpPointF{REAL(points[i].X), REAL(points[i].Y)};
  };
  // A cardinal spline through the points, as Bezier segments.
  double t = tension / 3.0;
  BeginSegment(*path, pt(0));
  for (int32_t i = 0; i + 1 < count; ++i) {
    GpPointF p0 = pt(i - 1), p1 = pt(i), p2 = pt(i + 1), p3 = pt(i + 2);
    Push(*path, {REAL(p1.X + t * (p2.X - p0.X)), REAL(p1.Y + t * (p2.Y - p0.Y))}, PathPointTypeBezier);
    Push(*path, {REAL(p2.X - t * (p3.X - p1.X)), REAL(p2.Y - t * (p3.Y - p1.Y))}, PathPointTypeBezier);
    Push(*path, p2, PathPointTypeBezier);
  }
  return Ok;
}

GpStatus GdipGetPointCount(GpPath* path, int32_t* count) {
  if (!path || !count) return InvalidParameter;
  *count = static_cast<int32_t>(path->points.size());
  return Ok;
}

GpStatus GdipGetPathPoints(GpPath* path, GpPointF* points, int32_t count) {
  if (!path || !points || count != static_cast<int32_t>(path->points.size())) return InvalidParameter;
  std::copy(path->points.begin(), path->points.end(), points);
  return Ok;
}

GpStatus GdipGetPathTypes(GpPath* path, Byte* types, int32_t count) {
  if (!path || !types || count != static_cast<int32_t>(path->types.size())) return InvalidParameter;
  std::copy(path->types.begin(), path->types.end(), types);
  return Ok;
}

GpStatus GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const void*, const GpPen* pen) {
  if (!path || !bounds) return InvalidParameter;
  QRectF r = path->ToQt().boundingRect();
  if (pen) r.adjust(-pen->width / 2, -pen->width / 2, pen->width / 2, pen->width / 2);
  *bounds = {REAL(r.x()), REAL(r.y()), REAL(r.width()), REAL(r.height())};
  return Ok;
}

// --- Regions ---

GpStatus GdipCreateRegionRect(const GpRectF* rect, GpRegion** region) {
  if (!region) return InvalidParameter;
  *region = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  if (!rect) return InvalidParameter;
  auto* r = new GpRegion;
  r->infinite = false;
  r->path.addRect(QRectF(rect->X, rect->Y, rect->Width, rect->Height));
  return Create(region, r);
}

GpStatus GdipCreateRegionPath(GpPath* path, GpRegion** region) {
  if (!region) return InvalidParameter;
  *region = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  if (!path) return InvalidParameter;
  auto* r = new GpRegion;
  r->infinite = false;
  r->path = path->ToQt();
  return Create(region, r);
}

GpStatus GdipDeleteRegion(GpRegion* region) {
  if (!region) return InvalidParameter;
  delete region;
  return Ok;
}

GpStatus GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode) {
  if (!region || !path || mode < CombineModeReplace || mode > CombineModeComplement) return InvalidParameter;
  region->Combine(path->ToQt(), mode);
  return Ok;
}

GpStatus GdipCombineRegionRegion(GpRegion* region, GpRegion* other, CombineMode mode) {
  if (!region || !other || mode < CombineModeReplace || mode > CombineModeComplement) return InvalidParameter;
  if (mode == CombineModeReplace) {
    *region = *other;
    return Ok;
  }
  if (mode == CombineModeUnion && other->infinite) {
    *region = GpRegion{};
    return Ok;
  }
  region->Combine(other->Path(), mode);
  return Ok;
}

GpStatus GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics*, int32_t* result) {
  if (!region || !result) return InvalidParameter;
  *result = region->infinite || region->path.contains(QPointF(x, y)) ? 1 : 0;
  return Ok;
}

// --- Fonts and string formats ---

GpStatus GdipCreateFontFamilyFromName(const char16_t* name, GpFontCollection*, GpFontFamily** family) {
  if (!family) return InvalidParameter;
  *family = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  if (!name) return InvalidParameter;
  InitApplication();
  AnsiString asked = rtl::ToAnsi(name);
  AnsiString substitute = SubstituteFontName(asked);
  QString wanted = QString::fromStdString(substitute);
  for (const QString& installed : QFontDatabase::families())
    if (installed.compare(wanted, Qt::CaseInsensitive) == 0) return Create(family, new GpFontFamily{installed});
  // A family of the substitution table draws with its stand-in even where
  // that is missing (Qt then falls back).
  if (substitute != asked) return Create(family, new GpFontFamily{wanted});
  return FontFamilyNotFound;
}

GpStatus GdipDeleteFontFamily(GpFontFamily* family) {
  if (!family) return InvalidParameter;
  delete family;
  return Ok;
}

GpStatus GdipCreateFont(const GpFontFamily* family, REAL emSize, int32_t style, Unit unit, GpFont** font) {
  if (!font) return InvalidParameter;
  *font = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  if (!family || emSize <= 0 || unit == UnitDisplay || unit < UnitWorld || unit > UnitMillimeter)
    return InvalidParameter;
  if (style & ~(FontStyleBold | FontStyleItalic | FontStyleUnderline | FontStyleStrikeout)) return FontStyleNotFound;
  return Create(font, new GpFont{family->family, emSize, style, unit});
}

GpStatus GdipDeleteFont(GpFont* font) {
  if (!font) return InvalidParameter;
  delete font;
  return Ok;
}

GpStatus GdipGetFontSize(GpFont* font, REAL* size) {
  if (!font || !size) return InvalidParameter;
  *size = font->emSize;
  return Ok;
}

GpStatus GdipCreateStringFormat(int32_t flags, uint16_t language, GpStringFormat** format) {
  if (!format) return InvalidParameter;
  *format = nullptr;
  if (!Running()) return GdiplusNotInitialized;
  auto* f = new GpStringFormat;
  f->flags = flags;
  f->language = language;
  return Create(format, f);
}

GpStatus GdipDeleteStringFormat(GpStringFormat* format) {
  if (!format) return InvalidParameter;
  delete format;
  return Ok;
}

GpStatus GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align) {
  if (!format || align < StringAlignmentNear || align > StringAlignmentFar) return InvalidParameter;
  format->align = align;
  return Ok;
}

GpStatus GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align) {
  if (!format || align < StringAlignmentNear || align > StringAlignmentFar) return InvalidParameter;
  format->lineAlign = align;
  return Ok;
}

GpStatus GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming) {
  if (!format || trimming < StringTrimmingNone || trimming > StringTrimmingEllipsisPath) return InvalidParameter;
  format->trimming = trimming;
  return Ok;
}

GpStatus GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, int32_t prefix) {
  if (!format || prefix < HotkeyPrefixNone || prefix > HotkeyPrefixHide) return InvalidParameter;
  format->hotkeyPrefix = prefix;
  return Ok;
}

}  // namespace vcl
