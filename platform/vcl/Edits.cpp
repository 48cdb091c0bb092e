// The edit field: a QLineEdit, or a QPlainTextEdit for a multi-line
// descendant, behind one set of text, selection and clipboard calls.
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextCursor>

#include "rtl/CodePages.h"
#include "rtl/Strings.h"
#include "vcl/QtHost.h"
#include "vcl/StdCtrls.h"

namespace vcl {
namespace {

// The message a standard context-menu entry stands for, 0 for none.
Cardinal ClipboardMessage(const QAction* a) {
  const std::pair<const char*, Cardinal> byName[] = {
      {"edit-cut", WM_CUT}, {"edit-copy", WM_COPY}, {"edit-paste", WM_PASTE}, {"edit-delete", WM_CLEAR},
      {"edit-undo", WM_UNDO}};
  for (auto [name, msg] : byName)
    if (a->objectName() == QLatin1String(name)) return msg;
  // Older Qt versions leave the entries unnamed: their captions, in the
  // widgets' own translation, tell them apart (the shortcut after the tab
  // is left out).
  const std::pair<const char*, Cardinal> byCaption[] = {
      {"Cu&t", WM_CUT}, {"&Copy", WM_COPY}, {"&Paste", WM_PASTE}, {"Delete", WM_CLEAR}, {"&Undo", WM_UNDO}};
  QString caption = a->text().section(QLatin1Char('\t'), 0, 0);
  if (caption.isEmpty()) return 0;
  for (const char* context : {"QLineEdit", "QWidgetTextControl"})
    for (auto [source, msg] : byCaption)
      if (caption == QCoreApplication::translate(context, source)) return msg;
  return 0;
}

// Replaces the direct clipboard actions of a field's standard context menu
// by the messages, so the control's handlers decide.
void RouteClipboardActions(QMenu* menu, TControl* control) {
  for (QAction* a : menu->actions())
    if (Cardinal m = ClipboardMessage(a)) {
      a->disconnect();
      QObject::connect(a, &QAction::triggered, menu, [control, m] { Guarded(control, [&] { control->Perform(m); }); });
    }
}

class LineField : public QLineEdit {
 public:
  explicit LineField(TControl* control) : control_(control) {}

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override {
    QMenu* menu = createStandardContextMenu();
    RouteClipboardActions(menu, control_);
    menu->exec(e->globalPos());
    delete menu;
  }

 private:
  TControl* control_;  // owns the widget's host
};

class TextField : public QPlainTextEdit {
 public:
  explicit TextField(TControl* control) : control_(control) {}

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override {
    QMenu* menu = createStandardContextMenu();
    RouteClipboardActions(menu, control_);
    menu->exec(e->globalPos());
    delete menu;
  }

 private:
  TControl* control_;
};

QLineEdit* Line(QWidget* w) { return qobject_cast<QLineEdit*>(w); }
QPlainTextEdit* Plain(QWidget* w) { return qobject_cast<QPlainTextEdit*>(w); }

QString FieldText(QWidget* w) {
  if (auto* l = Line(w)) return l->text();
  // The multi-line field keeps its lines with CR LF, as the desktop's does;
  // the raw text keeps no-break spaces and line separators as typed.
  QString t = Plain(w)->document()->toRawText();
  t.replace(QChar(QChar::ParagraphSeparator), QLatin1String("\r\n"));
  return t;
}

void SetFieldText(QWidget* w, const QString& t) {
  if (auto* l = Line(w)) {
    l->setText(t);
    return;
  }
  QString plain = t;
  plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  Plain(w)->setPlainText(plain);
}

// Positions in the multi-line field count a line break as two units (CR LF).
int ToFieldPos(QPlainTextEdit* p, int pos) {
  QString t = p->toPlainText();
  int plainPos = 0;
  for (int units = 0; plainPos < t.size() && units < pos; ++plainPos) {
    units += t[plainPos] == QLatin1Char('\n') ? 2 : 1;
  }
  return plainPos;
}
int FromFieldPos(QPlainTextEdit* p, int plainPos) {
  QString t = p->toPlainText();
  int units = 0;
  for (int i = 0; i < plainPos && i < t.size(); ++i) units += t[i] == QLatin1Char('\n') ? 2 : 1;
  return units;
}

}  // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  nativeField_ = true;
  SetColor(clWindow);
  TControl::SetBounds(0, 0, 121, 21);
  controlStyle_.Exclude(csSetCaption);
}

TRect TCustomEdit::ClientRect() const {
  if (borderStyle_ == bsNone) return TWinControl::ClientRect();
  return Rect(0, 0, std::max(0, Width() - 4), std::max(0, Height() - 4));
}

TPoint TCustomEdit::WidgetClientOffset() const { return borderStyle_ == bsNone ? TPoint{} : TPoint{2, 2}; }

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= ES_AUTOHSCROLL;
  if (readOnly_) params.Style |= ES_READONLY;
}

void TCustomEdit::TextEdited(const AnsiString& text) {
  text_ = text;
  modified_ = true;
  Change();
}

QWidget* TCustomEdit::CreateWidget() {
  if (MultiLineWindow()) {
    auto* p = new TextField(this);
    QObject::connect(p, &QPlainTextEdit::textChanged, p, [this, p] {
      if (syncing_) return;
      Guarded(this, [&] { TextEdited(FieldText(p).toStdString()); });
    });
    return p;
  }
  auto* e = new LineField(this);
  QObject::connect(e, &QLineEdit::textChanged, e, [this, e](const QString& t) {
    if (syncing_) return;
    Guarded(this, [&] {
      QString shown = t;
      if (charCase_ == ecUpperCase) shown = t.toUpper();
      if (charCase_ == ecLowerCase) shown = t.toLower();
      if (shown != t) {
        int pos = e->cursorPosition();
        syncing_ = true;
        e->setText(shown);
        e->setCursorPosition(pos);
        syncing_ = false;
      }
      TextEdited(shown.toStdString());
    });
  });
  return e;
}

void TCustomEdit::InitWidget() {
  QWidget* w = Widget();
  syncing_ = true;
  SetFieldText(w, QString::fromStdString(text_));
  if (auto* e = Line(w)) {
    e->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
    e->setReadOnly(readOnly_);
    e->setEchoMode(passwordChar_ ? QLineEdit::Password : QLineEdit::Normal);
    e->setFrame(borderStyle_ != bsNone);
  } else {
    Plain(w)->setReadOnly(readOnly_);
    // Tab moves the focus unless a descendant asks for it (WM_GETDLGCODE).
    Plain(w)->setTabChangesFocus(true);
    Plain(w)->setFrameShape(borderStyle_ != bsNone ? QFrame::StyledPanel : QFrame::NoFrame);
  }
  syncing_ = false;
  ApplyParams();
}

void TCustomEdit::ApplyParams() {
  if (!HandleAllocated()) return;
  Cardinal style = WindowStyle();
  QWidget* w = Widget();
  if (auto* e = Line(w)) {
    // A single-line field ignores ES_MULTILINE, as the controls built on it
    // expect.
    Qt::Alignment a = Qt::AlignLeft;
    if (style & ES_RIGHT)
      a = Qt::AlignRight;
    else if (style & ES_CENTER)
      a = Qt::AlignHCenter;
    e->setAlignment(a | Qt::AlignVCenter);
    ApplyMargins();
  } else {
    auto* p = Plain(w);
    p->setHorizontalScrollBarPolicy(style & WS_HSCROLL ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    p->setVerticalScrollBarPolicy(style & WS_VSCROLL ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    p->setLineWrapMode(style & ES_AUTOHSCROLL ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
  }
}

void TCustomEdit::ApplyMargins() {
  auto* e = Line(Widget());
  if (!e) return;
  if (!hasFormatRect_) {
    e->setTextMargins(0, 0, 0, 0);
    return;
  }
  TRect c = ClientRect();
  // The field's margins count from inside its frame, as the client area does.
  e->setTextMargins(std::max(0, formatRect_.Left), std::max(0, formatRect_.Top),
                    std::max(0, c.Right - formatRect_.Right), std::max(0, c.Bottom - formatRect_.Bottom));
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  if (HandleAllocated()) InitWidget();
  Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(static_cast<Word>(ClientWidth()), static_cast<Word>(ClientHeight())));
}

void TCustomEdit::SetText(const AnsiString& s) {
  if (s == text_) return;
  text_ = s;
  if (HandleAllocated()) {
    syncing_ = true;
    SetFieldText(Widget(), QString::fromStdString(s));
    syncing_ = false;
  }
  Perform(CM_TEXTCHANGED);
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::SetMaxLength(Integer v) {
  maxLength_ = v;
  if (!HandleAllocated()) return;
  if (auto* e = Line(Widget())) e->setMaxLength(v > 0 ? v : 32767);
}
void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (!HandleAllocated()) return;
  if (auto* e = Line(Widget()))
    e->setReadOnly(v);
  else
    Plain(Widget())->setReadOnly(v);
}
void TCustomEdit::SetPasswordChar(char c) {
  passwordChar_ = c;
  if (!HandleAllocated()) return;
  if (auto* e = Line(Widget())) e->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}
void TCustomEdit::SetCharCase(TEditCharCase c) {
  charCase_ = c;
  if (c == ecUpperCase) SetText(rtl::AnsiUpperCase(text_));
  if (c == ecLowerCase) SetText(rtl::AnsiLowerCase(text_));
}

Integer TCustomEdit::SelStart() const {
  if (!HandleAllocated()) return 0;
  QWidget* w = const_cast<TCustomEdit*>(this)->Widget();
  if (auto* e = Line(w)) return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
  auto* p = Plain(w);
  return FromFieldPos(p, p->textCursor().selectionStart());
}
void TCustomEdit::SetSelStart(Integer v) {
  QWidget* w = Widget();
  if (auto* e = Line(w)) {
    e->setCursorPosition(v);
    return;
  }
  auto* p = Plain(w);
  QTextCursor c = p->textCursor();
  c.setPosition(std::min(ToFieldPos(p, v), static_cast<int>(p->toPlainText().size())));
  p->setTextCursor(c);
}
Integer TCustomEdit::SelLength() const {
  if (!HandleAllocated()) return 0;
  QWidget* w = const_cast<TCustomEdit*>(this)->Widget();
  if (auto* e = Line(w)) return e->selectionLength();
  auto* p = Plain(w);
  QTextCursor c = p->textCursor();
  return FromFieldPos(p, c.selectionEnd()) - FromFieldPos(p, c.selectionStart());
}
void TCustomEdit::SetSelLength(Integer v) {
  QWidget* w = Widget();
  if (auto* e = Line(w)) {
    e->setSelection(SelStart(), v);
    return;
  }
  auto* p = Plain(w);
  QTextCursor c = p->textCursor();
  int start = c.selectionStart();
  int end = std::min(ToFieldPos(p, FromFieldPos(p, start) + v), static_cast<int>(p->toPlainText().size()));
  c.setPosition(start);
  c.setPosition(end, QTextCursor::KeepAnchor);
  p->setTextCursor(c);
}
AnsiString TCustomEdit::SelText() const {
  if (!HandleAllocated()) return {};
  QWidget* w = const_cast<TCustomEdit*>(this)->Widget();
  if (auto* e = Line(w)) return e->selectedText().toStdString();
  QString t = Plain(w)->textCursor().selectedText();
  t.replace(QChar(0x2029), QLatin1String("\r\n"));
  return t.toStdString();
}
void TCustomEdit::SelectAll() {
  QWidget* w = Widget();
  if (auto* e = Line(w))
    e->selectAll();
  else
    Plain(w)->selectAll();
}
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE); }

namespace {

// The clipboard message of a key chord of the edit field, or 0.
Cardinal ClipboardMessageOf(Word key, TShiftState shift) {
  bool ctrl = shift.Contains(ssCtrl), sh = shift.Contains(ssShift);
  if (shift.Contains(ssAlt)) return 0;
  if (ctrl && !sh) {
    if (key == 'C' || key == VK_INSERT) return WM_COPY;
    if (key == 'X') return WM_CUT;
    if (key == 'V') return WM_PASTE;
  }
  if (sh && !ctrl) {
    if (key == VK_DELETE) return WM_CUT;
    if (key == VK_INSERT) return WM_PASTE;
  }
  return 0;
}

// Characters (code points) in the first units of w, and the unit where a
// character starts: the edit messages count characters, the field UTF-16
// units.
Integer CharacterCount(const WideString& w, Integer units) {
  Integer n = 0;
  for (Integer i = 0; i < units && i < static_cast<Integer>(w.size()); ++i)
    if (!(w[i] >= 0xDC00 && w[i] < 0xE000 && i > 0 && w[i - 1] >= 0xD800 && w[i - 1] < 0xDC00)) ++n;
  return n;
}
Integer UnitIndex(const WideString& w, Integer characters) {
  Integer i = 0;
  for (Integer n = 0; n < characters && i < static_cast<Integer>(w.size()); ++n)
    i += (w[i] >= 0xD800 && w[i] < 0xDC00 && i + 1 < static_cast<Integer>(w.size())) ? 2 : 1;
  return i;
}

}  // namespace

void TCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_COPY:
      if (auto* e = Line(Widget())) e->copy(); else Plain(Widget())->copy();
      return;
    case WM_CUT:
      if (auto* e = Line(Widget())) e->cut(); else Plain(Widget())->cut();
      return;
    case WM_PASTE:
      if (auto* e = Line(Widget())) e->paste(); else Plain(Widget())->paste();
      return;
    case WM_CLEAR:
      if (auto* e = Line(Widget())) e->del(); else Plain(Widget())->textCursor().removeSelectedText();
      return;
    case WM_UNDO:
      if (auto* e = Line(Widget())) e->undo(); else Plain(Widget())->undo();
      return;
    case CM_TEXTCHANGED: return;
    case WM_CREATE:
      CreateWnd();
      return;
    case WM_STYLECHANGED:
      TWinControl::Dispatch(m);
      ApplyParams();
      return;
    case WM_SIZE:
      TWinControl::Dispatch(m);
      if (HandleAllocated()) ApplyMargins();
      return;
    case WM_KEYDOWN: {
      TWinControl::Dispatch(m);
      if (m.Result != 0) return;
      if (Cardinal clip = ClipboardMessageOf(static_cast<Word>(m.WParam), KeyboardStateToShiftState())) {
        Perform(clip);
        m.Result = 1;
      }
      return;
    }
    case EM_GETRECT: {
      auto* r = reinterpret_cast<TRect*>(m.LParam);
      if (r) *r = hasFormatRect_ ? formatRect_ : ClientRect();
      return;
    }
    case EM_SETRECT:
    case EM_SETRECTNP: {
      auto* r = reinterpret_cast<const TRect*>(m.LParam);
      hasFormatRect_ = r != nullptr;
      if (r) formatRect_ = *r;
      if (HandleAllocated()) ApplyMargins();
      return;
    }
    case EM_SETSEL: {
      // Start and end in characters; a start of -1 removes the selection,
      // an end of -1 runs to the end of the text.
      WideString w = rtl::ToWide(text_);
      auto start = static_cast<Integer>(static_cast<intptr_t>(m.WParam));
      auto end = static_cast<Integer>(m.LParam);
      if (start < 0) {
        SetSelStart(SelStart());
        return;
      }
      Integer length = CharacterCount(w, static_cast<Integer>(w.size()));
      if (end < 0 || end > length) end = length;
      start = std::min(start, length);
      Integer from = UnitIndex(w, std::min(start, end)), to = UnitIndex(w, std::max(start, end));
      SetSelStart(from);
      SetSelLength(to - from);
      return;
    }
    case EM_GETSEL: {
      WideString w = rtl::ToWide(text_);
      Integer from = SelStart(), to = SelStart() + SelLength();
      if (auto* p = reinterpret_cast<Cardinal*>(m.WParam)) *p = static_cast<Cardinal>(CharacterCount(w, from));
      if (auto* p = reinterpret_cast<Cardinal*>(m.LParam)) *p = static_cast<Cardinal>(CharacterCount(w, to));
      m.Result = MakeLParam(static_cast<Word>(CharacterCount(w, from)), static_cast<Word>(CharacterCount(w, to)));
      return;
    }
    case EM_SETREADONLY:
      SetReadOnly(m.WParam != 0);
      m.Result = 1;
      return;
    default: TWinControl::Dispatch(m);
  }
}

}  // namespace vcl
