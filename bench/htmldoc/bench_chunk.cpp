// The node list: text with entities read, HTML written (MB/s of text), a
// list of 100,000 elements copied (an undo step), and the text search;
// beside QTextDocument's setHtml, toHtml and clone on the same text in the
// same run.
#include <benchmark/benchmark.h>

#ifdef TOLVANE_BENCH_WITH_QT
#include <QTextDocument>
#endif

#include <memory>
#include <string>

#include "BenchApplication.h"
#include "htmledit/doc/psDataChunk.h"
#include "rtl/CodePages.h"

using namespace htmldoc;

namespace {

// Body text as a page holds it: words, some entities, a few paragraphs.
WideString SampleText(size_t aCharacters) {
  const std::u16string piece =
      u"Caf&eacute; &amp; bar &lt;b&gt; &#8212; words of a page about modules, "
      u"pins and registers &nbsp; with a &copy; sign and more plain words. ";
  WideString text;
  while (text.size() < aCharacters) text += piece;
  return text;
}

std::unique_ptr<TpsDataChunk> SampleChunk(size_t aCharacters) {
  auto chunk = std::make_unique<TpsDataChunk>();
  chunk->AddTag(TpsHtmlTag::CreateFromText(nullptr, "<p>"));
  chunk->AppendCursor();
  chunk->AddTextWithEntities(SampleText(aCharacters));
  chunk->AddTag(TpsHtmlTag::CreateFromText(nullptr, "</p>"));
  return chunk;
}

const TpsCharacterEncoding& Utf8() {
  static const TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  return encoding;
}

void BM_AddTextWithEntities(benchmark::State& state) {
  const WideString text = SampleText(state.range(0));
  for (auto _ : state) {
    TpsDataChunk chunk;
    chunk.AddTextWithEntities(text);
    benchmark::DoNotOptimize(chunk.Last());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
}
BENCHMARK(BM_AddTextWithEntities)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_GetHtmlText(benchmark::State& state) {
  auto chunk = SampleChunk(state.range(0));
  size_t bytes = 0;
  for (auto _ : state) {
    const WideString html = chunk->GetHtmlText(nullptr, nullptr, "", false, Utf8());
    bytes += html.size();
    benchmark::DoNotOptimize(html.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_GetHtmlText)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Clone100000(benchmark::State& state) {
  auto chunk = SampleChunk(100000);
  for (auto _ : state) benchmark::DoNotOptimize(chunk->Clone(false));
}
BENCHMARK(BM_Clone100000)->Unit(benchmark::kMillisecond);

void BM_FindText(benchmark::State& state) {
  auto chunk = SampleChunk(100000);
  for (auto _ : state) {
    uint32_t start, end;
    benchmark::DoNotOptimize(chunk->FindText(u"not in the text", false, true, start, end));
  }
}
BENCHMARK(BM_FindText)->Unit(benchmark::kMillisecond);

// --- QTextDocument on the same text --------------------------------------------
#ifdef TOLVANE_BENCH_WITH_QT

using htmldoc::bench::Application;

QString SampleHtml(size_t aCharacters) {
  const WideString text = SampleText(aCharacters);
  return QStringLiteral("<p>") + QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())) +
         QStringLiteral("</p>");
}

void BM_QTextDocumentSetHtml(benchmark::State& state) {
  Application();
  const QString html = SampleHtml(state.range(0));
  for (auto _ : state) {
    QTextDocument document;
    document.setHtml(html);
    benchmark::DoNotOptimize(document.characterCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * html.size());
}
BENCHMARK(BM_QTextDocumentSetHtml)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentToHtml(benchmark::State& state) {
  Application();
  QTextDocument document;
  document.setHtml(SampleHtml(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    const QString html = document.toHtml();
    bytes += html.size();
    benchmark::DoNotOptimize(html.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_QTextDocumentToHtml)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentClone(benchmark::State& state) {
  Application();
  QTextDocument document;
  document.setHtml(SampleHtml(100000));
  for (auto _ : state) {
    std::unique_ptr<QTextDocument> copy(document.clone());
    benchmark::DoNotOptimize(copy.get());
  }
}
BENCHMARK(BM_QTextDocumentClone)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
