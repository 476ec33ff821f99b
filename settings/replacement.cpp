#include "settings/replacement.h"

#include <algorithm>

#include "platform/text_util.h"
#include "settings/language_pack.h"

namespace vex {

namespace {
constexpr int kMaxItems = 65536;
}  // namespace

std::optional<ReplacementItem> ReplacementList::ParseItem(std::string_view item) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const auto comma = item.find(',', start);
    fields.emplace_back(item.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (fields.size() != 3) return std::nullopt;
  return ReplacementItem{fields[0], fields[1], fields[2]};
}

std::vector<std::string> ReplacementList::DefaultItems(const LanguagePack& language) {
  return {"(d),%%d," + language.Text("IDS_REPLACE_DEGREES"), "(p),%%p," + language.Text("IDS_REPLACE_PLUSMINUS"),
          "(c),%%c," + language.Text("IDS_REPLACE_DIAMETER")};
}

void ReplacementList::LoadReplacements(const ProfileFile& file, const LanguagePack& language) {
  enabled = file.GetInt("TURN_TEXT", "ENABLE", enabled ? 1 : 0) != 0;
  items.clear();
  if (!enabled) return;
  const int count = file.GetInt("TURN_TEXT", "Count", -1);
  if (count == -1) {
    items = DefaultItems(language);
    return;
  }
  // A hand-edited huge count must not make us read millions of absent keys; absent keys
  // would only give unusable empty items anyway.
  const int bounded = std::min(count, kMaxItems);
  for (int i = 0; i < bounded; ++i)
    items.push_back(file.GetString("TURN_TEXT", "Item" + std::to_string(i), ""));
}

std::vector<ReplacementItem> ReplacementList::UsableItems() const {
  std::vector<ReplacementItem> usable;
  for (const std::string& s : items)
    if (auto item = ParseItem(s)) usable.push_back(std::move(*item));
  return usable;
}

std::string ReplacementList::ForwardReplace(std::string text) const {
  if (!enabled) return text;
  for (const ReplacementItem& item : UsableItems())
    text = platform::ReplaceAll(std::move(text), item.input, item.replacement);
  return text;
}

std::string ReplacementList::ReverseReplace(std::string text) const {
  if (!enabled) return text;
  for (const ReplacementItem& item : UsableItems())
    text = platform::ReplaceAll(std::move(text), item.replacement, item.input);
  return text;
}

}  // namespace vex
