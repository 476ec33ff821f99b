#pragma once
// Where the core's messages to the drafter go. The core has no window and no console of its
// own: the plug-in binds this to the host's command line and message boxes, the batch tool to
// its standard streams, tests to a record.

#include <string>
#include <string_view>

namespace vex {

class MessageSink {
 public:
  // A text for the command line, printed as it is (callers' texts carry their own "\n").
  virtual void Print(std::string_view text) = 0;
  // A message box with an OK button; the drafter has to acknowledge it.
  virtual void Alert(std::string_view text) = 0;

 protected:
  ~MessageSink() = default;
};

// Drops every message: for callers that report failures through results only.
class SilentSink final : public MessageSink {
 public:
  void Print(std::string_view) override {}
  void Alert(std::string_view) override {}
};

// Keeps every message, alerts as "\n<text>\n" in the same stream as printed text.
class RecordingSink final : public MessageSink {
 public:
  void Print(std::string_view text) override { text_.append(text); }
  void Alert(std::string_view text) override {
    text_ += '\n';
    text_.append(text);
    text_ += '\n';
    ++alerts_;
  }
  const std::string& Text() const { return text_; }
  int Alerts() const { return alerts_; }
  void Clear() {
    text_.clear();
    alerts_ = 0;
  }

 private:
  std::string text_;
  int alerts_ = 0;
};

}  // namespace vex
