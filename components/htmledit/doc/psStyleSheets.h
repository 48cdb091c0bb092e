#pragma once
// The CSS model of the HTML editor: the property ids it understands, one
// attribute class per kind of value (parse, text, compare, copy, apply to a
// drawing surface), the slot list of attributes, style rules, the style
// sheet, the cascade cache and the style stack through which the layout
// computes the style of nested elements.
//
// Values survive a write-back: an attribute keeps the text it was given
// wherever its typed reading would lose something (a length with its own
// unit, a keyword its class lacks, a colour the reader does not know), and
// writes that text back, while its typed reading (pixels, keyword number,
// colour) stays what the editor's layout uses.
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "htmledit/doc/psContainers.h"
#include "htmledit/doc/psGlobals.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psNotificationList.h"

namespace htmldoc {

// ---------------------------------------------------------------------------
// Property ids: positions in the process-wide id list. "text-transform"
// stands twice; a name look-up always gives the first (30).

constexpr Integer CSS_BACKGROUND_COLOR = 0, CSS_MARGIN = 1, CSS_MARGIN_TOP = 2,
                  CSS_MARGIN_BOTTOM = 3, CSS_MARGIN_LEFT = 4, CSS_MARGIN_RIGHT = 5, CSS_BORDER = 6,
                  CSS_BORDER_LEFT = 7, CSS_BORDER_TOP = 8, CSS_BORDER_RIGHT = 9,
                  CSS_BORDER_BOTTOM = 10, CSS_BORDER_WIDTH = 11, CSS_BORDER_TOP_WIDTH = 12,
                  CSS_BORDER_BOTTOM_WIDTH = 13, CSS_BORDER_LEFT_WIDTH = 14,
                  CSS_BORDER_RIGHT_WIDTH = 15, CSS_BORDER_COLOR = 16, CSS_BORDER_STYLE = 17,
                  CSS_BORDER_COLLAPSE = 18, CSS_PADDING = 19, CSS_PADDING_TOP = 20,
                  CSS_PADDING_BOTTOM = 21, CSS_PADDING_LEFT = 22, CSS_PADDING_RIGHT = 23,
                  CSS_FONT_FAMILY = 24, CSS_FONT_SIZE = 25, CSS_FONT_STYLE = 26,
                  CSS_FONT_WEIGHT = 27, CSS_TEXT_DECORATION = 28, CSS_TEXT_ALIGN = 29,
                  CSS_TEXT_TRANSFORM = 30, CSS_LETTER_SPACING = 31, CSS_WORD_SPACING = 32,
                  CSS_LINE_HEIGHT = 33, CSS_WIDTH = 34, CSS_HEIGHT = 35, CSS_COLOR = 36,
                  CSS_LIST_STYLE_TYPE = 37, CSS_FLOAT = 38, CSS_CLEAR = 39, CSS_VALIGN = 40,
                  CSS_BACKGROUND_IMAGE = 41, CSS_TEXT_TRANSFORM_2 = 42, CSS_POSITION = 43,
                  CSS_TOP = 44, CSS_BOTTOM = 45, CSS_LEFT = 46, CSS_RIGHT = 47;
constexpr Integer CSS_ATTRIBUTE_COUNT = 48;

class TpsCSSAttributeIdList {
 public:
  TpsCSSAttributeIdList() = delete;
  // Lower-cased (not trimmed), first equal name; -1 when unknown.
  static Integer IndexOf(const AnsiString& aName);
  // Empty for an id outside the list.
  static AnsiString GetName(Integer aId);
};

// ---------------------------------------------------------------------------
// The drawing surface as the style code sees it: the view's surface
// implements it; tests use a fake with fixed metrics.

class TpsStyleCanvas {
 public:
  virtual AnsiString GetFontName() const = 0;
  virtual void SetFontName(const AnsiString& aName) = 0;
  virtual bool GetFontBold() const = 0;
  virtual void SetFontBold(bool aBold) = 0;
  virtual bool GetFontItalic() const = 0;
  virtual void SetFontItalic(bool aItalic) = 0;
  virtual TColor GetFontColor() const = 0;
  virtual void SetFontColor(TColor aColor) = 0;
  // Negative values are character heights, as the class library's fonts
  // keep them.
  virtual Integer GetFontHeight() const = 0;
  virtual void SetFontHeight(Integer aHeight) = 0;
  virtual Integer GetFontPixelsPerInch() const = 0;
  // The height of the character "x" in the current font.
  virtual Integer GetXHeight() const = 0;

 protected:
  ~TpsStyleCanvas() = default;
};

class TpsStyleStack;

// ---------------------------------------------------------------------------
// Lengths and colours

constexpr Byte cuEm = 0, cuEx = 1, cuPx = 2, cuIn = 3, cuCm = 4, cuMm = 5, cuPt = 6, cuPc = 7;

struct TpsCSSLength {
  Byte Unit = cuPx;
  double Value = 0;
};

// "#rrggbb" (each pair read leniently), "#rgb" (hexadecimal digits, each
// doubled), "rgb(r, g, b)" with three integers 0 to 255, or a colour name;
// clNone (0x1FFFFFFF) when none applies.
TColor ParseCssColor(const AnsiString& aText);
bool IsCssColor(const AnsiString& aText);
// Empty for clNone; the colour's name when it has one; else "#rrggbb".
AnsiString ColorToCssString(TColor aColor);
// Spaces removed, upper-cased; a number followed by one of the eight units.
// A bare number (zero too) is no length.
bool TextToLength(const AnsiString& aText, TpsCSSLength& aLength);
AnsiString LengthToText(const TpsCSSLength& aLength);
bool LengthEquals(const TpsCSSLength& a, const TpsCSSLength& b);
AnsiString MakeClassSelector(const AnsiString& aName);
// A whole number of pixels ("2px").
bool ParseBorderWidthPx(const AnsiString& aText, Integer& aWidth);
bool IsBorderStyleKeyword(const AnsiString& aText);

// ---------------------------------------------------------------------------
// Attributes

class TpsCSSAttribute {
 public:
  explicit TpsCSSAttribute(Integer aId) : FId(aId) {}
  virtual ~TpsCSSAttribute() = default;

  Integer Id() const { return FId; }
  AnsiString Name() const { return TpsCSSAttributeIdList::GetName(FId); }

  virtual AnsiString GetAsString() const = 0;
  virtual std::unique_ptr<TpsCSSAttribute> Clone() const = 0;
  // Takes aSource's value when it is of the same class; the base copies
  // the id only.
  virtual void Assign(const TpsCSSAttribute& aSource) {
    FId = aSource.FId;
    Important = aSource.Important;
  }
  virtual bool Equals(const TpsCSSAttribute& aOther) const = 0;
  // Equals as if aOther served this attribute's property (four sides of
  // a box written as one shorthand).
  bool SameValue(const TpsCSSAttribute& aOther) const;
  virtual void ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const {}

  // The declaration's "!important", left out of the value and written
  // back after it.
  bool Important = false;

 protected:
  TpsCSSAttribute(const TpsCSSAttribute&) = default;
  TpsCSSAttribute& operator=(const TpsCSSAttribute&) = default;

 private:
  Integer FId;
};

// Clone and Assign for a final attribute class: plain copies of the fields.
template <typename Derived, typename Base>
class TpsCSSAttributeCopy : public Base {
 public:
  using Base::Base;
  std::unique_ptr<TpsCSSAttribute> Clone() const override {
    return std::make_unique<Derived>(static_cast<const Derived&>(*this));
  }
  void Assign(const TpsCSSAttribute& aSource) override {
    if (auto* source = dynamic_cast<const Derived*>(&aSource))
      static_cast<Derived&>(*this) = *source;
    else
      TpsCSSAttribute::Assign(aSource);
  }
};

class TpsCSSStringAttribute : public TpsCSSAttribute {
 public:
  TpsCSSStringAttribute(Integer aId, const AnsiString& aText) : TpsCSSAttribute(aId), FText(aText) {}
  const AnsiString& Text() const { return FText; }
  AnsiString GetAsString() const override { return FText; }
  std::unique_ptr<TpsCSSAttribute> Clone() const override;
  void Assign(const TpsCSSAttribute& aSource) override;
  bool Equals(const TpsCSSAttribute& aOther) const override;

 protected:
  AnsiString FText;
};

class TpsCSSFontFamilyAttribute final : public TpsCSSStringAttribute {
 public:
  explicit TpsCSSFontFamilyAttribute(const AnsiString& aText)
      : TpsCSSStringAttribute(CSS_FONT_FAMILY, aText) {}
  std::unique_ptr<TpsCSSAttribute> Clone() const override;
  void ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const override;
};

// A keyword property read into a small number. Text the class has no
// keyword for is kept and written back.
struct TpsCSSKeywordTable;

class TpsCSSIntegerAttribute : public TpsCSSAttribute {
 public:
  Byte Value() const { return FValue; }
  void SetValue(Byte aValue) {
    FValue = aValue;
    FText.clear();
  }
  // The text kept for a keyword the class lacks; empty otherwise.
  const AnsiString& KeptText() const { return FText; }
  AnsiString GetAsString() const override;
  std::unique_ptr<TpsCSSAttribute> Clone() const override;
  void Assign(const TpsCSSAttribute& aSource) override;
  bool Equals(const TpsCSSAttribute& aOther) const override;

 protected:
  TpsCSSIntegerAttribute(Integer aId, const AnsiString& aText, const TpsCSSKeywordTable& aTable);
  TpsCSSIntegerAttribute(Integer aId, Byte aValue, const TpsCSSKeywordTable& aTable)
      : TpsCSSAttribute(aId), FValue(aValue), FTable(&aTable) {}

  Byte FValue = 0;
  AnsiString FText;
  const TpsCSSKeywordTable* FTable;
};

#define PS_CSS_KEYWORD_ATTRIBUTE(Name)                                        \
  class Name final : public TpsCSSIntegerAttribute {                          \
   public:                                                                   \
    explicit Name(const AnsiString& aText);                                   \
    std::unique_ptr<TpsCSSAttribute> Clone() const override {                 \
      return std::make_unique<Name>(*this);                                   \
    }                                                                         \
  }

PS_CSS_KEYWORD_ATTRIBUTE(TpsCSSTextDecorationAttribute);   // 0 none, 1 line-through, 2 underline
PS_CSS_KEYWORD_ATTRIBUTE(TpsCSSTextTransformAttribute);    // 0 none, 1 upper, 2 lower, 3 capitalize
PS_CSS_KEYWORD_ATTRIBUTE(TpsCSSBorderStyleAttribute);      // 1 none ... 9 outset
PS_CSS_KEYWORD_ATTRIBUTE(TpsCSSBorderCollapseAttribute);   // 1 collapse, 2 separate
PS_CSS_KEYWORD_ATTRIBUTE(TpsCSSListStyleTypeAttribute);    // 0 unknown, 1 disc ... 8 upper-alpha
PS_CSS_KEYWORD_ATTRIBUTE(TpsCSSFloatAttribute);            // 1 left, 2 right, 3 none
PS_CSS_KEYWORD_ATTRIBUTE(TpsCSSClearAttribute);            // 0 none, 1 left, 2 right, 3 both
#undef PS_CSS_KEYWORD_ATTRIBUTE

// 1 left, 2 center, 3 right, 4 justify.
class TpsCSSTextAlignAttribute final : public TpsCSSIntegerAttribute {
 public:
  explicit TpsCSSTextAlignAttribute(const AnsiString& aText);
  explicit TpsCSSTextAlignAttribute(Byte aValue);
  // Stores aValue masked to 7 bits.
  void SetValue(Byte aValue) { TpsCSSIntegerAttribute::SetValue(aValue & 0x7F); }
  std::unique_ptr<TpsCSSAttribute> Clone() const override {
    return std::make_unique<TpsCSSTextAlignAttribute>(*this);
  }
};

class TpsCSSBooleanAttribute : public TpsCSSAttribute {
 public:
  bool Value() const { return FValue; }
  const AnsiString& KeptText() const { return FText; }
  AnsiString GetAsString() const override;
  void Assign(const TpsCSSAttribute& aSource) override;
  bool Equals(const TpsCSSAttribute& aOther) const override;

 protected:
  TpsCSSBooleanAttribute(Integer aId, bool aValue, const AnsiString& aText, const char* aTrueName,
                         const char* aFalseName);
  virtual AnsiString ValueName() const;

  bool FValue;
  AnsiString FText;
};

// "italic" is italic; any other text is not ("oblique" is kept as text).
class TpsCSSFontStyleAttribute final : public TpsCSSBooleanAttribute {
 public:
  explicit TpsCSSFontStyleAttribute(const AnsiString& aText);
  std::unique_ptr<TpsCSSAttribute> Clone() const override {
    return std::make_unique<TpsCSSFontStyleAttribute>(*this);
  }
  void ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const override;

 protected:
  AnsiString ValueName() const override;
};

// "bold", "bolder" and the weights 600 to 900 are bold; numbers and
// "bolder"/"lighter" are kept as text.
class TpsCSSFontWeightAttribute final : public TpsCSSBooleanAttribute {
 public:
  explicit TpsCSSFontWeightAttribute(const AnsiString& aText);
  std::unique_ptr<TpsCSSAttribute> Clone() const override {
    return std::make_unique<TpsCSSFontWeightAttribute>(*this);
  }
  void ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const override;

 protected:
  AnsiString ValueName() const override;
};

// An empty text is white; text the colour reader does not know is kept and
// reads as no colour.
class TpsCSSAbstractColorAttribute : public TpsCSSAttributeCopy<TpsCSSAbstractColorAttribute, TpsCSSAttribute> {
 public:
  TpsCSSAbstractColorAttribute(Integer aId, const AnsiString& aText);
  TColor Color() const { return FColor; }
  const AnsiString& KeptText() const { return FText; }
  AnsiString GetAsString() const override;
  bool Equals(const TpsCSSAttribute& aOther) const override;

 protected:
  TColor FColor;
  AnsiString FText;
};

class TpsCSSColorAttribute final : public TpsCSSAbstractColorAttribute {
 public:
  explicit TpsCSSColorAttribute(const AnsiString& aText)
      : TpsCSSAbstractColorAttribute(CSS_COLOR, aText) {}
  std::unique_ptr<TpsCSSAttribute> Clone() const override {
    return std::make_unique<TpsCSSColorAttribute>(*this);
  }
  void ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const override;
};

constexpr Byte luPx = 0, luIn = 1;

// Margins, paddings, border widths, spacings, width, height, valign. The
// typed reading is px (every unit but "in", whose number is taken as px)
// or in; the given text is what is written back.
class TpsCSSLengthAttribute final : public TpsCSSAttributeCopy<TpsCSSLengthAttribute, TpsCSSAttribute> {
 public:
  TpsCSSLengthAttribute(Integer aId, const AnsiString& aText);
  double Value() const { return FValue; }
  Byte Unit() const { return FUnit; }
  const AnsiString& Text() const { return FText; }
  // px rounded; in times 96 rounded.
  Integer GetPixels() const;
  AnsiString GetAsString() const override;
  bool Equals(const TpsCSSAttribute& aOther) const override;

 private:
  double FValue = 0;
  Byte FUnit = luPx;
  AnsiString FText;
};

constexpr Byte fskText = 0, fskLength = 1, fskPercentage = 2;

class TpsCSSFontSizeAttribute final : public TpsCSSAttributeCopy<TpsCSSFontSizeAttribute, TpsCSSAttribute> {
 public:
  explicit TpsCSSFontSizeAttribute(const AnsiString& aText);
  Byte Kind() const { return FKind; }
  const AnsiString& Text() const { return FText; }
  const TpsCSSLength& Length() const { return FLength; }
  double Percentage() const { return FPercentage; }
  // Against the font size of the level below in the stack (12 when none);
  // -1 for a keyword or other text.
  Integer GetPixelSize(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const;
  // The same against a parent size given.
  Integer GetPixelSizeFor(Integer aParentSize, Integer aPixelsPerInch) const;
  AnsiString GetAsString() const override;
  bool Equals(const TpsCSSAttribute& aOther) const override;
  void ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const override;

 private:
  Byte FKind = fskText;
  AnsiString FText;
  TpsCSSLength FLength;
  double FPercentage = 0;
};

constexpr Byte lhkText = 0, lhkNormal = 1, lhkNumber = 2, lhkLength = 3, lhkPercentage = 4;

class TpsCSSLineHeightAttribute final : public TpsCSSAttributeCopy<TpsCSSLineHeightAttribute, TpsCSSAttribute> {
 public:
  explicit TpsCSSLineHeightAttribute(const AnsiString& aText);
  Byte Kind() const { return FKind; }
  // aDefault for text the class does not read.
  Integer GetLineHeight(Integer aDefault, TpsStyleCanvas* aCanvas) const;
  AnsiString GetAsString() const override;
  bool Equals(const TpsCSSAttribute& aOther) const override;

 private:
  Byte FKind = lhkText;
  AnsiString FText;
  double FNumber = 0;
  TpsCSSLength FLength;
  double FPercentage = 0;
};

// 0 static, 1 relative, 2 absolute, 3 fixed.
class TpsCSSPositionAttribute final : public TpsCSSAttributeCopy<TpsCSSPositionAttribute, TpsCSSAttribute> {
 public:
  explicit TpsCSSPositionAttribute(const AnsiString& aText);
  bool Known() const { return FKnown; }
  Byte Value() const { return FValue; }
  AnsiString GetAsString() const override;
  bool Equals(const TpsCSSAttribute& aOther) const override;

 private:
  bool FKnown = false;
  Byte FValue = 0;
  AnsiString FText;
};

constexpr Byte bokLength = 0, bokPercentage = 1, bokAuto = 2, bokInherit = 3;

class TpsCSSBoxOffsetAttribute : public TpsCSSAttribute {
 public:
  bool Known() const { return FKnown; }
  Byte Kind() const { return FKind; }
  Integer DirectionX() const { return FDirectionX; }
  Integer DirectionY() const { return FDirectionY; }
  // Not negative, then times the direction component that is not 0; em, ex
  // and percentages against the font size the stack computes (12 without).
  Integer GetOffsetInPixels(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const;
  AnsiString GetAsString() const override;
  void Assign(const TpsCSSAttribute& aSource) override;
  bool Equals(const TpsCSSAttribute& aOther) const override;

 protected:
  TpsCSSBoxOffsetAttribute(Integer aId, const AnsiString& aText, Integer aDirectionX,
                           Integer aDirectionY);

 private:
  bool FKnown = true;
  AnsiString FText;
  Byte FKind = bokLength;
  TpsCSSLength FLength;
  double FPercentage = 0;
  Integer FDirectionX;
  Integer FDirectionY;
};

#define PS_CSS_BOX_OFFSET_ATTRIBUTE(Name)                                     \
  class Name final : public TpsCSSBoxOffsetAttribute {                        \
   public:                                                                   \
    explicit Name(const AnsiString& aText);                                   \
    std::unique_ptr<TpsCSSAttribute> Clone() const override {                 \
      return std::make_unique<Name>(*this);                                   \
    }                                                                         \
  }
PS_CSS_BOX_OFFSET_ATTRIBUTE(TpsCSSTopAttribute);
PS_CSS_BOX_OFFSET_ATTRIBUTE(TpsCSSBottomAttribute);
PS_CSS_BOX_OFFSET_ATTRIBUTE(TpsCSSLeftAttribute);
PS_CSS_BOX_OFFSET_ATTRIBUTE(TpsCSSRightAttribute);
#undef PS_CSS_BOX_OFFSET_ATTRIBUTE

// The attribute of the class that serves aId, read from aValue; nullptr for
// a shorthand or an id outside the table.
std::unique_ptr<TpsCSSAttribute> CreateCssAttribute(Integer aId, const AnsiString& aValue);

// ---------------------------------------------------------------------------
// One attribute per property id, as copies of its own.

class TpsCSSAttributeList {
 public:
  explicit TpsCSSAttributeList(bool aOwnsAttributes = true) : FOwnsAttributes(aOwnsAttributes) {}
  static std::unique_ptr<TpsCSSAttributeList> CreateCopy(const TpsCSSAttributeList& aSource);
  TpsCSSAttributeList(const TpsCSSAttributeList&) = delete;
  TpsCSSAttributeList& operator=(const TpsCSSAttributeList&) = delete;

  // nullptr for an empty slot or an id outside the slots.
  TpsCSSAttribute* GetAttribute(Integer aId) const;
  bool HasAttribute(Integer aId) const { return GetAttribute(aId) != nullptr; }
  // The slot's attribute takes aAttribute's value, or a clone goes into an
  // empty slot; the caller keeps aAttribute.
  void SetAttribute(const TpsCSSAttribute& aAttribute);
  void DeleteAttribute(Integer aId);
  void MergeFrom(const TpsCSSAttributeList& aOther);
  void RemoveEqual(const TpsCSSAttributeList& aOther);
  bool SameAs(const TpsCSSAttributeList& aOther) const;
  void ApplyAll(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const;
  // Applies each attribute of aNew that aOld (may be nullptr) lacks or holds
  // differently.
  static void ApplyChanges(const TpsCSSAttributeList* aOld, TpsStyleCanvas* aCanvas,
                           const TpsCSSAttributeList& aNew, TpsStyleStack* aStyleStack);
  // Indented when the flag is set and more than one declaration is
  // written: the list's own, or aDeclarationCount when a style writes more
  // of its own after them.
  AnsiString GetAsString(Integer aDeclarationCount = -1) const;

  // The attribute must exist (EpsHtmlEditException otherwise).
  Integer GetLengthInPixels(Integer aId) const;
  TColor GetColor(Integer aId) const;
  Integer GetEnumValue(Integer aId) const;
  // 1 to 4; 0 when there is no text-align attribute.
  Integer GetTextAlign() const;
  void SetTextAlign(Integer aValue);

  Integer Count() const;  // present attributes
  Integer SlotCount() const { return static_cast<Integer>(FSlots.size()); }
  bool OwnsAttributes() const { return FOwnsAttributes; }

  bool LineBreaks = false;
  bool Indent = false;

 private:
  TpsCSSAttribute& Required(Integer aId) const;

  std::vector<std::unique_ptr<TpsCSSAttribute>> FSlots;
  bool FOwnsAttributes;
};

// ---------------------------------------------------------------------------
// Style rules and the style sheet

// Unit codes of a font size: 0 keyword or none, 1 pt, 2 pc, 3 in, 4 mm,
// 5 cm, 6 px, 7 em, 8 ex, 9 percent.
struct TpsFontSizeValue {
  double Value = 0;
  Byte Unit = 6;
};

class TpsStyle {
 public:
  TpsStyle(Integer aId, const AnsiString& aDeclarations);
  std::unique_ptr<TpsStyle> Clone() const;
  TpsStyle(const TpsStyle&) = delete;
  TpsStyle& operator=(const TpsStyle&) = delete;

  // Splits at ";" and ":" outside quotes and parentheses; unknown
  // properties are kept as unknown declarations.
  void SetDeclarations(const AnsiString& aText);
  // Raises EpsHtmlEditCssParserUnknownAttributeException for an unknown
  // name and EpsHtmlEditCssParserInvalidAttributeValueException for a value
  // it cannot take.
  void SetAttributeAsString(const AnsiString& aName, const AnsiString& aValue);
  // The name lower-cased; an empty value removes the entry.
  void AddUnknownDeclaration(const AnsiString& aName, const AnsiString& aValue);
  bool HasSameAttributes(const TpsStyle& aStyle) const {
    return FAttributes->SameAs(*aStyle.FAttributes);
  }
  void RemoveEqualAttributes(const TpsStyle& aStyle) { FAttributes->RemoveEqual(*aStyle.FAttributes); }
  AnsiString GetSelector() const { return FIsClass ? "." + FName : FName; }
  AnsiString GetAsString();
  AnsiString GetAttributesAsString() const;
  AnsiString GetFontFamily() const;
  TpsFontSizeValue GetFontSize() const;
  void SetBackgroundColor(const AnsiString& aValue) { SetAttributeAsString("background-color", aValue); }
  Integer GetTextAlign() const { return FAttributes->GetTextAlign(); }
  void SetTextAlign(Integer aValue) { FAttributes->SetTextAlign(aValue); }
  // Overwrites the value of the existing keyword attribute of that id.
  void SetAttributeValue(Integer aId, Byte aValue);

  Integer Id() const { return FId; }
  void SetId(Integer aId) { FId = aId; }
  // As the rule was written (case kept), without the class's ".".
  const AnsiString& Name() const { return FName; }
  void SetName(const AnsiString& aName) { FName = aName; }
  bool Output() const { return FOutput; }
  void SetOutput(bool aOutput) { FOutput = aOutput; }
  bool IsClass() const { return FIsClass; }
  void SetIsClass(bool aIsClass) { FIsClass = aIsClass; }
  TpsCSSAttributeList& Attributes() const { return *FAttributes; }
  const std::vector<std::pair<AnsiString, AnsiString>>& UnknownDeclarations() const {
    return FUnknown;
  }

  bool LineBreaks = false;
  bool MultiLine = false;
  bool BraceOnOwnLine = false;
  bool Indent = false;

 private:
  // With aLayout each is put on its line and indented as the flags say.
  AnsiString UnknownDeclarationsText(bool aLayout) const;
  // Attributes, and unknown declarations that write a name and a value.
  Integer DeclarationCount() const;

  Integer FId;
  AnsiString FName;
  bool FOutput = true;
  bool FIsClass = false;
  std::unique_ptr<TpsCSSAttributeList> FAttributes;
  std::vector<std::pair<AnsiString, AnsiString>> FUnknown;
};

AnsiString DeclarationsFontFamily(const AnsiString& aDeclarations);
TpsFontSizeValue DeclarationsFontSize(const AnsiString& aDeclarations);
// The declarations of aText whose attribute aBase does not hold equal.
AnsiString DeclarationsDifference(const AnsiString& aBase, const AnsiString& aText);

// (Sender, style name, property name, ioDelete): unless the handler sets
// ioDelete, the declaration is kept as an unknown declaration.
using TUnknownStyleAttributeEvent = std::function<void(TObjectPtr aSender, const AnsiString& aStyleName,
                                                       const AnsiString& aAttributeName, bool& ioDelete)>;

class TpsStyleSheet {
 public:
  TpsStyleSheet();
  ~TpsStyleSheet();
  TpsStyleSheet(const TpsStyleSheet&) = delete;
  TpsStyleSheet& operator=(const TpsStyleSheet&) = delete;

  // "." is put before a class's name; an existing selector (ASCII case
  // ignored) gives its id and changes nothing.
  Integer AddStyle(const AnsiString& aName, bool aIsClass, const AnsiString& aDeclarations,
                   bool aOutput);
  Integer AddStyleObject(std::unique_ptr<TpsStyle> aStyle);
  // -1 when absent; ASCII case ignored.
  Integer IndexOfStyle(const AnsiString& aSelector) const;
  TpsStyle* FindStyle(const AnsiString& aSelector) const;
  TpsStyle* GetStyle(Integer aId) const;
  TpsStyle* GetItem(Integer aIndex) const { return FStyles[aIndex].get(); }
  Integer GetCount() const { return static_cast<Integer>(FStyles.size()); }
  Integer GetMaxStyleId() const { return GetCount() - 1; }
  Integer InternalEmptyId() const { return FInternalEmptyId; }

  void SetStyleAttribute(const AnsiString& aStyleName, const AnsiString& aAttributeName,
                         const AnsiString& aValue, bool aIsClass,
                         const TUnknownStyleAttributeEvent& aOnUnknownAttribute);
  bool StyleHasAttribute(Integer aId, Integer aAttributeId) const;
  AnsiString GetFontFamily(const AnsiString& aSelector) const;
  TpsFontSizeValue GetFontSize(const AnsiString& aSelector) const;
  // 0 float left, 1 float right, 2 otherwise.
  Integer GetFloat(Integer aId) const;

  // At-rules ("@media ... { ... }", "@import ...;") kept verbatim in the
  // order read.
  void AddAtRule(const AnsiString& aText) { FAtRules.push_back(aText); }
  const std::vector<AnsiString>& AtRules() const { return FAtRules; }

  // @charset, @import and @namespace first, then the rules, then the other
  // at-rules.
  AnsiString GetAsString();

  TNotifyEvent OnDestroy;
  bool Beautify = false;

 private:
  std::vector<std::unique_ptr<TpsStyle>> FStyles;
  std::map<AnsiString, Integer> FIndex;  // lower-cased selector
  std::vector<AnsiString> FAtRules;
  Integer FInternalEmptyId = -1;
};

// ---------------------------------------------------------------------------
// Cascade cache: for each sequence of style ids the merged attribute list.

class TpsStyleContextTree {
 public:
  explicit TpsStyleContextTree(TpsStyleSheet* aStyleSheet);
  ~TpsStyleContextTree();
  TpsStyleContextTree(const TpsStyleContextTree&) = delete;
  TpsStyleContextTree& operator=(const TpsStyleContextTree&) = delete;

  void SetStyleSheet(TpsStyleSheet* aStyleSheet);
  TpsStyleSheet* StyleSheet() const { return FStyleSheet; }
  // Tells every subscriber, then drops every node.
  void Invalidate();
  void Subscribe(const void* aSubscriber, TNotifyEvent aHandler) {
    FSubscribers.Add(aSubscriber, std::move(aHandler));
  }
  void Unsubscribe(const void* aSubscriber) { FSubscribers.Remove(aSubscriber); }
  // Owned by the tree, valid until the next Invalidate; nullptr for no ids.
  const TpsCSSAttributeList* GetAttributes(const std::vector<Integer>& aIds);

  // Nodes made since the last Invalidate (for tests and benchmarks).
  Integer NodeCount() const { return FNodeCount; }

 private:
  struct Node {
    Integer StyleId;
    std::unique_ptr<TpsCSSAttributeList> Attributes;
    std::map<Integer, std::unique_ptr<Node>> Children;
  };
  std::unique_ptr<Node> MakeNode(const Node* aParent, Integer aStyleId);

  std::map<Integer, std::unique_ptr<Node>> FRoots;
  TpsStyleSheet* FStyleSheet = nullptr;  // not owned
  TpsNotificationEventHandlerList FSubscribers;
  Integer FNodeCount = 0;
};

// Attributes of one property, one per nesting level, outermost first; the
// attributes belong to the sheet's styles.
using TpsCSSAttributeSequence = std::vector<const TpsCSSAttribute*>;

// Style ids of nested elements; -1 opens a level, -2 separates an element's
// own styles from what follows.
class TpsStyleStack : public TpsIntStack {
 public:
  explicit TpsStyleStack(TpsStyleContextTree* aContextTree);
  ~TpsStyleStack() override;
  TpsStyleStack(const TpsStyleStack&) = delete;
  TpsStyleStack& operator=(const TpsStyleStack&) = delete;

  void BeginLevel() { Push(-1); }
  void PushStyle(Integer aId);
  void PushSeparator() { Push(-2); }
  // Pops up to and including the last -1.
  void EndLevel();
  // Drops the cached cascade and restores a saved state.
  void RestoreState(Integer aSlot);

  // The cascade of the ids on the stack; nullptr when there are none.
  const TpsCSSAttributeList* GetAttributes();
  const TpsCSSAttributeList* ApplyToCanvas();
  // The attribute must be in the cascade (EpsHtmlEditException otherwise).
  Integer GetEnumAttribute(Integer aId);
  Integer GetLengthInPixels(Integer aId);
  TColor GetColor(Integer aId);
  const TpsCSSLineHeightAttribute* GetLineHeightAttribute();
  Integer GetPosition();
  Integer GetRelativeLeftOffset() { return 0; }
  Integer GetRelativeTopOffset();
  TpsCSSAttributeSequence GetAttributeSequence(Integer aId) const;
  // The pixel size of the font at the top of the stack; 12 when no level
  // sets one that reads as a size.
  Integer GetFontPixelSize();

  void SetCanvas(TpsStyleCanvas* aCanvas) { FCanvas = aCanvas; }
  TpsStyleCanvas* Canvas() const { return FCanvas; }
  TpsStyleContextTree* ContextTree() const { return FContextTree; }

 private:
  void ApplyChangeFrom(const TpsCSSAttributeList* aOld);
  std::vector<Integer> StyleIds() const;
  const TpsCSSAttributeList& CascadeWith(Integer aId);

  TpsStyleCanvas* FCanvas = nullptr;       // not owned
  TpsStyleContextTree* FContextTree;       // not owned
  const TpsCSSAttributeList* FCascade = nullptr;  // owned by the tree
};

}  // namespace htmldoc
