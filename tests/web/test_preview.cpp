// The main window's preview in the real browser: the sample project's page
// as the simulator expands it, its picture and style sheet beside it, the
// error list and its double click, the "goto_" veto, Refresh, an ended
// simulation, the files of the preview folder, a planted preview folder,
// and a grab of the preview page with the error panel.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWebEngineView>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>
#include <sys/stat.h>

#include "../ide/MainWindowRig.h"
#include "controls/ToolPanels.h"
#include "core/CdfsDataU.h"
#include "core/CommandLineExecU.h"
#include "core/forms/VormekDevSetupU.h"
#include "memo/LumMemo.h"
#include "memo/LumMemoSource.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "vcl/ComCtrls.h"
#include "vcl/ListBox.h"
#include "web/WebBrowser.h"

using namespace idetest;
namespace fs = std::filesystem;

namespace {

// The preview of a window with the real browser, on a scratch project.
class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    web::InstallWebEngineBrowser();
    win_ = std::make_unique<WindowGuard>();
    form_ = win_->form;
    browser_ = dynamic_cast<web::TWebBrowser*>(form_->wb_Browser);
    ASSERT_NE(browser_, nullptr);
  }
  void TearDown() override {
    win_.reset();
    web::SetWebBrowserFactory(nullptr);
  }
  // The sample project copied into the scratch project folder and loaded
  // as the window loads a project, its first page opened.
  void OpenSample() {
    for (const auto& e : fs::directory_iterator(std::string(TOLVANE_SOURCE_DIR) + "/resources/sample"))
      fs::copy_file(e.path(), scratch_.Project() + e.path().filename().string());
    OpenProjectFile(scratch_.Project() + "sample.PJT");
    form_->OpenPage(scratch_.Project() + "index.htm");
  }
  void OpenProjectFile(const std::string& name) {
    core::Tprjmanager* project = form_->Project();
    project->SetFileName(name);
    rtl::TMemIniFile ini(name);
    project->LoadFromIni(ini);
  }
  // The preview page chosen, as the page control's change runs it.
  void ShowPreview() {
    form_->ShowPage(form_->ts_InternetExplorer);
    ASSERT_TRUE(browser_->WaitWhileBusy(20000));
  }
  std::string PreviewFolder() const { return rtl::ExtractFilePath(form_->GetPreviewFileName()); }
  std::string Text() { return browser_->RunJavaScript("document.body.innerText"); }
  std::vector<std::string> ErrorList() {
    std::vector<std::string> out;
    rtl::TStrings* items = form_->SimErrorListBox->Items();
    for (Integer i = 0; i < items->Count(); ++i)
      out.push_back(items->Strings(i) + " @" + std::to_string(rtl::ObjectToInt(items->Objects(i))));
    return out;
  }
  core::TvormekParams& Values() { return form_->SimulatorSetup->Values(); }

  Scratch scratch_;
  std::unique_ptr<WindowGuard> win_;
  ide::Tfrm_Main* form_ = nullptr;
  web::TWebBrowser* browser_ = nullptr;
};

TEST_F(PreviewTest, SamplePageShowsAsExpandedWithItsPictureAndStyleSheet) {
  OpenSample();
  Values().PinRef(2).State = 0;
  Values().IPAddress = "10.1.2.3";
  Values().ID = "Boiler room";
  ShowPreview();
  const std::string text = Text();
  EXPECT_NE(text.find("Door closed"), std::string::npos) << text;
  EXPECT_EQ(text.find("Door open"), std::string::npos) << text;
  EXPECT_NE(text.find("Address 10.1.2.3"), std::string::npos) << text;
  EXPECT_NE(text.find("Module Boiler room"), std::string::npos) << text;
  EXPECT_EQ(text.find("(IF"), std::string::npos) << text;
  EXPECT_EQ(text.find("ENDIF"), std::string::npos) << text;
  // No module tag is left in what the browser was given.
  const std::string file = Slurp(form_->GetPreviewFileName());
  EXPECT_EQ(file.find("<#"), std::string::npos);
  EXPECT_EQ(file.find("<!--("), std::string::npos);
  EXPECT_EQ(web::FilePathOfUrl(browser_->LocationURL()), form_->GetPreviewFileName());

  EXPECT_GT(std::stoi(browser_->RunJavaScript("document.querySelector('img').naturalWidth")), 0);
  EXPECT_EQ(browser_->RunJavaScript("getComputedStyle(document.querySelector('.alarm')).color"), "rgb(192, 0, 0)");
  // Active files are copied, the inactive draft is not.
  EXPECT_EQ(ListTree(PreviewFolder()),
            (std::vector<std::string>{"__preview.html", "index.htm", "logo.png", "style.css"}));

  // Refresh in the setup frame runs the preview again while it is shown,
  // with the values as they are now; on another page it does nothing.
  Values().PinRef(2).State = 1;
  form_->SimulatorSetup->RefreshClick(form_->SimulatorSetup->Refresh);
  ASSERT_TRUE(browser_->WaitWhileBusy(20000));
  EXPECT_NE(Text().find("Door open"), std::string::npos);
  const int navigations = browser_->NavigationCount();
  form_->ShowPage(form_->ts_HTMLEdit);
  Values().PinRef(2).State = 0;
  form_->SimulatorSetup->RefreshClick(form_->SimulatorSetup->Refresh);
  EXPECT_EQ(browser_->NavigationCount(), navigations);
  EXPECT_NE(Slurp(form_->GetPreviewFileName()).find("Door open"), std::string::npos);
}

TEST_F(PreviewTest, ErrorListLeadsToTheLineAndGotoLinksGoNowhere) {
  std::string page = "<html><head><title>E</title></head><body>\n";
  for (int i = 0; i < 80; ++i) page += "<p>line " + std::to_string(i) + "</p>\n";
  page += "<p><a id='g' href='goto_page.htm'>go</a> <a id='G' href='x/GoTo_2.htm'>go</a> text<!--(ELSE)-->more</p>\n";
  for (int i = 0; i < 40; ++i) page += "<p>tail " + std::to_string(i) + "</p>\n";
  page += "</body></html>\n";
  const std::string path = scratch_.Write("errors.htm", page);
  OpenProjectFile(scratch_.Write("e.PJT", "[PROJECT]\nNUM.FILES=1\n[FILES]\nFILE.0.Name=errors.htm\nFILE.0.ACTIVE=1\n"));
  form_->OpenPage(path);
  ShowPreview();
  ASSERT_EQ(form_->SimErrorListBox->Items()->Count(), 1);
  EXPECT_EQ(form_->SimErrorListBox->Items()->Strings(0), "Else without if");
  const Integer line = static_cast<Integer>(rtl::ObjectToInt(form_->SimErrorListBox->Items()->Objects(0)));

  // Links with "goto_" in any case are vetoed: no navigation happens.
  const int navigations = browser_->NavigationCount();
  for (const char* id : {"g", "G"}) {
    browser_->RunJavaScript(std::string("document.getElementById('") + id + "').click()");
    Pump();
    ASSERT_TRUE(browser_->WaitWhileBusy(5000));
    EXPECT_EQ(browser_->NavigationCount(), navigations) << id;
    EXPECT_EQ(web::FilePathOfUrl(browser_->LocationURL()), form_->GetPreviewFileName());
  }

  // A grab of the preview with the error panel open.
  form_->ct->OpenPanel(form_->simErrorsTab);
  Pump();
  // The engine's view paints apart from the widgets: its own grab is laid
  // over the window's at its place.
  QImage shot = Grab(form_);
  {
    QWebEngineView* view = browser_->View();
    QPainter painter(&shot);
    // The open panel lies over the page control.
    QWidget* panel = form_->simErrorsTab->Widget();
    painter.setClipRegion(QRegion(shot.rect()) -
                          QRegion(QRect(panel->mapTo(form_->Widget(), QPoint(0, 0)), panel->size())));
    painter.drawImage(view->mapTo(form_->Widget(), QPoint(0, 0)), view->grab().toImage());
  }
  shot.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/ide_preview_errors.png"));

  // A double click on the entry: the HTML view, caret on the line, the
  // line in the middle.
  DoubleClick(form_->SimErrorListBox, 10, 5);
  EXPECT_EQ(form_->PageControl->ActivePage(), form_->ts_HTML);
  EXPECT_EQ(form_->re_HTML->CaretY(), line);
  EXPECT_NE(form_->HTMLMemoSrc->Lines()->Strings(line).find("(ELSE)"), std::string::npos);
  const Integer shown = form_->re_HTML->GetVisibleExtent(1);
  EXPECT_GT(line, shown);
  EXPECT_EQ(form_->re_HTML->TopLine(), line - shown / 2);
}

TEST_F(PreviewTest, EndedSimulationKeepsTheListAndShowsTheError) {
  const std::string bad = scratch_.Write("bad.htm",
      "<html><body><p><!--(PIN 1 ANALOG*2/0+1,2)--></p></body></html>");
  const std::string good = scratch_.Write("good.htm", "<html><body><p>a<!--(ELSE)-->b</p></body></html>");
  OpenProjectFile(scratch_.Write("d.PJT", "[PROJECT]\nNUM.FILES=0\n"));
  form_->OpenPage(good);
  ShowPreview();
  const std::vector<std::string> before = ErrorList();
  ASSERT_EQ(before.size(), 1u);
  ASSERT_EQ(before[0].rfind("Else without if @", 0), 0u);
  const AnsiString shownUrl = browser_->LocationURL();
  form_->ShowPage(form_->ts_HTMLEdit);
  form_->OpenPage(bad);
  DialogScript answers({"OK"});
  // The application's handler gets what escapes the page change.
  try {
    form_->ShowPage(form_->ts_InternetExplorer);
    ADD_FAILURE() << "no exception";
  } catch (rtl::Exception& e) {
    form_->ApplicationEvents1Exception(form_, e);
  }
  ASSERT_EQ(answers.Asked().size(), 1u);
  EXPECT_NE(answers.Asked()[0].find("division by zero"), std::string::npos) << answers.Asked()[0];
  EXPECT_EQ(ErrorList(), before);
  EXPECT_FALSE(Exists(form_->GetPreviewFileName()));
  EXPECT_EQ(browser_->LocationURL(), shownUrl);
}

TEST_F(PreviewTest, PreviewFolderHoldsTheActiveFilesByTheirBareNames) {
  scratch_.Write("index.htm", "<html><body><img src='pic.png'></body></html>");
  scratch_.Write("img/pic.png", Slurp(std::string(TOLVANE_SOURCE_DIR) + "/resources/sample/logo.png"));
  scratch_.Write("other/pic.png", "second of the name");
  scratch_.Write("off.htm", "inactive");
  OpenProjectFile(scratch_.Write("f.PJT",
                                 "[PROJECT]\nNUM.FILES=5\n[FILES]\n"
                                 "FILE.0.Name=index.htm\nFILE.0.ACTIVE=1\n"
                                 "FILE.1.Name=img\\pic.png\nFILE.1.ACTIVE=1\n"
                                 "FILE.2.Name=other\\pic.png\nFILE.2.ACTIVE=1\n"
                                 "FILE.3.Name=off.htm\nFILE.3.ACTIVE=0\n"
                                 "FILE.4.Name=gone.css\nFILE.4.ACTIVE=1\n"));
  form_->OpenPage(scratch_.Project() + "index.htm");
  fs::create_directories(PreviewFolder() + "sub");
  std::ofstream(PreviewFolder() + "off.htm") << "stale";
  std::ofstream(PreviewFolder() + "sub/stale.txt") << "stale";
  ShowPreview();
  EXPECT_EQ(ListTree(PreviewFolder()),
            (std::vector<std::string>{"__preview.html", "index.htm", "pic.png", "sub"}));
  EXPECT_EQ(Slurp(PreviewFolder() + "pic.png"), Slurp(scratch_.Project() + "img/pic.png"));
  EXPECT_GT(std::stoi(browser_->RunJavaScript("document.querySelector('img').naturalWidth")), 0);
  struct stat st {};
  ASSERT_EQ(stat(PreviewFolder().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // The missing file is listed with its reason and no line; a double click
  // on it goes nowhere.
  const std::vector<std::string> errors = ErrorList();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("gone.css"), std::string::npos);
  EXPECT_NE(errors[0].find("No such file"), std::string::npos) << errors[0];
  EXPECT_NE(errors[0].find("@-1"), std::string::npos);
  form_->SimErrorListBox->SetItemIndex(0);
  form_->SimErrorListBoxDblClick(form_->SimErrorListBox);
  EXPECT_EQ(form_->PageControl->ActivePage(), form_->ts_InternetExplorer);
}

TEST_F(PreviewTest, PlantedPreviewFolderIsRefusedAndNothingDeleted) {
  form_->OpenPage(scratch_.Write("p.htm", "<html><body>p</body></html>"));
  const std::string folder = rtl::ExcludeTrailingPathDelimiter(PreviewFolder());
  fs::remove_all(folder);
  fs::create_directories(fs::path(folder).parent_path());
  const std::string victim = scratch_.Root() + "victim/";
  fs::create_directories(victim);
  std::ofstream(victim + "canary.txt") << "alive";
  fs::create_directory_symlink(victim, folder);
  try {
    form_->RunPreview();
    ADD_FAILURE() << "no refusal";
  } catch (rtl::Exception& e) {
    EXPECT_NE(e.Message().find("symbolic link"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("nothing was deleted"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(Slurp(victim + "canary.txt"), "alive");
  EXPECT_EQ(ListTree(victim), std::vector<std::string>{"canary.txt"});
  fs::remove(folder);

  // A folder above it planted the same way is refused too.
  const std::string ide = rtl::ExcludeTrailingPathDelimiter(core::GetIdeTempFolder());
  fs::rename(ide, ide + ".moved");
  fs::create_directory_symlink(victim, ide);
  EXPECT_THROW(form_->RunPreview(), rtl::Exception);
  EXPECT_EQ(ListTree(victim), std::vector<std::string>{"canary.txt"});
  fs::remove(ide);
  fs::rename(ide + ".moved", ide);
  form_->RunPreview();
  EXPECT_TRUE(Exists(form_->GetPreviewFileName()));
}

}  // namespace
