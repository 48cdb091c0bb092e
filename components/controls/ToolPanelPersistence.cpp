// A strip's layout in the settings file or the registry: which panels are
// pinned, hidden or floating, their open sizes and the bounds of floating
// ones, written when the program closes and applied when it starts. Each
// load and save opens its store, works and closes it.
#include "controls/ToolPanels.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"

namespace controls {

using vcl::Integer;

void TLumToolPanelTab::SavePanelLayout() {
  if (persist_->Location == pplRegistry)
    SavePanelsToRegistry();
  else
    SavePanelsToIni();
  layoutLoaded_ = false;
}

void TLumToolPanelTab::SavePanels(rtl::TCustomIniFile& store) {
  std::vector<TPanelLayoutRecord> records;
  for (Integer i = 0; i < panels_->Count(); ++i) {
    const TToolPanel* item = panels_->Items(i);
    TLumToolPanel* p = item->Panel;
    TPanelLayoutRecord r;
    r.OpenWidth = item->OpenWidth();
    if (p) {
      r.Name = p->Name();
      r.Locked = p->Locked();
      r.Hidden = p->Hidden();
      r.Docked = p->Docked();
      r.Visible = p->Visible();
      if (p->OwningStrip()) {
        r.HasTab = true;
        r.Tab = p->OwningStrip()->Name();
      }
      if (p->Floating()) {
        vcl::TControl* window = p->Parent();
        r.Floating = true;
        r.Left = window->Left();
        r.Top = window->Top();
        r.Width = window->Width();
        r.Height = window->Height();
      } else {
        r.Left = p->Left();
        r.Top = p->Top();
        r.Width = p->Locked() ? (IsVerticalStrip(position_) ? p->Width() : p->Height()) : p->OpenWidth();
      }
    }
    records.push_back(std::move(r));
  }
  WriteStripLayout(store, Name(), records);
}

void TLumToolPanelTab::SavePanelsToIni() {
  if (persist_->INIFile.empty()) return;
  rtl::TMemIniFile ini(persist_->INIFile);
  SavePanels(ini);
  ini.UpdateFile();
}

void TLumToolPanelTab::SavePanelsToRegistry() {
  if (persist_->RegistryUserKey.empty()) return;
  rtl::TRegistryIniFile reg(persist_->RegistryUserKey);
  SavePanels(reg);
  reg.UpdateFile();
}

void TLumToolPanelTab::ApplyStoredPanel(const TStoredPanelLayout& stored) {
  TLumToolPanel* panel = PanelByName(stored.Name);
  if (!panel || panel->placedByLayout_) return;
  panel->placedByLayout_ = true;
  const Integer index = PanelIndex(panel);
  panels_->Items(index)->SetOpenWidth(stored.OpenWidth);
  panel->SetDocked(stored.IsDocked());
  const bool visible = stored.IsVisible();
  panel->SetHidden(stored.IsHidden());
  // A missing or useless width keeps the designed one.
  if (const auto width = stored.StoredOpenWidth()) panel->SetOpenWidth(*width);
  const bool free = !panel->Hidden() && !panel->Docked();
  if (stored.IsLocked() && !panel->Locked() && free) {
    if (position_ == ppLeft) panel->SetLeft(tabWidth_);
    panel->SetAlign(vcl::alNone);
    if (IsVerticalStrip(position_)) {
      panel->SetTop(Top());
      panel->SetHeight(Height());
      panel->SetWidth(panel->OpenWidth());
    } else {
      panel->SetTop(tabWidth_);
      panel->SetHeight(panel->OpenWidth());
      panel->SetWidth(Width());
    }
    panel->SetVisible(true);
    panel->SetLocked(true);
  } else if (!stored.IsLocked() && panel->Locked() && free) {
    panel->SetLocked(false);
    panel->SetVisible(false);
  }
  if (panel->Docked() && visible) {
    panel->ManualFloat(vcl::Bounds(stored.Left, stored.Top, stored.Width, stored.Height));
    panel->EndDock();
  }
}

bool TLumToolPanelTab::LoadPanels(rtl::TCustomIniFile& store) {
  TStoredStripLayout layout;
  if (!ReadStripLayout(store, Name(), layout)) return false;
  openIndex_ = -1;
  for (const TStoredPanelLayout& stored : layout.Panels) ApplyStoredPanel(stored);
  SetThickness(VisibleTabCount() > 0 ? tabWidth_ : 2);
  openIndex_ = -1;
  return true;
}

bool TLumToolPanelTab::LoadPanelsFromIni() {
  if (persist_->INIFile.empty()) return false;
  rtl::TMemIniFile ini(persist_->INIFile);
  return LoadPanels(ini);
}

bool TLumToolPanelTab::LoadPanelsFromRegistry() {
  if (persist_->RegistryUserKey.empty()) return false;
  rtl::TRegistryIniFile reg(persist_->RegistryUserKey);
  return LoadPanels(reg);
}

bool TLumToolPanelTab::LoadPanelsFrom() {
  return persist_->Location == pplRegistry ? LoadPanelsFromRegistry() : LoadPanelsFromIni();
}

void TLumToolPanelTab::LoadPanelLayout() {
  if (!LoadPanelsFrom()) return;
  // Panels on the same form that no layout has placed yet join this strip,
  // so that a panel saved in this strip's sections but listed elsewhere
  // comes here.
  bool adopted = false;
  if (vcl::TWinControl* parent = Parent()) {
    std::vector<TLumToolPanel*> candidates;
    for (Integer i = 0; i < parent->ControlCount(); ++i)
      if (auto* p = dynamic_cast<TLumToolPanel*>(parent->Controls(i)); p && !p->PlacedByLayout())
        candidates.push_back(p);
    for (TLumToolPanel* p : candidates) {
      if (TLumToolPanelTab* old = p->OwningStrip()) old->RemovePanel(p);
      AddPanel(p);
      p->strip_ = this;
      adopted = true;
    }
  }
  layoutLoaded_ = true;
  if (!adopted) return;
  LoadPanelsFrom();
  if (vcl::TWinControl* parent = Parent()) {
    std::vector<TLumToolPanelTab*> strips;
    for (Integer i = 0; i < parent->ControlCount(); ++i)
      if (auto* s = dynamic_cast<TLumToolPanelTab*>(parent->Controls(i)); s && s != this && !s->LayoutLoaded())
        strips.push_back(s);
    for (TLumToolPanelTab* s : strips) s->LoadPanelLayout();
  }
}

}  // namespace controls
