#include "htmledit/doc/psTagStyles.h"

#include "htmledit/doc/psContainers.h"
#include "htmledit/doc/psCssParser.h"
#include "htmledit/doc/psTagParser.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/Format.h"

namespace htmldoc {

AnsiString GetTagFontFamily(const TpsMarkupTag& aTag, const TpsStyleSheet& aStyleSheet) {
  AnsiString family;
  const AnsiString style = aTag.GetAttribute("style");
  if (!style.empty()) family = DeclarationsFontFamily(style);
  const AnsiString className = aTag.GetAttribute("class");
  if (family.empty() && !className.empty()) family = aStyleSheet.GetFontFamily("." + className);
  if (family.empty()) family = aStyleSheet.GetFontFamily(aTag.GetName());
  return family;
}

TpsFontSizeValue GetTagFontSize(const TpsMarkupTag& aTag, const TpsStyleSheet& aStyleSheet) {
  TpsFontSizeValue size;
  const AnsiString style = aTag.GetAttribute("style");
  if (!style.empty()) size = DeclarationsFontSize(style);
  const AnsiString className = aTag.GetAttribute("class");
  if (size.Value == 0 && !className.empty()) size = aStyleSheet.GetFontSize("." + className);
  if (size.Value == 0) size = aStyleSheet.GetFontSize(aTag.GetName());
  return size;
}

void ApplyStyleSheetText(const AnsiString& aCss, TpsStyleSheetSink& aEditor, Integer aErrorMode) {
  ParseCss(
      aCss,
      [&aEditor](const AnsiString& aSelector, const AnsiString& aProperty, const AnsiString& aValue,
                 TObjectPtr) { aEditor.SetStyleAttribute(aSelector, aProperty, aValue); },
      &aEditor, static_cast<Byte>(aErrorMode),
      [&aEditor](const AnsiString& aAtRule, TObjectPtr) { aEditor.AddAtRule(aAtRule); });
}

void ApplyStyleSheetFile(const AnsiString& aFileName, TpsStyleSheetSink& aEditor, Integer aErrorMode) {
  if (!rtl::FileExists(aFileName))
    throw rtl::EInOutError(rtl::Format("Stylesheet file not found %s", {aFileName}));
  AnsiString bytes;
  try {
    bytes = rtl::ReadFileBytes(aFileName);
  } catch (const rtl::Exception& e) {
    throw rtl::EInOutError(e.Message());
  }
  const AnsiString text = rtl::ReadStoredText(bytes);
  // Line by line, each line followed by a CR: CR LF, LF and CR end a line,
  // and a last line without an end still counts.
  AnsiString css;
  css.reserve(text.size() + 1);
  size_t i = 0;
  while (i < text.size()) {
    const size_t end = text.find_first_of("\r\n", i);
    if (end == AnsiString::npos) {
      css.append(text, i, AnsiString::npos);
      css += '\r';
      break;
    }
    css.append(text, i, end - i);
    css += '\r';
    i = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  ApplyStyleSheetText(css, aEditor, aErrorMode);
}

Integer TpsDockedAdultNodeList::Add(TpsDockedNode* aNode) {
  FNodes.push_back(aNode);
  return Count() - 1;
}

TpsDockedNode* TpsDockedAdultNodeList::GetNode(Integer aIndex) const {
  if (aIndex < 0 || aIndex >= Count()) RaiseListIndexError(aIndex);
  return FNodes[aIndex];
}

}  // namespace htmldoc
