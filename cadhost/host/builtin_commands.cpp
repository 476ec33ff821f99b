// The table of the host's own commands.

#include "cadhost/host/builtin_commands.h"

#include <array>

namespace cadhost {
namespace {

constexpr unsigned kNoStep = BuiltinCommand::kNoUndoStep;
constexpr unsigned kPickFirst = BuiltinCommand::kUsesPickFirst;

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
    BuiltinCommand{"ERASE", &EraseCommand, true, kPickFirst},
    BuiltinCommand{"MOVE", &MoveCommand, true, kPickFirst},
    BuiltinCommand{"UCS", &UcsCommand, true},
    BuiltinCommand{"TILEMODE", &TilemodeCommand, true},
    BuiltinCommand{"REDRAW", &RedrawCommand, true},
    BuiltinCommand{"REGEN", &RedrawCommand, true},
    BuiltinCommand{"U", &UndoOneCommand, true, kNoStep},
    BuiltinCommand{"UNDO", &UndoCommand, true, kNoStep},
    BuiltinCommand{"REDO", &RedoCommand, true, kNoStep},
    BuiltinCommand{"SCRIPT", &ScriptCommand, false, kNoStep},
};

}  // namespace

const BuiltinCommand* FindBuiltin(std::string_view name) {
  for (const BuiltinCommand& b : kBuiltins)
    if (SameName(b.name, name)) return &b;
  for (const HostCommand& c : Host::Get().hostCommands)
    if (SameName(c.name, name)) return &c.command;
  return nullptr;
}

void AddHostCommand(const std::string& name, void (*run)(), bool needsDocument, bool undoable) {
  auto& commands = Host::Get().hostCommands;
  std::erase_if(commands, [&](const HostCommand& c) { return SameName(c.name, name); });
  commands.push_back({name, {nullptr, run, needsDocument, undoable ? 0u : kNoStep}});
  commands.back().command.name = commands.back().name.c_str();
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
