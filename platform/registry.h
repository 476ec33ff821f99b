#pragma once
// The registry stand-in: the local-machine and current-user hives as text files in the
// ".reg" format ("HKLM.reg", "HKCU.reg") in one folder. Keys and value names match without
// regard to ASCII case and keep the case they were created with; subkeys are listed in
// case-insensitive name order. Values are strings or DWORDs; other kinds found in a file are
// kept and written back unchanged. Every call sees the files as they are on disk now, so two
// programs (the setup program and the host) can share one registry.
//
// A hive file that cannot be parsed is reported line by line; what could be read stays
// readable, but the file is never written over, so no change is ever lost to our rewriting.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"

namespace vex::platform {

enum class RegHive { LocalMachine, CurrentUser };

struct RegValue {
  enum class Kind { String, Dword, Other };
  Kind kind = Kind::String;
  std::string text;        // String: the text; Other: the right-hand side as written
  std::uint32_t dword = 0;  // Dword

  static RegValue String(std::string s) { return {Kind::String, std::move(s), 0}; }
  static RegValue Dword(std::uint32_t v) { return {Kind::Dword, {}, v}; }
  bool operator==(const RegValue&) const = default;
};

class Registry {
 public:
  // $CADHOST_REGISTRY_DIR when set, else ~/.config/cadhost/registry/.
  static std::string DefaultFolder();

  explicit Registry(std::string folder = DefaultFolder());
  ~Registry();
  Registry(Registry&&) noexcept;
  Registry& operator=(Registry&&) noexcept;

  const std::string& Folder() const { return folder_; }
  // The path of a hive's file.
  std::string HivePath(RegHive hive) const;

  // Problems found in the hive files at the last read, each "FILE:LINE: what".
  std::vector<std::string> Problems() const;

  // Key paths are relative to the hive, with '\' between names ("Software\Harbek\VexTable").
  bool KeyExists(RegHive hive, std::string_view key) const;
  // The value of `name` ("" for the key's default value), or nullopt when the key or value is
  // missing.
  std::optional<RegValue> GetValue(RegHive hive, std::string_view key, std::string_view name) const;
  // The value when it is a string (a DWORD or other kind gives nullopt).
  std::optional<std::string> GetString(RegHive hive, std::string_view key, std::string_view name) const;
  std::optional<std::uint32_t> GetDword(RegHive hive, std::string_view key, std::string_view name) const;
  // The names of the key's direct subkeys (empty when the key is missing).
  std::vector<std::string> SubKeys(RegHive hive, std::string_view key) const;
  // The names of the key's values, "" for the default value, in file order.
  std::vector<std::string> ValueNames(RegHive hive, std::string_view key) const;

  // Each write creates the missing keys of the path and saves the hive at once (atomically).
  // Refused, with nothing written, when the hive file has problems.
  Result CreateKey(RegHive hive, std::string_view key);
  Result SetString(RegHive hive, std::string_view key, std::string_view name, std::string_view value);
  Result SetDword(RegHive hive, std::string_view key, std::string_view name, std::uint32_t value);
  // Deletes the key with all its subkeys and values; a missing key is no error.
  Result DeleteTree(RegHive hive, std::string_view key);
  Result DeleteValue(RegHive hive, std::string_view key, std::string_view name);

 private:
  struct Hive;
  Hive& Load(RegHive hive) const;
  template <class Change>
  Result Write(RegHive hive, Change change);

  std::string folder_;
  mutable std::unique_ptr<Hive> hives_[2];
};

}  // namespace vex::platform
