#pragma once
// Column and row sizes as arithmetic: the stretched column taking the width
// the others leave, every column scaled when one is sized by the mouse or
// the grid is resized, and the widths kept between runs in an INI file or
// the registry as "Col<i>=<width>" entries of a section.
#include <vector>

#include "grid/model/GridTypes.h"

namespace grid {

// The width of the stretched column col among widths in a client area of
// clientWidth: alone, the whole client width; else one pixel less than what
// the others leave; when they leave nothing, DefaultColWidth while the view
// is scrolled to its start, else the width it has.
Integer StretchedWidth(const std::vector<Integer>& widths, Integer col, Integer clientWidth, bool scrolledToStart,
                       Integer defaultColWidth);

// Sizing one column (row) from sizeAtPress to its size in sizes scales every
// other entry from first on by the same factor (rounded half to even);
// nothing when the size at the press was 0.
void ScaleWithSizedOne(std::vector<Integer>& sizes, Integer sized, Integer sizeAtPress, Integer first);

// Widths scaled with the grid: Factor = (width + 2) / baseWidth with a single
// border, else width / baseWidth; the columns from..to that have a remembered
// width take Trunc(remembered * Factor).
void SynchronisedWidths(std::vector<Integer>& widths, const std::vector<Integer>& remembered, Integer baseWidth,
                        Integer width, bool singleBorder, Integer from, Integer to);

// Where column widths are kept between runs.
enum class TColumnSizeStore { csRegistry, csIniFile };

// Writes "Col0" .. "Col<n-1>" into the section of the store named by key
// (an INI file name, or a registry key path under the current user) and
// writes the store back. Errors of the store pass to the caller.
void SaveColumnWidths(TColumnSizeStore store, const AnsiString& key, const AnsiString& section,
                      const std::vector<Integer>& widths);
// Reads the entries over the current widths: a missing entry, or one that is
// no number, leaves the width; the store is written back afterwards.
std::vector<Integer> LoadColumnWidths(TColumnSizeStore store, const AnsiString& key, const AnsiString& section,
                                      std::vector<Integer> widths);

}  // namespace grid
