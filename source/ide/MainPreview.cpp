// The preview of the page: the page as the module would serve it, expanded
// by the simulator, written into a preview folder beside copies of the
// project's active files, and shown in the embedded browser; the
// simulator's messages in the error list, a double click on one leading to
// its line in the HTML view.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/CdfsDataU.h"
#include "core/CommandLineExecU.h"
#include "core/forms/VormekDevSetupU.h"
#include "ide/MainForm.h"
#include "memo/LumMemo.h"
#include "rtl/Files.h"
#include "rtl/Streams.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"
#include "vcl/ListBox.h"
#include "web/WebBrowserPort.h"

namespace ide {

namespace {

// Every folder from the temporary folder's child down to folder (a path
// below temp, both with trailing delimiters) must be a real folder of this
// user: the temporary folder is shared, so another user could have planted
// one of them as a link to a folder of ours, or made it to watch and
// replace the files. Missing folders are made, readable by this user only.
// Answers "" when the folder is fit, else why not.
AnsiString PreparePrivateFolder(const AnsiString& temp, const AnsiString& folder) {
  if (folder.compare(0, temp.size(), temp) != 0) return "it lies outside the temporary folder";
  const uid_t me = geteuid();
  size_t pos = temp.size();
  while (pos < folder.size()) {
    const size_t slash = folder.find('/', pos);
    const AnsiString part = folder.substr(0, slash == AnsiString::npos ? folder.size() : slash);
    pos = slash == AnsiString::npos ? folder.size() : slash + 1;
    if (part.size() <= temp.size()) continue;
    struct stat st {};
    if (lstat(part.c_str(), &st) != 0) {
      if (errno != ENOENT) return part + ": " + std::strerror(errno);
      if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return part + ": " + std::strerror(errno);
      if (lstat(part.c_str(), &st) != 0) return part + ": " + std::strerror(errno);
    }
    if (S_ISLNK(st.st_mode)) return part + " is a symbolic link";
    if (!S_ISDIR(st.st_mode)) return part + " is not a folder";
    if (st.st_uid != me) return part + " belongs to another user";
  }
  // The preview folder itself holds our copies: nobody else may look in.
  struct stat st {};
  if (lstat(folder.c_str(), &st) == 0 && (st.st_mode & 0077) != 0) chmod(folder.c_str(), 0700);
  return AnsiString();
}

}  // namespace

void Tfrm_Main::BuildPreview() {
  wb_Browser = web::CreateWebBrowser(this);
  wb_Browser->SetName("wb_Browser");
  wb_Browser->SetParent(ts_InternetExplorer);
  wb_Browser->SetAlign(vcl::alClient);
  wb_Browser->OnBeforeNavigate2 = [this](vcl::TObject* sender, const AnsiString& url, bool& cancel) {
    wb_BrowserBeforeNavigate2(sender, url, cancel);
  };
  SimErrorListBox->OnDblClick = [this](vcl::TObject* sender) { SimErrorListBoxDblClick(sender); };
}

AnsiString Tfrm_Main::GetPreviewFileName() const {
  return core::GetIdeTempFolder() + rtl::StoredToNativePath("~__preview.tmp\\__preview.html");
}

void Tfrm_Main::RunPreview() {
  const AnsiString fileName = GetPreviewFileName();
  const AnsiString folder = rtl::ExtractFilePath(fileName);
  const AnsiString refusal = PreparePrivateFolder(rtl::TempFolder(), folder);
  if (!refusal.empty())
    throw rtl::EInOutError("The preview folder " + folder + " cannot be used (" + refusal +
                           "); nothing was deleted and no preview was made.");
  core::DeleteFolderContents(folder);

  const AnsiString html = HTMLEdit->SaveToString(true, true);
  // A number that is not one, or a division by zero, ends the run here with
  // its exception: the list keeps the previous run's entries and the
  // browser its page.
  const AnsiString expanded = webExt_->Simulate(html);

  rtl::TStrings* entries = SimErrorListBox->Items();
  entries->BeginUpdate();
  entries->Clear();
  const rtl::TStringList& errors = webExt_->Errors();
  for (Integer i = 0; i < errors.Count(); ++i) entries->AddObject(errors.Strings(i), errors.Objects(i));
  entries->EndUpdate();

  {
    rtl::TFileStream out(fileName, rtl::fmCreate);
    if (!expanded.empty()) out.WriteBuffer(expanded.data(), static_cast<Integer>(expanded.size()));
  }

  // Each active file from where the project lists it, under its bare name,
  // as the image holds it: the first of two files with one name wins.
  for (Integer i = 0; i < prjManager_->Count(); ++i) {
    const core::TprjfileCollectionItem* item = prjManager_->Item(i);
    if (!item->Active()) continue;
    const AnsiString source = core::ResolveProjectPath(item->Name(), prjManager_->GetProjectDir());
    const AnsiString target = folder + rtl::ExtractFileName(source);
    if (rtl::FileExists(target)) continue;
    if (!rtl::CopyFile(source, target, true)) {
      const int reason = errno;
      entries->AddObject("Cannot copy " + item->Name() + " into the preview: " + std::strerror(reason),
                         rtl::IntToObject(kNoLine));
    }
  }

  wb_Browser->Navigate("file://" + fileName);
}

void Tfrm_Main::SimErrorListBoxDblClick(vcl::TObject*) {
  const Integer index = SimErrorListBox->ItemIndex();
  if (index < 0) return;
  const Integer line = static_cast<Integer>(rtl::ObjectToInt(SimErrorListBox->Items()->Objects(index)));
  // A file that could not be copied has no line to go to.
  if (line < 0) return;
  if (PageControl->ActivePage() != ts_HTML) {
    bool allow = true;
    PageControlChanging(PageControl, allow);
    PageControl->SetActivePage(ts_HTML);
    PageControlChange(PageControl);
    vcl::Application->ProcessMessages();
  }
  re_HTML->SetCaret(0, line);
  const Integer shown = re_HTML->GetVisibleExtent(1);
  re_HTML->SetTopLine(std::max<Integer>(0, line - shown / 2));
  re_HTML->SetFocus();
}

void Tfrm_Main::wb_BrowserBeforeNavigate2(vcl::TObject*, const AnsiString& url, bool& cancel) {
  // "goto_" links are the module's own commands: in the preview they lead
  // nowhere.
  if (url.size() > 3 && rtl::LowerCase(url).find("goto_") != AnsiString::npos) cancel = true;
}

void Tfrm_Main::FindInPreview() { wb_Browser->ShowFind(); }

void Tfrm_Main::PrintPreviewPage(TPreviewPrint kind) {
  // The page printed is the one this run loads: the browser holds the
  // print until that load has ended.
  RunPreview();
  switch (kind) {
    case TPreviewPrint::Print:
      wb_Browser->Print();
      break;
    case TPreviewPrint::Preview:
      wb_Browser->PrintPreview();
      break;
    case TPreviewPrint::Setup:
      wb_Browser->PrintWithPrompt();
      break;
  }
}

}  // namespace ide
