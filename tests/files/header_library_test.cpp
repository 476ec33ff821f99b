#include "files/header_library.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/companion_drawing.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "support/tables.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class HeaderLibraryTest : public ::testing::Test {
 protected:
  // A header file written directly, named by its file and holding the given keys.
  void Put(const std::string& file, const std::string& name, const std::string& className, int type = 0,
           int rows = 2, int cols = 3) {
    TableHeader h;
    static_cast<TableData&>(h) = test::NamedTable(rows, cols);
    h.TitleName = name;
    h.TitleType = className;
    h.TitleROrC = type;
    ASSERT_TRUE(SaveTableFile(h, kHeaderFilePrefix, dir_.File(file)));
    ASSERT_TRUE(SaveHeaderKeys(h, kHeaderFilePrefix, dir_.File(file)));
  }
  TempDir dir_;
  HeaderLibrary library_{dir_.path()};
  ImageStore pictures_;
  SilentSink messages_;
};

TEST_F(HeaderLibraryTest, ClassesAreTheDistinctNonEmptyOnesInScanOrder) {
  Put("a.vtt", "A", "Pipes");
  Put("b.vtt", "B", "");
  Put("c.vtt", "C", "Pipes");
  Put("d.vtt", "D", "Civil");
  EXPECT_EQ(library_.ListClasses(), (std::vector<std::string>{"Pipes", "Civil"}));
  EXPECT_EQ(library_.ListHeaders(""), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(library_.ListHeaders("Pipes"), (std::vector<std::string>{"A", "C"}));
}

TEST_F(HeaderLibraryTest, SameNameTwiceIsListedTwiceAndFoundFirst) {
  Put("a.vtt", "Same", "X");
  Put("b.vtt", "Same", "Y");
  EXPECT_EQ(library_.ListHeaders(""), (std::vector<std::string>{"Same", "Same"}));
  EXPECT_EQ(library_.FindHeader("Same"), dir_.File("a.vtt"));
  EXPECT_EQ(library_.FindHeader(""), std::nullopt);
  EXPECT_EQ(library_.FindHeader("none"), std::nullopt);
}

TEST_F(HeaderLibraryTest, FilesThatAreNoHeadersAreSkipped) {
  Put("a.vtt", "A", "");
  WriteFile(dir_.File("junk.vtt"), "not a header");
  WriteFile(dir_.File("notes.txt"), "x");
  ASSERT_TRUE(SaveTableFile(test::UniformTable(1, 1), kAutoSavePrefix, dir_.File("_AutoSave.vtt")));
  EXPECT_EQ(library_.ListHeaders(""), (std::vector<std::string>{"A"}));
  EXPECT_EQ(ReadFile(dir_.File("junk.vtt")), "not a header");  // never rewritten
}

TEST_F(HeaderLibraryTest, ListsFollowFilesThatChangeComeAndGo) {
  Put("a.vtt", "A", "One");
  EXPECT_EQ(library_.ListClasses(), (std::vector<std::string>{"One"}));
  Put("a.vtt", "A2", "Two");  // the same file, new keys
  Put("b.vtt", "B", "One");
  EXPECT_EQ(library_.ListHeaders(""), (std::vector<std::string>{"A2", "B"}));
  EXPECT_EQ(library_.ListClasses(), (std::vector<std::string>{"Two", "One"}));
  fs::remove(dir_.File("a.vtt"));
  EXPECT_EQ(library_.ListHeaders(""), (std::vector<std::string>{"B"}));
}

TEST_F(HeaderLibraryTest, ListingConvertsAnOldKeyValueHeader) {
  WriteFile(dir_.File("old.vtt"), ReadFile(std::string(VEXTABLE_TEST_DATA) + "/files/old_key_value_header.vtt"));
  EXPECT_EQ(library_.ListHeaders(""), (std::vector<std::string>{"Old header"}));
  EXPECT_EQ(ReadFile(dir_.File("old.vtt")).rfind("<?xml", 0), 0u);
  EXPECT_EQ(library_.ListClasses(), (std::vector<std::string>{"Civil"}));  // the rewritten file is not read anew wrongly
}

TEST_F(HeaderLibraryTest, SaveWritesTheTableKeysAndPictures) {
  ASSERT_TRUE(library_.SaveHeader(test::NamedTable(2, 2), "Pipes list", "Pipes", kHorizontalHeader, pictures_));
  ASSERT_EQ(library_.Entries().size(), 1u);
  const auto& e = library_.Entries()[0];
  EXPECT_EQ(e.path, dir_.File("Pipes list.vtt"));
  EXPECT_EQ(e.className, "Pipes");
  EXPECT_EQ(e.type, kHorizontalHeader);
  TableHeader back;
  ImageStore store;
  ASSERT_TRUE(library_.LoadHeader("Pipes list", back, store, messages_));
  EXPECT_EQ(back.GetCell(1, 1).strText, "r1c1");
  EXPECT_EQ(back.TitleVersion, "1.0");
  EXPECT_EQ(library_.SaveHeader(test::NamedTable(1, 1), "Pipes list", "", 0, pictures_).code(), ErrorCode::kRefused);
  EXPECT_TRUE(library_.SaveHeader(test::NamedTable(1, 1), "Pipes list", "", 0, pictures_, true));
}

struct BadName {
  const char* name;
  std::string text;
};

class HeaderNames : public ::testing::TestWithParam<BadName> {};

TEST_P(HeaderNames, ThatCannotBeFileNamesAreRefusedAndNothingIsWritten) {
  TempDir dir;
  HeaderLibrary library(dir.path() + "Title/");
  ImageStore pictures;
  const Result r = library.SaveHeader(test::UniformTable(1, 1), GetParam().text, "", 0, pictures);
  EXPECT_EQ(r.code(), ErrorCode::kRefused) << GetParam().text;
  EXPECT_FALSE(HeaderNameProblem(GetParam().text).empty());
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path()), fs::recursive_directory_iterator()), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Names, HeaderNames,
    ::testing::Values(BadName{"empty", ""}, BadName{"parent", ".."}, BadName{"up_and_out", "../outside"},
                      BadName{"absolute", "/etc/passwd"}, BadName{"backslash", "a\\b"},
                      BadName{"control", "a\tb"}, BadName{"newline", "a\nb"}, BadName{"device", "CON"},
                      BadName{"device_with_extension", "com1.txt"}, BadName{"autosave", "_autosave"},
                      BadName{"trailing_dot", "name."}, BadName{"leading_blank", " name"},
                      BadName{"too_long", std::string(101, 'x')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderNamesGood, OrdinaryNamesAreAccepted) {
  for (const char* name : {"A", "Pipes list", "表头 1", "A-1", "x.y", "console"}) EXPECT_EQ(HeaderNameProblem(name), "") << name;
  EXPECT_EQ(HeaderNameProblem(std::string(100, 'x')), "");
}

TEST_F(HeaderLibraryTest, DeletingTheLastHeaderOfAClassRemovesTheClass) {
  ASSERT_TRUE(library_.SaveHeader(test::UniformTable(1, 1), "A", "Pipes", 0, pictures_));
  ASSERT_TRUE(library_.SaveHeader(test::UniformTable(1, 1), "B", "Civil", 0, pictures_));
  WriteFile(dir_.File("A.vtt.dxf"), "pictures");
  ASSERT_TRUE(library_.DeleteHeader("A"));
  EXPECT_FALSE(fs::exists(dir_.File("A.vtt")));
  EXPECT_FALSE(fs::exists(dir_.File("A.vtt.dxf")));
  EXPECT_EQ(library_.ListClasses(), (std::vector<std::string>{"Civil"}));
  EXPECT_TRUE(library_.DeleteHeader("A"));  // already gone: no error
}

TEST_F(HeaderLibraryTest, DeletingAClassDeletesItsHeadersOnly) {
  ASSERT_TRUE(library_.SaveHeader(test::UniformTable(1, 1), "A", "Pipes", 0, pictures_));
  ASSERT_TRUE(library_.SaveHeader(test::UniformTable(1, 1), "B", "Pipes", 0, pictures_));
  ASSERT_TRUE(library_.SaveHeader(test::UniformTable(1, 1), "C", "", 0, pictures_));
  std::vector<std::string> deleted;
  ASSERT_TRUE(library_.DeleteClass("Pipes", &deleted));
  EXPECT_EQ(deleted, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(library_.ListHeaders(""), (std::vector<std::string>{"C"}));
}

TEST_F(HeaderLibraryTest, DeleteNeverLeavesTheFolder) {
  // A header file whose stored name reads like a path: deleting it deletes that file only.
  Put("x.vtt", "../../victim", "");
  WriteFile(dir_.File("../victim.vtt"), "someone else's");
  ASSERT_TRUE(library_.DeleteHeader("../../victim"));
  EXPECT_FALSE(fs::exists(dir_.File("x.vtt")));
  EXPECT_EQ(ReadFile(dir_.File("../victim.vtt")), "someone else's");
  fs::remove(dir_.File("../victim.vtt"));
}

TEST_F(HeaderLibraryTest, SaveDialogChecks) {
  ASSERT_TRUE(library_.SaveHeader(test::UniformTable(1, 1), "A", "", 0, pictures_));
  const auto empty = CheckSaveHeader("", "未分类", "未分类", "NewHeader1", library_);
  EXPECT_FALSE(empty.accept);
  EXPECT_EQ(empty.nameField, "NewHeader1");
  EXPECT_EQ(empty.message, "Header name can't empty!");
  const auto exists = CheckSaveHeader("A", "Pipes", "未分类", "NewHeader1", library_);
  EXPECT_FALSE(exists.accept);
  EXPECT_EQ(exists.nameField, "A-1");
  EXPECT_EQ(exists.message, "Header name is exist!Please use other name!");
  const auto next = CheckSaveHeader(exists.nameField, "未分类", "未分类", "NewHeader1", library_);
  EXPECT_TRUE(next.accept);
  EXPECT_EQ(next.className, "");
  const auto evil = CheckSaveHeader("../x", "", "未分类", "NewHeader1", library_);
  EXPECT_FALSE(evil.accept);
  EXPECT_NE(evil.message.find("path separator"), std::string::npos);
}

}  // namespace
}  // namespace vex
