#include "vcl/ToolTipBalloon.h"

#include <algorithm>

namespace vcl {

namespace {

constexpr Integer BalloonMargin = 8;
constexpr Integer BalloonIconSize = 16;
constexpr Integer BalloonMaxTextWidth = 300;

// Owned by the application, which frees it with the other windows.
TBalloonTip*& TheBalloonTip() {
  static TBalloonTip* tip = nullptr;
  return tip;
}

}  // namespace

TBalloonTip::TBalloonTip(TComponent* owner) : THintWindow(owner) {}

TSize TBalloonTip::BodySize() {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  TFontStyles bold;
  bold.Include(fsBold);
  c->Font()->SetStyle(bold);
  const Integer titleWidth = Title.empty() ? 0 : c->TextWidth(Title);
  const Integer titleHeight = Title.empty() ? 0 : c->TextHeight(Title);
  c->SetFont(Font());
  TRect text = Rect(0, 0, BalloonMaxTextWidth, 0);
  if (!Text.empty()) c->DrawText(Text, text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  const Integer icon = Icon == biNone ? 0 : BalloonIconSize + 6;
  const Integer headHeight = std::max(titleHeight, Icon == biNone ? 0 : BalloonIconSize);
  const Integer width = std::max(icon + titleWidth, text.Right - text.Left) + 2 * BalloonMargin;
  const Integer gap = headHeight > 0 && !Text.empty() ? 4 : 0;
  const Integer height = headHeight + gap + (text.Bottom - text.Top) + 2 * BalloonMargin;
  return {width, height};
}

void TBalloonTip::ShowAt(TControl* control) {
  const TPoint anchor = control->ClientToScreen({10, control->Height()});
  const TSize body = BodySize();
  tail_ = anchor;
  // The window starts at the tail's point; the body hangs below it.
  ActivateHint(Rect(anchor.X - 10, anchor.Y, anchor.X - 10 + body.cx, anchor.Y + TailHeight + body.cy), Text);
}

void TBalloonTip::Paint() {
  TCanvas* c = Canvas();
  const Integer w = Width(), h = Height();
  // The window's corners outside the balloon in the window colour.
  c->Brush()->SetColor(clWindow);
  c->FillRect(Rect(0, 0, w, h));
  c->Brush()->SetColor(Color());
  c->Pen()->SetColor(clInfoText);
  c->RoundRect(0, TailHeight, w, h, 10, 10);
  // The tail from the body up to the point.
  c->Polygon({{10, 0}, {10, TailHeight + 1}, {22, TailHeight + 1}});
  c->Pen()->SetColor(Color());
  c->MoveTo(11, TailHeight);
  c->LineTo(22, TailHeight);

  Integer x = BalloonMargin, y = TailHeight + BalloonMargin;
  if (Icon != biNone) {
    const TRect r = Rect(x, y, x + BalloonIconSize, y + BalloonIconSize);
    c->Pen()->SetColor(clBlack);
    switch (Icon) {
      case biInfo:
        c->Brush()->SetColor(0xC08040);
        c->Ellipse(r);
        break;
      case biWarning:
        c->Brush()->SetColor(0x00D7FF);
        c->Polygon({{r.Left + 8, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}});
        break;
      default:
        c->Brush()->SetColor(0x0000D0);
        c->Ellipse(r);
        break;
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(Icon == biWarning ? clBlack : clWhite);
    TFontStyles bold;
    bold.Include(fsBold);
    c->Font()->SetStyle(bold);
    const char* mark = Icon == biInfo ? "i" : Icon == biWarning ? "!" : "x";
    TRect markRect = r;
    markRect.Top += Icon == biWarning ? 2 : 0;
    c->DrawText(mark, markRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    c->Brush()->SetStyle(bsSolid);
    x += BalloonIconSize + 6;
  }
  c->Brush()->SetStyle(bsClear);
  Integer headHeight = Icon == biNone ? 0 : BalloonIconSize;
  if (!Title.empty()) {
    c->SetFont(Font());
    TFontStyles bold;
    bold.Include(fsBold);
    c->Font()->SetStyle(bold);
    c->Font()->SetColor(clInfoText);
    c->TextOut(x, y, Title);
    headHeight = std::max(headHeight, c->TextHeight(Title));
  }
  if (!Text.empty()) {
    c->SetFont(Font());
    c->Font()->SetColor(clInfoText);
    TRect r = Rect(BalloonMargin, y + headHeight + (headHeight > 0 ? 4 : 0), w - BalloonMargin, h - BalloonMargin);
    c->DrawText(Text, r, DT_WORDBREAK | DT_NOPREFIX);
  }
  c->Brush()->SetStyle(bsSolid);
}

void ShowBalloonTip(TControl* control, const AnsiString& title, const AnsiString& text, TBalloonIcon icon) {
  TBalloonTip*& tip = TheBalloonTip();
  if (tip == nullptr) tip = new TBalloonTip(Application);
  tip->Title = title;
  tip->Text = text;
  tip->Icon = icon;
  tip->ShowAt(control);
}

void HideBalloonTip() {
  if (TBalloonTip* tip = TheBalloonTip()) tip->HideTip();
}

TBalloonTip* CurrentBalloonTip() { return TheBalloonTip(); }

}  // namespace vcl
