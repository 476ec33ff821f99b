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

using Json = nlohmann::ordered_json;

std::string JsonText(const Json& j) { return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n"; }

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
  std::fputs(JsonText(TableToJson(loaded.table, loaded.headerKeys)).c_str(), stdout);
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
    const auto r = platform::WriteFileAtomically(out, JsonText(TableToJson(loaded.table, loaded.headerKeys)));
    return r ? 0 : Fail("convert", r.message());
  }

  const std::string prefix = PrefixFor(a->Option("--prefix"), out, error);
  if (!error.empty()) return Fail("convert", error);
  TableFileReport report;
  const Result saved = layout == "key-value" ? SaveTableKeyValue(loaded.table, prefix, out, &report)
                                             : SaveTableFile(loaded.table, prefix, out, &report);
  if (!saved) return Fail("convert", saved.Describe());
  if (layout == "key-value" && !report.keyValue)
    std::fprintf(stderr,
                 "vextable convert: the table has ten or more rows or columns, whose cells the "
                 "key-value layout cannot tell apart; \"%s\" was written in the XML layout\n",
                 out.c_str());
  if (prefix == kHeaderFilePrefix && loaded.headerKeys) {
    if (const Result h = SaveHeaderKeys(loaded.table, prefix, out); !h) return Fail("convert", h.Describe());
  }
  return 0;
}

}  // namespace vex::cli
