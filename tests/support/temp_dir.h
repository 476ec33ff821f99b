#pragma once
// A scratch folder for one test, removed with everything in it when the test ends.

#include <string>

namespace vex::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, with a trailing '/'.
  const std::string& path() const { return path_; }
  // path() + name.
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Writes bytes to a file (test set-up; aborts the test on failure).
void WriteFile(const std::string& path, const std::string& bytes);
// The bytes of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);

}  // namespace vex::test
