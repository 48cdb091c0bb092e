// The toolbar's small popup menus (see RorIvezEviPopupMenu.h).
#include "ribbon/RorIvezEviPopupMenu.h"

#include <algorithm>

#include "controls/LumGlowButton.h"
#include "controls/LumMenus.h"
#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviDraw.h"
#include "vcl/ActnList.h"
#include "vcl/ImgList.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {

bool PopupMenuColourSet(vcl::TColor C) { return C != vcl::clNone; }

// Fills R with From to To in Steps bands, or solid in From when To is
// clNone; nothing when From is clNone too.
void PopupMenuFill(vcl::TCanvas* C, vcl::TColor From, vcl::TColor To, int Steps, const vcl::TRect& R,
                   bool Horizontal) {
  if (PopupMenuColourSet(From) && PopupMenuColourSet(To)) {
    DrawStepGradient(C, From, To, Steps, R, Horizontal);
  } else if (PopupMenuColourSet(From)) {
    C->Brush()->SetStyle(vcl::bsSolid);
    C->Brush()->SetColor(From);
    C->FillRect(R);
  }
}

void PopupMenuFrame(vcl::TCanvas* C, vcl::TColor Color, const vcl::TRect& R) {
  if (!PopupMenuColourSet(Color)) return;
  C->Brush()->SetStyle(vcl::bsSolid);
  C->Brush()->SetColor(Color);
  C->FrameRect(R);
}

// A graphic drawn centred in Box when it fits, else stretched into it.
void PopupMenuGraphic(vcl::TCanvas* C, vcl::TGraphic* G, const vcl::TRect& Box) {
  if (!G || G->Empty()) return;
  if (G->Width() > Box.Width() || G->Height() > Box.Height()) {
    C->StretchDraw(Box, G);
    return;
  }
  vcl::TRect r = Box;
  CenterRect(r, G->Width(), G->Height());
  C->Draw(r.Left, r.Top, G);
}

vcl::TTimer* PopupMenuHideTimer(vcl::TComponent* Owner) {
  auto* t = new vcl::TTimer(Owner);
  t->SetInterval(1);
  t->SetEnabled(false);
  return t;
}

// The action's image list and index when the control's action is a custom
// action in an action list.
bool PopupMenuActionImage(vcl::TControl* Control, vcl::TImageList*& Images, int& Index) {
  auto* action = dynamic_cast<vcl::TCustomAction*>(Control->Action());
  if (!action || !action->ActionList()) return false;
  Index = action->ImageIndex();
  if (action->ActionList()->Images()) Images = action->ActionList()->Images();
  return true;
}

}  // namespace

// --- TRIEMenuItem ---

TRIEMenuItem::~TRIEMenuItem() = default;

TRIEMenuItem* TRIEMenuItem::Add() {
  items_.push_back(std::make_unique<TRIEMenuItem>(this));
  return items_.back().get();
}

void TRIEMenuItem::Clear() { items_.clear(); }

TRIEMenuItem* TRIEMenuItem::Items(int Index) const {
  CheckListRead(Index, Count());
  return items_[static_cast<size_t>(Index)].get();
}

void TRIEMenuItem::ForgetControl(const vcl::TComponent* Control) {
  if (data_ && static_cast<const vcl::TComponent*>(data_) == Control) data_ = nullptr;
  for (auto& item : items_) item->ForgetControl(Control);
}

vcl::TRect WorkAreaAt(vcl::TPoint P) {
  for (const vcl::TScreenArea& a : vcl::ScreenAreas())
    if (a.Bounds.Contains(P)) return a.WorkArea;
  return vcl::PrimaryWorkArea();
}

vcl::TPoint PlaceBesideEntry(const vcl::TRect& Entry, vcl::TSize Size, int Gap, const vcl::TRect& Work) {
  vcl::TPoint p{Entry.Right + Gap, Entry.Top};
  if (p.Y + Size.cy + 2 > Work.Bottom) p.Y = Work.Bottom - Size.cy - 2;
  if (p.X + Size.cx > Work.Right) p.X = Entry.Left - Size.cx;
  return p;
}

// --- TRIEFramedPanel ---

TRIEFramedPanel::TRIEFramedPanel(vcl::TComponent* AOwner, int Margin)
    : vcl::TCustomPanel(AOwner), marginH_(Margin), marginV_(Margin) {
  SetBevelOuter(vcl::bvNone);
  SetBevelWidth(1);
  SetColor(0xF7F8F9);
  SetShowCaption(false);
}

void TRIEFramedPanel::Paint() {
  vcl::TCustomPanel::Paint();
  vcl::TCanvas* c = Canvas();
  const vcl::TRect r = ClientRect();
  if (colorTo_ != vcl::clNone) DrawStepGradient(c, Color(), colorTo_, 40, r, gradientDirection_ == gdHorizontal);
  PopupMenuFrame(c, windowBorderColor_, r);
}

// --- TRIEPopupPanel ---

TRIEPopupPanel::TRIEPopupPanel(vcl::TComponent* AOwner) : TRIECustomPopupPanel(AOwner) {}

TRIEPopupPanel::~TRIEPopupPanel() = default;

void TRIEPopupPanel::SetRootItem(TRIEMenuItem* Value) {
  root_ = Value;
  hoverIndex_ = openIndex_ = -1;
  Arrange();
}

void TRIEPopupPanel::SetMenuStyler(controls::TCustomLumMenuStyler* Value) {
  menuStyler_ = Value;
  Invalidate();
}

void TRIEPopupPanel::SetShowIconBar(bool Value) {
  showIconBar_ = Value;
  Invalidate();
}

void TRIEPopupPanel::SetShowImageColumn(bool Value) {
  showImageColumn_ = Value;
  Invalidate();
}

void TRIEPopupPanel::SetImageColumnWidth(int Value) {
  imageColumnWidth_ = Value;
  Invalidate();
}

int TRIEPopupPanel::LineCount() const { return root_ ? root_->Count() : 0; }

TRIEMenuItem* TRIEPopupPanel::Line(int Index) const {
  return root_ && Index >= 0 && Index < root_->Count() ? root_->Items(Index) : nullptr;
}

bool TRIEPopupPanel::ControlShowsImage(vcl::TControl* Control) const {
  if (auto* b = dynamic_cast<TLumCustomToolBarButton*>(Control))
    return b->ImageIndex() >= 0 || !b->Glyph()->Empty();
  if (auto* g = dynamic_cast<controls::TLumGlowButton*>(Control)) {
    if (g->ImageIndex() >= 0 || !g->Picture()->Empty()) return true;
    vcl::TImageList* images = nullptr;
    int index = -1;
    return PopupMenuActionImage(Control, images, index) && index >= 0;
  }
  return false;
}

void TRIEPopupPanel::Arrange() {
  vcl::TCanvas* c = MeasureCanvas();
  if (c == Canvas()) c->Font()->Assign(Font());
  int w = 0;
  const int n = LineCount();
  for (int i = 0; i < n; ++i) {
    TRIEMenuItem* item = Line(i);
    w = std::max(w, c->TextWidth(item->Caption()) + 7);
    if (item->HasSubItems()) w += 30;
    if (!showImageColumn_ && item->Data() && ControlShowsImage(item->Data())) showImageColumn_ = true;
  }
  if (showIconBar_ && menuStyler_) w += menuStyler_->IconBar()->Size();
  if (showImageColumn_) w += imageColumnWidth_;
  w = std::max(w, 70);
  for (int i = 0; i < n; ++i) Line(i)->SetRect(vcl::Rect(marginH_, 2 + 26 * i, marginH_ + w, 2 + 26 * i + itemHeight_));
  SetBounds(Left(), Top(), w + 2 * marginH_, 2 + 26 * n);
}

int TRIEPopupPanel::ItemAtPos(vcl::TPoint P) const {
  for (int i = 0; i < LineCount(); ++i)
    if (Line(i)->Rect().Contains(P)) return i;
  return -1;
}

void TRIEPopupPanel::InvalidateItem(int Index) {
  if (Line(Index)) Invalidate();
}

void TRIEPopupPanel::SetHoverIndex(int Value) {
  if (Value == hoverIndex_) return;
  const int old = hoverIndex_;
  hoverIndex_ = Value;
  InvalidateItem(old);
  InvalidateItem(Value);
}

void TRIEPopupPanel::ToggleItem(TRIEMenuItem* Item) {
  if (!Item || !Item->AutoCheck() || !Item->Data()) return;
  vcl::TControl* control = Item->Data();
  control->SetVisible(!control->Visible());
  Item->SetChecked(control->Visible());
  Invalidate();
}

void TRIEPopupPanel::CloseSubMenu() {
  if (subMenu_ && subMenu_->Visible()) subMenu_->ClosePopup();
  openIndex_ = -1;
}

void TRIEPopupPanel::Reset() {
  CloseSubMenu();
  hoverIndex_ = -1;
  openIndex_ = -1;
  Invalidate();
}

void TRIEPopupPanel::OpenHoveredSubMenu() {
  if (hoverIndex_ == openIndex_ || hoverIndex_ < 0) return;
  CloseSubMenu();
  TRIEMenuItem* item = Line(hoverIndex_);
  if (!item || !item->HasSubItems()) return;
  if (!subMenu_) {
    subMenu_ = new TRIEPopupWindow(this);
    subMenu_->SetRorIvezEvi(window_ ? window_->RorIvezEvi() : nullptr);
    subMenu_->OnHide = [this](vcl::TObject*) {
      if (window_) window_->SetHideOnDeactivate(true);
      openIndex_ = -1;
    };
    subMenu_->OnDeActivateHide = [this](vcl::TObject*) {
      if (!window_) return;
      window_->ClosePopup();
      if (window_->OnDeActivateHide) window_->OnDeActivateHide(window_);
    };
  }
  TRIEPopupPanel* panel = subMenu_->PopupPanel();
  panel->SetShowIconBar(true);
  panel->SetMenuStyler(menuStyler_);
  panel->SetMeasureCanvas(measureCanvas_);
  panel->SetRootItem(item);
  openIndex_ = hoverIndex_;
  subMenu_->FitToPanel();
  if (window_) window_->SetHideOnDeactivate(false);
  const vcl::TRect r = item->Rect();
  const vcl::TPoint tl = ClientToScreen({r.Left, r.Top});
  const vcl::TRect entry = vcl::Bounds(tl.X, tl.Y, r.Width(), r.Height());
  subMenu_->ShowAt(PlaceBesideEntry(entry, {subMenu_->Width(), subMenu_->Height()}, 2, WorkAreaAt(tl)));
}

void TRIEPopupPanel::MouseMove(vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) {
  TRIECustomPopupPanel::MouseMove(Shift, X, Y);
  const int i = ItemAtPos({X, Y});
  if (i < 0 || i == hoverIndex_ || Shift.Contains(vcl::ssLeft)) return;
  if (hoverIndex_ >= 0 && openIndex_ == hoverIndex_) CloseSubMenu();
  SetHoverIndex(i);
  OpenHoveredSubMenu();
}

void TRIEPopupPanel::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) {
  TRIECustomPopupPanel::MouseUp(Button, Shift, X, Y);
  if (TRIEMenuItem* item = Line(ItemAtPos({X, Y})); item && item->AutoCheck()) ToggleItem(item);
}

void TRIEPopupPanel::Dispatch(vcl::TMessage& Message) {
  TRIECustomPopupPanel::Dispatch(Message);
  if (Message.Msg == vcl::CM_MOUSELEAVE && openIndex_ < 0 && hoverIndex_ >= 0) SetHoverIndex(-1);
}

void TRIEPopupPanel::DrawCheck(vcl::TCanvas* C, const vcl::TRect& Box, bool Hovered) {
  const controls::TSelectedItem* sel = menuStyler_->SelectedItem();
  const controls::TIconBar* bar = menuStyler_->IconBar();
  const vcl::TColor from = Hovered ? sel->CheckColor() : bar->CheckColor();
  const vcl::TColor to = Hovered ? sel->CheckColorTo() : bar->CheckColorTo();
  PopupMenuFill(C, from, to, 16, Box, true);
  PopupMenuFrame(C, Hovered ? sel->BorderColor() : bar->CheckBorder(), Box);
  if (Hovered) PopupMenuFrame(C, sel->BorderColor(), Box);
  PopupMenuGraphic(C, menuStyler_->Glyphs()->Check(), Box);
}

void TRIEPopupPanel::DrawControlImage(vcl::TCanvas* C, vcl::TControl* Control, const vcl::TRect& Box) {
  if (!Control) return;
  auto* button = dynamic_cast<TLumCustomToolBarButton*>(Control);
  auto* glow = dynamic_cast<controls::TLumGlowButton*>(Control);
  if (!button && !glow) return;
  vcl::TImageList* images = window_ && window_->RorIvezEvi() ? window_->RorIvezEvi()->Images() : nullptr;
  int index = button ? button->ImageIndex() : glow->ImageIndex();
  PopupMenuActionImage(Control, images, index);
  if (index >= 0 && images && index < images->Count()) {
    vcl::TBitmap bmp(images->Width(), images->Height());
    if (button) bmp.SetPixelFormat(vcl::pf32bit);
    bmp.SetTransparent(true);
    if (images->Width() > Box.Width() || images->Height() > Box.Height()) {
      images->Draw(bmp.Canvas(), 0, 0, index, Control->Enabled());
      C->StretchDraw(Box, &bmp);
    } else {
      vcl::TRect r = Box;
      CenterRect(r, images->Width(), images->Height());
      images->Draw(C, r.Left, r.Top, index, Control->Enabled());
    }
    return;
  }
  if (button) PopupMenuGraphic(C, button->Glyph(), Box);
  else PopupMenuGraphic(C, glow->Picture(), Box);
}

void TRIEPopupPanel::Paint() {
  TRIECustomPopupPanel::Paint();
  vcl::TCanvas* c = Canvas();
  const int iconBar = showIconBar_ && menuStyler_ ? menuStyler_->IconBar()->Size() : 0;
  const int imageColumn = showImageColumn_ ? imageColumnWidth_ : 0;
  if (menuStyler_ && showIconBar_) {
    const controls::TIconBar* bar = menuStyler_->IconBar();
    const vcl::TRect column = vcl::Rect(marginH_, marginV_, marginH_ + iconBar + imageColumn, Height() - marginV_);
    if (bar->Color() == vcl::clNone || bar->ColorTo() == vcl::clNone)
      PopupMenuFill(c, bar->Color(), vcl::clNone, 0, column, true);
    else
      DrawStepGradient(c, bar->Color(), bar->ColorTo(), 40, column, true);
  }
  c->Font()->Assign(Font());
  for (int i = 0; i < LineCount(); ++i) {
    TRIEMenuItem* item = Line(i);
    const vcl::TRect r = item->Rect();
    const bool hovered = i == hoverIndex_;
    if (hovered && menuStyler_) {
      const controls::TSelectedItem* sel = menuStyler_->SelectedItem();
      if (sel->Color() == vcl::clNone || sel->ColorTo() == vcl::clNone)
        PopupMenuFill(c, sel->Color(), vcl::clNone, 0, r, true);
      else
        DrawStepGradient(c, sel->Color(), sel->ColorTo(), 40, r, sel->GradientDirection() == controls::gdHorizontal);
      PopupMenuFrame(c, sel->BorderColor(), r);
    }
    if (iconBar > 0) {
      if (item->AutoCheck()) {
        if (item->Checked() && item->Enabled())
          DrawCheck(c, vcl::Rect(r.Left + 1, r.Top + 1, r.Left + iconBar - 2, r.Bottom - 1), hovered);
      } else if (!showImageColumn_) {
        DrawControlImage(c, item->Data(), vcl::Rect(r.Left, r.Top, r.Left + iconBar, r.Bottom));
      }
    }
    if (showImageColumn_)
      DrawControlImage(c, item->Data(), vcl::Rect(r.Left + iconBar, r.Top, r.Left + iconBar + imageColumn, r.Bottom));
    vcl::TRect text = vcl::Rect(r.Left + iconBar + imageColumn + 4, r.Top, r.Right, r.Bottom);
    c->Brush()->SetStyle(vcl::bsClear);
    if (menuStyler_) c->Font()->SetColor(hovered ? menuStyler_->SelectedItem()->Font()->Color() : Font()->Color());
    c->DrawText(item->Caption(), text, vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_LEFT);
    if (item->HasSubItems() && menuStyler_) {
      const int m = (r.Top + r.Bottom - 5) / 2;
      vcl::TRect box = vcl::Rect(r.Right - 8, m, r.Right - 5, m + 6);
      vcl::TBitmap* arrow = menuStyler_->Glyphs()->SubMenu();
      if (arrow && !arrow->Empty()) {
        CenterRect(box, arrow->Width(), arrow->Height());
        c->Draw(box.Left, box.Top, arrow);
      }
    }
  }
}

// --- TRIEPopupWindow ---

TRIEPopupWindow::TRIEPopupWindow(vcl::TWinControl* AOwner) : vcl::TPopupForm(AOwner), owner_(AOwner) {
  SetPopupParent(AOwner);
  SetBounds(0, 0, 10, 10);
  hideTimer_ = PopupMenuHideTimer(this);
  hideTimer_->OnTimer = [this](vcl::TObject*) {
    ClosePopup();
    hideTimer_->SetEnabled(false);
    if (OnDeActivateHide) OnDeActivateHide(this);
  };
  panel_ = new TRIEPopupPanel(this);
  panel_->SetWindow(this);
  panel_->SetParent(this);
  panel_->SetBounds(0, 0, 10, 10);
}

TRIEPopupWindow::~TRIEPopupWindow() {
  if (toolBar_) toolBar_->RemoveFreeNotification(this);
}

void TRIEPopupWindow::SetRorIvezEvi(TLumCustomToolBar* Value) {
  if (toolBar_ == Value) return;
  if (toolBar_) toolBar_->RemoveFreeNotification(this);
  toolBar_ = Value;
  if (toolBar_) toolBar_->FreeNotification(this);
}

TRIEMenuItem* TRIEPopupWindow::CreateRootItem() {
  if (!root_) root_ = std::make_unique<TRIEMenuItem>();
  panel_->SetRootItem(root_.get());
  return root_.get();
}

void TRIEPopupWindow::FitToPanel() {
  SetClientHeight(panel_->GetPanelHeight());
  SetClientWidth(panel_->Width());
  panel_->SetBounds(0, 0, panel_->Width(), panel_->GetPanelHeight());
}

void TRIEPopupWindow::ShowAt(vcl::TPoint P) {
  SetBounds(P.X, P.Y, Width(), Height());
  ShowPopup();
}

void TRIEPopupWindow::ClosePopup() {
  panel_->CloseSubMenu();
  panel_->Reset();
  if (Visible()) {
    HidePopup();
    SetVisible(false);
  }
}

vcl::TWinControl* TRIEPopupWindow::OwnerTopWindow() const {
  vcl::TWinControl* w = toolBar_ ? toolBar_ : owner_;
  while (w && w->Parent()) w = w->Parent();
  return w;
}

void TRIEPopupWindow::PaintWindow() { vcl::TPopupForm::PaintWindow(); }

void TRIEPopupWindow::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  vcl::TPopupForm::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove) return;
  if (AComponent == toolBar_) toolBar_ = nullptr;
  // Compared by address: a control being freed is no longer one by type.
  if (root_) root_->ForgetControl(AComponent);
}

void TRIEPopupWindow::Dispatch(vcl::TMessage& Message) {
  if (Message.Msg == vcl::WM_ACTIVATE) {
    vcl::TPopupForm::Dispatch(Message);
    const bool active = (Message.WParam & 0xFFFF) != vcl::WA_INACTIVE;
    if (active) {
      if (Visible() && panel_->CanFocus()) panel_->SetFocus();
      if (vcl::TWinControl* top = OwnerTopWindow(); top && top->HandleAllocated())
        vcl::SendMessage(top->Handle(), vcl::WM_NCACTIVATE, 1, 0);
      return;
    }
    if (Visible() && hideOnDeactivate_) hideTimer_->SetEnabled(true);
    return;
  }
  if (Message.Msg == vcl::WM_NCHITTEST) {
    vcl::TPopupForm::Dispatch(Message);
    const vcl::TPoint screen{static_cast<int16_t>(Message.LParam & 0xFFFF),
                             static_cast<int16_t>((Message.LParam >> 16) & 0xFFFF)};
    const vcl::TPoint p = ScreenToClient(screen);
    if (p.X >= ClientWidth() - 10 && p.X < ClientWidth() && p.Y >= ClientHeight() - 10 && p.Y < ClientHeight())
      Message.Result = vcl::HT_BOTTOMRIGHT_CORNER;
    return;
  }
  vcl::TPopupForm::Dispatch(Message);
}

}  // namespace ribbon
