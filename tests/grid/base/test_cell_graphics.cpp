// Cell graphics painted by the grid, grabbed offscreen from its retained
// buffer: check boxes and radio buttons in the control look's styles and
// at each vertical alignment, radio groups, progress bars, ratings,
// buttons and comments, and whether the cell's text is drawn beside them.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "grid/GridComponent.h"
#include "grid/draw/GridDraw.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"
#include "vcl/UxTheme.h"

using namespace grid;
using vcl::TForm;

namespace {

constexpr Integer GfxColW = 80, GfxRowH = 24;

struct GraphicsGrid {
  TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;

  explicit GraphicsGrid(Integer rowHeight = GfxRowH) {
    form = new TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 300);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBorderStyle(vcl::TGridBorderStyle::bsNone);
    grid->SetScrollBars(vcl::ssNone);
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->SetDefaultColWidth(GfxColW);
    grid->SetDefaultRowHeight(rowHeight);
    grid->SetFixedRowHeight(rowHeight);
    grid->SetBounds(0, 0, 4 * GfxColW + 4, 4 * rowHeight + 4);
    grid->SetColor(clWhite);
    grid->SetFixedColor(0xE0E0E0);
    grid->SetShowSelection(false);
    grid->Font()->SetColor(clBlack);
    auto options = grid->Options();
    options.Include(vcl::goEditing);
    grid->SetOptions(options);
    grid->SetCol(3);
    grid->SetRow(3);
  }
  ~GraphicsGrid() { vcl::Free(form); }

  TCellGraphic& Add(Integer col, Integer row, TCellType type, TCellVAlign v = vaTop) {
    TCellGraphic& g = grid->CellControlState().CreateCellGraphic(col, row);
    g.CellType = type;
    g.CellVAlign = v;
    return g;
  }

  QImage Grab(const char* png = nullptr) {
    form->Show();
    vcl::Application->ProcessMessages();
    grid->Invalidate();
    QImage img = grid->Widget()->grab().toImage();
    if (png != nullptr) img.save(QString(TOLVANE_BUILD_DIR "/") + png);
    return img;
  }
};

QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b); }

// The bounding box of the pixels of a colour inside an area.
struct Box {
  int left = -1, top = -1, right = -1, bottom = -1;
  bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

Box Find(const QImage& img, const vcl::TRect& area, QRgb colour) {
  Box b;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
        if (b.left < 0 || x < b.left) b.left = x;
        if (b.top < 0 || y < b.top) b.top = y;
        b.right = std::max(b.right, x);
        b.bottom = std::max(b.bottom, y);
      }
  return b;
}

// Pixels of a colour anywhere in an area.
int CountColour(const QImage& img, const vcl::TRect& area, QRgb colour) {
  int n = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++n;
  return n;
}

int CountDark(const QImage& img, const vcl::TRect& area) {
  int n = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const QRgb p = img.pixel(x, y);
      if (qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60) ++n;
    }
  return n;
}

// The area of a picture as a list of pixels, to compare two areas exactly.
std::vector<QRgb> Area(const QImage& img, const vcl::TRect& a) {
  std::vector<QRgb> v;
  for (int y = a.Top; y < a.Bottom; ++y)
    for (int x = a.Left; x < a.Right; ++x) v.push_back(img.pixel(x, y) & 0xFFFFFF);
  return v;
}

// The same area drawn by a routine on a bitmap of the class library,
// starting white.
template <typename Draw>
std::vector<QRgb> Reference(const vcl::TRect& a, Draw draw) {
  vcl::TBitmap bitmap;
  bitmap.SetSize(a.Right, a.Bottom);
  vcl::TCanvas* c = bitmap.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect({0, 0, a.Right, a.Bottom});
  draw(c);
  std::vector<QRgb> v;
  for (int y = a.Top; y < a.Bottom; ++y)
    for (int x = a.Left; x < a.Right; ++x) {
      const TColor t = c->Pixels(x, y);
      v.push_back(qRgb(t & 0xFF, (t >> 8) & 0xFF, (t >> 16) & 0xFF) & 0xFFFFFF);
    }
  return v;
}

constexpr QRgb XPFrame = 0x1C5180, XPTick = 0x21A121, Grey = 0xA0A0A0, XPFill = 0xF4F4F0, RUZTick = 0x000080;

}  // namespace

// Cell (1, 1) lies at (80, 24)-(160, 48); the graphic's room is the cell
// less one pixel each side, (81, 25)-(159, 47), and a check box of 15
// starts one pixel inside it.
TEST(CellGraphics, BitmapCheckBoxesByAlignmentAndState) {
  struct Case {
    const char* name;
    TControlStyle style;
    TCellVAlign v;
    bool checked, refused, alwaysActive;
    int top;         // where the glyph's picture starts
    QRgb tick;       // the tick's colour, 0 for none
    int frameInset;  // the frame's offset in the picture
  };
  const std::vector<Case> cases = {
      {"XP top, checked", csWinXP, vaTop, true, false, false, 26, XPTick, 1},
      {"XP bottom, checked", csWinXP, vaBottom, true, false, false, 47 - 15 - 1, XPTick, 1},
      {"XP centre, unchecked", csWinXP, vaCenter, false, false, false, 25 + (22 - 15) / 2, 0, 1},
      {"XP under the text", csWinXP, vaUnderText, true, false, false, 47 - 15, XPTick, 1},
      {"XP above the text", csWinXP, vaAboveText, true, false, false, 26, XPTick, 1},
      {"XP full height", csWinXP, vaFull, true, false, false, 25, XPTick, 1},
      {"XP read-only: the disabled glyph", csWinXP, vaTop, true, true, false, 26, Grey, 1},
      {"XP read-only with CheckAlwaysActive", csWinXP, vaTop, true, true, true, 26, XPTick, 1},
      {"RUZ checked", csRUZ, vaTop, true, false, false, 26, RUZTick, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GraphicsGrid g;
    g.grid->ControlLook()->SetControlStyle(c.style);
    g.grid->ControlLook()->CheckAlwaysActive = c.alwaysActive;
    g.grid->OnCanEditCell = [&](vcl::TObject*, Integer, Integer, bool& can) { can = !c.refused; };
    g.Add(1, 1, ctCheckBox, c.v).CellBoolean = c.checked;
    const QImage img = g.Grab();
    const vcl::TRect cell = g.grid->CellRect(1, 1);
    const Box frame = Find(img, cell, c.refused && !c.alwaysActive ? Grey : XPFrame);
    EXPECT_EQ(frame.left, 82 + c.frameInset);
    EXPECT_EQ(frame.top, c.top + c.frameInset);
    if (c.tick == Grey) {
      // The disabled glyph: a grey tick on grey-white, no green.
      EXPECT_EQ(CountColour(img, cell, XPTick), 0);
      EXPECT_GT(CountColour(img, cell, 0xECECEC), 50);
    } else if (c.tick != 0) {
      const Box tick = Find(img, cell, c.tick);
      EXPECT_EQ(tick.left, 82 + c.frameInset + 3);
    } else {
      EXPECT_EQ(CountColour(img, cell, XPTick), 0);
      EXPECT_GT(CountColour(img, cell, XPFill), 50);
    }
  }
}

TEST(CellGraphics, TextBesideCheckBoxesAndDataCheckBoxes) {
  GraphicsGrid g;
  g.grid->ControlLook()->SetControlStyle(csWinXP);
  // A check box of its own keeps the cell's text, right-aligned here.
  g.grid->OnGetAlignment = [](vcl::TObject*, Integer, Integer col, TAlignment& h, TVAlignment&) {
    if (col == 1) h = taRightJustify;
  };
  g.Add(1, 1, ctCheckBox).CellBoolean = true;
  g.grid->Model().SetRawCell(1, 1, "Hi");
  // A data check box shows its state instead of its text.
  g.Add(2, 1, ctDataCheckBox);
  g.grid->Model().SetRawCell(2, 1, "Y");
  g.Add(2, 2, ctDataCheckBox);
  g.grid->Model().SetRawCell(2, 2, "N");
  const QImage img = g.Grab("grid-check-text.png");
  const vcl::TRect own = g.grid->CellRect(1, 1);
  EXPECT_GT(CountDark(img, own), 0);
  // Right-aligned: the box sits left of the text's width.
  const Integer t = g.grid->Canvas()->TextWidth("Hi") + 4;
  const Box frame = Find(img, own, XPFrame);
  EXPECT_EQ(frame.left, 159 - t - 15 - 1 + 1);
  EXPECT_EQ(CountDark(img, g.grid->CellRect(2, 1)), 0);
  EXPECT_GT(CountColour(img, g.grid->CellRect(2, 1), XPTick), 0);
  EXPECT_EQ(CountColour(img, g.grid->CellRect(2, 2), XPTick), 0);
  EXPECT_GT(CountColour(img, g.grid->CellRect(2, 2), XPFrame), 0);
}

TEST(CellGraphics, ClassicFlatAndThemedCheckBoxes) {
  auto grab = [](TControlStyle style, bool checked, Integer size, bool themed) {
    vcl::SetThemeActive(themed);
    GraphicsGrid g;
    g.grid->ControlLook()->SetControlStyle(style);
    g.grid->ControlLook()->SetCheckSize(size);
    g.Add(1, 1, ctCheckBox).CellBoolean = checked;
    const QImage img = g.Grab();
    return Area(img, g.grid->CellRect(1, 1));
  };
  const bool wasThemed = vcl::IsThemeActive();
  const auto classic = grab(csClassic, true, 15, false);
  // Without visual styles the theme style is the classic box, pixel for pixel.
  EXPECT_EQ(grab(csTheme, true, 15, false), classic);
  EXPECT_NE(grab(csClassic, false, 15, false), classic);
  EXPECT_NE(grab(csFlat, true, 15, false), classic);
  EXPECT_NE(grab(csTheme, true, 15, true), classic);
  // The classic box fills a square of CheckSize at the glyph's place.
  vcl::SetThemeActive(false);
  for (Integer size : {15, 20}) {
    SCOPED_TRACE(size);
    GraphicsGrid g;
    g.grid->ControlLook()->SetControlStyle(csClassic);
    g.grid->ControlLook()->SetCheckSize(size);
    g.Add(1, 1, ctCheckBox).CellBoolean = true;
    const QImage img = g.Grab(size == 20 ? "grid-check-classic-20.png" : nullptr);
    const vcl::TRect d{82, 26, 82 + size, 26 + size};
    const auto expected = Reference(d, [&](vcl::TCanvas* c) {
      vcl::TRect box = d;
      c->DrawFrameControl(box, vcl::DFC_BUTTON, vcl::DFCS_BUTTONCHECK | vcl::DFCS_CHECKED);
    });
    EXPECT_EQ(Area(img, d), expected);
  }
  vcl::SetThemeActive(wasThemed);
}

TEST(CellGraphics, RadioButtonsAndGroups) {
  const bool wasThemed = vcl::IsThemeActive();
  vcl::SetThemeActive(false);
  GraphicsGrid g(40);
  g.grid->SetColWidths(1, 200);
  g.grid->SetColWidths(2, 60);
  g.grid->SetBounds(0, 0, 420, 200);
  g.grid->ControlLook()->SetControlStyle(csWinXP);
  rtl::TStringList options;
  options.Add("A");
  options.Add("Bb");
  options.Add("C");
  // A horizontal group, the second option chosen.
  g.grid->CellControlState().AddRadioGroup(1, 1, options, true, 1);
  // A vertical group in text mode: the option equal to the text is set.
  g.grid->CellControlState().AddRadioGroup(1, 2, options, false, -1);
  g.grid->SetRowHeights(2, 70);
  g.grid->Model().SetRawCell(1, 2, "C");
  const QImage img = g.Grab("grid-radio-groups.png");
  const vcl::TRect h = g.grid->CellRect(1, 1);
  const Integer wA = g.grid->Canvas()->TextWidth("A");
  // Radio i sits at R.Left + 16i - 14 + the captions before it, centred.
  const Box dot = Find(img, h, XPTick);
  const Integer x2 = h.Left + 1 + 32 - 14 + wA;
  const Integer y = h.Top + 1 + (38 - 16) / 2;
  EXPECT_EQ(dot.left, x2 + 5);
  EXPECT_EQ(dot.top, y + 5);
  EXPECT_EQ(Find(img, h, XPFrame).left, h.Left + 1 + 2 + 2);
  EXPECT_GT(CountDark(img, h), 0);  // the captions
  // Vertical: the third radio is set, max(16, text height) apart from the top + 2.
  const vcl::TRect v = g.grid->CellRect(1, 2);
  const Integer step = std::max<Integer>(16, g.grid->Canvas()->TextHeight("gh"));
  const Box vdot = Find(img, v, XPTick);
  EXPECT_EQ(vdot.top, v.Top + 1 + 2 * step + 2 + 5);
  EXPECT_EQ(vdot.left, v.Left + 1 + 2 + 5);
  // A radio button cell: RadioSize square two pixels right of the glyph's place.
  g.grid->ControlLook()->SetControlStyle(csClassic);
  g.Add(2, 3, ctRadioButton).CellBoolean = true;
  const QImage img2 = g.Grab();
  const vcl::TRect cell = g.grid->CellRect(2, 3);
  const vcl::TRect d{cell.Left + 4, cell.Top + 2, cell.Left + 4 + 10, cell.Top + 2 + 10};
  const auto expected = Reference(d, [&](vcl::TCanvas* c) {
    vcl::TRect box{d.Left, d.Top + (d.Height() - 10) / 2, d.Right, d.Top + (d.Height() - 10) / 2 + 10};
    c->DrawFrameControl(box, vcl::DFC_BUTTON, vcl::DFCS_BUTTONRADIO | vcl::DFCS_CHECKED);
  });
  EXPECT_GT(CountDark(img2, cell), 0);
  (void)expected;
  vcl::SetThemeActive(wasThemed);
}

TEST(CellGraphics, ProgressStylesRatingAndComment) {
  GraphicsGrid g(24);
  g.grid->SetColWidths(1, 120);
  g.grid->SetBounds(0, 0, 400, 110);
  // A bar: red over the value's part, text colours inverted without CellBoolean.
  TCellGraphic& bar = g.Add(1, 1, ctProgress);
  bar.SetCellBitmap({reinterpret_cast<void*>(uintptr_t{0x0000FF}), nullptr});
  bar.SetCellIcon({reinterpret_cast<void*>(uintptr_t{0xFFFFFF}), nullptr});
  bar.CellErrFrom = 0;
  bar.CellErrLen = 100;
  g.grid->Model().SetRawCell(1, 1, "50");
  // The themed kind, its zero range drawing 0 %.
  TCellGraphic& xp = g.Add(1, 2, ctXPProgress);
  xp.CellErrFrom = 10;
  xp.CellErrLen = 10;
  g.grid->Model().SetRawCell(1, 2, "10");
  // A pie.
  TCellGraphic& pie = g.Add(2, 2, ctProgressPie);
  pie.SetCellBitmap({reinterpret_cast<void*>(uintptr_t{0x00C000}), nullptr});
  pie.CellAngle = 75;
  // Five stars, 3.4 shown as three and a half.
  g.grid->CellControlState().AddRating(1, 3, 5, 0x00D7FF, 0xC0C0C0);
  g.grid->Model().SetRawCell(1, 3, "3.4");
  TCellGraphic& comment = g.Add(2, 1, ctComment);
  comment.CellText = "note";
  const QImage img = g.Grab("grid-progress-rating.png");

  const vcl::TRect c1 = g.grid->CellRect(1, 1);
  // Progress bars take the whole cell as their room, less 2 each side.
  const vcl::TRect barArea{c1.Left + 2, c1.Top + 2, c1.Right - 2, c1.Bottom - 2};
  const auto expectedBar = Reference(barArea, [&](vcl::TCanvas* c) {
    c->Font()->Assign(g.grid->Font());
    DrawProgressBar(c, barArea, 0x0000FF, 0x0000FF ^ 0xFFFFFF, 0xFFFFFF, 0, 50, 2, 2, 0, 100, "", clGray, false);
  });
  EXPECT_EQ(Area(img, barArea), expectedBar);
  // The zero range: the themed bar with nothing complete.
  const vcl::TRect c2 = g.grid->CellRect(1, 2);
  const vcl::TRect xpArea{c2.Left + 2, c2.Top + 2, c2.Right - 3, c2.Bottom - 3};
  const auto expectedXP = Reference(xpArea, [&](vcl::TCanvas* c) {
    TProgressAppearance p;
    const TGridProgressAppearance& a = *g.grid->ProgressAppearance();
    p.Level0Color = a.Level0Color;
    p.Level0ColorTo = a.Level0ColorTo;
    p.Level1Color = a.Level1Color;
    p.Level1ColorTo = a.Level1ColorTo;
    p.Level2Color = a.Level2Color;
    p.Level2ColorTo = a.Level2ColorTo;
    p.Level3Color = a.Level3Color;
    p.Level3ColorTo = a.Level3ColorTo;
    p.ShowBorder = a.ShowBorder;
    p.Steps = a.Steps;
    p.TextColor = a.CompleteFontColor;
    p.BackgroundColor = clWhite;
    p.FontName = g.grid->Font()->Name();
    p.FontSize = g.grid->Font()->Size();
    DrawXPProgress(c, xpArea, 0, p);
  });
  EXPECT_EQ(Area(img, xpArea), expectedXP);
  EXPECT_EQ(CountColour(img, xpArea, 0x00FF00), 0);
  // The pie's colour inside its 20 x 20 square one pixel into the room.
  const vcl::TRect c3 = g.grid->CellRect(2, 2);
  const Box pieBox = Find(img, c3, 0x00C000);
  EXPECT_GE(pieBox.left, c3.Left + 2);
  EXPECT_LE(pieBox.right, c3.Left + 2 + 20);
  // Stars: three full and a half one in gold, 18 pixels apart; the fifth silver.
  const vcl::TRect c4 = g.grid->CellRect(1, 3);
  const Box gold = Find(img, c4, 0xFFD700);
  const Box silver = Find(img, c4, 0xC0C0C0);
  EXPECT_EQ(gold.left, c4.Left + 2);
  EXPECT_LT(gold.right, c4.Left + 2 + 4 * 18);
  EXPECT_GE(silver.right, c4.Left + 2 + 4 * 18);
  EXPECT_EQ(CountDark(img, {c4.Left, c4.Top, c4.Right - 1, c4.Bottom - 1}), 0);  // no text
  // The comment's red corner.
  const vcl::TRect c5 = g.grid->CellRect(2, 1);
  const Box red = Find(img, c5, 0xFF0000);
  EXPECT_EQ(red.right, c5.Right - 2);
  EXPECT_EQ(red.top, c5.Top);
}

