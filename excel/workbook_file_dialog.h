#pragma once
// The open-file dialog for a workbook to import: .xlsx, .ods, .csv and .xls.

#include "excel/exchange_ui.h"

class QWidget;

namespace vex::excel {

// The filter list the dialog offers, first entry chosen.
const char* WorkbookFileFilter();

class QtWorkbookFileAsker final : public WorkbookFileAsker {
 public:
  explicit QtWorkbookFileAsker(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> AskWorkbookToOpen() override;

 private:
  QWidget* parent_;
};

}  // namespace vex::excel
