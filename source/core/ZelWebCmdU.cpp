#include "core/ZelWebCmdU.h"

#include <string_view>

#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/ListErrors.h"
#include "rtl/Strings.h"

namespace core {

namespace {

struct TValueEscape {
  char Ch;
  std::string_view Escape;
};

// "&" first when escaping is not needed: each character is looked up alone.
// The line-break escapes have no standard entity name without "#", so they
// carry names of their own.
constexpr TValueEscape kValueEscapes[] = {
    {'&', "&amp;"}, {'"', "&quot;"}, {'<', "&lt;"}, {'>', "&gt;"},
    {'#', "&num;"}, {'\r', "&cr;"},  {'\n', "&lf;"},
};

}  // namespace

bool IsInternalTag(const AnsiString& text) { return rtl::StartsText(kInternalTagPrefix, text); }

AnsiString EscapeTagValue(const AnsiString& value) {
  AnsiString out;
  out.reserve(value.size());
  for (char c : value) {
    bool escaped = false;
    for (const auto& e : kValueEscapes) {
      if (e.Ch == c) {
        out += e.Escape;
        escaped = true;
        break;
      }
    }
    if (!escaped) out += c;
  }
  return out;
}

AnsiString UnescapeTagValue(const AnsiString& value) {
  if (value.find('&') == AnsiString::npos) return value;
  AnsiString out;
  out.reserve(value.size());
  std::string_view rest(value);
  while (!rest.empty()) {
    if (rest.front() == '&') {
      bool decoded = false;
      for (const auto& e : kValueEscapes) {
        if (rest.starts_with(e.Escape)) {
          out += e.Ch;
          rest.remove_prefix(e.Escape.size());
          decoded = true;
          break;
        }
      }
      if (decoded) continue;
    }
    out += rest.front();
    rest.remove_prefix(1);
  }
  return out;
}

// ---------------------------------------------------------------------------
void TzelVarList::Add(const AnsiString& name, const AnsiString& value) { Vars.push_back({name, value}); }

void TzelVarList::SetCount(Integer count) { Vars.resize(count < 0 ? 0 : static_cast<size_t>(count)); }

const TzelVar& TzelVarList::Items(Integer index) const {
  if (index < 0 || index >= Count()) throw rtl::EListError(rtl::ListIndexMessage(index));
  return Vars[static_cast<size_t>(index)];
}

void TzelVarList::Put(Integer index, const TzelVar& var) {
  if (index < 0 || index >= Count()) throw rtl::EListError(rtl::ListIndexMessage(index));
  Vars[static_cast<size_t>(index)] = var;
}

AnsiString TzelVarList::Value(const AnsiString& name) const {
  for (const auto& v : Vars)
    if (rtl::SameText(v.Name, name)) return v.Value;
  return {};
}

bool TzelVarList::Exists(const AnsiString& name) const {
  for (const auto& v : Vars)
    if (rtl::SameText(v.Name, name)) return true;
  return false;
}

Integer TzelVarList::IntValue(const AnsiString& name) const { return rtl::StrToInt(Value(name)); }

double TzelVarList::FloatValue(const AnsiString& name) const { return rtl::StrToFloat(Value(name)); }

// ---------------------------------------------------------------------------
AnsiString TzelwebParser::GetEmptyTag() const { return kEmptyInternalTag; }

AnsiString TzelwebParser::BuildTag(Integer type, TzelVarList& attributes) {
  AnsiString tag = kInternalTagPrefix;
  tag += " type=\"";
  tag += rtl::IntToStr(type);
  tag += '"';
  for (const auto& v : attributes.Vars) {
    tag += ' ';
    tag += v.Name;
    tag += "=\"";
    tag += EscapeTagValue(v.Value);
    tag += '"';
  }
  tag += " />";
  return tag;
}

}  // namespace core
