// The ribbon's visual-styles binding (see LumTBXPVS.h).
#include "ribbon/LumTBXPVS.h"

#include <mutex>

#include "vcl/WinApi.h"

namespace ribbon {

namespace {

struct TbxpvsState {
  std::mutex lock;
  vcl::HMODULE library = 0;
  bool loaded = false;
  int references = 0;
  controls::TThemeLibraryEntries entries;
  vcl::FARPROC drawThemeTextEx = nullptr;
  bool drawThemeTextExLooked = false;
};

TbxpvsState& Tbxpvs() {
  static TbxpvsState* s = new TbxpvsState;
  return *s;
}

// Started with the program, as the unit's initialisation loads it; the
// release at exit mirrors its finalisation.
struct TbxpvsUnit {
  TbxpvsUnit() { LoadUxThemeLibrary(); }
  ~TbxpvsUnit() {
    while (UxThemeReferenceCount() > 0) ReleaseUxThemeLibrary();
  }
};

TbxpvsUnit tbxpvsUnit;

}  // namespace

void LoadUxThemeLibrary() {
  TbxpvsState& s = Tbxpvs();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.loaded) return;
  vcl::HMODULE h = vcl::LoadLibrary("UXTHEME.DLL");
  if (h < 32) return;
  controls::TThemeLibraryEntries entries;
  bool complete = true;
#define RIBBON_BIND_THEME(name)                                                                      \
  entries.name = reinterpret_cast<decltype(entries.name)>(vcl::GetProcAddress(h, #name));            \
  complete = complete && entries.name != nullptr;
  CONTROLS_THEME_FUNCTIONS(RIBBON_BIND_THEME)
#undef RIBBON_BIND_THEME
  if (!complete) {
    vcl::FreeLibrary(h);
    return;
  }
  s.library = h;
  s.entries = entries;
  s.loaded = true;
  ++s.references;
  s.drawThemeTextExLooked = false;
  s.drawThemeTextEx = nullptr;
}

void ReleaseUxThemeLibrary() {
  TbxpvsState& s = Tbxpvs();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.references > 0) --s.references;
  if (!s.loaded) return;
  vcl::FreeLibrary(s.library);
  s.library = 0;
  s.loaded = false;
  s.entries = controls::TThemeLibraryEntries{};
  s.drawThemeTextEx = nullptr;
  s.drawThemeTextExLooked = false;
}

bool UxThemeLibraryLoaded() { return Tbxpvs().loaded; }
int UxThemeReferenceCount() { return Tbxpvs().references; }
const controls::TThemeLibraryEntries& UxThemeEntries() { return Tbxpvs().entries; }

vcl::HRESULT DrawThemeTextEx(vcl::HTHEME Theme, vcl::TCanvas* DC, int Part, int State, const char16_t* Text,
                             int Count, rtl::Cardinal Flags, vcl::TRect* Rect, const vcl::DTTOPTS* Options) {
  TbxpvsState& s = Tbxpvs();
  if (!s.loaded) return vcl::E_NOTIMPL;
  if (!s.drawThemeTextExLooked) {
    s.drawThemeTextEx = vcl::GetProcAddress(s.library, "DrawThemeTextEx");
    s.drawThemeTextExLooked = true;
  }
  if (!s.drawThemeTextEx) return vcl::E_NOTIMPL;
  return reinterpret_cast<decltype(&vcl::DrawThemeTextEx)>(s.drawThemeTextEx)(Theme, DC, Part, State, Text, Count,
                                                                               Flags, Rect, Options);
}

}  // namespace ribbon
