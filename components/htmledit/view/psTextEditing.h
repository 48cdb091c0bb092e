#pragma once
// The editing transactions of a text line. The line that holds the cursor
// turns a key into a queue of editor messages (begin 530, extract 550, the
// operations, relayout 560, document changed 960, end 540) posted to its
// parent block or to the root. What the line finds out about the cursor's
// place (in a table cell, a list item, a custom tag, at a block's start)
// goes into a facts record; the builders here decide from the facts which
// transaction a key makes, so the decisions are checked without a layout
// and the line only gathers facts, posts the queue and processes it.
//
// A builder that decides nothing is to happen gives an empty queue.
#include <vector>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/view/psMessages.h"

namespace htmldoc {
class TpsTableDataAccess;
}

namespace htmlview {

using TpsMessageQueueList = std::vector<TpsMessagePtr>;

// Appends a command message for the root (aToRoot) or the line's block.
TpsMessage& AddEditMessage(TpsMessageQueueList& aQueue, Integer aId, bool aToRoot);

// --- Typing ---

// 530, 550, 610 with a selection, 570 with the text when there is text,
// 560, 960, 540.
TpsMessageQueueList BuildTypingTransaction(const WideString& aText, bool aHasSelection, bool aToRoot);
// Typed text is sent to the line's block when there is no selection or the
// selection lies within that block, else to the root.
bool TypingGoesToRoot(bool aHasSelection, bool aSelectionWithinBlock);

// --- Line breaks and Enter ---

// Shift+Enter: 530, 550, 920, 560, 960, 540 to the line's block; nothing
// while the editor is read-only (as for Enter).
TpsMessageQueueList BuildLineBreakTransaction(bool aReadOnly);

struct TpsEnterFacts {
  bool ReadOnly = false;
  bool InTableCell = false;       // the line's block is a "td" or "th"
  bool InEmptyListItem = false;   // the block is an "li" with nothing in it
  bool InCustomTag = false;
  // Inside a custom tag without a selection: the element next to which the
  // block is split (0 when the cursor is not at the tag's edge, or that
  // element lies in another custom tag), and whether the marker goes
  // after it.
  uint32_t CustomSplitElementId = 0;
  bool CustomSplitAfter = false;
  bool AllowMultipleEmptyBlocks = true;
  bool BlockHasText = false;      // a non-blank character in the block
  bool CursorInLink = false;
  bool HasSelection = false;
  bool SplitAllowed = true;       // the split-block event's answer
  AnsiString FirstBlockClass;     // as the event left them
  AnsiString SecondBlockClass;
};

enum class TpsEnterAction : Byte { Nothing, LineBreak, ListItemEnter, Split };
TpsEnterAction DecideEnter(const TpsEnterFacts& aFacts);
// "" stays ""; ".a" stays; "a" becomes ".a".
AnsiString ClassSelector(const AnsiString& aClass);
// The split (Enter's own transaction, to the root): 530, 550, 610 or
// nothing, 415 + 98 at a custom tag's edge or 690, 300 with the two class
// selectors, 560, 960 (split current block), 540.
TpsMessageQueueList BuildSplitTransaction(const TpsEnterFacts& aFacts);

// --- Backspace and Delete ---

struct TpsDeleteFacts {
  bool ReadOnly = false;
  bool HasSelection = false;
  bool Ctrl = false;
  // Backspace: a non-blank character between the nearest block tag before
  // the cursor and the cursor, or a "br" right before it. Delete: a
  // non-blank character between the cursor and the next block tag, or
  // the line ends with a "br".
  bool CharacterToDelete = false;
  bool InTableCell = false;
  // Backspace at a block's start.
  bool InListItem = false;
  bool ListInAnotherList = false;
  Integer NestedListItemCount = 0;  // items of the first list nested in the item
  bool AncestorIsList = false;
  bool CharacterBeforeInBlock = false;
  bool HasPreviousLine = false;
  // Delete at a block's end.
  bool InEmptyParagraph = false;
  bool NextLineInList = false;
  bool HasNextLine = false;
  bool NextLineInTable = false;
  bool NextLineInOtherBlock = false;
  AnsiString MergedClass;      // the merge event's answer
  AnsiString FirstBlockClass;  // this line's block
};

enum class TpsDeleteAction : Byte {
  Nothing, DeleteSelection, DeleteCharacter, DecreaseListIndent, ListItemToParagraph, LeaveList, MergeWithPrevious,
  JoinNestedBlock, DeleteEmptyParagraph, JoinNextBlock
};
TpsDeleteAction DecideBackspace(const TpsDeleteFacts& aFacts);
TpsDeleteAction DecideDelete(const TpsDeleteFacts& aFacts);
// The queue of an action that changes the document through the root (or
// the block for the merge with the previous block, 960 and 270); empty for
// the actions the line hands to the editor (DecreaseListIndent) and for
// Nothing. Markers the actions name are put into the lines by the caller
// before the queue runs.
TpsMessageQueueList BuildDeleteTransaction(TpsDeleteAction aAction, const TpsDeleteFacts& aFacts, bool aBackward);

// --- Tab in tables ---

// Where the cursor stands in its table.
struct TpsTablePlace {
  Integer Row = -1;
  Integer Column = -1;
  Integer RowCount = 0;
  Integer CellCount = 0;              // cells of the cursor's row
  Integer PreviousRowCellCount = 0;   // cells of the row before it
};
TpsTablePlace ReadTablePlace(htmldoc::TpsTableDataAccess& aTable);
// Tab: 530, 550; in the last cell of the last row 4600 and 4660 to column
// 0 of the new row, else 4660 to the next cell; 560, 960, 540. Shift+Tab
// goes to the previous cell and in the first cell carries no 4660.
TpsMessageQueueList BuildTableTabTransaction(const TpsTablePlace& aPlace, bool aBackward);

// --- Up and Down at a table's edge ---

// A place for the caret next to a table: the cursor element removed, then
// a new cursor and a non-breaking space flagged as placeholder, the cursor
// first, right after the table's closing tag (Down) or right before its
// opening tag (Up); 560, 970, 540.
TpsMessageQueueList BuildTableEdgeTransaction(uint32_t aTableTagId, bool aDown);

// --- Word selection across line breaks ---

// One line of the block as the word selection reads it: its characters
// (16-bit) and, for the cursor's line, the cursor's index.
struct TpsWordLine {
  WideString Text;
};
// The range of the word at the cursor (line index and character index of
// its first and last character), extended over the neighbouring lines of
// the block when the word runs across their ends. aCursorLine and
// aCursorIndex locate the word (a character of it, or the cursor right
// after it). False when no word is there.
struct TpsWordPosition {
  Integer Line = -1;
  Integer Index = -1;
  bool operator==(const TpsWordPosition&) const = default;
};
bool SelectWordAcrossLines(const std::vector<TpsWordLine>& aLines, Integer aCursorLine, Integer aCursorIndex,
                           TpsWordPosition& aStart, TpsWordPosition& aEnd);

// --- Double and triple clicks ---

// A single click within the double-click time after a double click, at
// exactly the same point, selects the block.
class TpsClickTracker {
 public:
  // Stores the double click.
  void DoubleClicked(uint32_t aTime, Integer aX, Integer aY);
  // Whether a single click is the third click of a triple click.
  bool IsTripleClick(uint32_t aTime, Integer aX, Integer aY, uint32_t aDoubleClickTime) const;
  uint32_t LastTime = 0;
  Integer LastX = -1;
  Integer LastY = -1;
  bool HasDoubleClick = false;
};

}  // namespace htmlview
