#pragma once
// Facts about the running process.

#include <string>

namespace vex::platform {

// The full path of the running program's executable ("" when it cannot be told). Inside a
// plug-in this is the host's program.
std::string ProgramPath();

}  // namespace vex::platform
