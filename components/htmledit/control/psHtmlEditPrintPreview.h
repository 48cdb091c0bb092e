#pragma once
// The print preview: a read-only editor that shows a copy of another
// editor's page as the printer would print it, laid out for the printer's
// page width and resolution, cut into pages, each page drawn as a zoomed
// picture on the workspace colour, the pages stacked with 10-pixel gaps.
// It takes no input: keys, clicks and images do nothing.
//
// Without a printer (0 pixels per inch or an empty page) it makes no
// preview surface and shows the workspace alone, with no pages.
#include <memory>

#include "htmledit/control/psHtmlEdit.h"

namespace htmlview {
class TpsPrintPreviewCanvas;
}

namespace htmledit {

class TpsPrintPreview : public TpsHTMLEditBase {
 public:
  explicit TpsPrintPreview(vcl::TComponent* aOwner);
  ~TpsPrintPreview() override;

  TpsHTMLEditBase* GetEditor() const { return FEditor; }
  // nullptr changes nothing; otherwise the editor's style sheet and its
  // whole page (custom tags kept) are copied in.
  void SetEditor(TpsHTMLEditBase* aEditor);
  double GetZoomFactor() const { return FZoomFactor; }
  void SetZoomFactor(double aZoomFactor);

  // The class library printer's horizontal resolution; 0 without one.
  static Integer PrinterPixelsPerInch();
  // The printer's page shown at the screen's resolution (zoom 1), and as
  // zoomed; 0 x 0 without a preview surface.
  vcl::TSize PreviewPageSize() const { return FPreviewPageSize; }
  vcl::TSize ZoomedPageSize() const;
  htmlview::TpsPrintPreviewCanvas* PreviewSurface() const { return FSurface.get(); }
  // The pages drawn by the last paint (those meeting the visible area).
  Integer RenderedPageCount() const { return FRenderedPages; }
  // The page count of the laid-out page; 0 without a preview surface.
  Integer PreviewPageCount();

  void PaintDocument() override;
  Integer GetDocumentHeight() override;
  void UpdateScrollRanges() override;

 protected:
  void DoCreate() override;
  void DoImageClicked(TpsImage* aImage, vcl::TMouseButton aButton, const vcl::TPoint& aPoint,
                      bool& ioSelect) override;
  // No input reaches the page: the class library's events only.
  void KeyDown(rtl::Word& aKey, vcl::TShiftState aShift) override;
  void MouseDown(vcl::TMouseButton aButton, vcl::TShiftState aShift, Integer aX, Integer aY) override;
  void MouseUp(vcl::TMouseButton aButton, vcl::TShiftState aShift, Integer aX, Integer aY) override;
  void MouseMove(vcl::TShiftState aShift, Integer aX, Integer aY) override;
  void Notification(vcl::TComponent* aComponent, vcl::TOperation aOperation) override;

 private:
  TpsHTMLEditBase* FEditor = nullptr;  // not owned
  double FZoomFactor = 1.0;
  Integer FPrinterPixelsPerInch = 0;
  vcl::TSize FPreviewPageSize{0, 0};
  std::unique_ptr<htmlview::TpsPrintPreviewCanvas> FSurface;
  Integer FRenderedPages = 0;
};

}  // namespace htmledit
