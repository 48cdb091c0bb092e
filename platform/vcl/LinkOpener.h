#pragma once
// Opening a link a user clicked: the desktop's opener run from an argument
// vector (never a shell). Tests install a recording opener.
#include "rtl/Types.h"

namespace vcl {

class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  // Hands the link over; answers whether the opener could be started.
  virtual bool Open(const rtl::AnsiString& link) = 0;
};

// The opener in use: the one installed, else "xdg-open <link>".
LinkOpener& CurrentLinkOpener();
// null: the desktop's again. The opener is not owned.
void SetLinkOpener(LinkOpener* opener);

}  // namespace vcl
