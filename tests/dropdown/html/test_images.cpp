// The renderer's pictures beyond the container and cache lookups: the
// desktop's icons ("SSYS:"/"LSYS:"), the printing path that stretches list
// images and icons by the printer's scale, the hover picture an anchored
// image names with ALT, and text turned by the rotation tag (real fonts,
// real pixels).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <sstream>

#include "dropdown/HtmlText.h"
#include "dropdown/PictureContainer.h"
#include "rtl/Streams.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/ShellIcons.h"
#include "vcl/TestCanvases.h"

namespace dropdown {
namespace {

using vcl::TColor;
using vcl::TRect;

// The picture calls and text, in order.
std::string PictureCalls(const vcl::TRecordingCanvas& canvas) {
  std::ostringstream out;
  for (const vcl::TCanvasRecord& r : canvas.Records()) {
    if (r.Op != "Draw" && r.Op != "StretchDraw" && r.Op != "TextOut") continue;
    if (out.tellp() > 0) out << " ";
    out << r.Call();
  }
  return out.str();
}

// Icons that look the same on every machine, whatever its icon theme.
class OwnIcons : public ::testing::Test {
 protected:
  void SetUp() override { vcl::SetShellIconsUseTheme(false); }
  void TearDown() override { vcl::SetShellIconsUseTheme(true); }
};

QImage IconPixels(std::unique_ptr<vcl::TBitmap> icon) {
  return icon ? icon->Pixels().convertToFormat(QImage::Format_ARGB32) : QImage();
}

TEST_F(OwnIcons, FilesAndFoldersGetTheIconOfTheirKindByPathOrByName) {
  using vcl::TShellIconSize;
  EXPECT_EQ(vcl::ShellIconExtent(TShellIconSize::Small), 16);
  EXPECT_EQ(vcl::ShellIconExtent(TShellIconSize::Large), 32);
  char folder[] = "/tmp/tolvane-icons-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string fifo = std::string(folder) + "/pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A file whose name says nothing but whose first bytes are a PNG's.
  std::string png = std::string(folder) + "/noname";
  {
    vcl::TBitmap b(4, 4);
    QImage(4, 4, QImage::Format_RGB32).save(QString::fromStdString(png), "PNG");
  }
  struct Case {
    std::string path;
    int index;  // the list's place showing the same kind
  } cases[] = {
      {folder, 3},                         // an existing folder
      {"C:\\Projects\\notes.txt", 1},      // no such file: by its name
      {"/nowhere/readme.txt", 1},
      {"setup.exe", 2},
      {"/nowhere/unknown.zzzq", 0},
      {fifo, 0},                           // asked by kind, never opened
  };
  for (TShellIconSize size : {TShellIconSize::Small, TShellIconSize::Large}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.path);
      auto started = std::chrono::steady_clock::now();
      QImage icon = IconPixels(vcl::ShellFileIcon(c.path, size));
      EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
      ASSERT_FALSE(icon.isNull());
      EXPECT_EQ(icon.width(), vcl::ShellIconExtent(size));
      EXPECT_EQ(icon.height(), vcl::ShellIconExtent(size));
      EXPECT_EQ(icon, IconPixels(vcl::ShellIndexIcon(c.index, size)));
    }
  }
  // The PNG's content makes it a picture, not a plain document.
  QImage picture = IconPixels(vcl::ShellFileIcon(png, TShellIconSize::Small));
  EXPECT_NE(picture, IconPixels(vcl::ShellIndexIcon(0, TShellIconSize::Small)));
  EXPECT_EQ(picture, IconPixels(vcl::ShellFileIcon("photo.png", TShellIconSize::Small)));
  // A folder is no document, and an icon has transparent corners.
  QImage folderIcon = IconPixels(vcl::ShellIndexIcon(3, TShellIconSize::Large));
  EXPECT_NE(folderIcon, IconPixels(vcl::ShellIndexIcon(1, TShellIconSize::Large)));
  EXPECT_EQ(qAlpha(folderIcon.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(folderIcon.pixel(16, 20)), 255);
  // Places outside the list give no icon.
  EXPECT_EQ(vcl::ShellIndexIcon(-1, TShellIconSize::Small), nullptr);
  EXPECT_EQ(vcl::ShellIndexIcon(vcl::ShellIconCount(), TShellIconSize::Small), nullptr);
  unlink(fifo.c_str());
  unlink(png.c_str());
  rmdir(folder);
}

TEST_F(OwnIcons, SystemIconsTakeTheListSizeAndDrawAtThePen) {
  struct Case {
    const char* html;
    int width, height;
    const char* calls;
  } cases[] = {
      {"a<IMG SRC=\"SSYS:3\">b", 32, 16, "TextOut(1,3) 'a' Draw(9,0,16,16) TextOut(25,3) 'b'"},
      {"a<IMG SRC=\"LSYS:3\">b", 48, 32, "TextOut(1,19) 'a' Draw(9,0,32,32) TextOut(41,19) 'b'"},
      {"a<IMG SRC=\"ssys:/tmp\">b", 32, 16, "TextOut(1,3) 'a' Draw(9,0,16,16) TextOut(25,3) 'b'"},
      {"a<IMG SRC=\"LSYS:report.txt\">b", 48, 32, "TextOut(1,19) 'a' Draw(9,0,32,32) TextOut(41,19) 'b'"},
      // A place the list lacks, or nothing named, takes no space.
      {"a<IMG SRC=\"SSYS:99\">b", 16, 13, "TextOut(1,0) 'a' TextOut(9,0) 'b'"},
      {"a<IMG SRC=\"LSYS:\">b", 16, 13, "TextOut(1,0) 'a' TextOut(9,0) 'b'"},
      // Stretched with WIDTH and HEIGHT? Icons keep the list's size.
      {"<IMG SRC=\"SSYS:1\" WIDTH=\"40\" HEIGHT=\"40\">", 16, 16, "Draw(1,0,16,16)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    vcl::TRecordingCanvas canvas;
    THtmlTextOptions o;
    THtmlTextResult r;
    DrawHTMLText(&canvas, c.html, TRect{0, 0, 200, 100}, o, r);
    EXPECT_EQ(r.ContentWidth, c.width);
    EXPECT_EQ(r.ContentHeight, c.height);
    EXPECT_EQ(PictureCalls(canvas), c.calls);
  }
  // On pixels: the folder icon lands at the pen, over the white cell.
  vcl::TFakeMetricsCanvas canvas(60, 40);
  THtmlTextOptions o;
  THtmlTextResult r;
  DrawHTMLText(&canvas, "a<IMG SRC=\"SSYS:3\">", TRect{0, 0, 60, 40}, o, r);
  QImage icon = IconPixels(vcl::ShellIndexIcon(3, vcl::TShellIconSize::Small));
  QImage expected(16, 16, QImage::Format_ARGB32);
  expected.fill(Qt::white);
  {
    QPainter p(&expected);
    p.drawImage(0, 0, icon);
  }
  int differing = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      TColor got = canvas.Pixels(9 + x, y);
      QRgb want = expected.pixel(x, y);
      differing += std::abs(int(got & 0xFF) - qRed(want)) > 2 || std::abs(int((got >> 8) & 0xFF) - qGreen(want)) > 2 ||
                   std::abs(int((got >> 16) & 0xFF) - qBlue(want)) > 2;
    }
  EXPECT_EQ(differing, 0);
}

TEST_F(OwnIcons, PrintingStretchesListImagesAndIconsByThePrintScale) {
  vcl::TImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(16);
  vcl::TBitmap square(16, 16);
  images.Add(&square, nullptr);
  struct Case {
    const char* name;
    const char* html;
    bool printing;
    double scale;
    int ppi;
    const char* calls;
  } cases[] = {
      {"list image on screen", "a<IMG SRC=\"IDX:0\">", false, 1.0, 96, "TextOut(1,3) 'a' Draw(9,0,16,16)"},
      {"list image printed", "a<IMG SRC=\"IDX:0\">", true, 2.5, 96, "TextOut(1,3) 'a' StretchDraw(9,0,49,40)"},
      {"icon on screen", "a<IMG SRC=\"LSYS:2\">", false, 1.0, 96, "TextOut(1,19) 'a' Draw(9,0,32,32)"},
      {"icon printed", "a<IMG SRC=\"LSYS:2\">", true, 1.5, 96, "TextOut(1,19) 'a' StretchDraw(9,0,57,48)"},
      // At twice the pixels per inch the layout size doubles, and the
      // printer's scale applies on top of it.
      {"list image at 192 ppi", "<IMG SRC=\"IDX:0\">", false, 1.0, 192, "StretchDraw(1,0,33,32)"},
      {"list image printed at 192 ppi", "<IMG SRC=\"IDX:0\">", true, 2.0, 192, "StretchDraw(1,0,65,64)"},
      {"icon printed at 192 ppi", "<IMG SRC=\"SSYS:2\">", true, 2.0, 192, "StretchDraw(1,0,65,64)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TRecordingCanvas canvas;
    canvas.Font()->SetPixelsPerInch(c.ppi);
    THtmlTextOptions o;
    o.Images = &images;
    o.Printing = c.printing;
    o.PrintScale = c.scale;
    THtmlTextResult r;
    DrawHTMLText(&canvas, c.html, TRect{0, 0, 400, 200}, o, r);
    EXPECT_EQ(PictureCalls(canvas), c.calls);
  }
}

// A picture of one colour, as a bitmap file's bytes.
void FillPicture(THTMLPicture* picture, TColor color, int w, int h) {
  vcl::TBitmap b(w, h);
  b.Canvas()->Brush()->SetColor(color);
  b.Canvas()->FillRect(TRect{0, 0, w, h});
  rtl::TMemoryStream stream;
  b.SaveToStream(stream);
  stream.Seek(0, rtl::soBeginning);
  picture->LoadFromStream(stream);
}

TEST(HtmlTextImages, AnImageInAnAnchorShowsItsAltPictureWhileThePointerIsOnIt) {
  TPictureContainer container(nullptr);
  TPictureItem* plain = container.Items()->Add();
  plain->SetName("plain");
  FillPicture(plain->Picture(), 0x00C000, 10, 10);  // green
  TPictureItem* hover = container.Items()->Add();
  hover->SetName("hover");
  FillPicture(hover->Picture(), 0x0000E0, 10, 10);  // red
  struct Case {
    const char* name;
    const char* html;
    int x, y;
    TColor shown;
    bool result;
    const char* anchor;
  } cases[] = {
      {"pointer elsewhere", "a<A HREF=\"go\"><IMG SRC=\"plain\" ALT=\"hover\"></A>", 50, 5, 0x00C000, false, ""},
      {"pointer on the image", "a<A HREF=\"go\"><IMG SRC=\"plain\" ALT=\"hover\"></A>", 12, 5, 0x0000E0, true, "go"},
      {"no anchor, no hover", "a<IMG SRC=\"plain\" ALT=\"hover\">", 12, 5, 0x00C000, false, ""},
      {"an unknown hover picture", "a<A HREF=\"go\"><IMG SRC=\"plain\" ALT=\"none\"></A>", 12, 5, 0x00C000, true, "go"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TFakeMetricsCanvas canvas(60, 20);
    THtmlTextOptions o;
    o.Pictures = &container;
    o.PointX = c.x;
    o.PointY = c.y;
    THtmlTextResult r;
    EXPECT_EQ(DrawHTMLText(&canvas, c.html, TRect{0, 0, 60, 20}, o, r), c.result);
    EXPECT_EQ(r.HitAnchor, c.anchor);
    // The image's box, from the pen after "a": 9 .. 19, rows 0 .. 10.
    for (int y = 0; y < 10; ++y)
      for (int x = 9; x < 19; ++x) ASSERT_EQ(canvas.Pixels(x, y), c.shown) << x << "," << y;
    EXPECT_EQ(canvas.Pixels(19, 5), vcl::clWhite);
  }
}

// The bounds of the pixels darker than mid-grey.
TRect InkBounds(vcl::TCanvas* c, const TRect& area) {
  TRect ink{area.Right, area.Bottom, area.Left, area.Top};
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      TColor p = c->Pixels(x, y);
      if ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF) < 3 * 128) {
        ink.Left = std::min(ink.Left, x);
        ink.Top = std::min(ink.Top, y);
        ink.Right = std::max(ink.Right, x + 1);
        ink.Bottom = std::max(ink.Bottom, y + 1);
      }
    }
  return ink;
}

TEST(HtmlTextRotation, RotatedRunsTurnAboutTheirOriginAndTheFontComesBackAfterTheClosingTag) {
  ASSERT_GE(QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"), 0);
  struct Case {
    const char* name;
    const char* html;
    const char* flat;  // the same without turning
    bool upright;      // the ink is wider than tall
  } cases[] = {
      {"not turned", "<BR><BR><BR><BR>MMMMMM", "<BR><BR><BR><BR>MMMMMM", true},
      {"a quarter turn", "<BR><BR><BR><BR><ROT ANGLE=\"90\">MMMMMM</ROT>", "<BR><BR><BR><BR>MMMMMM", false},
      {"the first quote after the A", "<BR><BR><BR><BR><R A=\"90\">MMMMMM</R>", "<BR><BR><BR><BR>MMMMMM", false},
      {"a negative quarter turn", "<BR><IND X=\"40\"><R A=\"-90\">MMMMMM</R>", "<BR><IND X=\"40\">MMMMMM", false},
      {"a half turn keeps it flat", "<BR><BR><BR><BR><IND X=\"100\"><R A=\"180\">MMMMMM</R>",
       "<BR><BR><BR><BR><IND X=\"100\">MMMMMM", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TBitmap bitmap(200, 200);
    vcl::TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(vcl::clWhite);
    canvas->FillRect(TRect{0, 0, 200, 200});
    canvas->Font()->SetName("DejaVu Sans");
    canvas->Font()->SetSize(10);
    THtmlTextOptions o;
    THtmlTextResult r;
    DrawHTMLText(canvas, c.html, TRect{0, 0, 200, 200}, o, r);
    TRect ink = InkBounds(canvas, TRect{0, 0, 200, 200});
    ASSERT_LT(ink.Left, ink.Right);
    EXPECT_EQ(ink.Width() > ink.Height(), c.upright) << ink.Left << "," << ink.Top << " " << ink.Right << "," << ink.Bottom;
    // The layout is the unturned run's.
    THtmlTextOptions m;
    m.MeasureOnly = true;
    THtmlTextResult flat;
    DrawHTMLText(canvas, c.flat, TRect{0, 0, 65535, 65535}, m, flat);
    EXPECT_EQ(r.ContentWidth, flat.ContentWidth);
    EXPECT_EQ(r.ContentHeight, flat.ContentHeight);
    EXPECT_EQ(canvas->Font()->Orientation(), 0);
  }
  // After the closing tag the text runs flat again, to the right of the
  // turned run's pen position.
  vcl::TBitmap bitmap(300, 120);
  vcl::TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(vcl::clWhite);
  canvas->FillRect(TRect{0, 0, 300, 120});
  canvas->Font()->SetName("DejaVu Sans");
  canvas->Font()->SetSize(10);
  THtmlTextOptions o;
  THtmlTextResult r;
  DrawHTMLText(canvas, "<BR><BR><BR><BR><BR><R A=\"90\">MMMM</R>MMMMMMMM", TRect{0, 0, 300, 120}, o, r);
  THtmlTextOptions m;
  m.MeasureOnly = true;
  THtmlTextResult four;
  DrawHTMLText(canvas, "MMMM", TRect{0, 0, 65535, 65535}, m, four);
  TRect flatInk = InkBounds(canvas, TRect{four.ContentWidth + 1, 0, 300, 120});
  TRect turnedInk = InkBounds(canvas, TRect{0, 0, four.ContentWidth + 1, 120});
  EXPECT_GT(flatInk.Width(), flatInk.Height());
  EXPECT_GT(turnedInk.Height(), turnedInk.Width());
  bitmap.Pixels().save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/html_text_rotated.png"));
}

}  // namespace
}  // namespace dropdown
