#pragma once
// Typed access to one INI file: the settings file, or any other file such as a key-value
// table file. Every get reads the file as it is now; every put writes it at once.
// Integers are written with "%d", doubles with "%.2f"; a missing key gives the default after
// passing it through the same format, so a missing double reads as its default rounded to
// two decimals.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile.h"
#include "platform/result.h"

namespace vex {

class ProfileFile {
 public:
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}

  // A reader over the file's content as of now: its gets do not look at the file again,
  // which makes reading thousands of keys in one pass cheap. Puts still write the file.
  ProfileFile Snapshot() const;

  void SetPath(std::string path) {
    path_ = std::move(path);
    snapshot_.reset();
  }
  const std::string& Path() const { return path_; }

  // The leading decimal integer of the value (0 when it has none); the default when missing.
  int GetInt(std::string_view section, std::string_view key, int def) const;
  // The value read as a decimal number (0.0 when it is none); the default when missing.
  double GetDouble(std::string_view section, std::string_view key, double def) const;
  // The value, whole, without surrounding blanks and one pair of enclosing quotes.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view def) const;
  // True when the file has the section / the key in the section.
  bool HasSection(std::string_view section) const;
  bool Has(std::string_view section, std::string_view key) const;

  Result PutInt(std::string_view section, std::string_view key, int value) const;
  Result PutDouble(std::string_view section, std::string_view key, double value) const;
  // Refused, leaving the file as it was, when the text holds a line break.
  Result PutString(std::string_view section, std::string_view key, std::string_view text) const;

 private:
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;

  std::string path_;
  std::shared_ptr<const platform::ProfileSnapshot> snapshot_;
};

// Writes collected for one file and written in one go: every put is kept, Commit applies them
// in order and writes the file once (all or nothing). Numbers are formatted as ProfileFile
// formats them ("%d", "%.2f").
class ProfileBatch {
 public:
  void PutInt(std::string_view section, std::string_view key, int value);
  void PutDouble(std::string_view section, std::string_view key, double value);
  void PutString(std::string_view section, std::string_view key, std::string_view text);
  Result Commit(const std::string& path) const;
  bool empty() const { return entries_.empty(); }
  const std::vector<platform::ProfileEntry>& Entries() const { return entries_; }

 private:
  std::vector<platform::ProfileEntry> entries_;
};

}  // namespace vex
