#pragma once
// One table of a node list read into rows and cells of element references,
// with the editor's table edits. Short-lived: made for one table command;
// while it exists its list is focused on the table.
#include <memory>
#include <vector>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psGeometry.h"

namespace htmldoc {

class TpsStyleSheet;

struct TpsTableCellDataAccess {
  TpsChunkElement* StartTag;
  TpsChunkElement* EndTag;
  bool HasCursor;
};

class TpsTableRowDataAccess {
 public:
  TpsTableRowDataAccess(TpsChunkElement* aStartTag, TpsChunkElement* aEndTag)
      : StartTag(aStartTag), EndTag(aEndTag) {}
  void AddCell(const TpsTableCellDataAccess& aCell) { FCells.push_back(aCell); }
  Integer GetCellCount() const { return static_cast<Integer>(FCells.size()); }
  // Raises EListError for an index outside the row.
  TpsTableCellDataAccess& GetCell(Integer aIndex);
  TpsTableCellDataAccess& GetLastCell() { return GetCell(GetCellCount() - 1); }

  TpsChunkElement* StartTag;
  TpsChunkElement* EndTag;

 private:
  std::vector<TpsTableCellDataAccess> FCells;
};

// A width of the first row: its value (a percentage as a positive number)
// and its kind (cwtPixels, cwtPercent, cwtUnspecified).
struct TpsTableColumnWidth {
  Integer Value = 0;
  Byte Kind = cwtUnspecified;
};

class TpsTableDataAccess {
 public:
  TpsTableDataAccess(TpsDataChunk* aChunk, TpsChunkElement* aTableStart, TpsChunkElement* aTableEnd,
                     const TpsStyleSheet* aStyleSheet, bool aOwnsChunk);
  ~TpsTableDataAccess();
  TpsTableDataAccess(const TpsTableDataAccess&) = delete;
  TpsTableDataAccess& operator=(const TpsTableDataAccess&) = delete;

  void ReadTable();
  Integer GetRowCount() const { return static_cast<Integer>(FRows.size()); }
  // Raises EListError for an index outside the table.
  TpsTableRowDataAccess& GetRow(Integer aIndex);
  Integer GetCurrentRow() const;
  Integer GetCurrentColumn() const;

  // These need the current cell: without a cursor in a cell they do
  // nothing. A row without a cell at the current column's index is left as
  // it is by column insertion and deletion.
  void InsertRowBelow() { InsertRow(true); }
  void InsertRowAbove() { InsertRow(false); }
  void InsertColumnToTheRight() { InsertColumn(true); }
  void InsertColumnToTheLeft() { InsertColumn(false); }
  void DeleteCurrentRow();
  void DeleteCurrentColumn();
  // Removes the cursor wherever it stands in the table, so the list never
  // holds two.
  void MoveCursorToCell(Integer aColumn, Integer aRow);

  Integer GetColumnWidth(Integer aColumn, TpsTableColumnWidth& aWidth);
  void SetColumnWidth(Integer aColumn, const AnsiString& aWidthText);
  // The last column, a table width of 0 and mixed width kinds change nothing.
  void ResizeColumn(Integer aColumn, Integer aDelta, Integer aTableWidth);
  // An available width of 0 changes nothing.
  void ResizeTable(Integer aDelta, Integer aCurrentWidth, Integer aAvailableWidth, Integer aFixedWidth);
  AnsiString GetTableClass() const;
  AnsiString GetTableStyle() const;

  // The widths of the first row's cells.
  void LoadColumnWidths(TpsColumnWidthList& aList);

 private:
  void InsertRow(bool aBelow);
  void InsertColumn(bool aRight);
  TpsTableCellDataAccess* CurrentCell();
  void SetPercent(Integer aColumn, Integer aPercent);
  Integer FirstRowPercentSum();

  TpsDataChunk* FChunk;
  const TpsStyleSheet* FStyleSheet;
  bool FOwnsChunk;
  bool FFocused;
  std::vector<TpsTableRowDataAccess> FRows;
};

}  // namespace htmldoc
