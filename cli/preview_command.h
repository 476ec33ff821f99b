#pragma once
#include <string>
#include <vector>

namespace vex::cli {

// vextable preview TABLE -o OUT.png [--zoom Z] [--ini PATH]: renders a table (a table file
// with its pictures, or JSON) as the editor's grid shows it, headers included, at zoom Z
// (pixels = round(mm x Z x 5)), to a PNG. Needs no display.
int RunPreview(const std::vector<std::string>& args);

}  // namespace vex::cli
