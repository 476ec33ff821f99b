#include "plugin/host_messages.h"

#include <string>

#include "cadhost/sdk/acutads.h"

namespace vex {

void HostMessages::Print(std::string_view text) {
  acutPrintf("%.*s", static_cast<int>(text.size()), text.data());
}

void HostMessages::Alert(std::string_view text) {
  acutPrintf("\n%.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace vex
