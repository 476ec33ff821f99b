// Import and Export of a 316 x 316 table with text in every cell and 1,000 merged blocks.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_tables.h"
#include "excel/excel_exchange.h"
#include "model/merge_blocks.h"

namespace {

using namespace vex;

// 316 x 316 cells of text with 1,000 merged 2 x 2 blocks spread over the table.
TableData ExchangeTable() {
  TableData t;
  t.nRows = 316;
  t.nCols = 316;
  t.RowHeights = {8};
  t.ColWidths = {25};
  t.Normalize();
  for (int i = 0; i < t.nRows; ++i)
    for (int j = 0; j < t.nCols; ++j) {
      TableCell c = t.GetCell(i, j);
      c.strText = "R" + std::to_string(i) + "C" + std::to_string(j) + " text";
      c.HorzMode = (i + j) % 3;
      t.SetCell(i, j, c);
    }
  std::vector<MergeBlock> blocks;
  for (int k = 0; k < 1000; ++k) {
    const int r = (k / 40) * 12, c = (k % 40) * 7;
    blocks.push_back({r, c, r + 1, c + 1});
  }
  AppendMergeSpans(t, blocks);
  return t;
}

class GivenBook final : public excel::WorkbookFileAsker, public excel::SheetChooser {
 public:
  explicit GivenBook(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> AskWorkbookToOpen() override { return path_; }
  std::optional<int> ChooseSheet(const std::vector<std::string>&) override { return 0; }

 private:
  std::string path_;
};

void BM_Export(benchmark::State& state) {
  const TableData t = ExchangeTable();
  const std::string dir = bench::ScratchFolder();
  excel::NoMeter meter;
  SilentSink messages;
  for (auto _ : state) {
    excel::FileWorkbookViewer viewer(dir + "out.xlsx");
    if (excel::Export(t, ExcelSettings{}, meter, messages, viewer) != 1) state.SkipWithError("export failed");
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(dir + "out.xlsx"));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Import(benchmark::State& state) {
  const std::string dir = bench::ScratchFolder();
  {
    excel::NoMeter meter;
    SilentSink messages;
    excel::FileWorkbookViewer viewer(dir + "in.xlsx");
    if (excel::Export(ExchangeTable(), ExcelSettings{}, meter, messages, viewer) != 1) state.SkipWithError("setup failed");
  }
  GivenBook book(dir + "in.xlsx");
  excel::NoMeter meter;
  SilentSink messages;
  excel::ImportUi ui{book, book, meter, messages};
  std::size_t merges = 0;
  for (auto _ : state) {
    TableData t;
    if (excel::Import(t, ExcelSettings{}, ui) != 1) state.SkipWithError("import failed");
    merges = t.MergeRows.size() + t.MergeCols.size();
  }
  state.counters["spans"] = static_cast<double>(merges);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
