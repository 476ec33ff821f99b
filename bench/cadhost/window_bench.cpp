// The host's window on the drawing of a 316 x 316 table (about 100,000 texts and 630 rules,
// drawn by the plug-in's table drawing): opening it and painting it the first time, a frame of
// zoom or pan at any scale, a frame of a drag preview of the whole table, and the memory of
// the open drawing. Targets: open and first paint <= 2 s, a zoom or pan frame <= 50 ms, a drag
// frame <= 30 ms, the drawing open <= 300 MB.
//
// The view is the window's own (DrawingView on a document of the host), 1600 x 1000 pixels,
// drawn offscreen.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QMouseEvent>

#include <chrono>
#include <fstream>

#include "bench_tables.h"
#include "cadhost/host/host_control.h"
#include "cadhost/sdk/cadhost.h"
#include "cadhost/ui/drawing_view.h"
#include "cadhost/ui/input_queue.h"
#include "draw/table_drawer.h"
#include "draw/working_database.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "settings/settings.h"

namespace {

using cadhost::ui::DrawingView;
using cadhost::ui::Pt;

constexpr int kSide = 316;
constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// The drawing file of the big table, made once.
const std::string& TableDrawing() {
  static const std::string path = [] {
    const std::string file = vex::bench::ScratchFolder() + "table.dxf";
    AcDbDatabase db(true, true);
    const vex::WorkingDatabaseScope working(&db);
    vex::TableData t = vex::bench::BigTable(kSide);
    vex::ImageStore store;
    vex::SilentSink messages;
    vex::DrawTable(t, vex::Settings{}, &store, db, messages);
    db.saveAs(file.c_str());
    return file;
  }();
  return path;
}

// Resident memory of the process, in bytes.
double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * 4096.0;
}

// The drawing open in the host with its view, as the window holds them.
struct OpenDrawing {
  OpenDrawing() {
    cadhost::ResetHost();
    cadhost::SetCommandLineView(nullptr);
    if (acDocManager->appContextOpenDocument(TableDrawing().c_str()) != Acad::eOk) return;
    view = std::make_unique<DrawingView>(acDocManager->curDocument(), painter, queue);
    view->resize(kWidth, kHeight);
    view->Refresh();
  }
  ~OpenDrawing() {
    view.reset();
    cadhost::ResetHost();
  }
  cadhost::ui::ScenePainter painter;
  cadhost::ui::InputQueue queue;
  std::unique_ptr<DrawingView> view;
};

// One drawing open for the frame benchmarks (they run after the opening one).
OpenDrawing& Shared() {
  static OpenDrawing open;
  return open;
}

void BM_OpenAndFirstPaint(benchmark::State& state) {
  TableDrawing();
  malloc_trim(0);
  const double before = ResidentBytes();
  for (auto _ : state) {
    OpenDrawing open;
    if (!open.view) {
      state.SkipWithError("the drawing did not open");
      break;
    }
    benchmark::DoNotOptimize(open.view->Render());
    state.PauseTiming();
    state.counters["entities"] = static_cast<double>(open.view->GetScene().Count());
    state.counters["open_MB"] = (ResidentBytes() - before) / 1e6;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenAndFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

// Zoom factors from the extents: 1 shows the whole table, 64 a few cells.
void BM_ZoomFrame(benchmark::State& state) {
  DrawingView& v = *Shared().view;
  v.ZoomExtents();
  const double factor = static_cast<double>(state.range(0));
  v.Transform().ZoomAbout({kWidth / 2.0, kHeight / 2.0}, factor);
  bool in = true;
  for (auto _ : state) {
    // Each frame a wheel step in or out about the middle, drawn afresh.
    v.Transform().ZoomAbout({kWidth / 2.0, kHeight / 2.0}, in ? 1.25 : 0.8);
    in = !in;
    v.ZoomWindow(v.Transform().Visible());
    benchmark::DoNotOptimize(v.Render());
  }
  state.counters["frame_ms"] = v.LastRenderMs();
}
BENCHMARK(BM_ZoomFrame)->Arg(1)->Arg(4)->Arg(8)->Arg(12)->Arg(16)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

void BM_PanFrame(benchmark::State& state) {
  DrawingView& v = *Shared().view;
  v.ZoomExtents();
  v.Transform().ZoomAbout({kWidth / 2.0, kHeight / 2.0}, static_cast<double>(state.range(0)));
  int step = 0;
  for (auto _ : state) {
    v.Transform().PanBy((step++ % 2 == 0) ? 40 : -40, 25);
    v.ZoomWindow(v.Transform().Visible());
    benchmark::DoNotOptimize(v.Render());
  }
}
BENCHMARK(BM_PanFrame)->Arg(1)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);

// The drag callback: the table's top left follows the cursor.
int Follow(ads_point pt, ads_matrix m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = r == c ? 1.0 : 0.0;
  m[0][3] = pt[X];
  m[1][3] = pt[Y];
  return RTNORM;
}

void BM_DragFrame(benchmark::State& state) {
  DrawingView& v = *Shared().view;
  v.ZoomExtents();
  v.Transform().ZoomAbout({kWidth / 2.0, kHeight / 2.0}, static_cast<double>(state.range(0)));
  v.ZoomWindow(v.Transform().Visible());
  std::vector<AcDbObjectId> all;
  for (const auto& g : v.GetScene().Entities()) all.push_back(g.id);
  cadhost::PromptContext drag;
  drag.kind = cadhost::PromptContext::Kind::Drag;
  drag.dragSet = &all;
  drag.dragCallback = Follow;
  v.SetSnapModes(0);
  v.SetPrompt(&drag);
  v.Render();  // the drawing under the preview, drawn once
  int step = 0;
  for (auto _ : state) {
    const QPointF at(kWidth / 2.0 + (step % 7) * 13, kHeight / 2.0 + (step % 5) * 11);
    ++step;
    QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&v, &move);
    benchmark::DoNotOptimize(v.Render());
  }
  v.SetPrompt(nullptr);
  state.counters["dragged"] = static_cast<double>(all.size());
}
BENCHMARK(BM_DragFrame)->Arg(1)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);

// Selecting the whole table with a crossing window at the command prompt, then frames of the
// view with all of it highlighted.
void BM_FrameWithTheTableSelected(benchmark::State& state) {
  DrawingView& v = *Shared().view;
  v.ZoomExtents();
  const cadhost::ui::Box all = v.GetScene().Extents();
  cadhost::ui::InputQueue input;
  cadhost::SetInputSource(input.MakeSource());
  input.Pick({AcGePoint3d(all.maxX + 1, all.maxY + 1, 0), 0.0, false, true});
  input.Pick({AcGePoint3d(all.minX - 1, all.minY - 1, 0), 0.0, false, false});
  input.End();
  const auto start = std::chrono::steady_clock::now();
  cadhost::RunCommandLine();
  const double selectMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  v.Refresh();
  for (auto _ : state) {
    v.ZoomWindow(v.Transform().Visible());
    benchmark::DoNotOptimize(v.Render());
  }
  state.counters["select_ms"] = selectMs;
  state.counters["selected"] = static_cast<double>(cadhost::Highlighted().size());
}
BENCHMARK(BM_FrameWithTheTableSelected)->Unit(benchmark::kMillisecond);

}  // namespace
