// Undo and redo of a grid's table: each kind of change comes back exactly, steps group and
// join as the editor asks, and what is kept is the change, not the table.

#include <gtest/gtest.h>

#include "model/grid_from_table.h"
#include "model/grid_journal.h"
#include "model/grid_table_clipboard.h"
#include "model/grid_to_table.h"
#include "model/merge_blocks.h"
#include "support/tables.h"

namespace vex {
namespace {

class JournalTest : public testing::Test {
 protected:
  void SetUp() override {
    TableData t = test::NamedTable(6, 5, 10, 20);
    AppendMergeSpans(t, {{1, 1, 2, 2}, {4, 0, 4, 3}});
    t.rows[0].cells[0].nType = kImageCell;
    t.rows[0].cells[0].sBlockName = "P1";
    ASSERT_TRUE(LoadTableIntoGrid(g, t, 1.0, 3.5));
    journal = std::make_unique<GridJournal>(g);
    before = Snapshot();
  }
  // Everything undo must bring back: the table as taken, and the grid's own cell values.
  TableData Snapshot() const { return TakeTableFromGrid(g, 1.0, TextHeights::kExact); }
  void ExpectUndoRedo(const std::function<void()>& change) {
    {
      JournalStep step(journal.get());
      change();
    }
    const TableData after = Snapshot();
    ASSERT_NE(after, before) << "the change changed nothing";
    ASSERT_TRUE(journal->Undo());
    EXPECT_EQ(Snapshot(), before);
    ASSERT_TRUE(journal->Redo());
    EXPECT_EQ(Snapshot(), after);
    ASSERT_TRUE(journal->Undo());
    EXPECT_EQ(Snapshot(), before);
  }

  GridModel g;
  std::unique_ptr<GridJournal> journal;
  TableData before;
};

TEST_F(JournalTest, CellValues) {
  ExpectUndoRedo([&] {
    g.SetText(3, 3, "typed");
    g.SetFormat(3, 3, 10);
    g.SetFontHeight(3, 3, 31);
    g.SetKind(2, 4, kImageCell);
    CellImage p;
    p.sBlockName = "X";
    p.dScael = 0.5;
    g.SetPicture(2, 4, p);
    g.ClearPicture(1, 1);
  });
}

TEST_F(JournalTest, SizesAndMerges) {
  ExpectUndoRedo([&] {
    g.SetRowHeight(2, 90);
    g.SetColumnWidth(5, 7);
    g.Unmerge({2, 2, 2, 2});  // dissolves the 2 x 2 block
    g.Merge({5, 1, 5, 2});    // cuts into the one-row block, which goes
    g.Merge({5, 4, 6, 5});
  });
}

TEST_F(JournalTest, InsertedRowsAndColumns) {
  ExpectUndoRedo([&] {
    ASSERT_EQ(g.InsertRow(3), 3);   // inside the 2 x 2 block: it grows
    g.SetRowHeight(3, 17);
    g.SetText(3, 1, "new");
    ASSERT_EQ(g.InsertColumn(1), 1);  // left of every block
    g.SetColumnWidth(1, 23);
    ASSERT_EQ(g.InsertColumn(-1), 7);
  });
}

TEST_F(JournalTest, DeletedRowsAndColumnsBringTheirBlocksBack) {
  ExpectUndoRedo([&] {
    ASSERT_TRUE(g.DeleteRow(2));     // the 2 x 2 block's first row: one row of it is left
    ASSERT_TRUE(g.DeleteColumn(3));  // and then one cell: it dissolves
    ASSERT_TRUE(g.DeleteColumn(1));  // the one-row block's first column
  });
}

TEST_F(JournalTest, MixedStructureAndCellsInOneStep) {
  ExpectUndoRedo([&] {
    g.SetText(2, 2, "before insert");
    ASSERT_EQ(g.InsertRow(1), 1);
    g.SetText(3, 2, "after insert");  // the same cell, moved down
    ASSERT_TRUE(g.DeleteColumn(2));
    g.SetText(3, 2, "after delete");
  });
}

TEST_F(JournalTest, PasteOfAFragmentIsOneStep) {
  TableData fragment = test::NamedTable(3, 3);
  AppendMergeSpans(fragment, {{0, 0, 1, 2}});
  ExpectUndoRedo([&] { PasteTableIntoGrid(g, fragment, {2, 2}, 18); });
}

TEST_F(JournalTest, StepsGroupNestAndDropWhenEmpty) {
  {
    JournalStep outer(journal.get());
    g.SetText(1, 1, "a");
    {
      JournalStep inner(journal.get());
      g.SetText(1, 2, "b");
    }
  }
  EXPECT_EQ(journal->UndoCount(), 1u);
  {
    JournalStep nothing(journal.get());
    g.SetText(1, 3, g.Text(1, 3));  // the same text again
  }
  EXPECT_EQ(journal->UndoCount(), 1u);
  // A change outside any step is a step of its own.
  g.SetText(2, 1, "loose");
  g.SetText(2, 2, "loose too");
  EXPECT_EQ(journal->UndoCount(), 2u);
  ASSERT_TRUE(journal->Undo());
  EXPECT_EQ(g.Text(2, 1), "r1c0");
  EXPECT_EQ(g.Text(2, 2), "r1c1");
  // A new change drops what could be redone.
  g.SetText(3, 3, "new");
  EXPECT_FALSE(journal->CanRedo());
}

TEST_F(JournalTest, StepsOfOneKeyJoinUntilSomethingElseHappens) {
  for (const char* typed : {"3", "3.", "3.5"}) {
    JournalStep step(journal.get(), 7);
    g.SetText(6, 5, typed);
  }
  EXPECT_EQ(journal->UndoCount(), 1u);
  {
    JournalStep other(journal.get(), 8);
    g.SetText(6, 5, "4");
  }
  EXPECT_EQ(journal->UndoCount(), 2u);
  ASSERT_TRUE(journal->Undo());
  EXPECT_EQ(g.Text(6, 5), "3.5");
  {
    JournalStep again(journal.get(), 7);  // after an undo nothing joins
    g.SetText(6, 5, "5");
  }
  EXPECT_EQ(journal->UndoCount(), 2u);
  ASSERT_TRUE(journal->Undo());
  ASSERT_TRUE(journal->Undo());
  EXPECT_EQ(g.Text(6, 5), "r5c4");
}

TEST_F(JournalTest, PausedChangesAndActions) {
  {
    JournalPause pause(journal.get());
    g.SetText(0, 1, "header");
  }
  EXPECT_FALSE(journal->CanUndo());
  int undone = 0, redone = 0;
  journal->RecordAction([&] { ++undone; }, [&] { ++redone; });
  ASSERT_TRUE(journal->Undo());
  ASSERT_TRUE(journal->Redo());
  EXPECT_EQ(std::pair(undone, redone), std::pair(1, 1));
  // Rebuilding the grid without pausing drops the history: its positions mean nothing now.
  g.SetText(1, 1, "x");
  ASSERT_TRUE(journal->CanUndo());
  g.DeleteAllItems();
  EXPECT_FALSE(journal->CanUndo());
  EXPECT_FALSE(journal->CanRedo());
}

TEST_F(JournalTest, KeepsAtLeastAHundredStepsAndForgetsTheOldest) {
  GridJournal small(g, 100);
  journal.reset();
  for (int i = 0; i < 120; ++i) {
    JournalStep step(&small);
    g.SetText(1, 1, std::to_string(i));
  }
  EXPECT_EQ(small.UndoCount(), 100u);
  while (small.Undo()) {
  }
  EXPECT_EQ(g.Text(1, 1), "19");
}

TEST_F(JournalTest, PixelsFollowAZoomChange) {
  ASSERT_EQ(g.RowHeight(2), 50);
  {
    JournalStep step(journal.get());
    g.SetRowHeight(2, 300);
    g.SetFontHeight(2, 2, 20);
  }
  // The grid is shown at double size now: what undo and redo restore doubles too.
  {
    JournalPause pause(journal.get());
    g.SetRowHeight(2, 600);
    g.SetFontHeight(2, 2, 40);
  }
  journal->ConvertPixels([](int px) { return px * 2; }, [](int px) { return px * 3; });
  ASSERT_TRUE(journal->Undo());
  EXPECT_EQ(g.RowHeight(2), 100);
  EXPECT_EQ(g.FontHeight(2, 2), 16 * 3);
  ASSERT_TRUE(journal->Redo());
  EXPECT_EQ(g.RowHeight(2), 600);
  EXPECT_EQ(g.FontHeight(2, 2), 60);
}

}  // namespace
}  // namespace vex
