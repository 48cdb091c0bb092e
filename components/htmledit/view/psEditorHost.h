#pragma once
// The view's one seam to the editor component: every call a view node
// makes on the editor goes through IpsEditorHost, each member named after
// the operation it stands for. The view never includes the control's
// headers; the editor component implements this interface, and tests use
// a fake host.
#include <memory>

#include "htmledit/doc/psHtmlTag.h"
#include "htmledit/view/psViewTypes.h"
#include "vcl/Controls.h"

namespace htmldoc {
class TpsStyleSheet;
class TpsStyleContextTree;
}  // namespace htmldoc

namespace htmlview {

class IpsImageEditing;
class TpsHintSettings;
class TImageDragging;
class TpsImageCache;
class TpsVirtualBorders;

// Positions in the view: a text node and the id of a document element in
// it, for the first and last selected element, or for the elements before
// and after the caret (either half may be empty: no node and id 0).
// A block's own opening or closing tag lies in no text node: a half that
// names one (a block's range, the first and last element of a block)
// carries the block in StartBlock or EndBlock instead, its node left nil.
struct TpsSelectionRange {
  TpsTextNode* StartNode = nullptr;
  uint32_t StartElementID = 0;
  TpsTextNode* EndNode = nullptr;
  uint32_t EndElementID = 0;
  TpsDocumentNode* StartBlock = nullptr;
  TpsDocumentNode* EndBlock = nullptr;
};

void ClearSelectionRange(TpsSelectionRange& aRange);
// Both halves name a node (a text node or a block) and an element.
bool IsSelectionRangeValid(const TpsSelectionRange& aRange);
// The node a half names: its text node, else its block.
TpsDocumentNode* RangeStartNode(const TpsSelectionRange& aRange);
TpsDocumentNode* RangeEndNode(const TpsSelectionRange& aRange);

// The editor's text selection as the view reaches it. The selection
// object belongs to the editor component; the view only asks it to forget
// its range when the elements it names are about to go.
class IpsTextSelection {
 public:
  // Forgets the range (the text stays).
  virtual void Clear() = 0;
  // A selection exists.
  virtual bool Active() = 0;
  // An anchor is set (Shift held or a mouse button down).
  virtual bool Selecting() = 0;
  // Mouse moves do not extend the selection.
  virtual bool ExtendSuspended() = 0;
  // A caret position (elements before and after the caret) where
  // selecting begins; an active selection is unmarked first.
  virtual void SetAnchor(const TpsSelectionRange& aPosition) = 0;
  // Selects from the anchor to the caret position.
  virtual void ExtendTo(const TpsSelectionRange& aPosition) = 0;
  // Only without an active selection.
  virtual void ClearAnchor() = 0;
  virtual void SuspendExtending() = 0;
  // Marks exactly the elements of the range (first and last selected).
  virtual void SetRange(const TpsSelectionRange& aRange) = 0;
  // The first and the last selected element both lie within aWindow.
  virtual bool LiesWithin(TpsWindow* aWindow) = 0;

 protected:
  ~IpsTextSelection() = default;
};

// Where the caret stands in its block when Enter splits it.
enum TpsCursorPosition : Byte { cpBlockBegin, cpBlockMiddle, cpBlockEnd };

// Edit modes of the editor.
constexpr Byte emText = 0;
constexpr Byte emImage = 1;

class IpsEditorHost {
 public:
  // --- State the view reads ---
  virtual Byte EditMode() = 0;
  virtual bool AllowMultipleSpaces() = 0;
  // Blanks a typed tab stands for (the view uses at least 1).
  virtual Integer TabStops() = 0;
  // The cursor shown over text (the editor's own).
  virtual vcl::TCursor Cursor() = 0;
  virtual htmldoc::TpsStyleSheet* StyleSheet() = 0;
  virtual htmldoc::TpsStyleContextTree* StyleContextTree() = 0;
  // The callbacks every tag of the document turns style texts into ids with.
  virtual const htmldoc::TpsHtmlTagEventsRef& DocumentEvents() = 0;
  // The id of the style sheet's rule for a declaration text (registered
  // when new).
  virtual Integer GetInternalStyleID(const AnsiString& aStyleText) = 0;

  // --- Requests ---
  virtual void RequestRepaint() = 0;
  // Places the caret again after a relayout.
  virtual void UpdateCaretPosition() = 0;
  // Recorded and fired at the editor's next pending-update pass.
  virtual void NotifyDocumentChange(htmldoc::TpsDocumentChange aChange) = 0;
  virtual void NotifyCursorMoved() = 0;
  // The editor's text selection object; never nullptr.
  virtual IpsTextSelection* TextSelection() = 0;
  // The root's height changed: the scroll ranges follow.
  virtual void UpdateScrollRanges() = 0;

  // --- Screen ---
  // The screen surface the view paints and measures on.
  virtual TpsAbstractCanvas* ScreenCanvas() = 0;
  // The device context of the editor's back buffer, and its return.
  virtual vcl::TCanvas* GetDC() = 0;
  virtual void ReleaseDC(vcl::TCanvas* aDC) = 0;
  virtual vcl::TPoint ClientToScreen(const vcl::TPoint& aPoint) = 0;
  // The editor's hint window at a screen point.
  virtual std::unique_ptr<TpsHintWindow> CreateHintWindow(const vcl::TPoint& aScreenPoint, TpsHintTriggerArea* aArea,
                                                          const AnsiString& aText) = 0;

  // --- Page and layout (the body, blocks and text lines read these) ---
  // Defaults are those of a freshly made editor, so a host that does not
  // lay pages out need not answer them.
  virtual bool MemoStyle() { return true; }
  virtual Integer DocumentWidth() { return 500; }
  virtual Integer ClientWidth() { return 0; }
  virtual Integer ClientHeight() { return 0; }
  // The print preview's page (printer pixels) and its margins; only read
  // when IsPrintPreview answers true.
  virtual bool IsPrintPreview() { return false; }
  virtual Integer PageWidth() { return -1; }
  virtual Integer PageHeight() { return -1; }
  virtual TpsRect PrintMargins() { return {200, 100, 200, 100}; }
  // Whether the body frames its page as a preview shows it; paper printed
  // through the same layout gets no frame.
  virtual bool FramesPrintPage() { return true; }
  virtual Integer GetMinDocumentHeight() { return 0; }
  // The editor's layout-running flag, set while the root lays out.
  virtual void SetLayoutRunning(bool aRunning) {}
  virtual bool RevealTags() { return false; }
  virtual bool DownsizingEnabled() { return true; }
  virtual Integer MaxWordWidth() { return 300; }
  virtual TColor HighlightColor() { return vcl::clHighlight; }
  virtual double PrintScale() { return 1.0; }
  // The editor's image-dragging options (the drop bar's colour and width).
  virtual TImageDragging* ImageDragging() { return nullptr; }
  // The editor's image selection and events; nullptr: images are only
  // selected and painted.
  virtual IpsImageEditing* ImageEditing() { return nullptr; }
  // The editor's image cache; nullptr: every picture is missing.
  virtual TpsImageCache* ImageCache() { return nullptr; }
  // The picture of a cached source loaded through the editor's image
  // requests (a block's background image); nothing in a host that loads
  // none.
  virtual void LoadImageBySource(const AnsiString& aSource) {}
  // The mark drawn over a picture shown smaller than it is, and whether
  // it is drawn.
  virtual vcl::TGraphic* ImageDownsizeOverlay() { return nullptr; }
  virtual bool ShowDownsizeMarks() { return true; }

  // The editor's Tables.VirtualBorders options; nullptr reads as a fresh
  // editor's (enabled, grey, dashed).
  virtual const TpsVirtualBorders* VirtualBorders() { return nullptr; }
  // The editor's ReadOnly: no edit, and no column dragging.
  virtual bool ReadOnly() { return false; }
  // Switches the editor's mouse auto-scrolling (off while a column
  // boundary is dragged).
  virtual void SetMouseAutoScroll(bool aEnabled) {}
  virtual bool MouseAutoScrolling() { return false; }

  // --- Editing from the text lines ---
  // The editor's AllowMultipleEmptyBlocks.
  virtual bool AllowMultipleEmptyBlocks() { return true; }
  // The editor's AllowMultipleLineBreaks: off, a line break next to
  // another is refused.
  virtual bool AllowMultipleLineBreaks() { return true; }
  // The undo step taken before a change.
  virtual void SaveUndoSnapshot() = 0;
  // The selection unmarked and the windows repainted.
  virtual void ClearSelection() = 0;
  virtual void SelectAll() = 0;
  // The block around the caret selected (a 190 to the focused node).
  virtual void SelectCurrentBlock() = 0;
  // Text as typed, at the caret (a 1150 to the focused node).
  virtual void InsertText(const WideString& aText) = 0;
  // The list-indent commands of the editor; aKind 2 keeps the list's kind.
  virtual void IncreaseListIndent(Integer aKind) = 0;
  virtual void DecreaseListIndent() = 0;
  // A relayout of the whole view at the next pending-update pass.
  virtual void RequestRelayout() = 0;
  // The notices and relayouts recorded so far, carried out now.
  virtual void ProcessPendingUpdates() = 0;
  // Leaves image mode (the selected image unselected).
  virtual void LeaveImageMode() {}

  // --- Caret and scrolling ---
  // The caret at a rectangle in document coordinates; with aScroll the
  // editor scrolls it into view.
  virtual void PlaceCaret(const TpsRect& aRect, bool aScroll) = 0;
  virtual bool CaretVisible() { return true; }
  // Each answers whether the view moved.
  virtual bool ScrollPageUp() = 0;
  virtual bool ScrollPageDown() = 0;
  virtual void ScrollToTop() = 0;
  virtual void ScrollToBottom() = 0;
  // The scroll origin (document coordinates of the client's top-left).
  virtual TpsPoint ScrollOrigin() { return {0, 0}; }

  // --- Events the lines fire ---
  // OnSplitBlock: may change the two classes or forbid the split.
  virtual void SplitBlock(const AnsiString& aCurrentClass, TpsCursorPosition aPosition,
                          AnsiString& ioFirstClass, AnsiString& ioSecondClass, bool& oAllowSplit) {}
  // OnMergeBlocks: the class of the joined block.
  virtual void MergeBlocks(const AnsiString& aFirstClass, bool aFirstEmpty, const AnsiString& aSecondClass,
                           bool aSecondEmpty, AnsiString& ioMergedClass) {}
  // OnTextDoubleClicked; true when a handler ran and left oHandled set.
  virtual bool TextDoubleClicked() { return false; }
  // OnTextClicked.
  virtual void TextClicked() {}
  // The link menu at a point of the client.
  virtual void PopupLinkMenu(const TpsPoint& aClientPoint) {}
  // The cursor over a link.
  virtual vcl::TCursor LinkHoverCursor() { return vcl::crHandPoint; }
  // FireQueryLinkHint, as a line builds the hint of a link it holds:
  // ioCanShow starts true, ioHintText as the link's href, ioSettings as a
  // new hint's.
  virtual void QueryLinkHint(htmldoc::TpsHtmlTag* aLinkTag, bool& ioCanShow, AnsiString& ioHintText,
                             TpsHintSettings& ioSettings) {}

  // --- Smart tags ---
  virtual bool SmartTagsActive() { return false; }
  // The analysis of the caret's block asked for.
  virtual void RequestSmartTagAnalysis() {}
  // A click on a marked fragment: its text, its rectangle and the click
  // point in viewport coordinates, for the smart-tag thread.
  virtual void SmartTagClicked(const AnsiString& aText, const TpsRect& aRect, const TpsPoint& aPoint) {}

 protected:
  ~IpsEditorHost() = default;
};

}  // namespace htmlview
