// The header library windows' rules without a window: the lists of the table initialization
// dialog, the save dialog's class box and checks, the manager's tree and its deletes.

#include "files/header_dialog_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/header_library.h"
#include "pictures/image_store.h"
#include "support/tables.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class HeaderRulesTest : public ::testing::Test {
 protected:
  void Save(const std::string& name, const std::string& className, int type = kVerticalHeader) {
    ASSERT_TRUE(library_.SaveHeader(test::UniformTable(2, 2), name, className, type, pictures_));
  }
  // Writes a header file under a file name of our choosing, so that two may share a name.
  void SaveAs(const std::string& file, const std::string& name, const std::string& className) {
    TableHeader h;
    static_cast<TableData&>(h) = test::UniformTable(1, 1);
    h.TitleName = name;
    h.TitleType = className;
    ASSERT_TRUE(SaveTableFile(h, kHeaderFilePrefix, dir_.File(file)));
    ASSERT_TRUE(SaveHeaderKeys(h, kHeaderFilePrefix, dir_.File(file)));
  }
  test::TempDir dir_;
  HeaderLibrary library_{dir_.path()};
  ImageStore pictures_;
};

TEST(InitDialogLists, FirstEntryStandsForAllClassesAndForTheBlankTable) {
  const Names classes = InitClassList("Whole Header", {"Pipes", "Whole Header"});
  EXPECT_EQ(classes, (Names{"Whole Header", "Pipes", "Whole Header"}));
  EXPECT_EQ(ClassOfEntry(classes, 0), "");
  EXPECT_EQ(ClassOfEntry(classes, 1), "Pipes");
  // A class that happens to carry the all-classes words is still that class.
  EXPECT_EQ(ClassOfEntry(classes, 2), "Whole Header");
  EXPECT_EQ(ClassOfEntry(classes, 7), "");
  EXPECT_EQ(ClassOfEntry(classes, -1), "");

  const Names headers = InitHeaderList("Blank Table", {"A", "B"});
  EXPECT_EQ(headers, (Names{"Blank Table", "A", "B"}));
  EXPECT_EQ(HeaderOfEntry(headers, 0), "");
  EXPECT_EQ(HeaderOfEntry(headers, 2), "B");
}

TEST(InitDialogLists, SelectionAfterTheManagerFallsBackToTheFirstEntry) {
  const Names list{"Whole Header", "Pipes", "Civil"};
  EXPECT_EQ(EntryIndex(list, "Civil"), 2);
  EXPECT_EQ(EntryIndex(list, "gone"), 0);
  EXPECT_EQ(EntryIndex(list, ""), 0);
  EXPECT_EQ(EntryIndex(list, "Whole Header"), 0);  // only a real class of that name would match
  EXPECT_EQ(EntryIndex({"Blank"}, "x"), 0);
}

TEST_F(HeaderRulesTest, HeaderWithoutClassIsListedButNotInTheTree) {
  Save("Loose", "");
  Save("P1", "Pipes");
  Save("C1", "Civil");
  Save("P2", "Pipes");
  EXPECT_EQ(InitHeaderList("Blank Table", library_.ListHeaders("")), (Names{"Blank Table", "C1", "Loose", "P1", "P2"}));
  const std::vector<HeaderTreeClass> tree = BuildHeaderTree(library_);
  ASSERT_EQ(tree.size(), 2u);
  EXPECT_EQ(tree[0].name, "Civil");
  EXPECT_EQ(tree[0].headers, (Names{"C1"}));
  EXPECT_EQ(tree[1].name, "Pipes");
  EXPECT_EQ(tree[1].headers, (Names{"P1", "P2"}));
  EXPECT_EQ(tree[1].paths[1], library_.HeaderPath("P2"));
  // The tree is what ListClasses and ListHeaders(class) give.
  ASSERT_EQ(library_.ListClasses(), (Names{"Civil", "Pipes"}));
  for (const HeaderTreeClass& c : tree) EXPECT_EQ(c.headers, library_.ListHeaders(c.name));

  EXPECT_EQ(FindInTree(tree, "P2"), (TreePlace{1, 1}));
  EXPECT_EQ(FindInTree(tree, "Loose"), std::nullopt);
  EXPECT_EQ(FindInTree(tree, ""), std::nullopt);
}

TEST_F(HeaderRulesTest, SameNameInTwoClassesIsFoundAndDeletedByItsClass) {
  SaveAs("a.vtt", "Same", "X");
  SaveAs("b.vtt", "Same", "Y");
  EXPECT_EQ(library_.FindHeaderInClass("Y", "Same"), dir_.File("b.vtt"));
  EXPECT_EQ(FindInTree(BuildHeaderTree(library_), "Same", "Y"), (TreePlace{1, 0}));
  ASSERT_TRUE(library_.DeleteHeaderOfClass("Y", "Same"));
  EXPECT_TRUE(fs::exists(dir_.File("a.vtt")));
  EXPECT_FALSE(fs::exists(dir_.File("b.vtt")));
}

// Deleting a class once deleted by name, and so took a same-named header of another class.
TEST_F(HeaderRulesTest, DeletingAClassKeepsSameNamedHeadersOfOtherClasses) {
  SaveAs("a.vtt", "Same", "Keep");
  SaveAs("b.vtt", "Same", "Drop");
  SaveAs("c.vtt", "Other", "Drop");
  Names deleted;
  ASSERT_TRUE(library_.DeleteClass("Drop", &deleted));
  EXPECT_EQ(deleted, (Names{"Same", "Other"}));
  EXPECT_TRUE(fs::exists(dir_.File("a.vtt")));
  EXPECT_EQ(library_.ListClasses(), (Names{"Keep"}));
}

TEST_F(HeaderRulesTest, DeleteByFileTouchesOnlyFilesOfTheLibrary) {
  Save("A", "Pipes");
  test::WriteFile(dir_.File("A.vtt.dxf"), "pictures");
  test::WriteFile(dir_.File("../outside.vtt"), "someone else's");
  const Result refused = library_.DeleteHeaderFile(dir_.File("../outside.vtt"));
  EXPECT_EQ(refused.code(), ErrorCode::kNotFound);
  EXPECT_TRUE(fs::exists(dir_.File("../outside.vtt")));
  fs::remove(dir_.File("../outside.vtt"));
  ASSERT_TRUE(library_.DeleteHeaderFile(library_.HeaderPath("A")));
  EXPECT_FALSE(fs::exists(dir_.File("A.vtt")));
  EXPECT_FALSE(fs::exists(dir_.File("A.vtt.dxf")));
  EXPECT_TRUE(BuildHeaderTree(library_).empty());  // its class went with it
}

TEST_F(HeaderRulesTest, SaveDialogClassBoxAndItsNoClassEntryInEachLanguage) {
  Save("P", "Pipes");
  EXPECT_EQ(SaveClassList("None Class", library_.ListClasses()), (Names{"None Class", "Pipes"}));
  // The box shows the language's words for no class; neither they nor the resource's own
  // words become a class.
  for (const char* none : {"None Class", "未分类"}) {
    const SaveHeaderCheck c = CheckSaveHeader("New", none, "None Class", "NewHeader1", library_);
    EXPECT_TRUE(c.accept) << none;
    EXPECT_EQ(c.className, "") << none;
  }
  const SaveHeaderCheck typed = CheckSaveHeader("New", "Valves", "None Class", "NewHeader1", library_);
  EXPECT_EQ(typed.className, "Valves");
  const SaveHeaderCheck control = CheckSaveHeader("New", "Va\nlves", "None Class", "NewHeader1", library_);
  EXPECT_FALSE(control.accept);
  EXPECT_EQ(control.nameField, "New");
  EXPECT_NE(control.message.find("control character"), std::string::npos);
}

TEST(DeleteQuestions, AsTheManagerAsks) {
  EXPECT_EQ(DeleteHeaderQuestion("Pipes A"), "Do you delete Header Pipes A？");
  EXPECT_EQ(DeleteClassQuestion("Pipes"), "Do you delete class Pipes？");
  EXPECT_STREQ(kDeleteCaption, "System prompt");
}

}  // namespace
}  // namespace vex
