#pragma once
// The looks of the pop-up's header and footer bars as the drop-down
// publishes them (DropDownHeader, DropDownFooter) and the grid creates them
// for its own settings: colours, caption, font, height, border, image and
// the bar's buttons. Their constructors and defaults are shared with the
// grid.
#include <memory>

#include "dropdown/LumDropDownDraw.h"  // TGradientDirection
#include "rtl/Collection.h"
#include "rtl/Lists.h"
#include "vcl/Components.h"
#include "vcl/Forms.h"  // TModalResult
#include "vcl/Graphics.h"

namespace dropdown {

enum class TButtonAlignment { baLeft, baRight };

// What a bar button's collection hears from its items' setters.
class TBarButtonChangeSink {
 public:
  virtual void ButtonChanged() = 0;

 protected:
  ~TBarButtonChangeSink() = default;
};

// What header and footer buttons share: Caption, Enabled and Width tell
// their collection when they change; Height and ImageIndex do not.
class TBarButtonItem : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TBarButtonItem(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}

  const rtl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const rtl::AnsiString& v);
  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v) { imageIndex_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  // 0: sized to the caption or image.
  vcl::Integer Width() const { return width_; }
  void SetWidth(vcl::Integer v);
  vcl::Integer Height() const { return height_; }
  void SetHeight(vcl::Integer v) { height_ = v; }

 protected:
  void CopyFrom(const TBarButtonItem& other);

 private:
  void Changed();
  rtl::AnsiString caption_;
  vcl::Integer imageIndex_ = -1;
  bool enabled_ = true;
  vcl::Integer width_ = 0;
  vcl::Integer height_ = 0;
};

class THeaderButton : public TBarButtonItem {
 public:
  explicit THeaderButton(rtl::TCollection* collection) : TBarButtonItem(collection) {}
  // Another header button's values; anything else raises EConvertError.
  void Assign(const vcl::TPersistent* source) override;
};

class TFooterButton : public TBarButtonItem {
 public:
  explicit TFooterButton(rtl::TCollection* collection) : TBarButtonItem(collection) {}
  vcl::TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(vcl::TModalResult v) { modalResult_ = v; }
  // Another footer button's values, its modal result too; anything else
  // raises EConvertError.
  void Assign(const vcl::TPersistent* source) override;

 private:
  vcl::TModalResult modalResult_ = vcl::mrNone;
};

// A bar's buttons, owned; Owner is the component the appearance belongs to.
template <class Item>
class TBarButtons : public rtl::TCollectionOf<Item>, public TBarButtonChangeSink {
 public:
  explicit TBarButtons(vcl::TComponent* owner) : owner_(owner) {}
  ~TBarButtons() override { this->Clear(); }
  vcl::TComponent* Owner() const { return owner_; }
  // Copies of source's buttons in place of these.
  void Assign(const TBarButtons& source) {
    if (&source == this) return;
    this->BeginUpdate();
    this->Clear();
    for (vcl::Integer i = 0; i < source.Count(); ++i) this->Add()->Assign(source.Items(i));
    this->EndUpdate();
  }
  void ButtonChanged() override {
    if (OnChange) OnChange();
  }
  // Told by the buttons' Caption, Enabled and Width setters.
  std::function<void()> OnChange;

 private:
  vcl::TComponent* owner_;  // not owned
};

class THeaderButtons : public TBarButtons<THeaderButton> {
 public:
  using TBarButtons<THeaderButton>::TBarButtons;
};
class TFooterButtons : public TBarButtons<TFooterButton> {
 public:
  using TBarButtons<TFooterButton>::TBarButtons;
};

// What both bars' looks hold. Visible tells OnChange when it changes; the
// buttons' changes reach OnButtonsChange; every other value is plain.
template <class Buttons>
class TBarAppearance : public vcl::TPersistent {
 public:
  explicit TBarAppearance(vcl::TComponent* owner)
      : owner_(owner), font_(std::make_unique<vcl::TFont>()), buttons_(std::make_unique<Buttons>(owner)) {
    buttons_->OnChange = [this] {
      if (OnButtonsChange) OnButtonsChange(this);
    };
  }
  vcl::TComponent* Owner() const { return owner_; }

  vcl::TColor Color() const { return color_; }
  void SetColor(vcl::TColor v) { color_ = v; }
  // clNone: no gradient.
  vcl::TColor ColorTo() const { return colorTo_; }
  void SetColorTo(vcl::TColor v) { colorTo_ = v; }
  // Mini-HTML.
  const rtl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const rtl::AnsiString& v) { caption_ = v; }
  vcl::TFont* Font() const { return font_.get(); }
  void SetFont(const vcl::TFont* font) { font_->Assign(font); }
  TGradientDirection GradientDirection() const { return gradient_; }
  void SetGradientDirection(TGradientDirection v) { gradient_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    if (OnChange) OnChange(this);
  }
  vcl::Integer Height() const { return height_; }
  void SetHeight(vcl::Integer v) { height_ = v; }
  vcl::TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(vcl::TColor v) { borderColor_ = v; }
  vcl::Integer BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(vcl::Integer v) { borderWidth_ = v; }
  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v) { imageIndex_ = v; }
  Buttons* ButtonsList() const { return buttons_.get(); }
  void SetButtons(const Buttons* buttons) {
    if (buttons) buttons_->Assign(*buttons);
  }
  TButtonAlignment ButtonAlignment() const { return buttonAlignment_; }
  void SetButtonAlignment(TButtonAlignment v) { buttonAlignment_ = v; }

  vcl::TNotifyEvent OnChange;
  vcl::TNotifyEvent OnButtonsChange;

 protected:
  // Everything but what only one kind of bar has, in the order a copy
  // takes them (Visible through its setter).
  void CopyFrom(const TBarAppearance& other) {
    colorTo_ = other.colorTo_;
    color_ = other.color_;
    borderColor_ = other.borderColor_;
    caption_ = other.caption_;
    font_->Assign(other.font_.get());
    imageIndex_ = other.imageIndex_;
    borderWidth_ = other.borderWidth_;
    gradient_ = other.gradient_;
    height_ = other.height_;
    SetVisible(other.visible_);
    buttonAlignment_ = other.buttonAlignment_;
    buttons_->Assign(*other.buttons_);
  }

 private:
  vcl::TComponent* owner_;  // not owned
  vcl::TColor color_ = 0xC0C0C0;
  vcl::TColor colorTo_ = vcl::clWhite;
  rtl::AnsiString caption_;
  std::unique_ptr<vcl::TFont> font_;
  TGradientDirection gradient_ = TGradientDirection::gdVertical;
  bool visible_ = true;
  vcl::Integer height_ = 22;
  vcl::TColor borderColor_ = vcl::clBlack;
  vcl::Integer borderWidth_ = 1;
  vcl::Integer imageIndex_ = -1;
  std::unique_ptr<Buttons> buttons_;
  TButtonAlignment buttonAlignment_ = TButtonAlignment::baRight;
};

class THeaderAppearance : public TBarAppearance<THeaderButtons> {
 public:
  // Its font is "Tahoma".
  explicit THeaderAppearance(vcl::TComponent* owner);
  // Only another header appearance is copied; anything else is ignored.
  void Assign(const vcl::TPersistent* source) override;
};

class TFooterAppearance : public TBarAppearance<TFooterButtons> {
 public:
  // Its font keeps the class library's default name.
  explicit TFooterAppearance(vcl::TComponent* owner);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v) { sizeGrip_ = v; }
  // Only another footer appearance is copied (its size grip too); anything
  // else is ignored.
  void Assign(const vcl::TPersistent* source) override;

 private:
  bool sizeGrip_ = true;
};

// A list whose reads past its end raise "Index out of bounds in list read
// access" (the bars keep their button controls in one).
class TDbgList : public rtl::TList {
 public:
  void* Items(vcl::Integer index) const;
  void* operator[](vcl::Integer index) const { return Items(index); }
};

}  // namespace dropdown
