#pragma once
// The find dialog: not modal, it stays up while the user searches. "Find
// Next" fires OnFind with FindText and Options as the dialog shows them;
// frHideMatchCase, frHideWholeWord and frHideUpDown in Options take those
// controls off the dialog.
#include <memory>

#include "vcl/Dialogs.h"
#include "vcl/FindOptions.h"

class QWidget;

namespace vcl {

class TFindDialog : public TCommonDialog {
 public:
  explicit TFindDialog(TComponent* owner);
  ~TFindDialog() override;
  // Shows the dialog (or brings it forward) and returns at once: true.
  bool Execute() override;
  void CloseDialog();
  bool Showing() const;

  const AnsiString& FindText() const { return findText_; }
  void SetFindText(const AnsiString& v);
  const TFindOptions& Options() const { return options_; }
  void SetOptions(const TFindOptions& v);

  // "Find Next" as a click on it does: the texts and options read, then
  // OnFind.
  void FindNext();

  // The dialog's window once shown (null before), for what drives it.
  QWidget* DialogWidget() const;

  TNotifyEvent OnFind;

 private:
  struct Ui;
  void Build();
  void ShowOptions();
  void ReadOptions();
  std::unique_ptr<Ui> ui_;
  AnsiString findText_;
  TFindOptions options_{frDown};
};

}  // namespace vcl
