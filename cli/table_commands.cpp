#include "cli/table_commands.h"

#include <cstdio>

#include "cli/arguments.h"
#include "cli/table_input.h"
#include "cli/table_json.h"
#include "files/table_file.h"
#include "platform/atomic_file.h"
#include "platform/text_util.h"

namespace vex::cli {
namespace {

// The table's JSON to standard output, as it is made.
void PrintJson(const LoadedTable& loaded) {
  WriteTableJson(loaded.table, loaded.headerKeys,
                 [](std::string_view piece) { std::fwrite(piece.data(), 1, piece.size(), stdout); });
  std::fputc('\n', stdout);
}

// The table's JSON into a file, replacing it once complete.
Result SaveJson(const LoadedTable& loaded, const std::string& path) {
  platform::AtomicFileWriter file(path);
  WriteTableJson(loaded.table, loaded.headerKeys, [&](std::string_view piece) { file.Write(piece); });
  file.Write("\n");
  return file.Commit();
}

}  // namespace

int RunDump(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"--prefix"}, {"--normalize"}, error);
  if (!a || a->positional.size() != 1) {
    std::fprintf(stderr, "vextable dump: %s\nusage: vextable dump FILE [--prefix P] [--normalize]\n",
                 a ? "expected one file" : error.c_str());
    return 2;
  }
  LoadedTable loaded;
  if (!ReadTableInput("dump", a->Option("--prefix"), a->positional[0], loaded)) return 1;
  if (a->Flag("--normalize")) loaded.table.Normalize();
  PrintJson(loaded);
  return 0;
}

int RunConvert(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"--prefix", "--layout"}, {"--normalize"}, error);
  if (!a || a->positional.size() != 2) {
    std::fprintf(stderr,
                 "vextable convert: %s\nusage: vextable convert IN OUT [--prefix P] "
                 "[--layout xml|key-value] [--normalize]\n",
                 a ? "expected IN and OUT" : error.c_str());
    return 2;
  }
  const std::string layout = a->Option("--layout").value_or("xml");
  if (layout != "xml" && layout != "key-value") {
    std::fprintf(stderr, "vextable convert: --layout takes xml or key-value\n");
    return 2;
  }
  const std::string& in = a->positional[0];
  const std::string& out = a->positional[1];

  LoadedTable loaded;
  if (!ReadTableInput("convert", a->Option("--prefix"), in, loaded)) return 1;
  if (a->Flag("--normalize")) loaded.table.Normalize();

  if (IsJson(out)) {
    const Result r = SaveJson(loaded, out);
    return r ? 0 : Fail("convert", r.message());
  }

  const std::string prefix = PrefixFor(a->Option("--prefix"), out, error);
  if (!error.empty()) return Fail("convert", error);
  const TableHeader* header = prefix == kHeaderFilePrefix && loaded.headerKeys ? &loaded.table : nullptr;
  TableFileReport report;
  if (layout == "key-value") {
    if (const Result saved = SaveTableKeyValue(loaded.table, prefix, out, &report, header); !saved)
      return Fail("convert", saved.Describe());
  } else {
    if (const Result saved = SaveTableFile(loaded.table, prefix, out, &report); !saved)
      return Fail("convert", saved.Describe());
    if (header)
      if (const Result h = SaveHeaderKeys(*header, prefix, out); !h) return Fail("convert", h.Describe());
  }
  for (const std::string& w : report.warnings) std::fprintf(stderr, "vextable convert: %s\n", w.c_str());
  return 0;
}

}  // namespace vex::cli
