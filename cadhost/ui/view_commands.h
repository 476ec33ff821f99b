#pragma once
// The window's commands for the view: ZOOM (extents, or a window by two corners).

namespace cadhost::ui {

// Adds ZOOM to the host's commands; it works on the main window's current view.
void AddViewCommands();

}  // namespace cadhost::ui
