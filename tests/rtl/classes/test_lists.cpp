#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "rtl/Collection.h"
#include "rtl/Exceptions.h"
#include "rtl/Lists.h"

using namespace rtl;

namespace {

// Counts live instances so ownership can be checked without leaks.
struct Tracked {
  static int live;
  int value;
  explicit Tracked(int v) : value(v) { ++live; }
  ~Tracked() { --live; }
};
int Tracked::live = 0;

std::vector<int> Values(const TList& list) {
  std::vector<int> out;
  for (void* p : list.List()) out.push_back(p ? *static_cast<int*>(p) : 0);
  return out;
}

template <typename E>
void ExpectError(const std::function<void()>& op, const char* message) {
  try {
    op();
    ADD_FAILURE() << "no exception, expected " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

}  // namespace

TEST(List, OperationsKeepOrder) {
  int v[6] = {0, 1, 2, 3, 4, 5};
  TList list;
  EXPECT_EQ(list.Add(&v[1]), 0);
  EXPECT_EQ(list.Add(&v[3]), 1);
  list.Insert(1, &v[2]);
  list.Insert(0, &v[0]);
  list.Insert(4, &v[4]);
  EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(list.IndexOf(&v[3]), 3);
  EXPECT_EQ(list.IndexOf(&v[5]), -1);
  EXPECT_EQ(list.First(), &v[0]);
  EXPECT_EQ(list.Last(), &v[4]);

  list.Exchange(0, 4);
  EXPECT_EQ(Values(list), (std::vector<int>{4, 1, 2, 3, 0}));
  list.Move(0, 3);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 4, 0}));
  EXPECT_EQ(list.Remove(&v[3]), 2);
  EXPECT_EQ(list.Remove(&v[3]), -1);
  EXPECT_EQ(list.Extract(&v[1]), &v[1]);
  EXPECT_EQ(list.Extract(&v[5]), nullptr);
  EXPECT_EQ(Values(list), (std::vector<int>{2, 4, 0}));

  list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
  EXPECT_EQ(Values(list), (std::vector<int>{0, 2, 4}));

  list.SetCount(5);
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Get(4), nullptr);
  list.Put(3, &v[5]);
  list.Pack();
  EXPECT_EQ(Values(list), (std::vector<int>{0, 2, 4, 5}));
  list.SetCapacity(100);
  EXPECT_GE(list.Capacity(), 100);
  list.Delete(0);
  EXPECT_EQ(Values(list), (std::vector<int>{2, 4, 5}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(List, IndexErrors) {
  int x = 0;
  TList list;
  list.Add(&x);
  struct Case {
    const char* what;
    std::function<void()> op;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"Get", [&] { list.Get(1); }, "List index out of bounds (1)"},
      {"Put", [&] { list.Put(-1, &x); }, "List index out of bounds (-1)"},
      {"Delete", [&] { list.Delete(3); }, "List index out of bounds (3)"},
      {"Insert beyond Count", [&] { list.Insert(2, &x); }, "List index out of bounds (2)"},
      {"Exchange", [&] { list.Exchange(0, 1); }, "List index out of bounds (1)"},
      {"Move", [&] { list.Move(0, 4); }, "List index out of bounds (4)"},
      {"Capacity below Count", [&] { list.SetCapacity(0); }, "List capacity out of bounds (0)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectError<EListError>(c.op, c.message);
  }
  TList empty;
  ExpectError<EListError>([&] { empty.First(); }, "List index out of bounds (0)");
  ExpectError<EListError>([&] { empty.Last(); }, "List index out of bounds (0)");
}

TEST(ObjectList, OwnsByDefaultAndExtractHandsBack) {
  Tracked::live = 0;
  {
    TObjectList<Tracked> list;
    for (int i = 0; i < 4; ++i) list.Add(new Tracked(i));
    EXPECT_EQ(Tracked::live, 4);
    list.Delete(0);
    EXPECT_EQ(Tracked::live, 3);
    Tracked* kept = list.Extract(list[0]);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->value, 1);
    EXPECT_EQ(Tracked::live, 3);
    delete kept;
    list.Put(0, new Tracked(9));  // the replaced item is freed
    EXPECT_EQ(Tracked::live, 2);
    EXPECT_EQ(list.Remove(list.Last()), 1);
    EXPECT_EQ(Tracked::live, 1);
    list.Add(new Tracked(7));
  }
  EXPECT_EQ(Tracked::live, 0);

  Tracked a(1), b(2);
  {
    TObjectList<Tracked> borrowed(false);
    borrowed.Add(&a);
    borrowed.Add(&b);
    borrowed.Sort([](Tracked* x, Tracked* y) { return y->value - x->value; });
    EXPECT_EQ(borrowed.First(), &b);
    borrowed.Clear();
  }
  EXPECT_EQ(Tracked::live, 2);
}

namespace {

class TNamedItem : public TCollectionItem {
 public:
  explicit TNamedItem(TCollection* owner) : TCollectionItem(owner) { ++Tracked::live; }
  ~TNamedItem() override { --Tracked::live; }
  AnsiString name;
};

AnsiString Names(const TCollectionOf<TNamedItem>& c) {
  AnsiString out;
  for (Integer i = 0; i < c.Count(); ++i) out += c.Items(i)->name;
  return out;
}

}  // namespace

TEST(Collection, AddInsertDeleteAndIndex) {
  Tracked::live = 0;
  {
    TCollectionOf<TNamedItem> c;
    c.Add()->name = "a";
    c.Add()->name = "c";
    TNamedItem* b = c.Insert(1);
    b->name = "b";
    EXPECT_EQ(Names(c), "abc");
    EXPECT_EQ(b->Index(), 1);
    EXPECT_EQ(b->Collection(), &c);
    EXPECT_EQ(c.Items(0)->ID(), 0);
    EXPECT_EQ(c.Items(2)->ID(), 1);
    EXPECT_EQ(b->ID(), 2);
    EXPECT_EQ(c.FindItemID(2), b);
    EXPECT_EQ(c.FindItemID(7), nullptr);

    b->SetIndex(0);
    EXPECT_EQ(Names(c), "bac");
    c.Delete(2);
    EXPECT_EQ(Names(c), "ba");
    EXPECT_EQ(Tracked::live, 2);

    // Destroying an item takes it out of its collection.
    delete c.Items(0);
    EXPECT_EQ(Names(c), "a");
    // IDs are never reused.
    EXPECT_EQ(c.Add()->ID(), 3);

    // An item can move to another collection.
    TCollectionOf<TNamedItem> other;
    TNamedItem* moved = c.Items(0);
    moved->SetCollection(&other);
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(other.Items(0), moved);
    EXPECT_EQ(moved->Index(), 0);
  }
  EXPECT_EQ(Tracked::live, 0);
}

TEST(Collection, IndexErrorMessage) {
  TCollectionOf<TNamedItem> c;
  c.Add();
  struct Case {
    const char* what;
    std::function<void()> op;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"Items past end", [&] { c.Items(1); }, "List index out of bounds (1)"},
      {"Items negative", [&] { c.Items(-1); }, "List index out of bounds (-1)"},
      {"Delete", [&] { c.Delete(13); }, "List index out of bounds (13)"},
      {"Insert", [&] { c.Insert(5); }, "List index out of bounds (5)"},
      {"SetIndex", [&] { c.Items(0)->SetIndex(3); }, "List index out of bounds (3)"},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    try {
      cs.op();
      ADD_FAILURE() << "no exception";
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), cs.message);
      EXPECT_STREQ(e.ClassName(), "EListError");
    }
  }
  EXPECT_EQ(c.Count(), 1);
}

TEST(Collection, UpdateBracketsAndNotifications) {
  struct Watched : TCollection {
    Watched() : TCollection(ItemClass<TNamedItem>()) {}
    ~Watched() override { Clear(); }
    int updates = 0;
    std::vector<std::pair<TCollectionItem*, bool>> notes;
    void Update(TCollectionItem*) override { ++updates; }
    void Notify(TCollectionItem* item, bool added) override { notes.emplace_back(item, added); }
  };
  Watched c;
  TCollectionItem* first = c.Add();
  EXPECT_EQ(c.updates, 1);
  c.BeginUpdate();
  c.Add();
  c.Add();
  c.Delete(0);
  EXPECT_EQ(c.updates, 1);
  c.EndUpdate();
  EXPECT_EQ(c.updates, 2);
  ASSERT_EQ(c.notes.size(), 4u);
  EXPECT_EQ(c.notes[0], std::make_pair(first, true));
  EXPECT_EQ(c.notes[3], std::make_pair(first, false));
}
