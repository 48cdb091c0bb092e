#pragma once
// Live spelling in the HTML editor. TpsSmartTagSpellchecker is a smart-tag
// handler: on the editor's analysis thread it marks every word of a block
// the spell component does not accept, and a click on a marked word opens
// the component's spelling popup there. The words reach the component as
// UTF-8, through its own interface, whose lock keeps the analysis thread
// and the user-interface thread (a check run, the popup, a dialog) apart;
// the handler adds no lock of its own.
#include "htmledit/control/psSmartTags.h"
#include "spell/lx3Spell.h"

namespace htmledit {
class TpsHTMLEditBase;
}  // namespace htmledit

namespace spell {

class TpsSmartTagSpellchecker : public htmledit::TpsSmartTagHandler {
 public:
  // aSpell is required; the handler frees it only when it has no owner.
  TpsSmartTagSpellchecker(TLexaSpell3* aSpell, bool aEnabled, htmledit::TColor aColor);
  ~TpsSmartTagSpellchecker() override;

  TLexaSpell3* Spell() const { return FSpell; }
  bool IsMisspelt(const AnsiString& aWord);

  // On the analysis thread: each word the component rejects is marked.
  void AnalyzeBlock(htmledit::TpsSmartTagAnalysisBlock& aBlock) override;
  // On the user-interface thread: the popup under the fragment; a chosen
  // suggestion replaces the fragment; every block is analysed again.
  void SmartTagClicked(const htmledit::TpsSmartTagInfo& aInfo, const htmledit::TpsPoint2& aClickPoint,
                       const htmledit::TpsRect2& aFragmentRect) override;
  // The component's options dialog.
  void Setup() override;

 private:
  TLexaSpell3* FSpell;
};

// The editor control a handler registered with it belongs to; nullptr for
// a handler not registered with an editor component.
htmledit::TpsHTMLEditBase* HandlerEditorControl(htmledit::TpsSmartTagHandler& aHandler);

}  // namespace spell
