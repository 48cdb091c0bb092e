// Throughput of the document model's hottest small pieces: reading tags,
// decoding and encoding entities, the change fingerprint and tag codes.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "htmledit/doc/psCrc32.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTagParser.h"
#include "rtl/CodePages.h"

using namespace htmldoc;

namespace {

const std::vector<WideString>& SampleTags() {
  static const std::vector<WideString> tags = {
      u"<a href=\"../mod/core.html#directory\" title=\"Directory section\">",
      u"<img src=\"../images/feather.png\" alt=\"\" width=\"45\" height=\"30\" />",
      u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">",
      u"<td nowrap width=5 class='cell'>",
      u"</div>",
      u"<p align=center title=hello world>",
  };
  return tags;
}

// Text as a page body holds it: mostly plain words, some entities.
WideString SampleText(size_t aBytes) {
  const std::u16string piece =
      u"Caf&eacute; &amp; bar &lt;b&gt; &#8212; &#x1F600; plain words here, "
      u"more words &nbsp; and a lone & ampersand; ";
  WideString text;
  while (text.size() < aBytes / 2) text += piece;
  return text;
}

void BM_ParseTag(benchmark::State& state) {
  TpsMarkupTag tag;
  const auto& tags = SampleTags();
  size_t i = 0;
  for (auto _ : state) {
    tag.Parse(tags[i++ % tags.size()]);
    benchmark::DoNotOptimize(tag.GetAttributeCount());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseTag);

void BM_TagRoundTrip(benchmark::State& state) {
  const AnsiString text = "<a href=\"x.html\" title='say \"hi\"' class=link>";
  for (auto _ : state) {
    TpsMarkupTag tag(text);
    benchmark::DoNotOptimize(tag.GetText());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TagRoundTrip);

void BM_DecodeEntitiesW(benchmark::State& state) {
  const WideString text = SampleText(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(DecodeEntitiesW(text));
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_DecodeEntitiesW)->Arg(4 << 10)->Arg(256 << 10);

void BM_EncodeEntities(benchmark::State& state) {
  const WideString text = DecodeEntitiesW(SampleText(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(EncodeEntities(text, false));
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_EncodeEntities)->Arg(256 << 10);

void BM_StringCrc32(benchmark::State& state) {
  const AnsiString text = rtl::WideToUtf8(SampleText(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(StringCrc32(text));
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_StringCrc32)->Arg(256 << 10);

void BM_TagNameToCode(benchmark::State& state) {
  const char* const names[] = {"TABLE", "td", "span", "font", "BlockQuote", "x-custom"};
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TagNameToCode(names[i++ % 6]));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TagNameToCode);

}  // namespace

BENCHMARK_MAIN();
