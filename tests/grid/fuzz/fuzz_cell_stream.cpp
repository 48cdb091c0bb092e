// Feeds arbitrary bytes to the grid's two cell stream readers. The first
// byte picks the reader and its options: the grid cell stream (with the
// signature and version put in front, so that the records themselves are
// explored, or the bytes as they come) read at a cell of a small grid, or
// the cell text stream (transfer of fixed cells, multi-line cells). A
// malformed grid stream may raise the stream-reading error, nothing else.
// Afterwards the model's invariants must hold and the grid must not have
// grown beyond what the input can carry: the grid stream lists a size for
// every row and column it asks for, and the text stream is held to the
// limits the host sets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "grid/model/CellStream.h"
#include "grid/model/GridModel.h"
#include "rtl/Exceptions.h"

using namespace grid;

namespace {

template <class T>
void FuzzStreamFree(void* p) {
  delete static_cast<T*>(p);
}

class FuzzStreamHost : public TCellTransferHost {
 public:
  using TCellTransferHost::TCellTransferHost;
  TGraphicObject DecodePicture(TStreamPicture, std::string_view png) override {
    return {new std::string(png), &FuzzStreamFree<std::string>};
  }
  TGraphicObject MakeFilePicture(const AnsiString& name, Integer, Integer) override {
    return {new std::string(name), &FuzzStreamFree<std::string>};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  TGridModel m;
  m.SetColCount(6);
  m.SetRowCount(6);
  FuzzStreamHost host(m);
  host.MaxRows = 1024;
  host.MaxCols = 256;
  m.TransferFixedCells = (options & 4) == 0;
  host.Multilinecells = (options & 8) != 0;
  if (options & 1) {
    if (options & 2) bytes.insert(0, std::string("TVGC\x01\x00", 6));
    try {
      LoadCellsFromStream(host, {(options >> 4) & 3, (options >> 6) & 3}, bytes);
    } catch (const rtl::EReadError&) {
    }
    if (static_cast<size_t>(m.RowCount()) > 6 + bytes.size() || static_cast<size_t>(m.ColCount()) > 6 + bytes.size())
      std::abort();
  } else {
    LoadCellsFromTextStream(host, bytes);
    if (m.RowCount() > host.MaxRows || m.ColCount() > host.MaxCols) std::abort();
  }
  m.Check();
  return 0;
}
