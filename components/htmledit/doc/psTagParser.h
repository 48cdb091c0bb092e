#pragma once
// One markup tag's text, "<name attr=value ...>", as an object: its kind
// (opening, closing, empty), its name and its attributes in order, and the
// parser that reads such text.
#include <functional>
#include <memory>
#include <vector>

#include "htmledit/doc/psGlobals.h"
#include "rtl/Lists.h"

namespace htmldoc {

// Tag types.
constexpr Byte ttOpening = 0;
constexpr Byte ttClosing = 1;
constexpr Byte ttEmpty = 2;

class TpsMarkupTagParser {
 public:
  TpsMarkupTagParser(bool aCaseSensitive, bool aRemoveEmptyAttributes, bool aQuotedValuesOnly);
  virtual ~TpsMarkupTagParser() = default;

  // Stores the name (lower-cased unless case-sensitive), calls NameChanged
  // and fires OnChange.
  void SetName(const AnsiString& aName);
  const AnsiString& GetName() const { return FName; }
  void SetTagType(Byte aType);
  Byte GetTagType() const { return FTagType; }

  // Reads a tag's text. Attribute names are lower-cased unless
  // case-sensitive; values are kept as written (entities stay undecoded).
  // Parse fires no OnChange of its own, only through SetName, SetTagType and
  // SetAttribute.
  void Parse(const WideString& aText);
  void DoChange();

  bool CaseSensitive() const { return !FLowerCase; }
  bool RemoveEmptyAttributes() const { return FRemoveEmpty; }
  bool QuotedValuesOnly() const { return FQuotedValuesOnly; }

  TNotifyEvent OnChange;

  // Called by Parse for every attribute it reads; the base ignores it.
  virtual void SetAttribute(const AnsiString& aName, const AnsiString& aValue) {}

 protected:
  TpsMarkupTagParser(const TpsMarkupTagParser&) = default;
  TpsMarkupTagParser& operator=(const TpsMarkupTagParser&) = delete;

  // Hooks for descendants that cache what they derive from the tag.
  virtual void NameChanged(const AnsiString& aName) {}
  virtual void TypeChanged(Byte aType) {}
  virtual void AttributeRead(const AnsiString& aName) const {}
  virtual void AttributeChanged(const AnsiString& aName, const AnsiString& aValue) {}
  virtual void AttributeRemoved(const AnsiString& aName) {}

  AnsiString NormalName(const AnsiString& aName) const;

  bool FRemoveEmpty;
  bool FLowerCase;
  bool FQuotedValuesOnly;
  Byte FTagType = ttOpening;
  AnsiString FName;
};

class TpsMarkupTag : public TpsMarkupTagParser {
 public:
  // Parses aText when it is not empty.
  explicit TpsMarkupTag(const AnsiString& aText = {}, bool aCaseSensitive = false,
                        bool aRemoveEmptyAttributes = false, bool aQuotedValuesOnly = false);
  // A copy of the flags, type, name, OnChange, attributes, content and
  // OnGetText of aSource.
  TpsMarkupTag(const TpsMarkupTag& aSource);
  static std::unique_ptr<TpsMarkupTag> CreateCopy(const TpsMarkupTag& aSource) {
    return std::make_unique<TpsMarkupTag>(aSource);
  }

  // Empties the attributes (no hooks), parses aText and fires OnChange.
  void SetText(const AnsiString& aText);
  void SetContent(const AnsiString& aText);
  const AnsiString& GetContent() const { return FContent; }

  // A name set twice keeps its first position and its last value; with the
  // remove-empty flag an empty value deletes the attribute.
  void SetAttribute(const AnsiString& aName, const AnsiString& aValue) override;
  void SetAttributeAsInteger(const AnsiString& aName, Integer aValue);
  // Empty when absent.
  AnsiString GetAttribute(const AnsiString& aName) const;
  // False with -1 when absent or not an integer.
  bool GetAttributeAsInteger(const AnsiString& aName, Integer& aValue) const;
  bool HasAttribute(const AnsiString& aName) const;
  Integer GetAttributeCount() const { return static_cast<Integer>(FNames.size()); }
  // Empty when aIndex is out of range.
  AnsiString GetAttributeName(Integer aIndex) const;
  AnsiString GetAttributeValue(Integer aIndex) const;
  // Nothing when out of range; no OnChange.
  void SetAttributeValue(Integer aIndex, const AnsiString& aValue);
  // No OnChange.
  void RemoveAttribute(const AnsiString& aName);
  void ClearAttributes();

  // Same name and type, and the same attributes with equal values in any order.
  bool Equals(const TpsMarkupTag& aOther) const;
  // The tag as text: values in double quotes (one holding a double quote in
  // single quotes, one holding both kinds with "&quot;"), " />" closing an
  // empty tag; empty for a tag without a name.
  virtual AnsiString GetText() const;

  std::function<void(TObjectPtr aSender, AnsiString& aText)> OnGetText;

 private:
  Integer IndexOfName(const AnsiString& aStoredName) const;

  std::vector<AnsiString> FNames;
  std::vector<AnsiString> FValues;
  AnsiString FContent;
};

// A list of tags; it frees them only when it owns them.
class TpsMarkupTagList : public rtl::TObjectList<TpsMarkupTag> {
 public:
  explicit TpsMarkupTagList(bool aOwnsTags) : rtl::TObjectList<TpsMarkupTag>(aOwnsTags) {}
  // A tag parsed from aText with names lower-cased, empty values kept and
  // lenient values.
  void AddText(const AnsiString& aText);
  TpsMarkupTag* GetTag(Integer aIndex) const { return Get(aIndex); }
  // Each tag's text followed by CR LF.
  AnsiString GetText() const;
};

// An attribute value as a tag's text writes it, quotes included.
AnsiString QuoteAttributeValue(const AnsiString& aValue);

// Codes below 12 are the inline formatting tags.
bool IsInlineOpeningTag(Byte aTagCode, Byte aTagType);
bool IsInlineClosingTag(Byte aTagCode, Byte aTagType);

}  // namespace htmldoc
