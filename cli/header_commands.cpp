#include "cli/header_commands.h"

#include <cstdio>
#include <optional>

#include "cli/arguments.h"
#include "cli/console_messages.h"
#include "cli/settings_scope.h"
#include "cli/table_input.h"
#include "files/companion_drawing.h"
#include "files/header_library.h"
#include "files/table_init.h"
#include "model/table_limits.h"
#include "pictures/image_store.h"
#include "platform/text_util.h"

namespace vex::cli {
namespace {

constexpr const char* kHeaderUsage =
    "usage: vextable header list [--class C] [--library DIR] [--ini PATH]\n"
    "       vextable header add TABLE --name N [--class C] [--type vertical|horizontal|full] [--library DIR]\n"
    "       vextable header delete NAME [--library DIR]\n";
constexpr const char* kNewUsage =
    "usage: vextable new [--header NAME] [--rows R] [--cols C] [--row-height H] [--col-width W] -o OUT.vtf\n"
    "                    [--library DIR] [--ini PATH]\n";

const char* TypeWord(int type) {
  switch (type) {
    case kVerticalHeader: return "vertical";
    case kHorizontalHeader: return "horizontal";
    case kFullHeader: return "full";
    default: return "unknown";
  }
}

std::optional<int> TypeOf(const std::string& word) {
  for (int t : {kVerticalHeader, kHorizontalHeader, kFullHeader})
    if (word == TypeWord(t)) return t;
  return std::nullopt;
}

// A whole number for a size option, within 1..limit; nullopt with the reason otherwise.
std::optional<int> WholeNumber(const std::string& option, const std::string& text, int limit, std::string& why) {
  const std::string_view t = platform::TrimBlanks(text);
  if (t.empty() || t.find_first_not_of("0123456789") != std::string_view::npos || t.size() > 9) {
    why = option + " takes a whole number, not \"" + text + "\"";
    return std::nullopt;
  }
  const int v = platform::ParseLeadingInt(t);
  if (v < 1 || v > limit) {
    why = option + " takes a number from 1 to " + std::to_string(limit);
    return std::nullopt;
  }
  return v;
}

std::string LibraryFolder(const Arguments& a, const SettingsScope& scope) {
  return a.Option("--library").value_or(scope.where().headerRoot);
}

int List(const Arguments& a, HeaderLibrary& library) {
  const std::string className = a.Option("--class").value_or("");
  for (const HeaderLibrary::Entry& e : library.Entries())
    if (className.empty() || e.className == className)
      std::printf("%s\t%s\t%s\n", e.name.c_str(), e.className.c_str(), TypeWord(e.type));
  return 0;
}

int Add(const Arguments& a, HeaderLibrary& library) {
  if (a.positional.size() != 2 || !a.Option("--name")) {
    std::fprintf(stderr, "vextable header: add takes one table and --name\n%s", kHeaderUsage);
    return 2;
  }
  const auto type = TypeOf(a.Option("--type").value_or("vertical"));
  if (!type) {
    std::fprintf(stderr, "vextable header: --type takes vertical, horizontal or full\n%s", kHeaderUsage);
    return 2;
  }
  ImageStore pictures;
  LoadedTable loaded;
  if (!ReadTableInput("header", std::nullopt, a.positional[1], loaded, &pictures)) return 1;
  const Result r = library.SaveHeader(loaded.table, *a.Option("--name"), a.Option("--class").value_or(""), *type,
                                      pictures);
  if (!r) return Fail("header", r.Describe());
  std::printf("Saved the header \"%s\" to %s\n", a.Option("--name")->c_str(), library.HeaderPath(*a.Option("--name")).c_str());
  return 0;
}

int Delete(const Arguments& a, HeaderLibrary& library) {
  if (a.positional.size() != 2) {
    std::fprintf(stderr, "vextable header: delete takes one header name\n%s", kHeaderUsage);
    return 2;
  }
  const std::string& name = a.positional[1];
  if (!library.FindHeader(name)) return Fail("header", "no header is named \"" + name + "\"");
  if (const Result r = library.DeleteHeader(name); !r) return Fail("header", r.Describe());
  std::printf("Deleted the header \"%s\"\n", name.c_str());
  return 0;
}

}  // namespace

int RunHeader(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"--class", "--name", "--type", "--library", "--ini"}, {}, error);
  if (!a || a->positional.empty()) {
    std::fprintf(stderr, "vextable header: %s\n%s", a ? "expected list, add or delete" : error.c_str(), kHeaderUsage);
    return 2;
  }
  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) return Fail("header", scope.problem());
  HeaderLibrary library(LibraryFolder(*a, scope));
  const std::string& what = a->positional[0];
  if (what == "list" && a->positional.size() == 1) return List(*a, library);
  if (what == "add") return Add(*a, library);
  if (what == "delete") return Delete(*a, library);
  std::fprintf(stderr, "vextable header: expected list, add or delete\n%s", kHeaderUsage);
  return 2;
}

int RunNew(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"-o", "--header", "--rows", "--cols", "--row-height", "--col-width",
                                       "--library", "--ini"},
                                {}, error);
  if (!a || !a->positional.empty() || !a->Option("-o")) {
    std::fprintf(stderr, "vextable new: %s\n%s", !a ? error.c_str() : "-o OUT.vtf is required", kNewUsage);
    return 2;
  }
  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) return Fail("new", scope.problem());
  ConsoleMessages messages;
  ImageStore pictures;
  TableInit init;
  if (auto name = a->Option("--header")) {
    HeaderLibrary library(LibraryFolder(*a, scope));
    TableHeader header;
    if (const Result r = library.LoadHeader(*name, header, pictures, messages); !r) return Fail("new", r.Describe());
    init.ChooseHeader(std::move(header));
  }
  // As a drafter types into the dialog after choosing the header: a count the header fixes
  // stays the header's, and no count goes below the header's.
  const struct {
    const char* option;
    SizeField field;
    int limit;
  } fields[] = {{"--rows", SizeField::kRows, 65535},
                {"--cols", SizeField::kCols, 65535},
                {"--row-height", SizeField::kRowHeight, 100000},
                {"--col-width", SizeField::kColWidth, 100000}};
  for (const auto& f : fields)
    if (auto text = a->Option(f.option)) {
      const auto v = WholeNumber(f.option, *text, f.limit, error);
      if (!v) {
        std::fprintf(stderr, "vextable new: %s\n%s", error.c_str(), kNewUsage);
        return 2;
      }
      if (!init.Enabled(f.field) && *v != init.Get(f.field))
        std::fprintf(stderr, "vextable new: the header fixes %s; %s is left at %d\n", f.option + 2, f.option,
                     init.Get(f.field));
      init.Set(f.field, *v);
    }
  const TableData table = init.Table();
  if (const Result counts = CheckTableCounts(table.nRows, table.nCols); !counts) return Fail("new", counts.message());
  const std::string out = *a->Option("-o");
  if (const Result r = SaveTableWithPictures(table, kTableFilePrefix, out, pictures); !r) return Fail("new", r.Describe());
  std::printf("Wrote a table of %d rows and %d columns to %s\n", table.nRows, table.nCols, out.c_str());
  return 0;
}

}  // namespace vex::cli
