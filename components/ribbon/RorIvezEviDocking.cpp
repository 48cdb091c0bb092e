// The toolbar in a dock panel: entering and leaving the panel, bounds that
// the panel's rows adjust, and a full-size toolbar's own row.
#include "ribbon/RorIvezEviDockPanel.h"
#include "ribbon/RorIvezEviToolBar.h"

namespace ribbon {

void TLumCustomToolBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int oldLength = Horizontal() ? Width() : Height();
  if (dockPanel_ && state_ == tsDocked && !boundsByPanel_ && Parent() == dockPanel_)
    dockPanel_->ToolBarMoved(this, ALeft, ATop, AWidth, AHeight);
  vcl::TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!Loading() && (Horizontal() ? Width() : Height()) != oldLength) UpdateOverflow();
}

void TLumCustomToolBar::SetFullSize(bool Value) {
  if (Value == fullSize_) return;
  fullSize_ = Value;
  if (!dockPanel_ || state_ != tsDocked) return;
  if (Value) {
    SetParentStyler(true);
    dockPanel_->Rows()->MakeOwnRow(this);
    UpdateOverflow();
    PositionControls(false);
  } else {
    // The row's full-length constraints give way to the toolbar's own.
    vcl::TSizeConstraints* k = Constraints();
    if (Horizontal())
      k->MinWidth = k->MaxWidth = 0;
    else
      k->MinHeight = k->MaxHeight = 0;
    UpdateSize();
    dockPanel_->ArrangeRows();
  }
}

void TLumCustomToolBar::LeaveDockPanel() {
  if (!dockPanel_) return;
  TLumDockPanel* panel = dockPanel_;
  if (Destroying() && panel->Destroying()) panel->SaveOnTeardown();
  panel->UndockToolBar(this);
  dockPanel_ = nullptr;
  rowIndex_ = -1;
}

bool TLumCustomToolBar::EnterDockPanel(TLumDockPanel* Panel) {
  if (Panel->DockToolBar(this) < 0) {
    dockPanel_ = nullptr;
    return false;
  }
  homeDockPanel_ = Panel;
  return true;
}

void TLumCustomToolBar::DockPanelGone(vcl::TComponent* Panel) {
  if (static_cast<vcl::TComponent*>(dockPanel_) == Panel) {
    dockPanel_ = nullptr;
    rowIndex_ = -1;
  }
  if (static_cast<vcl::TComponent*>(homeDockPanel_) == Panel) homeDockPanel_ = nullptr;
}

}  // namespace ribbon
