#include "spell/lx3SpellWindows.h"

#include <utility>

#include "spell/lx3ConfigurationDialogCtrl.h"
#include "spell/lx3UtilForms.h"
#include "spell/lx3WinAPIParser.h"
#include "spell/engine/lx3Configuration.h"
#include "vcl/Controls.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

namespace spell {

void* TLexaSpell3WindowBase::CreatePopupMenu(void* owner) {
  if (OnPopupCreateMenu) return TLexaSpell3Base::CreatePopupMenu(owner);
  vcl::InitApplication();
  return new vcl::TPopupMenu(static_cast<vcl::TComponent*>(owner));
}

void* TLexaSpell3WindowBase::AddPopupMenuItem(void* menu, void* parent, const AnsiString& caption, bool enabled,
                                              bool hasChildren, Integer tag) {
  if (OnPopupAddMenuItem) return TLexaSpell3Base::AddPopupMenuItem(menu, parent, caption, enabled, hasChildren, tag);
  if (OnPopupCreateMenu || !menu) return nullptr;
  auto* popup = static_cast<vcl::TPopupMenu*>(menu);
  auto* item = new vcl::TMenuItem(popup);
  item->SetCaption(caption);
  item->SetEnabled(enabled);
  item->SetTag(tag);
  if (tag > 0)
    item->OnClick = [this, item](vcl::TObject*) { PopupItemClicked(item->Tag(), item->Caption()); };
  (parent ? static_cast<vcl::TMenuItem*>(parent) : popup->Items())->Add(item);
  return item;
}

void TLexaSpell3WindowBase::RunPopupMenu(void* menu, Integer x, Integer y, Integer& tag, AnsiString& caption) {
  tag = 0;
  caption.clear();
  if (OnPopupDoMenu || OnPopupCreateMenu || !menu) {
    TLexaSpell3Base::RunPopupMenu(menu, x, y, tag, caption);
    return;
  }
  // Returns after the chosen item's click handler ran (PopupItemClicked).
  static_cast<vcl::TPopupMenu*>(menu)->Popup(x, y);
  vcl::Application->ProcessMessages();
}

void TLexaSpell3WindowBase::FreePopupMenu(void* menu) {
  if (!OnPopupCreateMenu && menu) vcl::Free(static_cast<vcl::TPopupMenu*>(menu));
}

void TLexaSpell3WindowBase::ShowMessageText(const AnsiString& text, const AnsiString& caption) {
  vcl::ShowMessageBox(text, caption, vcl::MB_OK | vcl::MB_ICONINFORMATION);
}

bool TLexaSpell3WindowBase::AskYesNo(const AnsiString& text, const AnsiString& caption) {
  return vcl::ShowMessageBox(text, caption, vcl::MB_YESNO | vcl::MB_ICONINFORMATION) == vcl::IDYES;
}

void TLexaSpell3WindowBase::WaitForCommand() {
  vcl::InitApplication();
  vcl::Application->HandleMessage();
}

void TLexaSpell3WindowBase::SetBusyCursor(bool busy) {
  vcl::InitApplication();
  if (busy) {
    savedCursor_ = vcl::Screen->Cursor();
    vcl::Screen->SetCursor(vcl::crHourGlass);
  } else {
    vcl::Screen->SetCursor(static_cast<vcl::TCursor>(savedCursor_));
  }
}

void TLexaSpell3WindowBase::CheckEditControl(vcl::TWinControl* control, Integer checkType) {
  CheckWinControl(control, checkType);
}

void TLexaSpell3WindowBase::CheckRichEditControl(vcl::TWinControl* control, Integer checkType) {
  CheckWinControl(control, checkType);
}

void TLexaSpell3WindowBase::CheckWinControl(vcl::TWinControl* control, Integer checkType) {
  auto* parser = new TWinAPIControlParser();
  parser->Initialize(control);
  CheckParser(parser, checkType, true);
}

Integer TLexaSpell3WindowBase::WordCountEditControl(vcl::TWinControl* control, Integer checkType) {
  TWinAPIControlParser parser;
  parser.Initialize(control);
  return WordCount(&parser, checkType);
}

// ---- the spell dialog ----

namespace {
vcl::TRect ToRect(const TParserRect& r) { return vcl::TRect{r.Left, r.Top, r.Right, r.Bottom}; }
bool Overlap(const vcl::TRect& a, const vcl::TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}
void CentreOn(vcl::TCustomForm* form, const vcl::TRect& r) {
  form->SetBounds(r.Left + (r.Width() - form->Width()) / 2, r.Top + (r.Height() - form->Height()) / 2,
                  form->Width(), form->Height());
}
}  // namespace

TConfigurationDialogCtrl* TLexaSpell3WindowBase::AttachDialogControl(vcl::TCustomForm* form,
                                                                     TCustomDictionary* dictionary) {
  TConfigurationDialogCtrl* control = FindConfigurationDialogCtrl(form);
  if (!control) return nullptr;
  control->Attach(this);
  control->SetCustomDictionary(dictionary);
  return control;
}

void TLexaSpell3WindowBase::ShowSpellDialog() {
  if (UIType == suiSilent) return;
  vcl::InitApplication();
  if (!dialogCtrl_) {
    dialogDeactivated_ = false;
    if (!form_) {
      if (OnCreateSpellDialog)
        OnCreateSpellDialog(this, form_, true);
      else
        form_ = CreateSpellDialog();
    }
    if (form_) dialogCtrl_ = AttachDialogControl(form_, nullptr);
  }
  if (!form_) return;
  if (!dialogShown_) {
    dialogShown_ = true;
    if (OnSpellDialogShow) OnSpellDialogShow(this);
    PositionDialog();
    if (!DialogShowModal) form_->Show();
    savedOnShow_ = form_->OnShow;
    savedOnActivate_ = form_->OnActivate;
    savedOnDeactivate_ = form_->OnDeactivate;
    form_->OnShow = [this](vcl::TObject* s) { DialogShowHook(s); };
    form_->OnActivate = [this](vcl::TObject* s) { DialogActivateHook(s); };
    form_->OnDeactivate = [this](vcl::TObject* s) { DialogDeactivateHook(s); };
  }
  AvoidSelection();
  if (DialogShowModal && !form_->Modal()) {
    vcl::TCustomForm* form = form_;
    form->ShowModal();
    // Hiding a modal dialog only ends its loop; it is handed back here,
    // once the loop has left it.
    if (form != form_) HandBack(form);
  }
}

void TLexaSpell3WindowBase::HideSpellDialog() {
  if (!form_) return;
  if (DialogInitialPos == ipLastUserPos) {
    Config().SetDialogX(form_->Left());
    Config().SetDialogY(form_->Top());
  }
  if (!HideDialogAllowed() && !DialogShowModal) return;
  dialogShown_ = false;
  form_->OnShow = savedOnShow_;
  form_->OnActivate = savedOnActivate_;
  form_->OnDeactivate = savedOnDeactivate_;
  savedOnShow_ = savedOnActivate_ = savedOnDeactivate_ = nullptr;
  vcl::TCustomForm* form = form_;
  const bool modal = form->Modal();
  if (modal)
    form->SetModalResult(vcl::mrOk);
  else
    form->Hide();
  if (OnSpellDialogHide) OnSpellDialogHide(this);
  dialogCtrl_ = nullptr;
  form_ = nullptr;
  if (modal) return;  // ShowSpellDialog hands it back after its modal loop
  if (holdForm_)
    heldForm_ = form;
  else
    HandBack(form);
}

void TLexaSpell3WindowBase::HandBack(vcl::TCustomForm* form) {
  if (OnCreateSpellDialog)
    OnCreateSpellDialog(this, form, false);
  else
    form->Release();
}

void TLexaSpell3WindowBase::ShowEndMessage() {
  holdForm_ = true;
  struct Restore {
    TLexaSpell3WindowBase* self;
    ~Restore() {
      self->holdForm_ = false;
      if (vcl::TCustomForm* held = std::exchange(self->heldForm_, nullptr)) self->HandBack(held);
    }
  } restore{this};
  TLexaSpell3Base::ShowEndMessage();
}

void TLexaSpell3WindowBase::PromptDialogWord(const AnsiString& word, bool repeated) {
  if (dialogCtrl_ && dialogCtrl_->OnPromptWord) dialogCtrl_->OnPromptWord(this, word, repeated);
}

void TLexaSpell3WindowBase::PositionDialog() {
  if (!form_) return;
  switch (DialogInitialPos) {
    case ipScreenCenter:
      CentreOn(form_, vcl::Screen->MonitorBoundsRect(form_->BoundsRect()));
      break;
    case ipUnderSelection:
      if (!DialogShowImmediate) MoveDialogOffSelection(true, true);
      break;
    case ipAvoidControl:
      PlaceDialogAvoidingControl();
      break;
    case ipUserDefined:
      if (OnPositionDialog) OnPositionDialog(this);
      break;
    case ipLastUserPos: {
      const Integer x = Config().GetDialogX();
      if (x == -1)
        PlaceDialogAvoidingControl();
      else
        KeepFormOnMonitor(form_, x, Config().GetDialogY());
      break;
    }
    case ipIgnore:
      break;
    case ipDesktopCenter: {
      const vcl::TRect desktop{0, 0, vcl::Screen->Width(), vcl::Screen->Height()};
      CentreOn(form_, desktop);
      break;
    }
  }
}

void TLexaSpell3WindowBase::MoveDialogOffSelection(bool horizontal, bool vertical) {
  TControlParser* parser = CurrentParser();
  if (!form_ || !parser) return;
  PlaceFormNearRect(form_, ToRect(parser->GetWordScreenRect()), horizontal, vertical);
}

void TLexaSpell3WindowBase::PlaceDialogAvoidingControl() {
  TControlParser* parser = CurrentParser();
  if (!form_ || !parser) return;
  const vcl::TRect monitor = vcl::Screen->MonitorBoundsRect(form_->BoundsRect());
  vcl::TRect r = monitor;
  if (const TParserRect c = parser->GetControlScreenRect(); c != TParserRect{}) r = ToRect(c);
  const Integer w = form_->Width(), h = form_->Height();
  Integer left = 0, top = 0;
  if (r.Bottom + h <= monitor.Bottom) {
    left = r.Left;
    top = r.Bottom;
  } else if (r.Right + w <= monitor.Right) {
    left = r.Right;
    top = r.Top;
  } else if (r.Top - h >= monitor.Top) {
    left = r.Left;
    top = r.Top - h;
  } else if (r.Left - w >= monitor.Left) {
    left = r.Left - w;
    top = r.Top;
  } else if (DialogShowImmediate) {
    left = r.Left + (r.Width() - w) / 2;
    top = r.Top + (r.Height() - h) / 2;
  } else {
    MoveDialogOffSelection(true, true);
    left = form_->Left();
    top = form_->Top();
  }
  KeepFormOnMonitor(form_, left, top);
}

void TLexaSpell3WindowBase::AvoidSelection() {
  TControlParser* parser = CurrentParser();
  if (!form_ || !parser) return;
  const bool overlap = Overlap(ToRect(parser->GetWordScreenRect()), form_->BoundsRect());
  switch (DialogSelectionAvoid) {
    case saAvoid: if (overlap) MoveDialogOffSelection(true, true); break;
    case saMove: MoveDialogOffSelection(true, true); break;
    case saAvoidUpDown: if (overlap) MoveDialogOffSelection(false, true); break;
    case saMoveUpDown: MoveDialogOffSelection(false, true); break;
    case saNone: break;
  }
}

void TLexaSpell3WindowBase::DialogShowHook(vcl::TObject* sender) {
  if (DialogShowModal) {
    if (DialogShowImmediate)
      ContinueFromDialog();
    else
      PromptCurrentWord();
  }
  if (savedOnShow_) savedOnShow_(sender);
}

void TLexaSpell3WindowBase::DialogDeactivateHook(vcl::TObject* sender) {
  const auto saved = savedOnDeactivate_;  // the handler may end the run
  if (!dialogDeactivated_) {
    dialogDeactivated_ = true;
    if (OnDialogDeactivate) OnDialogDeactivate(this);
  }
  if (saved) saved(sender);
}

void TLexaSpell3WindowBase::DialogActivateHook(vcl::TObject* sender) {
  if (savedOnActivate_) savedOnActivate_(sender);
  if (!dialogDeactivated_) return;
  dialogDeactivated_ = false;
  if (OnDialogActivate) OnDialogActivate(this);
  ResumeCheck();
}

}  // namespace spell
