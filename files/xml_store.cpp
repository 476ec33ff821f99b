#include "files/xml_store.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "platform/pooled_memory.h"
#include "platform/text_util.h"

namespace vex {

namespace {

// A value of only blanks is still a value (a cell text of spaces); indentation between
// elements is not, and parse_ws_pcdata_single keeps exactly the former. Line ends are kept as
// they are: a cell's lines are separated by "\r\n", which end-of-line normalisation would
// turn into "\n".
constexpr unsigned kParseOptions =
    (pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single) & ~pugi::parse_eol;

std::string NewDocumentText(const std::string& root) {
  const std::string r = root.empty() ? "xmlRoot" : root;
  return "<?xml version=\"1.0\" ?><" + r + "></" + r + ">";
}

std::vector<std::string_view> Split(std::string_view s) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const auto slash = s.find('/', start);
    parts.push_back(s.substr(start, slash == std::string_view::npos ? slash : slash - start));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return parts;
}

}  // namespace

// Element names we create: a conservative subset of XML names (our paths are ASCII words
// and digits); anything else would make the saved document unreadable.
bool XmlStore::IsElementName(std::string_view name) {
  if (name.empty()) return false;
  const auto ok = [](char c, bool first) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || u >= 0x80) return true;
    return !first && ((c >= '0' && c <= '9') || c == '-' || c == '.');
  };
  for (std::size_t i = 0; i < name.size(); ++i)
    if (!ok(name[i], i == 0)) return false;
  return !(name.size() >= 3 && platform::EqualsNoCase(name.substr(0, 3), "xml"));
}

namespace {

// True when a comes before b in document order (a != b).
bool Precedes(pugi::xml_node a, pugi::xml_node b) {
  std::vector<pugi::xml_node> pa, pb;
  for (auto n = a; n; n = n.parent()) pa.push_back(n);
  for (auto n = b; n; n = n.parent()) pb.push_back(n);
  auto ia = pa.rbegin(), ib = pb.rbegin();
  while (ia != pa.rend() && ib != pb.rend() && *ia == *ib) ++ia, ++ib;
  if (ia == pa.rend()) return true;   // a is an ancestor of b
  if (ib == pb.rend()) return false;  // b is an ancestor of a
  for (auto n = *ia; n; n = n.next_sibling())
    if (n == *ib) return true;
  return false;
}

pugi::xml_node NextNamed(pugi::xml_node n, std::string_view name) {
  for (auto s = n.next_sibling(); s; s = s.next_sibling())
    if (s.type() == pugi::node_element && name == s.name()) return s;
  return {};
}

struct FileWriter : pugi::xml_writer {
  explicit FileWriter(platform::AtomicFileWriter& f) : file(f) {}
  void write(const void* data, std::size_t size) override {
    file.Write(std::string_view(static_cast<const char*>(data), size));
  }
  platform::AtomicFileWriter& file;
};

// Every pugixml document of the process takes its memory from the pool. Installed before
// main, so no document allocated elsewhere can be freed through the pool.
const bool kPoolInstalled = [] {
  pugi::set_memory_management_functions(platform::PooledAllocate, platform::PooledFree);
  return true;
}();

}  // namespace

struct XmlStore::Impl {
  pugi::xml_document doc;
  std::string source;  // the file's bytes, parsed in place: names and texts point into it

  // The index: every element by name, and for parents with many element children a map from
  // name to the first child of that name (smaller parents are scanned: it costs less than
  // hashing, and keeps the index small). Views point at the nodes' own name storage, which
  // lives as long as the node.
  bool indexed = false;
  std::unordered_map<std::string_view, std::vector<pugi::xml_node>> byName;
  struct Children {
    pugi::xml_node first;  // the first child of the name
    bool more = false;     // whether later siblings share the name
  };
  using ChildMap = std::unordered_map<std::string_view, Children>;
  std::unordered_map<const void*, ChildMap> bigParents;
  static constexpr int kScanLimit = 16;

  // Table files are read and written cell by cell, so consecutive addresses share all but
  // their last name. Each cache keeps the element that the shared part leads to.
  std::uint64_t version = 0;   // bumped whenever an element is added or removed
  std::uint64_t removals = 0;  // bumped whenever elements are removed
  std::string readPrefix;      // a chain whose query has exactly one match (or none) ...
  pugi::xml_node readNode;     // ... and that match
  std::uint64_t readVersion = UINT64_MAX;
  std::string writePrefix;     // the rooted chain of the last write, less its last name ...
  pugi::xml_node writeNode;    // ... and the element it leads to
  std::uint64_t writeRemovals = UINT64_MAX;

  // Records an element appended as the last child of its parent.
  void Add(pugi::xml_node e) {
    ++version;
    byName[e.name()].push_back(e);
    const auto big = bigParents.find(e.parent().internal_object());
    if (big != bigParents.end()) {
      const auto [it, added] = big->second.try_emplace(e.name(), Children{e, false});
      if (!added) it->second.more = true;
    }
  }

  void EnsureIndex() {
    if (indexed) return;
    ++removals;
    byName.clear();
    bigParents.clear();
    // Preorder visits siblings in order, so the first child of a name is inserted first.
    std::vector<pugi::xml_node> stack;
    for (auto c = doc.last_child(); c; c = c.previous_sibling())
      if (c.type() == pugi::node_element) stack.push_back(c);
    while (!stack.empty()) {
      const pugi::xml_node e = stack.back();
      stack.pop_back();
      byName[e.name()].push_back(e);
      for (auto c = e.last_child(); c; c = c.previous_sibling())
        if (c.type() == pugi::node_element) stack.push_back(c);
    }
    indexed = true;
  }

  Children ChildrenNamed(pugi::xml_node parent, std::string_view name) {
    if (const auto big = bigParents.find(parent.internal_object()); big != bigParents.end()) {
      const auto it = big->second.find(name);
      return it == big->second.end() ? Children{} : it->second;
    }
    Children found;
    int count = 0;
    for (auto c = parent.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      if (++count > kScanLimit) {
        const ChildMap& map = MapChildren(parent);
        const auto it = map.find(name);
        return it == map.end() ? Children{} : it->second;
      }
      if (name != c.name()) continue;
      if (found.first) found.more = true;
      else found.first = c;
    }
    return found;
  }

  ChildMap& MapChildren(pugi::xml_node parent) {
    ChildMap& map = bigParents[parent.internal_object()];
    for (auto c = parent.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      const auto [it, added] = map.try_emplace(c.name(), Children{c, false});
      if (!added) it->second.more = true;
    }
    return map;
  }

  pugi::xml_node FirstChild(pugi::xml_node parent, std::string_view name) {
    return ChildrenNamed(parent, name).first;
  }

  // The first element in document order matching //names[0]/names[1]/.../names[k-1], and how
  // many match (counted up to 2).
  struct Match {
    pugi::xml_node node;
    int count = 0;
  };
  Match Find(const std::vector<std::string_view>& names) {
    EnsureIndex();
    // Start from the rarest name of the chain, check the ancestors above it, then walk the
    // children below it.
    // A chain usually starts with a prefix element that occurs once: take it without
    // counting the others.
    std::size_t pivot = 0;
    std::size_t fewest = SIZE_MAX;
    if (const auto first = byName.find(names[0]); first != byName.end() && first->second.size() <= 2)
      fewest = first->second.size();
    for (std::size_t i = 0; fewest > 2 && i < names.size(); ++i) {
      const auto it = byName.find(names[i]);
      const std::size_t n = it == byName.end() ? 0 : it->second.size();
      if (n < fewest) fewest = n, pivot = i;
    }
    if (fewest == 0) return {};
    Match best;
    for (const pugi::xml_node x : byName.find(names[pivot])->second) {
      pugi::xml_node up = x.parent();
      bool ok = true;
      for (std::size_t i = pivot; ok && i-- > 0;) {
        ok = up.type() == pugi::node_element && names[i] == up.name();
        up = up.parent();
      }
      if (ok) Down(x, names, pivot + 1, best);
    }
    return best;
  }

  void Down(pugi::xml_node at, const std::vector<std::string_view>& names, std::size_t step,
            Match& best) {
    if (step == names.size()) {
      if (!best.node || Precedes(at, best.node)) best.node = at;
      best.count = std::min(best.count + 1, 2);
      return;
    }
    const Children children = ChildrenNamed(at, names[step]);
    if (!children.first) return;
    if (!children.more) return Down(children.first, names, step + 1, best);
    for (auto c = children.first; c; c = NextNamed(c, names[step])) Down(c, names, step + 1, best);
  }

  // The element a read of the chain q ("A/B/C", no empty names) finds.
  pugi::xml_node Query(std::string_view q) {
    EnsureIndex();
    const auto slash = q.rfind('/');
    if (slash == std::string_view::npos) return Find({q}).node;
    const std::string_view prefix = q.substr(0, slash);
    if (readVersion != version || prefix != readPrefix) {
      const Match m = Find(Split(prefix));
      // Several matches of the shared part: the last name decides which comes first.
      if (m.count > 1) return Find(Split(q)).node;
      readPrefix.assign(prefix);
      readNode = m.node;
      readVersion = version;
    }
    // The matches are the children of that name of one element; the first is first.
    return readNode ? FirstChild(readNode, q.substr(slash + 1)) : pugi::xml_node();
  }

  // The first child named `name`, appended when there is none.
  pugi::xml_node Child(pugi::xml_node parent, std::string_view name) {
    pugi::xml_node child = FirstChild(parent, name);
    if (!child) {
      child = parent.append_child(std::string(name).c_str());
      Add(child);
    }
    return child;
  }
};

XmlStore::XmlStore() = default;
XmlStore::~XmlStore() = default;

int XmlStore::Open(const std::string& fileName, const std::string& rootName) {
  impl_.reset();
  fileName_ = fileName;
  rootName_ = rootName;
  parseError_.clear();
  impl_ = std::make_unique<Impl>();

  std::string& bytes = impl_->source;
  bool loaded = false;
  std::error_code ec;
  if (!fileName.empty() && std::filesystem::is_regular_file(fileName, ec) &&
      std::filesystem::file_size(fileName, ec) > kMaxFileBytes) {
    parseError_ = "the file is larger than " + std::to_string(kMaxFileBytes >> 20) + " MB";
  } else if (!fileName.empty() && platform::ReadWholeFile(fileName, bytes, kMaxFileBytes)) {
    const auto r = impl_->doc.load_buffer_inplace(bytes.data(), bytes.size(), kParseOptions);
    if (!r) {
      parseError_ = std::string(r.description()) + " at byte " + std::to_string(r.offset);
      impl_->doc.reset();
      std::string().swap(bytes);
    } else if (!impl_->doc.document_element()) {
      parseError_ = "no root element";
      impl_->doc.reset();
      std::string().swap(bytes);
    } else {
      loaded = true;
    }
  }
  if (loaded) return kLoaded;
  impl_->doc.load_string(NewDocumentText(rootName).c_str(),
                         kParseOptions);
  return parseError_.empty() ? kLoaded : kMalformed;
}

int XmlStore::Clear() {
  // The old file stays on disk until Save replaces it: deleting it first would lose the
  // user's table if the new one could not be written.
  const std::string name = fileName_;
  impl_ = std::make_unique<Impl>();
  impl_->doc.load_string(NewDocumentText("xmlRoot").c_str(),
                         kParseOptions);
  fileName_ = name;
  rootName_ = "xmlRoot";
  parseError_.clear();
  return kLoaded;
}

Result XmlStore::Save(const std::string& fileName) {
  if (!impl_) return Result(ErrorCode::kRefused, "no document to save");
  if (!fileName.empty()) fileName_ = fileName;
  platform::AtomicFileWriter file(fileName_);
  FileWriter w(file);
  impl_->doc.save(w, "\t", pugi::format_default, pugi::encoding_utf8);
  return file.Commit();
}

namespace {

// The element chain of a read: "//" + path + "/" (unless path ends in '/') + key, without the
// leading slashes; "" when it is not a plain chain of names ("//" inside, or a trailing '/').
std::string_view QueryChain(std::string_view path, std::string_view key, std::string& storage) {
  storage.assign(path);
  if (storage.empty() || storage.back() != '/') storage += '/';
  storage += key;
  std::string_view q = storage;
  while (!q.empty() && q.front() == '/') q.remove_prefix(1);
  if (q.empty() || q.back() == '/' || q.find("//") != std::string_view::npos) return {};
  return q;
}

std::string TextOf(pugi::xml_node e) {
  const pugi::xml_node only = e.first_child();
  if (only && !only.next_sibling() &&
      (only.type() == pugi::node_pcdata || only.type() == pugi::node_cdata))
    return only.value();
  std::string text;
  for (auto n = e.first_child(); n;) {
    if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) text += n.value();
    if (n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n && n != e && !n.next_sibling()) n = n.parent();
    if (!n || n == e) break;
    n = n.next_sibling();
  }
  return text;
}

}  // namespace

std::string XmlStore::Element::Text() const {
  return TextOf(pugi::xml_node(static_cast<pugi::xml_node_struct*>(const_cast<void*>(node_))));
}

void XmlStore::WalkElements(Visitor visit, void* context) const {
  if (!impl_) return;
  const auto firstElement = [](pugi::xml_node n) {
    while (n && n.type() != pugi::node_element) n = n.next_sibling();
    return n;
  };
  std::vector<std::string_view> chain;
  // Preorder without recursion (documents may nest deeper than any stack): down to the first
  // element child, else on to the next element sibling of the nearest ancestor that has one.
  pugi::xml_node e = firstElement(impl_->doc.first_child());
  while (e) {
    chain.emplace_back(e.name());
    if (!visit(context, chain, Element(e.internal_object()))) return;
    if (pugi::xml_node child = firstElement(e.first_child())) {
      e = child;
      continue;
    }
    for (;;) {
      chain.pop_back();
      if (pugi::xml_node next = firstElement(e.next_sibling())) {
        e = next;
        break;
      }
      e = e.parent();
      if (!e || e.type() != pugi::node_element) return;
    }
  }
}

std::string XmlStore::GetString(std::string_view path, std::string_view key,
                                std::string_view def) const {
  if (!impl_) return std::string(def);
  std::string storage;
  const auto q = QueryChain(path, key, storage);
  const pugi::xml_node e = q.empty() ? pugi::xml_node() : impl_->Query(q);
  return e ? TextOf(e) : std::string(def);
}

bool XmlStore::Has(std::string_view path, std::string_view key) const {
  if (!impl_) return false;
  std::string storage;
  const auto q = QueryChain(path, key, storage);
  return !q.empty() && impl_->Query(q);
}

int XmlStore::GetInt(std::string_view path, std::string_view key, int def) const {
  return platform::ParseLeadingInt(GetString(path, key, platform::FormatInt(def)));
}

double XmlStore::GetDouble(std::string_view path, std::string_view key, double def) const {
  return platform::ParseLeadingDouble(GetString(path, key, platform::FormatFixed(def, 6)));
}

void XmlStore::PutInt(std::string_view path, std::string_view key, int value) {
  PutString(path, key, platform::FormatInt(value));
}

void XmlStore::PutDouble(std::string_view path, std::string_view key, double value) {
  PutString(path, key, platform::FormatFixed(value, 6));
}

void XmlStore::PutString(std::string_view path, std::string_view key, std::string_view text) {
  if (!impl_ || path.empty()) return;
  std::string address(path);
  if (address.back() != '/') address += '/';
  address += key;
  for (char& c : address)
    if (c == ' ') c = '_';
  if (!address.empty() && address.back() == '/') address.pop_back();
  const auto names = Split(address);
  for (const auto n : names)
    if (!IsElementName(n)) return;

  impl_->EnsureIndex();
  Impl& x = *impl_;
  pugi::xml_node node = x.doc.document_element();
  if (!node) return;
  const auto slash = address.rfind('/');
  const std::string_view prefix =
      slash == std::string::npos ? std::string_view() : std::string_view(address).substr(0, slash);
  if (!prefix.empty() && x.writeRemovals == x.removals && prefix == x.writePrefix) {
    node = x.writeNode;
  } else {
    for (std::size_t i = 0; i + 1 < names.size(); ++i) node = x.Child(node, names[i]);
    x.writePrefix.assign(prefix);
    x.writeNode = node;
    x.writeRemovals = x.removals;
  }
  node = x.Child(node, names.back());
  bool removedElements = false;
  while (pugi::xml_node c = node.first_child()) {
    removedElements = removedElements || c.type() == pugi::node_element;
    node.remove_child(c);
  }
  if (removedElements) {
    // Views into removed nodes are gone, and so are the elements the caches hold.
    x.indexed = false;
    ++x.removals;
    ++x.version;
  }
  if (!text.empty()) node.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
}

}  // namespace vex
