#pragma once
// Starting other programs the way the desktop shell does, never through a command
// interpreter: every argument reaches the program exactly as given, so names read from the
// registry or typed by the user (profile names, paths) can hold blanks, quotes or "$(...)"
// without being interpreted.

#include <string>
#include <vector>

#include "platform/result.h"

namespace vex::platform {

// Opens a web address or a file with the desktop's default application (xdg-open), as the
// shell's "open" verb does. Does not wait: the opener is detached from this process (no
// zombie is left, it outlives a plug-in's host) and its output is discarded. Fails when the
// opener cannot be started.
Result OpenOnDesktop(const std::string& target);

// Starts a program detached from this process, with `argv` (argv[0] is the program's path; a
// name without '/' is looked up in PATH), in `workingFolder` ("" keeps the current one), and
// returns once the program is running. Standard input and output are inherited unless
// `quiet`, which connects them to /dev/null. Fails with the reason (no such program, not
// executable, no such folder) when it could not be started.
Result StartDetached(const std::vector<std::string>& argv, const std::string& workingFolder = "",
                     bool quiet = false);

// Replaces this process by the program of `argv` run in `workingFolder`; a program's last
// step when it starts another and ends. Returns only on failure, with the reason; the
// current folder is then as it was.
Result ReplaceProcess(const std::vector<std::string>& argv, const std::string& workingFolder = "");

}  // namespace vex::platform
