#pragma once
// Where a workbook made by Export goes when the automation object is made visible: to the
// drafter's desktop, or to a file the batch tool names.

#include <string>

#include "excel/sheet_data.h"
#include "platform/result.h"

namespace vex::excel {

class WorkbookViewer {
 public:
  virtual ~WorkbookViewer() = default;
  // Stores the sheet as a workbook and shows it; `shownAt` gets the workbook's path.
  virtual Result Show(const SheetData& sheet, std::string& shownAt) = 0;
};

// The first "BookN.xlsx" (N from 1) that does not exist in `folder`, created empty so that
// another process cannot take the same name.
ResultOr<std::string> ReserveBookPath(const std::string& folder);

// Writes the workbook to a new "BookN.xlsx" in the user's temporary folder and opens it with
// the desktop's default application (xdg-open), which leaves it to the drafter to save.
class DesktopWorkbookViewer final : public WorkbookViewer {
 public:
  // `folder` "" is the user's temporary folder.
  explicit DesktopWorkbookViewer(std::string folder = "") : folder_(std::move(folder)) {}
  Result Show(const SheetData& sheet, std::string& shownAt) override;

 private:
  std::string folder_;
};

// Writes the workbook to a given path and shows nothing: for the batch tool.
class FileWorkbookViewer final : public WorkbookViewer {
 public:
  explicit FileWorkbookViewer(std::string path) : path_(std::move(path)) {}
  Result Show(const SheetData& sheet, std::string& shownAt) override;

 private:
  std::string path_;
};

}  // namespace vex::excel
