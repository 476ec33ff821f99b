#include "model/table_clipboard_json.h"

#include <gtest/gtest.h>

#include <ostream>

#include "model/merge_blocks.h"

namespace vex {
namespace {

TableData Fragment() {
  TableData t;
  t.nRows = 2;
  t.nCols = 3;
  t.RowHeights = {8, 12.5};
  t.ColWidths = {25, 30, 0.1};
  t.Normalize();
  AppendMergeSpans(t, {{0, 0, 1, 1}});
  TableCell text = t.GetCell(0, 0);
  text.strText = "Ø 30%%d \"quoted\"\r\nline\t2 \\ 中文";
  text.HorzMode = 2;
  text.dHeight = 3.5;
  t.SetCell(0, 0, text);
  TableCell image;
  image.nType = 1;
  image.dScael = 0.25;
  image.sBlockName = "VexTable3";
  image.picture.Append(std::make_unique<JLine>(Point2d{0, 0}, Point2d{10.5, -2}));
  image.picture.Append(std::make_unique<JCircle>(Point2d{5, 5}, 2.25));
  image.picture.Append(std::make_unique<JPolyLine>(std::vector<Point2d>{{0, 0}, {1, 1}, {2, 0}}));
  image.picture.Append(std::make_unique<JText>());
  t.SetCell(1, 2, image);
  return t;
}

TEST(TableClipboardJson, RoundTripKeepsEverything) {
  const TableData t = Fragment();
  TableData back;
  std::string why;
  ASSERT_TRUE(TableFromClipboardJson(TableToClipboardJson(t), {}, back, why)) << why;
  EXPECT_EQ(back, t);
}

TEST(TableClipboardJson, LimitsCutRowsColumnsAndSpans) {
  TableData back;
  std::string why;
  ASSERT_TRUE(TableFromClipboardJson(TableToClipboardJson(Fragment()), {1, 2}, back, why)) << why;
  EXPECT_EQ(back.nRows, 1);
  EXPECT_EQ(back.nCols, 2);
  EXPECT_EQ(back.rows.size(), 1u);
  EXPECT_EQ(back.rows[0].cells.size(), 2u);
  EXPECT_EQ(back.RowHeights, (std::vector<double>{8}));
  EXPECT_EQ(back.MergeRows, (std::vector<MergeSpan>{{0, 0, 1}}));  // row 1's span is dropped
  EXPECT_EQ(back.MergeCols, (std::vector<MergeSpan>{{0, 0, 1}, {1, 0, 1}}));
}

struct Hostile {
  const char* name;
  std::string payload;
  const char* reason;  // a part of the reason given
};

// Test names and failure messages show the case by its name.
void PrintTo(const Hostile& c, std::ostream* os) { *os << c.name; }

class HostilePayload : public testing::TestWithParam<Hostile> {};

TEST_P(HostilePayload, IsRefusedWithAReason) {
  TableData out;
  out.nRows = 7;
  std::string why;
  EXPECT_FALSE(TableFromClipboardJson(GetParam().payload, {}, out, why));
  EXPECT_NE(why.find(GetParam().reason), std::string::npos) << why;
  EXPECT_EQ(out, TableData{});
}

INSTANTIATE_TEST_SUITE_P(
    Samples, HostilePayload,
    testing::Values(
        Hostile{"NotJson", "{\"nRows\":1,", "not valid JSON"},
        Hostile{"NotAnObject", "[1,2]", "expected a JSON object"},
        Hostile{"NoCounts", "{}", "nRows: missing"},
        Hostile{"NegativeCount", R"({"nRows":-1,"nCols":1})", "nRows: negative"},
        Hostile{"CountTooBig", R"({"nRows":1e40,"nCols":1})", "nRows: expected an integer"},
        Hostile{"CountBeyondInt", R"({"nRows":1,"nCols":4294967296})", "nCols: out of range"},
        Hostile{"TextNotString", R"({"nRows":1,"nCols":1,"Cells":[[{"strText":5}]]})", "Cells[0][0].strText"},
        Hostile{"BadSpan", R"({"nRows":2,"nCols":2,"MergeRows":[[0,1]]})", "MergeRows[0]"},
        Hostile{"ReversedSpan", R"({"nRows":2,"nCols":2,"MergeCols":[[0,1,0]]})", "not a span"},
        Hostile{"ManySpans", R"({"nRows":1,"nCols":2,"MergeRows":[[0,0,1],[0,0,1],[0,0,1]]})", "more spans"},
        Hostile{"UnknownPrimitive", R"({"nRows":1,"nCols":1,"Cells":[[{"picture":[{"JSpline":[1]}]}]]})",
                "JSpline"},
        Hostile{"ShortLine", R"({"nRows":1,"nCols":1,"Cells":[[{"picture":[{"JLine":[1,2,3]}]}]]})",
                "wrong number count"},
        Hostile{"DeepNesting", std::string(100000, '[') + std::string(100000, ']'), "nests too deeply"},
        Hostile{"TooLarge", std::string((64 << 20) + 1, ' '), "larger than"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TableClipboardJson, UnknownMembersAreSkippedAndMissingOnesAreFresh) {
  TableData out;
  std::string why;
  ASSERT_TRUE(TableFromClipboardJson(
      R"({"from":{"app":["x",{"y":null}]},"Cells":[[{"future":{"a":[1,2]},"strText":"a","more":[[]]},{}]],
          "nCols":2,"nRows":1,"flag":true})",
      {}, out, why))
      << why;
  EXPECT_EQ(out.nRows, 1);
  ASSERT_EQ(out.rows.size(), 1u);
  ASSERT_EQ(out.rows[0].cells.size(), 2u);
  EXPECT_EQ(out.rows[0].cells[0].strText, "a");
  EXPECT_EQ(out.rows[0].cells[1], TableCell{});
}

TEST(TableClipboardJson, AHugeDeclaredSizeBuildsOnlyWhatIsKept) {
  TableData out;
  std::string why;
  ASSERT_TRUE(TableFromClipboardJson(R"({"nRows":2000000000,"nCols":2000000000,"Cells":[[{"strText":"a"}]]})",
                                     {3, 3}, out, why))
      << why;
  EXPECT_EQ(out.nRows, 3);
  EXPECT_EQ(out.nCols, 3);
  EXPECT_EQ(out.rows.size(), 1u);
}

}  // namespace
}  // namespace vex
