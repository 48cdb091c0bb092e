#include <gtest/gtest.h>

#include <cstring>

#include "dropdown/text/WideStr.h"

namespace dropdown {
namespace {

TEST(WideStr, LengthStopsAtTheTerminatingZero) {
  EXPECT_EQ(WideStrLen(nullptr), 0u);
  EXPECT_EQ(WideStrLen(u""), 0u);
  EXPECT_EQ(WideStrLen(u"abc"), 3u);
  const char16_t embedded[] = {u'a', 0, u'b', 0};
  EXPECT_EQ(WideStrLen(embedded), 1u);
}

TEST(WideStr, MoveCopiesOverlappingAreasEitherWay) {
  char16_t buf[10] = u"abcdefg";
  // Five characters from position 0 to position 2: copied backwards.
  WideStrMove(buf + 2, buf, 5);
  EXPECT_EQ(std::u16string(buf, 7), u"ababcde");
  char16_t down[10] = u"abcdefg";
  WideStrMove(down, down + 2, 5);
  EXPECT_EQ(std::u16string(down, 7), u"cdefgfg");
  char16_t same[4] = u"xyz";
  WideStrMove(same, same, 3);
  EXPECT_EQ(std::u16string(same), u"xyz");
}

TEST(WideStr, AllocCarriesItsByteSizeAndIsZeroed) {
  TWideStrBlock b = WideStrAlloc(5);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(WideStrBufSize(b.get()), 5u * 2 + 4);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(b.get()[i], 0);
  TWideStrBlock empty = WideStrAlloc(0);
  EXPECT_EQ(WideStrBufSize(empty.get()), 4u);
}

TEST(WideStr, NewCopiesWithTheTerminator) {
  EXPECT_EQ(WideStrNew(nullptr), nullptr);
  TWideStrBlock b = WideStrNew(u"\u4E2Dx\U0001F600");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(std::u16string(b.get()), u"\u4E2Dx\U0001F600");
  EXPECT_EQ(WideStrBufSize(b.get()), (4u + 1) * 2 + 4);
}

}  // namespace
}  // namespace dropdown
