#pragma once
// Replacing a user's file so that a failure never loses the old one.

#include <string>
#include <string_view>

#include "platform/result.h"

namespace vex::platform {

// Writes a file in pieces to a temporary file (a unique name) in the folder of `path` and, on
// Commit, flushes it to disk and renames it over `path`. Destroyed without a successful Commit,
// it removes the temporary file and leaves `path` as it was. A `path` that is a symbolic link is
// written through: its target is replaced and the link stays. For content too large to build
// in memory first.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Appends bytes (buffered). A failure is remembered and reported by Commit.
  void Write(std::string_view bytes);
  Result Commit();

 private:
  void Flush();

  std::string path_;
  std::string tmp_;
  int fd_ = -1;
  std::string buffer_;
  std::string error_;
  bool committed_ = false;
  int pendingSlot_ = -1;
};

// Installs handlers of SIGINT, SIGTERM and SIGHUP that remove the temporary files of writers
// still at work, then end the program as the signal would have. For programs (the batch tool);
// a plug-in leaves the host's signals alone.
void RemoveTemporaryFilesOnSignals();

// Writes `content` to a temporary file in the folder of `path`, flushes it to disk and renames
// it over `path`. The old file, if any, is untouched until the rename and keeps its permission
// bits. On failure the temporary file is removed and the reason is returned.
Result WriteFileAtomically(const std::string& path, std::string_view content);

// Reads a whole file. Fails with a reason when it cannot be opened or read, or when it is
// larger than `maxBytes` (input is untrusted; callers pick the bound that fits the format).
Result ReadWholeFile(const std::string& path, std::string& out,
                         std::size_t maxBytes = std::size_t(1) << 30);

}  // namespace vex::platform
