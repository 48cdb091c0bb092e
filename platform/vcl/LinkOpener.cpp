#include "vcl/LinkOpener.h"

#include "rtl/Exceptions.h"
#include "rtl/Process.h"

namespace vcl {

namespace {

class DesktopLinkOpener : public LinkOpener {
 public:
  bool Open(const rtl::AnsiString& link) override {
    rtl::TProcessOptions options;
    options.Program = "xdg-open";
    options.Arguments = {link};
    try {
      // The opener runs on by itself; its end is not waited for.
      rtl::TProcess process(options);
      return true;
    } catch (const rtl::Exception&) {
      return false;
    }
  }
};

LinkOpener*& Installed() {
  static LinkOpener* opener = nullptr;
  return opener;
}

}  // namespace

LinkOpener& CurrentLinkOpener() {
  static DesktopLinkOpener desktop;
  return Installed() != nullptr ? *Installed() : desktop;
}

void SetLinkOpener(LinkOpener* opener) { Installed() = opener; }

}  // namespace vcl
