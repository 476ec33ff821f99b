#include "platform/shell.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vex::platform {
namespace {

// What went wrong in the started child, sent back over a pipe that closes on exec: an exec
// that works sends nothing.
struct ChildFailure {
  int step;  // 0: changing folder, 1: starting the program, 2: forking
  int error;
};

std::vector<char*> ArgvOf(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  return args;
}

Result Failure(const std::vector<std::string>& argv, const std::string& folder, const ChildFailure& f) {
  if (f.step == 0)
    return Result(ErrorCode::kNotFound, "cannot change to the folder \"" + folder + "\": " + std::strerror(f.error));
  return Result(f.error == ENOENT ? ErrorCode::kNotFound : ErrorCode::kRefused,
                "cannot start \"" + argv[0] + "\": " + std::strerror(f.error));
}

void WriteAll(int fd, const ChildFailure& f) {
  [[maybe_unused]] const ssize_t n = ::write(fd, &f, sizeof f);
}

}  // namespace

Result StartDetached(const std::vector<std::string>& argv, const std::string& workingFolder, bool quiet) {
  if (argv.empty() || argv[0].empty()) return Result(ErrorCode::kRefused, "no program to start");
  // Everything the children need is made before forking: a host has threads, and between
  // fork and exec only async-signal-safe calls are sound.
  std::vector<char*> args = ArgvOf(argv);
  const char* folder = workingFolder.empty() ? nullptr : workingFolder.c_str();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0)
    return Result(ErrorCode::kRefused, std::string("cannot start a program: ") + std::strerror(errno));
  const pid_t child = ::fork();
  if (child < 0) {
    const int e = errno;
    ::close(fds[0]);
    ::close(fds[1]);
    return Result(ErrorCode::kRefused, std::string("cannot start a program: ") + std::strerror(e));
  }
  if (child == 0) {
    // The middle process ends at once, so the program is nobody's child here and no zombie
    // waits for a parent that never reaps it.
    ::close(fds[0]);
    const pid_t grandchild = ::fork();
    if (grandchild < 0) {
      WriteAll(fds[1], {2, errno});
      ::_exit(1);
    }
    if (grandchild == 0) {
      if (quiet) {
        ::setsid();
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
          ::dup2(null, 0);
          ::dup2(null, 1);
          ::dup2(null, 2);
        }
      }
      if (folder != nullptr && ::chdir(folder) != 0) {
        WriteAll(fds[1], {0, errno});
        ::_exit(127);
      }
      ::execvp(args[0], args.data());
      WriteAll(fds[1], {1, errno});
      ::_exit(127);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  ChildFailure failure{};
  ssize_t got;
  while ((got = ::read(fds[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
  }
  ::close(fds[0]);
  if (got == static_cast<ssize_t>(sizeof failure)) {
    if (failure.step == 2)
      return Result(ErrorCode::kRefused, std::string("cannot start a program: ") + std::strerror(failure.error));
    return Failure(argv, workingFolder, failure);
  }
  return Result::Ok();
}

Result OpenOnDesktop(const std::string& target) {
  return StartDetached({"xdg-open", target}, "", true);
}

Result ReplaceProcess(const std::vector<std::string>& argv, const std::string& workingFolder) {
  if (argv.empty() || argv[0].empty()) return Result(ErrorCode::kRefused, "no program to start");
  std::vector<char*> args = ArgvOf(argv);
  const int here = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) {
    const int e = errno;
    if (here >= 0) ::close(here);
    return Failure(argv, workingFolder, {0, e});
  }
  // What this process printed must not be lost with its buffers.
  std::fflush(nullptr);
  ::execvp(args[0], args.data());
  const int e = errno;
  if (here >= 0) {
    [[maybe_unused]] const int back = ::fchdir(here);
    ::close(here);
  }
  return Failure(argv, workingFolder, {1, e});
}

}  // namespace vex::platform
