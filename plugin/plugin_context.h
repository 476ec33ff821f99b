#pragma once
// The plug-in-wide state, one for the life of the library: its folders, the catalogues
// gathered at load, the shared windows, the picture store, the current table, and the
// recogniser's last result.

#include <memory>
#include <string>

#include "draw/catalogues.h"
#include "model/image_store.h"
#include "model/table_data.h"
#include "plugin/table_editor.h"
#include "recognize/table_recognizer.h"
#include "settings/locations.h"

namespace vex {

struct PluginContext {
  Locations where;  // install folder, settings file, language folder, header root, help file
  FontCatalogue fonts;
  LinetypeCatalogue linetypes;
  std::unique_ptr<TableEditor> editor;  // null until the editor window is first shown
  ImageStore imageStore;
  // The table the editor's Draw hands to the drawing commands.
  TableData currentTable;
  TableRecognizer recognizer;

  // Computes the folders from the plug-in file's path (".../Sys16/VexTable.arx" lies one
  // level below the install folder), makes them the active locations and creates the header
  // and language folders.
  void SetUpFolders(const std::string& pluginPath);
};

// The one context of the plug-in.
PluginContext& Plugin();

}  // namespace vex
