// A ribbon group collapsed to its compact button: the clone inside the
// compact window that holds the group's controls meanwhile, the button,
// and the drop-down under the group.
#include <algorithm>
#include <vector>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "vcl/Forms.h"

namespace ribbon {

namespace {

// Moves every child but the compact window from one toolbar to another,
// keeping their positions and their order.
void CollapseMoveChildren(vcl::TWinControl* From, vcl::TWinControl* To, const vcl::TControl* Keep) {
  std::vector<vcl::TControl*> moving;
  for (int i = 0; i < From->ControlCount(); ++i)
    if (From->Controls(i) != Keep) moving.push_back(From->Controls(i));
  for (vcl::TControl* c : moving) {
    const int left = c->Left(), top = c->Top();
    c->SetParent(To);
    c->SetBounds(left, top, c->Width(), c->Height());
  }
}

}  // namespace

int TLumCustomToolBar::GetExpandedWidth() const {
  if (!collapsed_ || !clone_ || !dynamic_cast<TLumPage*>(Parent())) return Width();
  if (savedAutoPosition_ && savedAutoSize_ && !cloneReduced_) {
    // The group comes back in its smallest form.
    clone_->SetAutoPositionControls(true);
    clone_->SetAutoSize(true);
    clone_->ReduceButtonsFully();
    const_cast<TLumCustomToolBar*>(this)->cloneReduced_ = true;
  }
  return clone_->Width();
}

void TLumCustomToolBar::SetCollapsed(bool Value) {
  if (Value == collapsed_ || !dynamic_cast<TLumPage*>(Parent()) || !groupLoaded_) return;
  busy_ = true;
  if (Value) {
    savedAutoPosition_ = autoPositionControls_;
    savedAutoSize_ = autoSize_;
    SetAutoPositionControls(false);
    SetAutoSize(false);
    if (!compactWindow_) {
      compactWindow_ = new TCompactWindow(this);
      if (!Name().empty()) compactWindow_->SetName(Name() + "_CompactWindow");
      compactWindow_->SetVisible(false);
      if (vcl::TCustomForm* form = vcl::GetParentForm(this)) compactWindow_->Font()->Assign(form->Font());
    }
    if (!clone_) {
      clone_ = new TLumCustomToolBar(compactWindow_);
      if (!Name().empty()) clone_->SetName(Name() + "_SelfClone");
      clone_->SetParent(compactWindow_);
      clone_->SetCloneSource(this);
      compactWindow_->SetRorIvezEvi(clone_);
    }
    clone_->SetToolBarStyler(CurrentStyler());
    clone_->SetAutoPositionControls(false);
    clone_->SetAutoSize(false);
    clone_->SetCaption(Caption());
    clone_->SetCaptionHeight(CaptionHeight());
    clone_->SetCaptionPosition(CaptionPosition());
    clone_->SetCaptionAlignment(CaptionAlignment());
    clone_->SetShowRightHandle(ShowRightHandle());
    clone_->SetShowClose(ShowClose());
    clone_->SetShowOptionIndicator(ShowOptionIndicator());
    clone_->SetEnabled(Enabled());
    clone_->SetImages(Images());
    clone_->SetDisabledImages(DisabledImages());
    clone_->SetMenu(Menu());
    clone_->SetShowHint(ShowHint());
    clone_->Font()->Assign(Font());
    clone_->SetBounds(0, 0, Width(), Height());
    clone_->SetShowCaption(ShowCaption());
    SetShowCaption(false);
    // The clone takes the children's windows only once it has one itself:
    // a windowless clone would leave them parentless and hidden, and the
    // popup would drop down empty.
    if (HandleAllocated()) clone_->HandleNeeded();
    const std::vector<vcl::TControl*> order = controls_;
    CollapseMoveChildren(this, clone_, compactWindow_);
    if (order.size() == clone_->controls_.size()) clone_->controls_ = order;
    compactWindow_->FitToToolBar();
    SetWidth(45);
    compactButton_ = new controls::TLumGlowButton(this);
    compactButton_->SetFocusType(controls::TFocusType::ftNone);
    compactButton_->SetCaption(compactCaption_);
    compactButton_->SetLayout(controls::blGlyphTop);
    compactButton_->SetDropDownButton(true);
    compactButton_->SetDropDownPosition(controls::TDropDownPosition::dpBottom);
    compactButton_->SetDropDownSplit(false);
    compactButton_->SetStyle(controls::TLumButtonStyle::bsCheck);
    compactButton_->SetShortCutHint(compactShortCutHint_);
    compactButton_->SetShortCutHintPos(controls::TShortCutHintPos::shpBelowBottomCenter);
    compactButton_->SetParent(this);
    compactButton_->SetBounds(0, 0, 45, Height());
    compactButton_->Appearance()->Assign(CurrentStyler()->CompactGlowButtonAppearance());
    compactButton_->OnClick = [this](vcl::TObject*) { DropDownCompactWindow(); };
    compactWindow_->SetDropDownButton(compactButton_);
    collapsed_ = true;
  } else {
    const std::vector<vcl::TControl*> order = clone_ ? clone_->controls_ : std::vector<vcl::TControl*>{};
    const int expanded = GetExpandedWidth();
    SetShowCaption(clone_ ? clone_->ShowCaption() : true);
    SetAutoPositionControls(false);
    SetAutoSize(false);
    SetWidth(expanded);
    controls::TLumGlowButton* button = compactButton_;
    compactButton_ = nullptr;
    vcl::Free(button);
    if (clone_) {
      CollapseMoveChildren(clone_, this, nullptr);
      if (order.size() == controls_.size()) controls_ = order;
      clone_->SetToolBarStyler(nullptr);
    }
    TCompactWindow* window = compactWindow_;
    compactWindow_ = nullptr;
    clone_ = nullptr;
    vcl::Free(window);
    collapsed_ = false;
    cloneReduced_ = false;
    SetAutoPositionControls(savedAutoPosition_);
    SetAutoSize(savedAutoSize_);
    PositionControls(true);
  }
  busy_ = false;
}

void TLumCustomToolBar::DropDownCompactWindow() {
  if (!collapsed_ || !compactWindow_ || !clone_) return;
  if (cloneReduced_ && savedAutoPosition_ && savedAutoSize_) {
    clone_->SetAutoPositionControls(true);
    clone_->SetAutoSize(true);
    clone_->EnlargeButtonsFully();
    cloneReduced_ = false;
  }
  vcl::TWinControl* host = Parent();
  vcl::TPoint at = host ? host->ClientToScreen({Left(), Top() + Height() + 1}) : vcl::TPoint{0, 0};
  vcl::TRect work = vcl::PrimaryWorkArea();
  for (const vcl::TScreenArea& a : vcl::ScreenAreas())
    if (at.X >= a.Bounds.Left && at.X < a.Bounds.Right && at.Y >= a.Bounds.Top && at.Y < a.Bounds.Bottom)
      work = a.WorkArea;
  if (vcl::TCustomForm* form = vcl::GetParentForm(this)) compactWindow_->Font()->Assign(form->Font());
  compactWindow_->SetDropDownButton(compactButton_);
  compactWindow_->FitToToolBar();
  const int w = compactWindow_->Width(), h = compactWindow_->Height();
  // Past the work area's right edge: moved left to end there.
  if (at.X < work.Right && at.X + w > work.Right) at.X = work.Right - w;
  // A group on the minimised ribbon's page keeps that popup open while its
  // own opens over it.
  TMinimizedRibbonWindow* ribbonPopup = host ? dynamic_cast<TMinimizedRibbonWindow*>(host->Parent()) : nullptr;
  const bool mayClose = ribbonPopup ? ribbonPopup->MayClose() : true;
  if (ribbonPopup) ribbonPopup->SetMayClose(false);
  compactWindow_->SetBounds(at.X, at.Y, 0, 0);
  compactWindow_->ShowPopup();
  compactWindow_->SetBounds(at.X, at.Y, w, h);
  if (ribbonPopup) ribbonPopup->SetMayClose(mayClose);
  if (compactButton_) compactButton_->SetDown(true);
}

void TLumCustomToolBar::HideCompactWindow() {
  if (!collapsed_ || !compactWindow_ || !compactWindow_->Visible()) return;
  compactWindow_->HidePopup();
  compactWindow_->Hide();
}

}  // namespace ribbon
