#pragma once
// The completion list's rules without its window: an entry's parts, the
// candidates for a token, the list filtered as the word grows, what a key
// does while the list has the focus, and what an entry puts into the text
// over which columns.
#include <array>
#include <functional>
#include <string_view>
#include <utility>

#include "rtl/StringList.h"
#include "vcl/Components.h"

namespace vcl {
class TBitmap;
class TCanvas;
struct TRect;
}  // namespace vcl

namespace memo {

using rtl::AnsiString;
using rtl::Integer;

// The kind an entry's object slot holds (IntToObject).
enum class TCompletionKind : Integer {
  ckIdentifier = 0, ckVariable = 1, ckProperty = 2, ckEvent = 3, ckMethod = 4, ckFunction = 5, ckProcedure = 6
};
using enum TCompletionKind;

// An entry: kind word, blank, name, optional parameter list. Without a blank
// the whole entry is the rest and there is no kind word.
AnsiString CompletionKindWord(std::string_view entry);  // through the first blank, blank included
AnsiString CompletionRest(std::string_view entry);      // after the first blank
AnsiString CompletionName(std::string_view entry);      // the rest up to "(", ";" or a blank
bool CompletionHasParameters(std::string_view entry);   // the rest holds a "("
Integer CompletionKindOf(const rtl::TStrings& list, Integer index);

// The word touching the column on either side, bounded by blanks, quotes,
// brackets and ":"; empty past the line's end.
AnsiString CompletionTokenAt(std::string_view line, Integer column);

// Every entry of source whose rest begins with token (case folded; all for
// an empty token) is added to out with its kind; out is cleared first.
void CollectCompletionCandidates(const rtl::TStrings& source, std::string_view token, rtl::TStrings& out);

// The same over the rest after its first "." too, as a member list narrows.
void FilterCompletionCandidates(const rtl::TStrings& candidates, std::string_view token, rtl::TStrings& out);

// What a key code does while the list has the focus.
enum class TCompletionKeyAction { ckaBackspace, ckaClose, ckaInsert, ckaListMoves, ckaDelete, ckaType, ckaCancel };
using enum TCompletionKeyAction;
TCompletionKeyAction CompletionKeyAction(rtl::Word key);
// The character a ckaType key types.
char CompletionKeyChar(rtl::Word key, bool shift);

using TInsertAutoCompletionEntryEvent = std::function<void(vcl::TObject* Sender, AnsiString& AEntry)>;

// The text an entry puts in: the handler's, when it changed the entry;
// otherwise the name, with "()" after it when inserted by a key and the
// entry has a parameter list (withParentheses tells).
AnsiString CompletionInsertText(std::string_view entry, bool byKey, const TInsertAutoCompletionEntryEvent& onInsert,
                                vcl::TObject* sender, bool& withParentheses);

// The columns [first, second) of line the inserted text replaces: for a
// member list whose name has no ".", from the member start to the caret;
// otherwise the word around the caret, bounded by blanks, brackets, "," and ";".
std::pair<Integer, Integer> CompletionReplaceRange(std::string_view line, Integer caretColumn, bool member,
                                                   Integer memberStart, std::string_view name);

// The list's measures with the canvas's font: the kind column (the widest
// kind word with its blank), the width (the widest entry: kind column, name
// in bold, parameter list plain; plus 20 with pictures, the scroll bar and
// 8) and the item height ("h_" plus 1, at least 16).
struct TCompletionMeasures {
  Integer KindColumnWidth = 0;
  Integer ListWidth = 0;
  Integer ItemHeight = 16;
};
TCompletionMeasures MeasureCompletionList(vcl::TCanvas* canvas, const rtl::TStrings& entries, bool showImages,
                                          Integer scrollBarWidth);

class TAutoCompletion;

// The entry pictures in their resource order: variable, property, event,
// procedure, method (any may be missing).
using TCompletionPictures = std::array<vcl::TBitmap*, 5>;

// Draws one entry into rect on a canvas whose brush and font the list has
// set for it (the selection's colours for the selected entry): the cell
// filled and outlined, the kind's picture with lime see-through when
// pictures are shown, the kind word in the kind's colour (the selection
// keeps its own), then the name in bold and the parameter list plain. The
// text starts 2 pixels in, 20 more with pictures. The font is left as found.
void DrawCompletionEntry(vcl::TCanvas* canvas, const vcl::TRect& rect, std::string_view entry, Integer kind,
                         bool selected, const TAutoCompletion& settings, Integer kindColumnWidth,
                         const TCompletionPictures& pictures);

}  // namespace memo
