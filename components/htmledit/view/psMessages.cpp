#include "htmledit/view/psMessages.h"

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psLookupLists.h"

namespace htmlview {

void TpsVCLMouseButtons::SetMouseButton(Integer aButton) {
  Left = aButton == 0;
  Right = aButton == 1;
  Middle = aButton == 2;
  Extra1 = false;
  Extra2 = false;
}

Integer TpsVCLMouseButtons::GetMouseButton() const {
  if (Left) return 0;
  if (Right) return 1;
  if (Middle) return 2;
  return 0;
}

TpsMessage::TpsMessage(Byte aKind, Integer aId, TpsWindow* aTarget)
    : Flags(std::make_unique<TpsFlags>(8)),
      Target(aTarget),
      Kind(aKind),
      Id(aId),
      Buttons(std::make_unique<TpsVCLMouseButtons>()) {
  Flags->SetFlag(mfChangesDocument, htmldoc::IsEditMessage(aId));
}

TpsMessage::~TpsMessage() = default;

std::unique_ptr<TpsMessage> TpsMessage::Create(Byte aKind, Integer aId, TpsWindow* aTarget) {
  return std::make_unique<TpsMessage>(aKind, aId, aTarget);
}

std::unique_ptr<TpsMessage> TpsMessage::CreateToRoot(Byte aKind, Integer aId, bool aToRoot) {
  auto m = std::make_unique<TpsMessage>(aKind, aId, nullptr);
  m->ToRoot = aToRoot;
  return m;
}

void TpsMessage::CopyFieldsTo(TpsMessage& c) const {
  c.Flags = Flags->Clone();
  c.Flags->SetFlag(mfClone, true);
  c.Consumed = Consumed;
  c.ConsumedBy = ConsumedBy;
  c.HandledCount = HandledCount;
  c.Origin = Origin;
  c.X = X;
  c.Y = Y;
  c.Answer = Answer;
  c.Buttons = Buttons->Clone();
  c.Shift = Shift;
  c.Text = Text;
  c.WideText = WideText;
  c.Text2 = Text2;
  c.Data = Data;
  c.Result = Result;
  c.Option = Option;
  c.Value = Value;
  c.Value2 = Value2;
  c.Value3 = Value3;
  c.Value4 = Value4;
  c.ElementId = ElementId;
  c.AutoFree = AutoFree;
  c.Tag = Tag;
  c.TagCode = TagCode;
  for (size_t i = 0; i < 10; ++i) c.Params[i] = Params[i];
  c.ToRoot = ToRoot;
  c.Alignment = Alignment;
  c.SmartTagOption = SmartTagOption;
  c.SmartTagHandler = SmartTagHandler;
  c.InsertAfter = InsertAfter;
  c.FirstBlockClass = FirstBlockClass;
  c.SecondBlockClass = SecondBlockClass;
  c.Chunk = Chunk;
}

std::unique_ptr<TpsMessage> TpsMessage::Clone(TpsWindow* aTarget) const {
  auto c = std::make_unique<TpsMessage>(Kind, Id, aTarget ? aTarget : Target);
  CopyFieldsTo(*c);
  return c;
}

void TpsMessage::MarkHandled(TpsWindow* aConsumedBy) {
  ++HandledCount;
  Consumed = true;
  ConsumedBy = aConsumedBy;
}

void TpsMessage::ResetHandled() {
  Consumed = false;
  ConsumedBy = nullptr;
  HandledCount = 0;
}

bool TpsMessage::IsButtonMessage() const {
  return (Shift & (ssLeftBit | ssRightBit | ssMiddleBit | ssDoubleBit)) != 0;
}

bool TpsMessage::HitCatchArea() const { return Kind == mrPositional && Value >= 0; }

TpsNotifyDocumentChangeMsg::TpsNotifyDocumentChangeMsg(htmldoc::TpsDocumentChange aChange, TpsWindow* aTarget)
    : TpsMessage(mrCommand, psmDocumentChanged, aTarget), Change(aChange) {}

std::unique_ptr<TpsMessage> TpsNotifyDocumentChangeMsg::Clone(TpsWindow* aTarget) const {
  auto c = std::make_unique<TpsNotifyDocumentChangeMsg>(Change, aTarget ? aTarget : Target);
  CopyFieldsTo(*c);
  return c;
}

// --- Queue ---

void TpsMessageQueue::PushMessage(TpsMessagePtr aMessage) {
  FLastPosted = aMessage.get();
  TpsMessage* m = aMessage.get();
  FEntries.push_back({m, std::move(aMessage)});
}

void TpsMessageQueue::PushMessage(TpsMessage& aMessage, bool aAsClone) {
  if (aAsClone) {
    PushMessage(aMessage.Clone(nullptr));
    return;
  }
  FLastPosted = &aMessage;
  FEntries.push_back({&aMessage, nullptr});
}

TpsMessageQueue::Entry TpsMessageQueue::PopMessage() {
  FLastPosted = nullptr;
  Entry e = std::move(FEntries.front());
  FEntries.pop_front();
  return e;
}

void TpsMessageQueue::Clear() {
  FEntries.clear();
  FLastPosted = nullptr;
}

}  // namespace htmlview
