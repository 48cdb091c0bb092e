#pragma once
// Editor messages: everything that happens inside the view travels as one
// (a key, a mouse event, an editing command, a question one view node asks
// another, the hint timer). A message has a routing kind, a numeric id, an
// optional explicit target and payload fields each id uses in its own way.
//
// Ownership shows in the types. A message handed over as a
// std::unique_ptr belongs to the router from then on and is freed once it
// has been delivered: such messages keep AutoFree set. A message handed
// over by reference stays its sender's, who reads the answer and frees it:
// such messages have AutoFree cleared. Tag, Data and SmartTagHandler are
// never owned by a message; Chunk is shared by a message and its clones,
// and the handler that takes it over empties it.
#include <deque>
#include <memory>
#include <vector>

#include "htmledit/view/psViewTypes.h"

namespace htmldoc {
class TpsHtmlTag;
class TpsDataChunk;
class IpsSmartTagHandler;
}  // namespace htmldoc

namespace htmlview {

// A growable array of booleans addressed from 0: messages carry 8, windows
// 32, the editor 16. Indices are not range-tested.
class TpsFlags {
 public:
  explicit TpsFlags(Integer aCount) : FFlags(static_cast<size_t>(aCount), false) {}
  bool GetFlag(Integer aIndex) const { return FFlags[static_cast<size_t>(aIndex)]; }
  void SetFlag(Integer aIndex, bool aValue) { FFlags[static_cast<size_t>(aIndex)] = aValue; }
  Integer Count() const { return static_cast<Integer>(FFlags.size()); }
  std::unique_ptr<TpsFlags> Clone() const { return std::make_unique<TpsFlags>(*this); }

 private:
  std::vector<bool> FFlags;
};

// The buttons of a mouse event; the two further flags stay false here.
class TpsMouseButtons {
 public:
  virtual ~TpsMouseButtons() = default;
  virtual std::unique_ptr<TpsMouseButtons> Clone() const { return std::make_unique<TpsMouseButtons>(*this); }

  bool Left = false;
  bool Middle = false;
  bool Right = false;
  bool Extra1 = false;
  bool Extra2 = false;
};

// Over the class library's mouse buttons: 0 left, 1 right, 2 middle.
class TpsVCLMouseButtons : public TpsMouseButtons {
 public:
  std::unique_ptr<TpsMouseButtons> Clone() const override { return std::make_unique<TpsVCLMouseButtons>(*this); }
  // Sets exactly that one flag.
  void SetMouseButton(Integer aButton);
  // Left, else right, else middle, else left.
  Integer GetMouseButton() const;
};

// Routing kinds.
constexpr Byte mrFocused = 0;
constexpr Byte mrPositional = 1;
constexpr Byte mrCommand = 2;

// Shift-state bits as the class library gives them.
constexpr Integer ssShiftBit = 0x01, ssAltBit = 0x02, ssCtrlBit = 0x04, ssLeftBit = 0x08, ssRightBit = 0x10,
                  ssMiddleBit = 0x20, ssDoubleBit = 0x40;

// Message flags.
constexpr Integer mfClone = 0;
constexpr Integer mfChangesDocument = 1;

class TpsMessage {
 public:
  TpsMessage(Byte aKind, Integer aId, TpsWindow* aTarget);
  static std::unique_ptr<TpsMessage> Create(Byte aKind, Integer aId, TpsWindow* aTarget = nullptr);
  static std::unique_ptr<TpsMessage> CreateToRoot(Byte aKind, Integer aId, bool aToRoot);
  virtual ~TpsMessage();
  TpsMessage(const TpsMessage&) = delete;
  TpsMessage& operator=(const TpsMessage&) = delete;

  // A new message of the same kind and id for aTarget (the message's own
  // target when nullptr): every field copied, the mouse buttons and flags
  // cloned (flag 0 set in the clone), Tag, Data, Chunk and the handler
  // shared.
  virtual std::unique_ptr<TpsMessage> Clone(TpsWindow* aTarget) const;

  void MarkHandled(TpsWindow* aConsumedBy);
  void ResetHandled();
  bool IsHandled() const { return HandledCount > 0; }
  TpsPoint GetPos() const { return {X, Y}; }
  void SetPos(const TpsPoint& aPoint) {
    X = aPoint.X;
    Y = aPoint.Y;
  }
  // aIndex 1 to 10.
  Integer GetParam(Integer aIndex) const { return Params[static_cast<size_t>(aIndex - 1)]; }
  void SetParam(Integer aIndex, Integer aValue) { Params[static_cast<size_t>(aIndex - 1)] = aValue; }
  void SetButtons(std::unique_ptr<TpsMouseButtons> aButtons) { Buttons = std::move(aButtons); }
  // Shift holds left, right or middle button or a double click.
  bool IsButtonMessage() const;
  // A positional message that arrived through a mouse catch area.
  bool HitCatchArea() const;

  std::unique_ptr<TpsFlags> Flags;
  bool Consumed = false;
  TpsWindow* ConsumedBy = nullptr;
  Integer HandledCount = 0;
  TpsWindow* Target = nullptr;
  // The text node that sends a cursor hand-over, so the receiver can tell
  // it to drop its cursor.
  TpsWindow* Origin = nullptr;
  Byte Kind = mrCommand;
  Integer Id = 0;
  Integer X = 0;
  Integer Y = 0;
  // The answering node of a query.
  TpsWindow* Answer = nullptr;
  std::unique_ptr<TpsMouseButtons> Buttons;
  Integer Shift = 0;
  AnsiString Text;
  WideString WideText;
  AnsiString Text2;
  void* Data = nullptr;  // the sender's record or object
  bool Result = false;
  bool Option = false;
  Integer Value = 0;
  Integer Value2 = 0;
  Integer Value3 = 0;
  Integer Value4 = 0;
  uint32_t ElementId = 0;
  bool AutoFree = true;
  htmldoc::TpsHtmlTag* Tag = nullptr;  // the sender's
  Byte TagCode = 0;
  Integer Params[10] = {};
  bool ToRoot = false;
  Byte Alignment = 0;
  Byte SmartTagOption = 0;
  htmldoc::IpsSmartTagHandler* SmartTagHandler = nullptr;  // kept alive by the handler list
  bool InsertAfter = false;
  AnsiString FirstBlockClass;
  AnsiString SecondBlockClass;
  std::shared_ptr<htmldoc::TpsDataChunk> Chunk;

 protected:
  void CopyFieldsTo(TpsMessage& aClone) const;
};

using TpsMessagePtr = std::unique_ptr<TpsMessage>;

// A command of id 960 carrying the kind of change.
class TpsNotifyDocumentChangeMsg : public TpsMessage {
 public:
  TpsNotifyDocumentChangeMsg(htmldoc::TpsDocumentChange aChange, TpsWindow* aTarget);
  std::unique_ptr<TpsMessage> Clone(TpsWindow* aTarget) const override;

  htmldoc::TpsDocumentChange Change;
};

// Posted messages, first in first out. Each entry says whether the queue
// owns its message (posted as a unique_ptr) or only points at a message
// its sender keeps.
class TpsMessageQueue {
 public:
  TpsMessageQueue() = default;
  TpsMessageQueue(const TpsMessageQueue&) = delete;
  TpsMessageQueue& operator=(const TpsMessageQueue&) = delete;

  struct Entry {
    TpsMessage* Message = nullptr;
    TpsMessagePtr Owned;  // set when the queue owns Message
  };

  // With aAsClone a clone of the message is queued (owned by the queue).
  void PushMessage(TpsMessagePtr aMessage);
  void PushMessage(TpsMessage& aMessage, bool aAsClone);
  // Removes the oldest entry; clears LastPosted. The caller takes an owned
  // message over. Count must be above 0.
  Entry PopMessage();
  Integer Count() const { return static_cast<Integer>(FEntries.size()); }
  TpsMessage* LastPosted() const { return FLastPosted; }
  // Frees the owned messages and forgets the others.
  void Clear();

 private:
  std::deque<Entry> FEntries;
  TpsMessage* FLastPosted = nullptr;
};

// --- The message ids ---
constexpr Integer psmRepaintBlock = 10;
constexpr Integer psmFocusEnter = 15;
constexpr Integer psmFocusLeave = 16;
constexpr Integer psmPlaceInitialCursor = 20;
constexpr Integer psmUpdateCaret = 30;
constexpr Integer psmTakeCursorAtStart = 40;
constexpr Integer psmTakeCursorAtEnd = 50;
constexpr Integer psmTakeCursorWordLeft = 60;
constexpr Integer psmTakeCursorAtColumn = 70;
constexpr Integer psmQueryLineAtColumn = 75;
constexpr Integer psmJumpCursorToStart = 80;
constexpr Integer psmJumpCursorToEnd = 90;
constexpr Integer psmCursorToSelectionStart = 95;
constexpr Integer psmCursorToSelectionEnd = 96;
constexpr Integer psmCursorToMarker = 98;
constexpr Integer psmRemoveCursor = 100;
constexpr Integer psmQueryContentForward = 120;
constexpr Integer psmQueryContentBackward = 130;
constexpr Integer psmQueryFirstSelected = 140;
constexpr Integer psmQueryLastSelected = 150;
constexpr Integer psmQueryFirstElement = 160;
constexpr Integer psmQueryLastElement = 170;
constexpr Integer psmQueryElementOwner = 175;
constexpr Integer psmSelectAll = 180;
constexpr Integer psmSelectBlock = 190;
constexpr Integer psmSelectTextRun = 200;
constexpr Integer psmSelectWord = 210;
constexpr Integer psmJumpToNextTextNode = 215;
constexpr Integer psmJumpToPreviousTextNode = 216;
constexpr Integer psmGetSelectedText = 220;
constexpr Integer psmRefreshImage = 230;
constexpr Integer psmGetBlockRange = 240;
constexpr Integer psmSetImageSelected = 250;
constexpr Integer psmLeaveImageMode = 260;
constexpr Integer psmMergeBlocks = 270;
constexpr Integer psmSplitBlockAtMarker = 300;
constexpr Integer psmLiftMarkerOutOfBlocks = 310;
constexpr Integer psmSplitBlockAtMarkers = 320;
constexpr Integer psmIndentListItem = 330;
constexpr Integer psmOutdentListItem = 340;
constexpr Integer psmListItemToParagraph = 360;
constexpr Integer psmQueryBlockNode = 370;
constexpr Integer psmQueryTextNode = 371;
constexpr Integer psmGetBlockTag = 390;
constexpr Integer psmInsertMarkerInBlock = 400;
constexpr Integer psmInsertMarkerAtElement = 415;
constexpr Integer psmMarkListAtCursor = 420;
constexpr Integer psmMarkBlockRange = 430;
constexpr Integer psmSetBackgroundColor = 435;
constexpr Integer psmQueryParentNode = 440;
constexpr Integer psmQueryAlignment = 450;
constexpr Integer psmQueryCursorInLink = 460;
constexpr Integer psmQueryListKind = 470;
constexpr Integer psmQueryInTopLevelList = 472;
constexpr Integer psmQueryInList = 473;
constexpr Integer psmQueryTable = 475;
constexpr Integer psmQueryMinContentWidth = 477;
constexpr Integer psmCollectSmartTagText = 480;
constexpr Integer psmSetSmartTag = 490;
constexpr Integer psmClearSmartTags = 500;
constexpr Integer psmGetSmartTagText = 510;
constexpr Integer psmFindSmartTag = 520;
constexpr Integer psmBeginEdit = 530;
constexpr Integer psmEndEdit = 540;
constexpr Integer psmExtractChunk = 550;
constexpr Integer psmRelayout = 560;
constexpr Integer psmInvalidateStyles = 565;
constexpr Integer psmInsertText = 570;
constexpr Integer psmInsertTagAtCursor = 590;
constexpr Integer psmInsertTagAtMarker = 600;
constexpr Integer psmInsertChunkAtMarker = 605;
constexpr Integer psmInsertElementAfter = 606;
constexpr Integer psmInsertChunkAtCursor = 607;
constexpr Integer psmDeleteSelection = 610;
constexpr Integer psmMoveMarkedRange = 620;
constexpr Integer psmMoveBlockContentToMarker = 630;
constexpr Integer psmDeleteBetweenMarkers = 640;
constexpr Integer psmDeleteMarkedBlock = 650;
constexpr Integer psmDeleteWord = 660;
constexpr Integer psmDeleteCharBefore = 670;
constexpr Integer psmDeleteCharAfter = 680;
constexpr Integer psmInsertMarkerBeforeCursor = 690;
constexpr Integer psmInsertMarkerAfterCursor = 700;
constexpr Integer psmEnsureMarkerInParagraph = 710;
constexpr Integer psmSetListTag = 740;
constexpr Integer psmRemoveMarker = 780;
constexpr Integer psmRemoveCursorElement = 785;
constexpr Integer psmRemoveSpanByIndex = 790;
constexpr Integer psmRemoveInlineTagsAtMarker = 795;
constexpr Integer psmWrapSelectionInCustomTag = 810;
constexpr Integer psmApplyTagToSelection = 820;
constexpr Integer psmRemoveTagFromSelection = 830;
constexpr Integer psmRemoveInlineTags = 835;
constexpr Integer psmDeleteImage = 840;
constexpr Integer psmSetBlockClass = 850;
constexpr Integer psmSetMarkedBlockClass = 851;
constexpr Integer psmSetBlockAlignment = 860;
constexpr Integer psmSetAlignment = 865;
constexpr Integer psmSetMarkedBlockAlignment = 870;
constexpr Integer psmSetListBlockTag = 880;
constexpr Integer psmSetSelectedListTag = 885;
constexpr Integer psmMarkElementWithWrappers = 900;
constexpr Integer psmInsertLineBreak = 920;
constexpr Integer psmCursorAtMarker = 930;
constexpr Integer psmMarkerAtCursor = 940;
constexpr Integer psmSetCustomTagSource = 950;
constexpr Integer psmReplaceTagFromText = 953;
constexpr Integer psmReplaceElementTag = 955;
constexpr Integer psmDocumentChanged = 960;
constexpr Integer psmCursorMoved = 970;
constexpr Integer psmIsBlockNode = 980;
constexpr Integer psmIsTextNode = 990;
constexpr Integer psmIsListItemNode = 1000;
constexpr Integer psmIsListNode = 1010;
constexpr Integer psmIsTableNode = 1015;
constexpr Integer psmIsTableCellNode = 1016;
constexpr Integer psmIsOrderedList = 1020;
constexpr Integer psmKeyEnter = 1030;
constexpr Integer psmKeyEscape = 1040;
constexpr Integer psmKeyTab = 1050;
constexpr Integer psmKeyShiftTab = 1060;
constexpr Integer psmKeyLeft = 1070;
constexpr Integer psmKeyRight = 1080;
constexpr Integer psmKeyUp = 1090;
constexpr Integer psmKeyDown = 1100;
constexpr Integer psmKeyHome = 1110;
constexpr Integer psmKeyEnd = 1120;
constexpr Integer psmKeyBackspace = 1130;
constexpr Integer psmKeyDelete = 1140;
constexpr Integer psmInsertTypedText = 1150;
constexpr Integer psmKeyWordLeft = 1160;
constexpr Integer psmKeyWordRight = 1170;
constexpr Integer psmKeyDocumentStart = 1180;
constexpr Integer psmKeyDocumentEnd = 1190;
constexpr Integer psmKeyPageUp = 1200;
constexpr Integer psmKeyPageDown = 1210;
constexpr Integer psmMouseDown = 1220;
constexpr Integer psmMouseUp = 1230;
constexpr Integer psmMouseMove = 1240;
constexpr Integer psmMouseLeave = 1250;
constexpr Integer psmShiftEnter = 4000;
constexpr Integer psmImageDragOver = 4500;
constexpr Integer psmImageDragShowTarget = 4501;
constexpr Integer psmImageDragHideTarget = 4502;
constexpr Integer psmImageDrop = 4503;
constexpr Integer psmImageDropHere = 4505;
constexpr Integer psmTableInsertRowBelow = 4600;
constexpr Integer psmTableInsertRowAbove = 4610;
constexpr Integer psmTableInsertColumnRight = 4620;
constexpr Integer psmTableInsertColumnLeft = 4630;
constexpr Integer psmTableDeleteRow = 4640;
constexpr Integer psmTableDeleteColumn = 4650;
constexpr Integer psmTableMoveToCell = 4660;
constexpr Integer psmTableDelete = 4670;
constexpr Integer psmTableResizeColumn = 4680;
constexpr Integer psmTableResize = 4690;
constexpr Integer psmHintTimer = 5000;

}  // namespace htmlview
