#include "ide/MainForm.h"

#include "controls/LumGlowButton.h"
#include "controls/LumMenus.h"
#include "controls/ToolPanels.h"
#include "core/DebugBaseU.h"
#include "core/VormekCmdU.h"
#include "core/forms/VormekDevSetupU.h"
#include "htmledit/control/psSmartTagLink.h"
#include "htmledit/view/psMessages.h"
#include "ide/CategoryButtons.h"
#include "memo/LumMemo.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoSource.h"
#include "memo/LumMemoStyler.h"
#include "rtl/Files.h"
#include "rtl/Strings.h"
#include "spell/html/psSpellChecker.h"
#include "spell/lx3Spell.h"
#include "support/WexCheckTree.h"
#include "vcl/ListBox.h"
#include "vcl/ListView.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace ide {

namespace {

controls::TLumToolPanel* MakeToolPanel(Tfrm_Main* form, controls::TLumToolPanelTab* bar, const char* name,
                                       const char* caption) {
  auto* panel = new controls::TLumToolPanel(form);
  panel->SetName(name);
  panel->SetParent(bar);
  panel->SetCaption(caption);
  panel->SetStyle(controls::esOffice2007Silver);
  return panel;
}

controls::TLumToolPanelTab* MakeBar(Tfrm_Main* form, const char* name, controls::TPanelPosition position) {
  auto* bar = new controls::TLumToolPanelTab(form);
  bar->SetName(name);
  bar->SetParent(form);
  bar->SetStyle(controls::esOffice2007Silver);
  bar->SetPosition(position);
  return bar;
}

controls::TLumPopupMenu* MakeMenu(Tfrm_Main* form, const char* name) {
  auto* menu = new controls::TLumPopupMenu(form);
  menu->SetName(name);
  return menu;
}

vcl::TMenuItem* AddMenuItem(Tfrm_Main* form, vcl::TMenu* menu, const char* name, const char* caption) {
  auto* item = new vcl::TMenuItem(form);
  item->SetName(name);
  item->SetCaption(caption);
  menu->Items()->Add(item);
  return item;
}

vcl::TComboBox* MakeRibbonCombo(Tfrm_Main* form, const char* name) {
  auto* combo = new vcl::TComboBox(form);
  combo->SetName(name);
  return combo;
}

}  // namespace

Tfrm_Main::Tfrm_Main(vcl::TComponent* owner) : vcl::TForm(owner) {
  BuildComponents();
  spell_ = new spell::TLexaSpell3(this);
  docHistory_ = std::make_unique<rtl::TStringList>();
  vormekSettings_ = std::make_unique<core::TVormeksettings>();
  OnCreate = [this](vcl::TObject* sender) { FormCreate(sender); };
  OnShow = [this](vcl::TObject* sender) { FormShow(sender); };
  OnCloseQuery = [this](vcl::TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
  OnClose = [this](vcl::TObject* sender, vcl::TCloseAction& action) { FormClose(sender, action); };
  OnDestroy = [this](vcl::TObject* sender) { FormDestroy(sender); };
}

Tfrm_Main::~Tfrm_Main() {
  // The spell component is the window's (its owner only names the form its
  // dialogs fall back to), and the editor's live-spelling handler reads it
  // from the editor's threads: the editor goes first, then the component.
  vcl::Free(HTMLEdit);
  HTMLEdit = nullptr;
  delete spell_;
  spell_ = nullptr;
  docHistory_.reset();
  vormekSettings_.reset();
}

void Tfrm_Main::BuildComponents() {
  SetName("frm_Main");
  SetCaption("Tolvane");
  SetBounds(60, 40, 1000, 700);

  StatusBar = new vcl::TStatusBar(this);
  StatusBar->SetName("StatusBar");
  StatusBar->SetParent(this);
  StatusBar->SetAlign(vcl::alBottom);
  const Integer widths[] = {220, 220, 180, 40, 80};
  for (Integer w : widths) StatusBar->Panels()->Add()->SetWidth(w);

  // The bars dock themselves at their edges; the page control takes the rest.
  ct = MakeBar(this, "ct", controls::ppLeft);
  RightBar = MakeBar(this, "RightBar", controls::ppRight);
  bottomBar = MakeBar(this, "bottomBar", controls::ppBottom);
  ProjectManagerTab = MakeToolPanel(this, ct, "ProjectManagerTab", "Project Manager");
  insertPanel = MakeToolPanel(this, ct, "insertPanel", "Insert");
  SimTab = MakeToolPanel(this, ct, "SimTab", "Simulate");
  simErrorsTab = MakeToolPanel(this, ct, "simErrorsTab", "Simulate Errors");

  ProjectDisplay = new support::TWexCheckTree(this);
  ProjectDisplay->SetName("ProjectDisplay");
  ProjectDisplay->SetParent(ProjectManagerTab);
  ProjectDisplay->SetAlign(vcl::alClient);
  InsertHTMLpanel = new TCategoryButtons(this);
  InsertHTMLpanel->SetName("InsertHTMLpanel");
  InsertHTMLpanel->SetParent(insertPanel);
  InsertHTMLpanel->SetAlign(vcl::alClient);
  SimErrorListBox = new vcl::TListBox(this);
  SimErrorListBox->SetName("SimErrorListBox");
  SimErrorListBox->SetParent(simErrorsTab);
  SimErrorListBox->SetAlign(vcl::alClient);

  PageControl = new vcl::TPageControl(this);
  PageControl->SetName("PageControl");
  PageControl->SetParent(this);
  PageControl->SetAlign(vcl::alClient);
  const auto sheet = [this](const char* name, const char* caption) {
    auto* s = new vcl::TTabSheet(this);
    s->SetName(name);
    s->SetCaption(caption);
    s->SetPageControl(PageControl);
    return s;
  };
  ts_HTMLEdit = sheet("ts_HTMLEdit", "Visual");
  ts_InternetExplorer = sheet("ts_InternetExplorer", "Internet &Explorer");
  ts_Body = sheet("ts_Body", "BODY");
  ts_HTML = sheet("ts_HTML", "HTML");
  ts_Stylesheet = sheet("ts_Stylesheet", "Stylesheet");
  ts_MetaTags = sheet("ts_MetaTags", "Meta-Tags");
  PageControl->SetActivePage(ts_HTMLEdit);
  PageControl->OnChanging = [this](vcl::TObject* sender, bool& allow) { PageControlChanging(sender, allow); };
  PageControl->OnChange = [this](vcl::TObject* sender) { PageControlChange(sender); };

  HTMLEdit = new htmledit::TpsHTMLEdit(this);
  HTMLEdit->SetName("HTMLEdit");
  HTMLEdit->SetParent(ts_HTMLEdit);
  HTMLEdit->SetAlign(vcl::alClient);
  // Pages are read and written as UTF-8; one naming no charset is read so.
  HTMLEdit->Charset = "utf-8";

  HTMLStyler = new memo::TLumHTMLMemoStyler(this);
  HTMLStyler->SetName("HTMLStyler");
  BuildSourceView(ts_Body, re_body, BodyMemoSrc, "re_body", "BodyMemoSrc");
  BuildSourceView(ts_HTML, re_HTML, HTMLMemoSrc, "re_HTML", "HTMLMemoSrc");
  BuildSourceView(ts_Stylesheet, re_stylesheet, stylememoSrc, "re_stylesheet", "stylememoSrc");

  lv_Meta = new vcl::TListView(this);
  lv_Meta->SetName("lv_Meta");
  lv_Meta->SetParent(ts_MetaTags);
  lv_Meta->SetAlign(vcl::alClient);
  lv_Meta->SetViewStyle(vcl::vsReport);
  lv_Meta->SetReadOnly(true);
  lv_Meta->SetRowSelect(true);
  const char* columns[] = {"", "Value", "Content"};
  const Integer columnWidths[] = {120, 200, 400};
  for (int i = 0; i < 3; ++i) {
    vcl::TListColumn* c = lv_Meta->AddColumn();
    c->Caption = columns[i];
    c->Width = columnWidths[i];
  }

  OpenDialog = new vcl::TOpenDialog(this);
  OpenDialog->SetName("OpenDialog");
  SaveDialog = new vcl::TSaveDialog(this);
  SaveDialog->SetName("SaveDialog");
  od_ImportTextfile = new vcl::TOpenDialog(this);
  od_ImportTextfile->SetName("od_ImportTextfile");
  od_ImportTextfile->SetFilter("Text files (*.txt)|*.txt");

  EditorMenu = MakeMenu(this, "EditorMenu");
  pm_Image = MakeMenu(this, "pm_Image");
  LinkPopUp = MakeMenu(this, "LinkPopUp");
  TableMenu = MakeMenu(this, "TableMenu");
  pm_LinkCreator = MakeMenu(this, "pm_LinkCreator");
  RecentPrjMenu = MakeMenu(this, "RecentPrjMenu");
  ImportTextMenu = MakeMenu(this, "ImportTextMenu");
  HelpPopup = MakeMenu(this, "HelpPopup");
  AddMenuItem(this, pm_Image, "mi_AlignLeft", "Align left");
  AddMenuItem(this, pm_Image, "mi_AlignMiddle", "Align middle");
  AddMenuItem(this, pm_Image, "mi_AlignRight", "Align right");
  AddMenuItem(this, pm_Image, "mi_DeleteImage", "Delete");
  AddMenuItem(this, pm_Image, "mi_AlternativeText", "Alternative Text...");
  mi_CreateImageLink = AddMenuItem(this, pm_Image, "mi_CreateImageLink", "Create Link...");
  mi_DeleteImageLink = AddMenuItem(this, pm_Image, "mi_DeleteImageLink", "Delete Link");
  AddMenuItem(this, pm_Image, "mi_RestoreOriginalSize", "Restore original size");
  HTMLEdit->SetImagePopupMenu(pm_Image);
  HTMLEdit->SetLinkPopupMenu(LinkPopUp);
  HTMLEdit->SetTablePopupMenu(TableMenu);

  ZelExtCB = MakeRibbonCombo(this, "ZelExtCB");
  ZelExtCB->SetStyle(vcl::csDropDownList);
  Cb_ribbonFontPicker = MakeRibbonCombo(this, "Cb_ribbonFontPicker");
  CB_RibbonfontSize = MakeRibbonCombo(this, "CB_RibbonfontSize");
  Cb_RibbonStyle = MakeRibbonCombo(this, "Cb_RibbonStyle");
  Cb_RibbonStyle->SetStyle(vcl::csDropDownList);

  BuildPreview();
  BuildActions();
  for (vcl::TAction* a : {static_cast<vcl::TAction*>(ac_Cut), ac_Copy, ac_Paste}) {
    auto* item = new vcl::TMenuItem(this);
    item->SetAction(a);
    EditorMenu->Items()->Add(item);
  }
  BuildRibbon();
  BindCommands();
  BindInsertCommands();
  BindTargetCommands();
  BindPanelToggles();
  BindFormatCommands();
  BindEditorEvents();
}

void Tfrm_Main::BuildSourceView(vcl::TTabSheet* sheet, memo::TLumMemo*& memo, memo::TLumMemoSource*& source,
                                const char* memoName, const char* sourceName) {
  source = new memo::TLumMemoSource(this);
  source->SetName(sourceName);
  source->SetSyntaxStyler(HTMLStyler);
  auto* m = new memo::TLumMemo(this);
  memo = m;
  m->SetName(memoName);
  m->SetParent(sheet);
  m->SetAlign(vcl::alClient);
  m->ActiveLineSettings()->SetShowActiveLine(false);
  m->ActiveLineSettings()->SetShowActiveLineIndicator(false);
  m->SetAutoExpand(false);
  m->SetBorderStyle(vcl::TFormBorderStyle::bsSingle);
  m->CodeFolding()->SetEnabled(false);
  m->Gutter()->SetVisible(false);
  vcl::TFont font;
  font.SetName("Arial");
  font.SetHeight(-13);
  font.SetColor(vcl::clBlack);
  m->SetFont(&font);
  m->SetSelColor(vcl::clWhite);
  m->SetSelBkColor(vcl::clNavy);
  m->SetShowRightMargin(true);
  m->SetTabSize(4);
  m->SetTrimTrailingSpaces(false);
  m->SetUndoLimit(100);
  m->SetUseStyler(true);
  m->SetSyntaxStyles(HTMLStyler);
  m->SetMemoSource(source);
  m->OnChange = [this](vcl::TObject* sender) { re_bodyChange(sender); };
}

void Tfrm_Main::Loaded() {
  vcl::TForm::Loaded();
  ResetStyleSheet();
  RefillStyleCombo();
}

void Tfrm_Main::FormCreate(vcl::TObject*) {
  prjManager_ = new core::Tprjmanager();
  InitModuleTools();
  HTMLEdit->AddKeyCommand(htmlview::psmKeyEnter, {static_cast<htmledit::TKeyShortCut>(htmledit::kscShift | vcl::VK_RETURN)},
                          true, false);
  HTMLEdit->AddKeyCommand(htmlview::psmShiftEnter, {static_cast<htmledit::TKeyShortCut>(vcl::VK_RETURN)}, true, true);
  Cb_ribbonFontPicker->Items()->Assign(*vcl::Screen->Fonts());
  HTMLEdit->AddSmartTagHandler(new htmledit::TpsSmartTagCreateLinkHandler(
      true, 0xFF0000,
      [this](htmledit::TpsSmartTagCreateLinkHandler*, const htmledit::TpsPoint2&, const htmledit::TpsRect2& fragment,
             const AnsiString& url, AnsiString& replacement, AnsiString& html,
             std::unique_ptr<htmldoc::TpsMarkupTag>& outer) {
        LinkCreatorCallback(fragment, url, replacement, html, outer);
      }));
  spellTagId_ = HTMLEdit->AddSmartTagHandler(new spell::TpsSmartTagSpellchecker(spell_, true, 0x0000FF));
  SetModified(false);
  previousException_ = vcl::Application->OnException;
  vcl::Application->OnException = [this](vcl::TObject* sender, rtl::Exception& e) {
    ApplicationEvents1Exception(sender, e);
  };
}

void Tfrm_Main::InitModuleTools() {
  cdfsDevice_ = new core::TcdfsDevice();
  webExt_ = new core::TZelWebExt();
  SimulatorSetup = core::CreateSimulatorFrame(this, *webExt_);
  SimulatorSetup->SetName("SimulatorSetup");
  SimulatorSetup->SetParentControl(SimTab);
  SimulatorSetup->SetOnRefresh([this](vcl::TObject* sender) { SimulatorRefresh(sender); });
  core::TwebServerTagList* tags = webExt_->TagList();
  const Integer category = InsertHTMLpanel->AddCategory("");
  for (Integer i = 0; i < tags->Count(); ++i) {
    core::TzelWebCmd* cmd = tags->Commands(i);
    if (!cmd->IsVisible()) continue;
    InsertHTMLpanel->AddItem(category, cmd->GetName(), cmd, [this](vcl::TObject* s) { CustomHTMLInsert(s); });
    ZelExtCB->Items()->AddObject(cmd->GetName(), cmd);
  }
  InsertHTMLpanel->SetCategoryCaption(category, tags->GetCaption());
  ZelExtCB->SetItemIndex(0);
}

void Tfrm_Main::FormShow(vcl::TObject*) {
  HTMLEdit->RegisterHtmlCode("&#37;", 37);
  LoadSettings();
  hoveredGlow_ = nullptr;
  for (Integer i = 0; i < ComponentCount(); ++i) {
    if (auto* glow = dynamic_cast<controls::TLumGlowButton*>(Components(i))) {
      glow->OnMouseEnter = [this, glow](vcl::TObject*) { hoveredGlow_ = glow; };
      glow->OnMouseLeave = [this](vcl::TObject*) { hoveredGlow_ = nullptr; };
    }
  }
}

void Tfrm_Main::FormCloseQuery(vcl::TObject*, bool& canClose) { canClose = ConfirmSavePage() && ConfirmSaveProject(); }

void Tfrm_Main::FormClose(vcl::TObject*, vcl::TCloseAction&) {
  // A settings file that cannot be written is reported; the window closes
  // all the same.
  try {
    SaveSettings(GetSettingsFileName());
  } catch (...) {
    vcl::Application->HandleException(this);
  }
}

void Tfrm_Main::FormDestroy(vcl::TObject*) {
  if (core::TDebugBase::DumpLogAtExit())
    core::TDebugBase::SaveLogToFile(rtl::ExtractFilePath(GetSettingsFileName()) + "debug.txt");
  delete prjManager_;
  prjManager_ = nullptr;
  // The frame shows the web extension's simulator and lets go of it when
  // freed: it goes first.
  vcl::Free(SimulatorSetup);
  SimulatorSetup = nullptr;
  delete cdfsDevice_;
  cdfsDevice_ = nullptr;
  delete webExt_;
  webExt_ = nullptr;
  vcl::Application->OnException = previousException_;
}

void Tfrm_Main::ApplicationEvents1Exception(vcl::TObject*, rtl::Exception& e) {
  core::TDebugBase::LogFor(e.Message(), "Tfrm_Main");
  core::TDebugBase::SetDumpLogAtExit();
  vcl::MessageBeep(vcl::MB_ICONHAND);
  vcl::MessageDlg(e.Message(), vcl::mtError, {vcl::mbOK}, 0);
}

void Tfrm_Main::SetModified(bool value) {
  if (!IsHtmlName(pageFile_)) return;
  modified_ = value;
  ShowStatus(4, value ? "Modified" : "");
}

void Tfrm_Main::SimulatorRefresh(vcl::TObject*) {
  if (PageControl->ActivePage() == ts_InternetExplorer) RunPreview();
}

void Tfrm_Main::ShowStatus(Integer panel, const AnsiString& text) { StatusBar->Panels()->Items(panel)->SetText(text); }

void Tfrm_Main::btnQuitClick(vcl::TObject*) { Close(); }

void Tfrm_Main::Dispatch(vcl::TMessage& message) {
  if (message.Msg == WM_EDITDEVICETAG) {
    EditDeviceTagMessage();
    return;
  }
  vcl::TForm::Dispatch(message);
}

AnsiString Tfrm_Main::ProgramDataFolder() {
  // Installed, the shipped files live in the share folder beside the
  // program's; in a build they are copied next to the program.
  const AnsiString share = rtl::ProgramFolder() + "../share/tolvane/";
  if (rtl::DirectoryExists(share)) return share;
  return rtl::ProgramFolder();
}

}  // namespace ide
