// The calculator keypad: the key items, their appearance, the glossy key
// face and the panel that lays out, paints and clicks the 28 keys.
#include <algorithm>
#include <array>

#include "controls/LumGDIP.h"
#include "dropdown/LumCalculatorDropdown.h"
#include "vcl/Messages.h"

namespace dropdown {

using namespace vcl;
using controls::AlphaColorToARGB;
using controls::ColorToOpaqueARGB;
using controls::TGPGraphics;
using controls::TGPLinearGradientBrush;
using controls::TGPPen;
using controls::TGPSolidBrush;

// ---------------------------------------------------------------------------
// TButtonItem

TButtonItem::TButtonItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), image_(std::make_unique<TPicture>()) {}

void TButtonItem::Assign(const TButtonItem& s) {
  caption_ = s.caption_;
  captionColor_ = s.captionColor_;
  tag_ = s.tag_;
  imageIndex_ = s.imageIndex_;
  image_->Assign(s.image_.get());
  enabled_ = s.enabled_;
  name_ = s.name_;
  Changed();
}

void TButtonItem::Changed() {
  if (auto* items = dynamic_cast<TButtonItems*>(Collection())) items->Update(this);
}

void TButtonItem::SetCaption(const AnsiString& v) {
  caption_ = v;
  Changed();
}

void TButtonItem::SetImageIndex(Integer v) {
  imageIndex_ = v;
  Changed();
}

void TButtonItem::SetImage(const TPicture* v) {
  image_->Assign(v);
  Changed();
}

void TButtonItem::SetEnabled(bool v) {
  enabled_ = v;
  Changed();
}

void TButtonItem::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void TButtonItems::Update(rtl::TCollectionItem*) {
  // A calculator's keypad is repainted by the calculator as a whole.
  if (owner_ != nullptr && owner_->LinkedCalculator() == nullptr) owner_->Invalidate();
}

// ---------------------------------------------------------------------------
// TButtonAppearance

TButtonAppearance::TButtonAppearance() : font_(std::make_unique<TFont>()) {
  font_->SetSize(10);
  font_->SetStyle(TFontStyles{fsBold});
}

void TButtonAppearance::Assign(const TPersistent* source) {
  const auto* s = dynamic_cast<const TButtonAppearance*>(source);
  if (s == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  color_ = s->color_;
  colorTo_ = s->colorTo_;
  colorHot_ = s->colorHot_;
  colorHotTo_ = s->colorHotTo_;
  colorDown_ = s->colorDown_;
  colorDownTo_ = s->colorDownTo_;
  borderColor_ = s->borderColor_;
  borderColorHot_ = s->borderColorHot_;
  borderColorDown_ = s->borderColorDown_;
  GlowColorHot = s->GlowColorHot;
  GlowColorDown = s->GlowColorDown;
  shineColor_ = s->shineColor_;
  font_->Assign(s->font_.get());
  textColor_ = s->textColor_;
  specialTextColor_ = s->specialTextColor_;
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// The key face

void PaintGlowFace(TCanvas* canvas, const TRect& r, TColor border, TColor color, TColor colorTo, TColor glow,
                   TColor shine, TColor inner) {
  TGPGraphics g(canvas);
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  const REAL left = REAL(r.Left), top = REAL(r.Top), width = REAL(r.Width()), height = REAL(r.Height());
  const Integer e = r.Height() / 2;
  // The lower part a gradient, the upper part the colour under a shine
  // fading from alpha 160 to 90.
  {
    TGPLinearGradientBrush lower({left, REAL(r.Top + e) - 1, width - 1, REAL(r.Height() - e) + 1},
                                 ColorToOpaqueARGB(color), ColorToOpaqueARGB(colorTo), vcl::LinearGradientModeVertical);
    g.FillRectangle(&lower, left, REAL(r.Top + e), width - 1, REAL(r.Height() - e));
    TGPSolidBrush upper(ColorToOpaqueARGB(color));
    g.FillRectangle(&upper, left, top, width, REAL(e));
    TGPLinearGradientBrush gloss({left, top - 1, width, REAL(e) + 2}, AlphaColorToARGB(160, shine),
                                 AlphaColorToARGB(90, shine), vcl::LinearGradientModeVertical);
    g.FillRectangle(&gloss, left, top, width, REAL(e));
  }
  auto line = [&](TColor c, Byte alpha, REAL x1, REAL y1, REAL x2, REAL y2) {
    TGPPen pen(AlphaColorToARGB(alpha, c), 1);
    g.DrawLine(&pen, x1, y1, x2, y2);
  };
  line(clWhite, 255, left + 1, top + 1, left + width - 2, top + 1);
  line(inner, 255, left + 1, top + 2, left + 1, REAL(r.Bottom - 2));
  line(inner, 255, left + 1, REAL(r.Bottom - 2), REAL(r.Right - 2), REAL(r.Bottom - 2));
  line(inner, 255, REAL(r.Right - 2), REAL(r.Bottom - 2), REAL(r.Right - 2), top + 2);
  {
    TGPPen pen(ColorToOpaqueARGB(border), 1);
    g.DrawRectangle(&pen, left, top, width - 1, height - 2);
  }
  if (glow == clNone) return;
  {
    TGPPen pen(AlphaColorToARGB(100, glow), 1);
    g.DrawRectangle(&pen, left, top, width - 1, height - 2);
  }
  // The halo: bands from alpha 130 next to the key to nothing outside.
  const ARGB near = AlphaColorToARGB(130, glow);
  const ARGB far = AlphaColorToARGB(0, glow);
  auto band = [&](REAL x, REAL y, REAL w, REAL h, ARGB from, ARGB to, vcl::LinearGradientMode mode) {
    TGPLinearGradientBrush brush({x - 1, y - 1, w + 2, h + 2}, from, to, mode);
    g.FillRectangle(&brush, x, y, w, h);
  };
  const REAL right = REAL(r.Right), bottom = REAL(r.Bottom);
  band(left - 8, top, 8, height, far, near, vcl::LinearGradientModeHorizontal);
  band(right, top, 8, height, near, far, vcl::LinearGradientModeHorizontal);
  band(left, top - 8, width, 8, far, near, vcl::LinearGradientModeVertical);
  band(left, bottom, width, 7, near, far, vcl::LinearGradientModeVertical);
  band(left - 5, top - 5, 5, 5, far, near, vcl::LinearGradientModeForwardDiagonal);
  band(right, bottom, 6, 6, near, far, vcl::LinearGradientModeForwardDiagonal);
  band(right, top - 5, 5, 5, far, near, vcl::LinearGradientModeBackwardDiagonal);
  band(left - 6, bottom, 6, 6, near, far, vcl::LinearGradientModeBackwardDiagonal);
}

// ---------------------------------------------------------------------------
// TCustomButtonPanel

namespace {

struct StandardKey {
  const char* caption;
  const char* name;
  Integer tag;
  bool special;
};

constexpr std::array<StandardKey, 28> kStandardKeys{{
    {"", "BTN_ON", 30, false},       {"Back", "BTN_BACK", 31, true}, {"CE", "BTN_CE", 32, true},
    {"C", "BTN_C", 16, true},        {"MC", "BTN_MC", 33, true},     {"MR", "BTN_MR", 34, true},
    {"MS", "BTN_MS", 35, true},      {"M+", "BTN_M+", 36, true},     {"0", "BTN_0", 0, false},
    {"1", "BTN_1", 1, false},        {"4", "BTN_4", 4, false},       {"7", "BTN_7", 7, false},
    {"8", "BTN_8", 8, false},        {"5", "BTN_5", 5, false},       {"2", "BTN_2", 2, false},
    {"+/-", "BTN_+/-", 14, false},   {".", "BTN_.", 15, false},      {"3", "BTN_3", 3, false},
    {"6", "BTN_6", 6, false},        {"9", "BTN_9", 9, false},       {"/", "BTN_/", 13, true},
    {"*", "BTN_*", 12, true},        {"-", "BTN_-", 11, true},       {"+", "BTN_+", 10, true},
    {"=", "BTN_=", 17, true},        {"1/x", "BTN_1/x", 38, false},  {"%", "BTN_%", 18, false},
    {"sqrt", "BTN_sqrt", 37, true},
}};

}  // namespace

TCustomButtonPanel::TCustomButtonPanel(TComponent* owner)
    : TCustomControl(owner),
      buttons_(std::make_unique<TButtonItems>(this)),
      appearance_(std::make_unique<TButtonAppearance>()) {
  appearance_->OnChange = [this](TObject*) {
    if (linkedCalculator_ == nullptr) Invalidate();
  };
}

TCustomButtonPanel::~TCustomButtonPanel() { buttons_->Clear(); }

void TCustomButtonPanel::SetImages(TImageList* v) {
  if (images_ != nullptr) images_->RemoveFreeNotification(this);
  images_ = v;
  if (images_ != nullptr) images_->FreeNotification(this);
  Invalidate();
}

void TCustomButtonPanel::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && images_ != nullptr && component == static_cast<TComponent*>(images_)) images_ = nullptr;
}

void TCustomButtonPanel::Loaded() {
  TCustomControl::Loaded();
  if (linkedCalculator_ == nullptr) BuildButtons();
}

void TCustomButtonPanel::GetButtonArea(TRect& r) {
  r = ClientRect();
  r = {r.Left + marginX_, r.Top + marginY_, r.Right - marginX_, r.Bottom - marginY_};
}

void TCustomButtonPanel::GetContentSize(TSize& size) {
  size = {0, 0};
  TBitmap measure(1, 1);
  measure.Canvas()->Font()->Assign(appearance_->Font());
  for (Integer i = 0; i < buttons_->Count(); ++i) {
    TButtonItem* b = buttons_->Items(i);
    TSize t = measure.Canvas()->TextExtent(b->Caption());
    Integer w = t.cx + 2 * captionInsetX_;
    Integer h = t.cy + 2 * captionInsetY_;
    if (b->Image()->Graphic() != nullptr && !b->Image()->Graphic()->Empty()) {
      w += b->Image()->Width() + imageSpacing_;
      h = std::max(h, b->Image()->Height() + 2 * captionInsetY_);
    }
    size.cx = std::max(size.cx, w);
    size.cy = std::max(size.cy, h);
  }
}

void TCustomButtonPanel::ClearButtons() { buttons_->Clear(); }

void TCustomButtonPanel::ResetButtons() {
  ClearButtons();
  BuildButtons();
}

void TCustomButtonPanel::BuildButtons() {
  if (buttons_->Count() == 0 && !customLayout_) {
    buttons_->BeginUpdate();
    for (const StandardKey& k : kStandardKeys) {
      TButtonItem* b = buttons_->Add();
      b->SetCaption(k.caption);
      b->SetName(k.name);
      b->SetTag(k.tag);
      b->SetSpecial(k.special);
      if (k.special) b->SetCaptionColor(0x000080);
    }
    buttons_->EndUpdate();
  }
  LayoutButtons();
}

void TCustomButtonPanel::LayoutButtons() {
  if (buttons_->Count() == 0 || customLayout_) return;
  TRect a;
  GetButtonArea(a);
  const Integer w = (a.Right - a.Left - 8) / 6;
  const Integer h = (a.Bottom - a.Top - 4) / 5;
  const Integer x0 = a.Left, x1 = x0 + w + 4, x2 = x1 + w - 1, x3 = x2 + w - 1, x4 = x3 + w + 4, x5 = x4 + w - 1;
  const Integer e = x5 + w;
  const Integer y0 = a.Top, y1 = a.Top + h + 4, y2 = y1 + h - 1, y3 = y2 + h - 1, y4 = y3 + h - 1;
  auto place = [&](const char* name, Integer x, Integer y, Integer width) {
    for (Integer i = 0; i < buttons_->Count(); ++i)
      if (buttons_->Items(i)->Name() == name) buttons_->Items(i)->SetBounds(x, y, width, h);
  };
  place("BTN_ON", x0, y0, w);
  const Integer columns[6] = {x0, x1, x2, x3, x4, x5};
  const Integer rows[4] = {y1, y2, y3, y4};
  const char* grid[6][4] = {{"BTN_MC", "BTN_MR", "BTN_MS", "BTN_M+"}, {"BTN_7", "BTN_4", "BTN_1", "BTN_0"},
                            {"BTN_8", "BTN_5", "BTN_2", "BTN_+/-"},   {"BTN_9", "BTN_6", "BTN_3", "BTN_."},
                            {"BTN_/", "BTN_*", "BTN_-", "BTN_+"},     {"BTN_sqrt", "BTN_%", "BTN_1/x", "BTN_="}};
  for (int c = 0; c < 6; ++c)
    for (int r = 0; r < 4; ++r) place(grid[c][r], columns[c], rows[r], w);
  const Integer s = x0 + w + 4;
  const Integer w2 = (e - s - 8) / 3;
  place("BTN_BACK", s, y0, w2);
  place("BTN_CE", s + w2 + 4, y0, w2);
  place("BTN_C", s + 2 * (w2 + 4), y0, e - (s + 2 * (w2 + 4)));
}

Integer TCustomButtonPanel::ButtonAt(Integer x, Integer y) const {
  for (Integer i = 0; i < buttons_->Count(); ++i) {
    const TRect r = buttons_->Items(i)->ItemBounds();
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return i;
  }
  return -1;
}

void TCustomButtonPanel::RepaintButton(Integer index) {
  if (index < 0 || index >= buttons_->Count()) return;
  // The key and its 8-pixel halo; the buffer repaints as a whole.
  Invalidate();
}

void TCustomButtonPanel::DoButtonClick(Integer index) {
  if (OnButtonClick) OnButtonClick(this, index);
}

bool TCustomButtonPanel::Selectable(Integer index) const {
  return index < 0 || (index < buttons_->Count() && buttons_->Items(index)->Enabled());
}

void TCustomButtonPanel::SetHotButton(Integer index) {
  if (index == hotIndex_ || !Selectable(index)) return;
  const Integer old = hotIndex_;
  hotIndex_ = index;
  RepaintButton(old);
  if (index >= 0) PaintButton(index, Canvas());
}

void TCustomButtonPanel::SetDownButton(Integer index) {
  if (index == downIndex_ || !Selectable(index)) return;
  const Integer old = downIndex_;
  downIndex_ = index;
  RepaintButton(old);
  if (index >= 0) PaintButton(index, Canvas());
}

void TCustomButtonPanel::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  const Integer i = ButtonAt(x, y);
  if (i >= 0 && buttons_->Items(i)->Enabled()) SetDownButton(i);
}

void TCustomButtonPanel::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  Integer i = ButtonAt(x, y);
  if (i >= 0 && !buttons_->Items(i)->Enabled()) i = -1;
  SetHotButton(i);
}

void TCustomButtonPanel::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (downIndex_ < 0) return;
  const Integer pressed = downIndex_;
  const bool over = ButtonAt(x, y) == pressed;
  SetDownButton(-1);
  if (over) DoButtonClick(pressed);
}

void TCustomButtonPanel::Dispatch(TMessage& m) {
  TCustomControl::Dispatch(m);
  if (m.Msg == WM_SIZE) LayoutButtons();
  if (m.Msg == CM_MOUSELEAVE) SetHotButton(-1);
}

void TCustomButtonPanel::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  if (linkedCalculator_ == nullptr) {
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(ClientRect());
    c->Brush()->SetStyle(bsSolid);
  }
  for (Integer i = 0; i < buttons_->Count(); ++i)
    if (i != hotIndex_) PaintButton(i, c);
  if (hotIndex_ >= 0) PaintButton(hotIndex_, c);
}

void TCustomButtonPanel::PaintButton(Integer index, TCanvas* canvas) {
  if (index < 0 || index >= buttons_->Count()) return;
  TButtonItem* b = buttons_->Items(index);
  if (b->Left() == -1 && b->Top() == -1) return;
  const TButtonAppearance& a = *appearance_;
  TColor border = a.BorderColor(), color = a.Color(), colorTo = a.ColorTo(), glow = clNone;
  if (index == downIndex_) {
    border = a.BorderColorDown();
    color = a.ColorDown();
    colorTo = a.ColorDownTo();
    glow = a.GlowColorDown;
  } else if (index == hotIndex_) {
    border = a.BorderColorHot();
    color = a.ColorHot();
    colorTo = a.ColorHotTo();
    glow = a.GlowColorHot;
  }
  const TRect r = b->ItemBounds();
  PaintGlowFace(canvas, r, border, color, colorTo, glow, a.ShineColor(), 0xE7E0C7);
  TRect text{r.Left + captionInsetX_, r.Top + captionInsetY_, r.Right - captionInsetX_, r.Bottom - captionInsetY_};
  canvas->Font()->Assign(a.Font());
  // A disabled key writes its caption in the grey of disabled text.
  canvas->Font()->SetColor(!b->Enabled() ? clGrayText : b->Special() ? a.SpecialTextColor() : a.TextColor());
  canvas->Brush()->SetStyle(bsClear);
  TGraphic* picture = b->Image()->Graphic();
  const bool hasPicture = picture != nullptr && !picture->Empty();
  const bool hasListImage = !hasPicture && images_ != nullptr && b->ImageIndex() >= 0 && b->ImageIndex() < images_->Count();
  if (hasPicture || hasListImage) {
    const Integer iw = hasPicture ? picture->Width() : images_->Width();
    const Integer ih = hasPicture ? picture->Height() : images_->Height();
    const Integer y = text.Top + (text.Height() - ih) / 2;
    if (hasPicture)
      canvas->Draw(text.Left, y, picture);
    else
      images_->Draw(canvas, text.Left, y, b->ImageIndex(), b->Enabled());
    text.Left += iw + imageSpacing_;
    if (!b->Caption().empty()) canvas->DrawText(b->Caption(), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  } else if (!b->Caption().empty()) {
    canvas->DrawText(b->Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

}  // namespace dropdown
