// Reading many keys of one INI file, as loading a key-value table or a language pack does.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/profile.h"

namespace {

std::string MakeFile(int keys) {
  static std::string dir;
  if (dir.empty()) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vextable-bench-XXXXXX").string();
    dir = ::mkdtemp(tmpl.data());
  }
  const std::string path = dir + "/t" + std::to_string(keys) + ".ini";
  std::ofstream out(path);
  out << "[VexTableSaveFile]\n";
  for (int i = 0; i < keys; ++i) out << "GridText" << i << "strText=cell text " << i << "\n";
  return path;
}

void BM_ReadEveryKey(benchmark::State& state) {
  const int keys = static_cast<int>(state.range(0));
  const std::string path = MakeFile(keys);
  for (auto _ : state) {
    std::size_t total = 0;
    for (int i = 0; i < keys; ++i)
      total += vex::platform::ReadProfileString(path, "VexTableSaveFile",
                                                "GridText" + std::to_string(i) + "strText")
                   ->size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * keys);
}
BENCHMARK(BM_ReadEveryKey)->Arg(1000)->Arg(700000)->Unit(benchmark::kMillisecond);

// The same reads through one snapshot, as the key-value table reader does.
void BM_ReadEveryKeyFromSnapshot(benchmark::State& state) {
  const int keys = static_cast<int>(state.range(0));
  const std::string path = MakeFile(keys);
  for (auto _ : state) {
    const vex::platform::ProfileSnapshot snapshot(path);
    std::size_t total = 0;
    for (int i = 0; i < keys; ++i)
      total += snapshot.Read("VexTableSaveFile", "GridText" + std::to_string(i) + "strText")->size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * keys);
}
BENCHMARK(BM_ReadEveryKeyFromSnapshot)->Arg(700000)->Unit(benchmark::kMillisecond);

void BM_WriteOneKey(benchmark::State& state) {
  const std::string path = MakeFile(static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state)
    vex::platform::WriteProfileString(path, "TURN_TEXT", "ENABLE", std::to_string(i++ % 2));
}
BENCHMARK(BM_WriteOneKey)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
