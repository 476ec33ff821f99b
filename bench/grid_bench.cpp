// The grid control at the size of the largest tables: 316 x 316 cells (100,000) with text in
// every cell and 1,000 merged blocks. Filling the grid, repainting a 1920 x 1080 window at
// zoom 1 and 0.1, select-all + copy, pasting that back, and the grid's memory.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPainter>
#include <QMimeData>

#include "bench_tables.h"
#include "editor/grid/grid_ctrl.h"
#include "editor/grid/grid_painter.h"
#include "model/grid_from_table.h"
#include "model/grid_model.h"

namespace vex::bench {
namespace {

constexpr int kSide = 316;

// 1,000 blocks of 2 x 3 cells, ten per band of three rows (table indices).
std::vector<MergeBlock> ThousandBlocks() {
  std::vector<MergeBlock> blocks;
  for (int k = 0; k < 1000; ++k) {
    const int row = (k / 10) * 3, col = (k % 10) * 31;
    blocks.push_back({row, col, row + 1, col + 2});
  }
  return blocks;
}

TableData BenchTable() {
  TableData t = BigTable(kSide);
  t.MergeRows.clear();
  t.MergeCols.clear();
  AppendMergeSpans(t, ThousandBlocks());
  return t;
}

// What the heap holds now.
std::size_t HeapInUse() { return mallinfo2().uordblks; }

// Fills a grid as the grid's callers do: counts, sizes, every cell's text, format and text
// height, then the merges.
void FillGrid(GridModel& g) {
  g.SetRowCount(kSide + 1);
  g.SetColumnCount(kSide + 1);
  g.SetFixedRowCount(1);
  g.SetFixedColumnCount(1);
  for (int r = 1; r <= kSide; ++r) g.SetRowHeight(r, 40);
  for (int c = 1; c <= kSide; ++c) g.SetColumnWidth(c, 125);
  for (int r = 1; r <= kSide; ++r)
    for (int c = 1; c <= kSide; ++c) {
      g.SetText(r, c, "R" + std::to_string(r) + "C" + std::to_string(c) + " 30(d)");
      g.SetFormat(r, c, (r + c) % 3 + 4);
      g.SetFontHeight(r, c, 15);
    }
  for (const MergeBlock& b : ThousandBlocks()) g.Merge({b.row0 + 1, b.col0 + 1, b.row1 + 1, b.col1 + 1});
}

void BM_FillGrid(benchmark::State& state) {
  double megabytes = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    auto grid = std::make_unique<GridModel>();
    FillGrid(*grid);
    megabytes = static_cast<double>(HeapInUse() - before) / (1 << 20);
    benchmark::DoNotOptimize(grid.get());
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
  state.counters["grid_MB"] = megabytes;
}
BENCHMARK(BM_FillGrid)->Unit(benchmark::kMillisecond);

// The editor's way in: a table loaded into the grid at zoom 1.
void BM_LoadTableIntoGrid(benchmark::State& state) {
  const TableData table = BenchTable();
  for (auto _ : state) {
    GridModel grid;
    LoadTableIntoGrid(grid, table, 1.0, 3.5);
    benchmark::DoNotOptimize(&grid);
  }
}
BENCHMARK(BM_LoadTableIntoGrid)->Unit(benchmark::kMillisecond);

// A full repaint of a 1920 x 1080 window over the middle of the table at zoom Z/100.
void BM_Repaint(benchmark::State& state) {
  const double zoom = state.range(0) / 100.0;
  GridModel grid;
  ApplyFontDefaults(grid, QApplication::font());
  LoadTableIntoGrid(grid, BenchTable(), zoom, 3.5);
  QImage image(1920, 1080, QImage::Format_RGB32);
  GridPainter painter(grid, QApplication::font(), GridColours::Classic());
  grid.Select({100, 100, 140, 140});
  grid.SetFocus({120, 120});
  GridViewport view{grid.Columns().Total() / 3, grid.Rows().Total() / 3, 1920, 1080};
  view.scrollX = std::min(view.scrollX, MaxScrollX(grid, view));
  view.scrollY = std::min(view.scrollY, MaxScrollY(grid, view));
  const VisibleCells v = VisibleBody(grid, view);
  for (auto _ : state) {
    QPainter p(&image);
    painter.Paint(p, view, image.rect());
  }
  state.counters["cells_shown"] = double(v.lastRow - v.firstRow + 1) * (v.lastCol - v.firstCol + 1);
}
BENCHMARK(BM_Repaint)->Arg(100)->Arg(10)->Unit(benchmark::kMillisecond);

// The grid control filled with the table.
std::unique_ptr<GridCtrl> FilledControl() {
  auto ctrl = std::make_unique<GridCtrl>();
  ctrl->resize(1920, 1080);
  FillGrid(ctrl->Model());
  ctrl->UpdateScrollBars();
  return ctrl;
}

void BM_SelectAllAndCopy(benchmark::State& state) {
  auto ctrl = FilledControl();
  for (auto _ : state) {
    ctrl->SelectAllCells();
    ctrl->CopySelectedText();
  }
  state.counters["clipboard_MB"] =
      static_cast<double>(QApplication::clipboard()->mimeData()->data("application/x-vextable-table+json").size()) /
      (1 << 20);
}
BENCHMARK(BM_SelectAllAndCopy)->Unit(benchmark::kMillisecond);

void BM_PasteBack(benchmark::State& state) {
  auto ctrl = FilledControl();
  ctrl->SelectAllCells();
  ctrl->CopySelectedText();
  for (auto _ : state) {
    ctrl->SetSelectedRange({1, 1, 1, 1});
    const CellRange pasted = ctrl->PasteFrom(QApplication::clipboard()->mimeData());
    if (pasted.RowSpan() != kSide || pasted.ColSpan() != kSide) state.SkipWithError("the paste was cut short");
  }
}
BENCHMARK(BM_PasteBack)->Unit(benchmark::kMillisecond);

// The fallback: the same selection pasted as plain text only.
void BM_PasteBackPlainText(benchmark::State& state) {
  auto ctrl = FilledControl();
  ctrl->SelectAllCells();
  ctrl->CopySelectedText();
  const QString text = QApplication::clipboard()->text();
  for (auto _ : state) {
    state.PauseTiming();
    ctrl->Model().SetText(1, 1, "changed");
    QMimeData* mime = new QMimeData;
    mime->setText(text);
    QApplication::clipboard()->setMimeData(mime);
    ctrl->SetSelectedRange({1, 1, 1, 1});
    state.ResumeTiming();
    ctrl->PasteText();
  }
}
BENCHMARK(BM_PasteBackPlainText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vex::bench
