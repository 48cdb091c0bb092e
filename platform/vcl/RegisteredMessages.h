#pragma once
// Window messages registered by name: a program-wide number for a name that
// controls agree on without sharing a header, as the desktop gives out.
#include "rtl/Types.h"

namespace vcl {

// The message number of the name, from 0xC000 to 0xFFFF; the same name
// (without regard to case) always answers the same number. 0 for an empty
// name or when the range is used up.
rtl::Cardinal RegisterWindowMessage(const rtl::AnsiString& name);

}  // namespace vcl
