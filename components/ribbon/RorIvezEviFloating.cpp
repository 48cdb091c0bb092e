// Floating toolbars: the window that frames one and reshapes it in row
// steps, tearing a toolbar off its dock panel and docking it again by
// dragging, the floating rows, closing, and the floating state kept in the
// store its persistence record names.
#include "ribbon/RorIvezEviFloating.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "ribbon/RorIvezEviDockPanel.h"
#include "ribbon/RorIvezEviPopups.h"
#include "rtl/Exceptions.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"
#include "rtl/Strings.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {

constexpr uintptr_t kFloatingWatchTimer = 500;
constexpr int kGripBand = 5;

bool FloatingDesigning(const vcl::TComponent* c) { return c->ComponentState().Contains(vcl::csDesigning); }

}  // namespace

// ---------------------------------------------------------------- window

TFloatingWindow::TFloatingWindow(vcl::TComponent* AOwner) : vcl::TCustomForm(AOwner, 0) {
  SetBorderStyle(vcl::bsNone);
  SetBorderIcons(vcl::TBorderIcons{});
  SetCtl3D(false);
  SetPosition(vcl::poDesigned);
  if (auto* owner = dynamic_cast<vcl::TWinControl*>(AOwner))
    if (vcl::TCustomForm* form = vcl::GetParentForm(owner)) SetOwnerWindow(form->Handle());
}

void TFloatingWindow::CreateParams(TCreateParams& Params) {
  vcl::TCustomForm::CreateParams(Params);
  Params.ExStyle |= vcl::WS_EX_TOPMOST | vcl::WS_EX_TOOLWINDOW;
}

TFloatingWindow::~TFloatingWindow() {
  if (toolBar_) {
    TLumCustomToolBar* t = toolBar_;
    toolBar_ = nullptr;
    t->FloatingWindowGone();
  }
}

void TFloatingWindow::Loaded() {
  vcl::TCustomForm::Loaded();
  defaultCursor_ = Cursor();
}

TCustomRorIvezEviStyler* TFloatingWindow::ParentStylerFor(const TLumCustomToolBar* ToolBar) const {
  TLumDockPanel* home = ToolBar ? ToolBar->HomeDockPanel() : nullptr;
  return home && !home->Destroying() ? home->CurrentStyler() : nullptr;
}

void TFloatingWindow::SetLumCustomToolBar(TLumCustomToolBar* Value) {
  toolBar_ = Value;
  FitToToolBar();
}

void TFloatingWindow::SetBorderWidth(int Value) {
  if (Value == borderWidth_) return;
  borderWidth_ = Value;
  FitToToolBar();
}

void TFloatingWindow::FitToToolBar() {
  if (!toolBar_) return;
  const int b = borderWidth_;
  SetBounds(Left(), Top(), toolBar_->Width() + 2 * b + 2, toolBar_->Height() + 2 * b + 2);
  if (toolBar_->Left() != b + 1 || toolBar_->Top() != b + 1)
    toolBar_->SetBounds(b + 1, b + 1, toolBar_->Width(), toolBar_->Height());
  Invalidate();
}

void TFloatingWindow::PaintWindow() {
  vcl::TCustomForm::PaintWindow();
  if (borderColor_ == vcl::clNone) return;
  vcl::TControlCanvas canvas(this);
  const int w = Width(), h = Height(), b = borderWidth_;
  canvas.Pen()->SetColor(borderColor_);
  canvas.Pen()->SetWidth(b);
  canvas.Brush()->SetStyle(vcl::bsClear);
  canvas.Rectangle(1, 1, w, h);
  // The wide pen rounds the frame's inner corners: squared again.
  canvas.SetPixels(b, b, borderColor_);
  canvas.SetPixels(w - b - 1, b, borderColor_);
  canvas.SetPixels(b, h - b - 1, borderColor_);
  canvas.SetPixels(w - b - 1, h - b - 1, borderColor_);
}

void TFloatingWindow::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomForm::MouseDown(Button, Shift, X, Y);
  if (Button != vcl::mbLeft) return;
  const int w = Width(), h = Height();
  if (X >= w - kGripBand && X <= w) {
    edge_ = TEdge::eRight;
    refX_ = w;
    refY_ = Y;
  } else if (Y >= h - kGripBand && Y <= h) {
    edge_ = TEdge::eBottom;
    refY_ = h;
    refX_ = X;
  } else if (X >= 0 && X <= kGripBand) {
    edge_ = TEdge::eLeft;
    refX_ = 0;
    refY_ = Y;
  } else if (Y >= 0 && Y <= kGripBand) {
    edge_ = TEdge::eTop;
    refX_ = X;
    refY_ = 0;
  } else {
    return;
  }
  resizing_ = true;
  phase_ = 0;
}

bool TFloatingWindow::StepTo(int Rows) {
  if (!toolBar_) return false;
  const int before = toolBar_->FloatingRows();
  const int oldW = Width(), oldH = Height();
  toolBar_->SetFloatingRows(Rows);
  FitToToolBar();
  // The edge opposite the dragged one stays where it was.
  if (edge_ == TEdge::eLeft) SetBounds(Left() + oldW - Width(), Top(), Width(), Height());
  if (edge_ == TEdge::eTop) SetBounds(Left(), Top() + oldH - Height(), Width(), Height());
  if (edge_ == TEdge::eRight) refX_ = Width();
  if (edge_ == TEdge::eBottom) refY_ = Height();
  return toolBar_->FloatingRows() != before;
}

void TFloatingWindow::MouseMove(vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomForm::MouseMove(Shift, X, Y);
  const int w = Width(), h = Height();
  vcl::TCursor want = defaultCursor_;
  if ((X >= 0 && X <= kGripBand) || (X >= w - kGripBand && X <= w))
    want = vcl::crSizeWE;
  else if ((Y >= 0 && Y <= kGripBand) || (Y >= h - kGripBand && Y <= h))
    want = vcl::crSizeNS;
  if (Cursor() != want) SetCursor(want);
  if (!resizing_ || !Shift.Contains(vcl::ssLeft) || !toolBar_) return;
  const int rows = toolBar_->FloatingRows();
  const bool horizontalEdge = edge_ == TEdge::eLeft || edge_ == TEdge::eRight;
  const int d = horizontalEdge ? X - refX_ : Y - refY_;
  // Outward for the right and bottom edges is positive, for the left and
  // top edges negative; one step needs 6 pixels from rest, 3 once moving
  // that way.
  const bool positiveOut = edge_ == TEdge::eRight || edge_ == TEdge::eBottom;
  const int out = positiveOut ? d : -d;
  const bool stepOut = phase_ == 1 ? out >= 3 : out > 5;
  const bool stepIn = phase_ == 2 ? -out >= 3 : -out > 5;
  // Outward on a side edge means fewer rows (wider), on a top or bottom
  // edge more rows (taller).
  auto rowsFor = [&](bool outward) { return horizontalEdge == outward ? rows - 1 : rows + 1; };
  if (stepOut || stepIn) {
    const bool changed = StepTo(rowsFor(stepOut));
    phase_ = stepOut ? 1 : 2;
    if (changed) Invalidate();
    return;
  }
  // Back past the size of the previous arrangement: a step back.
  const int b = borderWidth_;
  int bw = 0, bh = 0;
  int back = 0;
  if (phase_ == 1) back = rowsFor(false);
  if (phase_ == 2) back = rowsFor(true);
  if (back == 0 || !toolBar_->GetFloatingSizeFor(back, bw, bh)) return;
  bool take = false;
  switch (edge_) {
    case TEdge::eLeft:
      take = phase_ == 1 ? X >= w - 2 * b - bw : X <= w - 2 * b - bw;
      break;
    case TEdge::eTop:
      take = phase_ == 1 ? Y >= h - 2 * b - bh - 2 : Y <= h - 2 * b - bh;
      break;
    case TEdge::eRight:
      take = phase_ == 1 ? X <= 2 * b + bw : X >= 2 * b + bw;
      break;
    case TEdge::eBottom:
      take = phase_ == 1 ? Y <= 2 * b + bh + 2 : Y >= 2 * b + bh;
      break;
    case TEdge::eNone:
      break;
  }
  if (!take) return;
  const bool changed = StepTo(back);
  if (changed || horizontalEdge) Invalidate();
}

void TFloatingWindow::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomForm::MouseUp(Button, Shift, X, Y);
  if (!resizing_) return;
  resizing_ = false;
  phase_ = 0;
  refX_ = refY_ = 0;
  edge_ = TEdge::eNone;
}

// ------------------------------------------------------ floating toolbar

void TLumCustomToolBar::MakeFloating(int X, int Y, bool UsePoint) {
  if (ParentIsRibbon() || dynamic_cast<TCompactWindow*>(Parent()) || floatingWindow_ || state_ == tsFloating) return;
  vcl::TComponent* owner = Owner() ? Owner() : vcl::Application;
  auto* w = new TFloatingWindow(owner);
  TCustomRorIvezEviStyler* s = CurrentStyler();
  w->SetBorderWidth(s->FloatingWindowBorderWidth());
  w->SetBorderColor(s->FloatingWindowBorderColor());
  w->SetColor(s->Color()->ColorTo() == vcl::clNone ? s->Color()->Color() : s->Color()->ColorTo());
  const vcl::TPoint at = UsePoint ? vcl::TPoint{X, Y} : vcl::GetCursorPos();
  rowHeight_ = CalcRowHeight(true);
  // Controls overflow took off come back: a floating toolbar shows all.
  hidden_.clear();
  floatingWindow_ = w;
  SetParent(w);
  w->SetLumCustomToolBar(this);
  w->SetBounds(at.X, at.Y, w->Width(), w->Height());
  homeForm_ = homeDockPanel_ ? vcl::GetParentForm(homeDockPanel_) : dynamic_cast<vcl::TCustomForm*>(Owner());
  if (homeForm_ && !homeForm_->Visible()) {
    hideWithForm_ = true;
  } else {
    hideWithForm_ = false;
    if (Visible()) w->Show();
  }
  vcl::SetTimer(Handle(), kFloatingWatchTimer, 40);
}

void TLumCustomToolBar::FloatingWatch() {
  if (!homeForm_ || !floatingWindow_) return;
  if (!homeForm_->Visible() && floatingWindow_->Visible()) {
    floatingWindow_->Hide();
    hideWithForm_ = true;
  } else if (homeForm_->Visible() && !floatingWindow_->Visible() && hideWithForm_) {
    hideWithForm_ = false;
    floatingWindow_->Show();
  }
}

void TLumCustomToolBar::FloatingWindowGone() {
  // Freed with its owner before the toolbar: the state is kept while the
  // window still stands.
  if (Destroying() && !floatingSaved_ && persistence_ && persistence_->Enabled() && !FloatingDesigning(this)) {
    floatingSaved_ = true;
    try {
      SaveFloatingState();
    } catch (const rtl::Exception&) {
    }
  }
  if (HandleAllocated()) vcl::KillTimer(Handle(), kFloatingWatchTimer);
  floatingWindow_ = nullptr;
  homeForm_ = nullptr;
}

void TLumCustomToolBar::ReleaseFloatingWindow() {
  if (!floatingWindow_) return;
  TFloatingWindow* w = floatingWindow_;
  floatingWindow_ = nullptr;
  w->ForgetToolBar();
  if (HandleAllocated()) vcl::KillTimer(Handle(), kFloatingWatchTimer);
  if (Parent() == w) vcl::TCustomControl::SetParent(nullptr);
  if (!w->Destroying()) vcl::Free(w);
}

void TLumCustomToolBar::CloseFloating() {
  if (state_ != tsFloating) return;
  if (autoDockOnClose_ && homeDockPanel_) {
    SetParent(homeDockPanel_);
    if (state_ == tsDocked) ReleaseFloatingWindow();
    return;
  }
  if (floatingWindow_) floatingWindow_->Hide();
  SetVisible(false);
  if (OnClose) OnClose(this);
}

int TLumCustomToolBar::FloatingExtent() const {
  int e = 0;
  for (vcl::TControl* c : controls_)
    if (c->Visible()) e = std::max(e, Horizontal() ? c->Width() : c->Height());
  return e;
}

int TLumCustomToolBar::MaxFloatingRows() const {
  const int w = std::max(minLength_, FloatingExtent() + 2);
  int x = 2, rows = 1, count = 0;
  bool open = false;  // a closed row waits for its first control
  for (vcl::TControl* c : controls_) {
    if (!c->Visible()) continue;
    ++count;
    const int ext = Horizontal() ? c->Width() : c->Height();
    if (open) {
      ++rows;
      open = false;
    } else if (ext > w - x) {
      ++rows;
      x = 2;
    }
    x += ext;
    if (x >= w) {
      x = 2;
      open = true;
    }
  }
  return rows > 1 ? std::min(rows, count) : rows;
}

bool TLumCustomToolBar::GetFloatingSizeFor(int Rows, int& W, int& H) const {
  if (Rows <= 0 || Rows > MaxFloatingRows()) return false;
  if (Rows == 1) {
    int right = 2;
    for (vcl::TControl* c : controls_)
      if (c->Visible()) right += c->Width();
    W = std::max(right + 2, minLength_);
    H = rowHeight_ + captionHeight_;
    return true;
  }
  int w = std::max(FloatingExtent() + 4, minLength_);
  int leastUnused = INT_MAX, rows = 1, lastUnused = 0;
  for (;;) {
    int x = 2;
    rows = 1;
    for (vcl::TControl* c : controls_) {
      if (!c->Visible()) continue;
      if (w - x - 2 < c->Width()) {
        leastUnused = std::min(leastUnused, w - x - 2);
        ++rows;
        x = 2;
      }
      x += c->Width();
    }
    lastUnused = w - x - 2;
    if (rows <= Rows) break;
    w += 10;
  }
  H = rows * rowHeight_ + captionHeight_;
  if (rows >= 2) w -= std::min(leastUnused, lastUnused);
  W = w;
  return true;
}

void TLumCustomToolBar::GetFloatingSize(int& W, int& H) const {
  if (!GetFloatingSizeFor(std::max(1, floatingRows_), W, H)) GetFloatingSizeFor(1, W, H);
}

void TLumCustomToolBar::SetFloatingRows(int Value) {
  if (Value <= 0 || Value > MaxFloatingRows() || Value == floatingRows_) return;
  floatingRows_ = Value;
  if (Loading()) return;
  PositionControls(true);
  if (floatingWindow_) floatingWindow_->FitToToolBar();
}

bool TLumCustomToolBar::CanDockTo(TLumDockPanel* Panel) const {
  if (!Panel || !dockableTo_.Contains(Panel->DockAlign())) return false;
  if (Panel->LockHeight() && Panel->PanelLoaded() && !Panel->Designing()) return Panel->HasRowFor(this);
  return true;
}

// ---------------------------------------------------------------- drag

vcl::TRect TLumCustomToolBar::FloatingCloseRect() const {
  const vcl::TRect band = GetCaptionRect();
  return vcl::TRect{band.Right - captionHeight_ - 1, band.Top + 1, band.Right - 1, band.Bottom - 1};
}

vcl::TRect TLumCustomToolBar::FloatingOptionRect() const {
  const vcl::TRect close = FloatingCloseRect();
  return showClose_ ? vcl::TRect{close.Left - 2 - captionHeight_, close.Top, close.Left - 2, close.Bottom} : close;
}

void TLumCustomToolBar::CollectCandidates() {
  candidates_.clear();
  TLumDockPanel* home = homeDockPanel_;
  vcl::TWinControl* start = nullptr;
  if (home) {
    switch (dockMode_) {
      case dmAll:
        start = vcl::GetParentForm(home);
        break;
      case dmAllParentDockPanels:
        start = home->Parent() ? home->Parent() : vcl::GetParentForm(home);
        break;
      case dmParentDockPanelOnly:
        start = home;
        break;
    }
  } else {
    // Never docked: the dock panels of the form that owns the toolbar.
    start = dynamic_cast<vcl::TCustomForm*>(Owner());
  }
  auto consider = [this](TLumDockPanel* p) {
    if (!p->Showing() || ContainsControl(p) || !CanDockTo(p)) return;
    for (const TDockCandidate& c : candidates_)
      if (c.Panel == p) return;
    const vcl::TPoint o = p->ClientToScreen({0, 0});
    vcl::TRect zone{o.X, o.Y, o.X + p->Width(), o.Y + p->Height()};
    switch (p->DockAlign()) {
      case daTop:
        zone.Bottom += 15;
        break;
      case daBottom:
        zone.Top -= 15;
        break;
      case daLeft:
        zone.Right += 15;
        break;
      case daRight:
        zone.Left -= 15;
        break;
    }
    candidates_.push_back({p, zone});
  };
  if (!start) return;
  if (auto* p = dynamic_cast<TLumDockPanel*>(start)) {
    consider(p);
    return;
  }
  if (dockMode_ == dmParentDockPanelOnly) return;
  std::vector<vcl::TWinControl*> stack{start};
  while (!stack.empty()) {
    vcl::TWinControl* w = stack.back();
    stack.pop_back();
    for (int i = 0; i < w->ControlCount(); ++i) {
      auto* cw = dynamic_cast<vcl::TWinControl*>(w->Controls(i));
      if (!cw || cw == this) continue;
      if (auto* p = dynamic_cast<TLumDockPanel*>(cw))
        consider(p);
      else if (dockMode_ == dmAll)
        stack.push_back(cw);
    }
  }
}

void TLumCustomToolBar::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomControl::MouseDown(Button, Shift, X, Y);
  if (dragging_) return;
  auto startDrag = [&] {
    dragStart_ = {X, Y};
    dragging_ = true;
    SetMouseCapture(true);
    CollectCandidates();
  };
  if (state_ == tsDocked && dockPanel_) {
    if (CurrentStyler()->DragGripStyle() == dsNone || locked_) return;
    const vcl::TRect grip = Horizontal() ? vcl::TRect{0, 0, GripWidth(), Height()} : vcl::TRect{0, 0, Width(), GripWidth()};
    if (grip.Contains({X, Y})) startDrag();
    return;
  }
  if (state_ != tsFloating) return;
  const vcl::TRect band = GetCaptionRect();
  if (!band.Contains({X, Y})) return;
  if (showOptionIndicator_ && FloatingOptionRect().Contains({X, Y})) {
    if (!optionDown_) {
      optionDown_ = true;
      Invalidate();
    }
    return;
  }
  if (showClose_ && FloatingCloseRect().Contains({X, Y})) {
    closeDown_ = true;
    Invalidate();
    return;
  }
  vcl::Screen->SetCursor(vcl::crSizeAll);
  startDrag();
}

void TLumCustomToolBar::MouseMove(vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomControl::MouseMove(Shift, X, Y);
  if (dragging_) {
    DragMove(X, Y);
    return;
  }
  if (state_ == tsFloating) {
    const bool closeHot = showClose_ && FloatingCloseRect().Contains({X, Y});
    const bool optionHot = showOptionIndicator_ && FloatingOptionRect().Contains({X, Y});
    if (closeHot != closeHot_ || optionHot != optionHot_) {
      closeHot_ = closeHot;
      optionHot_ = optionHot;
      Invalidate();
    }
    return;
  }
  if (Shift.Contains(vcl::ssLeft) || state_ != tsDocked || !dockPanel_) return;
  const vcl::TRect grip = Horizontal() ? vcl::TRect{0, 0, GripWidth(), Height()} : vcl::TRect{0, 0, Width(), GripWidth()};
  const bool overGrip = !locked_ && CurrentStyler()->DragGripStyle() != dsNone && grip.Contains({X, Y});
  if (overGrip && Cursor() != vcl::crSizeAll) {
    savedCursor_ = Cursor();
    SetCursor(vcl::crSizeAll);
  } else if (!overGrip && Cursor() == vcl::crSizeAll) {
    SetCursor(savedCursor_);
  }
}

void TLumCustomToolBar::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomControl::MouseUp(Button, Shift, X, Y);
  if (dragging_) {
    if (Button == vcl::mbLeft) EndDrag();
    return;
  }
  if (optionDown_) {
    optionDown_ = false;
    Invalidate();
  }
  if (closeDown_) {
    closeDown_ = closeHot_ = false;
    Invalidate();
    CloseFloating();
  }
}

bool TLumCustomToolBar::FloatingMessage(vcl::TMessage& Message) {
  if (Message.Msg == vcl::CM_MOUSELEAVE) {
    if (closeHot_ || optionHot_) {
      closeHot_ = optionHot_ = false;
      Invalidate();
    }
    if (!dragging_ && Cursor() == vcl::crSizeAll) SetCursor(savedCursor_);
    return false;
  }
  if (Message.Msg != vcl::CM_HINTSHOW || state_ != tsFloating || !ShowHint()) return false;
  auto* info = reinterpret_cast<vcl::THintInfo*>(Message.LParam);
  if (!info) return false;
  const vcl::TPoint p = ScreenToClient(info->CursorPos);
  if (showClose_ && !hintCloseButton_.empty() && FloatingCloseRect().Contains(p)) {
    info->HintStr = hintCloseButton_;
    info->CursorRect = FloatingCloseRect();
    return true;
  }
  return false;
}

void TLumCustomToolBar::EndDrag() {
  if (vcl::Screen->Cursor() == vcl::crSizeAll) vcl::Screen->SetCursor(vcl::crDefault);
  dragging_ = false;
  if (MouseCapture()) SetMouseCapture(false);
  candidates_.clear();
}

void TLumCustomToolBar::DragMove(int X, int Y) {
  const vcl::TPoint screen = ClientToScreen({X, Y});
  bool pulled = false;
  if (state_ == tsFloating) {
    if (floatingWindow_)
      floatingWindow_->SetBounds(floatingWindow_->Left() + X - dragStart_.X, floatingWindow_->Top() + Y - dragStart_.Y,
                                 floatingWindow_->Width(), floatingWindow_->Height());
  } else if (state_ == tsDocked && dockPanel_) {
    TLumDockPanel* panel = dockPanel_;
    const int oldRow = rowIndex_;
    if (Horizontal()) {
      const int oldLeft = Left();
      const int requested = Left() + X - dragStart_.X;
      SetLeft(requested);
      if (Y > Height())
        SetTop(Top() + Y - Height());
      else if (Y < 0)
        SetTop(Top() + Y);
      pulled = Y != Top() && rowIndex_ == oldRow &&
               ((Y > Height() && Y + Top() > panel->Height() + 26) || (Y < 0 && Y + Top() < -26));
      if (!pulled && Left() != requested)
        pulled = requested > Width() ? panel->Width() + 26 < requested : X < 0 && X + oldLeft < -26;
    } else {
      const int requested = Top() + Y - dragStart_.Y;
      SetTop(requested);
      if (X > Width())
        SetLeft(Left() + X - Width());
      else if (X < 0)
        SetLeft(Left() + X);
      pulled = X != Left() && rowIndex_ == oldRow &&
               ((X > Width() && X + Left() > panel->Width() + 26) || (X < 0 && X + Left() < -26));
      if (!pulled && Top() != requested)
        pulled = requested > Height() ? panel->Height() + 26 < requested : requested < -26;
    }
    Invalidate();
  } else {
    return;
  }
  if (!((pulled && allowFloating_) || state_ == tsFloating)) return;
  for (const TDockCandidate& c : candidates_) {
    if (!c.Zone.Contains(screen) || c.Panel == Parent()) continue;
    SetParent(c.Panel);
    if (Parent() == c.Panel) {
      dragStart_.X = 1;
      ReleaseFloatingWindow();
      SetMouseCapture(true);
    }
    return;
  }
  if (state_ != tsDocked || !pulled || !allowFloating_) return;
  bool allow = true;
  if (OnCanFloat) OnCanFloat(this, allow);
  if (!allow) return;
  // At the cursor: the point of the move that pulled it out.
  MakeFloating(screen.X, screen.Y, true);
  if (state_ == tsFloating) SetMouseCapture(true);
  CollectCandidates();
}

// ----------------------------------------------------------- persistence

void TLumCustomToolBar::SaveFloatingState(rtl::TCustomIniFile* Store) {
  if (!persistence_ || !persistence_->Enabled() || persistence_->Key().empty() || persistence_->Section().empty() ||
      FloatingDesigning(this))
    return;
  std::unique_ptr<rtl::TCustomIniFile> own;
  if (!Store) {
    own = persistence_->OpenStore();
    Store = own.get();
  }
  const rtl::AnsiString& sec = persistence_->Section();
  const rtl::AnsiString& n = Name();
  if (state_ == tsFloating) {
    Store->WriteString(sec, n + ".Name", n);
    Store->WriteInteger(sec, n + ".State", static_cast<int>(state_));
    Store->WriteInteger(sec, n + ".FloatingRows", floatingRows_);
    Store->WriteInteger(sec, n + ".Left", floatingWindow_ ? floatingWindow_->Left() : Left());
    Store->WriteInteger(sec, n + ".Top", floatingWindow_ ? floatingWindow_->Top() : Top());
    Store->WriteInteger(sec, n + ".Width", Width());
    Store->WriteInteger(sec, n + ".Height", Height());
    Store->WriteInteger(sec, n + ".Visible", Visible() ? 1 : 0);
  } else if (rtl::SameText(Store->ReadString(sec, n + ".Name", ""), n) && Store->ReadInteger(sec, n + ".State", -1) == 1) {
    Store->WriteInteger(sec, n + ".State", static_cast<int>(state_));
  }
  for (vcl::TControl* c : controls_)
    if (!c->Name().empty()) Store->WriteInteger(sec, n + "." + c->Name(), c->Visible() ? 1 : 0);
  if (own) own->UpdateFile();
}

void TLumCustomToolBar::LoadFloatingState(rtl::TCustomIniFile* Store) {
  if (!persistence_ || !persistence_->Enabled() || persistence_->Key().empty() || persistence_->Section().empty() ||
      FloatingDesigning(this))
    return;
  std::unique_ptr<rtl::TCustomIniFile> own;
  if (!Store) {
    own = persistence_->OpenStore();
    Store = own.get();
  }
  const rtl::AnsiString& sec = persistence_->Section();
  const rtl::AnsiString& n = Name();
  if (rtl::SameText(Store->ReadString(sec, n + ".Name", ""), n) && Store->ReadInteger(sec, n + ".State", -1) == 1) {
    const int rows = Store->ReadInteger(sec, n + ".FloatingRows", floatingRows_);
    const int l = StoredCoordinate(Store->ReadInteger(sec, n + ".Left", Left()));
    const int t = StoredCoordinate(Store->ReadInteger(sec, n + ".Top", Top()));
    MakeFloating(l, t, true);
    if (rows > floatingRows_) SetFloatingRows(rows);
    const bool visible = Store->ReadInteger(sec, n + ".Visible", Visible() ? 1 : 0) != 0;
    if (visible != Visible()) SetVisible(visible);
  }
  bool changed = false;
  for (vcl::TControl* c : controls_) {
    if (c->Name().empty()) continue;
    const bool v = Store->ReadInteger(sec, n + "." + c->Name(), c->Visible() ? 1 : 0) != 0;
    if (v != c->Visible()) {
      c->SetVisible(v);
      changed = true;
    }
  }
  if (changed) PositionControls(true);
  stateLoaded_ = true;
}

}  // namespace ribbon
