#include "rtl/CodePages.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "rtl/Exceptions.h"

namespace rtl {
namespace {

constexpr WideChar kReplacement = 0xFFFD;

enum class Kind { Utf8, Utf16LE, Utf16BE, SingleByte, Iconv };

struct CodePageInfo {
  Integer codePage;
  const char* iconvName;
  Kind kind;
  // Windows gives the unassigned bytes 0x80-0x9F of its 125x code pages the
  // C1 control of the same value; glibc rejects them.
  bool c1Fallback;
};

constexpr CodePageInfo kCodePages[] = {
    {65001, "UTF-8", Kind::Utf8, false},
    {65000, "UTF-7", Kind::Iconv, false},
    {1200, "UTF-16LE", Kind::Utf16LE, false},
    {1201, "UTF-16BE", Kind::Utf16BE, false},
    {12000, "UTF-32LE", Kind::Iconv, false},
    {12001, "UTF-32BE", Kind::Iconv, false},
    {20127, "ASCII", Kind::SingleByte, false},
    {874, "WINDOWS-874", Kind::SingleByte, false},
    {1250, "CP1250", Kind::SingleByte, true},
    {1251, "CP1251", Kind::SingleByte, true},
    {1252, "CP1252", Kind::SingleByte, true},
    {1253, "CP1253", Kind::SingleByte, true},
    {1254, "CP1254", Kind::SingleByte, true},
    {1255, "CP1255", Kind::SingleByte, true},
    {1256, "CP1256", Kind::SingleByte, true},
    {1257, "CP1257", Kind::SingleByte, true},
    {1258, "CP1258", Kind::SingleByte, true},
    {28591, "ISO-8859-1", Kind::SingleByte, false},
    {28592, "ISO-8859-2", Kind::SingleByte, false},
    {28593, "ISO-8859-3", Kind::SingleByte, false},
    {28594, "ISO-8859-4", Kind::SingleByte, false},
    {28595, "ISO-8859-5", Kind::SingleByte, false},
    {28596, "ISO-8859-6", Kind::SingleByte, false},
    {28597, "ISO-8859-7", Kind::SingleByte, false},
    {28598, "ISO-8859-8", Kind::SingleByte, false},
    {28599, "ISO-8859-9", Kind::SingleByte, false},
    {28603, "ISO-8859-13", Kind::SingleByte, false},
    {28605, "ISO-8859-15", Kind::SingleByte, false},
    {437, "IBM437", Kind::SingleByte, false},
    {850, "IBM850", Kind::SingleByte, false},
    {852, "IBM852", Kind::SingleByte, false},
    {855, "IBM855", Kind::SingleByte, false},
    {860, "IBM860", Kind::SingleByte, false},
    {866, "IBM866", Kind::SingleByte, false},
    {20866, "KOI8-R", Kind::SingleByte, false},
    {21866, "KOI8-U", Kind::SingleByte, false},
    {20880, "IBM880", Kind::SingleByte, false},
    {932, "CP932", Kind::Iconv, false},
    {936, "CP936", Kind::Iconv, false},
    {949, "CP949", Kind::Iconv, false},
    {950, "CP950", Kind::Iconv, false},
};
constexpr size_t kCodePageCount = sizeof(kCodePages) / sizeof(kCodePages[0]);

int FindCodePage(Integer codePage) {
  if (codePage == CP_ACP) codePage = CP_UTF8;
  for (size_t i = 0; i < kCodePageCount; ++i)
    if (kCodePages[i].codePage == codePage) return static_cast<int>(i);
  return -1;
}

const CodePageInfo& RequireCodePage(Integer codePage) {
  int i = FindCodePage(codePage);
  if (i < 0) throw EEncodingError("Unsupported code page " + std::to_string(codePage));
  return kCodePages[i];
}

void AppendUtf16LE(std::string& out, WideChar c) {
  out += static_cast<char>(c & 0xFF);
  out += static_cast<char>(c >> 8);
}

// Runs one iconv conversion step; returns false with errno set on failure.
bool IconvStep(iconv_t cd, const char*& in, size_t& inLeft, std::string& out) {
  char buf[1024];
  while (true) {
    char* outPtr = buf;
    size_t outLeft = sizeof(buf);
    char* inPtr = const_cast<char*>(in);
    size_t r = iconv(cd, in ? &inPtr : nullptr, in ? &inLeft : nullptr, &outPtr, &outLeft);
    int err = errno;
    if (in) in = inPtr;
    out.append(buf, static_cast<size_t>(outPtr - buf));
    if (r != static_cast<size_t>(-1)) return true;
    if (err != E2BIG) {
      errno = err;
      return false;
    }
  }
}

// glibc loads and unloads its converter modules inside iconv_open and
// iconv_close; two threads doing that at once race inside the dynamic
// loader. Opening and closing are rare, so one lock serialises them.
std::mutex& IconvOpenLock() {
  static std::mutex lock;
  return lock;
}

iconv_t OpenIconv(const char* to, const char* from) {
  std::lock_guard<std::mutex> guard(IconvOpenLock());
  return iconv_open(to, from);
}

void CloseIconv(iconv_t cd) {
  std::lock_guard<std::mutex> guard(IconvOpenLock());
  iconv_close(cd);
}

// One conversion descriptor per code page, direction and thread, opened on
// first use, so threads never share iconv state.
class IconvCache {
 public:
  ~IconvCache() {
    for (auto& [key, cd] : map_) CloseIconv(cd);
  }
  iconv_t Get(const char* to, const char* from, int key) {
    auto it = map_.find(key);
    if (it != map_.end()) {
      iconv(it->second, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
      return it->second;
    }
    iconv_t cd = OpenIconv(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
      throw EEncodingError(std::string("Cannot open the conversion from ") + from + " to " + to);
    map_.emplace(key, cd);
    return cd;
  }

 private:
  std::unordered_map<int, iconv_t> map_;
};

iconv_t ThreadIconv(const CodePageInfo& info, bool toUnicode) {
  thread_local IconvCache cache;
  int key = info.codePage * 2 + (toUnicode ? 1 : 0);
  return toUnicode ? cache.Get("UTF-16LE", info.iconvName, key)
                   : cache.Get(info.iconvName, "UTF-16LE", key);
}

WideString FromUtf16LEBytes(std::string_view b) {
  WideString r;
  r.reserve(b.size() / 2);
  for (size_t i = 0; i + 1 < b.size(); i += 2)
    r += static_cast<WideChar>(static_cast<unsigned char>(b[i]) |
                               (static_cast<unsigned char>(b[i + 1]) << 8));
  return r;
}

// ---- single-byte code pages: a table built once per code page ----

struct SingleByteTable {
  WideChar toWide[256];
  std::unordered_map<WideChar, unsigned char> toByte;
};

SingleByteTable BuildTable(const CodePageInfo& info) {
  SingleByteTable t;
  iconv_t cd = OpenIconv("UTF-16LE", info.iconvName);
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw EEncodingError(std::string("Cannot open the conversion from ") + info.iconvName);
  for (int b = 0; b < 256; ++b) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char byte = static_cast<char>(b);
    const char* in = &byte;
    size_t inLeft = 1;
    std::string out;
    bool ok = IconvStep(cd, in, inLeft, out);
    // Some converters hold a character back, waiting for a combining mark.
    const char* none = nullptr;
    size_t zero = 0;
    if (ok) ok = IconvStep(cd, none, zero, out);
    WideString w = FromUtf16LEBytes(out);
    WideChar c = (ok && inLeft == 0 && w.size() == 1) ? w[0] : kReplacement;
    if (c == kReplacement && info.c1Fallback && b >= 0x80 && b <= 0x9F) c = static_cast<WideChar>(b);
    t.toWide[b] = c;
  }
  CloseIconv(cd);
  for (int b = 0; b < 256; ++b)
    if (t.toWide[b] != kReplacement) t.toByte.emplace(t.toWide[b], static_cast<unsigned char>(b));
  return t;
}

const SingleByteTable& TableFor(int index) {
  static std::once_flag once[kCodePageCount];
  static std::unique_ptr<SingleByteTable> tables[kCodePageCount];
  std::call_once(once[index], [index] {
    tables[index] = std::make_unique<SingleByteTable>(BuildTable(kCodePages[index]));
  });
  return *tables[index];
}

// ---- UTF-8 ----

// Decodes one well-formed sequence at s[i]; returns its length, or the length
// of the maximal invalid subpart (at least 1) with ok = false.
size_t DecodeUtf8At(std::string_view s, size_t i, char32_t& cp, bool& ok) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b0 = byte(i);
  ok = false;
  if (b0 < 0x80) {
    cp = b0;
    ok = true;
    return 1;
  }
  size_t need;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;  // no encoded surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 1;
  }
  size_t k = 1;
  for (; k <= need; ++k) {
    if (i + k >= s.size()) return k;
    unsigned char b = byte(i + k);
    if (b < lo || b > hi) return k;
    lo = 0x80;
    hi = 0xBF;
    cp = (cp << 6) | (b & 0x3F);
  }
  ok = true;
  return k;
}

bool IsHigh(WideChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(WideChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Walks UTF-16 text by code point; lone surrogates come out as `lone`.
template <typename F>
void ForEachCodePoint(std::u16string_view s, F f) {
  for (size_t i = 0; i < s.size(); ++i) {
    WideChar c = s[i];
    if (IsHigh(c) && i + 1 < s.size() && IsLow(s[i + 1])) {
      f(i, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00), true);
      ++i;
    } else {
      f(i, char32_t(c), !(IsHigh(c) || IsLow(c)));
    }
  }
}

EncodeResult EncodeUtf8(std::u16string_view text) {
  EncodeResult r;
  r.bytes.reserve(text.size());
  ForEachCodePoint(text, [&](size_t pos, char32_t cp, bool valid) {
    if (!valid) {
      r.unmappable.push_back(static_cast<Integer>(pos));
      cp = kReplacement;
    }
    AppendUtf8(r.bytes, cp);
  });
  return r;
}

EncodeResult EncodeSingleByte(const SingleByteTable& t, std::u16string_view text) {
  EncodeResult r;
  r.bytes.reserve(text.size());
  ForEachCodePoint(text, [&](size_t pos, char32_t cp, bool valid) {
    auto it = (valid && cp < 0x10000) ? t.toByte.find(static_cast<WideChar>(cp)) : t.toByte.end();
    if (it == t.toByte.end()) {
      r.unmappable.push_back(static_cast<Integer>(pos));
      r.bytes += '?';
    } else {
      r.bytes += static_cast<char>(it->second);
    }
  });
  return r;
}

EncodeResult EncodeUtf16(std::u16string_view text, bool bigEndian) {
  EncodeResult r;
  r.bytes.reserve(text.size() * 2);
  for (WideChar c : text) {
    char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    r.bytes += bigEndian ? hi : lo;
    r.bytes += bigEndian ? lo : hi;
  }
  return r;
}

WideString DecodeUtf16(std::string_view b, bool bigEndian) {
  WideString r;
  r.reserve(b.size() / 2);
  for (size_t i = 0; i + 1 < b.size(); i += 2) {
    unsigned first = static_cast<unsigned char>(b[i]), second = static_cast<unsigned char>(b[i + 1]);
    r += static_cast<WideChar>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  if (b.size() % 2) r += kReplacement;
  return r;
}

WideString DecodeIconv(const CodePageInfo& info, std::string_view bytes) {
  iconv_t cd = ThreadIconv(info, true);
  std::string out;
  out.reserve(bytes.size() * 2);
  const char* in = bytes.data();
  size_t inLeft = bytes.size();
  while (inLeft > 0) {
    if (IconvStep(cd, in, inLeft, out)) break;
    if (errno == EILSEQ) {
      AppendUtf16LE(out, kReplacement);
      ++in;
      --inLeft;
    } else {  // EINVAL: the text ends inside a character
      AppendUtf16LE(out, kReplacement);
      break;
    }
  }
  const char* none = nullptr;
  size_t zero = 0;
  IconvStep(cd, none, zero, out);
  return FromUtf16LEBytes(out);
}

EncodeResult EncodeIconv(const CodePageInfo& info, std::u16string_view text) {
  iconv_t cd = ThreadIconv(info, false);
  std::string le;
  le.reserve(text.size() * 2);
  for (WideChar c : text) AppendUtf16LE(le, c);
  EncodeResult r;
  const char* in = le.data();
  size_t inLeft = le.size();
  while (inLeft > 0) {
    if (IconvStep(cd, in, inLeft, r.bytes)) break;
    size_t pos = (le.size() - inLeft) / 2;
    size_t skip = (IsHigh(text[pos]) && pos + 1 < text.size() && IsLow(text[pos + 1])) ? 4 : 2;
    if (errno != EILSEQ) skip = inLeft;  // EINVAL: a trailing high surrogate
    r.unmappable.push_back(static_cast<Integer>(pos));
    // The stand-in goes through the converter too, so a stateful target
    // (UTF-7) stays well-formed.
    static const char kQuestion[2] = {'?', 0};
    const char* q = kQuestion;
    size_t qLeft = 2;
    IconvStep(cd, q, qLeft, r.bytes);
    in += skip;
    inLeft -= skip;
  }
  const char* none = nullptr;
  size_t zero = 0;
  IconvStep(cd, none, zero, r.bytes);
  return r;
}

}  // namespace

void AppendUtf16(WideString& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<WideChar>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<WideChar>(0xD800 + (cp >> 10));
    out += static_cast<WideChar>(0xDC00 + (cp & 0x3FF));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

Integer GetACP() { return CP_UTF8; }

WideString Utf8ToWide(std::string_view s) {
  WideString r;
  r.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    char32_t cp = 0;
    bool ok;
    size_t n = DecodeUtf8At(s, i, cp, ok);
    AppendUtf16(r, ok ? cp : kReplacement);
    i += n;
  }
  return r;
}

AnsiString WideToUtf8(std::u16string_view s) { return EncodeUtf8(s).bytes; }

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    char32_t cp;
    bool ok;
    i += DecodeUtf8At(s, i, cp, ok);
    if (!ok) return false;
  }
  return true;
}

bool IsCodePageSupported(Integer codePage) { return FindCodePage(codePage) >= 0; }

bool IsSingleByteCodePage(Integer codePage) {
  int i = FindCodePage(codePage);
  return i >= 0 && kCodePages[i].kind == Kind::SingleByte;
}

WideString DecodeCodePage(Integer codePage, std::string_view bytes) {
  const CodePageInfo& info = RequireCodePage(codePage);
  switch (info.kind) {
    case Kind::Utf8:
      return Utf8ToWide(bytes);
    case Kind::Utf16LE:
      return DecodeUtf16(bytes, false);
    case Kind::Utf16BE:
      return DecodeUtf16(bytes, true);
    case Kind::SingleByte: {
      const SingleByteTable& t = TableFor(FindCodePage(codePage));
      WideString r(bytes.size(), u'\0');
      for (size_t i = 0; i < bytes.size(); ++i) r[i] = t.toWide[static_cast<unsigned char>(bytes[i])];
      return r;
    }
    case Kind::Iconv:
      return DecodeIconv(info, bytes);
  }
  return WideString();
}

EncodeResult EncodeCodePage(Integer codePage, std::u16string_view text) {
  const CodePageInfo& info = RequireCodePage(codePage);
  switch (info.kind) {
    case Kind::Utf8:
      return EncodeUtf8(text);
    case Kind::Utf16LE:
      return EncodeUtf16(text, false);
    case Kind::Utf16BE:
      return EncodeUtf16(text, true);
    case Kind::SingleByte:
      return EncodeSingleByte(TableFor(FindCodePage(codePage)), text);
    case Kind::Iconv:
      return EncodeIconv(info, text);
  }
  return EncodeResult();
}

std::string EncodeCodePage(Integer codePage, std::u16string_view text, bool* lossy) {
  EncodeResult r = EncodeCodePage(codePage, text);
  if (lossy) *lossy = r.Lossy();
  return std::move(r.bytes);
}

AnsiString ReadStoredText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return AnsiString(bytes);
  }
  return WideToUtf8(DecodeCodePage(1252, bytes));
}

}  // namespace rtl
