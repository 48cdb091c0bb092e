#include "vcl/Dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "rtl/Strings.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace vcl {

namespace {

// The symbol of a message dialog: a coloured disc-like square with a sign.
class TDialogSymbol : public TGraphicControl {
 public:
  TDialogSymbol(TComponent* owner, TMsgDlgType type) : TGraphicControl(owner), type_(type) {}

 protected:
  void Paint() override {
    TColor back = type_ == mtError ? RGB(0xD0, 0x20, 0x20) : type_ == mtWarning ? RGB(0xF0, 0xC0, 0x20) : RGB(0x20, 0x60, 0xD0);
    const char* sign = type_ == mtError ? "X" : type_ == mtWarning ? "!" : type_ == mtConfirmation ? "?" : "i";
    TCanvas* c = Canvas();
    c->Brush()->SetColor(back);
    c->Pen()->SetColor(back);
    c->Rectangle(0, 0, Width(), Height());
    c->Font()->SetName("Verdana");
    c->Font()->SetHeight(-20);
    c->Font()->SetStyle({fsBold});
    c->Font()->SetColor(type_ == mtWarning ? clBlack : clWhite);
    c->Brush()->SetStyle(bsClear);
    TSize s = c->TextExtent(sign);
    c->TextOut((Width() - s.cx) / 2, (Height() - s.cy) / 2, sign);
  }

 private:
  TMsgDlgType type_;
};

struct ButtonInfo {
  TMsgDlgBtn button;
  const char* name;
  const char* caption;
  TModalResult result;
};
constexpr ButtonInfo kButtons[] = {
    {mbYes, "Yes", "&Yes", mrYes},          {mbNo, "No", "&No", mrNo},
    {mbOK, "OK", "OK", mrOk},               {mbCancel, "Cancel", "Cancel", mrCancel},
    {mbAbort, "Abort", "&Abort", mrAbort},  {mbRetry, "Retry", "&Retry", mrRetry},
    {mbIgnore, "Ignore", "&Ignore", mrIgnore}, {mbAll, "All", "&All", mrAll},
    {mbNoToAll, "NoToAll", "N&o to All", mrNoToAll}, {mbYesToAll, "YesToAll", "Yes to &All", mrYesToAll},
    {mbHelp, "Help", "&Help", mrNone},
};

}  // namespace

TForm* CreateMessageDialog(const AnsiString& msg, TMsgDlgType type, const TMsgDlgButtons& buttons) {
  InitApplication();
  auto* form = new TForm(Application, 0);
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  static const char* kCaptions[] = {"Warning", "Error", "Information", "Confirm"};
  form->SetCaption(type == mtCustom ? Application->Title() : kCaptions[static_cast<int>(type)]);
  form->Font()->SetName("Tahoma");
  form->Font()->SetSize(8);

  constexpr Integer margin = 12, symbolSize = 32, buttonW = 75, buttonH = 25, gap = 8;
  Integer textLeft = margin;
  if (type != mtCustom) {
    auto* symbol = new TDialogSymbol(form, type);
    symbol->SetName("Image");
    symbol->SetBounds(margin, margin, symbolSize, symbolSize);
    symbol->SetParent(form);
    textLeft = margin + symbolSize + margin;
  }
  auto* label = new TLabel(form);
  label->SetName("Message");
  label->SetShowAccelChar(false);
  label->SetWordWrap(true);
  label->SetParent(form);
  // Lay the text out at most 400 pixels wide, through the label's own font.
  TRect textRect = Rect(0, 0, 400, 0);
  {
    TCanvas measure;
    measure.SetFont(label->Font());
    measure.DrawText(msg, textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  label->SetAutoSize(false);
  label->SetBounds(textLeft, margin, textRect.Width(), textRect.Height());
  label->SetCaption(msg);

  std::vector<const ButtonInfo*> chosen;
  for (const ButtonInfo& b : kButtons)
    if (buttons.Contains(b.button)) chosen.push_back(&b);
  Integer count = static_cast<Integer>(chosen.size());
  Integer buttonsWidth = count * buttonW + std::max(0, count - 1) * gap;
  Integer contentW = std::max(textLeft + textRect.Width() + margin, buttonsWidth + 2 * margin);
  Integer textBottom = margin + std::max(textRect.Height(), type != mtCustom ? symbolSize : 0);
  Integer buttonTop = textBottom + margin;
  form->SetClientWidth(std::max(contentW, 200));
  form->SetClientHeight(buttonTop + buttonH + margin);

  bool hasDefault = false;
  TButton* cancelCandidate = nullptr;
  Integer x = (form->ClientWidth() - buttonsWidth) / 2;
  for (const ButtonInfo* b : chosen) {
    auto* btn = new TButton(form);
    btn->SetName(b->name);
    btn->SetCaption(b->caption);
    btn->SetModalResult(b->result);
    btn->SetBounds(x, buttonTop, buttonW, buttonH);
    btn->SetParent(form);
    btn->SetTabStop(true);
    if (!hasDefault && (b->button == mbOK || b->button == mbYes)) {
      btn->SetDefault(true);
      hasDefault = true;
    }
    if (b->button == mbCancel || (b->button == mbNo && !buttons.Contains(mbCancel))) cancelCandidate = btn;
    x += buttonW + gap;
  }
  if (!cancelCandidate && count == 1) cancelCandidate = dynamic_cast<TButton*>(form->FindComponent(chosen[0]->name));
  if (cancelCandidate) cancelCandidate->SetCancel(true);
  form->AfterConstruction();
  return form;
}

Integer MessageDlg(const AnsiString& msg, TMsgDlgType type, const TMsgDlgButtons& buttons, Integer) {
  TForm* form = CreateMessageDialog(msg, type, buttons);
  struct FreeForm {
    TForm* f;
    ~FreeForm() { Free(f); }
  } guard{form};
  return form->ShowModal();
}

void ShowMessage(const AnsiString& msg) { MessageDlg(msg, mtCustom, {mbOK}, 0); }

Integer ShowMessageBox(const AnsiString& text, const AnsiString& caption, Cardinal flags) {
  TMsgDlgButtons buttons;
  switch (flags & 0x0F) {
    case MB_OKCANCEL: buttons = {mbOK, mbCancel}; break;
    case MB_ABORTRETRYIGNORE: buttons = {mbAbort, mbRetry, mbIgnore}; break;
    case MB_YESNOCANCEL: buttons = {mbYes, mbNo, mbCancel}; break;
    case MB_YESNO: buttons = {mbYes, mbNo}; break;
    case MB_RETRYCANCEL: buttons = {mbRetry, mbCancel}; break;
    default: buttons = {mbOK}; break;
  }
  TMsgDlgType type = mtCustom;
  switch (flags & 0xF0) {
    case MB_ICONHAND: type = mtError; break;
    case MB_ICONQUESTION: type = mtConfirmation; break;
    case MB_ICONEXCLAMATION: type = mtWarning; break;
    case MB_ICONASTERISK: type = mtInformation; break;
    default: break;
  }
  MessageBeep(flags & 0xF0);
  TForm* form = CreateMessageDialog(text, type, buttons);
  form->SetCaption(caption);
  struct FreeForm {
    TForm* f;
    ~FreeForm() { Free(f); }
  } guard{form};
  return form->ShowModal();
}

// ----------------------------------------------------------- file dialogs

std::vector<AnsiString> ConvertFilter(const AnsiString& filter) {
  std::vector<AnsiString> out;
  std::vector<AnsiString> parts;
  size_t start = 0;
  for (;;) {
    size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == AnsiString::npos ? AnsiString::npos : bar - start));
    if (bar == AnsiString::npos) break;
    start = bar + 1;
  }
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    AnsiString patterns = parts[i + 1];
    for (char& ch : patterns)
      if (ch == ';') ch = ' ';
    out.push_back(parts[i] + " (" + rtl::Trim(patterns) + ")");
  }
  return out;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}
TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
  InitApplication();
  QFileDialog dlg;
  dlg.setObjectName(QString::fromStdString(ClassName()));
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  dlg.setAcceptMode(Saving() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (Saving())
    dlg.setFileMode(QFileDialog::AnyFile);
  else
    dlg.setFileMode(options_.Contains(ofAllowMultiSelect) ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, !options_.Contains(ofOverwritePrompt));
  QStringList filters;
  for (const AnsiString& f : ConvertFilter(filter_)) filters << QString::fromStdString(f);
  if (!filters.isEmpty()) {
    dlg.setNameFilters(filters);
    if (filterIndex_ >= 1 && filterIndex_ <= filters.size()) dlg.selectNameFilter(filters[filterIndex_ - 1]);
  }
  QFileInfo current(QString::fromStdString(fileName_));
  if (!initialDir_.empty())
    dlg.setDirectory(QString::fromStdString(initialDir_));
  else if (!fileName_.empty() && current.dir().exists())
    dlg.setDirectory(current.absolutePath());
  if (!fileName_.empty()) dlg.selectFile(current.fileName());
  if (!title_.empty()) dlg.setWindowTitle(QString::fromStdString(title_));
  if (!defaultExt_.empty()) dlg.setDefaultSuffix(QString::fromStdString(defaultExt_));
  if (OnShow) OnShow(this);
  bool ok = dlg.exec() == QDialog::Accepted;
  if (OnClose) OnClose(this);
  if (!ok) return false;
  files_.Clear();
  for (const QString& f : dlg.selectedFiles()) files_.Add(f.toStdString());
  if (files_.Count() > 0) fileName_ = files_[0];
  Integer idx = static_cast<Integer>(filters.indexOf(dlg.selectedNameFilter()));
  if (idx >= 0) filterIndex_ = idx + 1;
  return true;
}

}  // namespace vcl
