#include "spell/lx3ConfigurationDialog.h"

#include <string>

#include "rtl/Strings.h"
#include "spell/engine/lx3Configuration.h"
#include "spell/engine/lx3MainDictionary.h"
#include "spell/engine/lx3SpellLanguages.h"
#include "vcl/WinApi.h"

namespace spell {

using namespace vcl;

namespace {
constexpr Integer kOptionSpacing = 16;

TButton* ConfigDialogButton(TComponent* owner, TWinControl* parent, const char* name, Integer l, Integer t, Integer w,
                    const char* caption) {
  auto* b = new TButton(owner);
  b->SetName(name);
  b->SetBounds(l, t, w, 23);
  b->SetCaption(caption);
  b->SetParent(parent);
  return b;
}
}  // namespace

TSpellCheckConfigDialog::TSpellCheckConfigDialog(TComponent* owner) : TForm(owner, 0) {
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons({biSystemMenu});
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  SetCaption("xxSpelling Options");
  SetPosition(poOwnerFormCenter);
  SetClientWidth(320);
  SetClientHeight(397);

  OptionsGroup = new TGroupBox(this);
  OptionsGroup->SetName("OptionsGroup");
  OptionsGroup->SetBounds(8, 8, 305, 185);
  OptionsGroup->SetCaption("xxOptions:");
  OptionsGroup->SetParent(this);
  for (Integer n = 0; n < 10; ++n) {
    auto* box = new TCheckBox(this);
    box->SetName("Option" + std::to_string(n + 1));
    box->SetBounds(8, 16 + kOptionSpacing * n, 289, 17);
    box->SetCaption("xxOption");
    box->SetParent(OptionsGroup);
    box->SetTabOrder(n);
    box->OnClick = [this](TObject* s) { OptionsClick(s); };
    Option[n] = box;
  }
  DictionariesGroup = new TGroupBox(this);
  DictionariesGroup->SetName("DictionariesGroup");
  DictionariesGroup->SetBounds(8, 200, 305, 161);
  DictionariesGroup->SetCaption("xxDictionaries:");
  DictionariesGroup->SetParent(this);
  MainDictionaries = new TListView(this);
  MainDictionaries->SetName("MainDictionaries");
  MainDictionaries->SetBounds(8, 16, 289, 97);
  MainDictionaries->SetViewStyle(vsReport);
  MainDictionaries->SetCheckboxes(true);
  MainDictionaries->SetReadOnly(true);
  MainDictionaries->SetRowSelect(true);
  MainDictionaries->SetHotTrack(true);
  MainDictionaries->AddColumn()->Caption = "xxName";
  MainDictionaries->AddColumn()->Caption = "xxFilename";
  MainDictionaries->SetColumnWidth(0, 140);
  MainDictionaries->SetParent(DictionariesGroup);
  CustomCombo = new TComboBox(this);
  CustomCombo->SetName("CustomCombo");
  CustomCombo->SetStyle(csDropDownList);
  CustomCombo->SetBounds(8, 132, 169, 21);
  CustomCombo->SetParent(DictionariesGroup);
  CustomLabel = new TLabel(this);
  CustomLabel->SetName("CustomLabel");
  CustomLabel->SetLeft(8);
  CustomLabel->SetTop(117);
  CustomLabel->SetCaption("xxCustom Dictionary:");
  CustomLabel->SetFocusControl(CustomCombo);
  CustomLabel->SetParent(DictionariesGroup);
  DictionariesButton = ConfigDialogButton(this, DictionariesGroup, "DictionariesButton", 192, 130, 105, "xxDictionaries ...");
  ResetButton = ConfigDialogButton(this, this, "ResetButton", 8, 368, 100, "xxReset Defaults");
  HelpButton = ConfigDialogButton(this, this, "HelpButton", 157, 368, 75, "xxHelp");
  OK = ConfigDialogButton(this, this, "OK", 238, 368, 75, "xxOK");
  OK->SetDefault(true);
  OK->SetModalResult(mrOk);

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->SetName("DialogControl");
  DialogControl->OnConfigurationAvailable = [this](TObject* s) { DialogControlConfigurationAvailable(s); };
  MainDictionaries->OnSelectItem = [this](TObject* s, TListItem* i, bool sel) { MainDictionariesSelectItem(s, i, sel); };
  MainDictionaries->OnChange = [this](TObject* s, TListItem* i, TItemChange c) { MainDictionariesChange(s, i, c); };
  MainDictionaries->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState, Integer x, Integer y) {
    if (b != mbLeft) return;
    // A click from the row's text rightwards toggles it, as its box does.
    TListItem* row = MainDictionaries->GetItemAt(x, y);
    if (row && x >= MainDictionaries->CaptionLeft()) {
      row->SetChecked(!row->Checked());
      MainDictionariesClick(s);
    }
  };
  CustomCombo->OnSelect = [this](TObject* s) { CustomComboChange(s); };
  DictionariesButton->OnClick = [this](TObject* s) { DictionariesButtonClick(s); };
  ResetButton->OnClick = [this](TObject* s) { ResetButtonClick(s); };
  HelpButton->OnClick = [this](TObject* s) { HelpButtonClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

TSpellCheckConfigDialog::~TSpellCheckConfigDialog() {
  MainDictionaries->OnSelectItem = nullptr;
  MainDictionaries->OnChange = nullptr;
  MainDictionaries->OnMouseDown = nullptr;
  for (TCheckBox* box : Option) box->OnClick = nullptr;
}

void TSpellCheckConfigDialog::FormShow(TObject*) { ResizeColumns(); }

void TSpellCheckConfigDialog::DialogControlConfigurationAvailable(TObject*) {
  auto* dc = DialogControl;
  SetCaption(dc->GetString(lsSpellingOptions));
  OptionsGroup->SetCaption(dc->GetString(lsDlgOptionsLabel));
  DictionariesGroup->SetCaption(dc->GetString(lsDlgDictionariesLabel));
  MainDictionaries->Column(0)->Caption = dc->GetString(lsDlgName);
  MainDictionaries->Column(1)->Caption = dc->GetString(lsDlgFilename);
  CustomLabel->SetCaption(dc->GetString(lsDlgCustomDictionary));
  DictionariesButton->SetCaption(dc->GetString(lsDlgDictionaries));
  ResetButton->SetCaption(dc->GetString(lsDlgResetDefaults));
  HelpButton->SetCaption(dc->GetString(lsDlgHelp));
  OK->SetCaption(dc->GetString(lsDlgOK));

  DictionariesButton->SetVisible(Shown(sdcCustomDictionaries));
  DictionariesButton->SetEnabled(Usable(sdcCustomDictionaries));
  CustomCombo->SetVisible(Shown(sdcCustomDictionary));
  CustomCombo->SetEnabled(Usable(sdcCustomDictionary));
  CustomLabel->SetVisible(CustomCombo->Visible());
  ResetButton->SetVisible(Shown(sdcResetDefaults));
  ResetButton->SetEnabled(Usable(sdcResetDefaults));
  OK->SetVisible(Shown(sdcConfigOK));
  OK->SetEnabled(Usable(sdcConfigOK));
  HelpButton->SetVisible(Shown(sdcHelp) && dc->GetHelpContext(shdOptions) != 0);
  HelpButton->SetEnabled(Usable(sdcHelp));
  if (!DictionariesButton->Visible() && !CustomCombo->Visible())
    MainDictionaries->SetHeight(DictionariesButton->Top() + DictionariesButton->Height() - MainDictionaries->Top());
  if (!OK->Visible() && !HelpButton->Visible())
    DictionariesGroup->SetHeight(OK->Top() + OK->Height() - DictionariesGroup->Top());

  FillMainDictionaries();
  FillCustomCombo();
  FillOptions();
  Integer hidden = 0;
  for (TCheckBox* box : Option)
    if (!box->Visible()) ++hidden;
  // The groups below move up with the form's shorter height.
  const Integer less = hidden * kOptionSpacing;
  OptionsGroup->SetHeight(OptionsGroup->Height() - less);
  DictionariesGroup->SetTop(DictionariesGroup->Top() - less);
  for (TButton* b : {ResetButton, HelpButton, OK}) b->SetTop(b->Top() - less);
  SetClientHeight(ClientHeight() - less);
  OptionsGroup->SetAnchors({akLeft, akTop, akRight});
  DictionariesGroup->SetAnchors({akLeft, akTop, akRight, akBottom});
}

void TSpellCheckConfigDialog::FillOptions() {
  TLexaConfig* config = DialogControl->Config();
  const TSpellOptions available = DialogControl->AvailableOptions();
  const TSpellOptions options = config ? config->GetOptions() : 0;
  Integer next = 0;
  filling_ = true;
  for (Integer o = soLiveSpelling; o <= soUser4 && next < 10; ++o) {
    const auto option = static_cast<TSpellOption>(o);
    if (!HasSpellOption(available, option)) continue;
    TCheckBox* box = Option[next++];
    box->SetTag(o);
    AnsiString caption;
    DialogControl->GetOptionCaption(option, caption);
    box->SetCaption(caption);
    box->SetChecked(HasSpellOption(options, option));
    box->SetVisible(true);
  }
  for (Integer n = next; n < 10; ++n) Option[n]->SetVisible(false);
  filling_ = false;
}

void TSpellCheckConfigDialog::OptionsClick(TObject* sender) {
  auto* box = dynamic_cast<TCheckBox*>(sender);
  TLexaConfig* config = DialogControl->Config();
  if (filling_ || !box || !config || !box->Visible()) return;
  const auto option = static_cast<TSpellOption>(box->Tag());
  const TSpellOptions options = config->GetOptions();
  if (box->Checked() && !HasSpellOption(options, option))
    config->SetOptions(options | SpellOption(option));
  else if (!box->Checked() && HasSpellOption(options, option))
    config->SetOptions(options & static_cast<TSpellOptions>(~SpellOption(option)));
}

void TSpellCheckConfigDialog::FillMainDictionaries() {
  const rtl::TStringList* available = DialogControl->GetAvailableMainDictionaries();
  if (!available) return;
  filling_ = true;
  TListItems* rows = MainDictionaries->Items();
  rows->BeginUpdate();
  rows->Clear();
  browse_ = nullptr;
  for (Integer i = 0; i < available->Count(); ++i) {
    const AnsiString file = available->Strings(i);
    auto dictionary = DialogControl->OpenMainDictionary(file);
    TListItem* row = rows->Add();
    row->SetCaption(dictionary ? dictionary->Title() : AnsiString("???"));
    row->SubItems()->Add(file);
  }
  if (Shown(sdcMainDictFolderBrowse)) {
    browse_ = rows->Add();
    browse_->SetCaption(DialogControl->GetString(lsDlgBrowseForMain));
    browse_->SubItems()->Add("");
  }
  rows->EndUpdate();
  TLexaConfig* config = DialogControl->Config();
  remembered_.assign(static_cast<size_t>(rows->Count()), false);
  for (Integer i = 0; i < available->Count(); ++i) {
    const bool inUse = config && config->GetMainDictionaries().IndexOf(available->Strings(i)) >= 0;
    rows->Item(i)->SetChecked(inUse);
    remembered_[static_cast<size_t>(i)] = inUse;
  }
  filling_ = false;
  ResizeColumns();
}

void TSpellCheckConfigDialog::ResizeColumns() {
  Integer width = MainDictionaries->Width() - MainDictionaries->Column(0)->Width - 4;
  if (MainDictionaries->Items()->Count() > 4) width -= GetSystemMetrics(SM_CXVSCROLL);
  MainDictionaries->SetColumnWidth(1, width);
}

void TSpellCheckConfigDialog::MainDictionariesSelectItem(TObject*, TListItem* item, bool selected) {
  // Rows do not stay selected: the check marks are the choice.
  if (selected && item) MainDictionaries->SetSelected(nullptr);
}

void TSpellCheckConfigDialog::MainDictionariesClick(TObject*) {}

void TSpellCheckConfigDialog::MainDictionariesChange(TObject*, TListItem* item, TItemChange change) {
  if (filling_ || change != ctState || !item) return;
  const Integer index = item->Index();
  if (index < 0 || index >= static_cast<Integer>(remembered_.size())) return;
  if (item->Checked() == remembered_[static_cast<size_t>(index)]) return;
  if (item == browse_) {
    filling_ = true;
    item->SetChecked(false);
    filling_ = false;
    DialogControl->ShowAddDictionaryDir();
    FillMainDictionaries();
    return;
  }
  remembered_[static_cast<size_t>(index)] = item->Checked();
  TLexaConfig* config = DialogControl->Config();
  if (!config || item->SubItems()->Count() == 0) return;
  rtl::TStringList& mains = config->GetMainDictionaries();
  const AnsiString file = item->SubItems()->Strings(0);
  const Integer at = mains.IndexOf(file);
  // The list tells the configuration, which reloads the dictionary sets.
  if (item->Checked() && at < 0)
    mains.Add(file);
  else if (!item->Checked() && at >= 0)
    mains.Delete(at);
}

void TSpellCheckConfigDialog::FillCustomCombo() {
  const rtl::TStringList* available = DialogControl->GetAvailableCustomDictionaries();
  if (!available) return;
  CustomCombo->Items()->Assign(*available);
  TLexaConfig* config = DialogControl->Config();
  const AnsiString active = config ? config->GetActiveCustom() : AnsiString();
  Integer index = -1;
  for (Integer i = 0; i < available->Count() && index < 0 && !active.empty(); ++i)
    if (rtl::SameText(available->Strings(i), active)) index = i;
  CustomCombo->SetItemIndex(index);
}

void TSpellCheckConfigDialog::CustomComboChange(TObject*) {
  TLexaConfig* config = DialogControl->Config();
  const Integer i = CustomCombo->ItemIndex();
  if (config && i >= 0) config->SetActiveCustom(CustomCombo->Items()->Strings(i));
}

void TSpellCheckConfigDialog::DictionariesButtonClick(TObject*) {
  DialogControl->ShowCustomDictionariesDialog();
  FillCustomCombo();
}

void TSpellCheckConfigDialog::ResetButtonClick(TObject*) {
  if (TLexaConfig* config = DialogControl->Config()) config->ResetDefaults();
  FillMainDictionaries();
  FillCustomCombo();
  FillOptions();
}

void TSpellCheckConfigDialog::HelpButtonClick(TObject*) { DialogControl->ShowHelp(shdOptions); }

}  // namespace spell
