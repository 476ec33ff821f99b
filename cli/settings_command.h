#pragma once
#include <string>
#include <vector>

namespace vex::cli {

// vextable settings [--ini PATH]: prints the effective settings as one JSON object.
int RunSettings(const std::vector<std::string>& args);

}  // namespace vex::cli
