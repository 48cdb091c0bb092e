#include "vcl/MaskEngine.h"

#include <QChar>
#include <string>

#include "rtl/Locale.h"

namespace vcl {

namespace {

using Text32 = std::u32string;

// UTF-8 to code points; a malformed byte stands for itself as U+FFFD.
Text32 Decode(const rtl::AnsiString& s) {
  Text32 out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    const int extra = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t c = extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      const auto n = static_cast<unsigned char>(s[i + k]);
      if ((n & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (n & 0x3F);
    }
    if (!ok || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(c);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

rtl::AnsiString Encode(const Text32& t) {
  rtl::AnsiString out;
  out.reserve(t.size());
  for (char32_t c : t) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

bool IsAsciiDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsLetter(char32_t c) { return QChar::isLetter(c); }

}  // namespace

TMaskEngine::TMaskEngine(const rtl::AnsiString& editMask) : editMask_(editMask) {
  const Text32 m = Decode(editMask);
  const auto& settings = rtl::FormatSettings();
  TCase current = TCase::None;
  size_t i = 0;
  for (; i < m.size(); ++i) {
    const char32_t c = m[i];
    if (c == U';') break;
    TPosition p;
    p.caseConversion = current;
    switch (c) {
      case U'!': leadingBlanks_ = true; continue;
      case U'>': current = TCase::Upper; continue;
      case U'<':
        // "<>" ends the conversion.
        if (i + 1 < m.size() && m[i + 1] == U'>') {
          current = TCase::None;
          ++i;
        } else {
          current = TCase::Lower;
        }
        continue;
      case U'\\':
        // The next character as it stands; a backslash at the end is one.
        if (i + 1 < m.size()) ++i;
        p.literal = m[i];
        break;
      case U'L': p.kind = TKind::Letter; break;
      case U'l': p.kind = TKind::OptLetter; break;
      case U'A': p.kind = TKind::AlphaNum; break;
      case U'a': p.kind = TKind::OptAlphaNum; break;
      case U'C': p.kind = TKind::Any; break;
      case U'c': p.kind = TKind::OptAny; break;
      case U'0': p.kind = TKind::Digit; break;
      case U'9': p.kind = TKind::OptDigit; break;
      case U'#': p.kind = TKind::DigitOrSign; break;
      case U':': p.literal = static_cast<unsigned char>(settings.TimeSeparator); break;
      case U'/': p.literal = static_cast<unsigned char>(settings.DateSeparator); break;
      case U'_': p.literal = U' '; break;
      default: p.literal = c; break;
    }
    positions_.push_back(p);
  }
  // The fields after the mask: save the literals, the blank character.
  if (i < m.size()) {
    const size_t saveStart = i + 1;
    size_t saveEnd = saveStart;
    while (saveEnd < m.size() && m[saveEnd] != U';') ++saveEnd;
    const Text32 save = m.substr(saveStart, saveEnd - saveStart);
    saveLiterals_ = !(save.size() == 1 && save[0] == U'0');
    if (saveEnd < m.size() && saveEnd + 1 < m.size()) blank_ = m[saveEnd + 1];
  }
}

bool TMaskEngine::IsLiteral(rtl::Integer pos) const {
  return pos >= 0 && pos < Length() && positions_[static_cast<size_t>(pos)].kind == TKind::Literal;
}

bool TMaskEngine::IsRequired(rtl::Integer pos) const {
  if (pos < 0 || pos >= Length()) return false;
  switch (positions_[static_cast<size_t>(pos)].kind) {
    case TKind::Letter:
    case TKind::AlphaNum:
    case TKind::Any:
    case TKind::Digit: return true;
    default: return false;
  }
}

bool TMaskEngine::Accepts(rtl::Integer pos, char32_t ch) const {
  if (pos < 0 || pos >= Length()) return false;
  const TPosition& p = positions_[static_cast<size_t>(pos)];
  const bool optional = !IsRequired(pos) && p.kind != TKind::Literal;
  if (ch == U' ' && optional) return true;
  switch (p.kind) {
    case TKind::Literal: return ch == p.literal;
    case TKind::Letter:
    case TKind::OptLetter: return IsLetter(ch);
    case TKind::AlphaNum:
    case TKind::OptAlphaNum: return IsLetter(ch) || IsAsciiDigit(ch);
    case TKind::Any:
    case TKind::OptAny: return ch >= 0x20 && ch != 0x7F && ch != 0xFFFD;
    case TKind::Digit:
    case TKind::OptDigit: return IsAsciiDigit(ch);
    case TKind::DigitOrSign: return IsAsciiDigit(ch) || ch == U'+' || ch == U'-';
  }
  return false;
}

char32_t TMaskEngine::Convert(rtl::Integer pos, char32_t ch) const {
  if (pos < 0 || pos >= Length()) return ch;
  switch (positions_[static_cast<size_t>(pos)].caseConversion) {
    case TCase::Upper: return QChar::toUpper(ch);
    case TCase::Lower: return QChar::toLower(ch);
    case TCase::None: return ch;
  }
  return ch;
}

rtl::AnsiString TMaskEngine::BlankEditText() const {
  Text32 t;
  for (const TPosition& p : positions_) t.push_back(p.kind == TKind::Literal ? p.literal : blank_);
  return Encode(t);
}

rtl::AnsiString TMaskEngine::EditTextOf(const rtl::AnsiString& text) const {
  if (positions_.empty()) return text;
  const Text32 src = Decode(text);
  Text32 out = Decode(BlankEditText());
  const auto n = static_cast<size_t>(Length());
  auto place = [&](size_t pos, char32_t ch) {
    if (ch != U' ' && Accepts(static_cast<rtl::Integer>(pos), ch)) out[pos] = Convert(static_cast<rtl::Integer>(pos), ch);
  };
  auto fillRun = [&](size_t from, size_t to, const Text32& part) {
    const size_t run = to - from;
    const size_t used = std::min(run, part.size());
    const size_t offset = leadingBlanks_ ? run - used : 0;
    for (size_t k = 0; k < used; ++k) place(from + offset + k, part[k]);
  };
  if (saveLiterals_) {
    size_t at = 0;  // in the text
    size_t pos = 0;
    while (pos < n) {
      size_t end = pos;
      while (end < n && positions_[end].kind != TKind::Literal) ++end;
      // The text's part up to the literal that ends this run.
      size_t stop = src.size();
      if (end < n) {
        const size_t found = src.find(positions_[end].literal, at);
        if (found != Text32::npos) stop = found;
      }
      if (at > src.size()) at = src.size();
      fillRun(pos, end, src.substr(at, stop - std::min(at, stop)));
      at = stop < src.size() ? stop + 1 : src.size();
      pos = end < n ? end + 1 : n;
    }
  } else {
    std::vector<size_t> editable;
    for (size_t p = 0; p < n; ++p)
      if (positions_[p].kind != TKind::Literal) editable.push_back(p);
    const size_t used = std::min(editable.size(), src.size());
    const size_t offset = leadingBlanks_ ? editable.size() - used : 0;
    for (size_t k = 0; k < used; ++k) place(editable[offset + k], src[k]);
  }
  return Encode(out);
}

rtl::AnsiString TMaskEngine::TextOf(const rtl::AnsiString& editText) const {
  if (positions_.empty()) return editText;
  const Text32 e = Decode(editText);
  Text32 out;
  for (size_t p = 0; p < positions_.size(); ++p) {
    if (positions_[p].kind == TKind::Literal) {
      if (saveLiterals_) out.push_back(positions_[p].literal);
      continue;
    }
    const char32_t c = p < e.size() ? e[p] : blank_;
    out.push_back(c == blank_ ? U' ' : c);
  }
  return Encode(out);
}

rtl::Integer TMaskEngine::NextEditable(rtl::Integer pos) const {
  if (pos < 0) pos = 0;
  while (pos < Length() && IsLiteral(pos)) ++pos;
  return std::min(pos, Length());
}

rtl::Integer TMaskEngine::PrevEditable(rtl::Integer pos) const {
  if (pos >= Length()) pos = Length() - 1;
  while (pos >= 0 && IsLiteral(pos)) --pos;
  return pos;
}

bool TMaskEngine::TypeChar(rtl::AnsiString& editText, rtl::Integer& caret, char32_t ch) const {
  if (positions_.empty() || caret < 0 || caret >= Length()) return false;
  Text32 e = Decode(editText);
  e.resize(positions_.size(), blank_);
  // A literal typed where one comes next (at the caret or after the rest
  // of this run) jumps past it.
  rtl::Integer lit = caret;
  while (lit < Length() && !IsLiteral(lit)) ++lit;
  if (lit < Length() && positions_[static_cast<size_t>(lit)].literal == ch && !Accepts(NextEditable(caret), ch)) {
    caret = NextEditable(lit + 1);
    editText = Encode(e);
    return true;
  }
  const rtl::Integer p = NextEditable(caret);
  if (p >= Length() || !Accepts(p, ch)) return false;
  e[static_cast<size_t>(p)] = ch == U' ' ? blank_ : Convert(p, ch);
  editText = Encode(e);
  caret = NextEditable(p + 1);
  return true;
}

bool TMaskEngine::Backspace(rtl::AnsiString& editText, rtl::Integer& caret) const {
  if (positions_.empty() || caret <= 0) return false;
  const rtl::Integer p = PrevEditable(std::min(caret, Length()) - 1);
  if (p < 0) return false;
  Text32 e = Decode(editText);
  e.resize(positions_.size(), blank_);
  e[static_cast<size_t>(p)] = blank_;
  editText = Encode(e);
  caret = p;
  return true;
}

bool TMaskEngine::Delete(rtl::AnsiString& editText, rtl::Integer selStart, rtl::Integer selLength) const {
  if (positions_.empty() || selStart < 0 || selStart >= Length()) return false;
  Text32 e = Decode(editText);
  e.resize(positions_.size(), blank_);
  bool changed = false;
  auto blankAt = [&](rtl::Integer p) {
    if (p < 0 || p >= Length() || IsLiteral(p)) return;
    changed = changed || e[static_cast<size_t>(p)] != blank_;
    e[static_cast<size_t>(p)] = blank_;
  };
  if (selLength <= 0)
    blankAt(NextEditable(selStart));
  else
    for (rtl::Integer p = selStart; p < selStart + selLength && p < Length(); ++p) blankAt(p);
  editText = Encode(e);
  return changed;
}

void TMaskEngine::Paste(rtl::AnsiString& editText, rtl::Integer& caret, const rtl::AnsiString& text) const {
  for (char32_t c : Decode(text)) {
    if (caret >= Length()) break;
    TypeChar(editText, caret, c);
  }
}

bool TMaskEngine::Valid(const rtl::AnsiString& editText, rtl::Integer* errorPos) const {
  const Text32 e = Decode(editText);
  for (rtl::Integer p = 0; p < Length(); ++p) {
    const auto u = static_cast<size_t>(p);
    if (IsRequired(p) && (u >= e.size() || e[u] == blank_ || e[u] == U' ')) {
      if (errorPos != nullptr) *errorPos = p;
      return false;
    }
  }
  return true;
}

}  // namespace vcl
