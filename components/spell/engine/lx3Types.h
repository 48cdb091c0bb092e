#pragma once
// The run-time layer's scalar and string types, under the names the spell
// checker is written in.
#include "rtl/Types.h"

namespace spell {
using rtl::AnsiString;
using rtl::Byte;
using rtl::Cardinal;
using rtl::Int64;
using rtl::Integer;
using rtl::Word;
}  // namespace spell
