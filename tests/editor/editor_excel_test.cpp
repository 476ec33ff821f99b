// The editor's Excel import and export without a CAD host: a workbook of openpyxl's making
// pressed into the grid from the toolbar and exported back for openpyxl to read; the meter,
// the cancel paths and damaged workbooks; inside a host the buttons start the host's commands;
// the progress window of the stand-alone editor; the stand-alone session offering both.

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QProgressDialog>

#include <nlohmann/json.hpp>

#include "cli/edit_command.h"
#include "editor/progress_meter.h"
#include "editor_window_fixture.h"
#include "excel/excel_test_util.h"
#include "model/editor_commands.h"
#include "model/table_origin.h"
#include "support/tables.h"

namespace vex::test {
namespace {

using namespace editor_cmd;
using Json = nlohmann::json;

// B2:D3 with a merged block B3:C3, a 30-point row 2, a centred 14-point cell.
constexpr const char* kBook = R"({"sheets": [{"name": "Parts", "cells": [
  ["B2", "bolt"], ["C2", "M12", {"h": "center", "size": 14}], ["D2", 0.5, {"format": "0%"}],
  ["B3", "washer"], ["D3", "end"]], "merges": ["B3:C3"], "rows": {"2": 30}}]})";

// The drafter's answers, and what the exchange showed.
struct ExcelScript {
  std::optional<std::string> file;
  std::optional<int> sheet = 0;
  std::string exportTo;
  std::vector<std::string> meters;  // labels, then "restore" when removed
  int positions = 0;
  int waits = 0;
};

class ScriptedExcel final : public EditorExcelParts {
 public:
  explicit ScriptedExcel(ExcelScript& s) : s_(s) {}
  std::unique_ptr<excel::WorkbookFileAsker> Files(QWidget*) override { return std::make_unique<Ask>(s_); }
  std::unique_ptr<excel::SheetChooser> Sheets(QWidget*, const LanguagePack&) override {
    return std::make_unique<Ask>(s_);
  }
  std::unique_ptr<excel::StatusMeter> Meter(QWidget*) override { return std::make_unique<RecordingMeter>(s_); }
  std::unique_ptr<excel::WorkbookViewer> Viewer() override {
    return std::make_unique<excel::FileWorkbookViewer>(s_.exportTo);
  }

 private:
  struct Ask final : excel::WorkbookFileAsker, excel::SheetChooser {
    explicit Ask(ExcelScript& s) : s(s) {}
    std::optional<std::string> AskWorkbookToOpen() override { return s.file; }
    std::optional<int> ChooseSheet(const std::vector<std::string>&) override { return s.sheet; }
    ExcelScript& s;
  };
  struct RecordingMeter final : excel::StatusMeter {
    explicit RecordingMeter(ExcelScript& s) : s(s) {}
    void Show(std::string_view label) override { s.meters.emplace_back(label); }
    void Set(int) override { ++s.positions; }
    void Restore() override { s.meters.emplace_back("restore"); }
    void BeginWait() override { ++s.waits; }
    ExcelScript& s;
  };
  ExcelScript& s_;
};

Json Dump(const std::string& xlsx) {
  const ProgramRun run = RunShell("/usr/bin/python3 " + PeerScript() + " dump " + xlsx);
  const Json j = Json::parse(run.out, nullptr, false);
  EXPECT_FALSE(j.is_discarded()) << run.out << run.err;
  return j;
}

class EditorExcelTest : public EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    host->inside = false;
    host->document = false;
    MakeWorkbook(dir, kBook, dir.File("parts.xlsx"));
    script.exportTo = dir.File("out.xlsx");
  }
  void OpenWith(const TableData* table) {
    Open(table);
    window->SetExcelParts(std::make_unique<ScriptedExcel>(script));
  }

  TempDir dir;
  ExcelScript script;
};

TEST_F(EditorExcelTest, ImportsAWorkbookIntoTheGridAndExportsItBack) {
  OpenWith(nullptr);
  script.file = dir.File("parts.xlsx");
  Press(kTbExcelImport);
  ASSERT_TRUE(dialogs->told.empty()) << dialogs->told.front();
  EXPECT_EQ(window->Origin(), kLoadedTable);
  EXPECT_EQ(Text(1, 1), "bolt");
  EXPECT_EQ(Text(1, 3), "50%");
  EXPECT_EQ(Grid().Model().BlockOf(2, 1), (CellRange{2, 1, 2, 2}));
  EXPECT_EQ(script.meters, (std::vector<std::string>{excel::kReadingCellData, "restore", excel::kReadingCellMerge,
                                                     "restore"}));
  EXPECT_GT(script.positions, 0);
  EXPECT_EQ(script.waits, 1);
  const TableData taken = window->TakeTable(TextHeights::kRounded);
  EXPECT_EQ(taken.RowHeights, (std::vector<double>{8, 4}));  // 30 and 15 points at ExcelScale 4
  EXPECT_EQ(taken.GetCell(0, 1).dHeight, 3.5);               // 14 points
  EXPECT_EQ(taken.GetCell(0, 1).HorzMode, 1);
  EXPECT_FALSE(window->Action(kUndo)->isEnabled());  // a new table starts a new history

  Grid().Model().SetText(2, 3, "edited");
  script.meters.clear();
  Press(kTbExcelExport);
  ASSERT_EQ(dialogs->told.size(), 1u);
  EXPECT_NE(dialogs->told[0].find(script.exportTo), std::string::npos) << dialogs->told[0];
  EXPECT_EQ(script.meters, (std::vector<std::string>{excel::kWritingCellData, "restore", excel::kWritingCellMerge,
                                                     "restore"}));
  const Json book = Dump(script.exportTo);
  EXPECT_EQ(book["cells"]["A1"]["value"], "bolt");
  EXPECT_EQ(book["cells"]["B1"]["value"], "M12");
  EXPECT_EQ(book["cells"]["B1"]["h"], "center");
  EXPECT_EQ(book["cells"]["B1"]["size"], 14.25);  // 3.5 mm at ExcelScale 4, as the formula rounds
  EXPECT_EQ(book["cells"]["C2"]["value"], "edited");
  EXPECT_EQ(book["merges"], Json::array({"A2:B2"}));
  EXPECT_EQ(book["rows"]["1"], 32.0);
  EXPECT_EQ(book["rows"]["2"], 16.0);
}

TEST_F(EditorExcelTest, CancelsAndBadWorkbooksLeaveTheTableUnchanged) {
  const TableData mine = NamedTable(3, 2, 10, 30);
  OpenWith(&mine);
  WriteFile(dir.File("broken.xlsx"), "PK\x03\x04 this is not a zip archive");
  WriteFile(dir.File("notes.ods"), "plain text where a spreadsheet should be");
  struct Case {
    const char* name;
    std::optional<std::string> file;
    std::optional<int> sheet;
    const char* says;  // "" for a silent cancel
  };
  const Case cases[] = {
      {"NoFileChosen", std::nullopt, 0, ""},
      {"NoSheetChosen", dir.File("parts.xlsx"), std::nullopt, ""},
      {"DamagedXlsx", dir.File("broken.xlsx"), 0, "cannot be read"},
      {"DamagedOds", dir.File("notes.ods"), 0, "cannot be read"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs->told.clear();
    script.file = c.file;
    script.sheet = c.sheet;
    Press(kExcelImport);
    EXPECT_EQ(Taken(), mine);
    EXPECT_EQ(window->Origin(), kLoadedTable);
    if (!*c.says) {
      EXPECT_TRUE(dialogs->told.empty());
      continue;
    }
    ASSERT_EQ(dialogs->told.size(), 1u);
    EXPECT_EQ(dialogs->told[0].rfind("The sheet could not be imported; the table in the editor is unchanged.", 0), 0u)
        << dialogs->told[0];
    EXPECT_NE(dialogs->told[0].find(c.says), std::string::npos) << dialogs->told[0];
  }
}

TEST_F(EditorExcelTest, AFailedExportSaysSo) {
  OpenWith(nullptr);
  script.exportTo = dir.File("no/such/folder/out.xlsx");
  Press(kTbExcelExport);
  ASSERT_EQ(dialogs->told.size(), 1u);
  EXPECT_EQ(dialogs->told[0].rfind("The workbook could not be written.", 0), 0u) << dialogs->told[0];
}

TEST_F(EditorExcelTest, InsideAHostTheButtonsStartTheHostsCommands) {
  host->inside = true;
  host->document = true;
  OpenWith(nullptr);
  Press(kTbExcelImport);
  Press(kExcelExport);
  EXPECT_EQ(host->posted, (std::vector<std::string>{"VEXTABLE_EXCEL_IMPORT", "VEXTABLE_EXCEL_EXPORT"}));
  EXPECT_TRUE(script.meters.empty());  // the editor ran neither itself
  host->document = false;
  Press(kTbExcelImport);
  EXPECT_EQ(host->posted.size(), 2u);
  // A table read from a drawing that did not match its frame cannot be replaced by an import.
  window->SetFullEditing(false);
  EXPECT_FALSE(window->Action(kExcelImport)->isEnabled());
  EXPECT_TRUE(window->Action(kExcelExport)->isEnabled());
  EXPECT_FALSE(window->FileToolbar()->actions().contains(window->Action(kTbExcelImport)));
}

TEST(ProgressWindowMeter, ShowsEachStepWithItsLabelAndTheWaitCursor) {
  QWidget parent;
  ProgressWindowMeter meter(&parent);
  meter.BeginWait();
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  meter.Show(excel::kReadingCellData);
  ASSERT_NE(meter.Window(), nullptr);
  EXPECT_EQ(meter.Window()->labelText(), "Reading Excel cell data");
  EXPECT_EQ(meter.Window()->maximum(), 100);
  meter.Set(40);
  meter.Set(40);
  EXPECT_EQ(meter.Window()->value(), 40);
  const QPointer<QProgressDialog> first = meter.Window();
  meter.Show(excel::kReadingCellMerge);  // a new step replaces the window of the last
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(meter.Window()->value(), 0);
  meter.Restore();
  EXPECT_EQ(meter.Window(), nullptr);
  meter.Set(10);  // between steps: nothing to move
  meter.EndWait();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(StandaloneEditorExcel, TheSessionOffersImportAndExport) {
  TempDir dir;
  cli::EditSession session(dir.File("VexTable.ini"));
  ASSERT_TRUE(session.problem().empty()) << session.problem();
  session.Host().onClosed = [] {};
  ASSERT_TRUE(session.Start(std::nullopt, std::nullopt, std::make_unique<ScriptedDialogs>()));
  TableEditorWindow& window = *session.Window();
  for (int id : {kTbExcelImport, kTbExcelExport}) {
    EXPECT_TRUE(window.FileToolbar()->actions().contains(window.Action(id))) << id;
    EXPECT_TRUE(window.Action(id)->isEnabled()) << id;
  }
  ExcelScript script;
  MakeWorkbook(dir, kBook, dir.File("parts.xlsx"));
  script.file = dir.File("parts.xlsx");
  window.SetExcelParts(std::make_unique<ScriptedExcel>(script));
  ASSERT_TRUE(window.RunCommand(kExcelImport));
  EXPECT_EQ(window.Grid().Model().Text(2, 3), "end");
}

}  // namespace
}  // namespace vex::test
