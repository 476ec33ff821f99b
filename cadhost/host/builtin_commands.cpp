// The table of the host's own commands.

#include "cadhost/host/builtin_commands.h"

#include <array>

namespace cadhost {
namespace {

constexpr std::array kBuiltins = {
    BuiltinCommand{"NEW", &NewCommand, false},
    BuiltinCommand{"OPEN", &OpenCommand, false},
    BuiltinCommand{"SAVE", &SaveCommand, true},
    BuiltinCommand{"QSAVE", &SaveCommand, true},
    BuiltinCommand{"SAVEAS", &SaveAsCommand, true},
    BuiltinCommand{"CLOSE", &CloseCommand, true},
    BuiltinCommand{"QUIT", &QuitCommand, false},
    BuiltinCommand{"EXIT", &QuitCommand, false},
    BuiltinCommand{"APPLOAD", &AppLoadCommand, false},
    BuiltinCommand{"ARX", &ArxCommand, false},
    BuiltinCommand{"LINE", &LineCommand, true},
    BuiltinCommand{"PLINE", &PlineCommand, true},
    BuiltinCommand{"CIRCLE", &CircleCommand, true},
    BuiltinCommand{"TEXT", &TextCommand, true},
    BuiltinCommand{"DTEXT", &TextCommand, true},
    BuiltinCommand{"ERASE", &EraseCommand, true},
    BuiltinCommand{"MOVE", &MoveCommand, true},
    BuiltinCommand{"UCS", &UcsCommand, true},
    BuiltinCommand{"TILEMODE", &TilemodeCommand, true},
    BuiltinCommand{"REDRAW", &RedrawCommand, true},
    BuiltinCommand{"REGEN", &RedrawCommand, true},
};

}  // namespace

const BuiltinCommand* FindBuiltin(std::string_view name) {
  for (const BuiltinCommand& b : kBuiltins)
    if (SameName(b.name, name)) return &b;
  return nullptr;
}

AcDbObjectId AppendToCurrentSpace(AcDbEntity* entity) {
  DocumentState* doc = Host::Get().CurrentState();
  std::unique_ptr<AcDbEntity> owned(entity);
  if (doc == nullptr) return {};
  entity->setDatabaseDefaults(doc->db.get());
  AcDbObjectPointer<AcDbBlockTableRecord> space(doc->db->currentSpaceId(), AcDb::kForWrite);
  AcDbObjectId id;
  if (!space || space->appendAcDbEntity(id, entity) != Acad::eOk) return {};
  owned.release()->close();
  doc->modified = true;
  return id;
}

}  // namespace cadhost
