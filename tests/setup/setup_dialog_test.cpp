// The setup window, driven offscreen.

#include "setup/setup_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <tuple>

namespace vex::setup {
namespace {

ProductRow Product(const char* release, const char* product, const char* name, const char* language,
                   std::vector<std::string> profiles) {
  ProductRow row;
  row.product.release = release;
  row.product.product = product;
  row.product.name = name;
  row.product.language = language;
  row.product.profiles = profiles;
  for (const std::string& p : profiles) row.profiles.push_back({p, true});
  row.checked = !profiles.empty();
  return row;
}

ProductList TwoProducts() {
  std::vector<ProductRow> rows = {
      Product("R15.0", "ACAD-1:804", "AutoCAD 2002", "Chinese", {"Drafting", "Plot 1:50"}),
      Product("R16.0", "CADHOST-1:409", "CADHOST 2004", "English", {"<<Unnamed Profile>>", "Survey"})};
  rows[1].profiles[1].checked = false;
  return ProductList(std::move(rows), {1, 0});
}

// Records what the window asked for outside itself.
struct Recorder {
  std::vector<ProductList> applied;
  int homePages = 0;
  int helps = 0;
  std::vector<std::string> messages;
  Result applyResult;

  SetupDialogActions Actions() {
    SetupDialogActions a;
    a.apply = [this](const ProductList& l) {
      applied.push_back(l);
      return applyResult;
    };
    a.openHomePage = [this] { ++homePages; };
    a.openHelp = [this] { ++helps; };
    a.message = [this](std::string_view t) { messages.emplace_back(t); };
    return a;
  }
};

class SetupDialogTest : public ::testing::Test {
 protected:
  Recorder rec_;
  SetupDialog dialog_{TwoProducts(), rec_.Actions()};
};

TEST_F(SetupDialogTest, ShowsTheProductsWithTheirProfilesTicksAndStartupRow) {
  EXPECT_EQ(dialog_.windowTitle(), QString::fromUtf8("VexTable For AutoCAD Load Setting － Harbek  SoftWare"));
  QTreeWidget* tree = dialog_.Tree();
  EXPECT_EQ(tree->objectName(), "4097");
  ASSERT_EQ(tree->columnCount(), 2);
  EXPECT_EQ(tree->headerItem()->text(0), "AutoCAD Version");
  EXPECT_EQ(tree->headerItem()->text(1), "Default Startup");
  EXPECT_EQ(tree->columnWidth(0), 230);
  EXPECT_EQ(tree->columnWidth(1), 150);
  ASSERT_EQ(tree->topLevelItemCount(), 2);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "AutoCAD 2002_Chinese");
  EXPECT_EQ(tree->topLevelItem(1)->text(0), "CADHOST 2004_English");
  ASSERT_EQ(tree->topLevelItem(1)->childCount(), 2);
  EXPECT_EQ(tree->topLevelItem(1)->child(0)->text(0), "<<Unnamed Profile>>");
  EXPECT_EQ(dialog_.Item({1, 1})->checkState(0), Qt::Unchecked);
  EXPECT_EQ(dialog_.Item({1, -1})->checkState(0), Qt::Checked);
  EXPECT_EQ(dialog_.Item({0, 0})->checkState(0), Qt::Checked);
  // Exactly one row shows the start-up choice.
  int shown = 0;
  for (int i = 0; i < 2; ++i)
    for (int j = -1; j < 2; ++j) shown += dialog_.Item({i, j})->text(1) == "Set this to startup.";
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(dialog_.Item({1, 0})->text(1), "Set this to startup.");
  EXPECT_TRUE(dialog_.Item({0, -1})->isExpanded());
}

TEST_F(SetupDialogTest, ControlsCarryTheirIdsAndTheListTakesTheFramesPlace) {
  EXPECT_EQ(dialog_.objectName(), "102");
  for (auto [button, text, id] : {std::tuple{dialog_.DefaultButton(), "Default", "3"},
                                  std::tuple{dialog_.HelpButton(), "Help", "1004"},
                                  std::tuple{dialog_.OkButton(), "OK", "1"},
                                  std::tuple{dialog_.CancelButton(), "Cancel", "2"}}) {
    EXPECT_EQ(button->text(), text);
    EXPECT_EQ(button->objectName(), id);
  }
  auto* frame = dialog_.findChild<QWidget*>("1008");
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->isHidden());
  EXPECT_EQ(dialog_.Tree()->geometry(), frame->geometry());
  EXPECT_NE(dialog_.findChild<QLabel*>("1002"), nullptr);
  bool hint = false;
  for (QLabel* l : dialog_.findChildren<QLabel*>()) hint |= l->text() == "Please select load VexTable and start AutoCAD.";
  EXPECT_TRUE(hint);
  // Logo on top, the list below it, the buttons in a row under the list.
  EXPECT_LE(dialog_.Logo()->geometry().bottom(), dialog_.Tree()->geometry().top());
  EXPECT_LT(dialog_.Tree()->geometry().bottom(), dialog_.OkButton()->geometry().top());
  EXPECT_LE(dialog_.CancelButton()->geometry().right(), dialog_.width());
}

TEST_F(SetupDialogTest, UntickingAProductUnticksItsProfiles) {
  dialog_.Item({0, -1})->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(dialog_.Item({0, 0})->checkState(0), Qt::Unchecked);
  EXPECT_EQ(dialog_.Item({0, 1})->checkState(0), Qt::Unchecked);
  EXPECT_FALSE(dialog_.List().Checked({0, 0}));
  EXPECT_EQ(dialog_.Item({1, 0})->checkState(0), Qt::Checked);
}

TEST_F(SetupDialogTest, TheSpaceKeyTicksTheCurrentProfileAndItsProductFollows) {
  dialog_.show();
  QTreeWidget* tree = dialog_.Tree();
  tree->setFocus();
  tree->setCurrentItem(dialog_.Item({1, 0}), 0);
  QTest::keyClick(tree, Qt::Key_Space);
  EXPECT_EQ(dialog_.Item({1, 0})->checkState(0), Qt::Unchecked);
  EXPECT_FALSE(dialog_.List().Checked({1, -1})) << "its other profile was unticked already";
  EXPECT_EQ(dialog_.Item({1, -1})->checkState(0), Qt::Unchecked);
  QTest::keyClick(tree, Qt::Key_Space);
  EXPECT_EQ(dialog_.Item({1, -1})->checkState(0), Qt::Checked);
}

TEST_F(SetupDialogTest, TheSecondColumnsDropDownChoosesTheStartupRow) {
  dialog_.show();
  QTreeWidget* tree = dialog_.Tree();
  const QRect cell = tree->visualItemRect(dialog_.Item({0, 1}));
  const QPoint inSecondColumn(tree->columnViewportPosition(1) + 10, cell.center().y());
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, inSecondColumn);
  auto* combo = tree->findChild<QComboBox*>();
  ASSERT_NE(combo, nullptr) << "a click opens the drop-down";
  ASSERT_EQ(combo->count(), 1);
  EXPECT_EQ(combo->itemText(0), "Set this to startup.");
  EXPECT_EQ(combo->currentIndex(), -1) << "opens with nothing chosen";
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(dialog_.List().Startup(), (RowRef{0, 1}));
  EXPECT_EQ(dialog_.Item({0, 1})->text(1), "Set this to startup.");
  EXPECT_EQ(dialog_.Item({1, 0})->text(1), "") << "one start-up row";
}

TEST_F(SetupDialogTest, DefaultTicksEverythingAndChoosesTheFirstProduct) {
  dialog_.Item({0, -1})->setCheckState(0, Qt::Unchecked);
  QTest::mouseClick(dialog_.DefaultButton(), Qt::LeftButton);
  for (int i = 0; i < 2; ++i)
    for (int j = -1; j < 2; ++j) EXPECT_EQ(dialog_.Item({i, j})->checkState(0), Qt::Checked) << i << "," << j;
  EXPECT_EQ(dialog_.Item({0, -1})->text(1), "Set this to startup.");
  EXPECT_EQ(dialog_.Item({1, 0})->text(1), "");
  EXPECT_TRUE(rec_.applied.empty()) << "Default writes nothing by itself";
}

TEST_F(SetupDialogTest, OkAppliesWhatTheListShowsAndCloses) {
  dialog_.show();
  dialog_.Item({1, 0})->setCheckState(0, Qt::Unchecked);
  QTest::mouseClick(dialog_.OkButton(), Qt::LeftButton);
  ASSERT_EQ(rec_.applied.size(), 1u);
  EXPECT_FALSE(rec_.applied[0].AnyProfileChecked(1));
  EXPECT_TRUE(rec_.applied[0].AnyProfileChecked(0));
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
}

TEST_F(SetupDialogTest, OkThatCannotWriteSaysWhyAndStaysOpen) {
  dialog_.show();
  rec_.applyResult = Result(ErrorCode::kMalformed, "The registry cannot be read");
  QTest::mouseClick(dialog_.OkButton(), Qt::LeftButton);
  EXPECT_EQ(rec_.messages, std::vector<std::string>{"The registry cannot be read"});
  EXPECT_TRUE(dialog_.isVisible());
}

TEST_F(SetupDialogTest, CancelClosesWithoutApplying) {
  dialog_.show();
  QTest::mouseClick(dialog_.CancelButton(), Qt::LeftButton);
  EXPECT_EQ(dialog_.result(), QDialog::Rejected);
  EXPECT_TRUE(rec_.applied.empty());
}

TEST_F(SetupDialogTest, HelpButtonAndHelpKeyOpenTheHelp) {
  dialog_.show();
  QTest::mouseClick(dialog_.HelpButton(), Qt::LeftButton);
  EXPECT_EQ(rec_.helps, 1);
  QTest::keyClick(&dialog_, Qt::Key_F1);
  EXPECT_EQ(rec_.helps, 2);
  // From the list too, where the focus usually is.
  QTest::keyClick(dialog_.Tree(), Qt::Key_F1);
  EXPECT_EQ(rec_.helps, 3);
}

TEST_F(SetupDialogTest, LogoAndLinkOpenTheHomePage) {
  dialog_.show();
  QTest::mouseClick(dialog_.Logo(), Qt::LeftButton);
  EXPECT_EQ(rec_.homePages, 1);
  QTest::mouseClick(dialog_.HomeLink(), Qt::LeftButton);
  EXPECT_EQ(rec_.homePages, 2);
  EXPECT_EQ(dialog_.HomeLink()->objectName(), "1003");
}

TEST_F(SetupDialogTest, RendersTheBannerAndTheList) {
  dialog_.show();
  const QImage shot = dialog_.grab().toImage();
  ASSERT_FALSE(shot.isNull());
  if (const QByteArray path = qgetenv("SETUP_DIALOG_PNG"); !path.isEmpty()) shot.save(QString::fromLocal8Bit(path));
  // The banner is dark blue at its left end; the list's background is not.
  const QColor banner = shot.pixelColor(2, 2);
  EXPECT_LT(banner.red(), 80);
  EXPECT_GT(banner.blue(), banner.red());
  const QRect list = dialog_.Tree()->geometry();
  const QColor below = shot.pixelColor(list.center().x(), list.bottom() - 4);
  EXPECT_GT(below.red(), 150);
}

}  // namespace
}  // namespace vex::setup
