// The image picker drop-down beside the colour picker's list rules: items
// from an image list, choosing by image index, an unchanged index told
// nothing (where the colour picker tells every write), the list keys and
// the 500 ms search over captions, Enter on a hot item, Escape restoring the
// index, and the chosen picture or list image centred in the edit.
#include <gtest/gtest.h>

#include <QTest>
#include <string>

#include "DropdownTestSupport.h"
#include "dropdown/LumImagePickerDropDown.h"
#include "vcl/ImgList.h"
#include "vcl/WinApi.h"

namespace dropdown {
namespace {

using namespace ddtest;

const TColor kImageColours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF};

struct ImagePickerRig {
  TForm* owner = MakeForm(320, 300);
  TImageList* images = nullptr;
  TLumImagePickerDropDown* picker = nullptr;
  int selects = 0;
  ImagePickerRig() {
    images = new TImageList(owner);
    for (TColor c : kImageColours) {
      TBitmap b(16, 16);
      b.Canvas()->Brush()->SetColor(c);
      b.Canvas()->FillRect(TRect{0, 0, 16, 16});
      images->Add(&b, nullptr);
    }
    picker = new TLumImagePickerDropDown(owner);
    picker->SetParent(owner);
    picker->SetBounds(10, 10, 180, 24);
    picker->SetDropPosition(TDropPosition::dpDown);
    picker->OnSelect = [this](TObject*) { ++selects; };
    // No modifier held from an earlier test: the keys below are plain.
    Key(owner, Qt::Key_Shift);
    Pump();
  }
  ~ImagePickerRig() { Free(owner); }
  void Fill() {
    picker->SetImages(images);
    picker->AddImagesFromList();
    const char* captions[] = {"Red", "Green", "Blue", "Gold", "Grape"};
    for (int i = 0; i < 5; ++i) picker->Items()->Items(i)->SetCaption(captions[i]);
  }
  void KeyDown(Word key) {
    picker->Perform(WM_KEYDOWN, key, 0);
    Pump();
  }
  void Open() {
    picker->DropDown();
    Pump();
    ASSERT_TRUE(picker->DroppedDown());
  }
};

TEST(ImagePicker, ItemsFromTheImageListAndChoosingByImageIndex) {
  ImagePickerRig rig;
  rig.picker->AddImagesFromList();  // no list yet: nothing
  EXPECT_EQ(rig.picker->Items()->Count(), 0);
  rig.Fill();
  ASSERT_EQ(rig.picker->Items()->Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(rig.picker->Items()->Items(i)->ImageIndex(), i);
  rig.picker->SelectImageIndex(3);
  EXPECT_EQ(rig.picker->ItemIndex(), 3);
  EXPECT_EQ(rig.picker->GetSelectedImageIndex(), 3);
  EXPECT_EQ(rig.selects, 1);
  rig.picker->SetItemIndex(3);  // unchanged: untold
  EXPECT_EQ(rig.selects, 1);
  rig.picker->SetItemIndex(5);  // past the end
  EXPECT_EQ(rig.picker->ItemIndex(), 3);
  rig.picker->SelectImageIndex(7);
  EXPECT_EQ(rig.picker->ItemIndex(), -1);
  EXPECT_EQ(rig.picker->GetSelectedImageIndex(), -1);
  EXPECT_EQ(rig.selects, 2);
}

TEST(ImagePicker, TheListRulesOfTheColourPicker) {
  ManualTime time(300000);
  ImagePickerRig rig;
  rig.Fill();
  // Closed: Down from none to the first, Up stays there.
  rig.KeyDown(VK_DOWN);
  EXPECT_EQ(rig.picker->ItemIndex(), 0);
  rig.KeyDown(VK_UP);
  EXPECT_EQ(rig.picker->ItemIndex(), 0);
  rig.KeyDown(VK_END);
  EXPECT_EQ(rig.picker->ItemIndex(), 4);
  // Open: the search over captions, reset by a pause.
  rig.Open();
  rig.KeyDown('G');
  EXPECT_EQ(rig.picker->ItemIndex(), 1);
  time.Advance(200);
  rig.KeyDown('R');
  rig.KeyDown('A');
  EXPECT_EQ(rig.picker->SearchText(), "GRA");
  EXPECT_EQ(rig.picker->ItemIndex(), 4);
  time.Advance(500);
  rig.KeyDown('B');
  EXPECT_EQ(rig.picker->SearchText(), "B");
  EXPECT_EQ(rig.picker->ItemIndex(), 2);
  EXPECT_TRUE(rig.picker->DroppedDown());
  // Escape: the index from the opening.
  rig.KeyDown(VK_ESCAPE);
  EXPECT_FALSE(rig.picker->DroppedDown());
  EXPECT_EQ(rig.picker->ItemIndex(), 4);
  // Enter on a hot item commits it, told once.
  rig.Open();
  rig.picker->ListSelector()->Selector()->SetHotIndex(1);
  rig.selects = 0;
  rig.KeyDown(VK_RETURN);
  EXPECT_FALSE(rig.picker->DroppedDown());
  EXPECT_EQ(rig.picker->ItemIndex(), 1);
  EXPECT_EQ(rig.selects, 1);
  // A click commits and closes.
  rig.Open();
  TCustomItemSelector* inner = rig.picker->ListSelector()->Selector();
  const TRect r = rig.picker->ListSelector()->Items()->Items(2)->ItemRect();
  QTest::mouseClick(inner->Widget(), Qt::LeftButton, {}, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  Pump();
  EXPECT_FALSE(rig.picker->DroppedDown());
  EXPECT_EQ(rig.picker->ItemIndex(), 2);
}

TEST(ImagePicker, TheChosenImageShowsCentredInTheEdit) {
  ImagePickerRig rig;
  rig.Fill();
  rig.picker->SetItemIndex(2);
  Pump();
  QImage shot = Grab(rig.picker);
  SaveShot(shot, "dropdown_image_picker_edit.png");
  // The edit rectangle inside the border; the image centred in it.
  const TRect e = rig.picker->GetEditRect();
  const TPoint o{2, 2};
  const int h = std::min<int>(e.Bottom, rig.picker->ClientHeight()) - e.Top;
  const int x = o.X + e.Left + (e.Right - e.Left - 16) / 2, y = o.Y + e.Top + (h - 16) / 2;
  EXPECT_EQ(PixelAt(shot, x, y), TColor(0xFF0000));
  EXPECT_EQ(PixelAt(shot, x + 15, y + 15), TColor(0xFF0000));
  EXPECT_NE(PixelAt(shot, x - 1, y + 8), TColor(0xFF0000));
  EXPECT_NE(PixelAt(shot, x + 16, y + 8), TColor(0xFF0000));
  // A picture wins over the image index.
  TBitmap square(8, 8);
  square.Canvas()->Brush()->SetColor(0x00FF00);
  square.Canvas()->FillRect(TRect{0, 0, 8, 8});
  TPicture picture;
  picture.SetGraphic(&square);
  rig.picker->Items()->Items(2)->SetImage(&picture);
  rig.picker->Invalidate();
  Pump();
  shot = Grab(rig.picker);
  const int px = o.X + e.Left + (e.Right - e.Left - 8) / 2, py = o.Y + e.Top + (h - 8) / 2;
  EXPECT_EQ(PixelAt(shot, px, py), TColor(0x00FF00));
  EXPECT_EQ(PixelAt(shot, px + 7, py + 7), TColor(0x00FF00));
  EXPECT_NE(PixelAt(shot, x, y), TColor(0xFF0000));
}

}  // namespace
}  // namespace dropdown
