#pragma once
// PLOT: the drawing's extents or a window, at "1:N" or fitted, in colour or black, to a PDF
// or PNG file; asked on the command line (the file name in a dialog with a window). Works
// without a window: a headless host makes an offscreen application for the fonts.

namespace cadhost::ui {

// Adds PLOT to the host's commands.
void AddPlotCommand();

// Makes sure a QGuiApplication exists (offscreen when there is no display).
void EnsureGuiApplication();

// True when a window can be shown: a display is named, or a Qt platform chosen.
bool DisplayAvailable();

}  // namespace cadhost::ui
