#include "spell/lx3ThesaurusDialog.h"

#include <algorithm>

#include "rtl/Strings.h"
#include "vcl/WinApi.h"

namespace spell {

using namespace vcl;
using namespace spell::thesaurus;

namespace {
TButton* ThesaurusDialogButton(TThesDialog* f, const char* name, Integer left, Integer tabOrder) {
  auto* b = new TButton(f);
  b->SetName(name);
  b->SetBounds(left, 184, 75, 23);
  b->SetAnchors({akLeft, akBottom});
  b->SetParent(f);
  b->SetTabOrder(tabOrder);
  return b;
}

TLabel* ThesaurusDialogLabel(TThesDialog* f, const char* name, Integer left, Integer top, const char* caption,
                  TWinControl* focus) {
  auto* l = new TLabel(f);
  l->SetName(name);
  l->SetLeft(left);
  l->SetTop(top);
  l->SetCaption(caption);
  l->SetFocusControl(focus);
  l->SetParent(f);
  return l;
}

TListView* MakeList(TThesDialog* f, const char* name, Integer l, Integer t, Integer w, Integer h, Integer columns,
                    Integer tabOrder) {
  auto* v = new TListView(f);
  v->SetName(name);
  v->SetBounds(l, t, w, h);
  v->SetViewStyle(vsReport);
  for (Integer i = 0; i < columns; ++i) v->AddColumn();
  v->SetShowColumnHeaders(false);
  v->SetReadOnly(true);
  v->SetRowSelect(true);
  v->SetHideSelection(false);
  v->SetAnchors({akLeft, akTop, akBottom});
  v->SetParent(f);
  v->SetTabOrder(tabOrder);
  return v;
}

Integer ScrollBarWidth() { return GetSystemMetrics(SM_CXVSCROLL); }
}  // namespace

TThesDialog::TThesDialog(TComponent* owner) : TForm(owner, 0) {
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons({biSystemMenu});
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  SetCaption("xxThesaurus");
  SetClientWidth(361);
  SetClientHeight(211);

  LookupCombo = new TComboBox(this);
  LookupCombo->SetName("LookupCombo");
  LookupCombo->SetStyle(csDropDownList);
  LookupCombo->SetBounds(8, 24, 161, 21);
  LookupCombo->SetParent(this);
  LookupCombo->SetTabOrder(0);
  ContextLV = MakeList(this, "ContextLV", 8, 72, 161, 105, 2, 1);
  ReplaceEdit = new TEdit(this);
  ReplaceEdit->SetName("ReplaceEdit");
  ReplaceEdit->SetBounds(184, 24, 169, 21);
  ReplaceEdit->SetParent(this);
  ReplaceEdit->SetTabOrder(2);
  ReplaceEdit->SetText("");
  WordList = MakeList(this, "WordList", 192, 48, 162, 129, 1, 3);
  PreviousButton = ThesaurusDialogButton(this, "PreviousButton", 8, 4);
  ReplaceButton = ThesaurusDialogButton(this, "ReplaceButton", 192, 5);
  CloseButton = ThesaurusDialogButton(this, "CloseButton", 278, 6);
  LookupButton = ThesaurusDialogButton(this, "LookupButton", 94, 7);
  PreviousButton->SetEnabled(false);
  ReplaceButton->SetEnabled(false);
  LookupButton->SetEnabled(false);
  CloseButton->SetCancel(true);
  PreviousButton->SetCaption("xxPrevious");
  ReplaceButton->SetCaption("xxReplace");
  CloseButton->SetCaption("xxClose");
  LookupButton->SetCaption("xxLook Up");
  LookedUpLabel = ThesaurusDialogLabel(this, "LookedUpLabel", 8, 8, "xxLooked Up:", LookupCombo);
  ContextsLabel = ThesaurusDialogLabel(this, "ContextsLabel", 8, 56, "xxContexts:", ContextLV);
  ReplaceWithLabel = ThesaurusDialogLabel(this, "ReplaceWithLabel", 184, 8, "xxReplace With:", ReplaceEdit);
  SetActiveControl(WordList);

  DialogControl = new TThesaurusDialogCtrl(this);
  DialogControl->SetName("DialogControl");
  Timer = new TTimer(this);
  Timer->SetName("Timer");
  Timer->SetEnabled(false);
  Timer->SetInterval(10);

  DialogControl->OnActivate = [this](TObject* s) { DialogControlActivate(s); };
  DialogControl->OnPromptLookup = [this](void* s, const AnsiString& w, const TThesaurusContexts& c) {
    DialogControlPromptLookup(s, w, c);
  };
  DialogControl->OnPromptContext = [this](void* s, const rtl::TStrings& w) { DialogControlPromptContext(s, w); };
  ContextLV->OnChange = [this](TObject* s, TListItem* i, TItemChange c) { ContextLVChange(s, i, c); };
  WordList->OnChange = [this](TObject* s, TListItem* i, TItemChange c) { WordListChange(s, i, c); };
  WordList->OnDblClick = [this](TObject* s) { WordListDblClick(s); };
  ReplaceEdit->OnChange = [this](TObject* s) { ReplaceEditChange(s); };
  LookupButton->OnClick = [this](TObject* s) { LookupButtonClick(s); };
  LookupCombo->OnSelect = [this](TObject* s) { LookupComboChange(s); };
  PreviousButton->OnClick = [this](TObject* s) { PreviousButtonClick(s); };
  ReplaceButton->OnClick = [this](TObject* s) { ReplaceButtonClick(s); };
  CloseButton->OnClick = [this](TObject* s) { CloseButtonClick(s); };
  Timer->OnTimer = [this](TObject* s) { TimerTimer(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
}

AnsiString TThesDialog::Newest() const {
  return LookupCombo->Items()->Count() > 0 ? LookupCombo->Items()->Strings(0) : AnsiString();
}

void TThesDialog::DialogControlActivate(TObject*) {
  auto* dc = DialogControl;
  SetCaption(dc->GetString(thesaurus::lsThesaurus));
  LookedUpLabel->SetCaption(dc->GetString(thesaurus::lsDlgLookedUp));
  ContextsLabel->SetCaption(dc->GetString(thesaurus::lsDlgContexts));
  ReplaceWithLabel->SetCaption(dc->GetString(thesaurus::lsDlgReplaceWith));
  PreviousButton->SetCaption(dc->GetString(thesaurus::lsDlgPrevious));
  LookupButton->SetCaption(dc->GetString(thesaurus::lsDlgLookup));
  ReplaceButton->SetCaption(dc->GetString(thesaurus::lsDlgReplace));
  CloseButton->SetCaption(dc->GetString(thesaurus::lsDlgClose));
  CloseButton->SetEnabled(Enabled(tdcClose));
  LookedUpLabel->SetEnabled(Enabled(tdcLookedUp));
  LookupCombo->SetEnabled(Enabled(tdcLookedUp));
  if (!Visible(tdcLookedUp)) {
    LookedUpLabel->SetVisible(false);
    LookupCombo->SetVisible(false);
    const Integer shift = ContextsLabel->Top() - LookedUpLabel->Top();
    ContextsLabel->SetTop(LookedUpLabel->Top());
    ContextLV->SetBounds(ContextLV->Left(), ContextLV->Top() - shift, ContextLV->Width(),
                         ContextLV->Height() + shift);
  }
  PreviousButton->SetVisible(Visible(tdcPrevious));
  LookupButton->SetVisible(Visible(tdcLookup));
  ReplaceButton->SetVisible(Visible(tdcReplace));
  CloseButton->SetVisible(Visible(tdcClose));
}

void TThesDialog::DialogControlPromptLookup(void*, const AnsiString& word, const TThesaurusContexts& contexts) {
  rtl::TStrings* history = LookupCombo->Items();
  for (Integer i = history->Count() - 1; i >= 0; --i)
    if (rtl::SameText(history->Strings(i), word)) history->Delete(i);
  if (!word.empty()) {
    history->Insert(0, word);
    LookupCombo->SetItemIndex(0);
  } else {
    LookupCombo->SetItemIndex(-1);
  }
  filling_ = true;
  TListItems* rows = ContextLV->Items();
  rows->BeginUpdate();
  rows->Clear();
  Integer kindWidth = 0;
  for (const auto& c : contexts) {
    TListItem* row = rows->Add();
    row->SetCaption(c->ContextWord);
    row->SubItems()->Add(c->ContextKindName);
    kindWidth = std::max(kindWidth, ContextLV->Canvas()->TextWidth(c->ContextKindName) + 8);
  }
  if (contexts.empty()) rows->Add()->SetCaption(DialogControl->GetString(thesaurus::lsDlgNotFound));
  rows->EndUpdate();
  ContextLV->SetColumnWidth(1, kindWidth);
  ContextLV->SetColumnWidth(0, ContextLV->ClientWidth() - kindWidth - ScrollBarWidth() - 4);
  filling_ = false;
  if (!contexts.empty()) {
    ContextLV->SetEnabled(true);
    ContextLV->SetSelected(rows->Item(0));  // which chooses that context
  } else {
    ContextLV->SetEnabled(false);
    WordList->Items()->Clear();
  }
  PreviousButton->SetEnabled(history->Count() >= 2 && Enabled(tdcPrevious));
}

void TThesDialog::DialogControlPromptContext(void*, const rtl::TStrings& words) {
  filling_ = true;
  TListItems* rows = WordList->Items();
  rows->BeginUpdate();
  rows->Clear();
  for (Integer i = 0; i < words.Count(); ++i) rows->Add()->SetCaption(words.Strings(i));
  rows->EndUpdate();
  WordList->SetColumnWidth(0, WordList->ClientWidth() - ScrollBarWidth() - 4);
  filling_ = false;
  const AnsiString newest = Newest();
  if (TListItem* row = newest.empty() ? nullptr : WordList->FindCaption(0, newest, false, true, false)) {
    WordList->SetSelected(row);
    row->SetFocused(true);
    ReplaceEdit->SetText("");
    Timer->SetEnabled(true);
  }
  LookupButton->SetEnabled(false);
  ReplaceButton->SetEnabled(false);
}

void TThesDialog::ContextLVChange(TObject*, TListItem* item, TItemChange change) {
  if (filling_ || change != ctState || !item || !item->Selected()) return;
  DialogControl->SelectContext(item->Index());
}

void TThesDialog::WordListChange(TObject*, TListItem* item, TItemChange change) {
  if (filling_ || change != ctState || !item || !item->Selected()) return;
  // The looked-up word itself is no replacement.
  ReplaceEdit->SetText(rtl::SameText(item->Caption(), LookupCombo->Text()) ? AnsiString() : item->Caption());
}

void TThesDialog::ReplaceEditChange(TObject*) {
  const bool text = !ReplaceEdit->Text().empty();
  LookupButton->SetEnabled(text && Enabled(tdcLookup));
  ReplaceButton->SetEnabled(text && Enabled(tdcReplace));
}

void TThesDialog::LookupButtonClick(TObject*) { DialogControl->Lookup(ReplaceEdit->Text()); }
void TThesDialog::LookupComboChange(TObject*) { DialogControl->Lookup(LookupCombo->Text()); }

void TThesDialog::PreviousButtonClick(TObject*) {
  rtl::TStrings* history = LookupCombo->Items();
  if (history->Count() < 2) return;
  history->Delete(0);
  DialogControl->Lookup(history->Strings(0));
}

void TThesDialog::ReplaceButtonClick(TObject*) { DialogControl->Replace(ReplaceEdit->Text()); }
void TThesDialog::CloseButtonClick(TObject*) { DialogControl->Close(); }

void TThesDialog::WordListDblClick(TObject*) {
  if (TListItem* row = WordList->Selected()) DialogControl->DoubleClick(row->Caption());
}

void TThesDialog::TimerTimer(TObject*) {
  Timer->SetEnabled(false);
  // The chosen word in the middle of the list.
  if (TListItem* row = WordList->Selected()) {
    const Integer top = std::max(0, row->Index() - WordList->VisibleRowCount() / 2);
    WordList->Scroll(0, (top - WordList->TopIndex()) * WordList->RowHeight());
  }
}

void TThesDialog::FormCloseQuery(TObject*, bool&) {
  if (ModalResult() == mrNone || ModalResult() == mrCancel) DialogControl->Close();
}

TThesDialog::~TThesDialog() {
  ContextLV->OnChange = WordList->OnChange = nullptr;
  ReplaceEdit->OnChange = nullptr;
  LookupCombo->OnSelect = nullptr;
  Timer->OnTimer = nullptr;
}

}  // namespace spell
