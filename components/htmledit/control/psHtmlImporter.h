#pragma once
// Foreign HTML (pasted, inserted by the host) rewritten into the shape the
// document model expects, in one pass over its tags and text: what was left
// open is closed, inline elements end at block boundaries, loose text goes
// into paragraphs, missing rows and body tags are supplied, "font" becomes
// a styled "span", and what the editor cannot hold is dropped. Plain text
// becomes paragraphs. Both give HTML text and leave the document alone.
#include <functional>
#include <vector>

#include "htmledit/doc/psGlobals.h"
#include "htmledit/doc/psTagParser.h"

namespace htmledit {

using rtl::AnsiString;
using rtl::Integer;

using htmldoc::TObjectPtr;
using htmldoc::TpsMarkupTag;

class TpsHtmlImporter {
 public:
  using TUnknownTagEvent = std::function<void(TObjectPtr aSender, TpsMarkupTag& aTag, bool& aKeep)>;

  TpsHtmlImporter();

  void Import(const AnsiString& aHtml, bool aWrapInParagraphs, AnsiString& aResult);

  // Decides about tags of no class the importer knows; without it they go.
  TUnknownTagEvent OnUnknownTag;

 private:
  void ProcessTag(const AnsiString& aToken);
  void ProcessTagText(const char* aText) { ProcessTag(AnsiString(aText)); }
  void ProcessText(const AnsiString& aText);
  void OpenStructure(TpsMarkupTag& aTag);
  void CloseStructure(TpsMarkupTag& aTag);
  void OpenBlock(TpsMarkupTag& aTag);
  void CloseBlock(TpsMarkupTag& aTag);
  void OpenInline(TpsMarkupTag& aTag);
  void CloseInline(TpsMarkupTag& aTag);
  void ConvertFont(TpsMarkupTag& aTag);
  void EnsureParagraph();
  void CloseAllInlines();
  void CloseAllBlocks();
  void PopBlock();
  bool StructureOpen(const char* aName) const;
  bool BlockOpen(const char* aName) const;
  bool InnermostBlockIs(const char* aName) const;
  void Append(const AnsiString& aText) { FOutput += aText; }

  AnsiString FOutput;
  std::vector<AnsiString> FPassThrough;
  std::vector<AnsiString> FInlineStack;
  // The open blocks, innermost last; it is also the context that decides
  // whether loose text needs a paragraph.
  std::vector<AnsiString> FBlockStack;
  std::vector<AnsiString> FStructureStack;
  bool FInBodyStyle = false;
  bool FWrap = false;
  bool FContentSeen = false;
};

class TpsPlaintextImporter {
 public:
  // "<" and "&" are escaped; lines end with CR LF.
  static void Import(const AnsiString& aText, bool aOneParagraphPerLine, AnsiString& aResult);
};

}  // namespace htmledit
