#include "spell/lx3SpellWindows.h"

#include "spell/lx3WinAPIParser.h"
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

}  // namespace spell
