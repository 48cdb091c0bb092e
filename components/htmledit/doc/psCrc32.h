#pragma once
// CRC-32 of a text, the document's change fingerprint.
#include <cstdint>

#include "rtl/Types.h"

namespace htmldoc {

// The reflected polynomial 0xEDB88320 over the bytes of aText, start value
// 0xFFFFFFFF, result complemented; the empty text gives 0.
uint32_t StringCrc32(const rtl::AnsiString& aText);

}  // namespace htmldoc
