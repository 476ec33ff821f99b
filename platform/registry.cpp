#include "platform/registry.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <unordered_map>

#include "platform/text_util.h"

namespace vex::platform {
namespace {

constexpr std::size_t kMaxHiveBytes = std::size_t(64) << 20;
constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";

// Hives are read from files anyone may have edited: the depth of a key path is bounded, so
// that neither reading, writing nor freeing a hive can run out of stack.
constexpr std::size_t kMaxKeyDepth = 256;

struct Key {
  std::string name;
  std::map<std::string, std::unique_ptr<Key>> children;  // by lower-case name
  std::vector<std::pair<std::string, RegValue>> values;  // in file order
  std::unordered_map<std::string, std::size_t> valueIndex;  // lower-case name -> values[]

  const RegValue* Find(std::string_view name) const {
    const auto it = valueIndex.find(AsciiLower(name));
    return it == valueIndex.end() ? nullptr : &values[it->second].second;
  }
  bool Erase(std::string_view name) {
    const auto it = valueIndex.find(AsciiLower(name));
    if (it == valueIndex.end()) return false;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(it->second));
    valueIndex.clear();
    for (std::size_t i = 0; i < values.size(); ++i) valueIndex.emplace(AsciiLower(values[i].first), i);
    return true;
  }
};

std::vector<std::string_view> SplitKey(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto bs = path.find('\\', start);
    const auto part = path.substr(start, bs == std::string_view::npos ? bs : bs - start);
    if (!part.empty()) parts.push_back(part);
    if (bs == std::string_view::npos) break;
    start = bs + 1;
  }
  return parts;
}

const Key* FindKey(const Key& root, std::string_view path) {
  const Key* k = &root;
  for (const auto part : SplitKey(path)) {
    const auto it = k->children.find(AsciiLower(part));
    if (it == k->children.end()) return nullptr;
    k = it->second.get();
  }
  return k;
}

// The key of `path`, made with the keys leading to it; null for a path deeper than the bound.
Key* MakeKey(Key& root, std::string_view path) {
  const auto parts = SplitKey(path);
  if (parts.size() > kMaxKeyDepth) return nullptr;
  Key* k = &root;
  for (const auto part : parts) {
    auto& slot = k->children[AsciiLower(part)];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->name = std::string(part);
    }
    k = slot.get();
  }
  return k;
}

void SetValue(Key& k, std::string_view name, RegValue v) {
  const auto [it, added] = k.valueIndex.emplace(AsciiLower(name), k.values.size());
  if (!added) {
    k.values[it->second].second = std::move(v);
    return;
  }
  k.values.emplace_back(std::string(name), std::move(v));
}

const char* RootName(RegHive h) {
  return h == RegHive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::string Quote(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// s without blanks, tabs and carriage returns at either end. A stray CR is a blank
// ("\r\r\n" ends the lines of a file converted twice): kept at the end of a value, it would be
// written back before the line end and be lost at the next read.
std::string_view TrimLine(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// Reads a quoted string at s[pos] (which is '"'); returns false when it is not closed.
bool ReadQuoted(std::string_view s, std::size_t& pos, std::string& out) {
  out.clear();
  for (++pos; pos < s.size(); ++pos) {
    const char c = s[pos];
    if (c == '\\' && pos + 1 < s.size()) {
      out += s[++pos];
    } else if (c == '"') {
      ++pos;
      return true;
    } else {
      out += c;
    }
  }
  return false;
}

void WriteValues(std::string& out, const Key& k) {
  for (const auto& [name, v] : k.values) {
    out += name.empty() ? "@" : Quote(name);
    out += '=';
    switch (v.kind) {
      case RegValue::Kind::String: out += Quote(v.text); break;
      case RegValue::Kind::Dword: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", v.dword);
        out += buf;
        break;
      }
      case RegValue::Kind::Other: out += v.text; break;
    }
    out += '\n';
  }
}

// Every key below `root` in depth-first order (a key before its subkeys, subkeys by name),
// with an explicit stack rather than recursion.
void WriteKeys(std::string& out, const Key& root, const std::string& rootPath) {
  std::vector<std::pair<const Key*, std::string>> stack;
  for (auto it = root.children.rbegin(); it != root.children.rend(); ++it)
    stack.emplace_back(it->second.get(), rootPath + "\\" + it->second->name);
  while (!stack.empty()) {
    auto [k, path] = std::move(stack.back());
    stack.pop_back();
    out += "\n[" + path + "]\n";
    WriteValues(out, *k);
    for (auto it = k->children.rbegin(); it != k->children.rend(); ++it)
      stack.emplace_back(it->second.get(), path + "\\" + it->second->name);
  }
}

struct Identity {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  long long sec = 0, nsec = 0;
  bool operator==(const Identity&) const = default;
};

Identity IdentityOf(const std::string& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {true, st.st_dev, st.st_ino, st.st_size, static_cast<long long>(st.st_mtim.tv_sec),
          static_cast<long long>(st.st_mtim.tv_nsec)};
}

}  // namespace

struct Registry::Hive {
  RegHive which;
  std::string path;
  bool loaded = false;
  Identity identity;
  Key root;
  std::vector<std::string> problems;

  void Parse(std::string_view text) {
    root = Key{};
    problems.clear();
    const std::string prefix = std::string(RootName(which));
    Key* current = nullptr;
    std::size_t lineNo = 0;
    bool sawHeader = false;
    const auto problem = [&](std::size_t line, const std::string& what) {
      if (problems.size() < 100) problems.push_back(path + ":" + std::to_string(line) + ": " + what);
    };
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
      auto nl = text.find('\n');
      std::string line(text.substr(0, nl));
      text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
      ++lineNo;
      const std::size_t first = lineNo;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      // A trailing backslash continues a value (long hex data) on the next line.
      while (!line.empty() && line.back() == '\\' && !text.empty() && line.find('=') != std::string::npos) {
        line.pop_back();
        nl = text.find('\n');
        std::string next(TrimBlanks(text.substr(0, nl)));
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        ++lineNo;
        if (!next.empty() && next.back() == '\r') next.pop_back();
        line += next;
      }
      const std::string_view t = TrimLine(line);
      if (t.empty() || t.front() == ';') continue;
      if (!sawHeader) {
        sawHeader = true;
        if (t == kHeader || t == kOldHeader) continue;
        problem(first, "not a registry file (the first line should be \"" + std::string(kHeader) + "\")");
        return;
      }
      if (t.front() == '[') {
        current = nullptr;
        if (t.back() != ']') {
          problem(first, "a key line must end with ']'");
          continue;
        }
        const std::string_view keyPath = t.substr(1, t.size() - 2);
        if (!keyPath.empty() && keyPath.front() == '-') {
          problem(first, "key deletions are not kept in a hive file");
          continue;
        }
        if (keyPath.size() < prefix.size() || !EqualsNoCase(keyPath.substr(0, prefix.size()), prefix) ||
            (keyPath.size() > prefix.size() && keyPath[prefix.size()] != '\\')) {
          problem(first, "key outside " + prefix);
          continue;
        }
        current = MakeKey(root, keyPath.substr(prefix.size()));
        if (!current) problem(first, "a key path deeper than " + std::to_string(kMaxKeyDepth) + " levels");
        continue;
      }
      if (!current) {
        problem(first, "a value outside any key");
        continue;
      }
      std::size_t pos = 0;
      std::string name;
      if (t.front() == '@') {
        pos = 1;
      } else if (t.front() != '"' || !ReadQuoted(t, pos, name)) {
        problem(first, "a value name must be quoted");
        continue;
      }
      while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t')) ++pos;
      if (pos >= t.size() || t[pos] != '=') {
        problem(first, "'=' expected after the value name");
        continue;
      }
      const std::string_view rhs = TrimLine(t.substr(pos + 1));
      // A value still ending in '\' has no line left to continue on (the file ended, or blanks
      // follow the '\'); written back, it would take the line written after it as its own.
      if (!rhs.empty() && rhs.back() == '\\') {
        problem(first, "a value continues past the end of the file");
        continue;
      }
      if (!rhs.empty() && rhs.front() == '"') {
        std::size_t p = 0;
        std::string value;
        if (!ReadQuoted(rhs, p, value) || p != rhs.size()) {
          problem(first, "unterminated string value");
          continue;
        }
        SetValue(*current, name, RegValue::String(std::move(value)));
      } else if (rhs.size() > 6 && EqualsNoCase(rhs.substr(0, 6), "dword:")) {
        const std::string_view hex = rhs.substr(6);
        std::uint32_t v = 0;
        bool ok = !hex.empty() && hex.size() <= 8;
        for (char c : hex) {
          const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
          if (d < 0) ok = false;
          v = v * 16 + static_cast<std::uint32_t>(d < 0 ? 0 : d);
        }
        if (!ok) {
          problem(first, "a DWORD value needs one to eight hexadecimal digits");
          continue;
        }
        SetValue(*current, name, RegValue::Dword(v));
      } else if (!rhs.empty()) {
        SetValue(*current, name, RegValue{RegValue::Kind::Other, std::string(rhs), 0});
      } else {
        problem(first, "a value is missing after '='");
      }
    }
  }

  std::string Serialize() const {
    std::string out(kHeader);
    out += '\n';
    WriteKeys(out, root, RootName(which));
    return out;
  }
};

std::string Registry::DefaultFolder() {
  if (const char* dir = std::getenv("CADHOST_REGISTRY_DIR"); dir && *dir) {
    std::string f = dir;
    if (f.back() != '/') f += '/';
    return f;
  }
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/cadhost/registry/";
}

Registry::Registry(std::string folder) : folder_(std::move(folder)) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}
Registry::~Registry() = default;
Registry::Registry(Registry&&) noexcept = default;
Registry& Registry::operator=(Registry&&) noexcept = default;

std::string Registry::HivePath(RegHive hive) const {
  return folder_ + (hive == RegHive::LocalMachine ? "HKLM.reg" : "HKCU.reg");
}

Registry::Hive& Registry::Load(RegHive which) const {
  auto& slot = hives_[which == RegHive::LocalMachine ? 0 : 1];
  if (!slot) {
    slot = std::make_unique<Hive>();
    slot->which = which;
    slot->path = HivePath(which);
  }
  Hive& h = *slot;
  const Identity now = IdentityOf(h.path);
  if (h.loaded && now == h.identity) return h;
  h.loaded = true;
  h.identity = now;
  h.root = Key{};
  h.problems.clear();
  if (!now.exists) return h;
  std::string text;
  if (auto r = ReadWholeFile(h.path, text, kMaxHiveBytes); !r) {
    h.problems.push_back(r.message());
    return h;
  }
  h.Parse(text);
  return h;
}

std::vector<std::string> Registry::Problems() const {
  std::vector<std::string> all;
  for (RegHive h : {RegHive::LocalMachine, RegHive::CurrentUser}) {
    const auto& p = Load(h).problems;
    all.insert(all.end(), p.begin(), p.end());
  }
  return all;
}

bool Registry::KeyExists(RegHive hive, std::string_view key) const {
  return FindKey(Load(hive).root, key) != nullptr;
}

std::optional<RegValue> Registry::GetValue(RegHive hive, std::string_view key, std::string_view name) const {
  const Key* k = FindKey(Load(hive).root, key);
  if (!k) return std::nullopt;
  if (const RegValue* v = k->Find(name)) return *v;
  return std::nullopt;
}

std::optional<std::string> Registry::GetString(RegHive hive, std::string_view key, std::string_view name) const {
  auto v = GetValue(hive, key, name);
  if (!v || v->kind != RegValue::Kind::String) return std::nullopt;
  return std::move(v->text);
}

std::optional<std::uint32_t> Registry::GetDword(RegHive hive, std::string_view key, std::string_view name) const {
  auto v = GetValue(hive, key, name);
  if (!v || v->kind != RegValue::Kind::Dword) return std::nullopt;
  return v->dword;
}

std::vector<std::string> Registry::SubKeys(RegHive hive, std::string_view key) const {
  std::vector<std::string> names;
  if (const Key* k = FindKey(Load(hive).root, key))
    for (const auto& [lower, child] : k->children) names.push_back(child->name);
  return names;
}

std::vector<std::string> Registry::ValueNames(RegHive hive, std::string_view key) const {
  std::vector<std::string> names;
  if (const Key* k = FindKey(Load(hive).root, key))
    for (const auto& [n, v] : k->values) names.push_back(n);
  return names;
}

namespace {
// Names that would break the file's line structure.
bool UsableNames(std::string_view key, std::string_view name) {
  return key.find_first_of("\r\n[]") == std::string_view::npos &&
         name.find_first_of("\r\n") == std::string_view::npos;
}
}  // namespace

template <class Change>
Result Registry::Write(RegHive which, Change change) {
  Hive& h = Load(which);
  if (!h.problems.empty())
    return Result(ErrorCode::kMalformed, "the registry file \"" + h.path + "\" has problems (" + h.problems.front() +
                                                "); it is left as it is and not written");
  if (!change(h.root)) return {};
  // On a first start the registry folder (by default under ~/.config) does not exist yet.
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  if (auto r = WriteFileAtomically(h.path, h.Serialize()); !r) {
    h.loaded = false;  // memory is ahead of the file: read it again next time
    return r;
  }
  h.identity = IdentityOf(h.path);
  return {};
}

namespace {
Result TooDeep() {
  return Result(ErrorCode::kRefused,
                "a registry key path may have at most " + std::to_string(kMaxKeyDepth) + " levels");
}
}  // namespace

Result Registry::CreateKey(RegHive hive, std::string_view key) {
  if (!UsableNames(key, "")) return Result(ErrorCode::kRefused, "a registry key or value name cannot hold a line break or a bracket");
  if (SplitKey(key).size() > kMaxKeyDepth) return TooDeep();
  return Write(hive, [&](Key& root) { return MakeKey(root, key) != nullptr; });
}

Result Registry::SetString(RegHive hive, std::string_view key, std::string_view name, std::string_view value) {
  if (!UsableNames(key, name) || value.find_first_of("\r\n") != std::string_view::npos)
    return Result(ErrorCode::kRefused, "a registry string, key or value name cannot hold a line break");
  if (SplitKey(key).size() > kMaxKeyDepth) return TooDeep();
  return Write(hive, [&](Key& root) {
    SetValue(*MakeKey(root, key), name, RegValue::String(std::string(value)));
    return true;
  });
}

Result Registry::SetDword(RegHive hive, std::string_view key, std::string_view name, std::uint32_t value) {
  if (!UsableNames(key, name)) return Result(ErrorCode::kRefused, "a registry key or value name cannot hold a line break or a bracket");
  if (SplitKey(key).size() > kMaxKeyDepth) return TooDeep();
  return Write(hive, [&](Key& root) {
    SetValue(*MakeKey(root, key), name, RegValue::Dword(value));
    return true;
  });
}

Result Registry::DeleteTree(RegHive hive, std::string_view key) {
  return Write(hive, [&](Key& root) {
    const auto parts = SplitKey(key);
    if (parts.empty()) return false;
    Key* parent = &root;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
      const auto it = parent->children.find(AsciiLower(parts[i]));
      if (it == parent->children.end()) return false;
      parent = it->second.get();
    }
    return parent->children.erase(AsciiLower(parts.back())) > 0;
  });
}

Result Registry::DeleteValue(RegHive hive, std::string_view key, std::string_view name) {
  return Write(hive, [&](Key& root) {
    Key* k = const_cast<Key*>(FindKey(root, key));
    return k != nullptr && k->Erase(name);
  });
}

}  // namespace vex::platform
