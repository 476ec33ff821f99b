#pragma once
// The pictures of the table editor's toolbar buttons and menu items, drawn in code: each
// command gets a picture of its role, in the style of the grid (thin dark outlines, a few flat
// colours), sharp at 16 and 32 pixels.

#include <QIcon>
#include <QPixmap>

namespace vex {

// The picture of a command (by its menu or toolbar identifier; a toolbar button and the menu
// item it repeats share one); a null icon for an identifier without one.
QIcon EditorIcon(int commandId);

// The picture drawn at `size` x `size` pixels on a transparent background.
QPixmap RenderEditorIcon(int commandId, int size);

}  // namespace vex
