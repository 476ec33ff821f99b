#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
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

// The file a path names once symbolic links are followed: a save through a link must replace
// the link's target, not the link (which would leave the target stale and the link a copy).
// A dangling link names the file it points to; a loop of links gives "" after 40 steps.
std::string ResolveLinks(std::string path) {
  for (int step = 0; step < 40; ++step) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1);
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size() - 1);
    if (n <= 0) return path;
    std::string next(target.data(), static_cast<std::size_t>(n));
    if (next.front() != '/') {
      const auto slash = path.find_last_of('/');
      next = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
    }
    path = std::move(next);
  }
  return {};
}

// Temporary files being written, so that an interrupted program removes them. Plain atomics
// of C strings: the signal handler may only unlink, never lock or allocate.
constexpr int kPendingSlots = 64;
std::atomic<char*> g_pending[kPendingSlots];

int Remember(const std::string& name) {
  char* copy = ::strdup(name.c_str());
  for (int i = 0; i < kPendingSlots && copy != nullptr; ++i) {
    char* expected = nullptr;
    if (g_pending[i].compare_exchange_strong(expected, copy)) return i;
  }
  std::free(copy);
  return -1;  // more writers at once than slots: that file is not cleaned on a signal
}

void Forget(int slot) {
  if (slot < 0) return;
  std::free(g_pending[slot].exchange(nullptr));
}

void RemovePendingAndDie(int sig) {
  for (auto& slot : g_pending)
    if (const char* name = slot.load()) ::unlink(name);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

}  // namespace

void RemoveTemporaryFilesOnSignals() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action{};
    action.sa_handler = RemovePendingAndDie;
    sigemptyset(&action.sa_mask);
    ::sigaction(sig, &action, nullptr);
  }
}

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {
  if (path_.empty()) {
    error_ = "cannot write a file without a name";
    return;
  }
  const std::string named = path_;
  path_ = ResolveLinks(path_);
  if (path_.empty()) {
    path_ = named;
    error_ = "cannot write \"" + named + "\": its symbolic links go round in a loop";
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
  pendingSlot_ = Remember(tmp_);
  buffer_.reserve(kBufferBytes);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !tmp_.empty()) ::unlink(tmp_.c_str());
  Forget(pendingSlot_);
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
  Forget(pendingSlot_);
  pendingSlot_ = -1;
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
