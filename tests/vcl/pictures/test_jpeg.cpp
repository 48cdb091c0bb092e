// JPEG pictures through libjpeg: encoding and decoding round trips within
// a stated error, scaled and grey decoding, and broken data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

extern "C" {
#include <jpeglib.h>
}

#include "vcl/Jpeg.h"

namespace {

using namespace vcl;

// A smooth picture with some edges: gradients and a dark square.
std::unique_ptr<TBitmap> Sample(Integer w = 64, Integer h = 48) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->SetPixelFormat(pf24bit);
  for (Integer y = 0; y < h; ++y) {
    auto* row = static_cast<Byte*>(b->ScanLine(y));
    for (Integer x = 0; x < w; ++x) {
      bool square = x >= 20 && x < 36 && y >= 16 && y < 32;
      row[x * 3 + 0] = square ? 20 : static_cast<Byte>(x * 255 / (w - 1));          // blue
      row[x * 3 + 1] = square ? 20 : static_cast<Byte>(y * 255 / (h - 1));          // green
      row[x * 3 + 2] = square ? 20 : static_cast<Byte>(255 - (x + y) * 255 / (w + h));  // red
    }
  }
  return b;
}

struct Error {
  double mean = 0;
  int max = 0;
};

Error Compare(TBitmap* a, TBitmap* b) {
  Error e;
  long sum = 0, n = 0;
  for (Integer y = 0; y < a->Height(); ++y)
    for (Integer x = 0; x < a->Width(); ++x) {
      TColor p = a->Canvas()->Pixels(x, y), q = b->Canvas()->Pixels(x, y);
      for (int shift : {0, 8, 16}) {
        int d = std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF));
        sum += d;
        e.max = std::max(e.max, d);
        ++n;
      }
    }
  e.mean = static_cast<double>(sum) / n;
  return e;
}

std::vector<Byte> Encoded(TJPEGImage& j) {
  rtl::TMemoryStream m;
  j.SaveToStream(m);
  const auto* p = static_cast<const Byte*>(m.Memory());
  return std::vector<Byte>(p, p + m.Size());
}

std::unique_ptr<TJPEGImage> Decoded(const std::vector<Byte>& bytes) {
  rtl::TMemoryStream m;
  m.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  m.SetPosition(0);
  auto j = std::make_unique<TJPEGImage>();
  j->LoadFromStream(m);
  return j;
}

// Round trips at several qualities: the mean error per channel and the
// largest one stay under bounds that tighten as the quality rises, and the
// files shrink as it falls. The largest errors sit on the dark square's
// edges, where colour is sampled at half resolution. (Measured: mean 0.77,
// 1.19 and 2.47; largest 29, 26 and 42.)
TEST(Jpeg, RoundTripWithinStatedError) {
  struct Case {
    Integer quality;
    double meanBound;
    int maxBound;
  };
  const Case cases[] = {{100, 1.0, 40}, {90, 1.6, 40}, {50, 3.2, 60}};
  auto source = Sample();
  size_t lastSize = SIZE_MAX;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.quality);
    TJPEGImage j;
    j.Assign(source.get());
    j.SetCompressionQuality(k.quality);
    EXPECT_EQ(j.Width(), 64);
    std::vector<Byte> bytes = Encoded(j);
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    EXPECT_LT(bytes.size(), lastSize);
    lastSize = bytes.size();
    auto back = Decoded(bytes);
    ASSERT_EQ(back->Width(), 64);
    ASSERT_EQ(back->Height(), 48);
    Error e = Compare(source.get(), back->Bitmap());
    EXPECT_LE(e.mean, k.meanBound);
    EXPECT_LE(e.max, k.maxBound);
  }
}

TEST(Jpeg, SavingWhatWasReadWritesTheSameBytes) {
  auto source = Sample();
  TJPEGImage j;
  j.Assign(source.get());
  std::vector<Byte> first = Encoded(j);
  auto back = Decoded(first);
  back->Bitmap();  // decoding does not disturb the bytes
  EXPECT_EQ(Encoded(*back), first);
}

TEST(Jpeg, ScaledAndGreyDecoding) {
  auto source = Sample();
  TJPEGImage j;
  j.Assign(source.get());
  std::vector<Byte> bytes = Encoded(j);
  struct Case {
    TJPEGScale scale;
    Integer w, h;
  };
  for (Case k : {Case{jsFullSize, 64, 48}, Case{jsHalf, 32, 24}, Case{jsQuarter, 16, 12}, Case{jsEighth, 8, 6}}) {
    auto d = Decoded(bytes);
    d->SetScale(k.scale);
    EXPECT_EQ(d->Width(), k.w);
    EXPECT_EQ(d->Height(), k.h);
    EXPECT_EQ(d->Bitmap()->Width(), k.w);
    EXPECT_EQ(d->Bitmap()->Height(), k.h);
  }
  auto g = Decoded(bytes);
  g->SetGrayscale(true);
  for (Integer y = 0; y < 48; y += 7)
    for (Integer x = 0; x < 64; x += 5) {
      TColor c = g->Bitmap()->Canvas()->Pixels(x, y);
      EXPECT_EQ(GetRValue(c), GetGValue(c));
      EXPECT_EQ(GetGValue(c), GetBValue(c));
    }
  // Fast decoding gives the same picture within the same bound.
  auto fast = Decoded(bytes);
  fast->SetPerformance(jpBestSpeed);
  EXPECT_LE(Compare(source.get(), fast->Bitmap()).mean, 4.0);
}

TEST(Jpeg, GreyAndProgressiveEncoding) {
  auto source = Sample();
  TJPEGImage j;
  j.Assign(source.get());
  j.SetGrayscale(true);
  j.SetProgressiveEncoding(true);
  auto back = Decoded(Encoded(j));
  TColor c = back->Bitmap()->Canvas()->Pixels(5, 5);
  EXPECT_EQ(GetRValue(c), GetBValue(c));
  EXPECT_EQ(back->Width(), 64);
}

TEST(Jpeg, BrokenDataRaises) {
  struct Case {
    const char* name;
    std::vector<Byte> bytes;
  };
  auto source = Sample(16, 16);
  TJPEGImage j;
  j.Assign(source.get());
  std::vector<Byte> good = Encoded(j);
  std::vector<Byte> truncatedHeader(good.begin(), good.begin() + 20);
  const Case cases[] = {
      {"empty", {}},
      {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a', 0, 0}},
      {"header cut short", truncatedHeader},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    rtl::TMemoryStream m;
    if (!k.bytes.empty()) m.WriteBuffer(k.bytes.data(), static_cast<Integer>(k.bytes.size()));
    m.SetPosition(0);
    TJPEGImage d;
    try {
      d.LoadFromStream(m);
      ADD_FAILURE() << "no exception";
    } catch (const EJPEG& e) {
      EXPECT_EQ(e.Message().rfind("JPEG error #", 0), 0u) << e.Message();
    }
    EXPECT_TRUE(d.Empty());
  }
  EXPECT_THROW(j.SetWidth(3), EInvalidGraphicOperation);
}

TEST(Jpeg, DrawsOnACanvas) {
  auto source = Sample();
  TJPEGImage j;
  j.Assign(source.get());
  auto back = Decoded(Encoded(j));
  TBitmap target(70, 50);
  target.Canvas()->Draw(3, 2, back.get());
  TColor inside = target.Canvas()->Pixels(3 + 25, 2 + 20);
  EXPECT_LE(GetRValue(inside), 40) << "the dark square";
  EXPECT_EQ(target.Canvas()->Pixels(2, 2), clWhite);
  EXPECT_EQ(target.Canvas()->Pixels(67, 50 - 1), clWhite);
}

// A CMYK file as print programs write it: Adobe marker, ink stored
// inverted. Left half red ink-wise (magenta and yellow), right half black.
std::vector<Byte> CmykFile(int w, int h) {
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = w;
  info.image_height = h;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, JCS_CMYK);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<Byte> row(static_cast<size_t>(w) * 4);
  for (int x = 0; x < w; ++x) {
    Byte ink[4] = {0, 255, 255, 0};  // red
    if (x >= w / 2) ink[0] = ink[1] = ink[2] = 0, ink[3] = 255;  // black
    for (int c = 0; c < 4; ++c) row[x * 4 + c] = static_cast<Byte>(255 - ink[c]);
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<Byte> bytes(out, out + size);
  std::free(out);
  return bytes;
}

TEST(Jpeg, CmykFilesDecodeToTheirColours) {
  auto j = Decoded(CmykFile(32, 16));
  ASSERT_EQ(j->Width(), 32);
  TColor left = j->Bitmap()->Canvas()->Pixels(4, 8);
  TColor right = j->Bitmap()->Canvas()->Pixels(28, 8);
  EXPECT_GE(GetRValue(left), 240);
  EXPECT_LE(GetGValue(left), 15);
  EXPECT_LE(GetBValue(left), 15);
  EXPECT_LE(GetRValue(right) + GetGValue(right) + GetBValue(right), 45);
}

}  // namespace
