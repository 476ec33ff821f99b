#include "cli/table_json.h"

#include <gtest/gtest.h>

#include "model/merge_blocks.h"
#include "support/tables.h"

namespace vex::cli {
namespace {

std::string Streamed(const TableHeader& t, bool keys) {
  std::string out;
  WriteTableJson(t, keys, [&](std::string_view piece) { out += piece; });
  return out;
}

std::string Dumped(const TableHeader& t, bool keys) {
  return TableToJson(t, keys).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

TEST(TableJson, StreamedTextIsTheDocumentsDump) {
  TableHeader t;
  static_cast<TableData&>(t) = test::NamedTable(3, 4, 8.5, 1e-7);
  AppendMergeSpans(t, {{0, 0, 1, 2}});
  t.rows[1].cells[2].strText = "quote \" slash \\ tab \t cr \r\n ctl \x01 bad utf8 \xff\xfe 中文";
  t.rows[2].cells.clear();  // a ragged row
  t.RowHeights.push_back(1e21);
  t.TitleName = "Bolts";
  for (const bool keys : {false, true}) EXPECT_EQ(Streamed(t, keys), Dumped(t, keys)) << keys;
}

TEST(TableJson, EmptyTableStreamsAsItDumps) {
  TableHeader empty;
  EXPECT_EQ(Streamed(empty, false), Dumped(empty, false));
  EXPECT_EQ(Streamed(empty, true), Dumped(empty, true));
}

TEST(TableJson, LargeTableComesInPieces) {
  TableHeader t;
  static_cast<TableData&>(t) = test::NamedTable(120, 40);
  int pieces = 0;
  std::string out;
  WriteTableJson(t, false, [&](std::string_view piece) {
    ++pieces;
    out += piece;
  });
  EXPECT_GT(pieces, 4);
  EXPECT_EQ(out, Dumped(t, false));
}

}  // namespace
}  // namespace vex::cli
