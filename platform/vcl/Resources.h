#pragma once
// The program's named resources: bitmaps of ours built into the libraries
// that use them (cmake/TolvaneResources.cmake) and registered by each
// library's start-up, then found by name, without regard to case, as the
// desktop finds a module's resources.
#include <cstddef>

#include "rtl/Exceptions.h"
#include "vcl/Types.h"

namespace vcl {

struct TResourceEntry {
  const char* Name;
  const Byte* Data;
  size_t Size;
};

// The program's module handle, as resource calls take it.
inline constexpr uintptr_t HInstance = 0x400000;

using rtl::Exception;
RTL_DECLARE_EXCEPTION(EResNotFound, Exception);

// Registers static data (it is not copied); a name registered again takes
// the newer data.
void RegisterResources(const TResourceEntry* entries, size_t count);
// The data of a resource; false when there is none of that name.
bool FindResourceData(const AnsiString& name, const Byte** data, size_t* size);
// Raises EResNotFound "Resource NAME not found".
[[noreturn]] void ResourceNotFound(const AnsiString& name);

}  // namespace vcl
