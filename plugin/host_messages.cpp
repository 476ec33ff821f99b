#include "plugin/host_messages.h"

#include <string>

#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"

namespace vex {

void HostMessages::Print(std::string_view text) {
  acutPrintf("%.*s", static_cast<int>(text.size()), text.data());
}

void HostMessages::Alert(std::string_view text) {
  // A message box in the host's window; on the command line without one.
  acedAlert(std::string(text).c_str());
}

}  // namespace vex
