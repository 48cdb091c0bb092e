#include "htmledit/control/psSmartTagLink.h"

#include <array>
#include <string_view>

namespace htmledit {

namespace {


// In this order when two start at the same place.
constexpr std::array<std::u16string_view, 6> kPrefixes = {u"http://", u"https://", u"news://",
                                                           u"ftp://",  u"mailto:",  u"www."};

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The first letters of the prefixes, either case.
bool IsPrefixStart(char16_t c) {
  const char16_t l = AsciiLower(c);
  return l == u'h' || l == u'n' || l == u'f' || l == u'm' || l == u'w';
}

bool IsTrailingPunctuation(char16_t c) {
  switch (c) {
    case u'.': case u',': case u';': case u':': case u'!': case u'?':
    case u'"': case u'\'': case 0x2018: case 0x2019: case 0x201C: case 0x201D:
      return true;
    default:
      return false;
  }
}

// The next address whose prefix starts at or after aFrom (0-based): aFirst
// its first index, aEnd one past its last. The prefixes are tried together
// at each position, ASCII case ignored in place (no lower-cased copy), so
// a search costs the distance to the next address, not the rest of the
// text, and a loop over a block's addresses stays linear.
bool NextUrl(const WideString& aText, size_t aFrom, size_t& aFirst, size_t& aEnd) {
  const size_t size = aText.size();
  for (size_t best = aFrom; best < size; ++best) {
    if (!IsPrefixStart(aText[best])) continue;
    size_t bestLength = 0;
    for (std::u16string_view prefix : kPrefixes) {
      if (best + prefix.size() > size) continue;
      size_t k = 0;
      while (k < prefix.size() && AsciiLower(aText[best + k]) == prefix[k]) ++k;
      if (k == prefix.size()) {
        bestLength = k;
        break;
      }
    }
    if (!bestLength) continue;
    size_t end = aText.find(u' ', best);  // one past the address
    if (end == WideString::npos) end = size;
    // Brackets of each kind in the address, kept as it shrinks.
    long parens = 0, brackets = 0;
    for (size_t i = best; i < end; ++i) {
      const char16_t c = aText[i];
      parens += (c == u'(') - (c == u')');
      brackets += (c == u'[') - (c == u']');
    }
    while (end > best) {
      const char16_t last = aText[end - 1];
      if (last == u')' && parens < 0)
        ++parens;
      else if (last == u']' && brackets < 0)
        ++brackets;
      else if (!IsTrailingPunctuation(last))
        break;
      --end;
    }
    // A prefix with nothing after it is no address; look further on.
    if (end <= best + bestLength) continue;
    aFirst = best;
    aEnd = end;
    return true;
  }
  return false;
}

}  // namespace

TpsSmartTagCreateLinkHandler::TpsSmartTagCreateLinkHandler(bool aEnabled, TColor aMarkColor,
                                                           TCreateLinkEvent aOnCreateLink)
    : TpsSmartTagHandler(aEnabled), OnCreateLink(std::move(aOnCreateLink)) {
  FName = "URL Creator";
  FDescription = "Marks text that looks like a web, news, FTP or mail address and offers to make it a link.";
  FMarkColor = aMarkColor;
}

bool TpsSmartTagCreateLinkHandler::FindUrl(const WideString& aText, Integer aStart, Integer& aFirst,
                                           Integer& aLast) {
  const Integer length = static_cast<Integer>(aText.size());
  if (aStart < 1 || aStart > length) return false;
  size_t first, end;
  if (!NextUrl(aText, static_cast<size_t>(aStart - 1), first, end)) return false;
  aFirst = static_cast<Integer>(first) + 1;
  aLast = static_cast<Integer>(end);
  return true;
}

AnsiString TpsSmartTagCreateLinkHandler::LinkTagFor(const AnsiString& aUrl) {
  AnsiString url;
  for (char c : aUrl) {
    if (c == '"')
      url += "%22";
    else if (c == '<')
      url += "%3C";
    else if (c == '>')
      url += "%3E";
    else
      url += c;
  }
  return "<a href=\"" + url + "\">";
}

void TpsSmartTagCreateLinkHandler::AnalyzeBlock(TpsSmartTagAnalysisBlock& aBlock) {
  size_t from = 0, first, end;
  while (NextUrl(aBlock.BlockText(), from, first, end)) {
    MarkRange(aBlock, static_cast<Integer>(first) + 1, static_cast<Integer>(end), nullptr);
    from = end;
  }
}

void TpsSmartTagCreateLinkHandler::SmartTagClicked(const TpsSmartTagInfo& aInfo, const TpsPoint2& aClickPoint,
                                                   const TpsRect2& aFragmentRect) {
  if (!OnCreateLink) return;
  const AnsiString url = aInfo.Text;
  AnsiString html = LinkTagFor(url);
  AnsiString replacement;
  std::unique_ptr<htmldoc::TpsMarkupTag> outer;
  OnCreateLink(this, aClickPoint, aFragmentRect, url, replacement, html, outer);
  if (replacement.empty() || !Editor()) return;
  if (!Editor()->SelectSmartTagFragment()) return;
  Editor()->InsertTagAroundSelection(html, std::move(outer));
  Editor()->ReplaceSmartTagText(replacement);
}

}  // namespace htmledit
