#include "memo/CompletionEntries.h"

#include <algorithm>

#include "memo/LumMemoSettings.h"
#include "memo/text/MemoChars.h"
#include "rtl/Strings.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"

namespace memo {

namespace {

bool CeBeginsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

bool CeIsTokenBound(char c) { return c == ' ' || c == '"' || c == '\'' || c == '(' || c == ')' || c == ':'; }

// A delimiter ends the word too, so completing a parameter keeps its comma.
bool CeIsWordBound(char c) { return c == ' ' || c == '(' || c == ')' || c == ',' || c == ';'; }

void CeAddWithKind(const rtl::TStrings& from, Integer index, rtl::TStrings& to) {
  to.AddObject(from.Strings(index), from.Objects(index));
}

}  // namespace

AnsiString CompletionKindWord(std::string_view entry) {
  const size_t blank = entry.find(' ');
  return blank == std::string_view::npos ? AnsiString() : AnsiString(entry.substr(0, blank + 1));
}

AnsiString CompletionRest(std::string_view entry) {
  const size_t blank = entry.find(' ');
  return AnsiString(blank == std::string_view::npos ? entry : entry.substr(blank + 1));
}

AnsiString CompletionName(std::string_view entry) {
  const AnsiString rest = CompletionRest(entry);
  return rest.substr(0, rest.find_first_of("(; "));
}

bool CompletionHasParameters(std::string_view entry) { return CompletionRest(entry).find('(') != AnsiString::npos; }

Integer CompletionKindOf(const rtl::TStrings& list, Integer index) {
  return static_cast<Integer>(rtl::ObjectToInt(list.Objects(index)));
}

AnsiString CompletionTokenAt(std::string_view line, Integer column) {
  if (column < 0 || column > CharLength(line)) return {};
  size_t first = ByteOfChar(line, column);
  size_t last = first;
  while (first > 0 && !CeIsTokenBound(line[first - 1])) --first;
  while (last < line.size() && !CeIsTokenBound(line[last])) ++last;
  return AnsiString(line.substr(first, last - first));
}

void CollectCompletionCandidates(const rtl::TStrings& source, std::string_view token, rtl::TStrings& out) {
  out.Clear();
  const AnsiString wanted = rtl::UpperCase(token);
  for (Integer i = 0; i < source.Count(); ++i)
    if (CeBeginsWith(rtl::UpperCase(CompletionRest(source.Strings(i))), wanted)) CeAddWithKind(source, i, out);
}

void FilterCompletionCandidates(const rtl::TStrings& candidates, std::string_view token, rtl::TStrings& out) {
  out.Clear();
  const AnsiString wanted = rtl::UpperCase(token);
  for (Integer i = 0; i < candidates.Count(); ++i) {
    AnsiString rest = rtl::UpperCase(CompletionRest(candidates.Strings(i)));
    const size_t dot = rest.find('.');
    if (dot != AnsiString::npos) rest.erase(0, dot + 1);
    if (CeBeginsWith(rest, wanted)) CeAddWithKind(candidates, i, out);
  }
}

TCompletionKeyAction CompletionKeyAction(rtl::Word key) {
  switch (key) {
    case 8: return ckaBackspace;
    case 9:
    case 27: return ckaClose;
    case 13:
    case 32:
    case 53: return ckaInsert;
    case 46: return ckaDelete;
    case 189: return ckaType;
    case 160:
    case 161:
    case 164:
    case 165: return ckaListMoves;
    default: break;
  }
  if ((key >= 16 && key <= 18) || (key >= 33 && key <= 40)) return ckaListMoves;
  // The number pad's digits type as the row's do; its operators and the
  // function keys (whose codes follow them) are no characters.
  if ((key >= 48 && key <= 57) || (key >= 65 && key <= 90) || (key >= 96 && key <= 105)) return ckaType;
  return ckaCancel;
}

char CompletionKeyChar(rtl::Word key, bool shift) {
  if (key == 189) return '_';
  if (key >= 96 && key <= 105) return static_cast<char>('0' + (key - 96));
  const char c = static_cast<char>(key);
  if (shift) return c;
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

AnsiString CompletionInsertText(std::string_view entry, bool byKey, const TInsertAutoCompletionEntryEvent& onInsert,
                                vcl::TObject* sender, bool& withParentheses) {
  withParentheses = false;
  AnsiString text(entry);
  if (onInsert) onInsert(sender, text);
  if (text != entry) return text;
  text = CompletionName(entry);
  if (byKey && CompletionHasParameters(entry)) {
    text += "()";
    withParentheses = true;
  }
  return text;
}

std::pair<Integer, Integer> CompletionReplaceRange(std::string_view line, Integer caretColumn, bool member,
                                                   Integer memberStart, std::string_view name) {
  const Integer length = CharLength(line);
  const Integer caret = std::clamp<Integer>(caretColumn, 0, length);
  if (member && name.find('.') == std::string_view::npos) {
    return {std::clamp<Integer>(memberStart, 0, caret), caret};
  }
  size_t first = ByteOfChar(line, caret);
  size_t last = first;
  while (first > 0 && !CeIsWordBound(line[first - 1])) --first;
  while (last < line.size() && !CeIsWordBound(line[last])) ++last;
  return {CharOfByte(line, first), CharOfByte(line, last)};
}

TCompletionMeasures MeasureCompletionList(vcl::TCanvas* canvas, const rtl::TStrings& entries, bool showImages,
                                          Integer scrollBarWidth) {
  vcl::TFont* font = canvas->Font();
  const vcl::TFontStyles plain = font->Style();
  vcl::TFontStyles bold = plain;
  bold.Include(vcl::fsBold);
  TCompletionMeasures m;
  for (Integer i = 0; i < entries.Count(); ++i) {
    const AnsiString kindWord = CompletionKindWord(entries.Strings(i));
    if (!kindWord.empty()) m.KindColumnWidth = std::max(m.KindColumnWidth, canvas->TextWidth(kindWord));
  }
  Integer widest = 0;
  for (Integer i = 0; i < entries.Count(); ++i) {
    const AnsiString entry = entries.Strings(i);
    const AnsiString rest = CompletionRest(entry);
    const size_t open = rest.find('(');
    Integer width = CompletionKindWord(entry).empty() ? 0 : m.KindColumnWidth;
    font->SetStyle(bold);
    width += canvas->TextWidth(rest.substr(0, open));
    font->SetStyle(plain);
    if (open != AnsiString::npos) width += canvas->TextWidth(rest.substr(open));
    widest = std::max(widest, width);
  }
  font->SetStyle(plain);
  m.ListWidth = widest + (showImages ? 20 : 0) + scrollBarWidth + 8;
  m.ItemHeight = std::max<Integer>(canvas->TextHeight("h_") + 1, 16);
  return m;
}

void DrawCompletionEntry(vcl::TCanvas* canvas, const vcl::TRect& rect, std::string_view entry, Integer kind,
                         bool selected, const TAutoCompletion& settings, Integer kindColumnWidth,
                         const TCompletionPictures& pictures) {
  canvas->FillRect(rect);
  canvas->FrameRect(rect);
  Integer x = rect.Left + 2;
  if (settings.ShowImages) {
    // Kinds 5 and 6 share the procedure picture; kind 0 has none.
    static constexpr int kPictureOfKind[7] = {-1, 0, 1, 2, 4, 3, 3};
    const int picture = kind >= 0 && kind <= 6 ? kPictureOfKind[kind] : -1;
    vcl::TBitmap* bitmap = picture >= 0 ? pictures[static_cast<size_t>(picture)] : nullptr;
    if (bitmap) {
      const Integer w = bitmap->Width(), h = bitmap->Height();
      canvas->BrushCopy(vcl::TRect{rect.Left, rect.Top, rect.Left + w, rect.Top + h}, bitmap, vcl::TRect{0, 0, w, h},
                        vcl::clLime);
    }
    x += 20;
  }
  vcl::TFont* font = canvas->Font();
  const vcl::TColor textColour = font->Color();
  const vcl::TFontStyles plain = font->Style();
  vcl::TFontStyles bold = plain;
  bold.Include(vcl::fsBold);
  const AnsiString kindWord = CompletionKindWord(entry);
  if (!kindWord.empty()) {
    font->SetColor(selected ? textColour : settings.KindColor(kind));
    canvas->TextOut(x, rect.Top, kindWord);
    x += kindColumnWidth;
  }
  const AnsiString rest = CompletionRest(entry);
  const size_t open = rest.find('(');
  const AnsiString name = rest.substr(0, open);
  font->SetColor(textColour);
  font->SetStyle(bold);
  canvas->TextOut(x, rect.Top, name);
  x += canvas->TextWidth(name);
  font->SetStyle(plain);
  if (open != AnsiString::npos) canvas->TextOut(x, rect.Top, rest.substr(open));
}

}  // namespace memo
