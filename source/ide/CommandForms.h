#pragma once
// The forms the main window's commands use, made once at start-up after
// the main window, in a fixed order, each kept in its global reference
// for the program's life: the insert picture, create link, handler
// configuration, image zoomer, graphics list, new link, alternative text,
// insert anchor, print preview and insert table forms.
#include "vcl/Forms.h"

namespace ide {

// The smart-tag handler configuration and the image zoomer: made with
// their names and never shown (nothing in the environment opens them, and
// a zoomer with an editor would start a second editor's threads).
class TFrmHandlerConfig : public vcl::TForm {
 public:
  explicit TFrmHandlerConfig(vcl::TComponent* owner);
};
class Tfrm_ImageZoomer : public vcl::TForm {
 public:
  explicit Tfrm_ImageZoomer(vcl::TComponent* owner);
};

extern TFrmHandlerConfig* FrmHandlerConfig;
extern Tfrm_ImageZoomer* frm_ImageZoomer;

// Makes those of the forms not made yet, owned by the application; the
// first form stays the application's main form.
void CreateCommandForms();

}  // namespace ide
