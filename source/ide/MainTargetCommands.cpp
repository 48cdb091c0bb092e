// The target page's image command: the project and page saved, the
// project's active files built into the module image the user names.
#include "ide/MainForm.h"

#include "core/CdfsDataU.h"
#include "core/CommandLineExecU.h"
#include "rtl/Files.h"
#include "vcl/Dialogs.h"

namespace ide {

void Tfrm_Main::BindTargetCommands() {
  CDFSAct->OnExecute = [this](vcl::TObject* s) { CDFSActExecute(s); };
  CDFSAct->OnUpdate = [this](vcl::TObject*) { CDFSAct->SetEnabled(prjManager_ && prjManager_->HasFileName()); };
  CDFSAct->SetEnabled(prjManager_ && prjManager_->HasFileName());
}

void Tfrm_Main::CDFSActExecute(vcl::TObject*) {
  imageFile_ = prjManager_->GetProjectDir() + "Download/data.cds";
  SaveDialog->SetFileName(imageFile_);
  SaveDialog->SetInitialDir(rtl::ExtractFilePath(imageFile_));
  SaveDialog->SetTitle("Save project to a " + AnsiString("CDS") + " file.");
  SaveDialog->SetDefaultExt("");
  SaveDialog->SetFilter("");
  const bool chosen = SaveDialog->Execute();
  SaveDialog->SetTitle("");
  if (!chosen) return;
  SaveProject();
  SavePage();
  imageFile_ = SaveDialog->FileName();
  BuildImage();
}

bool Tfrm_Main::BuildImage() {
  core::TcdfsData data;
  if (!imageBuilder_.empty()) data.SetBuilderPath(imageBuilder_);
  data.SetStagingFolder(core::GetIdeTempFolder() + "prj_files/tmp/");
  if (imageFile_.empty()) return false;
  if (data.Build(*prjManager_, imageFile_)) return true;
  // The previous image stays as it was; the user learns why there is no
  // new one.
  const AnsiString reason = data.LastError().empty() ? AnsiString("no image was written") : data.LastError();
  vcl::MessageDlg("The image " + imageFile_ + " could not be built: " + reason, vcl::mtError, {vcl::mbOK}, 0);
  return false;
}

}  // namespace ide
