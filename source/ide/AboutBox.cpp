#include "ide/AboutBox.h"

#include "ide/DialogParts.h"
#include "rtl/Version.h"

namespace ide {

using namespace vcl;

Tftlvabout::Tftlvabout(TComponent* owner) : TForm(owner) {
  SetUpDialog(this, "ftlvabout", "About", 280, 120);
  AppName = PlaceLabel(this, "AppName", "", 16, 16, 248);
  AppName->Font()->SetHeight(-16);
  AppName->Font()->SetStyle({fsBold});
  AppName->SetHeight(20);
  Version = PlaceLabel(this, "Version", "", 16, 48, 248);
  OKButton = PlaceControl<TButton>(this, "OKButton", 102, 84, 75, 25);
  OKButton->SetCaption("OK");
  OKButton->SetDefault(true);
  OKButton->SetCancel(true);
  OKButton->SetModalResult(mrOk);
}

rtl::AnsiString AboutVersionText() {
  const rtl::TFileVersion v = rtl::ProgramFileVersion();
  if (v == rtl::TFileVersion{}) return "";
  return "Version " + std::to_string(v.Major) + "." + std::to_string(v.Minor);
}

void ShowAboutBox() {
  auto* box = new Tftlvabout(Application);
  try {
    box->AfterConstruction();
    box->AppName->SetCaption(Application->Title());
    box->Version->SetCaption(AboutVersionText());
    box->ShowModal();
  } catch (...) {
    Free(box);
    throw;
  }
  Free(box);
}

}  // namespace ide
