// The code editor's text beside QScintilla's on the same 100,000 lines made
// of the Apache manual's English pages: loading, saving, and the length of
// a selection near the end (the main window asks for it on every idle
// update). Run with --benchmark_filter to pick one side. The typing aids
// are measured on the editor alone: the completion list opened, narrowed
// and closed over 5,000 entries, and the parameter hint's lookup that runs
// on every caret move after a key.
#include <benchmark/benchmark.h>

#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <cstdlib>

#include "MemoCorpus.h"
#include "memo/LumCustomMemo.h"
#include "memo/LumMemoStyler.h"
#include "vcl/Messages.h"
#include "vcl/Forms.h"

namespace {

constexpr int kLines = 100000;

// The English pages, one after another, cut at 100,000 lines (CR LF).
const std::string& BigText() {
  static const std::string text = [] {
    std::string out;
    int lines = 0;
    auto files = memotest::ManualFiles(true);
    while (lines < kLines) {
      bool any = false;
      for (const auto& f : files) {
        if (f.string().find("/en/") == std::string::npos) continue;
        any = true;
        std::string page = memotest::Slurp(f);
        size_t start = 0;
        while (start < page.size() && lines < kLines) {
          size_t end = page.find('\n', start);
          if (end == std::string::npos) end = page.size();
          std::string line = page.substr(start, end - start);
          if (!line.empty() && line.back() == '\r') line.pop_back();
          out += line;
          out += "\r\n";
          ++lines;
          start = end + 1;
        }
        if (lines >= kLines) break;
      }
      if (!any) {
        std::fprintf(stderr, "%s is missing: install Debian's apache2-doc package\n", memotest::kManualRoot);
        std::exit(1);
      }
    }
    return out;
  }();
  return text;
}

struct Editors {
  Editors() {
    vcl::InitApplication();
    form = new vcl::TForm(vcl::Application, 0);
    memo = new memo::TLumCustomMemo(form);
    memo->SetParent(form);
    memo->SetBounds(0, 0, 800, 600);
    sci = new QsciScintilla();
    sci->resize(800, 600);
  }
  vcl::TForm* form;
  memo::TLumCustomMemo* memo;  // owned by the form
  QsciScintilla* sci;
};

Editors& Both() {
  static Editors e;
  return e;
}

void BM_Memo_LoadFromString(benchmark::State& state) {
  const std::string& text = BigText();
  auto* m = Both().memo;
  for (auto _ : state) m->TextStore()->LoadFromString(text);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Qsci_setText(benchmark::State& state) {
  const std::string& text = BigText();
  auto* s = Both().sci;
  for (auto _ : state) s->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Memo_SaveToString(benchmark::State& state) {
  auto* m = Both().memo;
  m->TextStore()->LoadFromString(BigText());
  for (auto _ : state) benchmark::DoNotOptimize(m->TextStore()->SaveToString());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * BigText().size()));
}

void BM_Qsci_text(benchmark::State& state) {
  auto* s = Both().sci;
  s->setText(QString::fromUtf8(BigText().data(), static_cast<qsizetype>(BigText().size())));
  for (auto _ : state) benchmark::DoNotOptimize(s->text().toUtf8());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * BigText().size()));
}

// A selection of a few lines, 200 lines before the end.
void BM_Memo_GetSelLength(benchmark::State& state) {
  auto* m = Both().memo;
  m->TextStore()->LoadFromString(BigText());
  m->SetSelection({0, kLines - 200}, {5, kLines - 195});
  for (auto _ : state) benchmark::DoNotOptimize(m->GetSelLength());
}

void BM_Qsci_selectedTextLength(benchmark::State& state) {
  auto* s = Both().sci;
  s->setText(QString::fromUtf8(BigText().data(), static_cast<qsizetype>(BigText().size())));
  s->setSelection(kLines - 200, 0, kLines - 195, 5);
  for (auto _ : state) benchmark::DoNotOptimize(s->selectedText().size());
}

// ------------------------------------------------ showing, typing, paging
// Both editors coloured for HTML, shown (offscreen) and painted after each
// step: the memo with the HTML styler, QScintilla with its HTML lexer.

struct Shown {
  Shown() {
    Editors& e = Both();
    auto* styler = new memo::TLumHTMLMemoStyler(e.form);
    e.memo->SetSyntaxStyles(styler);
    e.form->SetClientWidth(800);
    e.form->SetClientHeight(600);
    e.form->Show();
    e.sci->setLexer(new QsciLexerHTML(e.sci));
    e.sci->show();
  }
};

Editors& ShownBoth() {
  static Shown shown;
  return Both();
}

void PaintMemo(memo::TLumCustomMemo* m) {
  m->Invalidate();
  m->Update();
}

void PaintSci(QsciScintilla* s) { s->viewport()->repaint(); }

void BM_Memo_LoadAndShow(benchmark::State& state) {
  auto* m = ShownBoth().memo;
  for (auto _ : state) {
    m->TextStore()->LoadFromString(BigText());
    PaintMemo(m);
  }
}

void BM_Qsci_LoadAndShow(benchmark::State& state) {
  auto* s = ShownBoth().sci;
  for (auto _ : state) {
    s->setText(QString::fromUtf8(BigText().data(), static_cast<qsizetype>(BigText().size())));
    PaintSci(s);
  }
}

void BM_Memo_Type1000InTheMiddle(benchmark::State& state) {
  auto* m = ShownBoth().memo;
  m->TextStore()->LoadFromString(BigText());
  for (auto _ : state) {
    m->SetCaret(0, kLines / 2);
    m->MakeCaretVisible();
    for (int i = 0; i < 1000; ++i) {
      m->InsertChar('x');
      PaintMemo(m);
    }
  }
}

void BM_Qsci_Type1000InTheMiddle(benchmark::State& state) {
  auto* s = ShownBoth().sci;
  s->setText(QString::fromUtf8(BigText().data(), static_cast<qsizetype>(BigText().size())));
  for (auto _ : state) {
    s->setCursorPosition(kLines / 2, 0);
    s->ensureCursorVisible();
    for (int i = 0; i < 1000; ++i) {
      s->SendScintilla(QsciScintilla::SCI_ADDTEXT, 1, "x");
      PaintSci(s);
    }
  }
}

void BM_Memo_PageDownThroughTheText(benchmark::State& state) {
  auto* m = ShownBoth().memo;
  m->TextStore()->LoadFromString(BigText());
  for (auto _ : state) {
    m->SetCaret(0, 0);
    m->ScrollBy(vcl::sbVertical, -m->TopLine());
    while (m->CaretY() < m->TextStore()->Count() - 1) {
      m->ExecuteKey(vcl::VK_NEXT, {});
      PaintMemo(m);
    }
  }
}

void BM_Qsci_PageDownThroughTheText(benchmark::State& state) {
  auto* s = ShownBoth().sci;
  s->setText(QString::fromUtf8(BigText().data(), static_cast<qsizetype>(BigText().size())));
  for (auto _ : state) {
    s->setCursorPosition(0, 0);
    int line = 0, index = 0;
    while (line < kLines - 1) {
      s->SendScintilla(QsciScintilla::SCI_PAGEDOWN);
      PaintSci(s);
      s->getCursorPosition(&line, &index);
    }
  }
}

void BM_Memo_JumpNearTheEnd(benchmark::State& state) {
  auto* m = ShownBoth().memo;
  m->TextStore()->LoadFromString(BigText());
  for (auto _ : state) {
    m->SetCaret(0, 0);
    m->ScrollBy(vcl::sbVertical, -m->TopLine());
    PaintMemo(m);
    m->SetCaret(0, kLines - 500);
    m->MakeCaretVisible();
    PaintMemo(m);
  }
}

void BM_Qsci_JumpNearTheEnd(benchmark::State& state) {
  auto* s = ShownBoth().sci;
  s->setText(QString::fromUtf8(BigText().data(), static_cast<qsizetype>(BigText().size())));
  for (auto _ : state) {
    s->setCursorPosition(0, 0);
    s->ensureCursorVisible();
    PaintSci(s);
    s->setCursorPosition(kLines - 500, 0);
    s->ensureCursorVisible();
    PaintSci(s);
  }
}

// ------------------------------------------------- searching and wrapping
// A search that finds nothing walks every line; wrapping at 80 columns and
// back touches every line twice.

void BM_Memo_FindAbsent(benchmark::State& state) {
  auto* m = Both().memo;
  m->TextStore()->LoadFromString(BigText());
  for (auto _ : state) {
    m->SetCaret(0, 0);
    benchmark::DoNotOptimize(m->FindText("no such text", {vcl::frDown}));
  }
}

void BM_Qsci_findFirstAbsent(benchmark::State& state) {
  auto* s = Both().sci;
  s->setText(QString::fromUtf8(BigText().data(), static_cast<qsizetype>(BigText().size())));
  for (auto _ : state) benchmark::DoNotOptimize(s->findFirst("no such text", false, false, false, false, true, 0, 0));
}

void BM_Memo_WrapAt80AndBack(benchmark::State& state) {
  auto* m = Both().memo;
  m->TextStore()->LoadFromString(BigText());
  m->SetRightMargin(80);
  for (auto _ : state) {
    m->SetWordWrap(memo::wwRightMargin);
    m->SetWordWrap(memo::wwNone);
  }
  state.counters["lines after wrap"] = 0;
  m->SetWordWrap(memo::wwRightMargin);
  state.counters["lines after wrap"] = m->TextStore()->Count();
  m->SetWordWrap(memo::wwNone);
}

// A styler of 5,000 completion entries and as many call patterns, the size
// of a large language's library.
memo::TLumCustomMemoStyler* BigCompletionStyler(vcl::TComponent* owner) {
  auto* styler = new memo::TLumCustomMemoStyler(owner);
  for (int i = 0; i < 5000; ++i) {
    const std::string name = "Name" + std::to_string(i);
    styler->CompletionList()->AddObject("function " + name + "(A, B: Integer): Integer", rtl::IntToObject(5));
    styler->HintParameter()->Parameters()->Add(name + "(A: Integer, B: Integer, C: string): Integer");
  }
  return styler;
}

// Ctrl+Space over 5,000 entries: the window opened and measured, two
// narrowings as the word grows, and the window closed and freed.
void BM_Memo_CompletionOpenFilterClose(benchmark::State& state) {
  Editors& e = ShownBoth();
  auto* m = e.memo;
  memo::TLumCustomMemoStyler* styler = BigCompletionStyler(e.form);
  m->SetSyntaxStyles(styler);
  m->TextStore()->LoadFromString("x := Na\r\n");
  for (auto _ : state) {
    m->SetCaret(7, 0);
    m->SetMemberCompletion(false, {0, 0});
    m->ShowCompletion();
    m->FilterCompletion("NAME4");
    m->FilterCompletion("NAME49");
    m->CloseCompletion();
    vcl::Application->ProcessMessages();
  }
  m->SetSyntaxStyles(nullptr);
  vcl::Free(styler);
}

// What the parameter hint shows for the caret, asked on every caret move
// after a key: a call typed at the end of a 400-character line, its pattern
// the last of 5,000.
void BM_Memo_ParameterHintAtCaret(benchmark::State& state) {
  Editors& e = Both();
  auto* m = e.memo;
  memo::TLumCustomMemoStyler* styler = BigCompletionStyler(e.form);
  m->SetSyntaxStyles(styler);
  const std::string line = std::string(380, 'a') + " Name4999(1, 2, ";
  m->TextStore()->LoadFromString(line + "\r\n");
  m->SetCaret(static_cast<rtl::Integer>(line.size()), 0);
  for (auto _ : state) benchmark::DoNotOptimize(m->ParameterHintAtCaret());
  m->SetSyntaxStyles(nullptr);
  vcl::Free(styler);
}

BENCHMARK(BM_Memo_CompletionOpenFilterClose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memo_ParameterHintAtCaret)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memo_FindAbsent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Qsci_findFirstAbsent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memo_WrapAt80AndBack)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Memo_LoadAndShow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Qsci_LoadAndShow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Memo_Type1000InTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Qsci_Type1000InTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Memo_PageDownThroughTheText)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Qsci_PageDownThroughTheText)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Memo_JumpNearTheEnd)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Qsci_JumpNearTheEnd)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Memo_LoadFromString)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Qsci_setText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memo_SaveToString)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Qsci_text)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memo_GetSelLength)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Qsci_selectedTextLength)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
