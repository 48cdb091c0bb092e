// The tag language's fourteen page patterns over a 1 MB page, our engine
// beside PCRE2 (interpreter, no JIT) in the same run.
//
// The page is ordinary markup with the module tags at its very end, and its
// line breaks are replaced by the placeholders the page conversion uses
// while it searches, so every search walks the whole megabyte before it
// finds its tag. Our search compiles the pattern and copies the text each
// time, as the component does; PCRE2 compiles once, outside the loop.
#include <benchmark/benchmark.h>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/KnRegExU.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace {

constexpr const char* kCRPlaceholder = "1AF5018758B64F509A0B1BB1AD5B007C36CD4590106C493BAEBA7661ECF88C44_LF";
constexpr const char* kLFPlaceholder = "1C6803EC37184B1DAA340B67A7BD44E6E1FBAA4673C64BCA96911E41803E1549_RT";

struct PagePattern {
  const char* ours;
  const char* pcre;  // the same search written for PCRE2
};

const PagePattern kPatterns[14] = {
    {R"(<\!--\(PIN [1-9][0-1]?\)-->)", R"(<!--\(PIN [1-9][0-1]?\)-->)"},
    {R"(<\!--\(PIN [1-9][0-1]? ANALOG\)-->)", R"(<!--\(PIN [1-9][0-1]? ANALOG\)-->)"},
    {R"(<\!--\(PIN [1-9][0-1]? ANALOG([*][0-9.]*)?([/][0-9]*)?([+][0-9.]*)?([-][0-9.]*)?[,][0-9]\)-->)",
     R"(<!--\(PIN [1-9][0-1]? ANALOG(?:[*][0-9.]*)?(?:[/][0-9]*)?(?:[+][0-9.]*)?(?:[-][0-9.]*)?[,][0-9]\)-->)"},
    {R"(<\!--\(PIN [1-9][0-1]? ([^-\)>]|([-][^>]))*[/]([^\)->]|([-][^>]))*\)-->)",
     R"(<!--\(PIN [1-9][0-1]? (?:[^\-)>]|-[^>])*/(?:[^\-)>]|-[^>])*\)-->)"},
    {R"(<\!--\(SERIAL DATA [0-9]* [0-9]*\)-->)", R"(<!--\(SERIAL DATA [0-9]* [0-9]*\)-->)"},
    {R"(<\!--\(PLUG-IN ([^<])*\)-->)", R"(<!--\(PLUG-IN [^<]*\)-->)"},
    {R"(<\!--\(IF PIN [0-9][0-1]?[ ]*[=][ ]*[0-5]([\.][0-9][0-9]?)?\)-->)",
     R"(<!--\(IF PIN [0-9][0-1]? *= *[0-5](?:\.[0-9][0-9]?)?\)-->)"},
    {R"(<\!--\(IF PIN [0-9][0-1]?[ ]*[<>][ ]*[0-5]([\.][0-9][0-9]?)?\)-->)",
     R"(<!--\(IF PIN [0-9][0-1]? *[<>] *[0-5](?:\.[0-9][0-9]?)?\)-->)"},
    {R"(<\!--\(IF (([^!]|(!=)))*)-->)", R"(<!--\(IF (?:[^!]|!=)*\)-->)"},
    {R"(<\!--\(ELSE\)-->)", R"(<!--\(ELSE\)-->)"},
    {R"(<\!--\(ENDIF\)-->)", R"(<!--\(ENDIF\)-->)"},
    {R"(<\!--\(EXEC ([^!])*=([^!])*\)-->)", R"(<!--\(EXEC [^!]*=[^!]*\)-->)"},
    {R"(<\!--\(READ ([^!])*\)-->)", R"(<!--\(READ [^!]*\)-->)"},
    {R"(<\!--\(([\s]|(1AF5018758B64F509A0B1BB1AD5B007C36CD4590106C493BAEBA7661ECF88C44_LF)|(1C6803EC37184B1DAA340B67A7BD44E6E1FBAA4673C64BCA96911E41803E1549_RT)|[\t]|[a-zA-Z0-9_]|[\"\'\#\$]|[\=\.\-\*\\\!])*\)-->)",
     R"(<!--\((?: |1AF5018758B64F509A0B1BB1AD5B007C36CD4590106C493BAEBA7661ECF88C44_LF|1C6803EC37184B1DAA340B67A7BD44E6E1FBAA4673C64BCA96911E41803E1549_RT|\t|[a-zA-Z0-9_]|["'#$]|[=.\-*\\!])*\)-->)"},
};

const char* kTags[14] = {
    "<!--(PIN 3)-->",          "<!--(PIN 3 ANALOG)-->",   "<!--(PIN 3 ANALOG*2.5/4+1-0.5,2)-->",
    "<!--(PIN 3 off/on)-->",   "<!--(SERIAL DATA 1 5)-->", "<!--(PLUG-IN abc)-->",
    "<!--(IF PIN 2 = 1)-->",   "<!--(IF PIN 2 < 3.5)-->", "<!--(IF SSN != abc)-->",
    "<!--(ELSE)-->",           "<!--(ENDIF)-->",          "<!--(EXEC ID=abc)-->",
    "<!--(READ SSN)-->",       "<!--(PIN 12)-->",
};

std::string ReplaceAll(const std::string& s, const char* from, const char* to) {
  return rtl::StringReplace(s, from, to, {rtl::TReplaceFlag::rfReplaceAll});
}

// About 1 MB of markup, the tags at the end, line breaks hidden.
const std::string& Page() {
  static const std::string page = [] {
    const std::string block =
        "<div class=\"panel\"><h2>Relay board</h2>\r\n"
        "<!-- status table, refreshed by the module -->\r\n"
        "<table border=\"1\"><tr><td>Input</td><td>State &amp; level</td></tr>\r\n"
        "<tr><td><a href=\"io.htm?pin=3\">Pin three</a></td><td><b>on</b> (high)</td></tr></table>\r\n"
        "<p style=\"color: #336699\">Temperature readings are averaged over 10 s; "
        "set the limits below!</p></div>\r\n";
    const auto hide = [](std::string t) {
      t = ReplaceAll(t, "\n", kLFPlaceholder);
      return ReplaceAll(t, "\r", kCRPlaceholder);
    };
    const std::string hiddenBlock = hide(block);
    std::string tail;
    for (const char* tag : kTags) tail += std::string(tag) + "\r\n";
    tail = hide(tail);
    std::string s;
    s.reserve(1 << 20);
    while (s.size() + hiddenBlock.size() + tail.size() <= (1u << 20)) s += hiddenBlock;
    return s + tail;
  }();
  return page;
}

struct Pcre2Pattern {
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
  explicit Pcre2Pattern(const char* pattern) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, PCRE2_CASELESS, &error,
                         &offset, nullptr);
    if (!code) {
      std::fprintf(stderr, "PCRE2 rejects %s\n", pattern);
      std::abort();
    }
    data = pcre2_match_data_create_from_pattern(code, nullptr);
  }
  ~Pcre2Pattern() {
    pcre2_match_data_free(data);
    pcre2_code_free(code);
  }
  // 0-based start and length of the leftmost match; start -1 when none.
  std::pair<long, long> Find(const std::string& text) {
    const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, 0, data, nullptr);
    if (rc <= 0) return {-1, 0};
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
    return {static_cast<long>(ov[0]), static_cast<long>(ov[1] - ov[0])};
  }
};

std::pair<long, long> OursFind(core::TKnRegEx& re, const std::string& text) {
  core::TKnMatchPos pos;
  if (!re.FindMatch(text, pos)) return {-1, 0};
  return {static_cast<long>(pos.FirstIndex) - 1, static_cast<long>(pos.MatchLength)};
}

core::TKnRegEx& Ours(int i) {
  static std::vector<std::unique_ptr<core::TKnRegEx>> all = [] {
    std::vector<std::unique_ptr<core::TKnRegEx>> v;
    for (const auto& p : kPatterns) {
      v.push_back(std::make_unique<core::TKnRegEx>());
      v.back()->SetIgnoreCase(true);
      v.back()->MatchPattern()->Add(p.ours);
    }
    return v;
  }();
  return *all[i];
}

Pcre2Pattern& Theirs(int i) {
  static std::vector<std::unique_ptr<Pcre2Pattern>> all = [] {
    std::vector<std::unique_ptr<Pcre2Pattern>> v;
    for (const auto& p : kPatterns) v.push_back(std::make_unique<Pcre2Pattern>(p.pcre));
    return v;
  }();
  return *all[i];
}

// Both engines must find the same tag, or the comparison is void.
void CheckAgreement(benchmark::State& state, int i) {
  const auto ours = OursFind(Ours(i), Page());
  const auto theirs = Theirs(i).Find(Page());
  if (ours != theirs || ours.first < 0) state.SkipWithError("the engines disagree on this pattern");
}

void BM_Ours(benchmark::State& state) {
  const int i = static_cast<int>(state.range(0));
  CheckAgreement(state, i);
  for (auto _ : state) benchmark::DoNotOptimize(OursFind(Ours(i), Page()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Page().size()));
}

void BM_Pcre2(benchmark::State& state) {
  const int i = static_cast<int>(state.range(0));
  CheckAgreement(state, i);
  for (auto _ : state) benchmark::DoNotOptimize(Theirs(i).Find(Page()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Page().size()));
}

// All fourteen in a row, as the page conversion runs them.
void BM_OursAll(benchmark::State& state) {
  for (auto _ : state)
    for (int i = 0; i < 14; ++i) benchmark::DoNotOptimize(OursFind(Ours(i), Page()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 14 * static_cast<int64_t>(Page().size()));
}

void BM_Pcre2All(benchmark::State& state) {
  for (auto _ : state)
    for (int i = 0; i < 14; ++i) benchmark::DoNotOptimize(Theirs(i).Find(Page()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 14 * static_cast<int64_t>(Page().size()));
}

BENCHMARK(BM_Ours)->DenseRange(0, 13)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pcre2)->DenseRange(0, 13)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pcre2All)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
