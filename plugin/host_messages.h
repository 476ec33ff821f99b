#pragma once
// The plug-in's messages go to the host: text to its command line, message boxes through the
// host (a headless host prints them on the command line as "\n<text>\n").

#include "platform/message_sink.h"

namespace vex {

class HostMessages final : public MessageSink {
 public:
  void Print(std::string_view text) override;
  void Alert(std::string_view text) override;
};

}  // namespace vex
