// Feeds arbitrary text to the CSS reader, the declaration reader and the
// value readers.
//
// The first byte picks the reader's error mode and whether the sheet is
// written in its beautified form. Besides not crashing, the fuzzer checks:
// - a sheet written, read and written again gives the same text from the
//   second writing on;
// - SetDeclarations of a style's own declaration text gives the same
//   declarations from the second writing on (a value a property cannot
//   take raises, as it should);
// - every attribute class read from the text: a copy equals its original,
//   and its text read again is written the same way;
// - the colour and length readers agree with their writers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../support/StyleSheetLoader.h"
#include "htmledit/doc/psCssParser.h"
#include "htmledit/doc/psStyleSheets.h"

using namespace htmldoc;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

AnsiString Written(const AnsiString& aCss, bool aBeautify) {
  TpsStyleSheet sheet;
  sheet.Beautify = aBeautify;
  htmldoc::testing::LoadCss(sheet, aCss, cssErrorSkipInvalid);
  return sheet.GetAsString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  // The reader into a sheet, in the error mode picked.
  TpsStyleSheet sheet;
  try {
    htmldoc::testing::LoadCss(sheet, text, static_cast<Integer>(mode % 3));
  } catch (const EpsHtmlEditCssParserException&) {
  }
  sheet.Beautify = mode & 4;
  const AnsiString first = sheet.GetAsString();
  const AnsiString second = Written(first, mode & 4);
  Require(Written(second, mode & 4) == second);

  // Declarations; a value a property cannot take raises out of them.
  // Written twice, the text is settled (the first writing may escape a
  // brace or join a "!important" to its value, which then reads anew).
  try {
    TpsStyle style(-1, text);
    TpsStyle once(-1, style.GetAttributesAsString());
    const AnsiString settled = once.GetAttributesAsString();
    TpsStyle twice(-1, settled);
    Require(twice.GetAttributesAsString() == settled);
  } catch (const EpsHtmlEditCssParserInvalidAttributeValueException&) {
  }

  // Every attribute class on the text.
  for (Integer id = 0; id < CSS_ATTRIBUTE_COUNT; ++id) {
    std::unique_ptr<TpsCSSAttribute> attribute = CreateCssAttribute(id, text);
    if (!attribute) continue;
    Require(attribute->Clone()->Equals(*attribute));
    const AnsiString once = attribute->GetAsString();
    std::unique_ptr<TpsCSSAttribute> reread = CreateCssAttribute(id, once);
    const AnsiString twice = reread->GetAsString();
    Require(CreateCssAttribute(id, twice)->GetAsString() == twice);
  }

  // Colours and lengths.
  const TColor color = ParseCssColor(text);
  if (color != clNone && color <= 0xFFFFFF) Require(ParseCssColor(ColorToCssString(color)) == color);
  TpsCSSLength length;
  if (TextToLength(text, length)) {
    TpsCSSLength back;
    Require(TextToLength(LengthToText(length), back) && back.Unit == length.Unit);
  }
  return 0;
}
