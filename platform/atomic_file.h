#pragma once
// Replacing a user's file so that a failure never loses the old one.

#include <string>
#include <string_view>

namespace vex::platform {

// Outcome of a file operation: ok, or the reason it failed.
struct FileResult {
  bool ok = true;
  std::string error;  // "" when ok; otherwise a one-line reason naming the file

  explicit operator bool() const { return ok; }
  static FileResult Fail(std::string why) { return {false, std::move(why)}; }
};

// Writes `content` to a temporary file in the folder of `path`, flushes it to disk and renames
// it over `path`. The old file, if any, is untouched until the rename and keeps its permission
// bits. On failure the temporary file is removed and the reason is returned.
FileResult WriteFileAtomically(const std::string& path, std::string_view content);

// Reads a whole file. Fails with a reason when it cannot be opened or read, or when it is
// larger than `maxBytes` (input is untrusted; callers pick the bound that fits the format).
FileResult ReadWholeFile(const std::string& path, std::string& out,
                         std::size_t maxBytes = std::size_t(1) << 30);

}  // namespace vex::platform
