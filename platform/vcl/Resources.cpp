#include "vcl/Resources.h"

#include <map>
#include <mutex>

#include "rtl/Strings.h"

namespace vcl {

namespace {

struct ResourceTable {
  std::mutex lock;
  std::map<AnsiString, TResourceEntry> byName;  // upper-case names
};

ResourceTable& Table() {
  static ResourceTable* t = new ResourceTable;  // lives as long as the process
  return *t;
}

}  // namespace

void RegisterResources(const TResourceEntry* entries, size_t count) {
  std::lock_guard<std::mutex> g(Table().lock);
  for (size_t i = 0; i < count; ++i) Table().byName[rtl::UpperCase(entries[i].Name)] = entries[i];
}

bool FindResourceData(const AnsiString& name, const Byte** data, size_t* size) {
  std::lock_guard<std::mutex> g(Table().lock);
  auto it = Table().byName.find(rtl::UpperCase(name));
  if (it == Table().byName.end()) return false;
  if (data) *data = it->second.Data;
  if (size) *size = it->second.Size;
  return true;
}

void ResourceNotFound(const AnsiString& name) { throw EResNotFound("Resource " + name + " not found"); }

}  // namespace vcl
