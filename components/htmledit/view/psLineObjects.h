#pragma once
// The laid-out content of one text line: an item per non-blank character
// and one per inline object (the wrapper of an inline image), in document
// order, each with its rectangle relative to the text node. Painting, hit
// tests, the caret, selection rectangles, underlines and smart-tag marks
// all read it. TpsSmartTagFragments turns the marked characters into the
// rectangles to underline.
#include <memory>
#include <vector>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/view/psViewTypes.h"

namespace htmlview {

class TpsSkinNode;

constexpr Byte loText = 0;
constexpr Byte loObject = 1;

struct TpsLineItem {
  Byte Kind = loText;
  Integer X = -1;
  Integer Y = -1;
  Integer Width = 0;
  Integer Height = 0;
  // Text items.
  bool WordStart = false;
  Integer Descent = 0;
  Integer OffsetX = 0;
  Integer OffsetY = 0;
  htmldoc::TpsChunkElement* Element = nullptr;
  // Object items.
  TpsSkinNode* Node = nullptr;
};

class TpsLineObjects {
 public:
  // With aOwnsObjects the list frees the nodes of its object items.
  explicit TpsLineObjects(bool aOwnsObjects);
  ~TpsLineObjects();
  TpsLineObjects(const TpsLineObjects&) = delete;
  TpsLineObjects& operator=(const TpsLineObjects&) = delete;

  void AddTextItem(Integer aX, Integer aY, htmldoc::TpsChunkElement* aElement, Integer aOffsetY, Integer aOffsetX,
                   Integer aDescent, bool aWordStart, Integer aHeight, Integer aWidth);
  void AddObjectItem(Integer aX, Integer aY, TpsSkinNode* aNode, Integer aHeight, Integer aWidth);

  TpsLineItem& GetItem(Integer aIndex) { return FItems[static_cast<size_t>(aIndex)]; }
  const TpsLineItem& GetItem(Integer aIndex) const { return FItems[static_cast<size_t>(aIndex)]; }
  // The aN-th item of that kind, from 0; nullptr when there is none.
  TpsLineItem* GetTextItem(Integer aN);
  TpsLineItem* GetObjectItem(Integer aN);
  // -1 when there is none.
  Integer IndexOfKind(Byte aKind, Integer aN) const;
  Integer NextOfKind(Byte aKind, Integer aFrom) const;
  TpsLineItem* LastTextItem();

  void RemoveItem(Integer aIndex);
  void RemoveLastTextItem();
  // Removes the text items of the last word.
  void RemoveLastWord();
  void Clear();
  void Trim();

  Integer MaxTextHeight() const;
  Integer MaxDescent() const;
  // MaxInt and -1 without text items.
  void GetVerticalExtent(Integer& aTop, Integer& aBottom) const;
  // From aIndex on, the last index before an object item or a word start
  // (or before the end).
  Integer LastItemOfWord(Integer aIndex) const;
  Integer SpanWidth(Integer aA, Integer aB) const;
  void GetTextItemHorizontalRange(Integer aN, Integer& aLeft, Integer& aRight);
  void GetTextRange(Integer aA, Integer aB, Integer& aLeft, Integer& aRight);
  TpsRect GetTextItemRect(Integer aN);
  Integer GapAfterTextItem(Integer aN);
  Integer GetStrikeY(Integer aN);
  Integer GetBaselineY(Integer aN);
  void ShiftX(Integer aFrom, Integer aTo, Integer aDelta);

  Integer Count() const { return FCount; }
  Integer Capacity() const { return FCapacity; }
  Integer TextCount() const { return FTextCount; }
  Integer ObjectCount() const { return FObjectCount; }
  bool OwnsObjects() const { return FOwnsObjects; }

 private:
  void Grow(Integer aAdding);
  TpsLineItem& Append(Byte aKind, Integer aX, Integer aY, Integer aHeight, Integer aWidth);
  void FreeNode(TpsLineItem& aItem);

  std::vector<TpsLineItem> FItems;  // its size is the capacity
  Integer FCapacity = 32;
  Integer FCount = 0;
  Integer FTextCount = 0;
  Integer FObjectCount = 0;
  bool FOwnsObjects;
};

struct TpsSmartTagFragment {
  Integer Left;
  Integer Top;
  Integer Right;
  Integer Bottom;
  htmldoc::TpsSmartTagMark Mark;
};

class TpsSmartTagFragments {
 public:
  explicit TpsSmartTagFragments(TpsLineObjects& aLines);
  Integer Count() const { return static_cast<Integer>(FFragments.size()); }
  // nullptr out of range.
  const TpsSmartTagFragment* GetFragment(Integer aIndex) const;

 private:
  std::vector<TpsSmartTagFragment> FFragments;
};

}  // namespace htmlview
