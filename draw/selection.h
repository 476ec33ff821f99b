#pragma once
// Turning the host's selection sets into entity ids.

#include <optional>

#include "cadhost/sdk/cadhost.h"
#include "cadhost/sdk/adsdef.h"

namespace vex {

class MessageSink;

// How SelectionIds treats an entity whose name, id or object cannot be had.
enum class SelectionFaults {
  kSkip,  // print the host's message and go on with the next
  kStop,  // print it and give up on the whole set
};

// The entities of `set`, in order; entities that cannot be opened are faults too (with
// "\nads_ssname wrong", "\nacdbGetObjectId wrong", "\nacdbOpenAcDbEntity wrong"). nullopt
// when faults stop the set.
std::optional<AcDbObjectIdArray> SelectionIds(const ads_name set, SelectionFaults faults, MessageSink& sink);

// Asks the drafter for a selection without a filter and returns its entities (faults
// skipped); nullopt when the selection is cancelled. The set is freed.
std::optional<AcDbObjectIdArray> AskForSelection(MessageSink& sink);

}  // namespace vex
