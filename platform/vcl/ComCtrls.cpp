#include "vcl/ComCtrls.h"

#include <algorithm>

#include "rtl/Format.h"

namespace vcl {

// ---------------------------------------------------------- tab controls

TCustomTabControl::TCustomTabControl(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  tabStop_ = true;
  TControl::SetBounds(0, 0, 289, 193);
}

Integer TCustomTabControl::TabHeight() const {
  TCanvas measure;
  measure.SetFont(const_cast<TCustomTabControl*>(this)->Font());
  return measure.TextHeight("Wg") + 6;
}

TRect TCustomTabControl::DisplayRect() const {
  return Rect(4, TabHeight() + 4, std::max(4, Width() - 4), std::max(TabHeight() + 4, Height() - 4));
}

void TCustomTabControl::AdjustClientRect(TRect& rect) const { rect = DisplayRect(); }

TRect TCustomTabControl::TabRect(Integer index) const {
  if (index < 0 || index >= TabCount()) return {};
  TCanvas measure;
  measure.SetFont(const_cast<TCustomTabControl*>(this)->Font());
  Integer x = 2, h = TabHeight();
  for (Integer i = 0; i < TabCount(); ++i) {
    Integer w = measure.TextWidth(TabCaption(i)) + 16;
    if (i == index) return Rect(x, 2, x + w, h);
    x += w;
  }
  return {};
}

Integer TCustomTabControl::IndexOfTabAt(Integer x, Integer y) const {
  for (Integer i = 0; i < TabCount(); ++i) {
    TRect r = TabRect(i);
    if (i == SelectedTab()) InflateRect(r, 2, 2);
    if (r.Contains({x, y})) return i;
  }
  return -1;
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

bool TCustomTabControl::ChangeTab(Integer index) {
  if (index == SelectedTab() || index < 0 || index >= TabCount()) return false;
  if (!CanChange()) return false;
  SelectTab(index);
  Invalidate();
  Change();
  return true;
}

void TCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  Integer i = IndexOfTabAt(x, y);
  if (i >= 0) {
    if (CanFocus()) SetFocus();
    ChangeTab(i);
  }
}

void TCustomTabControl::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (TabCount() == 0) return;
  if (key == VK_RIGHT || (key == VK_TAB && shift.Contains(ssCtrl) && !shift.Contains(ssShift))) {
    ChangeTab((SelectedTab() + 1) % TabCount());
    key = 0;
  } else if (key == VK_LEFT || (key == VK_TAB && shift.Contains(ssCtrl) && shift.Contains(ssShift))) {
    ChangeTab((SelectedTab() - 1 + TabCount()) % TabCount());
    key = 0;
  }
}

void TCustomTabControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS;
    return;
  }
  if (m.Msg == CM_FONTCHANGED) Realign();
  TCustomControl::Dispatch(m);
}

void TCustomTabControl::Paint() {
  TCanvas* c = Canvas();
  TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  Integer h = TabHeight();
  c->Brush()->SetColor(Parent() ? Parent()->Color() : Color());
  c->FillRect(Rect(0, 0, Width(), h));
  TRect body = Rect(0, h, Width(), Height());
  Frame3D(c, body, light, dark, 1);
  c->Brush()->SetColor(Color());
  c->FillRect(body);
  c->SetFont(Font());
  auto drawTab = [&](Integer i, bool selected) {
    TRect r = TabRect(i);
    if (selected) r = Rect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 1);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Brush()->SetColor(light);
    c->FillRect(Rect(r.Left, r.Top, r.Right - 1, r.Top + 1));
    c->FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
    c->Brush()->SetColor(dark);
    c->FillRect(Rect(r.Right - 1, r.Top + 1, r.Right, r.Bottom));
    c->Brush()->SetStyle(bsClear);
    TRect text = r;
    c->DrawText(TabCaption(i), text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    c->Brush()->SetStyle(bsSolid);
  };
  for (Integer i = 0; i < TabCount(); ++i)
    if (i != SelectedTab()) drawTab(i, false);
  if (SelectedTab() >= 0 && SelectedTab() < TabCount()) drawTab(SelectedTab(), true);
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {
  tabs_.OnChange = [this](rtl::TStrings*) {
    if (tabIndex_ >= tabs_.Count()) tabIndex_ = tabs_.Count() - 1;
    if (tabIndex_ < 0 && tabs_.Count() > 0) tabIndex_ = 0;
    Invalidate();
  };
}

TTabControl::~TTabControl() { tabs_.OnChange = nullptr; }

void TTabControl::SetTabIndex(Integer v) {
  if (v < -1 || v >= tabs_.Count()) v = -1;
  tabIndex_ = v;
  Invalidate();
}

// ------------------------------------------------------------ page sheets

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  SetColor(clBtnFace);
  TControl::SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc) {
  if (pc == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  if (pc) pc->InsertPage(this);
}

Integer TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& p = pageControl_->pages_;
  return static_cast<Integer>(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(Integer index) {
  if (!pageControl_) return;
  auto& p = pageControl_->pages_;
  p.erase(std::remove(p.begin(), p.end(), this), p.end());
  index = std::clamp(index, 0, static_cast<Integer>(p.size()));
  p.insert(p.begin() + index, this);
  pageControl_->Invalidate();
}

Integer TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  auto tabs = pageControl_->VisibleTabs();
  return static_cast<Integer>(std::find(tabs.begin(), tabs.end(), this) - tabs.begin());
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tabVisible_) return;
  tabVisible_ = v;
  if (!pageControl_) return;
  if (!v && pageControl_->ActivePage() == this)
    pageControl_->SetActivePage(pageControl_->FindNextPage(this, true, true));
  pageControl_->Invalidate();
}

void TTabSheet::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED && pageControl_) pageControl_->Invalidate();
  TWinControl::Dispatch(m);
}

// ----------------------------------------------------------- page control

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(Integer index) const {
  if (index < 0 || index >= PageCount()) throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
  return pages_[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->pageControl_ = this;
  page->SetParent(this);
  page->SetBoundsRect(DisplayRect());
  if (!activePage_ && page->TabVisible())
    SetActivePage(page);
  else
    page->SetVisible(false);
  Invalidate();
}

void TPageControl::RemovePage(TTabSheet* page) {
  TTabSheet* next = activePage_ == page ? FindNextPage(page, true, true) : activePage_;
  if (next == page) next = nullptr;
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  page->pageControl_ = nullptr;
  if (page->Parent() == this && !Destroying()) page->SetParent(nullptr);
  if (activePage_ == page) {
    activePage_ = nullptr;
    SetActivePage(next);
  }
  Invalidate();
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
  std::vector<TTabSheet*> v;
  for (TTabSheet* p : pages_)
    if (p->TabVisible()) v.push_back(p);
  return v;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->PageControl() != this) return;
  if (page == activePage_) return;
  TTabSheet* old = activePage_;
  activePage_ = page;
  if (page) {
    page->SetBoundsRect(DisplayRect());
    page->SetVisible(true);
    page->BringToFront();
    if (page->OnShow) page->OnShow(page);
  }
  if (old) {
    old->SetVisible(false);
    if (old->OnHide) old->OnHide(old);
  }
  Invalidate();
}

Integer TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(Integer index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
  if (pages_.empty()) return nullptr;
  auto n = static_cast<Integer>(pages_.size());
  Integer start = current ? current->PageIndex() : (goForward ? n - 1 : 0);
  if (start < 0 || start >= n) start = goForward ? n - 1 : 0;
  Integer i = start;
  for (Integer step = 0; step < n; ++step) {
    i = goForward ? (i + 1) % n : (i - 1 + n) % n;
    TTabSheet* p = pages_[static_cast<size_t>(i)];
    if (!checkTabVisible || p->TabVisible()) return p;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
  TTabSheet* next = FindNextPage(activePage_, goForward, true);
  if (next && next != activePage_ && CanChange()) {
    SetActivePage(next);
    Change();
  }
}

Integer TPageControl::TabCount() const { return static_cast<Integer>(VisibleTabs().size()); }
AnsiString TPageControl::TabCaption(Integer index) const { return VisibleTabs().at(static_cast<size_t>(index))->Caption(); }
Integer TPageControl::SelectedTab() const { return activePage_ ? activePage_->TabIndex() : -1; }
void TPageControl::SelectTab(Integer index) { SetActivePage(VisibleTabs().at(static_cast<size_t>(index))); }

void TPageControl::AlignControls(TControl* control, TRect& rect) {
  TCustomTabControl::AlignControls(control, rect);
  for (TTabSheet* p : pages_) p->SetBoundsRect(DisplayRect());
}

// ------------------------------------------------------------- status bar

void TStatusPanel::Changed() {
  // An empty update bracket makes the collection report the change.
  if (rtl::TCollection* c = Collection()) {
    c->BeginUpdate();
    c->EndUpdate();
  }
}

void TStatusPanel::SetText(const AnsiString& v) {
  if (v == text_) return;
  text_ = v;
  Changed();
}
void TStatusPanel::SetWidth(Integer v) {
  width_ = v;
  Changed();
}
void TStatusPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed();
}
void TStatusPanel::SetBevel(TStatusPanelBevel v) {
  bevel_ = v;
  Changed();
}

void TStatusPanels::Update(rtl::TCollectionItem*) {
  if (bar_) bar_->Invalidate();
}

void TStatusPanels::Notify(rtl::TCollectionItem*, bool) {
  if (bar_) bar_->Invalidate();
}

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner), panels_(this) {
  SetColor(clBtnFace);
  TControl::SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool v) {
  simplePanel_ = v;
  Invalidate();
}

void TStatusBar::SetSimpleText(const AnsiString& v) {
  simpleText_ = v;
  Invalidate();
}

TRect TStatusBar::PanelRect(Integer index) const {
  Integer x = 0;
  for (Integer i = 0; i < panels_.Count(); ++i) {
    Integer w = panels_.Items(i)->Width();
    bool last = i == panels_.Count() - 1;
    TRect r = Rect(x, 2, last ? std::max(x, Width()) : x + w, Height());
    if (i == index) return r;
    x += w + 2;
  }
  return {};
}

void TStatusBar::Paint() {
  TCanvas* c = Canvas();
  TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  c->SetFont(Font());
  auto drawPanel = [&](TRect r, const AnsiString& text, TAlignment align, TStatusPanelBevel bevel) {
    if (bevel != pbNone) Frame3D(c, r, bevel == pbLowered ? dark : light, bevel == pbLowered ? light : dark, 1);
    c->Brush()->SetStyle(bsClear);
    TRect t = Rect(r.Left + 2, r.Top, r.Right - 2, r.Bottom);
    Cardinal flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (align == taCenter) flags |= DT_CENTER;
    if (align == taRightJustify) flags |= DT_RIGHT;
    c->DrawText(text, t, flags);
    c->Brush()->SetStyle(bsSolid);
  };
  if (simplePanel_) {
    drawPanel(Rect(0, 2, Width(), Height()), simpleText_, taLeftJustify, pbNone);
    return;
  }
  for (Integer i = 0; i < panels_.Count(); ++i) {
    TStatusPanel* p = panels_.Items(i);
    drawPanel(PanelRect(i), p->Text(), p->Alignment(), p->Bevel());
  }
}

}  // namespace vcl

#include "vcl/ActnList.h"
#include "vcl/ImgList.h"

namespace vcl {

// ------------------------------------------------------------ tool buttons

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_.Exclude(csDoubleClicks);
  TControl::SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetStyle(TToolButtonStyle s) {
  style_ = s;
  if (Parent()) Parent()->Realign();
  Invalidate();
}

void TToolButton::SetImageIndex(Integer v) {
  imageIndex_ = v;
  Invalidate();
}

void TToolButton::SetDown(bool v) {
  if (v == down_) return;
  down_ = v;
  // One button of a group is down at a time.
  if (v && grouped_ && Parent())
    for (Integer i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* b = dynamic_cast<TToolButton*>(Parent()->Controls(i)); b && b != this && b->grouped_ && b->style_ == tbsCheck)
        b->SetDown(false);
  Invalidate();
}

void TToolButton::Click() {
  if (style_ == tbsCheck) SetDown(grouped_ ? true : !down_);
  TGraphicControl::Click();
}

void TToolButton::ActionChange(TBasicAction* sender) {
  TGraphicControl::ActionChange(sender);
  if (auto* a = dynamic_cast<TCustomAction*>(sender)) {
    imageIndex_ = a->ImageIndex();
    if (style_ == tbsCheck) down_ = a->Checked();
  }
  Invalidate();
}

void TToolButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      hot_ = true;
      Invalidate();
      break;
    case CM_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      break;
    case CM_TEXTCHANGED:
      if (Parent()) Parent()->Realign();
      break;
    default: break;
  }
  TGraphicControl::Dispatch(m);
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && Enabled() && style_ != tbsSeparator && style_ != tbsDivider) {
    pressed_ = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TToolButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  pressed_ = false;
  Invalidate();
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  TColor face = Parent() ? Parent()->Color() : ColorToRGB(clBtnFace);
  c->Brush()->SetColor(face);
  c->FillRect(r);
  if (style_ == tbsSeparator) return;
  if (style_ == tbsDivider) {
    TRect line = Rect(r.Width() / 2 - 1, 2, r.Width() / 2 + 1, r.Height() - 2);
    Frame3D(c, line, ColorToRGB(clBtnShadow), ColorToRGB(clBtnHighlight), 1);
    return;
  }
  bool sunk = pressed_ || down_;
  if (sunk || (hot_ && Enabled())) {
    TRect frame = r;
    Frame3D(c, frame, ColorToRGB(sunk ? clBtnShadow : clBtnHighlight), ColorToRGB(sunk ? clBtnHighlight : clBtnShadow), 1);
  }
  Integer offset = sunk ? 1 : 0;
  TToolBar* bar = ToolBar();
  TImageList* images = bar ? bar->Images() : nullptr;
  Integer textTop = 0;
  if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
    Integer x = (r.Width() - images->Width()) / 2 + offset;
    Integer y = (bar->ShowCaptions() ? 3 : (r.Height() - images->Height()) / 2) + offset;
    images->Draw(c, x, y, imageIndex_, Enabled());
    textTop = y + images->Height();
  }
  if ((!images || (bar && bar->ShowCaptions())) && !Caption().empty()) {
    c->SetFont(Font());
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    c->Brush()->SetStyle(bsClear);
    TRect t = Rect(offset, textTop + offset, r.Width() + offset, r.Height() + offset);
    c->DrawText(Caption(), t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
}

// --------------------------------------------------------------- tool bar

TToolBar::TToolBar(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  TControl::SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

TToolBar::~TToolBar() = default;

void TToolBar::SetImages(TImageList* images) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images) images->FreeNotification(this);
  Invalidate();
}

void TToolBar::SetShowCaptions(bool v) {
  showCaptions_ = v;
  Realign();
  Invalidate();
}

void TToolBar::SetButtonWidth(Integer v) {
  buttonWidth_ = v;
  Realign();
}

void TToolBar::SetButtonHeight(Integer v) {
  buttonHeight_ = v;
  Realign();
}

Integer TToolBar::ButtonCount() const {
  Integer n = 0;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++n;
  return n;
}

TToolButton* TToolBar::Buttons(Integer index) const {
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i)))
      if (index-- == 0) return b;
  return nullptr;
}

void TToolBar::AlignControls(TControl* control, TRect& rect) {
  std::vector<TControl*> row;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Visible()) row.push_back(Controls(i));
  std::stable_sort(row.begin(), row.end(), [](TControl* a, TControl* b) { return a->Left() < b->Left(); });
  TCanvas measure;
  measure.SetFont(Font());
  Integer x = rect.Left + 2;
  for (TControl* c : row) {
    Integer w = c->Width();
    if (auto* b = dynamic_cast<TToolButton*>(c)) {
      if (b->Style() == tbsSeparator || b->Style() == tbsDivider)
        w = 8;
      else if (showCaptions_ || !images_)
        w = std::max(buttonWidth_, measure.TextWidth(b->Caption()) + 12);
      else
        w = buttonWidth_;
      c->SetBounds(x, rect.Top + 2, w, buttonHeight_);
    } else {
      c->SetBounds(x, rect.Top + 2, w, c->Height());
    }
    x += w;
  }
}

void TToolBar::Dispatch(TMessage& m) {
  TCustomControl::Dispatch(m);
  // Buttons come, go and change their captions: lay the row out again.
  if (m.Msg == CM_CONTROLCHANGE && !Destroying()) Realign();
}

void TToolBar::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

}  // namespace vcl
