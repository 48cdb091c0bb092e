#include "core/CdfsDeviceU.h"

#include <ostream>

#include "core/DebugBaseU.h"
#include "rtl/Streams.h"

namespace core {

void TTerminalProgress::SetText(const AnsiString& text) {
  text_ = text;
  Write();
}

void TTerminalProgress::SetPosition(rtl::Integer position) {
  position_ = position;
  Write();
}

void TTerminalProgress::Show() {
  shown_ = true;
  lastLine_.clear();
}

void TTerminalProgress::Write() {
  if (!shown_) return;
  AnsiString line = caption_ + ": " + std::to_string(position_) + "%";
  if (!text_.empty()) line += " " + text_;
  if (line == lastLine_) return;
  lastLine_ = line;
  out_ << line << '\n';
  out_.flush();
}

TcdfsDevice::TcdfsDevice()
    : programmer_(std::make_unique<TvormekProgrammer>(AnsiString())),
      devList_(std::make_unique<TvormekDevList>()) {}

TcdfsDevice::~TcdfsDevice() = default;

void TcdfsDevice::Log(const AnsiString& text) { TDebugBase::LogFor(text, *this); }

void TcdfsDevice::UploadProgress(TDeviceClient&, const TUploadProgress& progress) {
  if (MoxProgressDialog1) {
    if (progress.BytesToSend > 0)
      MoxProgressDialog1->SetPosition(PercentOf(progress.BytesDone, progress.BytesToSend));
    MoxProgressDialog1->SetText(progress.Status);
  }
  Log(progress.Status);
}

bool TcdfsDevice::Upload(const AnsiString& fileName) {
  rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
  TUploadData data;
  data.Host = ModuleAddress;
  data.TFTPPort = 0;
  data.Stream = &stream;

  struct HideAtEnd {
    IProgressDialog* dialog;
    ~HideAtEnd() {
      if (dialog) dialog->Hide();
    }
  } hideAtEnd{MoxProgressDialog1};
  if (MoxProgressDialog1) {
    MoxProgressDialog1->SetCaption("Uploading " + (MinimizeName ? MinimizeName(fileName) : fileName));
    MoxProgressDialog1->SetPosition(0);
    MoxProgressDialog1->Show();
  }
  programmer_->OnUploadProgress = [this](TDeviceClient& sender, const TUploadProgress& progress) {
    UploadProgress(sender, progress);
  };
  return programmer_->Upload(data);
}

bool UploadImageFile(const AnsiString& address, const AnsiString& imageFile, std::ostream& progress,
                     AnsiString& failure) {
  failure.clear();
  TTerminalProgress dialog(progress);
  TcdfsDevice device;
  device.ModuleAddress = address;
  device.MoxProgressDialog1 = &dialog;
  AnsiString reason;
  try {
    if (device.Upload(imageFile)) {
      progress << "Uploaded " << imageFile << " to " << address << '\n';
      progress.flush();
      return true;
    }
    reason = device.LastError();
  } catch (const rtl::Exception& e) {
    reason = e.Message();
  }
  failure = "Unable to upload image";
  if (!reason.empty()) failure += " " + imageFile + " to " + address + ": " + reason;
  return false;
}

}  // namespace core
