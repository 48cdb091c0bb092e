// The completion list and the parameter hint as windows, driven by real keys
// and clicks on a shown editor: opening under the caret, the list's key
// table, filtering, the inserted entries, the completion timer on a manual
// clock, the entry pictures, and the hint window beside the caret line.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "MemoTestSupport.h"
#include "memo/LumMemoCompletion.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"
#include "rtl/Clock.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ImgList.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"
#include "vcl/Pictures.h"

using namespace memotest;

namespace {

// A small language with entries of every kind and one call pattern.
TLumCustomMemoStyler* CwStyler(vcl::TComponent* owner) {
  auto* s = new TLumCustomMemoStyler(owner);
  rtl::TStrings* list = s->CompletionList();
  list->AddObject("function Max(A, B: Integer): Integer", rtl::IntToObject(5));
  list->AddObject("var MaxCount", rtl::IntToObject(1));
  list->AddObject("procedure Min(A: Integer);", rtl::IntToObject(6));
  list->AddObject("property Form.Caption", rtl::IntToObject(2));
  list->AddObject("property Form.Color", rtl::IntToObject(2));
  list->AddObject("event Form.OnClick", rtl::IntToObject(3));
  list->AddObject("method Form.Close", rtl::IntToObject(4));
  list->AddObject("Plain", rtl::IntToObject(0));
  s->HintParameter()->Parameters()->Add("Max(A: Integer, B: Integer): Integer");
  return s;
}

struct CwRig {
  CwRig() : clock(std::make_shared<rtl::ManualClock>(5000)), scope(clock), f(400, 240) {
    styler = CwStyler(f.form);
    f.memo->SetSyntaxStyles(styler);
    f.memo->SetScrollBars(vcl::ssNone);
    f.memo->SetFocus();
    f.memo->OnStartAutoCompletion = [this](TObject*) { ++started; };
    f.memo->OnCancelAutoCompletion = [this](TObject*) { ++cancelled; };
    Pump();
  }
  TLumCustomMemo* Memo() { return f.memo; }
  TLumAutoform* Form() { return f.memo->CompletionForm(); }
  TAutoCompletionListBox* List() { return Form() ? Form()->List() : nullptr; }
  void Pump() {
    for (int i = 0; i < 3; ++i) vcl::Application->ProcessMessages();
  }
  // A key to whichever widget has the focus now (the list while it is open).
  void Key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    if (!target) target = f.memo->Widget();
    QTest::keyClick(target, k, mods);
    Pump();
  }
  void Type(const char* text) {
    for (const char* p = text; *p; ++p) {
      QWidget* target = QApplication::focusWidget();
      if (!target) target = f.memo->Widget();
      QTest::keyClick(target, *p);
      Pump();
    }
  }
  void Advance(uint64_t ms) {
    clock->Advance(ms);
    Pump();
  }
  std::vector<std::string> Items() {
    std::vector<std::string> v;
    if (List())
      for (Integer i = 0; i < List()->Count(); ++i) v.push_back(List()->Items()->Strings(i));
    return v;
  }
  std::string Line0() { return f.memo->TextStore()->Line(0); }

  std::shared_ptr<rtl::ManualClock> clock;
  rtl::ScopedClock scope;
  MemoOnForm f;
  TLumCustomMemoStyler* styler = nullptr;
  int started = 0;
  int cancelled = 0;
};

QImage CwGrabWindow(vcl::TCustomForm* form) {
  vcl::Application->ProcessMessages();
  return form->WindowWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST(MemoCompletionWindow, CtrlSpaceOpensTheListUnderTheCaret) {
  CwRig r;
  r.Type("Ma");
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(r.Form(), nullptr);
  EXPECT_EQ(r.Line0(), "Ma") << "the blank of Ctrl+Space is not typed";
  EXPECT_TRUE(r.Form()->Visible());
  EXPECT_EQ(r.Form()->Name(), "_fa");
  EXPECT_EQ(r.List()->Name(), "_lc");
  EXPECT_EQ(r.List()->Style(), vcl::lbOwnerDrawFixed);
  EXPECT_EQ(r.List()->Cursor(), vcl::crArrow);
  EXPECT_FALSE(r.List()->BorderVisible());
  EXPECT_TRUE(r.List()->Focused());
  EXPECT_FALSE(r.Memo()->MemberCompletion());
  EXPECT_EQ(r.started, 1);
  EXPECT_EQ(r.Items(), (std::vector<std::string>{"function Max(A, B: Integer): Integer", "var MaxCount"}));
  EXPECT_EQ(r.List()->ItemIndex(), 0);
  SaveShot(CwGrabWindow(r.Form()), "memo_completion_list_sizable.png");

  // Under the caret: the caret's columns and the visible gutter in, one row
  // below the caret's row and 2 pixels more; as high as the setting, as wide
  // as its entries measure (with the sizing band on both sides).
  const vcl::TPoint origin = r.Memo()->ClientToScreen(vcl::TPoint{0, 0});
  EXPECT_EQ(r.Form()->Left(), origin.X + 2 * r.Memo()->CharWidth() + r.Memo()->Gutter()->Width);
  EXPECT_EQ(r.Form()->Top(), origin.Y + r.Memo()->LineHeight() + 2);
  EXPECT_EQ(r.Form()->Height(), 100);
  const TCompletionMeasures m = r.List()->Measure();
  EXPECT_EQ(r.Form()->Width(), m.ListWidth + 2 * TLumAutoform::kBand);
  EXPECT_EQ(r.List()->ItemHeight(), m.ItemHeight);
  EXPECT_GE(m.ItemHeight, 16);

  // The settings' colour and font reach the open list.
  r.Memo()->AutoCompletion()->SetColor(0xE0F0F0);
  EXPECT_EQ(r.List()->Color(), 0xE0F0F0u);
  vcl::TFont big;
  big.Assign(r.Memo()->AutoCompletion()->Font());
  big.SetHeight(-20);
  r.Memo()->AutoCompletion()->SetFont(&big);
  EXPECT_EQ(r.List()->Font()->Height(), -20);
  EXPECT_GT(r.List()->ItemHeight(), m.ItemHeight);

  r.Key(Qt::Key_Escape);
  EXPECT_EQ(r.Form(), nullptr);
  EXPECT_EQ(r.cancelled, 0) << "Escape closes without cancelling";
  EXPECT_TRUE(r.Memo()->Focused());
  EXPECT_TRUE(r.Memo()->CaretShown());
  r.Pump();  // the released window goes
}

TEST(MemoCompletionWindow, KeyTableWhileTheListIsOpen) {
  // Each row starts from "M" with the list opened by Ctrl+Space.
  struct Row {
    const char* what;
    std::vector<Qt::Key> keys;
    const char* line;
    bool open;  // the list still open afterwards
    int cancels;
    std::vector<std::string> items;  // while open
  } rows[] = {
      {"letters type and filter", {Qt::Key_A}, "Ma", true, 0,
       {"function Max(A, B: Integer): Integer", "var MaxCount"}},
      {"the digit 4 types and filters", {Qt::Key_A, Qt::Key_4}, "Ma4", true, 0, {}},
      {"the digit 5 inserts with ()", {Qt::Key_A, Qt::Key_5}, "Max()", false, 0, {}},
      {"Enter inserts the selection", {Qt::Key_Down, Qt::Key_Return}, "MaxCount", false, 0, {}},
      {"Space inserts", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Space}, "Min()", false, 0, {}},
      {"Backspace deletes and filters",
       {Qt::Key_A, Qt::Key_Backspace},
       "M",
       true,
       0,
       {"function Max(A, B: Integer): Integer", "var MaxCount", "procedure Min(A: Integer);"}},
      {"Tab closes", {Qt::Key_Tab}, "M", false, 0, {}},
      {"an arrow moves the selection only", {Qt::Key_Down}, "M", true, 0,
       {"function Max(A, B: Integer): Integer", "var MaxCount", "procedure Min(A: Integer);"}},
      {"a function key cancels", {Qt::Key_F5}, "M", false, 1, {}},
      {"the comma key cancels", {Qt::Key_Comma}, "M", false, 1, {}},
      {"the minus key types an underscore", {Qt::Key_Minus}, "M_", true, 0, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    CwRig r;
    r.Type("M");
    r.Key(Qt::Key_Space, Qt::ControlModifier);
    ASSERT_NE(r.Form(), nullptr);
    for (Qt::Key k : row.keys) r.Key(k);
    EXPECT_EQ(r.Line0(), row.line);
    EXPECT_EQ(r.Form() != nullptr, row.open);
    EXPECT_EQ(r.cancelled, row.cancels);
    if (row.open) {
      EXPECT_EQ(r.Items(), row.items);
      EXPECT_TRUE(r.List()->Focused());
    } else {
      EXPECT_TRUE(r.Memo()->Focused());
    }
  }
}

TEST(MemoCompletionWindow, InsertedCallKeepsTheCaretBetweenItsParenthesesAndShowsItsHint) {
  CwRig r;
  r.Type("x := M");
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Line0(), "x := Max()");
  EXPECT_EQ(r.Memo()->CaretX(), 9);
  ASSERT_NE(r.Memo()->HintForm(), nullptr);
  EXPECT_TRUE(r.Memo()->HintForm()->Visible());
  EXPECT_EQ(r.Memo()->HintForm()->HintText().Current, "A: Integer");
  EXPECT_EQ(r.cancelled, 0);
  EXPECT_EQ(r.Form(), nullptr);
  EXPECT_TRUE(r.Memo()->Focused());
  // One undo takes the whole entry back.
  r.Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(r.Line0(), "x := M");
}

TEST(MemoCompletionWindow, LettersTypeWhateverTheModifiers) {
  CwRig r;
  int changes = 0;
  r.Memo()->OnChange = [&](TObject*) { ++changes; };
  r.Type("M");
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(r.Form(), nullptr);
  changes = 0;
  r.Key(Qt::Key_A, Qt::ControlModifier);  // no Select All while the list is open
  r.Key(Qt::Key_X, Qt::ShiftModifier);
  EXPECT_EQ(r.Line0(), "MaX");
  EXPECT_FALSE(r.Memo()->HasSelection());
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(r.Items(), (std::vector<std::string>{"function Max(A, B: Integer): Integer", "var MaxCount"}));
  EXPECT_TRUE(r.Memo()->Modified());
  // Read-only: nothing typed, the list narrows by what stands there.
  r.Memo()->SetReadOnly(true);
  r.Key(Qt::Key_C);
  EXPECT_EQ(r.Line0(), "MaX");
}

TEST(MemoCompletionWindow, DeleteKeyDeletesInTheEditor) {
  CwRig r;
  r.Type("Max");
  r.Key(Qt::Key_Left);
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(r.Form(), nullptr);
  r.Key(Qt::Key_Delete);
  EXPECT_EQ(r.Line0(), "Ma");
  EXPECT_NE(r.Form(), nullptr);
}

TEST(MemoCompletionWindow, MemberListOpensOnTheClockAndNarrows) {
  CwRig r;
  r.Type("Form.");
  EXPECT_TRUE(r.Memo()->CompletionTimer()->Enabled());
  r.Advance(499);
  EXPECT_EQ(r.Form(), nullptr);
  r.Advance(1);
  ASSERT_NE(r.Form(), nullptr);
  EXPECT_TRUE(r.Memo()->MemberCompletion());
  EXPECT_EQ(r.Memo()->CompletionStart(), (TMemoPos{5, 0}));
  EXPECT_EQ(r.Items(), (std::vector<std::string>{"property Form.Caption", "property Form.Color", "event Form.OnClick",
                                                 "method Form.Close"}));
  r.Key(Qt::Key_C);
  EXPECT_EQ(r.Items(), (std::vector<std::string>{"property Form.Caption", "property Form.Color", "method Form.Close"}));
  r.Key(Qt::Key_O);
  EXPECT_EQ(r.Items(), (std::vector<std::string>{"property Form.Color"}));
  r.Key(Qt::Key_Return);
  EXPECT_EQ(r.Line0(), "Form.Color") << "a member's name replaces only what was typed after the dot";
  EXPECT_EQ(r.Form(), nullptr);

  // Backspace over the dot ends a member list.
  r.Key(Qt::Key_End);
  r.Type(" Form.");
  r.Advance(500);
  ASSERT_NE(r.Form(), nullptr);
  r.Key(Qt::Key_Backspace);
  EXPECT_EQ(r.Line0(), "Form.Color Form");
  EXPECT_EQ(r.Form(), nullptr);
}

TEST(MemoCompletionWindow, NoListWhenAKeyFollowsWithinTheDelayOrTheTokenIsBare) {
  CwRig r;
  r.Type("Form.");
  r.Advance(300);
  r.Type("C");
  EXPECT_FALSE(r.Memo()->CompletionTimer()->Enabled());
  r.Advance(2000);
  EXPECT_EQ(r.Form(), nullptr);
  EXPECT_EQ(r.started, 0);

  // A bare "." or "(" names nothing.
  r.Key(Qt::Key_Return);
  r.Type(".");
  r.Advance(600);
  EXPECT_EQ(r.Form(), nullptr);
  r.Key(Qt::Key_Return);
  r.Type("(");
  r.Advance(600);
  EXPECT_EQ(r.Form(), nullptr);

  // Without AutoDisplay the clock opens nothing; Ctrl+Space still does.
  r.Memo()->AutoCompletion()->AutoDisplay = false;
  r.Key(Qt::Key_Return);
  r.Type("Form.");
  r.Advance(600);
  EXPECT_EQ(r.Form(), nullptr);
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(r.Form(), nullptr);
  EXPECT_TRUE(r.Memo()->MemberCompletion());
  EXPECT_EQ(r.Memo()->CompletionStart(), (TMemoPos{5, 3}));
  EXPECT_EQ(r.Items().size(), 4u);

  // The delay follows the setting.
  r.Key(Qt::Key_Escape);
  r.Memo()->AutoCompletion()->AutoDisplay = true;
  r.Memo()->AutoCompletion()->SetDelay(50);
  r.Key(Qt::Key_Return);
  r.Type("Form.");
  r.Advance(50);
  EXPECT_NE(r.Form(), nullptr);
}

TEST(MemoCompletionWindow, AReleasedButtonInsertsWithoutParentheses) {
  CwRig r;
  r.Type("M");
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(r.Form(), nullptr);
  const vcl::TRect item = r.List()->ItemRect(0);
  QTest::mouseClick(r.List()->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(item.Left + 5, item.Top + 3));
  r.Pump();
  EXPECT_EQ(r.Line0(), "Max");
  EXPECT_EQ(r.Form(), nullptr);
  EXPECT_TRUE(r.Memo()->Focused());
}

TEST(MemoCompletionWindow, LosingTheFocusCancels) {
  CwRig r;
  r.Type("M");
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(r.Form(), nullptr);
  // A click back in the text leaves the list.
  const vcl::TRect cell = r.Memo()->CellRect(1, 0);
  QTest::mouseClick(r.Memo()->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(cell.Left + 1, cell.Top + 2));
  r.Pump();
  EXPECT_EQ(r.Form(), nullptr);
  EXPECT_EQ(r.cancelled, 1);
  EXPECT_EQ(r.Line0(), "M");
  EXPECT_TRUE(r.Memo()->Focused());

  // So does the focus moving away inside the list's own window.
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(r.Form(), nullptr);
  r.List()->Perform(vcl::WM_KILLFOCUS, 0);
  r.Pump();
  EXPECT_EQ(r.Form(), nullptr);
  EXPECT_EQ(r.cancelled, 2);
}

TEST(MemoCompletionWindow, NothingOpensWithoutStylerEntriesOrWhenRefused) {
  CwRig r;
  // The HTML styler has no entries; a handler's entries open nothing.
  auto* html = new TLumHTMLMemoStyler(r.f.form);
  r.Memo()->SetSyntaxStyles(html);
  int asked = 0;
  r.Memo()->OnGetAutoCompletionList = [&](TObject*, const AnsiString&, rtl::TStrings* list) {
    ++asked;
    list->Add("var Extra");
  };
  r.Type("E");
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(r.Form(), nullptr);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(r.Line0(), "E");

  // OnBeforeAutoCompletion may refuse; read-only and inactive open nothing.
  r.Memo()->SetSyntaxStyles(r.styler);
  r.Memo()->OnGetAutoCompletionList = nullptr;
  r.Memo()->OnBeforeAutoCompletion = [](TObject*, const AnsiString&, bool& show) { show = false; };
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(r.Form(), nullptr);
  r.Memo()->OnBeforeAutoCompletion = nullptr;
  r.Memo()->SetReadOnly(true);
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(r.Form(), nullptr);
  r.Memo()->SetReadOnly(false);
  r.Memo()->AutoCompletion()->Active = false;
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(r.Form(), nullptr);
  EXPECT_EQ(r.Line0(), "E ") << "inactive completion lets Ctrl+Space type its blank";
  EXPECT_EQ(r.started, 0);
}

TEST(MemoCompletionWindow, EntriesDrawnInTheWindow) {
  CwRig r;
  TAutoCompletion* ac = r.Memo()->AutoCompletion();
  ac->ShowImages = true;
  ac->SizeDropDown = false;
  vcl::TFont font;
  font.SetName("DejaVu Sans");
  font.SetHeight(-11);
  ac->SetFont(&font);
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(r.Form(), nullptr);
  EXPECT_EQ(r.Form()->BandWidth(), 0);
  EXPECT_EQ(r.Form()->Color(), vcl::clSilver);
  EXPECT_TRUE(r.Form()->DropShadow());
  EXPECT_EQ(r.Items().size(), 8u);
  // More entries than rows: the list's scroll bar takes its room.
  EXPECT_GT(r.List()->Width() - r.List()->ClientWidth(), 0);
  EXPECT_LE(r.List()->Width() - r.List()->ClientWidth(), vcl::GetSystemMetrics(vcl::SM_CXVSCROLL));
  const QImage shot = CwGrabWindow(r.Form());
  SaveShot(shot, "memo_completion_list.png");

  // Row 0 is selected (the highlight); row 1 ("var MaxCount") shows the
  // variable picture at its top left, its kind word in blue and its name.
  const Integer h = r.List()->ItemHeight();
  const vcl::TRect row1 = r.List()->ItemRect(1);
  auto at = [&](int x, int y) { return PixelAt(shot, x, y); };
  EXPECT_EQ(at(row1.Left + 6, row1.Top + 5), static_cast<vcl::TColor>(0xFF0000)) << "the variable picture's blue box";
  EXPECT_EQ(at(row1.Left + 0, row1.Top + 0), vcl::ColorToRGB(vcl::clWindow)) << "lime is see-through";
  // Glyph edges are smoothed: the strokes' cores carry the colour.
  auto inks = [&](const vcl::TRect& row, int from, int to, auto test) {
    for (int x = from; x < to; ++x)
      for (int y = row.Top + 1; y < row.Top + h - 1; ++y)
        if (test(qRed(shot.pixel(x, y)), qGreen(shot.pixel(x, y)), qBlue(shot.pixel(x, y)))) return true;
    return false;
  };
  const int kindFrom = row1.Left + 22, kindTo = kindFrom + r.List()->KindColumnWidth();
  EXPECT_TRUE(inks(row1, kindFrom, kindTo, [](int red, int g, int b) { return b > 180 && red < 90 && g < 90; }))
      << "the kind word in ColorVar";
  EXPECT_FALSE(inks(row1, kindTo, row1.Right - 2, [](int red, int g, int b) { return b > 180 && red < 90 && g < 90; }))
      << "the name in the list font's colour";
  const vcl::TRect row5 = r.List()->ItemRect(5);  // event Form.OnClick: red kind word
  EXPECT_TRUE(inks(row5, kindFrom, kindTo, [](int red, int g, int b) { return red > 180 && g < 90 && b < 90; }));
  const vcl::TRect row0 = r.List()->ItemRect(0);
  EXPECT_EQ(at(row0.Right - 3, row0.Top + h / 2), vcl::ColorToRGB(vcl::clHighlight));
  // Kind 5 shares the procedure picture: its purple diamond centre.
  EXPECT_EQ(at(row0.Left + 7, row0.Top + 7), static_cast<vcl::TColor>(0x800080));
}

TEST(MemoCompletionWindow, PicturesFromTheImageList) {
  CwRig r;
  r.Memo()->AutoCompletion()->ShowImages = true;
  auto* images = new vcl::TImageList(r.f.form);
  images->SetWidth(16);
  images->SetHeight(16);
  const vcl::TColor colours[5] = {0x0000C0, 0x00C000, 0xC00000, 0x00C0C0, 0xC000C0};
  for (vcl::TColor c : colours) {
    vcl::TBitmap b;
    b.SetSize(16, 16);
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect(vcl::TRect{0, 0, 16, 16});
    images->Add(&b, nullptr);
  }
  ASSERT_EQ(images->Count(), 5);
  r.Memo()->SetAutoCompletionListImages(images);
  r.Type("M");
  r.Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_NE(r.Form(), nullptr);
  const TCompletionPictures& pictures = r.List()->Pictures();
  for (int i = 0; i < 5; ++i) {
    ASSERT_NE(pictures[static_cast<size_t>(i)], nullptr);
    EXPECT_EQ(pictures[static_cast<size_t>(i)]->PixelFormat(), vcl::pf24bit);
    EXPECT_EQ(pictures[static_cast<size_t>(i)]->Canvas()->Pixels(8, 8), colours[i]);
  }
  const QImage shot = CwGrabWindow(r.Form());
  const vcl::TRect row1 = r.List()->ItemRect(1);  // var MaxCount: picture 0
  EXPECT_EQ(PixelAt(shot, row1.Left + 8, row1.Top + 8), colours[0]);
  const vcl::TRect row2 = r.List()->ItemRect(2);  // procedure Min: picture 3
  EXPECT_EQ(PixelAt(shot, row2.Left + 8, row2.Top + 8), colours[3]);

  // A freed image list gives the list its own drawings back.
  vcl::Free(images);
  EXPECT_EQ(r.Memo()->AutoCompletionListImages(), nullptr);
  ASSERT_NE(r.List()->Pictures()[0], nullptr);
  EXPECT_EQ(r.List()->Pictures()[0]->Canvas()->Pixels(6, 5), static_cast<vcl::TColor>(0xFF0000));
}

TEST(MemoCompletionWindow, ParameterHintBesideTheCaretLine) {
  CwRig r;
  r.Type("x := Max(");
  r.Key(Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
  TLumHintForm* hint = r.Memo()->HintForm();
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->Name(), "_hf");
  EXPECT_TRUE(hint->Visible());
  EXPECT_TRUE(r.Memo()->Focused()) << "the hint never takes the focus";
  EXPECT_EQ(hint->HintText().Current, "A: Integer");
  EXPECT_EQ(hint->HintText().Bold, hbMiddle);
  const vcl::TPoint origin = r.Memo()->ClientToScreen(vcl::TPoint{0, 0});
  EXPECT_EQ(hint->Left(), origin.X + 9 * r.Memo()->CharWidth() + r.Memo()->Gutter()->Width);
  EXPECT_EQ(hint->Top(), origin.Y + r.Memo()->LineHeight());
  const vcl::TSize size = ParameterHintSize(hint->Canvas(), hint->HintText());
  EXPECT_EQ(hint->Width(), size.cx);
  EXPECT_EQ(hint->Height(), size.cy);

  const QImage shot = CwGrabWindow(hint);
  SaveShot(shot, "memo_parameter_hint.png");
  EXPECT_EQ(PixelAt(shot, 0, 0), vcl::clGray);
  EXPECT_EQ(PixelAt(shot, size.cx - 1, size.cy - 1), vcl::clGray);
  EXPECT_EQ(PixelAt(shot, 1, 1), vcl::ColorToRGB(vcl::clInfoBk));

  // Typing on moves the bold parameter; ")" ends the hint.
  r.Type("1,");
  EXPECT_TRUE(hint->Visible());
  EXPECT_EQ(hint->HintText().Current, "B: Integer");
  r.Type(")");
  EXPECT_FALSE(hint->Visible());

  // A click on the hint leaves the keys with the editor.
  r.Key(Qt::Key_Left);
  EXPECT_TRUE(hint->Visible());
  QTest::mouseClick(hint->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  r.Pump();
  EXPECT_TRUE(r.Memo()->Focused());

  // The hint stays AutoHintParameterDelay milliseconds.
  r.Advance(2499);
  EXPECT_TRUE(hint->Visible());
  r.Advance(1);
  EXPECT_FALSE(hint->Visible());

  // Above the code; a move to another line or the setting hides it.
  r.Memo()->SetAutoHintParameterPosition(hpAboveCode);
  r.Key(Qt::Key_End);
  r.Key(Qt::Key_Return);
  r.Type("Max(");
  r.Key(Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(hint->Visible());
  EXPECT_EQ(hint->Top(), origin.Y);
  r.Key(Qt::Key_Up);
  EXPECT_FALSE(hint->Visible());
  r.Key(Qt::Key_Down);
  r.Key(Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(hint->Visible());
  r.Memo()->SetAutoHintParameters(hpManual);
  EXPECT_FALSE(hint->Visible());
  r.Memo()->SetAutoHintParameters(hpNone);
  r.Key(Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(hint->Visible());

  // An editor nobody sees shows neither window.
  r.Memo()->SetAutoHintParameters(hpAuto);
  r.Memo()->SetVisible(false);
  r.Memo()->ShowParameterHint();
  EXPECT_FALSE(hint->Visible());
  r.Memo()->ShowCompletion();
  EXPECT_EQ(r.Form(), nullptr);
}
