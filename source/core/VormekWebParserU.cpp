#include "core/VormekWebParserU.h"

#include <string_view>
#include <vector>

#include "core/KnRegExU.h"
#include "rtl/Convert.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace core {

namespace {

constexpr char kPinNumberPattern[] = "[0-9][0-9]?";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsKeyNameChar(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Removes the leading run of characters that pass keep and returns it.
template <typename Pred>
AnsiString TakeLeading(AnsiString& s, Pred keep) {
  size_t n = 0;
  while (n < s.size() && keep(s[n])) ++n;
  AnsiString run = s.substr(0, n);
  s.erase(0, n);
  return run;
}

AnsiString TakeNumber(AnsiString& s) {
  return TakeLeading(s, [](char c) { return IsDigit(c) || c == '.'; });
}

void DropLast(AnsiString& s, size_t count) { s.resize(s.size() > count ? s.size() - count : 0); }

// The number of the first operator, in table order, that text begins with;
// ">" when none does.
Integer LeadingOperator(const AnsiString& text) {
  for (Integer i = 0; i < kOperatorCount; ++i)
    if (rtl::StartsStr(kOperatorTexts[static_cast<size_t>(i)], text)) return i;
  return kOperatorGreater;
}

AnsiString HideLineBreaks(const AnsiString& text) {
  using rtl::TReplaceFlag;
  AnsiString s = rtl::StringReplace(text, "\n", kLineFeedPlaceholder, {TReplaceFlag::rfReplaceAll});
  return rtl::StringReplace(s, "\r", kCarriageReturnPlaceholder, {TReplaceFlag::rfReplaceAll});
}

AnsiString RestoreLineBreaks(const AnsiString& text) {
  using rtl::TReplaceFlag;
  if (text.find(kLineFeedPlaceholder) == AnsiString::npos && text.find(kCarriageReturnPlaceholder) == AnsiString::npos)
    return text;
  AnsiString s = rtl::StringReplace(text, kLineFeedPlaceholder, "\n", {TReplaceFlag::rfReplaceAll});
  return rtl::StringReplace(s, kCarriageReturnPlaceholder, "\r", {TReplaceFlag::rfReplaceAll});
}

// A value the page form writes "as an integer": "03" becomes "3". A value
// that is no integer is written as stored, so that saving a page never
// fails on a tag the user could not have typed wrong in the dialog.
AnsiString AsIntegerText(const AnsiString& value) {
  Integer n = 0;
  return rtl::TryStrToInt(value, n) ? rtl::IntToStr(n) : value;
}

// The operator text of a stored operator number; a number outside the table
// (or no number) is written as stored.
AnsiString OperatorText(const AnsiString& value) {
  Integer n = 0;
  if (rtl::TryStrToInt(value, n) && n >= 0 && n < kOperatorCount) return kOperatorTexts[static_cast<size_t>(n)];
  return value;
}

// Every key-class pattern with its optional items taken both ways.
const std::vector<std::vector<AnsiString>>& KeyClassVariants() {
  static const std::vector<std::vector<AnsiString>> variants = [] {
    std::vector<std::vector<AnsiString>> all;
    all.reserve(kKeyClassCount);
    for (const char* pattern : kKeyClassPatterns) all.push_back(ExpandOptionalItems(pattern));
    return all;
  }();
  return variants;
}

void SetPattern(TKnRegEx& re, const AnsiString& pattern) {
  re.MatchPattern()->Clear();
  re.MatchPattern()->Add(pattern);
}

}  // namespace

// ---------------------------------------------------------------------------
TVormekWebParser::TVormekWebParser()
    : pageRegEx_(std::make_unique<TKnRegEx>()), keyRegEx_(std::make_unique<TKnRegEx>()) {
  pageRegEx_->SetIgnoreCase(true);
  keyRegEx_->SetIgnoreCase(true);
  auto list = std::make_unique<TvormekTagList>();
  list->FillCommands();
  tagList_ = std::move(list);
}

TVormekWebParser::~TVormekWebParser() = default;

// ---------------------------------------------------------------------------
TzelVarList TVormekWebParser::ParseTag(const AnsiString& text) const {
  AnsiString s = text;
  if (IsInternalTag(s)) {
    rtl::Delete(s, 1, kInternalTagPrefixLength);
    s = rtl::Trim(s);
  }
  TzelVarList attrs;
  AnsiString name, value;
  bool inValue = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (!inValue) {
      if (c == '=' && i + 1 < s.size() && s[i + 1] == '"') {
        value.clear();
        inValue = true;
        ++i;
      } else {
        name += c;
      }
    } else if (c == '"') {
      attrs.Add(rtl::Trim(name), UnescapeTagValue(value));
      name.clear();
      value.clear();
      inValue = false;
    } else {
      value += c;
    }
  }
  return attrs;
}

AnsiString TVormekWebParser::BuildTag(Integer type, TzelVarList& attributes) {
  ClassifyKey(type, attributes);
  return TzelwebParser::BuildTag(type, attributes);
}

// ---------------------------------------------------------------------------
AnsiString TVormekWebParser::PinNumber(const AnsiString& text, Integer& after) {
  SetPattern(*keyRegEx_, kPinNumberPattern);
  TKnMatchPos pos;
  if (!keyRegEx_->FindMatch(text, pos)) {
    after = rtl::Length(text) + 1;
    return {};
  }
  after = static_cast<Integer>(pos.LastIndex) + 1;
  return rtl::Copy(text, static_cast<Integer>(pos.FirstIndex), static_cast<Integer>(pos.MatchLength));
}

AnsiString TVormekWebParser::ReadTag(Integer type, const AnsiString& tag) {
  TzelVarList a;
  Integer after = 0;
  AnsiString rest;
  switch (type) {
    case vtPin:
    case vtPinAnalog:
      a.Add("X", PinNumber(tag, after));
      break;
    case vtPinAnalogCalc: {
      a.Add("X", PinNumber(tag, after));
      rest = rtl::Trim(rtl::Copy(tag, after));
      rtl::Delete(rest, 1, 6);  // "ANALOG"
      static constexpr std::pair<const char*, char> kParts[] = {
          {"A", '*'}, {"B", '/'}, {"C", '+'}, {"D", '-'}, {"P", ','}};
      for (const auto& [name, sign] : kParts) {
        rest = rtl::Trim(rest);
        if (!rest.empty() && rest.front() == sign) {
          rest.erase(0, 1);
          a.Add(name, TakeNumber(rest));
        }
      }
      break;
    }
    case vtPinText: {
      a.Add("X", PinNumber(tag, after));
      rest = rtl::Trim(rtl::Copy(tag, after));
      const AnsiString low = rtl::Copy(rest, 1, rtl::Pos('/', rest) - 1);
      a.Add("LTAG", low);
      DropLast(rest, 4);  // ")-->"
      a.Add("HTAG", rtl::Copy(rest, rtl::Length(low) + 2));
      break;
    }
    case vtSerialData: {
      rest = tag;
      rtl::Delete(rest, 1, 17);  // "<!--(SERIAL DATA "
      rest = rtl::Trim(rest);
      const AnsiString x = rtl::Copy(rest, 1, rtl::Pos(' ', rest) - 1);
      a.Add("X", x);
      DropLast(rest, 4);
      a.Add("y", rtl::Copy(rest, rtl::Length(x) + 2));
      break;
    }
    case vtPlugIn:
      rest = tag;
      rtl::Delete(rest, 1, 13);  // "<!--(PLUG-IN "
      DropLast(rest, 4);
      a.Add("DATA", rest);
      break;
    case vtIfPinEqual:
    case vtIfPinCompare: {
      a.Add("X", PinNumber(tag, after));
      rest = rtl::Trim(rtl::Copy(tag, after));
      const Integer op = LeadingOperator(rest);
      a.Add("OPT", rtl::IntToStr(op));
      TakeLeading(rest, [](char c) { return !IsDigit(c); });
      a.Add("a", TakeNumber(rest));
      type = op == kOperatorEqual ? vtIfPinEqual : vtIfPinCompare;
      break;
    }
    case vtIfKey: {
      rest = tag;
      rtl::Delete(rest, 1, 7);  // "<!--(IF"
      rest = rtl::Trim(rest);
      a.Add("x", TakeLeading(rest, IsKeyNameChar));
      rest = rtl::Trim(rest);
      a.Add("OPT", rtl::IntToStr(LeadingOperator(rest)));
      TakeLeading(rest, [](char c) { return c == ' ' || c == '!' || c == '<' || c == '=' || c == '>'; });
      DropLast(rest, 4);
      a.Add("n", rest);
      break;
    }
    case vtElse:
    case vtEndIf:
      break;
    case vtExec: {
      rest = tag;
      rtl::Delete(rest, 1, 10);  // "<!--(EXEC "
      DropLast(rest, 4);
      rest = rtl::Trim(rest);
      const Integer eq = rtl::Pos('=', rest);
      a.Add("KEY", rtl::Copy(rest, 1, eq - 1));
      a.Add("VALUE", rtl::Copy(rest, eq + 1));
      break;
    }
    case vtRead:
      rest = tag;
      rtl::Delete(rest, 1, 10);  // "<!--(READ "
      DropLast(rest, 4);
      a.Add("KEY", rtl::Trim(rest));
      break;
    default:
      rest = rtl::StringReplace(tag, "<!--(", "");
      a.Add("data", rtl::StringReplace(rest, ")-->", ""));
      break;
  }
  return BuildTag(type, a);
}

AnsiString TVormekWebParser::PageToEditor(const AnsiString& page) {
  AnsiString text = HideLineBreaks(page);
  for (Integer type = 0; type < kTagKindCount; ++type) {
    SetPattern(*pageRegEx_, kTagSyntaxPatterns[static_cast<size_t>(type)]);
    for (;;) {
      TKnMatchPos pos;
      if (!pageRegEx_->FindMatch(text, pos) || pos.MatchLength == 0) break;
      const size_t first = pos.FirstIndex - 1;
      const AnsiString tag = ReadTag(type, RestoreLineBreaks(text.substr(first, pos.MatchLength)));
      text.replace(first, pos.MatchLength, tag);
    }
  }
  return RestoreLineBreaks(text);
}

// ---------------------------------------------------------------------------
AnsiString TVormekWebParser::EditorToPage(const AnsiString& text) const {
  const TzelVarList a = ParseTag(text);
  if (!a.Exists("type")) return text;
  Integer type = 0;
  // An unreadable type number leaves the text as it is: saving goes on.
  if (!rtl::TryStrToInt(a.Value("type"), type)) return text;
  auto v = [&a](const char* name) { return a.Value(name); };
  switch (type) {
    case vtPin:
      return "<!--(PIN " + AsIntegerText(v("X")) + ")-->";
    case vtPinAnalog:
      return "<!--(PIN " + AsIntegerText(v("X")) + " ANALOG)-->";
    case vtPinAnalogCalc: {
      AnsiString s = "<!--(PIN " + v("X") + " ANALOG";
      if (a.Exists("A")) s += "*" + v("A");
      if (a.Exists("B")) s += "/" + v("B");
      if (a.Exists("C")) s += "+" + v("C");
      if (a.Exists("D")) s += "-" + v("D");
      return s + "," + v("P") + ")-->";
    }
    case vtPinText:
      return "<!--(PIN " + AsIntegerText(v("X")) + " " + v("LTAG") + "/" + v("HTAG") + ")-->";
    case vtSerialData:
      return "<!--(SERIAL DATA " + v("X") + " " + v("Y") + ")-->";
    case vtPlugIn:
      return "<!--(PLUG-IN " + v("DATA") + ")-->";
    case vtIfPinEqual:
    case vtIfPinCompare:
      return "<!--(IF PIN " + v("X") + " " + OperatorText(v("OPT")) + " " + v("a") + ")-->";
    case vtIfKey:
      return "<!--(IF " + v("x") + " " + OperatorText(v("OPT")) + " " + v("n") + ")-->";
    case vtElse:
      return "<!--(ELSE)-->";
    case vtEndIf:
      return "<!--(ENDIF)-->";
    case vtExec:
      return "<!--(EXEC " + v("KEY") + "=" + v("VALUE") + ")-->";
    case vtRead:
      return "<!--(READ " + v("KEY") + ")-->";
    case vtOther:
      return "<!--(" + v("data") + ")-->";
    default:
      return {};
  }
}

AnsiString TVormekWebParser::GetCommandText(const AnsiString& text) const {
  const AnsiString page = EditorToPage(text);
  return rtl::Copy(page, 6, rtl::Length(page) - 9);
}

AnsiString TVormekWebParser::FindTagAt(const AnsiString& line, Integer position) const {
  if (rtl::Length(line) < position) return {};
  Integer start = 1;
  for (;;) {
    const Integer open = rtl::PosEx("<", line, start);
    if (open == 0) return {};
    Integer length = 0;
    if (rtl::Copy(line, open, 5) == "<!--(") {
      const Integer close = rtl::PosEx(")-->", line, open);
      if (close == 0) return {};
      length = close + 4 - open;
    } else {
      const Integer close = rtl::PosEx(">", line, open + 1);
      if (close == 0) return {};
      length = close + 1 - open;
    }
    const Integer next = open + length;
    if (next > position) {
      // The first tag that reaches past the position covers it only when it
      // starts at or before it; text between tags has no tag.
      return open <= position ? rtl::Copy(line, open, length) : AnsiString();
    }
    start = next;
  }
}

// ---------------------------------------------------------------------------
bool TVormekWebParser::KeyPatternFound(const AnsiString& pattern, const AnsiString& key) {
  SetPattern(*keyRegEx_, pattern);
  TKnMatchPos pos;
  return keyRegEx_->FindMatch(key, pos);
}

Integer TVormekWebParser::KeyClass(const AnsiString& key) {
  const auto& variants = KeyClassVariants();
  for (Integer index : kKeyClassSearchOrder) {
    if (index == kKeyClassCatchAll) break;  // matches every key, the empty one too
    for (const auto& pattern : variants[static_cast<size_t>(index)])
      if (KeyPatternFound(pattern, key)) return index;
  }
  return kKeyClassCatchAll;
}

void TVormekWebParser::ClassifyKey(Integer type, TzelVarList& attributes) {
  if ((type == vtIfKey || type == vtExec || type == vtRead) && !attributes.Exists("KEY"))
    attributes.Add("KEY", attributes.Value("x"));
  if (!attributes.Exists("KEY")) return;
  const AnsiString key = attributes.Value("KEY");
  const Integer index = KeyClass(key);
  attributes.Add(kAttrKeyCmdClass, rtl::IntToStr(index));
  if (index >= kKeyClassPinFirst && index <= kKeyClassPinLast) {
    Integer after = 0;
    attributes.Add(kAttrKeyPinNum, PinNumber(key, after));
  } else if (index >= kKeyClassRegFirst && index <= kKeyClassRegLast) {
    attributes.Add(kAttrKeyRegNum, rtl::Copy(key, 4, 2));
  } else if (index == kKeyClassTemp) {
    attributes.Add(kAttrKeyGrade, rtl::Copy(key, 5, 1));
    attributes.Add(kAttrKeyI2cTemp, rtl::Copy(key, 6));
  }
}

// ---------------------------------------------------------------------------
AnsiString TVormekWebParser::TagHelpKeyword(const AnsiString& text, bool internal) {
  const AnsiString tag = internal ? text : PageToEditor(text);
  if (!IsInternalTag(tag)) return {};
  const TzelVarList attrs = ParseTag(tag);
  const TcustomTagParams tpl = GetTagTemplate(attrs.IntValue("type"));

  AnsiString keyword, name;
  bool collecting = false;
  for (char c : tpl.Template) {
    if (c == '%') {
      collecting = true;
      name.clear();
    } else if (c == '$' && collecting) {
      collecting = false;
      const TcustomTagParam* param = nullptr;
      for (const auto& p : tpl.Params)
        if (p.Name == name) {
          param = &p;
          break;
        }
      if (param && param->Kind == tpkOperator) {
        // An IF tag without a readable operator has no help topic of its own.
        const AnsiString op = attrs.Value(name);
        if (op.empty()) return {};
        const Integer n = attrs.IntValue(name);
        if (n < 0 || n >= kOperatorCount) return {};
        keyword += kOperatorTexts[static_cast<size_t>(n)];
      } else {
        keyword += attrs.Value(name);
      }
    } else if (collecting) {
      name += c;
    } else {
      keyword += c;
    }
  }
  return keyword;
}

}  // namespace core
