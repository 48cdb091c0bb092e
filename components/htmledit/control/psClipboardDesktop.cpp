#include "htmledit/control/psClipboardDesktop.h"

#include "vcl/ClipboardData.h"

namespace htmledit {

void TpsDesktopClipboard::Open() {
  if (FOpenCount++ == 0) FPending.clear();
}

void TpsDesktopClipboard::Close() {
  if (FOpenCount == 0) return;
  // Nothing set between the brackets leaves the clipboard as it was.
  if (--FOpenCount == 0 && !FPending.empty()) {
    vcl::SetClipboardBlocks(FPending);
    FPending.clear();
  }
}

bool TpsDesktopClipboard::HasFormat(TpsClipboardFormat aFormat) { return vcl::HasClipboardBlock(aFormat); }

std::string TpsDesktopClipboard::GetData(TpsClipboardFormat aFormat) { return vcl::GetClipboardBlock(aFormat); }

void TpsDesktopClipboard::SetData(TpsClipboardFormat aFormat, const std::string& aBytes) {
  if (FOpenCount == 0) {
    vcl::SetClipboardBlocks({{aFormat, aBytes}});
    return;
  }
  for (auto& [format, bytes] : FPending)
    if (format == aFormat) {
      bytes = aBytes;
      return;
    }
  FPending.emplace_back(aFormat, aBytes);
}

TpsClipboardFormat TpsDesktopClipboard::RegisterFormat(const AnsiString& aName) {
  return vcl::RegisterClipboardFormat(aName);
}

}  // namespace htmledit
