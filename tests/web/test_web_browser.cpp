// The browser port over the web engine, off screen: local files by name,
// the navigation veto, the find bar, printing after the load, the print
// dialogs, the rendered page, the start-up environment, and the
// do-nothing port with the factory.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QWebEngineView>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "rtl/Files.h"
#include "vcl/Forms.h"
#include "web/WebBrowser.h"

namespace fs = std::filesystem;

namespace {

using rtl::AnsiString;

void PumpFor(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool WaitUntil(const std::function<bool()>& done, int ms = 15000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
  }
  return true;
}

// The colour in the middle of the upper part of a PDF's first page, the
// page rendered by poppler; 0 when there is no page.
QRgb PdfColour(const std::string& pdf) {
  const std::string prefix = pdf + "-page";
  const std::string cmd = "pdftoppm -r 24 -png -f 1 -l 1 -singlefile '" + pdf + "' '" + prefix + "' 2>/dev/null";
  if (std::system(cmd.c_str()) != 0) return 0;
  QImage page(QString::fromStdString(prefix + ".png"));
  fs::remove(prefix + ".png");
  if (page.isNull()) return 0;
  return page.pixel(page.width() / 2, page.height() / 6) & 0xFFFFFF;
}

// Within a few steps per channel (the PDF renderer's colour conversion).
bool ColourNear(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 && std::abs(qBlue(a) - qBlue(b)) <= 8;
}

// A page that prints as one colour: the block keeps its background on
// paper.
std::string ColourPage(const char* colour) {
  return std::string("<html><body><div style='position:absolute;left:0;top:0;width:100%;height:2000px;"
                     "-webkit-print-color-adjust:exact;print-color-adjust:exact;background:") +
         colour + "'>" + colour + "</div></body></html>";
}

// A form holding one browser filling it, shown off screen, on a scratch
// folder of its own.
class WebBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    dir_ = rtl::TempFolder() + "tolvane-web-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "/";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    form_ = new vcl::TForm(vcl::Application);
    form_->SetBounds(0, 0, 640, 480);
    browser_ = new web::TWebBrowser(form_);
    browser_->SetParent(form_);
    browser_->SetAlign(vcl::alClient);
    browser_->OnDocumentComplete = [this](vcl::TObject*, const AnsiString& url, bool ok) {
      completed_.push_back(url);
      lastOk_ = ok;
    };
    form_->Show();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    vcl::Free(form_);
    QCoreApplication::processEvents();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = dir_ + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  void Load(const AnsiString& url) {
    browser_->Navigate(url);
    ASSERT_TRUE(browser_->WaitWhileBusy(15000));
  }
  AnsiString BodyText() { return browser_->RunJavaScript("document.body.innerText"); }

  std::string dir_;
  vcl::TForm* form_ = nullptr;
  web::TWebBrowser* browser_ = nullptr;
  std::vector<AnsiString> completed_;
  bool lastOk_ = false;
};

TEST_F(WebBrowserTest, LocalFilesLoadByTheirNamesAsPathsOrFileUrls) {
  struct Case {
    const char* name;
    bool asUrl;
  };
  const Case cases[] = {
      {"plain.html", false}, {"with space.html", false}, {"hash#1.html", false},
      {"per%41cent.html", true}, {"hash#2 and space.html", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.name, std::string("<html><body><p>page ") + c.name + "</p></body></html>");
    const size_t before = completed_.size();
    Load(c.asUrl ? "file://" + path : path);
    EXPECT_EQ(BodyText(), std::string("page ") + c.name);
    EXPECT_EQ(web::FilePathOfUrl(browser_->LocationURL()), path);
    ASSERT_EQ(completed_.size(), before + 1);
    EXPECT_EQ(completed_.back(), browser_->LocationURL());
    EXPECT_TRUE(lastOk_);
  }
  EXPECT_EQ(browser_->NavigationCount(), 5);
}

TEST_F(WebBrowserTest, VetoedLinkLeavesThePageAndTheCount) {
  Write("goto_next.html", "<html><body>vetoed page</body></html>");
  Write("next.html", "<html><body>next page</body></html>");
  const std::string start = Write("start.html",
                                  "<html><body>start page<a id='v' href='goto_next.html'>v</a>"
                                  "<a id='n' href='next.html'>n</a></body></html>");
  std::vector<AnsiString> asked;
  browser_->OnBeforeNavigate2 = [&](vcl::TObject*, const AnsiString& url, bool& cancel) {
    asked.push_back(url);
    cancel = url.find("goto_") != AnsiString::npos;
  };
  Load(start);
  const AnsiString location = browser_->LocationURL();
  const int count = browser_->NavigationCount();
  asked.clear();

  browser_->RunJavaScript("document.getElementById('v').click()");
  ASSERT_TRUE(WaitUntil([&] { return !asked.empty(); }));
  PumpFor(150);
  EXPECT_FALSE(browser_->Busy());
  EXPECT_EQ(browser_->LocationURL(), location);
  EXPECT_EQ(browser_->NavigationCount(), count);
  EXPECT_EQ(BodyText(), "start pagevn");
  EXPECT_NE(asked.front().find("goto_next.html"), AnsiString::npos);

  browser_->RunJavaScript("document.getElementById('n').click()");
  ASSERT_TRUE(WaitUntil([&] { return BodyText() == "next page"; }));
  EXPECT_EQ(browser_->NavigationCount(), count + 1);
  EXPECT_EQ(web::FilePathOfUrl(browser_->LocationURL()), dir_ + "next.html");

  // Navigate asks the same veto.
  browser_->Navigate(dir_ + "goto_next.html");
  PumpFor(100);
  EXPECT_EQ(BodyText(), "next page");
  EXPECT_EQ(browser_->NavigationCount(), count + 1);
}

TEST_F(WebBrowserTest, FindBarCountsMatches) {
  Load(Write("find.html", "<html><body><p>apple pie</p><p>Apple tree</p><p>an apple</p></body></html>"));
  EXPECT_FALSE(browser_->FindBarVisible());
  browser_->ShowFind();
  QCoreApplication::processEvents();
  EXPECT_TRUE(browser_->FindBarVisible());
  EXPECT_EQ(browser_->FindText("apple", false), 3);
  EXPECT_EQ(browser_->FindText("apple", true), 3);
  EXPECT_EQ(browser_->FindText("pear", false), 0);
  EXPECT_EQ(browser_->FindText("", false), 0);
}

TEST_F(WebBrowserTest, PrintAskedDuringALoadPrintsTheNewPage) {
  Load(Write("old.html", ColourPage("#ff0000")));
  const std::string pdf = dir_ + "out.pdf";
  browser_->SetPrintFileName(pdf);
  browser_->Navigate(Write("new.html", ColourPage("#0000ff")));
  browser_->Print();
  EXPECT_EQ(browser_->PendingPrints(), 1);
  ASSERT_TRUE(WaitUntil([&] { return browser_->PrintsFinished() == 1; }, 30000));
  EXPECT_EQ(browser_->PendingPrints(), 0);
  EXPECT_PRED2(ColourNear, PdfColour(pdf), 0x0000FFu);

  // Two prints in a row print one after the other, each into the file.
  fs::remove(pdf);
  browser_->Print();
  browser_->Print();
  EXPECT_EQ(browser_->PendingPrints(), 2);
  ASSERT_TRUE(WaitUntil([&] { return browser_->PrintsFinished() == 3; }, 30000));
  EXPECT_PRED2(ColourNear, PdfColour(pdf), 0x0000FFu);
}

TEST_F(WebBrowserTest, PreviewAndPromptOpenTheirDialogsAndPrint) {
  Load(Write("p.html", ColourPage("#00ff00")));
  browser_->PrintPreview();
  ASSERT_TRUE(WaitUntil([&] { return browser_->PrintPreviewWindow() && browser_->PrintsFinished() >= 1; }, 30000));
  EXPECT_TRUE(browser_->PrintPreviewWindow()->isVisible());
  static_cast<QDialog*>(browser_->PrintPreviewWindow())->reject();
  ASSERT_TRUE(WaitUntil([&] { return browser_->PrintPreviewWindow() == nullptr; }));

  const std::string pdf = dir_ + "prompted.pdf";
  browser_->SetPrintFileName(pdf);
  const int before = browser_->PrintsFinished();
  browser_->PrintWithPrompt();
  ASSERT_TRUE(WaitUntil([&] { return browser_->PrintPromptWindow() != nullptr; }));
  static_cast<QDialog*>(browser_->PrintPromptWindow())->accept();
  ASSERT_TRUE(WaitUntil([&] { return browser_->PrintsFinished() == before + 1; }, 30000));
  EXPECT_PRED2(ColourNear, PdfColour(pdf), 0x00FF00u);

  // Cancelled, the prompt prints nothing.
  browser_->PrintWithPrompt();
  ASSERT_TRUE(WaitUntil([&] { return browser_->PrintPromptWindow() != nullptr; }));
  static_cast<QDialog*>(browser_->PrintPromptWindow())->reject();
  PumpFor(50);
  EXPECT_EQ(browser_->PrintsFinished(), before + 1);
  EXPECT_EQ(browser_->PendingPrints(), 0);
}

TEST_F(WebBrowserTest, RenderedPageShowsInAGrab) {
  Load(Write("red.html",
             "<html><body style='margin:0;background:#ff0000'><div style='width:100px;height:80px;"
             "background:#0000ff'></div></body></html>"));
  QImage image;
  ASSERT_TRUE(WaitUntil([&] {
    image = browser_->View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The engine may hand over a frame before the page is painted whole.
    return image.width() > 300 && image.pixel(300, 300) == qRgb(255, 0, 0) && image.pixel(50, 40) == qRgb(0, 0, 255);
  })) << "the page never showed whole";
  EXPECT_EQ(image.pixel(150, 40), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(50, 120), qRgb(255, 0, 0));
  image.save(QString(TOLVANE_BIN_DIR) + "/../web_browser_page.png");
}

TEST_F(WebBrowserTest, FreedWhilePrintsWaitOrRun) {
  // Freed with a print waiting for the load, and another with its print
  // under way: the printers go with the browsers.
  for (int waitForStart : {0, 1}) {
    SCOPED_TRACE(waitForStart);
    auto* b = new web::TWebBrowser(form_);
    b->SetParent(form_);
    b->SetBounds(0, 0, 200, 200);
    b->SetPrintFileName(dir_ + "freed.pdf");
    b->Navigate(Write("f.html", "<html><body>freed</body></html>"));
    b->Print();
    if (waitForStart) WaitUntil([&] { return !b->Busy(); });
    vcl::Free(b);
    PumpFor(50);
  }
}

TEST(WebEngineStartUp, EnvironmentSwitchesAndSandboxOnlyForRoot) {
  struct Case {
    const char* before;  // nullptr: unset
    bool root;
    const char* flags;
  };
  const Case cases[] = {
      {nullptr, false, "--disable-gpu --disable-background-networking"},
      {"--foo", true, "--foo --disable-gpu --disable-background-networking"},
      {"--disable-gpu --bar", false, "--disable-gpu --bar --disable-background-networking"},
      {"--disable-background-networking --disable-gpu", true, "--disable-background-networking --disable-gpu"},
  };
  const char* oldFlags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
  const std::string savedFlags = oldFlags ? oldFlags : "";
  const char* oldSandbox = std::getenv("QTWEBENGINE_DISABLE_SANDBOX");
  const std::string savedSandbox = oldSandbox ? oldSandbox : "";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before ? c.before : "(unset)");
    if (c.before)
      setenv("QTWEBENGINE_CHROMIUM_FLAGS", c.before, 1);
    else
      unsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    unsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    const AnsiString line = web::PrepareWebEngineEnvironment(c.root);
    EXPECT_STREQ(std::getenv("QTWEBENGINE_CHROMIUM_FLAGS"), c.flags);
    if (c.root) {
      EXPECT_STREQ(std::getenv("QTWEBENGINE_DISABLE_SANDBOX"), "1");
      EXPECT_NE(line.find("sandbox"), AnsiString::npos);
    } else {
      EXPECT_EQ(std::getenv("QTWEBENGINE_DISABLE_SANDBOX"), nullptr);
      EXPECT_EQ(line, "");
    }
  }
  oldFlags ? setenv("QTWEBENGINE_CHROMIUM_FLAGS", savedFlags.c_str(), 1) : unsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  oldSandbox ? setenv("QTWEBENGINE_DISABLE_SANDBOX", savedSandbox.c_str(), 1) : unsetenv("QTWEBENGINE_DISABLE_SANDBOX");
  // The test program made its application after the start-up call.
  EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
}

TEST(NullWebBrowser, NavigatesAtOnceThroughTheVetoAndThePortComesFromTheFactory) {
  auto* form = new vcl::TForm(vcl::Application);
  web::TCustomWebBrowser* b = web::CreateWebBrowser(form);
  EXPECT_NE(dynamic_cast<web::TNullWebBrowser*>(b), nullptr);
  std::vector<AnsiString> completed;
  b->OnDocumentComplete = [&](vcl::TObject*, const AnsiString& url, bool ok) {
    if (ok) completed.push_back(url);
  };
  b->OnBeforeNavigate2 = [](vcl::TObject*, const AnsiString& url, bool& cancel) {
    cancel = url.find("goto_") != AnsiString::npos;
  };
  b->Navigate("/tmp/a b#c.html");
  EXPECT_EQ(b->LocationURL(), "file:///tmp/a%20b%23c.html");
  EXPECT_EQ(web::FilePathOfUrl(b->LocationURL()), "/tmp/a b#c.html");
  b->Navigate("file:///tmp/goto_x.html");
  EXPECT_EQ(b->LocationURL(), "file:///tmp/a%20b%23c.html");
  EXPECT_EQ(b->NavigationCount(), 1);
  EXPECT_EQ(completed, std::vector<AnsiString>{"file:///tmp/a%20b%23c.html"});
  b->Print();
  EXPECT_EQ(b->PrintsFinished(), 0);
  EXPECT_EQ(b->RunJavaScript("1+1"), "");
  EXPECT_EQ(web::LocalFileUrl("http://example.org/x"), "http://example.org/x");
  EXPECT_EQ(web::FilePathOfUrl("http://example.org/x"), "");

  web::InstallWebEngineBrowser();
  web::TCustomWebBrowser* real = web::CreateWebBrowser(form);
  EXPECT_NE(dynamic_cast<web::TWebBrowser*>(real), nullptr);
  web::SetWebBrowserFactory(nullptr);
  EXPECT_NE(dynamic_cast<web::TNullWebBrowser*>(web::CreateWebBrowser(form)), nullptr);
  vcl::Free(form);
}

}  // namespace
