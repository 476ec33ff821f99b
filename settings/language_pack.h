#pragma once
// Language packs: every text the user sees is looked up by key in the active pack, an INI
// file "<language folder>/<language>.ini" with the sections "Setting" (key "Language", the
// pack's own name) and "String" (the texts). The active language is "Setting"/"Language" of
// the settings file, read again at every lookup, so a change takes effect for the next text.

#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace vex {

// Identifiers of the built-in packs.
constexpr int kChinesePackId = 266;
constexpr int kEnglishPackId = 267;

// The bytes of a built-in pack, exactly as checked in; empty for an unknown identifier.
std::string_view BuiltinPack(int id);

struct LanguageList {
  std::vector<std::string> names;  // the packs' own names, in file-name order
  std::string active;
};

class LanguagePack {
 public:
  LanguagePack(std::string languageFolder, std::string settingsFile);

  // Makes sure a pack for `name` (the configured language when empty) is there: the first
  // "*.ini" of the folder, in file-name order, whose "Setting"/"Language" equals the name
  // ends the search. When none does, the built-in packs are written as "English.ini" and
  // "Chinese.ini" (overwriting files of those names) and the language becomes "English".
  // The language is then written to the settings file. Fails only when a write fails.
  Result StartLanguage(std::string_view name) const;

  // The text of `key` in section "String" of the active pack, at most 999 bytes (never a
  // broken character), "Not found" when missing, each backslash-n pair a line break.
  std::string Text(std::string_view key) const;

  // The caption or control text of a dialog: key "IDD<dialog>_Title" for controlId
  // kDialogTitle, else "IDD<dialog>_<control>"; "" when missing; no line-break replacement.
  static constexpr int kDialogTitle = 0x7fffffff;
  std::string DialogText(int dialogId, int controlId) const;

  // The names of the packs of the language folder (file-name order, empty names skipped,
  // each at most 99 bytes) and the active name.
  LanguageList ListLanguages() const;

  // Writes "Setting"/"Language" of the settings file.
  Result SetLanguage(std::string_view name) const;

  // "Setting"/"Language" of the settings file, default "English", at most 999 bytes.
  std::string ActiveLanguage() const;

  // The path of the pack file of a language: folder + name + ".ini".
  std::string PackPath(std::string_view language) const;

  const std::string& LanguageFolder() const { return folder_; }

 private:
  std::vector<std::string> PackFiles() const;

  std::string folder_;  // with a trailing '/' unless empty
  std::string settingsFile_;
};

}  // namespace vex
