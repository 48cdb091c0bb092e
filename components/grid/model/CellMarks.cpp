#include "grid/model/CellMarks.h"

#include <algorithm>

#include "grid/model/HtmlText.h"

namespace grid {

AnsiString HeaderCellText(std::string_view entry) {
  AnsiString out;
  out.reserve(entry.size());
  for (size_t i = 0; i < entry.size(); ++i) {
    if (entry[i] == '\\' && i + 1 < entry.size() && entry[i + 1] == 'n') {
      out += '\r';
      ++i;
    } else {
      out += entry[i];
    }
  }
  return out;
}

namespace {

// The cells of the range that no merged cell covers.
template <typename Visit>
void ForMarkableCells(TGridModel& model, const TMarkRange& range, Visit visit) {
  const Integer right = std::min(range.Right, model.ColCount() - 1);
  const Integer bottom = std::min(range.Bottom, model.RowCount() - 1);
  for (Integer row = std::max<Integer>(0, range.Top); row <= bottom; ++row)
    for (Integer col = std::max<Integer>(0, range.Left); col <= right; ++col)
      if (model.IsBaseCellAt(col, row)) visit(col, row);
}

}  // namespace

void TCellMarks::Mark(TGridModel& model, const TMarkRange& range, bool matchCase, std::string_view text) {
  ForMarkableCells(model, range, [&](Integer col, Integer row) {
    const AnsiString current = model.GetRawCell(col, row);
    const AnsiString marked = HiLightText(current, text, "hi", matchCase);
    if (marked == current) return;
    const auto key = std::make_pair(col, row);
    auto it = texts_.find(key);
    // A cell marked before and untouched since keeps its first text.
    const AnsiString original = it != texts_.end() && it->second.second == current ? it->second.first : current;
    texts_[key] = {original, marked};
    model.SetRawCell(col, row, marked);
  });
}

void TCellMarks::Unmark(TGridModel& model, const TMarkRange& range) {
  ForMarkableCells(model, range, [&](Integer col, Integer row) {
    const AnsiString current = model.GetRawCell(col, row);
    // A cell never marked here keeps its text, tags and entities of its own
    // included.
    const auto it = texts_.find({col, row});
    if (it == texts_.end()) return;
    const bool untouched = it->second.second == current;
    const AnsiString original = it->second.first;
    texts_.erase(it);
    if (untouched) {
      model.SetRawCell(col, row, original);
      return;
    }
    const AnsiString plain = UnHiLightText(current, "hi");
    if (plain != current) model.SetRawCell(col, row, plain);
  });
}

}  // namespace grid
