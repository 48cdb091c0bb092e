#pragma once
// The tag a tag element of the node list owns: a markup tag with its tag
// code looked up once, the three style ids (tag-name rule, class rule,
// inline "style") asked once from the document, the source of a custom
// tag, and typed access to the attributes the editor edits.
//
// A tag does not know the style sheet: it asks the document through four
// events that every tag of a document shares.
#include <functional>
#include <memory>

#include "htmledit/doc/psTagParser.h"

namespace htmldoc {

class TpsHtmlTag;

// Each answers through its reference argument. An event that is not
// assigned is not called: ids then read -1 and texts empty.
struct TpsHtmlTagEvents {
  // The style id the document keeps for the declarations (registered when new).
  std::function<void(TpsHtmlTag* aSender, const AnsiString& aStyleText, Integer& aStyleId)> OnStyleAttributeToId;
  // The id of the rule for a selector ("p", ".name"); -1 when none.
  std::function<void(TpsHtmlTag* aSender, const AnsiString& aSelector, Integer& aStyleId)> OnSelectorToId;
  std::function<void(TpsHtmlTag* aSender, Integer aStyleId, AnsiString& aText)> OnStyleIdToText;
  std::function<void(TpsHtmlTag* aSender, Integer aStyleId, AnsiString& aClassName)> OnStyleIdToClassName;
};

// Shared by every tag of a document: a tag holds a reference, not a copy of
// four function objects.
using TpsHtmlTagEventsRef = std::shared_ptr<const TpsHtmlTagEvents>;

constexpr Integer psStyleIdNotAsked = -2;

class TpsHtmlTag : public TpsMarkupTag {
 public:
  // "<name>", "</name>" or "<name />" for the name of aTagCode.
  TpsHtmlTag(const TpsHtmlTagEventsRef& aEvents, Byte aTagCode, Byte aTagType);
  static std::unique_ptr<TpsHtmlTag> CreateFromText(const TpsHtmlTagEventsRef& aEvents, const AnsiString& aText);
  // Events, custom-tag data, the cached code and style ids and the markup part.
  TpsHtmlTag(const TpsHtmlTag& aSource);
  static std::unique_ptr<TpsHtmlTag> CreateCopy(const TpsHtmlTag& aSource) {
    return std::make_unique<TpsHtmlTag>(aSource);
  }

  const TpsHtmlTagEventsRef& Events() const { return FEvents; }

  Byte GetTagCode();
  // Renames the tag to the name of aTagCode.
  void SetTagCode(Byte aTagCode);
  Integer GetTagStyleId();
  Integer GetClassStyleId();
  Integer GetStyleAttributeId();
  // -1 keeps "class" (a class the sheet lacks survives).
  void SetClassStyleId(Integer aStyleId);
  void RemoveClass();
  // -1 removes "style".
  void SetStyleAttributeId(Integer aStyleId);
  // Back to "not asked" (the style sheet changed).
  void InvalidateStyles();

  // The cached values as they stand, for tests and copies.
  Byte CachedTagCode() const { return FTagCode; }
  Integer CachedTagStyleId() const { return FTagStyleId; }
  Integer CachedClassStyleId() const { return FClassStyleId; }
  Integer CachedStyleAttributeId() const { return FStyleAttributeId; }

  // For table, td and th a width of "50%" reads -50; for img a whole
  // number; 0 otherwise.
  Integer GetWidth();
  Integer GetHeight();
  bool HasWidth();
  bool HasHeight();
  void SetWidth(Integer aValue);
  void SetHeight(Integer aValue);
  // 0 left, 1 right, 2 middle (and anything else), 3 top, 4 bottom.
  Byte GetAlign() const;
  // 5 removes "align"; values above 5 do nothing.
  void SetAlign(Byte aAlign);
  Integer GetCellSpacing() const;  // -1 when absent or no number
  Integer GetCellPadding() const;
  void SetCellSpacing(Integer aValue);
  void SetCellPadding(Integer aValue);

  AnsiString CustomSource;
  AnsiString CustomContent;
  bool CustomAsWritten = true;

 protected:
  void NameChanged(const AnsiString& aName) override;
  void AttributeChanged(const AnsiString& aName, const AnsiString& aValue) override;
  void AttributeRemoved(const AnsiString& aName) override;

 private:
  struct FromText {};
  TpsHtmlTag(FromText, const TpsHtmlTagEventsRef& aEvents, const AnsiString& aText);
  // The size rule of GetWidth and GetHeight; False when no valid value.
  bool ReadSize(const char* aName, Integer& aValue);
  void WriteSize(const char* aName, Integer aValue);
  void ResetFor(const AnsiString& aAttributeName);

  TpsHtmlTagEventsRef FEvents;
  Byte FTagCode;
  Integer FTagStyleId = psStyleIdNotAsked;
  Integer FClassStyleId = psStyleIdNotAsked;
  Integer FStyleAttributeId = psStyleIdNotAsked;
};

}  // namespace htmldoc
