#pragma once
// The state of the controls drawn inside cells (check boxes, radio groups
// and buttons, cell buttons, ratings, scroll bars, shapes, comments,
// balloons, image indexes) and the access to a cell's graphic: what each
// control keeps in its TCellGraphic, and the small operations through
// which keyboard, mouse, painting and the program read and change it.
//
// TCellControlHost is what these operations ask of the grid (its events,
// its settings, its geometry); the grid component answers through a
// subclass, tests through fakes. Columns are real columns; rows are rows
// as shown unless an operation says otherwise.
#include <functional>
#include <string_view>

#include "grid/model/GridEditing.h"
#include "grid/model/GridModel.h"
#include "rtl/StringList.h"

namespace grid {

// A scroll bar cell's range: its page and its maximum.
struct TCellScrollRange {
  Integer Page = -1;
  Integer Max = -1;
  constexpr bool operator==(const TCellScrollRange&) const = default;
};

class TCellControlHost {
 public:
  explicit TCellControlHost(TGridModel& model) : model_(model) {}
  virtual ~TCellControlHost() = default;
  TGridModel& Model() { return model_; }

  // ===== what the grid answers =====
  // The texts standing for checked and unchecked (GetCheckTrue/False and
  // their events).
  virtual AnsiString CheckTrue(Integer col, Integer row) { return "Y"; }
  virtual AnsiString CheckFalse(Integer col, Integer row) { return "N"; }
  // CheckCanEdit from True: the cell's read-only flag, the grid's editing
  // switches and OnCanEditCell.
  virtual bool CanEdit(Integer col, Integer row) { return true; }
  // IsRowMarked / SetRowMarked of the selection.
  virtual bool RowMarked(Integer row) { return Model().Marks().RowMarked(row); }
  virtual void SetRowMarked(Integer row, bool state) { Model().Marks().SetRowMark(row, state); }
  virtual void CheckBoxChange(Integer col, Integer row, bool state) {}
  // OnRatingChange: may change the rate or refuse (False).
  virtual bool RatingChange(Integer col, Integer row, double& rate) { return true; }
  // The linked change records.
  virtual void AddChange(Integer col, Integer row, const AnsiString& oldText, const AnsiString& newText) {}
  virtual void RepaintCell(Integer displayCol, Integer row) {}
  virtual void RepaintColumn(Integer displayCol) {}
  // CellRect of a displayed cell (its merged block).
  virtual TPixelRect CellRect(Integer displayCol, Integer row) { return {}; }
  // The cell's horizontal text alignment (ResolveCellAlignment).
  virtual TAlignment CellAlignment(Integer col, Integer row) { return taLeftJustify; }
  // The width MeasureCell gives for the cell's text.
  virtual Integer MeasureCellWidth(Integer col, Integer row) { return 0; }
  // Text extent on the grid's canvas in the grid's font.
  virtual TExtent TextExtent(std::string_view text) { return {}; }
  // GridImages: assigned, and its image size.
  virtual bool HasGridImages() { return false; }
  virtual TExtent GridImageSize() { return {}; }
  // The size of a bitmap, icon or picture the graphic holds (the window
  // layer's objects), and of what a ctInterface graphic draws.
  virtual TExtent ObjectSize(const TCellGraphic& graphic, bool icon) { return {}; }
  virtual TExtent InterfaceSize(const TCellGraphic& graphic) { return {}; }

  // ===== settings =====
  Integer CheckSize = 15;
  Integer RadioSize = 10;
  bool CheckAlwaysActive = false;
  bool RadioAlwaysActive = false;
  bool HotmailRowSelect = false;
  bool PreciseCheckBoxCheck = false;
  // ControlLook.ControlStyle is csFlat (the row check box is transparent).
  bool FlatControls = false;
  bool DropDownAlwaysVisible = false;

  // ===== graphic access =====
  // ctEmpty for negative cells and cells without a graphic; column 0 with
  // HotmailRowSelect is a row check box.
  TCellType GetCellType(Integer col, Integer row);
  // The cell's graphic, or with HotmailRowSelect in column 0 the grid's
  // shared row check box set for this row; null without one.
  TCellGraphic* GetCellGraphic(Integer col, Integer row);
  TCellGraphic& RowCheckGraphic() { return rowCheck_; }
  // A new graphic in the cell (an old one freed, not a shared one); an
  // empty cell stays empty.
  TCellGraphic& CreateCellGraphic(Integer col, Integer row);
  bool RemoveCellGraphic(Integer col, Integer row);
  bool RemoveCellGraphicOfType(Integer col, Integer row, TCellType type);
  // The image indexes of a ctImages cell, else null.
  TIntList* GetCellImages(Integer col, Integer row);
  // What sorting by graphic compares: the bitmap or icon object, the image
  // index; -1 for other kinds.
  intptr_t GetCellGraphicKey(Integer col, Integer row);
  // The room a graphic takes in its cell, by kind and alignment.
  TExtent GetCellGraphicSize(Integer col, Integer row);

  // ===== control state =====
  // realRow counts hidden rows; the result says whether the cell has a
  // check box (state written only then).
  bool GetCellCheckState(Integer col, Integer realRow, bool& state);
  bool SetCellCheckState(Integer col, Integer row, bool state);
  virtual bool ToggleCheckBox(Integer col, Integer row, bool fromUser);
  virtual bool ToggleRadio(Integer col, Integer row, bool fromUser);
  void CheckColumn(Integer col);
  // Repaints the shown column when columns are hidden, as CheckColumn does.
  void UncheckColumn(Integer col);
  bool IsCheckBoxCell(Integer col, Integer row);
  bool HasCellControl(Integer col, Integer row);
  bool IsCheckBoxHit(Integer col, Integer row, Integer x, Integer y);
  bool IsRadioGroupCell(Integer col, Integer row);
  rtl::TStrings* GetRadioOptions(Integer col, Integer row);
  bool GetRadioChoice(Integer col, Integer row, Integer& index);
  bool SetRadioChoice(Integer col, Integer row, Integer index);
  void AdvanceRadioChoice(Integer col, Integer row, bool fromUser);
  bool IsRadioButtonCell(Integer col, Integer row);
  bool SetCellRadioButton(Integer col, Integer row, bool state);
  void SelectColumnRadioButton(Integer col, Integer row);
  bool IsButtonCell(Integer col, Integer row);
  // col is a displayed column.
  void SetCellButtonDown(Integer displayCol, Integer row, bool down);
  void GetCellButtonRect(Integer displayCol, Integer row, TPixelRect& r);
  bool IsRatingCell(Integer col, Integer row);
  bool IsScrollBarCell(Integer col, Integer row);
  bool IsAutoRangeScrollBarCell(Integer col, Integer row);
  void SetCellScrollPosition(Integer col, Integer row, Integer position);
  Integer GetCellScrollPosition(Integer col, Integer row);
  void SetCellScrollRange(Integer col, Integer row, TCellScrollRange range);
  void GetCellScrollRange(Integer col, Integer row, TCellScrollRange& range);
  void SetCellShapeColor(Integer col, Integer row, TColor color);
  TColor GetCellShapeColor(Integer col, Integer row);
  bool GetCellComment(Integer col, Integer row, AnsiString& comment);
  bool GetCellBalloon(Integer col, Integer row, AnsiString& title, AnsiString& text, Integer& icon);
  bool GetCellImageIndex(Integer col, Integer row, Integer& index);
  void SetCellImageIndex(Integer col, Integer row, Integer index);
  bool GetCellRotation(Integer col, Integer row, Integer& angle);
  void GetCellErrorRange(Integer col, Integer row, Integer& errFrom, Integer& errLen);

  // ===== making graphics =====
  // A radio group (options side by side when horizontal); index -1 keeps
  // the choice as the cell's text.
  TCellGraphic& AddRadioGroup(Integer col, Integer row, const rtl::TStrings& options, bool horizontal,
                              Integer index);
  TCellGraphic& AddBalloon(Integer col, Integer row, const AnsiString& title, const AnsiString& text, Integer icon);
  TCellGraphic& AddImages(Integer col, Integer row, const std::vector<Integer>& indexes, bool horizontal);
  // A rating of stars stars, filled in onColor over offColor.
  TCellGraphic& AddRating(Integer col, Integer row, Integer stars, TColor onColor, TColor offColor);
  // A button of the given size (its offset in the cell is painting's).
  TCellGraphic& AddButton(Integer col, Integer row, Integer width, Integer height, const AnsiString& caption,
                          TCellHAlign hAlign, TCellVAlign vAlign);

 private:
  // The graphic of the base cell.
  TCellGraphic* BaseGraphic(Integer col, Integer row);
  TCellGraphic* TypedGraphic(Integer col, Integer row, TCellType type);
  bool Editable(Integer col, Integer row, bool alwaysActive, bool fromUser);

  TGridModel& model_;
  TCellGraphic rowCheck_;
};

// The colours of a rating are kept in its graphic: on in CellIndex, off in
// the bitmap slot (as a colour, not an object).
TColor RatingOffColor(const TCellGraphic& graphic);

}  // namespace grid
