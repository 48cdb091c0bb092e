#pragma once
// The pieces the window's small dialogs are built from: a control placed
// on a parent with its name and bounds, a caption label, the "Ok" and
// "Cancel" pair, and the dialog frame's common look.
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

namespace ide {

template <class T>
T* PlaceControl(vcl::TWinControl* parent, const char* name, rtl::Integer left, rtl::Integer top, rtl::Integer width,
                rtl::Integer height) {
  // The form owns every control on it, also those on its panels.
  vcl::TWinControl* form = parent;
  while (form && !dynamic_cast<vcl::TCustomForm*>(form)) form = form->Parent();
  auto* c = new T(form ? static_cast<vcl::TComponent*>(form) : parent);
  c->SetName(name);
  c->SetParent(parent);
  c->SetBounds(left, top, width, height);
  return c;
}

inline vcl::TLabel* PlaceLabel(vcl::TWinControl* parent, const char* name, const char* caption, rtl::Integer left,
                               rtl::Integer top, rtl::Integer width = 100) {
  auto* l = PlaceControl<vcl::TLabel>(parent, name, left, top, width, 13);
  l->SetCaption(caption);
  return l;
}

// The dialog frame, its font and its client size.
inline void SetUpDialog(vcl::TForm* form, const char* name, const char* caption, rtl::Integer clientWidth,
                        rtl::Integer clientHeight) {
  form->SetName(name);
  form->SetCaption(caption);
  form->SetBorderStyle(vcl::TFormBorderStyle::bsDialog);
  form->SetBorderIcons({vcl::biSystemMenu});
  form->SetPosition(vcl::poScreenCenter);
  form->SetColor(vcl::clBtnFace);
  form->Font()->SetName("Tahoma");
  form->Font()->SetHeight(-11);
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(clientHeight);
}

// "Ok" (modal result 1, the default button) at left, "Cancel" (2) beside it.
inline void PlaceOkCancel(vcl::TForm* form, rtl::Integer left, rtl::Integer top, vcl::TButton*& ok,
                          vcl::TButton*& cancel, const char* okName = "btnOk", const char* cancelName = "btnCancel") {
  ok = PlaceControl<vcl::TButton>(form, okName, left, top, 75, 25);
  ok->SetCaption("Ok");
  ok->SetDefault(true);
  ok->SetModalResult(vcl::mrOk);
  cancel = PlaceControl<vcl::TButton>(form, cancelName, left + 84, top, 75, 25);
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(vcl::mrCancel);
}

}  // namespace ide
