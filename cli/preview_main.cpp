// vextable-preview: the preview verb of vextable as a program of its own (vextable runs it).

#include <string>
#include <vector>

#include "cli/preview_command.h"

int main(int argc, char** argv) { return vex::cli::RunPreview(std::vector<std::string>(argv + 1, argv + argc)); }
