#pragma once
// The smart-tag handler that marks text looking like a web, news, FTP or
// mail address; a right-click on such a fragment asks the host whether to
// turn it into a link.
#include <functional>
#include <memory>

#include "htmledit/control/psSmartTags.h"
#include "htmledit/doc/psTagParser.h"

namespace htmledit {

class TpsSmartTagCreateLinkHandler : public TpsSmartTagHandler {
 public:
  // The host's answer: a replacement text (empty: nothing happens), the
  // opening tag to put around the fragment and an optional outer tag.
  using TCreateLinkEvent = std::function<void(TpsSmartTagCreateLinkHandler* aSender, const TpsPoint2& aClickPoint,
                                              const TpsRect2& aFragmentRect, const AnsiString& aUrl,
                                              AnsiString& aReplacement, AnsiString& aHtml,
                                              std::unique_ptr<htmldoc::TpsMarkupTag>& aOuterTag)>;

  TpsSmartTagCreateLinkHandler(bool aEnabled, TColor aMarkColor, TCreateLinkEvent aOnCreateLink);

  // The next address at or after aStart (1-based) in aText: the prefix
  // ("http://", "https://", "news://", "ftp://", "mailto:", "www.", ASCII
  // case ignored) that occurs first, up to the next blank, less trailing
  // punctuation and unmatched closing brackets. Positions are aText's.
  static bool FindUrl(const WideString& aText, Integer aStart, Integer& aFirst, Integer& aLast);
  // The opening tag for a URL; its quote and angle brackets written as
  // %22, %3C and %3E so page text cannot add attributes.
  static AnsiString LinkTagFor(const AnsiString& aUrl);

  void AnalyzeBlock(TpsSmartTagAnalysisBlock& aBlock) override;
  void SmartTagClicked(const TpsSmartTagInfo& aInfo, const TpsPoint2& aClickPoint,
                       const TpsRect2& aFragmentRect) override;

  TCreateLinkEvent OnCreateLink;
};

}  // namespace htmledit
