#pragma once
// A binding of the desktop's theme library ("UXTHEME.DLL"): its handle, an
// availability flag and one entry point per function, looked up by name at
// start-up. Two bindings exist (the LumXPVS and LumStyleIF units); they
// differ only in what a missing export does, so both are this class with a
// strictness switch.
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace controls {

// The 45 functions in the order they are looked up.
#define CONTROLS_THEME_FUNCTIONS(X)                                                                              \
  X(OpenThemeData) X(CloseThemeData) X(DrawThemeBackground) X(DrawThemeText) X(GetThemeBackgroundContentRect)    \
  X(GetThemeBackgroundExtent) X(GetThemeTextExtent) X(GetThemeTextMetrics) X(GetThemeBackgroundRegion)           \
  X(HitTestThemeBackground) X(DrawThemeEdge) X(DrawThemeIcon) X(IsThemePartDefined)                              \
  X(IsThemeBackgroundPartiallyTransparent) X(GetThemeColor) X(GetThemeMetric) X(GetThemeString) X(GetThemeBool)  \
  X(GetThemeInt) X(GetThemeEnumValue) X(GetThemePosition) X(GetThemeFont) X(GetThemeRect) X(GetThemeMargins)     \
  X(GetThemeIntList) X(SetWindowTheme) X(GetThemeFilename) X(GetThemeSysColor) X(GetThemeSysColorBrush)          \
  X(GetThemeSysBool) X(GetThemeSysSize) X(GetThemeSysFont) X(GetThemeSysString) X(GetThemeSysInt)                \
  X(IsThemeActive) X(IsAppThemed) X(GetWindowTheme) X(EnableThemeDialogTexture) X(IsThemeDialogTextureEnabled)   \
  X(GetThemeAppProperties) X(SetThemeAppProperties) X(GetCurrentThemeName) X(GetThemeDocumentationProperty)      \
  X(DrawThemeParentBackground) X(EnableTheming)

// The entry points, each null until bound (and null in a lenient binding
// whose library lacks it). Called as the library's own functions.
struct TThemeLibraryEntries {
#define CONTROLS_THEME_ENTRY(name) decltype(&vcl::name) name = nullptr;
  CONTROLS_THEME_FUNCTIONS(CONTROLS_THEME_ENTRY)
#undef CONTROLS_THEME_ENTRY
};

inline constexpr int kThemeFunctionCount = 45;

enum class TBindingStrictness { Lenient, Strict };

class TThemeLibraryBinding {
 public:
  // unitName names the unit in the assertion a strict binding raises.
  TThemeLibraryBinding(TBindingStrictness strictness, const char* unitName)
      : strictness_(strictness), unitName_(unitName) {}
  TThemeLibraryBinding(const TThemeLibraryBinding&) = delete;
  TThemeLibraryBinding& operator=(const TThemeLibraryBinding&) = delete;

  // Loads the library once: a handle below 32 leaves the binding unbound;
  // otherwise the flag is set and every function is looked up in order. A
  // strict binding raises EAssertionFailed "Assertion failure (<unit>,
  // line n)" at the first missing one; a lenient one keeps it null.
  void Bind();
  // Frees the library when bound; the entry points stay as they were.
  void Unbind();

  bool ThemeLibraryLoaded = false;
  vcl::HMODULE Library = 0;
  TThemeLibraryEntries Entries;

 private:
  template <typename F>
  void Store(const char* name, F& slot, int line);

  TBindingStrictness strictness_;
  const char* unitName_;
};

}  // namespace controls
