#pragma once
// The module's settings as the environment knows them (a fixed table of 35
// settings in five groups, each with the hardware types that have it), and
// the programmer that reads them from a module, writes a group back followed
// by a reset, asks for the module's TFTP port and uploads an image.
//
// Every operation runs on the user-interface thread and returns when done;
// it keeps the interface alive by processing messages between steps. Only
// the TFTP transfer of an upload runs on a worker thread.
#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "core/DebugBaseU.h"
#include "core/VormekConnectionU.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"
#include "rtl/Types.h"

namespace core {

// Base of the errors of a module.
class EauthError : public rtl::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EauthError"; }
};

// The module did not answer at all.
class EdeviceNotFound : public EauthError {
 public:
  EdeviceNotFound() : EauthError("Unable to connect to the device.") {}
  using EauthError::EauthError;
  const char* ClassName() const noexcept override { return "EdeviceNotFound"; }
};

// Editor kinds of a setting.
inline constexpr rtl::Byte kEditText = 0;
inline constexpr rtl::Byte kEditIPAddress = 1;
inline constexpr rtl::Byte kEditPlain = 2;
inline constexpr rtl::Byte kEditYesNo = 3;

// The value a setting shows when reading it failed.
inline constexpr char kNotAvailable[] = "N/A";

// One setting.
struct TdeviceCmd {
  AnsiString Value;    // last read or entered; "N/A" after a failed read
  AnsiString GetName;  // the key of the query
  AnsiString SetName;  // the key of the setting command; "" for a read-only setting
  AnsiString Caption;
  rtl::Byte EditorKind = kEditText;
  bool WaitForReply = false;
  rtl::Byte HardwareMask = 255;  // bit n: hardware type n has it
  // The value came from the module or from the user. A write sends only
  // such values, so that a setting that could not be read is never
  // overwritten with "N/A" or with an empty text.
  bool HasValue = false;
};

// True when value, keys and caption are the same (case-sensitively).
bool SameDeviceCmd(const TdeviceCmd& a, const TdeviceCmd& b);

// 1, 2, 4, 8, 16 for hardware types 0 to 4; 255 (all) for anything else.
rtl::Byte HardwareTypeToMask(rtl::Integer hardwareType);
// The same for the module's answer; an answer that is not a decimal number
// is an unknown type.
rtl::Byte HardwareTypeTextToMask(const AnsiString& hardwareType);

// One group of settings: every entry in insertion order, and the visible
// copies of those the filter lets through. Values live on the visible
// copies; a new filter rebuilds them empty.
class TdeviceCmds {
 public:
  void Add(const TdeviceCmd& entry);
  void SetFilter(rtl::Byte mask);
  rtl::Byte Filter() const { return filter_; }
  // Visible entries.
  rtl::Integer Count() const { return static_cast<rtl::Integer>(visible_.size()); }
  // Raise EListError for an index outside 0 .. Count() - 1.
  TdeviceCmd GetCmd(rtl::Integer index) const;
  AnsiString GetValue(rtl::Integer index) const;
  // Stores the value; any value but "N/A" counts as known (HasValue).
  void SetValue(rtl::Integer index, const AnsiString& value);
  // All entries, visible or not.
  rtl::Integer FullCount() const { return static_cast<rtl::Integer>(all_.size()); }

 private:
  const TdeviceCmd& Visible(rtl::Integer index) const;
  std::vector<TdeviceCmd> all_;
  std::vector<TdeviceCmd> visible_;
  rtl::Byte filter_ = 255;
};

// What the worker of an upload has done so far.
struct TUploadProgress {
  rtl::Int64 BytesDone = 0;
  rtl::Int64 BytesToSend = 0;
  AnsiString Status;
};

// done as a whole percentage of total, rounded; 0 while total is not positive.
rtl::Integer PercentOf(rtl::Int64 done, rtl::Int64 total);

// One upload: the module's address ("IP:command port"), its TFTP port (0:
// ask the module), and the data from the stream's position to its end (the
// stream is not owned).
struct TUploadData {
  AnsiString Host;
  rtl::Integer TFTPPort = 0;
  rtl::TStream* Stream = nullptr;
};

class TDeviceClient;
using TDeviceProgressEvent =
    std::function<void(TDeviceClient& sender, rtl::Integer percent, bool& cancel, const AnsiString& text)>;
using TUploadProgressEvent = std::function<void(TDeviceClient& sender, const TUploadProgress& progress)>;

// The device client base: the five groups and the two progress events.
class TDeviceClient : public TDebugBase {
 public:
  static constexpr rtl::Integer kGroupCount = 5;
  // The groups' captions, which are also the tab order of the settings dialog.
  static constexpr std::array<const char*, kGroupCount> kGroupCaptions = {"Addressing", "WiFi", "E-Mail",
                                                                         "Protocols", "Misc"};

  TDeviceClient() = default;
  TDeviceClient(const TDeviceClient&) = delete;
  TDeviceClient& operator=(const TDeviceClient&) = delete;
  const char* ClassName() const override { return "TDeviceClient"; }

  // Raises EListError for a group outside 0 .. 4.
  TdeviceCmds& Cmds(rtl::Integer group);
  const TdeviceCmds& Cmds(rtl::Integer group) const;

  // Settings progress: percent, a cancel flag the listener may set, the text.
  TDeviceProgressEvent OnProgress;
  // Upload progress, on the calling thread before each wait for the worker.
  TUploadProgressEvent OnUploadProgress;

  virtual bool GetCancelled() const = 0;
  virtual void SetCancelled(bool value) = 0;
  virtual bool ReadSettings(rtl::Byte deviceKind, const AnsiString& address) = 0;
  virtual bool WriteSettings(rtl::Byte deviceKind, const AnsiString& address, rtl::Integer group) = 0;
  virtual rtl::Integer GetTFTPPort(rtl::Byte deviceKind, const AnsiString& address) = 0;
  virtual bool Upload(TUploadData data) = 0;

 protected:
  std::array<TdeviceCmds, kGroupCount> groups_;
};

class TvormekProgrammer : public TDeviceClient {
 public:
  // The network kind of device (the only transport is UDP).
  static constexpr rtl::Byte kNetworkDevice = 1;
  static constexpr int kQueryAttempts = 3;
  static constexpr int kSetAttempts = 5;
  static constexpr rtl::Cardinal kResetWaitMs = 1000;
  static constexpr rtl::Cardinal kResetSliceMs = 150;
  static constexpr rtl::Cardinal kUploadStepMs = 500;
  // The name the image takes on the module.
  static constexpr char kRemoteImageName[] = "image.cds";

  explicit TvormekProgrammer(const AnsiString& address = {});
  ~TvormekProgrammer() override;
  const char* ClassName() const override { return "TvormekProgrammer"; }

  bool GetCancelled() const override { return cancelled_; }
  // Also cancels the wait of the connection.
  void SetCancelled(bool value) override;

  // Connects, reads the hardware type, shows the groups' entries for it and
  // reads every visible setting. False when a read failed or the user
  // cancelled. Raises EdeviceNotFound when the module does not answer.
  bool ReadSettings(rtl::Byte deviceKind, const AnsiString& address) override;
  // Connects, writes the group's writable visible settings whose value is
  // known, then resets the module. False when a setting was refused or the
  // user cancelled.
  bool WriteSettings(rtl::Byte deviceKind, const AnsiString& address, rtl::Integer group) override;
  // Connects and asks for the TFTP port: the port, -1 without an answer, -2
  // when the answer is not a number.
  rtl::Integer GetTFTPPort(rtl::Byte deviceKind, const AnsiString& address) override;
  // Sends the stream as "image.cds" on a worker thread and waits in 500 ms
  // steps, reporting progress before each and once at the end. True when
  // the transfer completed; otherwise UploadError() says why.
  bool Upload(TUploadData data) override;

  // Why the last upload failed ("" after a success).
  const AnsiString& UploadError() const { return uploadError_; }

  TUDPConnection& Connection() { return *connection_; }
  rtl::Byte DeviceKind() const { return deviceKind_; }
  const AnsiString& Address() const { return address_; }
  rtl::Integer Percent() const { return percent_; }
  const AnsiString& ProgressText() const { return progressText_; }

  // How long the TFTP client waits for each answer during an upload.
  rtl::Cardinal TftpReceiveTimeout = 4000;

 protected:
  void NotifyProgress();
  // The value is the reply without its "KEY=" part.
  bool QueryWithRetry(const AnsiString& key, AnsiString& value);
  bool SetWithRetry(const AnsiString& command, AnsiString& reply, bool wait);
  void Connect(rtl::Byte deviceKind, const AnsiString& address);
  void ResetModule();

 private:
  class TDataUploader;
  bool QueryWithRetry(const AnsiString& key, AnsiString& value, AnsiString& rawReply);

  std::unique_ptr<TUDPConnection> connection_;
  AnsiString address_;
  rtl::Byte deviceKind_ = kNetworkDevice;
  bool cancelled_ = false;
  rtl::Integer percent_ = 0;
  AnsiString progressText_;
  AnsiString uploadError_;
};

}  // namespace core
