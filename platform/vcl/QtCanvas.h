#pragma once
// The Qt side of the canvas: what a TCanvas draws on, and the conversions of
// colours and fonts. Included only by the class library's own sources.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <functional>
#include <optional>
#include <vector>

#include "vcl/Graphics.h"

namespace vcl {

// A drawing target: an image the canvas does not own, the device position
// of the canvas's point (0, 0), and the device rectangle drawing is held to
// (a graphic control's bounds inside its parent's buffer).
struct TCanvasSurface {
  QImage* image = nullptr;
  QPoint origin;
  QRect clip;  // null: the whole image
  // The window origin (SetWindowOrgEx): already taken out of origin.
  QPoint windowOrg;
  // Runs after each drawing operation (a control schedules a screen update).
  std::function<void()> drawn;

  QRect DeviceClip() const { return clip.isNull() ? image->rect() : clip.intersected(image->rect()); }

  // The clipping region selected into the canvas, in device coordinates;
  // none: only the clip above applies. SaveDC keeps copies, newest last.
  std::optional<QRegion> region;
  std::vector<std::optional<QRegion>> savedRegions;
  // Whether drawing may touch the device point.
  bool Visible(QPoint device) const {
    return DeviceClip().contains(device) && (!region || region->contains(device));
  }
};

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
// The Qt font for f: substituted family, pixel size from the height,
// styles; no hinting differences between screen and image.
QFont ToQFont(const TFont& f);

// A painter on a canvas's surface with its origin and clipping applied,
// for the duration of one drawing operation.
class SurfacePainter {
 public:
  explicit SurfacePainter(TCanvasSurface& surface);
  ~SurfacePainter();
  QPainter& operator*() { return painter_; }
  QPainter* operator->() { return &painter_; }

 private:
  QPainter painter_;
};

// The composition of a pen mode, or nothing for modes drawn as plain copies.
std::optional<QPainter::CompositionMode> PenModeComposition(TPenMode mode);

}  // namespace vcl
