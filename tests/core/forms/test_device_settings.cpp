// The device settings dialog against module emulators on loopback: the
// table of each tab, yes/no and address cells edited through synthetic
// keys, writes checked in the emulator's log, read-back verification, the
// write that moves the module, cancelling a read from the progress dialog,
// and a failed first retrieval that never opens the dialog.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "FormsTestSupport.h"
#include "ModuleEmulator.h"
#include "core/VormekProgrammerU.h"
#include "core/forms/DeviceConfigU.h"
#include "grid/GridCombo.h"
#include "rtl/Clock.h"
#include "grid/GridComponent.h"
#include "support/MoxProgressDialog.h"
#include "vcl/ComCtrls.h"
#include "vcl/Pictures.h"
#include "vcl/StdCtrls.h"

using namespace core;
using namespace forms_test;
using emulator::TModuleEmulator;

namespace {

std::unique_ptr<TModuleEmulator> Module(const std::string& ip, const std::string& hardwareType,
                                        emulator::TEmulatorFaults faults = {}) {
  emulator::TEmulatorOptions o;
  o.IP = ip;
  o.HardwareType = hardwareType;
  o.AnnouncePort = 0;
  o.ReceivePort = 0;
  o.TftpServer = false;
  o.TftpPort = 69;
  o.Values = {{"IP", ip}, {"DHCP", "0"}, {"EMAIL_TO", "old@example.org"}, {"UDP", "6666"}};
  o.Faults = std::move(faults);
  auto m = std::make_unique<TModuleEmulator>(o);
  m->Start();
  return m;
}

AnsiString AddressOf(const TModuleEmulator& m) { return m.IP() + ":" + std::to_string(m.CommandPort()); }

// A programmer whose commands leave from a port the system picks.
struct TProgrammer {
  TvormekProgrammer programmer;
  TProgrammer() { programmer.Connection().SetLocalPort(0); }
};

// Runs script once the dialog is shown (the retrieval before it pumps
// messages too), then closes it with "Finished".
void WhenShown(std::function<void(TFrmDeviceConfig*)> script, int triesLeft = 500) {
  Later(
      [script, triesLeft] {
        auto* d = OpenForm<TFrmDeviceConfig>();
        if (d == nullptr) {
          if (triesLeft > 0)
            WhenShown(script, triesLeft - 1);
          else
            ADD_FAILURE() << "the settings dialog never opened";
          return;
        }
        script(d);
        if (d->Visible()) ClickOn(d->Finbutton);
      },
      20);
}

// Closes a settings dialog that opens while finished is false, noting it.
void GuardAgainstOpening(std::shared_ptr<bool> opened, std::shared_ptr<bool> finished) {
  Later(
      [opened, finished] {
        if (*finished) return;
        if (auto* d = OpenForm<TFrmDeviceConfig>()) {
          *opened = true;
          ClickOn(d->Finbutton);
          return;
        }
        GuardAgainstOpening(opened, finished);
      },
      20);
}

void ChooseTab(TFrmDeviceConfig* d, Integer index) {
  const vcl::TRect r = d->settingTabControl->TabRect(index);
  QTest::mouseClick(d->settingTabControl->Widget(), Qt::LeftButton, {}, QPoint(r.Left + 5, r.Top + 5));
  Pump();
  ASSERT_EQ(d->settingTabControl->TabIndex(), index);
}

Integer RowOf(TFrmDeviceConfig* d, const char* caption) {
  for (Integer r = 1; r < d->SettingsTable->RowCount(); ++r)
    if (d->SettingsTable->Cells(0, r) == caption) return r;
  ADD_FAILURE() << "no row " << caption;
  return 1;
}

vcl::TWinControl* OpenCell(TFrmDeviceConfig* d, Integer row) {
  d->SettingsTable->SetCol(1);
  d->SettingsTable->SetRow(row);
  KeyTo(d->SettingsTable, Qt::Key_F2);
  Pump();
  if (auto* c = d->SettingsTable->ActiveEditorControl()) return c;
  return d->SettingsTable->EditorMode() ? d->SettingsTable->InplaceEditor() : nullptr;
}

// The commands the module got after its last reset (queries and settings).
std::vector<AnsiString> AfterReset(const TModuleEmulator& m) {
  std::vector<AnsiString> after;
  bool reset = false;
  for (const auto& d : m.Received()) {
    if (d.Channel != "command") continue;
    if (d.Text == "AT*RESET=1") {
      reset = true;
      after.clear();
    } else if (reset) {
      after.push_back(d.Text);
    }
  }
  return after;
}

bool Got(const TModuleEmulator& m, const AnsiString& text) {
  for (const auto& d : m.Received())
    if (d.Text == text) return true;
  return false;
}

}  // namespace

// A module without WiFi: its tab is empty; DHCP switched on through the
// yes/no list is written, and since the module then takes an address of
// its own no read-back follows.
TEST(DeviceSettings, HardwareTypeZeroAndDhcp) {
  auto module = Module("127.0.0.2", "0");
  TProgrammer p;
  TBoxRecorder boxes;
  WhenShown([&](TFrmDeviceConfig* d) {
    EXPECT_EQ(d->Caption(), "Device Settings");
    EXPECT_EQ(FrmDeviceConfig, d);
    auto* t = d->SettingsTable;
    EXPECT_EQ(t->Cells(0, 0), "Settings");
    EXPECT_EQ(t->Cells(1, 0), "Value");
    EXPECT_EQ(t->RowCount(), 10);
    EXPECT_EQ(t->Cells(0, 1), "Hardware Type");
    EXPECT_EQ(t->Cells(1, 1), "0");
    EXPECT_EQ(t->Cells(1, RowOf(d, "IP Address")), "127.0.0.2");
    EXPECT_EQ(t->Cells(1, RowOf(d, "DHCP")), "No");
    EXPECT_EQ(t->ColWidths(0), 160);
    EXPECT_EQ(t->FixedCols(), 1);
    GrabForm(d, "coreforms-device-settings.png");
    // Read-only rows do not edit.
    EXPECT_EQ(OpenCell(d, RowOf(d, "MAC Address")), nullptr);

    ChooseTab(d, 1);
    EXPECT_EQ(t->RowCount(), 2);
    EXPECT_EQ(t->Cells(0, 0), "Settings");
    EXPECT_EQ(t->Cells(0, 1), "");
    EXPECT_EQ(t->Cells(1, 1), "");
    EXPECT_EQ(OpenCell(d, 1), nullptr);

    // A group that does not move the module is read back and verified.
    ChooseTab(d, 2);
    vcl::TWinControl* editor = OpenCell(d, RowOf(d, "E-mail Subject"));
    ASSERT_NE(editor, nullptr);
    TypeTo(editor, "Alarm");
    KeyTo(editor, Qt::Key_Return);
    Pump();
    ClickOn(d->SetSettings);
    EXPECT_EQ(boxes.Texts(), std::vector<AnsiString>{"Settings updated"});
    EXPECT_EQ(boxes.beeps, std::vector<rtl::Cardinal>{128});
    EXPECT_EQ(t->Cells(1, RowOf(d, "E-mail Subject")), "Alarm");
    boxes.boxes.clear();
    boxes.beeps.clear();

    ChooseTab(d, 0);
    auto* combo = dynamic_cast<grid::TGridCombo*>(OpenCell(d, RowOf(d, "DHCP")));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->Items()->Count(), 2);
    EXPECT_EQ(combo->ItemIndex(), 0);
    KeyTo(combo, Qt::Key_Down);
    KeyTo(combo, Qt::Key_Return);
    Pump();
    EXPECT_EQ(t->Cells(1, RowOf(d, "DHCP")), "Yes");
    ClickOn(d->SetSettings);
    EXPECT_TRUE(d->Enabled()) << "enabled again after the progress dialog";
    EXPECT_EQ(t->Cells(1, RowOf(d, "DHCP")), "Yes") << "the table keeps what was written";
  });
  ShowDeviceSettings(&p.programmer, AddressOf(*module), 1);
  EXPECT_EQ(FrmDeviceConfig, nullptr);
  EXPECT_TRUE(Got(*module, "AT*DHCP=1"));
  EXPECT_EQ(module->Value("DHCP"), "1");
  EXPECT_EQ(AfterReset(*module), std::vector<AnsiString>{}) << "nothing asked at the old address";
  EXPECT_EQ(boxes.Texts(),
            std::vector<AnsiString>{"Settings sent. The module restarts at its new address; select it again."});
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].Type, vcl::mtInformation);
  EXPECT_EQ(boxes.beeps, std::vector<rtl::Cardinal>{128});
}

// An address typed with the mask's blanks is written without them, and
// moves the module; a value the module stores but reports otherwise fails
// verification; a clean write verifies.
TEST(DeviceSettings, AddressWritesAndVerification) {
  emulator::TEmulatorFaults faults;
  faults.MisreportedValues["EMAIL_TO"] = "other@example.org";
  auto module = Module("127.0.0.3", "4", faults);
  TProgrammer p;
  TBoxRecorder boxes;
  WhenShown([&](TFrmDeviceConfig* d) {
    auto* t = d->SettingsTable;
    EXPECT_EQ(t->RowCount(), 10);
    ChooseTab(d, 1);
    EXPECT_EQ(t->RowCount(), 9) << "hardware type 4 has WiFi";
    ChooseTab(d, 2);
    const Integer to = RowOf(d, "E-mail To");
    EXPECT_EQ(t->Cells(1, to), "other@example.org");
    vcl::TWinControl* editor = OpenCell(d, to);
    ASSERT_NE(editor, nullptr);
    KeyTo(editor, Qt::Key_A, Qt::ControlModifier);
    TypeTo(editor, "me@example.org");
    KeyTo(editor, Qt::Key_Return);
    Pump();
    ClickOn(d->SetSettings);
    EXPECT_TRUE(Got(*module, "AT*EMAIL_TO=me@example.org"));
    EXPECT_EQ(boxes.Texts().back(), "Verification of settings failed");
    EXPECT_EQ(boxes.boxes.back().Type, vcl::mtWarning);
    EXPECT_EQ(boxes.beeps.back(), 48u);
    EXPECT_EQ(t->Cells(1, to), "other@example.org") << "the table shows what was read back";

    ChooseTab(d, 0);
    const Integer ip = RowOf(d, "IP Address");
    editor = OpenCell(d, ip);
    ASSERT_NE(editor, nullptr);
    // Typed as the address mask leaves it: each group padded with blanks.
    KeyTo(editor, Qt::Key_A, Qt::ControlModifier);
    TypeTo(editor, "127.0  .0  .9  ");
    KeyTo(editor, Qt::Key_Return);
    Pump();
    EXPECT_EQ(t->Cells(1, ip), "127.0  .0  .9  ");
    ClickOn(d->SetSettings);
    EXPECT_EQ(t->Cells(1, ip), "127.0.0.9");
  });
  ShowDeviceSettings(&p.programmer, AddressOf(*module), 1);
  EXPECT_TRUE(Got(*module, "AT*AIP=127.0.0.9"));
  EXPECT_EQ(module->Value("IP"), "127.0.0.9");
  EXPECT_EQ(AfterReset(*module), std::vector<AnsiString>{});
  EXPECT_EQ(boxes.Texts().back(), "Settings sent. The module restarts at its new address; select it again.");
}

TEST(DeviceSettings, CancelDuringTheReadAndAFailedRetrieval) {
  struct Case {
    const char* what;
    emulator::TEmulatorFaults faults;
    bool cancel;
  };
  emulator::TEmulatorFaults slow;
  slow.ReplyDelayMs = 15;
  emulator::TEmulatorFaults refusing;
  refusing.ErrorKeys = {"MAC"};
  for (const Case& c : {Case{"cancelled", slow, true}, Case{"refused query", refusing, false}}) {
    SCOPED_TRACE(c.what);
    auto module = Module("127.0.0.4", "4", c.faults);
    TProgrammer p;
    TBoxRecorder boxes;
    bool cancelled = false;
    auto opened = std::make_shared<bool>(false);
    auto finished = std::make_shared<bool>(false);
    if (c.cancel) {
      Later(
          [&] {
            if (FrmDeviceConfig && FrmDeviceConfig->MoxProgressDialog1->Window()) {
              ClickOn(FrmDeviceConfig->MoxProgressDialog1->Window()->btnCancel);
              cancelled = true;
            }
          },
          150);
    }
    // Were the dialog to open, this closes it and tells.
    GuardAgainstOpening(opened, finished);
    ShowDeviceSettings(&p.programmer, AddressOf(*module), 1);
    *finished = true;
    Pump();
    EXPECT_FALSE(*opened);
    EXPECT_EQ(boxes.Texts(), std::vector<AnsiString>{"Settings could not be retrieved"});
    EXPECT_EQ(boxes.beeps, std::vector<rtl::Cardinal>{16});
    if (c.cancel) {
      EXPECT_TRUE(cancelled);
      size_t queries = 0;
      for (const auto& d : module->Received()) queries += d.Text.back() == '?';
      EXPECT_LT(queries, 20u) << "the read stopped at the next setting";
    }
  }
}

// Changing the module's command port moves it as a new address does: the
// port is written, the module reset, and nothing asked at the old port.
TEST(DeviceSettings, ChangedCommandPortMovesTheModule) {
  auto module = Module("127.0.0.5", "0");
  TProgrammer p;
  TBoxRecorder boxes;
  WhenShown([&](TFrmDeviceConfig* d) {
    ChooseTab(d, 3);
    const Integer udp = RowOf(d, "UDP Command Port");
    EXPECT_EQ(d->SettingsTable->Cells(1, udp), "6666");
    vcl::TWinControl* editor = OpenCell(d, udp);
    ASSERT_NE(editor, nullptr);
    KeyTo(editor, Qt::Key_A, Qt::ControlModifier);
    TypeTo(editor, "7777");
    KeyTo(editor, Qt::Key_Return);
    Pump();
    ClickOn(d->SetSettings);
    EXPECT_EQ(d->SettingsTable->Cells(1, udp), "7777") << "the table keeps what was written";
  });
  ShowDeviceSettings(&p.programmer, AddressOf(*module), 1);
  EXPECT_TRUE(Got(*module, "AT*UDP=7777"));
  EXPECT_EQ(module->Value("UDP"), "7777");
  EXPECT_EQ(module->ResetCount(), 1);
  EXPECT_EQ(AfterReset(*module), std::vector<AnsiString>{}) << "nothing asked at the old port";
  EXPECT_EQ(boxes.Texts(),
            std::vector<AnsiString>{"Settings sent. The module restarts at its new address; select it again."});
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].Type, vcl::mtInformation);
}

// A module that never answers: the connect step gives up after its retries
// and its error leaves ShowDeviceSettings with no box shown, the dialog
// never opened and freed, and nothing but the connect query sent. The
// programmer's unanswered waits run on a clock whose sleeps advance it, so
// the case costs no real waiting.
TEST(DeviceSettings, SilentModule) {
  emulator::TEmulatorFaults faults;
  faults.Silent = true;
  auto module = Module("127.0.0.6", "4", faults);
  auto clock = std::make_shared<rtl::ManualClock>(1000000);
  clock->SetSleepAdvances(true);
  TProgrammer p;
  TBoxRecorder boxes;
  auto opened = std::make_shared<bool>(false);
  auto finished = std::make_shared<bool>(false);
  GuardAgainstOpening(opened, finished);
  AnsiString raised;
  {
    rtl::ScopedClock manual(clock);
    try {
      ShowDeviceSettings(&p.programmer, AddressOf(*module), 1);
    } catch (const EdeviceNotFound& e) {
      raised = e.Message();
    }
  }
  *finished = true;
  Pump();
  EXPECT_EQ(raised, "Unable to connect to the device.");
  EXPECT_FALSE(*opened);
  EXPECT_EQ(FrmDeviceConfig, nullptr);
  EXPECT_EQ(boxes.Texts(), std::vector<AnsiString>{});
  EXPECT_TRUE(module->WaitForReceived(1, 1000, "command"));
  for (const auto& d : module->Received())
    if (d.Channel == "command") EXPECT_EQ(d.Text, "AT*TFTP?");
}

TEST(DeviceSettings, UploadProgressThroughTheAdapter) {
  auto* owner = vcl::Create<vcl::TForm>(nullptr, 0);
  auto* dialog = new support::TMoxProgressDialog(owner);
  TProgressDialogAdapter adapter(dialog);
  TcdfsDevice device;
  AttachUploadProgress(device, adapter, dialog);
  EXPECT_EQ(device.MoxProgressDialog1, &adapter);
  IProgressDialog& progress = adapter;
  progress.SetCaption("Uploading image.cds");
  progress.SetText("Sending");
  progress.SetPosition(40);
  progress.Show();
  Pump();
  ASSERT_NE(dialog->Window(), nullptr);
  EXPECT_EQ(dialog->Caption(), "Uploading image.cds");
  EXPECT_EQ(dialog->Position(), 40);
  progress.Hide();
  EXPECT_EQ(dialog->Window(), nullptr);

  vcl::TFont font;
  font.SetName("MS Sans Serif");
  font.SetHeight(-11);
  const AnsiString shortName = "C:\\work\\image.cds";
  EXPECT_EQ(device.MinimizeName(shortName), shortName);
  const AnsiString longName =
      "C:\\Users\\someone\\Documents\\Projects\\module pages\\build output folder\\nightly\\image.cds";
  const AnsiString shown = device.MinimizeName(longName);
  EXPECT_EQ(shown.rfind("C:\\...\\", 0), 0u) << shown;
  EXPECT_EQ(shown.substr(shown.size() - 10), "\\image.cds");
  vcl::TBitmap measure;
  measure.Canvas()->Font()->Assign(&font);
  EXPECT_LE(measure.Canvas()->TextWidth(shown), 240);
  EXPECT_GT(measure.Canvas()->TextWidth(longName), 240);
  vcl::Free(owner);
}
