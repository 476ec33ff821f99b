#include "cadhost/ui/input_history.h"

namespace cadhost::ui {

void InputHistory::Add(const std::string& line) {
  if (!line.empty() && (m_lines.empty() || m_lines.back() != line)) {
    m_lines.push_back(line);
    if (m_lines.size() > kMaxEntries) m_lines.erase(m_lines.begin());
  }
  m_at = m_lines.size();
  m_typing.clear();
}

std::optional<std::string> InputHistory::Up(const std::string& typing) {
  if (m_at == 0) return std::nullopt;
  if (m_at == m_lines.size()) m_typing = typing;
  return m_lines[--m_at];
}

std::optional<std::string> InputHistory::Down() {
  if (m_at >= m_lines.size()) return std::nullopt;
  ++m_at;
  return m_at == m_lines.size() ? m_typing : m_lines[m_at];
}

}  // namespace cadhost::ui
