#pragma once
// The desktop's IP-address control ("SysIPAddress32") as a window procedure
// a control takes on: four single-line field windows made as children of
// the control when its window is made, the IPM_ messages, and the field
// notices (CN_COMMAND with EN_SETFOCUS, EN_KILLFOCUS and EN_CHANGE;
// CN_NOTIFY with IPN_FIELDCHANGED) delivered to the control itself. The
// control paints the gaps between the fields; each field asks it for its
// colours with WM_CTLCOLOREDIT.
#include <array>

#include "vcl/Controls.h"
#include "vcl/TreeView.h"

namespace vcl {

inline constexpr char kIPAddressClass[] = "SysIPAddress32";

inline constexpr Cardinal IPM_CLEARADDRESS = WM_USER + 100;
inline constexpr Cardinal IPM_SETADDRESS = WM_USER + 101;  // LParam: the address
inline constexpr Cardinal IPM_GETADDRESS = WM_USER + 102;  // LParam: Cardinal*; answers the non-blank fields
inline constexpr Cardinal IPM_SETRANGE = WM_USER + 103;    // WParam: field; LParam: MakeIPRange
inline constexpr Cardinal IPM_SETFOCUS = WM_USER + 104;    // WParam: field
inline constexpr Cardinal IPM_ISBLANK = WM_USER + 105;

inline constexpr Word EN_SETFOCUS = 0x0100;
inline constexpr Word EN_KILLFOCUS = 0x0200;
inline constexpr Word EN_CHANGE = 0x0300;
inline constexpr Integer IPN_FIELDCHANGED = -860;

// IPN_FIELDCHANGED's record; the receiver may change iValue (-1: blank).
struct NMIPADDRESS {
  NMHDR hdr;
  Integer iField = 0;
  Integer iValue = 0;
};

constexpr LPARAM MakeIPRange(Byte low, Byte high) { return static_cast<LPARAM>((high << 8) | low); }
constexpr Cardinal MakeIPAddress(Byte b1, Byte b2, Byte b3, Byte b4) {
  return (Cardinal(b1) << 24) | (Cardinal(b2) << 16) | (Cardinal(b3) << 8) | b4;
}

class TIPAddressWindow;

// One field: up to three digits with a caret and a selection.
class TIPAddressField : public TCustomControl {
 public:
  TIPAddressField(TIPAddressWindow* owner, TWinControl* host, Integer index);
  Integer Index() const { return index_; }
  const AnsiString& FieldText() const { return textValue_; }
  // Sets the text without a change notice.
  void SetFieldText(const AnsiString& s);
  Integer SelStart() const { return selStart_; }
  Integer SelLength() const { return selLength_; }
  void SetSel(Integer start, Integer length);
  // Whether this field has the keyboard focus.
  bool HasFocus() const;
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;

 private:
  friend class TIPAddressWindow;
  void Replace(const AnsiString& with);
  void Changed();
  TIPAddressWindow* owner_;
  TWinControl* host_;
  Integer index_;
  AnsiString textValue_;
  Integer selStart_ = 0;
  Integer selLength_ = 0;
  Byte low_ = 0, high_ = 255;
  // Reached by a third digit in the field before: a dot or blank typed
  // next only ends that number.
  bool movedOnByDigit_ = false;
};

// The class's procedure for one control. The control hands it the
// messages it does not handle itself (from DefaultHandler) and
// WM_CREATE / WM_DESTROY / WM_SIZE / WM_SETFOCUS after its own handling.
class TIPAddressWindow {
 public:
  explicit TIPAddressWindow(TWinControl* host) : host_(host) {}
  ~TIPAddressWindow();
  // True when the message was one of the class's.
  bool WndProc(TMessage& message);
  TIPAddressField* Field(Integer index) const { return fields_[static_cast<size_t>(index)]; }
  Integer FieldCount() const { return fields_[0] ? 4 : 0; }
  // The field with the focus, or -1.
  Integer FocusedField() const;
  void FocusField(Integer index, bool selectAll, bool atEnd = false);
  void LayoutFields();

 private:
  friend class TIPAddressField;
  void CreateFields();
  void DestroyFields();
  void FieldLeft(TIPAddressField* field);
  TWinControl* host_;
  std::array<TIPAddressField*, 4> fields_{};
};

}  // namespace vcl
