#include "dropdown/LumItemAppearance.h"

namespace dropdown {

using vcl::clNone;
using vcl::TColor;

// ------------------------------------------------------------------ items

TSelectorItem::TSelectorItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), image_(std::make_unique<vcl::TPicture>()) {}

TSelectorItem::~TSelectorItem() = default;

void TSelectorItem::Changed() {
  if (auto* items = dynamic_cast<TSelectorItems*>(Collection()); items && items->OnChange) items->OnChange();
}

void TSelectorItem::SetCaption(const rtl::AnsiString& v) {
  if (caption_ == v) return;
  caption_ = v;
  Changed();
}

void TSelectorItem::SetColor(TColor v) {
  if (color_ == v) return;
  color_ = v;
  Changed();
}

void TSelectorItem::SetImageIndex(vcl::Integer v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  Changed();
}

void TSelectorItem::Assign(const vcl::TPersistent* source) {
  auto* other = dynamic_cast<const TSelectorItem*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  caption_ = other->caption_;
  color_ = other->color_;
  imageIndex_ = other->imageIndex_;
  image_->Assign(other->image_.get());
  enabled_ = other->enabled_;
  hint_ = other->hint_;
}

void TSelectorItems::Assign(const TSelectorItems& source) {
  if (&source == this) return;
  BeginUpdate();
  Clear();
  for (vcl::Integer i = 0; i < source.Count(); ++i) Add()->Assign(source.Items(i));
  EndUpdate();
  if (OnChange) OnChange();
}

// ------------------------------------------------------------- appearance

namespace {

struct TItemColorStyle {
  TColor hot, hotTo, mirrorHot, mirrorHotTo, borderTop, borderBottom, border, edge, selected, selectedTo,
      mirrorSelected, mirrorSelectedTo;
};

constexpr TItemColorStyle kItemColorStyles[3] = {
    {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4, 0x15C1FB,
     0x68E3F9},
    {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone, clNone},
    {0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone, clNone},
};

}  // namespace

TItemAppearance::TItemAppearance(vcl::TWinControl* owner) : owner_(owner), font_(std::make_unique<vcl::TFont>()) {
  font_->SetName("Tahoma");
  SetItemColorStyle(1);
  ColorSelectedText_ = vcl::clBlack;
  ColorHotText_ = vcl::clBlack;
}

TItemAppearance::~TItemAppearance() = default;

void TItemAppearance::SetItemColorStyle(vcl::Integer v) {
  if (itemColorStyle_ == v) return;
  itemColorStyle_ = v;
  if (v < 1 || v > 3) return;
  const TItemColorStyle& s = kItemColorStyles[v - 1];
  ColorHot_ = s.hot;
  ColorHotTo_ = s.hotTo;
  ColorMirrorHot_ = s.mirrorHot;
  ColorMirrorHotTo_ = s.mirrorHotTo;
  BorderColorTop_ = s.borderTop;
  BorderColorBottom_ = s.borderBottom;
  BorderColor_ = s.border;
  EdgeColor_ = s.edge;
  ColorSelected_ = s.selected;
  ColorSelectedTo_ = s.selectedTo;
  ColorMirrorSelected_ = s.mirrorSelected;
  ColorMirrorSelectedTo_ = s.mirrorSelectedTo;
}

void TItemAppearance::Assign(const vcl::TPersistent* source) {
  auto* o = dynamic_cast<const TItemAppearance*>(source);
  if (!o) {
    TPersistent::Assign(source);
    return;
  }
  ColorHot_ = o->ColorHot_;
  ColorHotTo_ = o->ColorHotTo_;
  ColorMirrorHot_ = o->ColorMirrorHot_;
  ColorMirrorHotTo_ = o->ColorMirrorHotTo_;
  BorderColorTop_ = o->BorderColorTop_;
  BorderColorBottom_ = o->BorderColorBottom_;
  BorderColor_ = o->BorderColor_;
  EdgeColor_ = o->EdgeColor_;
  ColorSelected_ = o->ColorSelected_;
  ColorSelectedTo_ = o->ColorSelectedTo_;
  ColorMirrorSelected_ = o->ColorMirrorSelected_;
  ColorMirrorSelectedTo_ = o->ColorMirrorSelectedTo_;
  font_->Assign(o->font_.get());
  SetItemColorStyle(o->itemColorStyle_);
  ColorSelectedText_ = o->ColorSelectedText_;
  ColorHotText_ = o->ColorHotText_;
}

void ApplyItemAppearanceStyle(TItemAppearance& a, REZORuvar style) {
  const TItemStyleColors& s = ItemStyle(style);
  a.SetColorSelectedText(s.ColorSelectedText);
  a.SetColorHotText(s.ColorHotText);
  auto set = [&](const TStyleColor& v, void (TItemAppearance::*setter)(TColor)) {
    if (v) (a.*setter)(*v);
  };
  set(s.ColorHot, &TItemAppearance::SetColorHot);
  set(s.ColorHotTo, &TItemAppearance::SetColorHotTo);
  set(s.ColorMirrorHot, &TItemAppearance::SetColorMirrorHot);
  set(s.ColorMirrorHotTo, &TItemAppearance::SetColorMirrorHotTo);
  set(s.ColorSelected, &TItemAppearance::SetColorSelected);
  set(s.ColorSelectedTo, &TItemAppearance::SetColorSelectedTo);
  set(s.ColorMirrorSelected, &TItemAppearance::SetColorMirrorSelected);
  set(s.ColorMirrorSelectedTo, &TItemAppearance::SetColorMirrorSelectedTo);
  set(s.BorderColor, &TItemAppearance::SetBorderColor);
  set(s.BorderColorTop, &TItemAppearance::SetBorderColorTop);
  set(s.BorderColorBottom, &TItemAppearance::SetBorderColorBottom);
  set(s.EdgeColor, &TItemAppearance::SetEdgeColor);
}

}  // namespace dropdown
