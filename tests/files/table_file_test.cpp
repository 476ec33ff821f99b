#include "files/table_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "model/table_header.h"
#include "model/merge_blocks.h"
#include "platform/text_util.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string GoldenPath(const std::string& name) {
  return std::string(VEXTABLE_TEST_DATA) + "/files/" + name;
}

std::string Golden(const std::string& name) { return ReadFile(GoldenPath(name)); }

// Compares a written file with its reviewed copy; VEXTABLE_UPDATE_GOLDEN=1 rewrites the copy
// (review the diff before committing it).
void ExpectGolden(const std::string& writtenPath, const std::string& name) {
  const std::string actual = ReadFile(writtenPath);
  if (std::getenv("VEXTABLE_UPDATE_GOLDEN")) WriteFile(GoldenPath(name), actual);
  EXPECT_EQ(actual, Golden(name)) << "differs from tests/data/files/" << name;
}

// The 2 x 3 table of the golden files: a merge across the first row, texts that need escaping.
TableData SampleTable() {
  TableData t;
  t.nRows = 2;
  t.nCols = 3;
  t.Normalize();
  t.RowHeights = {8.0, 12.345};
  t.ColWidths = {20.0, 30.5, 15.0};
  AppendMergeSpans(t, {{0, 0, 0, 1}});
  TableCell a = t.GetCell(0, 0);
  a.strText = "Ø20 %%c & <b>";
  a.HorzMode = 0;
  t.SetCell(0, 0, a);
  TableCell b = t.GetCell(1, 2);
  b.strText = "中文";
  b.VertMode = 2;
  b.dHeight = 5.0;
  t.SetCell(1, 2, b);
  TableCell pic = t.GetCell(1, 0);
  pic.nType = 1;
  pic.dScael = 0.5;
  pic.sBlockName = "VexTable0";
  t.SetCell(1, 0, pic);
  return t;
}

// What a table reads back as after the two-decimal key-value layout.
TableData RoundedToTwoDecimals(TableData t) {
  const auto round2 = [](double v) {
    return platform::ParseLeadingDouble(platform::FormatFixed(v, 2));
  };
  for (double& h : t.RowHeights) h = round2(h);
  for (double& w : t.ColWidths) w = round2(w);
  return t;
}

class TableFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(TableFileTest, XmlLayoutMatchesTheReviewedFile) {
  const std::string path = dir_.File("t.vtf");
  ASSERT_TRUE(SaveTableFile(SampleTable(), kTableFilePrefix, path));
  ExpectGolden(path, "table_2x3.vtf");
  TableData back;
  TableFileReport report;
  const auto s = LoadTableFile(back, kTableFilePrefix, path, &report);
  ASSERT_TRUE(s) << s.message();
  EXPECT_FALSE(report.converted);
  EXPECT_EQ(back, SampleTable());
}

TEST_F(TableFileTest, KeyValueLayoutMatchesTheReviewedFile) {
  const std::string path = dir_.File("kv.vtf");
  TableFileReport report;
  const auto s = SaveTableKeyValue(SampleTable(), kTableFilePrefix, path, &report);
  ASSERT_TRUE(s) << s.message();
  EXPECT_TRUE(report.keyValue);
  ExpectGolden(path, "table_2x3_kv.vtf");
  TableData back;
  ASSERT_TRUE(LoadTableKeyValue(back, kTableFilePrefix, path));
  EXPECT_EQ(back, RoundedToTwoDecimals(SampleTable()));
  EXPECT_EQ(back.RowHeights[1], 12.35);
}

TEST_F(TableFileTest, HeaderKeysFollowTheTableInsideTableTitle) {
  const std::string path = dir_.File("Header.vtt");
  TableHeader h;
  static_cast<TableData&>(h) = SampleTable();
  h.TitleName = "Parts list";
  h.TitleType = "Mechanical";
  h.TitleROrC = 2;
  ASSERT_TRUE(SaveTableFile(h, kHeaderFilePrefix, path));
  ASSERT_TRUE(SaveHeaderKeys(h, kHeaderFilePrefix, path));
  ExpectGolden(path, "header_2x3.vtt");

  TableHeader back;
  ASSERT_TRUE(LoadTableFile(back, kHeaderFilePrefix, path));
  ASSERT_TRUE(LoadHeaderKeys(back, kHeaderFilePrefix, path));
  EXPECT_EQ(back, h);
}

TEST_F(TableFileTest, LoadHeaderKeysKeepsCurrentValuesAsDefaults) {
  const std::string path = dir_.File("t.vtf");
  ASSERT_TRUE(SaveTableFile(SampleTable(), kHeaderFilePrefix, path));
  TableHeader h;
  h.TitleName = "kept";
  ASSERT_TRUE(LoadHeaderKeys(h, kHeaderFilePrefix, path));
  EXPECT_EQ(h.TitleName, "kept");
  EXPECT_EQ(h.TitleVersion, "1.0");
}

TEST_F(TableFileTest, OldKeyValueFileIsReadAndLeftInTheXmlLayout) {
  const std::string path = dir_.File("old.vtf");
  WriteFile(path, Golden("old_key_value.vtf"));
  TableData first;
  TableFileReport report;
  const auto s = LoadTableFile(first, kTableFilePrefix, path, &report);
  ASSERT_TRUE(s) << s.message();
  EXPECT_TRUE(report.converted);
  EXPECT_EQ(first.nRows, 2);
  EXPECT_EQ(first.RowHeights, (std::vector<double>{7.5, 0.0}));  // only RowHeights0 is stored
  EXPECT_EQ(first.GetCell(0, 1).strText, "Length (mm)");
  EXPECT_EQ(first.MergeRows, (std::vector<MergeSpan>{{1, 0, 1}}));
  EXPECT_EQ(ReadFile(path).rfind("<?xml", 0), 0u);

  TableData second;
  TableFileReport againReport;
  const auto again = LoadTableFile(second, kTableFilePrefix, path, &againReport);
  ASSERT_TRUE(again);
  EXPECT_FALSE(againReport.converted);
  EXPECT_EQ(second, first);
  second.Normalize();
  EXPECT_EQ(second.RowHeights, (std::vector<double>{7.5, 0.0}));
}

TEST_F(TableFileTest, ConvertingAnOldHeaderKeepsItsHeaderKeys) {
  // Whichever is read first, the table or the header keys, the conversion keeps both.
  for (const bool keysFirst : {true, false}) {
    const std::string path = dir_.File(keysFirst ? "a.vtt" : "b.vtt");
    WriteFile(path, Golden("old_key_value_header.vtt"));
    TableHeader h;
    if (keysFirst) {
      ASSERT_TRUE(LoadHeaderKeys(h, kHeaderFilePrefix, path));
      ASSERT_TRUE(LoadTableFile(h, kHeaderFilePrefix, path));
    } else {
      ASSERT_TRUE(LoadTableFile(h, kHeaderFilePrefix, path));
      ASSERT_TRUE(LoadHeaderKeys(h, kHeaderFilePrefix, path));
    }
    EXPECT_EQ(h.TitleName, "Old header");
    EXPECT_EQ(h.TitleType, "Civil");
    EXPECT_EQ(h.TitleROrC, 1);
    EXPECT_EQ(h.nCols, 2);
    EXPECT_EQ(h.GetCell(0, 0).strText, "No.");
  }
}

TEST_F(TableFileTest, MissingFileReadsAsDefaults) {
  TableData t;
  t.nRows = 2;
  t.nCols = 1;
  const auto s = LoadTableFile(t, kTableFilePrefix, dir_.File("none.vtf"));
  ASSERT_TRUE(s);
  EXPECT_EQ(t.RowHeights, (std::vector<double>{0.0, 0.0}));
  EXPECT_EQ(t.rows.size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("none.vtf")));
}

TEST_F(TableFileTest, DamagedFilesAreRefusedAndLeftUntouched) {
  const std::vector<std::pair<std::string, std::string>> samples = {
      {"truncated XML", Golden("table_2x3.vtf").substr(0, 500)},
      {"INI of another kind", "[Setting]\nLanguage=English\n"},
      {"binary junk", std::string("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16)},
      {"empty file", ""},
      {"XML of another kind", "<?xml version=\"1.0\"?><html><body>hi</body></html>"},
  };
  for (const auto& [what, bytes] : samples) {
    const std::string path = dir_.File("damaged.vtf");
    WriteFile(path, bytes);
    TableData t = SampleTable();
    const auto s = LoadTableFile(t, kTableFilePrefix, path);
    EXPECT_FALSE(s) << what;
    EXPECT_NE(s.message().find("not a table file"), std::string::npos) << what << ": " << s.message();
    EXPECT_EQ(ReadFile(path), bytes) << what;
    EXPECT_EQ(t, SampleTable()) << what;
    TableHeader h;
    EXPECT_FALSE(LoadHeaderKeys(h, kTableFilePrefix, path)) << what;
    EXPECT_EQ(ReadFile(path), bytes) << what;
  }
}

struct HostileCase {
  const char* name;
  std::string content;
  const char* reason;
};

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }

class HostileCounts : public TableFileTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileCounts, AreRefusedWithoutAllocating) {
  const std::string path = dir_.File("hostile.vtf");
  WriteFile(path, GetParam().content);
  TableData t = SampleTable();
  const auto s = LoadTableFile(t, kTableFilePrefix, path);
  ASSERT_FALSE(s);
  EXPECT_NE(s.message().find(GetParam().reason), std::string::npos) << s.message();
  EXPECT_EQ(t, SampleTable());
}

std::string XmlCounts(const std::string& rows, const std::string& cols, const std::string& extra = "") {
  return "<xmlRoot><VexTableSaveFile><Rows>" + rows + "</Rows><Cols>" + cols + "</Cols>" + extra +
         "</VexTableSaveFile></xmlRoot>";
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileCounts,
    ::testing::Values(
        HostileCase{"negative_rows", XmlCounts("-1", "3"), "negative"},
        HostileCase{"negative_cols", XmlCounts("2", "-2147483648"), "negative"},
        HostileCase{"too_many_rows", XmlCounts("65536", "1"), "at most 65535"},
        HostileCase{"too_many_cells", XmlCounts("2000", "2000"), "4000000 cells"},
        HostileCase{"overflowing_count", XmlCounts("99999999999999999999", "1"), "at most 65535"},
        HostileCase{"huge_merge_count",
                    XmlCounts("1", "1", "<Merge><Rows><Count>2000000000</Count></Rows></Merge>"),
                    "merge spans"},
        HostileCase{"negative_merge_count",
                    XmlCounts("1", "1", "<Merge><Cols><Count>-5</Count></Cols></Merge>"),
                    "merge spans"},
        HostileCase{"key_value_huge", "[VexTableSaveFile]\nnRows=100000\nnCols=100000\n",
                    "at most 65535"},
        HostileCase{"cells_beyond_the_file_Issue11", XmlCounts("65535", "15"),
                    "983025 cells, more than its 89 bytes can hold"},
        HostileCase{"key_value_cells_beyond_the_file_Issue11", "[VexTableSaveFile]\nnRows=65535\nnCols=15\n",
                    "983025 cells, more than its 40 bytes can hold"},
        HostileCase{"merge_spans_beyond_the_file_Issue11",
                    XmlCounts("1", "1", "<Merge><Rows><Count>1000000</Count></Rows></Merge>"),
                    "1000000 merge spans, more than its"}),
    [](const auto& info) { return std::string(info.param.name); });

// A 267-byte header file claiming 115 x 200 cells took seconds and hundreds of megabytes to
// read and convert (found by fuzzing): refused, and the file is not converted.
TEST_F(TableFileTest, HeaderClaimingCellsBeyondItsSizeIsRefused_Issue11) {
  const std::string bytes = Golden("header_claiming_23000_cells.vtt");
  ASSERT_EQ(bytes.size(), 267u);
  const std::string path = dir_.File("claims.vtt");
  WriteFile(path, bytes);
  TableHeader h;
  const auto table = LoadTableFile(h, kHeaderFilePrefix, path);
  ASSERT_FALSE(table);
  EXPECT_EQ(table.code(), ErrorCode::kMalformed);
  EXPECT_NE(table.message().find("23000 cells, more than its 267 bytes"), std::string::npos)
      << table.message();
  EXPECT_FALSE(LoadHeaderKeys(h, kHeaderFilePrefix, path));
  EXPECT_FALSE(LoadTableKeyValue(h, kHeaderFilePrefix, path));
  EXPECT_EQ(ReadFile(path), bytes);
  EXPECT_EQ(h, TableHeader{});
}

// Short hand-made files may still claim a table of a few thousand cells that they leave out.
TEST_F(TableFileTest, SmallFileMayClaimAFewThousandCells_Issue11) {
  const std::string path = dir_.File("small.vtf");
  WriteFile(path, "[VexTableSaveFile]\nnRows=64\nnCols=64\nGridText00strText=A\n");
  TableData t;
  const auto s = LoadTableFile(t, kTableFilePrefix, path);
  ASSERT_TRUE(s) << s.message();
  EXPECT_EQ(t.rows.size(), 64u);
  EXPECT_EQ(t.GetCell(0, 0).strText, "A");
}

TEST_F(TableFileTest, TenMegabyteTextRoundTrips) {
  TableData t;
  t.nRows = 1;
  t.nCols = 1;
  t.Normalize();
  TableCell c;
  c.strText = std::string(10 << 20, 'x') + "<&>";
  t.SetCell(0, 0, c);
  const std::string path = dir_.File("big.vtf");
  ASSERT_TRUE(SaveTableFile(t, kTableFilePrefix, path));
  TableData back;
  ASSERT_TRUE(LoadTableFile(back, kTableFilePrefix, path));
  EXPECT_EQ(back, t);
}

TEST_F(TableFileTest, ShortAndLongArraysAreSavedAsTheyAre) {
  TableData t;
  t.nRows = 3;
  t.nCols = 2;
  t.RowHeights = {9};
  t.ColWidths = {1, 2, 3, 4};
  const std::string path = dir_.File("t.vtf");
  ASSERT_TRUE(SaveTableFile(t, kTableFilePrefix, path));
  EXPECT_NE(ReadFile(path).find("<Width3>4.000000</Width3>"), std::string::npos);
  TableData back;
  ASSERT_TRUE(LoadTableFile(back, kTableFilePrefix, path));
  // Reading is bounded by the counts.
  EXPECT_EQ(back.RowHeights, (std::vector<double>{9, 0, 0}));
  EXPECT_EQ(back.ColWidths, (std::vector<double>{1, 2}));
  EXPECT_EQ(back.rows.size(), 3u);
}

TEST_F(TableFileTest, KeyValueSectionIsNotEmptiedFirst) {
  const std::string path = dir_.File("kv.vtf");
  TableData big;
  big.nRows = 3;
  big.nCols = 3;
  big.Normalize();
  ASSERT_TRUE(SaveTableKeyValue(big, kTableFilePrefix, path));
  TableData small;
  small.nRows = 1;
  small.nCols = 1;
  small.Normalize();
  ASSERT_TRUE(SaveTableKeyValue(small, kTableFilePrefix, path));
  EXPECT_NE(ReadFile(path).find("GridText22strText="), std::string::npos);
  TableData back;
  ASSERT_TRUE(LoadTableKeyValue(back, kTableFilePrefix, path));
  EXPECT_EQ(back, RoundedToTwoDecimals(small));
}

TEST_F(TableFileTest, TablesTheKeyValueLayoutCannotHoldGoToXml) {
  TableData wide;
  wide.nRows = 1;
  wide.nCols = 10;
  wide.Normalize();
  TableData multiLine;
  multiLine.nRows = 1;
  multiLine.nCols = 1;
  multiLine.Normalize();
  TableCell c;
  c.strText = "two\nlines";
  multiLine.SetCell(0, 0, c);
  TableData nine;
  nine.nRows = 9;
  nine.nCols = 9;
  nine.Normalize();
  EXPECT_FALSE(FitsKeyValueLayout(wide));
  EXPECT_FALSE(FitsKeyValueLayout(multiLine));
  EXPECT_TRUE(FitsKeyValueLayout(nine));
  for (const TableData* t : {&wide, &multiLine}) {
    const std::string path = dir_.File("x.vtf");
    TableFileReport report;
    const auto s = SaveTableKeyValue(*t, kTableFilePrefix, path, &report);
    ASSERT_TRUE(s) << s.message();
    EXPECT_FALSE(report.keyValue);
    TableData back;
    ASSERT_TRUE(LoadTableFile(back, kTableFilePrefix, path));
    EXPECT_EQ(back, *t);
  }
}

TEST_F(TableFileTest, KeyValueWriteOverAnXmlFileReplacesIt) {
  const std::string path = dir_.File("t.vtf");
  ASSERT_TRUE(SaveTableFile(SampleTable(), kTableFilePrefix, path));
  ASSERT_TRUE(SaveTableKeyValue(SampleTable(), kTableFilePrefix, path));
  EXPECT_EQ(ReadFile(path), Golden("table_2x3_kv.vtf"));
}

TEST_F(TableFileTest, FailedSavesSayWhy) {
  const auto s = SaveTableFile(SampleTable(), kTableFilePrefix, dir_.File("missing/t.vtf"));
  EXPECT_FALSE(s);
  EXPECT_NE(s.message().find("missing/t.vtf"), std::string::npos) << s.message();
  // A folder in the way of the file: the folder stays, nothing is left beside it.
  std::filesystem::create_directory(dir_.File("folder.vtf"));
  EXPECT_FALSE(SaveTableFile(SampleTable(), kTableFilePrefix, dir_.File("folder.vtf")));
  EXPECT_FALSE(SaveTableKeyValue(SampleTable(), kTableFilePrefix, dir_.File("folder.vtf")));
  EXPECT_TRUE(std::filesystem::is_directory(dir_.File("folder.vtf")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                          std::filesystem::directory_iterator()), 1);
}

TEST(PrefixForFile, FollowsTheFileKind) {
  EXPECT_EQ(PrefixForFile("/a/b/table.vtf"), "VexTableSaveFile");
  EXPECT_EQ(PrefixForFile("Header1.VTT"), "TableTitle");
  EXPECT_EQ(PrefixForFile("/lib/Title/_AutoSave.vtt"), "AutoSave");
  EXPECT_EQ(PrefixForFile("table.json"), "");
  EXPECT_EQ(PrefixForFile("noext"), "");
}

}  // namespace
}  // namespace vex
