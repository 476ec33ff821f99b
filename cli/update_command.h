#pragma once
#include <string>
#include <vector>

namespace vex::cli {

// vextable check-update [--ini PATH]: the editor's update check without a window. Prints the
// box's text; exits 0 when up to date, 1 when a newer version is announced, 2 when there is
// no connection (or no answer worth showing).
int RunCheckUpdate(const std::vector<std::string>& args);

}  // namespace vex::cli
