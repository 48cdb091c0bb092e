// Undo and redo: the record kinds, the list, and exact replay.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "vcl/Clipbrd.h"

using namespace memotest;
using Lines = std::vector<std::string>;

namespace {

void Type(TLumCustomMemo* m, const std::string& text) {
  for (char c : text) m->InsertChar(c);
}

TEST(MemoUndo, TypingIsOneRecordUntilTheCaretMoves) {
  MemoOnForm f;
  SetText(f.memo, {"xy"});
  EXPECT_FALSE(f.memo->CanUndo());
  EXPECT_FALSE(f.memo->CanRedo());
  f.memo->SetCaret(1, 0);
  Type(f.memo, "abc");
  EXPECT_TRUE(f.memo->CanUndo());
  EXPECT_EQ(f.memo->UndoList()->Count(), 1);
  EXPECT_EQ(f.memo->UndoList()->Items(0)->Text, "abc");
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"xy"});
  EXPECT_EQ(f.memo->CaretX(), 1);
  EXPECT_TRUE(f.memo->CanRedo());
  f.memo->Redo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"xabcy"});
  EXPECT_EQ(f.memo->CaretX(), 4);

  Type(f.memo, "d");  // continues where the last one ended: merged
  EXPECT_EQ(f.memo->UndoList()->Count(), 1);
  f.memo->SetCaret(0, 0);
  Type(f.memo, "e");
  EXPECT_EQ(f.memo->UndoList()->Count(), 2);
}

TEST(MemoUndo, RunsOfBackspaceOrDeleteAreOneRecord) {
  MemoOnForm f;
  SetText(f.memo, {"0123456789"});
  f.memo->SetCaret(8, 0);
  for (int i = 0; i < 5; ++i) f.memo->Backspace();
  EXPECT_EQ(LinesOf(f.memo), Lines{"01289"});
  EXPECT_EQ(f.memo->UndoList()->Count(), 1);
  EXPECT_EQ(f.memo->UndoList()->Items(0)->Text, "34567");
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"0123456789"});
  f.memo->SetCaret(2, 0);
  for (int i = 0; i < 5; ++i) f.memo->DeleteChar(-1, -1);
  EXPECT_EQ(LinesOf(f.memo), Lines{"01789"});
  EXPECT_EQ(f.memo->UndoList()->Count(), 1);  // the undone record went
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"0123456789"});
}

TEST(MemoUndo, NewEditDropsTheUndoneRecords) {
  MemoOnForm f;
  Type(f.memo, "ab");
  f.memo->Undo();
  EXPECT_TRUE(f.memo->CanRedo());
  Type(f.memo, "c");
  EXPECT_FALSE(f.memo->CanRedo());
  EXPECT_EQ(f.memo->UndoList()->Count(), 1);
}

TEST(MemoUndo, PasteOverASelectionUndoesAndRedoesAsOne) {
  MemoOnForm f;
  SetText(f.memo, {"keep REPLACE keep"});
  vcl::Clipboard()->SetAsText("new\r\nlines");
  f.memo->SetSelection({5, 0}, {12, 0});
  f.memo->PasteFromClipboard();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"keep new", "lines keep"}));
  ASSERT_EQ(f.memo->UndoList()->Count(), 2);
  EXPECT_TRUE(f.memo->UndoList()->Items(0)->Linked);
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"keep REPLACE keep"});
  EXPECT_EQ(f.memo->GetSelText(), "REPLACE");
  EXPECT_FALSE(f.memo->CanUndo());
  f.memo->Redo();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"keep new", "lines keep"}));
  EXPECT_FALSE(f.memo->CanRedo());
}

TEST(MemoUndo, LimitsOfTheHistory) {
  MemoOnForm f;
  for (int i = 0; i < 105; ++i) {
    f.memo->SetCaret(0, 0);
    f.memo->InsertChar('x');
  }
  EXPECT_EQ(f.memo->UndoList()->Count(), 100);
  f.memo->SetUndoLimit(0);
  EXPECT_EQ(f.memo->UndoLimit(), 1);
  EXPECT_EQ(f.memo->UndoList()->Count(), 0);  // a new limit clears
  f.memo->SetUndoLimit(500);
  EXPECT_EQ(f.memo->UndoLimit(), 100);
  f.memo->SetUndoLimit(250);
  EXPECT_EQ(f.memo->UndoLimit(), 100);
  TLumUndoList list;
  list.SetLimit(0);
  EXPECT_EQ(list.Limit(), 10);
  list.SetLimit(250);
  EXPECT_EQ(list.Limit(), 100);
}

TEST(MemoUndo, AListWithoutAnEditorPassesRecordsOver) {
  TLumUndoList list;  // a source's list while no editor shows it
  EXPECT_EQ(list.Add(new TInsertCharUndo(0, 0, 1, 0, "a")), 0);
  list.Undo();
  EXPECT_EQ(list.Position(), 1);
  list.Redo();
  EXPECT_EQ(list.Position(), 0);
}

TEST(MemoUndo, InsertToggleUndoRestoresTheModeAtTheTop) {
  MemoOnForm f;
  SetText(f.memo, {"abc", "def"});
  bool allow = false;
  f.memo->OnOverwriteToggle = [&](vcl::TObject*, bool& a) { a = allow; };
  f.memo->ToggleOverwrite();
  EXPECT_FALSE(f.memo->Overwrite());
  EXPECT_FALSE(f.memo->CanUndo());
  allow = true;
  f.memo->ToggleOverwrite();
  EXPECT_TRUE(f.memo->Overwrite());
  f.memo->SetCaret(2, 1);
  f.memo->Undo();
  EXPECT_FALSE(f.memo->Overwrite());
  EXPECT_EQ(f.memo->CaretX(), 0);
  EXPECT_EQ(f.memo->CaretY(), 0);
  f.memo->Redo();
  EXPECT_TRUE(f.memo->Overwrite());
}

TEST(MemoUndo, OnUndoChangeReportsTheState) {
  MemoOnForm f;
  std::vector<std::pair<bool, bool>> seen;
  f.memo->OnUndoChange = [&](vcl::TObject*, bool canUndo, bool canRedo) { seen.push_back({canUndo, canRedo}); };
  f.memo->InsertChar('a');
  f.memo->Undo();
  f.memo->Redo();
  f.memo->ClearUndo();
  EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{true, false}, {false, true}, {true, false}, {false, false}}));
  EXPECT_FALSE(f.memo->Modified());
  f.memo->InsertChar('b');
  EXPECT_TRUE(f.memo->Modified());
}

// The edits whose replay by editing operations loses or changes text: each
// undoes to the text before it and redoes to the text after it.
struct ExactCase {
  const char* name;
  Lines start;
  std::function<void(TLumCustomMemo*)> setup;
  std::function<void(TLumCustomMemo*)> edit;
};

TEST(MemoUndo, ReplayIsExactWhereEditsTrimIndentOrFill) {
  const ExactCase cases[] = {
      {"Enter trims the split-off rest and drops its indent", {"  ab   cd  \t", "x"},
       [](TLumCustomMemo* m) { m->SetCaret(4, 0); }, [](TLumCustomMemo* m) { m->NewLine(); }},
      {"Enter without auto-indent", {"ab  cd\x01 ", "x"},
       [](TLumCustomMemo* m) {
         m->SetAutoIndent(false);
         m->SetCaret(2, 0);
       },
       [](TLumCustomMemo* m) { m->NewLine(); }},
      {"a join by Backspace after Enter", {"  ab   cd  "},
       [](TLumCustomMemo* m) {
         m->SetCaret(4, 0);
         m->NewLine();
         m->ClearUndo();
         m->SetCaret(0, 1);
       },
       [](TLumCustomMemo* m) { m->Backspace(); }},
      {"smart Tab trims the rest of the line", {"int   value", "a  b  "},
       [](TLumCustomMemo* m) {
         m->SetSmartTabs(true);
         m->SetCaret(1, 1);
       },
       [](TLumCustomMemo* m) { m->TabKey({}); }},
      {"typed blanks undone where a smart Backspace would unindent", {"ab  cd", ""},
       [](TLumCustomMemo* m) {
         m->SetSmartTabs(true);
         m->SetCaret(0, 1);
       },
       [](TLumCustomMemo* m) {
         for (int i = 0; i < 5; ++i) m->InsertChar(' ');
       }},
      {"typing beyond the end fills blanks", {"long line here", "ab"},
       [](TLumCustomMemo* m) {
         m->SetAutoExpand(false);
         m->SetCaret(9, 0);
         m->MoveCaret(0, 1, {});
       },
       [](TLumCustomMemo* m) { m->InsertChar('z'); }},
      {"paste beyond a short line with AutoExpand off", {"long line here", "ab"},
       [](TLumCustomMemo* m) {
         m->SetAutoExpand(false);
         vcl::Clipboard()->SetAsText("PASTE");
         m->SetCaret(9, 0);
         m->MoveCaret(0, 1, {});
       },
       [](TLumCustomMemo* m) { m->PasteFromClipboard(); }},
      {"deleting the only line", {"single"}, [](TLumCustomMemo*) {},
       [](TLumCustomMemo* m) { m->DeleteLine(); }},
      {"deleting the last line", {"a", "b", "last"}, [](TLumCustomMemo* m) { m->SetCaret(2, 2); },
       [](TLumCustomMemo* m) { m->DeleteLine(); }},
      {"the store's Delete of the last line", {"a", "b", "last"}, [](TLumCustomMemo*) {},
       [](TLumCustomMemo* m) { m->TextStore()->Delete(2); }},
      {"overwrite with a multibyte character", {"abc"},
       [](TLumCustomMemo* m) {
         m->SetOverwrite(true);
         m->SetCaret(1, 0);
       },
       [](TLumCustomMemo* m) { m->InsertChar("\xF0\x9F\x98\x80"); }},
  };
  for (const ExactCase& c : cases) {
    SCOPED_TRACE(c.name);
    MemoOnForm f;
    SetText(f.memo, c.start);
    c.setup(f.memo);
    f.memo->ClearUndo();
    const std::string before = TextOf(f.memo);
    c.edit(f.memo);
    const std::string after = TextOf(f.memo);
    ASSERT_NE(before, after);
    ASSERT_TRUE(f.memo->CanUndo());
    while (f.memo->CanUndo()) f.memo->Undo();
    EXPECT_EQ(TextOf(f.memo), before);
    while (f.memo->CanRedo()) f.memo->Redo();
    EXPECT_EQ(TextOf(f.memo), after);
    f.memo->TextStore()->Check();
  }
}

TEST(MemoUndo, UndoingTheLastLinesDeletionPutsItBackLast) {
  MemoOnForm f;
  SetText(f.memo, {"a", "b", "last"});
  f.memo->SetCaret(0, 2);
  f.memo->DeleteLine();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"a", "b"}));
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"a", "b", "last"}));
  EXPECT_EQ(f.memo->CaretY(), 2);
}

// Records made by other code carry no line changes: they replay by the
// editing operations, as their kinds say.
TEST(MemoUndo, RecordsWithoutLineChangesReplayByEditing) {
  MemoOnForm f;
  SetText(f.memo, {"abcdef"});
  f.memo->SetCaret(3, 0);
  f.memo->UndoList()->Add(new TInsertCharUndo(1, 0, 3, 0, "bc"));
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"adef"});
  EXPECT_EQ(f.memo->CaretX(), 1);
  f.memo->Redo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"abcdef"});
  EXPECT_EQ(f.memo->CaretX(), 3);

  auto* del = new TDeleteBufUndo(0, 0, 1, 0, "XY");
  del->SelStartX = 1;
  del->SelEndX = 3;
  f.memo->UndoList()->Add(del);
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"aXYbcdef"});
  EXPECT_EQ(f.memo->GetSelText(), "XY");
  f.memo->Redo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"abcdef"});

  f.memo->UndoList()->Add(new TDeleteLineUndo(0, 0, 0, 0, "gone"));
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), (Lines{"gone", "abcdef"}));
  f.memo->Redo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"abcdef"});

  f.memo->UndoList()->Add(new TCorrectUndo(0, "before"));
  f.memo->Undo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"before"});
  f.memo->Redo();
  EXPECT_EQ(LinesOf(f.memo), Lines{"abcdef"});
}

// ------------------------------------------------------------ property

// One random session of edits; after every step the text is kept for the
// number of records the history then holds.
struct Session {
  TLumCustomMemo* memo;
  std::mt19937 rng;
  std::map<Integer, std::string> snapshots;  // records -> text

  Integer Pick(Integer n) { return n <= 0 ? 0 : static_cast<Integer>(rng() % static_cast<unsigned>(n)); }

  std::string RandomText() {
    static const char* parts[] = {"a", "Z", " ", "  ", "\r\n", "\n", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80",
                                  "word", "x y"};
    std::string s;
    for (int n = 1 + Pick(4); n > 0; --n) s += parts[Pick(std::size(parts))];
    return s;
  }

  void Step() {
    TLumMemoStrings* store = memo->TextStore();
    Integer line = Pick(store->Count());
    Integer len = store->LineLength(line);
    switch (Pick(16)) {
      case 0:
      case 1: {  // typing, with the selection erased first (DelErase)
        static const char* chars[] = {"a", "b", " ", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "."};
        if (memo->HasSelection()) memo->DeleteSelection(true);
        memo->InsertChar(std::string_view(chars[Pick(std::size(chars))]));
        break;
      }
      case 2: memo->NewLine(); break;
      case 3:
        if (memo->HasSelection())
          memo->DeleteSelection(true);
        else
          memo->Backspace();
        break;
      case 4: memo->DeleteChar(-1, -1); break;
      case 5: memo->TabKey({}); break;
      case 6: memo->PlaceCaret(Pick(len + 4), line); memo->ClearSelection(); break;
      case 7: memo->MoveCaret(Pick(3) - 1, Pick(3) - 1, Pick(2) ? TShiftState{vcl::ssShift} : TShiftState{}); break;
      case 8: memo->MoveCaret(Pick(2) ? 1 : -1, 0, {vcl::ssCtrl}); break;
      case 9: {
        Integer l2 = Pick(store->Count());
        memo->SetSelection({Pick(len + 2), line}, {Pick(store->LineLength(l2) + 2), l2});
        break;
      }
      case 10: memo->ToggleOverwrite(); break;
      case 11: memo->CopyToClipboard(); break;
      case 12: memo->CutToClipboard(); break;
      case 13:
        vcl::Clipboard()->SetAsText(RandomText());
        memo->PasteFromClipboard();
        break;
      case 14: memo->DeleteWordLeft(); break;
      case 15:
        if (Pick(4) == 0) memo->DeleteLine();
        break;
    }
    store->Check();
    snapshots[memo->UndoList()->Count()] = TextOf(memo);
  }

  std::string Expected() const {
    TLumUndoList* list = memo->UndoList();
    auto it = snapshots.find(list->Count() - list->Position());
    return it == snapshots.end() ? "<no snapshot>" : it->second;
  }
};

void RunSessions(bool smartTabs) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << (smartTabs ? " with SmartTabs" : ""));
    MemoOnForm f;
    TLumCustomMemo* m = f.memo;
    m->SetAutoExpand(false);
    m->SetAutoIndent(true);
    m->SetDelErase(true);
    m->SetSmartTabs(smartTabs);
    SetText(m, {"  leading blanks", "trailing  ", "", "\tmixed \xC3\xA9 \xE4\xB8\xAD line  ", "   ", "last"});
    Session s{m, std::mt19937(seed), {}};
    const std::string start = TextOf(m);
    s.snapshots[0] = start;
    // A step may add two records (a typed character over a selection):
    // the text is kept as each record goes in, and again at the step's end.
    m->OnUndoChange = [&](vcl::TObject*, bool, bool) { s.snapshots[m->UndoList()->Count()] = TextOf(m); };
    for (int step = 0; step < 60; ++step) s.Step();
    m->OnUndoChange = nullptr;
    const std::string edited = TextOf(m);
    ASSERT_LT(m->UndoList()->Count(), 100);

    while (m->CanUndo()) {
      m->Undo();
      ASSERT_EQ(TextOf(m), s.Expected()) << "after undo to position " << m->UndoList()->Position();
    }
    ASSERT_EQ(TextOf(m), start);
    while (m->CanRedo()) {
      m->Redo();
      ASSERT_EQ(TextOf(m), s.Expected());
    }
    ASSERT_EQ(TextOf(m), edited);
    for (int k = 0; k < 40; ++k) {
      if (s.Pick(2))
        m->Undo();
      else
        m->Redo();
      ASSERT_EQ(TextOf(m), s.Expected());
      m->TextStore()->Check();
    }
  }
}

TEST(MemoUndo, RandomSessionsUndoAndRedoExactly) { RunSessions(false); }

TEST(MemoUndo, RandomSessionsUndoAndRedoExactlyWithSmartTabs) { RunSessions(true); }

}  // namespace
