// The wide-string controls: the wide string list and its streaming, the
// text of controls with and without a window, typed and composed
// characters, the wide edits and the wide combo box, on every character of
// Unicode's own data.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <QInputMethodEvent>
#include <QString>
#include <fstream>
#include <sstream>

#include "DropdownTestSupport.h"
#include "dropdown/VoeUni.h"
#include "rtl/CodePages.h"
#include "rtl/Streams.h"

namespace dropdown {
namespace {

using namespace ddtest;

// Every assigned code point of Unicode's character database but the
// controls (Cc) and the surrogates (Cs), and the characters' names.
struct UnicodeData {
  std::vector<char32_t> codePoints;
  std::vector<std::string> names;
  static const UnicodeData& Get() {
    static UnicodeData d = Load();
    return d;
  }
  static UnicodeData Load() {
    UnicodeData d;
    std::ifstream in("/usr/share/unicode/UnicodeData.txt");
    std::string line;
    char32_t rangeStart = 0;
    while (std::getline(in, line)) {
      std::vector<std::string> f;
      std::stringstream ss(line);
      std::string field;
      while (std::getline(ss, field, ';')) f.push_back(field);
      if (f.size() < 3) continue;
      char32_t cp = static_cast<char32_t>(std::stoul(f[0], nullptr, 16));
      const std::string& name = f[1];
      const std::string& cat = f[2];
      if (cat == "Cc" || cat == "Cs") continue;
      if (name.size() > 8 && name.compare(name.size() - 8, 8, ", First>") == 0) {
        rangeStart = cp;
        continue;
      }
      if (name.size() > 7 && name.compare(name.size() - 7, 7, ", Last>") == 0) {
        for (char32_t c = rangeStart; c <= cp; ++c) d.codePoints.push_back(c);
        continue;
      }
      d.codePoints.push_back(cp);
      if (name[0] != '<') d.names.push_back(name);
    }
    return d;
  }
  // The code points in UTF-16 strings of at most n code points each.
  std::vector<WideString> Chunks(size_t n) const {
    std::vector<WideString> out;
    WideString cur;
    size_t count = 0;
    for (char32_t c : codePoints) {
      if (c < 0x10000) {
        cur.push_back(static_cast<char16_t>(c));
      } else {
        cur.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        cur.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
      }
      if (++count == n) {
        out.push_back(cur);
        cur.clear();
        count = 0;
      }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
  }
};

class WideControls : public ::testing::Test {
 protected:
  void SetUp() override { form = MakeForm(); }
  void TearDown() override { Free(form); }
  template <class T>
  T* Make(bool withWindow, int top = 10) {
    auto* c = new T(form);
    if (withWindow) {
      c->SetParent(form);
      c->SetBounds(10, top, 200, 24);
      c->HandleNeeded();
    }
    return c;
  }
  TForm* form = nullptr;
};

TEST_F(WideControls, UnicodeDataIsThere) {
  const auto& d = UnicodeData::Get();
  EXPECT_GT(d.codePoints.size(), 250000u);
  EXPECT_GT(d.names.size(), 30000u);
}

TEST_F(WideControls, EveryCharacterRoundTripsThroughEachControl) {
  auto chunks = UnicodeData::Get().Chunks(2000);
  for (bool withWindow : {false, true}) {
    auto* edit = Make<TVoeUniEdit>(withWindow, 10);
    auto* memo = Make<TVoeUniMemo>(withWindow, 40);
    auto* button = Make<TVoeUniEditBtn>(withWindow, 150);
    auto* combo = Make<TVOEUniComboBox>(withWindow, 180);
    for (const WideString& chunk : chunks) {
      edit->SetText(chunk);
      memo->SetText(chunk);
      button->SetText(chunk);
      combo->SetText(chunk);
      ASSERT_EQ(edit->GetText(), chunk);
      ASSERT_EQ(memo->GetText(), chunk);
      ASSERT_EQ(button->GetText(), chunk);
      ASSERT_EQ(combo->GetText(), chunk);
    }
    // The item list keeps them too.
    combo->Items()->BeginUpdate();
    for (const WideString& chunk : chunks) combo->Items()->Add(chunk);
    combo->Items()->EndUpdate();
    ASSERT_EQ(combo->Items()->Count(), static_cast<Integer>(chunks.size()));
    for (size_t i = 0; i < chunks.size(); ++i) ASSERT_EQ(combo->Items()->Get(static_cast<Integer>(i)), chunks[i]);
    Free(edit);
    Free(memo);
    Free(button);
    Free(combo);
  }
}

TEST_F(WideControls, CompareWideTextAgreesWithQt) {
  const auto& names = UnicodeData::Get().names;
  auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
  for (size_t i = 0; i < names.size(); ++i) {
    QString lower = QString::fromStdString(names[i]).toLower();
    QString upper = QString::fromStdString(names[i]).toUpper();
    WideString wl = lower.toStdU16String(), wu = upper.toStdU16String();
    ASSERT_EQ(CompareWideText(wl, wu), 0) << names[i];
    // Neighbours in the file, one lower- and one upper-cased.
    if (i + 1 < names.size()) {
      QString next = QString::fromStdString(names[i + 1]).toUpper();
      int qt = sign(lower.compare(next, Qt::CaseInsensitive));
      ASSERT_EQ(CompareWideText(wl, next.toStdU16String()), qt) << names[i] << " / " << names[i + 1];
    }
  }
  // Beyond the names' letters.
  EXPECT_EQ(CompareWideText(u"\u00C4RGER \u0130\u03A3", u"\u00E4rger \u0130\u03C3"), 0);
  EXPECT_EQ(sign(QString::fromUtf16(u"\u10A0").compare(QString::fromUtf16(u"\u2D00"), Qt::CaseInsensitive)),
            CompareWideText(u"\u10A0", u"\u2D00"));
}

TEST_F(WideControls, TextWithoutAWindowLivesInTheCaptionHolder) {
  auto* edit = new TVoeUniEdit(form);
  EXPECT_FALSE(edit->HandleAllocated());
  edit->SetText(WideString(u"\u4E2D\u6587 \U0001F600"));
  EXPECT_EQ(edit->GetText(), u"\u4E2D\u6587 \U0001F600");
  TWideCaptionHolder* holder = FindWideCaptionHolder(edit, u"unused");
  EXPECT_EQ(holder->Caption, u"\u4E2D\u6587 \U0001F600");
  EXPECT_EQ(FindWideCaptionHolder(edit, u"other"), holder);  // one per control
  // The 8-bit text set since wins.
  edit->SetText(AnsiString("plain"));
  EXPECT_EQ(edit->GetText(), u"plain");
  // The window shows what was kept, and keeps it when it is made again.
  edit->SetText(WideString(u"\u4E2D"));
  edit->SetParent(form);
  edit->HandleNeeded();
  EXPECT_EQ(edit->GetText(), u"\u4E2D");
  edit->RecreateWnd();
  EXPECT_EQ(edit->GetText(), u"\u4E2D");
}

TEST_F(WideControls, SettingTheSameTextSendsNoChangeNotice) {
  auto* edit = Make<TVoeUniEdit>(true);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  SetWideText(edit, u"\u4E2D");
  EXPECT_EQ(changes, 1);
  SetWideText(edit, u"\u4E2D");
  EXPECT_EQ(changes, 1);
}

TEST_F(WideControls, TypedCharactersReachKeyPressAsThemselves) {
  auto* edit = Make<TVoeUniEdit>(true);
  edit->SetFocus();
  Pump();
  std::vector<WideChar> pressed;
  edit->OnKeyPress = [&](TObject*, WideChar& k) { pressed.push_back(k); };
  Key(edit, 0, Qt::NoModifier, QString::fromUtf16(u"\u4E2D"));
  Key(edit, Qt::Key_A, Qt::NoModifier, "A");
  EXPECT_EQ(pressed, (std::vector<WideChar>{0x4E2D, u'A'}));
  EXPECT_EQ(edit->GetText(), u"\u4E2DA");
}

TEST_F(WideControls, AnInputMethodResultArrivesAsCharacters) {
  auto* edit = Make<TVoeUniEdit>(true);
  edit->SetFocus();
  Pump();
  std::vector<WideChar> pressed;
  edit->OnKeyPress = [&](TObject*, WideChar& k) {
    pressed.push_back(k);
    if (k == u'\u6587') k = 0;  // a handler may drop one
  };
  QInputMethodEvent e;
  e.setCommitString(QString::fromUtf16(u"\u4E2D\u6587\u5B57"));
  QCoreApplication::sendEvent(edit->Widget(), &e);
  Pump();
  EXPECT_EQ(pressed, (std::vector<WideChar>{0x4E2D, 0x6587, 0x5B57}));
  EXPECT_EQ(edit->GetText(), u"\u4E2D\u5B57");
  // A character beyond the basic plane comes as its two UTF-16 units, in
  // order, and lands whole.
  pressed.clear();
  e.setCommitString(QString::fromUtf16(u"\U0001F600x"));
  QCoreApplication::sendEvent(edit->Widget(), &e);
  Pump();
  EXPECT_EQ(pressed, (std::vector<WideChar>{0xD83D, 0xDE00, u'x'}));
  EXPECT_EQ(edit->GetText(), u"\u4E2D\u5B57\U0001F600x");
}

TEST_F(WideControls, TheMemoStartsUnwrappedAndKeepsItsTextWhenRecreated) {
  auto* memo = Make<TVoeUniMemo>(true);
  EXPECT_EQ(memo->Width(), 200);
  EXPECT_FALSE(memo->WordWrap());
  EXPECT_EQ(memo->ScrollBars(), ssNone);
  memo->SetText(WideString(u"first \u4E2D line\r\nsecond line"));
  memo->SetWordWrap(true);
  memo->SetScrollBars(ssBoth);
  EXPECT_EQ(memo->GetText(), u"first \u4E2D line\r\nsecond line");
  EXPECT_EQ(memo->Perform(WM_GETDLGCODE) & (DLGC_WANTTAB | DLGC_WANTALLKEYS), 0);
  // Tab moves the focus on.
  auto* next = Make<TVoeUniEdit>(true, 150);
  memo->SetFocus();
  Pump();
  Key(memo, Qt::Key_Tab, Qt::NoModifier, "\t");
  EXPECT_TRUE(next->Focused());
  EXPECT_EQ(memo->GetText(), u"first \u4E2D line\r\nsecond line");
  // Typed lines come back with CR LF.
  memo->SetText(AnsiString(""));
  memo->SetFocus();
  Pump();
  Type(memo, "ab");
  Key(memo, Qt::Key_Return, Qt::NoModifier, "\r");
  Type(memo, "c");
  EXPECT_EQ(memo->GetText(), u"ab\r\nc");
}

TEST_F(WideControls, TheWideEditWithButton) {
  auto* edit = Make<TVoeUniEditBtn>(true);
  EXPECT_EQ(edit->ButtonWidth(), 18);  // the button's real width
  std::vector<TObject*> clicks;
  edit->OnClickBtn = [&](TObject* s) { clicks.push_back(s); };
  edit->SetButtonCaption("...");
  EXPECT_EQ(edit->ButtonCaption(), "...");
  edit->SetFocus();
  Pump();
  edit->SetEditorEnabled(false);
  edit->SetText(WideString(u"\u4E2D"));
  Type(edit, "x");
  EXPECT_EQ(edit->GetText(), u"\u4E2D");
  Key(edit, Qt::Key_F4);
  Key(edit, Qt::Key_F4, Qt::ControlModifier);
  EXPECT_EQ(clicks, (std::vector<TObject*>{edit, edit}));
  MouseDown(edit->Button(), 3, 3);
  MouseUp(edit->Button(), 3, 3);
  EXPECT_EQ(clicks.back(), edit->Button());
  TRect r;
  edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r, Rect(1, 1, edit->ClientWidth() - 18 - 3, edit->ClientHeight() + 1));
  edit->SetRightAlign(true);
  EXPECT_EQ(edit->GetText(), u"\u4E2D");
}

// ------------------------------------------------------------ string lists

class WideList : public ::testing::Test {
 protected:
  void SetUp() override { combo = new TVOEUniComboBox(nullptr); }
  void TearDown() override { Free(combo); }
  TWideStrings& L() { return *combo->Items(); }
  std::vector<WideString> All() {
    std::vector<WideString> v;
    for (Integer i = 0; i < L().Count(); ++i) v.push_back(L().Get(i));
    return v;
  }
  TVOEUniComboBox* combo = nullptr;
};

TEST_F(WideList, TextIsCutAtEveryLineBreak) {
  struct Case {
    WideString text;
    std::vector<WideString> lines;
  } cases[] = {
      {u"a\r\nb\r\n", {u"a", u"b"}},
      {u"a\n\rb", {u"a", u"", u"b"}},
      {u"a\u2028b", {u"a", u"b"}},
      {u"a\u2029b\x0B" u"c\x0C" u"d", {u"a", u"b", u"c", u"d"}},
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {u"", {}},
      {u"\r\n", {u""}},
      {WideString(u"a\0b", 3), {u"a"}},
      {u"last", {u"last"}},
  };
  for (const auto& c : cases) {
    L().SetTextStr(c.text);
    EXPECT_EQ(All(), c.lines);
  }
  L().Clear();
  EXPECT_EQ(L().GetTextStr(), u"");
  L().Add(u"");
  EXPECT_EQ(L().GetTextStr(), u"\r\n");
  L().SetText(u"x\ny");
  TWideStrBlock t = L().GetText();
  EXPECT_EQ(WideString(t.get()), u"x\r\ny\r\n");
}

TEST_F(WideList, FindingMovingAndComparing) {
  L().SetTextStr(u"x\r\ny\r\nz\r\n");
  L().Move(2, 0);
  EXPECT_EQ(All(), (std::vector<WideString>{u"z", u"x", u"y"}));
  L().Exchange(0, 2);
  EXPECT_EQ(All(), (std::vector<WideString>{u"y", u"x", u"z"}));
  L().Put(1, u"\u00C4pfel");
  EXPECT_EQ(L().IndexOf(u"\u00E4PFEL"), 1);
  EXPECT_EQ(L().IndexOf(u"none"), -1);
  auto* other = new TVOEUniComboBox(nullptr);
  other->Items()->Assign(&L());
  EXPECT_TRUE(other->Items()->Equals(L()));
  other->Items()->Put(1, u"\u00E4PFEL");
  EXPECT_FALSE(other->Items()->Equals(L()));
  Free(other);
  L().Clear();
  EXPECT_EQ(L().IndexOf(u"x"), -1);
}

TEST_F(WideList, AnItemOutsideTheListIsRefused) {
  L().SetTextStr(u"a\r\nb\r\n");
  struct Case {
    Integer index;
    bool taken;
  } cases[] = {{-1, false}, {3, false}, {2, true}, {0, true}};
  for (const auto& c : cases) {
    Integer before = L().Count();
    if (c.taken) {
      L().Insert(c.index, u"\u4E2D");
      EXPECT_EQ(L().Count(), before + 1) << c.index;
      EXPECT_EQ(L().Get(c.index), u"\u4E2D") << c.index;
    } else {
      try {
        L().Insert(c.index, u"\u4E2D");
        ADD_FAILURE() << "no error for " << c.index;
      } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message(), "Unable to insert a line");
      }
      EXPECT_EQ(L().Count(), before) << c.index;
    }
  }
  EXPECT_EQ(All(), (std::vector<WideString>{u"\u4E2D", u"a", u"b", u"\u4E2D"}));
}

TEST_F(WideList, ObjectsTravelWithTheirStrings) {
  int a = 1, b = 2;
  L().AddObject(u"a", &a);
  L().AddObject(u"b", &b);
  L().Exchange(0, 1);
  EXPECT_EQ(L().Objects(0), &b);
  L().Move(0, 1);
  EXPECT_EQ(L().Objects(1), &b);
  L().Put(1, u"bee");
  EXPECT_EQ(L().Objects(1), &b);
  rtl::TStringList ansi;
  L().AssignTo(ansi);
  EXPECT_EQ(ansi.Objects(1), &b);
  EXPECT_EQ(ansi.Get(1), "bee");
}

TEST_F(WideList, TheAnsiView) {
  rtl::TStringList three;
  three.SetText("\xC3\xA4ins\r\nzwei\r\ndrei\r\n");
  L().Add(u"old");
  L().SetAnsiStrings(&three);
  EXPECT_EQ(All(), (std::vector<WideString>{u"\u00E4ins", u"zwei", u"drei"}));
  rtl::TStrings* view = L().AnsiStrings();
  EXPECT_EQ(view->Count(), 3);
  EXPECT_EQ(view->Get(0), "\xC3\xA4ins");
  view->Add("vier");
  EXPECT_EQ(L().Get(3), u"vier");
  view->Delete(0);
  EXPECT_EQ(L().Count(), 3);
  EXPECT_EQ(view->GetObject(0), nullptr);
}

TEST_F(WideList, AssignmentFromOtherClassesFails) {
  TBitmap bmp;
  EXPECT_THROW(L().Assign(&bmp), rtl::EConvertError);
  EXPECT_THROW(L().AssignTo(&bmp), rtl::EConvertError);
}

TEST_F(WideList, TheWideStringsPropertyRoundTrips) {
  L().SetTextStr(u"one\r\n\u4E2D\U0001F600\r\n\r\n");
  rtl::TMemoryStream s;
  {
    TWriter w(s);
    L().DefineProperties(w);
  }
  s.SetPosition(0);
  auto* back = new TVOEUniComboBox(nullptr);
  back->Items()->Add(u"replaced");
  {
    TReader r(s);
    r.ReadDefinedProperty("TComboBoxStrings", [&](TFiler& f) { back->Items()->DefineProperties(f); });
  }
  EXPECT_TRUE(back->Items()->Equals(L()));
  // Nothing stored for an empty list without an ancestor, nor for a list
  // equal to its ancestor.
  back->Items()->Clear();
  rtl::TMemoryStream empty;
  {
    TWriter w(empty);
    back->Items()->DefineProperties(w);
  }
  EXPECT_EQ(empty.Size(), 0);
  rtl::TMemoryStream same;
  {
    TWriter w(same);
    back->Items()->Assign(&L());
    w.SetAncestor(&L());
    back->Items()->DefineProperties(w);
  }
  EXPECT_EQ(same.Size(), 0);
  Free(back);
}

TEST_F(WideList, AFormFileWithEightBitStringsLoads) {
  // "WideStrings" as a form file writes it, with 8-bit values.
  rtl::TMemoryStream s;
  {
    TWriter w(s);
    w.WriteStr("WideStrings");
    w.WriteListBegin();
    w.WriteString("caf\xC3\xA9");
    w.WriteString(std::string(300, 'x'));
    w.WriteWideString(u"\u4E2D");
    w.WriteListEnd();
  }
  s.SetPosition(0);
  TReader r(s);
  r.ReadDefinedProperty("TComboBoxStrings", [&](TFiler& f) { L().DefineProperties(f); });
  EXPECT_EQ(All(), (std::vector<WideString>{u"caf\u00E9", WideString(300, u'x'), u"\u4E2D"}));
  // An unknown property is an error.
  rtl::TMemoryStream bad;
  {
    TWriter w(bad);
    w.WriteStr("Other");
  }
  bad.SetPosition(0);
  TReader rb(bad);
  EXPECT_THROW(rb.ReadDefinedProperty("TComboBoxStrings", [&](TFiler& f) { L().DefineProperties(f); }),
               rtl::EReadError);
}

// ------------------------------------------------------------ wide combo box

TEST_F(WideControls, TheWideComboKeepsItsCharacters) {
  auto* combo = Make<TVOEUniComboBox>(true);
  combo->Items()->Add(u"\u4E2D\u6587");
  combo->Items()->Add(u"Beta");
  combo->SetText(WideString(u"typed \U0001F600"));
  combo->Items()->Clear();
  EXPECT_EQ(combo->GetText(), u"typed \U0001F600");
  combo->Items()->Add(u"\u4E2D\u6587");
  combo->Items()->Add(u"Beta");
  EXPECT_EQ(combo->Items()->IndexOf(u"bETA"), 1);
  // Choosing from the list puts the item's text in.
  int clicks = 0, changes = 0;
  combo->OnClick = [&](TObject*) { ++clicks; };
  combo->OnChange = [&](TObject*) { ++changes; };
  combo->SetItemIndex(0);
  combo->Perform(CN_COMMAND, MakeWParam(0, CBN_SELCHANGE));
  EXPECT_EQ(combo->GetText(), u"\u4E2D\u6587");
  EXPECT_EQ(clicks, 1);
  EXPECT_GE(changes, 1);
}

TEST_F(WideControls, BackspaceInTheWideComboOnlyFiresTheEvent) {
  auto* combo = Make<TVOEUniComboBox>(true);
  combo->SetText(AnsiString("abc"));
  combo->SetFocus();
  Pump();
  std::vector<WideChar> pressed;
  combo->OnKeyPress = [&](TObject*, WideChar& k) { pressed.push_back(k); };
  Key(combo, Qt::Key_End);
  Key(combo, Qt::Key_Backspace, Qt::NoModifier, "\b");
  EXPECT_EQ(pressed, (std::vector<WideChar>{8}));
  EXPECT_EQ(combo->GetText(), u"ab");
}

TEST_F(WideControls, AFailingKeyHandlerOfTheWideComboReachesTheApplication) {
  auto* combo = Make<TVOEUniComboBox>(true);
  combo->SetText(AnsiString(""));
  combo->SetFocus();
  Pump();
  combo->OnKeyPress = [](TObject*, WideChar&) { throw rtl::Exception("refused"); };
  int handled = 0;
  auto saved = Application->OnException;
  Application->OnException = [&](TObject*, rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "refused");
    ++handled;
  };
  Type(combo, "a");
  Application->OnException = saved;
  EXPECT_EQ(handled, 1);
  // The box goes on working.
  combo->OnKeyPress = nullptr;
  Type(combo, "b");
  EXPECT_EQ(combo->GetText().back(), u'b');
}

TEST_F(WideControls, EnterOrEscapeClosesAnOpenList) {
  auto* combo = Make<TVOEUniComboBox>(true);
  combo->Items()->Add(u"one");
  combo->SetText(AnsiString("on"));
  combo->SetDroppedDown(true);
  Pump();
  ASSERT_TRUE(combo->DroppedDown());
  TMessage m{WM_CHAR, VK_RETURN, 0, 0};
  combo->WndProc(m);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_NE(m.Result, 0);
  EXPECT_EQ(combo->GetText(), u"on");
}

}  // namespace
}  // namespace dropdown
