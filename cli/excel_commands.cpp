#include "cli/excel_commands.h"

#include <cstdio>
#include <filesystem>

#include "cli/arguments.h"
#include "cli/console_messages.h"
#include "cli/settings_scope.h"
#include "cli/table_input.h"
#include "cli/table_json.h"
#include "excel/excel_exchange.h"
#include "excel/sheet_chooser.h"
#include "files/table_file.h"
#include "platform/atomic_file.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kImportUsage = "usage: vextable import BOOK [--sheet N|NAME] [-o OUT.vtf|OUT.json] [--ini PATH]\n";
constexpr const char* kExportUsage = "usage: vextable export TABLE -o OUT.xlsx [--ini PATH]\n";

// The workbook named on the command line stands for the open-file dialog.
class GivenWorkbook final : public excel::WorkbookFileAsker {
 public:
  explicit GivenWorkbook(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> AskWorkbookToOpen() override { return path_; }

 private:
  std::string path_;
};

// Messages for the command line begin a line of their own in the host; here they end with a
// line break instead.
class LineMessages final : public MessageSink {
 public:
  void Print(std::string_view text) override {
    while (!text.empty() && text.front() == '\n') text.remove_prefix(1);
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (!text.empty() && text.back() != '\n') std::fputc('\n', stdout);
    printed_ = true;
  }
  void Alert(std::string_view text) override {
    console_.Alert(text);
    printed_ = true;
  }
  bool Printed() const { return printed_; }

 private:
  ConsoleMessages console_;
  bool printed_ = false;
};

bool SamePath(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::path(a) == fs::path(b) || fs::equivalent(a, b, ec);
}

Result SaveImported(const TableData& table, const std::string& out) {
  if (IsJson(out)) {
    platform::AtomicFileWriter file(out);
    TableHeader header;
    static_cast<TableData&>(header) = table;
    WriteTableJson(header, false, [&](std::string_view piece) { file.Write(piece); });
    file.Write("\n");
    return file.Commit();
  }
  std::string error;
  const std::string prefix = PrefixFor(std::nullopt, out, error);
  if (!error.empty()) return Result(ErrorCode::kRefused, error);
  return SaveTableFile(table, prefix, out);
}

}  // namespace

int RunImport(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"--sheet", "-o", "--ini"}, {}, error);
  if (!a || a->positional.size() != 1) {
    std::fprintf(stderr, "vextable import: %s\n%s", a ? "expected one workbook" : error.c_str(), kImportUsage);
    return 2;
  }
  const std::string book = a->positional[0];
  const std::string out = a->Option("-o").value_or(fs::path(book).replace_extension(".vtf").string());
  if (SamePath(out, book)) return Fail("import", "\"" + out + "\" is the workbook being read; choose another -o");
  if (!IsJson(out) && PrefixForFile(out).empty())
    return Fail("import", "\"" + out + "\" is neither a table file (.vtf, .vtt) nor JSON (.json)");

  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) return Fail("import", scope.problem());

  LineMessages messages;
  GivenWorkbook files(book);
  excel::FixedSheetChooser chooser(a->Option("--sheet"), messages);
  excel::NoMeter meter;
  excel::ImportUi ui{files, chooser, meter, messages};
  TableData table;
  if (excel::Import(table, scope.settings().Excel, ui) != 1) {
    if (!messages.Printed()) std::fprintf(stderr, "vextable import: nothing was imported\n");
    return 1;
  }
  if (const Result saved = SaveImported(table, out); !saved) return Fail("import", saved.Describe());
  std::printf("Imported a table of %d rows and %d columns into %s\n", table.nRows, table.nCols, out.c_str());
  return 0;
}

int RunExport(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"-o", "--ini", "--prefix"}, {}, error);
  if (!a || a->positional.size() != 1 || !a->Option("-o")) {
    std::fprintf(stderr, "vextable export: %s\n%s",
                 !a ? error.c_str() : a->positional.size() != 1 ? "expected one table" : "-o OUT.xlsx is required",
                 kExportUsage);
    return 2;
  }
  const std::string table = a->positional[0];
  const std::string out = *a->Option("-o");
  if (SamePath(out, table)) return Fail("export", "\"" + out + "\" is the table being read; choose another -o");

  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) return Fail("export", scope.problem());
  LoadedTable loaded;
  if (!ReadTableInput("export", a->Option("--prefix"), table, loaded)) return 1;

  LineMessages messages;
  excel::NoMeter meter;
  excel::FileWorkbookViewer viewer(out);
  if (excel::Export(loaded.table, scope.settings().Excel, meter, messages, viewer) != 1) return 1;
  return 0;
}

}  // namespace vex::cli
