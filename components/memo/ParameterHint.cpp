#include "memo/ParameterHint.h"

#include <array>
#include <vector>

#include "memo/text/MemoChars.h"
#include "rtl/Strings.h"
#include "vcl/Graphics.h"

namespace memo {

namespace {

// Whether text[0, end) ends with piece (an empty piece never matches, so a
// cleared hint character takes no part in the scan).
bool PhEndsAt(std::string_view text, size_t end, std::string_view piece) {
  return !piece.empty() && end >= piece.size() && text.substr(end - piece.size(), piece.size()) == piece;
}

bool PhStartsAt(std::string_view text, size_t at, std::string_view piece) {
  return !piece.empty() && text.substr(at, piece.size()) == piece;
}

// The three parts with whether each is written bold.
std::array<std::pair<const AnsiString*, bool>, 3> PhParts(const TParameterHintText& t) {
  return {{{&t.Before, t.Bold == hbFirst}, {&t.Current, t.Bold == hbMiddle}, {&t.After, t.Bold == hbLast}}};
}

bool PhIsBlank(char c) { return c == ' ' || c == '\t'; }

AnsiString PhFold(std::string_view s, bool caseSensitive) {
  return caseSensitive ? AnsiString(s) : rtl::UpperCase(s);
}

}  // namespace

void THintParameter::Assign(const vcl::TPersistent* source) {
  if (auto* h = dynamic_cast<const THintParameter*>(source)) {
    TextColor = h->TextColor;
    BkColor = h->BkColor;
    HintCharStart = h->HintCharStart;
    HintCharEnd = h->HintCharEnd;
    HintCharDelimiter = h->HintCharDelimiter;
    HintCharWriteDelimiter = h->HintCharWriteDelimiter;
    parameters_.Assign(h->parameters_);
    return;
  }
  TPersistent::Assign(source);
}

AnsiString TParameterHintText::BoldPart() const {
  switch (Bold) {
    case hbFirst: return Before;
    case hbMiddle: return Current;
    case hbLast: return After;
    case hbNone: break;
  }
  return {};
}

std::optional<TCallAtCaret> FindCallAtCaret(std::string_view line, Integer column, const THintParameter& hp) {
  const Integer length = CharLength(line);
  if (column > length) column = length;
  if (column <= 0) return std::nullopt;
  size_t i = ByteOfChar(line, column);
  Integer written = 0;
  Integer blanksInRow = 0;
  size_t start = std::string_view::npos;
  while (i > 0) {
    if (PhEndsAt(line, i, hp.HintCharEnd)) return std::nullopt;
    if (PhEndsAt(line, i, hp.HintCharStart)) {
      start = i - hp.HintCharStart.size();
      break;
    }
    if (PhEndsAt(line, i, hp.HintCharWriteDelimiter)) {
      ++written;
      blanksInRow = 0;
      i -= hp.HintCharWriteDelimiter.size();
      continue;
    }
    if (line[i - 1] == ' ') {
      if (++blanksInRow == 5) return std::nullopt;
    } else {
      blanksInRow = 0;
    }
    --i;
  }
  if (start == std::string_view::npos) return std::nullopt;
  // Blanks between the name and its bracket belong to neither.
  size_t nameEnd = start;
  while (nameEnd > 0 && PhIsBlank(line[nameEnd - 1])) --nameEnd;
  size_t nameStart = nameEnd;
  while (nameStart > 0 && !PhIsBlank(line[nameStart - 1]) && !PhEndsAt(line, nameStart, hp.HintCharStart) &&
         !PhEndsAt(line, nameStart, hp.HintCharEnd) && !PhEndsAt(line, nameStart, hp.HintCharWriteDelimiter) &&
         !PhEndsAt(line, nameStart, hp.HintCharDelimiter))
    --nameStart;
  if (nameStart == nameEnd) return std::nullopt;
  return TCallAtCaret{AnsiString(line.substr(nameStart, nameEnd - nameStart)), written};
}

AnsiString FindParameterPattern(const THintParameter& hp, std::string_view name, bool caseSensitive) {
  const AnsiString wanted = PhFold(rtl::Trim(name), caseSensitive);
  if (wanted.empty()) return {};
  const rtl::TStringList* patterns = hp.Parameters();
  for (Integer k = 0; k < patterns->Count(); ++k) {
    const AnsiString pattern = patterns->Strings(k);
    const size_t open = hp.HintCharStart.empty() ? std::string::npos : pattern.find(hp.HintCharStart);
    const std::string_view head = std::string_view(pattern).substr(0, open);
    if (PhFold(rtl::Trim(head), caseSensitive) == wanted) return pattern;
  }
  return {};
}

TParameterHintText SplitParameterHint(std::string_view pattern, Integer parameterIndex, const THintParameter& hp) {
  std::string_view body = pattern;
  if (!hp.HintCharStart.empty()) {
    const size_t open = body.find(hp.HintCharStart);
    if (open != std::string_view::npos) body = body.substr(open + hp.HintCharStart.size());
  }
  if (!hp.HintCharEnd.empty()) {
    const size_t close = body.find(hp.HintCharEnd);
    if (close != std::string_view::npos) body = body.substr(0, close);
  }
  // Each parameter's span without its delimiter: [first, second).
  std::vector<std::pair<size_t, size_t>> spans;
  size_t from = 0;
  for (size_t i = 0; i <= body.size();) {
    size_t delimiter = 0;
    if (PhStartsAt(body, i, hp.HintCharWriteDelimiter)) delimiter = hp.HintCharWriteDelimiter.size();
    else if (PhStartsAt(body, i, hp.HintCharDelimiter)) delimiter = hp.HintCharDelimiter.size();
    if (i == body.size() || delimiter) {
      spans.emplace_back(from, i);
      if (i == body.size()) break;
      i += delimiter;
      from = i;
    } else {
      ++i;
    }
  }
  TParameterHintText text;
  const bool emptyList = spans.size() == 1 && rtl::Trim(body).empty();
  if (parameterIndex < 0 || emptyList || static_cast<size_t>(parameterIndex) >= spans.size()) {
    text.Before = AnsiString(body);
    return text;
  }
  auto [first, last] = spans[static_cast<size_t>(parameterIndex)];
  // The blanks around a parameter stay plain, so only its text turns bold.
  while (first < last && PhIsBlank(body[first])) ++first;
  while (last > first && PhIsBlank(body[last - 1])) --last;
  text.Before = AnsiString(body.substr(0, first));
  text.Current = AnsiString(body.substr(first, last - first));
  text.After = AnsiString(body.substr(last));
  text.Bold = hbMiddle;
  return text;
}

std::optional<TParameterHintText> ParameterHintFor(std::string_view line, Integer column, const THintParameter& hp,
                                                   bool caseSensitive, const TGetParameterHintEvent& onGet,
                                                   vcl::TObject* sender) {
  const std::optional<TCallAtCaret> call = FindCallAtCaret(line, column, hp);
  if (!call) return std::nullopt;
  AnsiString pattern;
  bool handled = false;
  if (onGet) onGet(sender, PhFold(call->Name, caseSensitive), pattern, handled);
  if (!handled) pattern = FindParameterPattern(hp, call->Name, caseSensitive);
  if (pattern.empty()) return std::nullopt;
  return SplitParameterHint(pattern, call->ParameterIndex, hp);
}

vcl::TSize ParameterHintSize(vcl::TCanvas* canvas, const TParameterHintText& text) {
  vcl::TFont* font = canvas->Font();
  const vcl::TFontStyles plain = font->Style();
  vcl::TFontStyles bold = plain;
  bold.Include(vcl::fsBold);
  Integer width = 0;
  for (const auto& [part, isBold] : PhParts(text)) {
    font->SetStyle(isBold ? bold : plain);
    width += canvas->TextWidth(*part);
  }
  font->SetStyle(plain);
  return {width + 6, canvas->TextHeight("h,g_`") + 5};
}

void DrawParameterHint(vcl::TCanvas* canvas, vcl::TSize client, const TParameterHintText& text, vcl::TColor textColour,
                       vcl::TColor background) {
  const vcl::TRect all{0, 0, client.cx, client.cy};
  canvas->Brush()->SetColor(background);
  canvas->FillRect(all);
  canvas->Brush()->SetColor(static_cast<vcl::TColor>(0x808080));
  canvas->FrameRect(all);
  canvas->Brush()->SetColor(background);
  vcl::TFont* font = canvas->Font();
  const vcl::TFontStyles plain = font->Style();
  const vcl::TColor colour = font->Color();
  vcl::TFontStyles bold = plain;
  bold.Include(vcl::fsBold);
  font->SetColor(textColour);
  Integer x = 2;
  for (const auto& [part, isBold] : PhParts(text)) {
    if (part->empty()) continue;
    font->SetStyle(isBold ? bold : plain);
    canvas->TextOut(x, 2, *part);
    x += canvas->TextWidth(*part);
  }
  font->SetStyle(plain);
  font->SetColor(colour);
}

}  // namespace memo
