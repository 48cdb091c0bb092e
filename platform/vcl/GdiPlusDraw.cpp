// How GDI+ paths, brushes, pens and images reach the pixels: the canvas's
// default entries, on the surface painter with the half-pixel offset.
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <cmath>

#include "vcl/GdiPlusObjects.h"
#include "vcl/QtCanvas.h"

namespace vcl {

namespace {

struct FanVertex {
  QPointF at;
  ARGB color;
};

ARGB Lerp(ARGB a, ARGB b, double t) {
  auto ch = [&](int shift) {
    double x = ((a >> shift) & 0xFF) + (static_cast<double>((b >> shift) & 0xFF) - ((a >> shift) & 0xFF)) * t;
    return static_cast<ARGB>(std::lround(std::clamp(x, 0.0, 255.0))) << shift;
  };
  return ch(24) | ch(16) | ch(8) | ch(0);
}

// The boundary of a path gradient as polygons, each vertex with the
// surround colour of its place (a colour per path point, the last one
// repeated; between points along the segment).
std::vector<std::vector<FanVertex>> FanBoundary(const GpBrush& b) {
  const GpPath& path = b.boundary;
  auto colorOf = [&](size_t i) { return b.surround[std::min(i, b.surround.size() - 1)]; };
  auto point = [&](size_t i) { return QPointF(path.points[i].X, path.points[i].Y); };
  std::vector<std::vector<FanVertex>> figures;
  for (size_t i = 0; i < path.points.size(); ++i) {
    Byte kind = path.types[i] & PathPointTypePathTypeMask;
    if (kind == PathPointTypeStart || figures.empty()) figures.emplace_back();
    auto& fig = figures.back();
    if (kind == PathPointTypeBezier && i + 2 < path.points.size() && i > 0) {
      QPointF p0 = point(i - 1), p1 = point(i), p2 = point(i + 1), p3 = point(i + 2);
      ARGB c0 = colorOf(i - 1), c3 = colorOf(i + 2);
      const int steps = 12;
      for (int s = 1; s <= steps; ++s) {
        double t = static_cast<double>(s) / steps, u = 1 - t;
        QPointF at = u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
        fig.push_back({at, Lerp(c0, c3, t)});
      }
      i += 2;
    } else {
      fig.push_back({point(i), colorOf(i)});
    }
  }
  return figures;
}

QRgb Premultiplied(ARGB c) { return qPremultiply(qRgba((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, c >> 24)); }

// The path gradient's colours at the pixel centres of its boundary's
// bounds: a triangle (centre, v[k], v[k+1]) per boundary edge, colours
// mixed by barycentric weights; outside the boundary (anti-aliased at its
// edge) the picture is transparent, so filling any path with it paints
// only inside the brush's boundary. Answers the picture and the
// coordinates of its first pixel.
QImage FanPicture(const GpBrush& b, QPoint& origin) {
  auto figures = FanBoundary(b);
  QRectF bounds = b.boundary.ToQt().boundingRect();
  int x0 = static_cast<int>(std::floor(bounds.left())) - 1, y0 = static_cast<int>(std::floor(bounds.top())) - 1;
  int x1 = static_cast<int>(std::ceil(bounds.right())) + 1, y1 = static_cast<int>(std::ceil(bounds.bottom())) + 1;
  origin = QPoint(x0, y0);
  QImage img(std::max(1, x1 - x0 + 1), std::max(1, y1 - y0 + 1), QImage::Format_ARGB32_Premultiplied);
  img.fill(Premultiplied(b.surround.front()));
  QPointF c(b.center.X, b.center.Y);
  auto channels = [](ARGB v, double out[4]) {
    for (int i = 0; i < 4; ++i) out[i] = (v >> (8 * i)) & 0xFF;
  };
  double cc[4];
  channels(b.centerColor, cc);
  for (const auto& fig : figures) {
    size_t n = fig.size();
    for (size_t k = 0; k < n; ++k) {
      const FanVertex& v1 = fig[k];
      const FanVertex& v2 = fig[(k + 1) % n];
      double area = (v1.at.x() - c.x()) * (v2.at.y() - c.y()) - (v2.at.x() - c.x()) * (v1.at.y() - c.y());
      if (std::fabs(area) < 1e-9) continue;
      // Barycentric weights as linear functions of the pixel: w = ax + by + k.
      double a1 = (v2.at.y() - c.y()) / area, b1 = -(v2.at.x() - c.x()) / area;
      double k1 = (-c.x() * (v2.at.y() - c.y()) + (v2.at.x() - c.x()) * c.y()) / area;
      double a2 = -(v1.at.y() - c.y()) / area, b2 = (v1.at.x() - c.x()) / area;
      double k2 = (c.x() * (v1.at.y() - c.y()) - (v1.at.x() - c.x()) * c.y()) / area;
      double c1[4], c2[4], d1[4], d2[4];
      channels(v1.color, c1);
      channels(v2.color, c2);
      for (int i = 0; i < 4; ++i) {
        d1[i] = c1[i] - cc[i];
        d2[i] = c2[i] - cc[i];
      }
      int ty0 = std::max(y0, static_cast<int>(std::floor(std::min({c.y(), v1.at.y(), v2.at.y()}))));
      int ty1 = std::min(y1, static_cast<int>(std::ceil(std::max({c.y(), v1.at.y(), v2.at.y()}))));
      int tx0 = std::max(x0, static_cast<int>(std::floor(std::min({c.x(), v1.at.x(), v2.at.x()}))));
      int tx1 = std::min(x1, static_cast<int>(std::ceil(std::max({c.x(), v1.at.x(), v2.at.x()}))));
      const double eps = 1e-7;
      for (int y = ty0; y <= ty1; ++y) {
        // The run of the row where all three weights are >= 0, each weight
        // being linear along the row.
        double lo = tx0, hi = tx1;
        auto limit = [&](double a, double k) {  // a * x + k >= -eps
          if (std::fabs(a) < 1e-12) {
            if (k < -eps) hi = lo - 1;
          } else if (a > 0) {
            lo = std::max(lo, (-eps - k) / a);
          } else {
            hi = std::min(hi, (-eps - k) / a);
          }
        };
        limit(a1, b1 * y + k1);
        limit(a2, b2 * y + k2);
        limit(-a1 - a2, 1 - (b1 + b2) * y - k1 - k2);
        int xs = static_cast<int>(std::ceil(lo - 1e-9)), xe = static_cast<int>(std::floor(hi + 1e-9));
        if (xs > xe) continue;
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y - y0));
        for (int x = xs; x <= xe; ++x) {
          double w1 = a1 * x + b1 * y + k1, w2 = a2 * x + b2 * y + k2;
          auto ch = [&](int i) {
            double v = cc[i] + w1 * d1[i] + w2 * d2[i];
            return static_cast<ARGB>(std::clamp(static_cast<int>(v + 0.5), 0, 255)) << (8 * i);
          };
          line[x - x0] = Premultiplied(ch(3) | ch(2) | ch(1) | ch(0));
        }
      }
    }
  }
  QPainter mask(&img);
  mask.setRenderHint(QPainter::Antialiasing, true);
  mask.setCompositionMode(QPainter::CompositionMode_DestinationIn);
  mask.translate(0.5 - x0, 0.5 - y0);  // picture pixel k is centred on GDI+ point origin + k
  QPainterPath boundary = b.boundary.ToQt();
  mask.fillPath(boundary, Qt::black);
  mask.end();
  return img;
}

// Vector drawing in GDI+ coordinates: pixel centres on integers, the
// graphics' smoothing and clip. Without smoothing a pixel is drawn when its
// centre lies inside, a centre on a left or top edge counting as inside
// (Qt counts it outside): those edges move a sixty-fourth of a pixel out.
// Answers the offset applied.
double PrepareVector(QPainter& p, const GpGraphics* g) {
  double offset = g->AntiAliased() ? 0.5 : 0.5 - 1.0 / 64;
  p.translate(offset, offset);
  p.setRenderHint(QPainter::Antialiasing, g->AntiAliased());
  if (!g->clip.infinite) p.setClipPath(g->clip.path, Qt::IntersectClip);
  return offset;
}

// On/off lengths of the dash styles, in pen widths.
QList<qreal> DashPattern(DashStyle style) {
  switch (style) {
    case DashStyleDash: return {3, 1};
    case DashStyleDot: return {1, 1};
    case DashStyleDashDot: return {3, 1, 1, 1};
    case DashStyleDashDotDot: return {3, 1, 1, 1, 1, 1};
    default: return {};
  }
}

}  // namespace

QBrush ToQtBrush(const GpBrush& b) {
  switch (b.type) {
    case BrushTypeLinearGradient: {
      // Laid out on the unit square, then scaled onto the rectangle: a
      // diagonal gradient runs corner to corner of the rectangle itself.
      static const QPointF kEnds[4][2] = {{{0, 0}, {1, 0}}, {{0, 0}, {0, 1}}, {{0, 0}, {1, 1}}, {{1, 0}, {0, 1}}};
      QLinearGradient g(kEnds[b.mode][0], kEnds[b.mode][1]);
      g.setColorAt(0, ArgbToQColor(b.colors[0]));
      g.setColorAt(1, ArgbToQColor(b.colors[1]));
      g.setSpread(b.wrap == WrapModeTile    ? QGradient::RepeatSpread
                  : b.wrap == WrapModeClamp ? QGradient::PadSpread
                                            : QGradient::ReflectSpread);
      QBrush brush(g);
      brush.setTransform(QTransform(b.rect.Width, 0, 0, b.rect.Height, b.rect.X, b.rect.Y));
      return brush;
    }
    case BrushTypePathGradient: {
      QPoint origin;
      QBrush brush(FanPicture(b, origin));
      // Picture pixel 0 is centred on the GDI+ point origin.
      brush.setTransform(QTransform::fromTranslate(origin.x() - 0.5, origin.y() - 0.5));
      return brush;
    }
    default:
      return QBrush(ArgbToQColor(b.color));
  }
}

void TCanvas::GdipFillPath(const GpGraphics* g, const GpPath* path, const GpBrush* brush) {
  RequiredState();
  Changing();
  {
    SurfacePainter p(*Surface());
    PrepareVector(*p, g);
    p->fillPath(path->ToQt(), ToQtBrush(*brush));
  }
  Changed();
}

void TCanvas::GdipDrawPath(const GpGraphics* g, const GpPath* path, const GpPen* pen) {
  RequiredState();
  Changing();
  {
    SurfacePainter p(*Surface());
    PrepareVector(*p, g);
    QPen q(QBrush(ArgbToQColor(pen->color)), std::max<double>(pen->width, 1.0), Qt::SolidLine, Qt::FlatCap,
           Qt::MiterJoin);
    QList<qreal> dashes = DashPattern(pen->dash);
    if (!dashes.isEmpty()) q.setDashPattern(dashes);
    p->strokePath(path->ToQt(), q);
  }
  Changed();
}

void TCanvas::GdipDrawImage(const GpGraphics* g, const GpImage* image, const GpRectF& dest, const GpRectF& source,
                            const GpImageAttributes* attributes) {
  if (image->pixels.isNull() || dest.Width == 0 || dest.Height == 0) return;
  RequiredState();
  Changing();
  {
    SurfacePainter p(*Surface());
    double offset = PrepareVector(*p, g);  // for the clip; images themselves sit on the pixel grid
    p->translate(-offset, -offset);
    QImage pixels = image->pixels;
    if (attributes && attributes->keyed) {
      // Pixels whose every channel lies within the key's range vanish.
      auto within = [&](int v, int shift) {
        return v >= static_cast<int>((attributes->low >> shift) & 0xFF) &&
               v <= static_cast<int>((attributes->high >> shift) & 0xFF);
      };
      for (int y = 0; y < pixels.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
          QRgb s = qUnpremultiply(line[x]);
          if (within(qRed(s), 16) && within(qGreen(s), 8) && within(qBlue(s), 0)) line[x] = 0;
        }
      }
    }
    QRectF to(dest.X, dest.Y, dest.Width, dest.Height);
    QRectF from(source.X, source.Y, source.Width, source.Height);
    p->setRenderHint(QPainter::SmoothPixmapTransform, to.size() != from.size());
    p->drawImage(to, pixels, from);
  }
  Changed();
}

}  // namespace vcl
