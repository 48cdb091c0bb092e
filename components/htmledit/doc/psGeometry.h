#pragma once
// The view's geometry: points, inclusive rectangles (unlike the class
// library's, whose right and bottom are exclusive, so the two never mix),
// proportional scaling, rectangle sets with a change detector, and the
// column widths of a table.
#include <memory>
#include <vector>

#include "htmledit/doc/psGlobals.h"

namespace htmldoc {

class TpsDataChunk;
class TpsTableDataAccess;

struct TpsPoint {
  Integer X = 0;
  Integer Y = 0;
  bool operator==(const TpsPoint&) const = default;
};

// Inclusive: Right - Left + 1 columns, Bottom - Top + 1 rows.
struct TpsRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  bool operator==(const TpsRect&) const = default;
};

TpsPoint MakePoint(Integer aX, Integer aY);
inline TpsPoint InitPoint(Integer aX, Integer aY) { return MakePoint(aX, aY); }
TpsRect InitRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom);
Integer RectWidth(const TpsRect& aRect);
Integer RectHeight(const TpsRect& aRect);
// Touching edges intersect.
bool RectsIntersect(const TpsRect& a, const TpsRect& b);
bool RectsIntersectBounds(Integer aLeft1, Integer aTop1, Integer aRight1, Integer aBottom1, Integer aLeft2,
                          Integer aTop2, Integer aRight2, Integer aBottom2);
bool RangesOverlap(Integer aA1, Integer aA2, Integer aB1, Integer aB2);
bool PointInRect(const TpsPoint& aPoint, const TpsRect& aRect);
TpsRect RectUnion(const TpsRect& a, const TpsRect& b);
// a / b * c and b / a * c, rounded half to even; 0 for a zero divisor, and
// never a value that is not finite.
Integer ScaleByRatio(Integer a, Integer b, Integer c);
Integer ScaleByInverseRatio(Integer a, Integer b, Integer c);

struct TpsRectangleRecord {
  Integer X = 0;
  Integer Y = 0;
  Integer Width = 0;
  Integer Height = 0;
  bool operator==(const TpsRectangleRecord&) const = default;
};

class TpsRectangleList {
 public:
  Integer Add(const TpsRectangleRecord& aRect);
  // Raises EListError for an index outside the list.
  const TpsRectangleRecord& Get(Integer aIndex) const;
  void Delete(Integer aIndex);
  Integer Count() const { return static_cast<Integer>(FItems.size()); }

 private:
  std::vector<TpsRectangleRecord> FItems;
};

// Rectangles before a change are expected; those after it are matched.
class TpsRectangleSetComparison {
 public:
  void AddExpected(const TpsRectangleRecord& aRect) { Expected.Add(aRect); }
  bool Match(const TpsRectangleRecord& aRect);
  bool IsUnchanged() const { return Expected.Count() == 0 && !Mismatch; }

  TpsRectangleList Expected;
  bool Mismatch = false;
};

constexpr Byte cwtPixels = 0, cwtPercent = 1, cwtUnspecified = 2;

class TpsColumnWidthList {
 public:
  void Clear() { FEntries.clear(); }
  void Add(Integer aWidth, Byte aWidthType) { FEntries.push_back({aWidth, aWidthType}); }
  // One entry per cell of the table's first row (none without rows).
  void LoadFromTableAccess(TpsTableDataAccess& aAccess);
  // The first table of the list.
  void LoadFromTable(TpsDataChunk& aChunk);
  Integer Count() const { return static_cast<Integer>(FEntries.size()); }
  // Index arguments outside the list raise EListError.
  Integer GetWidth(Integer aIndex) const;
  Byte GetWidthType(Integer aIndex) const;
  void SetWidth(Integer aIndex, Integer aWidth);
  // 1 pixels, 2 percent, 4 unspecified; another type raises.
  Byte GetColumnWidthTypes() const;
  Integer SumWidths(Byte aTypeSet) const;
  bool AllOfType(Byte aWidthType) const;
  bool AllSameType() const;
  // Percent widths share TotalWidth (0 for every column when they sum to
  // 0); pixel widths share the free space; any mix gives 0.
  Integer GetColumnWidth(Integer aIndex, Integer aTotalWidth) const;
  void GetColumnPosition(Integer aIndex, Integer aSpacing, Integer aTotalWidth, Integer& aLeft,
                         Integer& aWidth) const;

 private:
  struct Entry {
    Integer Width;
    Byte WidthType;
  };
  const Entry& At(Integer aIndex) const;

  std::vector<Entry> FEntries;
};

}  // namespace htmldoc
