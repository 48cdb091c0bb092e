// The toolbar container (see RorIvezEviContainer.h).
#include "ribbon/RorIvezEviContainer.h"

#include <algorithm>
#include <vector>

#include "controls/LumGlowButton.h"
#include "controls/LumStyleIF.h"
#include "ribbon/RorIvezEviButtons.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {
constexpr int kContainerInset = 2;  // the frame's distance from the edges
}

TRorIvezEviContainer::TRorIvezEviContainer(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {
  vcl::TControlStyle style = ControlStyle();
  style.Exclude(vcl::csOpaque);
  style.Include(vcl::csAcceptsControls);
  SetControlStyle(style);
  color_.OnChange = [this](vcl::TObject*) {
    SetColor(color_.Color());
    Invalidate();
  };
}

TRorIvezEviContainer::~TRorIvezEviContainer() = default;

void TRorIvezEviContainer::SetText(const rtl::AnsiString& Value) {
  vcl::TCustomControl::SetText(Value);
  Invalidate();
}

void TRorIvezEviContainer::SetColorBackground(const TGradientBackground* Value) {
  color_.Assign(Value);
  Invalidate();
}

void TRorIvezEviContainer::SetLineColor(vcl::TColor Value) {
  lineColor_ = Value;
  Invalidate();
}

void TRorIvezEviContainer::SetParentStyler(bool Value) {
  parentStyler_ = Value;
  Invalidate();
}

void TRorIvezEviContainer::SetLine3D(bool Value) {
  line3D_ = Value;
  Invalidate();
}

void TRorIvezEviContainer::SetMargins(int Value) {
  if (Value == margins_ || Value < 0 || Value > 14) return;
  margins_ = Value;
  KeepInsideMargins();
}

void TRorIvezEviContainer::HookGlowButton(vcl::TControl* Control) {
  auto* glow = dynamic_cast<controls::TLumCustomGlowButton*>(Control);
  if (!glow || !rorIvezEvi_) return;
  TLumCustomToolBar* bar = rorIvezEvi_;
  glow->OnInternalKeyDown = [bar](vcl::TObject* Sender, vcl::Word& Key, vcl::TShiftState Shift) {
    bar->GlowButtonKeyDown(Sender, Key, Shift);
  };
}

void TRorIvezEviContainer::SetRorIvezEvi(TLumCustomToolBar* Value) {
  if (Value == rorIvezEvi_) return;
  if (rorIvezEvi_) rorIvezEvi_->RemoveFreeNotification(this);
  rorIvezEvi_ = Value;
  if (Value) Value->FreeNotification(this);
  for (int i = 0; i < ControlCount(); ++i) {
    vcl::TControl* c = Controls(i);
    if (auto* t = dynamic_cast<TLumCustomToolBarControl*>(c)) t->AttachToolBar(Value);
    HookGlowButton(c);
  }
  Invalidate();
}

void TRorIvezEviContainer::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  vcl::TCustomControl::Notification(AComponent, Operation);
  if (Operation == vcl::opRemove && AComponent == rorIvezEvi_) rorIvezEvi_ = nullptr;
}

void TRorIvezEviContainer::AdjustClientRect(vcl::TRect& Rect) const {
  vcl::TCustomControl::AdjustClientRect(Rect);
  Rect.Left += margins_;
  Rect.Top += margins_;
  Rect.Right -= margins_;
  Rect.Bottom -= margins_;
}

void TRorIvezEviContainer::KeepInsideMargins() {
  if (keeping_) return;
  keeping_ = true;
  for (int i = 0; i < ControlCount(); ++i) {
    vcl::TControl* c = Controls(i);
    int left = c->Left(), top = c->Top();
    if (left < margins_) left = margins_;
    if (top < margins_) top = margins_;
    if (left + c->Width() > Width() - margins_) left = Width() - margins_ - c->Width();
    if (top + c->Height() > Height() - margins_) top = Height() - margins_ - c->Height();
    if (left != c->Left() || top != c->Top()) c->SetBounds(left, top, c->Width(), c->Height());
  }
  keeping_ = false;
}

void TRorIvezEviContainer::Resize() {
  vcl::TCustomControl::Resize();
  KeepInsideMargins();
}

void TRorIvezEviContainer::Loaded() {
  vcl::TCustomControl::Loaded();
  if (rorIvezEvi_ && rorIvezEvi_->CurrentStyler()) {
    TCustomRorIvezEviStyler* styler = rorIvezEvi_->CurrentStyler();
    for (int i = 0; i < ControlCount(); ++i)
      if (auto* glow = dynamic_cast<controls::TLumCustomGlowButton*>(Controls(i)))
        glow->Appearance()->Assign(styler->GlowButtonAppearance());
    // A styler that names a preset hands it to every child that takes
    // styles; tsCustom leaves the children as they are.
    const controls::REZORuvar style = styler->ComponentStyle();
    if (style != controls::tsCustom)
      for (int i = 0; i < ControlCount(); ++i)
        if (controls::IStyleAware* aware = controls::StyleAwareOf(Controls(i))) aware->SetComponentStyle(style);
  }
  Invalidate();
}

void TRorIvezEviContainer::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case vcl::WM_ERASEBKGND:
      Message.Result = 1;
      vcl::TCustomControl::Dispatch(Message);
      return;
    case vcl::CM_MOUSEENTER:
      vcl::TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    case vcl::CM_CONTROLCHANGE: {
      vcl::TCustomControl::Dispatch(Message);
      auto* control = reinterpret_cast<vcl::TControl*>(Message.WParam);
      if (!Message.LParam || !control) return;
      if (rorIvezEvi_) {
        HookGlowButton(control);
        if (auto* t = dynamic_cast<TLumCustomToolBarControl*>(control)) t->AttachToolBar(rorIvezEvi_);
      }
      if (ComponentState().Contains(vcl::csDesigning)) {
        int right = 0;
        for (int i = 0; i < ControlCount(); ++i)
          if (Controls(i) != control) right = std::max(right, Controls(i)->Left() + Controls(i)->Width());
        if (right > 0 && right < Width()) control->SetLeft(right);
      }
      KeepInsideMargins();
      return;
    }
    default:
      vcl::TCustomControl::Dispatch(Message);
  }
}

void TRorIvezEviContainer::Paint() {
  vcl::TCanvas* c = Canvas();
  const int W = Width(), H = Height();
  // What the parent shows behind the container: its erased background,
  // then its own painting where it has a buffer to read.
  if (vcl::TWinControl* parent = Parent()) {
    vcl::TBitmap back(Left() + W, Top() + H);
    parent->Perform(vcl::WM_ERASEBKGND, reinterpret_cast<vcl::WPARAM>(back.Canvas()));
    if (std::unique_ptr<vcl::TCanvas> dc = vcl::GetDC(parent->Handle()))
      vcl::BitBlt(back.Canvas(), Left(), Top(), W, H, dc.get(), Left(), Top(), vcl::SRCCOPY);
    vcl::BitBlt(c, 0, 0, W, H, back.Canvas(), Left(), Top(), vcl::SRCCOPY);
  }
  vcl::TColor line = lineColor_;
  bool line3D = line3D_;
  if (parentStyler_ && rorIvezEvi_ && rorIvezEvi_->CurrentStyler()) {
    line = rorIvezEvi_->CurrentStyler()->ContainerAppearance()->LineColor();
    line3D = rorIvezEvi_->CurrentStyler()->ContainerAppearance()->Line3D();
  }
  if (line == vcl::clNone) return;
  c->Brush()->SetStyle(vcl::bsClear);
  const int d = kContainerInset;
  const rtl::AnsiString caption = Caption();
  int gapFrom = -1, gapTo = -1;  // the top line leaves out x = gapFrom .. gapTo - 1
  if (!caption.empty()) {
    c->Font()->Assign(Font());
    c->Font()->SetColor(0);
    c->TextOut(10, 0, caption);
    gapFrom = 9;
    gapTo = 11 + c->TextWidth(caption);
  }
  auto segment = [c](int x1, int y1, int x2, int y2) {
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  auto topLine = [&](int y, int from, int to) {
    if (gapFrom < 0) {
      segment(from, y, to, y);
      return;
    }
    segment(from, y, gapFrom, y);
    segment(gapTo, y, to, y);
  };
  c->Pen()->SetColor(line);
  topLine(d + 2, 0, W - d);
  segment(0, d + 2, 0, H - d);
  segment(0, H - d, W - d, H - d);
  segment(W - d, H - d, W - d, d + 2);
  if (!line3D) return;
  c->Pen()->SetColor(vcl::clWhite);
  topLine(d + 3, 1, W - d);
  segment(1, d + 3, 1, H - d);
  segment(1, H - d + 1, W - d + 1, H - d + 1);
  segment(W - d + 1, H - d + 1, W - d + 1, d + 2);
}

}  // namespace ribbon
