#pragma once
// What Import and Export ask of the drafter's surroundings, each behind an interface so that
// the plug-in gives them the host's dialogs and status bar, the batch tool its arguments and
// console, and tests fakes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_sink.h"

namespace vex::excel {

// The standard open-file dialog for a workbook (.xlsx, .ods, .csv, .xls).
class WorkbookFileAsker {
 public:
  virtual ~WorkbookFileAsker() = default;
  // The chosen file; nullopt when the drafter cancels.
  virtual std::optional<std::string> AskWorkbookToOpen() = 0;
};

// The sheet chooser (dialog 240).
class SheetChooser {
 public:
  virtual ~SheetChooser() = default;
  // The 0-based index of the chosen sheet among `names` (workbook order); nullopt on Cancel.
  virtual std::optional<int> ChooseSheet(const std::vector<std::string>& names) = 0;
};

// The status-bar progress meter and the wait cursor.
class StatusMeter {
 public:
  virtual ~StatusMeter() = default;
  // Shows the meter with its label, running from 0 to 100.
  virtual void Show(std::string_view label) = 0;
  virtual void Set(int percent) = 0;
  // Removes the meter and shows the ordinary status bar again.
  virtual void Restore() = 0;
  virtual void BeginWait() {}
  virtual void EndWait() {}
};

// A meter that shows nothing.
class NoMeter final : public StatusMeter {
 public:
  void Show(std::string_view) override {}
  void Set(int) override {}
  void Restore() override {}
};

// Everything Import needs.
struct ImportUi {
  WorkbookFileAsker& files;
  SheetChooser& chooser;
  StatusMeter& meter;
  MessageSink& messages;
};

}  // namespace vex::excel
