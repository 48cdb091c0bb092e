#pragma once
// One object telling several subscribers that something changed.
#include <vector>

#include "htmledit/doc/psGlobals.h"

namespace htmldoc {

class TpsNotificationEventHandlerList {
 public:
  TpsNotificationEventHandlerList() = default;
  TpsNotificationEventHandlerList(const TpsNotificationEventHandlerList&) = delete;
  TpsNotificationEventHandlerList& operator=(const TpsNotificationEventHandlerList&) = delete;

  // A subscriber may be added more than once; each subscription is notified.
  void Add(const void* aSubscriber, TNotifyEvent aHandler);
  Integer IndexOf(const void* aSubscriber) const;
  // Removes the first subscription of aSubscriber by moving the last one into
  // its place, so the order of the others changes.
  void Remove(const void* aSubscriber);
  void Notify(TObjectPtr aSender) const;

  Integer Count() const { return static_cast<Integer>(Subscriptions.size()); }
  const void* Subscriber(Integer aIndex) const { return Subscriptions[aIndex].Subscriber; }

 private:
  struct Subscription {
    const void* Subscriber;
    TNotifyEvent Handler;
  };
  std::vector<Subscription> Subscriptions;
};

}  // namespace htmldoc
