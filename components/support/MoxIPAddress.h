#pragma once
// TMoxIPAddress: an IPv4 address edit in four dotted fields over the
// desktop's IP-address control. It adds the address as one 32-bit value
// and as four bytes, per-field ranges, its own colour and font in the
// fields, Tab from field to field, and change events.
#include <array>
#include <functional>
#include <memory>

#include "support/IPAddressText.h"
#include "support/MoxExControls.h"
#include "vcl/IPAddress.h"

namespace support {

using rtl::Byte;
using rtl::Cardinal;

class TMoxIPAddress;

// Per-field limits, (0, 255) each unless set.
class TMoxIPAddressRange : public vcl::TPersistent {
 public:
  explicit TMoxIPAddressRange(TMoxIPAddress* control) : control_(control) {}
  // Copies the eight bytes and sends all four ranges.
  void Assign(const vcl::TPersistent* source) override;
  Byte FieldMin(Integer field) const { return min_.at(static_cast<size_t>(field)); }
  Byte FieldMax(Integer field) const { return max_.at(static_cast<size_t>(field)); }
  // Store the byte and send that field's range to a window that exists.
  void SetFieldMin(Integer field, Byte v);
  void SetFieldMax(Integer field, Byte v);
  Byte Field1Min() const { return min_[0]; }
  Byte Field1Max() const { return max_[0]; }
  void SetField1Min(Byte v) { SetFieldMin(0, v); }
  void SetField1Max(Byte v) { SetFieldMax(0, v); }
  // (and likewise through SetFieldMin / SetFieldMax for fields 2 to 4)

 private:
  friend class TMoxIPAddress;
  TMoxIPAddress* control_;
  std::array<Byte, 4> min_{0, 0, 0, 0};
  std::array<Byte, 4> max_{255, 255, 255, 255};
};

using TMoxIPValueChangingHook =
    std::function<void(vcl::TObject* Sender, Integer Index, Byte NewValue, bool& Allow)>;

// The four bytes; field 1 is the most significant.
class TMoxIPAddressValues : public vcl::TPersistent {
 public:
  Cardinal Address() const;
  // Nothing for the same address; else each byte offered to ValueChanging
  // and stored when allowed; ValuesChanged once when any was.
  void SetAddress(Cardinal v);
  Byte Value(Integer index) const { return values_.at(static_cast<size_t>(index)); }
  // Any byte, without range check, for index 0 to 3.
  void SetValue(Integer index, Byte v);
  Byte Value1() const { return values_[0]; }
  Byte Value2() const { return values_[1]; }
  Byte Value3() const { return values_[2]; }
  Byte Value4() const { return values_[3]; }
  void SetValue1(Byte v) { SetValue(0, v); }
  void SetValue2(Byte v) { SetValue(1, v); }
  void SetValue3(Byte v) { SetValue(2, v); }
  void SetValue4(Byte v) { SetValue(3, v); }

  vcl::TNotifyEvent OnChange;
  TMoxIPValueChangingHook OnChanging;

 protected:
  virtual void ValuesChanged();
  virtual bool ValueChanging(Integer index, Byte value);

 private:
  friend class TMoxIPAddress;
  std::array<Byte, 4> values_{};
};

// Subclasses one field window through a window hook of its own, so hooks
// come off in any order.
class TMoxIPEditControlHelper {
 public:
  explicit TMoxIPEditControlHelper(TMoxIPAddress* control) : control_(control) {}
  ~TMoxIPEditControlHelper() { Unhook(); }
  void Hook(vcl::TWinControl* window);
  void Unhook();
  vcl::TWinControl* Window() const { return window_; }

 private:
  void WindowProc(vcl::TMessage& m, const vcl::TControl::TWndMethod& next);
  vcl::TWinControl* window_ = nullptr;
  Integer hookId_ = 0;
  TMoxIPAddress* control_;
};

using TMoxIPFieldChangeEvent =
    std::function<void(TMoxIPAddress* Sender, Integer FieldIndex, std::pair<Byte, Byte> FieldRange, Integer& Value)>;

class TMoxIPAddress : public TMoxExCustomControl {
 public:
  explicit TMoxIPAddress(vcl::TComponent* owner);
  ~TMoxIPAddress() override;

  Cardinal Address() const { return address_; }
  void SetAddress(Cardinal v);
  TMoxIPAddressValues* AddressValues() { return values_.get(); }
  // Edited in place: setting it does nothing.
  void SetAddressValues(const TMoxIPAddressValues*) {}
  TMoxIPAddressRange* Range() { return range_.get(); }
  void SetRange(const TMoxIPAddressRange* v) { range_->Assign(v); }
  bool TabThroughFields() const { return tabThroughFields_; }
  void SetTabThroughFields(bool v) { tabThroughFields_ = v; }
  // Reading takes the window's text into the values as well.
  AnsiString GetText();
  // Parses into the four values and shows them as "%d.%d.%d.%d".
  void SetText(const AnsiString& s) override;
  void Clear();
  // The window exists and every field is empty.
  bool IsBlank();
  // The field windows hooked so far (0 to 4).
  Integer HookedFields() const { return hookedCount_; }
  vcl::TIPAddressField* Field(Integer index) const;
  Integer FocusedField() const { return engine_->FocusedField(); }

  vcl::TNotifyEvent OnChange;
  TMoxIPFieldChangeEvent OnFieldChange;

  void Dispatch(vcl::TMessage& message) override;
  void DefaultHandler(vcl::TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void QueryDialogCodes(TDlgCodes& codes) override;
  void EnabledChange() override;
  void ColorChange() override;
  void FontChange() override;

 private:
  friend class TMoxIPEditControlHelper;
  friend class TMoxIPAddressRange;
  void SendRange(Integer field);
  void ApplyTextValues(const AnsiString& s);
  void UpdateHeight();
  void MoveToNeighbour(bool forward);
  bool FieldsEnabled() const;

  std::array<std::unique_ptr<TMoxIPEditControlHelper>, 4> helpers_;
  Integer hookedCount_ = 0;
  Cardinal address_ = 0;
  bool changing_ = false;
  std::unique_ptr<TMoxIPAddressRange> range_;
  std::unique_ptr<TMoxIPAddressValues> values_;
  bool savedBlank_ = false;
  bool tabThroughFields_ = true;
  vcl::TBrush fieldBrush_;
  bool focusFromField_ = false;
  std::unique_ptr<vcl::TIPAddressWindow> engine_;
};

}  // namespace support
