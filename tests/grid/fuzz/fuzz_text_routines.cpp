// Feeds arbitrary bytes to the grid's text routines: the number and date
// readers, the text-kind and URL recognisers and the cell text decoders.
// The first byte picks the regional settings. Besides not crashing, the
// fuzzer checks the round trips the routines promise:
// - wide text encoded and decoded again is the same wide text;
// - the one-line cell form decodes back to the text when the text holds a
//   CR and none of the characters the form uses;
// - packing CR LF pairs and unpacking them gives the text in quotes when
//   the text held no character 11;
// - name casing keeps the length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "grid/model/GridUtils.h"
#include "rtl/Exceptions.h"

using namespace grid;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FixedLocaleSettings locale;
  switch (data[0] % 4) {
    case 1:
      locale.Decimal = ',';
      locale.Thousand = '.';
      locale.DateSep = '.';
      locale.ShortDate = "dd.mm.yyyy";
      break;
    case 2:
      locale.DateSep = '-';
      locale.ShortDate = "yyyy-mm-dd";
      locale.OEM = 850;
      break;
    case 3:
      locale.TimeSep = '.';
      locale.ShortDate = "d/m/yy";
      break;
    default:
      break;
  }
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  (void)GetTextKind(text, (data[0] & 4) != 0);
  (void)GetNumberKind(text, locale);
  (void)ExtractNumberText(text, locale);
  TDateTime dt = 0;
  (void)TryParseDateTime(text, dt, locale);
  for (auto parse : {ParseUSDate, ParseEUDate}) {
    try {
      (void)parse(text);
    } catch (const rtl::EConvertError&) {
      // an impossible date, as documented
    }
  }
  (void)HasTwoDateSeparators(text, locale);
  TCellCoord cell;
  (void)ParseCellReference(text, cell);
  AnsiString linked;
  (void)LinkifyURL(text, "HTTP://", linked);
  AnsiString stripped = text;
  StripURLScheme(stripped);
  Integer p = 0;
  (void)SingleCharPos(',', text, p);
  (void)SingleCharCount('"', text);
  (void)RemoveQuoteChar('"', text);
  Require(MixedCase(text).size() == text.size());
  AnsiString oem = text;
  OemToAnsiText(oem, locale);

  const WideString wide = DecodeWideText(text);
  Require(DecodeWideText(EncodeWideText(wide)) == wide);

  const bool usesFormChars = text.find_first_of(std::string("\x08\x09\x01", 3)) != std::string::npos;
  if (text.find('\r') != std::string::npos && text.find('\n') != std::string::npos && !usesFormChars)
    Require(DecodeLineBreaks(EncodeLineBreaks(text), true) == text);
  (void)DecodeLineBreaks(text, false);

  if (text.find('\x0B') == std::string::npos) {
    AnsiString packed = text;
    PackLineBreaks(packed);
    UnpackLineBreaks(packed);
    Require(packed == "\"" + text + "\"");
  }
  AnsiString tilde = text;
  ExpandTildeBreaks(tilde);
  AnsiString line, rest = text;
  TakeFirstLine(rest, true, line);
  Require(line.size() + rest.size() <= text.size());
  return 0;
}
