// Keyboard, mouse and window messages: the key command table, typing with
// auto-correct at word ends, mouse placement and selection, double-click
// word selection, and the answers that make the control a text editor
// inside a form.
#include <algorithm>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSource.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"
#include "memo/LumMemoUndo.h"
#include "memo/MemoScope.h"
#include "memo/text/MemoChars.h"
#include "memo/text/MemoTokenizer.h"
#include "rtl/Strings.h"
#include "vcl/Caret.h"
#include "vcl/Clipbrd.h"
#include "vcl/Shell.h"
#include "vcl/WinApi.h"

namespace memo {

namespace {

bool IsArrowOrMove(vcl::Word key) {
  switch (key) {
    case vcl::VK_LEFT: case vcl::VK_RIGHT: case vcl::VK_UP: case vcl::VK_DOWN:
    case vcl::VK_MENU: case vcl::VK_CONTROL: case vcl::VK_PRIOR: case vcl::VK_NEXT:
    case vcl::VK_HOME: case vcl::VK_END:
      return true;
    default:
      return false;
  }
}

bool Only(const TShiftState& shift, std::initializer_list<vcl::TShiftStateItem> items) {
  for (auto item : {vcl::ssShift, vcl::ssAlt, vcl::ssCtrl})
    if (shift.Contains(item) != (std::find(items.begin(), items.end(), item) != items.end())) return false;
  return true;
}

// UTF-8 of one code point.
AnsiString Utf8(char32_t c) {
  AnsiString s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

}  // namespace

// ------------------------------------------------------------------ keys

void TLumCustomMemo::KeyDown(vcl::Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0) return;
  StopCompletionTimer();
  if (key != vcl::VK_CONTROL) {
    vcl::SetCaretBlinkTime(vcl::GetCaretBlinkTime());
    if (!hiddenCaret_) ShowCaretAt(true);
  }
  completionAllowed_ = true;
  hintKeyPending_ = false;
  noCtrl_ = !shift.Contains(vcl::ssCtrl);
  if (!IsArrowOrMove(key)) {
    Integer x = caretX_;
    SetCaretX(x);
    SetCaretLine(caretY_);
    caretX_ = x;
  }
  // A collapsed region showing its caption keeps its line as it is.
  if ((key == vcl::VK_BACK || key == vcl::VK_TAB || key == vcl::VK_SPACE || key == vcl::VK_INSERT ||
       key == vcl::VK_DELETE) &&
      CaptionedCollapsedRegionAt(caretY_))
    return;
  switch (key) {
    case vcl::VK_BACK:
      if (!shift.Contains(vcl::ssAlt))
        ExecuteKey(key, shift);
      else if (shift.Contains(vcl::ssShift))
        Redo();
      else
        Undo();
      break;
    case vcl::VK_TAB: case vcl::VK_ESCAPE: case vcl::VK_END: case vcl::VK_HOME:
    case vcl::VK_DELETE: case vcl::VK_PRIOR: case vcl::VK_NEXT: case vcl::VK_INSERT:
      ExecuteKey(key, shift);
      break;
    case vcl::VK_SPACE:
      if (Only(shift, {vcl::ssCtrl}) && autoCompletion_->Active) {
        // The blank this key also makes is not typed.
        completionAllowed_ = false;
        const AnsiString token = LineCount() > 0 ? TokenAtCaret() : AnsiString();
        if (token.find_first_of(".(") != AnsiString::npos) {
          const AnsiString word = WordAtEx(caretX_, caretY_);
          SetMemberCompletion(true, {caretX_ - CharLength(word), caretY_});
        } else {
          SetMemberCompletion(false, completionStart_);
        }
        ShowCompletion();
      } else if (Only(shift, {vcl::ssCtrl, vcl::ssShift}) && autoHintParameters_ != hpNone) {
        // Asking for the hint types no blank either.
        hintKeyPending_ = true;
        ShowParameterHint();
      }
      break;
    case vcl::VK_LEFT: MoveCaret(-1, 0, shift); break;
    case vcl::VK_UP: MoveCaret(0, -1, shift); break;
    case vcl::VK_RIGHT: MoveCaret(1, 0, shift); break;
    case vcl::VK_DOWN: MoveCaret(0, 1, shift); break;
    case 'F':
      if (Only(shift, {vcl::ssCtrl}) && OnFind) OnFind(this);
      break;
    case 'H':
      if (Only(shift, {vcl::ssCtrl}) && OnReplace) OnReplace(this);
      break;
    case 'Y':
      if (shift.Contains(vcl::ssCtrl) && !readOnly_) Redo();
      break;
    case 'Z':
      if (shift.Contains(vcl::ssCtrl) && !shift.Contains(vcl::ssAlt)) Undo();
      break;
    default:
      break;
  }
  if (key == vcl::VK_INSERT) DoStatusChange();
}

void TLumCustomMemo::ExecuteKey(vcl::Word key, TShiftState shift) {
  switch (key) {
    case 3:
      CopyToClipboard();
      return;
    case vcl::VK_ESCAPE:
      return;
    case vcl::VK_PRIOR:
    case vcl::VK_NEXT:
      PageMove(key == vcl::VK_PRIOR ? -1 : 1, shift);
      return;
    case vcl::VK_END:
    case vcl::VK_HOME: {
      if (LineCount() == 0) {
        caretX_ = 0;
        return;
      }
      TMemoPos anchor = SelStart();
      if (key == vcl::VK_END)
        EndKey(shift);
      else
        HomeKey(shift);
      if (shift.Contains(vcl::ssCtrl) && shift.Contains(vcl::ssShift)) {
        selStartX_ = anchor.X;
        selStartY_ = anchor.Y;
        Invalidate();
        DoSelectionChange();
      }
      return;
    }
    case vcl::VK_INSERT:
      if (shift.Contains(vcl::ssCtrl)) {
        CopyToClipboard();
        return;
      }
      break;
    default:
      break;
  }
  if (readOnly_) return;
  switch (key) {
    case 1:
      SelectAll();
      break;
    case vcl::VK_BACK:
      if (!CanEdit() || LineCount() == 0) break;
      if (shift.Contains(vcl::ssCtrl))
        DeleteWordLeft();
      else if (delErase_ && HasSelection())
        DeleteSelection(true);
      else
        Backspace();
      break;
    case vcl::VK_TAB:
      TabKey(shift);
      break;
    case vcl::VK_RETURN:
      DeleteSelection(true);
      NewLine();
      break;
    case 22:
      PasteFromClipboard();
      break;
    case 24:
      CutToClipboard();
      break;
    case vcl::VK_INSERT:
      if (shift.Contains(vcl::ssShift))
        PasteFromClipboard();
      else
        ToggleOverwrite();
      break;
    case vcl::VK_DELETE:
      if (LineCount() == 0) break;
      if (shift.Contains(vcl::ssShift))
        CutToClipboard();
      else if (delErase_ && HasSelection())
        DeleteSelection(true);
      else
        DeleteChar(-1, -1);
      break;
    default:
      return;
  }
  if (key == vcl::VK_BACK || key == vcl::VK_TAB || key == vcl::VK_RETURN || key == 24 || key == vcl::VK_DELETE)
    MarkLineModified(caretY_, true);
}

void TLumCustomMemo::KeyPress(vcl::WideChar& key) {
  TCustomControl::KeyPress(key);
  vcl::WideChar ch = key;
  if (ch == 0) return;
  // Ctrl with a letter is the letter's control character (Ctrl+C is 3).
  bool ctrl = (vcl::GetKeyState(vcl::VK_CONTROL) & 0x8000) != 0;
  bool alt = (vcl::GetKeyState(vcl::VK_MENU) & 0x8000) != 0;
  if (ctrl && !alt && ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))) ch = ch & 0x1F;
  if (ch == 3) {
    CopyToClipboard();
    return;
  }
  // A surrogate pair is one character: the first half waits for the second.
  if (ch >= 0xD800 && ch < 0xDC00) {
    pendingSurrogate_ = ch;
    return;
  }
  char32_t code = ch;
  if (ch >= 0xDC00 && ch < 0xE000) {
    if (!pendingSurrogate_) return;
    code = 0x10000 + ((static_cast<char32_t>(pendingSurrogate_) - 0xD800) << 10) + (ch - 0xDC00);
  }
  pendingSurrogate_ = 0;
  if (hintKeyPending_) {
    hintKeyPending_ = false;
    if (code == ' ') return;
  }
  if (readOnly_ || !CanEdit() || (autoCompletion_->Active && !completionAllowed_)) return;
  if (code != '\r' && CaptionedCollapsedRegionAt(caretY_)) return;
  regionRebuildPending_ = true;

  if (code == '\t' || code == '\r' || code == ' ' || code == '(' || code == ',' || code == '.' || code == '=' ||
      code == '[') {
    if (code == '\r') {
      CheckerAtLineEnd();
      if (TextStore()->Count() == 0) TextStore()->Add("");
      // An empty line opened above a blank one changes no region.
      if (caretX_ == 0 && caretY_ < LineCount() && TrimBlanks(LineText(caretY_)).empty())
        regionRebuildPending_ = false;
    } else if (code == '\t' || code == ' ') {
      CheckerAtWordEnd();
    }
    AutoCorrectWordBeforeCaret();
  }
  if (code >= 32 && code != 127) {
    if (delErase_ && HasSelection()) DeleteSelection(true);
    InsertChar(std::string_view(Utf8(code)));
    MarkLineModified(caretY_, true);
    Invalidate();
    DoChange();
    if ((code == '.' || code == '(') && autoCompletion_->Active) StartCompletionTimer();
  } else if (code != 8 && code != 9) {
    ExecuteKey(static_cast<vcl::Word>(code), {});
  }
}

void TLumCustomMemo::CheckerAtLineEnd() {
  if (!memoChecker_) return;
  switch (memoChecker_->CheckMode()) {
    case 1:
      if (LineCount() == 0) break;
      memoChecker_->CorrectLine(caretY_);
      caretX_ = LineLen(caretY_);
      break;
    case 2:
      memoChecker_->CheckLine(caretY_);
      break;
    case 4:
      memoChecker_->CheckWord(caretY_, caretX_, WordBeforeCaret());
      break;
    default:
      break;
  }
}

void TLumCustomMemo::CheckerAtWordEnd() {
  if (!memoChecker_ || LineCount() == 0) return;
  AnsiString word = WordBeforeCaret();
  if (word.empty()) return;
  if (memoChecker_->CheckMode() == 4) {
    memoChecker_->CheckWord(caretY_, caretX_, word);
    return;
  }
  if (memoChecker_->CheckMode() != 3) return;
  AnsiString corrected = word;
  memoChecker_->CorrectWord(caretY_, caretX_, corrected);
  if (corrected == word) return;
  Integer length = CharLength(word);
  Integer from = caretX_ - length;
  if (from < 0 || CharCopy(LineText(caretY_), from, length) != word) return;
  AnsiString before = LineText(caretY_);
  AnsiString line = CharCopy(before, 0, from) + corrected + CharCopy(before, caretX_, LineLen(caretY_));
  TextStore()->Put(caretY_, line);
  caretX_ += CharLength(corrected) - length;
  memoChecker_->AddCorrectionUndo(caretY_, before);
  Invalidate();
}

// The word that ends at the caret replaced by its correction, recorded as a
// paste over a selection so that undo gives back the word as typed.
void TLumCustomMemo::AutoCorrectWordBeforeCaret() {
  bool table = autoCorrect_->Active && autoCorrect_->OldValue()->Count() > 0;
  if (!OnWordComplete && !table) return;
  Integer start = 0;
  AnsiString word = WordAtCaret(start);
  if (word.empty()) return;
  AnsiString replacement = word;
  if (table)
    for (Integer i = 0; i < autoCorrect_->OldValue()->Count(); ++i)
      if (autoCorrect_->OldValue()->Get(i) == word) {
        replacement = i < autoCorrect_->NewValue()->Count() ? autoCorrect_->NewValue()->Get(i) : AnsiString();
        break;
      }
  if (OnWordComplete) OnWordComplete(this, word, replacement);
  if (replacement == word) return;
  Integer length = CharLength(word);
  Integer from = std::max(caretX_ - length, 0);
  if (CharCopy(LineText(caretY_), from, length) != word) return;
  SetSelection({from, caretY_}, {caretX_, caretY_});
  InsertText(replacement);
}

void TLumCustomMemo::PageMove(Integer direction, TShiftState shift) {
  if (lineHeight_ == 0) return;
  Integer rows = TextRect().Height() / lineHeight_;
  bool extend = shift.Contains(vcl::ssShift) && caretX_ == lastCaretX_ && caretY_ == lastCaretY_;
  Integer oldTop = topLine_;
  if (codeFolding_->Enabled()) {
    // Pages count the rows shown: a collapsed region is one row.
    const Integer shown = LineCount() > 0 ? RealToVisible(LineCount() - 1) + 1 : 0;
    const Integer row = std::clamp(RealToVisible(caretY_) + rows * direction, 0, std::max(shown - 1, 0));
    const Integer topRow = std::clamp(RealToVisible(topLine_) + rows * direction, 0, std::max(shown - 1, 0));
    SetCaretLine(VisibleToReal(row));
    ScrollBy(vcl::sbVertical, topRow - RealToVisible(topLine_));
  } else if (rows < LineCount()) {
    Integer top = std::clamp(topLine_ + rows * direction, 0, std::max(LineCount() - 1, 0));
    SetCaretLine(std::clamp(caretY_ + rows * direction, 0, LineCount() - 1));
    ScrollBy(vcl::sbVertical, top - topLine_);
  } else {
    SetCaretLine(direction < 0 ? 0 : LineCount() - 1);
  }
  InvalidateTokenStates(std::min(oldTop, topLine_), std::max(oldTop, topLine_));
  if (shift.Contains(vcl::ssCtrl)) {
    if (direction < 0) {
      SetCaretLine(0);
      SetCaretX(0);
    } else {
      SetCaretLine(LineCount() - 1);
      SetCaretX(LineLen(LineCount() - 1));
    }
  }
  if (extend)
    ExtendSelection();
  else
    ClearSelection();
}

void TLumCustomMemo::HomeKey(TShiftState shift) {
  if (shift.Contains(vcl::ssCtrl)) {
    SetCaretLine(0);
    SetCaretX(0);
  }
  bool extend = shift.Contains(vcl::ssShift) && caretX_ == lastCaretX_ && caretY_ == lastCaretY_;
  if (enhancedHomeKey_) {
    TCharLine line(LineText(caretY_));
    Integer a = std::min(caretX_ - 1, line.Length());
    while (a > 0 && !(line.Byte(a - 1) == ' ' && line.Byte(a) != ' ')) --a;
    a = std::max(a, 0);
    SetCaretX(a);
    if (leftCol_ > a) SetLeftCol(a);
  } else {
    SetCaretX(0);
    SetLeftCol(0);
  }
  if (extend)
    ExtendSelection();
  else
    ClearSelection();
}

void TLumCustomMemo::EndKey(TShiftState shift) {
  if (shift.Contains(vcl::ssCtrl)) {
    SetCaretLine(LineCount() - 1);
    SetCaretX(LineLen(LineCount() - 1));
  }
  bool extend = shift.Contains(vcl::ssShift) && caretX_ == lastCaretX_ && caretY_ == lastCaretY_;
  SetCaretX(CharLength(GetLineTrimmed(caretY_)));
  if (extend)
    ExtendSelection();
  else
    ClearSelection();
}

// ----------------------------------------------------------------- mouse

void TLumCustomMemo::SetCaretFromMouse(Integer x, Integer y, vcl::TMouseButton button, TShiftState shift,
                                       bool fromPress) {
  TRect t = TextRect();
  if (x < t.Left || x > t.Right || y < t.Top || y > t.Bottom) return;
  vcl::TPoint cell = ClientToCell(x, y);
  Integer offset = PosToOffset(cell.X + leftCol_, cell.Y + topLine_);
  if (fromPress && HasSelection()) {
    Integer start = GetSelStart();
    if (offset > start && offset < start + GetSelLength()) {
      dragPending_ = true;
      return;
    }
  }
  ShowCaretAt(false);
  Integer column = std::max(cell.X, 0), row = std::max(cell.Y, 0);
  Integer line = std::clamp(VisibleToReal(RealToVisible(topLine_) + row), 0, std::max(LineCount() - 1, 0));
  skipMove_ = true;
  Integer oldLine = caretY_;
  if (trimTrailingSpaces_ && wordWrap_ == wwNone && oldLine != line && oldLine < LineCount()) {
    TFlagScope quiet(notifications_, false);
    StoreTrimmedLine(oldLine);
  }
  {
    // The box after a collapsed region's first line is no place to type:
    // a click on it does not fill the line up to it.
    const Integer target = column + leftCol_;
    const bool onBox = autoExpand_ && codeFolding_->Enabled() && line < LineCount() && IsRegionStart(line) &&
                       !IsExpanded(line) && target >= LineLen(line) && target <= LineLen(line) + 4;
    TFlagScope expand(autoExpand_, autoExpand_ && !onBox);
    // The line first: a click past a line's end fills that line, never the
    // one the caret leaves.
    SetCaretLine(line);
    SetCaretX(target);
  }
  if (line != oldLine) DoCursorChange();
  MakeCaretVisible();
  if (fromPress && button == vcl::mbLeft) {
    if (shift.Contains(vcl::ssShift))
      ExtendSelection();
    else
      ClearSelection();
    mouseSelecting_ = true;
    if (caretY_ < LineCount() && Tokenizer().URLAtColumn(LineText(caretY_), caretX_)) {
      AnsiString url = UrlPieceAt(caretY_, caretX_);
      if (OnURLClick)
        OnURLClick(this, url);
      else
        vcl::OpenURL(url);
      return;
    }
  }
  ShowCaretAt(true);
}

AnsiString TLumCustomMemo::UrlPieceAt(Integer line, Integer column) const {
  const AnsiString& text = LineText(line);
  Integer at = 0;
  for (std::string_view piece : Tokenizer().SplitURLPieces(text)) {
    Integer len = CharLength(piece);
    if (column < at + len) return AnsiString(piece);
    at += len;
  }
  return {};
}

void TLumCustomMemo::MouseDown(vcl::TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  dragPending_ = false;
  if (!Focused() && CanFocus()) SetFocus();
  bool overGutter = gutter_->Visible() && x >= gutter_->Left && x < gutter_->Left + gutter_->Width;
  Integer lineUnder = ClientToLine(x, y).Y;
  if (button == vcl::mbRight && overGutter && lineUnder < LineCount() && OnGutterRightClick)
    OnGutterRightClick(this, lineUnder);
  if (button != vcl::mbLeft) return;
  if (overGutter && lineUnder < LineCount()) DoGutterClick(lineUnder);
  const Integer stripRight = TextRect().Left;
  if (codeFolding_->Enabled() && regionCount_ > 0 && x >= stripRight - 16 && x < stripRight && lineUnder >= 0 &&
      lineUnder < LineCount() && TextStore()->GetLineProp(lineUnder)) {
    // A press in the folding strip opens or closes the region of its line.
    Integer top = topLine_;
    SetCaretLine(lineUnder);
    ClearSelection();
    ToggleExpanded(lineUnder);
    if (activeLineSettings_->ActiveLineAtCursor()) SetActiveLine(caretY_);
    topLine_ = top;
    UpdateScrollBars(false);
    Invalidate();
    return;
  }
  SetCaretFromMouse(x, y, button, shift, true);
  if (activeLineSettings_->ActiveLineAtCursor()) SetActiveLine(caretY_);
}

void TLumCustomMemo::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  if (skipMove_) {
    skipMove_ = false;
    return;
  }
  vcl::TPoint cell = ClientToCell(x, y);
  Integer column = std::max(cell.X, 0) + leftCol_;
  Integer line = VisibleToReal(RealToVisible(topLine_) + std::max(cell.Y, 0));
  // A press inside the selection becomes a drag of it, which starts once
  // the mouse has moved two pixels more.
  if (dragPending_) {
    dragPending_ = false;
    BeginDrag(false, 2);
    return;
  }
  bool overUrl = line < LineCount() && Tokenizer().URLAtColumn(LineText(line), column);
  TControl::SetCursor(overUrl ? vcl::crHandPoint : textCursor_);
  if (shift.Contains(vcl::ssLeft) && mouseSelecting_ && !dragPending_) {
    TMemoPos before = SelEnd();
    SetCaretLine(std::clamp(line, 0, std::max(LineCount() - 1, 0)));
    if (x < TextRect().Left) {
      SetCaretX(0);
      SetLeftCol(0);
    } else {
      SetCaretX(std::min(column, LineLen(caretY_)));
    }
    ExtendSelection();
    if (!(SelEnd() == before)) Update();
  }
}

void TLumCustomMemo::MouseUp(vcl::TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button == vcl::mbLeft) ShowCaretAt(true);
  mouseSelecting_ = false;
  if (dragPending_) {
    dragPending_ = false;
    ClearSelection();
    SetCaretFromMouse(x, y, button, shift, false);
    ClearSelection();
  }
}

void TLumCustomMemo::DragDrop(TObject* source, Integer x, Integer y) {
  dragPending_ = false;
  if (source == this) DropSelection(x, y, (vcl::GetKeyState(vcl::VK_CONTROL) & 0x8000) != 0);
  TCustomControl::DragDrop(source, x, y);
}

void TLumCustomMemo::DropSelection(Integer x, Integer y, bool copy) {
  dragPending_ = false;
  if (!HasSelection() || readOnly_) return;
  // The drop point is read in the text as it stands before the move.
  vcl::TPoint cell = ClientToCell(x, y);
  Integer column = std::max(cell.X, 0) + leftCol_;
  Integer line =
      std::clamp(VisibleToReal(RealToVisible(topLine_) + std::max(cell.Y, 0)), 0, std::max(LineCount() - 1, 0));
  Integer drop = PosToOffset(std::min(column, LineLen(line)), line);
  Integer start = GetSelStart(), length = GetSelLength();
  if (drop >= start && drop <= start + length && !copy) return;
  if (drop > start && drop < start + length) return;
  AnsiString text = GetSelText();
  TEditScope scope(*this);
  if (!copy) {
    DeleteSelection(false);
    if (drop >= start + length) drop -= length;
  }
  TMemoPos at = OffsetToPos(drop);
  PlaceCaret(at.X, at.Y);
  ClearSelection();
  InsertText(text);
  Invalidate();
}

void TLumCustomMemo::DoubleClickAt(Integer x, Integer y) {
  bool overGutter = gutter_->Visible() && x >= gutter_->Left && x < gutter_->Left + gutter_->Width;
  Integer lineUnder = ClientToLine(x, y).Y;
  if (overGutter) {
    if (lineUnder < LineCount() && OnGutterDblClick) OnGutterDblClick(this, lineUnder);
    return;
  }
  TRect t = TextRect();
  if (x < t.Left || x > t.Right || y < t.Top || y > t.Bottom) return;
  DblClick();
  if (LineCount() == 0 || x >= Width()) return;
  TCharLine line(LineText(caretY_));
  if (caretX_ < line.Length() && !IsDelimiter(line.Byte(caretX_))) {
    if (CaptionedCollapsedRegionAt(caretY_)) ExpandRegionAt(caretY_);
    Integer a = caretX_, b = caretX_;
    while (a > 0 && !IsDelimiter(line.Byte(a - 1))) --a;
    while (b < line.Length() && !IsDelimiter(line.Byte(b))) ++b;
    selStartX_ = a;
    selStartY_ = caretY_;
    selEndX_ = lastCaretX_ = b;
    selEndY_ = lastCaretY_ = caretY_;
    caretX_ = b;
    DoSelectionChange();
    Invalidate();
  } else if (codeFolding_->Enabled() && IsRegionStart(caretY_) && !IsExpanded(caretY_)) {
    // A double click beside the words of a collapsed region's line opens it.
    if (autoExpand_) {
      TFlagScope quiet(notifications_, false);
      StoreTrimmedLine(caretY_);
      caretX_ = LineLen(caretY_);
    }
    ExpandRegionAt(caretY_);
  }
}

}  // namespace memo
