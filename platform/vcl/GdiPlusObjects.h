#pragma once
// The objects behind the GDI+ handles, and the conversions the drawing
// needs. Included only by the class library's own sources.
#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <optional>
#include <vector>

#include "vcl/GdiPlus.h"

namespace vcl {

struct GpPath {
  FillMode fillMode = FillModeAlternate;
  std::vector<GpPointF> points;
  std::vector<Byte> types;
  bool figureOpen = false;  // the next segment continues the last figure

  QPainterPath ToQt() const;
};

struct GpPen {
  ARGB color = 0xFF000000;
  REAL width = 1;
  Unit unit = UnitWorld;
  DashStyle dash = DashStyleSolid;
};

struct GpBrush {
  BrushType type = BrushTypeSolidColor;
  ARGB color = 0xFF000000;  // solid fill
  // Linear gradient.
  GpRectF rect;
  ARGB colors[2] = {0, 0};
  LinearGradientMode mode = LinearGradientModeHorizontal;
  WrapMode wrap = WrapModeTile;
  // Path gradient.
  GpPath boundary;
  GpPointF center;
  ARGB centerColor = 0xFFFFFFFF;
  std::vector<ARGB> surround{0xFFFFFFFF};
};

// A region is kept as a path (Qt 6 clips to a union of paths no other
// way); infinite until something limits it.
struct GpRegion {
  bool infinite = true;
  QPainterPath path;
  // The region as a path that can be combined (an infinite one as a very
  // large rectangle).
  QPainterPath Path() const;
  void Combine(const QPainterPath& other, CombineMode mode);
};

struct GpFontFamily {
  QString family;  // the installed family that draws it
};

struct GpFont {
  QString family;
  REAL emSize = 0;
  int32_t style = FontStyleRegular;
  Unit unit = UnitPoint;

  // The em size in pixels (96 per inch).
  double PixelSize() const;
  // The Qt font at that size for a device of the given resolution, with
  // or without anti-aliasing.
  QFont ToQt(int dpi, bool antialias) const;
};

struct GpStringFormat {
  int32_t flags = 0;
  uint16_t language = 0;
  StringAlignment align = StringAlignmentNear;
  StringAlignment lineAlign = StringAlignmentNear;
  StringTrimming trimming = StringTrimmingCharacter;
  int32_t hotkeyPrefix = HotkeyPrefixNone;
};

struct GpImage {
  TGpImageFormat format = TGpImageFormat::Unknown;
  QImage pixels;  // ARGB32 premultiplied; null for a metafile
};

struct GpImageAttributes {
  bool keyed = false;
  ARGB low = 0;
  ARGB high = 0;
};

struct GpGraphics {
  TCanvas* canvas = nullptr;  // not owned: the caller's device context
  SmoothingMode smoothing = SmoothingModeDefault;
  TextRenderingHint textHint = TextRenderingHintSystemDefault;
  GpRegion clip;

  bool AntiAliased() const;
  bool TextAntiAliased() const;
};

QColor ArgbToQColor(ARGB color);
ARGB ArgbOfPremultiplied(QRgb pixel);

// The Qt brush a GDI+ brush paints with, in GDI+ coordinates (pixel
// centres on integers); a path gradient brings its own picture,
// transparent outside its boundary.
QBrush ToQtBrush(const GpBrush& brush);

// The name of Qt's image reader for a picture file kind, or nullptr for a
// kind no reader here takes.
const char* QtReaderFormat(TGpImageFormat format);

}  // namespace vcl
