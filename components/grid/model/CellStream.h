#pragma once
// Moving cells between grids: what one cell contributes to copies and
// saves (SaveCell) and how an incoming text is stored (LoadCell), the
// line-based cell text stream of AssignCells, and the grid cell stream, the
// binary form of a block's texts, properties and graphics that the
// clipboard format "TVadOdizadEzev Cells" and cell drags carry.
//
// The grid cell stream is our own form: the signature "TVGC", a 16-bit
// version, then records of a one-byte class, a 32-bit payload length and
// the payload, every number little-endian and every length checked against
// the bytes left. The classes and their values in order:
//   1 grid:        ColCount, RowCount (32 bits), ColWidths, RowHeights
//                  (decimal numbers joined by ","), FullGrid, ID (64 bits)
//   2 cell:        Col, Row (32 bits each), Cell (the display text), HasProp
//   3 properties:  the cell's properties, then HasGraphic
//   4 graphic:     the cell's graphic with its two colour slots
//   5 bitmap, 6 icon, 7 picture: PNG bytes
//   8 file picture: Filename, Width, Height
//   9 strings:     a count and the strings (radio captions, the image
//                  indexes as comma text, a balloon's title and text)
// Strings are a 32-bit length and the bytes; a Boolean is one byte. A
// record may be longer than its values (later versions append values); a
// record that does not fit in the bytes left, a value that does not fit in
// its record, a class where another is due or a value out of its range
// raises rtl::EReadError "Stream read error". Fewer than two bytes after a
// record end the reading quietly.
#include <string>
#include <string_view>

#include "grid/model/GridModel.h"

namespace grid {

// The window layer's pictures as bytes and back.
enum class TStreamPicture { spBitmap, spIcon, spPicture };
using enum TStreamPicture;

// What the transfers ask of a grid; the grid component answers with its
// events and its pictures, tests and the fuzz targets with the model.
class TCellTransferHost {
 public:
  explicit TCellTransferHost(TGridModel& model) : model_(model) {}
  virtual ~TCellTransferHost() = default;
  TGridModel& Model() { return model_; }

  // ===== options (the grid's constructor sets them) =====
  bool SaveFormatted = true;
  bool KeepHTML = true;
  bool KeepRichText = false;
  bool Multilinecells = false;
  // The largest grid a text stream may ask for; larger counts are cut and
  // the cells beyond dropped.
  Integer MaxRows = 1 << 24;
  Integer MaxCols = 1 << 16;

  // ===== what the grid answers =====
  // The text with its number format (GetFormattedCell), and as stored.
  virtual AnsiString FormattedCell(Integer col, Integer row) { return model_.GetDisplayCell(col, row); }
  virtual AnsiString StoredCell(Integer col, Integer row) { return model_.GetDisplayCell(col, row); }
  // A cell's display text as a grid stream writes it, and stores it.
  virtual AnsiString DisplayCell(Integer col, Integer row) { return model_.GetDisplayCell(col, row); }
  virtual void SetDisplayCell(Integer col, Integer row, const AnsiString& value) {
    model_.SetDisplayCell(col, row, value);
  }
  virtual AnsiString CheckTrue(Integer col, Integer row) { return "Y"; }
  virtual AnsiString CheckFalse(Integer col, Integer row) { return "N"; }
  // Rich text as its plain text.
  virtual AnsiString RichTextToPlain(const AnsiString& rtf);
  // OnSaveCell.
  virtual void SaveCellEvent(Integer col, Integer row, AnsiString& value) {}
  // The source grid's identity in a grid stream (its window handle).
  virtual int64_t StreamId() { return 0; }
  // The row walks' hooks and the progress of long writes.
  virtual void RowScanNotify(Integer stage, Integer row) {}
  virtual void Progress(Integer percent) {}
  virtual void CellsChanged(const TGridRect& block) { model_.CellsChanged(block); }
  virtual void CellsLoaded() { model_.CellsLoaded(); }
  // Pictures as PNG bytes (empty: none) and back (a null object: none).
  virtual std::string EncodePicture(TStreamPicture kind, const void* object) { return {}; }
  virtual TGraphicObject DecodePicture(TStreamPicture kind, std::string_view png) { return {}; }
  // A picture kept by its file name: its name and size, and one made from
  // them.
  virtual bool DescribeFilePicture(const void* object, AnsiString& fileName, Integer& width, Integer& height) {
    return false;
  }
  virtual TGraphicObject MakeFilePicture(const AnsiString& fileName, Integer width, Integer height) { return {}; }

  // ===== the per-cell exchange =====
  // The text a cell contributes to copies and saves.
  virtual AnsiString SaveCell(Integer col, Integer row);
  // Stores a text that comes from an import or a stream (OnLoadCell first).
  virtual void LoadCell(Integer col, Integer row, const AnsiString& value) { model_.LoadCell(col, row, value); }

  // The block streams and transfers use: the whole grid with
  // TransferFixedCells, else the normal cells.
  TGridRect TransferRange();

 private:
  TGridModel& model_;
};

// The header of a grid cell stream.
struct TCellStreamHeader {
  Integer ColCount = 0;
  Integer RowCount = 0;
  AnsiString ColWidths;
  AnsiString RowHeights;
  bool FullGrid = false;
  int64_t ID = 0;
};

// Writes the grid cell stream of a block (cut to the grid).
std::string SaveCellsToStream(TCellTransferHost& host, const TGridRect& block);
// Reads the header alone (EReadError when it is not there).
TCellStreamHeader ReadCellStreamHeader(std::string_view stream);
// Reads a grid cell stream with its first cell at the given cell; cells
// that fall outside the grid are skipped. Answers the header.
TCellStreamHeader LoadCellsFromStream(TCellTransferHost& host, TCellCoord at, std::string_view stream);

// The cell text stream of the transfer range, and read back.
std::string SaveCellsToTextStream(TCellTransferHost& host);
void LoadCellsFromTextStream(TCellTransferHost& host, std::string_view stream);

}  // namespace grid
