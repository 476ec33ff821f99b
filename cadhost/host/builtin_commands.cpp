// The table of the host's own commands.

#include "cadhost/host/builtin_commands.h"

#include <array>

namespace cadhost {
namespace {

void Quit() { RequestQuit(); }

constexpr std::array kBuiltins = {
    BuiltinCommand{"QUIT", &Quit, false},
};

}  // namespace

const BuiltinCommand* FindBuiltin(std::string_view name) {
  for (const BuiltinCommand& b : kBuiltins)
    if (SameName(b.name, name)) return &b;
  return nullptr;
}

}  // namespace cadhost
