#pragma once
#include <string>
#include <vector>

namespace vex::cli {

// vextable read DRAWING.dxf [-o OUT.vtf] [--window X1,Y1,X2,Y2] [--ini PATH]: reads the table
// drawn in model space (all of it, or what lies wholly inside the window) and saves it as a
// table file with its pictures.
int RunRead(const std::vector<std::string>& args);

}  // namespace vex::cli
