#pragma once
// A one-line notation for node lists in the model's tests, fuzz targets and
// benchmarks, read into a list and written back from one:
//
//   <p class="x">   a tag, as its markup text (quotes respected)
//   |               the cursor
//   @M7@            marker 7
//   [ ... ]         the elements inside are selected
//   ~x              the character x is a placeholder
//   &amp; &#233;    a character read from an entity (FromEntity)
//   {c:...} {t:...} {s:...}   a comment, tag or string kept verbatim
//   #               an embedded node (one shared stand-in)
//   \x              the character x itself (for < | @ [ ] ~ & { } # \)
//
// Any other character (UTF-8; beyond U+FFFF as a surrogate pair) is a
// character element. The dump writes tags through their text, so a
// fixture round-trips when its tags are written as the tag writes them.
//
// Also: tag events answered from a real style sheet, as the editor answers
// them (internal rules for inline styles).
#include <memory>
#include <stdexcept>
#include <string>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psHtmlEntities.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStyleSheets.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"

namespace htmldoc::testing {

struct StandInNode final : TpsEmbeddedNode {};

inline TpsEmbeddedNode* SharedStandInNode() {
  static StandInNode node;
  return &node;
}

// The editor's answers to the four tag events, from aSheet.
inline TpsHtmlTagEventsRef SheetEvents(TpsStyleSheet& aSheet) {
  auto events = std::make_shared<TpsHtmlTagEvents>();
  TpsStyleSheet* sheet = &aSheet;
  events->OnStyleAttributeToId = [sheet](TpsHtmlTag*, const AnsiString& aText, Integer& aId) {
    aId = -1;
    if (aText.empty()) return;
    auto style = std::make_unique<TpsStyle>(-1, aText);
    for (Integer i = 0; i < sheet->GetCount(); ++i) {
      TpsStyle* rule = sheet->GetItem(i);
      if (!rule->IsClass() && rule->HasSameAttributes(*style) &&
          rule->UnknownDeclarations() == style->UnknownDeclarations())
        aId = i;
    }
    if (aId >= 0) return;
    style->SetName("internal-" + rtl::IntToStr(sheet->GetCount()));
    style->SetOutput(false);
    aId = sheet->AddStyleObject(std::move(style));
  };
  events->OnSelectorToId = [sheet](TpsHtmlTag*, const AnsiString& aSelector, Integer& aId) {
    aId = sheet->IndexOfStyle(aSelector);
  };
  events->OnStyleIdToText = [sheet](TpsHtmlTag*, Integer aId, AnsiString& aText) {
    const TpsStyle* style = sheet->GetStyle(aId);
    aText = style ? style->GetAttributesAsString() : AnsiString();
  };
  events->OnStyleIdToClassName = [sheet](TpsHtmlTag*, Integer aId, AnsiString& aName) {
    const TpsStyle* style = sheet->GetStyle(aId);
    aName = style ? style->Name() : AnsiString();
  };
  return events;
}

namespace detail {

inline void AddCharacters(TpsDataChunk& aChunk, char32_t aCode, bool aSelected, bool aPlaceholder, bool aFromEntity) {
  WideString units;
  rtl::AppendUtf16(units, aCode);
  for (WideChar unit : units) aChunk.AddCharacter(unit, aSelected, aPlaceholder, aFromEntity);
}

// One UTF-8 character starting at aText[i]; i moves past it.
inline char32_t NextCodePoint(const std::string& aText, size_t& i) {
  const unsigned char lead = aText[i];
  const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  const WideString wide = rtl::Utf8ToWide(aText.substr(i, length));
  i += length;
  char32_t code = wide.empty() ? 0xFFFD : wide[0];
  if (wide.size() == 2 && wide[0] >= 0xD800 && wide[0] <= 0xDBFF)
    code = 0x10000 + ((wide[0] - 0xD800) << 10) + (wide[1] - 0xDC00);
  return code;
}

inline bool Special(char32_t c) {
  switch (c) {
    case '<': case '|': case '@': case '[': case ']': case '~': case '&': case '{': case '}': case '#': case '\\':
      return true;
    default:
      return false;
  }
}

}  // namespace detail

inline std::unique_ptr<TpsDataChunk> ReadFixture(const std::string& aText, const TpsHtmlTagEventsRef& aEvents = nullptr) {
  auto chunk = std::make_unique<TpsDataChunk>();
  bool selected = false;
  size_t i = 0;
  const auto fail = [&](const char* aWhat) {
    throw std::invalid_argument(std::string("fixture: ") + aWhat + " at " + std::to_string(i) + " in " + aText);
  };
  while (i < aText.size()) {
    const char c = aText[i];
    if (c == '<') {
      size_t end = i + 1;
      char quote = 0;
      for (; end < aText.size(); ++end) {
        if (quote) {
          if (aText[end] == quote) quote = 0;
        } else if (aText[end] == '"' || aText[end] == '\'') {
          quote = aText[end];
        } else if (aText[end] == '>') {
          break;
        }
      }
      if (end >= aText.size()) fail("tag without '>'");
      chunk->AddTag(TpsHtmlTag::CreateFromText(aEvents, aText.substr(i, end - i + 1)));
      chunk->Last()->Selected = selected;
      i = end + 1;
    } else if (c == '|') {
      chunk->AppendCursor();
      chunk->Last()->Selected = selected;
      ++i;
    } else if (c == '@') {
      const size_t end = aText.find('@', i + 1);
      if (end == std::string::npos || aText.compare(i, 2, "@M") != 0) fail("marker");
      chunk->AddMarker(rtl::StrToInt(aText.substr(i + 2, end - i - 2)));
      chunk->Last()->Selected = selected;
      i = end + 1;
    } else if (c == '[') {
      selected = true;
      ++i;
    } else if (c == ']') {
      selected = false;
      ++i;
    } else if (c == '#') {
      chunk->AddElement(NewNodeElement(SharedStandInNode()));
      chunk->Last()->Selected = selected;
      ++i;
    } else if (c == '{') {
      if (i + 2 >= aText.size() || aText[i + 2] != ':') fail("verbatim item");
      const char kind = aText[i + 1];
      std::string content;
      size_t j = i + 3;
      for (; j < aText.size() && aText[j] != '}'; ++j) {
        if (aText[j] == '\\' && j + 1 < aText.size()) ++j;
        content += aText[j];
      }
      if (j >= aText.size()) fail("verbatim item without '}'");
      std::unique_ptr<TpsIgnoreElement> item;
      if (kind == 'c')
        item = std::make_unique<TpsCommentIgnoreElement>(content);
      else if (kind == 't')
        item = std::make_unique<TpsTagIgnoreElement>(content);
      else
        item = std::make_unique<TpsStringIgnoreElement>(content);
      chunk->AddIgnoreElement(std::move(item));
      chunk->Last()->Selected = selected;
      i = j + 1;
    } else if (c == '&') {
      const size_t end = aText.find(';', i);
      if (end == std::string::npos) fail("entity without ';'");
      const std::string entity = aText.substr(i, end - i + 1);
      Integer code = -1;
      if (entity.size() > 2 && entity[1] == '#') {
        Integer value = 0;
        if (!TryParseCharacterReference(entity, value)) fail("numeric entity");
        code = SanitizeCodePoint(value);
        detail::AddCharacters(*chunk, static_cast<char32_t>(code), selected, false, true);
      } else if (HtmlCodeTable().TryGetEntityChar(entity, code)) {
        detail::AddCharacters(*chunk, static_cast<char32_t>(code), selected, false, true);
      } else if (const THtmlNamedReference* named = FindHtmlNamedReference(entity.substr(1, entity.size() - 2))) {
        detail::AddCharacters(*chunk, named->First, selected, false, true);
        if (named->Second) detail::AddCharacters(*chunk, named->Second, selected, false, true);
      } else {
        fail("unknown entity");
      }
      i = end + 1;
    } else {
      bool placeholder = false;
      if (c == '~') {
        placeholder = true;
        ++i;
      }
      if (i < aText.size() && aText[i] == '\\') ++i;
      if (i >= aText.size()) fail("nothing to escape");
      detail::AddCharacters(*chunk, detail::NextCodePoint(aText, i), selected, placeholder, false);
    }
  }
  return chunk;
}

inline std::string DumpFixture(const TpsDataChunk& aChunk) {
  std::string text;
  bool selected = false;
  for (const TpsChunkElement* e = aChunk.First(); e; e = e->Next) {
    if (e->Selected != selected) {
      text += e->Selected ? '[' : ']';
      selected = e->Selected;
    }
    switch (e->Kind) {
      case ceTag: text += e->Tag->GetText(); break;
      case ceCursor: text += '|'; break;
      case ceMarker: text += "@M" + rtl::IntToStr(e->MarkerNo) + "@"; break;
      case ceNode: text += '#'; break;
      case ceIgnore: {
        const char kind = dynamic_cast<const TpsCommentIgnoreElement*>(e->Content) ? 'c'
                          : dynamic_cast<const TpsTagIgnoreElement*>(e->Content) ? 't' : 's';
        text += '{';
        text += kind;
        text += ':';
        for (char c : e->Content->GetText()) {
          if (c == '}' || c == '\\') text += '\\';
          text += c;
        }
        text += '}';
        break;
      }
      case ceChar: {
        char32_t code = e->Char;
        const bool pair = code >= 0xD800 && code <= 0xDBFF && e->Next && e->Next->Kind == ceChar &&
                          e->Next->Char >= 0xDC00 && e->Next->Char <= 0xDFFF;
        if (pair) code = 0x10000 + ((code - 0xD800) << 10) + (e->Next->Char - 0xDC00);
        if (e->FromEntity) {
          AnsiString entity;
          if (code > 0xFFFF || !HtmlCodeTable().GetEntity(static_cast<Integer>(code), entity))
            entity = "&#" + rtl::IntToStr(static_cast<rtl::Int64>(code)) + ";";
          text += entity;
        } else {
          if (e->Placeholder) text += '~';
          if (detail::Special(code)) text += '\\';
          std::string utf8;
          rtl::AppendUtf8(utf8, code);
          text += utf8;
        }
        if (pair) e = e->Next;
        break;
      }
    }
  }
  if (selected) text += ']';
  return text;
}

// The element that shows the text aText in the dump (a tag's text, a
// character, "|" or "@M1@"), the aNth of them; nullptr when none.
inline TpsChunkElement* At(const TpsDataChunk& aChunk, const std::string& aText, int aNth = 0) {
  for (TpsChunkElement* e = aChunk.First(); e; e = e->Next) {
    std::string shown;
    switch (e->Kind) {
      case ceTag: shown = e->Tag->GetText(); break;
      case ceChar: shown = rtl::WideToUtf8(WideString(1, e->Char)); break;
      case ceCursor: shown = "|"; break;
      case ceMarker: shown = "@M" + std::to_string(e->MarkerNo) + "@"; break;
      default: break;
    }
    if (shown == aText && aNth-- == 0) return e;
  }
  return nullptr;
}

// One element as the dump shows it; "nil" for nullptr.
inline std::string Shown(const TpsChunkElement* e) {
  if (!e) return "nil";
  TpsDataChunk one;
  one.AddElement(CloneElement(e, false));
  one.First()->Selected = false;
  return DumpFixture(one);
}

}  // namespace htmldoc::testing
