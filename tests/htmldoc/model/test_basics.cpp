// Exception class, drag-alignment index, notification list and CRC-32.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "htmledit/doc/psCrc32.h"
#include "htmledit/doc/psGlobals.h"
#include "htmledit/doc/psNotificationList.h"

using namespace htmldoc;

TEST(Globals, ExceptionCarriesMessageAndClass) {
  try {
    throw EpsHtmlEditException("TpsHtmlSyntaxCheckerStack.PopTag: stack is empty!");
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "TpsHtmlSyntaxCheckerStack.PopTag: stack is empty!");
    EXPECT_STREQ(e.ClassName(), "EpsHtmlEditException");
  }
}

TEST(Globals, VersionChecksAnswerAsACurrentDesktop) {
  EXPECT_TRUE(IsWin98OrLater());
  EXPECT_TRUE(IsWinNT());
}

TEST(Globals, DragAlignmentsToIndexFollowsTheFixedOrder) {
  struct Case {
    TpsAllowedDragAlignments set;
    Integer index;
  };
  const Case cases[] = {
      {{}, 0},
      {{adaRight}, 1},
      {{adaCenter}, 2},
      {{adaCenter, adaRight}, 3},
      {{adaLeft}, 4},
      {{adaLeft, adaRight}, 5},
      {{adaLeft, adaCenter}, 6},
      {{adaLeft, adaCenter, adaRight}, 7},
      // A byte with a bit beyond the three alignments is no set of them.
      {TpsAllowedDragAlignments::FromBits(8), -1},
      {TpsAllowedDragAlignments::FromBits(0x85), -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DragAlignmentsToIndex(c.set), c.index) << "bits " << c.set.Bits();
}

TEST(NotificationList, NotifiesInArrayOrderWithTheSender) {
  TpsNotificationEventHandlerList list;
  std::vector<std::string> calls;
  int a = 0, b = 0, sender = 0;  // only their addresses matter
  list.Add(&a, [&](TObjectPtr s) { calls.push_back(s == &sender ? "a" : "a?"); });
  list.Add(&b, [&](TObjectPtr s) { calls.push_back(s == &sender ? "b" : "b?"); });
  list.Notify(&sender);
  EXPECT_EQ(calls, (std::vector<std::string>{"a", "b"}));
}

TEST(NotificationList, EmptyListNotifiesNothing) {
  TpsNotificationEventHandlerList list;
  list.Notify(nullptr);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.IndexOf(&list), -1);
}

TEST(NotificationList, RemoveMovesTheLastIntoThePlace) {
  TpsNotificationEventHandlerList list;
  int a = 0, b = 0, c = 0;
  std::string order;
  list.Add(&a, [&](TObjectPtr) { order += "A"; });
  list.Add(&b, [&](TObjectPtr) { order += "B"; });
  list.Add(&c, [&](TObjectPtr) { order += "C"; });
  list.Remove(&a);
  list.Notify(nullptr);
  EXPECT_EQ(order, "CB");
  EXPECT_EQ(list.IndexOf(&c), 0);
  EXPECT_EQ(list.IndexOf(&b), 1);
  list.Remove(&a);  // absent: nothing
  EXPECT_EQ(list.Count(), 2);
}

TEST(NotificationList, SubscriberAddedTwiceIsRemovedOnceAtATime) {
  TpsNotificationEventHandlerList list;
  int a = 0, b = 0;
  int calls = 0;
  list.Add(&a, [&](TObjectPtr) { ++calls; });
  list.Add(&b, [&](TObjectPtr) {});
  list.Add(&a, [&](TObjectPtr) { ++calls; });
  list.Notify(nullptr);
  EXPECT_EQ(calls, 2);
  list.Remove(&a);  // the first: the last (a again) takes its place
  EXPECT_EQ(list.IndexOf(&a), 0);
  EXPECT_EQ(list.Count(), 2);
  list.Remove(&a);
  EXPECT_EQ(list.IndexOf(&a), -1);
}

TEST(Crc32, KnownValues) {
  struct Case {
    std::string text;
    uint32_t crc;
  };
  const Case cases[] = {
      {"123456789", 0xCBF43926u},
      {"", 0u},
      {"a", 0xE8B7BE43u},
      {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
      {std::string("\0\xff", 2), 0x6CDBFD72u},
  };
  for (const auto& c : cases) EXPECT_EQ(StringCrc32(c.text), c.crc) << c.text;
}
