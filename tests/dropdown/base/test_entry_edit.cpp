// The drop-down edit's entry rules on a real edit field, under the en-US
// separators and a comma-decimal locale: characters typed (as the class
// library's WM_CHAR and as real keys) per edit kind, the float caret rules,
// thousands grouping as digits arrive, paste, the text set and read, the
// kind and precision changes, leaving the field, and the change notices
// the reformatting holds back.
#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumDropDown.h"
#include "rtl/Locale.h"
#include "vcl/Clipbrd.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

rtl::TFormatSettings EditEnUs() {
  rtl::TFormatSettings s;
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  return s;
}
rtl::TFormatSettings EditCommaDecimal() {
  rtl::TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  return s;
}

struct EditEntryRig {
  TForm* owner = MakeForm(300, 120);
  TLumCustomDropDown* drop = nullptr;
  TEdit* other = nullptr;
  int changes = 0;

  EditEntryRig() {
    drop = new TLumCustomDropDown(owner);
    drop->SetParent(owner);
    drop->SetBounds(10, 10, 160, 22);
    other = new TEdit(owner);
    other->SetParent(owner);
    other->SetBounds(10, 60, 100, 22);
    drop->OnChange = [this](TObject*) { ++changes; };
    Pump();
  }
  ~EditEntryRig() { Free(owner); }

  // Text and caret (or selection) as the edit holds them before typing.
  void Prepare(TEditKind kind, int16_t precision, const char* text, int caret, int selection = 0) {
    drop->SetEditKind(kind);
    drop->SetPrecision(precision);
    drop->SetTextDirect(text);
    drop->SetSelStart(caret);
    if (selection) drop->SetSelLength(selection);
    changes = 0;
  }
  void TypeChars(const std::string& chars) {
    for (char c : chars) drop->Perform(WM_CHAR, static_cast<unsigned char>(c), 0);
  }
  std::string Text() const { return drop->Text(); }
};

struct EditTypingCase {
  const char* name;
  TEditKind kind;
  int16_t precision;
  const char* text;
  int caret, selection;
  const char* typed;
  const char* expected;
  int expectedCaret;
};

void RunEditTyping(const EditTypingCase* cases, size_t n) {
  EditEntryRig rig;
  for (size_t i = 0; i < n; ++i) {
    const EditTypingCase& c = cases[i];
    SCOPED_TRACE(c.name);
    rig.Prepare(c.kind, c.precision, c.text, c.caret, c.selection);
    rig.TypeChars(c.typed);
    EXPECT_EQ(rig.Text(), c.expected);
    EXPECT_EQ(rig.drop->SelStart(), c.expectedCaret);
    EXPECT_EQ(rig.drop->SelLength(), 0);
  }
}

using TEditKind::ekFloat;
using TEditKind::ekFloatThousands;
using TEditKind::ekInteger;
using TEditKind::ekText;

TEST(DropDownEntryEdit, TypingUnderEnUsSeparators) {
  rtl::TFormatSettingsScope scope(EditEnUs());
  const EditTypingCase cases[] = {
      {"free text takes anything", ekText, 0, "ab", 2, 0, "c-1.,x", "abc-1.,x", 8},
      {"a typed character replaces the selection", ekText, 0, "abcd", 1, 2, "X", "aXd", 2},
      {"backspace deletes before the caret", ekText, 0, "abc", 2, 0, "\b", "ac", 1},
      {"backspace at the start deletes nothing", ekText, 0, "abc", 0, 0, "\b", "abc", 0},
      {"integer: digits only", ekInteger, 0, "", 0, 0, "1a2.3-4 ", "1234", 4},
      {"integer: no minus anywhere", ekInteger, 0, "12", 0, 0, "-", "12", 0},
      {"float: two points on an empty edit", ekFloat, 2, "", 0, 0, "..", "0.", 2},
      {"float: the second point jumps after the first", ekFloat, 2, "12.5", 1, 0, ".", "12.5", 3},
      {"float: no point with no decimals", ekFloat, 0, "12", 2, 0, ".", "12", 2},
      {"float: a digit before the last decimal overwrites it", ekFloat, 2, "12.34", 4, 0, "9", "12.39", 5},
      {"float: a digit after the first decimal overwrites the next", ekFloat, 2, "12.34", 3, 0, "7", "12.74", 4},
      {"float: a digit at the end of full decimals is dropped", ekFloat, 2, "12.34", 5, 0, "9", "12.34", 5},
      {"float: integer digits still go in", ekFloat, 2, "12.34", 0, 0, "5", "512.34", 1},
      {"float: no minus", ekFloat, 2, "1", 0, 0, "-", "1", 0},
      {"float: letters dropped", ekFloat, 2, "1", 1, 0, "ae", "1", 1},
      {"float: a thousands separator three digits in", ekFloat, 2, "1234", 1, 0, ",", "1,234", 2},
      {"float: a thousands separator two from another", ekFloat, 2, "1,234", 4, 0, ",", "1,234", 4},
      {"float: a thousands separator four from another", ekFloat, 2, "1,2345", 6, 0, ",", "1,2345", 6},
      {"float: a point two from a thousands separator", ekFloat, 2, "1,234", 4, 0, ".", "1,234", 4},
      {"float: a point three from a thousands separator", ekFloat, 2, "1,234", 5, 0, ".", "1,234.", 6},
      {"thousands: digits grouped as they come", ekFloatThousands, 0, "", 0, 0, "1234", "1,234", 5},
      {"thousands: a seventh digit regroups", ekFloatThousands, 0, "123,456", 7, 0, "7", "1,234,567", 9},
      {"thousands: the caret keeps its place from the end", ekFloatThousands, 0, "123,456", 1, 0, "9", "1,923,456", 3},
      {"thousands: no typed separator", ekFloatThousands, 0, "123", 3, 0, ",", "123", 3},
      {"thousands: no point with no decimals", ekFloatThousands, 0, "123", 3, 0, ".", "123", 3},
      {"thousands: a point at the start of nothing", ekFloatThousands, 2, "", 0, 0, ".", "0.", 2},
      {"thousands: a second point jumps after the first", ekFloatThousands, 2, "1,234.5", 2, 0, ".", "1,234.5", 6},
      {"thousands: full decimals overwrite", ekFloatThousands, 2, "1,234.56", 6, 0, "9", "1,234.96", 7},
      {"thousands: backspace regroups", ekFloatThousands, 0, "1,234", 5, 0, "\b", "123", 3},
  };
  RunEditTyping(cases, std::size(cases));
}

TEST(DropDownEntryEdit, TypingUnderCommaDecimalSeparators) {
  rtl::TFormatSettingsScope scope(EditCommaDecimal());
  const EditTypingCase cases[] = {
      {"float: two commas on an empty edit", ekFloat, 2, "", 0, 0, ",,", "0,", 2},
      {"float: a point is the thousands separator", ekFloat, 2, "1234", 1, 0, ".", "1.234", 2},
      {"float: full decimals", ekFloat, 2, "12,34", 4, 0, "9", "12,39", 5},
      {"thousands: digits grouped with points", ekFloatThousands, 0, "", 0, 0, "1234567", "1.234.567", 9},
      {"thousands: a decimal comma kept", ekFloatThousands, 2, "1.234", 5, 0, ",5", "1.234,5", 7},
      {"thousands: a typed point dropped", ekFloatThousands, 2, "1.234", 5, 0, ".", "1.234", 5},
  };
  RunEditTyping(cases, std::size(cases));
}

TEST(DropDownEntryEdit, RealKeysGoThroughTheSameRules) {
  rtl::TFormatSettingsScope scope(EditEnUs());
  EditEntryRig rig;
  rig.drop->SetFocus();
  Pump();
  rig.Prepare(ekFloatThousands, 0, "", 0);
  Type(rig.drop, "12x34-5");
  EXPECT_EQ(rig.Text(), "12,345");
  EXPECT_EQ(rig.drop->SelStart(), 6);
  Key(rig.drop, Qt::Key_Backspace, Qt::NoModifier, "\b");
  EXPECT_EQ(rig.Text(), "1,234");
  // Delete in the thousands kind groups what is left.
  rig.drop->SetSelStart(0);
  Key(rig.drop, Qt::Key_Delete);
  EXPECT_EQ(rig.Text(), "234");
  EXPECT_EQ(rig.drop->SelStart(), 0);
  EXPECT_TRUE(rig.drop->Modified());
  rig.Prepare(ekText, 0, "", 0);
  Type(rig.drop, "Grüße, 1-2");
  EXPECT_EQ(rig.Text(), "Grüße, 1-2");
}

TEST(DropDownEntryEdit, EnterIsOfferedToOnKeyPressAndNeverTyped) {
  EditEntryRig rig;
  std::vector<int> pressed;
  rig.drop->OnKeyPress = [&](TObject*, WideChar& k) { pressed.push_back(k); };
  rig.Prepare(ekText, 0, "ab", 2);
  rig.TypeChars("\r\n");
  EXPECT_EQ(rig.Text(), "ab");
  EXPECT_EQ(pressed, std::vector<int>{13});
  // A handler that drops a character keeps it out.
  rig.drop->OnKeyPress = [](TObject*, WideChar& k) {
    if (k == 'x') k = 0;
  };
  rig.TypeChars("xy");
  EXPECT_EQ(rig.Text(), "aby");
}

TEST(DropDownEntryEdit, ANonEditableOrReadOnlyDropDownTakesNoCharacters) {
  EditEntryRig rig;
  rig.Prepare(ekText, 0, "ab", 2);
  rig.drop->SetEditorEnabled(false);
  rig.TypeChars("cd\b");
  EXPECT_EQ(rig.Text(), "ab");
  rig.drop->SetEditorEnabled(true);
  rig.drop->SetReadOnly(true);
  rig.TypeChars("cd\b");
  EXPECT_EQ(rig.Text(), "ab");
  EXPECT_EQ(rig.changes, 0);
}

TEST(DropDownEntryEdit, ChangeNoticesAroundWholeSelectionsAndRegrouping) {
  rtl::TFormatSettingsScope scope(EditEnUs());
  EditEntryRig rig;
  // Typing over the whole text is not told; a character dropped there
  // leaves the next change told.
  rig.Prepare(ekText, 0, "abc", 0, 3);
  rig.TypeChars("x");
  EXPECT_EQ(rig.Text(), "x");
  EXPECT_EQ(rig.changes, 0);
  rig.TypeChars("y");
  EXPECT_EQ(rig.changes, 1);
  rig.Prepare(ekInteger, 0, "123", 0, 3);
  rig.TypeChars("a");
  EXPECT_FALSE(rig.drop->SuppressNextChange());
  rig.drop->SetSelStart(3);
  rig.TypeChars("4");
  EXPECT_EQ(rig.changes, 1);
  // Deleting the whole text by Backspace is told once.
  rig.Prepare(ekText, 0, "abc", 0, 3);
  rig.TypeChars("\b");
  EXPECT_EQ(rig.Text(), "");
  EXPECT_EQ(rig.changes, 1);
  // A digit the grouping rewrites is told once, not twice.
  rig.Prepare(ekFloatThousands, 0, "123", 3);
  rig.TypeChars("4");
  EXPECT_EQ(rig.Text(), "1,234");
  EXPECT_EQ(rig.changes, 1);
  EXPECT_FALSE(rig.drop->SuppressNextChange());
}

struct EditPasteCase {
  const char* name;
  TEditKind kind;
  int16_t precision;
  const char* text;
  int caret, selection;
  const char* clip;
  const char* expected;
  int selStart, selLength;
};

TEST(DropDownEntryEdit, PasteFollowsTheKind) {
  rtl::TFormatSettingsScope scope(EditEnUs());
  const EditPasteCase cases[] = {
      {"text inserted at the caret", ekText, 0, "abef", 2, 0, "cd", "abcdef", 4, 0},
      {"text over a selection keeps it selected", ekText, 0, "abXXef", 2, 2, "cd", "abcdef", 2, 2},
      {"integer digits", ekInteger, 0, "12", 2, 0, "34", "1234", 4, 0},
      {"integer with a letter refused", ekInteger, 0, "12", 1, 0, "3a", "12", 1, 0},
      {"integer with a minus refused", ekInteger, 0, "12", 0, 0, "-3", "12", 0, 0},
      // The caret after what was pasted, as far as the formatted text goes.
      {"float formatted", ekFloat, 2, "", 0, 0, "3.14159", "3.14", 4, 0},
      {"float with a minus refused", ekFloat, 2, "1.00", 0, 0, "-", "1.00", 0, 0},
      {"float hexadecimal refused", ekFloat, 2, "1.00", 4, 0, "AB", "1.00", 4, 0},
      {"float a point without decimals refused", ekFloat, 0, "1", 1, 0, ".5", "1", 1, 0},
      {"thousands grouped and selected", ekFloatThousands, 2, "", 0, 0, "1234567.891", "1,234,567.89", 0, 12},
      {"thousands short kept at the caret", ekFloatThousands, 0, "", 0, 0, "12", "12", 2, 0},
  };
  EditEntryRig rig;
  for (const EditPasteCase& c : cases) {
    SCOPED_TRACE(c.name);
    rig.Prepare(c.kind, c.precision, c.text, c.caret, c.selection);
    Clipboard()->SetAsText(c.clip);
    rig.drop->Perform(WM_PASTE);
    EXPECT_EQ(rig.Text(), c.expected);
    EXPECT_EQ(rig.drop->SelStart(), c.selStart);
    EXPECT_EQ(rig.drop->SelLength(), c.selLength);
  }
  // A paste over MaxLength and one into a read-only edit do nothing.
  rig.Prepare(ekText, 0, "abc", 3);
  rig.drop->SetMaxLength(4);
  Clipboard()->SetAsText("de");
  rig.drop->Perform(WM_PASTE);
  EXPECT_EQ(rig.Text(), "abc");
  rig.drop->SetMaxLength(0);
  rig.drop->SetReadOnly(true);
  rig.drop->Perform(WM_PASTE);
  EXPECT_EQ(rig.Text(), "abc");
  rig.drop->SetReadOnly(false);
  // Ctrl+V on the field comes the same way.
  rig.drop->SetFocus();
  Pump();
  rig.Prepare(ekInteger, 0, "1", 1);
  Clipboard()->SetAsText("x");
  Key(rig.drop, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(rig.Text(), "1");
  Clipboard()->SetAsText("23");
  Key(rig.drop, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(rig.Text(), "123");
  EXPECT_TRUE(rig.drop->Modified());
  // Control let go: later tests read the keyboard's state.
  Key(rig.drop, Qt::Key_Control);
}

struct EditSetCase {
  TEditKind kind;
  int16_t precision;
  const char* value;
  const char* enUs;
  const char* comma;
};

TEST(DropDownEntryEdit, SetTextFormatsForTheKindAndCommits) {
  const EditSetCase cases[] = {
      {ekText, 2, "", "", ""},
      {ekText, 2, "1234.5", "1234.5", "1234,5"},
      {ekInteger, 0, "", "0", "0"},
      {ekInteger, 0, "42", "42", "42"},
      {ekFloat, 2, "", "0.00", "0,00"},
      {ekFloat, 2, "Error", "Error", "Error"},
      {ekFloat, 0, "3.7", "3.7", "3,7"},
      {ekFloat, 3, "1234.5", "1234.500", "1234,500"},
      {ekFloatThousands, 2, "1234567.891", "1,234,567.89", "1.234.567,89"},
  };
  EditEntryRig rig;
  for (int locale = 0; locale < 2; ++locale) {
    rtl::TFormatSettingsScope scope(locale == 0 ? EditEnUs() : EditCommaDecimal());
    for (const EditSetCase& c : cases) {
      rig.drop->SetEditKind(c.kind);
      rig.drop->SetPrecision(c.precision);
      std::string value = c.value;
      // The value as that locale writes it.
      if (locale == 1)
        for (char& ch : value)
          if (ch == '.') ch = ',';
      SCOPED_TRACE(std::string(c.value) + (locale ? " comma" : " en-US"));
      rig.drop->SetText(value);
      const std::string expected = locale == 0 ? c.enUs : c.comma;
      EXPECT_EQ(rig.Text(), expected);
      EXPECT_EQ(rig.drop->CommittedText(), expected);
      EXPECT_FALSE(rig.drop->Modified());
    }
  }
  // SetTextDirect writes as given and leaves the committed text.
  rtl::TFormatSettingsScope scope(EditEnUs());
  rig.drop->SetEditKind(ekFloat);
  rig.drop->SetPrecision(2);
  rig.drop->SetText("1");
  rig.drop->SetTextDirect("7");
  EXPECT_EQ(rig.Text(), "7");
  EXPECT_EQ(rig.drop->CommittedText(), "1.00");
}

TEST(DropDownEntryEdit, ValuesKindsAndPrecision) {
  rtl::TFormatSettingsScope scope(EditEnUs());
  EditEntryRig rig;
  TLumCustomDropDown* d = rig.drop;
  d->SetTextDirect("abc");
  d->SetPasswordChar('*');
  d->SetEditKind(ekInteger);  // a non-integer text becomes 0
  EXPECT_EQ(rig.Text(), "0");
  EXPECT_EQ(d->PasswordChar(), 0);
  EXPECT_TRUE(d->Modified());
  d->SetPrecision(3);  // not stored for whole numbers
  EXPECT_EQ(d->Precision(), 0);
  d->SetIntValue(-17);
  EXPECT_EQ(rig.Text(), "-17");
  d->SetTextDirect("FF");
  d->SetEditKind(ekFloat);  // hexadecimal becomes 0
  EXPECT_EQ(rig.Text(), "0");
  d->SetPrecision(2);  // the value written again with the decimals
  EXPECT_EQ(rig.Text(), "0.00");
  d->SetFloatValue(2.5);
  EXPECT_EQ(rig.Text(), "2.50");
  EXPECT_DOUBLE_EQ(d->GetFloatValue(), 2.5);
  d->SetPrecision(-1);  // the general format
  EXPECT_EQ(rig.Text(), "2.5");
  d->SetEditKind(ekFloatThousands);
  d->SetPrecision(1);
  d->SetFloatValue(1234567.24);
  EXPECT_EQ(rig.Text(), "1,234,567.2");
  d->SetTextDirect("1,234.");
  EXPECT_DOUBLE_EQ(d->GetFloatValue(), 1234);
  d->SetIntValue(98765);
  EXPECT_EQ(rig.Text(), "98,765.0");
  d->SetTextDirect("12.5");
  d->CaretToDecimal();
  EXPECT_EQ(d->SelStart(), 2);
  d->CaretAfterDecimal();
  EXPECT_EQ(d->SelStart(), 3);
  d->SetTextDirect("125");
  d->CaretAfterDecimal();
  EXPECT_EQ(d->SelStart(), 0);
  d->SelectAllText();
  EXPECT_EQ(d->SelLength(), 3);
}

TEST(DropDownEntryEdit, LeavingTheFieldFillsAnEmptyNumber) {
  rtl::TFormatSettingsScope scope(EditCommaDecimal());
  EditEntryRig rig;
  struct Case {
    TEditKind kind;
    int16_t precision;
    const char* text;
    const char* left;
  } cases[] = {
      {ekFloat, 2, "", "0,00"},
      {ekFloat, 2, "3,1", "3,10"},
      {ekFloat, 0, "", "0"},
      {ekInteger, 0, "", "0"},
      {ekFloatThousands, 2, "1234", "1.234,00"},
      {ekText, 0, "", ""},
  };
  for (const Case& c : cases) {
    rig.Prepare(c.kind, c.precision, c.text, 0);
    rig.drop->SetFocus();
    Pump();
    rig.drop->SetModified(false);
    rig.other->SetFocus();
    Pump();
    EXPECT_EQ(rig.Text(), c.left) << c.text;
  }
  // Rewriting on the way out keeps Modified as it was.
  rig.Prepare(ekFloat, 2, "5", 0);
  rig.drop->SetFocus();
  Pump();
  rig.drop->SetModified(false);
  rig.other->SetFocus();
  Pump();
  EXPECT_EQ(rig.Text(), "5,00");
  EXPECT_FALSE(rig.drop->Modified());
}

TEST(DropDownEntryEdit, EnteringSelectsAllOrPutsTheCaretBeforeTheDecimals) {
  rtl::TFormatSettingsScope scope(EditEnUs());
  EditEntryRig rig;
  rig.drop->SetEditKind(ekFloat);
  rig.drop->SetPrecision(2);
  rig.drop->SetText("123.45");
  rig.drop->SetFocus();
  Pump();
  EXPECT_EQ(rig.drop->SelStart(), 0);
  EXPECT_EQ(rig.drop->SelLength(), 6);
  rig.other->SetFocus();
  Pump();
  rig.drop->SetAutoSelect(false);
  rig.drop->SetFocus();
  Pump();
  EXPECT_EQ(rig.drop->SelStart(), 3);
  EXPECT_EQ(rig.drop->SelLength(), 0);
}

TEST(DropDownEntryEdit, ModifiedMovesOnlyThroughAnEditableWritableEdit) {
  EditEntryRig rig;
  TLumCustomDropDown* d = rig.drop;
  d->SetModified(true);
  EXPECT_TRUE(d->Modified());
  EXPECT_TRUE(d->SavedModified());
  d->SetReadOnly(true);
  d->SetModified(false);
  EXPECT_TRUE(d->Modified());
  d->SetReadOnly(false);
  d->SetEditorEnabled(false);
  d->SetModified(false);
  EXPECT_TRUE(d->Modified());
  d->SetEditorEnabled(true);
  d->BeginLoad();
  d->SetModified(false);
  d->EndLoad();
  EXPECT_TRUE(d->Modified());
  d->SetModified(false);
  EXPECT_FALSE(d->SavedModified());
}

}  // namespace
}  // namespace dropdown
