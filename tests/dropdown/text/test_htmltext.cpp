#include <gtest/gtest.h>

#include "dropdown/text/HtmlTextRoutines.h"

namespace dropdown {
namespace {

TEST(HtmlTextRoutines, StripHTML) {
  struct Case {
    const char* html;
    const char* plain;
  } cases[] = {
      {"a<B>b</B><BR>c", "ab\r\nc"},
      {"one<br>two<Hr>three<hR>", "one\r\ntwo\r\nthree\r\n"},
      {"<BR/>x<br >y", "xy"},
      {"a<b", "a<b"},
      {"x<y>z<w", "xz<w"},
      {"<<a>b", "b"},
      {"a>b", "a>b"},
      {"", ""},
      {"<>", ""},
      {"<FONT color=\"#FF0000\">red</FONT> & <A href=\"x\">link</A>", "red & link"},
      {"caf\xC3\xA9 <I>\xE2\x82\xAC</I>", "caf\xC3\xA9 \xE2\x82\xAC"},
      {"<BR", "<BR"},
  };
  for (const auto& c : cases) EXPECT_EQ(StripHTML(c.html), c.plain) << c.html;
}

TEST(HtmlTextRoutines, HasControlTag) {
  EXPECT_TRUE(HasControlTag("x <CONTROL TYPE=\"EDIT\" ID=\"a\">"));
  EXPECT_TRUE(HasControlTag("<control"));
  EXPECT_TRUE(HasControlTag("<CoNtRoL"));
  EXPECT_FALSE(HasControlTag("< CONTROL"));
  EXPECT_FALSE(HasControlTag("CONTROL"));
  EXPECT_FALSE(HasControlTag(""));
}

}  // namespace
}  // namespace dropdown
