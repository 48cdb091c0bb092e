#include "htmledit/doc/psTagParser.h"

#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTagText.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"

namespace htmldoc {

namespace {

bool IsTagBlank(WideChar c) { return c == u'\t' || c == u'\n' || c == u'\r' || c == u' '; }
bool IsQuote(WideChar c) { return c == u'"' || c == u'\''; }

size_t SkipBlanks(std::u16string_view aText, size_t aAt) {
  while (aAt < aText.size() && IsTagBlank(aText[aAt])) ++aAt;
  return aAt;
}

// Names are ASCII in practice; each 16-bit character is taken as its low
// eight bits.
AnsiString LowBytes(std::u16string_view aText) {
  AnsiString result(aText.size(), '\0');
  for (size_t i = 0; i < aText.size(); ++i) result[i] = static_cast<char>(aText[i] & 0xFF);
  return result;
}

std::u16string_view TrimTrailing(std::u16string_view aText) {
  while (!aText.empty() && IsTagBlank(aText.back())) aText.remove_suffix(1);
  return aText;
}

// Reads the value after an attribute's "=" at aAt. False when the attribute
// fails; else the value and the index where the next attribute starts.
bool ReadValue(std::u16string_view aBody, size_t aAt, bool aQuotedOnly, std::u16string_view& aValue,
               size_t& aNext) {
  const size_t v = SkipBlanks(aBody, aAt);
  const size_t end = aBody.size();
  if (aQuotedOnly) {
    if (v >= end || !IsQuote(aBody[v])) return false;
    const size_t close = aBody.find(aBody[v], v + 1);
    if (close == std::u16string_view::npos) return false;
    aValue = aBody.substr(v + 1, close - v - 1);
    aNext = close + 1;
    return true;
  }
  if (v >= end || TrimTrailing(aBody.substr(v)) == u"/") {
    // A "/" alone stays for the next step, where it marks an empty tag; a
    // value may begin with "/" all the same ("/index.html").
    aValue = {};
    aNext = v;
    return true;
  }
  if (IsQuote(aBody[v])) {
    const size_t close = aBody.find(aBody[v], v + 1);
    if (close != std::u16string_view::npos) {
      aValue = aBody.substr(v + 1, close - v - 1);
      aNext = close + 1;
      return true;
    }
    // Never closed: up to the last "/" (kept as the empty-tag mark), else
    // to the end.
    const size_t slash = aBody.rfind(u'/');
    const size_t stop = (slash != std::u16string_view::npos && slash > v) ? slash : end;
    aValue = aBody.substr(v + 1, stop - v - 1);
    aNext = stop;
    return true;
  }
  // Unquoted: it may hold blanks, so its end is found from what follows.
  size_t k = v;
  while (k < end && aBody[k] != u'=' && !IsQuote(aBody[k])) ++k;
  if (k == end) {
    size_t last = end;
    while (last > v && (aBody[last - 1] == u'\t' || aBody[last - 1] == u' ' ||
                        aBody[last - 1] == u'/'))
      --last;
    aValue = TrimTrailing(aBody.substr(v, last - v));
    aNext = last;
    return true;
  }
  if (IsQuote(aBody[k])) {
    aValue = TrimTrailing(aBody.substr(v, k - v));
    aNext = k;
    return true;
  }
  // Another attribute follows: its name is the word before the "=".
  size_t j = k;
  while (j > v && IsTagBlank(aBody[j - 1])) --j;
  while (j > v && !IsTagBlank(aBody[j - 1])) --j;
  aValue = TrimTrailing(aBody.substr(v, j - v));
  if (aValue.empty()) return false;
  aNext = j;
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// TpsMarkupTagParser

TpsMarkupTagParser::TpsMarkupTagParser(bool aCaseSensitive, bool aRemoveEmptyAttributes,
                                       bool aQuotedValuesOnly)
    : FRemoveEmpty(aRemoveEmptyAttributes),
      FLowerCase(!aCaseSensitive),
      FQuotedValuesOnly(aQuotedValuesOnly) {}

AnsiString TpsMarkupTagParser::NormalName(const AnsiString& aName) const {
  return FLowerCase ? TpsStrings::LowerCase(aName) : aName;
}

void TpsMarkupTagParser::SetName(const AnsiString& aName) {
  FName = NormalName(aName);
  NameChanged(FName);
  DoChange();
}

void TpsMarkupTagParser::SetTagType(Byte aType) {
  FTagType = aType;
  TypeChanged(aType);
  DoChange();
}

void TpsMarkupTagParser::DoChange() {
  if (OnChange) OnChange(this);
}

void TpsMarkupTagParser::Parse(const WideString& aText) {
  FTagType = ttOpening;
  FName.clear();
  const size_t open = aText.find(u'<');
  if (open == WideString::npos) return;
  bool stoppedAtLt = false;
  const size_t length = FindTagEnd(
      [&aText, open](size_t k) { return open + k < aText.size() ? static_cast<int>(aText[open + k]) : -1; }, false,
      stoppedAtLt);
  if (length == kNoTagEnd) return;
  const size_t close = open + length;
  const std::u16string_view body = std::u16string_view(aText).substr(open + 1, close - open - 1);
  const size_t end = body.size();

  size_t p = SkipBlanks(body, 0);
  const size_t nameStart = p;
  while (p < end && !IsTagBlank(body[p]) && !(body[p] == u'/' && p > nameStart)) ++p;
  const AnsiString name = LowBytes(body.substr(nameStart, p - nameStart));
  if (!name.empty() && name[0] == '/') {
    SetTagType(ttClosing);
    SetName(name.substr(1));
  } else {
    SetName(name);
  }

  for (;;) {
    p = SkipBlanks(body, p);
    if (p >= end) break;
    const size_t start = p;
    while (p < end && !IsTagBlank(body[p]) && body[p] != u'=') ++p;
    std::u16string_view attribute = body.substr(start, p - start);
    if (attribute == u"/") {
      SetTagType(ttEmpty);
      break;
    }
    const size_t afterName = SkipBlanks(body, p);
    if (afterName < end && body[afterName] == u'=') {
      std::u16string_view value;
      size_t next = 0;
      if (!ReadValue(body, afterName + 1, FQuotedValuesOnly, value, next)) break;
      SetAttribute(NormalName(LowBytes(attribute)), rtl::WideToUtf8(value));
      p = next;
      continue;
    }
    // A bare attribute ("nowrap", "checked") stands for itself. A token that
    // starts with "/" is no name: the attribute list ends there.
    if (attribute.empty() || attribute[0] == u'/') break;
    const size_t slash = attribute.find(u'/');
    if (slash != std::u16string_view::npos) {
      // "<input checked/>": the "/" is the empty-tag mark, not part of the name.
      attribute = attribute.substr(0, slash);
      p = start + slash;
    }
    SetAttribute(NormalName(LowBytes(attribute)), rtl::WideToUtf8(attribute));
  }
}

// ---------------------------------------------------------------------------
// TpsMarkupTag

TpsMarkupTag::TpsMarkupTag(const AnsiString& aText, bool aCaseSensitive,
                           bool aRemoveEmptyAttributes, bool aQuotedValuesOnly)
    : TpsMarkupTagParser(aCaseSensitive, aRemoveEmptyAttributes, aQuotedValuesOnly) {
  if (!aText.empty()) SetText(aText);
}

TpsMarkupTag::TpsMarkupTag(const TpsMarkupTag& aSource)
    : TpsMarkupTagParser(aSource),
      OnGetText(aSource.OnGetText),
      FNames(aSource.FNames),
      FValues(aSource.FValues),
      FContent(aSource.FContent) {}

void TpsMarkupTag::SetText(const AnsiString& aText) {
  FNames.clear();
  FValues.clear();
  Parse(rtl::Utf8ToWide(aText));
  DoChange();
}

void TpsMarkupTag::SetContent(const AnsiString& aText) {
  FContent = aText;
  DoChange();
}

Integer TpsMarkupTag::IndexOfName(const AnsiString& aStoredName) const {
  for (size_t i = 0; i < FNames.size(); ++i)
    if (FNames[i] == aStoredName) return static_cast<Integer>(i);
  return -1;
}

void TpsMarkupTag::SetAttribute(const AnsiString& aName, const AnsiString& aValue) {
  const AnsiString name = NormalName(aName);
  const Integer index = IndexOfName(name);
  if (index >= 0) FValues[index] = aValue;
  if (!aValue.empty() || !FRemoveEmpty) {
    if (index < 0) {
      FNames.push_back(name);
      FValues.push_back(aValue);
    }
    AttributeChanged(name, aValue);
  } else if (index >= 0) {
    FNames.erase(FNames.begin() + index);
    FValues.erase(FValues.begin() + index);
    AttributeRemoved(name);
  }
  DoChange();
}

void TpsMarkupTag::SetAttributeAsInteger(const AnsiString& aName, Integer aValue) {
  SetAttribute(aName, rtl::IntToStr(aValue));
}

AnsiString TpsMarkupTag::GetAttribute(const AnsiString& aName) const {
  const AnsiString name = NormalName(aName);
  AttributeRead(name);
  const Integer index = IndexOfName(name);
  return index >= 0 ? FValues[index] : AnsiString();
}

bool TpsMarkupTag::GetAttributeAsInteger(const AnsiString& aName, Integer& aValue) const {
  aValue = -1;
  if (!HasAttribute(aName)) return false;
  Integer value = 0;
  if (!TryParseInt(GetAttribute(aName), value)) return false;
  aValue = value;
  return true;
}

bool TpsMarkupTag::HasAttribute(const AnsiString& aName) const {
  return IndexOfName(NormalName(aName)) >= 0;
}

AnsiString TpsMarkupTag::GetAttributeName(Integer aIndex) const {
  if (aIndex < 0 || aIndex >= GetAttributeCount()) return {};
  return FNames[aIndex];
}

AnsiString TpsMarkupTag::GetAttributeValue(Integer aIndex) const {
  if (aIndex < 0 || aIndex >= GetAttributeCount()) return {};
  AttributeRead(FNames[aIndex]);
  return FValues[aIndex];
}

void TpsMarkupTag::SetAttributeValue(Integer aIndex, const AnsiString& aValue) {
  if (aIndex < 0 || aIndex >= GetAttributeCount()) return;
  FValues[aIndex] = aValue;
  AttributeChanged(FNames[aIndex], aValue);
}

void TpsMarkupTag::RemoveAttribute(const AnsiString& aName) {
  const Integer index = IndexOfName(NormalName(aName));
  if (index < 0) return;
  FNames.erase(FNames.begin() + index);
  FValues.erase(FValues.begin() + index);
  AttributeRemoved(aName);
}

void TpsMarkupTag::ClearAttributes() {
  for (const auto& name : FNames) AttributeRemoved(name);
  FNames.clear();
  FValues.clear();
}

bool TpsMarkupTag::Equals(const TpsMarkupTag& aOther) const {
  if (FName != aOther.FName || FTagType != aOther.FTagType) return false;
  if (FNames.size() != aOther.FNames.size()) return false;
  for (size_t i = 0; i < FNames.size(); ++i) {
    const Integer other = aOther.IndexOfName(FNames[i]);
    if (other < 0 || aOther.FValues[other] != FValues[i]) return false;
  }
  return true;
}

AnsiString TpsMarkupTag::GetText() const {
  AnsiString text;
  if (!FName.empty()) {
    text = (FTagType == ttClosing ? "</" : "<") + FName;
    for (size_t i = 0; i < FNames.size(); ++i) {
      text += ' ';
      text += FNames[i];
      text += '=';
      text += QuoteAttributeValue(FValues[i]);
    }
    text += FTagType == ttEmpty ? " />" : ">";
  }
  if (OnGetText) OnGetText(const_cast<TpsMarkupTag*>(this), text);
  return text;
}

AnsiString QuoteAttributeValue(const AnsiString& aValue) {
  // A double quote inside double quotes would end the value early: such a
  // value goes between single quotes, or, holding both, gets "&quot;".
  if (aValue.find('"') == AnsiString::npos) return '"' + aValue + '"';
  if (aValue.find('\'') == AnsiString::npos) return '\'' + aValue + '\'';
  AnsiString value = aValue;
  ReplaceAll(value, "\"", "&quot;");
  return '"' + value + '"';
}

// ---------------------------------------------------------------------------
// TpsMarkupTagList

void TpsMarkupTagList::AddText(const AnsiString& aText) {
  auto tag = std::make_unique<TpsMarkupTag>(aText, false, false, false);
  Add(tag.get());
  tag.release();  // the list holds it now
}

AnsiString TpsMarkupTagList::GetText() const {
  AnsiString text;
  for (Integer i = 0; i < Count(); ++i) {
    text += GetTag(i)->GetText();
    text += "\r\n";
  }
  return text;
}

bool IsInlineOpeningTag(Byte aTagCode, Byte aTagType) {
  return aTagType == ttOpening && aTagCode < 12;
}

bool IsInlineClosingTag(Byte aTagCode, Byte aTagType) {
  return aTagType == ttClosing && aTagCode < 12;
}

}  // namespace htmldoc
