#include "excel/workbook_viewer.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "excel/xlsx_writer.h"

namespace vex::excel {
namespace {

namespace fs = std::filesystem;

// Starts the desktop's opener for `path` and does not wait for it: the spreadsheet program
// lives on after the command. Two forks, so that no zombie is left behind.
Result OpenOnDesktop(const std::string& path) {
  const pid_t child = ::fork();
  if (child < 0) return Result(ErrorCode::kCannotRead, "the workbook cannot be opened (no process)");
  if (child == 0) {
    ::setsid();
    if (::fork() == 0) {
      const int null = ::open("/dev/null", O_RDWR);
      if (null >= 0) {
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
      }
      ::execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return Result::Ok();
}

}  // namespace

ResultOr<std::string> ReserveBookPath(const std::string& folder) {
  for (int n = 1; n < 100000; ++n) {
    const std::string path = (fs::path(folder) / ("Book" + std::to_string(n) + ".xlsx")).string();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) return Result(ErrorCode::kCannotWrite, "no workbook can be made in \"" + folder + "\"");
  }
  return Result(ErrorCode::kCannotWrite, "\"" + folder + "\" holds too many workbooks named BookN.xlsx");
}

Result DesktopWorkbookViewer::Show(const SheetData& sheet, std::string& shownAt) {
  std::error_code ec;
  const std::string folder = folder_.empty() ? fs::temp_directory_path(ec).string() : folder_;
  ResultOr<std::string> path = ReserveBookPath(folder);
  if (!path) return path.result();
  if (const Result written = WriteXlsx(sheet, path.value()); !written) {
    fs::remove(path.value(), ec);
    return written;
  }
  shownAt = path.value();
  return OpenOnDesktop(path.value());
}

Result FileWorkbookViewer::Show(const SheetData& sheet, std::string& shownAt) {
  if (const Result written = WriteXlsx(sheet, path_); !written) return written;
  shownAt = path_;
  return Result::Ok();
}

}  // namespace vex::excel
