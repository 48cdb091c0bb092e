// Named bitmap resources: built into the test program from files of ours,
// registered explicitly, found by name without regard to case.
#include <gtest/gtest.h>

#include "vcl/Pictures.h"
#include "vcl/Resources.h"

namespace vcltest {
void RegisterTestBitmaps();
}

using namespace vcl;

TEST(NamedResources, BitmapsLoadByNameOnceRegistered) {
  TBitmap early;
  try {
    early.LoadFromResourceName(HInstance, "PICTURE");
    FAIL() << "nothing is registered before the library's start-up";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource PICTURE not found");
  }
  vcltest::RegisterTestBitmaps();
  TBitmap picture;
  picture.LoadFromResourceName(HInstance, "picture");
  EXPECT_EQ(picture.Width(), 8);
  EXPECT_EQ(picture.Height(), 6);
  EXPECT_EQ(picture.Canvas()->Pixels(0, 0), clLime);
  EXPECT_EQ(picture.Canvas()->Pixels(7, 5), clBlue);
  TBitmap glyph;
  glyph.LoadFromResourceName(HInstance, "Glyph");
  EXPECT_EQ(glyph.Width(), 6);
  EXPECT_EQ(glyph.Canvas()->Pixels(0, 3), RGB(255, 0, 255));
  const Byte* data = nullptr;
  size_t size = 0;
  ASSERT_TRUE(FindResourceData("GLYPH", &data, &size));
  EXPECT_EQ(size, 134u);
  EXPECT_EQ(data[0], 'B');
  EXPECT_THROW(glyph.LoadFromResourceName(HInstance, "RUZ_NOTHING"), EResNotFound);
  EXPECT_EQ(glyph.Width(), 6) << "a missing resource leaves the bitmap as it was";
}
