// Text laid out in a rectangle: lines, word breaks, alignment, tab stops,
// '&' prefixes and end ellipses. Everything is measured through the
// canvas's own TextExtent and GetTextMetrics and drawn through TextOut and
// FillRect, so a measuring or recording canvas lays text out the same way.
#include <algorithm>

#include "vcl/Graphics.h"

namespace vcl {

namespace {

struct Line {
  AnsiString text;
  size_t underline = AnsiString::npos;  // byte offset of the prefixed character
};

size_t NextChar(const AnsiString& s, size_t i) {
  ++i;
  while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
  return i;
}

size_t PrevChar(const AnsiString& s, size_t i) {
  if (i == 0) return 0;
  --i;
  while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) --i;
  return i;
}

class Layout {
 public:
  Layout(TCanvas* canvas, Cardinal format) : canvas_(canvas), format_(format) {
    TTextMetrics tm = canvas->GetTextMetrics();
    lineHeight_ = tm.Height;
    ascent_ = tm.Ascent;
    // Tab stops every eight average characters from the line's start.
    tabWidth_ = std::max<Integer>(1, 8 * tm.AveCharWidth);
  }

  Integer LineHeight() const { return lineHeight_; }
  Integer Ascent() const { return ascent_; }
  Integer TabWidth() const { return tabWidth_; }
  bool ExpandTabs() const { return format_ & DT_EXPANDTABS; }

  // The width of s as drawn from a line's start.
  Integer Width(const AnsiString& s) const {
    if (!ExpandTabs() || s.find('\t') == AnsiString::npos) return s.empty() ? 0 : canvas_->TextExtent(s).cx;
    Integer x = 0;
    size_t start = 0;
    for (;;) {
      size_t tab = s.find('\t', start);
      AnsiString part = s.substr(start, tab == AnsiString::npos ? AnsiString::npos : tab - start);
      if (!part.empty()) x += canvas_->TextExtent(part).cx;
      if (tab == AnsiString::npos) return x;
      x = (x / tabWidth_ + 1) * tabWidth_;
      start = tab + 1;
    }
  }

  std::vector<Line> Lines(const AnsiString& text, Integer width) const {
    std::vector<AnsiString> paragraphs;
    if (format_ & DT_SINGLELINE) {
      paragraphs.push_back(text);
    } else {
      size_t start = 0;
      for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
          paragraphs.push_back(text.substr(start, i - start));
          if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
          start = i + 1;
        }
      }
      // A final line break opens no further line.
      if (paragraphs.size() > 1 && paragraphs.back().empty()) paragraphs.pop_back();
    }
    std::vector<Line> lines;
    for (const AnsiString& para : paragraphs) {
      Line plain = StripPrefix(para);
      if ((format_ & DT_WORDBREAK) && !(format_ & DT_SINGLELINE)) {
        Wrap(plain, width, lines);
      } else {
        lines.push_back(plain);
      }
    }
    // Only the end of the text gets the dots; a wider line before it is
    // cut at the rectangle's edge like any other overflow.
    if ((format_ & DT_END_ELLIPSIS) && !lines.empty()) Ellipsize(lines.back(), width);
    return lines;
  }

 private:
  Line StripPrefix(const AnsiString& s) const {
    Line out;
    if (format_ & DT_NOPREFIX) {
      out.text = s;
      return out;
    }
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] != '&') {
        out.text += s[i];
        continue;
      }
      if (i + 1 < s.size() && s[i + 1] == '&') {
        out.text += '&';
        ++i;
      } else if (i + 1 < s.size() && out.underline == AnsiString::npos && !(format_ & DT_HIDEPREFIX)) {
        out.underline = out.text.size();
      }
    }
    return out;
  }

  // Greedy breaking at spaces; a word wider than the line stays whole.
  void Wrap(const Line& para, Integer width, std::vector<Line>& lines) const {
    const AnsiString& s = para.text;
    size_t start = 0;
    if (s.empty()) {
      lines.push_back(para);
      return;
    }
    while (start < s.size()) {
      size_t best = AnsiString::npos;
      size_t i = start;
      while (i <= s.size()) {
        // The end of the next word.
        while (i < s.size() && s[i] == ' ') ++i;
        while (i < s.size() && s[i] != ' ') ++i;
        size_t end = i;
        while (end > start && s[end - 1] == ' ') --end;
        if (best == AnsiString::npos || Width(s.substr(start, end - start)) <= width) {
          best = end;
        } else {
          break;
        }
        if (i >= s.size()) break;
      }
      Line line;
      line.text = s.substr(start, best - start);
      if (para.underline != AnsiString::npos && para.underline >= start && para.underline < best)
        line.underline = para.underline - start;
      lines.push_back(line);
      start = best;
      while (start < s.size() && s[start] == ' ') ++start;
    }
  }

  void Ellipsize(Line& line, Integer width) const {
    if (Width(line.text) <= width) return;
    static const AnsiString kDots = "...";
    size_t end = line.text.size();
    while (end > 0 && Width(line.text.substr(0, end) + kDots) > width) end = PrevChar(line.text, end);
    line.text = line.text.substr(0, end) + kDots;
    if (line.underline != AnsiString::npos && line.underline >= end) line.underline = AnsiString::npos;
  }

  TCanvas* canvas_;
  Cardinal format_;
  Integer lineHeight_ = 0;
  Integer ascent_ = 0;
  Integer tabWidth_ = 1;
};

}  // namespace

Integer TCanvas::DrawText(const AnsiString& text, TRect& r, Cardinal format) {
  Layout layout(this, format);
  std::vector<Line> lines = layout.Lines(text, r.Width());
  if (text.empty()) lines.clear();
  Integer height = static_cast<Integer>(lines.size()) * layout.LineHeight();
  Integer widest = 0;
  for (const Line& l : lines) widest = std::max(widest, layout.Width(l.text));

  if (format & DT_CALCRECT) {
    r.Right = r.Left + widest;
    r.Bottom = r.Top + height;
    return height;
  }

  bool single = format & DT_SINGLELINE;
  Integer y = r.Top;
  if (single && (format & DT_VCENTER)) y = r.Top + (r.Height() - height) / 2;
  if (single && (format & DT_BOTTOM)) y = r.Bottom - height;
  Integer result = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? y + height - r.Top : height;
  if (lines.empty()) return result;

  bool clip = !(format & DT_NOCLIP);
  if (clip) {
    SaveDC();
    IntersectClipRect(r);
  }
  TPoint savedPos = penPos_;
  for (const Line& l : lines) {
    Integer w = layout.Width(l.text);
    Integer x = r.Left;
    if (format & DT_CENTER) x = r.Left + (r.Width() - w) / 2;
    if (format & DT_RIGHT) x = r.Right - w;
    if (layout.ExpandTabs() && l.text.find('\t') != AnsiString::npos) {
      size_t start = 0;
      for (;;) {
        size_t tab = l.text.find('\t', start);
        AnsiString part = l.text.substr(start, tab == AnsiString::npos ? AnsiString::npos : tab - start);
        if (!part.empty()) TextOut(x + layout.Width(l.text.substr(0, start)), y, part);
        if (tab == AnsiString::npos) break;
        start = tab + 1;
      }
    } else if (!l.text.empty()) {
      TextOut(x, y, l.text);
    }
    if (l.underline != AnsiString::npos && l.underline < l.text.size()) {
      Integer u0 = x + layout.Width(l.text.substr(0, l.underline));
      Integer u1 = x + layout.Width(l.text.substr(0, NextChar(l.text, l.underline)));
      Integer uy = y + layout.Ascent() + 1;
      TBrush saved;
      saved.Assign(&brush_);
      brush_.SetColor(font_.Color());
      brush_.SetStyle(bsSolid);
      FillRect(Rect(u0, uy, u1, uy + 1));
      brush_.Assign(&saved);
    }
    y += layout.LineHeight();
  }
  penPos_ = savedPos;
  if (clip) RestoreDC(-1);
  return result;
}

}  // namespace vcl
