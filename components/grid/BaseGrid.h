#pragma once
// TBaseGrid: the class library's string grid with the grid's model under
// it (cells, their properties, merged blocks, dimensions and hidden rows,
// gridmodel) and its own cell frames: grid lines drawn inside the cells in
// their own width and colours, an active-row colour, four selection looks
// and gradient backgrounds. The virtual hooks are what TVadOdizadEzev
// fills in; this class answers them as a plain grid would.
#include <functional>
#include <memory>

#include "grid/model/GridModel.h"
#include "vcl/Grids.h"

namespace grid {

class TLumGridUndoRedo;

using vcl::TCanvas;
using vcl::TGridDrawState;
using vcl::TRect;

// The appearance of a cell beyond its brush and font.
struct TCellStyle {
  TColor ColorTo = clNone;
  TColor MirrorColor = clNone;
  TColor MirrorColorTo = clNone;
  TAlignment Alignment = taLeftJustify;
  TVAlignment VAlignment = vtaTop;
  bool WordWrap = true;
  TCellGradientDirection GradientDirection = GradientVertical;
};

using TGetDisplTextEvent = std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value)>;
using TGetDisplWideTextEvent =
    std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, WideString& Value)>;

class TBaseGrid : public vcl::TStringGrid {
 public:
  explicit TBaseGrid(vcl::TComponent* owner);
  ~TBaseGrid() override;

  // The cells and everything they carry.
  TGridModel& Model() { return *model_; }
  const TGridModel& Model() const { return *model_; }

  // --- dimensions: the model's rules, the view following ---
  void SetColCount(Integer value) override;
  void SetRowCount(Integer value) override;
  void SetFixedCols(Integer value) override;
  void SetFixedRows(Integer value) override;
  void SetDefaultRowHeight(Integer value) override;
  void SetDefaultColWidth(Integer value) override;

  // --- published settings ---
  bool ActiveRowShow() const { return activeRowShow_; }
  void SetActiveRowShow(bool value);
  TColor ActiveRowColor() const { return activeRowColor_; }
  void SetActiveRowColor(TColor value);
  // The grid's own drawing switch; the class library's stays off.
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool value);
  // Lines drawn inside the cells; the class library's line width stays 0.
  Integer GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(Integer value);
  TColor GridLineColor() const { return gridLineColor_; }
  void SetGridLineColor(TColor value);
  TColor GridFixedLineColor() const { return gridFixedLineColor_; }
  void SetGridFixedLineColor(TColor value);
  // 0 plain, 1 to 3 the boxed selection looks.
  Byte SelectionLook() const { return selectionLook_; }
  void SetSelectionLook(Byte value);
  bool ShowSelection() const { return showSelection_; }
  void SetShowSelection(bool value);
  Integer PaintPass() const { return paintPass_; }
  // The change-recording component the grid reports its cell changes to
  // (not owned); linking sets the component's grid, and freeing either
  // side clears the link.
  TLumGridUndoRedo* UndoRedo() const { return undoRedo_; }
  void SetUndoRedo(TLumGridUndoRedo* value);

  TGetDisplTextEvent OnGetDisplText;
  TGetDisplWideTextEvent OnGetDisplWideText;

  // --- cells ---
  // Writing goes to the base cell of a merged block.
  void SetCells(Integer col, Integer row, const AnsiString& value) override;
  AnsiString GetDisplayCell(Integer col, Integer row) { return model_->GetDisplayCell(col, row); }
  void SetDisplayCell(Integer col, Integer row, const AnsiString& value) { model_->SetDisplayCell(col, row, value); }
  virtual void MergeCells(Integer col, Integer row, Integer numCols, Integer numRows);
  virtual void SplitCells(Integer col, Integer row);

  // The merged-aware rectangle of a cell (the whole block for a merged one).
  TRect CellRect(Integer col, Integer row) const;
  // The rectangle a cell has wherever it is scrolled to.
  TRect AbsoluteCellRect(Integer col, Integer row) const;
  TExtent CellSize(Integer col, Integer row) const;
  void InvalidateCellRect(Integer col, Integer row);

  // --- the hooks TVadOdizadEzev fills in ---
  virtual bool IsFixed(Integer col, Integer row) { return false; }
  virtual Integer GetNodeIndent(Integer row) { return 0; }
  virtual bool HasNodes() { return false; }
  virtual void PaintCellContent(TCanvas* canvas, Integer col, TGridDrawState state, const TRect& r, Integer row);
  virtual void FooterChanged() {}
  virtual void GetDisplText(Integer col, Integer row, AnsiString& value);
  virtual void GetDisplWideText(Integer col, Integer row, WideString& value);
  // The look a new cell's properties start from.
  virtual void GetCellDefaults(Integer col, Integer row, vcl::TFont* font, vcl::TBrush* brush, TCellStyle& style);
  virtual void CellTextChanged(Integer col, Integer row) {}
  virtual bool HasCustomBorders() { return false; }
  virtual void ResolveCellStyle(Integer col, Integer row, TGridDrawState& state, bool print, bool applySelection,
                                bool mapColumn, vcl::TBrush* brush, vcl::TFont* font, TCellStyle& style) {}
  virtual Integer DisplColIndex(Integer col) const { return col; }

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void DrawCell(Integer col, Integer row, const TRect& r, TGridDrawState state) override;
  bool SelectCell(Integer col, Integer row) override;
  void TopLeftChanged() override;
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  bool DoMouseWheel(vcl::TShiftState shift, Integer wheelDelta, vcl::TPoint mousePos) override;
  void Paint() override;
  void StoreColWidth(Integer col, Integer width) override;
  void StoreRowHeight(Integer row, Integer height) override;
  Integer StoredColWidth(Integer col) const override;
  Integer StoredRowHeight(Integer row) const override;
  // The current cell moves to the base cell of the block it lies in.
  void MoveToBaseCell();

 private:
  class ModelLink;
  class StoreLink;
  friend class ModelLink;
  void DrawSelectionBoxOf(const TRect& r, Integer col);

  std::unique_ptr<TGridModel> model_;  // a ModelLink
  std::unique_ptr<StoreLink> store_;
  bool defaultDrawing_ = false;
  Integer gridLineWidth_ = 1;
  TColor gridLineColor_ = clSilver;
  TColor gridFixedLineColor_ = clGray;
  Integer paintPass_ = 1;
  bool activeRowShow_ = false;
  TColor activeRowColor_ = clInfoBk;
  Byte selectionLook_ = 0;
  bool showSelection_ = true;
  TLumGridUndoRedo* undoRedo_ = nullptr;
};

}  // namespace grid
