// The toolbar as a ribbon group: the size steps its page asks for, and
// the hand-over to the page when the group's size changes.
#include <algorithm>
#include <cstdlib>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviRecords.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "rtl/Exceptions.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {

using controls::TButtonSizeState;
using controls::TLumCustomGlowButton;

// A glow button the size steps may change: it sizes itself.
TLumCustomGlowButton* GroupSizedGlow(vcl::TControl* c) {
  auto* g = dynamic_cast<TLumCustomGlowButton*>(c);
  return g && g->AutoSize() ? g : nullptr;
}

int GroupWidthIn(TLumCustomGlowButton* g, TButtonSizeState State) {
  vcl::TSize size{0, 0};
  g->GetSizeForState(State, size);
  return size.cx;
}

}  // namespace

void TLumCustomToolBar::Resize() {
  vcl::TCustomControl::Resize();
  if (auto* host = dynamic_cast<IToolBarHost*>(Parent())) host->ToolBarResized(this);
}

void TLumCustomToolBar::Loaded() {
  vcl::TCustomControl::Loaded();
  groupLoaded_ = true;
  if (persistence_->Enabled() && !ComponentState().Contains(vcl::csDesigning)) {
    try {
      LoadFloatingState();
    } catch (const rtl::Exception&) {
      // An unreadable store leaves the toolbar where it was streamed.
    }
  }
}

void TLumCustomToolBar::PostCompactHide() {
  if (HandleAllocated()) vcl::PostMessage(Handle(), CompactWinHideMessage());
}

namespace {

bool GroupDropDownOpen(const vcl::TWinControl* Parent) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    vcl::TControl* c = Parent->Controls(i);
    if (const auto* g = dynamic_cast<const TLumCustomGlowButton*>(c); g && g->DroppedDown()) return true;
    if (const auto* w = dynamic_cast<const vcl::TWinControl*>(c); w && GroupDropDownOpen(w)) return true;
  }
  return false;
}

}  // namespace

bool TLumCustomToolBar::IsAnyDropDownOpen() const { return GroupDropDownOpen(this); }

int TLumCustomToolBar::GetCollapsedWidth() const { return ParentIsRibbon() ? 45 : Width(); }

std::vector<vcl::TControl*> TLumCustomToolBar::VisibleOrder() const {
  const bool designing = ComponentState().Contains(vcl::csDesigning);
  std::vector<vcl::TControl*> order;
  for (vcl::TControl* c : controls_)
    if (c->Visible() || designing) order.push_back(c);
  return order;
}

int TLumCustomToolBar::ReduceButtons(bool Apply, TButtonSizeState& NewState) {
  return StepButtons(Apply, false, NewState);
}

int TLumCustomToolBar::EnlargeButtons(bool Apply, TButtonSizeState& NewState) {
  return StepButtons(Apply, true, NewState);
}

void TLumCustomToolBar::ReduceButtonsFully() {
  TButtonSizeState state = controls::bsLarge;
  while (ReduceButtons(true, state) != 0) {
  }
}

void TLumCustomToolBar::EnlargeButtonsFully() {
  TButtonSizeState state = controls::bsGlyph;
  while (EnlargeButtons(true, state) != 0) {
  }
}

// Both directions share the search: a step needs a pair of neighbouring
// qualifying buttons, found scanning from the end, and takes up to three
// buttons backwards from there. Between large and label the three are
// consecutive; between label and glyph they are one column (one Left).
int TLumCustomToolBar::StepButtons(bool Apply, bool Grow, TButtonSizeState& NewState) {
  if (!autoPositionControls_ || !autoSize_ || !ParentIsRibbon() || collapsed_) return 0;
  const std::vector<vcl::TControl*> order = VisibleOrder();
  const int n = static_cast<int>(order.size());
  // What qualifies for the step between the large and the label state
  // (First) or between the label and the glyph state.
  auto qualifies = [&](int i, bool largeStep) -> TLumCustomGlowButton* {
    TLumCustomGlowButton* g = GroupSizedGlow(order[static_cast<size_t>(i)]);
    if (!g) return nullptr;
    const TButtonSizeState s = g->ButtonSizeState();
    if (!Grow) {
      if (largeStep) return s == controls::bsLarge && g->MinButtonSizeState() < controls::bsLarge ? g : nullptr;
      return s == controls::bsLabel && g->MinButtonSizeState() < controls::bsLabel ? g : nullptr;
    }
    if (largeStep) return s == controls::bsLabel && g->MaxButtonSizeState() > controls::bsLabel ? g : nullptr;
    return s == controls::bsGlyph && g->MaxButtonSizeState() > controls::bsGlyph ? g : nullptr;
  };
  // Shrinking tries the large step first, growing the glyph step first.
  const bool order2[2] = {!Grow, Grow};
  for (const bool largeStep : order2) {
    for (int i = n - 1; i >= 1; --i) {
      if (!qualifies(i, largeStep) || !qualifies(i - 1, largeStep)) continue;
      std::vector<TLumCustomGlowButton*> group;
      const int column = order[static_cast<size_t>(i)]->Left();
      for (int k = i; k >= 0 && group.size() < 3; --k) {
        TLumCustomGlowButton* g = qualifies(k, largeStep);
        if (largeStep) {
          if (!g) break;
        } else if (!g || order[static_cast<size_t>(k)]->Left() != column) {
          break;
        }
        group.push_back(g);
      }
      TButtonSizeState target;
      if (Grow)
        target = largeStep ? controls::bsLarge : controls::bsLabel;
      else
        target = largeStep ? controls::bsLabel : controls::bsGlyph;
      int sumOld = 0, maxOld = 0, sumNew = 0, maxNew = 0;
      for (TLumCustomGlowButton* g : group) {
        const int w = g->Width(), wn = GroupWidthIn(g, target);
        sumOld += w;
        maxOld = std::max(maxOld, w);
        sumNew += wn;
        maxNew = std::max(maxNew, wn);
      }
      int amount;
      if (!Grow)
        amount = largeStep ? sumOld - maxNew : maxOld - maxNew;
      else
        amount = largeStep ? sumNew - maxOld : maxNew - maxOld;
      NewState = target;
      if (Apply) {
        layoutLock_ = true;
        for (TLumCustomGlowButton* g : group) {
          g->SetButtonSizeState(target);
          vcl::TSize size{0, 0};
          g->GetSizeForState(target, size);
          g->SetBounds(g->Left(), g->Top(), size.cx, size.cy);
        }
        layoutLock_ = false;
        PositionControls(true);
      }
      return std::abs(amount);
    }
  }
  return 0;
}

}  // namespace ribbon
