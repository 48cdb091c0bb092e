// Feeds arbitrary bytes to the text conversions and the formatters. Every
// input must either convert or raise the layer's own exceptions, and the
// UTF-8 and single-byte conversions must keep their round-trip promises.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"
#include "rtl/Format.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool HasLoneSurrogate(const std::u16string& w) {
  for (size_t i = 0; i < w.size(); ++i) {
    if (w[i] >= 0xD800 && w[i] <= 0xDBFF) {
      if (i + 1 >= w.size() || w[i + 1] < 0xDC00 || w[i + 1] > 0xDFFF) return true;
      ++i;
    } else if (w[i] >= 0xDC00 && w[i] <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

const int kCodePages[] = {1252, 1251, 1255, 28591, 20866, 20880, 932, 936, 949, 950, 65000, 1200};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);

  std::u16string w = rtl::Utf8ToWide(bytes);
  Check(!HasLoneSurrogate(w));
  std::string back = rtl::WideToUtf8(w);
  Check(rtl::IsValidUtf8(back));
  if (rtl::IsValidUtf8(bytes)) Check(back == bytes);

  if (size > 0) {
    int cp = kCodePages[data[0] % (sizeof(kCodePages) / sizeof(kCodePages[0]))];
    std::u16string decoded = rtl::DecodeCodePage(cp, bytes);
    rtl::EncodeResult r = rtl::EncodeCodePage(cp, decoded);
    if (rtl::IsSingleByteCodePage(cp)) {
      Check(decoded.size() == bytes.size());
      for (size_t i = 0; i < size; ++i)
        if (decoded[i] != 0xFFFD) Check(r.bytes[i] == bytes[i]);
    }
    rtl::EncodeCodePage(cp, w);
  }

  rtl::Integer i32, code;
  rtl::Int64 i64;
  double d;
  rtl::Val(bytes, i32, code);
  Check(code >= 0 && static_cast<size_t>(code) <= size + 1);
  rtl::Val(bytes, i64, code);
  rtl::TryStrToFloat(bytes, d);
  try {
    rtl::Format(bytes, 42, "text", 2.5, rtl::Int64{-7}, u"wide", 'c');
  } catch (const rtl::EConvertError&) {
  }
  try {
    rtl::FormatFloat(bytes, -1234.5678);
    rtl::FormatDateTime(bytes, 45351.6789);
  } catch (const rtl::EConvertError&) {
  }
  return 0;
}
