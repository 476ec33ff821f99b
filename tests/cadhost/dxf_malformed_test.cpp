// Damaged and hostile drawing files: a clear error with the line, never a crash.

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <sstream>

#include "support/temp_dir.h"
#include "test_util.h"

namespace cadhost::test {
namespace {

const std::string kEntities = "0\nSECTION\n2\nENTITIES\n";
const std::string kEnd = "0\nENDSEC\n0\nEOF\n";

struct BadFile {
  const char* name;
  std::string content;
  long line;            // expected line of the error (0: not checked)
  const char* message;  // expected part of the message
};

class MalformedFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(MalformedFile, FailsWithLineAndReason) {
  vex::test::TempDir dir;
  vex::test::WriteFile(dir.File("bad.dxf"), GetParam().content);
  AcDbDatabase db;
  const Acad::ErrorStatus es = db.readDwgFile(dir.File("bad.dxf").c_str());
  EXPECT_EQ(es, Acad::eBadDxfFile) << acadErrorStatusText(es);
  const cadhost::DrawingFileReport& r = db.lastFileReport();
  EXPECT_NE(r.message.find(GetParam().message), std::string::npos) << r.message;
  if (GetParam().line != 0) {
    EXPECT_EQ(r.line, GetParam().line) << r.message;
    EXPECT_NE(r.message.find("line " + std::to_string(GetParam().line)), std::string::npos) << r.message;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, MalformedFile,
    ::testing::Values(
        BadFile{"empty", "", 0, "without \"0 EOF\""},
        BadFile{"junk_text", "hello world\nthis is no drawing\n", 1, "group code was expected"},
        BadFile{"binary_junk", std::string("\0\x01\x02\xff\n", 5), 1, "group code was expected"},
        BadFile{"binary_dxf", "AutoCAD Binary DXF\r\n\x1a", 0, "binary DXF"},
        BadFile{"unknown_group_code", kEntities + "0\nLINE\n1234\nx\n" + kEnd, 7, "not used"},
        BadFile{"huge_group_code", kEntities + "0\nLINE\n99999999999999999999\n1\n" + kEnd, 7,
                "group code was expected"},
        BadFile{"number_expected", kEntities + "0\nLINE\n10\nabc\n" + kEnd, 8, "expects a number"},
        BadFile{"infinite_number", kEntities + "0\nLINE\n10\n1e999\n" + kEnd, 8, "expects a number"},
        BadFile{"integer_expected", kEntities + "0\nLINE\n62\n7.5\n" + kEnd, 8, "expects an integer"},
        BadFile{"bad_handle", kEntities + "0\nLINE\n330\nXYZ\n" + kEnd, 8, "hexadecimal handle"},
        BadFile{"bad_binary", kEntities + "0\nLINE\n310\nZZ\n" + kEnd, 8, "hexadecimal data"},
        BadFile{"value_missing", kEntities + "0\nLINE\n10", 7, "without its value"},
        BadFile{"truncated_entity", kEntities + "0\nLINE\n10\n1.0\n", 0, "ends"},
        BadFile{"no_eof", kEntities + "0\nENDSEC\n", 0, "without \"0 EOF\""},
        BadFile{"no_endsec", kEntities + "0\nEOF\n", 5, "expected \"0 ENDSEC\""},
        BadFile{"section_in_section", kEntities + "0\nSECTION\n" + kEnd, 5, "ENDSEC"},
        BadFile{"not_a_section", "0\nLINE\n0\nEOF\n", 1, "expected \"0 SECTION\""},
        BadFile{"section_without_name", "0\nSECTION\n0\nEOF\n", 3, "section name"},
        BadFile{"unclosed_app_data", kEntities + "0\nLINE\n102\n{ACAD_REACTORS\n330\n1\n" + kEnd, 7,
                "not closed"},
        BadFile{"header_value_without_name", "0\nSECTION\n2\nHEADER\n70\n1\n0\nENDSEC\n0\nEOF\n", 5,
                "without a variable name"},
        BadFile{"table_not_closed", "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nENDSEC\n0\nEOF\n", 9,
                "not closed"},
        BadFile{"block_without_name", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n0\nENDBLK\n" + kEnd, 5,
                "without a name"},
        BadFile{"block_not_closed", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n0\nENDSEC\n0\nEOF\n", 9,
                "ENDBLK"}),
    [](const auto& info) { return std::string(info.param.name); });

struct OddFile {
  const char* name;
  std::string content;
  const char* warning;  // expected part of a warning ("" for none)
};

class RepairedFile : public ::testing::TestWithParam<OddFile> {};

TEST_P(RepairedFile, OpensAndSaysWhatItRepaired) {
  vex::test::TempDir dir;
  vex::test::WriteFile(dir.File("odd.dxf"), GetParam().content);
  AcDbDatabase db;
  ASSERT_EQ(db.readDwgFile(dir.File("odd.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  bool found = *GetParam().warning == '\0';
  for (const std::string& w : db.lastFileReport().warnings) found = found || w.find(GetParam().warning) != std::string::npos;
  EXPECT_TRUE(found) << GetParam().warning;
  // Whatever was read can be written.
  EXPECT_EQ(db.saveAs(dir.File("out.dxf").c_str()), Acad::eOk);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, RepairedFile,
    ::testing::Values(
        OddFile{"minimal_entities_only", kEntities + "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n" + kEnd, ""},
        OddFile{"unknown_layer_is_added", kEntities + "0\nLINE\n8\nGhost\n" + kEnd, "layer \"Ghost\""},
        OddFile{"huge_vertex_count",
                kEntities + "0\nLWPOLYLINE\n100\nAcDbPolyline\n90\n2000000000\n10\n0\n20\n0\n10\n1\n20\n1\n" + kEnd, ""},
        OddFile{"zero_radius_circle", kEntities + "0\nCIRCLE\n10\n0\n20\n0\n40\n0\n" + kEnd, "radius"},
        OddFile{"duplicate_handle", kEntities + "0\nLINE\n5\nA0\n0\nLINE\n5\nA0\n" + kEnd, "used twice"},
        OddFile{"handle_at_the_top", kEntities + "0\nLINE\n5\nFFFFFFFFFFFFFFFF\n0\nLINE\n" + kEnd, "out of range"},
        OddFile{"tables_without_layers_and_linetypes",
                "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n0\nLAYER\n2\nA\n6\nDASHED\n0\nENDTAB\n0\nENDSEC\n" +
                    kEntities + "0\nLINE\n8\nB\n6\nHIDDEN\n" + kEnd,
                "linetype \"DASHED\""},
        OddFile{"header_value_of_two_groups",
                "0\nSECTION\n2\nHEADER\n9\n$ODD\n70\n1\n70\n2\n0\nENDSEC\n" + kEntities + kEnd, "$ODD"},
        OddFile{"group_before_record_marker",
                "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nAPPID\n70\n1\n0\nAPPID\n2\nX\n70\n0\n1001\nY\n0\nENDTAB\n0\nENDSEC\n" +
                    kEntities + kEnd,
                ""},
        OddFile{"stray_seqend", kEntities + "0\nSEQEND\n" + kEnd, "SEQEND"},
        OddFile{"undefined_block", kEntities + "0\nINSERT\n2\nNowhere\n" + kEnd, "never defined"},
        OddFile{"comments_and_crlf", "999\r\nmade by hand\r\n0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n", ""},
        OddFile{"unavailable_codepage",
                "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_99999\n0\nENDSEC\n" +
                    kEntities + kEnd,
                "not available"},
        OddFile{"byte_order_mark", "\xEF\xBB\xBF" + kEntities + kEnd, ""},
        OddFile{"polyline_without_seqend",
                kEntities + "0\nPOLYLINE\n100\nAcDbEntity\n100\nAcDb3dPolyline\n70\n8\n0\nVERTEX\n0\nLINE\n" + kEnd,
                "without SEQEND"}),
    [](const auto& info) { return std::string(info.param.name); });

// Drawings found by fuzzing that opened but whose saved copy did not: each opens, says what it
// repaired, and what is saved of it reads again.
struct FuzzedFile {
  const char* name;
  const char* file;     // under tests/data/cadhost/fuzz/
  const char* warning;  // expected part of a warning ("" for none)
  std::string saved;    // bytes the saved copy holds ("" for no check)
};

void PrintTo(const FuzzedFile& f, std::ostream* os) { *os << f.file; }

class FuzzedDrawing : public ::testing::TestWithParam<FuzzedFile> {};

TEST_P(FuzzedDrawing, SavedCopyReadsAgain_Issue11) {
  vex::test::TempDir dir;
  AcDbDatabase db(false);
  const std::string path = std::string(CADHOST_TEST_DATA) + "/fuzz/" + GetParam().file;
  ASSERT_EQ(db.readDwgFile(path.c_str()), Acad::eOk) << db.lastFileReport().message;
  bool found = *GetParam().warning == '\0';
  for (const std::string& w : db.lastFileReport().warnings) found = found || w.find(GetParam().warning) != std::string::npos;
  EXPECT_TRUE(found) << GetParam().warning;
  ASSERT_EQ(db.saveAs(dir.File("out.dxf").c_str()), Acad::eOk);
  EXPECT_NE(vex::test::ReadFile(dir.File("out.dxf")).find(GetParam().saved), std::string::npos);
  AcDbDatabase again(false);
  EXPECT_EQ(again.readDwgFile(dir.File("out.dxf").c_str()), Acad::eOk) << again.lastFileReport().message;
}

INSTANTIATE_TEST_SUITE_P(
    Samples, FuzzedDrawing,
    ::testing::Values(
        // An entity kind that is not modelled is kept under its name, NUL and all.
        FuzzedFile{"entity_type_with_nul", "entity_type_with_nul.dxf", "", std::string("\nEOF\0\n", 6)},
        // Owned by a block, a stray ENDBLK was written inside that block and ended it early.
        FuzzedFile{"endblk_in_entities", "endblk_in_entities.dxf", "ENDBLK outside a block left out", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Random damage to a good file: every outcome is a clean success or a clean failure.
TEST(MalformedFile, RandomDamageNeverCrashes) {
  vex::test::TempDir dir;
  std::string good;
  {
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDwgFile(CADHOST_TEST_DATA "/ezdxf_sample.dxf"), Acad::eOk);
    ASSERT_EQ(db.saveAs(dir.File("good.dxf").c_str()), Acad::eOk);
    good = vex::test::ReadFile(dir.File("good.dxf"));
  }
  std::mt19937 rng(20240604);
  int failures = 0;
  for (int round = 0; round < 150; ++round) {
    std::string damaged = good;
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = rng() % damaged.size();
      switch (rng() % 4) {
        case 0: damaged[at] = static_cast<char>(rng() % 256); break;
        case 1: damaged.erase(at, 1 + rng() % 40); break;
        case 2: damaged.insert(at, "\n0\nLINE\n"); break;
        default: damaged.resize(at); break;
      }
    }
    vex::test::WriteFile(dir.File("d.dxf"), damaged);
    AcDbDatabase db(false);
    const Acad::ErrorStatus es = db.readDwgFile(dir.File("d.dxf").c_str());
    if (es != Acad::eOk) {
      ++failures;
      EXPECT_FALSE(db.lastFileReport().message.empty());
    } else {
      EXPECT_EQ(db.saveAs(dir.File("o.dxf").c_str()), Acad::eOk);
    }
  }
  EXPECT_GT(failures, 0);
}

// Whole groups deleted, repeated, swapped or given odd values, in each sample: a clean success
// or a clean failure, and what was read is written so that it reads back.
TEST(MalformedFile, RandomGroupEditsNeverCrash) {
  vex::test::TempDir dir;
  const char* values[] = {"0", "-1", "1e300", "7", "*U", "", "FFFFFFF", "SEQEND", "ENDBLK", "BLOCK"};
  std::mt19937 rng(1105);
  for (const char* sample : {"ezdxf_sample.dxf", "ezdxf_r12.dxf", "ezdxf_gbk_r2000.dxf"}) {
    std::vector<std::string> lines;
    {
      std::istringstream in(vex::test::ReadFile(std::string(CADHOST_TEST_DATA) + "/" + sample));
      for (std::string l; std::getline(in, l);) lines.push_back(l);
    }
    ASSERT_GT(lines.size(), 10u);
    for (int round = 0; round < 60; ++round) {
      std::vector<std::string> d = lines;
      for (int e = 1 + static_cast<int>(rng() % 4); e > 0; --e) {
        const std::size_t p = (rng() % (d.size() / 2)) * 2;
        const std::size_t q = (rng() % (d.size() / 2)) * 2;
        switch (rng() % 4) {
          case 0: d.erase(d.begin() + static_cast<long>(p), d.begin() + static_cast<long>(p) + 2); break;
          case 1: d.insert(d.begin() + static_cast<long>(p), {d[q], d[q + 1]}); break;
          case 2: d[p + 1] = values[rng() % std::size(values)]; break;
          default: std::swap(d[p], d[q]); break;
        }
      }
      std::string text;
      for (const std::string& l : d) text += l + "\n";
      vex::test::WriteFile(dir.File("g.dxf"), text);
      AcDbDatabase db(false);
      if (db.readDwgFile(dir.File("g.dxf").c_str()) != Acad::eOk) continue;
      ASSERT_EQ(db.saveAs(dir.File("out.dxf").c_str()), Acad::eOk);
      AcDbDatabase again(false);
      EXPECT_EQ(again.readDwgFile(dir.File("out.dxf").c_str()), Acad::eOk)
          << sample << " round " << round << ": " << again.lastFileReport().message;
    }
  }
}

}  // namespace
}  // namespace cadhost::test
