// Shapes, clipping, copies between canvases and the desktop's 3D edges
// and frame controls, drawn with the canvas's pen, brush and clipping.
#include <QPolygon>
#include <cmath>
#include <deque>

#include "vcl/Gdi.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"
#include "vcl/QtCanvas.h"
#include "vcl/Regions.h"

namespace vcl {

namespace {

QRgb ToRgb(TColor c) { return ToQColor(c).rgb() & 0x00FFFFFF; }

Qt::PenStyle QtPenStyle(TPenStyle s) {
  switch (s) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}

Qt::BrushStyle QtBrushStyle(TBrushStyle s) {
  switch (s) {
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
  }
}

QColor ModePenColor(const TPen& pen) {
  if (pen.Mode() == pmBlack) return Qt::black;
  if (pen.Mode() == pmWhite) return Qt::white;
  return ToQColor(pen.Color());
}

// Pen and brush of a filled shape; false when the pen mode draws nothing.
bool SetupShape(QPainter& p, const TPen& pen, const TBrush& brush) {
  if (pen.Mode() == pmNop) return false;
  if (auto c = PenModeComposition(pen.Mode())) p.setCompositionMode(*c);
  if (pen.Style() == psClear) {
    p.setPen(Qt::NoPen);
  } else {
    QPen qp(ModePenColor(pen), pen.Width(), QtPenStyle(pen.Style()), Qt::SquareCap, Qt::MiterJoin);
    p.setPen(qp);
  }
  if (brush.Style() == bsClear) {
    p.setBrush(Qt::NoBrush);
  } else {
    QColor bc = pen.Mode() == pmBlack ? QColor(Qt::black) : pen.Mode() == pmWhite ? QColor(Qt::white) : ToQColor(brush.Color());
    p.setBrush(QBrush(bc, QtBrushStyle(brush.Style())));
  }
  return true;
}

// The box a shape's outline runs along: the bounds with the right and
// bottom edges left out.
QRectF ShapeBox(Integer x1, Integer y1, Integer x2, Integer y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  return QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

}  // namespace

// --- Shapes ---

void TCanvas::RoundRect(Integer x1, Integer y1, Integer x2, Integer y2, Integer cornerWidth, Integer cornerHeight) {
  RequiredState();
  Changing();
  {
    SurfacePainter p(*surface_);
    if (SetupShape(*p, pen_, brush_))
      p->drawRoundedRect(ShapeBox(x1, y1, x2, y2), cornerWidth / 2.0, cornerHeight / 2.0);
  }
  Changed();
}

void TCanvas::Ellipse(Integer x1, Integer y1, Integer x2, Integer y2) {
  RequiredState();
  Changing();
  {
    SurfacePainter p(*surface_);
    if (SetupShape(*p, pen_, brush_)) p->drawEllipse(ShapeBox(x1, y1, x2, y2));
  }
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  RequiredState();
  if (points.size() < 2) return;
  Changing();
  {
    SurfacePainter p(*surface_);
    QPolygon poly;
    for (const TPoint& pt : points) poly << QPoint(pt.X, pt.Y);
    if (SetupShape(*p, pen_, brush_)) p->drawPolygon(poly, Qt::OddEvenFill);
  }
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.size() < 2) return;
  TPoint saved = penPos_;
  MoveTo(points[0].X, points[0].Y);
  for (size_t i = 1; i < points.size(); ++i) LineTo(points[i].X, points[i].Y);
  penPos_ = saved;
}

void TCanvas::Arc(Integer x1, Integer y1, Integer x2, Integer y2, Integer x3, Integer y3, Integer x4, Integer y4) {
  RequiredState();
  Changing();
  {
    SurfacePainter p(*surface_);
    QRectF box = ShapeBox(x1, y1, x2, y2);
    QPointF c = box.center();
    // Angles are measured with y pointing up, as Qt's arcs are.
    double a1 = std::atan2(-(y3 - c.y()), x3 - c.x()) * 180.0 / M_PI;
    double a2 = std::atan2(-(y4 - c.y()), x4 - c.x()) * 180.0 / M_PI;
    double span = a2 - a1;
    while (span <= 0) span += 360.0;
    TBrush none;
    none.SetStyle(bsClear);
    if (SetupShape(*p, pen_, none))
      p->drawArc(box, static_cast<int>(std::lround(a1 * 16)), static_cast<int>(std::lround(span * 16)));
  }
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  RequiredState();
  if (r.IsEmpty()) return;
  Changing();
  QImage& img = *surface_->image;
  auto toggle = [&](Integer x, Integer y) {
    QPoint d = QPoint(x, y) + surface_->origin;
    if (((d.x() + d.y()) & 1) != 0 || !surface_->Visible(d)) return;
    img.setPixel(d, img.pixel(d) ^ 0x00FFFFFF);
  };
  for (Integer x = r.Left; x < r.Right; ++x) {
    toggle(x, r.Top);
    if (r.Bottom - 1 > r.Top) toggle(x, r.Bottom - 1);
  }
  for (Integer y = r.Top + 1; y < r.Bottom - 1; ++y) {
    toggle(r.Left, y);
    if (r.Right - 1 > r.Left) toggle(r.Right - 1, y);
  }
  Changed();
}

void TCanvas::FloodFill(Integer x, Integer y, TColor color, TFillStyle style) {
  RequiredState();
  QImage& img = *surface_->image;
  QPoint start = QPoint(x, y) + surface_->origin;
  if (!surface_->Visible(start)) return;
  QRgb target = ToRgb(color);
  auto inside = [&](QPoint d) {
    QRgb c = img.pixel(d) & 0x00FFFFFF;
    return style == fsBorder ? c != target : c == target;
  };
  if (!inside(start)) return;
  Changing();
  QRgb fill = 0xFF000000 | ToRgb(brush_.Color());
  // A fill colour that itself counts as inside would loop forever; the
  // visited marks keep each pixel to one visit.
  std::vector<bool> seen(static_cast<size_t>(img.width()) * img.height());
  std::deque<QPoint> todo{start};
  std::vector<QPoint> area;
  while (!todo.empty()) {
    QPoint d = todo.front();
    todo.pop_front();
    if (!surface_->Visible(d)) continue;
    size_t i = static_cast<size_t>(d.y()) * img.width() + d.x();
    if (seen[i] || !inside(d)) continue;
    seen[i] = true;
    area.push_back(d);
    todo.push_back(d + QPoint(1, 0));
    todo.push_back(d + QPoint(-1, 0));
    todo.push_back(d + QPoint(0, 1));
    todo.push_back(d + QPoint(0, -1));
  }
  for (const QPoint& d : area) img.setPixel(d, fill);
  Changed();
}

// --- Clipping ---

Integer TCanvas::SaveDC() {
  RequiredState();
  surface_->savedRegions.push_back(surface_->region);
  return static_cast<Integer>(surface_->savedRegions.size());
}

bool TCanvas::RestoreDC(Integer level) {
  RequiredState();
  auto& saved = surface_->savedRegions;
  Integer count = static_cast<Integer>(saved.size());
  if (level < 0) level = count + level + 1;
  if (level < 1 || level > count) return false;
  surface_->region = saved[level - 1];
  saved.resize(level - 1);
  return true;
}

void TCanvas::IntersectClipRect(const TRect& r) {
  RequiredState();
  QRegion area = surface_->region ? *surface_->region : QRegion(surface_->DeviceClip());
  QRect d = QRect(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height())).translated(surface_->origin);
  surface_->region = area & QRegion(d);
}

void TCanvas::ExcludeClipRect(const TRect& r) {
  RequiredState();
  QRegion area = surface_->region ? *surface_->region : QRegion(surface_->DeviceClip());
  QRect d = QRect(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height())).translated(surface_->origin);
  surface_->region = area - QRegion(d);
}

void TCanvas::SelectClipRegion(const TRegion* region) {
  RequiredState();
  if (!region) {
    surface_->region.reset();
    return;
  }
  QRegion q;
  for (const TRect& b : region->Rects()) q += QRect(b.Left, b.Top, b.Width(), b.Height());
  surface_->region = q.translated(surface_->origin);
}

TRect TCanvas::ClipRect() {
  if (!HandleAllocated()) CreateHandle();
  if (!HandleAllocated()) return {};
  QRegion area(surface_->DeviceClip());
  if (surface_->region) area &= *surface_->region;
  QRect b = area.boundingRect().translated(-surface_->origin);
  if (b.isEmpty()) return {};
  return Bounds(b.x(), b.y(), b.width(), b.height());
}

// --- Pictures and copies ---

void TCanvas::Draw(Integer x, Integer y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  RequiredState();
  Changing();
  graphic->Draw(this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
  BlitFrom(dest, source, sourceRect, copyMode_);
}

namespace {

// The source pixels under sourceRect, stretched to w by h; pixels outside
// the source surface are black.
QImage SourcePixels(TCanvasSurface& s, const TRect& sourceRect, int w, int h) {
  QRect src = QRect(sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height()).translated(s.origin);
  QImage sub = s.image->copy(src).convertToFormat(QImage::Format_RGB32);
  if (sub.width() != w || sub.height() != h) sub = sub.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return sub;
}

}  // namespace

namespace {

// Runs fn(y, x0, x1) over the rows of the visible part of a device
// rectangle (x1 exclusive), with a pixel accessor that takes the fast
// path on 32-bit images.
class PixelRows {
 public:
  explicit PixelRows(QImage& image) : image_(image), wide_(image.depth() == 32) {}
  QRgb Get(int x, int y) const {
    return (wide_ ? reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x] : image_.pixel(x, y)) & 0x00FFFFFF;
  }
  void Set(int x, int y, QRgb rgb) {
    if (wide_) {
      reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = 0xFF000000 | rgb;
    } else {
      image_.setPixel(x, y, 0xFF000000 | rgb);
    }
  }

 private:
  QImage& image_;
  bool wide_;
};

template <typename Fn>
void ForVisibleRows(const TCanvasSurface& s, const QRect& device, Fn fn) {
  QRegion area(s.DeviceClip() & device);
  if (s.region) area &= *s.region;
  for (const QRect& r : area)
    for (int y = r.top(); y <= r.bottom(); ++y) fn(y, r.left(), r.right() + 1);
}

}  // namespace

void TCanvas::BlitFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Cardinal rop, TColor transparent) {
  RequiredState();
  if (dest.IsEmpty()) return;
  // The operation reads the source unless its truth table is the same for
  // source 0 and source 1.
  bool usesSource = (((rop >> 18) ^ (rop >> 16)) & 0x33) != 0;
  QImage sub;
  if (usesSource) {
    if (!source) return;
    source->RequiredState();
    if (sourceRect.IsEmpty()) return;
    sub = SourcePixels(*source->surface_, sourceRect, dest.Width(), dest.Height());
  }
  Changing();
  PixelRows pixels(*surface_->image);
  QRgb pattern = ToRgb(brush_.Color());
  QRgb key = transparent == clNone ? 0xFFFFFFFF : ToRgb(transparent & 0x00FFFFFF);
  bool plainCopy = (rop & 0x00FF0000) == (SRCCOPY & 0x00FF0000);
  QPoint o = surface_->origin + QPoint(dest.Left, dest.Top);
  QRect device(o, QSize(dest.Width(), dest.Height()));
  ForVisibleRows(*surface_, device, [&](int y, int x0, int x1) {
    const QRgb* src = usesSource ? reinterpret_cast<const QRgb*>(sub.constScanLine(y - o.y())) : nullptr;
    for (int x = x0; x < x1; ++x) {
      QRgb sv = src ? src[x - o.x()] & 0x00FFFFFF : 0;
      if (src && sv == key) continue;
      pixels.Set(x, y, plainCopy ? sv : ApplyRop3(rop, pattern, sv, pixels.Get(x, y)));
    }
  });
  Changed();
}

void TCanvas::AlphaBlendFrom(const TRect& dest, TCanvas* source, const TRect& sourceRect, Byte alpha) {
  RequiredState();
  if (!source || dest.IsEmpty() || sourceRect.IsEmpty() || alpha == 0) return;
  source->RequiredState();
  QImage sub = SourcePixels(*source->surface_, sourceRect, dest.Width(), dest.Height());
  Changing();
  PixelRows pixels(*surface_->image);
  const int a = alpha, na = 255 - alpha;
  auto mix = [&](QRgb s, QRgb d, int shift) {
    const int sv = (s >> shift) & 0xFF, dv = (d >> shift) & 0xFF;
    return static_cast<QRgb>((sv * a + dv * na + 127) / 255) << shift;
  };
  QPoint o = surface_->origin + QPoint(dest.Left, dest.Top);
  QRect device(o, QSize(dest.Width(), dest.Height()));
  ForVisibleRows(*surface_, device, [&](int y, int x0, int x1) {
    const auto* src = reinterpret_cast<const QRgb*>(sub.constScanLine(y - o.y()));
    for (int x = x0; x < x1; ++x) {
      const QRgb s = src[x - o.x()], d = pixels.Get(x, y);
      pixels.Set(x, y, mix(s, d, 16) | mix(s, d, 8) | mix(s, d, 0));
    }
  });
  Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* source, const TRect& sourceRect, TColor transparent) {
  RequiredState();
  if (!source || source->Empty() || dest.IsEmpty() || sourceRect.IsEmpty()) return;
  TCanvasSurface s;
  s.image = &source->Pixels();
  QImage sub = SourcePixels(s, sourceRect, dest.Width(), dest.Height());
  QRgb key = ToRgb(transparent & 0x00FFFFFF);
  QRgb fill = ToRgb(brush_.Color());
  Changing();
  PixelRows pixels(*surface_->image);
  QPoint o = surface_->origin + QPoint(dest.Left, dest.Top);
  QRect device(o, QSize(dest.Width(), dest.Height()));
  ForVisibleRows(*surface_, device, [&](int y, int x0, int x1) {
    const auto* src = reinterpret_cast<const QRgb*>(sub.constScanLine(y - o.y()));
    for (int x = x0; x < x1; ++x) {
      QRgb c = src[x - o.x()] & 0x00FFFFFF;
      pixels.Set(x, y, c == key ? fill : c);
    }
  });
  Changed();
}

// --- 3D edges and frame controls ---

namespace {

// Fills r with one colour, leaving the canvas's brush as it was.
void FillWith(TCanvas* c, const TRect& r, TColor color) {
  if (r.IsEmpty()) return;
  TBrush saved;
  saved.Assign(c->Brush());
  c->Brush()->SetColor(color);
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  c->SetBrush(&saved);
}

// One ring of an edge: the top and left lines stop short of the far
// corners, which belong to the bottom and right lines.
void EdgeRing(TCanvas* c, TRect& r, Cardinal sides, TColor topLeft, TColor bottomRight) {
  if (sides & BF_LEFT) FillWith(c, Rect(r.Left, r.Top, r.Left + 1, r.Bottom - 1), topLeft);
  if (sides & BF_TOP) FillWith(c, Rect(r.Left, r.Top, r.Right - 1, r.Top + 1), topLeft);
  if (sides & BF_RIGHT) FillWith(c, Rect(r.Right - 1, r.Top, r.Right, r.Bottom), bottomRight);
  if (sides & BF_BOTTOM) FillWith(c, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), bottomRight);
  if (sides & BF_LEFT) ++r.Left;
  if (sides & BF_TOP) ++r.Top;
  if (sides & BF_RIGHT) --r.Right;
  if (sides & BF_BOTTOM) --r.Bottom;
}

void Triangle(TCanvas* c, std::vector<TPoint> pts, TColor color) {
  TPen pen;
  pen.Assign(c->Pen());
  TBrush brush;
  brush.Assign(c->Brush());
  c->Pen()->SetColor(color);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetMode(pmCopy);
  c->Pen()->SetWidth(1);
  c->Brush()->SetColor(color);
  c->Brush()->SetStyle(bsSolid);
  c->Polygon(pts);
  c->SetPen(&pen);
  c->SetBrush(&brush);
}

// An arrow of the scroll kinds (0 up, 1 down, 2 left, 3 right) centred in r.
void Arrow(TCanvas* c, const TRect& r, Cardinal kind, TColor color) {
  Integer size = std::min(r.Width(), r.Height());
  Integer h = std::max<Integer>(1, (size - 2) / 4);  // rows of the triangle
  Integer cx = r.Left + (r.Width() - 1) / 2, cy = r.Top + (r.Height() - 1) / 2;
  switch (kind) {
    case 0: Triangle(c, {{cx, cy - h / 2}, {cx - h, cy - h / 2 + h}, {cx + h, cy - h / 2 + h}}, color); break;
    case 1: Triangle(c, {{cx - h, cy - h / 2}, {cx + h, cy - h / 2}, {cx, cy - h / 2 + h}}, color); break;
    case 2: Triangle(c, {{cx - h / 2, cy}, {cx - h / 2 + h, cy - h}, {cx - h / 2 + h, cy + h}}, color); break;
    default: Triangle(c, {{cx - h / 2, cy - h}, {cx - h / 2, cy + h}, {cx - h / 2 + h, cy}}, color); break;
  }
}

void CheckMark(TCanvas* c, const TRect& r, TColor color) {
  // Seven columns three pixels tall: down two steps, then up four.
  static constexpr Integer kDrop[7] = {2, 3, 4, 3, 2, 1, 0};
  Integer x = r.Left + (r.Width() - 7) / 2, y = r.Top + (r.Height() - 7) / 2;
  for (Integer i = 0; i < 7; ++i) FillWith(c, Rect(x + i, y + kDrop[i], x + i + 1, y + kDrop[i] + 3), color);
}

}  // namespace

bool TCanvas::DrawEdge(TRect& r, Cardinal edge, Cardinal flags) {
  TRect rr = r;
  Cardinal sides = flags & BF_RECT;
  bool soft = flags & BF_SOFT;
  TColor outerTL = clNone, outerBR = clNone, innerTL = clNone, innerBR = clNone;
  if (edge & BDR_RAISEDOUTER) {
    outerTL = soft ? clBtnHighlight : cl3DLight;
    outerBR = cl3DDkShadow;
  } else if (edge & BDR_SUNKENOUTER) {
    outerTL = soft ? cl3DDkShadow : clBtnShadow;
    outerBR = clBtnHighlight;
  }
  if (edge & BDR_RAISEDINNER) {
    innerTL = soft ? cl3DLight : clBtnHighlight;
    innerBR = clBtnShadow;
  } else if (edge & BDR_SUNKENINNER) {
    innerTL = soft ? clBtnShadow : cl3DDkShadow;
    innerBR = cl3DLight;
  }
  TColor middle = clBtnFace;
  if (flags & BF_MONO) {
    if (outerTL != clNone) outerTL = outerBR = clWindowFrame;
    if (innerTL != clNone) innerTL = innerBR = clWindow;
    middle = clWindow;
  } else if (flags & BF_FLAT) {
    if (outerTL != clNone) outerTL = outerBR = clBtnShadow;
    if (innerTL != clNone) innerTL = innerBR = clBtnFace;
  }
  if (outerTL != clNone) EdgeRing(this, rr, sides, outerTL, outerBR);
  if (innerTL != clNone) EdgeRing(this, rr, sides, innerTL, innerBR);
  if (flags & BF_MIDDLE) FillWith(this, rr, middle);
  if (flags & BF_ADJUST) r = rr;
  return true;
}

bool TCanvas::DrawFrameControl(TRect& r, Cardinal type, Cardinal state) {
  Cardinal part = state & 0xFF;
  bool pushed = state & DFCS_PUSHED, flat = state & DFCS_FLAT, inactive = state & DFCS_INACTIVE;
  TColor glyph = inactive ? clGrayText : clBtnText;
  // The raised button most kinds sit on; its inside, after the edges.
  auto button = [&](TRect& area) {
    if (flat) {
      FillWith(this, area, clBtnFace);
      TBrush saved;
      saved.Assign(Brush());
      Brush()->SetColor(clBtnShadow);
      FrameRect(area);
      SetBrush(&saved);
      InflateRect(area, -1, -1);
    } else {
      DrawEdge(area, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    }
    if (pushed) OffsetRect(area, 1, 1);
  };
  switch (type) {
    case DFC_BUTTON: {
      if (part & DFCS_BUTTONPUSH) {
        TRect inner = r;
        button(inner);
        if (state & DFCS_ADJUSTRECT) InflateRect(r, -2, -2);
        return true;
      }
      Integer size = std::min({r.Width(), r.Height(), 13});
      TRect box = Bounds(r.Left, r.Top + (r.Height() - size) / 2, size, size);
      TColor face = (pushed || inactive) ? clBtnFace : clWindow;
      if (part & DFCS_BUTTONRADIO) {
        TPen pen;
        pen.Assign(Pen());
        TBrush brush;
        brush.Assign(Brush());
        Pen()->SetColor(clBtnShadow);
        Pen()->SetStyle(psSolid);
        Pen()->SetMode(pmCopy);
        Brush()->SetColor(face);
        Ellipse(box);
        if (state & DFCS_CHECKED) {
          Pen()->SetColor(glyph);
          Brush()->SetColor(glyph);
          TRect dot = box;
          InflateRect(dot, -size / 3, -size / 3);
          Ellipse(dot);
        }
        SetPen(&pen);
        SetBrush(&brush);
        return true;
      }
      TRect inner = box;
      if (flat) {
        FillWith(this, inner, face);
        TBrush saved;
        saved.Assign(Brush());
        Brush()->SetColor(clBtnShadow);
        FrameRect(inner);
        SetBrush(&saved);
        InflateRect(inner, -1, -1);
      } else {
        DrawEdge(inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillWith(this, inner, face);
      }
      if (state & DFCS_CHECKED) CheckMark(this, inner, glyph);
      return true;
    }
    case DFC_SCROLL: {
      TRect inner = r;
      if (part == DFCS_SCROLLSIZEGRIP) {
        FillWith(this, inner, clBtnFace);
        // Three pairs of diagonal strokes towards the bottom-right corner.
        for (Integer k = 0; k < 3; ++k) {
          Integer off = 4 * k + 2;
          for (Integer i = 0; i < off; ++i) {
            Integer x = r.Right - off + i, y = r.Bottom - 1 - i;
            FillWith(this, Rect(x, y, x + 1, y + 1), clBtnHighlight);
            FillWith(this, Rect(x + 1, y, x + 2, y + 1), clBtnShadow);
          }
        }
        return true;
      }
      button(inner);
      Cardinal kind = part == DFCS_SCROLLCOMBOBOX ? 1 : part;
      Arrow(this, inner, kind, glyph);
      return true;
    }
    case DFC_CAPTION: {
      TRect inner = r;
      button(inner);
      Integer size = std::min(inner.Width(), inner.Height()) - 4;
      if (size < 3) return true;
      TRect g = Bounds(inner.Left + (inner.Width() - size) / 2, inner.Top + (inner.Height() - size) / 2, size, size);
      switch (part) {
        case DFCS_CAPTIONCLOSE:
          // Two diagonals two pixels thick.
          for (Integer i = 0; i < size; ++i) {
            TRect a, b;
            IntersectRect(a, Rect(g.Left + i, g.Top + i, g.Left + i + 2, g.Top + i + 1), g);
            IntersectRect(b, Rect(g.Right - 2 - i, g.Top + i, g.Right - i, g.Top + i + 1), g);
            FillWith(this, a, glyph);
            FillWith(this, b, glyph);
          }
          break;
        case DFCS_CAPTIONMIN: FillWith(this, Rect(g.Left, g.Bottom - 2, g.Right - size / 3, g.Bottom), glyph); break;
        case DFCS_CAPTIONMAX: {
          TBrush saved;
          saved.Assign(Brush());
          Brush()->SetColor(glyph);
          FrameRect(g);
          FillRect(Rect(g.Left, g.Top, g.Right, g.Top + 2));
          SetBrush(&saved);
          break;
        }
        case DFCS_CAPTIONRESTORE: {
          TBrush saved;
          saved.Assign(Brush());
          Brush()->SetColor(glyph);
          Integer s2 = size * 2 / 3;
          TRect back = Bounds(g.Right - s2, g.Top, s2, s2);
          TRect front = Bounds(g.Left, g.Bottom - s2, s2, s2);
          FrameRect(back);
          FillRect(Rect(back.Left, back.Top, back.Right, back.Top + 2));
          FillWith(this, front, clBtnFace);
          FrameRect(front);
          FillRect(Rect(front.Left, front.Top, front.Right, front.Top + 2));
          SetBrush(&saved);
          break;
        }
        default: {
          TFont savedFont;
          savedFont.Assign(Font());
          TBrush saved;
          saved.Assign(Brush());
          Brush()->SetStyle(bsClear);
          Font()->SetColor(glyph);
          Font()->SetStyle(TFontStyles{fsBold});
          TRect t = g;
          DrawText("?", t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
          SetBrush(&saved);
          SetFont(&savedFont);
          break;
        }
      }
      return true;
    }
    case DFC_MENU: {
      switch (part) {
        case DFCS_MENUARROW: Arrow(this, r, 3, glyph); break;
        case DFCS_MENUCHECK: CheckMark(this, r, glyph); break;
        default: {
          TPen pen;
          pen.Assign(Pen());
          TBrush brush;
          brush.Assign(Brush());
          Pen()->SetColor(glyph);
          Pen()->SetMode(pmCopy);
          Pen()->SetStyle(psSolid);
          Brush()->SetColor(glyph);
          Integer d = std::max<Integer>(2, std::min(r.Width(), r.Height()) / 3);
          Ellipse(Bounds(r.Left + (r.Width() - d) / 2, r.Top + (r.Height() - d) / 2, d, d));
          SetPen(&pen);
          SetBrush(&brush);
          break;
        }
      }
      return true;
    }
    default: return false;
  }
}

}  // namespace vcl
