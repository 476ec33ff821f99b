#include "files/header_dialog_rules.h"

#include <algorithm>

#include "files/header_library.h"

namespace vex {

namespace {
std::vector<std::string> WithFirst(std::string_view first, const std::vector<std::string>& rest) {
  std::vector<std::string> list;
  list.reserve(rest.size() + 1);
  list.emplace_back(first);
  list.insert(list.end(), rest.begin(), rest.end());
  return list;
}

std::string EntryAfterFirst(const std::vector<std::string>& list, int index) {
  if (index <= 0 || index >= static_cast<int>(list.size())) return {};
  return list[static_cast<std::size_t>(index)];
}
}  // namespace

std::vector<std::string> InitClassList(std::string_view allClassesText, const std::vector<std::string>& classes) {
  return WithFirst(allClassesText, classes);
}

std::vector<std::string> InitHeaderList(std::string_view blankTableText, const std::vector<std::string>& headers) {
  return WithFirst(blankTableText, headers);
}

std::string ClassOfEntry(const std::vector<std::string>& classList, int index) {
  return EntryAfterFirst(classList, index);
}

std::string HeaderOfEntry(const std::vector<std::string>& headerList, int index) {
  return EntryAfterFirst(headerList, index);
}

int EntryIndex(const std::vector<std::string>& list, std::string_view wanted) {
  if (wanted.empty() || list.size() < 2) return 0;
  const auto it = std::find(list.begin() + 1, list.end(), wanted);
  return it == list.end() ? 0 : static_cast<int>(it - list.begin());
}

std::vector<std::string> SaveClassList(std::string_view noClassText, const std::vector<std::string>& classes) {
  return WithFirst(noClassText, classes);
}

std::vector<HeaderTreeClass> BuildHeaderTree(HeaderLibrary& library) {
  std::vector<HeaderTreeClass> tree;
  // One pass over the scan: the classes in the order it first meets them, each with its
  // headers in scan order, as ListClasses and ListHeaders(class) give them.
  for (const HeaderLibrary::Entry& e : library.Entries()) {
    if (e.className.empty()) continue;
    auto it = std::find_if(tree.begin(), tree.end(), [&](const HeaderTreeClass& c) { return c.name == e.className; });
    if (it == tree.end()) it = tree.insert(tree.end(), HeaderTreeClass{e.className, {}, {}});
    it->headers.push_back(e.name);
    it->paths.push_back(e.path);
  }
  return tree;
}

std::optional<TreePlace> FindInTree(const std::vector<HeaderTreeClass>& tree, std::string_view headerName,
                                    std::string_view className) {
  if (headerName.empty()) return std::nullopt;
  for (std::size_t c = 0; c < tree.size(); ++c) {
    if (!className.empty() && tree[c].name != className) continue;
    const auto& h = tree[c].headers;
    if (const auto it = std::find(h.begin(), h.end(), headerName); it != h.end())
      return TreePlace{static_cast<int>(c), static_cast<int>(it - h.begin())};
  }
  return std::nullopt;
}

std::string DeleteHeaderQuestion(std::string_view headerName) {
  return "Do you delete Header " + std::string(headerName) + "？";
}

std::string DeleteClassQuestion(std::string_view className) {
  return "Do you delete class " + std::string(className) + "？";
}

}  // namespace vex
