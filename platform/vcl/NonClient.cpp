// Device contexts of windows, their clip boxes, and redrawing a window with
// its border.
#include <QRegion>

#include "vcl/Gdi.h"
#include "vcl/QtCanvas.h"
#include "vcl/QtHost.h"
#include "vcl/WinApi.h"

namespace vcl {

void TWindowCanvas::CreateHandle() {
  if (!control_) return;
  control_->HandleNeeded();
  TWinControlHost* host = control_->host_.get();
  if (!host || !host->surface) return;
  auto s = std::make_unique<TCanvasSurface>();
  s->image = &host->buffer;
  if (area_ == TArea::Client) {
    const TRect& insets = control_->ncInsets_;
    TRect client = control_->ClientRect();
    s->origin = QPoint(insets.Left, insets.Top);
    s->clip = QRect(s->origin, QSize(client.Width(), client.Height()));
  }
  // A window that is not on the screen shows nothing of what is drawn.
  if (!control_->Showing()) s->region = QRegion();
  s->drawn = [host] {
    if (!host->painting && host->widget) host->widget->update();
  };
  SetSurface(std::move(s));
}

namespace {

std::unique_ptr<TCanvas> WindowDC(HWND wnd, TWindowCanvas::TArea area) {
  TWinControl* control = FindControl(wnd);
  if (!control || !control->Host() || !control->Host()->surface) return nullptr;
  return std::make_unique<TWindowCanvas>(control, area);
}

}  // namespace

std::unique_ptr<TCanvas> GetDC(HWND wnd) { return WindowDC(wnd, TWindowCanvas::TArea::Client); }
std::unique_ptr<TCanvas> GetWindowDC(HWND wnd) { return WindowDC(wnd, TWindowCanvas::TArea::Window); }

Integer GetClipBox(TCanvas* c, TRect& rect) {
  rect = {};
  if (!c) return RGN_ERROR;
  rect = c->ClipRect();  // binds a surface when the canvas can have one
  TCanvasSurface* s = c->Surface();
  if (!s || !s->image) return RGN_ERROR;
  QRegion area(s->DeviceClip());
  if (s->region) area &= *s->region;
  if (area.isEmpty()) return NULLREGION;
  return area.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool RedrawWindow(HWND wnd, const TRect* update, Cardinal flags) {
  TWinControl* control = FindControl(wnd);
  if (!control) return false;
  TWinControlHost* host = control->Host();
  if (host && host->surface) {
    if (flags & RDW_INVALIDATE) {
      if (!update || !update->IsEmpty()) host->dirty = true;
      if (flags & RDW_FRAME) host->frameDirty = true;
      if (host->widget) host->widget->update();
    }
    if (flags & RDW_VALIDATE) host->dirty = false;
    if (flags & RDW_NOFRAME) host->frameDirty = false;
  } else if (flags & RDW_INVALIDATE) {
    control->Invalidate();
  }
  if (flags & RDW_ALLCHILDREN)
    for (Integer i = 0; i < control->ControlCount(); ++i)
      if (auto* child = dynamic_cast<TWinControl*>(control->Controls(i)); child && child->HandleAllocated())
        RedrawWindow(child->Handle(), nullptr, flags);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) control->Update();
  return true;
}

}  // namespace vcl
