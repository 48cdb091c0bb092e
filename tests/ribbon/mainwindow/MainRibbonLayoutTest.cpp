// The main window's ribbon as built: its geometry against the window's
// figures, the pages, groups and their settings, the buttons bound to the
// window's actions, and the styler's look.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "MainRibbon.h"
#include "MainRibbonRig.h"
#include "controls/LumGlowButton.h"
#include "controls/LumMenus.h"
#include "ribbon/RorIvezEviContainer.h"
#include "ribbon/RorIvezEviOfficeStyler.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

namespace {

using namespace ribbon;
using ide::testing::MainRibbonRig;

TEST(MainRibbonLayout, GeometryOfTheWindowsRibbon) {
  MainRibbonRig rig;
  TRorIvezEviPager* pager = rig.pager;
  EXPECT_EQ(pager->Name(), "mainpager");
  EXPECT_EQ(pager->BoundsRect(), vcl::Bounds(0, 0, 978, 120));
  EXPECT_FALSE(pager->PageCaption()->Visible());
  EXPECT_EQ(pager->TabSettings()->Height(), 34);
  EXPECT_EQ(pager->GetPageRect(), vcl::Bounds(4, 34, 970, 81));
  ASSERT_NE(pager->HelpButton(), nullptr);
  EXPECT_TRUE(pager->HelpButton()->Visible());
  EXPECT_EQ(pager->HelpButton()->BoundsRect(), vcl::Bounds(952, 8, 20, 20));
  // Each page on the ribbon sits in the page rectangle; each group keeps
  // its streamed top and height, the caption band at its bottom.
  for (int i = 0; i < pager->PageCount(); ++i) {
    TLumPage* page = pager->GetPageByIndex(i);
    pager->SetActivePageIndex(i);
    rig.Pump();
    EXPECT_EQ(page->BoundsRect(), vcl::Bounds(4, 34, 970, 81)) << page->Name();
    int left = 3;
    for (int t = 0; t < page->ToolBarCount(); ++t) {
      TLumCustomToolBar* bar = page->ToolBars(t);
      SCOPED_TRACE(bar->Caption());
      EXPECT_EQ(bar->Left(), left);
      EXPECT_EQ(bar->Top(), 3);
      EXPECT_EQ(bar->Height(), 75);
      EXPECT_FALSE(bar->IsCollapsed());
      EXPECT_TRUE(bar->ShowCaption());
      EXPECT_EQ(bar->CaptionPosition(), cpBottom);
      EXPECT_EQ(bar->CaptionAlignment(), vcl::taCenter);
      EXPECT_FALSE(bar->ShowRightHandle());
      EXPECT_EQ(bar->ShowOptionIndicator(), bar->Caption() == "Font");
      EXPECT_FALSE(bar->AutoPositionControls());
      EXPECT_FALSE(bar->AutoSize());
      EXPECT_EQ(bar->CurrentStyler(), pager->ToolBarStyler());
      const vcl::TRect band = bar->GetCaptionRect();
      EXPECT_EQ(band.Bottom, bar->Height());
      EXPECT_EQ(band.Height(), bar->CaptionHeight());
      // Every control stays above the band, inside the group.
      for (int c = 0; c < bar->ControlCount(); ++c) {
        vcl::TControl* control = bar->Controls(c);
        EXPECT_GE(control->Left(), 0) << control->Name();
        EXPECT_LE(control->Left() + control->Width(), bar->Width()) << control->Name();
        EXPECT_LE(control->Top() + control->Height(), band.Top) << control->Name();
      }
      left += bar->Width() + 3;
    }
  }
}

TEST(MainRibbonLayout, PagesGroupsAndTheirControls) {
  MainRibbonRig rig;
  // The visual "&Edit" page is on the ribbon, the source one waits off it.
  EXPECT_EQ(rig.TabCaptions(), (std::vector<std::string>{"&File", "&Edit", "&HTML ", "&Tools", "Tar&get"}));
  EXPECT_EQ(rig.pager->GetPageByIndex(1), rig.Page("EditHTMLPage"));
  EXPECT_EQ(rig.Page("EditSource")->Pager(), nullptr);
  struct PageCase {
    const char* Name;
    const char* Caption;
    const char* KeyTip;
    std::vector<std::string> Groups;
  };
  const PageCase pages[] = {
      {"FilePage", "&File", "F", {"File", "Print", "Exit"}},
      {"EditHTMLPage", "&Edit", "E", {"Edit", "Font"}},
      {"EditSource", "&Edit", "E", {"Edit"}},
      {"HTMLPage", "&HTML ", "H", {"Image", "Table/ Lists", "Commands", "Hyperlink"}},
      {"ToolsPage", "&Tools", "T", {"Document", "View"}},
      {"TargetPage", "Tar&get", "G", {"Device Selection", "Target"}},
  };
  int groups = 0;
  for (const PageCase& c : pages) {
    TLumPage* page = rig.Page(c.Name);
    ASSERT_NE(page, nullptr) << c.Name;
    EXPECT_EQ(page->Caption(), c.Caption);
    EXPECT_EQ(page->ShortCutHint(), c.KeyTip);
    std::vector<std::string> captions;
    std::set<std::string> tips;
    for (int t = 0; t < page->ToolBarCount(); ++t) {
      TLumCustomToolBar* bar = page->ToolBars(t);
      captions.push_back(bar->Caption());
      // Key tips are unique on a page, and none is the start of another.
      std::function<void(vcl::TWinControl*)> collect = [&](vcl::TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
          if (auto* g = dynamic_cast<controls::TLumGlowButton*>(parent->Controls(i))) {
            EXPECT_FALSE(g->ShortCutHint().empty()) << g->Caption();
            EXPECT_TRUE(tips.insert(g->ShortCutHint()).second) << g->ShortCutHint();
          } else if (auto* w = dynamic_cast<vcl::TWinControl*>(parent->Controls(i))) {
            collect(w);
          }
        }
      };
      collect(bar);
    }
    for (const std::string& a : tips)
      for (const std::string& b : tips)
        if (a != b) EXPECT_NE(b.rfind(a, 0), 0u) << a << " starts " << b << " on " << c.Name;
    EXPECT_EQ(captions, c.Groups) << c.Name;
    groups += page->ToolBarCount();
  }
  EXPECT_EQ(groups, 14);
  // Buttons show their action's caption unless the ribbon gives its own.
  struct ButtonCase {
    const char* Key;
    const char* Caption;
  };
  const ButtonCase buttons[] = {
      {"SaveAsACt", "Save As"},     {"OpenPrjAct", "Open Project"},         {"RemoveSpanAct", "RemoveSpanAct"},
      {"TableAct", "Edit Table"},   {"RestoreSizeAct", "Restore Original Size"}, {"EdtZelExt", "Edit Device CMD"},
      {"InsertZelBtn", "Insert"},   {"ImportTextBtn", "Import Text"},       {"ExitAct", "Exit"},
      {"SettingsAct", "Settings"},  {"btnHyperlinkAct", "Anchor"},
  };
  for (const ButtonCase& b : buttons) {
    controls::TLumGlowButton* g = rig.Button(b.Key);
    ASSERT_NE(g, nullptr) << b.Key;
    EXPECT_EQ(g->Caption(), b.Caption) << b.Key;
    EXPECT_TRUE(g->Visible()) << b.Key;
    EXPECT_NE(g->Images(), nullptr) << b.Key;
    EXPECT_GE(g->ImageIndex(), 0) << b.Key;
  }
  // The drop-down buttons and their menus.
  controls::TLumGlowButton* open = rig.Button("OpenPrjAct");
  EXPECT_EQ(open->DropDownMenu(), rig.Menu("RecentPrjMenu"));
  EXPECT_TRUE(open->DropDownSplit());
  controls::TLumGlowButton* import = rig.Button("ImportTextBtn");
  EXPECT_EQ(import->DropDownMenu(), rig.Menu("ImportTextMenu"));
  EXPECT_FALSE(import->DropDownSplit());
  EXPECT_EQ(rig.Button("EditTableBtn")->DropDownMenu(), rig.Menu("TableMenu"));
  vcl::TPopupMenu* importMenu = rig.Menu("ImportTextMenu");
  ASSERT_EQ(importMenu->Items()->Count(), 2);
  EXPECT_EQ(importMenu->Items()->Items(0)->Caption(), "With linebreaks");
  EXPECT_EQ(importMenu->Items()->Items(0)->Action(), rig.Action("ImportTextAct"));
  EXPECT_EQ(importMenu->Items()->Items(1)->Caption(), "Without linebreaks");
  EXPECT_EQ(importMenu->Items()->Items(1)->Action(), rig.Action("ImportWOlinebreaks"));
  vcl::TPopupMenu* table = rig.Menu("TableMenu");
  ASSERT_EQ(table->Items()->Count(), 2);
  EXPECT_EQ(table->Items()->Items(0)->Caption(), "Insert");
  EXPECT_EQ(table->Items()->Items(0)->Count(), 4);
  EXPECT_EQ(table->Items()->Items(0)->Items(2)->Action(), rig.Action("ac_TableInsertRowAbove"));
  EXPECT_EQ(table->Items()->Items(1)->Caption(), "Delete");
  EXPECT_EQ(table->Items()->Items(1)->Items(0)->Action(), rig.Action("DeleteTableAct"));
  vcl::TPopupMenu* help = rig.Menu("HelpPopup");
  ASSERT_EQ(help->Items()->Count(), 3);
  EXPECT_EQ(help->Items()->Items(0)->Caption(), "Help");
  EXPECT_EQ(help->Items()->Items(1)->Caption(), "Help for keyword");
  EXPECT_EQ(help->Items()->Items(2)->Caption(), "&About");
  // Four containers: three of glow buttons, one of check boxes bound to
  // the panel actions.
  int glowContainers = 0, checkContainers = 0;
  for (int i = 0; i < rig.form->ComponentCount(); ++i) {
    auto* box = dynamic_cast<TRorIvezEviContainer*>(rig.form->Components(i));
    if (!box) continue;
    EXPECT_NE(box->RorIvezEvi(), nullptr) << box->Name();
    EXPECT_EQ(box->RorIvezEvi(), box->Parent()) << box->Name();
    bool checks = false;
    for (int c = 0; c < box->ControlCount(); ++c)
      if (dynamic_cast<vcl::TCheckBox*>(box->Controls(c))) checks = true;
    ++(checks ? checkContainers : glowContainers);
  }
  EXPECT_EQ(glowContainers, 3);
  EXPECT_EQ(checkContainers, 1);
  auto* reveal = dynamic_cast<vcl::TCheckBox*>(rig.form->FindComponent("ViewContainer")
                                                   ? dynamic_cast<vcl::TWinControl*>(
                                                         rig.form->FindComponent("ViewContainer"))
                                                         ->Controls(0)
                                                   : nullptr);
  ASSERT_NE(reveal, nullptr);
  EXPECT_EQ(reveal->Caption(), "Show Tags");
  EXPECT_EQ(reveal->Action(), rig.Action("RevealTagsAct"));
  // The font-size list: points, then pixels.
  auto* sizes = dynamic_cast<vcl::TComboBox*>(rig.form->FindComponent("CB_RibbonfontSize"));
  ASSERT_NE(sizes, nullptr);
  ASSERT_EQ(sizes->Items()->Count(), 32);
  EXPECT_EQ(sizes->Items()->Strings(0), "8pt");
  EXPECT_EQ(sizes->Items()->Strings(15), "72pt");
  EXPECT_EQ(sizes->Items()->Strings(16), "8px");
  for (const char* name : {"Cb_ribbonFontPicker", "Cb_RibbonStyle", "ZelExtCB"})
    EXPECT_NE(dynamic_cast<vcl::TComboBox*>(rig.form->FindComponent(name)), nullptr) << name;
  for (const char* name : {"ed_LinkHRef", "DeviceSelected"})
    EXPECT_NE(dynamic_cast<vcl::TEdit*>(rig.form->FindComponent(name)), nullptr) << name;
}

TEST(MainRibbonLayout, AMissingActionIsNamed) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* actions = new vcl::TActionList(form);
  try {
    ide::MainRibbonFixture(form, actions);
    ADD_FAILURE() << "no exception";
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "The ribbon needs the action ImportTextAct");
  }
  vcl::Free(form);
}

// The window's case: some of the ribbon's parts are already the form's
// (it keeps pointers to them), and its action list holds exactly the
// actions the ribbon names.
TEST(MainRibbonLayout, SeatsWhatTheFormAlreadyHolds) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(978);
  auto* actions = new vcl::TActionList(form);
  const std::vector<std::string> names = ide::MainRibbonActionNames();
  EXPECT_EQ(names.size(), 75u);
  for (const std::string& n : names) {
    auto* a = new vcl::TAction(form);
    a->SetName(n);
    a->SetCaption(n);
    a->SetActionList(actions);
  }
  auto* tags = new vcl::TComboBox(form);
  tags->SetName("ZelExtCB");
  tags->SetStyle(vcl::csDropDownList);
  auto* link = new vcl::TEdit(form);
  link->SetName("ed_LinkHRef");
  auto* table = new controls::TLumPopupMenu(form);
  table->SetName("TableMenu");
  auto* own = new vcl::TMenuItem(form);
  own->SetCaption("Own entry");
  table->Items()->Add(own);
  auto* help = new controls::TLumPopupMenu(form);
  help->SetName("HelpPopup");
  TRorIvezEviPager* pager = ide::MainRibbonFixture(form, actions);
  ASSERT_NE(pager, nullptr);
  EXPECT_EQ(form->FindComponent("ZelExtCB"), tags);
  EXPECT_EQ(tags->Style(), vcl::csDropDownList);
  EXPECT_EQ(tags->Parent()->Caption(), "Commands");
  EXPECT_EQ(link->Parent()->Caption(), "Hyperlink");
  EXPECT_EQ(link->Text(), "");
  ASSERT_EQ(table->Items()->Count(), 1);  // the window's own, left as it is
  EXPECT_EQ(table->Items()->Items(0), own);
  EXPECT_EQ(help->Items()->Count(), 3);  // empty: filled
  EXPECT_EQ(dynamic_cast<controls::TLumGlowButton*>(form->FindComponent("EditTableBtn"))->DropDownMenu(), table);
  // A component of a ribbon name but of another kind is refused.
  auto* other = new vcl::TForm(vcl::Application, 0);
  auto* otherActions = new vcl::TActionList(other);
  for (const std::string& n : names) {
    auto* a = new vcl::TAction(other);
    a->SetName(n);
    a->SetActionList(otherActions);
  }
  auto* wrong = new vcl::TEdit(other);
  wrong->SetName("Cb_RibbonStyle");
  try {
    ide::MainRibbonFixture(other, otherActions);
    ADD_FAILURE() << "no exception";
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "The ribbon's Cb_RibbonStyle is of another kind on the form");
  }
  vcl::Free(other);
  vcl::Free(form);
}

TEST(MainRibbonLayout, StylerIsClassicWithTheWindowsOwnValues) {
  MainRibbonRig rig;
  auto* styler = dynamic_cast<TRorIvezEviOfficeStyler*>(rig.pager->ToolBarStyler());
  ASSERT_NE(styler, nullptr);
  EXPECT_EQ(styler->Style(), bsOffice2003Classic);
  EXPECT_FALSE(styler->AutoThemeAdapt());
  EXPECT_EQ(styler->PageAppearance()->Color(), vcl::clWhite);
  EXPECT_EQ(styler->PageAppearance()->ColorTo(), 0xC9D1D5);
  EXPECT_EQ(styler->PageAppearance()->ColorMirror(), 0xC9D1D5);
  EXPECT_EQ(styler->PageAppearance()->ColorMirrorTo(), vcl::clWhite);
  EXPECT_EQ(styler->PagerCaption()->TextColor(), 0xFF0000);
  EXPECT_EQ(styler->PagerCaption()->TextColorExtended(), 0xFF0000);
  EXPECT_EQ(styler->BorderColor(), 0xDFD2C5);
  EXPECT_EQ(styler->ButtonAppearance()->BorderCheckedColor(), 0x800000);
  EXPECT_EQ(styler->ContainerAppearance()->LineColor(), vcl::clBtnShadow);
  EXPECT_TRUE(styler->ContainerAppearance()->Line3D());
  EXPECT_EQ(styler->TabAppearance()->Color(), vcl::clBtnFace);
  EXPECT_EQ(styler->TabAppearance()->ColorTo(), vcl::clWhite);
  EXPECT_EQ(styler->TabAppearance()->ColorMirror(), vcl::clWhite);
  EXPECT_EQ(styler->GlowButtonAppearance()->ColorDisabled(), 0xF4F4F4);
  EXPECT_EQ(styler->CompactGlowButtonAppearance()->BorderColorDisabled(), 0xC8C8C8);
}

}  // namespace
