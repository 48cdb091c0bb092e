// The drop-down's pop-up form, its header and footer bars and the size grip.
#include "dropdown/LumDropDownForm.h"

#include <algorithm>

#include "dropdown/HtmlText.h"
#include "dropdown/LumDropDownDraw.h"
#include "rtl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"
#include "vcl/ImgList.h"
#include "vcl/Messages.h"

namespace dropdown {

using namespace vcl;

// ------------------------------------------------------------------ bars

template <class Appearance>
TLumBar<Appearance>::TLumBar(TComponent* owner) : TCustomControl(owner), appearance_(new Appearance(owner)) {
  controlStyle_.Include(csAcceptsControls).Include(csClickEvents).Include(csDoubleClicks);
  controlStyle_.Exclude(csCaptureMouse).Exclude(csSetCaption);
  SetTabStop(false);
  appearance_->OnChange = [this](TObject*) { AppearanceChanged(); };
}

template <class Appearance>
TLumBar<Appearance>::~TLumBar() {
  // The buttons are components of the bar and go with it; the list only
  // points at them.
  buttonControls_.Clear();
  if (images_) images_->RemoveFreeNotification(this);
}

template <class Appearance>
void TLumBar<Appearance>::AppearanceChanged() {
  SetVisible(appearance_->Visible());
  SetHeight(appearance_->Height());
}

template <class Appearance>
void TLumBar<Appearance>::SetImages(TImageList* images) {
  if (images_ == images) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_) images_->FreeNotification(this);
  Invalidate();
}

template <class Appearance>
void TLumBar<Appearance>::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

template <class Appearance>
void TLumBar<Appearance>::SetDropDown(TDropDownHost* dropDown) {
  ownerDropDown_ = dropDown;
  if (!dropDown) {
    SetImages(nullptr);
    return;
  }
  SetImages(dropDown->Images());
  if (const Appearance* source = HostAppearance()) appearance_->Assign(source);
}

template <class Appearance>
void TLumBar<Appearance>::Rebuild() {
  if (ownerDropDown_) CreateButtons();
}

template <class Appearance>
TRect TLumBar<Appearance>::CaptionArea() {
  TRect r = ClientRect();
  return Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 3);
}

template <class Appearance>
void TLumBar<Appearance>::ClearButtons() {
  for (Integer i = buttonControls_.Count() - 1; i >= 0; --i) Free(ButtonControl(i));
  buttonControls_.Clear();
}

template <class Appearance>
void TLumBar<Appearance>::CreateButtons() {
  const Appearance* host = HostAppearance();
  if (!host || !ownerDropDown_) return;
  auto* items = host->ButtonsList();
  ClearButtons();
  const Integer h = CaptionArea().Height();
  for (Integer i = 0; i < items->Count(); ++i) {
    auto* item = items->Items(i);
    auto* button = new TLumButton(this);
    button->SetParent(this);
    button->SetAppearance(ownerDropDown_->ButtonAppearance());
    button->SetCaption(item->Caption());
    button->SetImages(images_);
    button->SetImageIndex(item->ImageIndex());
    button->SetEnabled(item->Enabled());
    button->AutoSizeToContent();
    if (item->Width() > 0) button->SetWidth(item->Width());
    if (item->Height() > 0) button->SetHeight(item->Height());
    if (button->Height() > h) button->SetHeight(h);
    button->SetTag(i);
    button->OnClick = [this](TObject* sender) {
      if (auto* b = dynamic_cast<TLumButton*>(sender); b && ownerDropDown_) ButtonClicked(b->Tag());
    };
    if constexpr (std::is_same_v<Appearance, TFooterAppearance>) {
      button->SetModalResult(item->ModalResult());
      button->SetOwnerDropDown(ownerDropDown_);
    }
    buttonControls_.Add(button);
  }
  ArrangeButtons();
}

template <class Appearance>
void TLumBar<Appearance>::UpdateButtons() {
  const Appearance* host = HostAppearance();
  for (Integer i = 0; i < buttonControls_.Count(); ++i) {
    TLumButton* button = ButtonControl(i);
    if (ownerDropDown_) button->SetAppearance(ownerDropDown_->ButtonAppearance());
    button->SetImages(images_);
    if (host && i < host->ButtonsList()->Count()) {
      auto* item = host->ButtonsList()->Items(i);
      button->SetCaption(item->Caption());
      button->SetImageIndex(item->ImageIndex());
      button->SetEnabled(item->Enabled());
    }
    button->AutoSizeToContent();
  }
  ArrangeButtons();
}

template <class Appearance>
void TLumBar<Appearance>::ArrangeButtons() {
  const TRect a = CaptionArea();
  Integer x = appearance_->ButtonAlignment() == TButtonAlignment::baRight ? a.Right : a.Left;
  for (Integer i = 0; i < buttonControls_.Count(); ++i) {
    TLumButton* button = ButtonControl(i);
    Integer top = std::max(a.Top, (a.Bottom - button->Height()) / 2);
    if (appearance_->ButtonAlignment() == TButtonAlignment::baRight) {
      x -= button->Width();
      button->SetBounds(x, top, button->Width(), button->Height());
    } else {
      button->SetBounds(x, top, button->Width(), button->Height());
      x += button->Width();
    }
  }
}

template <class Appearance>
void TLumBar<Appearance>::Resize() {
  TCustomControl::Resize();
  ArrangeButtons();
}

template <class Appearance>
void TLumBar<Appearance>::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (OnDrawBackGround) {
    OnDrawBackGround(this, c, r);
    return;
  }
  const Appearance& a = *appearance_;
  if (a.ColorTo() == clNone) {
    if (a.Color() != clNone) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(a.Color());
      c->FillRect(r);
    }
  } else {
    DrawGradient(c, a.Color(), a.ColorTo(), 80, r, a.GradientDirection() == TGradientDirection::gdHorizontal);
  }
  const bool footer = IsFooter();
  if (a.BorderColor() != clNone && a.BorderWidth() > 0) {
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(a.BorderWidth());
    c->Pen()->SetColor(a.BorderColor());
    const Integer edge = footer ? r.Top : r.Bottom - 1;
    c->MoveTo(r.Left, edge);
    c->LineTo(r.Right, edge);
    // No pop-up frame around the bar: it draws its own outer sides.
    const bool ownSides = !ownerDropDown_ || ownerDropDown_->DropDownBorderWidth() <= 0 ||
                          ownerDropDown_->DropDownBorderColor() == clNone;
    if (ownSides) {
      const Integer far = footer ? r.Bottom - 1 : r.Top;
      c->MoveTo(r.Left, edge);
      c->LineTo(r.Left, far);
      c->LineTo(r.Right - 1, far);
      c->LineTo(r.Right - 1, edge);
    }
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(BlendColor(a.BorderColor(), clWhite, 20));
    c->Brush()->SetStyle(bsClear);
    TRect inner = r;
    if (footer)
      inner.Top += a.BorderWidth();
    else
      inner.Bottom -= a.BorderWidth();
    // Inside the bar's own outer sides, which it would otherwise cover.
    if (ownSides) {
      inner.Left += a.BorderWidth();
      inner.Right -= a.BorderWidth();
      if (footer)
        inner.Bottom -= a.BorderWidth();
      else
        inner.Top += a.BorderWidth();
    }
    c->Rectangle(inner.Left, inner.Top, inner.Right, inner.Bottom);
  }
  TRect r2 = Rect(r.Left + a.BorderWidth(), r.Top + a.BorderWidth(), r.Right - a.BorderWidth(),
                  r.Bottom - a.BorderWidth());
  if (a.ImageIndex() >= 0 && images_) {
    images_->Draw(c, r2.Left + 4, r2.Top + (r2.Height() - images_->Height()) / 2, a.ImageIndex());
    r2.Left += 4 + images_->Width() + 8;
  }
  AnsiString text = a.Caption();
  if (OnGetText) OnGetText(this, text);
  if (!text.empty()) {
    if (buttonControls_.Count() > 0) {
      // The caption keeps clear of the buttons: it ends before the leftmost
      // of right-aligned ones and starts after the last of left-aligned ones.
      TLumButton* last = ButtonControl(buttonControls_.Count() - 1);
      if (a.ButtonAlignment() == TButtonAlignment::baRight)
        r2.Right = last->Left() - 2;
      else
        r2.Left = std::max(r2.Left, last->Left() + last->Width() + 2);
    }
    c->SetFont(a.Font());
    THtmlTextOptions options;
    options.Images = images_;
    options.PointX = 0;
    options.PointY = 0;
    options.ThemeWindow = Handle();
    options.MeasureOnly = true;
    THtmlTextResult measured;
    DrawHTMLText(c, text, r2, options, measured);
    if (measured.ContentHeight < r2.Height()) r2.Top += (r2.Height() - measured.ContentHeight) / 2;
    options.MeasureOnly = false;
    THtmlTextResult drawn;
    DrawHTMLText(c, text, r2, options, drawn);
  }
}

template class TLumBar<THeaderAppearance>;
template class TLumBar<TFooterAppearance>;

THeaderButtons* TLumHeader::Buttons() const {
  return ownerDropDown_ ? ownerDropDown_->DropDownHeader()->ButtonsList() : nullptr;
}

const THeaderAppearance* TLumHeader::HostAppearance() const {
  return ownerDropDown_ ? ownerDropDown_->DropDownHeader() : nullptr;
}

void TLumHeader::ButtonClicked(Integer index) { ownerDropDown_->HeaderButtonClick(index); }

TLumFooter::TLumFooter(TComponent* owner) : TLumBar(owner) { controlStyle_.Include(csCaptureMouse); }

TFooterButtons* TLumFooter::Buttons() const {
  return ownerDropDown_ ? ownerDropDown_->DropDownFooter()->ButtonsList() : nullptr;
}

const TFooterAppearance* TLumFooter::HostAppearance() const {
  return ownerDropDown_ ? ownerDropDown_->DropDownFooter() : nullptr;
}

void TLumFooter::ButtonClicked(Integer index) { ownerDropDown_->FooterButtonClick(index); }

bool TLumFooter::GripShowing() const {
  return appearance_->SizeGrip() && ownerDropDown_ && ownerDropDown_->DropDownSizeable();
}

TRect TLumFooter::CaptionArea() {
  TRect r = ClientRect();
  return Rect(r.Left + 2, r.Top + 2, r.Right - (GripShowing() ? 14 : 2), r.Bottom - 2);
}

void DrawSizeGrip(TCanvas* canvas, const TRect& g, TColor shadow) {
  const Integer l = g.Left;
  const Integer b = g.Bottom;
  const TPoint squares[] = {{l + 5, b - 4}, {l + 9, b - 4}, {l + 13, b - 4},
                            {l + 13, b - 8}, {l + 13, b - 12}, {l + 9, b - 8}};
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetStyle(psSolid);
  canvas->Brush()->SetStyle(bsSolid);
  for (int pass = 0; pass < 2; ++pass) {
    const TColor colour = pass == 0 ? clWhite : shadow;
    const Integer shift = pass == 0 ? 0 : 1;
    canvas->Pen()->SetColor(colour);
    canvas->Brush()->SetColor(colour);
    for (const TPoint& p : squares)
      canvas->FillRect(Rect(p.X - shift, p.Y - shift, p.X - shift + 2, p.Y - shift + 2));
  }
}

void TLumFooter::Paint() {
  TLumBar::Paint();
  if (OnDrawBackGround || !GripShowing()) return;
  const TRect r = ClientRect();
  const Integer bw = appearance_->BorderWidth();
  DrawSizeGrip(Canvas(), Rect(r.Right - bw - 16, 1, r.Right - bw - 1, r.Bottom), appearance_->BorderColor());
}

bool TLumFooter::InGrip(Integer x, Integer y) const {
  return GripShowing() && x > Width() - 12 && y > Height() - 15;
}

void TLumFooter::RestoreCursor() {
  if (Screen->Cursor() != savedCursor_) Screen->SetCursor(savedCursor_);
}

void TLumFooter::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TLumBar::MouseDown(button, shift, x, y);
  if (button == mbLeft && InGrip(x, y) && Parent()) {
    // The pop-up's own resize takes the mouse from here on.
    Parent()->Perform(WM_NCLBUTTONDOWN, static_cast<WPARAM>(HT_BOTTOMRIGHT_CORNER), 0);
  }
}

void TLumFooter::MouseMove(TShiftState shift, Integer x, Integer y) {
  TLumBar::MouseMove(shift, x, y);
  if (!GripShowing()) return;
  if (InGrip(x, y))
    Screen->SetCursor(crSizeNWSE);
  else
    RestoreCursor();
}

void TLumFooter::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TLumBar::MouseUp(button, shift, x, y);
  if (GripShowing()) RestoreCursor();
}

void TLumFooter::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_MOUSEENTER:
      if (GripShowing() && Screen->Cursor() != crSizeNWSE) savedCursor_ = Screen->Cursor();
      break;
    case CM_MOUSELEAVE:
      if (GripShowing()) RestoreCursor();
      break;
    default:
      break;
  }
  TLumBar::Dispatch(message);
}

// ------------------------------------------------------------------ form

TDropDownForm::TDropDownForm(TComponent* owner) : TPopupForm(owner) {
  SetDropShadow(true);
  // Smaller than the grip and a bar it makes no sense to track.
  SetMinimumTrackSize({20, 20});
}

TDropDownForm::~TDropDownForm() {
  canvas_.reset();
  header_ = nullptr;
  footer_ = nullptr;
}

void TDropDownForm::SetOwnerDropDown(TDropDownHost* dropDown) {
  ownerDropDown_ = dropDown;
  SetPopupParent(dropDown ? dropDown->HostControl() : nullptr);
}

void TDropDownForm::Notification(TComponent* component, TOperation operation) {
  TPopupForm::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == header_) header_ = nullptr;
  if (component == footer_) footer_ = nullptr;
}

void TDropDownForm::AdjustClientRect(TRect& rect) const {
  TPopupForm::AdjustClientRect(rect);
  if (!ownerDropDown_) return;
  const Integer bw = ownerDropDown_->DropDownBorderWidth();
  rect = Rect(rect.Left + bw, rect.Top + bw, rect.Right - bw, rect.Bottom - bw);
}

void TDropDownForm::UpdateHeaderFooter() {
  if (!ownerDropDown_) return;
  THeaderAppearance* ha = ownerDropDown_->DropDownHeader();
  if (header_) {
    header_->SetDropDown(ownerDropDown_);
    header_->Rebuild();
    header_->SetVisible(ha->Visible());
    // A changed height counts even when Visible stayed as it was.
    header_->SetHeight(ha->Height());
  } else if (ha->Visible()) {
    header_ = new TLumHeader(this);
    header_->SetParent(this);
    header_->SetHeight(ha->Height());
    header_->SetDropDown(ownerDropDown_);
    header_->Rebuild();
    header_->SetAlign(vcl::TAlign::alTop);
  }
  if (header_) {
    header_->OnDrawBackGround = ownerDropDown_->HeaderDrawHandler();
    header_->OnGetText = ownerDropDown_->HeaderTextHandler();
  }
  TFooterAppearance* fa = ownerDropDown_->DropDownFooter();
  if (footer_) {
    footer_->SetDropDown(ownerDropDown_);
    footer_->Rebuild();
    footer_->SetVisible(fa->Visible());
    footer_->SetHeight(fa->Height());
  } else if (fa->Visible()) {
    footer_ = new TLumFooter(this);
    footer_->SetParent(this);
    footer_->SetHeight(fa->Height());
    footer_->SetDropDown(ownerDropDown_);
    footer_->Rebuild();
    footer_->SetAlign(vcl::TAlign::alBottom);
  }
  if (footer_) {
    footer_->OnDrawBackGround = ownerDropDown_->FooterDrawHandler();
    footer_->OnGetText = ownerDropDown_->FooterTextHandler();
  }
}

void TDropDownForm::PaintWindow() {
  TPopupForm::PaintWindow();
  PaintBackground();
}

void TDropDownForm::PaintBackground() {
  if (!ownerDropDown_) return;
  if (!canvas_) canvas_ = std::make_unique<TControlCanvas>(this);
  TCanvas* c = canvas_.get();
  const Integer bw = ownerDropDown_->DropDownBorderWidth();
  const TRect client = ClientRect();
  TRect r = Rect(client.Left + bw, client.Top + bw, client.Right - bw, client.Bottom - bw);
  const TColor from = ownerDropDown_->DropDownColor();
  const TColor to = ownerDropDown_->DropDownColorTo();
  if (from != clNone && to != clNone) {
    DrawGradient(c, from, to, 80, r, true);
  } else if (from != clNone) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(from);
    c->FillRect(r);
  }
  const TColor border = ownerDropDown_->DropDownBorderColor();
  if (bw > 0 && border != clNone) {
    // The frame is the outline of a pen bw wide just inside the client
    // area: bw pixels on every side, filled as bands so an even width
    // loses no pixel column to the pen's rounding.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(border);
    c->FillRect(Rect(client.Left, client.Top, client.Right, client.Top + bw));
    c->FillRect(Rect(client.Left, client.Bottom - bw, client.Right, client.Bottom));
    c->FillRect(Rect(client.Left, client.Top, client.Left + bw, client.Bottom));
    c->FillRect(Rect(client.Right - bw, client.Top, client.Right, client.Bottom));
  }
}

void TDropDownForm::Resize() {
  TPopupForm::Resize();
  Invalidate();
  // Only the user changes the size of an open pop-up.
  if (PopupShowing() && OnSizing) OnSizing(this);
}

void TDropDownForm::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_NCHITTEST:
      // Resized only through the footer's grip.
      message.Result = 0;
      return;
    case WM_GETDLGCODE:
      message.Result = 5;
      return;
    case WM_ACTIVATE:
      TPopupForm::Dispatch(message);
      if ((message.WParam & 0xFFFF) == static_cast<WPARAM>(WA_INACTIVE) && Visible()) {
        lastDeactivateTick_ = rtl::GetTickCount();
        if (ownerDropDown_)
          ownerDropDown_->HideDropDown(cancelOnDeactivate_);
        else
          HidePopup();
      }
      return;
    default:
      break;
  }
  TPopupForm::Dispatch(message);
}

}  // namespace dropdown
