#include "vcl/Regions.h"

#include <QPolygon>
#include <QRegion>

namespace vcl {

namespace {

QRegion ToQRegion(const TRegion& r) {
  QRegion q;
  for (const TRect& b : r.Rects()) q += QRect(b.Left, b.Top, b.Width(), b.Height());
  return q;
}

}  // namespace

// Regions combine through Qt's, whose bands are always in normal form.
struct RegionAccess {
  static TRegion FromQRegion(const QRegion& q) {
    TRegion result;
    for (const QRect& b : q) result.rects_.push_back(Bounds(b.x(), b.y(), b.width(), b.height()));
    return result;
  }
};

namespace {
TRegion FromQRegion(const QRegion& q) { return RegionAccess::FromQRegion(q); }
}  // namespace

TRegion::TRegion(const TRect& r) {
  if (!r.IsEmpty()) rects_.push_back(r);
}

bool TRegion::Contains(TPoint p) const {
  for (const TRect& b : rects_)
    if (b.Contains(p)) return true;
  return false;
}

TRect TRegion::Bounds() const {
  if (rects_.empty()) return {};
  TRect r = rects_.front();
  for (const TRect& b : rects_) {
    r.Left = std::min(r.Left, b.Left);
    r.Top = std::min(r.Top, b.Top);
    r.Right = std::max(r.Right, b.Right);
    r.Bottom = std::max(r.Bottom, b.Bottom);
  }
  return r;
}

void TRegion::Offset(Integer dx, Integer dy) {
  for (TRect& b : rects_) OffsetRect(b, dx, dy);
}

TRegion TRegion::Union(const TRegion& other) const { return FromQRegion(ToQRegion(*this) | ToQRegion(other)); }
TRegion TRegion::Intersect(const TRegion& other) const { return FromQRegion(ToQRegion(*this) & ToQRegion(other)); }
TRegion TRegion::Subtract(const TRegion& other) const { return FromQRegion(ToQRegion(*this) - ToQRegion(other)); }
TRegion TRegion::Xor(const TRegion& other) const { return FromQRegion(ToQRegion(*this) ^ ToQRegion(other)); }

bool TRegion::operator==(const TRegion& other) const { return ToQRegion(*this) == ToQRegion(other); }


TRegion PolygonRegion(const std::vector<TPoint>& points, bool winding) {
  QPolygon polygon;
  for (const TPoint& p : points) polygon << QPoint(p.X, p.Y);
  return FromQRegion(QRegion(polygon, winding ? Qt::WindingFill : Qt::OddEvenFill));
}

}  // namespace vcl
