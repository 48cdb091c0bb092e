#include "spell/lx3Thesaurus.h"

#include <algorithm>

#include "rtl/Strings.h"
#include "spell/engine/lx3ParseEngine.h"
#include "spell/engine/lx3Text.h"
#include "spell/engine/lx3Util.h"
#include "spell/lx3ThesaurusDialog.h"
#include "spell/lx3UtilForms.h"
#include "spell/lx3WinAPIParser.h"
#include "vcl/Forms.h"

namespace spell {

using namespace vcl;

// ---------------------------------------------------- TThesaurusDialogCtrl

void TThesaurusDialogCtrl::AttachThesaurus(TThesaurus3Base* thesaurus) {
  if (thesaurus_ || !thesaurus) return;
  thesaurus_ = thesaurus;
  enabled_ = thesaurus->CommandsEnabled;
  visible_ = thesaurus->CommandsVisible;
  if (OnActivate) OnActivate(this);
}

AnsiString TThesaurusDialogCtrl::Version() { return GetVersionText(); }
void TThesaurusDialogCtrl::SelectContext(Integer index) { if (thesaurus_) thesaurus_->SelectContext(index); }
void TThesaurusDialogCtrl::Lookup(const AnsiString& word) { if (thesaurus_) thesaurus_->LookupFromDialog(word); }
void TThesaurusDialogCtrl::Replace(const AnsiString& word) { if (thesaurus_) thesaurus_->ReplaceFromDialog(word); }
void TThesaurusDialogCtrl::DoubleClick(const AnsiString& word) { if (thesaurus_) thesaurus_->WordDoubleClicked(word); }
void TThesaurusDialogCtrl::Close() { if (thesaurus_) thesaurus_->CloseDialog(); }
AnsiString TThesaurusDialogCtrl::GetString(Integer id) { return thesaurus_ ? thesaurus_->GetString(id) : AnsiString(); }

// -------------------------------------------------------- TThesaurus3Base

TThesaurus3Base::TThesaurus3Base(TComponent* owner)
    : TComponent(owner), engine_(std::make_unique<TMainParsingEngine>()), file_(std::make_unique<TThesaurusFile>()) {
  file_->SetFileName(ExpandPathMacros(filename_));
}

TThesaurus3Base::~TThesaurus3Base() = default;

AnsiString TThesaurus3Base::Version() { return GetVersionText(); }

void TThesaurus3Base::SetFilename(const AnsiString& name) {
  filename_ = name;
  file_->SetFileName(ExpandPathMacros(name));
}

void TThesaurus3Base::SetParsingEngine(std::unique_ptr<TParsingEngine> engine) {
  if (engine) engine_ = std::move(engine);
}

AnsiString TThesaurus3Base::GetString(Integer id) {
  AnsiString text = thesaurus::GetThesaurusLanguageString(id, UILanguage);
  if (OnGetString) OnGetString(this, id, text);
  if (id == thesaurus::lsThesaurus) {
    if (const size_t at = text.find("%name%"); at != AnsiString::npos)
      text.replace(at, 6, FromEngineText(file_->Name()));
  }
  return text;
}

void TThesaurus3Base::PositionDialog() {
  if (!form_) return;
  if (wordRect_.Left != -1 || wordRect_.Top != -1) {
    PlaceFormNearRect(form_, wordRect_, true, true);
    return;
  }
  // Centred on the form that owns it, or on the screen without one.
  TCustomForm* owner = nullptr;
  for (TComponent* c = form_->Owner(); c && !owner; c = c->Owner()) owner = dynamic_cast<TCustomForm*>(c);
  const TRect area = owner && owner->Visible() ? owner->BoundsRect()
                                               : Screen->MonitorBoundsRect(form_->BoundsRect());
  form_->SetBounds(area.Left + (area.Width() - form_->Width()) / 2, area.Top + (area.Height() - form_->Height()) / 2,
                   form_->Width(), form_->Height());
}

TThesaurusDialogCtrl* TThesaurus3Base::FindDialogCtrl(TCustomForm* form) {
  if (!form) return nullptr;
  for (Integer i = 0; i < form->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TThesaurusDialogCtrl*>(form->Components(i))) {
      c->AttachThesaurus(this);
      return c;
    }
  return nullptr;
}

void TThesaurus3Base::TakeContexts(const AnsiString& word) {
  lookedUp_ = word;
  contexts_.clear();
  for (const auto& c : file_->Contexts()) {
    auto e = std::make_unique<TThesaurusEntry>();
    e->ContextWord = FromEngineText(c->ContextWord);
    e->ContextKind = c->ContextKind;
    e->ContextKindName = FromEngineText(c->ContextKindName);
    for (size_t k = 0; k < e->Lists.size(); ++k)
      for (Integer i = 0; i < c->Lists[k].Count(); ++i) e->Lists[k].Add(FromEngineText(c->Lists[k].Strings(i)));
    contexts_.push_back(std::move(e));
  }
}

void TThesaurus3Base::PromptLookup() {
  if (SortedLists)
    std::stable_sort(contexts_.begin(), contexts_.end(),
                     [](const auto& a, const auto& b) { return a->ContextWord < b->ContextWord; });
  if (OnPromptLookup) OnPromptLookup(this, lookedUp_, contexts_);
  if (control_ && control_->OnPromptLookup) control_->OnPromptLookup(this, lookedUp_, contexts_);
}

void TThesaurus3Base::DialogShow(TObject* sender) {
  PromptLookup();
  if (savedOnShow_) savedOnShow_(sender);
  Screen->SetCursor(savedCursor_);
}

void TThesaurus3Base::SelectContext(Integer index) {
  if (index < 0 || index >= static_cast<Integer>(contexts_.size())) return;
  TThesaurusEntry& c = *contexts_[static_cast<size_t>(index)];
  Integer kind = c.ContextKind;
  if (kind < 1 || kind > 4) {
    kind = 1;
    const AnsiString lower = rtl::LowerCase(c.ContextWord);
    for (Integer k = 1; k <= 4; ++k) {
      const rtl::TStringList& list = c.Lists[static_cast<size_t>(k - 1)];
      bool found = false;
      for (Integer i = 0; i < list.Count() && !found; ++i) found = rtl::SameText(list.Strings(i), lower);
      if (found) {
        kind = k;
        break;
      }
    }
  }
  rtl::TStringList& words = c.Lists[static_cast<size_t>(kind - 1)];
  if (SortedLists) words.Sort();
  if (OnPromptContext) OnPromptContext(this, words);
  if (control_ && control_->OnPromptContext) control_->OnPromptContext(this, words);
}

void TThesaurus3Base::LookupFromDialog(const AnsiString& word) {
  std::string engineWord;
  // A word 1252 cannot hold is in no thesaurus.
  if (ToEngineText(word, engineWord))
    file_->Lookup(engineWord);
  else
    file_->Lookup("");
  TakeContexts(word);
  if (!ToEngineText(word, engineWord)) contexts_.clear();
  PromptLookup();
}

void TThesaurus3Base::ReplaceFromDialog(const AnsiString& word) {
  replacement_ = word;
  if (form_) form_->SetModalResult(mrOk);
}

void TThesaurus3Base::WordDoubleClicked(const AnsiString& word) {
  switch (DoubleClickAction) {
    case dcaLookup: LookupFromDialog(word); break;
    case dcaReplace: ReplaceFromDialog(word); break;
    case dcaNone: break;
  }
}

void TThesaurus3Base::CloseDialog() {
  if (form_) form_->SetModalResult(mrCancel);
}

void TThesaurus3Base::ShowThesaurusDialog(const AnsiString& word, AnsiString& replacement) {
  if (busy_) return;
  InitApplication();
  // Busy flag, cursor and the file's loaded state come back however the
  // dialog ends, so an error inside it leaves the component usable.
  struct Guard {
    TThesaurus3Base* self;
    bool wasLoaded;
    TCursor cursor;
    ~Guard() {
      Screen->SetCursor(cursor);
      self->file_->SetLoaded(wasLoaded);
      self->busy_ = false;
    }
  } guard{this, file_->Loaded(), Screen->Cursor()};
  busy_ = true;
  savedCursor_ = guard.cursor;
  Screen->SetCursor(crHourGlass);
  std::string engineWord;
  const bool holdable = ToEngineText(word, engineWord);
  file_->Lookup(holdable ? engineWord : std::string());
  if (!file_->Loaded()) return;
  TakeContexts(word);
  if (!holdable) contexts_.clear();

  TCustomForm* form = nullptr;
  if (OnCreateThesaurusDialog)
    OnCreateThesaurusDialog(this, form, true);
  else
    form = CreateThesaurusDialog();
  replacement_.clear();
  form_ = form;
  struct FormGuard {
    TThesaurus3Base* self;
    ~FormGuard() {
      TCustomForm* f = std::exchange(self->form_, nullptr);
      if (self->control_) self->control_->Detach();
      self->control_ = nullptr;
      if (!f) return;
      f->OnShow = self->savedOnShow_;
      self->savedOnShow_ = nullptr;
      if (self->OnCreateThesaurusDialog)
        self->OnCreateThesaurusDialog(self, f, false);
      else
        Free(f);
    }
  } formGuard{this};
  if (form) {
    savedOnShow_ = form->OnShow;
    form->OnShow = [this](TObject* s) { DialogShow(s); };
    control_ = FindDialogCtrl(form);
    PositionDialog();
    form->ShowModal();
  } else {
    PromptLookup();
  }
  replacement = replacement_;
}

AnsiString TThesaurus3Base::LookupWord(const AnsiString& word) {
  wordRect_ = TRect{-1, -1, -1, -1};
  AnsiString replacement;
  ShowThesaurusDialog(word, replacement);
  return replacement;
}

bool TThesaurus3Base::LookupParser(TControlParser* parser) {
  if (!parser) return false;
  engine_->Initialize(parser, 1);
  const std::string word = engine_->NextWord();
  if (word.empty()) return false;
  parser->SelectPreviousWord(static_cast<Integer>(word.size()));
  const TParserRect r = parser->GetWordScreenRect();
  wordRect_ = TRect{r.Left, r.Top, r.Right, r.Bottom};
  AnsiString replacement;
  ShowThesaurusDialog(FromEngineText(word), replacement);
  std::string engineReplacement;
  if (!replacement.empty() && ToEngineText(replacement, engineReplacement)) {
    if (OnBeforeChange) OnBeforeChange(this);
    parser->ReplaceWord(engineReplacement, 0);
  }
  return true;
}

bool TThesaurus3Base::LookupControl(TWinControl* control) {
  TWinAPIControlParser parser;
  parser.Initialize(control);
  return LookupParser(&parser);
}

// ----------------------------------------------------------- TThesaurus3

TCustomForm* TThesaurus3::CreateThesaurusDialog() { return new TThesDialog(this); }

}  // namespace spell
