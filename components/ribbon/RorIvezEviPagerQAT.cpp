// The pager's side of the quick access toolbar: its place, the strip below
// the ribbon and the link to the child (see RorIvezEviQATLink.h).
#include <algorithm>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Messages.h"

namespace ribbon {

namespace {
// The caption buttons stand 2 apart, 16 wide, the close button 2 inside
// the page margin: the minimise button's left edge.
int CaptionButtonsLeftAt(int PagerWidth) { return PagerWidth - RibbonPageMargin() - 3 * (16 + 2); }
}  // namespace

void TRorIvezEviPager::QATControlChange(vcl::TControl* Control, bool Inserted) {
  if (Inserted) {
    if (auto* link = dynamic_cast<IQuickAccessToolBar*>(Control)) {
      qat_ = link;
      qatControl_ = Control;
      qatShown_ = Control->Visible();
    }
    return;
  }
  if (Control && Control == qatControl_) {
    qat_ = nullptr;
    qatControl_ = nullptr;
    qatShown_ = false;
  }
}

bool TRorIvezEviPager::QATBelow() const {
  return qat_ && qat_->BelowRibbon() && qatControl_->Visible();
}

int TRorIvezEviPager::QATBelowHeight() const { return QATBelow() ? caption_.Height() - 2 : 0; }

vcl::TRect TRorIvezEviPager::GetQATRect() const {
  const vcl::TRect none{-1, -1, -1, -1};
  if (!qat_) return none;
  const vcl::TRect client = ClientRect();
  if (qat_->BelowRibbon() && qatControl_->Visible())
    return vcl::TRect{client.Left + 2, client.Bottom - (caption_.Height() - 2), client.Right - 2, client.Bottom};
  if (!caption_.Visible()) return none;
  const vcl::TRect c = GetCaptionRect();
  int m = caption_.MinWidth();
  if (!captionButtons_.Empty()) m += Width() - CaptionButtonsLeftAt(Width()) + 2;
  const int w = std::min(Width(), m);
  const int x = controls::GetGlobalWin7ScenicRibbon() ? 5 : tabSettings_.StartMargin() - 6;
  vcl::TRect r{x, c.Bottom - (caption_.Height() - 2), Width() - w, c.Bottom};
  if (!ComponentState().Contains(vcl::csDesigning)) {
    // The tab groups from the second tab on end the toolbar's room.
    int unionLeft = -1;
    for (int g = 0; g < tabGroups_.Count(); ++g) {
      const TTabGroupItem* item = tabGroups_.Items(g);
      if (item->TabIndexStart() <= 1) continue;
      bool le = false, re = false;
      const vcl::TRect gr = GetTabGroupRect(g, le, re);
      if (gr.Left == -1) continue;
      unionLeft = unionLeft < 0 ? gr.Left : std::min(unionLeft, gr.Left);
    }
    if (unionLeft > 0 && unionLeft < r.Right) {
      r.Right = unionLeft;
      if (r.Width() < 60) r.Right = r.Left + 60;
    }
  }
  return r;
}

void TRorIvezEviPager::SetQATBelow(bool Value) {
  if (!qat_ || Value == QATBelow()) return;
  if (qatControl_->Visible()) {
    const int strip = caption_.Height() - 2;
    SetHeight(Height() + (Value ? strip : -strip));
  }
  qat_->SetBelowRibbon(Value);
  UpdatePages();
}

void TRorIvezEviPager::AdjustForQATVisibility() {
  if (!qat_) return;
  const bool shown = qatControl_->Visible();
  if (shown == qatShown_) return;
  qatShown_ = shown;
  if (!qat_->BelowRibbon()) return;
  const int strip = caption_.Height() - 2;
  SetHeight(Height() + (shown ? strip : -strip));
}

void TRorIvezEviPager::QATStylerChanged(int Code) {
  if (qat_) qat_->PagerStylerChanged(Code);
}

void TRorIvezEviPager::PlaceQAT() {
  if (qat_) qat_->PlaceInPager();
}

}  // namespace ribbon
