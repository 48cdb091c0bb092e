#pragma once
// What the item selector's list is made of: its items (caption, colour box,
// image) in a collection that tells its owner when one changes, and the
// hot and selected looks of the items with their three colour styles and
// the application styles' item looks.
#include <functional>
#include <memory>

#include "dropdown/LumDropDownStyles.h"
#include "rtl/Collection.h"
#include "vcl/Components.h"
#include "vcl/Graphics.h"
#include "vcl/Pictures.h"

namespace vcl {
class TWinControl;
}

namespace dropdown {

// Caption, Color and ImageIndex tell the collection when they change;
// Image copies into the owned picture without telling; Hint is plain.
class TSelectorItem : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TSelectorItem(rtl::TCollection* collection);
  ~TSelectorItem() override;

  // Mini-HTML.
  const rtl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const rtl::AnsiString& v);
  // The colour box's colour; clNone for none.
  vcl::TColor Color() const { return color_; }
  void SetColor(vcl::TColor v);
  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v);
  vcl::TPicture* Image() const { return image_.get(); }
  void SetImage(const vcl::TPicture* picture) { image_->Assign(picture); }
  const rtl::AnsiString& Hint() const { return hint_; }
  void SetHint(const rtl::AnsiString& v) { hint_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  // Where the layout put it, in the list's coordinates.
  const vcl::TRect& ItemRect() const { return itemRect_; }
  void SetItemRect(const vcl::TRect& r) { itemRect_ = r; }

  // Another item's caption, colour, image index, image, enabled state and
  // hint; anything else raises EConvertError.
  void Assign(const vcl::TPersistent* source) override;

 private:
  void Changed();
  rtl::AnsiString caption_;
  vcl::TColor color_ = vcl::clNone;
  vcl::Integer imageIndex_ = -1;
  std::unique_ptr<vcl::TPicture> image_;
  rtl::AnsiString hint_;
  bool enabled_ = true;
  vcl::TRect itemRect_{};
};

class TSelectorItems : public rtl::TCollectionOf<TSelectorItem> {
 public:
  // owner: the item selector (not owned).
  explicit TSelectorItems(vcl::TComponent* owner) : owner_(owner) {}
  ~TSelectorItems() override { Clear(); }
  vcl::TComponent* Owner() const { return owner_; }
  // Copies of source's items in place of these.
  void Assign(const TSelectorItems& source);
  // Told by the items' Caption, Color and ImageIndex setters, and after a
  // copy (the owner lays the items out again).
  std::function<void()> OnChange;

 private:
  vcl::TComponent* owner_;
};

class TItemAppearance : public vcl::TPersistent {
 public:
  // owner: the windowed control the list is drawn in (not owned). Starts in
  // colour style 1 with black hot and selected text and a Tahoma font.
  explicit TItemAppearance(vcl::TWinControl* owner);
  ~TItemAppearance() override;
  vcl::TWinControl* Owner() const { return owner_; }

#define ITEM_COLOR(Name)                       \
  vcl::TColor Name() const { return Name##_; } \
  void Set##Name(vcl::TColor v) { Name##_ = v; }
  ITEM_COLOR(BorderColor)
  ITEM_COLOR(BorderColorTop)
  ITEM_COLOR(BorderColorBottom)
  ITEM_COLOR(ColorHot)
  ITEM_COLOR(ColorHotTo)
  ITEM_COLOR(ColorHotText)
  ITEM_COLOR(ColorMirrorHot)
  ITEM_COLOR(ColorMirrorHotTo)
  ITEM_COLOR(ColorSelected)
  ITEM_COLOR(ColorSelectedTo)
  ITEM_COLOR(ColorMirrorSelected)
  ITEM_COLOR(ColorMirrorSelectedTo)
  ITEM_COLOR(ColorSelectedText)
  ITEM_COLOR(EdgeColor)
#undef ITEM_COLOR
  vcl::TFont* Font() const { return font_.get(); }
  void SetFont(const vcl::TFont* font) { font_->Assign(font); }

  // 1, 2 or 3 set that style's twelve colours; another value is stored and
  // sets none. Nothing happens when it is unchanged.
  vcl::Integer ItemColorStyle() const { return itemColorStyle_; }
  void SetItemColorStyle(vcl::Integer v);

  // Another appearance's twelve colours and font, then its colour style
  // through the setter (a different style replaces the copied colours),
  // then its two text colours; anything else raises EConvertError.
  void Assign(const vcl::TPersistent* source) override;

 private:
  vcl::TWinControl* owner_;
  vcl::TColor BorderColor_ = vcl::clNone, BorderColorTop_ = vcl::clNone, BorderColorBottom_ = vcl::clNone;
  vcl::TColor ColorHot_ = vcl::clNone, ColorHotTo_ = vcl::clNone, ColorHotText_ = vcl::clBlack;
  vcl::TColor ColorMirrorHot_ = vcl::clNone, ColorMirrorHotTo_ = vcl::clNone;
  vcl::TColor ColorSelected_ = vcl::clNone, ColorSelectedTo_ = vcl::clNone;
  vcl::TColor ColorMirrorSelected_ = vcl::clNone, ColorMirrorSelectedTo_ = vcl::clNone;
  vcl::TColor ColorSelectedText_ = vcl::clBlack, EdgeColor_ = vcl::clNone;
  std::unique_ptr<vcl::TFont> font_;
  vcl::Integer itemColorStyle_ = 0;
};

// The application style's item looks: the two text colours black (for
// every style), then the style's colours (none for the custom style).
void ApplyItemAppearanceStyle(TItemAppearance& appearance, REZORuvar style);

}  // namespace dropdown
