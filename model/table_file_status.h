#pragma once
// The outcome of saving or loading a table file.

#include <string>

namespace vex {

struct TableFileStatus {
  bool ok = true;
  std::string error;       // why it failed, naming the file; "" when ok
  bool converted = false;  // an old key-value file was rewritten in the XML layout
  bool keyValue = false;   // the table was read from or written in the key-value layout
  std::string warning;     // something beside the table went wrong (its pictures); "" if not

  explicit operator bool() const { return ok; }
  static TableFileStatus Fail(std::string why) {
    TableFileStatus s;
    s.ok = false;
    s.error = std::move(why);
    return s;
  }
};

}  // namespace vex
