// Editing the node list: bold applied across 100 KB of formatted text and
// removed again, beside QTextCursor::mergeCharFormat on the same text in the
// same run; the uncontended document lock beside std::recursive_mutex;
// deleting half of a large block's text; reading a table of 100 rows of 20
// cells.
#include <benchmark/benchmark.h>

#ifdef TOLVANE_BENCH_WITH_QT
#include <QTextCursor>
#include <QTextDocument>
#endif

#include <memory>
#include <mutex>
#include <string>

#include "BenchApplication.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psDocumentAccess.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psTableAccess.h"

using namespace htmldoc;

namespace {

// One paragraph of about aCharacters characters of words, every seventh
// word bold and every eleventh italic, markers 1 and 2 around its content.
std::unique_ptr<TpsDataChunk> FormattedParagraph(size_t aCharacters) {
  auto chunk = std::make_unique<TpsDataChunk>();
  chunk->AddTag(TpsHtmlTag::CreateFromText(nullptr, "<p>"));
  chunk->AddMarker(1);
  size_t characters = 0;
  for (int word = 0; characters < aCharacters; ++word) {
    const char* tag = word % 7 == 0 ? "b" : word % 11 == 0 ? "i" : nullptr;
    if (tag) chunk->AddTag(TpsHtmlTag::CreateFromText(nullptr, std::string("<") + tag + ">"));
    chunk->InsertTextAt(u"module", nullptr, true);
    if (tag) chunk->AddTag(TpsHtmlTag::CreateFromText(nullptr, std::string("</") + tag + ">"));
    chunk->AddCharacter(u' ');
    characters += 7;
  }
  chunk->AddMarker(2);
  chunk->AddTag(TpsHtmlTag::CreateFromText(nullptr, "</p>"));
  return chunk;
}

void BM_BoldAppliedAndRemoved(benchmark::State& state) {
  const auto original = FormattedParagraph(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto chunk = original->Clone(false);
    state.ResumeTiming();
    chunk->ApplyTagToMarkedRange(nullptr, 1, 2, "<b>", nullptr, nullptr);
    chunk->RemoveTagFromMarkedRange(1, 2, "<b>", nullptr);
    benchmark::DoNotOptimize(chunk->First());
    state.PauseTiming();
    chunk.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_BoldAppliedAndRemoved)->Arg(100000)->Unit(benchmark::kMillisecond);

#ifdef TOLVANE_BENCH_WITH_QT
void BM_QTextCursorBoldMergedAndRemoved(benchmark::State& state) {
  bench::Application();
  // The same words with the same formatting.
  QTextDocument original;
  {
    QTextCursor cursor(&original);
    QTextCharFormat plain, bold, italic;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    size_t characters = 0;
    for (int word = 0; characters < static_cast<size_t>(state.range(0)); ++word) {
      cursor.insertText(QStringLiteral("module"), word % 7 == 0 ? bold : word % 11 == 0 ? italic : plain);
      cursor.insertText(QStringLiteral(" "), plain);
      characters += 7;
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<QTextDocument> document(original.clone());
    state.ResumeTiming();
    QTextCursor cursor(document.get());
    cursor.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(format);
    format.setFontWeight(QFont::Normal);
    cursor.mergeCharFormat(format);
    benchmark::DoNotOptimize(document->characterCount());
    state.PauseTiming();
    document.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_QTextCursorBoldMergedAndRemoved)->Arg(100000)->Unit(benchmark::kMillisecond);
#endif

void BM_DocumentLockUncontended(benchmark::State& state) {
  TpsDocumentAccess access;
  for (auto _ : state) {
    access.Lock();
    access.Unlock();
  }
}
BENCHMARK(BM_DocumentLockUncontended);

void BM_DocumentLockNested(benchmark::State& state) {
  TpsDocumentAccess access;
  access.Lock();
  for (auto _ : state) {
    access.Lock();
    access.Unlock();
  }
  access.Unlock();
}
BENCHMARK(BM_DocumentLockNested);

void BM_RecursiveMutexUncontended(benchmark::State& state) {
  std::recursive_mutex mutex;
  for (auto _ : state) {
    mutex.lock();
    mutex.unlock();
  }
}
BENCHMARK(BM_RecursiveMutexUncontended);

// Half of a block of aCharacters characters selected, from a quarter to
// three quarters, and deleted.
void BM_DeleteSelection(benchmark::State& state) {
  const auto original = FormattedParagraph(state.range(0));
  original->RemoveMarkers(1, 2);
  original->InsertCursor(original->First(), true);
  TpsChunkElement* from = original->GetCharacterByIndex(static_cast<Integer>(state.range(0) / 4), false);
  TpsChunkElement* to = original->GetCharacterByIndex(static_cast<Integer>(state.range(0) * 3 / 4), false);
  original->SetSelection(true, from->Id, to->Id, true);
  for (auto _ : state) {
    state.PauseTiming();
    auto chunk = original->Clone(false);
    state.ResumeTiming();
    chunk->DeleteSelection(nullptr);
    benchmark::DoNotOptimize(chunk->First());
    state.PauseTiming();
    chunk.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0) / 2);
}
BENCHMARK(BM_DeleteSelection)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadTable100x20(benchmark::State& state) {
  TpsDataChunk chunk;
  chunk.AddTag(TpsHtmlTag::CreateFromText(nullptr, "<table>"));
  for (int row = 0; row < 100; ++row) {
    chunk.AddTag(TpsHtmlTag::CreateFromText(nullptr, "<tr>"));
    for (int cell = 0; cell < 20; ++cell) {
      chunk.AddTag(TpsHtmlTag::CreateFromText(nullptr, "<td width=\"5%\">"));
      chunk.InsertTextAt(u"cell " + std::u16string(1, static_cast<char16_t>(u'a' + cell)), nullptr, true);
      chunk.AddTag(TpsHtmlTag::CreateFromText(nullptr, "</td>"));
    }
    chunk.AddTag(TpsHtmlTag::CreateFromText(nullptr, "</tr>"));
  }
  chunk.AddTag(TpsHtmlTag::CreateFromText(nullptr, "</table>"));
  for (auto _ : state) {
    TpsTableDataAccess table(&chunk, chunk.First(), chunk.Last(), nullptr, false);
    benchmark::DoNotOptimize(table.GetRow(99).GetCellCount());
  }
}
BENCHMARK(BM_ReadTable100x20)->Unit(benchmark::kMicrosecond);

}  // namespace
