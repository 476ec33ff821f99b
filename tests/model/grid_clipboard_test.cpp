#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <string>

#include "model/grid_table_clipboard.h"
#include "model/grid_text_clipboard.h"

namespace vex {
namespace {

GridModel Grid(int rows, int cols) {
  GridModel g;
  g.SetDefaultSizes(20, 50);
  g.SetRowCount(rows + 1);
  g.SetColumnCount(cols + 1);
  g.SetFixedRowCount(1);
  g.SetFixedColumnCount(1);
  return g;
}

// The texts of rows r0..r1, columns c0..c1 as "a b|c d".
std::string Texts(const GridModel& g, int r0, int c0, int r1, int c1) {
  std::string s;
  for (int r = r0; r <= r1; ++r) {
    if (r > r0) s += '|';
    for (int c = c0; c <= c1; ++c) s += (c > c0 ? " " : "") + g.Text(r, c);
  }
  return s;
}

TEST(SelectionText, TabsBetweenFieldsLineFeedsBetweenRows) {
  GridModel g = Grid(3, 3);
  g.SetText(1, 1, "a");
  g.SetText(1, 2, "b");
  g.SetText(2, 1, "c");
  g.SetText(2, 2, "d");
  g.Select({1, 1, 2, 2});
  EXPECT_EQ(SelectionText(g, {1, 1, 2, 2}), "a\tb\nc\td");
  g.Select({1, 2, 1, 2}, false);  // an unselected cell gives an empty field
  EXPECT_EQ(SelectionText(g, {1, 1, 2, 2}), "a\t\nc\td");
  g.SetColumnWidth(2, 0);  // hidden columns and rows are skipped
  g.SetRowHeight(1, 0);
  EXPECT_EQ(SelectionText(g, {1, 1, 2, 2}), "c");
}

struct PasteCase {
  const char* name;
  std::string text;
  const char* expected;  // rows 1..2, columns 1..3 after pasting at (1, 1)
};

// Test names and failure messages show the case by its name.
void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

class PasteTextTest : public testing::TestWithParam<PasteCase> {};

TEST_P(PasteTextTest, FillsCellsFromTheFocus) {
  GridModel g = Grid(2, 3);
  for (int r = 1; r <= 2; ++r)
    for (int c = 1; c <= 3; ++c) g.SetText(r, c, "x");
  PasteText(g, {1, 1}, GetParam().text, nullptr);
  EXPECT_EQ(Texts(g, 1, 1, 2, 3), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PasteTextTest,
    testing::Values(PasteCase{"CommaAndTab", "1,2\t3", "1 2 3|x x x"},
                    PasteCase{"TwoLinesTrimmed", " a \t b\n c", "a b x|c x x"},
                    PasteCase{"StopsAtTheZeroByte", std::string("a\tb\0c\td", 7), "a b x|x x x"},
                    PasteCase{"WindowsLineEnds", "a\r\nb\r\n", "a x x|b x x"},
                    PasteCase{"EmptyFieldsClear", "\t,", "  |x x x"},
                    PasteCase{"LongLinesAreCut", "1,2,3,4,5,6\n7,8,9,10", "1 2 3|7 8 9"},
                    PasteCase{"LinesBeyondTheGridAreDropped", "1\n2\n3\n4", "1 x x|2 x x"},
                    PasteCase{"EmptyTextDoesNothing", "", "x x x|x x x"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PasteText, SkipsHiddenRowsAndColumnsAndAsksBeforeStoring) {
  GridModel g = Grid(3, 3);
  g.SetRowHeight(2, 0);
  g.SetColumnWidth(2, 0);
  std::vector<std::pair<int, int>> asked;
  const auto pasted = PasteText(g, {1, 1}, "a,b\nc,d", [&](int r, int c, const std::string& t) {
    asked.emplace_back(r, c);
    return t != "d";  // the receiver vetoes one field
  });
  EXPECT_EQ(Texts(g, 1, 1, 3, 3), "a  b|  |c  ");
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 1}, {1, 3}, {3, 1}, {3, 3}}));
  EXPECT_EQ(pasted, (CellRange{1, 1, 3, 3}));
  EXPECT_TRUE(g.IsModified(1, 1));
  EXPECT_FALSE(g.IsModified(3, 3));
}

TEST(PasteText, HugeTextChangesNothingBeyondTheGrid) {
  GridModel g = Grid(2, 2);
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "field,another\tthird,0123456789\n";  // ~6 MB
  text += std::string(4 << 20, 'y');  // and one 4 MB line
  const CellRange pasted = PasteText(g, {2, 2}, text, nullptr);
  EXPECT_EQ(pasted, (CellRange{2, 2, 2, 2}));
  EXPECT_EQ(Texts(g, 1, 1, 2, 2), " | field");
  EXPECT_EQ(PasteText(g, {0, 1}, "x", nullptr), CellRange{});  // the focus is a header
}

TEST(TableClipboard, GridToTableCarriesMergesAlignmentHeightsAndPictures) {
  GridModel g = Grid(4, 4);
  g.Merge({2, 2, 3, 4});  // owner inside the range, cut to it
  g.Merge({1, 1, 1, 2});
  g.SetText(2, 2, "block");
  g.SetFormat(2, 2, 6);  // right, middle
  g.SetFontHeight(2, 2, 25);
  g.SetKind(1, 3, kImageCell);
  CellImage p;
  p.dScael = 0.5;
  p.sBlockName = "VexTable0";
  p.images.Append(std::make_unique<JCircle>(Point2d{1, 1}, 1));
  g.SetPicture(1, 3, p);

  const TableData t = GridToTable(g, {2, 2, 3, 3});
  EXPECT_EQ(t.nRows, 2);
  EXPECT_EQ(t.nCols, 2);
  EXPECT_EQ(t.RowHeights, (std::vector<double>{4, 4}));
  EXPECT_EQ(t.MergeRows, (std::vector<MergeSpan>{{0, 0, 1}, {1, 0, 1}}));
  EXPECT_EQ(t.MergeCols, (std::vector<MergeSpan>{{0, 0, 1}, {1, 0, 1}}));
  const TableCell c = t.GetCell(0, 0);
  EXPECT_EQ(c.strText, "block");
  EXPECT_EQ(std::pair(c.HorzMode, c.VertMode), std::pair(2, 1));
  EXPECT_DOUBLE_EQ(c.dHeight, 5.0);

  const TableData whole = GridToTable(g, {-1, 0, 9, 4});  // corners outside become 1
  EXPECT_EQ(whole.nRows, 1);
  EXPECT_EQ(whole.nCols, 4);
  const TableCell img = whole.GetCell(0, 2);
  EXPECT_EQ(img.nType, kImageCell);
  EXPECT_EQ(img.dScael, 0.5);
  EXPECT_EQ(img.sBlockName, "VexTable0");
  EXPECT_EQ(img.picture.size(), 1u);
  EXPECT_EQ(whole.MergeRows, (std::vector<MergeSpan>{{0, 0, 1}}));
}

TEST(TableClipboard, PasteRebuildsMergesAndCellsAtTheTarget) {
  GridModel source = Grid(4, 4);
  source.Merge({1, 1, 2, 3});
  source.Merge({3, 1, 4, 1});
  source.SetText(1, 1, "head");
  source.SetFormat(1, 1, 9);
  source.SetFontHeight(1, 1, 17);  // 3.4 mm: shown rounded to 3.5 mm
  source.SetText(3, 2, "");
  const TableData t = GridToTable(source, {1, 1, 4, 3});

  GridModel g = Grid(6, 6);
  g.Merge({2, 2, 3, 3});  // unmerged by the paste
  g.SetText(3, 3, "old");
  const CellRange pasted = PasteTableIntoGrid(g, t, {2, 2}, 18);
  EXPECT_EQ(pasted, (CellRange{2, 2, 5, 4}));
  EXPECT_EQ(g.BlockOf(3, 4), (CellRange{2, 2, 3, 4}));
  EXPECT_EQ(g.BlockOf(5, 2), (CellRange{4, 2, 5, 2}));
  EXPECT_EQ(g.Blocks().size(), 2u);
  EXPECT_EQ(g.Text(2, 2), "head");
  EXPECT_EQ(g.Format(2, 2), 9);
  EXPECT_EQ(g.FontHeight(2, 2), 18);
  EXPECT_EQ(g.Format(4, 3), 5);  // empty text cell: centre/middle, the style's height
  EXPECT_EQ(g.FontHeight(4, 3), 18);
  EXPECT_EQ(g.RowHeight(2), 20);  // sizes stay
}

TEST(TableClipboard, AFragmentLargerThanTheGridIsCut) {
  TableData t;
  t.nRows = 50;
  t.nCols = 40;
  t.Normalize();
  t.SetCell(0, 0, [] { TableCell c; c.strText = "corner"; return c; }());
  t.AppendMergeRow({0, 0, 39});        // runs past the grid: cut
  t.AppendMergeCol({1, 30, 45});       // starts past the grid: dropped
  t.AppendMergeRow({2, 1 << 30, 1 << 30});  // far outside: dropped
  GridModel g = Grid(3, 3);
  EXPECT_EQ(PasteTableIntoGrid(g, t, {2, 2}, 18), (CellRange{2, 2, 3, 3}));
  EXPECT_EQ(g.Text(2, 2), "corner");
  EXPECT_EQ(g.Blocks(), (std::vector<CellRange>{{2, 2, 2, 3}}));
}

TEST(TableClipboard, FontHeightsOfPastedTexts) {
  const std::pair<double, int> cases[] = {{3.0, 15}, {3.4, 18}, {3.5, 18}, {0.2, 0}, {-1, 0}, {1e300, 32767}};
  for (auto [mm, px] : cases) EXPECT_EQ(PastedFontHeight(mm), px) << mm;
  EXPECT_EQ(FormatOfModes(2, 2), 10);
  EXPECT_EQ(FormatOfModes(3, 0), 5);
}

TEST(SelectionHtml, BlocksBecomeSpansAndTextIsEscaped) {
  GridModel g = Grid(3, 3);
  g.Merge({1, 1, 2, 2});
  g.SetText(1, 1, "a<b>&\r\nc");
  g.SetFormat(1, 1, 10);
  g.SetText(1, 3, "x");
  g.SetText(3, 3, "z");
  g.SetRowHeight(3, 0);  // hidden: left out
  g.Select({1, 1, 3, 3});
  const std::string html = SelectionHtml(g, {1, 1, 3, 3});
  EXPECT_NE(html.find("<td rowspan=\"2\" colspan=\"2\" style=\"text-align:right;vertical-align:bottom\">"
                      "a&lt;b&gt;&amp;<br>c</td><td style=\"text-align:left;vertical-align:middle\">x</td></tr>"),
            std::string::npos)
      << html;
  EXPECT_EQ(html.find("z"), std::string::npos);
  EXPECT_EQ(std::count(html.begin(), html.end(), '\n'), 4);  // <table>, two rows, </table>
}

}  // namespace
}  // namespace vex
