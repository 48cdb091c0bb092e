// One look for native and drawn controls: Qt's Fusion style (unless
// QT_STYLE_OVERRIDE names another) with a palette made from the system
// colour table, so native buttons, themed parts drawn through the same
// style and the controls that paint with system colours agree, on every
// desktop and off screen.
#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <cstdlib>

#include "vcl/QtCanvas.h"
#include "vcl/QtHost.h"

namespace vcl {

QPalette SystemColorPalette() {
  QPalette pal;
  auto set = [&pal](QPalette::ColorRole role, TColor color) { pal.setColor(role, ToQColor(color)); };
  set(QPalette::Window, clBtnFace);
  set(QPalette::WindowText, clWindowText);
  set(QPalette::Base, clWindow);
  set(QPalette::AlternateBase, clBtnFace);
  set(QPalette::Text, clWindowText);
  set(QPalette::Button, clBtnFace);
  set(QPalette::ButtonText, clBtnText);
  set(QPalette::BrightText, clWhite);
  set(QPalette::Light, clBtnHighlight);
  set(QPalette::Midlight, cl3DLight);
  set(QPalette::Mid, clBtnShadow);
  set(QPalette::Dark, clBtnShadow);
  set(QPalette::Shadow, cl3DDkShadow);
  set(QPalette::Highlight, clHighlight);
  set(QPalette::HighlightedText, clHighlightText);
  set(QPalette::ToolTipBase, clInfoBk);
  set(QPalette::ToolTipText, clInfoText);
  set(QPalette::Link, clHotLight);
  set(QPalette::PlaceholderText, clGrayText);
  QColor grey = ToQColor(clGrayText);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    pal.setColor(QPalette::Disabled, role, grey);
  // Disabled fields and glyphs show the face colour, as on the desktop.
  pal.setColor(QPalette::Disabled, QPalette::Base, ToQColor(clBtnFace));
  return pal;
}

void ApplyDesktopLook() {
  const char* override = std::getenv("QT_STYLE_OVERRIDE");
  if (!override || !*override) QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(SystemColorPalette());
}

}  // namespace vcl
