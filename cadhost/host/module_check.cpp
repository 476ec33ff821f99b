#include "cadhost/host/module_check.h"

#include <elf.h>

#include <fstream>
#include <vector>

namespace cadhost {
namespace {

#if defined(__x86_64__)
constexpr Elf64_Half kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr Elf64_Half kMachine = EM_AARCH64;
#else
constexpr Elf64_Half kMachine = EM_NONE;  // any
#endif

bool Inside(std::uint64_t offset, std::uint64_t size, std::uint64_t fileSize) {
  return offset <= fileSize && size <= fileSize - offset;
}

}  // namespace

std::string ModuleFileProblem(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return "it cannot be opened";
  const std::uint64_t fileSize = static_cast<std::uint64_t>(in.tellg());
  in.seekg(0);
  Elf64_Ehdr eh{};
  if (fileSize < sizeof eh || !in.read(reinterpret_cast<char*>(&eh), sizeof eh))
    return "it is too short to be an application";
  if (eh.e_ident[EI_MAG0] != ELFMAG0 || eh.e_ident[EI_MAG1] != ELFMAG1 || eh.e_ident[EI_MAG2] != ELFMAG2 ||
      eh.e_ident[EI_MAG3] != ELFMAG3)
    return "it is not an application (no shared object)";
  if (eh.e_ident[EI_CLASS] != ELFCLASS64 || eh.e_ident[EI_DATA] != ELFDATA2LSB)
    return "it is an application for another kind of machine";
  if (kMachine != EM_NONE && eh.e_machine != kMachine) return "it is an application for another processor";
  if (eh.e_type != ET_DYN) return "it is not a shared object";
  if (eh.e_phentsize != sizeof(Elf64_Phdr) || eh.e_phnum == 0 ||
      !Inside(eh.e_phoff, std::uint64_t(eh.e_phnum) * sizeof(Elf64_Phdr), fileSize))
    return "its program headers lie outside the file (it is damaged or cut short)";
  if (eh.e_shnum != 0 && !Inside(eh.e_shoff, std::uint64_t(eh.e_shnum) * eh.e_shentsize, fileSize))
    return "its section headers lie outside the file (it is damaged or cut short)";
  std::vector<Elf64_Phdr> ph(eh.e_phnum);
  in.seekg(static_cast<std::streamoff>(eh.e_phoff));
  if (!in.read(reinterpret_cast<char*>(ph.data()), static_cast<std::streamsize>(ph.size() * sizeof(Elf64_Phdr))))
    return "its program headers cannot be read";
  for (const Elf64_Phdr& p : ph) {
    if (p.p_type != PT_LOAD && p.p_type != PT_DYNAMIC && p.p_type != PT_INTERP) continue;
    if (!Inside(p.p_offset, p.p_filesz, fileSize))
      return "a part of it to be loaded lies outside the file (it is damaged or cut short)";
  }
  return {};
}

}  // namespace cadhost
