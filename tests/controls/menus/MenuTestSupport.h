#pragma once
// Helpers of the styled-menu tests: menus built from captions, a pop-up
// shown through Qt and looked at while it is open.
#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QMenuBar>
#include <QWidget>
#include <functional>

#include "controls/LumMenus.h"
#include "vcl/Menus.h"

namespace menutest {

using namespace controls;

inline TMenuItem* AddItem(TMenuItem* parent, const vcl::AnsiString& caption) {
  auto* item = new TMenuItem(parent->GetParentMenu() ? static_cast<vcl::TComponent*>(parent->GetParentMenu())
                                                     : nullptr);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

// The pixels of a pop-up window while it is open.
struct OpenPopup {
  QWidget* widget = nullptr;
  QImage pixels;
  vcl::TMenuWindow* window = nullptr;
};

// Runs look(open) once the menu's first pop-up is open (after keys were
// typed into it, when given), then closes it with Escape.
inline void WithOpenPopup(std::function<void()> show, std::function<void(QWidget*)> keys,
                          std::function<void(OpenPopup&)> look) {
  QTimer::singleShot(0, [&] {
    QWidget* w = QApplication::activePopupWidget();
    if (!w) return;
    if (keys) keys(w);
    QWidget* top = QApplication::activePopupWidget();
    OpenPopup open;
    open.widget = top;
    open.pixels = top->grab().toImage().convertToFormat(QImage::Format_RGB32);
    open.window = dynamic_cast<vcl::TMenuWindow*>(top);
    look(open);
    while (QWidget* p = QApplication::activePopupWidget()) p->close();
  });
  show();
}

inline vcl::TColor At(const QImage& img, int x, int y) {
  QRgb p = img.pixel(x, y);
  return vcl::RGB(qRed(p), qGreen(p), qBlue(p));
}

}  // namespace menutest
