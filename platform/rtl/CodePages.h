#pragma once
// Text conversions between code pages, UTF-8 and UTF-16.
//
// AnsiString holds UTF-8 (GetACP() answers 65001). Every other code page is
// reached explicitly: bytes that are not valid in their code page decode to
// U+FFFD, and characters a code page cannot hold are reported to the caller,
// never replaced by a look-alike.
//
// Supported code pages: 65001 (UTF-8), 65000 (UTF-7), 1200/1201 (UTF-16
// LE/BE), 12000/12001 (UTF-32 LE/BE), 20127 (US-ASCII), 874, 1250-1258,
// 28591-28599, 28603, 28605, 437, 850, 852, 855, 860, 866, 20866 (KOI8-R),
// 21866 (KOI8-U), 20880 (IBM EBCDIC Cyrillic), 932, 936, 949, 950.
// Code page 0 (the system's ANSI code page) means 65001.
//
// In the windows-125x code pages the bytes 0x80-0x9F that have no assigned
// character (0x81, 0x8D, 0x8F, 0x90, 0x9D in windows-1252, and the like)
// decode to the C1 control of the same value and encode back to that byte,
// as Windows does, so that a file read and written again keeps every byte.
// Other undefined bytes decode to U+FFFD.
//
// All functions are safe to call from several threads at once.
#include <string>
#include <string_view>
#include <vector>

#include "rtl/Types.h"

namespace rtl {

constexpr Integer CP_ACP = 0;
constexpr Integer CP_UTF7 = 65000;
constexpr Integer CP_UTF8 = 65001;

// The system's ANSI code page: always 65001.
Integer GetACP();

// UTF-8 to UTF-16. Each maximal invalid subsequence (stray continuation byte,
// truncated sequence, overlong form, encoded surrogate, value above U+10FFFF)
// becomes one U+FFFD. A leading byte-order mark is kept as U+FEFF.
WideString Utf8ToWide(std::string_view s);
// UTF-16 to UTF-8; a lone surrogate becomes the bytes of U+FFFD.
AnsiString WideToUtf8(std::u16string_view s);
// Short names for the same conversions.
inline WideString ToWide(std::string_view s) { return Utf8ToWide(s); }
inline AnsiString ToAnsi(std::u16string_view s) { return WideToUtf8(s); }

// Appends one code point (at most U+10FFFF) as its UTF-8 bytes, or as one
// UTF-16 unit or a surrogate pair.
void AppendUtf8(std::string& out, char32_t codePoint);
void AppendUtf16(WideString& out, char32_t codePoint);

// True when the string is well-formed UTF-8.
bool IsValidUtf8(std::string_view s);

// True when DecodeCodePage/EncodeCodePage accept the code page.
bool IsCodePageSupported(Integer codePage);
// True for the code pages whose characters are each one byte.
bool IsSingleByteCodePage(Integer codePage);

// Bytes in a code page to UTF-16; invalid bytes become U+FFFD. Raises
// EEncodingError "Unsupported code page %d" for an unknown code page.
WideString DecodeCodePage(Integer codePage, std::string_view bytes);

// The result of an encoding: the bytes, and the 0-based UTF-16 positions of
// the characters the code page could not hold. Each is written as "?"; in
// UTF-8 (where only a lone surrogate cannot be held) as U+FFFD. In UTF-16 a
// lone surrogate is kept as it is.
struct EncodeResult {
  std::string bytes;
  std::vector<Integer> unmappable;
  bool Lossy() const { return !unmappable.empty(); }
};
// UTF-16 to bytes in a code page. Raises EEncodingError "Unsupported code
// page %d" for an unknown code page.
EncodeResult EncodeCodePage(Integer codePage, std::u16string_view text);
// Same; *lossy (when given) tells whether any character was unmappable.
std::string EncodeCodePage(Integer codePage, std::u16string_view text, bool* lossy);

// 8-bit text read from a stored file: valid UTF-8 (a leading UTF-8 BOM is
// dropped) is returned as it is, anything else is taken as windows-1252 and
// converted to UTF-8.
AnsiString ReadStoredText(std::string_view bytes);

}  // namespace rtl
