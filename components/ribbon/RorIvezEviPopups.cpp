// The ribbon's pop-up windows and caption layer (see RorIvezEviPopups.h).
#include "ribbon/RorIvezEviPopups.h"

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Messages.h"
#include "vcl/Regions.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {

vcl::TTimer* PopupHideTimer(vcl::TComponent* Owner) {
  auto* t = new vcl::TTimer(Owner);
  t->SetInterval(1);
  t->SetEnabled(false);
  return t;
}

void PopupFillFrame(vcl::TCustomForm* Form, std::unique_ptr<vcl::TControlCanvas>& Canvas) {
  if (!Canvas) Canvas = std::make_unique<vcl::TControlCanvas>(Form);
  vcl::TCanvas* c = Canvas.get();
  vcl::TRect r = Form->ClientRect();
  r.Left -= 4, r.Top -= 4, r.Right += 4, r.Bottom += 4;
  c->Brush()->SetStyle(vcl::bsSolid);
  c->Brush()->SetColor(Form->Color());
  c->Pen()->SetColor(Form->Color());
  c->Rectangle(r);
}

// A point of WM_NCHITTEST (screen coordinates) in the client area.
vcl::TPoint PopupHitPoint(const vcl::TControl* Control, vcl::LPARAM LParam) {
  const vcl::TPoint screen{static_cast<int16_t>(LParam & 0xFFFF), static_cast<int16_t>((LParam >> 16) & 0xFFFF)};
  return Control->ScreenToClient(screen);
}

}  // namespace

// --- TCompactWindow ---

TCompactWindow::TCompactWindow(TLumCustomToolBar* AOwner) : vcl::TPopupForm(AOwner), owner_(AOwner) {
  SetPopupParent(AOwner);
  SetBounds(0, 0, 30, 30);
  hideTimer_ = PopupHideTimer(this);
  hideTimer_->OnTimer = [this](vcl::TObject*) {
    HidePopup();
    SetVisible(false);
    hideTimer_->SetEnabled(false);
    if (owner_) owner_->CompactWindowClosed();
  };
}

TCompactWindow::~TCompactWindow() = default;

bool TCompactWindow::CanHide() { return CloseQuery() && mayClose_; }

void TCompactWindow::FitToToolBar() {
  if (!toolBar_) return;
  SetClientWidth(toolBar_->Width() + 2);
  SetClientHeight(toolBar_->Height() + 2);
  toolBar_->SetBounds(1, 1, toolBar_->Width(), toolBar_->Height());
  if (TCustomRorIvezEviStyler* s = toolBar_->CurrentStyler()) SetColor(s->Color()->Color());
}

void TCompactWindow::RoundCorners() {
  const int w = ClientWidth(), h = ClientHeight();
  vcl::TRegion shape(vcl::TRect{0, 0, w, h});
  // Corners rounded 4 by 4: three pixels off each corner.
  for (const vcl::TRect& corner :
       {vcl::TRect{0, 0, 2, 1}, vcl::TRect{0, 1, 1, 2}, vcl::TRect{w - 2, 0, w, 1}, vcl::TRect{w - 1, 1, w, 2},
        vcl::TRect{0, h - 1, 2, h}, vcl::TRect{0, h - 2, 1, h - 1}, vcl::TRect{w - 2, h - 1, w, h},
        vcl::TRect{w - 1, h - 2, w, h - 1}})
    shape = shape.Subtract(vcl::TRegion(corner));
  vcl::SetWindowRgn(Handle(), &shape, true);
}

vcl::TWinControl* TCompactWindow::OwnerTopWindow() const {
  vcl::TWinControl* w = owner_;
  while (w && w->Parent()) w = w->Parent();
  return w;
}

void TCompactWindow::PaintWindow() {
  vcl::TPopupForm::PaintWindow();
  PopupFillFrame(this, canvas_);
}

void TCompactWindow::DoHide() {
  vcl::TPopupForm::DoHide();
  if (dropDownButton_) dropDownButton_->SetDown(false);
  if (owner_) owner_->PostCompactHide();
}

void TCompactWindow::Dispatch(vcl::TMessage& Message) {
  if (Message.Msg == vcl::WM_ACTIVATE) {
    vcl::TPopupForm::Dispatch(Message);
    const bool active = (Message.WParam & 0xFFFF) != vcl::WA_INACTIVE;
    if (!Visible() || active) {
      if (toolBar_ && toolBar_->Visible() && toolBar_->CanFocus()) toolBar_->SetFocus();
      if (Visible() && active)
        if (vcl::TWinControl* top = OwnerTopWindow(); top && top->HandleAllocated())
          vcl::SendMessage(top->Handle(), vcl::WM_NCACTIVATE, 1, 0);
      return;
    }
    if (!CanHide()) return;
    // A menu dropped from a button of the clone keeps the window open.
    const TLumCustomToolBar* source = toolBar_ ? toolBar_->CloneSource() : nullptr;
    if (source && source->Visible() && toolBar_->IsAnyDropDownOpen()) return;
    hideTimer_->SetEnabled(true);
    return;
  }
  if (Message.Msg == vcl::WM_NCHITTEST) {
    vcl::TPopupForm::Dispatch(Message);
    const vcl::TPoint p = PopupHitPoint(this, Message.LParam);
    if (p.X >= ClientWidth() - 10 && p.X < ClientWidth() && p.Y >= ClientHeight() - 10 && p.Y < ClientHeight())
      Message.Result = vcl::HT_BOTTOMRIGHT_CORNER;
    return;
  }
  vcl::TPopupForm::Dispatch(Message);
}

// --- TMinimizedRibbonWindow ---

TMinimizedRibbonWindow::TMinimizedRibbonWindow(vcl::TWinControl* AOwner) : vcl::TPopupForm(AOwner), owner_(AOwner) {
  SetPopupParent(AOwner);
  SetBounds(0, 0, 0, 0);
  hideTimer_ = PopupHideTimer(this);
  hideTimer_->OnTimer = [this](vcl::TObject*) {
    HidePopup();
    SetVisible(false);
    hideTimer_->SetEnabled(false);
    if (OnHidden) OnHidden(this);
  };
}

TMinimizedRibbonWindow::~TMinimizedRibbonWindow() = default;

bool TMinimizedRibbonWindow::CanHide() { return CloseQuery() && mayClose_; }

void TMinimizedRibbonWindow::FitToPage() {
  if (!pager_ || !page_) return;
  SetClientWidth(page_->Width() + 3);
  SetClientHeight(page_->Height() + 3);
  page_->SetBounds(2, 0, page_->Width(), page_->Height());
}

void TMinimizedRibbonWindow::PaintWindow() {
  vcl::TPopupForm::PaintWindow();
  PopupFillFrame(this, canvas_);
}

bool TMinimizedRibbonWindow::PagerHasFocus() const {
  if (!pager_) return false;
  if (pager_->Focused()) return true;
  if (vcl::GetKeyState(vcl::VK_LBUTTON) >= 0) return false;
  const vcl::TPoint p = pager_->ScreenToClient(vcl::GetCursorPos());
  return p.X >= 0 && p.Y >= 0 && p.X < pager_->Width() && p.Y < pager_->Height();
}

void TMinimizedRibbonWindow::Dispatch(vcl::TMessage& Message) {
  if (Message.Msg == vcl::WM_ACTIVATE && Visible()) {
    vcl::TPopupForm::Dispatch(Message);
    if ((Message.WParam & 0xFFFF) != vcl::WA_INACTIVE) {
      if (page_)
        if (TLumCustomToolBar* t = page_->FirstToolBar(true); t && t->CanFocus()) t->SetFocus();
      return;
    }
    if (CanHide() && !PagerHasFocus()) hideTimer_->SetEnabled(true);
    return;
  }
  if (Message.Msg == vcl::CM_DIALOGKEY && Message.WParam == vcl::VK_ESCAPE && pager_ && Visible()) {
    // Escape with no group to hear it (the focus on the window itself)
    // closes the popup as Escape on a group does.
    Message.Result = 1;
    pager_->HidePopup();
    return;
  }
  vcl::TPopupForm::Dispatch(Message);
}

// --- TCaptionLayer ---

TCaptionLayer::TCaptionLayer(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {
  vcl::TControlStyle style = ControlStyle();
  style.Exclude(vcl::csOpaque);
  style.Include(vcl::csParentBackground);
  SetControlStyle(style);
  SetText("");
}

void TCaptionLayer::Paint() {
  if (OnOwnerDraw) {
    OnOwnerDraw(this, Caption(), false, ClientRect());
    return;
  }
  const vcl::TRect none{-1, -1, -1, -1};
  DrawCompositedCaption(this, Canvas(), Caption(), ClientRect(), none, 0, false, none, glowColor_);
}

void TCaptionLayer::Dispatch(vcl::TMessage& Message) {
  if (Message.Msg == vcl::WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  vcl::TCustomControl::Dispatch(Message);
  if (Message.Msg == vcl::WM_LBUTTONDBLCLK && OnCaptionDblClick)
    OnCaptionDblClick(this, static_cast<int16_t>(Message.LParam & 0xFFFF),
                      static_cast<int16_t>((Message.LParam >> 16) & 0xFFFF));
}

// --- FormFillsWorkArea ---

bool FormFillsWorkArea(vcl::TCustomForm* Form) {
  if (!Form || Form->WindowState() != vcl::TWindowState::wsMaximized) return false;
  const vcl::TSizeConstraints* k = Form->Constraints();
  if (k->MaxWidth == 0 && k->MaxHeight == 0) return true;
  vcl::TRect work = vcl::PrimaryWorkArea();
  if (Form->Parent()) {
    const vcl::TPoint origin = Form->Parent()->ClientOrigin();
    for (const vcl::TScreenArea& a : vcl::ScreenAreas())
      if (origin.X >= a.Bounds.Left && origin.X < a.Bounds.Right && origin.Y >= a.Bounds.Top &&
          origin.Y < a.Bounds.Bottom)
        work = a.WorkArea;
  }
  return Form->Width() >= work.Width() - 10 && Form->Height() >= work.Height() - 30;
}

}  // namespace ribbon
