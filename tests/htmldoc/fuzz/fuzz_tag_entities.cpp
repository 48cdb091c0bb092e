// Feeds arbitrary text to the markup tag parser and to the entity decoders.
//
// The first byte picks the parser's three flags and whether the rest is
// taken as UTF-8 or as raw 16-bit units (which reach lone surrogates and
// every code unit). Besides not crashing, the fuzzer checks:
// - a tag written by GetText and read again is written the same way (after
//   one round that has settled names and quotes), as long as its names hold
//   nothing that ends a name: a name is taken 8 bits per character, so a
//   character beyond U+00FF can turn into a blank, "=", ">", "/" or a broken
//   UTF-8 byte and change the tag from round to round, by design;
// - decoding never produces a NUL the text did not hold, nor a broken
//   surrogate pair it did not hold;
// - encoding decoded text and decoding it again gives the same text, for
//   text the encoder writes without loss.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTagParser.h"
#include "rtl/CodePages.h"

using namespace htmldoc;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

size_t CountNuls(const WideString& text) {
  size_t n = 0;
  for (WideChar c : text) n += c == 0;
  return n;
}

size_t CountBrokenSurrogates(const WideString& text) {
  size_t n = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const WideChar c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
        ++i;
      else
        ++n;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      ++n;
    }
  }
  return n;
}

// What EncodeEntities cannot carry through 8-bit text: characters 128 to 159
// (written as one byte) and surrogates that are not in a pair.
bool NamesAreSettled(const TpsMarkupTag& tag) {
  const auto ascii = [](const AnsiString& s) {
    for (unsigned char c : s)
      if (c <= 0x20 || c >= 0x7F || c == '=' || c == '>' || c == '/') return false;
    return true;
  };
  if (!ascii(tag.GetName())) return false;
  for (Integer i = 0; i < tag.GetAttributeCount(); ++i)
    if (!ascii(tag.GetAttributeName(i))) return false;
  return true;
}

bool EncodesWithoutLoss(const WideString& text) {
  for (WideChar c : text)
    if (c >= 0x80 && c <= 0x9F) return false;
  return CountBrokenSurrogates(text) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  const bool caseSensitive = mode & 1;
  const bool removeEmpty = mode & 2;
  const bool quotedOnly = mode & 4;
  const bool rawUnits = mode & 8;
  ++data;
  --size;

  WideString wide;
  if (rawUnits) {
    for (size_t i = 0; i + 1 < size; i += 2)
      wide += static_cast<WideChar>(data[i] | (data[i + 1] << 8));
  } else {
    wide = rtl::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  }

  // The tag parser, directly on 16-bit text and through its text form.
  TpsMarkupTag tag({}, caseSensitive, removeEmpty, quotedOnly);
  tag.Parse(wide);
  for (Integer i = 0; i < tag.GetAttributeCount(); ++i) {
    tag.GetAttributeValue(i);
    tag.HasAttribute(tag.GetAttributeName(i));
  }
  const AnsiString first = tag.GetText();
  TpsMarkupTag second(first, caseSensitive, removeEmpty, quotedOnly);
  const AnsiString secondText = second.GetText();
  TpsMarkupTag third(secondText, caseSensitive, removeEmpty, quotedOnly);
  // Equal text, not equal tags: a double quote in a value is written as
  // "&quot;", which reads back as those six characters.
  if (NamesAreSettled(second)) Require(third.GetText() == secondText);

  // The entity decoders and the encoder.
  const WideString decoded = DecodeEntitiesW(wide);
  Require(CountNuls(decoded) <= CountNuls(wide));
  Require(CountBrokenSurrogates(decoded) <= CountBrokenSurrogates(wide));
  if (EncodesWithoutLoss(decoded)) {
    const AnsiString encoded = EncodeEntities(decoded, mode & 16);
    Require(DecodeEntitiesW(rtl::Utf8ToWide(encoded)) == decoded);
  }
  DecodeEntities(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
