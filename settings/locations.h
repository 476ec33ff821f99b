#pragma once
// Where the installed system keeps its files. The plug-in computes these at load from its own
// path, the batch tool from its program's path or --ini; whoever needs a file is handed them.

#include <string>


namespace vex {

struct Locations {
  std::string installFolder;   // with a trailing '/'
  std::string settingsFile;    // install folder + "VexTable.ini"
  std::string languageFolder;  // install folder + "Language/"
  std::string headerRoot;      // install folder + "Title/"
  std::string helpFile;        // install folder + "Help/VexTable.html"

  // The standard layout below an install folder ("" stays "", a missing '/' is added).
  static Locations ForInstallFolder(std::string folder);
};

// The install folder of a module file that lies in a per-release subfolder of it
// ("/opt/vt/Sys16/VexTable.arx" gives "/opt/vt/"): the file name is removed, then trailing
// slashes, then everything after the last remaining slash.
std::string InstallFolderOfModule(const std::string& modulePath);

// The help file in the drafter's language: "Help/VexTable.zh.html" beside the help file for
// "Chinese" when it is there, the help file itself otherwise.
std::string HelpFileFor(const std::string& helpFile, const std::string& language);

}  // namespace vex
