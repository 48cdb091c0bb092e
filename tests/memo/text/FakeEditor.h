#pragma once
// A stand-in for the editor a line store is attached to: it answers the
// settings the store asks for, counts the calls, and deletes lines the way
// the editor's delete-line operation does (emptying the only line).
#include <string>
#include <vector>

#include "memo/text/LumMemoStrings.h"

namespace memotest {

using memo::TLumMemoStrings;
using rtl::AnsiString;
using rtl::Integer;

class FakeEditor final : public memo::ILumMemoEditor {
 public:
  explicit FakeEditor(TLumMemoStrings& store, Integer tabSize = 4) : store_(store), tabSize_(tabSize) {
    store_.SetMemo(this);
  }
  ~FakeEditor() { store_.SetMemo(nullptr); }

  std::vector<std::string> calls;
  Integer longest = -1;
  Integer changedFrom = -1;  // lowest line reported changed
  std::vector<Integer> inserted;
  bool folding = false;

  Integer StoreTabSize() const override { return tabSize_; }
  void StoreLineChanged(Integer index) override {
    if (changedFrom < 0 || index < changedFrom) changedFrom = index;
  }
  void StoreBeginLoad() override { calls.push_back("BeginLoad"); }
  void StoreEndLoad(Integer longestLine) override {
    calls.push_back("EndLoad");
    longest = longestLine;
  }
  void StoreAbortLoad() override { calls.push_back("AbortLoad"); }
  void StoreBeforeInsert() override { calls.push_back("BeforeInsert"); }
  void StoreAfterInsert() override { calls.push_back("AfterInsert"); }
  void StoreLineInserted(Integer index) override { inserted.push_back(index); }
  void StoreDeleteLine(Integer index) override {
    calls.push_back("DeleteLine");
    if (store_.Count() == 1)
      store_.PutRaw(0, "");
    else
      store_.Delete(index);
  }
  void StoreBeforeClear() override { calls.push_back("BeforeClear"); }
  void StoreAfterClear() override { calls.push_back("AfterClear"); }
  bool StoreFoldingEnabled() const override { return folding; }
  void StoreAssign(const rtl::TStrings& source) override {
    calls.push_back("Assign");
    store_.Clear();
    store_.AddStrings(source);
  }
  void StoreLinesAppended() override { calls.push_back("LinesAppended"); }
  void StoreLinesReplaced() override { calls.push_back("LinesReplaced"); }
  bool StoreWordWrap() const override { return false; }
  void StoreUnwrap() override {}
  void StoreWrap() override {}

 private:
  TLumMemoStrings& store_;
  Integer tabSize_;
};

// The lines of a store, for comparisons.
inline std::vector<std::string> LinesOf(const TLumMemoStrings& s) {
  std::vector<std::string> v;
  for (Integer i = 0; i < s.Count(); ++i) v.push_back(s.Line(i));
  return v;
}

}  // namespace memotest
