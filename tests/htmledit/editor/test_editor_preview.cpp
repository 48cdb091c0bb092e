// The print preview offscreen: an editor's page previewed for the class
// library's printer aimed at A4 at 300 pixels per inch, its pages found in
// grabs at the places and zooms they should stand, the scroll ranges, the
// pages drawn only when visible, and the preview without a printer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <string>

#include "EditorFixture.h"
#include "htmledit/control/psHtmlEditPrintPreview.h"
#include "vcl/Printers.h"

using namespace htmledittest;
using htmledit::TpsPrintPreview;

namespace {

std::string PreviewLines(int aCount) {
  std::string html;
  char line[96];
  for (int i = 1; i <= aCount; ++i) {
    std::snprintf(line, sizeof line, "<p>Line %03d alpha beta gamma delta</p>", i);
    html += line;
  }
  return html;
}

// An editor with a page of 120 lines and a preview of it, side by side on
// one form, the printer aimed at an A4 PDF at 300 pixels per inch.
struct PreviewScope {
  explicit PreviewScope(bool aPrinter = true) {
    if (aPrinter) {
      vcl::Printer()->SetPdfTarget(QDir(Dir.path()).filePath("p.pdf").toStdString(), 210, 297, 300);
    } else {
      vcl::Printer()->SetNoTarget();
    }
    f.Editor->SmartTags.Enabled = false;
    f.Editor->LoadFromString(PreviewLines(120), true, false);
    Preview = new TpsPrintPreview(f.Form);
    Preview->SetParent(f.Form);
    Preview->SetBorderStyle(vcl::bsNone);
    Preview->SetBounds(0, 0, 400, 300);
    Preview->Loaded();
    Preview->SetEditor(f.Editor);
    f.Editor->SetVisible(false);
    vcl::Application->ProcessMessages();
  }
  ~PreviewScope() {
    vcl::Free(f.Form);
    f.Form = nullptr;
    vcl::SetPrinter(nullptr);
  }

  QTemporaryDir Dir;
  EditorOnForm f{400, 300};
  TpsPrintPreview* Preview = nullptr;  // owned by the form
};

Integer Rounded(double aValue) { return static_cast<Integer>(std::nearbyint(aValue)); }

TEST(EditorPreview, PagesStandAtTheirPlacesAtEveryZoomWithTheScrollRangesOfThePages) {
  PreviewScope s;
  TpsPrintPreview* p = s.Preview;
  ASSERT_NE(p->PreviewSurface(), nullptr);
  // A4 (2479 x 3508 printer pixels) at 300 / 96.
  EXPECT_EQ(p->PreviewPageSize().cx, 793);
  EXPECT_EQ(p->PreviewPageSize().cy, 1123);
  // About two and a half pages of lines: three pages.
  ASSERT_EQ(p->PreviewPageCount(), 3);
  for (double zoom : {0.5, 1.0, 5.0}) {
    SCOPED_TRACE(zoom);
    p->SetZoomFactor(zoom);
    const Integer zw = Rounded(793 * zoom), zh = Rounded(1123 * zoom);
    EXPECT_EQ(p->ZoomedPageSize().cx, zw);
    EXPECT_EQ(p->ZoomedPageSize().cy, zh);
    EXPECT_EQ(p->GetDocumentHeight(), (zh + 10) * 3 + 10);
    EXPECT_EQ(p->VertScrollBar().Range(), (zh + 10) * 3 + 10);
    EXPECT_EQ(p->HorzScrollBar().Range(), zw + 20);
    p->ScrollTo(0);
    QImage top = Grab(p);
    const vcl::TColor workspace = PixelAt(top, 2, 2);
    ASSERT_NE(workspace, vcl::clWhite);
    top.save(QDir::current().filePath(QString("editor_preview_zoom%1.png").arg(zoom)));
    // Only the first page meets the view's 300 rows.
    EXPECT_EQ(p->RenderedPageCount(), 1);
    for (Integer i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      const Integer pageTop = i * zh + (i + 1) * 10;
      const Integer pageBottom = pageTop + zh - 1;
      // The page's top edge with the gap above it and left of it.
      p->ScrollTo(pageTop - 5);
      QImage g = Grab(p);
      Integer y = pageTop - p->ScrollPosition();
      ASSERT_GE(y, 1);
      EXPECT_EQ(PixelAt(g, 9, y), workspace);
      EXPECT_EQ(PixelAt(g, 10, y - 1), workspace);
      EXPECT_NE(PixelAt(g, 10, y), workspace);
      EXPECT_NE(PixelAt(g, 30, y + 3), workspace);
      // Pages above and below the view are not drawn.
      EXPECT_LE(p->RenderedPageCount(), zh + 10 < 300 ? 3 : 2);
      // The bottom edge with the gap below it.
      p->ScrollTo(pageBottom - 250);
      g = Grab(p);
      y = pageBottom - p->ScrollPosition();
      ASSERT_LT(y + 1, g.height());
      EXPECT_NE(PixelAt(g, 10, y), workspace);
      EXPECT_EQ(PixelAt(g, 10, y + 1), workspace);
    }
    // The right edge, scrolled into view when the page is wider.
    p->ScrollTo(0);
    p->HorzScrollBar().SetPosition(std::max<Integer>(0, zw + 20 - 380));
    p->SyncScrollPosition();
    QImage g = Grab(p);
    const Integer x = 10 + zw - 1 - p->HorzScrollBar().Position();
    ASSERT_LT(x + 1, g.width());
    EXPECT_NE(PixelAt(g, x, 15), workspace);
    EXPECT_EQ(PixelAt(g, x + 1, 15), workspace);
    p->HorzScrollBar().SetPosition(0);
    p->SyncScrollPosition();
  }
}

TEST(EditorPreview, TheTextIsOnThePagesAndInputAndANilEditorChangeNothing) {
  PreviewScope s;
  TpsPrintPreview* p = s.Preview;
  p->SetZoomFactor(1.0);
  p->ScrollTo(0);
  const QImage before = Grab(p);
  // Ink (text) in the first page's first lines, inside the frame of the
  // printable area; none right of the short lines.
  int ink = 0, inkRight = 0;
  for (int y = 50; y < 120; ++y)
    for (int x = 45; x < before.width() - 5; ++x)
      if (qGray(before.pixel(x, y)) < 128) (x < 270 ? ink : inkRight)++;
  EXPECT_GT(ink, 100);
  EXPECT_EQ(inkRight, 0);
  EXPECT_FALSE(p->SmartTagsActive());
  const std::string page = p->SaveToString(true, true);

  // A nil editor leaves the preview as it was.
  p->SetEditor(nullptr);
  EXPECT_EQ(p->SaveToString(true, true), page);
  EXPECT_EQ(Grab(p), before);

  // Keys, characters and clicks go nowhere.
  p->SetFocus();
  vcl::Application->ProcessMessages();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QCoreApplication::sendEvent(p->Widget(), &press);
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(127)));
  QCoreApplication::sendEvent(p->Widget(), &del);
  const QPointF at(60, 50);
  QMouseEvent down(QEvent::MouseButtonPress, at, p->Widget()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(p->Widget(), &down);
  QMouseEvent up(QEvent::MouseButtonRelease, at, p->Widget()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                 Qt::NoModifier);
  QCoreApplication::sendEvent(p->Widget(), &up);
  vcl::Application->ProcessMessages();
  EXPECT_EQ(p->SaveToString(true, true), page);
  EXPECT_FALSE(p->HasTextSelection());

  // Freeing the editor is noticed.
  p->SetEditor(s.f.Editor);
  vcl::Free(s.f.Editor);
  s.f.Editor = nullptr;
  EXPECT_EQ(p->GetEditor(), nullptr);
}

TEST(EditorPreview, WithoutAPrinterOnlyTheWorkspaceShows) {
  PreviewScope s(false);
  TpsPrintPreview* p = s.Preview;
  EXPECT_EQ(TpsPrintPreview::PrinterPixelsPerInch(), 0);
  EXPECT_EQ(p->PreviewSurface(), nullptr);
  EXPECT_EQ(p->PreviewPageCount(), 0);
  p->SetZoomFactor(2.0);
  const QImage g = Grab(p);
  EXPECT_EQ(p->RenderedPageCount(), 0);
  const vcl::TColor workspace = PixelAt(g, 0, 0);
  for (int y = 0; y < g.height(); y += 7)
    for (int x = 0; x < g.width(); x += 7) ASSERT_EQ(PixelAt(g, x, y), workspace) << x << "," << y;
}

}  // namespace
