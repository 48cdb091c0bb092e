// The key-tip bubble a glow button shows while the ribbon is driven from
// the keyboard, and where it goes round the button.
#include "controls/LumGlowButton.h"
#include "rtl/SystemInfo.h"
#include "vcl/Messages.h"
#include "vcl/MouseTransparency.h"

namespace controls {

namespace {

// Window-class bits of the desktop's hint windows: the screen under them
// is kept while they show, and (from Windows XP) they cast a shadow.
constexpr vcl::Cardinal kClassSaveBits = 0x0800;
constexpr vcl::Cardinal kClassDropShadow = 0x00020000;

bool DropShadowsExist() {
  rtl::OSVERSIONINFO info;
  info.dwOSVersionInfoSize = sizeof(info);
  if (!rtl::GetVersionEx(&info)) return false;
  return info.dwPlatformId == rtl::VER_PLATFORM_WIN32_NT &&
         (info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1));
}

}  // namespace

vcl::TPoint KeyTipPlacement(TShortCutHintPos Position, vcl::TPoint P, int W, int H, int kw, int kh) {
  const int centreX = P.X + (W - kw) / 2;
  const int insetX = P.X + 6;
  const int rightX = P.X + W - kw + 1;
  const int middleY = P.Y + (H - kh) / 2;
  const int straddleTop = P.Y - kh / 2;
  const int straddleBottom = P.Y + H - kh / 2;
  switch (Position) {
    case shpLeft: return {insetX, middleY};
    case shpRight: return {P.X + W - kw / 2, middleY};
    case shpBottom: return {centreX, straddleBottom};
    case shpCenter: return {centreX, middleY};
    case shpTopLeft: return {insetX, straddleTop};
    case shpTopRight: return {rightX, straddleTop};
    case shpAboveTop: return {centreX, P.Y - kh};
    case shpAboveTopLeft: return {insetX, P.Y - kh};
    case shpAboveTopRight: return {rightX, P.Y - kh};
    case shpBottomLeft: return {insetX, straddleBottom};
    case shpBottomRight: return {rightX, straddleBottom};
    case shpBelowBottom:
    case shpBelowBottomCenter: return {centreX, P.Y + H};
    case shpBelowBottomLeft: return {insetX, P.Y + H};
    case shpBelowBottomRight: return {rightX, P.Y + H};
    case shpTop:
    case shpAuto: break;
  }
  return {centreX, straddleTop};
}

TShortCutHintWindow::TShortCutHintWindow(vcl::TComponent* AOwner) : vcl::THintWindow(AOwner) {}

void TShortCutHintWindow::CreateParams(TCreateParams& Params) {
  vcl::THintWindow::CreateParams(Params);
  // A hint window is a pop-up tool window that keeps the screen under it;
  // the bubble drops the hint's border and shadow.
  Params.Style = (Params.Style & ~vcl::WS_CHILD) | vcl::WS_POPUP;
  Params.ExStyle |= vcl::WS_EX_TOOLWINDOW;
  Params.ClassStyle |= kClassSaveBits;
  Params.Style &= ~vcl::WS_BORDER;
  if (DropShadowsExist() && (Params.ClassStyle & kClassDropShadow) != 0) Params.ClassStyle &= ~kClassDropShadow;
}

QWidget* TShortCutHintWindow::CreateWidget() {
  QWidget* window = vcl::THintWindow::CreateWidget();
  vcl::MakeTransparentForMouse(window);
  return window;
}

void TShortCutHintWindow::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case vcl::WM_ERASEBKGND:
      // Paint covers every pixel.
      Message.Result = 1;
      return;
    case vcl::CM_TEXTCHANGED: {
      vcl::THintWindow::Dispatch(Message);
      vcl::TCanvas* canvas = Canvas();
      canvas->SetFont(Font());
      const vcl::TSize text = canvas->TextExtent(Caption());
      SetBounds(Left(), Top(), text.cx + 6, text.cy + 4);
      return;
    }
    default:
      vcl::THintWindow::Dispatch(Message);
  }
}

void TShortCutHintWindow::Resize() {
  vcl::THintWindow::Resize();
  vcl::TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  const int least = canvas->TextWidth("O") + 8;
  if (Width() < least) SetWidth(least);
}

void TShortCutHintWindow::Paint() {
  vcl::TCanvas* canvas = Canvas();
  vcl::TRect r = ClientRect();
  glow::DrawGradient(canvas, topColor_, bottomColor_, 16, r, false);
  canvas->Brush()->SetStyle(vcl::bsClear);
  canvas->SetFont(Font());
  canvas->DrawText(Caption(), r, vcl::DT_SINGLELINE | vcl::DT_VCENTER | vcl::DT_CENTER);
  canvas->Pen()->SetColor(vcl::clGray);
  canvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 3, 3);
}

}  // namespace controls
