// The command stack: commands registered by applications, in groups.

#include <algorithm>

#include "cadhost/host/host_state.h"

using cadhost::Host;

namespace {

bool ValidCommandName(const ACHAR* name) {
  if (name == nullptr || *name == '\0') return false;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p != 0; ++p)
    if (*p <= ' ' || *p == 127) return false;
  return true;
}

cadhost::CommandGroup* FindGroup(std::string_view name) {
  for (auto& g : Host::Get().groups)
    if (cadhost::SameName(g.name, name)) return &g;
  return nullptr;
}

}  // namespace

namespace cadhost {

void Host::RemoveCommandsOf(const AppRecord* app) {
  for (auto& g : groups)
    std::erase_if(g.commands, [app](const Command& c) { return c.owner == app; });
  std::erase_if(groups, [](const CommandGroup& g) { return g.commands.empty(); });
}

const Command* FindCommand(std::string_view name) {
  for (const auto& g : Host::Get().groups)
    for (const auto& c : g.commands)
      if (SameName(c.globalName, name) || SameName(c.localName, name)) return &c;
  return nullptr;
}

}  // namespace cadhost

Acad::ErrorStatus AcEdCommandStack::addCommand(const ACHAR* group, const ACHAR* globalName,
                                               const ACHAR* localName, int flags,
                                               AcRxFunctionPtr function, AcEdUIContext*, int,
                                               void*) {
  if (function == nullptr || !ValidCommandName(group) || !ValidCommandName(globalName))
    return Acad::eInvalidInput;
  if (localName == nullptr || *localName == '\0') localName = globalName;
  if (!ValidCommandName(localName)) return Acad::eInvalidInput;
  Host& h = Host::Get();
  cadhost::CommandGroup* g = FindGroup(group);
  if (g != nullptr) {
    for (const auto& c : g->commands)
      if (cadhost::SameName(c.globalName, globalName)) return Acad::eDuplicateRecordName;
  } else {
    h.groups.insert(h.groups.begin(), cadhost::CommandGroup{group, {}});
    g = &h.groups.front();
  }
  cadhost::Command c;
  c.globalName = globalName;
  c.localName = localName;
  c.flags = flags;
  c.function = function;
  c.owner = h.appContext.empty() ? nullptr : h.appContext.back();
  g->commands.push_back(std::move(c));
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const ACHAR* group, const ACHAR* globalName) {
  if (group == nullptr || globalName == nullptr) return Acad::eInvalidInput;
  cadhost::CommandGroup* g = FindGroup(group);
  if (g == nullptr) return Acad::eKeyNotFound;
  const auto removed = std::erase_if(g->commands, [globalName](const cadhost::Command& c) {
    return cadhost::SameName(c.globalName, globalName);
  });
  if (removed == 0) return Acad::eKeyNotFound;
  if (g->commands.empty()) removeGroup(group);
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const ACHAR* group) {
  if (group == nullptr) return Acad::eInvalidInput;
  const auto removed = std::erase_if(Host::Get().groups, [group](const cadhost::CommandGroup& g) {
    return cadhost::SameName(g.name, group);
  });
  return removed == 0 ? Acad::eKeyNotFound : Acad::eOk;
}

bool AcEdCommandStack::lookupCmd(const ACHAR* name, AcEdCommandInfo* info) const {
  if (name == nullptr) return false;
  std::string_view n = name;
  if (!n.empty() && n.front() == '_') n.remove_prefix(1);
  for (const auto& g : Host::Get().groups)
    for (const auto& c : g.commands)
      if (cadhost::SameName(c.globalName, n) || cadhost::SameName(c.localName, n)) {
        if (info != nullptr) *info = {g.name, c.globalName, c.localName, c.flags};
        return true;
      }
  return false;
}

std::vector<AcEdCommandInfo> AcEdCommandStack::commands() const {
  std::vector<AcEdCommandInfo> out;
  for (const auto& g : Host::Get().groups)
    for (const auto& c : g.commands) out.push_back({g.name, c.globalName, c.localName, c.flags});
  return out;
}

namespace cadhost {
bool IsTransparent(const Command* c) { return (c->flags & ACRX_CMD_TRANSPARENT) != 0; }
}  // namespace cadhost
