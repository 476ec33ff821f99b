#pragma once
// Command-line arguments of the batch tool's verbs.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vex::cli {

// A verb's arguments: positional ones in order and "--name value" options. Flags are options
// listed in `flags` that take no value.
struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;

  std::optional<std::string> Option(const std::string& name) const;
  bool Flag(const std::string& name) const { return options.count(name) != 0; }
};

// Parses args; on a malformed line returns nullopt and sets `error`. Only the names in
// `valued` and `flags` are accepted.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args,
                                        const std::vector<std::string>& valued,
                                        const std::vector<std::string>& flags, std::string& error);

}  // namespace vex::cli
