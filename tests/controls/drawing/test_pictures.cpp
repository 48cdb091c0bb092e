// GDI+ pictures: their events and stored bytes, drawing bitmap files and
// pictures with alpha, real picture files checked against Python's
// imaging library, and the office-hint record.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <memory>

#include "../../core/TestSupport.h"
#include "controls/GDIPicture.h"
#include "controls/LumGDIP.h"
#include "controls/LumHintInfo.h"
#include "rtl/Process.h"
#include "rtl/Streams.h"
#include "vcl/Pictures.h"

using namespace controls;
using vcl::TBitmap;
using vcl::TColor;

namespace {

const std::string kData = std::string(TOLVANE_TEST_DATA) + "/controls/";

std::vector<vcl::Byte> Bytes(rtl::TMemoryStream& s) {
  auto* p = static_cast<const vcl::Byte*>(s.Memory());
  return std::vector<vcl::Byte>(p, p + s.Size());
}

std::vector<vcl::Byte> FileBytes(const std::string& path) {
  rtl::TMemoryStream m;
  m.LoadFromFile(path);
  return Bytes(m);
}

// A picture loaded from a file of ours, with its events counted in order.
struct Watched {
  TGDIPPicture picture;
  std::string events;
  Watched() {
    picture.OnChange = [this](vcl::TObject*) { events += "change;"; };
    picture.OnClear = [this](vcl::TObject*) { events += "clear;"; };
  }
};

std::unique_ptr<TBitmap> PictureSheet(int w, int h, TColor fill) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return b;
}

}  // namespace

TEST(GdipPicture, ANewPictureIsEmptyAndHasNoSize) {
  TGDIPPicture p;
  EXPECT_TRUE(p.Empty());
  EXPECT_EQ(p.Width(), 0);
  EXPECT_EQ(p.Height(), 0);
  EXPECT_FALSE(p.RefreshImageSize());
  EXPECT_FALSE(p.DataStored());
  p.SetWidth(50);
  p.SetHeight(60);
  EXPECT_EQ(p.Width(), 0) << "the size is the picture's own";
  EXPECT_EQ(p.Height(), 0);
}

TEST(GdipPicture, LoadingAFileFiresClearThenChangeAndKeepsTheBytes) {
  Watched w;
  w.picture.LoadFromFile(kData + "alpha.png");
  EXPECT_EQ(w.events, "clear;change;");
  EXPECT_FALSE(w.picture.Empty());
  EXPECT_EQ(w.picture.Width(), 4);
  EXPECT_EQ(w.picture.Height(), 2);
  rtl::TMemoryStream out;
  w.picture.SaveToStream(out);
  EXPECT_EQ(Bytes(out), FileBytes(kData + "alpha.png"));

  // Nil empties it, fires change then clear, and keeps the old size.
  w.events.clear();
  w.picture.Assign(nullptr);
  EXPECT_EQ(w.events, "change;clear;");
  EXPECT_TRUE(w.picture.Empty());
  EXPECT_EQ(w.picture.Width(), 4);
  EXPECT_EQ(w.picture.Height(), 2);
  EXPECT_EQ(w.picture.Data().Size(), 0);

  // A file that is not there is swallowed and leaves the picture empty.
  w.events.clear();
  w.picture.LoadFromFile(kData + "no-such-file.png");
  EXPECT_TRUE(w.picture.Empty());
  EXPECT_EQ(w.events, "");
}

TEST(GdipPicture, AssigningFollowsTheSourcesKind) {
  TGDIPPicture png;
  png.LoadFromFile(kData + "alpha.png");

  Watched w;
  w.picture.Assign(&png);
  EXPECT_EQ(w.events, "change;");
  EXPECT_FALSE(w.picture.Empty());
  EXPECT_EQ(Bytes(w.picture.Data()), Bytes(png.Data()));
  EXPECT_EQ(w.picture.Width(), 4) << "the size is refreshed";

  TGDIPPicture nothing;
  w.events.clear();
  w.picture.Assign(&nothing);
  EXPECT_TRUE(w.picture.Empty()) << "a picture with no bytes";
  EXPECT_EQ(w.events, "change;") << "yet the change is told";

  // A bitmap becomes a bitmap file.
  TBitmap bmp(7, 5);
  w.events.clear();
  w.picture.Assign(&bmp);
  EXPECT_EQ(w.events, "change;");
  EXPECT_FALSE(w.picture.Empty());
  EXPECT_EQ(w.picture.Width(), 7);
  EXPECT_EQ(w.picture.Height(), 5);
  TGPImage decoded(&w.picture.Data());
  EXPECT_EQ(decoded.GetRawFormat(), kRawFormatBMP);

  // A picture's graphic keeps its own file form.
  vcl::TPicture holder;
  holder.LoadFromFile(std::string(TOLVANE_TEST_DATA) + "/vcl/picture.gif");
  w.picture.Assign(&holder);
  EXPECT_EQ(Bytes(w.picture.Data()), FileBytes(std::string(TOLVANE_TEST_DATA) + "/vcl/picture.gif"));
  EXPECT_EQ(w.picture.Width(), 8);
  vcl::TPicture emptyHolder;
  w.events.clear();
  w.picture.Assign(&emptyHolder);
  EXPECT_TRUE(w.picture.Empty()) << "a picture without a graphic counts as nil";
  EXPECT_EQ(w.events, "change;clear;");

  // Anything else: nothing copied, no event, and the picture reads empty
  // while its old bytes stay.
  w.picture.Assign(&png);
  w.events.clear();
  vcl::TFont font;
  w.picture.Assign(&font);
  EXPECT_EQ(w.events, "");
  EXPECT_TRUE(w.picture.Empty());
  rtl::TMemoryStream out;
  w.picture.SaveToStream(out);
  EXPECT_EQ(Bytes(out), Bytes(png.Data()));
}

TEST(GdipPicture, TheStoredPropertyIsTheBytesAlone) {
  TGDIPPicture source;
  source.LoadFromFile(kData + "glyph.bmp");
  ASSERT_TRUE(source.DataStored());
  rtl::TMemoryStream property;
  source.WriteData(&property);
  EXPECT_EQ(Bytes(property), FileBytes(kData + "glyph.bmp"));

  Watched w;
  property.SetPosition(property.Size());  // read whole whatever the position
  w.picture.ReadData(&property);
  EXPECT_EQ(w.events, "") << "no event";
  EXPECT_FALSE(w.picture.Empty());
  EXPECT_EQ(w.picture.Width(), 0) << "no size refresh";
  EXPECT_EQ(Bytes(w.picture.Data()), FileBytes(kData + "glyph.bmp"));
  w.picture.ReadData(nullptr);
  w.picture.WriteData(nullptr);
  EXPECT_FALSE(w.picture.Empty());

  // LoadFromStream takes the whole stream, refreshes, fires change only.
  Watched s;
  property.SetPosition(10);
  s.picture.LoadFromStream(property);
  EXPECT_EQ(s.events, "change;");
  EXPECT_EQ(s.picture.Width(), 6);
  EXPECT_EQ(s.picture.Height(), 4);
}

TEST(GdipPicture, ABitmapFileDrawsAtItsOwnSizeWithoutItsBottomLeftColour) {
  TGDIPPicture glyph;
  glyph.LoadFromFile(kData + "glyph.bmp");
  auto sheet = PictureSheet(30, 20, vcl::clWhite);
  sheet->Canvas()->StretchDraw(vcl::Rect(3, 2, 28, 19), &glyph);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      TColor c = sheet->Canvas()->Pixels(x, y);
      int gx = x - 3, gy = y - 2;
      bool inside = gx >= 0 && gx < 6 && gy >= 0 && gy < 4;
      bool key = inside && ((gx == 0 && gy == 3) || (gx == 5 && gy == 0) || (gx == 2 && gy == 1));
      TColor expected = inside && !key ? vcl::RGB(40 * gx, 60 * gy, 200) : vcl::clWhite;
      ASSERT_EQ(c, expected) << x << "," << y;
    }
  EXPECT_EQ(glyph.Width(), 6);
}

TEST(GdipPicture, APngStretchesToTheRectangleWithItsAlpha) {
  TGDIPPicture png;
  png.LoadFromFile(kData + "alpha.png");
  // At its own size: every pixel exact, the alpha blended on white.
  auto exact = PictureSheet(6, 4, vcl::clWhite);
  exact->Canvas()->StretchDraw(vcl::Rect(1, 1, 5, 3), &png);
  EXPECT_EQ(exact->Canvas()->Pixels(1, 1), vcl::clRed);
  TColor half = exact->Canvas()->Pixels(2, 1);
  EXPECT_NEAR(vcl::GetRValue(half), 255, 1);
  EXPECT_NEAR(vcl::GetGValue(half), 127, 2) << "half-transparent red on white";
  EXPECT_EQ(exact->Canvas()->Pixels(3, 1), vcl::clWhite) << "fully transparent";
  EXPECT_EQ(exact->Canvas()->Pixels(4, 1), vcl::clBlue);
  EXPECT_EQ(exact->Canvas()->Pixels(1, 2), vcl::clLime);
  EXPECT_EQ(exact->Canvas()->Pixels(0, 0), vcl::clWhite);
  EXPECT_EQ(exact->Canvas()->Pixels(5, 3), vcl::clWhite);

  // Stretched over 40 x 20 (smoothly, as the desktop's default): the
  // whole rectangle is covered, each cell's middle near its colour.
  auto sheet = PictureSheet(44, 24, vcl::clWhite);
  sheet->Canvas()->StretchDraw(vcl::Rect(2, 2, 42, 22), &png);
  auto near = [&](int x, int y, TColor want) {
    TColor c = sheet->Canvas()->Pixels(x, y);
    for (int ch = 0; ch < 3; ++ch)
      EXPECT_NEAR(static_cast<int>((c >> (8 * ch)) & 0xFF), static_cast<int>((want >> (8 * ch)) & 0xFF), 40)
          << x << "," << y;
  };
  near(7, 6, vcl::clRed);
  near(17, 6, vcl::RGB(255, 128, 128));
  near(27, 6, vcl::clWhite);
  near(37, 6, vcl::clBlue);
  near(22, 17, vcl::clLime);
  EXPECT_NE(sheet->Canvas()->Pixels(41, 21), vcl::clWhite) << "stretched to the far corner";
  EXPECT_EQ(sheet->Canvas()->Pixels(42, 22), vcl::clWhite) << "and no further";
  EXPECT_EQ(sheet->Canvas()->Pixels(1, 1), vcl::clWhite);
  EXPECT_EQ(png.Width(), 4);
}

TEST(GdipPicture, DrawingNeverRaises) {
  auto sheet = PictureSheet(10, 10, vcl::clWhite);
  static const char kBitmapHeader[] = "BM\x10\0\0\0garbage";
  static const char kBrokenPng[] = "\x89PNG\r\n\x1a\nbroken";
  for (std::string bytes : {std::string("not a picture at all"), std::string(kBitmapHeader, sizeof kBitmapHeader - 1),
                            std::string(kBrokenPng, sizeof kBrokenPng - 1)}) {
    TGDIPPicture p;
    rtl::TStringStream s(bytes);
    EXPECT_NO_THROW(p.LoadFromStream(s));
    EXPECT_EQ(p.Width(), 0);
    EXPECT_EQ(p.Height(), 0);
    EXPECT_NO_THROW(sheet->Canvas()->StretchDraw(vcl::Rect(0, 0, 10, 10), &p));
    EXPECT_NO_THROW(sheet->Canvas()->Draw(0, 0, &p));
  }
  EXPECT_EQ(sheet->Canvas()->Pixels(5, 5), vcl::clWhite);
}

TEST(GdipPicture, RealFilesReadAsPythonsImagingLibraryReadsThem) {
  core_test::ScratchFolder scratch("controls-pictures");
  rtl::TProcessOptions options;
  options.Program = "/usr/bin/python3";
  options.Arguments = {std::string(TOLVANE_SOURCE_DIR) + "/tests/controls/drawing/picture_reference.py",
                       scratch.Path().string()};
  options.CaptureOutput = true;
  rtl::AnsiString out, err;
  ASSERT_EQ(rtl::RunProgram(options, &out, &err), 0u) << err;
  const std::map<std::string, int32_t> kFormats = {
      {"PNG", kRawFormatPNG}, {"GIF", kRawFormatGIF}, {"ICO", kRawFormatIcon},
      {"JPEG", kRawFormatJPEG}, {"BMP", kRawFormatBMP}};
  std::map<std::string, int> seen;
  size_t from = 0;
  while (from < out.size()) {
    size_t end = out.find('\n', from);
    std::string line = out.substr(from, end - from);
    from = end == std::string::npos ? out.size() : end + 1;
    size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1), t3 = line.find('\t', t2 + 1);
    ASSERT_NE(t3, std::string::npos) << line;
    std::string path = line.substr(0, t1), format = line.substr(t1 + 1, t2 - t1 - 1);
    int width = std::stoi(line.substr(t2 + 1, t3 - t2 - 1)), height = std::stoi(line.substr(t3 + 1));
    ++seen[format];

    TGDIPPicture picture;
    picture.LoadFromFile(path);
    ASSERT_FALSE(picture.Empty()) << path;
    EXPECT_TRUE(picture.RefreshImageSize());
    EXPECT_EQ(picture.Width(), width) << path;
    EXPECT_EQ(picture.Height(), height) << path;
    TGPImage image(&picture.Data());
    EXPECT_EQ(image.GetRawFormat(), kFormats.at(format)) << path;
    rtl::TMemoryStream saved;
    picture.SaveToStream(saved);
    EXPECT_TRUE(Bytes(saved) == FileBytes(path)) << path;
  }
  EXPECT_GE(seen["PNG"], 30);
  EXPECT_GE(seen["GIF"], 10);
  EXPECT_EQ(seen["ICO"], 1);
  EXPECT_GE(seen["JPEG"], 2);
  EXPECT_EQ(seen["BMP"], 18);
}

TEST(OfficeHint, AssignCopiesEveryFieldFromAnotherHintOnly) {
  TLumHintInfo source;
  source.SetTitle("Open");
  source.Notes()->Add("Opens a page.");
  source.Notes()->Add("Ctrl+O");
  source.SetShowHelp(true);
  source.Picture()->LoadFromFile(kData + "alpha.png");
  source.SetUnicodeTitle(u"\u00D6ffnen");
  source.SetUnicodeNotes(u"Seite \u00F6ffnen");

  TLumHintInfo target;
  EXPECT_TRUE(target.Picture()->Empty());
  EXPECT_FALSE(target.ShowHelp());
  EXPECT_EQ(target.Notes()->Count(), 0);
  target.Assign(&source);
  EXPECT_EQ(target.Title(), "Open");
  EXPECT_EQ(target.Notes()->Text(), source.Notes()->Text());
  EXPECT_TRUE(target.ShowHelp());
  EXPECT_EQ(Bytes(target.Picture()->Data()), Bytes(source.Picture()->Data()));
  EXPECT_EQ(target.Picture()->Width(), 4);
  EXPECT_EQ(target.UnicodeTitle(), u"\u00D6ffnen");
  EXPECT_EQ(target.UnicodeNotes(), u"Seite \u00F6ffnen");
  EXPECT_NE(target.Notes(), source.Notes()) << "its own list";

  // Anything but a hint record, nil included, changes nothing.
  vcl::TFont other;
  EXPECT_NO_THROW(target.Assign(&other));
  EXPECT_NO_THROW(target.Assign(nullptr));
  EXPECT_EQ(target.Title(), "Open");
  EXPECT_EQ(target.Notes()->Count(), 2);
  EXPECT_FALSE(target.Picture()->Empty());

  rtl::TStringList lines;
  lines.Add("one");
  target.SetNotes(&lines);
  EXPECT_EQ(target.Notes()->Count(), 1);
  TGDIPPicture none;
  target.SetPicture(&none);
  EXPECT_TRUE(target.Picture()->Empty());
}

namespace {

// A PNG of nothing but its signature and a header chunk (with a right
// checksum) giving the size.
std::string PngHeaderOnly(uint32_t w, uint32_t h) {
  auto be32 = [](std::string& s, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
  };
  std::string chunk = "IHDR";
  be32(chunk, w);
  be32(chunk, h);
  chunk += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : chunk) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  std::string png("\x89PNG\r\n\x1a\n", 8);
  be32(png, 13);
  png += chunk;
  be32(png, crc ^ 0xFFFFFFFFu);
  return png;
}

}  // namespace

// Metafiles are known by their signature but not decoded, and a picture too
// large to decode, like a broken one, reads 0 x 0; none of them raises or
// draws.
TEST(GdipPicture, MetafilesAndOversizedPicturesReadAsNothing) {
  std::string emf(88, '\0');
  emf[0] = 1;  // the header record's type
  emf.replace(40, 4, " EMF");
  std::string placeable("\xD7\xCD\xC6\x9A", 4);
  placeable += std::string(40, '\0');
  std::string wmf("\x01\x00\x09\x00", 4);
  wmf += std::string(40, '\0');
  struct Case {
    const char* what;
    std::string bytes;
    int32_t format;
  } cases[] = {
      {"enhanced metafile", emf, kRawFormatEMF},
      {"placeable metafile", placeable, kRawFormatWMF},
      {"plain metafile", wmf, kRawFormatWMF},
      // not decoded, so no picture to answer a format either
      {"PNG of 40000 x 40000", PngHeaderOnly(40000, 40000), kRawFormatUnknown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    rtl::TStringStream raw(c.bytes);
    TGPImage image(&raw);
    EXPECT_EQ(image.GetRawFormat(), c.format);
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetHeight(), 0u);

    TGDIPPicture picture;
    rtl::TStringStream s(c.bytes);
    EXPECT_NO_THROW(picture.LoadFromStream(s));
    EXPECT_FALSE(picture.Empty());
    EXPECT_TRUE(picture.RefreshImageSize());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    auto sheet = PictureSheet(12, 12, vcl::clWhite);
    EXPECT_NO_THROW(sheet->Canvas()->StretchDraw(vcl::Rect(0, 0, 12, 12), &picture));
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) ASSERT_EQ(sheet->Canvas()->Pixels(x, y), vcl::clWhite) << x << "," << y;
    rtl::TMemoryStream saved;
    picture.SaveToStream(saved);
    EXPECT_EQ(Bytes(saved), std::vector<vcl::Byte>(c.bytes.begin(), c.bytes.end())) << "the bytes stay as they came";
  }
}

// Drawing runs in every step of a fade: the decoded picture is made once
// and kept until the bytes change.
TEST(GdipPicture, TheDecodedPictureIsKeptUntilTheBytesChange) {
  TGDIPPicture picture;
  picture.LoadFromFile(kData + "alpha.png");
  ASSERT_FALSE(picture.Empty());
  const QImage* first = picture.Image();
  ASSERT_NE(first, nullptr);
  const qint64 key = first->cacheKey();
  auto sheet = PictureSheet(20, 20, vcl::clWhite);
  for (int i = 0; i < 3; ++i) sheet->Canvas()->StretchDraw(vcl::Rect(0, 0, 20, 20), &picture);
  ASSERT_EQ(picture.Image(), first);
  EXPECT_EQ(picture.Image()->cacheKey(), key) << "not decoded again by drawing";
  picture.LoadFromFile(std::string(TOLVANE_TEST_DATA) + "/vcl/picture.gif");
  ASSERT_NE(picture.Image(), nullptr);
  EXPECT_EQ(picture.Image()->size(), QSize(picture.Width(), picture.Height())) << "the new bytes' picture";
  EXPECT_NE(picture.Image()->cacheKey(), key);
}
