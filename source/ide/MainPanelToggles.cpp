// The View toolbar's panel toggles: the project tree, the tag palette and
// the two simulation panels, each shown and pinned open by its check box
// and put away by it again.
#include "controls/ToolPanels.h"
#include "ide/MainForm.h"
#include "vcl/Forms.h"

namespace ide {

void Tfrm_Main::PanelToggleExecute(vcl::TAction* action, controls::TLumToolPanel* panel) {
  // A floating panel lives in a window of its own, which comes and goes
  // with it; leaving that window up empty would look like a broken panel.
  auto* floatWindow = panel->Floating() ? dynamic_cast<vcl::TCustomForm*>(panel->Parent()) : nullptr;
  if (action->Checked()) {
    if (floatWindow) {
      panel->SetVisible(true);
      floatWindow->Show();
      return;
    }
    if (controls::TLumToolPanelTab* strip = panel->OwningStrip()) strip->OpenPanel(panel);
    panel->SetVisible(true);
    panel->SetHidden(false);
    panel->SetLocked(true);
    return;
  }
  panel->SetVisible(false);
  panel->SetHidden(true);
  if (floatWindow) floatWindow->Hide();
}

bool Tfrm_Main::PanelToggleState(const controls::TLumToolPanel* panel) const {
  return panel->Visible() || (!panel->Hidden() && !panel->Floating());
}

void Tfrm_Main::BindPanelToggles() {
  const std::pair<vcl::TAction*, controls::TLumToolPanel*> toggles[] = {
      {ProjectManagerAct, ProjectManagerTab}, {InsertAction, insertPanel}, {SimulateAct, SimTab},
      {SimErrors, simErrorsTab}};
  for (const auto& [action, panel] : toggles) {
    vcl::TAction* a = action;
    controls::TLumToolPanel* p = panel;
    // The check box turns the action over before the command reads it.
    a->SetAutoCheck(true);
    a->OnExecute = [this, a, p](vcl::TObject*) { PanelToggleExecute(a, p); };
    a->OnUpdate = [this, a, p](vcl::TObject*) { a->SetChecked(PanelToggleState(p)); };
    a->SetEnabled(true);
    a->SetChecked(PanelToggleState(p));
  }
}

}  // namespace ide
