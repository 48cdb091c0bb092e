#pragma once
// The settings objects the grid publishes as sub-objects: keyboard and
// clipboard behaviour (TNavigation), mouse behaviour (TMouseActions), column
// stretching and width persistence (TColumnSize), node rows (TCellNode),
// growth while typing (TSizeWhileTyping), and the HTML export and printing
// settings that the grid keeps for its form (THTMLSettings, TPrintSettings).
// Their values are read by the parts of the grid that act on them; here are
// their defaults, their setters and what Assign copies. Assign from an
// object of another class does nothing.
#include <functional>
#include <memory>

#include "grid/model/GridAdvance.h"
#include "grid/model/GridLists.h"
#include "grid/model/GridTypes.h"
#include "rtl/StringList.h"
#include "vcl/Components.h"
#include "vcl/Graphics.h"

namespace vcl {
class TBitmap;
class TCustomGrid;
}  // namespace vcl

namespace grid {

enum class TInsertPosition { pInsertBefore, pInsertAfter };
using enum TInsertPosition;
enum class TClipboardPasteAction { paReplace, paInsert };
using enum TClipboardPasteAction;
enum class THomeEndAction { heFirstLastColumn, heFirstLastRow };
using enum THomeEndAction;

class TNavigation : public vcl::TPersistent {
 public:
  bool AllowInsertRow = false;
  bool AllowDeleteRow = false;
  bool AlwaysEdit = false;
  bool AdvanceOnEnter = false;
  bool AdvanceAutoEdit = true;
  bool AutoGotoIncremental = false;
  bool AutoComboDropSize = false;
  bool AllowClipboardShortCuts = false;
  bool AllowCtrlEnter = true;
  bool AllowSmartClipboard = false;
  bool AllowRTFClipboard = false;
  bool AllowFmtClipboard = false;
  bool AllowClipboardAlways = false;
  bool AllowClipboardRowGrow = true;
  bool AllowClipboardColGrow = true;
  bool AdvanceAuto = false;
  bool AppendOnArrowDown = false;
  bool EditSelectAll = true;
  TInsertPosition InsertPosition = pInsertBefore;
  TClipboardPasteAction ClipboardPasteAction = paReplace;
  bool CursorWalkEditor = false;
  bool CursorWalkAlwaysEdit = true;
  bool MoveRowOnSort = false;
  bool KeepScrollOnSort = false;
  bool MoveScrollOnly = false;
  bool ImproveMaskSel = false;
  bool LeftRightRowSelect = true;
  bool CopyHTMLTagsToClipboard = true;
  bool KeepHorizScroll = false;
  bool LineFeedOnEnter = false;
  THomeEndAction HomeEndKey = heFirstLastColumn;
  bool SkipFixedCells = true;
  bool TabToNextAtEnd = false;
  TAdvanceDirection TabAdvanceDirection = adLeftRight;
  bool AutoGotoWhenSorted = false;

  TAdvanceDirection AdvanceDirection() const { return advanceDirection_; }
  void SetAdvanceDirection(TAdvanceDirection value);
  bool AdvanceInsert() const { return advanceInsert_; }
  void SetAdvanceInsert(bool value);

  // Every value except KeepScrollOnSort.
  void Assign(const vcl::TPersistent* source) override;
  vcl::TNotifyEvent OnChange;

 private:
  TAdvanceDirection advanceDirection_ = adLeftRight;
  bool advanceInsert_ = false;
};

enum class TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
using enum TGridFixedCellEdit;
enum class TWheelAction { waMoveSelection, waScroll };
using enum TWheelAction;

class TMouseActions : public vcl::TPersistent {
 public:
  // The grid whose options and look some settings change (not owned).
  explicit TMouseActions(vcl::TCustomGrid* grid) : grid_(grid) {}

  bool AllColumnSize = false;
  bool AllRowSize = false;
  bool AllSelect = false;
  bool AutoSizeColOnDblClick = true;
  bool CaretPositioning = false;
  bool CheckAllCheck = false;
  bool ColSelect = false;
  bool DirectComboClose = false;
  bool DirectComboDrop = false;
  bool DirectDateClose = false;
  bool DirectDateDrop = false;
  bool DirectEdit = false;
  bool DisjunctRowSelectNoCtrl = false;
  TGridFixedCellEdit FixedRowsEdit = fceNone;
  TGridFixedCellEdit FixedColsEdit = fceNone;
  bool MoveRowOnNodeClick = false;
  bool NoAutoRangeScroll = false;
  bool NodeAllExpandContract = false;
  bool NoScrollOnPartialRow = false;
  bool PreciseCheckBoxCheck = false;
  bool PreciseNodeClick = true;
  bool RangeSelectAndEdit = false;
  bool RowSelect = false;
  bool RowSelectPersistent = false;
  bool SelectOnRightClick = false;
  bool SizeFixedCol = false;
  bool SizeFixedRow = false;
  Integer WheelIncrement = 0;

  bool HotmailRowSelect() const { return hotmailRowSelect_; }
  // Repaints the grid.
  void SetHotmailRowSelect(bool value);
  bool EditOnDblClickOnly() const { return editOnDblClickOnly_; }
  // True takes goEditing out of the grid's options (False puts nothing back).
  void SetEditOnDblClickOnly(bool value);
  // At design time switching one disjunct selection on switches the other
  // two off; at run time all three may be on.
  bool DisjunctRowSelect() const { return disjunctRowSelect_; }
  void SetDisjunctRowSelect(bool value);
  bool DisjunctColSelect() const { return disjunctColSelect_; }
  void SetDisjunctColSelect(bool value);
  bool DisjunctCellSelect() const { return disjunctCellSelect_; }
  void SetDisjunctCellSelect(bool value);
  TWheelAction WheelAction() const { return wheelAction_; }
  void SetWheelAction(TWheelAction value);

  // Every value except EditOnDblClickOnly, HotmailRowSelect and SizeFixedRow.
  void Assign(const vcl::TPersistent* source) override;
  vcl::TNotifyEvent OnChange;

 private:
  bool Designing() const;
  vcl::TCustomGrid* grid_;
  bool hotmailRowSelect_ = false;
  bool editOnDblClickOnly_ = false;
  bool disjunctRowSelect_ = false;
  bool disjunctColSelect_ = false;
  bool disjunctCellSelect_ = false;
  TWheelAction wheelAction_ = waMoveSelection;
};

enum class TColumnSizeLocation { clRegistry, clIniFile };
using enum TColumnSizeLocation;
enum class TAutoSizeRows { arAll, arNormal, arFixed };
using enum TAutoSizeRows;

class TColumnSize : public vcl::TPersistent {
 public:
  explicit TColumnSize(vcl::TCustomGrid* grid) : grid_(grid) {}

  bool Save = false;
  AnsiString Key;
  AnsiString Section;
  TColumnSizeLocation Location = clRegistry;
  // -1: the last column.
  Integer StretchColumn = -1;
  bool SynchWithGrid = false;
  bool SynchNormalCellsOnly = false;
  TAutoSizeRows Rows = arAll;

  bool Stretch() const { return stretch_; }
  // Stores; with the grid on a parent its stretch runs for StretchColumn.
  void SetStretch(bool value);
  // The grid's column stretch (set by the grid).
  std::function<void(Integer column)> OnStretch;

  void Assign(const vcl::TPersistent* source) override;

 private:
  vcl::TCustomGrid* grid_;
  bool stretch_ = false;
};

enum class TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };
using enum TNodeType;

class TCellNode : public vcl::TPersistent {
 public:
  explicit TCellNode(vcl::TCustomGrid* grid);
  ~TCellNode() override;

  TColor Color = clSilver;
  bool ExpandOne = false;
  TColor NodeColor = clBlack;

  // These repaint the grid at once when the value changes.
  TNodeType NodeType() const { return nodeType_; }
  void SetNodeType(TNodeType value);
  Integer NodeIndent() const { return nodeIndent_; }
  void SetNodeIndent(Integer value);
  bool ShowTree() const { return showTree_; }
  void SetShowTree(bool value);
  bool ShowTreeFull() const { return showTreeFull_; }
  void SetShowTreeFull(bool value);
  TColor TreeColor() const { return treeColor_; }
  void SetTreeColor(TColor value);
  // Owned; the setters copy the given bitmap.
  vcl::TBitmap* ExpandGlyph() const { return expandGlyph_.get(); }
  void SetExpandGlyph(const vcl::TBitmap* value);
  vcl::TBitmap* ContractGlyph() const { return contractGlyph_.get(); }
  void SetContractGlyph(const vcl::TBitmap* value);

  void Assign(const vcl::TPersistent* source) override;

 private:
  void Repaint();
  vcl::TCustomGrid* grid_;
  TNodeType nodeType_ = cnXP;
  Integer nodeIndent_ = 12;
  bool showTree_ = true;
  bool showTreeFull_ = true;
  TColor treeColor_ = clGray;
  std::unique_ptr<vcl::TBitmap> expandGlyph_;
  std::unique_ptr<vcl::TBitmap> contractGlyph_;
};

// The row grows in height, the column in width, while a cell is edited.
// It has no Assign of its own: the grid never copies it.
struct TSizeWhileTyping : public vcl::TPersistent {
  bool Height = false;
  bool Width = false;
};

class THTMLSettings : public vcl::TPersistent {
 public:
  bool AutoPreview = false;
  Integer BorderSize = 1;
  Integer CellSpacing = 0;
  Integer CellPadding = 0;
  bool ConvertSpecialChars = false;
  bool ExportImages = true;
  AnsiString FooterFile;
  AnsiString HeaderFile;
  bool NonBreakingText = false;
  AnsiString PrefixTag;
  AnsiString SuffixTag;
  bool SaveColor = true;
  bool SaveFonts = true;
  AnsiString Summary;
  AnsiString TableStyle;
  Integer Width = 100;
  bool XHTML = false;
  TIntList& ColWidths() { return colWidths_; }

  // Every value except ExportImages.
  void Assign(const vcl::TPersistent* source) override;

 private:
  TIntList colWidths_;
};

enum class TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
using enum TPrintPosition;
enum class TPrintBorders {
  pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom
};
using enum TPrintBorders;
enum class TPrinterOrientation { poPortrait, poLandscape };
using enum TPrinterOrientation;
enum class TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
using enum TFitToPage;

// Of these only UseDisplayFont matters on screen: the cells' own colours
// and fonts apply while it is on.
class TPrintSettings : public vcl::TPersistent {
 public:
  Integer FooterSize = 0;
  Integer HeaderSize = 0;
  TPrintPosition Time = ppNone;
  TPrintPosition Date = ppNone;
  TPrintPosition PageNr = ppNone;
  TPrintPosition Title = ppNone;
  AnsiString DateFormat = "dd/mm/yyyy";
  AnsiString TitleText;
  TPrintBorders Borders = pbSingle;
  vcl::TPenStyle BorderStyle = vcl::psSolid;
  TColor BorderColor = clBlack;
  bool Centered = true;
  bool RepeatFixedRows = false;
  bool RepeatFixedCols = false;
  Integer LeftSize = 0;
  Integer RightSize = 0;
  Integer ColumnSpacing = 0;
  Integer RowSpacing = 0;
  Integer TitleSpacing = 0;
  TPrinterOrientation Orientation = poPortrait;
  AnsiString PagePrefix;
  AnsiString PageSuffix;
  AnsiString PageNumSep = "/";
  Integer PageNumberOffset = 0;
  Integer MaxPagesOffset = 0;
  Integer FixedWidth = 0;
  Integer FixedHeight = 0;
  bool UseFixedHeight = false;
  bool UseFixedWidth = false;
  TFitToPage FitToPage = fpNever;
  AnsiString JobName;
  bool NoAutoSize = false;
  bool NoAutoSizeRow = false;
  bool PrintGraphics = false;
  bool UseDisplayFont = true;
  bool UseDefaultOrientation = false;

  // Owned; the setters copy the given object.
  vcl::TFont* Font() { return &font_; }
  void SetFont(const vcl::TFont* value) { font_.Assign(value); }
  vcl::TFont* FixedFont() { return &fixedFont_; }
  void SetFixedFont(const vcl::TFont* value) { fixedFont_.Assign(value); }
  vcl::TFont* HeaderFont() { return &headerFont_; }
  void SetHeaderFont(const vcl::TFont* value) { headerFont_.Assign(value); }
  vcl::TFont* FooterFont() { return &footerFont_; }
  void SetFooterFont(const vcl::TFont* value) { footerFont_.Assign(value); }
  rtl::TStringList* TitleLines() { return &titleLines_; }
  void SetTitleLines(const rtl::TStrings* value) { titleLines_.Assign(*value); }

  void Assign(const vcl::TPersistent* source) override;

 private:
  vcl::TFont font_;
  vcl::TFont fixedFont_;
  vcl::TFont headerFont_;
  vcl::TFont footerFont_;
  rtl::TStringList titleLines_;
};

// The look of what the grid draws as controls inside cells: check boxes,
// radio buttons, buttons, progress bars, comment marks, and the gradients
// of fixed cells, hovered fixed cells and pressed fixed cells.
enum class TControlStyle { csClassic, csFlat, csWinXP, csMelbrook, csRUZ, csGlyph, csTheme };
using enum TControlStyle;

// The grid's own fixed-cell colours that the look sets and ControlLook may
// override.
enum class TFixedGradientSlot {
  fgFrom, fgTo, fgMirrorFrom, fgMirrorTo,
  fgHoverFrom, fgHoverTo, fgHoverMirrorFrom, fgHoverMirrorTo, fgHoverBorder,
  fgDownFrom, fgDownTo, fgDownMirrorFrom, fgDownMirrorTo, fgDownBorder
};
using enum TFixedGradientSlot;
inline constexpr int FixedGradientSlotCount = 14;

class TControlLook : public vcl::TPersistent {
 public:
  explicit TControlLook(vcl::TCustomGrid* grid);
  ~TControlLook() override;

  bool CheckAlwaysActive = false;
  bool RadioAlwaysActive = false;
  TColor ProgressBorderColor = clGray;
  bool FixedDropDownButton = false;

  // These store and repaint the grid.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TColor CommentColor() const { return commentColor_; }
  void SetCommentColor(TColor value);
  Integer CheckSize() const { return checkSize_; }
  void SetCheckSize(Integer value);
  Integer RadioSize() const { return radioSize_; }
  void SetRadioSize(Integer value);
  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle value);
  bool DropDownAlwaysVisible() const { return dropDownAlwaysVisible_; }
  void SetDropDownAlwaysVisible(bool value);
  bool SpinButtonsAlwaysVisible() const { return spinButtonsAlwaysVisible_; }
  void SetSpinButtonsAlwaysVisible(bool value);
  bool FlatButton() const { return flatButton_; }
  void SetFlatButton(bool value);
  bool NoDisabledCheckRadioLook() const { return noDisabledCheckRadioLook_; }
  void SetNoDisabledCheckRadioLook(bool value);
  bool NoDisabledButtonLook() const { return noDisabledButtonLook_; }
  void SetNoDisabledButtonLook(bool value);
  Integer ProgressMarginX() const { return progressMarginX_; }
  void SetProgressMarginX(Integer value);
  Integer ProgressMarginY() const { return progressMarginY_; }
  void SetProgressMarginY(Integer value);
  bool ProgressXP() const { return progressXP_; }
  void SetProgressXP(bool value);
  // Owned; the setters copy the given bitmap and repaint.
  vcl::TBitmap* CheckedGlyph() const { return glyphs_[0].get(); }
  void SetCheckedGlyph(const vcl::TBitmap* value) { SetGlyph(0, value); }
  vcl::TBitmap* UnCheckedGlyph() const { return glyphs_[1].get(); }
  void SetUnCheckedGlyph(const vcl::TBitmap* value) { SetGlyph(1, value); }
  vcl::TBitmap* RadioOnGlyph() const { return glyphs_[2].get(); }
  void SetRadioOnGlyph(const vcl::TBitmap* value) { SetGlyph(2, value); }
  vcl::TBitmap* RadioOffGlyph() const { return glyphs_[3].get(); }
  void SetRadioOffGlyph(const vcl::TBitmap* value) { SetGlyph(3, value); }

  // The fixed-cell gradient colours: a value other than clNone also goes to
  // the grid's matching colour at once (OnFixedGradient).
  TColor FixedGradient(TFixedGradientSlot slot) const { return fixedGradient_[static_cast<int>(slot)]; }
  void SetFixedGradient(TFixedGradientSlot slot, TColor value);
  std::function<void(TFixedGradientSlot slot, TColor value)> OnFixedGradient;

  // Copies the values without the setters' effects, except FlatButton,
  // the two NoDisabled looks, ProgressXP and FixedDropDownButton.
  void Assign(const vcl::TPersistent* source) override;

 private:
  void Repaint();
  void SetGlyph(int index, const vcl::TBitmap* value);
  template <class T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  vcl::TCustomGrid* grid_;
  TColor color_ = clBlack;
  TColor commentColor_ = clRed;
  Integer checkSize_ = 15;
  Integer radioSize_ = 10;
  TControlStyle controlStyle_ = csTheme;
  bool dropDownAlwaysVisible_ = false;
  bool spinButtonsAlwaysVisible_ = false;
  bool flatButton_ = false;
  bool noDisabledCheckRadioLook_ = false;
  bool noDisabledButtonLook_ = false;
  Integer progressMarginX_ = 2;
  Integer progressMarginY_ = 2;
  bool progressXP_ = false;
  std::unique_ptr<vcl::TBitmap> glyphs_[4];
  TColor fixedGradient_[FixedGradientSlotCount];
};

}  // namespace grid
