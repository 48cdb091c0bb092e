// The state of controls in cells and the access to cell graphics: check
// boxes with their texts, radio groups and buttons, cell buttons, scroll
// bars, shapes and the other kinds, on a model without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/model/CellControlState.h"

using namespace grid;

namespace {

// Cells are 100 x 20 pixels from (0, 0); texts are 7 pixels a character
// and 14 high; every event is written down.
class FakeHost : public TCellControlHost {
 public:
  explicit FakeHost(TGridModel& m) : TCellControlHost(m) {}
  std::vector<std::string> log;
  bool allowEdit = true;
  AnsiString checkTrue = "Y", checkFalse = "N";
  TAlignment align = taLeftJustify;
  bool images = false;

  AnsiString CheckTrue(Integer, Integer) override { return checkTrue; }
  AnsiString CheckFalse(Integer, Integer) override { return checkFalse; }
  bool CanEdit(Integer col, Integer row) override {
    log.push_back("CanEdit " + std::to_string(col) + "," + std::to_string(row));
    return allowEdit;
  }
  void CheckBoxChange(Integer col, Integer row, bool state) override {
    log.push_back("Change " + std::to_string(col) + "," + std::to_string(row) + "=" + (state ? "1" : "0"));
  }
  void AddChange(Integer col, Integer row, const AnsiString& o, const AnsiString& n) override {
    log.push_back("Record " + std::to_string(col) + "," + std::to_string(row) + " " + o + ">" + n);
  }
  void RepaintCell(Integer col, Integer row) override {
    log.push_back("Repaint " + std::to_string(col) + "," + std::to_string(row));
  }
  void RepaintColumn(Integer col) override { log.push_back("RepaintColumn " + std::to_string(col)); }
  TPixelRect CellRect(Integer col, Integer row) override { return {col * 100, row * 20, col * 100 + 100, row * 20 + 20}; }
  TAlignment CellAlignment(Integer, Integer) override { return align; }
  Integer MeasureCellWidth(Integer col, Integer row) override {
    return static_cast<Integer>(Model().GetDisplayCell(col, row).size()) * 7;
  }
  TExtent TextExtent(std::string_view text) override { return {static_cast<Integer>(text.size()) * 7, 14}; }
  bool HasGridImages() override { return images; }
  TExtent GridImageSize() override { return {16, 16}; }
};

struct Fixture {
  TGridModel m;
  FakeHost host{m};
  Fixture() {
    m.SetColCount(4);
    m.SetRowCount(8);
  }
  TCellGraphic& Add(Integer col, Integer row, TCellType type) {
    TCellGraphic& g = host.CreateCellGraphic(col, row);
    g.CellType = type;
    return g;
  }
};

}  // namespace

TEST(CellControlState, CheckStateByKind) {
  struct Case {
    const char* name;
    TCellType type;
    const char* text;  // the cell's text before
    bool flag;         // CellBoolean before
    bool set;          // SetCellCheckState's state
    bool readBefore;
    const char* textAfter;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {"check box kept", ctCheckBox, "", true, true, true, "", {}},
      {"check box cleared", ctCheckBox, "", true, false, true, "", {"Change 1,2=0", "Repaint 1,2"}},
      {"data: neither text, set False", ctDataCheckBox, "maybe", false, false, false, "N", {}},
      {"data: lower-case y reads unchecked", ctDataCheckBox, "y", false, true, false, "Y", {"Change 1,2=1"}},
      {"data: checked kept", ctDataCheckBox, "Y", false, true, true, "Y", {}},
      {"virtual: checked cleared", ctVirtCheckBox, "Y", false, false, true, "N", {"Change 1,2=0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    TCellGraphic& g = f.Add(1, 2, c.type);
    g.CellBoolean = c.flag;
    f.m.SetRawCell(1, 2, c.text);
    bool state = !c.readBefore;
    ASSERT_TRUE(f.host.GetCellCheckState(1, 2, state));
    EXPECT_EQ(state, c.readBefore);
    EXPECT_TRUE(f.host.SetCellCheckState(1, 2, c.set));
    EXPECT_EQ(f.m.GetRawCell(1, 2), c.textAfter);
    EXPECT_EQ(f.host.log, c.log);
    ASSERT_TRUE(f.host.GetCellCheckState(1, 2, state));
    EXPECT_EQ(state, c.set);
  }
}

TEST(CellControlState, CustomCheckTextsAndToggle) {
  Fixture f;
  f.host.checkTrue = "Yes";
  f.host.checkFalse = "No";
  f.Add(2, 3, ctDataCheckBox);
  f.m.SetRawCell(2, 3, "No");
  EXPECT_TRUE(f.host.ToggleCheckBox(2, 3, true));
  EXPECT_EQ(f.m.GetRawCell(2, 3), "Yes");
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"CanEdit 2,3", "Repaint 2,3", "Change 2,3=1", "Record 2,3 No>Yes"}));
  // Refused by the owner: nothing changes, nothing fires.
  f.host.log.clear();
  f.host.allowEdit = false;
  EXPECT_FALSE(f.host.ToggleCheckBox(2, 3, true));
  EXPECT_EQ(f.m.GetRawCell(2, 3), "Yes");
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"CanEdit 2,3"}));
  // CheckAlwaysActive, or a toggle by the program, asks nobody.
  f.host.log.clear();
  f.host.CheckAlwaysActive = true;
  EXPECT_TRUE(f.host.ToggleCheckBox(2, 3, true));
  EXPECT_EQ(f.m.GetRawCell(2, 3), "No");
  f.host.CheckAlwaysActive = false;
  EXPECT_TRUE(f.host.ToggleCheckBox(2, 3, false));
  EXPECT_EQ(f.m.GetRawCell(2, 3), "Yes");
  EXPECT_EQ(std::count(f.host.log.begin(), f.host.log.end(), "CanEdit 2,3"), 0);
  // A plain cell is no check box.
  EXPECT_FALSE(f.host.ToggleCheckBox(1, 1, false));
}

TEST(CellControlState, HiddenRowsRealAndDisplayedNumbering) {
  Fixture f;
  for (Integer r = 1; r < 8; ++r) {
    TCellGraphic& g = f.Add(1, r, ctCheckBox);
    g.CellBoolean = false;
    f.m.SetRawCell(0, r, std::to_string(r));
  }
  f.m.HideRow(2);
  // Row 5 as shown is real row 6.
  EXPECT_TRUE(f.host.SetCellCheckState(1, 5, true));
  bool state = true;
  ASSERT_TRUE(f.host.GetCellCheckState(1, 6, state));
  EXPECT_TRUE(state);
  // Real row 5 (shown as 4) is untouched; the hidden row reads too.
  ASSERT_TRUE(f.host.GetCellCheckState(1, 5, state));
  EXPECT_FALSE(state);
  f.m.RealObjects(1, 2)->Graphic()->CellBoolean = true;
  ASSERT_TRUE(f.host.GetCellCheckState(1, 2, state));
  EXPECT_TRUE(state);
  // A data check box in a hidden row reads its real text.
  f.m.UnHideRow(2);
  TCellGraphic& d = f.Add(3, 4, ctDataCheckBox);
  (void)d;
  f.m.SetRawCell(3, 4, "Y");
  f.m.HideRow(4);
  ASSERT_TRUE(f.host.GetCellCheckState(3, 4, state));
  EXPECT_TRUE(state);
  // Column check and uncheck over the shown data rows.
  f.host.CheckColumn(1);
  for (Integer r = 1; r < f.m.RowCount(); ++r) EXPECT_TRUE(f.m.CellGraphic(1, r)->CellBoolean) << r;
  f.host.UncheckColumn(1);
  for (Integer r = 1; r < f.m.RowCount(); ++r) EXPECT_FALSE(f.m.CellGraphic(1, r)->CellBoolean) << r;
}

TEST(CellControlState, RowCheckBoxesOfHotmailRowSelect) {
  Fixture f;
  f.host.HotmailRowSelect = true;
  f.host.FlatControls = true;
  EXPECT_EQ(f.host.GetCellType(0, 3), ctRowCheckBox);
  EXPECT_EQ(f.host.GetCellType(1, 3), ctEmpty);
  f.m.CellProperties(0, 4).FontSize = 9;  // properties, no graphic
  EXPECT_EQ(f.host.GetCellType(0, 4), ctRowCheckBox);
  EXPECT_TRUE(f.host.SetCellCheckState(0, 3, true));
  EXPECT_TRUE(f.m.Marks().RowMarked(3));
  TCellGraphic* g = f.host.GetCellGraphic(0, 3);
  ASSERT_NE(g, nullptr);
  EXPECT_TRUE(g->CellBoolean);
  EXPECT_TRUE(g->CellTransparent);
  EXPECT_FALSE(f.host.GetCellGraphic(0, 2)->CellBoolean);
  EXPECT_TRUE(f.host.IsCheckBoxCell(0, 5));
  EXPECT_EQ(f.host.log, (std::vector<std::string>{"Change 0,3=1"}));
  // A row check box graphic stored in a cell is shared: removing it frees nothing.
  f.host.HotmailRowSelect = false;
  TCellGraphic shared;
  shared.CellType = ctRowCheckBox;
  f.m.CellProperties(2, 2).SetSharedGraphic(&shared);
  EXPECT_TRUE(f.host.RemoveCellGraphic(2, 2));
  EXPECT_EQ(f.m.CellGraphic(2, 2), nullptr);
  EXPECT_EQ(shared.CellType, ctRowCheckBox);
  EXPECT_FALSE(f.host.RemoveCellGraphic(2, 2));
}

TEST(CellControlState, RadioButtonsOfAColumn) {
  Fixture f;
  f.m.SetFixedRows(1);
  for (Integer r = 0; r < 8; ++r) f.Add(2, r, ctRadioButton);
  f.m.CellGraphic(2, 0)->CellBoolean = true;  // a fixed row's
  f.m.CellGraphic(2, 6)->CellBoolean = true;
  EXPECT_TRUE(f.host.ToggleRadio(2, 3, true));
  for (Integer r = 0; r < 8; ++r) EXPECT_EQ(f.m.CellGraphic(2, r)->CellBoolean, r == 3) << r;
  // Set already: still True, nothing repainted.
  f.host.log.clear();
  EXPECT_TRUE(f.host.ToggleRadio(2, 3, false));
  EXPECT_TRUE(f.host.log.empty());
  // SelectColumnRadioButton leaves the fixed rows alone.
  f.m.CellGraphic(2, 0)->CellBoolean = true;
  f.host.SelectColumnRadioButton(2, 5);
  for (Integer r = 0; r < 8; ++r) EXPECT_EQ(f.m.CellGraphic(2, r)->CellBoolean, r == 0 || r == 5) << r;
  // Refused: the check boxes' switch decides, not RadioAlwaysActive.
  f.host.allowEdit = false;
  f.host.RadioAlwaysActive = true;
  EXPECT_FALSE(f.host.ToggleRadio(2, 1, true));
  f.host.CheckAlwaysActive = true;
  EXPECT_TRUE(f.host.ToggleRadio(2, 1, true));
  EXPECT_TRUE(f.m.CellGraphic(2, 1)->CellBoolean);
  EXPECT_FALSE(f.host.SetCellRadioButton(1, 1, true));
}

TEST(CellControlState, RadioGroupStepping) {
  rtl::TStringList options;
  options.Add("One");
  options.Add("Two");
  options.Add("Three");
  struct Case {
    const char* name;
    Integer index;
    const char* text;
    Integer indexAfter;
    const char* textAfter;
  };
  const std::vector<Case> cases = {
      {"index 2 wraps to 0", 2, "", 0, "One"},
      {"index 0 steps to 1", 0, "", 1, "Two"},
      {"text mode, not an option", -1, "Four", -1, "One"},
      {"text mode, second caption in other case", -1, "tWO", -1, "Three"},
      {"text mode, last caption wraps", -1, "Three", -1, "One"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    TCellGraphic& g = f.host.AddRadioGroup(1, 1, options, false, c.index);
    f.m.SetRawCell(1, 1, c.text);
    EXPECT_TRUE(f.host.IsRadioGroupCell(1, 1));
    f.host.AdvanceRadioChoice(1, 1, true);
    EXPECT_EQ(g.CellIndex, c.indexAfter);
    EXPECT_EQ(f.m.GetRawCell(1, 1), c.textAfter);
    ASSERT_TRUE(g.CellVar.has_value());
    Integer chosen = -9;
    EXPECT_TRUE(f.host.GetRadioChoice(1, 1, chosen));
    EXPECT_EQ(chosen, c.indexAfter);
  }
  // Refused, and an empty option list: nothing happens.
  Fixture f;
  TCellGraphic& g = f.host.AddRadioGroup(1, 1, options, true, 0);
  f.host.allowEdit = false;
  f.host.AdvanceRadioChoice(1, 1, true);
  EXPECT_EQ(g.CellIndex, 0);
  f.host.RadioAlwaysActive = true;
  f.host.AdvanceRadioChoice(1, 1, true);
  EXPECT_EQ(g.CellIndex, 1);
  rtl::TStringList none;
  TCellGraphic& empty = f.host.AddRadioGroup(2, 2, none, false, 0);
  f.host.AdvanceRadioChoice(2, 2, false);
  EXPECT_EQ(empty.CellIndex, 0);
  EXPECT_EQ(f.m.GetRawCell(2, 2), "");
  // SetRadioChoice writes CellIndex of any graphic, True only for a group.
  f.Add(3, 3, ctCheckBox);
  EXPECT_FALSE(f.host.SetRadioChoice(3, 3, 4));
  EXPECT_EQ(f.m.CellGraphic(3, 3)->CellIndex, 4);
  EXPECT_FALSE(f.host.SetRadioChoice(0, 5, 1));
  EXPECT_EQ(f.host.GetRadioOptions(1, 1)->Count(), 3);
  EXPECT_EQ(f.host.GetRadioOptions(3, 3), nullptr);
}

TEST(CellControlState, ButtonRectAndPressedLook) {
  Fixture f;
  TCellGraphic& g = f.host.AddButton(1, 2, 80, 20, "Go", haLeft, vaTop);
  g.CellValue = 2 * 65536 + 5;
  TPixelRect r{-1, -1, -1, -1};
  f.host.GetCellButtonRect(1, 2, r);
  EXPECT_EQ(r, (TPixelRect{105, 42, 185, 62}));
  g.CellHAlign = haFull;
  f.host.GetCellButtonRect(1, 2, r);
  EXPECT_EQ(r, (TPixelRect{100, 42, 200, 62}));
  g.CellVAlign = vaFull;
  f.host.GetCellButtonRect(1, 2, r);
  EXPECT_EQ(r, (TPixelRect{100, 40, 200, 60}));
  // No graphic: unchanged.
  f.host.GetCellButtonRect(2, 2, r);
  EXPECT_EQ(r, (TPixelRect{100, 40, 200, 60}));
  f.host.SetCellButtonDown(1, 2, true);
  EXPECT_TRUE(g.CellBoolean);
  EXPECT_TRUE(f.host.IsButtonCell(1, 2));
  EXPECT_TRUE(f.host.HasCellControl(1, 2));
  f.Add(3, 3, ctBitButton);
  EXPECT_TRUE(f.host.IsButtonCell(3, 3));
  EXPECT_FALSE(f.host.HasCellControl(3, 3));
}

TEST(CellControlState, PreciseCheckBoxHit) {
  Fixture f;
  f.host.PreciseCheckBoxCheck = true;
  TCellGraphic& g = f.Add(1, 1, ctCheckBox);  // cell (100, 20) - (200, 40)
  struct Case {
    TCellVAlign v;
    TAlignment h;
    const char* text;
    Integer x, y;
    bool hit;
  };
  const std::vector<Case> cases = {
      {vaTop, taLeftJustify, "", 102, 22, true},    {vaTop, taLeftJustify, "", 117, 22, false},
      {vaTop, taLeftJustify, "", 102, 21, false},   {vaBottom, taLeftJustify, "", 102, 23, true},
      {vaBottom, taLeftJustify, "", 102, 22, false}, {vaCenter, taCenter, "", 142, 22, true},
      {vaCenter, taCenter, "", 141, 22, false},     {vaUnderText, taLeftJustify, "", 102, 23, true},
      {vaFull, taLeftJustify, "", 102, 22, true},
      // Right-aligned with text: the square lies left of the text's width.
      {vaTop, taRightJustify, "abc", 183 - 21, 25, true},
      {vaTop, taRightJustify, "abc", 190, 25, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    g.CellVAlign = c.v;
    f.host.align = c.h;
    f.m.SetRawCell(1, 1, c.text);
    EXPECT_EQ(f.host.IsCheckBoxHit(1, 1, c.x, c.y), c.hit);
  }
  f.host.PreciseCheckBoxCheck = false;
  EXPECT_TRUE(f.host.IsCheckBoxHit(1, 1, 199, 39));
  EXPECT_FALSE(f.host.IsCheckBoxHit(2, 1, 250, 25));
}

TEST(CellControlState, CellsWithoutGraphicsAreTolerated) {
  Fixture f;
  TCellScrollRange range{5, 5};
  f.host.GetCellScrollRange(1, 1, range);
  EXPECT_EQ(range, (TCellScrollRange{-1, -1}));
  EXPECT_EQ(f.host.GetCellScrollPosition(1, 1), -1);
  EXPECT_EQ(f.host.GetCellShapeColor(1, 1), clNone);
  AnsiString s = "kept", t = "kept";
  Integer i = 7;
  EXPECT_FALSE(f.host.GetCellComment(1, 1, s));
  EXPECT_FALSE(f.host.GetCellBalloon(1, 1, s, t, i));
  EXPECT_EQ(s, "kept");
  EXPECT_EQ(i, 7);
  EXPECT_FALSE(f.host.GetCellRotation(1, 1, i));
  Integer from = 3, len = 3;
  f.host.GetCellErrorRange(1, 1, from, len);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(len, 0);
  bool state = true;
  EXPECT_FALSE(f.host.GetCellCheckState(1, 1, state));
  EXPECT_FALSE(f.host.SetCellCheckState(1, 1, true));
  EXPECT_FALSE(f.host.GetRadioChoice(1, 1, i));
  f.host.SetCellShapeColor(1, 1, clRed);
  f.host.SetCellScrollPosition(1, 1, 3);
  f.host.SetCellButtonDown(1, 1, true);
  EXPECT_EQ(f.m.GetRawObject(1, 1), nullptr);
  EXPECT_EQ(f.host.GetCellType(-1, 0), ctEmpty);
  EXPECT_EQ(f.host.GetCellGraphicKey(1, 1), -1);
  EXPECT_TRUE(f.host.log.empty());
}

TEST(CellControlState, OtherKindsKeepTheirState) {
  Fixture f;
  TCellGraphic& bar = f.Add(1, 1, ctScrollbar);
  f.host.SetCellScrollPosition(1, 1, 12);
  f.host.SetCellScrollRange(1, 1, {10, 90});
  TCellScrollRange range;
  f.host.GetCellScrollRange(1, 1, range);
  EXPECT_EQ(range, (TCellScrollRange{10, 90}));
  EXPECT_EQ(f.host.GetCellScrollPosition(1, 1), 12);
  EXPECT_FALSE(f.host.IsAutoRangeScrollBarCell(1, 1));
  bar.CellBoolean = true;
  EXPECT_TRUE(f.host.IsAutoRangeScrollBarCell(1, 1));
  f.Add(2, 1, ctShape);
  f.host.SetCellShapeColor(2, 1, clLime);
  EXPECT_EQ(f.host.GetCellShapeColor(2, 1), clLime);
  TCellGraphic& comment = f.Add(3, 1, ctComment);
  comment.CellText = "note";
  AnsiString s;
  EXPECT_TRUE(f.host.GetCellComment(3, 1, s));
  EXPECT_EQ(s, "note");
  f.host.AddBalloon(1, 2, "Title", "Body", 0x102);
  AnsiString title, text;
  Integer icon = 0;
  EXPECT_TRUE(f.host.GetCellBalloon(1, 2, title, text, icon));
  EXPECT_EQ(title, "Title");
  EXPECT_EQ(text, "Body");
  EXPECT_EQ(icon, 2);
  // Image indexes only while GridImages is assigned.
  TCellGraphic& image = f.Add(2, 2, ctImageList);
  image.CellIndex = 4;
  Integer index = -1;
  EXPECT_FALSE(f.host.GetCellImageIndex(2, 2, index));
  f.host.SetCellImageIndex(2, 2, 6);
  EXPECT_EQ(image.CellIndex, 4);
  f.host.images = true;
  f.host.SetCellImageIndex(2, 2, 6);
  EXPECT_TRUE(f.host.GetCellImageIndex(2, 2, index));
  EXPECT_EQ(index, 6);
  EXPECT_EQ(f.host.GetCellGraphicKey(2, 2), 6);
  TCellGraphic& rotated = f.Add(3, 2, ctRotated);
  rotated.CellAngle = 45;
  rotated.CellErrFrom = 2;
  rotated.CellErrLen = 3;
  Integer angle = 0, from = 0, len = 0;
  EXPECT_TRUE(f.host.GetCellRotation(3, 2, angle));
  EXPECT_EQ(angle, 45);
  f.host.GetCellErrorRange(3, 2, from, len);
  EXPECT_EQ(from, 2);
  EXPECT_EQ(len, 3);
  TCellGraphic& rating = f.host.AddRating(1, 3, 5, clRed, clSilver);
  EXPECT_TRUE(f.host.IsRatingCell(1, 3));
  EXPECT_EQ(RatingOffColor(rating), clSilver);
  EXPECT_EQ(static_cast<TColor>(rating.CellIndex), clRed);
}

TEST(CellGraphicAccess, SizesAndCreation) {
  Fixture f;
  // Creating a graphic on an empty cell leaves its text empty.
  TCellGraphic& box = f.host.CreateCellGraphic(1, 1);
  box.CellType = ctCheckBox;
  EXPECT_EQ(f.m.GetRawCell(1, 1), "");
  EXPECT_EQ(f.host.GetCellGraphicSize(1, 1), (TExtent{15, 15}));
  f.host.CheckSize = 20;
  EXPECT_EQ(f.host.GetCellGraphicSize(1, 1), (TExtent{20, 20}));
  rtl::TStringList options;
  options.Add("A");
  options.Add("BB");
  f.host.AddRadioGroup(2, 1, options, true, 0);
  EXPECT_EQ(f.host.GetCellGraphicSize(2, 1), (TExtent{7 + 14 + 24, 14}));
  f.host.AddRadioGroup(3, 1, options, false, 0);
  EXPECT_EQ(f.host.GetCellGraphicSize(3, 1), (TExtent{14 + 12, 32}));
  // Buttons: CellIndex holds the size; with text and haCenter no width.
  f.host.AddButton(1, 2, 40, 18, "OK", haLeft, vaTop);
  EXPECT_EQ(f.host.GetCellGraphicSize(1, 2), (TExtent{40, 18}));
  f.m.SetRawCell(1, 2, "text");
  EXPECT_EQ(f.host.GetCellGraphicSize(1, 2), (TExtent{40, 0}));
  f.m.CellGraphic(1, 2)->CellHAlign = haFull;
  EXPECT_EQ(f.host.GetCellGraphicSize(1, 2), (TExtent{2 * 7 + 4, 0}));
  f.host.AddImages(2, 2, {0, 1, 2}, true);
  EXPECT_EQ(f.host.GetCellGraphicSize(2, 2), (TExtent{0, 0}));
  f.host.images = true;
  EXPECT_EQ(f.host.GetCellGraphicSize(2, 2), (TExtent{48, 16}));
  EXPECT_EQ(f.host.GetCellImages(2, 2)->Count(), 3);
  TCellGraphic& pie = f.Add(3, 2, ctProgressPie);
  EXPECT_EQ(f.host.GetCellGraphicSize(3, 2), (TExtent{20, 20}));
  pie.CellVAlign = vaFull;
  pie.CellHAlign = haFull;
  EXPECT_EQ(f.host.GetCellGraphicSize(3, 2), (TExtent{100, 20}));
  EXPECT_TRUE(f.host.RemoveCellGraphicOfType(3, 2, ctProgressPie));
  EXPECT_FALSE(f.host.RemoveCellGraphicOfType(2, 2, ctProgressPie));
  EXPECT_EQ(f.host.GetCellType(3, 2), ctEmpty);
  // A cell with properties but no graphic is empty.
  f.m.CellProperties(0, 5).FontSize = 8;
  EXPECT_EQ(f.host.GetCellType(0, 5), ctEmpty);
}
