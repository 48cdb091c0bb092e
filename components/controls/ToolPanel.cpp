// One tool panel: its caption bar with the close and lock buttons, the
// grip and the caption drop-down, its background, presets, hints, sizing
// borders and the clicks that hide, pin and unpin it.
#include <algorithm>

#include "controls/ToolPanels.h"
#include "vcl/Gdi.h"
#include "vcl/Menus.h"
#include "vcl/Resources.h"
#include "vcl/WinApi.h"

namespace controls {

using vcl::Integer;
using vcl::TColor;
using vcl::TPoint;
using vcl::TRect;

namespace {

// Right and bottom edges excluded.
bool PanelRectHolds(const TRect& r, TPoint p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }

TRect PanelWiden(TRect r) { return TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}; }

void PanelLine(vcl::TCanvas* c, Integer x1, Integer y1, Integer x2, Integer y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

}  // namespace

TLumToolPanel::TLumToolPanel(vcl::TComponent* AOwner)
    : vcl::TCustomPanel(AOwner),
      background_(std::make_unique<vcl::TBitmap>()),
      closeBitmap_(std::make_unique<vcl::TBitmap>()),
      lockBitmap_(std::make_unique<vcl::TBitmap>()),
      unlockBitmap_(std::make_unique<vcl::TBitmap>()) {
  controlStyle_.Exclude(vcl::csSetCaption);
  // The caption is drawn in the bar, not by the plain panel.
  vcl::TCustomPanel::SetShowCaption(false);
  SetBounds(Left(), Top(), 180, 300);
  SetTabStop(true);
  closeBitmap_->LoadFromResourceName(vcl::HInstance, "RUZ_CLOSEBTN");
  lockBitmap_->LoadFromResourceName(vcl::HInstance, "RUZ_LOCKPIN");
  unlockBitmap_->LoadFromResourceName(vcl::HInstance, "RUZ_UNLOCKPIN");
  sections_ = std::make_unique<TLumToolPanelSections>(this);
  sectionLayout_ = std::make_unique<TSectionLayout>();
  sectionLayout_->OnChange = [this](vcl::TObject*) { SectionLayoutChanged(); };
  SetStyle(esOffice2003Blue);
}

TLumToolPanel::~TLumToolPanel() {
  CancelDock();
  // Out of the strip's list while still a whole panel: the strip lays its
  // tabs out again and must not meet this one half destroyed.
  if (listedIn_) listedIn_->ForgetPanel(this);
  if (sectionLayout_) sectionLayout_->OnChange = nullptr;
  sections_.reset();
}

void TLumToolPanel::SetComponentStyle(REZORuvar AStyle) { SetStyle(static_cast<TToolPanelStyle>(AStyle)); }

void TLumToolPanel::SetImageIndex(Integer v) {
  imageIndex_ = v;
  CaptionOrImageChanged();
}

void TLumToolPanel::SetText(const vcl::AnsiString& s) {
  vcl::TCustomPanel::SetText(s);
  CaptionOrImageChanged();
}

void TLumToolPanel::CaptionOrImageChanged() {
  if (Parent()) Parent()->Invalidate();
  // One pixel wider and back, so that the children align again.
  const Integer w = Width();
  SetWidth(w + 1);
  SetWidth(w);
  if (strip_) strip_->PanelChanged(this);
}

void TLumToolPanel::SetOpenWidth(Integer v) {
  openWidth_ = v;
  if (strip_) strip_->PanelChanged(this);
}

void TLumToolPanel::SetBackground(vcl::TBitmap* v) {
  background_->Assign(v);
  Invalidate();
}

void TLumToolPanel::SetStyle(TToolPanelStyle v) {
  style_ = v;
  const toolpanels::TPanelColours* c = toolpanels::PanelColoursOf(v);
  if (!c) return;  // esCustom keeps every colour and setting
  SetColor(c->Color);
  SetColorTo(c->ColorTo);
  SetNoFocusCaptionColor(c->NoFocusCaptionColor);
  SetNoFocusCaptionColorTo(c->NoFocusCaptionColorTo);
  SetNoFocusCaptionFontColor(c->NoFocusCaptionFontColor);
  SetFocusCaptionColor(c->FocusCaptionColor);
  SetFocusCaptionColorTo(c->FocusCaptionColorTo);
  SetFocusCaptionFontColor(c->FocusCaptionFontColor);
  hoverButtonColor_ = c->HoverButtonColor;
  hoverButtonColorTo_ = c->HoverButtonColorTo;
  downButtonColor_ = c->DownButtonColor;
  downButtonColorTo_ = c->DownButtonColorTo;
  ApplySectionPreset(v);
  SetGradientDirection(gdVertical);
  SetCaptionGradientDirection(gdVertical);
  SetBorderWidth(1);
  SetShowCaptionBorder(false);
  button3D_ = false;
  Invalidate();
}

// --- states ---

void TLumToolPanel::SetLocked(bool v) {
  // A closed panel comes out first, placed and shown as its tab would open
  // it: slid out while invisible it would be pinned out of sight.
  if (strip_ && v && !Visible()) {
    if (strip_->PanelIndex(this) >= 0)
      strip_->OpenPanel(this);
    else
      strip_->SlidePanelOut(this);
  }
  locked_ = v;
  RecreateWnd();
  RepaintButtonArea();
  if (strip_) strip_->ArrangeLockedPanel(this);
}

void TLumToolPanel::SetHidden(bool v) {
  hidden_ = v;
  if (!strip_) return;
  strip_->openIndex_ = -1;
  strip_->UpdateTabs(-1);
}

void TLumToolPanel::SetDocked(bool v) {
  docked_ = v;
  if (strip_) strip_->Invalidate();
}

bool TLumToolPanel::Floating() const { return dynamic_cast<TToolPanelFloatForm*>(Parent()) != nullptr; }

// --- geometry ---

TRect TLumToolPanel::ButtonArea() const {
  const TRect c = ClientRect();
  if (captionButton_) return TRect{c.Left, c.Top, c.Right, c.Top + 21};
  return TRect{c.Right - 42, c.Top, c.Right, c.Top + 21};
}

TRect TLumToolPanel::CloseRect() const {
  const TRect c = ClientRect();
  return TRect{c.Right - 20, c.Top + 2, c.Right - 5, c.Top + 18};
}

TRect TLumToolPanel::LockRect() const {
  if (!showClose_) return CloseRect();
  const TRect c = ClientRect();
  return TRect{c.Right - 40, c.Top + 2, c.Right - 21, c.Top + 18};
}

TRect TLumToolPanel::CloseHintRect() const {
  const TRect c = ClientRect();
  return TRect{c.Right - 21, c.Top + 2, c.Right - 5, c.Top + 21};
}

TRect TLumToolPanel::LockHintRect() const {
  if (!showClose_) return CloseHintRect();
  const TRect c = ClientRect();
  return TRect{c.Right - 42, c.Top + 2, c.Right - 23, c.Top + 21};
}

TRect TLumToolPanel::CaptionButtonArea() const {
  const TRect c = ClientRect();
  return TRect{c.Left + (dockDots_ ? 8 : 0), c.Top, LockRect().Left, c.Top + 23};
}

void TLumToolPanel::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  vcl::TCustomPanel::SetBounds(left, top, width, height);
}

void TLumToolPanel::AlignControls(vcl::TControl* control, TRect& rect) {
  if (showCaption_ && !Floating()) rect.Top = std::max(rect.Top, ClientRect().Top + 23);
  vcl::TCustomPanel::AlignControls(control, rect);
}

// --- painting ---

TPoint TLumToolPanel::CursorInClient() const { return ScreenToClient(vcl::GetCursorPos()); }

void TLumToolPanel::RepaintButtonArea() { Invalidate(); }

void TLumToolPanel::PaintButtonFace(vcl::TCanvas* c, const TRect& box, bool pressed) {
  if (button3D_) {
    const TColor light = pressed ? 0x808080 : 0xFFFFFF, dark = pressed ? 0xFFFFFF : 0x808080;
    c->Pen()->SetColor(light);
    PanelLine(c, box.Left, box.Bottom - 1, box.Left, box.Top);
    PanelLine(c, box.Left, box.Top, box.Right - 1, box.Top);
    c->Pen()->SetColor(dark);
    PanelLine(c, box.Right - 1, box.Top, box.Right - 1, box.Bottom - 1);
    PanelLine(c, box.Right - 1, box.Bottom - 1, box.Left - 1, box.Bottom - 1);
    return;
  }
  const TColor from = pressed ? downButtonColor_ : hoverButtonColor_;
  const TColor to = pressed ? downButtonColorTo_ : hoverButtonColorTo_;
  if (from == vcl::clNone) return;
  toolpanels::DrawGradient(c, from, to == vcl::clNone ? from : to, captionGradientDirection_ == gdHorizontal, box, 16);
  c->Brush()->SetStyle(vcl::bsClear);
  c->Pen()->SetColor(vcl::clBlack);
  c->Rectangle(box.Left, box.Top + 1, box.Right, box.Bottom + 1);
}

void TLumToolPanel::PaintButtons(vcl::TCanvas* c, const TRect& bar, bool focusedLook) {
  const bool designing = ComponentState().Contains(vcl::csDesigning);
  const TPoint cursor = CursorInClient();
  const TColor textColour = focusedLook ? focusCaptionFontColor_ : noFocusCaptionFontColor_;
  const Integer top = bar.Top;
  Integer right = bar.Right;
  TToolPanelGlyphs* glyphs = strip_ ? strip_->PanelGlyphs() : nullptr;
  auto drawGlyph = [&](TToolPanelGlyphs::TGlyph normal, TToolPanelGlyphs::TGlyph down, TToolPanelGlyphs::TGlyph hot) {
    vcl::TBitmap* g = glyphs->Glyph(normal);
    const Integer w = g->Width(), h = g->Height();
    const TRect box = PanelWiden(TRect{right - w - 4, top + 2, right - 6, top + h});
    const bool in = PanelRectHolds(box, cursor) && !designing;
    vcl::TBitmap* image = in && pressed_ ? glyphs->Glyph(down) : in ? glyphs->Glyph(hot) : g;
    if (image->Empty()) image = g;
    const Integer iw = image->Width(), ih = image->Height();
    c->BlitFrom(TRect{box.Left + 1, box.Top + 1, box.Left + 1 + iw, box.Top + 1 + ih}, image->Canvas(),
                TRect{0, 0, iw, ih}, vcl::SRCCOPY, image->TransparentColor());
    right -= w + 5;
  };
  if (glyphs && showClose_ && !glyphs->CloseGlyphNormal()->Empty()) {
    drawGlyph(TToolPanelGlyphs::CloseNormal, TToolPanelGlyphs::CloseDown, TToolPanelGlyphs::CloseHot);
  } else if (showClose_) {
    const TRect box = PanelWiden(TRect{right - 20, top + 2, right - 6, top + 16});
    if (PanelRectHolds(box, cursor) && !designing) PaintButtonFace(c, box, pressed_);
    c->Pen()->SetColor(textColour);
    c->Pen()->SetStyle(vcl::psSolid);
    const Integer r = right - 16;
    PanelLine(c, r - 1, top + 11, r + 7, top + 4);
    PanelLine(c, r, top + 11, r + 6, top + 4);
    PanelLine(c, r - 1, top + 5, r + 7, top + 12);
    PanelLine(c, r, top + 5, r + 6, top + 12);
    right -= 21;
  }
  if (glyphs && showLock_ && !glyphs->LockGlyphNormal()->Empty()) {
    if (locked_)
      drawGlyph(TToolPanelGlyphs::LockNormal, TToolPanelGlyphs::LockDown, TToolPanelGlyphs::LockHot);
    else
      drawGlyph(TToolPanelGlyphs::UnLockNormal, TToolPanelGlyphs::UnLockDown, TToolPanelGlyphs::UnLockHot);
  } else if (showLock_) {
    const TRect plain{right - 18, top + 2, right - 1, top + 16};
    const TRect box = PanelWiden(plain);
    if (PanelRectHolds(box, cursor) && !designing) PaintButtonFace(c, box, pressed_);
    c->Pen()->SetColor(textColour);
    c->Pen()->SetStyle(vcl::psSolid);
    const Integer x = plain.Left, y = plain.Top, r = plain.Right;
    if (locked_) {
      PanelLine(c, x + 7, y + 2, x + 11, y + 2);
      PanelLine(c, x + 7, y + 4, x + 11, y + 4);
      PanelLine(c, x + 7, y + 2, x + 7, y + 9);
      PanelLine(c, x + 11, y + 2, x + 11, y + 9);
      PanelLine(c, x + 5, y + 9, x + 14, y + 9);
      PanelLine(c, x + 9, y + 10, x + 9, y + 14);
    } else {
      PanelLine(c, r - 3, y + 4, r - 3, y + 8);
      PanelLine(c, r - 5, y + 4, r - 5, y + 8);
      PanelLine(c, r - 3, y + 4, r - 10, y + 4);
      PanelLine(c, r - 3, y + 8, r - 10, y + 8);
      PanelLine(c, r - 10, y + 2, r - 10, y + 11);
      PanelLine(c, r - 11, y + 6, r - 15, y + 6);
    }
  }
}

void TLumToolPanel::PaintBackgroundPicture(vcl::TCanvas* c, const TRect& area) {
  vcl::TBitmap* b = background_.get();
  const Integer w = b->Width(), h = b->Height(), bw = BevelWidth();
  const Integer W = Width(), H = Height();
  const Integer L = area.Left + 1, T = area.Top + 23, R = area.Right;
  const TColor key = backgroundTransparent_ ? b->TransparentColor() : vcl::clNone;
  auto put = [&](Integer x, Integer y) {
    c->BlitFrom(TRect{x, y, x + w, y + h}, b->Canvas(), TRect{0, 0, w, h}, vcl::SRCCOPY, key);
  };
  const Integer rightX = std::max(L, R - L - w - bw);
  const Integer bottomY = std::max(T, H - h - bw - 1);
  switch (backGroundPosition_) {
    case TTPBackGroundPosition::bpTopLeft: put(L, T); break;
    case TTPBackGroundPosition::bpTopRight: put(rightX, T); break;
    case TTPBackGroundPosition::bpBottomLeft: put(L, bottomY); break;
    case TTPBackGroundPosition::bpBottomRight: put(rightX, bottomY); break;
    case TTPBackGroundPosition::bpTiled:
      if (w <= 0 || h <= 0) break;
      for (Integer y = T; y < H; y += h)
        for (Integer x = L; x < W; x += w) put(x, y);
      break;
    case TTPBackGroundPosition::bpStretched:
      c->BlitFrom(TRect{L, T, R, area.Bottom}, b->Canvas(), TRect{0, 0, w, h}, vcl::SRCCOPY, key);
      break;
    case TTPBackGroundPosition::bpCenter: put(rightX / 2, std::max(T, H - h - bw) / 2); break;
  }
}

void TLumToolPanel::Paint() {
  vcl::TCustomPanel::Paint();
  vcl::TCanvas* c = Canvas();
  const TRect client = ClientRect();
  const Integer L = client.Left, T = client.Top, R = client.Right, B = client.Bottom;
  const Integer bw = BorderWidth();
  TRect pictureArea = client;
  if (colorTo_ == vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
  } else {
    toolpanels::DrawGradient(c, Color(), colorTo_, gradientDirection_ == gdHorizontal,
                             TRect{L + bw, T, R - 2 * bw, B - 2 * bw}, 128);
    pictureArea = TRect{L + bw - 1, T, R - 2 * bw + 2, B - 2 * bw + 2};
  }
  if (!background_->Empty()) PaintBackgroundPicture(c, pictureArea);
  PaintSections(c);
  if (!showCaption_ || Floating()) return;
  const TRect bar{L + 1, T + 1, R - 2, T + 22};
  const bool focusedLook = focused_;
  const TColor from = focusedLook ? focusCaptionColor_ : noFocusCaptionColor_;
  const TColor to = focusedLook ? focusCaptionColorTo_ : noFocusCaptionColorTo_;
  const TColor textColour = focusedLook ? focusCaptionFontColor_ : noFocusCaptionFontColor_;
  c->Pen()->SetStyle(vcl::psSolid);
  c->Pen()->SetWidth(1);
  if (to == vcl::clNone) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(from);
    c->Pen()->SetColor(from);
    c->FillRect(bar);
  } else {
    toolpanels::DrawGradient(c, from, to, captionGradientDirection_ == gdHorizontal, bar, 16);
  }
  if (!focusedLook && showCaptionBorder_) {
    c->Brush()->SetStyle(vcl::bsClear);
    c->Pen()->SetColor(0x808080);
    c->RoundRect(bar.Left, bar.Top, bar.Right, bar.Bottom, 3, 3);
  }
  PaintButtons(c, bar, focusedLook);
  Integer textLeft = L + 4;
  if (dockDots_) {
    c->Brush()->SetStyle(vcl::bsSolid);
    c->Brush()->SetColor(vcl::clWhite);
    c->Pen()->SetColor(vcl::clWhite);
    for (Integer y : {5, 9, 13, 17}) c->Rectangle(L + 5, T + y, L + 7, T + y + 2);
    c->Brush()->SetColor(noFocusCaptionColorTo_);
    c->Pen()->SetColor(vcl::clBlack);
    for (Integer y : {4, 8, 12, 16}) c->Rectangle(L + 4, T + y, L + 6, T + y + 2);
    textLeft += 7;
  }
  TRect text{textLeft, T + 4, R - 37, T + 21};
  if (captionButton_) {
    text.Right -= 5;
    const TRect button{text.Left - 1, text.Top - 2, text.Right, text.Bottom - 1};
    if (PanelRectHolds(button, CursorInClient()) && !ComponentState().Contains(vcl::csDesigning))
      PaintButtonFace(c, button, pressed_);
    c->Pen()->SetColor(textColour);
    const Integer r = button.Right, b = button.Bottom;
    PanelLine(c, r - 10, b - 10, r - 3, b - 10);
    PanelLine(c, r - 9, b - 9, r - 4, b - 9);
    PanelLine(c, r - 8, b - 8, r - 5, b - 8);
    PanelLine(c, r - 7, b - 7, r - 6, b - 7);
    text.Right -= 10;
  }
  c->SetFont(Font());
  c->Font()->SetStyle(vcl::TFontStyles{vcl::fsBold});
  c->Font()->SetColor(textColour);
  c->Brush()->SetStyle(vcl::bsClear);
  c->DrawText(Caption(), text, vcl::DT_SINGLELINE | vcl::DT_END_ELLIPSIS | vcl::DT_NOPREFIX);
  c->Font()->SetStyle(vcl::TFontStyles{});
}

// --- input ---

void TLumToolPanel::MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TCustomPanel::MouseDown(button, shift, x, y);
  if (ComponentState().Contains(vcl::csDesigning)) return;
  SectionPress(x, y);
  pressed_ = true;
  if (CanFocus()) SetFocus();
  if (PanelRectHolds(ButtonArea(), {x, y})) RepaintButtonArea();
}

bool TLumToolPanel::InGrip(Integer x, Integer y) const {
  return locked_ && strip_ && strip_->AutoDock() && allowDocking_ && y < 23 && !Floating() &&
         (dockDots_ ? x < 8 : x < Width() - 40);
}

void TLumToolPanel::MouseMove(vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TCustomPanel::MouseMove(shift, x, y);
  if (ComponentState().Contains(vcl::csDesigning)) return;
  if (strip_) {
    const bool grip = InGrip(x, y);
    if (grip)
      vcl::Screen->SetCursor(vcl::crSizeAll);
    else if (vcl::Screen->Cursor() == vcl::crSizeAll)
      vcl::Screen->SetCursor(Cursor());
    if (pressed_ && grip) StartDock();
    if (PanelRectHolds(ButtonArea(), {x, y})) RepaintButtonArea();
  }
  SectionHover(x, y);
}

void TLumToolPanel::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TCustomPanel::MouseUp(button, shift, x, y);
  if (ComponentState().Contains(vcl::csDesigning)) return;
  // A drag that did not complete leaves the docked state set; a panel a
  // floating window holds keeps it.
  if (docked_ && !Floating()) {
    CancelDock();
    SetDocked(false);
    if (vcl::Screen->Cursor() == vcl::crSizeAll) vcl::Screen->SetCursor(Cursor());
  }
  if (!pressed_) return;
  const TPoint p{x, y};
  if (!strip_) {
    pressed_ = false;
    SectionClick();
    return;
  }
  SetOpenWidth(IsVerticalStrip(strip_->Position()) ? Width() : Height());
  pressed_ = false;
  RepaintButtonArea();
  const bool floating = Floating();
  if (showClose_ && !floating && PanelRectHolds(CloseRect(), p)) {
    TLumToolPanelTab* strip = strip_;
    const Integer index = strip->PanelIndex(this);
    bool allow = true;
    if (strip->OnAllowTabHide) strip->OnAllowTabHide(strip, index, this, allow);
    if (!allow) return;
    strip->FireTab(strip->OnTabHide, index);
    if (strip_ && strip_->HostForm() && Parent() == strip_->HostForm()) strip_->HostForm()->Hide();
    SetHidden(true);
    if (strip_) strip_->UpdateTabs(-1);
    SetVisible(false);
    return;
  }
  if (showLock_ && !floating && PanelRectHolds(LockRect(), p)) {
    SetLocked(!locked_);
    if (locked_) {
      if (OnLock) OnLock(this);
    } else if (OnUnlock) {
      OnUnlock(this);
    }
    return;
  }
  if (captionButton_ && showCaption_ && !floating && PanelRectHolds(CaptionButtonArea(), p)) {
    TRect button = CaptionButtonArea();
    button.Bottom -= 2;
    if (PopupMenu()) {
      const TPoint at = ClientToScreen({button.Left, button.Bottom - 2});
      PopupMenu()->Popup(at.X, at.Y);
    } else if (OnCaptionBtnClick) {
      OnCaptionBtnClick(this, button);
    }
    return;
  }
  SectionClick();
}

void TLumToolPanel::Resize() {
  vcl::TCustomPanel::Resize();
  if (strip_) strip_->ResetAutoClose();
}

void TLumToolPanel::DoEnter() {
  vcl::TCustomPanel::DoEnter();
  focused_ = true;
  Invalidate();
}

void TLumToolPanel::DoExit() {
  vcl::TCustomPanel::DoExit();
  focused_ = false;
  Invalidate();
}

void TLumToolPanel::HandleHitTest(vcl::TMessage& message) {
  vcl::TCustomPanel::Dispatch(message);
  // The layer leaves the answer open; the window is client area throughout.
  if (message.Result == vcl::HTNOWHERE) message.Result = vcl::HTCLIENT;
  if (ComponentState().Contains(vcl::csDesigning) || Floating() || !strip_) return;
  if (!locked_) strip_->ResetAutoClose();
  if (!canSize_) return;
  const TPoint p = ScreenToClient({vcl::GET_X_LPARAM(message.LParam), vcl::GET_Y_LPARAM(message.LParam)});
  switch (strip_->Position()) {
    case ppLeft:
      if (p.X >= Width() - 2 && p.X <= Width()) message.Result = toolpanels::kHitRight;
      break;
    case ppRight:
      if (locked_ && p.X >= 0 && p.X <= 2) message.Result = toolpanels::kHitLeft;
      break;
    case ppTop:
      if (p.Y >= Height() - 2 && p.Y <= Height() + 2) message.Result = toolpanels::kHitBottom;
      break;
    case ppBottom:
      if (locked_ && p.Y >= -2 && p.Y <= 2) message.Result = toolpanels::kHitTop;
      break;
  }
}

void TLumToolPanel::HandleHintShow(vcl::TMessage& message) {
  auto* info = reinterpret_cast<vcl::THintInfo*>(message.LParam);
  if (!info) return;
  const TPoint p = ScreenToClient(info->CursorPos);
  if (showClose_ && PanelRectHolds(CloseHintRect(), p)) {
    info->HintStr = CloseHint;
    info->CursorRect = CloseHintRect();
  } else if (showLock_ && PanelRectHolds(LockHintRect(), p)) {
    info->HintStr = locked_ ? UnlockHint : LockHint;
    info->CursorRect = LockHintRect();
  } else {
    SectionHint(*info);
  }
  message.Result = 0;
}

void TLumToolPanel::Dispatch(vcl::TMessage& message) {
  if (!dockDragging_ && sizer_.Handle(this, message)) {
    // The size the user gave is the one the panel opens and is pinned at.
    if (message.Msg == vcl::WM_LBUTTONUP && strip_)
      SetOpenWidth(IsVerticalStrip(strip_->Position()) ? Width() : Height());
    return;
  }
  switch (message.Msg) {
    case vcl::WM_ERASEBKGND: message.Result = 1; return;
    case vcl::WM_NCHITTEST: HandleHitTest(message); return;
    case vcl::CM_HINTSHOW: HandleHintShow(message); return;
    case vcl::WM_ENTERSIZEMOVE:
      if (strip_) strip_->SetAutoCloseEnabled(false);
      break;
    case vcl::WM_EXITSIZEMOVE:
      if (strip_) strip_->SetAutoCloseEnabled(true);
      break;
    case vcl::WM_MOUSEMOVE:
      // While dragged by its grip the panel follows nothing: the strip
      // under the mouse is asked whether it takes it.
      if (dockDragging_) {
        DockMove(ClientToScreen({vcl::GET_X_LPARAM(message.LParam), vcl::GET_Y_LPARAM(message.LParam)}));
        return;
      }
      break;
    case vcl::WM_LBUTTONUP:
      if (dockDragging_)
        DockRelease(ClientToScreen({vcl::GET_X_LPARAM(message.LParam), vcl::GET_Y_LPARAM(message.LParam)}));
      break;
    case vcl::CM_MOUSELEAVE:
      vcl::TCustomPanel::Dispatch(message);
      pressed_ = false;
      RepaintButtonArea();
      SectionLeave();
      return;
    default: break;
  }
  vcl::TCustomPanel::Dispatch(message);
}

void TLumToolPanel::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TCustomPanel::Notification(component, operation);
  if (operation == vcl::opRemove && component == sectionImages_) sectionImages_ = nullptr;
}

}  // namespace controls
