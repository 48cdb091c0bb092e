// A dock panel's saved layout and its toolbars' floating states read from
// arbitrary INI text (the first section the text has). Whatever the text,
// a toolbar floats exactly when it has a window, every docked toolbar ends in
// exactly one row when shown and in none when hidden, no row is empty, the
// panel is as thick as its rows, no toolbar is lost between the two
// panels, and the layout written afterwards reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>
#include <vector>

#include "controls/ControlsLibrary.h"
#include "ribbon/RorIvezEviDockPanel.h"
#include "ribbon/RorIvezEviRecords.h"
#include "rtl/IniFiles.h"
#include "rtl/StringList.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
  std::abort();
}

struct World {
  World() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    vcl::InitApplication();
    controls::StartUpControls();
    Form = new vcl::TForm(vcl::Application, 0);
    Form->SetClientWidth(302);
    Form->SetClientHeight(300);
    Form->Show();
  }
  vcl::TForm* Form;
};

// Rows as text, hidden toolbars after "/".
std::string RowsOf(ribbon::TLumDockPanel* p) {
  std::string s;
  for (int r = 0; r < p->RowCount(); ++r) {
    if (r) s += "|";
    ribbon::TRowCollectionItem* row = p->Rows()->GetRow(r);
    for (int i = 0; i < row->ToolBarCount(); ++i) {
      ribbon::TLumCustomToolBar* t = row->ToolBar(i);
      s += (i ? " " : "") + t->Name() + "@" + std::to_string(t->Left()) + "," + std::to_string(t->Top()) + "," +
           std::to_string(t->Width()) + "," + std::to_string(t->Height());
    }
  }
  for (ribbon::TLumCustomToolBar* t : p->HiddenToolBars()) s += "/" + t->Name();
  return s;
}

void CheckWhole(ribbon::TLumDockPanel* p) {
  for (int i = 0; i < p->ToolBarCount(); ++i) {
    ribbon::TLumCustomToolBar* t = p->ToolBar(i);
    int listed = 0;
    for (int r = 0; r < p->RowCount(); ++r)
      if (p->Rows()->GetRow(r)->IndexOf(t) >= 0) {
        ++listed;
        if (t->RowIndex() != r) Fail("row index", t->Name());
      }
    if (listed != (t->Visible() ? 1 : 0)) Fail("rows listing", t->Name() + " " + RowsOf(p));
    if (t->Parent() != p || t->DockPanel() != p) Fail("parent", t->Name());
  }
  for (int r = 0; r < p->RowCount(); ++r)
    if (p->Rows()->GetRow(r)->ToolBarCount() == 0) Fail("empty row", RowsOf(p));
  const int far = p->RowCount() ? p->Rows()->GetRow(p->RowCount() - 1)->Rect().Bottom : p->MinimumSize();
  if (p->Height() != far) Fail("thickness", RowsOf(p));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  rtl::TMemIniFile ini("/nonexistent/tolvane-fuzz-dock-layout.ini");
  rtl::TStringList lines;
  lines.SetText(std::string(reinterpret_cast<const char*>(data), size));
  ini.SetStrings(lines);
  rtl::TStringList sections;
  ini.ReadSections(sections);
  const std::string section = sections.Count() ? sections.Strings(0) : std::string("Layout");

  auto* top = new ribbon::TLumDockPanel(world.Form);
  top->SetParent(world.Form);
  auto* bottom = new ribbon::TLumDockPanel(world.Form);
  bottom->SetDockAlign(ribbon::daBottom);
  bottom->SetParent(world.Form);
  const char* names[] = {"A", "B", "C", "D", "E"};
  for (const char* n : names) {
    auto* t = new ribbon::TLumCustomToolBar(world.Form);
    t->SetName(n);
    // Named controls whose visibility the floating state may change.
    for (int i = 0; i < (n[0] == 'C' ? 3 : 1); ++i) {
      auto* c = new vcl::TPanel(world.Form);
      c->SetName(std::string(n) + "C" + std::to_string(i));
      c->SetBounds(0, 0, 20 + 10 * i, 20);
      c->SetParent(t);
    }
    t->SetParent(n[0] == 'E' ? bottom : top);
  }
  top->Rows()->MoveToRow(top->ToolBar(1), 0);
  top->ToolBar(3)->SetVisible(false);
  top->Persistence()->SetKey("unused");
  top->Persistence()->SetSection(section.empty() ? "Layout" : section);
  std::vector<ribbon::TLumCustomToolBar*> bars;
  for (int i = 0; i < top->ToolBarCount(); ++i) bars.push_back(top->ToolBar(i));
  bars.push_back(bottom->ToolBar(0));
  try {
    // Each toolbar's floating state from the same section, then the
    // panel's layout.
    for (ribbon::TLumCustomToolBar* t : bars) {
      t->Persistence()->SetKey("unused");
      t->Persistence()->SetSection(section.empty() ? "Layout" : section);
      t->Persistence()->SetEnabled(true);
      t->LoadFloatingState(&ini);
      t->Persistence()->SetEnabled(false);
      if (!t->StateLoaded()) Fail("state not loaded", t->Name());
      if ((t->State() == ribbon::tsFloating) != (t->FloatingWindow() != nullptr)) Fail("window", t->Name());
    }
    top->LoadLayout(&ini);
  } catch (const std::exception& e) {
    Fail("raised", e.what());
  }
  CheckWhole(top);
  CheckWhole(bottom);
  int floating = 0;
  for (ribbon::TLumCustomToolBar* t : bars) {
    if (t->State() != ribbon::tsFloating) continue;
    ++floating;
    if (t->DockPanel() || t->RowIndex() != -1) Fail("floating yet docked", t->Name());
    if (t->FloatingRows() < 1 || t->FloatingRows() > std::max(1, t->MaxFloatingRows())) Fail("rows", t->Name());
  }
  if (top->ToolBarCount() + bottom->ToolBarCount() + floating != 5) Fail("lost a toolbar", RowsOf(top));
  // What it writes now reads back as it is.
  const std::string before = RowsOf(top);
  rtl::TMemIniFile again("/nonexistent/tolvane-fuzz-dock-layout-2.ini");
  top->SaveLayout(&again);
  top->LoadLayout(&again);
  CheckWhole(top);
  if (RowsOf(top) != before) Fail("round trip", before + " -> " + RowsOf(top));
  vcl::Free(top);
  vcl::Free(bottom);
  while (world.Form->ComponentCount() > 0) vcl::Free(world.Form->Components(world.Form->ComponentCount() - 1));
  return 0;
}
