#pragma once
// The inline tags around the caret or common to the selection, as tag
// objects the host reads (bold and italic buttons, the link under the
// caret) and edits: a changed tag object changes the document's element as
// one command, and removing a span goes through the editor's commands.
#include <memory>
#include <vector>

#include "htmledit/doc/psTagParser.h"

namespace htmledit {

class TpsHTMLEditBase;
using htmldoc::TpsMarkupTag;

class TpsSpanList {
 public:
  explicit TpsSpanList(TpsHTMLEditBase* aEditor) : FEditor(aEditor) {}
  virtual ~TpsSpanList() = default;
  TpsSpanList(const TpsSpanList&) = delete;
  TpsSpanList& operator=(const TpsSpanList&) = delete;

  rtl::Integer GetCount() const { return static_cast<rtl::Integer>(FEntries.size()); }
  // An index out of range is a failed assertion.
  TpsMarkupTag* GetSpan(rtl::Integer aIndex) const;
  uint32_t GetElementId(rtl::Integer aIndex) const;
  // First tag of that name (exact, case-sensitive); -1 or nullptr.
  rtl::Integer IndexOfName(const rtl::AnsiString& aName) const;
  bool ContainsSpan(const rtl::AnsiString& aName) const { return IndexOfName(aName) >= 0; }
  TpsMarkupTag* FindSpan(const rtl::AnsiString& aName) const;
  rtl::Integer IndexOfTagCode(rtl::Byte aTagCode) const;
  // First tag whose text, as the tag writes it, equals aText.
  rtl::Integer IndexOfText(const rtl::AnsiString& aText) const;
  rtl::AnsiString GetSpanText(rtl::Integer aIndex) const { return GetSpan(aIndex)->GetText(); }
  // RemoveSpan of the first match; false when there is none.
  bool RemoveSpanByName(const rtl::AnsiString& aName, bool aEndAtCursor, bool aWithPair);
  bool RemoveSpanByText(const rtl::AnsiString& aText, bool aEndAtCursor, bool aWithPair);
  bool RemoveInnermostSpan(bool aWithPair);
  // The base checks the index only.
  virtual void RemoveSpan(rtl::Integer aIndex, bool aEndAtCursor, bool aWithPair);

  // Takes the tag over; its change event edits the element aElementId (0:
  // the tag stands for no one element).
  void Add(std::unique_ptr<TpsMarkupTag> aTag, uint32_t aElementId);

 protected:
  // The changed tag's text replaces its element's tag: one command.
  void ApplyTagChange(TpsMarkupTag* aTag);

  TpsHTMLEditBase* FEditor;

 private:
  struct Entry {
    std::unique_ptr<TpsMarkupTag> Tag;
    uint32_t ElementId = 0;
  };
  std::vector<Entry> FEntries;
};

// The inline tags enclosing the caret, innermost first, each with its
// element; a removal asks the editor to remove the span at the caret.
class TpsSpansAroundCursorList : public TpsSpanList {
 public:
  explicit TpsSpansAroundCursorList(TpsHTMLEditBase* aEditor);
  void RemoveSpan(rtl::Integer aIndex, bool aEndAtCursor, bool aWithPair) override;
};

// The inline tags common to every selected top-level node (no element of
// their own); a removal frees the selection of that tag.
class TpsSpansAroundSelectionList : public TpsSpanList {
 public:
  explicit TpsSpansAroundSelectionList(TpsHTMLEditBase* aEditor);
  void RemoveSpan(rtl::Integer aIndex, bool aEndAtCursor, bool aWithPair) override;
};

}  // namespace htmledit
