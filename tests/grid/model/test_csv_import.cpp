// CSV import: the detection passes, the quoting rules, line breaks, OEM
// text, the growth steps and progress, the failures, and real files read
// beside Python's csv module.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "grid/model/CsvImport.h"
#include "grid/model/GridModel.h"
#include "rtl/Exceptions.h"

using namespace grid;

namespace {

std::vector<std::vector<std::string>> Cells(const TGridModel& m) {
  std::vector<std::vector<std::string>> rows;
  for (Integer r = 0; r < m.RowCount(); ++r) {
    std::vector<std::string> row;
    for (Integer c = 0; c < m.ColCount(); ++c) row.push_back(m.GetRawCell(c, r));
    while (!row.empty() && row.back().empty()) row.pop_back();
    rows.push_back(row);
  }
  return rows;
}

using Rows = std::vector<std::vector<std::string>>;

}  // namespace

TEST(CsvImport, DelimiterDetectionPasses) {
  struct Case {
    std::string l1, l2;
    char expected;
  } cases[] = {
      {"a;b;c;d,e", "1;2;3;4,5", ';'},      // equal counts, larger count wins over an earlier candidate
      {"a,b;c", "", ','},                   // one line: the third pass, earlier candidate first
      {"a,,b", "c,,d", ','},                // doubled delimiters count only in the second pass
      {"a\tb", "c\td", '\t'},
      {"plain", "text", 0},
      {"a;b", "a;b;c", ';'},                // third pass: the larger count in either line
      {"a,b|c", "d,e|f", ','},              // a tie keeps the earlier candidate
  };
  for (const Case& c : cases)
    EXPECT_EQ(DetectCSVDelimiter(c.l1, c.l2), c.expected) << c.l1 << " / " << c.l2;
}

TEST(CsvImport, QuotingRulesAndLineBreaks) {
  TGridModel m;
  m.ImportCSVText(
      "\"a,b\",c\r\n"
      "\"say \"\"hi\"\"\",x\r\n"
      "\"open,never closed\r\n"
      "one\x0Btwo,~\r\n"
      "last,\"quoted last\"\r\n"
      "trailing,\r\n",
      -1);
  EXPECT_EQ(Cells(m), (Rows{{"a,b", "c"},
                            {"say \"hi\"", "x"},
                            {"", "never closed"},
                            {"one\r\ntwo", "~"},
                            {"last", "quoted last"},
                            {"trailing"}}));
  EXPECT_EQ(m.RowCount(), 6);
  EXPECT_EQ(m.ColCount(), 5);  // only grows

  TGridModel t;
  t.TildeLineBreaks = true;
  t.ImportCSVText("x~y,^,z\n", -1);
  EXPECT_EQ(Cells(t), (Rows{{"x\r\ny", "", "z"}}));
}

TEST(CsvImport, OemText) {
  TGridModel m;
  m.OemConvert = true;
  m.ImportCSVText("\x84;\x94\r\n", -1);  // CP437 a- and o-umlaut
  EXPECT_EQ(m.GetRawCell(0, 0), "\xC3\xA4");
  EXPECT_EQ(m.GetRawCell(1, 0), "\xC3\xB6");
  TGridModel ansi;
  ansi.ImportCSVText("caf\xE9,x\r\n", -1);  // not UTF-8: the desktop's code page
  EXPECT_EQ(ansi.GetRawCell(0, 0), "caf\xC3\xA9");
}

TEST(CsvImport, StartCellsRowCountsAndOldCells) {
  TGridModel m;
  m.SetColCount(6);
  m.SetRowCount(10);
  for (Integer c = 0; c < 6; ++c) m.SetRawCell(c, 1, "old");
  m.ImportCSVText("a,b\nc,d\n", -1);
  EXPECT_EQ(m.RowCount(), 2);
  EXPECT_EQ(m.ColCount(), 6);
  EXPECT_EQ(m.GetRawCell(0, 0), "a");
  EXPECT_EQ(m.GetRawCell(1, 1), "d");
  EXPECT_EQ(m.GetRawCell(4, 1), "old");  // past the line's last field

  TGridModel fixed;
  fixed.TransferFixedCells = false;
  fixed.SetFixedFooters(1);
  fixed.ImportCSVText("a,b\nc,d\n", -1);
  EXPECT_EQ(fixed.GetRawCell(1, 1), "a");
  EXPECT_EQ(fixed.GetRawCell(2, 2), "d");
  EXPECT_EQ(fixed.RowCount(), 4);  // rows from the first normal one, and the footer

  TGridModel skip;
  skip.ReadFirstCSVLine = false;
  skip.ImportCSVText("head,er\n1,2\n", -1);
  EXPECT_EQ(Cells(skip), (Rows{{"1", "2"}}));

  TGridModel fixedDelimiter;
  fixedDelimiter.CSVDelimiter = '|';
  fixedDelimiter.ImportCSVText("a,b|c\n", -1);
  EXPECT_EQ(Cells(fixedDelimiter), (Rows{{"a,b", "c"}}));
}

TEST(CsvImport, MaxRowsGrowthStepsAndProgress) {
  std::string text;
  for (int i = 0; i < 2500; ++i) text += std::to_string(i) + ",x\n";
  class Counting : public TGridModel {
   public:
    std::vector<Integer> counts;
    void SetRowCount(Integer n) override {
      counts.push_back(n);
      TGridModel::SetRowCount(n);
    }
  } m;
  m.ImportCSVText(text, -1);
  // Grown in steps of 1000 from the first row past the five the grid had.
  EXPECT_EQ(m.counts, (std::vector<Integer>{1005, 2005, 3005, 2500}));
  EXPECT_EQ(m.GetRawCell(0, 2499), "2499");

  TGridModel five;
  five.ImportCSVText(text, 5);
  EXPECT_EQ(five.RowCount(), 5);

  TGridModel progress;
  std::vector<Integer> reported;
  progress.OnFileProgress = [&](Integer p) { reported.push_back(p); };
  progress.ImportCSVText("1\n2\n3\n4\n", -1);
  EXPECT_EQ(reported, (std::vector<Integer>{25, 50, 75, 100}));
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "r\n";
  reported.clear();
  progress.ImportCSVText(many, -1);
  ASSERT_EQ(reported.size(), 101u);  // each percentage once, from 0
  EXPECT_EQ(reported.front(), 0);
  EXPECT_EQ(reported.back(), 100);
}

TEST(CsvImport, Failures) {
  TGridModel m;
  m.SetRawCell(1, 1, "kept");
  try {
    m.ImportCSVText("", -1);
    FAIL() << "no error";
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "File is empty");
  }
  EXPECT_EQ(m.GetRawCell(1, 1), "kept");
  EXPECT_EQ(m.RowCount(), 5);
  EXPECT_THROW(m.ImportCSV("/nonexistent/file.csv", -1), rtl::EFOpenError);
  std::vector<std::string> loaded;
  m.OnLoadCell = [&](Integer c, Integer r, AnsiString& v) {
    loaded.push_back(v);
    v += "!";
  };
  m.ImportCSVText("a,b\n", -1);
  EXPECT_EQ(loaded, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(m.GetRawCell(1, 0), "b!");
}

namespace {

// Python's csv module reading the file with the delimiter, cells joined by
// unit separators, rows by record separators.
Rows PythonCsv(const std::string& path, char delimiter) {
  const std::string script =
      "import csv,sys\n"
      "f=open(sys.argv[1],newline='',encoding='utf-8')\n"
      "out=sys.stdout.buffer\n"
      "for row in csv.reader(f,delimiter=sys.argv[2]):\n"
      "  out.write('\\x1f'.join(row).encode('utf-8')+b'\\x1e')\n";
  const std::string scriptPath = std::string(TOLVANE_BIN_DIR) + "/grid_csv_peer.py";
  std::ofstream(scriptPath) << script;
  const std::string command = "python3 '" + scriptPath + "' '" + path + "' '" + std::string(1, delimiter) + "'";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  pclose(pipe);
  Rows rows;
  size_t start = 0;
  for (size_t i = 0; i < output.size(); ++i) {
    if (output[i] != '\x1e') continue;
    std::vector<std::string> row;
    const std::string line = output.substr(start, i - start);
    size_t s = 0;
    if (!line.empty()) {
      for (size_t j = 0; j <= line.size(); ++j) {
        if (j == line.size() || line[j] == '\x1f') {
          row.push_back(line.substr(s, j - s));
          s = j + 1;
        }
      }
    }
    while (!row.empty() && row.back().empty()) row.pop_back();
    rows.push_back(row);
    start = i + 1;
  }
  return rows;
}

void CompareWithPython(const std::string& path) {
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not installed";
  TFileStringList lines;
  lines.LoadFromFile(path);
  ASSERT_GT(lines.Count(), 1);
  const char delimiter = DetectCSVDelimiter(lines[0], lines[1]);
  ASSERT_NE(delimiter, 0);
  TGridModel m;
  m.ImportCSV(path, -1);
  const Rows expected = PythonCsv(path, delimiter);
  const Rows actual = Cells(m);
  ASSERT_EQ(actual.size(), expected.size()) << path;
  for (size_t r = 0; r < expected.size(); ++r) ASSERT_EQ(actual[r], expected[r]) << path << " row " << r;
}

}  // namespace

TEST(CsvImport, DistroInfoFilesReadAsPythonReadsThem) {
  CompareWithPython("/usr/share/distro-info/debian.csv");
  CompareWithPython("/usr/share/distro-info/ubuntu.csv");
}

TEST(CsvImport, UnicodeDataReadsAsPythonReadsIt) {
  CompareWithPython("/usr/share/unicode/UnicodeData.txt");
}

TEST(CsvImport, FloatingFooterRowStaysLast) {
  // Fewer lines than rows and more lines than rows: the footer row ends
  // last either way, emptied, with the properties its cells carried.
  for (const int lines : {2, 30}) {
    TGridModel m;
    m.SetRowCount(10);
    m.SetFixedFooters(1);
    m.SetFooterRowShown(true);
    m.CellProperties(1, 9).CalcType = 1;
    m.SetRawCell(1, 9, "old total");
    std::string text;
    for (int i = 0; i < lines; ++i) text += "a" + std::to_string(i) + ",b\n";
    m.ImportCSVText(text, -1);
    EXPECT_EQ(m.RowCount(), lines + 1);
    const Integer last = m.RowCount() - 1;
    EXPECT_EQ(m.GetRawCell(0, last - 1), "a" + std::to_string(lines - 1));
    EXPECT_EQ(m.GetRawCell(1, last), "");
    ASSERT_NE(m.GetRawObject(1, last), nullptr);
    EXPECT_EQ(m.GetRawObject(1, last)->CalcType, 1);
    EXPECT_EQ(m.GetRawObject(1, last)->OwnerRow, last);
    m.Check();
  }
}
