#include "grid/model/GridEditing.h"

#include <algorithm>

namespace grid {

bool IsTextEditorType(TEditorType type) {
  switch (type) {
    case edNormal:
    case edNumeric:
    case edPositiveNumeric:
    case edFloat:
    case edCapital:
    case edMixedCase:
    case edPassword:
    case edLowerCase:
    case edUpperCase:
    case edValidChars:
      return true;
    default:
      return false;
  }
}

TEditorRoute EditorRoute(TEditorType type) {
  TEditorRoute r;
  auto control = [&r](TGridEditorControl c, TEditorPlacement p, TEditorVariant v = evPlain) {
    r.Control = c;
    r.Placement = p;
    r.Variant = v;
  };
  if (IsTextEditorType(type)) {
    r.Text = true;
    r.Placement = epLibrary;
    if (type == edPassword) r.Variant = evPassword;
    return r;
  }
  switch (type) {
    case edSpinEdit: control(ecSpin, epCell, evSpinInteger); break;
    case edFloatSpinEdit: control(ecSpin, epCell, evSpinFloat); break;
    case edTimeSpinEdit: control(ecSpin, epCell, evSpinTime); break;
    case edDateSpinEdit: control(ecSpin, epCell, evSpinDate); break;
    case edComboEdit: control(ecCombo, epCombo, evComboEditable); break;
    case edComboList: control(ecCombo, epCombo, evComboList); break;
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn: control(ecEditBtn, epCell); break;
    case edUnitEditBtn: control(ecUnitEditBtn, epCell); break;
    case edCheckBox: control(ecCheckBox, epCell); break;
    case edDateEdit: control(ecDatePicker, epCell, evDateDropDown); break;
    case edDateEditUpDown: control(ecDatePicker, epCell, evDateUpDown); break;
    case edTimeEdit: control(ecDatePicker, epCell, evTime); break;
    case edDateTimeEdit: control(ecDateTimePicker, epAtLeastCell); break;
    case edButton: control(ecButton, epButton); break;
    case edUniEdit: control(ecUniEdit, epTextMargins); break;
    case edUniMemo: control(ecUniMemo, epTextMargins); break;
    case edUniComboEdit: control(ecUniCombo, epCombo, evComboEditable); break;
    case edUniComboList: control(ecUniCombo, epCombo, evComboList); break;
    case edUniEditBtn: control(ecUniEditBtn, epCell); break;
    case edTrackbarDropDown: control(ecTrackbarDropDown, epCell); break;
    case edMemoDropDown: control(ecMemoDropDown, epCell); break;
    case edCalculatorDropDown: control(ecCalculatorDropDown, epCell); break;
    case edTimePickerDropDown: control(ecTimePickerDropDown, epCell); break;
    case edDetailDropDown: control(ecDetailDropDown, epCell); break;
    case edGridDropDown: control(ecGridDropDown, epCell); break;
    case edColorPickerDropDown: control(ecColorDropDown, epCell); break;
    case edImagePickerDropDown: control(ecImageDropDown, epCell); break;
    case edRichEdit:
      r.RichEditor = true;
      r.Placement = epCell;
      break;
    case edCustom: r.Placement = epCustom; break;
    case edDataCheckBox: r.Placement = epNone; break;
    case edNone:
      r.Placement = epNone;
      r.Edited = false;
      break;
    default: break;
  }
  return r;
}

TEditorBounds PlaceEditor(TEditorPlacement placement, const TPixelRect& cell, Integer marginX, Integer marginY,
                      bool rightToLeft, Integer controlHeight) {
  const Integer left = cell.Left + (rightToLeft ? 1 : 0);
  const Integer top = cell.Top;
  const Integer w = cell.Right - left - 1;
  const Integer h = cell.Bottom - top - 1;
  auto box = [](Integer l, Integer t, Integer width, Integer height) {
    return TEditorBounds{l, t, std::max<Integer>(width, 0), std::max<Integer>(height, 0)};
  };
  switch (placement) {
    case epCell:
    case epCombo:
      return box(left, top, w, h);
    case epButton:
      return box(left - 1, top - 1, w + 2, h + 2);
    case epTextMargins:
      return box(left + marginX + 1, top + marginY + 1, w - 2 * marginX - 2, h - 2 * marginY - 2);
    case epAtLeastCell:
      return box(left, top, w, std::max(h, controlHeight));
    default:
      return {};
  }
}

TEditStartDecision DecideEditStart(const TEditStartInput& input) {
  TEditStartDecision d;
  if (input.Validating || !input.LibraryAllows) return d;
  if (!input.EditorActive) {
    if (input.HasCellControl || input.Editor == edNone) return d;
    d.Begins = true;
  }
  d.Start = IsTextEditorType(input.Editor) ? esInplaceEditor : esEditorControl;
  return d;
}

bool DecideTargetEditable(const TEditTargetInput& input) {
  if (!input.CanEdit) return false;
  if (input.DirectEdit && input.Editor == edNone) return false;
  return !input.EditOnDblClickOnly;
}

}  // namespace grid
