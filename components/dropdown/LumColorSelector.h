#pragma once
// The discrete colour selector: a palette of small colour boxes in rows of
// ten, a first row of base colours standing alone and under each a strip of
// five tints and shades drawn as one joined block. The box under the mouse
// and the chosen one get two-colour frames; the arrow keys move the choice.
#include "dropdown/LumColorPanels.h"
#include "rtl/Collection.h"
#include "vcl/Components.h"

namespace dropdown {

enum class TItemPos { ipStandAlone, ipTop, ipMiddle, ipBottom };

class TColorBoxItem : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TColorBoxItem(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
  vcl::TColor Color() const { return color_; }
  // A different colour tells the collection.
  void SetColor(vcl::TColor v);
  TItemPos ColorBoxPos() const { return pos_; }
  void SetColorBoxPos(TItemPos v) { pos_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  const vcl::TRect& BoxRect() const { return boxRect_; }
  void SetBoxRect(const vcl::TRect& r) { boxRect_ = r; }
  // Another box's colour and enabled state.
  void Assign(const vcl::TPersistent* source) override;

 private:
  vcl::TColor color_ = vcl::clNone;
  TItemPos pos_ = TItemPos::ipStandAlone;
  bool enabled_ = true;
  vcl::TRect boxRect_{};
};

class TColorBoxItems : public rtl::TCollectionOf<TColorBoxItem> {
 public:
  explicit TColorBoxItems(vcl::TComponent* owner) : owner_(owner) {}
  ~TColorBoxItems() override { Clear(); }
  vcl::TComponent* Owner() const { return owner_; }
  // Told by a box whose colour changed.
  std::function<void()> OnChange;

 private:
  vcl::TComponent* owner_;
};

class TColorBoxAppearance : public vcl::TPersistent {
 public:
  vcl::TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(vcl::TColor v) { borderColor_ = v; }
  vcl::TColor OuterBorderColorHot() const { return outerHot_; }
  void SetOuterBorderColorHot(vcl::TColor v) { outerHot_ = v; }
  vcl::TColor InnerBorderColorHot() const { return innerHot_; }
  void SetInnerBorderColorHot(vcl::TColor v) { innerHot_ = v; }
  vcl::TColor OuterBorderColorSelected() const { return outerSelected_; }
  void SetOuterBorderColorSelected(vcl::TColor v) { outerSelected_ = v; }
  vcl::TColor InnerBorderColorSelected() const { return innerSelected_; }
  void SetInnerBorderColorSelected(vcl::TColor v) { innerSelected_ = v; }
  void Reset();
  void Assign(const vcl::TPersistent* source) override;

 private:
  vcl::TColor borderColor_ = 0xC5C5C5;
  vcl::TColor outerHot_ = 0x3694F2;
  vcl::TColor innerHot_ = 0x94E2FF;
  vcl::TColor outerSelected_ = 0x0000FF;
  vcl::TColor innerSelected_ = 0x94E2FF;
};

class TCustomColorSelector : public TLumCustomColorSelectorPanel {
 public:
  explicit TCustomColorSelector(vcl::TComponent* owner);
  ~TCustomColorSelector() override;

  vcl::Integer SelectedIndex() const { return selectedIndex_; }
  vcl::Integer HotIndex() const { return hotIndex_; }
  vcl::Integer MarginX() const { return marginX_; }
  vcl::Integer MarginY() const { return marginY_; }
  vcl::Integer Columns() const { return columns_; }
  vcl::Integer Spacing() const { return spacing_; }
  vcl::Integer BoxWidth() const { return boxWidth_; }
  vcl::Integer BoxHeight() const { return boxHeight_; }
  TColorBoxAppearance* Appearance() const { return appearance_.get(); }
  TColorBoxItems* Boxes() const { return boxes_.get(); }
  vcl::Byte Look() const { return look_; }
  // Looks 1 to 3 bring the appearance's colours back to their first values.
  void SetLook(vcl::Byte look);
  vcl::TColor SelectedColor() const { return selectedColor_; }

  // The 60 boxes of the theme's palette.
  void FillThemePalette();
  void SelectBox(vcl::Integer index);
  void SetHotIndex(vcl::Integer index);
  // Chooses the first box of that colour, or none; SelectedColor keeps the
  // colour either way.
  void SelectColor(vcl::TColor value);
  void SelectFirstBox();
  void SelectLastBox();
  void SelectNextBox();
  void SelectPreviousBox();
  void HotNextBox();
  void HotPreviousBox();
  vcl::Integer BoxAt(vcl::Integer x, vcl::Integer y) const;
  // The picker's navigation keys (PageUp to Down); arrows across a row only
  // when the edit is not taking them.
  void HandleKey(vcl::Word key, bool editorEnabled, bool droppedDown);

  virtual void PaintBox(vcl::Integer index, vcl::TCanvas* canvas);
  virtual void GetContentRect(vcl::TRect& r);
  virtual void GetBoxSize(vcl::TSize& size);
  // Places the boxes and sizes the control to them.
  virtual void ArrangeBoxes();
  virtual void InvalidateBox(vcl::Integer index);

  vcl::TNotifyEvent OnSelectBox;

 protected:
  void Paint() override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseMove(vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void Dispatch(vcl::TMessage& message) override;

 private:
  bool ValidIndex(vcl::Integer i) const { return i >= 0 && i < boxes_->Count(); }
  vcl::Integer selectedIndex_ = -1;
  vcl::Integer hotIndex_ = -1;
  vcl::Integer marginX_ = 4, marginY_ = 4;
  vcl::Integer columns_ = 10;
  vcl::Integer spacing_ = 4;
  vcl::Integer boxWidth_ = 12, boxHeight_ = 12;
  std::unique_ptr<TColorBoxAppearance> appearance_;
  std::unique_ptr<TColorBoxItems> boxes_;
  vcl::Byte look_ = 0;
  vcl::TColor selectedColor_ = vcl::clNone;
};

}  // namespace dropdown
