// Editor messages: flags, clones, the handled state, mouse buttons, the
// queue and the catalogue.
#include <gtest/gtest.h>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/view/psMessages.h"

namespace {

using namespace htmlview;

TEST(Messages, NewMessagesAndTheDocumentChangingFlag) {
  struct Case {
    Integer id;
    bool changes;
  };
  const Case cases[] = {{psmInsertText, true},  {psmMouseMove, false}, {psmExtractChunk, false},
                        {psmIsBlockNode, false}, {psmDeleteCharBefore, true}, {psmHintTimer, false},
                        {psmTableResize, true}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.id);
    TpsMessagePtr m = TpsMessage::Create(mrCommand, k.id);
    EXPECT_EQ(m->Flags->GetFlag(mfChangesDocument), k.changes);
    EXPECT_FALSE(m->Flags->GetFlag(mfClone));
    EXPECT_EQ(m->Flags->Count(), 8);
    EXPECT_TRUE(m->AutoFree);
    EXPECT_FALSE(m->Consumed);
    EXPECT_TRUE(m->Text.empty());
    EXPECT_TRUE(m->WideText.empty());
    ASSERT_TRUE(m->Buttons);
  }
  TpsMessagePtr r = TpsMessage::CreateToRoot(mrFocused, psmKeyLeft, true);
  EXPECT_TRUE(r->ToRoot);
  EXPECT_EQ(r->Target, nullptr);
  EXPECT_EQ(r->Kind, mrFocused);
}

TEST(Messages, CloneCopiesFieldsAndSharesTheObjects) {
  TpsMessagePtr m = TpsMessage::Create(mrPositional, psmInsertChunkAtMarker);
  m->Chunk = std::make_shared<htmldoc::TpsDataChunk>();
  int data = 7;
  m->Data = &data;
  m->Text = "t";
  m->WideText = u"w";
  m->SetParam(1, 11);
  m->SetParam(10, 99);
  m->Buttons->Right = true;
  m->Shift = ssShiftBit;
  m->Value = 5;
  m->MarkHandled(nullptr);
  TpsMessagePtr c = m->Clone(nullptr);
  EXPECT_TRUE(c->Flags->GetFlag(mfClone));
  EXPECT_TRUE(c->Flags->GetFlag(mfChangesDocument));
  EXPECT_EQ(c->Kind, mrPositional);
  EXPECT_EQ(c->Id, psmInsertChunkAtMarker);
  EXPECT_NE(c->Buttons.get(), m->Buttons.get());
  EXPECT_TRUE(c->Buttons->Right);
  EXPECT_EQ(c->Chunk.get(), m->Chunk.get());
  EXPECT_EQ(c->Data, &data);
  EXPECT_EQ(c->Text, "t");
  EXPECT_EQ(c->WideText, u"w");
  EXPECT_EQ(c->GetParam(1), 11);
  EXPECT_EQ(c->GetParam(10), 99);
  EXPECT_EQ(c->HandledCount, 1);
  EXPECT_FALSE(m->Flags->GetFlag(mfClone));
  // A clone of a document-change notice keeps its kind of change.
  TpsNotifyDocumentChangeMsg notice(htmldoc::dcSplitCurrentBlock, nullptr);
  TpsMessagePtr nc = notice.Clone(nullptr);
  auto* typed = dynamic_cast<TpsNotifyDocumentChangeMsg*>(nc.get());
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->Change, htmldoc::dcSplitCurrentBlock);
  EXPECT_EQ(typed->Id, psmDocumentChanged);
  EXPECT_EQ(typed->Kind, mrCommand);
}

TEST(Messages, HandledStateAndCatchAreas) {
  TpsMessage m(mrPositional, psmMouseDown, nullptr);
  m.MarkHandled(nullptr);
  m.MarkHandled(nullptr);
  EXPECT_TRUE(m.IsHandled());
  EXPECT_EQ(m.HandledCount, 2);
  m.ResetHandled();
  EXPECT_FALSE(m.IsHandled());
  EXPECT_FALSE(m.Consumed);
  m.Value = -1;
  EXPECT_FALSE(m.HitCatchArea());
  m.Value = 0;
  EXPECT_TRUE(m.HitCatchArea());
  TpsMessage command(mrCommand, psmMouseDown, nullptr);
  command.Value = 3;
  EXPECT_FALSE(command.HitCatchArea());
  m.Shift = ssCtrlBit;
  EXPECT_FALSE(m.IsButtonMessage());
  for (Integer bit : {ssLeftBit, ssRightBit, ssMiddleBit, ssDoubleBit}) {
    m.Shift = bit;
    EXPECT_TRUE(m.IsButtonMessage());
  }
  m.SetPos({4, 9});
  EXPECT_EQ(m.GetPos(), (TpsPoint{4, 9}));
}

TEST(Messages, MouseButtons) {
  TpsVCLMouseButtons b;
  EXPECT_EQ(b.GetMouseButton(), 0);  // none set: left
  b.SetMouseButton(1);
  EXPECT_TRUE(b.Right);
  EXPECT_FALSE(b.Left);
  EXPECT_EQ(b.GetMouseButton(), 1);
  b.SetMouseButton(2);
  EXPECT_FALSE(b.Right);
  EXPECT_EQ(b.GetMouseButton(), 2);
  b.Left = true;
  EXPECT_EQ(b.GetMouseButton(), 0);
  auto copy = b.Clone();
  EXPECT_NE(dynamic_cast<TpsVCLMouseButtons*>(copy.get()), nullptr);
  EXPECT_TRUE(copy->Middle);
}

TEST(Messages, QueueIsFirstInFirstOutAndForgetsTheLastPosted) {
  TpsMessageQueue q;
  TpsMessage kept(mrCommand, psmIsTextNode, nullptr);
  kept.AutoFree = false;
  q.PushMessage(TpsMessage::Create(mrCommand, psmBeginEdit));
  q.PushMessage(kept, false);
  EXPECT_EQ(q.LastPosted(), &kept);
  q.PushMessage(kept, true);  // a clone the queue owns
  TpsMessage* clone = q.LastPosted();
  EXPECT_NE(clone, &kept);
  EXPECT_EQ(q.Count(), 3);
  TpsMessageQueue::Entry first = q.PopMessage();
  EXPECT_EQ(q.LastPosted(), nullptr);
  EXPECT_EQ(first.Message->Id, psmBeginEdit);
  EXPECT_TRUE(first.Owned);
  TpsMessageQueue::Entry second = q.PopMessage();
  EXPECT_EQ(second.Message, &kept);
  EXPECT_FALSE(second.Owned);
  TpsMessageQueue::Entry third = q.PopMessage();
  EXPECT_EQ(third.Message, clone);
  EXPECT_TRUE(third.Message->Flags->GetFlag(mfClone));
  EXPECT_EQ(q.Count(), 0);
  // Messages left queued are freed with the queue (checked under ASan).
  q.PushMessage(TpsMessage::Create(mrCommand, psmEndEdit));
}

TEST(Messages, FlagsAreIndexedFromZero) {
  TpsFlags f(32);
  EXPECT_EQ(f.Count(), 32);
  f.SetFlag(31, true);
  EXPECT_TRUE(f.GetFlag(31));
  auto g = f.Clone();
  f.SetFlag(31, false);
  EXPECT_TRUE(g->GetFlag(31));
}

}  // namespace
