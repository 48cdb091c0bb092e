#include <gtest/gtest.h>

#include <functional>

#include "rtl/Exceptions.h"
#include "rtl/Format.h"

namespace rtl {
namespace {

TEST(Format, DirectivesAndArguments) {
  struct Case {
    AnsiString result;
    const char* expected;
  } cases[] = {
      {Format("%d", 42), "42"},
      {Format("%d", -42), "-42"},
      {Format("%5d|", 42), "   42|"},
      {Format("%-5d|", 42), "42   |"},
      {Format("%05d", 42), "   42"},  // a leading 0 is part of the width: still blanks
      {Format("%.3d", 7), "007"},
      {Format("%.3d", -7), "-007"},
      {Format("%*d", 5, 42), "   42"},
      {Format("%-*d|", 4, 1), "1   |"},
      {Format("%.*d", 4, 9), "0009"},
      {Format("%d", Int64{-9000000000}), "-9000000000"},
      {Format("%u", -1), "4294967295"},
      {Format("%u", 7u), "7"},
      {Format("%x", 255), "FF"},
      {Format("%X", 255), "FF"},
      {Format("%.4x", 255), "00FF"},
      {Format("%x", -1), "FFFFFFFF"},
      {Format("%x", Int64{-1}), "FFFFFFFFFFFFFFFF"},
      {Format("%x", 0xFFFFFFFFu), "FFFFFFFF"},
      {Format("#%.2x%.2x%.2x", 255, 0, 16), "#FF0010"},
      {Format("%s", "abc"), "abc"},
      {Format("%s", AnsiString("str")), "str"},
      {Format("%s", u"wide \u00E4"), "wide \xC3\xA4"},
      {Format("%.2s", "abcdef"), "ab"},
      {Format("%6s|", "ab"), "    ab|"},
      {Format("%-6s|", "ab"), "ab    |"},
      {Format("%4s|", "\xC3\xA4"), "   \xC3\xA4|"},  // width counts characters
      {Format("%c%c", 'o', 'k'), "ok"},
      {Format("%g", 1e20), "1E20"},
      {Format("%g", 0.1), "0.1"},
      {Format("%g", 1.5e-7), "1.5E-7"},
      {Format("%g", 100.0), "100"},
      {Format("%g", 2.0 / 3), "0.666666666666667"},
      {Format("%g", -12.5), "-12.5"},
      {Format("%.3g", 3.14159), "3.14"},
      {Format("%g%%", 50.0), "50%"},
      {Format("%f", 3.14159), "3.14"},
      {Format("%.1f", 2.25), "2.3"},
      {Format("%.0f", 2.5), "3"},
      {Format("%.2f", 1.005), "1.01"},
      {Format("%8.3f|", -1.5), "  -1.500|"},
      {Format("%e", 1234.5), "1.23450000000000E+003"},
      {Format("%.3e", 1234.5), "1.23E+003"},
      {Format("%n", 1234567.891), "1,234,567.89"},
      {Format("%.0n", 1234.0), "1,234"},
      {Format("%d%%", 5), "5%"},
      {Format("100%%"), "100%"},
      {Format("%1:s %0:s", "a", "b"), "b a"},
      {Format("%1:s %s %0:s", "a", "b", "c"), "b c a"},
      {Format("Red: %d,  Green: %d,  Blue: %d", 1, 2, 3), "Red: 1,  Green: 2,  Blue: 3"},
      {Format("Unexpected operation from %s:%d", "127.0.0.1", 69), "Unexpected operation from 127.0.0.1:69"},
      {Format("%d.%d.%d.%d", 192, 168, 0, 1), "192.168.0.1"},
      {Format("no directives"), "no directives"},
      {Format("%s", std::vector<FormatArg>{FormatArg("vec")}), "vec"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, c.expected);
}

TEST(Format, BadFormatsRaise) {
  struct Case {
    std::function<AnsiString()> call;
    const char* message;
  } cases[] = {
      {[] { return Format("%d", "x"); }, "Format '%d' invalid or incompatible with argument"},
      {[] { return Format("%f", 1); }, "Format '%f' invalid or incompatible with argument"},
      {[] { return Format("%s", 1); }, "Format '%s' invalid or incompatible with argument"},
      {[] { return Format("%x", 1.5); }, "Format '%x' invalid or incompatible with argument"},
      {[] { return Format("a %q", 1); }, "Format 'a %q' invalid or incompatible with argument"},
      {[] { return Format("%5", 1); }, "Format '%5' invalid or incompatible with argument"},
      {[] { return Format("50%", 1); }, "Format '50%' invalid or incompatible with argument"},
      {[] { return Format("%*d", "w", 1); }, "Format '%*d' invalid or incompatible with argument"},
      {[] { return Format("%d"); }, "No argument for format '%d'"},
      {[] { return Format("%d %d", 1); }, "No argument for format '%d %d'"},
      {[] { return Format("%3:d", 1); }, "No argument for format '%3:d'"},
  };
  for (const auto& c : cases) {
    try {
      AnsiString r = c.call();
      ADD_FAILURE() << "no exception, got " << r;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

}  // namespace
}  // namespace rtl
