#pragma once
// The floating footer's strip: a panel at the grid's bottom that stays put
// while the rows scroll. It shows the grid's last row (whose cells may
// carry column totals), or the current row's text of one column, or a
// template filled with the current row's cells.
#include "grid/model/GridTypes.h"
#include "vcl/ExtCtrls.h"

namespace grid {

class TVadOdizadEzev;

class TFooterPanel : public vcl::TCustomPanel {
 public:
  TFooterPanel(vcl::TComponent* owner, TVadOdizadEzev* grid);
  TVadOdizadEzev* Grid() const { return grid_; }
  // The column whose hint shows (-1: none).
  Integer HintColumn() const { return hintColumn_; }
  // The column under x: fixed columns first, then from the grid's left
  // column; -1 beyond the last one.
  Integer ColumnAt(Integer x) const;
  // The width of the columns shown: the fixed ones and those from the
  // grid's left column to the last.
  Integer DataWidth() const;
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void Paint() override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
  void MouseMove(vcl::TShiftState shift, Integer x, Integer y) override;

 private:
  void PaintLastRow(vcl::TCanvas* canvas, Integer width);
  void PaintPreview(vcl::TCanvas* canvas, Integer width, bool custom);
  TVadOdizadEzev* grid_;
  Integer hintColumn_ = -1;
};

}  // namespace grid
