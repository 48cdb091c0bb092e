#include "grid/GridButton.h"

#include <algorithm>

#include "grid/GridObjects.h"
#include "rtl/Convert.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace grid {

namespace {

TColor ButtonRGB(TColor c) { return vcl::ColorToRGB(c); }

// The grey copy of a glyph a disabled button shows: each pixel's mean
// halved and raised by 96, so every grey lies in 96 .. 223.
void MakeDisabledGlyph(const vcl::TBitmap& glyph, vcl::TBitmap& out) {
  out.Assign(&glyph);
  for (Integer y = 0; y < out.Height(); ++y)
    for (Integer x = 0; x < out.Width(); ++x) {
      const TColor c = out.Canvas()->Pixels(x, y);
      const Integer g = ((vcl::GetRValue(c) + vcl::GetGValue(c) + vcl::GetBValue(c)) / 3) / 2 + 96;
      out.Canvas()->SetPixels(x, y, vcl::RGB(static_cast<Byte>(g), static_cast<Byte>(g), static_cast<Byte>(g)));
    }
}

// A glyph's transparent colour: its bottom-left pixel.
TColor GlyphTransparent(vcl::TBitmap& glyph) { return glyph.Canvas()->Pixels(0, glyph.Height() - 1); }

void DrawGlyph(vcl::TCanvas* canvas, vcl::TBitmap* glyph, Integer x, Integer y) {
  if (glyph == nullptr || glyph->Empty()) return;
  vcl::TBitmap copy;
  copy.Assign(glyph);
  copy.SetTransparentColor(GlyphTransparent(*glyph));
  copy.SetTransparent(true);
  canvas->Draw(x, y, &copy);
}

struct ThemeSet {
  TColor color, colorTo, hot, hotTo, down, downTo, checked, checkedTo, border;
};
// The classic, blue, olive and silver sets.
constexpr ThemeSet kThemeSets[4] = {
    {vcl::clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31},
    {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000},
    {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000},
    {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000},
};

}  // namespace

void DrawButtonGradient(vcl::TCanvas* canvas, TColor from, TColor to, TColor outline, const vcl::TRect& r) {
  constexpr Integer n = 16;
  const TColor a = ButtonRGB(from), b = ButtonRGB(to);
  const Integer height = r.Height();
  for (Integer i = 0; i < n; ++i) {
    auto channel = [&](Integer s, Integer e) { return static_cast<Byte>(s + rtl::Round(i * (e - s) / double(n))); };
    const TColor c = vcl::RGB(channel(vcl::GetRValue(a), vcl::GetRValue(b)), channel(vcl::GetGValue(a), vcl::GetGValue(b)),
                              channel(vcl::GetBValue(a), vcl::GetBValue(b)));
    const Integer top = r.Top + i * height / n;
    const Integer bottom = std::min(r.Bottom, r.Top + (i + 1) * height / n + 1);
    canvas->Brush()->SetColor(c);
    canvas->Brush()->SetStyle(vcl::bsSolid);
    canvas->FillRect({r.Left, top, r.Right, bottom});
  }
  if (outline != clNone) {
    canvas->Brush()->SetColor(outline);
    canvas->FrameRect(r);
  }
}

// ===== TLumGridButton =====

TLumGridButton::TLumGridButton(vcl::TComponent* owner)
    : vcl::TGraphicControl(owner),
      glyph_(std::make_unique<vcl::TBitmap>()),
      glyphHot_(std::make_unique<vcl::TBitmap>()),
      glyphDown_(std::make_unique<vcl::TBitmap>()),
      glyphDisabled_(std::make_unique<vcl::TBitmap>()),
      shadow_(std::make_unique<vcl::TBitmap>()) {
  SetBounds(Left(), Top(), 23, 22);
  controlStyle_ = {vcl::csCaptureMouse, vcl::csDoubleClicks};
  SetColor(vcl::clBtnFace);
  SetParentFont(true);
}

TLumGridButton::~TLumGridButton() = default;

void TLumGridButton::SetShowCaption(bool v) {
  if (showCaption_ == v) return;
  showCaption_ = v;
  Invalidate();
}

void TLumGridButton::SetGlyph(const vcl::TBitmap* v) {
  glyph_->Assign(v);
  if (glyphDisabled_->Empty() && !glyph_->Empty()) MakeDisabledGlyph(*glyph_, *glyphDisabled_);
  if (shaded_ && !ComponentState().Contains(vcl::csLoading)) BuildShadow();
  Invalidate();
}

void TLumGridButton::SetGlyphHot(const vcl::TBitmap* v) { glyphHot_->Assign(v); }
void TLumGridButton::SetGlyphDown(const vcl::TBitmap* v) { glyphDown_->Assign(v); }
void TLumGridButton::SetGlyphDisabled(const vcl::TBitmap* v) { glyphDisabled_->Assign(v); }

void TLumGridButton::SetLayout(TButtonLayout v) {
  if (layout_ == v) return;
  layout_ = v;
  Invalidate();
}

void TLumGridButton::SetMargin(Integer v) {
  if (v < -1 || margin_ == v) return;
  margin_ = v;
  Invalidate();
}

void TLumGridButton::SetSpacing(Integer v) {
  if (spacing_ == v) return;
  spacing_ = v;
  Invalidate();
}

void TLumGridButton::SetFlat(bool v) {
  if (flat_ == v) return;
  flat_ = v;
  Invalidate();
}

void TLumGridButton::SetStyle(TLumGridButtonStyle v) {
  style_ = v;
  Invalidate();
}

void TLumGridButton::SetDown(bool v) {
  if (groupIndex_ == 0 && style_ != tasCheck) v = false;
  if (style_ == tasCheck && groupIndex_ == 0) {
    down_ = v;
    Invalidate();
    return;
  }
  if (v == down_) return;
  if (down_ && state_ == bsExclusive && !allowAllUp_) return;
  down_ = v;
  if (v) {
    if (state_ == bsUp) Invalidate();
    state_ = bsExclusive;
  } else {
    state_ = bsUp;
    Invalidate();
  }
  if (v) UpdateExclusive();
}

void TLumGridButton::SetGroupIndex(Integer v) {
  if (groupIndex_ == v) return;
  groupIndex_ = v;
  UpdateExclusive();
}

void TLumGridButton::SetAllowAllUp(bool v) {
  if (allowAllUp_ == v) return;
  allowAllUp_ = v;
  UpdateExclusive();
}

void TLumGridButton::UpdateExclusive() {
  if (groupIndex_ == 0 || Parent() == nullptr) return;
  vcl::TMessage msg{vcl::CM_BUTTONPRESSED, static_cast<vcl::WPARAM>(groupIndex_),
                    reinterpret_cast<vcl::LPARAM>(this)};
  Parent()->Broadcast(msg);
}

void TLumGridButton::ButtonPressed(Integer group, TLumGridButton* sender) {
  if (group != groupIndex_ || sender == this) return;
  if (sender->Down() && down_) {
    down_ = false;
    state_ = bsUp;
    Invalidate();
  }
  allowAllUp_ = sender->AllowAllUp();
}

void TLumGridButton::SetShaded(bool v) {
  shaded_ = v;
  if (v && !ComponentState().Contains(vcl::csLoading)) BuildShadow();
  Invalidate();
}

void TLumGridButton::BuildShadow() {
  shadow_->Assign(glyph_.get());
  if (glyph_->Empty()) return;
  // Every pixel but the transparent colour becomes the grey silhouette.
  const TColor transparent = GlyphTransparent(*glyph_);
  for (Integer y = 0; y < shadow_->Height(); ++y)
    for (Integer x = 0; x < shadow_->Width(); ++x)
      if (glyph_->Canvas()->Pixels(x, y) != transparent) shadow_->Canvas()->SetPixels(x, y, 0x808080);
}

void TLumGridButton::SetDropDownMenu(vcl::TPopupMenu* menu) {
  dropDownMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TLumGridButton::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TGraphicControl::Notification(component, operation);
  if (operation == vcl::opRemove && component == dropDownMenu_) dropDownMenu_ = nullptr;
  if (operation == vcl::opRemove && component == linkedAction_) linkedAction_ = nullptr;
}

void TLumGridButton::ActionChange(vcl::TBasicAction* sender) {
  const auto* action = dynamic_cast<const vcl::TCustomAction*>(sender);
  if (action == nullptr) return;
  const bool linking = sender != linkedAction_;
  linkedAction_ = sender;
  actionLink_.AssignClient(this);
  actionLink_.Change(*action, linking);
}

// ===== the action link =====

bool TLumGridButtonActionLink::Linked() const { return client_ != nullptr && client_->Action() != nullptr; }

bool TLumGridButtonActionLink::IsCaptionLinked() const { return Linked() && client_->Caption() == caption_; }

bool TLumGridButtonActionLink::IsCheckedLinked() const {
  return Linked() && client_->GroupIndex() != 0 && client_->AllowAllUp() && client_->Down() == checked_;
}

bool TLumGridButtonActionLink::IsGroupIndexLinked() const { return Linked() && client_->GroupIndex() == groupIndex_; }

void TLumGridButtonActionLink::SetCaption(const AnsiString& value) {
  if (IsCaptionLinked()) client_->SetCaption(value);
  caption_ = value;
}

void TLumGridButtonActionLink::SetChecked(bool value) {
  if (IsCheckedLinked()) client_->SetDown(value);
  checked_ = value;
}

void TLumGridButtonActionLink::SetGroupIndex(Integer value) {
  if (IsGroupIndexLinked()) client_->SetGroupIndex(value);
  groupIndex_ = value;
}

void TLumGridButtonActionLink::Change(const vcl::TCustomAction& action, bool linking) {
  if (client_ == nullptr) return;
  if (linking) {
    // A new action gives the button all of its state.
    client_->SetCaption(action.Caption());
    client_->SetGroupIndex(action.GroupIndex());
    client_->SetDown(action.Checked());
    caption_ = action.Caption();
    groupIndex_ = action.GroupIndex();
    checked_ = action.Checked();
  } else {
    SetCaption(action.Caption());
    SetGroupIndex(action.GroupIndex());
    SetChecked(action.Checked());
  }
  client_->SetEnabled(action.Enabled());
  client_->SetHint(action.Hint());
  client_->SetVisible(action.Visible());
}

void TLumGridButton::SetAutoThemeAdapt(bool v) {
  autoThemeAdapt_ = v;
  if (v) ThemeAdapt();
}

void TLumGridButton::ThemeAdapt() {
  Integer scheme = 0;
  char16_t file[256], colour[256], size[256];
  if (vcl::IsThemeActive() && vcl::GetCurrentThemeName(file, 255, colour, 255, size, 255) == vcl::S_OK) {
    const WideString name(colour);
    if (name == u"NormalColor") scheme = 1;
    else if (name == u"HomeStead") scheme = 2;
    else if (name == u"Metallic") scheme = 3;
  }
  const ThemeSet& s = kThemeSets[scheme];
  SetFlat(true);
  Rounded = false;
  BorderColor = clNone;
  SetColor(s.color);
  ColorTo = s.colorTo;
  ColorHot = s.hot;
  ColorHotTo = s.hotTo;
  ColorDown = s.down;
  ColorDownTo = s.downTo;
  ColorChecked = s.checked;
  ColorCheckedTo = s.checkedTo;
  BorderDownColor = s.border;
  BorderHotColor = s.border;
  Invalidate();
}

void TLumGridButton::Loaded() {
  vcl::TGraphicControl::Loaded();
  if (shaded_) BuildShadow();
  if (autoThemeAdapt_) ThemeAdapt();
}

void TLumGridButton::Dispatch(vcl::TMessage& message) {
  switch (message.Msg) {
    case vcl::CM_MOUSEENTER:
      vcl::TGraphicControl::Dispatch(message);
      MouseEntered();
      return;
    case vcl::CM_MOUSELEAVE:
      vcl::TGraphicControl::Dispatch(message);
      MouseLeft();
      return;
    case vcl::CM_ENABLEDCHANGED:
      if (!Enabled()) hot_ = false;
      Invalidate();
      break;
    case vcl::CM_BUTTONPRESSED:
      ButtonPressed(static_cast<Integer>(message.WParam), reinterpret_cast<TLumGridButton*>(message.LParam));
      return;
    case vcl::CM_DIALOGCHAR:
      if (vcl::IsAccel(static_cast<Word>(message.WParam), Caption()) && Enabled() && Visible() && Parent() &&
          Parent()->Showing()) {
        Click();
        message.Result = 1;
        return;
      }
      break;
    case vcl::CM_FONTCHANGED:
    case vcl::CM_TEXTCHANGED:
    case vcl::CM_SYSCOLORCHANGE:
      Invalidate();
      break;
    case vcl::WM_THEMECHANGED:
    case vcl::CM_BASE + 53:
      if (autoThemeAdapt_) ThemeAdapt();
      break;
    case vcl::WM_LBUTTONDBLCLK:
      if (down_ && OnDblClick) {
        OnDblClick(this);
        return;
      }
      break;
    default:
      break;
  }
  vcl::TGraphicControl::Dispatch(message);
}

void TLumGridButton::MouseEntered() {
  if (!Enabled() || hot_ || dragging_) return;
  hot_ = true;
  Invalidate();
}

void TLumGridButton::MouseLeft() {
  if (!Enabled() || !hot_ || dragging_) return;
  hot_ = false;
  Invalidate();
}

void TLumGridButton::MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TGraphicControl::MouseDown(button, shift, x, y);
  if (button != vcl::mbLeft || !Enabled()) return;
  if (DropDownButton && x > ClientWidth() - 12) {
    state_ = bsUp;
    Invalidate();
    if (OnDropDown) OnDropDown(this);
    if (dropDownMenu_) {
      const vcl::TPoint p = ClientToScreen({0, Height()});
      dropDownMenu_->Popup(p.X, p.Y);
    }
    return;
  }
  if (!down_ || style_ == tasCheck) {
    state_ = bsDown;
    Invalidate();
  }
  dragging_ = true;
}

void TLumGridButton::MouseMove(vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) {
    if (!hot_) MouseEntered();
    return;
  }
  const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
  TGridButtonState s = inside ? bsDown : bsUp;
  if (s == bsUp && down_) s = bsExclusive;
  if (style_ == tasCheck && down_) s = bsDown;
  if (s != state_) {
    state_ = s;
    Invalidate();
  }
}

void TLumGridButton::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TGraphicControl::MouseUp(button, shift, x, y);
  if (!dragging_ || button != vcl::mbLeft) return;
  dragging_ = false;
  const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
  if (groupIndex_ == 0) {
    state_ = bsUp;
    if (inside && style_ == tasCheck) down_ = !down_;
    Invalidate();
  } else if (inside) {
    SetDown(!down_);
    Invalidate();
  } else if (down_) {
    state_ = bsExclusive;
    Invalidate();
  }
  if (inside) Click();
  hot_ = inside && Enabled();
  Invalidate();
}

void TLumGridButton::Click() { vcl::TGraphicControl::Click(); }

vcl::TBitmap* TLumGridButton::ChosenGlyph() {
  const bool design = ComponentState().Contains(vcl::csDesigning);
  const bool down = state_ == bsDown || state_ == bsExclusive || (down_ && groupIndex_ != 0);
  vcl::TBitmap* chosen = nullptr;
  if (!Enabled())
    chosen = glyphDisabled_.get();
  else if (hot_ && !design)
    chosen = down ? glyphDown_.get() : glyphHot_.get();
  else
    chosen = down ? glyphDown_.get() : glyph_.get();
  if (chosen == nullptr || chosen->Empty()) chosen = glyph_.get();
  return chosen;
}

TLumGridButton::TContentLayout TLumGridButton::LayoutContent(const vcl::TRect& client, vcl::TPoint offset) {
  vcl::TCanvas* canvas = Canvas();
  const vcl::TPoint glyphSize = glyph_->Empty() ? vcl::TPoint{0, 0} : vcl::TPoint{glyph_->Width(), glyph_->Height()};
  vcl::TPoint textSize{0, 0};
  if (!Caption().empty()) {
    vcl::TRect r{0, 0, client.Width(), 0};
    canvas->Font()->Assign(Font());
    canvas->DrawText(Caption(), r, vcl::DT_CALCRECT | vcl::DT_SINGLELINE);
    textSize = {r.Width(), r.Height()};
  }
  const TButtonLayout layout = layout_;
  const vcl::TPoint clientSize{client.Width(), client.Height()};
  vcl::TPoint glyphPos, textPos;
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  if (horizontal) {
    glyphPos.Y = (clientSize.Y - glyphSize.Y + 1) / 2;
    textPos.Y = (clientSize.Y - textSize.Y + 1) / 2;
  } else {
    glyphPos.X = (clientSize.X - glyphSize.X + 1) / 2;
    textPos.X = (clientSize.X - textSize.X + 1) / 2;
  }
  Integer margin = margin_, spacing = spacing_;
  if (textSize.X == 0 || glyphSize.X == 0) spacing = 0;
  const Integer room = horizontal ? clientSize.X : clientSize.Y;
  const Integer g = horizontal ? glyphSize.X : glyphSize.Y;
  const Integer t = horizontal ? textSize.X : textSize.Y;
  if (margin == -1) {
    if (spacing == -1) {
      margin = spacing = (room - g - t) / 3;
    } else {
      margin = (room - g - spacing - t + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = ((room - margin - g) - t) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      glyphPos.X = margin;
      textPos.X = glyphPos.X + glyphSize.X + spacing;
      break;
    case blGlyphRight:
      glyphPos.X = clientSize.X - margin - glyphSize.X;
      textPos.X = glyphPos.X - spacing - textSize.X;
      break;
    case blGlyphTop:
      glyphPos.Y = margin;
      textPos.Y = glyphPos.Y + glyphSize.Y + spacing;
      break;
    case blGlyphBottom:
      glyphPos.Y = clientSize.Y - margin - glyphSize.Y;
      textPos.Y = glyphPos.Y - spacing - textSize.Y;
      break;
  }
  TContentLayout out;
  out.GlyphPos = {glyphPos.X + client.Left + offset.X, glyphPos.Y + client.Top + offset.Y};
  out.TextBounds = {textPos.X + client.Left + offset.X, textPos.Y + client.Top + offset.Y,
                    textPos.X + client.Left + offset.X + textSize.X, textPos.Y + client.Top + offset.Y + textSize.Y};
  return out;
}

void TLumGridButton::Paint() {
  const bool design = ComponentState().Contains(vcl::csDesigning);
  if (!Enabled()) {
    state_ = bsDisabled;
    dragging_ = false;
  } else if (state_ == bsDisabled) {
    state_ = (down_ && groupIndex_ != 0) ? bsExclusive : bsUp;
  }
  if (style_ == tasCheck && down_) state_ = bsDown;
  vcl::TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  vcl::TRect r = ClientRect();
  const bool pressed = state_ == bsDown && dragging_;
  auto outlined = [&](TColor from, TColor to, TColor outline, const vcl::TRect& rect) {
    if (to == clNone) {
      canvas->Brush()->SetColor(from);
      canvas->Brush()->SetStyle(vcl::bsSolid);
      canvas->Pen()->SetColor(outline == clNone ? from : outline);
      canvas->Rectangle(rect);
    } else {
      DrawButtonGradient(canvas, from, to, outline, rect);
    }
  };
  if (flat_) {
    if (BorderDownColor == clNone || Rounded) vcl::InflateRect(r, -1, -1);
    if (!hot_ || !Enabled() || design) {
      if (style_ == tasCheck && down_) {
        DrawButtonGradient(canvas, ColorChecked, ColorCheckedTo == clNone ? ColorChecked : ColorCheckedTo,
                           BorderDownColor, r);
      } else {
        if (ColorTo == clNone) {
          canvas->Brush()->SetColor(Color());
          canvas->Brush()->SetStyle(vcl::bsSolid);
          canvas->FillRect(r);
        } else {
          DrawButtonGradient(canvas, Color(), ColorTo, Rounded ? clNone : (down_ ? BorderDownColor : BorderColor), r);
        }
        if (BorderColor != clNone) {
          canvas->Brush()->SetStyle(vcl::bsClear);
          canvas->Pen()->SetColor(BorderColor);
          if (Rounded) {
            vcl::TRect g = r;
            vcl::InflateRect(g, 1, 1);
            canvas->RoundRect(g.Left, g.Top, g.Right, g.Bottom, 8, 8);
          } else {
            canvas->Rectangle(r);
          }
        }
      }
    } else {
      TColor from = ColorHot, to = ColorHotTo, outline = BorderHotColor;
      if (pressed) from = ColorDown, to = ColorDownTo, outline = BorderDownColor;
      else if (style_ == tasCheck && down_) from = ColorChecked, to = ColorCheckedTo, outline = BorderDownColor;
      outlined(from, to, Rounded ? clNone : outline, r);
      if (Rounded) {
        vcl::TRect g = r;
        vcl::InflateRect(g, 1, 1);
        canvas->Brush()->SetStyle(vcl::bsClear);
        canvas->Pen()->SetColor(pressed ? BorderDownColor : BorderHotColor);
        canvas->RoundRect(g.Left, g.Top, g.Right, g.Bottom, 8, 8);
      }
      if (DropDownButton) {
        canvas->Pen()->SetColor(outline == clNone ? from : outline);
        canvas->MoveTo(r.Right - 12, r.Top);
        canvas->LineTo(r.Right - 12, r.Bottom);
      }
    }
    vcl::InflateRect(r, -1, -1);
  } else {
    const bool downLook = state_ == bsDown || state_ == bsExclusive;
    bool themed = false;
    if (AutoXPStyle && IsThemedXP()) {
      if (vcl::HTHEME theme = vcl::OpenThemeData(0, u"button")) {
        const Integer s = downLook ? vcl::PBS_PRESSED : (hot_ ? vcl::PBS_HOT : vcl::PBS_NORMAL);
        themed = vcl::DrawThemeBackground(theme, canvas, vcl::BP_PUSHBUTTON, s, &r, nullptr) == vcl::S_OK;
        vcl::CloseThemeData(theme);
      }
    }
    if (!themed) {
      vcl::TRect frame = r;
      canvas->DrawFrameControl(frame, vcl::DFC_BUTTON, vcl::DFCS_BUTTONPUSH | (downLook ? vcl::DFCS_PUSHED : 0));
    }
    vcl::InflateRect(r, -2, -2);
  }
  vcl::TPoint offset{0, 0};
  if (state_ == bsDown || state_ == bsExclusive) {
    if (state_ == bsExclusive && (!flat_ || !hot_)) {
      vcl::TRect g = r;
      vcl::InflateRect(g, 1, 1);
      DrawButtonGradient(canvas, ColorChecked, ColorCheckedTo == clNone ? ColorChecked : ColorCheckedTo,
                         down_ ? BorderDownColor : BorderColor, g);
    }
    if (!flat_ && !design) offset = {1, 1};
  } else if (flat_ && hot_ && Enabled() && shaded_) {
    offset = {-1, -1};
  }
  if (DropDownButton) {
    const Integer cx = r.Right - 6, cy = r.Top + r.Height() / 2;
    canvas->Brush()->SetColor(Font()->Color());
    canvas->Brush()->SetStyle(vcl::bsSolid);
    canvas->Pen()->SetColor(Font()->Color());
    canvas->Polygon({{cx - 2, cy - 1}, {cx + 2, cy - 1}, {cx, cy + 1}});
    r.Right -= 12;
  }
  const TContentLayout layout = LayoutContent(r, offset);
  vcl::TBitmap* glyph = ChosenGlyph();
  const bool caption = showCaption_ && !Caption().empty();
  // Without a caption the glyph sits at the top-left corner and covers
  // the shadow drawn at its laid-out place.
  const vcl::TPoint glyphAt = Caption().empty() ? vcl::TPoint{0, 0} : layout.GlyphPos;
  if (hot_ && Enabled() && shaded_ && state_ != bsDown && !shadow_->Empty())
    DrawGlyph(canvas, shadow_.get(), glyphAt.X + 2, glyphAt.Y + 2);
  DrawGlyph(canvas, glyph, glyphAt.X, glyphAt.Y);
  if (caption) {
    canvas->Brush()->SetStyle(vcl::bsClear);
    vcl::TRect t = layout.TextBounds;
    const Cardinal flags = vcl::DT_CENTER | vcl::DT_VCENTER | vcl::DT_SINGLELINE;
    if (!Enabled()) {
      vcl::TRect shifted = t;
      vcl::OffsetRect(shifted, 1, 1);
      canvas->Font()->SetColor(vcl::clBtnHighlight);
      canvas->DrawText(Caption(), shifted, flags);
      canvas->Font()->SetColor(vcl::clBtnShadow);
    }
    canvas->DrawText(Caption(), t, flags);
  }
}

// ===== TLumCheckBox =====

TLumCheckBox::TLumCheckBox(vcl::TComponent* owner) : vcl::TCustomControl(owner) {
  SetBounds(Left(), Top(), 98, 20);
  controlStyle_.Exclude(vcl::csClickEvents);
  SetText(ClassName());
  SetColor(vcl::clWindow);
  SetParentFont(true);
  SetParentColor(true);
  SetTabStop(false);
}

void TLumCheckBox::SetText(const AnsiString& s) {
  vcl::TCustomControl::SetText(s);
  Invalidate();
}

void TLumCheckBox::SetState(TCheckBoxState v) {
  if (state_ == v) return;
  state_ = v;
  RepaintBox();
}

void TLumCheckBox::SetChecked(bool v) {
  SetState(v ? cbChecked : cbUnchecked);
  Invalidate();
}

void TLumCheckBox::SetAlignment(TLeftRight v) {
  if (alignment_ == v) return;
  alignment_ = v;
  Invalidate();
}

void TLumCheckBox::SetButtonVertAlign(vcl::TTextLayout v) {
  if (vertAlign_ == v) return;
  vertAlign_ = v;
  Invalidate();
}

void TLumCheckBox::SetEllipsis(bool v) {
  if (ellipsis_ == v) return;
  ellipsis_ = v;
  Invalidate();
}

void TLumCheckBox::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TLumCheckBox::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  vcl::TCustomControl::SetBounds(left, top, width, height);
  if (transparent_) Invalidate();
}

void TLumCheckBox::Toggle() {
  if (!ReadOnly) SetChecked(!Checked());
}

void TLumCheckBox::RepaintBox() { Invalidate(); }

vcl::TRect TLumCheckBox::BoxRect() const {
  const bool themed = IsThemedXP();
  const Integer size = themed ? 14 : 13;
  const Integer w = ClientWidth(), h = ClientHeight();
  const Integer x = alignment_ == TLeftRight::taRightJustify ? w - (themed ? 15 : 13) : 0;
  Integer y = 4;
  if (vertAlign_ == vcl::tlCenter) y = h / 2 - 6;
  else if (vertAlign_ == vcl::tlBottom) y = themed ? h - 14 : h - 17;
  return {x, y, x + size, y + size};
}

void TLumCheckBox::Paint() {
  vcl::TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  const vcl::TRect client = ClientRect();
  if (!transparent_ || Parent() == nullptr ||
      vcl::DrawThemeParentBackground(Handle(), canvas, &client) != vcl::S_OK) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(vcl::bsSolid);
    canvas->FillRect(client);
  }

  vcl::TRect box = BoxRect();
  bool themed = false;
  if (IsThemedXP()) {
    if (vcl::HTHEME theme = vcl::OpenThemeData(Handle(), u"button")) {
      Integer base = state_ == cbChecked ? vcl::CBS_CHECKEDNORMAL
                                         : (state_ == cbGrayed ? vcl::CBS_MIXEDNORMAL : vcl::CBS_UNCHECKEDNORMAL);
      Integer offset = 0;
      if (!Enabled()) offset = 3;
      else if (pressed_) offset = 2;
      else if (hot_) offset = 1;
      themed = vcl::DrawThemeBackground(theme, canvas, vcl::BP_CHECKBOX, base + offset, &box, nullptr) == vcl::S_OK;
      vcl::CloseThemeData(theme);
    }
  }
  if (!themed) {
    Cardinal s = vcl::DFCS_BUTTONCHECK;
    if (!Enabled() || state_ == cbGrayed) s |= vcl::DFCS_INACTIVE;
    if (state_ == cbChecked) s |= vcl::DFCS_CHECKED;
    canvas->DrawFrameControl(box, vcl::DFC_BUTTON, s);
  }

  vcl::TRect text = client;
  if (alignment_ == TLeftRight::taLeftJustify) {
    text.Left = 9;
  } else {
    text.Left = 0;
    text.Right -= 9;
  }
  text.Top += 4;
  text.Left += 6;
  canvas->Brush()->SetStyle(vcl::bsClear);
  const Cardinal flags = vcl::DT_LEFT | vcl::DT_TOP | vcl::DT_SINGLELINE | (ellipsis_ ? vcl::DT_END_ELLIPSIS : 0);
  if (!Enabled()) {
    vcl::TRect shifted = text;
    vcl::OffsetRect(shifted, 1, 1);
    canvas->Font()->SetColor(clWhite);
    canvas->DrawText(Caption(), shifted, flags);
    canvas->Font()->SetColor(0x808080);
  }
  vcl::TRect drawn = text;
  canvas->DrawText(Caption(), drawn, flags);
  if (focused_) {
    const vcl::TSize size = canvas->TextExtent(Caption());
    canvas->DrawFocusRect({text.Left - 2, text.Top, text.Left + size.cx + 1, text.Top + size.cy + 1});
  }
}

void TLumCheckBox::DoEnter() {
  focused_ = true;
  Invalidate();
  vcl::TCustomControl::DoEnter();
}

void TLumCheckBox::DoExit() {
  focused_ = false;
  Invalidate();
  vcl::TCustomControl::DoExit();
}

void TLumCheckBox::MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  if (button == vcl::mbLeft) {
    if (!Focused() && CanFocus()) SetFocus();
    SetMouseCapture(true);
    pressed_ = true;
    clicking_ = true;
    RepaintBox();
  }
  vcl::TCustomControl::MouseDown(button, shift, x, y);
}

void TLumCheckBox::MouseMove(vcl::TShiftState shift, Integer x, Integer y) {
  if (clicking_) {
    const bool inside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
    if (inside != pressed_) {
      pressed_ = inside;
      RepaintBox();
    }
  }
  vcl::TCustomControl::MouseMove(shift, x, y);
}

void TLumCheckBox::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  if (button == vcl::mbLeft) {
    SetMouseCapture(false);
    pressed_ = false;
    const bool inside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
    // A box that cannot take the focus still counts its own click.
    if (inside && clicking_ && (Focused() || !CanFocus())) {
      Toggle();
      if (OnClick) OnClick(this);
    }
    clicking_ = false;
    RepaintBox();
  }
  vcl::TCustomControl::MouseUp(button, shift, x, y);
}

void TLumCheckBox::KeyDown(Word& key, vcl::TShiftState shift) {
  if (key == vcl::VK_RETURN && ReturnIsTab) {
    key = vcl::VK_TAB;
    vcl::PostMessage(Handle(), vcl::WM_KEYDOWN, vcl::VK_TAB, 0);
  }
  if (key == vcl::VK_SPACE) {
    pressed_ = true;
    RepaintBox();
  }
  vcl::TCustomControl::KeyDown(key, shift);
}

void TLumCheckBox::KeyUp(Word& key, vcl::TShiftState shift) {
  if (key == vcl::VK_SPACE) {
    pressed_ = false;
    Toggle();
    if (OnClick) OnClick(this);
  }
  vcl::TCustomControl::KeyUp(key, shift);
}

void TLumCheckBox::Dispatch(vcl::TMessage& message) {
  switch (message.Msg) {
    case vcl::CM_MOUSEENTER:
      hot_ = true;
      RepaintBox();
      break;
    case vcl::CM_MOUSELEAVE:
      hot_ = false;
      RepaintBox();
      break;
    case vcl::CM_ENABLEDCHANGED:
      Invalidate();
      break;
    case vcl::CM_DIALOGCHAR:
      if (vcl::IsAccel(static_cast<Word>(message.WParam), Caption()) && CanFocus()) {
        Toggle();
        if (TabStop()) SetFocus();
        message.Result = 1;
        return;
      }
      break;
    case vcl::WM_ERASEBKGND:
      if (transparent_) {
        message.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  vcl::TCustomControl::Dispatch(message);
}

}  // namespace grid
