// The glow button's behaviour: settings, mouse and keyboard input, the
// hover and press fades, groups and check buttons, the drop-down part,
// repeated clicks, the action link, size states and the key tip.
#include <algorithm>

#include "controls/GDIPicture.h"
#include "controls/LumGlowButton.h"
#include "controls/LumHintInfo.h"
#include "rtl/CodePages.h"
#include "vcl/ActnList.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace controls {

using vcl::TColor;
using vcl::TMessage;

namespace {

// The key-data bit that says Alt was held with a key.
constexpr vcl::LPARAM kAltKeyBit = 0x20000000;

// The control under a screen point, disabled ones included: the deepest
// child of the top window that reaches the point.
vcl::TControl* ControlAtScreenPoint(vcl::TControl* from, vcl::TPoint screen) {
  vcl::TWinControl* top = vcl::GetParentForm(from);
  if (!top) {
    for (vcl::TWinControl* p = from->Parent(); p; p = p->Parent()) top = p;
    if (!top) top = dynamic_cast<vcl::TWinControl*>(from);
  }
  if (!top) return nullptr;
  const vcl::TPoint local = top->ScreenToClient(screen);
  if (!top->ClientRect().Contains(local)) return nullptr;
  vcl::TControl* found = top;
  vcl::TWinControl* level = top;
  while (level) {
    vcl::TControl* child = level->ControlAtPos(level->ScreenToClient(screen), true, true);
    if (!child) break;
    found = child;
    level = dynamic_cast<vcl::TWinControl*>(child);
  }
  return found;
}

}  // namespace

// ------------------------------------------------------------ action link

void TLumGlowButtonActionLink::SetAction(vcl::TCustomAction* Action) {
  action_ = Action;
  if (!action_) return;
  checked_ = action_->Checked();
  groupIndex_ = action_->GroupIndex();
  lastImageIndex_ = action_->ImageIndex();
}

void TLumGlowButtonActionLink::ActionChanged() {
  if (!action_) return;
  if (action_->GroupIndex() != groupIndex_) {
    SetGroupIndex(action_->GroupIndex());
    groupIndex_ = action_->GroupIndex();
  }
  if (action_->Checked() != checked_) {
    SetChecked(action_->Checked());
    checked_ = action_->Checked();
  }
  if (action_->ImageIndex() != lastImageIndex_) SetImageIndex(action_->ImageIndex());
}

bool TLumGlowButtonActionLink::IsCheckedLinked() {
  const bool linked = action_ && checked_ == client_->Down();
  client_->checkedLinked_ = linked;
  return linked;
}

bool TLumGlowButtonActionLink::IsGroupIndexLinked() {
  const bool linked = action_ && groupIndex_ == client_->GroupIndex();
  client_->groupIndexLinked_ = linked;
  return linked;
}

bool TLumGlowButtonActionLink::IsImageIndexLinked() const {
  return action_ && action_->ImageIndex() == lastImageIndex_;
}

void TLumGlowButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) client_->SetDown(Value);
}

void TLumGlowButtonActionLink::SetGroupIndex(int Value) {
  if (IsGroupIndexLinked()) client_->SetGroupIndex(Value);
}

void TLumGlowButtonActionLink::SetImageIndex(int Value) {
  // Image indexes follow while the group does, as the button has always
  // linked them.
  if (!IsGroupIndexLinked()) return;
  lastImageIndex_ = Value;
  client_->Invalidate();
  client_->SetImageIndex(Value);
}

// ------------------------------------------------------------ life


TLumCustomGlowButton::TLumCustomGlowButton(vcl::TComponent* AOwner)
    : vcl::TCustomControl(AOwner),
      appearance_(std::make_unique<TGlowButtonAppearance>()),
      picture_(std::make_unique<TGDIPPicture>()),
      hotPicture_(std::make_unique<TGDIPPicture>()),
      disabledPicture_(std::make_unique<TGDIPPicture>()),
      officeHint_(std::make_unique<TLumHintInfo>()),
      notes_(std::make_unique<rtl::TStringList>()),
      notesFont_(std::make_unique<vcl::TFont>()),
      actionLink_(std::make_unique<TLumGlowButtonActionLink>(this)),
      imagesLink_(std::make_unique<vcl::TChangeLink>()),
      hotImagesLink_(std::make_unique<vcl::TChangeLink>()),
      disabledImagesLink_(std::make_unique<vcl::TChangeLink>()) {
  // A quick second click is a second click, not a double click.
  controlStyle_.Exclude(vcl::csDoubleClicks);
  SetBounds(0, 0, 100, 41);
  SetParentFont(true);
  notesFont_->SetName("Tahoma");
  notesFont_->SetSize(8);
  appearance_->OnChange = [this](vcl::TObject* s) { AppearanceChanged(s); };
  picture_->OnChange = [this](vcl::TObject*) { SizeRefresh(); };
  disabledPicture_->OnChange = [this](vcl::TObject*) { SizeRefresh(); };
  for (vcl::TChangeLink* link : {imagesLink_.get(), hotImagesLink_.get(), disabledImagesLink_.get()})
    link->OnChange = [this](vcl::TObject*) { Invalidate(); };
}

TLumCustomGlowButton::~TLumCustomGlowButton() {
  // The timers and the key-tip window are owned components; free them now,
  // while their handlers' button is whole.
  if (glowTimer_) vcl::Free(glowTimer_);
  if (repeatTimer_) vcl::Free(repeatTimer_);
  if (keyTip_) vcl::Free(keyTip_);
  glowTimer_ = repeatTimer_ = nullptr;
  keyTip_ = nullptr;
}

void TLumCustomGlowButton::CreateParams(TCreateParams& Params) { vcl::TCustomControl::CreateParams(Params); }

void TLumCustomGlowButton::Loaded() {
  vcl::TCustomControl::Loaded();
  if (downWhileLoading_ != down_) SetDown(downWhileLoading_);
}

void TLumCustomGlowButton::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  vcl::TCustomControl::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove) return;
  if (AComponent == images_) images_ = nullptr;
  if (AComponent == hotImages_) hotImages_ = nullptr;
  if (AComponent == disabledImages_) disabledImages_ = nullptr;
  if (AComponent == dropDownMenu_) dropDownMenu_ = nullptr;
  if (AComponent == glowTimer_) glowTimer_ = nullptr;
  if (AComponent == repeatTimer_) repeatTimer_ = nullptr;
  if (AComponent == keyTip_) keyTip_ = nullptr;
  if (AComponent == actionLink_->Action()) actionLink_->SetAction(nullptr);
}

vcl::AnsiString TLumCustomGlowButton::Version() const {
  const uint32_t v = GetVersionNumber();
  return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
         "." + std::to_string(v & 0xFF);
}

bool TLumCustomGlowButton::HasFocusBorder() const {
  return focused_ && (focusType_ == ftBorder || focusType_ == ftHotBorder);
}

// ------------------------------------------------------------ settings

void TLumCustomGlowButton::SetAppearance(const TGlowButtonAppearance* Value) {
  appearance_->Assign(Value);
  RecolourKeyTip();
}

void TLumCustomGlowButton::AppearanceChanged(vcl::TObject*) {
  Invalidate();
  RecolourKeyTip();
}

void TLumCustomGlowButton::RecolourKeyTip() {
  if (!keyTip_) return;
  keyTip_->SetTopColor(vcl::clWhite);
  keyTip_->SetBottomColor(appearance_->Color());
}

void TLumCustomGlowButton::SetComponentStyle(REZORuvar AStyle) {
  LoadGlowAppearancePreset(*appearance_, AStyle);
  Invalidate();
  RecolourKeyTip();
}

void TLumCustomGlowButton::SetAllowAllUp(bool Value) {
  if (allowAllUp_ == Value) return;
  allowAllUp_ = Value;
  AnnounceGroup();
}

void TLumCustomGlowButton::SetGroupIndex(int Value) {
  if (groupIndex_ == Value) return;
  groupIndex_ = Value;
  AnnounceGroup();
}

void TLumCustomGlowButton::SetAntiAlias(TAntiAlias Value) {
  if (antiAlias_ == Value) return;
  antiAlias_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetAutoSize(bool Value) {
  if (autoSize_ == Value) return;
  autoSize_ = Value;
  SizeRefresh();
}

void TLumCustomGlowButton::SetBorderStyle(vcl::TBorderStyle Value) {
  if (borderStyle_ == Value) return;
  borderStyle_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetDefault(bool Value) {
  default_ = Value;
  defaultActive_ = Value;
}

void TLumCustomGlowButton::AttachImages(vcl::TImageList*& Field, vcl::TChangeLink* Link, vcl::TImageList* Value) {
  if (Field == Value) return;
  if (Field) {
    Field->UnRegisterChanges(Link);
    Field->RemoveFreeNotification(this);
  }
  Field = Value;
  if (Field) {
    Field->RegisterChanges(Link);
    Field->FreeNotification(this);
  }
}

void TLumCustomGlowButton::SetDisabledImages(vcl::TImageList* Value) {
  AttachImages(disabledImages_, disabledImagesLink_.get(), Value);
  Invalidate();
}

void TLumCustomGlowButton::SetHotImages(vcl::TImageList* Value) {
  AttachImages(hotImages_, hotImagesLink_.get(), Value);
  Invalidate();
}

void TLumCustomGlowButton::SetImages(vcl::TImageList* Value) {
  AttachImages(images_, imagesLink_.get(), Value);
  SizeRefresh();
  Invalidate();
}

void TLumCustomGlowButton::SetImageIndex(int Value) {
  if (imageIndex_ == Value) return;
  imageIndex_ = Value;
  SizeRefresh();
}

void TLumCustomGlowButton::SetDisabledPicture(const TGDIPPicture* Value) {
  disabledPicture_->Assign(Value);
  Invalidate();
}

void TLumCustomGlowButton::SetHotPicture(const TGDIPPicture* Value) { hotPicture_->Assign(Value); }

void TLumCustomGlowButton::SetPicture(const TGDIPPicture* Value) { picture_->Assign(Value); }

void TLumCustomGlowButton::SetDropDownButton(bool Value) {
  if (dropDownButton_ == Value) return;
  dropDownButton_ = Value;
  sizeDirty_ = true;
  Invalidate();
}

void TLumCustomGlowButton::SetDropDownDirection(TDropDownDirection Value) {
  if (dropDownDirection_ == Value) return;
  dropDownDirection_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetDropDownMenu(vcl::TPopupMenu* Value) {
  if (dropDownMenu_ == Value) return;
  if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
  dropDownMenu_ = Value;
  if (dropDownMenu_) dropDownMenu_->FreeNotification(this);
}

void TLumCustomGlowButton::SetDropDownPosition(TDropDownPosition Value) {
  if (dropDownPosition_ == Value) return;
  dropDownPosition_ = Value;
  if (dropDownButton_) sizeDirty_ = true;
  Invalidate();
}

void TLumCustomGlowButton::SetLayout(TButtonLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetMarginHorz(int Value) {
  if (marginHorz_ == Value) return;
  marginHorz_ = Value;
  SizeRefresh();
}

void TLumCustomGlowButton::SetMarginVert(int Value) {
  if (marginVert_ == Value) return;
  marginVert_ = Value;
  SizeRefresh();
}

void TLumCustomGlowButton::SetMaxButtonSizeState(TButtonSizeState Value) {
  if (maxSizeState_ == Value) return;
  maxSizeState_ = Value;
  SetButtonSizeState(Value);
}

void TLumCustomGlowButton::SetMinButtonSizeState(TButtonSizeState Value) {
  if (minSizeState_ == Value) return;
  minSizeState_ = Value;
  if (Value > sizeState_) SetButtonSizeState(Value);
}

void TLumCustomGlowButton::SetNotes(const rtl::TStrings* Value) {
  notes_->Assign(*Value);
  Invalidate();
}

void TLumCustomGlowButton::SetNotesFont(const vcl::TFont* Value) {
  notesFont_->Assign(Value);
  Invalidate();
}

void TLumCustomGlowButton::SetOfficeHint(const TLumHintInfo* Value) { officeHint_->Assign(Value); }

void TLumCustomGlowButton::SetPosition(TButtonPosition Value) {
  if (position_ == Value) return;
  position_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetRounded(bool Value) {
  if (rounded_ == Value) return;
  rounded_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetShowCaption(bool Value) {
  if (showCaption_ == Value) return;
  showCaption_ = Value;
  SizeRefresh();
  Invalidate();
}

void TLumCustomGlowButton::SetShowDisabled(bool Value) {
  if (showDisabled_ == Value) return;
  showDisabled_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetSpacing(int Value) {
  if (spacing_ == Value) return;
  spacing_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetStyle(TLumButtonStyle Value) { style_ = Value; }

void TLumCustomGlowButton::SetTrimming(StringTrimming Value) {
  if (trimming_ == Value) return;
  trimming_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetWordWrap(bool Value) {
  if (wordWrap_ == Value) return;
  wordWrap_ = Value;
  Invalidate();
}

void TLumCustomGlowButton::SetWideCaption(const rtl::WideString& Value) {
  if (wideCaption_ == Value) return;
  wideCaption_ = Value;
  if (autoSize_) {
    forceMeasure_ = true;
    PaintNow();
    forceMeasure_ = false;
  } else {
    Invalidate();
  }
}

void TLumCustomGlowButton::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TLumCustomGlowButton*>(Source);
  if (!from) return;
  SetAlign(from->Align());
  SetAction(from->Action());
  SetAnchors(from->Anchors());
  SetAntiAlias(from->AntiAlias());
  SetAutoSize(from->AutoSize());
  SetBorderStyle(from->BorderStyle());
  SetCancel(from->Cancel());
  SetCaption(from->Caption());
  Constraints()->Assign(const_cast<TLumCustomGlowButton*>(from)->Constraints());
  SetDefault(from->Default());
  SetFont(const_cast<TLumCustomGlowButton*>(from)->Font());
  SetImageIndex(from->ImageIndex());
  SetDisabledPicture(from->DisabledPicture());
  SetFocusType(from->FocusType());
  SetHotPicture(from->HotPicture());
  SetMarginVert(from->MarginVert());
  SetMarginHorz(from->MarginHorz());
  SetModalResult(from->ModalResult());
  SetNotes(from->Notes());
  SetNotesFont(from->NotesFont());
  SetOfficeHint(from->OfficeHint());
  SetParentFont(from->ParentFont());
  SetPicture(from->Picture());
  SetPopupMenu(from->PopupMenu());
  SetPosition(from->Position());
  SetInitRepeatPause(from->InitRepeatPause());
  SetRepeatPause(from->RepeatPause());
  SetRepeatClick(from->RepeatClick());
  SetRounded(from->Rounded());
  SetShortCutHint(from->ShortCutHint());
  SetShortCutHintPos(from->ShortCutHintPos());
  SetShowCaption(from->ShowCaption());
  SetShowDisabled(from->ShowDisabled());
  SetSpacing(from->Spacing());
  SetTransparent(from->Transparent());
  SetTrimming(from->Trimming());
  SetWordWrap(from->WordWrap());
  SetShowHint(from->ShowHint());
  SetParentShowHint(from->ParentShowHint());
  if (Parent() && from->Parent() == Parent()) SetTabOrder(const_cast<TLumCustomGlowButton*>(from)->TabOrder());
  SetTabStop(from->TabStop());
  SetVisible(from->Visible());
  // The image lists are references to components of the form: the copy
  // points at the same lists.
  SetImages(from->Images());
  SetHotImages(from->HotImages());
  SetDisabledImages(from->DisabledImages());
}

// ------------------------------------------------------------ size

void TLumCustomGlowButton::PaintNow() {
  if (!HandleAllocated()) return;
  Invalidate();
  Update();
}

void TLumCustomGlowButton::SizeRefresh() {
  if (!autoSize_) {
    Invalidate();
    return;
  }
  forceMeasure_ = true;
  Invalidate();
  if (Parent() && !ComponentState().Contains(vcl::csDesigning) && !Loading() && HandleAllocated()) PaintNow();
  forceMeasure_ = false;
}

void TLumCustomGlowButton::SetButtonSizeState(TButtonSizeState State) {
  if (State == sizeState_) return;
  if (sizeState_ == bsLarge) {
    savedLayout_ = layout_;
    savedDropDownPosition_ = dropDownPosition_;
  }
  sizeState_ = State;
  if (autoSize_) {
    if (State == bsLarge) {
      layout_ = savedLayout_;
      dropDownPosition_ = savedDropDownPosition_;
    } else {
      layout_ = blGlyphLeft;
      dropDownPosition_ = dpRight;
    }
  }
  sizeDirty_ = true;
  Invalidate();
  PaintNow();
}

// ------------------------------------------------------------ click

void TLumCustomGlowButton::Click() {
  if (vcl::TCustomForm* form = vcl::GetParentForm(this)) form->SetModalResult(modalResult_);
  if (OnInternalClick) OnInternalClick(this);
  vcl::TCustomControl::Click();
}

void TLumCustomGlowButton::KeyboardClick() {
  if ((!dropDownButton_ && IsMenuButton()) ||
      (dropDownButton_ && style_ != bsCheck && groupIndex_ <= 0 && !dropDownSplit_)) {
    if (dropDownMenu_)
      DoDropDown();
    else
      Click();
    return;
  }
  if (style_ == bsCheck) {
    SetDown(!down_);
    paintState_ = kDown;
    Invalidate();
  }
  Click();
}

vcl::TPoint TLumCustomGlowButton::DropDownPoint() const {
  const vcl::TPoint local = dropDownDirection_ == ddDown ? vcl::TPoint{Left(), Top() + Height()}
                                                         : vcl::TPoint{Left() + Width(), Top()};
  return Parent() ? Parent()->ClientToScreen(local) : local;
}

void TLumCustomGlowButton::DoDropDown() {
  if (!IsMenuButton() && !dropDownMenu_) {
    Invalidate();
    return;
  }
  if (dropDownMenu_) {
    paintState_ = kDown;
    if (OnDropDown) OnDropDown(this);
    PaintNow();
    const vcl::TPoint at = DropDownPoint();
    if (dropDownMenu_) dropDownMenu_->Popup(at.X, at.Y);
    paintState_ = kUp;
    PaintNow();
  }
  Invalidate();
}

void TLumCustomGlowButton::DropDownFromPress() {
  inControl_ = false;
  if (OnDropDown) OnDropDown(this);
  if (dropDownMenu_) {
    pressed_ = false;
    hotLook_ = false;
    droppedDown_ = true;
    entered_ = true;
    PaintNow();
    const vcl::TPoint at = DropDownPoint();
    try {
      dropDownMenu_->Popup(at.X, at.Y);
    } catch (...) {
      droppedDown_ = false;
      throw;
    }
    droppedDown_ = false;
    if (!ClientRect().Contains(ScreenToClient(vcl::GetCursorPos()))) {
      entered_ = inControl_ = hotLook_ = overArrow_ = false;
    }
    PaintNow();
  }
  // The menu's own loop takes the release that ends this press, so the
  // press ends here and no click follows it.
  mouseButtonDown_ = false;
  pressed_ = false;
  leftDownSeen_ = false;
  controlState_.Exclude(vcl::csClicked).Exclude(vcl::csLButtonDown);
  SetMouseCapture(false);
  Invalidate();
}

// ------------------------------------------------------------ groups

void TLumCustomGlowButton::AnnounceGroup() {
  if (!Parent()) return;
  TMessage m{vcl::CM_BUTTONPRESSED, static_cast<vcl::WPARAM>(groupIndex_), reinterpret_cast<vcl::LPARAM>(this), 0};
  Parent()->Broadcast(m);
}

void TLumCustomGlowButton::SetDown(bool Value) {
  if (Loading()) downWhileLoading_ = Value;
  if (groupIndex_ == 0 && style_ == bsButton) Value = false;
  if (style_ == bsCheck) {
    down_ = Value;
    paintState_ = Value ? kDown : kUp;
    Invalidate();
    return;
  }
  if (Value == down_ || (down_ && !allowAllUp_)) return;
  down_ = Value;
  if (Value) {
    if (paintState_ == kUp) Invalidate();
    paintState_ = kExclusive;
  } else {
    paintState_ = kUp;
    Invalidate();
  }
  if (Value && !checkedLinked_) AnnounceGroup();
}

void TLumCustomGlowButton::ButtonPressed(TMessage& Message) {
  if (static_cast<int>(Message.WParam) != groupIndex_) return;
  auto* sender = reinterpret_cast<TLumCustomGlowButton*>(Message.LParam);
  if (sender == this || !sender || !sender->Down() || !down_) return;
  down_ = false;
  paintState_ = kUp;
  Invalidate();
}

// ------------------------------------------------------------ fades

void TLumCustomGlowButton::StartGlowTimer() {
  if (glowTimer_) return;
  glowTimer_ = new vcl::TTimer(this);
  glowTimer_->SetInterval(static_cast<vcl::Cardinal>(GlowFadeInterval));
  glowTimer_->OnTimer = [this](vcl::TObject* s) { GlowTick(s); };
}

void TLumCustomGlowButton::GlowTick(vcl::TObject*) {
  int* pos = fadeKind_ == kFadePress ? &pressPos_ : fadeKind_ == kFadeHover ? &hotPos_ : nullptr;
  bool finished = pos == nullptr;
  if (pos) {
    *pos += fadeStep_;
    if (*pos > 100 || *pos < 0) {
      *pos = std::clamp(*pos, 0, 100);
      if (fadeKind_ == kFadePress && fadeStep_ < 0) pressed_ = resumePressed_ = false;
      finished = true;
    }
  }
  if (!finished) {
    Invalidate();
    return;
  }
  fadeKind_ = kFadeIdle;
  // Last thing this handler does: the timer that called it goes.
  vcl::TTimer* timer = glowTimer_;
  glowTimer_ = nullptr;
  Invalidate();
  vcl::Free(timer);
}

// ------------------------------------------------------------ mouse

void TLumCustomGlowButton::MouseEnter() {
  if (ComponentState().Contains(vcl::csDesigning) || entered_) return;
  hotLook_ = true;
  if (resumePressed_) pressed_ = true;
  StartGlowTimer();
  if (!pressed_ && fadeKind_ != kFadePress) {
    fadeStep_ = 20;
    fadeKind_ = kFadeHover;
  }
  Invalidate();
  inControl_ = true;
  entered_ = true;
}

void TLumCustomGlowButton::MouseLeave() {
  if (ComponentState().Contains(vcl::csDesigning) || !entered_) return;
  entered_ = inControl_ = hotLook_ = overArrow_ = false;
  if (pressed_ && mouseButtonDown_) {
    pressed_ = false;
    fadeStep_ = -20;
    fadeKind_ = kFadeHover;
    Invalidate();
    resumePressed_ = true;
  } else {
    pressed_ = false;
    hotPos_ = 100;
    fadeStep_ = -20;
    fadeKind_ = kFadeHover;
  }
  StartGlowTimer();
}

void TLumCustomGlowButton::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X,
                                     vcl::Integer Y) {
  vcl::TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != vcl::mbLeft) return;
  if (repeatClick_) {
    if (!repeatTimer_) {
      repeatTimer_ = new vcl::TTimer(this);
      repeatTimer_->SetEnabled(false);
    }
    repeatTimer_->OnTimer = [this](vcl::TObject* s) { RepeatClickTick(s); };
    repeatTimer_->SetInterval(static_cast<vcl::Cardinal>(initRepeatPause_));
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetEnabled(true);
  }
  pressed_ = true;
  mouseButtonDown_ = true;
  if (TabStop() && CanFocus()) SetFocus();
  StartGlowTimer();
  fadeStep_ = 20;
  fadeKind_ = kFadePress;

  const bool onArrow = (dropDownPosition_ == dpRight && X > Width() - 14) ||
                       (dropDownPosition_ == dpBottom && Y > Height() - 14);
  const bool dropPress = (!dropDownButton_ && IsMenuButton()) || (dropDownButton_ && onArrow && dropDownSplit_) ||
                         (dropDownButton_ && !dropDownSplit_ && style_ != bsCheck && groupIndex_ <= 0);
  if (dropPress) {
    DropDownFromPress();
    return;
  }
  downAtPress_ = down_;
  if (style_ == bsCheck) SetDown(!down_);
  if (!down_) {
    paintState_ = kDown;
    Invalidate();
  }
  if (style_ == bsCheck) paintState_ = kDown;
  pressTracking_ = true;
}

void TLumCustomGlowButton::MouseMove(vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) {
  vcl::TCustomControl::MouseMove(Shift, X, Y);
  if (ComponentState().Contains(vcl::csDesigning)) return;
  const bool over = (dropDownPosition_ == dpRight && X > Width() - 12) ||
                    (dropDownPosition_ == dpBottom && Y > Height() - 12);
  if (over != overArrow_) {
    overArrow_ = over;
    Invalidate();
  }
  if (pressTracking_) {
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    uint8_t target = inside ? (down_ ? kExclusive : kDown) : (down_ ? kExclusive : kUp);
    if (style_ == bsCheck && down_) target = kDown;
    if (target != paintState_) {
      paintState_ = target;
      Invalidate();
    }
  } else if (!inControl_) {
    SyncInControl();
  }
}

void TLumCustomGlowButton::SyncInControl() {
  if (!Enabled()) return;
  // Whether the cursor is over this button (the control under it, disabled
  // ones included, is this one). A mismatch with the flag tells the button
  // of an enter or a leave it missed; the flag then says where the cursor
  // is, whatever the enter and leave handling (which only acts on a change
  // of the entered state) did with it.
  const bool over = ControlAtScreenPoint(this, vcl::GetCursorPos()) == this;
  if (over == inControl_) return;
  inControl_ = over;
  Perform(over ? vcl::CM_MOUSEENTER : vcl::CM_MOUSELEAVE);
  inControl_ = over;
}

void TLumCustomGlowButton::LeftButtonDown(TMessage& Message) {
  leftDownSeen_ = true;
  vcl::TCustomControl::Dispatch(Message);
}

void TLumCustomGlowButton::LeftButtonUp(TMessage& Message) {
  const vcl::TWMMouse mouse(Message);
  StartGlowTimer();
  fadeStep_ = -20;
  fadeKind_ = kFadePress;
  mouseButtonDown_ = false;
  resumePressed_ = false;

  bool upDone = false;
  auto classUp = [&] {
    if (upDone) return;
    upDone = true;
    if (leftDownSeen_) controlState_.Include(vcl::csClicked);
    leftDownSeen_ = false;
    vcl::TCustomControl::Dispatch(Message);
  };
  auto* action = dynamic_cast<vcl::TCustomAction*>(Action());

  if ((dropDownButton_ || !IsMenuButton()) && pressTracking_) {
    pressTracking_ = false;
    const bool inside = mouse.XPos >= 0 && mouse.XPos < ClientWidth() && mouse.YPos >= 0 &&
                        mouse.YPos <= ClientHeight();
    bool done = false;
    if (groupIndex_ == 0) {
      paintState_ = kUp;
      inControl_ = false;
      if (style_ == bsCheck) {
        if (action) {
          classUp();
          if (checkedLinked_ || groupIndexLinked_ || action->AutoCheck()) done = true;
        }
        if (!done) {
          // Released outside: the toggle made at the press is undone,
          // whichever way it went.
          if (!inside && down_ != downAtPress_) SetDown(downAtPress_);
          Invalidate();
        }
      }
      if (!done && inside && paintState_ != kDown && paintState_ != kExclusive) Invalidate();
    } else {
      if (action && (checkedLinked_ || groupIndexLinked_)) {
        classUp();
        done = true;
      } else if (inside) {
        SetDown(!down_);
        if (down_) Invalidate();
      } else {
        if (down_) paintState_ = kExclusive;
        Invalidate();
      }
    }
    if (!done) SyncInControl();
    if (done) return;
  }
  classUp();
  if (style_ == bsCheck || groupIndex_ > 0) Invalidate();
  Invalidate();
}

void TLumCustomGlowButton::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) {
  vcl::TCustomControl::MouseUp(Button, Shift, X, Y);
  if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

void TLumCustomGlowButton::RepeatClickTick(vcl::TObject*) {
  repeatTimer_->SetInterval(static_cast<vcl::Cardinal>(repeatPause_));
  // The class library's windows do not report Qt's implicit grab of a
  // pressed widget, so the press the button is holding stands for the
  // capture it has from the press to the release.
  if (pressed_ && (mouseButtonDown_ || MouseCapture())) {
    try {
      Click();
    } catch (...) {
      if (repeatTimer_) repeatTimer_->SetEnabled(false);
      throw;
    }
  }
}

// ------------------------------------------------------------ keyboard

void TLumCustomGlowButton::KeyDown(vcl::Word& Key, vcl::TShiftState Shift) {
  vcl::TCustomControl::KeyDown(Key, Shift);
  if (Key == vcl::VK_RETURN || Key == vcl::VK_SPACE) {
    pressed_ = true;
    paintState_ = kDown;
    Invalidate();
  }
  if (Key == vcl::VK_F4) DoDropDown();
  if (OnInternalKeyDown) OnInternalKeyDown(this, Key, Shift);
}

void TLumCustomGlowButton::KeyPress(vcl::WideChar& Key) {
  vcl::TCustomControl::KeyPress(Key);
  if (Key == u' ' || Key == u'\r') {
    if (vcl::TCustomForm* form = vcl::GetParentForm(this)) form->SetModalResult(modalResult_);
    if (OnClick) OnClick(this);
  }
}

void TLumCustomGlowButton::KeyUp(vcl::Word& Key, vcl::TShiftState Shift) {
  vcl::TCustomControl::KeyUp(Key, Shift);
  pressed_ = false;
  paintState_ = kUp;
  Invalidate();
}

void TLumCustomGlowButton::DoEnter() {
  vcl::TCustomControl::DoEnter();
  Invalidate();
  focused_ = true;
}

void TLumCustomGlowButton::DoExit() {
  vcl::TCustomControl::DoExit();
  pressed_ = false;
  paintState_ = kUp;
  focused_ = false;
  Invalidate();
}

vcl::AnsiString TLumCustomGlowButton::AccelCaption() const {
  if (!Caption().empty()) return Caption();
  return rtl::WideToUtf8(wideCaption_);
}

// ------------------------------------------------------------ key tips

void TLumCustomGlowButton::ShowShortCutHint() {
  if (!keyTip_) {
    keyTip_ = new TShortCutHintWindow(this);
    keyTip_->SetParent(this);
    keyTip_->SetVisible(false);
    RecolourKeyTip();
  }
  keyTip_->SetCaption(shortCutHint_);
  const vcl::TPoint P = ClientToScreen({0, 0});
  TShortCutHintPos position = shortCutHintPos_;
  if (OnShortCutHintPos) OnShortCutHintPos(this, sizeState_, position);
  if (position == shpAuto) position = shpTop;
  const vcl::TPoint at = KeyTipPlacement(position, P, Width(), Height(), keyTip_->Width(), keyTip_->Height());
  keyTip_->SetLeft(at.X);
  keyTip_->SetTop(at.Y);
  keyTip_->SetVisible(true);
}

void TLumCustomGlowButton::HideShortCutHint() {
  if (keyTip_) keyTip_->SetVisible(false);
}

// ------------------------------------------------------------ action

void TLumCustomGlowButton::ActionChange(vcl::TBasicAction* Sender) {
  vcl::TCustomControl::ActionChange(Sender);
  auto* action = dynamic_cast<vcl::TCustomAction*>(Sender);
  if (!action) return;
  if (action != actionLink_->Action()) {
    // A newly bound action: its group when the button has none, and its
    // image.
    if (groupIndex_ == 0) SetGroupIndex(action->GroupIndex());
    SetImageIndex(action->ImageIndex());
    actionLink_->SetAction(action);
    actionLink_->IsCheckedLinked();
    actionLink_->IsGroupIndexLinked();
  } else {
    actionLink_->ActionChanged();
  }
  if (autoSize_ && Parent() && HandleAllocated()) {
    forceMeasure_ = true;
    PaintNow();
    forceMeasure_ = false;
  }
}

// ------------------------------------------------------------ messages

void TLumCustomGlowButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case vcl::CM_MOUSEENTER:
      vcl::TCustomControl::Dispatch(Message);
      MouseEnter();
      return;
    case vcl::CM_MOUSELEAVE:
      vcl::TCustomControl::Dispatch(Message);
      MouseLeave();
      return;
    case vcl::CM_TEXTCHANGED:
      vcl::TCustomControl::Dispatch(Message);
      if (autoSize_) SizeRefresh();
      return;
    case vcl::CN_COMMAND:
      if (Message.WParamHi() == 0) Click();
      return;
    case vcl::WM_GETDLGCODE:
      if (OnInternalKeyDown) {
        Message.Result = vcl::DLGC_WANTARROWS;
        return;
      }
      vcl::TCustomControl::Dispatch(Message);
      return;
    case vcl::WM_LBUTTONDOWN:
      LeftButtonDown(Message);
      return;
    case vcl::WM_LBUTTONUP:
      LeftButtonUp(Message);
      return;
    case vcl::WM_ERASEBKGND:
      // Paint covers the whole client area (or the parent's background
      // under a transparent button).
      Message.Result = 1;
      return;
    case vcl::CM_DIALOGKEY: {
      const auto key = static_cast<vcl::Word>(Message.WParam);
      const bool noShift = (Message.LParam & kAltKeyBit) == 0 && vcl::GetKeyState(vcl::VK_SHIFT) >= 0 &&
                           vcl::GetKeyState(vcl::VK_CONTROL) >= 0;
      if (((key == vcl::VK_RETURN && defaultActive_) || (key == vcl::VK_ESCAPE && cancel_)) && noShift &&
          CanFocus()) {
        KeyboardClick();
        paintState_ = kUp;
        Message.Result = 1;
        return;
      }
      vcl::TCustomControl::Dispatch(Message);
      return;
    }
    case vcl::CM_DIALOGCHAR: {
      const bool alt = (Message.LParam & kAltKeyBit) != 0 || vcl::GetKeyState(vcl::VK_MENU) < 0;
      if (alt && vcl::IsAccel(static_cast<vcl::Word>(Message.WParam), AccelCaption()) && CanFocus()) {
        if (IsMenuButton() || dropDownMenu_)
          DoDropDown();
        else
          Click();
        Message.Result = 1;
        return;
      }
      vcl::TCustomControl::Dispatch(Message);
      return;
    }
    case vcl::CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<vcl::TControl*>(Message.LParam);
      if (auto* glowButton = dynamic_cast<TLumCustomGlowButton*>(focused))
        defaultActive_ = glowButton == this;
      else
        defaultActive_ = default_;
      return;
    }
    case vcl::CM_BUTTONPRESSED:
      ButtonPressed(Message);
      return;
    default:
      vcl::TCustomControl::Dispatch(Message);
  }
}

}  // namespace controls
