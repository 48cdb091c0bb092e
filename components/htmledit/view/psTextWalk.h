#pragma once
// Walking from text line to text line in document order by editor
// messages, as the live-spelling parser walks a page: a query 371 that its
// sender keeps (auto-free off) is offered to the windows after (or
// before) a window until a text line takes it and names itself as the
// answer. Started at the root, the first walk finds the first line.
#include "htmledit/view/psWindows.h"

namespace htmlview {

// The text line after (before) aFrom in document order; nullptr when none.
// The query is the caller's own and is never freed by the walk.
TpsWindow* FollowingTextNode(TpsWindow* aFrom);
TpsWindow* PrecedingTextNode(TpsWindow* aFrom);

// A text line's answer to 371 (and 990): itself, the message consumed.
void AnswerTextNodeQuery(TpsWindow* aLine, TpsMessage& aMessage);

}  // namespace htmlview
