#include "excel/workbook_source.h"

#include <filesystem>
#include <fstream>
#include <stdlib.h>

#include "excel/csv_reader.h"
#include "excel/ods_reader.h"
#include "excel/xls_conversion.h"
#include "excel/xlsx_reader.h"

namespace vex::excel {
namespace {

namespace fs = std::filesystem;

std::string LowerExtension(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// A scratch folder removed with its contents when it goes.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string tmpl = (fs::temp_directory_path() / "vextable-xls-XXXXXX").string();
    if (::mkdtemp(tmpl.data())) path_ = tmpl;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

ResultOr<std::unique_ptr<WorkbookSource>> OpenWorkbookFile(const std::string& path, const ReadLimits& limits) {
  const std::string ext = LowerExtension(path);
  if (ext == ".csv" || ext == ".txt") return OpenCsv(path, limits);
  if (ext == ".ods") return OpenOds(path, limits);
  if (ext == ".xlsx" || ext == ".xlsm") return OpenXlsx(path, limits);
  if (ext == ".xls") {
    std::error_code ec;
    if (!fs::exists(path, ec)) return Result(ErrorCode::kNotFound, "the file does not exist");
    const ScratchFolder scratch;
    if (scratch.path().empty()) return Result(ErrorCode::kCannotWrite, "no scratch folder for converting the .xls file");
    ResultOr<std::string> converted = ConvertToXlsx(path, scratch.path());
    if (!converted) return converted.result();
    // The package stays open after its file is removed with the scratch folder.
    return OpenXlsx(converted.value(), limits);
  }
  // Another name: judged by the content.
  ResultOr<ZipArchive> zip = ZipArchive::Open(path, limits);
  if (zip && zip->Has("content.xml")) return OpenOds(path, limits);
  if (zip) return OpenXlsx(path, limits);
  if (zip.result().code() == ErrorCode::kMalformed)
    return Result(ErrorCode::kMalformed, "it is not a workbook (.xlsx, .xlsm, .ods, .csv or .xls)");
  return zip.result();
}

}  // namespace vex::excel
