// vextable-edit: the edit verb of vextable as a program of its own (vextable runs it).

#include <string>
#include <vector>

#include "cli/edit_command.h"

int main(int argc, char** argv) { return vex::cli::RunEdit(std::vector<std::string>(argv + 1, argv + argc)); }
