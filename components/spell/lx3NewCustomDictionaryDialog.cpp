#include "spell/lx3NewCustomDictionaryDialog.h"

#include "spell/engine/lx3SpellLanguages.h"
#include "spell/lx3Spell.h"

namespace spell {

using namespace vcl;

TNewCustomDictionary::TNewCustomDictionary(TComponent* owner) : TForm(owner, 0) {
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons({biSystemMenu});
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  SetCaption("xxNew Custom Dictionary");
  SetPosition(poOwnerFormCenter);
  SetClientWidth(231);
  SetClientHeight(102);
  NameEdit = new TEdit(this);
  NameEdit->SetName("NameEdit");
  NameEdit->SetBounds(8, 40, 217, 21);
  NameEdit->SetParent(this);
  NameEdit->SetText("");
  NameEdit->SetTabOrder(0);
  EditLabel = new TLabel(this);
  EditLabel->SetName("EditLabel");
  EditLabel->SetLeft(8);
  EditLabel->SetTop(16);
  EditLabel->SetCaption("xxEnter the new custom dictionary name:");
  EditLabel->SetFocusControl(NameEdit);
  EditLabel->SetParent(this);
  OKButton = new TButton(this);
  OKButton->SetName("OKButton");
  OKButton->SetBounds(70, 72, 75, 23);
  OKButton->SetCaption("xxOK");
  OKButton->SetDefault(true);
  OKButton->SetModalResult(mrOk);
  OKButton->SetParent(this);
  OKButton->SetTabOrder(1);
  CancelButton = new TButton(this);
  CancelButton->SetName("CancelButton");
  CancelButton->SetBounds(150, 72, 75, 23);
  CancelButton->SetCaption("xxCancel");
  CancelButton->SetCancel(true);
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetParent(this);
  CancelButton->SetTabOrder(2);
  SetActiveControl(NameEdit);
  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->SetName("DialogControl");
  DialogControl->OnConfigurationAvailable = [this](TObject* s) { DialogControlConfigurationAvailable(s); };
}

void TNewCustomDictionary::DialogControlConfigurationAvailable(TObject*) {
  auto* dc = DialogControl;
  SetCaption(dc->GetString(lsNewCustomTitle));
  EditLabel->SetCaption(dc->GetString(lsDlgNewCustom));
  OKButton->SetCaption(dc->GetString(lsDlgOK));
  CancelButton->SetCaption(dc->GetString(lsDlgCancel));
  if (auto* spell = dynamic_cast<TLexaSpell3*>(dc->Spell())) spell->ApplyUIFonts(this, false);
}

}  // namespace spell
