#include "htmledit/view/psHints.h"

#include "htmledit/view/psBlending.h"
#include "htmledit/view/psCanvas.h"
#include "rtl/CodePages.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"

namespace htmlview {

TpsStickyWindow::TpsStickyWindow(TpsWindow* aOwner, TColor aLabelColor, AnsiString aCaption)
    : TpsWindow(aOwner->GetRoot()), Caption(std::move(aCaption)), LabelColor(aLabelColor) {
  Owner = aOwner;
}

void TpsStickyWindow::Paint(TpsAbstractCanvas& c, bool aPaintChildren) {
  TpsWindow::Paint(c, aPaintChildren);
  vcl::TFont* font = c.GetFont();
  font->SetSize(8);
  font->SetName("Verdana");
  font->SetColor(vcl::clBlack);
  font->SetStyle({vcl::fsBold});
  const vcl::TSize caption = c.GetTextExtent(Caption);
  LabelRect = {1, 1, caption.cx + 2, caption.cy};
  const TpsRect r = GetAbsoluteRect();
  c.GetPen()->SetColor(BorderColor);
  c.DrawOutline(r);
  const TpsRect box{r.Left + LabelRect.Left, r.Top + LabelRect.Top, r.Left + LabelRect.Right,
                    r.Top + LabelRect.Bottom};
  if (std::unique_ptr<vcl::TBitmap> beneath = c.CopyToBitmap(box)) {
    if (std::unique_ptr<vcl::TBitmap> tinted = TintedCopy(beneath.get(), LabelColor, 60))
      c.Draw(box.Left, box.Top, tinted.get());
  }
  const vcl::TBrushStyle style = c.GetBrush()->Style();
  c.GetBrush()->SetStyle(vcl::bsClear);
  c.TextOutW(r.Left + 1, r.Top, rtl::Utf8ToWide(Caption));
  c.GetBrush()->SetStyle(style);
}

void TpsOverlappingWindows::Update(bool aExcludeOwn) {
  Clear();
  TpsWindowManager* manager = Node->Manager;
  if (!manager || !manager->Root()) return;
  const TpsRect mine = Node->GetAbsoluteRect();
  for (TpsWindow* f : manager->Root()->FloatingWindows()) {
    const TpsRect r = f->GetAbsoluteRect();
    if (r.Top > mine.Bottom || !htmldoc::RectsIntersect(r, mine)) continue;
    if (f->Owner && f->Owner != Node && TpsWindow::FirstInDocumentOrder(Node, f->Owner) == Node) continue;
    if (aExcludeOwn && f->Owner == Node) continue;
    FRects.Add({r.Left - mine.Left, r.Top - mine.Top, f->Width, f->Height});
  }
}

TpsMouseScrollManager::TpsMouseScrollManager(vcl::TControl* aEditor)
    : FEditor(aEditor), FScrollTimer(vcl::Create<vcl::TTimer>(nullptr)) {
  FScrollTimer->SetEnabled(false);
  FScrollTimer->SetInterval(50);
  FScrollTimer->OnTimer = [this](vcl::TObject*) {
    if (AutoScrollEnabled && OnScroll) OnScroll(this, FScrollDelta);
  };
}

TpsMouseScrollManager::~TpsMouseScrollManager() { vcl::Free(FScrollTimer); }

void TpsMouseScrollManager::MouseDown(Integer aX, Integer aY) {
  LastX = aX;
  LastY = aY;
}

void TpsMouseScrollManager::MouseMove(vcl::TShiftState aShift, Integer aX, Integer aY) {
  LastX = aX;
  LastY = aY;
  if (aShift != vcl::TShiftState{vcl::TShiftStateItem::ssLeft}) {
    SetScrolling(false, 0);
    return;
  }
  const Integer height = FEditor ? FEditor->Height() : 0;
  if (aY < 0) {
    SetScrolling(true, aY);
  } else if (aY >= height) {
    SetScrolling(true, aY - height + 1);
  } else {
    SetScrolling(false, 0);
  }
}

void TpsMouseScrollManager::MouseUp(Integer aX, Integer aY) {
  LastX = aX;
  LastY = aY;
  SetScrolling(false, 0);
}

bool TpsMouseScrollManager::IsScrolling() const { return FScrollTimer->Enabled(); }

void TpsMouseScrollManager::SetScrolling(bool aActive, Integer aDelta) {
  FScrollDelta = aDelta;
  if (aActive != FScrollTimer->Enabled()) FScrollTimer->SetEnabled(aActive);
}

}  // namespace htmlview
