#include "dropdown/text/HtmlMarkup.h"

#include <array>

#include "rtl/Strings.h"

namespace dropdown {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Entities of the preparation pass and the characters they stand for.
struct Entity {
  std::string_view name;
  std::string_view text;
};
constexpr std::array<Entity, 9> kPrepareEntities = {{
    {"&amp;", "&"},
    {"&quot;", "\""},
    {"&sect;", "\xC2\xA7"},
    {"&permil;", "\xE2\x80\xB0"},
    {"&reg;", "\xC2\xAE"},
    {"&copy;", "\xC2\xA9"},
    {"&para;", "\xC2\xB6"},
    {"&trade;", "\xE2\x84\xA2"},
    {"&euro;", "\xE2\x82\xAC"},
}};
constexpr size_t kLongestPrepareEntity = 8;  // "&permil;"

// The named characters of control values; decoding also knows the four
// markup entities.
constexpr std::array<Entity, 51> kValueEntities = {{
    {"&eacute;", "\xC3\xA9"}, {"&egrave;", "\xC3\xA8"}, {"&euml;", "\xC3\xAB"},  {"&ecirc;", "\xC3\xAA"},
    {"&oacute;", "\xC3\xB3"}, {"&ograve;", "\xC3\xB2"}, {"&ouml;", "\xC3\xB6"},  {"&ocirc;", "\xC3\xB4"},
    {"&iacute;", "\xC3\xAD"}, {"&igrave;", "\xC3\xAC"}, {"&iuml;", "\xC3\xAF"},  {"&icirc;", "\xC3\xAE"},
    {"&uacute;", "\xC3\xBA"}, {"&ugrave;", "\xC3\xB9"}, {"&uuml;", "\xC3\xBC"},  {"&ucirc;", "\xC3\xBB"},
    {"&aacute;", "\xC3\xA1"}, {"&agrave;", "\xC3\xA0"}, {"&auml;", "\xC3\xA4"},  {"&acirc;", "\xC3\xA2"},
    {"&Eacute;", "\xC3\x89"}, {"&Egrave;", "\xC3\x88"}, {"&Euml;", "\xC3\x8B"},  {"&Ecirc;", "\xC3\x8A"},
    {"&Oacute;", "\xC3\x93"}, {"&Ograve;", "\xC3\x92"}, {"&Ouml;", "\xC3\x96"},  {"&Ocirc;", "\xC3\x94"},
    {"&Iacute;", "\xC3\x8D"}, {"&Igrave;", "\xC3\x8C"}, {"&Iuml;", "\xC3\x8F"},  {"&Icirc;", "\xC3\x8E"},
    {"&Uacute;", "\xC3\x9A"}, {"&Ugrave;", "\xC3\x99"}, {"&Uuml;", "\xC3\x9C"},  {"&Ucirc;", "\xC3\x9B"},
    {"&Aacute;", "\xC3\x81"}, {"&Agrave;", "\xC3\x80"}, {"&Auml;", "\xC3\x84"},  {"&Acirc;", "\xC3\x82"},
    {"&ccedil;", "\xC3\xA7"}, {"&Ccedil;", "\xC3\x87"}, {"&oslash;", "\xC3\xB8"}, {"&Oslash;", "\xC3\x98"},
    {"&aring;", "\xC3\xA5"},  {"&Aring;", "\xC3\x85"},  {"&copy;", "\xC2\xA9"},  {"&reg;", "\xC2\xAE"},
    {"&euro;", "\xE2\x82\xAC"}, {"&laquo;", "\xC2\xAB"}, {"&raquo;", "\xC2\xBB"},
}};
constexpr std::array<Entity, 4> kMarkupEntities = {{
    {"&lt;", "<"},
    {"&gt;", ">"},
    {"&amp;", "&"},
    {"&quot;", "\""},
}};

struct NamedColor {
  std::string_view name;
  THtmlColor color;
};
constexpr THtmlColor kSystemColor = 0xFF000000;
constexpr std::array<NamedColor, 40> kColorNames = {{
    {"clred", 0x0000FF},
    {"clblack", 0x000000},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clmaroon", 0x000080},
    {"clbackground", kSystemColor | 1},
    {"clactivecaption", kSystemColor | 2},
    {"clinactivecaption", kSystemColor | 3},
    {"clmenu", kSystemColor | 4},
    {"clwindow", kSystemColor | 5},
    {"clwindowframe", kSystemColor | 6},
    {"clmenutext", kSystemColor | 7},
    {"clwindowtext", kSystemColor | 8},
    {"clcaptiontext", kSystemColor | 9},
    {"clactiveborder", kSystemColor | 10},
    {"clinactiveborder", kSystemColor | 11},
    {"clappworkspace", kSystemColor | 12},
    {"clhighlight", kSystemColor | 13},
    {"clhighlighttext", kSystemColor | 14},
    {"clbtnface", kSystemColor | 15},
    {"clbtnshadow", kSystemColor | 16},
    {"clgraytext", kSystemColor | 17},
    {"clbtntext", kSystemColor | 18},
    {"clinactivecaptiontext", kSystemColor | 19},
    {"clbtnhighlight", kSystemColor | 20},
    {"cl3ddkshadow", kSystemColor | 21},
    {"cl3dlight", kSystemColor | 22},
    {"clinfotext", kSystemColor | 23},
    {"clinfobk", kSystemColor | 24},
}};

THtmlColor HexColor(std::string_view digits) {
  THtmlColor rgb[3] = {0, 0, 0};
  for (size_t k = 0; k < 3; ++k) {
    size_t at = 2 * k;
    for (size_t i = at; i < at + 2 && i < digits.size(); ++i) {
      int d = HexDigit(digits[i]);
      if (d < 0) break;
      rgb[k] = rgb[k] * 16 + static_cast<THtmlColor>(d);
    }
  }
  return rgb[0] | (rgb[1] << 8) | (rgb[2] << 16);
}

THtmlColor NamedHtmlColor(std::string_view value) {
  for (const NamedColor& n : kColorNames)
    if (SameNoCase(value, n.name)) return n.color;
  return 0;
}

// Entity of table at s[at] (exact case); null when none starts there.
template <size_t N>
const Entity* EntityAt(std::string_view s, size_t at, const std::array<Entity, N>& table) {
  for (const Entity& e : table)
    if (s.compare(at, e.name.size(), e.name) == 0) return &e;
  return nullptr;
}

}  // namespace

size_t FindNoCase(std::string_view s, std::string_view needle, size_t from) {
  if (needle.empty() || needle.size() > s.size()) return std::string_view::npos;
  const char first = Upper(needle[0]);
  for (size_t i = from; i + needle.size() <= s.size(); ++i) {
    if (Upper(s[i]) != first) continue;
    if (SameNoCase(s.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

bool StartsNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameNoCase(s.substr(0, prefix.size()), prefix);
}

std::string_view TagAttribute(std::string_view tag, std::string_view name) {
  size_t at = FindNoCase(tag, name);
  if (at == std::string_view::npos) return {};
  size_t open = tag.find('"', at + name.size());
  if (open == std::string_view::npos) return {};
  size_t close = tag.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  return tag.substr(open + 1, close - open - 1);
}

rtl::Integer LeadingNumber(std::string_view text, rtl::Integer limit) {
  rtl::Integer n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    n = n > (limit - (c - '0')) / 10 ? limit : n * 10 + (c - '0');
  }
  return n;
}

THtmlColor HtmlColor(std::string_view value) {
  if (!value.empty() && value[0] == '#') return HexColor(value.substr(1));
  return NamedHtmlColor(value);
}

bool BodyColor(std::string_view value, THtmlColor& color) {
  if (FindNoCase(value, "CL") != std::string_view::npos) {
    color = NamedHtmlColor(value);
    return true;
  }
  size_t hash = value.find('#');
  if (hash == std::string_view::npos) return false;
  color = HexColor(value.substr(hash + 1));
  return true;
}

rtl::Integer HtmlFontSize(std::string_view value) {
  static constexpr rtl::Integer kSizes[] = {8, 10, 12, 14, 16};
  rtl::Integer n = LeadingNumber(value, kMaxFontPoints);
  return n >= 1 && n <= 5 ? kSizes[n - 1] : n;
}

rtl::AnsiString PrepareHtml(std::string_view html) {
  // Entities: replacing an entity by its character can only make a new
  // entity out of an "&" that "&amp;" left behind and the text after it, so
  // one pass that looks back from every ";" reaches the same text as
  // replacing first occurrences until none is left.
  rtl::AnsiString s;
  s.reserve(html.size());
  for (char c : html) {
    s += c;
    if (c != ';') continue;
    size_t back = s.size() > kLongestPrepareEntity ? s.size() - kLongestPrepareEntity : 0;
    size_t amp = s.size() - 1;
    while (amp > back && s[amp] != '&') --amp;
    if (s[amp] != '&') continue;
    std::string_view tail(s.data() + amp, s.size() - amp);
    for (const Entity& e : kPrepareEntities) {
      if (SameNoCase(tail, e.name)) {
        s.replace(amp, tail.size(), e.text);
        break;
      }
    }
  }
  // "<#" literals: the first literal is opened each time, and opening one
  // can make a new one just before it.
  for (size_t from = 0;;) {
    size_t lt = s.find("<#", from);
    if (lt == rtl::AnsiString::npos) break;
    size_t gt = s.find('>', lt + 1);
    if (gt != rtl::AnsiString::npos) s.erase(gt, 1);
    s.erase(lt, 1);
    from = lt > 0 ? lt - 1 : 0;
  }
  // Line ends.
  rtl::AnsiString out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '\r') {
      out += "<BR>";
    } else if (c != '\n') {
      out += c;
    }
  }
  return out;
}

void DecodeRunEntities(std::string_view run, rtl::AnsiString& out) {
  for (size_t i = 0; i < run.size();) {
    if (run[i] == '&') {
      std::string_view rest = run.substr(i);
      if (StartsNoCase(rest, "&nbsp;")) {
        out += ' ';
        i += 6;
        continue;
      }
      if (StartsNoCase(rest, "&lt;")) {
        out += '<';
        i += 4;
        continue;
      }
      if (StartsNoCase(rest, "&gt;")) {
        out += '>';
        i += 4;
        continue;
      }
    }
    out += run[i++];
  }
}

rtl::AnsiString DecodeControlValue(std::string_view value) {
  rtl::AnsiString out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size();) {
    if (value[i] == '&') {
      const Entity* e = EntityAt(value, i, kMarkupEntities);
      if (!e) e = EntityAt(value, i, kValueEntities);
      if (e) {
        out += e->text;
        i += e->name.size();
        continue;
      }
    }
    out += value[i++];
  }
  return out;
}

rtl::AnsiString EncodeControlValue(std::string_view value) {
  rtl::AnsiString out;
  out.reserve(value.size() + 8);
  for (size_t i = 0; i < value.size();) {
    char c = value[i];
    if (c == '&') {
      out += "&amp;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (static_cast<unsigned char>(c) >= 0x80) {
      const Entity* named = nullptr;
      for (const Entity& e : kValueEntities) {
        if (value.compare(i, e.text.size(), e.text) == 0) {
          named = &e;
          break;
        }
      }
      if (named) {
        out += named->name;
        i += named->text.size();
        continue;
      }
      out += c;
    } else {
      out += c;
    }
    ++i;
  }
  return out;
}

THtmlControlTag ParseControlTag(std::string_view tag) {
  THtmlControlTag t;
  auto read = [&](std::string_view name, rtl::AnsiString& into) {
    if (FindNoCase(tag, name) == std::string_view::npos) return false;
    into = rtl::AnsiString(TagAttribute(tag, name));
    return true;
  };
  read("TYPE=", t.Type);
  t.Type = rtl::UpperCase(t.Type);
  t.HasWidth = read("WIDTH=", t.Width);
  read("ID=", t.Id);
  rtl::AnsiString raw;
  read("VALUE=", raw);
  t.Value = DecodeControlValue(raw);
  read("PROP=", t.Prop);
  read("MAXLEN=", t.MaxLen);
  t.End = tag.size();
  return t;
}

bool NextControlTag(std::string_view html, size_t from, THtmlControlTag& tag) {
  size_t at = FindNoCase(html, "<CONTROL ", from);
  if (at == std::string_view::npos) return false;
  size_t gt = html.find('>', at);
  size_t end = gt == std::string_view::npos ? html.size() : gt + 1;
  tag = ParseControlTag(html.substr(at, end - at));
  tag.Start = at;
  tag.End = end;
  return true;
}

}  // namespace dropdown
