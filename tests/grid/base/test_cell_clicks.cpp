// Clicks on cells through the class library's mouse messages: check boxes
// and radio buttons with the owner refusing or allowing, radio groups,
// cell buttons pressed and released, ratings, the spin buttons of
// always-visible spin cells, double clicks on header borders and on fixed
// cells, and OnCanClickCell ending a press.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "GridTestInput.h"
#include "grid/GridComponent.h"
#include "grid/GridSpin.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/StdCtrls.h"

using namespace grid;

namespace {

struct ClickGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> log;
  explicit ClickGrid(bool editing = true) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 300);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBorderStyle(vcl::TGridBorderStyle::bsNone);
    grid->SetScrollBars(vcl::ssNone);
    grid->SetColCount(4);
    grid->SetRowCount(5);
    grid->SetDefaultColWidth(80);
    grid->SetDefaultRowHeight(24);
    grid->SetBounds(0, 0, 324, 124);
    if (editing) {
      auto options = grid->Options();
      options.Include(vcl::goEditing);
      grid->SetOptions(options);
    }
    grid->OnCheckBoxClick = [this](vcl::TObject*, Integer c, Integer r, bool s) {
      log.push_back("CheckBoxClick " + std::to_string(c) + "," + std::to_string(r) + (s ? " on" : " off"));
    };
    grid->OnCheckBoxMouseUp = [this](vcl::TObject*, Integer c, Integer r, bool s) {
      log.push_back("CheckBoxMouseUp " + std::to_string(c) + "," + std::to_string(r) + (s ? " on" : " off"));
    };
    grid->OnClickCell = [this](vcl::TObject*, Integer r, Integer c) {
      log.push_back("ClickCell " + std::to_string(r) + "," + std::to_string(c));
    };
    grid->OnButtonClick = [this](vcl::TObject*, Integer c, Integer r) {
      log.push_back("ButtonClick " + std::to_string(c) + "," + std::to_string(r));
    };
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~ClickGrid() { vcl::Free(form); }
  TCellGraphic& Add(Integer col, Integer row, TCellType type) {
    TCellGraphic& g = grid->CellControlState().CreateCellGraphic(col, row);
    g.CellType = type;
    return g;
  }
  void Press(Integer x, Integer y) { grid_test::Press(grid, x, y); }
  void Release(Integer x, Integer y) { grid_test::Release(grid, x, y); }
  void Click(Integer x, Integer y) { grid_test::Click(grid, x, y); }
  void DoubleClick(Integer x, Integer y) {
    Click(x, y);
    grid->Perform(vcl::WM_LBUTTONDBLCLK, vcl::MK_LBUTTON, vcl::MakeLParam(x, y));
    Release(x, y);
  }
  vcl::TRect Cell(Integer c, Integer r) { return grid->CellRect(c, r); }
  std::vector<QRgb> Pixels(const vcl::TRect& a) {
    grid->Invalidate();
    vcl::Application->ProcessMessages();
    const QImage img = grid->Widget()->grab().toImage();
    std::vector<QRgb> v;
    for (int y = a.Top; y < a.Bottom; ++y)
      for (int x = a.Left; x < a.Right; ++x) v.push_back(img.pixel(x, y));
    return v;
  }
};

}  // namespace

TEST(CellClicks, CheckBoxesWithTheOwnerRefusingAndAllowing) {
  struct Case {
    const char* name;
    bool editing, refuse, alwaysActive, precise;
    Integer dx;  // the press's offset from the cell's left
    bool toggles;
  };
  const std::vector<Case> cases = {
      {"editing, allowed", true, false, false, false, 40, true},
      {"editing, refused", true, true, false, false, 40, false},
      {"refused but always active", true, true, true, false, 40, true},
      {"no editing", false, false, false, false, 40, false},
      {"no editing, always active", false, false, true, false, 40, true},
      {"precise, beside the box", true, false, false, true, 40, false},
      {"precise, on the box", true, false, false, true, 8, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ClickGrid g(k.editing);
    g.grid->OnCanEditCell = [&](vcl::TObject*, Integer, Integer, bool& can) { can = can && !k.refuse; };
    g.grid->ControlLook()->CheckAlwaysActive = k.alwaysActive;
    g.grid->MouseActions()->PreciseCheckBoxCheck = k.precise;
    g.Add(2, 2, ctCheckBox);
    const vcl::TRect c = g.Cell(2, 2);
    g.Click(c.Left + k.dx, c.Top + 8);
    EXPECT_EQ(g.grid->Model().CellGraphic(2, 2)->CellBoolean, k.toggles);
    if (k.toggles) {
      EXPECT_EQ(g.log.front(), "CheckBoxClick 2,2 on");
      EXPECT_EQ(g.grid->Col(), 2);
      EXPECT_EQ(g.grid->Row(), 2);
    } else {
      EXPECT_EQ(std::count(g.log.begin(), g.log.end(), "CheckBoxClick 2,2 on"), 0);
    }
    EXPECT_EQ(g.log.back(), std::string("CheckBoxMouseUp 2,2 ") + (k.toggles ? "on" : "off"));
  }
}

TEST(CellClicks, RadioButtonsAndGroups) {
  ClickGrid g;
  for (Integer r = 1; r < 5; ++r) g.Add(1, r, ctRadioButton);
  g.grid->Model().CellGraphic(1, 4)->CellBoolean = true;
  std::vector<std::string> radio;
  g.grid->OnRadioButtonClick = [&](vcl::TObject*, Integer c, Integer r) {
    radio.push_back(std::to_string(c) + "," + std::to_string(r));
  };
  const vcl::TRect c = g.Cell(1, 2);
  g.Click(c.Left + 6, c.Top + 6);
  for (Integer r = 1; r < 5; ++r) EXPECT_EQ(g.grid->Model().CellGraphic(1, r)->CellBoolean, r == 2) << r;
  EXPECT_EQ(radio, (std::vector<std::string>{"1,2"}));
  // A radio group side by side: the second option's span.
  g.grid->SetColWidths(2, 200);
  g.grid->SetBounds(0, 0, 480, 124);
  rtl::TStringList options;
  options.Add("One");
  options.Add("Two");
  TCellGraphic& group = g.grid->CellControlState().AddRadioGroup(2, 3, options, true, 0);
  std::vector<Integer> chosen;
  g.grid->OnRadioClick = [&](vcl::TObject*, Integer, Integer, Integer i) { chosen.push_back(i); };
  g.grid->ControlLook()->SetControlStyle(csClassic);
  const Integer first = g.grid->Canvas()->TextWidth("One") + 10;
  const vcl::TRect gc = g.Cell(2, 3);
  g.Click(gc.Left + first + 5, gc.Top + 10);
  EXPECT_EQ(group.CellIndex, 1);
  EXPECT_EQ(chosen, (std::vector<Integer>{1}));
  // Read-only: only with RadioAlwaysActive.
  g.grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer, bool& can) { can = false; };
  g.Click(gc.Left + 3, gc.Top + 10);
  EXPECT_EQ(group.CellIndex, 1);
  g.grid->ControlLook()->RadioAlwaysActive = true;
  g.Click(gc.Left + 3, gc.Top + 10);
  EXPECT_EQ(group.CellIndex, 0);
}

TEST(CellClicks, CellButtonPressAndRelease) {
  ClickGrid g;
  g.grid->CellControlState().AddButton(2, 1, 60, 18, "Go", haLeft, vaTop);
  const vcl::TRect c = g.Cell(2, 1);
  g.grid->SetCol(2);
  g.grid->SetRow(1);
  const auto released = g.Pixels(c);  // painting records the button's offset
  g.Press(c.Left + 20, c.Top + 8);
  EXPECT_TRUE(g.grid->Model().CellGraphic(2, 1)->CellBoolean);
  EXPECT_EQ(g.grid->PressedCellButton(), (TCellCoord{2, 1}));
  const auto pressed = g.Pixels(c);
  EXPECT_NE(pressed, released);
  g.Release(c.Left + 20, c.Top + 8);
  EXPECT_FALSE(g.grid->Model().CellGraphic(2, 1)->CellBoolean);
  EXPECT_EQ(g.Pixels(c), released);
  EXPECT_EQ(g.log, (std::vector<std::string>{"ClickCell 1,2", "ButtonClick 2,1"}));
  // Released outside the button: no click, the look back.
  g.log.clear();
  g.Press(c.Left + 20, c.Top + 8);
  g.Release(c.Left + 75, c.Top + 22);
  EXPECT_FALSE(g.grid->Model().CellGraphic(2, 1)->CellBoolean);
  EXPECT_EQ(g.log, (std::vector<std::string>{"ClickCell 1,2"}));
  // Beside the button nothing is pressed.
  g.Press(c.Left + 75, c.Top + 22);
  EXPECT_FALSE(g.grid->Model().CellGraphic(2, 1)->CellBoolean);
  g.Release(c.Left + 75, c.Top + 22);
}

TEST(CellClicks, RatingsAndTheirVeto) {
  ClickGrid g;
  g.grid->CellControlState().AddRating(1, 1, 5, 0x00D7FF, 0xC0C0C0);
  const vcl::TRect c = g.Cell(1, 1);
  bool allow = true;
  std::vector<double> asked;
  g.grid->OnRatingChange = [&](vcl::TObject*, Integer, Integer, double& rate, bool& a) {
    asked.push_back(rate);
    a = allow;
  };
  // 31 pixels in: 31 / 9 rounds to 3, halved 1.5 stars.
  g.Click(c.Left + 31, c.Top + 8);
  EXPECT_EQ(g.grid->Cells(1, 1), "1.5");
  g.Click(c.Left + 72, c.Top + 8);
  EXPECT_EQ(g.grid->Cells(1, 1), "4");
  allow = false;
  g.Click(c.Left + 18, c.Top + 8);
  EXPECT_EQ(g.grid->Cells(1, 1), "4");
  EXPECT_EQ(asked, (std::vector<double>{1.5, 4, 1}));
}

TEST(CellClicks, SpinButtonsOfAlwaysVisibleSpinCells) {
  ClickGrid g;
  g.grid->ControlLook()->SetSpinButtonsAlwaysVisible(true);
  g.grid->OnGetEditorType = [](vcl::TObject*, Integer c, Integer, TEditorType& e) {
    if (c == 2) e = edSpinEdit;
  };
  g.grid->Model().SetRawCell(2, 2, "5");
  const vcl::TRect c = g.Cell(2, 2);
  g.Click(c.Right - 6, c.Top + 4);
  auto* spin = dynamic_cast<TGridSpin*>(g.grid->ActiveEditorControl());
  ASSERT_NE(spin, nullptr);
  EXPECT_TRUE(g.grid->SpinUpPressed());
  EXPECT_EQ(spin->Value(), 6);
  g.grid->HideCellEditor();
  EXPECT_EQ(g.grid->Cells(2, 2), "6");
  g.Click(c.Right - 6, c.Bottom - 4);
  spin = dynamic_cast<TGridSpin*>(g.grid->ActiveEditorControl());
  ASSERT_NE(spin, nullptr);
  EXPECT_TRUE(g.grid->SpinDownPressed());
  EXPECT_EQ(spin->Value(), 5);
  g.grid->HideCellEditor();
}

TEST(CellClicks, DoubleClickOnAHeaderBorderSizesTheColumn) {
  ClickGrid g;
  auto options = g.grid->Options();
  options.Include(vcl::goColSizing);
  g.grid->SetOptions(options);
  g.grid->Model().SetRawCell(2, 2, "a text wider than the eighty pixels of a column");
  g.grid->Model().SetRawCell(1, 3, "ab");
  vcl::TSize wide{}, narrow{};
  g.grid->MeasureCell(2, 2, wide, false, false);
  g.grid->MeasureCell(1, 3, narrow, false, false);
  std::vector<std::string> sized;
  bool allow = true;
  g.grid->OnColumnSize = [&](vcl::TObject*, Integer c, bool& a) {
    sized.push_back("size " + std::to_string(c));
    a = allow;
  };
  g.grid->OnEndColumnSize = [&](vcl::TObject*, Integer c) { sized.push_back("end " + std::to_string(c)); };
  // The right border of column 2's header: column 2.
  const vcl::TRect h2 = g.Cell(2, 0);
  g.DoubleClick(h2.Right - 2, h2.Top + 10);
  EXPECT_EQ(g.grid->ColWidths(2), 4 + wide.cx + 4);
  // The left border of column 2's header: column 1.
  const vcl::TRect h2b = g.Cell(2, 0);
  g.DoubleClick(h2b.Left + 1, h2b.Top + 10);
  EXPECT_EQ(g.grid->ColWidths(1), 4 + narrow.cx + 4);
  EXPECT_EQ(sized, (std::vector<std::string>{"size 2", "end 2", "size 1", "end 1"}));
  // Refused: no change.
  allow = false;
  g.grid->SetColWidths(2, 50);
  const vcl::TRect h3 = g.Cell(2, 0);
  g.DoubleClick(h3.Right - 2, h3.Top + 10);
  EXPECT_EQ(g.grid->ColWidths(2), 50);
}

TEST(CellClicks, DoubleClickEditsAFixedCell) {
  ClickGrid g;
  g.grid->MouseActions()->FixedRowsEdit = fceDblClick;
  g.grid->Model().SetRawCell(2, 0, "Head");
  const vcl::TRect h = g.Cell(2, 0);
  std::vector<std::string> dbl;
  g.grid->OnDblClickCell = [&](vcl::TObject*, Integer r, Integer c) {
    dbl.push_back(std::to_string(r) + "," + std::to_string(c));
  };
  g.DoubleClick(h.Left + 30, h.Top + 10);
  auto* edit = dynamic_cast<vcl::TEdit*>(g.grid->EditorControl(ecTransEdit));
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(edit->Visible());
  EXPECT_EQ(edit->Text(), "Head");
  EXPECT_EQ(edit->Left(), h.Left + 1);
  EXPECT_EQ(edit->Width(), h.Width() - 2);
  EXPECT_EQ(dbl, (std::vector<std::string>{"0,2"}));
  edit->SetText("New head");
  edit->Perform(vcl::WM_KEYDOWN, vcl::VK_RETURN, 0);
  EXPECT_FALSE(edit->Visible());
  EXPECT_EQ(g.grid->Cells(2, 0), "New head");
  // Escape drops the text.
  g.DoubleClick(h.Left + 30, h.Top + 10);
  ASSERT_TRUE(edit->Visible());
  edit->SetText("dropped");
  edit->Perform(vcl::WM_KEYDOWN, vcl::VK_ESCAPE, 0);
  EXPECT_EQ(g.grid->Cells(2, 0), "New head");
  // The owner making CanEdit True keeps the editor away.
  g.grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer, bool& can) { can = true; };
  g.DoubleClick(h.Left + 30, h.Top + 10);
  EXPECT_FALSE(edit->Visible());
}

TEST(CellClicks, OnCanClickCellFalseEndsThePress) {
  ClickGrid g;
  g.Add(2, 2, ctCheckBox);
  g.grid->SetRow(1);
  g.grid->SetCol(1);
  std::vector<std::string> asked;
  g.grid->OnCanClickCell = [&](vcl::TObject*, Integer r, Integer c, bool& allow) {
    asked.push_back(std::to_string(r) + "," + std::to_string(c));
    allow = false;
  };
  const vcl::TRect c = g.Cell(2, 2);
  g.Press(c.Left + 8, c.Top + 8);
  EXPECT_FALSE(g.grid->Model().CellGraphic(2, 2)->CellBoolean);
  EXPECT_EQ(g.grid->Row(), 1);
  EXPECT_EQ(g.grid->Col(), 1);
  EXPECT_EQ(asked, (std::vector<std::string>{"2,2"}));
  g.Release(c.Left + 8, c.Top + 8);
  // A plain cell's press ends too: the current cell stays.
  g.Click(g.Cell(3, 3).Left + 5, g.Cell(3, 3).Top + 5);
  EXPECT_EQ(g.grid->Row(), 1);
}
