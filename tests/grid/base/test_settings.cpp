// The settings objects of the grid's later operations: the published
// starting values, what Assign copies and leaves, the setters that repaint
// or notify, and the grid making and copying them.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "grid/GridComponent.h"
#include "grid/GridSettings.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/Pictures.h"

using namespace grid;

TEST(GridSettings, SearchAndFloatingFooters) {
  TSearchFooter a;
  EXPECT_FALSE(a.Visible);
  EXPECT_EQ(a.Color, TColor(0xFFFFFF));
  EXPECT_EQ(a.ColorTo, vcl::clBtnFace);
  EXPECT_EQ(a.FindNextCaption, "Find &next");
  EXPECT_EQ(a.FindPrevCaption, "Find &previous");
  EXPECT_EQ(a.HighLightCaption, "Highlight");
  EXPECT_EQ(a.MatchCaseCaption, "Match case");
  EXPECT_EQ(a.HintFindNext, "Find next occurence");
  EXPECT_EQ(a.HintClose, "Close");
  EXPECT_TRUE(a.ShowFindNext && a.ShowFindPrev && a.ShowHighLight && a.ShowMatchCase && a.ShowClose);
  EXPECT_TRUE(a.AutoSearch);
  EXPECT_EQ(a.SearchColumn, -1);
  EXPECT_EQ(a.SearchDirection, sdTopBottom);

  TSearchFooter b;
  int changes = 0;
  b.OnChange = [&](vcl::TObject* sender) {
    EXPECT_EQ(sender, &b);
    ++changes;
  };
  a.Visible = true;
  a.FindNextCaption = "Next";
  a.SearchColumn = 3;
  a.AutoSearch = false;
  a.SearchFixedCells = true;
  a.Font()->SetSize(14);
  b.Assign(&a);
  EXPECT_TRUE(b.Visible);
  EXPECT_EQ(b.FindNextCaption, "Next");
  EXPECT_EQ(b.SearchColumn, 3);
  EXPECT_EQ(b.Font()->Size(), 14);
  EXPECT_TRUE(b.AutoSearch) << "not copied";
  EXPECT_FALSE(b.SearchFixedCells) << "not copied";
  EXPECT_EQ(changes, 1);
  b.SetAutoThemeAdapt(true);
  EXPECT_EQ(changes, 2);

  TFloatingFooter f, g;
  EXPECT_EQ(f.BorderColor, clNone);
  EXPECT_TRUE(f.CalculateHiddenRows);
  EXPECT_EQ(f.Color, vcl::clBtnFace);
  EXPECT_EQ(f.FooterStyle, fsFixedLastRow);
  EXPECT_FALSE(f.Visible);
  f.BorderColor = 0x123456;
  f.Column = 2;
  f.CustomTemplate = "Sum: <#SUM>";
  f.FooterStyle = fsCustomPreview;
  f.Visible = true;
  g.Assign(&f);
  EXPECT_EQ(g.BorderColor, clNone) << "not copied";
  EXPECT_EQ(g.Column, 2);
  EXPECT_EQ(g.CustomTemplate, "Sum: <#SUM>");
  EXPECT_EQ(g.FooterStyle, fsCustomPreview);
  EXPECT_TRUE(g.Visible);
}

TEST(GridSettings, SortingDragAndDropAndScrolling) {
  TSortSettings a, b;
  EXPECT_TRUE(a.AutoSortForGrouping);
  EXPECT_EQ(a.Column, -1);
  EXPECT_EQ(a.IndexColor, TColor(0x00FFFF));
  EXPECT_EQ(a.IndexSortKey, ikShift);
  EXPECT_TRUE(a.Full);
  EXPECT_EQ(a.BlankPos, blFirst);
  EXPECT_TRUE(a.AutoFormat);
  EXPECT_EQ(a.Direction, sdAscending);
  EXPECT_TRUE(a.SortOnVirtualCells);
  EXPECT_EQ(a.HeaderMirrorColorTo, clNone);
  EXPECT_TRUE(a.UpGlyph()->Empty());
  a.Column = 4;
  a.Direction = sdDescending;
  a.IgnoreCase = true;
  a.SortOnVirtualCells = false;
  a.HeaderColor = 0x00FF00;
  vcl::TBitmap glyph;
  glyph.SetSize(9, 5);
  a.SetUpGlyph(&glyph);
  EXPECT_EQ(a.UpGlyph()->Width(), 9);
  EXPECT_NE(a.UpGlyph(), &glyph) << "an owned copy";
  b.Assign(&a);
  EXPECT_EQ(b.Column, 4);
  EXPECT_EQ(b.Direction, sdDescending);
  EXPECT_EQ(b.HeaderColor, TColor(0x00FF00));
  EXPECT_EQ(b.UpGlyph()->Height(), 5);
  EXPECT_NE(b.UpGlyph(), a.UpGlyph());
  EXPECT_FALSE(b.IgnoreCase) << "not copied";
  EXPECT_TRUE(b.SortOnVirtualCells) << "not copied";

  TDragDropSettings d, e;
  EXPECT_TRUE(d.ShowCells && d.OleAcceptFiles && d.OleAcceptText && d.OleAcceptURLs);
  EXPECT_FALSE(d.OleDropTarget || d.OleDropSource || d.OleDropRTF || d.OleColumnDragDrop);
  d.OleDropTarget = true;
  d.OleColumnDragDrop = true;
  d.OleAcceptURLs = false;
  e.Assign(&d);
  EXPECT_TRUE(e.OleDropTarget);
  EXPECT_TRUE(e.OleColumnDragDrop);
  EXPECT_FALSE(e.OleAcceptURLs);

  TDragScrollOptions s, t;
  EXPECT_FALSE(s.Active);
  EXPECT_EQ(s.Delays()->InitialDelay, 1000);
  EXPECT_EQ(s.Delays()->RepeatDelay, 250);
  EXPECT_EQ(s.Margins()->TopMargin, 50);
  EXPECT_EQ(s.Margins()->RightMargin, 50);
  s.Active = true;
  s.Delays()->RepeatDelay = 100;
  s.Margins()->LeftMargin = 20;
  t.Assign(&s);
  EXPECT_TRUE(t.Active);
  EXPECT_EQ(t.Delays()->RepeatDelay, 100);
  EXPECT_EQ(t.Margins()->LeftMargin, 20);
  t.Margins()->Assign(t.Delays());  // another class: ignored
  EXPECT_EQ(t.Margins()->LeftMargin, 20);
}

TEST(GridSettings, BandsBackgroundAndGrouping) {
  TBands bands;
  EXPECT_FALSE(bands.Active());
  EXPECT_EQ(bands.PrimaryColor(), vcl::clInfoBk);
  EXPECT_EQ(bands.SecondaryColor(), vcl::clWindow);
  EXPECT_EQ(bands.TotalLength(), 2);
  bands.SetPrimaryLength(3);
  EXPECT_EQ(bands.TotalLength(), 4);
  TBands other;
  other.SetPrimaryLength(1);
  other.SetSecondaryLength(3);
  other.SetActive(true);
  other.Print = true;
  bands.Assign(&other);
  EXPECT_EQ(bands.TotalLength(), 4);
  EXPECT_EQ(bands.PrimaryLength(), 1);
  EXPECT_TRUE(bands.Active());
  EXPECT_TRUE(bands.Print);

  TBackGround bg;
  EXPECT_EQ(bg.Display(), bdTile);
  EXPECT_EQ(bg.Cells(), bcNormal);
  EXPECT_EQ(bg.Color(), vcl::clWindow);
  EXPECT_EQ(bg.ColorTo(), vcl::clBtnFace);
  vcl::TBitmap picture;
  picture.SetSize(4, 3);
  bg.SetBitmap(&picture);
  bg.SetDisplay(bdGradientVert);
  bg.SetTop(7);
  TBackGround copy;
  copy.Assign(&bg);
  EXPECT_EQ(copy.Bitmap()->Width(), 4);
  EXPECT_EQ(copy.Display(), bdGradientVert);
  EXPECT_EQ(copy.Top(), 7);

  TGrouping g, h;
  EXPECT_EQ(g.HeaderLineColor, TColor(0xFF0000));
  EXPECT_EQ(g.HeaderLineWidth, 2);
  EXPECT_EQ(g.SummaryLineWidth, 2);
  g.GroupCountFormat = "[%d]";
  g.HeaderColor = 0x00FF00;
  g.Summary = true;
  g.AutoSelectGroup = true;
  g.HeaderLineWidth = 5;
  g.SummaryLine = true;
  h.Assign(&g);
  EXPECT_EQ(h.GroupCountFormat, "[%d]");
  EXPECT_EQ(h.HeaderColor, TColor(0x00FF00));
  EXPECT_TRUE(h.SummaryLine);
  EXPECT_FALSE(h.Summary) << "Summary stays";
  EXPECT_FALSE(h.AutoSelectGroup);
  EXPECT_EQ(h.HeaderLineWidth, 2);
}

TEST(GridSettings, BalloonsModifiedRowsAndProgress) {
  TBalloonSettings a, b;
  EXPECT_EQ(a.AutoHideDelay, -1);
  EXPECT_EQ(a.InitialDelay, -1);
  EXPECT_EQ(a.BackgroundColor, clNone);
  EXPECT_EQ(a.Transparency, 0);
  int switched = 0;
  a.OnEnableChange = [&](vcl::TObject* sender) {
    EXPECT_EQ(sender, &a);
    ++switched;
  };
  a.SetEnable(true);
  EXPECT_EQ(switched, 1);
  a.Transparency = 40;
  a.ReshowDelay = 300;
  b.OnEnableChange = [&](vcl::TObject*) { ++switched; };
  b.Assign(&a);
  EXPECT_TRUE(b.Enable());
  EXPECT_EQ(b.ReshowDelay, 300);
  EXPECT_EQ(b.Transparency, 0) << "not copied";
  EXPECT_EQ(switched, 1) << "Assign sets the field without the event";

  TShowModified m, n;
  EXPECT_FALSE(m.Enabled);
  EXPECT_EQ(m.Color(), TColor(0x00FFFF));
  int notes = 0;
  m.OnChange = [&](vcl::TObject*) { ++notes; };
  m.SetColor(0x0000FF);
  EXPECT_EQ(notes, 1);
  m.Enabled = true;
  n.Assign(&m);
  EXPECT_TRUE(n.Enabled);
  EXPECT_EQ(n.Color(), TColor(0x0000FF));

  TGridProgressAppearance p, q;
  EXPECT_EQ(p.CompleteColor, TColor(0x0000FF));
  EXPECT_EQ(p.CompleteFontColor, TColor(0xFF0000));
  EXPECT_EQ(p.UnCompleteColor, clNone);
  EXPECT_EQ(p.UnCompleteFontColor, vcl::clWindowText);
  EXPECT_EQ(p.Level2Color, TColor(0x53A9FF));
  EXPECT_EQ(p.Level3ColorTo, TColor(0xCACAFF));
  EXPECT_EQ(p.Level1Perc, 70);
  EXPECT_EQ(p.Level2Perc, 90);
  EXPECT_FALSE(p.ShowBorder);
  EXPECT_EQ(p.Steps, 11);
  int repaints = 0;
  q.OnChange = [&](vcl::TObject*) { ++repaints; };
  p.Steps = 5;
  p.Stacked = true;
  q.Assign(&p);
  EXPECT_EQ(q.Steps, 5);
  EXPECT_TRUE(q.Stacked);
  EXPECT_EQ(repaints, 1);
}

TEST(GridSettings, FilterConditionsAndDropDown) {
  TFilter filter;
  TFilterData* first = filter.Add();
  EXPECT_EQ(first->Column, 0);
  EXPECT_TRUE(first->CaseSensitive);
  EXPECT_EQ(first->Data, fcVirtual);
  EXPECT_EQ(first->Operation, foSHORT);
  first->Condition = ">5";
  TFilterData* onThree = filter.ColumnFilter(3);
  EXPECT_EQ(filter.Count(), 2);
  EXPECT_EQ(onThree->Column, 3);
  EXPECT_EQ(filter.ColumnFilter(3), onThree) << "found, not added again";
  EXPECT_EQ(filter.ColumnFilter(0), first);
  onThree->Condition = "A*";
  onThree->Prefix = "$";
  onThree->Operation = foOR;
  onThree->Data = fcStripHTML;

  TFilter copy;
  copy.Add()->Condition = "old";
  copy.Assign(filter);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(0)->Condition, ">5");
  EXPECT_EQ(copy.Items(1)->Condition, "A*");
  EXPECT_EQ(copy.Items(1)->Prefix, "$");
  EXPECT_EQ(copy.Items(1)->Operation, foOR);
  EXPECT_EQ(copy.Items(1)->Data, fcStripHTML);

  TFilterDropDown a, b;
  EXPECT_FALSE(a.AutoSize);
  EXPECT_EQ(a.Color, vcl::clWindow);
  EXPECT_EQ(a.Height, 150);
  EXPECT_EQ(a.Width, 150);
  int changes = 0;
  a.OnChange = [&](vcl::TObject*) { ++changes; };
  vcl::TBitmap glyph;
  glyph.SetSize(8, 8);
  a.SetGlyph(&glyph);
  EXPECT_GE(changes, 1);
  EXPECT_EQ(a.Glyph()->Width(), 8);
  a.AutoSize = true;
  a.Height = 200;
  a.Font()->SetSize(15);
  b.Assign(&a);
  EXPECT_EQ(b.Height, 200);
  EXPECT_EQ(b.Font()->Size(), 15);
  EXPECT_FALSE(b.AutoSize) << "not copied";
  EXPECT_TRUE(b.Glyph()->Empty()) << "not copied";
}

TEST(GridSettings, TheGridMakesAndCopiesThem) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* a = new TVadOdizadEzev(form);
  auto* b = new TVadOdizadEzev(form);
  for (auto* g : {a, b}) {
    ASSERT_NE(g->SearchFooter(), nullptr);
    ASSERT_NE(g->FloatingFooter(), nullptr);
    ASSERT_NE(g->SortSettings(), nullptr);
    ASSERT_NE(g->DragDropSettings(), nullptr);
    ASSERT_NE(g->DragScrollOptions(), nullptr);
    ASSERT_NE(g->Bands(), nullptr);
    ASSERT_NE(g->Grouping(), nullptr);
    ASSERT_NE(g->BackGround(), nullptr);
    ASSERT_NE(g->ProgressAppearance(), nullptr);
    ASSERT_NE(g->Filter(), nullptr);
    ASSERT_NE(g->Balloon(), nullptr);
    ASSERT_NE(g->ShowModified(), nullptr);
    ASSERT_NE(g->FilterDropDown(), nullptr);
  }
  a->SortSettings()->Column = 2;
  a->Grouping()->MergeHeader = true;
  a->Bands()->SetActive(true);
  a->Filter()->ColumnFilter(1)->Condition = "x";
  a->DragScrollOptions()->Active = true;
  a->FilterDropDown()->Width = 99;
  a->ProgressAppearance()->Steps = 3;
  b->Assign(a);
  EXPECT_EQ(b->SortSettings()->Column, 2);
  EXPECT_TRUE(b->Grouping()->MergeHeader);
  EXPECT_TRUE(b->Bands()->Active());
  ASSERT_EQ(b->Filter()->Count(), 1);
  EXPECT_EQ(b->Filter()->Items(0)->Condition, "x");
  EXPECT_TRUE(b->DragScrollOptions()->Active);
  EXPECT_EQ(b->FilterDropDown()->Width, 99);
  EXPECT_EQ(b->ProgressAppearance()->Steps, 3);
  vcl::Free(form);
}

// The floating footer shows the last row, so a new row count carries its
// texts to the new last row and empties the old one.
TEST(GridSettings, AVisibleFloatingFooterMovesWithTheLastRow) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* grid = new TVadOdizadEzev(form);
  grid->SetRowCount(10);
  grid->SetCells(1, 9, "total");
  grid->SetCells(2, 9, "42");
  grid->SetCells(1, 5, "data");
  grid->SetRowCount(12);  // the footer is not shown: nothing moves
  EXPECT_EQ(grid->Cells(1, 9), "total");
  EXPECT_EQ(grid->Cells(1, 11), "");
  grid->SetRowCount(10);

  grid->FloatingFooter()->Visible = true;
  grid->SetRowCount(12);
  EXPECT_EQ(grid->Cells(1, 11), "total");
  EXPECT_EQ(grid->Cells(2, 11), "42");
  EXPECT_EQ(grid->Cells(1, 9), "");
  EXPECT_EQ(grid->Cells(2, 9), "");
  EXPECT_EQ(grid->Cells(1, 5), "data");
  grid->SetRowCount(8);  // fewer rows: the footer texts come along
  EXPECT_EQ(grid->Cells(1, 7), "total");
  EXPECT_EQ(grid->Cells(1, 5), "data");
  vcl::Free(form);
}

// The sort format and the search footer's report reach the owner through
// the grid's operations, with the grid as Sender and the values as passed.
TEST(GridSettings, FormatAndSearchOperationsFireTheirEvents) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* grid = new TVadOdizadEzev(form);
  TSortStyle style = ssAutomatic;
  AnsiString prefix, suffix;
  grid->GetFormat(2, style, prefix, suffix);  // no handler: unchanged
  EXPECT_EQ(style, ssAutomatic);
  grid->OnGetFormat = [&](vcl::TObject* sender, Integer col, TSortStyle& s, AnsiString& p, AnsiString& x) {
    EXPECT_EQ(sender, grid);
    EXPECT_EQ(col, 2);
    s = col == 2 ? ssFinancial : ssRaw;
    p = "$";
    x = " USD";
  };
  grid->GetFormat(2, style, prefix, suffix);
  EXPECT_EQ(style, ssFinancial);
  EXPECT_EQ(prefix, "$");
  EXPECT_EQ(suffix, " USD");

  std::vector<std::tuple<AnsiString, Integer, Integer, TSearchAction>> reports;
  grid->SearchFooterAction("x", 1, 1, saFindFirst);  // no handler: nothing
  grid->OnSearchFooterAction = [&](vcl::TObject* sender, const AnsiString& v, Integer c, Integer r, TSearchAction a) {
    EXPECT_EQ(sender, grid);
    reports.emplace_back(v, c, r, a);
  };
  grid->SearchFooterAction("volt", 3, 4, saFindNext);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], std::make_tuple(AnsiString("volt"), 3, 4, saFindNext));
  vcl::Free(form);
}

// The grid's references to an image list and a menu are forgotten when
// those go first, and leave them alone when the grid goes first; the row
// indicator is a copy.
TEST(GridSettings, ReferencedComponentsAndTheRowIndicator) {
  for (bool gridFirst : {false, true}) {
    auto* form = new vcl::TForm(vcl::Application, 0);
    auto* grid = new TVadOdizadEzev(form);
    auto* images = new vcl::TImageList(form);
    auto* menu = new vcl::TPopupMenu(form);
    EXPECT_EQ(grid->GridImages(), nullptr);
    EXPECT_EQ(grid->FixedDropDownMenu(), nullptr);
    grid->SetGridImages(images);
    grid->SetFixedDropDownMenu(menu);
    EXPECT_EQ(grid->GridImages(), images);
    EXPECT_EQ(grid->FixedDropDownMenu(), menu);
    if (gridFirst) {
      vcl::Free(grid);
      vcl::Free(images);  // no notice to a grid that is gone
      vcl::Free(menu);
    } else {
      vcl::Free(images);
      vcl::Free(menu);
      EXPECT_EQ(grid->GridImages(), nullptr);
      EXPECT_EQ(grid->FixedDropDownMenu(), nullptr);
    }
    vcl::Free(form);
  }
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* grid = new TVadOdizadEzev(form);
  EXPECT_TRUE(grid->RowIndicator()->Empty());
  vcl::TBitmap arrow;
  arrow.SetSize(8, 12);
  grid->SetRowIndicator(&arrow);
  arrow.SetSize(1, 1);
  EXPECT_EQ(grid->RowIndicator()->Width(), 8);
  EXPECT_EQ(grid->RowIndicator()->Height(), 12);
  vcl::Free(form);
}
