#include "cli/coordinates.h"

#include <cmath>

#include "platform/text_util.h"

namespace vex::cli {
namespace {

// A decimal number as strtod reads it, and nothing else: sign, digits with at most one point,
// an optional exponent.
bool IsNumber(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool digits = false, point = false;
  for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
    if (s[i] >= '0' && s[i] <= '9') digits = true;
    else if (s[i] == '.' && !point) point = true;
    else return false;
  }
  if (!digits) return false;
  if (i == s.size()) return true;
  ++i;  // the exponent
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

}  // namespace

std::optional<std::vector<double>> ParseCoordinates(std::string_view text, std::size_t count) {
  std::vector<double> values;
  for (;;) {
    const auto comma = text.find(',');
    const std::string_view part = platform::TrimBlanks(text.substr(0, comma));
    if (!IsNumber(part)) return std::nullopt;
    const double v = platform::ParseLeadingDouble(part);
    if (!std::isfinite(v)) return std::nullopt;
    values.push_back(v);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (values.size() != count) return std::nullopt;
  return values;
}

}  // namespace vex::cli
