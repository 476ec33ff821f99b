#include "setup/start_host.h"

#include "platform/shell.h"
#include "setup/registration.h"
#include "setup/setup_keys.h"

namespace vex::setup {

using platform::RegHive;

Result ReplacingStarter::Start(const std::vector<std::string>& argv, const std::string& folder) {
  return platform::ReplaceProcess(argv, folder);
}

std::vector<std::string> HostCommandLine(const std::string& location, const std::string& profile) {
  HostProduct where;
  where.location = location;
  std::vector<std::string> argv = {where.InLocation(kHostProgram)};
  if (!profile.empty()) {
    argv.push_back("/p");
    argv.push_back(profile);
  }
  return argv;
}

namespace {

struct Choice {
  std::string appName;
  std::string parameter;
};

Choice ReadChoice(const platform::Registry& reg) {
  return {reg.GetString(RegHive::LocalMachine, StartupKey(), "AppName").value_or("L"),
          reg.GetString(RegHive::LocalMachine, StartupKey(), "Parameter").value_or("")};
}

Result StartChoice(const platform::Registry& reg, const Choice& choice, ProgramStarter& starter) {
  const std::string key = std::string(kHostKey) + "\\" + choice.appName;
  const std::string location = reg.GetString(RegHive::LocalMachine, key, "AcadLocation").value_or("");
  if (location.empty())
    return Result(ErrorCode::kNotFound, "The host's folder is not known (\"AcadLocation\" of " + key + ").");
  return starter.Start(HostCommandLine(location, choice.parameter), location);
}

}  // namespace

StartOutcome Start(platform::Registry& reg, std::string_view installFolder, ProgramStarter& starter) {
  StartOutcome out;
  Choice choice = ReadChoice(reg);
  if (!choice.appName.starts_with('R')) {
    const Registration all = RegisterAll(reg, installFolder);
    if (!all.written) {
      out.started = all.written;
      return out;
    }
    if (!all.Found()) {
      out.found = false;
      return out;
    }
    choice = ReadChoice(reg);
  }
  out.started = StartChoice(reg, choice, starter);
  return out;
}

}  // namespace vex::setup
