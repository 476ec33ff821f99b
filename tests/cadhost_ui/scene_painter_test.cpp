// Drawing primitives with QPainter: texts placed by the host's text model with real glyphs,
// small texts as lines, colours on their background.

#include "cadhost/ui/scene_painter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "cadhost/sdk/text_metrics.h"

namespace cadhost::ui {
namespace {

// Bounding box of the pixels darker than `level`, empty when none.
QRect Ink(const QImage& image, const QRect& area, int level = 128) {
  QRect box;
  const QRect r = area.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (qGray(image.pixel(x, y)) < level) box = box.united(QRect(x, y, 1, 1));
  return box;
}

PaintStyle Paper() {
  PaintStyle s;
  s.background = Qt::white;
  s.foreground = Qt::black;
  return s;
}

QImage Draw(const TextPrim& t, double pixelsPerUnit, const PaintStyle& style = Paper()) {
  QImage image(600, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  ScenePainter painter;
  // The drawing point (0, 0) at pixel (20, 150), y up.
  painter.DrawText(p, t, Affine{pixelsPerUnit, 0, 0, -pixelsPerUnit, 20, 150}, style, false);
  return image;
}

TextPrim Text(const std::u32string& chars, double height = 10, double widthFactor = 1) {
  TextPrim t;
  t.chars = chars;
  t.height = height;
  t.widthFactor = widthFactor;
  double ratio = 0;
  for (char32_t c : chars) ratio += CharAdvanceRatio(c);
  t.advance = height * widthFactor * ratio;
  return t;
}

TEST(ScenePainter, TheFontsHaveGlyphsForChineseAndTheTablesSymbols) {
  ScenePainter painter;
  for (char32_t c : std::u32string(U"零件明细表名称注意装配前清洁六角螺栓°±∅Aa1"))
    EXPECT_TRUE(painter.HasGlyph(c)) << std::hex << static_cast<unsigned>(c);
}

TEST(ScenePainter, GlyphsFillTheTextsBoxFromBaselineToHeight) {
  // Five narrow characters of height 10 at 4 pixels a unit: 100 pixels wide, 40 high.
  const QImage image = Draw(Text(U"HHHHH"), 4);
  const QRect ink = Ink(image, image.rect());
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(ink.bottom(), 150, 2) << "on the baseline";
  EXPECT_NEAR(ink.top(), 150 - 40, 3) << "capitals reach the height";
  EXPECT_GE(ink.left(), 20);
  EXPECT_LE(ink.right(), 20 + 100);
  EXPECT_GT(ink.width(), 80) << "the model's advance, not the font's";
}

TEST(ScenePainter, WideCharactersTakeTwiceTheAdvanceAndHaveInkInside) {
  const QImage image = Draw(Text(U"表H"), 4);
  // 表 runs 0..40 pixels, H 40..60.
  const QRect wide = Ink(image, QRect(20, 100, 40, 60));
  const QRect narrow = Ink(image, QRect(61, 100, 19, 60));
  ASSERT_FALSE(wide.isEmpty());
  ASSERT_FALSE(narrow.isEmpty());
  EXPECT_GT(wide.width(), 30);
  EXPECT_GT(wide.height(), 30);
  // A missing glyph would be an empty box: a real one has strokes inside its middle.
  EXPECT_FALSE(Ink(image, QRect(wide.left() + wide.width() / 4, wide.top() + wide.height() / 4,
                                wide.width() / 2, wide.height() / 2)).isEmpty());
  EXPECT_TRUE(Ink(image, QRect(81, 0, 500, 200)).isEmpty()) << "nothing past the advance";
}

TEST(ScenePainter, ARotatedTextFollowsItsDirection) {
  TextPrim t = Text(U"HHHH");
  t.u = {0, 1};  // up the page
  t.v = {-1, 0};
  const QImage image = Draw(t, 2);
  const QRect ink = Ink(image, image.rect());
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GT(ink.height(), ink.width()) << "runs upward";
  EXPECT_LE(ink.right(), 21);
}

TEST(ScenePainter, SmallTextIsALineAndTinyTextNothing) {
  const QImage small = Draw(Text(U"HHHHHHHH"), 0.25);  // 2.5 pixels high, 10 wide
  const QRect line = Ink(small, small.rect());
  ASSERT_FALSE(line.isEmpty());
  EXPECT_LE(line.height(), 2);
  EXPECT_GE(line.width(), 8);
  const QImage tiny = Draw(Text(U"HHHHHHHH"), 0.05);
  EXPECT_TRUE(Ink(tiny, tiny.rect()).isEmpty());
}

TEST(ScenePainter, ColoursStayVisibleOnTheirBackground) {
  EXPECT_EQ(Visible(QColor(255, 0, 0), Qt::white), QColor(255, 0, 0));
  EXPECT_NE(Visible(QColor(255, 255, 0), Qt::white), QColor(255, 255, 0)) << "yellow on paper";
  EXPECT_NE(Visible(QColor(0, 0, 40), QColor(33, 40, 48)), QColor(0, 0, 40)) << "dark on the screen";
}

TEST(ScenePainter, ForegroundAndMonochrome) {
  TextPrim red = Text(U"HH");
  red.colour = Colour::Rgb(0xFF0000);
  PaintStyle mono = Paper();
  mono.monochrome = true;
  const QImage image = Draw(red, 4, mono);
  const QRect ink = Ink(image, image.rect());
  ASSERT_FALSE(ink.isEmpty());
  const QColor c = image.pixelColor(ink.center().x(), ink.bottom() - 2);
  bool anyRed = false;
  for (int y = ink.top(); y <= ink.bottom(); ++y)
    for (int x = ink.left(); x <= ink.right(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (p.red() > p.green() + 60) anyRed = true;
    }
  EXPECT_FALSE(anyRed) << "monochrome draws black";
  (void)c;
}

}  // namespace
}  // namespace cadhost::ui
