#pragma once
// Output text replacement: readable tokens typed in the editor ("(d)") become the host's
// control codes ("%%d") on the way into a table (forward) and come back when a table is
// loaded into the editor (reverse). The list and its switch live in section "TURN_TEXT" of
// the settings file: "ENABLE", "Count" and "Item0".."Item<Count-1>".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_file.h"

namespace vex {

class LanguagePack;

// One usable item: the three comma-separated fields of an item string.
struct ReplacementItem {
  std::string input;
  std::string replacement;
  std::string description;
  bool operator==(const ReplacementItem&) const = default;
};

class ReplacementList {
 public:
  // The item string split at every ','; nullopt unless that gives exactly three fields.
  static std::optional<ReplacementItem> ParseItem(std::string_view item);
  // "(d),%%d,<degrees>", "(p),%%p,<plus/minus>", "(c),%%c,<diameter>" with the descriptions in
  // the language's words.
  static std::vector<std::string> DefaultItems(const LanguagePack& language);

  // Reads "ENABLE" (the current switch as default) into the switch. Off: the list is empty.
  // On: "Count" items "Item%d" in order, or the default items when "Count" is missing.
  void LoadReplacements(const ProfileFile& file, const LanguagePack& language);

  // Each usable item in order replaces every occurrence of its input by its replacement
  // (case-sensitive; a later item sees the result of the earlier ones). Off: unchanged.
  std::string ForwardReplace(std::string text) const;
  // The same with the roles swapped; an empty replacement matches nothing.
  std::string ReverseReplace(std::string text) const;

  // The usable items of the list, in order.
  std::vector<ReplacementItem> UsableItems() const;

  bool enabled = true;             // the "ENABLE" switch
  std::vector<std::string> items;  // item strings as stored
};

}  // namespace vex
