// Bitmaps, decoded pictures and TPicture's loading by extension, against
// small files made for these tests.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "rtl/Files.h"
#include "vcl/Jpeg.h"
#include "vcl/Pictures.h"

namespace {

using namespace vcl;

const AnsiString kData = AnsiString(TOLVANE_TEST_DATA) + "/vcl/";

AnsiString TempFile(const AnsiString& name) {
  return rtl::IncludeTrailingPathDelimiter(rtl::TempFolder()) + "vcl_pictures_" + name;
}

TEST(Bitmap, ScanLinesAreBlueGreenRed) {
  struct Case {
    TPixelFormat format;
    int bytesPerPixel;
  };
  for (Case k : {Case{pf24bit, 3}, Case{pf32bit, 4}}) {
    SCOPED_TRACE(k.bytesPerPixel);
    TBitmap b;
    b.SetPixelFormat(k.format);
    b.SetSize(5, 3);
    b.Canvas()->SetPixels(1, 2, RGB(10, 20, 30));
    auto* row = static_cast<Byte*>(b.ScanLine(2));
    Byte* px = row + k.bytesPerPixel;
    EXPECT_EQ(px[0], 30);
    EXPECT_EQ(px[1], 20);
    EXPECT_EQ(px[2], 10);
    // Writing a scan line shows on the canvas.
    px[k.bytesPerPixel + 0] = 0xFF;
    px[k.bytesPerPixel + 1] = 0;
    px[k.bytesPerPixel + 2] = 0;
    EXPECT_EQ(b.Canvas()->Pixels(2, 2), clBlue);
    EXPECT_NE(b.ScanLine(0), b.ScanLine(1));
    EXPECT_THROW(b.ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
  }
}

TEST(Bitmap, ResizingKeepsPixelsAndGrowsWhite) {
  TBitmap b(4, 4);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 4, 4));
  b.SetSize(6, 3);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Canvas()->Pixels(3, 2), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(4, 0), clWhite);
  // Drawing after a resize reaches the new area.
  b.Canvas()->FillRect(Rect(0, 0, 6, 3));
  EXPECT_EQ(b.Canvas()->Pixels(5, 2), clRed);
  b.SetPixelFormat(pf24bit);
  EXPECT_EQ(b.Canvas()->Pixels(5, 2), clRed) << "a new pixel format keeps the picture";
  EXPECT_THROW(b.SetPixelFormat(pf8bit), EInvalidGraphicOperation);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_GT(changes, 0) << "drawing on the canvas changes the bitmap";
}

TEST(Bitmap, TransparentColour) {
  TBitmap b(4, 4);
  b.Canvas()->Brush()->SetColor(clFuchsia);
  b.Canvas()->FillRect(Rect(0, 0, 4, 4));
  b.Canvas()->SetPixels(1, 1, clBlue);
  EXPECT_EQ(b.TransparentMode(), tmAuto);
  EXPECT_EQ(b.TransparentColor(), clFuchsia | 0x02000000) << "the bottom-left pixel, marked";
  b.SetTransparentColor(clBlue);
  EXPECT_EQ(b.TransparentMode(), tmFixed);
  EXPECT_EQ(b.TransparentColor(), clBlue);
  b.SetTransparentMode(tmAuto);
  EXPECT_EQ(b.TransparentColor(), clFuchsia | 0x02000000);

  // Drawn transparent, the fuchsia pixels leave the target as it was.
  TBitmap target(6, 6);
  b.SetTransparent(true);
  target.Canvas()->Draw(1, 1, &b);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), clWhite);
  EXPECT_EQ(target.Canvas()->Pixels(2, 2), clBlue);
  b.SetTransparent(false);
  target.Canvas()->Draw(1, 1, &b);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), clFuchsia);
}

TEST(Bitmap, SaveAndLoadRoundTrip) {
  for (TPixelFormat f : {pf24bit, pf32bit}) {
    TBitmap b(7, 5);
    b.SetPixelFormat(f);
    for (Integer y = 0; y < 5; ++y)
      for (Integer x = 0; x < 7; ++x) b.Canvas()->SetPixels(x, y, RGB(static_cast<Byte>(x * 30), static_cast<Byte>(y * 50), 99));
    AnsiString file = TempFile("roundtrip.bmp");
    b.SaveToFile(file);
    TBitmap c;
    c.LoadFromFile(file);
    EXPECT_EQ(c.Width(), 7);
    EXPECT_EQ(c.Height(), 5);
    for (Integer y = 0; y < 5; ++y)
      for (Integer x = 0; x < 7; ++x) EXPECT_EQ(c.Canvas()->Pixels(x, y), b.Canvas()->Pixels(x, y));
    std::remove(file.c_str());
  }
}

TEST(Bitmap, NotABitmap) {
  rtl::TStringStream s("GIF89a and more");
  TBitmap b;
  try {
    b.LoadFromStream(s);
    FAIL() << "no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Bitmap image is not valid");
  }
  EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, AssignCopies) {
  TBitmap a(3, 3);
  a.Canvas()->SetPixels(2, 2, clGreen);
  TBitmap b;
  b.Assign(&a);
  a.Canvas()->SetPixels(2, 2, clRed);
  EXPECT_EQ(b.Canvas()->Pixels(2, 2), clGreen);
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
}

// The fixtures' pattern: top green, then red on the left and blue on the
// right.
struct PictureCase {
  const char* file;
  const char* className;
  Integer width, height;
  bool exact;
};

TColor Sample(TGraphic* g, Integer x, Integer y) {
  TBitmap b;
  b.Assign(g);
  return b.Canvas()->Pixels(x, y);
}

// Distance of two colours, largest channel difference.
int Distance(TColor a, TColor b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

TEST(Picture, LoadsByExtension) {
  const PictureCase cases[] = {
      {"picture.bmp", "TBitmap", 8, 6, true},    {"picture.png", "TPngImage", 8, 6, true},
      {"picture.gif", "TGIFImage", 8, 6, true},  {"picture.ico", "TIcon", 8, 6, true},
      {"picture.jpg", "TJPEGImage", 16, 12, false},
  };
  for (const PictureCase& k : cases) {
    SCOPED_TRACE(k.file);
    TPicture p;
    int changes = 0;
    p.OnChange = [&](TObject*) { ++changes; };
    p.LoadFromFile(kData + k.file);
    ASSERT_NE(p.Graphic(), nullptr);
    EXPECT_EQ(p.Graphic()->ClassName(), k.className);
    EXPECT_EQ(p.Width(), k.width);
    EXPECT_EQ(p.Height(), k.height);
    EXPECT_EQ(changes, 1);
    int tolerance = k.exact ? 0 : 8;
    Integer w = k.width, h = k.height;
    EXPECT_LE(Distance(Sample(p.Graphic(), 0, 0), clLime), tolerance);
    EXPECT_LE(Distance(Sample(p.Graphic(), 1, h / 2 + 1), clRed), tolerance);
    EXPECT_LE(Distance(Sample(p.Graphic(), w - 2, h / 2 + 1), clBlue), tolerance);
  }
}

TEST(Picture, IconKeepsItsTransparency) {
  TPicture p;
  p.LoadFromFile(kData + "picture.ico");
  TBitmap target(10, 10);
  target.Canvas()->Brush()->SetColor(clYellow);
  target.Canvas()->FillRect(Rect(0, 0, 10, 10));
  target.Canvas()->Draw(1, 1, p.Graphic());
  EXPECT_EQ(target.Canvas()->Pixels(1 + 7, 1 + 5), clYellow);
  EXPECT_EQ(target.Canvas()->Pixels(1 + 6, 1 + 5), clBlue);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), clLime);
}

TEST(Picture, Failures) {
  TPicture p;
  p.LoadFromFile(kData + "picture.png");
  struct Case {
    const char* name;
    AnsiString file;
    AnsiString message;
  };
  AnsiString wrong = TempFile("notreally.png");
  {
    rtl::TStringStream s("this is no picture");
    rtl::TFileStream f(wrong, rtl::fmCreate);
    f.CopyFrom(s, 0);
  }
  const Case cases[] = {
      {"unknown extension", kData + "make_fixtures.py", "Unknown picture file extension (.py)"},
      {"contents that are not what the extension says", wrong, "PNG image is not valid"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    try {
      p.LoadFromFile(k.file);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message(), k.message);
    }
    EXPECT_EQ(p.Graphic()->ClassName(), "TPngImage") << "a failed load leaves the picture as it was";
  }
  EXPECT_THROW(p.LoadFromFile(kData + "no-such-file.bmp"), rtl::EFOpenError);
  std::remove(wrong.c_str());
}

TEST(Picture, AssignSaveAndBitmap) {
  TPicture a;
  a.LoadFromFile(kData + "picture.gif");
  TPicture b;
  b.Assign(&a);
  ASSERT_NE(b.Graphic(), a.Graphic());
  EXPECT_EQ(b.Graphic()->ClassName(), "TGIFImage");
  // Saving writes the bytes as read.
  AnsiString file = TempFile("copy.gif");
  b.SaveToFile(file);
  rtl::TMemoryStream original, copy;
  original.LoadFromFile(kData + "picture.gif");
  copy.LoadFromFile(file);
  ASSERT_EQ(copy.Size(), original.Size());
  EXPECT_EQ(std::memcmp(copy.Memory(), original.Memory(), static_cast<size_t>(copy.Size())), 0);
  std::remove(file.c_str());
  // A picture asked for its bitmap gives up another graphic for an empty bitmap.
  TBitmap* bmp = b.Bitmap();
  EXPECT_EQ(b.Graphic(), bmp);
  EXPECT_TRUE(bmp->Empty());
  b.Assign(nullptr);
  EXPECT_EQ(b.Graphic(), nullptr);
  EXPECT_EQ(b.Width(), 0);
  // Decoded pictures keep their size.
  EXPECT_THROW(a.Graphic()->SetWidth(3), EInvalidGraphicOperation);
}

TEST(Picture, PngFromBitmap) {
  TBitmap b(3, 2);
  b.Canvas()->SetPixels(0, 0, clRed);
  TPngImage png;
  png.Assign(&b);
  EXPECT_EQ(png.Width(), 3);
  rtl::TMemoryStream m;
  png.SaveToStream(m);
  m.SetPosition(0);
  TPngImage back;
  back.LoadFromStream(m);
  EXPECT_EQ(Sample(&back, 0, 0), clRed);
  EXPECT_EQ(Sample(&back, 2, 1), clWhite);
}

}  // namespace
