#include "vcl/ComboEditSel.h"

#include <QComboBox>
#include <QLineEdit>

namespace vcl {

namespace {

QLineEdit* ComboEdit(TCustomComboBox* combo) {
  auto* box = qobject_cast<QComboBox*>(combo->Widget());
  return box != nullptr ? box->lineEdit() : nullptr;
}

}  // namespace

bool GetComboEditSel(TCustomComboBox* combo, Integer& start, Integer& length) {
  start = length = 0;
  QLineEdit* edit = ComboEdit(combo);
  if (edit == nullptr) return false;
  if (edit->hasSelectedText()) {
    start = edit->selectionStart();
    length = static_cast<Integer>(edit->selectedText().size());
  } else {
    start = edit->cursorPosition();
  }
  return true;
}

void SetComboEditSel(TCustomComboBox* combo, Integer start, Integer length) {
  QLineEdit* edit = ComboEdit(combo);
  if (edit == nullptr) return;
  if (length > 0)
    edit->setSelection(start, length);
  else
    edit->setCursorPosition(start);
}

}  // namespace vcl
