#include "files/table_init.h"

#include <gtest/gtest.h>

#include "files/header_library.h"
#include "support/install_dir.h"
#include "support/tables.h"

namespace vex {
namespace {

TableHeader Header(int rows, int cols, int type) {
  TableHeader h;
  static_cast<TableData&>(h) = test::NamedTable(rows, cols, 12, 30);
  h.RowHeights = {12, 14, 16};
  h.RowHeights.resize(static_cast<std::size_t>(rows), 12);
  h.TitleName = "H";
  h.TitleROrC = type;
  return h;
}

TEST(TableInit, BlankDefaultsAndBounds) {
  TableInit init;
  EXPECT_EQ(init.Get(SizeField::kRows), 6);
  EXPECT_EQ(init.Get(SizeField::kColWidth), 20);
  for (SizeField f : {SizeField::kRows, SizeField::kCols, SizeField::kRowHeight, SizeField::kColWidth}) {
    EXPECT_TRUE(init.Enabled(f));
    init.Set(f, -3);
    EXPECT_EQ(init.Get(f), 1);
    init.Spin(f, -1);
    EXPECT_EQ(init.Get(f), 1);
    init.Spin(f, +1);
    EXPECT_EQ(init.Get(f), 2);
  }
  const TableData t = init.Table();
  EXPECT_EQ(t.nRows, 2);
  EXPECT_EQ(t.RowHeights, (std::vector<double>{2, 2}));
  EXPECT_EQ(t.GetCell(1, 1), TableCell::Default());
}

TEST(TableInit, VerticalHeaderFixesTheColumnsAndGrowsDownwards) {
  test::InstallDir install;
  ASSERT_TRUE(install.Language().StartLanguage(""));
  TableInit init;
  init.ChooseHeader(Header(3, 4, kVerticalHeader));
  EXPECT_FALSE(init.Enabled(SizeField::kCols));
  EXPECT_FALSE(init.Enabled(SizeField::kColWidth));
  EXPECT_TRUE(init.Enabled(SizeField::kRows));
  EXPECT_EQ(init.Get(SizeField::kCols), 4);
  EXPECT_EQ(init.Minimum(SizeField::kRows), 3);
  EXPECT_EQ(init.InfoLine(install.Language()), " 3 rows, 4 columns, Vertical Table");
  init.Set(SizeField::kRows, 2);
  EXPECT_EQ(init.Get(SizeField::kRows), 3);  // never smaller than the header
  init.Set(SizeField::kCols, 9);
  EXPECT_EQ(init.Get(SizeField::kCols), 4);
  init.Spin(SizeField::kCols, +1);
  EXPECT_EQ(init.Get(SizeField::kCols), 4);

  init.Set(SizeField::kRows, 6);
  init.Set(SizeField::kRowHeight, 8);
  const TableData t = init.Table();
  ASSERT_EQ(t.nRows, 6);
  EXPECT_EQ(t.RowHeights, (std::vector<double>{12, 14, 16, 8, 8, 8}));
  EXPECT_EQ(t.ColWidths, (std::vector<double>{30, 30, 30, 30}));
  EXPECT_EQ(t.GetCell(2, 3).strText, "r2c3");
  EXPECT_EQ(t.GetCell(4, 0), TableCell::Default());
}

TEST(TableInit, HorizontalAndFullHeaders) {
  TableInit h;
  h.ChooseHeader(Header(2, 3, kHorizontalHeader));
  h.Set(SizeField::kCols, 5);
  h.Set(SizeField::kColWidth, 11);
  h.Set(SizeField::kRows, 7);
  const TableData t = h.Table();
  EXPECT_EQ(t.nRows, 2);
  EXPECT_EQ(t.ColWidths, (std::vector<double>{30, 30, 30, 11, 11}));

  TableInit full;
  full.ChooseHeader(Header(2, 2, kFullHeader));
  for (SizeField f : {SizeField::kRows, SizeField::kCols, SizeField::kRowHeight, SizeField::kColWidth})
    EXPECT_FALSE(full.Enabled(f));
  full.Set(SizeField::kRows, 9);
  EXPECT_EQ(full.Table().nRows, 2);

  full.ChooseBlank();
  EXPECT_TRUE(full.Enabled(SizeField::kRows));
  EXPECT_EQ(full.Minimum(SizeField::kRows), 1);
}

}  // namespace
}  // namespace vex
