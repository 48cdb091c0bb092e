// The ribbon's composition query (see LumDWM.h).
#include "ribbon/LumDWM.h"

#include "vcl/WinApi.h"

namespace ribbon {

namespace {

struct DwmBindingState {
  vcl::HMODULE library = 0;
  vcl::FARPROC isCompositionEnabled = nullptr;
  ~DwmBindingState() {
    if (library) vcl::FreeLibrary(library);
  }
};

DwmBindingState& DwmBinding() {
  static DwmBindingState s;
  return s;
}

}  // namespace

void LoadDwmLibrary() {
  DwmBindingState& s = DwmBinding();
  if (s.library) return;
  s.library = vcl::LoadLibrary("DWMAPI.DLL");
}

void ReleaseDwmLibrary() {
  DwmBindingState& s = DwmBinding();
  if (s.library) vcl::FreeLibrary(s.library);
  s.library = 0;
  s.isCompositionEnabled = nullptr;
}

bool DwmLibraryLoaded() { return DwmBinding().library != 0; }

vcl::HRESULT DwmIsCompositionEnabled(bool* Enabled) {
  DwmBindingState& s = DwmBinding();
  if (!s.isCompositionEnabled) {
    LoadDwmLibrary();
    if (s.library) s.isCompositionEnabled = vcl::GetProcAddress(s.library, "DwmIsCompositionEnabled");
  }
  if (!s.isCompositionEnabled) return vcl::E_NOTIMPL;
  return reinterpret_cast<decltype(&vcl::DwmIsCompositionEnabled)>(s.isCompositionEnabled)(Enabled);
}

}  // namespace ribbon
