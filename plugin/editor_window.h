#pragma once
// The table editor window inside the CAD host: the window of editor/ behind the interface the
// commands see, with the plug-in's context as the window's host. The window belongs to the
// host's main frame (a top-level window when the host has none) and is deleted once it was
// closed, so that the next command that shows the editor makes a new one.

#include <memory>
#include <optional>

#include "files/header_dialog_rules.h"
#include "plugin/table_editor.h"

namespace vex {

class TableEditorWindow;

// A new editor window, not shown yet. Makes the Qt application first when the host runs
// without one (a host without a window).
std::unique_ptr<TableEditor> MakeEditorWindow();

// The table initialization dialog over the host's main frame, as VEXDRAWTABLE shows it; a
// chosen header's pictures go into the plug-in's picture store. nullopt when cancelled.
std::optional<TableInitAnswer> AskNewTable();

// The window behind an editor made by MakeEditorWindow, or nullptr for another editor.
TableEditorWindow* WindowOf(TableEditor* editor);

// Makes the Qt application when the host runs without one (a host without a window); the
// plug-in's windows need one.
void EnsureQtApplication();

// Ends the Qt application the plug-in made for a host without one (at unload: its code goes
// away with the plug-in).
void EndOwnQtApplication();

}  // namespace vex
