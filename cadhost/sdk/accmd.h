#pragma once
// The command stack: commands registered by applications, in named groups.

#include <string>
#include <vector>

#include "cadhost/sdk/rxregsvc.h"

#pragma GCC visibility push(default)

// Command flags.
constexpr int ACRX_CMD_MODAL = 0x00000000;
constexpr int ACRX_CMD_TRANSPARENT = 0x00000001;  // may run inside another command's prompt
constexpr int ACRX_CMD_USEPICKSET = 0x00000002;   // may use the pick-first selection
constexpr int ACRX_CMD_REDRAW = 0x00000004;
constexpr int ACRX_CMD_NOPAPERSPACE = 0x00000040;
constexpr int ACRX_CMD_NOTILEMODE = 0x00000080;
constexpr int ACRX_CMD_SESSION = 0x00200000;  // runs in the application context

using AcRxFunctionPtr = void (*)();

class AcEdUIContext;

// One registered command.
struct AcEdCommandInfo {
  std::string group;
  std::string globalName;
  std::string localName;
  int flags = 0;
};

class AcEdCommandStack : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcEdCommandStack);

  // Registers `function` as the command `globalName` (typed with a leading "_") and
  // `localName` in `group`. Names are compared without regard to ASCII case; a group added
  // later is searched first. eInvalidInput for a null function or a name that is empty or
  // holds a space or control character; eDuplicateRecordName when the group has a command of
  // that global name already. The command belongs to the application that registers it, which
  // acedGetAppName reports while it runs. `uiContext`, `fcode` and `resourceHandle` are
  // accepted and ignored.
  Acad::ErrorStatus addCommand(const ACHAR* group, const ACHAR* globalName,
                               const ACHAR* localName, int flags, AcRxFunctionPtr function,
                               AcEdUIContext* uiContext = nullptr, int fcode = -1,
                               void* resourceHandle = nullptr);
  // Removes one command of a group; eKeyNotFound when there is none.
  Acad::ErrorStatus removeCmd(const ACHAR* group, const ACHAR* globalName);
  // Removes a whole group; eKeyNotFound when there is no such group.
  Acad::ErrorStatus removeGroup(const ACHAR* group);
  // The command that typing `name` would run (global or local name), or nothing.
  bool lookupCmd(const ACHAR* name, AcEdCommandInfo* info = nullptr) const;
  // Every registered command, the group searched first leading.
  std::vector<AcEdCommandInfo> commands() const;
};

#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))

#pragma GCC visibility pop
