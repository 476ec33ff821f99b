// Plots of the drawn example table, checked against where ezdxf says its rules and texts are;
// the PDF is read back by a PDF reader.

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <sstream>

#include "cadhost/sdk/text_metrics.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using vex::test::ProgramRun;
using vex::test::RunShell;

struct Line {
  double x1, y1, x2, y2;
};
struct Text {
  double x, y, height, width, rotation;
  std::string text;
};

class ExamplePlot : public ::testing::Test {
 protected:
  void SetUp() override {
    drawing = dir.File("example_table.dxf");
    const ProgramRun draw = RunShell(std::string(VEXTABLE_CLI) + " draw '" + VEXTABLE_SOURCE_DIR +
                                     "/examples/example_table.vtf' -o '" + drawing + "' --at 0,0");
    ASSERT_EQ(draw.status, 0) << draw.out << draw.err;
    const ProgramRun dump = RunShell(std::string("/usr/bin/python3 ") + CADHOST_UI_DXF_ENTITIES +
                                     " '" + drawing + "'");
    ASSERT_EQ(dump.status, 0) << dump.err;
    std::istringstream in(dump.out);
    std::string kind;
    while (in >> kind) {
      if (kind == "LINE") {
        Line l{};
        in >> l.x1 >> l.y1 >> l.x2 >> l.y2;
        lines.push_back(l);
      } else {
        Text t{};
        in >> t.x >> t.y >> t.height >> t.width >> t.rotation;
        std::getline(in, t.text);
        t.text.erase(0, 1);
        texts.push_back(t);
      }
    }
    ASSERT_FALSE(lines.empty());
    ASSERT_FALSE(texts.empty());
    for (const Line& l : lines) {
      minX = std::min({minX, l.x1, l.x2});
      maxX = std::max({maxX, l.x1, l.x2});
      minY = std::min({minY, l.y1, l.y2});
      maxY = std::max({maxY, l.y1, l.y2});
    }
  }
  ProgramRun Plot(const std::string& out, const std::string& options) {
    return RunShell("env -u DISPLAY -u WAYLAND_DISPLAY " + std::string(CADHOST_PROGRAM) +
                    " --plot '" + out + "' " + options + " '" + drawing + "'");
  }
  // Pixel of a drawing point on a plot at 1:1, kDpi, of the frame's box: 10 mm margins.
  QPointF Pixel(double x, double y) const {
    const double s = kDpi / 25.4;
    return {(10 + x - minX) * s, (10 + maxY - y) * s};
  }
  std::string Area() const {
    std::ostringstream a;
    a << minX << "," << minY << "," << maxX << "," << maxY;
    return a.str();
  }
  static constexpr double kDpi = 200;
  vex::test::TempDir dir;
  std::string drawing;
  std::vector<Line> lines;
  std::vector<Text> texts;
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
};

bool DarkNear(const QImage& image, QPointF p, int reach = 1) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const QPoint q(static_cast<int>(std::lround(p.x())) + dx, static_cast<int>(std::lround(p.y())) + dy);
      if (image.rect().contains(q) && qGray(image.pixel(q)) < 128) return true;
    }
  return false;
}

int InkIn(const QImage& image, QRectF r) {
  int n = 0;
  const QRect area = r.toAlignedRect().intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ++n;
  return n;
}

TEST_F(ExamplePlot, PngShowsTheRulesAndTextsWhereEzdxfHasThem) {
  const std::string out = dir.File("out.png");
  const ProgramRun r = Plot(out, "--scale 1:1 --dpi 200 --area " + Area());
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  QImage image(QString::fromStdString(out));
  ASSERT_FALSE(image.isNull());
  const double s = kDpi / 25.4;
  EXPECT_NEAR(image.width(), (maxX - minX + 20) * s, 1.5);
  EXPECT_NEAR(image.height(), (maxY - minY + 20) * s, 1.5);
  for (const Line& l : lines)
    for (double t : {0.1, 0.3, 0.5, 0.7, 0.9})
      EXPECT_TRUE(DarkNear(image, Pixel(l.x1 + (l.x2 - l.x1) * t, l.y1 + (l.y2 - l.y1) * t)))
          << "rule " << l.x1 << "," << l.y1 << " " << l.x2 << "," << l.y2 << " at " << t;
  int cjk = 0;
  for (const Text& t : texts) {
    ASSERT_EQ(t.rotation, 0) << t.text;
    const std::u32string chars = cadhost::DisplayCharacters(t.text);
    double along = 0;
    for (char32_t c : chars) {
      const double w = t.height * t.width * cadhost::CharAdvanceRatio(c);
      if (c != U' ' && w > 0) {
        // Each character has ink in its own cell of the text's box (a little slack for
        // strokes that touch the cell's edge).
        const QPointF topLeft = Pixel(t.x + along, t.y + t.height);
        const QPointF bottomRight = Pixel(t.x + along + w, t.y);
        EXPECT_GT(InkIn(image, QRectF(topLeft, bottomRight).adjusted(-1, -1, 1, 1)), 3)
            << t.text << " character " << static_cast<unsigned>(c);
        if (cadhost::IsWideCharacter(c)) {
          ++cjk;
          // A glyph, not the empty box of a missing one: ink in the middle half of the cell.
          const QRectF cell(topLeft, bottomRight);
          const QRectF middle = cell.adjusted(cell.width() / 4, cell.height() / 4,
                                             -cell.width() / 4, -cell.height() / 4);
          EXPECT_GT(InkIn(image, middle), 0) << t.text;
        }
      }
      along += w;
    }
    // Nothing of the text before its start, in its row (unless a rule runs there).
    const double x0 = t.x - t.height * 0.3, x1 = t.x - t.height * 0.08;
    const bool rule = std::any_of(lines.begin(), lines.end(), [&](const Line& l) {
      return l.x1 == l.x2 && l.x1 >= x0 - 0.5 && l.x1 <= x1 + 0.5;
    });
    if (!rule) {
      EXPECT_EQ(InkIn(image, QRectF(Pixel(x0, t.y + t.height * 0.8), Pixel(x1, t.y + t.height * 0.2))), 0)
          << t.text;
    }
  }
  EXPECT_GT(cjk, 10) << "the example has Chinese texts";
}

TEST_F(ExamplePlot, PdfOpensInAPdfReaderWithItsTexts) {
  const std::string out = dir.File("out.pdf");
  const ProgramRun r = Plot(out, "--mono");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const ProgramRun info = RunShell("pdfinfo '" + out + "'");
  ASSERT_EQ(info.status, 0) << info.err;
  std::istringstream lines(info.out);
  std::string line, pages, size;
  while (std::getline(lines, line)) {
    if (line.rfind("Pages:", 0) == 0) pages = line.substr(6);
    if (line.rfind("Page size:", 0) == 0) size = line.substr(10);
  }
  EXPECT_EQ(pages.substr(pages.find_first_not_of(' ')), "1") << info.out;
  EXPECT_NE(size.find("842 x 595 pts (A4)"), std::string::npos) << "fit: A4 landscape; " << size;
  const ProgramRun text = RunShell("pdftotext '" + out + "' -");
  ASSERT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("Parts"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("零件明细表"), std::string::npos) << text.out;
}

TEST_F(ExamplePlot, BadRequestsAreRefusedWithTheirReason) {
  EXPECT_EQ(Plot(dir.File("out.svg"), "").status, 2);
  const ProgramRun scale = Plot(dir.File("out.png"), "--scale 2:3");
  EXPECT_EQ(scale.status, 2);
  EXPECT_NE(scale.err.find("--scale takes 1:N or fit"), std::string::npos);
  const ProgramRun big = Plot(dir.File("out.png"), "--scale 1:0.001");
  EXPECT_EQ(big.status, 1);
  EXPECT_NE(big.err.find("larger than 5 m"), std::string::npos) << big.err;
  const ProgramRun nowhere = Plot(dir.File("no/such/folder/out.png"), "");
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_NE(nowhere.err.find("cannot write"), std::string::npos) << nowhere.err;
  const ProgramRun missing = RunShell(std::string(CADHOST_PROGRAM) + " --plot '" +
                                      dir.File("x.png") + "' '" + dir.File("none.dxf") + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot open drawing"), std::string::npos);
}

TEST_F(ExamplePlot, ThePlotCommandOfAScriptWritesTheFile) {
  const std::string out = dir.File("scripted.png");
  const std::string script = dir.File("plot.scr");
  vex::test::WriteFile(script, "PLOT\nWindow\n" + std::to_string(minX) + "," + std::to_string(minY) +
                                   "\n" + std::to_string(maxX) + "," + std::to_string(maxY) +
                                   "\n1:2\nNo\n" + out + "\n");
  const ProgramRun r = RunShell("env -u DISPLAY -u WAYLAND_DISPLAY CADHOST_REGISTRY_DIR='" +
                                dir.File("reg") + "' " + CADHOST_PROGRAM + " --script '" + script +
                                "' '" + drawing + "'");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("Plot written to " + out), std::string::npos) << r.out;
  QImage image(QString::fromStdString(out));
  ASSERT_FALSE(image.isNull());
  const double s = 150 / 25.4;
  EXPECT_NEAR(image.width(), ((maxX - minX) / 2 + 20) * s, 1.5);
}

}  // namespace
