// The live-spelling popup of TLexaSpell3Base.
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3SpellBase.h"
#include "spell/engine/lx3Text.h"

namespace spell {

namespace {
constexpr Integer kPopupSuggestions = 5;
bool Has(TSpellPopupOptions set, TSpellPopupOption o) { return (set & (1u << o)) != 0; }
}  // namespace

void* TLexaSpell3Base::CreatePopupMenu(void* owner) {
  void* menu = nullptr;
  if (OnPopupCreateMenu) OnPopupCreateMenu(this, owner, menu);
  return menu;
}

void* TLexaSpell3Base::AddPopupMenuItem(void* menu, void* parent, const AnsiString& caption, bool enabled,
                                        bool hasChildren, Integer tag) {
  void* item = nullptr;
  if (OnPopupAddMenuItem) OnPopupAddMenuItem(this, menu, parent, caption, enabled, hasChildren, tag, item);
  return item;
}

void TLexaSpell3Base::RunPopupMenu(void* menu, Integer x, Integer y, Integer& tag, AnsiString& caption) {
  tag = 0;
  caption.clear();
  if (OnPopupDoMenu) OnPopupDoMenu(this, menu, x, y, tag, caption);
}

void TLexaSpell3Base::PopupItemClicked(Integer tag, const AnsiString& caption) {
  popupTag_ = tag;
  popupCaption_ = caption;
}

TSpellPopupOption TLexaSpell3Base::ShowPopupMenu(void* control, TSpellPopupOptions options, Integer x, Integer y,
                                                 AnsiString& word) {
  void* menu = nullptr;
  AnsiString incoming;
  {
    Lock lock(mutex_);
    if (word.empty() || popupActive_) return spCancel;
    incoming = word;
    popupActive_ = true;
  }
  struct Release {
    TLexaSpell3Base& spell;
    void*& menu;
    ~Release() {
      Lock lock(spell.mutex_);
      if (menu) spell.FreePopupMenu(menu);
      spell.popupActive_ = false;
    }
  } release{*this, menu};
  rtl::TStringList suggestions;
  {
    Lock lock(mutex_);
    config_->EnsureLoaded();
    menu = CreatePopupMenu(control);
    if (Has(options, spReplace)) {
      GetSuggestions(incoming, kPopupSuggestions, suggestions);
      for (Integer i = 0; i < suggestions.Count(); ++i) AddPopupMenuItem(menu, nullptr, suggestions[i], true, false, 7);
      if (suggestions.Count() == 0) AddPopupMenuItem(menu, nullptr, GetString(lsMnNoSuggestions), false, false, 0);
      AddPopupMenuItem(menu, nullptr, "-", true, false, 0);
    }
    if (Has(options, spIgnore)) AddPopupMenuItem(menu, nullptr, GetString(lsMnIgnore), true, false, 6);
    if (Has(options, spIgnoreAll)) AddPopupMenuItem(menu, nullptr, GetString(lsMnIgnoreAll), true, false, 5);
    if (Has(options, spAdd)) AddPopupMenuItem(menu, nullptr, GetString(lsMnAdd), activeCustom_ != nullptr, false, 4);
    AddPopupMenuItem(menu, nullptr, "-", true, false, 0);
    if (Has(options, spChangeAll) && suggestions.Count() > 0) {
      void* sub = AddPopupMenuItem(menu, nullptr, GetString(lsMnChangeAll), true, true, 0);
      for (Integer i = 0; i < suggestions.Count(); ++i) AddPopupMenuItem(menu, sub, suggestions[i], true, false, 3);
    }
    if (Has(options, spAutoCorrect) && suggestions.Count() > 0 && activeCustom_) {
      void* sub = AddPopupMenuItem(menu, nullptr, GetString(lsMnAutoCorrect), true, true, 0);
      for (Integer i = 0; i < suggestions.Count(); ++i) AddPopupMenuItem(menu, sub, suggestions[i], true, false, 2);
    }
    if (Has(options, spDialog)) AddPopupMenuItem(menu, nullptr, GetString(lsMnSpelling), true, false, 1);
    popupTag_ = 0;
    popupCaption_.clear();
  }
  // Shown without the lock: live marking goes on while the menu is open.
  Integer tag = 0;
  AnsiString caption;
  RunPopupMenu(menu, x, y, tag, caption);
  Lock lock(mutex_);
  if (tag == 0 && popupTag_ != 0) {
    tag = popupTag_;
    caption = popupCaption_;
  }
  TSpellPopupOption result = spCancel;
  std::string w, c;
  const bool held = ToEngineText(incoming, w) && ToEngineText(caption, c);
  switch (tag) {
    case 1:
      result = spDialog;
      break;
    case 2:
      if (activeCustom_) {
        if (held) activeCustom_->AddAutoCorrect(w, c);
        LearnReplacement(incoming, caption);
        word = caption;
        result = spAutoCorrect;
      }
      break;
    case 3:
      if (held) internal_->AddAutoCorrect(w, c);
      LearnReplacement(incoming, caption);
      word = caption;
      result = spChangeAll;
      break;
    // A word 1252 cannot hold is in no dictionary and cannot be put in one:
    // Add and Ignore All then change nothing and say so.
    case 4:
      if (activeCustom_ && held) {
        activeCustom_->AddIgnore(w);
        result = spAdd;
      }
      break;
    case 5:
      if (held) {
        internal_->AddIgnore(w);
        result = spIgnoreAll;
      }
      break;
    case 6:
      result = spIgnore;
      break;
    case 7:
      LearnReplacement(incoming, caption);
      word = caption;
      result = spReplace;
      break;
    default:
      break;
  }
  if (OnPopupResult) OnPopupResult(this, incoming, word, result);
  PopupResultListeners.Result = result;
  PopupResultListeners.NotifyListeners(this);
  return result;
}

}  // namespace spell
