#pragma once
// What sits between the document model and the editor: the font family and
// size that apply to one tag, the routines that feed CSS text or a CSS file
// into the editor's style sheet rule by rule, and the list of layout nodes
// a text node carries docked in its lines.
#include <vector>

#include "htmledit/doc/psGlobals.h"
#include "htmledit/doc/psStyleSheets.h"

namespace htmldoc {

class TpsMarkupTag;

// Where the CSS readers put what they read: the editor control implements
// it (its SetStyleAttribute names a class rule by a leading ".").
class TpsStyleSheetSink {
 public:
  virtual void SetStyleAttribute(const AnsiString& aStyleName, const AnsiString& aAttributeName,
                                 const AnsiString& aValue) = 0;
  // An at-rule's whole text, verbatim.
  virtual void AddAtRule(const AnsiString& aText) = 0;

 protected:
  ~TpsStyleSheetSink() = default;
};

// From the tag's "style" declarations, else the rule of its class, else
// the rule of its name; the first that sets one wins.
AnsiString GetTagFontFamily(const TpsMarkupTag& aTag, const TpsStyleSheet& aStyleSheet);
// Starts as 0 pixels; each source is asked while the value is still 0.
TpsFontSizeValue GetTagFontSize(const TpsMarkupTag& aTag, const TpsStyleSheet& aStyleSheet);

// Every declaration of aCss to aEditor.SetStyleAttribute with its
// selector, every at-rule to aEditor.AddAtRule; errors by aErrorMode.
void ApplyStyleSheetText(const AnsiString& aCss, TpsStyleSheetSink& aEditor, Integer aErrorMode);
// The file's lines, each followed by a CR, to ApplyStyleSheetText. Raises
// EInOutError "Stylesheet file not found %s" before anything is read when
// the file does not exist. Text that is not UTF-8 is read as windows-1252.
void ApplyStyleSheetFile(const AnsiString& aFileName, TpsStyleSheetSink& aEditor, Integer aErrorMode);

// A layout node docked in a text node's lines. The view's image node
// derives from it; the model only holds pointers to it.
class TpsDockedNode {
 protected:
  ~TpsDockedNode() = default;
};

// Non-owning: the text node's own references keep the nodes alive.
class TpsDockedAdultNodeList {
 public:
  Integer Add(TpsDockedNode* aNode);
  // Raises EListError for an index outside the list.
  TpsDockedNode* GetNode(Integer aIndex) const;
  Integer Count() const { return static_cast<Integer>(FNodes.size()); }
  void Clear() { FNodes.clear(); }

 private:
  std::vector<TpsDockedNode*> FNodes;
};

}  // namespace htmldoc
