// The menu appearance model, the office presets and the application
// styler, as tables.
#include <gtest/gtest.h>

#include <QApplication>

#include "controls/LumAppStyler.h"
#include "controls/LumMenuOfficeStyler.h"
#include "controls/LumMenus.h"
#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "vcl/Forms.h"
#include "vcl/UxTheme.h"

using namespace controls;
using vcl::clNone;
using vcl::TColor;

namespace {

// A menu that counts what the styler's refresh levels ask of it.
class CountingMenu : public vcl::TPopupMenu, public IStyledMenu {
 public:
  using vcl::TPopupMenu::TPopupMenu;
  int rebuilds = 0, notifies = 0;
  void UpdateItems() override { ++rebuilds; }
  void Notify() override { ++notifies; }
  TMenu* GetMenu() override { return this; }
  TCustomLumMenuStyler* GetMenuStyler() override { return nullptr; }
  TCustomLumMenuStyler* GetCurrentStyler() override { return nullptr; }
  void SetMenuStyler(TCustomLumMenuStyler*) override {}
  bool GetShowNotes() override { return true; }
  void SetShowNotes(bool) override {}
  bool GetIntlKeybShortCuts() override { return false; }
  void SetIntlKeybShortCuts(bool) override {}
  std::pair<int, int> Take() {
    auto r = std::make_pair(rebuilds, notifies);
    rebuilds = notifies = 0;
    return r;
  }
};

// A component that takes presets.
class Styled : public vcl::TComponent, public IStyleAware {
 public:
  using vcl::TComponent::TComponent;
  std::vector<REZORuvar> got;
  void SetComponentStyle(REZORuvar s) override { got.push_back(s); }
};

class StyledFrame : public vcl::TFrame, public IStyleAware {
 public:
  using vcl::TFrame::TFrame;
  std::vector<REZORuvar> got;
  void SetComponentStyle(REZORuvar s) override { got.push_back(s); }
};

}  // namespace

TEST(MenuModel, InitialValues) {
  vcl::TComponent owner(nullptr);
  TLumMenuStyler s(&owner);
  struct Case {
    const char* what;
    TColor got, want;
  } cases[] = {
      {"gradient bar", TGradientBar(nullptr).Color(), 0xD8BDAF},
      {"gradient bar to", TGradientBar(nullptr).ColorTo(), clNone},
      {"icon bar", s.IconBar()->Color(), 0xFFF9F9},
      {"icon bar to", s.IconBar()->ColorTo(), 0xBBA0A1},
      {"icon check", s.IconBar()->CheckColor(), 0x6FC0FF},
      {"icon check border", s.IconBar()->CheckBorder(), 0x6F4B4B},
      {"icon separator", s.IconBar()->SeparatorColor(), clNone},
      {"selected", s.SelectedItem()->Color(), 0xC2EEFF},
      {"selected border", s.SelectedItem()->BorderColor(), 0x6F4B4B},
      {"selected check", s.SelectedItem()->CheckColor(), 0x3E80FE},
      {"selected font", s.SelectedItem()->Font()->Color(), vcl::clWindowText},
      {"root", s.RootItem()->Color(), 0xE5D7D7},
      {"root to", s.RootItem()->ColorTo(), 0xF7F2F2},
      {"root selected", s.RootItem()->SelectedColor(), 0xF2E8E8},
      {"root selected to", s.RootItem()->SelectedColorTo(), 0xCDB8B9},
      {"root selected border", s.RootItem()->SelectedBorderColor(), 0x947C7C},
      {"root hover", s.RootItem()->HoverColor(), 0xCFF6FF},
      {"root hover to", s.RootItem()->HoverColorTo(), 0x9DD8FF},
      {"root hover mirror", s.RootItem()->HoverColorMirror(), clNone},
      {"background", s.Background()->Color(), 0xFFFAFD},
      {"separator", s.Separator()->Color(), 0x8F6D6E},
      {"separator to", s.Separator()->ColorTo(), clNone},
      {"side bar splitter", s.SideBar()->SplitterColor(), 0x808080},
      {"side bar splitter to (black)", s.SideBar()->SplitterColorTo(), 0},
      {"side bar border", s.SideBar()->BorderColor(), 0xA19D9D},
      {"caption font", s.SideBar()->Font()->Color(), 0xFFFFFF},
      {"menu border", s.MenuBorderColor(), 0x7C7C94},
      {"notes font", s.NotesFont()->Color(), 0x808080},
      {"button down", s.ButtonAppearance()->DownColor(), 0xB59285},
      {"button hover", s.ButtonAppearance()->HoverColor(), 0xD2BDB6},
      {"button down border", s.ButtonAppearance()->DownBorderColor(), 0x6A240A},
      {"button", s.ButtonAppearance()->Color(), clNone},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_EQ(s.IconBar()->Size(), 24);
  EXPECT_EQ(s.IconBar()->GradientDirection(), gdHorizontal);
  EXPECT_EQ(s.RootItem()->GradientDirection(), gdHorizontal);
  EXPECT_EQ(s.Separator()->GradientDirection(), gdHorizontal);
  EXPECT_EQ(s.Separator()->Margin(), 2);
  EXPECT_EQ(s.Separator()->GradientType(), gtBoth);
  EXPECT_EQ(s.SideBar()->Size(), 24);
  EXPECT_FALSE(s.SideBar()->Visible());
  EXPECT_EQ(s.SideBar()->CaptionOffset(), 6);
  EXPECT_EQ(s.SideBar()->Font()->Name(), "Tahoma");
  EXPECT_EQ(s.SideBar()->Font()->Size(), 14);
  EXPECT_TRUE(s.SideBar()->Font()->Style().Contains(vcl::fsBold));
  EXPECT_TRUE(s.SideBar()->Font()->Style().Contains(vcl::fsItalic));
  EXPECT_EQ(s.Background()->Position(), TBackgroundPosition::bpCenter);
  EXPECT_EQ(s.AntiAlias(), aaNone);
  EXPECT_TRUE(s.UseSystemFont());
  EXPECT_EQ(s.NotesFont()->Size(), vcl::Screen->MenuFont()->Size() - 2);
  EXPECT_EQ(s.SelectedItem()->NotesFont()->Size(), vcl::Screen->MenuFont()->Size() - 2);
  EXPECT_EQ(s.Font()->Name(), vcl::Screen->MenuFont()->Name());
  EXPECT_EQ(s.ButtonAppearance()->CaptionFont()->Name(), "Segoe UI") << "a Vista-or-later system";
  // The glyphs are the resources' shapes.
  EXPECT_EQ(s.Glyphs()->SubMenu()->Width(), 4);
  EXPECT_EQ(s.Glyphs()->SubMenu()->Height(), 7);
  EXPECT_EQ(s.Glyphs()->Check()->Width(), 16);
  EXPECT_TRUE(s.Glyphs()->Check()->Transparent());
  vcl::TCanvas* check = s.Glyphs()->Check()->Canvas();
  EXPECT_EQ(check->Pixels(6, 11), vcl::clBlack) << "the check's lowest point";
  EXPECT_EQ(check->Pixels(11, 4), vcl::clBlack) << "its top right";
  EXPECT_EQ(check->Pixels(4, 7), vcl::clBlack) << "its short arm";
  EXPECT_EQ(check->Pixels(3, 7), vcl::clWhite);
  vcl::TCanvas* radio = s.Glyphs()->Radio()->Canvas();
  EXPECT_EQ(radio->Pixels(7, 5), vcl::clBlack);
  EXPECT_EQ(radio->Pixels(5, 5), vcl::clWhite) << "a corner cut";
  vcl::TCanvas* arrow = s.Glyphs()->SubMenu()->Canvas();
  EXPECT_EQ(arrow->Pixels(0, 0), vcl::clBlack);
  EXPECT_EQ(arrow->Pixels(3, 3), vcl::clBlack);
  EXPECT_EQ(arrow->Pixels(3, 2), vcl::clWhite);
}

TEST(MenuModel, IndexedColoursAndTheirError) {
  TRootItem root(nullptr);
  root.SetHoverColor(2, 0x112233);
  EXPECT_EQ(root.HoverColorMirror(), 0x112233u);
  root.SetSelectedColor(3, 0x445566);
  EXPECT_EQ(root.SelectedColorMirrorTo(), 0x445566u);
  try {
    root.GetHoverColor(4);
    FAIL();
  } catch (const EInvalidPropertyIndex& e) {
    EXPECT_EQ(e.Message(), "Invalid property index 4.");
  }
  EXPECT_THROW(TGradientBar(nullptr).GetColor(2), EInvalidPropertyIndex);
  EXPECT_THROW(TIconBar(nullptr).SetCheckColor(-1, 0), EInvalidPropertyIndex);
  EXPECT_THROW(TSelectedItem(nullptr).GetRadioColor(2), EInvalidPropertyIndex);
}

TEST(MenuModel, RefreshLevelsReachTheLinkedMenu) {
  vcl::TComponent owner(nullptr);
  auto* menu = new CountingMenu(&owner);
  TLumMenuStyler s(&owner);
  s.IconBar()->SetCheckColor(0, 1);
  EXPECT_EQ(menu->Take(), std::make_pair(0, 0)) << "no linked menu: only stored";
  s.SetMenu(menu);
  EXPECT_EQ(menu->Take(), std::make_pair(0, 1)) << "linking notifies";
  struct Case {
    const char* what;
    std::function<void()> set;
    std::pair<int, int> expect;  // rebuilds, notifies
  } cases[] = {
      {"gradient colour", [&] { s.IconBar()->SetColor(0, 5); }, {0, 0}},
      {"icon check", [&] { s.IconBar()->SetCheckColor(1, 5); }, {0, 1}},
      {"icon size", [&] { s.IconBar()->SetSize(30); }, {1, 1}},
      {"selected radio", [&] { s.SelectedItem()->SetRadioColor(0, 5); }, {0, 1}},
      {"selected font", [&] { s.SelectedItem()->SetFont(s.Font()); }, {1, 1}},
      {"root hover", [&] { s.RootItem()->SetHoverColor(0, 5); }, {1, 1}},
      {"root font", [&] { s.RootItem()->SetUseSystemFont(false); }, {1, 1}},
      {"glyph", [&] { s.Glyphs()->SetCheck(s.Glyphs()->Radio()); }, {0, 1}},
      {"caption font", [&] { s.SideBar()->SetFont(s.Font()); }, {1, 1}},
      {"side bar visible, popup", [&] { s.SideBar()->SetVisible(true); }, {0, 0}},
      {"background image", [&] { s.Background()->SetImage(nullptr); }, {0, 1}},
      // Copying a background takes its picture through the setter: one
      // notify of its own before the group's level.
      {"side bar image", [&] { s.SideBar()->SetImage(s.Background()); }, {1, 2}},
      {"styler background", [&] { s.SetBackground(s.Background()); }, {0, 2}},
      {"styler side bar", [&] { s.SetSideBar(s.SideBar()); }, {1, 3}},
      {"styler font", [&] { s.SetFont(s.Font()); }, {1, 1}},
      {"styler anti-alias", [&] { s.SetAntiAlias(aaAntiAlias); }, {1, 1}},
      {"menu border", [&] { s.SetMenuBorderColor(5); }, {0, 0}},
      {"separator margin", [&] { s.Separator()->SetMargin(4); }, {0, 0}},
  };
  for (const Case& c : cases) {
    c.set();
    EXPECT_EQ(menu->Take(), c.expect) << c.what;
  }
  EXPECT_EQ(s.IconBar()->Size(), 30);
  s.IconBar()->SetSize(10);
  EXPECT_EQ(s.IconBar()->Size(), 16) << "raised to 16";
  vcl::Free(menu);
  EXPECT_EQ(s.Menu(), nullptr) << "a freed menu is forgotten";
  s.IconBar()->SetSize(20);
}

TEST(MenuModel, CopyingRules) {
  TLumMenuStyler a(nullptr), b(nullptr);
  TSideBar fresh(nullptr);
  TSeparator sep(nullptr);
  EXPECT_EQ(fresh.SplitterColorTo(), 0u);
  EXPECT_EQ(sep.ColorTo(), clNone);
  // Groups copy what their rules name.
  a.IconBar()->SetColor(0, 1);
  a.IconBar()->SetCheckColor(0, 2);
  a.IconBar()->SetSize(40);
  b.IconBar()->Assign(a.IconBar());
  EXPECT_EQ(b.IconBar()->CheckColor(), 2u);
  EXPECT_EQ(b.IconBar()->Size(), 40);
  EXPECT_NE(b.IconBar()->Color(), 1u) << "an icon bar does not take the bar colours";
  a.RootItem()->SetHoverColor(2, 7);
  a.RootItem()->SetSelectedColor(2, 8);
  a.RootItem()->SetColor(0, 9);
  b.RootItem()->Assign(a.RootItem());
  EXPECT_EQ(b.RootItem()->SelectedColorMirror(), 8u);
  EXPECT_NE(b.RootItem()->HoverColorMirror(), 7u) << "not the hover mirror";
  EXPECT_NE(b.RootItem()->Color(), 9u) << "not the bar colours";
  TGradientBar plain(nullptr);
  plain.Assign(a.RootItem());
  EXPECT_EQ(plain.Color(), 9u) << "a gradient bar takes another's colours";
  vcl::TFont font;
  EXPECT_THROW(plain.Assign(&font), rtl::EConvertError);
  EXPECT_THROW(b.Glyphs()->Assign(&font), rtl::EConvertError);
  TButtonAppearance button;
  EXPECT_NO_THROW(button.Assign(&font)) << "ignored";
  // The styler copies only from a plain menu styler.
  a.SetMenuBorderColor(0x123456);
  a.Separator()->SetMargin(9);
  b.Assign(&a);
  EXPECT_EQ(b.Separator()->Margin(), 9);
  EXPECT_EQ(b.MenuBorderColor(), 0x7C7C94u) << "the border colour is not copied";
  TLumMenuOfficeStyler office(nullptr);
  EXPECT_THROW(b.Assign(&office), rtl::EConvertError);
}

TEST(OfficeStyler, BothFullColumnsAndEveryPresetsTellingValues) {
  TLumMenuOfficeStyler s(nullptr);
  EXPECT_EQ(s.Style(), osOffice2003Blue);
  auto check = [&](TOfficeStyle style, std::vector<TColor> telling) {
    s.SetStyle(style);
    std::vector<TColor> got = {s.Background()->Color(),          s.Background()->ColorTo(),
                               s.MenuBorderColor(),              s.RootItem()->Color(),
                               s.RootItem()->ColorTo(),          s.RootItem()->SelectedColor(),
                               s.RootItem()->SelectedColorTo(),  s.RootItem()->HoverColor(),
                               s.RootItem()->HoverColorTo(),     s.SelectedItem()->Color(),
                               s.SelectedItem()->ColorTo(),      s.SelectedItem()->BorderColor(),
                               s.IconBar()->Color(),             s.IconBar()->ColorTo(),
                               s.Separator()->Color()};
    EXPECT_EQ(got, telling) << static_cast<int>(style);
  };
  using vcl::clBtnFace;
  check(osOffice2003Blue, {0xF6F6F6, 0xF6F6F6, 0x962D00, 0xF5BE9E, 0xF7CDB2, 0xFFEFE3, 0xE7B593, 0xCCF4FF, 0x9AD6FF,
                           0xC2EEFF, clNone, 0x800000, 0xFFEFE3, 0xE4AD87, 0xCB8C6A});
  check(osOffice2003Silver, {0xF6F6F6, 0xF6F6F6, 0x5E8D75, 0xE5D7D7, 0xF7F3F3, 0xF1E9E8, 0xCDB9BA, 0xCCF4FF, 0x9AD6FF,
                             0xC2EEFF, clNone, 0x080000, 0xFFF9F9, 0xB99D9F, 0x8F6D6E});
  check(osOffice2003Olive, {0xF6F6F6, 0xF6F6F6, 0x5E8D75, 0xA8D9D9, 0xE4F0F2, 0xD5F0EC, 0x9FCEC2, 0xCCF4FF, 0x9AD6FF,
                            0xC2EEFF, clNone, 0x385D3F, 0xEDFFFF, 0x92C7B8, 0x588060});
  check(osOfficeXP, {vcl::clWindow, vcl::clWindow, 0x808080, clBtnFace, clBtnFace, clBtnFace, clNone, 0xEFD3C6, clNone,
                     0xEFD3C6, clNone, 0xC66931, clBtnFace, clNone, 0x7A868A});
  check(osOffice2007Luna, {0xF6F6F6, 0xF6F6F6, 0xC0C0C0, 0xF2DAC2, 0xF0D9C1, 0x76AFF1, 0x4190F3, 0xEBFDFF, 0xABEBFF,
                           0xEBFDFF, 0xABEBFF, 0x99CEDB, 0xEEEEE9, 0xEEEEE9, 0xC5C5C5});
  check(osOffice2007Obsidian, {0xF6F6F6, 0xF6F6F6, 0xC0C0C0, 0xB8B8B6, 0xA0A09E, 0x76AFF1, 0x4190F3, 0xEBFDFF,
                               0xABEBFF, 0xEBFDFF, 0xABEBFF, 0x99CEDB, 0xEEEEE9, 0xEEEEE9, 0xC5C5C5});
  check(osOffice2007Silver, {0xFAFAFA, 0xFAFAFA, 0x868686, 0xE5D7D7, 0xF7F3F3, 0x76AFF1, 0x4190F3, 0xEBFDFF, 0xABEBFF,
                             0xEBFDFF, 0xABEBFF, 0x99CEDB, 0xEFEFEF, 0xEFEFEF, 0xC5C5C5});
  check(osVista, {0xEEEEEE, clNone, 0x979797, 0xFFFFFF, 0xEEDBD4, 0xBBB8B6, 0xE1D0C9, 0xFFFFFF, 0xE7D9D3, 0xF4F1EB,
                  0xF3EBDA, 0xEBD8A8, 0xEEEEEE, clNone, 0xE0E0E0});
  check(osWhidbey, {0xF9FCFC, 0xF9FCFC, 0x7A868A, 0xD9E6E7, 0xD9E6E7, 0xF4F9F9, clNone, 0xEFD3C6, clNone, 0xEED2C1,
                    clNone, 0xC56A31, 0xFBFEFE, 0xACC3C4, 0xB8C2C5});
  check(osWindows7, {0xEEEEEE, clNone, 0x979797, 0xFFFFFF, 0xEEDBD4, 0xFCEBDC, 0xFCDBC1, 0xFFFFFF, 0xE7D9D3, 0xFCEBDC,
                     0xFCDBC1, 0xCEA27D, 0xEEEEEE, clNone, 0xE0E0E0});
  check(osTerminal, {clBtnFace, clBtnFace, 0x808080, clBtnFace, clBtnFace, vcl::clHighlight, vcl::clHighlight, 0xC0C0C0,
                     0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0x808080, clBtnFace, clBtnFace, 0x808080});
  // The rest of the two full columns.
  for (TOfficeStyle style : {osOffice2003Blue, osOffice2003Silver}) {
    s.SetStyle(style);
    bool blue = style == osOffice2003Blue;
    EXPECT_EQ(s.RootItem()->SelectedBorderColor(), blue ? 0x962D00u : 0x947C7Cu);
    EXPECT_EQ(s.RootItem()->SelectedColorMirror(), clNone);
    EXPECT_EQ(s.RootItem()->HoverBorderColor(), 0x6F4B4Bu);
    EXPECT_EQ(s.RootItem()->HoverTextColor(), vcl::clWindowText);
    EXPECT_EQ(s.RootItem()->GradientDirection(), gdHorizontal);
    EXPECT_EQ(s.SelectedItem()->CheckColor(), 0x3E80FEu);
    EXPECT_EQ(s.SelectedItem()->RadioColorTo(), clNone);
    EXPECT_EQ(s.SelectedItem()->CheckBorder(), blue ? 0x800000u : 0x6F4B4Bu);
    EXPECT_EQ(s.IconBar()->RadioColor(), 0x6FC0FFu);
    EXPECT_EQ(s.IconBar()->RadioBorder(), blue ? 0x800000u : 0x6F4B4Bu);
    EXPECT_EQ(s.ButtonAppearance()->DownColor(), 0x4E91FEu);
    EXPECT_EQ(s.ButtonAppearance()->DownColorTo(), 0x91D3FFu);
    EXPECT_EQ(s.ButtonAppearance()->HoverColor(), 0xCCF4FFu);
    EXPECT_EQ(s.ButtonAppearance()->HoverColorTo(), 0x91D0FFu);
    EXPECT_EQ(s.ButtonAppearance()->HoverBorderColor(), 0x800000u);
  }
  // The named exceptions and the 2007 family's mirrors.
  s.SetStyle(osOffice2007Luna);
  EXPECT_EQ(s.RootItem()->SelectedColorMirror(), 0x0E72F1u);
  EXPECT_EQ(s.RootItem()->SelectedColorMirrorTo(), 0x4C9FFDu);
  EXPECT_EQ(s.RootItem()->HoverColorMirror(), 0x69D6FFu);
  EXPECT_EQ(s.SelectedItem()->ColorMirror(), 0x69D6FFu);
  EXPECT_EQ(s.RootItem()->GradientDirection(), gdVertical);
  EXPECT_EQ(s.IconBar()->SeparatorColor(), 0xC5C5C5u);
  s.SetStyle(osOffice2007Silver);
  EXPECT_EQ(s.RootItem()->GradientDirection(), gdHorizontal);
  s.SetStyle(osWhidbey);
  EXPECT_EQ(s.RootItem()->SelectedTextColor(), 0u);
  s.IconBar()->SetRadioColor(0, 0x0BADC0);
  s.ButtonAppearance()->SetDownColor(0x0BADC1);
  s.SetStyle(osWhidbey);
  EXPECT_EQ(s.IconBar()->RadioColor(), 0x0BADC0u) << "Whidbey leaves the icon bar's radio colours";
  EXPECT_EQ(s.ButtonAppearance()->DownColor(), 0x0BADC1u) << "and the button appearance";
  s.SetStyle(osOfficeXP);
  EXPECT_EQ(s.IconBar()->RadioColor(), 0x0BADC0u) << "XP leaves the radio colours too";
}

TEST(OfficeStyler, CustomChangesNothingAndPresetsLeaveFontsAndGlyphs) {
  TLumMenuOfficeStyler s(nullptr);
  s.SetStyle(osOffice2003Silver);
  s.SetMenuBorderColor(0x5E8D75);
  vcl::TFont big;
  big.SetSize(20);
  s.SetFont(&big);
  s.SetStyle(osCustom);
  EXPECT_EQ(s.Style(), osCustom);
  EXPECT_EQ(s.RootItem()->Color(), 0xE5D7D7u) << "osCustom assigns nothing";
  s.SetStyle(osOffice2003Blue);
  EXPECT_EQ(s.MenuBorderColor(), 0x962D00u);
  EXPECT_EQ(s.Font()->Size(), 20) << "fonts are never touched";
  // The application presets map onto the menu presets.
  struct Case {
    REZORuvar app;
    TOfficeStyle menu;
  } cases[] = {{tsOffice2003Blue, osOffice2003Blue},       {tsOffice2003Silver, osOffice2003Silver},
               {tsOffice2003Olive, osOffice2003Olive},     {tsOffice2003Classic, osOfficeXP},
               {tsOffice2007Luna, osOffice2007Luna},       {tsOffice2007Obsidian, osOffice2007Obsidian},
               {tsWindowsXP, osOfficeXP},                  {tsWhidbey, osWhidbey},
               {tsOffice2007Silver, osOffice2007Silver},   {tsWindowsVista, osVista},
               {tsWindows7, osWindows7},                   {tsTerminal, osTerminal}};
  for (const Case& c : cases) {
    StyleAwareOf(&s)->SetComponentStyle(c.app);
    EXPECT_EQ(s.Style(), c.menu) << static_cast<int>(c.app);
  }
  s.SetComponentStyle(tsCustom);
  EXPECT_EQ(s.Style(), osTerminal) << "tsCustom changes nothing";
}

TEST(OfficeStyler, AutoThemeAdaptFollowsTheColourScheme) {
  TLumMenuOfficeStyler s(nullptr);
  struct Case {
    const char16_t* scheme;
    bool active;
    Integer number;
    TOfficeStyle style;
  } cases[] = {{u"NormalColor", true, 1, osOffice2003Blue},
               {u"HomeStead", true, 2, osOffice2003Olive},
               {u"Metallic", true, 3, osOffice2003Silver},
               {u"Royale", true, 0, osOfficeXP},
               {u"Metallic", false, 0, osOfficeXP}};
  for (const Case& c : cases) {
    vcl::SetThemeColorSchemeName(c.scheme);
    vcl::SetThemeActive(c.active);
    EXPECT_EQ(CurrentXPColorScheme(), c.number) << rtl::ToAnsi(c.scheme);
    s.SetStyle(osCustom);
    s.SetAutoThemeAdapt(false);
    s.ThemeChanged();
    EXPECT_EQ(s.Style(), osCustom) << "without adaptation nothing changes";
    s.SetAutoThemeAdapt(true);
    s.ThemeChanged();
    EXPECT_EQ(s.Style(), c.style) << rtl::ToAnsi(c.scheme);
  }
  vcl::SetThemeActive(true);
  vcl::SetThemeColorSchemeName(u"NormalColor");
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), 2) << "the question releases the library again";
}

TEST(OfficeStyler, TheNotifierWindowHearsThemeChanges) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* s = new TLumMenuOfficeStyler(form);
  ASSERT_EQ(s->Notifier()->Parent(), form) << "the first windowed owner";
  s->Notifier()->HandleNeeded();
  s->SetAutoThemeAdapt(true);
  s->SetStyle(osCustom);
  vcl::SetThemeColorSchemeName(u"HomeStead");
  vcl::SetThemeActive(false);
  vcl::SetThemeActive(true);
  EXPECT_EQ(s->Style(), osOffice2003Olive);
  vcl::SetThemeColorSchemeName(u"NormalColor");
  vcl::Free(form);
}

TEST(AppStyler, StyleReachesRegisteredFormStylersAndOnChangeOnlyOnChange) {
  vcl::TComponent owner(nullptr);
  TLumAppStyler app(&owner);
  EXPECT_EQ(app.Style(), tsCustom);
  EXPECT_EQ(app.Version(), "1.2.2.0");
  int changes = 0;
  app.OnChange = [&](vcl::TObject*) { ++changes; };
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* a = new Styled(form);
  auto* b = new Styled(form);
  auto* fs = new TFormStyler(form);
  fs->SetAppStyler(&app);
  EXPECT_EQ(app.FormStylerCount(), 1);
  app.SetStyle(tsOffice2007Luna);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(a->got, std::vector<REZORuvar>{tsOffice2007Luna});
  app.SetStyle(tsOffice2007Luna);
  EXPECT_EQ(changes, 1) << "no change, no event";
  EXPECT_EQ(a->got.size(), 1u);
  // A veto for one component.
  fs->OnApplyStyle = [&](vcl::TObject*, vcl::TComponent* c, bool& allow) { allow = c != b; };
  app.SetStyle(tsTerminal);
  EXPECT_EQ(a->got.back(), tsTerminal);
  EXPECT_EQ(b->got.back(), tsOffice2007Luna) << "vetoed";
  // tsCustom on a form styler stores and applies nothing.
  fs->SetStyle(tsCustom);
  EXPECT_EQ(fs->Style(), tsCustom);
  EXPECT_EQ(a->got.size(), 2u);
  // A freed form styler leaves the list.
  vcl::Free(form);
  EXPECT_EQ(app.FormStylerCount(), 0);
  app.SetStyle(tsWindows7);
  EXPECT_EQ(changes, 3);
}

TEST(AppStyler, FormWalkSkipsFramesContainerWalkRecurses) {
  TLumAppStyler app(nullptr);
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* onForm = new Styled(form);
  auto* frame = vcl::Create<StyledFrame>(form);
  auto* inFrame = new Styled(frame);
  auto* inner = vcl::Create<StyledFrame>(frame);
  auto* inInner = new Styled(inner);
  auto* formStyler = new TFormStyler(form);
  formStyler->SetStyle(tsWindowsVista);
  EXPECT_EQ(onForm->got.size(), 1u);
  EXPECT_EQ(frame->got.size(), 1u) << "the frame itself is the form's component";
  EXPECT_TRUE(inFrame->got.empty()) << "the form walk does not enter frames";
  EXPECT_TRUE(inInner->got.empty());
  auto* frameStyler = new TFormStyler(frame);
  frameStyler->SetStyle(tsWindows7);
  EXPECT_EQ(inFrame->got, std::vector<REZORuvar>{tsWindows7});
  EXPECT_EQ(inner->got, std::vector<REZORuvar>{tsWindows7});
  EXPECT_EQ(inInner->got, std::vector<REZORuvar>{tsWindows7}) << "a frame in a frame";
  // Linking pulls the application's style into the form styler.
  app.SetStyle(tsOffice2003Olive);
  frameStyler->SetAppStyler(&app);
  EXPECT_EQ(frameStyler->Style(), tsOffice2003Olive);
  EXPECT_EQ(inFrame->got.back(), tsOffice2003Olive);
  TLumAppStyler copy(nullptr);
  copy.Assign(&app);
  EXPECT_EQ(copy.Style(), tsOffice2003Olive);
  vcl::Free(form);
  EXPECT_EQ(app.FormStylerCount(), 0);
}

TEST(AppStyler, AutoThemeAdaptPicksThePresetOfTheScheme) {
  TLumAppStyler app(nullptr);
  struct Case {
    const char16_t* scheme;
    REZORuvar style;
  } cases[] = {{u"NormalColor", tsOffice2003Blue},
               {u"HomeStead", tsOffice2003Olive},
               {u"Metallic", tsOffice2003Silver},
               {u"Other", tsOffice2003Classic}};
  for (const Case& c : cases) {
    vcl::SetThemeColorSchemeName(c.scheme);
    app.SetAutoThemeAdapt(true);
    EXPECT_EQ(app.Style(), c.style);
  }
  vcl::SetThemeColorSchemeName(u"NormalColor");
}

// The program's own menus open without Qt's menu effect while the library
// runs; the setting found at start-up comes back at shut-down, and nothing
// outside the program is read or written.
TEST(MenuAnimation, OffWhileTheLibraryRunsAndRestoredAtShutDown) {
  EXPECT_FALSE(vcl::MenuAnimation()) << "the test program started the library";
  EXPECT_FALSE(QApplication::isEffectEnabled(Qt::UI_AnimateMenu));
  ShutDownLumMenus();
  const bool before = vcl::MenuAnimation();
  // Qt reports an effect only while the general UI effects are on, which
  // the offscreen platform leaves off.
  const bool general = QApplication::isEffectEnabled(Qt::UI_General);
  QApplication::setEffectEnabled(Qt::UI_General, true);
  for (bool setting : {true, false}) {
    SCOPED_TRACE(setting);
    vcl::SetMenuAnimation(setting);
    ASSERT_EQ(vcl::MenuAnimation(), setting);
    StartUpLumMenus();
    EXPECT_FALSE(QApplication::isEffectEnabled(Qt::UI_AnimateMenu));
    StartUpLumMenus();  // a second start keeps the first one's setting
    ShutDownLumMenus();
    EXPECT_EQ(QApplication::isEffectEnabled(Qt::UI_AnimateMenu), setting);
    ShutDownLumMenus();  // a second stop changes nothing
    EXPECT_EQ(QApplication::isEffectEnabled(Qt::UI_AnimateMenu), setting);
  }
  vcl::SetMenuAnimation(before);
  QApplication::setEffectEnabled(Qt::UI_General, general);
  StartUpLumMenus();
  EXPECT_FALSE(vcl::MenuAnimation());
}
