#pragma once
// Reading delimited text files into a grid: the file as lines with a read
// cursor, and the choice of the delimiter from a file's first two lines.
#include <string_view>
#include <vector>

#include "grid/model/GridTypes.h"

namespace grid {

// A file's lines (ended by CR, LF or both) with a read cursor.
class TFileStringList {
 public:
  // The file's bytes, read whole; raises EFOpenError when it cannot be read.
  void LoadFromFile(const AnsiString& fileName);
  void SetText(std::string_view bytes);
  Integer Count() const { return static_cast<Integer>(lines_.size()); }
  const AnsiString& operator[](Integer index) const { return lines_.at(index); }
  void Reset() { cursor_ = 0; }
  bool Eof() const { return cursor_ >= Count(); }
  AnsiString ReadLine() { return lines_.at(cursor_++); }

 private:
  std::vector<AnsiString> lines_;
  Integer cursor_ = 0;
};

// The delimiters tried, in order of preference.
inline constexpr std::string_view CSVDelimiterCandidates = ",;#\t|@*-+&";

// The delimiter of a file from its first two lines: the candidate found the
// same number of times, single occurrences counted, in both lines and most
// often; then the same with every occurrence counted; then the candidate
// found most often in either line. Earlier candidates win ties; 0 when no
// candidate occurs.
char DetectCSVDelimiter(std::string_view line1, std::string_view line2);

}  // namespace grid
