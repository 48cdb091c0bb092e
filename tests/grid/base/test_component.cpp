// The grid component: what construction gives, the form's resizes reaching
// every grid and the form's own handler (grids freed in either order), the
// end of loading, integral height, the operations that ask the events,
// Assign, the editor table, and a grab of a small grid.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "controls/LumHintInfo.h"
#include "dropdown/VoeEdit.h"
#include "dropdown/VoeSpin.h"
#include "grid/GridComponent.h"
#include "grid/model/GridUtils.h"
#include "rtl/Convert.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

using namespace grid;
using vcl::TForm;

namespace {

TForm* MakeForm() {
  auto* form = new TForm(vcl::Application, 0);
  form->SetBounds(0, 0, 600, 400);
  return form;
}

}  // namespace

TEST(GridComponent, ConstructionGivesThePublishedStart) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->SetParent(form);
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_EQ(grid->ColCount(), 5);
  EXPECT_EQ(grid->FixedRows(), 1);
  EXPECT_EQ(grid->FixedCols(), 1);
  EXPECT_EQ(grid->DefaultRowHeight(), 22);
  EXPECT_EQ(grid->FixedRowHeight(), 22);
  EXPECT_EQ(grid->Width(), 400);
  EXPECT_EQ(grid->Height(), 250);
  EXPECT_EQ(grid->Look(), glXP);
  EXPECT_EQ(grid->FilterDropDownClear, "(All)");
  EXPECT_EQ(grid->FloatFormat(), "%.2f");
  EXPECT_EQ(grid->SelectionColor(), TColor(0xEACAB6));
  EXPECT_EQ(grid->SelectionColorTo(), clNone);
  EXPECT_EQ(grid->SelectionTextColor(), clBlack);
  EXPECT_EQ(grid->ActiveCellColor(), clGray);
  EXPECT_EQ(grid->HintColor, clInfoBk);
  EXPECT_EQ(grid->InvalidEntryIcon, ieWarning);
  EXPECT_EQ(grid->PasswordChar, '*');
  EXPECT_EQ(grid->ScrollWidth, vcl::GetSystemMetrics(vcl::SM_CXVSCROLL));
  EXPECT_EQ(grid->FixedGradientColor(fgFrom), TColor(0xFFFFFF));
  EXPECT_EQ(grid->FixedGradientColor(fgTo), vcl::ColorToRGB(clBtnFace));
  EXPECT_EQ(grid->FixedGradientColor(fgMirrorFrom), clNone);
  EXPECT_EQ(grid->FixedFont()->Name(), "Tahoma");
  EXPECT_TRUE(grid->FixedFont()->Style().Contains(vcl::fsBold));
  EXPECT_TRUE(grid->ActiveCellFont()->Style().Contains(vcl::fsBold));
  EXPECT_EQ(TVadOdizadEzev::LinkCursor(), vcl::crHandPoint);
  AnsiString yes, no;
  grid->GetCheckTrue(1, 1, yes);
  grid->GetCheckFalse(1, 1, no);
  EXPECT_EQ(yes, "Y");
  EXPECT_EQ(no, "N");
  // The desktop here is a current one.
  EXPECT_TRUE(grid->IsWin7());
  EXPECT_TRUE(grid->NewComCtrls());
  EXPECT_EQ(grid->WheelScrollLines(), 3);
  EXPECT_TRUE(grid->IsIgnoredColumn(0) == false);

  // One hidden, mostly disabled editor per kind the table has a factory for.
  auto* spin = dynamic_cast<dropdown::TVoeSpinEdit*>(grid->EditorControl(ecSpin));
  ASSERT_NE(spin, nullptr);
  EXPECT_FALSE(spin->Visible());
  EXPECT_FALSE(spin->Enabled());
  EXPECT_EQ(spin->Parent(), grid);
  EXPECT_EQ(spin->Owner(), grid);
  auto* editBtn = dynamic_cast<dropdown::TVoeEditBtn*>(grid->EditorControl(ecEditBtn));
  ASSERT_NE(editBtn, nullptr);
  EXPECT_EQ(editBtn->ButtonCaption(), "...");
  EXPECT_NE(dynamic_cast<vcl::TCheckBox*>(grid->EditorControl(ecCheckBox)), nullptr);
  EXPECT_NE(dynamic_cast<vcl::TButton*>(grid->EditorControl(ecButton)), nullptr);
  EXPECT_TRUE(grid->EditorControl(ecTransEdit)->Enabled());
  for (int k = 0; k < GridEditorControlCount; ++k) {
    const auto kind = static_cast<TGridEditorControl>(k);
    EXPECT_EQ(grid->EditorControl(kind) != nullptr, HasGridEditorFactory(kind)) << k;
  }
  vcl::Free(form);
}

TEST(GridComponent, ALaterFactoryTakesItsKindsPlace) {
  struct Restore {
    ~Restore() {
      RegisterGridEditorFactory(ecButton, [](TVadOdizadEzev* g) { return new vcl::TButton(g); });
    }
  } restore;
  int made = 0;
  RegisterGridEditorFactory(ecButton, [&](TVadOdizadEzev* g) {
    ++made;
    auto* edit = new vcl::TEdit(g);
    edit->SetName("replacement");
    return edit;
  });
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(grid->EditorControl(ecButton)->Name(), "replacement");
  EXPECT_FALSE(grid->EditorControl(ecButton)->Enabled());
  vcl::Free(form);
}

// Two grids on one form that has its own OnResize: every resize reaches
// both grids and the form's handler once, whichever grid is freed first,
// and the form keeps its handler after both are gone.
TEST(GridComponent, FormResizesReachEveryGridFreedInEitherOrder) {
  for (bool firstFreedFirst : {true, false}) {
    TForm* form = MakeForm();
    int formHandled = 0;
    form->OnResize = [&](vcl::TObject* sender) {
      EXPECT_EQ(sender, form);
      ++formHandled;
    };
    auto* a = new TVadOdizadEzev(form);
    auto* b = new TVadOdizadEzev(form);
    for (auto* g : {a, b}) {
      g->SetParent(form);
      g->SizeWithForm = true;
    }
    b->SetBounds(0, 0, 300, 200);

    form->SetBounds(0, 0, 630, 420);
    EXPECT_EQ(formHandled, 1);
    EXPECT_EQ(a->Width(), 430);
    EXPECT_EQ(a->Height(), 270);
    EXPECT_EQ(b->Width(), 330);
    EXPECT_EQ(b->Height(), 220);

    TVadOdizadEzev* freed = firstFreedFirst ? a : b;
    TVadOdizadEzev* kept = firstFreedFirst ? b : a;
    const Integer keptWidth = kept->Width();
    vcl::Free(freed);
    form->SetBounds(0, 0, 640, 420);
    EXPECT_EQ(formHandled, 2);
    EXPECT_EQ(kept->Width(), keptWidth + 10);

    vcl::Free(kept);
    form->SetBounds(0, 0, 650, 430);
    EXPECT_EQ(formHandled, 3);
    ASSERT_TRUE(static_cast<bool>(form->OnResize));
    vcl::Free(form);
  }
}

TEST(GridComponent, SizeWithFormSkipsASizeOfZeroOrLess) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->SetParent(form);
  grid->SizeWithForm = true;
  grid->SetBounds(0, 0, 100, 50);
  form->SetBounds(0, 0, 600, 340);  // 60 less: the grid would be -10 high
  EXPECT_EQ(grid->Width(), 100);
  EXPECT_EQ(grid->Height(), 50);
  // The form's size was not taken: the next change counts from 600 x 400.
  form->SetBounds(0, 0, 620, 420);
  EXPECT_EQ(grid->Width(), 120);
  EXPECT_EQ(grid->Height(), 70);
  // Off: the grid keeps its size.
  grid->SizeWithForm = false;
  form->SetBounds(0, 0, 700, 500);
  EXPECT_EQ(grid->Width(), 120);
  vcl::Free(form);
}

TEST(GridComponent, LoadingEndsWithTheRememberedCountsAndTheEditorOptionMoved) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->SetParent(form);
  grid->BeginLoad();
  auto options = grid->Options();
  options.Include(vcl::goAlwaysShowEditor);
  grid->SetOptions(options);
  grid->SetRowCount(6);
  grid->SetFixedRows(2);
  grid->ColumnHeaders()->SetCommaText("Name,Value,Unit");
  grid->SetCursor(vcl::crCross);
  EXPECT_FALSE(grid->GridLoaded());
  grid->EndLoad();
  EXPECT_TRUE(grid->GridLoaded());
  EXPECT_FALSE(grid->Options().Contains(vcl::goAlwaysShowEditor));
  EXPECT_TRUE(grid->Navigation()->AlwaysEdit);
  EXPECT_EQ(grid->Model().RememberedFixedRows(), 2);
  EXPECT_EQ(grid->Model().LargestRowCount(), 6);
  EXPECT_EQ(grid->Cells(0, 0), "Name");
  EXPECT_EQ(grid->Cells(2, 0), "Unit");
  EXPECT_EQ(grid->RestoreCursor(), vcl::crCross);
  ASSERT_EQ(grid->ColumnOrder()->Count(), 5);
  EXPECT_EQ(grid->ColumnOrder()->AsText(), "0,1,2,3,4");
  // Headers written later go straight into the fixed row and column.
  grid->RowHeaders()->SetCommaText("#,one,two");
  EXPECT_EQ(grid->Cells(0, 2), "two");
  vcl::Free(form);
}

TEST(GridComponent, IntegralHeightRoundsToWholeRows) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->SetParent(form);
  grid->IntegralHeight = true;
  ASSERT_EQ(grid->BorderStyle(), vcl::TGridBorderStyle::bsSingle);
  grid->SetBounds(0, 0, 400, 100);  // every column fits: no horizontal bar
  EXPECT_EQ(grid->Height(), 92);
  grid->SetBorderStyle(vcl::TGridBorderStyle::bsNone);
  grid->SetBounds(0, 0, 400, 100);
  EXPECT_EQ(grid->Height(), 88);  // 100 - (100 mod 22)
  // Columns that do not fit count the horizontal bar's height.
  grid->SetColCount(20);
  const Integer s = vcl::GetSystemMetrics(vcl::SM_CYHSCROLL);
  grid->SetBounds(0, 0, 400, 100);
  EXPECT_EQ(grid->Height(), 100 - ((100 - s) % 22));
  grid->IntegralHeight = false;
  grid->SetBounds(0, 0, 400, 100);
  EXPECT_EQ(grid->Height(), 100);
  vcl::Free(form);
}

TEST(GridComponent, FixedCellsAndEditorQuestions) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  int asked = 0;
  grid->OnIsFixedCell = [&](vcl::TObject*, Integer, Integer, bool& fixed) {
    ++asked;
    fixed = false;
  };
  bool isFixed = false;
  grid->IsFixedCell(0, 3, isFixed);
  EXPECT_TRUE(isFixed);
  EXPECT_EQ(asked, 0);
  isFixed = false;
  grid->IsFixedCell(2, 3, isFixed);
  EXPECT_FALSE(isFixed);
  EXPECT_EQ(asked, 1);

  // Every row fixed with FixedRowAlways: fixed without asking.
  grid->SetFixedRowAlways(true);
  grid->SetFixedRows(1);
  grid->SetRowCount(1);
  EXPECT_EQ(grid->vcl::TCustomGrid::FixedRows(), 0);
  EXPECT_EQ(grid->FixedRows(), 1);
  isFixed = false;
  grid->IsFixedCell(3, 0, isFixed);
  EXPECT_TRUE(isFixed);
  EXPECT_EQ(asked, 1);
  grid->SetRowCount(5);
  EXPECT_EQ(grid->vcl::TCustomGrid::FixedRows(), 1);

  // The spin question is never put for fixed cells; the combo one is.
  int spinAsked = 0, comboAsked = 0;
  grid->OnHasSpinEdit = [&](vcl::TObject*, Integer, Integer, bool& has) {
    ++spinAsked;
    has = true;
  };
  grid->OnHasComboBox = [&](vcl::TObject*, Integer, Integer, bool& has) {
    ++comboAsked;
    has = true;
  };
  EXPECT_FALSE(grid->HasSpinEdit(0, 2));
  EXPECT_FALSE(grid->HasSpinEdit(2, 0));
  EXPECT_EQ(spinAsked, 0);
  EXPECT_TRUE(grid->HasSpinEdit(2, 2));
  EXPECT_TRUE(grid->HasComboBox(0, 0));
  EXPECT_EQ(comboAsked, 1);

  // Without the events: the editor type decides while the buttons are
  // always shown.
  grid->OnHasSpinEdit = nullptr;
  grid->OnHasComboBox = nullptr;
  grid->OnGetEditorType = [](vcl::TObject*, Integer col, Integer, TEditorType& editor) {
    if (col == 2) editor = edFloatSpinEdit;
    if (col == 3) editor = edUniComboList;
  };
  EXPECT_FALSE(grid->HasSpinEdit(2, 2));
  EXPECT_FALSE(grid->HasComboBox(3, 2));
  grid->ControlLook()->SetSpinButtonsAlwaysVisible(true);
  grid->ControlLook()->SetDropDownAlwaysVisible(true);
  EXPECT_TRUE(grid->HasSpinEdit(2, 2));
  EXPECT_FALSE(grid->HasSpinEdit(3, 2));
  EXPECT_TRUE(grid->HasComboBox(3, 2));
  EXPECT_FALSE(grid->HasComboBox(2, 2));
  grid->DefaultEditor = edComboEdit;
  EXPECT_TRUE(grid->HasComboBox(4, 2));

  // No mask without a handler.
  struct MaskProbe : TVadOdizadEzev {
    using TVadOdizadEzev::GetEditMask;
    using TVadOdizadEzev::TVadOdizadEzev;
  };
  auto* probe = new MaskProbe(form);
  EXPECT_EQ(probe->GetEditMask(1, 1), "");
  probe->OnGetEditMask = [](vcl::TObject*, Integer col, Integer row, AnsiString& value) {
    value = col == 1 && row == 2 ? "999" : "";
  };
  EXPECT_EQ(probe->GetEditMask(1, 2), "999");
  vcl::Free(form);
}

TEST(GridComponent, CanEditFollowsReadOnlyOptionsAndTheEvent) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  std::vector<std::pair<Integer, Integer>> asked;  // (row, col) as the event gets them
  grid->OnCanEditCell = [&](vcl::TObject*, Integer row, Integer col, bool&) { asked.push_back({row, col}); };
  auto options = grid->Options();
  options.Include(vcl::goEditing);
  grid->SetOptions(options);
  grid->MergeCells(1, 1, 2, 2);
  bool canEdit = true;
  grid->CheckCanEdit(2, 2, canEdit);  // a covered cell asks for its block's base
  EXPECT_TRUE(canEdit);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], (std::pair<Integer, Integer>{1, 1}));

  grid->Model().CellProperties(3, 3).ReadOnly = true;
  canEdit = true;
  grid->CheckCanEdit(3, 3, canEdit);
  EXPECT_FALSE(canEdit);
  // A cell with properties needs goEditing, the grid's own request or range
  // editing.
  options.Exclude(vcl::goEditing);
  grid->SetOptions(options);
  grid->Model().CellProperties(3, 4).ReadOnly = false;
  canEdit = true;
  grid->CheckCanEdit(3, 4, canEdit);
  EXPECT_FALSE(canEdit);
  grid->EditorRequested = true;
  canEdit = true;
  grid->CheckCanEdit(3, 4, canEdit);
  EXPECT_TRUE(canEdit);
  grid->EditorRequested = false;
  grid->MouseActions()->RangeSelectAndEdit = true;
  canEdit = true;
  grid->CheckCanEdit(3, 4, canEdit);
  EXPECT_TRUE(canEdit);
  grid->MouseActions()->RangeSelectAndEdit = false;
  options.Include(vcl::goEditing);
  grid->SetOptions(options);
  canEdit = true;
  grid->CheckCanEdit(3, 4, canEdit);
  EXPECT_TRUE(canEdit);
  // The handler has the last word.
  grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer, bool& can) { can = false; };
  canEdit = true;
  grid->CheckCanEdit(3, 4, canEdit);
  EXPECT_FALSE(canEdit);
  vcl::Free(form);
}

TEST(GridComponent, CellColoursTakeTheActiveHeaderThePropertiesThenTheEvent) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->SetCol(2);
  grid->SetRow(3);
  grid->SetActiveCellShow(true);
  grid->SetActiveCellColor(0x00AA00);
  vcl::TBrush brush;
  vcl::TFont font;
  brush.SetColor(clWhite);
  grid->GetCellColor(0, 3, {}, &brush, &font);  // heads the current row
  EXPECT_EQ(brush.Color(), TColor(0x00AA00));
  EXPECT_TRUE(font.Style().Contains(vcl::fsBold));
  brush.SetColor(clWhite);
  grid->GetCellColor(2, 0, {}, &brush, &font);  // heads the current column
  EXPECT_EQ(brush.Color(), TColor(0x00AA00));
  brush.SetColor(clWhite);
  grid->GetCellColor(1, 0, {}, &brush, &font);
  EXPECT_EQ(brush.Color(), clWhite);

  auto& p = grid->Model().CellProperties(3, 4);
  p.SetBrushColor(0x0000CC);
  p.FontColor = 0x00CC00;
  p.FontSize = 14;
  p.FontName = "Serif";
  vcl::TFont cellFont;
  grid->GetCellColor(3, 4, {}, &brush, &cellFont);
  EXPECT_EQ(brush.Color(), TColor(0x0000CC));
  EXPECT_EQ(cellFont.Color(), TColor(0x00CC00));
  EXPECT_EQ(cellFont.Size(), 14);
  EXPECT_EQ(cellFont.Name(), "Serif");

  grid->OnGetCellColor = [](vcl::TObject*, Integer row, Integer col, TGridDrawState, vcl::TBrush* b, vcl::TFont*) {
    if (row == 4 && col == 3) b->SetColor(0x123456);
  };
  grid->GetCellColor(3, 4, {}, &brush, &cellFont);
  EXPECT_EQ(brush.Color(), TColor(0x123456));
  vcl::Free(form);
}

TEST(GridComponent, HintsAlignmentAndRowUpdates) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->OnGridHint = [](vcl::TObject*, Integer row, Integer col, AnsiString& hint) {
    hint = "cell " + rtl::IntToStr(col) + "," + rtl::IntToStr(row);
  };
  AnsiString hint;
  WideString wide;
  grid->GridHint(2, 5, hint, wide);
  EXPECT_EQ(hint, "cell 2,5");
  EXPECT_EQ(grid->OfficeHint()->Notes()->Text(), "cell 2,5\r\n");
  controls::TLumHintInfo* seen = nullptr;
  grid->OnOfficeHint = [&](vcl::TObject*, Integer, Integer, controls::TLumHintInfo* info) { seen = info; };
  grid->OnGridWideHint = [](vcl::TObject*, Integer, Integer, WideString& w) { w = u"\u00e9t\u00e9"; };
  grid->GridHint(1, 1, hint, wide);
  EXPECT_EQ(hint, EncodeWideText(u"\u00e9t\u00e9"));
  EXPECT_EQ(seen, grid->OfficeHint());

  TAlignment h = taLeftJustify;
  TVAlignment v = vtaTop;
  grid->GetAlignment(0, 1, h, v);
  EXPECT_EQ(h, taLeftJustify);
  grid->MouseActions()->SetHotmailRowSelect(true);
  grid->GetAlignment(0, 1, h, v);
  EXPECT_EQ(h, taCenter);
  h = taLeftJustify;
  grid->GetAlignment(1, 1, h, v);
  EXPECT_EQ(h, taLeftJustify);

  std::vector<std::pair<Integer, Integer>> updates;
  grid->OnRowUpdate = [&](vcl::TObject*, Integer oldRow, Integer newRow) { updates.push_back({oldRow, newRow}); };
  grid->SetCurrentRow(4);
  grid->SetCurrentRow(4);
  grid->SetCurrentRow(6);
  EXPECT_EQ(updates, (std::vector<std::pair<Integer, Integer>>{{-1, 4}, {4, 6}}));
  EXPECT_EQ(grid->CurrentRow(), 6);

  EXPECT_EQ(grid->GetUsedCellsRect(), vcl::Rect(0, 0, 0, 0));
  grid->SetCells(3, 2, "x");
  grid->SetCells(1, 7, "y");
  EXPECT_EQ(grid->GetUsedCellsRect(), vcl::Rect(1, 2, 3, 7));

  grid->SetVAlignment(vtaBottom);
  EXPECT_EQ(grid->VAlignmentFlag(), 8u);
  grid->SetVAlignment(vtaCenter);
  EXPECT_EQ(grid->VAlignmentFlag(), 4u);
  vcl::Free(form);
}

TEST(GridComponent, AssignCopiesSettingsCountsWidthsAndCells) {
  TForm* form = MakeForm();
  auto* a = new TVadOdizadEzev(form);
  auto* b = new TVadOdizadEzev(form);
  a->SetColCount(4);
  a->SetRowCount(6);
  a->SetFixedRows(2);
  a->SetColWidths(2, 90);
  a->SetRowHeights(3, 40);
  a->SetCells(3, 5, "last");
  a->SetCells(0, 0, "corner");
  a->Navigation()->AdvanceOnEnter = true;
  a->MouseActions()->ColSelect = true;
  a->InvalidEntryTitle = "Bad";
  a->ScrollBarAlways = saVert;
  a->SetActiveCellShow(true);
  b->Assign(a);
  EXPECT_EQ(b->ColCount(), 4);
  EXPECT_EQ(b->RowCount(), 6);
  EXPECT_EQ(b->FixedRows(), 2);
  EXPECT_EQ(b->ColWidths(2), 90);
  EXPECT_EQ(b->RowHeights(3), 40);
  EXPECT_EQ(b->Cells(3, 5), "last");
  EXPECT_EQ(b->Cells(0, 0), "corner");
  EXPECT_TRUE(b->Navigation()->AdvanceOnEnter);
  EXPECT_TRUE(b->MouseActions()->ColSelect);
  EXPECT_EQ(b->InvalidEntryTitle, "Bad");
  EXPECT_EQ(b->ScrollBarAlways, saVert);
  EXPECT_TRUE(b->ActiveCellShow());
  // From anything else: nothing.
  vcl::TFont font;
  b->Assign(&font);
  b->AssignCells(&font);
  EXPECT_EQ(b->Cells(3, 5), "last");
  vcl::Free(form);
}

TEST(GridComponent, ControlLookOverridesFixedColoursOnlyWithAColour) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  const TColor before = grid->FixedGradientColor(fgFrom);
  grid->ControlLook()->SetFixedGradient(fgFrom, clNone);
  EXPECT_EQ(grid->FixedGradientColor(fgFrom), before);
  grid->ControlLook()->SetFixedGradient(fgFrom, clRed);
  EXPECT_EQ(grid->FixedGradientColor(fgFrom), clRed);
  grid->ControlLook()->SetFixedGradient(fgDownBorder, clBtnFace);
  EXPECT_EQ(grid->FixedGradientColor(fgDownBorder), vcl::ColorToRGB(clBtnFace));

  TControlLook copy(nullptr);
  grid->ControlLook()->SetCheckSize(20);
  grid->ControlLook()->SetFlatButton(true);
  grid->ControlLook()->SetControlStyle(csFlat);
  copy.Assign(grid->ControlLook());
  EXPECT_EQ(copy.CheckSize(), 20);
  EXPECT_EQ(copy.ControlStyle(), csFlat);
  EXPECT_EQ(copy.FixedGradient(fgFrom), clRed);
  EXPECT_FALSE(copy.FlatButton());  // not copied
  vcl::Free(form);
}

TEST(GridComponent, ScalingScalesTheRowsAndTheTwoFonts) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->FixedFont()->SetSize(8);
  grid->ActiveCellFont()->SetSize(10);
  grid->ChangeScale(3, 2);
  EXPECT_EQ(grid->DefaultRowHeight(), 33);
  EXPECT_EQ(grid->FixedFont()->Size(), 12);
  EXPECT_EQ(grid->ActiveCellFont()->Size(), 15);
  vcl::Free(form);
}

// A 5 x 4 grid with a merged block and its lines inside the cells, once in
// each of the four selection looks, side by side in one grab.
TEST(GridComponent, GrabOfASmallGridInTheFourSelectionLooks) {
  TForm* form = MakeForm();
  form->SetClientWidth(4 * 320);
  form->SetClientHeight(120);
  QImage all(4 * 320, 110, QImage::Format_RGB32);
  all.fill(Qt::white);
  QPainter painter(&all);
  for (Byte look = 0; look < 4; ++look) {
    auto* grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBorderStyle(vcl::TGridBorderStyle::bsNone);
    grid->SetScrollBars(vcl::ssNone);
    grid->SetColCount(5);
    grid->SetRowCount(4);
    grid->SetDefaultColWidth(60);
    grid->SetDefaultRowHeight(24);
    grid->SetBounds(look * 320, 0, 310, 106);
    grid->SetColor(clWhite);
    grid->SetFixedColor(0xE0E0E0);
    grid->SetSelectionLook(look);
    grid->ColumnHeaders()->SetCommaText(",Name,Value,Unit,Note");
    grid->SetCells(1, 1, "block");
    grid->MergeCells(1, 1, 2, 2);
    grid->SetCells(3, 1, "3.5");
    grid->SetCells(4, 3, "end");
    auto options = grid->Options();
    options.Include(vcl::goDrawFocusSelected);
    grid->SetOptions(options);
    grid->SetSelection({3, 2, 4, 3});
  }
  form->Show();
  vcl::Application->ProcessMessages();
  for (Integer i = 0; i < form->ControlCount(); ++i) {
    auto* grid = dynamic_cast<TVadOdizadEzev*>(form->Controls(i));
    if (grid == nullptr) continue;
    grid->Invalidate();
    const QImage img = grid->Widget()->grab().toImage();
    painter.drawImage(grid->Left(), 0, img);
    // Lines inside the cells: the merged block has none across it.
    const QRgb inside = img.pixel(120, 24);
    EXPECT_EQ(qRed(inside), qRed(img.pixel(100, 30))) << "no line across the merged block";
    // The boxed looks frame the selection; the plain one fills it with
    // SelectionColor.
    const QRgb side = img.pixel(181, 60);
    if (grid->SelectionLook() == 0)
      EXPECT_EQ(side, qRgb(0xB6, 0xCA, 0xEA));
    else
      EXPECT_NE(side, qRgb(255, 255, 255)) << int(grid->SelectionLook());
  }
  painter.end();
  ASSERT_TRUE(all.save(TOLVANE_BUILD_DIR "/grid-component-looks.png"));
  vcl::Free(form);
}

// Enter on a grid set up like a settings dialog: column 2 is refused by
// OnCanEditCell, so the advance passes over it; the events come in order
// and may change or refuse the target.
TEST(GridComponent, EnterAdvancePassesOverRefusedCellsWithItsEvents) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->SetParent(form);
  grid->SetColCount(4);
  grid->SetRowCount(3);
  std::vector<std::string> events;
  grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer col, bool& can) { can = can && col != 2; };
  grid->OnAutoAdvance = [&](vcl::TObject*, Integer oldRow, Integer oldCol, Integer& newRow, Integer& newCol, bool&) {
    events.push_back("advance " + std::to_string(oldCol) + "," + std::to_string(oldRow) + " -> " +
                     std::to_string(newCol) + "," + std::to_string(newRow));
  };
  grid->OnCellChanging = [&](vcl::TObject*, Integer, Integer, Integer newRow, Integer newCol, bool&) {
    events.push_back("changing " + std::to_string(newCol) + "," + std::to_string(newRow));
  };
  grid->SetCol(1);
  grid->SetRow(1);
  // Off without force.
  grid->AdvanceAfterEnter(1, 1, false, true, false, false);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_TRUE(events.empty());

  grid->Navigation()->AdvanceOnEnter = true;
  grid->AdvanceAfterEnter(1, 1, false, true, false, false);
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(events, (std::vector<std::string>{"advance 1,1 -> 3,1", "changing 3,1"}));

  // At the last cell with AdvanceInsert: a row is added and reported.
  grid->Navigation()->SetAdvanceInsert(true);
  std::vector<Integer> added;
  grid->OnAutoAddRow = [&](vcl::TObject*, Integer row) { added.push_back(row); };
  grid->SetRow(2);
  grid->AdvanceAfterEnter(3, 2, false, true, false, false);
  EXPECT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(added, (std::vector<Integer>{3}));
  EXPECT_EQ(grid->Row(), 3);
  EXPECT_EQ(grid->Col(), 1);

  // The handler refuses: the current cell stays.
  grid->OnCellChanging = [](vcl::TObject*, Integer, Integer, Integer, Integer, bool& allow) { allow = false; };
  grid->AdvanceAfterEnter(1, 3, false, true, false, false);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 3);

  // Nothing can be edited: the current cell stays and no event fires.
  events.clear();
  grid->OnCellChanging = nullptr;
  grid->OnCanEditCell = [](vcl::TObject*, Integer, Integer, bool& can) { can = false; };
  grid->Navigation()->SetAdvanceInsert(false);
  grid->AdvanceAfterEnter(1, 3, false, true, false, false);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 3);
  EXPECT_TRUE(events.empty());

  // Top to bottom, the handler moving the target.
  grid->OnCanEditCell = nullptr;
  grid->Navigation()->SetAdvanceDirection(adTopBottom);
  grid->OnAutoAdvance = [](vcl::TObject*, Integer, Integer, Integer& newRow, Integer& newCol, bool&) {
    newRow = 1;
    newCol = 2;
  };
  grid->SetRow(1);
  grid->AdvanceAfterEnter(1, 1, false, true, false, false);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 1);
  vcl::Free(form);
}

TEST(GridComponent, FormattedTextAndAlignment) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->SetCells(1, 1, "3.14159");
  grid->SetCells(2, 1, "=A1+B1");
  grid->SetCells(3, 1, "12 kg");
  AnsiString text;
  // Without the event the float format is not applied.
  grid->GetFormattedCell(1, 1, text);
  EXPECT_EQ(text, "3.14159");

  AnsiString given = "%.2f";
  bool keep = true;
  grid->OnGetFloatFormat = [&](vcl::TObject*, Integer, Integer, bool& isFloat, AnsiString& format) {
    format = given;
    isFloat = keep;
  };
  grid->GetFormattedCell(1, 1, text);
  EXPECT_EQ(text, "3.14");
  grid->SetCells(1, 2, "42");
  given = "%d";
  grid->GetFormattedCell(1, 2, text);
  EXPECT_EQ(text, "42");
  given = "%d";
  grid->GetFormattedCell(1, 1, text);  // not an integer: the conversion fails
  EXPECT_EQ(text, "3.14159");
  given = "%s%s";  // a format that fails
  grid->GetFormattedCell(1, 1, text);
  EXPECT_EQ(text, "3.14159");
  keep = false;
  given = "%.2f";
  grid->GetFormattedCell(1, 1, text);
  EXPECT_EQ(text, "3.14159");
  // Formulas and texts are never formatted.
  keep = true;
  grid->GetFormattedCell(2, 1, text);
  EXPECT_EQ(text, "=A1+B1");
  grid->GetFormattedCell(3, 1, text);
  EXPECT_EQ(text, "12 kg");

  TAlignment h;
  TVAlignment v;
  grid->SetVAlignment(vtaCenter);
  grid->AutoNumAlign = true;
  grid->ResolveCellAlignment(1, 1, h, v);
  EXPECT_EQ(h, taRightJustify);
  EXPECT_EQ(v, vtaCenter);
  grid->ResolveCellAlignment(3, 1, h, v);
  EXPECT_EQ(h, taLeftJustify);
  grid->Model().CellProperties(3, 1).Alignment = taCenter;
  grid->ResolveCellAlignment(3, 1, h, v);
  EXPECT_EQ(h, taLeftJustify);  // with AutoNumAlign the cell's own is not read
  grid->AutoNumAlign = false;
  grid->ResolveCellAlignment(3, 1, h, v);
  EXPECT_EQ(h, taCenter);
  grid->OnGetAlignment = [](vcl::TObject*, Integer, Integer, TAlignment& ha, TVAlignment& va) {
    ha = taRightJustify;
    va = vtaBottom;
  };
  grid->ResolveCellAlignment(3, 1, h, v);
  EXPECT_EQ(h, taRightJustify);
  EXPECT_EQ(v, vtaBottom);
  vcl::Free(form);
}

TEST(GridComponent, EditableAndNavigableCells) {
  TForm* form = MakeForm();
  auto* grid = new TVadOdizadEzev(form);
  grid->SetColCount(6);
  grid->SetRowCount(6);
  // Editing off: nothing is editable.
  EXPECT_FALSE(grid->IsCellEditable(2, 2));
  auto options = grid->Options();
  options.Include(vcl::goEditing);
  grid->SetOptions(options);
  EXPECT_TRUE(grid->IsCellEditable(2, 2));
  EXPECT_FALSE(grid->IsCellEditable(0, 2));  // fixed
  EXPECT_FALSE(grid->IsCellEditable(2, 0));
  // A covered cell answers for its block's base.
  grid->MergeCells(2, 2, 2, 2);
  grid->OnCanEditCell = [](vcl::TObject*, Integer row, Integer col, bool& can) { can = !(col == 2 && row == 2); };
  EXPECT_FALSE(grid->IsCellEditable(3, 3));
  EXPECT_TRUE(grid->IsCellEditable(4, 3));
  // Range editing alone is enough.
  options.Exclude(vcl::goEditing);
  grid->SetOptions(options);
  grid->MouseActions()->RangeSelectAndEdit = true;
  EXPECT_TRUE(grid->IsCellEditable(4, 3));

  grid->SetFixedFooters(1);
  grid->SetFixedRightCols(1);
  EXPECT_TRUE(grid->IsFixedForNavigation(2, 5));  // footer row
  EXPECT_TRUE(grid->IsFixedForNavigation(5, 2));  // fixed right column
  EXPECT_TRUE(grid->IsFixedForNavigation(0, 2));
  EXPECT_FALSE(grid->IsFixedForNavigation(3, 3));
  grid->SetRow(4);
  EXPECT_TRUE(grid->IsLastDataRow());
  grid->SetRow(3);
  EXPECT_FALSE(grid->IsLastDataRow());
  EXPECT_EQ(grid->FirstNavigableColumn(), 1);
  vcl::Free(form);
}
