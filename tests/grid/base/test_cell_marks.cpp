// Rich-text cells and the marks the grid paints beside cell text (sort
// indicators and index-sort marks, the row indicator, the drop-down part
// of hovered header cells, tree lines), grabbed offscreen from the grid's
// retained buffer.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "grid/GridComponent.h"
#include "grid/GridRichEdit.h"
#include "grid/draw/GridDraw.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"

using namespace grid;
using vcl::TForm;

namespace {

constexpr Integer MarkColW = 80, MarkRowH = 24;

// A grid that reports node rows, so that its tree lines show.
class TNodeGrid : public TVadOdizadEzev {
 public:
  using TVadOdizadEzev::TVadOdizadEzev;
  bool HasNodes() override { return true; }
};

struct MarkFixture {
  TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;

  explicit MarkFixture(bool nodes = false, Integer cols = 4, Integer rows = 4) {
    form = new TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 300);
    grid = nodes ? new TNodeGrid(form) : new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBorderStyle(vcl::TGridBorderStyle::bsNone);
    grid->SetScrollBars(vcl::ssNone);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    grid->SetDefaultColWidth(MarkColW);
    grid->SetDefaultRowHeight(MarkRowH);
    grid->SetFixedRowHeight(MarkRowH);
    grid->SetBounds(0, 0, cols * MarkColW + 4, rows * MarkRowH + 4);
    grid->SetColor(clWhite);
    // The look writes its colour set, the fixed colour among them.
    grid->SetLook(glStandard);
    grid->SetFixedColor(0xD0D0D0);
    grid->Font()->SetColor(clBlack);
    grid->FixedFont()->SetColor(clBlack);
  }
  ~MarkFixture() { vcl::Free(form); }

  QImage Grab(const char* png = nullptr) {
    form->Show();
    vcl::Application->ProcessMessages();
    grid->Invalidate();
    QImage img = grid->Widget()->grab().toImage();
    if (png != nullptr) img.save(QString(TOLVANE_BUILD_DIR "/") + png);
    return img;
  }
};

TColor MarkPixel(const QImage& img, int x, int y) {
  const QRgb p = img.pixel(x, y);
  return vcl::RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
}

bool MarkDark(QRgb p) { return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110; }
bool MarkRed(QRgb p) { return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90; }
bool MarkGreen(QRgb p) { return qGreen(p) > 150 && qRed(p) < 90 && qBlue(p) < 90; }

// The bounds of the pixels passing a test inside an area (right and
// bottom excluded); first = -1 when none does.
struct MarkBox {
  int left = -1, top = -1, right = -1, bottom = -1, count = 0;
};

template <typename Test>
MarkBox MarkFind(const QImage& img, int x0, int y0, int x1, int y1, Test test) {
  MarkBox b;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (test(img.pixel(x, y))) {
        if (b.count == 0) {
          b.left = b.right = x;
          b.top = b.bottom = y;
        }
        b.left = std::min(b.left, x);
        b.right = std::max(b.right, x);
        b.top = std::min(b.top, y);
        b.bottom = std::max(b.bottom, y);
        ++b.count;
      }
  return b;
}

// A bitmap whose corner colour (white) is see-through, with a square of
// colour inside it.
void MarkGlyph(vcl::TBitmap& b, Integer size, TColor color) {
  b.SetSize(size, size);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect({0, 0, size, size});
  b.Canvas()->Brush()->SetColor(color);
  b.Canvas()->FillRect({1, 1, size - 1, size - 1});
}

}  // namespace

TEST(GridRichCells, RichTextDrawsItsRunsInsideTheTextMargins) {
  MarkFixture f;
  // The same word as plain text and as rich text: the rich text sits two
  // pixels further right and down (its format range keeps its own margin
  // inside the text rectangle), and shows no markup.
  f.grid->SetCells(1, 1, "Word");
  f.grid->SetCells(1, 2, "{\\rtf1\\ansi\\deff0 Word}");
  f.grid->SetCells(2, 1, "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\cf1 Red}");
  f.grid->SetCells(2, 2, "{\\rtf1\\ansi One\\par Two}");
  f.grid->SetCells(3, 1, "{\\rtf1\\ansi\\b Word\\b0}");
  f.grid->SetRow(3);
  f.grid->SetCol(3);
  f.grid->SetRowHeights(2, 44);
  const QImage img = f.Grab("grid-rich-cells.png");

  const MarkBox plain = MarkFind(img, 81, 25, 159, 47, MarkDark);
  const MarkBox rich = MarkFind(img, 81, 49, 159, 71, MarkDark);
  ASSERT_GT(plain.count, 0);
  ASSERT_GT(rich.count, 0);
  EXPECT_EQ(rich.left - plain.left, 2);
  EXPECT_EQ(rich.right - plain.right, 2);
  EXPECT_EQ(rich.top - 48, plain.top - 24 + 2);
  EXPECT_EQ(rich.count, plain.count);

  // The colour table's red.
  const MarkBox red = MarkFind(img, 161, 25, 239, 47, MarkRed);
  EXPECT_GT(red.count, 10);
  EXPECT_EQ(MarkFind(img, 161, 25, 239, 47, MarkDark).count, 0);

  // Two paragraphs: the second line one line height below the first.
  f.grid->Canvas()->Font()->Assign(f.grid->Font());
  const Integer lineHeight = f.grid->Canvas()->GetTextMetrics().Height;
  const MarkBox one = MarkFind(img, 161, 49, 239, 49 + 2 + 2 + lineHeight, MarkDark);
  const MarkBox two = MarkFind(img, 161, 49 + 2 + 2 + lineHeight, 239, 91, MarkDark);
  ASSERT_GT(one.count, 0);
  ASSERT_GT(two.count, 0);
  EXPECT_EQ(two.top - one.top, lineHeight);

  // Bold is wider than the plain word.
  const MarkBox bold = MarkFind(img, 241, 25, 319, 47, MarkDark);
  EXPECT_GT(bold.right - bold.left, plain.right - plain.left);
}

TEST(GridRichCells, SelectedRichTextTakesTheSelectionTextColourUnlessKept) {
  MarkFixture f;
  f.grid->SetCells(2, 2, "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\cf1 Red text}");
  f.grid->SetSelectionColor(clWhite);
  f.grid->SetSelectionTextColor(0x00C000);
  // Cell (2, 2) selected but not the current cell, which the selection's
  // far corner becomes.
  f.grid->SetSelection({2, 2, 3, 3});
  QImage img = f.Grab("grid-rich-selected.png");
  EXPECT_EQ(MarkFind(img, 161, 49, 239, 71, MarkRed).count, 0);
  EXPECT_GT(MarkFind(img, 161, 49, 239, 71, MarkGreen).count, 10);

  f.grid->SelectionRTFKeep = true;
  img = f.Grab();
  EXPECT_GT(MarkFind(img, 161, 49, 239, 71, MarkRed).count, 10);
  EXPECT_EQ(MarkFind(img, 161, 49, 239, 71, MarkGreen).count, 0);
}

TEST(GridRichCells, MeasuringAsksTheRichTextControl) {
  MarkFixture f;
  f.grid->SetWordWrap(false);
  f.grid->SetCells(1, 1, "{\\rtf1\\ansi One\\par Second line}");
  vcl::TSize size{};
  f.grid->MeasureCell(1, 1, size, false, false);
  vcl::TCanvas* canvas = f.grid->Canvas();
  canvas->Font()->Assign(f.grid->Font());
  EXPECT_EQ(size.cx, canvas->TextWidth("Second line"));
  EXPECT_EQ(size.cy, 2 * canvas->GetTextMetrics().Height);
  EXPECT_EQ(f.grid->RichMeasure()->ReqWidth(), size.cx);
  EXPECT_EQ(f.grid->RichMeasure()->ReqHeight(), size.cy);
  EXPECT_EQ(f.grid->RichMeasure()->PlainText(), "One\r\nSecond line");

  // Wrapped in the cell's width less its margins: more lines, none wider
  // than the room.
  f.grid->SetWordWrap(true);
  f.grid->SetCells(1, 2, "{\\rtf1\\ansi alpha beta gamma delta epsilon zeta}");
  f.grid->MeasureCell(1, 2, size, false, false);
  const vcl::TRect cell = f.grid->CellRect(1, 2);
  EXPECT_LE(size.cx, cell.Right - cell.Left - 4);
  EXPECT_GE(size.cy, 3 * canvas->GetTextMetrics().Height);

  // An empty rich text measures nothing.
  f.grid->SetCells(1, 3, "{\\rtf1}");
  f.grid->MeasureCell(1, 3, size, false, false);
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, 0);
}

TEST(GridRichCells, TheRichTextControlBelongsToAGrid) {
  TForm* form = new TForm(vcl::Application, 0);
  EXPECT_THROW(TLumRichEdit edit(form), EInvalidCast);
  vcl::Free(form);
}

TEST(GridCellMarks, SortIndicatorsByDirectionGlyphAndIndex) {
  MarkFixture f;
  TSortSettings* sort = f.grid->SortSettings();
  sort->Show = true;
  sort->Row = 0;
  sort->Column = 1;
  auto gray = [](QRgb p) { return p == qRgb(0x80, 0x80, 0x80); };
  auto white = [](QRgb p) { return p == qRgb(0xFF, 0xFF, 0xFF); };
  // An empty left-aligned header: the indicator centred 10 pixels in from
  // the content's left (81), 8 below its top (1).
  const int x = 81 + 10, y = 1 + 8;

  // Descending: the lit edge from the top right to the apex below, the
  // shaded edge up to the top left and the shaded top.
  sort->Direction = sdDescending;
  QImage img = f.Grab("grid-sort-descending.png");
  const MarkBox shaded = MarkFind(img, 82, 2, 158, 22, gray);
  EXPECT_EQ(shaded.top, y - 4);
  EXPECT_EQ(shaded.left, x - 4);
  EXPECT_EQ(shaded.right, x + 3);
  const MarkBox lit = MarkFind(img, 82, 2, 158, 22, white);
  EXPECT_EQ(lit.right, x + 4);
  EXPECT_EQ(lit.bottom, y + 3);

  // Both glyphs set: the direction's glyph at (x - 4, y - 4).
  vcl::TBitmap up, down;
  MarkGlyph(up, 8, 0x0000FF);
  MarkGlyph(down, 8, 0x00C000);
  sort->SetUpGlyph(&up);
  sort->SetDownGlyph(&down);
  img = f.Grab();
  MarkBox glyph = MarkFind(img, 82, 2, 158, 22, MarkGreen);
  EXPECT_EQ(glyph.left, x - 3);
  EXPECT_EQ(glyph.top, y - 3);
  EXPECT_EQ(glyph.right, x + 2);
  EXPECT_EQ(MarkFind(img, 82, 2, 158, 22, gray).count, 0);
  sort->Direction = sdAscending;
  img = f.Grab();
  glyph = MarkFind(img, 82, 2, 158, 22, MarkRed);
  EXPECT_EQ(glyph.left, x - 3);
  EXPECT_EQ(glyph.bottom, y + 2);

  // Index sort: numbered marks in the index colour, pointing up for an
  // ascending entry and down for a descending one.
  sort->IndexShow = true;
  sort->Column = -1;
  f.grid->SortIndexes()->AddSortColumn(1, true);
  f.grid->SortIndexes()->AddSortColumn(2, false);
  img = f.Grab("grid-sort-index.png");
  auto yellow = [](QRgb p) { return qRed(p) > 230 && qGreen(p) > 230 && qBlue(p) < 40; };
  const MarkBox first = MarkFind(img, 82, 2, 158, 23, yellow);
  ASSERT_GT(first.count, 0);
  // Filled inside its black outline, apex at (x, y - 4), base at y + 8.
  EXPECT_GT(first.top, y - 4);
  EXPECT_LE(first.top, y - 4 + 3);
  EXPECT_EQ(first.bottom, y + 8 - 1);
  EXPECT_TRUE(MarkDark(img.pixel(x, y - 4)));
  EXPECT_TRUE(MarkDark(img.pixel(x, y + 8)));
  EXPECT_TRUE(yellow(img.pixel(x - 4, y + 7)));
  EXPECT_FALSE(yellow(img.pixel(x - 4, y - 2)));
  const int x2 = 161 + 10;
  const MarkBox second = MarkFind(img, 162, 2, 238, 23, yellow);
  ASSERT_GT(second.count, 0);
  EXPECT_EQ(second.top, y - 5 + 1);
  EXPECT_TRUE(MarkDark(img.pixel(x2, y + 8)));
  EXPECT_TRUE(yellow(img.pixel(x2 - 5, y - 4)));
  EXPECT_FALSE(yellow(img.pixel(x2 - 5, y + 5)));
  // The numbers 1 and 2 in black.
  EXPECT_GT(MarkFind(img, x - 3, y - 4, x + 6, y + 8, MarkDark).count, 0);
  EXPECT_GT(MarkFind(img, x2 - 3, y - 5, x2 + 6, y + 6, MarkDark).count, 0);
}

TEST(GridCellMarks, RowIndicatorBesideTheCurrentRow) {
  MarkFixture f;
  vcl::TBitmap indicator;
  MarkGlyph(indicator, 8, 0x0000FF);
  f.grid->SetRowIndicator(&indicator);
  f.grid->SetCells(0, 1, "Ab");
  f.grid->SetCells(0, 2, "Ab");
  f.grid->SetRow(1);
  QImage img = f.Grab("grid-row-indicator.png");
  // A fixed cell's content rectangle is its whole cell (0, 24): the bitmap
  // at its left + 2 and top, its red inside at 3..8, 25..30, the white
  // frame see-through.
  const MarkBox red = MarkFind(img, 0, 24, 80, 48, MarkRed);
  EXPECT_EQ(red.left, 3);
  EXPECT_EQ(red.right, 8);
  EXPECT_EQ(red.top, 25);
  EXPECT_EQ(red.bottom, 30);
  EXPECT_EQ(MarkPixel(img, 2, 24), 0xD0D0D0u);
  // The text moves right by the bitmap's width + 2.
  const MarkBox shifted = MarkFind(img, 12, 24, 80, 48, MarkDark);
  const MarkBox plain = MarkFind(img, 0, 48, 80, 72, MarkDark);
  EXPECT_EQ(shifted.left - plain.left, 10);
  // Vertically centred with VAlignment.
  f.grid->SetVAlignment(vtaCenter);
  img = f.Grab();
  const MarkBox centred = MarkFind(img, 0, 24, 12, 48, MarkRed);
  EXPECT_EQ(centred.top, 24 + (23 - 8) / 2 + 1);
  // Nothing without fixed columns.
  f.grid->SetFixedCols(0);
  img = f.Grab();
  EXPECT_EQ(MarkFind(img, 0, 24, 12, 48, MarkRed).count, 0);
}

TEST(GridCellMarks, HoveredHeaderShowsItsDropDownPart) {
  MarkFixture f;
  f.grid->SetLook(glXP);
  // One colour each for the hover and pressed fills: the look's mirrors off.
  for (TFixedGradientSlot slot : {fgHoverMirrorFrom, fgHoverMirrorTo, fgDownMirrorFrom, fgDownMirrorTo})
    f.grid->SetFixedGradientColor(slot, clNone);
  f.grid->HoverFixedCells = hfAll;
  const TColor hover = 0xF0E0C0, pressed = 0x00C000, hoverBorder = 0x0000FF, pressedBorder = 0xFF0000;
  f.grid->SetFixedGradientColor(fgHoverFrom, hover);
  f.grid->SetFixedGradientColor(fgHoverTo, hover);
  f.grid->SetFixedGradientColor(fgHoverBorder, hoverBorder);
  f.grid->SetFixedGradientColor(fgDownFrom, pressed);
  f.grid->SetFixedGradientColor(fgDownTo, pressed);
  f.grid->SetFixedGradientColor(fgDownBorder, pressedBorder);
  f.grid->ControlLook()->FixedDropDownButton = true;
  f.grid->SetHoveredFixedCell(1, 0, false);
  QImage img = f.Grab("grid-fixed-dropdown.png");
  // Header (1, 0): fill 81..158; the part's line at 159 - 16 = 143 in the
  // hover border, the drop triangle centred at (151, 9).
  EXPECT_EQ(MarkPixel(img, 143, 12), hoverBorder);
  EXPECT_EQ(MarkPixel(img, 100, 12), hover);
  EXPECT_EQ(MarkPixel(img, 155, 18), hover);
  const MarkBox triangle = MarkFind(img, 144, 2, 158, 22, MarkDark);
  ASSERT_GT(triangle.count, 0);
  EXPECT_EQ((triangle.left + triangle.right) / 2, 151);

  // Pressed over the part: the part pressed, the rest hovered; pressed
  // elsewhere: the other way round.
  f.grid->SetOverFixedDropDown(true);
  f.grid->SetHoveredFixedCell(1, 0, true);
  img = f.Grab();
  EXPECT_EQ(MarkPixel(img, 155, 18), pressed);
  EXPECT_EQ(MarkPixel(img, 100, 12), hover);
  EXPECT_EQ(MarkPixel(img, 143, 12), pressedBorder);
  f.grid->SetOverFixedDropDown(false);
  img = f.Grab();
  EXPECT_EQ(MarkPixel(img, 155, 18), hover);
  EXPECT_EQ(MarkPixel(img, 100, 12), pressed);

  // Another header cell is not hovered: no part.
  EXPECT_NE(MarkPixel(img, 223, 12), pressedBorder);
  EXPECT_NE(MarkPixel(img, 223, 12), hoverBorder);
}

TEST(GridCellMarks, TreeLinesFollowTheNodeLevels) {
  MarkFixture f(true, 3, 5);
  f.grid->SetLook(glStandard);
  f.grid->SetFixedColor(clWhite);
  f.grid->CellNode()->SetTreeColor(0x0000FF);
  f.grid->CellNode()->SetShowTreeFull(false);
  // Row 1 a node (level 0), rows 2 and 3 its children (level 1), row 4
  // back at level 0.
  f.grid->Model().CellProperties(0, 1).SetGraphic(std::make_unique<TCellGraphic>());
  f.grid->Model().CellProperties(0, 1).Graphic()->CellType = ctNode;
  f.grid->Model().CellProperties(0, 2).NodeLevel = 1;
  f.grid->Model().CellProperties(0, 3).NodeLevel = 1;
  f.grid->SetRow(1);
  f.grid->SetCol(1);
  const QImage img = f.Grab("grid-tree-lines.png");
  // Row 2 (cell y 48..71, grown by one: 47..72): with indent 12, the
  // level's line at x0 = 12 + 6 - 12 + 2 = 8 down the row, its branch at
  // mid-height (59) from 8 to 15.
  for (int y = 47; y < 72; ++y) EXPECT_EQ(MarkPixel(img, 8, y), 0x0000FFu) << y;
  for (int x = 8; x < 16; ++x) EXPECT_EQ(MarkPixel(img, x, 59), 0x0000FFu) << x;
  EXPECT_NE(MarkPixel(img, 16, 59), 0x0000FFu);
  // Row 3 is followed by a level-0 row: its line stops at mid-height (83).
  EXPECT_EQ(MarkPixel(img, 8, 80), 0x0000FFu);
  EXPECT_NE(MarkPixel(img, 8, 90), 0x0000FFu);
  EXPECT_EQ(MarkPixel(img, 12, 83), 0x0000FFu);
  // The node row and the level-0 row draw no branch.
  EXPECT_EQ(MarkFind(img, 1, 25, 79, 47, [](QRgb p) { return p == qRgb(255, 0, 0); }).count, 0);
  EXPECT_EQ(MarkFind(img, 1, 97, 79, 119, [](QRgb p) { return p == qRgb(255, 0, 0); }).count, 0);

  // With ShowTreeFull the branch runs to the cell's right edge.
  f.grid->CellNode()->SetShowTreeFull(true);
  const QImage full = f.Grab();
  EXPECT_EQ(MarkPixel(full, 60, 59), 0x0000FFu);
  EXPECT_NE(MarkPixel(full, 60, 35), 0x0000FFu);

  // Without ShowTree nothing.
  f.grid->CellNode()->SetShowTree(false);
  QImage off = f.Grab();
  EXPECT_EQ(MarkFind(off, 1, 48, 79, 96, [](QRgb p) { return p == qRgb(255, 0, 0); }).count, 0);
}
