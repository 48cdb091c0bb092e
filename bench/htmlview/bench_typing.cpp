// Typing into a page of the Apache manual (developer/modguide.html) laid
// out on the fake-metrics canvas: one character typed into a paragraph in
// the middle of the page (the paragraph lays itself out again alone) and
// one Enter there (its transaction lays the whole page out again), each
// through the window manager as the editor sends keys; beside them
// QTextCursor::insertText of one character into a QTextDocument of the
// same HTML at the same width, laid out again.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <fstream>
#include <sstream>

#include "htmlview/LayoutFixture.h"

namespace {

using namespace htmlview;

std::string ReadModuleGuide() {
  std::ifstream in("/usr/share/doc/apache2-doc/manual/en/developer/modguide.html", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The page with the caret at the start of the middle paragraph's first
// line, focused as after a click.
struct TypingPage : testing::LayoutPage {
  explicit TypingPage(const std::string& aHtml) : LayoutPage(800, 600) {
    Host.DC = &Fake;
    Host.Manager = &Manager;
    Load(aHtml);
    Host.Selection.Root = Body;
    std::vector<TpsWindow*> paragraphs;
    for (TpsWindow* w = FollowingTextNode(Body); w; w = FollowingTextNode(w))
      if (testing::ClassName(w->GetParent()) == "p" && w->GetParent()->Child(0) == w) paragraphs.push_back(w);
    if (paragraphs.empty()) return;
    TpsWindow* line = paragraphs[paragraphs.size() / 2];
    TpsMessage take(mrCommand, psmTakeCursorAtColumn, line);
    take.AutoFree = false;
    take.X = line->GetAbsoluteLeft();
    line->HandleMessage(take);
  }
  void Key(Integer aId, const char16_t* aText = nullptr) {
    TpsMessagePtr m = TpsMessage::Create(mrFocused, aId);
    if (aText) m->WideText = aText;
    Manager.SendToFocusedNode(m);
  }
  Integer RootLayouts() const {
    return static_cast<Integer>(std::count(Host.Calls.begin(), Host.Calls.end(), "LayoutRunning 1"));
  }
};

void BM_ViewTypeOneCharacter(benchmark::State& state) {
  const std::string html = ReadModuleGuide();
  if (html.empty()) {
    state.SkipWithError("apache2-doc is not installed");
    return;
  }
  TypingPage page(html);
  if (!page.Manager.FocusedNode()) {
    state.SkipWithError("no paragraph took the caret");
    return;
  }
  page.Host.Forget();
  Integer rootLayouts = 0;
  for (auto _ : state) {
    page.Key(psmInsertTypedText, u"x");
    state.PauseTiming();
    // The character goes again with a Backspace (a root transaction),
    // outside the measure.
    rootLayouts += page.RootLayouts();
    page.Key(psmKeyBackspace);
    page.Host.Forget();
    state.ResumeTiming();
  }
  // Typed text stays in its paragraph: no layout of the whole page.
  state.counters["root_layouts"] = rootLayouts;
}
BENCHMARK(BM_ViewTypeOneCharacter)->Unit(benchmark::kMicrosecond);

void BM_ViewEnter(benchmark::State& state) {
  const std::string html = ReadModuleGuide();
  if (html.empty()) {
    state.SkipWithError("apache2-doc is not installed");
    return;
  }
  TypingPage page(html);
  if (!page.Manager.FocusedNode()) {
    state.SkipWithError("no paragraph took the caret");
    return;
  }
  page.Host.Forget();
  Integer rootLayouts = 0;
  for (auto _ : state) {
    page.Key(psmKeyEnter);
    state.PauseTiming();
    rootLayouts += page.RootLayouts();
    page.Host.Forget();
    state.ResumeTiming();
  }
  // Each Enter lays the whole page out once.
  state.counters["root_layouts"] = rootLayouts;
}
BENCHMARK(BM_ViewEnter)->Unit(benchmark::kMillisecond);

void BM_QTextCursorInsertOneCharacter(benchmark::State& state) {
  const std::string html = ReadModuleGuide();
  if (html.empty()) {
    state.SkipWithError("apache2-doc is not installed");
    return;
  }
  QTextDocument document;
  document.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
  document.setTextWidth(800);
  double height = document.documentLayout()->documentSize().height();
  QTextCursor cursor(&document);
  cursor.setPosition(document.characterCount() / 2);
  cursor.movePosition(QTextCursor::StartOfBlock);
  for (auto _ : state) {
    cursor.insertText(QStringLiteral("x"));
    height = document.documentLayout()->documentSize().height();
    benchmark::DoNotOptimize(height);
    state.PauseTiming();
    cursor.deletePreviousChar();
    document.documentLayout()->documentSize();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_QTextCursorInsertOneCharacter)->Unit(benchmark::kMicrosecond);

}  // namespace
