#include "htmledit/doc/psGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "htmledit/doc/psContainers.h"
#include "rtl/Convert.h"

namespace htmldoc {

namespace {

// Half to even; a value that is not finite or beyond an Integer is never
// converted (0, or the nearest bound).
Integer RoundToInteger(double aValue) {
  if (!std::isfinite(aValue)) return 0;
  if (aValue >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (aValue <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<Integer>(rtl::Round(aValue));
}

}  // namespace

TpsPoint MakePoint(Integer aX, Integer aY) { return TpsPoint{aX, aY}; }

TpsRect InitRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) {
  return TpsRect{aLeft, aTop, aRight, aBottom};
}

Integer RectWidth(const TpsRect& aRect) { return aRect.Right - aRect.Left + 1; }
Integer RectHeight(const TpsRect& aRect) { return aRect.Bottom - aRect.Top + 1; }

bool RectsIntersectBounds(Integer aLeft1, Integer aTop1, Integer aRight1, Integer aBottom1, Integer aLeft2,
                          Integer aTop2, Integer aRight2, Integer aBottom2) {
  return !(aRight1 < aLeft2 || aLeft1 > aRight2 || aBottom1 < aTop2 || aTop1 > aBottom2);
}

bool RectsIntersect(const TpsRect& a, const TpsRect& b) {
  return RectsIntersectBounds(a.Left, a.Top, a.Right, a.Bottom, b.Left, b.Top, b.Right, b.Bottom);
}

bool RangesOverlap(Integer aA1, Integer aA2, Integer aB1, Integer aB2) { return aA1 <= aB2 && aB1 <= aA2; }

bool PointInRect(const TpsPoint& aPoint, const TpsRect& aRect) {
  return aPoint.X >= aRect.Left && aPoint.X <= aRect.Right && aPoint.Y >= aRect.Top && aPoint.Y <= aRect.Bottom;
}

TpsRect RectUnion(const TpsRect& a, const TpsRect& b) {
  return TpsRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom)};
}

Integer ScaleByRatio(Integer a, Integer b, Integer c) {
  if (b == 0) return 0;
  return RoundToInteger(static_cast<double>(a) / b * c);
}

Integer ScaleByInverseRatio(Integer a, Integer b, Integer c) {
  if (a == 0) return 0;
  return RoundToInteger(static_cast<double>(b) / a * c);
}

// ---------------------------------------------------------------------------

Integer TpsRectangleList::Add(const TpsRectangleRecord& aRect) {
  FItems.push_back(aRect);
  return Count() - 1;
}

const TpsRectangleRecord& TpsRectangleList::Get(Integer aIndex) const {
  if (aIndex < 0 || aIndex >= Count()) RaiseListIndexError(aIndex);
  return FItems[aIndex];
}

void TpsRectangleList::Delete(Integer aIndex) {
  if (aIndex < 0 || aIndex >= Count()) RaiseListIndexError(aIndex);
  FItems.erase(FItems.begin() + aIndex);
}

bool TpsRectangleSetComparison::Match(const TpsRectangleRecord& aRect) {
  for (Integer i = 0; i < Expected.Count(); ++i) {
    if (Expected.Get(i) == aRect) {
      Expected.Delete(i);
      return true;
    }
  }
  Mismatch = true;
  return false;
}

// ---------------------------------------------------------------------------

const TpsColumnWidthList::Entry& TpsColumnWidthList::At(Integer aIndex) const {
  if (aIndex < 0 || aIndex >= Count()) RaiseListIndexError(aIndex);
  return FEntries[aIndex];
}

Integer TpsColumnWidthList::GetWidth(Integer aIndex) const { return At(aIndex).Width; }
Byte TpsColumnWidthList::GetWidthType(Integer aIndex) const { return At(aIndex).WidthType; }

void TpsColumnWidthList::SetWidth(Integer aIndex, Integer aWidth) {
  At(aIndex);
  FEntries[aIndex].Width = aWidth;
}

Byte TpsColumnWidthList::GetColumnWidthTypes() const {
  Byte types = 0;
  for (const Entry& e : FEntries) {
    if (e.WidthType > cwtUnspecified)
      throw EpsHtmlEditException("TpsColumnWidthList.GetColumnWidthTypes: Unkown column width type");
    types |= static_cast<Byte>(1 << e.WidthType);
  }
  return types;
}

Integer TpsColumnWidthList::SumWidths(Byte aTypeSet) const {
  Integer sum = 0;
  for (const Entry& e : FEntries)
    if (e.WidthType <= cwtUnspecified && (aTypeSet & (1 << e.WidthType))) sum += e.Width;
  return sum;
}

bool TpsColumnWidthList::AllOfType(Byte aWidthType) const {
  return std::all_of(FEntries.begin(), FEntries.end(), [&](const Entry& e) { return e.WidthType == aWidthType; });
}

bool TpsColumnWidthList::AllSameType() const { return FEntries.empty() || AllOfType(FEntries.front().WidthType); }

Integer TpsColumnWidthList::GetColumnWidth(Integer aIndex, Integer aTotalWidth) const {
  At(aIndex);
  const Byte types = GetColumnWidthTypes();
  if (types == (1 << cwtPercent)) {
    const Integer sum = SumWidths(1 << cwtPercent);
    if (sum == 0) return 0;  // no share to distribute
    std::vector<double> exact(FEntries.size());
    std::vector<Integer> rounded(FEntries.size());
    Integer total = 0;
    for (size_t i = 0; i < FEntries.size(); ++i) {
      const double share = sum == 100 ? FEntries[i].Width : FEntries[i].Width * 100.0 / sum;
      exact[i] = aTotalWidth * share / 100;
      rounded[i] = RoundToInteger(exact[i]);
      total += rounded[i];
    }
    // The remainder goes to the column rounded least; among equal errors
    // the one with the highest index.
    double bound = 100.0;
    size_t chosen = FEntries.size() - 1;
    for (size_t i = FEntries.size(); i-- > 0;) {
      const double error = std::fabs(exact[i] - rounded[i]);
      if (error < bound) {
        bound = error;
        chosen = i;
      }
    }
    rounded[chosen] += aTotalWidth - total;
    return rounded[aIndex];
  }
  if (types == (1 << cwtPixels)) {
    const Integer free = aTotalWidth - SumWidths(1 << cwtPixels);
    return FEntries[aIndex].Width + RoundToInteger(static_cast<double>(free) / Count());
  }
  return 0;
}

void TpsColumnWidthList::GetColumnPosition(Integer aIndex, Integer aSpacing, Integer aTotalWidth, Integer& aLeft,
                                           Integer& aWidth) const {
  aLeft = aIndex * aSpacing;
  for (Integer i = 0; i < aIndex; ++i) aLeft += GetColumnWidth(i, aTotalWidth);
  aWidth = GetColumnWidth(aIndex, aTotalWidth);
  if (aIndex == Count() - 1 && aTotalWidth - aLeft - aWidth > 0) aWidth = aTotalWidth - aLeft;
}

}  // namespace htmldoc
