// The IP-address edit: the field rules driven by keys into the focused
// field, Tab through the fields and out, the change events, the Text and
// Address cases, ranges, a blank control kept blank when its window is
// made again, and the dots painted between the fields.
#include <gtest/gtest.h>

#include <QTest>
#include <functional>

#include "support/MoxIPAddress.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "SupportTestUtil.h"

using namespace support;
using namespace vcl;

namespace {

class IPAddressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application, 0);
    form->SetClientWidth(300);
    form->SetClientHeight(120);
    before = new TEdit(form);
    before->SetBounds(10, 10, 100, 22);
    before->SetParent(form);
    ip = new TMoxIPAddress(form);
    ip->SetBounds(10, 40, 160, ip->Height());
    ip->SetParent(form);
    after = new TEdit(form);
    after->SetBounds(10, 80, 100, 22);
    after->SetParent(form);
    ip->OnChange = [this](TObject*) { ++changes; };
    form->Show();
    supporttest::Pump(3);
  }
  void TearDown() override { Free(form); }

  // What the fields show, "a.b.c.d" with blanks left empty.
  std::string Shown() const {
    std::string s;
    for (Integer i = 0; i < 4; ++i) s += (i ? "." : "") + ip->Field(i)->FieldText();
    return s;
  }
  QWidget* FocusedWidget() const {
    const Integer f = ip->FocusedField();
    if (f >= 0) return ip->Field(f)->Widget();
    if (before->Focused()) return before->Widget();
    if (after->Focused()) return after->Widget();
    return form->Widget();
  }
  // Keys as a person types them, into whatever has the focus: "<" Left,
  // ">" Right, "#" Backspace, "\t" Tab, "^" Shift+Tab.
  void Type(const std::string& keys) {
    for (char ch : keys) {
      QWidget* w = FocusedWidget();
      switch (ch) {
        case '<': QTest::keyClick(w, Qt::Key_Left); break;
        case '>': QTest::keyClick(w, Qt::Key_Right); break;
        case '#': QTest::keyClick(w, Qt::Key_Backspace); break;
        case '\t': QTest::keyClick(w, Qt::Key_Tab); break;
        case '^': QTest::keyClick(w, Qt::Key_Backtab, Qt::ShiftModifier); break;
        default: QTest::keyClick(w, ch);
      }
    }
  }
  void FocusField(Integer i) {
    ip->Perform(IPM_SETFOCUS, static_cast<WPARAM>(i));
    ASSERT_EQ(ip->FocusedField(), i);
  }

  TForm* form = nullptr;
  TEdit* before = nullptr;
  TMoxIPAddress* ip = nullptr;
  TEdit* after = nullptr;
  int changes = 0;
};

}  // namespace

TEST_F(IPAddressTest, ConstructionAndTheFieldWindows) {
  EXPECT_EQ(ip->Width(), 160);
  EXPECT_TRUE(ip->TabStop());
  EXPECT_TRUE(ip->TabThroughFields());
  EXPECT_EQ(ip->Color(), clWindow);
  EXPECT_FALSE(ip->ParentColor());
  EXPECT_EQ(ip->HookedFields(), 4);
  // The window was made without an OnChange.
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(Shown(), "0.0.0.0");
  for (Integer i = 0; i < 4; ++i) EXPECT_EQ(ip->Range()->FieldMax(i), 255);
}

TEST_F(IPAddressTest, FieldRulesThroughTheKeyboard) {
  struct Case {
    const char* name;
    Integer start;        // field focused first (after clearing)
    std::string keys;
    std::string shown;    // the fields afterwards
    Integer focused;      // the field with the focus afterwards
  };
  // Leaving a field of a control that is not blank shows the stored
  // address again, so the empty fields then read 0.
  const Case cases[] = {
      {"typed with dots", 0, "192.168.1.20", "192.168.1.20", 3},
      {"three digits move on", 0, "10020030", "100.200.30.0", 2},
      {"the third digit of field 4 stays there", 3, "1234", "...123", 3},
      {"a fourth digit is ignored", 3, "999", "...999", 3},  // cut to 255 only on leaving
      {"non-digits are ignored", 0, "1a-b2", "12...", 0},
      {"a dot in an empty field stays", 0, ".", "...", 0},
      {"a blank moves on from a filled field", 0, "7 8", "7.8.0.0", 1},
      {"300 becomes 255 on leaving", 0, "300", "255.0.0.0", 1},
      {"backspace at 0 goes to the previous field's end", 0, "12.##3", "123.0.0.0", 1},
      {"backspace deletes inside a field", 0, "12#", "1...", 0},
      {"left at 0 to the previous end, right at the end to the next start", 1, "5<<6>>7", "6.57.0.0", 1},
      {"a selected field's text is replaced", 0, "1.2^9", "9.2.0.0", 0},
      {"a blank left blank stays blank", 0, "\t\t", "...", 2},
      {"a dot right after three digits only ends the number", 0, "123.4", "123.4.0.0", 1},
      {"a dot after a digit typed in the next field moves on", 0, "1234.", "123.4.0.0", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ip->Clear();
    FocusField(c.start);
    Type(c.keys);
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_EQ(ip->FocusedField(), c.focused);
  }
}

TEST_F(IPAddressTest, OnFieldChangeMayChangeTheValue) {
  std::vector<std::string> seen;
  ip->OnFieldChange = [&](TMoxIPAddress*, Integer field, std::pair<Byte, Byte> range, Integer& value) {
    seen.push_back(std::to_string(field) + ":" + std::to_string(value) + " " + std::to_string(range.first) + "-" +
                   std::to_string(range.second));
    if (field == 1 && value == 5) value = 50;
  };
  ip->Range()->SetFieldMax(1, 100);
  ip->Clear();
  FocusField(0);
  Type("1.5..");
  // Field 2 reads 0: the fields were shown again when field 1 was left.
  EXPECT_EQ(seen, (std::vector<std::string>{"0:1 0-255", "1:5 0-100", "2:0 0-255"}));
  EXPECT_EQ(Shown(), "1.50.0.0");
  EXPECT_EQ(ip->Address(), 0x01320000u);
  // A value the handler leaves outside the range becomes the nearest limit.
  ip->OnFieldChange = [](TMoxIPAddress*, Integer, std::pair<Byte, Byte>, Integer& value) { value = 777; };
  FocusField(1);
  Type("\t");
  EXPECT_EQ(ip->Field(1)->FieldText(), "100");
}

TEST_F(IPAddressTest, OnChangePerEditAndTheAddressFollows) {
  ip->Clear();
  changes = 0;
  FocusField(0);
  Type("10.1");
  EXPECT_EQ(changes, 3);  // "1", "10", "1" in field 2
  EXPECT_EQ(ip->Address(), 0x0A010000u);
  EXPECT_EQ(ip->AddressValues()->Value2(), 1);
  Type("#");
  EXPECT_EQ(changes, 4);
  // Setting the address is no user edit.
  ip->SetAddress(0x01020304);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(Shown(), "1.2.3.4");
}

TEST_F(IPAddressTest, TabThroughTheFieldsAndOut) {
  before->SetFocus();
  supporttest::Pump(3);
  Type("\t");
  EXPECT_EQ(ip->FocusedField(), 0);
  Type("\t\t\t");
  EXPECT_EQ(ip->FocusedField(), 3);
  Type("\t");  // past field 4: the next control
  EXPECT_EQ(ip->FocusedField(), -1);
  EXPECT_TRUE(after->Focused());
  FocusField(2);
  Type("^");
  EXPECT_EQ(ip->FocusedField(), 1);
  Type("^^");  // before field 1: the previous control
  EXPECT_EQ(ip->FocusedField(), -1);
  EXPECT_TRUE(before->Focused());
  // Tab selects the whole next field.
  ip->SetText("11.22.33.44");
  FocusField(0);
  Type("\t");
  EXPECT_EQ(ip->Field(1)->SelLength(), 2);

  // Without tabbing through the fields, Tab leaves at once.
  ip->SetTabThroughFields(false);
  FocusField(1);
  Type("\t");
  EXPECT_TRUE(after->Focused());
  FocusField(2);
  Type("^");
  EXPECT_TRUE(before->Focused());
}

TEST_F(IPAddressTest, TextAndAddressCases) {
  struct Case {
    const char* text;
    std::string shown;
  };
  const Case cases[] = {
      {"192.168.100.128", "192.168.100.128"},
      {"10.0.0", "10.0.0.0"},
      {"10.0.0.1.5", "10.0.0.0"},    // the fourth token is "1.5": not a number
      {"1.2.3.300", "1.2.3.0"},      // out of range counts as no number (not its low byte)
      {"1.x.3.4", "1.0.3.4"},
      {"", "0.0.0.0"},
      {" 7 . 8 .9.10", "7.8.9.10"},
      {"255.255.255.255", "255.255.255.255"},
      {"-1.2.3.4", "0.2.3.4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ip->SetText(c.text);
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_EQ(ip->GetText(), c.shown);
  }
  changes = 0;
  // With Field1Max 100 the first byte of 192.168.100.128 is refused.
  ip->SetText("1.1.1.1");
  ip->Range()->SetField1Max(100);
  ip->AddressValues()->SetAddress(0xC0A86480);
  EXPECT_EQ(ip->AddressValues()->Value1(), 1);
  EXPECT_EQ(ip->AddressValues()->Value2(), 168);
  EXPECT_EQ(ip->AddressValues()->Value4(), 128);
  EXPECT_EQ(ip->Address(), 0x01A86480u);
  EXPECT_EQ(Shown(), "1.168.100.128");
  // The index setter takes any byte.
  ip->AddressValues()->SetValue1(200);
  EXPECT_EQ(ip->Address(), 0xC8A86480u);
  EXPECT_EQ(changes, 0);
  // The range went to the window: typing 150 in field 1 ends at 100.
  ip->Clear();
  FocusField(0);
  Type("150");
  EXPECT_EQ(ip->Field(0)->FieldText(), "100");
}

TEST_F(IPAddressTest, ReadingTheTextLeavesTheFieldsAlone) {
  ip->Clear();
  FocusField(1);
  Type("7");
  EXPECT_EQ(ip->GetText(), "0.7.0.0");
  EXPECT_EQ(Shown(), ".7..");
  EXPECT_EQ(ip->AddressValues()->Value2(), 7);
  EXPECT_EQ(ip->FocusedField(), 1);
}

TEST_F(IPAddressTest, ABlankControlStaysBlankWhenItsWindowIsMadeAgain) {
  ip->Clear();
  EXPECT_TRUE(ip->IsBlank());
  ip->RecreateWnd();
  EXPECT_EQ(ip->HookedFields(), 4);
  EXPECT_TRUE(ip->IsBlank());
  EXPECT_EQ(Shown(), "...");
  ip->SetAddress(0x7F000001);
  ip->RecreateWnd();
  EXPECT_EQ(Shown(), "127.0.0.1");
  EXPECT_EQ(changes, 0);
  // Fields typed after remaking still reach the control.
  FocusField(3);
  Type("#2");
  EXPECT_EQ(ip->Address(), 0x7F000002u);
  EXPECT_EQ(changes, 2);
}

TEST_F(IPAddressTest, ColoursDotsAndEnabling) {
  ip->SetColor(clYellow);
  ip->Font()->SetColor(clNavy);
  ip->SetAddress(0x01020304);
  ip->Repaint();
  for (Integer i = 0; i < 4; ++i) ip->Field(i)->Repaint();
  // The fields take the control's colour.
  TIPAddressField* f = ip->Field(0);
  EXPECT_EQ(f->Canvas()->Pixels(1, 1), clYellow);
  // A dot in the gap between fields 1 and 2, in the font colour.
  const TRect a = f->BoundsRect(), b = ip->Field(1)->BoundsRect();
  bool dot = false;
  for (Integer x = a.Right; x < b.Left + 4; ++x)
    for (Integer y = 0; y < ip->Height(); ++y) dot = dot || ip->Canvas()->Pixels(x, y) == clNavy;
  EXPECT_TRUE(dot);
  ip->SetEnabled(false);
  for (Integer i = 0; i < 4; ++i) EXPECT_FALSE(ip->Field(i)->Enabled());
  ip->SetEnabled(true);
  for (Integer i = 0; i < 4; ++i) EXPECT_TRUE(ip->Field(i)->Enabled());
}

TEST_F(IPAddressTest, GalleryOfTheAddressEdit) {
  ip->SetText("192.168.100.128");
  FocusField(2);
  supporttest::Pump(3);
  ASSERT_TRUE(form->SaveWindowImage(AnsiString(TOLVANE_BIN_DIR) + "/../support_ip_address.png"));
}
