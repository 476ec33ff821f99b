// The largest table drawing: 100,000 cell texts and 700 rules (a 350 x 350 grid of lines),
// built through the SDK, written as DXF and read back. Target: each well under one second.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "cadhost/sdk/cadhost.h"

namespace {

constexpr int kTexts = 100'000;
constexpr int kRulesEachWay = 350;

void Fill(AcDbDatabase& db) {
  AcDbBlockTableRecord* ms = nullptr;
  acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite);
  for (int i = 0; i < kRulesEachWay; ++i) {
    auto* h = new AcDbLine({0, -5.0 * i, 0}, {15.0 * (kRulesEachWay - 1), -5.0 * i, 0});
    ms->appendAcDbEntity(h);
    h->close();
    auto* v = new AcDbLine({15.0 * i, 0, 0}, {15.0 * i, -5.0 * (kRulesEachWay - 1), 0});
    ms->appendAcDbEntity(v);
    v->close();
  }
  for (int i = 0; i < kTexts; ++i) {
    auto* t = new AcDbText();
    const std::string s = "单元 " + std::to_string(i);
    t->setTextString(s.c_str());
    t->setHeight(3);
    t->setWidthFactor(0.7);
    t->setHorizontalMode(AcDb::kTextCenter);
    t->setVerticalMode(AcDb::kTextVertMid);
    t->setAlignmentPoint({15.0 * (i % 316) + 7.5, -5.0 * (i / 316) - 2.5, 0});
    ms->appendAcDbEntity(t);
    t->close();
  }
  ms->close();
}

std::string Folder() {
  static std::string dir;
  if (dir.empty()) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "cadhost-bench-XXXXXX").string();
    dir = ::mkdtemp(tmpl.data());
  }
  return dir;
}

void BM_BuildDrawing(benchmark::State& state) {
  for (auto _ : state) {
    AcDbDatabase db;
    Fill(db);
    benchmark::DoNotOptimize(db.modelSpaceId());
  }
}

void BM_WriteDrawing(benchmark::State& state) {
  AcDbDatabase db;
  Fill(db);
  const std::string path = Folder() + "/write.dxf";
  for (auto _ : state) {
    if (db.saveAs(path.c_str()) != Acad::eOk) state.SkipWithError("save failed");
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}

void BM_ReadDrawing(benchmark::State& state) {
  const std::string path = Folder() + "/read.dxf";
  {
    AcDbDatabase db;
    Fill(db);
    db.saveAs(path.c_str());
  }
  for (auto _ : state) {
    AcDbDatabase db(false);
    if (db.readDwgFile(path.c_str()) != Acad::eOk) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(db.modelSpaceId());
  }
}

BENCHMARK(BM_BuildDrawing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteDrawing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDrawing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
