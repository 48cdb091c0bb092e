// The window's ribbon over its real action list: every command with its
// caption, shortcut and help context; every ribbon control bound to that
// list; a command nobody carries out yet cannot be run; the "&Edit" page
// that matches the editing mode.
#include <gtest/gtest.h>

#include "MainWindowRig.h"
#include "controls/LumGlowButton.h"
#include "controls/ToolPanels.h"
#include "ide/MainRibbon.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/StdCtrls.h"

using namespace idetest;

namespace {

struct CommandRow {
  const char* Name;
  const char* Caption;
  const char* ShortCut;
  int HelpContext;
};

// The window's commands as the user meets them.
const CommandRow kCommands[] = {
    {"NewAct", "New", "Ctrl+N", 89},
    {"OpenAct", "Open", "Ctrl+O", 91},
    {"SaveAct", "Save", "Ctrl+S", 104},
    {"SaveAsACt", "Save As", "Shift+Ctrl+S", 105},
    {"CloseAct", "Close", "", 66},
    {"NewPrjAct", "New Project", "Ctrl+P", 90},
    {"OpenPrjAct", "Open Project", "", 92},
    {"SavePrjAct", "Save Project", "Ctrl+Alt+S", 106},
    {"SaveProjectAs", "Save Project As", "", 107},
    {"AddPrjAct", "Add", "", 0},
    {"RemoveAct", "Remove", "", 0},
    {"PrintAct", "Print", "", 96},
    {"printpreviewAct", "Print Preview", "", 97},
    {"PrintSetupAct", "Print Setup", "", 98},
    {"ExitAct", "Exit", "", 74},
    {"FontColorAct", "Font Color", "", 0},
    {"BkgColorAct", "Background Color", "", 0},
    {"RemoveSpanAct", "RemoveSpanAct", "", 0},
    {"RestoreSizeAct", "Restore original size", "", 0},
    {"DeleteImageAct", "Delete", "", 0},
    {"AlignImgLeft", "AlignImgLeft", "", 0},
    {"AlignImgMiddleAct", "Align Image Middle", "", 0},
    {"AlignImageRightAct", "Align Image Right", "", 0},
    {"MakeImageLinkAct", "Make link", "", 0},
    {"SpellCheckAct", "Spell Check", "", 113},
    {"SpellCheckOptsAct", "Spell Check Options", "", 114},
    {"WordCntAct", "Word Count", "", 125},
    {"GraphicsAct", "Graphics list", "", 76},
    {"btnHyperlinkAct", "Anchor", "", 0},
    {"ImageAct", "Insert Image", "", 0},
    {"TableAct", "Insert Table", "", 0},
    {"DeleteTableAct", "Table", "", 0},
    {"ImportTextAct", "Import text with linebreaks ", "", 0},
    {"ImportWOlinebreaks", "Import text without linebreaks", "", 0},
    {"UploadAct", "Upload Project", "", 119},
    {"CDFSAct", "Create Image", "", 68},
    {"ChangeDevice", "Select Device", "", 108},
    {"SettingsAct", "Change Settings", "", 65},
    {"EdtZelExt", "Edit Vormek CMD", "", 0},
    {"btnHyperlink", "Make Hyperlink", "", 0},
    {"RemoveLinkAct", "Remove Hyperlink", "", 0},
    {"RevealTagsAct", "Show Tags", "", 109},
    {"EditCut1", "Cut", "", 69},
    {"EditCopy1", "Copy", "Ctrl+C", 67},
    {"EditPaste1", "Paste", "", 94},
    {"UndoAction", "Undo", "Ctrl+Z", 117},
    {"RedoAct", "Redo", "Shift+Ctrl+Z", 100},
    {"NextTab", "NextTab", "Esc", 0},
    {"SearchFind", "Find", "Ctrl+F", 0},
    {"ProjectManagerAct", "Project Manager", "", 99},
    {"InsertAction", "Insert", "", 82},
    {"SimulateAct", "Simulate Settings", "", 123},
    {"SimErrors", "Simulate Errors", "", 122},
    {"ShowHelp", "Help", "", 0},
    {"KeywordHelp", "Help for keyword", "", 0},
    {"AboutAct", "&About", "", 0},
    // The editor's commands on the form.
    {"ac_Undo", "Undo", "", 117},
    {"ac_Redo", "Redo", "", 100},
    {"ac_Cut", "Cut", "", 69},
    {"ac_Copy", "Copy", "Ctrl+C", 67},
    {"ac_Paste", "Paste", "Ctrl+V", 94},
    {"ac_Bold", "Bold", "", 0},
    {"ac_Italic", "Italic", "", 0},
    {"ac_Underline", "Underline", "", 0},
    {"ac_StrikeOut", "Strike Out", "", 0},
    {"ac_AlignLeft", "Align Left", "", 0},
    {"ac_AlignCenter", "Center", "", 1},
    {"ac_AlignRight", "Align Right", "", 0},
    {"ac_UnorderedList", "Unordered List", "", 0},
    {"ac_OrderedList", "Ordered List", "", 0},
    {"ac_IncreaseListIndent", "Increase List Indent", "", 80},
    {"ac_DecreaseListIndent", "Decrease List Indent", "", 70},
    {"ac_TableInsertColumnToTheLeft", "Insert Column to the Left", "", 0},
    {"ac_TableInsertColumnToTheRight", "Insert Column to the Right", "", 0},
    {"ac_TableInsertRowAbove", "Insert Row Above", "", 0},
    {"ac_TableInsertRowBelow", "Insert Row Below", "", 0},
    {"ac_TableDeleteCurrentColumn", "Delete Current Column", "", 0},
    {"ac_TableDeleteCurrentRow", "Delete Current Row", "", 0},
};

std::vector<std::string> TabCaptions(ribbon::TRorIvezEviPager* pager) {
  std::vector<std::string> out;
  for (int i = 0; i < pager->PageCount(); ++i) out.push_back(pager->GetPageByIndex(i)->Caption());
  return out;
}

}  // namespace

TEST(Ribbon, EveryCommandSitsInTheWindowsListWithItsCaptionShortcutAndHelp) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  vcl::TActionList* list = form->psHtmlEditActionList1;
  for (const CommandRow& row : kCommands) {
    SCOPED_TRACE(row.Name);
    auto* action = dynamic_cast<vcl::TCustomAction*>(form->FindComponent(row.Name));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->ActionList(), list);
    EXPECT_EQ(action->Caption(), row.Caption);
    EXPECT_EQ(vcl::ShortCutToText(action->ShortCut()), row.ShortCut);
    EXPECT_EQ(action->HelpContext(), row.HelpContext);
  }
  // Whatever the ribbon binds is the window's command.
  for (const std::string& name : ide::MainRibbonActionNames()) {
    auto* action = dynamic_cast<vcl::TContainedAction*>(form->FindComponent(name));
    ASSERT_NE(action, nullptr) << name;
    EXPECT_EQ(action->ActionList(), list) << name;
  }
  for (Integer i = 0; i < form->ComponentCount(); ++i)
    if (auto* button = dynamic_cast<controls::TLumGlowButton*>(form->Components(i)); button && button->Action())
      EXPECT_EQ(dynamic_cast<vcl::TContainedAction*>(button->Action())->ActionList(), list) << button->Name();
}

TEST(Ribbon, ACommandNobodyCarriesOutCannotRunAndTheRibbonShowsTheVisualEditPage) {
  Scratch scratch;
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  form->psHtmlEditActionList1->UpdateActions();
  Pump();
  for (Integer i = 0; i < form->psHtmlEditActionList1->ActionCount(); ++i) {
    auto* action = dynamic_cast<vcl::TAction*>(form->psHtmlEditActionList1->Actions(i));
    if (!action || dynamic_cast<htmledit::TpsHtmlEditAction*>(action) || action->OnExecute) continue;
    EXPECT_FALSE(action->Enabled()) << action->Name();
    EXPECT_FALSE(action->Execute()) << action->Name();
  }
  EXPECT_TRUE(form->ExitAct->Enabled());
  EXPECT_FALSE(form->NewAct->Enabled()) << "no project yet";

  ribbon::TRorIvezEviPager* pager = form->mainpager;
  ASSERT_EQ(pager, form->FindComponent("mainpager"));
  EXPECT_EQ(TabCaptions(pager), (std::vector<std::string>{"&File", "&Edit", "&HTML ", "&Tools", "Tar&get"}));
  EXPECT_EQ(pager->GetPageByIndex(1)->Name(), "EditHTMLPage");
  EXPECT_EQ(pager->GetActivePageIndex(), 0);
  // The ribbon spans the window above the bars and the views.
  EXPECT_EQ(pager->Top(), 0);
  EXPECT_EQ(pager->Width(), form->ClientWidth());
  EXPECT_GE(form->PageControl->Top(), pager->Height());
  EXPECT_GE(form->ct->Top(), pager->Height());
}
