#pragma once
// The module data module: it owns the programmer and the list of modules
// found on the network, and uploads an image file to the selected module
// while a progress dialog shows how far the transfer is.
//
// The dialog is reached through IProgressDialog, which the window layer's
// progress dialog implements; the batch mode shows the same progress on its
// terminal (TTerminalProgress).
#include <functional>
#include <iosfwd>
#include <memory>

#include "core/DevListU.h"
#include "core/VormekProgrammerU.h"
#include "rtl/Types.h"

namespace core {

// What an upload needs of a progress dialog: a modeless window with a
// caption, a line of text and a bar from 0 to 100.
class IProgressDialog {
 public:
  virtual void SetCaption(const AnsiString& caption) = 0;
  virtual void SetText(const AnsiString& text) = 0;
  virtual void SetPosition(rtl::Integer position) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;

 protected:
  ~IProgressDialog() = default;
};

// Progress on a terminal: while shown, every change of position or text
// writes one line "<caption>: <position>% <text>". Nothing is written until
// the first change after Show, so an upload that never starts leaves the
// terminal quiet.
class TTerminalProgress : public IProgressDialog {
 public:
  explicit TTerminalProgress(std::ostream& out) : out_(out) {}
  void SetCaption(const AnsiString& caption) override { caption_ = caption; }
  void SetText(const AnsiString& text) override;
  void SetPosition(rtl::Integer position) override;
  void Show() override;
  void Hide() override { shown_ = false; }

  const AnsiString& Caption() const { return caption_; }
  const AnsiString& Text() const { return text_; }
  rtl::Integer Position() const { return position_; }
  bool Shown() const { return shown_; }

 private:
  void Write();
  std::ostream& out_;
  AnsiString caption_;
  AnsiString text_;
  rtl::Integer position_ = 0;
  bool shown_ = false;
  AnsiString lastLine_;
};

class TcdfsDevice {
 public:
  TcdfsDevice();
  ~TcdfsDevice();
  TcdfsDevice(const TcdfsDevice&) = delete;
  TcdfsDevice& operator=(const TcdfsDevice&) = delete;
  const char* ClassName() const { return "TcdfsDevice"; }
  static constexpr char kName[] = "cdfsDevice";

  // The module to upload to: "IP:command port". Set before Upload.
  AnsiString ModuleAddress;
  // The progress dialog of uploads (not owned; none: progress is only logged).
  IProgressDialog* MoxProgressDialog1 = nullptr;
  // Shortens a file name for the dialog's caption (the window layer fits it
  // into 240 pixels); without one the whole name is shown.
  std::function<AnsiString(const AnsiString& fileName)> MinimizeName;

  // Sends the image file to the module as "image.cds". Raises the file's
  // open error (nothing is sent) and EdeviceNotFound when the module does
  // not answer; False when the transfer did not complete, and LastError()
  // says why.
  bool Upload(const AnsiString& fileName);
  // Why the last upload failed ("" after a success).
  const AnsiString& LastError() const { return programmer_->UploadError(); }

  TvormekProgrammer& GetProgrammer() { return *programmer_; }
  TvormekDevList& DevList() { return *devList_; }

  // Logs under the data module's class name.
  void Log(const AnsiString& text);

 private:
  void UploadProgress(TDeviceClient& sender, const TUploadProgress& progress);

  std::unique_ptr<TvormekProgrammer> programmer_;
  std::unique_ptr<TvormekDevList> devList_;
};

// Verb U of the batch mode: uploads the image file to the module at the
// address ("IP:command port"), writing progress lines to `progress`. On a
// failure returns False with the reason in `failure`.
bool UploadImageFile(const AnsiString& address, const AnsiString& imageFile, std::ostream& progress,
                     AnsiString& failure);

}  // namespace core
