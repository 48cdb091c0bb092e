#include "vcl/FindDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "vcl/QtHost.h"

namespace vcl {

struct TFindDialog::Ui {
  // Top-level with no Qt parent, so the window a form tears down never
  // takes the dialog with it; the pointer notices if Qt frees it anyway.
  QPointer<QDialog> dialog;
  QLineEdit* text = nullptr;
  QCheckBox* matchCase = nullptr;
  QCheckBox* wholeWord = nullptr;
  QGroupBox* direction = nullptr;
  QRadioButton* up = nullptr;
  QRadioButton* down = nullptr;
  QPushButton* findNext = nullptr;
};

TFindDialog::TFindDialog(TComponent* owner) : TCommonDialog(owner), ui_(std::make_unique<Ui>()) {}

TFindDialog::~TFindDialog() { delete ui_->dialog.data(); }

void TFindDialog::Build() {
  auto* d = new QDialog();
  ui_->dialog = d;
  d->setWindowTitle("Find");
  d->setModal(false);
  ui_->text = new QLineEdit(d);
  ui_->text->setObjectName("FindText");
  auto* label = new QLabel("Fi&nd what:", d);
  label->setBuddy(ui_->text);
  ui_->matchCase = new QCheckBox("Match &case", d);
  ui_->matchCase->setObjectName("MatchCase");
  ui_->wholeWord = new QCheckBox("Match &whole word only", d);
  ui_->wholeWord->setObjectName("WholeWord");
  ui_->direction = new QGroupBox("Direction", d);
  ui_->direction->setObjectName("Direction");
  ui_->up = new QRadioButton("&Up", ui_->direction);
  ui_->up->setObjectName("Up");
  ui_->down = new QRadioButton("&Down", ui_->direction);
  ui_->down->setObjectName("Down");
  auto* directionLayout = new QHBoxLayout(ui_->direction);
  directionLayout->addWidget(ui_->up);
  directionLayout->addWidget(ui_->down);
  ui_->findNext = new QPushButton("&Find Next", d);
  ui_->findNext->setObjectName("FindNext");
  ui_->findNext->setDefault(true);
  auto* cancel = new QPushButton("Cancel", d);
  cancel->setObjectName("Cancel");

  auto* textRow = new QHBoxLayout();
  textRow->addWidget(label);
  textRow->addWidget(ui_->text);
  auto* checks = new QVBoxLayout();
  checks->addWidget(ui_->wholeWord);
  checks->addWidget(ui_->matchCase);
  auto* optionRow = new QHBoxLayout();
  optionRow->addLayout(checks);
  optionRow->addWidget(ui_->direction);
  auto* left = new QVBoxLayout();
  left->addLayout(textRow);
  left->addLayout(optionRow);
  auto* right = new QVBoxLayout();
  right->addWidget(ui_->findNext);
  right->addWidget(cancel);
  right->addStretch();
  auto* layout = new QHBoxLayout(d);
  layout->addLayout(left);
  layout->addLayout(right);

  // Nothing to look for: nothing to press.
  QObject::connect(ui_->text, &QLineEdit::textChanged, d,
                   [this](const QString& t) { ui_->findNext->setEnabled(!t.isEmpty()); });
  QObject::connect(ui_->findNext, &QPushButton::clicked, d, [this] { Guarded(this, [&] { FindNext(); }); });
  QObject::connect(cancel, &QPushButton::clicked, d, [this] { CloseDialog(); });
  QObject::connect(d, &QDialog::rejected, d, [this] {
    if (OnClose) Guarded(this, [&] { OnClose(this); });
  });
}

void TFindDialog::ShowOptions() {
  if (!ui_->dialog) return;
  ui_->matchCase->setChecked(options_.Contains(frMatchCase));
  ui_->wholeWord->setChecked(options_.Contains(frWholeWord));
  ui_->down->setChecked(options_.Contains(frDown));
  ui_->up->setChecked(!options_.Contains(frDown));
  ui_->matchCase->setVisible(!options_.Contains(frHideMatchCase));
  ui_->wholeWord->setVisible(!options_.Contains(frHideWholeWord));
  ui_->direction->setVisible(!options_.Contains(frHideUpDown));
  ui_->matchCase->setEnabled(!options_.Contains(frDisableMatchCase));
  ui_->wholeWord->setEnabled(!options_.Contains(frDisableWholeWord));
  ui_->direction->setEnabled(!options_.Contains(frDisableUpDown));
}

void TFindDialog::ReadOptions() {
  if (!ui_->dialog) return;
  findText_ = ui_->text->text().toStdString();
  const auto set = [this](TFindOption o, bool on) {
    if (on)
      options_.Include(o);
    else
      options_.Exclude(o);
  };
  set(frMatchCase, ui_->matchCase->isChecked());
  set(frWholeWord, ui_->wholeWord->isChecked());
  set(frDown, ui_->down->isChecked());
}

bool TFindDialog::Execute() {
  const bool wasShowing = Showing();
  if (!ui_->dialog) Build();
  // What the user typed last stays while the dialog is up.
  if (!wasShowing) ui_->text->setText(QString::fromStdString(findText_));
  ui_->findNext->setEnabled(!ui_->text->text().isEmpty());
  ShowOptions();
  ui_->dialog->show();
  ui_->dialog->raise();
  ui_->dialog->activateWindow();
  ui_->text->setFocus();
  ui_->text->selectAll();
  if (!wasShowing && OnShow) OnShow(this);
  return true;
}

void TFindDialog::CloseDialog() {
  if (!Showing()) return;
  ui_->dialog->reject();
}

bool TFindDialog::Showing() const { return ui_->dialog && ui_->dialog->isVisible(); }

void TFindDialog::SetFindText(const AnsiString& v) {
  findText_ = v;
  if (ui_->dialog) ui_->text->setText(QString::fromStdString(v));
}

void TFindDialog::SetOptions(const TFindOptions& v) {
  options_ = v;
  ShowOptions();
}

void TFindDialog::FindNext() {
  ReadOptions();
  options_.Include(frFindNext);
  if (OnFind) OnFind(this);
}

QWidget* TFindDialog::DialogWidget() const { return ui_->dialog.data(); }

}  // namespace vcl
