#include "grid/model/CellText.h"

#include <algorithm>

#include "rtl/Strings.h"

namespace grid {

namespace {

Cardinal HorizontalFlag(TAlignment a) {
  return a == taRightJustify ? drawtext::Right : a == taCenter ? drawtext::Center : drawtext::Left;
}

Cardinal VerticalFlag(TVAlignment a) {
  return a == vtaBottom ? drawtext::Bottom : a == vtaCenter ? drawtext::VCenter : drawtext::Top;
}

// One "*" per character (not per byte).
AnsiString Masked(const AnsiString& text) {
  AnsiString out;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) out += '*';
  return out;
}

}  // namespace

TCellTextPlan PlanCellText(const TCellTextInput& in) {
  TCellTextPlan plan;
  plan.Shown = in.Text;
  plan.Kind = GetTextKind(plan.Shown, in.EnableHTML);
  if (plan.Kind == TTextKind::tkFormula) {
    plan.Shown = in.FilterText;
    plan.Kind = GetTextKind(plan.Shown, in.EnableHTML);
  }
  if (in.Password) plan.Shown = Masked(plan.Shown);
  const Cardinal aligned = HorizontalFlag(in.HAlign) | VerticalFlag(in.VAlign);
  switch (plan.Kind) {
    case TTextKind::tkHTML:
    case TTextKind::tkRTF:
      return plan;
    case TTextKind::tkWide:
      plan.Flags = aligned | drawtext::NoPrefix | drawtext::EndEllipsis |
                   (in.WordWrap || in.Multilinecells ? drawtext::WordBreak : drawtext::SingleLine);
      return plan;
    default:
      break;
  }
  if (in.URLShow && HasURLScheme(plan.Shown)) {
    plan.Link = true;
    if (!in.URLFull) StripURLScheme(plan.Shown);
  }
  Cardinal flags = drawtext::EditControl;
  // Without multi-line cells a text counts as one line whatever it holds.
  const bool oneLine = !in.Multilinecells || plan.Shown.find('\r') == AnsiString::npos;
  if (oneLine && !in.WordWrap) {
    const size_t cr = plan.Shown.find('\r');
    if (cr != AnsiString::npos) plan.Shown.erase(cr);
    flags = drawtext::SingleLine | (in.EnhTextSize ? drawtext::EndEllipsis : 0);
  } else if (in.WordWrap && !in.Multilinecells && in.EnhTextSize) {
    flags |= drawtext::EndEllipsis;
  }
  const Cardinal wrap =
      in.WordWrap ? drawtext::WordBreak | drawtext::EditControl : in.Multilinecells ? 0 : drawtext::SingleLine;
  plan.Flags = flags | drawtext::ExpandTabs | drawtext::NoPrefix | wrap | aligned |
               (in.RightToLeft ? drawtext::RtlReading : 0);
  return plan;
}

TTextLayout PlanPlainTextLayout(const TTextLayoutInput& in) {
  TTextLayout out;
  TTextRect rt = in.Text;
  if (in.HAlign == taCenter && in.SortIndicator) rt.Left += 10;
  if (in.HAlign == taLeftJustify)
    rt.Right -= in.SortSpace;
  else
    rt.Left += in.SortSpace;
  if (in.FilterGlyph) rt.Right -= 16;
  out.Text = rt;
  if (!in.SortIndicator || !in.SortIndicatorDrawn) return out;
  TTextRect c = in.Content;
  if (in.FilterGlyph) c.Right -= 16;
  const Integer w = std::max<Integer>(0, std::min<Integer>(c.Right - c.Left - 16, in.TextWidth));
  out.Indicator = true;
  switch (in.HAlign) {
    case taLeftJustify: out.IndicatorX = c.Left + w + 10 + in.GraphicOffset; break;
    case taRightJustify: out.IndicatorX = c.Right - w - 10; break;
    case taCenter: out.IndicatorX = c.Left + 8; break;
  }
  switch (in.VAlign) {
    case vtaTop: out.IndicatorY = c.Top + 8; break;
    case vtaCenter: out.IndicatorY = c.Top + (c.Bottom - c.Top) / 2; break;
    case vtaBottom: out.IndicatorY = c.Bottom - 8; break;
  }
  return out;
}

}  // namespace grid
