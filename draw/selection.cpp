#include "draw/selection.h"

#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/dbxutil.h"
#include "platform/message_sink.h"

namespace vex {

std::optional<AcDbObjectIdArray> SelectionIds(const ads_name set, SelectionFaults faults, MessageSink& sink) {
  AcDbObjectIdArray ids;
  Adesk::Int32 length = 0;
  if (acedSSLength(set, &length) != RTNORM) return ids;
  const auto fault = [&](const char* message) {
    sink.Print(message);
    return faults == SelectionFaults::kStop;
  };
  for (Adesk::Int32 k = 0; k < length; ++k) {
    ads_name entity;
    if (acedSSName(set, k, entity) != RTNORM) {
      if (fault("\nads_ssname wrong")) return std::nullopt;
      continue;
    }
    AcDbObjectId id;
    if (acdbGetObjectId(id, entity) != Acad::eOk) {
      if (fault("\nacdbGetObjectId wrong")) return std::nullopt;
      continue;
    }
    if (!AcDbObjectPointer<AcDbEntity>(id, AcDb::kForRead)) {
      if (fault("\nacdbOpenAcDbEntity wrong")) return std::nullopt;
      continue;
    }
    ids.append(id);
  }
  return ids;
}

std::optional<AcDbObjectIdArray> AskForSelection(MessageSink& sink) {
  ads_name set;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) return std::nullopt;
  auto ids = SelectionIds(set, SelectionFaults::kSkip, sink);
  acedSSFree(set);
  return ids;
}

}  // namespace vex
