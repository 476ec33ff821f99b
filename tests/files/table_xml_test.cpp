// The whole-table XML reader and writer agree with key-by-key reads and writes through the
// store, byte for byte and value for value, on ordinary and on odd documents.

#include "files/table_xml.h"

#include <gtest/gtest.h>

#include <random>

#include "files/table_file.h"
#include "files/xml_store.h"
#include "model/merge_blocks.h"
#include "support/tables.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// The table written key by key through the store, in the order of the layout.
void SaveKeyByKey(const TableData& t, const std::string& prefix, const std::string& path) {
  XmlStore s;
  ASSERT_EQ(s.Open(path, "xmlRoot"), XmlStore::kLoaded);
  s.Clear();
  s.PutInt(prefix, "Rows", t.nRows);
  s.PutInt(prefix, "Cols", t.nCols);
  for (std::size_t i = 0; i < t.RowHeights.size(); ++i) s.PutDouble(prefix, "Row/Height" + std::to_string(i), t.RowHeights[i]);
  for (std::size_t j = 0; j < t.ColWidths.size(); ++j) s.PutDouble(prefix, "Col/Width" + std::to_string(j), t.ColWidths[j]);
  for (const auto& [stem, spans] : {std::pair{"Merge/Rows", &t.MergeRows}, std::pair{"Merge/Cols", &t.MergeCols}}) {
    s.PutInt(prefix, std::string(stem) + "/Count", static_cast<int>(spans->size()));
    for (std::size_t k = 0; k < spans->size(); ++k) {
      const std::string at = stem + std::to_string(k);
      s.PutInt(prefix, at + "nPlace", (*spans)[k].nPlace);
      s.PutInt(prefix, at + "nStart", (*spans)[k].nStart);
      s.PutInt(prefix, at + "nEnd", (*spans)[k].nEnd);
    }
  }
  for (std::size_t i = 0; i < t.rows.size(); ++i)
    for (std::size_t j = 0; j < t.rows[i].cells.size(); ++j)
      SaveFields(s, prefix, "Grid/Text/Row" + std::to_string(i) + "/Col" + std::to_string(j) + "/",
                 t.rows[i].cells[j], CellFields());
  ASSERT_TRUE(s.Save());
}

// The table read key by key through the store.
TableData LoadKeyByKey(const std::string& prefix, const std::string& path) {
  XmlStore s;
  s.Open(path, "xmlRoot");
  TableData t;
  t.nRows = s.GetInt(prefix, "Rows", 0);
  t.nCols = s.GetInt(prefix, "Cols", 0);
  for (int i = 0; i < t.nRows; ++i) t.RowHeights.push_back(s.GetDouble(prefix, "Row/Height" + std::to_string(i), 0));
  for (int j = 0; j < t.nCols; ++j) t.ColWidths.push_back(s.GetDouble(prefix, "Col/Width" + std::to_string(j), 0));
  for (const auto& [stem, spans] : {std::pair{"Merge/Rows", &t.MergeRows}, std::pair{"Merge/Cols", &t.MergeCols}}) {
    const int n = s.GetInt(prefix, std::string(stem) + "/Count", 0);
    for (int k = 0; k < n; ++k) {
      const std::string at = stem + std::to_string(k);
      spans->emplace_back(s.GetInt(prefix, at + "nPlace", 0), s.GetInt(prefix, at + "nStart", 0),
                          s.GetInt(prefix, at + "nEnd", 0));
    }
  }
  for (int i = 0; i < t.nRows; ++i) {
    TableRow row;
    for (int j = 0; j < t.nCols; ++j) {
      TableCell c;
      LoadFields(s, prefix, "Grid/Text/Row" + std::to_string(i) + "/Col" + std::to_string(j) + "/", c, CellFields());
      row.cells.push_back(c);
    }
    t.AppendRow(std::move(row));
  }
  return t;
}

TableData RandomTable(std::mt19937& rng) {
  std::uniform_int_distribution<int> size(0, 6), byte(1, 255), len(0, 12), coin(0, 3);
  TableData t = test::UniformTable(size(rng), size(rng), 7.25, 12.125);
  for (TableRow& r : t.rows)
    for (TableCell& c : r.cells) {
      for (int k = len(rng); k > 0; --k) c.strText += static_cast<char>(byte(rng));  // every byte but NUL
      if (coin(rng) == 0) c.sBlockName = "VexTable" + std::to_string(coin(rng));
      c.HorzMode = coin(rng) - 1;
      c.dScael = 1.0 / (1 + coin(rng));
    }
  if (t.nRows > 1 && t.nCols > 1) AppendMergeSpans(t, {{0, 0, 1, 1}});
  if (coin(rng) == 0 && !t.rows.empty()) t.rows.back().cells.clear();  // a ragged table is saved as it is
  if (coin(rng) == 0) t.RowHeights.clear();
  return t;
}

class TableXml : public ::testing::TestWithParam<unsigned> {
 protected:
  TempDir dir_;
};

TEST_P(TableXml, StreamedFileIsTheStoresByteForByte) {
  std::mt19937 rng(GetParam());
  const TableData t = RandomTable(rng);
  ASSERT_TRUE(WriteXmlTable(t, "VexTableSaveFile", dir_.File("streamed.vtf")));
  SaveKeyByKey(t, "VexTableSaveFile", dir_.File("stored.vtf"));
  EXPECT_EQ(ReadFile(dir_.File("streamed.vtf")), ReadFile(dir_.File("stored.vtf")));
}

TEST_P(TableXml, WalkReadsWhatKeyByKeyReadsGive) {
  std::mt19937 rng(GetParam());
  TableData t = RandomTable(rng);
  t.Normalize();
  const std::string path = dir_.File("t.vtf");
  ASSERT_TRUE(WriteXmlTable(t, "VexTableSaveFile", path));
  XmlStore s;
  ASSERT_EQ(s.Open(path, "xmlRoot"), XmlStore::kLoaded);
  TableData walked;
  ASSERT_TRUE(ReadXmlTable(s, "VexTableSaveFile", 1 << 20, true, walked));
  EXPECT_EQ(walked, LoadKeyByKey("VexTableSaveFile", path));
}

INSTANTIATE_TEST_SUITE_P(Seeds, TableXml, ::testing::Range(1u, 31u));

// Documents no writer of ours makes: the first element in document order answers each key,
// wherever the prefix element lies, and names that are not generated ones are not read.
TEST(TableXmlOdd, WalkFollowsTheFirstMatchInDocumentOrder) {
  TempDir dir;
  const std::string path = dir.File("odd.vtf");
  WriteFile(path,
            "<?xml version=\"1.0\"?><xmlRoot>"
            "<Other><T><Rows>1</Rows><Cols>2</Cols><Grid><Text><Row0><Col1><strText>deep first</strText>"
            "</Col1></Row0></Text></Grid></T></Other>"
            "<T><Rows>3</Rows><Cols>2</Cols><Grid><Text><Row0><Col1><strText>second</strText>"
            "<strText>duplicate</strText><nType>1x</nType></Col1><Row01><Col0><strText>not a row</strText></Col0>"
            "</Row01></Row0><Row00><Col0><strText>leading zero</strText></Col0></Row00></Text></Grid>"
            "<Row><Height0>5<b>.5</b></Height0><Height0>9</Height0></Row>"
            "<Merge><Rows><Count>1</Count></Rows><Rows0nEnd>4</Rows0nEnd><Rows00nEnd>7</Rows00nEnd></Merge></T>"
            "</xmlRoot>");
  XmlStore s;
  ASSERT_EQ(s.Open(path, "xmlRoot"), XmlStore::kLoaded);
  TableData walked;
  ASSERT_TRUE(ReadXmlTable(s, "T", 1 << 20, true, walked));
  const TableData keyed = LoadKeyByKey("T", path);
  EXPECT_EQ(walked, keyed);
  EXPECT_EQ(walked.nRows, 1);
  EXPECT_EQ(walked.GetCell(0, 1).strText, "deep first");
  EXPECT_EQ(walked.RowHeights, (std::vector<double>{5.5}));  // any T answers: all text below the element
}

TEST(TableXmlOdd, DocumentWithoutThePrefixIsAnotherKind) {
  TempDir dir;
  WriteFile(dir.File("x.vtf"), "<?xml version=\"1.0\"?><html><body/></html>");
  XmlStore s;
  ASSERT_EQ(s.Open(dir.File("x.vtf"), "xmlRoot"), XmlStore::kLoaded);
  TableData t;
  EXPECT_EQ(ReadXmlTable(s, "VexTableSaveFile", 100, true, t).code(), ErrorCode::kWrongKind);
  EXPECT_TRUE(ReadXmlTable(s, "VexTableSaveFile", 100, false, t));
}

}  // namespace
}  // namespace vex
