// Where a cell's graphic goes and how each kind is drawn: check boxes and
// radio buttons in the control look's styles, radio groups, buttons,
// progress bars, pies, range indicators, comments, shapes, ratings,
// bitmaps and images.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "grid/GridComponent.h"
#include "grid/draw/GridDraw.h"
#include "rtl/Convert.h"
#include "vcl/Gdi.h"
#include "vcl/Graphics.h"
#include "vcl/ImgList.h"
#include "vcl/UxTheme.h"

namespace grid {

namespace {

TColor SlotColor(const void* slot) { return static_cast<TColor>(reinterpret_cast<uintptr_t>(slot)); }

bool IsCheckKind(TCellType t) {
  return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

// The numbers of a cell's text, 0 when it holds none.
double CellNumber(TVadOdizadEzev* grid, Integer col, Integer row) {
  try {
    return grid->Model().FloatCells(col, row);
  } catch (const rtl::Exception&) {
    return 0;
  }
}

// A check box or radio button in the classic, flat, XP or RUZ look: the
// first two draw the frame control in the box, the other two take their
// bitmap (RUZ 1-4, XP 5-8: checked, unchecked, then the same disabled).
void DrawToggleInLook(TCanvas* canvas, TControlStyle style, TRect box, const TRect& bitmapRect,
                      Cardinal frameKind, const char* bitmapPrefix, bool checked, bool enabled) {
  if (style == csClassic || style == csFlat) {
    Cardinal state = frameKind;
    if (checked) state |= vcl::DFCS_CHECKED;
    if (style == csFlat) state |= vcl::DFCS_FLAT;
    if (!enabled) state |= vcl::DFCS_INACTIVE;
    canvas->DrawFrameControl(box, vcl::DFC_BUTTON, state);
    return;
  }
  const Integer first = style == csWinXP ? 5 : 1;
  const Integer index = first + (checked ? 0 : 1) + (enabled ? 0 : 2);
  DrawResourceBitmap(canvas, canvas->Brush()->Color(), bitmapRect, bitmapPrefix + std::to_string(index));
}

}  // namespace

TVadOdizadEzev::TCellGraphicLayout TVadOdizadEzev::GetCellGraphicLayout(Integer col, Integer row) {
  TCellGraphicLayout l;
  TCellControlHost& controls = CellControlState();
  TCellGraphic* g = controls.GetCellGraphic(col, row);
  if (g == nullptr) return l;
  l.Graphic = g;
  l.VAlign = g->CellVAlign;
  l.HAlign = g->CellHAlign;
  const Integer check = controlLook_->CheckSize();
  auto imageSize = [&]() { return gridImages_ ? TExtent{gridImages_->Width(), gridImages_->Height()} : TExtent{}; };
  switch (g->CellType) {
    case ctBitmap:
      if (auto* b = static_cast<vcl::TBitmap*>(g->CellBitmap())) l.Size = {b->Width(), b->Height()};
      break;
    case ctImageList:
      l.Size = imageSize();
      break;
    case ctDataImage:
      l.Size = imageSize();
      l.DrawText = false;
      break;
    case ctCheckBox:
      l.Size = {check, check};
      break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
      l.Size = {check, check};
      l.DrawText = false;
      break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
      l.DrawText = false;
      break;
    case ctImages: {
      const auto* list = static_cast<const TIntList*>(g->CellBitmap());
      const Integer n = list ? list->Count() : 0;
      const TExtent s = imageSize();
      l.Size = g->CellBoolean ? TExtent{n * s.Width, s.Height} : TExtent{s.Width, n * s.Height};
      break;
    }
    case ctButton:
    case ctBitButton: {
      const Cardinal s = static_cast<Cardinal>(g->CellIndex);
      l.Size = {static_cast<Integer>(s & 0xFFFF), static_cast<Integer>(s >> 16)};
      break;
    }
    case ctProgressPie:
      l.Size = {20, 20};
      break;
    case ctRadioButton:
      l.Size = {controlLook_->RadioSize() + 4, controlLook_->RadioSize() + 4};
      break;
    case ctShape:
      l.Size = {RowHeights(row) - 4, RowHeights(row) - 4};
      break;
    case ctRating:
      l.Size = {g->CellAngle * 18, 16};
      l.DrawText = false;
      break;
    default:
      break;
  }
  return l;
}

void TVadOdizadEzev::PaintCheckGlyph(TCanvas* canvas, const TRect& r, bool checked, TControlStyle style, bool enabled) {
  if (controlLook_->NoDisabledCheckRadioLook() || controlLook_->CheckAlwaysActive) enabled = true;
  if (style == csTheme && !vcl::IsThemeActive()) style = csClassic;
  const Integer k = controlLook_->CheckSize();
  switch (style) {
    case csClassic:
    case csFlat:
    case csWinXP:
    case csRUZ: {
      const Integer left = r.Left + (r.Width() - k) / 2, top = r.Top + (r.Height() - k) / 2;
      DrawToggleInLook(canvas, style, {left, top, left + k, top + k}, r, vcl::DFCS_BUTTONCHECK, "VOECHK0", checked,
                       enabled);
      break;
    }
    case csMelbrook: {
      canvas->Brush()->SetColor(enabled ? clBtnFace : vcl::clBtnShadow);
      canvas->Pen()->SetColor(clBtnFace);
      canvas->Rectangle(r);
      canvas->Pen()->SetColor(vcl::clBtnHighlight);
      canvas->MoveTo(r.Left, r.Bottom - 1);
      canvas->LineTo(r.Left, r.Top);
      canvas->LineTo(r.Right - 1, r.Top);
      canvas->Pen()->SetColor(vcl::clBtnShadow);
      canvas->LineTo(r.Right - 1, r.Bottom - 1);
      canvas->LineTo(r.Left, r.Bottom - 1);
      if (checked) {
        canvas->Pen()->SetColor(enabled ? controlLook_->Color() : clGray);
        canvas->Pen()->SetWidth(2);
        canvas->MoveTo(r.Left + 2, r.Top + k / 2);
        canvas->LineTo(r.Left + 2, r.Bottom - 1);
        canvas->LineTo(r.Right - 2, r.Top + 3);
        canvas->Pen()->SetWidth(1);
      }
      break;
    }
    case csGlyph: {
      vcl::TBitmap* glyph = checked ? controlLook_->CheckedGlyph() : controlLook_->UnCheckedGlyph();
      if (glyph != nullptr && !glyph->Empty()) DrawTransparentBitmap(canvas, glyph, canvas->Brush()->Color(), r);
      break;
    }
    case csTheme: {
      const Integer state = checked ? (enabled ? 5 : 8) : (enabled ? 1 : 4);
      canvas->DrawThemePart("button", 3, state, {r.Left, r.Top, r.Left + k, r.Top + k}, nullptr);
      break;
    }
  }
}

void TVadOdizadEzev::PaintRadioGroup(TCanvas* canvas, const TRect& r, bool reverse, Integer scale, TControlStyle style,
                                     Integer row, Integer col, bool selected, const rtl::TStrings* captions,
                                     bool disabled, bool horizontal, Integer checkedIndex, Integer count) {
  if (controlLook_->NoDisabledCheckRadioLook() || controlLook_->RadioAlwaysActive) disabled = false;
  if (style == csTheme && !vcl::IsThemeActive()) style = csClassic;
  const TColor keptFont = canvas->Font()->Color();
  if (selected && selectionTextColor_ != clNone) canvas->Font()->SetColor(selectionTextColor_);
  canvas->Brush()->SetStyle(vcl::bsClear);
  const AnsiString shown = Model().GetDisplayCell(col, row);
  const Integer textHeight = canvas->TextHeight("gh");
  const bool classic = style == csClassic || style == csFlat;
  const bool bitmaps = style == csWinXP || style == csRUZ || style == csGlyph;
  const Integer radio = classic ? controlLook_->RadioSize() * scale + (style == csFlat ? 2 : 0) : 16;
  const Integer step = classic ? textHeight : std::max<Integer>(16, textHeight);
  Integer before = 0;  // the widths of the captions before
  for (Integer i = 1; i <= count; ++i) {
    const AnsiString caption = captions != nullptr && i - 1 < captions->Count() ? captions->Get(i - 1) : AnsiString();
    const bool checked = checkedIndex == -1 ? caption == shown : checkedIndex + 1 == i;
    Integer x, y, tx, ty;
    if (horizontal) {
      x = classic ? r.Left + 2 + (i - 1) * controlLook_->RadioSize() + before : r.Left + 16 * i - 14 + before;
      y = r.Top + (r.Height() - radio) / 2;
      tx = classic ? x + scale * controlLook_->RadioSize() : x + 16;
      ty = r.Top + (r.Height() - textHeight) / 2 - 2 + (bitmaps ? 1 : 0);
    } else {
      const Integer offset = (i - 1) * step * (reverse ? -1 : 1);
      if (caption.empty()) {
        x = r.Left + (r.Width() - radio) / 2;
      } else {
        x = r.Left + 2;
      }
      y = r.Top + offset + 2;
      tx = classic ? r.Left + 2 + scale * (controlLook_->RadioSize() + 4) : (bitmaps ? r.Left + 18 : r.Left + 20);
      ty = r.Top + offset + (bitmaps ? 1 : 0);
    }
    const bool enabled = !disabled;
    switch (style) {
      case csClassic:
      case csFlat:
      case csWinXP:
      case csRUZ:
        DrawToggleInLook(canvas, style, {x, y, x + radio, y + radio}, {x, y, x + 16, y + 16}, vcl::DFCS_BUTTONRADIO,
                         "VOERAD0", checked, enabled);
        break;
      case csGlyph: {
        vcl::TBitmap* glyph = checked ? controlLook_->RadioOnGlyph() : controlLook_->RadioOffGlyph();
        if (glyph != nullptr && !glyph->Empty())
          DrawTransparentBitmap(canvas, glyph, canvas->Brush()->Color(), {x, y, x + 16, y + 16});
        break;
      }
      case csMelbrook: {
        const std::vector<vcl::TPoint> diamond{{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}};
        canvas->Brush()->SetStyle(vcl::bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->Pen()->SetColor(checked ? clGray : clWhite);
        canvas->Polygon(diamond);
        canvas->Pen()->SetColor(checked ? clWhite : clGray);
        canvas->MoveTo(x + 14, y + 8);
        canvas->LineTo(x + 8, y + 14);
        canvas->LineTo(x + 2, y + 8);
        if (checked) {
          canvas->Brush()->SetColor(controlLook_->Color());
          canvas->Pen()->SetColor(controlLook_->Color());
          canvas->Polygon({{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}});
        }
        canvas->Brush()->SetStyle(vcl::bsClear);
        break;
      }
      case csTheme: {
        const Integer state = checked ? (enabled ? 5 : 8) : (enabled ? 1 : 4);
        canvas->DrawThemePart("button", 2, state, {x, y, x + 16, y + 16}, nullptr);
        break;
      }
    }
    if (!caption.empty()) {
      canvas->Brush()->SetStyle(vcl::bsClear);
      canvas->TextOut(tx, ty, caption);
    }
    before += canvas->TextWidth(caption);
  }
  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Font()->SetColor(keptFont);
}

void TVadOdizadEzev::PaintCellGraphic(TCanvas* canvas, const TRect& cell, Integer col, Integer row,
                                      TGridDrawState state, Integer textWidth) {
  const TCellGraphicLayout l = GetCellGraphicLayout(col, row);
  TCellGraphic* g = l.Graphic;
  if (g == nullptr) return;
  const TCellType type = g->CellType;
  if (type == ctNode) {
    PaintNodeGlyph(canvas, cell, row, state);
    return;
  }
  TRect r = cell;
  if (type != ctNode && type != ctProgress && type != ctRangeIndicator && type != ctXPProgress)
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  const Integer w = l.Size.Width, h = l.Size.Height;
  Integer t = textWidth > 0 ? textWidth + 2 + 2 : 0;
  TAlignment textAlign = taLeftJustify;
  TVAlignment textVAlign = vtaTop;
  ResolveCellAlignment(col, row, textAlign, textVAlign);
  const Integer rw = r.Width(), rh = r.Height();

  TRect d = r;
  switch (g->CellHAlign) {
    case haLeft:
      d.Left = r.Left + 1;
      break;
    case haRight:
      d.Right = r.Right - 1;
      d.Left = r.Right - w - 1;
      break;
    case haCenter:
      d.Left = w < rw ? r.Left + (rw - w) / 2 : r.Left + 1;
      break;
    case haBeforeText:
      d.Left = textAlign == taLeftJustify   ? r.Left + 1
               : textAlign == taRightJustify ? r.Right - t - w
                                             : r.Left + (rw - t - w) / 2;
      break;
    case haAfterText:
      d.Left = textAlign == taLeftJustify   ? r.Left + t
               : textAlign == taRightJustify ? r.Right - w - 1
                                             : r.Left + t + (rw - t - w) / 2;
      break;
    case haFull:
      break;
  }
  if (g->CellHAlign != haFull && d.Left < r.Left) d.Left = r.Left + 1;
  if (g->CellHAlign != haRight && g->CellHAlign != haFull) d.Right = d.Left + w;
  TCellVAlign va = g->CellVAlign;
  // Check boxes and radio buttons follow a vertical text alignment the
  // owner set for the cell.
  if ((IsCheckKind(type) || type == ctRadioButton) && textVAlign != vAlignment_)
    va = textVAlign == vtaTop ? vaTop : textVAlign == vtaCenter ? vaCenter : vaBottom;
  switch (va) {
    case vaBottom:
      d.Bottom = r.Bottom - 1;
      d.Top = r.Bottom - h - 1;
      break;
    case vaCenter:
      d.Top = h < rh ? r.Top + (rh - h) / 2 : r.Top + 1;
      break;
    case vaUnderText:
      d.Top = r.Bottom - h;
      d.Bottom = r.Bottom;
      break;
    case vaFull:
      break;
    default:
      d.Top = r.Top + 1;
      break;
  }
  if (va != vaBottom && va != vaUnderText && va != vaFull) d.Bottom = d.Top + h;

  const bool selected = state.Contains(vcl::gdSelected) && ShowSelection();
  bool editable = true;
  CheckCanEdit(col, row, editable);

  switch (type) {
    case ctBitmap: {
      auto* bitmap = static_cast<vcl::TBitmap*>(g->CellBitmap());
      if (bitmap == nullptr) break;
      if (g->CellTransparent)
        DrawTransparentBitmap(canvas, bitmap, selected ? selectionColor_ : canvas->Brush()->Color(), d);
      else
        canvas->Draw(d.Left, d.Top, bitmap);
      break;
    }
    case ctImageList:
      if (gridImages_ != nullptr && g->CellIndex >= 0 && g->CellIndex < gridImages_->Count())
        gridImages_->Draw(canvas, d.Left, d.Top, g->CellIndex, true);
      break;
    case ctDataImage: {
      Integer index = g->CellIndex;
      try {
        index += Model().IntegerCells(col, row);
      } catch (const rtl::Exception&) {
      }
      if (gridImages_ != nullptr && index >= 0 && index < gridImages_->Count())
        gridImages_->Draw(canvas, d.Left, d.Top, index, true);
      break;
    }
    case ctImages: {
      const auto* list = static_cast<const TIntList*>(g->CellBitmap());
      if (list == nullptr || gridImages_ == nullptr) break;
      Integer x = d.Left, y = d.Top;
      for (Integer index : list->Values()) {
        if (index >= 0 && index < gridImages_->Count()) gridImages_->Draw(canvas, x, y, index, true);
        if (g->CellBoolean)
          x += gridImages_->Width();
        else
          y += gridImages_->Height();
      }
      break;
    }
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctRadioButton: {
      const bool own = type == ctCheckBox || type == ctRadioButton;
      Integer left;
      switch (textAlign) {
        case taRightJustify:
          left = own ? r.Right - t - w - 1 : r.Right - w - 1;
          break;
        case taCenter:
          left = own && t >= 1 ? r.Left + std::max<Integer>(0, rw - t) / 2 - w : r.Left + std::max<Integer>(0, rw - w) / 2;
          break;
        default:
          left = r.Left + 1;
          break;
      }
      d.Left = std::max(left, r.Left + 1);
      d.Right = d.Left + w;
      if (type == ctRadioButton) {
        d.Left += 2;
        d.Right = d.Left + controlLook_->RadioSize();
        d.Bottom = d.Top + controlLook_->RadioSize();
        PaintRadioGroup(canvas, d, false, 1, controlLook_->ControlStyle(), row, col, selected, nullptr, !editable,
                        true, g->CellBoolean ? 0 : 1, 1);
        break;
      }
      bool checked = g->CellBoolean;
      if (type == ctDataCheckBox || type == ctVirtCheckBox) {
        AnsiString checkTrue;
        GetCheckTrue(col, row, checkTrue);
        checked = Model().GetDisplayCell(col, row) == checkTrue;
      }
      PaintCheckGlyph(canvas, d, checked, controlLook_->ControlStyle(), editable);
      break;
    }
    case ctRadio: {
      const auto* captions = static_cast<const rtl::TStrings*>(g->CellBitmap());
      PaintRadioGroup(canvas, r, false, 1, controlLook_->ControlStyle(), row, col, state.Contains(vcl::gdSelected),
                      captions, !editable, g->CellBoolean, g->CellIndex, captions ? captions->Count() : 0);
      break;
    }
    case ctProgress: {
      const double value = CellNumber(this, col, row);
      const bool themed = (controlLook_->ControlStyle() == csWinXP || controlLook_->ControlStyle() == csTheme) &&
                          vcl::IsThemeActive() && controlLook_->ProgressXP();
      if (themed) {
        TRect bar{r.Left + controlLook_->ProgressMarginX(), r.Top + controlLook_->ProgressMarginY(),
                  r.Right - controlLook_->ProgressMarginX(), r.Bottom - controlLook_->ProgressMarginY()};
        canvas->DrawThemePart("Progress", 1, 1, bar, nullptr);
        bar = {bar.Left + 2, bar.Top + 2, bar.Right - 2, bar.Bottom - 2};
        const double v = std::clamp(value, 0.0, 100.0);
        bar.Right = bar.Left + static_cast<Integer>(rtl::Round(v * bar.Width() / 100));
        if (bar.Right > bar.Left) canvas->DrawThemePart("Progress", 3, 1, bar, nullptr);
        break;
      }
      const TRect bar{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
      const TColor color = SlotColor(g->CellBitmap());
      const TColor colorTo = SlotColor(g->CellIcon());
      TColor text = static_cast<TColor>(g->CellIndex), textTo = static_cast<TColor>(g->CellAngle);
      if (!g->CellBoolean) {
        text = color ^ 0xFFFFFF;
        textTo = colorTo ^ 0xFFFFFF;
      }
      DrawProgressBar(canvas, bar, color, text, colorTo, textTo, value, controlLook_->ProgressMarginX(),
                      controlLook_->ProgressMarginY(), g->CellErrFrom, g->CellErrLen, g->CellText,
                      controlLook_->ProgressBorderColor, false);
      break;
    }
    case ctXPProgress: {
      TRect bar{r.Left + controlLook_->ProgressMarginX(), r.Top + controlLook_->ProgressMarginY(),
                r.Right - controlLook_->ProgressMarginX() - 1, r.Bottom - controlLook_->ProgressMarginY() - 1};
      Integer value = 0;
      try {
        value = Model().IntegerCells(col, row);
      } catch (const rtl::Exception&) {
      }
      const Integer range = g->CellErrLen - g->CellErrFrom;
      // A range of no width draws 0 %.
      const Integer percent =
          range == 0 ? 0 : static_cast<Integer>(rtl::Round(std::abs(value - g->CellErrFrom) * 100.0 / range));
      const TGridProgressAppearance& a = *progressAppearance_;
      TProgressAppearance p;
      p.Level0Color = a.Level0Color;
      p.Level0ColorTo = a.Level0ColorTo;
      p.Level1Color = a.Level1Color;
      p.Level1ColorTo = a.Level1ColorTo;
      p.Level2Color = a.Level2Color;
      p.Level2ColorTo = a.Level2ColorTo;
      p.Level3Color = a.Level3Color;
      p.Level3ColorTo = a.Level3ColorTo;
      p.Level1Perc = a.Level1Perc;
      p.Level2Perc = a.Level2Perc;
      p.ShowBorder = a.ShowBorder;
      p.BorderColor = a.BorderColor;
      p.Stacked = a.Stacked;
      p.ShowPercentage = a.ShowPercentage;
      p.CompletionSmooth = a.CompletionSmooth;
      p.ShowGradient = a.ShowGradient;
      p.Steps = a.Steps;
      p.TextColor = a.CompleteFontColor;
      p.BackgroundColor = a.UnCompleteColor == clNone ? Color() : a.UnCompleteColor;
      p.FontName = Font()->Name();
      p.FontSize = Font()->Size();
      DrawXPProgress(canvas, bar, percent, p);
      break;
    }
    case ctProgressPie:
      DrawProgressPie(canvas, {d.Left, d.Top, d.Left + 20, d.Top + 20}, SlotColor(g->CellBitmap()), g->CellAngle,
                      false);
      break;
    case ctRangeIndicator: {
      const TRect bar{r.Left + controlLook_->ProgressMarginX(), r.Top + controlLook_->ProgressMarginY(),
                      r.Right - controlLook_->ProgressMarginX(), r.Bottom - controlLook_->ProgressMarginY()};
      Integer value = 0;
      try {
        value = Model().IntegerCells(col, row);
      } catch (const rtl::Exception&) {
      }
      DrawRangeIndicator(canvas, bar, value, g->CellIndex, g->CellBoolean, SlotColor(g->CellIcon()),
                         SlotColor(g->CellBitmap()));
      break;
    }
    case ctComment:
      if (controlLook_->CommentColor() != clNone) {
        const TColor c = static_cast<TColor>(g->CellAngle) != clNone && g->CellAngle != 0
                             ? static_cast<TColor>(g->CellIndex)
                             : controlLook_->CommentColor();
        canvas->Pen()->SetColor(c);
        canvas->Brush()->SetColor(c);
        canvas->Polygon({{r.Right - 6, r.Top - 1}, {r.Right - 1, r.Top - 1}, {r.Right - 1, r.Top + 4}});
        canvas->Brush()->SetColor(Color());
      }
      break;
    case ctButton:
    case ctBitButton: {
      // The offset in the cell, for the clicks.
      const vcl::TRect c = CellRect(DisplColIndex(col), row);
      g->CellValue = static_cast<double>((d.Top - c.Top) * 65536 + (d.Left - c.Left));
      bool enabled = controlLook_->NoDisabledButtonLook() || editable;
      const bool pressed = g->CellBoolean && enabled;
      if (vcl::IsThemeActive()) {
        canvas->DrawThemePart("button", 1, pressed ? 3 : (enabled ? 1 : 4), d, nullptr);
      } else {
        TRect frame = d;
        Cardinal s = vcl::DFCS_BUTTONPUSH;
        if (controlLook_->FlatButton()) s |= vcl::DFCS_FLAT;
        if (g->CellBoolean) s |= vcl::DFCS_PUSHED;
        canvas->DrawFrameControl(frame, vcl::DFC_BUTTON, s);
      }
      const Integer inset = g->CellBoolean ? 3 : 2;
      TRect text{d.Left + inset + 1, d.Top + inset, d.Right - inset, d.Bottom - inset};
      if (type == ctBitButton) {
        if (auto* bitmap = static_cast<vcl::TBitmap*>(g->CellBitmap())) {
          DrawTransparentBitmap(canvas, bitmap, clBtnFace, {text.Left + 1, text.Top + 1, text.Right, text.Bottom});
          text.Left += bitmap->Width() + 2;
        }
      }
      canvas->Brush()->SetStyle(vcl::bsClear);
      Cardinal format = vcl::DT_CENTER | vcl::DT_END_ELLIPSIS;
      if (g->CellText.find('\r') == std::string::npos)
        format |= vcl::DT_SINGLELINE | vcl::DT_VCENTER;
      else
        format |= vcl::DT_WORDBREAK;
      canvas->DrawText(g->CellText, text, format);
      canvas->Brush()->SetStyle(vcl::bsSolid);
      break;
    }
    case ctShape:
      DrawCellShape(canvas, d.Left, d.Top, d.Width() - 1, d.Height() - 1, static_cast<Byte>(g->CellAngle),
                    SlotColor(g->CellBitmap()), static_cast<TColor>(g->CellIndex));
      break;
    case ctRating: {
      const double value = std::nearbyint(CellNumber(this, col, row) * 2) / 2;
      const TColor on = static_cast<TColor>(g->CellIndex);
      const TColor off = SlotColor(g->CellBitmap());
      for (Integer i = 1; i <= g->CellAngle; ++i) {
        const Integer x = d.Left + (i - 1) * 18;
        const TColor c = i <= value ? on : off;
        DrawCellShape(canvas, x, d.Top, 16, 16, 13, c, c);
        if (i - 1 < value && value < i) DrawCellShape(canvas, x, d.Top, 16, 16, 18, on, on);
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace grid
