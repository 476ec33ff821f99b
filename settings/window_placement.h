#pragma once
// Where a window was left: a placement record kept in a section of the settings file, and the
// rules that bring a stored placement back onto the screen. The editor keeps its own in
// "VexTable_Dialog" under the keys "Lenth", "flags", "showCmd", "ptMinPositionx",
// "ptMinPositiony", "ptMaxPositionx", "ptMaxPositiony", "left", "top", "right", "bottom".

#include <string_view>

#include "platform/result.h"
#include "settings/profile_file.h"

namespace vex {

// Show states as the record stores them.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowRestore = 9;

struct WindowPlacement {
  int length = 44;  // the record's size as the placement call fills it
  int flags = 0;
  int showCmd = kShowNormal;
  int minX = -1, minY = -1;  // where the window goes when minimised (-1: anywhere)
  int maxX = -1, maxY = -1;  // where it goes when maximised
  int left = 0, top = 0, right = 0, bottom = 0;  // the restored frame, in screen pixels
  bool operator==(const WindowPlacement&) const = default;
};

// Reads the record from `section`; each missing key keeps its value in `current`.
WindowPlacement ReadWindowPlacement(const ProfileFile& file, std::string_view section, const WindowPlacement& current);
// Whether `section` holds a placement (its frame's corner) to restore.
bool HasWindowPlacement(const ProfileFile& file, std::string_view section);
// Writes every key of the record in one write.
Result WriteWindowPlacement(const ProfileFile& file, std::string_view section, const WindowPlacement& p);

// A stored placement made fit for showing on a screen of `screenWidth` x `screenHeight`: a
// minimised show state becomes restore; a frame left of or above the screen moves right or
// down to 0, one past the right or bottom edge moves back to end there, each keeping its size.
WindowPlacement PlacementOnScreen(WindowPlacement p, int screenWidth, int screenHeight);

// The editor's zoom, "ZoomView" of "VexTable_Dialog", with `current` as the default, held
// within the zoom limits.
double ReadEditorZoom(const ProfileFile& file, double current);
Result WriteEditorZoom(const ProfileFile& file, double zoom);

inline constexpr std::string_view kEditorPlacementSection = "VexTable_Dialog";

// The floating toolbar's top-left corner in screen pixels, kept under "MAIN_TOOLBAR" as
// "Left" and "Top".
struct ToolbarSpot {
  int x = 0, y = 0;
  bool operator==(const ToolbarSpot&) const = default;
};
inline constexpr std::string_view kToolbarSection = "MAIN_TOOLBAR";
// Where a toolbar of `toolbarWidth` first goes: its right edge 300 pixels left of the host
// window's right edge, its top level with the host window's top.
ToolbarSpot DefaultToolbarSpot(int hostLeft, int hostTop, int hostWidth, int toolbarWidth);
// A stored spot made fit for a screen: negative coordinates become 0; a toolbar that would
// pass the right or bottom edge is moved back to end there (never left of or above 0).
ToolbarSpot ToolbarOnScreen(ToolbarSpot p, int width, int height, int screenWidth, int screenHeight);
// "Left" and "Top", each defaulting to `current`'s.
ToolbarSpot ReadToolbarSpot(const ProfileFile& file, ToolbarSpot current);
Result WriteToolbarSpot(const ProfileFile& file, ToolbarSpot p);

}  // namespace vex
