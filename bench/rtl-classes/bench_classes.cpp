// Costs of the containers and INI files at the sizes the environment meets:
// sorted name lists (tags, entities), project files of a few hundred pages.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/IniFiles.h"
#include "rtl/StringList.h"

using namespace rtl;

namespace {

AnsiString Name(int i) { return "Entity" + IntToStr((i * 7919) % 100003); }

void BM_SortedAdd(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TStringList list;
    list.SetSorted(true);
    for (int i = 0; i < n; ++i) list.Add(Name(i));
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_SortedAdd)->Arg(130)->Arg(10000);

void BM_SortedFind(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TStringList list;
  list.SetSorted(true);
  for (int i = 0; i < n; ++i) list.Add(Name(i));
  int i = 0;
  for (auto _ : state) {
    Integer index;
    benchmark::DoNotOptimize(list.Find(Name(i++ % n), index));
  }
}
BENCHMARK(BM_SortedFind)->Arg(130)->Arg(10000);

// A project file with `files` entries, three keys each.
AnsiString ProjectFile(int files) {
  AnsiString path = TempFolder() + "bench-rtl-classes-" + IntToStr(static_cast<Int64>(::getpid())) + ".PJT";
  TMemIniFile ini(path);
  ini.WriteInteger("PROJECT", "NUM.FILES", files);
  for (int i = 0; i < files; ++i) {
    ini.WriteString("FILES", "FILE." + IntToStr(i) + ".Name", "pages\\page" + IntToStr(i) + ".htm");
    ini.WriteBool("FILES", "FILE." + IntToStr(i) + ".ACTIVE", true);
    ini.WriteBool("FILES", "FILE." + IntToStr(i) + ".OPEN", false);
  }
  ini.UpdateFile();
  return path;
}

void BM_MemIniLoadProject(benchmark::State& state) {
  const int files = static_cast<int>(state.range(0));
  AnsiString path = ProjectFile(files);
  for (auto _ : state) {
    TMemIniFile ini(path);
    int n = ini.ReadInteger("PROJECT", "NUM.FILES", 0);
    for (int i = 0; i < n; ++i)
      benchmark::DoNotOptimize(ini.ReadString("FILES", "FILE." + IntToStr(i) + ".Name", ""));
  }
  DeleteFile(path);
}
BENCHMARK(BM_MemIniLoadProject)->Arg(20)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_IniFileRead(benchmark::State& state) {
  AnsiString path = ProjectFile(static_cast<int>(state.range(0)));
  TIniFile ini(path);
  for (auto _ : state) benchmark::DoNotOptimize(ini.ReadString("PROJECT", "NUM.FILES", ""));
  DeleteFile(path);
}
BENCHMARK(BM_IniFileRead)->Arg(20)->Arg(500);

void BM_IniFileWrite(benchmark::State& state) {
  AnsiString path = ProjectFile(static_cast<int>(state.range(0)));
  TIniFile ini(path);
  int i = 0;
  for (auto _ : state) ini.WriteInteger("udp.settings", "Announce.port", i++);
  DeleteFile(path);
}
BENCHMARK(BM_IniFileWrite)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
