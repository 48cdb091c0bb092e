// The unit-version registry: one entry per module, each record once, the
// module's entry gone with its first unregistration, providers told every
// time, and the library's units registered in order by the start-up.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/SupportLibrary.h"
#include "support/UnitVersioning.h"
#include "vcl/Resources.h"

using namespace support;

namespace {

struct RecordingProvider : TUnitVersioningProvider {
  explicit RecordingProvider(std::vector<uintptr_t>* log) : log_(log) {}
  void ReleaseModuleUnitVersioningInfo(uintptr_t instance) override { log_->push_back(instance); }
  std::vector<uintptr_t>* log_;
};

// "module:records" for each entry, in list order.
std::string Describe(const TUnitVersioning& r, const std::vector<const TUnitVersionInfo*>& known) {
  std::string out;
  for (Integer m = 0; m < r.ModuleCount(); ++m) {
    const auto& mod = r.Module(m);
    out += (out.empty() ? "" : " ") + std::to_string(mod.Instance()) + ":";
    for (Integer i = 0; i < mod.Count(); ++i) {
      auto it = std::find(known.begin(), known.end(), mod.Item(i).Info());
      out += static_cast<char>('a' + (it - known.begin()));
    }
  }
  return out;
}

}  // namespace

TEST(UnitVersioning, EdgeCasesAsATable) {
  TUnitVersionInfo a, b, c;
  const std::vector<const TUnitVersionInfo*> known{&a, &b, &c};
  struct Case {
    const char* name;
    std::function<void(TUnitVersioning&)> steps;
    std::string registry;
    std::vector<uintptr_t> told;
  };
  const Case cases[] = {
      {"one record", [&](TUnitVersioning& r) { r.Add(1, &a); }, "1:a", {}},
      {"the same record twice keeps one entry",
       [&](TUnitVersioning& r) {
         r.Add(1, &a);
         r.Add(1, &a);
       },
       "1:a", {}},
      {"an equal but other record is another entry",
       [&](TUnitVersioning& r) {
         r.Add(1, &a);
         r.Add(1, &b);
       },
       "1:ab", {}},
      {"modules in order of their first record",
       [&](TUnitVersioning& r) {
         r.Add(2, &a);
         r.Add(1, &b);
         r.Add(2, &c);
       },
       "2:ac 1:b", {}},
      {"a module that has no entry: nothing goes, the providers hear of it",
       [&](TUnitVersioning& r) {
         r.Add(1, &a);
         r.UnregisterModule(7);
       },
       "1:a", {7}},
      {"the first unregistration takes all records, later ones find nothing",
       [&](TUnitVersioning& r) {
         r.Add(1, &a);
         r.Add(1, &b);
         r.Add(2, &c);
         r.UnregisterModule(1);
         r.UnregisterModule(1);
       },
       "2:c", {1, 1}},
      {"a record may be listed under two modules",
       [&](TUnitVersioning& r) {
         r.Add(1, &a);
         r.Add(2, &a);
         r.UnregisterModule(2);
       },
       "1:a", {2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TUnitVersioning r;
    std::vector<uintptr_t> told;
    r.RegisterProvider(std::make_unique<RecordingProvider>(&told));
    c.steps(r);
    EXPECT_EQ(Describe(r, known), c.registry);
    EXPECT_EQ(told, c.told);
  }
}

TEST(UnitVersioning, TheProcessHasOneRegistryAndTheLibraryRegistersItsUnits) {
  ReleaseUnitVersioning();
  TUnitVersioning* shared = SharedUnitVersioning();
  EXPECT_EQ(SharedUnitVersioning(), shared);
  EXPECT_EQ(shared->ModuleCount(), 0);

  const auto& records = LibraryUnitVersions();
  ASSERT_EQ(records.size(), 59u);
  EXPECT_EQ(records.front().RCSfile, "$URL: components/support/MoxcUnitVersioning $");
  EXPECT_EQ(records.back().RCSfile, "$URL: components/support/MoxPanel $");
  EXPECT_EQ(records[15].LogPath, "MOXC\\common");  // MoxcResources
  EXPECT_EQ(records.back().LogPath, "MOXL\\run");
  for (const auto& r : records) {
    EXPECT_EQ(r.Revision.rfind("$Revision: ", 0), 0u);
    EXPECT_TRUE(r.Extra.empty());
    EXPECT_EQ(r.Data, nullptr);
  }

  RegisterLibraryUnits();
  const TUnitVersioningModule* module = SharedUnitVersioning()->FindModule(vcl::HInstance);
  ASSERT_NE(module, nullptr);
  ASSERT_EQ(module->Count(), 59);
  for (Integer i = 0; i < module->Count(); ++i) EXPECT_EQ(module->Item(i).Info(), &records[static_cast<size_t>(i)]);
  // Registering again (a second start) adds nothing.
  RegisterLibraryUnits();
  EXPECT_EQ(SharedUnitVersioning()->Count(), 59);

  UnregisterLibraryUnits();
  // The registry went with the last unit; a later use starts empty.
  EXPECT_EQ(SharedUnitVersioning()->ModuleCount(), 0);
  ReleaseUnitVersioning();
}

TEST(UnitVersioning, TheLibraryStartUpRegistersAndTheShutDownRemoves) {
  ReleaseUnitVersioning();
  StartUpSupport();
  EXPECT_EQ(SharedUnitVersioning()->Count(), 59);
  ShutDownSupport();
  EXPECT_EQ(SharedUnitVersioning()->Count(), 0);
  ReleaseUnitVersioning();
}
