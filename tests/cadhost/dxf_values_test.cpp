// Values that drawing files must carry exactly: layer states, and texts holding characters a
// DXF line cannot (line breaks, NUL).

#include <gtest/gtest.h>

#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "test_util.h"

namespace cadhost::test {
namespace {

std::string OnlyText(AcDbDatabase& db) {
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
  if (!ms || ms->entityIds().empty()) return "<none>";
  AcDbObjectPointer<AcDbText> t(ms->entityIds()[0], AcDb::kForRead);
  return t ? t->textString() : "<not a text>";
}

// The value lines of group `code` in a DXF text.
std::vector<std::string> Values(const std::string& file, const std::string& code) {
  std::vector<std::string> out;
  const std::string key = "\n" + code + "\n";
  for (std::size_t at = file.find(key); at != std::string::npos; at = file.find(key, at + 1)) {
    const std::size_t start = at + key.size();
    out.push_back(file.substr(start, file.find('\n', start) - start));
  }
  return out;
}

TEST(DxfValues, LayerThatIsOffIsWrittenOffAndReadsBackOff_Issue11) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  const AcDbObjectId off = AddLayer(db, "Hidden", 5);
  AddLayer(db, "Shown", 3);
  {
    AcDbObjectPointer<AcDbLayerTableRecord> layer(off, AcDb::kForWrite);
    ASSERT_EQ(layer->setIsOff(true), Acad::eOk);
  }
  ASSERT_EQ(db.saveAs(dir.File("l.dxf").c_str()), Acad::eOk);
  const std::string file = vex::test::ReadFile(dir.File("l.dxf"));
  EXPECT_NE(file.find("\nHidden\n 70\n0\n 62\n-5\n"), std::string::npos);
  EXPECT_NE(file.find("\nShown\n 70\n0\n 62\n3\n"), std::string::npos);

  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(dir.File("l.dxf").c_str()), Acad::eOk);
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(back.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  for (const auto& [name, isOff] : {std::pair{"Hidden", true}, std::pair{"Shown", false}}) {
    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(layers->getAt(name, layer, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(layer->isOff(), isOff) << name;
    EXPECT_EQ(layer->color().colorIndex(), isOff ? 5 : 3) << name;
    layer->close();
  }
  layers->close();
  const auto peer = vex::test::RunShell("/usr/bin/python3 -c \"import ezdxf, sys; d = ezdxf.readfile(sys.argv[1]); "
                                        "print(d.layers.get('Hidden').is_off(), d.layers.get('Shown').is_off())\" " +
                                        dir.File("l.dxf"));
  EXPECT_EQ(peer.out, "True False\n") << peer.err;
}

struct BreakCase {
  const char* name;
  const char* text;
};

class TextWithLineBreaks : public ::testing::TestWithParam<BreakCase> {};

// A raw CR or LF inside a value would end the value: other readers take the rest for the next
// group code. Both are written as escapes, which other readers show as line breaks.
TEST_P(TextWithLineBreaks, IsWrittenEscapedAndReadsBack_Issue11) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  AppendToModel(db, new AcDbText({0, 0, 0}, GetParam().text, AcDbObjectId(), 2));
  ASSERT_EQ(db.saveAs(dir.File("t.dxf").c_str()), Acad::eOk);
  const std::string file = vex::test::ReadFile(dir.File("t.dxf"));
  EXPECT_EQ(file.find('\r'), std::string::npos);
  for (const std::string& v : Values(file, "  1")) EXPECT_EQ(v.find('\r'), std::string::npos) << v;
  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(dir.File("t.dxf").c_str()), Acad::eOk) << back.lastFileReport().message;
  EXPECT_EQ(OnlyText(back), GetParam().text);
  const auto peer = vex::test::RunShell("/usr/bin/python3 -c \"import ezdxf, sys; "
                                        "print(repr(ezdxf.readfile(sys.argv[1]).modelspace().query('TEXT')[0].dxf.text))\" " +
                                        dir.File("t.dxf"));
  EXPECT_EQ(peer.status, 0) << peer.err;
  EXPECT_NE(peer.out.find("U+000"), std::string::npos) << peer.out;  // one value, breaks escaped
}

INSTANTIATE_TEST_SUITE_P(Breaks, TextWithLineBreaks,
                         ::testing::Values(BreakCase{"lone_cr", "a\rb"}, BreakCase{"lone_lf", "a\nb"},
                                           BreakCase{"crlf", "a\r\nb"}, BreakCase{"trailing_cr", "end\r"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NulCase {
  const char* name;
  std::string value;  // as written in the file
  std::string text;   // as read
};

class NulInText : public ::testing::TestWithParam<NulCase> {};

// A NUL would cut the text wherever it is used as a C string: it stays visible as its escape.
TEST_P(NulInText, IsKeptVisibly_Issue11) {
  vex::test::TempDir dir;
  std::string file = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_1252\n0\nENDSEC\n"
                     "0\nSECTION\n2\nENTITIES\n0\nTEXT\n100\nAcDbEntity\n8\n0\n100\nAcDbText\n10\n0\n20\n0\n30\n0\n"
                     "40\n2\n1\n";
  file += GetParam().value;
  file += "\n100\nAcDbText\n0\nENDSEC\n0\nEOF\n";
  vex::test::WriteFile(dir.File("n.dxf"), file);
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(dir.File("n.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  EXPECT_EQ(OnlyText(db), GetParam().text);
  // Measured as written, not as an invisible character.
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
  AcDbExtents ext;
  AcDbObjectPointer<AcDbText> t(ms->entityIds()[0], AcDb::kForRead);
  ASSERT_EQ(t->getGeomExtents(ext), Acad::eOk);
  EXPECT_DOUBLE_EQ(ext.maxPoint().x - ext.minPoint().x, TextAdvance(GetParam().text, 2, 1));
  EXPECT_GE(ext.maxPoint().x - ext.minPoint().x, 7.0);
  t.close();
  ms.close();
  ASSERT_EQ(db.saveAs(dir.File("again.dxf").c_str()), Acad::eOk);
  AcDbDatabase back(false);
  ASSERT_EQ(back.readDwgFile(dir.File("again.dxf").c_str()), Acad::eOk);
  EXPECT_EQ(OnlyText(back), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Nul, NulInText,
    ::testing::Values(NulCase{"escape", "a\\U+0000b", "a\\U+0000b"},
                      NulCase{"escape_at_end", "tail\\U+0000", "tail\\U+0000"},
                      NulCase{"escape_beside_others", "\\U+4E2D\\U+0000\\U+6587", "中\\U+0000文"},
                      NulCase{"raw_byte", std::string("a\0b", 3), "a\\U+0000b"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cadhost::test
