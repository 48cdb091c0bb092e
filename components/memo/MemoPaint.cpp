// Painting: each text row is composed in a bitmap one line high and copied
// to the control at once; the colours of a run come from its token state,
// with the selection, the active line and breakpoints laid over them.
#include <algorithm>
#include <vector>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"
#include "memo/MemoScope.h"
#include "memo/text/MemoChars.h"
#include "memo/text/MemoTokenizer.h"
#include "rtl/CodePages.h"
#include "vcl/Pictures.h"

namespace memo {

namespace {

constexpr vcl::Cardinal kRunFlags = vcl::DT_EDITCONTROL | vcl::DT_NOPREFIX | vcl::DT_NOCLIP | vcl::DT_SINGLELINE;

vcl::TFontStyles StylesOf(uint8_t bits) {
  vcl::TFontStyles s;
  if (bits & 1) s.Include(vcl::fsBold);
  if (bits & 2) s.Include(vcl::fsItalic);
  if (bits & 4) s.Include(vcl::fsUnderline);
  if (bits & 8) s.Include(vcl::fsStrikeOut);
  return s;
}

uint8_t BitsOf(const vcl::TFontStyles& s) {
  return static_cast<uint8_t>((s.Contains(vcl::fsBold) ? 1 : 0) | (s.Contains(vcl::fsItalic) ? 2 : 0) |
                              (s.Contains(vcl::fsUnderline) ? 4 : 0) | (s.Contains(vcl::fsStrikeOut) ? 8 : 0));
}

// What one character of a line shows: a byte outside a well-formed UTF-8
// sequence (text in another code page, kept as it was loaded) shows as its
// windows-1252 character, as the desktop shows 8-bit text; a NUL as a
// visible placeholder.
AnsiString CharShown(std::string_view ch) {
  if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) >= 0x80) {
    static const std::vector<AnsiString> kHighHalf = [] {
      std::vector<AnsiString> t;
      for (int b = 0x80; b <= 0xFF; ++b) {
        char byte = static_cast<char>(b);
        t.push_back(rtl::ToAnsi(rtl::DecodeCodePage(1252, std::string_view(&byte, 1))));
      }
      return t;
    }();
    return kHighHalf[static_cast<unsigned char>(ch[0]) - 0x80];
  }
  if (ch.size() == 1 && ch[0] == '\0') return "\xE2\x90\x80";
  return AnsiString(ch);
}

}  // namespace

// The line painter of one row: runs arrive from the tokenizer and are drawn
// into the line bitmap at the drawing position.
class TLumCustomMemo::TRowPainter : public ILinePainter {
 public:
  TRowPainter(TLumCustomMemo& memo, TCanvas* canvas, Integer line) : m_(memo), c_(canvas), line_(line) {
    m_.OrderedSelection(sx_, sy_, ex_, ey_);
    x_ = -m_.leftCol_ * m_.charWidth_;
    TLineProp* prop = m_.TextStore()->GetLineProp(line);
    breakpoint_ = prop && prop->Breakpoint;
    active_ = line == m_.activeLine_ && m_.activeLineSettings_->ShowActiveLine();
    noSelection_ = (m_.hideSelection_ && !m_.Focused()) || !m_.HasSelection();
    colours_.Plain = {m_.Font()->Color(), m_.bkColor_, BitsOf(m_.Font()->Style())};
    colours_.Url = {m_.urlStyle_->TextColor, m_.urlStyle_->BkColor, BitsOf(m_.urlStyle_->Style)};
    colours_.None = vcl::clNone;
  }

  void PaintRun(std::string_view text, const TTokenState& state) override {
    if (text.empty()) return;
    TRunLook look = m_.Tokenizer().Look(state, colours_);
    TColor fore = forcedText_ != vcl::clNone ? forcedText_ : look.TextColor, back = look.BkColor;
    if (active_) {
      fore = m_.activeLineSettings_->ActiveLineTextColor();
      back = m_.activeLineSettings_->ActiveLineColor();
    }
    if (breakpoint_) {
      fore = m_.breakpointTextColor_;
      back = m_.breakpointColor_;
    }
    TCharLine chars(text);
    Integer c = column_, d = chars.Length();
    // The selection split: characters only, never the space after a line.
    Integer a = 0, b = 0;
    if (!noSelection_ && line_ >= sy_ && line_ <= ey_) {
      if (sy_ < line_ && line_ < ey_) {
        a = 0;
        b = d;
      } else if (sy_ == ey_) {
        if (sx_ < c + d && c < ex_) {
          a = sx_ - c;
          b = ex_ - c;
        }
      } else if (line_ == sy_) {
        a = sx_ - c;
        b = d;
      } else {
        a = 0;
        b = ex_ - c;
      }
      a = std::clamp(a, 0, d);
      b = std::clamp(b, 0, d);
      if (b < a) b = a;
    }
    // A block keyword's run keeps its mark outside the selection too.
    if (m_.blockShow_ && ((line_ == m_.blockStartLine_ && c == m_.blockStartCol_) ||
                          (line_ == m_.blockEndLine_ && c == m_.blockEndCol_)))
      back = m_.blockColor_;
    TColor savedFore = fore, savedBack = back;
    uint8_t style = active_ || breakpoint_ ? look.Style : look.Style;
    if (a > 0) Draw(chars.Slice(0, a), fore, back, style);
    if (b > a) {
      if (active_ || breakpoint_)
        Draw(chars.Slice(a, b - a), back, fore, style);
      else
        Draw(chars.Slice(a, b - a), m_.selColor_, m_.selBkColor_, style);
    }
    if (d > b) Draw(chars.Slice(b, d - b), savedFore, savedBack, style);
    column_ += d;
  }

  void KeywordFound(std::string_view word, const TTokenState& state) override {
    Integer len = CharLength(word);
    TRect r{x_, 0, x_ + len * m_.charWidth_, m_.lineHeight_};
    if (TLumCustomMemoStyler* styler = m_.ActiveStyler()) styler->KeywordFound(c_, AnsiString(word), r);
    x_ += len * m_.charWidth_;
    column_ += len;
  }

  Integer X() const { return x_; }
  // A folded region's caption: one colour for all its text.
  void ForceTextColor(TColor c) { forcedText_ = c; }

 private:
  void Draw(std::string_view text, TColor fore, TColor back, uint8_t style) {
    Integer len = CharLength(text);
    TRect r{x_, 0, x_ + len * m_.charWidth_, m_.lineHeight_};
    c_->Brush()->SetStyle(vcl::bsSolid);
    c_->Brush()->SetColor(back);
    c_->FillRect(r);
    c_->Brush()->SetStyle(vcl::bsClear);
    c_->Font()->SetColor(fore);
    c_->Font()->SetStyle(StylesOf(style));
    if (IsAscii(text) && text.find('\0') == std::string_view::npos) {
      c_->DrawText(AnsiString(text), r, kRunFlags);
    } else {
      // Every glyph starts at its cell, whatever font supplies it.
      TCharLine chars(text);
      for (Integer i = 0; i < chars.Length(); ++i) {
        TRect cell{r.Left + i * m_.charWidth_, 0, r.Left + (i + 1) * m_.charWidth_, m_.lineHeight_};
        c_->DrawText(CharShown(chars.At(i)), cell, kRunFlags);
      }
    }
    c_->Brush()->SetStyle(vcl::bsSolid);
    x_ += len * m_.charWidth_;
  }

  TLumCustomMemo& m_;
  TCanvas* c_;
  Integer line_;
  Integer sx_ = 0, sy_ = 0, ex_ = 0, ey_ = 0;
  Integer x_ = 0;
  Integer column_ = 0;
  bool breakpoint_ = false;
  bool active_ = false;
  bool noSelection_ = true;
  TRunColours colours_;
  TColor forcedText_ = vcl::clNone;
};

void TLumCustomMemo::Paint() {
  TLumMemoStrings* store = TextStore();
  if (store->UpdateDepth() > 0) return;
  ApplyFontIfNeeded();
  TCanvas* canvas = Canvas();
  TRect t = TextRect();
  if (t.Right <= t.Left || t.Bottom <= t.Top || lineHeight_ <= 0) return;

  if (!lineBitmap_) lineBitmap_ = std::make_unique<vcl::TBitmap>();
  lineBitmap_->SetSize(t.Width(), lineHeight_);
  TCanvas* bc = lineBitmap_->Canvas();
  bc->Font()->Assign(canvas->Font());
  bc->Font()->Assign(Font());

  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Brush()->SetColor(bkColor_);
  canvas->FillRect({t.Left, t.Top, t.Right, t.Top + 1});

  TTokenState state;
  if (startStateLine_ == topLine_ && store->TokenStatesStaleFrom() > topLine_) {
    state = startState_;
  } else {
    bool saved = notifications_;
    notifications_ = false;
    state = Tokenizer().LineStartState(*store, topLine_);
    notifications_ = saved;
    startState_ = state;
    startStateLine_ = topLine_;
  }

  const bool strip = codeFolding_->Enabled() && regionCount_ > 0;
  if (strip) {
    canvas->Brush()->SetColor(bkColor_);
    canvas->FillRect({t.Left - 16 - 2, t.Top, t.Left, t.Bottom});
  }
  Integer rows = GetVisibleExtent(1) + 1;
  Integer row = 0;
  Integer previous = topLine_ - 1;
  for (; row <= rows; ++row) {
    Integer line = VisibleToReal(RealToVisible(topLine_) + row);
    if (line >= store->Count()) break;
    // After the hidden lines of a collapsed region the state is the one the
    // text has there, not the one its first line ends with.
    if (line != previous + 1) {
      TFlagScope quiet(notifications_, false);
      state = Tokenizer().LineStartState(*store, line);
    }
    DrawLine(canvas, line, row, state);
    if (strip) DrawFoldingStrip(canvas, line, row);
    previous = line;
  }
  Integer bottom = CellRect(0, row).Top;
  if (bottom < t.Bottom) {
    canvas->Brush()->SetColor(bkColor_);
    canvas->FillRect({t.Left, bottom, t.Right, t.Bottom});
  }

  canvas->Brush()->SetColor(bkColor_);
  canvas->FillRect({t.Left - 2, t.Top, t.Left, t.Bottom});
  canvas->Pen()->SetColor(vcl::clScrollBar);
  canvas->Brush()->SetColor(vcl::clScrollBar);
  if (HasHorz(scrollBars_) && wordWrap_ == wwNone && hScroll_->Visible()) {
    TRect r = hScroll_->BoundsRect();
    vcl::InflateRect(r, 1, 1);
    canvas->FillRect(r);
  }
  if (HasVert(scrollBars_) && vScroll_->Visible()) {
    TRect r = vScroll_->BoundsRect();
    vcl::InflateRect(r, 1, 1);
    canvas->FillRect(r);
  }

  if (rightMargin_ > 0 && showRightMargin_) {
    Integer x = t.Left + canvas->TextWidth("w") * (rightMargin_ - leftCol_);
    canvas->Brush()->SetColor(rightMarginColor_);
    if (x >= t.Left && x < t.Right) canvas->FillRect({x, t.Top, std::min(x + 2, t.Right), t.Bottom});
    canvas->Pen()->SetColor(vcl::clGray);
    canvas->Pen()->SetWidth(1);
  }

  PaintGutter(canvas);

  if (borderStyle_ == vcl::TFormBorderStyle::bsSingle) {
    if (Ctl3D()) {
      Draw3DFrame(canvas, {-10, -10, Width(), Height()}, 1);
    } else {
      canvas->Pen()->SetColor(borderColor_);
      canvas->Pen()->SetWidth(1);
      canvas->MoveTo(0, Height());
      canvas->LineTo(0, 0);
      canvas->LineTo(Width() - 1, 0);
      canvas->LineTo(Width() - 1, Height() - 1);
      canvas->LineTo(0, Height() - 1);
    }
  }
}

void TLumCustomMemo::DrawLine(TCanvas* canvas, Integer line, Integer row, TTokenState& state) {
  TRect t = TextRect();
  Integer top = CellRect(0, std::max(row, 0)).Top;
  TRect rowRect{t.Left, top, t.Right, top + lineHeight_};
  TCanvas* bc = lineBitmap_->Canvas();
  bc->Brush()->SetStyle(vcl::bsSolid);
  bc->Brush()->SetColor(bkColor_);
  bc->FillRect({0, 0, t.Width(), lineHeight_});
  TLumMemoStrings* store = TextStore();
  if (line < 0 || line >= store->Count()) {
    canvas->Brush()->SetColor(bkColor_);
    canvas->FillRect(rowRect);
    return;
  }

  TRowPainter painter(*this, bc, line);
  const bool collapsed = codeFolding_->Enabled() && IsRegionStart(line) && !IsExpanded(line);
  Integer definition = -1;
  AnsiString caption;
  const bool captioned = collapsed && RegionCaption(line, definition, caption);
  if (captioned) {
    painter.ForceTextColor(codeFolding_->LineColor());
    TTokenState pending = state;
    painter.PaintRun(caption, pending);
  } else {
    Tokenizer().TokenizeLine(store->Line(line), state, painter);
  }
  Integer x = painter.X();

  TLineProp* prop = store->GetLineProp(line);
  TColor tail = bkColor_;
  if (prop && prop->Breakpoint)
    tail = breakpointColor_;
  else if (line == activeLine_ && activeLineSettings_->ShowActiveLine())
    tail = activeLineSettings_->ActiveLineColor();
  bc->Brush()->SetColor(tail);
  if (x < t.Width()) bc->FillRect({std::max(x, 0), 0, t.Width(), lineHeight_ - 1});
  if (collapsed && !captioned) {
    // The hidden lines: a box with three dots after the text.
    bc->Pen()->SetColor(codeFolding_->LineColor());
    bc->Pen()->SetWidth(1);
    bc->Brush()->SetColor(bkColor_);
    bc->Rectangle(x + 5, 0, x + 30, lineHeight_);
    bc->Brush()->SetColor(codeFolding_->LineColor());
    for (Integer dot : {9, 17, 25}) bc->FillRect({x + dot, lineHeight_ - 6, x + dot + 2, lineHeight_ - 4});
  }

  if (prop) {
    for (Integer i = 0; i < prop->UnderlineStarts.Count() && i < prop->UnderlineLengths.Count(); ++i) {
      Integer s = prop->UnderlineStarts.Items(i), n = prop->UnderlineLengths.Items(i);
      Integer a = std::max(s - leftCol_, 0), b = std::max(s + n - leftCol_, 0);
      if (a != b) WavyLine(bc, {a * charWidth_, 0, b * charWidth_, lineHeight_ - 2});
    }
  }
  if (blockShow_ && blockLineColor_ != vcl::clNone) {
    auto mark = [&](Integer col, Integer len) {
      bc->Pen()->SetColor(blockLineColor_);
      bc->MoveTo((col - leftCol_) * charWidth_, lineHeight_ - 2);
      bc->LineTo((col + len - leftCol_) * charWidth_, lineHeight_ - 2);
    };
    if (line == blockStartLine_ && blockStartCol_ >= 0) mark(blockStartCol_, blockStartLen_);
    if (line == blockEndLine_ && blockEndCol_ >= 0) mark(blockEndCol_, blockEndLen_);
  }
  canvas->CopyRect(rowRect, bc, {0, 0, t.Width(), lineHeight_});
}

void TLumCustomMemo::DrawFoldingStrip(TCanvas* canvas, Integer line, Integer row) {
  TLineProp* prop = TextStore()->GetLineProp(line);
  if (!prop) return;
  const Integer x = TextRect().Left - 16;
  const Integer y = CellRect(0, std::max(row, 0)).Top;
  const Integer h = lineHeight_;
  const Integer m = (h - 9) / 2;
  const bool collapsed = prop->RegionStart && !prop->Expanded;
  canvas->Pen()->SetStyle(vcl::psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(codeFolding_->LineColor());
  if (prop->InRegion) {
    bool toLastLine = collapsed && RegionEndLine(line) == LineCount() - 1;
    canvas->MoveTo(x + 6, y);
    canvas->LineTo(x + 6, toLastLine ? y + m : y + h);
  }
  if (prop->RegionEndCount() > 0) {
    canvas->MoveTo(x + 6, y + h - 1);
    canvas->LineTo(x + 10, y + h - 1);
  }
  if (!prop->RegionStart) return;
  if (!collapsed) {
    canvas->MoveTo(x + 6, y + m + 9);
    canvas->LineTo(x + 6, y + h);
  }
  vcl::TBitmap* glyph = collapsed ? codeFolding_->ExpandGlyph() : codeFolding_->CollapsedGlyph();
  if (glyph && !glyph->Empty()) {
    if (glyph->Width() > 16)
      canvas->StretchDraw({x, y + m, x + 16, y + m + 9}, glyph);
    else
      canvas->Draw(x + 2, y + m, glyph);
    return;
  }
  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Brush()->SetColor(bkColor_);
  canvas->Rectangle(x + 2, y + m, x + 11, y + m + 9);
  canvas->MoveTo(x + 4, y + m + 4);
  canvas->LineTo(x + 9, y + m + 4);
  if (collapsed) {
    canvas->MoveTo(x + 6, y + m + 2);
    canvas->LineTo(x + 6, y + m + 7);
  }
}

void TLumCustomMemo::WavyLine(TCanvas* canvas, const TRect& r) {
  canvas->Pen()->SetColor(vcl::clRed);
  canvas->Pen()->SetWidth(1);
  Integer x = r.Left - (((r.Left % 2) + 2) % 2);
  bool down = (x / 2) % 2 == 0;
  canvas->MoveTo(x, down ? r.Bottom + 1 : r.Bottom - 1);
  while (x < r.Right) {
    x += 2;
    down = !down;
    canvas->LineTo(x, down ? r.Bottom + 1 : r.Bottom - 1);
  }
}

void TLumCustomMemo::GradientFill(TCanvas* canvas, TColor from, TColor to, bool horizontal, const TRect& r,
                                  Integer steps) {
  steps = std::max(steps, 1);
  from = vcl::ColorToRGB(from);
  to = vcl::ColorToRGB(to);
  Integer extent = horizontal ? r.Width() : r.Height();
  Integer band = (extent + steps - 1) / steps;
  for (Integer i = 0; i < steps; ++i) {
    auto mix = [&](int shift) {
      int a = static_cast<int>((from >> shift) & 0xFF), b = static_cast<int>((to >> shift) & 0xFF);
      int v = steps > 1 ? a + (b - a) * i / (steps - 1) : a;
      return static_cast<TColor>(v) << shift;
    };
    TColor c = mix(0) | mix(8) | mix(16);
    canvas->Pen()->SetColor(c);
    canvas->Brush()->SetColor(c);
    TRect b = horizontal ? TRect{r.Left + i * band, r.Top, std::min(r.Left + (i + 1) * band, r.Right), r.Bottom}
                         : TRect{r.Left, r.Top + i * band, r.Right, std::min(r.Top + (i + 1) * band, r.Bottom)};
    if (b.Right > b.Left && b.Bottom > b.Top) canvas->Rectangle(b);
  }
}

void TLumCustomMemo::Draw3DFrame(TCanvas* canvas, const TRect& r, Integer kind) {
  static const TColor kColours[4][4] = {{0xD0D0D0, 0xFFFFFF, 0x808080, 0x000000},
                                        {0x808080, 0x000000, 0xD0D0D0, 0xFFFFFF},
                                        {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x808080},
                                        {0x808080, 0xFFFFFF, 0xFFFFFF, 0x808080}};
  const TColor* c = kColours[std::clamp(kind, 0, 3)];
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(c[0]);
  canvas->MoveTo(r.Left, r.Bottom - 1);
  canvas->LineTo(r.Left, r.Top);
  canvas->LineTo(r.Right, r.Top);
  if (kind == 0 || kind == 1) {
    canvas->Pen()->SetColor(c[1]);
    canvas->MoveTo(r.Left + 1, r.Bottom - 2);
    canvas->LineTo(r.Left + 1, r.Top + 1);
    canvas->LineTo(r.Right - 1, r.Top + 1);
    canvas->Pen()->SetColor(c[2]);
    canvas->MoveTo(r.Left + 1, r.Bottom - 2);
    canvas->LineTo(r.Right - 2, r.Bottom - 2);
    canvas->LineTo(r.Right - 2, r.Top + 1);
  }
  canvas->Pen()->SetColor(c[3]);
  canvas->MoveTo(r.Left, r.Bottom - 1);
  canvas->LineTo(r.Right - 1, r.Bottom - 1);
  canvas->LineTo(r.Right - 1, r.Top);
}

}  // namespace memo
