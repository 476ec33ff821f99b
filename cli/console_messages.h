#pragma once
// The batch tool's messages: what the core prints for the host's command line goes to standard
// output, message boxes to standard error.

#include <cstdio>

#include "platform/message_sink.h"

namespace vex::cli {

class ConsoleMessages final : public MessageSink {
 public:
  void Print(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  void Alert(std::string_view text) override {
    std::fprintf(stderr, "vextable: %.*s\n", static_cast<int>(text.size()), text.data());
  }
};

}  // namespace vex::cli
