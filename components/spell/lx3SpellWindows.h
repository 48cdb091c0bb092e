#pragma once
// The spell-checker component with its window parts: the live-spelling
// popup as a class-library popup menu, the end message and the smart
// selection's question as message boxes, waiting for the dialog's commands
// in the application's message loop, and checks of edit controls.
#include <cstdint>

#include "spell/engine/lx3SpellBase.h"

namespace vcl {
class TWinControl;
class TComponent;
}  // namespace vcl

namespace spell {

class TLexaSpell3WindowBase : public TLexaSpell3Base {
 public:
  TLexaSpell3WindowBase() = default;

  // Check runs and word counts over an edit, rich-edit or any windowed
  // control holding one, through TWinAPIControlParser; the run frees it.
  void CheckEditControl(vcl::TWinControl* control, Integer checkType);
  void CheckRichEditControl(vcl::TWinControl* control, Integer checkType);
  void CheckWinControl(vcl::TWinControl* control, Integer checkType);
  Integer WordCountEditControl(vcl::TWinControl* control, Integer checkType);

 protected:
  void* CreatePopupMenu(void* owner) override;
  void* AddPopupMenuItem(void* menu, void* parent, const AnsiString& caption, bool enabled, bool hasChildren,
                         Integer tag) override;
  void RunPopupMenu(void* menu, Integer x, Integer y, Integer& tag, AnsiString& caption) override;
  void FreePopupMenu(void* menu) override;
  void ShowMessageText(const AnsiString& text, const AnsiString& caption) override;
  bool AskYesNo(const AnsiString& text, const AnsiString& caption) override;
  void WaitForCommand() override;
  void SetBusyCursor(bool busy) override;

 private:
  int16_t savedCursor_ = 0;  // the screen cursor before a long run
};

}  // namespace spell
