// The editor component on real and generated pages: loading (parse and
// layout) and saving the Apache manual's largest pages and a generated
// 1 MB page, beside QTextDocument's setHtml and toHtml on the same HTML in
// the same run; typing one character (InsertText) and taking an undo
// snapshot (SaveUndoState) on that page; a character typed as a Qt key
// event and a wheel notch, each with its repaint, on that page; printing a
// 50-page document to an A4 PDF at 300 dpi beside QTextDocument's print
// to the same kind of writer.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "htmledit/control/psHtmlEdit.h"
#include "vcl/Forms.h"
#include "vcl/Printers.h"

namespace {

const std::filesystem::path kManual = "/usr/share/doc/apache2-doc/manual/en";

std::string ReadBytes(const std::filesystem::path& aPath) {
  std::ifstream in(aPath, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The three largest pages of the manual (empty without apache2-doc).
const std::vector<std::string>& LargestPages() {
  static const std::vector<std::string> pages = [] {
    std::vector<std::pair<uintmax_t, std::filesystem::path>> found;
    if (std::filesystem::is_directory(kManual))
      for (const auto& e : std::filesystem::recursive_directory_iterator(kManual))
        if (e.is_regular_file() && e.path().extension() == ".html") found.emplace_back(e.file_size(), e.path());
    std::sort(found.rbegin(), found.rend());
    std::vector<std::string> out;
    for (size_t i = 0; i < found.size() && i < 3; ++i) out.push_back(ReadBytes(found[i].second));
    return out;
  }();
  return pages;
}

// About a megabyte of paragraphs, lists and a table with inline formatting.
const std::string& GeneratedPage() {
  static const std::string page = [] {
    std::string s = "<html><head><title>Generated</title></head><body>";
    int i = 0;
    while (s.size() < 1000000) {
      s += "<h2>Section " + std::to_string(i) + "</h2><p>Paragraph " + std::to_string(i) +
           " with <b>bold</b>, <i>italic</i> and <a href=\"page" + std::to_string(i) +
           ".htm\">a link</a> in a line of ordinary text that wraps across the page width.</p>"
           "<ul><li>first item</li><li>second <u>item</u></li></ul>"
           "<table border=\"1\"><tr><td>cell a</td><td>cell b</td></tr></table>";
      ++i;
    }
    return s + "</body></html>";
  }();
  return page;
}

const std::string& PageFor(int aIndex) {
  if (aIndex < 0) return GeneratedPage();
  return LargestPages()[static_cast<size_t>(aIndex)];
}

struct Editor {
  Editor() {
    Form = new vcl::TForm(vcl::Application, 0);
    Form->SetClientWidth(820);
    Form->SetClientHeight(620);
    Edit = new htmledit::TpsHTMLEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 800, 600);
    Edit->OnSupportedCustomTag = [](htmldoc::TObjectPtr, const htmldoc::TpsMarkupTag&, bool& aKeep) { aKeep = true; };
    Edit->Loaded();
    Form->Show();
  }
  ~Editor() { vcl::Free(Form); }
  vcl::TForm* Form;
  htmledit::TpsHTMLEdit* Edit;
};

// Arg: the page (-1 the generated one, 0.. the manual's largest).
void BM_EditorLoad(benchmark::State& state) {
  const int index = static_cast<int>(state.range(0));
  if (index >= 0 && static_cast<size_t>(index) >= LargestPages().size()) {
    state.SkipWithError("apache2-doc is not installed");
    return;
  }
  Editor e;
  const std::string& page = PageFor(index);
  for (auto _ : state) e.Edit->LoadHTML(page);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_EditorSave(benchmark::State& state) {
  const int index = static_cast<int>(state.range(0));
  if (index >= 0 && static_cast<size_t>(index) >= LargestPages().size()) {
    state.SkipWithError("apache2-doc is not installed");
    return;
  }
  Editor e;
  const std::string& page = PageFor(index);
  e.Edit->LoadHTML(page);
  for (auto _ : state) benchmark::DoNotOptimize(e.Edit->SaveToString(true, true));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_QTextDocumentSetHtml(benchmark::State& state) {
  const int index = static_cast<int>(state.range(0));
  if (index >= 0 && static_cast<size_t>(index) >= LargestPages().size()) {
    state.SkipWithError("apache2-doc is not installed");
    return;
  }
  const QString html = QString::fromUtf8(PageFor(index));
  for (auto _ : state) {
    QTextDocument document;
    document.setTextWidth(800);
    document.setHtml(html);
    benchmark::DoNotOptimize(document.size());  // lays it out
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PageFor(index).size()));
}

void BM_QTextDocumentToHtml(benchmark::State& state) {
  const int index = static_cast<int>(state.range(0));
  if (index >= 0 && static_cast<size_t>(index) >= LargestPages().size()) {
    state.SkipWithError("apache2-doc is not installed");
    return;
  }
  QTextDocument document;
  document.setHtml(QString::fromUtf8(PageFor(index)));
  for (auto _ : state) benchmark::DoNotOptimize(document.toHtml());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PageFor(index).size()));
}

// One character typed at the caret of the generated page, and the undo
// snapshot a command takes first.
void BM_EditorInsertText(benchmark::State& state) {
  Editor e;
  std::string page = GeneratedPage();
  page.insert(page.find("Paragraph 0") + 4, "<!-- EDITING POSITION -->");
  e.Edit->LoadHTML(page);
  for (auto _ : state) e.Edit->InsertText("x", false);
}

void BM_EditorSaveUndoState(benchmark::State& state) {
  Editor e;
  e.Edit->LoadHTML(GeneratedPage());
  for (auto _ : state) e.Edit->SaveUndoState();
}

// From the Qt key event to the repainted buffer.
void BM_EditorTypedKeyEvent(benchmark::State& state) {
  Editor e;
  e.Edit->LoadFromString(GeneratedPage(), true, true);
  e.Edit->SetFocus();
  vcl::Application->ProcessMessages();
  for (auto _ : state) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QCoreApplication::sendEvent(e.Edit->Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x");
    QCoreApplication::sendEvent(e.Edit->Widget(), &release);
    vcl::Application->ProcessMessages();
  }
}

// One notch down and one up, each with its repaint.
void BM_EditorWheelScroll(benchmark::State& state) {
  Editor e;
  e.Edit->LoadFromString(GeneratedPage(), true, true);
  vcl::Application->ProcessMessages();
  const QPointF at(100, 100);
  for (auto _ : state) {
    for (int delta : {-120, 120}) {
      QWheelEvent wheel(at, e.Edit->Widget()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(e.Edit->Widget(), &wheel);
      vcl::Application->ProcessMessages();
    }
  }
}

// About 50 A4 pages of paragraphs.
const std::string& FiftyPages() {
  static const std::string html = [] {
    std::string h;
    for (int i = 0; i < 50 * 49; ++i)
      h += "<p>Line " + std::to_string(i) + " alpha beta gamma delta epsilon zeta eta theta</p>";
    return h;
  }();
  return html;
}

void BM_EditorPrintPdf(benchmark::State& state) {
  QTemporaryDir dir;
  vcl::Printer()->SetPdfTarget(QDir(dir.path()).filePath("e.pdf").toStdString(), 210, 297, 300);
  Editor e;
  e.Edit->LoadFromString(FiftyPages(), true, false);
  for (auto _ : state) e.Edit->Print({100, 100, 100, 100});
  vcl::SetPrinter(nullptr);
}

void BM_QTextDocumentPrintPdf(benchmark::State& state) {
  QTemporaryDir dir;
  QTextDocument document;
  document.setHtml(QString::fromStdString(FiftyPages()));
  for (auto _ : state) {
    QPdfWriter writer(QDir(dir.path()).filePath("q.pdf"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    document.print(&writer);
  }
}

BENCHMARK(BM_EditorLoad)->Arg(-1)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextDocumentSetHtml)->Arg(-1)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorSave)->Arg(-1)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextDocumentToHtml)->Arg(-1)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorInsertText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorSaveUndoState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorTypedKeyEvent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorWheelScroll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorPrintPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextDocumentPrintPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  vcl::InitApplication();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
