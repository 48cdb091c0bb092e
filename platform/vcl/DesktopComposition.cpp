// The composition query and the composited text call of the desktop's
// libraries (see DesktopComposition.h).
#include "vcl/DesktopComposition.h"

#include <atomic>

namespace vcl {

namespace {
std::atomic<bool> compositionOn{false};
}  // namespace

HRESULT DwmIsCompositionEnabled(bool* enabled) {
  if (!enabled) return E_INVALIDARG;
  *enabled = compositionOn.load();
  return S_OK;
}

void SetDesktopCompositionEnabled(bool enabled) { compositionOn.store(enabled); }

HRESULT DrawThemeTextEx(HTHEME, TCanvas*, Integer, Integer, const char16_t*, Integer, Cardinal, TRect*,
                        const DTTOPTS*) {
  return E_NOTIMPL;
}

}  // namespace vcl
