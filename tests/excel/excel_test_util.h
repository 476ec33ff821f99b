#pragma once
// What the workbook tests share: peers that make and read workbooks, and fakes of the
// drafter's surroundings for Import and Export.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "excel/excel_exchange.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace vex::test {

inline std::string PeerScript() { return std::string(VEXTABLE_SOURCE_DIR) + "/tests/excel/openpyxl_peer.py"; }

// Builds an .xlsx with openpyxl from a description (see openpyxl_peer.py).
inline void MakeWorkbook(const TempDir& dir, const std::string& layout, const std::string& out) {
  WriteFile(dir.File("layout.json"), layout);
  const ProgramRun run = RunShell("/usr/bin/python3 " + PeerScript() + " make " + dir.File("layout.json") + " " + out);
  ASSERT_EQ(run.status, 0) << run.err;
}

// LibreOffice converting a workbook, with a profile of its own in the scratch folder.
inline std::string ConvertWithOffice(const TempDir& dir, const std::string& in, const std::string& to) {
  const ProgramRun run = RunShell("HOME=" + dir.File("home") + " soffice --headless --norestore --convert-to '" + to +
                                  "' --outdir " + dir.File("converted") + " " + in + " 2>&1");
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  return run.out;
}

// The drafter's answers and what the exchange showed.
class FakeExchange final : public excel::WorkbookFileAsker, public excel::SheetChooser, public excel::StatusMeter {
 public:
  std::optional<std::string> path;
  std::optional<int> sheet = 0;
  std::vector<std::string> offeredSheets;
  std::vector<std::string> meters;  // labels shown
  std::vector<int> positions;       // every position set
  int restores = 0;
  RecordingSink messages;

  std::optional<std::string> AskWorkbookToOpen() override { return path; }
  std::optional<int> ChooseSheet(const std::vector<std::string>& names) override {
    offeredSheets = names;
    return sheet;
  }
  void Show(std::string_view label) override { meters.emplace_back(label); }
  void Set(int percent) override { positions.push_back(percent); }
  void Restore() override { ++restores; }

  excel::ImportUi Ui() { return {*this, *this, *this, messages}; }
};

// Imports sheet `sheet` (0-based) of `path`.
inline int ImportBook(const std::string& path, TableData& table, const ExcelSettings& settings = {}, int sheet = 0,
                      FakeExchange* seen = nullptr) {
  FakeExchange local;
  FakeExchange& fake = seen ? *seen : local;
  fake.path = path;
  fake.sheet = sheet;
  excel::ImportUi ui = fake.Ui();
  return excel::Import(table, settings, ui);
}

inline ExcelSettings ByValue(int rowHeight = 10, double fontHeight = 3.0) {
  ExcelSettings s;
  s.ExcelTurnType = 1;
  s.ExcelRowHeight = rowHeight;
  s.ExcelFontHeight = fontHeight;
  return s;
}

}  // namespace vex::test
