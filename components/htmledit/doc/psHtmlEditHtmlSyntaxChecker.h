#pragma once
// Decides, tag by tag, whether a tag may stand where it stands in the body
// of a page the editor loads: inline tags, images and line breaks only
// inside a block, list items only inside a list, and closing tags only for
// the tag opened last.
#include <vector>

#include "htmledit/doc/psGlobals.h"

namespace htmldoc {

class TpsHtmlSyntaxCheckerStack {
 public:
  TpsHtmlSyntaxCheckerStack();

  bool IsEmpty() const { return FCount == 0; }
  void PushTag(Byte aTagType, Byte aTagCode);
  // Raises EpsHtmlEditException on an empty stack.
  void PopTag(Byte& aTagType, Byte& aTagCode);
  // Some opening entry has a block code.
  bool InBlock() const;
  // Some opening entry is "ul" or "ol".
  bool InList() const;

 private:
  struct Entry {
    Byte TagType;
    Byte TagCode;
  };
  std::vector<Entry> FEntries;
  Integer FCount = 0;
};

class TpsHtmlSyntaxChecker {
 public:
  TpsHtmlSyntaxChecker() = default;
  bool CheckTag(Byte aTagType, Byte aTagCode);

 private:
  TpsHtmlSyntaxCheckerStack FStack;
};

}  // namespace htmldoc
