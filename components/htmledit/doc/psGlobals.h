#pragma once
// General pieces every unit of the HTML editor shares: its exception class,
// a few enumerations and event types, the Windows version checks the view
// and control consult, and the index of a drag-alignment set.
#include <functional>

#include "rtl/Exceptions.h"
#include "rtl/Types.h"

namespace htmldoc {

using rtl::AnsiString;
using rtl::Byte;
using rtl::Integer;
using rtl::WideString;

// The editor's exception for broken internal invariants and layout failures.
class EpsHtmlEditException : public rtl::Exception {
 public:
  using rtl::Exception::Exception;
  const char* ClassName() const noexcept override { return "EpsHtmlEditException"; }
};

// Senders and subscribers of the document model's events are passed by
// identity only; the model sits below the class library, so an untyped
// object pointer stands for its root class.
using TObjectPtr = void*;
using TNotifyEvent = std::function<void(TObjectPtr Sender)>;

enum TpsBorderStyle : Byte {
  bstNone,
  bstDotted,
  bstDashed,
  bstSolid,
  bstDouble,
  bstGroove,
  bstRidge,
  bstInset,
  bstOutset
};

enum TpsDocumentChange : Byte { dcUnknown, dcSplitCurrentBlock };

enum TpsAllowedDragAlignment : Byte { adaLeft, adaCenter, adaRight };
using TpsAllowedDragAlignments = rtl::TSet<TpsAllowedDragAlignment>;

// Raised by the editor for a style name its sheet does not know.
using TUnknownStyleEvent = std::function<void(TObjectPtr iSender, const AnsiString& iStyleName)>;

// Both answer as a current desktop does, so only the modern drawing and
// message paths are ever taken.
bool IsWin98OrLater();
bool IsWinNT();

// Position of the set in the fixed order {}, {R}, {C}, {C,R}, {L}, {L,R},
// {L,C}, {L,C,R}: 0 to 7. Any bits beyond the three alignments give -1.
Integer DragAlignmentsToIndex(TpsAllowedDragAlignments aAlignments);

}  // namespace htmldoc
