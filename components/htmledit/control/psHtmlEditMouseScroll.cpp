// The mouse auto-scroll manager and the editor's tick: the document moves
// by the manager's delta, kept between the top and the end; the synthetic
// mouse move that follows a scroll extends a selection being dragged.
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psMouseScrollManager.h"
#include "htmledit/view/psMessages.h"
#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"

namespace htmledit {

TpsMouseScrollManager::TpsMouseScrollManager(vcl::TWinControl* aEditor)
    : FEditor(aEditor), FTimer(new vcl::TTimer(nullptr)) {
  FTimer->SetEnabled(false);
  FTimer->SetInterval(50);
  FTimer->OnTimer = [this](vcl::TObject*) { Tick(); };
}

TpsMouseScrollManager::~TpsMouseScrollManager() { delete FTimer; }

void TpsMouseScrollManager::MouseDown(rtl::Integer aX, rtl::Integer aY) {
  FLastX = aX;
  FLastY = aY;
}

void TpsMouseScrollManager::MouseMove(rtl::Integer aShiftBits, rtl::Integer aX, rtl::Integer aY) {
  FLastX = aX;
  FLastY = aY;
  // The left button alone: no key, no other button.
  if (aShiftBits != htmlview::ssLeftBit) {
    SetScrolling(false, 0);
    return;
  }
  const rtl::Integer height = FEditor->Height();
  if (aY < 0) {
    SetScrolling(true, aY);
  } else if (aY >= height) {
    SetScrolling(true, aY - height + 1);
  } else {
    SetScrolling(false, 0);
  }
}

void TpsMouseScrollManager::MouseUp(rtl::Integer aX, rtl::Integer aY) {
  FLastX = aX;
  FLastY = aY;
  SetScrolling(false, 0);
}

void TpsMouseScrollManager::SetScrolling(bool aActive, rtl::Integer aDelta) {
  FScrollDelta = aDelta;
  if (aActive != FTimer->Enabled()) FTimer->SetEnabled(aActive);
}

bool TpsMouseScrollManager::IsScrolling() const { return FTimer->Enabled(); }

void TpsMouseScrollManager::Tick() {
  if (AutoScrollEnabled && OnScroll) OnScroll(FScrollDelta);
}

// --- The editor's side ---

void TpsHTMLEditBase::SetMouseAutoScroll(bool aEnabled) {
  FMouseAutoScroll = aEnabled;
  if (FMouseScrollManager) FMouseScrollManager->AutoScrollEnabled = aEnabled;
}

void TpsHTMLEditBase::AutoScrollTick(Integer aDelta) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FPaintFailed || !RootWindow()) return;
  const Integer position = ScrollPosition() + aDelta;
  if (position < 0) {
    ScrollToTop();
  } else if (position > GetDocumentHeight() - vcl::TControl::ClientHeight()) {
    ScrollToBottom();
  } else {
    ScrollTo(position);
  }
  ProcessPendingUpdates();
  // The pages scrolled in show at once, not at the next idle paint.
  Update();
}

}  // namespace htmledit
