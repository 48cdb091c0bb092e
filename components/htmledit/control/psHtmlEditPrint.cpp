// Printing: the page is laid out again for the printer (its page width,
// its resolution for fonts and pictures) on the printer's surface, painted
// once per page with the surface's origin moved down one page height each
// time, and then laid out again for the screen. The screen's surface, the
// document width and the print scale are put back whatever happens.
#include <cmath>

#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psWindows.h"
#include "vcl/Forms.h"
#include "vcl/Printers.h"

namespace htmledit {

namespace {

constexpr Integer kUnboundedSize = 2147483647;

// The editor's screen state while it prints, put back on leaving.
class TpsPrintScope {
 public:
  TpsPrintScope(bool& aPrinting, htmlview::TpsAbstractCanvas*& aSurface, Integer& aDocumentWidth,
                double& aPrintScale, htmlview::TpsSmartTags& aSmartTags)
      : FPrinting(aPrinting),
        FSurface(aSurface),
        FDocumentWidth(aDocumentWidth),
        FPrintScale(aPrintScale),
        FSmartTags(aSmartTags),
        FOldSurface(aSurface),
        FOldDocumentWidth(aDocumentWidth),
        FOldPrintScale(aPrintScale),
        FSmartTagsWereOn(aSmartTags.Enabled) {
    FPrinting = true;
    // The marks belong to the screen; the threads would walk the printed
    // tree otherwise.
    FSmartTags.Enabled = false;
  }
  ~TpsPrintScope() {
    FPrintScale = FOldPrintScale;
    FSurface = FOldSurface;
    FDocumentWidth = FOldDocumentWidth;
    if (FSmartTagsWereOn) FSmartTags.Enabled = true;
    FPrinting = false;
  }
  TpsPrintScope(const TpsPrintScope&) = delete;
  TpsPrintScope& operator=(const TpsPrintScope&) = delete;

 private:
  bool& FPrinting;
  htmlview::TpsAbstractCanvas*& FSurface;
  Integer& FDocumentWidth;
  double& FPrintScale;
  htmlview::TpsSmartTags& FSmartTags;
  htmlview::TpsAbstractCanvas* FOldSurface;
  Integer FOldDocumentWidth;
  double FOldPrintScale;
  bool FSmartTagsWereOn;
};

}  // namespace

void TpsHTMLEditBase::Print(const TpsRect& aMargins) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  RTL_ASSERT_MSG(RootWindow(), "Assertion failure");
  vcl::TPrinter* printer = vcl::Printer();
  // Two copies of the page: one the printed tree takes, one the screen's
  // tree is rebuilt from.
  std::unique_ptr<TpsDataChunk> printChunk = RootWindow()->GetChunk(true);
  std::unique_ptr<TpsDataChunk> screenChunk = RootWindow()->GetChunk(true);
  htmlview::TpsPrintCanvas surface(printer->Canvas());
  surface.SetOrigin(0, 0);
  surface.SetSize(kUnboundedSize, kUnboundedSize);
  // Without a printer this raises before anything of the screen changed.
  printer->BeginDoc();
  std::exception_ptr failure;
  {
    TpsPrintScope scope(FPrinting, FPrintSurface, FDocumentWidth, FPrintScale, SmartTags);
    try {
      FPrintSurface = &surface;
      FPrintMargins = aMargins;
      FDocumentWidth = printer->PageWidth() - aMargins.Left - aMargins.Right;
      FPageSize = {printer->PageWidth(), printer->PageHeight()};
      surface.SetSize(FPageSize.cx, FPageSize.cy);
      FPrintScale = static_cast<double>(printer->XPixelsPerInch()) / vcl::Screen->PixelsPerInch();
      // Point sizes become printer pixels.
      surface.GetFont()->SetPixelsPerInch(printer->YPixelsPerInch());
      RebuildViewTree();
      RootWindow()->LayoutChunk(*printChunk);
      const Integer pages = GetPageCount();
      for (Integer i = 0; i < pages; ++i) {
        if (i > 0) printer->NewPage();
        surface.SetOrigin(0, i * FPageSize.cy);
        RootWindow()->Paint(surface, true);
      }
    } catch (...) {
      failure = std::current_exception();
    }
  }
  FWindowManager->ClearQueue();
  // The document ends also after a failure, with the pages printed so far.
  try {
    printer->EndDoc();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  Relayout(true, false, std::move(screenChunk));
  Invalidate();
  if (failure) std::rethrow_exception(failure);
}

Integer TpsHTMLEditBase::GetPageCount() {
  RTL_ASSERT_MSG(FPrinting, "Assertion failure");
  RTL_ASSERT_MSG(RootWindow(), "Assertion failure");
  RTL_ASSERT_MSG(FPageSize.cx > 0 && FPageSize.cy > 0, "Assertion failure");
  return static_cast<Integer>(std::ceil(static_cast<double>(RootWindow()->Height) / FPageSize.cy));
}

}  // namespace htmledit
