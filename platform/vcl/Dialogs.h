#pragma once
// Message boxes and the file open and save dialogs.
#include <memory>
#include <vector>

#include "rtl/StringList.h"
#include "vcl/Forms.h"

namespace vcl {

// The base of dialog components: a non-visual component that shows a
// dialog when executed and tells when it shows and closes.
class TCommonDialog : public TComponent {
 public:
  explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
  // Shows the dialog; true when the user confirmed it.
  virtual bool Execute() = 0;
  Integer HelpContext() const { return helpContext_; }
  void SetHelpContext(Integer v) { helpContext_ = v; }
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 private:
  Integer helpContext_ = 0;
};

// Message-box flags: buttons, then icons.
inline constexpr Cardinal MB_OK = 0x0;
inline constexpr Cardinal MB_OKCANCEL = 0x1;
inline constexpr Cardinal MB_ABORTRETRYIGNORE = 0x2;
inline constexpr Cardinal MB_YESNOCANCEL = 0x3;
inline constexpr Cardinal MB_YESNO = 0x4;
inline constexpr Cardinal MB_RETRYCANCEL = 0x5;
inline constexpr Cardinal MB_ICONHAND = 0x10;
inline constexpr Cardinal MB_ICONSTOP = 0x10;
inline constexpr Cardinal MB_ICONERROR = 0x10;
inline constexpr Cardinal MB_ICONQUESTION = 0x20;
inline constexpr Cardinal MB_ICONEXCLAMATION = 0x30;
inline constexpr Cardinal MB_ICONWARNING = 0x30;
inline constexpr Cardinal MB_ICONASTERISK = 0x40;
inline constexpr Cardinal MB_ICONINFORMATION = 0x40;
// What a message box answers (the same numbers as the modal results).
inline constexpr Integer IDOK = 1;
inline constexpr Integer IDCANCEL = 2;
inline constexpr Integer IDABORT = 3;
inline constexpr Integer IDRETRY = 4;
inline constexpr Integer IDIGNORE = 5;
inline constexpr Integer IDYES = 6;
inline constexpr Integer IDNO = 7;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using enum TMsgDlgType;
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using enum TMsgDlgBtn;
using TMsgDlgButtons = rtl::TSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// A dialog form with the type's caption ("Warning", "Error", "Information",
// "Confirm"; the application title for mtCustom), a symbol, the message and
// one button per member of buttons in the order above. Enter presses the
// first of OK and Yes; Escape the Cancel button (else No, else the only
// one). The caller owns the form.
TForm* CreateMessageDialog(const AnsiString& msg, TMsgDlgType type, const TMsgDlgButtons& buttons);
// Shows that dialog modally; answers the pressed button's modal result.
Integer MessageDlg(const AnsiString& msg, TMsgDlgType type, const TMsgDlgButtons& buttons, Integer helpContext);
// An information box with an OK button and the application title.
void ShowMessage(const AnsiString& msg);
// A message box by MB_* flags; answers IDOK and the like. The icon flag's
// beep sounds as the box opens.
Integer ShowMessageBox(const AnsiString& text, const AnsiString& caption, Cardinal flags);

enum class TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
  ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
  ofNoTestFileCreate, ofEnableSizing
};
using enum TOpenOption;
using TOpenOptions = rtl::TSet<TOpenOption>;

class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* owner);
  ~TOpenDialog() override;

  // Runs the dialog; true when the user chose a file (FileName, Files and
  // FilterIndex then say which).
  virtual bool Execute();

  const AnsiString& FileName() const { return fileName_; }
  void SetFileName(const AnsiString& v) { fileName_ = v; }
  // "Description|pattern;pattern|Description|pattern".
  const AnsiString& Filter() const { return filter_; }
  void SetFilter(const AnsiString& v) { filter_ = v; }
  // 1-based position of the chosen filter.
  Integer FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(Integer v) { filterIndex_ = v; }
  const AnsiString& InitialDir() const { return initialDir_; }
  void SetInitialDir(const AnsiString& v) { initialDir_ = v; }
  // Added (without its dot) to a chosen name that has no extension.
  const AnsiString& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const AnsiString& v) { defaultExt_ = v; }
  const AnsiString& Title() const { return title_; }
  void SetTitle(const AnsiString& v) { title_ = v; }
  const TOpenOptions& Options() const { return options_; }
  void SetOptions(const TOpenOptions& v) { options_ = v; }
  rtl::TStrings* Files() { return &files_; }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  virtual bool Saving() const { return false; }

 private:
  AnsiString fileName_;
  AnsiString filter_;
  Integer filterIndex_ = 1;
  AnsiString initialDir_;
  AnsiString defaultExt_;
  AnsiString title_;
  TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
  rtl::TStringList files_;
};

class TSaveDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;

 protected:
  bool Saving() const override { return true; }
};

// The Qt name filters for a filter text ("Text files (*.txt *.text)").
std::vector<AnsiString> ConvertFilter(const AnsiString& filter);

}  // namespace vcl
