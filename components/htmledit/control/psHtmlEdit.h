#pragma once
// The HTML editor component: a control that owns the page being edited
// (the node list inside a TpsDocument), the view-node tree that lays it out
// and paints it, the window manager that carries editor messages to the
// nodes, the style sheet, the image cache, the undo list and the smart-tag
// threads. It is the view's host (IpsEditorHost).
//
// Every change to the document is a command: it takes the document lock,
// saves an undo snapshot and posts a short queue of editor messages framed
// by 530 begin, 550 extract, ..., 560 relayout, 960 changed, 540 end; the
// manager runs the queue and the follow-up requests the nodes make are
// carried out by ProcessPendingUpdates in a fixed order.
//
// The units of the component, by concern: psHtmlEdit.cpp (construction,
// properties, host answers, the command frame, pending updates, relayout,
// text and HTML insertion, undo), psHtmlEditStyles.cpp (the style sheet and
// the four style callbacks), psHtmlEditLoad.cpp (loading and code
// generation), psHtmlEditPaint.cpp (painting, scroll ranges, scrolling,
// focus and resize).
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "htmledit/control/psKeyCmdTable.h"
#include "htmledit/control/psSmartTags.h"
#include "htmledit/control/psUndo.h"
#include "htmledit/doc/psDocument.h"
#include "htmledit/doc/psDocumentAccess.h"
#include "htmledit/doc/psHtmlParser.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psTagStyles.h"
#include "htmledit/view/psEditorHost.h"
#include "htmledit/view/psImageEditing.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psPropertyGroups.h"
#include "rtl/Streams.h"
#include "vcl/ScrollingControl.h"

namespace vcl {
class TTimer;
class TPicture;
class TGraphic;
class TStrings;
}  // namespace vcl

namespace htmlview {
class TpsBodyNode;
class TpsCaret;
class TpsImageCache;
class TpsScrollCanvas;
class TpsSmartTagView;
class TpsVCLScrollBar;
class TpsWindowManager;
}  // namespace htmlview

namespace htmledit {

using htmldoc::AnsiString;
using htmldoc::Byte;
using htmldoc::Integer;
using htmldoc::TObjectPtr;
using htmldoc::TpsCharacterEncoding;
using htmldoc::TpsDataChunk;
using htmldoc::TpsMarkupTag;
using htmldoc::TpsPoint;
using htmldoc::TpsRect;
using htmldoc::WideString;
using htmlview::TpsSelectionRange;

class TpsTextSelection;
class TpsSpanList;
class TpsBlock;
class TpsTable;
class TpsBlocksAroundCursorList;
class TpsImage;
class TpsSelectableObject;
class TpsHtmlEditSmartTagHost;
class TpsImageRecycler;
class TpsMouseScrollManager;

// The indices of the editor's pending-update flags.
constexpr Integer puDocumentChanged = 0;
constexpr Integer puCursorMoved = 1;
constexpr Integer puRelayout = 4;
constexpr Integer puRepaint = 5;
constexpr Integer puSmartTagAnalysis = 6;
constexpr Integer puReselect = 7;
// Suppressed updates: an image drag, and the body's layout (which holds
// back the document-changed step).
constexpr Integer suImageDragging = 0;
constexpr Integer suLayoutRunning = 1;

// Events (sender first, as published).
using TSupportedCustomTagEvent = std::function<void(TObjectPtr iSender, const TpsMarkupTag& iTag, bool& oSupported)>;
using TRecreateCustomTagEvent =
    std::function<void(TObjectPtr iSender, TpsMarkupTag& ioOriginalCustomTag, const AnsiString& iReplacedBy)>;
using TImageIDArray = std::vector<Integer>;
using TInitiateImageRequestingEvent = std::function<void(TObjectPtr iSender, const TImageIDArray& iIds)>;
// oGraphicContainer owns oGraphic when given (it is kept with the cache
// entry); a graphic alone is taken over.
using TRequestImageEvent = std::function<void(TObjectPtr iSender, Integer iImageID, Integer iWidth, Integer iHeight,
                                              vcl::TGraphic*& oGraphic, vcl::TPicture*& oGraphicContainer)>;
using TRequestResizedGraphicEvent = std::function<void(TObjectPtr iSender, const AnsiString& iImageSource,
                                                       Integer iWidth, Integer iHeight, vcl::TGraphic*& oGraphic)>;
using TDocumentLoadingErrorEvent = std::function<void(TObjectPtr iSender, const AnsiString& iExceptionClassName,
                                                      const AnsiString& iExceptionMessage)>;
using TDocumentChangeEvent = std::function<void(TObjectPtr Sender, htmldoc::TpsDocumentChange Change)>;
using TPasteFromClipboardEvent = std::function<void(TObjectPtr iSender, bool& oHandled)>;
using TCanPasteFromClipboardEvent = std::function<void(TObjectPtr iSender, bool& oCanPaste)>;
using TMergeBlocksEvent =
    std::function<void(TObjectPtr iSender, const AnsiString& iFirstBlockClass, const AnsiString& iSecondBlockClass,
                       bool iFirstBlockEmpty, bool iSecondBlockEmpty, AnsiString& ioMergedBlockClass)>;
using TSplitBlockEvent = std::function<void(TObjectPtr iSender, const AnsiString& iCurrentBlockClass,
                                            Byte iCursorPosition, AnsiString& ioFirstBlockClass,
                                            AnsiString& ioSecondBlockClass, bool& oAllowSplit)>;
using TOnTextDoubleClickedEvent = std::function<void(TObjectPtr iSender, bool& oHandled)>;
using TSaveTagEvent = std::function<void(TObjectPtr iSender, TpsMarkupTag& ioTag, bool& oDelete)>;
using TLoadExternalStylesheet = std::function<void(TObjectPtr iSender, const TpsMarkupTag& ioLinkTag)>;
// The image events: the image is the application's handle on the picture
// (valid while the handler runs, even when the handler's change rebuilds
// the view).
using TImageMouseEnter = std::function<void(TObjectPtr iSender, TpsImage* iImage, vcl::TCursor& oHoverMouseCursor)>;
using TImageClickedEvent = std::function<void(TObjectPtr iSender, TpsImage* iImage, vcl::TMouseButton iButton,
                                              const vcl::TPoint& iPoint, bool& oSelectImage)>;
using TImageDoubleClickedEvent =
    std::function<void(TObjectPtr iSender, TpsImage* iImage, const vcl::TPoint& iPoint)>;
using TImageSelectedEvent =
    std::function<void(TObjectPtr iSender, TpsImage* iSelectedImage, bool& oResizable, bool& oMovable)>;
using TImageConfirmResizeEvent = std::function<void(TObjectPtr iSender, TpsImage* iImage, Integer iNewWidth,
                                                    Integer iNewHeight, bool& oConfirmResize)>;
using TImageResizingSizeChangedEvent =
    std::function<void(TObjectPtr iSender, TpsImage* iImage, Integer iCurrentWidth, Integer iCurrentHeight)>;
using TImageStartDragging = std::function<void(TObjectPtr iSender, TpsImage* iImage,
                                               htmldoc::TpsAllowedDragAlignments& oAllowedDragAlignments)>;

class TpsHTMLEditBase : public vcl::TScrollingWinControl,
                        public htmlview::IpsEditorHost,
                        public htmlview::IpsImageEditing {
 public:
  explicit TpsHTMLEditBase(vcl::TComponent* aOwner);
  ~TpsHTMLEditBase() override;

  // --- Properties ---
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool aValue);
  bool WantReturns = true;
  bool GetMemoStyle() const { return FMemoStyle; }
  void SetMemoStyle(bool aValue);
  Integer GetDocumentWidth() const { return FDocumentWidth; }
  // Below 100 is ignored.
  void SetDocumentWidth(Integer aValue);
  bool GetShowDocumentFrame() const { return FShowDocumentFrame; }
  void SetShowDocumentFrame(bool aValue);
  vcl::TColor GetAppWorkspaceColor() const { return FAppWorkspaceColor; }
  void SetAppWorkspaceColor(vcl::TColor aValue);
  vcl::TColor GetHighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(vcl::TColor aValue) { FHighlightColor = aValue; }
  // CSS text added to the sheet now and again in Loaded.
  const AnsiString& GetDefaultStyleSheet() const { return FDefaultStyleSheet; }
  void SetDefaultStyleSheet(const AnsiString& aCss);
  // HTML loaded now (and in Loaded when no page came first).
  const AnsiString& GetDefaultDocument() const { return FDefaultDocument; }
  void SetDefaultDocument(const AnsiString& aHtml);
  bool GetDownsizingEnabled() const { return FDownsizingEnabled; }
  void SetDownsizingEnabled(bool aValue) { FDownsizingEnabled = aValue; }
  Integer GetMaxWordWidth() const { return FMaxWordWidth; }
  void SetMaxWordWidth(Integer aValue) { FMaxWordWidth = aValue; }
  vcl::TCursor GetLinkHoverCursor() const { return FLinkHoverCursor; }
  void SetLinkHoverCursor(vcl::TCursor aValue) { FLinkHoverCursor = aValue; }
  AnsiString GetVersion() const { return "3.0.0.94"; }
  void SetVersion(const AnsiString&) {}
  // The charset a page that names none is read and written in.
  AnsiString Charset;
  vcl::TGraphic* GetImageDownsizeOverlayGraphic() const;
  // The setter copies the picture.
  vcl::TPicture* GetImageDownsizeOverlay() const { return FImageDownsizeOverlay.get(); }
  void SetImageDownsizeOverlay(const vcl::TPicture* aPicture);
  // bsSingle: a sunken client edge (a plain border without Ctl3D); a
  // change makes the window again.
  vcl::TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(vcl::TBorderStyle aValue);
  // The menus the view shows for a right click on a link, inside a table
  // and on an image; each forgotten when it is freed.
  vcl::TPopupMenu* GetLinkPopupMenu() const { return FLinkPopupMenu; }
  void SetLinkPopupMenu(vcl::TPopupMenu* aMenu);
  vcl::TPopupMenu* GetTablePopupMenu() const { return FTablePopupMenu; }
  void SetTablePopupMenu(vcl::TPopupMenu* aMenu);
  vcl::TPopupMenu* GetImagePopupMenu() const { return FImagePopupMenu; }
  void SetImagePopupMenu(vcl::TPopupMenu* aMenu);

  htmlview::TpsCodeGenerator CodeGenerator;
  htmlview::TpsEditingOptions EditingOptions;
  htmlview::TpsScrollBars ScrollBars;
  htmlview::TImageDragging ImageDraggingOptions;
  htmlview::TImageResizing ImageResizing;
  htmlview::TpsTables Tables;
  htmlview::TpsSmartTags SmartTags;

  // --- Events, in the order of their fire operations ---
  htmldoc::TNotifyEvent OnCreate;
  htmldoc::TUnknownStyleEvent OnUnknownStyle;
  htmldoc::TUnknownStyleAttributeEvent OnUnknownStyleAttribute;
  TSupportedCustomTagEvent OnSupportedCustomTag;
  htmldoc::TParseCustomTagEvent OnParseCustomTag;
  htmldoc::TpsParseTagEvent OnParseTag;
  htmldoc::TParseImageTagEvent OnParseImageTag;
  TRecreateCustomTagEvent OnRecreateCustomTag;
  htmldoc::TParseDocumentRuntimeVariableEvent OnParseDocumentRuntimeVariable;
  TInitiateImageRequestingEvent OnInitiateImageRequesting;
  TRequestImageEvent OnRequestImage;
  TRequestResizedGraphicEvent OnRequestResizedGraphic;
  TDocumentLoadingErrorEvent OnDocumentLoadingError;
  htmldoc::TNotifyEvent OnDocumentChanged;
  TDocumentChangeEvent OnDocumentChange;
  htmldoc::TNotifyEvent OnCursorMoved;
  TPasteFromClipboardEvent OnPasteFromClipboard;
  TCanPasteFromClipboardEvent OnCanPasteFromClipboard;
  htmldoc::TNotifyEvent OnDoneRequestingImages;
  TSplitBlockEvent OnSplitBlock;
  TMergeBlocksEvent OnMergeBlocks;
  htmldoc::TNotifyEvent OnTextClicked;
  TOnTextDoubleClickedEvent OnTextDoubleClicked;
  TSaveTagEvent OnSaveTag;
  TLoadExternalStylesheet OnLoadExternalStylesheet;
  TImageMouseEnter OnImageMouseEnter;
  htmldoc::TNotifyEvent OnImageMouseLeave;
  TImageClickedEvent OnImageClicked;
  TImageDoubleClickedEvent OnImageDoubleClicked;
  TImageSelectedEvent OnImageSelected;
  htmldoc::TNotifyEvent OnImageUnselected;
  TImageConfirmResizeEvent OnImageConfirmResize;
  TImageResizingSizeChangedEvent OnImageResizingSizeChanged;
  TImageStartDragging OnImageStartDragging;

  // --- Public wrappers the view, the loader and the code generator call ---
  void FireMergeBlocks(const AnsiString& aFirstClass, const AnsiString& aSecondClass, bool aFirstEmpty,
                       bool aSecondEmpty, AnsiString& ioMergedClass) {
    DoMergeBlocks(aFirstClass, aSecondClass, aFirstEmpty, aSecondEmpty, ioMergedClass);
  }
  void FireTextClicked() { DoTextClicked(); }
  void FireSaveTag(TpsMarkupTag& ioTag, bool& oDelete) { DoSaveTag(ioTag, oDelete); }
  void FireLoadExternalStylesheet(const TpsMarkupTag& aLinkTag) { DoLoadExternalStylesheet(aLinkTag); }

  // --- Life cycle ---
  // Caret, default style sheet and default document; OnCreate; the
  // smart-tag thread starts. Safe to call once only (later calls return).
  void Loaded() override;
  bool IsLoaded() const { return FIsLoaded; }

  // --- Style sheet ---
  void ResetStyleSheet();
  void LoadStyleSheetFromString(const AnsiString& aCss, bool aReset);
  void LoadStyleSheetFromFile(const AnsiString& aFileName, bool aReset);
  void SetStyleAttribute(const AnsiString& aStyleName, const AnsiString& aAttributeName, const AnsiString& aValue);
  Integer GetInternalStyleID(const AnsiString& aStyleText) override;
  void RestyleDocument();
  void RegisterHtmlCode(const AnsiString& aEntity, Integer aCharCode);
  htmldoc::TpsStyleSheet* StyleSheet() override { return FStyleSheet.get(); }

  // --- Loading and code generation ---
  void LoadFromStream(rtl::TStream& aStream, bool aKeepStyleSheet, bool aImport);
  void LoadFromString(const AnsiString& aHtml, bool aKeepStyleSheet, bool aImport);
  void ImportText(const AnsiString& aText, bool aOnePerLine);
  void ImportTextFile(const AnsiString& aFileName, bool aOnePerLine);
  void ClearDocument();
  void SaveToStream(rtl::TStream& aStream, bool aWholeDocument, bool aKeepCustomTags);
  AnsiString SaveToString(bool aWholeDocument, bool aKeepCustomTags);
  // aChunk is changed (tag hook, blanks in empty blocks, custom tags
  // removed): hand a copy. aBodyStart and aBodyEnd: 1-based positions of the
  // body text's first and last byte in aStream's output, -1 without body.
  void GenerateCode(TpsDataChunk& aChunk, rtl::TStream& aStream, const AnsiString& aCharset, bool aWriteCharsetMeta,
                    Integer& aBodyStart, Integer& aBodyEnd, bool aWholeDocument, bool aKeepCustomTags);
  AnsiString GenerateCodeToString(TpsDataChunk& aChunk, const AnsiString& aCharset, bool aWriteCharsetMeta,
                                  Integer& aBodyStart, Integer& aBodyEnd, bool aWholeDocument, bool aKeepCustomTags);
  // A file's bytes, checked; aEncoding becomes the page's charset.
  std::unique_ptr<TpsDataChunk> ParseStream(rtl::TStream& aStream, TpsCharacterEncoding& aEncoding);
  // The program's own text, unchecked.
  std::unique_ptr<TpsDataChunk> ParseString(const AnsiString& aHtml, TpsCharacterEncoding& aEncoding);
  const AnsiString& Title() const { return FTitle; }
  const htmldoc::TpsMetaTagList& MetaTags() const { return *FMetaTags; }
  const htmldoc::TpsMarkupTagList& LinkTags() const { return *FLinkTags; }
  htmldoc::TpsDocument* Document() const { return FDocument.get(); }
  htmlview::TpsBodyNode* RootWindow() const;

  // --- Requests and pending updates ---
  void NotifyDocumentChanged() { NotifyDocumentChange(htmldoc::dcUnknown); }
  void NotifyDocumentChange(htmldoc::TpsDocumentChange aChange) override;
  void NotifyCursorMoved() override;
  void RequestRelayout(uint32_t aElementID);
  void RequestRepaint() override;
  void RequestSmartTagAnalysis() override;
  void ProcessPendingUpdates();
  // aFull: the view is rebuilt from aChunk (taken over) or a copy of the
  // document; else the root lays its content out again in place.
  void Relayout(bool aFull, bool aDocumentChanged, std::unique_ptr<TpsDataChunk> aChunk = nullptr);
  std::unique_ptr<htmldoc::TpsHtmlTag> CreateHtmlTag(Byte aTagCode, bool aClosing, const AnsiString& aClass,
                                                     const AnsiString& aStyle);

  // --- Text and HTML ---
  void InsertText(const AnsiString& aText, bool aFlag);
  void InsertWideText(const WideString& aText, bool aFlag);
  void InsertHTML(const AnsiString& aHtml, bool aAsWhole);
  // aEncoding: nullptr becomes UTF-8.
  void InsertHtmlChunk(const AnsiString& aHtml, const TpsCharacterEncoding* aEncoding, bool aAsWhole,
                       bool aSnapshot);

  // --- Editing commands (psHtmlEditCommands.cpp): each under the lock,
  // nothing while read-only or outside its context, one undo step ---
  // aOuterTag (may be nullptr) is taken over.
  void InsertTagAroundSelection(const AnsiString& aOpenTag, std::unique_ptr<TpsMarkupTag> aOuterTag = nullptr);
  void AddSpanToSelection(const AnsiString& aOpenTag);
  // No read-only test of its own: its callers make it.
  void WrapSelection(const AnsiString& aTagText, bool aMerge, std::unique_ptr<TpsMarkupTag> aOuterTag);
  void InsertSpanAtCursor(const AnsiString& aOpenTag);
  void InsertTagPairAtCursor(const AnsiString& aOpenTag);
  // aEndAtCursor: a span the caret lies inside ends at the caret; aWithPair:
  // a pair directly around it goes too.
  void RemoveSpanAtCursor(Integer aIndex, bool aEndAtCursor, bool aWithPair);
  // Empty text: every inline tag.
  void RemoveSpanFromSelection(const AnsiString& aOpenTag);
  void RemoveInlineTags();
  void CreateList(bool aOrdered);
  void ChangeListKind(bool aOrdered);
  void RemoveList();
  // Raises EpsHtmlEditException on a count below 1 or a negative spacing
  // or padding, after the snapshot. aWidth below 0 is a percentage.
  void InsertTable(Integer iColCount, Integer iRowCount, Integer aWidth, Integer iCellSpacing, Integer iCellPadding,
                   const AnsiString& aTableClass, const AnsiString& aTableStyle, const AnsiString& aCellClass,
                   const AnsiString& aCellStyle);
  void DeleteTable();
  void InsertRowBelow();
  void InsertRowAbove();
  void InsertColumnToTheRight();
  void InsertColumnToTheLeft();
  void DeleteCurrentRow();
  void DeleteCurrentColumn();
  void DeleteSelection();
  void SetAlignment(Byte aAlignment);
  // aColor htmldoc::clNone: no colour text.
  void SetSelectionFont(const AnsiString& aFontName, Integer aSize, htmldoc::TColor aColor, vcl::TFontStyles aStyle,
                        const AnsiString& aExtraStyle);
  void SetCursorFont(const AnsiString& aFontName, Integer aSize, htmldoc::TColor aColor, vcl::TFontStyles aStyle,
                     const AnsiString& aExtraStyle);
  void SetSelectionColors(htmldoc::TColor aColor, htmldoc::TColor aBackgroundColor);
  void SetCursorColors(htmldoc::TColor aColor, htmldoc::TColor aBackgroundColor);
  // The declarations the font and colour operations put in a span.
  static AnsiString FontDeclarations(const AnsiString& aFontName, Integer aSize, htmldoc::TColor aColor,
                                     vcl::TFontStyles aStyle, const AnsiString& aExtraStyle);
  static AnsiString ColorDeclarations(htmldoc::TColor aColor, htmldoc::TColor aBackgroundColor);
  // --- Questions to the caret's text line (460, 470, 472, 473) ---
  bool IsCursorInLink();
  // aOrdered: the list around the caret is an ol.
  bool GetListKind(bool& aOrdered);
  bool IsInList();
  // The block node or table node holding the caret (440, 475); nullptr
  // without one (an assertion with aMustExist).
  htmlview::TpsWindow* GetCursorBlockNode(bool aMustExist);
  htmlview::TpsWindow* GetCursorTableNode(bool aMustExist);

  // --- Clipboard (psHtmlEditClipboard.cpp) ---
  // With a selection: plain text, Unicode text and "HTML Format" whose
  // fragment is the selected body content.
  void CopyToClipboard();
  // A snapshot and the copy even while read-only; the deletion only when
  // writable.
  void CutToClipboard();
  // 8-bit text or "HTML Format" there, as OnCanPasteFromClipboard decides.
  bool CanPasteFromClipboard();
  // Not inside a link; OnPasteFromClipboard may take it over.
  void PasteFromClipboard();
  // The "HTML Format" fragment through the importer; false without it.
  bool PasteHtml();
  // Text as paragraphs (tabs as TabStops non-breaking spaces); false
  // without text.
  bool PasteText();
  // Each img of pasted HTML: the tag may be changed, or replaced by the
  // text given.
  std::function<void(TObjectPtr iSender, TpsMarkupTag& ioImageTag, AnsiString& ioReplacementCode)>
      OnPasteImageFromClipboard;

  // --- Span lists (psHtmlEditSpans.cpp) ---
  // Made anew on each call from the view as it stands; kept by the editor
  // until the next call of the same getter.
  TpsSpanList* GetSpansAroundCursor();
  TpsSpanList* GetSpansAroundSelection();
  // Bold, italic and underline of the spans common to the selection, else
  // of those around the caret.
  vcl::TFontStyles GetFontStyleFlags();
  // The element's tag replaced by one made from aTagText: one command.
  void ReplaceElementTag(uint32_t aElementId, const AnsiString& aTagText);

  // --- Formatting context at the caret (psHtmlEditContext.cpp), refreshed
  // when the caret moves or the document changes ---
  bool IsCursorInBlock();
  // nullptr outside a block.
  TpsBlock* GetCurrentBlock();
  bool IsCursorInTable();
  // nullptr outside a table.
  TpsTable* GetCurrentTable();
  TpsBlocksAroundCursorList* GetBlocksAroundCursor();
  // Broadcast over the focused node's parent; false without a focused node.
  bool SendToCursorParent(htmlview::TpsMessage& aMessage);
  // Empty with a selection or outside a block.
  void GetCursorFontFamily(AnsiString& aName);
  // 0 with a selection, outside a block or with no size anywhere.
  void GetCursorFontSize(htmldoc::TpsFontSizeValue& aSize);
  using TpsCommonAttributeCallback =
      std::function<void(TObjectPtr aList, Integer aIndex, const AnsiString& aText)>;
  // With a selection: each inline tag text every selected top node holds.
  void ForEachCommonAttribute(const TpsCommonAttributeCallback& aCallback, TObjectPtr aList);

  // --- Undo ---
  void SaveUndoState(Integer aUnused = 0);
  void Undo();
  void Redo();
  bool CanUndo();
  bool CanRedo();
  TpsUndoList& UndoList() { return FUndoList; }

  // --- Selection and view geometry ---
  TpsTextSelection* Selection() const { return FSelection.get(); }
  bool HasTextSelection();
  void ClearSelection();
  // A 210 to the focused line: the word at the caret.
  void SelectWordAtCursor();
  // Marks exactly aRange (first and last selected element) and repaints.
  void SetSelectionRange(const TpsSelectionRange& aRange);
  void MoveCursorToSelectionStart();
  void MoveCursorToSelectionEnd();
  // Unless an image is selected.
  void MoveCursorToDocumentStart();
  void ScrollSelectionIntoView();
  // Control coordinates, over the selected part of the selection's first
  // line; -1 four times without a selection.
  void GetSelectionRect(TpsRect& aRect);
  // UTF-8.
  void GetSelectedText(AnsiString& aText);
  // Selects the next match (from the caret, or from the document start
  // without aFromCursor) and puts the caret after it (before it when
  // searching backwards); false and no selection when there is none.
  bool FindText(const AnsiString& aText, bool aFromCursor, bool aMatchCase, bool aForward);
  bool GetRevealTags() const { return FRevealTags; }
  void SetRevealTags(bool aReveal);
  TpsPoint ClientToDocument(const TpsPoint& aPoint);
  TpsPoint DocumentToClient(const TpsPoint& aPoint);
  // Inclusive, document coordinates.
  TpsRect GetViewRect();

  // --- Painting and scrolling ---
  virtual void PaintDocument();
  void PaintErrorScreen();
  void PaintWorkspace();
  void FillWorkspace();
  void UpdateScrollRanges() override;
  virtual Integer GetDocumentHeight();
  Integer GetMinDocumentHeight() override;
  // -1 leaves a bar alone.
  void SetScrollRanges(Integer aHorizontal, Integer aVertical);
  void SyncScrollPosition();
  void ScrollTo(Integer aPosition);
  void ScrollToTop();
  void ScrollToBottom();
  bool ScrollPageUp();
  bool ScrollPageDown();
  void ScrollNodeIntoView(htmlview::TpsWindow* aNode);
  void ScrollNodeToCentre(htmlview::TpsWindow* aNode);
  void UpdateHoverCursor(const vcl::TPoint& aClientPoint);
  bool PaintFailed() const { return FPaintFailed; }
  const WideString& PaintErrorText() const { return FPaintErrorText; }
  Integer ScrollPosition();
  // Shows the painting-failed message box (posted after the failed paint).
  std::function<void(const AnsiString& aText)> OnShowPaintError;

  // --- Images ---
  bool IsImageSelected();
  // A TpsImage going: the selected image is forgotten.
  void ImageDestroyed(TpsSelectableObject* aObject);
  // The image node of that element selects its image again (a 230).
  void SelectImageByID(uint32_t aElementID);
  void SetSelectedImageSrc(const AnsiString& aSrc);
  // An img at the caret (inside a custom pair of aCustomTag's text when
  // given); aWidth and aHeight above 0 only are written; aAlignment: 0
  // left .. 5 none.
  // Takes the selected image out of the page (its custom-tag wrappers
  // with it) as one command; OnImageUnselected fires first.
  void DeleteSelectedImage();
  // The selected image without a link wrapped in a pair made from
  // aOpenTag; the link of a linked one taken away. One command each.
  void CreateImageLink(const AnsiString& aOpenTag);
  void DeleteImageLink();
  // Back to text editing when an image is selected.
  void UnselectImage();
  // 0 text (the caret shows), 1 image (the text selection ends, the caret
  // hides); leaving 1 unselects the selected image.
  void SetEditMode(Byte aMode);
  TpsImage* SelectedImage() const { return FSelectedImage; }
  TpsImageRecycler& ImageRecycler();

  // --- Image editing (the image nodes' calls) ---
  htmlview::IpsImageEditing* ImageEditing() override { return this; }
  htmlview::TpsImageObjectPtr GetImage(htmlview::TpsImageNode* aNode, std::unique_ptr<TpsMarkupTag> aCustomTag,
                                       std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag,
                                       uint32_t aLinkElementId) override;
  void ReleaseImage(htmlview::TpsImageObjectPtr& aImage) override;
  void HandleImageClick(htmlview::TpsImageObject* aImage, const htmlview::TpsMouseButtons* aButtons,
                        const TpsPoint& aClientPoint, bool& ioSelect) override;
  void HandleImageSelect(htmlview::TpsImageObject* aImage, bool& ioResizable, bool& ioMovable,
                         htmlview::TpsMessagePtr aUnselectMessage) override;
  void DiscardImageUnselectMessage() override { FImageUnselectMessage.reset(); }
  void HandleImageUnselect(htmlview::TpsImageObject* aImage) override;
  void ImageMouseEnter(htmlview::TpsImageObject* aImage, vcl::TCursor& ioCursor) override;
  void ImageMouseLeave(htmlview::TpsImageObject* aImage) override;
  void ImageDoubleClicked(htmlview::TpsImageObject* aImage, const TpsPoint& aClientPoint) override;
  void ImageConfirmResize(htmlview::TpsImageObject* aImage, Integer aWidth, Integer aHeight,
                          bool& ioConfirm) override;
  void ImageResizingSizeChanged(htmlview::TpsImageObject* aImage, Integer aWidth, Integer aHeight) override;
  void ImageStartDragging(htmlview::TpsImageObject* aImage,
                          htmldoc::TpsAllowedDragAlignments& ioAlignments) override;
  htmlview::TImageResizing* ImageResizingOptions() override { return &ImageResizing; }
  void SetSuppressedUpdate(Integer aFlag, bool aValue) override { FSuppressedUpdates.SetFlag(aFlag, aValue); }
  void ScrollIntoView(const TpsRect& aRect) override;

  void InsertImage(const AnsiString& aSrc, Byte aAlignment, const AnsiString& aClass, const AnsiString& aStyle,
                   std::unique_ptr<TpsMarkupTag> aCustomTag, Integer aWidth, Integer aHeight, bool aSelect,
                   const AnsiString& aAlt);

  // --- Parts ---
  htmlview::TpsWindowManager* WindowManager() const { return FWindowManager.get(); }
  htmlview::TpsImageCache* ImageCache() override { return FImageCache.get(); }
  htmlview::TpsCaret* GetCaret() const { return FCaret.get(); }
  bool HasCaret() const { return FCaret != nullptr; }
  vcl::TSize GetClientSize();

  // --- Smart tags (psHtmlEditSmartTags.cpp) ---
  // SmartTags.Enabled and a scheduling thread (none at design time).
  bool SmartTagsActive() override;
  // Under the lock: attaches the handler and appends it to the thread's
  // list (the editor owns it from then on), answering its id; with smart
  // tags off the handler is freed and -1 answered.
  Integer AddSmartTagHandler(TpsSmartTagHandler* aHandler);
  // Under the lock, with smart tags on: every block analysed again.
  void RestartSmartTagAnalysis();
  // The mark ids of the characters just before and after the caret (0:
  // unmarked); true when either is marked.
  bool GetSmartTagIdsAtCursor(Integer& aBefore, Integer& aAfter);
  // Selects the fragment at the caret; false when smart tags are off or no
  // fragment is there.
  bool SelectSmartTagFragment();
  // The fragment at the caret replaced by aText as typed text.
  void ReplaceSmartTagText(const AnsiString& aText);
  TpsSmartTagThread* SmartTagThread() const { return FSmartTagThread.get(); }
  // The editor as the smart-tag threads and handlers see it.
  IpsSmartTagEditor& SmartTagEditor();
  // Tests: called on the scheduling thread whenever it is about to sleep
  // with the document released (and once when it ends).
  void SetSmartTagIdleHook(std::function<void()> aHook);
  // A right click on a marked fragment (viewport coordinates).
  void SmartTagClicked(const AnsiString& aText, const TpsRect& aRect, const TpsPoint& aPoint) override;

  // --- View host ---
  Byte EditMode() override { return FEditMode; }
  bool AllowMultipleSpaces() override { return EditingOptions.AllowMultipleSpaces; }
  Integer TabStops() override { return EditingOptions.TabStops; }
  vcl::TCursor Cursor() override { return FSavedCursor; }
  htmldoc::TpsStyleContextTree* StyleContextTree() override;
  const htmldoc::TpsHtmlTagEventsRef& DocumentEvents() override { return FDocumentEvents; }
  void UpdateCaretPosition() override;
  htmlview::IpsTextSelection* TextSelection() override;
  htmlview::TpsAbstractCanvas* ScreenCanvas() override;
  vcl::TCanvas* GetDC() override;
  void ReleaseDC(vcl::TCanvas*) override {}
  vcl::TPoint ClientToScreen(const vcl::TPoint& aPoint) override { return vcl::TControl::ClientToScreen(aPoint); }
  std::unique_ptr<htmlview::TpsHintWindow> CreateHintWindow(const vcl::TPoint& aScreenPoint,
                                                            htmlview::TpsHintTriggerArea* aArea,
                                                            const AnsiString& aText) override;
  bool MemoStyle() override { return FMemoStyle; }
  Integer DocumentWidth() override { return FDocumentWidth; }
  Integer ClientWidth() override { return vcl::TControl::ClientWidth(); }
  Integer ClientHeight() override { return vcl::TControl::ClientHeight(); }
  void SetLayoutRunning(bool aRunning) override;
  bool RevealTags() override { return FRevealTags; }
  bool DownsizingEnabled() override { return FDownsizingEnabled; }
  Integer MaxWordWidth() override { return FMaxWordWidth; }
  vcl::TColor HighlightColor() override { return FHighlightColor; }
  double PrintScale() override { return FPrintScale; }
  htmlview::TImageDragging* ImageDragging() override { return &ImageDraggingOptions; }
  vcl::TGraphic* ImageDownsizeOverlay() override { return GetImageDownsizeOverlayGraphic(); }
  bool ShowDownsizeMarks() override { return FShowDownsizeMarks; }
  const htmlview::TpsVirtualBorders* VirtualBorders() override;
  bool ReadOnly() override { return FReadOnly; }
  // Also the auto-scroll manager's ticks.
  void SetMouseAutoScroll(bool aEnabled) override;
  // The manager's tick: the document moves by aDelta, kept between the top
  // and the end, and shows at once.
  void AutoScrollTick(Integer aDelta);
  TpsMouseScrollManager* MouseScrollManager() const { return FMouseScrollManager.get(); }

  // --- View host: what the text lines' editing asks of the editor ---
  bool AllowMultipleEmptyBlocks() { return EditingOptions.AllowMultipleEmptyBlocks; }
  void SaveUndoSnapshot() { SaveUndoState(); }
  void SelectAll();
  // A 190 to the focused node.
  void SelectCurrentBlock();
  void InsertText(const WideString& aText) { InsertWideText(aText, false); }
  // aKind: 0 ordered, 1 unordered, 2 the kind of the list around the caret.
  void IncreaseListIndent(Integer aKind);
  void DecreaseListIndent();
  void RequestRelayout() { RequestRelayout(0); }
  void LeaveImageMode() override { UnselectImage(); }
  // Root coordinates (as the lines give it); with aScroll the view follows.
  void PlaceCaret(const TpsRect& aRect, bool aScroll);
  TpsPoint ScrollOrigin();
  void MergeBlocks(const AnsiString& aFirstClass, bool aFirstEmpty, const AnsiString& aSecondClass, bool aSecondEmpty,
                   AnsiString& ioMergedClass) {
    DoMergeBlocks(aFirstClass, aSecondClass, aFirstEmpty, aSecondEmpty, ioMergedClass);
  }
  // True when a handler ran and left oHandled set.
  bool TextDoubleClicked() {
    if (!OnTextDoubleClicked) return false;
    bool handled = true;
    DoTextDoubleClicked(handled);
    return handled;
  }
  void TextClicked() { DoTextClicked(); }
  vcl::TCursor LinkHoverCursor() { return FLinkHoverCursor; }


  // The 100 ms tick: repaints what was invalidated meanwhile when the
  // repaint event is set.
  void TimerTick();
  vcl::TTimer* Timer() const { return FTimer; }

  void Dispatch(vcl::TMessage& aMessage) override;

  // --- Keyboard and mouse (psHtmlEditKeys.cpp) ---
  // Under the lock: with aReplace every binding of aCommand goes first;
  // then one binding per shortcut, in order.
  void AddKeyCommand(Integer aCommand, const std::vector<TKeyShortCut>& aShortCuts, bool aReplace,
                     bool aIgnoreShift);
  TpsKeyCmdTable& KeyCmdTable() { return *FKeyCmdTable; }
  // True when the component carried the command out itself (clipboard,
  // the three inline toggles allowed by EditingOptions.Shortcuts, undo,
  // redo).
  bool RunControlCommand(Integer aCommand);
  // Only with the caret in a block: the selection (or, without one, the
  // caret's place) gains the tag, or loses it where it has it already.
  void ToggleInlineTag(const AnsiString& aTagName);
  // Nothing for nullptr; aDocPoint in document coordinates.
  void PopupMenuAt(const TpsPoint& aDocPoint, vcl::TPopupMenu* aMenu);
  void PopupImageMenu(const TpsPoint& aDocPoint) { PopupMenuAt(aDocPoint, FImagePopupMenu); }
  // The view asks for the link menu at a client point.
  void PopupLinkMenu(const TpsPoint& aClientPoint) override {
    PopupMenuAt(ClientToDocument(aClientPoint), FLinkPopupMenu);
  }
  void PopupTableMenu(const TpsPoint& aDocPoint) { PopupMenuAt(aDocPoint, FTablePopupMenu); }

  // --- Printing (psHtmlEditPrint.cpp) ---
  // Under the lock: the page laid out again for the class library's
  // printer (its page width less aMargins' sides, fonts at its
  // resolution), cut at multiples of the page height into printer pages,
  // then the screen view rebuilt. Printer errors propagate after the
  // screen state is restored.
  void Print(const TpsRect& aMargins);
  // While printing: the laid-out page's height in printer pages, rounded
  // up.
  Integer GetPageCount();
  bool Printing() const { return FPrinting; }
  // The printer's page (printer pixels) while printing or previewing.
  vcl::TSize PageSize() const { return FPageSize; }
  TpsRect GetPrintMargins() const { return FPrintMargins; }
  // The view lays pages out as for the printer while printing.
  bool IsPrintPreview() override { return FPrinting; }
  Integer PageWidth() override { return FPageSize.cx; }
  Integer PageHeight() override { return FPageSize.cy; }
  TpsRect PrintMargins() override { return FPrintMargins; }
  // Paper gets no page frame; a preview does.
  bool FramesPrintPage() override { return !FPrinting || FPrintSurface == nullptr; }

 protected:
  // Fire operations: each calls its handler when one is assigned.
  virtual void DoCreate();
  virtual void DoUnknownStyle(const AnsiString& aStyleName);
  virtual void DoUnknownStyleAttribute(const AnsiString& aStyleName, const AnsiString& aAttributeName,
                                       bool& ioDelete);
  virtual void DoSupportedCustomTag(const TpsMarkupTag& aTag, bool& oSupported);
  virtual void DoParseCustomTag(TpsMarkupTag& aTag, AnsiString& oReplace);
  virtual void DoParseTag(TpsMarkupTag& aTag);
  virtual void DoParseImageTag(TpsMarkupTag& aTag);
  virtual void DoRecreateCustomTag(TpsMarkupTag& aTag, const AnsiString& aReplacedBy);
  virtual void DoParseDocumentRuntimeVariable(const AnsiString& aName, AnsiString& oReplace);
  virtual void DoInitiateImageRequesting(const TImageIDArray& aIds);
  virtual void DoRequestImage(Integer aImageID, Integer aWidth, Integer aHeight, vcl::TGraphic*& oGraphic,
                              vcl::TPicture*& oContainer);
  virtual void DoRequestResizedGraphic(const AnsiString& aSource, Integer aWidth, Integer aHeight,
                                       vcl::TGraphic*& oGraphic);
  virtual void DoDocumentLoadingError(const AnsiString& aClassName, const AnsiString& aMessage);
  virtual void DoDocumentChanged();
  virtual void DoDocumentChange(htmldoc::TpsDocumentChange aChange);
  virtual void DoCursorMoved();
  virtual void DoDoneRequestingImages();
  // aPosition: 0 block begin, 1 middle, 2 end.
  virtual void DoSplitBlock(const AnsiString& aCurrentClass, Byte aPosition,
                            AnsiString& ioFirstClass, AnsiString& ioSecondClass, bool& oAllowSplit);
  virtual void DoMergeBlocks(const AnsiString& aFirstClass, const AnsiString& aSecondClass, bool aFirstEmpty,
                             bool aSecondEmpty, AnsiString& ioMergedClass);
  virtual void DoTextClicked();
  virtual void DoTextDoubleClicked(bool& oHandled);
  virtual void DoSaveTag(TpsMarkupTag& ioTag, bool& oDelete);
  virtual void DoLoadExternalStylesheet(const TpsMarkupTag& aLinkTag);
  virtual void DoImageMouseEnter(TpsImage* aImage, vcl::TCursor& ioCursor);
  virtual void DoImageMouseLeave();
  virtual void DoImageClicked(TpsImage* aImage, vcl::TMouseButton aButton, const vcl::TPoint& aPoint, bool& ioSelect);
  virtual void DoImageDoubleClicked(TpsImage* aImage, const vcl::TPoint& aPoint);
  virtual void DoImageSelected(TpsImage* aImage, bool& ioResizable, bool& ioMovable);
  virtual void DoImageUnselected();
  virtual void DoImageConfirmResize(TpsImage* aImage, Integer aWidth, Integer aHeight, bool& ioConfirm);
  virtual void DoImageResizingSizeChanged(TpsImage* aImage, Integer aWidth, Integer aHeight);
  virtual void DoImageStartDragging(TpsImage* aImage, htmldoc::TpsAllowedDragAlignments& ioAlignments);

  void PaintWindow() override;
  void Resize() override;
  // A carriage return becomes #0 when WantReturns is off (after OnKeyPress).
  void KeyPress(rtl::WideChar& aKey) override;
  // The key table's command for the key, after OnKeyDown.
  void KeyDown(rtl::Word& aKey, vcl::TShiftState aShift) override;
  // Typed characters (WM_CHAR), after KeyPress and OnKeyPress.
  void WMChar(vcl::TMessage& aMessage);
  void MouseDown(vcl::TMouseButton aButton, vcl::TShiftState aShift, Integer aX, Integer aY) override;
  void MouseUp(vcl::TMouseButton aButton, vcl::TShiftState aShift, Integer aX, Integer aY) override;
  void MouseMove(vcl::TShiftState aShift, Integer aX, Integer aY) override;
  bool DoMouseWheel(vcl::TShiftState aShift, Integer aWheelDelta, vcl::TPoint aMousePos) override;
  void CreateParams(TCreateParams& aParams) override;
  void Notification(vcl::TComponent* aComponent, vcl::TOperation aOperation) override;
  void DoEnter() override;
  void DoExit() override;

 public:
  // --- The command frame ---
  // Runs aPost (which posts the command's own messages between 550 and
  // 560) inside 530, 550, ..., 560, 960, 540 to aTarget (the root when
  // nullptr) and processes the queue; a failure restores the document (see
  // psHtmlEdit.cpp) and propagates. aAfter posts what follows 540.
  void RunCommand(htmlview::TpsWindow* aTarget, const std::function<void()>& aPost,
                  const std::function<void()>& aAfter = nullptr);
  // Posts a command message to aTarget (the root when nullptr) and gives it
  // back for its fields.
  htmlview::TpsMessage& PostCommand(Integer aId, htmlview::TpsWindow* aTarget = nullptr);
  // ProcessMessages with the clean-up of a failure.
  void ProcessMessages();
  // Requests images the cache is missing; true.
  bool RequestImages();
  void LoadImageIntoCache(Integer aImageID);
  void LoadImageBySrc(const AnsiString& aSrc);
  AnsiString GetImageSrc(Integer aImageID);

 private:
  friend class TpsDocumentLoader;
  friend class TpsPrintPreview;
  friend class TpsHtmlEditSmartTagHost;
  void MakeDocumentEvents();
  void LoadDefaultDocument();
  void CreateDocument(std::unique_ptr<TpsDataChunk> aChunk, const TpsCharacterEncoding& aEncoding,
                      std::unique_ptr<TpsDataChunk>& oBody);
  void FreeDocument();
  void RebuildViewTree();
  void InstallRoot();
  std::unique_ptr<htmldoc::TpsHtmlParser> MakeParser(bool aForStream);
  void RecoverFromFailedCommand(const std::exception_ptr& aError);
  void WriteCustomPair(TpsDataChunk& aChunk, htmldoc::TpsChunkElement* aOpen, htmldoc::TpsChunkElement* aClose,
                       const TpsCharacterEncoding& aEncoding, const AnsiString& aCursorText, std::string& aOut);
  void RefreshCursorContext();
  void StopSmartTagThread();
  // Command helpers (psHtmlEditCommands.cpp).
  void UpdateSelectionFromMarks();
  void RunTableCommand(Integer aId);
  void RunCaretBlockCommand(bool aOnSelection, const std::function<void(htmlview::TpsWindow* aBlock)>& aPost);
  void CaretBlockClassAndStyle(AnsiString& aClass, AnsiString& aStyle);
  void CaretTableSize(Integer& aRows, Integer& aColumns);
  void SetCaretBlockAlignment(Byte aAlignment);
  // The span lists handed out last (shared, so the unit that makes them
  // is the one that needs their type).
  std::shared_ptr<TpsSpanList> FSpansAroundCursor;
  std::shared_ptr<TpsSpanList> FSpansAroundSelection;
  // The caret's context (shared for the same reason), made on the first
  // refresh.
  friend class TpsBlock;
  friend class TpsTable;
  friend class TpsBlocksAroundCursorList;
  friend class TpsCustomTagsAroundCursorList;
  std::shared_ptr<TpsBlock> FCurrentBlock;
  std::shared_ptr<TpsTable> FCurrentTable;
  std::shared_ptr<TpsBlocksAroundCursorList> FBlocksAroundCursor;
  bool FCursorInBlock = false;
  bool FCursorInTable = false;
  void MoveCursorToSelection(bool aEnd);
  Integer BorderWidth() const;

  bool FReadOnly = false;
  bool FMemoStyle = true;
  Integer FDocumentWidth = 500;
  bool FShowDocumentFrame = true;
  vcl::TColor FAppWorkspaceColor;
  vcl::TColor FHighlightColor;
  AnsiString FDefaultStyleSheet;
  AnsiString FDefaultDocument;
  bool FDownsizingEnabled = true;
  Integer FMaxWordWidth = 300;
  bool FRevealTags = false;
  bool FShowDownsizeMarks = true;
  bool FCentreOnResize = true;
  double FPrintScale = 1.0;
  bool FPrinting = false;
  TpsRect FPrintMargins{100, 100, 100, 100};
  vcl::TSize FPageSize{0, 0};
  // The surface layout and painting use instead of the screen's while
  // printing (not owned).
  htmlview::TpsAbstractCanvas* FPrintSurface = nullptr;
  bool FMouseAutoScroll = true;
  std::unique_ptr<TpsMouseScrollManager> FMouseScrollManager;
  vcl::TCursor FSavedCursor = vcl::crIBeam;
  vcl::TCursor FLinkHoverCursor = vcl::crIBeam;
  vcl::TBorderStyle FBorderStyle = vcl::bsSingle;
  vcl::TPopupMenu* FLinkPopupMenu = nullptr;   // owned by the form
  vcl::TPopupMenu* FTablePopupMenu = nullptr;  // owned by the form
  vcl::TPopupMenu* FImagePopupMenu = nullptr;  // owned by the form

  htmldoc::TpsDocumentAccess FDocumentLock;
 public:
  htmldoc::TpsDocumentAccess& DocumentLock() { return FDocumentLock; }

 private:
  std::unique_ptr<htmldoc::TpsEvent> FRepaintEvent;
  vcl::TTimer* FTimer = nullptr;  // owned as a component
  std::unique_ptr<htmlview::TpsScrollCanvas> FCanvas;
  std::unique_ptr<htmlview::TpsWindowManager> FWindowManager;
  std::unique_ptr<htmlview::TpsImageCache> FImageCache;
  std::unique_ptr<htmlview::TpsCaret> FCaret;
  std::unique_ptr<htmlview::TpsVCLScrollBar> FVertBar;
  std::unique_ptr<htmldoc::TpsStyleSheet> FStyleSheet;
  std::unique_ptr<htmldoc::TpsStyleContextTree> FSpareContextTree;
  htmldoc::TpsHtmlTagEventsRef FDocumentEvents;
  std::unique_ptr<htmldoc::TpsDocument> FDocument;
  std::unique_ptr<TpsTextSelection> FSelection;
  std::unique_ptr<vcl::TPicture> FImageDownsizeOverlay;
  std::unique_ptr<htmldoc::TpsMetaTagList> FMetaTags;
  std::unique_ptr<htmldoc::TpsMarkupTagList> FLinkTags;
  AnsiString FTitle;
  TpsUndoList FUndoList{50};
  bool FStateSaved = false;
  Byte FEditMode = htmlview::emText;
  TpsImage* FSelectedImage = nullptr;  // owned by its image node's events

  htmlview::TpsFlags FPendingUpdates{16};
  htmlview::TpsFlags FSuppressedUpdates{16};
  htmldoc::TpsDocumentChange FDocumentChangeKind = htmldoc::dcUnknown;
  uint32_t FReselectElementID = 0;

  std::unique_ptr<TpsKeyCmdTable> FKeyCmdTable = MakeKeyCmdTable();
  static std::unique_ptr<TpsKeyCmdTable> MakeKeyCmdTable() {
    auto table = std::make_unique<TpsKeyCmdTable>();
    InitKeyCommands(*table);
    return table;
  }
  // The first half of a character typed as two UTF-16 units, until the
  // second arrives.
  rtl::WideChar FHighSurrogate = 0;
  vcl::TPoint FLastMousePoint{0, 0};
  Integer FLastShift = 0;
  bool FCaretWasVisible = false;
  bool FPaintFailed = false;
  WideString FPaintErrorText;

  bool FIsLoaded = false;
  bool FDocumentLoaded = false;
  bool FDestroying = false;
  bool FInPaint = false;
  bool FInWMPaint = false;
  bool FLoadingStyleSheet = false;
  bool FLoadingDocument = false;
  bool FSettingScrollRanges = false;
  bool FFiringDocumentChanged = false;
  bool FFiringDocumentChange = false;
  // Per custom tag of the parse under way, in order: shown as its own
  // content.
  std::vector<bool> FCustomContentShown;
  // The smart-tag threads and the view's stand-ins they walk; the host
  // object answers the threads for the editor.
  std::unique_ptr<TpsHtmlEditSmartTagHost> FSmartTagHost;
  std::unique_ptr<htmlview::TpsSmartTagView> FSmartTagView;
  std::unique_ptr<TpsSmartTagThread> FSmartTagThread;
  std::mutex FSmartTagIdleLock;
  std::function<void()> FSmartTagIdle;
  // The snapshot the running command took (its undo-list count after the
  // push), so a failure can put the document back from it.
  Integer FCommandSnapshotCount = -1;
  // The selected image node's 260, posted when the image is unselected.
  htmlview::TpsMessagePtr FImageUnselectMessage;
  std::unique_ptr<TpsImageRecycler> FImageRecycler;
  // Image events under way: the recycler keeps an image a handler's
  // change frees until the outermost one has returned.
  Integer FImageEventDepth = 0;
};

class TpsCustomHtmlEdit : public TpsHTMLEditBase {
 public:
  explicit TpsCustomHtmlEdit(vcl::TComponent* aOwner) : TpsHTMLEditBase(aOwner) {}
};

class TpsHTMLEdit : public TpsCustomHtmlEdit {
 public:
  explicit TpsHTMLEdit(vcl::TComponent* aOwner) : TpsCustomHtmlEdit(aOwner) {}
  // Under the lock: keeps the style sheet, normalises through the importer.
  void LoadHTML(const AnsiString& aHtml);
};

}  // namespace htmledit
