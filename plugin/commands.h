#pragma once
// The plug-in's commands, registered in group KORRVEXTABLE, and the posting of a command from
// a window to the host.

#include <string>

namespace vex {

constexpr const char* kCommandGroup = "KORRVEXTABLE";
// Transparent, and may use the pick-first selection.
constexpr int kCommandFlags = 3;

// Registers the commands, in the order of the command table. False when the host refused one.
bool RegisterCommands();
// Removes the whole group.
void RemoveCommands();

// Hands a command to the host from a window: ESC (to cancel whatever runs), the name, ENTER,
// typed into the current document's command line. Nothing without a current document.
void PostCommand(const std::string& name);

// The commands themselves.
void CmdDrawTable();     // VEXTABLE_DRAW: draws the editor's table and lets the drafter place it
void CmdEditTable();     // VEXTABLE_EDIT: replaces a table read from the drawing by its edited version
void CmdSelectImage();   // VEXTABLE_SELECTIMAGE: captures a selection as the selected cells' picture
void CmdDrawImage();     // VEXTABLE_DRAWIMAGE: draws the selected cells' pictures, each placed by dragging

}  // namespace vex
