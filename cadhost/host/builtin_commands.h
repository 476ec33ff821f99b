#pragma once
// The host's own commands.

#include <string_view>

#include "cadhost/host/host_state.h"

namespace cadhost {

// The built-in command of that name (ASCII case ignored), or nullptr.
const BuiltinCommand* FindBuiltin(std::string_view name);

// Set by QUIT: the command line stops after the running command.
void RequestQuit();
bool QuitRequested();

// The commands, by file.
void NewCommand();
void OpenCommand();
void SaveCommand();
void SaveAsCommand();
void CloseCommand();
void QuitCommand();
void AppLoadCommand();
void ArxCommand();
void LineCommand();
void PlineCommand();
void CircleCommand();
void TextCommand();
void EraseCommand();
void MoveCommand();
void UcsCommand();
void TilemodeCommand();
void RedrawCommand();
void UndoOneCommand();
void UndoCommand();
void RedoCommand();
void ScriptCommand();

// Appends an entity to the current space of the current drawing with the drawing's current
// layer and properties, and marks the drawing changed; the id, or null (the entity is then
// deleted) on failure.
AcDbObjectId AppendToCurrentSpace(AcDbEntity* entity);

}  // namespace cadhost
