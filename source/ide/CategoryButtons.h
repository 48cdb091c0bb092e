#pragma once
// The tag palette of the "Insert" panel: categories of captioned buttons,
// each button with a data pointer and a click handler. A category shows its
// caption as a header bar and its buttons below it, one per row; a click on
// a button makes it the selected button and then runs its handler, so the
// handler can read the button's data through SelectedItem().
#include <functional>
#include <vector>

#include "vcl/Controls.h"

namespace ide {

using rtl::AnsiString;
using rtl::Integer;

class TCategoryButtons : public vcl::TCustomControl {
 public:
  struct TButtonItem {
    AnsiString Caption;
    void* Data = nullptr;
    vcl::TNotifyEvent OnClick;  // Sender: the palette
  };
  struct TButtonCategory {
    AnsiString Caption;
    std::vector<TButtonItem> Items;
  };

  explicit TCategoryButtons(vcl::TComponent* owner);

  Integer CategoryCount() const { return static_cast<Integer>(categories_.size()); }
  // Appends a category and answers its index.
  Integer AddCategory(const AnsiString& caption);
  void SetCategoryCaption(Integer category, const AnsiString& caption);
  const TButtonCategory& Category(Integer category) const { return categories_.at(static_cast<size_t>(category)); }
  void AddItem(Integer category, const AnsiString& caption, void* data, vcl::TNotifyEvent onClick);
  void Clear();

  // The selected button, or null.
  const TButtonItem* SelectedItem() const;
  void SelectItem(Integer category, Integer item);

  // Client rectangles of a category's header and of a button.
  vcl::TRect CategoryRect(Integer category) const;
  vcl::TRect ItemRect(Integer category, Integer item) const;
  // The button under a client point: false when none.
  bool ItemAtPos(Integer x, Integer y, Integer& category, Integer& item) const;

  static constexpr Integer kHeaderHeight = 20;
  static constexpr Integer kButtonHeight = 22;

 protected:
  void Paint() override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;

 private:
  std::vector<TButtonCategory> categories_;
  Integer selCategory_ = -1;
  Integer selItem_ = -1;
  Integer pressedCategory_ = -1;
  Integer pressedItem_ = -1;
};

}  // namespace ide
