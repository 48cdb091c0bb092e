#include "support/WexTreeView.h"

#include "support/FrameDrawing.h"
#include "support/StartupProbes.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace support {

using namespace vcl;

TWexCustomTreeView::TWexCustomTreeView(TComponent* owner)
    : TCustomTreeView(owner),
      disabledColor_(clBtnFace),
      focusColor_(clWindow),
      normalColor_(clWindow),
      frameColor_(clBtnShadow),
      frameHotColor_(clBtnShadow),
      selectionPen_(std::make_unique<TPen>()) {
  selectionPen_->SetColor(clBtnShadow);
  selectionPen_->SetStyle(psSolid);
  selectionPen_->OnChange = [this](TObject*) { Invalidate(); };
  frameCanvas_ = std::make_unique<TWindowCanvas>(this, TWindowCanvas::TArea::Window);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

TWexCustomTreeView::~TWexCustomTreeView() {
  if (frameController_) frameController_->UnlinkControl(this);
  frameController_ = nullptr;
  frameCanvas_.reset();
}

TTreeNode* TWexCustomTreeView::GetSelected() {
  if (!HandleAllocated()) return nullptr;
  if (rightClickSelect_ && rightClickNode_) return rightClickNode_;
  return Selected();
}

// --- settings ---

bool TWexCustomTreeView::AutoExpand() const { return TCustomTreeView::AutoExpand(); }

void TWexCustomTreeView::SetAutoExpand(bool v) {
  TCustomTreeView::SetAutoExpand(v);
  if (v) autoSelect_ = false;
}

void TWexCustomTreeView::SetAutoSelect(bool v) {
  autoSelect_ = v;
  if (v) TCustomTreeView::SetAutoExpand(false);
}

void TWexCustomTreeView::SetDisabledColor(TColor v) {
  if (v == disabledColor_) return;
  disabledColor_ = v;
  if (!Enabled()) UpdateColors();
}

void TWexCustomTreeView::SetFocusColor(TColor v) {
  if (v == focusColor_) return;
  focusColor_ = v;
  if (Focused()) UpdateColors();
}

void TWexCustomTreeView::SetFrameColor(TColor v) {
  if (v == frameColor_) return;
  frameColor_ = v;
  RepaintFrame();
}

void TWexCustomTreeView::SetFrameHotColor(TColor v) {
  if (v == frameHotColor_) return;
  frameHotColor_ = v;
  RepaintFrame();
}

void TWexCustomTreeView::SetFrameHotStyle(TFrameStyle v) {
  if (v == frameHotStyle_) return;
  frameHotStyle_ = v;
  RepaintFrame();
}

void TWexCustomTreeView::SetFrameSides(TSides v) {
  if (v == frameSides_) return;
  frameSides_ = v;
  RepaintFrame();
}

void TWexCustomTreeView::SetFrameStyle(TFrameStyle v) {
  if (v == frameStyle_) return;
  frameStyle_ = v;
  RepaintFrame();
}

void TWexCustomTreeView::SetFrameHotTrack(bool v) {
  if (v == frameHotTrack_) return;
  frameHotTrack_ = v;
  if (v) {
    SetFrameVisible(true);
    if (!Loading()) SetFrameSides(kAllSides);
  }
  RepaintFrame();
  Invalidate();
}

void TWexCustomTreeView::SetFrameVisible(bool v) {
  if (v == frameVisible_) return;
  frameVisible_ = v;
  RecreateWnd();
}

void TWexCustomTreeView::SetFramingPreference(TFramingPreference v) {
  if (v == framingPreference_) return;
  framingPreference_ = v;
  if (v == fpCustomFraming) RepaintFrame();
}

void TWexCustomTreeView::SetSelectionPen(const TPen* pen) {
  selectionPen_->Assign(pen);
  Invalidate();
}

void TWexCustomTreeView::SetFrameController(TWexFrameController* v) {
  if (v == frameController_) return;
  if (frameController_) frameController_->UnlinkControl(this);
  frameController_ = v;
  if (v) {
    v->FreeNotification(this);
    v->LinkControl(this);
  }
}

bool TWexCustomTreeView::UseThemes() const { return framingPreference_ == fpXPThemes && IsAppThemed(); }

bool TWexCustomTreeView::SetFrameControllerProperty(TWexFrameControllerProperty property,
                                                    const TWexFrameController& c) {
  switch (property) {
    case fcpColor: SetColor(c.Color()); return true;
    case fcpParentColor: SetParentColor(c.ParentColor()); return true;
    case fcpFocusColor: SetFocusColor(c.FocusColor()); return true;
    case fcpDisabledColor: SetDisabledColor(c.DisabledColor()); return true;
    case fcpFrameColor: SetFrameColor(c.FrameColor()); return true;
    case fcpFrameHotColor: SetFrameHotColor(c.FrameHotColor()); return true;
    case fcpFrameHotTrack: SetFrameHotTrack(c.FrameHotTrack()); return true;
    case fcpFrameHotStyle: SetFrameHotStyle(c.FrameHotStyle()); return true;
    case fcpFrameSides: SetFrameSides(c.FrameSides()); return true;
    case fcpFrameStyle: SetFrameStyle(c.FrameStyle()); return true;
    case fcpFrameVisible: SetFrameVisible(c.FrameVisible()); return true;
    case fcpFramingPreference: SetFramingPreference(c.FramingPreference()); return true;
    default: return false;  // read-only colours and flat buttons are not the tree's
  }
}

void TWexCustomTreeView::Notification(TComponent* component, TOperation operation) {
  TCustomTreeView::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

// --- colours and frame ---

void TWexCustomTreeView::UpdateColors() {
  if (Loading()) return;
  colorUpdating_ = true;
  try {
    SetColor(!Enabled() ? disabledColor_ : Focused() ? focusColor_ : normalColor_);
  } catch (...) {
    colorUpdating_ = false;
    throw;
  }
  colorUpdating_ = false;
}

void TWexCustomTreeView::UpdateFrame(bool viaMouse, bool inside) {
  if (viaMouse) mouseOver_ = inside;
  if (frameHotTrack_) RepaintFrame();
  UpdateColors();
}

void TWexCustomTreeView::RepaintFrame() {
  if (HandleAllocated()) InvalidateNonClientFrame(Handle(), BoundsRect());
}

bool TWexCustomTreeView::FrameHot() const { return frameHotTrack_ && (Focused() || mouseOver_); }

void TWexCustomTreeView::PaintFrame() {
  if (!frameVisible_ || UseThemes()) return;
  const bool hot = FrameHot();
  frameCanvas_->Refresh();
  frameCanvas_->Pen()->SetWidth(1);
  frameCanvas_->Pen()->SetStyle(psSolid);
  PaintControlFrame(frameCanvas_.get(), Width(), Height(), hot ? frameHotStyle_ : frameStyle_, Color(),
                    hot ? frameHotColor_ : frameColor_, frameSides_, false);
}

void TWexCustomTreeView::CreateParams(TCreateParams& params) {
  TCustomTreeView::CreateParams(params);
  // Old common controls on NT-family systems show no tooltips in trees.
  if (!TreeToolTipsAvailable()) params.Style |= TVS_NOTOOLTIPS;
}

void TWexCustomTreeView::Paint() {
  TCustomTreeView::Paint();
  TTreeNode* node = Selected();
  if (HideSelection() || Focused() || !node) return;
  TRect r = node->DisplayRect(true);
  if (r.IsEmpty()) return;
  TCanvas* c = Canvas();
  c->SetPen(selectionPen_.get());
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(r);
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  c->Brush()->SetStyle(bsSolid);
}

void TWexCustomTreeView::Loaded() {
  TCustomTreeView::Loaded();
  UpdateColors();
  UpdateFrame(false, false);
}

// --- expanding with AutoSelect ---

bool TWexCustomTreeView::CanCollapse(TTreeNode* node) {
  if (autoSelect_ && node) SetSelected(node);
  return TCustomTreeView::CanCollapse(node);
}

void TWexCustomTreeView::Expand(TTreeNode* node) {
  TCustomTreeView::Expand(node);
  if (autoSelect_ && node) SetSelected(node);
}

// --- context menus ---

void TWexCustomTreeView::PopupAt(TPopupMenu* menu, TPoint clientPos) {
  if (!menu) return;
  // Any mouse capture mode ends before the menu takes the mouse.
  Perform(WM_CANCELMODE);
  menu->SetPopupComponent(this);
  TPoint screen = ClientToScreen(clientPos);
  menu->Popup(screen.X, screen.Y);
}

void TWexCustomTreeView::RightClickNotified() {
  if (ComponentState().Contains(csDesigning)) return;
  TPoint pos = ScreenToClient(GetMessagePos());
  TTreeNode* node = GetNodeAt(pos.X, pos.Y);
  if (!node) node = Selected();
  rightClickNode_ = node;
  if (node) {
    TPopupMenu* menu = PopupMenu();
    if (OnNodeContextMenu) OnNodeContextMenu(this, node, pos, menu);
    PopupAt(menu, pos);
    rightClickNode_ = nullptr;
    nodeMenuShown_ = true;
  }
}

void TWexCustomTreeView::NodeContextMenu(TTreeNode* node, TPoint pos) {
  TPopupMenu* menu = PopupMenu();
  TPopupMenu* original = menu;
  if (OnNodeContextMenu) OnNodeContextMenu(this, node, pos, menu);
  if (menu != original) nodeMenuShown_ = true;
  PopupAt(menu, pos);
}

void TWexCustomTreeView::KeyDown(Word& key, TShiftState shift) {
  const bool apps = key == VK_APPS && shift.Empty();
  const bool shiftF10 = key == VK_F10 && shift == TShiftState{ssShift};
  if (apps || shiftF10) {
    key = 0;
    if (TTreeNode* node = Selected()) {
      TRect r = node->DisplayRect(true);
      NodeContextMenu(node, {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    } else {
      PopupAt(PopupMenu(), {0, 0});
    }
    return;
  }
  TCustomTreeView::KeyDown(key, shift);
}

// --- messages ---

void TWexCustomTreeView::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (hdr && hdr->code == NM_RCLICK) RightClickNotified();
      TCustomTreeView::Dispatch(m);
      return;
    }
    case WM_RBUTTONUP: {
      // A node's menu was shown for this click: no second menu from the
      // release.
      TPopupMenu* menu = PopupMenu();
      if (nodeMenuShown_ && menu) {
        const bool autoPopup = menu->AutoPopup();
        menu->SetAutoPopup(false);
        try {
          TCustomTreeView::Dispatch(m);
        } catch (...) {
          menu->SetAutoPopup(autoPopup);
          nodeMenuShown_ = false;
          throw;
        }
        menu->SetAutoPopup(autoPopup);
      } else {
        TCustomTreeView::Dispatch(m);
      }
      nodeMenuShown_ = false;
      return;
    }
    case WM_CONTEXTMENU: {
      if (ComponentState().Contains(csDesigning) || Selected() || nodeMenuShown_) return;
      TPoint pos{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      if (pos.X == -1 && pos.Y == -1) {
        PopupAt(PopupMenu(), {0, 0});
      } else {
        NodeContextMenu(nullptr, ScreenToClient(pos));
      }
      m.Result = 1;
      return;
    }
    case WM_MOUSEWHEEL: {
      TWMMouseWheel w(m);
      Cardinal lines = 3;
      SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      Integer pos = GetScrollPos(Handle(), SB_VERT);
      pos = w.WheelDelta < 0 ? pos + static_cast<Integer>(lines) : std::max(0, pos - static_cast<Integer>(lines));
      Perform(WM_VSCROLL, MakeWParam(static_cast<Word>(SB_THUMBPOSITION), static_cast<Word>(pos)), 0);
      SetScrollPos(Handle(), SB_VERT, pos, true);
      m.Result = 1;
      return;
    }
    case WM_NCPAINT:
      TCustomTreeView::Dispatch(m);
      PaintFrame();
      return;
    case WM_SETFOCUS:
      UpdateFrame(false, true);
      TCustomTreeView::Dispatch(m);
      return;
    case WM_KILLFOCUS:
      TCustomTreeView::Dispatch(m);
      UpdateFrame(false, false);
      return;
    case CM_MOUSEENTER:
      TCustomTreeView::Dispatch(m);
      if (!ComponentState().Contains(csDesigning)) UpdateFrame(true, true);
      return;
    case CM_MOUSELEAVE:
      TCustomTreeView::Dispatch(m);
      UpdateFrame(true, false);
      return;
    case CM_ENABLEDCHANGED:
      TCustomTreeView::Dispatch(m);
      UpdateColors();
      return;
    case CM_COLORCHANGED:
      if (!colorUpdating_) {
        if (focusColor_ == normalColor_) focusColor_ = Color();
        normalColor_ = Color();
        if (frameVisible_ && !UseThemes()) RepaintFrame();
      }
      TCustomTreeView::Dispatch(m);
      return;
    case CM_SYSCOLORCHANGE:
      TCustomTreeView::Dispatch(m);
      if (Color() & 0xFF000000u) Perform(CM_COLORCHANGED);
      return;
    case WM_SIZE:
      TCustomTreeView::Dispatch(m);
      if (frameVisible_ && !UseThemes()) RepaintFrame();
      return;
    default: TCustomTreeView::Dispatch(m);
  }
}

}  // namespace support
