// What moves the panels of a strip: opening by a click on a tab, by
// hovering it or by a call; the stepwise slides out of and back into the
// strip on each edge; closing a while after the mouse has left; pinning and
// unpinning; and the hook on the form the strip sits on.
#include <algorithm>

#include "controls/ToolPanelTiming.h"
#include "controls/ToolPanels.h"
#include "vcl/WinApi.h"

namespace controls {

using vcl::Integer;
using vcl::TPoint;
using vcl::TRect;

namespace {

const vcl::TAnchors kSlideAnchorsAll{vcl::akLeft, vcl::akTop, vcl::akRight, vcl::akBottom};
const vcl::TAnchors kSlideAnchorsNone{};
const vcl::TAnchors kSlideAnchorsDefault{vcl::akLeft, vcl::akTop};

vcl::TCustomForm* SlideFormOf(vcl::TWinControl* parent) {
  for (vcl::TWinControl* w = parent; w; w = w->Parent())
    if (auto* f = dynamic_cast<vcl::TCustomForm*>(w)) return f;
  return nullptr;
}

// Holds a control's alignment back until released (or destroyed).
class SlideAlignHold {
 public:
  explicit SlideAlignHold(vcl::TWinControl* control) : control_(control) {
    if (control_) control_->DisableAlign();
  }
  SlideAlignHold(const SlideAlignHold&) = delete;
  SlideAlignHold& operator=(const SlideAlignHold&) = delete;
  ~SlideAlignHold() { Release(); }
  void Release() {
    if (control_) control_->EnableAlign();
    control_ = nullptr;
  }

 private:
  vcl::TWinControl* control_;
};

// The host form stays above the form the strip sits on: it belongs to that
// form's window (the layer keeps an owned window above its owner) and
// carries the topmost bit.
void MakeTopmost(vcl::TCustomForm* form, vcl::TWinControl* stripParent) {
  if (vcl::TCustomForm* owner = SlideFormOf(stripParent); owner && owner != form)
    form->SetOwnerWindow(owner->Handle());
  if (form->HandleAllocated()) form->SetWindowExStyle(form->WindowExStyle() | vcl::WS_EX_TOPMOST);
}

}  // namespace

void TLumToolPanelTab::FireTab(const TTabEvent& event, Integer index) {
  if (!event) return;
  TLumToolPanel* panel = index >= 0 && index < panels_->Count() ? panels_->Items(index)->Panel : nullptr;
  event(this, index, panel);
}

Integer TLumToolPanelTab::HostExtent() const {
  if (!hostForm_ || !hostForm_->Visible()) return 0;
  const Integer extent = position_ == ppBottom ? hostForm_->Height() : hostForm_->Width();
  // The platform keeps a window at least one pixel wide and high: that
  // pixel is the form slid in.
  return extent <= 1 ? 0 : extent;
}

void TLumToolPanelTab::SetHostExtent(Integer edge, Integer extent) {
  vcl::TCustomForm* f = hostForm_;
  if (extent <= 0) {
    // Slid in entirely: a window of no size is no window.
    f->Hide();
    if (position_ == ppBottom)
      f->SetBounds(f->Left(), edge, f->Width(), 0);
    else
      f->SetBounds(edge, f->Top(), 0, f->Height());
    return;
  }
  if (position_ == ppBottom)
    f->SetBounds(f->Left(), edge - extent, f->Width(), extent);
  else
    f->SetBounds(edge - extent, f->Top(), extent, f->Height());
}

void TLumToolPanelTab::Wait() { toolpanels::WaitSlideStep(toolpanels::SlideStepDelay(slideSpeed_)); }

void TLumToolPanelTab::RememberActive() { rememberedActive_ = vcl::Screen->ActiveForm(); }

void TLumToolPanelTab::ReactivateParent() {
  vcl::TCustomForm* parent = SlideFormOf(Parent());
  if (parent && rememberedActive_ == parent && vcl::Screen->ActiveForm() != parent) parent->BringToFront();
}

// --- opening ---

void TLumToolPanelTab::OpenPanel(TLumToolPanel* panel) {
  const Integer index = PanelIndex(panel);
  if (index < 0) panels_->Items(index);  // the collection's index error; nothing has changed
  TToolPanel* item = panels_->Items(index);
  const Integer ow = item->OpenWidth();
  switch (position_) {
    case ppLeft:
      panel->SetAlign(vcl::alNone);
      panel->SetHeight(0);
      panel->SetVisible(true);
      panel->SetHeight(Height());
      panel->SetTop(Top());
      panel->SetLeft(-ow);
      panel->SetWidth(ow);
      panel->SetParent(Parent());
      BringToFront();
      break;
    case ppTop:
      panel->SetAlign(vcl::alNone);
      panel->SetHeight(0);
      panel->SetHeight(ow);
      panel->SetTop(-ow);
      panel->SetLeft(Left());
      panel->SetVisible(true);
      panel->SetWidth(Width());
      panel->SetParent(Parent());
      BringToFront();
      break;
    case ppRight:
    case ppBottom: ShowInHostForm(panel, false); break;
  }
  SlidePanelOut(panel);
  openIndex_ = index;
  item->State = psOpened;
}

// The right and bottom strips open a panel in the host form, which starts
// as a line against the strip's inner side.
void TLumToolPanelTab::ShowInHostForm(TLumToolPanel* panel, bool reactivate) {
  if (!hostForm_) return;
  const TPoint sp = ClientOrigin();
  // The host's window first, so that the panel's window moves into it.
  hostForm_->HandleNeeded();
  panel->SetParent(hostForm_);
  if (position_ == ppRight) {
    panel->SetBounds(2, 0, 0, Height());
    panel->SetAnchors(kSlideAnchorsAll);
    hostForm_->SetBounds(sp.X, sp.Y, 0, Height());
  } else {
    panel->SetBounds(2, 0, Width(), 0);
    panel->SetAnchors(kSlideAnchorsAll);
    hostForm_->SetBounds(sp.X, sp.Y, Width(), 0);
  }
  panel->SetVisible(true);
  hostForm_->Show();
  if (reactivate) ReactivateParent();
  hostForm_->SetBounds(sp.X, sp.Y, hostForm_->Width(), hostForm_->Height());
  hostForm_->BringToFront();
  MakeTopmost(hostForm_, Parent());
}

Integer TLumToolPanelTab::OpenTab(Integer index) {
  for (Integer i = 0; i < panels_->Count(); ++i) {
    if (i == index) continue;
    TToolPanel* item = panels_->Items(i);
    TLumToolPanel* p = item->Panel;
    if (!p || !p->Visible() || p->Locked() || p->Floating()) continue;
    item->SetOpenWidth(IsVerticalStrip(position_) ? p->Width() : p->Height());
    SlidePanelIn(p);
    p->SetVisible(false);
  }
  if (index == openIndex_) return index;
  if (index < 0 || index >= panels_->Count()) return panels_->Count();
  TToolPanel* item = panels_->Items(index);
  TLumToolPanel* panel = item->Panel;
  const Integer ow = item->OpenWidth();
  RememberActive();
  switch (position_) {
    case ppLeft: {
      panel->SetAlign(vcl::alNone);
      vcl::TCustomForm* form = SlideFormOf(Parent());
      panel->SetHeight(form ? form->Height() : 0);
      panel->SetVisible(true);
      panel->SetHeight(Height());
      panel->SetTop(Top());
      panel->SetLeft(-ow);
      panel->SetWidth(ow);
      panel->SetParent(Parent());
      BringToFront();
      break;
    }
    case ppTop:
      panel->SetAlign(vcl::alNone);
      panel->SetHeight(0);
      panel->SetHeight(ow);
      panel->SetTop(-ow);
      panel->SetLeft(Left());
      panel->SetVisible(true);
      panel->SetWidth(Width());
      panel->SetParent(Parent());
      BringToFront();
      break;
    case ppRight:
    case ppBottom: ShowInHostForm(panel, true); break;
  }
  SlidePanelOut(panel);
  openIndex_ = index;
  return index;
}

// --- the slides ---

void TLumToolPanelTab::SlidePanelOut(TLumToolPanel* panel) {
  const Integer index = PanelIndex(panel);
  FireTab(OnTabSlideOut, index);
  const Integer target = VisibleTabCount() > 0 ? tabWidth_ : 0;
  RememberActive();
  const int delay = toolpanels::SlideStepDelay(slideSpeed_);
  const Integer ow = panel->OpenWidth();
  switch (position_) {
    case ppLeft: {
      if (delay == 0) panel->SetLeft(tabWidth_);
      const Integer h = panel->Height();
      panel->SetHeight(h - 1);
      panel->SetHeight(h);
      while (panel->Left() < target) {
        const Integer before = panel->Left();
        Wait();
        panel->SetLeft(std::min(panel->Left() + toolpanels::kSlideStep, tabWidth_));
        if (panel->Left() == before) break;  // held by its alignment
      }
      break;
    }
    case ppRight: {
      if (!hostForm_) break;
      panel->SetAlign(vcl::alNone);
      panel->SetWidth(ow);
      panel->SetAnchors(kSlideAnchorsNone);
      panel->SetBounds(2, 0, panel->Width(), Height());
      // The form's right edge stays where it is; it grows to the left.
      const Integer edge = hostForm_->Left() + HostExtent();
      while (hostForm_ && HostExtent() < ow) {
        vcl::TCustomForm* f = hostForm_;
        Integer w = ow;
        if (delay != 0) {
          Wait();
          if (!hostForm_) break;
          if (HostExtent() + toolpanels::kSlideStep < ow) w = HostExtent() + toolpanels::kSlideStep;
        }
        f->SetBounds(edge - w, f->Top(), w, f->Height());
        panel->SetAnchors(kSlideAnchorsNone);
        panel->SetBounds(2, panel->Top(), w - 2, panel->Height());
        panel->SetAnchors(kSlideAnchorsAll);
      }
      panel->SetWidth(panel->Width() + 1);
      panel->SetWidth(panel->Width() - 1);
      ReactivateParent();
      break;
    }
    case ppTop:
      while (panel->Top() < target) {
        const Integer before = panel->Top();
        Wait();
        panel->SetTop(std::min(panel->Top() + toolpanels::kSlideStep, tabWidth_));
        if (panel->Top() == before) break;
      }
      break;
    case ppBottom: {
      if (!hostForm_) break;
      panel->SetAlign(vcl::alNone);
      panel->SetHeight(ow);
      panel->SetAnchors(kSlideAnchorsNone);
      panel->SetBounds(0, 2, Width(), panel->Height());
      // The form's bottom edge stays where it is; it grows upwards.
      const Integer edge = hostForm_->Top() + HostExtent();
      while (hostForm_ && HostExtent() < ow) {
        vcl::TCustomForm* f = hostForm_;
        Wait();
        if (!hostForm_) break;
        const Integer h =
            HostExtent() + toolpanels::kSlideStep < ow ? HostExtent() + toolpanels::kSlideStep : ow;
        f->SetBounds(f->Left(), edge - h, f->Width(), h);
        panel->SetAnchors(kSlideAnchorsNone);
        panel->SetBounds(panel->Left(), 2, panel->Width(), h - 2);
        panel->SetAnchors(kSlideAnchorsAll);
      }
      ReactivateParent();
      break;
    }
  }
  if (Destroying()) return;
  const Integer now = PanelIndex(panel);
  if (now >= 0) panels_->Items(now)->State = psOpened;
  if (panel->AutoLock()) {
    panel->SetLocked(true);
    ArrangeLockedPanel(panel);
    hoverCandidate_ = -1;
    openIndex_ = -1;
  }
  FireTab(OnTabSlideOutDone, now);
}

void TLumToolPanelTab::SlidePanelIn(TLumToolPanel* panel) {
  const Integer index = PanelIndex(panel);
  FireTab(OnTabSlideIn, index);
  RememberActive();
  BringToFront();
  const int delay = toolpanels::SlideStepDelay(slideSpeed_);
  switch (position_) {
    case ppLeft:
      if (delay == 0) {
        panel->SetLeft(-panel->Width());
      } else {
        while (panel->Left() > -panel->Width()) {
          const Integer before = panel->Left();
          Wait();
          panel->SetLeft(panel->Left() - toolpanels::kSlideStep);
          if (panel->Left() == before) break;
        }
      }
      break;
    case ppRight: {
      if (!hostForm_) break;
      if (HostExtent() > 0 && index >= 0 && panels_->Items(index)->State == psOpened)
        panel->SetOpenWidth(HostExtent());
      const Integer edge = hostForm_->Left() + HostExtent();
      while (hostForm_ && HostExtent() > 0) {
        Integer w = 0;
        if (delay != 0) {
          Wait();
          if (!hostForm_) break;
          if (HostExtent() > toolpanels::kSlideStep) w = HostExtent() - toolpanels::kSlideStep;
        }
        SetHostExtent(edge, w);
      }
      panel->SetVisible(false);
      ReactivateParent();
      break;
    }
    case ppTop:
      while (panel->Top() > -panel->Height()) {
        const Integer before = panel->Top();
        Wait();
        panel->SetTop(panel->Top() - toolpanels::kSlideStep);
        if (panel->Top() == before) break;
      }
      break;
    case ppBottom: {
      if (!hostForm_) break;
      if (HostExtent() > 0) panel->SetOpenWidth(HostExtent());
      const Integer edge = hostForm_->Top() + HostExtent();
      while (hostForm_ && HostExtent() > 0) {
        Wait();
        if (!hostForm_) break;
        SetHostExtent(edge, HostExtent() > toolpanels::kSlideStep ? HostExtent() - toolpanels::kSlideStep : 0);
      }
      panel->SetVisible(false);
      ReactivateParent();
      break;
    }
  }
  if (Destroying()) return;
  const Integer now = PanelIndex(panel);
  if (now >= 0) panels_->Items(now)->State = psClosed;
  SendToBack();
  openIndex_ = -1;
  FireTab(OnTabSlideInDone, now);
}

// --- pinning ---

void TLumToolPanelTab::ArrangeLockedPanel(TLumToolPanel* panel) {
  SetThickness(VisibleTabCount() > 0 ? tabWidth_ : 2);
  RememberActive();
  // The pinned panels are placed by their coordinates first and aligned
  // once, in the order those coordinates give.
  SlideAlignHold hold(Parent());
  const Integer index = PanelIndex(panel);
  const bool locked = panel->Locked();
  auto otherLocked = [&](auto fn) {
    for (Integer i = 0; i < panels_->Count(); ++i) {
      TToolPanel* item = panels_->Items(i);
      if (item->Panel && item->Panel != panel && item->Panel->Locked()) fn(item, item->Panel);
    }
  };
  auto everyLocked = [&](auto fn) {
    for (Integer i = 0; i < panels_->Count(); ++i)
      if (TLumToolPanel* p = panels_->Items(i)->Panel; p && p->Locked()) fn(p);
  };
  const TPoint sp = ClientOrigin();
  switch (position_) {
    case ppLeft:
      if (locked) {
        otherLocked([&](TToolPanel* item, TLumToolPanel*) { panel->SetLeft(panel->Left() + item->OpenWidth()); });
        panel->SetAlign(vcl::alLeft);
        panel->SetWidth(panel->OpenWidth());
        panel->SendToBack();
        RemovePanel(nullptr);
        openIndex_ = -1;
      } else {
        SetLeft(0);
        otherLocked([&](TToolPanel*, TLumToolPanel* q) {
          if (q->Left() > panel->Left()) q->SetLeft(q->Left() - panel->Width());
        });
        openIndex_ = index;
        RemovePanel(nullptr);
        panel->SetAlign(vcl::alNone);
        panel->SetLeft(tabWidth_);
        panel->BringToFront();
      }
      break;
    case ppTop:
      if (locked) {
        otherLocked([&](TToolPanel* item, TLumToolPanel*) { panel->SetTop(panel->Top() + item->OpenWidth()); });
        panel->SetAlign(vcl::alTop);
        panel->SetHeight(panel->OpenWidth());
        panel->SendToBack();
        RemovePanel(nullptr);
        openIndex_ = -1;
      } else {
        otherLocked([&](TToolPanel*, TLumToolPanel* q) {
          if (q->Top() > panel->Top()) q->SetTop(q->Top() - panel->Height());
        });
        openIndex_ = index;
        RemovePanel(nullptr);
        panel->SetAlign(vcl::alNone);
        panel->SetTop(tabWidth_);
        panel->BringToFront();
      }
      break;
    case ppRight:
      if (locked) {
        otherLocked([&](TToolPanel*, TLumToolPanel* q) { q->SetLeft(q->Left() - panel->Width()); });
        panel->SetAnchors(kSlideAnchorsDefault);
        panel->SetAlign(vcl::alRight);
        panel->SetParent(Parent());
        everyLocked([](TLumToolPanel* p) { p->SetWidth(p->OpenWidth()); });
        panel->SendToBack();
        if (hostForm_) hostForm_->Hide();
        openIndex_ = -1;
      } else {
        const Integer entryWidth = panel->Width();
        otherLocked([&](TToolPanel*, TLumToolPanel* q) {
          if (q->Left() < panel->Left()) q->SetLeft(q->Left() + panel->OpenWidth());
        });
        openIndex_ = index;
        everyLocked([](TLumToolPanel* p) { p->SetWidth(p->OpenWidth()); });
        panel->SetOpenWidth(entryWidth + 2);
        const Integer ow = panel->OpenWidth();
        if (hostForm_) {
          hostForm_->SetWidth(0);
          hostForm_->HandleNeeded();
          panel->SetParent(hostForm_);
          panel->SetAlign(vcl::alNone);
          panel->SetAnchors(kSlideAnchorsNone);
          panel->SetBounds(2, 0, ow - 2, Height());
          panel->SetAnchors(kSlideAnchorsAll);
          hostForm_->SetBounds(sp.X + Width() - tabWidth_ - ow, sp.Y, ow, Height());
          hostForm_->Show();
          MakeTopmost(hostForm_, Parent());
        }
      }
      ReactivateParent();
      break;
    case ppBottom:
      if (locked) {
        panel->SetAnchors(kSlideAnchorsDefault);
        panel->SetAlign(vcl::alBottom);
        panel->SetParent(Parent());
        everyLocked([](TLumToolPanel* p) { p->SetHeight(p->OpenWidth()); });
        panel->SendToBack();
        if (hostForm_) hostForm_->Hide();
        openIndex_ = -1;
      } else {
        const Integer entryHeight = panel->Height();
        otherLocked([&](TToolPanel*, TLumToolPanel* q) {
          if (q->Top() < panel->Top()) q->SetTop(q->Top() + panel->OpenWidth());
        });
        openIndex_ = index;
        everyLocked([](TLumToolPanel* p) { p->SetHeight(p->OpenWidth()); });
        panel->SetOpenWidth(entryHeight + 2);
        const Integer ow = panel->OpenWidth();
        if (hostForm_) {
          hostForm_->SetHeight(0);
          hostForm_->HandleNeeded();
          panel->SetParent(hostForm_);
          panel->SetAlign(vcl::alNone);
          panel->SetAnchors(kSlideAnchorsNone);
          panel->SetBounds(0, 2, Width(), ow - 2);
          panel->SetAnchors(kSlideAnchorsAll);
          hostForm_->SetBounds(sp.X, sp.Y - ow, Width(), ow);
          hostForm_->Show();
          MakeTopmost(hostForm_, Parent());
        }
      }
      ReactivateParent();
      break;
  }
  hold.Release();
  Invalidate();
}

// --- mouse and timer ---

void TLumToolPanelTab::MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TCustomPanel::MouseDown(button, shift, x, y);
  if (ComponentState().Contains(vcl::csDesigning) || clickBusy_) return;
  const Integer i = TabAtPos(x, y);
  clickBusy_ = true;
  try {
    if (i >= 0) {
      if (button == vcl::mbLeft) FireTab(OnTabLeftClick, i);
      if (button == vcl::mbRight) FireTab(OnTabRightClick, i);
      OpenTab(i);
    } else if (openIndex_ >= 0 && openIndex_ < panels_->Count()) {
      TLumToolPanel* open = panels_->Items(openIndex_)->Panel;
      if (open && !open->AutoLock()) SlidePanelIn(open);
    }
  } catch (...) {
    clickBusy_ = false;
    throw;
  }
  clickBusy_ = false;
  ScrollTabs(x, y);
}

void TLumToolPanelTab::MouseMove(vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TCustomPanel::MouseMove(shift, x, y);
  if (ComponentState().Contains(vcl::csDesigning)) return;
  mouseInside_ = true;
  const Integer i = TabAtPos(x, y);
  if (i != enteredTab_) {
    if (enteredTab_ >= 0) FireTab(OnTabLeave, enteredTab_);
    enteredTab_ = i;
    if (i >= 0) FireTab(OnTabEnter, i);
  }
  if (i != hotTab_ && tabHoverColor_ != vcl::clNone) {
    hotTab_ = i;
    Invalidate();
  }
  if (!autoOpenOnMouseEnter_) return;
  const bool inRow = IsVerticalStrip(position_) ? x > Width() - tabWidth_ : y > Height() - tabWidth_;
  const TPoint here{x, y};
  if (inRow && !animationBusy_ && !(here == lastMouse_)) {
    if (i != hoverCandidate_) {
      hoverCandidate_ = i;
      autoOpenCount_ = 0;
    }
  } else {
    hoverCandidate_ = -1;
  }
  lastMouse_ = here;
}

void TLumToolPanelTab::MouseLeft() {
  if (enteredTab_ >= 0) FireTab(OnTabLeave, enteredTab_);
  mouseInside_ = false;
  if (vcl::Screen->Cursor() == vcl::crSizeAll) vcl::Screen->SetCursor(Cursor());
  enteredTab_ = -1;
  hotTab_ = -1;
  Invalidate();
}

bool TLumToolPanelTab::MouseOnOpenPanel(TPoint cursor) {
  if (openIndex_ < 0 || openIndex_ >= panels_->Count()) return false;
  TLumToolPanel* panel = panels_->Items(openIndex_)->Panel;
  if (!panel) return false;
  const TPoint inPanel = panel->ScreenToClient(ClientToScreen(cursor));
  const TRect pr = panel->ClientRect();
  if (inPanel.X >= pr.Left && inPanel.X < pr.Right && inPanel.Y >= pr.Top && inPanel.Y < pr.Bottom) return true;
  if (IsVerticalStrip(position_)) {
    if (TabAtPos(0, cursor.Y) == openIndex_ && cursor.X >= 0 && cursor.X < Width()) return true;
  } else if (TabAtPos(cursor.X, 0) == openIndex_ && cursor.Y >= 0 && cursor.Y < Height()) {
    return true;
  }
  for (Integer i = 0; i < panel->ControlCount(); ++i)
    if (auto* w = dynamic_cast<vcl::TWinControl*>(panel->Controls(i)); w && w->Focused()) return true;
  return false;
}

void TLumToolPanelTab::Timer() {
  const TPoint cursor = ScreenToClient(vcl::GetCursorPos());
  const bool vertical = IsVerticalStrip(position_);
  if (hoverCandidate_ >= 0 && mouseInside_ && panels_->Count() > 0) {
    const bool inRow = vertical ? Width() - tabWidth_ < cursor.X && cursor.X < Width() && 0 < cursor.Y &&
                                      cursor.Y < Height()
                                : Height() - tabWidth_ < cursor.Y && cursor.Y < Height() && 0 < cursor.X &&
                                      cursor.X < Width();
    if (inRow) {
      if (autoOpenCount_ < 2 || animationBusy_) {
        ++autoOpenCount_;
      } else if (TabAtPos(cursor.X, cursor.Y) == hoverCandidate_) {
        const Integer tab = hoverCandidate_;
        animationBusy_ = true;
        hoverCandidate_ = -1;
        try {
          OpenTab(tab);
        } catch (...) {
          animationBusy_ = false;
          throw;
        }
        animationBusy_ = false;
      } else {
        hoverCandidate_ = -1;
      }
    }
  }
  if (!autoCloseEnabled_) return;
  ++autoCloseCount_;
  if (openIndex_ < 0 || openIndex_ >= panels_->Count() || MouseOnOpenPanel(cursor)) {
    autoCloseCount_ = 0;
    return;
  }
  if (autoCloseCount_ != 10) return;
  TToolPanel* item = panels_->Items(openIndex_);
  TLumToolPanel* panel = item->Panel;
  if (!panel) return;
  if (position_ == ppLeft) {
    item->SetOpenWidth(panel->Width());
    panel->SetOpenWidth(panel->Width());
  }
  if (panel->Floating() || panel->Locked()) return;
  animationBusy_ = true;
  hoverCandidate_ = -1;
  try {
    SlidePanelIn(panel);
  } catch (...) {
    animationBusy_ = false;
    throw;
  }
  animationBusy_ = false;
  autoCloseCount_ = 0;
}

// --- the parent form's window procedure ---

void TLumToolPanelTab::HookParentForm() {
  if (hookId_ != 0) return;
  vcl::TCustomForm* form = SlideFormOf(Parent());
  if (!form) return;
  hookedForm_ = form;
  form->FreeNotification(this);
  hookId_ = form->AddWindowHook(
      [this](vcl::TMessage& message, const vcl::TControl::TWndMethod& next) { ParentFormWndProc(message, next); });
}

void TLumToolPanelTab::UnhookParentForm() {
  if (hookedForm_ && hookId_ != 0) hookedForm_->RemoveWindowHook(hookId_);
  hookedForm_ = nullptr;
  hookId_ = 0;
}

void TLumToolPanelTab::PlaceHostForm(bool sizeToStrip) {
  if (!hostForm_ || openIndex_ < 0) return;
  const TPoint sp = ClientOrigin();
  const TRect before = hostForm_->BoundsRect();
  if (position_ == ppRight)
    hostForm_->SetBounds(sp.X - hostForm_->Width(), sp.Y, hostForm_->Width(),
                         sizeToStrip ? Height() : hostForm_->Height());
  else if (position_ == ppBottom)
    hostForm_->SetBounds(sp.X, sp.Y - hostForm_->Height(), hostForm_->Width(), hostForm_->Height());
  else
    return;
  // The host form keeps no activation it took from the form.
  vcl::TCustomForm* form = hookedForm_;
  if (form && vcl::Screen->ActiveForm() == hostForm_) form->BringToFront();
  if (form && !(hostForm_->BoundsRect() == before)) form->Invalidate();
}

void TLumToolPanelTab::ParentFormWndProc(vcl::TMessage& message, const vcl::TControl::TWndMethod& next) {
  if (message.Msg == vcl::WM_SIZE) {
    const vcl::TWMSize size(message);
    for (Integer i = 0; i < panels_->Count(); ++i) {
      TLumToolPanel* p = panels_->Items(i)->Panel;
      if (!p) continue;
      if (IsVerticalStrip(position_) && p->Height() > size.Height) p->SetHeight(size.Height);
      if (!IsVerticalStrip(position_) && p->Width() > size.Width) p->SetWidth(size.Width);
    }
  }
  // The strip may be freed while the form handles the message (a handler
  // closing it); only what the strip still knows afterwards is touched.
  const std::shared_ptr<bool> alive = alive_;
  next(message);
  if (!*alive || hookId_ == 0) return;
  const bool designing = ComponentState().Contains(vcl::csDesigning);
  switch (message.Msg) {
    case vcl::WM_CLOSE:
      if (persist_->AutoSave && !designing) SavePanelLayout();
      if (hostForm_ && hostForm_->Visible()) hostForm_->Hide();
      break;
    case vcl::WM_MOVING:
    case vcl::WM_PAINT:
      if (openIndex_ >= 0 && (position_ == ppRight || position_ == ppBottom)) PlaceHostForm(false);
      break;
    case vcl::WM_SYSCOMMAND: {
      const auto command = static_cast<unsigned>(message.WParam);
      const bool listed = command == 0xF012 || command == 0xF020 || command == 0xF030 || command == 0xF032 ||
                          command == 0xF120 || command == 0xF122;
      if (!listed || openIndex_ < 0 || position_ != ppRight) break;
      PlaceHostForm(true);
      // Only a panel that is out slides in: a closed one sliding "in" would
      // take the open one's form away and with it the open width.
      if (command == 0xF030)
        for (Integer i = 0; i < panels_->Count(); ++i)
          if (TLumToolPanel* p = panels_->Items(i)->Panel; p && !p->Locked() && p->Visible()) SlidePanelIn(p);
      if (hookedForm_ && vcl::Screen->ActiveForm() == hostForm_) hookedForm_->BringToFront();
      break;
    }
    default: break;
  }
}

}  // namespace controls
