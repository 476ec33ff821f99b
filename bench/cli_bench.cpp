// The batch tool end to end on a 316 x 316 table with text in every cell: each verb run as its
// own program, as a drafter runs it, timed with its peak memory (counter "peak_MB").

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_tables.h"
#include "files/table_file.h"

namespace {

struct Run {
  int status = -1;
  double peakMegabytes = 0;
};

// Runs the program with its arguments, output thrown away; its exit status and peak memory.
Run Program(const std::vector<std::string>& argv) {
  const pid_t child = ::fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  Run r;
  int status = 0;
  struct rusage usage{};
  if (child > 0 && ::wait4(child, &status, 0, &usage) == child) {
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
  }
  return r;
}

// The inputs, made once: the table as a table file and as JSON, and its drawing.
struct Inputs {
  std::string dir = vex::bench::ScratchFolder();
  std::string vtf = dir + "big.vtf";
  std::string json = dir + "big.json";
  std::string dxf = dir + "big.dxf";
  bool ok = false;

  Inputs() {
    ok = vex::SaveTableFile(vex::bench::BigTable(316), vex::kTableFilePrefix, vtf).ok() &&
         Program({VEXTABLE_CLI, "convert", vtf, json}).status == 0 &&
         Program({VEXTABLE_CLI, "draw", vtf, "-o", dxf}).status == 0;
  }
};

const Inputs& Made() {
  static const Inputs inputs;
  return inputs;
}

void Measure(benchmark::State& state, const std::vector<std::string>& argv) {
  if (!Made().ok) {
    state.SkipWithError("the inputs could not be made");
    return;
  }
  double peak = 0;
  for (auto _ : state) {
    const Run r = Program(argv);
    if (r.status != 0) state.SkipWithError("the program failed");
    peak = std::max(peak, r.peakMegabytes);
  }
  state.counters["peak_MB"] = peak;
}

void BM_Read(benchmark::State& state) {
  Measure(state, {VEXTABLE_CLI, "read", Made().dxf, "-o", Made().dir + "read.vtf"});
}
void BM_ConvertJsonToTableFile(benchmark::State& state) {
  Measure(state, {VEXTABLE_CLI, "convert", Made().json, Made().dir + "converted.vtf"});
}
void BM_Dump(benchmark::State& state) {
  const std::string out = Made().dir + "dump.json";
  Measure(state, {"/bin/sh", "-c", std::string(VEXTABLE_CLI) + " dump " + Made().vtf + " > " + out});
}
void BM_Draw(benchmark::State& state) {
  Measure(state, {VEXTABLE_CLI, "draw", Made().vtf, "-o", Made().dir + "drawn.dxf"});
}

BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ConvertJsonToTableFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Dump)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Draw)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
