#pragma once
// The plug-in's commands, registered in group KORRVEXTABLE, and the posting of a command from
// a window to the host.

#include <string>

#include "cadhost/sdk/accmd.h"
#include "platform/result.h"
#include "plugin/table_editor.h"

namespace vex {

constexpr const char* kCommandGroup = "KORRVEXTABLE";
// Every command may run inside another's prompt and takes the pick-first selection.
constexpr int kCommandFlags = ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET;

// Registers the commands, in the order of the command table; the first one the host refuses
// is named in the failure (the others are registered all the same).
Result RegisterCommands();
// Removes the whole group.
void RemoveCommands();

// Hands a command to the host from a window: ESC (to cancel whatever runs), the name, ENTER,
// typed into the current document's command line. Nothing without a current document.
void PostCommand(const std::string& name);

// The editor, made when there is none yet (not shown).
TableEditor& EnsureEditor();

// The commands themselves.
void CmdNewTable();      // VEXDRAWTABLE: a new table, blank or from a header, into the editor
void CmdReadTable();     // VEXEDITTABLE: reads a drawn table into the editor
void CmdOpenTable();     // VEXOPENTABLE: shows the editor, with a blank table when it is new
void CmdDrawTable();     // VEXTABLE_DRAW: draws the editor's table and lets the drafter place it
void CmdEditTable();     // VEXTABLE_EDIT: replaces a table read from the drawing by its edited version
void CmdSelectImage();   // VEXTABLE_SELECTIMAGE: captures a selection as the selected cells' picture
void CmdDrawImage();     // VEXTABLE_DRAWIMAGE: draws the selected cells' pictures, each placed by dragging
void CmdBaseSetup();     // VEXBASESETUP: the settings dialog
void CmdAbout();         // VEXTABLEABOUT: the about box
void CmdToolbar();       // VEXTABLE: shows the floating toolbar

}  // namespace vex
