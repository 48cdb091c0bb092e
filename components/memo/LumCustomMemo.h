#pragma once
// TLumCustomMemo, the code editor control: a caret and a selection over a
// line store, a fixed grid of character cells with two scroll bars, the
// editing operations with their undo records, and the settings the memo
// component publishes.
//
// Positions are (column, line) pairs counted from 0, columns in characters
// (code points of the UTF-8 lines). The text, the undo history and the
// styler come from the memo's MemoSource when one is set, else from its
// own; every operation reaches them only through TextStore(), UndoList()
// and ActiveStyler().
//
// The grid is measured through a canvas: the control's own, or one a test
// puts in its place (SetMeasuringCanvas) to get exact numbers whatever
// fonts are installed.
#include <functional>
#include <memory>
#include <optional>

#include "controls/LumStyleIF.h"
#include "memo/CompletionEntries.h"
#include "memo/ParameterHint.h"
#include "memo/text/LumMemoStrings.h"
#include "vcl/Controls.h"
#include "vcl/FindOptions.h"
#include "vcl/Forms.h"
#include "vcl/ScrollBars.h"

namespace vcl {
class TTimer;
class TBitmap;
class TImageList;
}  // namespace vcl

namespace memo {

using vcl::TCanvas;
using vcl::TColor;
using vcl::TNotifyEvent;
using vcl::TObject;
using vcl::TRect;
using vcl::TShiftState;

class TLumUndoList;
class TUndo;
class TLumGutter;
class TLumActiveLineSettings;
class TLumMarkerList;
class TCodeFolding;
class TAutoCompletion;
class TAutoCorrect;
class TPrintOptions;
class TCharStyle;
class TLumCustomMemoStyler;
class TLumMemoSource;
class TLumMemoChecker;
struct TMemoSavedView;
class TLumStylerList;
class TLineTokenizer;
class TLumAutoform;
class TLumHintForm;

enum class TWordWrapStyle { wwNone, wwClientWidth, wwRightMargin };
using enum TWordWrapStyle;
enum class TScrollMode { smAuto, smStrict };
using enum TScrollMode;
enum class TAutoHintParameters { hpAuto, hpManual, hpNone };
using enum TAutoHintParameters;
enum class TAutoHintParameterPosition { hpBelowCode, hpAboveCode };
using enum TAutoHintParameterPosition;
using TBorderStyle = vcl::TFormBorderStyle;

// Events without a sender carry the line or column only.
using TCaretLineEvent = std::function<void(Integer CurYPos)>;
using TCaretColumnEvent = std::function<void(Integer CurXPos)>;
using TUndoChangeEvent = std::function<void(TObject* Sender, bool CanUndo, bool CanRedo)>;
using TOverwriteToggleEvent = std::function<void(TObject* Sender, bool& Allow)>;
using TGutterClickEvent = std::function<void(TObject* Sender, Integer LineNo)>;
using TGutterDrawEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, Integer LineNo, TRect rct)>;
using TScrollHintEvent = std::function<void(TObject* Sender, Integer ARow, AnsiString& hintstr)>;

// A (column, line) position.
struct TMemoPos {
  Integer X = 0;
  Integer Y = 0;
  bool operator==(const TMemoPos&) const = default;
};

class TLumCustomMemo : public vcl::TCustomControl, public controls::IStyleAware, private ILumMemoEditor {
 public:
  explicit TLumCustomMemo(vcl::TComponent* owner);
  ~TLumCustomMemo() override;

  // ------------------------------------------------- text, undo, styler
  // The memo's own line store (the published Lines).
  TLumMemoStrings* Lines() { return lines_.get(); }
  // Clears the text store and adds every line of list (nil: nothing).
  void SetLines(const rtl::TStrings* list);
  // The lines shown: the MemoSource's when one is set.
  TLumMemoStrings* TextStore() const;
  TLumUndoList* UndoList() const;
  TLumCustomMemoStyler* ActiveStyler() const;
  // What the parameter hint would show for the caret now: nothing without a
  // styler, outside the text, or where no call with a known pattern is typed.
  std::optional<TParameterHintText> ParameterHintAtCaret();
  // The entries a completion list opened now would offer (out is cleared):
  // none unless completion is active, the text editable and the styler has
  // entries; OnBeforeAutoCompletion may refuse, OnGetAutoCompletionList
  // may change them. The token is the caret's, upper-cased.
  bool CompletionCandidatesAtCaret(rtl::TStrings& out);
  // Puts a completion entry in on the caret line over the columns it
  // replaces (see CompletionReplaceRange), as one paste for undo; OnAutoCompletion
  // fires first. With "()" the caret stops between them.
  // Answers whether "()" went in.
  bool InsertCompletionEntry(const AnsiString& entry, bool byKey, bool member, Integer memberStart);
  // ---- the completion window
  // Opens the list under the caret when there are entries for the token at
  // the caret (see CompletionCandidatesAtCaret); the list takes the focus.
  // A member list (MemberCompletion) is filtered by the word typed from
  // CompletionStart on.
  void ShowCompletion();
  // The list narrowed to the entries whose name (after a member's ".")
  // begins with token; the first selected.
  void FilterCompletion(const AnsiString& token);
  // Hides and frees the window; the memo takes the focus, its caret shows.
  void CloseCompletion();
  // OnCancelAutoCompletion, then CloseCompletion.
  void CancelCompletion();
  // What a key does while the list has the focus; false leaves it to the
  // list (its selection moves).
  bool CompletionListKey(vcl::Word key, TShiftState shift);
  // The list's selected entry put in (byKey: "()" after a call), the list
  // closed.
  void InsertSelectedCompletion(bool byKey);
  // The word the list is filtered by: typed from the member start, or the
  // token at the caret.
  AnsiString CompletionWord();
  TLumAutoform* CompletionForm() const { return completionForm_; }
  bool MemberCompletion() const { return memberCompletion_; }
  void SetMemberCompletion(bool member, TMemoPos start);
  TMemoPos CompletionStart() const { return completionStart_; }
  vcl::TTimer* CompletionTimer() const { return completionTimer_; }
  // Pictures 0 to 4 replace the list's own entry pictures (nil: its own).
  vcl::TImageList* AutoCompletionListImages() const { return completionImages_; }
  void SetAutoCompletionListImages(vcl::TImageList* images);
  // ---- the parameter hint window
  // Shows what ParameterHintAtCaret finds beside the caret line (hides the
  // window when nothing), for AutoHintParameterDelay milliseconds.
  void ShowParameterHint();
  void HideParameterHint();
  TLumHintForm* HintForm() const { return hintForm_; }
  vcl::TTimer* HintTimer() const { return hintTimer_; }
  TLumCustomMemoStyler* SyntaxStyles() const { return syntaxStyles_; }
  // Takes the styler (nil: none): keyword lists lower-cased and sorted
  // unless CaseSensitive, cached states dropped, repainted.
  void SetSyntaxStyles(TLumCustomMemoStyler* styler);
  // The styler's style-change hook.
  void StyleChanged();
  // The tokenizer, set to the active styler's definitions as they are now.
  TLineTokenizer& Tokenizer() const;
  TLumStylerList* StylerList() const { return stylerList_; }
  TLumMemoSource* MemoSource() const { return memoSource_; }
  // Shows the source's text, history and styler instead of the memo's own
  // (nil: its own again). The source brings back the view this or another
  // memo last had on it; its TAB characters are expanded.
  void SetMemoSource(TLumMemoSource* source);
  TLumMemoChecker* MemoChecker() const { return memoChecker_; }
  void SetMemoChecker(TLumMemoChecker* checker);
  // The view a source keeps while it is not shown, and its return (clamped
  // into the text shown now).
  TMemoSavedView SavedViewState() const;
  void RestoreViewState(const TMemoSavedView& view);
  // --- used by TLumMemoSource
  // source attaches this memo: it becomes the memo's MemoSource (the one
  // before lets go), and its lines take the memo's TAB size.
  void SourceAttaching(TLumMemoSource* source);
  // source is being freed while the memo shows it.
  void SourceGone(TLumMemoSource* source);

  // ------------------------------------------------ caret and selection
  Integer CaretX() const { return caretX_; }
  Integer CaretY() const { return caretY_; }
  void SetCaretX(Integer x);
  void SetCaretLine(Integer y);
  void SetCaret(Integer x, Integer y);
  TMemoPos SelStart() const { return {selStartX_, selStartY_}; }
  TMemoPos SelEnd() const { return {selEndX_, selEndY_}; }
  // Sets both ends as they are given (the anchor first); repaints.
  void SetSelection(TMemoPos start, TMemoPos end);
  bool HasSelection() const { return selStartX_ != selEndX_ || selStartY_ != selEndY_; }
  void ClearSelection();
  void ExtendSelection();
  Integer PosToOffset(Integer column, Integer line) const;
  TMemoPos OffsetToPos(Integer offset) const;
  Integer GetSelStart() const;
  void SetSelStart(Integer offset);
  void SetSelLength(Integer length);
  // Characters of GetSelText; costs in proportion to the selection.
  Integer GetSelLength() const;
  AnsiString GetSelText() const;
  void SelectAll();
  void ClearAll();
  static Integer LastPos(const AnsiString& needle, const AnsiString& text);
  virtual bool IsDelimiter(char ch) const;
  virtual bool IsWordDelimiter(char ch) const;
  bool IsTokenDelimiter(char ch) const;
  // The word-boundary test of word-wise caret moves.
  virtual bool IsSymbolChar(char ch) const;
  AnsiString WordAt(Integer column, Integer line) const;
  AnsiString WordAtEx(Integer column, Integer line) const;
  // The word at the caret and its 1-based start column.
  AnsiString WordAtCaret(Integer& startColumn);
  AnsiString TokenAtCaret();
  AnsiString WordBeforeCaret();
  AnsiString GetLineTrimmed(Integer line) const;
  static AnsiString TrimBlanks(const AnsiString& text);
  // The arrow keys' move (and Backspace's and Enter's).
  void MoveCaret(Integer dx, Integer dy, TShiftState shift);
  bool Overwrite() const { return overwrite_; }
  void SetOverwrite(bool v) { overwrite_ = v; }
  // The Insert key's toggle: asks OnOverwriteToggle, records it, toggles.
  void ToggleOverwrite();

  // ------------------------------------------------------------- view
  TRect TextRect() const;
  TRect CellRect(Integer column, Integer row) const;
  TRect LineRect(Integer line) const;
  vcl::TPoint ClientToCell(Integer x, Integer y);
  // (column, line) under a client point.
  TMemoPos ClientToLine(Integer x, Integer y);
  Integer GetVisibleExtent(Integer kind);
  void MakeCaretVisible();
  void ScrollBy(vcl::TScrollBarKind kind, Integer delta);
  void UpdateScrollBars(bool flag);
  void ResizeUpdate();
  void RecalcLongestLine();
  void LinesChanged();
  void ShowCaretAt(bool show);
  void UpdateFontMetrics();
  // The font rule: a proportional face becomes "FixedSys" (f is changed).
  void SetFont(vcl::TFont* f);
  void SetGutterHeight();
  Integer TopLine() const { return topLine_; }
  Integer LeftCol() const { return leftCol_; }
  void SetLeftCol(Integer column);
  // Puts line at the top of the view (near the end: the last lines shown).
  // The caret stays where it is.
  void SetTopLine(Integer line);
  // Searches line by line from the caret line (frDown: forward; frMatchCase;
  // frWholeWord: blanks or the line's edges around the hit) and selects the
  // first hit: its offset in the text, or -1 (then no selection).
  Integer FindText(const AnsiString& text, vcl::TFindOptions options);
  Integer CharWidth() const { return charWidth_; }
  Integer LineHeight() const { return lineHeight_; }
  Integer LongestLine() const { return longestLine_; }
  Integer LeftMargin() const { return leftMargin_; }
  bool CaretShown() const { return caretShown_; }
  vcl::TScrollBar* VertScrollBar() const { return vScroll_; }
  vcl::TScrollBar* HorzScrollBar() const { return hScroll_; }
  // Tokenizer caches of those lines become invalid.
  void InvalidateTokenStates(Integer first, Integer last);
  // The canvas text is measured through; null: the control's own.
  void SetMeasuringCanvas(TCanvas* canvas);
  // With code folding: row of a line and line of a row (identity without).
  Integer RealToVisible(Integer line) const;
  Integer VisibleToReal(Integer row) const;
  // ------------------------------------------------------- folding
  bool IsRegionStart(Integer line) const;
  bool IsExpanded(Integer line) const;
  // For a region start in the other state: shows or hides its lines.
  void SetExpanded(Integer line, bool expanded);
  void ToggleExpanded(Integer line);
  // The line where the region that begins at start ends (-1: none).
  Integer RegionEndLine(Integer start) const;
  // A region from start to end (start < end, start not starting one yet).
  void AddRegion(Integer start, Integer end);
  void RemoveRegionStartingAt(Integer line);
  void RemoveRegionEndingAt(Integer line);
  void ClearRegions();
  // The caption a collapsed region shows: false unless its rule shows comments.
  bool RegionCaption(Integer line, Integer& definition, AnsiString& caption) const;
  // The regions found anew by the styler's rules; collapsed ones stay so.
  void RebuildRegions();
  Integer RegionCount() const { return regionCount_; }

  // ------------------------------------------------------------ input
  // The key command table (keys are virtual-key codes or control characters).
  void ExecuteKey(vcl::Word key, TShiftState shift);
  void PageMove(Integer direction, TShiftState shift);
  void HomeKey(TShiftState shift);
  void EndKey(TShiftState shift);
  void SetCaretFromMouse(Integer x, Integer y, vcl::TMouseButton button, TShiftState shift, bool fromPress);
  // Moves (or with copy, copies) the selection to a client point; a drop
  // inside the selection changes nothing.
  void DropSelection(Integer x, Integer y, bool copy);
  // A drop of the memo's own drag moves its selection there (with Ctrl
  // held, copies it); then OnDragDrop fires.
  void DragDrop(TObject* source, Integer x, Integer y) override;
  // The word around the caret selected, as a double click does at (x, y).
  void DoubleClickAt(Integer x, Integer y);

  // The block keywords marked around the caret (-1: none).
  struct TBlockMark {
    Integer Line = -1, Column = -1, Length = -1;
    bool operator==(const TBlockMark&) const = default;
  };
  TBlockMark BlockStartMark() const { return {blockStartLine_, blockStartCol_, blockStartLen_}; }
  TBlockMark BlockEndMark() const { return {blockEndLine_, blockEndCol_, blockEndLen_}; }

  // --------------------------------------------------------- painting
  void Paint() override;
  // One text row on canvas, from the running token state (left for the
  // next line).
  void DrawLine(TCanvas* canvas, Integer line, Integer row, TTokenState& state);
  // The gutter's strip, background and, through OnGutterDraw, its rows.
  void PaintGutter(TCanvas* canvas);
  // The default gutter drawing of one row (OnGutterDraw's first handler):
  // lineNo as the gutter walk numbers rows.
  void DrawGutterLine(TCanvas* canvas, Integer lineNo, TRect rct);
  // The folding strip beside one row: region lines, end ticks, and the box
  // with its minus (open) or plus (collapsed) on a region's first line.
  void DrawFoldingStrip(TCanvas* canvas, Integer line, Integer row);
  // A red zigzag along the rectangle's bottom.
  static void WavyLine(TCanvas* canvas, const TRect& r);
  // steps bands from one colour to the other (0 counts as 1).
  static void GradientFill(TCanvas* canvas, TColor from, TColor to, bool horizontal, const TRect& r, Integer steps);
  // A two-line frame of kind 0 to 3.
  static void Draw3DFrame(TCanvas* canvas, const TRect& r, Integer kind);

  // ---------------------------------------------------------- editing
  void InsertChar(std::string_view ch);
  void InsertChar(char ch) { InsertChar(std::string_view(&ch, 1)); }
  void InsertText(const AnsiString& text);
  bool DeleteSelection(bool repaint);
  // -1, -1: the character right of the caret (not a backspace).
  void DeleteChar(Integer x, Integer y);
  void Backspace();
  void DeleteWordLeft();
  void NewLine();
  void TabKey(TShiftState shift);
  void DeleteLine();
  void MarkLineModified(Integer line, bool flag);
  AnsiString GetIndent() const;
  void ClearUnderlines(Integer line);
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void Redo();
  bool CanUndo() const;
  bool CanRedo() const;
  void ClearUndo();
  void DoUndoChange();
  bool Modified() const;
  // False clears the history and every line's modified mark; True nothing.
  void SetModified(bool v);
  virtual bool CanEdit() { return true; }

  // ---------------------------------------------------- settings
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  Integer TabSize() const { return tabSize_; }
  void SetTabSize(Integer v) { tabSize_ = v; }
  bool WantTab() const { return wantTab_; }
  void SetWantTab(bool v) { wantTab_ = v; }
  bool SmartTabs() const { return smartTabs_; }
  void SetSmartTabs(bool v);
  bool AutoIndent() const { return autoIndent_; }
  void SetAutoIndent(bool v) { autoIndent_ = v; }
  bool AutoExpand() const { return autoExpand_; }
  void SetAutoExpand(bool v) { autoExpand_ = v; }
  bool DelErase() const { return delErase_; }
  void SetDelErase(bool v) { delErase_ = v; }
  bool EnhancedHomeKey() const { return enhancedHomeKey_; }
  void SetEnhancedHomeKey(bool v);
  bool TrimTrailingSpaces() const { return trimTrailingSpaces_; }
  void SetTrimTrailingSpaces(bool v);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool v);
  bool UseStyler() const { return useStyler_; }
  void SetUseStyler(bool v);
  Integer UndoLimit() const { return undoLimit_; }
  void SetUndoLimit(Integer v);
  TWordWrapStyle WordWrap() const { return wordWrap_; }
  // Another style unwraps the text (when it was wrapped) and wraps it anew.
  void SetWordWrap(TWordWrapStyle style);
  // Splits lines longer than the wrap width into continuation lines, at
  // blanks where it can; UnwrapText joins them again; Rewrap does both.
  void WrapText();
  void UnwrapText();
  Integer RightMargin() const { return rightMargin_; }
  void SetRightMargin(Integer v);
  bool UrlAware() const { return urlAware_; }
  void SetUrlAware(bool v);
  TAutoHintParameters AutoHintParameters() const { return autoHintParameters_; }
  // Also hides a shown hint.
  void SetAutoHintParameters(TAutoHintParameters v);
  TAutoHintParameterPosition AutoHintParameterPosition() const { return autoHintParameterPosition_; }
  void SetAutoHintParameterPosition(TAutoHintParameterPosition v) { autoHintParameterPosition_ = v; }
  Integer AutoHintParameterDelay() const { return autoHintParameterDelay_; }
  void SetAutoHintParameterDelay(Integer v);
  bool AcceptFiles() const { return acceptFiles_; }
  void SetAcceptFiles(bool v);
  vcl::TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(vcl::TScrollStyle v);
  TScrollMode ScrollMode() const { return scrollMode_; }
  void SetScrollMode(TScrollMode v) { scrollMode_ = v; }
  bool ScrollHint() const { return scrollHint_; }
  void SetScrollHint(bool v) { scrollHint_ = v; }
  bool HiddenCaret() const { return hiddenCaret_; }
  void SetHiddenCaret(bool v);
  bool AutoThemeAdapt() const { return autoThemeAdapt_; }
  void SetAutoThemeAdapt(bool v);
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor v) { SetColorIndex(0, v); }
  TColor SelColor() const { return selColor_; }
  void SetSelColor(TColor v) { SetColorIndex(1, v); }
  TColor SelBkColor() const { return selBkColor_; }
  void SetSelBkColor(TColor v) { SetColorIndex(2, v); }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v);
  bool ShowRightMargin() const { return showRightMargin_; }
  void SetShowRightMargin(bool v);
  TColor RightMarginColor() const { return rightMarginColor_; }
  void SetRightMarginColor(TColor v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  // Also places the gutter (the look itself is the control's Ctl3D).
  void SetCtl3D(bool v);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v);
  bool BlockShow() const { return blockShow_; }
  void SetBlockShow(bool v);
  TColor BlockColor() const { return blockColor_; }
  void SetBlockColor(TColor v);
  TColor BlockLineColor() const { return blockLineColor_; }
  void SetBlockLineColor(TColor v);
  TColor BreakpointColor() const { return breakpointColor_; }
  void SetBreakpointColor(TColor v);
  TColor BreakpointTextColor() const { return breakpointTextColor_; }
  void SetBreakpointTextColor(TColor v);
  vcl::TCursor Cursor() const { return TControl::Cursor(); }
  void SetCursor(vcl::TCursor c);
  TLumGutter* Gutter() const { return gutter_.get(); }
  TLumActiveLineSettings* ActiveLineSettings() const { return activeLineSettings_.get(); }
  TLumMarkerList* MarkerList() const { return markerList_.get(); }
  TCodeFolding* CodeFolding() const { return codeFolding_.get(); }
  void SetCodeFolding(const TCodeFolding* v);
  TAutoCompletion* AutoCompletion() const { return autoCompletion_.get(); }
  TAutoCorrect* AutoCorrect() const { return autoCorrect_.get(); }
  TPrintOptions* PrintOptions() const { return printOptions_.get(); }
  void SetPrintOptions(const TPrintOptions* v);
  TCharStyle* UrlStyle() const { return urlStyle_.get(); }
  // The memo takes the object and frees it.
  void SetUrlStyle(TCharStyle* v);
  Integer ActiveLine() const { return activeLine_; }
  void SetActiveLine(Integer line);
  // The ten bookmarks (-1: unset).
  TIntList* Bookmarks() const { return bookmarks_.get(); }
  // The picture the gutter draws beside a flagged line.
  vcl::TBitmap* FlagBitmap() const { return flagBitmap_.get(); }
  // Lines the last wrap made continuations.
  TIntList* WrapIndexList() const { return wrapIndexList_.get(); }
  // Theme adaptation: the gutter colours of the desktop's theme now.
  void AdaptToTheme();
  // One preset look: the gutter's colours and the border colour.
  void SetComponentStyle(controls::REZORuvar AStyle) override;

  // ------------------------------------------------------------ events
  TNotifyEvent OnChange;
  TNotifyEvent OnStatusChange;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnCursorChange;
  TCaretLineEvent OnActiveLineChange;
  TCaretColumnEvent OnColumnChange;
  TNotifyEvent OnTopLeftChanged;
  TUndoChangeEvent OnUndoChange;
  TOverwriteToggleEvent OnOverwriteToggle;
  TGutterClickEvent OnGutterClick;
  TGutterClickEvent OnGutterRightClick;
  TGutterClickEvent OnGutterDblClick;
  TGutterDrawEvent OnGutterDraw;
  TScrollHintEvent OnScrollHint;
  std::function<void(TObject* Sender, const AnsiString& CurrentWord, AnsiString& NewWord)> OnWordComplete;
  TGetParameterHintEvent OnGetParameterHint;
  std::function<void(TObject* Sender, const AnsiString& AToken, bool& Show)> OnBeforeAutoCompletion;
  std::function<void(TObject* Sender, const AnsiString& AToken, rtl::TStrings* AList)> OnGetAutoCompletionList;
  TInsertAutoCompletionEntryEvent OnInsertAutoCompletionEntry;
  TNotifyEvent OnAutoCompletion;
  TNotifyEvent OnStartAutoCompletion;
  TNotifyEvent OnCancelAutoCompletion;
  // Kept for forms that assign them; this editor never fires them (its
  // completion list keeps the styler's order, and markers are added and
  // removed through MarkerList directly).
  std::function<Integer(TObject* Sender, rtl::TStrings* List, Integer Index1, Integer Index2)> OnSortAutoCompletionList;
  std::function<void(Integer LnNo, const AnsiString& MarkerText)> OnMarkerAdded;
  std::function<void(Integer LnNo)> OnMarkerRemoved;
  std::function<void(TObject* Sender, const AnsiString& URL)> OnURLClick;
  TNotifyEvent OnFind;
  TNotifyEvent OnReplace;
  std::function<void(TObject* Sender, const AnsiString& FileName, bool& DefaultHandler)> OnFileDrop;

  // --- used by the undo records and the option groups
  // Places the caret exactly (a column beyond the line end stays), with
  // the view following, and no blanks filled in.
  void PlaceCaret(Integer x, Integer y);
  // Replays a record's line changes (backwards for undo).
  void ReplayChanges(TUndo& record, bool backwards);
  // The list added a record (or merged one into the newest).
  void RecordTaken(TUndo* holder);
  // Hands the line changes of the running edit to a record being added.
  void GiveChanges(TUndo& record);
  // Repaints the gutter strip.
  void InvalidateGutter();
  // The gutter's place follows the border.
  void PlaceGutter();
  bool LoadingOrDesigning() const { return Loading() || ComponentState().Contains(vcl::csDesigning); }
  // The memo as the editor a line store is attached to.
  ILumMemoEditor* StoreLink() { return this; }

 protected:
  void Dispatch(vcl::TMessage& message) override;
  void Resize() override;
  void KeyDown(vcl::Word& key, TShiftState shift) override;
  void KeyPress(vcl::WideChar& key) override;
  void MouseDown(vcl::TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(vcl::TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  // Four lines a notch, then the caret placed again.
  bool DoMouseWheelDown(TShiftState shift, vcl::TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, vcl::TPoint mousePos) override;
  virtual void DoSelectionChange();
  virtual void DoStatusChange();
  virtual void DoCursorChange();
  virtual void DoChange();
  virtual void DoGutterClick(Integer lineNo);
  virtual void DoGetAutoCompletionList(const AnsiString& token, rtl::TStrings* list);
  // The styler's block keywords that enclose the caret, found among the
  // visible lines and marked for the painter (none found: no marks).
  void UpdateBlockHighlight();
  // The canvas measuring happens on.
  TCanvas* MeasureCanvas();
  void ApplyFontIfNeeded();
  void SetColorIndex(Integer index, TColor value);

  // The undo list while no source is attached.
  std::unique_ptr<TLumUndoList> undoList_;

 private:
  friend class TEditScope;
  // --- ILumMemoEditor
  Integer StoreTabSize() const override { return tabSize_; }
  void StoreLineChanged(Integer index) override;
  void StoreBeginLoad() override;
  void StoreEndLoad(Integer longestLine) override;
  void StoreAbortLoad() override;
  void StoreBeforeInsert() override;
  void StoreAfterInsert() override;
  void StoreLineInserted(Integer index) override;
  void StoreDeleteLine(Integer index) override;
  void StoreBeforeClear() override;
  void StoreAfterClear() override;
  bool StoreFoldingEnabled() const override;
  void StoreAssign(const rtl::TStrings& source) override;
  void StoreLinesAppended() override;
  void StoreLinesReplaced() override;
  bool StoreWordWrap() const override { return wordWrap_ != wwNone; }
  void StoreUnwrap() override;
  void StoreWrap() override;

  // --- helpers
  Integer LineCount() const;
  const AnsiString& LineText(Integer line) const;
  Integer LineLen(Integer line) const;
  bool IsContinuation(Integer line) const;
  bool ContinuationsPossible() const;
  void OrderedSelection(Integer& sx, Integer& sy, Integer& ex, Integer& ey) const;
  AnsiString WordAtWith(Integer column, Integer line, bool (TLumCustomMemo::*delim)(char) const) const;
  bool IsDelimiterFn(char ch) const { return IsDelimiter(ch); }
  bool IsWordDelimiterFn(char ch) const { return IsWordDelimiter(ch); }
  bool IsTokenDelimiterFn(char ch) const { return IsTokenDelimiter(ch); }
  void CaretToTextForWord();
  void AfterCaretMove();
  void StoreTrimmedLine(Integer line);
  void FillLineTo(Integer line, Integer column);
  void AddRecord(TUndo* record);
  // Deletes a line through the store's raw path: the operation that calls
  // it keeps the line's text in its own record.
  void DeleteLineRaw(Integer index);
  // The source is shown only while it is attached to this memo.
  bool SourceShown() const;
  void ExpandSourceTabs();
  // The checker's turn when a line (Enter) or a word (blank, TAB) ends.
  void CheckerAtLineEnd();
  void CheckerAtWordEnd();
  void ShiftBookmarksDown(Integer from);
  void ShiftBookmarksUp(Integer from);
  void ResetBookmarksBeyondText();
  void ScrollBarScroll(TObject* sender, vcl::TScrollCode code, Integer& pos);
  void VScrollChange(TObject* sender);
  void HScrollChange(TObject* sender);
  void FocusGained();
  void FocusLost(vcl::HWND newFocus);
  void CreateSystemCaret();
  void ThemeChangedHook();
  // Hooks the later parts of the editor fill.
  void Rewrap();
  void ExpandRegionAt(Integer line);
  // The line starts a collapsed region that shows its caption instead.
  bool CaptionedCollapsedRegionAt(Integer line) const;
  void RemoveRegionsForDeletedLine(Integer line);
  void RefreshParameterHint();
  void StopCompletionTimer();
  void StartCompletionTimer();
  void CompletionTimerFired();
  void CreateCompletionPopup();

  // --- text
  std::unique_ptr<TLumMemoStrings> lines_;
  TLumMemoSource* memoSource_ = nullptr;     // a component of the form
  TLumCustomMemoStyler* syntaxStyles_ = nullptr;  // a component of the form
  TLumMemoChecker* memoChecker_ = nullptr;   // a component of the form

  // --- caret and selection
  Integer caretX_ = 0, caretY_ = 0;
  Integer leftCol_ = 0, topLine_ = 0;
  Integer selStartX_ = 0, selStartY_ = 0, selEndX_ = 0, selEndY_ = 0;
  Integer lastCaretX_ = 0, lastCaretY_ = 0;
  Integer longestLine_ = 0;
  bool overwrite_ = false;
  bool notifications_ = true;

  // --- view
  bool created_ = false;  // construction finished: layout may run
  Integer leftMargin_ = 2;
  bool caretShown_ = false;
  Integer charWidth_ = 0;
  Integer lineHeight_ = 0;
  vcl::TScrollBar* vScroll_ = nullptr;  // owned (a component of this memo)
  vcl::TScrollBar* hScroll_ = nullptr;  // owned (a component of this memo)
  vcl::TPoint caretPos_{0, 0};          // the last SetCaretPos
  vcl::TScrollStyle scrollBars_ = vcl::ssBoth;
  TScrollMode scrollMode_ = smAuto;
  TWordWrapStyle wordWrap_ = wwNone;
  bool hiddenCaret_ = false;
  TBorderStyle borderStyle_ = vcl::TFormBorderStyle::bsSingle;
  TCanvas* measuringCanvas_ = nullptr;  // a test's canvas; not owned
  bool applyingFont_ = false;
  Integer scrollBarsDepth_ = 0;
  bool syncingBars_ = false;
  vcl::THintWindow* scrollHintWindow_ = nullptr;  // owned (a component of this memo)

  // --- settings
  bool readOnly_ = false;
  Integer tabSize_ = 4;
  bool wantTab_ = true;
  bool smartTabs_ = false;
  bool autoIndent_ = true;
  bool autoExpand_ = true;
  bool delErase_ = false;
  bool enhancedHomeKey_ = false;
  bool trimTrailingSpaces_ = false;
  bool caseSensitive_ = false;
  bool useStyler_ = true;
  Integer undoLimit_ = 100;
  Integer rightMargin_ = 80;
  bool urlAware_ = true;
  TAutoHintParameters autoHintParameters_ = hpAuto;
  TAutoHintParameterPosition autoHintParameterPosition_ = hpBelowCode;
  Integer autoHintParameterDelay_ = 2500;
  bool acceptFiles_ = false;
  bool scrollHint_ = false;
  bool autoThemeAdapt_ = false;
  TColor bkColor_ = vcl::clWhite;
  TColor selColor_ = vcl::clWhite;
  TColor selBkColor_ = vcl::clNavy;
  bool hideSelection_ = true;
  bool showRightMargin_ = true;
  TColor rightMarginColor_ = 0xE2E2E2;
  TColor borderColor_ = vcl::clGray;
  bool blockShow_ = true;
  TColor blockColor_ = vcl::clAqua;
  TColor blockLineColor_ = vcl::clNone;
  TColor breakpointColor_ = vcl::clRed;
  TColor breakpointTextColor_ = vcl::clWhite;
  vcl::TCursor textCursor_ = vcl::crIBeam;
  Integer activeLine_ = -1;
  Integer startStateLine_ = -1;  // line of the cached start state
  Integer regionCount_ = 0;
  bool regionRebuildPending_ = false;
  bool noCtrl_ = false;  // the last key went down without Ctrl
  vcl::TComponent* formOwner_ = nullptr;  // the owner, for the styler list

  std::unique_ptr<TLumGutter> gutter_;
  std::unique_ptr<TLumActiveLineSettings> activeLineSettings_;
  std::unique_ptr<TLumMarkerList> markerList_;
  std::unique_ptr<TCodeFolding> codeFolding_;
  std::unique_ptr<TAutoCompletion> autoCompletion_;
  std::unique_ptr<TAutoCorrect> autoCorrect_;
  std::unique_ptr<TPrintOptions> printOptions_;
  std::unique_ptr<TCharStyle> urlStyle_;
  std::unique_ptr<TIntList> bookmarks_;
  std::unique_ptr<TIntList> wrapIndexList_;
  // Brought up to date by Tokenizer(), also from const queries.
  std::unique_ptr<TLineTokenizer> tokenizer_;
  mutable const TLumCustomMemoStyler* tokenizerStyler_ = nullptr;  // what the tokenizer was set from
  mutable Integer tokenizerVersion_ = 0;
  mutable bool tokenizerCase_ = false;
  mutable bool tokenizerUrls_ = true;
  TLumStylerList* stylerList_ = nullptr;  // owned (a component of this memo)
  vcl::TTimer* hintTimer_ = nullptr;        // owned (a component of this memo)
  vcl::TTimer* completionTimer_ = nullptr;  // owned (a component of this memo)

  // --- input
  void AutoCorrectWordBeforeCaret();
  void ContextMenu(vcl::TMessage& m);
  void FilesDropped(void* drop);
  void MenuCommand(Integer id);
  AnsiString UrlPieceAt(Integer line, Integer column) const;
  bool completionAllowed_ = true;
  bool hintKeyPending_ = false;  // Ctrl+Shift+Space showed the hint: its blank is not typed
  bool memberCompletion_ = false;
  TMemoPos completionStart_;
  TLumAutoform* completionForm_ = nullptr;  // owned (a component of this memo) while open
  TLumHintForm* hintForm_ = nullptr;        // owned (a component of this memo), made on first use
  vcl::TImageList* completionImages_ = nullptr;  // a component of the form
  std::unique_ptr<rtl::TStringList> completionWords_;  // the candidates of the open list
  bool mouseSelecting_ = false;
  bool dragPending_ = false;
  bool skipMove_ = false;
  char16_t pendingSurrogate_ = 0;

  // --- painting
  class TRowPainter;
  std::unique_ptr<vcl::TBitmap> lineBitmap_;
  std::unique_ptr<vcl::TBitmap> flagBitmap_;
  TTokenState startState_;  // at the start of startStateLine_
  // The block keywords around the caret: line, column, length (-1: none).
  Integer blockStartLine_ = -1, blockStartCol_ = -1, blockStartLen_ = -1;
  Integer blockEndLine_ = -1, blockEndCol_ = -1, blockEndLen_ = -1;

  // The gutter walk's numbers and their lines while it runs.
  std::vector<std::pair<Integer, Integer>> gutterLines_;
  Integer GutterNumberToLine(Integer lineNo) const;

  // --- the running edit's record for the line changes it still makes
  TUndo* scopeRecord_ = nullptr;
};

}  // namespace memo
