#pragma once
// The command line's recall of earlier input: Up goes back through what was entered, Down
// forward again and finally to the line being typed.

#include <optional>
#include <string>
#include <vector>

namespace cadhost::ui {

class InputHistory {
 public:
  static constexpr std::size_t kMaxEntries = 200;

  // Remembers an entered line (not an empty one, nor the same as the last); recall restarts.
  void Add(const std::string& line);
  // The earlier line, remembering `typing` (what the line holds now) on the first step back;
  // nothing at the oldest.
  std::optional<std::string> Up(const std::string& typing);
  // The later line, or what was being typed after the newest; nothing when not recalling.
  std::optional<std::string> Down();
  std::size_t Size() const { return m_lines.size(); }

 private:
  std::vector<std::string> m_lines;
  std::size_t m_at = 0;  // m_lines.size() when not recalling
  std::string m_typing;
};

}  // namespace cadhost::ui
