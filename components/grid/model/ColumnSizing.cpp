#include "grid/model/ColumnSizing.h"

#include <cmath>
#include <memory>
#include <string>

#include "rtl/IniFiles.h"
#include "rtl/Registry.h"

namespace grid {

Integer StretchedWidth(const std::vector<Integer>& widths, Integer col, Integer clientWidth, bool scrolledToStart,
                       Integer defaultColWidth) {
  if (widths.size() == 1) return clientWidth;
  Integer others = 0;
  for (size_t i = 0; i < widths.size(); ++i)
    if (static_cast<Integer>(i) != col) others += widths[i];
  if (others < clientWidth) return clientWidth - others - 1;
  if (scrolledToStart) return defaultColWidth;
  return widths.at(col);
}

void ScaleWithSizedOne(std::vector<Integer>& sizes, Integer sized, Integer sizeAtPress, Integer first) {
  if (sizeAtPress <= 0 || sized < 0 || sized >= static_cast<Integer>(sizes.size())) return;
  const double factor = static_cast<double>(sizes[sized]) / sizeAtPress;
  for (Integer i = std::max<Integer>(first, 0); i < static_cast<Integer>(sizes.size()); ++i)
    if (i != sized) sizes[i] = static_cast<Integer>(std::nearbyint(sizes[i] * factor));
}

void SynchronisedWidths(std::vector<Integer>& widths, const std::vector<Integer>& remembered, Integer baseWidth,
                        Integer width, bool singleBorder, Integer from, Integer to) {
  if (baseWidth <= 0) return;
  const double factor = static_cast<double>(singleBorder ? width + 2 : width) / baseWidth;
  for (Integer i = std::max<Integer>(from, 0); i <= to && i < static_cast<Integer>(widths.size()); ++i)
    if (i < static_cast<Integer>(remembered.size()))
      widths[i] = static_cast<Integer>(std::trunc(remembered[i] * factor));
}

namespace {

std::unique_ptr<rtl::TCustomIniFile> OpenColumnStore(TColumnSizeStore store, const AnsiString& key) {
  if (store == TColumnSizeStore::csIniFile) return std::make_unique<rtl::TMemIniFile>(key);
  return std::make_unique<rtl::TRegistryIniFile>(key);
}

AnsiString ColumnEntry(size_t col) { return "Col" + std::to_string(col); }

}  // namespace

void SaveColumnWidths(TColumnSizeStore store, const AnsiString& key, const AnsiString& section,
                      const std::vector<Integer>& widths) {
  std::unique_ptr<rtl::TCustomIniFile> file = OpenColumnStore(store, key);
  for (size_t i = 0; i < widths.size(); ++i) file->WriteInteger(section, ColumnEntry(i), widths[i]);
  file->UpdateFile();
}

std::vector<Integer> LoadColumnWidths(TColumnSizeStore store, const AnsiString& key, const AnsiString& section,
                                      std::vector<Integer> widths) {
  std::unique_ptr<rtl::TCustomIniFile> file = OpenColumnStore(store, key);
  for (size_t i = 0; i < widths.size(); ++i) widths[i] = file->ReadInteger(section, ColumnEntry(i), widths[i]);
  file->UpdateFile();
  return widths;
}

}  // namespace grid
