#pragma once
// The plug-in-wide state, one for the life of the library: its folders, the catalogues
// gathered at load, the shared windows, the picture store, the current table, and what the
// last reading of a drawn table found.

#include <functional>
#include <memory>
#include <string>

#include "draw/catalogues.h"
#include "files/header_dialog_rules.h"
#include "files/header_library.h"
#include "model/table_data.h"
#include "pictures/image_store.h"
#include "plugin/editor_window.h"
#include "plugin/host_messages.h"
#include "plugin/table_editor.h"
#include "recognize/table_recognizer.h"
#include "settings/language_pack.h"
#include "settings/locations.h"
#include "settings/profile_file.h"
#include "settings/settings.h"

namespace vex {

struct PluginContext {
  Locations where;  // install folder, settings file, language folder, header root, help file
  FontCatalogue fonts;
  LinetypeCatalogue linetypes;
  std::unique_ptr<TableEditor> editor;  // null until the editor window is first shown
  // Makes the editor when a command first shows it (tests put a stand-in in its place).
  std::function<std::unique_ptr<TableEditor>()> makeEditor = MakeEditorWindow;
  ImageStore imageStore;
  // The header library of the header root, its folder scan kept between commands.
  std::unique_ptr<HeaderLibrary> headers;
  // Asks for a new table with the table initialization dialog (tests put answers in its place).
  std::function<std::optional<TableInitAnswer>()> askNewTable = AskNewTable;
  // The table the editor's Draw hands to the drawing commands.
  TableData currentTable;
  // The last table read from a drawing; VEXTABLE_EDIT replaces its entities.
  RecognizedTable lastRead;
  HostMessages messages;

  // Computes the folders from the plug-in file's path (".../Sys16/VexTable.arx" lies one
  // level below the install folder) and creates the header and language folders.
  void SetUpFolders(const std::string& pluginPath);

  ProfileFile SettingsFile() const { return ProfileFile(where.settingsFile); }
  LanguagePack Language() const { return LanguagePack(where.languageFolder, where.settingsFile); }
  // The settings as they are now; commands read them once at their start.
  Settings ReadSettings() const { return vex::ReadSettings(SettingsFile(), Language()); }
  // The header library, made on first use.
  HeaderLibrary& Headers();
  // A text of the active language.
  std::string Text(std::string_view key) const { return Language().Text(key); }
};

// The one context of the plug-in.
PluginContext& Plugin();

}  // namespace vex
