#include "htmledit/doc/psHtmlEditHtmlSyntaxChecker.h"

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psTagParser.h"

namespace htmldoc {

namespace {

bool IsCheckedBlockCode(Byte aCode) { return (aCode >= TAG_H1 && aCode <= TAG_LI) || aCode == TAG_TD || aCode == TAG_TH; }

// Inline formatting (without "s" and "strike"), images and line breaks.
bool NeedsBlock(Byte aCode) { return aCode <= TAG_SUP || aCode == TAG_IMG || aCode == TAG_BR; }

}  // namespace

TpsHtmlSyntaxCheckerStack::TpsHtmlSyntaxCheckerStack() : FEntries(50) {}

void TpsHtmlSyntaxCheckerStack::PushTag(Byte aTagType, Byte aTagCode) {
  if (FCount == static_cast<Integer>(FEntries.size())) FEntries.resize(FEntries.size() * 2);
  FEntries[FCount++] = {aTagType, aTagCode};
}

void TpsHtmlSyntaxCheckerStack::PopTag(Byte& aTagType, Byte& aTagCode) {
  if (FCount == 0) throw EpsHtmlEditException("TpsHtmlSyntaxCheckerStack.PopTag: stack is empty!");
  const Entry& top = FEntries[--FCount];
  aTagType = top.TagType;
  aTagCode = top.TagCode;
}

bool TpsHtmlSyntaxCheckerStack::InBlock() const {
  for (Integer i = 0; i < FCount; ++i)
    if (FEntries[i].TagType == ttOpening && IsCheckedBlockCode(FEntries[i].TagCode)) return true;
  return false;
}

bool TpsHtmlSyntaxCheckerStack::InList() const {
  for (Integer i = 0; i < FCount; ++i)
    if (FEntries[i].TagType == ttOpening && (FEntries[i].TagCode == TAG_UL || FEntries[i].TagCode == TAG_OL))
      return true;
  return false;
}

bool TpsHtmlSyntaxChecker::CheckTag(Byte aTagType, Byte aTagCode) {
  bool placed = true;
  if (aTagType == ttOpening) {
    if (NeedsBlock(aTagCode))
      placed = FStack.InBlock();
    else if (aTagCode == TAG_LI)
      placed = FStack.InList();
  } else if (aTagType == ttEmpty) {
    if (aTagCode == TAG_IMG || aTagCode == TAG_BR) placed = FStack.InBlock();
  }

  if (aTagType == ttEmpty) return placed;
  if (aTagType == ttOpening) {
    // Pushed even when misplaced: the parse ends at it anyway.
    FStack.PushTag(ttOpening, aTagCode);
    return placed;
  }
  if (FStack.IsEmpty()) return false;
  Byte type = 0, code = 0;
  FStack.PopTag(type, code);
  return type == ttOpening && code == aTagCode;
}

}  // namespace htmldoc
