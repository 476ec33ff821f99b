// "start": the chosen host program with the chosen profile, as one argument vector.

#include "setup/start_host.h"

#include "setup/registration.h"
#include "setup_test_util.h"

namespace vex::setup::test {
namespace {

// Records what would have been started.
class RecordingStarter final : public ProgramStarter {
 public:
  Result Start(const std::vector<std::string>& argv, const std::string& folder) override {
    starts.push_back({argv, folder});
    return refuse ? Result(ErrorCode::kRefused, "cannot start it") : Result::Ok();
  }
  struct Run {
    std::vector<std::string> argv;
    std::string folder;
  };
  std::vector<Run> starts;
  bool refuse = false;
};

class StartHostTest : public SetupFixture {
 protected:
  void Choose(const char* appName, const char* parameter) {
    ASSERT_TRUE(reg_.SetString(HKLM, StartupKey(), "AppName", appName));
    ASSERT_TRUE(reg_.SetString(HKLM, StartupKey(), "Parameter", parameter));
  }
  RecordingStarter starter_;
};

TEST_F(StartHostTest, StartsTheChosenProductWithTheChosenProfileAsOneArgument) {
  AddTwoReleases();
  Choose("R15.0\\ACAD-1:804", "Plot 1:50 \"A\"");
  const StartOutcome r = Start(reg_, install_.path(), starter_);
  ASSERT_TRUE(r.found);
  ASSERT_TRUE(r.started);
  ASSERT_EQ(starter_.starts.size(), 1u);
  EXPECT_EQ(starter_.starts[0].argv, (std::vector<std::string>{r15_ + "/cadhost", "/p", "Plot 1:50 \"A\""}));
  EXPECT_EQ(starter_.starts[0].folder, r15_);
}

TEST_F(StartHostTest, AnEmptyProfileStartsTheProductsCurrentProfile) {
  AddTwoReleases();
  Choose("R16.0\\ACAD-201:409", "");
  ASSERT_TRUE(Start(reg_, install_.path(), starter_).started);
  ASSERT_EQ(starter_.starts.size(), 1u);
  EXPECT_EQ(starter_.starts[0].argv, std::vector<std::string>{r16_ + "/cadhost"});
}

TEST_F(StartHostTest, WithoutAChoiceEveryProductIsRegisteredAndTheFirstStarts) {
  AddTwoReleases();
  const StartOutcome r = Start(reg_, install_.path(), starter_);
  ASSERT_TRUE(r.started) << r.started.message();
  ASSERT_EQ(starter_.starts.size(), 1u);
  EXPECT_EQ(starter_.starts[0].argv, std::vector<std::string>{r15_ + "/cadhost"});
  EXPECT_EQ(Switch("R16.0", "ACAD-201:409", "Survey"), "TRUE");
  EXPECT_EQ(reg_.GetString(HKLM, StartupKey(), "AppName"), "R15.0\\ACAD-1:804");
}

TEST_F(StartHostTest, NoHostNothingStarted) {
  const StartOutcome r = Start(reg_, install_.path(), starter_);
  EXPECT_FALSE(r.found);
  EXPECT_TRUE(starter_.starts.empty());
}

TEST_F(StartHostTest, AProductWithoutLocationIsNotStarted) {
  AddProduct({"R16.0", "ACAD-202:804", "AutoCAD LT", "Chinese", {"P"}, "-"});
  Choose("R16.0\\ACAD-202:804", "P");
  const StartOutcome r = Start(reg_, install_.path(), starter_);
  EXPECT_TRUE(r.found);
  EXPECT_FALSE(r.started);
  EXPECT_NE(r.started.message().find("AcadLocation"), std::string::npos);
  EXPECT_TRUE(starter_.starts.empty());
}

TEST_F(StartHostTest, AProgramThatCannotStartIsReported) {
  AddTwoReleases();
  Choose("R16.0\\ACAD-201:409", "Survey");
  starter_.refuse = true;
  const StartOutcome r = Start(reg_, install_.path(), starter_);
  EXPECT_FALSE(r.started);
  EXPECT_EQ(r.started.message(), "cannot start it");
}

}  // namespace
}  // namespace vex::setup::test
