// Text in and out of TpsDataChunk: plain text and text with entities in;
// HTML, plain text, the characters, the selected text and the debug dump
// out; the character-id fingerprint; positions and the text search.
#include <algorithm>

#include "htmledit/doc/psCrc32.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psHtmlEntities.h"
#include "htmledit/doc/psLookupLists.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"

namespace htmldoc {

namespace {

// The walk of AddText: CR dropped, tab and LF are spaces, no two spaces
// in a row (the previous character starts as a tab, so a leading space
// stays).
class TextAppender {
 public:
  explicit TextAppender(TpsDataChunk& aChunk) : FChunk(aChunk) {}
  void Add(char32_t aChar, bool aFromEntity) {
    if (!aFromEntity) {
      if (aChar == u'\r') return;
      if (aChar == u'\t' || aChar == u'\n') aChar = u' ';
      if (aChar == u' ' && FPrevious == u' ') return;
    }
    if (aChar > 0xFFFF) {
      WideString pair;
      rtl::AppendUtf16(pair, aChar);
      FChunk.AddCharacter(pair[0], false, false, aFromEntity);
      FChunk.AddCharacter(pair[1], false, false, aFromEntity);
    } else {
      FChunk.AddCharacter(static_cast<WideChar>(aChar), false, false, aFromEntity);
    }
    FPrevious = aChar;
  }

 private:
  TpsDataChunk& FChunk;
  char32_t FPrevious = u'\t';
};

// The characters "&" through ";" stand for, by the entity table (names
// the editor defined included) or the standard's names; numeric references
// of any size, out-of-range ones as U+FFFD. False for anything else.
bool ReadReference(const WideString& aText, size_t aAmp, size_t aSemi, char32_t& aFirst, char32_t& aSecond) {
  aSecond = 0;
  const size_t length = aSemi - aAmp + 1;
  if (length < 3) return false;
  std::string entity;
  entity.reserve(length);
  for (size_t i = aAmp; i <= aSemi; ++i) {
    const WideChar c = aText[i];
    if (c >= 0x80) return false;  // names and numbers are ASCII
    entity += static_cast<char>(c);
  }
  if (entity[1] == '#') {
    Integer value = 0;
    if (!TryParseCharacterReference(entity, value)) return false;
    aFirst = static_cast<char32_t>(SanitizeCodePoint(value));
    return true;
  }
  Integer code = -1;
  if (HtmlCodeTable().TryGetEntityChar(entity, code)) {
    aFirst = static_cast<char32_t>(code);
    return true;
  }
  const THtmlNamedReference* named = FindHtmlNamedReference(std::string_view(entity).substr(1, length - 2));
  if (!named) return false;
  aFirst = named->First;
  aSecond = named->Second;
  return true;
}

// The longest reference worth reading: names are short; numbers may carry
// leading zeros, which are read as far as the digits go.
bool PlausibleReference(const WideString& aText, size_t aAmp, size_t aSemi) {
  if (aSemi - aAmp <= 40) return true;
  if (aAmp + 1 >= aText.size() || aText[aAmp + 1] != u'#') return false;
  size_t i = aAmp + 2;
  if (i < aSemi && (aText[i] == u'x' || aText[i] == u'X')) ++i;
  while (i < aSemi && std::isxdigit(aText[i] < 0x80 ? static_cast<int>(aText[i]) : 0)) ++i;
  return i == aSemi;
}

}  // namespace

void TpsDataChunk::AddText(const WideString& aText) {
  TextAppender appender(*this);
  for (WideChar c : aText) appender.Add(c, false);
}

void TpsDataChunk::AddTextWithEntities(const WideString& aText) {
  TextAppender appender(*this);
  size_t semi = WideString::npos;  // the next ";" at or after the current "&"
  for (size_t i = 0; i < aText.size(); ++i) {
    const WideChar c = aText[i];
    if (c == u'&') {
      if (semi == WideString::npos || semi < i) semi = aText.find(u';', i);
      char32_t first, second;
      if (semi != WideString::npos && PlausibleReference(aText, i, semi) &&
          ReadReference(aText, i, semi, first, second)) {
        appender.Add(first, true);
        if (second) appender.Add(second, true);
        i = semi;
        continue;
      }
    }
    appender.Add(c, false);
  }
}

void TpsDataChunk::InsertTextAt(const WideString& aText, TpsChunkElement* aElement, bool aAfter) {
  TpsChunkElement* target = aElement;
  bool after = aAfter;
  for (WideChar c : aText) {
    TpsChunkElement* element = NewCharacterElement(c);
    if (!target) {
      AddElement(element);
    } else {
      InsertElement(element, target, after);
    }
    // Each next character follows the one just linked.
    target = element;
    after = true;
  }
}

void TpsDataChunk::InsertTextAtCursor(const WideString& aText, bool aSelected) {
  TpsChunkElement* cursor = GetCursor();
  if (!cursor) return;
  for (size_t i = 0; i < aText.size(); ++i) {
    const WideChar c = aText[i];
    TpsChunkElement* element;
    if (c == u'\r') {
      // A line break tag without the document's events: its style ids are
      // never asked of it.
      element = NewTagElement(TpsHtmlTag::CreateFromText(nullptr, "<br />"));
      if (i + 1 < aText.size() && aText[i + 1] == u'\n') ++i;
    } else {
      element = NewCharacterElement(c);
      element->Selected = aSelected;
    }
    InsertBefore(element, cursor);
  }
}

// ---------------------------------------------------------------------------
// HTML out

namespace {

void AppendReference(WideString& aOut, char32_t aCode) {
  aOut += u"&#";
  for (char c : rtl::IntToStr(static_cast<rtl::Int64>(aCode))) aOut += static_cast<WideChar>(c);
  aOut += u';';
}

void AppendAscii(WideString& aOut, const AnsiString& aText) {
  for (char c : aText) aOut += static_cast<WideChar>(static_cast<unsigned char>(c));
}

// A character (or a surrogate pair as one code point) as the writer puts
// it: itself when it needs no escape, did not come from an entity and the
// output encoding holds it; else its entity, or its number.
void AppendCharacterHtml(WideString& aOut, char32_t aCode, bool aFromEntity, bool aNumeric,
                         const TpsCharacterEncoding& aEncoding) {
  const TpsHtmlCodeTable& table = HtmlCodeTable();
  const bool escaped = aCode <= 0xFFFF && table.IsAlwaysEscaped(static_cast<Integer>(aCode));
  if (!escaped && !aFromEntity && aEncoding.CanEncode(aCode)) {
    rtl::AppendUtf16(aOut, aCode);
    return;
  }
  AnsiString entity;
  if (aCode > 0xFFFF || !table.GetEntity(static_cast<Integer>(aCode), entity) || aNumeric) {
    AppendReference(aOut, aCode);
    return;
  }
  AppendAscii(aOut, entity);
}

bool IsHighSurrogate(WideChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WideChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The non-character parts of an element's HTML.
void AppendOtherHtml(WideString& aOut, const TpsChunkElement* aElement, const AnsiString& aCursorText) {
  switch (aElement->Kind) {
    case ceTag:
      aOut += rtl::Utf8ToWide(TpsDataChunk::IsCustomTag(aElement) ? aElement->Tag->CustomSource
                                                                 : aElement->Tag->GetText());
      break;
    case ceCursor:
      aOut += rtl::Utf8ToWide(aCursorText);
      break;
    case ceIgnore:
      aOut += rtl::Utf8ToWide(aElement->Content->GetText());
      break;
    default:
      break;
  }
}

}  // namespace

WideString TpsDataChunk::GetElementHtml(const TpsChunkElement* aElement, const AnsiString& aCursorText,
                                        bool aNumericCharRefs, const TpsCharacterEncoding& aEncoding) {
  WideString text;
  if (aElement->Kind == ceChar)
    AppendCharacterHtml(text, aElement->Char, aElement->FromEntity, aNumericCharRefs, aEncoding);
  else
    AppendOtherHtml(text, aElement, aCursorText);
  return text;
}

WideString TpsDataChunk::GetHtmlText(TpsChunkElement* aFirst, TpsChunkElement* aLast, const AnsiString& aCursorText,
                                     bool aNumericCharRefs, const TpsCharacterEncoding& aEncoding) const {
  WideString html;
  html.reserve(128);
  TpsChunkElement* first = aFirst ? aFirst : FFirst;
  TpsChunkElement* last = aLast ? aLast : FLast;
  for (const TpsChunkElement* e = first; e; e = e->Next) {
    if (e->Kind == ceChar) {
      char32_t code = e->Char;
      bool fromEntity = e->FromEntity;
      // A pair is one character: written whole or as one reference.
      if (IsHighSurrogate(e->Char) && e != last && e->Next && e->Next->Kind == ceChar &&
          IsLowSurrogate(e->Next->Char)) {
        code = 0x10000 + ((e->Char - 0xD800) << 10) + (e->Next->Char - 0xDC00);
        fromEntity = fromEntity || e->Next->FromEntity;
        e = e->Next;
      }
      AppendCharacterHtml(html, code, fromEntity, aNumericCharRefs, aEncoding);
    } else {
      AppendOtherHtml(html, e, aCursorText);
    }
    if (e == last) break;
  }
  return html;
}

AnsiString TpsDataChunk::GetElementText(const TpsChunkElement* aElement, const AnsiString& aCursorText,
                                        bool aNumericCharRefs) {
  switch (aElement->Kind) {
    case ceTag:
      return IsCustomTag(aElement) ? aElement->Tag->CustomSource : aElement->Tag->GetText();
    case ceChar:
      return EncodeEntities(WideString(1, aElement->Char), aNumericCharRefs);
    case ceCursor:
      return aCursorText;
    case ceIgnore:
      return aElement->Content->GetText();
    default:
      return {};
  }
}

// ---------------------------------------------------------------------------
// Plain text, characters, debug dump, fingerprint

WideString TpsDataChunk::GetPlainText() const {
  WideString text;
  Integer level = 0;
  bool hadText = false, started = false;
  // Counted as at a line start before anything is written, so a leading
  // block or line break writes no empty first line.
  bool atLineStart = true;
  const auto lineEnd = [&]() {
    if (!atLineStart) text += u"\r\n";
    atLineStart = true;
  };
  for (const TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (IsBlockOpenTag(e)) {
      if (started)
        lineEnd();
      else
        started = true;
      const bool wasAtStart = atLineStart;
      text.append(static_cast<size_t>(2 * level), u' ');
      atLineStart = wasAtStart;
      ++level;
      hadText = false;
    } else if (IsBlockCloseTag(e)) {
      if (level > 0) --level;
      if (!hadText) atLineStart = false;
      lineEnd();
    } else if (IsTagElement(e) && e->Tag->GetTagCode() == TAG_BR) {
      lineEnd();
      atLineStart = false;
    } else if (e->Kind == ceChar) {
      text += e->Char;
      atLineStart = false;
      hadText = true;
    }
  }
  if (text.size() >= 2 && text[text.size() - 2] == u'\r') text.resize(text.size() - 2);
  return text;
}

AnsiString TpsDataChunk::ToSystemCharacters(WideString aText) {
  const WideChar nbsp = static_cast<WideChar>(HtmlCodeTable().GetNbspChar());
  std::replace(aText.begin(), aText.end(), nbsp, u' ');
  return rtl::WideToUtf8(aText);
}

AnsiString TpsDataChunk::GetCharacters() const {
  WideString text;
  for (const TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Kind == ceChar) text += e->Char;
  return ToSystemCharacters(std::move(text));
}

AnsiString TpsDataChunk::GetSelectedText() const {
  WideString text;
  for (const TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Kind == ceChar && e->Selected) text += e->Char;
  return rtl::WideToUtf8(text);
}

WideString TpsDataChunk::GetDebugText() const {
  WideString text;
  const WideChar nbsp = static_cast<WideChar>(HtmlCodeTable().GetNbspChar());
  for (const TpsChunkElement* e = FFirst; e; e = e->Next) {
    switch (e->Kind) {
      case ceTag: text += rtl::Utf8ToWide(e->Tag->GetText()); break;
      case ceChar: text += e->Char == nbsp ? u' ' : e->Char; break;
      case ceCursor: text += u'|'; break;
      case ceMarker:
        text += u"@M";
        AppendAscii(text, rtl::IntToStr(e->MarkerNo));
        text += u'@';
        break;
      case ceIgnore: text += rtl::Utf8ToWide(e->Content->GetText()); break;
      case ceNode: break;
    }
  }
  return text;
}

uint32_t TpsDataChunk::GetCharacterIdsCrc() const {
  std::string bytes;
  for (const TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (e->Kind != ceChar) continue;
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((e->Id >> shift) & 0xFF);
  }
  return StringCrc32(bytes);
}

// ---------------------------------------------------------------------------
// Positions

namespace {

// Visits the characters counted under the leading-blanks rule.
template <typename Visit>
void ForCountedCharacters(TpsChunkElement* aFirst, bool aSkipLeadingBlanks, bool aStopAtCursor, Visit aVisit) {
  bool leading = aSkipLeadingBlanks;
  for (TpsChunkElement* e = aFirst; e; e = e->Next) {
    if (aStopAtCursor && e->Kind == ceCursor) return;
    if (e->Kind != ceChar) continue;
    if (leading && TpsDataChunk::IsSpaceOrTab(e)) continue;
    leading = false;
    if (!aVisit(e)) return;
  }
}

}  // namespace

Integer TpsDataChunk::CountCharacters(bool aSkipLeadingBlanks, bool aStopAtCursor) const {
  Integer count = 0;
  ForCountedCharacters(FFirst, aSkipLeadingBlanks, aStopAtCursor, [&](TpsChunkElement*) {
    ++count;
    return true;
  });
  return count;
}

TpsChunkElement* TpsDataChunk::GetCharacterByIndex(Integer aIndex, bool aSkipLeadingBlanks) const {
  TpsChunkElement* found = nullptr;
  Integer index = 0;
  if (aIndex < 0) return nullptr;
  ForCountedCharacters(FFirst, aSkipLeadingBlanks, false, [&](TpsChunkElement* e) {
    if (index++ == aIndex) found = e;
    return found == nullptr;
  });
  return found;
}

Integer TpsDataChunk::GetCursorOffset() const {
  if (!HasCursor()) return -1;
  return CountCharacters(false, true);
}

Integer TpsDataChunk::GetCharacterCountAfterCursor(bool aCountBlanks) const {
  TpsChunkElement* cursor = GetCursor();
  if (!cursor) return -1;
  Integer count = 0;
  for (const TpsChunkElement* e = cursor->Next; e; e = e->Next)
    if (e->Kind == ceChar && (aCountBlanks || !IsSpaceOrTab(e))) ++count;
  return count;
}

bool TpsDataChunk::FindText(const WideString& aText, bool aMatchCase, bool aForward, uint32_t& aStartId,
                            uint32_t& aEndId) const {
  aStartId = aEndId = 0;
  TpsChunkElement* cursor = GetCursor();
  if (aText.empty() || !cursor) return false;
  const WideString pattern = aMatchCase ? aText : TpsStrings::WideLowerCase(aText);
  const size_t length = pattern.size();
  // The characters of the current match in walking order; after a
  // mismatch the search starts again at the character after the failed
  // match's first one, so no occurrence is missed ("aab" in "aaab").
  std::vector<TpsChunkElement*> matched;
  TpsChunkElement* e = aForward ? cursor->Next : cursor->Prev;
  while (e) {
    if (IsBlockTag(e) || TagCodeOf(e) == TAG_BR) {
      matched.clear();
    } else if (e->Kind == ceChar) {
      const size_t count = matched.size();
      const WideChar expected = pattern[aForward ? count : length - count - 1];
      const WideChar actual =
          aMatchCase ? e->Char : TpsStrings::WideLowerCase(WideString(1, e->Char))[0];
      if (actual == expected) {
        matched.push_back(e);
        if (matched.size() == length) {
          aStartId = (aForward ? matched.front() : matched.back())->Id;
          aEndId = (aForward ? matched.back() : matched.front())->Id;
          return true;
        }
      } else if (count > 0) {
        TpsChunkElement* restart = matched.front();
        matched.clear();
        e = aForward ? restart->Next : restart->Prev;
        continue;
      }
    }
    e = aForward ? e->Next : e->Prev;
  }
  return false;
}

}  // namespace htmldoc
