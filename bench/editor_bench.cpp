// The table editor window at the size of the largest tables: a 316 x 316 table (text in every
// cell, 1,000 merged blocks) loaded into the editor, taken back for Draw, shown at another
// zoom, and one undo step of a paste of 100 x 100 cells. Targets: load 1 s, take back 0.5 s,
// zoom 1 s, the undo step 50 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>

#include <filesystem>
#include <memory>

#include "bench_tables.h"
#include "editor/editor_host.h"
#include "editor/grid/grid_ctrl.h"
#include "editor/table_editor_window.h"
#include "model/grid_journal.h"
#include "model/merge_blocks.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "settings/language_pack.h"

namespace vex::bench {
namespace {

constexpr int kSide = 316;

// 1,000 blocks of 2 x 3 cells, ten per band of three rows.
TableData BenchTable() {
  TableData t = BigTable(kSide);
  t.MergeRows.clear();
  t.MergeCols.clear();
  std::vector<MergeBlock> blocks;
  for (int k = 0; k < 1000; ++k) {
    const int row = (k / 10) * 3, col = (k % 10) * 31;
    blocks.push_back({row, col, row + 1, col + 2});
  }
  AppendMergeSpans(t, blocks);
  return t;
}

// A host that only keeps what the editor hands it.
class BenchHost final : public EditorHost {
 public:
  BenchHost() : where_(Locations::ForInstallFolder(ScratchFolder())) {
    (void)LanguagePack(where_.languageFolder, where_.settingsFile).StartLanguage("");
  }
  ~BenchHost() override {
    std::error_code ec;
    std::filesystem::remove_all(where_.installFolder, ec);
  }
  const Locations& Where() const override { return where_; }
  bool InsideHost() const override { return true; }
  bool HasActiveDocument() const override { return true; }
  void PostCommand(const std::string&) override {}
  TableData& CurrentTable() override { return current_; }
  ImageStore& Pictures() override { return store_; }
  MessageSink& Messages() override { return messages_; }
  bool LockDocument() override { return false; }
  void UnlockDocument() override {}
  QWidget* OwnerWindow() const override { return nullptr; }
  void ActivateHost() override {}
  void EditorClosed() override {}

 private:
  Locations where_;
  TableData current_;
  ImageStore store_;
  SilentSink messages_;
};

struct Editor {
  BenchHost host;
  TableEditorWindow window{host};
  Editor() {
    window.resize(1600, 1000);
    window.show();
  }
};

void BM_LoadIntoEditor(benchmark::State& state) {
  const TableData table = BenchTable();
  Editor e;
  for (auto _ : state) {
    e.window.LoadTable(table);
    QApplication::processEvents();  // and shown
  }
  state.counters["cells"] = double(kSide) * kSide;
}
BENCHMARK(BM_LoadIntoEditor)->Unit(benchmark::kMillisecond);

void BM_TakeBackForDraw(benchmark::State& state) {
  Editor e;
  e.window.LoadTable(BenchTable());
  for (auto _ : state) {
    TableData t = e.window.TakeTable(TextHeights::kRounded);
    benchmark::DoNotOptimize(t.rows.data());
  }
}
BENCHMARK(BM_TakeBackForDraw)->Unit(benchmark::kMillisecond);

// Draw as the button does it: taken back, handed to the host, written as the autosave.
void BM_DrawButton(benchmark::State& state) {
  Editor e;
  e.window.LoadTable(BenchTable());
  for (auto _ : state) {
    e.window.Draw();
    state.PauseTiming();
    e.window.show();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DrawButton)->Unit(benchmark::kMillisecond);

// One zoom change per iteration, alternating between 100 % and 150 %.
void BM_ChangeZoom(benchmark::State& state) {
  Editor e;
  e.window.LoadTable(BenchTable());
  bool up = true;
  for (auto _ : state) {
    e.window.SetZoom(up ? 1.5 : 1.0);
    QApplication::processEvents();
    up = !up;
  }
}
BENCHMARK(BM_ChangeZoom)->Unit(benchmark::kMillisecond);

// A 100 x 100 fragment pasted (not timed), then the one undo step that takes it back.
void BM_UndoPaste100x100(benchmark::State& state) {
  Editor e;
  e.window.LoadTable(BenchTable());
  GridCtrl& grid = e.window.Grid();
  // 100 x 100 cells whose edges cross no merged block, so the selection stays that size.
  grid.SetSelectedRange({3, 4, 102, 103});
  if (grid.SelectedCellRange() != CellRange{3, 4, 102, 103}) state.SkipWithError("the selection grew");
  grid.CopySelectedText();
  const std::string original = grid.Model().Text(249, 249);
  for (auto _ : state) {
    state.PauseTiming();
    grid.SetSelectedRange(CellRange::Single({150, 150}));
    const CellRange pasted = grid.PasteFrom(QApplication::clipboard()->mimeData());
    if (pasted.RowSpan() != 100 || pasted.ColSpan() != 100 || grid.Model().Text(249, 249) != grid.Model().Text(102, 103)) {
      state.SkipWithError("the paste did not land");
      break;
    }
    state.ResumeTiming();
    e.window.Undo();
    state.PauseTiming();
    if (grid.Model().Text(249, 249) != original) {
      state.SkipWithError("the undo did not bring the cells back");
      break;
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoPaste100x100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vex::bench
