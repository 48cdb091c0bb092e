#include "grid/model/CsvImport.h"

#include "grid/model/GridModel.h"
#include "grid/model/GridUtils.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/Strings.h"

namespace grid {

void TFileStringList::LoadFromFile(const AnsiString& fileName) { SetText(rtl::ReadFileBytes(fileName)); }

void TFileStringList::SetText(std::string_view bytes) {
  lines_.clear();
  cursor_ = 0;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      lines_.emplace_back(bytes.substr(start, i - start));
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < bytes.size()) lines_.emplace_back(bytes.substr(start));
}

char DetectCSVDelimiter(std::string_view line1, std::string_view line2) {
  char found = 0;
  Integer best = 0;
  for (char c : CSVDelimiterCandidates) {
    const Integer n1 = SingleCharCount(c, line1), n2 = SingleCharCount(c, line2);
    if (n1 == n2 && n1 > best) {
      found = c;
      best = n1;
    }
  }
  if (found != 0) return found;
  for (char c : CSVDelimiterCandidates) {
    const Integer n1 = CharCount(c, line1), n2 = CharCount(c, line2);
    if (n1 == n2 && n1 > best) {
      found = c;
      best = n1;
    }
  }
  if (found != 0) return found;
  for (char c : CSVDelimiterCandidates) {
    const Integer n1 = CharCount(c, line1), n2 = CharCount(c, line2);
    if (n1 > best || n2 > best) {
      found = c;
      best = std::max(n1, n2);
    }
  }
  return found;
}

void TGridModel::LoadCell(Integer col, Integer row, AnsiString value) {
  if (OnLoadCell) OnLoadCell(col, row, value);
  SetRawCell(col, row, std::move(value));
}

void TGridModel::ImportCSV(const AnsiString& fileName, Integer maxRows) {
  ImportCSVText(rtl::ReadFileBytes(fileName), maxRows);
}

void TGridModel::ImportCSVText(std::string_view bytes, Integer maxRows) {
  const Integer c0 = TransferFixedCells ? 0 : FixedCols();
  const Integer r0 = TransferFixedCells ? 0 : FixedRows();
  TFileStringList lines;
  // Text that is not UTF-8 is taken as the desktop's code page, unless the
  // lines are converted from the OEM code page one by one.
  lines.SetText(OemConvert ? AnsiString(bytes) : rtl::ReadStoredText(bytes));
  if (lines.Count() == 0) throw rtl::Exception("File is empty");
  Integer q = r0;
  // The floating footer's row stays the grid's last, with the totals its
  // cells carry, however many rows the file brings.
  std::vector<std::unique_ptr<TCellProperties>> footerProps;
  if (FooterRowShown())
    for (Integer c = 0; c < ColCount(); ++c) footerProps.push_back(RowAt(RowCount() - 1).TakeProps(c));

  char delimiter = CSVDelimiter;
  if (delimiter == 0) delimiter = DetectCSVDelimiter(lines[0], lines.Count() > 1 ? lines[1] : AnsiString());

  Integer counted = 0;
  if (OnFileProgress) {
    counted = lines.Count() - (ReadFirstCSVLine ? 0 : 1);
    SetRowCount(lines.Count() + r0 + FixedFooters());
  }
  lines.Reset();
  if (!ReadFirstCSVLine && !lines.Eof()) lines.ReadLine();

  auto restoreBreaks = [this](AnsiString& field) {
    if (TildeLineBreaks)
      ExpandTildeBreaks(field);
    else
      UnpackLineBreaks(field);
  };
  auto widen = [this](Integer count) {
    if (count > ColCount()) SetColCount(count);
  };
  Integer done = 0;
  Integer lastPercent = -1;
  while (!lines.Eof() && (maxRows <= 0 || done < maxRows)) {
    AnsiString rest = lines.ReadLine();
    if (OemConvert) OemToAnsiText(rest);
    if (q >= RowCount() - FixedFooters()) SetRowCount(q + 1000);
    Integer b = c0;
    const std::string_view delim(&delimiter, 1);
    while (delimiter != 0 && rtl::Pos(delim, rest) > 0) {
      AnsiString field;
      if (rest[0] == '"') {
        rest.erase(0, 1);
        Integer p = 0;
        if (SingleCharPos('"', rest, p) > 0) {
          field = RemoveQuoteChar('"', rtl::Copy(rest, 1, p - 1));
          rest = rtl::Copy(rest, p + 1);
        }
      } else {
        field = RemoveQuoteChar('"', rtl::Copy(rest, 1, rtl::Pos(delim, rest) - 1));
      }
      restoreBreaks(field);
      widen(b + 1);
      LoadCell(b, q, std::move(field));
      rtl::Delete(rest, 1, rtl::Pos(delim, rest));
      ++b;
    }
    if (!rest.empty()) {
      if (rest.front() == '"') rest.erase(0, 1);
      if (!rest.empty() && rest.back() == '"') rest.pop_back();
      AnsiString field = RemoveQuoteChar('"', rest);
      restoreBreaks(field);
      widen(b + 1);
      LoadCell(b, q, std::move(field));
    }
    ++q;
    ++done;
    if (OnFileProgress) {
      const Integer percent = counted > 0 ? static_cast<Integer>(rtl::Round(done * 100.0 / counted)) : 100;
      if (counted > 0 && percent != lastPercent) {
        lastPercent = percent;
        OnFileProgress(percent);
      }
    }
  }
  SetRowCount(q + FixedFooters());
  SetLargestRowCount(RowCount());
  if (FooterRowShown()) {
    const Integer last = RowCount() - 1;
    for (Integer c = 0; c < ColCount(); ++c) SetRawCell(c, last, AnsiString());
    for (Integer c = 0; c < static_cast<Integer>(footerProps.size()); ++c)
      if (footerProps[c]) {
        footerProps[c]->OwnerRow = last;
        RowAt(last).SetProps(c, std::move(footerProps[c]));
      }
  }
  CellsChanged({0, 0, ColCount(), RowCount()});
  CellsLoaded();
}

}  // namespace grid
