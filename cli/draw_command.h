#pragma once
#include <string>
#include <vector>

namespace vex::cli {

// vextable draw TABLE [-o OUT.dxf] [--into DRAWING.dxf] [--at X,Y] [--ini PATH]: draws a table
// (a table file with its pictures, or JSON) into a new drawing or into DRAWING, with its
// top-left corner at X,Y, and saves OUT.
int RunDraw(const std::vector<std::string>& args);

}  // namespace vex::cli
