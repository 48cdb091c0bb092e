// Costs of the drawing base: a glow-button-sized anti-aliased rounded
// shape with a gradient fill and a border through the GDI+ wrappers,
// beside the same shape drawn with QPainter and with Cairo; a menu item's
// gradient; and a 32 x 32 PNG drawn through a GDI+ picture.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdlib>

#include "controls/ControlsLibrary.h"
#include "controls/GDIPicture.h"
#include "controls/LumGDIP.h"
#include "controls/LumMenuUtil.h"
#include "rtl/Streams.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"

namespace {

using namespace controls;

constexpr int kW = 100, kH = 41;
constexpr double kRadius = 3;

void RoundRectPath(TGPGraphicsPath& p, REAL x, REAL y, REAL w, REAL h, REAL r) {
  REAL d = 2 * r;
  p.AddLine(x + r, y, x + w - d, y);
  p.AddArc(x + w - d, y, d, d, 270, 90);
  p.AddLine(x + w, y + r, x + w, y + h - d);
  p.AddArc(x + w - d, y + h - d, d, d, 0, 90);
  p.AddLine(x + w - d, y + h, x + r, y + h);
  p.AddArc(x, y + h - d, d, d, 90, 90);
  p.AddLine(x, y + h - d, x, y + r);
  p.AddArc(x, y, d, d, 180, 90);
  p.CloseFigure();
}

void BM_GlowShapeWrappers(benchmark::State& state) {
  vcl::TBitmap target(kW, kH);
  for (auto _ : state) {
    TGPGraphics g(target.Canvas());
    g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
    TGPGraphicsPath path;
    RoundRectPath(path, 0, 0, kW - 1, kH - 1, kRadius);
    TGPLinearGradientBrush fill(MakeGPRectF(0, 0, kW, kH), MakeOpaqueARGB(255, 255, 255),
                                MakeOpaqueARGB(0xC0, 0xD4, 0xEE), vcl::LinearGradientModeVertical);
    g.FillPath(&fill, &path);
    TGPPen border(MakeOpaqueARGB(0x7F, 0x9D, 0xB9));
    g.DrawPath(&border, &path);
  }
}
BENCHMARK(BM_GlowShapeWrappers);

void BM_GlowShapeRadialWrappers(benchmark::State& state) {
  vcl::TBitmap target(kW, kH);
  for (auto _ : state) {
    TGPGraphics g(target.Canvas());
    g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
    TGPGraphicsPath ellipse;
    ellipse.AddEllipse(0, kH / 2.0f, kW, kH);
    TGPPathGradientBrush glow(&ellipse);
    glow.SetCenterPointI(MakeGPPoint(kW / 2, kH));
    glow.SetCenterColor(MakeOpaqueARGB(0xFF, 0xE0, 0x80));
    ARGB around[] = {MakeOpaqueARGB(0xB9, 0xD1, 0xEA)};
    int32_t n = 1;
    glow.SetSurroundColors(around, n);
    g.FillRectangle(&glow, 0, kH / 2.0f, kW, kH / 2.0f);
  }
}
BENCHMARK(BM_GlowShapeRadialWrappers);

void BM_GlowShapeQPainter(benchmark::State& state) {
  QImage target(kW, kH, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0.5, 0.5);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, kW - 1, kH - 1), kRadius, kRadius);
    QLinearGradient fill(0, 0, 0, kH);
    fill.setColorAt(0, QColor(255, 255, 255));
    fill.setColorAt(1, QColor(0xC0, 0xD4, 0xEE));
    p.fillPath(path, fill);
    p.setPen(QPen(QColor(0x7F, 0x9D, 0xB9), 1));
    p.drawPath(path);
  }
}
BENCHMARK(BM_GlowShapeQPainter);

void BM_GlowShapeCairo(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
  for (auto _ : state) {
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, 0.5, 0.5);
    double w = kW - 1, h = kH - 1, r = kRadius;
    cairo_new_sub_path(cr);
    cairo_arc(cr, w - r, r, r, -M_PI / 2, 0);
    cairo_arc(cr, w - r, h - r, r, 0, M_PI / 2);
    cairo_arc(cr, r, h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, r, r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, kH);
    cairo_pattern_add_color_stop_rgb(fill, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(fill, 1, 0xC0 / 255.0, 0xD4 / 255.0, 0xEE / 255.0);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0x7F / 255.0, 0x9D / 255.0, 0xB9 / 255.0);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_pattern_destroy(fill);
    cairo_destroy(cr);
  }
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_GlowShapeCairo);

void BM_MenuItemGradient(benchmark::State& state) {
  vcl::TBitmap target(200, 22);
  const vcl::TRect item = vcl::Rect(0, 0, 200, 22);
  for (auto _ : state) {
    if (state.range(0))
      FillMenuGradientClipped(target.Canvas(), vcl::Rect(0, -44, 200, 66), gdVertical, vcl::RGB(0xFF, 0xF9, 0xF9),
                              vcl::RGB(0xBB, 0xA0, 0xA1), item);
    else
      FillMenuGradient(target.Canvas(), item, gdHorizontal, vcl::RGB(0xFF, 0xF9, 0xF9), vcl::RGB(0xBB, 0xA0, 0xA1));
  }
}
BENCHMARK(BM_MenuItemGradient)->Arg(0)->Arg(1)->ArgName("clipped_vertical");

void BM_PictureDraw32(benchmark::State& state) {
  QImage source(32, 32, QImage::Format_ARGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) source.setPixel(x, y, qRgba(x * 8, y * 8, 128, (x + y) * 4));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  source.save(&buffer, "PNG");
  rtl::TStringStream bytes(std::string(png.constData(), static_cast<size_t>(png.size())));
  TGDIPPicture picture;
  picture.LoadFromStream(bytes);
  vcl::TBitmap target(40, 40);
  for (auto _ : state) target.Canvas()->StretchDraw(vcl::Rect(4, 4, 36, 36), &picture);
}
BENCHMARK(BM_PictureDraw32);

}  // namespace
