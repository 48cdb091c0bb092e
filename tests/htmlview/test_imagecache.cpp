// The image cache: one element per source, ids that keep growing, room
// made from images no longer shown, resized variants asked for once.
#include <gtest/gtest.h>

#include "htmledit/doc/psTagParser.h"
#include "htmledit/view/psImageCache.h"
#include "vcl/Pictures.h"

namespace {

using namespace htmlview;

std::unique_ptr<vcl::TGraphic> Picture(Integer w = 4, Integer h = 3) { return std::make_unique<vcl::TBitmap>(w, h); }

TEST(ImageCache, SourcesAreCachedOnceAndComparedExactly) {
  TpsImageCache cache;
  EXPECT_EQ(cache.Capacity(), 40);
  EXPECT_EQ(cache.AddImage("a.png", Picture(), nullptr), 0);
  EXPECT_EQ(cache.AddImage("a.png", Picture(), nullptr), -1);
  EXPECT_EQ(cache.AddImage("A.png", nullptr, nullptr), 1);
  EXPECT_EQ(cache.Count(), 2);
  EXPECT_TRUE(cache.Contains("A.png"));
  EXPECT_EQ(cache.GetImageID("A.png"), 1);
  EXPECT_EQ(cache.GetImageID("b.png"), -1);
  EXPECT_EQ(cache.IndexOfId(1), 1);
  EXPECT_NE(cache.GetGraphicBySource("a.png"), nullptr);
  EXPECT_EQ(cache.GetGraphicByID(1), nullptr);
  TpsImageCacheElement e;
  ASSERT_TRUE(cache.FindBySource("a.png", e));
  EXPECT_EQ(e.Id, 0);
  EXPECT_EQ(e.Graphic->Width(), 4);
  EXPECT_FALSE(cache.GetImageByID(7, e));
}

TEST(ImageCache, GetImageOutsideTheElementsRaises) {
  TpsImageCache cache;
  cache.AddImage("a", nullptr, nullptr);
  TpsImageCacheElement e;
  cache.GetImage(0, e);
  EXPECT_EQ(e.Source, "a");
  try {
    cache.GetImage(cache.Count(), e);
    FAIL();
  } catch (const rtl::EListError& x) {
    EXPECT_EQ(x.Message(), "TpsImageCache.GetImage: List index out of bounds!");
  }
  EXPECT_THROW(cache.GetImage(-1, e), rtl::EListError);
}

TEST(ImageCache, MissingImagesTagsAndGraphicsStoredLater) {
  TpsImageCache cache;
  htmldoc::TpsMarkupTag tag("<img src=\"x.png\" width=\"30\">");
  cache.AddImage("x.png", nullptr, &tag);
  cache.AddImage("y.png", nullptr, nullptr);
  cache.AddImage("z.png", nullptr, nullptr);
  EXPECT_EQ(cache.GetMissingImageIDs(), (std::vector<Integer>{0, 1, 2}));
  TpsImageCacheElement e;
  cache.GetImageByID(0, e);
  ASSERT_NE(e.Tag, nullptr);
  EXPECT_EQ(e.Tag->GetAttribute("width"), "30");
  cache.SetGraphicByID(0, Picture());
  cache.GetImageByID(0, e);
  EXPECT_EQ(e.Tag, nullptr);  // dropped once a graphic is stored
  auto picture = std::make_unique<vcl::TPicture>();
  picture->SetGraphic(Picture(9, 9).get());
  cache.SetPictureByID(1, std::move(picture));
  cache.GetImageByID(1, e);
  ASSERT_TRUE(e.Picture);
  EXPECT_EQ(e.Graphic, e.Picture->Graphic());
  EXPECT_EQ(cache.GetMissingImageIDs(), (std::vector<Integer>{2}));
  cache.SetGraphicByID(42, Picture());  // unknown: nothing
  // Replacing drops the picture, the reload flag and the variants.
  cache.SetReloadFlag("y.png", true);
  EXPECT_TRUE(cache.GetReloadFlag(1));
  EXPECT_TRUE(cache.ReplaceGraphic("y.png", Picture(2, 2)));
  cache.GetImageByID(1, e);
  EXPECT_EQ(e.Picture, nullptr);
  EXPECT_EQ(e.Graphic->Width(), 2);
  EXPECT_FALSE(e.ReloadPending);
  EXPECT_FALSE(cache.ReplaceGraphic("none", Picture()));
  EXPECT_EQ(cache.GetSource(2), "z.png");
}

TEST(ImageCache, AFullCacheEvictsTheFirstImageNoLongerShown) {
  TpsImageCache cache;
  for (int i = 0; i < 40; ++i) {
    const AnsiString src = "img" + std::to_string(i);
    cache.AddImage(src, nullptr, nullptr);
    cache.AddUse(src);
    cache.RemoveUse(src);
  }
  EXPECT_EQ(cache.AddImage("new", nullptr, nullptr), 40);
  EXPECT_EQ(cache.Count(), 40);
  EXPECT_EQ(cache.Capacity(), 40);
  EXPECT_FALSE(cache.Contains("img0"));
  EXPECT_EQ(cache.GetSource(39), "new");
  EXPECT_EQ(cache.GetSource(0), "img1");
}

TEST(ImageCache, AFullCacheOfImagesNeverShownGrows) {
  TpsImageCache cache;
  for (int i = 0; i < 40; ++i) cache.AddImage("img" + std::to_string(i), nullptr, nullptr);
  // One shown now is kept too.
  cache.AddUse("img3");
  EXPECT_EQ(cache.AddImage("new", nullptr, nullptr), 40);
  EXPECT_EQ(cache.Capacity(), 41);
  EXPECT_EQ(cache.Count(), 41);
  EXPECT_TRUE(cache.Contains("img0"));
}

TEST(ImageCache, ResizedVariantsAreAskedForOnceAndCounted) {
  TpsImageCache cache;
  int asked = 0;
  cache.OnRequestResizedGraphic = [&](TpsImageCache*, const AnsiString&, Integer w, Integer h) {
    ++asked;
    return Picture(w, h);
  };
  cache.AddImage("a", Picture(100, 100), nullptr);
  EXPECT_EQ(cache.GetResizedGraphic("none", 10, 10), nullptr);
  cache.AddUse("a");
  vcl::TGraphic* first = cache.GetResizedGraphic("a", 50, 40);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Width(), 50);
  EXPECT_EQ(cache.GetResizedGraphic("a", 50, 40), first);
  EXPECT_EQ(asked, 1);
  TpsImageCacheElement e;
  cache.FindBySource("a", e);
  ASSERT_EQ(e.ResizedGraphics->GetCount(), 1);
  EXPECT_EQ(e.ResizedGraphics->GetItem(0)->UseCount, 2);
  cache.ReleaseResizedGraphic("a", 50, 40);
  cache.ReleaseResizedGraphic("a", 50, 40);
  EXPECT_EQ(e.ResizedGraphics->GetItem(0)->UseCount, 0);
  // As many variants as uses: the first unused one makes room.
  vcl::TGraphic* second = cache.GetResizedGraphic("a", 20, 20);
  ASSERT_TRUE(second);
  EXPECT_EQ(asked, 2);
  cache.FindBySource("a", e);
  ASSERT_EQ(e.ResizedGraphics->GetCount(), 1);
  EXPECT_EQ(e.ResizedGraphics->GetItem(0)->Width, 20);
}

TEST(ImageCache, DocumentGraphicsListsTheImagesInUse) {
  TpsImageCache cache;
  for (const char* s : {"a", "b", "c", "d"}) cache.AddImage(s, Picture(), nullptr);
  cache.AddUse("b");
  cache.AddUse("c");
  cache.AddUse("d");
  cache.AddUse("d");
  TpsDocumentGraphics graphics(&cache);
  EXPECT_EQ(graphics.GetCount(), 3);
  TpsDocumentGraphic g;
  graphics.GetGraphic(0, g);
  EXPECT_EQ(g.Source, "b");
  EXPECT_NE(g.Graphic, nullptr);
  graphics.GetGraphic(5, g);
  EXPECT_EQ(g.Source, "");
  EXPECT_EQ(g.Graphic, nullptr);
  cache.Clear();
  EXPECT_EQ(cache.Count(), 0);
  EXPECT_EQ(graphics.GetCount(), 0);
  EXPECT_EQ(cache.AddImage("again", nullptr, nullptr), 0);
  cache.DeleteElement(0);
  EXPECT_EQ(cache.Count(), 0);
}

}  // namespace
