#include "spell/html/psSpellChecker.h"

#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psHtmlEditSmartTagHost.h"
#include "rtl/Exceptions.h"

namespace spell {

// --- The live-spelling handler ---

TpsSmartTagSpellchecker::TpsSmartTagSpellchecker(TLexaSpell3* aSpell, bool aEnabled, htmledit::TColor aColor)
    : htmledit::TpsSmartTagHandler(aEnabled), FSpell(aSpell) {
  RTL_ASSERT(aSpell);
  FMarkColor = aColor;
  FName = "Spellchecker";
  FDescription = "Lexa Live-spellchecker (https://lexa.example.org/)";
  FHasSetup = true;
}

TpsSmartTagSpellchecker::~TpsSmartTagSpellchecker() {
  if (FSpell && !FSpell->Owner()) delete FSpell;
  FSpell = nullptr;
}

bool TpsSmartTagSpellchecker::IsMisspelt(const AnsiString& aWord) { return !FSpell->WordAcceptable(aWord); }

void TpsSmartTagSpellchecker::AnalyzeBlock(htmledit::TpsSmartTagAnalysisBlock& aBlock) {
  const Integer count = aBlock.GetWordCount();
  RTL_ASSERT(count >= 0);
  for (Integer i = 0; i < count; ++i)
    if (IsMisspelt(aBlock.GetWord(i))) MarkWord(aBlock, i, nullptr);
}

htmledit::TpsHTMLEditBase* HandlerEditorControl(htmledit::TpsSmartTagHandler& aHandler) {
  auto* host = dynamic_cast<htmledit::TpsHtmlEditSmartTagHost*>(aHandler.Editor());
  return host ? &host->Editor() : nullptr;
}

void TpsSmartTagSpellchecker::SmartTagClicked(const htmledit::TpsSmartTagInfo& aInfo, const htmledit::TpsPoint2&,
                                              const htmledit::TpsRect2& aFragmentRect) {
  htmledit::TpsHTMLEditBase* editor = HandlerEditorControl(*this);
  RTL_ASSERT(editor);
  AnsiString word = aInfo.Text;
  const vcl::TPoint topLeft = editor->ClientToScreen(vcl::TPoint{aFragmentRect.Left, aFragmentRect.Top});
  const vcl::TPoint bottomRight = editor->ClientToScreen(vcl::TPoint{aFragmentRect.Right, aFragmentRect.Bottom});
  constexpr TSpellPopupOptions kOptions =
      (1u << spCancel) | (1u << spAdd) | (1u << spIgnoreAll) | (1u << spReplace);
  static_assert(kOptions == 177);
  const TSpellPopupOption result =
      FSpell->ShowPopupMenu(static_cast<vcl::TComponent*>(editor), kOptions, topLeft.X, bottomRight.Y + 1, word);
  if (result == spReplace) editor->ReplaceSmartTagText(word);
  RestartAnalysis();
}

void TpsSmartTagSpellchecker::Setup() { FSpell->ShowConfigDialog(); }

}  // namespace spell
