#include "grid/model/Footer.h"

#include <algorithm>

#include "rtl/Convert.h"

namespace grid {

TFooterCalc FooterCalcOf(Byte calcType) {
  const Byte kind = calcType & 0x7F;
  switch (kind) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 7:
      return static_cast<TFooterCalc>(kind);
    default:
      return fcNone;
  }
}

void TFooterTotals::Walk(Integer col, Integer fromRow, Integer toRow, const std::function<void(double)>& visit) {
  if (RowScanNotify) RowScanNotify(RowScanStart, fromRow);
  // A range reaching past the shown data rows counts hidden rows too: its
  // rows are real rows then.
  const bool footerShown = State.Visible && State.FixedLastRow;
  const bool real = toRow >= model_.RowCount() - (footerShown ? 1 : 0);
  const Integer last = std::min(toRow, (real ? model_.AllRowCount() : model_.RowCount()) - 1);
  const bool grouped = Grouped && Grouped();
  for (Integer r = std::max<Integer>(fromRow, 0); r <= last; ++r) {
    const bool hidden = real && model_.IsHiddenRow(r);
    if (!hidden) {
      const Integer shown = real ? model_.DisplRowIndex(r) : r;
      if (grouped) {
        const TCellGraphic* g = model_.CellGraphic(0, shown);
        if (g != nullptr && (g->CellType == ctNode || g->CellType == ctSummary)) continue;
      }
      if (model_.IsCoveredCell(col, shown)) continue;
    }
    double value = 0;
    try {
      value = real ? model_.AllFloatCells(col, r) : model_.FloatCells(col, r);
    } catch (const ELumGridError&) {
      continue;  // not a number
    }
    if (RowScanNotify) RowScanNotify(RowScanRow, r);
    visit(value);
  }
  if (RowScanNotify) RowScanNotify(RowScanEnd, -1);
}

double TFooterTotals::ColumnSum(Integer col, Integer fromRow, Integer toRow) {
  double sum = 0;
  Walk(col, fromRow, toRow, [&](double v) { sum += v; });
  return sum;
}

double TFooterTotals::ColumnAvg(Integer col, Integer fromRow, Integer toRow) {
  const Integer rows = toRow - fromRow + 1;
  if (rows <= 0) return 0;
  return ColumnSum(col, fromRow, toRow) / rows;
}

double TFooterTotals::ColumnMin(Integer col, Integer fromRow, Integer toRow) {
  bool any = false;
  double result = 0;
  Walk(col, fromRow, toRow, [&](double v) {
    if (!any || v < result) result = v;
    any = true;
  });
  return result;
}

double TFooterTotals::ColumnMax(Integer col, Integer fromRow, Integer toRow) {
  bool any = false;
  double result = 0;
  Walk(col, fromRow, toRow, [&](double v) {
    if (!any || v > result) result = v;
    any = true;
  });
  return result;
}

void TFooterTotals::CalcFooter(Integer col) {
  if (!State.Visible || !State.FixedLastRow || !State.Calculating) return;
  const Integer footer = model_.RowCount() - 1;
  const Integer first = col < 0 ? 0 : col;
  const Integer last = col < 0 ? model_.ColCount() - 1 : col;
  for (Integer c = first; c <= last && c < model_.ColCount(); ++c) {
    if (!model_.HasCellProperties(c, footer)) continue;
    const TFooterCalc kind = FooterCalcOf(model_.CellProperties(c, footer).CalcType);
    if (kind == fcNone) continue;
    const Integer h = State.CalculateHiddenRows ? model_.NumHiddenRows() : 0;
    const Integer from = model_.FixedRows();
    const Integer to = model_.RowCount() - 2 + h;
    switch (kind) {
      case fcSum:
        model_.SetFloatCells(c, footer, ColumnSum(c, from, to));
        break;
      case fcAvg:
        model_.SetFloatCells(c, footer, ColumnAvg(c, from, to));
        break;
      case fcCount:
        model_.SetIntegerCells(c, footer, model_.RowCount() - from - 1 + h);
        break;
      case fcMin:
        model_.SetFloatCells(c, footer, ColumnMin(c, from, to));
        break;
      case fcMax:
        model_.SetFloatCells(c, footer, ColumnMax(c, from, to));
        break;
      case fcCustom: {
        AnsiString value;
        if (!CustomCalc || !CustomCalc(c, footer + h, value)) value.clear();
        model_.SetDisplayCell(c, footer, value);
        break;
      }
      case fcNone:
        break;
    }
  }
}

AnsiString ExpandFooterTemplate(std::string_view text, const std::function<AnsiString(Integer col)>& cellText) {
  AnsiString result;
  for (;;) {
    const size_t open = text.find("<#");
    if (open == std::string_view::npos) break;
    const size_t close = text.find('>', open + 2);
    // An unclosed tag ends the replacing and stays as it is.
    if (close == std::string_view::npos) break;
    result.append(text.substr(0, open));
    Integer col = 0;
    if (rtl::TryStrToInt(text.substr(open + 2, close - open - 2), col)) result += cellText(col);
    text.remove_prefix(close + 1);
  }
  result.append(text);
  return result;
}

}  // namespace grid
