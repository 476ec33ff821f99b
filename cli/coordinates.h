#pragma once
// Coordinates given on the command line ("X,Y", "X1,Y1,X2,Y2").

#include <optional>
#include <string_view>
#include <vector>

namespace vex::cli {

// Exactly `count` comma-separated decimal numbers (blanks around each allowed, exponents too),
// each finite; nullopt for anything else.
std::optional<std::vector<double>> ParseCoordinates(std::string_view text, std::size_t count);

}  // namespace vex::cli
