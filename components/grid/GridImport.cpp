// The grid's spreadsheet import over the worksheet reader it was built with.
#include "grid/GridComponent.h"
#include "grid/model/SpreadsheetImport.h"
#include "vcl/Forms.h"
#if TOLVANE_GRID_XLS
#include "grid/xls/FreeXlSource.h"
#endif

namespace grid {

namespace {

std::unique_ptr<TSpreadsheetSource> MakeSheetSource() {
#if TOLVANE_GRID_XLS
  return MakeFreeXlSource();
#else
  return nullptr;
#endif
}

}  // namespace

void TVadOdizadEzev::ImportXLS(const AnsiString& fileName) {
  const vcl::TCursor saved = vcl::Screen->Cursor();
  vcl::Screen->SetCursor(vcl::crHourGlass);
  std::unique_ptr<TSpreadsheetSource> source = MakeSheetSource();
  if (!source) {
    vcl::Screen->SetCursor(saved);
    throw ELumGridError("Excel OLE server not found");
  }
  auto finish = [&] {
    source.reset();
    vcl::Screen->SetCursor(saved);
    CellsChanged(vcl::TRect{0, 0, ColCount(), RowCount()});
    CellsLoaded();
  };
  try {
    ImportSpreadsheet(Model(), *source, fileName);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

}  // namespace grid
