#include "core/forms/DeviceSelU.h"

#include <algorithm>

#include "grid/GridComponent.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "support/MoxIPAddress.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Spin.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace core {

using namespace vcl;

TFrmDeviceSel::TFrmDeviceSel(TComponent* owner) : TForm(owner, 0) {
  SetName("FrmDeviceSel");
  SetCaption("Select device");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons({biSystemMenu});
  SetPosition(poScreenCenter);
  SetColor(clBtnFace);
  Font()->SetName("Tahoma");
  Font()->SetHeight(-11);
  SetClientWidth(400);
  SetClientHeight(250);

  DeviceList = new grid::TVadOdizadEzev(this);
  DeviceList->SetName("DeviceList");
  DeviceList->SetParent(this);
  DeviceList->SetBounds(8, 8, 200, 200);
  DeviceList->SetColCount(1);
  DeviceList->SetRowCount(1);
  DeviceList->SetFixedRows(0);
  DeviceList->SetFixedCols(0);
  DeviceList->SetColWidths(0, 184);
  DeviceList->ColumnHeaders()->Add("Devices Found");
  auto options = DeviceList->Options();
  options.Include(goRowSelect);
  DeviceList->SetOptions(options);
  DeviceList->SetTabOrder(0);
  DeviceList->OnSelectionChanged = [this](TObject* s, Integer l, Integer t, Integer r, Integer b) {
    DeviceListSelectionChanged(s, l, t, r, b);
  };
  // The grid reports selections made by keys; a row taken with the mouse
  // arrives as a click.
  DeviceList->OnClick = [this](TObject* s) {
    const vcl::TGridRect sel = DeviceList->Selection();
    DeviceListSelectionChanged(s, sel.Left, sel.Top, sel.Right, sel.Bottom);
  };

  SelectKind = new TRadioGroup(this);
  SelectKind->SetName("SelectKind");
  SelectKind->SetParent(this);
  SelectKind->SetBounds(216, 8, 176, 44);
  SelectKind->SetCaption("Select by");
  SelectKind->Items()->Add("IP Address");
  SelectKind->SetItemIndex(0);
  SelectKind->OnClick = [this](TObject* s) { SelectKindClick(s); };

  IPPanel = new TPanel(this);
  IPPanel->SetName("IPPanel");
  IPPanel->SetParent(this);
  IPPanel->SetBounds(216, 58, 176, 84);
  IPPanel->SetBevelOuter(TBevelCut::bvNone);
  IPPanel->SetCaption("");

  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetParent(IPPanel);
  Label1->SetBounds(4, 4, 60, 13);
  Label1->SetCaption("IP Address");

  IPAddr = new support::TMoxIPAddress(this);
  IPAddr->SetName("IPAddr");
  IPAddr->SetParent(IPPanel);
  IPAddr->SetBounds(4, 20, 150, 21);
  IPAddr->SetText("192.168.100.128");
  IPAddr->OnChange = [this](TObject* s) { IPAddrChange(s); };

  PortEdt = new TSpinEdit(this);
  PortEdt->SetName("PortEdt");
  PortEdt->SetParent(IPPanel);
  PortEdt->SetBounds(4, 50, 80, 22);
  PortEdt->SetMinValue(0);
  PortEdt->SetMaxValue(65535);
  PortEdt->SetValue(6666);

  UdpPort = new TSpinEdit(this);
  UdpPort->SetName("UdpPort");
  UdpPort->SetParent(this);
  UdpPort->SetBounds(216, 180, 80, 22);
  UdpPort->SetMinValue(0);
  UdpPort->SetMaxValue(65535);
  UdpPort->SetVisible(false);
  Label2 = new TLabel(this);
  Label2->SetName("Label2");
  Label2->SetParent(this);
  Label2->SetBounds(216, 164, 60, 13);
  Label2->SetCaption("UDP Port");
  Label2->SetVisible(false);

  SearchBtn = new TButton(this);
  SearchBtn->SetName("SearchBtn");
  SearchBtn->SetParent(this);
  SearchBtn->SetBounds(8, 217, 75, 25);
  SearchBtn->SetCaption("Refresh");
  SearchBtn->OnClick = [this](TObject*) { Refresh(); };

  Button1 = new TButton(this);
  Button1->SetName("Button1");
  Button1->SetParent(this);
  Button1->SetBounds(236, 217, 75, 25);
  Button1->SetCaption("Select");
  Button1->SetDefault(true);
  Button1->SetModalResult(mrOk);

  Button2 = new TButton(this);
  Button2->SetName("Button2");
  Button2->SetParent(this);
  Button2->SetBounds(317, 217, 75, 25);
  Button2->SetCaption("Cancel");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);

  window_ = Handle();
}

void TFrmDeviceSel::PostDeviceFound() {
  if (const HWND window = window_.load()) PostMessage(window, WM_DEVICE_FOUND, 0, 0);
}

void TFrmDeviceSel::Dispatch(TMessage& message) {
  if (message.Msg == WM_DEVICE_FOUND) {
    FillList();
    message.Result = 0;
    return;
  }
  TForm::Dispatch(message);
}

void TFrmDeviceSel::FillList() {
  if (devices_ == nullptr) return;
  // One copy taken under the list's lock: the listener goes on adding.
  const std::vector<TdeviceInfo> items = devices_->Items();
  const vcl::TGridRect kept = DeviceList->Selection();
  DeviceList->Clear();
  // The grid keeps one row; with no module it stays empty.
  DeviceList->SetRowCount(std::max<Integer>(1, static_cast<Integer>(items.size())));
  for (size_t i = 0; i < items.size(); ++i)
    DeviceList->SetCells(0, static_cast<Integer>(i), items[i].Name.empty() ? items[i].Address : items[i].Name);
  if (autoSelect_ && !items.empty()) {
    // The first answers after a refresh pick the module found last.
    DeviceList->SelectRows(static_cast<Integer>(items.size()) - 1, 1);
    const vcl::TGridRect s = DeviceList->Selection();
    DeviceListSelectionChanged(DeviceList, s.Left, s.Top, s.Right, s.Bottom);
    autoSelect_ = false;
  } else if (kept.Top < DeviceList->RowCount() && !(DeviceList->Selection() == kept)) {
    DeviceList->SetSelection(kept);
  }
}

void TFrmDeviceSel::Refresh() {
  if (devices_ == nullptr) return;
  devices_->SetAnnouncePort(UdpPort->Value());
  devices_->Refresh();
  autoSelect_ = true;
  FillList();
}

void TFrmDeviceSel::DeviceListSelectionChanged(TObject*, Integer, Integer ATop, Integer, Integer) {
  if (devices_ == nullptr || ATop < 0 || ATop >= devices_->Count()) return;
  const AnsiString address = devices_->GetItem(ATop).Address;
  const size_t colon = address.find(':');
  IPAddr->SetText(address.substr(0, colon));
  if (colon != AnsiString::npos) PortEdt->SetValue(rtl::StrToIntDef(address.substr(colon + 1), 0));
}

void TFrmDeviceSel::SelectKindClick(TObject*) { IPPanel->SetVisible(SelectKind->ItemIndex() == 0); }

void TFrmDeviceSel::IPAddrChange(TObject*) { IPAddr->Repaint(); }

bool SelectDevice(Tdevices& devices, AnsiString& address, rtl::Byte& kind) {
  auto* form = vcl::Create<TFrmDeviceSel>(nullptr);
  struct Closing {
    TFrmDeviceSel* form;
    Tdevices& devices;
    ~Closing() {
      try {
        devices.SetActive(false);
      } catch (...) {
        // Stopping a listener that never started has nothing to report.
      }
      devices.OnDeviceFound = nullptr;
      vcl::Free(form);
    }
  } closing{form, devices};
  form->SetDevices(&devices);
  // The listener thread reaches the dialog only through its window's queue,
  // so an announcement that comes late finds no dialog and is dropped.
  const HWND window = form->Handle();
  devices.OnDeviceFound = [window](Tdevices&, const AnsiString&, const AnsiString&) {
    PostMessage(window, WM_DEVICE_FOUND, 0, 0);
  };
  devices.SetActive(true);
  form->UdpPort->SetValue(devices.AnnouncePort());
  form->Refresh();
  if (form->ShowModal() != mrOk) return false;
  kind = 1;
  address = form->IPAddr->GetText() + ":" + rtl::IntToStr(form->PortEdt->Value());
  return true;
}

}  // namespace core
