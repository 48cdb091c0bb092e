#include "memo/text/MemoTokenizer.h"

#include <algorithm>

#include "memo/text/MemoChars.h"
#include "rtl/Strings.h"

namespace memo {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsAt(std::string_view s, size_t at, std::string_view marker) {
  return !marker.empty() && at <= s.size() && s.substr(at).starts_with(marker);
}

bool Has(std::string_view set, char ch) { return set.find(ch) != std::string_view::npos; }

bool IsUrlDelimiter(char ch) { return ch == ' ' || ch == '"' || ch == '\'' || ch == ','; }

// Only one token at a time carries these.
void ResetTokenBytes(TTokenState& s) { s.Number = s.Keyword = s.Symbol = s.URL = 0; }

}  // namespace

// Tokens of equal state join into one run; a run is painted when a token of
// another state arrives, and the last one when the line ends.
class TLineTokenizer::TRunMerger {
 public:
  TRunMerger(ILinePainter& painter, const TTokenState& start) : painter_(painter), state_(start) {}
  void Emit(std::string_view text, TTokenState& running) {
    if (text.empty()) return;
    if (pending_.empty() || !(running == state_)) {
      Flush();
      state_ = running;
    }
    pending_.append(text);
    ResetTokenBytes(running);
  }
  void Flush() {
    if (!pending_.empty()) painter_.PaintRun(pending_, state_);
    pending_.clear();
  }
  ILinePainter& Painter() { return painter_; }
  bool lineComment = false;

 private:
  ILinePainter& painter_;
  TTokenState state_;
  AnsiString pending_;
};

void TLineTokenizer::SetDefs(const TStylerDefs* defs, bool caseSensitive, bool urlAware) {
  defs_ = defs;
  caseSensitive_ = caseSensitive;
  urlAware_ = urlAware;
  symbolChars_.clear();
  numberStart_.clear();
  numberChars_.clear();
  hexPrefix_.clear();
  escape_ = 0;
  keys_.clear();
  if (!defs_) return;
  for (const TStyleDef& style : defs_->Styles)
    if (style.StyleType == stSymbol) symbolChars_ += style.Symbols;
  numberStart_ = rtl::UpperCase(defs_->NumberChars + defs_->HexChars);
  numberChars_ = rtl::UpperCase(defs_->NumberChars) + "E";
  hexPrefix_ = rtl::UpperCase(defs_->HexChars);
  escape_ = defs_->EscapeChar.empty() ? 0 : defs_->EscapeChar[0];
  for (const TStyleDef& style : defs_->Styles) {
    std::vector<AnsiString> keys;
    if (style.StyleType == stKeyword) {
      keys.reserve(style.KeyWords.size());
      for (const AnsiString& k : style.KeyWords) keys.push_back(caseSensitive_ ? k : rtl::LowerCase(k));
      std::sort(keys.begin(), keys.end());
    }
    keys_.push_back(std::move(keys));
  }
}

bool TLineTokenizer::IsURL(std::string_view text) {
  AnsiString s = rtl::LowerCase(text.substr(0, 8));
  for (std::string_view scheme : {"http://", "mailto:", "www.", "https://", "ftp://", "nntp://"})
    if (std::string_view(s).starts_with(scheme)) return true;
  return false;
}

std::vector<std::string_view> TLineTokenizer::SplitURLPieces(std::string_view line) const {
  std::vector<std::string_view> pieces;
  if (line.empty()) return pieces;
  if (!urlAware_) {
    pieces.push_back(line);
    return pieces;
  }
  size_t start = 0;
  bool delimiters = IsUrlDelimiter(line[0]);
  size_t i = 0;
  while (i < line.size()) {
    if (escape_ && line[i] == escape_) {
      // The escaped character stays in the piece whatever its kind.
      i = std::min(i + 2, line.size());
      continue;
    }
    bool d = IsUrlDelimiter(line[i]);
    if (d != delimiters && i > start) {
      pieces.push_back(line.substr(start, i - start));
      start = i;
    }
    delimiters = d;
    ++i;
  }
  if (start < line.size()) pieces.push_back(line.substr(start));
  return pieces;
}

bool TLineTokenizer::URLAtColumn(std::string_view line, Integer column) const {
  if (!urlAware_ || column < 0) return false;
  Integer at = 0;
  for (std::string_view piece : SplitURLPieces(line)) {
    Integer len = CharLength(piece);
    if (column < at + len) return IsURL(piece);
    at += len;
  }
  return false;
}

bool TLineTokenizer::IsSymbol(char ch) const { return Has(symbolChars_, ch); }

bool TLineTokenizer::IsKeyword(std::string_view word, const TStyleDef& style) const {
  const auto& keys = keys_[static_cast<size_t>(&style - defs_->Styles.data())];
  AnsiString key = caseSensitive_ ? AnsiString(word) : rtl::LowerCase(word);
  return std::binary_search(keys.begin(), keys.end(), key);
}

// The scan behind LineStartState: only what carries over to the next line
// (comments and brackets) is followed, a character at a time.
void TLineTokenizer::ScanPiece(std::string_view piece, TTokenState& s, bool& lineComment) const {
  const TStylerDefs& d = *defs_;
  bool comments = !d.MultiCommentLeft.empty() && !d.MultiCommentRight.empty();
  size_t i = 0;
  while (i < piece.size()) {
    if (comments && !s.InComment && !s.InBracket && StartsAt(piece, i, d.MultiCommentLeft)) {
      s.InComment = 1;
      i += d.MultiCommentLeft.size();
    }
    if (comments && s.InComment && !s.InBracket && StartsAt(piece, i, d.MultiCommentRight)) {
      s.InComment = 0;
      i += d.MultiCommentRight.size();
    }
    if (!s.InComment && !s.InBracket && StartsAt(piece, i, d.LineComment)) {
      lineComment = true;
      return;
    }
    if (!s.InComment) {
      for (size_t k = 0; k < d.Styles.size(); ++k) {
        const TStyleDef& style = d.Styles[k];
        if (style.StyleType != stBracket || !style.BracketStart || !style.BracketEnd) continue;
        if (!s.InBracket) {
          s.BracketStart = style.BracketStart;
          s.BracketEnd = style.BracketEnd;
          s.StyleIndex = static_cast<int32_t>(k);
        } else if (escape_ && i < piece.size() && piece[i] == escape_) {
          i += 2;
        }
        if (i < piece.size() && (piece[i] == s.BracketStart || piece[i] == s.BracketEnd)) {
          s.InBracket = !s.InBracket;
          break;
        }
      }
    }
    ++i;
  }
  // A bracket that a blank closes ends with its piece, as the painter has it.
  if (s.InBracket && s.BracketEnd == ' ') s.InBracket = s.BracketStart = s.BracketEnd = 0;
}

TTokenState TLineTokenizer::LineStartState(TLumMemoStrings& store, Integer n) {
  TTokenState result;
  lastScanFrom_ = lastScanTo_ = -1;
  if (!defs_ || store.Count() == 0 || n < 0) return result;
  Integer count = store.Count();
  // Caches at or below the store's stale mark were taken before an edit
  // above them: they are dropped on the way up to the nearest good one.
  Integer stale = store.TokenStatesStaleFrom();
  Integer start = 0;
  for (Integer l = std::min(n, count) - 1; l >= 0; --l) {
    TLineProp* p = store.GetLineProp(l);
    if (!p) continue;
    if (l >= stale) p->TokenStateValid = false;
    if (p->TokenStateValid) {
      start = l;
      result = p->TokenState;
      break;
    }
  }
  TTokenState s = result;
  Integer end = std::min(n, count);
  for (Integer l = start; l < end; ++l) {
    const AnsiString& text = store.Line(l);
    if (text.empty()) continue;
    if (l % 20 == 0) {
      TLineProp* p = store.CreateLineProp(l);
      if (!p->TokenStateValid) {
        p->TokenState = s;
        p->TokenState.URL = 0;
        p->TokenStateValid = true;
      }
    }
    bool lineComment = false;
    for (std::string_view piece : SplitURLPieces(text)) {
      s.URL = urlAware_ && IsURL(piece) ? 1 : 0;
      if (!lineComment && !s.URL) ScanPiece(piece, s, lineComment);
    }
  }
  result = TTokenState();
  result.InComment = s.InComment;
  result.InBracket = s.InBracket;
  result.BracketEnd = s.BracketEnd;
  result.BracketStart = s.BracketStart;
  result.StyleIndex = s.StyleIndex;
  lastScanFrom_ = start;
  lastScanTo_ = end - 1;
  if (n < count) {
    TLineProp* p = store.CreateLineProp(n);
    p->TokenState = result;
    p->TokenStateValid = true;
  }
  store.TokenStatesFreshTo(n);
  return result;
}

void TLineTokenizer::TokenizeLine(std::string_view line, TTokenState& state, ILinePainter& painter) {
  TRunMerger out(painter, state);
  for (std::string_view piece : SplitURLPieces(line)) {
    state.URL = urlAware_ && IsURL(piece) ? 1 : 0;
    TokenizePiece(piece, state, out);
  }
  out.Flush();
  state.URL = 0;
  if (out.lineComment) state.InComment = 0;
}

void TLineTokenizer::TokenizePiece(std::string_view piece, TTokenState& state, TRunMerger& out) {
  if (!defs_ || (state.URL && urlAware_)) {
    out.Emit(piece, state);
    return;
  }
  const TStylerDefs& d = *defs_;
  bool comments = !d.MultiCommentLeft.empty() && !d.MultiCommentRight.empty();
  AnsiString rest(piece);
  size_t p = 0;
  bool wordStart = true;
  bool consumed = false;
  auto emitAt = [&](size_t count) {
    out.Emit(std::string_view(rest).substr(p, count), state);
    rest.erase(p, count);
  };
  while (p < rest.size()) {
    if (!consumed) wordStart = p == 0 || rest[p] == ' ' || symbolChars_.empty() || IsSymbol(rest[p]);
    consumed = false;

    // Comments. Markers count where they start at p, so one already passed
    // over inside a string is never taken for one that follows.
    if (!state.InBracket && comments) {
      if (state.InComment) {
        size_t at = rest.find(d.MultiCommentRight, p);
        if (at == AnsiString::npos) {
          emitAt(rest.size() - p);
          break;
        }
        emitAt(at + d.MultiCommentRight.size() - p);
        state.InComment = 0;
        if (p >= rest.size()) break;
      } else if (StartsAt(rest, p, d.MultiCommentLeft)) {
        rest.erase(0, p);
        p = 0;
        state.InComment = 1;
        emitAt(d.MultiCommentLeft.size());
        consumed = true;
        continue;
      }
    }

    if (!state.InComment) {
      if (!state.InBracket && StartsAt(rest, p, d.LineComment)) {
        state.InComment = 1;
        out.lineComment = true;
        emitAt(rest.size() - p);
        break;
      }
      if (state.InBracket && state.BracketStart) {
        if (escape_ && rest[p] == escape_) {
          emitAt(std::min<size_t>(2, rest.size() - p));
          continue;
        }
        if (rest[p] == state.BracketEnd) {
          emitAt(1);
          state.InBracket = 0;
          wordStart = false;
          consumed = true;
          continue;
        }
        size_t n = CharSizeAt(rest, p);
        out.Emit(std::string_view(rest).substr(p, n), state);
        p += n;
        continue;
      }
      state.BracketEnd = state.BracketStart = 0;
      for (size_t k = 0; k < d.Styles.size(); ++k) {
        const TStyleDef& style = d.Styles[k];
        if (style.StyleType != stBracket) continue;
        state.BracketEnd = style.BracketEnd;
        state.BracketStart = style.BracketStart;
        state.StyleIndex = static_cast<int32_t>(k);
        if (style.BracketEnd && rest[p] == style.BracketStart) {
          state.InBracket = 1;
          break;
        }
      }
      if (state.InBracket) {
        emitAt(1);
        continue;
      }
    }

    // Symbols.
    bool symbol = false;
    for (size_t k = 0; k < d.Styles.size() && !symbol; ++k) {
      const TStyleDef& style = d.Styles[k];
      if (style.StyleType != stSymbol || !Has(style.Symbols, rest[p])) continue;
      state.Symbol = 1;
      state.StyleIndex = static_cast<int32_t>(k);
      emitAt(1);
      symbol = true;
    }
    if (symbol) {
      wordStart = true;
      consumed = true;
      continue;
    }

    // Numbers, at a word start only.
    if (wordStart && Has(numberStart_, Upper(rest[p]))) {
      AnsiString allowed = numberChars_;
      size_t q = p;
      if (!hexPrefix_.empty() && rtl::UpperCase(std::string_view(rest).substr(p, hexPrefix_.size())) == hexPrefix_) {
        allowed += "ABCDEF";
        q = p + hexPrefix_.size();
      }
      bool hexAdded = false;
      size_t firstDot = AnsiString::npos;
      while (q < rest.size() && Has(allowed, Upper(rest[q]))) {
        if (rest[q] == '.') {
          if (firstDot != AnsiString::npos) {
            q = firstDot;
            break;
          }
          firstDot = q;
        }
        ++q;
        if (!hexAdded && !hexPrefix_.empty() && q - p == hexPrefix_.size() &&
            rtl::UpperCase(std::string_view(rest).substr(p, q - p)) == hexPrefix_) {
          allowed += "ABCDEF";
          hexAdded = true;
        }
      }
      if (q > p) {
        state.Symbol = 0;
        state.Number = 1;
        emitAt(q - p);
        wordStart = false;
        consumed = true;
        continue;
      }
    }

    // Keywords: the word runs to a blank, ";", ":" or a symbol character.
    if (wordStart) {
      size_t e = p + 1;
      while (e < rest.size() && rest[e] != ' ' && rest[e] != ';' && rest[e] != ':' && !IsSymbol(rest[e])) ++e;
      std::string_view word = std::string_view(rest).substr(p, e - p);
      bool found = false;
      for (size_t k = 0; k < d.Styles.size() && !found; ++k) {
        const TStyleDef& style = d.Styles[k];
        if (style.StyleType != stKeyword || !IsKeyword(word, style)) continue;
        state.Keyword = 1;
        state.StyleIndex = static_cast<int32_t>(k);
        found = true;
      }
      if (found) {
        if (d.CustomKeywords) {
          out.Flush();
          out.Painter().KeywordFound(word, state);
          ResetTokenBytes(state);
          rest.erase(p, e - p);
        } else {
          emitAt(e - p);
        }
        consumed = true;
        continue;
      }
    }

    // A plain character, whole.
    size_t n = CharSizeAt(rest, p);
    out.Emit(std::string_view(rest).substr(p, n), state);
    p += n;
  }
  if (state.InBracket && state.BracketEnd == ' ') state.InBracket = state.BracketStart = state.BracketEnd = 0;
}

TRunLook TLineTokenizer::Look(const TTokenState& s, const TRunColours& colours) const {
  TRunLook look = colours.Plain;
  auto apply = [&](uint32_t text, uint8_t style, uint32_t bk) {
    look.TextColor = text;
    look.Style = style;
    if (bk != colours.None) look.BkColor = bk;
  };
  const TStyleDef* element = nullptr;
  if (defs_ && s.StyleIndex >= 0 && static_cast<size_t>(s.StyleIndex) < defs_->Styles.size())
    element = &defs_->Styles[static_cast<size_t>(s.StyleIndex)];
  auto applyElement = [&] {
    if (element)
      apply(element->FontColor, element->FontStyle, element->BGColor);
    else
      look = colours.Plain;
  };
  if (!defs_) return look;
  if (s.InComment && !s.URL) {
    apply(defs_->CommentStyle.TextColor, defs_->CommentStyle.Style, defs_->CommentStyle.BkColor);
  } else if (!s.InBracket || s.URL) {
    if (s.Number) apply(defs_->NumberStyle.TextColor, defs_->NumberStyle.Style, defs_->NumberStyle.BkColor);
    if (s.Symbol || s.Keyword) applyElement();
    if (s.URL) apply(colours.Url.TextColor, colours.Url.Style, colours.Url.BkColor);
  } else {
    applyElement();
  }
  return look;
}

}  // namespace memo
