#pragma once
// The answers a text line gives to the queries other parts of the view
// and the editor send it (kind 2) that need no geometry beyond the line's
// items: which node it is, its parent, its alignment, the list and table
// around it, its widest character, its selected characters, and dropping
// its cursor. The line's message handler hands these ids here.
#include "htmledit/view/psMessages.h"

namespace htmlview {

class TpsTextNode;

// True when the id is one of these queries and the message was answered
// (consumed); false leaves the message to the caller.
bool AnswerTextLineQuery(TpsTextNode& aLine, TpsMessage& aMessage);

}  // namespace htmlview
