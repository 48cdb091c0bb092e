#include "vcl/Controls.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cstdlib>

#include "rtl/Format.h"
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/Menus.h"
#include "vcl/QtCanvas.h"
#include "vcl/QtHost.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace vcl {

// Registry of window handles; implemented with the message queue.
HWND RegisterWindow(TWinControl* control);
void UnregisterWindow(HWND handle);

TShiftState KeysToShiftState(Integer keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

void TSizeConstraints::Assign(const TPersistent* source) {
  if (auto* c = dynamic_cast<const TSizeConstraints*>(source)) {
    MinWidth = c->MinWidth;
    MaxWidth = c->MaxWidth;
    MinHeight = c->MinHeight;
    MaxHeight = c->MaxHeight;
    return;
  }
  TPersistent::Assign(source);
}

void TSizeConstraints::Apply(Integer& width, Integer& height) const {
  if (MaxWidth > 0 && width > MaxWidth) width = MaxWidth;
  if (width < MinWidth) width = MinWidth;
  if (MaxHeight > 0 && height > MaxHeight) height = MaxHeight;
  if (height < MinHeight) height = MinHeight;
}

TCustomForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
  font_.OnChange = [this](TObject*) { FontChanged(); };
}

namespace {

// The one drag of the program: its source, where the mouse was when it was
// asked for, and the control last told about it.
struct TDragTracking {
  TControl* source = nullptr;
  TPoint start;
  Integer threshold = 0;
  bool active = false;
  TControl* over = nullptr;
};

TDragTracking& DragTracking() {
  static TDragTracking d;
  return d;
}

// The control under a screen point: the deepest showing windowed control
// that holds it, then its graphic child there.
TControl* ControlAtScreen(TPoint screen) {
  TWinControl* best = nullptr;
  int bestDepth = -1;
  for (HWND h : EnumWindowHandles()) {
    TWinControl* c = FindControl(h);
    if (!c || !c->Showing()) continue;
    TPoint p = c->ScreenToClient(screen);
    if (p.X < 0 || p.Y < 0 || p.X >= c->Width() || p.Y >= c->Height()) continue;
    int depth = 0;
    for (TWinControl* q = c->Parent(); q; q = q->Parent()) ++depth;
    if (depth >= bestDepth) {
      best = c;
      bestDepth = depth;
    }
  }
  if (!best) return nullptr;
  if (TControl* child = best->ControlAtPos(best->ScreenToClient(screen), false)) return child;
  return best;
}

void DragMoveTo(TPoint screen) {
  TDragTracking& d = DragTracking();
  if (!d.active) {
    if (std::abs(screen.X - d.start.X) < d.threshold && std::abs(screen.Y - d.start.Y) < d.threshold) return;
    d.active = true;
  }
  TControl* target = ControlAtScreen(screen);
  bool accept = false;
  if (target != d.over) {
    if (TControl* left = d.over) {
      TPoint p = left->ScreenToClient(screen);
      left->DragOver(d.source, p.X, p.Y, dsDragLeave, accept);
    }
    d.over = target;
    if (target) {
      TPoint p = target->ScreenToClient(screen);
      accept = false;
      target->DragOver(d.source, p.X, p.Y, dsDragEnter, accept);
    }
  }
  if (target && d.over == target) {
    TPoint p = target->ScreenToClient(screen);
    accept = false;
    target->DragOver(d.source, p.X, p.Y, dsDragMove, accept);
  }
}

// Ends the drag: a drop on the control under the point when it takes it.
void FinishDrag(TPoint screen, bool drop) {
  TDragTracking d = DragTracking();
  DragTracking() = {};
  if (!d.source) return;
  TControl* target = d.active && drop ? ControlAtScreen(screen) : nullptr;
  TPoint p;
  bool accepted = false;
  if (target) {
    p = target->ScreenToClient(screen);
    target->DragOver(d.source, p.X, p.Y, dsDragMove, accepted);
    if (accepted) target->DragDrop(d.source, p.X, p.Y);
  }
  if (!accepted) target = nullptr;
  if (d.source->OnEndDrag) d.source->OnEndDrag(d.source, target, target ? p.X : 0, target ? p.Y : 0);
}

}  // namespace

void TControl::BeginDrag(bool immediate, Integer threshold) {
  TDragTracking& d = DragTracking();
  if (d.source) return;
  d.source = this;
  d.start = GetMessagePos();
  d.threshold = threshold < 0 ? 5 : threshold;
  d.active = immediate;
  d.over = nullptr;
  if (immediate) DragMoveTo(d.start);
}

void TControl::EndDrag(bool drop) {
  if (DragTracking().source == this) FinishDrag(GetCursorPos(), drop);
}

bool TControl::Dragging() const { return DragTracking().source == this && DragTracking().active; }

void TControl::DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept) {
  accept = false;
  if (OnDragOver) {
    accept = true;
    OnDragOver(this, source, x, y, state, accept);
  }
}

void TControl::DragDrop(TObject* source, Integer x, Integer y) {
  if (OnDragDrop) OnDragDrop(this, source, x, y);
}

TControl::~TControl() {
  if (DragTracking().source == this) DragTracking() = {};
  if (DragTracking().over == this) DragTracking().over = nullptr;
  if (action_) {
    if (auto* a = dynamic_cast<TBasicAction*>(action_)) a->UnregisterClient(this);
    action_ = nullptr;
  }
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) {
    parent->InsertControl(this);
    if (parentFont_) Perform(CM_PARENTFONTCHANGED);
    if (parentColor_) Perform(CM_PARENTCOLORCHANGED);
    UpdateAnchorRules();
  }
}

void TControl::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  constraints_.Apply(width, height);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool sized = width != width_ || height != height_;
  if (parent_ && dynamic_cast<TGraphicControl*>(this)) parent_->Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (!(parent_ && parent_->controlState_.Contains(csAligning))) UpdateAnchorRules();
  BoundsChanged();
  InvalidateControl();
  if (sized) {
    if (auto* w = dynamic_cast<TWinControl*>(this))
      w->Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(static_cast<Word>(ClientWidth()), static_cast<Word>(ClientHeight())));
    else
      Resize();
  }
  if (parent_ && !parent_->controlState_.Contains(csAligning) && align_ != alNone) parent_->Realign();
}

TRect TControl::ClientRect() const { return Rect(0, 0, width_, height_); }

void TControl::SetClientWidth(Integer v) { SetWidth(width_ - ClientWidth() + v); }
void TControl::SetClientHeight(Integer v) { SetHeight(height_ - ClientHeight() + v); }

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {left_, top_};
  TPoint o = parent_->ClientOrigin();
  return {o.X + left_, o.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign a) {
  if (a == align_) return;
  align_ = a;
  if (a != alNone && a != alCustom) anchors_ = {akLeft, akTop};
  if (parent_) parent_->Realign();
}

void TControl::SetAnchors(const TAnchors& a) {
  anchors_ = a;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!parent_) return;
  TRect r = parent_->ClientRect();
  anchorRight_ = r.Width() - (left_ + width_);
  anchorBottom_ = r.Height() - (top_ + height_);
}

void TControl::AnchorTo(Integer parentWidth, Integer parentHeight) {
  if (align_ != alNone) return;
  Integer l = left_, t = top_, w = width_, h = height_;
  if (anchors_.Contains(akRight)) {
    if (anchors_.Contains(akLeft))
      w = parentWidth - anchorRight_ - l;
    else
      l = parentWidth - anchorRight_ - w;
  }
  if (anchors_.Contains(akBottom)) {
    if (anchors_.Contains(akTop))
      h = parentHeight - anchorBottom_ - t;
    else
      t = parentHeight - anchorBottom_ - h;
  }
  SetBounds(l, t, w, h);
}

bool TControl::Showing() const {
  if (!visible_) return false;
  return parent_ ? parent_->Showing() : false;
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Perform(CM_VISIBLECHANGED, v ? 1 : 0);
  if (parent_) {
    parent_->Invalidate();
    parent_->Realign();
  }
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::FontChanged() {
  if (!settingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetCursor(TCursor c) {
  if (c == cursor_) return;
  cursor_ = c;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetHint(const AnsiString& h) {
  hint_ = h;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetShowHint(bool v) {
  showHint_ = v;
  parentShowHint_ = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
  parentShowHint_ = v;
  if (v && parent_) {
    showHint_ = parent_->ShowHint();
    Perform(CM_SHOWHINTCHANGED);
  }
}

void TControl::SetName(const AnsiString& name) {
  AnsiString old = Name();
  TComponent::SetName(name);
  // A control not yet given a caption shows its name, as a new one does.
  bool ownerLoading = Owner() && Owner()->Loading();
  if (controlStyle_.Contains(csSetCaption) && !Loading() && !ownerLoading && text_ == old) SetText(name);
}

bool IsAccel(Word ch, const AnsiString& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    auto up = [](int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    return up(static_cast<unsigned char>(caption[i + 1])) == up(ch);
  }
  return false;
}

void TControl::SetText(const AnsiString& s) {
  if (s == text_) return;
  text_ = s;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* m) {
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = m;
  if (m) m->FreeNotification(this);
}

void TControl::SetAction(TBasicAction* action) {
  if (RelinkAction(action_, action, this) && action) ActionChange(action);
}

void TControl::ActionChange(TBasicAction* sender) {
  auto* a = dynamic_cast<TCustomAction*>(sender);
  if (!a) return;
  SetCaption(a->Caption());
  SetEnabled(a->Enabled());
  SetHint(a->Hint());
  SetVisible(a->Visible());
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == popupMenu_) popupMenu_ = nullptr;
  if (component == action_) action_ = nullptr;
}

void TControl::Loaded() {
  TComponent::Loaded();
  UpdateAnchorRules();
  if (parentFont_ && parent_) Perform(CM_PARENTFONTCHANGED);
  if (parentColor_ && parent_) Perform(CM_PARENTCOLORCHANGED);
}

LRESULT TControl::Perform(Cardinal msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

struct TControl::THookEntry {
  Integer id = 0;
  TWindowHook hook;
  bool removed = false;
};

namespace {

// Runs the hooks below position `end` of a snapshot of the chain, newest
// first, ending in the control's own procedure. Entries keep a flag rather
// than leaving the snapshot, so a hook removed meanwhile is skipped.
void RunHooks(TControl* control, const std::vector<std::shared_ptr<TControl::THookEntry>>& chain, size_t end,
              TMessage& m) {
  while (end > 0 && chain[end - 1]->removed) --end;
  if (end == 0) {
    control->WndProc(m);
    return;
  }
  const std::shared_ptr<TControl::THookEntry>& entry = chain[end - 1];
  entry->hook(m, [control, &chain, end](TMessage& next) { RunHooks(control, chain, end - 1, next); });
}

}  // namespace

void TControl::WindowProc(TMessage& m) {
  if (hooks_.empty()) {
    WndProc(m);
    return;
  }
  std::vector<std::shared_ptr<THookEntry>> chain = hooks_;
  RunHooks(this, chain, chain.size(), m);
}

Integer TControl::AddWindowHook(TWindowHook hook) {
  auto entry = std::make_shared<THookEntry>();
  entry->id = nextHookId_++;
  entry->hook = std::move(hook);
  hooks_.push_back(entry);
  return entry->id;
}

void TControl::RemoveWindowHook(Integer id) {
  for (auto it = hooks_.begin(); it != hooks_.end(); ++it)
    if ((*it)->id == id) {
      (*it)->removed = true;
      hooks_.erase(it);
      return;
    }
}

void TControl::WndProc(TMessage& message) { Dispatch(message); }

void TControl::HandleMouseButton(TMessage& m, TMouseButton button, bool down, bool dbl) {
  TWMMouse mm(m);
  if (down && Application) Application->CancelHint();
  TShiftState shift = KeysToShiftState(mm.Keys);
  if (down) {
    if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (dbl) {
      shift.Include(ssDouble);
      if (button == mbLeft && controlStyle_.Contains(csDoubleClicks)) DblClick();
    }
    if (button == mbLeft && controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
    if (button == mbLeft) controlState_.Include(csLButtonDown);
    MouseDown(button, shift, mm.XPos, mm.YPos);
  } else {
    bool clicked = button == mbLeft && controlState_.Contains(csClicked);
    if (button == mbLeft) controlState_.Exclude(csClicked).Exclude(csLButtonDown);
    if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (clicked && ClientRect().Contains(mm.Pos())) Click();
    MouseUp(button, shift, mm.XPos, mm.YPos);
  }
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: HandleMouseButton(m, mbLeft, true, false); return;
    case WM_LBUTTONDBLCLK:
      HandleMouseButton(m, mbLeft, true, controlStyle_.Contains(csDoubleClicks));
      return;
    case WM_LBUTTONUP:
      if (DragTracking().source == this) {
        // The release ends the drag; the control still sees its button
        // come up, but no click.
        controlState_.Exclude(csClicked);
        FinishDrag(ClientToScreen(TWMMouse(m).Pos()), true);
      }
      HandleMouseButton(m, mbLeft, false, false);
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: HandleMouseButton(m, mbRight, true, false); return;
    case WM_RBUTTONUP: HandleMouseButton(m, mbRight, false, false); return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: HandleMouseButton(m, mbMiddle, true, false); return;
    case WM_MBUTTONUP: HandleMouseButton(m, mbMiddle, false, false); return;
    case WM_MOUSEMOVE: {
      TWMMouse mm(m);
      if (DragTracking().source == this) {
        DragMoveTo(ClientToScreen(mm.Pos()));
        return;
      }
      if (Application) Application->HintMouseMessage(this, mm.Pos());
      MouseMove(KeysToShiftState(mm.Keys), mm.XPos, mm.YPos);
      return;
    }
    case WM_MOUSEWHEEL: {
      TWMMouseWheel w(m);
      if (DoMouseWheel(KeysToShiftState(w.Keys), w.WheelDelta, {w.XPos, w.YPos}))
        m.Result = 1;
      else if (parent_)
        m.Result = parent_->Perform(WM_MOUSEWHEEL, m.WParam, m.LParam);
      return;
    }
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      if (Application) Application->HintMouseLeave(this);
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case WM_CONTEXTMENU: {
      TPoint pos{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      bool handled = false;
      if (OnContextPopup) OnContextPopup(this, ScreenToClient(pos), handled);
      if (handled) {
        m.Result = 1;
        return;
      }
      if (popupMenu_ && popupMenu_->AutoPopup()) {
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(pos.X, pos.Y);
        m.Result = 1;
        return;
      }
      if (parent_) m.Result = parent_->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
      return;
    }
    case CM_HITTEST: m.Result = HTCLIENT; return;
    case WM_SETTEXT:
      SetText(m.LParam ? reinterpret_cast<const char*>(m.LParam) : "");
      m.Result = 1;
      return;
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(Text().size()); return;
    case WM_GETTEXT: {
      // WParam: room in the buffer, the terminating zero included.
      auto* buffer = reinterpret_cast<char*>(m.LParam);
      size_t room = static_cast<size_t>(m.WParam);
      if (!buffer || room == 0) {
        m.Result = 0;
        return;
      }
      size_t n = std::min(room - 1, Text().size());
      std::copy_n(Text().data(), n, buffer);
      buffer[n] = '\0';
      m.Result = static_cast<LRESULT>(n);
      return;
    }
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
      Invalidate();
      return;
    case CM_FONTCHANGED:
      Invalidate();
      return;
    case CM_PARENTFONTCHANGED:
      if (parentFont_ && parent_) {
        settingParentFont_ = true;
        font_.Assign(parent_->Font());
        settingParentFont_ = false;
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_ && parent_) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
        parentColor_ = true;
      }
      return;
    case CM_VISIBLECHANGED:
      return;
    default:
      DefaultHandler(m);
  }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, Integer x, Integer y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
bool TControl::DoMouseWheel(TShiftState shift, Integer delta, TPoint pos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, delta, pos, handled);
  if (handled || delta == 0) return handled;
  return delta < 0 ? DoMouseWheelDown(shift, pos) : DoMouseWheelUp(shift, pos);
}
bool TControl::DoMouseWheelDown(TShiftState shift, TPoint pos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, shift, pos, handled);
  return handled;
}
bool TControl::DoMouseWheelUp(TShiftState shift, TPoint pos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, shift, pos, handled);
  return handled;
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Click() {
  // A linked action runs instead of OnClick unless OnClick is its own.
  if (action_ && !OnClick) {
    action_->Execute();
    return;
  }
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

TCustomForm* TControl::ParentForm() const { return GetParentForm(this); }

void TControl::InvalidateControl() {
  if (parent_ && !dynamic_cast<TWinControl*>(this)) parent_->Invalidate();
}

void TControl::Invalidate() { InvalidateControl(); }

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) w->Widget()->raise();
  parent_->Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) w->Widget()->lower();
  parent_->Invalidate();
}

bool TControl::MouseCapture() const {
  if (auto* w = dynamic_cast<const TWinControl*>(this)) return w->host_ && QWidget::mouseGrabber() == w->host_->widget;
  return parent_ && parent_->host_ && parent_->host_->captureGraphic == this;
}

void TControl::SetMouseCapture(bool v) {
  if (dynamic_cast<TWinControl*>(this)) return;  // Qt grabs the mouse for a pressed widget
  if (parent_ && parent_->host_) {
    if (v)
      parent_->host_->captureGraphic = this;
    else if (parent_->host_->captureGraphic == this)
      parent_->host_->captureGraphic = nullptr;
  }
}

// ------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  controlStyle_.Include(csAcceptsControls);
}

TWinControl::~TWinControl() {
  if (host_) host_->dying = true;
  // Leave the parent while still a windowed control: once this destructor
  // is done, the base's removal no longer sees one, and the parent would
  // keep this control in its tab order.
  if (TWinControl* parent = Parent()) parent->RemoveControl(this);
  // Children go with their parent, as windows do.
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    c->BeforeDestruction();
    RemoveControl(c);
    delete c;
  }
  if (auto* form = GetParentForm(this); form && form != this && form->ActiveControl() == this)
    form->SetActiveControl(nullptr);
  windowCanvas_.reset();
  DestroyHandle();
}

TControl* TWinControl::Controls(Integer index) const {
  if (index < 0 || index >= ControlCount())
    throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
  return controls_[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
  Perform(CM_CONTROLLISTCHANGING, reinterpret_cast<WPARAM>(control), 1);
  control->parent_ = this;
  controls_.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabList_.push_back(w);
    if (HandleAllocated()) {
      if (w->HandleAllocated()) {
        w->host_->widget->setParent(host_->widget);
        w->PlaceWidget();
        w->host_->widget->setVisible(w->Visible());
      } else {
        w->CreateHandle();
      }
    }
  } else {
    Invalidate();
  }
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
  if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
  Perform(CM_CONTROLLISTCHANGING, reinterpret_cast<WPARAM>(control), 0);
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    if (w->HandleAllocated() && !w->host_->dying) {
      w->host_->widget->hide();
      w->host_->widget->setParent(nullptr);
    }
    if (auto* form = GetParentForm(this)) {
      TWinControl* a = form->ActiveControl();
      if (a && (a == w || w->ContainsControl(a))) form->SetActiveControl(nullptr);
    }
  }
  if (host_) {
    if (host_->hoverGraphic == control) host_->hoverGraphic = nullptr;
    if (host_->captureGraphic == control) host_->captureGraphic = nullptr;
  }
  control->parent_ = nullptr;
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
  Invalidate();
  if (control->Align() != alNone && !Destroying()) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    // A control may answer that a point of its bounds is not its own.
    if (c->BoundsRect().Contains(p) && c->Perform(CM_HITTEST, 0, PointToLParam({p.X - c->Left(), p.Y - c->Top()})) != 0)
      return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    c->WindowProc(message);
    if (message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(Cardinal msg) {
  TMessage m{msg, 0, 0, 0};
  for (TControl* c : std::vector<TControl*>(controls_)) c->WindowProc(m);
}

bool TWinControl::HasSurface() const { return true; }

bool TWinControl::Ctl3D() const {
  if (parentCtl3D_ && parent_) return parent_->Ctl3D();
  return ctl3D_;
}
void TWinControl::SetCtl3D(bool v) {
  parentCtl3D_ = false;
  if (v == ctl3D_) return;
  ctl3D_ = v;
  Invalidate();
}
void TWinControl::SetParentCtl3D(bool v) {
  if (v == parentCtl3D_) return;
  parentCtl3D_ = v;
  Invalidate();
}

void TWinControl::SetPaintOverNative(bool v) {
  paintOverNative_ = v;
  if (host_) {
    host_->overNative = v;
    host_->UpdateOverlay();
  }
  Invalidate();
}

TCanvas* TWinControl::OverlayCanvas() {
  if (!overlayCanvas_) overlayCanvas_ = std::make_unique<TControlCanvas>(this);
  return overlayCanvas_.get();
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return host_->handle;
}

bool TWinControl::HandleAllocated() const { return host_ && host_->widget; }

void TWinControl::HandleNeeded() {
  if (!HandleAllocated()) CreateHandle();
}

QWidget* TWinControl::Widget() {
  HandleNeeded();
  return host_->widget;
}

QWidget* TWinControl::CreateWidget() {
  auto* w = new SurfaceWidget(host_.get(), nullptr);
  return w;
}

void TWinControl::CreateHandle() {
  InitApplication();
  if (parent_) parent_->HandleNeeded();
  if (HandleAllocated()) return;  // the parent made it on the way
  host_ = std::make_unique<TWinControlHost>(this);
  controlState_.Include(csCreating);
  host_->surface = HasSurface();
  TCreateParams params;
  CreateParams(params);
  style_ = params.Style;
  exStyle_ = params.ExStyle;
  classStyle_ = params.ClassStyle;
  host_->overNative = paintOverNative_ && !host_->surface;
  QWidget* w = CreateWidget();
  host_->widget = w;
  if (parent_) w->setParent(parent_->host_->widget);
  host_->filter = new ControlEventFilter(host_.get(), w);
  w->installEventFilter(host_->filter);
  w->setMouseTracking(true);
  w->setAttribute(Qt::WA_Hover, false);
  host_->handle = RegisterWindow(this);
  if (!host_->surface) {
    w->setFont(ToQFont(*Font()));
    ApplyNativeColors();
  }
  w->setEnabled(Enabled());
  if (Cursor() != crDefault) w->setCursor(ToQCursor(Cursor()));
  if (host_->surface) CalcNonClientInsets();
  PlaceWidget();
  if (host_->surface) host_->SizeBuffer(Width(), Height());
  InitWidget();
  controlState_.Exclude(csCreating);
  for (TWinControl* child : std::vector<TWinControl*>(tabList_))
    if (!child->HandleAllocated()) child->CreateHandle();
  host_->UpdateOverlay();
  if (parent_) w->setVisible(Visible());
  Perform(WM_CREATE);
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Style = WS_CHILD;
  params.ExStyle = 0;
  params.ClassStyle = CS_HREDRAW | CS_VREDRAW;
  params.WinClassName = ClassName();
}

void TWinControl::DestroyWnd() {
  if (!HandleAllocated()) return;
  for (TWinControl* child : std::vector<TWinControl*>(tabList_)) child->DestroyWnd();
  Perform(WM_DESTROY);
  if (windowCanvas_) windowCanvas_->Refresh();
  for (TControl* c : controls_)
    if (auto* g = dynamic_cast<TGraphicControl*>(c)) g->Canvas()->Refresh();
  DestroyHandle();
}

void TWinControl::RecreateWnd() {
  if (!HandleAllocated()) return;
  DestroyWnd();
  CreateHandle();
  if (Parent() && Parent()->HandleAllocated()) Parent()->Invalidate();
}

Cardinal TWinControl::WindowStyle() const {
  if (!HandleAllocated()) return 0;
  Cardinal s = style_ & ~(WS_VISIBLE | WS_DISABLED | WS_CHILD | WS_TABSTOP);
  if (Visible()) s |= WS_VISIBLE;
  if (!Enabled()) s |= WS_DISABLED;
  if (Parent()) s |= WS_CHILD;
  if (TabStop()) s |= WS_TABSTOP;
  return s;
}

Cardinal TWinControl::WindowExStyle() const { return HandleAllocated() ? exStyle_ : 0; }

void TWinControl::SetWindowStyle(Cardinal style) {
  if (!HandleAllocated()) return;
  STYLESTRUCT change{WindowStyle(), 0};
  style_ = style & ~(WS_VISIBLE | WS_DISABLED | WS_CHILD | WS_TABSTOP);
  change.styleNew = WindowStyle();
  if (change.styleNew != change.styleOld)
    Perform(WM_STYLECHANGED, static_cast<WPARAM>(static_cast<intptr_t>(-16)), reinterpret_cast<LPARAM>(&change));
}

void TWinControl::SetWindowExStyle(Cardinal exStyle) {
  if (!HandleAllocated()) return;
  STYLESTRUCT change{exStyle_, exStyle};
  exStyle_ = exStyle;
  if (change.styleNew != change.styleOld)
    Perform(WM_STYLECHANGED, static_cast<WPARAM>(static_cast<intptr_t>(-20)), reinterpret_cast<LPARAM>(&change));
}

void TWinControl::BeforeDestroy() {
  if (HandleAllocated() && !host_->dying) Perform(WM_DESTROY);
}

void TWinControl::ApplyNativeColors() {
  QWidget* w = host_->widget;
  QPalette pal = w->palette();
  // The text colour; the field colour only for controls with a field
  // (edits, combo boxes), whose default is the window colour.
  QColor text = ToQColor(Font()->Color());
  for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) pal.setColor(role, text);
  if (nativeField_) pal.setColor(QPalette::Base, ToQColor(Color()));
  w->setPalette(pal);
}

void TWinControl::DestroyHandle() {
  if (!host_) return;
  host_->dying = true;
  UnregisterWindow(host_->handle);
  host_.reset();
}

void TWinControl::PlaceWidget() {
  if (!HandleAllocated()) return;
  TPoint off = parent_ ? parent_->WidgetClientOffset() : TPoint{};
  host_->widget->setGeometry(Left() + off.X, Top() + off.Y, Width(), Height());
}

void TWinControl::BoundsChanged() {
  if (!HandleAllocated()) return;
  PlaceWidget();
  if (host_->surface) {
    host_->SizeBuffer(Width(), Height());
    if (CalcNonClientInsets()) {
      if (windowCanvas_) windowCanvas_->Refresh();
      for (TControl* c : controls_)
        if (auto* child = dynamic_cast<TWinControl*>(c)) child->PlaceWidget();
    }
  }
  for (TControl* c : controls_)
    if (auto* g = dynamic_cast<TGraphicControl*>(c)) g->Canvas()->Refresh();
}

bool TWinControl::CalcNonClientInsets() {
  TRect window = BoundsRect();
  TRect client = window;
  Perform(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&client));
  TRect insets{std::max(0, client.Left - window.Left), std::max(0, client.Top - window.Top),
               std::max(0, window.Right - client.Right), std::max(0, window.Bottom - client.Bottom)};
  // The window's own scroll bars lie inside the border.
  if (host_) {
    if (host_->scrollBars[SB_VERT].shown) insets.Right += WindowScrollBarExtent();
    if (host_->scrollBars[SB_HORZ].shown) insets.Bottom += WindowScrollBarExtent();
  }
  const bool changed = insets != ncInsets_;
  ncInsets_ = insets;
  if (host_) PlaceWindowScrollBars(this);
  return changed;
}

void TWinControl::UpdateNonClientArea() {
  if (!HandleAllocated() || !host_->surface) return;
  if (CalcNonClientInsets()) {
    if (windowCanvas_) windowCanvas_->Refresh();
    for (TControl* c : controls_) {
      if (auto* child = dynamic_cast<TWinControl*>(c)) child->PlaceWidget();
      if (auto* g = dynamic_cast<TGraphicControl*>(c)) g->Canvas()->Refresh();
    }
    Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(static_cast<Word>(ClientWidth()), static_cast<Word>(ClientHeight())));
  }
  host_->frameDirty = true;
  Invalidate();
}

TRect TWinControl::ClientRect() const {
  return Rect(0, 0, std::max(0, Width() - ncInsets_.Left - ncInsets_.Right),
              std::max(0, Height() - ncInsets_.Top - ncInsets_.Bottom));
}

TPoint TWinControl::ClientOrigin() const {
  TPoint o = TControl::ClientOrigin();
  return {o.X + ncInsets_.Left, o.Y + ncInsets_.Top};
}

void TWinControl::PaintDefaultNonClient() {
  if (ncInsets_ == TRect{}) return;
  TWindowCanvas canvas(this, TWindowCanvas::TArea::Window);
  TRect whole = Rect(0, 0, Width(), Height());
  // Only the border: the client area is the control's own.
  canvas.ExcludeClipRect(Rect(ncInsets_.Left, ncInsets_.Top, Width() - ncInsets_.Right, Height() - ncInsets_.Bottom));
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(whole);
  if (!IsThemeActive()) {
    canvas.DrawEdge(whole, EDGE_SUNKEN, BF_RECT);
    return;
  }
  // Themed: the frame the application's style gives a sunken field, so the
  // border matches the native fields beside it.
  TCanvasSurface* s = canvas.Surface();
  if (!s) return;
  SurfacePainter p(*s);
  QStyleOptionFrame frame;
  frame.rect = QRect(0, 0, Width(), Height());
  frame.state = QStyle::State_Sunken | QStyle::State_Active;
  if (Enabled()) frame.state |= QStyle::State_Enabled;
  frame.lineWidth = std::max({ncInsets_.Left, ncInsets_.Top, ncInsets_.Right, ncInsets_.Bottom, 1});
  frame.frameShape = QFrame::StyledPanel;
  frame.palette = QApplication::palette();
  QApplication::style()->drawPrimitive(QStyle::PE_Frame, &frame, &*p);
}

void TWinControl::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  TControl::SetBounds(left, top, width, height);
}

void TWinControl::SetVisible(bool v) {
  if (v == Visible()) return;
  TControl::SetVisible(v);
  if (HandleAllocated() && parent_) host_->widget->setVisible(v);
  Perform(CM_SHOWINGCHANGED);
  if (!v)
    if (auto* form = GetParentForm(this)) {
      TWinControl* a = form->ActiveControl();
      if (a && (a == this || ContainsControl(a))) form->SetActiveControl(nullptr);
    }
}

void TWinControl::SetEnabled(bool v) {
  if (v == Enabled()) return;
  TControl::SetEnabled(v);
  if (HandleAllocated()) host_->widget->setEnabled(v);
}

void TWinControl::Invalidate() {
  if (!HandleAllocated()) return;
  host_->dirty = true;
  host_->widget->update();
  if (host_->overlayWidget) host_->overlayWidget->update();
}

void TWinControl::Update() {
  if (!HandleAllocated()) return;
  host_->PaintBuffer();
  if (host_->widget->isVisible()) host_->widget->repaint();
}

bool TWinControl::Focused() const {
  if (!HandleAllocated()) return false;
  if (host_->widget->hasFocus()) return true;
  // In a window that is not active the form's active control stands for
  // the focus it will get back.
  TCustomForm* form = GetParentForm(this);
  return form && form != this && !form->Active() && form->ActiveControl() == this;
}

bool TWinControl::CanFocus() const {
  if (!Visible() || !Enabled()) return false;
  for (TWinControl* p = Parent(); p; p = p->Parent())
    if (!p->Visible() || !p->Enabled()) return false;
  return GetParentForm(this) != nullptr || dynamic_cast<const TCustomForm*>(this) != nullptr;
}

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  HandleNeeded();
  host_->widget->setFocus(Qt::OtherFocusReason);
  // An inactive window gets no focus event; the form still learns which
  // control is its active one.
  if (form && form->ActiveControl() != this && form != this) form->SetFocusedControl(this);
}

Integer TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

void TWinControl::SetTabOrder(Integer v) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (v < 0) v = 0;
  if (v > static_cast<Integer>(list.size())) v = static_cast<Integer>(list.size());
  list.insert(list.begin() + v, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  auto n = static_cast<Integer>(list.size());
  Integer start = -1;
  for (Integer i = 0; i < n; ++i)
    if (list[static_cast<size_t>(i)] == current) start = i;
  if (start < 0) start = goForward ? n - 1 : 0;
  Integer i = start;
  for (Integer step = 0; step < n; ++step) {
    i = goForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c == current) break;
    if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false)) next->SetFocus();
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0) {
    alignPending_ = true;
    return;
  }
  AlignChildren();
}

void TWinControl::EnableAlign() {
  if (--alignDisabled_ <= 0) {
    alignDisabled_ = 0;
    if (alignPending_) {
      alignPending_ = false;
      AlignChildren();
    }
  }
}

void TWinControl::AdjustClientRect(TRect& rect) const {}

void TWinControl::AlignChildren() {
  if (controlState_.Contains(csAligning)) return;
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  controlState_.Include(csAligning);
  try {
    AlignControls(nullptr, rect);
  } catch (...) {
    controlState_.Exclude(csAligning);
    throw;
  }
  controlState_.Exclude(csAligning);
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
  // Edges first (top, bottom, left, right), each group in the order its
  // members stand now, then the client-aligned controls fill what is left.
  static constexpr TAlign kOrder[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign a : kOrder) {
    std::vector<TControl*> group;
    for (TControl* c : controls_)
      if (c->Align() == a && c->Visible()) group.push_back(c);
    auto key = [a](TControl* c) {
      switch (a) {
        case alTop: return c->Top();
        case alBottom: return -(c->Top() + c->Height());
        case alLeft: return c->Left();
        case alRight: return -(c->Left() + c->Width());
        default: return 0;
      }
    };
    std::stable_sort(group.begin(), group.end(), [&](TControl* x, TControl* y) { return key(x) < key(y); });
    for (TControl* c : group) {
      Integer w = std::max(0, rect.Width()), h = std::max(0, rect.Height());
      switch (a) {
        case alTop:
          c->SetBounds(rect.Left, rect.Top, w, c->Height());
          rect.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(rect.Left, rect.Bottom - c->Height(), w, c->Height());
          rect.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(rect.Left, rect.Top, c->Width(), h);
          rect.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(rect.Right - c->Width(), rect.Top, c->Width(), h);
          rect.Right -= c->Width();
          break;
        case alClient:
          c->SetBounds(rect.Left, rect.Top, w, h);
          break;
        default: break;
      }
    }
  }
  if (Loading()) return;
  TRect client = ClientRect();
  for (TControl* c : std::vector<TControl*>(controls_))
    if (c->Align() == alNone && !c->Loading() &&
        (c->Anchors().Contains(akRight) || c->Anchors().Contains(akBottom)))
      c->AnchorTo(client.Width(), client.Height());
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::PaintControls() {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    auto* g = dynamic_cast<TGraphicControl*>(c);
    if (!g || !g->Visible() || g->Width() <= 0 || g->Height() <= 0) continue;
    g->Canvas()->Refresh();
    g->Perform(WM_PAINT);
  }
}

void TWinControl::WndProc(TMessage& m) {
  bool mouse = m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL;
  if (mouse && host_) {
    // Graphic children have no window: their parent hands them their
    // mouse messages in their own coordinates.
    TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* target = host_->captureGraphic;
    if (!target) target = ControlAtPos(p, false);
    if (m.Msg == WM_MOUSEMOVE && target != host_->hoverGraphic) {
      TControl* old = host_->hoverGraphic;
      host_->hoverGraphic = target;
      if (old) old->Perform(CM_MOUSELEAVE);
      if (target) target->Perform(CM_MOUSEENTER);
    }
    if (target) {
      TMessage tm = m;
      tm.LParam = PointToLParam({p.X - target->Left(), p.Y - target->Top()});
      target->WindowProc(tm);
      m.Result = tm.Result;
      return;
    }
  }
  if (m.Msg == CM_MOUSELEAVE && host_ && host_->hoverGraphic) {
    TControl* old = host_->hoverGraphic;
    host_->hoverGraphic = nullptr;
    old->Perform(CM_MOUSELEAVE);
  }
  TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (host_ && host_->surface) {
        if (!windowCanvas_) CreateSurfaceCanvas();
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(windowCanvas_.get()));
        PaintWindow();
        PaintControls();
      }
      return;
    case WM_ERASEBKGND: {
      // WParam: the canvas to erase on (the control's own without one).
      auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
      if (host_ && host_->surface && !controlStyle_.Contains(csOpaque)) {
        if (!canvas) {
          if (!windowCanvas_) CreateSurfaceCanvas();
          canvas = windowCanvas_.get();
        }
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(ClientRect());
      }
      m.Result = 1;
      return;
    }
    case WM_CHANGEUISTATE:
      // Goes up to the top window, which tells every window below.
      if (Parent())
        m.Result = Parent()->Perform(WM_CHANGEUISTATE, m.WParam, m.LParam);
      else
        Perform(WM_UPDATEUISTATE, m.WParam, m.LParam);
      return;
    case WM_UPDATEUISTATE:
      for (TWinControl* child : std::vector<TWinControl*>(tabList_)) child->Perform(WM_UPDATEUISTATE, m.WParam, m.LParam);
      return;
    case WM_QUERYUISTATE:
      // Focus rectangles and accelerators always show here.
      m.Result = 0;
      return;
    case WM_SIZE:
      Realign();
      Resize();
      return;
    case WM_NCCALCSIZE:
      // No border unless a control claims one.
      return;
    case WM_NCPAINT:
      if (host_ && host_->surface) PaintDefaultNonClient();
      return;
    case WM_THEMECHANGED:
      // The default border is drawn one way themed and another way not.
      if (host_ && host_->surface && ncInsets_ != TRect{}) {
        host_->frameDirty = true;
        Invalidate();
      }
      TControl::Dispatch(m);
      return;
    case WM_SETFOCUS:
      if (auto* form = GetParentForm(this); form && form != this) form->SetFocusedControl(this);
      return;
    case WM_KILLFOCUS:
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(m)) m.Result = 1;
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoKeyUp(m)) m.Result = 1;
      return;
    case WM_CHAR:
      if (DoKeyPress(m)) m.Result = 1;
      return;
    case WM_GETDLGCODE:
      m.Result = 0;
      return;
    case WM_SETREDRAW:
      if (HandleAllocated()) {
        host_->widget->setUpdatesEnabled(m.WParam != 0);
        if (m.WParam != 0) Invalidate();
      }
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      // Children with a use for the key (default and cancel buttons,
      // captions with an accelerator) take it.
      for (TControl* c : std::vector<TControl*>(controls_)) {
        if (!c->Visible() || !c->Enabled()) continue;
        c->WindowProc(m);
        if (m.Result != 0) return;
      }
      return;
    case WM_CONTEXTMENU: {
      // A graphic child under the mouse offers its own menu first; what it
      // does not handle comes back here through its parent link.
      TPoint pos{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      bool fromKeyboard = pos.X == -1 && pos.Y == -1;
      if (!routingContextMenu_ && !fromKeyboard) {
        if (TControl* child = ControlAtPos(ScreenToClient(pos), false)) {
          routingContextMenu_ = true;
          LRESULT r = 0;
          try {
            r = child->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
          } catch (...) {
            routingContextMenu_ = false;
            throw;
          }
          routingContextMenu_ = false;
          m.Result = r;
          return;
        }
      }
      TControl::Dispatch(m);
      return;
    }
    case CM_FOCUSCHANGED:
      // Every control on the form hears where the focus went.
      for (TControl* c : std::vector<TControl*>(controls_)) c->WindowProc(m);
      return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_FONTCHANGED:
      if (HandleAllocated() && !host_->surface) {
        host_->widget->setFont(ToQFont(*Font()));
        ApplyNativeColors();
      }
      Invalidate();
      NotifyControls(CM_PARENTFONTCHANGED);
      return;
    case CM_COLORCHANGED:
      if (HandleAllocated() && !host_->surface) ApplyNativeColors();
      Invalidate();
      NotifyControls(CM_PARENTCOLORCHANGED);
      return;
    case CM_CURSORCHANGED:
      if (HandleAllocated()) host_->widget->setCursor(ToQCursor(Cursor()));
      return;
    case CM_SHOWHINTCHANGED:
      NotifyControls(CM_PARENTSHOWHINTCHANGED);
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (ParentShowHint() && Parent()) {
        SetParentShowHint(true);
      }
      return;
    default:
      TControl::Dispatch(m);
  }
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}
void TWinControl::KeyDown(Word& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(Word& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(WideChar& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::DoKeyDown(TMessage& m) {
  TShiftState shift = KeyboardStateToShiftState();
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(m)) return true;
  Word key = static_cast<Word>(m.WParam);
  KeyDown(key, shift);
  bool zeroed = m.WParam != 0 && key == 0;
  m.WParam = key;
  return zeroed;
}

bool TWinControl::DoKeyUp(TMessage& m) {
  TShiftState shift = KeyboardStateToShiftState();
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyUp(m)) return true;
  Word key = static_cast<Word>(m.WParam);
  KeyUp(key, shift);
  bool zeroed = m.WParam != 0 && key == 0;
  m.WParam = key;
  return zeroed;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(m)) return true;
  WideChar key = static_cast<WideChar>(m.WParam);
  KeyPress(key);
  bool zeroed = m.WParam != 0 && key == 0;
  m.WParam = key;
  return zeroed;
}

void TWinControl::CreateSurfaceCanvas() { windowCanvas_ = std::make_unique<TControlCanvas>(this); }

TWinControl* FindControl(HWND handle);

// ----------------------------------------------------- canvases, painting

void TControlCanvas::CreateHandle() {
  if (auto* w = dynamic_cast<TWinControl*>(control_)) {
    w->HandleNeeded();
    if (!w->host_->surface) return;
    auto s = std::make_unique<TCanvasSurface>();
    s->image = &w->host_->buffer;
    if (w->ncInsets_ != TRect{}) {
      TRect client = w->ClientRect();
      s->origin = QPoint(w->ncInsets_.Left, w->ncInsets_.Top);
      s->clip = QRect(s->origin, QSize(client.Width(), client.Height()));
    }
    TWinControlHost* host = w->host_.get();
    s->drawn = [host] {
      if (!host->painting && host->widget) host->widget->update();
    };
    SetSurface(std::move(s));
    return;
  }
  TWinControl* parent = control_->Parent();
  if (!parent) return;
  parent->HandleNeeded();
  if (!parent->host_->surface) return;
  auto s = std::make_unique<TCanvasSurface>();
  TWinControlHost* host = parent->host_.get();
  TPoint off = parent->WidgetClientOffset();
  s->image = &host->buffer;
  s->origin = QPoint(control_->Left() + off.X, control_->Top() + off.Y);
  s->clip = QRect(s->origin, QSize(control_->Width(), control_->Height()));
  if (parent->ncInsets_ != TRect{}) {
    // Never into the parent's border.
    TRect client = parent->ClientRect();
    s->clip &= QRect(QPoint(off.X, off.Y), QSize(client.Width(), client.Height()));
  }
  s->drawn = [host] {
    if (!host->painting && host->widget) host->widget->update();
  };
  SetSurface(std::move(s));
}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  TControl::SetBounds(left, top, width, height);
  canvas_->Refresh();
}

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    canvas_->SetFont(Font());
    Paint();
    return;
  }
  TControl::Dispatch(m);
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCanvas* TCustomControl::Canvas() {
  if (!windowCanvas_) CreateSurfaceCanvas();
  return windowCanvas_.get();
}

void TCustomControl::PaintWindow() {
  Canvas()->SetFont(Font());
  Canvas()->Brush()->SetColor(Color());
  Paint();
}

}  // namespace vcl
