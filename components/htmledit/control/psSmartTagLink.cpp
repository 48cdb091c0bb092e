#include "htmledit/control/psSmartTagLink.h"

#include <array>

namespace htmledit {

namespace {


// In this order when two start at the same place.
constexpr std::array<std::u16string_view, 6> kPrefixes = {u"http://", u"https://", u"news://",
                                                           u"ftp://",  u"mailto:",  u"www."};

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool IsTrailingPunctuation(char16_t c) {
  switch (c) {
    case u'.': case u',': case u';': case u':': case u'!': case u'?':
    case u'"': case u'\'': case 0x2018: case 0x2019: case 0x201C: case 0x201D:
      return true;
    default:
      return false;
  }
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
  WideString lower(aText, static_cast<size_t>(aStart - 1));
  for (char16_t& c : lower) c = AsciiLower(c);
  size_t from = 0;
  for (;;) {
    size_t best = WideString::npos;
    size_t bestLength = 0;
    for (std::u16string_view prefix : kPrefixes) {
      const size_t at = lower.find(prefix, from);
      if (at < best) {
        best = at;
        bestLength = prefix.size();
      }
    }
    if (best == WideString::npos) return false;
    size_t end = lower.find(u' ', best);  // one past the address
    if (end == WideString::npos) end = lower.size();
    for (bool trimmed = true; trimmed && end > best;) {
      trimmed = false;
      const char16_t last = lower[end - 1];
      if (IsTrailingPunctuation(last)) {
        --end;
        trimmed = true;
      } else if (last == u')' || last == u']') {
        const char16_t open = last == u')' ? u'(' : u'[';
        long balance = 0;
        for (size_t i = best; i < end; ++i) balance += (lower[i] == open) - (lower[i] == last);
        if (balance < 0) {
          --end;
          trimmed = true;
        }
      }
    }
    // A prefix with nothing after it is no address; look further on.
    if (end <= best + bestLength) {
      from = best + 1;
      continue;
    }
    aFirst = aStart + static_cast<Integer>(best);
    aLast = aStart + static_cast<Integer>(end) - 1;
    return true;
  }
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
  const WideString& text = aBlock.BlockText();
  Integer position = 1, first, last;
  while (FindUrl(text, position, first, last)) {
    MarkRange(aBlock, first, last, nullptr);
    position = last + 1;
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
