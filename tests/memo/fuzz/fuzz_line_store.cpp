// Arbitrary bytes through the line store: loaded attached to a stand-in
// editor and detached, then edited at random; the invariants and the
// round-trip rule hold after every step.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "../text/FakeEditor.h"
#include "memo/text/MemoChars.h"
#include "rtl/Exceptions.h"

namespace {

using namespace memo;

// Reads the fuzzer's bytes as a script after the text.
struct Script {
  const uint8_t* p;
  size_t n;
  uint8_t Byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
  std::string Text() {
    size_t len = Byte() % 12;
    std::string s;
    for (size_t i = 0; i < len && n > 0; ++i) s += static_cast<char>(Byte());
    return s;
  }
};

void Fail(const char* what) { rtl::AssertionFailed(what, __FILE__, __LINE__); }

// SaveToString is the lines with CR LF after each; loading it again gives
// the same lines whenever none holds a line break (with an editor, TABs
// come back expanded).
void CheckRoundTrip(TLumMemoStrings& store, bool attached) {
  store.Check();
  std::string expected;
  bool breaks = false;
  for (Integer i = 0; i < store.Count(); ++i) {
    expected += store.Line(i);
    expected += "\r\n";
    if (store.Line(i).find_first_of("\r\n") != std::string::npos) breaks = true;
  }
  std::string saved = store.SaveToString();
  if (saved != expected) Fail("SaveToString joins the lines with CR LF");
  if (breaks) return;
  TLumMemoStrings again;
  std::unique_ptr<memotest::FakeEditor> editor;
  if (attached) editor = std::make_unique<memotest::FakeEditor>(again);
  again.LoadFromString(saved);
  again.Check();
  if (again.Count() != store.Count()) Fail("a saved text loads to as many lines");
  for (Integer i = 0; i < store.Count(); ++i) {
    std::string line = store.Line(i);
    if (attached) ExpandTabs(line, 4);
    if (again.Line(i) != line) Fail("a saved text loads to the same lines");
  }
}

void Run(const uint8_t* data, size_t size, bool attached) {
  size_t textLen = size ? data[0] : 0;
  textLen = std::min(textLen * 4, size > 0 ? size - 1 : 0);
  std::string text(reinterpret_cast<const char*>(data) + (size ? 1 : 0), textLen);
  Script script{data + (size ? 1 : 0) + textLen, size - (size ? 1 : 0) - textLen};

  TLumMemoStrings store;
  std::unique_ptr<memotest::FakeEditor> editor;
  if (attached) editor = std::make_unique<memotest::FakeEditor>(store);
  store.LoadFromString(text);
  CheckRoundTrip(store, attached);
  for (int step = 0; step < 64 && script.n > 0; ++step) {
    uint8_t op = script.Byte() % 6;
    Integer count = store.Count();
    Integer at = count ? script.Byte() % (count + 1) : 0;
    switch (op) {
      case 0: store.Add(script.Text()); break;
      case 1: store.Insert(at, script.Text()); break;
      case 2:
        if (at < count) store.Put(at, script.Text());
        break;
      case 3: store.Delete(at); break;
      case 4: store.AddObject(script.Text(), nullptr); break;
      case 5: store.LoadFromString(script.Text()); break;
    }
    CheckRoundTrip(store, attached);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Run(data, size, true);
  Run(data, size, false);
  return 0;
}
