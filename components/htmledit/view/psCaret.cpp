#include "htmledit/view/psCaret.h"

#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psWindows.h"
#include "vcl/Caret.h"
#include "vcl/Controls.h"
#include "vcl/ScrollingControl.h"
#include "vcl/WinApi.h"

namespace htmlview {

TpsCaret::TpsCaret(vcl::TWinControl* aControl, bool aDesignMode, TpsWindowManager* aManager,
                   TpsAbstractCanvas* aCanvas)
    : Control(aControl), Canvas(aCanvas), Manager(aManager), DesignMode(aDesignMode) {
  const TpsPoint view = ViewOrigin();
  PlacedViewLeft = view.X;
  PlacedViewTop = view.Y;
  StorePosition(0, 0);
}

TpsCaret::~TpsCaret() {
  if (Visible) vcl::DestroyCaret();
}

TpsPoint TpsCaret::RootOrigin() const {
  TpsWindow* root = Manager ? Manager->Root() : nullptr;
  return root ? TpsPoint{root->Left, root->Top} : TpsPoint{0, 0};
}

TpsPoint TpsCaret::ViewOrigin() const {
  if (!Canvas) return {0, 0};
  const TpsRect& v = Canvas->GetViewport();
  return {v.Left, v.Top};
}

void TpsCaret::StorePosition(Integer aX, Integer aY) {
  X = aX;
  Y = aY;
  const TpsPoint root = RootOrigin();
  DocX = X + root.X;
  DocY = Y + root.Y;
}

TpsPoint TpsCaret::GetClientPos() const {
  const TpsPoint view = ViewOrigin();
  return {DocX - view.X, DocY - view.Y};
}

void TpsCaret::SetPosition(Integer aX, Integer aY) { SetBounds(aX, aY, Width, Height); }

void TpsCaret::SetSize(Integer aWidth, Integer aHeight) { SetBounds(X, Y, aWidth, aHeight); }

void TpsCaret::SetBounds(Integer aX, Integer aY, Integer aWidth, Integer aHeight) {
  const bool wasVisible = Visible;
  if (wasVisible) SetVisible(false);
  StorePosition(aX, aY);
  Width = aWidth;
  Height = aHeight;
  if (wasVisible) SetVisible(true);
}

void TpsCaret::UpdatePosition() {
  const TpsPoint root = RootOrigin();
  const TpsPoint view = ViewOrigin();
  if (root.X + X != DocX || root.Y + Y != DocY || view.X != PlacedViewLeft || view.Y != PlacedViewTop)
    SetPosition(X, Y);
}

void TpsCaret::SetVisible(bool aShow) {
  if (ReadOnly || DesignMode) return;
  if (!aShow) {
    if (!Visible) return;
    vcl::HideCaret(Control->Handle());
    vcl::DestroyCaret();
    Visible = false;
    return;
  }
  if (Visible || !Control || !Control->Showing() || !Control->Focused()) return;
  const TpsPoint view = ViewOrigin();
  PlacedViewLeft = view.X;
  PlacedViewTop = view.Y;
  if (!vcl::CreateCaret(Control->Handle(), Width, Height)) return;
  vcl::SetCaretPos(DocX - view.X, DocY - view.Y);
  vcl::ShowCaret(Control->Handle());
  Visible = true;
}

void TpsCaret::SetReadOnly(bool aValue) {
  if (aValue == ReadOnly) return;
  if (aValue) {
    SetVisible(false);
    ReadOnly = true;
  } else {
    ReadOnly = false;
    SetVisible(true);
  }
}

// --- Scroll bars ---

TpsVCLScrollBar::TpsVCLScrollBar(Byte aKind, vcl::TControlScrollBar* aScrollBar, vcl::TWinControl* aControl)
    : TpsScrollBar(aKind), ScrollBar(aScrollBar), Control(aControl) {}

void TpsVCLScrollBar::SetEnabled(bool aValue) {
  vcl::EnableScrollBar(Control->Handle(), Kind == sbkVertical ? vcl::SB_VERT : vcl::SB_HORZ,
                       aValue ? vcl::ESB_ENABLE_BOTH : vcl::ESB_DISABLE_BOTH);
}

Integer TpsVCLScrollBar::GetPosition() { return ScrollBar->Position(); }
void TpsVCLScrollBar::SetPosition(Integer aValue) { ScrollBar->SetPosition(aValue); }
Integer TpsVCLScrollBar::GetRange() { return ScrollBar->Range(); }
void TpsVCLScrollBar::SetRange(Integer aValue) { ScrollBar->SetRange(aValue); }
bool TpsVCLScrollBar::GetTracking() { return ScrollBar->Tracking(); }
void TpsVCLScrollBar::SetTracking(bool aValue) { ScrollBar->SetTracking(aValue); }
bool TpsVCLScrollBar::GetVisible() { return ScrollBar->Visible(); }
void TpsVCLScrollBar::SetVisible(bool aValue) { ScrollBar->SetVisible(aValue); }

}  // namespace htmlview
