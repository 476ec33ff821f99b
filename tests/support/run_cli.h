#pragma once
// Runs programs as a drafter would, capturing what they print.

#include <string>

namespace vex::test {

struct ProgramRun {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs a shell command line; standard error goes to `err` (or into `out` when the command
// line redirects it there itself).
ProgramRun RunShell(const std::string& command);

// Runs "vextable ARGS" through the shell (ARGS is passed as written).
ProgramRun RunCli(const std::string& args);

}  // namespace vex::test
