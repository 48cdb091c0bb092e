#include "grid/model/AutoSize.h"

#include <algorithm>

namespace grid {

Integer TSizeLimits::Clamp(Integer value, Integer min, Integer max) {
  if (min == max) return value;
  if (min > 0 && value < min) value = min;
  if (max > 0 && value > max) value = max;
  return value;
}

Integer CellLineCount(const AnsiString& text, bool multiLineCells) {
  if (!multiLineCells) return 1;
  return 1 + static_cast<Integer>(std::count(text.begin(), text.end(), '\r'));
}

Integer ColumnWidthFor(Integer widest, Integer gridLineWidth, const TAutoSizeSettings& settings) {
  return settings.HorzMargin() + widest + 2 * gridLineWidth + 2;
}

Integer RowHeightFor(Integer tallest, Integer gridLineWidth, const TAutoSizeSettings& settings) {
  return settings.VertMargin() + tallest + 2 * gridLineWidth + (settings.OneSidedMargin ? 2 : 0);
}

void AutoSizeRowsPlain(TGridModel& model, const TextMeasurer& measurer, const TFontSpec& font,
                       const TAutoSizeSettings& settings, bool doFixedRows, Integer extra, bool multiLineCells) {
  const Integer h = measurer.TextExtent(font, "gh").Height;
  for (Integer r = doFixedRows ? 0 : model.FixedRows(); r < model.RowCount(); ++r) {
    Integer lines = 1;
    for (Integer c = 0; c < model.ColCount(); ++c)
      lines = std::max(lines, CellLineCount(model.GetDisplayCell(c, r), multiLineCells));
    const Integer height = settings.Limits.ClampHeight(extra + lines * (h + h / 8));
    if (settings.GrowOnly && height <= model.RowHeights(r)) continue;
    model.SetRowHeights(r, height);
  }
}

}  // namespace grid
