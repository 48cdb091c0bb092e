// The change records and the end-of-edit validation cycle over a model,
// without a window.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "grid/model/GridModel.h"
#include "grid/model/GridUndo.h"
#include "grid/model/GridValidation.h"

using namespace grid;

namespace {

// A grid as the validation cycle sees it: the cells of a model, the flags
// and a log of every call in order.
struct ValidationGrid : TValidationHost {
  TGridModel model;
  std::vector<std::string> log;
  bool advance = true;
  bool modified = false;
  Integer fixedCols = 1;
  std::vector<Integer> modifiedRows;
  TCellCheck* checker = nullptr;
  TUndoRedoRecords* records = nullptr;
  TCellCoord current{1, 1};
  std::function<void(Integer, Integer, AnsiString&, bool&)> onValidate;
  TEditValidation cycle{this};

  ValidationGrid(Integer cols = 3, Integer rows = 6) {
    model.SetColCount(cols);
    model.SetRowCount(rows);
  }
  AnsiString EditCellText(Integer col, Integer row) override { return model.GetRawCell(col, row); }
  Integer RealColumn(Integer col) override { return col; }
  Integer RealRow(Integer row) override { return model.RealRowIndex(row); }
  bool AdvanceOnEnter() override { return advance; }
  void SetAdvanceOnEnter(bool on) override {
    advance = on;
    log.push_back(on ? "advance on" : "advance off");
  }
  TCellCheck* Checker() override { return checker; }
  TUndoRedoRecords* UndoRecords() override { return records; }
  void CellValidateEvent(Integer col, Integer row, AnsiString& value, bool& valid) override {
    log.push_back("validate " + value);
    if (onValidate) onValidate(col, row, value, valid);
  }
  void SetGridModified() override { modified = true; }
  Integer FixedCols() override { return fixedCols; }
  void MarkRowModified(Integer row) override { modifiedRows.push_back(row); }
  void CellEdited(Integer, Integer) override { log.push_back("edited"); }
  void CellsChanged(Integer, Integer) override { log.push_back("changed"); }
  void StoreCell(Integer col, Integer row, const AnsiString& value) override {
    log.push_back("store " + value);
    model.SetRawCell(col, row, value);
  }
  void CloseEditor() override { log.push_back("close"); }
  void ReopenEditor(Integer col, Integer row) override {
    log.push_back("reopen " + std::to_string(col) + "," + std::to_string(row));
    current = {col, row};
  }
  TCellCoord CurrentCell() override { return current; }

  // An edit of the current cell: its start remembered, the editor open.
  void Edit(Integer col, Integer row) {
    current = {col, row};
    cycle.StartEditCell(col, row);
    cycle.SetPending(true);
    log.clear();
  }
};

// Corrects "teh" and marks values holding "bad".
struct SpellChecker : TCellCheck {
  AnsiString Correct(Integer, Integer, const AnsiString& value) override { return value == "teh" ? "the" : value; }
  AnsiString MarkError(Integer, Integer, const AnsiString& value) override {
    return value.find("bad") != AnsiString::npos ? "<e>" + value + "</e>" : value;
  }
};

void ShowAllRows(TGridModel& m) {
  while (m.NumHiddenRows() > 0) m.UnHideRow(m.HiddenRow(0).Idx);
}

}  // namespace

TEST(GridUndoRecords, MarkersLevelsAndTheMaximum) {
  TUndoRedoRecords records;
  records.StartSequence();
  records.AddChange(1, 2, "a", "b");
  records.AddChange(1, 3, "c", "");
  records.StopSequence();
  ASSERT_EQ(records.Count(), 4);
  EXPECT_EQ(records.Level(), 4);
  EXPECT_TRUE(records.Items(0).SequenceStart);
  EXPECT_FALSE(records.Items(0).SequenceStop);
  EXPECT_EQ(records.Items(0).Col, -1);
  EXPECT_EQ(records.Items(0).Row, -1);
  EXPECT_EQ(records.Items(1).Value, "b");
  EXPECT_EQ(records.Items(1).OrigValue, "a");
  EXPECT_EQ(records.Items(2).Row, 3);
  EXPECT_TRUE(records.Items(3).SequenceStop);

  // MaxLevel 3: a fourth change drops the oldest.
  TUndoRedoRecords capped;
  capped.MaxLevel = 3;
  for (int i = 0; i < 4; ++i) capped.AddChange(i, 0, "", std::to_string(i));
  ASSERT_EQ(capped.Count(), 3);
  EXPECT_EQ(capped.Items(0).Value, "1");
  EXPECT_EQ(capped.Level(), 3);
  // Markers drop nothing, even beyond the maximum.
  capped.StartSequence();
  capped.StopSequence();
  EXPECT_EQ(capped.Count(), 5);
  EXPECT_EQ(capped.Items(0).Value, "1");

  // Without a maximum the records grow.
  TUndoRedoRecords open;
  for (int i = 0; i < 100; ++i) open.AddChange(0, i, "", "x");
  EXPECT_EQ(open.Count(), 100);

  // The base checker hands every value back.
  TCellCheck check;
  EXPECT_EQ(check.Correct(1, 1, "teh"), "teh");
  EXPECT_EQ(check.MarkError(1, 1, "bad"), "bad");
  EXPECT_FALSE(check.AutoCorrect || check.AutoMarkError || check.GotoCell || check.UseCorrect || check.UseMarkError);
}

TEST(GridEditValidation, ThePathsOfTheCycle) {
  struct Case {
    const char* name;
    const char* typed;
    // The handler: "" accepts, "refuse" refuses as is, any other text
    // refuses with that replacement, "fix:X" accepts with X.
    const char* handler;
    bool checker;
    bool answer;
    const char* cell;
    TValidationOutcome outcome;
    bool modified;
    int records;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"unchanged", "10", "", false, true, "10", TValidationOutcome::voUnchanged, false, 0, {}},
      {"changed and valid",
       "12",
       "",
       false,
       true,
       "12",
       TValidationOutcome::voStored,
       true,
       1,
       {"advance off", "validate 12", "edited", "changed", "advance on", "store 12"}},
      {"refused as is",
       "12",
       "refuse",
       false,
       false,
       "10",
       TValidationOutcome::voRestored,
       false,
       0,
       {"advance off", "validate 12", "advance on", "close", "store 10", "reopen 1,1"}},
      {"refused with a replacement",
       "12",
       "0",
       false,
       false,
       "0",
       TValidationOutcome::voReplaced,
       true,
       1,
       {"advance off", "validate 12", "advance on", "close", "store 0", "reopen 1,1"}},
      {"handler correction kept",
       "12",
       "fix:13",
       false,
       true,
       "13",
       TValidationOutcome::voStored,
       true,
       1,
       {"advance off", "validate 12", "edited", "changed", "advance on", "store 13"}},
      {"checker correction",
       "teh",
       "",
       true,
       true,
       "the",
       TValidationOutcome::voStored,
       true,
       1,
       {"advance off", "validate the", "edited", "changed", "advance on", "store the"}},
      {"checker error mark",
       "bad",
       "",
       true,
       true,
       "<e>bad</e>",
       TValidationOutcome::voStored,
       true,
       1,
       {"advance off", "validate bad", "edited", "changed", "advance on", "store <e>bad</e>"}},
      {"refused back to the start text through the handler",
       "12",
       "10",
       false,
       false,
       "10",
       TValidationOutcome::voReplaced,
       false,
       0,
       {"advance off", "validate 12", "advance on", "close", "store 10", "reopen 1,1"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ValidationGrid g;
    SpellChecker spell;
    spell.AutoCorrect = spell.AutoMarkError = true;
    TUndoRedoRecords records;
    g.records = &records;
    if (k.checker) g.checker = &spell;
    g.model.SetRawCell(1, 1, "10");
    const std::string handler = k.handler;
    g.onValidate = [&](Integer col, Integer row, AnsiString& value, bool& valid) {
      EXPECT_EQ(col, 1);
      EXPECT_EQ(row, 1);
      if (handler.empty()) return;
      if (handler.rfind("fix:", 0) == 0) {
        value = handler.substr(4);
        return;
      }
      valid = false;
      if (handler != "refuse") value = handler;
    };
    g.Edit(1, 1);
    EXPECT_EQ(g.cycle.CellValidate(k.typed), k.answer);
    EXPECT_EQ(g.log, k.log);
    EXPECT_EQ(g.model.GetRawCell(1, 1), k.cell);
    EXPECT_EQ(g.cycle.LastOutcome(), k.outcome);
    // Modified only when the cell ends up changed, its row marked with it.
    EXPECT_EQ(g.modified, k.modified);
    EXPECT_EQ(g.modifiedRows, k.modified ? std::vector<Integer>{1} : std::vector<Integer>{});
    ASSERT_EQ(records.Count(), k.records);
    if (k.records == 1) {
      EXPECT_EQ(records.Items(0).OrigValue, "10");
      EXPECT_EQ(records.Items(0).Value, k.cell);
    }
    // Enter advance is back; a refusal leaves the editor pending on the
    // cell, whose text is the next start text.
    EXPECT_TRUE(g.advance);
    EXPECT_FALSE(g.cycle.Validating());
    EXPECT_EQ(g.cycle.Pending(), !k.answer);
    EXPECT_EQ(g.cycle.StartText(), k.cell);
    const bool typedKept =
        k.outcome == TValidationOutcome::voUnchanged || k.outcome == TValidationOutcome::voRestored;
    EXPECT_EQ(g.cycle.EndText(), typedKept ? k.typed : k.cell);
  }
}

TEST(GridEditValidation, NothingPendingReentryAndFixedColumns) {
  ValidationGrid g;
  g.model.SetRawCell(1, 1, "a");
  // Nothing pending: True, nothing asked.
  g.cycle.StartEditCell(1, 1);
  EXPECT_TRUE(g.cycle.CellValidate("b"));
  EXPECT_TRUE(g.log.empty());
  EXPECT_EQ(g.cycle.LastOutcome(), TValidationOutcome::voNothing);

  // A handler that ends the edit again is answered True without a second
  // round.
  int rounds = 0;
  g.onValidate = [&](Integer, Integer, AnsiString&, bool& valid) {
    ++rounds;
    g.cycle.SetPending(true);
    EXPECT_TRUE(g.cycle.CellValidate("c"));
    valid = false;
  };
  g.Edit(1, 1);
  EXPECT_FALSE(g.cycle.CellValidate("b"));
  EXPECT_EQ(rounds, 1);
  EXPECT_EQ(g.model.GetRawCell(1, 1), "a");

  // Without fixed columns the grid is modified but no row is marked.
  ValidationGrid h;
  h.fixedCols = 0;
  h.Edit(2, 3);
  EXPECT_TRUE(h.cycle.CellValidate("new"));
  EXPECT_TRUE(h.modified);
  EXPECT_TRUE(h.modifiedRows.empty());
}

TEST(GridEditValidation, AHandlerThatRaisesLeavesEnterAdvanceAsItWas) {
  ValidationGrid g;
  g.model.SetRawCell(1, 2, "old");
  g.onValidate = [](Integer, Integer, AnsiString&, bool&) { throw std::runtime_error("handler failed"); };
  g.Edit(1, 2);
  g.current = {2, 4};
  EXPECT_THROW(g.cycle.CellValidate("new"), std::runtime_error);
  EXPECT_TRUE(g.advance);
  EXPECT_FALSE(g.cycle.Validating());
  // The next edit starts from the current cell.
  EXPECT_EQ(g.cycle.EditCell().X, 2);
  EXPECT_EQ(g.cycle.EditCell().Y, 4);
  EXPECT_EQ(g.model.GetRawCell(1, 2), "old");
  // A checker that raises likewise.
  struct Raising : TCellCheck {
    AnsiString Correct(Integer, Integer, const AnsiString&) override { throw std::runtime_error("checker failed"); }
  } raising;
  raising.AutoCorrect = true;
  g.checker = &raising;
  g.onValidate = nullptr;
  g.Edit(1, 2);
  g.advance = false;
  EXPECT_THROW(g.cycle.CellValidate("new"), std::runtime_error);
  EXPECT_FALSE(g.advance);
  g.advance = true;
  g.Edit(1, 2);
  EXPECT_THROW(g.cycle.CellValidate("new"), std::runtime_error);
  EXPECT_TRUE(g.advance);
}

// Seeded random edits (accepted, refused, corrected) on a model with
// hidden rows give one record per stored change, each naming the real
// row; replayed backwards, as a program would undo them, they give the
// start grid back.
TEST(GridEditValidation, RecordsReplayBackToTheStartGrid) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    ValidationGrid g(4, 30);
    for (Integer r = 0; r < 30; ++r)
      for (Integer c = 0; c < 4; ++c) g.model.SetRawCell(c, r, std::to_string(r * 10 + c));
    std::vector<std::vector<std::string>> start;
    for (Integer r = 0; r < 30; ++r) {
      start.emplace_back();
      for (Integer c = 0; c < 4; ++c) start.back().push_back(g.model.GetRawCell(c, r));
    }
    TUndoRedoRecords records;
    g.records = &records;
    int stored = 0;
    std::string verdict;
    g.onValidate = [&](Integer, Integer, AnsiString& value, bool& valid) {
      if (verdict == "refuse") valid = false;
      if (verdict == "replace") {
        valid = false;
        value = "R" + value;
      }
      if (verdict == "correct") value = "C" + value;
    };
    for (int step = 0; step < 200; ++step) {
      // Now and then a row is hidden or the hidden rows come back.
      const int action = static_cast<int>(rng() % 10);
      if (action == 0 && g.model.RowCount() > 5) g.model.HideRow(1 + static_cast<Integer>(rng() % (g.model.RowCount() - 1)));
      if (action == 1) ShowAllRows(g.model);
      const Integer col = static_cast<Integer>(rng() % 4);
      const Integer row = static_cast<Integer>(rng() % g.model.RowCount());
      const char* verdicts[] = {"accept", "refuse", "replace", "correct"};
      verdict = verdicts[rng() % 4];
      const std::string before = g.model.GetRawCell(col, row);
      const std::string typed = rng() % 5 == 0 ? before : "v" + std::to_string(rng() % 1000);
      g.Edit(col, row);
      g.cycle.CellValidate(typed);
      if (g.model.GetRawCell(col, row) != before) {
        ++stored;
        ASSERT_GT(records.Count(), 0);
        const TUndoRedoItem& last = records.Items(records.Count() - 1);
        EXPECT_EQ(last.Row, g.model.RealRowIndex(row));
        EXPECT_EQ(last.Col, col);
        EXPECT_EQ(last.OrigValue, before);
        EXPECT_EQ(last.Value, g.model.GetRawCell(col, row));
      }
    }
    // Every stored change has its record; replayed backwards they give the
    // start grid back exactly.
    Integer changes = 0;
    for (Integer i = 0; i < records.Count(); ++i)
      if (!records.Items(i).SequenceStart && !records.Items(i).SequenceStop) ++changes;
    EXPECT_EQ(changes, stored);
    ShowAllRows(g.model);
    ASSERT_EQ(g.model.NumHiddenRows(), 0);
    for (Integer i = records.Count() - 1; i >= 0; --i) {
      const TUndoRedoItem& item = records.Items(i);
      ASSERT_EQ(g.model.GetRawCell(item.Col, item.Row), item.Value);
      g.model.SetRawCell(item.Col, item.Row, item.OrigValue);
    }
    for (Integer r = 0; r < 30; ++r)
      for (Integer c = 0; c < 4; ++c) EXPECT_EQ(g.model.GetRawCell(c, r), start[r][c]) << c << "," << r;
  }
}
