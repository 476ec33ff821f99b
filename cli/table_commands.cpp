#include "cli/table_commands.h"

#include <cstdio>
#include <filesystem>

#include "cli/arguments.h"
#include "cli/table_json.h"
#include "files/table_file.h"
#include "platform/atomic_file.h"
#include "platform/text_util.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// JSON input is bounded like every other file we read.
constexpr std::size_t kMaxJsonBytes = std::size_t(512) << 20;

bool IsJson(const std::string& path) {
  return platform::EqualsNoCase(fs::path(path).extension().string(), ".json");
}

int Fail(const char* verb, const std::string& why) {
  std::fprintf(stderr, "vextable %s: %s\n", verb, why.c_str());
  return 1;
}

// The prefix for a table file: the option, else the one its name implies.
std::string PrefixFor(const Arguments& a, const std::string& path, std::string& error) {
  if (auto p = a.Option("--prefix")) return *p;
  const std::string_view implied = PrefixForFile(path);
  if (implied.empty())
    error = "cannot tell the kind of \"" + path +
            "\" from its name (.vtf, .vtt, _AutoSave.vtt); give --prefix";
  return std::string(implied);
}

struct LoadedTable {
  TableHeader table;
  bool headerKeys = false;  // the source carried header keys
};

// Reads a table file (with its header keys when it is a header file) or a JSON table.
bool ReadTableFrom(const char* verb, const Arguments& a, const std::string& path, LoadedTable& out) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return Fail(verb, "\"" + path + "\" does not exist"), false;
  if (!fs::is_regular_file(path, ec)) return Fail(verb, "\"" + path + "\" is not a file"), false;

  if (IsJson(path)) {
    std::string text;
    if (auto r = platform::ReadWholeFile(path, text, kMaxJsonBytes); !r) return Fail(verb, r.error), false;
    const nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
    if (j.is_discarded()) return Fail(verb, "\"" + path + "\" is not valid JSON"), false;
    std::string why;
    if (!TableFromJson(j, out.table, out.headerKeys, why)) return Fail(verb, "\"" + path + "\": " + why), false;
    return true;
  }

  std::string error;
  const std::string prefix = PrefixFor(a, path, error);
  if (!error.empty()) return Fail(verb, error), false;
  const TableFileStatus s = out.table.Load(prefix, path);
  if (!s) return Fail(verb, s.error), false;
  if (s.converted)
    std::fprintf(stderr, "vextable %s: converted \"%s\" from the key-value layout to the XML layout\n",
                 verb, path.c_str());
  if (prefix == kHeaderFilePrefix) {
    const TableFileStatus h = out.table.LoadHeaderKeys(prefix, path);
    if (!h) return Fail(verb, h.error), false;
    out.headerKeys = true;
  }
  return true;
}

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
  if (!ReadTableFrom("dump", *a, a->positional[0], loaded)) return 1;
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
  if (!ReadTableFrom("convert", *a, in, loaded)) return 1;
  if (a->Flag("--normalize")) loaded.table.Normalize();

  if (IsJson(out)) {
    const auto r = platform::WriteFileAtomically(out, JsonText(TableToJson(loaded.table, loaded.headerKeys)));
    return r ? 0 : Fail("convert", r.error);
  }

  const std::string prefix = PrefixFor(*a, out, error);
  if (!error.empty()) return Fail("convert", error);
  const TableFileStatus s = layout == "key-value" ? SaveTableKeyValue(loaded.table, prefix, out)
                                                  : loaded.table.Save(prefix, out);
  if (!s) return Fail("convert", s.error);
  if (layout == "key-value" && !s.keyValue)
    std::fprintf(stderr,
                 "vextable convert: the table has ten or more rows or columns, whose cells the "
                 "key-value layout cannot tell apart; \"%s\" was written in the XML layout\n",
                 out.c_str());
  if (prefix == kHeaderFilePrefix && loaded.headerKeys) {
    const TableFileStatus h = loaded.table.SaveHeaderKeys(prefix, out);
    if (!h) return Fail("convert", h.error);
  }
  return 0;
}

}  // namespace vex::cli
