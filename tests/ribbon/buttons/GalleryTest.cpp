// A gallery of toolbar buttons in their states, separators and
// containers on one toolbar, written to the build folder.
#include <gtest/gtest.h>

#include "ButtonRig.h"
#include "vcl/ImgList.h"
#include "vcl/Messages.h"

namespace ribbontest {
namespace {

using vcl::RGB;

TEST(RibbonGallery, ButtonsSeparatorsAndContainers) {
  Rig rig;
  rig.form->SetClientHeight(200);
  rig.panel->SetHeight(200);
  rig.bar->SetBounds(10, 10, 400, 170);
  TButtonAppearance* a = rig.bar->CurrentStyler()->ButtonAppearance();
  a->SetColorHot(RGB(255, 244, 204));
  a->SetColorHotTo(RGB(255, 214, 154));
  a->SetBorderHotColor(RGB(0, 0, 128));
  a->SetColorDown(RGB(254, 145, 78));
  a->SetColorDownTo(RGB(255, 211, 142));
  a->SetBorderDownColor(RGB(0, 0, 128));
  a->SetColorChecked(RGB(255, 213, 140));
  a->SetColorCheckedTo(RGB(255, 173, 85));
  a->SetBorderCheckedColor(RGB(0, 0, 128));
  vcl::TImageList images(rig.form);
  vcl::TBitmap glyph(16, 16);
  glyph.Canvas()->Brush()->SetColor(vcl::clFuchsia);
  glyph.Canvas()->FillRect(vcl::TRect{0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(RGB(40, 140, 60));
  glyph.Canvas()->Ellipse(1, 1, 15, 15);
  images.AddMasked(&glyph, vcl::clFuchsia);
  rig.bar->SetImages(&images);

  const char* captions[] = {"Up", "Hot", "Down", "Checked", "Off"};
  TLumCustomToolBarButton* row[5];
  for (int i = 0; i < 5; ++i) {
    row[i] = rig.Add(4 + i * 76, 4, 72, 24);
    row[i]->SetImageIndex(0);
    row[i]->SetCaption(captions[i]);
    row[i]->SetShowCaption(true);
  }
  row[3]->SetGroupIndex(1);
  row[3]->SetDown(true);
  row[4]->SetEnabled(false);
  // Second row: drop-down buttons, image above the caption, separators.
  auto* drop = rig.Add(4, 34, 60, 24);
  drop->SetImageIndex(0);
  drop->SetDropDownButton(true);
  auto* joined = rig.Add(70, 34, 60, 24);
  joined->SetImageIndex(0);
  joined->SetDropDownButton(true);
  joined->SetDropDownSplit(false);
  auto* sep = new TRorIvezEviSeparator(rig.form);
  sep->SetParent(rig.bar);
  sep->SetAutoSize(false);
  sep->SetBounds(136, 34, 10, 24);
  auto* tall = rig.Add(150, 30, 50, 44);
  tall->SetImageIndex(0);
  tall->SetCaption("Top");
  tall->SetShowCaption(true);
  tall->SetGlyphPosition(gpTop);
  // Containers: one with a caption and glow-button-sized children, one
  // framed by the styler, one without a frame.
  auto* box = new TRorIvezEviContainer(rig.form);
  box->SetParent(rig.bar);
  box->SetBounds(4, 80, 150, 80);
  box->SetParentStyler(false);
  box->SetCaption("Alignment");
  box->SetRorIvezEvi(rig.bar);
  auto* inside = new TLumCustomToolBarButton(rig.form);
  inside->SetParent(box);
  inside->SetAutoSize(false);
  inside->SetBounds(10, 24, 40, 22);
  inside->SetImageIndex(0);
  auto* styled = new TRorIvezEviContainer(rig.form);
  styled->SetParent(rig.bar);
  styled->SetBounds(160, 80, 110, 80);
  styled->SetRorIvezEvi(rig.bar);
  styled->SetCaption("Styled");
  auto* plain = new TRorIvezEviContainer(rig.form);
  plain->SetParent(rig.bar);
  plain->SetBounds(280, 80, 110, 80);
  plain->SetParentStyler(false);
  plain->SetLineColor(vcl::clNone);
  rig.Pump();

  rig.Move(row[1], 30, 12);
  rig.Move(row[2], 30, 12);
  rig.Press(row[2], 30, 12);
  row[1]->Perform(vcl::CM_MOUSEENTER);  // hot beside the pressed one
  drop->Perform(vcl::CM_MOUSEENTER);
  const QImage shot = rig.Grab(rig.bar);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_toolbar_gallery.png");
  rig.Release(row[2], 30, 12);
  // The pressed face, the checked face and the separator's line.
  EXPECT_EQ(Rig::At(shot, 4 + 2 * 76 + 1, 4), RGB(0, 0, 128));
  EXPECT_EQ(vcl::GetRValue(Rig::At(shot, 4 + 2 * 76 + 1, 5)), 254);
  EXPECT_EQ(Rig::At(shot, 4 + 76, 4), RGB(0, 0, 128));
  EXPECT_EQ(Rig::At(shot, 4 + 3 * 76, 4), RGB(0, 0, 128));
  EXPECT_EQ(Rig::At(shot, 141, 45), vcl::ColorToRGB(vcl::clBtnShadow));
  EXPECT_EQ(Rig::At(shot, 4, 120), vcl::ColorToRGB(vcl::clBtnShadow));
  EXPECT_EQ(Rig::At(shot, 280, 120), kToolBarColour);
  rig.bar->SetImages(nullptr);
}

}  // namespace
}  // namespace ribbontest
