#pragma once
// "start": the host program of the product chosen for start-up, with the chosen profile.

#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/result.h"

namespace vex::setup {

// How a program is started. The setup program's own starter replaces the setup process by the
// host; tests record the command line instead.
class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts `argv` (argv[0] the program's path) in `folder`. Every argument reaches the
  // program as it is: no command interpreter sees them.
  virtual Result Start(const std::vector<std::string>& argv, const std::string& folder) = 0;
};

// Replaces the setup program by the started one: starting is its last step.
class ReplacingStarter final : public ProgramStarter {
 public:
  Result Start(const std::vector<std::string>& argv, const std::string& folder) override;
};

// The host program's command line: "<location>/cadhost", then "/p" and the profile as one
// argument each; without a profile ("") the host starts with its current profile.
std::vector<std::string> HostCommandLine(const std::string& location, const std::string& profile);

struct StartOutcome {
  bool found = true;  // false: no host product installed (after registering all of them)
  Result started;
};

// Reads "AppName" and "Parameter" of the start-up choice and starts that product's host
// program in its folder with the profile. When no product is chosen ("AppName" missing or not
// a release key "R..."), registers every product first (RegisterAll), which chooses the first
// one, and starts that. Fails without starting when the chosen product's "AcadLocation" is
// missing (there is no program to start then) or registering fails.
StartOutcome Start(platform::Registry& reg, std::string_view installFolder, ProgramStarter& starter);

}  // namespace vex::setup
