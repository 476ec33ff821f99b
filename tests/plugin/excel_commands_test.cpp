// The Excel commands in the host: VEXTABLE_EXCEL_IMPORT and VEXDRAWEXCEL reading a workbook
// of openpyxl's making into the editor, VEXTABLE_EXCEL_EXPORT writing the editor's table into a
// workbook that openpyxl reads back; the status-bar meter, the cancel paths, damaged workbooks,
// and the real editor window starting the commands from its toolbar.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "editor/grid/grid_ctrl.h"
#include "editor/table_editor_window.h"
#include "excel/excel_test_util.h"
#include "excel/sheet_chooser_dialog.h"
#include "model/editor_commands.h"
#include "model/merge_blocks.h"
#include "plugin/commands.h"
#include "plugin/editor_window.h"
#include "plugin/excel_commands.h"
#include "plugin_test_util.h"
#include "support/tables.h"

namespace vex {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using cadhost::ProgressEvent;
using test::PluginTest;

// A2:C4 with a merged block A3:B4, a 30-point row 2 and a right-aligned 9-point cell.
constexpr const char* kBook = R"({"sheets": [{"name": "Plan", "cells": [
  ["A2", "pump"], ["B2", "valve", {"h": "right", "size": 9}], ["C2", 12.5, {"format": "0.00"}],
  ["A3", "block"], ["C3", "two\nlines"], ["C4", "end"]],
  "merges": ["A3:B4"], "rows": {"2": 30}}, {"name": "Notes", "cells": [["A1", "note"]]}]})";

// The drafter's answers to the commands' windows, and the workbooks the commands wrote.
struct Answers {
  std::deque<std::optional<std::string>> files;
  std::deque<std::optional<int>> sheets;
  std::vector<std::vector<std::string>> offered;
  std::vector<QWidget*> owners;
  std::string exportTo;
  int fileQuestions = 0;
};

class AnsweredFiles final : public excel::WorkbookFileAsker {
 public:
  explicit AnsweredFiles(Answers& a) : a_(a) {}
  std::optional<std::string> AskWorkbookToOpen() override {
    ++a_.fileQuestions;
    if (a_.files.empty()) return std::nullopt;
    auto f = a_.files.front();
    a_.files.pop_front();
    return f;
  }

 private:
  Answers& a_;
};

class AnsweredSheets final : public excel::SheetChooser {
 public:
  explicit AnsweredSheets(Answers& a) : a_(a) {}
  std::optional<int> ChooseSheet(const std::vector<std::string>& names) override {
    a_.offered.push_back(names);
    if (a_.sheets.empty()) return std::nullopt;
    auto s = a_.sheets.front();
    a_.sheets.pop_front();
    return s;
  }

 private:
  Answers& a_;
};

// What openpyxl reads from a workbook.
Json Dump(const std::string& xlsx) {
  const test::ProgramRun run = test::RunShell("/usr/bin/python3 " + test::PeerScript() + " dump " + xlsx);
  const Json j = Json::parse(run.out, nullptr, false);
  EXPECT_FALSE(j.is_discarded()) << run.out << run.err;
  return j;
}

std::vector<std::string> Labels(const std::vector<ProgressEvent>& events) {
  std::vector<std::string> out;
  for (const ProgressEvent& e : events)
    out.push_back(e.kind == ProgressEvent::Kind::Start ? e.label : e.kind == ProgressEvent::Kind::Restore ? "restore" : "");
  out.erase(std::remove(out.begin(), out.end(), ""), out.end());
  return out;
}

// Positions between a Start and its Restore: never back, ending at `last`.
void ExpectClimbs(const std::vector<ProgressEvent>& events, int last) {
  int at = -1;
  for (const ProgressEvent& e : events) {
    if (e.kind == ProgressEvent::Kind::Start) {
      EXPECT_EQ(e.minPos, 0);
      EXPECT_EQ(e.maxPos, 100);
      at = -1;
    } else if (e.kind == ProgressEvent::Kind::Pos) {
      EXPECT_GT(e.pos, at);
      at = e.pos;
    }
  }
  EXPECT_EQ(at, last);
}

class ExcelCommandsTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    MakeWorkbook(dir, kBook, dir.File("plan.xlsx"));
    answers.exportTo = dir.File("out.xlsx");
    ExcelParts().files = [this](QWidget* owner) {
      answers.owners.push_back(owner);
      return std::make_unique<AnsweredFiles>(answers);
    };
    ExcelParts().sheets = [this](QWidget*, const LanguagePack&) { return std::make_unique<AnsweredSheets>(answers); };
    ExcelParts().viewer = [this] { return std::make_unique<excel::FileWorkbookViewer>(answers.exportTo); };
    ASSERT_TRUE(RegisterCommands());
  }
  void TearDown() override {
    RemoveCommands();
    RestoreExcelCommandParts();
    Plugin().makeEditor = MakeEditorWindow;
    PluginTest::TearDown();
  }
  // Runs a command typed at the host's command line.
  void Run(const char* name) {
    cadhost::Feedback::Clear();
    ASSERT_TRUE(cadhost::RunCommand(name)) << name;
  }

  test::TempDir dir;
  Answers answers;
};

TEST_F(ExcelCommandsTest, ImportLoadsTheChosenSheetIntoTheEditorWithTheMeterOnTheStatusBar) {
  answers.files.push_back(dir.File("plan.xlsx"));
  answers.sheets.push_back(0);
  Run("VEXTABLE_EXCEL_IMPORT");
  EXPECT_EQ(answers.offered, (std::vector<std::vector<std::string>>{{"Plan", "Notes"}}));
  ASSERT_EQ(editor_->loads, 1) << cadhost::Feedback::Text();
  EXPECT_EQ(editor_->origin, kLoadedTable);
  EXPECT_TRUE(editor_->full);  // a table from a workbook is edited whole
  EXPECT_EQ(editor_->restored, 1);
  const TableData& t = editor_->table;
  ASSERT_EQ(t.nRows, 3);
  ASSERT_EQ(t.nCols, 3);
  EXPECT_EQ(t.GetCell(0, 0).strText, "pump");
  EXPECT_EQ(t.GetCell(0, 1).HorzMode, 2);
  EXPECT_EQ(t.GetCell(0, 1).dHeight, 2.5);
  EXPECT_EQ(t.GetCell(0, 2).strText, "12.50");
  EXPECT_EQ(t.GetCell(1, 2).strText, "two\r\nlines");
  EXPECT_EQ(t.RowHeights, (std::vector<double>{8, 4, 4}));  // ExcelScale 4: 30 and 15 points
  EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{1, 0, 1}, {2, 0, 1}}));
  EXPECT_EQ(t.MergeCols, (std::vector<MergeSpan>{{0, 1, 2}, {1, 1, 2}}));

  const std::vector<ProgressEvent> meter = cadhost::Feedback::Progress();
  EXPECT_EQ(Labels(meter), (std::vector<std::string>{excel::kReadingCellData, "restore", excel::kReadingCellMerge,
                                                     "restore"}));
  ExpectClimbs(meter, 100);
}

TEST_F(ExcelCommandsTest, ImportMakesTheEditorWhenThereIsNone) {
  Plugin().editor.reset();
  test::FakeEditor* made = nullptr;
  Plugin().makeEditor = [&] {
    auto e = std::make_unique<test::FakeEditor>();
    made = e.get();
    return e;
  };
  answers.files.push_back(dir.File("plan.xlsx"));
  answers.sheets.push_back(1);
  Run("VEXTABLE_EXCEL_IMPORT");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(answers.owners, (std::vector<QWidget*>{nullptr}));  // a host without a window
  EXPECT_EQ(made->origin, kLoadedTable);
  EXPECT_EQ(made->restored, 1);
  EXPECT_EQ(made->table.GetCell(0, 0).strText, "note");
}

TEST_F(ExcelCommandsTest, CancelsAndRefusalsLeaveTheEditorAsItWas) {
  editor_->table = test::NamedTable(2, 2, 5, 15);
  struct Case {
    const char* name;
    std::optional<std::string> file;
    std::optional<int> sheet;
    const char* says;  // on the command line; "" for nothing
  };
  test::WriteFile(dir.File("damaged.xlsx"), "PK\x03\x04 not really a workbook");
  test::WriteFile(dir.File("tall.json"), R"({"sheets": [{"name": "Tall", "cells": [["A1", "a"], ["LD317", "z"]]}]})");
  ASSERT_EQ(test::RunShell("/usr/bin/python3 " + test::PeerScript() + " make " + dir.File("tall.json") + " " +
                           dir.File("tall.xlsx")).status, 0);
  const Case cases[] = {
      {"CancelledFileDialog", std::nullopt, std::nullopt, ""},
      {"CancelledSheetChooser", dir.File("plan.xlsx"), std::nullopt, ""},
      {"DamagedWorkbook", dir.File("damaged.xlsx"), 0, "cannot be read"},
      {"MissingWorkbook", dir.File("gone.xlsx"), 0, "cannot be read"},
      {"TooManyCells", dir.File("tall.xlsx"), 0, "\nTable is Large!Software can read maximum cell is 100000."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    answers.files = {c.file};
    answers.sheets = {c.sheet};
    Run("VEXTABLE_EXCEL_IMPORT");
    EXPECT_EQ(editor_->loads, 0);
    EXPECT_EQ(editor_->table, test::NamedTable(2, 2, 5, 15));
    const std::string said = cadhost::Feedback::Text();
    if (*c.says) EXPECT_NE(said.find(c.says), std::string::npos) << said;
    else EXPECT_EQ(said.find("cannot"), std::string::npos) << said;
    // No cell was read, so no meter was shown.
    EXPECT_TRUE(cadhost::Feedback::Progress().empty());
  }
}

TEST_F(ExcelCommandsTest, DrawExcelDropsThePictureStoreOnlyWhenATableWasImported) {
  Plugin().imageStore.Create();
  answers.files.push_back(std::nullopt);
  Run("VEXDRAWEXCEL");
  EXPECT_TRUE(Plugin().imageStore);  // it holds the pictures of the editor's table
  EXPECT_EQ(editor_->loads, 0);

  answers.files.push_back(dir.File("plan.xlsx"));
  answers.sheets.push_back(0);
  Run("VEXDRAWEXCEL");
  EXPECT_EQ(editor_->loads, 1);
  EXPECT_EQ(editor_->origin, kLoadedTable);
  EXPECT_FALSE(Plugin().imageStore);
}

TEST_F(ExcelCommandsTest, ExportNeedsTheEditor) {
  Plugin().editor.reset();
  Run("VEXTABLE_EXCEL_EXPORT");
  EXPECT_NE(cadhost::Feedback::Text().find("Dialog is close, command close!"), std::string::npos);
  EXPECT_FALSE(fs::exists(answers.exportTo));
}

TEST_F(ExcelCommandsTest, ExportWritesTheEditorsTableAndSaysWhere) {
  TableData t = test::NamedTable(2, 3, 6, 20);
  t.rows[0].cells[0].strText = "a\r\nb";
  t.rows[1].cells[2].HorzMode = 2;
  AppendMergeSpans(t, {{0, 1, 0, 2}});
  editor_->table = t;
  Run("VEXTABLE_EXCEL_EXPORT");
  EXPECT_EQ(editor_->takes, 1);
  EXPECT_NE(cadhost::Feedback::Text().find(answers.exportTo), std::string::npos) << cadhost::Feedback::Text();
  const std::vector<ProgressEvent> meter = cadhost::Feedback::Progress();
  EXPECT_EQ(Labels(meter), (std::vector<std::string>{excel::kWritingCellData, "restore", excel::kWritingCellMerge,
                                                     "restore"}));

  const Json book = Dump(answers.exportTo);
  EXPECT_EQ(book["cells"]["A1"]["value"], "a\nb");
  EXPECT_EQ(book["cells"]["C2"]["value"], "r1c2");
  EXPECT_EQ(book["cells"]["C2"]["h"], "right");
  EXPECT_EQ(book["merges"], Json::array({"B1:C1"}));
  EXPECT_EQ(book["rows"]["1"], 24.0);  // 6 mm at ExcelScale 4

  // Imported again, the table comes back within the sizes' roundings.
  answers.files.push_back(answers.exportTo);
  answers.sheets.push_back(0);
  Run("VEXTABLE_EXCEL_IMPORT");
  ASSERT_EQ(editor_->loads, 1);
  EXPECT_EQ(editor_->table.GetCell(0, 0).strText, "a\r\nb");
  EXPECT_EQ(editor_->table.MergeRows, t.MergeRows);
  EXPECT_EQ(editor_->table.RowHeights, t.RowHeights);
}

TEST_F(ExcelCommandsTest, ExportOpensANewBookInTheTemporaryFolderOnTheDesktop) {
  RestoreExcelCommandParts();
  // The desktop's opener, in its place: it notes what it was asked to open.
  fs::create_directories(dir.File("bin"));
  test::WriteFile(dir.File("bin/xdg-open"), "#!/bin/sh\necho \"$1\" > " + dir.File("opened") + "\n");
  fs::permissions(dir.File("bin/xdg-open"), fs::perms::owner_all);
  fs::create_directories(dir.File("tmp"));
  test::WriteFile(dir.File("tmp/Book1.xlsx"), "");  // taken: the next number is used
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  const char* tmp = std::getenv("TMPDIR");
  const std::string oldTmp = tmp ? tmp : "";
  setenv("PATH", (dir.File("bin") + ":" + path).c_str(), 1);
  setenv("TMPDIR", dir.File("tmp").c_str(), 1);
  editor_->table = test::NamedTable(1, 2, 5, 15);
  Run("VEXTABLE_EXCEL_EXPORT");
  setenv("PATH", path.c_str(), 1);
  if (tmp) setenv("TMPDIR", oldTmp.c_str(), 1);
  else unsetenv("TMPDIR");

  const std::string book = dir.File("tmp/Book2.xlsx");
  ASSERT_TRUE(fs::exists(book)) << cadhost::Feedback::Text();
  EXPECT_EQ(Dump(book)["cells"]["B1"]["value"], "r0c1");
  // The opener runs apart from the host, which does not wait for it.
  for (int i = 0; i < 100 && test::ReadFile(dir.File("opened")).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(test::ReadFile(dir.File("opened")), book + "\n");
}

TEST_F(ExcelCommandsTest, AHostWithoutFileDialogsAsksOnTheCommandLine) {
  RestoreExcelCommandParts();
  struct Case {
    const char* name;
    std::string typed;
    const char* cell;  // "" when nothing is imported
    const char* says;  // on the command line
  };
  const Case cases[] = {
      {"ByNumber", "\"" + dir.File("plan.xlsx") + "\"\n2\n", "note", "1  Plan"},
      {"ByName", dir.File("plan.xlsx") + "\nnotes\n", "note", "2  Notes"},
      {"FirstByDefault", dir.File("plan.xlsx") + "\n\n", "pump", "Sheet number or name <1>"},
      {"NoSuchSheet", dir.File("plan.xlsx") + "\nLegend\n", "", "no sheet \"Legend\""},
      {"EscapeAtTheFile", "\x1b", "", "Workbook to import"},
      {"EscapeAtTheSheet", dir.File("plan.xlsx") + "\n\x1b", "", "1  Plan"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    editor_->loads = 0;
    cadhost::TypeInput(c.typed);
    Run("VEXTABLE_EXCEL_IMPORT");
    const std::string said = cadhost::Feedback::Text();
    EXPECT_EQ(editor_->loads, *c.cell ? 1 : 0) << said;
    if (*c.cell) EXPECT_EQ(editor_->table.GetCell(0, 0).strText, c.cell);
    EXPECT_NE(said.find(c.says), std::string::npos) << said;
  }
}

TEST_F(ExcelCommandsTest, TheRealWindowsAskForTheWorkbookAndTheSheet) {
  RestoreExcelCommandParts();
  // A host with a main window shows file dialogs while FILEDIA is on.
  QWidget frame;
  cadhost::SetMainWindows(&frame, &frame);
  resbuf on{};
  on.restype = RTSHORT;
  on.resval.rint = 1;
  ASSERT_EQ(acedSetVar("FILEDIA", &on), RTNORM);
  std::vector<std::string> asked;
  // The drafter answers each window as it comes up.
  QTimer drafter;
  QObject::connect(&drafter, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      asked.push_back("file: " + files->nameFilters().join(";").toStdString());
      // Typed into the name field: selectFile leaves a focused field as it is, and the dialog
      // would then open the folder instead.
      auto* name = files->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(name, nullptr);
      name->setText(QString::fromStdString(dir.File("plan.xlsx")));
      static_cast<QDialog*>(files)->accept();
      // A dialog that does not close would hold the test for ever.
      if (asked.size() > 20) static_cast<QDialog*>(files)->reject();
    } else if (auto* sheets = qobject_cast<excel::SheetChooserDialog*>(modal)) {
      asked.push_back("sheet: " + sheets->windowTitle().toStdString() + ", " + sheets->List()->item(1)->text().toStdString());
      sheets->List()->setCurrentRow(1);
      QTest::mouseClick(sheets->OkButton(), Qt::LeftButton);
    }
  });
  drafter.start(20);
  Run("VEXTABLE_EXCEL_IMPORT");
  drafter.stop();
  cadhost::SetMainWindows(nullptr, nullptr);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_NE(asked[0].find("*.xlsx *.xlsm *.ods *.csv *.xls"), std::string::npos) << asked[0];
  EXPECT_EQ(asked[1], "sheet: Select EXCEL Sheet, Notes");
  ASSERT_EQ(editor_->loads, 1);
  EXPECT_EQ(editor_->table.GetCell(0, 0).strText, "note");
}

// The real editor window starts the commands from its toolbar; the host runs them.
TEST_F(ExcelCommandsTest, TheEditorsButtonsRunTheCommandsOnTheEditorsTable) {
  Plugin().editor.reset();
  ASSERT_TRUE(cadhost::RunCommand("VEXOPENTABLE"));
  TableEditorWindow* window = WindowOf(Plugin().editor.get());
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  window->Grid().Model().SetText(1, 1, "typed");
  for (int id : {editor_cmd::kTbExcelImport, editor_cmd::kTbExcelExport}) {
    QAction* a = window->Action(id);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isVisible() && a->isEnabled()) << id;
    EXPECT_TRUE(window->FileToolbar()->actions().contains(a)) << id;
  }

  cadhost::Feedback::Clear();
  window->Action(editor_cmd::kTbExcelExport)->trigger();
  EXPECT_EQ(cadhost::Feedback::Posted(), (std::vector<std::string>{"\x1b", "VEXTABLE_EXCEL_EXPORT", "\r"}));
  cadhost::RunCommandLine();
  EXPECT_EQ(Dump(answers.exportTo)["cells"]["A1"]["value"], "typed");
  EXPECT_TRUE(window->isVisible());

  answers.files.push_back(dir.File("plan.xlsx"));
  answers.sheets.push_back(0);
  cadhost::Feedback::Clear();
  window->Action(editor_cmd::kExcelImport)->trigger();
  EXPECT_EQ(cadhost::Feedback::Posted(), (std::vector<std::string>{"\x1b", "VEXTABLE_EXCEL_IMPORT", "\r"}));
  cadhost::RunCommandLine();
  ASSERT_EQ(WindowOf(Plugin().editor.get()), window);  // the same editor takes the table
  EXPECT_EQ(answers.owners, (std::vector<QWidget*>{window}));  // the dialogs belong to it
  EXPECT_EQ(window->Origin(), kLoadedTable);
  EXPECT_EQ(window->Grid().Model().Text(1, 1), "pump");
  EXPECT_EQ(window->Grid().Model().BlockOf(2, 1), (CellRange{2, 1, 3, 2}));
}

}  // namespace
}  // namespace vex
