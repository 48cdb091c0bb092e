// The component as a window of the class library: its border, the key it
// turns away, the menus and the downsize mark it is given, and the hint
// window the view shows its hints in.
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psVCLHintWindow.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/Pictures.h"

namespace htmledit {

// --- Border ---

void TpsHTMLEditBase::CreateParams(TCreateParams& aParams) {
  vcl::TScrollingWinControl::CreateParams(aParams);
  if (FBorderStyle != vcl::bsSingle) return;
  // New-style controls with the three-dimensional look get a sunken
  // client edge instead of the flat border.
  if (Ctl3D()) {
    aParams.Style &= ~vcl::WS_BORDER;
    aParams.ExStyle |= vcl::WS_EX_CLIENTEDGE;
  } else {
    aParams.Style |= vcl::WS_BORDER;
  }
}

void TpsHTMLEditBase::SetBorderStyle(vcl::TBorderStyle aValue) {
  if (aValue == FBorderStyle) return;
  FBorderStyle = aValue;
  RecreateWnd();
  UpdateNonClientArea();
  // The client area grew or shrank: the page and the scroll range follow.
  Resize();
}

// The border's width on each side: two pixels of client edge, one of
// plain border, none.
Integer TpsHTMLEditBase::BorderWidth() const {
  if (FBorderStyle != vcl::bsSingle) return 0;
  return Ctl3D() ? 2 : 1;
}

// --- Keys ---

void TpsHTMLEditBase::KeyPress(rtl::WideChar& aKey) {
  vcl::TScrollingWinControl::KeyPress(aKey);
  if (!WantReturns && aKey == u'\r') aKey = 0;
}

// --- Menus ---

namespace {

void ReplaceMenu(vcl::TComponent* aEditor, vcl::TPopupMenu*& aField, vcl::TPopupMenu* aMenu) {
  if (aField == aMenu) return;
  if (aField) aField->RemoveFreeNotification(aEditor);
  aField = aMenu;
  if (aMenu) aMenu->FreeNotification(aEditor);
}

}  // namespace

void TpsHTMLEditBase::SetLinkPopupMenu(vcl::TPopupMenu* aMenu) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  ReplaceMenu(this, FLinkPopupMenu, aMenu);
}

void TpsHTMLEditBase::SetTablePopupMenu(vcl::TPopupMenu* aMenu) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  ReplaceMenu(this, FTablePopupMenu, aMenu);
}

void TpsHTMLEditBase::SetImagePopupMenu(vcl::TPopupMenu* aMenu) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  ReplaceMenu(this, FImagePopupMenu, aMenu);
}

void TpsHTMLEditBase::Notification(vcl::TComponent* aComponent, vcl::TOperation aOperation) {
  vcl::TScrollingWinControl::Notification(aComponent, aOperation);
  if (aOperation != vcl::opRemove || !aComponent) return;
  if (aComponent == FLinkPopupMenu) FLinkPopupMenu = nullptr;
  if (aComponent == FTablePopupMenu) FTablePopupMenu = nullptr;
  if (aComponent == FImagePopupMenu) FImagePopupMenu = nullptr;
}

// --- The downsize mark ---

void TpsHTMLEditBase::SetImageDownsizeOverlay(const vcl::TPicture* aPicture) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!FImageDownsizeOverlay) FImageDownsizeOverlay = std::make_unique<vcl::TPicture>();
  FImageDownsizeOverlay->Assign(aPicture);
  Invalidate();
}

// --- Hints ---

std::unique_ptr<htmlview::TpsHintWindow> TpsHTMLEditBase::CreateHintWindow(const vcl::TPoint& aScreenPoint,
                                                                           htmlview::TpsHintTriggerArea* aArea,
                                                                           const AnsiString& aText) {
  return std::make_unique<TpsVCLHintWindow>(this, aArea, aText, aScreenPoint);
}

TpsVCLHintWindow::TpsVCLHintWindow(vcl::TComponent* aOwner, htmlview::TpsHintTriggerArea* aArea,
                                   const htmldoc::AnsiString& aHintText, const vcl::TPoint& aScreenPoint)
    : htmlview::TpsHintWindow(aArea) {
  RTL_ASSERT_MSG(aOwner && aArea, "Assertion failure");
  FWindow = new vcl::THintWindow(aOwner);
  FWindow->SetColor(aArea->GetHintColor());
  vcl::TRect rect = FWindow->CalcHintRect(aArea->GetHintMaxWidth(), aHintText);
  const Integer width = rect.Right - rect.Left;
  const Integer height = rect.Bottom - rect.Top;
  rect.Left = aScreenPoint.X;
  rect.Top = aScreenPoint.Y + 32;
  rect.Right = rect.Left + width;
  rect.Bottom = rect.Top + height;
  FWindow->ActivateHint(rect, aHintText);
}

TpsVCLHintWindow::~TpsVCLHintWindow() {
  FWindow->ReleaseHandle();
  vcl::Free(FWindow);
}

}  // namespace htmledit
