// The shape fonts in support/ (and the host's own, in the same form) are well-formed shape
// sources: every shape has the bytes it declares and ends; ours are of their kind.

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

struct OurFont {
  const char* file;
  const char* kind;  // the host's font list tells big fonts by their first line
  std::vector<long> mustHave;
};

class OurShapeFont : public ::testing::TestWithParam<OurFont> {};

TEST_P(OurShapeFont, IsOfItsKindWithItsCharacters) {
  const ShapeFile f = Parse(Read(GetParam().file));
  ASSERT_EQ(f.error, "");
  EXPECT_EQ(f.kind, GetParam().kind);
  if (f.kind == "bigfont") {
    EXPECT_EQ(f.bigfontCount, static_cast<int>(f.shapes.size()) - 1);
  }
  std::map<long, int> numbers;
  for (const Shape& s : f.shapes) ++numbers[s.number];
  for (const long code : GetParam().mustHave) EXPECT_EQ(numbers[code], 1) << "shape " << code;
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, OurShapeFont,
    ::testing::Values(OurFont{"support/bzxw.shx", "shapes", {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '-', ' '}},
                      OurFont{"support/bzhz.SHX", "bigfont", {0xD2BB, 0xB6FE, 0xC8FD, 0xCAAE, 0xBFDA, 0xD6D0}}));

}  // namespace
