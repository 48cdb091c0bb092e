// The image command through its action: the proposed name in the project's
// Download folder, the project file and page saved first, the image built
// from exactly the active files, and a failing builder reported with its
// reason, the old image kept.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

#include <QFileDialog>
#include <QTimer>

#include <QApplication>
#include <algorithm>

#include "MainWindowRig.h"
#include "rtl/Files.h"

using namespace idetest;

namespace {

std::string RunList(const std::string& image) {
  std::string out;
  const std::string command = std::string(TOLVANE_BUILD_DIR) + "/bin/tamblet --list '" + image + "'";
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

}  // namespace

TEST(TargetCommands, CreateImageSavesFirstAndBuildsTheActiveFiles) {
  if (!Exists(std::string(TOLVANE_BUILD_DIR) + "/bin/tamblet")) GTEST_SKIP() << "the image builder is not built";
  Scratch scratch;
  const std::string page = scratch.Write("index.htm", "<html><body><p>first</p></body></html>");
  scratch.Write("logo.gif", "GIF89a");
  scratch.Write("notes.txt", "left out: inactive");
  scratch.Write("stray.txt", "left out: not in the project");
  WindowGuard window;
  ide::Tfrm_Main* form = window.form;
  const std::string project = scratch.Project() + "site.PJT";
  form->Project()->SetFileName(project);
  form->Project()->AddFile(page);
  form->Project()->AddFile(scratch.Project() + "logo.gif");
  form->Project()->AddFile(scratch.Project() + "notes.txt");
  form->Project()->FindFile(scratch.Project() + "notes.txt")->SetActive(false);
  form->OpenPage(page);
  form->HTMLEdit->InsertText("typed ", false);
  Pump();
  form->psHtmlEditActionList1->UpdateActions();
  ASSERT_TRUE(form->CDFSAct->Enabled());

  // Cancel: the proposal stays, nothing is saved or built.
  std::string proposed, title;
  auto* watch = new QTimer();
  watch->setInterval(2);
  QObject::connect(watch, &QTimer::timeout, [&] {
    if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      // The name handed to the dialog (the desktop's dialog shows a folder
      // that does not exist yet as the current one).
      proposed = form->SaveDialog->FileName();
      title = d->windowTitle().toStdString();
    }
  });
  watch->start();
  {
    FileDialogScript cancel({""});
    form->CDFSAct->Execute();
    Pump();
  }
  const std::string image = scratch.Project() + "Download/data.cds";
  EXPECT_EQ(form->ImageFile(), image);
  EXPECT_EQ(proposed, image);
  EXPECT_EQ(title, "Save project to a CDS file.");
  EXPECT_FALSE(Exists(project));
  EXPECT_FALSE(Exists(image));

  {
    FileDialogScript accept({image});
    form->CDFSAct->Execute();
    Pump();
  }
  delete watch;
  EXPECT_TRUE(Exists(project));
  EXPECT_NE(Slurp(page).find("typed"), std::string::npos);
  ASSERT_TRUE(Exists(image));
  const std::string list = RunList(image);
  EXPECT_NE(list.find("index.htm "), std::string::npos) << list;
  EXPECT_NE(list.find("logo.gif 6"), std::string::npos) << list;
  EXPECT_EQ(list.find("notes.txt"), std::string::npos) << list;
  EXPECT_EQ(list.find("stray.txt"), std::string::npos) << list;
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 2) << list;

  // A builder that fails: its reason shown, the image as it was.
  const std::string failing = scratch.Write("/" + scratch.Root() + "failbuilder",
                                            "#!/bin/sh\necho 'no room on the module' >&2\nexit 3\n");
  chmod(failing.c_str(), 0755);
  form->SetImageBuilder(failing);
  const std::string before = Slurp(image);
  DialogScript boxes({"OK"});
  {
    FileDialogScript accept({image});
    form->CDFSAct->Execute();
    Pump();
  }
  ASSERT_EQ(boxes.Asked().size(), 1u);
  EXPECT_NE(boxes.Asked()[0].find("could not be built"), std::string::npos) << boxes.Asked()[0];
  EXPECT_EQ(Slurp(image), before);
}
