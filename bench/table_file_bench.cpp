// Saving and loading a 316 x 316 table (about 100,000 cells, the workbook import limit) with
// text in every cell and merged blocks, in the XML layout.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "files/table_file.h"
#include "model/merge_blocks.h"

namespace {

vex::TableData BigTable(int n) {
  vex::TableData t;
  t.nRows = n;
  t.nCols = n;
  t.Normalize();
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      vex::TableCell c = t.GetCell(i, j);
      c.strText = "R" + std::to_string(i) + "C" + std::to_string(j) + " 30%%d";
      t.SetCell(i, j, c);
    }
  std::vector<vex::MergeBlock> blocks;
  for (int i = 0; i + 1 < n; i += 10) blocks.push_back({i, 0, i + 1, 2});
  vex::AppendMergeSpans(t, blocks);
  return t;
}

std::string Scratch() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vextable-bench-XXXXXX").string();
  return std::string(::mkdtemp(tmpl.data())) + "/big.vtf";
}

void BM_SaveTable(benchmark::State& state) {
  const vex::TableData t = BigTable(static_cast<int>(state.range(0)));
  const std::string path = Scratch();
  for (auto _ : state) {
    if (!t.Save(vex::kTableFilePrefix, path)) state.SkipWithError("save failed");
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_SaveTable)->Arg(316)->Unit(benchmark::kMillisecond);

void BM_LoadTable(benchmark::State& state) {
  const vex::TableData t = BigTable(static_cast<int>(state.range(0)));
  const std::string path = Scratch();
  t.Save(vex::kTableFilePrefix, path);
  for (auto _ : state) {
    vex::TableData back;
    if (!back.Load(vex::kTableFilePrefix, path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(back);
  }
}
BENCHMARK(BM_LoadTable)->Arg(316)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
