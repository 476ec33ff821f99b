#include "settings/window_placement.h"

#include "model/editor_units.h"

namespace vex {
namespace {

struct PlacementKey {
  const char* name;
  int WindowPlacement::*member;
};

constexpr PlacementKey kKeys[] = {
    {"Lenth", &WindowPlacement::length},     {"flags", &WindowPlacement::flags},
    {"showCmd", &WindowPlacement::showCmd},  {"ptMinPositionx", &WindowPlacement::minX},
    {"ptMinPositiony", &WindowPlacement::minY}, {"ptMaxPositionx", &WindowPlacement::maxX},
    {"ptMaxPositiony", &WindowPlacement::maxY}, {"left", &WindowPlacement::left},
    {"top", &WindowPlacement::top},          {"right", &WindowPlacement::right},
    {"bottom", &WindowPlacement::bottom},
};

}  // namespace

bool HasWindowPlacement(const ProfileFile& file, std::string_view section) {
  return file.Has(section, "left") && file.Has(section, "top");
}

WindowPlacement ReadWindowPlacement(const ProfileFile& file, std::string_view section, const WindowPlacement& current) {
  const ProfileFile snapshot = file.Snapshot();
  WindowPlacement p = current;
  for (const PlacementKey& k : kKeys) p.*k.member = snapshot.GetInt(section, k.name, current.*k.member);
  return p;
}

Result WriteWindowPlacement(const ProfileFile& file, std::string_view section, const WindowPlacement& p) {
  ProfileBatch batch;
  for (const PlacementKey& k : kKeys) batch.PutInt(section, k.name, p.*k.member);
  return batch.Commit(file.Path());
}

WindowPlacement PlacementOnScreen(WindowPlacement p, int screenWidth, int screenHeight) {
  if (p.showCmd == kShowMinimized) p.showCmd = kShowRestore;
  const auto fit = [](int& low, int& high, int limit) {
    if (low < 0) {
      high -= low;
      low = 0;
    }
    if (high > limit) {
      low -= high - limit;
      high = limit;
    }
  };
  fit(p.left, p.right, screenWidth);
  fit(p.top, p.bottom, screenHeight);
  return p;
}

double ReadEditorZoom(const ProfileFile& file, double current) {
  return ClampZoom(file.GetDouble(kEditorPlacementSection, "ZoomView", current));
}

Result WriteEditorZoom(const ProfileFile& file, double zoom) {
  return file.PutDouble(kEditorPlacementSection, "ZoomView", zoom);
}

ToolbarSpot DefaultToolbarSpot(int hostLeft, int hostTop, int hostWidth, int toolbarWidth) {
  return {hostLeft + hostWidth - toolbarWidth - 300, hostTop};
}

ToolbarSpot ToolbarOnScreen(ToolbarSpot p, int width, int height, int screenWidth, int screenHeight) {
  const auto fit = [](int low, int size, int limit) {
    if (low < 0) low = 0;
    if (low + size > limit) low = limit - size;
    // A toolbar wider than the screen keeps its left end (and its handle) on it.
    return low < 0 ? 0 : low;
  };
  return {fit(p.x, width, screenWidth), fit(p.y, height, screenHeight)};
}

ToolbarSpot ReadToolbarSpot(const ProfileFile& file, ToolbarSpot current) {
  const ProfileFile snapshot = file.Snapshot();
  return {snapshot.GetInt(kToolbarSection, "Left", current.x), snapshot.GetInt(kToolbarSection, "Top", current.y)};
}

Result WriteToolbarSpot(const ProfileFile& file, ToolbarSpot p) {
  ProfileBatch batch;
  batch.PutInt(kToolbarSection, "Left", p.x);
  batch.PutInt(kToolbarSection, "Top", p.y);
  return batch.Commit(file.Path());
}

}  // namespace vex
