// Recalling earlier input at the command line.

#include "cadhost/ui/input_history.h"

#include <gtest/gtest.h>

namespace cadhost::ui {
namespace {

TEST(InputHistory, UpGoesBackDownForwardToWhatWasBeingTyped) {
  InputHistory h;
  h.Add("LINE");
  h.Add("CIRCLE");
  EXPECT_EQ(h.Up("ER"), "CIRCLE");
  EXPECT_EQ(h.Up("ignored"), "LINE");
  EXPECT_EQ(h.Up("x"), std::nullopt) << "at the oldest";
  EXPECT_EQ(h.Down(), "CIRCLE");
  EXPECT_EQ(h.Down(), "ER") << "back to the line being typed";
  EXPECT_EQ(h.Down(), std::nullopt);
}

TEST(InputHistory, EmptyLinesAndRepeatsAreNotKept) {
  InputHistory h;
  h.Add("");
  h.Add("MOVE");
  h.Add("MOVE");
  EXPECT_EQ(h.Size(), 1u);
  EXPECT_EQ(h.Down(), std::nullopt) << "not recalling";
  for (int i = 0; i < 300; ++i) h.Add(std::to_string(i));
  EXPECT_EQ(h.Size(), InputHistory::kMaxEntries);
  EXPECT_EQ(h.Up(""), "299");
  h.Add("again");
  EXPECT_EQ(h.Up(""), "again") << "a new entry restarts the recall";
}

}  // namespace
}  // namespace cadhost::ui
