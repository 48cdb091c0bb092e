// The device selection dialog against module emulators on loopback
// addresses: modules listed as their announcements arrive, the module found
// last selected after a refresh and later arrivals leaving the user's
// choice alone, "Refresh" emptying the list at once, a typed address
// returned when nothing answered, and a busy listen port raising out of
// SelectDevice with the dialog freed.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>

#include "FormsTestSupport.h"
#include "ModuleEmulator.h"
#include "core/forms/DeviceSelU.h"
#include "grid/GridComponent.h"
#include "net/UDPServer.h"
#include "support/MoxIPAddress.h"
#include "vcl/IPAddress.h"
#include "vcl/Spin.h"
#include "vcl/StdCtrls.h"

using namespace core;
using namespace forms_test;
using emulator::TModuleEmulator;
using rtl::Integer;

namespace {

// A UDP socket bound to a port of the system's choosing on every address;
// closed by the destructor (or kept to hold the port).
struct TBoundSocket {
  int fd = -1;
  rtl::Word port = 0;
  TBoundSocket() {
    fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
      socklen_t len = sizeof a;
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
      port = ntohs(a.sin_port);
    }
  }
  ~TBoundSocket() { Close(); }
  void Close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
};

// A list that listens on a free port and asks on the loopback broadcast
// address, as the settings file would say.
struct TLoopbackList {
  TvormekDevList list;
  rtl::Word port = 0;
  TLoopbackList() {
    TBoundSocket probe;
    port = probe.port;
    probe.Close();
    list.SetListenPort(port);
    list.SetRcvAnnouncePort(port);
    list.SetAnnounceAddress("127.255.255.255");
  }
};

std::unique_ptr<TModuleEmulator> Emulator(const std::string& ip, const std::string& name, rtl::Word announcePort,
                                          rtl::Word receivePort, int delayMs) {
  emulator::TEmulatorOptions o;
  o.IP = ip;
  o.Name = name;
  o.AnnouncePort = announcePort;
  o.ReceivePort = receivePort;
  o.TftpServer = false;
  o.Faults.ReplyDelayMs = delayMs;
  auto m = std::make_unique<TModuleEmulator>(o);
  m->Start();
  return m;
}

// Pumps the loop until pred holds or ms of real time pass.
bool WaitUntil(const std::function<bool()>& pred, int ms = 3000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Types each field's number into the address edit, as a person does after
// clicking into the field: the old digits rubbed out first.
void TypeAddress(support::TMoxIPAddress* ip, const std::vector<std::string>& fields) {
  for (Integer i = 0; i < 4; ++i) {
    ip->Perform(vcl::IPM_SETFOCUS, static_cast<vcl::WPARAM>(i));
    QWidget* w = ip->Field(i)->Widget();
    QTest::keyClick(w, Qt::Key_End);
    for (int k = 0; k < 3; ++k) QTest::keyClick(w, Qt::Key_Backspace);
    QTest::keyClicks(w, QString::fromStdString(fields[static_cast<size_t>(i)]));
  }
}

std::vector<AnsiString> Rows(TFrmDeviceSel* d) {
  std::vector<AnsiString> rows;
  for (Integer r = 0; r < d->DeviceList->RowCount(); ++r) rows.push_back(d->DeviceList->Cells(0, r));
  return rows;
}

}  // namespace

TEST(DeviceSelect, ModulesListedSelectedAndRefreshed) {
  TLoopbackList l;
  auto office = Emulator("127.0.0.2", "Office", 0, l.port, 300);
  auto lab = Emulator("127.0.0.3", "Lab", office->AnnouncePort(), l.port, 300);
  auto late = Emulator("127.0.0.4", "Late", office->AnnouncePort(), l.port, 1200);
  l.list.SetAnnouncePort(office->AnnouncePort());
  const AnsiString labAddress = "127.0.0.3:" + std::to_string(lab->CommandPort());

  bool ran = false;
  Later([&] {
    auto* d = OpenForm<TFrmDeviceSel>();
    ASSERT_NE(d, nullptr);
    ran = true;
    EXPECT_EQ(d->Caption(), "Select device");
    EXPECT_EQ(d->UdpPort->Value(), office->AnnouncePort());
    // Both early answers are in the list before the dialog hears of them:
    // it then shows both at once and selects the second.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (l.list.Count() < 2 && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_TRUE(WaitUntil([&] { return d->DeviceList->RowCount() >= 2; }));
    EXPECT_EQ(d->DeviceList->RowCount(), 2);
    EXPECT_EQ(d->DeviceList->Selection().Top, 1);
    const TdeviceInfo second = l.list.GetItem(1);
    EXPECT_EQ(Rows(d)[1], second.Name);
    EXPECT_EQ(d->IPAddr->GetText(), second.Host);
    EXPECT_EQ(d->PortEdt->Value(), std::stoi(second.PortText));

    // The user takes the first row; the late module adds a row and the
    // choice stays.
    KeyTo(d->DeviceList, Qt::Key_Up);
    Pump();
    const TdeviceInfo first = l.list.GetItem(0);
    EXPECT_EQ(d->DeviceList->Selection().Top, 0);
    EXPECT_EQ(d->IPAddr->GetText(), first.Host);
    ASSERT_TRUE(WaitUntil([&] { return d->DeviceList->RowCount() == 3; }));
    const auto rows = Rows(d);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Late"), rows.end());
    EXPECT_EQ(rows[0], first.Name) << "arrivals are appended";
    EXPECT_EQ(d->DeviceList->Selection().Top, 0);
    EXPECT_EQ(d->IPAddr->GetText(), first.Host);
    GrabForm(d, "coreforms-device-select.png");

    // Refresh empties the list at once and the modules come back.
    ClickOn(d->SearchBtn);
    EXPECT_EQ(Rows(d), (std::vector<AnsiString>{""}));
    EXPECT_TRUE(WaitUntil([&] { return d->DeviceList->RowCount() == 2; }));
    // Choose the lab's row with the mouse and take it.
    const Integer labRow = l.list.GetItem(0).Host == "127.0.0.3" ? 0 : 1;
    const vcl::TRect cell = d->DeviceList->CellRect(0, labRow);
    QTest::mouseClick(d->DeviceList->Widget(), Qt::LeftButton, {}, QPoint(cell.Left + 10, cell.Top + 5));
    Pump();
    EXPECT_EQ(d->IPAddr->GetText(), "127.0.0.3");
    ClickOn(d->Button1);
  });
  AnsiString address = "unchanged";
  rtl::Byte kind = 0;
  ASSERT_TRUE(SelectDevice(l.list, address, kind));
  EXPECT_TRUE(ran);
  EXPECT_EQ(address, labAddress);
  EXPECT_EQ(kind, 1);
  EXPECT_FALSE(l.list.Active()) << "the listener runs only while the dialog is open";
  EXPECT_TRUE(l.list.OnDeviceFound == nullptr);
  // Every emulator got the request from the dialog's opening and its refresh.
  EXPECT_TRUE(office->WaitForReceived(2, 1000, "announce"));
}

TEST(DeviceSelect, NothingFoundReturnsTheTypedAddressAndCancelReturnsNothing) {
  TLoopbackList l;
  l.list.SetAnnouncePort(9);  // nobody listens there
  Later([&] {
    auto* d = OpenForm<TFrmDeviceSel>();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Rows(d), (std::vector<AnsiString>{""}));
    EXPECT_EQ(d->IPAddr->GetText(), "192.168.100.128");
    EXPECT_EQ(d->PortEdt->Value(), 6666);
    TypeAddress(d->IPAddr, {"127", "0", "0", "9"});
    KeyTo(d->PortEdt, Qt::Key_A, Qt::ControlModifier);
    TypeTo(d->PortEdt, "7777");
    Pump();
    KeyTo(d->Button1, Qt::Key_Return);
  });
  AnsiString address;
  rtl::Byte kind = 0;
  ASSERT_TRUE(SelectDevice(l.list, address, kind));
  EXPECT_EQ(address, "127.0.0.9:7777");
  EXPECT_EQ(kind, 1);

  Later([&] {
    auto* d = OpenForm<TFrmDeviceSel>();
    ASSERT_NE(d, nullptr);
    KeyTo(d->DeviceList, Qt::Key_Escape);
  });
  address = "kept";
  kind = 7;
  EXPECT_FALSE(SelectDevice(l.list, address, kind));
  EXPECT_EQ(address, "kept");
  EXPECT_EQ(kind, 7);
}

TEST(DeviceSelect, ABusyListenPortRaisesWithTheDialogFreed) {
  TBoundSocket busy;
  ASSERT_NE(busy.port, 0);
  TvormekDevList list;
  list.SetListenPort(busy.port);
  list.SetRcvAnnouncePort(busy.port);
  list.SetAnnounceAddress("127.255.255.255");
  const Integer forms = vcl::Screen->FormCount();
  AnsiString address = "kept";
  rtl::Byte kind = 0;
  EXPECT_THROW(SelectDevice(list, address, kind), net::ESocketError);
  EXPECT_EQ(vcl::Screen->FormCount(), forms);
  EXPECT_FALSE(list.Active());
  EXPECT_EQ(address, "kept");
}
