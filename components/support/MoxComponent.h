#pragma once
// Option groups that say when they change (TMoxPersistentProperty), the
// hot-track options, and the bases of the dialog components.
#include <functional>

#include "rtl/Types.h"
#include "vcl/Dialogs.h"
#include "vcl/Graphics.h"

namespace support {

using rtl::AnsiString;
using rtl::Integer;
using vcl::TColor;

using TPropertyNameEvent = std::function<void(vcl::TObject* Sender, const AnsiString& PropName)>;

// A group of options. Each setter of a descendant announces the change
// (changing, property changing, store, property changed, changed); the two
// plain events are held while an update bracket is open, and the bracket
// announces one change around everything inside it.
class TMoxPersistentProperty : public vcl::TPersistent {
 public:
  TMoxPersistentProperty() = default;

  // Opens a bracket (the first one announces "changing").
  virtual void BeginUpdate();
  // Closes one (the last one announces "changed"). Without an open bracket
  // the count goes below 0 and nothing is announced.
  virtual void EndUpdate();
  Integer UpdateCount() const { return updateCount_; }

  vcl::TNotifyEvent OnChanging;
  vcl::TNotifyEvent OnChange;
  TPropertyNameEvent OnPropertyChanging;
  TPropertyNameEvent OnPropertyChanged;

 protected:
  virtual void NotifyChanged();
  virtual void NotifyChanging();
  virtual void NotifyPropertyChanged(const AnsiString& name);
  virtual void NotifyPropertyChanging(const AnsiString& name);
  virtual void UpdateStateChanged(bool updating);

  // The setter rule: nothing for an unchanged value.
  template <class T>
  void SetProperty(T& field, const T& value, const char* name) {
    if (field == value) return;
    NotifyChanging();
    NotifyPropertyChanging(name);
    field = value;
    NotifyPropertyChanged(name);
    NotifyChanged();
  }

 private:
  Integer updateCount_ = 0;
};

// How a control looks while the mouse is over it.
class TMoxHotTrackOptions : public TMoxPersistentProperty {
 public:
  explicit TMoxHotTrackOptions(TColor color = 0x00D2BDB6) : color_(color) {}

  // From another hot-track group: the four values inside one bracket.
  void Assign(const vcl::TPersistent* source) override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { SetProperty(enabled_, v, "Enabled"); }
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool v) { SetProperty(frameVisible_, v, "FrameVisible"); }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { SetProperty(color_, v, "Color"); }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v) { SetProperty(frameColor_, v, "FrameColor"); }

 private:
  bool enabled_ = false;
  bool frameVisible_ = false;
  TColor color_;                     // RGB 182, 189, 210 unless a descendant says
  TColor frameColor_ = 0x006A240A;   // RGB 10, 36, 106
};

// The shared bases of the library's dialog components.
class TMoxCommonDialog : public vcl::TCommonDialog {
 public:
  using vcl::TCommonDialog::TCommonDialog;
};

class TMoxCommonDialogF : public TMoxCommonDialog {
 public:
  using TMoxCommonDialog::TMoxCommonDialog;
};

}  // namespace support
