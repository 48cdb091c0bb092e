#include "core/VormekCmdU.h"

#include <utility>

#include "rtl/Convert.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace core {

const std::array<const char*, kTagKindCount> kTagKindNames = {
    "PIN X",
    "PIN X Analog",
    "PIN X Analog[*a][/b][+c][-d],p",
    "PIN X ltag/hTag",
    "Serial data",
    "PIN X plug in",
    "If PIN x=n",
    "If PIN X[<|>]n",
    "If key=n",
    "Else",
    "EndIF",
    "EXEC KEY",
    "READ KEY",
    "????",
};

const std::array<const char*, kTagKindCount> kTagSyntaxPatterns = {
    R"~(<\!--\(PIN [1-9][0-1]?\)-->)~",
    R"~(<\!--\(PIN [1-9][0-1]? ANALOG\)-->)~",
    R"~(<\!--\(PIN [1-9][0-1]? ANALOG([*][0-9.]*)?([/][0-9]*)?([+][0-9.]*)?([-][0-9.]*)?[,][0-9]\)-->)~",
    R"~(<\!--\(PIN [1-9][0-1]? ([^-\)>]|([-][^>]))*[/]([^\)->]|([-][^>]))*\)-->)~",
    R"~(<\!--\(SERIAL DATA [0-9]* [0-9]*\)-->)~",
    R"~(<\!--\(PLUG-IN ([^<])*\)-->)~",
    R"~(<\!--\(IF PIN [0-9][0-1]?[ ]*[=][ ]*[0-5]([\.][0-9][0-9]?)?\)-->)~",
    R"~(<\!--\(IF PIN [0-9][0-1]?[ ]*[<>][ ]*[0-5]([\.][0-9][0-9]?)?\)-->)~",
    // The last ")" is outside any group, so the engine takes it literally.
    R"~(<\!--\(IF (([^!]|(!=)))*)-->)~",
    R"~(<\!--\(ELSE\)-->)~",
    R"~(<\!--\(ENDIF\)-->)~",
    R"~(<\!--\(EXEC ([^!])*=([^!])*\)-->)~",
    R"~(<\!--\(READ ([^!])*\)-->)~",
    // Any other comment tag made of blanks, line breaks (as their
    // placeholders while pages are matched), word characters and a few signs.
    R"~(<\!--\(([\s]|(1AF5018758B64F509A0B1BB1AD5B007C36CD4590106C493BAEBA7661ECF88C44_LF)|(1C6803EC37184B1DAA340B67A7BD44E6E1FBAA4673C64BCA96911E41803E1549_RT)|[\t]|[a-zA-Z0-9_]|[\"\'\#\$]|[\=\.\-\*\\\!])*\)-->)~",
};

const std::array<const char*, kKeyClassCount> kKeyClassPatterns = {
    "PIN_OUTPUT[1-9][0-1]?",  // 0
    "PIN_INPUT[1-9][0-1]?",
    "PIN_ANALOG[1-9][0-1]?",
    "PIN_LOCK[1-9][0-1]?",
    "PIN_TONE[1-9][0-1]?",
    "REG[0-2]?[0-9][0-9]?",  // 5
    "PREG[0-2]?[0-9]?[0-9]",
    "NVREG[0-2]?[0-9][0-9]?",
    "SERIAL_BAUD",  // 8
    "SERIAL_START",
    "SERIAL_END",
    "SERIAL_KBHIT",
    "SERIAL_GET",
    "SERIAL_SEND",
    "LCD_SEND",
    "LCD_GOTO",
    "DHCP",  // 16
    "BOUND",
    "AIP",
    "IP",
    "AGW",
    "GW",
    "ANMASK",
    "NMASK",
    "HTTP",
    "TFTP",
    "UDP",
    "ANNOUNCE",
    "PLUGIN",
    "TEMP(F|C)[0-7]",  // 29
    "ID",
    "SSN",
    "VER",
    "LOCK",
    "UNLOCK",
    "LCD_READ[0-9]?[0-9]",
    "EMAIL_TO",  // 36
    "EMAIL_FROM",
    "EMAIL_SUBJECT",
    "EMAIL_NOW",
    "EMAIL_DAILY",
    "EMAIL_TEMP(F|C)[0-7][0-7]",
    "EMAIL_DIGITAL1?7?",
    "EMAIL_ANALOG(H|L)1?[0-9]",
    "EMAIL_UART",
    "[^()]*",  // 45: any key
};

const std::array<Integer, kKeyClassCount> kKeyClassSearchOrder = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
    23, 24, 25, 26, 27, 28, 41, 29, 30, 31, 32, 34, 33, 35, 36, 37, 38, 39, 40, 42, 43, 44, 45,
};

// ---------------------------------------------------------------------------
namespace {

// One construct of a pattern's top level: the text of an atom (a character,
// an escape, a class or a group) with its quantifier, if any.
struct TPatternItem {
  AnsiString Atom;
  char Quantifier = 0;  // 0, '*', '?' or '+'
};

// Length of the class starting at pattern[i] == '['; up to the end of the
// pattern when it is not closed (the engine then raises its own error).
size_t ClassLength(const AnsiString& p, size_t i) {
  size_t j = i + 1;
  if (j < p.size() && p[j] == '^') ++j;
  while (j < p.size() && p[j] != ']') j += (p[j] == '\\' && j + 1 < p.size()) ? 2 : 1;
  return (j < p.size() ? j + 1 : j) - i;
}

size_t GroupLength(const AnsiString& p, size_t i) {
  int depth = 0;
  size_t j = i;
  while (j < p.size()) {
    char c = p[j];
    if (c == '\\' && j + 1 < p.size()) {
      j += 2;
      continue;
    }
    if (c == '[') {
      j += ClassLength(p, j);
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return j + 1 - i;
    ++j;
  }
  return j - i;
}

std::vector<TPatternItem> SplitPattern(const AnsiString& p) {
  std::vector<TPatternItem> items;
  size_t i = 0;
  while (i < p.size()) {
    size_t len = 1;
    if (p[i] == '\\' && i + 1 < p.size())
      len = 2;
    else if (p[i] == '[')
      len = ClassLength(p, i);
    else if (p[i] == '(')
      len = GroupLength(p, i);
    TPatternItem item{p.substr(i, len)};
    i += len;
    if (i < p.size() && (p[i] == '*' || p[i] == '?' || p[i] == '+') && item.Atom != "|") item.Quantifier = p[i++];
    items.push_back(std::move(item));
  }
  return items;
}

void AddParam(TcustomTagParams& t, const char* name, Byte kind, const char* def, Word flags,
              const char* description, float min = 0, float max = 0, bool hidden = false,
              const AnsiString& list = {}) {
  TcustomTagParam p;
  p.Name = name;
  p.Kind = kind;
  p.Default = def;
  p.Flags = flags;
  p.Description = description;
  p.Min = min;
  p.Max = max;
  p.Hidden = hidden;
  p.List = list;
  t.Params.push_back(std::move(p));
}

// The value of an attribute line. Lines may carry it as the internal tag
// does (quoted and escaped) or bare; either way this is the plain value.
AnsiString LineValue(const rtl::TStrings& lines, Integer index) {
  AnsiString value = lines.ValueFromIndex(index);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return UnescapeTagValue(value);
}

// The first line whose name, blanks around it ignored, is name in any ASCII
// case; -1 when there is none.
Integer LineIndexOf(const rtl::TStrings& lines, const AnsiString& name) {
  for (Integer i = 0; i < lines.Count(); ++i)
    if (rtl::SameText(rtl::Trim(lines.Names(i)), name)) return i;
  return -1;
}

TShowTagDialog& DialogSlot() {
  static TShowTagDialog dialog;
  return dialog;
}

}  // namespace

std::vector<AnsiString> ExpandOptionalItems(const AnsiString& pattern) {
  const auto items = SplitPattern(pattern);
  std::vector<AnsiString> variants{AnsiString()};
  for (size_t k = 0; k < items.size(); ++k) {
    const auto& item = items[k];
    const bool nextToAlternation =
        (k > 0 && items[k - 1].Atom == "|") || (k + 1 < items.size() && items[k + 1].Atom == "|");
    if (item.Quantifier == '?' && !nextToAlternation) {
      std::vector<AnsiString> both;
      both.reserve(variants.size() * 2);
      for (const auto& v : variants) {
        both.push_back(v + item.Atom);
        both.push_back(v);
      }
      variants = std::move(both);
    } else {
      for (auto& v : variants) {
        v += item.Atom;
        if (item.Quantifier) v += item.Quantifier;
      }
    }
  }
  return variants;
}

AnsiString VormekKeyList() {
  AnsiString list;
  auto line = [&list](const AnsiString& key) {
    list += key;
    list += "\r\n";
  };
  using rtl::IntToStr;
  for (Integer n = 1; n <= 5; ++n) line("PIN_ANALOG" + IntToStr(n));
  for (Integer n = 1; n <= 17; ++n) {
    line("PIN_OUTPUT" + IntToStr(n));
    line("PIN_LOCK" + IntToStr(n));
    line("PIN_TONE" + IntToStr(n));
  }
  for (Integer n = 0; n <= 255; ++n) {
    line("REG" + IntToStr(n));
    line("PREG" + IntToStr(n));
    line("NVREG" + IntToStr(n));
  }
  for (const char* key : {"SERIAL_BAUD", "SERIAL_START", "SERIAL_END", "SERIAL_KBHIT", "SERIAL_GET", "SERIAL_SEND",
                          "LCD_SEND", "LCD_GOTO", "DHCP", "BOUND", "AIP", "IP", "AGW", "GW", "ANMASK", "NMASK", "HTTP",
                          "TFTP", "UDP", "ANNOUNCE", "PLUGIN"})
    line(key);
  for (Integer n = 0; n <= 7; ++n) {
    line("TEMPF" + IntToStr(n));
    line("TEMPC" + IntToStr(n));
  }
  for (const char* key :
       {"ID", "SSN", "VER", "LOCK", "UNLOCK", "EMAIL_TO", "EMAIL_FROM", "EMAIL_SUBJECT", "EMAIL_NOW", "DNS"})
    line(key);
  for (Integer n = 1; n <= 99; ++n) line("LCD_READ" + IntToStr(n));
  return list;
}

TcustomTagParams VormekTagTemplate(Integer type) {
  TcustomTagParams t;
  const char* kIfDescription = "If the statement is false then text is removed up to the ELSE or ENDIF";
  switch (type) {
    case vtPin:
      AddParam(t, "X", tpkPin, "1", 0, "Pin number");
      t.Description = "The element is replaced with 0 if the pin is low and 1 if it is high.";
      t.Syntax = "<!--(PIN X)-->";
      t.Template = "<!--(PIN X)-->";
      break;
    case vtPinAnalog:
      AddParam(t, "X", tpkPin, "1", 0, "Pin number");
      t.Description = "The element is replaced with a number of the form X.XX representing the pin voltage";
      t.Syntax = "<!--(PIN X ANALOG)-->";
      t.Template = "<!--(PIN x ANALOG)-->";
      break;
    case vtPinAnalogCalc:
      AddParam(t, "X", tpkPin, "1", 0, "Pin number");
      AddParam(t, "a", tpkNumber, "", tpfOptional, "Number to multiply the analog voltage by");
      AddParam(t, "b", tpkNumber, "", tpfOptional, "Number to divide the analog voltage by");
      AddParam(t, "c", tpkNumber, "", tpfOptional, "Number to add to the analog voltage");
      AddParam(t, "d", tpkNumber, "", tpfOptional, "Number to subtract from the analog voltage");
      AddParam(t, "p", tpkNumber, "0", 0, "Number of decimal places");
      t.Description = "The element is replaced by a number representing the calculation result.";
      t.Syntax = "<!--(PIN X ANALOG*A/B+C-D, P)-->";
      t.Template = "<!--(PIN x ANALOG*a/b+c-d_p)-->";
      break;
    case vtPinText:
      AddParam(t, "X", tpkPin, "1", 0, "Pin number");
      AddParam(t, "ltag", tpkText, "low text", 0, "Text if the pin is low");
      AddParam(t, "htag", tpkText, "high text", 0, "text if the pin is high");
      t.Description = "The element is replaced with \"ltag\" if the pin is low and \"htag\" if the pin is high.";
      t.Syntax = "<!--(PIN X LTAG/HTAG)-->";
      t.Template = "<!--(PIN x Itag/htag)-->";
      break;
    case vtSerialData:
      AddParam(t, "X", tpkNumber, "1", 0, "Character start index");
      AddParam(t, "Y", tpkNumber, "1", 0, "Character stop index");
      t.Description = "The element is replaced with the last serial frame of data from character index x to y.";
      t.Syntax = "<!--(SERIAL DATA X Y)-->";
      t.Template = "<!--(SERIAL DATA x y)-->";
      break;
    case vtIfPinEqual:
      AddParam(t, "x", tpkPin, "1", 0, "Pin number");
      AddParam(t, "a", tpkLowHigh, "1", tpfRanged, "Low or high", 0, 1);
      AddParam(t, "OPT", tpkOperator, "3", tpfOpEqual, "Expression", 0, 0, /*hidden=*/true);
      t.Description = kIfDescription;
      t.Syntax = "<!--(IF PIN X = N)-->";
      t.Template = "<!--(IF PIN X = N)-->";
      break;
    case vtIfPinCompare:
      AddParam(t, "x", tpkPin, "1", 0, "Pin number");
      AddParam(t, "OPT", tpkOperator, "4", tpfOpLess | tpfOpGreater, "Expression");
      AddParam(t, "a", tpkDecimal, "", tpfRanged, "0.00 to 5.00", 0, 5);
      t.Description = kIfDescription;
      t.Syntax = "<!--(IF PIN X [<|>] A)-->";
      t.Template = "<!--(IF PIN X %OPT$ A)-->";
      break;
    case vtIfKey:
      AddParam(t, "x", tpkText, "", 0, "Key to execute", 0, 0, false, VormekKeyList());
      AddParam(t, "OPT", tpkOperator, "",
               tpfOpLess | tpfOpEqual | tpfOpGreater | tpfOpLessEqual | tpfOpGreaterEqual | tpfOpNotEqual,
               "Expression");
      AddParam(t, "n", tpkText, "", 0, "Value to compare key's result to");
      t.Description = "If the statement is false then text is removed upto the ELSE or ENDIF";
      t.Syntax = "<!--(IF KEY[<|>|=]A)-->";
      t.Template = "<!--(IF KEY %OPT$ A)-->";
      break;
    case vtElse:
      t.Description = "Text upto the ENDIF is removed if the if statement is TRUE";
      t.Syntax = "Else statment";
      t.Template = "<!--(ELSE)-->";
      break;
    case vtEndIf:
      t.Description = "End of an if block";
      t.Syntax = "Endif";
      t.Template = "<!--(ENDIF)-->";
      break;
    case vtExec:
      AddParam(t, "Key", tpkText, "", 0, "Command to execute", 0, 0, false, VormekKeyList());
      AddParam(t, "Value", tpkText, "", 0, "Value");
      t.Description = "Executes a command";
      t.Syntax = "<!--(EXEC KEY=VALUE)-->";
      t.Template = "<!--(EXEC KEY=VALUE)-->";
      break;
    case vtRead:
      AddParam(t, "Key", tpkText, "", 0, "Command to read", 0, 0, false, VormekKeyList());
      t.Description = "Display the current setting or the last value of a CGI command";
      t.Syntax = "<!--(READ KEY)-->";
      t.Template = "<!--(READ KEY)-->";
      break;
    default:  // the plug-in kind and numbers without a kind
      return t;
  }
  t.Visible = true;
  return t;
}

void SetShowTagDialog(TShowTagDialog dialog) { DialogSlot() = std::move(dialog); }

const TShowTagDialog& ShowTagDialog() { return DialogSlot(); }

// ---------------------------------------------------------------------------
AnsiString TvormekCmdItem::BuildFromParams(TzelwebParser& parser, TzelVarList& list) const {
  for (const auto& p : params_.Params)
    if (!p.Value.empty()) list.Add(p.Name, p.Value);
  return parser.BuildTag(type_, list);
}

bool TvormekCmdItem::InsertTag(TzelwebParser& parser, AnsiString& tagText) {
  tagText.clear();
  if (!params_.Params.empty()) {
    TcustomTagParams edited = params_;
    for (auto& p : edited.Params) p.Value = p.Default;
    const auto& dialog = ShowTagDialog();
    if (!dialog || !dialog("Insert Tag " + name_, edited)) return false;
    params_ = std::move(edited);
  }
  TzelVarList list;
  tagText = BuildFromParams(parser, list);
  return true;
}

bool TvormekCmdItem::EditTag(rtl::TStrings& lines, TzelwebParser& parser, AnsiString& tagText) {
  TcustomTagParams edited = params_;
  for (auto& p : edited.Params) {
    const Integer line = LineIndexOf(lines, p.Name);
    p.Value = line < 0 ? AnsiString() : LineValue(lines, line);
  }
  const auto& dialog = ShowTagDialog();
  if (!dialog || !dialog("Edit Tag " + name_, edited)) return false;
  params_ = std::move(edited);

  TzelVarList list;
  if (params_.Params.empty()) {
    // A kind without parameters (the plug-in kind among them) keeps what the
    // tag carried: rebuilding it from the empty template would lose its data.
    for (Integer i = 0; i < lines.Count(); ++i) {
      const AnsiString name = rtl::Trim(lines.Names(i));
      if (name.empty() || rtl::SameText(name, "type")) continue;
      list.Add(name, LineValue(lines, i));
    }
    tagText = parser.BuildTag(type_, list);
  } else {
    tagText = BuildFromParams(parser, list);
  }
  lines.Clear();
  for (const auto& v : list.Vars)
    if (!v.Value.empty()) lines.Add(v.Name + "=\"" + EscapeTagValue(v.Value) + "\"");
  return true;
}

// ---------------------------------------------------------------------------
void TvormekTagList::FillCommands() {
  for (Integer i = 0; i < kTagListCount; ++i) {
    TvormekCmdItem* item = static_cast<TvormekCmdItem*>(Add());
    item->SetName(kTagKindNames[static_cast<size_t>(i)]);
    item->SetTagType(static_cast<Byte>(i));
    item->SetParams(VormekTagTemplate(i));
    item->SetVisible(i != vtPlugIn);
  }
}

bool TvormekTagList::EditTag(rtl::TStrings& lines, TzelwebParser& parser, AnsiString& tagText) {
  const Integer line = LineIndexOf(lines, "type");
  const Integer type = line < 0 ? 0 : rtl::StrToInt(LineValue(lines, line));
  return Items(type)->EditTag(lines, parser, tagText);
}

}  // namespace core
