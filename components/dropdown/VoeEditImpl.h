#pragma once
// The member definitions of TEditWithButton, for the sources that
// instantiate it (VoeEdit.cpp for the 8-bit edit, VoeUni.cpp for the wide
// one).
#include "dropdown/VoeEdit.h"
#include "vcl/WinApi.h"

namespace dropdown {

template <class Base>
TEditWithButton<Base>::TEditWithButton(TComponent* owner) : Base(owner) {
  button_ = new TVoeEditButton(this);
  button_->SetBounds(0, 0, 18, 18);
  button_->SetVisible(true);
  button_->SetParent(this);
  button_->SetFocusControl(this);
  button_->OnClick = [this](TObject* sender) { ClickBtn(sender); };
  this->controlStyle_.Exclude(csSetCaption);
}

template <class Base>
TEditWithButton<Base>::~TEditWithButton() {
  // The owner frees the container after this part of the edit is gone.
  if (button_) button_->OnClick = nullptr;
  button_ = nullptr;
}

template <class Base>
void TEditWithButton<Base>::SetRightAlign(bool v) {
  if (v == rightAlign_) return;
  rightAlign_ = v;
  this->RecreateWnd();
}

template <class Base>
void TEditWithButton<Base>::SetButtonWidth(Integer v) {
  button_->SetWidth(v);
  PlaceButton();
}

template <class Base>
void TEditWithButton<Base>::SetIsWinXP(bool v) {
  isWinXP_ = v;
  button_->Button()->SetIsWinXP(v);
}

template <class Base>
void TEditWithButton<Base>::ClickBtn(TObject* Sender) {
  if (OnClickBtn) OnClickBtn(Sender);
}

template <class Base>
void TEditWithButton<Base>::CreateParams(TWinControl::TCreateParams& params) {
  Base::CreateParams(params);
  params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
  if (rightAlign_) params.Style |= ES_RIGHT;
}

template <class Base>
void TEditWithButton<Base>::CreateWnd() {
  Base::CreateWnd();
  UpdateEditRect();
}

template <class Base>
void TEditWithButton<Base>::KeyDown(Word& key, TShiftState shift) {
  Base::KeyDown(key, shift);
  if (key == VK_F4 && F4Clicks()) ClickBtn(this);
}

template <class Base>
Integer TEditWithButton<Base>::MinimumHeight() {
  return EditMinimumHeight(this->Font());
}

template <class Base>
void TEditWithButton<Base>::PlaceButton() {
  if (!button_) return;
  Integer w = this->Width(), h = this->Height(), bw = button_->Width();
  // The desktop's new-style controls are always on here.
  if (this->Ctl3D()) {
    Integer k = this->BorderStyle() == bsNone ? 1 : 5;
    button_->SetBounds(w - bw - k, 0, bw, h - k);
  } else {
    button_->SetBounds(w - bw, 1, bw, h - 3);
  }
  UpdateEditRect();
}

template <class Base>
void TEditWithButton<Base>::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      Base::Dispatch(m);
      if (this->Height() < MinimumHeight())
        this->SetHeight(MinimumHeight());
      else
        PlaceButton();
      return;
    case WM_CHAR:
      // Typed characters reach the edit only while it may be edited.
      if (!editorEnabled_) {
        m.Result = 1;
        return;
      }
      break;
    case WM_PASTE:
    case WM_CUT:
      if (!editorEnabled_ || this->ReadOnly()) return;
      break;
    case CM_ENTER:
      if (this->AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) this->SelectAll();
      break;
    default: break;
  }
  Base::Dispatch(m);
}

}  // namespace dropdown
