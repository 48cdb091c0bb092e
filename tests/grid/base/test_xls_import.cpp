// The spreadsheet import through the grid's worksheet reader: workbooks
// written at test time by Python's xlwt (numbers, dates, texts, empty
// cells, a second sheet) import their first sheet as xlrd reads it, by the
// locale's rules for numbers and dates; damaged files are refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "grid/GridComponent.h"
#include "rtl/Exceptions.h"
#include "rtl/Locale.h"
#include "vcl/Forms.h"

using namespace grid;

namespace {

// Writes the workbook, then prints the first sheet as xlrd reads it, one
// row a line, cells by tabs: numbers in the general form with 15 digits
// and the separator given, dates as yyyy-mm-dd and a time of day after it.
const char* const kXlsPeer = R"PY(
import sys, datetime, xlwt, xlrd
path, sep = sys.argv[1], sys.argv[2]
book = xlwt.Workbook(encoding='utf-8')
first = book.add_sheet('pins')
day = xlwt.easyxf(num_format_str='YYYY-MM-DD')
stamp = xlwt.easyxf(num_format_str='YYYY-MM-DD HH:MM:SS')
rows = [
  ['Name', 'Value', 'Since', 'Note'],
  ['pin 1', 42, datetime.date(2026, 12, 31), 'caf\u00e9'],
  ['pin 2', 2.5, datetime.date(2027, 1, 1), None],
  [None, -0.125, None, 'a.b'],
  ['relay', 1234567.25, datetime.datetime(2026, 2, 28, 13, 45, 30), ''],
  ['x', 0.1, None, None, 'last'],
]
for r, row in enumerate(rows):
  for c, v in enumerate(row):
    if v is None:
      continue
    if isinstance(v, datetime.datetime):
      first.write(r, c, v, stamp)
    elif isinstance(v, datetime.date):
      first.write(r, c, v, day)
    else:
      first.write(r, c, v)
second = book.add_sheet('other')
second.write(0, 0, 'not imported')
second.write(9, 9, 99)
book.save(path)
read = xlrd.open_workbook(path).sheet_by_index(0)
for r in range(read.nrows):
  out = []
  for c in range(read.ncols):
    cell = read.cell(r, c)
    if cell.ctype == xlrd.XL_CELL_NUMBER:
      out.append(format(cell.value, '.15g').replace('.', sep))
    elif cell.ctype == xlrd.XL_CELL_DATE:
      y, mo, d, h, mi, s = xlrd.xldate_as_tuple(cell.value, 0)
      text = '%04d-%02d-%02d' % (y, mo, d)
      if (h, mi, s) != (0, 0, 0):
        text += ' %02d:%02d:%02d' % (h, mi, s)
      out.append(text)
    else:
      out.append(str(cell.value))
  sys.stdout.buffer.write(('\t'.join(out) + '\n').encode('utf-8'))
)PY";

std::string XlsPeer(const std::string& path, char sep) {
  const std::filesystem::path script = std::filesystem::path(path).replace_extension(".py");
  std::ofstream(script) << kXlsPeer;
  // Debian's interpreter, which has the Debian modules.
  const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + path + "' '" + std::string(1, sep) + "'";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  if (pipe == nullptr) return out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  pclose(pipe);
  return out;
}

std::string XlsGridText(TVadOdizadEzev* g) {
  std::string out;
  for (Integer r = 0; r < g->RowCount(); ++r) {
    for (Integer c = 0; c < g->ColCount(); ++c) out += (c ? "\t" : "") + g->Cells(c, r);
    out += '\n';
  }
  return out;
}

struct XlsForm {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::filesystem::path dir;
  XlsForm() {
    dir = std::filesystem::temp_directory_path() / ("grid-xls-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    form = new vcl::TForm(vcl::Application, 0);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(9);
    grid->SetRowCount(12);
  }
  ~XlsForm() {
    vcl::Free(form);
    std::filesystem::remove_all(dir);
  }
  std::string Path(const char* name) const { return (dir / name).string(); }
};

}  // namespace

TEST(XlsImport, FirstSheetAsThePeerReadsIt) {
  XlsForm f;
  for (char sep : {'.', ','}) {
    rtl::TFormatSettings settings = rtl::FormatSettings();
    settings.DecimalSeparator = sep;
    settings.ShortDateFormat = "yyyy-mm-dd";
    settings.LongTimeFormat = "hh:nn:ss";
    rtl::TFormatSettingsScope scope(settings);
    const std::string path = f.Path(sep == '.' ? "pins-point.xls" : "pins-comma.xls");
    const std::string expected = XlsPeer(path, sep);
    ASSERT_FALSE(expected.empty()) << "python3 with xlwt and xlrd is needed";
    int changed = 0;
    f.grid->OnCellsChanged = [&](vcl::TObject*, const vcl::TRect&) { ++changed; };
    std::vector<std::string> seen;
    f.grid->Model().OnLoadCell = [&](Integer col, Integer row, AnsiString& value) {
      if (col == 3 && row == 1) seen.push_back(value);
    };
    f.grid->ImportXLS(path);
    EXPECT_EQ(XlsGridText(f.grid), expected) << sep;
    EXPECT_EQ(f.grid->ColCount(), 5);
    EXPECT_EQ(f.grid->RowCount(), 6);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"caf\xC3\xA9"}));
    EXPECT_EQ(vcl::Screen->Cursor(), vcl::crDefault);
  }
}

TEST(XlsImport, DamagedFilesAreRefused) {
  XlsForm f;
  const std::string good = f.Path("good.xls");
  ASSERT_FALSE(XlsPeer(good, '.').empty());
  std::string bytes;
  {
    std::ifstream in(good, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
  }
  struct Case {
    const char* name;
    std::string bytes;
  };
  std::string scrambled = bytes;
  for (size_t i = 512; i < scrambled.size(); i += 7) scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
  const std::vector<Case> cases = {
      {"text.xls", "Name,Value\npin 1,42\n"},
      {"empty.xls", ""},
      {"cut.xls", bytes.substr(0, bytes.size() / 3)},
      {"scrambled.xls", scrambled},
  };
  for (const Case& c : cases) {
    const std::string path = f.Path(c.name);
    std::ofstream(path, std::ios::binary) << c.bytes;
    bool cellsChanged = false;
    f.grid->OnCellsChanged = [&](vcl::TObject*, const vcl::TRect&) { cellsChanged = true; };
    try {
      f.grid->ImportXLS(path);
      ADD_FAILURE() << c.name << ": no exception";
    } catch (const rtl::Exception& e) {
      EXPECT_STREQ(e.what(), "Incorrect XLS file") << c.name;
    }
    EXPECT_TRUE(cellsChanged) << c.name;
    EXPECT_EQ(vcl::Screen->Cursor(), vcl::crDefault) << c.name;
  }
  // A file that is not there is no workbook either.
  EXPECT_THROW(f.grid->ImportXLS(f.Path("missing.xls")), rtl::Exception);
}
