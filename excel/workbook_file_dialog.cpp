#include "excel/workbook_file_dialog.h"

#include <QFileDialog>

namespace vex::excel {

const char* WorkbookFileFilter() {
  return "Workbooks (*.xlsx *.xlsm *.ods *.csv *.xls);;Excel workbooks (*.xlsx *.xlsm);;"
         "OpenDocument spreadsheets (*.ods);;CSV files (*.csv);;Excel 97-2003 workbooks (*.xls)";
}

std::optional<std::string> QtWorkbookFileAsker::AskWorkbookToOpen() {
  const QString path = QFileDialog::getOpenFileName(parent_, QString(), QString(), QString::fromUtf8(WorkbookFileFilter()),
                                                    nullptr, QFileDialog::ReadOnly);
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace vex::excel
