#pragma once
// Selection sets and entity names.

#include <vector>

#include "cadhost/host/host_state.h"
#include "cadhost/sdk/adsdef.h"

namespace cadhost {

// The second word of entity names and of selection-set names, telling them apart.
constexpr std::int64_t kEntityNameTag = 0x454E;
constexpr std::int64_t kSetNameTag = 0x5353;
constexpr std::size_t kMaxOpenSets = 128;

// The entities of a set, or nullptr for a name that is not an open set.
std::vector<AcDbObjectId>* FindSet(const ads_name name);
// The entity of an entity name; null for anything else.
AcDbObjectId EntityOf(const ads_name name);

// Lets the user select objects at the command line ("Select objects:"), as acedSSGet does
// without a mode; a pick-first set handed to the command is taken instead of asking. RTNORM
// with the entities in `out`, RTERROR when none, RTCAN on ESC.
int SelectInteractively(std::vector<AcDbObjectId>& out, bool singleStep);

// The pick-first set handed to the running command (what is still there of it), once.
std::vector<AcDbObjectId> TakePickFirst();
// A pick at the command prompt: toggles the entity under the pick box in the pick-first set
// (Shift removes), or on nothing asks the opposite corner of a window or crossing. True when
// it printed a prompt.
bool PickAtCommandPrompt(const PickedPoint& pick);
void ClearPickFirst();

}  // namespace cadhost
