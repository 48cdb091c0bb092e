// Window bits, owners, system parameters and canvas window origins.
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/QtCanvas.h"
#include "vcl/WinApi.h"

namespace vcl {

intptr_t GetWindowLong(HWND wnd, Integer index) {
  TWinControl* c = FindControl(wnd);
  if (!c) return 0;
  switch (index) {
    case GWL_STYLE: return static_cast<intptr_t>(c->WindowStyle());
    case GWL_EXSTYLE: return static_cast<intptr_t>(c->WindowExStyle());
    case GWL_HWNDPARENT:
      if (auto* form = dynamic_cast<TCustomForm*>(c)) return static_cast<intptr_t>(form->OwnerWindow());
      return c->Parent() ? static_cast<intptr_t>(c->Parent()->Handle()) : 0;
    default: return 0;
  }
}

intptr_t SetWindowLong(HWND wnd, Integer index, intptr_t value) {
  TWinControl* c = FindControl(wnd);
  if (!c) return 0;
  intptr_t old = GetWindowLong(wnd, index);
  switch (index) {
    case GWL_STYLE: c->SetWindowStyle(static_cast<Cardinal>(value)); break;
    case GWL_EXSTYLE: c->SetWindowExStyle(static_cast<Cardinal>(value)); break;
    case GWL_HWNDPARENT:
      if (auto* form = dynamic_cast<TCustomForm*>(c)) form->SetOwnerWindow(static_cast<HWND>(value));
      break;
    default: return 0;
  }
  return old;
}

Cardinal GetClassLong(HWND wnd, Integer index) {
  TWinControl* c = FindControl(wnd);
  return c && index == GCL_STYLE ? c->ClassStyle() : 0;
}

Cardinal SetClassLong(HWND wnd, Integer index, Cardinal value) {
  TWinControl* c = FindControl(wnd);
  if (!c || index != GCL_STYLE) return 0;
  Cardinal old = c->ClassStyle();
  c->SetClassStyle(value);
  return old;
}

bool SystemParametersInfo(Cardinal action, Cardinal, void* data, Cardinal) {
  if (action == SPI_GETWHEELSCROLLLINES && data) {
    *static_cast<Cardinal*>(data) = 3;
    return true;
  }
  return false;
}

namespace {

// The canvas's surface, bound when the canvas can have one.
TCanvasSurface* BoundSurface(TCanvas* c) {
  if (!c) return nullptr;
  if (!c->HandleAllocated()) c->ClipRect();
  return c->Surface();
}

}  // namespace

bool SetWindowOrgEx(TCanvas* c, Integer x, Integer y, TPoint* old) {
  TCanvasSurface* s = BoundSurface(c);
  if (!s) return false;
  if (old) *old = {s->windowOrg.x(), s->windowOrg.y()};
  QPoint org(x, y);
  s->origin += s->windowOrg - org;
  s->windowOrg = org;
  return true;
}

bool GetWindowOrgEx(TCanvas* c, TPoint* origin) {
  TCanvasSurface* s = BoundSurface(c);
  if (!s || !origin) return false;
  *origin = {s->windowOrg.x(), s->windowOrg.y()};
  return true;
}

bool OffsetWindowOrgEx(TCanvas* c, Integer dx, Integer dy, TPoint* old) {
  TPoint org;
  if (!GetWindowOrgEx(c, &org)) return false;
  return SetWindowOrgEx(c, org.X + dx, org.Y + dy, old);
}

}  // namespace vcl
