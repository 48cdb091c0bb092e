// A panel's sections: captions with an optional image and expand box over
// bodies of link-like items, the child controls that move and hide with
// them, their shared look, and the mouse over their items.
#include <algorithm>
#include <cmath>

#include "controls/ToolPanels.h"
#include "vcl/Regions.h"
#include "vcl/WinApi.h"

namespace controls {

using vcl::Integer;
using vcl::TColor;
using vcl::TRect;

namespace {

bool SectionRectHolds(const TRect& r, Integer x, Integer y) {
  return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

// The top corners rounded as by a 16 by 16 ellipse, row by row.
vcl::TRegion SectionRoundedTop(const TRect& r, bool roundLeft, bool roundRight) {
  vcl::TRegion region;
  constexpr double kRadius = 8.0;
  for (Integer row = r.Top; row < r.Bottom; ++row) {
    Integer inset = 0;
    const double dy = kRadius - (row - r.Top) - 0.5;
    if (dy > 0) inset = static_cast<Integer>(std::lround(kRadius - std::sqrt(std::max(0.0, kRadius * kRadius - dy * dy))));
    const Integer left = r.Left + (roundLeft ? inset : 0), right = r.Right - (roundRight ? inset : 0);
    if (left < right) region = region.Union(vcl::TRegion(TRect{left, row, right, row + 1}));
  }
  return region;
}

}  // namespace

// ------------------------------------------------------------------- items

TSectionItem::TSectionItem(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}

TSectionItem::~TSectionItem() {
  // Leave the collection while still an item of this class, so that the
  // section hears of it.
  SetCollection(nullptr);
}

TSectionItems* TSectionItem::Items() const { return static_cast<TSectionItems*>(Collection()); }

void TSectionItem::Assign(const TSectionItem& source) {
  imageIndex_ = source.imageIndex_;
  caption_ = source.caption_;
  Hint = source.Hint;
  enabled_ = source.enabled_;
  Tag = source.Tag;
  Data = source.Data;
  if (Items() && Items()->Panel()) Items()->Panel()->Invalidate();
}

rtl::AnsiString TSectionItem::DisplayName() const { return "Item " + std::to_string(Index()) + ": " + caption_; }

void TSectionItem::SetImageIndex(Integer v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  TSectionItems* items = Items();
  if (!items) return;
  if (items->Section) items->Section->SetAutosize(items->Section->Autosize());
  if (items->Panel()) items->Panel()->Invalidate();
}

void TSectionItem::SetCaption(const vcl::AnsiString& v) {
  if (caption_ == v) return;
  caption_ = v;
  if (Items() && Items()->Panel()) Items()->Panel()->Invalidate();
}

void TSectionItem::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  if (Items() && Items()->Panel()) Items()->Panel()->Invalidate();
}

TSectionItems::~TSectionItems() {
  OnItemAdded = nullptr;
  OnItemRemoved = nullptr;
  Clear();
}

void TSectionItems::Notify(rtl::TCollectionItem*, bool added) {
  if (added && OnItemAdded) OnItemAdded();
  if (!added && OnItemRemoved) OnItemRemoved();
  if (panel_ && !panel_->Destroying()) panel_->Invalidate();
}

// ---------------------------------------------------------------- sections

TLumToolPanelSection::TLumToolPanelSection(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {
  auto* sections = static_cast<TLumToolPanelSections*>(collection);
  items_ = std::make_unique<TSectionItems>(sections ? sections->Panel() : nullptr);
  items_->Section = this;
  items_->OnItemAdded = [this] {
    if (autosize_) SetHeightInternal(height_ + itemHeight_);
  };
  items_->OnItemRemoved = [this] {
    if (autosize_ && height_ - itemHeight_ > 24) SetHeightInternal(height_ - itemHeight_);
  };
}

TLumToolPanelSection::~TLumToolPanelSection() {
  items_.reset();
  SetCollection(nullptr);
}

TLumToolPanel* TLumToolPanelSection::Panel() const {
  auto* sections = static_cast<TLumToolPanelSections*>(Collection());
  return sections ? sections->Panel() : nullptr;
}

void TLumToolPanelSection::Repaint() const {
  if (TLumToolPanel* p = Panel(); p && !p->Destroying()) p->Invalidate();
}

void TLumToolPanelSection::Assign(const TLumToolPanelSection& source) {
  autosize_ = source.autosize_;
  caption_ = source.caption_;
  captionImageIndex_ = source.captionImageIndex_;
  draw_ = source.draw_;
  height_ = source.height_;
  node_ = source.node_;
  items_->Clear();
  for (Integer i = 0; i < source.items_->Count(); ++i) items_->Add()->Assign(*source.items_->Items(i));
  Repaint();
}

rtl::AnsiString TLumToolPanelSection::DisplayName() const {
  return "Section " + std::to_string(Index()) + ": " + caption_;
}

void TLumToolPanelSection::SetCaption(const vcl::AnsiString& v) {
  if (caption_ == v) return;
  caption_ = v;
  Repaint();
}

void TLumToolPanelSection::SetCaptionImageIndex(Integer v) {
  if (captionImageIndex_ == v) return;
  captionImageIndex_ = v;
  Repaint();
}

void TLumToolPanelSection::SetNode(bool v) {
  if (node_ == v) return;
  node_ = v;
  Repaint();
}

void TLumToolPanelSection::SetDraw(bool v) {
  if (draw_ == v) return;
  draw_ = v;
  Repaint();
}

void TLumToolPanelSection::SetHeightInternal(Integer v) {
  internalHeight_ = true;
  SetHeight(v);
  internalHeight_ = false;
}

void TLumToolPanelSection::SetHeight(Integer v) {
  if (v == height_ || (autosize_ && !internalHeight_)) return;
  TLumToolPanel* panel = Panel();
  if (panel && !panel->Destroying() && Index() >= 0) {
    const Integer bottom = panel->SectionRect(Index()).Bottom;
    const Integer delta = v - height_;
    for (Integer i = 0; i < panel->ControlCount(); ++i) {
      vcl::TControl* c = panel->Controls(i);
      if (c->Top() >= bottom) c->SetTop(c->Top() + delta);
    }
  }
  height_ = v;
  Repaint();
}

void TLumToolPanelSection::SetAutosize(bool v) {
  TLumToolPanel* panel = Panel();
  if (panel && panel->Loading()) return;
  autosize_ = v;
  if (v && panel) {
    vcl::TCanvas* c = panel->SectionCanvas();
    Integer ih = c->TextHeight("gh");
    if (vcl::TImageList* images = panel->SectionImages())
      for (Integer i = 0; i < items_->Count(); ++i)
        if (items_->Items(i)->ImageIndex() >= 0) {
          ih = std::max(ih, images->Height() + 2);
          break;
        }
    itemHeight_ = ih;
    SetHeightInternal(items_->Count() * ih + panel->SectionCaptionHeight() + panel->SectionLayout()->Spacing() + 6);
  }
  Repaint();
}

// ------------------------------------------------------------------ layout

void TSectionLayout::Assign(const vcl::TPersistent* source) {
  if (const auto* s = dynamic_cast<const TSectionLayout*>(source)) {
    CaptionColor_ = s->CaptionColor_;
    CaptionColorTo_ = s->CaptionColorTo_;
    BackGroundColor_ = s->BackGroundColor_;
    BackGroundColorTo_ = s->BackGroundColorTo_;
    BorderColor_ = s->BorderColor_;
    BorderWidth_ = s->BorderWidth_;
    BackGroundGradientDir_ = s->BackGroundGradientDir_;
    CaptionGradientDir_ = s->CaptionGradientDir_;
    ItemFontColor_ = s->ItemFontColor_;
    UnderLineCaption_ = s->UnderLineCaption_;
    ItemHoverTextColor_ = s->ItemHoverTextColor_;
    ItemHoverUnderline_ = s->ItemHoverUnderline_;
    CaptionFontColor_ = s->CaptionFontColor_;
    Spacing_ = s->Spacing_;
    Indent_ = s->Indent_;
    CaptionRounded_ = s->CaptionRounded_;
    Corners_ = s->Corners_;
    Changed();
    return;
  }
  vcl::TPersistent::Assign(source);
}

// ------------------------------------------------------------ on the panel

void TLumToolPanel::SetSectionImages(vcl::TImageList* v) {
  sectionImages_ = v;
  if (v) v->FreeNotification(this);
  Invalidate();
}

void TLumToolPanel::ApplySectionPreset(TToolPanelStyle v) {
  TSectionLayout* l = sectionLayout_.get();
  if (const toolpanels::TSectionLayoutColours* c = toolpanels::SectionLayoutColoursOf(v)) {
    l->SetCaptionColor(c->CaptionColor);
    l->SetCaptionColorTo(c->CaptionColorTo);
    l->SetCaptionGradientDir(c->CaptionGradientDir);
    l->SetCaptionFontColor(c->CaptionFontColor);
    l->SetBackGroundColor(c->BackGroundColor);
    l->SetBackGroundColorTo(c->BackGroundColorTo);
    l->SetBorderColor(c->BorderColor);
    l->SetItemFontColor(c->ItemFontColor);
    l->SetItemHoverTextColor(c->ItemHoverTextColor);
  }
  l->SetBackGroundGradientDir(gdVertical);
  l->SetItemHoverUnderline(true);
}

vcl::TCanvas* TLumToolPanel::SectionCanvas() {
  if (!sectionMeasure_) sectionMeasure_ = std::make_unique<vcl::TBitmap>(1, 1);
  vcl::TCanvas* c = sectionMeasure_->Canvas();
  c->SetFont(Font());
  return c;
}

Integer TLumToolPanel::SectionStartY() const { return Floating() || !showCaption_ ? 1 : 23; }

Integer TLumToolPanel::SectionCaptionHeight() {
  if (!sectionImages_) return 16;
  for (Integer i = 0; i < sections_->Count(); ++i)
    if (sections_->Items(i)->CaptionImageIndex() >= 0) return std::max(16, sectionImages_->Height() + 2);
  return 16;
}

TRect TLumToolPanel::SectionRect(Integer index, bool useExpandedHeight) const {
  Integer top = SectionStartY();
  for (Integer i = 0; i < index && i < sections_->Count(); ++i) top += sections_->Items(i)->Height();
  const TLumToolPanelSection* s = sections_->Items(index);
  return TRect{sectionLayout_->Indent() + 1, top, Width() - 1,
               top + (useExpandedHeight ? s->ExpandedHeight() : s->Height())};
}

TRect TLumToolPanel::NodeRect(Integer index) {
  if (index < 0 || index >= sections_->Count() || !sections_->Items(index)->Node()) return TRect{-1, -1, -1, -1};
  const Integer t = SectionRect(index).Top;
  const Integer v = (SectionCaptionHeight() - 8) / 2;
  const Integer indent = sectionLayout_->Indent();
  return TRect{indent + 4, t + v, indent + 13, t + v + 9};
}

namespace {

struct TSectionItemMetrics {
  Integer X0 = 12;
  Integer ImageWidth = 0;  // of the image column, 0 without one
  Integer ItemHeight = 0;
  Integer TextHeight = 0;
};

TSectionItemMetrics SectionMetricsOf(TSectionItems* items, vcl::TImageList* images, vcl::TCanvas* c) {
  TSectionItemMetrics m;
  Integer ih = 0;
  if (images)
    for (Integer i = 0; i < items->Count(); ++i)
      if (items->Items(i)->ImageIndex() >= 0) {
        m.X0 = 12 + images->Width();
        m.ImageWidth = images->Width();
        ih = images->Height() + 2;
        break;
      }
  m.TextHeight = c->TextHeight("gh");
  m.ItemHeight = std::max(ih, m.TextHeight);
  return m;
}

}  // namespace

Integer TLumToolPanel::ItemAtPos(Integer x, Integer y, Integer& section, TRect& hoverRect) {
  section = -1;
  hoverRect = TRect{-1, -1, -1, -1};
  const Integer capH = SectionCaptionHeight();
  const Integer L = sectionLayout_->Indent();
  vcl::TCanvas* c = SectionCanvas();
  for (Integer s = 0; s < sections_->Count(); ++s) {
    TLumToolPanelSection* sec = sections_->Items(s);
    const TRect r = SectionRect(s);
    if (y < r.Top || y > r.Bottom || !sec->Expanded()) continue;
    TSectionItems* items = sec->SectionItems();
    const TSectionItemMetrics m = SectionMetricsOf(items, sectionImages_, c);
    for (Integer g = 0; g < items->Count(); ++g) {
      TSectionItem* item = items->Items(g);
      if (item->Caption() == "-") continue;
      const Integer iw = sectionImages_ && item->ImageIndex() >= 0 ? sectionImages_->Width() : 0;
      const TRect ir{m.X0 + L - iw, capH + r.Top + g * m.ItemHeight + 4, m.X0 + L + c->TextWidth(item->Caption()),
                     capH + r.Top + (g + 1) * m.ItemHeight + 4};
      if (SectionRectHolds(ir, x, y)) {
        section = s;
        hoverRect = TRect{L + 1, ir.Top, Width() - 1, ir.Bottom};
        return g;
      }
    }
  }
  return -1;
}

void TLumToolPanel::SectionLayoutChanged() {
  if (!sections_) return;
  for (Integer i = 0; i < sections_->Count(); ++i) sections_->Items(i)->SetAutosize(sections_->Items(i)->Autosize());
  Invalidate();
}

void TLumToolPanel::AdjustSectionControls(Integer index, Integer delta) {
  TLumToolPanelSection* s = sections_->Items(index);
  const TRect r = SectionRect(index);
  auto hiddenBefore = [&](vcl::TControl* c) {
    for (Integer i = 0; i < index; ++i) {
      const auto& list = sections_->Items(i)->hiddenControls_;
      if (std::find(list.begin(), list.end(), c) != list.end()) return true;
    }
    return false;
  };
  auto& hidden = s->hiddenControls_;
  for (Integer i = 0; i < ControlCount(); ++i) {
    vcl::TControl* c = Controls(i);
    const bool inS = std::find(hidden.begin(), hidden.end(), c) != hidden.end();
    if (delta > 0) {
      if (c->Top() >= r.Top && c->Top() <= r.Bottom && !c->Visible() && inS) {
        c->SetVisible(true);
      } else if (c->Top() >= r.Top && (c->Visible() || !hiddenBefore(c))) {
        c->SetTop(c->Top() + delta);
      }
    } else if (delta < 0) {
      if (c->Visible() && c->Top() >= r.Top && c->Top() <= r.Bottom) {
        hidden.push_back(c);
        c->SetVisible(false);
      } else if (c->Top() >= r.Bottom && (c->Visible() || !hiddenBefore(c))) {
        c->SetTop(c->Top() + delta);
      }
    }
  }
  if (delta > 0) {
    hidden.clear();
    if (OnNodeExpand) OnNodeExpand(this, index);
  } else if (delta < 0 && OnNodeCollapse) {
    OnNodeCollapse(this, index);
  }
}

void TLumToolPanel::SetExpanded(Integer index, bool value) {
  if (index < 0 || index >= sections_->Count()) return;
  TLumToolPanelSection* s = sections_->Items(index);
  if (s->expanded_ == value || !s->Node()) return;
  const Integer collapsed = SectionCaptionHeight() + sectionLayout_->Spacing();
  if (value) {
    const Integer old = s->height_;
    s->height_ = s->expandedHeight_;
    AdjustSectionControls(index, s->expandedHeight_ - old);
  } else {
    s->expandedHeight_ = s->height_;
    AdjustSectionControls(index, collapsed - s->height_);
    s->height_ = collapsed;
  }
  s->expanded_ = value;
  Invalidate();
}

// --- painting ---

void TLumToolPanel::PaintSections(vcl::TCanvas* c) {
  if (sections_->Count() == 0) return;
  const TSectionLayout* lay = sectionLayout_.get();
  const Integer capH = SectionCaptionHeight();
  const Integer L = lay->Indent(), W = Width(), spacing = lay->Spacing();
  c->SetFont(Font());
  const Integer th = c->TextHeight("gh");
  auto borderPen = [&] {
    c->Pen()->SetStyle(vcl::psSolid);
    c->Pen()->SetColor(lay->BorderColor());
    c->Pen()->SetWidth(std::max<Integer>(1, lay->BorderWidth()));
  };
  auto line = [&](Integer x1, Integer y1, Integer x2, Integer y2) {
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  Integer y = SectionStartY();
  for (Integer i = 0; i < sections_->Count(); ++i) {
    TLumToolPanelSection* sec = sections_->Items(i);
    if (sec->Draw()) {
      if (lay->CaptionColor() != vcl::clNone) {
        const TColor to = lay->CaptionColorTo() == vcl::clNone ? lay->CaptionColor() : lay->CaptionColorTo();
        const bool horizontal = lay->CaptionGradientDir() == gdHorizontal;
        if (lay->Corners() == scRectangle) {
          toolpanels::DrawGradient(c, lay->CaptionColor(), to, horizontal, TRect{L + 1, y, W - 2, y + capH + 1}, 48);
        } else {
          const TRect area{L + 1, y, W - 1, y + capH + 1};
          const bool left = lay->Corners() == scRoundLeft || lay->Corners() == scRoundLeftRight;
          const bool right = lay->Corners() == scRoundRight || lay->Corners() == scRoundLeftRight;
          const vcl::TRegion region = SectionRoundedTop(area, left, right);
          const Integer saved = c->SaveDC();
          c->SelectClipRegion(&region);
          toolpanels::DrawGradient(c, lay->CaptionColor(), to, horizontal, area, 48);
          c->RestoreDC(saved);
        }
      }
      if (lay->UnderLineCaption()) {
        borderPen();
        line(L + 1, y + capH, W - 2, y + capH);
      }
      Integer x = 0;
      if (sec->Node()) {
        x = 4;
        const TRect box = NodeRect(i);
        if (lay->BackGroundColor() != vcl::clNone && lay->BackGroundColorTo() != vcl::clNone)
          toolpanels::DrawGradient(c, lay->BackGroundColor(), lay->BackGroundColorTo(), true, box, 16);
        c->Brush()->SetStyle(vcl::bsClear);
        c->Pen()->SetStyle(vcl::psSolid);
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(0x808080);
        c->RoundRect(box.Left, box.Top, box.Right, box.Bottom, 3, 3);
        if (sec->Expanded()) {
          c->Pen()->SetColor(vcl::clBlack);
          line(box.Left + 2, box.Top + 4, box.Left + 7, box.Top + 4);
        } else {
          c->Font()->SetColor(vcl::clBlack);
          c->Font()->SetSize(7);
          c->TextOut(box.Left + 1, box.Top - 3, "+");
          c->SetFont(Font());
        }
        x = 12;
      }
      if (sectionImages_ && sec->CaptionImageIndex() >= 0) {
        sectionImages_->Draw(c, x + L + 2, y + 2, sec->CaptionImageIndex());
        x += sectionImages_->Width();
      }
      c->Brush()->SetStyle(vcl::bsClear);
      c->Font()->SetColor(lay->CaptionFontColor());
      c->TextOut(x + L + 4, y + (capH - th) / 2, sec->Caption());
      if (sec->Expanded()) {
        const Integer bottom = y + sec->Height() - spacing;
        if (lay->BackGroundColor() != vcl::clNone) {
          const TColor to = lay->BackGroundColorTo() == vcl::clNone ? lay->BackGroundColor() : lay->BackGroundColorTo();
          toolpanels::DrawGradient(c, lay->BackGroundColor(), to, lay->BackGroundGradientDir() == gdHorizontal,
                                   TRect{L + 1, y + capH + 1, W - 1, bottom}, 128);
        }
        if (lay->BorderColor() != vcl::clNone && lay->BorderWidth() > 0) {
          borderPen();
          c->MoveTo(W - 2, y + capH + 1);
          c->LineTo(L + 1, y + capH + 1);
          c->LineTo(L + 1, bottom - 1);
          c->LineTo(W - 2, bottom - 1);
        }
        TSectionItems* items = sec->SectionItems();
        const TSectionItemMetrics m = SectionMetricsOf(items, sectionImages_, c);
        const Integer ih = m.ItemHeight;
        Integer v = (ih - m.TextHeight) / 2;
        if (v < 5) v = 4;
        const Integer sep = ih / 2 > 7 ? ih / 2 + 2 : 10;
        for (Integer g = 0; g < items->Count() && capH + y + v + g * ih < bottom; ++g) {
          TSectionItem* item = items->Items(g);
          if (item->Caption() == "-") {
            borderPen();
            const Integer from = m.ImageWidth > 0 ? m.X0 + L - m.ImageWidth - 2 : L + m.X0;
            line(from, capH + y + sep + g * ih, W - 2, capH + y + sep + g * ih);
            continue;
          }
          if (sectionImages_ && item->ImageIndex() >= 0)
            sectionImages_->Draw(c, m.X0 + L - m.ImageWidth - 2, capH + y + g * ih + 4, item->ImageIndex());
          TRect tr{L + m.X0, capH + y + v + g * ih, W - 2, capH + y + v + (g + 1) * ih};
          const bool hovered = i == hoverSection_ && g == hoverItem_;
          c->SetFont(Font());
          if (!item->Enabled()) {
            c->Font()->SetColor(0x808080);
          } else if (hovered) {
            c->Font()->SetColor(lay->ItemHoverTextColor());
            if (lay->ItemHoverUnderline()) c->Font()->SetStyle(vcl::TFontStyles{vcl::fsUnderline});
          } else {
            c->Font()->SetColor(lay->ItemFontColor());
          }
          c->Brush()->SetStyle(vcl::bsClear);
          c->DrawText(item->Caption(), tr,
                      vcl::DT_VCENTER | vcl::DT_SINGLELINE | vcl::DT_END_ELLIPSIS | vcl::DT_NOPREFIX);
        }
        c->SetFont(Font());
      }
    }
    y += sec->Height();
  }
}

// --- mouse ---

void TLumToolPanel::SectionPress(Integer x, Integer y) {
  if (y < SectionStartY()) return;
  for (Integer i = 0; i < sections_->Count(); ++i)
    if (SectionRectHolds(NodeRect(i), x, y)) {
      SetExpanded(i, !sections_->Items(i)->Expanded());
      return;
    }
}

void TLumToolPanel::SectionHover(Integer x, Integer y) {
  if (sections_->Count() == 0) return;
  Integer section = -1;
  TRect rect;
  const Integer item = ItemAtPos(x, y, section, rect);
  if (item >= 0) {
    if (item == hoverItem_ && section == hoverSection_) return;
    if (sectionLayout_->ItemHoverUnderline()) vcl::Screen->SetCursor(vcl::crHandPoint);
    hoverSection_ = section;
    hoverItem_ = item;
    hoverRect_ = rect;
    if (vcl::Application) vcl::Application->CancelHint();
    Invalidate();
  } else if (hoverItem_ >= 0) {
    SectionLeave();
  }
}

void TLumToolPanel::SectionLeave() {
  if (hoverItem_ < 0) return;
  if (vcl::Screen->Cursor() == vcl::crHandPoint) vcl::Screen->SetCursor(Cursor());
  hoverSection_ = -1;
  hoverItem_ = -1;
  hoverRect_ = TRect{-1, -1, -1, -1};
  Invalidate();
}

void TLumToolPanel::SectionClick() {
  if (hoverItem_ >= 0 && OnItemClick) OnItemClick(this, hoverSection_, hoverItem_);
}

void TLumToolPanel::SectionHint(vcl::THintInfo& info) {
  if (hoverItem_ < 0 || hoverSection_ < 0 || hoverSection_ >= sections_->Count()) return;
  TSectionItems* items = sections_->Items(hoverSection_)->SectionItems();
  if (hoverItem_ >= items->Count()) return;
  info.HintStr = items->Items(hoverItem_)->Hint;
  info.CursorRect = hoverRect_;
}

}  // namespace controls
