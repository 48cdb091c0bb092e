#include "vcl/RichEdit.h"

#include <algorithm>
#include <cmath>

namespace vcl {

namespace {

// The default tab stops of a rich-text document: every half inch.
constexpr Integer RichTabTwips = 720;

bool LooksLikeRichText(const AnsiString& text) { return text.size() >= 2 && text[0] == '{' && text[1] == '\\'; }

}  // namespace

TRichEdit::TRichEdit(TComponent* owner) : TCustomControl(owner) {}

void TRichEdit::LoadRichText(const AnsiString& rtf) {
  if (rtf.empty()) {
    Clear();
    return;
  }
  if (LooksLikeRichText(rtf)) {
    document_ = rtl::ReadRichText(rtf);
  } else {
    document_ = {};
    rtl::TRichTextRun run;
    run.Text = rtf;
    document_.Runs.push_back(run);
  }
  Invalidate();
}

void TRichEdit::Clear() {
  document_ = {};
  Invalidate();
}

void TRichEdit::SetWordWrap(bool v) {
  if (wordWrap_ == v) return;
  wordWrap_ = v;
  Invalidate();
}

void TRichEdit::SetAllTextColor(TColor color) {
  if (allTextColor_ == color) return;
  allTextColor_ = color;
  Invalidate();
}

void TRichEdit::GetStartFont(TFont* font) {
  font->Assign(Font());
  if (document_.Runs.empty()) return;
  const rtl::TRichTextRun& first = document_.Runs.front();
  if (first.FontSize > 0) font->SetSize(static_cast<Integer>(std::lround(first.FontSize)));
  TFontStyles style;
  if (first.Bold) style.Include(fsBold);
  if (first.Italic) style.Include(fsItalic);
  if (first.Underline) style.Include(fsUnderline);
  font->SetStyle(style);
}

void TRichEdit::ApplyRunFont(TCanvas* canvas, const TFont& base, size_t index) const {
  const rtl::TRichTextRun& run = document_.Runs[index];
  TFont* font = canvas->Font();
  font->Assign(&base);
  if (run.FontSize > 0) font->SetSize(static_cast<Integer>(std::lround(run.FontSize)));
  TFontStyles style = base.Style();
  if (run.Bold) style.Include(fsBold);
  if (run.Italic) style.Include(fsItalic);
  if (run.Underline) style.Include(fsUnderline);
  font->SetStyle(style);
  if (allTextColor_ != clNone)
    font->SetColor(allTextColor_);
  else if (run.Color >= 0)
    font->SetColor(static_cast<TColor>(run.Color));
}

std::vector<TRichEdit::TLine> TRichEdit::Layout(TCanvas* canvas, Integer width) {
  TFont base;
  base.Assign(Font());
  TFont kept;
  kept.Assign(canvas->Font());
  const Integer tabWidth = std::max<Integer>(1, RichTabTwips * base.PixelsPerInch() / 1440);
  const bool wrap = wordWrap_ && width > 0;

  std::vector<TLine> lines(1);
  auto finishMetrics = [&](TLine& line) {
    if (line.Height == 0) {
      canvas->Font()->Assign(&base);
      const TTextMetrics m = canvas->GetTextMetrics();
      line.Height = m.Height;
      line.Ascent = m.Ascent;
    }
  };
  auto place = [&](size_t run, const AnsiString& text, bool breakable) {
    ApplyRunFont(canvas, base, run);
    const TTextMetrics m = canvas->GetTextMetrics();
    TLine* line = &lines.back();
    Integer w;
    if (text == "\t") {
      w = tabWidth - line->Width % tabWidth;
    } else {
      w = canvas->TextWidth(text);
    }
    if (wrap && breakable && !line->Pieces.empty() && line->Width + w > width) {
      finishMetrics(*line);
      lines.emplace_back();
      line = &lines.back();
      if (text == "\t") w = tabWidth;
    }
    // Blanks that end a wrapped line take no room on the next.
    if (text == " " && wrap && line->Pieces.empty() && lines.size() > 1) return;
    line->Pieces.push_back({text == "\t" ? AnsiString() : text, run, line->Width, w});
    line->Width += w;
    line->Height = std::max(line->Height, m.Height);
    line->Ascent = std::max(line->Ascent, m.Ascent);
  };

  for (size_t i = 0; i < document_.Runs.size(); ++i) {
    const AnsiString& text = document_.Runs[i].Text;
    size_t pos = 0;
    while (pos < text.size()) {
      const char c = text[pos];
      if (c == '\r' || c == '\n') {
        // A paragraph or line end: "\r\n", or either alone.
        if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
        ++pos;
        if (lines.back().Height == 0) {
          ApplyRunFont(canvas, base, i);
          const TTextMetrics m = canvas->GetTextMetrics();
          lines.back().Height = m.Height;
          lines.back().Ascent = m.Ascent;
        }
        lines.emplace_back();
        continue;
      }
      if (c == '\t') {
        place(i, "\t", true);
        ++pos;
        continue;
      }
      if (c == ' ') {
        place(i, " ", false);
        ++pos;
        continue;
      }
      size_t end = pos;
      while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\r' && text[end] != '\n')
        ++end;
      // A word that continues the previous piece without a blank (a style
      // change inside a word) does not break from it.
      const TLine& line = lines.back();
      const bool joined = !line.Pieces.empty() && !line.Pieces.back().Text.empty() &&
                          line.Pieces.back().Text.back() != ' ';
      place(i, text.substr(pos, end - pos), !joined);
      pos = end;
    }
  }
  finishMetrics(lines.back());
  canvas->Font()->Assign(&kept);
  return lines;
}

Integer TRichEdit::DrawTo(TCanvas* canvas, const TRect& r) {
  if (document_.Runs.empty()) return 0;
  const std::vector<TLine> lines = Layout(canvas, r.Right - r.Left);
  TFont base;
  base.Assign(Font());
  TFont kept;
  kept.Assign(canvas->Font());
  const TBrushStyle keptBrush = canvas->Brush()->Style();
  canvas->Brush()->SetStyle(bsClear);
  const Integer saved = canvas->SaveDC();
  canvas->IntersectClipRect(r);
  Integer y = r.Top;
  for (const TLine& line : lines) {
    if (y >= r.Bottom) break;
    for (const TPiece& piece : line.Pieces) {
      if (piece.Text.empty()) continue;
      ApplyRunFont(canvas, base, piece.Run);
      const TTextMetrics m = canvas->GetTextMetrics();
      canvas->TextOut(r.Left + piece.X, y + line.Ascent - m.Ascent, piece.Text);
    }
    y += line.Height;
  }
  canvas->RestoreDC(saved);
  canvas->Brush()->SetStyle(keptBrush);
  canvas->Font()->Assign(&kept);
  return y - r.Top;
}

Integer TRichEdit::FormatRange(TCanvas* canvas, const TRect& twips, Integer dpiX, Integer dpiY) {
  auto px = [](Integer t, Integer dpi) { return static_cast<Integer>(std::lround(t * static_cast<double>(dpi) / 1440)); };
  return DrawTo(canvas, {px(twips.Left, dpiX), px(twips.Top, dpiY), px(twips.Right, dpiX), px(twips.Bottom, dpiY)});
}

TSize TRichEdit::RequestSize(TCanvas* canvas, Integer width) {
  const std::vector<TLine> lines = Layout(canvas, width);
  TSize size{0, 0};
  for (const TLine& line : lines) {
    size.cx = std::max(size.cx, line.Width);
    size.cy += line.Height;
  }
  if (document_.Runs.empty()) size.cy = 0;
  return size;
}

void TRichEdit::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(ClientRect());
  DrawTo(canvas, ClientRect());
}

}  // namespace vcl
