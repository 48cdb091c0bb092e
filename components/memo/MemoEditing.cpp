// The code editor's editing operations and the clipboard.
#include <algorithm>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoUndo.h"
#include "memo/MemoScope.h"
#include "memo/text/MemoChars.h"
#include "vcl/Clipbrd.h"

namespace memo {

namespace {

const char kCR[] = "\r";
bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// The line with its soft-wrapped continuations joined, as the smart tab
// and unindent scans read the lines above the caret.
AnsiString JoinedLine(TLumMemoStrings* store, Integer line) {
  AnsiString s = store->Line(line);
  for (Integer i = line + 1; i < store->Count(); ++i) {
    TLineProp* p = store->GetLineProp(i);
    if (!(p && p->Continuation)) break;
    s += store->Line(i);
  }
  return s;
}

// Text pieces at every CR LF; a text that ends in CR LF gives an empty last
// piece.
std::vector<AnsiString> SplitAtCrLf(const AnsiString& text) {
  std::vector<AnsiString> pieces;
  size_t start = 0;
  for (;;) {
    size_t p = text.find("\r\n", start);
    if (p == AnsiString::npos) {
      pieces.emplace_back(text, start);
      return pieces;
    }
    pieces.emplace_back(text, start, p - start);
    start = p + 2;
  }
}

}  // namespace

void TLumCustomMemo::AddRecord(TUndo* record) { UndoList()->Add(record); }

void TLumCustomMemo::DeleteLineRaw(Integer index) {
  TLumMemoStrings* store = TextStore();
  bool wasDeleting = store->Deleting();
  store->SetDeleting(true);
  try {
    store->Delete(index);
  } catch (...) {
    store->SetDeleting(wasDeleting);
    throw;
  }
  store->SetDeleting(wasDeleting);
}

void TLumCustomMemo::ClearUnderlines(Integer line) {
  if (TLineProp* p = TextStore()->GetLineProp(line)) {
    p->UnderlineStarts.Clear();
    p->UnderlineLengths.Clear();
  }
}

// ---------------------------------------------------------------- typing

void TLumCustomMemo::InsertChar(std::string_view ch) {
  if (!CanEdit() || ch.empty()) return;
  TEditScope scope(*this);
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0 || caretY_ >= store->Count()) SetCaretLine(caretY_);
  Integer beforeX = caretX_, beforeY = caretY_;
  bool isTab = ch == "\t";
  bool isChar = true;
  AnsiString t;
  Integer len = store->LineLength(caretY_);
  Integer at = caretX_;  // where t goes in
  Integer newX;          // the caret afterwards (without word wrap)
  if (!(isTab && overwrite_) && len < caretX_) FillLineTo(caretY_, caretX_);
  if (!isTab) {
    t = AnsiString(ch);
    newX = caretX_ + 1;
  } else if (overwrite_) {
    // TAB in overwrite mode moves over the line, extending it with blanks
    // only past its end.
    isChar = false;
    if (caretX_ + tabSize_ <= len) {
      newX = caretX_ + tabSize_;
    } else {
      t = AnsiString(static_cast<size_t>(std::max(caretX_ + tabSize_ - len, 0)), ' ');
      at = len;
      newX = len + CharLength(t);
    }
  } else {
    t = AnsiString(static_cast<size_t>(std::max(tabSize_, 0)), ' ');
    newX = caretX_ + CharLength(t);
  }
  AnsiString line = store->Line(caretY_);
  bool overwrote = false;
  AnsiString replaced;
  {
    TFlagScope quiet(notifications_, false);
    if (overwrite_ && isChar && at < store->LineLength(caretY_)) {
      replaced = AnsiString(CharAt(line, at));
      CharDelete(line, at, 1);
      CharInsert(line, at, t);
      overwrote = true;
    } else {
      CharInsert(line, at, t);
    }
    store->Put(caretY_, line);
  }
  Integer lines = LineCount();
  Integer offset = PosToOffset(newX, caretY_);
  Rewrap();
  if (wordWrap_ != wwNone) {
    TMemoPos p = OffsetToPos(offset);
    PlaceCaret(p.X, p.Y);
    if (wordWrap_ == wwClientWidth || rightMargin_ < GetVisibleExtent(0)) leftCol_ = 0;
  } else {
    SetCaretX(newX);
  }
  ClearSelection();
  if (overwrote)
    AddRecord(new TOverwriteCharUndo(beforeX, beforeY, beforeX, beforeY, replaced));
  else
    AddRecord(new TInsertCharUndo(beforeX, beforeY, caretX_, caretY_, t));
  if (wordWrap_ != wwNone && lines != LineCount()) UpdateScrollBars(false);
}

void TLumCustomMemo::InsertText(const AnsiString& text) {
  TEditScope scope(*this);
  Integer sx, sy, ex, ey;
  OrderedSelection(sx, sy, ex, ey);
  bool deleted = DeleteSelection(false);
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0) store->Add("");
  sy = std::clamp(sy, 0, store->Count() - 1);
  sx = std::max(sx, 0);
  AnsiString line = store->Line(sy);
  if (text.find("\r\n") == AnsiString::npos) {
    store->Put(sy, CharHead(line, sx) + text + CharTail(line, sx));
    PlaceCaret(sx + CharLength(text), sy);
    auto* record = new TPasteUndo(sx, sy, caretX_, caretY_, text);
    record->Linked = deleted;
    AddRecord(record);
    if (wordWrap_ != wwNone) {
      Integer offset = PosToOffset(caretX_, caretY_);
      Rewrap();
      leftCol_ = 0;
      TMemoPos p = OffsetToPos(offset);
      selStartX_ = selEndX_ = p.X;
      selStartY_ = selEndY_ = p.Y;
      PlaceCaret(p.X, p.Y);
      return;
    }
    ClearSelection();
    Invalidate();
    return;
  }
  std::vector<AnsiString> pieces = SplitAtCrLf(text);
  Integer newColumn = 0;
  {
    TFlagScope quiet(notifications_, false);
    store->Put(sy, CharHead(line, sx) + pieces[0]);
    store->InsertLine(sy + 1, CharTail(line, sx));
    for (size_t i = 1; i < pieces.size(); ++i) {
      Integer at = sy + static_cast<Integer>(i);
      if (at >= store->Count()) break;
      if (i + 1 < pieces.size()) {
        store->InsertLine(at, pieces[i]);
      } else {
        store->Put(at, pieces[i] + store->Line(at));
        newColumn = CharLength(pieces[i]);
      }
    }
    Rewrap();
  }
  PlaceCaret(newColumn, sy + static_cast<Integer>(pieces.size()) - 1);
  MakeCaretVisible();
  LinesChanged();
  auto* record = new TPasteUndo(sx, sy, caretX_, caretY_, text);
  record->Linked = deleted;
  AddRecord(record);
  ClearSelection();
  Invalidate();
}

// -------------------------------------------------------------- deleting

bool TLumCustomMemo::DeleteSelection(bool repaint) {
  if (!CanEdit() || readOnly_ || !HasSelection()) return false;
  TEditScope scope(*this);
  TLumMemoStrings* store = TextStore();
  if (std::max(selStartY_, selEndY_) >= store->Count() || std::min(selStartY_, selEndY_) < 0 ||
      store->Count() == 0) {
    selStartX_ = selStartY_ = selEndX_ = selEndY_ = 0;
    return false;
  }
  Integer beforeX = caretX_, beforeY = caretY_;
  Integer sx, sy, ex, ey;
  OrderedSelection(sx, sy, ex, ey);
  sx = std::max(sx, 0);
  ex = std::max(ex, 0);
  AnsiString d, p;
  const AnsiString first = store->Line(sy);
  const AnsiString last = store->Line(ey);
  if (sy == ey) {
    d = CharCopy(first, sx, ex - sx);
  } else {
    d = CharTail(first, sx);
    p = CharHead(last, ex);
  }
  bool lastIsContinuation = IsContinuation(ey);
  {
    TFlagScope quiet(notifications_, false);
    AnsiString joined = CharHead(first, sx) + CharTail(last, ex);
    if (trimTrailingSpaces_) joined = TrimRightBlanks(joined);
    store->Put(sy, joined);
    SetCaretLine(sy);
    SetCaretX(sx);
    ClearSelection();
    // The lines taken out are held by this step's own record; they leave
    // through the store's raw path (no delete-line records of their own),
    // their bookmarks and markers going up with the text below.
    auto removeLine = [&](Integer at) {
      DeleteLineRaw(at);
      ShiftBookmarksUp(at);
      markerList_->Markers()->RemoveMarkerAt(at);
      markerList_->Markers()->ShiftUp(at + 1);
    };
    if (ey > sy) removeLine(ey);
    for (Integer k = 0; k < ey - sy - 1; ++k) {
      Integer at = sy + 1;
      ClearUnderlines(at);
      if (!IsContinuation(at)) d += "\r\n";
      d += store->Line(at);
      removeLine(at);
    }
    if (ey > sy && !p.empty()) {
      if (!lastIsContinuation) d += "\r\n";
      d += p;
    }
    DoSelectionChange();
    if (repaint) Invalidate();
    Rewrap();
  }
  if (ey > sy && ex == 0) d += "\r\n";
  auto* record = new TDeleteBufUndo(beforeX, beforeY, sx, sy, d);
  record->SelStartX = sx;
  record->SelStartY = sy;
  record->SelEndX = ex;
  record->SelEndY = ey;
  AddRecord(record);
  LinesChanged();
  ClearSelection();
  ClearUnderlines(caretY_);
  return true;
}

void TLumCustomMemo::DeleteChar(Integer x, Integer y) {
  if (!CanEdit()) return;
  TEditScope scope(*this);
  bool backspace = x >= 0;
  if (x < 0) {
    x = caretX_;
    y = caretY_;
  }
  ClearSelection();
  TLumMemoStrings* store = TextStore();
  {
    TFlagScope quiet(notifications_, false);
    if (caretY_ < store->Count()) {
      AnsiString line = store->Line(caretY_);
      if (caretX_ < store->LineLength(caretY_)) {
        AnsiString removed(CharAt(line, caretX_));
        CharDelete(line, caretX_, 1);
        store->Put(caretY_, line);
        AddRecord(new TDeleteCharUndo(x, y, caretX_, caretY_, removed, backspace));
      } else if (caretY_ < store->Count() - 1) {
        Integer next = caretY_ + 1;
        if (wordWrap_ != wwNone && IsContinuation(next)) {
          AnsiString nextLine = store->Line(next);
          AnsiString removed(CharAt(nextLine, 0));
          CharDelete(nextLine, 0, 1);
          store->Put(next, nextLine);
          AddRecord(new TDeleteCharUndo(x, y, caretX_, next, removed, backspace));
        } else {
          store->Put(caretY_, line + store->Line(next));
          DeleteLineRaw(next);
          // The joined line's bookmarks and markers go with its text.
          ShiftBookmarksUp(next);
          markerList_->Markers()->ShiftUp(next);
          AddRecord(new TDeleteCharUndo(x, y, caretX_, caretY_, kCR, backspace));
          RebuildRegions();
        }
      }
    }
    Rewrap();
    selStartX_ = selEndX_ = caretX_;
    selStartY_ = selEndY_ = caretY_;
  }
  LinesChanged();
}

void TLumCustomMemo::Backspace() {
  TEditScope scope(*this);
  TLumMemoStrings* store = TextStore();
  if (smartTabs_ && store->Count() > 0 && caretY_ < store->Count() && caretX_ > 0) {
    Integer c = caretX_;
    TCharLine here(store->Line(caretY_));
    bool blanksOnly = true;
    for (Integer i = 0; i < std::min(c, here.Length()); ++i)
      if (here.Byte(i) != ' ' && here.Byte(i) != '\0') blanksOnly = false;
    if (blanksOnly) {
      Integer d = c - 1;
      bool found = false;
      for (Integer l = caretY_ - 1; l >= 0 && !found; --l) {
        AnsiString text = JoinedLine(store, l);
        TCharLine s(text);
        if (s.Length() > c - 1) {
          Integer p = c - 1;  // 1-based position
          while (p >= 1 && IsBlankOrTab(s.Byte(p - 1))) --p;
          if (p >= 1) {
            while (p >= 1 && !IsBlankOrTab(s.Byte(p - 1))) --p;
            d = p;
            found = true;
          } else {
            d = 0;
          }
        } else {
          d = s.Length() + 1;
        }
      }
      {
        TFlagScope quiet(notifications_, false);
        AnsiString line = store->Line(caretY_);
        AnsiString removed = CharCopy(line, d, c - d);
        store->Put(caretY_, CharHead(line, d) + CharTail(line, c));
        Integer beforeX = caretX_;
        caretX_ = d;
        auto* record = new TDeleteBufUndo(beforeX, caretY_, d, caretY_, removed);
        record->SelStartX = d;
        record->SelStartY = caretY_;
        record->SelEndX = c;
        record->SelEndY = caretY_;
        AddRecord(record);
        selStartX_ = selEndX_ = lastCaretX_ = caretX_;
        selStartY_ = selEndY_ = lastCaretY_ = caretY_;
      }
      LinesChanged();
      return;
    }
  }
  if (caretY_ < LineCount() && caretX_ > LineLen(caretY_)) {
    // Beyond the end there is nothing to delete: the caret steps left.
    PlaceCaret(caretX_ - 1, caretY_);
    ClearSelection();
    return;
  }
  if (codeFolding_->Enabled() && caretX_ == 0) ExpandRegionAt(VisibleToReal(RealToVisible(caretY_) - 1));
  Integer oldX = caretX_, oldY = caretY_;
  MoveCaret(-1, 0, {});
  if (caretX_ == oldX && caretY_ == oldY) return;
  DeleteChar(oldX, oldY);
  if (caretY_ >= LineCount() && LineCount() > 0) {
    SetCaretLine(LineCount() - 1);
    SetCaretX(LineLen(caretY_));
  }
  selStartX_ = selEndX_ = caretX_;
  selStartY_ = selEndY_ = caretY_;
}

void TLumCustomMemo::DeleteWordLeft() {
  TEditScope scope(*this);
  if (caretY_ >= LineCount()) return;
  if (caretX_ > LineLen(caretY_)) PlaceCaret(LineLen(caretY_), caretY_);
  AnsiString remembered = LineText(caretY_);
  TCharLine s(remembered);
  for (;;) {
    Integer px = caretX_, py = caretY_;
    MoveCaret(-1, 0, {});
    if (caretX_ == px && caretY_ == py) break;
    DeleteChar(px, py);
    if (caretY_ != py) break;  // joined with the line above
    if (caretX_ == 0) continue;
    if (s.Byte(caretX_ - 1) == ' ') break;
  }
}

// -------------------------------------------------------------- lines

AnsiString TLumCustomMemo::GetIndent() const {
  if (!autoIndent_ || caretY_ < 0 || caretY_ >= LineCount()) return {};
  TCharLine s(LineText(caretY_));
  Integer n = s.Length();
  Integer count = 0;
  while (count < n && s.Byte(count) == ' ') ++count;
  if (count == n) count = caretX_ >= n ? n : n - 1;
  return AnsiString(static_cast<size_t>(std::max(count, 0)), ' ');
}

void TLumCustomMemo::NewLine() {
  if (!CanEdit()) return;
  TEditScope scope(*this);
  Integer beforeX = caretX_, beforeY = caretY_;
  AnsiString indent;
  {
    TFlagScope quiet(notifications_, false);
    TLumMemoStrings* store = TextStore();
    if (store->Count() == 0) store->Add("");
    caretY_ = std::clamp(caretY_, 0, store->Count() - 1);
    beforeY = caretY_;
    if (markerList_->Markers()->HasMarkerAfter(caretY_)) markerList_->Markers()->ShiftDown(caretY_);
    indent = GetIndent();
    AnsiString line = store->Line(caretY_);
    AnsiString rest = TrimRightControls(CharTail(line, caretX_));
    if (autoIndent_) rest.erase(0, std::min(rest.find_first_not_of(' '), rest.size()));
    store->Put(caretY_, CharHead(line, caretX_));
    if (codeFolding_->Enabled()) ExpandRegionAt(caretY_);
    store->InsertLine(caretY_ + 1, indent + rest);
    MoveCaret(0, 1, {});
    SetCaretX(CharLength(indent));
    ClearSelection();
    AddRecord(new TInsertCharUndo(beforeX, beforeY, caretX_, caretY_, kCR + indent));
  }
  LinesChanged();
}

void TLumCustomMemo::TabKey(TShiftState shift) {
  if (!CanEdit()) return;
  TEditScope scope(*this);
  TLumMemoStrings* store = TextStore();
  if (smartTabs_ && store->Count() > 0) {
    Integer c = caretX_;
    Integer target = c;
    for (Integer l = std::min(caretY_, store->Count()) - 1; l >= 0; --l) {
      AnsiString text = JoinedLine(store, l);
      TCharLine line(text);
      if (line.Length() < c + 1) continue;
      text += "\r\n";
      TCharLine s(text);
      Integer p = c;  // 0-based index of character c + 1
      while (p < s.Length() && !(IsBlankOrTab(s.Byte(p)) || s.Byte(p) == '\r' || s.Byte(p) == '\n')) ++p;
      while (p < s.Length() && IsBlankOrTab(s.Byte(p))) ++p;
      target = p;
      break;
    }
    {
      TFlagScope quiet(notifications_, false);
      if (caretY_ >= store->Count()) SetCaretLine(caretY_);
      if (target > c) {
        Integer beforeX = caretX_, beforeY = caretY_;
        FillLineTo(caretY_, c);
        AnsiString line = store->Line(caretY_);
        AnsiString blanks(static_cast<size_t>(target - c), ' ');
        AnsiString rest = TrimRightControls(CharTail(line, c));
        store->Put(caretY_, CharHead(line, c) + blanks + rest);
        SetCaretX(target);
        AddRecord(new TInsertCharUndo(beforeX, beforeY, caretX_, caretY_, blanks));
        ClearSelection();
      } else {
        InsertChar('\t');
        Invalidate();
      }
    }
    LinesChanged();
    return;
  }
  if (shift.Contains(vcl::ssCtrl)) return;
  if (shift.Contains(vcl::ssShift)) {
    SetCaretX(std::max(caretX_ - tabSize_, 0));
    return;
  }
  InsertChar('\t');
  Invalidate();
}

void TLumCustomMemo::DeleteLine() {
  if (!CanEdit()) return;
  TEditScope scope(*this);
  TLumMemoStrings* store = TextStore();
  if (store->Count() == 0) return;
  caretY_ = std::clamp(caretY_, 0, store->Count() - 1);
  Integer beforeX = caretX_, beforeY = caretY_;
  ClearUnderlines(caretY_);
  AnsiString text = store->Line(caretY_);
  caretX_ = 0;
  Integer deleted = caretY_;
  markerList_->Markers()->RemoveMarkerAt(deleted);
  bool emptied = store->Count() == 1;
  if (emptied) {
    store->Put(0, "");
  } else if (caretY_ == store->Count() - 1) {
    --caretY_;
    DeleteLineRaw(deleted);
  } else {
    DeleteLineRaw(deleted);
  }
  if (!emptied) {
    // Bookmarks and markers below the deleted line stay with their text.
    ShiftBookmarksUp(deleted);
    markerList_->Markers()->ShiftUp(deleted + 1);
  }
  ClearSelection();
  Invalidate();
  AddRecord(new TDeleteLineUndo(beforeX, beforeY, 0, caretY_, text));
}

void TLumCustomMemo::MarkLineModified(Integer line, bool flag) {
  TLumMemoStrings* store = TextStore();
  if (line < 0 || line >= store->Count()) return;
  auto onChange = std::move(store->OnChange);
  store->OnChange = nullptr;
  TLineProp* prop = store->CreateLineProp(line);
  bool changed = prop->Modified != flag;
  prop->Modified = flag;
  store->OnChange = std::move(onChange);
  if (changed) Invalidate();
}

// ------------------------------------------------------------ clipboard

void TLumCustomMemo::CopyToClipboard() { vcl::Clipboard()->SetAsText(GetSelText()); }

void TLumCustomMemo::CutToClipboard() {
  if (readOnly_ || !CanEdit()) return;
  TEditScope scope(*this);
  CopyToClipboard();
  DeleteSelection(true);
}

void TLumCustomMemo::PasteFromClipboard() {
  if (readOnly_ || !CanEdit()) return;
  TEditScope scope(*this);
  Integer startLine = caretY_;
  TLumMemoStrings* store = TextStore();
  if (autoExpand_ && caretY_ < store->Count() && store->LineLength(caretY_) < caretX_) {
    TFlagScope quiet(notifications_, false);
    FillLineTo(caretY_, caretX_);
  }
  if (!vcl::Clipboard()->HasFormat(vcl::CF_TEXT)) return;
  AnsiString text = vcl::Clipboard()->AsText();
  text = text.substr(0, text.find('\0'));
  if (text.empty()) return;
  AnsiString normal;
  normal.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      normal += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      normal += "\r\n";
    } else {
      normal += c;
    }
  }
  InsertText(normal);
  for (Integer l = std::min(startLine, caretY_); l <= caretY_; ++l) MarkLineModified(l, true);
  Integer offset = PosToOffset(caretX_, caretY_);
  SetSelLength(0);
  SetSelStart(offset);
  if (wordWrap_ != wwNone) {
    Rewrap();
    TMemoPos p = OffsetToPos(offset);
    PlaceCaret(p.X, p.Y);
    leftCol_ = 0;
  } else {
    Invalidate();
  }
}

// ----------------------------------------------------------------- undo

void TLumCustomMemo::Undo() { UndoList()->Undo(); }

void TLumCustomMemo::Redo() {
  UndoList()->Redo();
  Repaint();
}

bool TLumCustomMemo::CanUndo() const { return UndoList()->Position() < UndoList()->Count(); }

bool TLumCustomMemo::CanRedo() const { return UndoList()->Position() > 0; }

void TLumCustomMemo::ClearUndo() { UndoList()->Clear(); }

void TLumCustomMemo::DoUndoChange() {
  if (OnUndoChange) OnUndoChange(this, CanUndo(), CanRedo());
}

bool TLumCustomMemo::Modified() const { return UndoList()->Count() > 0; }

void TLumCustomMemo::SetModified(bool v) {
  if (v) return;
  UndoList()->Clear();
  DoStatusChange();
  TLumMemoStrings* store = TextStore();
  for (Integer i = 0; i < store->Count(); ++i)
    if (TLineProp* p = store->GetLineProp(i)) p->Modified = false;
  DoStatusChange();
  Invalidate();
}

void TLumCustomMemo::GiveChanges(TUndo& record) {
  if (wordWrap_ != wwNone) return;
  TLineJournal& journal = TextStore()->Journal();
  if (journal.ScopeDepth() == 0) return;
  record.TakeChanges(journal.Take());
}

void TLumCustomMemo::RecordTaken(TUndo* holder) {
  if (TextStore()->Journal().ScopeDepth() > 0) scopeRecord_ = holder;
}

void TLumCustomMemo::ReplayChanges(TUndo& record, bool backwards) {
  TLumMemoStrings* store = TextStore();
  const TLineChanges& changes = record.Changes();
  {
    TFlagScope quiet(notifications_, false);
    if (backwards)
      store->RevertChanges(changes);
    else
      store->ApplyChanges(changes);
    // Bookmarks and markers follow the lines that come and go.
    auto inserted = [this](Integer at) {
      ShiftBookmarksDown(at);
      markerList_->Markers()->ShiftDown(at);
    };
    auto removed = [this](Integer at) {
      ShiftBookmarksUp(at + 1);
      markerList_->Markers()->ShiftUp(at + 1);
    };
    auto visit = [&](const TLineChange& c, bool forwards) {
      bool insert = c.Kind == TLineChange::TKind::lcInsert;
      if (c.Kind == TLineChange::TKind::lcPut) return;
      if (insert == forwards)
        inserted(c.Index);
      else
        removed(c.Index);
    };
    if (backwards)
      for (auto it = changes.rbegin(); it != changes.rend(); ++it) visit(*it, false);
    else
      for (const TLineChange& c : changes) visit(c, true);
    startStateLine_ = -1;
  }
  LinesChanged();
  Invalidate();
}

}  // namespace memo
