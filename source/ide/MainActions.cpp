// The window's action list, the ribbon over it, and the rule that keeps the
// ribbon in step with the editing mode.
#include "controls/LumGlowButton.h"
#include "controls/LumMenus.h"
#include "ide/CategoryButtons.h"
#include "ide/MainForm.h"
#include "ide/MainRibbon.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace ide {

namespace {

// One of the window's own commands: the member that keeps it, its name,
// caption, shortcut (as the key's text) and help context.
struct WindowCommand {
  vcl::TAction* Tfrm_Main::*Member;
  const char* Name;
  const char* Caption;
  const char* ShortCut;
  int HelpContext;
};

// In the action list's order: where two commands share a shortcut, the
// first enabled one takes the key (ac_Copy before EditCopy1).
const WindowCommand kWindowCommands[] = {
    {&Tfrm_Main::NewAct, "NewAct", "New", "Ctrl+N", 89},
    {&Tfrm_Main::OpenAct, "OpenAct", "Open", "Ctrl+O", 91},
    {&Tfrm_Main::SaveAct, "SaveAct", "Save", "Ctrl+S", 104},
    {&Tfrm_Main::SaveAsACt, "SaveAsACt", "Save As", "Ctrl+Shift+S", 105},
    {&Tfrm_Main::CloseAct, "CloseAct", "Close", "", 66},
    {&Tfrm_Main::NewPrjAct, "NewPrjAct", "New Project", "Ctrl+P", 90},
    {&Tfrm_Main::OpenPrjAct, "OpenPrjAct", "Open Project", "", 92},
    {&Tfrm_Main::SavePrjAct, "SavePrjAct", "Save Project", "Ctrl+Alt+S", 106},
    {&Tfrm_Main::SaveProjectAs, "SaveProjectAs", "Save Project As", "", 107},
    {&Tfrm_Main::AddPrjAct, "AddPrjAct", "Add", "", 0},
    {&Tfrm_Main::RemoveAct, "RemoveAct", "Remove", "", 0},
    {&Tfrm_Main::PrintAct, "PrintAct", "Print", "", 96},
    {&Tfrm_Main::printpreviewAct, "printpreviewAct", "Print Preview", "", 97},
    {&Tfrm_Main::PrintSetupAct, "PrintSetupAct", "Print Setup", "", 98},
    {&Tfrm_Main::ExitAct, "ExitAct", "Exit", "", 74},
    {&Tfrm_Main::ac_Copy, "ac_Copy", "Copy", "Ctrl+C", 67},
    {&Tfrm_Main::ac_Paste, "ac_Paste", "Paste", "Ctrl+V", 94},
    {&Tfrm_Main::FontColorAct, "FontColorAct", "Font Color", "", 0},
    {&Tfrm_Main::BkgColorAct, "BkgColorAct", "Background Color", "", 0},
    {&Tfrm_Main::RemoveSpanAct, "RemoveSpanAct", "RemoveSpanAct", "", 0},
    {&Tfrm_Main::RestoreSizeAct, "RestoreSizeAct", "Restore original size", "", 0},
    {&Tfrm_Main::DeleteImageAct, "DeleteImageAct", "Delete", "", 0},
    {&Tfrm_Main::AlignImgLeft, "AlignImgLeft", "AlignImgLeft", "", 0},
    {&Tfrm_Main::AlignImgMiddleAct, "AlignImgMiddleAct", "Align Image Middle", "", 0},
    {&Tfrm_Main::AlignImageRightAct, "AlignImageRightAct", "Align Image Right", "", 0},
    {&Tfrm_Main::MakeImageLinkAct, "MakeImageLinkAct", "Make link", "", 0},
    {&Tfrm_Main::SpellCheckAct, "SpellCheckAct", "Spell Check", "", 113},
    {&Tfrm_Main::SpellCheckOptsAct, "SpellCheckOptsAct", "Spell Check Options", "", 114},
    {&Tfrm_Main::WordCntAct, "WordCntAct", "Word Count", "", 125},
    {&Tfrm_Main::GraphicsAct, "GraphicsAct", "Graphics list", "", 76},
    {&Tfrm_Main::btnHyperlinkAct, "btnHyperlinkAct", "Anchor", "", 0},
    {&Tfrm_Main::ImageAct, "ImageAct", "Insert Image", "", 0},
    {&Tfrm_Main::TableAct, "TableAct", "Insert Table", "", 0},
    {&Tfrm_Main::DeleteTableAct, "DeleteTableAct", "Table", "", 0},
    {&Tfrm_Main::ImportTextAct, "ImportTextAct", "Import text with linebreaks ", "", 0},
    {&Tfrm_Main::ImportWOlinebreaks, "ImportWOlinebreaks", "Import text without linebreaks", "", 0},
    {&Tfrm_Main::UploadAct, "UploadAct", "Upload Project", "", 119},
    {&Tfrm_Main::CDFSAct, "CDFSAct", "Create Image", "", 68},
    {&Tfrm_Main::ChangeDevice, "ChangeDevice", "Select Device", "", 108},
    {&Tfrm_Main::SettingsAct, "SettingsAct", "Change Settings", "", 65},
    {&Tfrm_Main::EdtZelExt, "EdtZelExt", "Edit Vormek CMD", "", 0},
    {&Tfrm_Main::btnHyperlink, "btnHyperlink", "Make Hyperlink", "", 0},
    {&Tfrm_Main::RemoveLinkAct, "RemoveLinkAct", "Remove Hyperlink", "", 0},
    {&Tfrm_Main::RevealTagsAct, "RevealTagsAct", "Show Tags", "", 109},
    {&Tfrm_Main::EditCut1, "EditCut1", "Cut", "", 69},
    {&Tfrm_Main::EditCopy1, "EditCopy1", "Copy", "Ctrl+C", 67},
    {&Tfrm_Main::EditPaste1, "EditPaste1", "Paste", "", 94},
    {&Tfrm_Main::UndoAction, "UndoAction", "Undo", "Ctrl+Z", 117},
    {&Tfrm_Main::RedoAct, "RedoAct", "Redo", "Ctrl+Shift+Z", 100},
    {&Tfrm_Main::NextTab, "NextTab", "NextTab", "Esc", 0},
    {&Tfrm_Main::SearchFind, "SearchFind", "Find", "Ctrl+F", 0},
    {&Tfrm_Main::ProjectManagerAct, "ProjectManagerAct", "Project Manager", "", 99},
    {&Tfrm_Main::InsertAction, "InsertAction", "Insert", "", 82},
    {&Tfrm_Main::SimulateAct, "SimulateAct", "Simulate Settings", "", 123},
    {&Tfrm_Main::SimErrors, "SimErrors", "Simulate Errors", "", 122},
    {&Tfrm_Main::ShowHelp, "ShowHelp", "Help", "", 0},
    {&Tfrm_Main::KeywordHelp, "KeywordHelp", "Help for keyword", "", 0},
    {&Tfrm_Main::AboutAct, "AboutAct", "&About", "", 0},
};

// The editor's commands placed on the form, with their help contexts.
struct EditorCommand {
  htmledit::TpsHtmlEditAction* Tfrm_Main::*Member;
  const char* Name;
  htmledit::TpsHtmlEditAction* (*Make)(vcl::TComponent*);
  int HelpContext;
};

template <class T>
htmledit::TpsHtmlEditAction* MakeEditorAction(vcl::TComponent* owner) {
  return new T(owner);
}

const EditorCommand kEditorCommands[] = {
    {&Tfrm_Main::ac_Undo, "ac_Undo", MakeEditorAction<htmledit::TpsUndoAction>, 117},
    {&Tfrm_Main::ac_Redo, "ac_Redo", MakeEditorAction<htmledit::TpsRedoAction>, 100},
    {&Tfrm_Main::ac_Cut, "ac_Cut", MakeEditorAction<htmledit::TpsClipboardCutAction>, 69},
    {&Tfrm_Main::ac_Bold, "ac_Bold", MakeEditorAction<htmledit::TpsBoldAction>, 0},
    {&Tfrm_Main::ac_Italic, "ac_Italic", MakeEditorAction<htmledit::TpsItalicAction>, 0},
    {&Tfrm_Main::ac_Underline, "ac_Underline", MakeEditorAction<htmledit::TpsUnderlineAction>, 0},
    {&Tfrm_Main::ac_StrikeOut, "ac_StrikeOut", MakeEditorAction<htmledit::TpsStrikeOutAction>, 0},
    {&Tfrm_Main::ac_AlignLeft, "ac_AlignLeft", MakeEditorAction<htmledit::TpsAlignLeft>, 0},
    {&Tfrm_Main::ac_AlignCenter, "ac_AlignCenter", MakeEditorAction<htmledit::TpsAlignCenter>, 1},
    {&Tfrm_Main::ac_AlignRight, "ac_AlignRight", MakeEditorAction<htmledit::TpsAlignRight>, 0},
    {&Tfrm_Main::ac_UnorderedList, "ac_UnorderedList", MakeEditorAction<htmledit::TpsUnorderedList>, 0},
    {&Tfrm_Main::ac_OrderedList, "ac_OrderedList", MakeEditorAction<htmledit::TpsOrderedList>, 0},
    {&Tfrm_Main::ac_IncreaseListIndent, "ac_IncreaseListIndent", MakeEditorAction<htmledit::TpsIncreaseListIndent>,
     80},
    {&Tfrm_Main::ac_DecreaseListIndent, "ac_DecreaseListIndent", MakeEditorAction<htmledit::TpsDecreaseListIndent>,
     70},
    {&Tfrm_Main::ac_TableInsertColumnToTheLeft, "ac_TableInsertColumnToTheLeft",
     MakeEditorAction<htmledit::TpsTableInsertColumnToTheLeft>, 0},
    {&Tfrm_Main::ac_TableInsertColumnToTheRight, "ac_TableInsertColumnToTheRight",
     MakeEditorAction<htmledit::TpsTableInsertColumnToTheRight>, 0},
    {&Tfrm_Main::ac_TableInsertRowAbove, "ac_TableInsertRowAbove", MakeEditorAction<htmledit::TpsTableInsertRowAbove>,
     0},
    {&Tfrm_Main::ac_TableInsertRowBelow, "ac_TableInsertRowBelow", MakeEditorAction<htmledit::TpsTableInsertRowBelow>,
     0},
    {&Tfrm_Main::ac_TableDeleteCurrentColumn, "ac_TableDeleteCurrentColumn",
     MakeEditorAction<htmledit::TpsTableDeleteCurrentColumn>, 0},
    {&Tfrm_Main::ac_TableDeleteCurrentRow, "ac_TableDeleteCurrentRow",
     MakeEditorAction<htmledit::TpsTableDeleteCurrentRow>, 0},
};

ribbon::TLumPage* RibbonPage(Tfrm_Main* form, const char* name) {
  return dynamic_cast<ribbon::TLumPage*>(form->FindComponent(name));
}

}  // namespace

void Tfrm_Main::BuildActions() {
  psHtmlEditActionList1 = new htmledit::TpsHtmlEditActionList(this);
  psHtmlEditActionList1->SetName("psHtmlEditActionList1");
  for (const WindowCommand& c : kWindowCommands) {
    auto* a = new vcl::TAction(this);
    a->SetName(c.Name);
    a->SetCaption(c.Caption);
    a->SetShortCut(vcl::TextToShortCut(c.ShortCut));
    a->SetHelpContext(c.HelpContext);
    a->SetActionList(psHtmlEditActionList1);
    // Until its command is hooked in, a command cannot be run.
    a->SetEnabled(false);
    this->*c.Member = a;
  }
  for (const EditorCommand& c : kEditorCommands) {
    htmledit::TpsHtmlEditAction* a = c.Make(this);
    a->SetName(c.Name);
    a->SetHelpContext(c.HelpContext);
    a->SetActionList(psHtmlEditActionList1);
    this->*c.Member = a;
  }
  psHtmlEditActionList1->SetEditor(HTMLEdit);
  // The ribbon follows the editing mode at every update; once per round is
  // enough, so the rule runs with the list's first action.
  psHtmlEditActionList1->OnUpdate = [this](vcl::TBasicAction* action, bool&) {
    if (psHtmlEditActionList1->ActionCount() > 0 && action == psHtmlEditActionList1->Actions(0))
      psHtmlEditActionList1Update();
  };

  const auto execute = [](vcl::TAction* a, std::function<void(vcl::TObject*)> run) {
    a->SetEnabled(true);
    a->OnExecute = std::move(run);
  };
  // The page commands need a project to belong to.
  const auto projectOpen = [this](vcl::TObject* sender) {
    static_cast<vcl::TAction*>(sender)->SetEnabled(prjManager_ && prjManager_->HasFileName());
  };
  execute(NewAct, [this](vcl::TObject* s) { btnNewClick(s); });
  execute(OpenAct, [this](vcl::TObject* s) { btnLoadDocumentClick(s); });
  execute(SaveAct, [this](vcl::TObject* s) { btnSaveDocumentClick(s); });
  execute(SaveAsACt, [this](vcl::TObject* s) { btnSaveAsClick(s); });
  for (vcl::TAction* a : {NewAct, OpenAct, SaveAct, SaveAsACt}) a->OnUpdate = projectOpen;
  execute(ExitAct, [this](vcl::TObject* s) { btnQuitClick(s); });
  execute(ac_Copy, [this](vcl::TObject* s) { ac_CopyExecute(s); });
  ac_Copy->OnUpdate = [this](vcl::TObject*) {
    const bool image = HTMLEdit->IsImageSelected();
    ac_Copy->SetEnabled(VisualEditing() ? (HTMLEdit->HasTextSelection() || image) : image);
  };
  execute(ac_Paste, [this](vcl::TObject*) { HTMLEdit->PasteFromClipboard(); });
  ac_Paste->OnUpdate = [this](vcl::TObject*) {
    ac_Paste->SetEnabled(HTMLEdit->Showing() && !HTMLEdit->IsImageSelected());
  };
  // Enabled by the image handlers when a tag picture is selected.
  EdtZelExt->OnExecute = [this](vcl::TObject* s) { EdtZelExtExecute(s); };
}

void Tfrm_Main::BuildRibbon() {
  mainpager = MainRibbonFixture(this, psHtmlEditActionList1);
  mainpager->SetAlign(vcl::alTop);
  mainpager->OnChanging = [this](vcl::TObject* sender, int from, int to, bool& allow) {
    mainpagerChanging(sender, from, to, allow);
  };
  mainpager->OnHelpClick = [this](vcl::TObject* sender) { HelpClick(sender); };
  // The window starts in visual editing: the source "&Edit" page is off
  // the ribbon until a source view is shown.
  RibbonPage(this, "HTMLPage")->SetEnabled(false);
  psHtmlEditActionList1Update();
}

bool Tfrm_Main::VisualEditing() const { return PageControl->Visible() && PageControl->ActivePage() == ts_HTMLEdit; }

void Tfrm_Main::psHtmlEditActionList1Update() {
  if (!mainpager) return;
  const bool visual = VisualEditing();
  // A command another unit carries out is enabled by the rule only once it
  // is there to run.
  btnHyperlinkAct->SetEnabled(visual && static_cast<bool>(btnHyperlinkAct->OnExecute));
  const bool tagInsert = visual && HTMLEdit->IsCursorInBlock() && !HTMLEdit->IsImageSelected();
  ZelExtCB->SetEnabled(tagInsert);
  if (auto* insert = dynamic_cast<vcl::TControl*>(FindComponent("InsertZelBtn"))) insert->SetEnabled(tagInsert);

  ribbon::TLumPage* htmlPage = RibbonPage(this, "HTMLPage");
  ribbon::TLumPage* editHtml = RibbonPage(this, "EditHTMLPage");
  ribbon::TLumPage* editSource = RibbonPage(this, "EditSource");
  if (htmlPage->Enabled() != visual) {
    if (auto* font = dynamic_cast<vcl::TControl*>(FindComponent("FontSettingsToolBar"))) font->SetEnabled(visual);
    htmlPage->SetEnabled(visual);
    editHtml->SetEnabled(visual);
    RibbonPage(this, "ToolsPage")->SetEnabled(PageControl->Visible());
    editSource->SetEnabled(PageControl->Visible() && !editHtml->Enabled());
    // The index is noted before the pages go: noted after, it would name
    // the page one place further on whenever the active page stands past
    // the "&Edit" page.
    const int noted = mainpager->GetActivePageIndex();
    mainpager->RemovePage(editSource);
    mainpager->RemovePage(editHtml);
    ribbon::TLumPage* shown = visual ? editHtml : editSource;
    mainpager->AddPage(shown);
    shown->SetPageIndex(1);
    mainpager->SetActivePage(RibbonPage(this, "FilePage"));
    mainpager->SetActivePageIndex(noted);
    mainpager->Invalidate();
  }
  InsertHTMLpanel->SetEnabled(visual);
}

void Tfrm_Main::mainpagerChanging(vcl::TObject*, int, int to, bool& allow) {
  allow = to < 0 || to >= mainpager->PageCount() || mainpager->GetPageByIndex(to)->Enabled();
}

void Tfrm_Main::HelpClick(vcl::TObject*) {
  const vcl::TPoint at = ClientToScreen({917, 32});
  HelpPopup->Popup(at.X, at.Y);
}

}  // namespace ide
