// GDI+ strings: the hot-key prefix, line breaks, wrapping, trimming and
// alignment in the layout rectangle, with 1/6 em of padding at both ends.
// Layout measures only through the canvas, so a stand-in canvas lays out
// with its own metrics.
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <limits>

#include "vcl/GdiPlusObjects.h"
#include "vcl/QtCanvas.h"

namespace vcl {

namespace {

constexpr char16_t kEllipsis = u'\u2026';

struct TextLayoutLine {
  WideString text;
  Integer underlined = -1;  // index in text, or -1
  double width = 0;
  double x = 0, top = 0;
};

struct Layout {
  std::vector<TextLayoutLine> lines;
  GpRectF box;
  int32_t fitted = 0;  // characters of the source text laid out
};

// The text with its hot-key prefixes applied: the characters drawn, the
// source index of each, and the marked (underlined) ones.
struct Prepared {
  WideString text;
  std::vector<int32_t> source;  // per character of text
  std::vector<bool> marked;
  int32_t sourceLength = 0;
};

Prepared Prefixed(const WideString& text, int32_t prefix) {
  Prepared p;
  p.sourceLength = static_cast<int32_t>(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t ch = text[i];
    bool mark = false;
    if (prefix != HotkeyPrefixNone && ch == u'&' && i + 1 < text.size()) {
      ++i;
      ch = text[i];
      mark = ch != u'&' && prefix == HotkeyPrefixShow;
    }
    p.text.push_back(ch);
    p.source.push_back(static_cast<int32_t>(i));
    p.marked.push_back(mark);
  }
  return p;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

class Layouter {
 public:
  Layouter(TCanvas* canvas, const GpFont* font, const GpStringFormat& format)
      : canvas_(canvas), font_(font), format_(format) {}

  double Width(const WideString& s) { return s.empty() ? 0 : canvas_->GdipTextAdvance(font_, s); }

  Layout Run(const WideString& source, const GpRectF& rect) {
    Prepared prep = Prefixed(source, format_.hotkeyPrefix);
    TGdipFontMetrics m = canvas_->GdipFontMetrics(font_);
    double pad = font_->PixelSize() / 6;
    bool wrap = rect.Width > 0 && !(format_.flags & StringFormatFlagsNoWrap);
    double room = rect.Width > 0 ? std::max(0.0, rect.Width - 2 * pad) : std::numeric_limits<double>::infinity();

    // Lines: (start, end) in prep.text, end exclusive, before trimming.
    struct Span {
      size_t start, end;
    };
    std::vector<Span> spans;
    size_t i = 0, n = prep.text.size();
    while (i <= n) {
      size_t e = i;
      while (e < n && prep.text[e] != u'\n' && prep.text[e] != u'\r') ++e;
      if (wrap)
        WrapParagraph(prep.text, i, e, room, spans);
      else
        spans.push_back({i, e});
      if (e >= n) break;
      i = e + (prep.text[e] == u'\r' && e + 1 < n && prep.text[e + 1] == u'\n' ? 2 : 1);
      if (i == n) break;  // a final line break starts no empty line
    }
    if (n == 0) spans.clear();

    size_t visible = spans.size();
    if (rect.Height > 0 && m.LineSpacing > 0) {
      double fit = rect.Height / m.LineSpacing;
      size_t limit = static_cast<size_t>(format_.flags & StringFormatFlagsLineLimit ? std::floor(fit + 1e-9)
                                                                                    : std::ceil(fit - 1e-9));
      visible = std::min(visible, limit);
    }

    Layout out;
    for (size_t k = 0; k < visible; ++k) {
      TextLayoutLine line;
      size_t s = spans[k].start, e = spans[k].end;
      line.text = prep.text.substr(s, e - s);
      for (size_t c = s; c < e && line.underlined < 0; ++c)
        if (prep.marked[c]) line.underlined = static_cast<Integer>(c - s);
      bool cut = k + 1 == visible && visible < spans.size();
      double width = Width(Trailing(line.text));
      if ((cut || width > room) && format_.trimming != StringTrimmingNone && room < std::numeric_limits<double>::infinity())
        Trim(line, room, cut);
      line.width = Width(Trailing(line.text));
      out.lines.push_back(line);
      out.fitted = e < prep.text.size() ? prep.source[e] : prep.sourceLength;
    }
    if (visible == spans.size()) out.fitted = prep.sourceLength;

    // Placement.
    double total = static_cast<double>(out.lines.size()) * m.LineSpacing;
    double top = rect.Y;
    if (format_.lineAlign == StringAlignmentCenter)
      top = rect.Height > 0 ? rect.Y + (rect.Height - total) / 2 : rect.Y - total / 2;
    else if (format_.lineAlign == StringAlignmentFar)
      top = rect.Height > 0 ? rect.Y + rect.Height - total : rect.Y - total;
    double left = std::numeric_limits<double>::infinity(), widest = 0;
    for (size_t k = 0; k < out.lines.size(); ++k) {
      TextLayoutLine& line = out.lines[k];
      line.top = top + static_cast<double>(k) * m.LineSpacing;
      if (format_.align == StringAlignmentCenter)
        line.x = rect.Width > 0 ? rect.X + (rect.Width - line.width) / 2 : rect.X - line.width / 2;
      else if (format_.align == StringAlignmentFar)
        line.x = rect.Width > 0 ? rect.X + rect.Width - pad - line.width : rect.X - pad - line.width;
      else
        line.x = rect.X + pad;
      left = std::min(left, line.x);
      widest = std::max(widest, line.width);
    }
    if (out.lines.empty())
      out.box = {rect.X, rect.Y, 0, 0};
    else
      out.box = {REAL(left - pad), REAL(top), REAL(widest + 2 * pad), REAL(total)};
    return out;
  }

 private:
  // The text without its trailing blanks (unless they are to be measured).
  WideString Trailing(const WideString& s) const {
    if (format_.flags & StringFormatFlagsMeasureTrailingSpaces) return s;
    size_t e = s.size();
    while (e > 0 && IsSpace(s[e - 1])) --e;
    return s.substr(0, e);
  }

  // Greedy breaks at blanks; a word wider than the room breaks between
  // characters. Blanks at a break stay at the end of the line.
  template <typename SpanVec>
  void WrapParagraph(const WideString& t, size_t start, size_t end, double room, SpanVec& spans) {
    if (start == end) {
      spans.push_back({start, end});
      return;
    }
    size_t lineStart = start;
    while (lineStart < end) {
      size_t lastBreak = 0;  // end of a fitting prefix that ends after blanks
      size_t pos = lineStart;
      size_t fitEnd = lineStart;
      while (pos < end) {
        size_t wordEnd = pos;
        while (wordEnd < end && IsSpace(t[wordEnd])) ++wordEnd;
        while (wordEnd < end && !IsSpace(t[wordEnd])) ++wordEnd;
        if (Width(Trailing(t.substr(lineStart, wordEnd - lineStart))) <= room + 1e-6) {
          fitEnd = wordEnd;
          size_t blanks = wordEnd;
          while (blanks < end && IsSpace(t[blanks])) ++blanks;
          lastBreak = blanks;
          pos = blanks;
          if (pos >= end) break;
        } else {
          break;
        }
      }
      if (fitEnd == lineStart) {
        // Not even the first word fits: as many characters as fit, at
        // least one.
        size_t c = lineStart + 1;
        while (c < end && !IsSpace(t[c]) && Width(t.substr(lineStart, c + 1 - lineStart)) <= room + 1e-6) ++c;
        spans.push_back({lineStart, c});
        lineStart = c;
        while (lineStart < end && IsSpace(t[lineStart])) ++lineStart;
        continue;
      }
      size_t next = lastBreak > fitEnd ? lastBreak : fitEnd;
      spans.push_back({lineStart, next});
      lineStart = next;
    }
  }

  // Shortens a line to the room by the format's trimming; cut means more
  // text follows it that is not shown.
  void Trim(TextLayoutLine& line, double room, bool cut) {
    WideString t = Trailing(line.text);
    StringTrimming how = format_.trimming;
    bool ellipsis = how == StringTrimmingEllipsisCharacter || how == StringTrimmingEllipsisWord ||
                    how == StringTrimmingEllipsisPath;
    auto fits = [&](const WideString& s) { return Width(s) <= room + 1e-6; };
    if (how == StringTrimmingEllipsisPath) {
      // Keep the last path element whole where possible and as much of the
      // start as fits, with the ellipsis between them.
      size_t sep = t.find_last_of(u"\\/");
      WideString tail = sep == WideString::npos ? WideString() : t.substr(sep);
      WideString head = t.substr(0, t.size() - tail.size());
      while (!head.empty() && !fits(head + kEllipsis + tail)) head.pop_back();
      while (head.empty() && !tail.empty() && !fits(WideString(1, kEllipsis) + tail)) tail.erase(0, 1);
      line.text = head + kEllipsis + tail;
    } else if (how == StringTrimmingWord || how == StringTrimmingEllipsisWord) {
      WideString s = t;
      auto shown = [&](const WideString& x) { return ellipsis ? x + kEllipsis : x; };
      while (!s.empty() && !fits(shown(s))) {
        size_t b = s.find_last_of(u" \t");
        s = b == WideString::npos ? s.substr(0, s.size() - 1) : Trailing(s.substr(0, b));
      }
      line.text = shown(s);
    } else {
      WideString s = t;
      auto shown = [&](const WideString& x) { return ellipsis ? x + kEllipsis : x; };
      while (!s.empty() && !fits(shown(s))) s.pop_back();
      line.text = shown(s);
    }
    if (line.underlined >= static_cast<Integer>(line.text.size())) line.underlined = -1;
    (void)cut;
  }

  TCanvas* canvas_;
  const GpFont* font_;
  const GpStringFormat& format_;
};

WideString TextOf(const char16_t* text, int32_t length) {
  if (length < 0) return WideString(text);
  return WideString(text, static_cast<size_t>(length));
}

// The device a canvas draws on, for font resolution.
const QPaintDevice& Device(TCanvas* canvas) {
  static QImage* fallback = new QImage(1, 1, QImage::Format_RGB32);  // lives as long as the process
  if (canvas->Surface() && canvas->Surface()->image) return *canvas->Surface()->image;
  return *fallback;
}

}  // namespace

GpStatus GdipDrawString(GpGraphics* g, const char16_t* text, int32_t length, GpFont* font, const GpRectF* layoutRect,
                        GpStringFormat* format, GpBrush* brush) {
  if (!g || !text || !font || !layoutRect || !brush) return InvalidParameter;
  GpStringFormat plain;
  Layout layout = Layouter(g->canvas, font, format ? *format : plain).Run(TextOf(text, length), *layoutRect);
  bool clipped = layoutRect->Width > 0 && layoutRect->Height > 0 &&
                 !((format ? format->flags : 0) & StringFormatFlagsNoClip);
  for (const TextLayoutLine& line : layout.lines)
    g->canvas->GdipDrawTextLine(g, font, brush, line.x, line.top, line.text, line.underlined,
                                clipped ? layoutRect : nullptr);
  return Ok;
}

GpStatus GdipMeasureString(GpGraphics* g, const char16_t* text, int32_t length, GpFont* font,
                           const GpRectF* layoutRect, GpStringFormat* format, GpRectF* boundingBox,
                           int32_t* codepointsFitted, int32_t* linesFilled) {
  if (!g || !text || !font || !layoutRect || !boundingBox) return InvalidParameter;
  GpStringFormat plain;
  Layout layout = Layouter(g->canvas, font, format ? *format : plain).Run(TextOf(text, length), *layoutRect);
  *boundingBox = layout.box;
  if (codepointsFitted) *codepointsFitted = layout.fitted;
  if (linesFilled) *linesFilled = static_cast<int32_t>(layout.lines.size());
  return Ok;
}

// --- The canvas's text entries ---

double TCanvas::GdipTextAdvance(const GpFont* font, const WideString& text) {
  const QPaintDevice& device = Device(this);
  QFontMetricsF m(font->ToQt(device.logicalDpiY(), true), &const_cast<QPaintDevice&>(device));
  return m.horizontalAdvance(QString::fromStdU16String(text));
}

TGdipFontMetrics TCanvas::GdipFontMetrics(const GpFont* font) {
  const QPaintDevice& device = Device(this);
  QFontMetricsF m(font->ToQt(device.logicalDpiY(), true), &const_cast<QPaintDevice&>(device));
  return {m.ascent(), m.descent(), m.lineSpacing()};
}

void TCanvas::GdipDrawTextLine(const GpGraphics* g, const GpFont* font, const GpBrush* brush, double x, double top,
                               const WideString& text, Integer underlined, const GpRectF* clip) {
  RequiredState();
  Changing();
  {
    SurfacePainter p(*Surface());
    p->translate(0.5, 0.5);
    if (!g->clip.infinite) p->setClipPath(g->clip.path, Qt::IntersectClip);
    p->translate(-0.5, -0.5);
    // Glyphs sit on the pixel grid, and so does their layout's clip.
    if (clip) p->setClipRect(QRectF(clip->X, clip->Y, clip->Width, clip->Height), Qt::IntersectClip);
    bool aa = g->TextAntiAliased();
    p->setRenderHint(QPainter::TextAntialiasing, aa);
    p->setRenderHint(QPainter::Antialiasing, aa);
    QFont f = font->ToQt(Surface()->image->logicalDpiY(), aa);
    p->setFont(f);
    QBrush fill = ToQtBrush(*brush);
    p->setPen(QPen(fill, 0));
    QFontMetricsF m(f, Surface()->image);
    QString s = QString::fromStdU16String(text);
    double baseline = top + m.ascent();
    p->drawText(QPointF(x, baseline), s);
    if (underlined >= 0 && underlined < s.size()) {
      double ux = x + m.horizontalAdvance(s.left(underlined));
      double uw = m.horizontalAdvance(s.mid(underlined, 1));
      double thick = std::max(1.0, m.lineWidth());
      p->fillRect(QRectF(ux, std::round(baseline + m.underlinePos()), uw, thick), fill);
    }
  }
  Changed();
}

}  // namespace vcl
