#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace vex::platform {
namespace {

constexpr std::size_t kBufferBytes = std::size_t(1) << 20;

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

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {
  if (path_.empty()) {
    error_ = "cannot write a file without a name";
    return;
  }
  const std::string folder = FolderOf(path_);
  const std::string base = path_.substr(path_.find_last_of('/') + 1);
  std::string tmpl = folder + "/." + base + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  fd_ = ::mkstemp(name.data());
  if (fd_ < 0) {
    error_ = Reason("cannot create a temporary file beside", path_);
    return;
  }
  tmp_ = name.data();
  buffer_.reserve(kBufferBytes);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !tmp_.empty()) ::unlink(tmp_.c_str());
}

void AtomicFileWriter::Write(std::string_view bytes) {
  if (fd_ < 0 || !error_.empty()) return;
  if (buffer_.size() + bytes.size() > kBufferBytes) Flush();
  if (bytes.size() >= kBufferBytes) {
    if (!WriteAll(fd_, bytes)) error_ = Reason("cannot write", tmp_);
    return;
  }
  buffer_.append(bytes);
}

void AtomicFileWriter::Flush() {
  if (fd_ < 0 || !error_.empty() || buffer_.empty()) return;
  if (!WriteAll(fd_, buffer_)) error_ = Reason("cannot write", tmp_);
  buffer_.clear();
}

Result AtomicFileWriter::Commit() {
  Flush();
  if (!error_.empty()) return Result(ErrorCode::kCannotWrite, error_);
  struct stat old{};
  const mode_t mode = ::stat(path_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) return Result(ErrorCode::kCannotWrite, Reason("cannot write", tmp_));
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Result(ErrorCode::kCannotWrite, Reason("cannot write", tmp_));
  if (::rename(tmp_.c_str(), path_.c_str()) != 0) return Result(ErrorCode::kCannotWrite, Reason("cannot replace", path_));
  committed_ = true;
  return {};
}

Result WriteFileAtomically(const std::string& path, std::string_view content) {
  AtomicFileWriter w(path);
  w.Write(content);
  return w.Commit();
}

Result ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Result(errno == ENOENT ? ErrorCode::kNotFound : ErrorCode::kCannotRead, Reason("cannot open", path));
  struct stat st{};
  if (::fstat(fd, &st) != 0) {
    const Result r(ErrorCode::kCannotRead, Reason("cannot read", path));
    ::close(fd);
    return r;
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    return Result(ErrorCode::kCannotRead, "\"" + path + "\" is a folder, not a file");
  }
  if (static_cast<std::size_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return Result(ErrorCode::kTooLarge, "\"" + path + "\" is too large (" + std::to_string(st.st_size) +
                                                  " bytes; at most " + std::to_string(maxBytes) + ")");
  }
  out.reserve(static_cast<std::size_t>(st.st_size));
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const Result r(ErrorCode::kCannotRead, Reason("cannot read", path));
      ::close(fd);
      return r;
    }
    if (n == 0) break;
    if (out.size() + static_cast<std::size_t>(n) > maxBytes) {
      ::close(fd);
      return Result(ErrorCode::kTooLarge,
                    "\"" + path + "\" is too large (more than " + std::to_string(maxBytes) + " bytes)");
    }
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return {};
}

}  // namespace vex::platform
