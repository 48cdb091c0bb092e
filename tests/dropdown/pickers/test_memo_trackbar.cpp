// The memo and track-bar drop-downs: the memo's first line in the edit
// ("..." and the ellipsis, in pixels too), the pop-up's memo closed by F4,
// a click outside and Escape, typing into the edit of a two-line memo and
// of a cut line keeping the rest; the track bar's position by keys, by
// dragging over the edit, by the pop-up's track bar and clamped to Max.
#include <gtest/gtest.h>

#include <QWidget>
#include <QApplication>
#include <QTest>
#include <string>

#include "DropdownTestSupport.h"
#include "dropdown/LumMemoDropDown.h"
#include "dropdown/LumTrackBarDropDown.h"
#include "vcl/ExtCtrls.h"

namespace dropdown {
namespace {

using namespace ddtest;

struct MemoRig {
  TForm* form = MakeForm(400, 300);
  TLumMemoDropDown* drop = nullptr;
  TPanel* elsewhere = nullptr;
  MemoRig() {
    drop = new TLumMemoDropDown(form);
    drop->SetParent(form);
    drop->SetBounds(20, 20, 150, 22);
    drop->Font()->SetName("DejaVu Sans");
    drop->SetDropPosition(TDropPosition::dpDown);
    elsewhere = new TPanel(form);
    elsewhere->SetParent(form);
    elsewhere->SetBounds(320, 250, 60, 40);
    Pump();
  }
  ~MemoRig() { Free(form); }
  void Open() {
    TDropDownEditButton* b = drop->DropDownButton();
    MouseDown(b, b->Width() / 2, b->Height() / 2);
    MouseUp(b, b->Width() / 2, b->Height() / 2);
    Pump();
  }
  void PressElsewhere() {
    QTest::mousePress(elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    Pump();
  }
  void TypeInMemo(const QString& text) {
    for (QChar ch : text) {
      if (ch == '\n') {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      } else {
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
      }
    }
    Pump();
  }
};

TEST(MemoDropDown, TheEditShowsTheFirstLineWithDotsOrCut) {
  MemoRig rig;
  rig.drop->MemoText()->SetText("first\r\nsecond");
  EXPECT_EQ(rig.drop->Text(), "first...");
  EXPECT_TRUE(rig.drop->ShowsDisplayForm());
  rig.drop->MemoText()->SetText("only line");
  EXPECT_EQ(rig.drop->Text(), "only line");
  EXPECT_FALSE(rig.drop->ShowsDisplayForm());
  const std::string longLine = "a first line far too long to fit in the edit of this drop-down";
  rig.drop->MemoText()->SetText(longLine + "\r\nmore");
  const std::string shown = rig.drop->Text();
  EXPECT_LT(shown.size(), longLine.size());
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown.substr(shown.size() - 3), "...");  // the ellipsis, no further dots
  EXPECT_EQ(longLine.substr(0, shown.size() - 3), shown.substr(0, shown.size() - 3));
  // In pixels: the dots end the edit's ink.
  rig.drop->MemoText()->SetText("first\r\nsecond");
  SaveShot(Grab(rig.drop), "dropdown_memo_dots.png");
  rig.drop->MemoText()->SetText(longLine);
  SaveShot(Grab(rig.drop), "dropdown_memo_ellipsis.png");
  const QImage img = Grab(rig.drop);
  int rightmostInk = -1;
  for (int x = 0; x < img.width() - rig.drop->DropDownButtonWidth() - 2; ++x)
    for (int y = 4; y < img.height() - 4; ++y)
      if (qGray(img.pixel(x, y)) < 100) rightmostInk = std::max(rightmostInk, x);
  EXPECT_GT(rightmostInk, img.width() / 2);
  EXPECT_LT(rightmostInk, img.width() - rig.drop->DropDownButtonWidth());
  // Text := is the whole memo text, as the grid writes the cell.
  rig.drop->SetText("one\r\ntwo\r\nthree");
  EXPECT_EQ(rig.drop->MemoText()->Count(), 3);
  EXPECT_EQ(rig.drop->Text(), "one...");
}

TEST(MemoDropDown, PopupEditsKeptByF4AndAClickOutsideAndDroppedByEscape) {
  struct Case {
    const char* how;
    const char* after;
  };
  const Case cases[] = {{"F4", "alpha\r\nbeta\r\ngamma\r\n"},
                        {"outside", "alpha\r\nbeta\r\ngamma\r\n"},
                        {"Escape", "alpha\r\nbeta\r\n"}};
  for (const Case& c : cases) {
    ManualTime time;
    MemoRig rig;
    rig.drop->MemoText()->SetText("alpha\r\nbeta");
    rig.Open();
    ASSERT_TRUE(rig.drop->DroppedDown()) << c.how;
    TMemo* memo = rig.drop->Memo();
    EXPECT_EQ(memo->Lines()->Count(), 2);
    memo->SetFocus();
    memo->SetSelStart(static_cast<Integer>(memo->Text().size()));
    int memoChanges = 0;
    rig.drop->OnMemoChange = [&](TObject*) { ++memoChanges; };
    rig.TypeInMemo("\ngamma");  // Enter makes a new line in the memo
    EXPECT_TRUE(rig.drop->DroppedDown()) << c.how;
    EXPECT_GT(memoChanges, 0);
    EXPECT_EQ(memo->Lines()->Count(), 3) << c.how;
    if (std::string(c.how) == "F4")
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    else if (std::string(c.how) == "Escape")
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else
      rig.PressElsewhere();
    Pump();
    EXPECT_FALSE(rig.drop->DroppedDown()) << c.how;
    EXPECT_EQ(rig.drop->MemoText()->Text(), c.after) << c.how;
    EXPECT_EQ(rig.drop->Text(), "alpha...") << c.how;
  }
}

TEST(MemoDropDown, ReadOnlyFollowsAtOnceWhileOpen) {
  MemoRig rig;
  rig.drop->MemoText()->SetText("x");
  rig.Open();
  ASSERT_TRUE(rig.drop->DroppedDown());
  EXPECT_FALSE(rig.drop->Memo()->ReadOnly());
  rig.drop->SetMemoReadOnly(true);
  EXPECT_TRUE(rig.drop->Memo()->ReadOnly());
}

TEST(MemoDropDown, TypingIntoTheEditKeepsTheOtherLinesAndTheWholeFirstLine) {
  const std::string longLine = "a first line far too long to fit in the edit of this drop-down";
  struct Case {
    std::string memo;
    int caret;  // -1: the end of the shown text
    const char* typed;
    std::string memoAfter;
    std::string editWhileTyping;
  };
  const Case cases[] = {
      // Two lines: the line is opened without "...", the second kept.
      {"first\r\nsecond", -1, "X", "firstX\r\nsecond\r\n", "firstX"},
      {"first\r\nsecond", 0, "Z", "Zfirst\r\nsecond\r\n", "Zfirst"},
      // One cut line: typed at the start, the hidden rest kept.
      {longLine, 0, "Q", "Q" + longLine + "\r\n", "Q" + longLine},
      // One line that fits: the typed text is the memo text.
      {"short", -1, "er", "shorter\r\n", "shorter"},
  };
  for (const Case& c : cases) {
    MemoRig rig;
    rig.drop->MemoText()->SetText(c.memo);
    rig.drop->SetFocus();
    Pump();
    const Integer shown = static_cast<Integer>(rig.drop->Text().size());
    rig.drop->SetSelStart(c.caret < 0 ? shown : c.caret);
    rig.drop->SetSelLength(0);
    Type(rig.drop, c.typed);
    EXPECT_EQ(rig.drop->MemoText()->Text(), c.memoAfter) << c.memo;
    EXPECT_EQ(rig.drop->Text(), c.editWhileTyping) << c.memo;
    // Leaving the edit shows the display form again.
    rig.elsewhere->SetFocus();
    rig.drop->Perform(CM_EXIT, 0, 0);
    Pump();
    if (rig.drop->MemoText()->Count() > 1) EXPECT_NE(rig.drop->Text().find("..."), std::string::npos) << c.memo;
  }
}

struct TrackRig {
  TForm* form = MakeForm(400, 300);
  TLumTrackBarDropDown* drop = nullptr;
  TPanel* elsewhere = nullptr;
  int trackChanges = 0;
  TrackRig() {
    drop = new TLumTrackBarDropDown(form);
    drop->SetParent(form);
    drop->SetBounds(20, 20, 150, 22);
    drop->SetDropPosition(TDropPosition::dpDown);
    drop->OnTrackChange = [this](TObject*) { ++trackChanges; };
    elsewhere = new TPanel(form);
    elsewhere->SetParent(form);
    elsewhere->SetBounds(320, 250, 60, 40);
    Pump();
  }
  ~TrackRig() { Free(form); }
};

TEST(TrackBarDropDown, KeysStepWithinTheLimitsAndTypingIsRefused) {
  TrackRig rig;
  EXPECT_EQ(rig.drop->Text(), "0");
  EXPECT_FALSE(rig.drop->EditorEnabled());
  rig.drop->SetFocus();
  Type(rig.drop, "7");
  EXPECT_EQ(rig.drop->Text(), "0");
  Key(rig.drop, Qt::Key_Down);
  EXPECT_EQ(rig.drop->Position(), 1);
  EXPECT_EQ(rig.drop->Text(), "1");
  Key(rig.drop, Qt::Key_Up);
  Key(rig.drop, Qt::Key_Up);  // at 0 with Min 0: nothing
  EXPECT_EQ(rig.drop->Position(), 0);
  rig.drop->SetFrequency(3);
  for (int i = 0; i < 5; ++i) Key(rig.drop, Qt::Key_Down);
  EXPECT_EQ(rig.drop->Position(), 9);  // 12 would pass Max 10
  EXPECT_FALSE(rig.drop->DroppedDown());
}

TEST(TrackBarDropDown, DraggingOverTheEditMovesByWholePages) {
  struct Case {
    int pageSize;
    std::vector<int> moves;  // x positions after the press at 10
    int position;
  };
  const Case cases[] = {
      {2, {20}, 5},                   // 10 pixels in one move: + 5
      {2, {11, 12, 13, 14, 15}, 0},   // a pixel at a time adds nothing
      {2, {0}, 0},                    // to the left, clamped at Min
      {0, {13}, 3},                   // a page size of 0 counts as 1
      {-4, {12}, 2},
  };
  for (const Case& c : cases) {
    TrackRig rig;
    rig.drop->SetPageSize(c.pageSize);
    QWidget* w = rig.drop->Widget();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 10));
    for (int x : c.moves) {
      QMouseEvent move(QEvent::MouseMove, QPointF(x, 10), w->mapToGlobal(QPointF(x, 10)), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(w, &move);
    }
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(c.moves.back(), 10));
    Pump();
    EXPECT_EQ(rig.drop->Position(), c.position) << c.pageSize;
    EXPECT_FALSE(rig.drop->Dragging());
  }
}

TEST(TrackBarDropDown, PopupTrackBarMovesTheValueAndPositionIsClampedToMax) {
  ManualTime time;
  TrackRig rig;
  TDropDownEditButton* b = rig.drop->DropDownButton();
  MouseDown(b, b->Width() / 2, b->Height() / 2);
  MouseUp(b, b->Width() / 2, b->Height() / 2);
  Pump();
  ASSERT_TRUE(rig.drop->DroppedDown());
  TTrackBar* t = rig.drop->TrackBar();
  EXPECT_EQ(rig.drop->DropDownForm()->Width(), rig.drop->Width());
  EXPECT_EQ(t->Width(), rig.drop->Width() - 2 * rig.drop->DropDownBorderWidth());
  t->SetFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);  // the slider's own page step
  Pump();
  EXPECT_EQ(rig.drop->Position(), 2);
  EXPECT_EQ(rig.drop->Text(), "2");
  EXPECT_GT(rig.trackChanges, 0);
  QTest::mousePress(rig.elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(rig.elsewhere->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  Pump();
  EXPECT_FALSE(rig.drop->DroppedDown());
  EXPECT_EQ(rig.drop->Position(), 2);
  rig.drop->SetPosition(20);
  EXPECT_EQ(rig.drop->Position(), 10);
  EXPECT_EQ(rig.drop->Text(), "10");
  // A written text that is no integer leaves the position alone.
  rig.drop->SetEditorEnabled(true);
  rig.drop->SetText("4");
  EXPECT_EQ(rig.drop->Position(), 4);
  rig.drop->SetText("abc");
  EXPECT_EQ(rig.drop->Position(), 4);
}

}  // namespace
}  // namespace dropdown
