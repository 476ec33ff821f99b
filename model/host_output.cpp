#include "model/host_output.h"

#include <string>

#include "cadhost/sdk/acutads.h"

namespace vex {
namespace {
MessageHandler& BoxHandler() {
  static MessageHandler handler;
  return handler;
}
}  // namespace

void PrintCommandLine(std::string_view text) {
  acutPrintf("%.*s", static_cast<int>(text.size()), text.data());
}

void ShowMessageBox(std::string_view text) {
  if (const auto& h = BoxHandler()) {
    h(text);
    return;
  }
  PrintCommandLine("\n" + std::string(text) + "\n");
}

MessageHandler SetMessageBoxHandler(MessageHandler handler) {
  MessageHandler old = std::move(BoxHandler());
  BoxHandler() = std::move(handler);
  return old;
}

}  // namespace vex
