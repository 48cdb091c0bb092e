#include "grid/model/ClipPaste.h"

#include <algorithm>

namespace grid {

TPasteCounts ClipTextCounts(const TClipText& text) {
  TPasteCounts c;
  c.Count = text.Count;
  c.Rows = text.Rows();
  c.Cols = text.Cols;
  c.PastedCount = text.PastedCount();
  c.PastedRows = text.Rows();
  if (text.LastFieldEmpty && text.Lines.back().size() == 1) --c.PastedRows;
  for (const auto& line : text.Lines) c.PastedCols = std::max(c.PastedCols, static_cast<Integer>(line.size()));
  return c;
}

TPasteCounts PasteTextAt(TClipPasteHost& host, Integer col, Integer row, std::string_view text) {
  if (col < 0 || row < 0 || !host.PasteAllowed()) return {};
  const TClipText parsed = ParseClipText(text);
  const TPasteCounts counts = ClipTextCounts(parsed);
  host.BeginUndoGroup();
  Integer r = row, lastCol = col;
  const size_t lineCount = parsed.Lines.size();
  for (size_t li = 0; li < lineCount; ++li) {
    const auto& fields = parsed.Lines[li];
    const bool lastLine = li + 1 == lineCount;
    host.RowPasteNotify(3, r);
    const bool emptyLine = fields.size() == 1 && fields[0].empty();
    if (host.InsertLines && !emptyLine) host.InsertRow(r);
    for (size_t fi = 0; fi < fields.size(); ++fi) {
      const Integer c = col + static_cast<Integer>(fi);
      const bool lastField = fi + 1 == fields.size();
      if (lastLine && lastField && fields[fi].empty()) break;
      if (c >= host.ColCount() && host.ColGrow) host.SetColCount(c + 1);
      const Integer rows = host.RowCount() - (host.FooterRowLast ? 1 : 0);
      if (c < host.ColCount() && r < rows && host.CanPaste(c, r)) {
        AnsiString value = fields[fi];
        if (host.BeforePasteCell(c, r, value)) {
          host.PasteCell(c, r, value);
          host.AfterPasteCell(c, r, value, lastField);
        }
      }
      lastCol = std::max(lastCol, c);
    }
    if (lastLine) break;
    // More text follows: the next row, grown when the grid ends here.
    const bool nextHasCells = !(li + 2 == lineCount && parsed.LastFieldEmpty && parsed.Lines.back().size() == 1);
    if (!nextHasCells) break;
    ++r;
    const Integer limit = host.RowCount() - (host.FooterRowLast ? 1 : 0);
    if (r >= limit && host.RowGrow && !host.InsertLines) host.AddRow();
  }
  host.PasteEnded({col, row, lastCol, r});
  host.EndUndoGroup();
  return counts;
}

}  // namespace grid
