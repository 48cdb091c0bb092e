#include "htmledit/view/psTextWalk.h"

namespace htmlview {

namespace {

TpsWindow* WalkToTextLine(TpsWindow* aFrom, bool aForward) {
  if (!aFrom) return nullptr;
  TpsMessage query(mrCommand, psmQueryTextNode, nullptr);
  query.AutoFree = false;
  if (aForward)
    aFrom->SendToFollowingWindows(query);
  else
    aFrom->SendToPrecedingWindows(query);
  return query.IsHandled() ? query.Answer : nullptr;
}

}  // namespace

TpsWindow* FollowingTextNode(TpsWindow* aFrom) { return WalkToTextLine(aFrom, true); }
TpsWindow* PrecedingTextNode(TpsWindow* aFrom) { return WalkToTextLine(aFrom, false); }

void AnswerTextNodeQuery(TpsWindow* aLine, TpsMessage& aMessage) {
  aMessage.Answer = aLine;
  aMessage.Result = true;
  aMessage.MarkHandled(aLine);
}

}  // namespace htmlview
