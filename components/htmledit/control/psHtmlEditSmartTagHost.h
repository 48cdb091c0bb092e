#pragma once
// The editor as the smart-tag threads and handlers see it
// (IpsSmartTagEditor). A separate object rather than a base of the
// component, so that the editor's own operations of the same names (the
// selection and wrapping commands) keep their own signatures.
#include "htmledit/control/psSmartTags.h"

namespace htmledit {

class TpsHTMLEditBase;

class TpsHtmlEditSmartTagHost final : public IpsSmartTagEditor {
 public:
  explicit TpsHtmlEditSmartTagHost(TpsHTMLEditBase& aEditor) : FEditor(aEditor) {}
  // The control, for handlers that act on it (a popup under a fragment).
  TpsHTMLEditBase& Editor() const { return FEditor; }

  htmldoc::TpsDocumentAccess& DocumentLock() override;
  IpsSmartTagNode* SmartTagRoot() override;
  IpsSmartTagNode* CaretBlock() override;
  void MarksChanged() override;
  void SetPainting(bool aOn) override;
  TpsSmartTagThread* SmartTagThread() override;
  bool SelectSmartTagFragment() override;
  void InsertTagAroundSelection(const AnsiString& aOpeningTag, std::unique_ptr<htmldoc::TpsMarkupTag> aOuter) override;
  void ReplaceSmartTagText(const AnsiString& aText) override;

 private:
  TpsHTMLEditBase& FEditor;
};

}  // namespace htmledit
