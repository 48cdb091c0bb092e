// The editor's small containers: integer stack with saved states, sorted
// lists, the pair list, word positions and the picture-variant list.
#include <gtest/gtest.h>

#include <vector>

#include "htmledit/doc/psContainers.h"
#include "htmledit/doc/psGraphicList.h"
#include "rtl/Exceptions.h"

using namespace htmldoc;

namespace {

std::vector<Integer> Items(const TpsSortedIntList& list) {
  std::vector<Integer> v;
  for (Integer i = 0; i < list.Count(); ++i) v.push_back(list.GetItem(i));
  return v;
}

std::vector<uint32_t> Items(const TpsSortedLongWordList& list) {
  std::vector<uint32_t> v;
  for (Integer i = 0; i < list.Count(); ++i) v.push_back(list.GetItem(i));
  return v;
}

std::vector<Integer> Items(const TpsIntStack& stack) {
  std::vector<Integer> v;
  for (Integer i = 0; i < stack.Count(); ++i) v.push_back(stack.Item(i));
  return v;
}

}  // namespace

TEST(IntStack, PushPopGrowsPastCapacity) {
  TpsIntStack stack(2, 3, 1);
  for (Integer v = 1; v <= 7; ++v) stack.Push(v);
  EXPECT_EQ(stack.Count(), 7);
  Integer value = -5;
  for (Integer v = 7; v >= 1; --v) {
    ASSERT_TRUE(stack.Pop(value));
    EXPECT_EQ(value, v);
  }
  EXPECT_FALSE(stack.Pop(value));
  EXPECT_EQ(value, 0);
}

TEST(IntStack, SaveAndRestoreState) {
  TpsIntStack stack(16, 8, 5);
  stack.Push(-1);
  stack.Push(4);
  stack.SaveState(1);
  stack.Push(9);
  stack.Push(10);
  stack.SaveState(2);
  stack.Clear();
  stack.Push(77);
  stack.RestoreState(1);
  EXPECT_EQ(Items(stack), (std::vector<Integer>{-1, 4}));
  stack.RestoreState(2);
  EXPECT_EQ(Items(stack), (std::vector<Integer>{-1, 4, 9, 10}));
  // A slot never saved is an empty stack.
  stack.RestoreState(3);
  EXPECT_EQ(stack.Count(), 0);
  EXPECT_THROW(stack.SaveState(5), rtl::EListError);
}

TEST(IntStack, RestoreLongerThanLiveStorageAndAssign) {
  TpsIntStack big(1, 1, 2);
  for (Integer v = 0; v < 40; ++v) big.Push(v);
  big.SaveState(1);
  big.Clear();
  big.RestoreState(1);
  EXPECT_EQ(big.Count(), 40);
  TpsIntStack copy(0, 1, 1);
  copy.Push(1000);
  copy.Assign(big);
  EXPECT_EQ(Items(copy), Items(big));
  big.Clear();
  copy.Assign(big);
  EXPECT_EQ(copy.Count(), 0);
}

TEST(SortedIntList, AddKeepsOrderAndUniqueness) {
  struct Case {
    const char* what;
    bool ascending, unique;
    std::vector<Integer> adds;
    std::vector<Integer> expect;
  };
  const Case cases[] = {
      {"unique ascending ignores 5, 9, 1", true, true, {1, 5, 9, 5, 9, 1}, {1, 5, 9}},
      {"unique ascending takes 7 inside", true, true, {1, 5, 9, 7}, {1, 5, 7, 9}},
      {"descending", false, false, {5, 9, 1}, {9, 5, 1}},
      {"descending unique", false, true, {5, 9, 1, 9, 1, 5, 3}, {9, 5, 3, 1}},
      {"non-unique keeps equals", true, false, {5, 1, 5, 9, 5}, {1, 5, 5, 5, 9}},
      {"front and back", true, false, {5, 6, 4, 3, 7}, {3, 4, 5, 6, 7}},
      {"negative values", true, true, {0, -5, 5, -10, -5}, {-10, -5, 0, 5}},
      {"many inside", true, true, {0, 100, 50, 25, 75, 12, 62, 37, 87, 50, 25},
       {0, 12, 25, 37, 50, 62, 75, 87, 100}},
  };
  for (const auto& c : cases) {
    TpsSortedIntList list(c.ascending, c.unique, 0, 1);
    for (Integer v : c.adds) list.Add(v);
    EXPECT_EQ(Items(list), c.expect) << c.what;
    for (size_t i = 0; i < c.expect.size(); ++i) {
      const Integer at = list.IndexOf(c.expect[i]);
      ASSERT_GE(at, 0) << c.what;
      EXPECT_EQ(list.GetItem(at), c.expect[i]) << c.what;
    }
    EXPECT_EQ(list.IndexOf(1234), -1) << c.what;
    EXPECT_FALSE(list.Contains(1234)) << c.what;
  }
}

TEST(SortedIntList, CreateClampsCapacityAndGrowth) {
  TpsSortedIntList list(true, true, -4, 0);
  EXPECT_EQ(list.Capacity(), 0);
  list.Add(3);
  EXPECT_EQ(list.Capacity(), 1);
  list.Add(4);
  EXPECT_EQ(list.Capacity(), 2);
}

TEST(SortedIntList, RemoveAndDelete) {
  TpsSortedIntList list(true, false, 4, 4);
  for (Integer v : {5, 1, 5, 9}) list.Add(v);
  list.Remove(5);
  EXPECT_EQ(Items(list), (std::vector<Integer>{1, 9}));
  list.Remove(42);
  EXPECT_EQ(Items(list), (std::vector<Integer>{1, 9}));
  list.Delete(0);
  EXPECT_EQ(Items(list), (std::vector<Integer>{9}));
  for (Integer bad : {-1, 1}) {
    try {
      list.Delete(bad);
      ADD_FAILURE() << "no error for " << bad;
    } catch (const rtl::EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
    }
  }
}

TEST(SortedLongWordList, AddRemoveClear) {
  TpsSortedLongWordList list(true, true, 2, 1);
  for (uint32_t v : {7u, 1u, 3u, 3u}) list.Add(v);
  EXPECT_EQ(Items(list), (std::vector<uint32_t>{1, 3, 7}));
  list.Add(4);
  EXPECT_EQ(Items(list), (std::vector<uint32_t>{1, 3, 4, 7}));
  list.Add(0xFFFFFFFFu);
  EXPECT_EQ(list.GetItem(4), 0xFFFFFFFFu);
  EXPECT_TRUE(list.Contains(4));
  EXPECT_THROW(list.GetItem(5), rtl::EListError);
  EXPECT_THROW(list.Delete(-1), rtl::EListError);
  list.Delete(0);
  EXPECT_EQ(Items(list), (std::vector<uint32_t>{3, 4, 7, 0xFFFFFFFFu}));
  list.Clear(false);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_GE(list.Capacity(), 5);
  list.Clear(true);
  EXPECT_EQ(list.Capacity(), 2);
}

TEST(SortedLongWordList, DescendingNonUniqueAndRemoveAll) {
  TpsSortedLongWordList list(false, false, -3, 0);
  EXPECT_EQ(list.Capacity(), 0);
  for (uint32_t v : {2u, 8u, 2u, 5u, 8u}) list.Add(v);
  EXPECT_EQ(Items(list), (std::vector<uint32_t>{8, 8, 5, 2, 2}));
  list.Remove(8);
  EXPECT_EQ(Items(list), (std::vector<uint32_t>{5, 2, 2}));
  EXPECT_FALSE(list.Contains(8));
}

TEST(SortedIntPairList, AddSortsByKeyAndFind) {
  TpsSortedIntPairList list(1, 0);
  list.Add(30, 3);
  list.Add(10, 1);
  list.Add(20, 2);
  list.Add(20, 22);  // before the existing pair with an equal key
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Item(0).Key, 10);
  EXPECT_EQ(list.Item(1).Value, 22);
  EXPECT_EQ(list.Item(2).Value, 2);
  EXPECT_EQ(list.Item(3).Key, 30);
  Integer value = 0;
  EXPECT_TRUE(list.Find(30, value));
  EXPECT_EQ(value, 3);
  EXPECT_TRUE(list.Find(10, value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(list.Find(15, value));
  EXPECT_EQ(value, -1);
  TpsSortedIntPairList empty(0, 1);
  value = 5;
  EXPECT_FALSE(empty.Find(0, value));
  EXPECT_EQ(value, -1);
}

TEST(WordList, KeepsRecordsInOrder) {
  TpsWordList words;
  EXPECT_EQ(words.Add(0, 1, 5), 0);
  EXPECT_EQ(words.Add(2, 7, 9), 1);
  EXPECT_EQ(words.GetCount(), 2);
  EXPECT_EQ(words.GetStringIndex(1), 2);
  EXPECT_EQ(words.GetFirstChar(1), 7);
  EXPECT_EQ(words.GetLastChar(0), 5);
}

namespace {
// A picture that records its own destruction.
class CountedGraphic : public TpsGraphic {
 public:
  explicit CountedGraphic(int& aFreed) : FFreed(aFreed) {}
  ~CountedGraphic() override { ++FFreed; }

 private:
  int& FFreed;
};
}  // namespace

TEST(GraphicList, FindUseCountsAndDeleteFirstUnused) {
  int freed = 0;
  {
    TpsGraphicList list;
    TpsGraphicListItem* a = list.Add(new CountedGraphic(freed), 10, 20, true);
    TpsGraphicListItem* b = list.Add(new CountedGraphic(freed), 30, 40, false);
    list.Add(new CountedGraphic(freed), 10, 20, false);
    EXPECT_EQ(a->UseCount, 1);
    EXPECT_EQ(b->UseCount, 0);
    EXPECT_EQ(list.Find(10, 20), a);
    EXPECT_EQ(list.Find(30, 40), b);
    EXPECT_EQ(list.Find(1, 1), nullptr);

    b->AddRef();
    list.DeleteFirstUnused();  // the third item, the only one unused
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(freed, 1);
    list.DeleteFirstUnused();  // everything in use
    EXPECT_EQ(list.GetCount(), 2);

    b->Release();
    list.DeleteFirstUnused();
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetItem(0), a);
    EXPECT_EQ(freed, 2);
  }
  EXPECT_EQ(freed, 3);  // the list frees what is left
}

TEST(GraphicList, ItemFreesOnlyWhatItOwns) {
  int freed = 0;
  CountedGraphic kept(freed);
  { TpsGraphicListItem item(&kept, 1, 1, false); }
  EXPECT_EQ(freed, 0);
  { TpsGraphicListItem item(new CountedGraphic(freed), 1, 1, true); }
  EXPECT_EQ(freed, 1);
}
