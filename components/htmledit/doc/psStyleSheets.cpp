#include "htmledit/doc/psStyleSheets.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <typeinfo>

#include "htmledit/doc/psCssParser.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "rtl/Convert.h"
#include "rtl/Format.h"
#include "rtl/Strings.h"

namespace htmldoc {

namespace {

const char* const kPropertyNames[CSS_ATTRIBUTE_COUNT] = {
    "background-color", "margin", "margin-top", "margin-bottom", "margin-left", "margin-right",
    "border", "border-left", "border-top", "border-right", "border-bottom", "border-width",
    "border-top-width", "border-bottom-width", "border-left-width", "border-right-width",
    "border-color", "border-style", "border-collapse", "padding", "padding-top",
    "padding-bottom", "padding-left", "padding-right", "font-family", "font-size", "font-style",
    "font-weight", "text-decoration", "text-align", "text-transform", "letter-spacing",
    "word-spacing", "line-height", "width", "height", "color", "list-style-type", "float",
    "clear", "valign", "background-image", "text-transform", "position", "top", "bottom", "left",
    "right"};

// Rounds halves to even; a value that is not finite, or beyond the range of
// an Integer, never reaches the conversion.
Integer SafeRound(double aValue) {
  if (!std::isfinite(aValue)) return 0;
  if (aValue >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (aValue <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<Integer>(rtl::Round(aValue));
}

AnsiString Keyword(const AnsiString& aText) { return rtl::LowerCase(TrimCssWhitespace(aText)); }

// The text split as a length reads it: spaces removed, upper-cased, the
// trailing run of letters A to Z is the unit, the rest the number.
void SplitLengthText(const AnsiString& aText, AnsiString& aNumber, AnsiString& aUnit) {
  AnsiString text;
  text.reserve(aText.size());
  for (char c : aText)
    if (c != ' ') text += rtl::UpCase(c);
  size_t unitStart = text.size();
  while (unitStart > 0 && text[unitStart - 1] >= 'A' && text[unitStart - 1] <= 'Z') --unitStart;
  aNumber = text.substr(0, unitStart);
  aUnit = text.substr(unitStart);
}

const char* const kLengthUnits[] = {"EM", "EX", "PX", "IN", "CM", "MM", "PT", "PC"};

// A length in pixels against a base for em (and ex as its half) and the
// surface's pixels per inch.
double LengthToPixels(const TpsCSSLength& aLength, double aEmBase, double aPixelsPerInch) {
  const double v = aLength.Value;
  switch (aLength.Unit) {
    case cuEm: return v * aEmBase;
    case cuEx: return v * aEmBase / 2;
    case cuPx: return v;
    case cuIn: return v * aPixelsPerInch;
    case cuCm: return aPixelsPerInch * v / 2.54;
    case cuMm: return aPixelsPerInch * v / 25.4;
    case cuPt: return v * aPixelsPerInch / 72;
    case cuPc: return v * 12 * aPixelsPerInch / 72;
  }
  return 0;
}

Integer PixelsPerInch(const TpsStyleCanvas* aCanvas) {
  return aCanvas ? aCanvas->GetFontPixelsPerInch() : 96;
}

bool SameAttributeKind(const TpsCSSAttribute& a, const TpsCSSAttribute& b) {
  return a.Id() == b.Id() && a.Important == b.Important && typeid(a) == typeid(b);
}


// A value's trailing "!important", which the typed readings leave out and
// the writer puts back.
bool StripImportant(AnsiString& aValue) {
  AnsiString text = TrimSpaces(aValue);
  static const char kWord[] = "important";
  const size_t word = sizeof kWord - 1;
  if (text.size() <= word || !rtl::SameText(text.substr(text.size() - word), kWord)) return false;
  size_t bang = text.size() - word;
  while (bang > 0 && (text[bang - 1] == ' ' || text[bang - 1] == '\t')) --bang;
  if (bang == 0 || text[bang - 1] != '!') return false;
  // "!important" alone is no value with a priority.
  const AnsiString value = TrimCssWhitespace(text.substr(0, bang - 1));
  if (value.empty()) return false;
  aValue = value;
  return true;
}

// A name or value as it may stand in a declaration that is read again:
// balanced, braces escaped, and without what a reader trims.
AnsiString WritableText(const AnsiString& aText) {
  // Trimming can leave a lone backslash that balancing drops, which can
  // leave white space to trim: repeat until nothing changes.
  AnsiString text = TrimCssWhitespace(aText);
  for (;;) {
    AnsiString next = TrimCssWhitespace(BalanceCss(text, false));
    if (next == text) return text;
    text = std::move(next);
  }
}

bool IsCssWideKeyword(const AnsiString& aKeyword) {
  return aKeyword == "inherit" || aKeyword == "initial" || aKeyword == "unset" ||
         aKeyword == "revert";
}

}  // namespace

// ---------------------------------------------------------------------------
// Property ids

Integer TpsCSSAttributeIdList::IndexOf(const AnsiString& aName) {
  const AnsiString name = rtl::LowerCase(aName);
  for (Integer i = 0; i < CSS_ATTRIBUTE_COUNT; ++i)
    if (name == kPropertyNames[i]) return i;
  return -1;
}

AnsiString TpsCSSAttributeIdList::GetName(Integer aId) {
  if (aId < 0 || aId >= CSS_ATTRIBUTE_COUNT) return {};
  return kPropertyNames[aId];
}

// ---------------------------------------------------------------------------
// Value helpers

TColor ParseCssColor(const AnsiString& aText) {
  if (aText.size() == 7 && aText[0] == '#') {
    const Integer r = HexToInt(aText.substr(1, 2));
    const Integer g = HexToInt(aText.substr(3, 2));
    const Integer b = HexToInt(aText.substr(5, 2));
    return static_cast<TColor>(r + g * 256 + b * 65536);
  }
  if (aText.size() == 4 && aText[0] == '#' &&
      std::all_of(aText.begin() + 1, aText.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
    const auto digit = [&](size_t i) { return HexToInt(AnsiString(1, aText[i])) * 17; };
    return static_cast<TColor>(digit(1) + digit(2) * 256 + digit(3) * 65536);
  }
  if (aText.size() >= 10 && rtl::SameText(aText.substr(0, 3), "rgb")) {
    AnsiString list = TextBetweenChars(aText, '(', ')');
    Integer parts[3];
    for (Integer& part : parts)
      if (!PopListInteger(list, part) || part < 0 || part > 255) return clNone;
    if (!TrimSpaces(list).empty()) return clNone;
    return static_cast<TColor>(parts[0] + parts[1] * 256 + parts[2] * 65536);
  }
  return ColorNameToColor(aText);
}

bool IsCssColor(const AnsiString& aText) { return ParseCssColor(aText) != clNone; }

AnsiString ColorToCssString(TColor aColor) {
  if (aColor == clNone) return {};
  AnsiString name = ColorToColorName(aColor);
  if (!name.empty()) return name;
  return "#" + ByteToHex(aColor & 0xFF) + ByteToHex((aColor >> 8) & 0xFF) +
         ByteToHex((aColor >> 16) & 0xFF);
}

bool TextToLength(const AnsiString& aText, TpsCSSLength& aLength) {
  AnsiString number, unit;
  SplitLengthText(aText, number, unit);
  for (Byte u = 0; u < 8; ++u) {
    if (unit != kLengthUnits[u]) continue;
    double value = 0;
    if (number.empty() || !TryParseFloat(number, value)) return false;
    aLength.Unit = u;
    aLength.Value = value;
    return true;
  }
  return false;
}

AnsiString LengthToText(const TpsCSSLength& aLength) {
  const Byte unit = aLength.Unit < 8 ? aLength.Unit : cuPx;
  return rtl::Format("%g", {aLength.Value}) + rtl::LowerCase(kLengthUnits[unit]);
}

bool LengthEquals(const TpsCSSLength& a, const TpsCSSLength& b) {
  return a.Unit == b.Unit && a.Value == b.Value;
}

AnsiString MakeClassSelector(const AnsiString& aName) {
  if (aName.empty() || aName[0] == '.') return aName;
  return "." + aName;
}

bool ParseBorderWidthPx(const AnsiString& aText, Integer& aWidth) {
  AnsiString number, unit;
  SplitLengthText(aText, number, unit);
  return unit == "PX" && rtl::TryStrToInt(number, aWidth);
}

bool IsBorderStyleKeyword(const AnsiString& aText) {
  static const char* const kStyles[] = {"dotted", "dashed", "solid", "double",
                                        "groove", "ridge",  "inset", "outset"};
  for (const char* style : kStyles)
    if (aText.find(style) != AnsiString::npos) return true;
  return false;
}

bool TpsCSSAttribute::SameValue(const TpsCSSAttribute& aOther) const {
  std::unique_ptr<TpsCSSAttribute> probe = aOther.Clone();
  probe->FId = FId;
  return probe->Equals(*this);
}

// ---------------------------------------------------------------------------
// String attributes

std::unique_ptr<TpsCSSAttribute> TpsCSSStringAttribute::Clone() const {
  return std::make_unique<TpsCSSStringAttribute>(*this);
}

void TpsCSSStringAttribute::Assign(const TpsCSSAttribute& aSource) {
  TpsCSSAttribute::Assign(aSource);
  if (auto* source = dynamic_cast<const TpsCSSStringAttribute*>(&aSource)) FText = source->FText;
}

bool TpsCSSStringAttribute::Equals(const TpsCSSAttribute& aOther) const {
  return SameAttributeKind(*this, aOther) &&
         static_cast<const TpsCSSStringAttribute&>(aOther).FText == FText;
}

std::unique_ptr<TpsCSSAttribute> TpsCSSFontFamilyAttribute::Clone() const {
  return std::make_unique<TpsCSSFontFamilyAttribute>(*this);
}

void TpsCSSFontFamilyAttribute::ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack*) const {
  if (aCanvas) aCanvas->SetFontName(FText);
}

// ---------------------------------------------------------------------------
// Keyword attributes

struct TpsCSSKeyword {
  const char* Name;
  Byte Value;
};

struct TpsCSSKeywordTable {
  std::vector<TpsCSSKeyword> Read;   // lower-cased text to value
  Byte Default;
  std::vector<TpsCSSKeyword> Write;  // value to text
  // Text for a value Write lacks: nullptr writes the decimal value.
  const char* Otherwise;

  AnsiString NameOf(Byte aValue) const {
    for (const auto& k : Write)
      if (k.Value == aValue) return k.Name;
    return Otherwise ? AnsiString(Otherwise) : rtl::IntToStr(static_cast<Integer>(aValue));
  }
};

namespace {

const TpsCSSKeywordTable kTextDecoration{
    {{"underline", 2}, {"line-through", 1}}, 0, {{"none", 0}, {"line-through", 1}, {"underline", 2}}, nullptr};
const TpsCSSKeywordTable kTextAlign{{{"left", 1}, {"center", 2}, {"right", 3}, {"justify", 4}},
                                   1,
                                   {{"left", 1}, {"center", 2}, {"right", 3}, {"justify", 4}},
                                   ""};
const TpsCSSKeywordTable kTextTransform{
    {{"uppercase", 1}, {"lowercase", 2}, {"capitalize", 3}},
    0,
    {{"none", 0}, {"uppercase", 1}, {"lowercase", 2}, {"capitalize", 3}},
    nullptr};
const std::vector<TpsCSSKeyword> kBorderStyles{{"none", 1},   {"dotted", 2}, {"dashed", 3},
                                               {"solid", 4},  {"double", 5}, {"groove", 6},
                                               {"ridge", 7},  {"inset", 8},  {"outset", 9}};
const TpsCSSKeywordTable kBorderStyle{kBorderStyles, 4, kBorderStyles, nullptr};
const TpsCSSKeywordTable kBorderCollapse{{{"collapse", 1}}, 2, {{"collapse", 1}, {"separate", 2}}, nullptr};
const std::vector<TpsCSSKeyword> kListStyles{
    {"disc", 1},        {"circle", 2},      {"square", 3},      {"decimal", 4},
    {"lower-roman", 5}, {"upper-roman", 6}, {"lower-alpha", 7}, {"upper-alpha", 8}};
const TpsCSSKeywordTable kListStyleType{kListStyles, 0, kListStyles, "unknown"};
const TpsCSSKeywordTable kFloat{{{"left", 1}, {"right", 2}}, 3, {{"left", 1}, {"right", 2}, {"none", 3}}, nullptr};
const TpsCSSKeywordTable kClear{{{"left", 1}, {"right", 2}, {"both", 3}},
                                0,
                                {{"none", 0}, {"left", 1}, {"right", 2}, {"both", 3}},
                                nullptr};

}  // namespace

TpsCSSIntegerAttribute::TpsCSSIntegerAttribute(Integer aId, const AnsiString& aText,
                                               const TpsCSSKeywordTable& aTable)
    : TpsCSSAttribute(aId), FValue(aTable.Default), FTable(&aTable) {
  const AnsiString keyword = Keyword(aText);
  for (const auto& k : aTable.Read) {
    if (keyword == k.Name) {
      FValue = k.Value;
      break;
    }
  }
  // A keyword the class lacks ("overline", "inherit") is written back as
  // it came.
  if (keyword != aTable.NameOf(FValue)) FText = TrimCssWhitespace(aText);
}

AnsiString TpsCSSIntegerAttribute::GetAsString() const {
  return FText.empty() ? FTable->NameOf(FValue) : FText;
}

std::unique_ptr<TpsCSSAttribute> TpsCSSIntegerAttribute::Clone() const {
  return std::unique_ptr<TpsCSSAttribute>(new TpsCSSIntegerAttribute(*this));
}

void TpsCSSIntegerAttribute::Assign(const TpsCSSAttribute& aSource) {
  TpsCSSAttribute::Assign(aSource);
  if (auto* source = dynamic_cast<const TpsCSSIntegerAttribute*>(&aSource)) {
    FValue = source->FValue;
    FText = source->FText;
    FTable = source->FTable;
  }
}

bool TpsCSSIntegerAttribute::Equals(const TpsCSSAttribute& aOther) const {
  if (!SameAttributeKind(*this, aOther)) return false;
  const auto& other = static_cast<const TpsCSSIntegerAttribute&>(aOther);
  return other.FValue == FValue && rtl::SameText(other.FText, FText);
}

TpsCSSTextDecorationAttribute::TpsCSSTextDecorationAttribute(const AnsiString& aText)
    : TpsCSSIntegerAttribute(CSS_TEXT_DECORATION, aText, kTextDecoration) {}
TpsCSSTextTransformAttribute::TpsCSSTextTransformAttribute(const AnsiString& aText)
    : TpsCSSIntegerAttribute(CSS_TEXT_TRANSFORM, aText, kTextTransform) {}
TpsCSSBorderStyleAttribute::TpsCSSBorderStyleAttribute(const AnsiString& aText)
    : TpsCSSIntegerAttribute(CSS_BORDER_STYLE, aText, kBorderStyle) {}
TpsCSSBorderCollapseAttribute::TpsCSSBorderCollapseAttribute(const AnsiString& aText)
    : TpsCSSIntegerAttribute(CSS_BORDER_COLLAPSE, aText, kBorderCollapse) {}
TpsCSSListStyleTypeAttribute::TpsCSSListStyleTypeAttribute(const AnsiString& aText)
    : TpsCSSIntegerAttribute(CSS_LIST_STYLE_TYPE, aText, kListStyleType) {}
TpsCSSFloatAttribute::TpsCSSFloatAttribute(const AnsiString& aText)
    : TpsCSSIntegerAttribute(CSS_FLOAT, aText, kFloat) {}
TpsCSSClearAttribute::TpsCSSClearAttribute(const AnsiString& aText)
    : TpsCSSIntegerAttribute(CSS_CLEAR, aText, kClear) {}
TpsCSSTextAlignAttribute::TpsCSSTextAlignAttribute(const AnsiString& aText)
    : TpsCSSIntegerAttribute(CSS_TEXT_ALIGN, aText, kTextAlign) {}
TpsCSSTextAlignAttribute::TpsCSSTextAlignAttribute(Byte aValue)
    : TpsCSSIntegerAttribute(CSS_TEXT_ALIGN, static_cast<Byte>(aValue & 0x7F), kTextAlign) {}

// ---------------------------------------------------------------------------
// Boolean attributes

TpsCSSBooleanAttribute::TpsCSSBooleanAttribute(Integer aId, bool aValue, const AnsiString& aText,
                                               const char* aTrueName, const char* aFalseName)
    : TpsCSSAttribute(aId), FValue(aValue) {
  if (Keyword(aText) != (aValue ? aTrueName : aFalseName)) FText = TrimCssWhitespace(aText);
}

AnsiString TpsCSSBooleanAttribute::ValueName() const { return FValue ? "true" : "false"; }

AnsiString TpsCSSBooleanAttribute::GetAsString() const { return FText.empty() ? ValueName() : FText; }

void TpsCSSBooleanAttribute::Assign(const TpsCSSAttribute& aSource) {
  TpsCSSAttribute::Assign(aSource);
  if (auto* source = dynamic_cast<const TpsCSSBooleanAttribute*>(&aSource)) {
    FValue = source->FValue;
    FText = source->FText;
  }
}

bool TpsCSSBooleanAttribute::Equals(const TpsCSSAttribute& aOther) const {
  if (!SameAttributeKind(*this, aOther)) return false;
  const auto& other = static_cast<const TpsCSSBooleanAttribute&>(aOther);
  return other.FValue == FValue && rtl::SameText(other.FText, FText);
}

TpsCSSFontStyleAttribute::TpsCSSFontStyleAttribute(const AnsiString& aText)
    : TpsCSSBooleanAttribute(CSS_FONT_STYLE, Keyword(aText) == "italic", aText, "italic", "normal") {}

AnsiString TpsCSSFontStyleAttribute::ValueName() const { return FValue ? "italic" : "normal"; }

void TpsCSSFontStyleAttribute::ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack*) const {
  if (aCanvas) aCanvas->SetFontItalic(FValue);
}

namespace {

bool IsBoldWeight(const AnsiString& aText) {
  const AnsiString keyword = Keyword(aText);
  if (keyword == "bold" || keyword == "bolder") return true;
  Integer weight = 0;
  return rtl::TryStrToInt(keyword, weight) && weight >= 600 && weight <= 900;
}

}  // namespace

TpsCSSFontWeightAttribute::TpsCSSFontWeightAttribute(const AnsiString& aText)
    : TpsCSSBooleanAttribute(CSS_FONT_WEIGHT, IsBoldWeight(aText), aText, "bold", "normal") {}

AnsiString TpsCSSFontWeightAttribute::ValueName() const { return FValue ? "bold" : "normal"; }

void TpsCSSFontWeightAttribute::ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack*) const {
  if (aCanvas) aCanvas->SetFontBold(FValue);
}

// ---------------------------------------------------------------------------
// Colours

TpsCSSAbstractColorAttribute::TpsCSSAbstractColorAttribute(Integer aId, const AnsiString& aText)
    : TpsCSSAttributeCopy(aId) {
  const AnsiString text = TrimCssWhitespace(aText);
  if (text.empty()) {
    FColor = 0x00FFFFFF;
    return;
  }
  FColor = ParseCssColor(text);
  if (FColor == clNone) FText = text;
}

AnsiString TpsCSSAbstractColorAttribute::GetAsString() const {
  return FText.empty() ? ColorToCssString(FColor) : FText;
}

bool TpsCSSAbstractColorAttribute::Equals(const TpsCSSAttribute& aOther) const {
  if (!SameAttributeKind(*this, aOther)) return false;
  const auto& other = static_cast<const TpsCSSAbstractColorAttribute&>(aOther);
  return other.FColor == FColor && rtl::SameText(other.FText, FText);
}

void TpsCSSColorAttribute::ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack*) const {
  // Text the reader does not know ("currentColor") gives no colour to set.
  if (aCanvas && FColor != clNone) aCanvas->SetFontColor(FColor);
}

// ---------------------------------------------------------------------------
// Lengths

TpsCSSLengthAttribute::TpsCSSLengthAttribute(Integer aId, const AnsiString& aText)
    : TpsCSSAttributeCopy(aId), FText(TrimCssWhitespace(aText)) {
  AnsiString number, unit;
  SplitLengthText(aText, number, unit);
  double value = 0;
  if (!number.empty() && TryParseFloat(number, value)) {
    FValue = value;
    FUnit = unit == "IN" ? luIn : luPx;
  }
}

Integer TpsCSSLengthAttribute::GetPixels() const {
  return SafeRound(FUnit == luIn ? FValue * 96 : FValue);
}

AnsiString TpsCSSLengthAttribute::GetAsString() const {
  if (!FText.empty()) return FText;
  if (FUnit == luIn) return rtl::Format("%.2f", {FValue}) + "in";
  return rtl::IntToStr(SafeRound(FValue)) + "px";
}

bool TpsCSSLengthAttribute::Equals(const TpsCSSAttribute& aOther) const {
  if (!SameAttributeKind(*this, aOther)) return false;
  const auto& other = static_cast<const TpsCSSLengthAttribute&>(aOther);
  return other.FValue == FValue && other.FUnit == FUnit && rtl::SameText(other.GetAsString(), GetAsString());
}

// ---------------------------------------------------------------------------
// Font size

TpsCSSFontSizeAttribute::TpsCSSFontSizeAttribute(const AnsiString& aText)
    : TpsCSSAttributeCopy(CSS_FONT_SIZE) {
  if (TextToLength(aText, FLength))
    FKind = fskLength;
  else if (ParsePercentage(aText, FPercentage))
    FKind = fskPercentage;
  else
    FText = aText;
}

Integer TpsCSSFontSizeAttribute::GetPixelSizeFor(Integer aParentSize, Integer aPixelsPerInch) const {
  switch (FKind) {
    case fskLength: return SafeRound(LengthToPixels(FLength, aParentSize, aPixelsPerInch));
    case fskPercentage: return SafeRound(aParentSize * FPercentage / 100);
    default: return -1;
  }
}

Integer TpsCSSFontSizeAttribute::GetPixelSize(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const {
  const Integer ppi = PixelsPerInch(aCanvas);
  Integer parent = 12;
  if (aStyleStack) {
    // This attribute is the top of the stack's font-size sequence; the
    // levels below it give the parent size, outermost first.
    const TpsCSSAttributeSequence sequence = aStyleStack->GetAttributeSequence(CSS_FONT_SIZE);
    for (size_t i = 0; i + 1 < sequence.size(); ++i) {
      const auto* size = dynamic_cast<const TpsCSSFontSizeAttribute*>(sequence[i]);
      const Integer pixels = size ? size->GetPixelSizeFor(parent, ppi) : -1;
      if (pixels != -1) parent = pixels;
    }
  }
  return GetPixelSizeFor(parent, ppi);
}

AnsiString TpsCSSFontSizeAttribute::GetAsString() const {
  switch (FKind) {
    case fskLength: return LengthToText(FLength);
    case fskPercentage: return rtl::Format("%g%%", {FPercentage});
    default: return FText;
  }
}

bool TpsCSSFontSizeAttribute::Equals(const TpsCSSAttribute& aOther) const {
  if (!SameAttributeKind(*this, aOther)) return false;
  const auto& other = static_cast<const TpsCSSFontSizeAttribute&>(aOther);
  if (other.FKind != FKind) return false;
  switch (FKind) {
    case fskLength: return LengthEquals(FLength, other.FLength);
    case fskPercentage: return FPercentage == other.FPercentage;
    default: return rtl::SameText(FText, other.FText);
  }
}

void TpsCSSFontSizeAttribute::ApplyToCanvas(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const {
  if (!aCanvas) return;
  const Integer size = GetPixelSize(aCanvas, aStyleStack);
  if (size != -1 && size != aCanvas->GetFontHeight()) aCanvas->SetFontHeight(-size);
}

// ---------------------------------------------------------------------------
// Line height

TpsCSSLineHeightAttribute::TpsCSSLineHeightAttribute(const AnsiString& aText)
    : TpsCSSAttributeCopy(CSS_LINE_HEIGHT) {
  if (TextToLength(aText, FLength))
    FKind = lhkLength;
  else if (ParsePercentage(aText, FPercentage))
    FKind = lhkPercentage;
  else if (TryParseFloat(aText, FNumber))
    FKind = lhkNumber;
  else if (Keyword(aText) == "normal")
    FKind = lhkNormal;
  else
    FText = aText;
}

Integer TpsCSSLineHeightAttribute::GetLineHeight(Integer aDefault, TpsStyleCanvas* aCanvas) const {
  const double fontHeight = aCanvas ? std::abs(static_cast<double>(aCanvas->GetFontHeight())) : 0;
  switch (FKind) {
    case lhkNormal: return SafeRound(fontHeight);
    case lhkNumber: return SafeRound(fontHeight * FNumber);
    case lhkPercentage: return SafeRound(fontHeight * FPercentage / 100);
    case lhkLength:
      if (FLength.Unit == cuEx) return SafeRound((aCanvas ? aCanvas->GetXHeight() : 0) * FLength.Value);
      return SafeRound(LengthToPixels(FLength, fontHeight, PixelsPerInch(aCanvas)));
    default: return aDefault;
  }
}

AnsiString TpsCSSLineHeightAttribute::GetAsString() const {
  switch (FKind) {
    case lhkNormal: return "normal";
    case lhkNumber: return rtl::Format("%g", {FNumber});
    case lhkLength: return LengthToText(FLength);
    case lhkPercentage: return rtl::Format("%g%%", {FPercentage});
    default: return FText;
  }
}

bool TpsCSSLineHeightAttribute::Equals(const TpsCSSAttribute& aOther) const {
  if (!SameAttributeKind(*this, aOther)) return false;
  const auto& other = static_cast<const TpsCSSLineHeightAttribute&>(aOther);
  if (other.FKind != FKind) return false;
  switch (FKind) {
    case lhkNormal: return true;
    case lhkNumber: return FNumber == other.FNumber;
    case lhkLength: return LengthEquals(FLength, other.FLength);
    case lhkPercentage: return FPercentage == other.FPercentage;
    default: return rtl::SameText(FText, other.FText);
  }
}

// ---------------------------------------------------------------------------
// Position and box offsets

TpsCSSPositionAttribute::TpsCSSPositionAttribute(const AnsiString& aText)
    : TpsCSSAttributeCopy(CSS_POSITION) {
  static const char* const kPositions[] = {"static", "relative", "absolute", "fixed"};
  const AnsiString keyword = Keyword(aText);
  for (Byte i = 0; i < 4; ++i) {
    if (keyword == kPositions[i]) {
      FKnown = true;
      FValue = i;
      return;
    }
  }
  FText = aText;
}

AnsiString TpsCSSPositionAttribute::GetAsString() const {
  static const char* const kPositions[] = {"static", "relative", "absolute", "fixed"};
  return FKnown ? AnsiString(kPositions[FValue & 3]) : FText;
}

bool TpsCSSPositionAttribute::Equals(const TpsCSSAttribute& aOther) const {
  if (!SameAttributeKind(*this, aOther)) return false;
  const auto& other = static_cast<const TpsCSSPositionAttribute&>(aOther);
  if (other.FKnown != FKnown) return false;
  return FKnown ? FValue == other.FValue : rtl::SameText(TrimSpaces(FText), TrimSpaces(other.FText));
}

TpsCSSBoxOffsetAttribute::TpsCSSBoxOffsetAttribute(Integer aId, const AnsiString& aText,
                                                   Integer aDirectionX, Integer aDirectionY)
    : TpsCSSAttribute(aId), FDirectionX(aDirectionX), FDirectionY(aDirectionY) {
  const AnsiString keyword = Keyword(aText);
  if (TextToLength(aText, FLength)) {
    FKind = bokLength;
  } else if (ParsePercentage(aText, FPercentage)) {
    FKind = bokPercentage;
  } else if (keyword == "auto") {
    FKind = bokAuto;
  } else if (keyword == "inherit") {
    FKind = bokInherit;
  } else {
    FKnown = false;
    FKind = bokAuto;
    FText = aText;
  }
}

Integer TpsCSSBoxOffsetAttribute::GetOffsetInPixels(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const {
  if (!FKnown) return 0;
  double pixels = 0;
  const double base = aStyleStack ? aStyleStack->GetFontPixelSize() : 12;
  if (FKind == bokLength)
    pixels = LengthToPixels(FLength, base, PixelsPerInch(aCanvas));
  else if (FKind == bokPercentage)
    pixels = base * FPercentage / 100;
  Integer result = SafeRound(pixels);
  if (result < 0) result = 0;
  return result * (FDirectionX != 0 ? FDirectionX : FDirectionY);
}

AnsiString TpsCSSBoxOffsetAttribute::GetAsString() const {
  if (!FKnown) return FText;
  switch (FKind) {
    case bokLength: return LengthToText(FLength);
    case bokPercentage: return rtl::Format("%g%%", {FPercentage});
    case bokAuto: return "auto";
    default: return "inherit";
  }
}

void TpsCSSBoxOffsetAttribute::Assign(const TpsCSSAttribute& aSource) {
  if (auto* source = dynamic_cast<const TpsCSSBoxOffsetAttribute*>(&aSource))
    *this = *source;
  else
    TpsCSSAttribute::Assign(aSource);
}

bool TpsCSSBoxOffsetAttribute::Equals(const TpsCSSAttribute& aOther) const {
  if (!SameAttributeKind(*this, aOther)) return false;
  const auto& other = static_cast<const TpsCSSBoxOffsetAttribute&>(aOther);
  if (other.FKnown != FKnown) return false;
  if (!FKnown) return rtl::SameText(TrimSpaces(FText), TrimSpaces(other.FText));
  if (other.FKind != FKind) return false;
  if (FKind == bokLength) return LengthEquals(FLength, other.FLength);
  if (FKind == bokPercentage) return FPercentage == other.FPercentage;
  return true;
}

TpsCSSTopAttribute::TpsCSSTopAttribute(const AnsiString& aText)
    : TpsCSSBoxOffsetAttribute(CSS_TOP, aText, 0, 1) {}
TpsCSSBottomAttribute::TpsCSSBottomAttribute(const AnsiString& aText)
    : TpsCSSBoxOffsetAttribute(CSS_BOTTOM, aText, 0, -1) {}
TpsCSSLeftAttribute::TpsCSSLeftAttribute(const AnsiString& aText)
    : TpsCSSBoxOffsetAttribute(CSS_LEFT, aText, 1, 0) {}
TpsCSSRightAttribute::TpsCSSRightAttribute(const AnsiString& aText)
    : TpsCSSBoxOffsetAttribute(CSS_RIGHT, aText, -1, 0) {}

std::unique_ptr<TpsCSSAttribute> CreateCssAttribute(Integer aId, const AnsiString& aValue) {
  switch (aId) {
    case CSS_BACKGROUND_COLOR:
    case CSS_BORDER_COLOR:
      return std::make_unique<TpsCSSAbstractColorAttribute>(aId, aValue);
    case CSS_COLOR: return std::make_unique<TpsCSSColorAttribute>(aValue);
    case CSS_MARGIN_TOP: case CSS_MARGIN_BOTTOM: case CSS_MARGIN_LEFT: case CSS_MARGIN_RIGHT:
    case CSS_BORDER_TOP_WIDTH: case CSS_BORDER_BOTTOM_WIDTH: case CSS_BORDER_LEFT_WIDTH:
    case CSS_BORDER_RIGHT_WIDTH: case CSS_PADDING_TOP: case CSS_PADDING_BOTTOM:
    case CSS_PADDING_LEFT: case CSS_PADDING_RIGHT: case CSS_LETTER_SPACING:
    case CSS_WORD_SPACING: case CSS_WIDTH: case CSS_HEIGHT: case CSS_VALIGN:
      return std::make_unique<TpsCSSLengthAttribute>(aId, aValue);
    case CSS_BORDER_STYLE: return std::make_unique<TpsCSSBorderStyleAttribute>(aValue);
    case CSS_BORDER_COLLAPSE: return std::make_unique<TpsCSSBorderCollapseAttribute>(aValue);
    case CSS_FONT_FAMILY: return std::make_unique<TpsCSSFontFamilyAttribute>(aValue);
    case CSS_FONT_SIZE: return std::make_unique<TpsCSSFontSizeAttribute>(aValue);
    case CSS_FONT_STYLE: return std::make_unique<TpsCSSFontStyleAttribute>(aValue);
    case CSS_FONT_WEIGHT: return std::make_unique<TpsCSSFontWeightAttribute>(aValue);
    case CSS_TEXT_DECORATION: return std::make_unique<TpsCSSTextDecorationAttribute>(aValue);
    case CSS_TEXT_ALIGN: return std::make_unique<TpsCSSTextAlignAttribute>(aValue);
    case CSS_TEXT_TRANSFORM: return std::make_unique<TpsCSSTextTransformAttribute>(aValue);
    case CSS_LINE_HEIGHT: return std::make_unique<TpsCSSLineHeightAttribute>(aValue);
    case CSS_LIST_STYLE_TYPE: return std::make_unique<TpsCSSListStyleTypeAttribute>(aValue);
    case CSS_FLOAT: return std::make_unique<TpsCSSFloatAttribute>(aValue);
    case CSS_CLEAR: return std::make_unique<TpsCSSClearAttribute>(aValue);
    case CSS_BACKGROUND_IMAGE: return std::make_unique<TpsCSSStringAttribute>(aId, aValue);
    case CSS_POSITION: return std::make_unique<TpsCSSPositionAttribute>(aValue);
    case CSS_TOP: return std::make_unique<TpsCSSTopAttribute>(aValue);
    case CSS_BOTTOM: return std::make_unique<TpsCSSBottomAttribute>(aValue);
    case CSS_LEFT: return std::make_unique<TpsCSSLeftAttribute>(aValue);
    case CSS_RIGHT: return std::make_unique<TpsCSSRightAttribute>(aValue);
    default: return nullptr;
  }
}

// ---------------------------------------------------------------------------
// TpsCSSAttributeList

std::unique_ptr<TpsCSSAttributeList> TpsCSSAttributeList::CreateCopy(const TpsCSSAttributeList& aSource) {
  auto copy = std::make_unique<TpsCSSAttributeList>(aSource.FOwnsAttributes);
  copy->FSlots.resize(aSource.FSlots.size());
  for (size_t i = 0; i < aSource.FSlots.size(); ++i)
    if (aSource.FSlots[i]) copy->FSlots[i] = aSource.FSlots[i]->Clone();
  copy->LineBreaks = aSource.LineBreaks;
  copy->Indent = aSource.Indent;
  return copy;
}

TpsCSSAttribute* TpsCSSAttributeList::GetAttribute(Integer aId) const {
  if (aId < 0 || static_cast<size_t>(aId) >= FSlots.size()) return nullptr;
  return FSlots[aId].get();
}

void TpsCSSAttributeList::SetAttribute(const TpsCSSAttribute& aAttribute) {
  const Integer id = aAttribute.Id();
  if (id < 0) return;
  if (static_cast<size_t>(id) >= FSlots.size()) FSlots.resize(id + 1);
  TpsCSSAttribute* slot = FSlots[id].get();
  if (slot && typeid(*slot) == typeid(aAttribute))
    slot->Assign(aAttribute);
  else
    FSlots[id] = aAttribute.Clone();
}

void TpsCSSAttributeList::DeleteAttribute(Integer aId) {
  if (aId >= 0 && static_cast<size_t>(aId) < FSlots.size()) FSlots[aId].reset();
}

void TpsCSSAttributeList::MergeFrom(const TpsCSSAttributeList& aOther) {
  for (const auto& attribute : aOther.FSlots)
    if (attribute) SetAttribute(*attribute);
}

void TpsCSSAttributeList::RemoveEqual(const TpsCSSAttributeList& aOther) {
  for (size_t i = 0; i < FSlots.size(); ++i) {
    const TpsCSSAttribute* other = aOther.GetAttribute(static_cast<Integer>(i));
    if (FSlots[i] && other && FSlots[i]->Equals(*other)) FSlots[i].reset();
  }
}

bool TpsCSSAttributeList::SameAs(const TpsCSSAttributeList& aOther) const {
  const size_t slots = std::max(FSlots.size(), aOther.FSlots.size());
  for (size_t i = 0; i < slots; ++i) {
    const TpsCSSAttribute* mine = GetAttribute(static_cast<Integer>(i));
    const TpsCSSAttribute* other = aOther.GetAttribute(static_cast<Integer>(i));
    if (!mine && !other) continue;
    if (!mine || !other || !mine->Equals(*other)) return false;
  }
  return true;
}

void TpsCSSAttributeList::ApplyAll(TpsStyleCanvas* aCanvas, TpsStyleStack* aStyleStack) const {
  for (const auto& attribute : FSlots)
    if (attribute) attribute->ApplyToCanvas(aCanvas, aStyleStack);
}

void TpsCSSAttributeList::ApplyChanges(const TpsCSSAttributeList* aOld, TpsStyleCanvas* aCanvas,
                                       const TpsCSSAttributeList& aNew, TpsStyleStack* aStyleStack) {
  for (const auto& attribute : aNew.FSlots) {
    if (!attribute) continue;
    const TpsCSSAttribute* old = aOld ? aOld->GetAttribute(attribute->Id()) : nullptr;
    if (!old || !old->Equals(*attribute)) attribute->ApplyToCanvas(aCanvas, aStyleStack);
  }
}

Integer TpsCSSAttributeList::Count() const {
  Integer count = 0;
  for (const auto& attribute : FSlots) count += attribute != nullptr;
  return count;
}

AnsiString TpsCSSAttributeList::GetAsString(Integer aDeclarationCount) const {
  AnsiString text;
  bool first = true;
  const bool indent = Indent && (aDeclarationCount < 0 ? Count() : aDeclarationCount) > 1;
  const auto write = [&](const char* aName, const TpsCSSAttribute& aAttribute) {
    // A value that writes as nothing would read back as another value.
    const AnsiString value = WritableText(aAttribute.GetAsString());
    if (value.empty()) return;
    if (!first && LineBreaks) text += "\r\n";
    if (indent) text += "  ";
    first = false;
    text += aName;
    text += ':';
    text += value;
    if (aAttribute.Important) text += " !important";
    text += ';';
  };
  // Four equal sides are written as one shorthand; the border widths as
  // "border-width", since a "border" declaration would also reset the
  // style and colour in a browser.
  struct Shorthand {
    const char* Name;
    Integer Top, Right, Bottom, Left;
  };
  static const Shorthand kShorthands[] = {
      {"margin", CSS_MARGIN_TOP, CSS_MARGIN_RIGHT, CSS_MARGIN_BOTTOM, CSS_MARGIN_LEFT},
      {"padding", CSS_PADDING_TOP, CSS_PADDING_RIGHT, CSS_PADDING_BOTTOM, CSS_PADDING_LEFT},
      {"border-width", CSS_BORDER_TOP_WIDTH, CSS_BORDER_RIGHT_WIDTH, CSS_BORDER_BOTTOM_WIDTH,
       CSS_BORDER_LEFT_WIDTH}};
  std::vector<bool> written(FSlots.size(), false);
  for (const auto& s : kShorthands) {
    const TpsCSSAttribute* top = GetAttribute(s.Top);
    bool same = top != nullptr;
    for (Integer side : {s.Right, s.Bottom, s.Left}) {
      const TpsCSSAttribute* other = GetAttribute(side);
      same = same && other && top->SameValue(*other);
    }
    if (!same) continue;
    write(s.Name, *top);
    for (Integer side : {s.Top, s.Right, s.Bottom, s.Left}) written[side] = true;
  }
  for (size_t i = 0; i < FSlots.size(); ++i)
    if (FSlots[i] && !written[i]) write(kPropertyNames[i], *FSlots[i]);
  return text;
}

TpsCSSAttribute& TpsCSSAttributeList::Required(Integer aId) const {
  TpsCSSAttribute* attribute = GetAttribute(aId);
  if (!attribute)
    throw EpsHtmlEditException(rtl::Format("TpsCSSAttributeList: no attribute \"%s\"",
                                           {TpsCSSAttributeIdList::GetName(aId)}));
  return *attribute;
}

Integer TpsCSSAttributeList::GetLengthInPixels(Integer aId) const {
  auto* length = dynamic_cast<const TpsCSSLengthAttribute*>(&Required(aId));
  return length ? length->GetPixels() : 0;
}

TColor TpsCSSAttributeList::GetColor(Integer aId) const {
  auto* color = dynamic_cast<const TpsCSSAbstractColorAttribute*>(&Required(aId));
  return color ? color->Color() : clNone;
}

Integer TpsCSSAttributeList::GetEnumValue(Integer aId) const {
  const TpsCSSAttribute& attribute = Required(aId);
  if (auto* keyword = dynamic_cast<const TpsCSSIntegerAttribute*>(&attribute)) return keyword->Value();
  if (auto* flag = dynamic_cast<const TpsCSSBooleanAttribute*>(&attribute)) return flag->Value();
  if (auto* position = dynamic_cast<const TpsCSSPositionAttribute*>(&attribute)) return position->Value();
  return 0;
}

Integer TpsCSSAttributeList::GetTextAlign() const {
  auto* align = dynamic_cast<const TpsCSSIntegerAttribute*>(GetAttribute(CSS_TEXT_ALIGN));
  return align ? align->Value() : 0;
}

void TpsCSSAttributeList::SetTextAlign(Integer aValue) {
  if (auto* align = dynamic_cast<TpsCSSTextAlignAttribute*>(GetAttribute(CSS_TEXT_ALIGN)))
    align->SetValue(static_cast<Byte>(aValue));
  else
    SetAttribute(TpsCSSTextAlignAttribute(static_cast<Byte>(aValue)));
}

// ---------------------------------------------------------------------------
// TpsStyle

TpsStyle::TpsStyle(Integer aId, const AnsiString& aDeclarations)
    : FId(aId), FAttributes(std::make_unique<TpsCSSAttributeList>(true)) {
  SetDeclarations(aDeclarations);
}

std::unique_ptr<TpsStyle> TpsStyle::Clone() const {
  auto copy = std::make_unique<TpsStyle>(FId, AnsiString());
  copy->FName = FName;
  copy->FIsClass = FIsClass;
  copy->FOutput = FOutput;
  copy->FAttributes = TpsCSSAttributeList::CreateCopy(*FAttributes);
  copy->FUnknown = FUnknown;
  copy->LineBreaks = LineBreaks;
  copy->MultiLine = MultiLine;
  copy->BraceOnOwnLine = BraceOnOwnLine;
  copy->Indent = Indent;
  return copy;
}

void TpsStyle::SetDeclarations(const AnsiString& aText) {
  for (const AnsiString& piece : SplitCssTopLevel(aText, ';')) {
    const size_t colon = FindCssTopLevel(piece, ':');
    if (colon == AnsiString::npos) continue;
    // Inline styles may run over several lines.
    const AnsiString name = TrimCssWhitespace(piece.substr(0, colon));
    const AnsiString value = TrimCssWhitespace(piece.substr(colon + 1));
    try {
      SetAttributeAsString(name, value);
    } catch (const EpsHtmlEditCssParserUnknownAttributeException&) {
      AddUnknownDeclaration(name, value);
    }
  }
}

namespace {

// CSS's one to four values: top, right, bottom, left.
std::vector<AnsiString> ExpandBoxSides(const std::vector<AnsiString>& aWords) {
  switch (aWords.size()) {
    case 0: return {"", "", "", ""};
    case 1: return {aWords[0], aWords[0], aWords[0], aWords[0]};
    case 2: return {aWords[0], aWords[1], aWords[0], aWords[1]};
    case 3: return {aWords[0], aWords[1], aWords[2], aWords[1]};
    case 4: return aWords;
    default: return {};
  }
}

std::vector<AnsiString> SplitCssWords(const AnsiString& aText) {
  std::vector<AnsiString> words;
  for (AnsiString& word : SplitCssTopLevel(CollapseCssWhitespace(aText), ' '))
    if (!word.empty()) words.push_back(std::move(word));
  return words;
}

bool IsBorderWidthWord(const AnsiString& aWord) {
  TpsCSSLength length;
  if (TextToLength(aWord, length)) return true;
  if (aWord == "thin" || aWord == "medium" || aWord == "thick") return true;
  double number = 0;
  return TryParseFloat(aWord, number) && number == 0;
}

bool IsBorderColorWord(const AnsiString& aWord) {
  if (IsCssColor(aWord) || aWord == "currentcolor") return true;
  for (const char* function : {"rgb(", "rgba(", "hsl(", "hsla("})
    if (aWord.rfind(function, 0) == 0) return true;
  return false;
}

}  // namespace

void TpsStyle::SetAttributeAsString(const AnsiString& aName, const AnsiString& aValue) {
  const Integer id = TpsCSSAttributeIdList::IndexOf(aName);
  if (id < 0)
    throw EpsHtmlEditCssParserUnknownAttributeException(
        rtl::Format("TpsStyle.SetAttributeAsString: Unknown CSS attribute name \"%s\"", {aName}));
  const auto invalid = [&]() {
    return EpsHtmlEditCssParserInvalidAttributeValueException(
        rtl::Format("TpsStyle.SetAttributeAsString: Invalid CSS attribute value \"%s\"", {aValue}));
  };
  try {
    AnsiString value = aValue;
    const bool important = StripImportant(value);
    const auto set = [&](Integer aId, const AnsiString& aText) {
      std::unique_ptr<TpsCSSAttribute> attribute = CreateCssAttribute(aId, aText);
      if (!attribute) throw invalid();
      attribute->Important = important;
      FAttributes->SetAttribute(*attribute);
    };
    switch (id) {
      case CSS_MARGIN:
      case CSS_PADDING:
      case CSS_BORDER_WIDTH: {
        static const Integer kSides[3][4] = {
            {CSS_MARGIN_TOP, CSS_MARGIN_RIGHT, CSS_MARGIN_BOTTOM, CSS_MARGIN_LEFT},
            {CSS_PADDING_TOP, CSS_PADDING_RIGHT, CSS_PADDING_BOTTOM, CSS_PADDING_LEFT},
            {CSS_BORDER_TOP_WIDTH, CSS_BORDER_RIGHT_WIDTH, CSS_BORDER_BOTTOM_WIDTH,
             CSS_BORDER_LEFT_WIDTH}};
        const Integer* sides = kSides[id == CSS_MARGIN ? 0 : id == CSS_PADDING ? 1 : 2];
        const std::vector<AnsiString> values = ExpandBoxSides(SplitCssWords(value));
        if (values.size() != 4) throw invalid();
        for (int i = 0; i < 4; ++i) set(sides[i], values[i]);
        return;
      }
      case CSS_BORDER:
      case CSS_BORDER_LEFT:
      case CSS_BORDER_TOP:
      case CSS_BORDER_RIGHT:
      case CSS_BORDER_BOTTOM: {
        AnsiString width, style, color;
        const std::vector<AnsiString> words = SplitCssWords(rtl::LowerCase(value));
        if (words.size() == 1 && IsCssWideKeyword(words[0])) {
          width = style = color = words[0];
        } else {
          for (const AnsiString& word : words) {
            if (word == "none" || word == "hidden" || IsBorderStyleKeyword(word)) {
              style = word;
            } else if (IsBorderWidthWord(word)) {
              width = word;
            } else if (IsBorderColorWord(word)) {
              color = word;
            } else {
              // A word the model cannot place ("var(--width)"): the
              // declaration is kept whole, as one it does not know.
              AddUnknownDeclaration(aName, aValue);
              return;
            }
          }
        }
        if (!width.empty()) {
          switch (id) {
            case CSS_BORDER:
              for (Integer side : {CSS_BORDER_TOP_WIDTH, CSS_BORDER_BOTTOM_WIDTH,
                                   CSS_BORDER_LEFT_WIDTH, CSS_BORDER_RIGHT_WIDTH})
                set(side, width);
              break;
            case CSS_BORDER_LEFT: set(CSS_BORDER_LEFT_WIDTH, width); break;
            case CSS_BORDER_TOP: set(CSS_BORDER_TOP_WIDTH, width); break;
            case CSS_BORDER_RIGHT: set(CSS_BORDER_RIGHT_WIDTH, width); break;
            default: set(CSS_BORDER_BOTTOM_WIDTH, width); break;
          }
        }
        if (!style.empty()) set(CSS_BORDER_STYLE, style);
        if (!color.empty()) set(CSS_BORDER_COLOR, color);
        return;
      }
      case CSS_FONT_SIZE:
        set(id, rtl::LowerCase(TrimSpaces(value)));
        return;
      default:
        set(id, value);
        return;
    }
  } catch (const EpsHtmlEditCssParserInvalidAttributeValueException&) {
    throw;
  } catch (const std::exception&) {
    throw invalid();
  }
}

void TpsStyle::AddUnknownDeclaration(const AnsiString& aName, const AnsiString& aValue) {
  const AnsiString name = rtl::LowerCase(aName);
  auto it = std::find_if(FUnknown.begin(), FUnknown.end(), [&](const auto& d) { return d.first == name; });
  if (aValue.empty()) {
    if (it != FUnknown.end()) FUnknown.erase(it);
  } else if (it != FUnknown.end()) {
    it->second = aValue;
  } else {
    FUnknown.emplace_back(name, aValue);
  }
}

AnsiString TpsStyle::UnknownDeclarationsText(bool aLayout) const {
  AnsiString text;
  for (const auto& [name, value] : FUnknown) {
    const AnsiString writtenName = WritableText(name);
    const AnsiString writtenValue = WritableText(value);
    // Read again, an empty value would remove the declaration.
    if (writtenName.empty() || writtenValue.empty()) continue;
    if (aLayout && LineBreaks) text += "\r\n";
    if (aLayout && Indent) text += "  ";
    text += writtenName + ":" + writtenValue + ";";
  }
  return text;
}

Integer TpsStyle::DeclarationCount() const {
  Integer count = FAttributes->Count();
  for (const auto& [name, value] : FUnknown)
    if (!WritableText(name).empty() && !WritableText(value).empty()) ++count;
  return count;
}

AnsiString TpsStyle::GetAsString() {
  const Integer n = DeclarationCount();
  if (n == 0 || WritableText(GetSelector()).empty()) return {};
  if (n != 1 && MultiLine) {
    FAttributes->Indent = true;
    FAttributes->LineBreaks = LineBreaks;
    AnsiString attributes = FAttributes->GetAsString(n);
    AnsiString unknown = UnknownDeclarationsText(true);
    // The first declaration starts its own line already.
    if (attributes.empty() && unknown.rfind("\r\n", 0) == 0) unknown.erase(0, 2);
    return WritableText(GetSelector()) + (BraceOnOwnLine ? "\r\n{" : " {") + "\r\n" + attributes + unknown + "\r\n}";
  }
  FAttributes->Indent = false;
  FAttributes->LineBreaks = LineBreaks;
  AnsiString attributes = FAttributes->GetAsString();
  AnsiString unknown = UnknownDeclarationsText(true);
  if (attributes.empty() && unknown.rfind("\r\n", 0) == 0) unknown.erase(0, 2);
  return WritableText(GetSelector()) + " { " + attributes + unknown + " }";
}

AnsiString TpsStyle::GetAttributesAsString() const {
  return FAttributes->GetAsString() + UnknownDeclarationsText(false);
}

AnsiString TpsStyle::GetFontFamily() const {
  auto* family = dynamic_cast<const TpsCSSStringAttribute*>(FAttributes->GetAttribute(CSS_FONT_FAMILY));
  return family ? family->Text() : AnsiString();
}

TpsFontSizeValue TpsStyle::GetFontSize() const {
  TpsFontSizeValue size;
  auto* attribute = dynamic_cast<const TpsCSSFontSizeAttribute*>(FAttributes->GetAttribute(CSS_FONT_SIZE));
  if (!attribute) return size;  // 0 px
  switch (attribute->Kind()) {
    case fskLength: {
      static const Byte kCodes[8] = {7, 8, 6, 3, 5, 4, 1, 2};  // em ex px in cm mm pt pc
      size.Value = attribute->Length().Value;
      size.Unit = kCodes[attribute->Length().Unit & 7];
      break;
    }
    case fskPercentage:
      size.Value = attribute->Percentage();
      size.Unit = 9;
      break;
    default:
      size.Value = 0;
      size.Unit = 0;
      break;
  }
  return size;
}

void TpsStyle::SetAttributeValue(Integer aId, Byte aValue) {
  if (auto* keyword = dynamic_cast<TpsCSSIntegerAttribute*>(FAttributes->GetAttribute(aId)))
    keyword->SetValue(aValue);
}

AnsiString DeclarationsFontFamily(const AnsiString& aDeclarations) {
  return TpsStyle(-1, aDeclarations).GetFontFamily();
}

TpsFontSizeValue DeclarationsFontSize(const AnsiString& aDeclarations) {
  return TpsStyle(-1, aDeclarations).GetFontSize();
}

AnsiString DeclarationsDifference(const AnsiString& aBase, const AnsiString& aText) {
  TpsStyle base(-1, aBase);
  TpsStyle text(-1, aText);
  text.RemoveEqualAttributes(base);
  for (const auto& declaration : base.UnknownDeclarations()) {
    const auto& unknown = text.UnknownDeclarations();
    auto it = std::find(unknown.begin(), unknown.end(), declaration);
    if (it != unknown.end()) text.AddUnknownDeclaration(declaration.first, {});
  }
  return text.GetAttributesAsString();
}

// ---------------------------------------------------------------------------
// TpsStyleSheet

TpsStyleSheet::TpsStyleSheet() { FInternalEmptyId = AddStyle("internal-empty", false, {}, false); }

TpsStyleSheet::~TpsStyleSheet() {
  // The handler may clear OnDestroy itself (the tree detaches), so it runs
  // from a copy.
  TNotifyEvent handler = std::move(OnDestroy);
  OnDestroy = nullptr;
  if (handler) handler(this);
}

Integer TpsStyleSheet::AddStyle(const AnsiString& aName, bool aIsClass, const AnsiString& aDeclarations,
                                bool aOutput) {
  const AnsiString selector = aIsClass ? "." + aName : aName;
  const Integer existing = IndexOfStyle(selector);
  if (existing >= 0) return existing;
  auto style = std::make_unique<TpsStyle>(GetCount(), aDeclarations);
  style->SetName(aName);
  style->SetIsClass(aIsClass);
  style->SetOutput(aOutput);
  return AddStyleObject(std::move(style));
}

Integer TpsStyleSheet::AddStyleObject(std::unique_ptr<TpsStyle> aStyle) {
  const Integer id = GetCount();
  aStyle->SetId(id);
  FIndex.emplace(rtl::LowerCase(aStyle->GetSelector()), id);
  FStyles.push_back(std::move(aStyle));
  return id;
}

Integer TpsStyleSheet::IndexOfStyle(const AnsiString& aSelector) const {
  auto it = FIndex.find(rtl::LowerCase(aSelector));
  return it == FIndex.end() ? -1 : it->second;
}

TpsStyle* TpsStyleSheet::FindStyle(const AnsiString& aSelector) const { return GetStyle(IndexOfStyle(aSelector)); }

TpsStyle* TpsStyleSheet::GetStyle(Integer aId) const {
  if (aId < 0 || aId >= GetCount()) return nullptr;
  return FStyles[aId].get();
}

void TpsStyleSheet::SetStyleAttribute(const AnsiString& aStyleName, const AnsiString& aAttributeName,
                                      const AnsiString& aValue, bool aIsClass,
                                      const TUnknownStyleAttributeEvent& aOnUnknownAttribute) {
  TpsStyle* style = GetStyle(AddStyle(aStyleName, aIsClass, {}, true));
  try {
    style->SetAttributeAsString(aAttributeName, aValue);
  } catch (const EpsHtmlEditCssParserUnknownAttributeException&) {
    if (!aOnUnknownAttribute) throw;
    bool remove = false;
    aOnUnknownAttribute(this, aStyleName, aAttributeName, remove);
    if (!remove) style->AddUnknownDeclaration(aAttributeName, aValue);
  }
}

bool TpsStyleSheet::StyleHasAttribute(Integer aId, Integer aAttributeId) const {
  const TpsStyle* style = GetStyle(aId);
  return style && style->Attributes().HasAttribute(aAttributeId);
}

AnsiString TpsStyleSheet::GetFontFamily(const AnsiString& aSelector) const {
  const TpsStyle* style = FindStyle(aSelector);
  return style ? style->GetFontFamily() : AnsiString();
}

TpsFontSizeValue TpsStyleSheet::GetFontSize(const AnsiString& aSelector) const {
  const TpsStyle* style = FindStyle(aSelector);
  return style ? style->GetFontSize() : TpsFontSizeValue{};
}

Integer TpsStyleSheet::GetFloat(Integer aId) const {
  const TpsStyle* style = GetStyle(aId);
  auto* attribute = style ? dynamic_cast<const TpsCSSIntegerAttribute*>(style->Attributes().GetAttribute(CSS_FLOAT))
                          : nullptr;
  if (!attribute) return 2;
  if (attribute->Value() == 1) return 0;
  if (attribute->Value() == 2) return 1;
  return 2;
}

namespace {

// At-rules that must stand before every rule of a sheet.
bool IsLeadingAtRule(const AnsiString& aText) {
  size_t end = 1;
  while (end < aText.size() && (std::isalnum(static_cast<unsigned char>(aText[end])) || aText[end] == '-')) ++end;
  const AnsiString keyword = rtl::LowerCase(aText.substr(1, end - 1));
  return keyword == "charset" || keyword == "import" || keyword == "namespace";
}

// An at-rule as it may stand before other text: closed, and ended by ";"
// when it has no block.
AnsiString WritableAtRule(const AnsiString& aText) {
  AnsiString text = TrimCssWhitespace(BalanceCss(aText, true));
  if (text.empty() || (text.back() != ';' && text.back() != '}')) text += ';';
  return text;
}

}  // namespace

AnsiString TpsStyleSheet::GetAsString() {
  AnsiString text;
  for (const AnsiString& rule : FAtRules)
    if (IsLeadingAtRule(rule)) text += WritableAtRule(rule) + "\r\n";
  // Rules are separated by line ends; one that writes nothing leaves no
  // empty line, so the text read and written again is the same.
  bool first = true;
  for (Integer i = 0; i < GetCount(); ++i) {
    TpsStyle& style = *FStyles[i];
    if (!style.Output()) continue;
    style.LineBreaks = style.MultiLine = style.BraceOnOwnLine = style.Indent = Beautify;
    const AnsiString rule = style.GetAsString();
    if (rule.empty()) continue;
    if (!first) text += "\r\n";
    text += rule;
    first = false;
  }
  for (const AnsiString& rule : FAtRules) {
    if (IsLeadingAtRule(rule)) continue;
    if (!text.empty() && text.compare(text.size() - std::min<size_t>(2, text.size()), 2, "\r\n") != 0)
      text += "\r\n";
    text += WritableAtRule(rule);
  }
  return text;
}

// ---------------------------------------------------------------------------
// TpsStyleContextTree

TpsStyleContextTree::TpsStyleContextTree(TpsStyleSheet* aStyleSheet) { SetStyleSheet(aStyleSheet); }

TpsStyleContextTree::~TpsStyleContextTree() {
  if (FStyleSheet) FStyleSheet->OnDestroy = nullptr;
}

void TpsStyleContextTree::SetStyleSheet(TpsStyleSheet* aStyleSheet) {
  if (FStyleSheet) FStyleSheet->OnDestroy = nullptr;
  FStyleSheet = aStyleSheet;
  if (FStyleSheet) FStyleSheet->OnDestroy = [this](TObjectPtr) { SetStyleSheet(nullptr); };
  Invalidate();
}

void TpsStyleContextTree::Invalidate() {
  FSubscribers.Notify(this);
  FRoots.clear();
  FNodeCount = 0;
}

std::unique_ptr<TpsStyleContextTree::Node> TpsStyleContextTree::MakeNode(const Node* aParent, Integer aStyleId) {
  auto node = std::make_unique<Node>();
  node->StyleId = aStyleId;
  node->Attributes = aParent ? TpsCSSAttributeList::CreateCopy(*aParent->Attributes)
                             : std::make_unique<TpsCSSAttributeList>(true);
  if (const TpsStyle* style = FStyleSheet ? FStyleSheet->GetStyle(aStyleId) : nullptr)
    node->Attributes->MergeFrom(style->Attributes());
  ++FNodeCount;
  return node;
}

const TpsCSSAttributeList* TpsStyleContextTree::GetAttributes(const std::vector<Integer>& aIds) {
  if (aIds.empty()) return nullptr;
  auto& root = FRoots[aIds[0]];
  if (!root) root = MakeNode(nullptr, aIds[0]);
  Node* node = root.get();
  for (size_t i = 1; i < aIds.size(); ++i) {
    auto& child = node->Children[aIds[i]];
    if (!child) child = MakeNode(node, aIds[i]);
    node = child.get();
  }
  return node->Attributes.get();
}

// ---------------------------------------------------------------------------
// TpsStyleStack

TpsStyleStack::TpsStyleStack(TpsStyleContextTree* aContextTree)
    : TpsIntStack(16, 8, 5), FContextTree(aContextTree) {
  if (FContextTree) FContextTree->Subscribe(this, [this](TObjectPtr) { FCascade = nullptr; });
}

TpsStyleStack::~TpsStyleStack() {
  if (FContextTree) FContextTree->Unsubscribe(this);
}

std::vector<Integer> TpsStyleStack::StyleIds() const {
  std::vector<Integer> ids;
  ids.reserve(FCount);
  for (Integer i = 0; i < FCount; ++i)
    if (Item(i) >= 0) ids.push_back(Item(i));
  return ids;
}

const TpsCSSAttributeList* TpsStyleStack::GetAttributes() {
  if (!FCascade && FContextTree) FCascade = FContextTree->GetAttributes(StyleIds());
  return FCascade;
}

void TpsStyleStack::ApplyChangeFrom(const TpsCSSAttributeList* aOld) {
  if (!FCanvas) return;
  if (const TpsCSSAttributeList* cascade = GetAttributes())
    TpsCSSAttributeList::ApplyChanges(aOld, FCanvas, *cascade, this);
}

void TpsStyleStack::PushStyle(Integer aId) {
  const TpsCSSAttributeList* old = FCanvas ? GetAttributes() : nullptr;
  Push(aId);
  FCascade = nullptr;
  ApplyChangeFrom(old);
}

void TpsStyleStack::EndLevel() {
  const TpsCSSAttributeList* old = FCanvas ? GetAttributes() : nullptr;
  Integer value = 0;
  while (Pop(value) && value != -1) {
  }
  FCascade = nullptr;
  ApplyChangeFrom(old);
}

void TpsStyleStack::RestoreState(Integer aSlot) {
  FCascade = nullptr;
  TpsIntStack::RestoreState(aSlot);
}

const TpsCSSAttributeList* TpsStyleStack::ApplyToCanvas() {
  const TpsCSSAttributeList* cascade = GetAttributes();
  if (cascade && FCanvas) cascade->ApplyAll(FCanvas, this);
  return cascade;
}

const TpsCSSAttributeList& TpsStyleStack::CascadeWith(Integer aId) {
  const TpsCSSAttributeList* cascade = GetAttributes();
  if (!cascade || !cascade->HasAttribute(aId))
    throw EpsHtmlEditException(rtl::Format("TpsStyleStack: no attribute \"%s\" in the cascade",
                                           {TpsCSSAttributeIdList::GetName(aId)}));
  return *cascade;
}

Integer TpsStyleStack::GetEnumAttribute(Integer aId) { return CascadeWith(aId).GetEnumValue(aId); }
Integer TpsStyleStack::GetLengthInPixels(Integer aId) { return CascadeWith(aId).GetLengthInPixels(aId); }
TColor TpsStyleStack::GetColor(Integer aId) { return CascadeWith(aId).GetColor(aId); }

const TpsCSSLineHeightAttribute* TpsStyleStack::GetLineHeightAttribute() {
  const TpsCSSAttributeList* cascade = GetAttributes();
  return cascade ? dynamic_cast<const TpsCSSLineHeightAttribute*>(cascade->GetAttribute(CSS_LINE_HEIGHT))
                 : nullptr;
}

Integer TpsStyleStack::GetPosition() {
  const TpsCSSAttributeList* cascade = GetAttributes();
  auto* position = cascade ? dynamic_cast<const TpsCSSPositionAttribute*>(cascade->GetAttribute(CSS_POSITION))
                           : nullptr;
  return position && position->Known() ? position->Value() : 0;
}

Integer TpsStyleStack::GetRelativeTopOffset() {
  const TpsCSSAttributeList* cascade = GetAttributes();
  if (!cascade) return 0;
  Integer offset = 0;
  if (auto* top = dynamic_cast<const TpsCSSBoxOffsetAttribute*>(cascade->GetAttribute(CSS_TOP)))
    offset = top->GetOffsetInPixels(FCanvas, this);
  if (offset == 0)
    if (auto* bottom = dynamic_cast<const TpsCSSBoxOffsetAttribute*>(cascade->GetAttribute(CSS_BOTTOM)))
      offset = bottom->GetOffsetInPixels(FCanvas, this);
  return offset;
}

Integer TpsStyleStack::GetFontPixelSize() {
  // Each level's size against the one below; a keyword leaves the size
  // below standing, as it leaves the surface's font alone.
  const Integer ppi = PixelsPerInch(FCanvas);
  Integer size = 12;
  for (const TpsCSSAttribute* attribute : GetAttributeSequence(CSS_FONT_SIZE)) {
    const auto* fontSize = dynamic_cast<const TpsCSSFontSizeAttribute*>(attribute);
    const Integer pixels = fontSize ? fontSize->GetPixelSizeFor(size, ppi) : -1;
    if (pixels != -1) size = pixels;
  }
  return size;
}

TpsCSSAttributeSequence TpsStyleStack::GetAttributeSequence(Integer aId) const {
  TpsCSSAttributeSequence sequence;
  const TpsStyleSheet* sheet = FContextTree ? FContextTree->StyleSheet() : nullptr;
  if (!sheet) return sequence;
  Integer i = FCount - 1;
  while (i >= 0) {
    bool found = false;
    for (; i >= 0 && Item(i) != -1; --i) {
      if (found || Item(i) < 0) continue;
      const TpsStyle* style = sheet->GetStyle(Item(i));
      if (const TpsCSSAttribute* attribute = style ? style->Attributes().GetAttribute(aId) : nullptr) {
        sequence.push_back(attribute);
        found = true;
      }
    }
    --i;  // below the level's -1
  }
  std::reverse(sequence.begin(), sequence.end());
  return sequence;
}

}  // namespace htmldoc
