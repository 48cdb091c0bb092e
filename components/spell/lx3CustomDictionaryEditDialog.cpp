#include "spell/lx3CustomDictionaryEditDialog.h"

#include "rtl/Files.h"
#include "rtl/Strings.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3SpellLanguages.h"
#include "spell/engine/lx3Text.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace spell {

using namespace vcl;

namespace {

template <typename T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, Integer l, Integer t, Integer w, Integer h) {
  auto* c = new T(owner);
  c->SetName(name);
  c->SetBounds(l, t, w, h);
  c->SetParent(parent);
  return c;
}

TLabel* EditDialogLabel(TComponent* owner, TWinControl* parent, const char* name, Integer l, Integer t, const char* caption) {
  auto* c = new TLabel(owner);
  c->SetName(name);
  c->SetLeft(l);
  c->SetTop(t);
  c->SetCaption(caption);
  c->SetParent(parent);
  return c;
}

TLabel* MakeExplanation(TComponent* owner, TWinControl* parent, const char* name, Integer h, const char* caption) {
  auto* c = new TLabel(owner);
  c->SetName(name);
  c->SetAutoSize(false);
  c->SetWordWrap(true);
  c->SetBounds(8, 8, 289, h);
  c->SetCaption(caption);
  c->SetParent(parent);
  return c;
}

// The engine's form of a text typed in the dialog; false when 1252 cannot
// hold it (such a word is in no dictionary and is never added).
bool Engine(const AnsiString& text, std::string& out) { return ToEngineText(text, out); }

// The hourglass while a page fills, back also on an error.
class BusyCursor {
 public:
  BusyCursor() : saved_(Screen->Cursor()) { Screen->SetCursor(crHourGlass); }
  ~BusyCursor() { Screen->SetCursor(saved_); }

 private:
  TCursor saved_;
};

}  // namespace

TCustomDictionaryEditDialog::TCustomDictionaryEditDialog(TComponent* owner) : TForm(owner, 0) {
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons({biSystemMenu});
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  SetCaption("xxEdit Custom Dictionary");
  SetPosition(poOwnerFormCenter);
  SetClientWidth(314);
  SetClientHeight(333);

  PageControl = Make<TPageControl>(this, this, "PageControl", 0, 0, 313, 297);
  PageControl->SetTabOrder(0);
  auto sheet = [this](const char* name, const char* caption) {
    auto* s = new TTabSheet(this);
    s->SetName(name);
    s->SetPageControl(PageControl);
    s->SetCaption(caption);
    return s;
  };
  AddedWordsSheet = sheet("AddedWordsSheet", "xxAdded Words");
  AutoCorrectWordsSheet = sheet("AutoCorrectWordsSheet", "xxAuto-Correct Pairs");
  ExcludedWordsSheet = sheet("ExcludedWordsSheet", "xxExcluded Words");

  AddedWordsExplain = MakeExplanation(this, AddedWordsSheet, "AddedWordsExplain", 41, "xxAdded words explanation");
  IgnoreEdit = Make<TEdit>(this, AddedWordsSheet, "IgnoreEdit", 8, 64, 209, 21);
  IgnoreEdit->SetText("");
  IgnoreList = Make<TListBox>(this, AddedWordsSheet, "IgnoreList", 8, 91, 209, 170);
  IgnoreList->SetSorted(true);
  AddIgnoreButton = Make<TButton>(this, AddedWordsSheet, "AddIgnoreButton", 224, 64, 75, 23);
  DeleteIgnoreButton = Make<TButton>(this, AddedWordsSheet, "DeleteIgnoreButton", 224, 91, 75, 23);
  IgnoreEditLabel = EditDialogLabel(this, AddedWordsSheet, "IgnoreEditLabel", 8, 48, "xxIgnore this word:");
  IgnoreEditLabel->SetFocusControl(IgnoreEdit);

  AutoCorrectWordsExplain =
      MakeExplanation(this, AutoCorrectWordsSheet, "AutoCorrectWordsExplain", 41, "xxAuto-correct explanation");
  ReplaceEdit = Make<TEdit>(this, AutoCorrectWordsSheet, "ReplaceEdit", 8, 64, 81, 21);
  ReplaceEdit->SetText("");
  WithEdit = Make<TEdit>(this, AutoCorrectWordsSheet, "WithEdit", 96, 64, 121, 21);
  WithEdit->SetText("");
  AutoCorrectList = Make<TListView>(this, AutoCorrectWordsSheet, "AutoCorrectList", 8, 91, 209, 170);
  AutoCorrectList->SetViewStyle(vsReport);
  AutoCorrectList->AddColumn();
  AutoCorrectList->AddColumn();
  AutoCorrectList->SetShowColumnHeaders(false);
  AutoCorrectList->SetReadOnly(true);
  AutoCorrectList->SetRowSelect(true);
  AutoCorrectList->SetHideSelection(false);
  AutoCorrectList->SetSortType(stText);
  AddAutoCorrectButton = Make<TButton>(this, AutoCorrectWordsSheet, "AddAutoCorrectButton", 224, 64, 75, 23);
  DeleteAutoCorrectButton = Make<TButton>(this, AutoCorrectWordsSheet, "DeleteAutoCorrectButton", 224, 91, 75, 23);
  ReplaceEditLabel = EditDialogLabel(this, AutoCorrectWordsSheet, "ReplaceEditLabel", 8, 48, "xxReplace:");
  ReplaceEditLabel->SetFocusControl(ReplaceEdit);
  WithEditLabel = EditDialogLabel(this, AutoCorrectWordsSheet, "WithEditLabel", 96, 48, "xxWith:");
  WithEditLabel->SetFocusControl(WithEdit);

  ExcludeWordsExplanation =
      MakeExplanation(this, ExcludedWordsSheet, "ExcludeWordsExplanation", 39, "xxExcluded words explanation");
  ExcludeEdit = Make<TEdit>(this, ExcludedWordsSheet, "ExcludeEdit", 8, 64, 209, 21);
  ExcludeEdit->SetText("");
  ExcludeList = Make<TListBox>(this, ExcludedWordsSheet, "ExcludeList", 8, 91, 209, 170);
  ExcludeList->SetSorted(true);
  AddExcludeButton = Make<TButton>(this, ExcludedWordsSheet, "AddExcludeButton", 224, 64, 75, 23);
  DeleteExcludeButton = Make<TButton>(this, ExcludedWordsSheet, "DeleteExcludeButton", 224, 91, 75, 23);
  ExcludeEditLabel = EditDialogLabel(this, ExcludedWordsSheet, "ExcludeEditLabel", 8, 48, "xxExclude this word:");
  ExcludeEditLabel->SetFocusControl(ExcludeEdit);

  for (TButton* b : {AddIgnoreButton, AddAutoCorrectButton, AddExcludeButton}) b->SetCaption("xxAdd");
  for (TButton* b : {DeleteIgnoreButton, DeleteAutoCorrectButton, DeleteExcludeButton}) b->SetCaption("xxDelete");

  HelpButton = Make<TButton>(this, this, "HelpButton", 150, 304, 75, 23);
  HelpButton->SetCaption("xxHelp");
  OK = Make<TButton>(this, this, "OK", 231, 304, 75, 23);
  OK->SetCaption("xxOK");
  OK->SetModalResult(mrOk);
  OK->SetAnchors({akLeft, akBottom});

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->SetName("DialogControl");
  Timer = new TTimer(this);
  Timer->SetName("Timer");
  Timer->SetEnabled(false);
  Timer->SetInterval(5);

  DialogControl->OnConfigurationAvailable = [this](TObject* s) { DialogControlConfigurationAvailable(s); };
  DialogControl->OnCustomDictionaryAvailable = [this](TObject* s) { DialogControlCustomDictionaryAvailable(s); };
  HelpButton->OnClick = [this](TObject* s) { HelpButtonClick(s); };
  AddedWordsSheet->OnShow = [this](TObject* s) { AddedWordsSheetShow(s); };
  IgnoreEdit->OnChange = [this](TObject* s) { IgnoreEditChange(s); };
  IgnoreEdit->OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { IgnoreEditKeyDown(s, k, sh); };
  IgnoreList->OnClick = [this](TObject* s) { IgnoreListClick(s); };
  AddIgnoreButton->OnClick = [this](TObject* s) { AddIgnoreButtonClick(s); };
  DeleteIgnoreButton->OnClick = [this](TObject* s) { DeleteIgnoreButtonClick(s); };
  AutoCorrectWordsSheet->OnShow = [this](TObject* s) { AutoCorrectWordsSheetShow(s); };
  ReplaceEdit->OnChange = [this](TObject* s) { ReplaceEditChange(s); };
  ReplaceEdit->OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { ReplaceEditKeyDown(s, k, sh); };
  WithEdit->OnChange = [this](TObject* s) { WithEditChange(s); };
  WithEdit->OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { WithEditKeyDown(s, k, sh); };
  AutoCorrectList->OnSelectItem = [this](TObject* s, TListItem* i, bool sel) { AutoCorrectListSelectItem(s, i, sel); };
  AddAutoCorrectButton->OnClick = [this](TObject* s) { AddAutoCorrectButtonClick(s); };
  DeleteAutoCorrectButton->OnClick = [this](TObject* s) { DeleteAutoCorrectButtonClick(s); };
  Timer->OnTimer = [this](TObject* s) { TimerTimer(s); };
  ExcludedWordsSheet->OnShow = [this](TObject* s) { ExcludedWordsSheetShow(s); };
  ExcludeEdit->OnChange = [this](TObject* s) { ExcludeEditChange(s); };
  ExcludeEdit->OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { ExcludeEditKeyDown(s, k, sh); };
  ExcludeList->OnClick = [this](TObject* s) { ExcludeListClick(s); };
  AddExcludeButton->OnClick = [this](TObject* s) { AddExcludeButtonClick(s); };
  DeleteExcludeButton->OnClick = [this](TObject* s) { DeleteExcludeButtonClick(s); };
  FormCreate(this);
}

void TCustomDictionaryEditDialog::FormCreate(TObject*) { PageControl->SetActivePage(AddedWordsSheet); }

TCustomDictionary* TCustomDictionaryEditDialog::Dictionary() const { return DialogControl->CustomDictionary(); }

void TCustomDictionaryEditDialog::DialogControlConfigurationAvailable(TObject*) {
  auto* dc = DialogControl;
  AddedWordsSheet->SetCaption(dc->GetString(lsDlgAddedWords));
  AddedWordsExplain->SetCaption(dc->GetString(lsDlgAddedWordsExplanation));
  IgnoreEditLabel->SetCaption(dc->GetString(lsDlgIgnoreThisWord));
  AutoCorrectWordsSheet->SetCaption(dc->GetString(lsDlgAutoCorrectPairs));
  AutoCorrectWordsExplain->SetCaption(dc->GetString(lsDlgAutoCorrectPairsExplanation));
  ReplaceEditLabel->SetCaption(dc->GetString(lsDlgReplace));
  WithEditLabel->SetCaption(dc->GetString(lsDlgWith));
  ExcludedWordsSheet->SetCaption(dc->GetString(lsDlgExcludedWords));
  ExcludeWordsExplanation->SetCaption(dc->GetString(lsDlgExcludedWordsExplanation));
  ExcludeEditLabel->SetCaption(dc->GetString(lsDlgExcludeThisWord));
  for (TButton* b : {AddIgnoreButton, AddAutoCorrectButton, AddExcludeButton}) b->SetCaption(dc->GetString(lsDlgAdd));
  for (TButton* b : {DeleteIgnoreButton, DeleteAutoCorrectButton, DeleteExcludeButton})
    b->SetCaption(dc->GetString(lsDlgDelete));
  HelpButton->SetCaption(dc->GetString(lsDlgHelp));
  OK->SetCaption(dc->GetString(lsDlgOK));
}

void TCustomDictionaryEditDialog::DialogControlCustomDictionaryAvailable(TObject*) {
  auto* dc = DialogControl;
  TCustomDictionary* d = Dictionary();
  const bool internal = d && d == dc->GetInternalDictionary();
  const TSpellDialogCommands visible = dc->GetCommandsVisible();
  AddedWordsSheet->SetTabVisible(HasCommand(visible, sdcAddedEdit));
  AutoCorrectWordsSheet->SetTabVisible(HasCommand(visible, sdcAutoCorrectEdit));
  ExcludedWordsSheet->SetTabVisible(dc->UseExcludeWords() && !internal && HasCommand(visible, sdcExcludedEdit));
  if (internal) {
    SetCaption(dc->GetString(lsIgnoreAllChangeAllTitle));
    AddedWordsSheet->SetCaption(dc->GetString(lsDlgIgnoreAll));
    AutoCorrectWordsSheet->SetCaption(dc->GetString(lsDlgChangeAll));
  } else if (d) {
    SetCaption(rtl::ExtractFileName(d->Filename()));
  }
  HelpButton->SetVisible(HasCommand(visible, sdcHelp) && dc->GetHelpContext(shdEdit) != 0);
  HelpButton->SetEnabled(HasCommand(dc->GetCommandsEnabled(), sdcHelp));
  // The first page left shows, and fills.
  TTabSheet* first = nullptr;
  for (TTabSheet* s : {AddedWordsSheet, AutoCorrectWordsSheet, ExcludedWordsSheet})
    if (!first && s->TabVisible()) first = s;
  if (first && PageControl->ActivePage() == first) {
    if (first->OnShow) first->OnShow(first);
  } else if (first) {
    PageControl->SetActivePage(first);  // which shows it
  }
}

void TCustomDictionaryEditDialog::HelpButtonClick(TObject*) { DialogControl->ShowHelp(shdEdit); }

// ---- the added and excluded words ----

void TCustomDictionaryEditDialog::FillWords(const WordPage& page) {
  // The page control shows its other pages while the form goes.
  if (Destroying() || page.list->Count() > 0) return;
  TCustomDictionary* d = Dictionary();
  if (!page.excluded && !d) {
    SetModalResult(mrCancel);
    return;
  }
  // Without a dictionary the excluded page has nothing to fill, as the
  // auto-correct page.
  if (!d) return;
  page.add->SetEnabled(false);
  page.remove->SetEnabled(false);
  BusyCursor busy;
  ++(page.excluded ? excludedFills_ : addedFills_);
  rtl::TStrings* items = page.list->Items();
  items->BeginUpdate();
  struct End {
    rtl::TStrings* s;
    ~End() { s->EndUpdate(); }
  } end{items};
  const Integer n = page.excluded ? d->GetExcludeCount() : d->GetIgnoreCount();
  for (Integer i = 0; i < n; ++i)
    items->Add(FromEngineText(page.excluded ? d->GetExcludeWord(i) : d->GetIgnoreWord(i)));
}

void TCustomDictionaryEditDialog::WordEditChanged(const WordPage& page) {
  TCustomDictionary* d = Dictionary();
  const AnsiString text = page.edit->Text();
  std::string w;
  const bool engine = Engine(text, w);
  if (d && engine && !text.empty() && (page.excluded ? d->IsExcluded(w) : d->IsIgnored(w))) {
    page.add->SetEnabled(false);
    Integer found = -1;
    for (Integer i = 0; i < page.list->Count() && found < 0; ++i)
      if (rtl::SameText(page.list->Items()->Strings(i), text)) found = i;
    page.list->SetItemIndex(found);
    page.remove->SetEnabled(page.list->ItemIndex() >= 0);
    return;
  }
  page.list->SetItemIndex(-1);
  page.remove->SetEnabled(false);
  std::string replacement;
  const bool otherKind = d && engine && (d->GetAutoCorrect(w, replacement) ||
                                         (page.excluded ? d->IsIgnored(w) : d->IsExcluded(w)));
  page.add->SetEnabled(d && engine && !text.empty() && !otherKind);
}

void TCustomDictionaryEditDialog::WordListClicked(const WordPage& page) {
  const Integer i = page.list->ItemIndex();
  if (i >= 0)
    page.edit->SetText(page.list->Items()->Strings(i));
  else
    WordEditChanged(page);
}

void TCustomDictionaryEditDialog::AddWord(const WordPage& page) {
  TCustomDictionary* d = Dictionary();
  std::string w;
  const AnsiString text = page.edit->Text();
  if (!d || !Engine(text, w)) return;
  if (page.excluded ? d->AddExclude(w) : d->AddIgnore(w)) {
    page.list->Items()->Add(text);
    WordEditChanged(page);
  }
}

void TCustomDictionaryEditDialog::DeleteWord(const WordPage& page) {
  TCustomDictionary* d = Dictionary();
  std::string w;
  if (!d || !Engine(page.edit->Text(), w)) return;
  if (!(page.excluded ? d->RemoveExclude(w) : d->RemoveIgnore(w))) return;
  const Integer at = page.list->ItemIndex();
  if (at >= 0) page.list->Items()->Delete(at);
  const Integer n = page.list->Count();
  page.list->SetItemIndex(n == 0 ? -1 : std::min(at, n - 1));
  WordListClicked(page);
}

void TCustomDictionaryEditDialog::AddedWordsSheetShow(TObject*) { FillWords(Added()); }
void TCustomDictionaryEditDialog::IgnoreEditChange(TObject*) { WordEditChanged(Added()); }
void TCustomDictionaryEditDialog::IgnoreListClick(TObject*) { WordListClicked(Added()); }
void TCustomDictionaryEditDialog::AddIgnoreButtonClick(TObject*) { AddWord(Added()); }
void TCustomDictionaryEditDialog::DeleteIgnoreButtonClick(TObject*) { DeleteWord(Added()); }
void TCustomDictionaryEditDialog::IgnoreEditKeyDown(TObject*, Word& key, TShiftState) {
  if (key == VK_RETURN && AddIgnoreButton->Enabled()) {
    key = 0;
    AddIgnoreButton->Click();
  }
}
void TCustomDictionaryEditDialog::ExcludedWordsSheetShow(TObject*) { FillWords(Excluded()); }
void TCustomDictionaryEditDialog::ExcludeEditChange(TObject*) { WordEditChanged(Excluded()); }
void TCustomDictionaryEditDialog::ExcludeListClick(TObject*) { WordListClicked(Excluded()); }
void TCustomDictionaryEditDialog::AddExcludeButtonClick(TObject*) { AddWord(Excluded()); }
void TCustomDictionaryEditDialog::DeleteExcludeButtonClick(TObject*) { DeleteWord(Excluded()); }
void TCustomDictionaryEditDialog::ExcludeEditKeyDown(TObject*, Word& key, TShiftState) {
  if (key == VK_RETURN && AddExcludeButton->Enabled()) {
    key = 0;
    AddExcludeButton->Click();
  }
}

// ---- the auto-correct pairs ----

void TCustomDictionaryEditDialog::SizeSecondColumn() {
  AutoCorrectList->SetColumnWidth(
      1, std::max<Integer>(0, AutoCorrectList->ClientWidth() - AutoCorrectList->Column(0)->Width));
}

void TCustomDictionaryEditDialog::FillAutoCorrect() {
  TCustomDictionary* d = Dictionary();
  if (Destroying() || !d || AutoCorrectList->Items()->Count() > 0) return;
  AddAutoCorrectButton->SetEnabled(false);
  DeleteAutoCorrectButton->SetEnabled(false);
  BusyCursor busy;
  ++autoCorrectFills_;
  TListItems* items = AutoCorrectList->Items();
  items->BeginUpdate();
  struct End {
    TListItems* s;
    ~End() { s->EndUpdate(); }
  } end{items};
  items->Clear();
  AutoCorrectList->SetColumnWidth(0, WithEdit->Left() - ReplaceEdit->Left());
  const Integer n = d->GetAutoCorrectCount();
  for (Integer i = 0; i < n; ++i) {
    std::string word, replacement;
    d->GetAutoCorrectPair(i, word, replacement);
    TListItem* item = items->Add();
    item->SetCaption(FromEngineText(word));
    item->SubItems()->Add(FromEngineText(replacement));
  }
  SizeSecondColumn();
}

void TCustomDictionaryEditDialog::AutoCorrectWordsSheetShow(TObject*) { FillAutoCorrect(); }

void TCustomDictionaryEditDialog::ReplaceEditChange(TObject*) {
  TCustomDictionary* d = Dictionary();
  const AnsiString text = ReplaceEdit->Text();
  std::string w, replacement;
  const bool engine = Engine(text, w);
  if (d && engine && !text.empty() && d->GetAutoCorrect(w, replacement)) {
    AddAutoCorrectButton->SetEnabled(false);
    TListItem* row = AutoCorrectList->FindCaption(0, text, false, true, false);
    if (row) {
      AutoCorrectList->SetSelected(row);
      row->SetFocused(true);
      row->MakeVisible(false);
    }
    DeleteAutoCorrectButton->SetEnabled(AutoCorrectList->Selected() != nullptr);
    return;
  }
  AutoCorrectList->SetSelected(nullptr);
  DeleteAutoCorrectButton->SetEnabled(false);
  AddAutoCorrectButton->SetEnabled(d && engine && !text.empty() && !d->IsIgnored(w) && !d->IsExcluded(w) &&
                                    !WithEdit->Text().empty());
}

void TCustomDictionaryEditDialog::WithEditChange(TObject*) {
  TCustomDictionary* d = Dictionary();
  TListItem* row = AutoCorrectList->Selected();
  if (!row) {
    ReplaceEditChange(ReplaceEdit);
    return;
  }
  std::string w, with, replacement;
  if (!d || !Engine(ReplaceEdit->Text(), w) || !Engine(WithEdit->Text(), with)) return;
  if (d->GetAutoCorrect(w, replacement) && replacement != with) {
    d->RemoveAutoCorrect(w);
    d->AddAutoCorrect(w, with);
    if (row->SubItems()->Count() == 0)
      row->SubItems()->Add(WithEdit->Text());
    else
      row->SubItems()->Put(0, WithEdit->Text());
    AutoCorrectList->Invalidate();
  }
}

void TCustomDictionaryEditDialog::ReplaceEditKeyDown(TObject*, Word& key, TShiftState) {
  if (key == VK_RETURN && !ReplaceEdit->Text().empty()) {
    key = 0;
    WithEdit->SetFocus();
  }
}

void TCustomDictionaryEditDialog::WithEditKeyDown(TObject*, Word& key, TShiftState) {
  if (key == VK_RETURN && AddAutoCorrectButton->Enabled()) {
    key = 0;
    AddAutoCorrectButton->Click();
  }
}

void TCustomDictionaryEditDialog::AutoCorrectListSelectItem(TObject*, TListItem* item, bool selected) {
  if (selected && item) {
    ReplaceEdit->SetText(item->Caption());
    WithEdit->SetText(item->SubItems()->Count() > 0 ? item->SubItems()->Strings(0) : AnsiString());
  } else if (!selected) {
    // Looked at once the selection has settled, so a row losing it to
    // another does not count as none selected.
    Timer->SetEnabled(true);
  }
}

void TCustomDictionaryEditDialog::TimerTimer(TObject*) {
  Timer->SetEnabled(false);
  ReplaceEditChange(ReplaceEdit);
}

void TCustomDictionaryEditDialog::AddAutoCorrectButtonClick(TObject*) {
  TCustomDictionary* d = Dictionary();
  std::string w, with;
  if (!d || !Engine(ReplaceEdit->Text(), w) || !Engine(WithEdit->Text(), with)) return;
  if (!d->AddAutoCorrect(w, with)) return;
  const AnsiString text = ReplaceEdit->Text(), replacement = WithEdit->Text();
  TListItem* row = AutoCorrectList->Items()->Add();
  row->SubItems()->Add(replacement);
  row->SetCaption(text);
  AutoCorrectList->SetSelected(row);
  row->MakeVisible(false);
  ReplaceEditChange(ReplaceEdit);
  SizeSecondColumn();
}

void TCustomDictionaryEditDialog::DeleteAutoCorrectButtonClick(TObject*) {
  TCustomDictionary* d = Dictionary();
  TListItem* row = AutoCorrectList->Selected();
  std::string w;
  if (!d || !row || !Engine(ReplaceEdit->Text(), w)) return;
  if (!d->RemoveAutoCorrect(w)) return;
  const Integer at = row->Index();
  AutoCorrectList->Items()->Delete(at);
  const Integer n = AutoCorrectList->Items()->Count();
  if (n > 0) AutoCorrectList->SetSelected(AutoCorrectList->Items()->Item(std::min(at, n - 1)));
  SizeSecondColumn();
}

TCustomDictionaryEditDialog::~TCustomDictionaryEditDialog() {
  for (vcl::TTabSheet* s : {AddedWordsSheet, AutoCorrectWordsSheet, ExcludedWordsSheet}) s->OnShow = nullptr;
  for (vcl::TEdit* e : {IgnoreEdit, ReplaceEdit, WithEdit, ExcludeEdit}) e->OnChange = nullptr;
  AutoCorrectList->OnSelectItem = nullptr;
  IgnoreList->OnClick = ExcludeList->OnClick = nullptr;
  Timer->OnTimer = nullptr;
}

}  // namespace spell
