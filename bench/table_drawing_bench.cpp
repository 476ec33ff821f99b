// Drawing a 316 x 316 table (about 100,000 cells, the workbook import limit) with text in
// every cell and saving the drawing; reading such a drawn table back.

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

#include "bench_tables.h"
#include "cadhost/sdk/cadhost.h"
#include "draw/table_drawer.h"
#include "model/cell_capture.h"
#include "model/image_store.h"
#include "recognize/table_recognizer.h"
#include "settings/locations.h"

namespace {

using vex::bench::BigTable;

std::string Scratch() { return vex::bench::ScratchFolder(); }

void UseScratchSettings(const std::string& dir) {
  vex::SetActiveLocations(vex::Locations::ForInstallFolder(dir));
}

void BM_DrawAndSave(benchmark::State& state) {
  const std::string dir = Scratch();
  UseScratchSettings(dir);
  const vex::TableData table = BigTable(static_cast<int>(state.range(0)));
  vex::ImageStore store;
  for (auto _ : state) {
    AcDbDatabase db(true, true);
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    vex::TableData t = table;
    const AcDbObjectIdArray ids = vex::DrawTable(t, &store, &db);
    if (db.saveAs((dir + "big.dxf").c_str()) != Acad::eOk) state.SkipWithError("save failed");
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    state.counters["entities"] = ids.length();
  }
}
BENCHMARK(BM_DrawAndSave)->Arg(316)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadDrawnTable(benchmark::State& state) {
  const std::string dir = Scratch();
  UseScratchSettings(dir);
  AcDbDatabase db(true, true);
  acdbHostApplicationServices()->setWorkingDatabase(&db);
  vex::TableData t = BigTable(static_cast<int>(state.range(0)));
  vex::ImageStore store;
  vex::DrawTable(t, &store, &db);
  AcDbObjectIdArray selection;
  vex::EnumerateBlock(&db, "", selection);
  for (auto _ : state) {
    vex::TableRecognizer recognizer;
    vex::TableData read;
    if (!recognizer.Recognize(selection, &db, read, store)) state.SkipWithError("no table");
    benchmark::DoNotOptimize(read);
  }
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
BENCHMARK(BM_ReadDrawnTable)->Arg(316)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
