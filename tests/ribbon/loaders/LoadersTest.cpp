// The ribbon's bindings of the visual-styles and composition libraries:
// loaded once and counted, unloaded when an entry point is missing, and
// answering E_NOTIMPL for what is not there.
#include <gtest/gtest.h>

#include "ribbon/LumDWM.h"
#include "ribbon/LumTBXPVS.h"
#include "vcl/WinApi.h"

namespace {

void ReleaseUxThemeFully() {
  while (ribbon::UxThemeReferenceCount() > 0) ribbon::ReleaseUxThemeLibrary();
}

TEST(RibbonLoaders, UxThemeLoadedAtStartAndLoadingTwiceCountsOnce) {
  // The unit loads it as the program starts.
  EXPECT_TRUE(ribbon::UxThemeLibraryLoaded());
  EXPECT_EQ(ribbon::UxThemeReferenceCount(), 1);
  const int modules = vcl::ModuleLoadCount("uxtheme");
  ribbon::LoadUxThemeLibrary();
  EXPECT_EQ(ribbon::UxThemeReferenceCount(), 1);
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), modules);
  EXPECT_NE(ribbon::UxThemeEntries().OpenThemeData, nullptr);
  EXPECT_NE(ribbon::UxThemeEntries().EnableTheming, nullptr);

  ribbon::ReleaseUxThemeLibrary();
  EXPECT_FALSE(ribbon::UxThemeLibraryLoaded());
  EXPECT_EQ(ribbon::UxThemeReferenceCount(), 0);
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), modules - 1);
  ribbon::ReleaseUxThemeLibrary();  // nothing left to release
  EXPECT_EQ(ribbon::UxThemeReferenceCount(), 0);
  EXPECT_EQ(ribbon::DrawThemeTextEx(nullptr, nullptr, 1, 1, u"x", 1, 0, nullptr, nullptr), vcl::E_NOTIMPL);
  ribbon::LoadUxThemeLibrary();
  EXPECT_TRUE(ribbon::UxThemeLibraryLoaded());
  EXPECT_EQ(ribbon::UxThemeReferenceCount(), 1);
}

TEST(RibbonLoaders, DrawThemeTextExAnswersNotImplemented) {
  ASSERT_TRUE(ribbon::UxThemeLibraryLoaded());
  vcl::DTTOPTS options;
  options.dwFlags = vcl::DTT_TEXTCOLOR | vcl::DTT_GLOWSIZE | vcl::DTT_COMPOSITED;
  options.iGlowSize = 12;
  vcl::TRect r{0, 0, 100, 20};
  EXPECT_EQ(ribbon::DrawThemeTextEx(nullptr, nullptr, 1, 1, u"Ribbon", 6, 0x8044, &r, &options), vcl::E_NOTIMPL);
  // A library without the function answers the same.
  ReleaseUxThemeFully();
  vcl::SetExportHidden("uxtheme", "DrawThemeTextEx", true);
  ribbon::LoadUxThemeLibrary();
  EXPECT_TRUE(ribbon::UxThemeLibraryLoaded());
  EXPECT_EQ(ribbon::DrawThemeTextEx(nullptr, nullptr, 1, 1, u"Ribbon", 6, 0, &r, &options), vcl::E_NOTIMPL);
  vcl::SetExportHidden("uxtheme", "DrawThemeTextEx", false);
}

TEST(RibbonLoaders, AMissingEntryPointLeavesTheLibraryUnloaded) {
  for (const char* missing : {"OpenThemeData", "GetThemeSysFont", "EnableTheming"}) {
    ReleaseUxThemeFully();
    const int modules = vcl::ModuleLoadCount("uxtheme");
    vcl::SetExportHidden("uxtheme", missing, true);
    ribbon::LoadUxThemeLibrary();
    EXPECT_FALSE(ribbon::UxThemeLibraryLoaded()) << missing;
    EXPECT_EQ(ribbon::UxThemeReferenceCount(), 0) << missing;
    EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), modules) << missing << ": the module must be given back";
    EXPECT_EQ(ribbon::UxThemeEntries().OpenThemeData, nullptr) << missing;
    EXPECT_EQ(ribbon::DrawThemeTextEx(nullptr, nullptr, 1, 1, u"x", 1, 0, nullptr, nullptr), vcl::E_NOTIMPL);
    vcl::SetExportHidden("uxtheme", missing, false);
  }
  // Without the library at all, likewise.
  vcl::SetModuleHidden("uxtheme", true);
  ribbon::LoadUxThemeLibrary();
  EXPECT_FALSE(ribbon::UxThemeLibraryLoaded());
  vcl::SetModuleHidden("uxtheme", false);
  ribbon::LoadUxThemeLibrary();
  EXPECT_TRUE(ribbon::UxThemeLibraryLoaded());
  EXPECT_EQ(ribbon::UxThemeReferenceCount(), 1);
}

TEST(RibbonLoaders, CompositionQueryWithAndWithoutTheLibrary) {
  ribbon::ReleaseDwmLibrary();
  vcl::SetModuleHidden("dwmapi", true);
  for (int i = 0; i < 3; ++i) {
    bool on = true;
    EXPECT_EQ(ribbon::DwmIsCompositionEnabled(&on), vcl::E_NOTIMPL);
    EXPECT_TRUE(on);  // untouched
    EXPECT_FALSE(ribbon::DwmLibraryLoaded());
  }
  vcl::SetModuleHidden("dwmapi", false);
  bool on = true;
  EXPECT_EQ(ribbon::DwmIsCompositionEnabled(&on), vcl::S_OK);
  EXPECT_FALSE(on);
  EXPECT_TRUE(ribbon::DwmLibraryLoaded());
  const int loads = vcl::ModuleLoadCount("dwmapi");
  ribbon::LoadDwmLibrary();  // a handle is kept: nothing
  EXPECT_EQ(vcl::ModuleLoadCount("dwmapi"), loads);
  vcl::SetDesktopCompositionEnabled(true);
  EXPECT_EQ(ribbon::DwmIsCompositionEnabled(&on), vcl::S_OK);
  EXPECT_TRUE(on);
  vcl::SetDesktopCompositionEnabled(false);
  ribbon::ReleaseDwmLibrary();
  EXPECT_EQ(vcl::ModuleLoadCount("dwmapi"), loads - 1);
}

}  // namespace
