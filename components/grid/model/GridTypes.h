#pragma once
// Value types of the grid's model: colours, cell coordinates and rectangles,
// the editor and graphic kinds a cell carries, and the layout choices cell
// properties hold. The model sits below the class library, so these are its
// own; the window layer converts where the two meet (the colour values and
// the order of every enumeration are the class library's).
#include <cstdint>

#include "rtl/Types.h"

namespace grid {

using rtl::AnsiString;
using rtl::Byte;
using rtl::Cardinal;
using rtl::Integer;
using rtl::TDateTime;
using rtl::WideChar;
using rtl::WideString;
using rtl::Word;

// 0x00BBGGRR, or a system colour (top bit set, index in the low byte).
using TColor = rtl::Cardinal;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clSystemColor = 0x80000000;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clInfoBk = clSystemColor | 24;

// A cell position, column first.
struct TCellCoord {
  Integer X = 0;  // column
  Integer Y = 0;  // row
  constexpr bool operator==(const TCellCoord&) const = default;
};

// A block of cells, both corners included.
struct TGridRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr bool operator==(const TGridRect&) const = default;
};

// A width and height in pixels.
struct TExtent {
  Integer Width = 0;
  Integer Height = 0;
  constexpr bool operator==(const TExtent&) const = default;
};

enum class TEditorType : Byte {
  edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit,
  edDateEditUpDown, edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric,
  edFloat, edCapital, edMixedCase, edPassword, edUnitEditBtn, edLowerCase, edUpperCase,
  edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit, edNumericEditBtn, edFloatEditBtn,
  edCustom, edRichEdit, edNone, edUniEdit, edUniComboEdit, edUniComboList, edUniEditBtn,
  edUniMemo, edDateTimeEdit, edValidChars, edTrackbarDropDown, edMemoDropDown,
  edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown, edGridDropDown,
  edColorPickerDropDown, edImagePickerDropDown
};
using enum TEditorType;
inline constexpr int EditorTypeCount = 43;

enum class TCellType : Byte {
  ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage,
  ctNode, ctRadio, ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress,
  ctComment, ctButton, ctBitButton, ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary,
  ctRangeIndicator, ctXPProgress, ctInterface, ctScrollbar, ctRadioButton, ctBalloon,
  ctShape, ctRating
};
using enum TCellType;
inline constexpr int CellTypeCount = 31;

// Horizontal text alignment, in the class library's order.
enum class TAlignment : Byte { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;
enum class TVAlignment : Byte { vtaTop, vtaCenter, vtaBottom };
using enum TVAlignment;
enum class TCellVAlign : Byte { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
using enum TCellVAlign;
enum class TCellHAlign : Byte { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
using enum TCellHAlign;
enum class TCellGradientDirection : Byte { GradientVertical, GradientHorizontal };
using enum TCellGradientDirection;
// The class library's brush styles, in its order.
enum class TBrushStyle : Byte { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
using enum TBrushStyle;
// The class library's font styles, in its order.
enum class TFontStyle : Byte { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using enum TFontStyle;
using TFontStyles = rtl::TSet<TFontStyle>;

// A font as the model names it: empty name and size 0 mean "the grid's".
struct TFontSpec {
  AnsiString Name;
  Integer Size = 0;
  TFontStyles Style;
  TColor Color = clNone;
  bool operator==(const TFontSpec&) const = default;
};

}  // namespace grid
