// The Windows-version test, the style interface and the two theme-library
// bindings over the system modules.
#include <gtest/gtest.h>

#include "controls/LumStyleIF.h"
#include "controls/LumXPVS.h"
#include "rtl/Exceptions.h"
#include "vcl/Components.h"
#include "vcl/TestCanvases.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

using namespace controls;

namespace {

// A component that takes presets, as the styled components do.
class StyledThing : public vcl::TComponent, public IStyleAware {
 public:
  using vcl::TComponent::TComponent;
  void SetComponentStyle(REZORuvar AStyle) override { styles.push_back(AStyle); }
  std::vector<REZORuvar> styles;
};

// Restores a hidden export or module when a test ends, also on failure.
struct Hidden {
  Hidden(const char* module, const char* name) : module_(module), name_(name) {
    if (name_)
      vcl::SetExportHidden(module_, name_, true);
    else
      vcl::SetModuleHidden(module_, true);
  }
  ~Hidden() {
    if (name_)
      vcl::SetExportHidden(module_, name_, false);
    else
      vcl::SetModuleHidden(module_, false);
  }
  const char* module_;
  const char* name_;
};

}  // namespace

TEST(VistaCheck, AnswersFromKernelsExportEveryCall) {
  EXPECT_TRUE(IsWindowsVistaOrLater());
  {
    Hidden h("kernel32", "GetLocaleInfoEx");
    EXPECT_FALSE(IsWindowsVistaOrLater()) << "a system without the Vista function";
  }
  EXPECT_TRUE(IsWindowsVistaOrLater()) << "nothing is cached";
  {
    Hidden h("kernel32", nullptr);
    EXPECT_FALSE(IsWindowsVistaOrLater()) << "no kernel32";
  }
  EXPECT_EQ(vcl::ModuleLoadCount("kernel32"), 0) << "the check loads nothing";
}

TEST(StyleInterface, PresetsAreOneByteInTheirOrder) {
  static_assert(sizeof(REZORuvar) == 1);
  const REZORuvar order[] = {tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic,
                             tsOffice2007Luna, tsOffice2007Obsidian, tsWindowsXP,     tsWhidbey,
                             tsCustom,         tsOffice2007Silver, tsWindowsVista,    tsWindows7,
                             tsTerminal};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(static_cast<int>(order[i]), i);
}

TEST(StyleInterface, FoundOnComponentsThatHaveItNeverOwning) {
  vcl::TComponent owner(nullptr);
  auto* styled = new StyledThing(&owner);
  auto* plain = new vcl::TComponent(&owner);
  ASSERT_EQ(StyleAwareOf(styled), static_cast<IStyleAware*>(styled));
  EXPECT_EQ(StyleAwareOf(plain), nullptr);
  EXPECT_EQ(StyleAwareOf(nullptr), nullptr);
  // A style pushed to every component that answers; the others are skipped.
  for (int i = 0; i < owner.ComponentCount(); ++i)
    if (IStyleAware* s = StyleAwareOf(owner.Components(i))) s->SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(styled->styles, std::vector<REZORuvar>{tsOffice2007Luna});
  IComponentStyle* alias = styled;
  alias->SetComponentStyle(tsTerminal);
  EXPECT_EQ(styled->styles.back(), tsTerminal);
  EXPECT_STREQ(IID_IStyleAware, "{11AC2DDC-C087-4298-AB6E-EA1B5017511B}");
}

TEST(ThemeBindings, BothAreBoundAtStartAndCallable) {
  // The test program starts the library as the program does.
  for (TThemeLibraryBinding* b : {&ThemeLibrary(), &LenientThemeLibrary()}) {
    ASSERT_TRUE(b->ThemeLibraryLoaded);
    EXPECT_EQ(b->Library, vcl::GetModuleHandle("uxtheme"));
    ASSERT_NE(b->Entries.IsThemeActive, nullptr);
    EXPECT_TRUE(b->Entries.IsThemeActive());
    EXPECT_NE(b->Entries.EnableTheming, nullptr);
  }
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), 2) << "one load per binding";
  const TThemeLibraryEntries& e = ThemeLibrary().Entries;
  vcl::HTHEME t = e.OpenThemeData(0, u"button");
  ASSERT_NE(t, nullptr);
  vcl::TRecordingCanvas rec;
  vcl::TRect r = vcl::Rect(0, 0, 13, 13);
  EXPECT_EQ(e.DrawThemeBackground(t, &rec, vcl::BP_CHECKBOX, vcl::CBS_MIXEDHOT, &r, nullptr), vcl::S_OK);
  EXPECT_EQ(rec.Calls().at(0), "DrawThemePart(3,10,0,0,13,13) 'button'");
  char16_t scheme[32];
  EXPECT_EQ(e.GetCurrentThemeName(nullptr, 0, scheme, 32, nullptr, 0), vcl::S_OK);
  EXPECT_EQ(std::u16string(scheme), u"NormalColor");
  // What no component here calls answers "not implemented" through the
  // same table, and leaves its out-parameters alone.
  vcl::TColor color = vcl::clFuchsia;
  vcl::Integer value = 7;
  vcl::TRect out = vcl::Rect(1, 2, 3, 4);
  struct Case {
    const char* what;
    vcl::HRESULT result;
  } cases[] = {
      {"GetThemeColor", e.GetThemeColor(t, vcl::BP_PUSHBUTTON, 1, 0, &color)},
      {"GetThemeInt", e.GetThemeInt(t, vcl::BP_PUSHBUTTON, 1, 0, &value)},
      {"GetThemeBackgroundContentRect", e.GetThemeBackgroundContentRect(t, &rec, vcl::BP_PUSHBUTTON, 1, &r, &out)},
      {"DrawThemeText", e.DrawThemeText(t, &rec, vcl::BP_PUSHBUTTON, 1, u"x", 1, 0, 0, &r)},
      {"DrawThemeIcon", e.DrawThemeIcon(t, &rec, vcl::BP_PUSHBUTTON, 1, &r, nullptr, 0)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, vcl::E_NOTIMPL) << c.what;
  EXPECT_EQ(color, vcl::clFuchsia);
  EXPECT_EQ(value, 7);
  EXPECT_EQ(out, vcl::Rect(1, 2, 3, 4));
  EXPECT_EQ(rec.Calls().size(), 1u) << "nothing drawn by them";
  EXPECT_EQ(e.CloseThemeData(t), vcl::S_OK);
}

TEST(ThemeBindings, BindingTwiceLoadsOnceAndUnbindingKeepsTheEntries) {
  TThemeLibraryBinding b(TBindingStrictness::Lenient, "Test");
  int before = vcl::ModuleLoadCount("uxtheme");
  b.Bind();
  b.Bind();
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), before + 1);
  b.Unbind();
  EXPECT_FALSE(b.ThemeLibraryLoaded);
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), before);
  EXPECT_NE(b.Entries.OpenThemeData, nullptr) << "entries are not cleared";
  b.Unbind();
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), before) << "unbinding twice frees once";
}

TEST(ThemeBindings, WithoutTheLibraryNothingIsBoundAndUnbindingDoesNothing) {
  Hidden h("uxtheme", nullptr);
  for (TBindingStrictness s : {TBindingStrictness::Strict, TBindingStrictness::Lenient}) {
    TThemeLibraryBinding b(s, "Test");
    b.Bind();
    EXPECT_FALSE(b.ThemeLibraryLoaded);
    EXPECT_EQ(b.Library, 0u);
    EXPECT_EQ(b.Entries.OpenThemeData, nullptr);
    EXPECT_EQ(b.Entries.EnableTheming, nullptr);
    b.Unbind();
    EXPECT_FALSE(b.ThemeLibraryLoaded);
  }
}

TEST(ThemeBindings, AMissingFunctionStopsTheStrictBindingAndLeavesANullInTheLenientOne) {
  Hidden h("uxtheme", "GetThemeIntList");
  TThemeLibraryBinding strict(TBindingStrictness::Strict, "LumXPVS");
  try {
    strict.Bind();
    FAIL() << "the strict binding must stop";
  } catch (const rtl::EAssertionFailed& e) {
    EXPECT_EQ(e.Message().rfind("Assertion failure (LumXPVS, line ", 0), 0u) << e.Message();
  }
  EXPECT_TRUE(strict.ThemeLibraryLoaded);
  EXPECT_NE(strict.Entries.GetThemeMargins, nullptr) << "found before the missing one";
  EXPECT_EQ(strict.Entries.SetWindowTheme, nullptr) << "looked up after it: never reached";
  strict.Unbind();

  TThemeLibraryBinding lenient(TBindingStrictness::Lenient, "LumStyleIF");
  lenient.Bind();
  EXPECT_TRUE(lenient.ThemeLibraryLoaded);
  EXPECT_EQ(lenient.Entries.GetThemeIntList, nullptr);
  EXPECT_NE(lenient.Entries.SetWindowTheme, nullptr);
  EXPECT_NE(lenient.Entries.EnableTheming, nullptr);
  lenient.Unbind();
}
