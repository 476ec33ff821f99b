// The shape fonts in support/ (and the host's own, in the same form) are well-formed shape
// sources: every shape has the bytes it declares and ends, and each glyph of ours draws inside
// its cell and leaves the pen on the baseline one advance to the right.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>

#include "support/temp_dir.h"

namespace {

struct Shape {
  long number = 0;
  int declared = 0;
  std::string name;
  std::vector<int> bytes;
};

struct ShapeFile {
  std::string kind;       // "shapes" or "bigfont"
  int bigfontCount = -1;  // the *BIGFONT line's character count
  std::vector<Shape> shapes;
  std::string error;      // what is wrong with the form, "" when nothing
};

std::optional<long> Number(std::string t, bool hexWhenLeadingZero) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '(')) t.erase(t.begin());
  while (!t.empty() && (t.back() == ' ' || t.back() == ')' || t.back() == '\r')) t.pop_back();
  if (t.empty()) return std::nullopt;
  try {
    std::size_t used = 0;
    const bool hex = hexWhenLeadingZero && t.size() > 1 && t[0] == '0';
    const long v = std::stol(t, &used, hex ? 16 : 10);
    if (used != t.size()) return std::nullopt;
    return v;
  } catch (...) {
    return std::nullopt;
  }
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> parts;
  std::stringstream s(line);
  for (std::string part; std::getline(s, part, ',');) parts.push_back(part);
  return parts;
}

ShapeFile Parse(const std::string& text) {
  ShapeFile f;
  std::stringstream in(text);
  std::string line;
  if (!std::getline(in, line)) return {"", -1, {}, "empty"};
  if (line == "AutoCAD-86 shapes 1.0") f.kind = "shapes";
  else if (line == "AutoCAD-86 bigfont 1.0") f.kind = "bigfont";
  else return {"", -1, {}, "first line: " + line};
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == ';') continue;
    if (line.rfind("*BIGFONT ", 0) == 0) {
      const auto n = Number(Split(line.substr(9)).at(0), false);
      f.bigfontCount = n ? static_cast<int>(*n) : -2;
      continue;
    }
    if (line[0] == '*') {
      const auto parts = Split(line.substr(1));
      if (parts.size() < 3) return {f.kind, -1, {}, "shape line: " + line};
      Shape s;
      const auto number = Number(parts[0], true);
      const auto declared = Number(parts[1], false);
      if (!number || !declared) return {f.kind, -1, {}, "shape line: " + line};
      s.number = *number;
      s.declared = static_cast<int>(*declared);
      s.name = parts[2];
      f.shapes.push_back(s);
      continue;
    }
    if (f.shapes.empty()) return {f.kind, -1, {}, "bytes before a shape: " + line};
    for (const std::string& token : Split(line)) {
      const auto v = Number(token, true);
      if (!v || *v < -128 || *v > 255) return {f.kind, -1, {}, "byte \"" + token + "\" in " + f.shapes.back().name};
      f.shapes.back().bytes.push_back(static_cast<int>(*v));
    }
  }
  return f;
}

std::string Read(const std::string& relative) { return vex::test::ReadFile(std::string(VEXTABLE_SOURCE_DIR) + "/" + relative); }

class ShapeFileForm : public ::testing::TestWithParam<const char*> {};

TEST_P(ShapeFileForm, EveryShapeHasItsDeclaredBytesAndEnds) {
  const std::string text = Read(GetParam());
  ASSERT_FALSE(text.empty()) << GetParam();
  const ShapeFile f = Parse(text);
  ASSERT_EQ(f.error, "");
  ASSERT_FALSE(f.shapes.empty());
  EXPECT_EQ(f.shapes[0].number, 0) << "the font's own shape comes first";
  std::map<long, int> seen;
  for (const Shape& s : f.shapes) {
    EXPECT_EQ(static_cast<int>(s.bytes.size()), s.declared) << s.name;
    ASSERT_FALSE(s.bytes.empty()) << s.name;
    EXPECT_EQ(s.bytes.back(), 0) << s.name;
    EXPECT_EQ(++seen[s.number], 1) << "shape " << s.number << " twice";
  }
}

INSTANTIATE_TEST_SUITE_P(Fonts, ShapeFileForm,
                         ::testing::Values("support/bzhz.SHX", "support/bzxw.shx", "cadhost/support/Fonts/txt.shx",
                                           "cadhost/support/Fonts/gbcbig.shx"));

// Pen moves of the 16 direction numbers that run along the grid (the even ones).
constexpr int kStep[16][2] = {{1, 0}, {0, 0}, {1, 1}, {0, 0}, {0, 1}, {0, 0}, {-1, 1}, {0, 0},
                              {-1, 0}, {0, 0}, {-1, -1}, {0, 0}, {0, -1}, {0, 0}, {1, -1}, {0, 0}};

struct GlyphRun {
  int x = 0, y = 0;
  int minX = 0, maxX = 0, minY = 0, maxY = 0;
  bool drew = false;
  std::string error;
};

// Follows a glyph's pen: pen up (2) and down (1), displacements (8), vector bytes.
GlyphRun Follow(const Shape& s) {
  GlyphRun r;
  bool down = false;
  auto mark = [&] {
    if (!down) return;
    if (!r.drew) r.minX = r.maxX = r.x, r.minY = r.maxY = r.y;
    r.drew = true;
    r.minX = std::min(r.minX, r.x), r.maxX = std::max(r.maxX, r.x);
    r.minY = std::min(r.minY, r.y), r.maxY = std::max(r.maxY, r.y);
  };
  for (std::size_t i = 0; i < s.bytes.size(); ++i) {
    const int b = s.bytes[i];
    if (b == 0) break;
    if (b == 1) {
      down = true;
      mark();
    } else if (b == 2) {
      down = false;
    } else if (b == 8) {
      if (i + 2 >= s.bytes.size()) return {0, 0, 0, 0, 0, 0, false, "displacement cut short"};
      r.x += s.bytes[i + 1], r.y += s.bytes[i + 2];
      i += 2;
      mark();
    } else if (b >= 0x10) {
      const int length = b >> 4, direction = b & 15;
      if (direction % 2 != 0) return {0, 0, 0, 0, 0, 0, false, "off-grid direction"};
      r.x += length * kStep[direction][0], r.y += length * kStep[direction][1];
      mark();
    } else {
      return {0, 0, 0, 0, 0, 0, false, "special code " + std::to_string(b) + " not used by our fonts"};
    }
  }
  return r;
}

struct OurFont {
  const char* file;
  const char* kind;
  int advance;
  std::vector<long> mustHave;
};

class OurShapeFont : public ::testing::TestWithParam<OurFont> {};

TEST_P(OurShapeFont, GlyphsStayInTheirCellAndAdvance) {
  const ShapeFile f = Parse(Read(GetParam().file));
  ASSERT_EQ(f.error, "");
  EXPECT_EQ(f.kind, GetParam().kind);
  const int above = f.shapes.at(0).bytes.at(0);
  EXPECT_GT(above, 0);
  if (f.kind == "bigfont") {
    EXPECT_EQ(f.bigfontCount, static_cast<int>(f.shapes.size()) - 1);
  } else {
    EXPECT_EQ(f.bigfontCount, -1);
  }
  std::map<long, const Shape*> byNumber;
  for (const Shape& s : f.shapes) byNumber[s.number] = &s;
  for (const long code : GetParam().mustHave) EXPECT_TRUE(byNumber.count(code)) << "no shape " << code;
  for (std::size_t i = 1; i < f.shapes.size(); ++i) {
    const Shape& s = f.shapes[i];
    const GlyphRun run = Follow(s);
    ASSERT_EQ(run.error, "") << s.name;
    EXPECT_EQ(run.x, GetParam().advance) << s.name;
    EXPECT_EQ(run.y, 0) << s.name << " ends off the baseline";
    if (!run.drew) continue;  // the space
    EXPECT_GE(run.minX, 0) << s.name;
    EXPECT_LE(run.maxX, GetParam().advance) << s.name;
    EXPECT_GE(run.minY, 0) << s.name;
    EXPECT_LE(run.maxY, above) << s.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, OurShapeFont,
    ::testing::Values(OurFont{"support/bzxw.shx", "shapes", 6, {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '-', ' '}},
                      OurFont{"support/bzhz.SHX", "bigfont", 9, {0xD2BB, 0xB6FE, 0xC8FD, 0xCAAE, 0xBFDA, 0xD6D0}}));

TEST(ShapeFileParse, CatchesBrokenSources) {
  const ShapeFile shortShape = Parse("AutoCAD-86 shapes 1.0\n*0,4,x\n8,2,0,0\n*65,3,a\n2,060\n");
  ASSERT_EQ(shortShape.error, "");
  EXPECT_NE(static_cast<int>(shortShape.shapes[1].bytes.size()), shortShape.shapes[1].declared);
  EXPECT_NE(Parse("AutoCAD-86 shapes 2.0\n").error, "");
  EXPECT_NE(Parse("AutoCAD-86 shapes 1.0\n2,0\n").error, "");
  EXPECT_NE(Parse("AutoCAD-86 shapes 1.0\n*65,2,a\n2,0x\n").error, "");
  Shape off;
  off.bytes = {1, 0x41, 0};
  EXPECT_NE(Follow(off).error, "");
}

}  // namespace
