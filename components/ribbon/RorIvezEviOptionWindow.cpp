// The toolbar's option window and its overflow panel (see
// RorIvezEviOptionWindow.h).
#include "ribbon/RorIvezEviOptionWindow.h"

#include <algorithm>

#include "controls/LumGlowButton.h"
#include "controls/LumMenus.h"
#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviDraw.h"
#include "vcl/EndMenu.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {

vcl::TTimer* OptionWindowTimer(vcl::TComponent* Owner) {
  auto* t = new vcl::TTimer(Owner);
  t->SetInterval(1);
  t->SetEnabled(false);
  return t;
}

// An entry's background: a 40-step vertical gradient with a black frame
// when both colours are set, a black-framed fill with only the first.
void OptionEntryBackground(vcl::TCanvas* C, const vcl::TRect& R, vcl::TColor From, vcl::TColor To) {
  if (From == vcl::clNone) return;
  if (To != vcl::clNone) {
    DrawStepGradient(C, From, To, 40, R, false);
    C->Brush()->SetStyle(vcl::bsClear);
  } else {
    C->Brush()->SetStyle(vcl::bsSolid);
    C->Brush()->SetColor(From);
  }
  C->Pen()->SetColor(vcl::clBlack);
  C->Pen()->SetStyle(vcl::psSolid);
  C->Rectangle(R);
}

void OptionEntryFont(vcl::TCanvas* C) {
  C->Font()->SetName("Tahoma");
  C->Font()->SetSize(8);
}

vcl::TRect ScreenRectOf(const vcl::TControl* Control, const vcl::TRect& R) {
  const vcl::TPoint tl = Control->ClientToScreen({R.Left, R.Top});
  return vcl::Bounds(tl.X, tl.Y, R.Width(), R.Height());
}

// The right edge of the monitor nearest to P.
int MonitorRightAt(vcl::TPoint P) {
  const std::vector<vcl::TScreenArea> areas = vcl::ScreenAreas();
  int best = -1;
  long bestDistance = 0;
  for (size_t i = 0; i < areas.size(); ++i) {
    const vcl::TRect& b = areas[i].Bounds;
    const long dx = P.X < b.Left ? b.Left - P.X : (P.X >= b.Right ? P.X - b.Right + 1 : 0);
    const long dy = P.Y < b.Top ? b.Top - P.Y : (P.Y >= b.Bottom ? P.Y - b.Bottom + 1 : 0);
    const long d = dx * dx + dy * dy;
    if (best < 0 || d < bestDistance) best = static_cast<int>(i), bestDistance = d;
  }
  return best < 0 ? vcl::PrimaryWorkArea().Right : areas[static_cast<size_t>(best)].Bounds.Right;
}

}  // namespace

// --- TOptionSelectorWindow ---

TOptionSelectorWindow::TOptionSelectorWindow(vcl::TWinControl* AOwner) : vcl::TPopupForm(AOwner), owner_(AOwner) {
  SetPopupParent(AOwner);
  SetBounds(0, 0, 10, 10);
  hideTimer_ = OptionWindowTimer(this);
  hideTimer_->OnTimer = [this](vcl::TObject*) {
    HideWindow();
    hideTimer_->SetEnabled(false);
  };
  if (AOwner) AOwner->FreeNotification(this);
}

TOptionSelectorWindow::~TOptionSelectorWindow() = default;

void TOptionSelectorWindow::FitToPanel() {
  if (!panel_) return;
  const int h = panel_->GetPanelHeight();
  SetClientHeight(h);
  SetClientWidth(panel_->Width());
  panel_->SetBounds(0, 0, panel_->Width(), h);
}

void TOptionSelectorWindow::ShowAt(vcl::TPoint P) {
  SetBounds(P.X, P.Y, Width(), Height());
  ShowPopup();
}

void TOptionSelectorWindow::HideWindow() {
  if (!Visible()) return;
  HidePopup();
  SetVisible(false);
}

vcl::TWinControl* TOptionSelectorWindow::OwnerTopWindow() const {
  vcl::TWinControl* w = owner_;
  while (w && w->Parent()) w = w->Parent();
  return w;
}

void TOptionSelectorWindow::DoHide() {
  vcl::TPopupForm::DoHide();
  if (panel_) panel_->PanelHidden();
}

void TOptionSelectorWindow::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  vcl::TPopupForm::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove) return;
  if (AComponent == owner_) owner_ = nullptr;
  if (AComponent == toolBar_) toolBar_ = nullptr;
  if (AComponent == panel_) panel_ = nullptr;
}

void TOptionSelectorWindow::Dispatch(vcl::TMessage& Message) {
  if (Message.Msg == vcl::WM_ACTIVATE) {
    vcl::TPopupForm::Dispatch(Message);
    const bool active = (Message.WParam & 0xFFFF) != vcl::WA_INACTIVE;
    if (active && panel_) {
      if (Visible()) {
        if (panel_->CanFocus()) panel_->SetFocus();
        if (vcl::TWinControl* top = OwnerTopWindow(); top && top->HandleAllocated())
          vcl::SendMessage(top->Handle(), vcl::WM_NCACTIVATE, 1, 0);
      } else if (toolBar_ && toolBar_->CanFocus()) {
        toolBar_->SetFocus();
      }
      return;
    }
    if (!active && Visible() && hideOnDeactivate_) hideTimer_->SetEnabled(true);
    return;
  }
  if (Message.Msg == vcl::WM_NCHITTEST) {
    vcl::TPopupForm::Dispatch(Message);
    const vcl::TPoint screen{static_cast<int16_t>(Message.LParam & 0xFFFF),
                             static_cast<int16_t>((Message.LParam >> 16) & 0xFFFF)};
    const vcl::TPoint p = ScreenToClient(screen);
    if (p.X >= Width() - 10 && p.X < Width() && p.Y >= Height() - 10 && p.Y < Height())
      Message.Result = vcl::HT_BOTTOMRIGHT_CORNER;
    return;
  }
  vcl::TPopupForm::Dispatch(Message);
}

// --- TControlSelectorPanel ---

TControlSelectorPanel::TControlSelectorPanel(vcl::TComponent* AOwner) : TOptionSelectorPanel(AOwner) {
  first_.Caption = "Add or Remove Buttons";
  first_.Width = 130;
  second_.Caption = "Options";
  second_.Width = 130;
  menuTimer_ = OptionWindowTimer(this);
  menuTimer_->OnTimer = [this](vcl::TObject*) { MenuTimerTick(); };
}

TControlSelectorPanel::~TControlSelectorPanel() {
  for (vcl::TControl* c : controls_) c->RemoveFreeNotification(this);
  if (optionMenu_) optionMenu_->RemoveFreeNotification(this);
  if (customizer_) customizer_->RemoveFreeNotification(this);
}

vcl::TControl* TControlSelectorPanel::ListedControl(int Index) const {
  CheckListRead(Index, ListedControlCount());
  return controls_[static_cast<size_t>(Index)];
}

int TControlSelectorPanel::AddControl(vcl::TControl* Control) {
  if (!Control) return -1;
  Control->SetParent(this);
  // A toolbar control in the panel still draws in its toolbar's look.
  TOptionSelectorWindow* window = OwnerWindow();
  TLumCustomToolBar* toolBar = window && window->RorIvezEvi() ? window->RorIvezEvi() : RorIvezEvi();
  if (auto* t = dynamic_cast<TLumCustomToolBarControl*>(Control); t && !t->RorIvezEvi() && toolBar)
    t->AttachToolBar(toolBar);
  auto at = std::find(controls_.begin(), controls_.end(), Control);
  if (at != controls_.end()) return static_cast<int>(at - controls_.begin());
  controls_.push_back(Control);
  Control->FreeNotification(this);
  return ListedControlCount() - 1;
}

int TControlSelectorPanel::AddSeparator(TRorIvezEviSeparator* Template) {
  auto* s = new TRorIvezEviSeparator(this);
  if (Template) s->Assign(Template);
  separators_.push_back(s);
  return AddControl(s);
}

void TControlSelectorPanel::ClearControls() {
  for (vcl::TControl* c : controls_) c->RemoveFreeNotification(this);
  controls_.clear();
}

void TControlSelectorPanel::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  TOptionSelectorPanel::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove) return;
  std::erase(controls_, AComponent);
  std::erase(separators_, AComponent);
  if (AComponent == optionMenu_) optionMenu_ = nullptr;
  if (AComponent == customizer_) customizer_ = nullptr;
  if (AComponent == popup_) popup_ = nullptr;
  if (AComponent == customizeWindow_) customizeWindow_ = nullptr;
}

void TControlSelectorPanel::SetFirstCaption(const rtl::AnsiString& Value) {
  first_.Caption = Value;
  MeasureEntries();
}

void TControlSelectorPanel::SetSecondCaption(const rtl::AnsiString& Value) {
  if (second_.Caption == Value) return;
  second_.Caption = Value;
  MeasureEntries();
}

void TControlSelectorPanel::SetAutoOptionMenu(bool Value) {
  if (autoOptionMenu_ != Value) autoOptionMenu_ = Value;
}

void TControlSelectorPanel::SetOptionMenu(vcl::TPopupMenu* Value) {
  if (optionMenu_ == Value) return;
  if (optionMenu_) optionMenu_->RemoveFreeNotification(this);
  optionMenu_ = Value;
  if (optionMenu_) optionMenu_->FreeNotification(this);
}

void TControlSelectorPanel::SetCustomizer(TRIEToolBarCustomizer* Value) {
  if (customizer_ == Value) return;
  if (customizer_) customizer_->RemoveFreeNotification(this);
  customizer_ = Value;
  if (customizer_) customizer_->FreeNotification(this);
}

void TControlSelectorPanel::MeasureEntries() {
  vcl::TCanvas* c = MeasureCanvas();
  OptionEntryFont(c);
  int w = 130;
  if (autoOptionMenu_) w = std::max(w, c->TextWidth(first_.Caption) + 15);
  if (HasOptions()) w = std::max(w, c->TextWidth(second_.Caption) + 15);
  first_.Width = second_.Width = w;
}

void TControlSelectorPanel::Arrange() {
  MeasureEntries();
  const int mh = marginH_, mv = marginV_;
  for (int i = 0; i < ControlCount(); ++i) {
    vcl::TControl* c = Controls(i);
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) c->SetTop(-c->Height() - 2);
  }
  int content = first_.Width;
  for (vcl::TControl* c : controls_) content = std::max(content, c->Width());
  int x = mh, y = mv, lineHeight = 0;
  for (vcl::TControl* c : controls_) {
    // A control that does not fit the rest of the line starts the next
    // one (a line's first control always stays).
    if (x > mh && content - (x - mh) < c->Width()) {
      x = mh;
      y += lineHeight;
      lineHeight = 0;
    }
    c->SetBounds(x, y, c->Width(), c->Height());
    x += c->Width();
    lineHeight = std::max(lineHeight, c->Height());
  }
  int h = y + lineHeight;
  if (FirstShown()) h += first_.Height;
  if (SecondShown()) h += second_.Height;
  if (!controls_.empty() && (FirstShown() || SecondShown())) h += EntryGap();
  const int panelWidth = content + 2 * mh, panelHeight = h + mv;
  SetBounds(Left(), Top(), panelWidth, panelHeight);
  first_.Rect = FirstShown() ? vcl::Rect(mh, panelHeight - mv - first_.Height, panelWidth - mh, panelHeight - mv)
                             : vcl::TRect{};
  const int secondBottom = FirstShown() ? first_.Rect.Top : panelHeight - mv;
  second_.Rect = SecondShown() ? vcl::Rect(mh, secondBottom - second_.Height, panelWidth - mh, secondBottom)
                               : vcl::TRect{};
  Invalidate();
}

void TControlSelectorPanel::PaintEntry(vcl::TCanvas* C, const TSelectorItem& Item, bool Hot, bool Down,
                                       bool DownArrow) {
  const vcl::TRect r = Item.Rect;
  vcl::TColor text = textColor_;
  if (Down) {
    OptionEntryBackground(C, r, downColor_, downColorTo_);
    text = downTextColor_;
  } else if (Hot) {
    OptionEntryBackground(C, r, hotColor_, hotColorTo_);
    text = hotTextColor_;
  }
  OptionEntryFont(C);
  C->Font()->SetColor(text);
  C->Brush()->SetStyle(vcl::bsClear);
  vcl::TRect t = vcl::Rect(r.Left, r.Top, r.Right - 8, r.Bottom);
  C->DrawText(Item.Caption, t, vcl::DT_SINGLELINE | vcl::DT_CENTER | vcl::DT_VCENTER);
  C->Pen()->SetColor(text);
  C->Pen()->SetStyle(vcl::psSolid);
  auto run = [C](int x1, int y1, int x2, int y2) {
    C->MoveTo(x1, y1);
    C->LineTo(x2, y2);
  };
  if (DownArrow) {
    run(r.Right - 9, r.Bottom - 10, r.Right - 4, r.Bottom - 10);
    run(r.Right - 8, r.Bottom - 9, r.Right - 5, r.Bottom - 9);
    run(r.Right - 7, r.Bottom - 8, r.Right - 6, r.Bottom - 8);
  } else {
    run(r.Right - 8, r.Top + 7, r.Right - 8, r.Top + 12);
    run(r.Right - 7, r.Top + 8, r.Right - 7, r.Top + 11);
    run(r.Right - 6, r.Top + 9, r.Right - 6, r.Top + 10);
  }
}

void TControlSelectorPanel::Paint() {
  TOptionSelectorPanel::Paint();
  if (!FirstShown() && !SecondShown()) return;
  vcl::TCanvas* c = Canvas();
  const int upper = SecondShown() ? second_.Rect.Top : first_.Rect.Top;
  c->Pen()->SetColor(0x808080);
  c->Pen()->SetStyle(vcl::psSolid);
  c->MoveTo(0, upper - 4);
  c->LineTo(Width(), upper - 4);
  if (FirstShown()) PaintEntry(c, first_, firstHot_, firstDown_, true);
  if (SecondShown()) PaintEntry(c, second_, secondHot_, secondDown_, false);
}

TOptionSelectorWindow* TControlSelectorPanel::OwnerWindow() const {
  return dynamic_cast<TOptionSelectorWindow*>(Parent());
}

void TControlSelectorPanel::MouseMove(vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) {
  TOptionSelectorPanel::MouseMove(Shift, X, Y);
  const vcl::TPoint p{X, Y};
  const bool left = Shift.Contains(vcl::ssLeft);
  if (FirstShown() && first_.Rect.Contains(p)) {
    if (!left && !firstHot_) {
      firstHot_ = firstDown_ = true;
      Invalidate();
      if (customizeWindow_ && customizeWindow_->Visible()) {
        hiding_ = true;
        customizeWindow_->HideWindow();
        hiding_ = false;
      }
      OpenAddRemovePopup();
    }
  } else if (firstHot_) {
    firstHot_ = firstDown_ = false;
    Invalidate();
  }
  if (SecondShown() && second_.Rect.Contains(p)) {
    if (!left && !secondHot_) {
      secondHot_ = secondDown_ = true;
      Invalidate();
      OpenOptions();
    }
  } else if (secondHot_) {
    secondHot_ = secondDown_ = false;
    Invalidate();
    if (customizeWindow_ && customizeWindow_->Visible() && Y < second_.Rect.Top - 4) {
      hiding_ = true;
      customizeWindow_->HideWindow();
      hiding_ = false;
    }
  }
}

void TControlSelectorPanel::Dispatch(vcl::TMessage& Message) {
  TOptionSelectorPanel::Dispatch(Message);
  if (Message.Msg == vcl::CM_MOUSELEAVE) {
    if (firstHot_ || firstDown_) {
      firstHot_ = false;
      firstDown_ = popup_ && popup_->Visible();
    }
    if (secondHot_ || secondDown_) secondHot_ = secondDown_ = false;
    Invalidate();
  }
}

void TControlSelectorPanel::OpenAddRemovePopup() {
  if (!autoOptionMenu_ || (popup_ && popup_->Visible())) return;
  TOptionSelectorWindow* window = OwnerWindow();
  TLumCustomToolBar* toolBar = window ? window->RorIvezEvi() : RorIvezEvi();
  if (!popup_) {
    popup_ = new TRIEPopupWindow(this);
    popup_->CreateRootItem();
    popup_->OnHide = [this](vcl::TObject*) {
      firstDown_ = false;
      Invalidate();
      if (TOptionSelectorWindow* w = OwnerWindow()) w->SetHideOnDeactivate(true);
    };
    popup_->OnDeActivateHide = [this](vcl::TObject*) {
      if (TOptionSelectorWindow* w = OwnerWindow()) w->HideWindow();
      firstHot_ = firstDown_ = false;
    };
  }
  popup_->SetRorIvezEvi(toolBar);
  TRIEMenuItem* root = popup_->CreateRootItem();
  root->Clear();
  TRIEPopupPanel* panel = popup_->PopupPanel();
  panel->SetShowIconBar(true);
  panel->SetMeasureCanvas(MeasureCanvas() == Canvas() ? nullptr : MeasureCanvas());
  if (toolBar) {
    if (TCustomRorIvezEviStyler* s = toolBar->CurrentStyler()) panel->SetMenuStyler(s->CurrentMenuStyler());
    TRIEMenuItem* line = root->Add();
    line->SetCaption(toolBar->Caption());
    for (int i = 0; i < toolBar->ToolBarControlCount(); ++i) {
      vcl::TControl* c = toolBar->ToolBarControl(i);
      if (dynamic_cast<TRorIvezEviSeparator*>(c)) continue;
      TRIEMenuItem* check = line->Add();
      check->SetAutoCheck(true);
      check->SetChecked(c->Visible());
      check->SetData(c);
      const bool button = dynamic_cast<TLumCustomToolBarButton*>(c) || dynamic_cast<controls::TLumGlowButton*>(c);
      check->SetCaption(button ? c->Caption() : c->Name());
      c->FreeNotification(popup_);
    }
  }
  panel->SetRootItem(root);
  popup_->FitToPanel();
  if (window) window->SetHideOnDeactivate(false);
  const vcl::TRect entry = ScreenRectOf(this, first_.Rect);
  popup_->ShowAt(PlaceBesideEntry(entry, {popup_->Width(), popup_->Height()}, 0, WorkAreaAt(entry.TopLeft())));
}

void TControlSelectorPanel::OpenOptions() {
  TOptionSelectorWindow* window = OwnerWindow();
  TLumCustomToolBar* toolBar = window ? window->RorIvezEvi() : RorIvezEvi();
  if (!toolBar || !HasOptions()) return;
  if (autoOptionMenu_) {
    ClosePopup();
    menuTimer_->SetEnabled(true);
  }
  int width = 0;
  if (optionMenu_) {
    vcl::TMenuItem* widest = nullptr;
    int widestText = -1;
    vcl::TCanvas* c = MeasureCanvas();
    for (int i = 0; i < optionMenu_->Items()->Count(); ++i) {
      vcl::TMenuItem* item = optionMenu_->Items()->Items(i);
      const int w = c->TextWidth(item->Caption());
      if (w > widestText) widest = item, widestText = w;
    }
    if (widest) width = vcl::SendMeasureItem(widest, 10, 10).cx;
  } else {
    if (!customizeWindow_) {
      // Owned by this window, so that showing it keeps this window open.
      customizeWindow_ = new TOptionSelectorWindow(this);
      customizeWindow_->SetRorIvezEvi(toolBar);
      customizeWindow_->SetBounds(0, 0, 100, 40);
      auto* option = new TCustomizeOption(customizeWindow_);
      option->SetParent(customizeWindow_);
      option->SetOwnerForm(customizeWindow_);
      option->SetRorIvezEvi(toolBar);
      customizeWindow_->SetOptionsPanel(option);
      customizeWindow_->OnHide = [this](vcl::TObject*) {
        if (!hiding_)
          if (TOptionSelectorWindow* w = OwnerWindow()) w->HideWindow();
      };
    }
    auto* option = static_cast<TCustomizeOption*>(customizeWindow_->OptionsPanel());
    option->SetCustomizer(customizer_);
    option->SetMeasureCanvas(MeasureCanvas() == Canvas() ? nullptr : MeasureCanvas());
    option->SetText(customizer_->CustomizeText() + " " + toolBar->Caption());
    option->Fit();
    customizeWindow_->FitToPanel();
    width = customizeWindow_->Width();
  }
  const vcl::TRect entry = ScreenRectOf(this, second_.Rect);
  vcl::TPoint at{entry.Right, entry.Top};
  if (at.X + width > MonitorRightAt(at)) at = {entry.Left - width, entry.Top};
  if (window) window->SetHideOnDeactivate(false);
  if (optionMenu_) {
    optionMenu_->Popup(at.X, at.Y);
    secondHot_ = secondDown_ = false;
    menuTimer_->SetEnabled(false);
    const bool overFirst = autoOptionMenu_ && first_.Rect.Contains(ScreenToClient(vcl::GetCursorPos()));
    if (!overFirst && window) window->HideWindow();
  } else {
    customizeWindow_->ShowAt(at);
  }
  if (window) window->SetHideOnDeactivate(true);
  Invalidate();
}

void TControlSelectorPanel::MenuTimerTick() {
  if (!first_.Rect.Contains(ScreenToClient(vcl::GetCursorPos()))) return;
  menuTimer_->SetEnabled(false);
  // The option menu's loop ends so that the first entry's popup can open
  // as the mouse moves on.
  vcl::EndMenu();
}

void TControlSelectorPanel::ClosePopup() {
  if (popup_ && popup_->Visible()) popup_->ClosePopup();
}

void TControlSelectorPanel::PanelHidden() {
  std::vector<TRorIvezEviSeparator*> made;
  made.swap(separators_);
  for (TRorIvezEviSeparator* s : made) {
    std::erase(controls_, static_cast<vcl::TControl*>(s));
    vcl::Free(s);
  }
}

// --- TCustomizeOption ---

TCustomizeOption::TCustomizeOption(vcl::TComponent* AOwner) : TOptionSelectorPanel(AOwner) {}

void TCustomizeOption::Fit() {
  vcl::TCanvas* c = MeasureCanvas();
  if (c == Canvas()) c->Font()->Assign(Font());
  SetBounds(Left(), Top(), c->TextWidth(text_) + 2 * marginH_ + 12, 25);
}

vcl::TRect TCustomizeOption::ItemRect() const {
  return vcl::Rect(marginH_, marginV_, Width() - marginH_, Height() - marginV_);
}

void TCustomizeOption::MouseMove(vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) {
  TOptionSelectorPanel::MouseMove(Shift, X, Y);
  const bool over = ItemRect().Contains({X, Y});
  if (over && !Shift.Contains(vcl::ssLeft)) {
    if (!hot_) {
      hot_ = down_ = true;
      Invalidate();
    }
  } else if (!over && (hot_ || down_)) {
    hot_ = down_ = false;
    Invalidate();
  }
}

void TCustomizeOption::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) {
  TOptionSelectorPanel::MouseDown(Button, Shift, X, Y);
  if (ItemRect().Contains({X, Y}) && !down_) {
    hot_ = down_ = true;
    Invalidate();
  }
}

void TCustomizeOption::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) {
  TOptionSelectorPanel::MouseUp(Button, Shift, X, Y);
  if (!ItemRect().Contains({X, Y}) || !down_) return;
  hot_ = down_ = false;
  Invalidate();
  if (ownerForm_) ownerForm_->HideWindow();
  if (customizer_) customizer_->ShowCustomization(RorIvezEvi());
}

void TCustomizeOption::Dispatch(vcl::TMessage& Message) {
  TOptionSelectorPanel::Dispatch(Message);
  if (Message.Msg == vcl::CM_MOUSELEAVE && (hot_ || down_)) {
    hot_ = down_ = false;
    Invalidate();
  }
}

void TCustomizeOption::Paint() {
  TOptionSelectorPanel::Paint();
  vcl::TCanvas* c = Canvas();
  TLumCustomToolBar* toolBar = RorIvezEvi();
  if (!toolBar || !toolBar->CurrentStyler()) return;
  TCustomRorIvezEviStyler* s = toolBar->CurrentStyler();
  const TButtonAppearance* b = s->ButtonAppearance();
  const controls::TRootItem* root =
      toolBar->Menu() && s->LumMenuStyler() ? s->LumMenuStyler()->RootItem() : nullptr;
  vcl::TColor from = vcl::clNone, to = vcl::clNone, text;
  if (down_) {
    from = root ? root->SelectedColor() : b->ColorDown();
    to = root ? root->SelectedColorTo() : b->ColorDownTo();
    text = root ? root->SelectedTextColor() : b->CaptionTextColorDown();
  } else if (hot_) {
    from = root ? root->HoverColor() : b->ColorHot();
    to = root ? root->HoverColorTo() : b->ColorHotTo();
    text = root ? root->HoverTextColor() : b->CaptionTextColorHot();
  } else {
    text = root ? root->SelectedTextColor() : b->CaptionTextColor();
  }
  const vcl::TRect r = ItemRect();
  OptionEntryBackground(c, r, from, to);
  c->Font()->Assign(Font());
  c->Font()->SetColor(text);
  c->Brush()->SetStyle(vcl::bsClear);
  vcl::TRect t = vcl::Rect(r.Left + 4, r.Top, r.Right - 4, r.Bottom);
  c->DrawText(text_, t, vcl::DT_SINGLELINE | vcl::DT_CENTER | vcl::DT_VCENTER);
}

}  // namespace ribbon
