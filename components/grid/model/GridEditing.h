#pragma once
// Which editor a cell gets and where it sits: the ten text types go to the
// class library's masked in-place editor, every other type to one of the
// grid's hidden editor controls (placed on the cell and filled by the
// grid), a few to nothing at all. Also whether an edit may start and
// whether a cell the current cell moves to may be edited. The window layer
// executes these answers; nothing here needs a window.
#include <optional>

#include "grid/model/GridTypes.h"

namespace grid {

// The grid's hidden editor controls, in the order the grid makes them.
enum class TGridEditorControl {
  ecCombo, ecTrackbarDropDown, ecMemoDropDown, ecCalculatorDropDown, ecTimePickerDropDown, ecDetailDropDown,
  ecGridDropDown, ecColorDropDown, ecImageDropDown, ecSpin, ecTransEdit, ecUniEdit, ecUniMemo, ecUniEditBtn,
  ecUniCombo, ecDatePicker, ecDateTimePicker, ecCheckBox, ecEditBtn, ecUnitEditBtn, ecButton, ecPopupButton,
  ecControlEdit, ecControlCombo
};
using enum TGridEditorControl;
inline constexpr int GridEditorControlCount = 24;

// A rectangle of pixels, right and bottom exclusive.
struct TPixelRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr bool operator==(const TPixelRect&) const = default;
};
// An editor's bounds as a control takes them.
struct TEditorBounds {
  Integer Left = 0;
  Integer Top = 0;
  Integer Width = 0;
  Integer Height = 0;
  constexpr bool operator==(const TEditorBounds&) const = default;
};

// Where an editor sits on the cell rectangle.
enum class TEditorPlacement {
  epNone,         // no editor is shown
  epLibrary,      // the class library places its in-place editor
  epCell,         // Left, Top, W, H
  epButton,       // one pixel outside the cell on every side
  epCombo,        // Left, Top, width W; the list drops below
  epTextMargins,  // inside the cell's text margins
  epAtLeastCell,  // Left, Top, W and at least H high
  epCustom        // the cell's edit link decides
};
using enum TEditorPlacement;

// How a control is set up for the type.
enum class TEditorVariant {
  evPlain, evSpinInteger, evSpinFloat, evSpinTime, evSpinDate, evComboEditable, evComboList, evDateDropDown,
  evDateUpDown, evTime, evPassword
};
using enum TEditorVariant;

struct TEditorRoute {
  // One of the ten text types (the class library's editor).
  bool Text = false;
  // The hidden control the type shows, if any.
  std::optional<TGridEditorControl> Control;
  // The grid's rich-text editor (it is not one of the hidden controls).
  bool RichEditor = false;
  TEditorPlacement Placement = epNone;
  TEditorVariant Variant = evPlain;
  // The type is edited at all (edNone is not; edDataCheckBox is edited
  // without a control).
  bool Edited = true;
};

bool IsTextEditorType(TEditorType type);
TEditorRoute EditorRoute(TEditorType type);

// The editor's bounds on a cell rectangle (client coordinates). W and H are the cell's width and height less one
// pixel; right-to-left moves the left edge one pixel right first. margin
// is the cell's text margin (both directions); controlHeight the shown
// control's own height (for epAtLeastCell).
TEditorBounds PlaceEditor(TEditorPlacement placement, const TPixelRect& cell, Integer marginX, Integer marginY,
                      bool rightToLeft, Integer controlHeight);

// Starting an edit when the class library is about to show its editor.
struct TEditStartInput {
  bool Validating = false;
  bool LibraryAllows = true;
  bool EditorActive = false;
  // The cell holds a check box, radio button or button of its own.
  bool HasCellControl = false;
  // The type the edit has: DefaultEditor, then OnGetEditorType (for a new
  // edit), or the type of the edit in progress.
  TEditorType Editor = edNormal;
};
enum class TEditStart { esRefused, esInplaceEditor, esEditorControl };
using enum TEditStart;
struct TEditStartDecision {
  TEditStart Start = esRefused;
  // A new edit begins (the edit-start text is taken, the flag set).
  bool Begins = false;
};
TEditStartDecision DecideEditStart(const TEditStartInput& input);

// Whether the cell the current cell moves to may be edited.
struct TEditTargetInput {
  // The cell-editing test's answer (goEditing or the remembered editing
  // state, the cell's read-only mark, OnCanEditCell).
  bool CanEdit = false;
  bool DirectEdit = false;
  // The type the cell would get (asked only with DirectEdit).
  TEditorType Editor = edNormal;
  bool EditOnDblClickOnly = false;
};
bool DecideTargetEditable(const TEditTargetInput& input);

}  // namespace grid
