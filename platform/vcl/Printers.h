#pragma once
// The printer: a document of pages drawn through a canvas in printer
// pixels. The target is the system's default printer (through Qt's print
// support), a PDF file of a given page size and resolution, or none: a
// 0 x 0 page at 0 pixels per inch on which no document can begin. The
// canvas draws with a painter on the paged device itself, so text stays
// text in a PDF.
#include <memory>

#include "rtl/Exceptions.h"
#include "vcl/Graphics.h"

namespace vcl {

using rtl::Exception;
RTL_DECLARE_EXCEPTION(EPrinter, Exception);

class TPrinter {
 public:
  // The system's default printer when there is one, else none.
  TPrinter();
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // --- Targets (not while printing: EPrinter "Printing in progress") ---
  // The system's default printer; none when the system has none.
  void SetDefaultPrinterTarget();
  // A PDF file of aWidthMm x aHeightMm at aDpi pixels per inch, no
  // margins: the page is the paper.
  void SetPdfTarget(const AnsiString& aFileName, double aWidthMm, double aHeightMm, Integer aDpi);
  void SetNoTarget();
  bool HasTarget() const;
  // The printer's name, the PDF file's name, or "".
  AnsiString TargetName() const;

  // --- The document ---
  // EPrinter "Printer selected is not valid" without a target, "Printing
  // in progress" when a document is open; a file that cannot be written
  // raises EPrinter too.
  void BeginDoc();
  // EPrinter "Printer is not currently printing" outside a document.
  void NewPage();
  void EndDoc();
  // Drops the document under way (a PDF file is not left behind).
  void Abort();
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  // 1 for the first page of a document.
  Integer PageNumber() const { return FPageNumber; }
  AnsiString Title;

  // Draws on the current page while printing; outside a document it
  // measures but raises on drawing, as any canvas without a surface.
  TCanvas* Canvas();
  // The page in printer pixels and the printer's resolution; 0 without a
  // target.
  Integer PageWidth() const { return FPageWidth; }
  Integer PageHeight() const { return FPageHeight; }
  Integer XPixelsPerInch() const { return FXPixelsPerInch; }
  Integer YPixelsPerInch() const { return FYPixelsPerInch; }

 private:
  struct TTarget;
  class TDevice;
  void CheckNotPrinting() const;
  void ReadMetrics();

  std::unique_ptr<TTarget> FTarget;
  std::unique_ptr<TDevice> FDevice;  // while printing
  std::unique_ptr<TCanvas> FCanvas;
  bool FPrinting = false;
  bool FAborted = false;
  Integer FPageNumber = 0;
  Integer FPageWidth = 0;
  Integer FPageHeight = 0;
  Integer FXPixelsPerInch = 0;
  Integer FYPixelsPerInch = 0;
};

// The process's printer, made on first use.
TPrinter* Printer();
// Replaces it (taken over; nullptr: a new one is made on next use) and
// answers the old one, which the caller then owns.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> aPrinter);

}  // namespace vcl
