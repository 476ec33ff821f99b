#include "cli/table_input.h"

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/console_messages.h"
#include "cli/table_json.h"
#include "files/companion_drawing.h"
#include "files/table_file.h"
#include "platform/atomic_file.h"
#include "platform/pooled_memory.h"
#include "platform/text_util.h"

namespace vex::cli {

namespace fs = std::filesystem;

namespace {
// JSON input is bounded like every other file we read.
constexpr std::size_t kMaxJsonBytes = std::size_t(512) << 20;
}  // namespace

bool IsJson(const std::string& path) {
  return platform::EqualsNoCase(fs::path(path).extension().string(), ".json");
}

int Fail(const char* verb, const std::string& why) {
  std::fprintf(stderr, "vextable %s: %s\n", verb, why.c_str());
  return 1;
}

std::string PrefixFor(const std::optional<std::string>& given, const std::string& path, std::string& error) {
  if (given) return *given;
  const std::string_view implied = PrefixForFile(path);
  if (implied.empty())
    error = "cannot tell the kind of \"" + path +
            "\" from its name (.vtf, .vtt, _AutoSave.vtt); give --prefix";
  return std::string(implied);
}

bool ReadTableInput(const char* verb, const std::optional<std::string>& prefixOption, const std::string& path,
                    LoadedTable& out, ImageStore* store) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return Fail(verb, "\"" + path + "\" does not exist"), false;
  if (!fs::is_regular_file(path, ec)) return Fail(verb, "\"" + path + "\" is not a file"), false;

  if (IsJson(path)) {
    std::string text;
    if (auto r = platform::ReadWholeFile(path, text, kMaxJsonBytes); !r) return Fail(verb, r.message()), false;
    const nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
    if (j.is_discarded()) return Fail(verb, "\"" + path + "\" is not valid JSON"), false;
    if (const Result r = TableFromJson(j, out.table, out.headerKeys); !r)
      return Fail(verb, "\"" + path + "\": " + r.message()), false;
    return true;
  }

  std::string error;
  const std::string prefix = PrefixFor(prefixOption, path, error);
  if (!error.empty()) return Fail(verb, error), false;
  TableFileReport report;
  ConsoleMessages messages;
  // A batch command only reads its input: an old key-value file is read where it is, not rewritten.
  const Result loaded = store ? LoadTableWithPictures(out.table, prefix, path, *store, messages, report, OldLayout::kLeave)
                              : LoadTableFile(out.table, prefix, path, &report, OldLayout::kLeave);
  // The parsed document is gone; its memory is not needed again by a batch command.
  platform::ReleasePooledMemory();
  if (!loaded) return Fail(verb, loaded.Describe()), false;
  for (const std::string& w : report.warnings) std::fprintf(stderr, "vextable %s: %s\n", verb, w.c_str());
  if (prefix == kHeaderFilePrefix) {
    if (const Result h = LoadHeaderKeys(out.table, prefix, path, nullptr, OldLayout::kLeave); !h)
      return Fail(verb, h.Describe()), false;
    out.headerKeys = true;
  }
  return true;
}

}  // namespace vex::cli
