#pragma once
// The desktop's clipboard as the editor's clipboard backend: formats set
// between Open and Close go onto the clipboard together at the last Close,
// reads go to the clipboard as it is. Text, Unicode text and "HTML Format"
// are shown to other programs as text/plain and text/html, and their
// text/html reads back as "HTML Format" (vcl/ClipboardData.h).
#include "htmledit/control/psClipboard.h"

namespace htmledit {

class TpsDesktopClipboard : public IpsClipboardBackend {
 public:
  void Open() override;
  void Close() override;
  bool HasFormat(TpsClipboardFormat aFormat) override;
  std::string GetData(TpsClipboardFormat aFormat) override;
  void SetData(TpsClipboardFormat aFormat, const std::string& aBytes) override;
  TpsClipboardFormat RegisterFormat(const AnsiString& aName) override;

 private:
  std::vector<std::pair<TpsClipboardFormat, std::string>> FPending;
  Integer FOpenCount = 0;
};

}  // namespace htmledit
