// Keyboard and mouse through synthetic Qt input on the offscreen control,
// and the window messages that make the memo an editor inside a form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"
#include "vcl/Clipbrd.h"
#include "vcl/Messages.h"
#include "vcl/Shell.h"

using namespace memo;
using memotest::LinesOf;
using memotest::MemoOnForm;

namespace {

struct InputMemo : MemoOnForm {
  InputMemo() : MemoOnForm(400, 240) {
    memo->SetScrollBars(vcl::ssNone);
    memo->SetFocus();
    vcl::Application->ProcessMessages();
  }
  QWidget* W() { return memo->Widget(); }
  void Key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(W(), k, mods);
    vcl::Application->ProcessMessages();
  }
  // Each code point as one key event carrying its text (a pair of UTF-16
  // units for one beyond the basic plane).
  void Type(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      QString one = text.mid(i, text[i].isHighSurrogate() ? 2 : 1);
      if (one.size() == 2) ++i;
      QKeyEvent press(QEvent::KeyPress, one == " " ? Qt::Key_Space : 0, Qt::NoModifier, one);
      QApplication::sendEvent(W(), &press);
      QKeyEvent release(QEvent::KeyRelease, one == " " ? Qt::Key_Space : 0, Qt::NoModifier, one);
      QApplication::sendEvent(W(), &release);
    }
    vcl::Application->ProcessMessages();
  }
  QPoint CellPoint(Integer column, Integer row) {
    TRect c = memo->CellRect(column, row);
    return {c.Left + 1, c.Top + c.Height() / 2};
  }
  void Click(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mouseClick(W(), Qt::LeftButton, mods, p);
    vcl::Application->ProcessMessages();
  }
};

}  // namespace

TEST(MemoInput, TypingCharactersAndUnicode) {
  InputMemo f;
  f.Type("ab");
  f.Type(QString::fromUtf8("\xC3\xA9"));           // é
  f.Type(QString::fromUtf8("\xF0\x9F\x98\x80"));   // an emoji: a surrogate pair
  f.Type("c");
  EXPECT_EQ(LinesOf(f.memo)[0], "ab\xC3\xA9\xF0\x9F\x98\x80" "c");
  EXPECT_EQ(f.memo->CaretX(), 5) << "each is one character";
  EXPECT_EQ(f.memo->TextStore()->LineLength(0), 5);
}

TEST(MemoInput, ReadOnlyTypesNothingButCopiesAndUndoes) {
  InputMemo f;
  f.Type("abc");
  f.memo->SetReadOnly(true);
  f.Type("x");
  f.Key(Qt::Key_Return);
  f.Key(Qt::Key_Backspace);
  EXPECT_EQ(LinesOf(f.memo), std::vector<std::string>{"abc"});
  f.memo->SelectAll();
  vcl::Clipboard()->SetAsText("");
  f.Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(vcl::Clipboard()->AsText(), "abc");
  f.Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(LinesOf(f.memo)[0], "") << "Ctrl+Z still undoes";
  f.Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(LinesOf(f.memo)[0], "") << "Ctrl+Y does nothing";
  f.Key(Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(LinesOf(f.memo)[0], "abc") << "Alt+Shift+Backspace redoes";
  f.Key(Qt::Key_Backspace, Qt::AltModifier);
  EXPECT_EQ(LinesOf(f.memo)[0], "") << "Alt+Backspace undoes";
  EXPECT_EQ(f.memo->Perform(vcl::WM_SYSCHAR, vcl::VK_BACK, 0), 0) << "no beep";
}

TEST(MemoInput, CtrlRightStopsAfterTheBlankWithTheHtmlStyler) {
  InputMemo f;
  auto* styler = new TLumHTMLMemoStyler(f.form);
  f.memo->SetSyntaxStyles(styler);
  memotest::SetText(f.memo, {"abc def"});
  f.memo->SetCaret(0, 0);
  f.Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(f.memo->CaretX(), 4);
}

TEST(MemoInput, DownOntoAShortLineThenRightOrTyping) {
  InputMemo f;
  f.memo->SetAutoExpand(false);
  memotest::SetText(f.memo, {"0123456789ab", "xyz"});
  f.memo->SetCaret(10, 0);
  f.Key(Qt::Key_Down);
  EXPECT_EQ(f.memo->CaretX(), 10);
  EXPECT_EQ(f.memo->CaretY(), 1);
  f.Key(Qt::Key_Right);
  EXPECT_EQ(f.memo->CaretX(), 3) << "the line's end";
  f.memo->SetCaret(0, 0);
  f.memo->SetCaretX(10);
  f.Key(Qt::Key_Down);
  f.Type("!");
  EXPECT_EQ(LinesOf(f.memo)[1], "xyz       !") << "typing fills up to the caret";
}

TEST(MemoInput, HomeEndAndPages) {
  InputMemo f;
  std::vector<std::string> lines;
  for (int i = 0; i < 100; ++i) lines.push_back("  line " + std::to_string(i) + std::string(80, 'x') + "  ");
  memotest::SetText(f.memo, lines);
  f.memo->SetCaret(0, 0);
  f.Key(Qt::Key_End);
  EXPECT_EQ(f.memo->CaretX(), static_cast<Integer>(lines[0].size()) - 2) << "End stops before trailing blanks";
  EXPECT_GT(f.memo->LeftCol(), 0);
  f.Key(Qt::Key_Home);
  EXPECT_EQ(f.memo->CaretX(), 0);
  EXPECT_EQ(f.memo->LeftCol(), 0) << "scrolled fully left";
  Integer rows = f.memo->TextRect().Height() / f.memo->LineHeight();
  f.Key(Qt::Key_PageDown);
  EXPECT_EQ(f.memo->CaretY(), rows);
  EXPECT_EQ(f.memo->TopLine(), rows);
  f.Key(Qt::Key_PageUp, Qt::ShiftModifier);
  EXPECT_EQ(f.memo->CaretY(), 0);
  EXPECT_EQ(f.memo->SelStart(), (TMemoPos{0, rows}));
  f.Key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(f.memo->CaretY(), 99);
  EXPECT_EQ(f.memo->SelStart(), (TMemoPos{0, rows})) << "the anchor from before the key";
}

TEST(MemoInput, CtrlSpaceTypesNoBlankWhileCompletionIsActive) {
  InputMemo f;
  f.Type("a");
  f.Key(Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(LinesOf(f.memo)[0], "a");
  f.memo->AutoCompletion()->Active = false;
  f.Key(Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(LinesOf(f.memo)[0], "a ");
}

TEST(MemoInput, TheInsertKeyAsksItsHandler) {
  InputMemo f;
  bool allow = false;
  f.memo->OnOverwriteToggle = [&](TObject*, bool& a) { a = allow; };
  f.Key(Qt::Key_Insert);
  EXPECT_FALSE(f.memo->Overwrite());
  EXPECT_FALSE(f.memo->CanUndo());
  allow = true;
  f.Key(Qt::Key_Insert);
  EXPECT_TRUE(f.memo->Overwrite());
  EXPECT_TRUE(f.memo->CanUndo());
  // The Insert key inserts no line, so a marker below the caret stays on
  // its line whichever Insert command ran.
  memotest::SetText(f.memo, {"a", "b", "c"});
  f.memo->MarkerList()->Markers()->Add()->SetLineNumber(2);
  f.memo->SetCaret(0, 0);
  f.memo->SetSelection({0, 0}, {1, 0});
  f.Key(Qt::Key_Insert);
  f.Key(Qt::Key_Insert, Qt::ControlModifier);
  f.memo->SetCaret(0, 0);
  f.Key(Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(LinesOf(f.memo), (std::vector<std::string>{"aa", "b", "c"}));
  EXPECT_EQ(f.memo->MarkerList()->Markers()->Items(0)->LineNumber(), 2);
}

// The correction is undone as a paste over the word: the word comes back
// as it was typed.
TEST(MemoInput, AnAutoCorrectionUndoesToTheWordAsTyped) {
  InputMemo f;
  f.memo->AutoCorrect()->OldValue()->Add("teh");
  f.memo->AutoCorrect()->NewValue()->Add("the");
  f.Type("teh ");
  EXPECT_EQ(LinesOf(f.memo)[0], "the ");
  f.Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(LinesOf(f.memo)[0], "the");
  f.Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(LinesOf(f.memo)[0], "teh");
  f.Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(LinesOf(f.memo)[0], "the");
  f.memo->OnWordComplete = [](TObject*, const AnsiString& w, AnsiString& n) {
    if (w == "abc") n = "ABCD";
  };
  f.memo->ClearAll();
  f.Type("abc.");
  EXPECT_EQ(LinesOf(f.memo)[0], "ABCD.");
}

TEST(MemoInput, ClicksPlaceTheCaretAndSelect) {
  InputMemo f;
  memotest::SetText(f.memo, {"hello world", "second line"});
  f.Click(f.CellPoint(3, 1));
  EXPECT_EQ(f.memo->CaretX(), 3);
  EXPECT_EQ(f.memo->CaretY(), 1);
  f.Click(f.CellPoint(6, 0), Qt::ShiftModifier);
  EXPECT_EQ(f.memo->SelStart(), (TMemoPos{3, 1}));
  EXPECT_EQ(f.memo->SelEnd(), (TMemoPos{6, 0}));
  // A click inside the selection and a release without moving.
  f.memo->SetSelection({0, 0}, {11, 0});
  f.memo->SetCaret(11, 0);
  f.memo->SetSelection({0, 0}, {11, 0});
  f.Click(f.CellPoint(4, 0));
  EXPECT_FALSE(f.memo->HasSelection());
  EXPECT_EQ(f.memo->CaretX(), 4);
  EXPECT_EQ(f.memo->CaretY(), 0);
}

TEST(MemoInput, ADoubleClickSelectsTheWord) {
  InputMemo f;
  memotest::SetText(f.memo, {"one twofold three"});
  // A double click: the first click places the caret, the second arrives
  // as the double-click message.
  QPoint p = f.CellPoint(4, 0);
  f.Click(p);
  f.Click(p);
  EXPECT_EQ(f.memo->CaretX(), 11) << f.memo->SelStart().X << "," << f.memo->SelEnd().X;
  EXPECT_EQ(f.memo->GetSelText(), "twofold");
}

TEST(MemoInput, AUrlClickReachesTheOpenHandler) {
  InputMemo f;
  memotest::SetText(f.memo, {"see www.example.org now"});
  std::vector<AnsiString> opened;
  vcl::SetOpenURLHandler([&](const AnsiString& url) {
    opened.push_back(url);
    return true;
  });
  f.memo->SetCaret(0, 0);
  f.Click(f.CellPoint(8, 0));
  EXPECT_EQ(f.memo->CaretX(), 8);
  EXPECT_EQ(opened, std::vector<AnsiString>{"http://www.example.org"});
  std::vector<AnsiString> clicked;
  f.memo->OnURLClick = [&](TObject*, const AnsiString& url) { clicked.push_back(url); };
  // Far from the first click, so that it is no double click.
  f.Click(f.CellPoint(17, 0));
  EXPECT_EQ(clicked, std::vector<AnsiString>{"www.example.org"});
  EXPECT_EQ(opened.size(), 1u) << "a handler takes the place of the desktop";
  f.Click(f.CellPoint(1, 0));
  EXPECT_EQ(clicked.size(), 1u) << "no URL there";
  vcl::SetOpenURLHandler(nullptr);
}

// The selection lands where it was dropped in the text as it stood before
// the move; a drop inside it changes nothing.
TEST(MemoInput, DraggingTheSelectionMovesItToTheDropPoint) {
  InputMemo f;
  memotest::SetText(f.memo, {"abc def ghi"});
  f.memo->SetSelection({0, 0}, {3, 0});
  f.memo->DropSelection(f.CellPoint(7, 0).x(), f.CellPoint(7, 0).y(), false);
  EXPECT_EQ(LinesOf(f.memo)[0], " defabc ghi");
  f.memo->SetSelection({1, 0}, {4, 0});
  f.memo->DropSelection(f.CellPoint(2, 0).x(), f.CellPoint(2, 0).y(), false);
  EXPECT_EQ(LinesOf(f.memo)[0], " defabc ghi") << "inside the selection";
  memotest::SetText(f.memo, {"one", "two", "three"});
  f.memo->SetSelection({0, 0}, {0, 2});
  f.memo->DropSelection(f.CellPoint(5, 2).x(), f.CellPoint(5, 2).y(), false);
  EXPECT_EQ(LinesOf(f.memo), (std::vector<std::string>{"threeone", "two", ""}));
  // Through the mouse: a press inside the selection, moves, a release. The
  // memo takes the drag only when its OnDragOver accepts it, as any control.
  auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(f.W(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(f.W(), from + QPoint(1, 0));
    QTest::mouseMove(f.W(), from + QPoint(2, 0));  // within the threshold
    EXPECT_FALSE(f.memo->Dragging());
    QTest::mouseMove(f.W(), to);
    EXPECT_TRUE(f.memo->Dragging());
    QTest::mouseRelease(f.W(), Qt::LeftButton, Qt::NoModifier, to);
    vcl::Application->ProcessMessages();
    EXPECT_FALSE(f.memo->Dragging());
  };
  std::vector<std::string> ended;
  f.memo->OnEndDrag = [&](TObject*, TObject* target, Integer, Integer) {
    ended.push_back(target == f.memo ? "memo" : target ? "other" : "refused");
  };
  memotest::SetText(f.memo, {"abc def ghi"});
  f.memo->SetSelection({0, 0}, {3, 0});
  drag(f.CellPoint(1, 0), f.CellPoint(11, 0));
  EXPECT_EQ(LinesOf(f.memo)[0], "abc def ghi") << "refused without an OnDragOver";
  std::vector<vcl::TDragState> states;
  std::vector<TObject*> dropped;
  f.memo->OnDragOver = [&](TObject*, TObject* source, Integer, Integer, vcl::TDragState state, bool& accept) {
    states.push_back(state);
    accept = source == f.memo;
  };
  f.memo->OnDragDrop = [&](TObject*, TObject* source, Integer, Integer) { dropped.push_back(source); };
  f.memo->SetSelection({0, 0}, {3, 0});
  drag(f.CellPoint(2, 0), f.CellPoint(11, 0));  // not where the last press was: no double click
  EXPECT_EQ(LinesOf(f.memo)[0], " def ghiabc");
  EXPECT_EQ(dropped, std::vector<TObject*>{f.memo});
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(states.front(), vcl::dsDragEnter);
  EXPECT_EQ(ended, (std::vector<std::string>{"refused", "memo"}));
  // Onto another control that takes it: that control gets the drop with
  // the memo as its source, and the memo's text stays.
  auto* other = new TLumCustomMemo(f.form);
  other->SetParent(f.form);
  other->SetBounds(f.memo->Left() + 300, f.memo->Top() + 150, 90, 80);
  std::vector<TObject*> otherGot;
  other->OnDragOver = [](TObject*, TObject*, Integer, Integer, vcl::TDragState, bool& accept) { accept = true; };
  other->OnDragDrop = [&](TObject*, TObject* source, Integer, Integer) { otherGot.push_back(source); };
  vcl::Application->ProcessMessages();
  f.memo->SetSelection({4, 0}, {8, 0});
  drag(f.CellPoint(5, 0), QPoint(345, 190));
  EXPECT_EQ(otherGot, std::vector<TObject*>{f.memo});
  EXPECT_EQ(LinesOf(f.memo)[0], " def ghiabc");
  EXPECT_EQ(LinesOf(other)[0], "");
  EXPECT_EQ(ended.back(), "other");
}

TEST(MemoInput, TheContextMenusItemsAndCommands) {
  InputMemo f;
  memotest::SetText(f.memo, {"some text"});
  std::vector<vcl::TPopupItem> shown;
  Integer answer = 4;
  vcl::SetPopupTrackHook([&](const std::vector<vcl::TPopupItem>& items, vcl::TPoint) {
    shown = items;
    return answer;
  });
  vcl::Clipboard()->Clear();
  vcl::TPoint screen = f.memo->ClientToScreen({f.CellPoint(2, 0).x(), f.CellPoint(2, 0).y()});
  f.memo->Perform(vcl::WM_CONTEXTMENU, 0, vcl::PointToLParam(screen));
  ASSERT_EQ(shown.size(), 9u);
  const char* texts[] = {"Undo\tCtrl-Z", "Redo\tCtrl-Y", "", "Copy\tCtrl-C", "Cut\tCtrl-X", "Paste\tCtrl-V",
                         "Delete",       "",             "Select All\tCtrl-A"};
  const bool enabled[] = {false, false, true, false, false, false, false, true, true};
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(shown[i].Text, texts[i]) << i;
    if (!shown[i].Text.empty()) EXPECT_EQ(shown[i].Enabled, enabled[i]) << texts[i];
  }
  EXPECT_EQ(f.memo->GetSelText(), "some text") << "Select All chosen";
  answer = 7;
  f.memo->Perform(vcl::WM_CONTEXTMENU, 0, vcl::PointToLParam(screen));
  EXPECT_TRUE(shown[6].Enabled);
  EXPECT_EQ(LinesOf(f.memo)[0], "") << "Delete chosen";
  shown.clear();
  f.memo->Gutter()->SetVisible(true);
  vcl::TPoint overGutter = f.memo->ClientToScreen({5, 10});
  f.memo->Perform(vcl::WM_CONTEXTMENU, 0, vcl::PointToLParam(overGutter));
  EXPECT_TRUE(shown.empty()) << "no menu over the gutter";
  vcl::SetPopupTrackHook(nullptr);
}

TEST(MemoInput, DialogMessages) {
  InputMemo f;
  EXPECT_EQ(f.memo->Perform(vcl::WM_GETDLGCODE, 0, 0), 0x83);
  f.memo->SetWantTab(false);
  EXPECT_EQ(f.memo->Perform(vcl::WM_GETDLGCODE, 0, 0), 0x81);
  EXPECT_EQ(f.memo->Perform(vcl::CM_WANTSPECIALKEY, vcl::VK_RETURN, 0), 1);
  EXPECT_EQ(f.memo->Perform(vcl::WM_ERASEBKGND, 0, 0), 1);
}

#include <fstream>

#include "vcl/ShellDrop.h"

// Files dropped from the desktop: the handler may take them over; else the
// text is loaded from the file (the last of several wins).
TEST(MemoInput, DroppedFilesLoadUnlessTheHandlerTakesThem) {
  InputMemo f;
  std::string dir = ::testing::TempDir();
  std::string a = dir + "/memo-drop-a.txt", b = dir + "/memo-drop-b.txt";
  std::ofstream(a) << "from a\r\n";
  std::ofstream(b) << "from b\r\n";
  // What the host hands over for a drop of those files.
  auto drop = [&](std::vector<std::string> names) {
    vcl::TDroppedFiles files;
    for (auto& n : names) files.Names.push_back(n);
    f.memo->Perform(vcl::WM_DROPFILES, reinterpret_cast<vcl::WPARAM>(static_cast<void*>(&files)), 0);
  };
  drop({a});
  EXPECT_EQ(LinesOf(f.memo)[0], "") << "files are not accepted by default";
  f.memo->SetAcceptFiles(true);
  EXPECT_TRUE(f.W()->acceptDrops());
  drop({a, b});
  EXPECT_EQ(LinesOf(f.memo)[0], "from b");
  std::vector<AnsiString> offered;
  f.memo->OnFileDrop = [&](TObject*, const AnsiString& name, bool& def) {
    offered.push_back(name);
    def = false;
  };
  drop({a});
  EXPECT_EQ(offered, std::vector<AnsiString>{a});
  EXPECT_EQ(LinesOf(f.memo)[0], "from b") << "the handler took it";
  drop({std::string(300, 'x')});
  EXPECT_EQ(offered.size(), 1u) << "a name longer than 255 characters cannot be read";
  vcl::TDroppedFiles two{{"p", "quux"}};
  char name[3];
  EXPECT_EQ(vcl::DragQueryFile(&two, 0xFFFFFFFFu, nullptr, 0), 2u);
  EXPECT_EQ(vcl::DragQueryFile(&two, 1, name, sizeof name), 4u);
  EXPECT_STREQ(name, "qu");
  EXPECT_EQ(vcl::DragQueryFile(&two, 2, name, sizeof name), 0u);
}
