// Drawing a 316 x 316 table (about 100,000 cells, the workbook import limit) with text in
// every cell and saving the drawing; reading such a drawn table back.

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

#include "bench_tables.h"
#include "cadhost/sdk/cadhost.h"
#include "draw/table_drawer.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"
#include "draw/working_database.h"
#include "platform/message_sink.h"
#include "recognize/table_recognizer.h"
#include "settings/settings.h"

namespace {

using vex::bench::BigTable;

std::string Scratch() { return vex::bench::ScratchFolder(); }

void BM_DrawAndSave(benchmark::State& state) {
  const std::string dir = Scratch();
  const vex::TableData table = BigTable(static_cast<int>(state.range(0)));
  vex::ImageStore store;
  vex::SilentSink messages;
  for (auto _ : state) {
    AcDbDatabase db(true, true);
    const vex::WorkingDatabaseScope working(&db);
    vex::TableData t = table;
    const AcDbObjectIdArray ids = vex::DrawTable(t, vex::Settings{}, &store, db, messages);
    if (db.saveAs((dir + "big.dxf").c_str()) != Acad::eOk) state.SkipWithError("save failed");
    state.counters["entities"] = ids.length();
  }
}
BENCHMARK(BM_DrawAndSave)->Arg(316)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadDrawnTable(benchmark::State& state) {
  AcDbDatabase db(true, true);
  const vex::WorkingDatabaseScope working(&db);
  vex::TableData t = BigTable(static_cast<int>(state.range(0)));
  vex::ImageStore store;
  vex::SilentSink messages;
  const vex::Settings settings;
  vex::DrawTable(t, settings, &store, db, messages);
  AcDbObjectIdArray selection;
  vex::EnumerateBlock(&db, "", selection, messages);
  for (auto _ : state) {
    auto read = vex::RecognizeTable(selection, db, settings, store, messages);
    if (!read) state.SkipWithError("no table");
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_ReadDrawnTable)->Arg(316)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
