// Characters of editor lines: code points, with every byte outside a
// well-formed UTF-8 sequence a character of its own.
#include <gtest/gtest.h>

#include "memo/text/MemoChars.h"

using namespace memo;

namespace {

struct CharCase {
  const char* name;
  std::string text;
  Integer length;
  std::vector<size_t> sizes;  // byte size of each character, in order
};

const CharCase kCases[] = {
    {"ascii", "abc", 3, {1, 1, 1}},
    {"e acute", "\xC3\xA9", 1, {2}},
    {"CJK character", "\xE4\xB8\xAD", 1, {3}},
    {"four-byte emoji", "\xF0\x9F\x98\x80", 1, {4}},
    {"mixed", "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z", 5, {1, 2, 3, 4, 1}},
    {"lone continuation byte", "\x80", 1, {1}},
    {"Windows-1252 byte", "caf\xE9", 4, {1, 1, 1, 1}},
    {"truncated two-byte", "\xC3", 1, {1}},
    {"truncated three-byte", "\xE4\xB8", 2, {1, 1}},
    {"overlong slash", "\xC0\xAF", 2, {1, 1}},
    {"overlong three-byte", "\xE0\x80\xAF", 3, {1, 1, 1}},
    {"surrogate half", "\xED\xA0\x80", 3, {1, 1, 1}},
    {"above U+10FFFF", "\xF4\x90\x80\x80", 4, {1, 1, 1, 1}},
    {"F5 lead byte", "\xF5\x80\x80\x80", 4, {1, 1, 1, 1}},
    {"EUC-KR pair", "\xC7\xD1", 2, {1, 1}},
    {"NUL is a character", std::string("a\0b", 3), 3, {1, 1, 1}},
};

TEST(MemoChars, CharactersAndTheirBytes) {
  for (const CharCase& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CharLength(c.text), c.length);
    std::vector<size_t> sizes;
    for (size_t i = 0; i < c.text.size(); i += CharSizeAt(c.text, i)) sizes.push_back(CharSizeAt(c.text, i));
    EXPECT_EQ(sizes, c.sizes);
    // Column and byte offsets agree both ways, and TCharLine cuts alike.
    TCharLine line(c.text);
    EXPECT_EQ(line.Length(), c.length);
    size_t byte = 0;
    for (Integer col = 0; col <= c.length; ++col) {
      EXPECT_EQ(ByteOfChar(c.text, col), byte);
      EXPECT_EQ(CharOfByte(c.text, byte), col);
      if (col < c.length) {
        EXPECT_EQ(line.At(col), std::string_view(c.text).substr(byte, c.sizes[col]));
        EXPECT_EQ(CharAt(c.text, col), line.At(col));
        byte += c.sizes[col];
      }
    }
    EXPECT_EQ(ByteOfChar(c.text, c.length + 5), c.text.size());
  }
}

TEST(MemoChars, EditsNeverSplitACharacter) {
  std::string s = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z";
  EXPECT_EQ(CharCopy(s, 1, 2), "\xC3\xA9\xE4\xB8\xAD");
  EXPECT_EQ(CharCopy(s, -1, 2), "a");
  EXPECT_EQ(CharCopy(s, 3, 10), "\xF0\x9F\x98\x80z");
  EXPECT_EQ(CharHead(s, 2), "a\xC3\xA9");
  EXPECT_EQ(CharTail(s, 4), "z");
  std::string t = s;
  CharDelete(t, 2, 2);
  EXPECT_EQ(t, "a\xC3\xA9z");
  CharInsert(t, 1, "\xE4\xB8\xAD");
  EXPECT_EQ(t, "a\xE4\xB8\xAD\xC3\xA9z");
  CharInsert(t, 99, "!");
  EXPECT_EQ(t, "a\xE4\xB8\xAD\xC3\xA9z!");
  EXPECT_EQ(ByteAt(t, 1), '\xE4');
  EXPECT_EQ(ByteAt(t, 99), '\0');
  EXPECT_EQ(TCharLine(t).Slice(1, 2), "\xE4\xB8\xAD\xC3\xA9");
}

TEST(MemoChars, TabsAndTrimming) {
  std::string s = "a\tb\t";
  EXPECT_TRUE(ExpandTabs(s, 4));
  EXPECT_EQ(s, "a    b    ");
  std::string none = "ab";
  EXPECT_FALSE(ExpandTabs(none, 4));
  EXPECT_EQ(TrimRightControls(std::string("ab \t\r\x01", 6)), "ab");
  EXPECT_EQ(TrimRightControls(std::string("ab\0", 3)), "ab");
  EXPECT_EQ(TrimRightBlanks("ab \t "), "ab \t");
  EXPECT_EQ(TrimRightControls("\xC3\xA9 "), "\xC3\xA9");
}

}  // namespace
