#pragma once
// Messages to the drafter from the core: lines for the host's command line and the few
// message boxes. The core has no window of its own: the program around it decides where a
// message box shows (a dialog in the host's window, a line on a terminal).

#include <functional>
#include <string_view>

namespace vex {

// Prints text on the host's command line as it is (the callers' texts carry their own "\n").
void PrintCommandLine(std::string_view text);

// Shows a message box with an OK button; without a handler it goes to the command line.
void ShowMessageBox(std::string_view text);

using MessageHandler = std::function<void(std::string_view)>;
// Replaces the handler of message boxes (an empty one restores the default); returns the old.
MessageHandler SetMessageBoxHandler(MessageHandler handler);

}  // namespace vex
