// The colour picker's panels on the offscreen platform: the honeycomb's 127
// cell centres and colours against the row rule, the hit test's edge
// points, a hover move repainting exactly the two cells it touches with the
// hint naming the new cell's components, selection by a real press; the
// spectrum's layout, its generated bitmap, and a press choosing the
// bitmap's colour under the press with or without a move before it; the
// discrete selector's box rectangles, keys, chosen colours and the pixels
// of a framed and an unframed box.
#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "DropdownTestSupport.h"
#include "dropdown/LumColorPanels.h"
#include "dropdown/LumColorSelector.h"
#include "vcl/Forms.h"

namespace dropdown {
namespace {

using namespace ddtest;

TColor FromRgb(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

// Counts the cells drawn, to see what a hover move repaints.
class CountingCube : public TLumColorCubePanel {
 public:
  using TLumColorCubePanel::TLumColorCubePanel;
  void DrawCell(Integer index, TCanvas* canvas) override {
    drawn.push_back(index);
    TLumColorCubePanel::DrawCell(index, canvas);
  }
  std::vector<Integer> drawn;
};

struct CubeRig {
  TForm* owner = MakeForm(220, 200);
  CountingCube* cube = nullptr;
  int selects = 0, releases = 0;
  CubeRig() {
    cube = new CountingCube(owner);
    cube->SetParent(owner);
    cube->SetBounds(5, 5, 182, 160);
    cube->OnSelect = [this](TObject*) { ++selects; };
    cube->OnRelease = [this](TObject*) { ++releases; };
    Pump();
  }
  ~CubeRig() { Free(owner); }
};

TEST(ColorCube, AllCellCentresFollowTheRowRule) {
  CubeRig rig;
  int n = 1;
  for (int r = 1; r <= 13; ++r) {
    const int count = r <= 7 ? r + 6 : 20 - r;
    const int startX = r <= 7 ? 55 - 6 * (r - 1) : 19 + 6 * (r - 7);
    for (int k = 0; k < count; ++k, ++n) {
      const TCubeCell& c = rig.cube->Cell(n);
      EXPECT_EQ(c.X, startX + 12 * k) << "cell " << n;
      EXPECT_EQ(c.Y, 20 + 10 * (r - 1)) << "cell " << n;
    }
  }
  EXPECT_EQ(n, 128);
  struct Spot {
    int cell, x, y;
    uint32_t rgb;
  } spots[] = {
      {1, 55, 20, 0x003366}, {7, 127, 20, 0x000066},   {58, 19, 80, 0x003300},  {64, 91, 80, 0xFFFFFF},
      {70, 163, 80, 0x660066}, {121, 55, 140, 0x663300}, {127, 127, 140, 0xA50021}, {89, 103, 100, 0xFF9999},
  };
  for (const Spot& s : spots) {
    const TCubeCell& c = rig.cube->Cell(s.cell);
    EXPECT_EQ(c.X, s.x) << s.cell;
    EXPECT_EQ(c.Y, s.y) << s.cell;
    EXPECT_EQ(c.Color, FromRgb(s.rgb)) << s.cell;
  }
  // 127 distinct colours.
  std::vector<TColor> colours;
  for (int i = 1; i <= 127; ++i) colours.push_back(rig.cube->Cell(i).Color);
  std::sort(colours.begin(), colours.end());
  EXPECT_EQ(std::unique(colours.begin(), colours.end()), colours.end());
}

TEST(ColorCube, TheHitTestIsACircleOfTheHexWidth) {
  CubeRig rig;
  for (int i : {1, 30, 64, 100, 127}) {
    SCOPED_TRACE(i);
    const TCubeCell& c = rig.cube->Cell(i);
    EXPECT_EQ(rig.cube->CellAt(c.X, c.Y), i);
    EXPECT_EQ(rig.cube->CellAt(c.X + 6, c.Y), i);  // on the circle; also the next cell's, which comes later
    EXPECT_EQ(rig.cube->CellAt(c.X, c.Y - 6), i == 1 ? 1 : rig.cube->CellAt(c.X, c.Y - 6));
    EXPECT_EQ(rig.cube->CellAt(c.X + 5, c.Y + 4), -1);  // 25 + 16 > 36
    EXPECT_EQ(rig.cube->CellAt(c.X - 4, c.Y + 4), i);   // 16 + 16 <= 36
  }
  EXPECT_EQ(rig.cube->CellAt(0, 0), -1);
  EXPECT_EQ(rig.cube->CellAt(19, 80), 58);
  EXPECT_EQ(rig.cube->CellAt(163, 80), 70);
}

TEST(ColorCube, AHoverMoveRepaintsExactlyTwoCellsAndNamesTheColour) {
  CubeRig rig;
  QWidget* w = rig.cube->Widget();
  const TCubeCell& five = rig.cube->Cell(5);
  const TCubeCell& six = rig.cube->Cell(6);
  QTest::mouseMove(w, QPoint(five.X, five.Y));
  Pump();
  EXPECT_EQ(rig.cube->HoverIndex(), 5);
  rig.cube->drawn.clear();
  QTest::mouseMove(w, QPoint(six.X, six.Y));
  Pump();
  EXPECT_EQ(rig.cube->HoverIndex(), 6);
  EXPECT_EQ(rig.cube->drawn, (std::vector<Integer>{5, 6}));
  EXPECT_EQ(rig.cube->Hint(), "Red: 0,  Green: 0,  Blue: 204");
  // Between the circles: no hint, the frame stays on the last cell.
  QTest::mouseMove(w, QPoint(six.X + 5, six.Y + 4));
  Pump();
  EXPECT_EQ(rig.cube->Hint(), "");
  EXPECT_EQ(rig.cube->HoverIndex(), 6);
  rig.cube->ClearHover();
  EXPECT_EQ(rig.cube->HoverIndex(), -1);
  EXPECT_EQ(rig.cube->Width(), 182);
  EXPECT_EQ(rig.cube->Height(), 160);
}

TEST(ColorCube, APressSelectsACellAndSelectedColourFindsItsCell) {
  CubeRig rig;
  QWidget* w = rig.cube->Widget();
  const TCubeCell& white = rig.cube->Cell(64);
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(white.X, white.Y));
  Pump();
  EXPECT_EQ(rig.cube->SelectedIndex(), 64);
  EXPECT_EQ(rig.cube->SelectedColor(), TColor(0xFFFFFF));
  EXPECT_EQ(rig.selects, 1);
  EXPECT_EQ(rig.releases, 1);
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(white.X + 5, white.Y + 4));  // no cell
  Pump();
  EXPECT_EQ(rig.selects, 1);
  EXPECT_EQ(rig.cube->SelectedIndex(), 64);
  rig.cube->SetSelectedColor(FromRgb(0xCC0000));
  EXPECT_EQ(rig.cube->SelectedIndex(), 119);
  rig.cube->SetSelectedColor(0x123456);  // no such cell
  EXPECT_EQ(rig.cube->SelectedIndex(), -1);
  EXPECT_EQ(rig.cube->SelectedColor(), TColor(0x123456));
  // The selection frame on real pixels: black outer, white inner, the
  // cell's colour in the middle.
  rig.cube->SetSelectedColor(FromRgb(0x0000CC));  // cell 6
  rig.cube->Invalidate();
  Pump();
  QImage shot = Grab(rig.cube);
  SaveShot(shot, "dropdown_color_cube.png");
  const TCubeCell& six = rig.cube->Cell(6);
  EXPECT_EQ(PixelAt(shot, six.X, six.Y), FromRgb(0x0000CC));
  EXPECT_EQ(PixelAt(shot, six.X - 5, six.Y), TColor(clBlack));
  EXPECT_EQ(PixelAt(shot, six.X - 4, six.Y), TColor(clWhite));
  EXPECT_TRUE(rig.cube->ShowHint());
}

struct SpectrumRig {
  TForm* owner = MakeForm(200, 200);
  TLumColorSpectrumPanel* panel = nullptr;
  int selects = 0;
  SpectrumRig() {
    panel = new TLumColorSpectrumPanel(owner);
    panel->SetParent(owner);
    panel->SetLeft(5);
    panel->SetTop(5);
    panel->LayoutSpectrum();
    panel->OnSelect = [this](TObject*) { ++selects; };
    Pump();
  }
  ~SpectrumRig() { Free(owner); }
  void Press(int x, int y) {
    QTest::mouseClick(panel->Widget(), Qt::LeftButton, {}, QPoint(panel->SpectrumImage()->Left() + x,
                                                                  panel->SpectrumImage()->Top() + y));
    Pump();
  }
};

TEST(ColorSpectrum, LayoutAndTheGeneratedBitmap) {
  SpectrumRig rig;
  EXPECT_EQ(rig.panel->Width(), 150);
  EXPECT_EQ(rig.panel->Height(), 174);
  EXPECT_EQ(rig.panel->SpectrumImage()->Left(), 11);
  EXPECT_EQ(rig.panel->SpectrumImage()->Top(), 10);
  EXPECT_EQ(rig.panel->SelectedBox(), (TRect{10, 146, 73, 166}));
  EXPECT_EQ(rig.panel->HotBox(), (TRect{77, 146, 140, 166}));
  EXPECT_EQ(rig.panel->HotColor(), clNone);
  EXPECT_EQ(rig.panel->SelectedColor(), TColor(0xFFFFFF));
  TBitmap* b = rig.panel->SpectrumBitmap();
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->Width(), 128);
  ASSERT_EQ(b->Height(), 128);
  // White along the top, black along the bottom, pure hues on row 64.
  struct Point {
    int x, y;
    TColor colour;
  } points[] = {{0, 0, 0xFFFFFF},  {100, 0, 0xFFFFFF}, {5, 127, 0x000000}, {0, 64, 0x0000FF},
                {64, 64, 0xFFFF00}, {32, 64, 0x00FF80}, {96, 64, 0xFF0080}};
  for (const Point& p : points) EXPECT_EQ(b->Canvas()->Pixels(p.x, p.y), p.colour) << p.x << "," << p.y;
  // The pointer for picking colours is one of the screen's cursors.
  EXPECT_NE(Screen->Cursors(TLumColorSpectrumPanel::crColorPointer), 0u);
  EXPECT_EQ(rig.panel->SpectrumImage()->Cursor(), TLumColorSpectrumPanel::crColorPointer);
  QImage shot = Grab(rig.panel);
  SaveShot(shot, "dropdown_color_spectrum.png");
  // The image shows the bitmap, framed white then grey.
  EXPECT_EQ(PixelAt(shot, 11 + 64, 10 + 64), TColor(0xFFFF00));
  EXPECT_EQ(PixelAt(shot, 10, 60), TColor(clWhite));
  EXPECT_EQ(PixelAt(shot, 9, 60), TColor(0x808080));
}

TEST(ColorSpectrum, APressTakesTheBitmapsColourUnderIt) {
  SpectrumRig rig;
  TBitmap* b = rig.panel->SpectrumBitmap();
  // Without a move first: the colour under the press, not clNone.
  rig.Press(64, 64);
  EXPECT_EQ(rig.panel->SelectedColor(), b->Canvas()->Pixels(64, 64));
  EXPECT_EQ(rig.panel->SelectedColor(), TColor(0xFFFF00));
  EXPECT_EQ(rig.selects, 1);
  // After a move elsewhere: still the colour under the press.
  QTest::mouseMove(rig.panel->Widget(), QPoint(11 + 10, 10 + 100));
  Pump();
  EXPECT_EQ(rig.panel->HotColor(), b->Canvas()->Pixels(10, 100));
  rig.Press(90, 30);
  EXPECT_EQ(rig.panel->SelectedColor(), b->Canvas()->Pixels(90, 30));
  EXPECT_EQ(rig.selects, 2);
  // The boxes show the two colours.
  QImage shot = Grab(rig.panel);
  EXPECT_EQ(PixelAt(shot, 40, 156), b->Canvas()->Pixels(90, 30));
  EXPECT_EQ(PixelAt(shot, 100, 156), rig.panel->HotColor());
}

struct SelectorBoxRig {
  TForm* owner = MakeForm(220, 120);
  TCustomColorSelector* sel = nullptr;
  int chosen = 0;
  SelectorBoxRig() {
    sel = new TCustomColorSelector(owner);
    sel->SetParent(owner);
    sel->FillThemePalette();
    sel->ArrangeBoxes();
    sel->OnSelectBox = [this](TObject*) { ++chosen; };
    Pump();
  }
  ~SelectorBoxRig() { Free(owner); }
};

TEST(ColorSelector, BoxesInRowsOfTenWithStripsJoined) {
  SelectorBoxRig rig;
  ASSERT_EQ(rig.sel->Boxes()->Count(), 60);
  const int rowTops[] = {4, 20, 32, 44, 56, 68};
  for (int i = 0; i < 60; ++i) {
    const int x = 4 + 16 * (i % 10), y = rowTops[i / 10];
    EXPECT_EQ(rig.sel->Boxes()->Items(i)->BoxRect(), (TRect{x, y, x + 12, y + 12})) << i;
  }
  EXPECT_EQ(rig.sel->Width(), 165);
  EXPECT_EQ(rig.sel->Height(), 84);
  EXPECT_EQ(rig.sel->Boxes()->Items(3)->Color(), FromRgb(0x1F497D));
  EXPECT_EQ(rig.sel->Boxes()->Items(15)->ColorBoxPos(), TItemPos::ipTop);
  EXPECT_EQ(rig.sel->Boxes()->Items(59)->ColorBoxPos(), TItemPos::ipBottom);
  EXPECT_EQ(rig.sel->BoxAt(4, 4), 0);
  EXPECT_EQ(rig.sel->BoxAt(15, 15), 0);
  EXPECT_EQ(rig.sel->BoxAt(16, 10), -1);  // the right edge is outside
  EXPECT_EQ(rig.sel->BoxAt(20, 31), 11);
  EXPECT_EQ(rig.sel->BoxAt(20, 32), 21);  // strips touch
  EXPECT_EQ(rig.sel->BoxAt(20, 17), -1);  // the gap under the stand-alone row
  TCustomColorSelector empty(nullptr);
  empty.ArrangeBoxes();
  EXPECT_EQ(empty.Width(), 100);
  EXPECT_EQ(empty.Height(), 50);
  empty.HandleKey(VK_DOWN, false, true);
  EXPECT_EQ(empty.SelectedIndex(), -1);
}

TEST(ColorSelector, KeysMoveTheChoiceByPopupState) {
  SelectorBoxRig rig;
  struct Step {
    const char* name;
    int from;
    Word key;
    bool editor, open;
    int to;
  } steps[] = {
      {"open: down a row", 3, VK_DOWN, false, true, 13},
      {"open: up a row", 13, VK_UP, false, true, 3},
      {"open: down past the end", 55, VK_DOWN, false, true, 55},
      {"open: up from none", -1, VK_UP, false, true, 0},
      {"open: down from none", -1, VK_DOWN, false, true, 0},
      {"closed: down is the next box", 9, VK_DOWN, false, false, 10},
      {"closed: up is the previous box", 10, VK_UP, false, false, 9},
      {"right", 4, VK_RIGHT, false, true, 5},
      {"right kept by a closed editable edit", 4, VK_RIGHT, true, false, 4},
      {"left", 4, VK_LEFT, true, true, 3},
      {"home", 30, VK_HOME, false, true, 0},
      {"page down", 30, VK_NEXT, false, false, 59},
      {"end", 30, VK_END, false, true, 59},
      {"page up", 30, VK_PRIOR, false, true, 0},
      {"not a navigation key", 30, VK_RETURN, false, true, 30},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    rig.sel->SelectBox(s.from);
    rig.sel->HandleKey(s.key, s.editor, s.open);
    EXPECT_EQ(rig.sel->SelectedIndex(), s.to);
  }
}

TEST(ColorSelector, ChoosingAndShowingColours) {
  SelectorBoxRig rig;
  rig.sel->Boxes()->Items(7)->SetEnabled(false);
  rig.sel->SelectBox(2);
  EXPECT_EQ(rig.sel->SelectedColor(), FromRgb(0xEEECE1));
  EXPECT_EQ(rig.chosen, 1);
  rig.sel->SelectBox(2);  // again: told again
  EXPECT_EQ(rig.chosen, 2);
  rig.sel->SelectBox(7);  // disabled
  EXPECT_EQ(rig.sel->SelectedIndex(), 2);
  EXPECT_EQ(rig.chosen, 2);
  rig.sel->SelectColor(FromRgb(0x4BACC6));
  EXPECT_EQ(rig.sel->SelectedIndex(), 8);
  rig.sel->SelectColor(0x010203);  // in no box
  EXPECT_EQ(rig.sel->SelectedIndex(), -1);
  EXPECT_EQ(rig.sel->SelectedColor(), TColor(0x010203));
  rig.sel->SelectColor(clNone);
  EXPECT_EQ(rig.sel->SelectedIndex(), -1);
  EXPECT_EQ(rig.sel->SelectedColor(), clNone);
  // The look resets the frame colours.
  rig.sel->Appearance()->SetBorderColor(0x00FF00);
  rig.sel->SetLook(2);
  EXPECT_EQ(rig.sel->Appearance()->BorderColor(), TColor(0xC5C5C5));
  rig.sel->Appearance()->SetBorderColor(0x00FF00);
  rig.sel->SetLook(0);
  EXPECT_EQ(rig.sel->Appearance()->BorderColor(), TColor(0x00FF00));
  // Hovering a disabled box clears the hot one.
  QWidget* w = rig.sel->Widget();
  QTest::mouseMove(w, QPoint(4 + 16 * 6 + 5, 8));
  Pump();
  EXPECT_EQ(rig.sel->HotIndex(), 6);
  QTest::mouseMove(w, QPoint(4 + 16 * 7 + 5, 8));
  Pump();
  EXPECT_EQ(rig.sel->HotIndex(), -1);
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4 + 16 * 7 + 5, 8));
  Pump();
  EXPECT_NE(rig.sel->SelectedIndex(), 7);
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4 + 16 * 1 + 5, 25));
  Pump();
  EXPECT_EQ(rig.sel->SelectedIndex(), 11);
}

TEST(ColorSelector, FramedAndUnframedBoxesOnPixels) {
  SelectorBoxRig rig;
  rig.sel->SelectBox(3);
  rig.sel->SetHotIndex(3);  // the chosen frame wins
  rig.sel->Invalidate();
  Pump();
  QImage shot = Grab(rig.sel);
  SaveShot(shot, "dropdown_color_selector.png");
  const TColor border = 0xC5C5C5;
  struct Pixel {
    const char* what;
    int x, y;
    TColor colour;
  } pixels[] = {
      {"chosen: red outer frame", 52, 4, 0x0000FF},
      {"chosen: red outer frame, far corner", 63, 15, 0x0000FF},
      {"chosen: light inner frame", 53, 5, 0x94E2FF},
      {"chosen: its colour inside", 58, 10, FromRgb(0x1F497D)},
      {"stand-alone: left line", 68, 10, border},
      {"stand-alone: top line", 74, 4, border},
      {"stand-alone: right line past the box", 80, 10, border},
      {"stand-alone: bottom line past the box", 74, 16, border},
      {"stand-alone: its colour", 74, 10, FromRgb(0x4F81BD)},
      {"middle: left line", 68, 38, border},
      {"middle: right line", 80, 38, border},
      {"middle: no top line", 74, 32, FromRgb(0xB8CCE4)},
      {"top of a strip: top line", 74, 20, border},
  };
  for (const Pixel& p : pixels) EXPECT_EQ(PixelAt(shot, p.x, p.y), p.colour) << p.what;
}

}  // namespace
}  // namespace dropdown
