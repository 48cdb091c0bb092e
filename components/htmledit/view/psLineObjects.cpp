#include "htmledit/view/psLineObjects.h"

#include <climits>

#include "htmledit/view/psDocumentNode.h"

namespace htmlview {

TpsLineObjects::TpsLineObjects(bool aOwnsObjects) : FItems(32), FOwnsObjects(aOwnsObjects) {}

TpsLineObjects::~TpsLineObjects() { Clear(); }

void TpsLineObjects::Grow(Integer aAdding) {
  if (FCount + aAdding <= FCapacity) return;
  FCapacity += aAdding < 9 ? 8 : aAdding;
  FItems.resize(static_cast<size_t>(FCapacity));
}

TpsLineItem& TpsLineObjects::Append(Byte aKind, Integer aX, Integer aY, Integer aHeight, Integer aWidth) {
  Grow(1);
  TpsLineItem& item = FItems[static_cast<size_t>(FCount)];
  item = TpsLineItem{};
  item.Kind = aKind;
  item.X = aX;
  item.Y = aY;
  item.Height = aHeight;
  item.Width = aWidth;
  ++FCount;
  ++(aKind == loText ? FTextCount : FObjectCount);
  return item;
}

void TpsLineObjects::AddTextItem(Integer aX, Integer aY, htmldoc::TpsChunkElement* aElement, Integer aOffsetY,
                                 Integer aOffsetX, Integer aDescent, bool aWordStart, Integer aHeight,
                                 Integer aWidth) {
  TpsLineItem& item = Append(loText, aX, aY, aHeight, aWidth);
  item.Element = aElement;
  item.OffsetY = aOffsetY;
  item.OffsetX = aOffsetX;
  item.Descent = aDescent;
  item.WordStart = aWordStart;
}

void TpsLineObjects::AddObjectItem(Integer aX, Integer aY, TpsSkinNode* aNode, Integer aHeight, Integer aWidth) {
  Append(loObject, aX, aY, aHeight, aWidth).Node = aNode;
}

Integer TpsLineObjects::IndexOfKind(Byte aKind, Integer aN) const {
  Integer seen = 0;
  for (Integer i = 0; i < FCount; ++i) {
    if (FItems[static_cast<size_t>(i)].Kind != aKind) continue;
    if (seen++ == aN) return i;
  }
  return -1;
}

Integer TpsLineObjects::NextOfKind(Byte aKind, Integer aFrom) const {
  for (Integer i = std::max(aFrom, 0); i < FCount; ++i)
    if (FItems[static_cast<size_t>(i)].Kind == aKind) return i;
  return -1;
}

TpsLineItem* TpsLineObjects::GetTextItem(Integer aN) {
  const Integer i = IndexOfKind(loText, aN);
  return i < 0 ? nullptr : &FItems[static_cast<size_t>(i)];
}

TpsLineItem* TpsLineObjects::GetObjectItem(Integer aN) {
  const Integer i = IndexOfKind(loObject, aN);
  return i < 0 ? nullptr : &FItems[static_cast<size_t>(i)];
}

TpsLineItem* TpsLineObjects::LastTextItem() {
  for (Integer i = FCount - 1; i >= 0; --i)
    if (FItems[static_cast<size_t>(i)].Kind == loText) return &FItems[static_cast<size_t>(i)];
  return nullptr;
}

void TpsLineObjects::FreeNode(TpsLineItem& aItem) {
  if (FOwnsObjects && aItem.Kind == loObject && aItem.Node) TpsWindowDeleter()(aItem.Node);
  aItem.Node = nullptr;
}

void TpsLineObjects::RemoveItem(Integer aIndex) {
  if (aIndex < 0 || aIndex >= FCount) return;
  TpsLineItem& item = FItems[static_cast<size_t>(aIndex)];
  if (item.Kind == loObject) {
    FreeNode(item);
    --FObjectCount;
  } else {
    --FTextCount;
  }
  for (Integer i = aIndex; i + 1 < FCount; ++i) FItems[static_cast<size_t>(i)] = FItems[static_cast<size_t>(i + 1)];
  --FCount;
  FItems[static_cast<size_t>(FCount)] = TpsLineItem{};
}

void TpsLineObjects::RemoveLastTextItem() {
  for (Integer i = FCount - 1; i >= 0; --i) {
    if (FItems[static_cast<size_t>(i)].Kind == loText) {
      RemoveItem(i);
      return;
    }
  }
}

void TpsLineObjects::RemoveLastWord() {
  while (FTextCount > 0 && !LastTextItem()->WordStart) RemoveLastTextItem();
  RemoveLastTextItem();
}

void TpsLineObjects::Clear() {
  for (Integer i = 0; i < FCount; ++i) FreeNode(FItems[static_cast<size_t>(i)]);
  FItems.clear();
  FCapacity = 0;
  FCount = 0;
  FTextCount = 0;
  FObjectCount = 0;
}

void TpsLineObjects::Trim() {
  FItems.resize(static_cast<size_t>(FCount));
  FCapacity = FCount;
}

Integer TpsLineObjects::MaxTextHeight() const {
  Integer m = 0;
  for (Integer i = 0; i < FCount; ++i) {
    const TpsLineItem& it = FItems[static_cast<size_t>(i)];
    if (it.Kind == loText) m = std::max(m, it.Height);
  }
  return m;
}

Integer TpsLineObjects::MaxDescent() const {
  Integer m = 0;
  for (Integer i = 0; i < FCount; ++i) {
    const TpsLineItem& it = FItems[static_cast<size_t>(i)];
    if (it.Kind == loText) m = std::max(m, it.Descent);
  }
  return m;
}

void TpsLineObjects::GetVerticalExtent(Integer& aTop, Integer& aBottom) const {
  aTop = INT_MAX;
  aBottom = -1;
  for (Integer i = 0; i < FCount; ++i) {
    const TpsLineItem& it = FItems[static_cast<size_t>(i)];
    if (it.Kind != loText) continue;
    aTop = std::min(aTop, it.Y);
    aBottom = std::max(aBottom, it.Y + it.Height - 1);
  }
}

Integer TpsLineObjects::LastItemOfWord(Integer aIndex) const {
  Integer i = aIndex;
  while (i + 1 < FCount) {
    const TpsLineItem& next = FItems[static_cast<size_t>(i + 1)];
    if (next.Kind == loObject || next.WordStart) break;
    ++i;
  }
  return i;
}

Integer TpsLineObjects::SpanWidth(Integer aA, Integer aB) const {
  const TpsLineItem& a = FItems[static_cast<size_t>(aA)];
  const TpsLineItem& b = FItems[static_cast<size_t>(aB)];
  return b.X + b.Width - a.X;
}

void TpsLineObjects::GetTextItemHorizontalRange(Integer aN, Integer& aLeft, Integer& aRight) {
  const TpsLineItem* it = GetTextItem(aN);
  aLeft = it->X;
  aRight = it->X + it->Width - 1;
}

void TpsLineObjects::GetTextRange(Integer aA, Integer aB, Integer& aLeft, Integer& aRight) {
  Integer l, r;
  GetTextItemHorizontalRange(aA, aLeft, r);
  GetTextItemHorizontalRange(aB, l, aRight);
}

TpsRect TpsLineObjects::GetTextItemRect(Integer aN) {
  const TpsLineItem* it = GetTextItem(aN);
  return {it->X, it->Y, it->X + it->Width - 1, it->Y + it->Height - 1};
}

Integer TpsLineObjects::GapAfterTextItem(Integer aN) {
  const TpsLineItem* it = GetTextItem(aN);
  const TpsLineItem* next = GetTextItem(aN + 1);
  return next->X - (it->X + it->Width);
}

Integer TpsLineObjects::GetStrikeY(Integer aN) {
  const TpsLineItem* it = GetTextItem(aN);
  return it->Y + (it->Height - it->Descent) / 2 + 1;
}

Integer TpsLineObjects::GetBaselineY(Integer aN) {
  const TpsLineItem* it = GetTextItem(aN);
  return it->Y + it->Height - it->Descent - 1;
}

void TpsLineObjects::ShiftX(Integer aFrom, Integer aTo, Integer aDelta) {
  if (aDelta == 0 || aTo < aFrom) return;
  for (Integer i = std::max(aFrom, 0); i <= aTo && i < FCount; ++i) {
    TpsLineItem& it = FItems[static_cast<size_t>(i)];
    if (it.Kind == loText) it.X += aDelta;
  }
}

TpsSmartTagFragments::TpsSmartTagFragments(TpsLineObjects& aLines) {
  TpsSmartTagFragment current{INT_MAX, INT_MAX, -1, -1, {}};
  auto close = [&]() {
    FFragments.push_back(current);
    current = {INT_MAX, INT_MAX, -1, -1, {}};
  };
  for (Integer i = 0; i < aLines.Count(); ++i) {
    const TpsLineItem& it = aLines.GetItem(i);
    if (it.Kind != loText) continue;
    const bool marked = it.Element && htmldoc::HasSmartTagMark(it.Element->SmartTag);
    if (marked) {
      const htmldoc::TpsSmartTagMark& mark = it.Element->SmartTag;
      if (!current.Mark.Marked) {
        current.Mark = mark;
      } else if (current.Mark.MarkId != mark.MarkId) {
        close();
        current.Mark = mark;
      }
      current.Left = std::min(current.Left, it.X);
      current.Top = std::min(current.Top, it.Y);
      current.Right = std::max(current.Right, it.X + it.Width - 1);
      current.Bottom = std::max(current.Bottom, it.Y + it.Height - 1);
    } else if (current.Mark.Marked) {
      close();
    }
  }
  if (current.Mark.Marked) close();
}

const TpsSmartTagFragment* TpsSmartTagFragments::GetFragment(Integer aIndex) const {
  if (aIndex < 0 || aIndex >= Count()) return nullptr;
  return &FFragments[static_cast<size_t>(aIndex)];
}

}  // namespace htmlview
