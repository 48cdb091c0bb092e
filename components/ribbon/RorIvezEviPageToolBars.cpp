// A ribbon page's toolbars: the list in left-to-right order, lining them
// up, shrinking and growing them with the page's width, and scrolling them
// when even their collapsed forms do not fit.
#include <algorithm>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/ExtCtrls.h"

namespace ribbon {

namespace {

using controls::TButtonSizeState;

// Whether a candidate scanned later replaces the chosen one: a smaller
// step of the same kind, or (shrinking) labels before glyphs, (growing)
// labels before large buttons.
bool PageReplacesReduce(int Gain, TButtonSizeState State, int ChosenGain, TButtonSizeState ChosenState) {
  return (State == ChosenState && Gain < ChosenGain) ||
         (State == controls::bsLabel && ChosenState == controls::bsGlyph);
}

bool PageReplacesEnlarge(int Amount, TButtonSizeState State, int ChosenAmount, TButtonSizeState ChosenState) {
  return (State == ChosenState && Amount > ChosenAmount) ||
         (State == controls::bsLabel && ChosenState == controls::bsLarge);
}

}  // namespace

std::vector<TLumCustomToolBar*> TLumPage::ShownToolBars() const {
  std::vector<TLumCustomToolBar*> list;
  for (int i = 0; i < ControlCount(); ++i) {
    auto* t = dynamic_cast<TRorIvezEvi*>(Controls(i));
    if (!t || (!t->Visible() && !Designing())) continue;
    if (std::find(list.begin(), list.end(), t) != list.end()) continue;
    auto at = std::find_if(list.begin(), list.end(), [t](TLumCustomToolBar* o) { return o->Left() > t->Left(); });
    list.insert(at, t);
  }
  return list;
}

bool TLumPage::SizeCandidate(const TLumCustomToolBar* ToolBar) const {
  return ((ToolBar->Visible() && ToolBar->Width() > 0) || Designing()) && !ToolBar->IsCollapsed() &&
         ToolBar->GroupLoaded();
}

int TLumPage::AddToolBar(TLumCustomToolBar* ToolBar) {
  if (!ToolBar || movingToolBars_) return -1;
  if (std::find(toolBars_.begin(), toolBars_.end(), ToolBar) != toolBars_.end()) return -1;
  const bool quiet = Loading() || Designing();
  if (!quiet) {
    ToolBar->SetShowRightHandle(false);
    ToolBar->SetShowCaption(true);
    ToolBar->SetCaptionPosition(cpBottom);
    ToolBar->SetCaptionAlignment(vcl::taCenter);
  }
  toolBars_.push_back(ToolBar);
  const int index = ToolBarCount() - 1;
  if (ToolBar->Parent() != this) ToolBar->SetParent(this);
  if (!quiet && !ToolBar->ToolBarStyler()) ToolBar->SetParentStyler(true);
  ArrangeToolBars();
  if (!quiet && !ToolBar->ComponentState().Contains(vcl::csReading)) ToolBar->SetGroupLoaded(true);
  return index;
}

void TLumPage::RemoveToolBar(TLumCustomToolBar* ToolBar) {
  if (movingToolBars_) return;
  auto it = std::find(toolBars_.begin(), toolBars_.end(), ToolBar);
  if (it == toolBars_.end()) return;
  toolBars_.erase(it);
  if (ToolBar->Parent() == this && !ToolBar->Destroying()) ToolBar->SetParent(nullptr);
}

void TLumPage::ForgetToolBar(vcl::TControl* Control) {
  if (movingToolBars_) return;
  auto it = std::find_if(toolBars_.begin(), toolBars_.end(),
                         [Control](const TLumCustomToolBar* t) { return static_cast<const vcl::TControl*>(t) == Control; });
  if (it != toolBars_.end()) toolBars_.erase(it);
  // A toolbar that leaves the twin for good leaves the page it stands for.
  if (twinOf_) twinOf_->ForgetToolBar(Control);
}

TLumCustomToolBar* TLumPage::ToolBars(int Index) const {
  return Index >= 0 && Index < ToolBarCount() ? toolBars_[static_cast<size_t>(Index)] : nullptr;
}

TLumCustomToolBar* TLumPage::FirstToolBar(bool VisibleOnly) const {
  for (TLumCustomToolBar* t : toolBars_)
    if (!VisibleOnly || t->Visible()) return t;
  return nullptr;
}

void TLumPage::SetAutoPosition(bool Value) {
  if (autoPosition_ == Value) return;
  autoPosition_ = Value;
  ArrangeToolBars();
}

void TLumPage::ToolBarResized(TLumCustomToolBar*) { ArrangeToolBars(); }

void TLumPage::ToolBarVisibleChanged(TLumCustomToolBar*) { ArrangeToolBars(); }

TCustomRorIvezEviStyler* TLumPage::ParentStylerFor(const TLumCustomToolBar*) const {
  TRorIvezEviPager* pager = OwnerPager();
  if (!pager) return nullptr;
  TCustomRorIvezEviStyler* current = pager->CurrentStyler();
  if (current && !current->Destroying()) return current;
  TCustomRorIvezEviStyler* own = pager->InternalStyler();
  return own && !own->Destroying() ? own : nullptr;
}

int TLumPage::ToolBarIndexOf(const TLumCustomToolBar* ToolBar) const {
  auto it = std::find(toolBars_.begin(), toolBars_.end(), ToolBar);
  return it == toolBars_.end() ? -1 : static_cast<int>(it - toolBars_.begin());
}

int TLumPage::MoveToolBarTo(TLumCustomToolBar* ToolBar, int Index) {
  const int from = ToolBarIndexOf(ToolBar);
  if (from < 0) return -1;
  const int to = std::clamp(Index, 0, ToolBarCount() - 1);
  if (to != from) {
    toolBars_.erase(toolBars_.begin() + from);
    toolBars_.insert(toolBars_.begin() + to, ToolBar);
    ArrangeToolBars();
  }
  return to;
}

void TLumPage::ArrangeToolBars() {
  if (!autoPosition_ || arranging_ || Loading()) return;
  arranging_ = true;
  int x = 3;
  for (TLumCustomToolBar* t : toolBars_) {
    if (!((t->Visible() && t->Width() > 0) || Designing())) continue;
    t->SetBounds(x, 3, t->Width(), Height() - 6);
    x += t->Width() + 3;
  }
  arranging_ = false;
}

void TLumPage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (AWidth != Width()) oldWidth_ = Width();
  vcl::TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  ArrangeToolBars();
}

void TLumPage::Resize() {
  vcl::TCustomControl::Resize();
  if (Width() != oldWidth_) {
    if (Width() < oldWidth_)
      ShrinkToolBars();
    else
      GrowToolBars();
  }
  ResetToolBarScroll();
}

void TLumPage::Loaded() {
  vcl::TCustomControl::Loaded();
  toolBars_.clear();
  for (int i = 0; i < ControlCount(); ++i) {
    auto* t = dynamic_cast<TRorIvezEvi*>(Controls(i));
    if (!t) continue;
    auto at = std::find_if(toolBars_.begin(), toolBars_.end(),
                           [t](TLumCustomToolBar* o) { return o->Left() > t->Left(); });
    toolBars_.insert(at, t);
  }
  ArrangeToolBars();
  FitToolBars();
}

int TLumPage::FreeSpace() const {
  const std::vector<TLumCustomToolBar*> shown = ShownToolBars();
  const int right = shown.empty() ? 0 : shown.back()->Left() + shown.back()->Width();
  return Width() - right - 2;
}

// Each pass re-reads the free space from the toolbars as they now stand
// (the pass the steps describe running again). A pass that finds nothing
// to reduce and nothing to collapse ends the work: scrolling takes over.
void TLumPage::ShrinkToolBars() { ReduceToolBars(false); }

void TLumPage::ReduceToolBars(bool Fitting) {
  if (Designing()) return;
  for (;;) {
    const int free = FreeSpace();
    if (free > 0) return;
    int need = -free;
    const std::vector<TLumCustomToolBar*> shown = ShownToolBars();
    TLumCustomToolBar* chosen = nullptr;
    int chosenGain = 0;
    TButtonSizeState chosenState = controls::bsLarge;
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
      if (!SizeCandidate(*it)) continue;
      TButtonSizeState state = controls::bsLarge;
      const int gain = (*it)->ReduceButtons(false, state);
      if (gain <= 0) continue;
      if (!chosen || PageReplacesReduce(gain, state, chosenGain, chosenState) ||
          (Fitting && state == chosenState && chosenGain < need)) {
        chosen = *it;
        chosenGain = gain;
        chosenState = state;
      }
    }
    if (chosen) {
      TButtonSizeState state = controls::bsLarge;
      need -= chosen->ReduceButtons(true, state);
      ArrangeToolBars();
      if (need <= 0) return;
      continue;
    }
    if (need <= 0) return;
    TLumCustomToolBar* last = nullptr;
    for (auto it = shown.rbegin(); it != shown.rend() && !last; ++it)
      if (SizeCandidate(*it)) last = *it;
    if (!last) return;
    last->SetCollapsed(true);
    if (!last->IsCollapsed()) return;
    last->SetCloneReduced(true);
    ArrangeToolBars();
  }
}

void TLumPage::GrowToolBars() {
  if (Designing()) return;
  for (;;) {
    int free = FreeSpace();
    if (free <= 0) return;
    const std::vector<TLumCustomToolBar*> shown = ShownToolBars();
    TLumCustomToolBar* collapsed = nullptr;
    for (TLumCustomToolBar* t : shown)
      if (((t->Visible() && t->Width() > 0) || Designing()) && t->IsCollapsed() && !t->Busy()) {
        collapsed = t;
        break;
      }
    if (collapsed) {
      if (free < collapsed->GetExpandedWidth() + RibbonPageMargin() - collapsed->GetCollapsedWidth()) return;
      collapsed->SetCollapsed(false);
      if (collapsed->IsCollapsed()) return;
      ArrangeToolBars();
      continue;
    }
    TLumCustomToolBar* chosen = nullptr;
    int chosenAmount = 0;
    TButtonSizeState chosenState = controls::bsGlyph;
    for (TLumCustomToolBar* t : shown) {
      if (!SizeCandidate(t)) continue;
      TButtonSizeState state = controls::bsGlyph;
      const int amount = t->EnlargeButtons(false, state);
      if (amount <= 0) continue;
      if (!chosen || PageReplacesEnlarge(amount, state, chosenAmount, chosenState)) {
        chosen = t;
        chosenAmount = amount;
        chosenState = state;
      }
    }
    if (!chosen || chosenAmount >= free) return;
    TButtonSizeState state = controls::bsGlyph;
    chosen->EnlargeButtons(true, state);
    ArrangeToolBars();
  }
}

// Either direction, chosen by the first pass: a page that does not fit
// reduces (and collapses) until it does; one with room grows until the
// next step no longer fits. Keeping to one direction a call means the
// two cannot take turns for ever when the groups' steps differ in size.
void TLumPage::FitToolBars() {
  if (Designing()) return;
  if (FreeSpace() > 0) {
    GrowToolBars();
    return;
  }
  ReduceToolBars(true);
}

int TLumPage::ToolBarsFitting(int Index, bool Forward) const {
  const std::vector<TLumCustomToolBar*> shown = ShownToolBars();
  const int n = static_cast<int>(shown.size());
  int x = 3, count = 0;
  for (int i = Index; i >= 0 && i < n; i += Forward ? 1 : -1) {
    const int w = shown[static_cast<size_t>(i)]->Width();
    if (x + w >= Width()) break;
    ++count;
    x += w + 3;
  }
  return count;
}

TLumPageScrollButton* TLumPage::ToolBarScrollButton(bool Right) {
  TLumPageScrollButton*& b = Right ? rightToolBarButton_ : leftToolBarButton_;
  if (!b) {
    b = new TLumPageScrollButton(this);
    b->SetParent(this);
    b->SetAlign(Right ? vcl::TAlign::alRight : vcl::TAlign::alLeft);
    b->SetWidth(12);
    b->SetCornerStyle(Right ? 3 : 1);
    b->SetArrowDirection(Right ? 2 : 0);
    b->OnClick = [this, Right](vcl::TObject*) { ScrollToolBars(Right ? 1 : -1); };
  }
  if (TRorIvezEviPager* pager = OwnerPager(); pager && pager->CurrentStyler()) b->Appearance()->Assign(pager->CurrentStyler()->CompactGlowButtonAppearance());
  return b;
}

void TLumPage::UpdateToolBarScroll() {
  if (Designing()) return;
  const std::vector<TLumCustomToolBar*> shown = ShownToolBars();
  const int n = static_cast<int>(shown.size());
  const bool allCollapsed = std::all_of(toolBars_.begin(), toolBars_.end(), [](const TLumCustomToolBar* t) {
    return !t->Visible() || t->IsCollapsed();
  });
  int positions = 0;
  if (allCollapsed && std::max(1, ToolBarsFitting(0, true)) < n) {
    int start = 0, sum = 0;
    for (int round = 0; round < n; ++round) {
      const int fit = std::max(1, ToolBarsFitting(start, true));
      sum += fit;
      if (sum >= n) break;
      start += fit;
      ++positions;
    }
  }
  toolBarScroller_.SetScrollMax(positions);
  toolBarScroller_.SetScrollPosition(
      std::clamp(toolBarScroller_.ScrollPosition(), toolBarScroller_.ScrollMin(), toolBarScroller_.ScrollMax()));
  for (const bool right : {false, true}) {
    const bool need = right ? toolBarScroller_.CanScrollForward() : toolBarScroller_.CanScrollBack();
    if (need) {
      TLumPageScrollButton* b = ToolBarScrollButton(right);
      b->SetVisible(true);
      b->BringToFront();
    } else if (TLumPageScrollButton* b = right ? rightToolBarButton_ : leftToolBarButton_) {
      b->SetVisible(false);
    }
  }
}

void TLumPage::MoveToolBars(int Dx) {
  for (TLumCustomToolBar* t : ShownToolBars()) t->SetLeft(t->Left() + Dx);
}

void TLumPage::ScrollToolBars(int Count) {
  const int from = toolBarScroller_.ScrollPosition();
  const int to = std::clamp(from + Count, toolBarScroller_.ScrollMin(), toolBarScroller_.ScrollMax());
  Count = to - from;
  toolBarScroller_.SetScrollPosition(to);
  int index = firstToolBar_;
  for (int k = 0; k < std::abs(Count); ++k) {
    if (Count > 0) {
      index += std::max(1, ToolBarsFitting(index, true));
    } else {
      if (index <= 0) break;
      index = std::max(0, index - std::max(1, ToolBarsFitting(index - 1, false)));
    }
  }
  const int n = static_cast<int>(ShownToolBars().size());
  if (n > 0) ScrollToolBarsTo(std::min(index, n - 1));
  if (leftToolBarButton_) leftToolBarButton_->Invalidate();
  if (rightToolBarButton_) rightToolBarButton_->Invalidate();
}

void TLumPage::ScrollToolBarsTo(int Index) {
  if (arranging_) return;
  const std::vector<TLumCustomToolBar*> shown = ShownToolBars();
  const int n = static_cast<int>(shown.size());
  if (n == 0) return;
  arranging_ = true;
  const int step = 5;
  if (Index > firstToolBar_) {
    Index = std::min(Index, n - 1);
    while (Index > 0 && ToolBarsFitting(Index - 1, true) > ToolBarsFitting(Index, true)) --Index;
    TLumCustomToolBar* target = shown[static_cast<size_t>(Index)];
    TLumCustomToolBar* last = shown.back();
    // Bounded by the distance to cover, so a layout that can never land
    // cannot hold the loop.
    for (int guard = Width() + last->Left() + last->Width(); guard > 0; guard -= step) {
      const int lastRight = last->Left() + last->Width();
      if (lastRight <= Width() - 3) break;
      if (target->Left() - step <= 3) {
        MoveToolBars(-(target->Left() - step - 3));
        break;
      }
      if (lastRight - step <= Width() - 3) {
        MoveToolBars(-(lastRight - (Width() - 3)));
        break;
      }
      MoveToolBars(-step);
    }
  } else {
    Index = std::max(0, Index);
    TLumCustomToolBar* target = shown[static_cast<size_t>(Index)];
    TLumCustomToolBar* first = shown.front();
    for (int guard = Width() - first->Left(); guard > 0; guard -= step) {
      if (first->Left() + step >= 0 || target->Left() + step >= 0) {
        MoveToolBars(3 - target->Left());
        break;
      }
      MoveToolBars(step);
    }
  }
  arranging_ = false;
  firstToolBar_ = Index;
  UpdateToolBarScroll();
}

void TLumPage::ResetToolBarScroll() {
  firstToolBar_ = 0;
  toolBarScroller_.SetScrollMin(0);
  toolBarScroller_.SetScrollMax(0);
  toolBarScroller_.SetScrollMin(0);
  toolBarScroller_.SetScrollPosition(0);
  UpdateToolBarScroll();
}

void TLumPage::HideToolBarPopups() {
  if (!Visible() || Designing() || Loading()) return;
  for (TLumCustomToolBar* t : toolBars_) t->HideCompactWindow();
}

void TLumPage::RefreshToolBars() {
  if (!Visible()) return;
  for (TLumCustomToolBar* t : toolBars_) t->Invalidate();
}

}  // namespace ribbon
