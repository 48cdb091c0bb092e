// View geometry, scrolling and the caret's display.
#include <algorithm>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/MemoScope.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "vcl/Caret.h"
#include "vcl/WinApi.h"

namespace memo {

namespace {


}  // namespace

// ------------------------------------------------------------- geometry

TRect TLumCustomMemo::TextRect() const {
  TRect r;
  r.Left = gutter_->Visible() && gutter_->GutterWidth() > 2 ? gutter_->GutterWidth() + 2 : 2;
  r.Left += leftMargin_;
  r.Top = 2;
  r.Right = Width() - 2;
  if (HasVert(scrollBars_) && vScroll_->Visible()) r.Right -= vScroll_->Width();
  r.Bottom = Height() - 2;
  if (HasHorz(scrollBars_) && hScroll_->Visible()) r.Bottom -= hScroll_->Height();
  if (borderStyle_ == vcl::TFormBorderStyle::bsNone)
    vcl::InflateRect(r, 2, 2);
  else if (borderStyle_ == vcl::TFormBorderStyle::bsSingle && !Ctl3D())
    vcl::InflateRect(r, 1, 1);
  if (codeFolding_->Enabled() && regionCount_ > 0) r.Left += 16;
  return r;
}

TRect TLumCustomMemo::CellRect(Integer column, Integer row) const {
  TRect t = TextRect();
  return {column * charWidth_ + t.Left, row * lineHeight_ + t.Top + 1, (column + 1) * charWidth_ + t.Left,
          (row + 1) * lineHeight_ + t.Top + 1};
}

TRect TLumCustomMemo::LineRect(Integer line) const {
  TRect t = TextRect();
  Integer k = RealToVisible(line) - RealToVisible(topLine_);
  return {t.Left, t.Top + k * lineHeight_, t.Right, t.Top + (k + 1) * lineHeight_};
}

vcl::TPoint TLumCustomMemo::ClientToCell(Integer x, Integer y) {
  ApplyFontIfNeeded();
  if (charWidth_ == 0 || lineHeight_ == 0) return {0, 0};
  TRect t = TextRect();
  return {(x + charWidth_ / 2 - t.Left) / charWidth_, (y - t.Top) / lineHeight_};
}

TMemoPos TLumCustomMemo::ClientToLine(Integer x, Integer y) {
  ApplyFontIfNeeded();
  if (charWidth_ == 0 || lineHeight_ == 0) return {1, 1};
  TRect t = TextRect();
  Integer column = (x - t.Left) / charWidth_ + leftCol_;
  Integer line = VisibleToReal(RealToVisible(topLine_) + (y - t.Top) / lineHeight_);
  return {column, line};
}

Integer TLumCustomMemo::GetVisibleExtent(Integer kind) {
  TRect t = TextRect();
  Integer x = t.Right - 1, y = t.Bottom - 1;
  switch (kind) {
    case 0: return ClientToCell(x, y).X;
    case 1: return ClientToCell(x, y).Y;
    case 2: return ClientToLine(x, y).X - 1;
    case 3: return ClientToLine(x, y).Y - 1;
    default: return 0;
  }
}

void TLumCustomMemo::SetGutterHeight() { gutter_->Height = TextRect().Height(); }

// ------------------------------------------------------------ scrolling

void TLumCustomMemo::MakeCaretVisible() {
  bool changed = false;
  if (caretX_ < leftCol_) {
    leftCol_ = std::max(0, caretX_ - 2);
    changed = true;
  }
  Integer lastColumn = GetVisibleExtent(2);
  if (caretX_ > lastColumn) {
    if (!HasHorz(scrollBars_) && scrollMode_ == smStrict) {
      SetCaretX(lastColumn);
    } else {
      leftCol_ = std::max(0, leftCol_ + caretX_ - lastColumn + 2);
      changed = true;
    }
  }
  if (caretY_ < topLine_) {
    topLine_ = caretY_;
    changed = true;
  }
  Integer lastLine = GetVisibleExtent(3);
  if (caretY_ > lastLine) {
    if (!HasVert(scrollBars_) && scrollMode_ == smStrict) {
      SetCaretLine(lastLine);
    } else {
      topLine_ = std::max(0, topLine_ + caretY_ - lastLine);
      changed = true;
    }
  }
  if (changed) Invalidate();
}

void TLumCustomMemo::ScrollBy(vcl::TScrollBarKind kind, Integer delta) {
  if (kind == vcl::sbVertical) {
    Integer row = RealToVisible(topLine_) + delta;
    row = std::max(0, std::min(row, vScroll_->Max()));
    Integer newTop = VisibleToReal(row);
    if (newTop == topLine_) return;
    InvalidateTokenStates(std::min(topLine_, newTop), std::max(topLine_, newTop));
    topLine_ = newTop;
  } else {
    Integer newLeft = std::max(0, std::min(leftCol_ + delta, hScroll_->Max()));
    if (newLeft == leftCol_) return;
    leftCol_ = newLeft;
  }
  Invalidate();
  ShowCaretAt(leftCol_ <= caretX_);
}

void TLumCustomMemo::UpdateScrollBars(bool flag) {
  if (!HasVert(scrollBars_)) vScroll_->Hide();
  if (!HasHorz(scrollBars_)) hScroll_->Hide();
  if (!notifications_ || !created_) return;
  bool vWas = vScroll_->Visible(), hWas = hScroll_->Visible();
  {
    TFlagScope syncing(syncingBars_, true);
    TRect t = TextRect();
    if (HasVert(scrollBars_)) {
      vScroll_->SetBounds(t.Right, t.Top, 16, t.Height() + 1);
      Integer n = LineCount() > 0 ? RealToVisible(LineCount() - 1) + 1 : 0;
      Integer rows = GetVisibleExtent(1);
      if (rows <= 0 || rows >= n) {
        vScroll_->SetPageSize(0);
        topLine_ = 0;
        vScroll_->Hide();
      } else {
        vScroll_->SetParams(RealToVisible(topLine_), 0, RealToVisible(LineCount() - 1));
        vScroll_->SetPageSize(rows);
        vScroll_->SetWidth(vcl::GetSystemMetrics(vcl::SM_CXVSCROLL));
        vScroll_->Show();
        vScroll_->Invalidate();
      }
    }
    if (HasHorz(scrollBars_) && wordWrap_ != wwClientWidth) {
      Integer width = Width() - 4;
      if (HasVert(scrollBars_)) width -= vScroll_->Width();
      hScroll_->SetBounds(2, t.Bottom, std::max(width, 0), 16);
      Integer columns = GetVisibleExtent(0);
      if (columns > 0 && columns < longestLine_) {
        hScroll_->SetParams(leftCol_, 0, longestLine_);
        hScroll_->SetPageSize(columns + 1);
        hScroll_->SetHeight(vcl::GetSystemMetrics(vcl::SM_CYHSCROLL));
        hScroll_->Show();
        hScroll_->Invalidate();
      } else if (caretX_ < columns) {
        hScroll_->Hide();
        hScroll_->SetPageSize(0);
        leftCol_ = 0;
      }
    }
  }
  if ((vWas != vScroll_->Visible() || hWas != hScroll_->Visible()) && scrollBarsDepth_ < 3) {
    ++scrollBarsDepth_;
    UpdateScrollBars(flag);
    --scrollBarsDepth_;
    return;
  }
  if (flag) {
    PlaceGutter();
    SetGutterHeight();
    Invalidate();
  }
  if (HasVert(scrollBars_) && vScroll_->Visible()) VScrollChange(vScroll_);
  if (HasHorz(scrollBars_) && hScroll_->Visible()) HScrollChange(hScroll_);
}

void TLumCustomMemo::VScrollChange(TObject*) {
  if (syncingBars_) return;
  TFlagScope syncing(syncingBars_, true);
  if (vScroll_->Visible() && vScroll_->PageSize() > 0) {
    Integer top = vScroll_->Max() - vScroll_->PageSize() + 1;
    if (vScroll_->Position() > top) vScroll_->SetPosition(top);
  }
  Integer top = VisibleToReal(vScroll_->Position());
  // A bar that clamps the view (a page key may leave the first line below
  // the last one the bar reaches) moves the text: the rows must follow.
  if (top != topLine_) Invalidate();
  topLine_ = top;
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TLumCustomMemo::HScrollChange(TObject*) {
  if (syncingBars_) return;
  TFlagScope syncing(syncingBars_, true);
  if (hScroll_->Visible() && hScroll_->PageSize() > 0) {
    Integer top = hScroll_->Max() - hScroll_->PageSize() + 1;
    if (hScroll_->Position() > top) hScroll_->SetPosition(top + 1);
  }
  if (hScroll_->Position() != leftCol_) Invalidate();
  leftCol_ = hScroll_->Position();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TLumCustomMemo::ScrollBarScroll(TObject* sender, vcl::TScrollCode code, Integer& pos) {
  if (!Focused() && CanFocus()) SetFocus();
  if (sender == vScroll_) {
    Integer rows = GetVisibleExtent(1);
    if (code == vcl::scPageUp) pos = vScroll_->Position() - rows;
    if (code == vcl::scPageDown) pos = vScroll_->Position() + rows;
    if (scrollHint_) {
      if (code == vcl::scEndScroll) {
        scrollHintWindow_->ReleaseHandle();
      } else if (code == vcl::scTrack) {
        AnsiString text = "Row : " + rtl::IntToStr(pos + 1);
        if (OnScrollHint) OnScrollHint(this, pos + 1, text);
        TRect r = scrollHintWindow_->CalcHintRect(100, text);
        vcl::TPoint at = vcl::GetCursorPos();
        vcl::OffsetRect(r, at.X + 10, at.Y);
        scrollHintWindow_->SetColor(vcl::clInfoBk);
        scrollHintWindow_->ActivateHint(r, text);
      }
    }
    ScrollBy(vcl::sbVertical, pos - vScroll_->Position());
  } else {
    ScrollBy(vcl::sbHorizontal, pos - hScroll_->Position());
  }
  Invalidate();
}

void TLumCustomMemo::SetLeftCol(Integer column) {
  if (leftCol_ < 0 || leftCol_ == column) return;
  leftCol_ = column;
  {
    TFlagScope syncing(syncingBars_, true);
    hScroll_->SetPosition(column);
  }
  Invalidate();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TLumCustomMemo::ResizeUpdate() {
  if (!created_ || Destroying()) return;
  Integer offset = PosToOffset(caretX_, caretY_);
  Integer oldTop = topLine_, oldCount = LineCount();
  Rewrap();
  if (wordWrap_ != wwNone) {
    TMemoPos p = OffsetToPos(offset);
    PlaceCaret(p.X, p.Y);
  }
  if (wordWrap_ != wwClientWidth) UpdateScrollBars(false);
  SetGutterHeight();
  MakeCaretVisible();
  if ((LineCount() == oldCount || wordWrap_ == wwNone) && vScroll_->Visible()) topLine_ = oldTop;
  Invalidate();
}

void TLumCustomMemo::RecalcLongestLine() {
  TLumMemoStrings* store = TextStore();
  if (store->LineLengths().Count() == store->Count()) longestLine_ = store->LineLengths().Max();
}

void TLumCustomMemo::LinesChanged() {
  if (!notifications_ || !created_) return;
  DoChange();
  RecalcLongestLine();
  UpdateScrollBars(false);
  MakeCaretVisible();
  Invalidate();
  ResetBookmarksBeyondText();
}

void TLumCustomMemo::InvalidateTokenStates(Integer first, Integer last) {
  TLumMemoStrings* store = TextStore();
  last = std::min(last, store->Count() - 1);
  for (Integer i = std::max(first, 0); i <= last; ++i)
    if (TLineProp* p = store->GetLineProp(i)) p->TokenStateValid = false;
}

// ------------------------------------------------------------ the caret

void TLumCustomMemo::ShowCaretAt(bool show) {
  if (!show) {
    if (caretShown_ && HandleAllocated()) vcl::HideCaret(Handle());
    caretShown_ = false;
    return;
  }
  if (!Focused() || hiddenCaret_) return;
  Integer row = RealToVisible(caretY_) - RealToVisible(topLine_);
  Integer column = caretX_ - leftCol_;
  // Scrolled past the caret: it hides until it is in view again.
  if (column < 0 || row < 0 || row > GetVisibleExtent(1)) {
    ShowCaretAt(false);
    return;
  }
  TRect cell = CellRect(column, row);
  vcl::TPoint pos{cell.Left, cell.Top + 1};
  if (pos != caretPos_) {
    vcl::SetCaretPos(pos.X, pos.Y);
    caretPos_ = pos;
  }
  if (!caretShown_) vcl::ShowCaret(Handle());
  caretShown_ = true;
}

// ------------------------------------------------------------- the font

void TLumCustomMemo::ApplyFontIfNeeded() {
  if (lineHeight_ == 0 && !applyingFont_) SetFont(Font());
}

void TLumCustomMemo::SetFont(vcl::TFont* f) {
  TFlagScope guard(applyingFont_, true);
  TCanvas* c = MeasureCanvas();
  c->Font()->Assign(f);
  if (c->TextWidth("W") != c->TextWidth("i")) f->SetName("FixedSys");
  if (f != Font()) TControl::SetFont(f);
  c->Font()->Assign(Font());
  charWidth_ = c->TextWidth("W");
  lineHeight_ = c->TextHeight("W_") + 1;
  if (caretShown_) {
    CreateSystemCaret();
    caretShown_ = false;
    caretPos_ = {0xFFFF, 0xFFFF};
    ShowCaretAt(true);
  }
  Invalidate();
}

void TLumCustomMemo::UpdateFontMetrics() {
  if (!HandleAllocated() || applyingFont_) return;
  TCanvas* c = MeasureCanvas();
  AnsiString before = c->Font()->Name();
  c->Font()->Assign(Font());
  if (c->GetTextMetrics().VariablePitch && !rtl::SameText(Font()->Name(), "FixedSys")) {
    // A proportional face breaks the grid: back to the face before when that
    // one is fixed, else the fixed system face (this handler runs again).
    c->Font()->SetName(before);
    bool beforeFixed = !rtl::SameText(before, Font()->Name()) && !c->GetTextMetrics().VariablePitch;
    Font()->SetName(beforeFixed ? before : AnsiString("FixedSys"));
    return;
  }
  charWidth_ = c->TextWidth("W");
  lineHeight_ = c->TextHeight("W_") + 1;
  if (caretShown_) {
    CreateSystemCaret();
    caretShown_ = false;
    caretPos_ = {0xFFFF, 0xFFFF};
    ShowCaretAt(true);
  }
  UpdateScrollBars(false);
  Invalidate();
}

}  // namespace memo
