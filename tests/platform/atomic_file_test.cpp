#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/temp_dir.h"

namespace vex::platform {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

int FilesIn(const std::string& folder) {
  return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFile, UnfinishedWriteLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  const std::string path = dir.File("t.vtf");
  WriteFile(path, "old");
  {
    AtomicFileWriter w(path);
    w.Write("new content");
  }  // no Commit
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST(AtomicFile, TwoWritersOfOneFileUseTheirOwnTemporaries) {
  TempDir dir;
  const std::string path = dir.File("t.vtf");
  AtomicFileWriter a(path), b(path);
  a.Write("first");
  b.Write("second");
  ASSERT_TRUE(a.Commit());
  EXPECT_EQ(ReadFile(path), "first");
  ASSERT_TRUE(b.Commit());
  EXPECT_EQ(ReadFile(path), "second");  // whole files, never a mix
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

TEST(AtomicFile, DanglingLinkIsWrittenThroughToItsTarget_Issue11) {
  TempDir dir;
  fs::create_symlink("target.vtf", dir.File("link.vtf"));
  ASSERT_TRUE(WriteFileAtomically(dir.File("link.vtf"), "x"));
  EXPECT_TRUE(fs::is_symlink(dir.File("link.vtf")));
  EXPECT_EQ(ReadFile(dir.File("target.vtf")), "x");
}

TEST(AtomicFile, LinkLoopFailsInsteadOfHanging) {
  TempDir dir;
  fs::create_symlink("b", dir.File("a"));
  fs::create_symlink("a", dir.File("b"));
  EXPECT_FALSE(WriteFileAtomically(dir.File("a"), "x"));
}

TEST(AtomicFile, SignalRemovesTheTemporaryFilesOfWritersAtWork_Issue11) {
  TempDir dir;
  const std::string path = dir.File("big.vtf");
  WriteFile(path, "old");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RemoveTemporaryFilesOnSignals();
    AtomicFileWriter w(path);
    w.Write(std::string(4 << 20, 'x'));  // past the buffer: the temporary file holds data
    std::raise(SIGTERM);
    ::_exit(0);  // not reached
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(FilesIn(dir.path()), 1);
}

}  // namespace
}  // namespace vex::platform
