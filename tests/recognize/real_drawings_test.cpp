// Tables as drafters really draw them (tests/data/recognize/make_real_drawings.py wrote the
// drawings with ezdxf): read from model space or a layout, all of it or through a window.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "cadhost/host/host_control.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "recognize/table_recognizer.h"

namespace vex {
namespace {

struct DrawingCase {
  const char* name;
  const char* file;
  const char* layout;
  std::optional<AcDbExtents> window;
  int rows, cols;
  double rowHeight, colWidth;
  std::vector<std::vector<std::string>> texts;  // row by row
  std::vector<std::string> said;                // in what the read printed
  bool frameMatches = true;
};

AcDbExtents Box(double x1, double y1, double x2, double y2) {
  return AcDbExtents(AcGePoint3d(std::min(x1, x2), std::min(y1, y2), -1), AcGePoint3d(std::max(x1, x2), std::max(y1, y2), 1));
}

class RealDrawing : public ::testing::TestWithParam<DrawingCase> {
 protected:
  void SetUp() override { acdbHostApplicationServices()->setWorkingDatabase(&db_); }
  void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }

  AcDbDatabase db_{false};
  ImageStore store_;
  RecordingSink messages_;
};

TEST_P(RealDrawing, ReadsAsDrawn) {
  const DrawingCase& c = GetParam();
  const std::string path = std::string(VEXTABLE_TEST_DATA) + "/recognize/" + c.file;
  ASSERT_EQ(db_.readDwgFile(path.c_str()), Acad::eOk) << db_.lastFileReport().message;
  AcDbObjectId space;
  ASSERT_EQ(db_.getLayoutBlockId(c.layout, space), Acad::eOk);
  AcDbObjectIdArray all, selection;
  {
    AcDbObjectPointer<AcDbBlockTableRecord> block(space, AcDb::kForRead);
    for (AcDbObjectId id : block->entityIds()) all.append(id);
  }
  SelectionWindow window;
  if (c.window) {
    window.box = *c.window;
    for (AcDbObjectId id : all) {
      AcDbEntityPointer e(id, AcDb::kForRead);
      AcDbExtents ext;
      if (e->getGeomExtents(ext) != Acad::eOk) continue;
      const bool inside = ext.minPoint().x >= c.window->minPoint().x && ext.maxPoint().x <= c.window->maxPoint().x &&
                          ext.minPoint().y >= c.window->minPoint().y && ext.maxPoint().y <= c.window->maxPoint().y;
      if (inside) selection.append(id);
      else window.crossing.append(id);
    }
  } else {
    selection = all;
  }
  auto read = RecognizeTable(selection, db_, Settings{}, store_, messages_, c.window ? &window : nullptr);
  ASSERT_TRUE(read) << read.result().Describe() << "\n" << messages_.Text();
  const TableData& t = read->table;
  ASSERT_EQ(t.nRows, c.rows);
  ASSERT_EQ(t.nCols, c.cols);
  for (double h : t.RowHeights) EXPECT_NEAR(h, c.rowHeight, 1e-9);
  for (double w : t.ColWidths) EXPECT_NEAR(w, c.colWidth, 1e-9);
  for (int i = 0; i < static_cast<int>(c.texts.size()); ++i)
    for (int j = 0; j < static_cast<int>(c.texts[static_cast<std::size_t>(i)].size()); ++j)
      EXPECT_EQ(t.GetCell(i, j).strText, c.texts[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)])
          << "cell " << i << "," << j;
  for (const std::string& s : c.said) EXPECT_NE(messages_.Text().find(s), std::string::npos) << s << "\n" << messages_.Text();
  if (c.said.empty()) {
    EXPECT_EQ(messages_.Text(), "") << "a clean read says nothing";
  }
  EXPECT_EQ(read->frameMatchesSelection, c.frameMatches);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RealDrawing,
    ::testing::Values(
        DrawingCase{"multiline_text", "mtext_table.dxf", "Model", std::nullopt, 2, 2, 12, 40,
                    {{"Bold size", "1/2 inch x"}, {"Line one\r\nLine two", "alpha beta\r\ngamma"}}, {}},
        DrawingCase{"nested_scaled_block_with_attributes", "block_table.dxf", "Model", std::nullopt, 2, 3, 20, 60,
                    {{"A", "B", "C"}, {"x1", "x2", "x3"}}, {}},
        DrawingCase{"block_turned_back_upright", "turned_block.dxf", "Model", std::nullopt, 1, 3, 10, 30,
                    {{"one", "two", "three"}}, {}},
        DrawingCase{"mirrored_block", "mirrored_block.dxf", "Model", std::nullopt, 1, 3, 10, 30,
                    {{"left", "mid", "right"}}, {}},
        DrawingCase{"polyline_frame_and_picture", "polyline_frame.dxf", "Model", std::nullopt, 2, 3, 10, 30,
                    {{"a", "b", "c"}, {"d", "", ""}}, {"\nEdit on row 2, column 3 cell image..."}},
        DrawingCase{"other_programs_table", "acad_table.dxf", "Model", std::nullopt, 2, 2, 10, 30,
                    {{"r0c0", "r0c1"}, {"r1c0", "r1c1"}}, {}},
        DrawingCase{"model_space_of_a_drawing_with_layouts", "paper_layout.dxf", "Model", std::nullopt, 1, 1, 10, 30,
                    {{"model"}}, {}},
        DrawingCase{"paper_space_layout", "paper_layout.dxf", "Sheet A", std::nullopt, 2, 2, 10, 30,
                    {{"p00", "p01"}, {"p10", "p11"}}, {}},
        DrawingCase{"stray_geometry_left_out", "stray_geometry.dxf", "Model", std::nullopt, 2, 2, 10, 30,
                    {{"left right", "M12 x 40"}, {"", "under"}},
                    {"covers only part of the selection: 8 entities outside it left out",
                     "\n2 lines that end loose on the table's rules"}},
        DrawingCase{"window_cutting_a_sheet_frame_apart", "stray_geometry.dxf", "Model", Box(-60, -50, 150, 60), 2,
                    2, 10, 30, {{"left right", "M12 x 40"}, {"", "under"}},
                    {"4 entities outside it", "2 lines that end loose"}},
        DrawingCase{"sheet_frame_lines_as_borders", "sheet_corner.dxf", "Model", Box(135, -125, 205, -155), 2, 2, 10,
                    30, {{"s00", "s01"}, {"s10", "s11"}}, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vex
