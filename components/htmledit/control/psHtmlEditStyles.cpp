// The editor's style sheet: the built-in rules, CSS added from texts and
// files, the rules named "internal-" and a number that stand for inline
// style texts, and the four callbacks every tag turns style texts and
// names into ids and back with.
#include <algorithm>

#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/doc/psCssParser.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psWindows.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "vcl/Resources.h"

namespace htmledit {

namespace {

// The editor as the CSS readers' sink: each declaration through
// SetStyleAttribute, at-rules into the sheet as they stand.
class TpsEditorStyleSink final : public htmldoc::TpsStyleSheetSink {
 public:
  explicit TpsEditorStyleSink(TpsHTMLEditBase& aEditor) : FEditor(aEditor) {}
  void SetStyleAttribute(const AnsiString& aStyleName, const AnsiString& aAttributeName,
                         const AnsiString& aValue) override {
    FEditor.SetStyleAttribute(aStyleName, aAttributeName, aValue);
  }
  void AddAtRule(const AnsiString& aText) override { FEditor.StyleSheet()->AddAtRule(aText); }

 private:
  TpsHTMLEditBase& FEditor;
};

// Declarations a rule keeps outside the known properties, in a fixed
// order, so that two lists compare equal whatever order they were written in.
std::vector<std::pair<AnsiString, AnsiString>> SortedUnknown(const htmldoc::TpsStyle& aStyle) {
  auto list = aStyle.UnknownDeclarations();
  std::sort(list.begin(), list.end());
  return list;
}

// Sets aFlag for the life of the scope and puts back what it was.
class TpsFlagScope {
 public:
  TpsFlagScope(bool& aFlag, bool aValue) : FFlag(aFlag), FOld(aFlag) { aFlag = aValue; }
  ~TpsFlagScope() { FFlag = FOld; }
  TpsFlagScope(const TpsFlagScope&) = delete;
  TpsFlagScope& operator=(const TpsFlagScope&) = delete;

 private:
  bool& FFlag;
  bool FOld;
};

}  // namespace

void TpsHTMLEditBase::MakeDocumentEvents() {
  auto events = std::make_shared<htmldoc::TpsHtmlTagEvents>();
  events->OnStyleAttributeToId = [this](htmldoc::TpsHtmlTag*, const AnsiString& aText, Integer& aId) {
    aId = GetInternalStyleID(aText);
  };
  events->OnSelectorToId = [this](htmldoc::TpsHtmlTag*, const AnsiString& aSelector, Integer& aId) {
    RTL_ASSERT_MSG(FStyleSheet, "Assertion failure");
    aId = FStyleSheet->IndexOfStyle(aSelector);
  };
  events->OnStyleIdToText = [this](htmldoc::TpsHtmlTag*, Integer aId, AnsiString& aText) {
    RTL_ASSERT_MSG(FStyleSheet, "Assertion failure");
    const htmldoc::TpsStyle* style = aId == -1 ? nullptr : FStyleSheet->GetStyle(aId);
    aText = style ? style->GetAttributesAsString() : AnsiString();
  };
  events->OnStyleIdToClassName = [this](htmldoc::TpsHtmlTag*, Integer aId, AnsiString& aName) {
    RTL_ASSERT_MSG(FStyleSheet, "Assertion failure");
    const htmldoc::TpsStyle* style = aId == -1 ? nullptr : FStyleSheet->GetStyle(aId);
    aName = style ? style->Name() : AnsiString();
  };
  FDocumentEvents = std::move(events);
}

void TpsHTMLEditBase::ResetStyleSheet() {
  auto sheet = std::make_unique<htmldoc::TpsStyleSheet>();
  for (const char* name : {"body", "i", "b", "u", "a", "span", "h1", "h2", "h3", "h4", "h5", "h6", "p", "div", "ul",
                           "ol", "li", "img"})
    sheet->AddStyle(name, false, "", true);
  // The cascade caches leave the old sheet while it still lives.
  if (FSpareContextTree) FSpareContextTree->SetStyleSheet(sheet.get());
  if (FDocument) FDocument->StyleContextTree().SetStyleSheet(sheet.get());
  FStyleSheet = std::move(sheet);
  const vcl::Byte* data = nullptr;
  size_t size = 0;
  if (!vcl::FindResourceData("PS_HTMLEDIT_DEFAULT_STYLES", &data, &size))
    vcl::ResourceNotFound("PS_HTMLEDIT_DEFAULT_STYLES");
  LoadStyleSheetFromString(AnsiString(reinterpret_cast<const char*>(data), size), false);
}

void TpsHTMLEditBase::LoadStyleSheetFromString(const AnsiString& aCss, bool aReset) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  {
    TpsFlagScope loading(FLoadingStyleSheet, true);
    if (aReset) ResetStyleSheet();
    TpsEditorStyleSink sink(*this);
    htmldoc::ApplyStyleSheetText(aCss, sink, htmldoc::cssErrorAll);
  }
  RestyleDocument();
}

void TpsHTMLEditBase::LoadStyleSheetFromFile(const AnsiString& aFileName, bool aReset) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  {
    TpsFlagScope loading(FLoadingStyleSheet, true);
    if (aReset) ResetStyleSheet();
    TpsEditorStyleSink sink(*this);
    htmldoc::ApplyStyleSheetFile(aFileName, sink, htmldoc::cssErrorAll);
  }
  RestyleDocument();
}

void TpsHTMLEditBase::SetStyleAttribute(const AnsiString& aStyleName, const AnsiString& aAttributeName,
                                        const AnsiString& aValue) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  RTL_ASSERT_MSG(FStyleSheet, "Assertion failure");
  AnsiString name = aStyleName;
  const bool isClass = !name.empty() && name[0] == '.';
  if (isClass) name.erase(0, 1);
  if (name.empty()) throw htmldoc::EpsHtmlEditException("TpsHTMLEditBase.SetStyleAttribute: empty style name!");
  FStyleSheet->SetStyleAttribute(
      name, aAttributeName, aValue, isClass,
      [this](TObjectPtr, const AnsiString& aStyle, const AnsiString& aAttribute, bool& ioDelete) {
        DoUnknownStyleAttribute(aStyle, aAttribute, ioDelete);
      });
}

// A rule counts as the text's only when its unknown declarations are the
// text's too: the known properties alone would give "display:none" the id
// of an empty rule, and the next rewrite of the inline style from its id
// would drop the declaration or add one the element never had.
Integer TpsHTMLEditBase::GetInternalStyleID(const AnsiString& aStyleText) {
  RTL_ASSERT_MSG(FStyleSheet, "Assertion failure");
  if (aStyleText.empty()) return -1;
  auto style = std::make_unique<htmldoc::TpsStyle>(-1, aStyleText);
  const auto unknown = SortedUnknown(*style);
  Integer id = -1;
  for (Integer i = 0; i < FStyleSheet->GetCount(); ++i) {
    htmldoc::TpsStyle* rule = FStyleSheet->GetItem(i);
    if (!rule->IsClass() && rule->HasSameAttributes(*style) && SortedUnknown(*rule) == unknown) id = rule->Id();
  }
  if (id >= 0) return id;
  style->SetName("internal-" + rtl::IntToStr(FStyleSheet->GetCount()));
  style->SetIsClass(false);
  style->SetOutput(false);
  id = FStyleSheet->AddStyleObject(std::move(style));
  if (FDocument) FDocument->ResetStyleContext();
  return id;
}

void TpsHTMLEditBase::RestyleDocument() {
  if (ComponentState().Contains(vcl::csDesigning) || FLoadingStyleSheet || !FDocument || !RootWindow()) return;
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  FDocument->ResetStyleContext();
  PostCommand(htmlview::psmBeginEdit);
  PostCommand(htmlview::psmExtractChunk);
  PostCommand(htmlview::psmInvalidateStyles);
  PostCommand(htmlview::psmRelayout);
  PostCommand(htmlview::psmEndEdit);
  ProcessMessages();
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::RegisterHtmlCode(const AnsiString& aEntity, Integer aCharCode) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  htmldoc::HtmlCodeTable().DefineEntity(aEntity, aCharCode);
}

}  // namespace htmledit
