#pragma once
// Synthetic Qt input on the editor's widget, as a keyboard, an input method
// and a mouse deliver it: the routes the editor's tests drive it through.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <vector>

#include "EditorFixture.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psTextWalk.h"
#include "vcl/Menus.h"

namespace htmledittest {

inline void FocusEditor(EditorOnForm& f) {
  f.Editor->SetFocus();
  vcl::Application->ProcessMessages();
}

// The text a key event carries on the desktop: control codes for Ctrl
// with a letter and for Enter, Backspace, Tab, Escape and Delete, the
// letter itself without Ctrl, nothing for navigation keys.
inline QString KeyText(int aKey, Qt::KeyboardModifiers aMods) {
  if (aKey >= Qt::Key_A && aKey <= Qt::Key_Z) {
    if (aMods & Qt::ControlModifier) return QString(QChar(static_cast<char16_t>(aKey - Qt::Key_A + 1)));
    if (aMods & Qt::AltModifier) return {};
    const QChar letter(static_cast<char16_t>(aKey - Qt::Key_A + 'a'));
    return QString(aMods & Qt::ShiftModifier ? letter.toUpper() : letter);
  }
  switch (aKey) {
    case Qt::Key_Return: return QStringLiteral("\r");
    case Qt::Key_Backspace: return QStringLiteral("\b");
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Escape: return QString(QChar(27));
    case Qt::Key_Delete: return QString(QChar(127));
    default: return {};
  }
}

inline void QtKey(EditorOnForm& f, int aKey, Qt::KeyboardModifiers aMods = Qt::NoModifier) {
  const QString text = KeyText(aKey, aMods);
  QKeyEvent press(QEvent::KeyPress, aKey, aMods, text);
  QCoreApplication::sendEvent(f.Editor->Widget(), &press);
  QKeyEvent release(QEvent::KeyRelease, aKey, aMods, text);
  QCoreApplication::sendEvent(f.Editor->Widget(), &release);
  vcl::Application->ProcessMessages();
}

// Characters as a keyboard layout or an input method types them: one key
// event carrying the text.
inline void QtTyped(EditorOnForm& f, const QString& aText) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, aText);
  QCoreApplication::sendEvent(f.Editor->Widget(), &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, aText);
  QCoreApplication::sendEvent(f.Editor->Widget(), &release);
  vcl::Application->ProcessMessages();
}

inline void QtTypedEach(EditorOnForm& f, const QString& aText) {
  for (QChar c : aText) QtTyped(f, QString(c));
}

inline std::vector<htmlview::TpsTextNode*> KeyTestLines(TpsHTMLEdit* aEditor) {
  std::vector<htmlview::TpsTextNode*> lines;
  for (htmlview::TpsWindow* w = htmlview::FollowingTextNode(aEditor->RootWindow()); w;
       w = htmlview::FollowingTextNode(w))
    lines.push_back(static_cast<htmlview::TpsTextNode*>(w));
  return lines;
}

// A mouse event at a document point, in the widget's coordinates.
inline void QtMouse(EditorOnForm& f, QEvent::Type aType, Qt::MouseButton aButton, Qt::MouseButtons aButtons,
                    const htmldoc::TpsPoint& aDocPoint, Qt::KeyboardModifiers aMods = Qt::NoModifier) {
  const htmldoc::TpsPoint client = f.Editor->DocumentToClient(aDocPoint);
  const vcl::TRect& border = f.Editor->NonClientInsets();
  const QPointF local(client.X + border.Left, client.Y + border.Top);
  QWidget* w = f.Editor->Widget();
  QMouseEvent e(aType, local, w->mapToGlobal(local), aButton, aButtons, aMods);
  QCoreApplication::sendEvent(w, &e);
  vcl::Application->ProcessMessages();
}

inline void QtClick(EditorOnForm& f, const htmldoc::TpsPoint& aDocPoint, Qt::MouseButton aButton = Qt::LeftButton,
                    Qt::KeyboardModifiers aMods = Qt::NoModifier) {
  QtMouse(f, QEvent::MouseButtonPress, aButton, aButton, aDocPoint, aMods);
  QtMouse(f, QEvent::MouseButtonRelease, aButton, Qt::NoButton, aDocPoint, aMods);
}

inline htmldoc::TpsPoint LeftOfItem(htmlview::TpsTextNode* aLine, rtl::Integer aItem) {
  const htmldoc::TpsRect r = aLine->GetAbsoluteRect();
  return {r.Left + aLine->Items().GetItem(aItem).X + 1, (r.Top + r.Bottom) / 2};
}

// A popup menu that records where it was asked to show instead of opening.
class RecordingPopupMenu : public vcl::TPopupMenu {
 public:
  using vcl::TPopupMenu::TPopupMenu;
  void Popup(rtl::Integer x, rtl::Integer y) override {
    ++Shown;
    At = {x, y};
  }
  int Shown = 0;
  vcl::TPoint At{};
};

}  // namespace htmledittest
