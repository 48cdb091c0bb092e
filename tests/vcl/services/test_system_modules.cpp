// The desktop's system libraries as modules: names, load counts, exports,
// the hiding hooks, and kernel32's locale answers.
#include <gtest/gtest.h>

#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

using namespace vcl;

TEST(SystemModules, KernelAndUserAreLoadedFromTheStartUnderAnySpelling) {
  HMODULE kernel = GetModuleHandle("kernel32");
  ASSERT_GE(kernel, 32u);
  EXPECT_EQ(GetModuleHandle("KERNEL32.DLL"), kernel);
  EXPECT_EQ(GetModuleHandle("Kernel32.dll"), kernel);
  EXPECT_GE(GetModuleHandle("user32.dll"), 32u);
  EXPECT_NE(GetModuleHandle("user32"), kernel);
  EXPECT_EQ(GetModuleHandle("gdiplus.dll"), 0u);
  EXPECT_EQ(LoadLibrary("no-such-library.dll"), 0u);
}

TEST(SystemModules, UxThemeIsLoadedOnlyWhileHeld) {
  ASSERT_EQ(ModuleLoadCount("uxtheme"), 0);
  EXPECT_EQ(GetModuleHandle("uxtheme"), 0u);
  HMODULE a = LoadLibrary("UXTHEME.DLL");
  HMODULE b = LoadLibrary("uxtheme");
  ASSERT_GE(a, 32u);
  EXPECT_EQ(a, b);
  EXPECT_EQ(ModuleLoadCount("UxTheme.dll"), 2);
  EXPECT_EQ(GetModuleHandle("uxtheme.dll"), a);
  EXPECT_NE(GetProcAddress(a, "OpenThemeData"), nullptr);
  EXPECT_TRUE(FreeLibrary(a));
  EXPECT_EQ(GetModuleHandle("uxtheme"), a);
  EXPECT_TRUE(FreeLibrary(b));
  EXPECT_EQ(GetModuleHandle("uxtheme"), 0u);
  EXPECT_EQ(GetProcAddress(a, "OpenThemeData"), nullptr) << "a freed module exports nothing";
  EXPECT_FALSE(FreeLibrary(a)) << "freed once too often";
  EXPECT_FALSE(FreeLibrary(12345));
}

TEST(SystemModules, ExportsAreFoundByExactNameAndCallable) {
  HMODULE kernel = GetModuleHandle("kernel32");
  EXPECT_NE(GetProcAddress(kernel, "GetLocaleInfoEx"), nullptr);
  EXPECT_EQ(GetProcAddress(kernel, "getlocaleinfoex"), nullptr);
  EXPECT_EQ(GetProcAddress(kernel, "GetLocaleInfoW"), nullptr);
  HMODULE user = GetModuleHandle("user32");
  EXPECT_NE(GetProcAddress(user, "UpdateLayeredWindow"), nullptr);
  EXPECT_NE(GetProcAddress(user, "SetLayeredWindowAttributes"), nullptr);

  HMODULE theme = LoadLibrary("uxtheme");
  static const char* const kNames[] = {
      "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText",
      "GetThemeBackgroundContentRect", "GetThemeBackgroundExtent", "GetThemeTextExtent", "GetThemeTextMetrics",
      "GetThemeBackgroundRegion", "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon",
      "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric",
      "GetThemeString", "GetThemeBool", "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont",
      "GetThemeRect", "GetThemeMargins", "GetThemeIntList", "SetWindowTheme", "GetThemeFilename",
      "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont",
      "GetThemeSysString", "GetThemeSysInt", "IsThemeActive", "IsAppThemed", "GetWindowTheme",
      "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled", "GetThemeAppProperties",
      "SetThemeAppProperties", "GetCurrentThemeName", "GetThemeDocumentationProperty",
      "DrawThemeParentBackground", "EnableTheming"};
  for (const char* name : kNames) EXPECT_NE(GetProcAddress(theme, name), nullptr) << name;
  // Called through the export, the function is the service's own.
  auto isActive = reinterpret_cast<decltype(&IsThemeActive)>(GetProcAddress(theme, "IsThemeActive"));
  EXPECT_EQ(isActive(), IsThemeActive());
  FreeLibrary(theme);
}

TEST(SystemModules, HiddenModulesAndExportsAreNotFound) {
  SetExportHidden("KERNEL32.DLL", "GetLocaleInfoEx", true);
  EXPECT_EQ(GetProcAddress(GetModuleHandle("kernel32"), "GetLocaleInfoEx"), nullptr);
  SetExportHidden("kernel32", "GetLocaleInfoEx", false);
  EXPECT_NE(GetProcAddress(GetModuleHandle("kernel32"), "GetLocaleInfoEx"), nullptr);

  SetModuleHidden("uxtheme.dll", true);
  EXPECT_EQ(LoadLibrary("uxtheme"), 0u);
  EXPECT_EQ(ModuleLoadCount("uxtheme"), 0);
  SetModuleHidden("UXTHEME", false);
  HMODULE h = LoadLibrary("uxtheme");
  EXPECT_GE(h, 32u);
  FreeLibrary(h);
}

TEST(SystemModules, LocaleAnswersFollowTheFixedRegionalSettings) {
  struct Case {
    const char16_t* locale;
    Cardinal type;
    const char16_t* expected;  // null: no answer
  } cases[] = {
      {nullptr, LOCALE_SDECIMAL, u"."},
      {u"en-US", LOCALE_STHOUSAND, u","},
      {u"", LOCALE_SSHORTDATE, u"M/d/yyyy"},
      {nullptr, LOCALE_SNAME, u"en-US"},
      {nullptr, LOCALE_SENGLISHLANGUAGENAME, u"English"},
      {nullptr, LOCALE_S1159, u"AM"},
      {u"de-DE", LOCALE_SDECIMAL, nullptr},
      {nullptr, 0x7777, nullptr},
  };
  for (const Case& c : cases) {
    char16_t buffer[64] = {};
    Integer n = GetLocaleInfoEx(c.locale, c.type, buffer, 64);
    if (!c.expected) {
      EXPECT_EQ(n, 0) << c.type;
      continue;
    }
    std::u16string want(c.expected);
    EXPECT_EQ(n, static_cast<Integer>(want.size()) + 1) << c.type;
    EXPECT_EQ(std::u16string(buffer), want) << c.type;
    EXPECT_EQ(GetLocaleInfoEx(c.locale, c.type, nullptr, 0), n) << "the size needed";
  }
  char16_t small[3];
  EXPECT_EQ(GetLocaleInfoEx(nullptr, LOCALE_SNAME, small, 3), 0) << "a buffer too small";
}
