// The renderer's pictures on files no one here wrote: the GIF and PNG
// images of the Apache HTTP Server manual (Debian's apache2-doc), JPEG and
// bitmap copies of them and a three-frame animation saved by Python's PIL;
// their sizes and pixels as PIL reads them. Then the locations a cell may
// name that must not be read (a FIFO, a folder, an oversized file), the
// decoding errors, the cache and the container.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

#include "dropdown/HtmlText.h"
#include "dropdown/PictureContainer.h"
#include "rtl/Process.h"
#include "rtl/Streams.h"
#include "vcl/Pictures.h"
#include "vcl/Resources.h"
#include "vcl/TestCanvases.h"

namespace dropdown {
namespace {

namespace fs = std::filesystem;

const char* const kManualImages = "/usr/share/doc/apache2-doc/manual/images";

struct PictureFile {
  std::string path;
  Integer width = 0, height = 0;            // as PIL reports it (a GIF's logical screen)
  Integer frameWidth = 0, frameHeight = 0;  // the first image's own size
};

struct FrameFile {
  Integer index = 0, left = 0, top = 0, width = 0, height = 0;
  std::vector<vcl::TColor> pixels;  // rows top to bottom
};

vcl::TColor FromRgbHex(const std::string& hex) {
  unsigned long v = std::stoul(hex, nullptr, 16);
  return static_cast<vcl::TColor>(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
}

// The pictures PIL made for this run, in a folder of this process's own
// (the sanitizer build runs shards side by side).
class Fixtures {
 public:
  Fixtures() {
    char tmpl[] = "/tmp/tolvane-pictures-XXXXXX";
    folder_ = mkdtemp(tmpl);
    rtl::TProcessOptions options;
    options.Program = "/usr/bin/python3";
    options.Arguments = {std::string(TOLVANE_SOURCE_DIR) + "/tests/dropdown/pictures/make_pictures.py",
                         kManualImages, folder_};
    options.CaptureOutput = true;
    rtl::AnsiString out, err;
    status_ = rtl::RunProgram(options, &out, &err);
    error_ = err;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
      std::istringstream words(line);
      std::string kind;
      words >> kind;
      if (kind == "PICTURE") {
        PictureFile p;
        words >> p.path >> p.width >> p.height >> p.frameWidth >> p.frameHeight;
        pictures_.push_back(p);
      } else if (kind == "FRAME") {
        FrameFile f;
        words >> f.index >> f.left >> f.top >> f.width >> f.height;
        for (std::string px; words >> px;) f.pixels.push_back(FromRgbHex(px));
        frames_.push_back(f);
      }
    }
  }
  ~Fixtures() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  static Fixtures& Get() {
    static Fixtures fixtures;
    return fixtures;
  }
  rtl::Cardinal Status() const { return status_; }
  const std::string& Error() const { return error_; }
  const std::string& Folder() const { return folder_; }
  const std::vector<PictureFile>& Pictures() const { return pictures_; }
  const std::vector<FrameFile>& Frames() const { return frames_; }

 private:
  std::string folder_;
  rtl::Cardinal status_ = 0;
  std::string error_;
  std::vector<PictureFile> pictures_;
  std::vector<FrameFile> frames_;
};

std::string Extension(const std::string& path) { return fs::path(path).extension().string(); }

std::vector<Byte> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<Byte>(std::istreambuf_iterator<char>(in), {});
}

TEST(HtmlPictureFiles, RealGifPngJpegAndBitmapFilesLoadWithTheirSizes) {
  Fixtures& fx = Fixtures::Get();
  ASSERT_EQ(fx.Status(), 0u) << fx.Error();
  int gif = 0, png = 0, jpg = 0, bmp = 0;
  for (const PictureFile& f : fx.Pictures()) {
    if (fs::path(f.path).filename() == "animation.gif") continue;
    SCOPED_TRACE(f.path);
    std::string ext = Extension(f.path);
    gif += ext == ".gif";
    png += ext == ".png";
    jpg += ext == ".jpg";
    bmp += ext == ".bmp";
    THTMLPicture picture;
    picture.LoadFromFile(f.path);
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Data(), ReadBytes(f.path));
    if (ext == ".gif") {
      // A GIF whose images carry control extensions shows its first frame
      // at that frame's own size within the logical screen.
      bool framed = picture.AnimationFrames() > 0;
      EXPECT_EQ(picture.Width(), framed ? f.frameWidth : f.width);
      EXPECT_EQ(picture.Height(), framed ? f.frameHeight : f.height);
      EXPECT_EQ(picture.AnimationWidth(), f.width);
      EXPECT_EQ(picture.AnimationHeight(), f.height);
    } else {
      EXPECT_EQ(picture.AnimationFrames(), -1);
      EXPECT_EQ(picture.Width(), f.width);
      EXPECT_EQ(picture.Height(), f.height);
      EXPECT_EQ(picture.AnimationWidth(), f.width);
      EXPECT_EQ(picture.AnimationHeight(), f.height);
      EXPECT_EQ(picture.FrameLeft(), 0);
      EXPECT_EQ(picture.FrameWidth(), 0);
    }
    // The natural size in hundredths of millimetres at 96 pixels per inch.
    EXPECT_EQ(picture.HimetricWidth(), (picture.Width() * 2540 + 48) / 96);
  }
  EXPECT_EQ(gif, 16);
  EXPECT_EQ(png, 33);
  EXPECT_EQ(jpg, 49);
  EXPECT_EQ(bmp, 49);
}

// Draws the picture at the canvas's top-left corner on a field of
// kBackground and reads the pixels back.
constexpr vcl::TColor kBackground = 0x00FF00;

std::vector<vcl::TColor> Drawn(THTMLPicture& picture, Integer w, Integer h, vcl::TRect target = {}) {
  vcl::TBitmap bitmap(w, h);
  bitmap.Canvas()->Brush()->SetColor(kBackground);
  bitmap.Canvas()->FillRect(vcl::TRect{0, 0, w, h});
  picture.Draw(bitmap.Canvas(), target.IsEmpty() ? vcl::TRect{0, 0, w, h} : target);
  std::vector<vcl::TColor> out;
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) out.push_back(bitmap.Canvas()->Pixels(x, y));
  return out;
}

TEST(HtmlPictureFiles, AnAnimatedGifShowsTheChosenFrameWithItsOffsetAndPixels) {
  Fixtures& fx = Fixtures::Get();
  ASSERT_EQ(fx.Status(), 0u) << fx.Error();
  ASSERT_EQ(fx.Frames().size(), 3u);
  std::string path = fx.Folder() + "/animation.gif";
  THTMLPicture picture;
  int frameChanges = 0;
  picture.OnFrameChange = [&](vcl::TObject*) { ++frameChanges; };
  picture.LoadFromFile(path);
  ASSERT_FALSE(picture.Empty());
  EXPECT_EQ(picture.AnimationFrames(), 3);
  EXPECT_EQ(picture.AnimationWidth(), 40);
  EXPECT_EQ(picture.AnimationHeight(), 30);
  std::vector<Byte> original = picture.Data();
  for (const FrameFile& f : fx.Frames()) {
    SCOPED_TRACE(f.index);
    picture.SetFrame(f.index);
    EXPECT_EQ(picture.Frame(), f.index);
    EXPECT_EQ(picture.FrameLeft(), f.left);
    EXPECT_EQ(picture.FrameTop(), f.top);
    EXPECT_EQ(picture.FrameWidth(), f.width);
    EXPECT_EQ(picture.FrameHeight(), f.height);
    ASSERT_EQ(picture.Width(), f.width);
    ASSERT_EQ(picture.Height(), f.height);
    // The frame's own pixels, at its natural size from the corner.
    EXPECT_EQ(Drawn(picture, f.width, f.height), f.pixels);
    // Choosing a frame never changes the bytes kept.
    EXPECT_EQ(picture.Data(), original);
    EXPECT_EQ(picture.AnimationFrames(), 3);
  }
  EXPECT_EQ(frameChanges, 3);
  // A number past the frames shows the last, one below 1 the first.
  picture.SetFrame(7);
  EXPECT_EQ(picture.FrameLeft(), 20);
  picture.SetFrame(0);
  EXPECT_EQ(picture.FrameWidth(), 40);
}

TEST(HtmlPictureFiles, DrawingIsNaturalSizeAtTheCornerOrStretchedIntoTheRectangle) {
  Fixtures& fx = Fixtures::Get();
  ASSERT_EQ(fx.Status(), 0u) << fx.Error();
  THTMLPicture picture;
  picture.LoadFromFile(fx.Folder() + "/animation.gif");
  picture.SetFrame(2);  // the red block, 10 by 8
  std::vector<vcl::TColor> px = Drawn(picture, 30, 20, vcl::TRect{4, 3, 30, 20});
  auto at = [&](Integer x, Integer y) { return px[static_cast<size_t>(y * 30 + x)]; };
  EXPECT_EQ(at(4, 3), vcl::TColor(0x0000FF));
  EXPECT_EQ(at(13, 10), vcl::TColor(0x0000FF));
  EXPECT_EQ(at(14, 10), kBackground);
  EXPECT_EQ(at(13, 11), kBackground);
  EXPECT_EQ(at(3, 3), kBackground);
  // At 192 pixels per inch the natural size doubles.
  {
    vcl::TBitmap bitmap(30, 20);
    bitmap.Canvas()->Brush()->SetColor(kBackground);
    bitmap.Canvas()->FillRect(vcl::TRect{0, 0, 30, 20});
    bitmap.Canvas()->Font()->SetPixelsPerInch(192);
    picture.Draw(bitmap.Canvas(), vcl::TRect{0, 0, 30, 20});
    EXPECT_EQ(bitmap.Canvas()->Pixels(19, 15), vcl::TColor(0x0000FF));
    EXPECT_EQ(bitmap.Canvas()->Pixels(20, 15), kBackground);
    EXPECT_EQ(bitmap.Canvas()->Pixels(19, 16), kBackground);
  }
  picture.SetStretch(true);
  px = Drawn(picture, 30, 20);
  for (vcl::TColor c : px) ASSERT_EQ(c, vcl::TColor(0x0000FF));
  // An empty picture draws nothing.
  THTMLPicture empty;
  px = Drawn(empty, 5, 5);
  for (vcl::TColor c : px) ASSERT_EQ(c, kBackground);
}

// Runs load with a deadline: a load that waits on a FIFO would never end.
template <typename F>
bool EndsInTime(F load) {
  auto done = std::async(std::launch::async, load);
  return done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
}

TEST(HtmlPictureFiles, LocationsThatAreNoRegularSmallFileGiveEmptyPicturesWithoutWaiting) {
  Fixtures& fx = Fixtures::Get();
  ASSERT_EQ(fx.Status(), 0u) << fx.Error();
  std::string png = std::string(kManualImages) + "/feather.png";
  Integer pngWidth = 0;
  for (const PictureFile& f : fx.Pictures())
    if (f.path == png) pngWidth = f.width;
  ASSERT_GT(pngWidth, 0);
  std::vector<Byte> bytes = ReadBytes(png);
  ASSERT_FALSE(bytes.empty());
  std::string fifo = fx.Folder() + "/cell.fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A readable picture padded with zeros past the limit, and one padded to
  // the limit exactly.
  std::string big = fx.Folder() + "/big.png", limit = fx.Folder() + "/limit.png";
  for (auto [path, size] : {std::pair{big, kMaxPictureFileSize + 1}, std::pair{limit, kMaxPictureFileSize}}) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    fs::resize_file(path, static_cast<uintmax_t>(size));
  }
  struct Case {
    std::string location;
    bool loads;
  } cases[] = {
      {"FILE://" + png, true},
      {"file://" + limit, true},
      {"FILE://" + fifo, false},
      {"FILE://" + fx.Folder(), false},
      {"FILE://" + big, false},
      {"FILE://" + fx.Folder() + "/missing.png", false},
      {"FILE:///dev/zero", false},
      {"FILE://", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.location);
    THTMLPicture picture;
    int changes = 0;
    picture.OnChange = [&](vcl::TObject*) { ++changes; };
    bool ended = EndsInTime([&] { picture.LoadFromLocation(c.location); });
    if (!ended) {
      // Let a waiting open go so the test can end, and fail.
      FILE* writer = std::fopen(fifo.c_str(), "w");
      if (writer) std::fclose(writer);
      FAIL() << "loading did not end";
    }
    EXPECT_EQ(picture.Location(), c.location);
    EXPECT_EQ(picture.Empty(), !c.loads);
    EXPECT_EQ(picture.Width(), c.loads ? pngWidth : 0);
    EXPECT_EQ(changes, c.loads ? 1 : 0);
    if (!c.loads) EXPECT_TRUE(picture.Data().empty());
  }
}

TEST(HtmlPicture, LoadingFromStreamsRaisesForWhatNoReaderDecodes) {
  std::vector<Byte> png = ReadBytes(std::string(kManualImages) + "/down.gif");
  ASSERT_FALSE(png.empty());
  std::vector<Byte> truncated(png.begin(), png.begin() + 20);
  struct Case {
    const char* name;
    std::vector<Byte> bytes;
    const char* message;  // null: loads
  } cases[] = {
      {"empty", {}, "Empty image stream created"},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, "Could not load image. Invalid format"},
      {"cut GIF", truncated, "Could not load image"},
      {"whole GIF", png, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rtl::TMemoryStream stream;
    if (!c.bytes.empty()) stream.WriteBuffer(c.bytes.data(), static_cast<Integer>(c.bytes.size()));
    stream.SetPosition(0);
    THTMLPicture picture;
    if (c.message) {
      try {
        picture.LoadFromStream(stream);
        ADD_FAILURE() << "nothing raised";
      } catch (const rtl::Exception& e) {
        EXPECT_STREQ(e.ClassName(), "Exception");
        EXPECT_EQ(e.Message(), c.message);
      }
      EXPECT_EQ(picture.Width(), 0);
      EXPECT_EQ(picture.AnimationWidth(), 0);
    } else {
      picture.LoadFromStream(stream);
      EXPECT_EQ(picture.Width(), 11);
    }
    // The bytes are kept either way and written back unchanged.
    rtl::TMemoryStream saved;
    picture.SaveToStream(saved);
    EXPECT_EQ(saved.Size(), static_cast<rtl::Int64>(c.bytes.size()));
  }
  // A stream with no bytes from its position on counts as empty too; a
  // missing file raises nothing.
  THTMLPicture picture;
  picture.LoadFromFile("/nonexistent/picture.gif");
  EXPECT_TRUE(picture.Empty());
}

TEST(HtmlPicture, AssignCopiesOnlyAnotherHtmlPictureAndResourcesLoadByName) {
  std::vector<Byte> gif = ReadBytes(std::string(kManualImages) + "/feather.gif");
  static std::vector<Byte> resource;
  resource = gif;
  static const vcl::TResourceEntry entries[] = {{"HTMLPICTURETEST", resource.data(), resource.size()}};
  vcl::RegisterResources(entries, 1);

  THTMLPicture source;
  source.LoadFromLocation("res://HtmlPictureTest");
  ASSERT_FALSE(source.Empty());
  EXPECT_EQ(source.Width(), 248);
  EXPECT_EQ(source.Location(), "res://HtmlPictureTest");
  source.SetStretch(true);

  THTMLPicture copy;
  int changes = 0;
  copy.OnChange = [&](vcl::TObject*) { ++changes; };
  copy.Assign(&source);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(copy.Empty());
  EXPECT_TRUE(copy.Stretch());
  EXPECT_EQ(copy.Location(), source.Location());
  EXPECT_EQ(copy.Data(), gif);
  EXPECT_EQ(copy.Width(), 248);

  vcl::TBitmap bitmap(4, 4);
  copy.Assign(&bitmap);  // not a picture of ours: left empty, nothing raised
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.Width(), 0);
  copy.Assign(&source);
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  EXPECT_TRUE(copy.Data().empty());

  THTMLPicture unknown;
  unknown.LoadFromLocation("RES://NoSuchPicture");
  EXPECT_TRUE(unknown.Empty());
  // A network location is only remembered.
  THTMLPicture net;
  net.LoadFromLocation("http://module.local/logo.gif");
  EXPECT_EQ(net.Location(), "http://module.local/logo.gif");
  EXPECT_TRUE(net.Empty());
}

TEST(HtmlPicture, GifFramesAreCountedByTheirControlExtensionAndDescriptor) {
  // Two frame starts, one false start (no descriptor eight on) and a start
  // too near the end to have nine bytes after it.
  std::vector<Byte> d(64, 0);
  auto put = [&](size_t at, bool descriptor) {
    d[at] = 0x21;
    d[at + 1] = 0xF9;
    d[at + 2] = 0x04;
    if (descriptor) d[at + 8] = 0x2C;
  };
  put(3, true);
  put(20, false);
  put(30, true);
  put(54, true);  // 54 + 9 == 63 < 64: still tested
  std::vector<size_t> starts = GifFrameStarts(d.data(), d.size());
  EXPECT_EQ(starts, (std::vector<size_t>{3, 30, 54}));
  EXPECT_TRUE(GifFrameStarts(d.data(), 62).size() == 2);  // 54 has fewer than nine after it
}

TEST(HtmlPictureCache, FindsPicturesByTheExactTextOfTheirLocation) {
  THTMLPictureCache cache;
  THTMLPicture* a = cache.AppendPicture();
  a->LoadFromLocation("http://module/a.gif");
  THTMLPicture* b = cache.AppendPicture();
  b->LoadFromLocation("http://module/A.gif");
  THTMLPicture* c = cache.AppendPicture();
  c->LoadFromLocation("http://module/a.gif");
  EXPECT_EQ(cache.Count(), 3);
  EXPECT_EQ(cache.PictureByLocation("http://module/a.gif"), a);
  EXPECT_EQ(cache.PictureByLocation("http://module/A.gif"), b);
  EXPECT_EQ(cache.PictureByLocation("HTTP://module/a.gif"), nullptr);
  EXPECT_EQ(cache.PictureByLocation("http://module/a.gif "), nullptr);
  EXPECT_EQ(cache.PictureAt(1), b);
  try {
    cache.PictureAt(3);
    ADD_FAILURE() << "nothing raised";
  } catch (const rtl::EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }
  cache.FreePictures();
  EXPECT_EQ(cache.Count(), 0);
  EXPECT_EQ(cache.PictureByLocation("http://module/a.gif"), nullptr);
}

TEST(PictureContainer, FindsItemsByNameWithoutCaseAndCopiesItsItems) {
  std::vector<Byte> gif = ReadBytes(std::string(kManualImages) + "/up.gif");
  rtl::TMemoryStream stream;
  stream.WriteBuffer(gif.data(), static_cast<Integer>(gif.size()));
  THTMLPicture loaded;
  stream.SetPosition(0);
  loaded.LoadFromStream(stream);

  TPictureContainer container(nullptr);
  EXPECT_EQ(container.Version(), "1.0.0.0");
  container.SetVersion("9.9");
  EXPECT_EQ(container.Version(), "1.0.0.0");
  EXPECT_EQ(container.Items()->Owner(), &container);
  TPictureItem* first = container.Items()->Add();
  first->SetName("Logo");
  first->SetTag(7);
  first->SetPicture(&loaded);
  TPictureItem* second = container.Items()->Add();
  second->SetName("LOGO");
  TPictureItem* third = container.Items()->Add();
  third->SetName("Logos");
  for (const char* name : {"logo", "LOGO", "Logo", "lOgO"}) EXPECT_EQ(container.PictureByName(name), first->Picture());
  EXPECT_EQ(container.PictureByName("logos"), third->Picture());
  EXPECT_EQ(container.PictureByName("log"), nullptr);
  EXPECT_EQ(container.PictureByName(""), nullptr);
  EXPECT_NE(first->Picture(), &loaded);  // the setter copies
  EXPECT_EQ(first->Picture()->Data(), gif);

  TPictureContainer other(nullptr);
  other.SetItems(container.Items());
  ASSERT_EQ(other.Items()->Count(), 3);
  EXPECT_EQ(other.Items()->Items(0)->Name(), "Logo");
  EXPECT_EQ(other.Items()->Items(0)->Tag(), 7);
  EXPECT_EQ(other.Items()->Items(0)->Picture()->Width(), 11);
  EXPECT_NE(other.Items()->Items(0)->Picture(), first->Picture());
  EXPECT_EQ(other.PictureByName("LOGOS"), other.Items()->Items(2)->Picture());

  vcl::TBitmap bitmap;
  EXPECT_THROW(first->Assign(&bitmap), rtl::EConvertError);
  EXPECT_EQ(first->Name(), "Logo");
}

TEST(HtmlTextAnimation, ACellsAnimatedPictureFillsItsAreaAndDrawsTheChosenFrameAtItsOffset) {
  Fixtures& fx = Fixtures::Get();
  ASSERT_EQ(fx.Status(), 0u) << fx.Error();
  const std::string location = "FILE://" + fx.Folder() + "/animation.gif";
  const std::string html = "ab<IMG SRC=\"" + location + "\">";
  THTMLPictureCache cache;
  constexpr vcl::TColor kYellow = 0x00FFFF;
  struct Case {
    Integer frame;
    vcl::TRect block;  // the frame's coloured block in the 40 by 30 area
    vcl::TColor color;
  } cases[] = {
      {1, vcl::TRect{0, 0, 40, 30}, vcl::clWhite},  // the whole white field
      {2, vcl::TRect{5, 4, 15, 12}, 0x0000FF},      // PIL's red
      {3, vcl::TRect{20, 15, 26, 21}, 0xFF0000},    // PIL's blue
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    // The grid steps an animation by choosing the frame of its cached
    // picture; the renderer loads the location once.
    if (THTMLPicture* p = cache.PictureByLocation(location)) p->SetFrame(c.frame);
    vcl::TFakeMetricsCanvas canvas(100, 40);
    canvas.Brush()->SetColor(kYellow);  // the brush at entry fills the area
    THtmlTextOptions o;
    o.PictureCache = &cache;
    THtmlTextResult r;
    DrawHTMLText(&canvas, html, vcl::TRect{0, 0, 100, 40}, o, r);
    ASSERT_EQ(cache.Count(), 1);
    EXPECT_EQ(cache.PictureAt(0)->Frame(), c.frame);
    // The layout takes the animation's logical screen, whatever the frame.
    EXPECT_EQ(r.ContentWidth, 16 + 40);
    EXPECT_EQ(r.ContentHeight, 30);
    if (c.frame == 1) continue;  // the renderer drew before the frame was chosen
    const Integer left = 17;  // after "ab"
    int wrong = 0;
    for (Integer y = 0; y < 30; ++y)
      for (Integer x = 0; x < 40; ++x) {
        bool inBlock = x >= c.block.Left && x < c.block.Right && y >= c.block.Top && y < c.block.Bottom;
        wrong += canvas.Pixels(left + x, y) != (inBlock ? c.color : kYellow);
      }
    EXPECT_EQ(wrong, 0);
    // Nothing beyond the area.
    EXPECT_EQ(canvas.Pixels(left + 40, 5), vcl::clWhite);
    EXPECT_EQ(canvas.Pixels(left + 5, 30), vcl::clWhite);
  }
  // Drawn again on frame 1, the whole field is the frame's.
  cache.PictureAt(0)->SetFrame(1);
  vcl::TFakeMetricsCanvas canvas(100, 40);
  canvas.Brush()->SetColor(kYellow);
  THtmlTextOptions o;
  o.PictureCache = &cache;
  THtmlTextResult r;
  DrawHTMLText(&canvas, html, vcl::TRect{0, 0, 100, 40}, o, r);
  for (Integer y = 0; y < 30; ++y)
    for (Integer x = 0; x < 40; ++x) ASSERT_EQ(canvas.Pixels(17 + x, y), vcl::clWhite) << x << "," << y;
}

}  // namespace
}  // namespace dropdown
