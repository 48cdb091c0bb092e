#include "vcl/Spin.h"

#include <QLineEdit>
#include <QSpinBox>
#include <climits>

#include "rtl/Convert.h"
#include "vcl/QtHost.h"

namespace vcl {

TSpinEdit::TSpinEdit(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  nativeField_ = true;
  SetColor(clWindow);
  TControl::SetBounds(0, 0, 121, 22);
  controlStyle_.Exclude(csSetCaption);
  text_ = "0";
}

Integer TSpinEdit::Clamp(Integer v) const {
  if (minValue_ == maxValue_) return v;
  return std::max(minValue_, std::min(maxValue_, v));
}

QWidget* TSpinEdit::CreateWidget() {
  auto* b = new QSpinBox();
  QObject::connect(b, &QSpinBox::valueChanged, b, [this](int v) {
    if (syncing_) return;
    Guarded(this, [&] {
      value_ = v;
      text_ = rtl::IntToStr(v);
      Change();
    });
  });
  return b;
}

void TSpinEdit::InitWidget() {
  Host()->Watch(static_cast<QSpinBox*>(Widget())->findChild<QLineEdit*>());
  SyncWidget();
}

void TSpinEdit::SyncWidget() {
  if (!HandleAllocated()) return;
  auto* b = static_cast<QSpinBox*>(Widget());
  syncing_ = true;
  if (minValue_ == maxValue_)
    b->setRange(INT_MIN, INT_MAX);
  else
    b->setRange(minValue_, maxValue_);
  b->setSingleStep(increment_);
  b->setReadOnly(!editorEnabled_);
  b->setValue(value_);
  syncing_ = false;
}

void TSpinEdit::SetValue(Integer v) {
  v = Clamp(v);
  if (v == value_ && text_ == rtl::IntToStr(v)) return;
  value_ = v;
  text_ = rtl::IntToStr(v);
  SyncWidget();
  Change();
}

void TSpinEdit::SetMinValue(Integer v) {
  minValue_ = v;
  SyncWidget();
  SetValue(value_);
}

void TSpinEdit::SetMaxValue(Integer v) {
  maxValue_ = v;
  SyncWidget();
  SetValue(value_);
}

void TSpinEdit::SetIncrement(Integer v) {
  increment_ = v;
  SyncWidget();
}

void TSpinEdit::SetEditorEnabled(bool v) {
  editorEnabled_ = v;
  SyncWidget();
}

void TSpinEdit::SetText(const AnsiString& s) {
  Integer v = 0;
  SetValue(rtl::TryStrToInt(s, v) ? v : minValue_);
}

void TSpinEdit::Change() {
  if (OnChange) OnChange(this);
}

}  // namespace vcl
