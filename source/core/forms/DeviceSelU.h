#pragma once
// The dialog in which the user picks the module to work with. It asks the
// network for modules when it opens (and on "Refresh"), lists those that
// answer as they arrive, and returns the chosen module's address, or the
// address and command port the user typed.
#include <atomic>

#include "core/DevListU.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

namespace core {
using rtl::Integer;
}

namespace grid {
class TVadOdizadEzev;
}
namespace support {
class TMoxIPAddress;
}
namespace vcl {
class TButton;
class TLabel;
class TPanel;
class TRadioGroup;
class TSpinEdit;
}  // namespace vcl

namespace core {

// Posted to the dialog by the discovery listener: a module was found.
inline constexpr rtl::Cardinal WM_DEVICE_FOUND = vcl::WM_USER + 71;  // 1095

class TFrmDeviceSel : public vcl::TForm {
 public:
  explicit TFrmDeviceSel(vcl::TComponent* owner);

  // The list the dialog shows (not owned); set before Refresh.
  void SetDevices(Tdevices* devices) { devices_ = devices; }
  // The found event's handler, safe on the listener thread: it only posts
  // WM_DEVICE_FOUND to the dialog's window.
  void PostDeviceFound();
  // Shows the list's modules (under its lock); the first modules after a
  // Refresh select the last of them.
  void FillList();
  // Empties the list, asks the network again and shows the empty list.
  void Refresh();
  void DeviceListSelectionChanged(vcl::TObject* Sender, Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
  void SelectKindClick(vcl::TObject* Sender);
  void IPAddrChange(vcl::TObject* Sender);

  grid::TVadOdizadEzev* DeviceList = nullptr;
  vcl::TRadioGroup* SelectKind = nullptr;
  vcl::TPanel* IPPanel = nullptr;
  vcl::TLabel* Label1 = nullptr;
  support::TMoxIPAddress* IPAddr = nullptr;
  vcl::TSpinEdit* PortEdt = nullptr;
  vcl::TButton* Button1 = nullptr;
  vcl::TButton* Button2 = nullptr;
  vcl::TButton* SearchBtn = nullptr;
  vcl::TSpinEdit* UdpPort = nullptr;
  vcl::TLabel* Label2 = nullptr;

 protected:
  void Dispatch(vcl::TMessage& message) override;

 private:
  Tdevices* devices_ = nullptr;
  bool autoSelect_ = false;
  // The window the listener thread posts to; 0 until the window exists.
  std::atomic<vcl::HWND> window_{0};
};

// Runs the dialog over the list: its listener runs while the dialog is
// open. True when the user pressed "Select": address is the IP address, ":"
// and the command port, kind the network kind (1); otherwise both are left
// alone. A failure to bind the listener's port propagates (the dialog is
// freed).
bool SelectDevice(Tdevices& devices, AnsiString& address, rtl::Byte& kind);

}  // namespace core
