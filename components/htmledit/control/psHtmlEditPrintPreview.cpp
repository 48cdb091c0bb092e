// The print preview: the page laid out as for the printer (the view reads
// the editor's printing state, page and margins), painted page by page
// into the preview surface's zoomed picture and drawn on the screen.
#include "htmledit/control/psHtmlEditPrintPreview.h"

#include <cmath>

#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psWindows.h"
#include "vcl/Forms.h"
#include "vcl/Metafile.h"
#include "vcl/Printers.h"

namespace htmledit {

namespace {

constexpr Integer kPageGap = 10;

Integer RoundToEven(double aValue) { return static_cast<Integer>(std::nearbyint(aValue)); }

}  // namespace

TpsPrintPreview::TpsPrintPreview(vcl::TComponent* aOwner) : TpsHTMLEditBase(aOwner) {
  HorzScrollBar().SetTracking(true);
  SetReadOnly(true);
  SetCursor(vcl::crArrow);
  SetMemoStyle(false);
  FPrinterPixelsPerInch = PrinterPixelsPerInch();
  FPrintScale = static_cast<double>(FPrinterPixelsPerInch) / vcl::Screen->PixelsPerInch();
  FZoomFactor = 1.0;
  FWindowManager->MouseRoutingEnabled = false;
  SetMouseAutoScroll(false);
  FShowDownsizeMarks = false;
  FCentreOnResize = false;
  // Text is measured in printer pixels, as the printer will lay it out.
  if (FPrinterPixelsPerInch > 0) FCanvas->GetFont()->SetPixelsPerInch(FPrinterPixelsPerInch);
  SmartTags.Enabled = false;
}

TpsPrintPreview::~TpsPrintPreview() { SetEditor(nullptr); }

Integer TpsPrintPreview::PrinterPixelsPerInch() { return vcl::Printer()->XPixelsPerInch(); }

void TpsPrintPreview::DoCreate() {
  TpsHTMLEditBase::DoCreate();
  FPrinting = true;
  FPrintMargins = {100, 100, 100, 100};
  vcl::TPrinter* printer = vcl::Printer();
  FPageSize = {printer->PageWidth(), printer->PageHeight()};
  FSurface.reset();
  FPreviewPageSize = {0, 0};
  // Without a printer there is no page to scale: the workspace alone.
  if (FPrintScale > 0 && FPageSize.cx > 0 && FPageSize.cy > 0) {
    FPreviewPageSize = {RoundToEven(FPageSize.cx / FPrintScale), RoundToEven(FPageSize.cy / FPrintScale)};
    FSurface = std::make_unique<htmlview::TpsPrintPreviewCanvas>(FPageSize, FPreviewPageSize, FPrinterPixelsPerInch,
                                                                 vcl::Screen->PixelsPerInch(), FZoomFactor);
  }
  // The page loaded before the printing state came is laid out again.
  if (RootWindow()) Relayout(true, false);
  UpdateScrollRanges();
}

void TpsPrintPreview::SetEditor(TpsHTMLEditBase* aEditor) {
  if (!aEditor) {
    if (FEditor) FEditor->RemoveFreeNotification(this);
    FEditor = nullptr;
    return;
  }
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FEditor != aEditor) {
    if (FEditor) FEditor->RemoveFreeNotification(this);
    FEditor = aEditor;
    FEditor->FreeNotification(this);
  }
  LoadStyleSheetFromString(aEditor->StyleSheet()->GetAsString(), true);
  LoadFromString(aEditor->SaveToString(true, true), true, false);
  UpdateScrollRanges();
  Invalidate();
}

void TpsPrintPreview::Notification(vcl::TComponent* aComponent, vcl::TOperation aOperation) {
  TpsHTMLEditBase::Notification(aComponent, aOperation);
  if (aOperation == vcl::opRemove && aComponent && aComponent == FEditor) FEditor = nullptr;
}

void TpsPrintPreview::SetZoomFactor(double aZoomFactor) {
  FZoomFactor = aZoomFactor;
  if (!FSurface) return;
  FSurface->SetZoomFactor(aZoomFactor);
  Invalidate();
  UpdateScrollRanges();
}

vcl::TSize TpsPrintPreview::ZoomedPageSize() const {
  return FSurface ? FSurface->GetZoomedPageSize() : vcl::TSize{0, 0};
}

Integer TpsPrintPreview::PreviewPageCount() {
  if (!FSurface || !RootWindow()) return 0;
  return GetPageCount();
}

void TpsPrintPreview::PaintDocument() {
  FRenderedPages = 0;
  const TpsRect view = GetViewRect();
  FillWorkspace();
  htmlview::TpsBodyNode* root = RootWindow();
  if (!root || !FSurface) return;
  const vcl::TSize zoomed = FSurface->GetZoomedPageSize();
  const Integer pages = GetPageCount();
  for (Integer i = 0; i < pages; ++i) {
    const Integer top = i * zoomed.cy + (i + 1) * kPageGap;
    // Only the pages meeting the visible area are drawn.
    if (top > view.Bottom || top + zoomed.cy < view.Top) continue;
    FSurface->BeginPage();
    try {
      FSurface->SetOrigin(0, i * FPageSize.cy);
      FSurface->SetSize(FPageSize.cx, FPageSize.cy);
      root->Paint(*FSurface, true);
    } catch (...) {
      FSurface->EndPage();
      throw;
    }
    FSurface->EndPage();
    vcl::TMetafile* picture = FSurface->Metafile();
    picture->SetWidth(zoomed.cx);
    picture->SetHeight(zoomed.cy);
    FCanvas->Draw(kPageGap, top, picture);
    ++FRenderedPages;
  }
}

Integer TpsPrintPreview::GetDocumentHeight() {
  if (!FSurface || !RootWindow()) return TpsHTMLEditBase::GetDocumentHeight();
  return (FSurface->GetZoomedPageSize().cy + kPageGap) * GetPageCount() + kPageGap;
}

void TpsPrintPreview::UpdateScrollRanges() {
  TpsHTMLEditBase::UpdateScrollRanges();
  if (FSurface) SetScrollRanges(FSurface->GetZoomedPageSize().cx + 2 * kPageGap, -1);
}

void TpsPrintPreview::DoImageClicked(TpsImage*, vcl::TMouseButton, const vcl::TPoint&, bool& ioSelect) {
  ioSelect = false;
}

void TpsPrintPreview::KeyDown(rtl::Word& aKey, vcl::TShiftState aShift) {
  vcl::TScrollingWinControl::KeyDown(aKey, aShift);
}

void TpsPrintPreview::MouseDown(vcl::TMouseButton aButton, vcl::TShiftState aShift, Integer aX, Integer aY) {
  vcl::TScrollingWinControl::MouseDown(aButton, aShift, aX, aY);
}

void TpsPrintPreview::MouseUp(vcl::TMouseButton aButton, vcl::TShiftState aShift, Integer aX, Integer aY) {
  vcl::TScrollingWinControl::MouseUp(aButton, aShift, aX, aY);
}

void TpsPrintPreview::MouseMove(vcl::TShiftState aShift, Integer aX, Integer aY) {
  vcl::TScrollingWinControl::MouseMove(aShift, aX, aY);
}

}  // namespace htmledit
