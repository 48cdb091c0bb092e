// Dragging a pinned panel by its grip: over a strip that takes it the strip
// shows where it would go and a release pins it there; released anywhere
// else the panel floats in a window of its own.
#include <algorithm>

#include "controls/ToolPanels.h"
#include "vcl/WinApi.h"

namespace controls {

using vcl::Integer;
using vcl::TPoint;
using vcl::TRect;

namespace {

// How far beside a strip a drop still reaches it, so that a strip without
// tabs (no thickness) still takes panels.
constexpr Integer kDockInfluence = 10;

const vcl::TAnchors kDockAnchorsDefault{vcl::akLeft, vcl::akTop};

}  // namespace

// --- the panel ---

void TLumToolPanel::StartDock() {
  if (dockDragging_) return;
  if (strip_) {
    SetOpenWidth(IsVerticalStrip(strip_->Position()) ? Width() : Height());
    if (const Integer i = strip_->PanelIndex(this); i >= 0) strip_->Panels()->Items(i)->State = psDocked;
  }
  dockDragging_ = true;
  dockGrab_ = CursorInClient();
  SetMouseCapture(true);
  if (OnStartDock) OnStartDock(this);
  SetDocked(true);
  // The cursor may already have left the caption by the time the move
  // arrives: then nothing is dragged.
  const TPoint c = CursorInClient();
  if (!(c.Y < 23 && c.X < Width() - 40)) {
    CancelDock();
    EndDock();
    SetDocked(false);
  }
}

void TLumToolPanel::CancelDock() {
  if (!dockDragging_) return;
  dockDragging_ = false;
  SetMouseCapture(false);
  if (dockOver_) dockOver_->dockPreview_ = TRect{};
  dockOver_ = nullptr;
}

TLumToolPanelTab* TLumToolPanel::StripAt(TPoint screen) const {
  TLumToolPanelTab* found = nullptr;
  for (vcl::HWND h : vcl::EnumWindowHandles()) {
    auto* strip = dynamic_cast<TLumToolPanelTab*>(vcl::FindControl(h));
    if (!strip || !strip->Showing()) continue;
    const TPoint p = strip->ScreenToClient(screen);
    if (p.X >= -kDockInfluence && p.Y >= -kDockInfluence && p.X < strip->Width() + kDockInfluence &&
        p.Y < strip->Height() + kDockInfluence) {
      // A strip right under the point wins over one merely near it.
      const bool inside = p.X >= 0 && p.Y >= 0 && p.X < strip->Width() && p.Y < strip->Height();
      if (!found || inside) found = strip;
      if (inside) break;
    }
  }
  return found;
}

void TLumToolPanel::DockMove(TPoint screen) {
  TLumToolPanelTab* target = StripAt(screen);
  if (target != dockOver_) {
    if (dockOver_) {
      const TPoint p = dockOver_->ScreenToClient(screen);
      dockOver_->DockOver(this, p.X, p.Y, vcl::dsDragLeave);
      dockOver_->dockPreview_ = TRect{};
    }
    dockOver_ = target;
    if (target) {
      const TPoint p = target->ScreenToClient(screen);
      target->DockOver(this, p.X, p.Y, vcl::dsDragEnter);
    }
  }
  if (target) {
    const TPoint p = target->ScreenToClient(screen);
    target->DockOver(this, p.X, p.Y, vcl::dsDragMove);
  }
}

void TLumToolPanel::DockRelease(TPoint screen) {
  TLumToolPanelTab* target = StripAt(screen);
  const TPoint grab = dockGrab_;
  CancelDock();
  bool accepted = false;
  TPoint p;
  if (target) {
    p = target->ScreenToClient(screen);
    accepted = target->DockOver(this, p.X, p.Y, vcl::dsDragMove);
    target->dockPreview_ = TRect{};
  }
  if (accepted)
    target->DockDrop(this, p.X, p.Y);
  else
    ManualFloat(vcl::Bounds(screen.X - grab.X, screen.Y - grab.Y, Width(), Height()));
  if (accepted)
    EndDock(target, p.X, p.Y);
  else
    EndDock();
}

void TLumToolPanel::ManualFloat(const TRect& screenBounds) {
  vcl::TComponent* owner = Owner() ? Owner() : static_cast<vcl::TComponent*>(vcl::Application);
  auto* window = new TToolPanelFloatForm(owner);
  // A floating panel stays above the form it came from.
  if (vcl::TCustomForm* form = vcl::GetParentForm(this)) window->SetOwnerWindow(form->Handle());
  window->SetBounds(screenBounds.Left, screenBounds.Top, screenBounds.Width(), screenBounds.Height());
  SetAnchors(kDockAnchorsDefault);
  window->HandleNeeded();  // so that the panel's window moves into it
  SetParent(window);
  SetAlign(vcl::alClient);
  SetVisible(true);
  window->Show();
}

void TLumToolPanel::EndDock(vcl::TObject* target, Integer x, Integer y) {
  if (OnEndDock) OnEndDock(this, target, x, y);
  if (vcl::Screen->Cursor() == vcl::crSizeAll) vcl::Screen->SetCursor(Cursor());
  const bool floating = Floating();
  if (floating != lastFloating_) {
    lastFloating_ = floating;
    // A floating panel draws no caption bar: its children move up into it,
    // and down again when it comes back.
    const Integer shift = floating ? -23 : 23;
    if (showCaption_)
      for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->SetTop(Controls(i)->Top() + shift);
    if (!floating && strip_)
      if (const Integer i = strip_->PanelIndex(this); i >= 0) strip_->Panels()->Items(i)->State = psOpened;
  }
  if (strip_) strip_->RemovePanel(nullptr);
}

// --- the strip ---

bool TLumToolPanelTab::DockOver(TLumToolPanel* panel, Integer x, Integer y, vcl::TDragState state) {
  if (!autoDock_) return false;  // no dock site
  bool accept = true;
  if (OnDockOver) OnDockOver(this, panel, x, y, state, accept);
  if (!accept || !panel) return false;
  TRect r;
  switch (position_) {
    case ppLeft: r = TRect{0, 0, 100, Height()}; break;
    case ppRight: r = TRect{Width() - 100, 0, Width(), Height()}; break;
    case ppTop: r = TRect{0, 0, Width(), 100}; break;
    case ppBottom: r = TRect{0, Height() - 100, Width(), Height()}; break;
  }
  const TPoint tl = ClientToScreen({r.Left, r.Top});
  dockPreview_ = vcl::Bounds(tl.X, tl.Y, r.Width(), r.Height());
  return true;
}

void TLumToolPanelTab::DockDrop(TLumToolPanel* panel, Integer, Integer) {
  if (TLumToolPanelTab* old = panel->strip_) old->RemovePanel(panel);
  AddPanel(panel);
  panel->focused_ = false;
  panel->SetDocked(false);
  const Integer o = panel->OpenWidth();
  panel->strip_ = this;
  panel->SetAnchors(kDockAnchorsDefault);
  // Placed by its coordinates first, aligned once they are all set.
  vcl::TWinControl* host = Parent();
  if (host) host->DisableAlign();
  panel->SetAlign(vcl::alNone);
  switch (position_) {
    case ppLeft:
      panel->SetParent(Parent());
      panel->SetLeft(tabWidth_);
      panel->SetAlign(vcl::alLeft);
      panel->SetTop(Top() + 10);
      break;
    case ppRight:
      panel->SetLeft(Left() - o - 1);
      panel->SetWidth(panel->OpenWidth());
      panel->SetAlign(vcl::alRight);
      panel->SetParent(Parent());
      break;
    case ppTop:
      panel->SetParent(Parent());
      panel->SetTop(tabWidth_);
      panel->SetAlign(vcl::alTop);
      break;
    case ppBottom:
      panel->SetTop(Top() - o - 1);
      panel->SetHeight(panel->OpenWidth());
      panel->SetAlign(vcl::alBottom);
      panel->SetParent(Parent());
      break;
  }
  panel->SetOpenWidth(o);
  try {
    panel->SetLocked(true);
  } catch (...) {
    if (host) host->EnableAlign();
    throw;
  }
  if (host) host->EnableAlign();
  panel->SetOpenWidth(o);
  if (IsVerticalStrip(position_))
    panel->SetWidth(o);
  else
    panel->SetHeight(o);
}

}  // namespace controls
