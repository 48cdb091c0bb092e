// The editor and the window system: painting through the window manager
// onto the screen surface, the painting-failed state, the scroll ranges
// and the surface's scroll origin kept in step with the vertical bar,
// resizing, focus, and the timer that repaints what the smart-tag threads
// changed.
#include <cmath>

#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psCaret.h"
#include "htmledit/view/psWindows.h"
#include "rtl/CodePages.h"
#include "vcl/Dialogs.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace htmledit {

using htmlview::TpsMessage;

namespace {

// Posted by a failed paint: the message box shows once the paint returned.
constexpr vcl::Cardinal kShowPaintErrorMessage = vcl::WM_USER + 0x4E1;

// To the nearest integer, ties to even.
Integer RoundEven(double aValue) { return static_cast<Integer>(std::nearbyint(aValue)); }

}  // namespace

// --- Painting ---

void TpsHTMLEditBase::Dispatch(vcl::TMessage& aMessage) {
  switch (aMessage.Msg) {
    case vcl::WM_PAINT: {
      htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
      if (FInWMPaint) return;
      FInWMPaint = true;
      try {
        vcl::TScrollingWinControl::Dispatch(aMessage);
      } catch (...) {
        FInWMPaint = false;
        throw;
      }
      FInWMPaint = false;
      return;
    }
    case vcl::WM_HSCROLL:
    case vcl::WM_VSCROLL: {
      vcl::TScrollingWinControl::Dispatch(aMessage);
      htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
      SyncScrollPosition();
      return;
    }
    case vcl::WM_NCCALCSIZE: {
      vcl::TScrollingWinControl::Dispatch(aMessage);
      if (const Integer border = BorderWidth()) {
        auto* r = reinterpret_cast<vcl::TRect*>(aMessage.LParam);
        *r = {r->Left + border, r->Top + border, r->Right - border, r->Bottom - border};
      }
      return;
    }
    case vcl::WM_CHAR:
      WMChar(aMessage);
      return;
    case vcl::WM_GETDLGCODE:
      aMessage.Result = WantReturns ? 0x87 : 0x83;
      return;
    case vcl::WM_SETFOCUS: {
      vcl::TScrollingWinControl::Dispatch(aMessage);
      htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
      if (FCaret && FEditMode != htmlview::emImage && !FPaintFailed) FCaret->SetVisible(true);
      return;
    }
    case vcl::WM_KILLFOCUS: {
      if (FDestroying) return;
      vcl::TScrollingWinControl::Dispatch(aMessage);
      htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
      if (FCaret) FCaret->SetVisible(false);
      return;
    }
    case kShowPaintErrorMessage: {
      const AnsiString text = "Exception: " + rtl::WideToUtf8(FPaintErrorText);
      if (OnShowPaintError) {
        OnShowPaintError(text);
      } else {
        vcl::ShowMessage(text);
      }
      return;
    }
    default:
      vcl::TScrollingWinControl::Dispatch(aMessage);
  }
}

void TpsHTMLEditBase::PaintWindow() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  FInPaint = true;
  FCanvas->BeginPaint(vcl::TCustomControl::Canvas());
  struct EndPaint {
    TpsHTMLEditBase& E;
    ~EndPaint() {
      E.FCanvas->EndPaint();
      E.FInPaint = false;
    }
  } endPaint{*this};
  if (FPaintFailed) {
    PaintErrorScreen();
    return;
  }
  try {
    PaintDocument();
  } catch (const rtl::Exception& e) {
    FPaintErrorText = rtl::Utf8ToWide(AnsiString(e.ClassName()) + ": " + e.Message());
    VertScrollBar().SetVisible(false);
    FWindowManager->DisablePainting();
    FPaintFailed = true;
    if (FCaret) FCaret->SetVisible(false);
    // Whatever the failed paint left is covered by the error screen.
    PaintErrorScreen();
    vcl::PostMessage(Handle(), kShowPaintErrorMessage);
  }
}

void TpsHTMLEditBase::PaintDocument() {
  if (ComponentState().Contains(vcl::csDesigning) && !RootWindow()) ClearDocument();
  htmlview::TpsBodyNode* root = RootWindow();
  if (!root) {
    FillWorkspace();
    return;
  }
  if (!FMemoStyle) {
    PaintWorkspace();
    if (FShowDocumentFrame) FCanvas->DrawDocumentFrame(root->GetAbsoluteRect());
  }
  FWindowManager->PaintAll();
}

void TpsHTMLEditBase::PaintWorkspace() {
  htmlview::TpsBodyNode* root = RootWindow();
  if (!root) return;
  const TpsRect r = root->GetAbsoluteRect();
  const TpsRect v = GetViewRect();
  FCanvas->GetBrush()->SetColor(FAppWorkspaceColor);
  FCanvas->GetBrush()->SetStyle(vcl::bsSolid);
  FCanvas->FillBounds(v.Left, v.Top, r.Left - 1, v.Bottom);
  FCanvas->FillBounds(r.Right + 1, v.Top, v.Right, v.Bottom);
  if (v.Top < r.Top) FCanvas->FillBounds(r.Left, v.Top, r.Right, r.Top - 1);
  if (r.Bottom < v.Bottom) FCanvas->FillBounds(r.Left, r.Bottom + 1, r.Right, v.Bottom);
}

void TpsHTMLEditBase::FillWorkspace() {
  const TpsRect v = GetViewRect();
  FCanvas->GetBrush()->SetColor(FAppWorkspaceColor);
  FCanvas->GetBrush()->SetStyle(vcl::bsSolid);
  FCanvas->FillBounds(v.Left, v.Top, v.Right, v.Bottom);
}

void TpsHTMLEditBase::PaintErrorScreen() {
  FillWorkspace();
  vcl::TCanvas* canvas = vcl::TCustomControl::Canvas();
  const AnsiString text = "An exception occurred during painting: " + rtl::WideToUtf8(FPaintErrorText);
  canvas->Font()->SetColor(vcl::clBlack);
  canvas->Font()->SetName("Verdana");
  canvas->Font()->SetSize(10);
  canvas->Font()->SetStyle({});
  canvas->Brush()->SetStyle(vcl::bsClear);
  const Integer x = (Width() - canvas->TextWidth(text)) / 2;
  const Integer y = (Height() - canvas->TextHeight(text)) / 2;
  canvas->TextOut(x, y, text);
}

void TpsHTMLEditBase::TimerTick() {
  if (!FRepaintEvent || !FRepaintEvent->IsSet()) return;
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  FRepaintEvent->ResetEvent();
  FWindowManager->PaintInvalidatedWindows();
}

// --- Heights and scroll ranges ---

Integer TpsHTMLEditBase::GetMinDocumentHeight() {
  const Integer height = vcl::TControl::ClientHeight();
  return FMemoStyle ? height : RoundEven(height * 0.9);
}

Integer TpsHTMLEditBase::GetDocumentHeight() {
  htmlview::TpsBodyNode* root = RootWindow();
  RTL_ASSERT_MSG(root, "Assertion failure");
  return FMemoStyle ? root->Height : root->Height + 2 * root->Top;
}

void TpsHTMLEditBase::UpdateScrollRanges() {
  if (!RootWindow()) return;
  SetScrollRanges(-1, GetDocumentHeight());
}

void TpsHTMLEditBase::SetScrollRanges(Integer aHorizontal, Integer aVertical) {
  struct Setting {
    bool& Flag;
    explicit Setting(bool& aFlag) : Flag(aFlag) { Flag = true; }
    ~Setting() { Flag = false; }
  } setting(FSettingScrollRanges);
  const Integer oldHorizontal = HorzScrollBar().Position();
  const Integer oldVertical = VertScrollBar().Position();
  // The editor keeps no horizontal bar of its own; a descendant that sets
  // a horizontal range gets the control's.
  if (aHorizontal != -1) {
    if (aHorizontal > vcl::TControl::ClientWidth()) {
      HorzScrollBar().SetRange(aHorizontal);
      HorzScrollBar().SetVisible(true);
    } else {
      HorzScrollBar().SetRange(vcl::TControl::ClientWidth() + 1);
    }
  }
  if (aVertical != -1) {
    if (!ScrollBars.VertVisible) {
      FVertBar->SetRange(aVertical);
    } else if (aVertical > vcl::TControl::ClientHeight()) {
      FVertBar->SetRange(aVertical);
      FVertBar->SetEnabled(true);
    } else {
      FVertBar->SetRange(vcl::TControl::ClientHeight() + 1);
      FVertBar->SetEnabled(false);
    }
  }
  if (HorzScrollBar().Position() != oldHorizontal || VertScrollBar().Position() != oldVertical) SyncScrollPosition();
}

Integer TpsHTMLEditBase::ScrollPosition() { return VertScrollBar().Position(); }

void TpsHTMLEditBase::SyncScrollPosition() {
  FCanvas->SetOrigin(HorzScrollBar().Position(), VertScrollBar().Position());
  if (!ComponentState().Contains(vcl::csDesigning) && FCaret) FCaret->UpdatePosition();
  if (RootWindow()) {
    // Hover effects follow the content that moved under the mouse.
    TpsMessage move(htmlview::mrPositional, htmlview::psmMouseMove, nullptr);
    move.AutoFree = false;
    move.Result = true;
    move.Shift = FLastShift;
    move.SetPos(ClientToDocument({FLastMousePoint.X, FLastMousePoint.Y}));
    FWindowManager->DispatchMessage(move);
  }
  UpdateHoverCursor(FLastMousePoint);
}

void TpsHTMLEditBase::UpdateHoverCursor(const vcl::TPoint& aClientPoint) {
  if (!RootWindow()) return;
  Integer area = 0;
  htmlview::TpsWindow* window = FWindowManager->WindowAtPoint(ClientToDocument({aClientPoint.X, aClientPoint.Y}), area);
  vcl::TCursor cursor = vcl::crArrow;
  if (auto* node = dynamic_cast<htmlview::TpsDocumentNode*>(window)) cursor = node->MouseCursor;
  else if (window) cursor = vcl::crDefault;
  if (cursor == -1) return;
  if (cursor == vcl::crDefault && dynamic_cast<htmlview::TpsDocumentNode*>(window)) cursor = FSavedCursor;
  vcl::TControl::SetCursor(cursor);
}

// --- Scrolling ---

void TpsHTMLEditBase::ScrollTo(Integer aPosition) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  FWindowManager->BeginDraw();
  struct EndDraw {
    htmlview::TpsWindowManager& M;
    ~EndDraw() { M.EndDraw(); }
  } endDraw{*FWindowManager};
  VertScrollBar().SetPosition(aPosition);
  SyncScrollPosition();
  Invalidate();
}

void TpsHTMLEditBase::ScrollToTop() { ScrollTo(0); }

// To the end of the document (the bar keeps the position within its range).
void TpsHTMLEditBase::ScrollToBottom() {
  if (!RootWindow()) return;
  ScrollTo(GetDocumentHeight() - vcl::TControl::ClientHeight());
}

bool TpsHTMLEditBase::ScrollPageUp() {
  const Integer position = VertScrollBar().Position();
  if (position <= 0) return false;
  ScrollTo(position - RoundEven(Height() * 0.9));
  return true;
}

bool TpsHTMLEditBase::ScrollPageDown() {
  const Integer position = VertScrollBar().Position();
  if (position >= VertScrollBar().Range() - Height()) return false;
  ScrollTo(position + RoundEven(Height() * 0.9));
  return true;
}

void TpsHTMLEditBase::ScrollNodeIntoView(htmlview::TpsWindow* aNode) {
  if (!aNode) return;
  const TpsRect view = GetViewRect();
  const TpsRect node = aNode->GetAbsoluteRect();
  if (view.Bottom < node.Bottom) {
    ScrollTo(VertScrollBar().Position() + node.Bottom - view.Bottom);
  } else if (node.Top < view.Top) {
    ScrollTo(VertScrollBar().Position() - (view.Top - node.Top));
  }
}

void TpsHTMLEditBase::ScrollNodeToCentre(htmlview::TpsWindow* aNode) {
  if (!aNode) return;
  const Integer middle = aNode->GetAbsoluteTop() + aNode->Height / 2;
  const Integer viewMiddle = VertScrollBar().Position() + Height() / 2;
  if (middle != viewMiddle) ScrollTo(middle - Height() / 2);
}

// --- Geometry ---

TpsPoint TpsHTMLEditBase::ClientToDocument(const TpsPoint& aPoint) {
  return {aPoint.X + HorzScrollBar().Position(), aPoint.Y + VertScrollBar().Position()};
}

TpsPoint TpsHTMLEditBase::DocumentToClient(const TpsPoint& aPoint) {
  return {aPoint.X - HorzScrollBar().Position(), aPoint.Y - VertScrollBar().Position()};
}

TpsRect TpsHTMLEditBase::GetViewRect() {
  const Integer left = HorzScrollBar().Position();
  const Integer top = VertScrollBar().Position();
  return {left, top, left + vcl::TControl::ClientWidth() - 1, top + vcl::TControl::ClientHeight() - 1};
}

// --- Resize and focus ---

void TpsHTMLEditBase::Resize() {
  vcl::TScrollingWinControl::Resize();
  if (!FCanvas) return;
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FPaintFailed) {
    Invalidate();
    return;
  }
  FCanvas->SetSize(vcl::TControl::ClientWidth(), vcl::TControl::ClientHeight());
  if (!FLoadingDocument && !FSettingScrollRanges && RootWindow()) {
    if (FMemoStyle || RootWindow()->Height < GetMinDocumentHeight()) {
      Relayout(true, false);
    } else {
      if (Height() >= GetDocumentHeight()) ScrollTo(0);
      if (FCentreOnResize) RootWindow()->CenterHorizontally(vcl::TControl::ClientWidth());
      UpdateScrollRanges();
      Invalidate();
    }
  }
  SyncScrollPosition();
}

void TpsHTMLEditBase::DoEnter() {
  vcl::TScrollingWinControl::DoEnter();
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!FIsLoaded) Loaded();
  if (FCaret && FEditMode != htmlview::emImage && !FPaintFailed) FCaret->SetVisible(true);
}

void TpsHTMLEditBase::DoExit() {
  vcl::TScrollingWinControl::DoExit();
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FCaret) FCaret->SetVisible(false);
}

}  // namespace htmledit
