#pragma once
// Running the installed programs: shell quoting for the tests' own command lines, and a
// registry folder handed to each program through CADHOST_REGISTRY_DIR.

#include <string>

#include "support/run_cli.h"

namespace vex::install_test {

// `s` in single quotes for the tests' shell command lines.
inline std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs `program args` with the registry folder `registry`, without a display, the standard
// error joined to the output.
inline test::ProgramRun RunWithRegistry(const std::string& registry, const std::string& program,
                                        const std::string& args, const std::string& input = "") {
  std::string command = "CADHOST_REGISTRY_DIR=" + Quote(registry) + " QT_QPA_PLATFORM=offscreen " + Quote(program) +
                        " " + args + " 2>&1";
  if (!input.empty()) command = "printf '%s' " + Quote(input) + " | " + command;
  return test::RunShell(command);
}

// What the host's "ARX ?" and a VexTable command tell: the plug-ins loaded at start.
inline const char* kLoadedQuery = "ARX\n?\nVEXTABLE_DRAW\n";

}  // namespace vex::install_test
