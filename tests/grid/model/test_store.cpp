// The cell store: texts by row, properties made on demand, merged blocks,
// the display-text pipeline and the small lists.
#include <gtest/gtest.h>

#include "grid/model/GridModel.h"
#include "grid/model/GridUtils.h"
#include "rtl/Exceptions.h"

using namespace grid;

namespace {

// A model that records the repaint requests and snapshot questions.
class RecordingModel : public TGridModel {
 public:
  std::vector<TCellCoord> invalidated;
  int defaultsAsked = 0;
  void InvalidateCellRect(Integer col, Integer row) override { invalidated.push_back({col, row}); }
  void GetCellDefaults(Integer col, Integer row, TCellDefaults& d) override {
    ++defaultsAsked;
    d.Alignment = taCenter;
    d.BrushColor = 0x123456;
    d.Font.Name = "Tahoma";
    d.Font.Size = 9;
  }
};

}  // namespace

TEST(GridStore, StartsAsTheStringGridAndStoresTextsByRow) {
  TGridModel m;
  EXPECT_EQ(m.ColCount(), 5);
  EXPECT_EQ(m.RowCount(), 5);
  EXPECT_EQ(m.FixedCols(), 1);
  EXPECT_EQ(m.FixedRows(), 1);
  m.SetRawCell(2, 3, "two-three");
  EXPECT_EQ(m.GetRawCell(2, 3), "two-three");
  EXPECT_EQ(m.GetRawCell(4, 3), "");
  EXPECT_EQ(m.Rows(3)[2], "two-three");
  m.Rows(3).Put(4, "via row");
  EXPECT_EQ(m.GetRawCell(4, 3), "via row");
  EXPECT_EQ(m.Rows(3).Count(), 5);
  EXPECT_THROW(m.GetRawCell(5, 0), rtl::EAssertionFailed);
  EXPECT_THROW(m.SetRawCell(0, -1, "x"), rtl::EAssertionFailed);
  EXPECT_THROW(m.CellProperties(0, 5), rtl::EAssertionFailed);
  m.Check();
}

TEST(GridStore, ShrinkingDropsCellsWithTheirPropertiesAndGrowingAddsEmptyOnes) {
  TGridModel m;
  m.SetRawCell(4, 4, "corner");
  m.CellProperties(4, 4).FontSize = 20;
  m.SetGridColCount(3);
  m.SetGridRowCount(3);
  m.SetGridColCount(5);
  m.SetGridRowCount(5);
  EXPECT_EQ(m.GetRawCell(4, 4), "");
  EXPECT_FALSE(m.HasCellProperties(4, 4));
  m.SetGridRowCount(0);
  EXPECT_EQ(m.RowCount(), 1);
  EXPECT_EQ(m.GridFixedRows(), 0);
  m.Check();
}

TEST(GridStore, PropertiesAreMadeOnDemandAsASnapshotOfTheCellsLook) {
  RecordingModel m;
  EXPECT_FALSE(m.HasCellProperties(1, 1));
  EXPECT_FALSE(m.CellPropertiesExist());
  EXPECT_EQ(m.GetCellObject(1, 1), nullptr);
  EXPECT_EQ(m.CellGraphic(1, 1), nullptr);
  EXPECT_FALSE(m.HasCellProperties(1, 1));  // asking created nothing
  EXPECT_EQ(m.BaseCell(1, 1), (TCellCoord{1, 1}));
  EXPECT_EQ(m.CellSpan(1, 1), (TCellCoord{0, 0}));
  EXPECT_TRUE(m.IsBaseCellAt(1, 1));

  TCellProperties& p = m.CellProperties(1, 1);
  EXPECT_TRUE(m.CellPropertiesExist());
  EXPECT_EQ(m.defaultsAsked, 1);
  EXPECT_EQ(p.Alignment, taCenter);
  EXPECT_EQ(p.BrushColor(), 0x123456u);
  EXPECT_EQ(p.FontName, "Tahoma");
  EXPECT_EQ(p.FontSize, 9);
  EXPECT_EQ(p.CellSpanX, -1);
  EXPECT_TRUE(p.IsBaseCell);
  EXPECT_EQ(&m.CellProperties(1, 1), &p);
  EXPECT_EQ(m.defaultsAsked, 1);

  // The setters that change the look repaint the cell.
  m.invalidated.clear();
  p.SetBrushColor(0xFF);
  p.SetVAlignment(vtaBottom);
  p.Alignment = taRightJustify;  // stored only
  EXPECT_EQ(m.invalidated.size(), 2u);

  // Text and properties live apart.
  m.SetRawCell(1, 1, "text");
  m.FreeCellProperties(1, 1);
  EXPECT_EQ(m.GetRawCell(1, 1), "text");
  m.CellProperties(1, 1).ReadOnly = true;
  m.SetRawCell(1, 1, "");
  EXPECT_TRUE(m.ReadOnly(1, 1));
}

TEST(GridStore, ObjectsAndGraphicsInEmptyCellsLeaveTheTextEmpty) {
  TGridModel m;
  int user = 0;
  m.SetCellObject(2, 2, &user);
  EXPECT_EQ(m.GetCellObject(2, 2), &user);
  EXPECT_EQ(m.GetRawCell(2, 2), "");
  auto g = std::make_unique<TCellGraphic>();
  g->CellType = ctCheckBox;
  TCellGraphic* raw = g.get();
  m.SetCellGraphic(3, 3, std::move(g));
  EXPECT_EQ(m.CellGraphic(3, 3), raw);
  EXPECT_EQ(m.GetRawCell(3, 3), "");

  class DestroyingModel : public TGridModel {
   public:
    bool IsDestroying() const override { return true; }
  } dying;
  dying.SetCellGraphic(1, 1, std::make_unique<TCellGraphic>());
  EXPECT_FALSE(dying.HasCellProperties(1, 1));
}

TEST(GridStore, GraphicsFreeWhatTheirTypeOwns) {
  static int freed = 0;
  auto freeCount = [](void*) { ++freed; };
  struct Case {
    TCellType type;
    bool created;
    int freesBitmap;
  } cases[] = {{ctBitmap, true, 1},    {ctBitmap, false, 0},  {ctPicture, true, 1}, {ctRadio, false, 0},
               {ctImages, false, 1},   {ctBalloon, false, 1}, {ctCheckBox, true, 0}, {ctBitButton, true, 1},
               {ctFilePicture, true, 1}};
  for (const Case& c : cases) {
    freed = 0;
    {
      TCellGraphic g;
      g.CellType = c.type;
      g.CellCreated = c.created;
      g.SetCellBitmap({&freed, freeCount});
    }
    EXPECT_EQ(freed, c.freesBitmap) << static_cast<int>(c.type);
  }
  freed = 0;
  {
    TCellGraphic g;
    g.CellType = ctIcon;
    g.CellCreated = true;
    g.SetCellIcon({&freed, freeCount});
  }
  EXPECT_EQ(freed, 1);

  // A shared graphic is held, never freed, with the properties.
  TCellGraphic shared;
  {
    TGridModel m;
    m.CellProperties(1, 1).SetSharedGraphic(&shared);
    m.FreeCellProperties(1, 1);
  }
  shared.CellText = "still alive";
  EXPECT_EQ(shared.CellText, "still alive");
}

TEST(GridStore, AssignCopiesTheListedFields) {
  TGridModel m;
  TCellProperties& a = m.CellProperties(1, 1);
  a.SetBrushColor(1);
  a.SetBrushColorTo(2);
  a.GradientDirection = GradientHorizontal;
  a.FontName = "Arial";
  a.Editor = edSpinEdit;
  a.NodeLevel = 3;
  a.CellObject = &m;
  a.SetGraphic(std::make_unique<TCellGraphic>());
  TCellProperties& b = m.CellProperties(2, 2);
  b.Assign(a);
  EXPECT_EQ(b.BrushColor(), 1u);
  EXPECT_EQ(b.FontName, "Arial");
  EXPECT_EQ(b.Editor, edSpinEdit);
  EXPECT_EQ(b.NodeLevel, 3);
  EXPECT_EQ(b.OwnerCol, 1);
  EXPECT_NE(b.BrushColorTo(), 2u);
  EXPECT_EQ(b.GradientDirection, GradientVertical);
  EXPECT_EQ(b.CellObject, nullptr);
  EXPECT_EQ(b.Graphic(), nullptr);

  TCellGraphic g1, g2;
  g1.CellType = ctProgress;
  g1.CellValue = 42;
  g1.CellText = "t";
  g1.CellErrLen = 2;
  g2.Assign(g1);
  EXPECT_EQ(g2.CellType, ctProgress);
  EXPECT_EQ(g2.CellValue, 42);
  EXPECT_EQ(g2.CellText, "t");
  EXPECT_EQ(g2.CellErrLen, 2);
}

TEST(GridStore, PictureSizesByStretchMode) {
  TCellGraphic g;
  g.CellType = ctPicture;
  g.CellIndex = 2;  // margin: 102 x 52 leaves 100 x 50
  struct Case {
    Integer mode, pw, ph;
    TExtent size;
  } cases[] = {
      {0, 300, 20, {300, 20}}, {1, 300, 20, {100, 50}}, {2, 200, 50, {100, 25}}, {2, 10, 10, {50, 50}},
      {2, 0, 10, {0, 10}},     {3, 40, 20, {40, 20}},   {3, 400, 20, {100, 50}}, {4, 40, 20, {40, 20}},
      {4, 300, 30, {100, 10}}, {4, 5, 100, {2, 50}},  {4, 9, 100, {4, 50}},
  };
  for (const Case& c : cases) {
    g.CellAngle = c.mode;
    EXPECT_EQ(g.PictureSize(102, 52, c.pw, c.ph), c.size) << c.mode << " " << c.pw << "x" << c.ph;
  }
}

TEST(GridMerge, ABlockHasOneBaseCellAndCoveredCellsWithOffsets) {
  RecordingModel m;
  m.MergeCells(1, 1, 3, 2);
  EXPECT_EQ(m.MergeCount(), 1);
  EXPECT_EQ(m.invalidated.size(), 6u);
  const TCellProperties& base = *m.GetRawObject(1, 1);
  EXPECT_TRUE(base.IsBaseCell);
  EXPECT_EQ(base.CellSpanX, 2);
  EXPECT_EQ(base.CellSpanY, 1);
  const TCellProperties& covered = *m.GetRawObject(3, 2);
  EXPECT_FALSE(covered.IsBaseCell);
  EXPECT_EQ(covered.CellSpanX, 2);
  EXPECT_EQ(covered.CellSpanY, 1);
  EXPECT_EQ(m.BaseCell(3, 2), (TCellCoord{1, 1}));
  EXPECT_EQ(m.CellSpan(3, 2), (TCellCoord{2, 1}));
  EXPECT_TRUE(m.IsMergedCell(1, 1));
  EXPECT_TRUE(m.IsCoveredCell(2, 2));
  EXPECT_FALSE(m.IsCoveredCell(1, 1));
  EXPECT_TRUE(m.IsMergedHorz(2, 1));
  EXPECT_TRUE(m.IsMergedVert(3, 2));
  EXPECT_FALSE(m.IsMergedHorz(0, 0));

  m.SetDisplayCell(2, 2, "block");
  EXPECT_EQ(m.GetRawCell(1, 1), "block");
  EXPECT_EQ(m.GetRawCell(2, 2), "");
  for (Integer c = 1; c <= 3; ++c)
    for (Integer r = 1; r <= 2; ++r) EXPECT_EQ(m.GetDisplayCell(c, r), "block");

  // A new block over part of the old one rewrites only its own cells.
  m.MergeCells(3, 2, 2, 2);
  EXPECT_EQ(m.BaseCell(2, 2), (TCellCoord{1, 1}));
  EXPECT_EQ(m.BaseCell(4, 3), (TCellCoord{3, 2}));
  EXPECT_TRUE(m.GetRawObject(3, 2)->IsBaseCell);

  m.SplitCells(4, 3);
  EXPECT_EQ(m.MergeCount(), 1);
  EXPECT_FALSE(m.IsMergedCell(3, 2));
  EXPECT_EQ(m.GetRawObject(4, 3)->CellSpanX, -1);
  m.Check();
}

TEST(GridMerge, EmptyMergesAndPlainSplitsStillCount) {
  TGridModel m;
  m.MergeCells(1, 1, 0, 3);
  EXPECT_EQ(m.MergeCount(), 1);
  EXPECT_FALSE(m.HasCellProperties(1, 1));
  m.SplitCells(2, 2);
  EXPECT_EQ(m.MergeCount(), 0);
  EXPECT_TRUE(m.HasCellProperties(2, 2));
  EXPECT_EQ(m.CellSpan(2, 2), (TCellCoord{0, 0}));
  EXPECT_THROW(m.MergeCells(3, 3, 4, 1), rtl::EAssertionFailed);
}

TEST(GridMerge, AutomaticMergeByColumn) {
  TGridModel m;
  m.SetRowCount(8);
  const char* col1[] = {"h", "a", "a", "a", "b", "b", "c", "c"};
  const char* col2[] = {"h", "x", "x", "y", "y", "y", "z", "z"};
  for (Integer r = 0; r < 8; ++r) {
    m.SetRawCell(1, r, col1[r]);
    m.SetRawCell(2, r, col2[r]);
  }
  m.AutoMergeColumns().Add(1);
  EXPECT_EQ(m.CellSpan(1, 1), (TCellCoord{0, 2}));
  EXPECT_EQ(m.CellSpan(1, 4), (TCellCoord{0, 1}));
  EXPECT_EQ(m.CellSpan(1, 6), (TCellCoord{0, 1}));
  m.AutoMergeColumns().Add(2);
  // Column 2 merges only inside column 1's blocks: rows 3 and 4-5 are apart.
  EXPECT_EQ(m.CellSpan(2, 1), (TCellCoord{0, 1}));
  EXPECT_EQ(m.CellSpan(2, 3), (TCellCoord{0, 0}));
  EXPECT_EQ(m.CellSpan(2, 4), (TCellCoord{0, 1}));
  EXPECT_EQ(m.CellSpan(2, 6), (TCellCoord{0, 1}));
  EXPECT_TRUE(m.RowsInSameMerge(4, 5));
  EXPECT_FALSE(m.RowsInSameMerge(3, 4));
  m.AutoMergeColumns().Clear();
  m.ApplyAutoMerge();
  for (Integer r = 0; r < 8; ++r) EXPECT_FALSE(m.IsMergedCell(1, r)) << r;
}

TEST(GridDisplay, TheEventsReachRowsBelowTheLimitOnly) {
  TGridModel m;
  m.SetRowCount(4);
  EXPECT_EQ(m.DisplayRowLimit(), 4);
  m.SetRawCell(1, 1, "a");
  m.SetRawCell(1, 3, "z");
  m.OnGetDisplText = [](Integer col, Integer row, AnsiString& v) { v = "[" + v + "]"; };
  EXPECT_EQ(m.GetDisplayCell(1, 1), "[a]");
  m.SetDisplayRowLimit(3);
  EXPECT_EQ(m.GetDisplayCell(1, 3), "z");
  EXPECT_EQ(m.GetDisplayCell(1, 2), "[]");
}

TEST(GridDisplay, AWideHandlerGivesEveryTextInTheWideForm) {
  TGridModel m;
  m.SetRowCount(3);
  m.SetRawCell(1, 1, "plain \xC3\xA4");
  m.OnGetDisplWideText = [](Integer, Integer, WideString&) {};
  EXPECT_EQ(m.GetDisplayCell(1, 1), EncodeWideText(u"plain \u00E4"));
  EXPECT_EQ(m.GetCellWideText(1, 1), u"plain \u00E4");
  m.OnGetDisplWideText = [](Integer, Integer, WideString& v) { v += u'!'; };
  EXPECT_EQ(m.GetCellWideText(1, 1), u"plain \u00E4!");
}

TEST(GridDisplay, WritingTheFooterRowTellsTheFooter) {
  class FooterModel : public TGridModel {
   public:
    int changes = 0;
    void FooterChanged() override { ++changes; }
  } m;
  m.SetDisplayCell(1, 4, "x");
  EXPECT_EQ(m.changes, 0);
  m.SetFooterRowShown(true);
  m.SetDisplayCell(1, 4, "y");
  m.SetDisplayCell(1, 3, "y");
  EXPECT_EQ(m.changes, 1);
}

TEST(GridLookAccessors, ColoursByCellAndRow) {
  TGridModel m;
  EXPECT_EQ(m.Colors(2, 2), clNone);
  m.SetColors(2, 2, 0xFF);
  EXPECT_EQ(m.Colors(2, 2), 0xFFu);
  m.SetRowColor(3, 0x00FF00);
  for (Integer c = 1; c < 5; ++c) EXPECT_EQ(m.Colors(c, 3), 0x00FF00u);
  EXPECT_FALSE(m.HasCellProperties(0, 3));  // fixed columns are left alone
  m.SetRowColor(3, clNone);
  for (Integer c = 1; c < 5; ++c) EXPECT_FALSE(m.HasCellProperties(c, 3));
  m.SetRowFontColor(2, 0x0000FF);
  EXPECT_EQ(m.GetRawObject(2, 2)->FontColor, 0x0000FFu);
  EXPECT_EQ(m.GetRawObject(3, 2)->FontColor, 0x0000FFu);
  m.GetRawObject(3, 2)->SetBrushColor(clNone);
  m.SetRowFontColor(2, clNone);
  EXPECT_TRUE(m.HasCellProperties(2, 2));   // it has a colour
  EXPECT_FALSE(m.HasCellProperties(3, 2));  // it had none
}

TEST(GridLists, IntListNotifiesAsDocumented) {
  TIntList list(3, 4);
  int notes = 0;
  list.OnChange = [&](TIntList* sender, Integer col, Integer row) {
    EXPECT_EQ(sender, &list);
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 4);
    ++notes;
  };
  list.Add(1);
  list.Add(20);
  list.Add(3);
  EXPECT_EQ(notes, 3);
  EXPECT_EQ(list.AsText(), "1,20,3");
  list.Insert(0, 7);
  EXPECT_EQ(notes, 3);
  list.SetItem(0, 8);
  list.Delete(0);
  list.DeleteValue(20);
  list.DeleteValue(99);
  EXPECT_EQ(notes, 6);
  EXPECT_TRUE(list.HasValue(3));
  list.SetAsText("4,5");
  EXPECT_EQ(notes, 8);
  EXPECT_EQ(list.AsText(), "4,5");
  EXPECT_THROW(list.SetAsText("6,x,7"), rtl::EConvertError);
  EXPECT_EQ(list.AsText(), "6");
  EXPECT_THROW(list.Items(5), rtl::EListError);
  EXPECT_EQ(TIntList().AsText(), "");
}

TEST(GridLists, SortIndexListKeepsTheDirectionInTheTopBit) {
  TSortIndexList list;
  list.AddSortColumn(2, false);
  EXPECT_EQ(static_cast<uint32_t>(list[0]), 0x80000002u);
  EXPECT_EQ(list.FindSortColumn(2), 0);
  EXPECT_EQ(list.SortColumnAt(0), 2);
  EXPECT_FALSE(list.SortAscendingAt(0));
  list.ToggleSortDirection(2);
  EXPECT_EQ(list[0], 2);
  EXPECT_EQ(list.FindSortColumn(5), -1);
  list.ToggleSortDirection(5);
  EXPECT_EQ(list.Count(), 1);
}
