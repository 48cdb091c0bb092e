// The calculator drop-down: its edge cases as a table of key sequences
// under an en-US and a comma-decimal locale, memory and percent, the
// mended MS and M+, the grid's CalcValue, real clicks on the pop-up's
// keypad and keys typed into the edit, and its arithmetic checked against
// Python's decimal on 1,000 random sequences.
#include <gtest/gtest.h>

#include <QWidget>
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumCalculatorDropdown.h"
#include "rtl/Locale.h"
#include "vcl/ExtCtrls.h"

namespace dropdown {
namespace {

using namespace ddtest;

struct CalcRig {
  TForm* form = MakeForm(400, 300);
  TLumCalculatorDropdown* calc = nullptr;
  TPanel* elsewhere = nullptr;
  CalcRig() {
    calc = new TLumCalculatorDropdown(form);
    calc->SetParent(form);
    calc->SetBounds(20, 20, 150, 22);
    calc->SetDropPosition(TDropPosition::dpDown);
    calc->SetText("0");
    elsewhere = new TPanel(form);
    elsewhere->SetParent(form);
    elsewhere->SetBounds(320, 250, 60, 40);
    Pump();
  }
  ~CalcRig() { Free(form); }
  Integer IndexOf(const std::string& name) const {
    TButtonItems* items = calc->ButtonPanel()->Buttons();
    for (Integer i = 0; i < items->Count(); ++i)
      if (items->Items(i)->Name() == name) return i;
    return -1;
  }
  // Keys by caption, separated by blanks ("7 + 3 =").
  void Press(const std::string& keys) {
    std::istringstream in(keys);
    std::string k;
    while (in >> k) {
      const Integer i = IndexOf("BTN_" + (k == "Back" ? std::string("BACK") : k == "CE" ? std::string("CE") : k));
      ASSERT_GE(i, 0) << k;
      calc->ButtonClick(calc->ButtonPanel(), i);
    }
  }
};

struct SequenceCase {
  const char* keys;
  const char* enUS;
  const char* comma;
};

TEST(Calculator, EdgeCasesUnderTwoLocales) {
  const SequenceCase cases[] = {
      {"7 + 3 =", "10.00", "10,00"},
      {"7 + 3 = 5", "5.00", "5,00"},          // a digit after = starts a new number
      {"2 + 3 * 4 =", "20.00", "20,00"},      // left to right
      {"1 2 . 5", "12.50", "12,50"},
      {"5 +/- 3", "-53.00", "-53,00"},
      {"8 / 0 =", "Error", "Error"},
      {"8 / 0 = 4", "4.00", "4,00"},          // recovery: the digit starts again
      {"8 / 0 = + 2 =", "2.00", "2,00"},      // an operator reads "Error" as 0
      {"9 sqrt", "3.00", "3,00"},
      {"4 1/x", "0.25", "0,25"},
      {"0 1/x", "Error", "Error"},
      {"4 +/- sqrt", "Error", "Error"},
      {"2 0 0 + 1 0 % =", "220.00", "220,00"},  // percent keeps the pending operator
      {"5 0 * 1 0 %", "5.00", "5,00"},        // 10 per cent of the 50 accumulated
      {"1 2 3 Back", "12.00", "12,00"},
      {"1 2 + 3 Back", "3.00", "3,00"},        // Back does nothing while an operator is pending
      {"9 9 C", "0.00", "0,00"},
      {"9 + 9 CE 1 =", "1.00", "1,00"},
      {"5 MS C 3 M+ MR", "8.00", "8,00"},
      {"5 MS MC MR", "0.00", "0,00"},
      {"8 / 0 = MS MR", "0.00", "0,00"},       // MS on "Error" keeps the memory (0)
      {"6 MS 8 / 0 = M+ C MR", "6.00", "6,00"},
      {"1 . 0 5 + . 2 =", "1.25", "1,25"},
      {"3 - 5 =", "-2.00", "-2,00"},
      {"1 0 / 4 =", "2.50", "2,50"},
  };
  for (bool comma : {false, true}) {
    rtl::TFormatSettings s;
    if (comma) {
      s.DecimalSeparator = ',';
      s.ThousandSeparator = '.';
    }
    rtl::TFormatSettingsScope scope(s);
    for (const SequenceCase& c : cases) {
      CalcRig rig;
      rig.Press(c.keys);
      EXPECT_EQ(rig.calc->Text(), comma ? c.comma : c.enUS) << c.keys << (comma ? " (comma)" : "");
    }
  }
}

TEST(Calculator, MaxLengthStopsDigitsSignAndPoint) {
  CalcRig rig;
  rig.calc->SetText("1");
  EXPECT_EQ(rig.calc->Text(), "1.00");
  rig.calc->SetMaxLength(4);
  rig.Press("5 6 +/- .");
  EXPECT_EQ(rig.calc->Text(), "1.00");
  // The operators work; the next number's digit is refused as well, so
  // "= " adds the shown 1 again.
  rig.Press("+ 2 =");
  EXPECT_EQ(rig.calc->Text(), "2.00");
}

TEST(Calculator, MemoryReadsThousandsAndLeavesTextsThatAreNoNumber) {
  CalcRig rig;
  rig.calc->SetShowThousandSeparator(true);
  rig.Press("1 2 3 4");
  EXPECT_EQ(rig.calc->Text(), "1,234.00");
  rig.Press("MS");
  EXPECT_DOUBLE_EQ(static_cast<double>(rig.calc->Memory()), 1234);
  rig.Press("M+");
  EXPECT_DOUBLE_EQ(static_cast<double>(rig.calc->Memory()), 2468);
  rig.calc->SetText("Error");
  rig.Press("M+");
  EXPECT_DOUBLE_EQ(static_cast<double>(rig.calc->Memory()), 2468);
  rig.Press("MR");
  EXPECT_EQ(rig.calc->Text(), "2,468.00");
  rig.calc->SetShowThousandSeparator(false);
  EXPECT_EQ(rig.calc->Text(), "2468.00");
}

TEST(Calculator, GridCalcValueFinishesThePendingSum) {
  CalcRig rig;
  rig.Press("7 + 3");
  EXPECT_EQ(rig.calc->Text(), "3.00");
  EXPECT_EQ(rig.calc->PendingOperator(), 0);
  rig.calc->CalcValue();
  EXPECT_EQ(rig.calc->Text(), "10.00");
  EXPECT_EQ(rig.calc->PendingOperator(), -1);
  EXPECT_TRUE(rig.calc->Modified());
}

TEST(Calculator, RealClicksOnThePopupKeypadAndAClickOutsideKeepsTheResult) {
  ManualTime time;
  CalcRig rig;
  TDropDownEditButton* b = rig.calc->DropDownButton();
  MouseDown(b, b->Width() / 2, b->Height() / 2);
  MouseUp(b, b->Width() / 2, b->Height() / 2);
  Pump();
  ASSERT_TRUE(rig.calc->DroppedDown());
  EXPECT_FALSE(rig.calc->KeyboardActive());
  TCustomButtonPanel* pad = rig.calc->ButtonPanel();
  EXPECT_EQ(pad->Buttons()->Items(rig.IndexOf("BTN_7"))->ItemBounds(), (TRect{46, 38, 80, 64}));
  auto click = [&](const char* name) {
    const TRect r = pad->Buttons()->Items(rig.IndexOf(name))->ItemBounds();
    QTest::mouseClick(pad->Widget(), Qt::LeftButton, {}, QPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2));
    Pump();
  };
  for (const char* k : {"BTN_7", "BTN_*", "BTN_6", "BTN_="}) click(k);
  EXPECT_EQ(rig.calc->Text(), "42.00");
  click("BTN_+");
  click("BTN_8");
  SaveShot(rig.calc->DropDownForm()->Widget()->grab().toImage(), "dropdown_calculator_popup.png");
  QTest::mousePress(rig.elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(rig.elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  Pump();
  EXPECT_FALSE(rig.calc->DroppedDown());
  EXPECT_EQ(rig.calc->Text(), "8.00");
  rig.calc->CalcValue();
  EXPECT_EQ(rig.calc->Text(), "50.00");
}

TEST(Calculator, KeysInThePopupRunTheCalculatorAndCloseIt) {
  ManualTime time;
  CalcRig rig;
  auto open = [&] {
    TDropDownEditButton* b = rig.calc->DropDownButton();
    MouseDown(b, b->Width() / 2, b->Height() / 2);
    MouseUp(b, b->Width() / 2, b->Height() / 2);
    Pump();
    ASSERT_TRUE(rig.calc->DroppedDown());
  };
  auto key = [&](int qtKey) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : rig.calc->DropDownForm()->Widget();
    QTest::keyClick(target, static_cast<Qt::Key>(qtKey), Qt::NoModifier);
    Pump();
  };
  open();
  rig.calc->DropDownForm()->SetFocus();
  Pump();
  auto typeChars = [&](const char* chars) {
    for (const char* c = chars; *c != 0; ++c) {
      QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : rig.calc->DropDownForm()->Widget();
      const int code = *c == '*' ? Qt::Key_Asterisk : *c >= '0' && *c <= '9' ? Qt::Key_0 + (*c - '0') : int(*c);
      QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(QChar(*c)));
      QApplication::sendEvent(target, &press);
      QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, QString(QChar(*c)));
      QApplication::sendEvent(target, &release);
      Pump();
    }
  };
  typeChars("6*7");
  key(Qt::Key_Return);
  EXPECT_FALSE(rig.calc->DroppedDown());
  EXPECT_EQ(rig.calc->Text(), "42.00");
  // Escape closes; the calculator writes every display through SetText,
  // so the display stays as it was last written.
  time.Advance(TLumCustomDropDown::ReopenGuardMs + 50);
  open();
  typeChars("9");
  key(Qt::Key_Escape);
  EXPECT_FALSE(rig.calc->DroppedDown());
  EXPECT_EQ(rig.calc->Text(), "9.00");
}

TEST(Calculator, KeysTypedIntoTheEditAreCommands) {
  CalcRig rig;
  rig.calc->SetFocus();
  Type(rig.calc, "7+3=");
  EXPECT_EQ(rig.calc->Text(), "10.00");
  // After "=" a digit starts the next number.
  Type(rig.calc, "9*4=");
  EXPECT_EQ(rig.calc->Text(), "36.00");
  Type(rig.calc, "x");  // no command, no text
  EXPECT_EQ(rig.calc->Text(), "36.00");
  Type(rig.calc, "c");
  EXPECT_EQ(rig.calc->Text(), "0.00");
}

// Random sequences of digits, the point, the four operators, =, +/-, C
// and %, run here and by the Python reference; the displays must agree.
TEST(Calculator, ArithmeticAgreesWithPythonDecimalOnRandomSequences) {
  std::mt19937 random(20261211);
  const std::string operators = "+-*/";
  std::vector<std::string> sequences;
  for (int n = 0; n < 1000; ++n) {
    std::string s;
    // Up to four terms of up to three digits and one percent keep every
    // value below 10^15, where the fixed format ends.
    const int terms = 2 + static_cast<int>(random() % 3);
    bool percent = false;
    for (int t = 0; t < terms; ++t) {
      const int digits = 1 + static_cast<int>(random() % 3);
      for (int d = 0; d < digits; ++d) s += static_cast<char>('0' + random() % 10);
      if (random() % 4 == 0) {
        s += '.';
        s += static_cast<char>('0' + random() % 10);
        if (random() % 2 == 0) s += static_cast<char>('0' + random() % 10);
      }
      if (random() % 8 == 0) s += 'N';
      if (t + 1 < terms) s += operators[random() % 4];
      if (!percent && random() % 12 == 0) {
        s += '%';
        percent = true;
      }
    }
    s += random() % 10 == 0 ? "C7=" : "=";
    sequences.push_back(s);
  }
  const std::string in = std::string(TOLVANE_BUILD_DIR) + "/calculator_sequences.txt";
  {
    std::ofstream out(in);
    for (const std::string& s : sequences) out << s << "\n";
  }
  const std::string script = std::string(TOLVANE_SOURCE_DIR) + "/tests/dropdown/pickers/calc_reference.py";
  FILE* p = popen(("python3 '" + script + "' '" + in + "'").c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::vector<std::string> expected;
  char line[4096];
  while (std::fgets(line, sizeof line, p) != nullptr) {
    std::string l(line);
    while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
    expected.push_back(l);
  }
  ASSERT_EQ(pclose(p), 0);
  ASSERT_EQ(expected.size(), sequences.size());
  CalcRig rig;
  const std::map<char, std::string> names = {{'+', "BTN_+"}, {'-', "BTN_-"}, {'*', "BTN_*"}, {'/', "BTN_/"},
                                             {'=', "BTN_="}, {'N', "BTN_+/-"}, {'C', "BTN_C"}, {'%', "BTN_%"},
                                             {'.', "BTN_."}};
  int wrong = 0;
  for (size_t i = 0; i < sequences.size(); ++i) {
    rig.Press("C");
    for (char k : sequences[i]) {
      const std::string name = k >= '0' && k <= '9' ? "BTN_" + std::string(1, k) : names.at(k);
      rig.calc->ButtonClick(rig.calc->ButtonPanel(), rig.IndexOf(name));
    }
    if (rig.calc->Text() != expected[i] && ++wrong <= 10)
      ADD_FAILURE() << sequences[i] << ": " << rig.calc->Text() << " against " << expected[i];
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace dropdown
