#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"

namespace rtl {
namespace {

// The code pages documents name by charset, and the other single-byte ones
// the layer offers.
const Integer kSingleByte[] = {1250,  1251,  1252,  1253,  1254,  1255,  1256,  1257,  1258,
                               874,   28591, 28592, 28593, 28594, 28595, 28596, 28597, 28598,
                               28599, 28603, 28605, 437,   850,   852,   855,   860,   866,
                               20866, 21866, 20880, 20127};

TEST(CodePages, TheSystemCodePageIsUtf8) {
  EXPECT_EQ(GetACP(), 65001);
  EXPECT_EQ(DecodeCodePage(CP_ACP, "\xC3\xA4"), u"\u00E4");
}

TEST(CodePages, EveryDefinedByteOfEverySingleByteCodePageRoundTrips) {
  for (Integer cp : kSingleByte) {
    ASSERT_TRUE(IsCodePageSupported(cp)) << cp;
    ASSERT_TRUE(IsSingleByteCodePage(cp)) << cp;
    int defined = 0;
    for (int b = 0; b < 256; ++b) {
      std::string byte(1, static_cast<char>(b));
      WideString w = DecodeCodePage(cp, byte);
      ASSERT_EQ(w.size(), 1u) << cp << " byte " << b;
      if (w[0] == 0xFFFD) continue;
      ++defined;
      EncodeResult r = EncodeCodePage(cp, w);
      EXPECT_EQ(r.bytes, byte) << "code page " << cp << " byte " << b;
      EXPECT_FALSE(r.Lossy()) << "code page " << cp << " byte " << b;
    }
    EXPECT_GE(defined, 128) << cp;
    // A whole run of all defined bytes converts the same as byte by byte.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    WideString w = DecodeCodePage(cp, all);
    std::string back = EncodeCodePage(cp, w).bytes;
    ASSERT_EQ(back.size(), all.size());
    for (size_t b = 0; b < 256; ++b) {
      if (w[b] != 0xFFFD) {
        EXPECT_EQ(back[b], all[b]) << cp << " byte " << b;
      }
    }
  }
}

TEST(CodePages, KnownCharacters) {
  struct Case {
    Integer cp;
    const char* bytes;
    const char16_t* text;
  } cases[] = {
      {1252, "\x80", u"\u20AC"},
      {1252, "\x9F", u"\u0178"},
      {1252, "\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},  // unassigned: C1 controls
      {1251, "\xCF\xF0\xE8", u"\u041F\u0440\u0438"},
      {1250, "\x8A", u"\u0160"},
      {1253, "\xC1", u"\u0391"},
      {1255, "\xE0\xE1", u"\u05D0\u05D1"},  // no composing of neighbours
      {1258, "A\xEC", u"A\u0301"},
      {28591, "\xE9\x80", u"\u00E9\u0080"},
      {28605, "\xA4", u"\u20AC"},
      {20866, "\xC1", u"\u0430"},
      {21866, "\xA4", u"\u0454"},
      {866, "\x80", u"\u0410"},
      {852, "\xA5", u"\u0105"},
      {20880, "\xC1", u"A"},
      {874, "\xA1", u"\u0E01"},
      {932, "\x93\xFA\x96\x7B", u"\u65E5\u672C"},
      {936, "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
      {949, "\xC7\xD1", u"\uD55C"},
      {950, "\xA4\xA4", u"\u4E2D"},
      {65001, "\xF0\x9F\x98\x80", u"\U0001F600"},
      {1200, "A\0\xAC\x20", u"A\u20AC"},
      {1201, "\0A\x20\xAC", u"A\u20AC"},
      {65000, "Hi +AMQ-", u"Hi \u00C4"},
      {12000, "A\0\0\0", u"A"},
  };
  for (const auto& c : cases) {
    std::string bytes(c.bytes, std::char_traits<char>::length(c.bytes));
    if (c.cp == 1200 || c.cp == 1201) bytes.assign(c.bytes, 4);
    if (c.cp == 12000) bytes.assign(c.bytes, 4);
    EXPECT_EQ(DecodeCodePage(c.cp, bytes), c.text) << c.cp;
    EncodeResult r = EncodeCodePage(c.cp, c.text);
    EXPECT_EQ(r.bytes, bytes) << c.cp;
    EXPECT_FALSE(r.Lossy()) << c.cp;
  }
}

TEST(CodePages, AppendingCodePointsAtTheEncodingBoundaries) {
  struct Case {
    char32_t cp;
    const char* utf8;
    std::u16string utf16;
  } cases[] = {
      {0x41, "A", u"A"},
      {0x7F, "\x7F", u"\x7F"},
      {0x80, "\xC2\x80", u"\x80"},
      {0x7FF, "\xDF\xBF", u"\u07FF"},
      {0x800, "\xE0\xA0\x80", u"\u0800"},
      {0xFFFD, "\xEF\xBF\xBD", u"\uFFFD"},
      {0xFFFF, "\xEF\xBF\xBF", u"\uFFFF"},
      {0x10000, "\xF0\x90\x80\x80", u"\U00010000"},
      {0x1F600, "\xF0\x9F\x98\x80", u"\U0001F600"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<unsigned>(c.cp));
    std::string utf8 = "x";
    AppendUtf8(utf8, c.cp);
    EXPECT_EQ(utf8, std::string("x") + c.utf8);
    WideString utf16 = u"x";
    AppendUtf16(utf16, c.cp);
    EXPECT_EQ(utf16, u"x" + c.utf16);
    // Both spell the same character.
    EXPECT_EQ(Utf8ToWide(utf8), utf16);
  }
}

TEST(CodePages, InvalidUtf8BecomesReplacementCharacters) {
  struct Case {
    const char* bytes;
    const char16_t* text;
  } cases[] = {
      {"\x80", u"\uFFFD"},
      {"a\xC3", u"a\uFFFD"},
      {"\xC3\x28", u"\uFFFD("},
      {"\xE2\x82", u"\uFFFD"},
      {"\xE2\x82x", u"\uFFFDx"},
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
      {"\xC0\xAF", u"\uFFFD\uFFFD"},             // overlong
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},   // overlong
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xFF\xFE", u"\uFFFD\uFFFD"},
      {"ok \xE2\x82\xAC", u"ok \u20AC"},
      {"\xEF\xBB\xBFx", u"\uFEFFx"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(IsValidUtf8(c.bytes), std::u16string_view(c.text).find(u'\uFFFD') == WideString::npos);
  }
  EXPECT_EQ(WideToUtf8(u"\U0001F600\u00E4"), "\xF0\x9F\x98\x80\xC3\xA4");
  EXPECT_EQ(WideToUtf8(WideString(u"\xD800x")), "\xEF\xBF\xBDx");
  EXPECT_EQ(WideToUtf8(WideString(u"x\xDC00")), "x\xEF\xBF\xBD");
  EncodeResult lone = EncodeCodePage(65001, WideString(u"a\xD800"));
  EXPECT_EQ(lone.unmappable, std::vector<Integer>{1});
}

TEST(CodePages, InvalidBytesInOtherCodePages) {
  EXPECT_EQ(DecodeCodePage(1253, "\xAA"), u"\uFFFD");  // unassigned in windows-1253
  EXPECT_EQ(DecodeCodePage(28596, "\xA1"), u"\uFFFD");
  EXPECT_EQ(DecodeCodePage(20127, "a\x80"), u"a\uFFFD");
  EXPECT_EQ(DecodeCodePage(932, "\x93"), u"\uFFFD");        // truncated double-byte character
  EXPECT_EQ(DecodeCodePage(1200, std::string("A\0B", 3)), u"A\uFFFD");  // odd byte count
  WideString w = DecodeCodePage(936, "a\xFF" "b");
  EXPECT_EQ(w.front(), u'a');
  EXPECT_EQ(w.back(), u'b');
  EXPECT_NE(w.find(u'\uFFFD'), WideString::npos);
}

TEST(CodePages, UnmappableCharactersAreReported) {
  struct Case {
    Integer cp;
    const char16_t* text;
    const char* bytes;
    std::vector<Integer> unmappable;
  } cases[] = {
      {1252, u"a\u20AC\u0100b", "a\x80?b", {2}},
      {28591, u"\u20AC", "?", {0}},
      {20127, u"caf\u00E9", "caf?", {3}},
      {1251, u"\u00E4\u0416", "?\xC6", {0}},
      {1252, u"a\U0001F600b", "a?b", {1}},  // a surrogate pair is one character
      {1252, u"\u0160\u0161\u0152", "\x8A\x9A\x8C", {}},
      {932, u"\u65E5\u0100\u672C", "\x93\xFA?\x96\x7B", {1}},
      {936, u"\u4E2D\u0E01", "\xD6\xD0?", {1}},
      {866, u"\u0410\u00E9", "\x80?", {1}},
  };
  for (const auto& c : cases) {
    EncodeResult r = EncodeCodePage(c.cp, c.text);
    EXPECT_EQ(r.bytes, c.bytes) << c.cp;
    EXPECT_EQ(r.unmappable, c.unmappable) << c.cp;
    bool lossy = false;
    EXPECT_EQ(EncodeCodePage(c.cp, c.text, &lossy), c.bytes);
    EXPECT_EQ(lossy, !c.unmappable.empty());
  }
  // A stateful target stays well-formed around its stand-in.
  EncodeResult utf7 = EncodeCodePage(65000, WideString(u"\u00C4\xD800\u00C4"));
  EXPECT_EQ(utf7.unmappable, std::vector<Integer>{1});
  EXPECT_EQ(DecodeCodePage(65000, utf7.bytes), u"\u00C4?\u00C4");
}

TEST(CodePages, UnknownCodePagesRaise) {
  EXPECT_FALSE(IsCodePageSupported(12345));
  EXPECT_FALSE(IsSingleByteCodePage(65001));
  try {
    DecodeCodePage(12345, "x");
    ADD_FAILURE();
  } catch (const EEncodingError& e) {
    EXPECT_EQ(e.Message(), "Unsupported code page 12345");
  }
  EXPECT_THROW(EncodeCodePage(42, u"x"), EEncodingError);
}

TEST(CodePages, StoredTextFallsBackToWindows1252) {
  struct Case {
    std::string bytes;
    const char* text;
  } cases[] = {
      {"plain", "plain"},
      {"\xEF\xBB\xBF" "caf\xC3\xA9", "caf\xC3\xA9"},
      {"caf\xE9", "caf\xC3\xA9"},
      {"\x80 5", "\xE2\x82\xAC 5"},
      {"\xC3\xA9 and \xE9", "\xC3\x83\xC2\xA9 and \xC3\xA9"},  // not valid UTF-8 as a whole
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadStoredText(c.bytes), c.text) << c.bytes;
}

TEST(CodePages, ConversionsFromSeveralThreads) {
  const WideString text = u"\u65E5\u672C \u00E4\u00F6 \u20AC abc";
  const std::string expected932 = EncodeCodePage(932, u"\u65E5\u672C abc").bytes;
  std::vector<std::thread> threads;
  std::vector<int> failures(8, 0);
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 300; ++i) {
        Integer cp = (t % 2) ? 1252 : 932;
        EncodeResult r = EncodeCodePage(cp, text);
        WideString back = DecodeCodePage(cp, r.bytes);
        if (cp == 1252 && (r.Lossy() != true || back.substr(3) != text.substr(3))) ++failures[t];
        if (cp == 932 && EncodeCodePage(932, u"\u65E5\u672C abc").bytes != expected932) ++failures[t];
        if (DecodeCodePage(28595 + (i % 5), "abc") != u"abc") ++failures[t];
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < 8; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace rtl
