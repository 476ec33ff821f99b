// Saving and loading a 316 x 316 table (about 100,000 cells, the workbook import limit) with
// text in every cell and merged blocks, in the XML layout.

#include <benchmark/benchmark.h>
#include <filesystem>

#include "bench_tables.h"
#include "files/table_file.h"

namespace {

using vex::bench::BigTable;

std::string Scratch() { return vex::bench::ScratchFolder() + "big.vtf"; }

void BM_SaveTable(benchmark::State& state) {
  const vex::TableData t = BigTable(static_cast<int>(state.range(0)));
  const std::string path = Scratch();
  for (auto _ : state) {
    if (!vex::SaveTableFile(t, vex::kTableFilePrefix, path)) state.SkipWithError("save failed");
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_SaveTable)->Arg(316)->Unit(benchmark::kMillisecond);

void BM_LoadTable(benchmark::State& state) {
  const vex::TableData t = BigTable(static_cast<int>(state.range(0)));
  const std::string path = Scratch();
  if (!vex::SaveTableFile(t, vex::kTableFilePrefix, path)) state.SkipWithError("save failed");
  for (auto _ : state) {
    vex::TableData back;
    if (!vex::LoadTableFile(back, vex::kTableFilePrefix, path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(back);
  }
}
BENCHMARK(BM_LoadTable)->Arg(316)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
