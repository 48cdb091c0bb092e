// The mini-HTML routines that draw nothing, reached through the model
// without a window, as the grid's sorting, copying, marking and cell form
// controls call them.
#include <gtest/gtest.h>

#include "grid/model/HtmlText.h"

using namespace grid;

TEST(GridHtmlText, PlainTextAndMarks) {
  struct Case {
    const char* text;
    const char* plain;
  } cases[] = {
      {"<b>Bold</b> text", "Bold text"},
      {"one<BR>two<hr>three", "one\r\ntwo\r\nthree"},
      {"a < b", "a < b"},  // no later '>': the rest stays
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(StripHTML(c.text), c.plain) << c.text;

  EXPECT_EQ(HiLightText("<b>Tolvane</b> grid", "vane", "hi", false), "<b>Tol<hi>vane</hi></b> grid");
  EXPECT_EQ(HiLightText("Grid grid", "GRID", "hi", true), "Grid grid");
  EXPECT_EQ(HiLightText("Grid grid", "GRID", "hi", false), "<hi>Grid</hi> <hi>grid</hi>");
  // Marking and unmarking give the text back.
  const AnsiString marked = HiLightText("cell <i>value</i>", "al", "hi", false);
  EXPECT_NE(marked, "cell <i>value</i>");
  EXPECT_EQ(UnHiLightText(marked, "hi"), "cell <i>value</i>");
  EXPECT_EQ(UnHiLightText("<HI>x</Hi> &lt;y&gt;", "hi"), "x <y>");
}

TEST(GridHtmlText, CellFormControls) {
  AnsiString html =
      "Name <CONTROL TYPE=\"EDIT\" ID=\"n\" VALUE=\"x\" WIDTH=\"40\" MAXLEN=\"12\" PROP=\"p1\"> "
      "<control type=\"RADIO\" id=\"r1\" value=\"TRUE\" width=\"15\"> "
      "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"15\"> "
      "<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"a\" WIDTH=\"60\">";
  EXPECT_TRUE(HasControlTag(html));
  EXPECT_FALSE(HasControlTag("<b>no controls</b>"));
  EXPECT_EQ(GetControlProp(html, "n"), "p1");
  EXPECT_EQ(GetControlProp(html, "k"), "");
  EXPECT_EQ(GetControlMaxLen(html, "n"), 12);
  EXPECT_EQ(GetControlMaxLen(html, "zz"), 0);

  // Typing moves from the edit over the radio and check box to the combo.
  EXPECT_EQ(NextEditableControlID(html, ""), "n");
  EXPECT_EQ(NextEditableControlID(html, "n"), "k");
  EXPECT_EQ(NextEditableControlID(html, "k"), "");

  AnsiString reset = ResetRadioControls(html);
  EXPECT_NE(reset.find("ID=\"r1\" VALUE=\"FALSE\""), AnsiString::npos) << reset;
  EXPECT_NE(reset.find("ID=\"c\" VALUE=\"TRUE\""), AnsiString::npos) << reset;  // check boxes stay

  EXPECT_TRUE(SetControlValue(html, "n", "a<b"));
  EXPECT_NE(html.find("<CONTROL ID=\"n\" VALUE=\"a&lt;b\" WIDTH=\"40\" TYPE=\"EDIT\" PROP=\"p1\" MAXLEN=\"12\">"),
            AnsiString::npos)
      << html;
  EXPECT_EQ(html.substr(0, 5), "Name ");
  const AnsiString before = html;
  EXPECT_FALSE(SetControlValue(html, "none", "v"));
  EXPECT_EQ(html, before);
}
