#include "vcl/ColorDialog.h"

#include <QApplication>
#include <QColorDialog>

namespace vcl {

bool TColorDialog::Execute() {
  QColorDialog dialog(QApplication::activeWindow());
  // Our own widgets everywhere: the desktop's chooser could not be driven
  // the same way on every platform.
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  dialog.setWindowTitle("Color");
  const TColor rgb = ColorToRGB(color_);
  dialog.setCurrentColor(QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
  if (OnShow) OnShow(this);
  const bool confirmed = dialog.exec() == QDialog::Accepted;
  if (OnClose) OnClose(this);
  if (!confirmed) return false;
  const QColor chosen = dialog.selectedColor();
  color_ = RGB(static_cast<Byte>(chosen.red()), static_cast<Byte>(chosen.green()), static_cast<Byte>(chosen.blue()));
  return true;
}

}  // namespace vcl
