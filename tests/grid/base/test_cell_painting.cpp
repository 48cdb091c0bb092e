// Cells painted by the grid itself, grabbed offscreen from its retained
// buffer: the fixed cells of each look, text alignment, wrapping and
// ellipsis, masked, link and HTML cells, and where the sort indicator sits.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "grid/GridComponent.h"
#include "grid/draw/GridDraw.h"
#include "vcl/Forms.h"

using namespace grid;
using vcl::TForm;

namespace {

constexpr Integer PaintColW = 80, PaintRowH = 24;

struct PaintFixture {
  TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;

  PaintFixture(Integer cols = 4, Integer rows = 4, Integer rowHeight = PaintRowH) {
    form = new TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 300);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBorderStyle(vcl::TGridBorderStyle::bsNone);
    grid->SetScrollBars(vcl::ssNone);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    grid->SetDefaultColWidth(PaintColW);
    grid->SetDefaultRowHeight(rowHeight);
    grid->SetFixedRowHeight(rowHeight);
    grid->SetBounds(0, 0, cols * PaintColW + 4, rows * rowHeight + 4);
    grid->SetColor(clWhite);
    grid->SetFixedColor(0xE0E0E0);
    grid->Font()->SetColor(clBlack);
    grid->FixedFont()->SetColor(clBlack);
  }
  ~PaintFixture() { vcl::Free(form); }

  QImage Grab(const char* png = nullptr) {
    form->Show();
    vcl::Application->ProcessMessages();
    grid->Invalidate();
    QImage img = grid->Widget()->grab().toImage();
    if (png != nullptr) img.save(QString(TOLVANE_BUILD_DIR "/") + png);
    return img;
  }
};

TColor PaintPixel(const QImage& img, int x, int y) {
  const QRgb p = img.pixel(x, y);
  return vcl::RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
}

bool PaintDark(QRgb p) { return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110; }

// The columns of a cell's area that hold a pixel passing the test.
struct PaintSpan {
  int first = -1;
  int last = -1;
  int count = 0;
};

template <typename Test>
PaintSpan PaintColumns(const QImage& img, int x0, int y0, int x1, int y1, Test test) {
  PaintSpan s;
  for (int x = x0; x < x1; ++x)
    for (int y = y0; y < y1; ++y)
      if (test(img.pixel(x, y))) {
        if (s.first < 0) s.first = x;
        s.last = x;
        ++s.count;
        break;
      }
  return s;
}

template <typename Test>
PaintSpan PaintRows(const QImage& img, int x0, int y0, int x1, int y1, Test test) {
  PaintSpan s;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (test(img.pixel(x, y))) {
        if (s.first < 0) s.first = y;
        s.last = y;
        ++s.count;
        break;
      }
  return s;
}

bool SameArea(const QImage& img, int ax, int bx, int y0, int w, int h) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = 0; x < w; ++x)
      if (img.pixel(ax + x, y) != img.pixel(bx + x, y)) return false;
  return true;
}

}  // namespace

TEST(GridCellPainting, FixedCellsOfEachLook) {
  PaintFixture f;
  const TColor from = 0xFFFFFF, to = 0x908070;
  const TColor fixedRGB = 0xE0E0E0;
  const TColor dimmed = DimColor(fixedRGB);
  struct Case {
    TGridLook look;
    const char* png;
  };
  const Case cases[] = {{glStandard, "grid-look-standard.png"}, {glSoft, "grid-look-soft.png"},
                        {glClassic, "grid-look-classic.png"},   {glXP, "grid-look-xp.png"},
                        {glVista, "grid-look-vista.png"},       {glOffice2007, "grid-look-office2007.png"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.png);
    f.grid->SetLook(k.look);
    // The plain looks write the system's button face; the test's own colour.
    f.grid->SetFixedColor(fixedRGB);
    // One gradient over the whole cell: the mirrors Vista's style sets off.
    f.grid->SetFixedGradientColor(fgMirrorFrom, clNone);
    f.grid->SetFixedGradientColor(fgMirrorTo, clNone);
    f.grid->SetFixedGradientColor(fgFrom, from);
    f.grid->SetFixedGradientColor(fgTo, to);
    const QImage img = f.Grab(k.png);
    // Header cell (1, 0): x 80..159, y 0..23; no text in it.
    const TColor top = PaintPixel(img, 120, 3), bottom = PaintPixel(img, 120, 19);
    switch (k.look) {
      case glStandard:
        EXPECT_EQ(top, fixedRGB);
        EXPECT_EQ(bottom, fixedRGB);
        // No edges: the fixed line colour only on the grid lines.
        EXPECT_EQ(PaintPixel(img, 120, 0), fixedRGB);
        EXPECT_EQ(PaintPixel(img, 81, 12), fixedRGB);
        break;
      case glSoft:
        EXPECT_EQ(top, fixedRGB);
        // Dimmed bottom line, white top and left highlight.
        EXPECT_EQ(PaintPixel(img, 120, 23), dimmed);
        EXPECT_EQ(PaintPixel(img, 120, 0), clWhite);
        EXPECT_EQ(PaintPixel(img, 80, 12), clWhite);
        break;
      case glClassic:
        EXPECT_EQ(top, fixedRGB);
        // The black outer edge at the right and bottom.
        EXPECT_EQ(PaintPixel(img, 159, 12), clBlack);
        EXPECT_EQ(PaintPixel(img, 120, 23), clBlack);
        break;
      case glXP:
        // Vertical gradient from white to the set's To colour.
        EXPECT_NE(top, bottom);
        EXPECT_GT(top & 0xFF, bottom & 0xFF);
        EXPECT_EQ(PaintPixel(img, 120, 23), dimmed);
        EXPECT_EQ(PaintPixel(img, 120, 0), clWhite);
        EXPECT_EQ(PaintPixel(img, 80, 12), clWhite);
        break;
      case glVista:
      case glOffice2007:
        EXPECT_NE(top, bottom);
        EXPECT_GT(top & 0xFF, bottom & 0xFF);
        break;
      default:
        break;
    }
  }
  // Vista's white side lines, absent in Office 2007.
  f.grid->SetLook(glVista);
  QImage vista = f.Grab();
  f.grid->SetLook(glOffice2007);
  QImage office = f.Grab();
  int whiteSides = 0;
  for (int x = 80; x < 160; ++x)
    if (PaintPixel(vista, x, 16) == clWhite && PaintPixel(office, x, 16) != clWhite) ++whiteSides;
  EXPECT_GE(whiteSides, 1);
}

TEST(GridCellPainting, AlignmentWrapEllipsisAndMaskedText) {
  PaintFixture f(4, 4, 40);
  f.grid->SetFixedCols(0);
  f.grid->SetFixedRows(0);
  f.grid->SetWordWrap(false);
  // Row 0: left, centre, right.
  const TAlignment aligns[] = {taLeftJustify, taCenter, taRightJustify};
  for (Integer c = 0; c < 3; ++c) {
    f.grid->SetCells(c, 0, "Wm");
    f.grid->Model().CellProperties(c, 0).Alignment = aligns[c];
  }
  // Row 1: a long text with and without ellipsis goes to (0,1); the
  // password cell and its literal twin.
  f.grid->SetCells(0, 1, "WWWWWWWWWWWWWWWWWWWW");
  f.grid->SetCells(2, 1, "abcde");
  f.grid->SetCells(3, 1, "*****");
  f.grid->OnIsPasswordCell = [](vcl::TObject*, Integer row, Integer col, bool& pw) { pw = col == 2 && row == 1; };
  // Row 2: two lines, wrapped text.
  f.grid->SetCells(0, 2, "Wm\r\nWm");
  f.grid->SetCells(1, 2, "Wm Wm Wm Wm Wm Wm");
  f.grid->Model().CellProperties(1, 2).SetWordWrap(true);
  QImage img = f.Grab("grid-text-plain.png");

  auto dark = [](QRgb p) { return PaintDark(p); };
  const PaintSpan left = PaintColumns(img, 0, 0, 80, 40, dark);
  const PaintSpan centre = PaintColumns(img, 80, 0, 160, 40, dark);
  const PaintSpan right = PaintColumns(img, 160, 0, 240, 40, dark);
  ASSERT_GT(left.count, 0);
  // The 1-pixel line width and the 2-pixel margin on the left; the margin
  // and the line on the right.
  EXPECT_GE(left.first, 3);
  EXPECT_LE(left.first, 5);
  EXPECT_GE(right.last, 160 + 80 - 5);
  EXPECT_LE(right.last, 160 + 80 - 3);
  const int mid = (centre.first + centre.last) / 2;
  EXPECT_NEAR(mid, 120, 2);
  EXPECT_EQ(left.last - left.first, right.last - right.first);
  // Top alignment: the text starts near the top.
  EXPECT_LE(PaintRows(img, 0, 0, 80, 40, dark).first, 8);

  // The password cell shows exactly what "*****" shows.
  EXPECT_TRUE(SameArea(img, 160, 240, 40, 79, 39));

  // Without ellipsis the cell's last columns are letters reaching the top
  // of the text; with EnhTextSize the end is dots on the baseline.
  const PaintSpan tailRows = PaintRows(img, 60, 40, 77, 80, dark);
  f.grid->EnhTextSize = true;
  img = f.Grab("grid-text-ellipsis.png");
  const PaintSpan dotRows = PaintRows(img, 66, 40, 77, 80, dark);
  ASSERT_GT(dotRows.count, 0);
  EXPECT_GT(dotRows.first, tailRows.first + 4);

  // No wrap, no multi-line: one line; a word-wrapped cell takes two or more.
  const PaintSpan oneLine = PaintRows(img, 0, 80, 80, 120, dark);
  const PaintSpan wrapped = PaintRows(img, 80, 80, 160, 120, dark);
  EXPECT_GT(wrapped.last - wrapped.first, (oneLine.last - oneLine.first) * 3 / 2);
  f.grid->Multilinecells = true;
  img = f.Grab("grid-text-multiline.png");
  const PaintSpan twoLines = PaintRows(img, 0, 80, 80, 120, dark);
  EXPECT_GT(twoLines.last - twoLines.first, (oneLine.last - oneLine.first) * 3 / 2);
}

TEST(GridCellPainting, LinkAndHtmlCells) {
  PaintFixture f(4, 3, 30);
  f.grid->SetFixedCols(0);
  f.grid->SetFixedRows(0);
  f.grid->SetWordWrap(false);
  f.grid->URLShow = true;
  f.grid->URLColor = 0xFF0000;  // blue
  f.grid->SetCells(0, 0, "http://example.com");
  f.grid->SetCells(1, 0, "example.com");
  f.grid->SetCells(0, 1, "<b>bold</b> <font color=\"#FF0000\">red</font>");
  f.grid->SetCells(1, 1, "<b>bold</b> <font color=\"#FF0000\">red</font>");
  f.grid->EnableHTML = true;
  QImage img = f.Grab("grid-text-link-html.png");

  auto blue = [](QRgb p) { return qBlue(p) > 180 && qRed(p) < 120 && qGreen(p) < 120; };
  auto red = [](QRgb p) { return qRed(p) > 180 && qBlue(p) < 120 && qGreen(p) < 120; };
  auto dark = [](QRgb p) { return PaintDark(p); };
  // The link shows without its scheme: as wide as the plain host name.
  const PaintSpan link = PaintColumns(img, 0, 0, 80, 30, blue);
  const PaintSpan host = PaintColumns(img, 80, 0, 160, 30, dark);
  ASSERT_GT(link.count, 0);
  EXPECT_NEAR(link.last - link.first, host.last - host.first, 2);
  EXPECT_EQ(PaintColumns(img, 0, 0, 80, 30, dark).count, 0);
  // Underlined: one row of blue across the whole text.
  int underline = 0;
  for (int y = 0; y < 30; ++y) {
    int run = 0;
    for (int x = link.first; x <= link.last; ++x) run += blue(img.pixel(x, y)) ? 1 : 0;
    if (run >= (link.last - link.first) * 9 / 10) ++underline;
  }
  EXPECT_GE(underline, 1);

  // The HTML cell is drawn by the mini-HTML renderer: the font tag's red.
  EXPECT_GT(PaintColumns(img, 0, 30, 80, 60, red).count, 5);
  // The same text with HTML off shows its tags and no red.
  f.grid->EnableHTML = false;
  img = f.Grab("grid-text-html-off.png");
  EXPECT_EQ(PaintColumns(img, 0, 30, 80, 60, red).count, 0);
  EXPECT_GT(PaintColumns(img, 0, 30, 80, 60, dark).count, 40);
}

TEST(GridCellPainting, SortIndicatorSitsBesideTheHeaderText) {
  PaintFixture f(4, 4, 24);
  f.grid->SetLook(glStandard);
  f.grid->SetFixedColor(clWhite);
  f.grid->FixedFont()->SetColor(clBlue);
  f.grid->SetCells(1, 0, "Name");
  // Blue text: its smoothed edges never hit the indicator's gray.
  f.grid->Model().CellProperties(1, 0).FontColor = clBlue;
  f.grid->SortSettings()->Show = true;
  f.grid->SortSettings()->Row = 0;
  f.grid->SortSettings()->Column = 1;
  const Integer textWidth = [&] {
    f.grid->Canvas()->Font()->Assign(f.grid->FixedFont());
    return f.grid->Canvas()->TextWidth("Name");
  }();
  auto gray = [](QRgb p) { return p == qRgb(0x80, 0x80, 0x80); };
  // The content rectangle of a header cell starts one line width in.
  const Integer left = 80 + 1, right = 159;
  struct Case {
    TAlignment align;
    Integer centre;
  };
  const Case cases[] = {{taLeftJustify, left + textWidth + 10},
                        {taRightJustify, right - textWidth - 10},
                        {taCenter, left + 8}};
  for (const Case& k : cases) {
    SCOPED_TRACE(static_cast<int>(k.align));
    f.grid->Model().CellProperties(1, 0).Alignment = k.align;
    const QImage img = f.Grab(k.align == taLeftJustify ? "grid-sort-left.png" : nullptr);
    // Inside the cell's lines (the fixed grid lines are gray too).
    // An ascending raised outline centred on (x, y), y 8 below the
    // content's top: its shaded edge runs from the apex (x, y - 4) down to
    // the left (its lit edges are white on white here).
    const Integer y = 1 + 8;
    const PaintSpan tri = PaintColumns(img, 82, 2, 158, 22, gray);
    ASSERT_GT(tri.count, 0);
    EXPECT_EQ(tri.last, k.centre);
    EXPECT_EQ(tri.first, k.centre - 3);
    const PaintSpan rows = PaintRows(img, 82, 2, 158, 22, gray);
    EXPECT_EQ(rows.first, y - 4);
    EXPECT_EQ(rows.last, y + 3);
  }
}

TEST(GridCellPainting, BordersAndTheEditingFrame) {
  PaintFixture f(4, 4, 24);
  f.grid->SetLook(glStandard);
  // Cell (2, 2): a red left and bottom border, the bottom one made blue
  // and 2 wide by OnGetCellBorderProp.
  f.grid->OnGetCellBorder = [](vcl::TObject*, Integer row, Integer col, vcl::TPen* pen, TCellBorders& borders) {
    if (col != 2 || row != 2) return;
    pen->SetColor(0x0000FF);
    borders = {TCellBorder::cbLeft, TCellBorder::cbBottom};
  };
  f.grid->OnGetCellBorderProp = [](vcl::TObject*, Integer row, Integer col, vcl::TPen*, vcl::TPen*, vcl::TPen*,
                                   vcl::TPen* bottom) {
    if (col == 2 && row == 2) bottom->SetColor(0xFF0000);
  };
  QImage img = f.Grab("grid-borders.png");
  // Cell (2, 2) is x 160..239, y 48..71; its content rectangle grown by one
  // is x 160..239, y 48..72, less half the pen width on the lined sides.
  const TColor red = 0x0000FF, blue = 0xFF0000;
  EXPECT_EQ(PaintPixel(img, 160, 60), red);
  EXPECT_NE(PaintPixel(img, 161, 60), red);
  EXPECT_EQ(PaintPixel(img, 200, 70), blue);
  EXPECT_NE(PaintPixel(img, 200, 69), blue);
  EXPECT_NE(PaintPixel(img, 238, 60), red);
  EXPECT_NE(PaintPixel(img, 200, 49), blue);

  // The frame of the cell being edited, in the grid line colour.
  f.grid->OnGetCellBorder = nullptr;
  auto options = f.grid->Options();
  options.Include(vcl::goEditing);
  f.grid->SetOptions(options);
  f.grid->SetGridLineColor(0x00FF00);
  f.grid->SetCol(1);
  f.grid->SetRow(1);
  img = f.Grab();
  EXPECT_NE(PaintPixel(img, 80, 24), 0x00FF00u);
  f.grid->SetFocus();
  f.grid->Perform(vcl::WM_KEYDOWN, vcl::VK_F2, 0);
  ASSERT_TRUE(f.grid->EditorMode());
  f.Grab("grid-editing-frame.png");
  // The grid's own pixels, without the editor window over the cell.
  img = QImage(f.grid->Widget()->size(), QImage::Format_RGB32);
  f.grid->Widget()->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
  img.save(TOLVANE_BUILD_DIR "/grid-editing-frame-under.png");
  // The rectangle round the cell.
  EXPECT_EQ(PaintPixel(img, 80, 24), 0x00FF00u);
  EXPECT_EQ(PaintPixel(img, 120, 24), 0x00FF00u);
}

TEST(GridCellPainting, MeasuringAgreesWithWhatIsPainted) {
  PaintFixture f(4, 4, 24);
  f.grid->SetCells(1, 1, "Wide text");
  f.grid->SetCells(2, 1, "first\rsecond line");
  f.grid->SetCells(1, 2, "http://example.com");
  f.grid->SetCells(2, 2, "<b>bold</b> text");
  TCanvas* canvas = f.grid->Canvas();
  canvas->Font()->Assign(f.grid->Font());
  const Integer lineHeight = canvas->TextHeight("gh");
  vcl::TSize size;
  f.grid->MeasureCell(1, 1, size, false, false);
  EXPECT_EQ(size, (vcl::TSize{canvas->TextWidth("Wide text"), lineHeight}));
  // One line unless multi-line cells are on; then the widest line counts.
  f.grid->MeasureCell(2, 1, size, false, false);
  EXPECT_EQ(size, (vcl::TSize{canvas->TextWidth("first"), lineHeight}));
  f.grid->Multilinecells = true;
  f.grid->MeasureCell(2, 1, size, false, false);
  EXPECT_EQ(size, (vcl::TSize{canvas->TextWidth("second line"), 2 * lineHeight}));
  // Links are measured as shown.
  f.grid->MeasureCell(1, 2, size, false, false);
  EXPECT_EQ(size.cx, canvas->TextWidth("http://example.com"));
  f.grid->URLShow = true;
  f.grid->MeasureCell(1, 2, size, false, false);
  EXPECT_EQ(size.cx, canvas->TextWidth("example.com"));
  // HTML: the renderer's size plus 2; wider than the plain words in bold.
  f.grid->MeasureCell(2, 2, size, false, false);
  EXPECT_GE(size.cx, canvas->TextWidth("bold text") + 2);
  EXPECT_LE(size.cx, canvas->TextWidth("bold text") + 12);
  EXPECT_GE(size.cy, lineHeight);
  // Fitted to the width, a long text wraps into more lines.
  f.grid->SetCells(3, 1, "one two three four five six seven");
  f.grid->MeasureCell(3, 1, size, false, true);
  EXPECT_GT(size.cy, lineHeight);
  EXPECT_LE(size.cx, PaintColW - 8);
}

TEST(GridCellPainting, SelectionRectangleAndResizer) {
  PaintFixture f(5, 5, 24);
  f.grid->SetLook(glStandard);
  f.grid->SetSelectionColor(clWhite);
  f.grid->SetSelection({1, 1, 2, 2});
  QImage plain = f.Grab();
  f.grid->SetSelectionRectangle(true);
  f.grid->SetSelectionResizer(true);
  QImage framed = f.Grab("grid-selection-rectangle.png");
  auto black = [](QRgb p) { return qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) < 40; };
  // Cells (1..2, 1..2) span x 80..239, y 24..71; the frame lies on their
  // outer lines, 2 pixels wide.
  const PaintSpan leftSide = PaintColumns(framed, 76, 40, 86, 41, black);
  const PaintSpan rightSide = PaintColumns(framed, 230, 40, 244, 41, black);
  const PaintSpan topSide = PaintRows(framed, 120, 20, 121, 30, black);
  const PaintSpan bottomSide = PaintRows(framed, 120, 64, 121, 76, black);
  EXPECT_EQ(leftSide.count, 2);
  EXPECT_EQ(rightSide.count, 2);
  EXPECT_EQ(topSide.count, 2);
  EXPECT_EQ(bottomSide.count, 2);
  EXPECT_EQ(PaintColumns(plain, 76, 40, 86, 41, black).count, 0);
  // Nothing inside the selection and none round a cell outside it.
  EXPECT_EQ(PaintColumns(framed, 150, 40, 170, 41, black).count, 0);
  EXPECT_EQ(PaintColumns(framed, 250, 40, 320, 41, black).count, 0);
  // The resizer: a filled 4x4 square in the bottom-right cell's corner.
  int square = 0;
  for (int y = 62; y < 72; ++y)
    for (int x = 228; x < 240; ++x) square += black(framed.pixel(x, y)) ? 1 : 0;
  EXPECT_GE(square, 16);
}

TEST(GridCellPainting, ListViewHeadersAreTheThemesHeaderItems) {
  PaintFixture f(4, 3, 24);
  f.grid->SetLook(glListView);
  // The fixed-cell gradient never shows in a list-view header.
  f.grid->SetFixedGradientColor(fgFrom, 0x0000FF);
  f.grid->SetFixedGradientColor(fgTo, 0x0000FF);
  auto red = [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; };
  vcl::SetThemeActive(true);
  QImage img = f.Grab("grid-look-listview.png");
  EXPECT_EQ(PaintColumns(img, 82, 2, 157, 20, red).count, 0);
  // A white line along the top edge.
  EXPECT_EQ(PaintPixel(img, 120, 0), clWhite);
  // Without visual styles: a button-face box outlined in white.
  vcl::SetThemeActive(false);
  img = f.Grab("grid-look-listview-plain.png");
  vcl::SetThemeActive(true);
  EXPECT_EQ(PaintColumns(img, 82, 2, 157, 20, red).count, 0);
  EXPECT_EQ(PaintPixel(img, 120, 10), vcl::ColorToRGB(clBtnFace));
  EXPECT_EQ(PaintPixel(img, 80, 10), clWhite);
  EXPECT_EQ(PaintPixel(img, 120, 0), clWhite);
}
