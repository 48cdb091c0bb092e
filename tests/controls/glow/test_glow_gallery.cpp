// A gallery of glow buttons for a person to look at: every preset in each
// look, and the eight layouts with glyphs, notes and drop-down parts,
// written to glow_button_gallery.png in the build folder.
#include <gtest/gtest.h>

#include "GlowButtonRig.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

using namespace glowtest;

namespace {

vcl::TImageList* GalleryGlyphs(vcl::TComponent* owner, int size) {
  auto* list = new vcl::TImageList(owner);
  list->SetWidth(size);
  list->SetHeight(size);
  vcl::TBitmap bitmap;
  bitmap.SetSize(size, size);
  vcl::TCanvas* c = bitmap.Canvas();
  c->Brush()->SetColor(vcl::clFuchsia);
  c->FillRect(vcl::Rect(0, 0, size, size));
  c->Brush()->SetColor(vcl::RGB(30, 140, 60));
  c->Pen()->SetColor(vcl::RGB(10, 80, 30));
  c->Ellipse(1, 1, size - 1, size - 1);
  c->Brush()->SetColor(vcl::clWhite);
  c->FillRect(vcl::Rect(size / 2 - 2, size / 4, size / 2 + 2, size * 3 / 4));
  list->AddMasked(&bitmap, vcl::clFuchsia);
  return list;
}

}  // namespace

TEST(GlowButtonGallery, PresetsLooksAndLayouts) {
  Rig rig;
  rig.form->SetClientWidth(660);
  rig.form->SetClientHeight(1000);
  rig.panel->SetBounds(0, 0, 660, 1000);
  rig.panel->SetColor(vcl::RGB(222, 230, 240));
  rig.Pump();
  vcl::TImageList* small = GalleryGlyphs(rig.form, 16);
  vcl::TImageList* large = GalleryGlyphs(rig.form, 32);
  std::vector<TLumGlowButton*> all;

  // Rows: the presets; columns: normal, hot, down, checked, disabled.
  const char* looks[] = {"Normal", "Hot", "Down", "Checked", "Disabled"};
  for (int p = 0; p <= static_cast<int>(REZORuvar::tsTerminal); ++p) {
    for (int look = 0; look < 5; ++look) {
      TLumGlowButton* b = rig.Add(8 + look * 128, 8 + p * 40, 120, 34);
      b->SetComponentStyle(static_cast<REZORuvar>(p));
      b->SetCaption(looks[look]);
      b->SetImages(small);
      b->SetImageIndex(0);
      b->SetAntiAlias(TAntiAlias::aaAntiAlias);
      switch (look) {
        case 1: Rig::Enter(b); break;
        case 2:
          Rig::Enter(b);
          Rig::Press(b, 60, 17);
          break;
        case 3:
          b->SetStyle(bsCheck);
          b->SetDown(true);
          break;
        case 4: b->SetEnabled(false); break;
      }
      all.push_back(b);
    }
  }
  rig.Advance(300);

  // The layouts, a split drop-down, notes and a wide caption.
  const int top = 8 + 13 * 40 + 12;
  for (int l = 0; l < 8; ++l) {
    TLumGlowButton* b = rig.Add(8 + (l % 4) * 160, top + (l / 4) * 96, 150, 86);
    b->SetLayout(static_cast<TButtonLayout>(l));
    b->SetImages(large);
    b->SetImageIndex(0);
    b->SetCaption("Layout " + std::to_string(l));
    b->SetComponentStyle(REZORuvar::tsOffice2007Luna);
    all.push_back(b);
  }
  const int row = top + 2 * 96;
  TLumGlowButton* split = rig.Add(8, row, 150, 60);
  split->SetCaption("Split &menu");
  split->SetDropDownButton(true);
  split->SetImages(small);
  split->SetImageIndex(0);
  split->SetComponentStyle(REZORuvar::tsWindows7);
  Rig::Enter(split);
  Rig::Move(split, 140, 30);
  TLumGlowButton* below = rig.Add(168, row, 150, 86);
  below->SetCaption("Drop below");
  below->SetLayout(blGlyphTop);
  below->SetImages(large);
  below->SetImageIndex(0);
  below->SetDropDownButton(true);
  below->SetDropDownPosition(dpBottom);
  below->SetComponentStyle(REZORuvar::tsOffice2003Blue);
  TLumGlowButton* notes = rig.Add(328, row, 190, 60);
  notes->SetCaption("With notes");
  notes->Notes()->Add("A second line of text");
  notes->SetImages(large);
  notes->SetImageIndex(0);
  TLumGlowButton* wide = rig.Add(528, row, 120, 60);
  wide->SetWideCaption(u"Wide \u00e9t\u00e9");
  wide->SetStyle(bsCheck);
  wide->SetFocusType(ftBorder);
  wide->SetTabStop(true);
  wide->SetFocus();
  TLumGlowButton* group[3];
  for (int i = 0; i < 3; ++i) {
    group[i] = rig.Add(8 + i * 80, row + 100, 80, 30);
    group[i]->SetPosition(i == 0 ? bpLeft : i == 1 ? bpMiddle : bpRight);
    group[i]->SetCaption(i == 0 ? "Left" : i == 1 ? "Middle" : "Right");
    group[i]->SetGroupIndex(7);
    group[i]->SetComponentStyle(REZORuvar::tsOffice2007Silver);
  }
  group[1]->SetDown(true);
  rig.Advance(300);
  split->Repaint();

  QImage shot = rig.Grab(rig.panel);
  shot.save(TOLVANE_BUILD_DIR "/glow_button_gallery.png");
  // Every button painted its face where it stands.
  for (TLumGlowButton* b : all) {
    const TColor middle = Rig::At(shot, b->Left() + b->Width() / 2, b->Top() + 3);
    EXPECT_NE(middle, vcl::RGB(222, 230, 240)) << b->Caption();
  }
  EXPECT_TRUE(group[1]->Down());
  // Vista's hot look starts from the no-colour value, which paints white.
  const int vista = static_cast<int>(REZORuvar::tsWindowsVista);
  const TColor vistaHotTop = Rig::At(shot, 8 + 128 + 60, 8 + vista * 40 + 2);
  EXPECT_GE(vcl::GetRValue(vistaHotTop), 245);
  EXPECT_GE(vcl::GetGValue(vistaHotTop), 245);
}
