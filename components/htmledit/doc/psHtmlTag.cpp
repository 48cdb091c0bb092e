#include "htmledit/doc/psHtmlTag.h"

#include "htmledit/doc/psLookupLists.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"

namespace htmldoc {

namespace {

AnsiString TagTextFor(Byte aTagCode, Byte aTagType) {
  const AnsiString name = TagCodeToName(aTagCode);
  if (aTagType == ttClosing) return "</" + name + ">";
  if (aTagType == ttEmpty) return "<" + name + " />";
  return "<" + name + ">";
}

}  // namespace

TpsHtmlTag::TpsHtmlTag(const TpsHtmlTagEventsRef& aEvents, Byte aTagCode, Byte aTagType)
    : TpsMarkupTag(TagTextFor(aTagCode, aTagType)), FEvents(aEvents), FTagCode(TAG_UNKNOWN) {}

TpsHtmlTag::TpsHtmlTag(FromText, const TpsHtmlTagEventsRef& aEvents, const AnsiString& aText)
    : TpsMarkupTag(aText), FEvents(aEvents), FTagCode(TAG_UNKNOWN) {}

std::unique_ptr<TpsHtmlTag> TpsHtmlTag::CreateFromText(const TpsHtmlTagEventsRef& aEvents, const AnsiString& aText) {
  return std::unique_ptr<TpsHtmlTag>(new TpsHtmlTag(FromText{}, aEvents, aText));
}

TpsHtmlTag::TpsHtmlTag(const TpsHtmlTag& aSource)
    : TpsMarkupTag(aSource),
      CustomSource(aSource.CustomSource),
      CustomContent(aSource.CustomContent),
      CustomAsWritten(aSource.CustomAsWritten),
      FEvents(aSource.FEvents),
      FTagCode(aSource.FTagCode),
      FTagStyleId(aSource.FTagStyleId),
      FClassStyleId(aSource.FClassStyleId),
      FStyleAttributeId(aSource.FStyleAttributeId) {}

void TpsHtmlTag::NameChanged(const AnsiString& aName) {
  TpsMarkupTag::NameChanged(aName);
  FTagCode = TAG_UNKNOWN;
  FTagStyleId = psStyleIdNotAsked;
}

// The markup tag's own operations change "class" and "style" too; the
// cached ids must follow, or the view would write a stale id back.
void TpsHtmlTag::ResetFor(const AnsiString& aAttributeName) {
  const AnsiString name = rtl::LowerCase(aAttributeName);
  if (name == "class") FClassStyleId = psStyleIdNotAsked;
  if (name == "style") FStyleAttributeId = psStyleIdNotAsked;
}

void TpsHtmlTag::AttributeChanged(const AnsiString& aName, const AnsiString& aValue) {
  TpsMarkupTag::AttributeChanged(aName, aValue);
  ResetFor(aName);
}

void TpsHtmlTag::AttributeRemoved(const AnsiString& aName) {
  TpsMarkupTag::AttributeRemoved(aName);
  ResetFor(aName);
}

Byte TpsHtmlTag::GetTagCode() {
  if (FTagCode == TAG_UNKNOWN) FTagCode = TagNameToCode(GetName());
  return FTagCode;
}

void TpsHtmlTag::SetTagCode(Byte aTagCode) { SetName(TagCodeToName(aTagCode)); }

Integer TpsHtmlTag::GetTagStyleId() {
  if (FTagStyleId == psStyleIdNotAsked) {
    Integer id = -1;
    if (FEvents && FEvents->OnSelectorToId) FEvents->OnSelectorToId(this, GetName(), id);
    FTagStyleId = id;
  }
  return FTagStyleId;
}

Integer TpsHtmlTag::GetClassStyleId() {
  if (FClassStyleId == psStyleIdNotAsked) {
    Integer id = -1;
    if (FEvents && FEvents->OnSelectorToId) FEvents->OnSelectorToId(this, "." + GetAttribute("class"), id);
    FClassStyleId = id;
  }
  return FClassStyleId;
}

Integer TpsHtmlTag::GetStyleAttributeId() {
  if (FStyleAttributeId == psStyleIdNotAsked) {
    Integer id = -1;
    const AnsiString style = GetAttribute("style");
    if (!style.empty() && FEvents && FEvents->OnStyleAttributeToId) FEvents->OnStyleAttributeToId(this, style, id);
    FStyleAttributeId = id;
  }
  return FStyleAttributeId;
}

void TpsHtmlTag::SetClassStyleId(Integer aStyleId) {
  FClassStyleId = psStyleIdNotAsked;
  if (aStyleId == -1) return;
  AnsiString name;
  if (FEvents && FEvents->OnStyleIdToClassName) FEvents->OnStyleIdToClassName(this, aStyleId, name);
  SetAttribute("class", name);
}

void TpsHtmlTag::RemoveClass() {
  RemoveAttribute("class");
  FClassStyleId = psStyleIdNotAsked;
}

void TpsHtmlTag::SetStyleAttributeId(Integer aStyleId) {
  FStyleAttributeId = psStyleIdNotAsked;
  if (aStyleId == -1) {
    RemoveAttribute("style");
    return;
  }
  AnsiString text;
  if (FEvents && FEvents->OnStyleIdToText) FEvents->OnStyleIdToText(this, aStyleId, text);
  SetAttribute("style", text);
}

void TpsHtmlTag::InvalidateStyles() {
  FTagStyleId = FClassStyleId = FStyleAttributeId = psStyleIdNotAsked;
}

bool TpsHtmlTag::ReadSize(const char* aName, Integer& aValue) {
  aValue = 0;
  if (!HasAttribute(aName)) return false;
  const AnsiString text = GetAttribute(aName);
  const Byte code = GetTagCode();
  if (code == TAG_TABLE || code == TAG_TD || code == TAG_TH) {
    if (text.size() > 1 && text.back() == '%') {
      Integer value = 0;
      if (!rtl::TryStrToInt(text.substr(0, text.size() - 1), value)) return false;
      aValue = -value;
      return true;
    }
  } else if (code != TAG_IMG) {
    return false;
  }
  return rtl::TryStrToInt(text, aValue);
}

void TpsHtmlTag::WriteSize(const char* aName, Integer aValue) {
  const Byte code = GetTagCode();
  if (aValue < 0 && (code == TAG_TABLE || code == TAG_TD || code == TAG_TH))
    SetAttribute(aName, rtl::IntToStr(-static_cast<rtl::Int64>(aValue)) + "%");
  else
    SetAttribute(aName, rtl::IntToStr(aValue));
}

Integer TpsHtmlTag::GetWidth() {
  Integer value;
  return ReadSize("width", value) ? value : 0;
}
Integer TpsHtmlTag::GetHeight() {
  Integer value;
  return ReadSize("height", value) ? value : 0;
}
bool TpsHtmlTag::HasWidth() {
  Integer value;
  return ReadSize("width", value);
}
bool TpsHtmlTag::HasHeight() {
  Integer value;
  return ReadSize("height", value);
}
void TpsHtmlTag::SetWidth(Integer aValue) { WriteSize("width", aValue); }
void TpsHtmlTag::SetHeight(Integer aValue) { WriteSize("height", aValue); }

Byte TpsHtmlTag::GetAlign() const {
  const AnsiString align = rtl::LowerCase(GetAttribute("align"));
  if (align == "left") return 0;
  if (align == "right") return 1;
  if (align == "top") return 3;
  if (align == "bottom") return 4;
  return 2;
}

void TpsHtmlTag::SetAlign(Byte aAlign) {
  static const char* const kNames[] = {"left", "right", "middle", "top", "bottom"};
  if (aAlign < 5)
    SetAttribute("align", kNames[aAlign]);
  else if (aAlign == 5 && HasAttribute("align"))
    RemoveAttribute("align");
}

Integer TpsHtmlTag::GetCellSpacing() const {
  Integer value = -1;
  return GetAttributeAsInteger("cellspacing", value) ? value : -1;
}
Integer TpsHtmlTag::GetCellPadding() const {
  Integer value = -1;
  return GetAttributeAsInteger("cellpadding", value) ? value : -1;
}
void TpsHtmlTag::SetCellSpacing(Integer aValue) { SetAttribute("cellspacing", rtl::IntToStr(aValue)); }
void TpsHtmlTag::SetCellPadding(Integer aValue) { SetAttribute("cellpadding", rtl::IntToStr(aValue)); }

}  // namespace htmldoc
