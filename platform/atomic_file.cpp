#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace vex::platform {
namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string Reason(const std::string& what, const std::string& path) {
  return what + " \"" + path + "\": " + std::strerror(errno);
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

FileResult WriteFileAtomically(const std::string& path, std::string_view content) {
  if (path.empty()) return FileResult::Fail("cannot write a file without a name");
  const std::string folder = FolderOf(path);
  const std::string base = path.substr(path.find_last_of('/') + 1);
  std::string tmpl = folder + "/." + base + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');

  const int fd = ::mkstemp(name.data());
  if (fd < 0) return FileResult::Fail(Reason("cannot create a temporary file beside", path));
  const std::string tmp(name.data());

  struct stat old{};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;

  bool good = WriteAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  std::string why = good ? "" : Reason("cannot write", tmp);
  if (::close(fd) != 0 && good) {
    good = false;
    why = Reason("cannot write", tmp);
  }
  if (good && ::rename(tmp.c_str(), path.c_str()) != 0) {
    good = false;
    why = Reason("cannot replace", path);
  }
  if (!good) {
    ::unlink(tmp.c_str());
    return FileResult::Fail(why);
  }
  return {};
}

FileResult ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FileResult::Fail(Reason("cannot open", path));
  struct stat st{};
  if (::fstat(fd, &st) != 0) {
    const auto r = FileResult::Fail(Reason("cannot read", path));
    ::close(fd);
    return r;
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    return FileResult::Fail("\"" + path + "\" is a folder, not a file");
  }
  if (static_cast<std::size_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return FileResult::Fail("\"" + path + "\" is too large (" + std::to_string(st.st_size) +
                            " bytes; at most " + std::to_string(maxBytes) + ")");
  }
  out.reserve(static_cast<std::size_t>(st.st_size));
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const auto r = FileResult::Fail(Reason("cannot read", path));
      ::close(fd);
      return r;
    }
    if (n == 0) break;
    if (out.size() + static_cast<std::size_t>(n) > maxBytes) {
      ::close(fd);
      return FileResult::Fail("\"" + path + "\" is too large (more than " +
                              std::to_string(maxBytes) + " bytes)");
    }
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return {};
}

}  // namespace vex::platform
