// The window's editing commands: the code editors' clipboard and undo, the
// focus step on Esc, spans, pictures and tables in the HTML editor, the
// ribbon's style, font and size combo boxes, and the block classes kept
// across a split or a merge.
#include "controls/LumMenus.h"
#include "htmledit/control/psHtmlEdit.h"  // before the parts that need its types
#include "htmledit/control/psBlockContext.h"
#include "htmledit/control/psObjectSelection.h"
#include "htmledit/control/psSpanLists.h"
#include "htmledit/view/psEditorHost.h"
#include "ide/MainForm.h"

#include <cmath>
#include "memo/LumMemo.h"
#include "rtl/Files.h"
#include "spell/html/psSpellChecker.h"
#include "spell/lx3Spell.h"
#include "rtl/Strings.h"
#include "vcl/Dialogs.h"
#include "vcl/Menus.h"
#include "vcl/Shell.h"
#include "vcl/StdCtrls.h"
#include "vcl/WinApi.h"

namespace ide {

namespace {

// A value as it stands between the double quotes of an attribute: a quote
// or an ampersand in a font's or class's name stays inside the tag.
AnsiString AttributeText(const AnsiString& value) {
  AnsiString out;
  for (char c : value) {
    if (c == '"')
      out += "&quot;";
    else if (c == '&')
      out += "&amp;";
    else
      out += c;
  }
  return out;
}

}  // namespace

vcl::TWinControl* Tfrm_Main::GetActiveEditor() const {
  vcl::TTabSheet* page = PageControl->ActivePage();
  if (page == ts_HTMLEdit) return HTMLEdit;
  if (page == ts_Body) return re_body;
  if (page == ts_HTML) return re_HTML;
  if (page == ts_Stylesheet) return re_stylesheet;
  return nullptr;
}

memo::TLumMemo* Tfrm_Main::ActiveCodeEditor() const { return dynamic_cast<memo::TLumMemo*>(GetActiveEditor()); }

bool Tfrm_Main::OrdinaryImageSelected() { return HTMLEdit->IsImageSelected() && !SelectedImageIsDeviceTag(); }

void Tfrm_Main::BindCommands() {
  const auto bind = [](vcl::TAction* a, std::function<void(vcl::TObject*)> run,
                       std::function<bool()> enabled) {
    a->OnExecute = std::move(run);
    a->OnUpdate = [a, enabled = std::move(enabled)](vcl::TObject*) { a->SetEnabled(enabled()); };
    a->SetEnabled(true);
  };
  const auto always = [] { return true; };
  bind(EditCut1, [this](vcl::TObject* s) { EditCut1Execute(s); },
       [this] { return ActiveCodeEditor() && ActiveCodeEditor()->HasSelection(); });
  bind(EditCopy1, [this](vcl::TObject* s) { EditCopy1Execute(s); },
       [this] { return ActiveCodeEditor() && ActiveCodeEditor()->HasSelection(); });
  bind(EditPaste1, [this](vcl::TObject* s) { EditPaste1Execute(s); }, [this] { return ActiveCodeEditor() != nullptr; });
  bind(UndoAction, [this](vcl::TObject* s) { UndoActionExecute(s); },
       [this] { return ActiveCodeEditor() && ActiveCodeEditor()->CanUndo(); });
  bind(RedoAct, [this](vcl::TObject* s) { RedoActExecute(s); },
       [this] { return ActiveCodeEditor() && ActiveCodeEditor()->CanRedo(); });
  bind(NextTab, [this](vcl::TObject* s) { NextTabExecute(s); }, [this] { return GetActiveEditor() != nullptr; });
  bind(RemoveSpanAct, [this](vcl::TObject* s) { btnRemoveInnermostSpanClick(s); }, always);
  bind(RevealTagsAct, [this](vcl::TObject* s) { RevealTagsActExecute(s); }, always);
  // The check box shows the state; a click turns it over before the
  // command reads it.
  RevealTagsAct->SetAutoCheck(true);
  const auto ordinaryImage = [this] { return OrdinaryImageSelected(); };
  bind(RestoreSizeAct, [this](vcl::TObject* s) { mi_RestoreOriginalSizeClick(s); }, ordinaryImage);
  bind(DeleteImageAct, [this](vcl::TObject* s) { btnDeleteImageClick(s); }, ordinaryImage);
  bind(AlignImgLeft, [this](vcl::TObject* s) { mi_AlignLeftClick(s); }, ordinaryImage);
  bind(AlignImgMiddleAct, [this](vcl::TObject* s) { mi_AlignMiddleClick(s); }, ordinaryImage);
  bind(AlignImageRightAct, [this](vcl::TObject* s) { mi_AlignRightClick(s); }, ordinaryImage);
  bind(DeleteTableAct, [this](vcl::TObject* s) { Table3Click(s); },
       [this] { return HTMLEdit->Showing() && CaretInTable(); });

  // The image menu's entries that are these commands.
  const std::pair<const char*, vcl::TAction*> imageItems[] = {
      {"mi_AlignLeft", AlignImgLeft},      {"mi_AlignMiddle", AlignImgMiddleAct},
      {"mi_AlignRight", AlignImageRightAct}, {"mi_DeleteImage", DeleteImageAct},
      {"mi_RestoreOriginalSize", RestoreSizeAct}};
  for (const auto& [name, action] : imageItems)
    if (auto* item = dynamic_cast<vcl::TMenuItem*>(FindComponent(name))) {
      vcl::TAction* run = action;
      item->OnClick = [run](vcl::TObject*) { run->Execute(); };
    }

  bind(RemoveLinkAct, [this](vcl::TObject* s) { RemoveLinkActExecute(s); },
       [this] { return CaretLinkTag() != nullptr; });
  const auto linkItem = [this](const char* name, const char* caption, vcl::TAction* action,
                               std::function<void(vcl::TObject*)> click) {
    auto* item = new vcl::TMenuItem(this);
    item->SetName(name);
    if (action) item->SetAction(action);
    if (caption[0]) item->SetCaption(caption);
    if (click) item->OnClick = std::move(click);
    LinkPopUp->Items()->Add(item);
  };
  linkItem("mi_OpenURL", "Open URL in Browser", nullptr, [this](vcl::TObject* s) { mi_OpenURLClick(s); });
  linkItem("mi_OpenDocument", "Edit Document", nullptr, [this](vcl::TObject* s) { mi_OpenDocumentClick(s); });
  linkItem("mi_RemoveLink", "", RemoveLinkAct, nullptr);
  HTMLEdit->OnCursorMoved = [this](htmldoc::TObjectPtr) { HTMLEditCursorMoved(); };
  SetKeyPreview(true);
  OnKeyUp = [this](vcl::TObject* s, vcl::Word& key, vcl::TShiftState shift) { FormKeyUp(s, key, shift); };
  // The link edit sits on the ribbon's Hyperlink group.
  ed_LinkHRef = dynamic_cast<vcl::TEdit*>(FindComponent("ed_LinkHRef"));
  ed_LinkHRef->OnExit = [this](vcl::TObject*) { SetLinkEditMode(false); };
  ed_LinkHRef->OnKeyPress = [this](vcl::TObject*, rtl::WideChar& key) {
    if (key == '\r') {
      key = 0;
      ApplyLink();
    }
  };
  SetLinkEditMode(false);
  btnHyperlink->OnExecute = [this](vcl::TObject* s) { btnHyperlinkoldClick(s); };
  HTMLEdit->OnTextClicked = [this](htmldoc::TObjectPtr) { HTMLEditTextClicked(this); };

  bind(SpellCheckAct, [this](vcl::TObject* s) { mi_SpellingClick(s); }, always);
  bind(SpellCheckOptsAct, [this](vcl::TObject* s) { mi_SpellCheckOptionsClick(s); }, always);
  bind(WordCntAct, [this](vcl::TObject* s) { WordCount1Click(s); }, always);
  bind(ImportTextAct, [this](vcl::TObject*) { ImportText(true); }, always);
  bind(ImportWOlinebreaks, [this](vcl::TObject*) { ImportText(false); }, always);

  Cb_RibbonStyle->OnChange = [this](vcl::TObject* s) { cbStylestoolbarChange(s); };
  Cb_ribbonFontPicker->OnChange = [this](vcl::TObject* s) { cb_FontPickertoolbarChange(s); };
  CB_RibbonfontSize->OnChange = [this](vcl::TObject* s) { cb_FontSizeToolBarChange(s); };
  HTMLEdit->OnSplitBlock = [this](htmledit::TObjectPtr, const AnsiString& current, rtl::Byte position,
                                  AnsiString& first, AnsiString& second, bool& allow) {
    HtmlEditSplitBlock(current, position, first, second, allow);
  };
  HTMLEdit->OnMergeBlocks = [this](htmledit::TObjectPtr, const AnsiString& first, const AnsiString& second,
                                   bool firstEmpty, bool secondEmpty, AnsiString& merged) {
    HTMLEditMergeBlocks(first, second, firstEmpty, secondEmpty, merged);
  };
}

void Tfrm_Main::EditCut1Execute(vcl::TObject*) {
  if (memo::TLumMemo* m = ActiveCodeEditor()) m->CutToClipboard();
}

void Tfrm_Main::EditCopy1Execute(vcl::TObject*) {
  if (memo::TLumMemo* m = ActiveCodeEditor()) m->CopyToClipboard();
}

void Tfrm_Main::EditPaste1Execute(vcl::TObject*) {
  if (memo::TLumMemo* m = ActiveCodeEditor()) m->PasteFromClipboard();
}

void Tfrm_Main::UndoActionExecute(vcl::TObject*) {
  if (memo::TLumMemo* m = ActiveCodeEditor()) m->Undo();
}

void Tfrm_Main::RedoActExecute(vcl::TObject*) {
  if (memo::TLumMemo* m = ActiveCodeEditor()) m->Redo();
}

void Tfrm_Main::NextTabExecute(vcl::TObject*) { SelectNext(ActiveControl(), true, true); }

void Tfrm_Main::FocusEditorOnVisual() {
  if (PageControl->ActivePage() == ts_HTMLEdit && HTMLEdit->CanFocus()) HTMLEdit->SetFocus();
}

void Tfrm_Main::btnRemoveInnermostSpanClick(vcl::TObject*) {
  if (HTMLEdit->IsCursorInBlock()) HTMLEdit->GetSpansAroundCursor()->RemoveInnermostSpan(true);
  FocusEditorOnVisual();
}

void Tfrm_Main::RevealTagsActExecute(vcl::TObject*) { HTMLEdit->SetRevealTags(RevealTagsAct->Checked()); }

void Tfrm_Main::mi_RestoreOriginalSizeClick(vcl::TObject*) {
  if (OrdinaryImageSelected()) HTMLEdit->SelectedImage()->SetSize(-1, -1);
}

void Tfrm_Main::btnDeleteImageClick(vcl::TObject*) {
  if (OrdinaryImageSelected()) HTMLEdit->DeleteSelectedImage();
}

void Tfrm_Main::mi_AlignLeftClick(vcl::TObject*) {
  if (OrdinaryImageSelected()) HTMLEdit->SelectedImage()->SetAlignment(0);
}

void Tfrm_Main::mi_AlignMiddleClick(vcl::TObject*) {
  if (OrdinaryImageSelected()) HTMLEdit->SelectedImage()->SetAlignment(2);
}

void Tfrm_Main::mi_AlignRightClick(vcl::TObject*) {
  if (OrdinaryImageSelected()) HTMLEdit->SelectedImage()->SetAlignment(1);
}

bool Tfrm_Main::CaretInTable() {
  // Asked of the view itself: the editor's caret context is refreshed when
  // its caret-moved update runs, which a click does not always bring.
  return HTMLEdit->GetCursorTableNode(false) != nullptr;
}

void Tfrm_Main::Table3Click(vcl::TObject*) {
  if (CaretInTable()) HTMLEdit->DeleteTable();
}

void Tfrm_Main::ApplySpan(const AnsiString& openTag) {
  if (HTMLEdit->HasTextSelection())
    HTMLEdit->AddSpanToSelection(openTag);
  else
    HTMLEdit->InsertSpanAtCursor(openTag);
  FocusEditorOnVisual();
}

void Tfrm_Main::cbStylestoolbarChange(vcl::TObject*) {
  const AnsiString style = Cb_RibbonStyle->Text();
  if (HTMLEdit->HasTextSelection()) {
    HTMLEdit->RemoveSpanFromSelection("");
    HTMLEdit->AddSpanToSelection("<span class=\"" + AttributeText(style) + "\">");
  } else if (HTMLEdit->IsCursorInBlock()) {
    HTMLEdit->GetCurrentBlock()->SetClass(style);
  }
  FocusEditorOnVisual();
}

void Tfrm_Main::cb_FontPickertoolbarChange(vcl::TObject*) {
  ApplySpan("<span style=\"font-family:" + AttributeText(Cb_ribbonFontPicker->Text()) + "\">");
}

void Tfrm_Main::cb_FontSizeToolBarChange(vcl::TObject*) {
  ApplySpan("<span style=\"font-size:" + AttributeText(CB_RibbonfontSize->Text()) + "\">");
}

void Tfrm_Main::FormKeyUp(vcl::TObject*, vcl::Word& key, vcl::TShiftState) {
  // Only where the picture is: a Delete typed in the link edit or a source
  // view is that control's own.
  if (key == vcl::VK_DELETE && HTMLEdit->Focused() && HTMLEdit->IsImageSelected()) HTMLEdit->DeleteSelectedImage();
}

void Tfrm_Main::SetLinkEditMode(bool editable) {
  ed_LinkHRef->SetReadOnly(!editable);
  ed_LinkHRef->SetColor(editable ? vcl::clWindow : vcl::clBtnFace);
  ed_LinkHRef->SetText(editable ? "http://" : "");
  if (editable) {
    ed_LinkHRef->SetSelStart(static_cast<Integer>(ed_LinkHRef->Text().size()));
    ed_LinkHRef->SetSelLength(0);
  }
}

void Tfrm_Main::UpdateLinkControls() {
  const bool selected = HTMLEdit->HasTextSelection();
  if (!HTMLEdit->IsCursorInBlock() || selected) {
    if (selected) {
      btnHyperlink->SetEnabled(!HTMLEdit->GetReadOnly());
      SetLinkEditMode(btnHyperlink->Enabled());
    }
  } else if (htmldoc::TpsMarkupTag* link = CaretLinkTag()) {
    SetLinkEditMode(false);
    ed_LinkHRef->SetText(link->GetAttribute("href"));
    btnHyperlink->SetEnabled(false);
    RemoveLinkAct->SetEnabled(true);
  } else {
    ed_LinkHRef->SetText("");
    btnHyperlink->SetEnabled(!HTMLEdit->GetReadOnly() && btnHyperlink->Checked());
    SetLinkEditMode(btnHyperlink->Enabled());
    RemoveLinkAct->SetEnabled(false);
  }
  EdtZelExt->SetEnabled(SelectedImageIsDeviceTag());
}

void Tfrm_Main::btnHyperlinkoldClick(vcl::TObject*) {
  if (!ed_LinkHRef->Text().empty()) {
    ApplyLink();
  } else if (HTMLEdit->HasTextSelection()) {
    SetLinkEditMode(true);
    if (ed_LinkHRef->CanFocus()) ed_LinkHRef->SetFocus();
    btnHyperlink->SetChecked(false);
  }
}

void Tfrm_Main::ApplyLink() {
  if (HTMLEdit->HasTextSelection()) {
    HTMLEdit->InsertTagAroundSelection("<a href=\"" + AttributeText(ed_LinkHRef->Text()) + "\">");
    HTMLEdit->ClearSelection();
  }
  SetLinkEditMode(false);
  FocusEditorOnVisual();
}

void Tfrm_Main::UpdateBlockControls() {
  if (htmledit::TpsBlock* block = HTMLEdit->GetCurrentBlock())
    Cb_RibbonStyle->SetItemIndex(Cb_RibbonStyle->Items()->IndexOf(block->GetClass()));
}

void Tfrm_Main::UpdateFontControls() {
  AnsiString family;
  HTMLEdit->GetCursorFontFamily(family);
  Cb_ribbonFontPicker->SetItemIndex(family.empty() ? -1 : Cb_ribbonFontPicker->Items()->IndexOf(family));
  if (HTMLEdit->IsCursorInBlock()) {
    htmledit::TpsSpanList* spans = HTMLEdit->GetSpansAroundCursor();
    if (spans->GetCount() > 0)
      Cb_RibbonStyle->SetItemIndex(
          Cb_RibbonStyle->Items()->IndexOf(spans->GetSpan(spans->GetCount() - 1)->GetAttribute("class")));
  }
  htmldoc::TpsFontSizeValue size;
  HTMLEdit->GetCursorFontSize(size);
  constexpr rtl::Byte kPoints = 1, kPixels = 6;
  if (size.Value == 0) {
    CB_RibbonfontSize->SetItemIndex(-1);
  } else if (size.Unit == kPoints || size.Unit == kPixels) {
    const AnsiString entry = std::to_string(static_cast<long>(std::lround(size.Value))) + (size.Unit == kPoints ? "pt" : "px");
    CB_RibbonfontSize->SetItemIndex(CB_RibbonfontSize->Items()->IndexOf(entry));
  }
}

void Tfrm_Main::ShowTableCell() {
  if (htmledit::TpsTable* table = HTMLEdit->GetCurrentTable())
    ShowStatus(2, "(" + std::to_string(table->GetCurrentColumn()) + "," + std::to_string(table->GetCurrentRow()) + ")");
}

void Tfrm_Main::HTMLEditCursorMoved() {
  UpdateLinkControls();
  UpdateBlockControls();
  UpdateFontControls();
  ShowTableCell();
  HTMLEdit->Invalidate();
}

void Tfrm_Main::mi_SpellingClick(vcl::TObject*) {
  // Straight to "Visual": the check reads the editor, which the views'
  // change handlers would first fill from a source view.
  PageControl->SetActivePage(ts_HTMLEdit);
  spell::SpellCheckHtmlEdit(spell_, HTMLEdit);
}

void Tfrm_Main::mi_SpellCheckOptionsClick(vcl::TObject*) { spell_->ShowConfigDialog(); }

void Tfrm_Main::WordCount1Click(vcl::TObject*) {
  const Integer words = spell::CountHtmlEditWords(spell_, HTMLEdit);
  vcl::MessageDlg("The current document contains " + std::to_string(words) + " words.", vcl::mtInformation,
                  {vcl::mbOK}, 0);
}

void Tfrm_Main::ImportText(bool onePerLine) {
  if (od_ImportTextfile->Execute()) HTMLEdit->ImportTextFile(od_ImportTextfile->FileName(), onePerLine);
}

htmldoc::TpsMarkupTag* Tfrm_Main::CaretLinkTag() {
  if (!HTMLEdit->IsCursorInBlock()) return nullptr;
  return HTMLEdit->GetSpansAroundCursor()->FindSpan("a");
}

AnsiString Tfrm_Main::LinkFileName(const AnsiString& href) const {
  if (href.empty()) return {};
  if (href[0] == '/') return href;
  // A page's relative link names a file beside the page, wherever the
  // program was started from.
  return pageDir_.empty() ? AnsiString() : pageDir_ + href;
}

bool Tfrm_Main::OpenLinkInBrowser(const AnsiString& href) {
  const AnsiString lower = rtl::LowerCase(href);
  const bool web = lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0 || lower.rfind("mailto:", 0) == 0;
  if (!web) {
    vcl::MessageDlg("Only web and mail addresses (http, https, mailto) are opened in the browser: " + href,
                    vcl::mtWarning, {vcl::mbOK}, 0);
    return false;
  }
  return vcl::OpenURL(href);
}

void Tfrm_Main::HTMLEditTextClicked(vcl::TObject*) {
  // The click has moved the caret; the editor's view of the caret's block
  // is brought up to date before its link is read.
  HTMLEdit->NotifyCursorMoved();
  HTMLEdit->ProcessPendingUpdates();
  htmldoc::TpsMarkupTag* link = CaretLinkTag();
  if (!link) return;
  const AnsiString href = link->GetAttribute("href");
  const AnsiString file = LinkFileName(href);
  if (!file.empty() && rtl::FileExists(file)) {
    if (ConfirmSavePage()) OpenPage(file);
    return;
  }
  const AnsiString target = rtl::LowerCase(href);
  if (target == "goto_ie")
    ShowPage(ts_InternetExplorer);
  else if (target == "goto_css")
    ShowPage(ts_Stylesheet);
  else if (target == "goto_html")
    ShowPage(ts_HTML);
  else if (target == "goto_meta")
    ShowPage(ts_MetaTags);
  else
    OpenLinkInBrowser(href);
}

void Tfrm_Main::mi_OpenURLClick(vcl::TObject*) {
  if (htmldoc::TpsMarkupTag* link = CaretLinkTag()) OpenLinkInBrowser(link->GetAttribute("href"));
}

void Tfrm_Main::mi_OpenDocumentClick(vcl::TObject*) {
  htmldoc::TpsMarkupTag* link = CaretLinkTag();
  if (!link) return;
  const AnsiString file = LinkFileName(link->GetAttribute("href"));
  if (!file.empty() && ConfirmSavePage()) OpenPage(file);
}

void Tfrm_Main::RemoveLinkActExecute(vcl::TObject*) {
  if (HTMLEdit->IsCursorInBlock()) HTMLEdit->GetSpansAroundCursor()->RemoveSpanByName("a", false, true);
}

void Tfrm_Main::HtmlEditSplitBlock(const AnsiString& currentClass, rtl::Byte cursorPosition, AnsiString&,
                                   AnsiString& secondClass, bool&) {
  // At the block's beginning the new, empty block goes before it and the
  // classes stay as they are.
  if (cursorPosition != htmlview::cpBlockMiddle && cursorPosition != htmlview::cpBlockEnd) return;
  secondClass = currentClass == "heading1" ? "heading2" : "";
}

void Tfrm_Main::HTMLEditMergeBlocks(const AnsiString& firstClass, const AnsiString& secondClass, bool firstEmpty,
                                    bool, AnsiString& mergedClass) {
  mergedClass = firstEmpty ? secondClass : firstClass;
}

}  // namespace ide
