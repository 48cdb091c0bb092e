// Feeds arbitrary bytes to the CSV reader of the grid's model. The first
// byte picks the options (delimiter found or fixed, tilde line breaks, OEM
// text, first line skipped). Besides not crashing or hanging, the model's
// invariants must hold afterwards and the grid must not have grown beyond
// what the input can ask for: a row per line (in steps of 1000 while
// reading) and a column per delimiter.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "grid/model/GridModel.h"

using namespace grid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  TGridModel m;
  if (options & 1) m.CSVDelimiter = ';';
  m.TildeLineBreaks = (options & 2) != 0;
  m.OemConvert = (options & 4) != 0;
  m.ReadFirstCSVLine = (options & 8) == 0;
  m.TransferFixedCells = (options & 16) == 0;
  try {
    m.ImportCSVText(text, (options & 32) ? 3 : -1);
  } catch (const rtl::Exception&) {
    // "File is empty"
  }
  m.Check();
  if (m.RowCount() > static_cast<Integer>(size) + 10 || m.ColCount() > static_cast<Integer>(size) + 10) std::abort();
  return 0;
}
