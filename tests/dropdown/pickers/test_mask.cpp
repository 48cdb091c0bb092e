// The mask engine as tables of masks and texts: the edit text a text shows
// as, the text read back with and without saved literals, the blank
// character, case conversion, escapes, "!" and typing with the caret
// moving over literals; then a masked edit typed into through real keys.
#include <gtest/gtest.h>

#include <QWidget>
#include <QTest>
#include <string>

#include "DropdownTestSupport.h"
#include "rtl/Locale.h"
#include "vcl/Clipbrd.h"
#include "vcl/Mask.h"
#include "vcl/MaskEngine.h"

namespace dropdown {
namespace {

using namespace ddtest;
using vcl::TMaskEngine;

struct LayoutCase {
  const char* mask;
  const char* text;      // set as the text
  const char* editText;  // what the field shows
  const char* textBack;  // Text read back
};

TEST(MaskEngine, TextsLaidOverTheMaskAndReadBack) {
  const LayoutCase cases[] = {
      {"!90:00:00;1; ", "10:20:30", "10:20:30", "10:20:30"},
      {"!90:00:00;1; ", "9:05:00", " 9:05:00", " 9:05:00"},        // "!": optional blanks in front
      {"90:00:00;1; ", "9:05:00", "9 :05:00", "9 :05:00"},         // without it behind
      {"!90:00;1;_", "7:3", "_7:_3", " 7: 3"},                     // short parts, blank shown as "_"
      {"!90:00:00;1; ", "ab:cd:ef", "  :  :  ", "  :  :  "},       // refused characters stay blank
      {"!90:00:00;1; ", "123456", "12:  :  ", "12:  :  "},         // no separators: the first run takes its share
      {"000-000;0;_", "123456", "123-456", "123456"},              // literals not saved
      {"000-000;0;_", "12", "12_-___", "12    "},
      {"000-000;1;_", "12-3", "12_-3__", "12 -3  "},
      {"(000) 000-0000;0;*", "5551234567", "(555) 123-4567", "5551234567"},
      {">LL<ll;1;_", "abCD", "ABcd", "ABcd"},                      // case conversion
      {">L<>l;1;_", "ab", "Ab", "Ab"},                             // <> ends it
      {"\\A\\9-00;1;_", "A9-12", "A9-12", "A9-12"},                // escapes are literals
      {"#000;1;_", "-123", "-123", "-123"},
      {"#000;1;_", "x123", "_123", " 123"},
      {"CCC;1;_", "a b", "a_b", "a b"},                            // a space in a required place is a blank
      {"ccc;1;_", "a b", "a_b", "a b"},
      {"aaAA;1;_", "z9Q1", "z9Q1", "z9Q1"},
      {"00/00/0000;1;_", "24/12/2026", "24/12/2026", "24/12/2026"},
      {"LL;1", "xy", "xy", "xy"},                                  // blank character not given: "_"
      {"LL", "x", "x_", "x "},                                     // no fields at all: literals saved
      {"00\\", "12\\", "12\\", "12\\"},                            // a backslash at the end is one
      {"", "free text", "free text", "free text"},                 // no mask: the text as it is
      {"ll;1;_", "éü", "éü", "éü"},                                // letters beyond ASCII
  };
  for (const LayoutCase& c : cases) {
    TMaskEngine m(c.mask);
    EXPECT_EQ(m.EditTextOf(c.text), c.editText) << c.mask << " / " << c.text;
    EXPECT_EQ(m.TextOf(m.EditTextOf(c.text)), c.textBack) << c.mask << " / " << c.text;
  }
}

TEST(MaskEngine, FieldsOfTheMaskAndTheLocaleSeparators) {
  rtl::TFormatSettings s;
  s.TimeSeparator = '.';
  s.DateSeparator = '-';
  rtl::TFormatSettingsScope scope(s);
  TMaskEngine m("!90:00;1; ");
  EXPECT_TRUE(m.SaveLiterals());
  EXPECT_EQ(m.BlankChar(), U' ');
  EXPECT_TRUE(m.LeadingBlanks());
  EXPECT_EQ(m.Length(), 5);
  EXPECT_EQ(m.BlankEditText(), "  .  ");
  EXPECT_EQ(m.EditTextOf("12.34"), "12.34");
  EXPECT_EQ(TMaskEngine("00/00;0;#").EditTextOf("1234"), "12-34");
  EXPECT_FALSE(TMaskEngine("00/00;0;#").SaveLiterals());
  EXPECT_EQ(TMaskEngine("00/00;0;#").BlankChar(), U'#');
  EXPECT_TRUE(TMaskEngine("").Empty());
}

struct TypingCase {
  const char* mask;
  const char* start;  // the text set first
  int caret;
  const char* typed;  // typed one character at a time; "\b" is Backspace
  const char* editText;
  int caretAfter;
};

TEST(MaskEngine, TypingMovesTheCaretOverLiterals) {
  const TypingCase cases[] = {
      {"!90:00:00;1; ", "00:00:00", 0, "123456", "12:34:56", 8},
      {"!90:00:00;1; ", "00:00:00", 0, "1x2", "12:00:00", 3},       // "x" refused, the caret stays
      {"!90:00:00;1; ", "00:00:00", 0, "9:30", "90:30:00", 6},      // ":" where the literal comes next
      {"!90:00:00;1; ", "00:00:00", 1, ":", "00:00:00", 3},
      {"!90:00:00;1; ", "12:34:56", 8, "\b\b", "12:34:  ", 6},       // Backspace blanks behind the caret
      {"!90:00:00;1; ", "12:34:56", 6, "\b", "12:3 :56", 4},          // and steps over the literal
      {"000-000;0;_", "", 0, "123456", "123-456", 7},
      {"000-000;0;_", "", 0, "1234567", "123-456", 7},             // nothing beyond the end
      {">LLL;1;_", "", 0, "abc", "ABC", 3},
      {"#00;1;_", "", 0, "-42", "-42", 3},
      {"(000) 000;1;_", "", 0, "555123", "(555) 123", 9},          // typed past "(" and ") "
  };
  for (const TypingCase& c : cases) {
    TMaskEngine m(c.mask);
    rtl::AnsiString edit = m.EditTextOf(c.start);
    rtl::Integer caret = c.caret;
    for (const char* p = c.typed; *p != 0; ++p) {
      if (*p == '\b')
        m.Backspace(edit, caret);
      else
        m.TypeChar(edit, caret, static_cast<unsigned char>(*p));
    }
    EXPECT_EQ(edit, c.editText) << c.mask << " typed " << c.typed;
    EXPECT_EQ(caret, c.caretAfter) << c.mask << " typed " << c.typed;
  }
}

TEST(MaskEngine, DeletePasteAndValidation) {
  TMaskEngine m("000-000;0;_");
  rtl::AnsiString edit = m.EditTextOf("123456");
  EXPECT_TRUE(m.Delete(edit, 1, 4));
  EXPECT_EQ(edit, "1__-_56");
  EXPECT_FALSE(m.Delete(edit, 3, 0) && false);
  rtl::Integer at = -1;
  EXPECT_FALSE(m.Valid(edit, &at));
  EXPECT_EQ(at, 1);
  rtl::Integer caret = 1;
  m.Paste(edit, caret, "2x34");
  EXPECT_EQ(edit, "123-456");
  EXPECT_EQ(caret, 5);
  EXPECT_TRUE(m.Valid(edit));
  // Optional positions may stay blank.
  EXPECT_TRUE(TMaskEngine("!90:00;1; ").Valid(" 5:30"));
  EXPECT_FALSE(TMaskEngine("!90:00;1; ").Valid(" 5:3 "));
}

TEST(MaskEdit, TypedThroughTheKeyboardAndRefusedOnLeaving) {
  TForm* form = MakeForm(300, 100);
  auto* e = new vcl::TCustomMaskEdit(form);
  e->SetParent(form);
  e->SetBounds(10, 10, 120, 24);
  auto* other = new vcl::TEdit(form);
  other->SetParent(form);
  other->SetBounds(10, 50, 120, 24);
  e->SetEditMask("!90:00:00;1; ");
  e->SetText("10:20:30");
  Pump();
  EXPECT_EQ(e->EditText(), "10:20:30");
  e->SetFocus();
  e->SetSelStart(0);
  BeepRecorder beeps;
  Type(e, "0945");
  EXPECT_EQ(e->Text(), "09:45:30");
  EXPECT_EQ(e->SelStart(), 6);
  Type(e, "x");
  EXPECT_EQ(beeps.count, 1);
  EXPECT_EQ(e->Text(), "09:45:30");
  EXPECT_TRUE(e->Modified());
  // Paste through the mask.
  vcl::Clipboard()->SetAsText("1:2");
  e->SetSelStart(0);
  e->PasteFromClipboard();
  EXPECT_EQ(e->EditText(), "19:25:30");  // "1", past ":", "2"
  // A required position left blank: leaving the field raises.
  e->SetSelStart(4);
  Key(e, Qt::Key_Delete);
  EXPECT_EQ(e->EditText(), "19:2 :30");
  EXPECT_THROW(e->ValidateEdit(), vcl::EDBEditError);
  try {
    e->ValidateEdit();
  } catch (const vcl::EDBEditError& x) {
    EXPECT_EQ(x.Message(), "Invalid input value.  Use escape key to abandon changes");
  }
  EXPECT_EQ(e->SelStart(), 4);
  // A mask taken away leaves the text as a plain edit's.
  e->SetEditMask("");
  Type(e, "z");
  EXPECT_NE(e->Text().find('z'), std::string::npos);
  Free(form);
}

}  // namespace
}  // namespace dropdown
