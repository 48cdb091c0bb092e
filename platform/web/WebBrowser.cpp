#include "web/WebBrowser.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "vcl/Forms.h"
#include "vcl/Printers.h"

namespace web {

namespace {

enum class TPrintKind { Direct, Preview, Prompt };

// The engine's page: every navigation asks the browser's veto first, except
// the one Navigate already asked for.
class TVetoPage : public QWebEnginePage {
 public:
  TVetoPage(std::function<bool(const QUrl&, NavigationType)> ask, QObject* parent)
      : QWebEnginePage(parent), ask_(std::move(ask)) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
    (void)isMainFrame;
    return ask_(url, type);
  }

 private:
  std::function<bool(const QUrl&, NavigationType)> ask_;
};

// Lets messages run until done() holds or timeoutMs passed; true when done.
bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() >= timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
  }
  return true;
}

}  // namespace

struct TWebBrowser::TEngine {
  TWebBrowser* browser;
  QPointer<QWidget> container;
  QPointer<QWebEngineView> view;
  QPointer<QWidget> findBar;
  QPointer<QLineEdit> findEdit;
  QPointer<QLabel> findCount;
  bool loading = false;
  // Navigate asked the veto for the load it starts.
  bool ownLoadAsked = false;
  // Print jobs waiting for the load or for the job before them.
  std::deque<TPrintKind> queue;
  // The printer of the job under way: the engine prints asynchronously and
  // reads the printer until printFinished.
  std::unique_ptr<QPrinter> activePrinter;
  bool printing = false;
  // The preview and prompt dialogs with their printers (the dialogs read
  // them as long as they live).
  QPointer<QPrintPreviewDialog> previewDialog;
  std::unique_ptr<QPrinter> previewPrinter;
  QPointer<QPrintDialog> promptDialog;
  std::unique_ptr<QPrinter> promptPrinter;

  explicit TEngine(TWebBrowser* b) : browser(b) {}
  ~TEngine() { CloseDialogs(); }

  void CloseDialogs() {
    delete previewDialog.data();
    previewPrinter.reset();
    delete promptDialog.data();
    promptPrinter.reset();
  }

  void Guard(const std::function<void()>& fn) {
    try {
      fn();
    } catch (...) {
      vcl::Application->HandleException(browser);
    }
  }

  void LoadFinished(bool ok) {
    loading = false;
    const AnsiString url = view ? view->url().toString(QUrl::FullyEncoded).toStdString() : AnsiString();
    Guard([&] { browser->DoDocumentComplete(url, ok); });
    Guard([&] { RunQueue(); });
  }

  // Starts the next job when no page loads and no job prints.
  void RunQueue() {
    while (!queue.empty() && !loading && !printing && view) {
      const TPrintKind kind = queue.front();
      queue.pop_front();
      Start(kind);
    }
  }

  // 300 dots per inch: sharp on paper; the engine rasterises each page,
  // and at the printer's full resolution a page takes seconds.
  static std::unique_ptr<QPrinter> NewPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setResolution(300);
    return printer;
  }

  void Start(TPrintKind kind) {
    switch (kind) {
      case TPrintKind::Direct: {
        auto printer = NewPrinter();
        const AnsiString& file = browser->PrintFileName();
        if (!file.empty()) {
          printer->setOutputFormat(QPrinter::PdfFormat);
          printer->setOutputFileName(QString::fromStdString(file));
        } else if (QPrinterInfo::defaultPrinter().isNull()) {
          browser->CountPrintFinished();
          throw vcl::EPrinter("Printer selected is not valid");
        }
        PrintOn(std::move(printer));
        break;
      }
      case TPrintKind::Preview: {
        delete previewDialog.data();
        previewPrinter = NewPrinter();
        auto* dialog = new QPrintPreviewDialog(previewPrinter.get(), container ? container->window() : nullptr);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        // The preview asks for its pages at once: they are printed then and
        // there, the preview waiting for the engine to finish.
        QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [this](QPrinter* p) {
          if (!view) return;
          bool done = false;
          const auto c = QObject::connect(view, &QWebEngineView::printFinished, [&done](bool) { done = true; });
          printing = true;
          view->print(p);
          WaitFor([&] { return done || !view; }, 60000);
          QObject::disconnect(c);
          printing = false;
          browser->CountPrintFinished();
        });
        previewDialog = dialog;
        dialog->open();
        break;
      }
      case TPrintKind::Prompt: {
        delete promptDialog.data();
        promptPrinter = NewPrinter();
        const AnsiString& file = browser->PrintFileName();
        if (!file.empty()) promptPrinter->setOutputFileName(QString::fromStdString(file));
        auto* dialog = new QPrintDialog(promptPrinter.get(), container ? container->window() : nullptr);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(dialog, &QDialog::accepted, dialog, [this] {
          // The dialog goes; its printer, now set up, prints the page.
          Guard([this] {
            std::unique_ptr<QPrinter> printer = std::move(promptPrinter);
            if (printer) PrintOn(std::move(printer));
          });
        });
        promptDialog = dialog;
        dialog->open();
        break;
      }
    }
  }

  void PrintOn(std::unique_ptr<QPrinter> printer) {
    activePrinter = std::move(printer);
    printing = true;
    view->print(activePrinter.get());
  }

  void PrintFinished(bool) {
    if (!activePrinter) return;  // a preview's page run, already counted
    printing = false;
    browser->CountPrintFinished();
    // The engine is still inside its own call when it reports: the printer
    // goes once that call has returned.
    QPrinter* done = activePrinter.release();
    QTimer::singleShot(0, [done] { delete done; });
    Guard([this] { RunQueue(); });
  }

  void Request(TPrintKind kind) {
    queue.push_back(kind);
    RunQueue();
  }

  void BuildFindBar(QVBoxLayout* layout) {
    auto* bar = new QWidget(container);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    auto* edit = new QLineEdit(bar);
    edit->setObjectName("FindEdit");
    auto* previous = new QToolButton(bar);
    previous->setText("Previous");
    auto* next = new QToolButton(bar);
    next->setText("Next");
    auto* count = new QLabel(bar);
    auto* close = new QToolButton(bar);
    close->setText("Close");
    row->addWidget(new QLabel("Find:", bar));
    row->addWidget(edit, 1);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(count);
    row->addWidget(close);
    layout->addWidget(bar);
    bar->hide();
    findBar = bar;
    findEdit = edit;
    findCount = count;
    const auto find = [this](bool backward) {
      if (findEdit) browser->FindText(findEdit->text().toStdString(), backward);
    };
    QObject::connect(edit, &QLineEdit::returnPressed, bar, [find] { find(false); });
    QObject::connect(next, &QToolButton::clicked, bar, [find] { find(false); });
    QObject::connect(previous, &QToolButton::clicked, bar, [find] { find(true); });
    QObject::connect(close, &QToolButton::clicked, bar, [this] {
      if (view) view->findText(QString());
      if (findBar) findBar->hide();
    });
  }
};

TWebBrowser::TWebBrowser(vcl::TComponent* owner)
    : TCustomWebBrowser(owner), engine_(std::make_unique<TEngine>(this)) {}

TWebBrowser::~TWebBrowser() {
  // The control's window goes with the base class, the engine's state after
  // it; a print under way must end while the view is still there.
  engine_->CloseDialogs();
  engine_->queue.clear();
  if (engine_->printing) WaitFor([this] { return !engine_->printing; }, 60000);
}

QWidget* TWebBrowser::CreateWidget() {
  auto* container = new QWidget();
  auto* layout = new QVBoxLayout(container);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* view = new QWebEngineView(container);
  TEngine* engine = engine_.get();
  auto* page = new TVetoPage(
      [this, engine](const QUrl& url, QWebEnginePage::NavigationType type) {
        if (type == QWebEnginePage::NavigationTypeTyped && engine->ownLoadAsked) {
          engine->ownLoadAsked = false;
          return true;
        }
        bool go = false;
        engine->Guard([&] { go = DoBeforeNavigate(url.toString(QUrl::FullyEncoded).toStdString()); });
        return go;
      },
      view);
  view->setPage(page);
  layout->addWidget(view, 1);
  engine->container = container;
  engine->view = view;
  engine->BuildFindBar(layout);
  QObject::connect(view, &QWebEngineView::loadStarted, container, [engine] { engine->loading = true; });
  QObject::connect(view, &QWebEngineView::loadFinished, container, [engine](bool ok) { engine->LoadFinished(ok); });
  QObject::connect(view, &QWebEngineView::printFinished, container,
                   [engine](bool ok) { engine->PrintFinished(ok); });
  return container;
}

void TWebBrowser::DestroyWnd() {
  engine_->CloseDialogs();
  engine_->queue.clear();
  // The engine cannot drop a view it is printing: a print under way ends
  // first.
  if (engine_->printing) WaitFor([this] { return !engine_->printing; }, 60000);
  engine_->loading = false;
  engine_->printing = false;
  TCustomWebBrowser::DestroyWnd();
  // A printer the engine was still using goes with the view.
  engine_->activePrinter.reset();
}

QWebEngineView* TWebBrowser::View() {
  HandleNeeded();
  return engine_->view;
}

void TWebBrowser::Navigate(const AnsiString& url) {
  const AnsiString target = LocalFileUrl(url);
  QWebEngineView* view = View();
  if (!DoBeforeNavigate(target)) return;
  engine_->ownLoadAsked = true;
  // A print asked for from here on waits for this page.
  engine_->loading = true;
  view->load(QUrl(QString::fromStdString(target), QUrl::StrictMode));
}

AnsiString TWebBrowser::LocationURL() const {
  if (!engine_->view) return AnsiString();
  return engine_->view->url().toString(QUrl::FullyEncoded).toStdString();
}

bool TWebBrowser::Busy() const { return engine_->loading; }

bool TWebBrowser::WaitWhileBusy(Integer timeoutMs) {
  return WaitFor([this] { return !engine_->loading; }, timeoutMs);
}

void TWebBrowser::ShowFind() {
  View();
  engine_->findBar->show();
  engine_->findEdit->setFocus();
  engine_->findEdit->selectAll();
}

bool TWebBrowser::FindBarVisible() const { return engine_->findBar && engine_->findBar->isVisible(); }

Integer TWebBrowser::FindText(const AnsiString& text, bool backward) {
  QWebEngineView* view = View();
  if (engine_->findEdit && engine_->findEdit->text().toStdString() != text)
    engine_->findEdit->setText(QString::fromStdString(text));
  auto state = std::make_shared<std::pair<bool, int>>(false, 0);
  const QWebEnginePage::FindFlags flags = backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags();
  view->findText(QString::fromStdString(text), flags, [state](const QWebEngineFindTextResult& r) {
    state->first = true;
    state->second = r.numberOfMatches();
  });
  if (text.empty()) return 0;
  WaitFor([state] { return state->first; }, 5000);
  if (engine_->findCount)
    engine_->findCount->setText(state->second ? QString("%1 matches").arg(state->second) : QString("No matches"));
  return state->second;
}

void TWebBrowser::Print() {
  View();
  engine_->Request(TPrintKind::Direct);
}

void TWebBrowser::PrintPreview() {
  View();
  engine_->Request(TPrintKind::Preview);
}

void TWebBrowser::PrintWithPrompt() {
  View();
  engine_->Request(TPrintKind::Prompt);
}

Integer TWebBrowser::PendingPrints() const {
  return static_cast<Integer>(engine_->queue.size()) + (engine_->printing ? 1 : 0);
}

QWidget* TWebBrowser::PrintPreviewWindow() const { return engine_->previewDialog; }
QWidget* TWebBrowser::PrintPromptWindow() const { return engine_->promptDialog; }

AnsiString TWebBrowser::RunJavaScript(const AnsiString& script, Integer timeoutMs) {
  QWebEngineView* view = View();
  struct TResult {
    bool done = false;
    QVariant value;
  };
  auto result = std::make_shared<TResult>();
  view->page()->runJavaScript(QString::fromStdString(script), [result](const QVariant& v) {
    result->done = true;
    result->value = v;
  });
  if (!WaitFor([result] { return result->done; }, timeoutMs)) return AnsiString();
  return result->value.toString().toStdString();
}

void InstallWebEngineBrowser() {
  SetWebBrowserFactory([](vcl::TComponent* owner) -> TCustomWebBrowser* { return new TWebBrowser(owner); });
}

AnsiString PrepareWebEngineEnvironment(bool runsAsRoot) {
  std::string flags;
  if (const char* old = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS")) flags = old;
  for (const char* flag : {"--disable-gpu", "--disable-background-networking"}) {
    // A switch is there when it stands as a word of its own.
    const std::string padded = " " + flags + " ";
    if (padded.find(std::string(" ") + flag + " ") != std::string::npos) continue;
    if (!flags.empty()) flags += ' ';
    flags += flag;
  }
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str(), 1);
  if (!runsAsRoot) return AnsiString();
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  return "Running as root: the web engine's sandbox is switched off (QTWEBENGINE_DISABLE_SANDBOX=1).";
}

AnsiString PrepareWebEngineStartUp() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  const AnsiString line = PrepareWebEngineEnvironment(geteuid() == 0);
  if (!line.empty()) std::fprintf(stderr, "%s\n", line.c_str());
  return line;
}

}  // namespace web
