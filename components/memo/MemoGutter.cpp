// The gutter: its strip and background, the walk over its rows, and the
// default drawing of one row (marker, flag, number, modified bar,
// breakpoint, dot and the active-line arrow).
#include <algorithm>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/text/MemoChars.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace memo {

void TLumCustomMemo::PaintGutter(TCanvas* canvas) {
  TLumGutter* g = gutter_.get();
  if (!g->Visible() || g->GutterWidth() <= 1) return;
  SetGutterHeight();
  const Integer left = g->Left, top = g->Top, width = g->Width, bottom = g->Top + g->Height;
  canvas->Pen()->SetStyle(vcl::psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(g->BorderColor());
  canvas->MoveTo(left + width - 1, top);
  canvas->LineTo(left + width - 1, bottom);
  canvas->Pen()->SetColor(vcl::clWhite);
  canvas->MoveTo(left + width - 2, top);
  canvas->LineTo(left + width - 2, bottom);
  canvas->Brush()->SetStyle(vcl::bsSolid);
  if (g->GutterColorTo() == vcl::clNone) {
    canvas->Brush()->SetColor(g->GutterColor());
    canvas->FillRect({left, top, left + width - 2, bottom});
  } else {
    GradientFill(canvas, g->GutterColor(), g->GutterColorTo(), true, {left, top, left + width - 1, bottom}, 48);
  }
  if (!OnGutterDraw || lineHeight_ <= 0) return;

  // Rows of continuation lines get no call; the number a row is called with
  // counts the lines before it without their continuations.
  const bool wrapped = ContinuationsPossible();
  Integer number = RealToVisible(topLine_);
  if (wrapped) {
    number = 0;
    for (Integer i = 0; i < topLine_ && i < LineCount(); ++i)
      if (!IsContinuation(i)) ++number;
  }
  gutterLines_.clear();
  for (Integer row = RealToVisible(topLine_), y = top; y < bottom; ++row, y += lineHeight_) {
    Integer line = VisibleToReal(row);
    if (line >= LineCount() && !(line == 0)) break;
    if (wrapped && IsContinuation(line)) continue;
    gutterLines_.emplace_back(number, line);
    OnGutterDraw(this, canvas, number, {left, y, left + width - 2, y + lineHeight_});
    ++number;
  }
  gutterLines_.clear();
}

Integer TLumCustomMemo::GutterNumberToLine(Integer lineNo) const {
  for (const auto& [number, line] : gutterLines_)
    if (number == lineNo) return line;
  return VisibleToReal(lineNo);
}

void TLumCustomMemo::DrawGutterLine(TCanvas* canvas, Integer lineNo, TRect rct) {
  TLumGutter* g = gutter_.get();
  const Integer line = GutterNumberToLine(lineNo);
  Integer x = rct.Left;
  const Integer y = rct.Top;
  TLumMarkers* markers = markerList_->Markers();
  if (markers->HasMarkers() && markers->HasMarkerAt(line)) {
    Integer index = markerList_->UseDefaultMarkerImageIndex() ? markerList_->DefaultMarkerImageIndex()
                                                              : markers->ImageIndexAt(line);
    if (index >= 0 && markerList_->MarkerImageList()) markerList_->MarkerImageList()->Draw(canvas, x + 1, y + 2, index);
    x += 16;
  }
  TLumMemoStrings* store = TextStore();
  TLineProp* prop = line >= 0 && line < store->Count() ? store->GetLineProp(line) : nullptr;
  if (prop && prop->Flagged && flagBitmap_ && !flagBitmap_->Empty()) {
    flagBitmap_->SetTransparent(true);
    canvas->Draw(x, y, flagBitmap_.get());
  }
  if (g->ShowLineNumbers()) {
    AnsiString digits = rtl::IntToStr(lineNo + g->LineNumberStart());
    if (g->ShowLeadingZeros() && static_cast<Integer>(digits.size()) < g->DigitCount())
      digits.insert(0, static_cast<size_t>(g->DigitCount()) - digits.size(), '0');
    static constexpr Integer kShift[] = {0, 24, 16, 8};
    Integer shift = digits.size() < 4 ? kShift[digits.size()] : 0;
    vcl::TFont saved;
    saved.Assign(canvas->Font());
    canvas->Font()->Assign(g->Font());
    canvas->Font()->SetColor(g->LineNumberTextColor());
    canvas->Brush()->SetStyle(vcl::bsClear);
    canvas->TextOut(g->GutterWidth() - g->GutterMargin() + shift, y, digits + g->NumberSuffix());
    canvas->Brush()->SetStyle(vcl::bsSolid);
    canvas->Font()->Assign(&saved);
  }
  if (line >= store->Count() && !(line == 0 && store->Count() == 0)) return;
  if (g->ShowModified()) {
    TColor bar = prop && prop->Modified ? g->ModifiedColor() : g->ModifiedColorBkg();
    if (bar != vcl::clNone) {
      canvas->Brush()->SetStyle(vcl::bsSolid);
      canvas->Brush()->SetColor(bar);
      canvas->FillRect({rct.Right - 4, rct.Top, rct.Right, rct.Bottom});
    }
  }
  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Pen()->SetStyle(vcl::psSolid);
  canvas->Pen()->SetWidth(1);
  if (prop && prop->DotMarked) {
    canvas->Brush()->SetColor(0xFF0000);
    canvas->Pen()->SetColor(0x800000);
    canvas->Ellipse(x + 5, y + 8, x + 9, y + 12);
    canvas->Pen()->SetColor(0xFFFF00);
    canvas->MoveTo(x + 6, y + 8);
    canvas->LineTo(x + 4, y + 10);
  }
  if (prop && prop->Breakpoint) {
    canvas->Brush()->SetColor(0x0000FF);
    canvas->Pen()->SetColor(vcl::clBlack);
    canvas->Ellipse(x + 2, y + 4, x + 12, y + 14);
  }
  if (lineNo == activeLine_ && activeLineSettings_->ShowActiveLineIndicator()) {
    canvas->Brush()->SetColor(0x00FF00);
    canvas->Pen()->SetColor(0x808080);
    canvas->Polygon({{x + 13, y + 7},
                     {x + 13, y + 11},
                     {x + 16, y + 11},
                     {x + 16, y + 14},
                     {x + 21, y + 9},
                     {x + 16, y + 4},
                     {x + 16, y + 7}});
  }
}

}  // namespace memo
