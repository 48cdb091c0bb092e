// Page open and save, the two save prompts, and the project's save.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "htmledit/control/psSmartTags.h"
#include "ide/MainForm.h"
#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/Strings.h"
#include "vcl/WinApi.h"

namespace ide {

namespace {

// The file's bytes up to its first zero byte; false with the system's
// reason when the file cannot be read.
bool ReadPageBytes(const AnsiString& fileName, AnsiString& text, AnsiString& reason) {
  errno = 0;
  std::ifstream in(fileName, std::ios::binary);
  if (!in || rtl::DirectoryExists(fileName)) {
    reason = std::strerror(errno != 0 ? errno : EISDIR);
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    reason = std::strerror(errno != 0 ? errno : EIO);
    return false;
  }
  const size_t zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  text = std::move(bytes);
  return true;
}

}  // namespace

bool IsHtmlName(const AnsiString& fileName) {
  return rtl::LowerCase(rtl::ExtractFileExt(fileName)).find("htm") != AnsiString::npos;
}

AnsiString AddBodyDiv(const AnsiString& text) {
  return rtl::StringReplace(text, "<BODY></BODY>", "<BODY> <DIV> </DIV> </BODY>",
                            {rtl::TReplaceFlag::rfReplaceAll, rtl::TReplaceFlag::rfIgnoreCase});
}

bool Tfrm_Main::ConfirmSavePage() {
  if (!modified_) return true;
  vcl::MessageBeep(vcl::MB_ICONQUESTION);
  const Integer answer = vcl::MessageDlg("Save changes to file " + pageFile_, vcl::mtConfirmation, vcl::mbYesNoCancel, 0);
  if (answer == vcl::mrYes) btnSaveDocumentClick(this);
  return answer == vcl::mrYes || answer == vcl::mrNo;
}

bool Tfrm_Main::ProjectModified() const { return prjManager_->Modified() || projectSaveFailed_; }

bool Tfrm_Main::ConfirmSaveProject() {
  if (!ProjectModified()) return true;
  const Integer answer = vcl::MessageDlg("Save changes to project " + prjManager_->GetFileName() + "?",
                                         vcl::mtConfirmation, vcl::mbYesNoCancel, 0);
  if (answer == vcl::mrYes) SaveProject();
  return answer == vcl::mrYes || answer == vcl::mrNo;
}

void Tfrm_Main::SaveProject() {
  rtl::TMemIniFile ini(prjManager_->GetFileName());
  prjManager_->SaveToIni(ini);
  webExt_->Simulator()->SaveToIni(ini);
  // The list clears its modified flag as it is written out; until the file
  // is on disk the project still counts as changed.
  projectSaveFailed_ = true;
  ini.UpdateFile();
  projectSaveFailed_ = false;
}

void Tfrm_Main::ShowHtmlSource(const AnsiString& text) {
  PageControl->SetActivePage(ts_HTML);
  FillSourceView(HTMLMemoSrc, webExt_->SavePage(text));
}

AnsiString Tfrm_Main::DocumentTitle() const { return HTMLEdit->Title(); }

void Tfrm_Main::ApplyPageMetaTags() {
  const htmldoc::TpsMetaTagList& meta = HTMLEdit->MetaTags();
  HTMLEdit->SetReadOnly(meta.GetContentByName("readonly") == "true");
  if (meta.GetContentByName("revealtags") == "true") HTMLEdit->SetRevealTags(true);
  if (HTMLEdit->SmartTagsActive()) {
    if (htmledit::TpsSmartTagHandler* handler = HTMLEdit->SmartTags.GetHandlerByID(spellTagId_))
      handler->SetEnabled(meta.GetContentByName("spellchecker") != "false");
  }
}

void Tfrm_Main::SetContentTypeMeta() {
  // The code generator sets the charset meta tag of the charset it is asked
  // to write in; nothing is written for an empty chunk.
  htmldoc::TpsDataChunk none;
  Integer bodyStart = -1;
  Integer bodyEnd = -1;
  HTMLEdit->GenerateCodeToString(none, "utf-8", true, bodyStart, bodyEnd, false, false);
}

void Tfrm_Main::LoadEditorText(const AnsiString& text, bool keepStyleSheet) {
  // The text is the page as stored text already (UTF-8); a byte-order mark
  // tells the editor's parser so, over any charset the page's meta tags
  // name.
  ++fillingViews_;
  try {
    HTMLEdit->LoadFromString("\xEF\xBB\xBF" + text, keepStyleSheet, false);
  } catch (...) {
    --fillingViews_;
    throw;
  }
  --fillingViews_;
}

void Tfrm_Main::OpenPage(const AnsiString& fileName) {
  // A page that cannot be read is reported, and the page open now stays
  // open under its own name, so that no Save writes it over the file.
  AnsiString bytes;
  AnsiString reason;
  if (!ReadPageBytes(fileName, bytes, reason)) {
    vcl::MessageBeep(vcl::MB_ICONHAND);
    vcl::MessageDlg("Cannot read " + fileName + ": " + reason, vcl::mtError, {vcl::mbOK}, 0);
    return;
  }
  if (!pageFile_.empty())
    if (core::TprjfileCollectionItem* item = prjManager_->FindFile(pageFile_)) item->SetOpen(false);
  pageFile_ = fileName;
  pageDir_ = rtl::ExtractFilePath(fileName);
  ResetStyleSheet();
  PageControl->SetActivePage(ts_HTMLEdit);
  AnsiString text = rtl::ReadStoredText(bytes);
  const bool html = IsHtmlName(fileName);
  bool failed = false;
  try {
    if (html) {
      text = AddBodyDiv(webExt_->LoadPage(text));
      LoadEditorText(text, false);
      ApplyPageMetaTags();
      SetContentTypeMeta();
    }
    SetModified(false);
    docHistory_->Add(fileName);
  } catch (const rtl::Exception&) {
    failed = true;
  }
  if (failed) ShowHtmlSource(text);
  ShowStatus(0, DocumentTitle());
  ShowStatus(1, rtl::ExtractFileName(fileName));
  RefreshStyleSheetView();
  if (loadingError_) ShowHtmlSource(text);
  if (core::TprjfileCollectionItem* item = prjManager_->FindFile(fileName)) item->SetOpen(true);
  SetModified(false);
  if (html) RefillStyleCombo();
}

void Tfrm_Main::WritePage(const AnsiString& fileName) {
  SyncSourceToEditor();
  const AnsiString html = HTMLEdit->SaveToString(true, true);
  const AnsiString page = webExt_->SavePage(html);
  // A temporary file beside the page takes its place only once it is
  // written whole.
  rtl::WriteFileAtomically(fileName, page);
  pageFile_ = fileName;
  SetModified(false);
}

void Tfrm_Main::SavePage() {
  if (IsHtmlName(pageFile_)) WritePage(pageFile_);
}

void Tfrm_Main::SavePageAs() {
  SaveDialog->SetInitialDir(pageDir_);
  SaveDialog->SetFileName(docHistory_->Count() > 0 ? (*docHistory_)[docHistory_->Count() - 1] : AnsiString());
  SaveDialog->SetDefaultExt(".html");
  SaveDialog->SetFilter("HTML Files|*.html;*.htm");
  SaveDialog->SetFilterIndex(1);
  if (!SaveDialog->Execute()) return;
  const AnsiString chosen = SaveDialog->FileName();
  core::TprjfileCollectionItem* item = pageFile_.empty() ? nullptr : prjManager_->FindFile(pageFile_);
  // The project follows the page only once the page is written.
  WritePage(chosen);
  if (item) item->SetName(chosen);
  ShowStatus(0, DocumentTitle());
  ShowStatus(1, rtl::ExtractFileName(chosen));
}

void Tfrm_Main::NewDocument() {
  ResetStyleSheet();
  ++fillingViews_;
  HTMLEdit->LoadHTML("<p></p>");
  --fillingViews_;
  HTMLEdit->SetReadOnly(false);
  docHistory_->Add("New Document.html");
  ShowStatus(0, "New document");
  ShowStatus(1, "");
  SetModified(false);
}

void Tfrm_Main::NewPage() {
  if (!ConfirmSavePage()) return;
  SaveDialog->SetFilter("HTML|*.html|Text file|*.txt");
  SaveDialog->SetDefaultExt("*.html");
  SaveDialog->SetFileName("*.htm");
  if (!SaveDialog->Execute()) return;
  const AnsiString chosen = SaveDialog->FileName();
  NewDocument();
  pageFile_ = chosen;
  pageDir_ = rtl::ExtractFilePath(chosen);
  ShowStatus(0, DocumentTitle());
  ShowStatus(1, rtl::ExtractFileName(chosen));
  prjManager_->AddFile(chosen);
  RefillStyleCombo();
}

bool Tfrm_Main::SelectPageFile(AnsiString& fileName) {
  OpenDialog->SetInitialDir(prjManager_->GetProjectDir());
  OpenDialog->SetFilter("HTML Files|*.htm;*.html");
  OpenDialog->SetFilterIndex(1);
  if (!OpenDialog->Execute()) return false;
  fileName = OpenDialog->FileName();
  return true;
}

void Tfrm_Main::HtmlEditDocumentLoadingError(vcl::TObject*, const AnsiString&, const AnsiString& message) {
  if (loadingError_) return;
  vcl::MessageBeep(vcl::MB_ICONWARNING);
  vcl::MessageDlg("Document loading error " + webExt_->SavePage(message), vcl::mtWarning, {vcl::mbOK}, 0);
  loadingError_ = true;
}

void Tfrm_Main::btnLoadDocumentClick(vcl::TObject*) {
  if (!ConfirmSavePage()) return;
  AnsiString fileName;
  if (SelectPageFile(fileName)) OpenPage(fileName);
}

void Tfrm_Main::btnSaveDocumentClick(vcl::TObject*) { SavePage(); }
void Tfrm_Main::btnSaveAsClick(vcl::TObject*) { SavePageAs(); }
void Tfrm_Main::btnNewClick(vcl::TObject*) { NewPage(); }

}  // namespace ide
