// How a ribbon page paints its background (see RorIvezEviPager.h).
#include <tuple>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviFaces.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"

namespace ribbon {

namespace {

void PageLine(vcl::TCanvas* c, vcl::TColor color, int x1, int y1, int x2, int y2) {
  c->Pen()->SetColor(color);
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

}  // namespace

void TLumPage::Dispatch(vcl::TMessage& Message) {
  if (Message.Msg == vcl::WM_ERASEBKGND) {
    Message.Result = 1;  // the painting covers the page
    return;
  }
  if (Message.Msg == vcl::CM_CONTROLCHANGE) {
    vcl::TCustomControl::Dispatch(Message);
    auto* control = reinterpret_cast<vcl::TControl*>(Message.WParam);
    if (Message.LParam) {
      if (auto* bar = dynamic_cast<TRorIvezEvi*>(control)) AddToolBar(bar);
    } else {
      // A toolbar being freed is no longer one by type: it is found by
      // address.
      ForgetToolBar(control);
    }
    return;
  }
  vcl::TCustomControl::Dispatch(Message);
}

void TLumPage::Paint() {
  // A twin in the minimised ribbon's popup paints as the page it shows.
  TRorIvezEviPager* pager = OwnerPager();
  if (!pager || !pager->CurrentStyler()) return;
  TCustomRorIvezEviStyler* s = pager->CurrentStyler();
  TVistaPageBackground* a = s->PageAppearance();
  if (Color() != a->Color()) SetColor(a->Color());
  const int w = Width(), h = Height();
  vcl::TBitmap picture(w, h);
  vcl::TCanvas* c = picture.Canvas();
  const int index = twinOf_ ? twinOf_->PageIndex() : PageIndex();
  const int group = pager->TabGroupOfPage(index);
  const bool active = pager->GetActivePageIndex() == index;
  vcl::TColor pageColour = a->Color();
  if (active && group >= 0) {
    const TTabGroupItem* item = pager->TabGroups()->Items(group);
    TVistaBackground* g = item->DefaultAppearance() ? s->GroupAppearance()->PageAppearance()
                                                    : item->GroupAppearance()->PageAppearance();
    pageColour = g->Color();
    const bool scenic = controls::GetGlobalWin7ScenicRibbon();
    DrawVistaButtonText(c, vcl::TRect{0, 0, w, h}, g->Color(), g->ColorTo(), g->ColorMirror(), g->ColorMirrorTo(),
                        g->BorderColor(), g->Gradient(), g->GradientMirror(), "", Font(), Enabled(), false,
                        pager->AntiAlias(), s->RoundedLook() && !scenic);
    if (scenic) PageLine(c, g->BorderColor(), 0, 0, w, 0);
  } else {
    DrawVistaGradient(c, vcl::TRect{0, 0, w, h}, 22, a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(),
                      a->BorderColor(), RibbonCornerRadius());
    if (a->ShadowColor() != vcl::clNone) PageLine(c, a->ShadowColor(), 2, h - 1, w - 2, h - 1);
    if (!controls::GetGlobalWin7ScenicRibbon()) {
      PageLine(c, a->HighLightColor(), 1, 10, 1, h - 2);
      PageLine(c, a->HighLightColor(), w - 2, 10, w - 2, h - 2);
      PageLine(c, a->HighLightColor(), 3, h - 2, w - 2, h - 2);
    }
  }
  Canvas()->Draw(0, 0, &picture);
  if (!active || twinOf_) return;
  // The selected tab opens into the page.
  const vcl::TRect tab = pager->GetTabRect(index);
  if (tab.Left > 0 && tab.Right > 0 && pager->TabSettings()->Height() > 0) {
    const int shift = RibbonPageMargin() + pager->PageLeftMargin();
    PageLine(Canvas(), pageColour, tab.Left - shift, 0, tab.Right - shift, 0);
  }
  // Rounded corners: the pager's pixels just outside show through.
  if (s->RoundedLook() && !controls::GetGlobalWin7ScenicRibbon()) {
    vcl::TCanvas* pc = pager->Canvas();
    const int L = Left(), T = Top();
    vcl::TCanvas* c2 = Canvas();
    const vcl::TColor tl = pc->Pixels(L - 1, T - 1), bl = pc->Pixels(L - 1, T + h);
    const vcl::TColor tr = pc->Pixels(L + w, T - 1), br = pc->Pixels(L + w, T + h);
    for (auto [x, y, col] : {std::tuple{0, 0, tl}, {1, 0, tl}, {0, 1, tl}, {0, h - 1, bl}, {1, h - 1, bl},
                             {0, h - 2, bl}, {w - 1, 0, tr}, {w - 2, 0, tr}, {w - 1, 1, tr}, {w - 1, h - 1, br},
                             {w - 2, h - 1, br}, {w - 1, h - 2, br}})
      if (col != vcl::CLR_INVALID) c2->SetPixels(x, y, col);
  }
}

}  // namespace ribbon
