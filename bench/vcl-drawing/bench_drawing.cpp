// Costs of the canvas's text layout, pixel copies and JPEG coding.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "vcl/Gdi.h"
#include "vcl/Jpeg.h"
#include "vcl/TestCanvases.h"

namespace {

using namespace vcl;

const AnsiString kParagraph =
    "The module replaces each tag by live data when it serves a page: pin states and voltages, registers, "
    "serial-line data, temperatures and network settings, or drops the text that a false condition guards.";

void BM_DrawTextWordBreak(benchmark::State& state) {
  TBitmap page(400, 300);
  page.Canvas()->Font()->SetName("Tahoma");
  page.Canvas()->Brush()->SetStyle(bsClear);
  for (auto _ : state) {
    TRect r = Rect(0, 0, 200, 300);
    benchmark::DoNotOptimize(page.Canvas()->DrawText(kParagraph, r, DT_WORDBREAK | (state.range(0) ? DT_CALCRECT : 0)));
  }
}
BENCHMARK(BM_DrawTextWordBreak)->Arg(0)->Arg(1)->ArgName("calcrect");

void BM_DrawTextFakeMetrics(benchmark::State& state) {
  TRecordingCanvas c;
  for (auto _ : state) {
    TRect r = Rect(0, 0, 200, 300);
    benchmark::DoNotOptimize(c.DrawText(kParagraph, r, DT_WORDBREAK | DT_CALCRECT));
  }
}
BENCHMARK(BM_DrawTextFakeMetrics);

void BM_CopyRect(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TBitmap src(n, n), dst(n, n);
  src.Canvas()->Brush()->SetColor(clRed);
  src.Canvas()->FillRect(Rect(0, 0, n / 2, n));
  for (auto _ : state) {
    if (state.range(1)) {
      dst.Canvas()->BlitFrom(Rect(0, 0, n, n), src.Canvas(), Rect(0, 0, n, n), SRCCOPY, clRed);
    } else {
      dst.Canvas()->CopyRect(Rect(0, 0, n, n), src.Canvas(), Rect(0, 0, n, n));
    }
  }
  state.SetItemsProcessed(state.iterations() * n * n);
}
BENCHMARK(BM_CopyRect)->Args({64, 0})->Args({512, 0})->Args({512, 1})->ArgNames({"size", "transparent"});

std::unique_ptr<TBitmap> Photo(int n) {
  auto b = std::make_unique<TBitmap>(n, n);
  b->SetPixelFormat(pf24bit);
  for (int y = 0; y < n; ++y) {
    auto* row = static_cast<Byte*>(b->ScanLine(y));
    for (int x = 0; x < n; ++x) {
      row[x * 3] = static_cast<Byte>(x ^ y);
      row[x * 3 + 1] = static_cast<Byte>(x + y);
      row[x * 3 + 2] = static_cast<Byte>(x * 3);
    }
  }
  return b;
}

void BM_JpegEncode(benchmark::State& state) {
  auto photo = Photo(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TJPEGImage j;
    j.Assign(photo.get());
    rtl::TMemoryStream m;
    j.SaveToStream(m);
    benchmark::DoNotOptimize(m.Size());
  }
}
BENCHMARK(BM_JpegEncode)->Arg(256)->Arg(1024);

void BM_JpegDecode(benchmark::State& state) {
  auto photo = Photo(static_cast<int>(state.range(0)));
  TJPEGImage j;
  j.Assign(photo.get());
  rtl::TMemoryStream m;
  j.SaveToStream(m);
  for (auto _ : state) {
    m.SetPosition(0);
    TJPEGImage d;
    d.LoadFromStream(m);
    d.SetScale(static_cast<TJPEGScale>(state.range(1)));
    benchmark::DoNotOptimize(d.Bitmap());
  }
}
BENCHMARK(BM_JpegDecode)->Args({256, 0})->Args({1024, 0})->Args({1024, 1})->ArgNames({"size", "scale"});

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
