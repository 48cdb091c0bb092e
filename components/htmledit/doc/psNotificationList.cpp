#include "htmledit/doc/psNotificationList.h"

namespace htmldoc {

void TpsNotificationEventHandlerList::Add(const void* aSubscriber, TNotifyEvent aHandler) {
  Subscriptions.push_back({aSubscriber, std::move(aHandler)});
}

Integer TpsNotificationEventHandlerList::IndexOf(const void* aSubscriber) const {
  for (size_t i = 0; i < Subscriptions.size(); ++i)
    if (Subscriptions[i].Subscriber == aSubscriber) return static_cast<Integer>(i);
  return -1;
}

void TpsNotificationEventHandlerList::Remove(const void* aSubscriber) {
  const Integer index = IndexOf(aSubscriber);
  if (index < 0) return;
  if (static_cast<size_t>(index) != Subscriptions.size() - 1)
    Subscriptions[index] = std::move(Subscriptions.back());
  Subscriptions.pop_back();
}

void TpsNotificationEventHandlerList::Notify(TObjectPtr aSender) const {
  // A handler may subscribe or unsubscribe while being notified; index
  // through the live array rather than iterators that a change invalidates.
  for (size_t i = 0; i < Subscriptions.size(); ++i)
    if (Subscriptions[i].Handler) Subscriptions[i].Handler(aSender);
}

}  // namespace htmldoc
