// The grid's plain-text clipboard form, written and read, and against a
// peer: Python's csv module in its excel-tab dialect.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "grid/model/ClipText.h"

using namespace grid;

namespace {

using ClipCells = std::vector<std::vector<AnsiString>>;

AnsiString ClipCrLfToLf(const AnsiString& s) {
  AnsiString out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    out += s[i];
  }
  return out;
}

AnsiString ClipLfToCrLf(const AnsiString& s) {
  AnsiString out;
  for (char c : s) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string ClipReadPipe(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  if (pipe == nullptr) return output;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  pclose(pipe);
  return output;
}

// Rows of cells joined by unit and record separators.
ClipCells ClipSplitSeparated(const std::string& output) {
  ClipCells rows;
  size_t start = 0;
  for (size_t i = 0; i < output.size(); ++i) {
    if (output[i] != '\x1e') continue;
    std::vector<AnsiString> row;
    const std::string line = output.substr(start, i - start);
    size_t s = 0;
    for (size_t j = 0; j <= line.size(); ++j) {
      if (j == line.size() || line[j] == '\x1f') {
        row.push_back(line.substr(s, j - s));
        s = j + 1;
      }
    }
    rows.push_back(row);
    start = i + 1;
  }
  return rows;
}

// One run of Python's csv module (excel-tab), the interpreter being slow
// to start: it reads each text file as cells, then writes the cells of the
// last file (cells joined by unit and record separators) as text. The
// answers are joined by group separators.
std::vector<std::string> ClipPythonPeer(const std::vector<std::string>& texts, const ClipCells& cells) {
  const std::string dir = TOLVANE_BIN_DIR;
  const std::string script = dir + "/grid_clip_peer.py";
  std::ofstream(script) << "import csv,io,sys\n"
                           "out=sys.stdout.buffer\n"
                           "for name in sys.argv[1:-1]:\n"
                           "  f=open(name,newline='',encoding='utf-8')\n"
                           "  for row in csv.reader(f,dialect='excel-tab'):\n"
                           "    out.write('\\x1f'.join(row).encode('utf-8')+b'\\x1e')\n"
                           "  out.write(b'\\x1d')\n"
                           "raw=open(sys.argv[-1],'rb').read().decode('utf-8')\n"
                           "rows=[r.split('\\x1f') for r in raw.split('\\x1e')[:-1]]\n"
                           "s=io.StringIO(newline='')\n"
                           "csv.writer(s,dialect='excel-tab').writerows(rows)\n"
                           "out.write(s.getvalue().encode('utf-8'))\n";
  std::string command = "python3 '" + script + "'";
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string name = dir + "/grid_clip_peer" + std::to_string(i) + ".txt";
    std::ofstream(name, std::ios::binary) << texts[i];
    command += " '" + name + "'";
  }
  std::string joined;
  for (const auto& row : cells) {
    for (size_t i = 0; i < row.size(); ++i) joined += (i ? "\x1f" : "") + row[i];
    joined += '\x1e';
  }
  const std::string cellsName = dir + "/grid_clip_peer_cells.txt";
  std::ofstream(cellsName, std::ios::binary) << joined;
  command += " '" + cellsName + "'";
  const std::string output = ClipReadPipe(command);
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i < output.size(); ++i) {
    if (output[i] != '\x1d') continue;
    parts.push_back(output.substr(start, i - start));
    start = i + 1;
  }
  parts.push_back(output.substr(start));
  return parts;
}

// Cells with everything the copy form has to carry.
const ClipCells kClipAwkward = {
    {"plain", "tab\there", "say \"hi\"", ""},
    {"two\r\nlines", "", "caf\xC3\xA9 \xE2\x82\xAC", "\"quoted\""},
    {"", "end\r\n", "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80", "a\"b\tc\r\nd"},
};

}  // namespace

TEST(ClipText, CopyFormOfOneCell) {
  struct Case {
    const char* text;
    const char* copy;
  } cases[] = {
      {"abc", "abc"},
      {"", ""},
      {"a\tb", "\"a\tb\""},
      {"a\r\nb", "\"a\nb\""},  // one line feed per line break, not two
      {"a\rb", "\"a\nb\""},
      {"a\nb", "\"a\nb\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"caf\xC3\xA9", "caf\xC3\xA9"},
  };
  for (const auto& c : cases) EXPECT_EQ(ClipField(c.text), c.copy) << c.text;
  EXPECT_EQ(PackedClipField("a\r\nb \"c\""), "\"a\x0B" "b \"\"c\"\"\"");
}

TEST(ClipText, BlocksEndEveryRowButASingleRowNone) {
  EXPECT_EQ(BuildClipText({{"a", "b"}, {"c", "d"}}), "a\tb\r\nc\td\r\n");
  EXPECT_EQ(BuildClipText({{"a", "b", "c"}}), "a\tb\tc");
  EXPECT_EQ(BuildClipText({{"x"}}), "x");
  EXPECT_EQ(BuildClipText({{"1"}, {"2"}, {"3"}}), "1\r\n2\r\n3\r\n");
}

TEST(ClipText, ParsedCountsOfLinesAndFields) {
  struct Case {
    const char* text;
    Integer count, rows, cols, pasted;
  } cases[] = {
      {"a\r\nb\r\nc\r\n", 4, 4, 1, 3},  // a 3 x 1 column copy counts 4
      {"a\tb\r\nc\td\r\n", 5, 3, 1, 4},
      {"a\tb\tc", 3, 1, 3, 3},
      {"", 1, 1, 1, 0},
      {"a\t", 2, 1, 2, 1},
      {"a\nb\rc", 3, 3, 1, 3},  // lone LF and CR end lines too
      {"\"x\r\ny\"\tz\r\n", 3, 2, 1, 2},
  };
  for (const auto& c : cases) {
    const TClipText t = ParseClipText(c.text);
    EXPECT_EQ(t.Count, c.count) << c.text;
    EXPECT_EQ(t.Rows(), c.rows) << c.text;
    EXPECT_EQ(t.Cols, c.cols) << c.text;
    EXPECT_EQ(t.PastedCount(), c.pasted) << c.text;
  }
}

TEST(ClipText, QuotedFieldsComeBackAsTheCellTexts) {
  const TClipText t = ParseClipText("\"a\nb\"\t\"x\"\"y\"\r\n\"t\tu\"\tplain \"q\"\r\n");
  ASSERT_EQ(t.Rows(), 3);
  EXPECT_EQ(t.Lines[0], (std::vector<AnsiString>{"a\r\nb", "x\"y"}));
  EXPECT_EQ(t.Lines[1], (std::vector<AnsiString>{"t\tu", "plain \"q\""}));
  // A quote not closed before a delimiter, and one never closed: as given.
  EXPECT_EQ(ParseClipText("\"ab\"c\td").Lines[0], (std::vector<AnsiString>{"\"ab\"c", "d"}));
  EXPECT_EQ(ParseClipText("\"ab\tc\r\nd").Lines,
            (ClipCells{{"\"ab", "c"}, {"d"}}));
  // The packed form reads back with its line breaks.
  EXPECT_EQ(ParseClipText(PackedClipField("a\r\nb")).Lines[0][0], "a\r\nb");
}

TEST(ClipText, EveryCellSurvivesItsOwnRoundTrip) {
  const TClipText t = ParseClipText(BuildClipText(kClipAwkward));
  ASSERT_EQ(t.PastedCount(), 12);
  ClipCells back = t.Lines;
  back.pop_back();  // the empty line after the last line end
  EXPECT_EQ(back, kClipAwkward);
}

TEST(ClipText, AgainstPythonCsv) {
  // Cells as a peer holds them: line breaks as LF.
  ClipCells lf;
  for (const auto& row : kClipAwkward) {
    lf.emplace_back();
    for (const auto& cell : row) lf.back().push_back(ClipCrLfToLf(cell));
  }
  const std::vector<std::string> peer =
      ClipPythonPeer({BuildClipText(kClipAwkward), BuildClipText({kClipAwkward[2]})}, lf);
  ASSERT_EQ(peer.size(), 3u);
  // Python reads what the grid copies, a single row without line end too.
  EXPECT_EQ(ClipSplitSeparated(peer[0]), lf);
  EXPECT_EQ(ClipSplitSeparated(peer[1]), ClipCells{lf[2]});
  // What Python writes pastes into the same cells.
  ASSERT_FALSE(peer[2].empty());
  const TClipText t = ParseClipText(peer[2]);
  ASSERT_TRUE(t.LastFieldEmpty);
  ClipCells back = t.Lines;
  back.pop_back();
  ClipCells expected;
  for (const auto& row : lf) {
    expected.emplace_back();
    for (const auto& cell : row) expected.back().push_back(ClipLfToCrLf(cell));
  }
  EXPECT_EQ(back, expected);
}
