#include "grid/GridFooter.h"

#include <algorithm>

#include "dropdown/HtmlText.h"
#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"
#include "vcl/Messages.h"

namespace grid {

// ===== the panel =====

TFooterPanel::TFooterPanel(vcl::TComponent* owner, TVadOdizadEzev* grid) : vcl::TCustomPanel(owner), grid_(grid) {
  SetBevelOuter(vcl::bvNone);
  SetBorderWidth(0);
  SetShowCaption(false);
  SetAlign(vcl::alBottom);
  SetHeight(0);
}

Integer TFooterPanel::DataWidth() const {
  Integer w = 0;
  for (Integer c = 0; c < grid_->FixedCols(); ++c) w += grid_->ColWidths(c);
  for (Integer c = std::max(grid_->LeftCol(), grid_->FixedCols()); c < grid_->ColCount(); ++c)
    w += grid_->ColWidths(c);
  return w;
}

Integer TFooterPanel::ColumnAt(Integer x) const {
  Integer right = 0;
  for (Integer c = 0; c < grid_->FixedCols(); ++c) {
    right += grid_->ColWidths(c);
    if (x < right) return c;
  }
  for (Integer c = std::max(grid_->LeftCol(), grid_->FixedCols()); c < grid_->ColCount(); ++c) {
    right += grid_->ColWidths(c);
    if (x < right) return c;
  }
  return -1;
}

void TFooterPanel::Paint() {
  vcl::TCanvas* canvas = Canvas();
  const Integer width = DataWidth();
  const TFloatingFooter* f = grid_->FloatingFooter();
  switch (f->FooterStyle) {
    case fsFixedLastRow:
      PaintLastRow(canvas, width);
      break;
    case fsColumnPreview:
      PaintPreview(canvas, width, false);
      break;
    case fsCustomPreview:
      PaintPreview(canvas, width, true);
      break;
  }
  if (f->BorderColor != clNone) {
    canvas->Pen()->SetColor(f->BorderColor);
    canvas->MoveTo(0, 0);
    canvas->LineTo(width, 0);
  }
}

void TFooterPanel::PaintLastRow(vcl::TCanvas* canvas, Integer width) {
  const TFloatingFooter* f = grid_->FloatingFooter();
  const Integer h = ClientHeight();
  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Brush()->SetColor(f->Color);
  canvas->FillRect({0, 0, width, h});
  canvas->Brush()->SetColor(grid_->Color());
  canvas->FillRect({width, 0, ClientWidth(), h});
  const Integer row = grid_->RowCount() - 1;
  if (row < 0) return;
  const vcl::TGridOptions& options = grid_->Options();
  const TGridLook look = grid_->Look();
  const bool whiteLeft = options.Contains(vcl::goFixedVertLine) && !grid_->Flat() &&
                         (look == glSoft || look == glRUZ || look == glXP || look == glVista);
  std::vector<Integer> columns;
  for (Integer c = 0; c < grid_->FixedCols(); ++c) columns.push_back(c);
  for (Integer c = std::max(grid_->LeftCol(), grid_->FixedCols()); c < grid_->ColCount(); ++c) columns.push_back(c);
  TGridModel& model = grid_->Model();
  Integer x = 0;
  for (Integer c : columns) {
    const Integer w = grid_->ColWidths(c);
    if (whiteLeft) {
      canvas->Pen()->SetColor(clWhite);
      canvas->MoveTo(x, 0);
      canvas->LineTo(x, h);
    }
    if (options.Contains(vcl::goFixedHorzLine)) {
      canvas->Pen()->SetColor(grid_->GridLineColor());
      canvas->MoveTo(x, 0);
      canvas->LineTo(x + w, 0);
    }
    if (options.Contains(vcl::goFixedVertLine)) {
      canvas->Pen()->SetColor(c >= grid_->FixedCols() && look != glVista ? TColor(0x808080) : grid_->GridLineColor());
      canvas->MoveTo(x + w - 1, 0);
      canvas->LineTo(x + w - 1, h);
    }
    if (!model.IsCoveredCell(c, row)) {
      Integer cellWidth = w;
      const TCellCoord span = model.CellSpan(c, row);
      for (Integer k = 1; k <= span.X && c + k < grid_->ColCount(); ++k) cellWidth += grid_->ColWidths(c + k);
      const vcl::TRect r{x, 1, x + cellWidth - 1, h};
      vcl::TBrush brush;
      vcl::TFont font;
      brush.SetColor(clNone);
      font.Assign(grid_->Font());
      if (grid_->OnGetCellColor) grid_->OnGetCellColor(grid_, row, c, TGridDrawState{vcl::gdFixed}, &brush, &font);
      TColor back = brush.Color();
      if (model.HasCellProperties(c, row) && model.Colors(c, row) != clNone) back = model.Colors(c, row);
      if (back != clNone) {
        canvas->Brush()->SetColor(back);
        canvas->FillRect(r);
      }
      if (grid_->OnFooterPaint) {
        grid_->OnFooterPaint(this, c, canvas, r);
      } else {
        canvas->Font()->Assign(grid_->Font());
        grid_->PaintCellContent(canvas, c, TGridDrawState{vcl::gdFixed}, r, row);
      }
    }
    x += w;
  }
}

void TFooterPanel::PaintPreview(vcl::TCanvas* canvas, Integer width, bool custom) {
  const TFloatingFooter* f = grid_->FloatingFooter();
  const Integer h = ClientHeight();
  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Brush()->SetColor(grid_->Color());
  canvas->FillRect({width, 0, ClientWidth(), h});
  // The raised frame over the columns' width.
  canvas->Brush()->SetColor(f->Color);
  canvas->Pen()->SetColor(f->Color);
  canvas->Rectangle(0, 0, width, h);
  canvas->Pen()->SetColor(0x808080);
  canvas->MoveTo(0, h - 1);
  canvas->LineTo(width - 1, h - 1);
  canvas->LineTo(width - 1, -1);
  canvas->Pen()->SetColor(clWhite);
  canvas->MoveTo(0, h - 1);
  canvas->LineTo(0, 0);
  canvas->LineTo(width - 1, 0);
  const vcl::TRect r{2, 1, width - 2, h - 1};
  // The preview's text is black whatever the selection's text colour
  // (set and put back without repainting the grid).
  const TColor selectionText = grid_->SelectionTextColor();
  const bool swap = selectionText != clBlack;
  if (swap) {
    grid_->SkipNextRepaint();
    grid_->SetSelectionTextColor(clBlack);
  }
  if (!custom) {
    const Integer col = f->Column;
    if (col >= 0 && col < grid_->ColCount()) {
      if (grid_->OnFooterPaint) {
        grid_->OnFooterPaint(this, col, canvas, r);
      } else {
        canvas->Font()->Assign(grid_->Font());
        canvas->Brush()->SetColor(f->Color);
        grid_->PaintCellContent(canvas, col, TGridDrawState{vcl::gdFixed}, r, grid_->Row());
      }
    }
  } else {
    canvas->Font()->Assign(grid_->Font());
    canvas->Brush()->SetStyle(vcl::bsClear);
    vcl::TRect rt = r;
    rt.Top += 2;
    if (ComponentState().Contains(vcl::csDesigning)) {
      canvas->TextRect(rt, rt.Left, rt.Top, f->CustomTemplate);
    } else {
      dropdown::THtmlTextOptions options;
      options.LinkColor = grid_->URLColor;
      options.ShadowTint = 0x808080;
      options.HotBackColor = clNone;
      options.HotTextColor = clNone;
      options.WrapWords = !grid_->EnhTextSize;
      options.PictureCache = grid_->PictureCache();
      options.Images = grid_->GridImages();
      dropdown::THtmlTextResult result;
      dropdown::DrawHTMLText(canvas, grid_->ExpandFooterTemplate(f->CustomTemplate), rt, options, result);
    }
  }
  if (swap) {
    grid_->SkipNextRepaint();
    grid_->SetSelectionTextColor(selectionText);
  }
}

void TFooterPanel::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TCustomPanel::MouseUp(button, shift, x, y);
  if (grid_->OnClick) grid_->OnClick(grid_);
  if (grid_->OnClickCell) grid_->OnClickCell(grid_, grid_->RowCount() - 1, ColumnAt(x));
}

void TFooterPanel::MouseMove(vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TCustomPanel::MouseMove(shift, x, y);
  if (!grid_->FloatingFooter()->ShowHint) return;
  const Integer col = ColumnAt(x);
  if (hintColumn_ != -1 && col != hintColumn_) {
    vcl::Application->CancelHint();
    hintColumn_ = col;
  }
}

void TFooterPanel::Dispatch(vcl::TMessage& message) {
  if (message.Msg == vcl::CM_MOUSELEAVE) hintColumn_ = -1;
  if (message.Msg == vcl::CM_HINTSHOW) {
    auto* info = reinterpret_cast<vcl::THintInfo*>(message.LParam);
    const Integer col = info != nullptr ? ColumnAt(ScreenToClient(info->CursorPos).X) : -1;
    AnsiString hint;
    if (grid_->OnGridHint && col >= 0) grid_->OnGridHint(grid_, grid_->RowCount() - 1, col, hint);
    hintColumn_ = grid_->FloatingFooter()->ShowHint ? col : -1;
    if (info != nullptr) info->HintStr = hint;
    message.Result = grid_->FloatingFooter()->ShowHint && col >= 0 ? 0 : 1;
    return;
  }
  vcl::TCustomPanel::Dispatch(message);
}

// ===== the grid's side =====

namespace {

void SyncFooterState(TFooterTotals& totals, const TFloatingFooter& f) {
  totals.State.Visible = f.Visible;
  totals.State.FixedLastRow = f.FooterStyle == fsFixedLastRow;
  totals.State.CalculateHiddenRows = f.CalculateHiddenRows;
}

}  // namespace

void TVadOdizadEzev::CreateFloatingFooter() {
  footerTotals_ = std::make_unique<TFooterTotals>(Model());
  footerTotals_->CustomCalc = [this](Integer col, Integer row, AnsiString& value) {
    if (OnFooterCalc) {
      OnFooterCalc(this, col, row, value);
      return true;
    }
    if (floatingFooter_->OnCalcFooter) {
      floatingFooter_->OnCalcFooter(this, col, row, value);
      return true;
    }
    return false;
  };
  footerTotals_->RowScanNotify = [this](Integer stage, Integer row) { RowScanNotify(stage, row); };
  // Group headers and summary rows hold texts of their own, not values.
  footerTotals_->Grouped = [this] { return GroupColumn() >= 0; };
  if (!ComponentState().Contains(vcl::csDesigning)) {
    footerPanel_ = new TFooterPanel(this, this);
    footerPanel_->SetVisible(false);
  }
  floatingFooter_->OnChange = [this] { FloatingFooterChanged(); };
}

void TVadOdizadEzev::PlaceFloatingFooter() {
  if (footerPanel_ == nullptr || footerPanel_->Parent() == this) return;
  footerPanel_->SetParent(this);
  footerPanel_->SetHeight(floatingFooter_->Visible ? DefaultRowHeight() - 1 : 0);
  footerPanel_->SetVisible(floatingFooter_->Visible);
  if (OnCreatedFloatingFooter) OnCreatedFloatingFooter(this);
}

void TVadOdizadEzev::FloatingFooterChanged() {
  const TFloatingFooter* f = floatingFooter_.get();
  const bool lastRow = f->Visible && f->FooterStyle == fsFixedLastRow;
  // Only a change of the footer row's showing touches the fixed footers
  // the program may have set itself.
  if (lastRow != Model().FooterRowShown()) {
    Model().SetFooterRowShown(lastRow);
    SetFixedFooters(lastRow ? 1 : 0);
  }
  if (footerPanel_ != nullptr) {
    footerPanel_->SetHeight(f->Visible ? DefaultRowHeight() - 1 : 0);
    footerPanel_->SetVisible(f->Visible);
    footerPanel_->SetShowHint(f->ShowHint);
    footerPanel_->Invalidate();
  }
  UpdateFooter(-1);
  Invalidate();
}

void TVadOdizadEzev::CalcFooter(Integer col) {
  if (!footerTotals_) return;
  SyncFooterState(*footerTotals_, *floatingFooter_);
  footerTotals_->CalcFooter(col);
}

void TVadOdizadEzev::UpdateFooter(Integer col) {
  CalcFooter(col);
  if (footerPanel_ != nullptr && footerPanel_->Visible()) footerPanel_->Invalidate();
}

double TVadOdizadEzev::ColumnSum(Integer col, Integer fromRow, Integer toRow) {
  SyncFooterState(*footerTotals_, *floatingFooter_);
  return footerTotals_->ColumnSum(col, fromRow, toRow);
}

double TVadOdizadEzev::ColumnAvg(Integer col, Integer fromRow, Integer toRow) {
  SyncFooterState(*footerTotals_, *floatingFooter_);
  return footerTotals_->ColumnAvg(col, fromRow, toRow);
}

double TVadOdizadEzev::ColumnMin(Integer col, Integer fromRow, Integer toRow) {
  SyncFooterState(*footerTotals_, *floatingFooter_);
  return footerTotals_->ColumnMin(col, fromRow, toRow);
}

double TVadOdizadEzev::ColumnMax(Integer col, Integer fromRow, Integer toRow) {
  SyncFooterState(*footerTotals_, *floatingFooter_);
  return footerTotals_->ColumnMax(col, fromRow, toRow);
}

AnsiString TVadOdizadEzev::ExpandFooterTemplate(const AnsiString& templateText) {
  const Integer row = Row();
  return grid::ExpandFooterTemplate(templateText, [this, row](Integer col) {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return AnsiString();
    return Model().GetDisplayCell(col, row);
  });
}

void TVadOdizadEzev::CellsLoaded() { UpdateFooter(-1); }

void TVadOdizadEzev::ImportCSV(const AnsiString& fileName, Integer maxRows) {
  TGridModel& m = Model();
  m.OemConvert = OemConvert;
  if (OnFileProgress)
    m.OnFileProgress = [this](Integer percent) { OnFileProgress(this, percent); };
  else
    m.OnFileProgress = nullptr;
  m.ImportCSV(fileName, maxRows);
  m.OnFileProgress = nullptr;
  CellsChanged(vcl::TRect{0, 0, ColCount(), RowCount()});
  CellsLoaded();
}

}  // namespace grid
