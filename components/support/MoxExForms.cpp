#include "support/MoxExForms.h"

#include "vcl/WinApi.h"

namespace support {

using namespace vcl;

void TMoxExForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_VISIBLECHANGED:
      TMoxExHooks<TForm>::Dispatch(m);
      if (Visible()) Perform(WM_CHANGEUISTATE, MakeWParam(UIS_INITIALIZE, 0));
      return;
    case CM_DIALOGKEY: {
      Word key = static_cast<Word>(m.WParam);
      if (key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN)
        Perform(WM_CHANGEUISTATE, MakeWParam(UIS_CLEAR, UISF_HIDEFOCUS));
      TMoxExHooks<TForm>::Dispatch(m);
      return;
    }
    case CM_DIALOGCHAR:
      // Alt with a letter: focus rectangles and accelerators both show.
      Perform(WM_CHANGEUISTATE, MakeWParam(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL));
      TMoxExHooks<TForm>::Dispatch(m);
      return;
    default: TMoxExHooks<TForm>::Dispatch(m);
  }
}

void TMoxForm::ChooseOwnerWindow() {
  if (!HandleAllocated()) return;
  HWND owner = 0;
  TCustomForm* active = Screen ? Screen->ActiveForm() : nullptr;
  TCustomForm* mainForm = Application ? Application->MainForm() : nullptr;
  if (active && active != this && active->Modal())
    owner = active->Handle();
  else if (mainForm && mainForm != this)
    owner = mainForm->Handle();
  if (static_cast<HWND>(GetWindowLong(Handle(), GWL_HWNDPARENT)) != owner)
    SetWindowLong(Handle(), GWL_HWNDPARENT, static_cast<intptr_t>(owner));
}

void TMoxForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_VISIBLECHANGED:
      if (Visible()) ChooseOwnerWindow();
      TMoxExForm::Dispatch(m);
      return;
    case WM_MOUSEACTIVATE:
      if (!isFocusable_) {
        m.Result = MA_NOACTIVATE;
        return;
      }
      TMoxExForm::Dispatch(m);
      return;
    default: TMoxExForm::Dispatch(m);
  }
}

}  // namespace support
