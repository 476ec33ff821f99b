#pragma once
// INI files with the behaviour of the Windows private-profile calls that stored settings,
// language packs and key-value table files rely on:
//  - sections and keys match without regard to ASCII case; the first of duplicates wins;
//  - values come back without surrounding blanks and tabs, and without one pair of enclosing
//    quotes ("..." or '...');
//  - lines starting with ';' are comments; CRLF and LF files both read; a UTF-8 byte-order
//    mark is skipped;
//  - a write replaces the key's line in place, appends a missing key after the last entry of
//    its section and a missing section at the end of the file, and keeps every other line;
//  - writes are atomic (temporary file, then rename).
// Every read sees the file as it is on disk now: the parsed file is cached per path and the
// cache is checked against the file's identity (device, inode, size, modification time) at
// each access, so that reading many keys does not re-parse the file for each one.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/atomic_file.h"

namespace vex::platform {

// The value of `key` in `section` of the INI file at `path`, or nullopt when the file, the
// section or the key is missing. The value is returned whole.
std::optional<std::string> ReadProfileString(const std::string& path, std::string_view section,
                                             std::string_view key);

struct ProfileDocument;

// A file's parsed content as of one moment, for reading many keys in one pass (a key-value
// table file) without checking the file again for each key. Empty when the file is missing.
class ProfileSnapshot {
 public:
  explicit ProfileSnapshot(const std::string& path);
  // As ReadProfileString, against the content taken at construction.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  bool FileExists() const { return doc_ != nullptr; }
  // True when the file has the section.
  bool HasSection(std::string_view section) const;

 private:
  std::shared_ptr<const ProfileDocument> doc_;
};

// The names of the sections of the file, in file order (empty when the file is missing).
std::vector<std::string> ReadProfileSections(const std::string& path);

// One key=value assignment for WriteProfileStrings.
struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
};

// Sets `key` in `section` to `value` and writes the file at once. Refused, with the file
// left as it was, when the value, key or section holds a line break (it would corrupt the
// file), when the key is empty or holds '=', or when the section holds ']'.
Result WriteProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view value);

// Applies every entry, in order, as WriteProfileString would, and writes the file once.
// Nothing is written when any entry is refused.
Result WriteProfileStrings(const std::string& path, const std::vector<ProfileEntry>& entries);

// Writes a new file holding only the entries, in place of whatever `path` holds (another
// layout, another program's file), atomically.
Result WriteNewProfile(const std::string& path, const std::vector<ProfileEntry>& entries);

// Forgets every cached file. For tests that change files behind the cache's back within one
// timestamp tick; normal callers never need it.
void DropProfileCache();

}  // namespace vex::platform
