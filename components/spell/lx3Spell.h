#pragma once
// The spell-checker component the environment uses: the window layer with
// the built-in dialogs as its user interface, and fonts of its own for
// user-interface languages whose characters need them.
#include "spell/lx3SpellWindows.h"
#include "vcl/Graphics.h"

namespace vcl {
class TComponent;
class TCustomForm;
}  // namespace vcl

namespace spell {

class TLexaSpell3 : public TLexaSpell3WindowBase {
 public:
  // owner: the form the component belongs to (the main form); the spell
  // dialog falls back to it when the checked control has no form.
  explicit TLexaSpell3(vcl::TComponent* owner = nullptr);
  ~TLexaSpell3() override;

  vcl::TComponent* Owner() const { return owner_; }
  // Writing either font copies the given one; they are applied only while
  // UILanguageUseFonts is true.
  vcl::TFont* UILanguageFontControls() { return &fontControls_; }
  void SetUILanguageFontControls(const vcl::TFont* font) { fontControls_.Assign(font); }
  vcl::TFont* UILanguageFontText() { return &fontText_; }
  void SetUILanguageFontText(const vcl::TFont* font) { fontText_.Assign(font); }
  bool UILanguageUseFonts = false;

  // Labels, buttons, check boxes, group boxes and page controls take the
  // controls font; list views, list boxes, edits and combo boxes the text
  // font with textFont, else the controls font.
  virtual void ApplyUIFonts(vcl::TCustomForm* form, bool textFont);

 protected:
  vcl::TCustomForm* CreateSpellDialog() override;
  void DoShowConfigDialog(void* owner) override;
  void DoShowCustomDictionariesDialog(void* owner) override;
  // The desktop's folder chooser; a chosen folder joins the
  // configuration's added folders.
  void DoShowAddDictionaryDir(void* owner) override;
  void DoShowEditCustomDictionaryDialog(void* owner, TCustomDictionary* dictionary) override;
  // The owner a dialog asked for: a dialog control, or this component
  // (then the component's own owner).
  vcl::TComponent* DialogOwner(void* owner) const;

 private:
  vcl::TComponent* owner_;
  vcl::TFont fontControls_, fontText_;
};

}  // namespace spell
