#pragma once
// What the three header library windows show and ask, without the windows: the lists of the
// table initialization dialog, the class box of the save-header dialog, the header manager's
// tree and its delete questions, and what each of them hands back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/table_data.h"

namespace vex {

class HeaderLibrary;

// Header type of a blank table handed to the insert-header command.
inline constexpr int kBlankTableType = -1;

// What OK of the table initialization dialog hands to its caller.
struct TableInitAnswer {
  bool hasHeader = false;
  std::string headerName;      // "" for a blank table
  std::string headerPath;      // the header's file ("" for a blank table)
  int type = kBlankTableType;  // the header's TitleROrC
  int rows = 0, cols = 0, rowHeight = 0, colWidth = 0;
  TableData table;             // the header grown to the chosen size, or the blank table
};

// What OK of the save-header dialog hands to its caller.
struct SaveHeaderAnswer {
  std::string name;
  std::string className;  // "" for no class
  int type = 0;
};

// The class list of the table initialization dialog: the all-classes entry, then the classes.
std::vector<std::string> InitClassList(std::string_view allClassesText, const std::vector<std::string>& classes);
// Its header list: the blank-table entry, then the headers.
std::vector<std::string> InitHeaderList(std::string_view blankTableText, const std::vector<std::string>& headers);
// The class a class-list entry shows: "" (all) for the first entry, which stands for all even
// when a class happens to carry the same words.
std::string ClassOfEntry(const std::vector<std::string>& classList, int index);
// The header a header-list entry names: "" (a blank table) for the first entry.
std::string HeaderOfEntry(const std::vector<std::string>& headerList, int index);
// The entry to select for `wanted` (as ClassOfEntry / HeaderOfEntry give it): the first
// entry after the first that equals it, 0 when none does or `wanted` is empty.
int EntryIndex(const std::vector<std::string>& list, std::string_view wanted);

// The save-header dialog's class box: the no-class entry, then the classes.
std::vector<std::string> SaveClassList(std::string_view noClassText, const std::vector<std::string>& classes);

// The header manager's tree: every class, with its headers; headers without a class are left
// out.
struct HeaderTreeClass {
  std::string name;
  std::vector<std::string> headers;
  std::vector<std::string> paths;  // each header's file
  bool operator==(const HeaderTreeClass&) const = default;
};
std::vector<HeaderTreeClass> BuildHeaderTree(HeaderLibrary& library);
// Where the header to preselect is: the class and child index, nullopt when it is not in the
// tree. `className` narrows the search when the caller knows it.
struct TreePlace {
  int classIndex = 0;
  int headerIndex = 0;
  bool operator==(const TreePlace&) const = default;
};
std::optional<TreePlace> FindInTree(const std::vector<HeaderTreeClass>& tree, std::string_view headerName,
                                    std::string_view className = {});

// The header manager's questions before deleting, and their caption.
inline constexpr const char* kDeleteCaption = "System prompt";
std::string DeleteHeaderQuestion(std::string_view headerName);  // "Do you delete Header %s？"
std::string DeleteClassQuestion(std::string_view className);    // "Do you delete class %s？"

// Header manager modes: opened from the table initialization dialog (OK shown) or from the
// editor (OK hidden).
inline constexpr int kManagerFromInitDialog = 0;
inline constexpr int kManagerFromEditor = 1;

}  // namespace vex
