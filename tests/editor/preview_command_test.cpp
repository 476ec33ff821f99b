// vextable preview: a table rendered to a PNG as the editor's grid shows it.

#include <gtest/gtest.h>

#include <ostream>

#include <QImage>

#include <cstdio>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace vex::test {
namespace {

// 3 rows of 10 mm, 4 columns of 20 mm; rows 0..1 x columns 0..2 merged holding "M" centred;
// cell (2, 3) holds three lines.
constexpr const char* kTable = R"({"nRows":3,"nCols":4,"RowHeights":[10],"ColWidths":[20],
  "MergeRows":[[0,0,2],[1,0,2]],"MergeCols":[[0,0,1],[1,0,1],[2,0,1]],
  "Cells":[[{"strText":"M","HorzMode":1,"VertMode":1,"dHeight":3}],[],
           [{},{},{},{"strText":"a\r\nb\r\nc","HorzMode":1,"VertMode":1,"dHeight":2.5}]]})";

QRect DarkPixels(const QImage& image, const QRect& area) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(image.pixel(x, y)) < 110) box = box.united(QRect(x, y, 1, 1));
  return box;
}

TEST(PreviewCommand, RendersTheTableWithHeadersAndMergedBlocks) {
  TempDir dir;
  WriteFile(dir.File("t.json"), kTable);
  const ProgramRun run = RunCli("preview " + dir.File("t.json") + " -o " + dir.File("t.png") + " --zoom 2");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Wrote a"), std::string::npos);
  const QImage image = QImage(QString::fromStdString(dir.File("t.png"))).convertToFormat(QImage::Format_RGB32);
  // Header column trunc(2 x 5 x 6) = 60, columns 200; header row round(2 x 5 x 3.5) + 2 = 37,
  // rows 100.
  ASSERT_EQ(image.size(), QSize(60 + 4 * 200, 37 + 3 * 100));
  const QRect block(60, 37, 600, 200);
  EXPECT_EQ(image.pixel(259, 60), qRgb(255, 255, 255));  // no inner column line
  EXPECT_EQ(image.pixel(100, 136), qRgb(255, 255, 255));  // no inner row line
  EXPECT_EQ(image.pixel(259, 300), qRgb(0xC0, 0xC0, 0xC0));  // below the block the line is there
  const QRect m = DarkPixels(image, block.adjusted(1, 1, -2, -2));
  ASSERT_FALSE(m.isEmpty());
  EXPECT_LE(std::abs(m.center().x() - block.center().x()), 1);
  EXPECT_LE(std::abs(m.center().y() - block.center().y()), 2);
  const QRect lines = DarkPixels(image, QRect(661, 238, 198, 98));
  EXPECT_LE(std::abs(lines.center().y() - 287), 3);
  EXPECT_GT(lines.height(), 50);  // three lines of 25 pixels
}

struct BadRun {
  const char* name;
  std::string args;  // after the table path
  int status;
  const char* message;
};

// Test names and failure messages show the case by its name.
void PrintTo(const BadRun& c, std::ostream* os) { *os << c.name; }

class PreviewErrors : public testing::TestWithParam<BadRun> {};

TEST_P(PreviewErrors, AreReported) {
  TempDir dir;
  WriteFile(dir.File("t.json"), kTable);
  const ProgramRun run = RunCli("preview " + dir.File("t.json") + " " + GetParam().args);
  EXPECT_EQ(run.status, GetParam().status);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewErrors,
    testing::Values(BadRun{"NoOutput", "", 2, "-o OUT.png is required"},
                    BadRun{"BadZoom", "-o x.png --zoom fast", 2, "--zoom takes a number"},
                    BadRun{"TooLarge", "-o x.png --zoom 64", 1, "choose a smaller --zoom"},
                    BadRun{"Unwritable", "-o /nonexistent/dir/x.png", 1, "cannot write"}),
    [](const auto& info) { return std::string(info.param.name); });

// The example table's pictures come from its companion drawing: without the drawing the same
// preview differs only inside the picture cells of the last column.
TEST(PreviewCommand, PicturesOfATableFileAreDrawnInTheirCells) {
  TempDir dir;
  const std::string examples = std::string(VEXTABLE_SOURCE_DIR) + "/examples/";
  for (const char* f : {"example_table.vtf", "example_table.vtf.dxf", "VexTable.ini"})
    WriteFile(dir.File(f), ReadFile(examples + f));
  const std::string args = "preview " + dir.File("example_table.vtf") + " --ini " + dir.File("VexTable.ini") + " -o ";
  ASSERT_EQ(RunCli(args + dir.File("with.png")).status, 0);
  std::remove(dir.File("example_table.vtf.dxf").c_str());
  ASSERT_EQ(RunCli(args + dir.File("without.png")).status, 0);
  const QImage with(QString::fromStdString(dir.File("with.png")));
  const QImage without(QString::fromStdString(dir.File("without.png")));
  ASSERT_EQ(with.size(), without.size());
  QRect changed;
  int count = 0;
  for (int y = 0; y < with.height(); ++y)
    for (int x = 0; x < with.width(); ++x)
      if (with.pixel(x, y) != without.pixel(x, y)) {
        changed = changed.united(QRect(x, y, 1, 1));
        ++count;
      }
  EXPECT_GT(count, 100);
  EXPECT_GT(changed.left(), with.width() * 2 / 3);
}

TEST(PreviewCommand, AMissingTableIsReported) {
  const ProgramRun run = RunCli("preview /nonexistent.vtf -o /tmp/x.png");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("does not exist"), std::string::npos);
}

}  // namespace
}  // namespace vex::test
