// Looks and component styles on a real grid: the colours each one writes,
// the fixed cells they paint (grabbed in the build folder), and theme
// adaptation following the theme service's scheme names and themes off.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "controls/LumStyleIF.h"
#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

using namespace grid;

namespace {

struct TLookForm {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  TLookForm() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 320, 160);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 300, 130);
    grid->SetColCount(4);
    grid->SetRowCount(5);
    grid->SetDefaultColWidth(70);
    grid->SetColor(clWhite);
    grid->Font()->SetColor(clBlack);
    grid->FixedFont()->SetColor(clBlack);
    for (Integer c = 1; c < 4; ++c) grid->SetCells(c, 0, "Col " + std::to_string(c));
    for (Integer r = 1; r < 5; ++r) {
      grid->SetCells(0, r, std::to_string(r));
      for (Integer c = 1; c < 4; ++c) grid->SetCells(c, r, std::to_string(r * c));
    }
    grid->SetSelection({1, 2, 2, 3});
    form->Show();
  }
  ~TLookForm() { vcl::Free(form); }
  QImage Grab(const std::string& png) {
    vcl::Application->ProcessMessages();
    grid->Invalidate();
    QImage img = grid->Widget()->grab().toImage();
    img.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR "/") + png));
    return img;
  }
};

TColor Rgb(const QImage& img, int x, int y) {
  const QRgb p = img.pixel(x, y);
  return vcl::RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
}

}  // namespace

TEST(GridLooks, TheLookSetterWritesItsColourSet) {
  TLookForm f;
  TVadOdizadEzev* g = f.grid;
  g->SetSelectionColorTo(0x123456);
  g->SetLook(glStandard);
  EXPECT_EQ(g->FixedColor(), clBtnFace);
  EXPECT_EQ(g->ControlLook()->FixedGradient(fgFrom), clBtnFace);
  EXPECT_EQ(g->ControlLook()->FixedGradient(fgTo), clNone);
  EXPECT_EQ(g->SelectionColor(), clHighlight);
  EXPECT_EQ(g->SelectionTextColor(), clHighlightText);
  EXPECT_EQ(g->SelectionColorTo(), 0x123456);  // kept
  EXPECT_EQ(g->SearchFooter()->Color, clBtnFace);
  // The same look again changes nothing, also not colours edited since.
  g->SetActiveCellColor(0x0000FF);
  g->SetLook(glStandard);
  EXPECT_EQ(g->ActiveCellColor(), 0x0000FF);
  // RUZ: the footer from the gradient copies as they stood, the gradient
  // then ending in silver; the hover and pressed sets.
  g->SetLook(glRUZ);
  EXPECT_EQ(g->SearchFooter()->Color, 0xFFFFFF);
  EXPECT_EQ(g->SearchFooter()->ColorTo, vcl::ColorToRGB(clBtnFace));
  EXPECT_EQ(g->ControlLook()->FixedGradient(fgTo), 0xC0C0C0);
  EXPECT_EQ(g->FixedGradientColor(fgTo), 0xC0C0C0);
  EXPECT_EQ(g->FixedGradientColor(fgHoverFrom), 0xCFD0D1);
  EXPECT_EQ(g->SelectionColorTo(), clNone);
  // glCustom clears nothing.
  g->SetActiveCellColor(0x00FF00);
  g->SetLook(glCustom);
  EXPECT_EQ(g->ActiveCellColor(), 0x00FF00);
  EXPECT_EQ(g->FixedGradientColor(fgTo), 0xC0C0C0);
  // The styled looks apply their style and remember it.
  g->SetLook(glWin7);
  EXPECT_EQ(g->ComponentStyle(), controls::tsWindows7);
  EXPECT_EQ(g->SelectionLook(), 2);
  EXPECT_EQ(g->FixedGradientColor(fgMirrorTo), 0xF7E9DD);
  AnsiString name = "before";
  EXPECT_TRUE(g->LookName(glWin7, name));
  EXPECT_EQ(name, "Windows 7");
  name = "";
  EXPECT_FALSE(g->LookName(glCustom, name));
  EXPECT_EQ(name, "");
}

TEST(GridLooks, ComponentStylesThroughTheStyleInterface) {
  TLookForm f;
  TVadOdizadEzev* g = f.grid;
  controls::IStyleAware* styled = controls::StyleAwareOf(g);
  ASSERT_NE(styled, nullptr);
  // From glXP, Office 2003 blue keeps the look: the selection stays the
  // system's; from another look it takes the XP look's colours.
  styled->SetComponentStyle(controls::tsOffice2003Blue);
  EXPECT_EQ(g->Look(), glXP);
  EXPECT_EQ(g->SelectionColor(), clHighlight);
  EXPECT_EQ(g->FixedGradientColor(fgFrom), 0xFCE1CB);
  EXPECT_EQ(g->ActiveCellColorTo(), 0x1595EE);
  g->SetLook(glStandard);
  styled->SetComponentStyle(controls::tsOffice2003Blue);
  EXPECT_EQ(g->SelectionColor(), 0xEACAB6);
  EXPECT_EQ(g->SelectionTextColor(), 0x000000);
  // Vista: ControlLook reads none while the fixed set paints on.
  styled->SetComponentStyle(controls::tsWindowsVista);
  EXPECT_EQ(g->Look(), glVista);
  EXPECT_EQ(g->ControlLook()->FixedGradient(fgFrom), clNone);
  EXPECT_EQ(g->ControlLook()->FixedGradient(fgTo), clNone);
  EXPECT_EQ(g->FixedGradientColor(fgFrom), 0xFFFFFF);
  EXPECT_EQ(g->FixedGradientColor(fgMirrorFrom), 0xFAF8F7);
  EXPECT_EQ(g->FixedGradientColor(fgHoverBorder), 0xE3C993);
  EXPECT_EQ(g->SortSettings()->HeaderMirrorColorTo, 0xF6ECD8);
  EXPECT_EQ(g->SelectionLook(), 1);
  // Obsidian from another look: the look's Luna is remembered.
  styled->SetComponentStyle(controls::tsOffice2007Obsidian);
  EXPECT_EQ(g->Look(), glOffice2007);
  EXPECT_EQ(g->ComponentStyle(), controls::tsOffice2007Luna);
  EXPECT_EQ(g->SelectionLook(), 3);
  EXPECT_EQ(g->FixedGradientColor(fgFrom), 0xF7F7F7);
  // Again on glOffice2007: the selection look back to normal.
  styled->SetComponentStyle(controls::tsOffice2007Obsidian);
  EXPECT_EQ(g->SelectionLook(), 0);
  EXPECT_EQ(g->ComponentStyle(), controls::tsOffice2007Obsidian);
  // tsCustom: only the prologue.
  g->SetActiveCellColor(0x00FF00);
  styled->SetComponentStyle(controls::tsCustom);
  EXPECT_EQ(g->ActiveCellColor(), 0x00FF00);
  EXPECT_EQ(g->SelectionColor(), clHighlight);
}

TEST(GridLooks, EveryLookAndStyleGrabbed) {
  TLookForm f;
  TVadOdizadEzev* g = f.grid;
  const char* looks[] = {"standard", "soft", "classic", "ruz", "xp", "listview", "vista", "win7", "office2007"};
  for (int i = 0; i < 9; ++i) {
    g->SetLook(glCustom);
    g->SetLook(static_cast<TGridLook>(i));
    const QImage img = f.Grab(std::string("grid-look-") + looks[i] + ".png");
    ASSERT_FALSE(img.isNull());
    // The fixed row's fill: flat for the plain looks, a gradient (lighter
    // at the top) for the others.
    const TColor top = Rgb(img, 100, 3);
    const TColor bottom = Rgb(img, 100, 20);
    if (i <= 2)
      EXPECT_EQ(top, bottom) << looks[i];
    else if (i != 5)
      EXPECT_NE(top, bottom) << looks[i];
  }
  const char* styles[] = {"office2003blue", "office2003silver", "office2003olive", "office2003classic",
                          "office2007luna", "office2007obsidian", "windowsxp", "whidbey", "custom",
                          "office2007silver", "windowsvista", "windows7", "terminal"};
  for (int i = 0; i < 13; ++i) {
    g->SetLook(glXP);
    controls::StyleAwareOf(g)->SetComponentStyle(static_cast<controls::REZORuvar>(i));
    const QImage img = f.Grab(std::string("grid-style-") + styles[i] + ".png");
    ASSERT_FALSE(img.isNull());
  }
  // Office 2003 blue paints its blue fixed cells.
  controls::StyleAwareOf(g)->SetComponentStyle(controls::tsOffice2003Blue);
  const QImage blue = f.Grab("grid-style-office2003blue.png");
  const TColor top = Rgb(blue, 100, 12);
  EXPECT_GT(vcl::GetBValue(top), vcl::GetRValue(top));
}

TEST(GridLooks, AutoThemeAdaptFollowsTheThemeService) {
  char16_t file[255] = {}, colour[255] = {}, size[255] = {};
  vcl::GetCurrentThemeName(file, 255, colour, 255, size, 255);
  const WideString savedName = colour;
  // A grid made before Vista reads the theme's colour scheme.
  vcl::SetExportHidden("kernel32", "GetLocaleInfoEx", true);
  {
    TLookForm f;
    TVadOdizadEzev* g = f.grid;
    g->SetLook(glStandard);
    struct Step {
      const char16_t* name;
      bool themes;
      TColor fixedTo, activeTo;
    } steps[] = {
        {u"NormalColor", true, 0xE0A57D, 0x1595EE}, {u"HomeStead", true, 0x8CC0B1, 0x1595EE},
        {u"Metallic", true, 0xB39698, 0x1595EE},    {u"Metallic", false, clBtnFace, 0xFFD9B3},
        {u"Royale", true, clBtnFace, 0xFFD9B3},
    };
    vcl::SetThemeColorSchemeName(u"NormalColor");
    g->SetAutoThemeAdapt(true);
    EXPECT_EQ(g->FixedGradientColor(fgTo), 0xE0A57D);
    int n = 0;
    for (const Step& s : steps) {
      vcl::SetThemeColorSchemeName(s.name);
      // A theme change reaches every window.
      vcl::SetThemeActive(!s.themes);
      vcl::SetThemeActive(s.themes);
      vcl::Application->ProcessMessages();
      EXPECT_EQ(g->FixedGradientColor(fgTo), s.fixedTo) << n;
      EXPECT_EQ(g->ActiveCellColorTo(), s.activeTo) << n;
      f.Grab("grid-theme-" + std::to_string(n++) + ".png");
    }
    // Off: the colours stay as they are at the next change.
    g->SetAutoThemeAdapt(false);
    vcl::SetThemeColorSchemeName(u"HomeStead");
    vcl::SetThemeActive(false);
    vcl::SetThemeActive(true);
    EXPECT_EQ(g->FixedGradientColor(fgTo), clBtnFace);
  }
  vcl::SetExportHidden("kernel32", "GetLocaleInfoEx", false);
  vcl::SetThemeColorSchemeName(savedName);
  vcl::SetThemeActive(true);
  // From Vista on the scheme is 4 with or without visual styles.
  TLookForm f;
  f.grid->SetAutoThemeAdapt(true);
  EXPECT_EQ(f.grid->GetThemeColorScheme(), 4);
  EXPECT_EQ(f.grid->FixedGradientColor(fgMirrorTo), 0xF4F2F1);
  vcl::SetThemeActive(false);
  EXPECT_EQ(f.grid->GetThemeColorScheme(), 4);
  vcl::SetThemeActive(true);
}
