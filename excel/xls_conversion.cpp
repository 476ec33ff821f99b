#include "excel/xls_conversion.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace vex::excel {

namespace fs = std::filesystem;

std::optional<std::string> FindOffice() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t colon = dirs.find(':', start);
    const std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    if (!dir.empty()) {
      const std::string candidate = dir + "/soffice";
      if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return std::nullopt;
}

ResultOr<std::string> ConvertToXlsx(const std::string& path, const std::string& folder, int timeoutSeconds) {
  const std::optional<std::string> office = FindOffice();
  if (!office)
    return Result(ErrorCode::kNotFound,
                  "the old .xls format is read through LibreOffice, which is not installed; "
                  "save the workbook as .xlsx and import that");
  // A profile of its own: a LibreOffice the drafter has open would otherwise take the job.
  const std::string profile = "-env:UserInstallation=file://" + fs::absolute(folder).string() + "/profile";
  std::vector<std::string> args = {*office, "--headless", "--norestore", profile, "--convert-to", "xlsx",
                                   "--outdir", folder, path};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return Result(ErrorCode::kCannotRead, "LibreOffice could not be started to convert the .xls file");
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return Result(ErrorCode::kCannotRead, "the conversion of the .xls file was lost");
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return Result(ErrorCode::kCannotRead, "LibreOffice took too long to convert the .xls file");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const std::string out = (fs::path(folder) / fs::path(path).stem()).string() + ".xlsx";
  std::error_code ec;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !fs::exists(out, ec))
    return Result(ErrorCode::kCannotRead, "LibreOffice could not convert the .xls file (is it a workbook?)");
  return out;
}

}  // namespace vex::excel
