// Caret, selection and text positions of the code editor.
#include <algorithm>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoStyler.h"
#include "memo/text/MemoTokenizer.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoUndo.h"
#include "memo/MemoScope.h"
#include "memo/text/MemoChars.h"
#include "rtl/Strings.h"

namespace memo {

// ------------------------------------------------------------------ caret

void TLumCustomMemo::AfterCaretMove() {
  MakeCaretVisible();
  UpdateScrollBars(false);
  DoStatusChange();
  if (caretShown_) ShowCaretAt(true);
  if (autoHintParameters_ == hpAuto && noCtrl_) RefreshParameterHint();
  DoCursorChange();
}

void TLumCustomMemo::FillLineTo(Integer line, Integer column) {
  TLumMemoStrings* store = TextStore();
  Integer len = store->LineLength(line);
  if (column > len) store->Put(line, store->Line(line) + AnsiString(static_cast<size_t>(column - len), ' '));
}

void TLumCustomMemo::SetCaretX(Integer x) {
  if (x == caretX_) return;
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0 && !autoExpand_) return;
  if (x < 0) {
    if (caretY_ <= 0) {
      x = 0;
    } else {
      SetCaretLine(VisibleToReal(RealToVisible(caretY_) - 1));
      x = LineLen(caretY_);
    }
  }
  caretX_ = x;
  {
    TFlagScope quiet(notifications_, false);
    if (store->Count() == 0) {
      // The caret needs a line: one of x blanks, or an empty one.
      store->Add(autoExpand_ ? AnsiString(static_cast<size_t>(std::max(x, 0)), ' ') : AnsiString());
      if (!autoExpand_) x = 0;
      caretY_ = 0;
    }
    if (caretY_ < store->Count()) {
      if (x > longestLine_) {
        leftCol_ = std::max(0, x - GetVisibleExtent(0));
        longestLine_ = x;
      } else {
        RecalcLongestLine();
      }
      if (x > store->LineLength(caretY_)) {
        if (autoExpand_)
          FillLineTo(caretY_, x);
        else
          x = store->LineLength(caretY_);
        Invalidate();
      }
    }
  }
  caretX_ = x;
  AfterCaretMove();
  if (OnColumnChange) OnColumnChange(caretX_);
}

void TLumCustomMemo::StoreTrimmedLine(Integer line) {
  TLumMemoStrings* store = TextStore();
  if (line < 0 || line >= store->Count()) return;
  AnsiString trimmed = GetLineTrimmed(line);
  if (trimmed != store->Line(line)) store->Put(line, trimmed);
}

void TLumCustomMemo::SetCaretLine(Integer y) {
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0) store->Add("");
  y = std::clamp(y, 0, store->Count() - 1);
  if (activeLineSettings_->ActiveLineAtCursor() && y != activeLine_) {
    Integer old = caretY_;
    SetActiveLine(y);
    if (OnActiveLineChange) OnActiveLineChange(old);
  }
  if (y == caretY_) return;
  Integer old = caretY_;
  caretY_ = y;
  {
    TFlagScope quiet(notifications_, false);
    if (trimTrailingSpaces_ || wordWrap_ != wwNone) StoreTrimmedLine(old);
    HideParameterHint();
  }
  SetCaretX(caretX_);
  AfterCaretMove();
  if (regionRebuildPending_) {
    regionRebuildPending_ = false;
    RebuildRegions();
  }
}

void TLumCustomMemo::SetCaret(Integer x, Integer y) {
  ClearSelection();
  caretX_ = 0;
  SetCaretLine(y);
  SetCaretX(x);
  // The selection follows the caret to its new place, so what is typed or
  // inserted next goes where the caret shows.
  ClearSelection();
}

void TLumCustomMemo::PlaceCaret(Integer x, Integer y) {
  SetCaretLine(y);
  caretX_ = std::max(x, 0);
  AfterCaretMove();
  if (OnColumnChange) OnColumnChange(caretX_);
}

// -------------------------------------------------------------- selection

void TLumCustomMemo::ClearSelection() {
  bool had = HasSelection();
  selStartX_ = selEndX_ = lastCaretX_ = caretX_;
  selStartY_ = selEndY_ = lastCaretY_ = caretY_;
  if (had) {
    DoSelectionChange();
    Invalidate();
  }
}

void TLumCustomMemo::ExtendSelection() {
  Invalidate();
  selEndX_ = lastCaretX_ = caretX_;
  selEndY_ = lastCaretY_ = caretY_;
  DoSelectionChange();
}

void TLumCustomMemo::SetSelection(TMemoPos start, TMemoPos end) {
  selStartX_ = start.X;
  selStartY_ = start.Y;
  selEndX_ = end.X;
  selEndY_ = end.Y;
  Invalidate();
}

void TLumCustomMemo::OrderedSelection(Integer& sx, Integer& sy, Integer& ex, Integer& ey) const {
  sx = selStartX_;
  sy = selStartY_;
  ex = selEndX_;
  ey = selEndY_;
  if (ey < sy || (ey == sy && ex < sx)) {
    std::swap(sx, ex);
    std::swap(sy, ey);
  }
}

Integer TLumCustomMemo::PosToOffset(Integer column, Integer line) const {
  TLumMemoStrings* store = TextStore();
  const auto& lengths = store->LineLengths().List();
  Integer n = std::min(line, store->Count());
  Integer offset = 0;
  bool cont = ContinuationsPossible();
  for (Integer i = 0; i < n; ++i) {
    offset += static_cast<Integer>(rtl::ObjectToInt(lengths[static_cast<size_t>(i)]));
    if (!(cont && IsContinuation(i + 1))) offset += 2;
  }
  if (line >= 0 && line < store->Count()) offset += std::clamp(column, 0, store->LineLength(line));
  return offset;
}

TMemoPos TLumCustomMemo::OffsetToPos(Integer offset) const {
  TLumMemoStrings* store = TextStore();
  if (offset < 0 || store->Count() == 0) return {0, 0};
  const auto& lengths = store->LineLengths().List();
  bool cont = ContinuationsPossible();
  Integer total = 0;
  for (Integer i = 0; i < store->Count(); ++i) {
    Integer step = static_cast<Integer>(rtl::ObjectToInt(lengths[static_cast<size_t>(i)]));
    if (!(cont && IsContinuation(i + 1))) step += 2;
    if (total + step > offset) return {offset - total, i};
    total += step;
  }
  // Past the end: the end of the last line.
  return {store->LineLength(store->Count() - 1), store->Count() - 1};
}

Integer TLumCustomMemo::GetSelStart() const {
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0) return 0;
  Integer sx, sy, ex, ey;
  OrderedSelection(sx, sy, ex, ey);
  Integer offset = PosToOffset(0, sy);
  return offset + std::max(sx, 0);
}

void TLumCustomMemo::SetSelStart(Integer offset) {
  Integer length = GetSelLength();
  TMemoPos a = OffsetToPos(offset);
  TMemoPos b = OffsetToPos(offset + length);
  selStartX_ = a.X;
  selStartY_ = a.Y;
  selEndX_ = b.X;
  selEndY_ = b.Y;
  Invalidate();
}

void TLumCustomMemo::SetSelLength(Integer length) {
  TMemoPos b = OffsetToPos(GetSelStart() + length);
  selEndX_ = b.X;
  selEndY_ = b.Y;
  Invalidate();
}

namespace {

// Characters of line text taken by CharCopy(text, from, to - from).
Integer SpanLength(Integer lineLength, Integer from, Integer to) {
  from = std::max(from, 0);
  to = std::min(to, lineLength);
  return std::max(to - from, 0);
}

}  // namespace

AnsiString TLumCustomMemo::GetSelText() const {
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0 || !HasSelection()) return {};
  Integer sx, sy, ex, ey;
  OrderedSelection(sx, sy, ex, ey);
  if (sy < 0) {
    sy = 0;
    sx = 0;
  }
  if (sy >= store->Count()) return {};
  const AnsiString& first = store->Line(sy);
  if (sy == ey) return CharCopy(first, sx, ex - sx);
  AnsiString out;
  out += CharTail(first, std::max(sx, 0));
  for (Integer i = sy + 1; i < ey && i < store->Count(); ++i) {
    if (!IsContinuation(i)) out += "\r\n";
    out += store->Line(i);
  }
  if (ey < store->Count()) {
    if (!IsContinuation(ey)) out += "\r\n";
    out += CharHead(store->Line(ey), ex);
  }
  return out;
}

Integer TLumCustomMemo::GetSelLength() const {
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0 || !HasSelection()) return 0;
  Integer sx, sy, ex, ey;
  OrderedSelection(sx, sy, ex, ey);
  if (sy < 0) {
    sy = 0;
    sx = 0;
  }
  if (sy >= store->Count()) return 0;
  Integer len0 = store->LineLength(sy);
  if (sy == ey) return sx < len0 ? SpanLength(len0, sx, ex) : 0;
  Integer n = SpanLength(len0, sx, len0);
  for (Integer i = sy + 1; i < ey && i < store->Count(); ++i) n += store->LineLength(i) + (IsContinuation(i) ? 0 : 2);
  if (ey < store->Count()) n += (IsContinuation(ey) ? 0 : 2) + SpanLength(store->LineLength(ey), 0, ex);
  return n;
}

void TLumCustomMemo::SelectAll() {
  selStartX_ = selStartY_ = 0;
  TLumMemoStrings* store = TextStore();
  if (store->Count() > 0) {
    selEndY_ = store->Count() - 1;
    selEndX_ = store->LineLength(selEndY_);
  }
  Invalidate();
  DoSelectionChange();
}

void TLumCustomMemo::ClearAll() {
  caretX_ = caretY_ = 0;
  leftCol_ = topLine_ = 0;
  {
    TFlagScope quiet(notifications_, false);
    TextStore()->Clear();
    Invalidate();
    caretX_ = caretY_ = 0;
    selStartX_ = selStartY_ = selEndX_ = selEndY_ = 0;
  }
  LinesChanged();
  InvalidateTokenStates(0, LineCount() - 1);
  TextStore()->Clear();
}

// ---------------------------------------------------------- words

Integer TLumCustomMemo::LastPos(const AnsiString& needle, const AnsiString& text) {
  Integer n = CharLength(needle), t = CharLength(text);
  if (t < n) return 0;
  if (text == needle) return 1;
  if (needle.empty()) return 0;
  Integer result = 0;
  std::string_view rest(text);
  for (;;) {
    size_t p = rest.find(needle);
    if (p == std::string_view::npos) break;
    result += CharOfByte(rest, p) + 1;
    rest = rest.substr(p + CharSizeAt(rest, p));
  }
  return result;
}

bool TLumCustomMemo::IsDelimiter(char ch) const {
  if (ch == ' ' || ch == '"' || ch == '\'') return true;
  return syntaxStyles_ && useStyler_ && syntaxStyles_->AllStyles()->IsDelimiterChar(ch);
}

bool TLumCustomMemo::IsWordDelimiter(char ch) const {
  switch (ch) {
    case ' ': case '"': case '\'': case '(': case ')': case ',': case '.':
    case ':': case ';': case '=': case '[': case ']':
      return true;
    default:
      return false;
  }
}

bool TLumCustomMemo::IsTokenDelimiter(char ch) const {
  return ch == ' ' || ch == '"' || ch == '\'' || ch == '(' || ch == ')';
}

bool TLumCustomMemo::IsSymbolChar(char ch) const {
  if (!ActiveStyler()) return ch == ' ';
  return Tokenizer().SymbolChars().find(ch) != AnsiString::npos;
}

AnsiString TLumCustomMemo::WordAtWith(Integer column, Integer line, bool (TLumCustomMemo::*delim)(char) const) const {
  if (line < 0 || line >= LineCount() || column < 0) return {};
  TCharLine s(LineText(line));
  Integer n = s.Length();
  if (n < column) return {};
  // 1-based positions: the end grows right from column + 1, the start left
  // from column, so the word touching the caret on either side is taken.
  Integer e = column;
  while (e + 1 <= n && !(this->*delim)(s.Byte(e))) ++e;
  Integer b = column + 1;
  while (b - 1 >= 1 && !(this->*delim)(s.Byte(b - 2))) --b;
  return AnsiString(s.Slice(b - 1, e - (b - 1)));
}

AnsiString TLumCustomMemo::WordAt(Integer column, Integer line) const {
  return WordAtWith(column, line, &TLumCustomMemo::IsDelimiterFn);
}

AnsiString TLumCustomMemo::WordAtEx(Integer column, Integer line) const {
  return WordAtWith(column, line, &TLumCustomMemo::IsWordDelimiterFn);
}

void TLumCustomMemo::CaretToTextForWord() {
  if (caretY_ >= LineCount() && LineCount() > 0) SetCaretLine(LineCount() - 1);
}

AnsiString TLumCustomMemo::WordAtCaret(Integer& startColumn) {
  CaretToTextForWord();
  startColumn = 0;
  if (caretY_ >= LineCount()) return {};
  TCharLine s(LineText(caretY_));
  if (s.Length() < caretX_) return {};
  Integer b = caretX_ + 1;
  while (b - 1 >= 1 && !IsDelimiter(s.Byte(b - 2))) --b;
  startColumn = b;
  return WordAt(caretX_, caretY_);
}

AnsiString TLumCustomMemo::TokenAtCaret() {
  CaretToTextForWord();
  return WordAtWith(caretX_, caretY_, &TLumCustomMemo::IsTokenDelimiterFn);
}

AnsiString TLumCustomMemo::WordBeforeCaret() {
  CaretToTextForWord();
  if (caretY_ >= LineCount()) return {};
  TCharLine s(LineText(caretY_));
  if (caretX_ > s.Length()) return {};
  Integer b = caretX_;
  while (b > 0 && !IsWordDelimiter(s.Byte(b - 1))) --b;
  return AnsiString(s.Slice(b, caretX_ - b));
}

AnsiString TLumCustomMemo::GetLineTrimmed(Integer line) const {
  if (line < 0 || line >= LineCount()) return {};
  if (IsContinuation(line + 1)) return LineText(line);
  return TrimRightControls(LineText(line));
}

AnsiString TLumCustomMemo::TrimBlanks(const AnsiString& text) { return TrimRightBlanks(text); }

// ---------------------------------------------------------- caret moves

void TLumCustomMemo::MoveCaret(Integer dx, Integer dy, TShiftState shift) {
  bool extend = shift.Contains(vcl::ssShift) && caretX_ == lastCaretX_ && caretY_ == lastCaretY_;
  if (shift.Contains(vcl::ssCtrl) && dx > 0) {
    AnsiString text = GetLineTrimmed(caretY_);
    TCharLine line(text);
    Integer n = line.Length();
    Integer x = caretX_ + 1;
    while (x < n && (!IsSymbolChar(line.Byte(x - 1)) || line.Byte(x) == ' ')) ++x;
    if (x > n && caretY_ < LineCount() - 1) {
      SetCaretLine(VisibleToReal(RealToVisible(caretY_) + 1));
      SetCaretX(0);
    } else {
      SetCaretX(x);
    }
  } else if (shift.Contains(vcl::ssCtrl) && dx < 0) {
    SetCaretX(caretX_ - 1);
    AnsiString text = GetLineTrimmed(caretY_);
    TCharLine line(text);
    Integer n = line.Length();
    Integer x = caretX_;
    while (x > 0 && x <= n && !(IsSymbolChar(line.Byte(x - 1)) && line.Byte(x) != ' ')) --x;
    SetCaretX(x);
  } else {
    if (dy != 0) SetCaretLine(VisibleToReal(RealToVisible(caretY_) + dy));
    if (shift.Contains(vcl::ssShift))
      SetCaretX(std::min(caretX_ + dx, LineLen(caretY_)));
    else
      SetCaretX(caretX_ + dx);
  }
  if (extend)
    ExtendSelection();
  else
    ClearSelection();
}

void TLumCustomMemo::ToggleOverwrite() {
  bool allow = true;
  if (OnOverwriteToggle) OnOverwriteToggle(this, allow);
  if (!allow) return;
  TEditScope scope(*this);
  AddRecord(new TInsertOverwriteUndo(overwrite_));
  overwrite_ = !overwrite_;
}

}  // namespace memo
