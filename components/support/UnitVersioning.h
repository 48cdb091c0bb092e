#pragma once
// The unit-version registry: each unit of the library registers a version
// record under the module it lives in when the program starts, and the
// module's entry goes when the program ends. One executable has one
// registry for the whole process; nothing here reads it back except a
// version report.
#include <cstdint>
#include <memory>
#include <vector>

#include "rtl/Types.h"

namespace support {

using rtl::AnsiString;
using rtl::Integer;

// A unit's record, kept in the unit's own data: the registry refers to it
// and never copies or frees it.
struct TUnitVersionInfo {
  AnsiString RCSfile;   // "$URL: " and the repository path of the source
  AnsiString Revision;  // "$Revision: " and the number
  AnsiString Date;      // "$Date: " and date, time, zone
  AnsiString LogPath;   // e.g. "MOXC\common"
  AnsiString Extra;
  void* Data = nullptr;
};

class TUnitVersion {
 public:
  explicit TUnitVersion(const TUnitVersionInfo* info) : info_(info) {}
  const TUnitVersionInfo* Info() const { return info_; }

 private:
  const TUnitVersionInfo* info_;
};

class TUnitVersioningModule {
 public:
  explicit TUnitVersioningModule(uintptr_t instance) : instance_(instance) {}
  uintptr_t Instance() const { return instance_; }
  Integer Count() const { return static_cast<Integer>(items_.size()); }
  const TUnitVersion& Item(Integer index) const { return *items_.at(static_cast<size_t>(index)); }
  // Adds the record unless this very record is listed already.
  void Add(const TUnitVersionInfo* info);
  bool Contains(const TUnitVersionInfo* info) const;

 private:
  uintptr_t instance_;
  std::vector<std::unique_ptr<TUnitVersion>> items_;
};

// Told when a module leaves the registry, so that anything it loaded for
// that module can go too.
class TUnitVersioningProvider {
 public:
  virtual ~TUnitVersioningProvider() = default;
  virtual void ReleaseModuleUnitVersioningInfo(uintptr_t instance) = 0;
};

class TUnitVersioning {
 public:
  TUnitVersioning() = default;
  virtual ~TUnitVersioning() = default;
  TUnitVersioning(const TUnitVersioning&) = delete;
  TUnitVersioning& operator=(const TUnitVersioning&) = delete;

  // The first entry of the module, or a new one at the end; the record
  // is listed once however often it is added.
  virtual void Add(uintptr_t instance, const TUnitVersionInfo* info);
  // Frees the last entry with this handle (there is one in practice), then
  // tells every provider, entry or not.
  virtual void UnregisterModule(uintptr_t instance);

  void RegisterProvider(std::unique_ptr<TUnitVersioningProvider> provider);
  Integer ModuleCount() const { return static_cast<Integer>(modules_.size()); }
  const TUnitVersioningModule& Module(Integer index) const { return *modules_.at(static_cast<size_t>(index)); }
  // The entry of the handle, or null.
  const TUnitVersioningModule* FindModule(uintptr_t instance) const;
  // Every record of every module, in registration order.
  Integer Count() const;

 private:
  std::vector<std::unique_ptr<TUnitVersioningModule>> modules_;
  std::vector<std::unique_ptr<TUnitVersioningProvider>> providers_;
};

// The process's registry, made on first use.
TUnitVersioning* SharedUnitVersioning();
// Frees the registry at the very end; a later use makes a new one. Errors
// while freeing are swallowed.
void ReleaseUnitVersioning();

void AddUnitVersion(uintptr_t instance, const TUnitVersionInfo* info);
void RemoveUnitVersions(uintptr_t instance);

// The library's units in start-up order and their records; the start-up
// registers them under the program's module handle and the shut-down
// unregisters in reverse order.
const std::vector<TUnitVersionInfo>& LibraryUnitVersions();
void RegisterLibraryUnits();
void UnregisterLibraryUnits();

}  // namespace support
