// Table files are the drafter's: reading never rewrites what is not a table, a conversion keeps
// the original, hostile counts cost nothing, and texts that a layout would change are never
// written to it.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "files/table_file.h"
#include "support/tables.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string Data(const std::string& name) { return std::string(VEXTABLE_TEST_DATA) + "/files/" + name; }

// An old key-value file of rows x cols cells, each "GridText<i><j>strText=r<i>c<j>".
std::string KeyValueTable(int rows, int cols) {
  std::string s = "; kept by the drafter\n[Other]\nNote=keep me\n[VexTableSaveFile]\nnRows=" + std::to_string(rows) +
                  "\nnCols=" + std::to_string(cols) + "\n";
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j)
      s += "GridText" + std::to_string(i) + std::to_string(j) + "strText=r" + std::to_string(i) + "c" +
           std::to_string(j) + "\n";
  return s;
}

class TableFileSafety : public ::testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(TableFileSafety, LeaveReadsAnOldFileWithoutWritingAnything_Issue11) {
  const std::string path = dir_.File("old.vtf");
  const std::string original = ReadFile(Data("old_key_value.vtf"));
  WriteFile(path, original);
  TableData t;
  TableFileReport report;
  ASSERT_TRUE(LoadTableFile(t, kTableFilePrefix, path, &report, OldLayout::kLeave));
  EXPECT_EQ(t.GetCell(0, 1).strText, "Length (mm)");
  EXPECT_TRUE(report.keyValue);
  EXPECT_FALSE(report.converted);
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);
}

TEST_F(TableFileSafety, ConversionKeepsTheOriginalOnceWithItsOtherSections_Issue11) {
  const std::string path = dir_.File("t.vtf");
  const std::string original = KeyValueTable(2, 3);
  WriteFile(path, original);
  TableData t;
  TableFileReport report;
  ASSERT_TRUE(LoadTableFile(t, kTableFilePrefix, path, &report));
  EXPECT_TRUE(report.converted);
  EXPECT_EQ(t.GetCell(1, 2).strText, "r1c2");
  EXPECT_EQ(ReadFile(path + ".kv.bak"), original);
  EXPECT_EQ(ReadFile(path).rfind("<?xml", 0), 0u);

  // A later old file of the same name does not overwrite the first backup.
  WriteFile(path, KeyValueTable(1, 1));
  ASSERT_TRUE(LoadTableFile(t, kTableFilePrefix, path));
  EXPECT_EQ(ReadFile(path + ".kv.bak"), original);
}

TEST_F(TableFileSafety, SectionWithoutTheTableSizeIsNotATable_Issue11) {
  const std::string path = dir_.File("VexTable.ini");
  const std::string settings = "[VexTableSaveFile]\nPlotScale=2\n[Setting]\nLanguage=English\n";
  WriteFile(path, settings);
  TableData t;
  const Result r = LoadTableFile(t, kTableFilePrefix, path);
  EXPECT_EQ(r.code(), ErrorCode::kWrongKind);
  EXPECT_EQ(ReadFile(path), settings);
  TableHeader h;
  EXPECT_FALSE(LoadHeaderKeys(h, kTableFilePrefix, path));
  EXPECT_EQ(ReadFile(path), settings);
}

TEST_F(TableFileSafety, OldFileThatCannotBeRewrittenStillOpens_Issue11) {
  const std::string path = dir_.File("t.vtf");
  const std::string original = KeyValueTable(2, 2);
  WriteFile(path, original);
  // The backup cannot be written (its name leads into a folder that does not exist), as on a
  // read-only disk: the file stays and the table opens with a warning.
  fs::create_symlink(dir_.File("no/such/folder/t.bak"), path + ".kv.bak");
  TableData t;
  TableFileReport report;
  ASSERT_TRUE(LoadTableFile(t, kTableFilePrefix, path, &report));
  EXPECT_EQ(t.GetCell(1, 1).strText, "r1c1");
  EXPECT_FALSE(report.converted);
  ASSERT_EQ(report.warnings.size(), 1u);
  EXPECT_NE(report.warnings[0].find("stays in the key-value layout"), std::string::npos) << report.warnings[0];
  EXPECT_EQ(ReadFile(path), original);
}

TEST_F(TableFileSafety, ReadOnlyFolderStillOpens_Issue11) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string folder = dir_.File("ro/");
  fs::create_directory(folder);
  WriteFile(folder + "t.vtf", KeyValueTable(2, 2));
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  TableData t;
  TableFileReport report;
  const Result r = LoadTableFile(t, kTableFilePrefix, folder + "t.vtf", &report);
  fs::permissions(folder, fs::perms::owner_all);
  ASSERT_TRUE(r) << r.message();
  EXPECT_EQ(report.warnings.size(), 1u);
}

TEST_F(TableFileSafety, OldFileOfTenOrMoreRowsWarnsOfMisplacedCells_Issue11) {
  const std::string path = dir_.File("big.vtf");
  WriteFile(path, KeyValueTable(12, 12));
  TableData t;
  TableFileReport report;
  ASSERT_TRUE(LoadTableFile(t, kTableFilePrefix, path, &report));
  ASSERT_FALSE(report.warnings.empty());
  EXPECT_NE(report.warnings[0].find("misplaced"), std::string::npos);
  EXPECT_EQ(ReadFile(path + ".kv.bak"), KeyValueTable(12, 12));  // the original is kept
}

struct Claim {
  const char* name;
  std::string content;
};

class ImplausibleClaims : public TableFileSafety, public ::testing::WithParamInterface<Claim> {};

TEST_P(ImplausibleClaims, AreRefusedBeforeAllocating_Issue11) {
  const std::string path = dir_.File("claim.vtf");
  WriteFile(path, GetParam().content);
  TableData t = test::UniformTable(1, 1);
  const Result r = LoadTableFile(t, kTableFilePrefix, path);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.code(), ErrorCode::kMalformed);
  EXPECT_NE(r.message().find("can hold"), std::string::npos) << r.message();
  EXPECT_EQ(ReadFile(path), GetParam().content);  // not converted either
  EXPECT_EQ(t, test::UniformTable(1, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImplausibleClaims,
    ::testing::Values(
        Claim{"key_value_63_bytes", "[VexTableSaveFile]\nnRows=65535\nnCols=15\n"},
        Claim{"xml_claiming_a_million_cells",
              "<xmlRoot><VexTableSaveFile><Rows>65535</Rows><Cols>15</Cols></VexTableSaveFile></xmlRoot>"},
        Claim{"million_merge_spans",
              "<xmlRoot><VexTableSaveFile><Rows>1</Rows><Cols>1</Cols><Merge><Rows><Count>1000000</Count>"
              "</Rows></Merge></VexTableSaveFile></xmlRoot>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TableFileSafety, RealTablesOfManyCellsStillLoad) {
  TableData t = test::NamedTable(120, 90, 8, 12);
  const std::string path = dir_.File("big.vtf");
  ASSERT_TRUE(SaveTableFile(t, kTableFilePrefix, path));
  TableData back;
  ASSERT_TRUE(LoadTableFile(back, kTableFilePrefix, path));
  EXPECT_EQ(back, t);
}

TEST_F(TableFileSafety, NulInATextIsRefusedNamingTheCell_Issue11) {
  TableData t = test::UniformTable(2, 2);
  t.rows[1].cells[0].strText = std::string("cut\0here", 8);
  const std::string path = dir_.File("nul.vtf");
  for (const Result& r : {SaveTableFile(t, kTableFilePrefix, path), SaveTableKeyValue(t, kTableFilePrefix, path)}) {
    EXPECT_EQ(r.code(), ErrorCode::kRefused);
    EXPECT_NE(r.message().find("cell [1][0]"), std::string::npos) << r.message();
  }
  EXPECT_FALSE(fs::exists(path));
}

struct Awkward {
  const char* name;
  std::string text;
  const char* reason;
};

class TextsTheKeyValueLayoutWouldChange : public TableFileSafety, public ::testing::WithParamInterface<Awkward> {};

TEST_P(TextsTheKeyValueLayoutWouldChange, AreWrittenAsXmlAndComeBackExactly_Issue11) {
  TableData t = test::UniformTable(2, 2);
  t.rows[0].cells[1].strText = GetParam().text;
  EXPECT_NE(KeyValueLayoutProblem(t).find(GetParam().reason), std::string::npos) << KeyValueLayoutProblem(t);
  const std::string path = dir_.File("t.vtf");
  TableFileReport report;
  ASSERT_TRUE(SaveTableKeyValue(t, kTableFilePrefix, path, &report));
  EXPECT_FALSE(report.keyValue);
  TableData back;
  ASSERT_TRUE(LoadTableFile(back, kTableFilePrefix, path));
  EXPECT_EQ(back.rows[0].cells[1].strText, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextsTheKeyValueLayoutWouldChange,
    ::testing::Values(Awkward{"leading_blank", " M12", "blanks"}, Awkward{"trailing_tab", "M12\t", "blanks"},
                      Awkward{"double_quotes", "\"quoted\"", "quotes"}, Awkward{"single_quotes", "'q'", "quotes"},
                      Awkward{"lone_cr", "a\rb", "line break"}, Awkward{"crlf", "a\r\nb", "line break"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TableFileSafety, HeaderKeysTheKeyValueLayoutWouldChangeGoAsXml_Issue11) {
  TableHeader h;
  static_cast<TableData&>(h) = test::UniformTable(1, 1);
  h.TitleName = " padded ";
  const std::string path = dir_.File("h.vtt");
  TableFileReport report;
  ASSERT_TRUE(SaveTableKeyValue(h, kHeaderFilePrefix, path, &report, &h));
  EXPECT_FALSE(report.keyValue);
  TableHeader back;
  ASSERT_TRUE(LoadHeaderKeys(back, kHeaderFilePrefix, path));
  EXPECT_EQ(back.TitleName, " padded ");
}

TEST_F(TableFileSafety, SaveKeepsTheFilesPermissions_Issue11) {
  const std::string path = dir_.File("private.vtf");
  ASSERT_TRUE(SaveTableFile(test::UniformTable(1, 1), kTableFilePrefix, path));
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(SaveTableFile(test::UniformTable(2, 2), kTableFilePrefix, path));
  struct stat st{};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST_F(TableFileSafety, SaveThroughASymbolicLinkWritesItsTarget_Issue11) {
  fs::create_directory(dir_.File("shared"));
  const std::string target = dir_.File("shared/plan.vtf");
  ASSERT_TRUE(SaveTableFile(test::UniformTable(1, 1), kTableFilePrefix, target));
  const std::string link = dir_.File("plan.vtf");
  fs::create_symlink("shared/plan.vtf", link);  // relative, as drafters make them
  ASSERT_TRUE(SaveTableFile(test::UniformTable(3, 3), kTableFilePrefix, link));
  EXPECT_TRUE(fs::is_symlink(link));
  TableData back;
  ASSERT_TRUE(LoadTableFile(back, kTableFilePrefix, target));
  EXPECT_EQ(back.nRows, 3);
}

TEST_F(TableFileSafety, KeyValueSaveOverAnotherProgramsFileLeavesNoTemporaryFiles_Issue11) {
  const std::string path = dir_.File("t.vtf");
  ASSERT_TRUE(SaveTableFile(test::UniformTable(1, 1), kTableFilePrefix, path));
  // A file of the fixed name an earlier version used for its temporary copy: someone else's.
  WriteFile(path + ".kv-new", "not ours");
  ASSERT_TRUE(SaveTableKeyValue(test::UniformTable(2, 2), kTableFilePrefix, path));
  EXPECT_EQ(ReadFile(path + ".kv-new"), "not ours");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 2);
  TableData back;
  ASSERT_TRUE(LoadTableKeyValue(back, kTableFilePrefix, path));
  EXPECT_EQ(back.nRows, 2);
}

}  // namespace
}  // namespace vex
