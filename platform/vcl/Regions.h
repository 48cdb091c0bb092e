#pragma once
// Clipping regions: sets of pixels made of rectangles, combined as the
// desktop's region calls combine them. A region is a value; canvases take
// copies of it.
#include <vector>

#include "vcl/Types.h"

namespace vcl {

class TRegion {
 public:
  TRegion() = default;
  explicit TRegion(const TRect& r);

  // The non-overlapping bands that make the region, top to bottom.
  const std::vector<TRect>& Rects() const { return rects_; }
  bool IsEmpty() const { return rects_.empty(); }
  bool Contains(TPoint p) const;
  // The smallest rectangle around the region; empty for an empty region.
  TRect Bounds() const;
  void Offset(Integer dx, Integer dy);

  TRegion Union(const TRegion& other) const;
  TRegion Intersect(const TRegion& other) const;
  TRegion Subtract(const TRegion& other) const;
  TRegion Xor(const TRegion& other) const;

  bool operator==(const TRegion& other) const;

 private:
  friend struct RegionAccess;
  std::vector<TRect> rects_;
};

// The pixels inside a closed polygon (the desktop's CreatePolygonRgn):
// winding fill when winding, else alternate (even-odd).
TRegion PolygonRegion(const std::vector<TPoint>& points, bool winding);

}  // namespace vcl
