#pragma once
// Tfrm_Main, the environment's main window: the HTML editor with its source
// views on a page control, the tool-panel bars with the project tree, the
// tag palette and the simulation panels, the status bar, the dialogs, menus
// and actions, and the state the window owns (spell checker, project, web
// extension, module data module, settings).
//
// The units of the window, by concern: MainForm.cpp (construction, start,
// closing, destruction, the exception handler, the modified flag),
// MainSettings.cpp (the settings file), MainPages.cpp (page open and save,
// the save prompts, the project's save), MainTagImages.cpp (module tags as
// pictures in the editor), MainSourceViews.cpp (the source views and the
// style sheet).
//
// The ribbon (`mainpager`) is placed on the form by the ribbon builder
// (MainRibbon.cpp); the controls that sit on its toolbars (the tag, font,
// size and style combo boxes) are components of the form made here without
// a parent, so the builder only has to seat them. MainActions.cpp makes the
// action list the ribbon binds: every command of the window with its
// caption, shortcut and help context. A command another unit carries out
// gets its OnExecute and OnUpdate there, hooked in from the constructor;
// until then its action stays disabled.
#include <functional>
#include <memory>
#include <vector>

#include "core/CdfsDeviceU.h"
#include "core/PrjManagerU.h"
#include "core/VormekSettingsU.h"
#include "core/ZelWebExtU.h"
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psHtmlEditActions.h"
#include "rtl/StringList.h"
#include "vcl/ActnList.h"
#include "vcl/ComCtrls.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"

namespace vcl {
class TMenuItem;
class TComboBox;
class TEdit;
class TListBox;
class TListView;
class TGraphic;
class TPicture;
class TFontDialog;
class TColorDialog;
class TFindDialog;
}  // namespace vcl
namespace memo {
class TLumMemo;
class TLumMemoSource;
class TLumHTMLMemoStyler;
}  // namespace memo
namespace controls {
class TLumToolPanelTab;
class TLumToolPanel;
class TLumPopupMenu;
class TLumGlowButton;
}  // namespace controls
namespace support {
class TWexCheckTree;
}
namespace core {
class TvormekCmdItem;
class TFrmVormekDevSetup;
}  // namespace core
namespace web {
class TCustomWebBrowser;
}
namespace spell {
class TLexaSpell3;
}
namespace htmledit {
class TpsImage;
struct TpsRect2;
}
namespace ribbon {
class TRorIvezEviPager;
}

namespace ide {

using rtl::AnsiString;
using rtl::Integer;

class TCategoryButtons;

// The module the window talks to: its address text ("" when none) and the
// connection kind.
struct TactiveDevice {
  AnsiString Address;
  rtl::Byte Kind = 0;
};

// The window's tag-editing message, posted after a double click on a tag
// picture.
inline constexpr vcl::Cardinal WM_EDITDEVICETAG = 1024 + 38;

// The picture prefix: an image whose source holds it is a tag picture.
inline constexpr char kTagImagePrefix[] =
    "ZEL_TOLVANE_CMD_yes.the.cubs.suck.go.snappers.go.637D258F4B954128B381FF1D9B899684_BMPS\\";

// A file is a page when its name's extension holds "htm" in any letter case
// (".htm", ".html", ".shtml", ".HTM"); the folders on its path do not count.
bool IsHtmlName(const AnsiString& fileName);
// "<BODY></BODY>" (any case) becomes "<BODY> <DIV> </DIV> </BODY>".
AnsiString AddBodyDiv(const AnsiString& text);
// The prefix and the command text with every byte outside A-Z, a-z, 0-9
// and "-" written as "_" and two upper-case hex digits.
AnsiString EscapeTagText(const AnsiString& text);
// The way back; a "_" not followed by two hex digits is copied as it
// stands.
AnsiString UnescapeTagText(const AnsiString& escaped);
// A value as it stands inside a double-quoted attribute: '&' as "&amp;",
// '"' as "&quot;".
AnsiString HtmlAttributeText(const AnsiString& value);
// The picture's HTML for a source name.
AnsiString TagImageHtmlForSource(const AnsiString& source);

// The size of a tag picture for its text on a canvas, and its drawing: the
// text measured on the canvas, green ground, white rounded box with a black
// two-pixel frame, the text in black.
vcl::TSize TagPictureSize(vcl::TCanvas& canvas, const AnsiString& text);
void DrawTagPicture(vcl::TCanvas& canvas, const AnsiString& text);
inline constexpr vcl::TColor kTagPictureGround = 0x008000;

class Tfrm_Main : public vcl::TForm {
 public:
  explicit Tfrm_Main(vcl::TComponent* owner);
  ~Tfrm_Main() override;

  // --- components, named as on the form ---
  htmledit::TpsHTMLEdit* HTMLEdit = nullptr;
  vcl::TPageControl* PageControl = nullptr;
  vcl::TTabSheet* ts_HTMLEdit = nullptr;
  vcl::TTabSheet* ts_InternetExplorer = nullptr;
  vcl::TTabSheet* ts_Body = nullptr;
  vcl::TTabSheet* ts_HTML = nullptr;
  vcl::TTabSheet* ts_Stylesheet = nullptr;
  vcl::TTabSheet* ts_MetaTags = nullptr;
  memo::TLumMemo* re_body = nullptr;
  memo::TLumMemo* re_HTML = nullptr;
  memo::TLumMemo* re_stylesheet = nullptr;
  memo::TLumMemoSource* BodyMemoSrc = nullptr;
  memo::TLumMemoSource* HTMLMemoSrc = nullptr;
  memo::TLumMemoSource* stylememoSrc = nullptr;
  memo::TLumHTMLMemoStyler* HTMLStyler = nullptr;
  vcl::TListView* lv_Meta = nullptr;
  controls::TLumToolPanelTab* ct = nullptr;
  controls::TLumToolPanelTab* RightBar = nullptr;
  controls::TLumToolPanelTab* bottomBar = nullptr;
  controls::TLumToolPanel* ProjectManagerTab = nullptr;
  controls::TLumToolPanel* insertPanel = nullptr;
  controls::TLumToolPanel* SimTab = nullptr;
  controls::TLumToolPanel* simErrorsTab = nullptr;
  support::TWexCheckTree* ProjectDisplay = nullptr;
  TCategoryButtons* InsertHTMLpanel = nullptr;
  vcl::TListBox* SimErrorListBox = nullptr;
  vcl::TStatusBar* StatusBar = nullptr;
  vcl::TOpenDialog* OpenDialog = nullptr;
  vcl::TSaveDialog* SaveDialog = nullptr;
  vcl::TOpenDialog* od_ImportTextfile = nullptr;
  controls::TLumPopupMenu* EditorMenu = nullptr;
  controls::TLumPopupMenu* pm_Image = nullptr;
  controls::TLumPopupMenu* LinkPopUp = nullptr;
  controls::TLumPopupMenu* TableMenu = nullptr;
  controls::TLumPopupMenu* pm_LinkCreator = nullptr;
  controls::TLumPopupMenu* RecentPrjMenu = nullptr;
  controls::TLumPopupMenu* ImportTextMenu = nullptr;
  controls::TLumPopupMenu* HelpPopup = nullptr;
  vcl::TMenuItem* mi_CreateImageLink = nullptr;
  vcl::TMenuItem* mi_DeleteImageLink = nullptr;
  ribbon::TRorIvezEviPager* mainpager = nullptr;
  htmledit::TpsHtmlEditActionList* psHtmlEditActionList1 = nullptr;
  // The window's own commands, in the action list's order.
  vcl::TAction* NewAct = nullptr;
  vcl::TAction* OpenAct = nullptr;
  vcl::TAction* SaveAct = nullptr;
  vcl::TAction* SaveAsACt = nullptr;
  vcl::TAction* CloseAct = nullptr;
  vcl::TAction* NewPrjAct = nullptr;
  vcl::TAction* OpenPrjAct = nullptr;
  vcl::TAction* SavePrjAct = nullptr;
  vcl::TAction* SaveProjectAs = nullptr;
  vcl::TAction* AddPrjAct = nullptr;
  vcl::TAction* RemoveAct = nullptr;
  vcl::TAction* PrintAct = nullptr;
  vcl::TAction* printpreviewAct = nullptr;
  vcl::TAction* PrintSetupAct = nullptr;
  vcl::TAction* ExitAct = nullptr;
  vcl::TAction* ac_Copy = nullptr;
  vcl::TAction* ac_Paste = nullptr;
  vcl::TAction* FontColorAct = nullptr;
  vcl::TAction* BkgColorAct = nullptr;
  vcl::TAction* RemoveSpanAct = nullptr;
  vcl::TAction* RestoreSizeAct = nullptr;
  vcl::TAction* DeleteImageAct = nullptr;
  vcl::TAction* AlignImgLeft = nullptr;
  vcl::TAction* AlignImgMiddleAct = nullptr;
  vcl::TAction* AlignImageRightAct = nullptr;
  vcl::TAction* MakeImageLinkAct = nullptr;
  vcl::TAction* SpellCheckAct = nullptr;
  vcl::TAction* SpellCheckOptsAct = nullptr;
  vcl::TAction* WordCntAct = nullptr;
  vcl::TAction* GraphicsAct = nullptr;
  vcl::TAction* btnHyperlinkAct = nullptr;
  vcl::TAction* ImageAct = nullptr;
  vcl::TAction* TableAct = nullptr;
  vcl::TAction* DeleteTableAct = nullptr;
  vcl::TAction* ImportTextAct = nullptr;
  vcl::TAction* ImportWOlinebreaks = nullptr;
  vcl::TAction* UploadAct = nullptr;
  vcl::TAction* CDFSAct = nullptr;
  vcl::TAction* ChangeDevice = nullptr;
  vcl::TAction* SettingsAct = nullptr;
  vcl::TAction* EdtZelExt = nullptr;
  vcl::TAction* btnHyperlink = nullptr;
  vcl::TAction* RemoveLinkAct = nullptr;
  vcl::TAction* RevealTagsAct = nullptr;
  vcl::TAction* EditCut1 = nullptr;
  vcl::TAction* EditCopy1 = nullptr;
  vcl::TAction* EditPaste1 = nullptr;
  vcl::TAction* UndoAction = nullptr;
  vcl::TAction* RedoAct = nullptr;
  vcl::TAction* NextTab = nullptr;
  vcl::TAction* SearchFind = nullptr;
  vcl::TAction* ProjectManagerAct = nullptr;
  vcl::TAction* InsertAction = nullptr;
  vcl::TAction* SimulateAct = nullptr;
  vcl::TAction* SimErrors = nullptr;
  vcl::TAction* ShowHelp = nullptr;
  vcl::TAction* KeywordHelp = nullptr;
  vcl::TAction* AboutAct = nullptr;
  // The editor's own commands placed on the form (their captions are the
  // editor's).
  htmledit::TpsHtmlEditAction* ac_Undo = nullptr;
  htmledit::TpsHtmlEditAction* ac_Redo = nullptr;
  htmledit::TpsHtmlEditAction* ac_Cut = nullptr;
  htmledit::TpsHtmlEditAction* ac_Bold = nullptr;
  htmledit::TpsHtmlEditAction* ac_Italic = nullptr;
  htmledit::TpsHtmlEditAction* ac_Underline = nullptr;
  htmledit::TpsHtmlEditAction* ac_StrikeOut = nullptr;
  htmledit::TpsHtmlEditAction* ac_AlignLeft = nullptr;
  htmledit::TpsHtmlEditAction* ac_AlignCenter = nullptr;
  htmledit::TpsHtmlEditAction* ac_AlignRight = nullptr;
  htmledit::TpsHtmlEditAction* ac_UnorderedList = nullptr;
  htmledit::TpsHtmlEditAction* ac_OrderedList = nullptr;
  htmledit::TpsHtmlEditAction* ac_IncreaseListIndent = nullptr;
  htmledit::TpsHtmlEditAction* ac_DecreaseListIndent = nullptr;
  htmledit::TpsHtmlEditAction* ac_TableInsertColumnToTheLeft = nullptr;
  htmledit::TpsHtmlEditAction* ac_TableInsertColumnToTheRight = nullptr;
  htmledit::TpsHtmlEditAction* ac_TableInsertRowAbove = nullptr;
  htmledit::TpsHtmlEditAction* ac_TableInsertRowBelow = nullptr;
  htmledit::TpsHtmlEditAction* ac_TableDeleteCurrentColumn = nullptr;
  htmledit::TpsHtmlEditAction* ac_TableDeleteCurrentRow = nullptr;
  // The simulator's setup frame, docked in SimTab.
  core::TFrmVormekDevSetup* SimulatorSetup = nullptr;
  // On the ribbon's toolbars (seated by the ribbon builder).
  vcl::TComboBox* ZelExtCB = nullptr;
  vcl::TComboBox* Cb_ribbonFontPicker = nullptr;
  vcl::TComboBox* CB_RibbonfontSize = nullptr;
  vcl::TComboBox* Cb_RibbonStyle = nullptr;
  vcl::TEdit* ed_LinkHRef = nullptr;

  // --- start, closing and destruction ---
  void Loaded() override;
  void FormCreate(vcl::TObject* Sender);
  void InitModuleTools();
  void FormShow(vcl::TObject* Sender);
  void FormCloseQuery(vcl::TObject* Sender, bool& CanClose);
  void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
  void FormDestroy(vcl::TObject* Sender);
  void ApplicationEvents1Exception(vcl::TObject* Sender, rtl::Exception& E);
  void SetModified(bool value);
  bool Modified() const { return modified_; }
  // The simulator frame's Refresh: the preview runs again when it is the
  // page shown.
  void SimulatorRefresh(vcl::TObject* Sender);

  // --- settings ---
  AnsiString GetSettingsFileName() const;
  void LoadSettings();
  // Writes the settings file as one replacement: every section is gathered
  // in a staging file beside it, which then takes the file's place.
  void SaveSettings(const AnsiString& fileName);

  // --- pages and the save prompts ---
  bool ConfirmSavePage();
  bool ConfirmSaveProject();
  // The project is modified, or its last save failed.
  bool ProjectModified() const;
  void SaveProject();
  void OpenPage(const AnsiString& fileName);
  void WritePage(const AnsiString& fileName);
  void SavePage();
  void SavePageAs();
  void NewPage();
  void NewDocument();
  bool SelectPageFile(AnsiString& fileName);
  void HtmlEditDocumentLoadingError(vcl::TObject* Sender, const AnsiString& className, const AnsiString& message);
  void btnLoadDocumentClick(vcl::TObject* Sender);
  void btnSaveDocumentClick(vcl::TObject* Sender);
  void btnSaveAsClick(vcl::TObject* Sender);
  void btnNewClick(vcl::TObject* Sender);
  void btnQuitClick(vcl::TObject* Sender);
  const AnsiString& PageFileName() const { return pageFile_; }
  const AnsiString& PageFolder() const { return pageDir_; }
  const rtl::TStringList& DocumentHistory() const { return *docHistory_; }
  bool LoadingError() const { return loadingError_; }

  // --- module tags as pictures ---
  AnsiString BuildTagImageSource(const AnsiString& tagText);
  AnsiString TagImageHtml(const AnsiString& tagText);
  void InsertDeviceTag(core::TvormekCmdItem* tagType);
  void InsertZelBtnClick(vcl::TObject* Sender);
  void CustomHTMLInsert(vcl::TObject* Sender);
  void EdtZelExtExecute(vcl::TObject* Sender);
  void ac_CopyExecute(vcl::TObject* Sender);
  void EditDeviceTagMessage();
  // The selected image's custom tag is a module tag.
  bool SelectedImageIsDeviceTag();

  // --- the ribbon and its state ---
  // Visual editing: the page control shows and "Visual" is its page.
  bool VisualEditing() const;
  // Run at every update of the action list: the "&Edit" page for the
  // editing mode, the pages and controls that need visual editing.
  void psHtmlEditActionList1Update();
  void mainpagerChanging(vcl::TObject* Sender, int FromPage, int ToPage, bool& AllowChange);
  void HelpClick(vcl::TObject* Sender);
  // The View toolbar's panel toggles (MainPanelToggles.cpp): checked, the
  // panel is shown (docked: opened from its tab and locked open);
  // unchecked, it is put away and hidden.
  void PanelToggleExecute(vcl::TAction* action, controls::TLumToolPanel* panel);
  // The toggle's check: the panel shows, or is neither hidden nor floating.
  bool PanelToggleState(const controls::TLumToolPanel* panel) const;

  // --- font, colours and find (MainFormatCommands.cpp) ---
  vcl::TFontDialog* FontDialog = nullptr;
  vcl::TColorDialog* cd_ColorSelection = nullptr;
  vcl::TFindDialog* FindDialog1 = nullptr;
  void btn_FontColorClick(vcl::TObject* Sender);
  void BkgColorActExecute(vcl::TObject* Sender);
  // The font dialog preset with the styles at the caret; the choice goes
  // to the selection, else to the caret.
  void ChooseFont();
  // Shows the find dialog (on the preview page the browser's own find).
  void SearchFindFindDialogFind(vcl::TObject* Sender);
  // One search in the view shown; a miss beeps and says so.
  void FindDialog1Find(vcl::TObject* Sender);
  // The browser's find on the preview page; set by the preview's unit.
  std::function<void()> ShowBrowserFind;

  // --- editing commands (MainCommands.cpp) ---
  // The HTML editor on "Visual", the page's code editor on "BODY", "HTML"
  // and "Stylesheet", else none.
  vcl::TWinControl* GetActiveEditor() const;
  // The active editor when it is a code editor.
  memo::TLumMemo* ActiveCodeEditor() const;
  // A picture is selected that is no module tag.
  bool OrdinaryImageSelected();
  // The caret stands in a table.
  bool CaretInTable();
  void EditCut1Execute(vcl::TObject* Sender);
  void EditCopy1Execute(vcl::TObject* Sender);
  void EditPaste1Execute(vcl::TObject* Sender);
  void UndoActionExecute(vcl::TObject* Sender);
  void RedoActExecute(vcl::TObject* Sender);
  void NextTabExecute(vcl::TObject* Sender);
  void btnRemoveInnermostSpanClick(vcl::TObject* Sender);
  void RevealTagsActExecute(vcl::TObject* Sender);
  void mi_RestoreOriginalSizeClick(vcl::TObject* Sender);
  void btnDeleteImageClick(vcl::TObject* Sender);
  void mi_AlignLeftClick(vcl::TObject* Sender);
  void mi_AlignMiddleClick(vcl::TObject* Sender);
  void mi_AlignRightClick(vcl::TObject* Sender);
  void Table3Click(vcl::TObject* Sender);
  void cbStylestoolbarChange(vcl::TObject* Sender);
  void cb_FontPickertoolbarChange(vcl::TObject* Sender);
  void cb_FontSizeToolBarChange(vcl::TObject* Sender);
  // Links: the "a" tag of the caret's block (null: none), a click on a
  // link's text, the link menu's entries, the removal of the link.
  htmldoc::TpsMarkupTag* CaretLinkTag();
  void HTMLEditTextClicked(vcl::TObject* Sender);
  void mi_OpenURLClick(vcl::TObject* Sender);
  void mi_OpenDocumentClick(vcl::TObject* Sender);
  void RemoveLinkActExecute(vcl::TObject* Sender);
  // A link's target as a file: relative to the current page's folder.
  AnsiString LinkFileName(const AnsiString& href) const;
  // Hands a web or mail address to the desktop's "open"; anything else is
  // refused with a message. True when it was handed over.
  bool OpenLinkInBrowser(const AnsiString& href);
  // The ribbon's view of the caret: the style, font and size combo boxes
  // and the table cell in the status bar; run when the caret moves and
  // when the document changes.
  // Delete released in the HTML editor deletes the selected picture.
  void FormKeyUp(vcl::TObject* Sender, vcl::Word& Key, vcl::TShiftState Shift);
  void UpdateLinkControls();
  // True: the link edit takes an address ("http://" to start from); false:
  // it is locked and empty.
  void SetLinkEditMode(bool editable);
  void btnHyperlinkoldClick(vcl::TObject* Sender);
  // Puts the link edit's address around the selection as a link.
  void ApplyLink();
  void UpdateBlockControls();
  void UpdateFontControls();
  void ShowTableCell();
  void HTMLEditCursorMoved();
  // Spelling, the word count and the text import.
  void mi_SpellingClick(vcl::TObject* Sender);
  void mi_SpellCheckOptionsClick(vcl::TObject* Sender);
  void WordCount1Click(vcl::TObject* Sender);
  void ImportText(bool onePerLine);
  void HtmlEditSplitBlock(const AnsiString& currentClass, rtl::Byte cursorPosition, AnsiString& firstClass,
                          AnsiString& secondClass, bool& allowSplit);
  void HTMLEditMergeBlocks(const AnsiString& firstClass, const AnsiString& secondClass, bool firstEmpty,
                           bool secondEmpty, AnsiString& mergedClass);

  // --- source views and the style sheet ---
  void PageControlChanging(vcl::TObject* Sender, bool& AllowChange);
  void PageControlChange(vcl::TObject* Sender);
  void ShowPage(vcl::TTabSheet* page);
  void SyncViews();
  void SyncSourceToEditor();
  void ResetStyleSheet();
  void RefreshStyleSheetView();
  void RefillStyleCombo();
  void re_bodyChange(vcl::TObject* Sender);

  // --- preview of the page (MainPreview.cpp) ---
  web::TCustomWebBrowser* wb_Browser = nullptr;
  // The error list's object for an entry without a line.
  static constexpr Integer kNoLine = -1;
  enum class TPreviewPrint { Print, Preview, Setup };
  void BuildPreview();
  AnsiString GetPreviewFileName() const;
  void RunPreview();
  void SimErrorListBoxDblClick(vcl::TObject* Sender);
  void wb_BrowserBeforeNavigate2(vcl::TObject* Sender, const AnsiString& url, bool& cancel);
  void FindInPreview();
  void PrintPreviewPage(TPreviewPrint kind);

  // --- what the window owns ---
  spell::TLexaSpell3* Spell() const { return spell_; }
  Integer SpellTagId() const { return spellTagId_; }
  core::Tprjmanager* Project() const { return prjManager_; }
  core::TZelWebExt* WebExt() const { return webExt_; }
  core::TcdfsDevice* CdfsDevice() const { return cdfsDevice_; }
  core::TVormeksettings* VormekSettings() const { return vormekSettings_.get(); }
  const TactiveDevice& ActiveDevice() const { return activeDevice_; }

  // --- insert and link commands, graphics list, print preview, about
  // (MainInsertCommands.cpp) ---
  void InsertPicture1Click(vcl::TObject* Sender);
  void Create1Click(vcl::TObject* Sender);
  void InsertAnchorClick(vcl::TObject* Sender);
  // The link smart tag's callback: pops up pm_LinkCreator under the marked
  // address and hands back what its chosen command decided (nothing
  // changes unless "Create Link..." was confirmed with a name).
  void LinkCreatorCallback(const htmledit::TpsRect2& fragment, const AnsiString& url, AnsiString& replacement,
                           AnsiString& html, std::unique_ptr<htmldoc::TpsMarkupTag>& outerTag);
  void CreateLink1Click(vcl::TObject* Sender);
  void OpenURLinbrowser1Click(vcl::TObject* Sender);
  void mi_CreateImageLinkClick(vcl::TObject* Sender);
  void mi_AlternativeTextClick(vcl::TObject* Sender);
  // The sources of the document's images, tag pictures left out, each once.
  std::vector<AnsiString> DocumentGraphicSources();
  void mi_GraphicsClick(vcl::TObject* Sender);
  // The print preview window on the editor; "Print" prints without margins.
  void ShowPrintPreviewWindow();
  void AboutActExecute(vcl::TObject* Sender);
  vcl::TMenuItem* CreateLink1 = nullptr;
  vcl::TMenuItem* OpenURLinbrowser1 = nullptr;

  // --- the image command (MainTargetCommands.cpp) ---
  void CDFSActExecute(vcl::TObject* Sender);
  // Builds the project's active files into the image file; a failure is
  // shown with the builder's reason and leaves the old image.
  bool BuildImage();
  const AnsiString& ImageFile() const { return imageFile_; }
  // Another image builder than the one beside the program ("" for that).
  void SetImageBuilder(const AnsiString& path) { imageBuilder_ = path; }

  // Where the shipped files are read ("Stylesheet.css", "Placeholder.bmp").
  static AnsiString ProgramDataFolder();

  void Dispatch(vcl::TMessage& message) override;

 private:
  void BuildComponents();
  void BuildSourceView(vcl::TTabSheet* sheet, memo::TLumMemo*& memo, memo::TLumMemoSource*& source,
                       const char* memoName, const char* sourceName);
  void BuildActions();
  void BuildRibbon();
  void BindCommands();
  // A span with this style or class around the selection, or at the caret.
  void ApplySpan(const AnsiString& openTag);
  void FocusEditorOnVisual();
  void BindEditorEvents();
  void ShowStatus(Integer panel, const AnsiString& text);
  void ShowHtmlSource(const AnsiString& text);
  // Loads text into a source view without it counting as the user's edit.
  void FillSourceView(memo::TLumMemoSource* source, const AnsiString& text);
  // Loads UTF-8 text into the editor, as UTF-8 whatever charset its meta
  // tags name, without it counting as the user's edit.
  void LoadEditorText(const AnsiString& text, bool keepStyleSheet);
  void ReloadBodyKeepingHead(const AnsiString& body, bool keepStyleSheet);
  AnsiString DocumentTitle() const;
  void ApplyPageMetaTags();
  void SetContentTypeMeta();

  // The editor's events (module tags as pictures).
  void HTMLEditSupportedCustomTag(const htmldoc::TpsMarkupTag& tag, bool& supported);
  void HTMLEditParseCustomTag(htmldoc::TpsMarkupTag& tag, AnsiString& replace);
  void HTMLEditRecreateCustomTag(htmldoc::TpsMarkupTag& tag, const AnsiString& replacedBy);
  void HTMLEditRequestImage(Integer imageID, Integer width, Integer height, vcl::TGraphic*& graphic,
                            vcl::TPicture*& container);
  void HTMLEditImageMouseEnter(htmledit::TpsImage* image, vcl::TCursor& cursor);
  void HTMLEditImageDoubleClicked(htmledit::TpsImage* image);
  void HTMLEditImageSelected(htmledit::TpsImage* image, bool& resizable, bool& movable);
  void HTMLEditImageUnselected();
  void HTMLEditImageStartDragging(htmledit::TpsImage* image, htmldoc::TpsAllowedDragAlignments& alignments);
  void HTMLEditImageConfirmResize(bool& confirm);
  void HtmlEditPasteFromClipboard(bool& handled);
  bool ImageHasDeviceTag(htmledit::TpsImage* image) const;

  void BindInsertCommands();
  void BindTargetCommands();
  AnsiString imageBuilder_;
  void BindPanelToggles();
  void BindFormatCommands();
  // The link creator's state while its menu is up.
  AnsiString linkUrl_;
  AnsiString linkReplacement_;
  AnsiString linkHtml_;
  std::unique_ptr<htmldoc::TpsMarkupTag> linkOuter_;

  // Owned state, in the order the window makes it.
  spell::TLexaSpell3* spell_ = nullptr;  // owned by the window
  Integer spellTagId_ = -1;
  std::unique_ptr<rtl::TStringList> docHistory_;
  core::TcdfsDevice* cdfsDevice_ = nullptr;
  AnsiString pageFile_;
  AnsiString imageFile_;
  TactiveDevice activeDevice_;
  std::unique_ptr<core::TVormeksettings> vormekSettings_;
  core::Tprjmanager* prjManager_ = nullptr;
  core::TZelWebExt* webExt_ = nullptr;
  bool modified_ = false;
  bool loadingError_ = false;
  AnsiString pageDir_;
  controls::TLumGlowButton* hoveredGlow_ = nullptr;
  // The last project save did not reach the disk.
  bool projectSaveFailed_ = false;
  // A source view is being filled by the window, not typed in.
  int fillingViews_ = 0;
  // The handler the application had before the window took it over.
  vcl::TExceptionEvent previousException_;
};

}  // namespace ide
