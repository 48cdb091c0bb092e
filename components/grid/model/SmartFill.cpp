#include "grid/model/SmartFill.h"

#include <vector>

#include "grid/model/GridUtils.h"
#include "rtl/Convert.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"
#include "rtl/Format.h"
#include "rtl/Locale.h"

namespace grid {

namespace {

bool HasChar(const AnsiString& text, char c) { return text.find(c) != AnsiString::npos; }

// A date or a time: two date separators, or the time separator.
bool LooksLikeDateTime(const AnsiString& text, const LocaleSettings& locale) {
  return HasTwoDateSeparators(text, locale) || HasChar(text, locale.TimeSeparator());
}

rtl::TFormatSettings SettingsOf(const LocaleSettings& locale) {
  rtl::TFormatSettings s = rtl::FormatSettings();
  s.DecimalSeparator = locale.DecimalSeparator();
  s.ThousandSeparator = locale.ThousandSeparator();
  s.DateSeparator = locale.DateSeparator();
  s.TimeSeparator = locale.TimeSeparator();
  s.ShortDateFormat = locale.ShortDateFormat();
  s.LongTimeFormat = locale.LongTimeFormat();
  return s;
}

// The format writes "." between the digits; the series is written as the
// user reads and types numbers, with the locale's separator.
AnsiString LocalDecimal(AnsiString text, char decimal) {
  if (decimal == '.') return text;
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    if (text[i] == '.' && IsDigitChar(text[i - 1]) && IsDigitChar(text[i + 1])) {
      text[i] = decimal;
      break;
    }
  }
  return text;
}

// The cells of a one-row or one-column selection in order.
std::vector<TCellCoord> LineCells(const TGridRect& s) {
  std::vector<TCellCoord> cells;
  for (Integer col = s.Left; col <= s.Right; ++col)
    for (Integer row = s.Top; row <= s.Bottom; ++row) cells.push_back({col, row});
  return cells;
}

// Writes values to the cells in order; a value that cannot be made ends
// the fill. The value advances over cells that may not be filled.
template <typename NextValue>
void FillSeries(TSmartFillHost& host, const std::vector<TCellCoord>& cells, NextValue next) {
  for (size_t i = 0; i < cells.size(); ++i) {
    AnsiString value;
    if (!next(i, value)) return;
    if (host.CanFill(cells[i].X, cells[i].Y)) host.FillCell(cells[i].X, cells[i].Y, value, i == 0);
  }
}

}  // namespace

TSmartFill SmartFill(TSmartFillHost& host, const TSmartFillInput& in, const AnsiString& floatFormat,
                     const LocaleSettings& locale) {
  const TGridRect& s = in.Selection;
  const Integer cols = s.Right - s.Left + 1, rows = s.Bottom - s.Top + 1;
  if (cols <= 0 || rows <= 0) return sfNone;
  const rtl::Int64 cells = static_cast<rtl::Int64>(cols) * rows;
  if (in.Count - 1 == cells) return sfNone;

  host.BeforePaste();
  TSmartFill done = sfNone;
  if (in.Count == 1 && cells > 1) {
    const AnsiString value = host.FillText(s.Left, s.Top);
    for (Integer row = s.Top; row <= s.Bottom; ++row)
      for (Integer col = s.Left; col <= s.Right; ++col)
        if (host.CanFill(col, row)) host.FillCell(col, row, value, col == s.Left && row == s.Top);
    done = sfRepeat;
  }
  host.AfterPaste();

  const bool oneCol = cols == 1, oneRow = rows == 1;
  if (in.Count >= 2 && (oneCol || oneRow) && cells >= 2) {
    const std::vector<TCellCoord> line = LineCells(s);
    const AnsiString a = host.FillText(line[0].X, line[0].Y);
    const AnsiString b = host.FillText(line[1].X, line[1].Y);
    const char decimal = locale.DecimalSeparator();
    if (!LooksLikeDateTime(a, locale) || !LooksLikeDateTime(b, locale)) {
      if (!HasChar(a, decimal) && !HasChar(b, decimal)) {
        rtl::Int64 first = 0, second = 0;
        if (rtl::TryStrToInt64(a, first) && rtl::TryStrToInt64(b, second)) {
          // A series that leaves the 64-bit range ends there.
          rtl::Int64 step = 0;
          if (__builtin_sub_overflow(second, first, &step)) return sfCancelled;
          bool overflow = false;
          FillSeries(host, line, [&](size_t i, AnsiString& value) {
            rtl::Int64 offset = 0, next = 0;
            if (__builtin_mul_overflow(static_cast<rtl::Int64>(i), step, &offset) ||
                __builtin_add_overflow(first, offset, &next)) {
              overflow = true;
              return false;
            }
            value = rtl::IntToStr(next);
            return true;
          });
          return overflow ? sfCancelled : sfIntegerSeries;
        }
        // A pattern of the pasted cells repeated along the line; each cell
        // takes the text of the cell one period before it.
        const Integer period = in.PastedCount;
        if (period >= 1) {
          for (size_t i = static_cast<size_t>(period); i < line.size(); ++i) {
            const TCellCoord from = line[i - static_cast<size_t>(period)], to = line[i];
            if (host.CanFill(to.X, to.Y)) host.FillCell(to.X, to.Y, host.FillText(from.X, from.Y), false);
          }
        }
        return sfPattern;
      }
      const rtl::TFormatSettings settings = SettingsOf(locale);
      double first = 0, second = 0;
      if (!rtl::TryStrToFloat(a, first, settings) || !rtl::TryStrToFloat(b, second, settings)) return sfCancelled;
      const double step = second - first;
      FillSeries(host, line, [&](size_t i, AnsiString& value) {
        value = LocalDecimal(rtl::Format(floatFormat, first + static_cast<double>(i) * step), decimal);
        return true;
      });
      return sfFloatSeries;
    }
    const rtl::TFormatSettings settings = SettingsOf(locale);
    // A date (with or without a time), else a time of day alone.
    auto read = [&](const AnsiString& text, TDateTime& value) {
      return TryParseDateTime(text, value, locale) || rtl::TryStrToTime(text, value, settings);
    };
    TDateTime first = 0, second = 0;
    if (!read(a, first) || !read(b, second)) return sfCancelled;
    Word y1 = 0, m1 = 0, d1 = 0, y2 = 0, m2 = 0, d2 = 0;
    try {
      rtl::DecodeDate(first, y1, m1, d1);
      rtl::DecodeDate(second, y2, m2, d2);
    } catch (const rtl::EConvertError&) {
      return sfCancelled;
    }
    const AnsiString format = HasChar(a, locale.DateSeparator()) ? settings.ShortDateFormat : settings.LongTimeFormat;
    const auto years = static_cast<Word>(y2 - y1), months = static_cast<Word>(m2 - m1),
               days = static_cast<Word>(d2 - d1);
    TDateTime value = first;
    bool failed = false;
    FillSeries(host, line, [&](size_t i, AnsiString& text) {
      try {
        if (i > 0) value = IncDateParts(years, months, days, value, second - first);
        text = rtl::FormatDateTime(format, value, settings);
        return true;
      } catch (const rtl::EConvertError&) {
        failed = true;
        return false;
      }
    });
    return failed ? sfCancelled : sfDateSeries;
  }

  if (rows > 1 && cols > 1 && done == sfNone) {
    // A pasted row repeated down, a pasted column across, a single value
    // over every cell; a larger block is left as pasted.
    const bool rowBlock = in.PastedRows == 1, colBlock = in.PastedCols == 1;
    if (rowBlock && colBlock) {
      for (Integer row = s.Top; row <= s.Bottom; ++row)
        for (Integer col = s.Left; col <= s.Right; ++col)
          if (row != s.Top || col != s.Left) host.PasteAgainAt(col, row);
    } else if (rowBlock) {
      for (Integer row = s.Top + 1; row <= s.Bottom; ++row) host.PasteAgainAt(s.Left, row);
    } else if (colBlock) {
      for (Integer col = s.Left + 1; col <= s.Right; ++col) host.PasteAgainAt(col, s.Top);
    } else {
      return sfNone;
    }
    return sfRepaste;
  }
  return done;
}

}  // namespace grid
