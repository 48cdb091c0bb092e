#pragma once
// The grid's plain-text clipboard form: cells separated by tabs, rows by
// carriage return and line feed, a block of more than one row ending every
// row (the last included) with the line end, a single row none.
//
// A cell whose text holds a line break, a tab or a double quote is written
// quoted, as spreadsheets and Python's csv module (excel-tab) write it: the
// text inside double quotes, inner quotes doubled, each line break (CR LF,
// a lone CR or LF) one line feed. Reading takes a field that begins with a
// quote and whose closing quote stands before a tab, a line end or the end
// of the text as such a quoted field (it may span lines); the quotes come
// off, doubled quotes become one and each line feed becomes CR LF again.
// Any other field is taken as it stands, and outside quotes CR LF, a lone
// CR and a lone LF each end a line.
#include <string_view>
#include <vector>

#include "grid/model/GridTypes.h"

namespace grid {

// The copy form of one cell's text.
AnsiString ClipField(std::string_view text);
// The packed copy form of a multi-line cell: each CR LF one vertical tab,
// then quoted (inner quotes doubled) even when nothing else asks for it.
AnsiString PackedClipField(std::string_view text);

// Builds the text of a block row by row: Cell takes a cell's text as the
// grid holds it and writes its copy form.
class TClipTextWriter {
 public:
  // rowCount: the rows the block will have (more than one: every row ends
  // with CR LF).
  explicit TClipTextWriter(Integer rowCount) : multiRow_(rowCount > 1) {}
  void Cell(std::string_view text) { AddField(ClipField(text)); }
  // A field already in copy form.
  void AddField(std::string_view field);
  void EndRow();
  const AnsiString& Text() const { return text_; }

 private:
  AnsiString text_;
  bool multiRow_;
  bool rowStarted_ = false;
};

// Cell texts as tab-separated clipboard text.
AnsiString BuildClipText(const std::vector<std::vector<AnsiString>>& rows);

// A clipboard text taken apart.
struct TClipText {
  // The fields of each line, decoded.
  std::vector<std::vector<AnsiString>> Lines;
  // Every field, the one field of an empty last line included.
  Integer Count = 0;
  // The fields of the last line.
  Integer Cols = 0;
  Integer Rows() const { return static_cast<Integer>(Lines.size()); }
  // The text's last field is empty (an empty text, or one ending with a
  // line end or a tab); a paste skips it.
  bool LastFieldEmpty = false;
  // The cells a paste fills: Count without an empty last field.
  Integer PastedCount() const { return LastFieldEmpty ? Count - 1 : Count; }
};

TClipText ParseClipText(std::string_view text);

}  // namespace grid
