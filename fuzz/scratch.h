#pragma once
// The scratch folder of a fuzz target: readers that take a path get the input written to a
// file there, and the host's commands write their files there. One folder per process, made
// under $TMPDIR (or /tmp) at the first use and removed when the process exits normally.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vex::fuzz {

// The folder, with a trailing '/'. Aborts when it cannot be made: a run without it would
// test nothing.
const std::string& ScratchDir();

// Writes the bytes to ScratchDir() + name, replacing the file, and returns the full path.
// Aborts when the file cannot be written.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);

// The input as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Removes everything inside ScratchDir() but the entries named in `keep`.
void ClearScratch(std::initializer_list<std::string_view> keep = {});

}  // namespace vex::fuzz
