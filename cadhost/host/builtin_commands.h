#pragma once
// The host's own commands.

#include <string_view>

#include "cadhost/host/host_state.h"

namespace cadhost {

// The built-in command of that name (ASCII case ignored), or nullptr.
const BuiltinCommand* FindBuiltin(std::string_view name);

// Set by QUIT: the command line stops after the running command.
void RequestQuit();
bool QuitRequested();

}  // namespace cadhost
