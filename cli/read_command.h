#pragma once
#include <string>
#include <vector>

namespace vex::cli {

// vextable read DRAWING.dxf [-o OUT.vtf] [--window X1,Y1,X2,Y2] [--layout NAME] [--ini PATH]:
// reads the table drawn in model space or in the layout NAME (all of it, or what lies wholly
// inside the window, with the lines that cross the window's edge where they continue the
// table's rules) and saves it as a table file with its pictures.
int RunRead(const std::vector<std::string>& args);

}  // namespace vex::cli
