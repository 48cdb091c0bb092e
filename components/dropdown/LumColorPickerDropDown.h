#pragma once
// TLumColorPickerDropDown: a drop-down whose value is a colour, shown in the
// edit as a colour box and its name or value. The pop-up offers the colour
// as a list of named colours, the theme palette, the honeycomb or the
// spectrum. A click in the pop-up commits and closes; keys and the wheel
// change the value while it stays open.
#include <memory>

#include "dropdown/LumColorPanels.h"
#include "dropdown/LumColorSelector.h"
#include "dropdown/LumDropDown.h"
#include "dropdown/LumItemSelector.h"
#include "dropdown/LumListPickerKeys.h"
#include "vcl/ExtCtrls.h"

namespace dropdown {

enum class TColorValueText { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };
enum class TColorSelectionStyle { csList, csDiscrete, csColorCube, csSpectrum };

using TOnDrawSelectedItem = std::function<void(vcl::TObject* Sender, vcl::TCanvas* Canvas, vcl::TRect R)>;

class TColorItem : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TColorItem(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
  const rtl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const rtl::AnsiString& v);
  vcl::TColor Color() const { return color_; }
  void SetColor(vcl::TColor v);
  const rtl::AnsiString& Hint() const { return hint_; }
  void SetHint(const rtl::AnsiString& v) { hint_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  void Assign(const vcl::TPersistent* source) override;

 private:
  void Changed();
  rtl::AnsiString caption_;
  vcl::TColor color_ = vcl::clNone;
  rtl::AnsiString hint_;
  bool enabled_ = true;
};

class TColorItems : public rtl::TCollectionOf<TColorItem> {
 public:
  explicit TColorItems(vcl::TComponent* owner) : owner_(owner) {}
  ~TColorItems() override { Clear(); }
  vcl::TComponent* Owner() const { return owner_; }
  void Assign(const TColorItems& source);
  std::function<void()> OnChange;

 private:
  vcl::TComponent* owner_;
};

// The platform's web name of an RGB colour (red in the high byte), empty
// when it has none.
rtl::AnsiString WebColorName(uint32_t rgb);

class TLumColorPickerDropDown : public TLumCustomDropDown {
 public:
  static constexpr vcl::Cardinal SearchResetMs = 500;

  explicit TLumColorPickerDropDown(vcl::TComponent* owner);
  ~TLumColorPickerDropDown() override;

  vcl::Integer Columns() const { return columns_; }
  void SetColumns(vcl::Integer v) { columns_ = v; }
  TColorItems* Colors() const { return colors_.get(); }
  void SetColors(const TColorItems& v) { colors_->Assign(v); }
  vcl::Integer ItemIndex() const { return itemIndex_; }
  // At or past the end: ignored. Otherwise stored (an entry's colour
  // becomes SelectedColor), repainted, and OnSelect fires, -1 included.
  void SetItemIndex(vcl::Integer index);
  vcl::Integer ColorBoxWidth() const { return colorBoxWidth_; }
  void SetColorBoxWidth(vcl::Integer v) { colorBoxWidth_ = v; }
  vcl::Integer ColorBoxHeight() const { return colorBoxHeight_; }
  void SetColorBoxHeight(vcl::Integer v) { colorBoxHeight_ = v; }
  TItemLayout Layout() const { return layout_; }
  void SetLayout(TItemLayout v) { layout_ = v; }
  TItemAppearance* ItemAppearance() const { return itemAppearance_.get(); }
  void SetItemAppearance(const TItemAppearance* v) { itemAppearance_->Assign(v); }
  TColorValueText ColorValueText() const { return colorValueText_; }
  void SetColorValueText(TColorValueText v);
  TColorSelectionStyle ColorSelectionStyle() const { return selectionStyle_; }
  void SetColorSelectionStyle(TColorSelectionStyle v);
  bool ShowText() const { return showText_; }
  void SetShowText(bool v);

  vcl::TColor SelectedColor() const { return selectedColor_; }
  // The first entry of that colour becomes ItemIndex; a colour no entry
  // has leaves no entry chosen, so the edit shows the colour's value.
  void SetSelectedColor(vcl::TColor c);

  // The sixteen named colours, appended.
  void AddNamedColors();
  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();

  // The text beside the colour box.
  virtual rtl::AnsiString GetColorValueText();
  rtl::AnsiString GetText() const override;

  // The content controls (made on first need).
  TLumCustomItemSelector* ListSelector() const { return listSelector_; }
  TCustomColorSelector* DiscreteSelector() const { return discreteSelector_; }
  TLumColorCubePanel* CubePanel() const { return cubePanel_; }
  TLumColorSpectrumPanel* SpectrumPanel() const { return spectrumPanel_; }
  const rtl::AnsiString& SearchText() const { return searchText_; }

  vcl::TNotifyEvent OnSelect;
  TOnDrawSelectedItem OnDrawSelectedColor;
  TDrawItemEvent OnDrawColor;

  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void PlaceDropDownControl() override;
  // The palette, the honeycomb and the spectrum have their own size: their
  // pop-up shows no size grip.
  bool DropDownSizeable() const override;
  void UpdateDropDownSize() override;
  void HideDropDown(bool cancelled) override;
  void DropDownFormDestroy() override;
  void MouseWheelDownHook() override;
  void MouseWheelUpHook() override;
  void PaintFocusedText() override;
  void SetSelectionLook(vcl::Byte look) override;
  void SetComponentStyle(REZORuvar style) override;

 protected:
  void CreateWnd() override;
  void Dispatch(vcl::TMessage& message) override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void EnsureListSelector();
  void EnsureDiscreteSelector();
  void EnsureCubePanel();
  void EnsureSpectrumPanel();
  void PrepareContent(vcl::TWinControl* control);
  void PrepareStyle();
  void HideOthers(vcl::TWinControl* keep);
  void UpdateListSelector();
  void ListSelect();
  void DiscreteSelect();
  void PanelSelect(vcl::TColor color);
  // Runs fn with KeyboardSelecting on, so its selection leaves the pop-up open.
  template <typename Fn>
  void Keyboard(Fn fn) {
    keyboardSelecting_ = true;
    fn();
    keyboardSelecting_ = false;
  }
  void SelectInList(vcl::Integer index);
  void ListKey(vcl::Word key, bool handledBefore);
  template <class Picker>
  friend void ListPickerKey(Picker&, vcl::Word, bool, vcl::Integer);

  vcl::Integer columns_ = 1;
  std::unique_ptr<TColorItems> colors_;
  std::unique_ptr<TItemAppearance> itemAppearance_;
  vcl::Integer itemIndex_ = -1;
  vcl::Integer colorBoxWidth_ = 14;
  vcl::Integer colorBoxHeight_ = 14;
  TItemLayout layout_ = TItemLayout::ilCaptionRight;
  TColorValueText colorValueText_ = TColorValueText::cvtNone;
  TColorSelectionStyle selectionStyle_ = TColorSelectionStyle::csList;
  bool showText_ = true;
  vcl::TColor selectedColor_ = vcl::clNone;
  vcl::Integer indexAtDropDown_ = -1;
  vcl::TColor colorAtDropDown_ = vcl::clNone;
  bool keyboardSelecting_ = false;
  rtl::AnsiString searchText_;
  vcl::TTimer* searchTimer_ = nullptr;  // owned as a component
  bool namedColorsPending_ = false;
  TLumCustomItemSelector* listSelector_ = nullptr;
  TCustomColorSelector* discreteSelector_ = nullptr;
  TLumColorCubePanel* cubePanel_ = nullptr;
  TLumColorSpectrumPanel* spectrumPanel_ = nullptr;
};

}  // namespace dropdown
