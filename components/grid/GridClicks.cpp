// What a mouse button does on the cells: check boxes, radio buttons and
// groups, cell buttons, ratings, always-visible spin buttons, a double
// click sizing a column at a header border or editing a fixed cell, and
// the click events, around the class library's own mouse handling.
#include <algorithm>
#include <cmath>

#include "grid/GridComponent.h"
#include "grid/GridSpin.h"
#include "rtl/Convert.h"
#include "vcl/StdCtrls.h"

namespace grid {

namespace {

bool Inside(const TPixelRect& r, Integer x, Integer y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

// A rating value as the cell's text: halves written with one decimal.
AnsiString RatingText(double value) {
  const Integer tenths = static_cast<Integer>(std::lround(value * 10));
  return tenths % 10 == 0 ? std::to_string(tenths / 10) : std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace

void TVadOdizadEzev::MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  if (button == vcl::mbRight) {
    TBaseGrid::MouseDown(button, shift, x, y);
    const vcl::TGridCoord c = MouseCoord(x, y);
    if (c.X >= 0 && c.Y >= 0 && OnRightClickCell) OnRightClickCell(this, c.Y, c.X);
    return;
  }
  if (button != vcl::mbLeft) {
    TBaseGrid::MouseDown(button, shift, x, y);
    return;
  }
  if (shift.Contains(vcl::ssDouble))
    ClickDouble(shift, x, y);
  else
    ClickPress(shift, x, y);
}

void TVadOdizadEzev::ClickPress(vcl::TShiftState shift, Integer x, Integer y) {
  spinUp_ = spinDown_ = false;
  const vcl::TGridCoord at = MouseCoord(x, y);
  bool allow = true;
  if (OnCanClickCell) OnCanClickCell(this, at.Y, at.X, allow);
  // Refused: not even the class library's handling runs.
  if (!allow) return;
  if (ResizerPress(x, y)) return;
  lookupText_.clear();
  pressedButton_ = {-1, -1};
  if (at.X < 0 || at.Y < 0) {
    if (editorActive_) HideCellEditor();
    TBaseGrid::MouseDown(vcl::mbLeft, shift, x, y);
    return;
  }
  const TCellCoord base = Model().BaseCell(RealColIndex(at.X), at.Y);
  const Integer c = DisplColIndex(base.X), r = base.Y, rc = base.X;
  const vcl::TRect cell = CellRect(c, r);
  const bool fixedCell = r < FixedRows() || c < FixedCols() || IsFixedForNavigation(rc, r);
  if (fixedCell && editorActive_) HideCellEditor();
  TCellControlHost& controls = CellControlState();
  bool editable = true;
  CheckCanEdit(rc, r, editable);

  // The always-visible spin buttons: the upper or lower half of the
  // rightmost 18 pixels steps the editor opened on the cell.
  if (controlLook_->SpinButtonsAlwaysVisible() && HasSpinEdit(rc, r) && x >= cell.Right - 18) {
    (y <= cell.Top + (cell.Bottom - cell.Top) / 2 ? spinUp_ : spinDown_) = true;
  }
  const TCellGraphic* g = controls.GetCellGraphic(rc, r);
  const TCellType type = g != nullptr ? g->CellType : ctEmpty;
  if (rc == 0 && type == ctNode && NodeClickPress(r, shift, x, y)) return;

  if (type == ctRadio && (editable || controlLook_->RadioAlwaysActive)) {
    if (editorActive_) HideCellEditor();
    RadioGroupClick(rc, r, y - cell.Top, x - cell.Left);
    return;
  }
  // Column 0 of an outline holds the glyphs and tree lines: a press there
  // off the glyph reports itself and leaves the selection alone.
  if (c == 0 && HasNodes() && r >= FixedRows() && r < RowCount() - FixedFooters() && !mouseActions_->RowSelect &&
      !Options().Contains(vcl::goRowSizing)) {
    if (OnMouseDown) OnMouseDown(this, vcl::mbLeft, shift, x, y);
    if (OnClickCell) OnClickCell(this, r, c);
    return;
  }
  if (type == ctRating && editable) {
    if (editorActive_) HideCellEditor();
    double value = std::nearbyint((x - cell.Left) / 9.0) / 2;
    if (controls.RatingChange(rc, r, value)) {
      Model().SetDisplayCell(rc, r, RatingText(value));
      InvalidateCell(c, r);
    }
    return;
  }
  if (type == ctButton || type == ctBitButton) {
    if (editorActive_) HideCellEditor();
    if (!IsFixedForNavigation(rc, r) && (Col() != c || Row() != r) && SelectCell(c, r)) {
      SetCol(c);
      SetRow(r);
    }
    TPixelRect br{-1, -1, -1, -1};
    controls.GetCellButtonRect(c, r, br);
    if (Inside(br, x, y)) {
      controls.SetCellButtonDown(c, r, true);
      pressedButton_ = {c, r};
      SetMouseCapture(true);
      if (OnClickCell) OnClickCell(this, r, c);
    }
    return;
  }

  // Links, anchors and the form controls of mini-HTML.
  if (ClickLink(c, r, rc, x, y)) return;

  // Check boxes and radio buttons.
  bool canAct = Options().Contains(vcl::goEditing) || mouseActions_->RangeSelectAndEdit;
  CheckCanEdit(rc, r, canAct);
  const bool checkKind = controls.IsCheckBoxCell(c, r) || type == ctRadioButton;
  const bool rowCheck = c == 0 && mouseActions_->HotmailRowSelect();
  if (checkKind && (canAct || controlLook_->CheckAlwaysActive || rowCheck) && controls.IsCheckBoxHit(rc, r, x, y)) {
    if (editorActive_) HideCellEditor();
    if (CanFocus()) SetFocus();
    bool acted;
    if (type == ctRadioButton) {
      acted = controls.ToggleRadio(rc, r, true);
      if (acted && OnRadioButtonClick) OnRadioButtonClick(this, rc, r);
    } else {
      acted = controls.ToggleCheckBox(rc, r, true);
    }
    if (acted && showModified_->Enabled) {
      const Integer real = RealRowIndex(r);
      if (!rowModified_->HasValue(real)) rowModified_->Add(real);
      InvalidateCell(0, r);
    }
    bool state = false;
    controls.GetCellCheckState(rc, RealRowIndex(r), state);
    if (!navigation_->AlwaysEdit && !fixedCell && (Col() != c || Row() != r)) {
      SetCol(c);
      SetRow(r);
    }
    if (type != ctRadioButton && OnCheckBoxClick) OnCheckBoxClick(this, c, r, state);
    if (HideFocusRect) InvalidateCell(c, r);
    if (r < FixedRows() && mouseActions_->CheckAllCheck && type != ctRadioButton) {
      if (state)
        controls.CheckColumn(rc);
      else
        controls.UncheckColumn(rc);
    }
    if (OnMouseDown) OnMouseDown(this, vcl::mbLeft, shift, x, y);
    Click();
    return;
  }

  // A cell fixed for navigation only reports its click.
  if (IsFixedForNavigation(rc, r) && !(r < FixedRows() || c < FixedCols())) {
    if (OnClickCell) OnClickCell(this, r, c);
    return;
  }
  TBaseGrid::MouseDown(vcl::mbLeft, shift, x, y);
  if (OnClickCell) OnClickCell(this, r, c);
  // The always-visible spin buttons step the editor the press opened.
  if (spinUp_ || spinDown_) {
    if (!editorActive_) ShowCellEditor();
    if (auto* spin = dynamic_cast<TGridSpin*>(ActiveEditorControl())) {
      if (spinUp_)
        spin->StepUp(false);
      else
        spin->StepDown(false);
    }
  }
}

void TVadOdizadEzev::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  if (button == vcl::mbLeft && resizing_) {
    TBaseGrid::MouseUp(button, shift, x, y);
    ResizerRelease();
    return;
  }
  if (button == vcl::mbLeft) FilterMouseUp(x, y);
  if (button == vcl::mbLeft && pressedHtmlButton_.X >= 0) {
    const TCellCoord pressed = pressedHtmlButton_;
    pressedHtmlButton_ = {-1, -1};
    InvalidateCell(DisplColIndex(pressed.X), pressed.Y);
  }
  if (button == vcl::mbLeft && pressedButton_.X >= 0) {
    const TCellCoord pressed = pressedButton_;
    pressedButton_ = {-1, -1};
    SetMouseCapture(false);
    TCellControlHost& controls = CellControlState();
    const vcl::TGridCoord at = MouseCoord(x, y);
    bool editable = true;
    CheckCanEdit(RealColIndex(pressed.X), pressed.Y, editable);
    const bool fixedCell = pressed.Y < FixedRows() || pressed.X < FixedCols();
    const bool inside = [&] {
      if (at.X < 0 || at.Y < 0) return false;
      TPixelRect br{-1, -1, -1, -1};
      controls.GetCellButtonRect(at.X, at.Y, br);
      return Inside(br, x, y);
    }();
    if (at.X >= 0 && at.Y >= 0 &&
        (editable || controlLook_->NoDisabledButtonLook() || fixedCell)) {
      controls.SetCellButtonDown(pressed.X, pressed.Y, false);
      if (inside && OnButtonClick) OnButtonClick(this, RealColIndex(pressed.X), pressed.Y);
    } else {
      controls.SetCellButtonDown(pressed.X, pressed.Y, false);
    }
    if (inside) {
      TBaseGrid::MouseUp(button, shift, x, y);
      return;
    }
  }
  TBaseGrid::MouseUp(button, shift, x, y);
  if (button != vcl::mbLeft) return;
  const vcl::TGridCoord at = MouseCoord(x, y);
  if (at.X > 0 && at.Y >= FixedRows() && grouping_->AutoSelectGroup) SelectNodeGroup(at.Y);
  if (at.X < FixedCols() || at.Y < 0) return;
  TCellControlHost& controls = CellControlState();
  const Integer rc = RealColIndex(at.X);
  if (controls.IsCheckBoxCell(at.X, at.Y)) {
    bool state = false;
    controls.GetCellCheckState(rc, RealRowIndex(at.Y), state);
    if (OnCheckBoxMouseUp) OnCheckBoxMouseUp(this, rc, at.Y, state);
  } else if (controls.IsRadioGroupCell(at.X, at.Y)) {
    Integer index = -1;
    controls.GetRadioChoice(rc, at.Y, index);
    if (OnRadioMouseUp) OnRadioMouseUp(this, rc, at.Y, index);
  }
}

void TVadOdizadEzev::ClickDouble(vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TGridCoord at = MouseCoord(x, y);
  // Right of the last column counts as row 0 of the last column.
  if (at.X < 0 && at.Y < 0 && !FixedRowAlways() && x >= 0) {
    at = {ColCount() - 1, 0};
  }
  // A header border: the column left of it sized to its contents.
  if (at.Y >= 0 && at.Y < FixedRows() && at.X >= 0 && Options().Contains(vcl::goColSizing) &&
      mouseActions_->AutoSizeColOnDblClick) {
    const vcl::TRect cell = CellRect(at.X, at.Y);
    Integer col = -1;
    if (x - cell.Left <= 3 && at.X - 1 >= FixedCols())
      col = at.X - 1;
    else if (cell.Right - x <= 3 && at.X >= FixedCols())
      col = at.X;
    if (col >= 0) {
      bool allow = true;
      if (OnColumnSize) OnColumnSize(this, col, allow);
      if (allow) {
        AutoSizeCol(col, 0);
        if (OnEndColumnSize) OnEndColumnSize(this, col);
      }
      TBaseGrid::MouseDown(vcl::mbLeft, shift, x, y);
      return;
    }
  }
  if (at.X < 0 || at.Y < 0) {
    TBaseGrid::MouseDown(vcl::mbLeft, shift, x, y);
    return;
  }
  // Inside a cell button the double click is the button's.
  if (CellControlState().IsButtonCell(RealColIndex(at.X), at.Y)) {
    TPixelRect br{-1, -1, -1, -1};
    CellControlState().GetCellButtonRect(at.X, at.Y, br);
    if (Inside(br, x, y)) return;
  }
  TBaseGrid::MouseDown(vcl::mbLeft, shift, x, y);
  if (OnDblClickCell) OnDblClickCell(this, at.Y, at.X);
  if ((at.Y < FixedRows() && mouseActions_->FixedRowsEdit == fceDblClick) ||
      (at.X < FixedCols() && mouseActions_->FixedColsEdit == fceDblClick))
    EditFixedCell(at.X, at.Y);
}

void TVadOdizadEzev::RadioGroupClick(Integer col, Integer row, Integer y, Integer x) {
  TCellControlHost& controls = CellControlState();
  const TCellCoord base = Model().BaseCell(col, row);
  TCellGraphic* g = controls.GetCellGraphic(base.X, base.Y);
  if (g == nullptr || g->CellType != ctRadio) return;
  const Integer displayCol = DisplColIndex(base.X);
  if (!IsFixedForNavigation(base.X, base.Y) && (Col() != displayCol || Row() != base.Y)) {
    SetCol(displayCol);
    SetRow(base.Y);
  }
  const auto* options = static_cast<const rtl::TStrings*>(g->CellBitmap());
  if (options == nullptr) return;
  vcl::TCanvas* canvas = Canvas();
  vcl::TBrush brush;
  vcl::TFont font;
  ApplyCellFont(base.X, displayCol, &brush, &font, TGridDrawState{}, base.Y);
  vcl::TFont kept;
  kept.Assign(canvas->Font());
  canvas->Font()->Assign(&font);
  const TControlStyle style = controlLook_->ControlStyle();
  const Integer radio = style >= csWinXP ? 16 : controlLook_->RadioSize();
  const Integer step = std::max(radio, canvas->TextHeight("gh"));
  Integer start = 0, chosen = -1;
  for (Integer i = 0; i < options->Count() && chosen < 0; ++i) {
    const Integer span = g->CellBoolean ? canvas->TextWidth(options->Get(i)) + radio : step;
    const Integer offset = g->CellBoolean ? x : y;
    if (offset > start && offset < start + span) chosen = i;
    start += span;
  }
  canvas->Font()->Assign(&kept);
  if (chosen < 0) return;
  if (g->CellIndex == -1)
    Model().SetDisplayCell(base.X, base.Y, options->Get(chosen));
  else
    g->CellIndex = chosen;
  Model().SetDisplayCell(base.X, base.Y, Model().GetDisplayCell(base.X, base.Y));
  if (g->CellIndex != -1) g->CellIndex = chosen;
  InvalidateCell(displayCol, base.Y);
  if (OnRadioClick) OnRadioClick(this, base.X, base.Y, chosen);
}

void TVadOdizadEzev::EditFixedCell(Integer col, Integer row) {
  auto* edit = dynamic_cast<vcl::TEdit*>(EditorControl(ecTransEdit));
  if (edit == nullptr) return;
  if (fixedEditCell_.X >= 0) CloseFixedCellEditor(true);
  bool canEdit = false;
  CheckCanEdit(RealColIndex(col), row, canEdit);
  if (canEdit) return;
  const vcl::TRect r = CellRect(col, row);
  fixedEditCell_ = {col, row};
  edit->SetParent(this);
  edit->SetBounds(r.Left + 1, r.Top + 1, r.Width() - 2, r.Height() - 2);
  edit->SetText(Cells(col, row));
  edit->OnExit = [this](vcl::TObject*) { CloseFixedCellEditor(true); };
  edit->OnKeyDown = [this](vcl::TObject*, Word& key, vcl::TShiftState) {
    if (key == vcl::VK_RETURN || key == vcl::VK_ESCAPE) {
      CloseFixedCellEditor(key == vcl::VK_RETURN);
      key = 0;
    }
  };
  edit->SetEnabled(true);
  edit->Show();
  if (edit->CanFocus()) edit->SetFocus();
}

void TVadOdizadEzev::CloseFixedCellEditor(bool store) {
  auto* edit = dynamic_cast<vcl::TEdit*>(EditorControl(ecTransEdit));
  if (edit == nullptr || fixedEditCell_.X < 0) return;
  const TCellCoord cell = fixedEditCell_;
  fixedEditCell_ = {-1, -1};
  if (store) SetCells(RealColIndex(cell.X), cell.Y, edit->Text());
  edit->OnExit = nullptr;
  edit->Hide();
  InvalidateCell(cell.X, cell.Y);
}

}  // namespace grid
