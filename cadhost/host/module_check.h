#pragma once
// A look at an application file before the dynamic linker maps it. The linker maps segments
// as the file's headers describe them; a truncated or damaged file whose segments reach past
// its end would be mapped all the same and the host would die (SIGBUS) on first touching them.

#include <string>

namespace cadhost {

// "" when `path` is a shared object for this machine whose headers and loaded segments lie
// inside the file; otherwise why it must not be loaded.
std::string ModuleFileProblem(const std::string& path);

}  // namespace cadhost
