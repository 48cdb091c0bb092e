#include "grid/model/GridUtils.h"

#include <algorithm>
#include <array>

#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"
#include "rtl/Strings.h"

namespace grid {

using rtl::Copy;
using rtl::Length;
using rtl::Pos;
using rtl::PosEx;

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

bool IsAsciiLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// An integer field of a date or reference: the run-time's Val rules (blanks
// before, sign, digits, nothing after).
bool ReadInt(std::string_view s, Integer& value) {
  Integer code = 0;
  rtl::Val(s, value, code);
  return code == 0;
}

AnsiString ReplaceChar(std::string_view s, char from, std::string_view to) {
  AnsiString out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == from)
      out += to;
    else
      out += c;
  }
  return out;
}

// Shared reader of ParseUSDate and ParseEUDate: the first field, the second,
// the year; the caller decides which of the first two is the month.
bool ReadShortDate(std::string_view s, Integer& first, Integer& second, Integer& year) {
  Integer p = Pos('/', s);
  if (p == 0) p = Pos('.', s);
  if (p == 0) p = Pos('-', s);
  if (p == 0) return false;
  const char sep = s[p - 1];
  if (!ReadInt(Copy(s, 1, p - 1), first)) return false;
  const AnsiString rest = Copy(s, p + 1);
  const Integer q = Pos(sep, rest);
  if (q == 0) return false;
  if (!ReadInt(Copy(rest, 1, q - 1), second)) return false;
  return ReadInt(Copy(rest, q + 1), year);
}

Word ShortYear(Integer value) {
  const Word y = static_cast<Word>(value);
  if (y <= 25) return static_cast<Word>(y + 2000);
  if (y <= 99) return static_cast<Word>(y + 1900);
  return y;
}

}  // namespace

Integer LimitToRange(Integer value, Integer minimum, Integer maximum) {
  if (maximum == minimum) return value;
  Integer result = value;
  if (minimum > value && minimum > 0) result = minimum;
  if (maximum < value && maximum > 0) result = maximum;
  return result;
}

bool CellInGridRect(const TGridRect& r, Integer col, Integer row) {
  return r.Left <= col && col <= r.Right && r.Top <= row && row <= r.Bottom;
}

Integer UpperPos(std::string_view sub, std::string_view text) { return Pos(sub, rtl::UpperCase(text)); }

Integer CharIndex(char ch, std::string_view text) { return Pos(ch, text); }

Integer FindCharPos(char ch, std::string_view text, Integer& position) {
  const Integer p = CharIndex(ch, text);
  if (p > 0) position = p;
  return p;
}

Integer FindPos(std::string_view sub, std::string_view text, Integer& position) {
  position = Pos(sub, text);
  return position;
}

void SplitAtDelimiter(AnsiString& source, std::string_view delimiter, AnsiString& token) {
  token.clear();
  const Integer p = Pos(delimiter, source);
  if (p == 0) return;
  token = Copy(source, 1, p - 1);
  rtl::Delete(source, 1, p);
}

TCharSet CharSet(std::string_view chars) {
  TCharSet set;
  for (char c : chars) set.set(static_cast<unsigned char>(c));
  return set;
}

char FirstSetCharOutsideQuotes(const TCharSet& set, std::string_view text, Integer& position) {
  position = -1;
  Integer quotes = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') ++quotes;
    if (set.test(static_cast<unsigned char>(text[i])) && quotes % 2 == 0) {
      position = static_cast<Integer>(i) + 1;
      return text[i];
    }
  }
  return 0;
}

const WideChar* WideStrPos(const WideChar* str, const WideChar* sub) {
  if (str == nullptr || sub == nullptr || *sub == 0) return nullptr;
  const std::u16string_view s(str);
  const std::u16string_view t(sub);
  if (t.size() > s.size()) return nullptr;
  const size_t p = s.find(t);
  return p == std::u16string_view::npos ? nullptr : str + p;
}

Integer WidePos(std::u16string_view sub, std::u16string_view text) {
  const WideString s(text), t(sub);
  const WideChar* p = WideStrPos(s.c_str(), t.c_str());
  return p == nullptr ? 0 : static_cast<Integer>(p - s.c_str()) + 1;
}

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }
bool IsSignOrDigit(char c) { return c == '-' || IsDigitChar(c); }
bool IsNumberChar(char c, const LocaleSettings& locale) {
  return IsDigitChar(c) || c == 'E' || c == 'e' || c == locale.ThousandSeparator() ||
         c == locale.DecimalSeparator();
}
bool IsFloatChar(char c) { return c == '+' || c == '-' || c == '.' || IsDigitChar(c) || c == 'E' || c == 'e'; }
bool IsSignedNumberChar(char c, const LocaleSettings& locale) {
  return IsNumberChar(c, locale) || c == '+' || c == '-';
}
bool IsWordBreakChar(char c) { return c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.'; }
char LowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

TTextKind GetTextKind(std::string_view text, bool htmlEnabled) {
  if (text.empty()) return TTextKind::tkPlain;
  const AnsiString s = AnsiString(text) + ' ';
  if (s[0] == '=') return TTextKind::tkFormula;
  if (s[0] == '|' && s[1] == '\\') {
    if (s.size() > 4 && s[3] == '=' && s[4] == 0) return TTextKind::tkFormula;
    return TTextKind::tkWide;
  }
  if (s[0] == '{' && s[1] == '\\') return TTextKind::tkRTF;
  if (htmlEnabled && (Pos("</", s) > 0 || Pos("<B", s) > 0 || Pos("<I", s) > 0 || Pos("<C", s) > 0))
    return TTextKind::tkHTML;
  return TTextKind::tkPlain;
}

bool HasURLScheme(std::string_view text) { return Pos("://", text) > 0 || Pos("mailto:", text) > 0; }

void StripURLScheme(AnsiString& text) {
  Integer p = Pos("://", text);
  if (p > 0) {
    rtl::Delete(text, 1, p + 2);
    return;
  }
  p = Pos("mailto:", text);
  if (p > 0) rtl::Delete(text, 1, p + 6);
}

bool LinkifyURL(std::string_view text, std::string_view scheme, AnsiString& result) {
  if (Pos(scheme, rtl::UpperCase(text)) == 0) return false;
  const AnsiString escaped = ReplaceChar(ReplaceChar(text, '<', "&lt;"), '>', "&gt;");
  result = escaped;
  const Integer p = Pos(scheme, rtl::UpperCase(escaped));
  auto isUrlChar = [](char c) {
    return IsAsciiLetterOrDigit(c) || std::string_view("%()-./:@\\_{}").find(c) != std::string_view::npos;
  };
  Integer end = p;
  while (end <= Length(escaped) && isUrlChar(escaped[end - 1])) ++end;
  const AnsiString url = Copy(escaped, p, end - p);
  rtl::Insert("<a href=\"" + url + "\">", result, p);
  rtl::Insert("</a>", result, p + 11 + 2 * Length(url));
  return true;
}

bool ParseCellReference(std::string_view text, TCellCoord& cell) {
  AnsiString s = rtl::UpperCase(text);
  if (s.size() < 4 || s[0] != 'R') return false;
  rtl::Delete(s, 1, 1);
  const Integer c = Pos('C', s);
  Integer row = 0, col = 0;
  if (!ReadInt(Copy(s, 1, c - 1), row)) return false;
  if (!ReadInt(Copy(s, c + 1), col)) return false;
  cell.X = col;
  cell.Y = row;
  return true;
}

AnsiString ExtractNumberText(std::string_view text, const LocaleSettings& locale) {
  AnsiString res;
  if (text.empty()) return res;
  bool negative = false;
  const AnsiString trimmed = rtl::Trim(text);
  if (!trimmed.empty() && trimmed.front() == '(' && trimmed.back() == ')') negative = true;
  AnsiString s(text);
  while (s.size() >= 2 && !IsNumberChar(s[0], locale)) {
    if (s[0] == '-') negative = true;
    s.erase(0, 1);
  }
  const char thousand = locale.ThousandSeparator();
  const char decimal = locale.DecimalSeparator();
  for (char c : s) {
    if (c == thousand) continue;
    if (c == decimal)
      res += '.';
    else if (IsFloatChar(c))
      res += c;
    else
      break;
  }
  if (negative) res.insert(0, 1, '-');
  return res;
}

TNumberKind GetNumberKind(std::string_view text, const LocaleSettings& locale) {
  if (text.empty()) return TNumberKind::nkNone;
  const char thousand = locale.ThousandSeparator();
  const char decimal = locale.DecimalSeparator();
  bool isInteger = true, isFloat = true, exponentValid = true, hasExponent = false;
  Integer minus = 0, decimals = 0, lastThousand = 0;
  const Integer n = Length(text);
  for (Integer i = 1; i <= n; ++i) {
    const char c = text[i - 1];
    const bool digit = IsDigitChar(c);
    const bool exponentLetter = c == 'e' || c == 'E';
    if (c != '-' && !digit) isInteger = false;
    if (exponentLetter) {
      if (hasExponent) exponentValid = false;
      hasExponent = true;
    }
    if (i > 1 && c == '-') isInteger = isFloat = false;
    if (i == 1 && exponentLetter) exponentValid = false;
    if (i == n && (exponentLetter || c == '+' || c == '-')) exponentValid = false;
    if (!digit && c != '-' && c != thousand && c != decimal) isFloat = false;
    if (!IsSignedNumberChar(c, locale) || c == thousand) exponentValid = false;
    if (c == thousand && lastThousand > 0 && i - lastThousand < 4) isFloat = false;
    if (c == thousand) lastThousand = i;
    if (c == decimal) ++decimals;
    if (c == '-') ++minus;
  }
  if (isInteger) return TNumberKind::nkInteger;
  TNumberKind result = TNumberKind::nkNone;
  if (isFloat && !hasExponent) result = TNumberKind::nkFloat;
  if (exponentValid && hasExponent) {
    result = TNumberKind::nkExponent;
    if (minus == 2) minus = 1;  // a signed mantissa and a signed exponent
  }
  if (minus > 1 || decimals > 1) return TNumberKind::nkNone;
  return result;
}

bool TryParseDateTime(std::string_view text, TDateTime& value, const LocaleSettings& locale) {
  const AnsiString format = rtl::UpperCase(locale.ShortDateFormat());
  // Which field (0 day, 1 month, 2 year) is read first, second and third.
  std::array<std::pair<Integer, int>, 3> order = {
      std::pair{Pos('D', format), 0}, std::pair{Pos('M', format), 1}, std::pair{Pos('Y', format), 2}};
  std::stable_sort(order.begin(), order.end());
  const char dateSep = locale.DateSeparator();
  const char timeSep = locale.TimeSeparator();

  std::array<Integer, 3> fields{};
  const Integer p1 = Pos(dateSep, text);
  if (p1 == 0) return false;
  if (!ReadInt(Copy(text, 1, p1 - 1), fields[order[0].second])) return false;
  AnsiString rest = Copy(text, p1 + 1);
  const Integer p2 = Pos(dateSep, rest);
  if (p2 == 0) return false;
  if (!ReadInt(Copy(rest, 1, p2 - 1), fields[order[1].second])) return false;
  rest = rtl::Trim(Copy(rest, p2 + 1));
  AnsiString timeText;
  const Integer blank = Pos(' ', rest);
  if (blank > 0) {
    timeText = Copy(rest, blank);
    rest = Copy(rest, 1, blank - 1);
  }
  if (!ReadInt(rest, fields[order[2].second])) return false;
  const Word day = static_cast<Word>(fields[0]);
  const Word month = static_cast<Word>(fields[1]);
  const Word year = static_cast<Word>(fields[2]);
  if (day > 31 || month > 12) return false;
  TDateTime date = 0;
  if (!rtl::TryEncodeDate(year, month, day, date)) return false;
  if (timeText.empty()) {
    value = date;
    return true;
  }
  const Integer t1 = Pos(timeSep, timeText);
  if (t1 == 0) {
    value = date;
    return false;
  }
  Integer hourValue = 0, minuteValue = 0, secondValue = 0;
  if (!ReadInt(Copy(timeText, 1, t1 - 1), hourValue)) return false;
  if (static_cast<Word>(hourValue) > 23) return false;
  const AnsiString afterHour = Copy(timeText, t1 + 1);
  const Integer t2 = Pos(timeSep, afterHour);
  if (t2 > 0) {
    if (!ReadInt(Copy(afterHour, 1, t2 - 1), minuteValue)) return false;
    if (!ReadInt(Copy(afterHour, t2 + 1), secondValue)) return false;
    if (static_cast<Word>(secondValue) > 60) return false;
  } else if (!ReadInt(afterHour, minuteValue)) {
    return false;
  }
  if (static_cast<Word>(minuteValue) > 59) return false;
  TDateTime time = 0;
  if (!rtl::TryEncodeTime(static_cast<Word>(hourValue), static_cast<Word>(minuteValue),
                          static_cast<Word>(secondValue), 0, time))
    return false;
  value = date + time;
  return true;
}

TDateTime ParseUSDate(std::string_view text) {
  Integer month = 0, day = 0, year = 0;
  if (!ReadShortDate(text, month, day, year)) return 0;
  return rtl::EncodeDate(ShortYear(year), static_cast<Word>(month), static_cast<Word>(day));
}

TDateTime ParseEUDate(std::string_view text) {
  Integer month = 0, day = 0, year = 0;
  if (!ReadShortDate(text, day, month, year)) return 0;
  return rtl::EncodeDate(ShortYear(year), static_cast<Word>(month), static_cast<Word>(day));
}

bool HasTwoDateSeparators(std::string_view text, const LocaleSettings& locale) {
  const char sep = locale.DateSeparator();
  const Integer p = Pos(sep, text);
  if (p < 2) return false;
  return PosEx(std::string_view(&sep, 1), text, p + 2) > 0;
}

TDateTime IncDateParts(Word years, Word months, Word days, TDateTime date, TDateTime delta) {
  Word y = 0, m = 0, d = 0;
  rtl::DecodeDate(date, y, m, d);
  if (days != 0 && years == 0 && months == 0) return date + static_cast<int16_t>(days);
  if (years != 0 && months == 0 && days == 0) return rtl::EncodeDate(static_cast<Word>(y + years), m, d);
  if (months != 0 && years == 0 && days == 0) {
    Word newMonth = static_cast<Word>(m + months);
    if (newMonth == 0) {
      newMonth = 12;
      y = static_cast<Word>(y - 1);
    } else if (newMonth > 12) {
      newMonth = static_cast<Word>(newMonth - 12);
      y = static_cast<Word>(y + 1);
    }
    return rtl::EncodeDate(y, newMonth, d);
  }
  return date + delta;
}

AnsiString EncodeLineBreaks(std::string_view text) {
  if (text.find(CR) == std::string_view::npos) return AnsiString(text);
  AnsiString out(text);
  for (char& c : out) {
    if (c == CR)
      c = 9;
    else if (c == LF)
      c = 8;
    else if (c == 0)
      c = 1;
  }
  return out;
}

AnsiString DecodeLineBreaks(std::string_view text, bool wholeText) {
  AnsiString out(text);
  if (out.find('\x08') != AnsiString::npos) {
    for (char& c : out) {
      if (c == 9)
        c = CR;
      else if (c == 8)
        c = LF;
      else if (c == 1)
        c = 0;
    }
  }
  if (wholeText) return out;
  AnsiString line;
  TakeFirstLine(out, false, line);
  return line;
}

void TakeFirstLine(AnsiString& text, bool keepRest, AnsiString& line) {
  const Integer p = Pos(CR, text);
  if (p == 0) {
    line = text;
    text.clear();
    return;
  }
  line = Copy(text, 1, p - 1);
  rtl::Delete(text, 1, p);
  if (!text.empty() && text[0] == LF) text.erase(0, 1);
  if (!keepRest) text.clear();
}

Integer LineCount(std::string_view text, bool multiLineCells) {
  if (!multiLineCells) return 1;
  return 1 + CharCount(CR, text);
}

void PackLineBreaks(AnsiString& text) {
  AnsiString out;
  out.reserve(text.size() + 2);
  out += '"';
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == CR && i + 1 < text.size() && text[i + 1] == LF) {
      out += '\x0B';
      ++i;
    } else {
      out += text[i];
    }
  }
  out += '"';
  text = std::move(out);
}

void UnpackLineBreaks(AnsiString& text) {
  if (text.find('\x0B') == AnsiString::npos) return;
  text = ReplaceChar(text, '\x0B', "\r\n");
}

void ExpandTildeBreaks(AnsiString& text) {
  text = ReplaceChar(text, '~', "\r\n");
  if (text == "^") text.clear();
}

AnsiString ExpandLineBreakEscapes(std::string_view text) {
  AnsiString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out += CR;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

AnsiString CRToLF(std::string_view text) {
  AnsiString out(text);
  std::replace(out.begin(), out.end(), CR, LF);
  return out;
}

void FillWithChar(AnsiString& text, char ch) { std::fill(text.begin(), text.end(), ch); }

void OemToAnsiText(AnsiString& text, const LocaleSettings& locale) {
  text = rtl::ToAnsi(rtl::DecodeCodePage(locale.OEMCodePage(), text));
}

AnsiString RemoveQuoteChar(char quote, std::string_view text) {
  if (text.empty() || text.find(quote) == std::string_view::npos) return AnsiString(text);
  AnsiString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != quote) {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == quote) {
      out += quote;
      ++i;
    }
  }
  return out;
}

Integer SingleCharPos(char ch, std::string_view text, Integer& position) {
  Integer run = 0;
  const Integer n = Length(text);
  for (Integer i = 1; i <= n; ++i) {
    if (text[i - 1] == ch) {
      ++run;
      if (i == n) {
        position = i;
        return i;
      }
    } else {
      if (run % 2 == 1) {
        position = i - 1;
        return i - 1;
      }
      run = 0;
    }
  }
  position = 0;
  return 0;
}

Integer SingleCharCount(char ch, std::string_view text) {
  AnsiString s(text);
  Integer count = 0;
  Integer p = 0;
  while (SingleCharPos(ch, s, p) > 0) {
    ++count;
    rtl::Delete(s, 1, p);
  }
  return count;
}

Integer CharCount(char ch, std::string_view text) {
  return static_cast<Integer>(std::count(text.begin(), text.end(), ch));
}

AnsiString EncodeWideText(std::u16string_view text) {
  AnsiString out;
  out.reserve(2 + 2 * text.size());
  out += "|\\";
  for (WideChar u : text) {
    out += static_cast<char>(u >> 8);
    out += static_cast<char>(u & 0xFF);
  }
  return out;
}

WideString DecodeWideText(std::string_view text) {
  if (text.size() < 2 || text[0] != '|' || text[1] != '\\') return rtl::ToWide(text);
  WideString out;
  out.reserve((text.size() - 2) / 2);
  for (size_t i = 2; i + 1 < text.size(); i += 2) {
    out += static_cast<WideChar>((static_cast<unsigned char>(text[i]) << 8) | static_cast<unsigned char>(text[i + 1]));
  }
  return out;
}

AnsiString MixedCase(std::string_view text) {
  AnsiString res(text);
  bool wordStart = true;
  const Integer n = Length(text);
  for (Integer i = 1; i <= n; ++i) {
    char& c = res[i - 1];
    if (IsWordBreakChar(c)) {
      wordStart = true;
    } else if (wordStart) {
      c = rtl::UpCase(text[i - 1]);
      wordStart = false;
    } else {
      c = LowerChar(text[i - 1]);
    }
    if (i == 2 && res.compare(0, 2, "Mc") == 0) wordStart = true;
    if (i > 2 && Pos(" Mc", res) == i - 2) wordStart = true;
    if (i > n - 3) {
      if (i >= 2 && res.compare(i - 2, 2, " I") == 0) wordStart = true;
      if (i >= 3 && res.compare(i - 3, 3, " II") == 0) wordStart = true;
    }
  }
  return res;
}

}  // namespace grid
