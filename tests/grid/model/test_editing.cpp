// Which editor each of the 43 editor types gets and where it sits, whether
// an edit may start, and whether a cell the current cell moves to may be
// edited (the owner's answer, DirectEdit with edNone, EditOnDblClickOnly).
#include <gtest/gtest.h>

#include <optional>

#include "grid/model/GridEditing.h"

using namespace grid;

namespace {

struct RouteCase {
  TEditorType type;
  bool text;
  std::optional<TGridEditorControl> control;
  TEditorPlacement placement;
  TEditorVariant variant;
  bool edited = true;
  bool rich = false;
};

const RouteCase kRoutes[] = {
    {edNormal, true, {}, epLibrary, evPlain},
    {edSpinEdit, false, ecSpin, epCell, evSpinInteger},
    {edComboEdit, false, ecCombo, epCombo, evComboEditable},
    {edComboList, false, ecCombo, epCombo, evComboList},
    {edEditBtn, false, ecEditBtn, epCell, evPlain},
    {edCheckBox, false, ecCheckBox, epCell, evPlain},
    {edDateEdit, false, ecDatePicker, epCell, evDateDropDown},
    {edDateEditUpDown, false, ecDatePicker, epCell, evDateUpDown},
    {edTimeEdit, false, ecDatePicker, epCell, evTime},
    {edButton, false, ecButton, epButton, evPlain},
    {edDataCheckBox, false, {}, epNone, evPlain},
    {edNumeric, true, {}, epLibrary, evPlain},
    {edPositiveNumeric, true, {}, epLibrary, evPlain},
    {edFloat, true, {}, epLibrary, evPlain},
    {edCapital, true, {}, epLibrary, evPlain},
    {edMixedCase, true, {}, epLibrary, evPlain},
    {edPassword, true, {}, epLibrary, evPassword},
    {edUnitEditBtn, false, ecUnitEditBtn, epCell, evPlain},
    {edLowerCase, true, {}, epLibrary, evPlain},
    {edUpperCase, true, {}, epLibrary, evPlain},
    {edFloatSpinEdit, false, ecSpin, epCell, evSpinFloat},
    {edTimeSpinEdit, false, ecSpin, epCell, evSpinTime},
    {edDateSpinEdit, false, ecSpin, epCell, evSpinDate},
    {edNumericEditBtn, false, ecEditBtn, epCell, evPlain},
    {edFloatEditBtn, false, ecEditBtn, epCell, evPlain},
    {edCustom, false, {}, epCustom, evPlain},
    {edRichEdit, false, {}, epCell, evPlain, true, true},
    {edNone, false, {}, epNone, evPlain, false},
    {edUniEdit, false, ecUniEdit, epTextMargins, evPlain},
    {edUniComboEdit, false, ecUniCombo, epCombo, evComboEditable},
    {edUniComboList, false, ecUniCombo, epCombo, evComboList},
    {edUniEditBtn, false, ecUniEditBtn, epCell, evPlain},
    {edUniMemo, false, ecUniMemo, epTextMargins, evPlain},
    {edDateTimeEdit, false, ecDateTimePicker, epAtLeastCell, evPlain},
    {edValidChars, true, {}, epLibrary, evPlain},
    {edTrackbarDropDown, false, ecTrackbarDropDown, epCell, evPlain},
    {edMemoDropDown, false, ecMemoDropDown, epCell, evPlain},
    {edCalculatorDropDown, false, ecCalculatorDropDown, epCell, evPlain},
    {edTimePickerDropDown, false, ecTimePickerDropDown, epCell, evPlain},
    {edDetailDropDown, false, ecDetailDropDown, epCell, evPlain},
    {edGridDropDown, false, ecGridDropDown, epCell, evPlain},
    {edColorPickerDropDown, false, ecColorDropDown, epCell, evPlain},
    {edImagePickerDropDown, false, ecImageDropDown, epCell, evPlain},
};

}  // namespace

TEST(EditorRoutes, EveryTypeHasItsEditor) {
  static_assert(std::size(kRoutes) == EditorTypeCount);
  int textTypes = 0;
  for (int i = 0; i < EditorTypeCount; ++i) {
    const RouteCase& c = kRoutes[i];
    ASSERT_EQ(static_cast<int>(c.type), i) << "table order";
    const TEditorRoute r = EditorRoute(c.type);
    EXPECT_EQ(r.Text, c.text) << i;
    EXPECT_EQ(IsTextEditorType(c.type), c.text) << i;
    EXPECT_EQ(r.Control, c.control) << i;
    EXPECT_EQ(r.Placement, c.placement) << i;
    EXPECT_EQ(r.Variant, c.variant) << i;
    EXPECT_EQ(r.Edited, c.edited) << i;
    EXPECT_EQ(r.RichEditor, c.rich) << i;
    textTypes += c.text ? 1 : 0;
  }
  EXPECT_EQ(textTypes, 10);
}

TEST(EditorRoutes, PlacementOnTheCellRectangle) {
  // A cell from (100, 40) to (164, 62): W = 63, H = 21.
  const TPixelRect cell{100, 40, 164, 62};
  struct Case {
    TEditorPlacement placement;
    bool rtl;
    Integer controlHeight;
    TEditorBounds bounds;
  } cases[] = {
      {epCell, false, 0, {100, 40, 63, 21}},
      {epCombo, false, 0, {100, 40, 63, 21}},
      {epButton, false, 0, {99, 39, 65, 23}},
      // Margins 2 and 2: one pixel inside them, narrower and lower by 6.
      {epTextMargins, false, 0, {103, 43, 57, 15}},
      {epAtLeastCell, false, 18, {100, 40, 63, 21}},
      {epAtLeastCell, false, 25, {100, 40, 63, 25}},
      // Right to left: the left edge one pixel further right.
      {epCell, true, 0, {101, 40, 62, 21}},
      {epButton, true, 0, {100, 39, 64, 23}},
      {epNone, false, 0, {}},
      {epLibrary, false, 0, {}},
      {epCustom, false, 0, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceEditor(c.placement, cell, 2, 2, c.rtl, c.controlHeight), c.bounds)
        << static_cast<int>(c.placement) << " rtl " << c.rtl;
  // A cell too small for the margins gives an empty editor, never a
  // negative one.
  EXPECT_EQ(PlaceEditor(epTextMargins, {0, 0, 4, 4}, 2, 2, false, 0), (TEditorBounds{3, 3, 0, 0}));
}

TEST(EditStart, TheDecisionForEveryType) {
  for (int i = 0; i < EditorTypeCount; ++i) {
    const auto type = static_cast<TEditorType>(i);
    TEditStartInput in;
    in.Editor = type;
    const TEditStartDecision d = DecideEditStart(in);
    if (type == edNone) {
      EXPECT_EQ(d.Start, esRefused);
      EXPECT_FALSE(d.Begins);
    } else {
      EXPECT_EQ(d.Start, IsTextEditorType(type) ? esInplaceEditor : esEditorControl) << i;
      EXPECT_TRUE(d.Begins) << i;
    }
  }
}

TEST(EditStart, RefusalsAndAnEditInProgress) {
  struct Case {
    const char* name;
    TEditStartInput in;
    TEditStart start;
    bool begins;
  } cases[] = {
      {"validating", {true, true, false, false, edNormal}, esRefused, false},
      {"library refuses", {false, false, false, false, edNormal}, esRefused, false},
      {"cell control", {false, true, false, true, edNormal}, esRefused, false},
      {"cell control, edit running", {false, true, true, true, edNormal}, esInplaceEditor, false},
      {"spin edit running", {false, true, true, false, edSpinEdit}, esEditorControl, false},
      {"validating beats a running edit", {true, true, true, false, edNormal}, esRefused, false},
  };
  for (const Case& c : cases) {
    const TEditStartDecision d = DecideEditStart(c.in);
    EXPECT_EQ(d.Start, c.start) << c.name;
    EXPECT_EQ(d.Begins, c.begins) << c.name;
  }
}

TEST(EditTarget, OwnerDirectEditAndDoubleClickOnly) {
  struct Case {
    bool canEdit, directEdit;
    TEditorType editor;
    bool dblClickOnly;
    bool editable;
  } cases[] = {
      {true, false, edNormal, false, true},
      {false, false, edNormal, false, false},
      // edNone counts only when the type is asked on arrival.
      {true, false, edNone, false, true},
      {true, true, edNone, false, false},
      {true, true, edSpinEdit, false, true},
      {true, false, edNormal, true, false},
      {true, true, edComboList, true, false},
      {false, true, edComboList, false, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecideTargetEditable({c.canEdit, c.directEdit, c.editor, c.dblClickOnly}), c.editable)
        << c.canEdit << c.directEdit << static_cast<int>(c.editor) << c.dblClickOnly;
}
