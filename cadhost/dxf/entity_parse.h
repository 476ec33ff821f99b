#pragma once
// Turning the groups of one drawing-file entity into a database entity.

#include <memory>
#include <string>
#include <vector>

#include "cadhost/db/object_access.h"
#include "cadhost/dxf/tags/dxf_tags.h"

namespace cadhost {

// The groups of one object sorted by role: its handle, owner, application data, the common
// part (layer, colour, ...), its own part (with class markers) and extended data.
struct Split {
  std::string type;
  long line = 0;
  AcDbHandle handle;
  std::uint64_t owner = 0;
  bool hasOwner = false;
  bool hasMarkers = false;  // class markers (group 100) present
  TagList appData;
  std::vector<dxf::RawTag> common;
  std::vector<dxf::RawTag> body;
  TagList xdata;
  std::vector<RawFollower>* followers = nullptr;  // VERTEXes or ATTRIBs read after it
  bool followersConsumed = false;                 // set when the entity took them over
};

// What building an entity needs from the reader.
class ParseContext {
 public:
  virtual ~ParseContext() = default;
  virtual std::string text(const dxf::RawTag& t) = 0;
  virtual void warn(long line, const std::string& what) = 0;
  // The id of a text style or block of that name, added when missing.
  virtual AcDbObjectId style(const std::string& name, long line) = 0;
  virtual AcDbObjectId block(const std::string& name, long line) = 0;
  bool modern = true;  // R13 or later: class markers present
};

// The entity, or nullptr when it cannot be kept (the context was told why). Unknown groups
// of modelled kinds and whole entities of unmodelled kinds are kept in DxfExtras.
std::unique_ptr<AcDbEntity> BuildEntity(Split& s, ParseContext& ctx);

}  // namespace cadhost
