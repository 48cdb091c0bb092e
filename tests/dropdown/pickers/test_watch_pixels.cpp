// The clock's face as it shows: each tick-mark style with the AM/PM box,
// against stored references within a small tolerance, with a few pixels
// checked by their meaning; a gallery for people to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <string>

#include "DropdownTestSupport.h"
#include "dropdown/LumTimePickerDropDown.h"
#include "rtl/DateTime.h"

namespace dropdown {
namespace {

using namespace ddtest;

// Pixels whose channels differ by more than 48; fonts and anti-aliasing may
// differ a little between rasteriser versions, nothing more.
int Differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      n += std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 ||
           std::abs(qBlue(p) - qBlue(q)) > 48;
    }
  return n;
}

void CompareWithReference(const QImage& got, const std::string& name) {
  const std::string reference = std::string(TOLVANE_SOURCE_DIR) + "/tests/dropdown/pickers/" + name + ".ref.png";
  QImage expected(QString::fromStdString(reference));
  bool same = !expected.isNull() && expected.size() == got.size();
  int differing = 0;
  if (same) {
    differing = Differing(expected.convertToFormat(QImage::Format_RGB32), got);
    same = differing <= got.width() * got.height() / 200;  // half a percent
  }
  if (!same) got.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/" + name + ".new.png"));
  EXPECT_TRUE(same) << "reference " << reference << (expected.isNull() ? " missing" : "") << ", " << differing
                    << " pixels differ";
}

int Count(const QImage& img, QRect r, TColor colour, int tolerance) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QRgb p = img.pixel(x, y);
      n += std::abs(qRed(p) - int(colour & 0xFF)) <= tolerance && std::abs(qGreen(p) - int((colour >> 8) & 0xFF)) <= tolerance &&
           std::abs(qBlue(p) - int((colour >> 16) & 0xFF)) <= tolerance;
    }
  return n;
}

TEST(WatchPixels, EachTickMarkStyleWithTheAMPMBox) {
  TForm* form = MakeForm(4 * 190 + 10, 200 + 190);
  form->SetColor(0xE0E0E0);
  const TTickMarks marks[] = {tmAll, tmHours, tmQuartHours, tmNone};
  const char* names[] = {"all", "hours", "quarthours", "none"};
  std::vector<TLumWatch*> watches;
  for (int i = 0; i < 4; ++i) {
    auto* w = new TLumWatch(form);
    w->SetParent(form);
    w->SetBounds(10 + i * 190, 10, 180, 180);
    w->Appearance()->SetTickMarks(marks[i]);
    w->Appearance()->SetHourFont(w->Appearance()->HourFont());
    w->Appearance()->HourFont()->SetName("DejaVu Sans");
    w->Appearance()->AMPMFont()->SetName("DejaVu Sans");
    w->SetTime(rtl::EncodeDate(2026, 5, 4) + rtl::EncodeTime(i == 3 ? 22 : 10, 10, 0, 0));
    watches.push_back(w);
  }
  // A second row of looks: the pointer styles, a radial gradient, a
  // rounded rectangle, double quarter marks and a style's colours.
  const TPointerStyle pointers[] = {psPointer, psShortLine, psLineArrow, psLine};
  for (int i = 0; i < 4; ++i) {
    auto* w = new TLumWatch(form);
    w->SetParent(form);
    w->SetBounds(10 + i * 190, 200, 180, 180);
    w->Appearance()->HourFont()->SetName("DejaVu Sans");
    w->Appearance()->AMPMFont()->SetName("DejaVu Sans");
    w->Appearance()->SetPointerStyle(pointers[i]);
    if (i == 0) {
      w->Appearance()->SetBackgroundGradient(wgRadial);
      w->Appearance()->SetBackgroundColorTo(0xF0C080);
    }
    if (i == 1) {
      w->Appearance()->SetShape(wsRoundRect);
      w->Appearance()->SetHourMarkStyle(hmsQuartDblLine);
      w->Appearance()->SetHourMarkWidth(2);
    }
    if (i == 2) w->SetComponentStyle(controls::tsOffice2007Luna);
    if (i == 3) {
      w->Appearance()->SetShape(wsRect);
      w->Appearance()->SetAMPMFrame(apRoundRect);
      w->Appearance()->SetAMPMColor(0xC0FFFF);
      w->Appearance()->SetCenterPointSize(10);
      w->Appearance()->SetCenterPointBorderColor(0x0000FF);
    }
    w->SetTime(rtl::EncodeDate(2026, 5, 4) + rtl::EncodeTime(15, 40, 0, 0));
  }
  Pump();
  SaveShot(form->Widget()->grab().toImage(), "dropdown_watch_gallery.png");

  for (int i = 0; i < 4; ++i) {
    const QImage img = Grab(watches[i]);
    ASSERT_EQ(img.size(), QSize(180, 180));
    CompareWithReference(img, std::string("watch_") + names[i]);
    // The corners keep the form's colour; the face is white inside its
    // black ring; the centre disc is black.
    EXPECT_EQ(PixelAt(img, 2, 2), TColor(0xE0E0E0)) << names[i];
    EXPECT_EQ(PixelAt(img, 90, 11), TColor(0x000000)) << names[i];
    EXPECT_EQ(PixelAt(img, 90, 90), TColor(0x000000)) << names[i];
    // Minute marks (grey) only with tmAll: the 1-minute mark's band.
    const int grey = Count(img, QRect(95, 13, 6, 8), 0x808080, 40);
    if (marks[i] == tmAll)
      EXPECT_GT(grey, 0) << names[i];
    else
      EXPECT_EQ(grey, 0) << names[i];
    // The 1 o'clock mark (70.2 to 78 pixels out at 30 degrees) only with
    // tmAll and tmHours.
    const int one = Count(img, QRect(125, 24, 4, 4), 0x000000, 100);
    if (marks[i] == tmAll || marks[i] == tmHours)
      EXPECT_GT(one, 0) << names[i];
    else
      EXPECT_EQ(one, 0) << names[i];
    // The AM/PM box: framed in black, white inside, with its word's ink.
    const TRect box = watches[i]->AMPMRect();
    EXPECT_EQ(PixelAt(img, box.Left, box.Top + 3), TColor(0x000000)) << names[i];
    EXPECT_EQ(PixelAt(img, box.Left + 1, box.Top + 1), TColor(0xFFFFFF)) << names[i];
    EXPECT_GT(Count(img, QRect(box.Left + 2, box.Top + 1, box.Width() - 4, box.Height() - 2), 0x000000, 120), 4)
        << names[i];
  }
  Free(form);
}

}  // namespace
}  // namespace dropdown
