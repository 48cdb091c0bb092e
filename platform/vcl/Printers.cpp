#include "vcl/Printers.h"

#include <QFile>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "rtl/CodePages.h"
#include "vcl/Pictures.h"
#include "vcl/QtCanvas.h"
#include "vcl/Regions.h"

namespace vcl {

namespace {

// The printer's canvas: every primitive goes to a painter on the paged
// device (nothing is rasterised first), measuring stays the class
// library's, so text is placed exactly where the canvas measured it.
class TPrinterCanvas : public TCanvas {
 public:
  void Attach(QPainter* aPainter) {
    FPainter = aPainter;
    FRegion.reset();
    FSaved.clear();
  }

  void FillRect(const TRect& r) override {
    QPainter& p = Begin();
    if (Brush()->Style() != bsClear) p.fillRect(QRectOf(r), ToQColor(Brush()->Color()));
  }
  void FrameRect(const TRect& r) override {
    QPainter& p = Begin();
    if (r.Width() <= 0 || r.Height() <= 0) return;
    const QColor c = ToQColor(Brush()->Color());
    p.fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
  }
  void Rectangle(Integer x1, Integer y1, Integer x2, Integer y2) override {
    QPainter& p = Begin();
    const QRect q(x1, y1, x2 - x1, y2 - y1);
    if (Brush()->Style() != bsClear) p.fillRect(q, ToQColor(Brush()->Color()));
    if (PenVisible()) {
      p.setPen(QtPen());
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
    }
  }
  void LineTo(Integer x, Integer y) override {
    QPainter& p = Begin();
    const TPoint from = PenPos();
    TCanvas::MoveTo(x, y);
    if (!PenVisible()) return;
    p.setPen(QtPen());
    p.drawLine(QPointF(from.X + 0.5, from.Y + 0.5), QPointF(x + 0.5, y + 0.5));
  }
  void Polyline(const std::vector<TPoint>& points) override {
    QPainter& p = Begin();
    if (points.size() < 2 || !PenVisible()) return;
    QPolygonF poly;
    for (const TPoint& pt : points) poly << QPointF(pt.X + 0.5, pt.Y + 0.5);
    p.setPen(QtPen());
    p.drawPolyline(poly);
  }
  void Polygon(const std::vector<TPoint>& points) override {
    QPainter& p = Begin();
    if (points.size() < 2) return;
    QPolygonF poly;
    for (const TPoint& pt : points) poly << QPointF(pt.X + 0.5, pt.Y + 0.5);
    p.setPen(PenVisible() ? QtPen() : QPen(Qt::NoPen));
    p.setBrush(Brush()->Style() != bsClear ? QBrush(ToQColor(Brush()->Color())) : QBrush(Qt::NoBrush));
    p.drawPolygon(poly);
  }
  void Ellipse(Integer x1, Integer y1, Integer x2, Integer y2) override {
    QPainter& p = Begin();
    p.setPen(PenVisible() ? QtPen() : QPen(Qt::NoPen));
    p.setBrush(Brush()->Style() != bsClear ? QBrush(ToQColor(Brush()->Color())) : QBrush(Qt::NoBrush));
    p.drawEllipse(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
  }
  void RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer cw, Integer ch) override {
    QPainter& p = Begin();
    p.setPen(PenVisible() ? QtPen() : QPen(Qt::NoPen));
    p.setBrush(Brush()->Style() != bsClear ? QBrush(ToQColor(Brush()->Color())) : QBrush(Qt::NoBrush));
    p.drawRoundedRect(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1), cw / 2.0, ch / 2.0);
  }
  void Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4) override {
    QPainter& p = Begin();
    if (!PenVisible()) return;
    const QRectF box(x1, y1, x2 - x1, y2 - y1);
    const QPointF c = box.center();
    const double a1 = std::atan2(c.y() - y3, x3 - c.x()) * 180 / std::numbers::pi;
    double a2 = std::atan2(c.y() - y4, x4 - c.x()) * 180 / std::numbers::pi;
    double span = a2 - a1;
    if (span <= 0) span += 360;
    p.setPen(QtPen());
    p.drawArc(box, static_cast<int>(a1 * 16), static_cast<int>(span * 16));
  }
  void DrawFocusRect(const TRect& r) override {
    QPainter& p = Begin();
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(r.Left + 0.5, r.Top + 0.5, r.Width() - 1, r.Height() - 1));
  }
  // A page has no pixels to read or flood.
  TColor Pixels(Integer, Integer) override {
    Begin();
    return CLR_INVALID;
  }
  void SetPixels(Integer x, Integer y, TColor color) override { Begin().fillRect(QRect(x, y, 1, 1), ToQColor(color)); }
  void FloodFill(Integer, Integer, TColor, TFillStyle) override { Begin(); }

  void TextOut(Integer x, Integer y, const AnsiString& text) override {
    TextOutW(x, y, rtl::Utf8ToWide(text));
  }
  void TextRect(const TRect& r, Integer x, Integer y, const AnsiString& text) override {
    QPainter& p = Begin();
    p.save();
    p.setClipRect(QRectOf(r), Qt::IntersectClip);
    if (Brush()->Style() != bsClear) p.fillRect(QRectOf(r), ToQColor(Brush()->Color()));
    DrawText16(p, x, y, rtl::Utf8ToWide(text), false);
    p.restore();
  }
  void TextOutW(Integer x, Integer y, const WideString& text) override {
    QPainter& p = Begin();
    const Integer width = DrawText16(p, x, y, text, Brush()->Style() != bsClear);
    TCanvas::MoveTo(x + width, y);
  }

  Integer SaveDC() override {
    Begin();
    FSaved.push_back(FRegion);
    return static_cast<Integer>(FSaved.size());
  }
  bool RestoreDC(Integer level) override {
    Begin();
    const Integer count = static_cast<Integer>(FSaved.size());
    const Integer target = level < 0 ? count + level + 1 : level;
    if (target < 1 || target > count) return false;
    FRegion = FSaved[static_cast<size_t>(target - 1)];
    FSaved.resize(static_cast<size_t>(target - 1));
    return true;
  }
  void IntersectClipRect(const TRect& r) override {
    QPainter& p = Begin();
    const QRegion area = FRegion ? *FRegion : QRegion(PageRect(p));
    FRegion = area & QRegion(QRectOf(r));
  }
  void ExcludeClipRect(const TRect& r) override {
    QPainter& p = Begin();
    const QRegion area = FRegion ? *FRegion : QRegion(PageRect(p));
    FRegion = area - QRegion(QRectOf(r));
  }
  void SelectClipRegion(const TRegion* region) override {
    Begin();
    if (!region) {
      FRegion.reset();
      return;
    }
    QRegion q;
    for (const TRect& b : region->Rects()) q += QRectOf(b);
    FRegion = q;
  }

  void Draw(Integer x, Integer y, TGraphic* graphic) override {
    if (!graphic || graphic->Empty()) return;
    StretchDraw(TRect{x, y, x + graphic->Width(), y + graphic->Height()}, graphic);
  }
  void StretchDraw(const TRect& r, TGraphic* graphic) override {
    QPainter& p = Begin();
    if (!graphic || graphic->Empty()) return;
    if (const QImage* image = graphic->Image()) p.drawImage(QRectOf(r), *image);
  }
  void BlitFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Cardinal, TColor transparent) override {
    QPainter& p = Begin();
    if (!source || !source->Surface() || !source->Surface()->image) return;
    const TCanvasSurface& s = *source->Surface();
    QImage part = s.image->copy(QRectOf(sourceRect).translated(s.origin));
    if (transparent != clNone) {
      part = part.convertToFormat(QImage::Format_ARGB32);
      const QRgb key = ToQColor(transparent).rgb() & 0xFFFFFF;
      for (int yy = 0; yy < part.height(); ++yy) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(yy));
        for (int xx = 0; xx < part.width(); ++xx)
          if ((line[xx] & 0xFFFFFF) == key) line[xx] = 0;
      }
    }
    p.drawImage(QRectOf(dest), part);
  }
  void BrushCopy(const TRect& dest, TBitmap* source, const TRect& sourceRect, TColor) override {
    BlitFrom(dest, source ? source->Canvas() : nullptr, sourceRect, 0x00CC0020, clNone);
  }
  void AlphaBlendFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Byte alpha) override {
    QPainter& p = Begin();
    p.save();
    p.setOpacity(alpha / 255.0);
    BlitFrom(dest, source, sourceRect, 0x00CC0020, clNone);
    p.restore();
  }
  void DrawThemePart(const char*, Integer, Integer, const TRect&, const TRect*) override { Begin(); }

 private:
  static QRect QRectOf(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
  static QRect PageRect(QPainter& p) { return QRect(0, 0, p.device()->width(), p.device()->height()); }

  // The painter with the canvas's clipping; raises as a canvas without a
  // surface does outside a document.
  QPainter& Begin() {
    if (!FPainter) throw rtl::EInvalidOperation("Canvas does not allow drawing");
    if (FRegion) {
      FPainter->setClipRegion(*FRegion);
    } else {
      FPainter->setClipping(false);
    }
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return *FPainter;
  }
  bool PenVisible() { return Pen()->Style() != psClear && Pen()->Mode() != pmNop; }
  QPen QtPen() {
    QPen pen(Pen()->Mode() == pmWhite ? QColor(Qt::white)
                                      : Pen()->Mode() == pmBlack ? QColor(Qt::black) : ToQColor(Pen()->Color()));
    pen.setWidth(std::max<Integer>(1, Pen()->Width()));
    switch (Pen()->Style()) {
      case psDash: pen.setStyle(Qt::DashLine); break;
      case psDot: pen.setStyle(Qt::DotLine); break;
      case psDashDot: pen.setStyle(Qt::DashDotLine); break;
      case psDashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
      default: pen.setStyle(Qt::SolidLine); break;
    }
    pen.setCapStyle(Qt::FlatCap);
    return pen;
  }
  // Each character at the advance the canvas measures for it alone, as
  // the screen places it; answers the width covered.
  Integer DrawText16(QPainter& p, Integer x, Integer y, const WideString& text, bool aOpaque) {
    const std::vector<TTextCharacter> chars = SplitTextCharacters(text);
    std::vector<Integer> lefts;
    lefts.reserve(chars.size());
    Integer width = 0;
    for (const TTextCharacter& c : chars) {
      lefts.push_back(width);
      width += TCanvas::TextExtentW(text.substr(c.Index, c.Length)).cx;
    }
    const QFont font = ToQFont(*Font());
    const QFontMetrics metrics(font);
    const Integer height = TCanvas::TextExtentW(u"x").cy;
    if (aOpaque) p.fillRect(QRect(x, y, width, height), ToQColor(Brush()->Color()));
    p.setFont(font);
    p.setPen(ToQColor(Font()->Color()));
    const Integer baseline = GetTextMetrics().Ascent;
    for (size_t i = 0; i < chars.size(); ++i) {
      const char16_t* units = text.data() + chars[i].Index;
      if (chars[i].Length == 1 && (units[0] == u' ' || units[0] == u'\t')) continue;
      p.drawText(QPointF(x + lefts[i], y + baseline),
                 QString::fromUtf16(units, static_cast<qsizetype>(chars[i].Length)));
    }
    return width;
  }

  QPainter* FPainter = nullptr;  // the printer's, while printing
  std::optional<QRegion> FRegion;
  std::vector<std::optional<QRegion>> FSaved;
};

std::unique_ptr<TPrinter>& ProcessPrinter() {
  static std::unique_ptr<TPrinter> printer;
  return printer;
}

}  // namespace

struct TPrinter::TTarget {
  enum { Default, Pdf } Kind = Default;
  AnsiString FileName;
  double WidthMm = 0, HeightMm = 0;
  Integer Dpi = 0;
  QPrinterInfo Info;
};

// The paged device and the painter on it for one document.
class TPrinter::TDevice {
 public:
  explicit TDevice(const TTarget& aTarget, const AnsiString& aTitle) {
    if (aTarget.Kind == TTarget::Pdf) {
      auto writer = std::make_unique<QPdfWriter>(QString::fromStdString(aTarget.FileName));
      writer->setResolution(aTarget.Dpi);
      writer->setPageLayout(QPageLayout(QPageSize(QSizeF(aTarget.WidthMm, aTarget.HeightMm), QPageSize::Millimeter),
                                        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
      writer->setTitle(QString::fromStdString(aTitle));
      writer->setCreator(QStringLiteral("Tolvane"));
      Device = std::move(writer);
      FileName = aTarget.FileName;
    } else {
      auto printer = std::make_unique<QPrinter>(aTarget.Info, QPrinter::HighResolution);
      printer->setDocName(QString::fromStdString(aTitle));
      Printer = printer.get();
      Device = std::move(printer);
    }
  }
  std::unique_ptr<QPagedPaintDevice> Device;
  QPrinter* Printer = nullptr;  // Device, when it is a printer
  AnsiString FileName;          // of a PDF
  QPainter Painter;
};

TPrinter::TPrinter() : FCanvas(std::make_unique<TPrinterCanvas>()) { SetDefaultPrinterTarget(); }

TPrinter::~TPrinter() {
  if (FPrinting) Abort();
}

void TPrinter::CheckNotPrinting() const {
  if (FPrinting) throw EPrinter("Printing in progress");
}

void TPrinter::SetDefaultPrinterTarget() {
  CheckNotPrinting();
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    FTarget.reset();
  } else {
    FTarget = std::make_unique<TTarget>();
    FTarget->Info = info;
  }
  ReadMetrics();
}

void TPrinter::SetPdfTarget(const AnsiString& aFileName, double aWidthMm, double aHeightMm, Integer aDpi) {
  CheckNotPrinting();
  if (aWidthMm <= 0 || aHeightMm <= 0 || aDpi <= 0) throw EPrinter("Printer selected is not valid");
  FTarget = std::make_unique<TTarget>();
  FTarget->Kind = TTarget::Pdf;
  FTarget->FileName = aFileName;
  FTarget->WidthMm = aWidthMm;
  FTarget->HeightMm = aHeightMm;
  FTarget->Dpi = aDpi;
  ReadMetrics();
}

void TPrinter::SetNoTarget() {
  CheckNotPrinting();
  FTarget.reset();
  ReadMetrics();
}

bool TPrinter::HasTarget() const { return FTarget != nullptr; }

AnsiString TPrinter::TargetName() const {
  if (!FTarget) return {};
  if (FTarget->Kind == TTarget::Pdf) return FTarget->FileName;
  return FTarget->Info.printerName().toStdString();
}

void TPrinter::ReadMetrics() {
  FPageWidth = FPageHeight = FXPixelsPerInch = FYPixelsPerInch = 0;
  if (FTarget && FTarget->Kind == TTarget::Pdf) {
    // As the writer lays the page out (it opens no file before painting).
    TDevice device(*FTarget, Title);
    FPageWidth = device.Device->width();
    FPageHeight = device.Device->height();
    FXPixelsPerInch = device.Device->logicalDpiX();
    FYPixelsPerInch = device.Device->logicalDpiY();
  } else if (FTarget) {
    QPrinter printer(FTarget->Info, QPrinter::HighResolution);
    FPageWidth = printer.width();
    FPageHeight = printer.height();
    FXPixelsPerInch = printer.logicalDpiX();
    FYPixelsPerInch = printer.logicalDpiY();
  }
  FCanvas->Font()->SetPixelsPerInch(FYPixelsPerInch > 0 ? FYPixelsPerInch : 96);
}

TCanvas* TPrinter::Canvas() { return FCanvas.get(); }

void TPrinter::BeginDoc() {
  CheckNotPrinting();
  if (!FTarget) throw EPrinter("Printer selected is not valid");
  auto device = std::make_unique<TDevice>(*FTarget, Title);
  if (!device->Painter.begin(device->Device.get())) {
    const AnsiString name = TargetName();
    throw EPrinter("Cannot print to " + name);
  }
  // The page's pixels as the device has them.
  FPageWidth = device->Device->width();
  FPageHeight = device->Device->height();
  FXPixelsPerInch = device->Device->logicalDpiX();
  FYPixelsPerInch = device->Device->logicalDpiY();
  FDevice = std::move(device);
  FPrinting = true;
  FAborted = false;
  FPageNumber = 1;
  FCanvas->Font()->SetPixelsPerInch(FYPixelsPerInch);
  static_cast<TPrinterCanvas*>(FCanvas.get())->Attach(&FDevice->Painter);
}

void TPrinter::NewPage() {
  if (!FPrinting) throw EPrinter("Printer is not currently printing");
  static_cast<TPrinterCanvas*>(FCanvas.get())->Attach(&FDevice->Painter);
  FDevice->Device->newPage();
  ++FPageNumber;
}

void TPrinter::EndDoc() {
  if (!FPrinting) throw EPrinter("Printer is not currently printing");
  static_cast<TPrinterCanvas*>(FCanvas.get())->Attach(nullptr);
  FDevice->Painter.end();
  FDevice.reset();
  FPrinting = false;
  FPageNumber = 0;
}

void TPrinter::Abort() {
  if (!FPrinting) throw EPrinter("Printer is not currently printing");
  static_cast<TPrinterCanvas*>(FCanvas.get())->Attach(nullptr);
  if (FDevice->Printer) FDevice->Printer->abort();
  FDevice->Painter.end();
  const AnsiString file = FDevice->FileName;
  FDevice.reset();
  if (!file.empty()) QFile::remove(QString::fromStdString(file));
  FPrinting = false;
  FAborted = true;
  FPageNumber = 0;
}

TPrinter* Printer() {
  std::unique_ptr<TPrinter>& printer = ProcessPrinter();
  if (!printer) printer = std::make_unique<TPrinter>();
  return printer.get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> aPrinter) {
  std::unique_ptr<TPrinter> old = std::move(ProcessPrinter());
  ProcessPrinter() = std::move(aPrinter);
  return old;
}

}  // namespace vcl
