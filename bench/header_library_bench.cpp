// Listing a header library of 2,000 headers: the first scan reads every file's keys; later
// lists only look at what changed.

#include <benchmark/benchmark.h>

#include "bench_tables.h"
#include "files/header_dialog_rules.h"
#include "files/header_library.h"
#include "pictures/image_store.h"

namespace {

const std::string& Library() {
  static const std::string dir = [] {
    const std::string d = vex::bench::ScratchFolder();
    vex::HeaderLibrary library(d);
    vex::ImageStore none;
    vex::TableData t = vex::bench::BigTable(4);
    for (int i = 0; i < 2000; ++i)
      if (!library.SaveHeader(t, "Header " + std::to_string(i), "Class " + std::to_string(i % 40), i % 3, none))
        std::abort();
    return d;
  }();
  return dir;
}

void BM_FirstScan(benchmark::State& state) {
  const std::string& folder = Library();  // made before the clock runs
  for (auto _ : state) {
    vex::HeaderLibrary library(folder);
    benchmark::DoNotOptimize(library.ListClasses());
  }
}
BENCHMARK(BM_FirstScan)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ListAfterTheFirstScan(benchmark::State& state) {
  vex::HeaderLibrary library(Library());
  library.ListClasses();
  for (auto _ : state) {
    benchmark::DoNotOptimize(library.ListClasses());
    benchmark::DoNotOptimize(library.ListHeaders("Class 7"));
  }
}
BENCHMARK(BM_ListAfterTheFirstScan)->Unit(benchmark::kMillisecond);

// What the header manager lists when it opens: every class with its headers.
void BM_ManagerTreeAfterTheFirstScan(benchmark::State& state) {
  vex::HeaderLibrary library(Library());
  library.ListClasses();
  for (auto _ : state) benchmark::DoNotOptimize(vex::BuildHeaderTree(library));
}
BENCHMARK(BM_ManagerTreeAfterTheFirstScan)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
