// Searching the text, putting a line at the top, the mouse wheel, and soft
// word wrap.
#include <algorithm>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/MemoScope.h"
#include "memo/text/MemoChars.h"
#include "rtl/Strings.h"
#include "rtl/UpdateScope.h"

namespace memo {

namespace {

// Letters A to Z lowered; every other byte kept (offsets stay byte for byte).
AnsiString LowerAscii(std::string_view s) {
  AnsiString out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace

// ------------------------------------------------------------------- find

Integer TLumCustomMemo::FindText(const AnsiString& text, vcl::TFindOptions options) {
  if (text.empty()) return -1;
  const bool down = options.Contains(vcl::frDown);
  const bool matchCase = options.Contains(vcl::frMatchCase);
  const bool wholeWord = options.Contains(vcl::frWholeWord);
  const AnsiString needle = matchCase ? text : LowerAscii(text);
  Integer sx, sy, ex, ey;
  OrderedSelection(sx, sy, ex, ey);

  for (Integer line = caretY_; line >= 0 && line < LineCount(); line += down ? 1 : -1) {
    const AnsiString& raw = LineText(line);
    AnsiString full = IsContinuation(line + 1) ? raw : TrimRightBlanks(raw);
    TCharLine chars(full);
    // The part of the line the search has already passed is cut off.
    size_t from = 0, to = full.size();
    if (sy == line && ey == line) {
      if (down) {
        if (ex >= chars.Length()) continue;
        from = static_cast<size_t>(chars.Slice(0, ex).size());
      } else {
        to = static_cast<size_t>(chars.Slice(0, sx).size());
      }
    }
    const AnsiString hay = matchCase ? full : LowerAscii(full);
    if (to < from + needle.size()) continue;
    auto whole = [&](size_t at) {
      bool left = at == 0 || full[at - 1] == ' ';
      bool right = at + needle.size() >= full.size() || full[at + needle.size()] == ' ';
      return left && right;
    };
    // Every occurrence in the search's direction, until a whole word when
    // whole words are asked for.
    size_t hit = AnsiString::npos;
    if (down) {
      for (size_t at = hay.find(needle, from); at != AnsiString::npos && at + needle.size() <= to;
           at = hay.find(needle, at + 1))
        if (!wholeWord || whole(at)) {
          hit = at;
          break;
        }
    } else {
      for (size_t at = hay.rfind(needle, to - needle.size()); at != AnsiString::npos && at >= from;) {
        if (!wholeWord || whole(at)) {
          hit = at;
          break;
        }
        if (at == 0) break;
        at = hay.rfind(needle, at - 1);
      }
    }
    if (hit == AnsiString::npos) continue;
    Integer column = CharLength(std::string_view(full).substr(0, hit));
    PlaceCaret(column, line);
    SetSelection({column, line}, {column + CharLength(text), line});
    Invalidate();
    return PosToOffset(column, line);
  }
  SetSelection({0, 0}, {0, 0});
  Invalidate();
  return -1;
}

// --------------------------------------------------------------- top line

void TLumCustomMemo::SetTopLine(Integer line) {
  if (line == topLine_) return;
  const Integer rows = GetVisibleExtent(1);
  const Integer count = LineCount();
  // Every line is in view already; the caret stays where it is.
  if (count < rows) return;
  const Integer oldTop = topLine_;
  if (line >= 0) {
    Integer newTop;
    if (line + rows < count) {
      newTop = line;
    } else if (codeFolding_->Enabled()) {
      newTop = VisibleToReal(std::max(RealToVisible(count - 1) - rows + 1, 0));
    } else {
      newTop = std::max(count - rows / 2, 0);
    }
    InvalidateTokenStates(std::min(oldTop, newTop), std::max(oldTop, newTop));
    topLine_ = newTop;
    {
      TFlagScope syncing(syncingBars_, true);
      vScroll_->SetPosition(RealToVisible(newTop));
    }
    Invalidate();
  }
  if (caretShown_) ShowCaretAt(true);
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// ------------------------------------------------------------------ wheel

bool TLumCustomMemo::DoMouseWheelDown(TShiftState shift, vcl::TPoint mousePos) {
  TCustomControl::DoMouseWheelDown(shift, mousePos);
  Integer rows = GetVisibleExtent(1);
  Integer textRows = LineCount() > 0 ? RealToVisible(LineCount() - 1) + 1 : 0;
  Integer topRow = RealToVisible(topLine_);
  if (topRow + rows < textRows) SetTopLine(VisibleToReal(topRow + 4));
  ShowCaretAt(true);
  return true;
}

bool TLumCustomMemo::DoMouseWheelUp(TShiftState shift, vcl::TPoint mousePos) {
  TCustomControl::DoMouseWheelUp(shift, mousePos);
  Integer rows = GetVisibleExtent(1);
  Integer textRows = LineCount() > 0 ? RealToVisible(LineCount() - 1) + 1 : 0;
  Integer topRow = RealToVisible(topLine_);
  if (topRow > 4)
    SetTopLine(VisibleToReal(topRow - 4));
  else if (textRows > rows)
    SetTopLine(0);
  ShowCaretAt(true);
  return true;
}

// -------------------------------------------------------------- word wrap

void TLumCustomMemo::SetWordWrap(TWordWrapStyle style) {
  // The same style again would wrap wrapped lines and lose their marks.
  if (style == wordWrap_) return;
  if (wordWrap_ != wwNone) UnwrapText();
  wordWrap_ = style;
  if (style != wwNone) WrapText();
  UpdateScrollBars(false);
  Invalidate();
}

void TLumCustomMemo::WrapText() {
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0 || Loading() || wordWrap_ == wwNone) return;
  const Integer width = wordWrap_ == wwClientWidth ? GetVisibleExtent(0) - 1 : rightMargin_;
  if (width <= 0) return;
  wrapIndexList_->Clear();
  // The lines and their parts are laid down in order: a line's first parts
  // have no record, its last part keeps the line's record, and every part
  // after the first is a continuation.
  rtl::TStringList work;
  for (Integer i = 0; i < store->Count(); ++i) {
    AnsiString line = store->Line(i);
    while (true) {
      TCharLine chars(line);
      if (chars.Length() <= width) break;
      // Words (up to and including a blank) join the part while it stays
      // shorter than the width.
      Integer part = 0;
      while (true) {
        Integer blank = -1;
        for (Integer k = part; k < chars.Length(); ++k)
          if (chars.Byte(k) == ' ') {
            blank = k;
            break;
          }
        if (blank < 0) break;
        Integer word = blank - part + 1;
        if (part + word >= width) break;
        part += word;
      }
      if (part == 0) part = width;  // one long word: cut at the width
      work.AddObject(AnsiString(chars.Slice(0, part)), nullptr);
      wrapIndexList_->Add(work.Count());
      line = AnsiString(chars.Slice(part, chars.Length() - part));
    }
    work.AddObject(line, store->GetLineProp(i));
  }

  {
    rtl::TUpdateScope<rtl::TStrings> update(*store);
    store->ReplaceLines(work);
    for (Integer i = 0; i < store->Count(); ++i)
      if (TLineProp* p = store->GetLineProp(i)) p->Continuation = false;
    for (Integer k = 0; k < wrapIndexList_->Count(); ++k)
      store->CreateLineProp(wrapIndexList_->Items(k))->Continuation = true;
  }
  if (store->UpdateDepth() == 0) Invalidate();
}

void TLumCustomMemo::UnwrapText() {
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0 || Loading() || wordWrap_ == wwNone) return;
  rtl::TStringList work;
  for (Integer i = 0; i < store->Count(); ++i) {
    TLineProp* p = store->GetLineProp(i);
    if (p && p->Continuation && work.Count() > 0) {
      p->Continuation = false;
      Integer last = work.Count() - 1;
      work.Put(last, work.Get(last) + store->Line(i));
      // The split put the line's record on its last part: it goes back to
      // the whole line.
      if (!work.GetObject(last)) work.PutObject(last, p);
      continue;
    }
    if (p) p->Continuation = false;
    work.AddObject(store->Line(i), p);
  }
  wrapIndexList_->Clear();
  store->ReplaceLines(work);
}

void TLumCustomMemo::Rewrap() {
  if (wordWrap_ == wwNone) return;
  TLumMemoStrings* store = TextStore();
  {
    rtl::TUpdateScope<rtl::TStrings> update(*store);
    bool barShown = vScroll_->Visible();
    UnwrapText();
    vScroll_->SetVisible(barShown);
    WrapText();
  }
  UpdateScrollBars(false);
}

void TLumCustomMemo::StoreUnwrap() { UnwrapText(); }
void TLumCustomMemo::StoreWrap() { WrapText(); }

}  // namespace memo
