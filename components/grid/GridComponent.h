#pragma once
// TVadOdizadEzev: the editable string grid the program's dialogs place on
// their forms. It owns its settings objects, its lists and one hidden editor
// control per editor kind, follows its form's size through the form's
// resize listeners (it never takes over the form's own OnResize, so several
// grids on one form may be freed in any order), and asks its owner
// everything through overridable operations, each firing one event.
#include <bitset>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/LumStyleIF.h"
#include "grid/BaseGrid.h"
#include "grid/GridObjects.h"
#include "grid/GridSettings.h"
#include "grid/GridOptions.h"
#include "grid/GridInplaceEdit.h"
#include "grid/GridRichEdit.h"
#include "grid/GridUndoRedo.h"
#include "grid/GridFilter.h"
#include "grid/model/Grouping.h"
#include "grid/model/RowNodes.h"
#include "grid/model/AutoSize.h"
#include "grid/model/CellControlState.h"
#include "grid/model/GridEditing.h"
#include "grid/model/CellMarks.h"
#include "grid/model/Footer.h"
#include "grid/model/Search.h"
#include "grid/model/GridLookup.h"
#include "grid/model/SelectionMarks.h"
#include "grid/model/GridValidation.h"
#include "vcl/Messages.h"

namespace controls {
class TLumHintInfo;
}
namespace dropdown {
class THTMLPictureCache;
}
namespace vcl {
class TImageList;
class TPopupMenu;
class TScrollBar;
class TCustomForm;
class TWinControl;
class TDateTimePicker;
}  // namespace vcl

namespace grid {

class GridRowSorter;
class TFooterPanel;
class TSearchPanel;

enum class TGridLook { glStandard, glSoft, glClassic, glRUZ, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
using enum TGridLook;
enum class THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
using enum THoverFixedCells;
enum class TScrollType { ssNormal, ssFlat, ssEncarta };
using enum TScrollType;
enum class TScrollBarAlways { saNone, saVert, saHorz, saBoth };
using enum TScrollBarAlways;
enum class TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
using enum TScrollHintType;
enum class TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
using enum TIntelliPan;
enum class TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
using enum TInvalidEntryIcon;

// Sides of a cell that get a border line.
enum class TCellBorder { cbLeft, cbTop, cbRight, cbBottom };
using enum TCellBorder;
using TCellBorders = rtl::TSet<TCellBorder>;

// The identifier of the grid's 500 ms window timer.
inline constexpr uintptr_t GridTimerId = 111;

class TVadOdizadEzev;
// Makes the control of one kind, owned by the grid and parented on it; the
// grid hides it and applies the set-up of its kind afterwards.
using TEditorFactory = std::function<vcl::TWinControl*(TVadOdizadEzev* grid)>;
// The table every grid makes its editors from. It starts with the base
// controls of the drop-down library; a later registration for a kind
// replaces the earlier one (the cell editor adapters take their places).
// Kinds without a factory get no control.
void RegisterGridEditorFactory(TGridEditorControl kind, TEditorFactory factory);
bool HasGridEditorFactory(TGridEditorControl kind);

// Event types (the parameter order is each event's own).
using TCanEditCellEvent = std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, bool& CanEdit)>;
using TGridHintEvent = std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, AnsiString& HintStr)>;
using TGridWideHintEvent = std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, WideString& HintStr)>;
using TOfficeHintEvent =
    std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, controls::TLumHintInfo* OfficeHint)>;
using TGridColorEvent = std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, TGridDrawState AState,
                                           vcl::TBrush* ABrush, vcl::TFont* AFont)>;
using TGridBorderEvent =
    std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, vcl::TPen* APen, TCellBorders& Borders)>;
using TGridAlignEvent =
    std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, TAlignment& HAlign, TVAlignment& VAlign)>;
using TGetFormatEvent = std::function<void(vcl::TObject* Sender, Integer ACol, TSortStyle& AStyle,
                                           AnsiString& APrefix, AnsiString& ASuffix)>;
using TSearchFooterActionEvent = std::function<void(vcl::TObject* Sender, const AnsiString& Value, Integer ACol,
                                                    Integer ARow, TSearchAction SearchAction)>;
using TGetEditorTypeEvent = std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, TEditorType& AEditor)>;
using TIsFixedCellEvent = std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, bool& IsFixed)>;
using TCustomCellDrawEvent = std::function<void(vcl::TObject* Sender, vcl::TCanvas* Canvas, Integer ACol,
                                                 Integer ARow, vcl::TGridDrawState AState, vcl::TRect ARect,
                                                 bool Printing)>;
using TCellBorderPropEvent =
    std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, vcl::TPen* LeftPen, vcl::TPen* TopPen,
                       vcl::TPen* RightPen, vcl::TPen* BottomPen)>;
using TIsPasswordCellEvent = std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, bool& IsPassword)>;
using TWordWrapEvent = std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, bool& WordWrap)>;
using THasComboBoxEvent = std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, bool& HasComboBox)>;
using THasSpinEditEvent = std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, bool& HasSpinEdit)>;
using TGetCheckEvent = std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value)>;
using TCanAddRowEvent = std::function<void(vcl::TObject* Sender, bool& CanAdd)>;
using TCanInsertRowEvent = std::function<void(vcl::TObject* Sender, Integer ARow, bool& CanInsert)>;
using TEditChangeEvent = std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value)>;
using TRowUpdateEvent = std::function<void(vcl::TObject* Sender, Integer OldRow, Integer NewRow)>;
using TAutoAdvanceEvent = std::function<void(vcl::TObject* Sender, Integer OldRow, Integer OldCol, Integer& NewRow,
                                             Integer& NewCol, bool& Allow)>;
using TCellValidateEvent =
    std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value, bool& Valid)>;
using TCellsChangedEvent = std::function<void(vcl::TObject* Sender, const vcl::TRect& R)>;
using TCellChangingEvent =
    std::function<void(vcl::TObject* Sender, Integer OldRow, Integer OldCol, Integer NewRow, Integer NewCol, bool& Allow)>;
using TFloatFormatEvent =
    std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, bool& IsFloat, AnsiString& FloatFormat)>;
using TAutoAddRowEvent = std::function<void(vcl::TObject* Sender, Integer ARow)>;
using TEditCellDoneEvent = std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow)>;
using TRowChangingEvent = std::function<void(vcl::TObject* Sender, Integer OldRow, Integer NewRow, bool& Allow)>;
using TColChangingEvent = std::function<void(vcl::TObject* Sender, Integer OldCol, Integer NewCol, bool& Allow)>;
using TAutoInsertColEvent = std::function<void(vcl::TObject* Sender, Integer ACol)>;
using TDateTimeChangeEvent =
    std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, rtl::TDateTime ADateTime)>;
using TDatePickerEvent = std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol)>;

class TVadOdizadEzev : public TBaseGrid, public controls::IStyleAware {
 public:
  explicit TVadOdizadEzev(vcl::TComponent* owner);
  ~TVadOdizadEzev() override;

  // ===== owned settings objects (setters copy into the owned one) =====
  TNavigation* Navigation() const { return navigation_.get(); }
  // The settings of the later operations (footers, sorting, drag and drop,
  // bands and background, grouping, balloons, modified rows, progress, the
  // filter and its drop-down).
  TSearchFooter* SearchFooter() const { return searchFooter_.get(); }
  TFloatingFooter* FloatingFooter() const { return floatingFooter_.get(); }
  TSortSettings* SortSettings() const { return sortSettings_.get(); }
  TDragDropSettings* DragDropSettings() const { return dragDropSettings_.get(); }
  TDragScrollOptions* DragScrollOptions() const { return dragScrollOptions_.get(); }
  TBands* Bands() const { return bands_.get(); }
  TGrouping* Grouping() const { return grouping_.get(); }
  TBackGround* BackGround() const { return backGround_.get(); }
  TGridProgressAppearance* ProgressAppearance() const { return progressAppearance_.get(); }
  TFilter* Filter() const { return filter_.get(); }
  TBalloonSettings* Balloon() const { return balloon_.get(); }
  TShowModified* ShowModified() const { return showModified_.get(); }
  TFilterDropDown* FilterDropDown() const { return filterDropDown_.get(); }
  void SetNavigation(const TNavigation* value) { navigation_->Assign(value); }
  TMouseActions* MouseActions() const { return mouseActions_.get(); }
  void SetMouseActions(const TMouseActions* value) { mouseActions_->Assign(value); }
  TColumnSize* ColumnSize() const { return columnSize_.get(); }
  void SetColumnSize(const TColumnSize* value) { columnSize_->Assign(value); }
  TCellNode* CellNode() const { return cellNode_.get(); }
  void SetCellNode(const TCellNode* value) { cellNode_->Assign(value); }
  TSizeWhileTyping* SizeWhileTyping() const { return sizeWhileTyping_.get(); }
  THTMLSettings* HTMLSettings() const { return htmlSettings_.get(); }
  void SetHTMLSettings(const THTMLSettings* value) { htmlSettings_->Assign(value); }
  TPrintSettings* PrintSettings() const { return printSettings_.get(); }
  void SetPrintSettings(const TPrintSettings* value) { printSettings_->Assign(value); }
  TControlLook* ControlLook() const { return controlLook_.get(); }
  void SetControlLook(const TControlLook* value) { controlLook_->Assign(value); }
  controls::TLumHintInfo* OfficeHint() const { return officeHint_.get(); }
  void SetOfficeHint(const controls::TLumHintInfo* value);
  vcl::TFont* FixedFont() const { return fixedFont_.get(); }
  void SetFixedFont(const vcl::TFont* value) { fixedFont_->Assign(value); }
  vcl::TFont* ActiveCellFont() const { return activeCellFont_.get(); }
  void SetActiveCellFont(const vcl::TFont* value) { activeCellFont_->Assign(value); }
  rtl::TStringList* ColumnHeaders() const { return columnHeaders_.get(); }
  // A copy of value; with fixed rows, row 0 is emptied before the headers
  // go in (each backslash-n pair a line break; surplus entries ignored).
  void SetColumnHeaders(const rtl::TStrings* value);
  rtl::TStringList* RowHeaders() const { return rowHeaders_.get(); }
  // A copy of value written into column 0 when there are fixed columns;
  // cells beyond a shorter list keep their texts.
  void SetRowHeaders(const rtl::TStrings* value);
  rtl::TStringList* LookupItems() const { return lookupItems_.get(); }
  // Null is ignored.
  void SetLookupItems(const rtl::TStrings* value) {
    if (value != nullptr) lookupItems_->Assign(*value);
  }
  // The grid's version as four numbers joined by ".".
  AnsiString Version() const;
  // Wraps each occurrence of text in the cells (the whole grid, or the
  // normal cells) in "hi" tags; UnmarkTextInCells gives the marked cells
  // back as they were.
  void MarkTextInCells(bool wholeGrid, bool matchCase, const AnsiString& text);
  void UnmarkTextInCells(bool wholeGrid);
  // The display text with addresses turned into links (URLShowInText) and
  // the group count of node rows (Grouping.ShowGroupCount).
  void GetDisplText(Integer col, Integer row, AnsiString& value) override;
  rtl::TStringList* LookupHistoryList() const { return lookupHistory_.get(); }
  TControlList* CellControls() const { return cellControls_.get(); }
  TSortIndexList* SortIndexes() const { return sortIndexes_.get(); }
  TIntList* FilterDropDownValues() const { return filterDropDownValues_.get(); }
  TIntList* DisjunctCells() const { return disjunctCells_.get(); }
  // The modified rows by real row index (hidden rows counted).
  TIntList* RowModified() const { return rowModified_; }
  // Whether the row shown at displayRow is marked modified.
  bool IsRowModified(Integer displayRow) const {
    return displayRow >= 0 && displayRow < RowCount() && rowModified_->HasValue(Model().RealRowIndex(displayRow));
  }
  TIntList* ColumnOrder() const { return columnOrder_.get(); }
  TCellGraphic* SpareCellGraphic() const { return spareGraphic_.get(); }
  // The pictures HTML cell texts name, read once per location.
  dropdown::THTMLPictureCache* PictureCache() const { return pictureCache_.get(); }

  // ===== dimensions and fixed cells =====
  bool FixedRowAlways() const { return Model().FixedRowAlways(); }
  void SetFixedRowAlways(bool value) { Model().SetFixedRowAlways(value); }
  bool FixedColAlways() const { return Model().FixedColAlways(); }
  void SetFixedColAlways(bool value) { Model().SetFixedColAlways(value); }
  Integer FixedRows() const { return Model().FixedRows(); }
  Integer FixedCols() const { return Model().FixedCols(); }
  void SetRowCount(Integer value) override;
  void SetColCount(Integer value) override;
  Integer FixedColWidth() const { return ColWidths(0); }
  // Nothing while loading or when the value is the default column width.
  void SetFixedColWidth(Integer value);
  Integer FixedRowHeight() const { return Model().FixedRowHeight(); }
  void SetFixedRowHeight(Integer value);
  Integer FixedFooters() const { return Model().FixedFooters(); }
  void SetFixedFooters(Integer value);
  Integer FixedRightCols() const { return Model().FixedRightCols(); }
  void SetFixedRightCols(Integer value);
  bool WordWrap() const { return Model().WordWrap(); }
  void SetWordWrap(bool value);
  TVAlignment VAlignment() const { return vAlignment_; }
  // The text-layout flag of the alignment: top 0, centre 4, bottom 8.
  Cardinal VAlignmentFlag() const { return vAlignmentFlag_; }
  void SetVAlignment(TVAlignment value);
  Integer MaxEditLength() const { return maxEditLength_; }
  void SetMaxEditLength(Integer value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // Pictures of cells (image cells, the image picker); not owned, forgotten
  // when freed.
  vcl::TImageList* GridImages() const { return gridImages_; }
  void SetGridImages(vcl::TImageList* value);
  // The menu of the fixed cells' drop-down buttons; not owned, forgotten
  // when freed.
  vcl::TPopupMenu* FixedDropDownMenu() const { return fixedDropDownMenu_; }
  void SetFixedDropDownMenu(vcl::TPopupMenu* value);
  // The picture of the current row's indicator; the setter copies it.
  vcl::TBitmap* RowIndicator() const { return rowIndicator_.get(); }
  void SetRowIndicator(const vcl::TBitmap* value);
  bool SizeWithForm = false;
  bool IntegralHeight = false;

  // ===== current cell =====
  Integer CurrentRow() const { return Row(); }
  // Makes the row current and reports a change of row through OnRowUpdate.
  void SetCurrentRow(Integer row);
  Integer CurrentRealCol() const { return Model().RealColIndex(Col()); }
  Integer RealRowIndex(Integer index) const { return Model().RealRowIndex(index); }
  Integer RealColIndex(Integer index) const { return Model().RealColIndex(index); }
  Integer DisplRowIndex(Integer index) const { return Model().DisplRowIndex(index); }
  // The smallest block holding every cell whose display text is not empty;
  // (0, 0, 0, 0) when all are empty.
  virtual vcl::TRect GetUsedCellsRect();

  // ===== look =====
  TGridLook Look() const { return look_; }
  void SetLook(TGridLook value);
  bool ActiveCellShow() const { return activeCellShow_; }
  void SetActiveCellShow(bool value);
  TColor ActiveCellColor() const { return activeCellColor_; }
  void SetActiveCellColor(TColor value);
  TColor ActiveCellColorTo() const { return activeCellColorTo_; }
  void SetActiveCellColorTo(TColor value);
  TColor SelectionColor() const { return selectionColor_; }
  void SetSelectionColor(TColor value) { SetRepainting(selectionColor_, value); }
  TColor SelectionColorTo() const { return selectionColorTo_; }
  void SetSelectionColorTo(TColor value) { SetRepainting(selectionColorTo_, value); }
  TColor SelectionMirrorColor() const { return selectionMirrorColor_; }
  void SetSelectionMirrorColor(TColor value) { SetRepainting(selectionMirrorColor_, value); }
  TColor SelectionMirrorColorTo() const { return selectionMirrorColorTo_; }
  void SetSelectionMirrorColorTo(TColor value) { SetRepainting(selectionMirrorColorTo_, value); }
  TColor SelectionTextColor() const { return selectionTextColor_; }
  void SetSelectionTextColor(TColor value) { SetRepainting(selectionTextColor_, value); }
  bool SelectionRectangle() const { return selectionRectangle_; }
  void SetSelectionRectangle(bool value) { SetRepainting(selectionRectangle_, value); }
  bool SelectionResizer() const { return selectionResizer_; }
  void SetSelectionResizer(bool value) { SetRepainting(selectionResizer_, value); }
  // The fixed cells' gradient and the colours of hovered and pressed fixed
  // cells (the look sets them; ControlLook overrides them).
  TColor FixedGradientColor(TFixedGradientSlot slot) const { return fixedGradient_[static_cast<int>(slot)]; }
  void SetFixedGradientColor(TFixedGradientSlot slot, TColor value);
  bool AutoThemeAdapt = false;
  bool FixedAsButtons = false;
  bool HideFocusRect = false;
  bool Hovering = false;
  THoverFixedCells HoverFixedCells = hfNone;
  bool SelectionRTFKeep = false;
  bool ShowDesignHelper = true;

  // ===== text and HTML =====
  bool EnableHTML = true;
  bool EnableBlink = false;
  bool EnhTextSize = false;
  bool Multilinecells = false;
  bool AnchorHint = false;
  bool AutoNumAlign = false;
  AnsiString FloatFormat() const { return Model().FloatFormat; }
  void SetFloatFormat(const AnsiString& value) { Model().FloatFormat = value; }
  TColor URLColor = clBlue;
  bool URLShow = false;
  bool URLShowInText = false;
  bool URLFull = false;
  bool URLEdit = false;
  char PasswordChar = '*';
  Integer XYOffsetX = 2;
  Integer XYOffsetY = 2;

  // ===== editing =====
  TEditorType DefaultEditor = edNormal;
  bool EditWithTags = false;
  Integer MaxComboLength = 0;
  bool Lookup = false;
  bool LookupCaseSensitive = false;
  bool LookupHistory = false;
  bool OemConvert = false;
  AnsiString ValidChars;
  // The characters an edValidChars cell takes while ValidChars is empty.
  std::bitset<256> ValidCharSet;
  bool ExcelStyleDecimalSeparator = false;
  AnsiString InvalidEntryTitle;
  AnsiString InvalidEntryText;
  TInvalidEntryIcon InvalidEntryIcon = ieWarning;
  // Set while the grid itself asks for an editor (the edit cycle sets it).
  bool EditorRequested = false;

  // ===== scrolling =====
  TScrollBarAlways ScrollBarAlways = saNone;
  TColor ScrollColor = clNone;
  bool ScrollProportional = false;
  bool ScrollSynch = false;
  TScrollType ScrollType = ssNormal;
  Integer ScrollWidth = 17;
  TScrollHintType ScrollHints = shNone;
  bool EnableWheel = true;
  TIntelliPan IntelliPan = ipVertical;
  bool IntelliZoom = true;

  // ===== hints, filters, transfer =====
  TColor HintColor = clInfoBk;
  bool HintShowCells = false;
  bool HintShowLargeText = false;
  bool HintShowSizing = false;
  bool HTMLHint = false;
  bool UseInternalHintClass = true;
  bool FilterDropDownAuto = false;
  AnsiString FilterDropDownClear = "(All)";
  bool AutoFilterUpdate = true;
  bool EnhRowColMove = true;

  vcl::TCursor Cursor() const { return cursor_; }
  // Also the cursor link hovering gives back.
  void SetCursor(vcl::TCursor value);
  vcl::TCursor RestoreCursor() const { return restoreCursor_; }

  // ===== system facts taken at construction =====
  bool IsWinXP() const { return isWinXP_; }
  bool IsWin7() const { return isWin7_; }
  bool IsVista() const { return isVista_; }
  bool NewComCtrls() const { return newComCtrls_; }
  Integer WheelScrollLines() const { return wheelLines_; }
  bool GridLoaded() const { return gridLoaded_; }

  // ===== the events =====
  TCanEditCellEvent OnCanEditCell;
  TGridHintEvent OnGridHint;
  TGridWideHintEvent OnGridWideHint;
  TOfficeHintEvent OnOfficeHint;
  TGridColorEvent OnGetCellColor;
  TGridColorEvent OnGetCellPrintColor;
  TGridBorderEvent OnGetCellBorder;
  TGridBorderEvent OnGetCellPrintBorder;
  TGridAlignEvent OnGetAlignment;
  TGetEditorTypeEvent OnGetEditorType;
  TGetFormatEvent OnGetFormat;
  TSearchFooterActionEvent OnSearchFooterAction;
  TIsFixedCellEvent OnIsFixedCell;
  TIsPasswordCellEvent OnIsPasswordCell;
  TWordWrapEvent OnGetWordWrap;
  THasComboBoxEvent OnHasComboBox;
  THasSpinEditEvent OnHasSpinEdit;
  TGetCheckEvent OnGetCheckTrue;
  TGetCheckEvent OnGetCheckFalse;
  TCanAddRowEvent OnCanAddRow;
  TCanInsertRowEvent OnCanInsertRow;
  TEditChangeEvent OnEditChange;
  TRowUpdateEvent OnRowUpdate;
  TFloatFormatEvent OnGetFloatFormat;
  TAutoAdvanceEvent OnAutoAdvance;
  TCellChangingEvent OnCellChanging;
  TRowChangingEvent OnRowChanging;
  TEditCellDoneEvent OnEditCellDone;
  // Space (or a click) on an in-cell control.
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, bool State)> OnCheckBoxClick;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, bool State)> OnCheckBoxChange;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow)> OnRadioButtonClick;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow)> OnButtonClick;
  TCellValidateEvent OnCellValidate;
  // The combo editor's item changes (by key or wheel).
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, Integer AItemIndex, const AnsiString& ASelection)>
      OnComboChange;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, Integer AItemIndex, const AnsiString& ASelection,
                     void* AObject)>
      OnComboObjectChange;
  // The spin editor's clicks: AValue its value after the step, UpDown the
  // direction.
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, Integer AValue, bool UpDown)> OnSpinClick;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, double AValue, bool UpDown)> OnFloatSpinClick;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, TDateTime AValue, bool UpDown)>
      OnDateSpinClick;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, TDateTime AValue, bool UpDown)>
      OnTimeSpinClick;
  // Pastes into the in-place editor: whether to paste at all, the text for
  // the cell, and the cell's text after it.
  std::function<void(vcl::TObject* Sender, bool& Allow)> OnClipboardPaste;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value, bool& Allow)>
      OnClipboardBeforePasteCell;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, const AnsiString& Value)>
      OnClipboardAfterPasteCell;
  TCellsChangedEvent OnCellsChanged;
  TColChangingEvent OnColChanging;
  TAutoAddRowEvent OnAutoAddRow;
  TAutoInsertColEvent OnAutoInsertCol;
  vcl::TNotifyEvent OnEditingDone;
  TDateTimeChangeEvent OnDateTimeChange;
  TDatePickerEvent OnDatePickerCloseUp;
  TDatePickerEvent OnDatePickerDropDown;

  // ===== the operations that ask the events =====
  virtual void CanEditCell(Integer col, Integer row, bool& canEdit);
  virtual void GridHint(Integer col, Integer row, AnsiString& hint, WideString& wideHint);
  virtual void GetCellColor(Integer col, Integer row, TGridDrawState state, vcl::TBrush* brush, vcl::TFont* font);
  virtual void GetCellPrintColor(Integer col, Integer row, TGridDrawState state, vcl::TBrush* brush,
                                 vcl::TFont* font);
  virtual void GetCellBorder(Integer col, Integer row, vcl::TPen* pen, TCellBorders& borders);
  virtual void GetCellPrintBorder(Integer col, Integer row, vcl::TPen* pen, TCellBorders& borders);
  virtual void GetAlignment(Integer col, Integer row, TAlignment& hAlign, TVAlignment& vAlign);
  virtual void GetEditorType(Integer col, Integer row, TEditorType& editor);
  virtual void GetCellEditorType(Integer col, Integer row, TEditorType& editor);
  // The sort style of a column and the prefix and suffix its cells carry.
  virtual void GetFormat(Integer col, TSortStyle& style, AnsiString& prefix, AnsiString& suffix);
  virtual void SearchFooterAction(const AnsiString& value, Integer col, Integer row, TSearchAction action);
  virtual void IsFixedCell(Integer col, Integer row, bool& isFixed);
  virtual void CheckCanEdit(Integer col, Integer row, bool& canEdit);
  virtual void IsPasswordCell(Integer col, Integer row, bool& isPassword);
  virtual void GetWordWrap(Integer col, Integer row, bool& wordWrap);
  virtual bool HasComboBox(Integer col, Integer row);
  virtual bool HasSpinEdit(Integer col, Integer row);
  virtual void GetCheckTrue(Integer col, Integer row, AnsiString& value);
  virtual void GetCheckFalse(Integer col, Integer row, AnsiString& value);
  virtual void CanAddRow(bool& canAdd);
  virtual void CanInsertRow(Integer row, bool& canInsert);
  // ===== shown text =====
  // The display text; a number in FloatFormat (or the format the event
  // gives) only while OnGetFloatFormat is assigned and leaves IsFloat on.
  // A format that fails leaves the display text.
  void GetFormattedCell(Integer col, Integer row, AnsiString& text);
  // The display text, unformatted (formulas, filters and searches).
  void GetFilterCellText(Integer col, Integer row, AnsiString& text);
  // VAlignment, left or (with AutoNumAlign) right for numbers, else the
  // cell's own alignment; then GetAlignment and its event.
  void ResolveCellAlignment(Integer col, Integer row, TAlignment& hAlign, TVAlignment& vAlign);

  // ===== navigation =====
  // Editing is on (goEditing, RangeSelectAndEdit or the grid's own
  // request), the cell's block may be edited and it is not fixed. col is
  // a real column.
  bool IsCellEditable(Integer col, Integer row);
  // Fixed footer rows, fixed right columns and the fixed cells.
  virtual bool IsFixedForNavigation(Integer col, Integer row);
  bool IsLastDataRow() const { return Row() == RowCount() - FixedFooters() - 1; }
  // FixedCols, or 1 when there are no fixed columns but node rows.
  Integer FirstNavigableColumn();
  // The fixed right columns that are shown (no column is ever hidden).
  Integer VisibleFixedRightCols() const { return FixedRightCols(); }
  // The current cell moves on as after Enter (with force even when
  // Navigation.AdvanceOnEnter is off), passing over cells that cannot be
  // edited; when none can, it stays and no event fires.
  void AdvanceAfterEnter(Integer col, Integer row, bool showEditor, bool forward, bool autoEdit, bool force);
  // The current cell moves on as after Tab (Shift+Tab when backward): to
  // the next tab stop (with goEditing, the next cell that may be edited),
  // into the next row with OnRowChanging, OnCellChanging and OnColChanging
  // (one shared flag), round the grid's end with a row appended
  // (AdvanceInsert, OnCanAddRow, OnAutoAddRow) or the focus handed to the
  // parent's next control (TabToNextAtEnd). OnKeyDown sees the Tab first
  // and may take it. When no cell passes, the current cell stays.
  void TabAdvance(bool backward);
  // A cell editor hands back a key that leaves it: the edit ends (without
  // validation), Down on the last data row appends a row with
  // AppendOnArrowDown, Tab and the arrow keys go through the grid's key
  // handling, the grid takes the focus (AlwaysEdit held off meanwhile) and
  // Enter moves on as after Enter.
  void EditorLeaveKey(Word key, vcl::TShiftState shift);
  // The type-ahead lookup text (empty when idle).
  const AnsiString& LookupText() const { return lookupText_; }
  // On while EditorLeaveKey runs.
  bool EditorHandover() const { return editorHandover_; }
  // On while an editor's value is written back into its cell.
  bool Committing() const { return committing_; }
  // Appends an empty row at the end of the data rows when OnCanAddRow
  // allows (above the floating footer when it shows); the current row
  // follows when a footer sits below; OnAutoAddRow reports the current
  // row.
  void AutoAddRow();

  // ===== the edit road =====
  // The type of the edit in progress (the last one when none runs).
  TEditorType CurrentEditorType() const { return editorType_; }
  // An edit of any type is in progress.
  bool EditorActive() const { return editorActive_; }
  // The shown editor control of a non-text edit, or null.
  vcl::TWinControl* ActiveEditorControl() const { return activeControl_; }
  // The cell's display text when the edit started.
  const AnsiString& EditStartText() const { return editStartText_; }

  // ===== row and column operations =====
  // The model's operations with the view around them: the current row and
  // the top row kept where they still exist (else the last row, or the
  // selection parked when no data row is left), the view's counts and
  // OnCellsChanged for the cells changed.
  void InsertRows(Integer row, Integer count, bool moveControls = true);
  void RemoveRows(Integer row, Integer count);
  void RemoveRowsEx(Integer row, Integer count);
  void DeleteRowsShift(Integer row, Integer count);
  void InsertCols(Integer col, Integer count);
  void RemoveCols(Integer col, Integer count);
  void ClearRect(Integer col1, Integer row1, Integer col2, Integer row2);
  void ClearRows(Integer row, Integer count);
  void ClearCols(Integer col, Integer count);
  // The marked rows or columns, else the selection rectangle.
  void ClearSelection();
  // Every cell emptied (counts kept, properties freed), the lookup text too.
  void Clear();
  // The marked rows (with DisjunctRowSelect), else the selection's rows.
  void RemoveSelectedRows();
  void AddRowAtEnd();
  // Columns and rows sized to their contents as painting measures them,
  // through AutoSizing's limits and margins.
  void AutoSizeColumns(bool doFixedCols, Integer extra);
  void AutoSizeCol(Integer col, Integer extra);
  void AutoSizeRows(bool doFixedRows, Integer extra);
  void AutoSizeRow(Integer row, Integer extra);
  void AutoSizeCells(bool doFixed, Integer extraX, Integer extraY);
  // The column order list back to 0 .. ColCount - 1.
  void ResetColumnOrder();
  // The Insert and Delete keys' row operations (realRow counts hidden rows).
  virtual void AutoInsertRow(Integer realRow);
  virtual void AutoDeleteRow(Integer realRow);
  TAutoSizeSettings AutoSizing;
  std::function<void(vcl::TObject* Sender, Integer ARow, bool& CanDelete)> OnCanDeleteRow;
  std::function<void(vcl::TObject* Sender, Integer ARow)> OnAutoInsertRow;
  std::function<void(vcl::TObject* Sender, Integer ARow)> OnAutoDeleteRow;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer& AWidth)> OnUpdateColumnSize;

  // ===== cell graphics =====
  // A cell's graphic (null without one), where it is aligned, the room it
  // takes and whether the cell's text is drawn beside it.
  struct TCellGraphicLayout {
    TCellGraphic* Graphic = nullptr;
    TCellVAlign VAlign = vaTop;
    TCellHAlign HAlign = haLeft;
    bool DrawText = true;
    TExtent Size;
  };
  TCellGraphicLayout GetCellGraphicLayout(Integer col, Integer row);
  // Paints the graphic of a cell into its content rectangle grown by 1;
  // textWidth is the width of the text drawn beside it (0: none).
  virtual void PaintCellGraphic(TCanvas* canvas, const TRect& r, Integer col, Integer row, TGridDrawState state,
                                Integer textWidth);
  // A check box at r's top-left (the classic styles centre it in r).
  virtual void PaintCheckGlyph(TCanvas* canvas, const TRect& r, bool checked, TControlStyle style, bool enabled);
  // count radio buttons with their captions, side by side or stacked;
  // checkedIndex -1 checks the one whose caption is the cell's text.
  virtual void PaintRadioGroup(TCanvas* canvas, const TRect& r, bool reverse, Integer scale, TControlStyle style,
                               Integer row, Integer col, bool selected, const rtl::TStrings* captions, bool disabled,
                               bool horizontal, Integer checkedIndex, Integer count);

  // ===== cell clicks =====
  // A click at (x, y) inside a radio group's cell (col a real column).
  void RadioGroupClick(Integer col, Integer row, Integer y, Integer x);
  // Opens the fixed-cell editor over a fixed cell when CheckCanEdit leaves
  // its flag False for it; Enter or leaving it stores the text, Escape
  // drops it.
  void EditFixedCell(Integer col, Integer row);
  // The cell button pressed with the mouse ((-1, -1): none).
  TCellCoord PressedCellButton() const { return pressedButton_; }
  // The spin-button halves a press hit in an always-visible spin cell.
  bool SpinUpPressed() const { return spinUp_; }
  bool SpinDownPressed() const { return spinDown_; }
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, bool& Allow)> OnCanClickCell;
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol)> OnClickCell;
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol)> OnDblClickCell;
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol)> OnRightClickCell;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, bool State)> OnCheckBoxMouseUp;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, Integer AIdx)> OnRadioClick;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, Integer AIdx)> OnRadioMouseUp;
  std::function<void(vcl::TObject* Sender, Integer ACol, bool& Allow)> OnColumnSize;
  std::function<void(vcl::TObject* Sender, Integer ACol)> OnEndColumnSize;

  // ===== links and form controls =====
  // Web and mail links only ("http://", "https://", "mailto:"); any other
  // scheme is never handed to the opener.
  static bool IsOpenableLink(const AnsiString& link);
  // The cell (real column, row) whose mini-HTML BUTTON is pressed.
  TCellCoord PressedHtmlButton() const { return pressedHtmlButton_; }
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, const AnsiString& Anchor, bool& AutoHandle)>
      OnAnchorClick;
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ACol, const AnsiString& CtrlID,
                     const AnsiString& CtrlType, const AnsiString& CtrlVal)>
      OnControlClick;

  // ===== controls in cells =====
  // The state of check boxes, radio groups and buttons, cell buttons and
  // the other controls drawn in cells, and the access to cell graphics,
  // answered with this grid's events and settings.
  TCellControlHost& CellControlState();
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, double& NewRate, bool& Allow)> OnRatingChange;

  // ===== selection =====
  // Rows ARow .. ARow + ACount - 1: selected over the data columns, or with
  // DisjunctRowSelect marked (the selection stays).
  void SelectRows(Integer row, Integer count);
  // Ctrl+A: the data area without the fixed right columns and footers
  // selected (every row marked with DisjunctRowSelect), its last cell
  // current.
  void KeySelectAll();
  // With DisjunctRowSelect the row's mark, else whether it lies in the
  // selection's rows. ELumGridError "Invalid row accessed" outside the
  // rows (hidden ones counted).
  bool IsRowMarked(Integer row);
  // OnRowDisjunctSelect may refuse; then the mark, the ordered list and
  // OnRowDisjunctSelected.
  void SetRowMarked(Integer row, bool state);
  // ELumGridError "Invalid column accessed" outside the columns.
  bool IsColMarked(Integer col);
  void SetColMarked(Integer col, bool state);
  void ClearRowMarks();
  void ClearColMarks();
  // Rows (columns) of the data area inside the selection marked; with all,
  // the others unmarked.
  void MarkSelectionRows(bool all);
  void MarkSelectionCols(bool all);
  Integer MarkedRowCount();
  // The rows marked, in the order they were marked.
  const std::vector<Integer>& MarkedRows() const { return selectionMarks_.MarkedRows(); }
  bool IsCellSelected(Integer col, Integer row);
  const TSelectionMarks& SelectionMarks() const { return selectionMarks_; }
  // The selection moved just outside the grid, so that nothing shows as
  // selected, and back.
  void ParkSelection();
  void RestoreParkedSelection();
  bool SelectionParked() const { return selectionParked_; }
  void SelectSingleCell(Integer col, Integer row) { SetSelection({col, row, col, row}); }
  void RepaintGridRect(const vcl::TGridRect& r);
  void RepaintRow(Integer row);
  void RepaintColumn(Integer col);
  // The selection changed (keys, drags): OnSelectionChanged.
  virtual void SelectionChanged(Integer left, Integer top, Integer right, Integer bottom);
  virtual void SelectAllHook(vcl::TGridRect& r) {}
  // Ctrl+A's rectangle before it is applied; descendants may change it.
  virtual void KeySelectAllHook(vcl::TGridRect& r) {}
  // The handle of the selection resizer: the 6 x 6 corner of the
  // selection's bottom-right cell; empty without SelectionResizer and
  // SelectionRectangle.
  TRect SelectionResizerHandle() const;
  std::function<void(vcl::TObject* Sender, Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)>
      OnSelectionChanged;
  std::function<void(vcl::TObject* Sender, Integer ARow, bool AState, bool& Allow)> OnRowDisjunctSelect;
  std::function<void(vcl::TObject* Sender, Integer ARow)> OnRowDisjunctSelected;

  // ===== validation and change notification =====
  // Remembers the cell the next edit belongs to and its text.
  virtual void StartEditCell(Integer col, Integer row);
  // The end of an edit with the editor's text: the checker's correction,
  // OnCellValidate, then the value stored (with modified marks, the change
  // record and OnCellsChanged), or after a refusal the start text (or the
  // handler's replacement) put back and the editor reopened on the cell.
  // True when the value stays or nothing awaited validation.
  virtual bool CellValidate(const AnsiString& value);
  // A cell's value was accepted; its column's footer is recalculated once
  // footers exist.
  virtual void CellEdited(Integer col, Integer row);
  // Fires OnCellsChanged.
  virtual void CellsChanged(const vcl::TRect& r);
  // An import or paste has ended: the footer is recalculated.
  virtual void CellsLoaded();

  // ===== floating footer and imports (GridFooter.cpp) =====
  TFooterPanel* FooterPanel() const { return footerPanel_; }
  // FloatingFooter's settings applied: the panel shown and sized, the
  // footer row kept as the grid's last (FixedFooters) with fsFixedLastRow.
  void FloatingFooterChanged();
  // The footer cell of the column (every column for -1) from its kind.
  void CalcFooter(Integer col);
  virtual void UpdateFooter(Integer col);
  double ColumnSum(Integer col, Integer fromRow, Integer toRow);
  double ColumnAvg(Integer col, Integer fromRow, Integer toRow);
  double ColumnMin(Integer col, Integer fromRow, Integer toRow);
  double ColumnMax(Integer col, Integer fromRow, Integer toRow);
  // "<#n>" tags replaced by the display text of column n of the current row.
  AnsiString ExpandFooterTemplate(const AnsiString& templateText);
  // Walks over rows report their stages (start 0, row 5 or cell 1, end 2,
  // found 4); the grid itself does nothing.
  virtual void RowScanNotify(Integer stage, Integer row) {}
  // A delimited text file into the cells from the first data row (the
  // model's reader, with the grid's OemConvert and OnFileProgress), then
  // CellsChanged over the grid and CellsLoaded.
  void ImportCSV(const AnsiString& fileName, Integer maxRows);
  // The first worksheet of a spreadsheet file into the cells (sized to its
  // used range), with the hourglass meanwhile, then CellsChanged and
  // CellsLoaded, also when the reading fails. ELumGridError "Excel OLE
  // server not found" in a build without a worksheet reader.
  void ImportXLS(const AnsiString& fileName);
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value)> OnFooterCalc;
  std::function<void(vcl::TObject* Sender, Integer AColumn, vcl::TCanvas* Canvas, vcl::TRect ARect)> OnFooterPaint;
  vcl::TNotifyEvent OnCreatedFloatingFooter;
  std::function<void(vcl::TObject* Sender, Integer Progress)> OnFileProgress;

  // ===== search footer and text search (GridSearch.cpp) =====
  TSearchPanel* SearchPanel() const { return searchPanel_; }
  // The grid's text search from the cell after from ((-1, -1): from the
  // first cell); (-1, -1) when nothing matches. The last find is kept.
  TCellCoord FindCell(TCellCoord from, const AnsiString& text, TFindOptions options);
  TCellCoord LastFoundCell() const;
  // SearchFooter's settings into the panel (captions, hints, visibility,
  // flatness, height), the last row then kept clear of it.
  void UpdateSearchPanel();
  // The panel's handlers: a typed search, find next and previous, close
  // and the highlight button.
  void SearchEditChanged();
  void SearchFindNext();
  void SearchFindPrevious();
  void SearchFooterClosed();
  void SearchHighlightClicked();
  // Ctrl+F: the search field takes the focus while the footer shows.
  void FocusSearchFooter();
  // A dialog character that is the accelerator of the find-next,
  // find-previous or highlight button acts as its click; false otherwise.
  bool SearchFooterAccelerator(Word ch);
  // The last row's cell in the current column ends above the search
  // panel (within 2 pixels), the rows all scrolled into view.
  bool LastRowClearOfSearchFooter();
  // Scrolls down until the last row clears the panel, or the top row
  // cannot move further.
  void ScrollLastRowClear();
  std::function<void(vcl::TObject* Sender, const AnsiString& Value, bool& DefaultSearch)> OnSearchEditChange;
  vcl::TNotifyEvent OnSearchFooterClose;
  vcl::TNotifyEvent OnCreatedSearchFooter;
  // An editor's value: the class library's edit text of the display
  // column, then the cell's text.
  virtual void SetEditorCellText(Integer col, Integer row, const AnsiString& value);
  const TEditValidation& Validation() const { return *validation_; }
  // What the editor adapters ask of the grid: whether Tab ends an edit
  // with validation (goTabs, or a validation handler), the current cell's
  // stored text, storing a text there, and the editor shown again.
  bool TabNeedsValidation() const { return Options().Contains(vcl::goTabs) || static_cast<bool>(OnCellValidate); }
  AnsiString GetCurrentCellRawText();
  void SetCurrentCellText(const AnsiString& value);
  // An editor's text handed to the class library's edit text of the
  // current cell.
  void SetCurrentEditText(const AnsiString& value) { SetEditText(Col(), Row(), value); }
  // OnEllipsClick for the current cell (real column); the text it leaves.
  AnsiString EllipsClick(const AnsiString& value);
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, AnsiString& S)> OnEllipsClick;
  void ShowCellEditor();
  // The grid's own in-place editor for the ten text types.
  TLumInplaceEdit* LumInplaceEditor() const;
  TVadOdizadEzevCheck* CellChecker() const { return cellChecker_; }
  void SetCellChecker(TVadOdizadEzevCheck* value);
  // Set when an edit changed a cell; the program clears it.
  bool Modified = false;
  // Places, fills, shows and focuses the control of the current editor
  // type on the cell. A type whose control kind has no factory shows
  // nothing and ends the edit.
  virtual void OpenCellEditor(Integer col, Integer row);
  // Writes the shown control's value into the cell by editor type, hides
  // and disables the control and reports the end of the edit.
  virtual void CommitCellEditor(Integer col, Integer row);
  // Ends the edit in progress: the class library's editor goes, a control
  // is committed.
  void HideCellEditor();
  // Puts the edit-start text back into the current cell.
  virtual void RestoreCellText();
  // Fires OnEditingDone, clears the editor-active flag and posts the
  // edit-done message; its arrival fires OnEditCellDone.
  void EditingDone(Integer col, Integer row);
  // The grid's private "GridEditDone" message (WParam column, LParam row).
  static constexpr Cardinal GridEditDoneMessage = vcl::WM_APP + 0x0ED;

  // The texts of another grid of this class, counts included.
  virtual void AssignCells(const vcl::TPersistent* source);
  bool IsFixed(Integer col, Integer row) override;

  // ===== clipboard and cell streams (GridClipboard.cpp) =====
  // Copy, cut and paste of the selection: plain text (UTF-8 and UTF-16),
  // "Rich Text Format" with AllowRTFClipboard, the grid's own cell stream
  // "TVadOdizadEzev Cells" with AllowFmtClipboard; the paste fills the
  // selection smartly with AllowSmartClipboard.
  void CopySelectionToClipboard();
  void CutSelectionToClipboard();
  void PasteSelectionFromClipboard();
  void CopyRectToClipboard(const vcl::TGridRect& r, bool selectedOnly);
  // The best format there with its top-left at the cell; the count of
  // cells it brought, rows and cols as the format reports them.
  Integer PasteFromClipboardAt(Integer col, Integer row, Integer& rows, Integer& cols);
  Integer PasteTextAt(Integer col, Integer row, Integer& rows, Integer& cols, const AnsiString& text);
  // One pasted value: a change record, then a check box's state or the
  // display text.
  virtual void PasteCell(Integer col, Integer row, const AnsiString& value);
  virtual void BeforePaste() {}
  virtual void AfterPaste() {}
  // With ShowModified.Enabled the rows of r are marked modified.
  virtual void MarkRowsModified(TCellCoord fromCell, const vcl::TGridRect& r, bool wasCopy);
  virtual bool CanUseFmtClipboard();
  virtual void RowPasteNotify(Integer stage, Integer row) {}
  // What a cell gives copies and saves, and how an incoming text is stored.
  virtual AnsiString SaveCell(Integer col, Integer row);
  virtual void LoadCell(Integer col, Integer row, const AnsiString& value);
  std::string SaveCellsToStream(const vcl::TGridRect& r);
  void LoadCellsFromStream(TCellCoord at, std::string_view stream);
  std::string SaveCellsToTextStream();
  void LoadCellsFromTextStream(std::string_view stream);
  // The selection as tab and line text, and the size of such a text
  // (columns, and the index of its last non-empty line).
  AnsiString GetSelectionText();
  void GetTextDimensions(const AnsiString& text, Integer& cols, Integer& lastLine);
  bool IsWideTextCell(Integer col, Integer row);
  TCellCoord CopyOrigin() const { return copyOrigin_; }
  bool LastOperationWasCopy() const { return lastWasCopy_; }
  // Multi-line cells copied packed (CR LF as a vertical tab, quoted).
  bool PackMultiLineCells = false;
  // The selection resizer: a press on its handle starts it, the release
  // fills the new selection from the cells copied into the grid's own
  // buffer (the system clipboard stays as it was).
  bool SelectionResizing() const { return resizing_; }
  std::function<void(vcl::TObject* Sender, bool& Allow)> OnClipboardCopy;
  std::function<void(vcl::TObject* Sender, bool& Allow)> OnClipboardCut;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, WideString& Value, bool& Allow)>
      OnClipboardBeforePasteWideCell;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, const WideString& Value)>
      OnClipboardAfterPasteWideCell;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer ARow, AnsiString& Value)> OnSaveCell;
  std::function<void(vcl::TObject* Sender, vcl::TGridRect OrigSelection, vcl::TGridRect NewSelection)>
      OnSelectionResize;
  std::function<void(vcl::TObject* Sender, vcl::TGridRect OrigSelection, vcl::TGridRect NewSelection)>
      OnSelectionResized;

  // ===== cell painting =====
  // The brush, font, gradient, alignment and word wrap a cell is painted
  // with (the gridmodel paint plan executed, then GetCellColor and the
  // selection colours).
  void ResolveCellStyle(Integer col, Integer row, TGridDrawState& state, bool print, bool applySelection,
                        bool mapColumn, vcl::TBrush* brush, vcl::TFont* font, TCellStyle& style) override;
  // The look's fill of a fixed cell, the modified mark, the text, the
  // fixed-cell edges, OnDrawCell, OnCustomCellDraw and the focus rectangle.
  void PaintCellContent(TCanvas* canvas, Integer col, TGridDrawState state, const TRect& r, Integer row) override;
  // The text step: plain, formula and HTML text (rich and wide text as
  // their plain text) in the content rectangle.
  virtual void PaintCellText(TCanvas* canvas, Integer col, Integer row, TGridDrawState state, const TRect& r,
                             const TCellStyle& style);
  // The font and brush painting gives a cell (real column col, displayed
  // column displCol).
  void ApplyCellFont(Integer col, Integer displCol, vcl::TBrush* brush, vcl::TFont* font, TGridDrawState state,
                     Integer row);
  // The width and height a cell's content needs as painting lays it out:
  // HTML as the mini-HTML renderer measures it (+2 each way), plain text
  // by its widest line and line count, or with fitWidth wrapped in the
  // cell's width; reserveButton keeps 17 pixels free on the right.
  void MeasureCellContent(Integer col, Integer displCol, Integer row, vcl::TSize& size, bool reserveButton,
                          bool fitWidth);
  void MeasureCell(Integer displCol, Integer row, vcl::TSize& size, bool reserveButton, bool fitWidth) {
    MeasureCellContent(displCol, displCol, row, size, reserveButton, fitWidth);
  }
  // The tree lines of a row in column 0 of a grid with nodes.
  virtual void PaintTreeLines(TCanvas* canvas, Integer row, TRect r);
  // The border lines OnGetCellBorder and OnGetCellBorderProp ask for.
  virtual void PaintCellBorders(TCanvas* canvas, Integer col, Integer row, const TRect& r);
  // Draws the sort indicator of a header cell centred on x, y: the
  // column's index-sort mark with IndexShow, else the direction's glyph or
  // 3-D outline triangle.
  virtual void PaintSortIndicator(TCanvas* canvas, Integer col, Integer x, Integer y);
  // Draws a cell's rich text through the hidden rich-text control, the
  // rectangle formatted in twips at the canvas's resolution.
  virtual void PaintRichText(Integer col, Integer row, const TRect& r, TCanvas* canvas);
  // The hidden rich-text control that measures and draws rich cells.
  TLumRichEdit* RichMeasure() const { return richMeasure_; }
  // The fixed cell under the mouse (-1, -1: none) and whether it is pressed;
  // mouse tracking keeps them.
  void SetHoveredFixedCell(Integer col, Integer row, bool pressed);
  // Whether the mouse is over the drop-down part of the hovered fixed cell
  // (FixedDropDownButton); mouse tracking keeps it.
  void SetOverFixedDropDown(bool over);
  // The cell's base cell holds a check box, radio, button or another
  // control of its own.
  bool HasCellControl(Integer col, Integer row);
  // ===== in-cell controls =====
  // The base cell holds a check box of one of the four kinds.
  bool IsCheckBoxCell(Integer col, Integer row);
  // Turns a check box over (col a real column): a ctCheckBox its flag, the
  // other kinds their text between the check-true and check-false texts.
  // From the user, the owner's CheckCanEdit decides unless
  // CheckAlwaysActive. False when there is no check box or it is refused.
  virtual bool ToggleCheckBox(Integer col, Integer row, bool fromUser);
  // Whether the check box of the cell is checked now (False without one).
  bool CheckBoxChecked(Integer col, Integer row);
  // Sets or clears the radio button of the cell; False unless the cell's
  // graphic is a ctRadioButton.
  bool SetCellRadioButton(Integer col, Integer row, bool state);
  // This row's radio button of the column set, those of the other data
  // rows cleared.
  void SelectColumnRadioButton(Integer col, Integer row);
  virtual void CheckBoxChange(Integer col, Integer row, bool state);
  // True while an Enter advance moves the current cell.
  bool AdvanceMoving() const { return advanceMoving_; }
  // A row whose column-0 cell holds a node.
  bool IsNode(Integer row);
  TCustomCellDrawEvent OnCustomCellDraw;
  TCellBorderPropEvent OnGetCellBorderProp;

  void Assign(const vcl::TPersistent* source) override;
  // The first form among the control and its parents, or null.
  static vcl::TCustomForm* ParentForm(vcl::TControl* control);
  bool IsIgnoredColumn(Integer col) const { return ignoredColumns_->HasValue(col); }
  void Invalidate() override;
  // The next Invalidate only clears this flag.
  void SkipNextRepaint() { skipRepaint_ = true; }
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  // Shows, enables and disables the scroll bars ScrollBarAlways asks for;
  // with hide, a bar whose content fits goes away when none is asked for.
  void ShowAlwaysScrollBars(bool hide = false);

  // ===== the editor controls =====
  // The hidden control of a kind; null while designing or when the kind
  // has no factory.
  vcl::TWinControl* EditorControl(TGridEditorControl kind) const { return editors_[static_cast<int>(kind)]; }
  // The arrows that show where a dragged column or row lands, by direction
  // (TArrowWindow::adUp .. adLeft).
  TArrowWindow* DropArrow(Integer direction) const { return dropArrows_[direction]; }
  // The grid's own two scroll-bar controls (the flat and proportional bars
  // use them); hidden, vertical and flat once the window exists.
  vcl::TScrollBar* ScrollBarControl(Integer index) const { return scrollBarControls_[index]; }
  controls::REZORuvar ComponentStyle() const { return componentStyle_; }
  void SetComponentStyle(controls::REZORuvar style) override;
  // The cursor the unit shows over links; each construction sets it.
  static vcl::TCursor LinkCursor();
  // Scaling of a form by m/d.
  void ChangeScale(Integer m, Integer d);

 protected:
  // The cells, then the frame of the cell being edited.
  void Paint() override;
  void Loaded() override;
  void Resize() override;
  void Dispatch(vcl::TMessage& message) override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  // Entering runs the cell selection steps and always ends by recording
  // the current cell's start text; neither side runs while an editor hands
  // the focus back or writes its value.
  void DoEnter() override;
  void DoExit() override;
  AnsiString GetEditMask(Integer col, Integer row) override;
  // Asked as the in-place editor loads a cell: the grid's editor takes the
  // limit and, for a password cell, the password character.
  Integer GetEditLimit() override;
  // Starts an edit: the class library's editor for the ten text types,
  // the type's own control (and False) for the others, nothing for edNone
  // or a cell with a control of its own.
  bool CanEditShow() const override;
  vcl::TInplaceEdit* CreateEditor() override;
  AnsiString GetEditText(Integer col, Integer row) override;
  // Enter and Escape end a text edit (Enter writes back and moves on as
  // after Enter, Escape puts the edit-start text back).
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void KeyOnCellControl(Word key);
  // Without editing and with Navigation.AutoGotoWhenSorted, a typed
  // character moves to the first row whose lookup-column text starts with
  // the lookup text (AutoGotoIncremental: all characters typed since the
  // lookup last expired).
  void KeyPress(vcl::WideChar& key) override;
  // PgUp, PgDn, End, the arrows, Insert and Delete end the lookup.
  void KeyUp(vcl::Word& key, vcl::TShiftState shift) override;
  // The grid's clicks around the class library's own mouse handling.
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
  void FormResized(vcl::TCustomForm* form);
  // The date pickers' notices. A change of the date picker reports its
  // date (short date format) or time (long time format) through
  // OnEditChange, a change of the date-and-time picker its value through
  // OnDateTimeChange; a close-up fires OnDatePickerCloseUp and, with
  // MouseActions.DirectDateClose, takes the picker away and gives the
  // focus back to the grid; the drop-down sets the calendar's week numbers
  // and today marks, sizes it 2 pixels beyond its smallest size and fires
  // OnDatePickerDropDown.
  void DatePickerChanged(vcl::TDateTimePicker* picker);
  void DateTimePickerChanged(vcl::TDateTimePicker* picker);
  void DatePickerClosedUp(vcl::TDateTimePicker* picker);
  void DatePickerDroppedDown(vcl::TDateTimePicker* picker);

 public:
  // ===== sorting (GridSorting.cpp) =====
  // Two rows exchanged whole, with their modified and disjunct marks as
  // SortSettings and the options ask.
  virtual void SwapRows(Integer row1, Integer row2);
  // The non-fixed rows on SortSettings.Column in SortSettings.Direction.
  virtual void SortByColumn();
  // On the sort index list; ELumGridError when it is empty.
  virtual void IndexedSort();
  // Inside the deepest expanded node groups.
  virtual void GroupSort();
  virtual void GroupIndexedSort();
  // Back to the order before the first sort since the row count changed.
  virtual void UnSort();
  // A click on the sort header of a column: OnCanSort, the edit ended, the
  // index built or the direction cycled, the sort, OnClickSort.
  void SortClick(Integer col, bool indexKeyDown);
  // Columns that compare equal and do not sort on a click.
  TIntList* IgnoredColumns() const { return ignoredColumns_.get(); }
  std::function<void(vcl::TObject* Sender, const AnsiString& str1, const AnsiString& str2, Integer& Res)>
      OnCustomCompare;
  std::function<void(vcl::TObject* Sender, Integer ACol, Integer Row1, Integer Row2, Integer& Res)> OnRawCompare;
  std::function<void(vcl::TObject* Sender, Integer ACol, bool& DoSort)> OnCanSort;
  std::function<void(vcl::TObject* Sender, Integer ACol)> OnClickSort;

  // ===== filtering (GridFilter.cpp) =====
  bool FilterActive() const { return filterActive_; }
  // On: the failing data rows hidden as one level inside an update lock;
  // off: that level shown again with the fixed rows as they were and a
  // selection the hiding parked put back.
  void SetFilterActive(bool value);
  Integer FilterDropDownRow() const { return filterDropDownRow_; }
  // Only a row below FixedRows; repaints.
  void SetFilterDropDownRow(Integer value);
  // Whether the row (display row) passes Filter; OnCustomFilter last.
  virtual bool MatchFilter(Integer row);
  void ApplyFilter();
  // The value list of a column (FilterDropDownAuto, FilterDropDownClear,
  // OnGetColumnFilter); True when it has entries.
  virtual bool GetColumnFilter(Integer column);
  // The entry chosen in the open column's list becomes its condition
  // (re-applied at once with AutoFilterUpdate).
  virtual void FilterSelect(Integer itemIndex);
  virtual void FilterDone();
  // The list the filter glyphs open ("droplist"); the column whose list is
  // open (-1: none) and its entries.
  TDropList* FilterList();
  Integer FilterOpenColumn() const { return filterColumn_; }
  rtl::TStringList* FilterValues();
  TRowFilter& RowFilter();
  std::function<void(vcl::TObject* Sender, Integer ARow, bool& AcceptRow)> OnCustomFilter;
  std::function<void(vcl::TObject* Sender, int16_t Progress)> OnFilterProgress;
  std::function<void(vcl::TObject* Sender, Integer Column, rtl::TStrings* Filter)> OnGetColumnFilter;
  std::function<void(vcl::TObject* Sender, Integer Column, Integer ItemIndex, const AnsiString& FriendlyName,
                     AnsiString& FilterCondition)>
      OnFilterSelect;
  vcl::TNotifyEvent OnFilterDone;

  // ===== row nodes and grouping (GridNodes.cpp) =====
  // The model's nodes and grouping with this grid's settings, events and
  // view around them. Rows are real or display rows as in TRowNodes.
  TRowNodes& Nodes();
  TRowGrouping& RowGrouping();
  bool HasNodes() override;
  Integer GetNodeIndent(Integer row) override;
  bool IsSummary(Integer row) { return Nodes().IsSummary(row); }
  bool GetNodeState(Integer row) { return Nodes().GetNodeState(row); }
  Integer GetNodeLevel(Integer row) { return Nodes().GetNodeLevel(row); }
  Integer GetNodeSpan(Integer row) { return Nodes().GetNodeSpan(row); }
  Integer GetNodeInsertedCount(Integer row) { return Nodes().GetNodeInsertedCount(row); }
  Integer GetParentNode(Integer row) { return Nodes().GetParentNode(row); }
  Integer GetTreeLineKind(Integer row) { return Nodes().GetTreeLineKind(row); }
  // Whether x lies on the node glyph of the row (any x without
  // MouseActions.PreciseNodeClick).
  bool IsNodeClick(Integer row, Integer x);
  void AddNode(Integer realRow, Integer span);
  void AddSummaryRow(Integer realRow);
  void RemoveNode(Integer realRow);
  void RemoveAllNodes();
  void ExpandNode(Integer realRow);
  void ContractNode(Integer realRow);
  void ExpandAll();
  void ContractAll();
  void AdjustNodeSpan(Integer row, Integer delta) { Nodes().AdjustNodeSpan(row, delta); }
  void AdjustNodeInsertedCount(Integer row, Integer delta) { Nodes().AdjustNodeInsertedCount(row, delta); }
  void InsertChildRow(Integer realRow, bool below);
  bool RemoveChildRow(Integer realRow);
  void InsertRowReal(Integer realRow);
  void RemoveRowReal(Integer row);
  // Set while ContractNode hides rows.
  bool InternalMove() const { return internalMove_; }
  virtual void Group(Integer col);
  virtual void UnGroup();
  virtual void SubGroup(Integer col);
  virtual void UnSubGroup(Integer col);
  // -1 while not grouped.
  Integer GroupColumn() const { return rowGrouping_ ? rowGrouping_->GroupedColumn() : -1; }
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ARowReal, bool& Allow)> OnBeforeExpandNode;
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ARowReal, bool& Allow)> OnBeforeContractNode;
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ARowReal)> OnExpandNode;
  std::function<void(vcl::TObject* Sender, Integer ARow, Integer ARowReal)> OnContractNode;

  // ===== update lock =====
  // Nested; while held the grid paints nothing, and the last EndUpdate
  // repaints it once. The quiet form leaves painting alone.
  void BeginUpdate();
  void BeginUpdateQuiet();
  void EndUpdate();
  void ResetUpdateLock();
  Integer UpdateCount() const { return updateCount_; }

  // ===== looks, component styles, theme (GridLooks.cpp) =====
  // The look's name; false and the name untouched for glCustom.
  bool LookName(TGridLook look, AnsiString& name) const;
  // A style's colour set (through the Look setter where it names a look).
  void ApplyComponentStyle(controls::REZORuvar style);
  // The seven drop-down cell editors take the style.
  void SetEditorsStyle(controls::REZORuvar style);
  // 4 from Vista on; 1 blue, 2 olive, 3 silver by the theme's colour name;
  // 0 without visual styles or for another name.
  Integer GetThemeColorScheme() const;
  void ApplyThemeColors(Integer scheme);
  void AdaptToTheme();
  // Stores AutoThemeAdapt; switched on, the grid adapts and repaints.
  void SetAutoThemeAdapt(bool value);

  // ===== scrolling (GridScroll.cpp) =====
  // Brings the cell into view: shown, the view stays; outside it, the cell
  // becomes current and comes to the middle of the view.
  void ScrollToCell(Integer col, Integer row);

  // ===== timer (GridTimer.cpp) =====
  // Ticks of timer 111 so far; the blink phase (blinking text shown).
  Integer TickCount() const { return tickCount_; }
  bool BlinkPhase() const { return blinkPhase_; }

  // ===== column sizes (GridSizing.cpp) =====
  // Gives the column (-1: the last) the width the others leave; a column
  // at or beyond ColCount raises "Stretch column index out of range".
  void StretchColumn(Integer col);
  // The widths and the grid's width that SynchWithGrid scales from.
  void RememberColumnSizes();
  // The widths into, and out of, the store ColumnSize names.
  void SaveColumnSizes();
  void LoadColumnSizes();

 protected:
  void ColWidthsChanged() override;
  void SizeChanged(Integer oldColCount, Integer oldRowCount) override;

 private:
  void GridTimerTick();
  Integer tickCount_ = 0;
  bool blinkPhase_ = true;
  void ApplyLook(TGridLook value);
  void StyleComponent(controls::REZORuvar style);
  std::vector<Integer> ColumnWidthList() const;
  // The stretch of the resize paths: ColumnSize.StretchColumn when the
  // grid has that column.
  void StretchFromSettings();
  void GridResized();
  void SaveColumnSizesAtDestruction();
  bool stretching_ = false;
  bool stretchDone_ = false;
  std::vector<Integer> synchWidths_;
  Integer synchBaseWidth_ = 0;

  // A press on a node glyph in column 0 (row a display row); true when
  // it acted.
  bool NodeClickPress(Integer row, vcl::TShiftState shift, Integer x, Integer y);
  void PaintNodeGlyph(TCanvas* canvas, const TRect& r, Integer row, TGridDrawState state);
  void NodesChanged(Integer savedRow, Integer savedTop);
  // Selects (or with disjunct row marks, marks) the children of an open
  // node row, as a release on the row asks with Grouping.AutoSelectGroup.
  void SelectNodeGroup(Integer row);
  std::unique_ptr<TRowNodes> rowNodes_;
  std::unique_ptr<TRowGrouping> rowGrouping_;
  bool internalMove_ = false;
  Integer expandDepth_ = 0;
  bool expandRowSelect_ = false;
  bool expandDisjunct_ = false;
  bool expandUpdate_ = false;
  Integer expandRow_ = 0;
  Integer expandTop_ = 0;

  // The filter glyph's mouse-up: the list opened, or hidden.
  void FilterMouseUp(Integer x, Integer y);
  void FilterListCancelled();
  bool filterActive_ = false;
  Integer filterDropDownRow_ = 0;
  Integer filterColumn_ = -1;
  std::unique_ptr<TRowFilter> rowFilter_;
  std::unique_ptr<rtl::TStringList> filterValues_;
  TDropList* dropList_ = nullptr;  // owned as a component of the grid

  friend class GridRowSorter;
  friend class TGridTransferHost;
  friend class TGridPasteHost;
  // The clipboard keys; true when the key was one.
  bool ClipboardKey(Word& key, vcl::TShiftState shift);
  // The resizer's press on its handle and its release.
  bool ResizerPress(Integer x, Integer y);
  bool ResizerRelease();
  vcl::TGridRect WidenToMerges(vcl::TGridRect r);
  bool ClipHas(Word format);
  std::string ClipGet(Word format);
  std::shared_ptr<GridRowSorter> sorter_;  // made at the first sort
  Integer updateCount_ = 0;
  GridRowSorter& Sorter();
  void SwapRowMarks(Integer row1, Integer row2, const TSortOptions& options);
  template <class T>
  void SetRepainting(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  void CreateEditors();
  // After the window is made: the scroll-bar controls placed, the timer on.
  void WindowCreated();
  void WriteColumnHeaders();
  void WriteRowHeaders();
  bool EditorTypeShowsCombo(TEditorType editor) const;

  vcl::TImageList* gridImages_ = nullptr;
  vcl::TPopupMenu* fixedDropDownMenu_ = nullptr;
  std::unique_ptr<vcl::TBitmap> rowIndicator_;
  std::unique_ptr<TSearchFooter> searchFooter_;
  std::unique_ptr<TFloatingFooter> floatingFooter_;
  TFooterPanel* footerPanel_ = nullptr;  // owned as a component of the grid
  std::unique_ptr<TFooterTotals> footerTotals_;
  void CreateFloatingFooter();
  void PlaceFloatingFooter();
  class SearchHost;
  TSearchPanel* searchPanel_ = nullptr;  // owned as a component of the grid
  std::unique_ptr<TCellSearchHost> searchHost_;
  std::unique_ptr<TCellFinder> finder_;
  AnsiString lastSearchText_;
  void CreateSearchPanel();
  void PlaceSearchPanel();
  TFindOptions SearchOptions(bool typed);
  void SearchStep(bool backward);
  std::unique_ptr<TSortSettings> sortSettings_;
  std::unique_ptr<TDragDropSettings> dragDropSettings_;
  std::unique_ptr<TDragScrollOptions> dragScrollOptions_;
  std::unique_ptr<TBands> bands_;
  std::unique_ptr<TGrouping> grouping_;
  std::unique_ptr<TBackGround> backGround_;
  std::unique_ptr<TGridProgressAppearance> progressAppearance_;
  std::unique_ptr<TFilter> filter_;
  std::unique_ptr<TBalloonSettings> balloon_;
  std::unique_ptr<TShowModified> showModified_;
  std::unique_ptr<TFilterDropDown> filterDropDown_;
  std::unique_ptr<TPrintSettings> printSettings_;
  std::unique_ptr<THTMLSettings> htmlSettings_;
  std::unique_ptr<TControlLook> controlLook_;
  std::unique_ptr<TNavigation> navigation_;
  std::unique_ptr<TColumnSize> columnSize_;
  std::unique_ptr<TCellNode> cellNode_;
  std::unique_ptr<TSizeWhileTyping> sizeWhileTyping_;
  std::unique_ptr<TMouseActions> mouseActions_;
  std::unique_ptr<rtl::TStringList> columnHeaders_;
  std::unique_ptr<dropdown::THTMLPictureCache> pictureCache_;
  TLumRichEdit* richMeasure_ = nullptr;
  std::unique_ptr<TIntList> filterDropDownValues_;
  std::unique_ptr<vcl::TFont> fixedFont_;
  std::unique_ptr<vcl::TFont> activeCellFont_;
  std::unique_ptr<rtl::TStringList> rowHeaders_;
  std::unique_ptr<rtl::TStringList> lookupHistory_;
  std::unique_ptr<rtl::TStringList> lookupItems_;
  std::unique_ptr<TSortIndexList> sortIndexes_;
  std::unique_ptr<TIntList> sortList1_;
  std::unique_ptr<TIntList> sortList2_;
  std::unique_ptr<TIntList> disjunctCells_;
  TIntList* rowModified_ = nullptr;  // the model's, which keeps it with the rows
  friend class GridValidationHost;
  std::unique_ptr<TValidationHost> validationHost_;
  std::unique_ptr<TEditValidation> validation_;
  TVadOdizadEzevCheck* cellChecker_ = nullptr;
  TCellMarks cellMarks_;
  TSelectionMarks& selectionMarks_;  // the model's, which keeps the marks with the rows
  bool selectionParked_ = false;
  vcl::TGridRect parkedSelection_{};
  std::unique_ptr<vcl::TBitmap> backgroundBitmap_;
  std::unique_ptr<TControlList> cellControls_;
  std::unique_ptr<TIntList> columnOrder_;
  std::unique_ptr<TCellGraphic> spareGraphic_;
  std::unique_ptr<controls::TLumHintInfo> officeHint_;
  std::unique_ptr<TIntList> ignoredColumns_;
  vcl::TWinControl* editors_[GridEditorControlCount] = {};  // owned as components of the grid
  TArrowWindow* dropArrows_[4] = {};                           // likewise; up, down, right, left
  vcl::TScrollBar* scrollBarControls_[2] = {};                 // likewise

  vcl::TCustomForm* form_ = nullptr;  // the owner form whose resizes we follow
  Integer formListener_ = 0;
  Integer formWidth_ = 0;
  Integer formHeight_ = 0;

  TVAlignment vAlignment_ = vtaTop;
  Cardinal vAlignmentFlag_ = 0;
  Integer maxEditLength_ = 0;
  bool autoSize_ = false;
  bool flat_ = false;
  Integer hoverFixedCol_ = -1;
  Integer hoverFixedRow_ = -1;
  bool fixedPressed_ = false;
  bool overFixedDropDown_ = false;
  bool advanceMoving_ = false;
  Integer lastReportedRow_ = -1;
  bool StartCellEdit();
  // Insert and Delete on the rows (AllowInsertRow, AllowDeleteRow); true
  // when the key acted.
  bool RowKey(Word key, vcl::TShiftState shift);
  void RowsRemovedFromView(Integer savedRow, Integer savedTop);
  std::unique_ptr<TCellControlHost> controlHost_;
  // The clicks (GridClicks.cpp).
  void ClickPress(vcl::TShiftState shift, Integer x, Integer y);
  void ClickDouble(vcl::TShiftState shift, Integer x, Integer y);
  void CloseFixedCellEditor(bool store);
  TCellCoord pressedButton_{-1, -1};
  // The link, anchor or form control under a press; true when it acted.
  bool ClickLink(Integer col, Integer row, Integer realCol, Integer x, Integer y);
  TCellCoord pressedHtmlButton_{-1, -1};
  TCellCoord fixedEditCell_{-1, -1};
  bool spinUp_ = false;
  bool spinDown_ = false;
  bool editorHandover_ = false;
  bool committing_ = false;
  // The focus messages, inherited handling included (GridFocus.cpp).
  void FocusGained(vcl::TMessage& message);
  void FocusLost(vcl::TMessage& message);
  TEditorType editorType_ = edNormal;
  bool editorActive_ = false;
  AnsiString editStartText_;
  vcl::TWinControl* activeControl_ = nullptr;
  AnsiString lookupText_;
  TLookupExpiry lookupExpiry_;
  // The cell a Tab advance started from; (-1, -1) while none runs.
  TCellCoord tabGuard_{-1, -1};
  TGridLook look_ = glXP;
  bool activeCellShow_ = false;
  TColor activeCellColor_ = clGray;
  TColor activeCellColorTo_ = clNone;
  TColor selectionColor_ = 0xEACAB6;
  TColor selectionColorTo_ = clNone;
  TColor selectionMirrorColor_ = clNone;
  TColor selectionMirrorColorTo_ = clNone;
  TColor selectionTextColor_ = clBlack;
  bool selectionRectangle_ = false;
  bool selectionResizer_ = false;
  TCellCoord copyOrigin_{-1, -1};
  bool lastWasCopy_ = false;
  // The resizer's copy, and whether copies and pastes go through it.
  std::vector<std::pair<Word, std::string>> resizeBuffer_;
  bool useResizeBuffer_ = false;
  bool resizing_ = false;
  vcl::TGridRect resizeOrigin_;
  TColor fixedGradient_[FixedGradientSlotCount];
  AnsiString checkTrue_ = "Y";
  AnsiString checkFalse_ = "N";
  vcl::TCursor cursor_ = vcl::crDefault;
  vcl::TCursor restoreCursor_ = vcl::crDefault;
  bool skipRepaint_ = false;
  bool gridLoaded_ = false;
  bool isWinXP_ = false;
  bool isWin7_ = false;
  bool isVista_ = false;
  bool newComCtrls_ = false;
  Integer wheelLines_ = 3;
  controls::REZORuvar componentStyle_ = controls::tsWindowsXP;
};

}  // namespace grid
