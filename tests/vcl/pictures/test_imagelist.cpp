// Image lists: masked adds cut into slices, drawing enabled and greyed.
#include <gtest/gtest.h>

#include "vcl/ImgList.h"
#include "vcl/TestCanvases.h"

namespace {

using namespace vcl;

// A strip of two 4 by 4 images on fuchsia: a red square at (1, 1) .. (3, 3)
// in the first, a blue one in the second.
std::unique_ptr<TBitmap> Strip() {
  auto b = std::make_unique<TBitmap>(8, 4);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, 8, 4));
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(1, 1, 3, 3));
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(5, 1, 7, 3));
  return b;
}

std::unique_ptr<TBitmap> Yellow() {
  auto b = std::make_unique<TBitmap>(10, 10);
  b->Canvas()->Brush()->SetColor(clYellow);
  b->Canvas()->FillRect(Rect(0, 0, 10, 10));
  return b;
}

TEST(ImageList, MaskedAddCutsSlicesAndDrawsTransparent) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  auto strip = Strip();
  EXPECT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.AddMasked(strip.get(), clDefault), 2) << "the bottom-left colour is the mask colour";
  EXPECT_EQ(list.Count(), 4);

  struct Case {
    Integer index;
    Integer x, y;
    TColor color;
  };
  const Case cases[] = {{0, 3, 3, clYellow}, {0, 4, 4, clRed}, {0, 5, 5, clRed}, {0, 6, 6, clYellow},
                        {1, 4, 4, clBlue},   {3, 5, 5, clBlue}, {3, 3, 3, clYellow}};
  for (const Case& k : cases) {
    auto target = Yellow();
    list.Draw(target->Canvas(), 3, 3, k.index);
    EXPECT_EQ(target->Canvas()->Pixels(k.x, k.y), k.color) << k.index << " at " << k.x << "," << k.y;
  }
}

TEST(ImageList, AddWithMaskBitmap) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  auto strip = Strip();
  TBitmap mask(8, 4);  // white everywhere: all transparent ...
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(0, 0, 2, 4));  // ... but the first two columns
  EXPECT_EQ(list.Add(strip.get(), &mask), 0);
  auto target = Yellow();
  list.Draw(target->Canvas(), 0, 0, 0);
  EXPECT_EQ(target->Canvas()->Pixels(0, 0), clFuchsia);
  EXPECT_EQ(target->Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(target->Canvas()->Pixels(2, 1), clYellow);
  // Without a mask the image is opaque.
  EXPECT_EQ(list.Add(strip.get(), nullptr), 2);
  list.Draw(target->Canvas(), 0, 0, 2);
  EXPECT_EQ(target->Canvas()->Pixels(2, 0), clFuchsia);
}

TEST(ImageList, DisabledImagesAreEmbossed) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  auto strip = Strip();
  list.AddMasked(strip.get(), clFuchsia);
  auto target = Yellow();
  list.Draw(target->Canvas(), 2, 2, 0, false);
  // The red square (3..4, 3..4) in shadow, its copy one pixel down-right in
  // highlight where the shadow does not cover it.
  EXPECT_EQ(target->Canvas()->Pixels(3, 3), GetSysColor(16));
  EXPECT_EQ(target->Canvas()->Pixels(4, 4), GetSysColor(16));
  EXPECT_EQ(target->Canvas()->Pixels(5, 5), GetSysColor(20));
  EXPECT_EQ(target->Canvas()->Pixels(5, 3), clYellow);
  EXPECT_EQ(target->Canvas()->Pixels(2, 2), clYellow);
}

TEST(ImageList, IndexesAndSizes) {
  TImageList list(nullptr);
  auto strip = Strip();
  list.SetWidth(4);
  list.SetHeight(4);
  list.AddMasked(strip.get(), clFuchsia);
  // A wrong index draws nothing.
  TRecordingCanvas rec;
  list.Draw(&rec, 0, 0, 5);
  list.Draw(&rec, 0, 0, -1);
  EXPECT_TRUE(rec.Calls().empty());
  list.Draw(&rec, 7, 8, 1);
  EXPECT_EQ(rec.Calls(), std::vector<AnsiString>{"Draw(7,8,4,4)"});
  try {
    list.Delete(2);
    FAIL() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Invalid ImageList Index");
  }
  TBitmap out;
  list.GetBitmap(1, &out);
  EXPECT_EQ(out.Width(), 4);
  EXPECT_EQ(out.Canvas()->Pixels(1, 1), clBlue);
  EXPECT_EQ(static_cast<Byte*>(out.ScanLine(0))[3], 0) << "a masked pixel has alpha 0";
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  TImageList copy(nullptr);
  copy.Assign(&list);
  EXPECT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy.Width(), 4);
  list.SetWidth(8);
  EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
}

}  // namespace
