// Where the editor inserts rows and columns: beside the selection with the selected sizes, and
// what a header of each type needs.

#include <gtest/gtest.h>

#include "model/editor_commands.h"
#include "model/line_insert.h"

namespace vex {
namespace {

TEST(PlanLineInsert, AboveTakesTheSelectedRowsPlaces) {
  // Rows 3..4 selected: two new rows at 3 and 4 with the heights of the old rows 3 and 4.
  EXPECT_EQ(PlanLineInsert(3, 4, false, {30, 40}), (std::vector<LineInsert>{{3, 30}, {4, 40}}));
}

TEST(PlanLineInsert, BelowFollowsTheSelection) {
  EXPECT_EQ(PlanLineInsert(3, 4, true, {30, 40}), (std::vector<LineInsert>{{5, 30}, {6, 40}}));
}

TEST(PlanLineInsert, ASelectionFromTheHeaderStartsAtTheFirstRow) {
  EXPECT_EQ(PlanLineInsert(0, 2, false, {11, 12}), (std::vector<LineInsert>{{1, 11}, {2, 12}}));
  EXPECT_EQ(PlanLineInsert(-1, 1, true, {9}), (std::vector<LineInsert>{{2, 9}}));
}

TEST(PlanLineInsert, NothingForNothing) {
  EXPECT_TRUE(PlanLineInsert(4, 3, false, {1, 2}).empty());
  EXPECT_TRUE(PlanLineInsert(1, 3, false, {1, 2}).empty());  // sizes missing
  EXPECT_TRUE(PlanLineInsert(0, 0, false, {}).empty());     // the header alone
}

struct PlaceCase {
  const char* name;
  int type;
  int row, col, gridRows, gridCols, headerRows, headerCols;
  HeaderPlacement expected;
};

class PlaceHeaderTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceHeaderTest, ByType) {
  const PlaceCase& c = GetParam();
  EXPECT_EQ(PlaceHeader(c.type, c.row, c.col, c.gridRows, c.gridCols, c.headerRows, c.headerCols), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceHeaderTest,
    testing::Values(
        // Vertical header: its rows are inserted; columns appended up to col + header columns.
        PlaceCase{"VerticalWidens", 0, 2, 3, 7, 5, 2, 4, {2, 3, 2, 0, 0, 2}},
        PlaceCase{"VerticalWideEnough", 0, 2, 1, 7, 9, 2, 4, {2, 1, 2, 0, 0, 0}},
        // Horizontal header into a grid already large enough appends no rows.
        PlaceCase{"HorizontalLargeEnough", 1, 1, 2, 9, 5, 3, 2, {1, 2, 0, 0, 2, 0}},
        PlaceCase{"HorizontalLengthens", 1, 5, 2, 6, 5, 3, 2, {5, 2, 0, 2, 2, 0}},
        PlaceCase{"Full", 2, 2, 2, 5, 5, 3, 4, {2, 2, 3, 0, 4, 0}},
        PlaceCase{"Blank", -1, 0, 0, 5, 5, 2, 2, {1, 1, 2, 0, 2, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditorCommands, ContentsOnlyToolbars) {
  using namespace editor_cmd;
  const std::vector<int> full = FileToolbar(true), contents = FileToolbar(false);
  for (int id : {kTbExcelImport, kTbInsertHeader, kTbFlipH, kTbFlipV}) {
    EXPECT_NE(std::find(full.begin(), full.end(), id), full.end()) << id;
    EXPECT_EQ(std::find(contents.begin(), contents.end(), id), contents.end()) << id;
  }
  const std::vector<int> format = FormatToolbar(false);
  for (int id : {kTbMerge, kTbUnmerge, kTbRowHeight, kTbColWidth, kTbLoadAutosave})
    EXPECT_EQ(std::find(format.begin(), format.end(), id), format.end()) << id;
  EXPECT_EQ(format.back(), kTbFullEditing);
  const std::vector<int> fullFormat = FormatToolbar(true);
  EXPECT_EQ(std::find(fullFormat.begin(), fullFormat.end(), kTbFullEditing), fullFormat.end());
  for (int id : {kDeleteRows, kColsRight, kRowHeight, kTbRowHeight, kOpen, kTbOpen, kFlipV, kTbFlipH, kNew})
    EXPECT_TRUE(GreyedInContentsOnly(id)) << id;
  for (int id : {kSave, kCut, kUndo, kTbMerge, kDeleteImage}) EXPECT_FALSE(GreyedInContentsOnly(id)) << id;
}

TEST(EditorCommands, OfferedWhereTheyWork) {
  using namespace editor_cmd;
  EXPECT_TRUE(Offered(kTbSelectImage, true));
  EXPECT_FALSE(Offered(kTbSelectImage, false));  // no drawing without a host
  EXPECT_FALSE(Offered(kEditDrawn, false));
  EXPECT_TRUE(Offered(kOpen, false));
  // The header library's commands, the settings windows, the update check, about, the web
  // links (the header exchange's too) and Excel work with or without a host (Excel as the host's
  // commands inside one, the editor's own outside).
  for (int id : {kNew, kHeaderWeb, kTbNew, kInsertHeader, kTbSaveHeader, kHeaderManager, kReplacementList,
                 kTbReplacementList, kSupport, kUpdate, kWebHome, kWebForum, kWebMail, kAbout, kTbAbout, kTbExcelImport,
                 kExcelImport, kTbExcelExport, kExcelExport}) {
    EXPECT_TRUE(Offered(id, true)) << id;
    EXPECT_TRUE(Offered(id, false)) << id;
  }
  // No separator first, last or doubled when a group is left out.
  const std::vector<int> bar = OfferedEntries(FileToolbar(true), &Offered, false);
  ASSERT_FALSE(bar.empty());
  EXPECT_NE(bar.front(), kSeparator);
  EXPECT_NE(bar.back(), kSeparator);
  for (std::size_t i = 1; i < bar.size(); ++i) EXPECT_FALSE(bar[i] == kSeparator && bar[i - 1] == kSeparator) << i;
  EXPECT_EQ(bar, (std::vector<int>{kTbNew, kTbOpen, kTbSave, kSeparator, kTbExcelImport, kTbExcelExport, kSeparator,
                                   kTbInsertHeader, kTbSaveHeader, kTbHeaderManager, kSeparator, kTbText, kTbPicture,
                                   kSeparator, kTbDeleteImage, kSeparator, kTbZoom, kSeparator, kTbFlipH, kTbFlipV,
                                   kSeparator, kTbAbout}));
}

}  // namespace
}  // namespace vex
