#pragma once
// What the grid tells its parent: a notification code, the cell and, for edits, the text and
// the key that ended the edit. A receiver vetoes a begin-edit or end-edit by setting
// `result` below 0 (signals are delivered directly, so the grid sees the answer).

#include <QString>

#include <functional>
#include <string>

namespace vex {

enum GridNotify : int {
  kGridRightClick = -5,      // the cell under the pointer, -1, -1 outside the cells
  kGridSelChanging = -100,
  kGridSelChanged = -101,    // with the new focus cell
  kGridBeginEdit = -105,
  kGridEndEdit = -106,       // with the edited text and the ending key
  kGridBeginDrag = -109,     // with the top-left cell of the dragged selection
};

struct GridNotification {
  int code = 0;
  int row = -1;
  int column = -1;
  QString text;    // end edit: the new text
  int endKey = 0;  // end edit: Qt::Key_Tab, Qt::Key_Return, Qt::Key_Escape, or 0
  int result = 0;  // set below 0 to veto
};

// How an image cell asks the host to pick a picture; the grid knows nothing of the host.
struct GridCommandPoster {
  // True when the host has a document the command can work in.
  std::function<bool()> hasActiveDocument;
  // Cancels any running command and runs `name`.
  std::function<void(const std::string& name)> post;
};

}  // namespace vex
