#include "vcl/FontDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace vcl {

namespace {

const int kFontDialogSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

QColor QtColorOf(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

}  // namespace

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner), font_(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

const std::vector<TFontDialog::NamedColor>& TFontDialog::Colors() {
  static const std::vector<NamedColor> colors = {
      {"Black", clBlack},     {"Maroon", RGB(128, 0, 0)}, {"Green", RGB(0, 128, 0)},     {"Olive", RGB(128, 128, 0)},
      {"Navy", RGB(0, 0, 128)}, {"Purple", RGB(128, 0, 128)}, {"Teal", RGB(0, 128, 128)}, {"Gray", RGB(128, 128, 128)},
      {"Silver", RGB(192, 192, 192)}, {"Red", RGB(255, 0, 0)}, {"Lime", RGB(0, 255, 0)}, {"Yellow", RGB(255, 255, 0)},
      {"Blue", RGB(0, 0, 255)}, {"Fuchsia", RGB(255, 0, 255)}, {"Aqua", RGB(0, 255, 255)}, {"White", RGB(255, 255, 255)}};
  return colors;
}

bool TFontDialog::Execute() {
  QDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle("Font");
  auto* family = new QFontComboBox(&dialog);
  family->setObjectName("FontName");
  family->setCurrentFont(QFont(QString::fromStdString(SubstituteFontName(font_->Name()))));
  auto* size = new QComboBox(&dialog);
  size->setObjectName("FontSize");
  size->setEditable(true);
  for (int s : kFontDialogSizes) size->addItem(QString::number(s));
  size->setCurrentText(QString::number(font_->Size()));
  const std::pair<const char*, TFontStyle> styles[] = {
      {"Bold", fsBold}, {"Italic", fsItalic}, {"Underline", fsUnderline}, {"Strikeout", fsStrikeOut}};
  std::vector<std::pair<QCheckBox*, TFontStyle>> styleBoxes;
  auto* effects = new QHBoxLayout();
  for (const auto& [name, style] : styles) {
    auto* box = new QCheckBox(QString("&") + name, &dialog);
    box->setObjectName(name);
    box->setChecked(font_->Style().Contains(style));
    effects->addWidget(box);
    styleBoxes.emplace_back(box, style);
  }
  auto* color = new QComboBox(&dialog);
  color->setObjectName("FontColor");
  const TColor current = ColorToRGB(font_->Color());
  int currentIndex = -1;
  for (const NamedColor& c : Colors()) {
    QPixmap swatch(12, 12);
    swatch.fill(QtColorOf(c.Color));
    color->addItem(QIcon(swatch), c.Name);
    if (c.Color == current) currentIndex = color->count() - 1;
  }
  // A colour the list does not name is offered as it is, so confirming
  // without touching the list keeps it.
  if (currentIndex < 0) {
    QPixmap swatch(12, 12);
    swatch.fill(QtColorOf(current));
    color->addItem(QIcon(swatch), "Custom");
    currentIndex = color->count() - 1;
  }
  color->setCurrentIndex(currentIndex);

  auto* form = new QFormLayout();
  form->addRow("&Font:", family);
  form->addRow("&Size:", size);
  form->addRow("Effects:", effects);
  form->addRow("&Color:", color);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(buttons);

  if (OnShow) OnShow(this);
  const bool confirmed = dialog.exec() == QDialog::Accepted;
  if (OnClose) OnClose(this);
  if (!confirmed) return false;
  font_->SetName(family->currentFont().family().toStdString());
  bool sizeOk = false;
  const int points = size->currentText().trimmed().toInt(&sizeOk);
  // A size that is no positive number leaves the size as it was.
  if (sizeOk && points > 0) font_->SetSize(points);
  TFontStyles chosen;
  for (const auto& [box, style] : styleBoxes)
    if (box->isChecked()) chosen.Include(style);
  font_->SetStyle(chosen);
  const int index = color->currentIndex();
  if (index >= 0 && index < static_cast<int>(Colors().size())) font_->SetColor(Colors()[index].Color);
  else font_->SetColor(current);
  return true;
}

}  // namespace vcl
