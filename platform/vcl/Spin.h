#pragma once
// A number edit with up and down buttons.
#include "vcl/StdCtrls.h"

namespace vcl {

class TSpinEdit : public TWinControl {
 public:
  explicit TSpinEdit(TComponent* owner);
  // Kept within MinValue..MaxValue unless both are equal (no limits).
  Integer Value() const { return value_; }
  void SetValue(Integer v);
  Integer MinValue() const { return minValue_; }
  void SetMinValue(Integer v);
  Integer MaxValue() const { return maxValue_; }
  void SetMaxValue(Integer v);
  Integer Increment() const { return increment_; }
  void SetIncrement(Integer v);
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool v);
  // The value as text; setting text that is not a number sets MinValue.
  void SetText(const AnsiString& s) override;

  // Fires on every change of the value, typed, stepped or set.
  TNotifyEvent OnChange;

 protected:
  QWidget* CreateWidget() override;
  void InitWidget() override;
  bool HasSurface() const override { return false; }
  virtual void Change();

 private:
  Integer Clamp(Integer v) const;
  void SyncWidget();
  Integer value_ = 0;
  Integer minValue_ = 0;
  Integer maxValue_ = 0;
  Integer increment_ = 1;
  bool editorEnabled_ = true;
  bool syncing_ = false;
};

}  // namespace vcl
