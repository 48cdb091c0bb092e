#include "grid/model/FilterCondition.h"

#include <vector>

#include "grid/model/GridUtils.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"

namespace grid {

namespace {

// What a comparison operand reads as: a number, a date-time or text.
struct Operand {
  AnsiString text;
  bool isNumber = false;
  double number = 0;
  bool isDate = false;
  TDateTime date = 0;
};

Operand ReadOperand(std::string_view text, const LocaleSettings& locale) {
  Operand o;
  o.text = AnsiString(text.substr(0, MaxFilterOperandLength));
  TDateTime dt = 0;
  o.isDate = TryParseDateTime(text, dt, locale);
  o.date = dt;
  double n = 0;
  o.isNumber = !o.isDate && rtl::TryStrToFloat(NormalizeNumberText(text, locale), n);
  o.number = n;
  return o;
}

// The operand after the operator at position op (0-based): an "=" makes the
// comparison inclusive, blanks are skipped, and the operand runs to the end,
// a blank or an "&" or "|" outside quotes. A quoted operand keeps its
// blanks; its quotes are dropped.
AnsiString OperandAfter(std::string_view term, size_t op, bool& inclusive) {
  size_t i = op + 1;
  inclusive = i < term.size() && term[i] == '=';
  if (inclusive) ++i;
  while (i < term.size() && term[i] == ' ') ++i;
  const size_t start = i;
  bool quoted = false;
  while (i < term.size()) {
    const char c = term[i];
    if (c == '"') quoted = !quoted;
    if (!quoted && (c == ' ' || c == '&' || c == '|')) break;
    ++i;
  }
  AnsiString operand(term.substr(start, i - start));
  if (!operand.empty() && operand.front() == '"') operand.erase(0, 1);
  if (!operand.empty() && operand.back() == '"') operand.pop_back();
  return operand.substr(0, MaxFilterOperandLength);
}

// > 0 when the value is above the operand, by number, date-time or text.
int CompareWithOperand(const Operand& value, const Operand& operand) {
  if (value.isNumber && operand.isNumber) return value.number < operand.number ? -1 : value.number > operand.number;
  if (value.isDate && operand.isDate) return value.date < operand.date ? -1 : value.date > operand.date;
  return rtl::CompareStr(value.text, operand.text);
}

// "*" any run (also empty), "?" exactly one character, all else itself.
bool WildcardMatch(std::string_view pattern, std::string_view text) {
  size_t p = 0, t = 0;
  size_t starPattern = std::string_view::npos, starText = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starText = t;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

AnsiString RemoveBlanksOutsideQuotes(std::string_view text) {
  AnsiString out;
  out.reserve(text.size());
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == ' ' && !quoted) continue;
    out += c;
  }
  return out;
}

Integer ClosingParenPos(std::string_view text) {
  Integer open = 0, close = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') ++open;
    if (text[i] == ')') {
      ++close;
      if (open == close) return static_cast<Integer>(i) + 1;
    }
  }
  return 0;
}

AnsiString NormalizeNumberText(std::string_view text, const LocaleSettings& locale) {
  const char decimal = locale.DecimalSeparator();
  const char thousand = locale.ThousandSeparator();
  AnsiString out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == decimal)
      out += '.';
    else if (c != thousand)
      out += c;
  }
  return out;
}

bool MatchFilterPattern(std::string_view term, std::string_view value, const LocaleSettings& locale) {
  bool g = true, l = true, hasG = false, hasL = false;
  const size_t greater = term.find('>');
  const size_t less = term.find('<');
  const Operand valueOperand = ReadOperand(value, locale);
  if (greater != std::string_view::npos) {
    bool inclusive = false;
    const Operand operand = ReadOperand(OperandAfter(term, greater, inclusive), locale);
    const int cmp = CompareWithOperand(valueOperand, operand);
    g = inclusive ? cmp >= 0 : cmp > 0;
    hasG = true;
  }
  if (less != std::string_view::npos) {
    bool inclusive = false;
    const Operand operand = ReadOperand(OperandAfter(term, less, inclusive), locale);
    const int cmp = CompareWithOperand(valueOperand, operand);
    l = inclusive ? cmp <= 0 : cmp < 0;
    hasL = true;
  }
  const bool negation = term.find('!') != std::string_view::npos;
  if (negation) {
    if (greater == std::string_view::npos) hasG = true;
    if (less == std::string_view::npos) hasL = true;
  }
  if (term.find('^') != std::string_view::npos && (hasG || hasL)) return l || g;
  if (term.find('&') != std::string_view::npos && hasG && hasL) return l && g;
  if ((greater != std::string_view::npos && g) || (less != std::string_view::npos && l)) return true;
  // The wildcard match of the whole term: quotes are only grouping and a
  // "!" anywhere negates the match.
  AnsiString pattern;
  pattern.reserve(term.size());
  for (char c : term)
    if (c != '"' && c != '!') pattern += c;
  return WildcardMatch(pattern, value) != negation;
}

bool MatchFilterTerm(std::string_view term, std::string_view value, bool caseSensitive,
                     const LocaleSettings& locale) {
  if (caseSensitive) return MatchFilterPattern(term, value, locale);
  return MatchFilterPattern(rtl::AnsiUpperCase(term), rtl::AnsiUpperCase(value), locale);
}

bool MatchFilterExpression(std::string_view condition, std::string_view value, bool caseSensitive,
                           const LocaleSettings& locale) {
  AnsiString rest = RemoveBlanksOutsideQuotes(rtl::Trim(condition));
  if (!rest.empty() && rest[0] == '=') rest.erase(0, 1);
  bool result = true;
  char pending = 0;
  auto combine = [&](bool r) {
    switch (pending) {
      case 0: result = r; break;
      case '&': result = result && r; break;
      case '(': break;  // the empty term after a group is dropped
      default: result = result || r; break;
    }
  };
  static const TCharSet operators = CharSet("&(;^|");
  for (;;) {
    Integer p = 0;
    const char c = FirstSetCharOutsideQuotes(operators, rest, p);
    if (c == 0) break;
    if (rest[0] == '(') {
      // A group without its ")" runs to the end of the condition.
      Integer k = ClosingParenPos(rest);
      const bool closed = k > 0;
      if (!closed) k = rtl::Length(rest);
      const AnsiString inner = rtl::Copy(rest, 2, closed ? k - 2 : k - 1);
      combine(MatchFilterExpression(inner, value, caseSensitive, locale));
      rtl::Delete(rest, 1, k);
    } else {
      combine(MatchFilterTerm(rtl::Copy(rest, 1, p - 1), value, caseSensitive, locale));
      rtl::Delete(rest, 1, p);
    }
    pending = c;
  }
  combine(MatchFilterTerm(rest, value, caseSensitive, locale));
  return result;
}

}  // namespace grid
