// Shared text sources taking turns in one editor, and the line checker's
// calls while typing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "MemoTestSupport.h"
#include "memo/LumMemoSource.h"
#include "memo/LumMemoStyler.h"
#include "rtl/Strings.h"

using namespace memotest;
using Lines = std::vector<std::string>;

namespace {

void TypeKeys(TLumCustomMemo* m, const std::string& text) {
  for (char c : text) {
    QString one = QString(QChar(c));
    Qt::Key key = c == ' ' ? Qt::Key_Space : c == '\r' ? Qt::Key_Return : c == '\t' ? Qt::Key_Tab : Qt::Key(0);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, one);
    QApplication::sendEvent(m->Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, one);
    QApplication::sendEvent(m->Widget(), &release);
  }
  vcl::Application->ProcessMessages();
}

std::vector<std::string> SourceLines(TLumMemoSource* s) {
  std::vector<std::string> v;
  for (Integer i = 0; i < s->Lines()->Count(); ++i) v.push_back(s->Lines()->Line(i));
  return v;
}

std::string Numbered(int count, const char* stem) {
  std::string s;
  for (int i = 0; i < count; ++i) s += std::string(stem) + " line " + std::to_string(i) + " " + std::string(120, 'x') + "\r\n";
  return s;
}

}  // namespace

TEST(MemoSource, SwitchingSourcesKeepsEachViewAndHistory) {
  MemoOnForm f(300, 200);
  auto* a = new TLumMemoSource(f.form);
  auto* b = new TLumMemoSource(f.form);
  a->Lines()->LoadFromString(Numbered(60, "alpha"));
  b->Lines()->LoadFromString(Numbered(40, "beta"));
  TLumCustomMemo* m = f.memo;

  m->SetMemoSource(a);
  EXPECT_EQ(a->Memo(), m);
  EXPECT_EQ(m->TextStore(), a->Lines());
  EXPECT_EQ(m->UndoList(), a->UndoList());
  EXPECT_EQ(a->Lines()->Memo(), m->StoreLink());
  // An edit, a selection, a scrolled view and a bookmark on A.
  m->SetCaret(0, 30);
  m->InsertText("A-EDIT ");
  m->SetCaret(9, 33);
  m->VertScrollBar()->SetPosition(25);
  vcl::Application->ProcessMessages();
  m->SetLeftCol(5);
  m->SetSelection({2, 31}, {9, 33});
  m->Bookmarks()->SetItems(3, 44);
  const TMemoSavedView viewA = m->SavedViewState();
  EXPECT_EQ(viewA.TopLine, 25);
  EXPECT_EQ(viewA.LeftCol, 5);

  m->SetMemoSource(b);
  EXPECT_EQ(a->Memo(), nullptr);
  EXPECT_EQ(a->Lines()->Memo(), nullptr);
  EXPECT_EQ(a->UndoList()->Memo(), nullptr);
  EXPECT_TRUE(a->Modified());
  EXPECT_EQ(a->SavedView(), viewA);
  EXPECT_EQ(a->SavedBookmarks()->Items(3), 44);
  // B starts at its own (never used) view: the top.
  EXPECT_EQ(m->TopLine(), 0);
  EXPECT_EQ((TMemoPos{m->CaretX(), m->CaretY()}), (TMemoPos{0, 0}));
  EXPECT_EQ(m->TextStore(), b->Lines());
  EXPECT_FALSE(m->CanUndo());
  m->SetCaret(0, 1);
  m->InsertText("B-EDIT ");
  m->Bookmarks()->SetItems(3, 7);

  m->SetMemoSource(a);
  EXPECT_EQ(m->SavedViewState(), viewA);
  EXPECT_EQ(m->Bookmarks()->Items(3), 44);
  EXPECT_EQ(m->VertScrollBar()->Position(), 25);
  ASSERT_TRUE(m->CanUndo());
  m->Undo();
  EXPECT_EQ(a->Lines()->Line(30).substr(0, 10), "alpha line");
  EXPECT_EQ(b->Lines()->Line(1).substr(0, 7), "B-EDIT ");  // B's history is B's

  // Back to the memo's own text.
  m->SetMemoSource(nullptr);
  EXPECT_EQ(m->TextStore(), m->Lines());
  EXPECT_EQ(a->Memo(), nullptr);
  EXPECT_EQ(LinesOf(m), Lines{""});
}

TEST(MemoSource, AttachingExpandsTabsAndCarriesReadOnly) {
  MemoOnForm f;
  auto* s = new TLumMemoSource(f.form);
  s->Lines()->LoadFromString("a\tb\r\n\t\tc\r\nplain\r\n");
  EXPECT_EQ(SourceLines(s), (Lines{"a\tb", "\t\tc", "plain"}));  // detached: kept
  s->SetReadOnly(true);
  EXPECT_TRUE(s->ReadOnly());
  EXPECT_FALSE(f.memo->ReadOnly());
  f.memo->SetTabSize(2);
  f.memo->SetMemoSource(s);
  EXPECT_EQ(SourceLines(s), (Lines{"a  b", "    c", "plain"}));
  EXPECT_TRUE(f.memo->ReadOnly());
  EXPECT_EQ(f.memo->LongestLine(), 5);
  f.memo->SetReadOnly(false);
  EXPECT_FALSE(s->ReadOnly());  // read from the editor while attached
  s->SetReadOnly(true);
  EXPECT_TRUE(f.memo->ReadOnly());
  s->Lines()->Check();
}

TEST(MemoSource, TheSourceStylerIsTheOneUsedAndItsRemovalLeavesNone) {
  MemoOnForm f;
  auto* own = new TLumHTMLMemoStyler(f.form);
  auto* shared = new TLumHTMLMemoStyler(f.form);
  auto* s = new TLumMemoSource(f.form);
  f.memo->SetSyntaxStyles(own);
  EXPECT_EQ(f.memo->ActiveStyler(), own);
  s->SetSyntaxStyler(shared);
  f.memo->SetMemoSource(s);
  EXPECT_EQ(f.memo->ActiveStyler(), shared);
  EXPECT_EQ(shared->AllStyles()->Editor(), f.memo);
  vcl::Free(shared);
  EXPECT_EQ(s->SyntaxStyler(), nullptr);
  EXPECT_EQ(f.memo->ActiveStyler(), nullptr);  // not the memo's own styler
  // A source without a styler shows plain colours: every run of a tag in the
  // default colour.
  s->Lines()->LoadFromString("<b>bold</b>\r\n");
  QImage plain = Grab(f.memo);
  f.memo->SetMemoSource(nullptr);
  EXPECT_EQ(f.memo->ActiveStyler(), own);
  f.memo->TextStore()->LoadFromString("<b>bold</b>\r\n");
  QImage coloured = Grab(f.memo);
  EXPECT_NE(plain, coloured);
}

TEST(MemoSource, FreeingEitherSideLeavesNothingDangling) {
  {
    MemoOnForm f;
    auto* s = new TLumMemoSource(f.form);
    s->Lines()->LoadFromString("one\r\ntwo\r\n");
    f.memo->SetMemoSource(s);
    f.memo->SetCaret(2, 1);
    vcl::Free(s);
    EXPECT_EQ(f.memo->MemoSource(), nullptr);
    EXPECT_EQ(f.memo->TextStore(), f.memo->Lines());
    EXPECT_EQ(f.memo->CaretY(), 0);
    f.memo->InsertText("own");
    EXPECT_EQ(LinesOf(f.memo), Lines{"own"});
  }
  {
    // The history goes with the source into the next editor and never
    // reaches the freed one.
    vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
    auto* s = new TLumMemoSource(form);
    auto* first = new TLumCustomMemo(form);
    first->SetParent(form);
    s->Lines()->LoadFromString("one\r\ntwo\r\n");
    first->SetMemoSource(s);
    first->SetCaret(3, 0);
    first->InsertText("!");
    first->SetCaret(1, 1);
    vcl::Free(first);
    EXPECT_EQ(s->Memo(), nullptr);
    EXPECT_EQ(s->Lines()->Memo(), nullptr);
    EXPECT_EQ(s->UndoList()->Memo(), nullptr);
    EXPECT_EQ(s->SavedView().CaretY, 1);
    auto* second = new TLumCustomMemo(form);
    second->SetParent(form);
    second->SetMemoSource(s);
    EXPECT_EQ(second->CaretY(), 1);
    ASSERT_TRUE(second->CanUndo());
    second->Undo();
    EXPECT_EQ(SourceLines(s), (Lines{"one", "two"}));
    second->Redo();
    EXPECT_EQ(SourceLines(s), (Lines{"one!", "two"}));
    vcl::Free(form);
  }
}

TEST(MemoSource, ComponentsFreedAfterLettingGoLeaveNoName) {
  MemoOnForm f;
  auto* s = new TLumMemoSource(f.form);
  s->Attach(f.memo);
  s->Attach(nullptr);  // the editor still names it
  EXPECT_EQ(f.memo->MemoSource(), s);
  vcl::Free(s);
  EXPECT_EQ(f.memo->MemoSource(), nullptr);
  f.memo->InsertText("own");
  EXPECT_EQ(LinesOf(f.memo), Lines{"own"});

  // One checker named by two editors, then freed.
  auto* other = new TLumCustomMemo(f.form);
  auto* checker = new TLumMemoChecker(f.form);
  f.memo->SetMemoChecker(checker);
  other->SetMemoChecker(checker);
  EXPECT_EQ(checker->Memo(), other);
  vcl::Free(checker);
  EXPECT_EQ(f.memo->MemoChecker(), nullptr);
  EXPECT_EQ(other->MemoChecker(), nullptr);
}

TEST(MemoSource, AttachFromTheSourceSideMovesTheEditor) {
  MemoOnForm f;
  auto* a = new TLumMemoSource(f.form);
  auto* b = new TLumMemoSource(f.form);
  a->Lines()->LoadFromString("from a\r\n");
  b->Lines()->LoadFromString("from b\r\n");
  a->Attach(f.memo);
  EXPECT_EQ(f.memo->MemoSource(), a);
  b->Attach(f.memo);
  EXPECT_EQ(f.memo->MemoSource(), b);
  EXPECT_EQ(a->Memo(), nullptr);
  EXPECT_EQ(LinesOf(f.memo), Lines{"from b"});
  b->Attach(nullptr);
  EXPECT_EQ(b->Memo(), nullptr);
  EXPECT_EQ(f.memo->TextStore(), f.memo->Lines());
}

namespace {

// A checker that records its calls and corrects "teh" and lines in upper case.
class RecordingChecker : public TLumMemoChecker {
 public:
  using TLumMemoChecker::TLumMemoChecker;
  std::vector<std::string> calls;
  void CheckLine(Integer line) override {
    calls.push_back("CheckLine " + std::to_string(line));
    TLumMemoChecker::CheckLine(line);
  }
  void CheckWord(Integer line, Integer column, const AnsiString& word) override {
    calls.push_back("CheckWord " + std::to_string(line) + " " + std::to_string(column) + " " + word);
  }
  void CorrectLine(Integer line) override {
    calls.push_back("CorrectLine " + std::to_string(line));
    TLumMemoStrings* s = Memo()->TextStore();
    s->Put(line, rtl::UpperCase(s->Line(line)));
  }
  void CorrectWord(Integer line, Integer column, AnsiString& word) override {
    calls.push_back("CorrectWord " + std::to_string(line) + " " + std::to_string(column) + " " + word);
    if (word == "teh") word = "these";
  }
};

}  // namespace

TEST(MemoChecker, ModesCallTheCheckerAtLineAndWordEnds) {
  struct Case {
    Integer mode;
    std::string typed;
    Lines text;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {0, "teh \r", {"teh ", ""}, {}},
      {1, "ab cd\r", {"AB CD", ""}, {"CorrectLine 0"}},
      {2, "ab\r", {"ab", ""}, {"CheckLine 0"}},
      {3, "teh x teh ", {"these x these "}, {"CorrectWord 0 3 teh", "CorrectWord 0 7 x", "CorrectWord 0 11 teh"}},
      {4, "ab cd\r", {"ab cd", ""}, {"CheckWord 0 2 ab", "CheckWord 0 5 cd"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode));
    MemoOnForm f;
    f.memo->SetFocus();
    auto* checker = new RecordingChecker(f.form);
    checker->SetCheckMode(c.mode);
    f.memo->SetMemoChecker(checker);
    EXPECT_EQ(checker->Memo(), f.memo);
    TypeKeys(f.memo, c.typed);
    EXPECT_EQ(LinesOf(f.memo), c.text);
    EXPECT_EQ(checker->calls, c.calls);
  }
}

TEST(MemoChecker, ACorrectedWordUndoesToTheWordAsTyped) {
  MemoOnForm f;
  f.memo->SetFocus();
  auto* checker = new RecordingChecker(f.form);
  checker->SetCheckMode(3);
  f.memo->SetMemoChecker(checker);
  TypeKeys(f.memo, "say teh");
  TypeKeys(f.memo, " ");
  EXPECT_EQ(LinesOf(f.memo), Lines{"say these "});
  EXPECT_EQ(f.memo->CaretX(), 10);
  f.memo->Undo();  // the blank
  f.memo->Undo();  // the correction
  EXPECT_EQ(LinesOf(f.memo), Lines{"say teh"});
}

TEST(MemoChecker, CheckAllLinesVisitsEveryLineAndClearsUnderlines) {
  MemoOnForm f;
  SetText(f.memo, {"zero", "one", "two"});
  TLineProp* p = f.memo->TextStore()->CreateLineProp(1);
  p->UnderlineStarts.Add(0);
  p->UnderlineLengths.Add(3);
  auto* checker = new RecordingChecker(f.form);
  f.memo->SetMemoChecker(checker);
  checker->CheckAllLines();
  EXPECT_EQ(checker->calls, (std::vector<std::string>{"CheckLine 0", "CheckLine 1", "CheckLine 2"}));
  EXPECT_EQ(p->UnderlineStarts.Count(), 0);
  checker->calls.clear();
  checker->CorrectAllLines();
  EXPECT_EQ(checker->calls, (std::vector<std::string>{"CorrectLine 0", "CorrectLine 1", "CorrectLine 2"}));
  EXPECT_EQ(LinesOf(f.memo), (Lines{"ZERO", "ONE", "TWO"}));
  vcl::Free(f.memo);
  EXPECT_EQ(checker->Memo(), nullptr);
  f.memo = nullptr;
}
