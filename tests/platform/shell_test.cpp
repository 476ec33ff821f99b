// Starting programs without a command interpreter: arguments arrive unchanged.

#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace vex::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Arguments a shell would have expanded, split or choked on.
const std::vector<std::string> kAwkward = {"Plot 1:50", "$(touch pwned)", "'q\"", "", "a;b|c"};
const std::string kAwkwardPrinted = "[Plot 1:50]\n[$(touch pwned)]\n['q\"]\n[]\n[a;b|c]\n";

// A program that prints its folder and arguments into the file named by its first argument.
std::vector<std::string> Recorder(const std::string& into) {
  std::vector<std::string> argv = {"/bin/sh", "-c", "exec >\"$0\"; pwd -P; printf '[%s]\\n' \"$@\"", into};
  argv.insert(argv.end(), kAwkward.begin(), kAwkward.end());
  return argv;
}

// Everything written into a named pipe until its writer closes it. Reading waits for the
// writer, so no test waits for a time.
std::string ReadFifo(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Physical(const std::string& folder) { return fs::canonical(folder).string(); }

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(work_.File("here"));
    ASSERT_EQ(::mkfifo(fifo_.c_str(), 0600), 0);
  }
  TempDir work_;
  std::string fifo_ = work_.File("out.fifo");
};

TEST_F(ShellTest, StartDetachedPassesArgumentsUnchangedInTheFolder) {
  ASSERT_TRUE(StartDetached(Recorder(fifo_), work_.File("here")).ok());
  EXPECT_EQ(ReadFifo(fifo_), Physical(work_.File("here")) + "\n" + kAwkwardPrinted);
  EXPECT_FALSE(fs::exists(work_.File("here/pwned")));
}

struct BadStart {
  const char* name;
  const char* program;  // $W is the scratch folder
  const char* folder;
  ErrorCode code;
  const char* says;
};

class StartDetachedRefuses : public ShellTest, public ::testing::WithParamInterface<BadStart> {};

TEST_P(StartDetachedRefuses, WithTheReason) {
  std::string program = GetParam().program;
  if (program.rfind("$W", 0) == 0) program = work_.File(program.substr(2));
  std::string folder = GetParam().folder;
  if (folder.rfind("$W", 0) == 0) folder = work_.File(folder.substr(2));
  test::WriteFile(work_.File("plain.txt"), "not a program\n");
  const Result r = StartDetached({program, "x"}, folder);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.code(), GetParam().code);
  EXPECT_NE(r.message().find(GetParam().says), std::string::npos) << r.message();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartDetachedRefuses,
    ::testing::Values(BadStart{"missing_program", "$Wnone/prog", "", ErrorCode::kNotFound, "none/prog"},
                      BadStart{"not_in_path", "no-such-program-vextable", "", ErrorCode::kNotFound,
                               "no-such-program-vextable"},
                      BadStart{"not_executable", "$Wplain.txt", "", ErrorCode::kRefused, "plain.txt"},
                      BadStart{"missing_folder", "/bin/true", "$Wgone", ErrorCode::kNotFound, "gone"},
                      BadStart{"empty_program", "", "", ErrorCode::kRefused, "no program"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShellTest, OpenOnDesktopHandsTheTargetToTheOpenerAlone) {
  // A stand-in opener first on PATH tells what it was given.
  fs::create_directories(work_.File("bin"));
  const std::string opener = work_.File("bin/xdg-open");
  test::WriteFile(opener, "#!/bin/sh\nprintf '[%s]\\n' \"$@\" > '" + fifo_ + "'\n");
  fs::permissions(opener, fs::perms::owner_all);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (work_.File("bin") + ":" + oldPath).c_str(), 1);
  const Result r = OpenOnDesktop("https://example.org/a b?x=$(id)&y='1'");
  ::setenv("PATH", oldPath.c_str(), 1);
  ASSERT_TRUE(r.ok()) << r.message();
  EXPECT_EQ(ReadFifo(fifo_), "[https://example.org/a b?x=$(id)&y='1']\n");
}

TEST_F(ShellTest, ReplaceProcessRunsTheProgramInPlace) {
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[0]);
    ::dup2(pipeFds[1], 1);
    std::vector<std::string> argv = Recorder("/dev/stdout");
    (void)ReplaceProcess(argv, work_.File("here"));
    ::_exit(99);
  }
  ::close(pipeFds[1]);
  std::string out;
  char buf[512];
  for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(out, Physical(work_.File("here")) + "\n" + kAwkwardPrinted);
}

TEST_F(ShellTest, ReplaceProcessThatFailsKeepsTheCurrentFolder) {
  const fs::path before = fs::current_path();
  const Result missing = ReplaceProcess({work_.File("none/prog")}, work_.File("here"));
  EXPECT_EQ(missing.code(), ErrorCode::kNotFound);
  EXPECT_NE(missing.message().find("none/prog"), std::string::npos);
  EXPECT_EQ(fs::current_path(), before);
  const Result noFolder = ReplaceProcess({"/bin/true"}, work_.File("gone"));
  EXPECT_EQ(noFolder.code(), ErrorCode::kNotFound);
  EXPECT_NE(noFolder.message().find("gone"), std::string::npos);
  EXPECT_EQ(fs::current_path(), before);
}

}  // namespace
}  // namespace vex::platform
