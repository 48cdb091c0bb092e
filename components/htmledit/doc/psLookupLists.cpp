#include "htmledit/doc/psLookupLists.h"

#include <algorithm>
#include <array>

#include "htmledit/doc/psStrings.h"
#include "rtl/Strings.h"

namespace htmldoc {

// ---------------------------------------------------------------------------
// Tag codes

namespace {

constexpr std::array<const char*, 39> kTagNames = {
    "i",    "b",    "u",     "a",     "span",   "strong", "cite", "em",         "sub",  "sup",
    "s",    "strike", "h1",  "h2",    "h3",     "h4",     "h5",   "h6",         "p",    "div",
    "blockquote", "ul", "ol", "li",   "table",  "tr",     "td",   "th",         "img",  "br",
    "@cust", "@drv", "body", "head",  "html",   "title",  "style", "meta",      "link"};

struct TagNameEntry {
  AnsiString Name;
  Byte Code;
};

// The names of codes 0 to 38 sorted without regard to ASCII case, for a
// binary search; code 39 (unknown) has no name.
const std::vector<TagNameEntry>& TagNameList() {
  static const std::vector<TagNameEntry> list = [] {
    std::vector<TagNameEntry> entries;
    for (size_t code = 0; code < kTagNames.size(); ++code)
      entries.push_back({kTagNames[code], static_cast<Byte>(code)});
    std::sort(entries.begin(), entries.end(), [](const TagNameEntry& a, const TagNameEntry& b) {
      return rtl::CompareText(a.Name, b.Name) < 0;
    });
    return entries;
  }();
  return list;
}

}  // namespace

Byte TagNameToCode(const AnsiString& aName) {
  const auto& list = TagNameList();
  auto it = std::lower_bound(list.begin(), list.end(), aName,
                             [](const TagNameEntry& e, const AnsiString& name) {
                               return rtl::CompareText(e.Name, name) < 0;
                             });
  if (it != list.end() && rtl::CompareText(it->Name, aName) == 0) return it->Code;
  return TAG_UNKNOWN;
}

AnsiString TagCodeToName(Byte aTagCode) {
  const Byte code = aTagCode & 0x7F;
  // "@drv" has a code but no name to write: it is never written as a tag.
  if (code == TAG_DRV || code >= kTagNames.size()) return {};
  return kTagNames[code];
}

// ---------------------------------------------------------------------------
// Colours

namespace {

constexpr TColor Rgb(uint32_t rrggbb) {
  return ((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF);
}
constexpr TColor SysColor(uint32_t index) { return 0xFF000000u | index; }

}  // namespace

const std::vector<TColorNameTableEntry>& ColorNameTable() {
  static const std::vector<TColorNameTableEntry> table = {
    // System colours.
    {"background", SysColor(1)},
    {"activecaption", SysColor(2)},
    {"inactivecaption", SysColor(3)},
    {"menu", SysColor(4)},
    {"window", SysColor(5)},
    {"windowframe", SysColor(6)},
    {"menutext", SysColor(7)},
    {"windowtext", SysColor(8)},
    {"captiontext", SysColor(9)},
    {"activeborder", SysColor(10)},
    {"inactiveborder", SysColor(11)},
    {"appworkspace", SysColor(12)},
    {"highlight", SysColor(13)},
    {"hightlighttext", SysColor(14)},
    {"buttonface", SysColor(15)},
    {"buttonshadow", SysColor(16)},
    {"graytext", SysColor(17)},
    {"buttontext", SysColor(18)},
    {"inactivecaptiontext", SysColor(19)},
    {"buttonhighlight", SysColor(20)},
    {"threeddarkshadow", SysColor(21)},
    {"threedlightshadow", SysColor(20)},
    {"infotext", SysColor(23)},
    {"infobackground", SysColor(24)},
    {"scrollbar", SysColor(0)},
    {"threedface", SysColor(15)},
    {"threedhighlight", SysColor(22)},
    {"threedshadow", SysColor(16)},
    {"transparent", 0x20000000u},
    // HTML 4.01.
    {"black", Rgb(0x000000)},
    {"maroon", Rgb(0x800000)},
    {"green", Rgb(0x008000)},
    {"olive", Rgb(0x808000)},
    {"navy", Rgb(0x000080)},
    {"purple", Rgb(0x800080)},
    {"teal", Rgb(0x008080)},
    {"gray", Rgb(0x808080)},
    {"silver", Rgb(0xC0C0C0)},
    {"red", Rgb(0xFF0000)},
    {"lime", Rgb(0x00FF00)},
    {"yellow", Rgb(0xFFFF00)},
    {"blue", Rgb(0x0000FF)},
    {"fuchsia", Rgb(0xFF00FF)},
    {"aqua", Rgb(0x00FFFF)},
    {"white", Rgb(0xFFFFFF)},
    // Extended keywords of CSS colour level 3.
    {"aliceblue", Rgb(0xF0F8FF)},
    {"antiquewhite", Rgb(0xFAEBD7)},
    {"aquamarine", Rgb(0x7FFFD4)},
    {"azure", Rgb(0xF0FFFF)},
    {"beige", Rgb(0xF5F5DC)},
    {"blueviolet", Rgb(0x8A2BE2)},
    {"brown", Rgb(0xA52A2A)},
    {"burlywood", Rgb(0xDEB887)},
    {"cadetblue", Rgb(0x5F9EA0)},
    {"chartreuse", Rgb(0x7FFF00)},
    {"chocolate", Rgb(0xD2691E)},
    {"coral", Rgb(0xFF7F50)},
    {"cornflowerblue", Rgb(0x6495ED)},
    {"cornsilk", Rgb(0xFFF8DC)},
    {"crimson", Rgb(0xDC143C)},
    {"darkblue", Rgb(0x00008B)},
    {"darkcyan", Rgb(0x008B8B)},
    {"darkgoldenrod", Rgb(0xB8860B)},
    {"darkgray", Rgb(0xA9A9A9)},
    {"darkgreen", Rgb(0x006400)},
    {"darkkhaki", Rgb(0xBDB76B)},
    {"darkmagenta", Rgb(0x8B008B)},
    {"darkolivegreen", Rgb(0x556B2F)},
    {"darkorange", Rgb(0xFF8C00)},
    {"darkorchid", Rgb(0x9932CC)},
    {"darkred", Rgb(0x8B0000)},
    {"darksalmon", Rgb(0xE9967A)},
    {"darkseagreen", Rgb(0x8FBC8F)},
    {"darkslateblue", Rgb(0x483D8B)},
    {"darkslategray", Rgb(0x2F4F4F)},
    {"darkturquoise", Rgb(0x00CED1)},
    {"darkviolet", Rgb(0x9400D3)},
    {"deeppink", Rgb(0xFF1493)},
    {"deepskyblue", Rgb(0x00BFFF)},
    {"dimgray", Rgb(0x696969)},
    {"dodgerblue", Rgb(0x1E90FF)},
    {"firebrick", Rgb(0xB22222)},
    {"floralwhite", Rgb(0xFFFAF0)},
    {"forestgreen", Rgb(0x228B22)},
    {"gainsboro", Rgb(0xDCDCDC)},
    {"ghostwhite", Rgb(0xF8F8FF)},
    {"gold", Rgb(0xFFD700)},
    {"goldenrod", Rgb(0xDAA520)},
    {"greenyellow", Rgb(0xADFF2F)},
    {"honeydew", Rgb(0xF0FFF0)},
    {"hotpink", Rgb(0xFF69B4)},
    {"indianred", Rgb(0xCD5C5C)},
    {"indigo", Rgb(0x4B0082)},
    {"ivory", Rgb(0xFFFFF0)},
    {"khaki", Rgb(0xF0E68C)},
    {"lavender", Rgb(0xE6E6FA)},
    {"lavenderblush", Rgb(0xFFF0F5)},
    {"lawngreen", Rgb(0x7CFC00)},
    {"lemonchiffon", Rgb(0xFFFACD)},
    {"lightblue", Rgb(0xADD8E6)},
    {"lightcoral", Rgb(0xF08080)},
    {"lightcyan", Rgb(0xE0FFFF)},
    {"lightgoldenrodyellow", Rgb(0xFAFAD2)},
    {"lightgreen", Rgb(0x90EE90)},
    {"lightgrey", Rgb(0xD3D3D3)},
    {"lightpink", Rgb(0xFFB6C1)},
    {"lightsalmon", Rgb(0xFFA07A)},
    {"lightseagreen", Rgb(0x20B2AA)},
    {"lightskyblue", Rgb(0x87CEFA)},
    {"lightslategray", Rgb(0x778899)},
    {"lightsteelblue", Rgb(0xB0C4DE)},
    {"lightyellow", Rgb(0xFFFFE0)},
    {"limegreen", Rgb(0x32CD32)},
    {"linen", Rgb(0xFAF0E6)},
    {"mediumaquamarine", Rgb(0x66CDAA)},
    {"mediumblue", Rgb(0x0000CD)},
    {"mediumorchid", Rgb(0xBA55D3)},
    {"mediumpurple", Rgb(0x9370DB)},
    {"mediumseagreen", Rgb(0x3CB371)},
    {"mediumslateblue", Rgb(0x7B68EE)},
    {"mediumspringgreen", Rgb(0x00FA9A)},
    {"mediumturquoise", Rgb(0x48D1CC)},
    {"mediumvioletred", Rgb(0xC71585)},
    {"midnightblue", Rgb(0x191970)},
    {"mintcream", Rgb(0xF5FFFA)},
    {"mistyrose", Rgb(0xFFE4E1)},
    {"moccasin", Rgb(0xFFE4B5)},
    {"navajowhite", Rgb(0xFFDEAD)},
    {"oldlace", Rgb(0xFDF5E6)},
    {"olivedrab", Rgb(0x6B8E23)},
    {"orange", Rgb(0xFFA500)},
    {"orangered", Rgb(0xFF4500)},
    {"orchid", Rgb(0xDA70D6)},
    {"palegoldenrod", Rgb(0xEEE8AA)},
    {"palegreen", Rgb(0x98FB98)},
    {"paleturquoise", Rgb(0xAFEEEE)},
    {"palevioletred", Rgb(0xDB7093)},
    {"papayawhip", Rgb(0xFFEFD5)},
    {"peachpuff", Rgb(0xFFDAB9)},
    {"peru", Rgb(0xCD853F)},
    {"pink", Rgb(0xFFC0CB)},
    {"plum", Rgb(0xDDA0DD)},
    {"powderblue", Rgb(0xB0E0E6)},
    {"rosybrown", Rgb(0xBC8F8F)},
    {"royalblue", Rgb(0x4169E1)},
    {"saddlebrown", Rgb(0x8B4513)},
    {"salmon", Rgb(0xFA8072)},
    {"sandybrown", Rgb(0xF4A460)},
    {"seagreen", Rgb(0x2E8B57)},
    {"seashell", Rgb(0xFFF5EE)},
    {"sienna", Rgb(0xA0522D)},
    {"skyblue", Rgb(0x87CEEB)},
    {"slateblue", Rgb(0x6A5ACD)},
    {"slategray", Rgb(0x708090)},
    {"snow", Rgb(0xFFFAFA)},
    {"springgreen", Rgb(0x00FF7F)},
    {"steelblue", Rgb(0x4682B4)},
    {"tan", Rgb(0xD2B48C)},
    {"thistle", Rgb(0xD8BFD8)},
    {"tomato", Rgb(0xFF6347)},
    {"turquoise", Rgb(0x40E0D0)},
    {"violet", Rgb(0xEE82EE)},
    {"wheat", Rgb(0xF5DEB3)},
    {"whitesmoke", Rgb(0xF5F5F5)},
    {"yellowgreen", Rgb(0x9ACD32)},
  };
  return table;
}

TColor ColorNameToColor(const AnsiString& aName) {
  const AnsiString name = rtl::LowerCase(aName);
  for (const auto& row : ColorNameTable())
    if (name == row.Name) return row.Color;
  return clNone;
}

AnsiString ColorToColorName(TColor aColor) {
  for (const auto& row : ColorNameTable())
    if (row.Color == aColor) return row.Name;
  return {};
}

// ---------------------------------------------------------------------------
// Character entities

namespace {

// The built-in entities in the order the table is built from: five first,
// then the Latin-1 set in code order, then the special set.
const std::vector<std::pair<const char*, Integer>>& BuiltInEntities() {
  static const std::vector<std::pair<const char*, Integer>> entities = [] {
    std::vector<std::pair<const char*, Integer>> v = {
        {"&quot;", 34}, {"&amp;", 38}, {"&lt;", 60}, {"&gt;", 62}, {"&trade;", 8482}};
    static const char* const latin1[96] = {
        "&nbsp;",   "&iexcl;",  "&cent;",   "&pound;",  "&curren;", "&yen;",    "&brvbar;",
        "&sect;",   "&uml;",    "&copy;",   "&ordf;",   "&laquo;",  "&not;",    "&shy;",
        "&reg;",    "&macr;",   "&deg;",    "&plusmn;", "&sup2;",   "&sup3;",   "&acute;",
        "&micro;",  "&para;",   "&middot;", "&cedil;",  "&sup1;",   "&ordm;",   "&raquo;",
        "&frac14;", "&frac12;", "&frac34;", "&iquest;", "&Agrave;", "&Aacute;", "&Acirc;",
        "&Atilde;", "&Auml;",   "&Aring;",  "&AElig;",  "&Ccedil;", "&Egrave;", "&Eacute;",
        "&Ecirc;",  "&Euml;",   "&Igrave;", "&Iacute;", "&Icirc;",  "&Iuml;",   "&ETH;",
        "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",  "&Otilde;", "&Ouml;",   "&times;",
        "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;",  "&Uuml;",   "&Yacute;", "&THORN;",
        "&szlig;",  "&agrave;", "&aacute;", "&acirc;",  "&atilde;", "&auml;",   "&aring;",
        "&aelig;",  "&ccedil;", "&egrave;", "&eacute;", "&ecirc;",  "&euml;",   "&igrave;",
        "&iacute;", "&icirc;",  "&iuml;",   "&eth;",    "&ntilde;", "&ograve;", "&oacute;",
        "&ocirc;",  "&otilde;", "&ouml;",   "&divide;", "&oslash;", "&ugrave;", "&uacute;",
        "&ucirc;",  "&uuml;",   "&yacute;", "&thorn;",  "&yuml;"};
    for (Integer i = 0; i < 96; ++i) v.push_back({latin1[i], 160 + i});
    const std::pair<const char*, Integer> special[] = {
        {"&quot;", 34},      {"&amp;", 38},      {"&lt;", 60},       {"&gt;", 62},
        {"&OElig;", 338},    {"&oelig;", 339},   {"&Scaron;", 352},  {"&scaron;", 353},
        {"&Yuml;", 376},     {"&circ;", 710},    {"&tilde;", 732},   {"&ensp;", 8194},
        {"&emsp;", 8195},    {"&thinsp;", 8201}, {"&zwnj;", 8204},   {"&zwj;", 8205},
        {"&lrm;", 8206},     {"&rlm;", 8207},    {"&ndash;", 8211},  {"&mdash;", 8212},
        {"&lsquo;", 8216},   {"&rsquo;", 8217},  {"&sbquo;", 8218},  {"&ldquo;", 8220},
        {"&rdquo;", 8221},   {"&bdquo;", 8222},  {"&dagger;", 8224}, {"&Dagger;", 8225},
        {"&hellip;", 8230},  {"&permil;", 8240}, {"&lsaquo;", 8249}, {"&rsaquo;", 8250},
        {"&euro;", 8364}};
    for (const auto& p : special) v.push_back(p);
    return v;
  }();
  return entities;
}

constexpr Integer kOutOfRange = 0x110000;

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

struct TpsHtmlCodeTable::Table {
  std::vector<AnsiString> Names;            // sorted by byte value, unique
  TpsSortedIntPairList CharToEntity{128, 8};  // (character code, position in Names)
  TpsSortedIntPairList EntityToChar{128, 8};  // (position in Names, character code)
  Integer NbspChar = 160;
  size_t MaxLength = 0;  // of the longest name

  Integer PositionOf(const AnsiString& aEntity) const {
    auto it = std::lower_bound(Names.begin(), Names.end(), aEntity);
    if (it == Names.end() || *it != aEntity) return -1;
    return static_cast<Integer>(it - Names.begin());
  }
};

std::unique_ptr<const TpsHtmlCodeTable::Table> TpsHtmlCodeTable::Build(
    const std::vector<std::pair<AnsiString, Integer>>& aPairs) {
  auto table = std::make_unique<Table>();
  for (const auto& [name, code] : aPairs) table->Names.push_back(name);
  std::sort(table->Names.begin(), table->Names.end());
  table->Names.erase(std::unique(table->Names.begin(), table->Names.end()), table->Names.end());
  for (const auto& name : table->Names) table->MaxLength = std::max(table->MaxLength, name.size());
  // A pair stored twice (an entity listed in two sets) would only add an
  // identical map entry; store each once.
  std::vector<bool> stored(table->Names.size(), false);
  for (const auto& [name, code] : aPairs) {
    const Integer position = table->PositionOf(name);
    if (stored[position]) continue;
    stored[position] = true;
    table->CharToEntity.Add(code, position);
    table->EntityToChar.Add(position, code);
  }
  const Integer nbsp = table->PositionOf("&nbsp;");
  Integer code = 0;
  // When "&nbsp;" has been redefined away the character itself still exists.
  if (nbsp >= 0 && table->EntityToChar.Find(nbsp, code)) table->NbspChar = code;
  return table;
}

TpsHtmlCodeTable::TpsHtmlCodeTable() : FAlwaysEscaped(true, true, 4, 4) {
  std::vector<std::pair<AnsiString, Integer>> pairs;
  for (const auto& [name, code] : BuiltInEntities()) pairs.emplace_back(name, code);
  Publish(Build(pairs));
  for (Integer code : {38, 60, 62, 160}) FAlwaysEscaped.Add(code);
}

TpsHtmlCodeTable::~TpsHtmlCodeTable() = default;

void TpsHtmlCodeTable::Publish(std::unique_ptr<const Table> aTable) {
  FTables.push_back(std::move(aTable));
  FTable.store(FTables.back().get(), std::memory_order_release);
}

bool TryParseCharacterReference(const AnsiString& aEntity, Integer& aValue) {
  aValue = -1;
  if (aEntity.size() < 4 || aEntity[0] != '&' || aEntity[1] != '#' || aEntity.back() != ';')
    return false;
  if (aEntity[2] == 'x' || aEntity[2] == 'X') {
    const std::string_view digits(aEntity.data() + 3, aEntity.size() - 4);
    if (digits.empty()) return false;
    int64_t value = 0;
    for (char c : digits) {
      if (!IsHexDigit(c)) return false;
      const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
      value = std::min<int64_t>(value * 16 + digit, kOutOfRange);
    }
    aValue = static_cast<Integer>(value);
    return true;
  }
  const AnsiString number = aEntity.substr(2, aEntity.size() - 3);
  Integer value = 0;
  if (TryParseInt(number, value)) {
    aValue = value;
    return true;
  }
  // A run of decimal digits too long for an Integer is a well-formed number
  // that lies beyond every character.
  if (!number.empty() && std::all_of(number.begin(), number.end(),
                                     [](char c) { return c >= '0' && c <= '9'; })) {
    aValue = kOutOfRange;
    return true;
  }
  return false;
}

Integer SanitizeCodePoint(Integer aValue) {
  if (aValue <= 0 || aValue > 0x10FFFF || (aValue >= 0xD800 && aValue <= 0xDFFF)) return 0xFFFD;
  return aValue;
}

bool TpsHtmlCodeTable::TryGetEntityChar(const AnsiString& aEntity, Integer& aCharCode) const {
  const Table* table = Snapshot();
  const Integer position = table->PositionOf(aEntity);
  if (position >= 0 && table->EntityToChar.Find(position, aCharCode)) return true;
  Integer value = 0;
  if (!TryParseCharacterReference(aEntity, value)) {
    aCharCode = -1;
    return false;
  }
  aCharCode = SanitizeCodePoint(value);
  return true;
}

WideChar TpsHtmlCodeTable::GetEntityChar(const AnsiString& aEntity) const {
  Integer code = 0;
  if (!TryGetEntityChar(aEntity, code)) return 0xFFFF;
  if (code > 0xFFFF) return 0xFFFD;
  return static_cast<WideChar>(code);
}

bool TpsHtmlCodeTable::GetEntity(Integer aCharCode, AnsiString& aEntity) const {
  const Table* table = Snapshot();
  Integer position = 0;
  if (!table->CharToEntity.Find(aCharCode, position)) {
    aEntity.clear();
    return false;
  }
  aEntity = table->Names[position];
  return true;
}

bool TpsHtmlCodeTable::IsAlwaysEscaped(Integer aCharCode) const {
  return FAlwaysEscaped.Contains(aCharCode);
}

Integer TpsHtmlCodeTable::GetNbspChar() const { return Snapshot()->NbspChar; }

void TpsHtmlCodeTable::DefineEntity(const AnsiString& aEntity, Integer aCharCode) {
  std::lock_guard<std::mutex> guard(FDefineLock);
  const Table* current = Snapshot();
  std::vector<std::pair<AnsiString, Integer>> pairs;
  bool found = false;
  for (Integer position = 0; position < static_cast<Integer>(current->Names.size()); ++position) {
    const AnsiString& name = current->Names[position];
    Integer code = -1;
    current->EntityToChar.Find(position, code);
    if (name == aEntity) {
      found = true;
      if (aCharCode >= 0 && aCharCode <= 65535) pairs.emplace_back(name, aCharCode);
    } else if (code != aCharCode) {
      pairs.emplace_back(name, code);
    }
  }
  if (!found) pairs.emplace_back(aEntity, aCharCode);
  Publish(Build(pairs));
}

std::vector<AnsiString> TpsHtmlCodeTable::EntityNames() const { return Snapshot()->Names; }

size_t TpsHtmlCodeTable::MaxEntityLength() const { return Snapshot()->MaxLength; }

TpsHtmlCodeTable& HtmlCodeTable() {
  static TpsHtmlCodeTable table;
  return table;
}

// ---------------------------------------------------------------------------
// Edit messages

bool IsEditMessage(Integer aMessageId) {
  static const TpsSortedIntList list = [] {
    static const Integer ids[] = {
        97,  98,  300, 310, 320, 330, 340, 350, 360, 410, 415, 420, 430, 570, 590,
        600, 605, 606, 607, 610, 620, 630, 650, 660, 670, 680, 690, 700, 710, 720,
        730, 740, 760, 770, 780, 785, 790, 795, 800, 810, 820, 825, 830, 835, 840,
        850, 851, 853, 857, 858, 860, 861, 865, 870, 880, 885, 890, 900, 920, 930,
        940, 955, 4600, 4610, 4620, 4630, 4640, 4650, 4660, 4670, 4680, 4681, 4690};
    TpsSortedIntList l(true, true, static_cast<Integer>(std::size(ids)), 8);
    for (Integer id : ids) l.Add(id);
    return l;
  }();
  return list.Contains(aMessageId);
}

// ---------------------------------------------------------------------------
// Code pages

TpsCodepageTable::TpsCodepageTable() {
  static const TpsCodepageTableRecord rows[] = {
      {65001, "utf-8", 32},        {28591, "iso-8859-1", 8},    {28592, "iso-8859-2", 8},
      {28593, "iso-8859-3", 8},    {28594, "iso-8859-4", 8},    {28595, "iso-8859-5", 8},
      {28596, "iso-8859-6", 8},    {28597, "iso-8859-7", 8},    {28598, "iso-8859-8", 8},
      {28599, "iso-8859-9", 8},    {28603, "iso-8859-13", 8},   {28605, "iso-8859-15", 8},
      {852, "ibm-852", 8},         {855, "ibm-855", 8},         {860, "ibm-860", 8},
      {20880, "ibm-880", 8},       {866, "cp-866", 8},          {20866, "koi8-r", 8},
      {1250, "windows-1250", 8},   {1251, "windows-1251", 8},   {1252, "windows-1252", 8},
      {1253, "windows-1253", 8},   {1254, "windows-1254", 8},   {1255, "windows-1255", 8},
      {1256, "windows-1256", 8},   {1257, "windows-1257", 8},   {1258, "windows-1258", 8}};
  for (const auto& row : rows)
    FRecords.push_back({row.CodePage, rtl::Trim(row.CharsetName), row.CharBits});
}

AnsiString TpsCodepageTable::GetCharsetName(Integer aCodePage) const {
  for (const auto& row : FRecords)
    if (row.CodePage == aCodePage) return row.CharsetName;
  return {};
}

Integer TpsCodepageTable::GetCharBits(Integer aCodePage) const {
  for (const auto& row : FRecords)
    if (row.CodePage == aCodePage) return row.CharBits;
  return 0;
}

Integer TpsCodepageTable::GetCodePage(const AnsiString& aName) const {
  const AnsiString name = TpsStrings::Trim(aName);
  for (const auto& row : FRecords)
    if (TpsStrings::CompareText(name, row.CharsetName) == 0) return row.CodePage;
  return 0;
}

const TpsCodepageTable& CodepageTable() {
  static const TpsCodepageTable table;
  return table;
}

}  // namespace htmldoc
