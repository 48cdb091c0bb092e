// A cell drawn with real fonts (DejaVu, loaded by the test so no machine's
// own fonts decide the pixels) on the offscreen platform: bold, coloured,
// underlined-link, shadowed, highlighted and error-marked runs, a list image
// and embedded check box and button. Writes html_text_gallery.png into the
// build folder for a person to look at.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImage>

#include "dropdown/HtmlText.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace dropdown {
namespace {

using vcl::TColor;

// Pixels of colour c (within tolerance) in the rectangle.
int Count(vcl::TCanvas* canvas, const vcl::TRect& r, TColor c, int tolerance = 40) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      TColor p = canvas->Pixels(x, y);
      int dr = int(p & 0xFF) - int(c & 0xFF), dg = int((p >> 8) & 0xFF) - int((c >> 8) & 0xFF),
          db = int((p >> 16) & 0xFF) - int((c >> 16) & 0xFF);
      n += std::abs(dr) <= tolerance && std::abs(dg) <= tolerance && std::abs(db) <= tolerance;
    }
  return n;
}

TEST(HtmlTextPixels, ACellWithEveryKindOfRunDrawsWhereItWasMeasured) {
  ASSERT_GE(QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"), 0);
  ASSERT_GE(QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"), 0);
  vcl::TImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(16);
  vcl::TBitmap icon(16, 16);
  icon.Canvas()->Brush()->SetColor(0x00A000);  // green
  icon.Canvas()->FillRect(vcl::TRect{0, 0, 16, 16});
  images.Add(&icon, nullptr);

  const int w = 420, h = 40;
  vcl::TBitmap bitmap(w, h);
  vcl::TCanvas* c = bitmap.Canvas();
  c->Brush()->SetColor(vcl::clWhite);
  c->FillRect(vcl::TRect{0, 0, w, h});
  c->Font()->SetName("DejaVu Sans");
  c->Font()->SetSize(9);
  c->Font()->SetColor(vcl::clBlack);
  const char* html =
      "<B>Bold</B> <FONT COLOR=\"#FF0000\">red</FONT> <A HREF=\"x\">link</A> <SH>shade</SH> "
      "<HI>found</HI> <E>eror</E> <IMG SRC=\"IDX:0\"> "
      "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"1\"> "
      "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"40\">";
  // Measure first, as the grid does, to know where each piece lands.
  THtmlTextOptions m;
  m.MeasureOnly = true;
  THtmlTextResult size;
  DrawHTMLText(c, html, vcl::TRect{0, 0, 65535, 65535}, m, size);
  EXPECT_LE(size.ContentWidth, w);
  EXPECT_EQ(size.ContentHeight, 25);  // the button's height
  THtmlTextOptions o;
  o.Images = &images;
  THtmlTextResult r;
  DrawHTMLText(c, html, vcl::TRect{0, 0, w, h}, o, r);
  bitmap.Pixels().scaled(w * 2, h * 2).save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/html_text_gallery.png"));

  // Against the stored reference: anti-aliasing may differ a little between
  // font rasteriser versions, nothing more. A mismatch leaves the picture
  // drawn now beside the build's gallery for review.
  const std::string reference = std::string(TOLVANE_SOURCE_DIR) + "/tests/dropdown/html/html_text_cell.ref.png";
  QImage expected(QString::fromStdString(reference));
  QImage got = bitmap.Pixels().convertToFormat(QImage::Format_RGB32);
  bool same = !expected.isNull() && expected.size() == got.size();
  int differing = 0;
  if (same) {
    expected = expected.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        QRgb a = expected.pixel(x, y), b = got.pixel(x, y);
        differing += std::abs(qRed(a) - qRed(b)) > 48 || std::abs(qGreen(a) - qGreen(b)) > 48 ||
                     std::abs(qBlue(a) - qBlue(b)) > 48;
      }
    same = differing <= w * h / 200;  // half a percent of the cell
  }
  if (!same) got.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/html_text_cell.new.png"));
  EXPECT_TRUE(same) << "reference " << reference << (expected.isNull() ? " missing" : "") << ", " << differing
                    << " pixels differ";

  vcl::TRect all{0, 0, w, h};
  EXPECT_GT(Count(c, all, vcl::clRed, 60), 10);     // the red run and the error zigzag
  EXPECT_GT(Count(c, all, 0xFF0000, 60), 10);       // the link in the link colour
  EXPECT_GT(Count(c, all, 0x808080, 20), 5);        // the shadow
  EXPECT_GE(Count(c, all, 0x00A000, 0), 256);       // the whole list image
  EXPECT_GT(Count(c, all, vcl::ColorToRGB(vcl::clHighlight), 10), 30);  // highlight background
  // Nothing drawn below the line.
  EXPECT_EQ(Count(c, vcl::TRect{0, 28, w, h}, vcl::clWhite, 0), w * (h - 28));
  // The canvas keeps its font and brush.
  EXPECT_EQ(c->Font()->Name(), "DejaVu Sans");
  EXPECT_EQ(c->Brush()->Color(), vcl::clWhite);
}

}  // namespace
}  // namespace dropdown
