#include "cli/arguments.h"

#include <algorithm>

namespace vex::cli {

std::optional<std::string> Arguments::Option(const std::string& name) const {
  const auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args,
                                        const std::vector<std::string>& valued,
                                        const std::vector<std::string>& flags, std::string& error) {
  const auto has = [](const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
  };
  Arguments out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 1 && a[0] == '-') {
      if (has(flags, a)) {
        out.options[a] = "";
      } else if (has(valued, a)) {
        if (i + 1 >= args.size()) {
          error = "option " + a + " needs a value";
          return std::nullopt;
        }
        out.options[a] = args[++i];
      } else {
        error = "unknown option " + a;
        return std::nullopt;
      }
    } else {
      out.positional.push_back(a);
    }
  }
  return out;
}

}  // namespace vex::cli
