#include "vcl/MouseTransparency.h"

#include <QWidget>

namespace vcl {

void MakeTransparentForMouse(QWidget* window) {
  if (window) window->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

}  // namespace vcl
