#pragma once
// Characters of the code editor's lines. A line holds UTF-8; everything the
// editor counts in characters (columns, line lengths, offsets, TAB
// expansion, selections, word scans) counts code points, so one character is
// one cell and no edit ever splits one. A byte that does not start a
// well-formed sequence is a character of its own and is kept byte for byte,
// so text in another code page survives a load and a save unchanged.
// Lines of plain ASCII take the byte-string shortcut everywhere.
#include <string_view>
#include <vector>

#include "rtl/Types.h"

namespace memo {

using rtl::AnsiString;
using rtl::Integer;

// Bytes of the character that starts at s[i] (1 for a byte outside a
// well-formed sequence); i must be below s.size().
size_t CharSizeAt(std::string_view s, size_t i);
// True when every byte is below 0x80.
bool IsAscii(std::string_view s);
// Number of characters.
Integer CharLength(std::string_view s);
// Byte offset of character col (0 for col <= 0, s.size() past the end).
size_t ByteOfChar(std::string_view s, Integer col);
// Number of characters in the first `bytes` bytes.
Integer CharOfByte(std::string_view s, size_t bytes);

// count characters from col (0-based), clamped to the text.
AnsiString CharCopy(std::string_view s, Integer col, Integer count);
// s from col to its end.
AnsiString CharTail(std::string_view s, Integer col);
// The first count characters.
AnsiString CharHead(std::string_view s, Integer count);
void CharDelete(AnsiString& s, Integer col, Integer count);
// Inserts text before character col (at the end when col is past it).
void CharInsert(AnsiString& s, Integer col, std::string_view text);
// The bytes of character col; empty past the end.
std::string_view CharAt(std::string_view s, Integer col);
// The first byte of character col, or 0 past the end: enough for every test
// the editor makes against ASCII blanks, quotes and delimiters, since no byte
// of a multi-byte character is below 0x80.
char ByteAt(std::string_view s, Integer col);

// Replaces every TAB by exactly tabSize blanks; true when there was one.
bool ExpandTabs(AnsiString& s, Integer tabSize);
// s without its trailing characters of code 32 and below.
AnsiString TrimRightControls(std::string_view s);
// s without its trailing blanks (code 32 only).
AnsiString TrimRightBlanks(std::string_view s);

// A line cut into characters once, for scans that step through it.
class TCharLine {
 public:
  explicit TCharLine(std::string_view s);
  Integer Length() const { return length_; }
  // The bytes of character i (0-based); empty outside the line.
  std::string_view At(Integer i) const;
  // The first byte of character i; 0 outside the line.
  char Byte(Integer i) const;
  // Characters [from, from + count), clamped.
  std::string_view Slice(Integer from, Integer count) const;

 private:
  size_t Offset(Integer i) const;
  std::string_view s_;
  Integer length_ = 0;
  bool ascii_ = true;
  std::vector<uint32_t> starts_;  // byte offset of each character, plus the end
};

}  // namespace memo
