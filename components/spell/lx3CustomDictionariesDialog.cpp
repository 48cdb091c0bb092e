#include "spell/lx3CustomDictionariesDialog.h"

#include "rtl/Files.h"
#include "spell/engine/lx3Configuration.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3SpellLanguages.h"
#include "spell/lx3NewCustomDictionaryDialog.h"
#include "spell/lx3SpellWindows.h"
#include "vcl/Dialogs.h"
#include "vcl/ShellChoosers.h"

namespace spell {

using namespace vcl;

namespace {
TButton* DictionariesDialogButton(TComponent* owner, TWinControl* parent, const char* name, Integer l, Integer t,
                    const char* caption) {
  auto* b = new TButton(owner);
  b->SetName(name);
  b->SetBounds(l, t, 75, 23);
  b->SetCaption(caption);
  b->SetParent(parent);
  return b;
}

AnsiString FileNameOf(const AnsiString& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == AnsiString::npos ? path : path.substr(slash + 1);
}
}  // namespace

TCustomDictionariesDialog::TCustomDictionariesDialog(TComponent* owner) : TForm(owner, 0) {
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons({biSystemMenu});
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  SetCaption("xxDictionaries");
  SetPosition(poOwnerFormCenter);
  SetClientWidth(312);
  SetClientHeight(206);
  CustomGroup = new TGroupBox(this);
  CustomGroup->SetName("CustomGroup");
  CustomGroup->SetBounds(8, 8, 297, 161);
  CustomGroup->SetCaption("xxCustom Dictionaries:");
  CustomGroup->SetParent(this);
  CustomDictionaries = new TListView(this);
  CustomDictionaries->SetName("CustomDictionaries");
  CustomDictionaries->SetBounds(8, 16, 201, 137);
  CustomDictionaries->SetViewStyle(vsReport);
  CustomDictionaries->SetCheckboxes(true);
  CustomDictionaries->AddColumn();
  CustomDictionaries->SetShowColumnHeaders(false);
  CustomDictionaries->SetHideSelection(false);
  CustomDictionaries->SetReadOnly(false);
  CustomDictionaries->SetParent(CustomGroup);
  EditButton = DictionariesDialogButton(this, CustomGroup, "EditButton", 214, 16, "xxEdit");
  DeleteButton = DictionariesDialogButton(this, CustomGroup, "DeleteButton", 214, 43, "xxDelete");
  NewButton = DictionariesDialogButton(this, CustomGroup, "NewButton", 214, 70, "xxNew");
  HelpButton = DictionariesDialogButton(this, this, "HelpButton", 149, 176, "xxHelp");
  OK = DictionariesDialogButton(this, this, "OK", 230, 176, "xxOK");
  OK->SetDefault(true);
  OK->SetModalResult(mrOk);
  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->SetName("DialogControl");

  DialogControl->OnConfigurationAvailable = [this](TObject* s) { DialogControlConfigurationAvailable(s); };
  CustomDictionaries->OnSelectItem = [this](TObject* s, TListItem* i, bool sel) {
    CustomDictionariesSelectItem(s, i, sel);
  };
  CustomDictionaries->OnChange = [this](TObject* s, TListItem* i, TItemChange c) {
    CustomDictionariesChange(s, i, c);
  };
  CustomDictionaries->OnEditing = [this](TObject* s, TListItem* i, bool& a) { CustomDictionariesEditing(s, i, a); };
  CustomDictionaries->OnEdited = [this](TObject* s, TListItem* i, AnsiString& t) {
    CustomDictionariesEdited(s, i, t);
  };
  EditButton->OnClick = [this](TObject* s) { EditButtonClick(s); };
  DeleteButton->OnClick = [this](TObject* s) { DeleteButtonClick(s); };
  NewButton->OnClick = [this](TObject* s) { NewButtonClick(s); };
  HelpButton->OnClick = [this](TObject* s) { HelpButtonClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

TCustomDictionariesDialog::~TCustomDictionariesDialog() {
  CustomDictionaries->OnSelectItem = nullptr;
  CustomDictionaries->OnChange = nullptr;
  CustomDictionaries->OnEditing = nullptr;
  CustomDictionaries->OnEdited = nullptr;
}

void TCustomDictionariesDialog::FormShow(TObject*) {
  formShown_ = true;
  if (fillPending_) Fill();
}

void TCustomDictionariesDialog::DialogControlConfigurationAvailable(TObject*) {
  // The control is attached before the form shows; the list is made then.
  fillPending_ = true;
  if (formShown_) Fill();
}

void TCustomDictionariesDialog::Fill() {
  fillPending_ = false;
  auto* dc = DialogControl;
  SetCaption(dc->GetString(lsDictionaries));
  CustomGroup->SetCaption(dc->GetString(lsDlgCustomDictionaries));
  EditButton->SetCaption(dc->GetString(lsDlgEdit));
  DeleteButton->SetCaption(dc->GetString(lsDlgDelete));
  NewButton->SetCaption(dc->GetString(lsDlgNew));
  HelpButton->SetCaption(dc->GetString(lsDlgHelp));
  OK->SetCaption(dc->GetString(lsDlgOK));
  const TSpellDialogCommands visible = dc->GetCommandsVisible();
  HelpButton->SetVisible(HasCommand(visible, sdcHelp) && dc->GetHelpContext(shdDictionaries) != 0);
  HelpButton->SetEnabled(HasCommand(dc->GetCommandsEnabled(), sdcHelp));
  EditButton->SetEnabled(false);
  DeleteButton->SetEnabled(false);
  const rtl::TStringList* custom = dc->GetAvailableCustomDictionaries();
  const rtl::TStrings* word = dc->GetMSWordCustomDictionaries();
  TLexaConfig* config = dc->Config();
  if (!custom || !word || !config) return;
  filling_ = true;
  TListItems* rows = CustomDictionaries->Items();
  rows->BeginUpdate();
  rows->Clear();
  entries_.clear();
  auto add = [&](const AnsiString& caption, std::unique_ptr<TListEntry> entry) {
    TListItem* row = rows->Add();
    row->SetCaption(caption);
    row->SetChecked(entry->Checked);
    row->SetData(entry.get());
    entries_.push_back(std::move(entry));
  };
  TCustomDictionary* internal = dc->GetInternalDictionary();
  if (internal && HasCommand(visible, sdcInternalEdit) &&
      (internal->GetIgnoreCount() > 0 || internal->GetAutoCorrectCount() > 0)) {
    auto e = std::make_unique<TListEntry>();
    e->Internal = true;
    add(dc->GetString(lsIgnoreAllChangeAll), std::move(e));
  }
  for (Integer i = 0; i < custom->Count(); ++i) {
    auto e = std::make_unique<TListEntry>();
    e->Name = custom->Strings(i);
    e->Checked = config->GetCustomDictionaries().IndexOf(e->Name) >= 0;
    const AnsiString caption = FileNameOf(e->Name);
    e->Renamable = e->Name == caption;
    add(caption, std::move(e));
  }
  for (Integer i = 0; i < word->Count(); ++i) {
    auto e = std::make_unique<TListEntry>();
    e->Word = true;
    e->Name = word->Strings(i);
    e->Checked = config->GetMSWordCustomDictionaries().IndexOf(e->Name) >= 0;
    add(FileNameOf(e->Name), std::move(e));
  }
  rows->EndUpdate();
  CustomDictionaries->SetColumnWidth(0, CustomDictionaries->ClientWidth());
  filling_ = false;
}

void TCustomDictionariesDialog::CustomDictionariesSelectItem(TObject*, TListItem* item, bool selected) {
  TListEntry* e = selected ? Entry(item) : nullptr;
  DeleteButton->SetEnabled(selected && e && !e->Internal && !e->Word);
  EditButton->SetEnabled(selected);
}

void TCustomDictionariesDialog::CustomDictionariesChange(TObject*, TListItem* item, TItemChange change) {
  TListEntry* e = Entry(item);
  if (filling_ || change != ctState || !e) return;
  if (e->Internal) {
    if (!item->Checked()) item->SetChecked(true);  // always in use
    return;
  }
  if (item->Checked() == e->Checked) return;
  e->Checked = item->Checked();
  const AnsiString name = e->Name;
  const bool inUse = e->Checked, word = e->Word;
  CustomDictionaries->SetSelected(item);
  if (word)
    DialogControl->SetMSWordDictionaryInUse(name, inUse);
  else
    DialogControl->SetCustomDictionaryInUse(name, inUse);
}

void TCustomDictionariesDialog::CustomDictionariesEditing(TObject*, TListItem* item, bool& allowEdit) {
  TListEntry* e = Entry(item);
  allowEdit = e && e->Renamable && !e->Internal && !e->Word;
  // Enter then ends the edit instead of closing the dialog.
  if (allowEdit) OK->SetDefault(false);
}

void TCustomDictionariesDialog::CustomDictionariesEdited(TObject*, TListItem* item, AnsiString& s) {
  OK->SetDefault(true);
  TListEntry* e = Entry(item);
  if (!e) return;
  const AnsiString old = item->Caption();
  if (DialogControl->RenameCustomDictionary(old, s)) {
    s = rtl::ChangeFileExt(s, ".adu");
    e->Name = s;
  } else {
    s = old;
  }
}

bool TCustomDictionariesDialog::SelectRowByCaption(const AnsiString& name) {
  TListItems* rows = CustomDictionaries->Items();
  for (Integer i = 0; i < rows->Count(); ++i)
    if (rows->Item(i)->Caption() == name) {
      CustomDictionaries->SetSelected(rows->Item(i));
      rows->Item(i)->SetFocused(true);
      rows->Item(i)->MakeVisible(false);
      return true;
    }
  return false;
}

void TCustomDictionariesDialog::NewButtonClick(TObject*) {
  struct FreeGuard {
    TForm* form;
    ~FreeGuard() { Free(form); }
  } guard{new TNewCustomDictionary(this)};
  auto* form = static_cast<TNewCustomDictionary*>(guard.form);
  if (auto* spell = dynamic_cast<TLexaSpell3WindowBase*>(DialogControl->Spell()))
    spell->AttachDialogControl(form, nullptr);
  else
    form->DialogControl->Attach(DialogControl->Spell());
  if (form->ShowModal() != mrOk) return;
  const AnsiString name = rtl::ChangeFileExt(FileNameOf(form->NameEdit->Text()), ".adu");
  if (name == ".adu" || SelectRowByCaption(name)) return;
  DialogControl->NewCustomDictionary(name);
  Fill();
  SelectRowByCaption(name);
  if (CustomDictionaries->CanFocus()) CustomDictionaries->SetFocus();
}

void TCustomDictionariesDialog::DeleteButtonClick(TObject*) {
  TListEntry* e = Entry(CustomDictionaries->Selected());
  if (!e) return;
  const AnsiString name = e->Name;
  if (ShowMessageBox(DialogControl->GetString(lsRemoveCustomDict), DialogControl->GetString(lsConfirmation),
                     MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    return;
  DialogControl->DeleteCustomDictionary(name);
  Fill();
}

void TCustomDictionariesDialog::EditButtonClick(TObject*) {
  TListEntry* e = Entry(CustomDictionaries->Selected());
  if (!e) return;
  if (e->Internal) {
    DialogControl->ShowEditCustomDictionaryDialog(DialogControl->GetInternalDictionary());
  } else if (e->Word) {
    TOpenRequest request;
    request.FileName = e->Name;
    request.WorkingFolder = rtl::ExtractFilePath(e->Name);
    OpenWithDesktop(request);
  } else if (auto dictionary = DialogControl->OpenCustomDictionary(e->Name)) {
    DialogControl->ShowEditCustomDictionaryDialog(dictionary.get());
  }
}

void TCustomDictionariesDialog::HelpButtonClick(TObject*) { DialogControl->ShowHelp(shdDictionaries); }

}  // namespace spell
