// The undo list on its own: snapshots are told apart by one character each,
// so every step shows which snapshot came back.
#include <gtest/gtest.h>

#include <string>

#include "htmledit/control/psUndo.h"

using htmledit::TpsUndoList;
using htmldoc::TpsDataChunk;

namespace {

std::unique_ptr<TpsDataChunk> UndoState(int aNumber) {
  auto chunk = std::make_unique<TpsDataChunk>();
  for (char c : std::to_string(aNumber)) chunk->AddCharacter(static_cast<htmldoc::WideChar>(c), false, false, false);
  return chunk;
}

int UndoNumber(const std::unique_ptr<TpsDataChunk>& aChunk) {
  if (!aChunk) return -1;
  std::string s;
  for (const htmldoc::TpsChunkElement* e = aChunk->First(); e; e = e->Next) s += static_cast<char>(e->Char);
  return std::stoi(s);
}

TEST(UndoList, NewListHasNothingToUndoOrRedo) {
  TpsUndoList list(50);
  EXPECT_FALSE(list.CanUndo());
  EXPECT_FALSE(list.CanRedo());
  EXPECT_EQ(list.Undo(), nullptr);
  EXPECT_EQ(list.Redo(), nullptr);
  EXPECT_EQ(list.Current(), -1);
}

// The worked sequence: A saves S0, B saves S1; the editor saves S2 before
// the first undo and steps over it.
TEST(UndoList, UndoAndRedoWalkTheSnapshotsAndANewPushDropsTheRedoStates) {
  TpsUndoList list(50);
  list.Push(UndoState(0));
  list.Push(UndoState(1));
  list.Push(UndoState(2));
  ASSERT_EQ(UndoNumber(list.Undo()), 2);  // stepped over
  EXPECT_EQ(UndoNumber(list.Undo()), 1);
  EXPECT_EQ(UndoNumber(list.Undo()), 0);
  EXPECT_FALSE(list.CanUndo());
  EXPECT_TRUE(list.CanRedo());
  EXPECT_EQ(UndoNumber(list.Redo()), 1);
  EXPECT_EQ(UndoNumber(list.Redo()), 2);
  EXPECT_FALSE(list.CanRedo());
  EXPECT_EQ(list.Redo(), nullptr);
  EXPECT_EQ(UndoNumber(list.Undo()), 1);
  // The cursor stands at S0: a new push drops S1 and S2.
  list.Push(UndoState(7));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_FALSE(list.CanRedo());
  EXPECT_EQ(UndoNumber(list.Undo()), 7);
  EXPECT_EQ(UndoNumber(list.Undo()), 0);
}

TEST(UndoList, AFullListDropsItsOldestSnapshot) {
  TpsUndoList list(50);
  for (int i = 0; i < 60; ++i) list.Push(UndoState(i));
  EXPECT_EQ(list.Count(), 50);
  EXPECT_EQ(UndoNumber(list.Undo()), 59);
  int last = -1;
  int steps = 1;
  while (list.CanUndo()) {
    last = UndoNumber(list.Undo());
    ++steps;
  }
  EXPECT_EQ(last, 10);
  EXPECT_EQ(steps, 50);
}

TEST(UndoList, SnapshotsComeBackAsCopiesAndPopNewestKeepsTheCursorInside) {
  TpsUndoList list(3);
  list.Push(UndoState(1));
  list.Push(UndoState(2));
  auto first = list.Undo();
  auto again = list.Redo();
  EXPECT_EQ(again, nullptr);  // one undo over two snapshots leaves nothing to redo past the newest
  EXPECT_NE(first.get(), list.Item(1));
  EXPECT_EQ(UndoNumber(first), 2);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(UndoNumber(list.PopNewest()), 2);
  EXPECT_EQ(list.Current(), 0);
  EXPECT_EQ(UndoNumber(list.Undo()), 1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.CanUndo());
  EXPECT_EQ(list.PopNewest(), nullptr);
}

}  // namespace
